// The spin buttons: layout and arrow pixels, clicks per part, and the repeat under a real held
// press and the real timer, counted by the WM_TIMER messages the test dispatches to it.
#include "suite/qBtn2.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace suitetest;

namespace {

struct TSteps : TObject {
  int Clicks = 0, Up = 0, Down = 0, Center = 0;
  void Click(TObject*) { ++Clicks; }
  void UpClick(TObject*) { ++Up; }
  void DownClick(TObject*) { ++Down; }
  void CenterClick(TObject*) { ++Center; }
};

template <class T> T* AddSpin(vcltest::TTestHost& Host, TSteps& Log, int W = 16, int H = 21) {
  T* B = Host.Add<T>(20, 20, W, H);
  B->SetColor(clWhite);
  B->SetGlyphColor(clRed);
  B->OnClick = EVENT(&Log, TSteps::Click);
  B->OnUpClick = EVENT(&Log, TSteps::UpClick);
  B->OnDownClick = EVENT(&Log, TSteps::DownClick);
  return B;
}

TEST(SpinBtn, PublishedDefaultsMatchFreshButtons) {
  ExpectClassDefaultsMatch(TqcSpinBtn::StaticClass());
  ExpectClassDefaultsMatch(TqcCenterSpinBtn::StaticClass());
}

TEST(SpinBtn, DefaultArrowsAreThreeRowsAboveAndBelowTheMiddle) {
  vcltest::TTestHost Host(100, 80);
  TSteps Log;
  auto* B = AddSpin<TqcSpinBtn>(Host, Log);
  EXPECT_EQ(B->ArrowSize(), 3);
  auto Row = [&](int Y) {
    std::string S;
    for (int X = 0; X < 16; ++X) S += vcltest::PixelAt(Host.Window(), 20 + X, 20 + Y) == clRed ? '#' : '.';
    return S;
  };
  // Up: rows 2 to 5, 1, 3, 5 and 7 pixels centred on column 8.
  EXPECT_EQ(Row(1), "................");
  EXPECT_EQ(Row(2), "........#.......");
  EXPECT_EQ(Row(3), ".......###......");
  EXPECT_EQ(Row(4), "......#####.....");
  EXPECT_EQ(Row(5), ".....#######....");
  EXPECT_EQ(Row(6), "................");
  // Down: the apex on row 17, up to row 14.
  EXPECT_EQ(Row(13), "................");
  EXPECT_EQ(Row(14), ".....#######....");
  EXPECT_EQ(Row(16), ".......###......");
  EXPECT_EQ(Row(17), "........#.......");
  EXPECT_EQ(Row(18), "................");
  // Disabled: the arrows in the disable colour.
  B->SetGlyphDisableColor(clBlue);
  B->SetEnabled(false);
  EXPECT_EQ(vcltest::PixelAt(Host.Window(), 28, 22), clBlue);
}

TEST(SpinBtn, SizesAndArrowSizes) {
  TqcSpinBtn* B = TComponent::Create<TqcSpinBtn>(nullptr);
  B->SetBounds(0, 0, 3, 3);
  EXPECT_EQ(B->Width(), 7);
  EXPECT_EQ(B->Height(), 8);
  struct TCase {
    int W, H, Size, Top;
  };
  const TCase Cases[] = {
      {16, 21, 3, 3}, {16, 13, 0, 3}, {16, 14, 1, 3}, {20, 30, 4, 5},
      {7, 21, 0, 5},  {8, 21, 0, 5},  {9, 21, 0, 5},  {11, 21, 1, 4},
  };
  for (const TCase& C : Cases) {
    B->SetBounds(0, 0, C.W, C.H);
    EXPECT_EQ(B->ArrowSize(), C.Size) << C.W << " x " << C.H;
    EXPECT_EQ(B->ArrowTop(), C.Top) << C.W << " x " << C.H;
  }
  TObject::Free(B);
  // The centre twin works its arrows out from the outer parts, Height / 3 (one more above 12).
  TqcCenterSpinBtn* C = TComponent::Create<TqcCenterSpinBtn>(nullptr);
  C->SetBounds(0, 0, 20, 40);
  EXPECT_EQ(C->ArrowSize(), 4);
  EXPECT_EQ(C->ArrowTop(), 5);
  C->SetBounds(0, 0, 20, 12);
  EXPECT_EQ(C->ArrowSize(), 0);
  TObject::Free(C);
}

// Dispatches messages, counting the WM_TIMER ones of the button's timer, until Done() holds after
// a message (or the rounds run out).
struct TTickPump {
  TqcCustomSpinBtn* Button;
  int Ticks = 0;
  bool Until(const std::function<bool()>& Done, int MaxRounds = 1000) {
    const HWND Timer = Button->RepeatTimer()->WindowHandle();
    for (int Round = 0; Round < MaxRounds; ++Round) {
      MSG M;
      while (PeekMessageA(&M, nullptr, 0, 0, PM_REMOVE)) {
        if (M.hwnd == Timer && M.message == WM_TIMER) ++Ticks;
        TranslateMessage(&M);
        DispatchMessageA(&M);
        if (Done()) return true;
      }
      if (Done()) return true;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return Done();
  }
  // Puts the real mouse on a client point of Wnd, counting the ticks while the cursor settles (a
  // late move of an earlier position may come first), then until Done().
  bool MoveTo(HWND Wnd, int X, int Y, const std::function<bool()>& Done) {
    POINT P{X, Y};
    ClientToScreen(Wnd, &P);
    vcltest::SendMouseMove(Wnd, X, Y);
    int Still = 0;
    Until([&] {
      POINT Now;
      GetCursorPos(&Now);
      if (Now.x == P.x && Now.y == P.y) return ++Still >= 5;
      vcltest::SendMouseMove(Wnd, X, Y);
      Still = 0;
      return false;
    });
    return Until(Done);
  }
};

struct TRepeatScene {
  vcltest::TTestHost Host{120, 100};
  TMouseButtonGuard Mouse;
  TSteps Log;
  TqcSpinBtn* B = AddSpin<TqcSpinBtn>(Host, Log);
  TTickPump Pump{B};
  TRepeatScene() {
    B->SetSpinSpeed(20);
    Host.Frame().Activate();
    vcltest::MoveMouse(Host.Window(), 100, 90);
  }
  bool Press(int Y) {
    vcltest::MoveMouse(Host.Window(), 28, 20 + Y);
    SendMouseButton(true);
    return Pump.Until([&] { return B->Pressing(); });
  }
  bool Release() {
    SendMouseButton(false);
    return Pump.Until([&] { return !B->Pressing() && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); });
  }
};

TEST(SpinBtn, HeldPressRepeatsAfterTheWait) {
  TRepeatScene S;
  ASSERT_TRUE(S.Press(15));
  EXPECT_EQ(S.B->PressedPart(), TqcCustomSpinBtn::spDown);
  EXPECT_EQ(S.Log.Down, 0) << "nothing on the way down";
  ASSERT_TRUE(S.Pump.Until([&] { return S.Pump.Ticks >= 8; }));
  ASSERT_TRUE(S.Release());
  // With WaitRepeat 2 the first repeat comes on the fourth tick; the release steps once more.
  EXPECT_EQ(S.Log.Down, 1 + std::max(0, S.Pump.Ticks - 2 - 1));
  EXPECT_EQ(S.Log.Clicks, S.Log.Down);
  EXPECT_EQ(S.Log.Up, 0);
  EXPECT_FALSE(S.B->RepeatTimer()->Enabled());
  const int Ticks = S.Pump.Ticks;
  S.Pump.Until([] { return false; }, 10);
  EXPECT_EQ(S.Pump.Ticks, Ticks) << "the timer stops with the release";
}

TEST(SpinBtn, ShortClickStepsOnceAndWithoutRepeatOnlyOnRelease) {
  TRepeatScene S;
  ASSERT_TRUE(S.Press(3));
  ASSERT_TRUE(S.Release());
  EXPECT_EQ(S.Log.Up, 1);
  EXPECT_EQ(S.Log.Clicks, 1);
  S.B->SetUseRepeat(false);
  ASSERT_TRUE(S.Press(3));
  ASSERT_TRUE(S.Pump.Until([&] { return S.Pump.Ticks >= 8; }));
  ASSERT_TRUE(S.Release());
  EXPECT_EQ(S.Log.Up, 2);
}

TEST(SpinBtn, SlidingOffPausesTheRepeatAndComingBackResumesIt) {
  TRepeatScene S;
  const HWND Wnd = S.Host.Window();
  ASSERT_TRUE(S.Press(3));
  ASSERT_TRUE(S.Pump.Until([&] { return S.Log.Up >= 2; }));
  EXPECT_EQ(vcltest::PixelAt(Wnd, 21, 21), clBlack) << "pushed in";

  // Onto the other part: raised, the press goes on, no steps.
  ASSERT_TRUE(S.Pump.MoveTo(Wnd, 28, 20 + 15, [&] { return S.B->PressedPart() == TqcCustomSpinBtn::spNone; }));
  EXPECT_TRUE(S.B->Pressing());
  EXPECT_EQ(vcltest::PixelAt(Wnd, 21, 21), TColor(GetSysColor(COLOR_BTNHIGHLIGHT))) << "raised";
  const int Paused = S.Log.Up, Off = S.Pump.Ticks;
  ASSERT_TRUE(S.Pump.Until([&] { return S.Pump.Ticks >= Off + 4; }));
  EXPECT_EQ(S.Log.Up, Paused);
  EXPECT_EQ(S.Log.Down, 0) << "the other part never steps";

  // Back on the part: every tick steps again.
  ASSERT_TRUE(S.Pump.MoveTo(Wnd, 28, 20 + 4, [&] { return S.B->PressedPart() == TqcCustomSpinBtn::spUp; }));
  const int Back = S.Pump.Ticks, Resumed = S.Log.Up;
  ASSERT_TRUE(S.Pump.Until([&] { return S.Pump.Ticks >= Back + 3; }));
  EXPECT_EQ(S.Log.Up - Resumed, S.Pump.Ticks - Back);
  ASSERT_TRUE(S.Release());
}

TEST(SpinBtn, ALostCaptureEndsThePress) {
  TRepeatScene S;
  ASSERT_TRUE(S.Press(3));
  ASSERT_TRUE(S.Pump.Until([&] { return S.Log.Up >= 1; }));
  ReleaseCapture();
  ASSERT_TRUE(S.Pump.Until([&] { return !S.B->Pressing(); })) << "the next tick ends it";
  const int Steps = S.Log.Up, Ticks = S.Pump.Ticks;
  S.Pump.Until([] { return false; }, 10);
  EXPECT_EQ(S.Pump.Ticks, Ticks) << "no more ticks";
  SendMouseButton(false);
  S.Pump.Until([] { return !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); });
  vcltest::PumpRounds(2);
  EXPECT_EQ(S.Log.Up, Steps) << "the release after the lost press steps nothing";
  EXPECT_EQ(S.Log.Clicks, Steps);
}

TEST(SpinBtn, CentreTwinClicksItsMiddle) {
  vcltest::TTestHost Host(120, 100);
  TSteps Log;
  auto* C = AddSpin<TqcCenterSpinBtn>(Host, Log, 16, 40);
  C->OnCenterClick = EVENT(&Log, TSteps::CenterClick);
  for (auto [Y, Up, Center, Down] : {std::tuple{5, 1, 0, 0}, std::tuple{20, 1, 1, 0}, std::tuple{35, 1, 1, 1}}) {
    vcltest::Click(Host.Control()->Handle(), 28, 20 + Y);
    EXPECT_EQ(Log.Up, Up) << Y;
    EXPECT_EQ(Log.Center, Center) << Y;
    EXPECT_EQ(Log.Down, Down) << Y;
  }
  EXPECT_EQ(Log.Clicks, 3);
}

}  // namespace
