// The flash cycle of a hot tab, stepped tick by tick (the module timer keeps firing, the walk
// runs when the test steps it): phases and countdowns, what waits, what stays frozen, and the
// repaint each step asks for.
#include "package/tests/pkgtest.h"

namespace {

using namespace pkgtest;

struct TRow {
  int Tick, Phase, Countdown;
};

// Hovers tab 1 and steps through the rows, checking the state at each listed tick.
void CheckCycle(TPageForm& F, std::initializer_list<TRow> Rows) {
  F.Hover(1);
  ASSERT_EQ(F.Pages->HotIndex(), 1);
  ASSERT_TRUE(F.Pages->TabPainted());
  int Tick = 0;
  for (const TRow& R : Rows) {
    for (; Tick < R.Tick; ++Tick) F.Step();
    EXPECT_EQ(F.Pages->FlashPhase(), R.Phase) << "tick " << R.Tick;
    EXPECT_EQ(F.Pages->FlashCountdown(), R.Countdown) << "tick " << R.Tick;
  }
}

class Flash : public testing::Test {
protected:
  void SetUp() override {
    F.Pages->SetHotTrack(true);
    F.Show();
  }
  TPageForm F{3};
};

TEST_F(Flash, CycleWithTheDefaultDelays) {
  CheckCycle(F, {{0, 0, 12}, {1, 0, 11}, {12, 0, 0}, {13, 1, 6}, {19, 1, 0}, {20, 2, 6}, {26, 2, 0}, {27, 3, 6},
                 {33, 3, 0}, {34, 0, 200}, {234, 0, 0}, {235, 1, 6}});
}

TEST_F(Flash, ADelayBelowTenIsTen) {
  F.Pages->SetFlashingDelay(3);
  EXPECT_EQ(F.Pages->FlashingDelay(), 10);
  CheckCycle(F, {{12, 0, 0}, {13, 1, 10}, {23, 1, 0}, {24, 2, 6}, {30, 2, 0}, {31, 3, 10}, {41, 3, 0}, {42, 0, 200}});
}

TEST_F(Flash, AnUnpaintedHotTabWaits) {
  F.Hover(0);
  // Tab 1 becomes hot while the real cursor stays over the control, and is not painted yet.
  const TPoint C = F.TabCentre(1);
  vcltest::SendMouse(F.Wnd(), WM_MOUSEMOVE, C.X, C.Y);
  ASSERT_EQ(F.Pages->HotIndex(), 1);
  ASSERT_FALSE(F.Pages->TabPainted());
  for (int I = 0; I < 40; ++I) TBMPageModule::StepWalk();
  EXPECT_EQ(F.Pages->FlashPhase(), 0);
  EXPECT_EQ(F.Pages->FlashCountdown(), 0);
  UpdateWindow(F.Wnd());
  EXPECT_TRUE(F.Pages->TabPainted());
  TBMPageModule::StepWalk();
  EXPECT_EQ(F.Pages->FlashPhase(), 1);
}

TEST_F(Flash, FlashingOffIsFrozenWhileAnotherControlFlashes) {
  auto* Other = TComponent::Create<TBMPageControl>(F.Form.get());
  Other->SetBounds(20, 20 + F.Pages->Height() + 4, 200, 40);
  Other->SetParent(F.Form.get());
  Other->SetHotTrack(true);
  auto* S = TComponent::Create<TBMTabSheet>(F.Form.get());
  S->SetCaption("Other");
  S->SetPageControl(Other);
  vcltest::PumpMessages();
  F.Hover(0);
  F.Pages->SetFlashing(false);
  const TRect T = Other->TabRect(0);
  vcltest::MoveMouse(Other->Handle(), (T.Left + T.Right) / 2, (T.Top + T.Bottom) / 2);
  vcltest::PumpRounds(2);
  ASSERT_EQ(Other->HotIndex(), 0);
  ASSERT_EQ(F.Pages->HotIndex(), -1);
  F.Step(30);
  EXPECT_EQ(F.Pages->FlashPhase(), 0);
  EXPECT_EQ(F.Pages->FlashCountdown(), 12);
  EXPECT_EQ(Other->FlashPhase(), 3);
  F.Pages->SetFlashing(true);
  F.Step();
  EXPECT_EQ(F.Pages->FlashCountdown(), 11);
}

// The step that moves the phase asks for the hot tab shrunk by 2 (its top too unless it is the
// tab with the focus), without erasing; a step that only counts asks for nothing.
TEST_F(Flash, EachStepRepaintsTheHotTabShrunk) {
  const int Focus = int(SendMessageA(F.Wnd(), TCM_GETCURFOCUS, 0, 0));
  ASSERT_EQ(Focus, 0);
  for (int Tab : {1, 0}) {
    F.Hover(Tab);
    F.Step(12);
    MSG M;
    EXPECT_FALSE(PeekMessageA(&M, F.Wnd(), BM_FLASHSTEP, BM_FLASHSTEP, PM_NOREMOVE));
    TBMPageModule::StepWalk();
    ValidateRect(F.Wnd(), nullptr);
    ASSERT_TRUE(PeekMessageA(&M, F.Wnd(), BM_FLASHSTEP, BM_FLASHSTEP, PM_REMOVE)) << "tab " << Tab;
    DispatchMessageA(&M);
    RECT Want{};
    SendMessageA(F.Wnd(), TCM_GETITEMRECT, WPARAM(Tab), LPARAM(&Want));
    Want.left += 2;
    Want.right -= 2;
    Want.bottom -= 2;
    if (Tab != Focus) Want.top += 2;
    RECT Got{};
    GetUpdateRect(F.Wnd(), &Got, FALSE);
    EXPECT_EQ(TRect(Got), TRect(Want)) << "tab " << Tab;
    vcltest::PumpMessages();
  }
}

// The flash step is the application's own message: below the range RegisterWindowMessage hands
// out, and clear of the class library's messages.
TEST(FlashMessage, LiesInTheApplicationRange) {
  EXPECT_GE(BM_FLASHSTEP, unsigned(WM_APP));
  EXPECT_LT(BM_FLASHSTEP, 0xC000u);
  EXPECT_FALSE(BM_FLASHSTEP >= CM_BASE && BM_FLASHSTEP < CM_BASE + 0x1000) << std::hex << BM_FLASHSTEP;
  EXPECT_EQ(BM_CHANGEVIEW, 0xE000u);
}

}  // namespace
