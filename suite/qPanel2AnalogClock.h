// Unit qPanel2, analog clock: the local time, shifted by OffSetTime minutes, on a round face.
#pragma once
#include "suite/qPanel2Base.h"
#include "suite/Std2.h"
#include "vcl/ExtCtrls.h"

enum qcClockStyle {
  csNone, csSmallDot, csDot, csSimpleDot, csNumber, csNumberSmallDot, csNumberDot, csNumberSimpleDot,
  csRoman, csRomanSmallDot, csRomanDot, csRomanSimpleDot
};
extern const TEnumType qcClockStyleType;
enum qcHandType { htNeedle, htHand0, htHand1, htHand2, htHand3, htHand4, htHand5 };
extern const TEnumType qcHandTypeType;
enum qcClockDotType { dtRound, dtRect };
extern const TEnumType qcClockDotTypeType;
using qcClockDot = int;
inline constexpr TSubrangeType qcClockDotRange{"qcClockDot", 1, 10};

// The local time the clocks read (Now by default); null restores it. Returns the previous
// source. For tests.
using TqcClockTimeSource = TDateTime (*)();
TqcClockTimeSource SetqcClockTimeSource(TqcClockTimeSource Source);

// A square clock face with hour marks (dots, Arabic or Roman numbers), hour, minute and second
// hands, an optional face picture cut to the circle, and circular bevels. Its thread timer
// ticks every Interval ms; the clock repaints when the shown second (without ShowSeconds, the
// shown minute) has changed. Subrange values are clamped into their range.
class TqcAnalogClock : public TqcPanel2<TCustomPanel> {
  ORV_CLASS(TqcAnalogClock, TqcPanel2<TCustomPanel>)
public:
  explicit TqcAnalogClock(TComponent* AOwner);
  // Both stop and free the timer before anything else goes.
  void BeforeDestruction() override;
  ~TqcAnalogClock() override;

  // Square: the side is the requested width.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TThreadPriority Priority() const { return FTimer->Priority(); }
  void SetPriority(TThreadPriority Value) { FTimer->SetPriority(Value); }
  bool NumStyle4() const { return FNumStyle4; }
  void SetNumStyle4(bool Value) { Change(FNumStyle4, Value); }
  bool ShowSeconds() const { return FShowSeconds; }
  void SetShowSeconds(bool Value) { Change(FShowSeconds, Value); }
  // A copy of the given bitmap; null (or 1 by 1) shows the plain FaceColor face.
  TBitmap* FaceBitmap() const { return FFaceBitmap; }
  void SetFaceBitmap(TBitmap* Value);
  bool Raised() const { return FRaised; }
  void SetRaised(bool Value) { Change(FRaised, Value); }
  qcClockDotType DotType() const { return FDotType; }
  void SetDotType(qcClockDotType Value) { Change(FDotType, Value); }
  TColor FaceColor() const { return FFaceColor; }
  void SetFaceColor(TColor Value) { Change(FFaceColor, Value); }
  bool Use3D() const { return FUse3D; }
  void SetUse3D(bool Value) { Change(FUse3D, Value); }
  bool UseFont3D() const { return FUseFont3D; }
  void SetUseFont3D(bool Value) { Change(FUseFont3D, Value); }
  qcClockStyle ClockStyle() const { return FClockStyle; }
  void SetClockStyle(qcClockStyle Value) { Change(FClockStyle, Value); }
  TColor DotColor() const { return FDotColor; }
  void SetDotColor(TColor Value) { Change(FDotColor, Value); }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value) { Change(FShadowColor, Value); }
  TColor HighLightColor() const { return FHighLightColor; }
  void SetHighLightColor(TColor Value) { Change(FHighLightColor, Value); }
  qcClockDot DotSize() const { return FDotSize; }
  void SetDotSize(qcClockDot Value) { Change(FDotSize, qcClockDotRange.Clamp(Value)); }
  qcOffSetNumber OffSetNumbers() const { return FOffSetNumbers; }
  void SetOffSetNumbers(qcOffSetNumber Value) { Change(FOffSetNumbers, qcOffSetNumberRange.Clamp(Value)); }
  qcOffSetDot OffSetDots() const { return FOffSetDots; }
  void SetOffSetDots(qcOffSetDot Value) { Change(FOffSetDots, qcOffSetDotRange.Clamp(Value)); }
  // Minutes added to the local time; a change shows the new time at once.
  qcOffSetTime OffSetTime() const { return FOffSetTime; }
  void SetOffSetTime(qcOffSetTime Value);
  unsigned short HandLengthMin() const { return FHandLengthMin; }
  void SetHandLengthMin(unsigned short Value) { Change(FHandLengthMin, Value); }
  unsigned short HandLengthHour() const { return FHandLengthHour; }
  void SetHandLengthHour(unsigned short Value) { Change(FHandLengthHour, Value); }
  unsigned short HandLengthSec() const { return FHandLengthSec; }
  void SetHandLengthSec(unsigned short Value) { Change(FHandLengthSec, Value); }
  TColor HandIColHour() const { return FHandIColHour; }
  void SetHandIColHour(TColor Value) { Change(FHandIColHour, Value); }
  TColor HandOColHour() const { return FHandOColHour; }
  void SetHandOColHour(TColor Value) { Change(FHandOColHour, Value); }
  TColor HandIColMin() const { return FHandIColMin; }
  void SetHandIColMin(TColor Value) { Change(FHandIColMin, Value); }
  TColor HandOColMin() const { return FHandOColMin; }
  void SetHandOColMin(TColor Value) { Change(FHandOColMin, Value); }
  TColor HandColSec() const { return FHandColSec; }
  void SetHandColSec(TColor Value) { Change(FHandColSec, Value); }
  unsigned short HandDotSec() const { return FHandDotSec; }
  void SetHandDotSec(unsigned short Value) { Change(FHandDotSec, Value); }
  unsigned short HandDotMin() const { return FHandDotMin; }
  void SetHandDotMin(unsigned short Value) { Change(FHandDotMin, Value); }
  unsigned short HandDotHour() const { return FHandDotHour; }
  void SetHandDotHour(unsigned short Value) { Change(FHandDotHour, Value); }
  unsigned short HandWidthHour() const { return FHandWidthHour; }
  void SetHandWidthHour(unsigned short Value) { Change(FHandWidthHour, Value); }
  unsigned short HandWidthMin() const { return FHandWidthMin; }
  void SetHandWidthMin(unsigned short Value) { Change(FHandWidthMin, Value); }
  qcHandType HandTypeHour() const { return FHandTypeHour; }
  void SetHandTypeHour(qcHandType Value) { Change(FHandTypeHour, Value); }
  qcHandType HandTypeMin() const { return FHandTypeMin; }
  void SetHandTypeMin(qcHandType Value) { Change(FHandTypeMin, Value); }

  // The time shown: hour 0..12, minute, second.
  unsigned short Hour() const { return FHour; }
  unsigned short Minute() const { return FMinute; }
  unsigned short Second() const { return FSecond; }
  // The timer (for tests).
  TqcTimer* Timer() const { return FTimer; }

  using TCustomPanel::BevelInner;
  using TCustomPanel::SetBevelInner;
  using TCustomPanel::BevelOuter;
  using TCustomPanel::SetBevelOuter;
  using TCustomPanel::BevelWidth;
  using TCustomPanel::SetBevelWidth;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TControl::DragMode;
  using TControl::SetDragMode;
  using TControl::DragCursor;
  using TControl::SetDragCursor;

  // After the shown time changed (before the repaint).
  TNotifyEvent OnTimeChange;

