// The needle meter: the needle for values across the range, Min, Max and Value kept in order
// over the full integer range, scale labels against the same text drawn alone, the bezel's
// lines, the steel cover, and the square bounds.
#include "suite/tests/qpanel2test.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

using namespace suitetest;

namespace {

constexpr TColor Back = clWhite, Needle = clRed, Scale = clBlue, Labels = clGreen;
constexpr TColor Frame = clOlive, Light = clAqua, Dark = clPurple;

struct TMeter : ::testing::Test {
  vcltest::TTestHost Host;
  TqcDinMeter* Meter = nullptr;
  void SetUp() override {
    Meter = Host.Add<TqcDinMeter>(10, 10, 100, 100);
    Meter->SetFrameColor(Frame);
    Meter->SetShadowColor(Dark);
    Meter->SetHighLightColor(Light);
    Meter->Font()->SetColor(Labels);
  }
};

// Pixels on the needle's path from the pivot (79, 79), and off it.
TEST_F(TMeter, NeedlePointsAtTheValue) {
  const struct {
    int Value, Shown;
    TPoint On[3], Off;
  } Cases[] = {
      {0, 0, {{15, 79}, {30, 79}, {45, 79}}, {40, 40}},
      {50, 50, {{35, 35}, {45, 45}, {55, 55}}, {79, 40}},
      {100, 100, {{79, 15}, {79, 30}, {79, 45}}, {40, 40}},
      {150, 100, {{79, 15}, {79, 30}, {79, 45}}, {30, 79}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Value);
    Meter->SetValue(C.Value);
    EXPECT_EQ(Meter->Value(), C.Shown);
    const TPicture24 P = Render(Meter);
    for (const TPoint& On : C.On) EXPECT_EQ(P.At(On.X, On.Y), Needle) << On.X << ", " << On.Y;
    EXPECT_NE(P.At(C.Off.X, C.Off.Y), Needle);
  }
}

TEST_F(TMeter, MinMaxAndValueStayInOrder) {
  Meter->SetMax(0);
  EXPECT_EQ(Meter->Max(), 1) << "Max := Min gives Min + 1";
  Meter->SetMax(100);
  Meter->SetValue(30);
  Meter->SetMin(50);
  EXPECT_EQ(Meter->Value(), 50);
  Meter->SetMin(200);
  EXPECT_EQ(Meter->Max(), 201);
  EXPECT_EQ(Meter->Value(), 200);
  Meter->SetMin(INT_MAX);
  EXPECT_EQ(Meter->Min(), INT_MAX - 1);
  EXPECT_EQ(Meter->Max(), INT_MAX);
  EXPECT_EQ(Meter->Value(), INT_MAX - 1);
  Meter->SetMin(0);
  Meter->SetMax(3);
  Meter->SetValue(1);
  EXPECT_EQ(Meter->Percent(), 33) << "an integer division";
}

TEST_F(TMeter, TheFullIntegerRangePointsHalfWayAtZero) {
  Meter->SetMin(INT_MIN);
  Meter->SetMax(INT_MAX);
  Meter->SetValue(0);
  EXPECT_EQ(Meter->Percent(), 50);
  const TPicture24 P = Render(Meter);
  EXPECT_EQ(P.At(40, 40), Needle);
  EXPECT_EQ(P.At(55, 55), Needle);
  Meter->SetValue(INT_MAX);
  EXPECT_EQ(Meter->Percent(), 100);
  Meter->SetValue(INT_MIN);
  EXPECT_EQ(Meter->Percent(), 0);
}

// The labels of the scale, each drawn alone in the meter's font where the meter computes its
// place, on a bitmap of the meter's colour.
TPicture24 ReferenceLabels(TqcDinMeter* M, const std::map<int, std::string>& Texts) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(M->Width(), M->Height());
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(M->Color());
  C->FillRect(Rect(0, 0, B.Width(), B.Height()));
  C->SetFont(M->Font());
  C->Brush()->SetStyle(bsClear);
  const int P = M->Width() - M->Width() / 5, TH = C->TextHeight("1");
  for (const auto& [I, Text] : Texts) {
    const int TW = C->TextWidth(Text.c_str());
    const TPoint At = qcPolarPoint(P - TW / 2, P - TH / 2, P - TH / 2 - M->OffSetNumbers(), qcStepAngle(I + 20, 40));
    C->TextOut(At.X - 1, At.Y - 1, Text.c_str());
  }
  return PictureOf(B);
}

TEST_F(TMeter, ScaleLabelsByScaleTypeAndDigits) {
  Meter->SetNeedleLength(0);
  const struct {
    qcScaleType Type;
    int Digits;
    std::map<int, std::string> Texts;
  } Cases[] = {
      {st0, 0, {}},
      {st3, 0, {{0, "0"}, {5, "50"}, {10, "100"}}},
      {st3, 1, {{0, "0.0"}, {5, "50.0"}, {10, "100.0"}}},
      {st11, 0, {{0, "0"}, {1, "10"}, {2, "20"}, {3, "30"}, {4, "40"}, {5, "50"}, {6, "60"}, {7, "70"}, {8, "80"},
                 {9, "90"}, {10, "100"}}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(qcScaleTypeType.ValueToName(C.Type)) + ", " + std::to_string(C.Digits) + " digits");
    Meter->SetScaleType(C.Type);
    Meter->SetDigitsAfterPoint(C.Digits);
    const TPicture24 Got = Render(Meter), Want = ReferenceLabels(Meter, C.Texts);
    int Missing = 0;
    for (int Y = 0; Y < Want.H; ++Y)
      for (int X = 0; X < Want.W; ++X) Missing += Want.At(X, Y) == Labels && Got.At(X, Y) != Labels;
    EXPECT_EQ(Missing, 0);
    EXPECT_EQ(Got.Count(Labels), Want.Count(Labels));
    EXPECT_EQ(Want.Count(Labels) > 0, !C.Texts.empty());
  }
}

