// The cool combo box (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolItems.h"

// An owner-drawn combo box of the cool controls, with the items of the shared item part. While
// its list is dropped it takes the list window over: it gives it ListBoxWidth (placed by
// Alignment), keeps the wallpaper fixed to the list while it scrolls and repaints the check
// cells that space toggles. With BorderStyle bsNone a 2-pixel ring shows what lies behind it
// and the edge lines are drawn.
class TCoolComboBox : public TCoolItemControl<TCustomComboBox> {
  ORV_CLASS(TCoolComboBox, TCoolItemControl<TCustomComboBox>)
public:
  explicit TCoolComboBox(TComponent* AOwner);
  ~TCoolComboBox() override;
  void BeforeDestruction() override;
  void Dispatch(TMessage& Message) override;

  // Where a dropped list wider or narrower than the combo stands: its left edge, its right edge
  // or its centre where the system puts it.
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  // Width of the dropped list: the control's Width at construction; 0 is stored as Width.
  int ListBoxWidth() const { return FListBoxWidth; }
  void SetListBoxWidth(int Value) { FListBoxWidth = Value == 0 ? Width() : Value; }
  // The wallpaper area of the dropped list, in its client coordinates; empty until known, kept
  // after the list closes.
  TRect ListRect() const { return FListRect; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  int TopIndex();
  void SetTopIndex(int Value);
  // The dropped list's window while it is taken over, else nullptr.
  HWND ListHandle() const { return FListHandle; }

  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

protected:
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void DestroyWnd() override;
  // The window procedure of the taken-over list.
  virtual void ListWndProc(TMessage& Message);
  void DrawItemFrame() override;
  bool IsSelectedState(TOwnerDrawState State) const override;
  TRect WallpaperArea(bool Selected) override;
  void AdjustItemRect(TRect& R) override { R.Inflate(1, 1); }
  void OptionsChanged() override { Invalidate(); }
  void FontChosen() override { Change(); }
  int ExtentLimit() override { return FListBoxWidth; }

  void CNCommand(TMessage& Message);
  void CBGetTopIndex(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMSize(TMessage& Message);

private:
  // The first colour request of an opening that names List: sizes and places it, records its
  // wallpaper area and installs ListWndProc.
  void TakeOverList(HWND List);
  // Gives the list its own procedure back (while it still runs ours) and forgets it.
  void ReleaseList();
  // Space in check mode: the selected item's check, repainted in the field and the open list.
  void ToggleSelected();

  TWindowProcHook FListHook;
  HWND FListHandle = nullptr;
  int FListBoxWidth;
  TRect FListRect;
  // The top index the last paint of the list saw (per combo box).
  int FLastTopIndex = 0;
  TPopupAlignment FAlignment = paLeft;
  TBorderStyle FBorderStyle = bsSingle;
};
