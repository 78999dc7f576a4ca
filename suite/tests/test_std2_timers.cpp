// Std2 timers: the thread timer on an injectable clock and on the real one, freeing it with
// ticks in flight, and the multimedia timer.
#include "suite/Std2.h"
#include "rtl/tests/default_check.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <atomic>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using vcltest::PumpRounds;
using vcltest::PumpUntil;

// Ends the test program when the guarded steps do not finish: a hang fails instead of waiting
// for CTest's timeout.
class TWatchdog {
public:
  explicit TWatchdog(const char* What, DWORD Ms = 30000)
      : FDone(CreateEventA(nullptr, TRUE, FALSE, nullptr)), FWhat(What) {
    FThread = std::thread([this, Ms] {
      if (WaitForSingleObject(FDone, Ms) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "hung: %s\n", FWhat);
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
      }
    });
  }
  ~TWatchdog() {
    SetEvent(FDone);
    FThread.join();
    CloseHandle(FDone);
  }
private:
  HANDLE FDone;
  const char* FWhat;
  std::thread FThread;
};

int ThreadCount() {
  HANDLE Snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 E{};
  E.dwSize = sizeof E;
  int N = 0;
  if (Thread32First(Snap, &E)) do {
      if (E.th32OwnerProcessID == GetCurrentProcessId()) ++N;
    } while (Thread32Next(Snap, &E));
  CloseHandle(Snap);
  return N;
}

// A clock the test moves by hand. Waiting: a worker sits in Wait (it has read its start time).
class TFakeClock : public TqcTimerClock {
public:
  std::atomic<uint32_t> Time{0};
  std::atomic<int> Waiting{0};
  uint32_t Now() override { return Time; }
  void Wait(HANDLE Wake, uint32_t Ms) override {
    ++Waiting;
    const uint32_t Start = Time;
    while (Ms == INFINITE || Time - Start < Ms)
      if (WaitForSingleObject(Wake, 1) == WAIT_OBJECT_0) break;
    --Waiting;
  }
};

struct TClockScope {
  TFakeClock Clock;
  TClockScope() { SetqcTimerClock(&Clock); }
  ~TClockScope() { SetqcTimerClock(nullptr); }
};

// Counts its ticks, handler or not.
class TCountingTimer : public TqcTimer {
public:
  using TqcTimer::TqcTimer;
  std::atomic<int> Ticks{0};
protected:
  void Timer() override {
    ++Ticks;
    TqcTimer::Timer();
  }
};

// Handlers' record: who ticked, on which thread, and ticks that reached a freed timer.
struct TTickLog : TObject {
  std::atomic<int> Count{0};
  std::atomic<int> OffGuiThread{0};
  std::atomic<int> AfterFree{0};
  std::set<TObject*> Freed;
  std::vector<TObject*> Senders;
  TObject* FreeOnTick = nullptr;
  std::function<void(TObject*)> Then;  // once, in the next tick
  void Tick(TObject* Sender) {
    ++Count;
    if (Then) std::exchange(Then, nullptr)(Sender);
    if (GetCurrentThreadId() != MainThreadID) ++OffGuiThread;
    if (Freed.count(Sender)) ++AfterFree;
    Senders.push_back(Sender);
    if (Sender == FreeOnTick) {
      Freed.insert(Sender);
      FreeOnTick = nullptr;
      TObject::Free(Sender);
    }
  }
  void Throw(TObject*) {
    ++Count;
    throw EConvertError("tick failed");
  }
  void Free(TObject* Timer) {
    Freed.insert(Timer);
    TObject::Free(Timer);
  }
};

TNotifyEvent TickOf(TTickLog& Log) { return EVENT(&Log, TTickLog::Tick); }

TEST(Std2Timers, PublishedDefaultsMatchFreshObjects) {
  ExpectClassDefaultsMatch(TqcTimer::StaticClass());
  ExpectClassDefaultsMatch(TqcMMTimer::StaticClass());
}

// ----- the thread timer on a clock the test moves

struct TFakeClockTimer : ::testing::Test {
  TClockScope Scope;
  TFakeClock& Clock = Scope.Clock;
  TTickLog Log;
  TCountingTimer* Timer = nullptr;

  void SetUp() override { Timer = TComponent::Create<TCountingTimer>(nullptr); }
  void TearDown() override { TObject::Free(Timer); }
  // The worker sits in its wait, its start time read.
  void Settle() { ASSERT_TRUE(PumpUntil([&] { return Clock.Waiting > 0; })); }
  void At(uint32_t T) {
    Settle();
    Clock.Time = T;
  }
  void ExpectTicks(int N, const char* When) {
    if (N > Timer->Ticks) {
      EXPECT_TRUE(PumpUntil([&] { return Timer->Ticks >= N; })) << When;
    }
    PumpRounds(3);
    EXPECT_EQ(Timer->Ticks, N) << When;
  }
};