TEST_F(TMeter, ShortTicksCarryNoNumbers) {
  Meter->SetNeedleLength(0);
  auto ScalePixels = [&](qcScaleType T) {
    Meter->SetScaleType(T);
    return Render(Meter).Count(Scale);
  };
  for (int Length : {0, 1}) {
    SCOPED_TRACE(Length);
    Meter->SetDotLength(Length);
    Meter->SetScaleType(st11);
    EXPECT_EQ(Render(Meter).Count(Labels), 0) << "no numbers";
    EXPECT_EQ(ScalePixels(st11), ScalePixels(st0)) << "no thick ticks";
  }
  Meter->SetDotLength(4);
  EXPECT_GT(ScalePixels(st11), ScalePixels(st0)) << "numbered ticks are thick";
  EXPECT_GT(ScalePixels(st0), 0);
}

TEST_F(TMeter, BezelAndBevelLines) {
  const TPicture24 P = Render(Meter);
  // Inward from each edge of the 100-pixel meter with a frame of 6.
  const TColor FromLeft[] = {Dark, Light, Frame, Frame, Dark, clBlack, Back};
  const TColor FromTop[] = {Dark, Light, Frame, Frame, Dark, clBlack, Back};
  const TColor FromRight[] = {clBlack, Dark, Frame, Frame, Light, Dark, Frame};
  const TColor FromBottom[] = {clBlack, Dark, Frame, Frame, Light, Dark, Back};
  for (int I = 0; I < 7; ++I) {
    EXPECT_EQ(Hex(P.At(I, 50)), Hex(FromLeft[I])) << "left, column " << I;
    EXPECT_EQ(Hex(P.At(50, I)), Hex(FromTop[I])) << "top, row " << I;
    EXPECT_EQ(Hex(P.At(99 - I, 50)), Hex(FromRight[I])) << "right, column " << 99 - I;
    EXPECT_EQ(Hex(P.At(20, 99 - I)), Hex(FromBottom[I])) << "bottom, row " << 99 - I;
  }
  EXPECT_EQ(P.At(80, 80), Needle) << "the pivot cap";
}

TEST_F(TMeter, SteelLookCoversThePivotCorner) {
  const TPoint Cover[] = {{65, 85}, {66, 85}, {65, 86}, {67, 87}, {90, 70}};
  TPicture24 P = Render(Meter);
  for (const TPoint& C : Cover) EXPECT_EQ(P.At(C.X, C.Y), Frame) << C.X << ", " << C.Y;
  Meter->SetSteelLook(true);
  P = Render(Meter);
  for (const TPoint& C : Cover)
    EXPECT_EQ(P.At(C.X, C.Y), C.X % 2 && C.Y % 2 ? clWhite : clSilver) << C.X << ", " << C.Y;
}

TEST_F(TMeter, BackgroundPictureAndCaptions) {
  auto Tile = vcltest::MakeBitmap(4, 4, clMaroon);
  Meter->SetFaceBitmap(Tile.get());
  EXPECT_EQ(Render(Meter).At(40, 60), clMaroon);
  Meter->SetFaceBitmap(nullptr);
  EXPECT_EQ(Render(Meter).At(40, 60), Back);
  Meter->Caption1Font()->SetColor(clNavy);
  Meter->Caption2Font()->SetColor(clTeal);
  Meter->SetCaption1("Hg");
  Meter->SetCaption2("kPa");
  const TPicture24 P = Render(Meter);
  const TInk One = InkOf(P, clNavy), Two = InkOf(P, clTeal);
  ASSERT_GT(One.Count, 0);
  ASSERT_GT(Two.Count, 0);
  EXPECT_GE(One.Left, 9);
  EXPECT_GE(One.Top, 9);
  EXPECT_LT(One.Left, 14);
  EXPECT_GE(Two.Left, 10);
  EXPECT_GE(Two.Top, 80);
  EXPECT_LT(Two.Left, 14);
  EXPECT_GT(One.Height(), Two.Height()) << "12-point bold over 8-point";
}

TEST(DinMeter, StaysSquareAndAtLeast40) {
  auto* M = TComponent::Create<TqcDinMeter>(nullptr);
  M->SetBounds(0, 0, 30, 60);
  EXPECT_EQ(M->Width(), 40);
  EXPECT_EQ(M->Height(), 40);
  M->SetBounds(0, 0, 120, 10);
  EXPECT_EQ(M->Height(), 120);
  TObject::Free(M);
}

}  // namespace
