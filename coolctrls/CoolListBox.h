// The cool list box (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolItems.h"

// An owner-drawn list box of the cool controls: items by extended style, check states, wallpapers
// and bevels behind and round each item (the shared item part); a caption bar in its frame
// (without ocNoCaption, small with ocSmallCaption) that drags the list box unless
// ocNoDragUsingCaption; a wallpaper or see-through background that stays fixed to the client
// area while the items scroll, also behind an empty list; check areas toggled by any mouse button
// and by space; the selection following the mouse with HotTray.
class TCoolListBox : public TCoolItemControl<TCustomListBox> {
  ORV_CLASS(TCoolListBox, TCoolItemControl<TCustomListBox>)
public:
  explicit TCoolListBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  // The caption bar's colours and wallpaper: in the default colours and without
  // ocPaintCaptionWallpaper the system paints the bar.
  TColor CaptionColor() const { return FCaption.Color(); }
  void SetCaptionColor(TColor Value) { FCaption.SetColor(Value); }
  TColor CaptionTextColor() const { return FCaption.TextColor(); }
  void SetCaptionTextColor(TColor Value) { FCaption.SetTextColor(Value); }
  TBitmap* CaptionWallpaper() const { return FCaption.Wallpaper(); }
  void SetCaptionWallpaper(TBitmap* Value) { FCaption.SetWallpaper(Value); }
  int idCaptionWallpaper() const { return FCaption.idWallpaper(); }
  void SetIdCaptionWallpaper(int Value) { FCaption.SetIdWallpaper(Value); }
  void SetCoolImages(TCoolImages* Value);
  bool HotTray() const { return FHotTray; }
  void SetHotTray(bool Value) { FHotTray = Value; }

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void DrawItemFrame() override;
  bool IsSelectedState(TOwnerDrawState State) const override;
  TRect WallpaperArea(bool Selected) override { return ClientRect(); }
  void OptionsChanged() override { RecreateWnd(); }
  void FontChosen() override { Click(); }
  void CheckChanged(int Index) override { InvalidateCheck(Index); }
  void CheckKeyDown(unsigned short Key) override;
  int ExtentLimit() override { return Width(); }
  // Repaints the frame.
  virtual void NCCtlChanged() { FCaption.FrameChanged(); }
  // Repaints the check area of an item.
  void InvalidateCheck(int Index);
  // The check area of an item: ItemHeight + 2 pixels at its left end.
  TRect CheckRect(int Index);

  void LBGetTopIndex(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCLButtonDblClk(TMessage& Message);
  void WMSetText(TMessage& Message);

private:
  // Painting wallpaper or see-through (with a wallpaper that has a picture).
  bool PaintsBehind() const { return WallpaperMode() || SeeThrough(); }

  TCoolCaptionBar FCaption;
  // The top index the last paint behind the items saw (per list box: a shared one would let a
  // second list scrolled to the same index skip its repaint).
  int FLastTopIndex = 0;
  bool FHotTray = false;
};
