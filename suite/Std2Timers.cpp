#include "suite/Std2Timers.h"

#include "vcl/Controls.h"

#include <mmsystem.h>

#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace {

class TSystemClock : public TqcTimerClock {
public:
  uint32_t Now() override { return GetTickCount(); }
  void Wait(HANDLE Wake, uint32_t Ms) override { WaitForSingleObject(Wake, Ms); }
};

TSystemClock SystemClock;
std::atomic<TqcTimerClock*> CustomClock{nullptr};

TqcTimerClock& Clock() {
  TqcTimerClock* C = CustomClock.load();
  return C ? *C : SystemClock;
}

}  // namespace

TqcTimerClock* SetqcTimerClock(TqcTimerClock* Clock) { return CustomClock.exchange(Clock); }

// ---------------------------------------------------------------------------------------------
// TqcTimer and its worker

// Shared by a timer and its worker, which may outlive the timer by the tick that freed it.
struct TqcTimerState {
  std::atomic<uint32_t> Interval{1000};
  std::atomic<int> Priority{tpNormal};
  std::atomic<bool> Paused{false};
  std::atomic<bool> Stopping{false};
  HANDLE Wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);  // pause, resume, stop
  // GUI thread only.
  TqcTimer* Timer = nullptr;
  int TickDepth = 0;
  ~TqcTimerState() { CloseHandle(Wake); }
};

TqcTimerThread::TqcTimerThread(TqcTimer* Timer) : TThread(true), FState(Timer->FState) {
  SetPriority(Timer->FPriority);
}

void TqcTimerThread::Execute() {
  TqcTimerState& S = *FState;
  int Applied = Priority();  // what the thread has; the timer's may have changed since
  uint32_t Start = Clock().Now();
  uint32_t Period = S.Interval;
  while (!Terminated() && !S.Stopping) {
    if (S.Priority != Applied) {
      Applied = S.Priority;
      try {
        SetPriority(TThreadPriority(Applied));
      } catch (...) {
        // a priority the system refuses leaves the old one
      }
    }
    if (S.Paused) {
      // Stopped at the wait; the phase of the wait it was in is kept.
      Clock().Wait(S.Wake, INFINITE);
      continue;
    }
    const uint32_t Elapsed = Clock().Now() - Start;
    if (Elapsed < Period) {
      Clock().Wait(S.Wake, Period - Elapsed);
      continue;
    }
    Synchronize(TThreadMethod::Bind<&TqcTimerThread::Tick>(this));
    Start = Clock().Now();
    Period = S.Interval;
  }
}

void TqcTimerThread::Tick() {
  TqcTimerState& S = *FState;
  if (S.Stopping || S.Paused || !S.Timer) return;
  ++S.TickDepth;
  try {
    S.Timer->Timer();
  } catch (...) {
    HandleVclException(S.Timer);
  }
  --S.TickDepth;
}

TqcTimer::TqcTimer(TComponent* AOwner) : TComponent(AOwner), FState(std::make_shared<TqcTimerState>()) {
  FState->Timer = this;
  FThread = New<TqcTimerThread>(this);
  FThread->Resume();
}

TqcTimer::~TqcTimer() {
  FEnabled = false;
  TqcTimerState& S = *FState;
  S.Timer = nullptr;
  S.Stopping = true;
  SetEvent(S.Wake);
  FThread->Terminate();
  TThread::RemoveQueuedEvents(FThread);
  if (S.TickDepth > 0) {
    // Inside this timer's tick the worker waits for the tick to return: it ends then, alone.
    FThread->SetFreeOnTerminate(true);
  } else {
    TObject::Free(FThread);
  }
  FThread = nullptr;
}

void TqcTimer::Timer() {
  if (FOnTimer) FOnTimer(this);
}

void TqcTimer::UpdateTimer() {
  TqcTimerState& S = *FState;
  S.Interval = FInterval;
  S.Priority = FPriority;
  const bool Run = FInterval != 0 && FEnabled && FOnTimer;
  S.Paused = !Run;
  if (!Run) TThread::RemoveQueuedEvents(FThread);
  SetEvent(S.Wake);
}

void TqcTimer::SetPriority(TThreadPriority Value) {
  if (FPriority == Value) return;
  FPriority = Value;
  UpdateTimer();
}

void TqcTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TqcTimer::SetInterval(uint32_t Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TqcTimer::SetOnTimer(TNotifyEvent Value) {
  FOnTimer = Value;
  UpdateTimer();
}

ORV_IMPLEMENT_CLASS(TqcTimerThread, TThread)

static constinit const TPropInfo TqcTimer_Props[] = {
    PropEnum<&TqcTimer::Priority, &TqcTimer::SetPriority>("Priority", TThreadPriorityType, tpNormal),
    PropBool<&TqcTimer::Enabled, &TqcTimer::SetEnabled>("Enabled", true),
    PropInt<&TqcTimer::Interval, &TqcTimer::SetInterval>("Interval", 1000),
    PropEvent<&TqcTimer::OnTimer, &TqcTimer::SetOnTimer>("OnTimer"),
};
ORV_IMPLEMENT_COMPONENT(TqcTimer, TComponent, TqcTimer_Props)

// ---------------------------------------------------------------------------------------------
// TqcMMTimer

// A multimedia timer's bookkeeping, shared by the timer and the callbacks running its handler,
// which may outlive it when the handler freed it.
struct TqcMMTimerRun {
  TqcMMTimer* Timer;  // null once the timer is destroyed
  int Running = 0;    // handlers running now, under the unit's lock
  HANDLE Idle = CreateEventA(nullptr, TRUE, TRUE, nullptr);  // set while none runs
  explicit TqcMMTimerRun(TqcMMTimer* T) : Timer(T) {
    if (!Idle) throw EOutOfResources("Cannot create the timer's event");
  }
  ~TqcMMTimerRun() { CloseHandle(Idle); }
};

namespace {

// The running multimedia timers by key. A callback finds its timer here or not at all, so one
// that comes after the timer was taken out does nothing.
std::mutex MMLock;
std::map<uintptr_t, std::shared_ptr<TqcMMTimerRun>> MMTimers;
uintptr_t MMNextSerial = 0;
// The timer whose handler runs on this thread: it may change or free its own timer.
thread_local const TqcMMTimerRun* MMCurrent = nullptr;

}  // namespace

struct TqcMMTimerCallback {
  static void CALLBACK Proc(UINT, UINT, DWORD_PTR User, DWORD_PTR, DWORD_PTR) {
    std::shared_ptr<TqcMMTimerRun> Run;
    {
      std::lock_guard<std::mutex> L(MMLock);
      auto It = MMTimers.find(uintptr_t(User));
      if (It == MMTimers.end()) return;
      Run = It->second;
      if (Run->Running++ == 0) ResetEvent(Run->Idle);
    }
    const TqcMMTimerRun* Outer = std::exchange(MMCurrent, Run.get());
    try {
      Run->Timer->Timer();
    } catch (...) {
      // nothing escapes into the system's timer thread
    }
    MMCurrent = Outer;
    std::lock_guard<std::mutex> L(MMLock);
    if (--Run->Running == 0) SetEvent(Run->Idle);
  }
};

TqcMMTimer::TqcMMTimer(TComponent* AOwner) : TComponent(AOwner), FRun(std::make_shared<TqcMMTimerRun>(this)) {
  CreateTimer();
}

TqcMMTimer::~TqcMMTimer() {
  KillTimer();
  FRun->Timer = nullptr;
}

void TqcMMTimer::CreateTimer() {
  {
    std::lock_guard<std::mutex> L(MMLock);
    FSerial = ++MMNextSerial;
    MMTimers[FSerial] = FRun;
  }
  FTimerID = timeSetEvent(FInterval, FResolution, &TqcMMTimerCallback::Proc, DWORD_PTR(FSerial),
                          TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
  if (!FTimerID) {
    std::lock_guard<std::mutex> L(MMLock);
    MMTimers.erase(FSerial);
    FSerial = 0;
    throw ERangeError("%d is not within the valid range", {int(FResolution)});
  }
}

void TqcMMTimer::KillTimer() {
  if (!FTimerID) return;
  {
    std::lock_guard<std::mutex> L(MMLock);
    MMTimers.erase(FSerial);
    FSerial = 0;
  }
  // A handler already running ends first (the GUI thread meanwhile answers what it sends and
  // runs what it synchronises), unless it is this timer's own handler asking: the system runs
  // the handlers one at a time, so no other can be running then.
  if (MMCurrent != FRun.get()) WaitSynchronizing(uintptr_t(FRun->Idle));
  timeKillEvent(FTimerID);
  FTimerID = 0;
}

void TqcMMTimer::Timer() {
  if (!FEnabled) return;
  TNotifyEvent Handler = OnTimer();
  if (Handler) Handler(this);
}

TNotifyEvent TqcMMTimer::OnTimer() const {
  std::lock_guard<std::mutex> L(MMLock);
  return FOnTimer;
}

void TqcMMTimer::SetOnTimer(TNotifyEvent Value) {
  std::lock_guard<std::mutex> L(MMLock);
  FOnTimer = Value;
}

void TqcMMTimer::SetInterval(uint32_t Value) {
  if (FInterval == Value) return;
  KillTimer();
  FInterval = Value;
  CreateTimer();
}

void TqcMMTimer::SetResolution(uint32_t Value) {
  if (FResolution == Value) return;
  KillTimer();
  FResolution = Value;
  CreateTimer();
}

static constinit const TPropInfo TqcMMTimer_Props[] = {
    PropBool<&TqcMMTimer::Enabled, &TqcMMTimer::SetEnabled>("Enabled", true),
    PropInt<&TqcMMTimer::Interval, &TqcMMTimer::SetInterval>("Interval", 1000),
    PropEvent<&TqcMMTimer::OnTimer, &TqcMMTimer::SetOnTimer>("OnTimer"),
    PropInt<&TqcMMTimer::Resolution, &TqcMMTimer::SetResolution>("Resolution", 10),
};
ORV_IMPLEMENT_COMPONENT(TqcMMTimer, TComponent, TqcMMTimer_Props)

namespace {
struct TStd2TimersUnit {
  TStd2TimersUnit() { RegisterClasses({TqcTimer::StaticClass(), TqcMMTimer::StaticClass()}); }
} Std2TimersUnit;
}  // namespace
