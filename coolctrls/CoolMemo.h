// The cool memo (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolEdit.h"

// A memo of the cool controls: the backgrounds, alignment and borders of the cool edit, and a
// caption bar in its frame (without ocNoCaption, small with ocSmallCaption) carrying the memo's
// own Caption, painted in its colours also when they are the defaults. With the bar the mouse
// selects from the press point; with ocFlatBorder PageUp at the top and PageDown at the end do
// nothing.
class TCoolMemo : public TCoolEditControl<TCustomMemo> {
  ORV_CLASS(TCoolMemo, TCoolEditControl<TCustomMemo>)
public:
  explicit TCoolMemo(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  // The caption bar's text (not the window's text, which is the memo's).
  const TCaption& Caption() const { return FCaption; }
  void SetCaption(const TCaption& Value);
  TColor CaptionColor() const { return FCaptionBar.Color(); }
  void SetCaptionColor(TColor Value) { FCaptionBar.SetColor(Value); }
  TColor CaptionTextColor() const { return FCaptionBar.TextColor(); }
  void SetCaptionTextColor(TColor Value) { FCaptionBar.SetTextColor(Value); }
  TBitmap* CaptionWallpaper() const { return FCaptionBar.Wallpaper(); }
  void SetCaptionWallpaper(TBitmap* Value) { FCaptionBar.SetWallpaper(Value); }
  int idCaptionWallpaper() const { return FCaptionBar.idWallpaper(); }
  void SetIdCaptionWallpaper(int Value) { FCaptionBar.SetIdWallpaper(Value); }
  void SetCoolImages(TCoolImages* Value);

  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

protected:
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  // Repaints the frame.
  virtual void NCCtlChanged() { FCaptionBar.FrameChanged(); }
  // The character at a client point, counted from the start of the text.
  int CharFromPos(TPoint P);

  void WMNCPaint(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCLButtonDblClk(TMessage& Message);

private:
  // Every line from the first visible one to the last fits the formatting rectangle.
  bool LastLineVisible();

  TCoolCaptionBar FCaptionBar;
  TCaption FCaption;
  // Where a mouse selection with the caption bar started; -1: none yet.
  int FSelAnchor = -1;
};
