// The spectrum display: bar and separator columns, bar tops, caps and LED rows, levels clamped
// or stored as given, Min and Max kept apart, indexes and bar counts out of range, the
// designer's staircase and the smallest size.
#include "suite/tests/qpanel2test.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>

using namespace suitetest;

namespace {

constexpr TColor Bar = clLime, Off = clGreen, Top = clYellow, Face = clBlack;

struct TSpectrum : ::testing::Test {
  vcltest::TTestHost Host;
  TqcSpectrum* Spectrum = nullptr;
  void SetUp() override { Spectrum = Host.Add<TqcSpectrum>(10, 10, 100, 100); }
};

TEST_F(TSpectrum, BarsSeparatorsAndCaps) {
  Spectrum->SetLed(false);
  Spectrum->SetChannel(1, 50);
  Spectrum->SetChannel(2, 100);
  Spectrum->SetChannel(3, 30);
  // 20 bars of 5 pixels: 4 of bar and a separator column with UseSep.
  TPicture24 P = Render(Spectrum);
  for (int X = 0; X < 4; ++X) {
    EXPECT_EQ(P.At(X, 60), Bar) << X;
    EXPECT_EQ(P.At(X, 49), Face) << "above the bar, " << X;
  }
  for (int Y : {0, 30, 60, 99}) EXPECT_EQ(P.At(4, Y), Face) << "separator, row " << Y;
  for (const auto& [X, Y, Colour] : std::initializer_list<std::tuple<int, int, TColor>>{
           {1, 50, Top}, {1, 51, Top}, {1, 52, Bar},     // level 50: its top at row 50, a cap of 2
           {6, 0, Top}, {6, 1, Top}, {6, 2, Bar},        // level 100: full height
           {11, 69, Face}, {11, 70, Top}, {11, 72, Bar},  // level 30
           {16, 99, Face}, {16, 98, Face},               // level 0: no bar
       })
    EXPECT_EQ(Hex(P.At(X, Y)), Hex(Colour)) << X << ", " << Y;
  Spectrum->SetTop(5);
  P = Render(Spectrum);
  EXPECT_EQ(P.At(1, 54), Top);
  EXPECT_EQ(P.At(1, 55), Bar);
  // Without UseSep the bars are 5 pixels wide.
  Spectrum->SetSplit(false);
  P = Render(Spectrum);
  for (int X = 0; X < 5; ++X) EXPECT_EQ(P.At(X, 80), Bar) << X;
  EXPECT_EQ(P.At(5, 80), Bar) << "the next bar";
}

TEST_F(TSpectrum, LedRowsOnOddLines) {
  Spectrum->SetChannel(1, 50);
  const TPicture24 P = Render(Spectrum);
  for (int Y = 0; Y < 100; ++Y) {
    const TColor Even = Y >= 50 ? (Y < 52 ? Top : Bar) : Off;
    EXPECT_EQ(Hex(P.At(2, Y)), Hex(Y % 2 ? Face : Even)) << "bar column, row " << Y;
    EXPECT_EQ(Hex(P.At(50, Y)), Hex(Y % 2 ? Face : Off)) << "empty column, row " << Y;
  }
}

TEST_F(TSpectrum, SetChannelClampsSetAllChannelDoesNot) {
  Spectrum->SetLed(false);
  Spectrum->SetChannel(1, 500);
  Spectrum->SetChannel(2, -5);
  EXPECT_EQ(Spectrum->GetChannel(1), 100);
  EXPECT_EQ(Spectrum->GetChannel(2), 0);
  TqcSpectrumLevels Levels{};
  Levels[0] = 500;
  Levels[1] = -20;
  Levels[2] = INT_MAX;
  Levels[3] = INT_MIN;
  Levels[99] = 77;
  Spectrum->SetAllChannel(Levels);
  EXPECT_EQ(Spectrum->GetChannel(1), 500);
  EXPECT_EQ(Spectrum->GetChannel(2), -20);
  EXPECT_EQ(Spectrum->GetChannel(3), INT_MAX);
  EXPECT_EQ(Spectrum->GetChannel(4), INT_MIN);
  EXPECT_EQ(Spectrum->GetChannel(100), 77);
  EXPECT_EQ(Spectrum->GetPercent(INT_MAX), 2147483647LL);
  // Drawn clamped: full bars for the levels above Max, none for those below Min.
  const TPicture24 P = Render(Spectrum);
  EXPECT_EQ(P.At(1, 0), Top);
  EXPECT_EQ(P.At(1, 5), Bar);
  EXPECT_EQ(P.At(11, 0), Top);
  EXPECT_EQ(P.At(6, 99), Face);
  EXPECT_EQ(P.At(16, 99), Face);
}

TEST_F(TSpectrum, MinAndMaxReclampEachChannel) {
  for (int I = 1; I <= 3; ++I) Spectrum->SetChannel(I, I * 40 - 30);  // 10, 50, 90
  Spectrum->SetMin(40);
  EXPECT_EQ(Spectrum->GetChannel(1), 40);
  EXPECT_EQ(Spectrum->GetChannel(2), 50);
  EXPECT_EQ(Spectrum->GetChannel(3), 90);
  Spectrum->SetMax(60);
  EXPECT_EQ(Spectrum->GetChannel(1), 40);
  EXPECT_EQ(Spectrum->GetChannel(2), 50);
  EXPECT_EQ(Spectrum->GetChannel(3), 60);
  EXPECT_EQ(Spectrum->GetChannel(4), 40) << "the untouched channels too";
  EXPECT_EQ(Spectrum->GetPercent(50), 50);
}

TEST_F(TSpectrum, MinStaysBelowMax) {
  const struct {
    bool SetsMin;
    int Value, Min, Max;
  } Cases[] = {
      {true, 100, 99, 100},   // equal to Max
      {true, 150, 99, 100},   // above Max
      {false, 99, 99, 100},   // equal to Min (99 now)
      {false, 20, 99, 100},   // below Min
      {true, INT_MIN, INT_MIN, 100},
      {false, INT_MAX, INT_MIN, INT_MAX},
      {true, INT_MAX, INT_MAX - 1, INT_MAX},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.SetsMin ? "Min " : "Max ") + std::to_string(C.Value));
    if (C.SetsMin) {
      Spectrum->SetMin(C.Value);
    } else {
      Spectrum->SetMax(C.Value);
    }
    EXPECT_EQ(Spectrum->Min(), C.Min);
    EXPECT_EQ(Spectrum->Max(), C.Max);
    EXPECT_EQ(Spectrum->GetPercent(C.Max), 100);
    Render(Spectrum);
  }
  Spectrum->SetMin(INT_MIN);
  EXPECT_EQ(Spectrum->GetPercent(0), 50) << "the full range, in 64 bits";
  EXPECT_EQ(Spectrum->GetPercent(INT_MIN), 0);
}

