// Window hooks: chains on one window installed and removed in any order, beside other
// subclasses, across a re-created window, and the hook list's window.
#include "coolctrls/CoolUtils.h"
#include "rtl/tests/default_check.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr unsigned WM_PROBE = WM_APP + 7;
constexpr unsigned WM_EAT = WM_APP + 8;

// What saw the probe message, in order: "A<" before-event of A, "A>" its after-event, "W" the
// control's own procedure, "X" the framework hook, "F" the foreign subclass.
std::string Trace;
void Note(const std::string& S) { Trace += Trace.empty() ? S : " " + S; }

WNDPROC ForeignPrev = nullptr;
LRESULT CALLBACK ForeignProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  if (Msg == WM_PROBE) Note("F");
  return CallWindowProcA(ForeignPrev, Wnd, Msg, W, L);
}

struct THookFixture : ::testing::Test, TObject {
  vcltest::TTestHost Host{200, 120};
  TWinControl* Control = nullptr;
  TWndMethod ControlProc;
  std::map<char, TWndHook*> Hooks;
  TWindowProcHook Framework;  // a hook of the kind the blended background uses
  bool EatProbe = false;
  char FreeInBefore = 0;

  void SetUp() override {
    Control = Host.Add<TWinControl>(10, 10, 100, 60);
    Control->HandleNeeded();
    ControlProc = Control->WindowProc;
    Control->WindowProc = TWndMethod::Bind<&THookFixture::OwnProc>(this);
  }
  void TearDown() override {
    Framework.Remove();
    for (auto& H : Hooks) TObject::Free(H.second);
    if (ForeignPrev && Control->HandleAllocated() &&
        GetWindowLongPtrA(Control->WindowHandle(), GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ForeignProc))
      SetWindowLongPtrA(Control->WindowHandle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignPrev));
    ForeignPrev = nullptr;
    Control->WindowProc = ControlProc;
  }

  void OwnProc(TMessage& M) {
    if (M.Msg == WM_PROBE || M.Msg == WM_EAT) Note("W");
    ControlProc(M);
  }
  void Before(TObject* Sender, TMessage& M, bool& Handled) {
    if (M.Msg != WM_PROBE && M.Msg != WM_EAT) return;
    const char Name = NameOf(Sender);
    Note(std::string(1, Name) + "<");
    if (M.Msg == WM_EAT) {
      Handled = true;
      M.Result = 1234;
    }
    if (FreeInBefore == Name) {
      Hooks.erase(Name);
      TObject::Free(Sender);
    }
  }
  void After(TObject* Sender, TMessage& M, bool& Handled) {
    if (M.Msg == WM_PROBE) Note(std::string(1, NameOf(Sender)) + ">");
  }
  void FrameworkProc(TMessage& M) {
    if (M.Msg == WM_PROBE) Note("X");
    M.Result = Framework.CallPrevious(M);
  }
  char NameOf(TObject* Hook) const {
    for (auto& H : Hooks)
      if (H.second == Hook) return H.first;
    return '?';
  }

  HWND Wnd() const { return Control->WindowHandle(); }
  LONG_PTR OwnProcedure() const { return GetClassLongPtrA(Wnd(), GCLP_WNDPROC); }
  TWndHook* NewHook(char Name, bool WithBefore = true) {
    auto* H = TComponent::Create<TWndHook>(nullptr);
    if (WithBefore) H->OnBeforeMessage = EVENT(this, THookFixture::Before);
    H->OnAfterMessage = EVENT(this, THookFixture::After);
    H->SetWinControl(Control);
    Hooks[Name] = H;
    return H;
  }
  std::string Probe(unsigned Msg = WM_PROBE) {
    Trace.clear();
    SendMessageA(Wnd(), Msg, 0, 0);
    return Trace;
  }
  // One step: "nA" makes hook A, "+A" activates it, "-A" deactivates it, "~A" frees it; "+X",
  // "-X" the framework hook; "+F" the foreign subclass.
  void Do(const std::string& Op) {
    const char Name = Op[1];
    if (Name == 'X') {
      if (Op[0] == '+') Framework.Install(Wnd(), TWindowProcHook::THandler::Bind<&THookFixture::FrameworkProc>(this));
      else Framework.Remove();
    } else if (Name == 'F') {
      ForeignPrev = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(Wnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    } else if (Op[0] == 'n') {
      NewHook(Name);
    } else if (Op[0] == '+') {
      if (!Hooks.count(Name)) NewHook(Name);
      Hooks[Name]->SetActive(true);
    } else if (Op[0] == '-') {
      Hooks[Name]->SetActive(false);
    } else {
      TObject::Free(Hooks[Name]);
      Hooks.erase(Name);
    }
  }
};

