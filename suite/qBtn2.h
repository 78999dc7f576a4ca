// Unit qBtn2: spin buttons drawn as one graphic control, an up and a down part (TqcSpinBtn) or
// those with a middle part between them (TqcCenterSpinBtn). A press steps once on release and,
// while the button is held over the pressed part, repeats after a delay at a fixed rate.
#pragma once
#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"

#include <cstdint>

using TqcSpinSpeed = uint16_t;       // milliseconds between repeats
using TqcSpinWaitRepeat = uint8_t;   // ticks before the first repeat

// What both spin buttons share: the parts, the press and its repeat, the painting.
class TqcCustomSpinBtn : public TGraphicControl {
  ORV_CLASS(TqcCustomSpinBtn, TGraphicControl)
public:
  enum TPart { spNone, spUp, spMiddle, spDown };

  // Centre: with a middle part between up and down.
  TqcCustomSpinBtn(TComponent* AOwner, bool Centre);
  void Dispatch(TMessage& Message) override;
  void Loaded() override;
  // At least 7 wide and 8 high; the parts are laid out again.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Click() override;

  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool Frame() const { return FFrame; }
  void SetFrame(bool Value);
  TColor GlyphColor() const { return FGlyphColor; }
  void SetGlyphColor(TColor Value);
  TColor GlyphDisableColor() const { return FGlyphDisableColor; }
  void SetGlyphDisableColor(TColor Value);
  TColor HighLightColor() const { return FHighLightColor; }
  void SetHighLightColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  TqcSpinSpeed SpinSpeed() const { return FSpinSpeed; }
  void SetSpinSpeed(TqcSpinSpeed Value);
  TqcSpinWaitRepeat WaitRepeat() const { return FWaitRepeat; }
  void SetWaitRepeat(TqcSpinWaitRepeat Value);
  bool UseRepeat() const { return FUseRepeat; }
  void SetUseRepeat(bool Value) { FUseRepeat = Value; }

  // Layout: each arrow's size (0: none drawn) and top offset within its part.
  int ArrowSize() const { return FArrowSize; }
  int ArrowTop() const { return FArrowTop; }
  // The part drawn pushed in (spNone when none), the part the press began on, and whether a
  // press is under way.
  TPart PressedPart() const { return FPressed; }
  TPart TrackedPart() const { return FTracked; }
  bool Pressing() const { return FPressing; }
  bool Hover() const { return FHover; }
  // The repeat timer (its window receives the ticks).
  TTimer* RepeatTimer() const { return FTimer; }

  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::DragMode;
  using TControl::SetDragMode;
  using TControl::DragCursor;
  using TControl::SetDragCursor;

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;
  TNotifyEvent OnPaint;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // The rows of a part, Top to Bottom inclusive; empty (Bottom < Top) for a part it lacks. Two
  // parts: up rows 0 to Height / 2, down the rest. Three: the outer two Height / 3 high (one more
  // above 12), the middle between them.
  void PartRows(TPart Part, int& Top, int& Bottom) const;
  // The height the arrow size is worked out from: the up part's.
  int ArrowSpan() const;
  // The part at a client point (spNone outside).
  TPart PartAt(int X, int Y) const;
  virtual void PartClicked(TPart Part);

  void WMEraseBkgnd(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMSysColorChange(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

private:
  void Layout();
  void TimerTick(TObject* Sender);
  // Ends the press: no part pressed or tracked, the timer stopped.
  void EndPress();
  void Changed(TColor& Field, TColor Value);
  void DrawArrow(TCanvas* C, int Y0, int Direction, bool Pressed);
  void DrawPartFrame(TCanvas* C, TPart Part);

  bool FFlat = false;
  bool FFrame = true;
  TColor FGlyphColor = clBtnText;
  TColor FGlyphDisableColor = clGrayText;
  TColor FHighLightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  TqcSpinSpeed FSpinSpeed = 250;
  TqcSpinWaitRepeat FWaitRepeat = 2;
  bool FUseRepeat = true;
  int FArrowSize = 0;
  int FArrowTop = 0;
  TPart FPressed = spNone;
  TPart FTracked = spNone;
  bool FPressing = false;
  int FRepeat = 0;
  bool FHover = false;
  const bool FCentre;
  TTimer* FTimer;
};

// Up and down parts.
class TqcSpinBtn : public TqcCustomSpinBtn {
  ORV_CLASS(TqcSpinBtn, TqcCustomSpinBtn)
public:
  explicit TqcSpinBtn(TComponent* AOwner) : TqcCustomSpinBtn(AOwner, false) {}
};

// Up, middle and down parts; the middle one is drawn without a glyph.
class TqcCenterSpinBtn : public TqcCustomSpinBtn {
  ORV_CLASS(TqcCenterSpinBtn, TqcCustomSpinBtn)
public:
  explicit TqcCenterSpinBtn(TComponent* AOwner) : TqcCustomSpinBtn(AOwner, true) {}
  TNotifyEvent OnCenterClick;
protected:
  void PartClicked(TPart Part) override;
};
#include "suite/qBtn2Lines.h"