// Each change after a first tick: no further tick, however long the clock runs.
TEST_F(TFakeClockTimer, NoTickWithoutAnIntervalAHandlerOrEnabled) {
  const struct {
    const char* Name;
    void (*Change)(TqcTimer*);
  } Cases[] = {
      {"Interval 0", [](TqcTimer* T) { T->SetInterval(0); }},
      {"Enabled False", [](TqcTimer* T) { T->SetEnabled(false); }},
      {"no OnTimer", [](TqcTimer* T) { T->SetOnTimer(nullptr); }},
      {"Interval $FFFFFFFF", [](TqcTimer* T) { T->SetInterval(0xFFFFFFFFu); }},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TObject::Free(Timer);
    Clock.Time = 0;
    Timer = TComponent::Create<TCountingTimer>(nullptr);
    Timer->SetOnTimer(TickOf(Log));
    // Changed in the tick: the next wait is the first to see it.
    Log.Then = [&](TObject*) { C.Change(Timer); };
    At(1000);
    ExpectTicks(1, "at 1000");
    At(100000);
    ExpectTicks(1, "long after");
  }
  EXPECT_EQ(Log.OffGuiThread, 0);
}

TEST_F(TFakeClockTimer, ANewIntervalCountsFromTheNextWait) {
  Timer->SetOnTimer(TickOf(Log));
  At(200);
  Timer->SetInterval(300);
  At(999);
  ExpectTicks(0, "at 999");
  At(1000);
  ExpectTicks(1, "at 1000, the wait begun with 1000");
  At(1299);
  ExpectTicks(1, "at 1299");
  At(1300);
  ExpectTicks(2, "at 1300, 300 after the tick");
}

TEST_F(TFakeClockTimer, PausedItKeepsThePhaseOfItsWait) {
  for (uint32_t ResumeAt : {500u, 2000u}) {
    SCOPED_TRACE("resumed at " + std::to_string(ResumeAt));
    TObject::Free(Timer);
    Clock.Time = 0;
    Timer = TComponent::Create<TCountingTimer>(nullptr);
    Timer->SetOnTimer(TickOf(Log));
    At(300);
    Timer->SetEnabled(false);
    At(ResumeAt);
    ExpectTicks(0, "paused");
    Timer->SetEnabled(true);
    if (ResumeAt < 1000) {
      At(999);
      ExpectTicks(0, "at 999");
      At(1000);
    }
    ExpectTicks(1, ResumeAt < 1000 ? "at 1000" : "at once");
  }
}

TEST_F(TFakeClockTimer, AnExceptionFromTheTickGoesToTheApplicationAndTickingGoesOn) {
  struct TCatcher : TObject {
    std::vector<std::string> Seen;
    void Caught(TObject* Sender, Exception& E) { Seen.push_back(E.Message().c_str()); }
  } Catcher;
  const TExceptionEvent Saved = Application->OnException;
  Application->OnException = EVENT(&Catcher, TCatcher::Caught);
  Timer->SetOnTimer(EVENT(&Log, TTickLog::Throw));
  At(1000);
  ExpectTicks(1, "first");
  At(2000);
  ExpectTicks(2, "second");
  Application->OnException = Saved;
  EXPECT_EQ(Catcher.Seen, (std::vector<std::string>{"tick failed", "tick failed"}));
}

TEST_F(TFakeClockTimer, PriorityReachesTheWorker) {
  Timer->SetOnTimer(TickOf(Log));
  Timer->SetPriority(tpLowest);
  const HANDLE Worker = reinterpret_cast<HANDLE>(Timer->Thread()->Handle());
  EXPECT_TRUE(PumpUntil([&] { return GetThreadPriority(Worker) == THREAD_PRIORITY_LOWEST; }));
  Timer->SetPriority(tpHigher);
  EXPECT_TRUE(PumpUntil([&] { return GetThreadPriority(Worker) == THREAD_PRIORITY_ABOVE_NORMAL; }));
}

// ----- the real clock

