// Unit qPanel2, spectrum level display: up to 100 level bars side by side.
#pragma once
#include "suite/qPanel2Base.h"

#include <array>

using SpectrumTop = int;  // cap height
inline constexpr TSubrangeType SpectrumTopRange{"SpectrumTop", 2, 10};
using SpectrumNumber = int;  // bars
inline constexpr TSubrangeType SpectrumNumberRange{"SpectrumNumber", 1, 100};
// The levels of channels 1 to 100, channel 1 first.
using TqcSpectrumLevels = std::array<int32_t, 100>;

// Each bar rises from the bottom in proportion to its channel's level between Min and Max,
// carries a cap of TopSize pixels in TopColor, and with UseLed is cut into LED rows. The owner
// feeds the levels; while a designer edits the form the bars show a falling staircase.
// Min < Max always holds. Subrange values are clamped into their range.
class TqcSpectrum : public TqcPanel2<TGraphicControl> {
  ORV_CLASS(TqcSpectrum, TqcPanel2<TGraphicControl>)
public:
  explicit TqcSpectrum(TComponent* AOwner);

  void Dispatch(TMessage& Message) override;
  // At least 20 by 35.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Applies the streamed Min and Max: a Min not below Max becomes Max - 1; a stored Max of
  // -2147483648 gives the lowest range, -2147483648..-2147483647.
  void Loaded() override;

  // Channel Index (1..100) takes Value clamped into Min..Max; other indexes are ignored.
  void SetChannel(int Index, int32_t Value);
  // The stored level of channel Index; 0 outside 1..100.
  int32_t GetChannel(int Index) const;
  // All 100 levels as given, unclamped (they are drawn clamped).
  void SetAllChannel(const TqcSpectrumLevels& Values);
  // (Level - Min) * 100 div (Max - Min), in 64 bits.
  int64_t GetPercent(int64_t Level) const { return qcPercent(Level, FMin, FMax); }

  bool UseSep() const { return FUseSep; }
  void SetSplit(bool Value) { Change(FUseSep, Value); }
  bool UseLed() const { return FUseLed; }
  void SetLed(bool Value) { Change(FUseLed, Value); }
  TColor BarColor() const { return FBarColor; }
  void SetBarColor(TColor Value);
  TColor BarOffColor() const { return FBarOffColor; }
  void SetBarOff(TColor Value);
  TColor TopColor() const { return FTopColor; }
  void SetTopColor(TColor Value);
  SpectrumTop TopSize() const { return FTopSize; }
  void SetTop(SpectrumTop Value) { Change(FTopSize, SpectrumTopRange.Clamp(Value)); }
  SpectrumNumber NumberOfChannels() const { return FNumberOfChannels; }
  void SetNum(SpectrumNumber Value);
  TColor FaceColor() const { return FFaceColor; }
  void SetFaceColor(TColor Value);
  // A Min not below Max becomes Max - 1; every level is clamped into the new range.
  int32_t Min() const { return FMin; }
  void SetMin(int32_t Value);
  // A Max not above Min becomes Min + 1; every level is clamped into the new range.
  int32_t Max() const { return FMax; }
  void SetMax(int32_t Value);

  using TControl::DragMode;
  using TControl::SetDragMode;
  using TControl::DragCursor;
  using TControl::SetDragCursor;

protected:
  void Paint() override;

private:
  void CMSysColorChange(TMessage& Message);
  void Recolor(TColor& Field, TColor Value);
  void ClampLevels();
  void UpdateMetrics();

  TqcSpectrumLevels FLevels{};
  bool FUseSep = true;
  bool FUseLed = true;
  TColor FBarColor = clLime;
  TColor FBarOffColor = clGreen;
  TColor FTopColor = clYellow;
  TColor FFaceColor = clBlack;
  SpectrumTop FTopSize = 2;
  SpectrumNumber FNumberOfChannels = 20;
  int32_t FMin = 0;
  int32_t FMax = 100;
  long double FBarWidth = 0;       // Width / NumberOfChannels
  long double FPercentHeight = 0;  // Height / 100
};
