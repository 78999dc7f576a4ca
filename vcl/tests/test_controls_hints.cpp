// The application's hints (the real mouse resting on a control, the hint window, what ends it)
// and its other additions: window hooks, help, icon, and the minimise and restore events.
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vcltest::AppPumpUntil;
using vcltest::MoveMouse;
using vcltest::PumpRounds;

struct TFormFree {
  void operator()(TCustomForm* F) const { TObject::Free(F); }
};
using TFormPtr = std::unique_ptr<TForm, TFormFree>;

// A shown form with hints on and a button that has "Short|Long" as its hint.
struct THintFixture {
  TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  TButton* Button = nullptr;
  TButton* Plain = nullptr;
  THintFixture() {
    Form->SetBounds(200, 150, 400, 300);
    Form->SetShowHint(true);
    Button = TComponent::Create<TButton>(Form.get());
    Button->SetBounds(20, 20, 120, 40);
    Button->SetParent(Form.get());
    Button->SetHint("Short text|The long text");
    Plain = TComponent::Create<TButton>(Form.get());
    Plain->SetBounds(200, 20, 120, 40);
    Plain->SetParent(Form.get());
    Plain->SetShowHint(false);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    Application->SetHintPause(100);
    Application->SetHintHidePause(0);
    // Start away from the buttons.
    MoveMouse(Form->Handle(), 300, 250);
    AppPumpUntil([] { return false; }, 100);
  }
  ~THintFixture() {
    Application->CancelHint();
    Application->SetHintPause(500);
    Application->SetHintHidePause(2500);
    Application->OnShowHint = nullptr;
    Application->OnHint = nullptr;
  }
};

// The visible hint window of this process, if any.
HWND VisibleHint(const char* Class = "THintWindow") {
  HWND W = FindWindowA(Class, nullptr);
  return W && IsWindowVisible(W) ? W : nullptr;
}

std::string WindowText(HWND W) {
  char Buf[512] = {};
  GetWindowTextA(W, Buf, sizeof Buf);
  return Buf;
}

class THintEvents : public TObject {
public:
  std::vector<std::string> Hints;
  bool Refuse = false;
  void Hint(TObject*) { Hints.push_back(Application->Hint().c_str()); }
  void ShowHint(AnsiString& Text, bool& CanShow, THintInfo& Info) {
    EXPECT_EQ(Text, "Short text");
    EXPECT_EQ(Info.HintMaxWidth, GetSystemMetrics(SM_CXSCREEN));
    Text = "Changed";
    CanShow = !Refuse;
  }
};

