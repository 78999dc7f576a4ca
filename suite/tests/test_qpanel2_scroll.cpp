// The credit scroll: text rising from the bottom edge by Step per tick, wrapping once the block
// has passed the top, its alignment, a disabled panel, lines changed while it runs, and its
// real timer.
#include "suite/tests/qpanel2test.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace suitetest;
using namespace qpanel2test;

namespace {

constexpr TColor Ink = clFuchsia;

// The height of "0" in Font, as the panel measures a line.
int LineHeight(TFont* Font) {
  TBitmap B;
  B.SetSize(1, 1);
  B.Canvas()->SetFont(Font);
  return B.Canvas()->TextHeight("0");
}

// The rows of Text's ink below the top of its line, drawn in Font.
TInk InkOfText(TFont* Font, const char* Text) {
  auto B = vcltest::MakeBitmap(200, 40, clBlack);
  B->Canvas()->SetFont(Font);
  B->Canvas()->Font()->SetColor(Ink);
  B->Canvas()->Brush()->SetStyle(bsClear);
  B->Canvas()->TextOut(0, 0, Text);
  return InkOf(PictureOf(*B), Ink);
}

struct TScroll : ::testing::Test {
  vcltest::TTestHost Host;
  TqcCreditScroll* Scroll = nullptr;
  void SetUp() override { Make(90, 30); }
  void Make(int W, int H) {
    TObject::Free(Scroll);
    Scroll = Host.Add<TqcCreditScroll>(10, 10, W, H);
    HoldTimer(Scroll->Timer());
  }
  void Step(int Times = 1) { Tick(Scroll->Timer(), Times); }
};

TEST_F(TScroll, TextRisesByStepFromTheBottomEdge) {
  const TInk Text = InkOfText(Scroll->Font(), "PellhamCollection");
  ASSERT_GT(Text.Count, 0);
  const int InkTop = Text.Top;
  EXPECT_EQ(InkOf(Render(Scroll), Ink).Count, 0) << "the text starts below the bottom edge";
  int Offset = 0;
  for (int StepSize : {1, 3}) {
    Scroll->SetStep(StepSize);
    for (int I = 0; I < 6; ++I) {
      Step();
      Offset += StepSize;
      ASSERT_EQ(Scroll->Offset(), Offset);
      const int Expected = 30 - Offset + InkTop;
      const TInk Got = InkOf(Render(Scroll), Ink);
      if (Expected >= 30) {
        EXPECT_EQ(Got.Count, 0) << "offset " << Offset;
      } else {
        EXPECT_EQ(Got.Top, Expected) << "offset " << Offset;
      }
    }
  }
}

TEST_F(TScroll, WrapsOnceTheBlockHasPassedTheTop) {
  const int H = LineHeight(Scroll->Font());
  const int LastInk = 30 + 2 * H + InkOfText(Scroll->Font(), "PellhamSoft").Bottom;
  Step(LastInk);
  EXPECT_EQ(InkOf(Render(Scroll), Ink).Bottom, 0) << "the last line's lowest ink on the top row";
  Step();
  EXPECT_EQ(InkOf(Render(Scroll), Ink).Count, 0);
  const int Last = 3 * H + 30;  // 69 for three 13-pixel lines on 30 pixels
  Step(Last - Scroll->Offset());
  Render(Scroll);
  EXPECT_EQ(Scroll->Offset(), Last) << "the block has only just gone";
  Step();
  EXPECT_EQ(Scroll->Offset(), Last + 1);
  Render(Scroll);
  EXPECT_EQ(Scroll->Offset(), 0) << "past it, the text starts again from the bottom";
  Step();
  EXPECT_EQ(Scroll->Offset(), 1);
}

TEST_F(TScroll, AnOffsetThatWouldOverflowSaturatesAndWraps) {
  Scroll->SetStep(INT_MAX - 10);
  Step(3);
  EXPECT_EQ(Scroll->Offset(), INT_MAX);
  EXPECT_EQ(InkOf(Render(Scroll), Ink).Count, 0);
  EXPECT_EQ(Scroll->Offset(), 0);
  Scroll->SetStep(5);
  Step();
  EXPECT_EQ(Scroll->Offset(), 5);
  Scroll->Reset();
  EXPECT_EQ(Scroll->Offset(), 0);
}

TEST_F(TScroll, StepBelowOneIsIgnored) {
  Scroll->SetStep(3);
  Scroll->SetStep(0);
  Scroll->SetStep(-1);
  EXPECT_EQ(Scroll->Step(), 3);
  Step();
  EXPECT_EQ(Scroll->Offset(), 3);
}

// A negative interval is stored as 0: no ticks.
TEST_F(TScroll, ANegativeIntervalIsZero) {
  for (int Value : {-1, -50, INT_MIN}) {
    SCOPED_TRACE(Value);
    Scroll->SetInterval(Value);
    EXPECT_EQ(Scroll->Interval(), 0);
    EXPECT_EQ(Scroll->Timer()->Interval(), 0u);
  }
  Scroll->SetInterval(7);
  EXPECT_EQ(Scroll->Interval(), 7);
}

TEST_F(TScroll, LinesAlignLeftCentreOrRight) {
  Make(200, 60);
  const int H = LineHeight(Scroll->Font());
  ASSERT_LT(3 * H, 55);
  Scroll->SetStep(55);  // the first line's top at row 5: all three show
  Step();
  const struct {
    TAlignment Alignment;
    const char* Name;
  } Cases[] = {{taLeftJustify, "left"}, {taCenter, "centre"}, {taRightJustify, "right"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Scroll->SetAlignment(C.Alignment);
    const TPicture24 P = Render(Scroll);
    std::vector<TInk> Lines;
    for (int L = 0; L < 3; ++L) Lines.push_back(InkOf(P, Ink, 5 + L * H, 5 + (L + 1) * H));
    for (const TInk& I : Lines) ASSERT_GT(I.Count, 0);
    // The lines differ in width ("PellhamCollection", "By", "PellhamSoft").
    ASSERT_GT(Lines[0].Width(), Lines[2].Width());
    ASSERT_GT(Lines[2].Width(), Lines[1].Width());
    for (const TInk& I : Lines) {
      switch (C.Alignment) {
        case taLeftJustify: EXPECT_LE(I.Left, 2); break;
        case taRightJustify: EXPECT_GE(I.Right, 196); break;
        case taCenter: EXPECT_LE(std::abs(I.Left + I.Right - 199), 3) << I.Left << ".." << I.Right; break;
      }
    }
  }
}

TEST_F(TScroll, ADisabledPanelStandsStill) {
  Step(20);
  const TPicture24 Before = Render(Scroll);
  Scroll->SetEnabled(false);
  Step(5);
  EXPECT_EQ(Scroll->Offset(), 20);
  EXPECT_EQ(Render(Scroll).Px, Before.Px);
  Scroll->SetEnabled(true);
  Step();
  EXPECT_EQ(Scroll->Offset(), 21);
}

TEST_F(TScroll, NewLinesShowAtOnceAndKeepTheOffset) {
  vcltest::PumpRounds(2);
  Scroll->SetStep(5);
  Step(5);
  vcltest::PumpMessages();
  const auto Old = vcltest::CaptureClient(Scroll->Handle());
  EXPECT_FALSE(GetUpdateRect(Scroll->Handle(), nullptr, FALSE));
  Scroll->Lines()->Put(0, "W");
  EXPECT_TRUE(GetUpdateRect(Scroll->Handle(), nullptr, FALSE)) << "the change asks for a repaint";
  const auto New = vcltest::CaptureClient(Scroll->Handle());
  EXPECT_EQ(Scroll->Offset(), 25);
  int Differ = 0;
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 90; ++X) Differ += Old->Canvas()->Pixels(X, Y) != New->Canvas()->Pixels(X, Y);
  EXPECT_GT(Differ, 0);
}

// Counts the ticks of the real timer and the threads they ran on, then hands each to the panel.
struct TTickWatch : TObject {
  TNotifyEvent PanelTick;
  int Ticks = 0;
  int OffGuiThread = 0;
  void Tick(TObject* Sender) {
    ++Ticks;
    if (GetCurrentThreadId() != MainThreadID) ++OffGuiThread;
    PanelTick(Sender);
  }
};

TEST_F(TScroll, TheRealTimerMovesTheTextOnTheGuiThread) {
  vcltest::PumpRounds(2);
  TTickWatch Watch;
  TqcTimer* T = Scroll->Timer();
  Watch.PanelTick = T->OnTimer();
  T->SetOnTimer(EVENT(&Watch, TTickWatch::Tick));
  Scroll->SetInterval(5);
  EXPECT_EQ(T->Interval(), 5u);
  Scroll->SetPriority(tpHigher);
  EXPECT_EQ(T->Priority(), tpHigher);
  const int InkTop = InkOfText(Scroll->Font(), "PellhamCollection").Top;
  T->SetEnabled(true);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return Scroll->Offset() >= 8; }));
  T->SetEnabled(false);
  vcltest::PumpMessages();
  const int Offset = Scroll->Offset();
  const auto Shot = vcltest::CaptureClient(Scroll->Handle());
  const int Top = InkOf(PictureOf(*Shot), Ink).Top;
  EXPECT_EQ(Top, 30 - Offset + InkTop);
  EXPECT_EQ(Watch.Ticks, Offset);
  EXPECT_EQ(Watch.OffGuiThread, 0);
}

}  // namespace
