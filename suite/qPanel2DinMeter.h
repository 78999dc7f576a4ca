// Unit qPanel2, needle meter: a square panel instrument with a quarter-circle scale.
#pragma once
#include "suite/qPanel2Base.h"
#include "vcl/ExtCtrls.h"

// How many scale ticks carry a number: none, the ends, the ends and the middle, every second,
// all eleven.
enum qcScaleType { st0, st2, st3, st6, st11 };
extern const TEnumType qcScaleTypeType;
using qcDecNum = int;  // digits after the decimal point
inline constexpr TSubrangeType qcDecNumRange{"qcDecNum", 0, 5};
using qcFrameWidth = int;
inline constexpr TSubrangeType qcFrameWidthRange{"qcFrameWidth", 4, 25};

// A needle for Value between Min (pointing left) and Max (pointing up) turning round a pivot
// near the bottom-right corner, a scale of eleven ticks, two free captions, an optional
// background picture and a bezel with a round cover over the pivot corner, optionally in the
// steel pattern. Min < Max always holds and Value stays within them. Subrange values are
// clamped into their range.
class TqcDinMeter : public TqcPanel2<TCustomPanel> {
  ORV_CLASS(TqcDinMeter, TqcPanel2<TCustomPanel>)
public:
  explicit TqcDinMeter(TComponent* AOwner);
  ~TqcDinMeter() override;

  // Square: the side is the requested width, at least 40.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Applies the streamed Min, Max and Value as their setters would, in that order.
  void Loaded() override;

  bool DrawScale() const { return FDrawScale; }
  void SetDrawScale(bool Value) { Change(FDrawScale, Value); }
  bool SteelLook() const { return FSteelLook; }
  void SetSteelLook(bool Value) { Change(FSteelLook, Value); }
  TColor NeedleColor() const { return FNeedleColor; }
  void SetNeedleColor(TColor Value) { Change(FNeedleColor, Value); }
  uint32_t NeedleLength() const { return FNeedleLength; }
  void SetNeedleLength(uint32_t Value) { Change(FNeedleLength, Value); }
  qcDecNum DigitsAfterPoint() const { return FDigitsAfterPoint; }
  void SetDigitsAfterPoint(qcDecNum Value) { Change(FDigitsAfterPoint, qcDecNumRange.Clamp(Value)); }
  qcScaleType ScaleType() const { return FScaleType; }
  void SetScaleType(qcScaleType Value) { Change(FScaleType, Value); }
  TColor ScaleColor() const { return FScaleColor; }
  void SetScaleColor(TColor Value) { Change(FScaleColor, Value); }
  qcOffSetNumber OffSetNumbers() const { return FOffSetNumbers; }
  void SetOffSetNumbers(qcOffSetNumber Value) { Change(FOffSetNumbers, qcOffSetNumberRange.Clamp(Value)); }
  qcOffSetDot OffSetDots() const { return FOffSetDots; }
  void SetOffSetDots(qcOffSetDot Value) { Change(FOffSetDots, qcOffSetDotRange.Clamp(Value)); }
  qcOffSetDot DotLength() const { return FDotLength; }
  void SetDotLength(qcOffSetDot Value) { Change(FDotLength, qcOffSetDotRange.Clamp(Value)); }
  // Min, then Max again (Min + 1 when it is no longer above Min). The largest integer is taken
  // as one less, so that Min + 1 exists.
  int Min() const { return FMin; }
  void SetMin(int Value);
  // Value when above Min, else Min + 1; then Value again.
  int Max() const { return FMax; }
  void SetMax(int Value);
  // Clamped into Min..Max.
  int Value() const { return FValue; }
  void SetValue(int Value);
  // (Value - Min) * 100 div (Max - Min).
  int Percent() const { return int(qcPercent(FValue, FMin, FMax)); }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value) { Change(FShadowColor, Value); }
  TColor HighLightColor() const { return FHighLightColor; }
  void SetHighLightColor(TColor Value) { Change(FHighLightColor, Value); }
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor Value) { Change(FFrameColor, Value); }
  qcFrameWidth FrameWidth() const { return FFrameWidth; }
  void SetFrameWidth(qcFrameWidth Value) { Change(FFrameWidth, qcFrameWidthRange.Clamp(Value)); }
  // A copy of the given bitmap; null (or 1 by 1) shows no picture.
  TBitmap* FaceBitmap() const { return FFaceBitmap; }
  void SetFaceBitmap(TBitmap* Value);
  uint32_t Caption2X() const { return FCaption2X; }
  void SetCaption2X(uint32_t Value) { Change(FCaption2X, Value); }
  uint32_t Caption2Y() const { return FCaption2Y; }
  void SetCaption2Y(uint32_t Value) { Change(FCaption2Y, Value); }
  const AnsiString& Caption2() const { return FCaption2; }
  void SetCaption2(const AnsiString& Value) { Change(FCaption2, Value); }
  const AnsiString& Caption1() const { return FCaption1; }
  void SetCaption1(const AnsiString& Value) { Change(FCaption1, Value); }
  TFont* Caption1Font() const { return FCaption1Font; }
  void SetCaption1Font(TFont* Value) { FCaption1Font->Assign(Value); }
  TFont* Caption2Font() const { return FCaption2Font; }
  void SetCaption2Font(TFont* Value) { FCaption2Font->Assign(Value); }

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

protected:
  void Paint() override;

private:
  void CaptionFontChanged(TObject* Sender);
  void PaintScale(TCanvas* C, int P);
  void PaintNeedle(TCanvas* C, int P);
  void PaintFrame(TCanvas* C, int W, int H, int P);

  TFont* FCaption1Font;
  TFont* FCaption2Font;
  TBitmap* FFaceBitmap;
  bool FDrawScale = true;
  bool FSteelLook = false;
  TColor FNeedleColor = clRed;
  uint32_t FNeedleLength = 72;
  qcDecNum FDigitsAfterPoint = 0;
  qcScaleType FScaleType = st3;
  TColor FScaleColor = clBlue;
  qcOffSetNumber FOffSetNumbers = 15;
  qcOffSetDot FOffSetDots = 9;
  qcOffSetDot FDotLength = 4;
  int FMin = 0;
  int FMax = 100;
  int FValue = 0;
  TColor FShadowColor = clBtnShadow;
  TColor FHighLightColor = clBtnHighlight;
  TColor FFrameColor = clBtnFace;
  qcFrameWidth FFrameWidth = 6;
  uint32_t FCaption2X = 10;
  uint32_t FCaption2Y = 80;
  AnsiString FCaption2;
  AnsiString FCaption1;
};
