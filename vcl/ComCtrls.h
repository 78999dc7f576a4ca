// Common controls: the tab control and the page control with its tab sheets, over the system
// tab control ("SysTabControl32").
#pragma once

#include "vcl/Controls.h"

#include <vector>

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
extern const TEnumType TTabStyleType;
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
extern const TEnumType TTabPositionType;

class TCustomTabControl;
class TTabSheet;
class TTabStrings;

using TTabChangingEvent = TClosure<TObject* /*Sender*/, bool& /*AllowChange*/>;
using TDrawTabEvent = TClosure<TCustomTabControl* /*Control*/, int /*TabIndex*/, const TRect& /*Rect*/,
                               bool /*Active*/>;

// A row (or rows) of tabs. The texts live in Tabs, which the window mirrors while it exists;
// Style, TabPosition, HotTrack and MultiLine are window styles (changing one recreates it).
// Selecting a tab with the mouse or the keyboard asks CanChange (OnChanging) first and calls
// Change (OnChange) after; setting TabIndex from code does neither.
class TCustomTabControl : public TWinControl {
  ORV_CLASS(TCustomTabControl, TWinControl)
public:
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;
  void Dispatch(TMessage& Message) override;

  TStrings* Tabs() const;
  // -1: no tab selected.
  int TabIndex() const;
  void SetTabIndex(int Value);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle Value);
  // tpLeft and tpRight make the control multi-line (the system draws side tabs only so).
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition Value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);

  // The tab's rectangle in client coordinates (TCM_GETITEMRECT); empty when there is none.
  TRect TabRect(int Index);
  // The tab at a client point (TCM_HITTEST), -1 for none.
  int IndexOfTabAt(int X, int Y);
  // The client area the tabs leave (TCM_ADJUSTRECT over the client rectangle).
  TRect DisplayRect();

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void AdjustClientRect(TRect& Rect) override;
  // Asked before the selection moves; false keeps it (OnChanging decides).
  virtual bool CanChange();
  // After the selection moved.
  virtual void Change();
  // After the texts or the number of tabs changed.
  virtual void TabsChanged();
  void CNNotify(TMessage& Message);

private:
  friend class TTabStrings;
  TTabStrings* FTabs;
  int FTabIndex = -1;  // kept while there is no window
  TTabStyle FStyle = tsTabs;
  TTabPosition FTabPosition = tpTop;
  bool FHotTrack = false;
  bool FMultiLine = false;
};

// ---------------------------------------------------------------------------------------------
// Pages shown one at a time under their tabs. The tabs are the pages whose TabVisible is true,
// in page order; the active page fills the display rectangle. The pages are streamed as its
// children, in page order.
class TPageControl : public TCustomTabControl {
  ORV_CLASS(TPageControl, TCustomTabControl)
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int PageCount() const { return int(FPages.size()); }
  // EListError "List index out of bounds (%d)".
  TTabSheet* Pages(int Index) const;
  TTabSheet* ActivePage() const { return FActivePage; }
  // A page of another page control is ignored.
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int Value);
  // The page shown by tab TabIndex (the TabIndex-th page with a visible tab); null for none.
  TTabSheet* PageForTab(int TabIndex) const;
  // The page after (or before) CurPage, wrapping round; with CheckTabVisible only pages with a
  // tab. Null when there is none; CurPage itself when it is the only one.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  void SelectNextPage(bool GoForward);

  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  void Loaded() override;

  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentFont;
  using TControl::SetParentFont;

protected:
  void Change() override;
  // Rebuilds the tabs from the pages, then selects the active page's tab.
  void UpdateTabs();

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void MovePage(TTabSheet* Page, int NewIndex);
  void ChangeActivePage(TTabSheet* Page);

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

// One page of a TPageControl: a container that the page control shows while it is active.
class TTabSheet : public TWinControl {
  ORV_CLASS(TTabSheet, TWinControl)
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  void BeforeDestruction() override;
  void Dispatch(TMessage& Message) override;

  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* Value);
  // Position among the pages; -1 without a page control.
  int PageIndex() const;
  void SetPageIndex(int Value);
  // Position among the visible tabs; -1 without a tab.
  int TabIndex() const;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);

  bool IsSizeStored() const override { return false; }
  void SetParentComponent(TComponent* Value) override;

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentFont;
  using TControl::SetParentFont;

protected:
  void CMTextChanged(TMessage& Message);

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

// ---------------------------------------------------------------------------------------------
// The side (or sides) of its bar on which a track bar draws its tick marks: below or right of a
// horizontal or vertical bar, above or left of it, or both.
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
extern const TEnumType TTickMarkType;

#include "vcl/HeaderCtrl.h"  // THeaderControl
