// Docking: the dock manager that lays out a site's docked clients and the tool window a
// floating control lives in. The drag itself and the TControl/TWinControl docking members are
// in vcl/Docking.cpp.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Forms.h"

#include <memory>

// Lays out the docked clients of a site (UseDockManager). The first client fills the site; each
// one docked later takes half of the rectangle it was dropped on (a client's, or the whole
// site's), on the side it was dropped on, and what was there keeps the other half. The layout
// is kept in proportion when the site is resized.
class TDockManager : public TObject {
  ORV_CLASS(TDockManager, TObject)
public:
  explicit TDockManager(TWinControl* Site) : FSite(Site) {}
  ~TDockManager() override;
  TWinControl* Site() const { return FSite; }

  // Adds Client beside DropOnControl (null or not docked here: beside everything) on Side;
  // alNone and alClient dock on the right of a site that is not empty.
  void InsertControl(TControl* Client, TAlign Side, TControl* DropOnControl);
  void RemoveControl(TControl* Client);
  bool Contains(const TControl* Client) const { return Find(FRoot.get(), Client) != nullptr; }
  // Gives every client its part of Area (the site's client coordinates).
  void ResetBounds(const TRect& Area);
  // For Client dragged with the mouse at Pos (client coordinates): the client it would dock
  // beside (null: the whole site), the side, and the rectangle it would take.
  void PositionDockRect(const TControl* Client, TPoint Pos, TControl*& DropOnControl, TAlign& Side,
                        TRect& Rect) const;

private:
  struct TNode {
    TControl* Control = nullptr;       // a leaf: the client
    TAlign Side = alNone;              // a split: the side First takes
    std::unique_ptr<TNode> First, Second;
    TNode* Parent = nullptr;
    TRect Bounds;                      // from the last layout
  };
  static TNode* Find(TNode* Node, const TControl* Client);
  static TNode* LeafAt(TNode* Node, TPoint Pos, const TControl* Skip);
  static void Layout(TNode* Node, const TRect& R);
  std::unique_ptr<TNode>& Owning(TNode* Node);

  TWinControl* FSite;
  std::unique_ptr<TNode> FRoot;
  TRect FArea;
};

// The rectangle Side takes of R: its half on that side (the whole of it for alNone/alClient).
TRect DockSideRect(const TRect& R, TAlign Side);

// The small tool window a floating control is docked in. Its client fills it; closing it hides
// it with the client; it goes away by itself once its last client has left, and when it is
// freed it hands its clients back to nobody (their owners still free them).
class TFloatingDockHost : public TCustomForm {
  ORV_CLASS(TFloatingDockHost, TCustomForm)
public:
  explicit TFloatingDockHost(TComponent* AOwner);
  void BeforeDestruction() override;
  void Dispatch(TMessage& Message) override;
  // Moves and sizes the window so that its client area is ScreenRect.
  void PlaceClientArea(const TRect& ScreenRect);

protected:
  void AlignControls(TControl* AControl, TRect& Rect) override;

private:
  bool FDetaching = false;
};
