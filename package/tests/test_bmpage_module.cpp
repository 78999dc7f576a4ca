// The page-control module: its timer runs off the GUI thread from start-up, page controls come
// and go under it in numbers, and programs using it end cleanly.
#include "package/tests/pkgtest.h"

#include <deque>

namespace {

using namespace pkgtest;

bool WaitTicks(unsigned From, unsigned Count, DWORD TimeoutMs = 20000) {
  const DWORD Start = GetTickCount();
  while (TBMPageModule::TickCount() - From < Count) {
    if (GetTickCount() - Start > TimeoutMs) return false;
    vcltest::PumpMessages();
    Sleep(5);
  }
  return true;
}

TEST(PageModule, TimerTicksOffTheGuiThreadWithNoPageControl) {
  ASSERT_TRUE(TBMPageModule::Running());
  ASSERT_EQ(TBMPageModule::ControlCount(), 0);
  const unsigned From = TBMPageModule::TickCount();
  EXPECT_TRUE(WaitTicks(From, 20));
  EXPECT_NE(TBMPageModule::TickThreadId(), 0ul);
  EXPECT_NE(TBMPageModule::TickThreadId(), GetCurrentThreadId());
}

// Ends the process with a message when the test it guards has not finished in time: a hang
// fails instead of blocking the run.
class TWatchdog {
public:
  explicit TWatchdog(DWORD Ms) : FDone(CreateEventA(nullptr, TRUE, FALSE, nullptr)), FMs(Ms) {
    FThread = CreateThread(nullptr, 0, &Watch, this, 0, nullptr);
  }
  ~TWatchdog() {
    SetEvent(FDone);
    WaitForSingleObject(FThread, INFINITE);
    CloseHandle(FThread);
    CloseHandle(FDone);
  }
private:
  static DWORD WINAPI Watch(void* Self) {
    auto* W = static_cast<TWatchdog*>(Self);
    if (WaitForSingleObject(W->FDone, W->FMs) == WAIT_TIMEOUT) {
      std::fprintf(stderr, "watchdog: the test hung for %lu ms\n", (unsigned long)W->FMs);
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
  }
  HANDLE FDone;
  DWORD FMs;
  HANDLE FThread;
};

// 2000 page controls with sheets, each hot and painted, flashing on the real timer while mouse
// moves and leaves arrive, a few alive at a time and then destroyed.
TEST(PageModule, ThousandsOfPageControlsComeAndGoUnderTheTimer) {
  TWatchdog Dog(300000);
  TFormPtr Form(TForm::CreateNew<TForm>(nullptr));
  Form->SetBounds(40, 40, 700, 300);
  Form->Show();
  vcltest::PumpMessages();
  vcltest::MoveMouse(GetDesktopWindow(), 1000, 740);
  // A parent each, so what one control broadcasts to its neighbours stays with it.
  std::vector<TWinControl*> Slots;
  for (int I = 0; I < 8; ++I) {
    auto* Slot = TComponent::Create<TWinControl>(Form.get());
    Slot->SetBounds(10 + (I % 4) * 160, 10 + (I / 4) * 130, 150, 120);
    Slot->SetParent(Form.get());
    Slots.push_back(Slot);
  }
  std::deque<TBMPageControl*> Live;
  auto Flashed = [&] {
    for (TBMPageControl* P : Live)
      if (P->FlashPhase() != 0) return true;
    return false;
  };
  unsigned Checkpoint = TBMPageModule::TickCount();
  for (int I = 0; I < 2000; ++I) {
    auto* P = TComponent::Create<TBMPageControl>(Form.get());
    P->SetBounds(4 + I % 5, 4 + I % 7, 130, 100);
    P->SetHotTrack(true);
    P->SetFlashingDelay(10);
    P->SetUnFlashedDelay(10);
    for (int J = 0; J < 1 + I % 3; ++J) {
      auto* S = TComponent::Create<TBMTabSheet>(Form.get());
      S->SetCaption(J == 0 ? "A" : "B");
      S->SetPageControl(P);
    }
    P->SetActivePage(P->Pages(0));
    P->SetParent(Slots[size_t(I % 8)]);
    const TRect T = P->TabRect(0);
    const TPoint Centre((T.Left + T.Right) / 2, (T.Top + T.Bottom) / 2);
    if (I % 2 == 0) {
      // As the window system moves the mouse in: the leave follows, the cursor being elsewhere.
      vcltest::SendMouse(P->Handle(), WM_MOUSEMOVE, Centre.X, Centre.Y);
    } else {
      // Entered and moved without leave tracking: it stays hot and flashes until destroyed.
      TMessage Enter{CM_MOUSEENTER, 0, 0, 0};
      P->Dispatch(Enter);
      TMessage Move{WM_MOUSEMOVE, 0, PointToLParam(Centre), 0};
      P->Dispatch(Move);
    }
    UpdateWindow(P->Handle());
    Live.push_back(P);
    if (Live.size() > 6) {
      TObject::Free(Live.front());
      Live.pop_front();
    }
    vcltest::PumpMessages();
    if (I % 200 == 199) {
      // Now and then until a tick has come and a live control has moved its phase.
      ASSERT_TRUE(WaitTicks(Checkpoint, 1)) << "no tick since control " << I - 199;
      ASSERT_TRUE(vcltest::PumpUntil(Flashed, 2000)) << "no control flashes at control " << I;
      Checkpoint = TBMPageModule::TickCount();
    }
  }
  while (!Live.empty()) {
    TObject::Free(Live.front());
    Live.pop_front();
  }
  Form.reset();
  EXPECT_EQ(TBMPageModule::ControlCount(), 0);
  EXPECT_TRUE(WaitTicks(TBMPageModule::TickCount(), 5));
}

// The folder of this test program (the helper program is built beside it).
std::string ProgramDir() {
  char Path[MAX_PATH];
  DWORD N = GetModuleFileNameA(nullptr, Path, MAX_PATH);
  std::string S(Path, N);
  return S.substr(0, S.find_last_of("\\/") + 1);
}

TEST(PageModule, ProgramsWithFlashingPageControlsEndCleanly) {
  const std::string Exe = ProgramDir() + ORVALEN_PAGEEXIT_EXE;
  for (int Run = 0; Run < 50; ++Run) {
    STARTUPINFOA Si{};
    Si.cb = sizeof Si;
    PROCESS_INFORMATION Pi{};
    std::string Cmd = "\"" + Exe + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Si, &Pi))
        << Exe << " (run " << Run << ", error " << GetLastError() << ")";
    const DWORD Wait = WaitForSingleObject(Pi.hProcess, 90000);
    DWORD Code = 99;
    if (Wait == WAIT_OBJECT_0) GetExitCodeProcess(Pi.hProcess, &Code);
    else TerminateProcess(Pi.hProcess, 99);
    CloseHandle(Pi.hThread);
    CloseHandle(Pi.hProcess);
    ASSERT_EQ(Wait, DWORD(WAIT_OBJECT_0)) << "run " << Run << " did not end";
    ASSERT_EQ(Code, 0u) << "run " << Run;
  }
}

}  // namespace
