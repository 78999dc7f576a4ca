// The timer component: real WM_TIMER messages on its own window, switched by Enabled and
// Interval, and exceptions of a tick handed to the application.
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct TTicks : TObject {
  int Calls = 0;
  bool Throw = false;
  void Tick(TObject*) {
    ++Calls;
    if (Throw) throw EConvertError("tick failed");
  }
};

// Dispatches what arrives, counting the WM_TIMER messages of Wnd, until Done() or Rounds rounds.
int PumpTimer(HWND Wnd, int Rounds, const std::function<bool(int)>& Done) {
  int Ticks = 0;
  for (int R = 0; R < Rounds && !Done(Ticks); ++R) {
    MSG M;
    while (PeekMessageA(&M, nullptr, 0, 0, PM_REMOVE)) {
      if (M.hwnd == Wnd && M.message == WM_TIMER) ++Ticks;
      DispatchMessageA(&M);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return Ticks;
}

TEST(Timer, DefaultsMatchThePropertyTable) { ExpectClassDefaultsMatch(TTimer::StaticClass()); }

TEST(Timer, TicksThroughItsWindowWhileEnabled) {
  TTicks Log;
  TTimer* T = TComponent::Create<TTimer>(nullptr);
  T->OnTimer = EVENT(&Log, TTicks::Tick);
  T->SetInterval(10);
  ASSERT_NE(T->WindowHandle(), nullptr);
  const int Ticks = PumpTimer(T->WindowHandle(), 500, [](int N) { return N >= 3; });
  EXPECT_GE(Ticks, 3);
  EXPECT_EQ(Log.Calls, Ticks) << "one call a WM_TIMER";

  T->SetEnabled(false);
  Log.Calls = 0;
  EXPECT_EQ(PumpTimer(T->WindowHandle(), 20, [](int) { return false; }), 0) << "disabled";
  T->SetEnabled(true);
  T->SetInterval(0);
  EXPECT_EQ(PumpTimer(T->WindowHandle(), 20, [](int) { return false; }), 0) << "interval 0";
  EXPECT_EQ(Log.Calls, 0);
  T->SetInterval(10);
  EXPECT_GE(PumpTimer(T->WindowHandle(), 500, [](int N) { return N >= 1; }), 1) << "running again";

  const HWND Wnd = T->WindowHandle();
  TObject::Free(T);
  EXPECT_FALSE(IsWindow(Wnd)) << "the window goes with the timer";
}

struct TCaught : TObject {
  std::vector<std::string> Messages;
  void Caught(TObject*, Exception& E) { Messages.push_back(E.Message().str()); }
};

TEST(Timer, AnExceptionOfATickGoesToTheApplication) {
  TTicks Log;
  Log.Throw = true;
  TCaught Caught;
  const TExceptionEvent Saved = Application->OnException;
  Application->OnException = EVENT(&Caught, TCaught::Caught);
  TTimer* T = TComponent::Create<TTimer>(nullptr);
  T->OnTimer = EVENT(&Log, TTicks::Tick);
  T->SetInterval(10);
  PumpTimer(T->WindowHandle(), 500, [&](int) { return Log.Calls >= 2; });
  TObject::Free(T);
  Application->OnException = Saved;
  EXPECT_GE(Log.Calls, 2) << "the timer goes on after a failed tick";
  ASSERT_FALSE(Caught.Messages.empty());
  EXPECT_EQ(Caught.Messages[0], "tick failed");
}

}  // namespace