TEST(Hints, RestingOnAControlShowsItsShortHintAfterThePause) {
  THintFixture F;
  THintEvents Ev;
  Application->OnHint = EVENT(&Ev, THintEvents::Hint);
  Application->SetHintPause(300);
  ASSERT_EQ(VisibleHint(), nullptr);
  const DWORD Rested = GetTickCount();  // at the latest
  MoveMouse(F.Form->Handle(), 60, 40);
  ASSERT_TRUE(AppPumpUntil([] { return VisibleHint() != nullptr; }));
  EXPECT_GE(GetTickCount() - Rested, 300u - 20u) << "ms from the move";
  HWND W = VisibleHint();
  EXPECT_EQ(WindowText(W), "Short text");
  EXPECT_EQ(Application->Hint(), "The long text");
  ASSERT_FALSE(Ev.Hints.empty());
  EXPECT_EQ(Ev.Hints.back(), "The long text");
  // Below the cursor, never activated, above everything.
  RECT R;
  GetWindowRect(W, &R);
  POINT Cursor;
  GetCursorPos(&Cursor);
  EXPECT_EQ(R.left, Cursor.x);
  EXPECT_GT(R.top, Cursor.y);
  EXPECT_NE(GetForegroundWindow(), W);
  EXPECT_TRUE(GetWindowLongA(W, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // It paints in the hint colour.
  EXPECT_EQ(vcltest::PixelAt(W, 1, 1), TColor(GetSysColor(COLOR_INFOBK)));
  // Moves inside the control keep it.
  MoveMouse(F.Form->Handle(), 70, 45);
  AppPumpUntil([] { return false; }, 100);
  EXPECT_NE(VisibleHint(), nullptr);
}

TEST(Hints, LeavingTheControlOrAnEndingMessageTakesItAway) {
  THintFixture F;
  MoveMouse(F.Form->Handle(), 60, 40);
  ASSERT_TRUE(AppPumpUntil([] { return VisibleHint() != nullptr; }));
  // To a control without hints.
  MoveMouse(F.Form->Handle(), 260, 40);
  EXPECT_TRUE(AppPumpUntil([] { return VisibleHint() == nullptr; }));
  // Back: it shows again; a key ends it and it stays away until the mouse rests anew.
  MoveMouse(F.Form->Handle(), 60, 40);
  ASSERT_TRUE(AppPumpUntil([] { return VisibleHint() != nullptr; }));
  PostMessageA(F.Button->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
  EXPECT_TRUE(AppPumpUntil([] { return VisibleHint() == nullptr; }));
  // Off the form altogether.
  MoveMouse(F.Form->Handle(), 60, 40);
  MoveMouse(F.Form->Handle(), 62, 41);
  ASSERT_TRUE(AppPumpUntil([] { return VisibleHint() != nullptr; }));
  MoveMouse(GetDesktopWindow(), 5, 5);
  EXPECT_TRUE(AppPumpUntil([] { return VisibleHint() == nullptr; }));
}

TEST(Hints, HidePauseEndsAShownHint) {
  THintFixture F;
  Application->SetHintHidePause(300);
  const DWORD Moved = GetTickCount();
  MoveMouse(F.Form->Handle(), 60, 40);
  ASSERT_TRUE(AppPumpUntil([] { return VisibleHint() != nullptr; }));
  ASSERT_TRUE(AppPumpUntil([] { return VisibleHint() == nullptr; }));
  EXPECT_GE(GetTickCount() - Moved, 100u + 300u - 20u) << "ms: the pause, then the hide pause";
}

TEST(Hints, EndMessages) {
  THintWindow* W = TComponent::Create<THintWindow>(nullptr);
  const struct {
    UINT Msg;
    bool Ends;
  } Cases[] = {
      {WM_KEYDOWN, true},     {WM_KEYUP, true},       {WM_CHAR, true},         {WM_SYSKEYDOWN, true},
      {WM_LBUTTONDOWN, true}, {WM_RBUTTONUP, true},   {WM_MBUTTONDBLCLK, true}, {WM_MOUSEWHEEL, true},
      {WM_NCLBUTTONDOWN, true}, {WM_COMMAND, true},   {WM_ACTIVATE, true},     {WM_ACTIVATEAPP, true},
      {CM_ACTIVATE, true},    {CM_DEACTIVATE, true},  {WM_MOUSEMOVE, false},   {WM_PAINT, false},
      {WM_TIMER, false},      {WM_NULL, false},
  };
  for (const auto& C : Cases) {
    MSG M{};
    M.message = C.Msg;
    EXPECT_EQ(W->IsHintEndMessage(M), C.Ends) << "message " << C.Msg;
  }
  TObject::Free(W);
}

TEST(Hints, OnShowHintAndCMHintShowDecide) {
  THintFixture F;
  THintEvents Ev;
  Application->OnShowHint = EVENT(&Ev, THintEvents::ShowHint);
  MoveMouse(F.Form->Handle(), 60, 40);
  ASSERT_TRUE(AppPumpUntil([] { return VisibleHint() != nullptr; }));
  EXPECT_EQ(WindowText(VisibleHint()), "Changed");
  Application->CancelHint();
  ASSERT_EQ(VisibleHint(), nullptr);
  // Refused: nothing shows while the mouse rests there.
  Ev.Refuse = true;
  MoveMouse(F.Form->Handle(), 64, 42);
  AppPumpUntil([] { return VisibleHint() != nullptr; }, 600);
  EXPECT_EQ(VisibleHint(), nullptr);
}

// A hint window class of the test's own, with a window class name of its own.
class TTestHintWindow : public THintWindow {
  ORV_CLASS(TTestHintWindow, THintWindow)
public:
  explicit TTestHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
};
ORV_IMPLEMENT_COMPONENT_NOPROPS(TTestHintWindow, THintWindow)

TEST(Hints, ShowHintOffAndTheHintWindowClass) {
  THintFixture F;
  Application->SetShowHint(false);
  MoveMouse(F.Form->Handle(), 60, 40);
  AppPumpUntil([] { return VisibleHint() != nullptr; }, 500);
  EXPECT_EQ(VisibleHint(), nullptr);
  // On again with another class: the new window is one of it.
  HintWindowClass = TTestHintWindow::StaticClass();
  Application->SetShowHint(true);
  MoveMouse(F.Form->Handle(), 62, 42);
  EXPECT_TRUE(AppPumpUntil([] { return VisibleHint("TTestHintWindow") != nullptr; }));
  EXPECT_EQ(VisibleHint(), nullptr);
  HintWindowClass = THintWindow::StaticClass();
  Application->SetShowHint(false);
  Application->SetShowHint(true);
}

TEST(Hints, AFreedControlLeavesNoHintBehind) {
  THintFixture F;
  MoveMouse(F.Form->Handle(), 60, 40);
  ASSERT_TRUE(AppPumpUntil([] { return VisibleHint() != nullptr; }));
  TObject::Free(F.Button);
  F.Button = nullptr;
  EXPECT_EQ(VisibleHint(), nullptr);
  AppPumpUntil([] { return false; }, 200);
  EXPECT_EQ(VisibleHint(), nullptr);
}

// ---------------------------------------------------------------------------------------------
class THooks : public TObject {
public:
  std::vector<std::string> Log;
  bool EatTimer = false;
  bool UnhookSelf = false;
  static constexpr UINT Probe = WM_APP + 17;
  void First(TMessage& M, bool& Handled) {
    if (M.Msg != Probe) return;
    Log.push_back("first " + std::to_string(M.WParam));
    if (UnhookSelf) Application->UnhookMainWindow(EVENT(this, THooks::First));
    if (M.WParam == 2) {
      M.Result = 77;
      Handled = true;
    }
  }
  void Second(TMessage& M, bool&) {
    if (M.Msg == Probe) Log.push_back("second " + std::to_string(M.WParam));
  }
};

TEST(Application, WindowHooksSeeTheApplicationWindowsMessagesFirst) {
  THooks H;
  Application->HookMainWindow(EVENT(&H, THooks::First));
  Application->HookMainWindow(EVENT(&H, THooks::Second));
  Application->HookMainWindow(EVENT(&H, THooks::First));  // once only
  SendMessageA(Application->Handle(), THooks::Probe, 1, 0);
  EXPECT_EQ(SendMessageA(Application->Handle(), THooks::Probe, 2, 0), 77);
  EXPECT_EQ(H.Log, (std::vector<std::string>{"first 1", "second 1", "first 2"}));
  // A hook that takes itself out while it runs: the next one still gets the message.
  H.Log.clear();
  H.UnhookSelf = true;
  SendMessageA(Application->Handle(), THooks::Probe, 3, 0);
  SendMessageA(Application->Handle(), THooks::Probe, 4, 0);
  EXPECT_EQ(H.Log, (std::vector<std::string>{"first 3", "second 3", "second 4"}));
  Application->UnhookMainWindow(EVENT(&H, THooks::Second));
  H.Log.clear();
  SendMessageA(Application->Handle(), THooks::Probe, 5, 0);
  EXPECT_TRUE(H.Log.empty());
}

class THelpLog : public TObject {
public:
  std::vector<std::pair<unsigned, intptr_t>> Calls;
  void Help(unsigned short Command, intptr_t Data, bool& CallHelp, bool& Result) {
    Calls.emplace_back(Command, Data);
    CallHelp = false;
    Result = Data == 42;
  }
};

TEST(Application, HelpGoesToOnHelpFirst) {
  THelpLog Log;
  Application->SetHelpFile("nowhere.hlp");
  Application->OnHelp = EVENT(&Log, THelpLog::Help);
  EXPECT_TRUE(Application->HelpContext(42));
  EXPECT_FALSE(Application->HelpCommand(HELP_CONTENTS, 0));
  ASSERT_EQ(Log.Calls.size(), 2u);
  EXPECT_EQ(Log.Calls[0].first, unsigned(HELP_CONTEXT));
  EXPECT_EQ(Log.Calls[0].second, 42);
  Application->OnHelp = nullptr;
  Application->SetHelpFile("");
  EXPECT_FALSE(Application->HelpContext(1)) << "no help file: nothing to open";
}

TEST(Application, IconIsTheApplicationWindowsIcon) {
  TIcon Icon;
  Icon.SetHandle(CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32516) /* IDI_INFORMATION */)));
  Application->SetIcon(&Icon);
  EXPECT_FALSE(Application->Icon()->Empty());
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(Application->Handle(), WM_GETICON, ICON_BIG, 0)),
            Application->Icon()->Handle());
  TIcon None;
  Application->SetIcon(&None);
  EXPECT_EQ(SendMessageA(Application->Handle(), WM_GETICON, ICON_BIG, 0), 0);
}