TEST(Std2Timers, RealClockTicksAtMostOncePerIntervalOnTheGuiThread) {
  TTickLog Log;
  auto* Timer = TComponent::Create<TqcTimer>(nullptr);
  Timer->SetInterval(50);
  Timer->SetOnTimer(TickOf(Log));
  const DWORD Start = GetTickCount();
  const bool Ticked = PumpUntil([&] { return Log.Count >= 5; }, 1000);
  const DWORD Elapsed = GetTickCount() - Start;
  TObject::Free(Timer);
  ASSERT_TRUE(Ticked);
  EXPECT_EQ(Log.OffGuiThread, 0);
  // Each tick waits the whole interval first (the tick count may step by up to 16 ms).
  EXPECT_GE(Elapsed + 16, DWORD(Log.Count) * 50);
}

// ----- freeing with ticks in flight

// Each test under a watchdog; at its end no tick has reached a freed timer and the worker
// threads are gone.
struct TFreeing : ::testing::Test {
  TWatchdog Dog{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  TTickLog Log;
  int Baseline = ThreadCount();

  TqcTimer* Ticking(uint32_t Interval, TComponent* Owner = nullptr) {
    auto* T = TComponent::Create<TqcTimer>(Owner);
    T->SetInterval(Interval);
    T->SetOnTimer(TickOf(Log));
    return T;
  }
  void TearDown() override {
    PumpRounds(5);
    EXPECT_EQ(Log.AfterFree, 0);
    EXPECT_TRUE(PumpUntil([&] { return ThreadCount() <= Baseline; }))
        << ThreadCount() << " threads, " << Baseline << " before";
  }
};

TEST_F(TFreeing, WhileTheWorkerWaits) {
  TqcTimer* Timer = Ticking(60000);
  PumpRounds(2);
  Log.Free(Timer);
}

TEST_F(TFreeing, WithATickQueuedWhileTheGuiThreadDoesNotPump) {
  TqcTimer* Timer = Ticking(1);
  Sleep(50);  // the worker has queued its tick and waits for it
  Log.Free(Timer);
  PumpRounds(5);
  EXPECT_EQ(Log.Count, 0);
}

TEST_F(TFreeing, InsideItsOwnTick) {
  Log.FreeOnTick = Ticking(5);
  ASSERT_TRUE(PumpUntil([&] { return Log.FreeOnTick == nullptr; }));
  PumpRounds(5);
  EXPECT_EQ(Log.Count, 1);
}

TEST_F(TFreeing, WithItsOwnerForm) {
  TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
  TqcTimer* Timer = Ticking(1, Form);
  ASSERT_TRUE(PumpUntil([&] { return Log.Count > 2; }));
  Log.Freed.insert(Timer);
  TObject::Free(Form);
}

TEST_F(TFreeing, TwoHundredOneMillisecondTimersWhilePumping) {
  std::vector<TqcTimer*> Timers;
  for (int I = 0; I < 200; ++I) {
    Timers.push_back(Ticking(1));
    if (I % 20 == 0) vcltest::PumpMessages();
  }
  PumpRounds(3);
  for (size_t I = 0; I < Timers.size(); ++I) {
    Log.Free(Timers[I]);
    if (I % 10 == 0) vcltest::PumpMessages();
  }
  EXPECT_GT(Log.Count, 0);
}

// ----- the multimedia timer

// A handler on the timer thread: counts, may sleep, send to a window or throw first.
struct TMMLog : TObject {
  std::atomic<int> Count{0};
  std::atomic<int> OnGuiThread{0};
  std::atomic<int> Throws{0};
  std::atomic<int> SleepMs{0};
  std::atomic<bool> Entered{false};
  std::atomic<bool> Left{false};
  std::atomic<HWND> SendTo{nullptr};
  std::atomic<TObject*> LastSender{nullptr};
  void Tick(TObject* Sender) {
    Entered = true;
    LastSender = Sender;
    if (GetCurrentThreadId() == MainThreadID) ++OnGuiThread;
    ++Count;
    if (Throws > 0) {
      --Throws;
      throw EConvertError("handler failed");
    }
    if (int Ms = SleepMs) Sleep(DWORD(Ms));
    if (HWND W = SendTo) SendMessageA(W, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("sent"));
    Left = true;
  }
};

TqcMMTimer* NewMMTimer(TMMLog& Log, uint32_t Interval) {
  auto* T = TComponent::Create<TqcMMTimer>(nullptr);
  T->SetInterval(Interval);
  T->SetOnTimer(EVENT(&Log, TMMLog::Tick));
  return T;
}

TEST(Std2MMTimer, TicksOnTheTimerThreadAtMostOncePerInterval) {
  TWatchdog Dog("multimedia ticks");
  TMMLog Log;
  auto* T = NewMMTimer(Log, 10);
  const DWORD Start = GetTickCount();
  const bool Ticked = PumpUntil([&] { return Log.Count >= 5; }, 1000);
  const DWORD Elapsed = GetTickCount() - Start;
  const int Count = Log.Count;
  TObject::Free(T);
  ASSERT_TRUE(Ticked);
  EXPECT_EQ(Log.OnGuiThread, 0);
  EXPECT_EQ(Log.LastSender, T);
  EXPECT_LE(Count, int(Elapsed / 10) + 3);
}

TEST(Std2MMTimer, EnabledOnlyGatesTheTickAndAnEqualIntervalKeepsTheTimer) {
  TWatchdog Dog("multimedia enabled");
  TMMLog Log;
  auto* T = NewMMTimer(Log, 5);
  const unsigned Id = T->TimerID();
  ASSERT_NE(Id, 0u);
  ASSERT_TRUE(PumpUntil([&] { return Log.Count > 0; }));
  T->SetEnabled(false);
  Sleep(20);  // a tick in progress ends
  const int Count = Log.Count;
  PumpRounds(5);
  EXPECT_EQ(Log.Count, Count) << "disabled: no call";
  EXPECT_EQ(T->TimerID(), Id) << "the system timer stays";
  T->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return Log.Count > Count; }));
  EXPECT_EQ(T->TimerID(), Id);
  T->SetInterval(5);
  EXPECT_EQ(T->TimerID(), Id) << "an equal interval keeps it";
  T->SetInterval(7);
  EXPECT_NE(T->TimerID(), 0u);
  EXPECT_NE(T->TimerID(), Id) << "another one replaces it";
  const int Now = Log.Count;
  EXPECT_TRUE(PumpUntil([&] { return Log.Count > Now; }));
  TObject::Free(T);
}

