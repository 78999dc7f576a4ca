// Unit qEdit, edits with a small button inside their right end: the button edit (a glyph button
// that raises an event) and, on a common base with an up/down spin button, the integer and
// floating-point spin edits with their limits. Typed text stops before the button.
#pragma once
#include "suite/qAnimateNWColorBtn.h"
#include "suite/qBtn2.h"
#include "suite/qEditFrame.h"

class TqcButtonEdit : public TqcCustomEdit {
  ORV_CLASS(TqcButtonEdit, TqcCustomEdit)
public:
  explicit TqcButtonEdit(TComponent* AOwner);
  ~TqcButtonEdit() override;
  void Dispatch(TMessage& Message) override;

  TBitmap* ButtonGlyph() const { return FButtonGlyph; }
  // Copies Value; the button and the height follow.
  void SetGlyph(TBitmap* Value);
  // Held by the button (1..4).
  int ButtonNumGlyphs() const { return FButton->NumGlyphs(); }
  void SetButtonNumGlyphs(int Value);
  bool ButtonFrame() const { return FButton->Frame(); }
  void SetButtonFrame(bool Value);
  TColor ButtonColor() const { return FButton->Color(); }
  void SetButtonColor(TColor Value);
  TColor ButtonShadowColor() const { return FButton->ShadowColor(); }
  void SetButtonShadowColor(TColor Value);
  TColor ButtonHighLightColor() const { return FButton->HighLightColor(); }
  void SetButtonHighLightColor(TColor Value);
  // The edit's own, handed to the button's Flat at every frame painting.
  bool ButtonFlat() const { return FButtonFlat; }
  void SetButtonFlat(bool Value);
  TqNWBitColBtn* Button() const { return FButton; }

  TNotifyEvent OnButtonClick;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Button width from the glyph (SM_CXVSCROLL + 4 without one), height from the font and the
  // glyph, the formatting rectangle short of the button once there is a window.
  void Adjust() override;
  void DrawNCArea() override;

private:
  void DoButtonClick(TObject* Sender);
  void WMSize(TMessage& Message);
  template <class T> void SetButtonProp(T (TqNWColorBtn::*Get)() const, void (TqNWColorBtn::*Set)(T), T Value);

  TqNWBitColBtn* FButton;
  TBitmap* FButtonGlyph;
  bool FButtonFlat = true;
  bool FAdjusting = false;
};

// ---------------------------------------------------------------------------------------------
// An edit with an up/down spin button; what the text means is the descendants'.
class TqcCustomSpinEdit : public TqcCustomEdit {
  ORV_CLASS(TqcCustomSpinEdit, TqcCustomEdit)
public:
  explicit TqcCustomSpinEdit(TComponent* AOwner);
  ~TqcCustomSpinEdit() override;
  void Dispatch(TMessage& Message) override;

  bool ButtonFrame() const { return FButton->Frame(); }
  void SetButtonFrame(bool Value);
  TColor ButtonColor() const { return FButton->Color(); }
  void SetButtonColor(TColor Value);
  TColor ButtonShadowColor() const { return FButton->ShadowColor(); }
  void SetButtonShadowColor(TColor Value);
  TColor ButtonHighLightColor() const { return FButton->HighLightColor(); }
  void SetButtonHighLightColor(TColor Value);
  TqcSpinSpeed SpinSpeed() const { return FButton->SpinSpeed(); }
  void SetSpinSpeed(TqcSpinSpeed Value) { FButton->SetSpinSpeed(Value); }
  TqcSpinWaitRepeat WaitRepeat() const { return FButton->WaitRepeat(); }
  void SetWaitRepeat(TqcSpinWaitRepeat Value) { FButton->SetWaitRepeat(Value); }
  bool UseRepeat() const { return FButton->UseRepeat(); }
  void SetUseRepeat(bool Value) { FButton->SetUseRepeat(Value); }
  bool ButtonFlat() const { return FButtonFlat; }
  void SetButtonFlat(bool Value);
  // Without it the text changes only through the spin button and the arrow keys.
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
  TqcSpinBtn* Button() const { return FButton; }

protected:
  virtual void UpClick() {}
  virtual void DownClick() {}
  // Whether a typed character may go in (and, with EditorEnabled off, any at all).
  virtual bool IsValidChar(char Key) { return true; }
  bool EditorRefuses(char Key) const { return !FEditorEnabled && (Key == '\b' || (unsigned char)Key >= 32); }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Adjust() override;
  void DrawNCArea() override;
  void KeyPress(char& Key) override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  // Leaving the box writes a value the limits change back clamped.
  virtual void CheckOnExit() {}

private:
  void UpClicked(TObject*) { UpClick(); }
  void DownClicked(TObject*) { DownClick(); }
  void WMSize(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  // Paste, cut, clear and undo: only while the text may be edited.
  void WMEditing(TMessage& Message);
  template <class T> void SetButtonProp(T (TqcCustomSpinBtn::*Get)() const, void (TqcCustomSpinBtn::*Set)(T), T Value);

  TqcSpinBtn* FButton;
  bool FButtonFlat = true;
  bool FEditorEnabled = true;
};

// ---------------------------------------------------------------------------------------------
// Whole numbers. The limits hold when they differ (clamped into the range between them, whichever
// is the larger); equal, there is none. Steps saturate at the 32-bit limits.
class TqcSpinEdit : public TqcCustomSpinEdit {
  ORV_CLASS(TqcSpinEdit, TqcCustomSpinEdit)
public:
  explicit TqcSpinEdit(TComponent* AOwner);

  int MinValue() const { return FMinValue; }
  void SetMinValue(int Value) { FMinValue = Value; }
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int Value) { FMaxValue = Value; }
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value) { FIncrement = Value; }
  // The text as a number: digits beyond the 32-bit range read as the nearest limit, other text
  // as MinValue.
  int Value() const;
  // Written kept to the limits.
  void SetValue(int Value);
  // Value kept to the limits.
  int CheckValue(int Value) const;

protected:
  void UpClick() override { Step(FIncrement); }
  void DownClick() override { Step(-int64_t(FIncrement)); }
  bool IsValidChar(char Key) override;
  void CheckOnExit() override;

private:
  void Step(int64_t By);
  int FMinValue = 0, FMaxValue = 0, FIncrement = 1;
};

class TqcFloatSpinEdit : public TqcCustomSpinEdit {
  ORV_CLASS(TqcFloatSpinEdit, TqcCustomSpinEdit)
public:
  explicit TqcFloatSpinEdit(TComponent* AOwner);

  long double MinValue() const { return FMinValue; }
  void SetMinValue(long double Value) { FMinValue = Value; }
  long double MaxValue() const { return FMaxValue; }
  void SetMaxValue(long double Value) { FMaxValue = Value; }
  long double Increment() const { return FIncrement; }
  void SetIncrement(long double Value) { FIncrement = Value; }
  // The text as a number, MinValue when it is none.
  long double Value() const;
  // Written kept to the limits, with FloatToStr's 15 significant digits.
  void SetValue(long double Value);
  long double CheckValue(long double Value) const;

protected:
  void UpClick() override { Step(FIncrement); }
  void DownClick() override { Step(-FIncrement); }
  bool IsValidChar(char Key) override;
  void CheckOnExit() override;

private:
  void Step(long double By);
  long double FMinValue = 0, FMaxValue = 0, FIncrement = 1;
};
