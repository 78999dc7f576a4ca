// Unit Std2, timers: TqcTimer ticks through a worker thread of its own and runs its tick on the
// GUI thread; TqcMMTimer ticks through a periodic multimedia timer on the system's timer thread.
#pragma once
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"
#include "vcl/Win.h"

#include <cstdint>
#include <memory>

// The clock thread timers wait on: the tick count and a real wait by default. For tests.
class TqcTimerClock {
public:
  virtual ~TqcTimerClock() = default;
  // Milliseconds, wrapping at 2^32.
  virtual uint32_t Now() = 0;
  // Returns when Wake is set or Ms of this clock's time have passed (INFINITE: only Wake).
  virtual void Wait(HANDLE Wake, uint32_t Ms) = 0;
};
// Null restores the system clock; returns the previous clock (null for the system clock).
// Timers read it at every wait.
TqcTimerClock* SetqcTimerClock(TqcTimerClock* Clock);

class TqcTimer;
struct TqcTimerState;
struct TqcMMTimerRun;

// The worker of a TqcTimer: waits the interval, then synchronises the tick. It shares only
// atomics with its timer (interval, priority, paused, stopping), never touching the timer
// object itself; the tick runs on the GUI thread and checks there that the timer still wants it.
class TqcTimerThread : public TThread {
  ORV_CLASS(TqcTimerThread, TThread)
public:
  // Created suspended.
  explicit TqcTimerThread(TqcTimer* Timer);
protected:
  void Execute() override;
private:
  friend class TqcTimer;
  void Tick();
  std::shared_ptr<TqcTimerState> FState;
};

class TqcTimer : public TComponent {
  ORV_CLASS(TqcTimer, TComponent)
public:
  // The worker runs from here on; until a property is set it ticks without a handler.
  explicit TqcTimer(TComponent* AOwner);
  // Ends the worker before returning and withdraws a tick it queued. Inside the timer's own tick
  // the worker ends once the tick returns, touching nothing of the timer.
  ~TqcTimer() override;

  TThreadPriority Priority() const { return FPriority; }
  void SetPriority(TThreadPriority Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Milliseconds; a new one counts from the worker's next wait.
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t Value);
  // The tick, on the GUI thread; an exception from it goes to Application->HandleException and
  // ticking goes on.
  TNotifyEvent OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent Value);

  // The worker (its priority and handle, for tests).
  TqcTimerThread* Thread() const { return FThread; }

protected:
  // The tick: OnTimer with the timer as sender.
  virtual void Timer();
  // The worker waits while Interval is 0, Enabled is false or OnTimer is unassigned; paused, it
  // stops at its wait and keeps the phase of the wait it was in, and a tick it queued is
  // dropped. Otherwise it runs, with Priority.
  void UpdateTimer();

private:
  friend class TqcTimerThread;
  TThreadPriority FPriority = tpNormal;
  bool FEnabled = true;
  uint32_t FInterval = 1000;
  TNotifyEvent FOnTimer;
  TqcTimerThread* FThread = nullptr;
  std::shared_ptr<TqcTimerState> FState;
};

// A periodic multimedia timer whose tick (Timer, OnTimer) runs on the system's timer thread: a
// handler must not touch controls directly. Enabled and OnTimer may be changed while it runs.
class TqcMMTimer : public TComponent {
  ORV_CLASS(TqcMMTimer, TComponent)
public:
  // ERangeError "%d is not within the valid range" (with Resolution) when the system timer
  // cannot be made.
  explicit TqcMMTimer(TComponent* AOwner);
  // Returns once a running handler has ended and no call can follow; meanwhile messages sent
  // to this thread's windows are handled and calls synchronised to it run. Its own handler may
  // free it (or change Interval and Resolution): that returns at once.
  ~TqcMMTimer() override;

  // Only gates the tick: the system timer keeps running.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  // Milliseconds. A change makes the system timer again (waiting as the destructor does); a
  // rejected one raises ERangeError naming Resolution, keeps the value and runs no timer.
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t Value);
  uint32_t Resolution() const { return FResolution; }
  void SetResolution(uint32_t Value);
  TNotifyEvent OnTimer() const;
  void SetOnTimer(TNotifyEvent Value);
  // The multimedia timer's identifier, 0 when none runs.
  unsigned TimerID() const { return FTimerID; }

protected:
  // The tick, on the timer thread: OnTimer with the timer as sender while Enabled. Exceptions
  // from it are discarded.
  virtual void Timer();

private:
  friend struct TqcMMTimerCallback;
  void CreateTimer();
  void KillTimer();

  std::atomic<bool> FEnabled{true};
  uint32_t FInterval = 1000;
  uint32_t FResolution = 10;
  TNotifyEvent FOnTimer;        // under the unit's lock
  unsigned FTimerID = 0;
  uintptr_t FSerial = 0;        // the callbacks' key while a timer runs
  std::shared_ptr<TqcMMTimerRun> FRun;
};