TEST(Std2MMTimer, ARejectedIntervalRaisesTheRangeErrorAndRunsNothing) {
  TWatchdog Dog("multimedia range error");
  TMMLog Log;
  auto* T = NewMMTimer(Log, 5);
  try {
    T->SetInterval(0);
    ADD_FAILURE() << "no exception";
  } catch (ERangeError& E) {
    EXPECT_STREQ(E.Message().c_str(), "10 is not within the valid range");
  }
  EXPECT_EQ(T->Interval(), 0u) << "the value stays stored";
  EXPECT_EQ(T->TimerID(), 0u);
  Sleep(20);
  const int Count = Log.Count;
  PumpRounds(5);
  EXPECT_EQ(Log.Count, Count);
  T->SetInterval(5);
  EXPECT_TRUE(PumpUntil([&] { return Log.Count > Count; })) << "a later good value runs again";
  TObject::Free(T);
}

TEST(Std2MMTimer, AThrowingHandlerIsDiscarded) {
  TWatchdog Dog("multimedia throwing handler");
  TMMLog Log;
  Log.Throws = 3;
  auto* T = NewMMTimer(Log, 5);
  EXPECT_TRUE(PumpUntil([&] { return Log.Count > 5; }));
  EXPECT_EQ(Log.Throws, 0);
  TObject::Free(T);
}

// Destroying and making the system timer again wait for a running handler, while the GUI thread
// still answers what the handler sends it.
TEST(Std2MMTimer, DestroyingOrRecreatingWaitsForARunningHandlerThatSleepsOrSends) {
  vcltest::TTestWindow Window(60, 40);
  for (bool Recreate : {false, true})
    for (bool Sends : {false, true}) {
      SCOPED_TRACE(std::string(Recreate ? "a new interval" : "destroyed") + " while the handler " +
                   (Sends ? "sends to a window of the GUI thread" : "sleeps"));
      TWatchdog Dog("a multimedia timer with a running handler");
      TMMLog Log;
      Log.SleepMs = 150;
      if (Sends) Log.SendTo = Window.Handle();
      auto* T = NewMMTimer(Log, 5);
      while (!Log.Entered) Sleep(1);
      if (Recreate) {
        T->SetInterval(6);
        EXPECT_TRUE(Log.Left) << "returned before the handler ended";
        Log.SleepMs = 0;
        Log.SendTo = nullptr;
      }
      TObject::Free(T);
      EXPECT_TRUE(Log.Left) << "returned before the handler ended";
      const int Count = Log.Count;
      Sleep(30);
      PumpRounds(3);
      EXPECT_EQ(Log.Count, Count) << "a call after the destructor";
    }
}

