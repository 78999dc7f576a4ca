// Threads and their calls on the GUI thread, window procedures bound to methods, and the hidden
// utility windows.
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace {

using vcltest::PumpUntil;

// A thread running a function.
class TFunctionThread : public TThread {
public:
  explicit TFunctionThread(std::function<void(TFunctionThread*)> Body, bool CreateSuspended = false)
      : TThread(CreateSuspended), FBody(std::move(Body)) {}
  using TThread::SetReturnValue;
  using TThread::Synchronize;
protected:
  void Execute() override { FBody(this); }
private:
  std::function<void(TFunctionThread*)> FBody;
};

// What a synchronised call saw.
struct TCallLog : TObject {
  std::atomic<int> Calls{0};
  std::atomic<unsigned> CallThread{0};
  std::atomic<bool> WorkerPastSync{false};
  std::atomic<bool> WorkerWasWaiting{false};
  std::atomic<bool> BoxOpen{false};
  void Record() {
    CallThread = GetCurrentThreadId();
    WorkerWasWaiting = !WorkerPastSync;
    ++Calls;
  }
  void Throw() { throw EConvertError("'x' is not a valid integer value"); }
  void Terminated(TObject* Sender) {
    CallThread = GetCurrentThreadId();
    ++Calls;
  }
  // Sees whether a message box of the test's caption is open.
  void LookForBox() {
    BoxOpen = FindWindowA(nullptr, "Box of the thread test") != nullptr;
    Record();
  }
  void EndTheMenu() {
    Record();
    EndMenu();
  }
};

template <class T> struct TFreeGuard {
  T* Obj;
  ~TFreeGuard() { TObject::Free(Obj); }
};

TEST(Threads, SynchronizedCallRunsOnTheGuiThreadWhileTheWorkerWaits) {
  TCallLog Log;
  auto* T = New<TFunctionThread>([&](TFunctionThread* Self) {
    Self->Synchronize(TThreadMethod::Bind<&TCallLog::Record>(&Log));
    Log.WorkerPastSync = true;
    Self->SetReturnValue(7);
  });
  TFreeGuard<TFunctionThread> G{T};
  ASSERT_TRUE(PumpUntil([&] { return Log.WorkerPastSync.load(); }));
  EXPECT_EQ(Log.Calls, 1);
  EXPECT_EQ(Log.CallThread, MainThreadID);
  EXPECT_NE(T->ThreadID(), MainThreadID);
  EXPECT_TRUE(Log.WorkerWasWaiting) << "Synchronize returned before the call ran";
  EXPECT_EQ(T->WaitFor(), 7);
  EXPECT_TRUE(T->Finished());
  EXPECT_FALSE(T->FatalException());
}

TEST(Threads, ExceptionOfTheCallIsRaisedAgainInTheWorker) {
  TCallLog Log;
  std::string Caught;
  auto* T = New<TFunctionThread>([&](TFunctionThread* Self) {
    try {
      Self->Synchronize(TThreadMethod::Bind<&TCallLog::Throw>(&Log));
    } catch (EConvertError& E) {
      Caught = std::string(E.ClassName()) + ": " + E.Message().c_str();
    }
  });
  TFreeGuard<TFunctionThread> G{T};
  ASSERT_TRUE(PumpUntil([&] { return T->Finished(); }));
  T->WaitFor();
  EXPECT_EQ(Caught, "EConvertError: 'x' is not a valid integer value");
}

TEST(Threads, ExceptionLeavingExecuteEndsOnlyItsThread) {
  std::atomic<bool> OtherRan{false};
  auto* Failing = New<TFunctionThread>([](TFunctionThread*) { throw EInvalidOperation("worker failed"); });
  TFreeGuard<TFunctionThread> G1{Failing};
  Failing->WaitFor();
  auto* Other = New<TFunctionThread>([&](TFunctionThread*) { OtherRan = true; });
  TFreeGuard<TFunctionThread> G2{Other};
  Other->WaitFor();
  EXPECT_TRUE(OtherRan);
  ASSERT_TRUE(Failing->FatalException());
  try {
    std::rethrow_exception(Failing->FatalException());
  } catch (EInvalidOperation& E) {
    EXPECT_STREQ(E.Message().c_str(), "worker failed");
  }
}

// The main thread waiting for a worker still runs the worker's calls (no deadlock), and the
// thread's OnTerminate runs there too.
TEST(Threads, WaitForRunsTheCallsOfTheThreadItWaitsFor) {
  TCallLog Log, Term;
  auto* T = New<TFunctionThread>(
      [&](TFunctionThread* Self) {
        for (int I = 0; I < 3; ++I) Self->Synchronize(TThreadMethod::Bind<&TCallLog::Record>(&Log));
      },
      true);
  TFreeGuard<TFunctionThread> G{T};
  T->OnTerminate = EVENT(&Term, TCallLog::Terminated);
  EXPECT_TRUE(T->Suspended());
  T->Resume();
  EXPECT_FALSE(T->Suspended());
  T->WaitFor();
  EXPECT_EQ(Log.Calls, 3);
  EXPECT_EQ(Term.Calls, 1);
  EXPECT_EQ(Term.CallThread, MainThreadID);
}

TEST(Threads, WaitingForAThreadThatNeverStartedIsAnError) {
  std::atomic<bool> Ran{false};
  auto* T = New<TFunctionThread>([&](TFunctionThread*) { Ran = true; }, true);
  EXPECT_THROW(T->WaitFor(), EThread);
  // Freed, it ends without running Execute.
  TObject::Free(T);
  EXPECT_FALSE(Ran);
}

TEST(Threads, FreeingARunningThreadTerminatesAndWaits) {
  std::atomic<int> Rounds{0};
  std::atomic<bool> Left{false};
  auto* T = New<TFunctionThread>([&](TFunctionThread* Self) {
    while (!Self->Terminated()) {
      ++Rounds;
      Sleep(1);
    }
    Left = true;
  });
  ASSERT_TRUE(PumpUntil([&] { return Rounds > 0; }));
  TObject::Free(T);
  EXPECT_TRUE(Left);
}

// A thread that frees itself when it ends.
class TSelfFreeing : public TThread {
public:
  TSelfFreeing(std::atomic<bool>* Freed) : TThread(true), FFreed(Freed) { SetFreeOnTerminate(true); }
  ~TSelfFreeing() override { *FFreed = true; }
protected:
  void Execute() override {}
private:
  std::atomic<bool>* FFreed;
};

TEST(Threads, FreeOnTerminateFreesTheObjectWhenTheThreadEnds) {
  std::atomic<bool> Freed{false};
  auto* T = New<TSelfFreeing>(&Freed);
  EXPECT_TRUE(T->FreeOnTerminate());
  T->Resume();
  EXPECT_TRUE(PumpUntil([&] { return Freed.load(); }));
}

TEST(Threads, WithdrawnCallsNeverRun) {
  TCallLog Log;
  std::atomic<bool> Queued{false};
  auto* T = New<TFunctionThread>(
      [&](TFunctionThread* Self) {
        Queued = true;
        Self->Synchronize(TThreadMethod::Bind<&TCallLog::Record>(&Log));
        Log.WorkerPastSync = true;
      },
      true);
  TFreeGuard<TFunctionThread> G{T};
  T->Resume();
  // The GUI thread does not pump meanwhile: the call stays queued until it is withdrawn.
  while (!Queued) Sleep(1);
  Sleep(20);
  EXPECT_FALSE(Log.WorkerPastSync);
  TThread::RemoveQueuedEvents(T);
  while (!Log.WorkerPastSync) Sleep(1);
  vcltest::PumpRounds(3);
  EXPECT_EQ(Log.Calls, 0);
}

TEST(Threads, PriorityIsTheSystemThreadsPriority) {
  const struct {
    TThreadPriority Priority;
    int System;
  } Cases[] = {
      {tpIdle, THREAD_PRIORITY_IDLE},       {tpLowest, THREAD_PRIORITY_LOWEST},
      {tpLower, THREAD_PRIORITY_BELOW_NORMAL}, {tpNormal, THREAD_PRIORITY_NORMAL},
      {tpHigher, THREAD_PRIORITY_ABOVE_NORMAL}, {tpHighest, THREAD_PRIORITY_HIGHEST},
      {tpTimeCritical, THREAD_PRIORITY_TIME_CRITICAL},
  };
  auto* T = New<TFunctionThread>([](TFunctionThread*) {}, true);
  TFreeGuard<TFunctionThread> G{T};
  EXPECT_EQ(T->Priority(), tpNormal);
  for (const auto& C : Cases) {
    SCOPED_TRACE(TThreadPriorityType.ValueToName(C.Priority));
    T->SetPriority(C.Priority);
    EXPECT_EQ(GetThreadPriority(reinterpret_cast<HANDLE>(T->Handle())), C.System);
    EXPECT_EQ(T->Priority(), C.Priority);
  }
  EXPECT_THROW(T->SetPriority(TThreadPriority(9)), EThread);
}

// A message box runs its own loop; the application window still runs the calls.
TEST(Threads, CallsArriveWhileAMessageBoxIsOpen) {
  TCallLog Log;
  auto* Closer = New<TFunctionThread>([&](TFunctionThread* Self) {
    HWND Box = nullptr;
    for (int I = 0; I < 500 && !Box; ++I, Sleep(10)) Box = FindWindowA(nullptr, "Box of the thread test");
    if (!Box) return;
    Self->Synchronize(TThreadMethod::Bind<&TCallLog::LookForBox>(&Log));
    Self->Synchronize(TThreadMethod::Bind<&TCallLog::LookForBox>(&Log));
    PostMessageA(Box, WM_COMMAND, IDOK, 0);
  });
  TFreeGuard<TFunctionThread> G{Closer};
  Application->Handle();
  EXPECT_EQ(Application->MessageBox("Closed by a thread", "Box of the thread test", MB_OK), IDOK);
  Closer->WaitFor();
  EXPECT_EQ(Log.Calls, 2);
  EXPECT_TRUE(Log.BoxOpen);
  EXPECT_EQ(Log.CallThread, MainThreadID);
}

// ----- object instances and utility windows

struct TInstanceLog : TObject {
  WNDPROC Saved = nullptr;
  HWND Wnd = nullptr;
  std::vector<TMessage> Seen;
  WNDPROC Self = nullptr;
  bool FreeItselfOnNext = false;
  void Proc(TMessage& M) {
    Seen.push_back(M);
    if (M.Msg == WM_APP) {
      M.Result = LRESULT(M.WParam ^ uintptr_t(M.LParam));
      return;
    }
    if (FreeItselfOnNext && M.Msg == WM_APP + 1) {
      SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Saved));
      FreeObjectInstance(Self);
      M.Result = 42;
      return;
    }
    M.Result = CallWindowProcA(Saved, Wnd, M.Msg, M.WParam, M.LParam);
  }
};

