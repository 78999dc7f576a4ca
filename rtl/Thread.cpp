// TThread over Win32 threads, and the queue of calls that threads hand to the main thread.
// The native build (portable code only) has the priority names but no threads.
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

constexpr TEnumType TThreadPriorityType{
    "TThreadPriority", {"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"}};

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <process.h>

#include <algorithm>
#include <deque>
#include <mutex>

const unsigned MainThreadID = GetCurrentThreadId();

namespace {

// One Synchronize call waiting for the main thread.
struct TSyncCall {
  TThread* Thread;
  TThreadMethod Method;
  HANDLE Done;
  std::exception_ptr Error;
};

struct TSyncQueue {
  std::mutex Lock;
  std::deque<TSyncCall*> Calls;
  // Set when a call is queued, so a waiting main thread wakes.
  HANDLE Queued = CreateEventA(nullptr, FALSE, FALSE, nullptr);
};

TSyncQueue& SyncQueue() {
  static TSyncQueue* Q = new TSyncQueue;  // lives as long as any thread may queue
  return *Q;
}

std::atomic<TWakeMainThreadProc> WakeProc{nullptr};

constexpr int SystemPriorities[] = {
    THREAD_PRIORITY_IDLE,   THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
    THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL,
};

AnsiString LastErrorText() {
  char Buf[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, Buf,
                 sizeof Buf, nullptr);
  return Trim(AnsiString(Buf));
}

[[noreturn]] void ThreadError(const char* What) { throw EThread("%s: %s", {What, LastErrorText()}); }

}  // namespace

TWakeMainThreadProc SetWakeMainThread(TWakeMainThreadProc Proc) { return WakeProc.exchange(Proc); }

// ---------------------------------------------------------------------------------------------

struct TThreadStart {
  static unsigned __stdcall Proc(void* Thread) {
    static_cast<TThread*>(Thread)->Run();
    return 0;
  }
};

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {
  unsigned Id = 0;
  FHandle = _beginthreadex(nullptr, 0, &TThreadStart::Proc, this, CREATE_SUSPENDED, &Id);
  if (!FHandle) throw EThread("Thread creation error: %s", {LastErrorText()});
  FThreadID = Id;
}

TThread::~TThread() {
  // Deleted without Free: waiting here is late for a derived class's members, but better than a
  // thread running on freed memory.
  if (FHandle && !FFinished && GetCurrentThreadId() != FThreadID) TThread::BeforeDestruction();
  if (FHandle) CloseHandle(reinterpret_cast<HANDLE>(FHandle));
}

void TThread::AfterConstruction() {
  TObject::AfterConstruction();
  if (!FCreateSuspended) Resume();
}

void TThread::BeforeDestruction() {
  if (FHandle && !FFinished && GetCurrentThreadId() != FThreadID) {
    Terminate();
    Resume();
    WaitFor();
  }
  TObject::BeforeDestruction();
}

void TThread::Resume() {
  if (FSuspended.exchange(false)) ResumeThread(reinterpret_cast<HANDLE>(FHandle));
}

void TThread::Run() {
  if (!FTerminated) {
    try {
      Execute();
    } catch (...) {
      FFatalException = std::current_exception();
    }
  }
  const bool FreeThread = FFreeOnTerminate;
  try {
    DoTerminate();
  } catch (...) {
    // OnTerminate's exception came back here; it ends with the thread.
  }
  FFinished = true;
  if (FreeThread) TObject::Free(this);
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize(TThreadMethod::Bind<&TThread::CallOnTerminate>(this));
}

void TThread::CallOnTerminate() {
  if (OnTerminate) OnTerminate(this);
}

int TThread::WaitFor() {
  if (GetCurrentThreadId() == FThreadID) throw EThread("A thread cannot wait for itself");
  if (FSuspended) throw EThread("Cannot wait for a thread that has not started");
  WaitSynchronizing(FHandle);
  return FReturnValue;
}