// Stored pairs at the 32-bit ends, read from a form: Min below Max, every level inside. Where
// Max is the lowest value, the pair becomes the lowest range; where Min is the highest, the
// highest range.
TEST(Spectrum, StoredMinAndMaxAtTheEnds) {
  const struct {
    const char* Stored;
    int Min, Max;
  } Cases[] = {
      {"Max = -2147483648", INT_MIN, INT_MIN + 1},
      {"Min = -2147483648\n Max = -2147483648", INT_MIN, INT_MIN + 1},
      {"Min = 2147483647", 99, 100},
      {"Min = 2147483647\n Max = 2147483647", INT_MAX - 1, INT_MAX},
      {"Min = -2147483648\n Max = 2147483647", INT_MIN, INT_MAX},
      {"Max = 2147483647\n Min = 2147483647", INT_MAX - 1, INT_MAX},
      {"Min = 5\n Max = -2147483648", INT_MIN, INT_MIN + 1},
      {"Min = 2147483647\n Max = -2147483648", INT_MIN, INT_MIN + 1},
      {"Min = -5\n Max = -3", -5, -3},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Stored);
    const std::string Text = std::string("object F: TForm\n object S: TqcSpectrum\n ") + C.Stored + "\n end\nend\n";
    TFormPtr Form(LoadForm(Text.c_str()));
    auto* S = static_cast<TqcSpectrum*>(Form->FindComponent("S"));
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(S->Min(), C.Min);
    EXPECT_EQ(S->Max(), C.Max);
    for (int I = 1; I <= 100; ++I) {
      EXPECT_GE(S->GetChannel(I), S->Min()) << I;
      EXPECT_LE(S->GetChannel(I), S->Max()) << I;
    }
  }
}

struct TPaintCount : TObject {
  int N = 0;
  void Paint(TObject*) { ++N; }
};

TEST_F(TSpectrum, ASystemColourChangeRepaints) {
  TPaintCount Paints;
  Spectrum->OnPaint = EVENT(&Paints, TPaintCount::Paint);
  vcltest::PumpMessages();
  const int Before = Paints.N;
  Spectrum->Perform(CM_SYSCOLORCHANGE, 0, 0);
  vcltest::PumpMessages();
  EXPECT_GT(Paints.N, Before);
}

TEST_F(TSpectrum, IndexesOutsideTheChannelsAddressNothing) {
  Spectrum->SetChannel(100, 30);
  for (int I : {0, -1, 101, INT_MAX, INT_MIN}) {
    Spectrum->SetChannel(I, 50);
    EXPECT_EQ(Spectrum->GetChannel(I), 0) << I;
  }
  EXPECT_EQ(Spectrum->GetChannel(1), 0);
  EXPECT_EQ(Spectrum->GetChannel(100), 30);
}

TEST_F(TSpectrum, BarCountStaysWithinOneToAHundred) {
  Spectrum->SetLed(false);
  Spectrum->SetSplit(false);
  for (int I = 1; I <= 100; ++I) Spectrum->SetChannel(I, 100);
  const struct {
    int Asked, Got;
  } Cases[] = {{0, 1}, {-4, 1}, {150, 100}, {100, 100}, {1, 1}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Asked);
    Spectrum->SetNum(C.Asked);
    EXPECT_EQ(Spectrum->NumberOfChannels(), C.Got);
    const TPicture24 P = Render(Spectrum);
    EXPECT_EQ(P.At(0, 50), Bar);
    EXPECT_EQ(P.At(99, 50), Bar);
  }
}

TEST_F(TSpectrum, DesignerSeesAFallingStaircase) {
  Spectrum->SetLed(false);
  Spectrum->SetDesigning(true);
  const TPicture24 P = Render(Spectrum);
  for (int I = 0; I < 20; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(P.At(5 * I + 1, I), Top) << "the cap of bar " << I << " at " << 100 - I << "%";
    if (I > 0) {
      EXPECT_EQ(P.At(5 * I + 1, I - 1), Face);
    }
    EXPECT_EQ(P.At(5 * I + 1, I + 2), Bar);
  }
  Spectrum->SetDesigning(false);
  EXPECT_EQ(Render(Spectrum).At(1, 50), Face);
}

TEST(Spectrum, AtLeast20By35) {
  auto* S = TComponent::Create<TqcSpectrum>(nullptr);
  S->SetBounds(0, 0, 10, 10);
  EXPECT_EQ(S->Width(), 20);
  EXPECT_EQ(S->Height(), 35);
  TObject::Free(S);
}

}  // namespace
