#include "package/BMPageModule.h"
#include "package/BMPageControl.h"

#include <mmsystem.h>

#include <atomic>

namespace {

// The critical section with a flags word, as the module allocates it.
struct TModuleLock {
  CRITICAL_SECTION Section;
  unsigned Flags = 0;
};

// Constant-initialised, so they hold before any start-up code runs, whatever its order.
// The lock pointer is the sign that the module is alive: null before start and after end.
constinit std::atomic<TModuleLock*> GLock{nullptr};
constinit TList* GList = nullptr;              // PageControlList, guarded by the lock
constinit bool GStopping = false;              // guarded by the lock: no more re-arming
constinit std::atomic<UINT> GTimerId{0};       // ModuleTimerId; -1 once the one-shot event fired
constinit std::atomic<int> GTicksRunning{0};   // ticks between their entry and their return
constinit std::atomic<unsigned> GTickCount{0};
constinit std::atomic<DWORD> GTickThread{0};
constinit std::atomic<bool> GWalkHeld{false};
constinit int GState = 0;                      // 0 before start, 1 running, 2 ended

void CALLBACK Tick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);

void Arm() { GTimerId = timeSetEvent(10, 10, &Tick, 0, TIME_ONESHOT); }

void Walk() {
  for (int I = 0; I < GList->Count(); ++I) static_cast<TBMPageControl*>(GList->Items(I))->UpdateHighlighted();
}

// On winmm's timer thread: nothing may escape it.
void CALLBACK Tick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
  ++GTicksRunning;
  GTimerId = UINT(-1);
  if (TModuleLock* L = GLock.load()) {
    EnterCriticalSection(&L->Section);
    ++GTickCount;
    GTickThread = GetCurrentThreadId();
    if (!GStopping) {
      if (!GWalkHeld) {
        try {
          Walk();
        } catch (...) {
        }
      }
      Arm();
    }
    LeaveCriticalSection(&L->Section);
  }
  --GTicksRunning;
}

void ModuleStart() {
  if (GState != 0) return;
  GState = 1;
  auto* L = new TModuleLock;
  InitializeCriticalSection(&L->Section);
  GList = new TList;
  GLock = L;
  Arm();
}

// Stops the chain: no tick re-arms once the flag is set, the pending event is killed, and a tick
// already past its look at the lock pointer is waited for (without the lock) before the list and
// the lock go.
void ModuleEnd() {
  TModuleLock* L = GLock.load();
  if (GState != 1 || !L) return;
  GState = 2;
  EnterCriticalSection(&L->Section);
  GStopping = true;
  UINT Id = GTimerId.exchange(0);
  LeaveCriticalSection(&L->Section);
  GLock = nullptr;
  if (Id != 0 && Id != UINT(-1)) timeKillEvent(Id);
  // A tick that never returns (its thread ended by a process exit that skipped ours) keeps them.
  const DWORD Start = GetTickCount();
  while (GTicksRunning.load() != 0) {
    if (GetTickCount() - Start > 5000) return;
    Sleep(1);
  }
  TObject::Free(GList);
  GList = nullptr;
  DeleteCriticalSection(&L->Section);
  delete L;
}

struct TBMPageUnit {
  TBMPageUnit() { ModuleStart(); }
  ~TBMPageUnit() { ModuleEnd(); }
} BMPageUnit;

}  // namespace

void TBMPageModule::Register(TBMPageControl* Control) {
  ModuleStart();
  TBMPageLock Lock;
  if (GLock.load()) GList->Add(Control);
}

void TBMPageModule::Unregister(TBMPageControl* Control) {
  TBMPageLock Lock;
  if (GLock.load()) GList->Remove(Control);
}

int TBMPageModule::ControlCount() {
  TBMPageLock Lock;
  return GLock.load() ? GList->Count() : 0;
}

bool TBMPageModule::Running() { return GLock.load() != nullptr; }

unsigned TBMPageModule::TickCount() { return GTickCount.load(); }

unsigned long TBMPageModule::TickThreadId() { return GTickThread.load(); }

void TBMPageModule::HoldWalk(bool Held) { GWalkHeld = Held; }

void TBMPageModule::StepWalk() {
  TBMPageLock Lock;
  if (GLock.load()) Walk();
}

TBMPageLock::TBMPageLock() : FLock(GLock.load()) {
  if (FLock) EnterCriticalSection(&static_cast<TModuleLock*>(FLock)->Section);
}

TBMPageLock::~TBMPageLock() {
  if (FLock) LeaveCriticalSection(&static_cast<TModuleLock*>(FLock)->Section);
}
