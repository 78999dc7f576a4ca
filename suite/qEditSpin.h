// Unit qEdit, edits with a small button inside their right end: the button edit (a glyph button
// that raises an event) and, on a common base with an up/down spin button, the integer and
// floating-point spin edits with their limits. Typed text stops before the button.
#pragma once
#include "suite/qAnimateNWColorBtn.h"
#include "suite/qBtn2.h"
#include "suite/qEditFrame.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <type_traits>

using TqcGlyphButtonEdit = TqcButtonHost<TqcCustomEdit, TqNWBitColBtn>;
class TqcButtonEdit : public TqcGlyphButtonEdit {
  ORV_CLASS(TqcButtonEdit, TqcGlyphButtonEdit)
public:
  explicit TqcButtonEdit(TComponent* AOwner);
  ~TqcButtonEdit() override;
  void Dispatch(TMessage& Message) override;

  TBitmap* ButtonGlyph() const { return FButtonGlyph; }
  // Copies Value; the button and the height follow.
  void SetGlyph(TBitmap* Value);
  // Held by the button (1..4).
  int ButtonNumGlyphs() const { return Button()->NumGlyphs(); }
  void SetButtonNumGlyphs(int Value);

  TNotifyEvent OnButtonClick;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Button width from the glyph (SM_CXVSCROLL + 4 without one), height from the font and the
  // glyph, the formatting rectangle short of the button once there is a window.
  void Adjust() override;

private:
  void DoButtonClick(TObject* Sender);
  void WMSize(TMessage& Message);

  TBitmap* FButtonGlyph;
  bool FAdjusting = false;
};

// ---------------------------------------------------------------------------------------------
// An edit with an up/down spin button; what the text means is the descendants'.
using TqcSpinButtonEdit = TqcButtonHost<TqcCustomEdit, TqcSpinBtn>;
class TqcCustomSpinEdit : public TqcSpinButtonEdit {
  ORV_CLASS(TqcCustomSpinEdit, TqcSpinButtonEdit)
public:
  explicit TqcCustomSpinEdit(TComponent* AOwner);
  ~TqcCustomSpinEdit() override;
  void Dispatch(TMessage& Message) override;

  // Held by the spin button.
  TqcSpinSpeed SpinSpeed() const { return Button()->SpinSpeed(); }
  void SetSpinSpeed(TqcSpinSpeed Value) { Button()->SetSpinSpeed(Value); }
  TqcSpinWaitRepeat WaitRepeat() const { return Button()->WaitRepeat(); }
  void SetWaitRepeat(TqcSpinWaitRepeat Value) { Button()->SetWaitRepeat(Value); }
  bool UseRepeat() const { return Button()->UseRepeat(); }
  void SetUseRepeat(bool Value) { Button()->SetUseRepeat(Value); }
  // Without it the text changes only through the spin button and the arrow keys.
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }

protected:
  virtual void UpClick() {}
  virtual void DownClick() {}
  // Whether a typed character may go in (and, with EditorEnabled off, any at all).
  virtual bool IsValidChar(char Key) { return true; }
  bool EditorRefuses(char Key) const { return !FEditorEnabled && (Key == '\b' || (unsigned char)Key >= 32); }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Adjust() override;
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

  bool FEditorEnabled = true;
};

// ---------------------------------------------------------------------------------------------
// A spin edit of numbers of type T. The limits hold when they differ (the value kept into the
// range between them, whichever is the larger); equal, there is none. A step adds or takes
// Increment, whole numbers saturating at their type's limits; read-only, it only beeps.
template <class T> class TqcNumberSpinEdit : public TqcCustomSpinEdit {
public:
  explicit TqcNumberSpinEdit(TComponent* AOwner) : TqcCustomSpinEdit(AOwner) {}

  T MinValue() const { return FMinValue; }
  void SetMinValue(T Value) { FMinValue = Value; }
  T MaxValue() const { return FMaxValue; }
  void SetMaxValue(T Value) { FMaxValue = Value; }
  T Increment() const { return FIncrement; }
  void SetIncrement(T Value) { FIncrement = Value; }
  // The text as a number; text that is none reads as MinValue.
  virtual T Value() const = 0;
  // Written kept to the limits.
  void SetValue(T Value) { SetText(Format(CheckValue(Value))); }
  T CheckValue(T Value) const {
    if (FMinValue == FMaxValue) return Value;
    return std::clamp(Value, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
  }

protected:
  virtual AnsiString Format(T Value) const = 0;
  void UpClick() override { Step(true); }
  void DownClick() override { Step(false); }
  void CheckOnExit() override {
    const T V = Value();
    if (CheckValue(V) != V) SetValue(V);
  }

private:
  void Step(bool Up) {
    if (ReadOnly()) {
      Beep(0);
      return;
    }
    if constexpr (std::is_integral_v<T>) {
      const int64_t Sum = int64_t(Value()) + (Up ? int64_t(FIncrement) : -int64_t(FIncrement));
      SetValue(T(std::clamp<int64_t>(Sum, std::numeric_limits<T>::min(), std::numeric_limits<T>::max())));
    } else {
      SetValue(Value() + (Up ? FIncrement : -FIncrement));
    }
  }

  T FMinValue = 0, FMaxValue = 0, FIncrement = 1;
};

// Whole numbers: digits beyond the 32-bit range read as the nearest limit.
class TqcSpinEdit : public TqcNumberSpinEdit<int> {
  ORV_CLASS(TqcSpinEdit, TqcNumberSpinEdit<int>)
public:
  explicit TqcSpinEdit(TComponent* AOwner);
  int Value() const override;

protected:
  AnsiString Format(int Value) const override { return IntToStr(Value); }
  bool IsValidChar(char Key) override;
};

// Floating-point numbers, written with FloatToStr's 15 significant digits.
class TqcFloatSpinEdit : public TqcNumberSpinEdit<long double> {
  ORV_CLASS(TqcFloatSpinEdit, TqcNumberSpinEdit<long double>)
public:
  explicit TqcFloatSpinEdit(TComponent* AOwner);
  long double Value() const override;

protected:
  AnsiString Format(long double Value) const override { return FloatToStr(Value); }
  bool IsValidChar(char Key) override;
};