void WaitSynchronizing(uintptr_t Object) {
  HANDLE Handles[2] = {reinterpret_cast<HANDLE>(Object), SyncQueue().Queued};
  if (GetCurrentThreadId() != MainThreadID) {
    if (WaitForSingleObject(Handles[0], INFINITE) != WAIT_OBJECT_0) ThreadError("Thread wait failed");
    return;
  }
  for (;;) {
    const DWORD R = MsgWaitForMultipleObjects(2, Handles, FALSE, INFINITE, QS_SENDMESSAGE);
    if (R == WAIT_OBJECT_0) return;
    if (R == WAIT_OBJECT_0 + 1) {
      CheckSynchronize();
    } else if (R == WAIT_OBJECT_0 + 2) {
      MSG Msg;
      PeekMessageA(&Msg, nullptr, 0, 0, PM_NOREMOVE);  // handles the sent messages
    } else {
      ThreadError("Thread wait failed");
    }
  }
}

TThreadPriority TThread::Priority() const {
  int P = GetThreadPriority(reinterpret_cast<HANDLE>(FHandle));
  for (int I = 0; I < int(std::size(SystemPriorities)); ++I)
    if (SystemPriorities[I] == P) return TThreadPriority(I);
  return tpNormal;
}

void TThread::SetPriority(TThreadPriority Value) {
  if (Value < tpIdle || Value > tpTimeCritical) throw EThread("Invalid thread priority %d", {int(Value)});
  if (!SetThreadPriority(reinterpret_cast<HANDLE>(FHandle), SystemPriorities[Value]))
    ThreadError("Cannot set the thread priority");
}

ORV_IMPLEMENT_CLASS(TThread, TObject)

// ---------------------------------------------------------------------------------------------
// Synchronisation with the main thread.

void TThread::Synchronize(TThread* Thread, TThreadMethod Method) {
  if (GetCurrentThreadId() == MainThreadID) {
    Method();
    return;
  }
  TSyncCall Call{Thread, Method, CreateEventA(nullptr, TRUE, FALSE, nullptr), nullptr};
  if (!Call.Done) ThreadError("Cannot synchronize");
  TSyncQueue& Q = SyncQueue();
  {
    std::lock_guard<std::mutex> L(Q.Lock);
    Q.Calls.push_back(&Call);
  }
  SetEvent(Q.Queued);
  if (TWakeMainThreadProc Wake = WakeProc.load()) Wake();
  WaitForSingleObject(Call.Done, INFINITE);
  CloseHandle(Call.Done);
  if (Call.Error) std::rethrow_exception(Call.Error);
}

void TThread::RemoveQueuedEvents(TThread* Thread) {
  TSyncQueue& Q = SyncQueue();
  std::lock_guard<std::mutex> L(Q.Lock);
  auto Keep = std::stable_partition(Q.Calls.begin(), Q.Calls.end(), [&](TSyncCall* C) { return C->Thread != Thread; });
  for (auto It = Keep; It != Q.Calls.end(); ++It) SetEvent((*It)->Done);  // its Synchronize returns
  Q.Calls.erase(Keep, Q.Calls.end());
}

bool CheckSynchronize(int Timeout) {
  if (GetCurrentThreadId() != MainThreadID)
    throw EThread("CheckSynchronize called from thread $%x, which is NOT the main thread",
                  {unsigned(GetCurrentThreadId())});
  TSyncQueue& Q = SyncQueue();
  if (Timeout > 0) WaitForSingleObject(Q.Queued, DWORD(Timeout));
  bool Ran = false;
  for (;;) {
    TSyncCall* Call;
    {
      std::lock_guard<std::mutex> L(Q.Lock);
      if (Q.Calls.empty()) break;
      Call = Q.Calls.front();
      Q.Calls.pop_front();
    }
    Ran = true;
    try {
      Call->Method();
    } catch (...) {
      Call->Error = std::current_exception();
    }
    SetEvent(Call->Done);  // the waiting thread owns Call from here on
  }
  return Ran;
}

#endif  // _WIN32