protected:
  void Paint() override;
  // Reads the time; when its second (without ShowSeconds, its minute) is not the last seen one,
  // remembers it, calls OnTimeChange, takes the shown time from it and answers true.
  bool IsNew();

private:
  void DoTimer(TObject* Sender);
  void PaintFacePicture(TCanvas* C, int W, int H);
  void PaintBevels(TCanvas* C, int W, int H);
  void PaintSmallDots(TCanvas* C, int W);
  void PaintHourDots(TCanvas* C, int W);
  void PaintNumbers(TCanvas* C, int W);
  void PaintHands(TCanvas* C, int W);

  // No time has this second or minute: the first look, and one after a new OffSetTime, always
  // shows a change.
  static constexpr unsigned short NoTime = 0xFFFF;

  TqcTimer* FTimer;
  TBitmap* FFaceBitmap;
  TBitmap* FFaceMask;     // monochrome: the face circle black on white
  TBitmap* FFacePicture;  // the face bitmap inside the circle, white outside
  bool FNumStyle4 = false;
  bool FShowSeconds = true;
  bool FRaised = true;
  bool FUse3D = false;
  bool FUseFont3D = false;
  qcClockDotType FDotType = dtRect;
  qcClockStyle FClockStyle = csDot;
  TColor FFaceColor = clBlack;
  TColor FDotColor = clFuchsia;
  TColor FShadowColor = clBtnShadow;
  TColor FHighLightColor = clBtnHighlight;
  qcClockDot FDotSize = 2;
  qcOffSetNumber FOffSetNumbers = 2;
  qcOffSetDot FOffSetDots = 2;
  qcOffSetTime FOffSetTime = 0;
  unsigned short FHandLengthMin = 45, FHandLengthHour = 32, FHandLengthSec = 45;
  TColor FHandIColHour = clGreen, FHandOColHour = clLime;
  TColor FHandIColMin = clGreen, FHandOColMin = clLime;
  TColor FHandColSec = clRed;
  unsigned short FHandDotSec = 0, FHandDotMin = 0, FHandDotHour = 0;
  unsigned short FHandWidthHour = 3, FHandWidthMin = 2;
  qcHandType FHandTypeHour = htHand1, FHandTypeMin = htHand1;
  unsigned short FLastSecond = NoTime, FLastMinute = NoTime;
  unsigned short FHour = 0, FMinute = 0, FSecond = 0;
};
