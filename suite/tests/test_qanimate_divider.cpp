// The divider and the frame: their sizes, line and bevel colours, and mouse clicks through a
// frame.
#include "rtl/tests/default_check.h"
#include "suite/qAnimate.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

using namespace suitetest;

namespace {

// Presses of the left button on a control.
struct TClicks : TObject {
  int Count = 0;
  void Press(TObject*, TMouseButton, TShiftState, int, int) { ++Count; }
};

TEST(Divider, PublishedDefaultsMatchFreshControls) {
  ExpectClassDefaultsMatch(TqDivider::StaticClass());
  ExpectClassDefaultsMatch(TqFrame::StaticClass());
}

TEST(Divider, SizesBelowTwoBecomeTwo) {
  vcltest::TTestHost Host(100, 80);
  auto* D = Host.Add<TqDivider>(0, 0, 40, 40);
  for (int Size : {1, 0, -5}) {
    D->SetHeight(Size);
    D->SetWidth(Size);
    EXPECT_EQ(D->Height(), 2) << Size;
    EXPECT_EQ(D->Width(), 2) << Size;
  }
  D->SetBounds(0, 0, 3, 30);
  EXPECT_EQ(D->Width(), 3);
}

TEST(Divider, TwoLinesInShadowAndHighlight) {
  const TColor Shadow = Sys(COLOR_BTNSHADOW), Light = Sys(COLOR_BTNHIGHLIGHT);
  struct TCase {
    doType Orientation;
    bool Raised;
    TColor First, Second;
  } Cases[] = {{doHorz, false, Shadow, Light}, {doHorz, true, Light, Shadow},
               {doVert, false, Shadow, Light}, {doVert, true, Light, Shadow}};
  vcltest::TTestHost Host(100, 80);
  auto* D = Host.Add<TqDivider>(0, 0, 30, 20);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Orientation << " raised " << C.Raised);
    D->SetOrientation(C.Orientation);
    D->SetRaised(C.Raised);
    const TPicture24 P = Render(D, clRed);
    for (int I = 0; I < (C.Orientation == doHorz ? 30 : 20); ++I) {
      const bool H = C.Orientation == doHorz;
      EXPECT_EQ(Hex(H ? P.At(I, 0) : P.At(0, I)), Hex(C.First)) << I;
      EXPECT_EQ(Hex(H ? P.At(I, 1) : P.At(1, I)), Hex(C.Second)) << I;
      EXPECT_EQ(Hex(H ? P.At(I, 2) : P.At(2, I)), Hex(clRed)) << "the rest is not painted";
    }
  }
}

TEST(Frame, BevelsBorderAndFill) {
  const TColor Shadow = Sys(COLOR_BTNSHADOW), Light = Sys(COLOR_BTNHIGHLIGHT);
  const TColor Beneath = clRed, Own = clYellow;
  struct TCase {
    const char* Name;
    TBevelCut Outer, Inner;
    int BevelWidth, BorderWidth;
    bool Filled;
    // Expected at the top-left and bottom-right along the diagonal, from the edge inwards.
    std::vector<TColor> TopLeft, BottomRight;
  } Cases[] = {
      {"default", bvRaised, bvNone, 1, 0, false, {Light, Beneath}, {Shadow, Beneath}},
      {"lowered", bvLowered, bvNone, 1, 0, false, {Shadow, Beneath}, {Light, Beneath}},
      {"wide bevel", bvRaised, bvNone, 2, 0, false, {Light, Light, Beneath}, {Shadow, Shadow, Beneath}},
      {"border and inner", bvRaised, bvLowered, 1, 2, false, {Light, Own, Own, Shadow, Beneath},
       {Shadow, Own, Own, Light, Beneath}},
      {"no outer", bvNone, bvRaised, 1, 1, true, {Own, Light, Own}, {Own, Shadow, Own}},
      {"filled", bvRaised, bvNone, 1, 0, true, {Light, Own, Own}, {Shadow, Own, Own}},
  };
  vcltest::TTestHost Host(100, 80);
  auto* F = Host.Add<TqFrame>(0, 0, 20, 20);
  F->SetColor(Own);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    F->SetBevelOuter(C.Outer);
    F->SetBevelInner(C.Inner);
    F->SetBevelWidth(C.BevelWidth);
    F->SetBorderWidth(C.BorderWidth);
    F->SetFilled(C.Filled);
    const TPicture24 P = Render(F, Beneath);
    for (size_t I = 0; I < C.TopLeft.size(); ++I) {
      const int D = int(I);
      EXPECT_EQ(Hex(P.At(D, 10)), Hex(C.TopLeft[I])) << "left side, " << D;
      EXPECT_EQ(Hex(P.At(10, D)), Hex(C.TopLeft[I])) << "top side, " << D;
      EXPECT_EQ(Hex(P.At(19 - D, 10)), Hex(C.BottomRight[I])) << "right side, " << D;
      EXPECT_EQ(Hex(P.At(10, 19 - D)), Hex(C.BottomRight[I])) << "bottom side, " << D;
    }
  }
}

// A default frame over another control lets a real click through to it; an enabled one takes
// the click itself.
TEST(Frame, DefaultFramePassesARealClickThrough) {
  TFormScene S(200, 120);
  TClicks Lower, Upper;
  auto* Beneath = S.Add<TqFrame>(20, 20, 100, 60);
  Beneath->SetPassMouseOn(false);
  Beneath->OnMouseDown = EVENT(&Lower, TClicks::Press);
  auto* Over = S.Add<TqFrame>(40, 30, 60, 40);
  Over->OnMouseDown = EVENT(&Upper, TClicks::Press);
  EXPECT_TRUE(Over->PassMouseOn());
  EXPECT_FALSE(Over->Enabled());
  S.Show();
  auto ClickAt = [&](int X, int Y) {
    vcltest::MoveMouse(S.Form->Handle(), X, Y);
    MouseButton(true);
    MouseButton(false);
  };
  ClickAt(70, 50);
  EXPECT_EQ(Lower.Count, 1);
  EXPECT_EQ(Upper.Count, 0);
  Over->SetPassMouseOn(false);
  EXPECT_TRUE(Over->Enabled());
  ClickAt(70, 50);
  EXPECT_EQ(Lower.Count, 1);
  EXPECT_EQ(Upper.Count, 1);
}

}  // namespace
