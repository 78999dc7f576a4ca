// Unit TControlButton: a push button for machine-control panels. It shows one of five states,
// each with its own background colour, text and text colour, can flash between its state and
// another at a set rate, and paints a raised or sunken bevel of 1 to 5 pixels through an
// off-screen bitmap. The state bsInhibited disables it.
#pragma once

#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Graphics.h"

enum TControlButtonStates { bsDefault, bsInhibited, bsInProcess, bsState1, bsState2 };
extern const TEnumType TControlButtonStatesType;

class TControlButton : public TCustomControl {
  ORV_CLASS(TControlButton, TCustomControl)
public:
  explicit TControlButton(TComponent* AOwner);
  ~TControlButton() override;
  void Dispatch(TMessage& Message) override;

  // Published properties. The setters that paint do so at once, and only while the window exists
  // and the button is not loading; none creates the window.
  // 1 to 5: 0 or below stores 1, above 5 stores 5.
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  // Also the current background colour.
  TColor DefaultBGColor() const { return FDefaultBGColor; }
  void SetDefaultBGColor(TColor Value);
  AnsiString DefaultText() const { return FDefaultText; }
  void SetDefaultText(const AnsiString& Value);
  // Also the current text colour.
  TColor DefaultTextColor() const { return FDefaultTextColor; }
  void SetDefaultTextColor(TColor Value);
  // Whether a held mouse shows the pressed colours.
  bool Pressed() const { return FPressed; }
  void SetPressed(bool Value) { FPressed = Value; }
  TColor PressedBGColor() const { return FPressedBGColor; }
  void SetPressedBGColor(TColor Value) { FPressedBGColor = Value; }
  TColor PressedTextColor() const { return FPressedTextColor; }
  void SetPressedTextColor(TColor Value) { FPressedTextColor = Value; }
  TColor InProcessBGColor() const { return FInProcessBGColor; }
  void SetInProcessBGColor(TColor Value) { SetAndPaint(FInProcessBGColor, Value); }
  AnsiString InProcessText() const { return FInProcessText; }
  void SetInProcessText(const AnsiString& Value);
  TColor InProcessTextColor() const { return FInProcessTextColor; }
  void SetInProcessTextColor(TColor Value) { SetAndPaint(FInProcessTextColor, Value); }
  TColor State1BGColor() const { return FState1BGColor; }
  void SetState1BGColor(TColor Value) { SetAndPaint(FState1BGColor, Value); }
  AnsiString State1Text() const { return FState1Text; }
  void SetState1Text(const AnsiString& Value);
  TColor State1TextColor() const { return FState1TextColor; }
  void SetState1TextColor(TColor Value) { SetAndPaint(FState1TextColor, Value); }
  TColor State2BGColor() const { return FState2BGColor; }
  void SetState2BGColor(TColor Value) { SetAndPaint(FState2BGColor, Value); }
  AnsiString State2Text() const { return FState2Text; }
  void SetState2Text(const AnsiString& Value);
  TColor State2TextColor() const { return FState2TextColor; }
  void SetState2TextColor(TColor Value) { SetAndPaint(FState2TextColor, Value); }
  TControlButtonStates ButtonState() const { return FButtonState; }
  // bsInhibited disables the button, any other state enables it.
  void SetButtonState(TControlButtonStates State);
  // On: the button alternates between FlashButtonState and the state it has now every FlashRate
  // milliseconds, starting with FlashButtonState. Off: back to the state it had when it started.
  // Acts only on a change.
  bool FlashButton() const { return FFlashButton; }
  void SetFlashActive(bool On);
  // Milliseconds; below 1 stores 1.
  int FlashRate() const { return FFlashRate; }
  void SetFlashRate(int Value);
  TControlButtonStates FlashButtonState() const { return FFlashButtonState; }
  void SetFlashButtonState(TControlButtonStates Value) { FFlashButtonState = Value; }
  using TControl::Font;
  using TControl::SetFont;

  // Whether the left button is held on the button.
  bool MouseIsDown() const { return FMouseIsDown; }
  // The flash timer (disabled while not flashing).
  TTimer* FlashTimer() const { return FTimer; }

  // A raised bevel Count pixels wide inside Rect, which shrinks by 1 on every side per level.
  static void BumpRect(TCanvas* Canvas, TRect& Rect, int Count);
  // A sunken bevel: one level in white and grey when Count is 1, else Count levels in silver and
  // grey; Rect shrinks by 1 on every side per level.
  static void DimpRect(TCanvas* Canvas, TRect& Rect, int Count);

protected:
  // Draws the whole button on the off-screen bitmap and copies the canvas's clip rectangle of it
  // onto the control.
  void Paint() override;
  // Starts a flash the resource asked for, whatever the order of its properties.
  void Loaded() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // The flash timer's tick: the next state of the flash.
  void OnTimer(TObject* Sender);

private:
  // Paint, when the window exists and the button is not loading.
  void PaintNow();
  void SetAndPaint(TColor& Field, TColor Value);
  void SetTextAndPaint(AnsiString& Field, const AnsiString& Value);
  // Text centred in R on its measured size; Raise lifts a negative offset to 0.
  void DrawCaption(TCanvas* C, const TRect& R, bool Raise, bool Engraved);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);

  int FBevelWidth = 3;
  TColor FDefaultBGColor = TColor(0xC0C0C0);
  AnsiString FDefaultText = "Button";
  TColor FDefaultTextColor = TColor(0x800000);
  bool FPressed = false;
  TColor FPressedBGColor = TColor(65535);
  TColor FPressedTextColor = TColor(0);
  TColor FInProcessBGColor = TColor(65280);
  AnsiString FInProcessText;
  TColor FInProcessTextColor = TColor(0);
  TColor FState1BGColor = TColor(8421504);
  AnsiString FState1Text;
  TColor FState1TextColor = TColor(65535);
  TColor FState2BGColor = TColor(8421504);
  AnsiString FState2Text;
  TColor FState2TextColor = TColor(65535);
  TControlButtonStates FButtonState = bsDefault;
  bool FFlashButton = false;
  int FFlashRate = 250;
  TControlButtonStates FFlashButtonState = bsInProcess;

  // The look of the last paint.
  TColor FCurBGColor;
  TColor FCurTextColor;
  AnsiString FCurText;
  bool FMouseIsDown = false;
  TBitmap* FBuffer;
  TSize FBufferSize{0, 0};
  TTimer* FTimer;
  uint8_t FFlashPhase = 0;
  TControlButtonStates FSavedState = bsDefault;
};