TEST_F(THookFixture, ChainsInstalledAndRemovedInAnyOrder) {
  struct TStep {
    const char* Op;
    const char* Trace;  // the probe's way after the step
  };
  const struct {
    const char* Name;
    std::vector<TStep> Steps;
  } Cases[] = {
      {"two, first removed first", {{"+A", "A< W A>"}, {"+B", "B< A< W A> B>"}, {"-A", "B< W B>"}, {"-B", "W"}}},
      {"two, last removed first", {{"+A", "A< W A>"}, {"+B", "B< A< W A> B>"}, {"~B", "A< W A>"}, {"~A", "W"}}},
      {"three, first removed", {{"+A", ""}, {"+B", ""}, {"+C", "C< B< A< W A> B> C>"}, {"~A", "C< B< W B> C>"},
                                {"-C", "B< W B>"}, {"-B", "W"}}},
      {"three, middle removed", {{"+A", ""}, {"+B", ""}, {"+C", ""}, {"-B", "C< A< W A> C>"}, {"~A", "C< W C>"},
                                 {"~C", "W"}}},
      {"three, last removed", {{"+A", ""}, {"+B", ""}, {"+C", ""}, {"~C", "B< A< W A> B>"}, {"~A", "B< W B>"},
                               {"-B", "W"}}},
      {"activated out of creation order",
       {{"nA", "W"}, {"nB", "W"}, {"nC", "W"}, {"+C", "C< W C>"}, {"+A", "A< C< W C> A>"},
        {"+B", "B< A< C< W C> A> B>"}, {"-A", "B< C< W C> B>"}, {"-B", "C< W C>"}, {"-C", "W"}}},
      {"a framework hook between two",
       {{"+A", ""}, {"+X", "X A< W A>"}, {"+B", "B< X A< W A> B>"}, {"-A", "B< X W B>"}, {"~B", "X W"},
        {"-X", "W"}}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    for (const TStep& S : C.Steps) {
      SCOPED_TRACE(S.Op);
      Do(S.Op);
      if (*S.Trace) {
        EXPECT_EQ(Probe(), S.Trace);
      }
    }
    EXPECT_EQ(GetWindowLongPtrA(Wnd(), GWLP_WNDPROC), OwnProcedure()) << "the window's own procedure at the end";
    EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0);
    for (auto& H : Hooks) TObject::Free(H.second);
    Hooks.clear();
  }
}

// Under a foreign subclass a removed hook can only pass messages on, until the window goes.
TEST_F(THookFixture, UnderAForeignSubclassARemovedHookPassesMessagesOn) {
  Do("+A");
  Do("+F");
  Do("+B");
  EXPECT_EQ(Probe(), "B< F A< W A> B>");
  Do("~A");
  EXPECT_EQ(Probe(), "B< F W B>");
  EXPECT_EQ(TWindowProcHook::PassThroughCount(), 1);
  Do("~B");
  EXPECT_EQ(GetWindowLongPtrA(Wnd(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ForeignProc));
  EXPECT_EQ(Probe(), "F W");
  Control->RecreateWnd();  // the old window goes, and with it the pass-through
  vcltest::PumpMessages();
  EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0);
  ForeignPrev = nullptr;
}

