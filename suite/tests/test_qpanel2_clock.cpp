// The analog clock at times the test sets: hands, marks, numbers, bevels and the face picture as
// pixels, repaints per second or minute, and its square bounds.
#include "suite/tests/qpanel2test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace suitetest;
using namespace qpanel2test;

namespace {

constexpr TColor Back = clSilver, Face = clBlack, Light = clAqua, Dark = clPurple;
constexpr TColor HourIn = clNavy, HourOut = clTeal, MinIn = clMaroon, MinOut = clOlive, Sec = clRed;
constexpr TColor Dot = clFuchsia, Digits = clYellow;

// A 100 by 100 clock in test colours whose timer only the test ticks.
struct TClock : ::testing::Test {
  TClockAt At{3, 0, 0};
  vcltest::TTestHost Host;
  TqcAnalogClock* Clock = nullptr;
  void SetUp() override {
    Clock = Host.Add<TqcAnalogClock>(10, 10, 100, 100);
    HoldTimer(Clock->Timer());
    Clock->SetColor(Back);
    Clock->SetShadowColor(Dark);
    Clock->SetHighLightColor(Light);
    Clock->SetHandIColHour(HourIn);
    Clock->SetHandOColHour(HourOut);
    Clock->SetHandIColMin(MinIn);
    Clock->SetHandOColMin(MinOut);
    Clock->Font()->SetColor(Digits);
  }
  void Time(int H, int M, int S) {
    TClockAt::Set(H, M, S);
    Tick(Clock->Timer());
  }
};

struct TPixelCase {
  int X, Y;
  TColor Colour;
  const char* What;
};

void ExpectPixels(const TPicture24& P, std::initializer_list<TPixelCase> Cases) {
  for (const TPixelCase& C : Cases)
    EXPECT_EQ(Hex(P.At(C.X, C.Y)), Hex(C.Colour)) << C.What << " at (" << C.X << ", " << C.Y << ")";
}

// Whether Colour is in the 3 by 3 square round (X, Y): lines land within a pixel of their path.
bool Near(const TPicture24& P, int X, int Y, TColor Colour) {
  for (int DY = -1; DY <= 1; ++DY)
    for (int DX = -1; DX <= 1; ++DX)
      if (P.Inside(X + DX, Y + DY) && P.At(X + DX, Y + DY) == Colour) return true;
  return false;
}

TEST_F(TClock, HandsShowTheTime) {
  Clock->SetShowSeconds(false);
  // 3:00: the hour hand right, the minute hand up.
  TPicture24 P = Render(Clock);
  ExpectPixels(P, {{66, 50, HourIn, "hour hand"},   {82, 50, HourOut, "hour tip"},  {50, 30, MinIn, "minute hand"},
                   {50, 5, MinOut, "minute tip"},    {34, 50, Face, "no hand left"}, {50, 70, Face, "no hand down"}});
  // 14:30 shows 2:30: the hour hand half-way between 2 and 3, the minute hand down.
  Time(14, 30, 0);
  EXPECT_EQ(Clock->Hour(), 2);
  P = Render(Clock);
  ExpectPixels(P, {{66, 46, HourIn, "hour hand at 2:30"}, {64, 42, Face, "not at 2"}, {66, 50, Face, "not at 3"},
                   {50, 70, MinIn, "minute hand at 30"}, {50, 30, Face, "no minute hand up"}});
}

TEST_F(TClock, OffSetTimeShiftsTheShownTime) {
  Clock->SetShowSeconds(false);
  const struct {
    int Offset;
    unsigned short Hour;
    TPixelCase Hand, Not;
  } Cases[] = {
      {60, 4, {64, 58, HourIn, "hour hand at 4"}, {66, 50, Face, "not at 3"}},
      {-1440, 3, {66, 50, HourIn, "hour hand at 3"}, {64, 58, Face, "not at 4"}},
      {-150, 0, {55, 31, HourIn, "hour hand at 0:30"}, {66, 50, Face, "not at 3"}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Offset);
    // At the same second: the new offset shows at once, not at the next change of time.
    Clock->SetOffSetTime(C.Offset);
    EXPECT_EQ(Clock->Hour(), C.Hour);
    ExpectPixels(Render(Clock), {C.Hand, C.Not});
  }
  Clock->SetOffSetTime(5000);
  EXPECT_EQ(Clock->OffSetTime(), 1440);
}

TEST_F(TClock, SecondHandOnlyWithShowSeconds) {
  Time(3, 0, 48);  // 198 degrees: left, a little up
  const TPoint Mid = qcPolarPoint(50, 50, 30, qcStepAngle(48 + 45, 60));
  EXPECT_TRUE(Near(Render(Clock), Mid.X, Mid.Y, Sec));
  Clock->SetShowSeconds(false);
  EXPECT_FALSE(Near(Render(Clock), Mid.X, Mid.Y, Sec));
  Clock->SetShowSeconds(true);
  Clock->SetHandDotSec(4);
  ExpectPixels(Render(Clock), {{47, 52, Sec, "the second hand's centre dot"}});
}

// Hour dots at 3 o'clock (centre (95, 50)) and small dots at one minute past (97, 55).
TEST_F(TClock, ClockStylesDrawTheirMarks) {
  Clock->SetHandLengthHour(4);
  Clock->SetHandLengthMin(4);
  Clock->SetShowSeconds(false);
  const struct {
    qcClockStyle Style;
    bool Small, Hour, Numbers;
  } Cases[] = {
      {csNone, false, false, false},          {csSmallDot, true, false, false},
      {csDot, true, true, false},             {csSimpleDot, false, true, false},
      {csNumber, false, false, true},         {csNumberDot, true, true, true},
      {csRomanSmallDot, true, false, true},   {csRomanSimpleDot, false, true, true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(qcClockStyleType.ValueToName(C.Style));
    Clock->SetClockStyle(C.Style);
    const TPicture24 P = Render(Clock);
    EXPECT_EQ(P.At(97, 55), C.Small ? Dot : Face) << "small dot";
    EXPECT_EQ(P.At(94, 50), C.Hour ? Dot : Face) << "hour dot at 3";
    EXPECT_EQ(P.At(50, 94), C.Hour ? Dot : Face) << "hour dot at 6";
    EXPECT_EQ(P.Count(Digits) > 0, C.Numbers) << "numbers";
  }
}

// Where the clock writes number I (1..12) of Text: the box its text covers.
TRect NumberBox(TCanvas* C, int I, const AnsiString& Text, bool Roman, int Offset) {
  const int TH = C->TextHeight("0");
  const int TW = C->TextWidth(Roman ? Text : AnsiString(I == 12 ? "12" : "0"));
  const long double A = qcStepAngle(I + 9, 12);
  const int X = qcRound(50 + std::cos(A) * (50 - TW - Offset)) - 1 - TW / 2;
  const int Y = qcRound(50 + std::sin(A) * (50 - TH / 2 - Offset)) - 1 - TH / 2;
  return Rect(X, Y, X + C->TextWidth(Text), Y + TH);
}

TEST_F(TClock, NumbersStandAtTheirHours) {
  Clock->SetHandLengthHour(4);
  Clock->SetHandLengthMin(4);
  Clock->SetShowSeconds(false);
  TBitmap Measure;
  Measure.SetSize(1, 1);
  Measure.Canvas()->SetFont(Clock->Font());
  const char* const Arabic[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
  const char* const Roman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"};
  const struct {
    qcClockStyle Style;
    bool Four;
  } Cases[] = {{csNumber, false}, {csNumber, true}, {csRoman, false}, {csRoman, true}};
  for (const auto& C : Cases) {
    const bool IsRoman = C.Style == csRoman;
    SCOPED_TRACE(std::string(IsRoman ? "Roman" : "Arabic") + (C.Four ? ", NumStyle4" : ""));
    Clock->SetClockStyle(C.Style);
    Clock->SetNumStyle4(C.Four);
    const TPicture24 P = Render(Clock);
    int InBoxes = 0;
    for (int I = 1; I <= 12; ++I) {
      const AnsiString Text = IsRoman ? Roman[I - 1] : Arabic[I - 1];
      const TRect Box = NumberBox(Measure.Canvas(), I, Text, IsRoman, Clock->OffSetNumbers());
      int Ink = 0;
      for (int Y = Box.Top; Y < Box.Bottom; ++Y)
        for (int X = Box.Left; X < Box.Right; ++X) Ink += P.Inside(X, Y) && P.At(X, Y) == Digits;
      InBoxes += Ink;
      EXPECT_EQ(Ink > 0, !C.Four || I % 3 == 0) << "number " << I;
    }
    EXPECT_EQ(InBoxes, P.Count(Digits)) << "ink outside the numbers' boxes";
  }
}

TEST_F(TClock, UseFont3DShadowsTheNumbers) {
  Clock->SetClockStyle(csNumber);
  Clock->SetBevelOuter(bvNone);
  Clock->SetUseFont3D(true);
  TPicture24 P = Render(Clock);
  const TInk Up = InkOf(P, Light), Down = InkOf(P, Dark), Main = InkOf(P, Digits);
  ASSERT_GT(Up.Count, 0);
  ASSERT_GT(Down.Count, 0);
  EXPECT_LT(Up.CentreX(), Main.CentreX());
  EXPECT_GT(Down.CentreX(), Main.CentreX());
  Clock->SetRaised(false);
  P = Render(Clock);
  EXPECT_GT(InkOf(P, Light).CentreX(), InkOf(P, Dark).CentreX());
}

TEST_F(TClock, HandTypesSetTheSidePoints) {
  Clock->SetShowSeconds(false);
  Clock->SetClockStyle(csNone);
  Clock->SetHandLengthHour(45);
  // The hour hand at 3:00: sides 18 degrees off its axis, at 45 div 2 .. 45 div 7.
  const long double Side = qcStepAngle(-36, 720);
  std::vector<int> Areas;
  for (int T = htHand0; T <= htHand5; ++T) {
    SCOPED_TRACE(qcHandTypeType.ValueToName(T));
    Clock->SetHandTypeHour(qcHandType(T));
    const TPicture24 P = Render(Clock);
    const TPoint S = qcPolarPoint(50, 50, 45 / (T + 1), Side);
    EXPECT_EQ(P.At(S.X, S.Y), HourOut) << "side point";
    EXPECT_EQ(P.At(S.X, 100 - S.Y), HourOut) << "other side point";
    EXPECT_EQ(P.At(95, 50), HourOut) << "tip";
    Areas.push_back(P.Count(HourIn));
    if (T > htHand0) {
      EXPECT_LE(Areas.back(), Areas[Areas.size() - 2]) << "no wider than the one before";
    }
  }
  EXPECT_GT(Areas.front(), 2 * Areas.back());
  Clock->SetHandTypeHour(htNeedle);
  const TPicture24 P = Render(Clock);
  EXPECT_EQ(P.Count(HourIn), 0);
  for (int X = 51; X < 95; ++X) EXPECT_EQ(P.At(X, 50), HourOut) << "needle at " << X;
  EXPECT_EQ(P.At(60, 48), Face);
}

TEST_F(TClock, Use3DDrawsDotPairs) {
  Clock->SetHandLengthHour(4);
  Clock->SetHandLengthMin(4);
  Clock->SetShowSeconds(false);
  Clock->SetUse3D(true);
  for (bool Raised : {true, false}) {
    SCOPED_TRACE(Raised ? "raised" : "sunken");
    Clock->SetRaised(Raised);
    const TColor First = Raised ? Light : Dark, Second = Raised ? Dark : Light;
    ExpectPixels(Render(Clock), {{97, 55, First, "small dot"},
                                 {98, 56, Second, "its pair down-right"},
                                 {92, 49, First, "hour dot's upper-left copy"},
                                 {97, 50, Second, "hour dot's lower-right copy"},
                                 {94, 50, Dot, "hour dot"}});
  }
}

TEST_F(TClock, BevelArcs) {
  Clock->SetShowSeconds(false);
  Clock->SetClockStyle(csNone);
  const struct {
    TBevelCut Outer, Inner;
    TColor LowerRight, UpperLeft, InnerLowerRight, InnerUpperLeft;
  } Cases[] = {
      {bvLowered, bvNone, Light, Dark, Face, Face},
      {bvRaised, bvLowered, Dark, Light, Light, Dark},
      {bvNone, bvRaised, Face, Face, Dark, Light},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(TBevelCutType.ValueToName(C.Outer));
    Clock->SetBevelOuter(C.Outer);
    Clock->SetBevelInner(C.Inner);
    ExpectPixels(Render(Clock), {{99, 50, C.LowerRight, "outer, right"},
                                 {50, 99, C.LowerRight, "outer, bottom"},
                                 {0, 50, C.UpperLeft, "outer, left"},
                                 {50, 0, C.UpperLeft, "outer, top"},
                                 {97, 50, C.InnerLowerRight, "inner, right"},
                                 {2, 50, C.InnerUpperLeft, "inner, left"},
                                 {3, 3, Back, "corner"}});
  }
}

TEST_F(TClock, FacePictureFillsTheCircle) {
  Clock->SetShowSeconds(false);
  // 10 by 10: red left half, blue right half, one white pixel.
  auto Tile = vcltest::MakeBitmap(10, 10, clRed);
  Tile->Canvas()->Brush()->SetColor(clBlue);
  Tile->Canvas()->FillRect(Rect(5, 0, 10, 10));
  Tile->Canvas()->SetPixels(7, 7, clWhite);
  Clock->SetFaceBitmap(Tile.get());
  ExpectPixels(Render(Clock), {{22, 30, clRed, "tile, left half"},
                               {26, 30, clBlue, "tile, right half"},
                               {72, 80, clRed, "the tile repeated"},
                               {37, 37, Back, "a white picture pixel"},
                               {3, 3, Back, "corner"},
                               {96, 96, Back, "corner"}});
  Clock->SetFaceBitmap(nullptr);
  EXPECT_EQ(Clock->FaceBitmap()->Width(), 1);
  ExpectPixels(Render(Clock), {{22, 30, Face, "plain face"}, {3, 3, Back, "corner"}});
}

// Counts paints and time changes.
struct TCounter : TObject {
  int Paints = 0, Changes = 0;
  void Painted(TObject*) { ++Paints; }
  void Changed(TObject*) { ++Changes; }
};

TEST_F(TClock, RepaintsWhenTheShownSecondOrMinuteChanges) {
  TCounter Count;
  Clock->OnPaint = EVENT(&Count, TCounter::Painted);
  Clock->OnTimeChange = EVENT(&Count, TCounter::Changed);
  vcltest::PumpRounds(2);
  const int Start = Count.Paints;
  EXPECT_GT(Start, 0);
  auto Step = [&](int H, int M, int S) {
    Time(H, M, S);
    vcltest::PumpMessages();
    return Count.Paints - Start;
  };
  EXPECT_EQ(Step(3, 0, 0), 0) << "a tick in the same second";
  EXPECT_EQ(Step(3, 0, 1), 1) << "a new second";
  EXPECT_EQ(Step(3, 0, 1), 1);
  EXPECT_EQ(Step(3, 0, 2), 2);
  EXPECT_EQ(Count.Changes, 2);
  Clock->SetShowSeconds(false);
  vcltest::PumpMessages();
  const int Off = Count.Paints - Start;
  EXPECT_EQ(Step(3, 0, 30), Off) << "no repaint in the same minute";
  EXPECT_EQ(Step(3, 1, 5), Off + 1) << "a new minute";
  EXPECT_EQ(Step(3, 1, 59), Off + 1);
  EXPECT_EQ(Clock->Minute(), 1);
  Clock->SetEnabled(false);
  vcltest::PumpMessages();
  const int Disabled = Count.Paints - Start;
  EXPECT_EQ(Step(3, 2, 0), Disabled) << "a disabled clock stands still";
  EXPECT_EQ(Clock->Minute(), 1);
}

TEST(AnalogClock, MadeAtSecondZeroShowsItsTimeAtOnce) {
  TClockAt At(3, 0, 0);
  vcltest::TTestHost Host;
  auto* Clock = Host.Add<TqcAnalogClock>(10, 10, 100, 100);
  EXPECT_EQ(Clock->Hour(), 3);
  EXPECT_EQ(Clock->Minute(), 0);
  EXPECT_EQ(Clock->Second(), 0);
  EXPECT_EQ(Render(Clock).At(66, 50), TColor(clGreen)) << "the hour hand points at 3";
}

TEST(AnalogClock, StaysSquare) {
  TClockAt At(3, 0, 0);
  auto* Clock = TComponent::Create<TqcAnalogClock>(nullptr);
  Clock->SetHeight(150);
  EXPECT_EQ(Clock->Width(), 100);
  EXPECT_EQ(Clock->Height(), 100);
  Clock->SetWidth(80);
  EXPECT_EQ(Clock->Height(), 80);
  Clock->SetBounds(5, 6, 120, 40);
  EXPECT_EQ(Clock->BoundsRect(), Rect(5, 6, 125, 126));
  TObject::Free(Clock);
}

}  // namespace
