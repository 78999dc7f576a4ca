// A timer on a worker thread of its own (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "rtl/Classes.h"
#include "vcl/Win.h"

#include <atomic>
#include <cstdint>

// The worker sleeps Interval milliseconds at idle priority, then runs the tick (DoTimer, OnTimer)
// on the GUI thread by Synchronize. Disabled, it waits on an event, holding nothing; Enabled and
// Interval are atomics the worker reads each round. A tick that comes after the timer was
// disabled or told to end does nothing; so does every tick once the application terminates.
class TThreadTimer : public TThread {
  ORV_CLASS(TThreadTimer, TThread)
public:
  // The thread is created suspended at idle priority; the first enabling starts it.
  TThreadTimer();
  ~TThreadTimer() override;
  // Ends the worker (woken, no tick after this) and waits for it. Not inside the timer's own
  // tick: free it there with Release.
  void BeforeDestruction() override;
  // Frees the timer: at once, or, inside its own tick, by the worker once the tick has returned.
  void Release();

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Milliseconds, at least 1; a new interval counts from the moment it is set.
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t Value);

  // The tick, on the GUI thread, with the timer as sender. An exception from it goes to
  // Application->HandleException and ticking goes on.
  TNotifyEvent OnTimer;

protected:
  void Execute() override;
  // OnTimer when assigned.
  virtual void DoTimer();

private:
  void Tick();
  void Stop();

  std::atomic<bool> FEnabled{false};
  std::atomic<uint32_t> FInterval{100};
  HANDLE FWake;      // auto-reset: a change of Enabled or Interval, or the end
  int FTickDepth = 0;  // GUI thread only
};