// A handler that changes or frees its own timer on its first tick.
struct TSelfChanger : TObject {
  enum TWhat { Interval, Resolution, Free } What = Interval;
  TqcMMTimer* Timer = nullptr;
  std::atomic<int> Count{0};
  std::atomic<bool> Changed{false};
  void Tick(TObject* Sender) {
    ++Count;
    if (Changed.exchange(true)) return;
    auto* T = static_cast<TqcMMTimer*>(Sender);
    if (What == Interval) T->SetInterval(T->Interval() + 1);
    else if (What == Resolution) T->SetResolution(T->Resolution() + 1);
    else TObject::Free(T);
  }
};

TEST(Std2MMTimer, ItsOwnHandlerChangesOrFreesIt) {
  for (TSelfChanger::TWhat What : {TSelfChanger::Interval, TSelfChanger::Resolution, TSelfChanger::Free}) {
    SCOPED_TRACE(What == TSelfChanger::Interval ? "Interval" : What == TSelfChanger::Resolution ? "Resolution" : "freed");
    TWatchdog Dog("a multimedia timer changed by its own handler");
    TMMLog Other;
    auto* Second = NewMMTimer(Other, 4);
    TSelfChanger Self;
    Self.What = What;
    auto* T = TComponent::Create<TqcMMTimer>(nullptr);
    T->SetInterval(5);
    T->SetOnTimer(EVENT(&Self, TSelfChanger::Tick));
    ASSERT_TRUE(PumpUntil([&] { return Self.Changed.load(); }));
    Sleep(20);
    const int OtherCount = Other.Count;
    const int Count = Self.Count;
    if (What == TSelfChanger::Free) {
      Sleep(50);
      EXPECT_EQ(Self.Count, Count) << "a tick after it was freed";
    } else {
      EXPECT_TRUE(PumpUntil([&] { return Self.Count > Count + 2; })) << "it ticks on";
      EXPECT_EQ(What == TSelfChanger::Interval ? T->Interval() : T->Resolution(), What == TSelfChanger::Interval ? 6u : 11u);
      EXPECT_NE(T->TimerID(), 0u);
      TObject::Free(T);
    }
    EXPECT_TRUE(PumpUntil([&] { return Other.Count > OtherCount + 2; })) << "the other timer ticks on";
    TObject::Free(Second);
  }
}

// A handler waiting in Synchronize while the GUI thread frees or re-creates its timer: the
// GUI thread's wait runs the synchronised call, so both return.
struct TSyncLog : TObject {
  std::atomic<bool> Entered{false};
  std::atomic<int> Ran{0};
  std::atomic<int> Returned{0};
  void Synced() { ++Ran; }
  void Tick(TObject*) {
    Entered = true;
    TThread::Synchronize(nullptr, TThreadMethod::Bind<&TSyncLog::Synced>(this));
    ++Returned;
  }
};

TEST(Std2MMTimer, FreedOrRecreatedWhileItsHandlerSynchronizes) {
  for (bool Recreate : {false, true}) {
    SCOPED_TRACE(Recreate ? "a new interval" : "freed");
    TWatchdog Dog("a multimedia timer whose handler synchronises");
    TSyncLog Log;
    auto* T = TComponent::Create<TqcMMTimer>(nullptr);
    T->SetInterval(5);
    T->SetOnTimer(EVENT(&Log, TSyncLog::Tick));
    while (!Log.Entered) Sleep(1);  // not pumping: the call stays queued
    if (Recreate) {
      T->SetInterval(50);
      EXPECT_GE(Log.Ran, 1);
      EXPECT_GE(Log.Returned, 1);
      T->SetOnTimer(TNotifyEvent());
    }
    TObject::Free(T);
    EXPECT_GE(Log.Ran, 1);
    EXPECT_EQ(Log.Returned.load(), Log.Ran.load()) << "a handler still running after the destructor";
    PumpRounds(3);
  }
}

TEST(Std2MMTimer, SwappedHandlersRunWithTheirOwnObject) {
  TWatchdog Dog("multimedia swapped handlers");
  TMMLog X, Y;
  auto* A = NewMMTimer(X, 3);
  auto* B = NewMMTimer(Y, 3);
  ASSERT_TRUE(PumpUntil([&] { return X.LastSender == A && Y.LastSender == B; }));
  const TNotifyEvent HA = A->OnTimer();
  A->SetOnTimer(B->OnTimer());
  B->SetOnTimer(HA);
  EXPECT_TRUE(PumpUntil([&] { return X.LastSender == B && Y.LastSender == A; }));
  TObject::Free(A);
  TObject::Free(B);
}

}  // namespace
