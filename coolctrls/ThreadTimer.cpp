#include "coolctrls/ThreadTimer.h"

#include "vcl/Controls.h"
#include "vcl/Forms.h"

#include <algorithm>

TThreadTimer::TThreadTimer() : TThread(true), FWake(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  if (!FWake) throw EThread("Cannot create the timer's event");
  SetPriority(tpIdle);
}

TThreadTimer::~TThreadTimer() {
  Stop();
  if (Handle() && !Finished() && !Suspended()) WaitFor();
  CloseHandle(FWake);
}

void TThreadTimer::Stop() {
  FEnabled = false;
  Terminate();
  SetEvent(FWake);
  TThread::RemoveQueuedEvents(this);
}

void TThreadTimer::BeforeDestruction() {
  Stop();
  inherited::BeforeDestruction();
}

void TThreadTimer::Release() {
  if (FTickDepth == 0) {
    TObject::Free(this);
    return;
  }
  // The worker waits for this tick to return: it ends then, and frees the object.
  Stop();
  SetFreeOnTerminate(true);
}

void TThreadTimer::SetEnabled(bool Value) {
  if (Terminated() || FEnabled.exchange(Value) == Value) return;
  if (Value) Resume();
  SetEvent(FWake);
}

void TThreadTimer::SetInterval(uint32_t Value) {
  Value = std::max<uint32_t>(Value, 1);
  if (FInterval.exchange(Value) == Value) return;
  SetEvent(FWake);
}

void TThreadTimer::Execute() {
  while (!Terminated()) {
    if (!FEnabled) {
      WaitForSingleObject(FWake, INFINITE);
      continue;
    }
    if (WaitForSingleObject(FWake, FInterval) != WAIT_TIMEOUT) continue;  // a change: look again
    if (FEnabled && !Terminated()) Synchronize(TThreadMethod::Bind<&TThreadTimer::Tick>(this));
  }
}

void TThreadTimer::Tick() {
  if (!FEnabled || Terminated()) return;
  if (Application && Application->Terminated()) {
    Terminate();
    return;
  }
  ++FTickDepth;
  try {
    DoTimer();
  } catch (...) {
    HandleVclException(this);
  }
  --FTickDepth;
}

void TThreadTimer::DoTimer() {
  if (OnTimer) OnTimer(this);
}

ORV_IMPLEMENT_CLASS(TThreadTimer, TThread)