class TStateLog : public TObject {
public:
  std::vector<std::string> Log;
  void Minimized(TObject*) { Log.push_back("minimize"); }
  void Restored(TObject*) { Log.push_back("restore"); }
};

TEST(Application, MinimizeAndRestoreOfTheMainForm) {
  TStateLog Log;
  Application->OnMinimize = EVENT(&Log, TStateLog::Minimized);
  Application->OnRestore = EVENT(&Log, TStateLog::Restored);
  TForm* Main = nullptr;
  Application->CreateForm(&Main);
  Main->SetBounds(100, 100, 300, 200);
  Main->Show();
  PumpRounds(2);
  Application->Minimize();
  PumpRounds(2);
  EXPECT_TRUE(IsIconic(Main->Handle()));
  // A restore from outside the program, as the taskbar does it.
  ShowWindow(Main->Handle(), SW_RESTORE);
  PumpRounds(2);
  Application->Restore();  // not minimised: nothing
  PumpRounds(2);
  EXPECT_EQ(Log.Log, (std::vector<std::string>{"minimize", "restore"}));
  // Another form does not count.
  TForm* Other = TCustomForm::CreateNew<TForm>(nullptr);
  Other->Show();
  ShowWindow(Other->Handle(), SW_MINIMIZE);
  PumpRounds(2);
  EXPECT_EQ(Log.Log.size(), 2u);
  TObject::Free(Other);
  Application->OnMinimize = nullptr;
  Application->OnRestore = nullptr;
  TObject::Free(Main);
  EXPECT_EQ(Application->MainForm(), nullptr);
}

}  // namespace