TEST(ObjectInstances, CarryEveryMessageWholeToTheMethod) {
  vcltest::TTestWindow W(100, 80);
  TInstanceLog Log;
  Log.Wnd = W.Handle();
  Log.Self = MakeObjectInstance(TWndMethod::Bind<&TInstanceLog::Proc>(&Log));
  Log.Saved = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(W.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Log.Self)));
  const uintptr_t WP = sizeof(void*) == 8 ? uintptr_t(0x8123456789ABCDEFull) : uintptr_t(0x89ABCDEFu);
  const intptr_t LP = intptr_t(sizeof(void*) == 8 ? uintptr_t(0xF0E0D0C0B0A09080ull) : uintptr_t(0xB0A09080u));
  const LRESULT R = SendMessageA(W.Handle(), WM_APP, WPARAM(WP), LPARAM(LP));
  EXPECT_EQ(uintptr_t(R), WP ^ uintptr_t(LP));
  ASSERT_FALSE(Log.Seen.empty());
  EXPECT_EQ(Log.Seen.back().Msg, unsigned(WM_APP));
  EXPECT_EQ(Log.Seen.back().WParam, WP);
  EXPECT_EQ(Log.Seen.back().LParam, LP);
  // Forwarded messages still work (the window keeps its text).
  SetWindowTextA(W.Handle(), "Through the instance");
  char Buf[64] = {};
  GetWindowTextA(W.Handle(), Buf, sizeof Buf);
  EXPECT_STREQ(Buf, "Through the instance");
  // An instance freed inside its own message finishes it and is never called again.
  Log.FreeItselfOnNext = true;
  EXPECT_EQ(SendMessageA(W.Handle(), WM_APP + 1, 0, 0), 42);
  const size_t Count = Log.Seen.size();
  SendMessageA(W.Handle(), WM_APP, 1, 2);
  EXPECT_EQ(Log.Seen.size(), Count);
  EXPECT_EQ(GetWindowLongPtrA(W.Handle(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(Log.Saved));
}

TEST(ObjectInstances, FreeingIgnoresWhatItDidNotMake) {
  TInstanceLog Log;
  WNDPROC P = MakeObjectInstance(TWndMethod::Bind<&TInstanceLog::Proc>(&Log));
  FreeObjectInstance(nullptr);
  FreeObjectInstance(&DefWindowProcA);
  FreeObjectInstance(reinterpret_cast<WNDPROC>(reinterpret_cast<uintptr_t>(P) + 1));
  // Still alive: it answers.
  EXPECT_EQ(CallWindowProcA(P, nullptr, WM_APP, 6, 3), 5);
  FreeObjectInstance(P);
  FreeObjectInstance(P);  // twice: nothing
  // Many at once, across pool blocks, each its own.
  std::vector<std::unique_ptr<TInstanceLog>> Logs;
  std::vector<WNDPROC> Procs;
  for (int I = 0; I < 300; ++I) {
    Logs.push_back(std::make_unique<TInstanceLog>());
    Procs.push_back(MakeObjectInstance(TWndMethod::Bind<&TInstanceLog::Proc>(Logs.back().get())));
  }
  for (int I = 0; I < 300; ++I) {
    EXPECT_EQ(CallWindowProcA(Procs[size_t(I)], nullptr, WM_APP, WPARAM(I), 0), I);
    EXPECT_EQ(Logs[size_t(I)]->Seen.size(), 1u);
  }
  for (WNDPROC Proc : Procs) FreeObjectInstance(Proc);
}

TEST(ObjectInstances, AnExceptionGoesToTheApplication) {
  struct TThrower : TObject {
    void Proc(TMessage&) { throw EInvalidOperation("from the method"); }
  } Thrower;
  struct TCatcher : TObject {
    std::string Text;
    TObject* Sender = nullptr;
    void Caught(TObject* S, Exception& E) {
      Sender = S;
      Text = E.Message().c_str();
    }
  } Catcher;
  const TExceptionEvent Saved = Application->OnException;
  Application->OnException = EVENT(&Catcher, TCatcher::Caught);
  WNDPROC P = MakeObjectInstance(TWndMethod::Bind<&TThrower::Proc>(&Thrower));
  EXPECT_EQ(CallWindowProcA(P, nullptr, WM_APP, 0, 0), 0);
  Application->OnException = Saved;
  FreeObjectInstance(P);
  EXPECT_EQ(Catcher.Text, "from the method");
  EXPECT_EQ(Catcher.Sender, &Thrower);
}

// A utility window owns a tracked menu; a worker's call still arrives during the menu's loop.
struct TUtilLog : TObject {
  HWND Wnd = nullptr;
  std::vector<unsigned> Msgs;
  TFunctionThread* Worker = nullptr;
  TCallLog* Calls = nullptr;
  void Proc(TMessage& M) {
    Msgs.push_back(M.Msg);
    if (M.Msg == WM_INITMENUPOPUP && !Worker)
      Worker = New<TFunctionThread>([this](TFunctionThread* Self) {
        Self->Synchronize(TThreadMethod::Bind<&TCallLog::EndTheMenu>(Calls));
      });
    M.Result = DefWindowProcA(Wnd, M.Msg, M.WParam, M.LParam);
  }
};

TEST(UtilityWindows, HiddenTopLevelWindowsWhoseMessagesGoToAMethod) {
  TUtilLog Log;
  TCallLog Calls;
  Log.Calls = &Calls;
  HWND Wnd = AllocateHWnd(TWndMethod::Bind<&TUtilLog::Proc>(&Log));
  Log.Wnd = Wnd;
  ASSERT_TRUE(IsWindow(Wnd));
  EXPECT_FALSE(IsWindowVisible(Wnd));
  EXPECT_EQ(GetParent(Wnd), nullptr);
  EXPECT_FALSE(GetWindowLongA(Wnd, GWL_STYLE) & WS_CHILD);
  SendMessageA(Wnd, WM_APP + 3, 0, 0);
  ASSERT_FALSE(Log.Msgs.empty());
  EXPECT_EQ(Log.Msgs.back(), unsigned(WM_APP + 3));

  HMENU Menu = CreatePopupMenu();
  AppendMenuA(Menu, MF_STRING, 100, "Item");
  SetForegroundWindow(Wnd);
  TrackPopupMenu(Menu, TPM_LEFTALIGN | TPM_RETURNCMD, 50, 50, 0, Wnd, nullptr);
  DestroyMenu(Menu);
  EXPECT_EQ(Calls.Calls, 1) << "the call ended the menu from inside its loop";
  EXPECT_EQ(Calls.CallThread, MainThreadID);
  if (Log.Worker) {
    Log.Worker->WaitFor();
    TObject::Free(Log.Worker);
  }

  DeallocateHWnd(Wnd);
  EXPECT_FALSE(IsWindow(Wnd));
  // Another window is none of its business.
  vcltest::TTestWindow Other(50, 50);
  DeallocateHWnd(Other.Handle());
  EXPECT_TRUE(IsWindow(Other.Handle()));
  // Without a method the window still answers, through DefWindowProcA.
  HWND Plain = AllocateHWnd(nullptr);
  SetWindowTextA(Plain, "plain");
  char Buf[16] = {};
  GetWindowTextA(Plain, Buf, sizeof Buf);
  EXPECT_STREQ(Buf, "plain");
  DeallocateHWnd(Plain);
  EXPECT_FALSE(IsWindow(Plain));
}

}  // namespace
