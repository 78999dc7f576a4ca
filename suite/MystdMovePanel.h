// A panel the user drags with the left mouse button: a focus outline follows the mouse on the
// screen, and on release the panel moves there, is kept inside a panel parent and sticks to an
// edge.
#pragma once
#include "vcl/ExtCtrls.h"

enum TqStickType { stNone, stleft, stTop, stRight, stBottom, stBoth };
extern const TEnumType TqStickTypeType;

using TUpdateEvent = TClosure<TObject* /*Sender*/, int& /*X*/, int& /*Y*/, int& /*W*/, int& /*H*/>;

class TqMovePanel : public TCustomPanel {
  ORV_CLASS(TqMovePanel, TCustomPanel)
public:
  explicit TqMovePanel(TComponent* AOwner);
  ~TqMovePanel() override;
  void Dispatch(TMessage& Message) override;
  void Loaded() override;

  TqStickType StickWhere() const { return FStickWhere; }
  // Sticks again, also when unchanged.
  void SetStickWhere(TqStickType Value);
  // True: the edge is taken by moving the panel; false: by aligning it.
  bool StickOldStyle() const { return FStickOldStyle; }
  void SetStickOldStyle(bool Value);
  bool Dragging() const { return FDragging; }
  // The outline drawn now, in screen coordinates (while dragging).
  TRect Outline() const { return FOutline; }

  using TCustomPanel::Alignment;
  using TCustomPanel::SetAlignment;
  using TCustomPanel::BevelInner;
  using TCustomPanel::SetBevelInner;
  using TCustomPanel::BevelOuter;
  using TCustomPanel::SetBevelOuter;
  using TCustomPanel::BevelWidth;
  using TCustomPanel::SetBevelWidth;
  using TCustomPanel::BorderWidth;
  using TCustomPanel::SetBorderWidth;
  using TCustomPanel::BorderStyle;
  using TCustomPanel::SetBorderStyle;
  using TCustomPanel::Locked;
  using TCustomPanel::SetLocked;
  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

  TUpdateEvent OnBeforeUpdate;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Click() override;
  virtual void DoStick();
  // Lets OnBeforeUpdate correct the bounds, then keeps the panel inside a non-form parent.
  virtual void DoUpdate();

  void WMLButtonDown(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  // The capture went elsewhere (or the system cancels modes): the drag ends where it began.
  void CancelDrag();

private:
  void DrawOutline();
  TRect ScreenBounds(int DX, int DY) const;

  bool FStickOldStyle = true;
  TqStickType FStickWhere = stNone;
  bool FDragging = false;
  TPoint FPress;
  TPoint FLast;
  HDC FScreenDC = nullptr;
  TRect FOutline;
};