TEST_F(THookFixture, ARecreatedWindowIsHookedAgainInTheOldOrder) {
  for (int N : {2, 3}) {
    std::string Names = N == 2 ? "AB" : "ABC";
    std::sort(Names.begin(), Names.end());
    do {
      SCOPED_TRACE(std::to_string(N) + " hooks, removed in the order " + Names);
      std::string Order = N == 2 ? "AB" : "ABC";
      for (char H : Order) Do(std::string("+") + H);
      const std::string Before = Probe();
      const HWND Old = Wnd();
      Control->RecreateWnd();
      Control->HandleNeeded();
      ASSERT_NE(Wnd(), Old);
      vcltest::PumpMessages();
      for (auto& H : Hooks) EXPECT_TRUE(H.second->Active()) << H.first;
      EXPECT_EQ(Probe(), Before);
      for (char H : Names) {
        Do(std::string(Names.find(H) % 2 ? "~" : "-") + H);
        Order.erase(Order.find(H), 1);
        std::string Expected;
        for (auto It = Order.rbegin(); It != Order.rend(); ++It) Expected += std::string(1, *It) + "< ";
        Expected += "W";
        for (char O : Order) Expected += std::string(" ") + O + ">";
        EXPECT_EQ(Probe(), Expected);
      }
      EXPECT_EQ(GetWindowLongPtrA(Wnd(), GWLP_WNDPROC), OwnProcedure());
      for (auto& H : Hooks) TObject::Free(H.second);
      Hooks.clear();
    } while (std::next_permutation(Names.begin(), Names.end()));
  }
}

TEST_F(THookFixture, HandledKeepsTheEventsResultAndIsEachMessagesOwn) {
  Do("+A");
  Trace.clear();
  EXPECT_EQ(SendMessageA(Wnd(), WM_EAT, 0, 0), 1234);
  EXPECT_EQ(Trace, "A<") << "kept from the window";
  // An after-only hook over the handling one still passes every other message on.
  NewHook('B', false)->SetActive(true);
  SendMessageA(Wnd(), WM_EAT, 0, 0);
  EXPECT_EQ(Probe(), "A< W A> B>");
}

TEST_F(THookFixture, AHookFreedInItsBeforeEventStillLetsTheMessageThrough) {
  Do("+A");
  Do("+B");
  FreeInBefore = 'B';
  EXPECT_EQ(Probe(), "B< A< W A>");
  EXPECT_EQ(Hooks.count('B'), 0u);
  EXPECT_EQ(Probe(), "A< W A>");
  FreeInBefore = 'A';
  EXPECT_EQ(Probe(), "A< W");
  EXPECT_EQ(GetWindowLongPtrA(Wnd(), GWLP_WNDPROC), OwnProcedure());
}

TEST_F(THookFixture, HandleIsPointerSizedAndAllOnesWithoutAWindow) {
  TWndHook* A = NewHook('A');
  EXPECT_EQ(A->Handle(), reinterpret_cast<uintptr_t>(Wnd()));
  A->SetWinControl(nullptr);
  EXPECT_EQ(A->Handle(), NoHookHandle);
  EXPECT_EQ(NoHookHandle, uintptr_t(-1));
  A->SetActive(true);
  EXPECT_FALSE(A->Active()) << "no window to hook";
  // A control freed under its hook is forgotten.
  TWinControl* Other = Host.Add<TWinControl>(0, 0, 10, 10);
  A->SetWinControl(Other);
  A->SetActive(true);
  EXPECT_TRUE(A->Active());
  TObject::Free(Other);
  EXPECT_EQ(A->WinControl(), nullptr);
  EXPECT_FALSE(A->Active());
}

TEST_F(THookFixture, TheListWindowGoesWithTheLastHook) {
  ExpectClassDefaultsMatch(TWndHook::StaticClass());
  ASSERT_EQ(HookList, nullptr);
  TWndHook* A = NewHook('A');
  ASSERT_NE(HookList, nullptr);
  const HWND List = HookList->Handle();
  EXPECT_TRUE(IsWindow(List));
  EXPECT_FALSE(IsWindowVisible(List));
  TWndHook* B = NewHook('B');
  EXPECT_EQ(HookList->Count(), 2);
  Hooks.clear();
  TObject::Free(A);
  EXPECT_TRUE(IsWindow(List));
  TObject::Free(B);
  EXPECT_EQ(HookList, nullptr);
  EXPECT_FALSE(IsWindow(List));
  NewHook('C');
  EXPECT_NE(HookList, nullptr);
}

}  // namespace
