// Forms, the application object and the screen: showing, modality, closing, positions, styles,
// dialog keys and focus, exception hand-off, and forms built from their binary form.
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"
#include "vcl/tests/vcltest.h"
#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"

#include <utility>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

struct TApplicationAccess {
  static void ClearTerminated() { Application->FTerminated = false; }
};

namespace {

using vcltest::PumpRounds;
using vcltest::PumpUntil;

// Frees the form at the end of a test, whatever happens.
template <class T> struct TFormGuard {
  T* Form;
  ~TFormGuard() { TObject::Free(Form); PumpRounds(1); }
};

// Records the events of a form.
class TEventLog : public TObject {
  ORV_CLASS(TEventLog, TObject)
public:
  std::vector<std::string> Events;
  bool AllowClose = true;
  TCloseAction Action = caHide;
  void Show(TObject*) { Events.push_back("Show"); }
  void Hide(TObject*) { Events.push_back("Hide"); }
  void CloseQuery(TObject*, bool& CanClose) {
    Events.push_back("CloseQuery");
    CanClose = AllowClose;
  }
  void Close(TObject*, TCloseAction& A) {
    Events.push_back("Close");
    A = Action;
  }
  void Destroy(TObject*) { Events.push_back("Destroy"); }
  void Activate(TObject*) { Events.push_back("Activate"); }
  int Count(const std::string& E) const { return int(std::count(Events.begin(), Events.end(), E)); }
  void Attach(TCustomForm* F) {
    F->OnShow = EVENT(this, TEventLog::Show);
    F->OnHide = EVENT(this, TEventLog::Hide);
    F->OnCloseQuery = EVENT(this, TEventLog::CloseQuery);
    F->OnClose = EVENT(this, TEventLog::Close);
    F->OnDestroy = EVENT(this, TEventLog::Destroy);
    F->OnActivate = EVENT(this, TEventLog::Activate);
  }
};
ORV_IMPLEMENT_CLASS(TEventLog, TObject)

TForm* NewForm(int Left = 100, int Top = 50, int Width = 400, int Height = 300) {
  TForm* F = TCustomForm::CreateNew<TForm>(nullptr);
  F->SetBounds(Left, Top, Width, Height);
  return F;
}

template <class T> T* AddControl(TWinControl* Parent, int L, int T0, int W, int H) {
  T* C = TComponent::Create<T>(Parent);
  C->SetBounds(L, T0, W, H);
  C->SetParent(Parent);
  return C;
}

void Foreground(TCustomForm* F) {
  SetForegroundWindow(F->Handle());
  PumpUntil([&] { return GetForegroundWindow() == F->Handle(); }, 50);
  Application->ProcessMessages();
}

// A modal loop that is never answered ends the test after a while instead of hanging it.
TCustomForm* GWatchedForm = nullptr;
void CALLBACK ModalTimeout(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  if (GWatchedForm) GWatchedForm->SetModalResult(mrAbort);
}
struct TModalWatch {
  UINT_PTR Id;
  explicit TModalWatch(TCustomForm* F) : Id(SetTimer(nullptr, 0, 5000, &ModalTimeout)) { GWatchedForm = F; }
  ~TModalWatch() { KillTimer(nullptr, Id); GWatchedForm = nullptr; }
};

// ---------------------------------------------------------------------------------------------

TEST(Forms, DefaultsMatchThePropertyTable) {
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  F->SetBounds(0, 0, 320, 240);
  ExpectDefaultsMatch(F);
  EXPECT_FALSE(F->Visible());
  EXPECT_EQ(F->BorderStyle(), bsSizeable);
  EXPECT_EQ(F->BorderIcons(), DefaultBorderIcons);
  EXPECT_EQ(F->Position(), poDesigned);
}

TEST(Forms, ShowAndHide) {
  TEventLog Log;  // outlives the form, whose OnHide and OnDestroy it records
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  Log.Attach(F);
  EXPECT_EQ(Screen->Forms(Screen->FormCount() - 1), F);

  F->Show();
  PumpRounds(2);
  EXPECT_TRUE(F->Visible());
  ASSERT_TRUE(F->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(F->WindowHandle()));
  EXPECT_EQ(Log.Count("Show"), 1);

  F->Show();  // already visible: only brought forward
  EXPECT_EQ(Log.Count("Show"), 1);

  F->Hide();
  PumpRounds(1);
  EXPECT_FALSE(F->Visible());
  EXPECT_FALSE(IsWindowVisible(F->WindowHandle()));
  EXPECT_EQ(Log.Count("Hide"), 1);

  F->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(F->WindowHandle()));
  EXPECT_EQ(Log.Count("Show"), 2);
}

TEST(Forms, FreeRunsOnDestroyAndLeavesTheScreen) {
  TForm* F = NewForm();
  TEventLog Log;
  Log.Attach(F);
  F->Show();
  HWND Wnd = F->WindowHandle();
  int Before = Screen->FormCount();
  TObject::Free(F);
  EXPECT_EQ(Screen->FormCount(), Before - 1);
  EXPECT_FALSE(IsWindow(Wnd));
  EXPECT_EQ(Log.Count("Hide"), 1);
  EXPECT_EQ(Log.Count("Destroy"), 1);
  EXPECT_THROW(Screen->Forms(Screen->FormCount()), EListError);
}

TEST(Forms, ClientSizeBeforeAndAfterTheWindowExists) {
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  F->SetBorderStyle(bsSingle);
  F->SetClientWidth(250);
  F->SetClientHeight(150);
  EXPECT_EQ(F->ClientWidth(), 250);
  EXPECT_EQ(F->ClientHeight(), 150);
  EXPECT_GT(F->Width(), 250);
  F->HandleNeeded();
  RECT R;
  GetClientRect(F->WindowHandle(), &R);
  EXPECT_EQ(R.right, 250);
  EXPECT_EQ(R.bottom, 150);
  F->SetClientWidth(300);
  GetClientRect(F->WindowHandle(), &R);
  EXPECT_EQ(R.right, 300);
}

TEST(Forms, ShowModalReturnsTheModalResultOfTheButton) {
  TEventLog Log;  // outlives the form, whose OnHide and OnDestroy it records
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  Log.Attach(F);
  auto* Ok = AddControl<TButton>(F, 10, 10, 80, 25);
  Ok->SetModalResult(mrOk);
  TModalWatch Watch(F);
  PostMessageA(Ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(F->ShowModal(), mrOk);
  EXPECT_FALSE(F->Visible());
  EXPECT_FALSE(F->FormState() & (1u << fsModal));
  EXPECT_EQ(Log.Count("CloseQuery"), 1);
  EXPECT_EQ(Log.Count("Close"), 1);
  EXPECT_EQ(Log.Count("Show"), 1);
  EXPECT_EQ(Log.Count("Hide"), 1);
  EXPECT_EQ(Log.Count("Activate"), 1);
}

TEST(Forms, ShowModalDisablesTheOtherFormsWhileItRuns) {
  TForm* Other = NewForm(10, 10, 200, 150);
  TFormGuard<TForm> G1{Other};
  Other->Show();
  TForm* F = NewForm();
  TFormGuard<TForm> G2{F};
  auto* Ok = AddControl<TButton>(F, 10, 10, 80, 25);
  Ok->SetModalResult(mrOk);
  bool OtherEnabledDuring = true;
  struct TProbe : TObject {
    TForm* Other; bool* Out;
    void Show(TObject*) { *Out = IsWindowEnabled(Other->WindowHandle()); }
    TClass ClassType() const override { return TObject::StaticClass(); }
  } Probe;
  Probe.Other = Other;
  Probe.Out = &OtherEnabledDuring;
  F->OnShow = EVENT(&Probe, TProbe::Show);
  TModalWatch Watch(F);
  PostMessageA(Ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(F->ShowModal(), mrOk);
  EXPECT_FALSE(OtherEnabledDuring);
  EXPECT_TRUE(IsWindowEnabled(Other->WindowHandle()));
}

TEST(Forms, ShowModalOfAVisibleFormFails) {
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  F->Show();
  try {
    F->ShowModal();
    FAIL() << "no exception";
  } catch (EInvalidOperation& E) {
    EXPECT_EQ(E.Message(), "Cannot make a visible window modal");
  }
  EXPECT_TRUE(F->Visible());
}

TEST(Forms, CloseQueryFalseKeepsTheForm) {
  TEventLog Log;  // outlives the form, whose OnHide and OnDestroy it records
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  Log.Attach(F);
  F->Show();
  Log.AllowClose = false;
  F->Close();
  EXPECT_TRUE(F->Visible());
  EXPECT_EQ(Log.Count("CloseQuery"), 1);
  EXPECT_EQ(Log.Count("Close"), 0);
  // The system close command goes the same way.
  SendMessageA(F->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(F->WindowHandle()));
  EXPECT_TRUE(F->Visible());
  Log.AllowClose = true;
  SendMessageA(F->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(F->Visible());
  EXPECT_EQ(Log.Count("Close"), 1);
}

TEST(Forms, CloseQueryFalseKeepsAModalLoopRunning) {
  TEventLog Log;  // outlives the form, whose OnHide and OnDestroy it records
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  Log.Attach(F);
  auto* Ok = AddControl<TButton>(F, 10, 10, 80, 25);
  Ok->SetModalResult(mrOk);
  // The first answer refuses; the handler allows the next one.
  struct TOnce : TObject {
    int Calls = 0;
    void Query(TObject*, bool& CanClose) { CanClose = ++Calls > 1; }
    TClass ClassType() const override { return TObject::StaticClass(); }
  } Once;
  F->OnCloseQuery = EVENT(&Once, TOnce::Query);
  TModalWatch Watch(F);
  PostMessageA(Ok->Handle(), BM_CLICK, 0, 0);
  PostMessageA(Ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(F->ShowModal(), mrOk);
  EXPECT_EQ(Once.Calls, 2);
  EXPECT_EQ(Log.Count("Close"), 1);
}

TEST(Forms, CloseActions) {
  struct TCase {
    TCloseAction Action;
    bool Visible;
    bool Freed;
  };
  const TCase Cases[] = {
      {caNone, true, false},
      {caHide, false, false},
      {caMinimize, true, false},
      {caFree, false, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(int(C.Action));
    TForm* F = NewForm();
    TEventLog Log;
    Log.Attach(F);
    Log.Action = C.Action;
    F->Show();
    HWND Wnd = F->WindowHandle();
    F->Close();
    PumpUntil([&] { return !C.Freed || !IsWindow(Wnd); }, 50);
    EXPECT_EQ(Log.Count("Destroy"), C.Freed ? 1 : 0);
    if (C.Freed) {
      EXPECT_FALSE(IsWindow(Wnd));
      continue;
    }
    EXPECT_EQ(bool(IsWindowVisible(Wnd)), C.Visible);
    if (C.Action == caMinimize) {
      EXPECT_TRUE(IsIconic(Wnd));
    }
    TObject::Free(F);
  }
}

TEST(Forms, Position) {
  struct TCase {
    TPosition Position;
    int Left, Top;
  };
  const int SW = GetSystemMetrics(SM_CXSCREEN), SH = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_EQ(SW, 1024);
  ASSERT_EQ(SH, 768);
  const TCase Cases[] = {
      {poDesigned, 100, 50},
      {poScreenCenter, (1024 - 400) / 2, (768 - 300) / 2},
      {poDesktopCenter, (1024 - 400) / 2, (768 - 300) / 2},
      {poMainFormCenter, (1024 - 400) / 2, (768 - 300) / 2},  // no main form: the screen
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(TPositionType.ValueToName(C.Position));
    TForm* F = NewForm(100, 50, 400, 300);
    TFormGuard<TForm> G{F};
    F->SetPosition(C.Position);
    F->Show();
    RECT R;
    GetWindowRect(F->WindowHandle(), &R);
    EXPECT_EQ(R.left, C.Left);
    EXPECT_EQ(R.top, C.Top);
    EXPECT_EQ(R.right - R.left, 400);
    EXPECT_EQ(F->Left(), C.Left);
    EXPECT_EQ(F->Top(), C.Top);
    EXPECT_EQ(F->Position(), C.Position);
  }
}

TEST(Forms, OwnerFormCenter) {
  TForm* Owner = NewForm(100, 100, 600, 400);
  TFormGuard<TForm> G{Owner};
  TForm* F = TCustomForm::CreateNew<TForm>(Owner);
  F->SetBounds(0, 0, 200, 100);
  F->SetPosition(poOwnerFormCenter);
  F->Show();
  RECT R;
  GetWindowRect(F->WindowHandle(), &R);
  EXPECT_EQ(R.left, 100 + (600 - 200) / 2);
  EXPECT_EQ(R.top, 100 + (400 - 100) / 2);
}

TEST(Forms, BorderStylesAndIcons) {
  struct TCase {
    TFormBorderStyle Border;
    TBorderIcons Icons;
    DWORD StyleOn, StyleOff, ExOn;
  };
  const TBorderIcons SysOnly = 1u << biSystemMenu;
  const TCase Cases[] = {
      {bsSizeable, DefaultBorderIcons, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, 0},
      {bsSingle, SysOnly | (1u << biMinimize), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_THICKFRAME | WS_MAXIMIZEBOX, 0},
      {bsDialog, DefaultBorderIcons, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
       WS_EX_DLGMODALFRAME},
      {bsDialog, 0, WS_CAPTION, WS_SYSMENU, WS_EX_DLGMODALFRAME},
      {bsNone, DefaultBorderIcons, WS_POPUP, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0},
      {bsToolWindow, SysOnly, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME, WS_EX_TOOLWINDOW},
      {bsSizeToolWin, SysOnly, WS_CAPTION | WS_THICKFRAME, WS_MINIMIZEBOX, WS_EX_TOOLWINDOW},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(TFormBorderStyleType.ValueToName(C.Border)) + " icons " + std::to_string(C.Icons));
    TForm* F = NewForm();
    TFormGuard<TForm> G{F};
    F->SetBorderStyle(C.Border);
    F->SetBorderIcons(C.Icons);
    DWORD Style = DWORD(GetWindowLongA(F->Handle(), GWL_STYLE));
    DWORD Ex = DWORD(GetWindowLongA(F->Handle(), GWL_EXSTYLE));
    EXPECT_EQ(Style & C.StyleOn, C.StyleOn);
    EXPECT_EQ(Style & C.StyleOff, 0u);
    EXPECT_EQ(Ex & C.ExOn, C.ExOn);
    EXPECT_EQ(Style & WS_CHILD, 0u);
    // Changing the border after the window exists recreates it with the new styles.
    F->SetBorderStyle(bsSizeable);
    F->SetBorderIcons(DefaultBorderIcons);
    Style = DWORD(GetWindowLongA(F->Handle(), GWL_STYLE));
    EXPECT_EQ(Style & (WS_THICKFRAME | WS_MAXIMIZEBOX), DWORD(WS_THICKFRAME | WS_MAXIMIZEBOX));
  }
}

TEST(Forms, StayOnTop) {
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  F->SetFormStyle(fsStayOnTop);
  F->Show();
  EXPECT_TRUE(GetWindowLongA(F->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  F->SetFormStyle(fsNormal);
  EXPECT_FALSE(GetWindowLongA(F->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  F->SetFormStyle(fsStayOnTop);
  EXPECT_TRUE(GetWindowLongA(F->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  TForm* Plain = NewForm();
  TFormGuard<TForm> G2{Plain};
  Plain->Show();
  EXPECT_FALSE(GetWindowLongA(Plain->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  // No MDI main form: a window cannot be an MDI child, and nothing changes.
  EXPECT_THROW(Plain->SetFormStyle(fsMDIChild), EInvalidOperation);
  EXPECT_EQ(Plain->FormStyle(), fsNormal);
  EXPECT_TRUE(IsWindowVisible(Plain->WindowHandle()));
}

TEST(Forms, MainMenuIsTheMenuBar) {
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  auto* Menu = TComponent::Create<TMainMenu>(F);
  auto* File = TComponent::Create<TMenuItem>(F);
  File->SetCaption("&File");
  auto* Exit = TComponent::Create<TMenuItem>(F);
  Exit->SetCaption("E&xit");
  File->Add(Exit);
  Menu->Items()->Add(File);
  struct TClicks : TObject {
    int N = 0;
    void Click(TObject*) { ++N; }
    TClass ClassType() const override { return TObject::StaticClass(); }
  } Clicks;
  Exit->OnClick = EVENT(&Clicks, TClicks::Click);

  F->SetMenu(Menu);
  F->Show();
  HMENU Bar = GetMenu(F->WindowHandle());
  ASSERT_NE(Bar, nullptr);
  EXPECT_EQ(Bar, Menu->Handle());
  EXPECT_EQ(GetMenuItemCount(Bar), 1);
  // A menu command reaches the item.
  SendMessageA(F->WindowHandle(), WM_COMMAND, MAKEWPARAM(Exit->Command(), 0), 0);
  EXPECT_EQ(Clicks.N, 1);
  // The menu survives the window being recreated, and goes when the menu is freed.
  F->SetBorderStyle(bsSingle);
  EXPECT_EQ(GetMenu(F->WindowHandle()), Menu->Handle());
  TObject::Free(Menu);
  EXPECT_EQ(F->Menu(), nullptr);
  EXPECT_EQ(GetMenu(F->WindowHandle()), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Exceptions.

class TExceptionLog : public TObject {
  ORV_CLASS(TExceptionLog, TObject)
public:
  std::vector<std::string> Messages;
  std::vector<TObject*> Senders;
  void Handler(TObject* Sender, Exception& E) {
    Senders.push_back(Sender);
    Messages.push_back(std::string(E.ClassName()) + ": " + E.Message().str());
  }
  void Throw(TObject*) { throw EConvertError("'x' is not a valid integer value"); }
};
ORV_IMPLEMENT_CLASS(TExceptionLog, TObject)

struct TOnExceptionScope {
  TExceptionEvent Saved = Application->OnException;
  explicit TOnExceptionScope(TExceptionLog& L) { Application->OnException = EVENT(&L, TExceptionLog::Handler); }
  ~TOnExceptionScope() { Application->OnException = Saved; }
};

TEST(Application, HandleExceptionCallsOnException) {
  TExceptionLog Log;
  TOnExceptionScope Scope(Log);
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  try {
    throw EConvertError("bad value");
  } catch (...) {
    Application->HandleException(F);
  }
  try {
    Abort();
  } catch (...) {
    Application->HandleException(F);  // silent
  }
  try {
    throw std::runtime_error("plain");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  ASSERT_EQ(Log.Messages.size(), 2u);
  EXPECT_EQ(Log.Messages[0], "EConvertError: bad value");
  EXPECT_EQ(Log.Senders[0], F);
  EXPECT_EQ(Log.Messages[1], "Exception: plain");
  Application->HandleException(nullptr);  // outside a catch block: nothing to hand on
  EXPECT_EQ(Log.Messages.size(), 2u);
}

TEST(Application, ExceptionsNeverCrossAWindowProcedure) {
  TExceptionLog Log;
  TOnExceptionScope Scope(Log);
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  auto* B = AddControl<TButton>(F, 10, 10, 80, 25);
  B->OnClick = EVENT(&Log, TExceptionLog::Throw);
  F->Show();
  SendMessageA(B->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(Log.Messages.size(), 1u);
  EXPECT_EQ(Log.Messages[0], "EConvertError: 'x' is not a valid integer value");
  // An exception in OnShow is reported, and the form is shown all the same.
  TForm* F2 = NewForm();
  TFormGuard<TForm> G2{F2};
  F2->OnShow = EVENT(&Log, TExceptionLog::Throw);
  F2->Show();
  EXPECT_EQ(Log.Messages.size(), 2u);
  EXPECT_TRUE(IsWindowVisible(F2->WindowHandle()));
}

// Reads and closes the message box the application shows, from a timer of its modal loop.
struct TBoxReader {
  static inline std::string Caption, Text;
  static BOOL CALLBACK Find(HWND W, LPARAM L) {
    char Cls[32] = {};
    GetClassNameA(W, Cls, sizeof Cls);
    if (std::string(Cls) == "#32770" && IsWindowVisible(W)) {
      *reinterpret_cast<HWND*>(L) = W;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR Id, DWORD) {
    HWND Box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Find, reinterpret_cast<LPARAM>(&Box));
    if (!Box) return;
    KillTimer(nullptr, Id);
    char Buf[512] = {};
    GetWindowTextA(Box, Buf, sizeof Buf);
    Caption = Buf;
    GetDlgItemTextA(Box, 0xFFFF, Buf, sizeof Buf);
    Text = Buf;
    PostMessageA(Box, WM_COMMAND, IDOK, 0);
  }
};

TEST(Application, ShowExceptionAddsAFullStopAndUsesTheTitle) {
  const AnsiString SavedTitle = Application->Title();
  Application->SetTitle("Forms Test");
  struct TCase {
    const char* Message;
    const char* Shown;
  };
  const TCase Cases[] = {
      {"'x' is not a valid floating point value", "'x' is not a valid floating point value."},
      {"Already ends.", "Already ends."},
      {"Really?", "Really?"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Message);
    TBoxReader::Caption.clear();
    TBoxReader::Text.clear();
    UINT_PTR Id = SetTimer(nullptr, 0, 50, &TBoxReader::Tick);
    Application->ShowException(Exception(C.Message));
    KillTimer(nullptr, Id);
    EXPECT_EQ(TBoxReader::Caption, "Forms Test");
    EXPECT_EQ(TBoxReader::Text, C.Shown);
  }
  // Without OnException, HandleException shows the box.
  const TExceptionEvent SavedHandler = std::exchange(Application->OnException, TExceptionEvent());
  TBoxReader::Text.clear();
  UINT_PTR Id = SetTimer(nullptr, 0, 50, &TBoxReader::Tick);
  try {
    throw EConvertError("Partition value 9 is outside 0 to 6");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  KillTimer(nullptr, Id);
  Application->OnException = SavedHandler;
  EXPECT_EQ(TBoxReader::Text, "Partition value 9 is outside 0 to 6.");
  Application->SetTitle(SavedTitle);
}

TEST(Application, CreateFormMakesTheMainFormAndClosingItTerminates) {
  ASSERT_EQ(Application->MainForm(), nullptr);
  TForm* Main = nullptr;
  Application->CreateForm(&Main);
  ASSERT_NE(Main, nullptr);
  EXPECT_EQ(Application->MainForm(), Main);
  EXPECT_EQ(Main->Owner(), Application);
  TForm* Second = nullptr;
  Application->CreateForm(&Second);
  EXPECT_EQ(Application->MainForm(), Main);

  Main->Show();
  EXPECT_TRUE(GetWindowLongA(Main->WindowHandle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  Main->Close();
  Application->ProcessMessages();
  EXPECT_TRUE(Application->Terminated());
  // A modal loop ends at once while the application terminates.
  auto* Ok = AddControl<TButton>(Second, 10, 10, 80, 25);
  EXPECT_EQ(Second->ShowModal(), mrCancel);
  (void)Ok;
  TApplicationAccess::ClearTerminated();

  TObject::Free(Second);
  TObject::Free(Main);
  EXPECT_EQ(Application->MainForm(), nullptr);
  EXPECT_EQ(Application->ComponentCount(), 0);
}

// ---------------------------------------------------------------------------------------------
// Focus and dialog keys.

TEST(Forms, TabMovesTheFocusInTabOrder) {
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  auto* E1 = AddControl<TEdit>(F, 10, 10, 100, 21);
  auto* E2 = AddControl<TEdit>(F, 10, 40, 100, 21);
  auto* E3 = AddControl<TEdit>(F, 10, 70, 100, 21);
  E3->SetTabOrder(0);
  E1->SetTabOrder(1);
  E2->SetTabOrder(2);
  F->Show();
  Foreground(F);
  ASSERT_EQ(GetFocus(), E3->Handle()) << "the first control in tab order has the focus";
  EXPECT_TRUE(F->Active());
  EXPECT_EQ(F->ActiveControl(), E3);

  auto PressTab = [&] {
    HWND Focus = GetFocus();
    PostMessageA(Focus, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageA(Focus, WM_KEYUP, VK_TAB, LPARAM(0xC00F0001));
    Application->ProcessMessages();
  };
  const TWinControl* Expected[] = {E1, E2, E3, E1};
  for (const TWinControl* C : Expected) {
    PressTab();
    EXPECT_EQ(GetFocus(), const_cast<TWinControl*>(C)->Handle());
    EXPECT_EQ(F->ActiveControl(), C);
    EXPECT_EQ(F->FocusedControl(), C);
    EXPECT_EQ(Screen->ActiveControl(), C);
    EXPECT_EQ(Screen->ActiveForm(), F);
  }
  // Shift+Tab goes back.
  BYTE Keys[256];
  GetKeyboardState(Keys);
  BYTE Saved = Keys[VK_SHIFT];
  Keys[VK_SHIFT] = 0x80;
  SetKeyboardState(Keys);
  PressTab();
  Keys[VK_SHIFT] = Saved;
  SetKeyboardState(Keys);
  EXPECT_EQ(GetFocus(), E3->Handle());
}

TEST(Forms, ActiveControl) {
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  auto* E1 = AddControl<TEdit>(F, 10, 10, 100, 21);
  auto* E2 = AddControl<TEdit>(F, 10, 40, 100, 21);
  auto* Hidden = AddControl<TEdit>(F, 10, 70, 100, 21);
  Hidden->SetVisible(false);
  F->SetActiveControl(E2);
  F->Show();
  Foreground(F);
  EXPECT_EQ(GetFocus(), E2->Handle());
  F->SetActiveControl(E1);
  EXPECT_EQ(GetFocus(), E1->Handle());
  try {
    F->SetActiveControl(Hidden);
    FAIL() << "no exception";
  } catch (EInvalidOperation& E) {
    EXPECT_EQ(E.Message(), "Cannot focus a disabled or invisible window");
  }
  TForm* Other = NewForm();
  TFormGuard<TForm> G2{Other};
  EXPECT_THROW(Other->SetActiveControl(E1), EInvalidOperation);
  // Freeing the active control clears it.
  TObject::Free(E1);
  EXPECT_EQ(F->ActiveControl(), nullptr);
  EXPECT_NE(F->FocusedControl(), nullptr);
}

TEST(Forms, EnterEscapeAndAcceleratorsPressTheirButtons) {
  struct TCase {
    const char* Name;
    UINT Msg;
    WPARAM Key;
    LPARAM KeyData;
    int Result;
  };
  const TCase Cases[] = {
      {"Enter", WM_KEYDOWN, VK_RETURN, 0x001C0001, mrOk},
      {"Escape", WM_KEYDOWN, VK_ESCAPE, 0x00010001, mrCancel},
      {"Alt+R", WM_SYSCHAR, 'r', 0x20130001, mrRetry},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TForm* F = NewForm();
    TFormGuard<TForm> G{F};
    auto* Edit = AddControl<TEdit>(F, 10, 10, 100, 21);
    auto* Ok = AddControl<TButton>(F, 10, 40, 80, 25);
    Ok->SetCaption("OK");
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    auto* Cancel = AddControl<TButton>(F, 100, 40, 80, 25);
    Cancel->SetCaption("Cancel");
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    auto* Retry = AddControl<TButton>(F, 190, 40, 80, 25);
    Retry->SetCaption("&Retry");
    Retry->SetModalResult(mrRetry);
    F->SetActiveControl(Edit);
    TModalWatch Watch(F);
    PostMessageA(Edit->Handle(), C.Msg, C.Key, C.KeyData);
    EXPECT_EQ(F->ShowModal(), C.Result);
  }
}

class TKeyLog : public TObject {
  ORV_CLASS(TKeyLog, TObject)
public:
  std::vector<std::string> Keys;
  void FormKey(TObject*, unsigned short& Key, TShiftState) { Keys.push_back("form " + std::to_string(Key)); }
  void EditKey(TObject*, unsigned short& Key, TShiftState) { Keys.push_back("edit " + std::to_string(Key)); }
};
ORV_IMPLEMENT_CLASS(TKeyLog, TObject)

TEST(Forms, KeyPreviewShowsKeysToTheFormFirst) {
  for (bool Preview : {false, true}) {
    SCOPED_TRACE(Preview);
    TForm* F = NewForm();
    TFormGuard<TForm> G{F};
    auto* Edit = AddControl<TEdit>(F, 10, 10, 100, 21);
    TKeyLog Log;
    F->OnKeyDown = EVENT(&Log, TKeyLog::FormKey);
    Edit->OnKeyDown = EVENT(&Log, TKeyLog::EditKey);
    F->SetKeyPreview(Preview);
    F->Show();
    PostMessageA(Edit->Handle(), WM_KEYDOWN, 'X', 0x002D0001);
    Application->ProcessMessages();
    std::vector<std::string> Expected;
    if (Preview) Expected.push_back("form 88");
    Expected.push_back("edit 88");
    EXPECT_EQ(Log.Keys, Expected);
  }
}

// ---------------------------------------------------------------------------------------------
// Forms built from their binary form.

class TStreamedForm : public TForm {
  ORV_CLASS(TStreamedForm, TForm)
public:
  explicit TStreamedForm(TComponent* AOwner) : TForm(AOwner) {}
  TButton* Button1 = nullptr;
  TEdit* Edit1 = nullptr;
  std::vector<std::string> Log;
  int Clicks = 0;
  void FormCreate(TObject*) {
    Log.push_back(std::string("Create") + (Button1 ? " Button1" : "") + (HasState(csLoading) ? " loading" : ""));
  }
  void Button1Click(TObject*) { ++Clicks; }
protected:
  void Loaded() override {
    TForm::Loaded();
    Log.push_back("Loaded");
  }
};
static constinit const TPublishedField TStreamedForm_Fields[] = {
    PublishedField<&TStreamedForm::Button1>("Button1"),
    PublishedField<&TStreamedForm::Edit1>("Edit1"),
};
static constinit const TPublishedMethod TStreamedForm_Methods[] = {
    PublishedMethod<&TStreamedForm::FormCreate>("FormCreate"),
    PublishedMethod<&TStreamedForm::Button1Click>("Button1Click"),
};
ORV_IMPLEMENT_FORM(TStreamedForm, TForm, nullptr, TStreamedForm_Fields, TStreamedForm_Methods)

// Adds an edit box in its own form resource, read after the base class's.
class TDerivedStreamedForm : public TStreamedForm {
  ORV_CLASS(TDerivedStreamedForm, TStreamedForm)
public:
  explicit TDerivedStreamedForm(TComponent* AOwner) : TStreamedForm(AOwner) {}
};
ORV_IMPLEMENT_FORM(TDerivedStreamedForm, TStreamedForm, nullptr, nullptr, nullptr)

class TFormWithoutResource : public TForm {
  ORV_CLASS(TFormWithoutResource, TForm)
public:
  explicit TFormWithoutResource(TComponent* AOwner) : TForm(AOwner) {}
};
ORV_IMPLEMENT_FORM(TFormWithoutResource, TForm, nullptr, nullptr, nullptr)

const char* const StreamedFormText =
    "object StreamedForm: TStreamedForm\n"
    "  Left = 120\n"
    "  Top = 80\n"
    "  ActiveControl = Button1\n"
    "  BorderStyle = bsSingle\n"
    "  BorderIcons = [biSystemMenu]\n"
    "  Caption = 'Streamed'\n"
    "  ClientHeight = 150\n"
    "  ClientWidth = 250\n"
    "  Color = clWhite\n"
    "  FormStyle = fsStayOnTop\n"
    "  KeyPreview = True\n"
    "  OldCreateOrder = False\n"
    "  PixelsPerInch = 96\n"
    "  TextHeight = 13\n"
    "  OnCreate = FormCreate\n"
    "  object Button1: TButton\n"
    "    Left = 10\n"
    "    Top = 20\n"
    "    Width = 90\n"
    "    Height = 25\n"
    "    Caption = 'Press'\n"
    "    TabOrder = 0\n"
    "    OnClick = Button1Click\n"
    "  end\n"
    "end\n";

const char* const DerivedFormText =
    "inherited StreamedForm: TDerivedStreamedForm\n"
    "  Caption = 'Derived'\n"
    "  inherited Button1: TButton\n"
    "    Caption = 'Press again'\n"
    "  end\n"
    "  object Edit1: TEdit\n"
    "    Left = 10\n"
    "    Top = 60\n"
    "    Width = 120\n"
    "    Height = 21\n"
    "    TabOrder = 1\n"
    "    Text = 'typed'\n"
    "  end\n"
    "end\n";

std::unique_ptr<TMemoryStream> Compile(const char* Text) {
  TStringStream In(Text);
  auto Out = std::make_unique<TMemoryStream>();
  ObjectTextToBinary(&In, Out.get());
  return Out;
}

// Serves the compiled test forms in place of the program's resources.
struct TTestResources {
  static inline TMemoryStream* Base = nullptr;
  static inline TMemoryStream* Derived = nullptr;
  static inline std::vector<std::string> Asked;
  static TStream* Find(const char* ClassName) {
    Asked.push_back(ClassName);
    TMemoryStream* S = std::string(ClassName) == "TStreamedForm"          ? Base
                       : std::string(ClassName) == "TDerivedStreamedForm" ? Derived
                                                                          : nullptr;
    return S ? new TReadOnlyMemoryStream(S->Memory(), S->Size()) : nullptr;
  }
  std::unique_ptr<TMemoryStream> B = Compile(StreamedFormText), D = Compile(DerivedFormText);
  TFormResourceFinder Saved = GetFormResourceFinder();
  TTestResources() {
    Base = B.get();
    Derived = D.get();
    Asked.clear();
    SetFormResourceFinder(&Find);
  }
  ~TTestResources() {
    SetFormResourceFinder(Saved);
    Base = Derived = nullptr;
  }
};

TEST(FormResources, AFormReadsItsPropertiesAndChildrenThenRunsOnCreateAfterLoaded) {
  TTestResources Res;
  auto* F = TComponent::Create<TStreamedForm>(nullptr);
  TFormGuard<TStreamedForm> G{F};
  EXPECT_EQ(F->Log, (std::vector<std::string>{"Loaded", "Create Button1"}));
  EXPECT_EQ(F->Name(), "StreamedForm");
  EXPECT_EQ(F->Caption(), "Streamed");
  EXPECT_EQ(F->BorderStyle(), bsSingle);
  EXPECT_EQ(F->BorderIcons(), 1u << biSystemMenu);
  EXPECT_EQ(F->Color(), clWhite);
  EXPECT_EQ(F->FormStyle(), fsStayOnTop);
  EXPECT_TRUE(F->KeyPreview());
  EXPECT_EQ(F->TextHeight(), 13);
  EXPECT_EQ(F->Left(), 120);
  EXPECT_EQ(F->Top(), 80);
  EXPECT_FALSE(F->Visible());
  ASSERT_NE(F->Button1, nullptr);
  EXPECT_EQ(F->Button1->Parent(), F);
  EXPECT_EQ(F->Button1->Owner(), F);
  EXPECT_EQ(F->Button1->Caption(), "Press");
  EXPECT_EQ(F->Button1->BoundsRect(), Bounds(10, 20, 90, 25));
  EXPECT_EQ(F->ActiveControl(), F->Button1);
  EXPECT_EQ(F->Edit1, nullptr);
  F->Button1->Click();
  EXPECT_EQ(F->Clicks, 1);

  F->Show();
  RECT R;
  GetClientRect(F->WindowHandle(), &R);
  EXPECT_EQ(R.right, 250);
  EXPECT_EQ(R.bottom, 150);
  EXPECT_TRUE(GetWindowLongA(F->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(Res.Asked, (std::vector<std::string>{"TStreamedForm"}));
}

TEST(FormResources, TheClassChainIsReadBaseFirst) {
  TTestResources Res;
  auto* F = TComponent::Create<TDerivedStreamedForm>(nullptr);
  TFormGuard<TDerivedStreamedForm> G{F};
  EXPECT_EQ(Res.Asked, (std::vector<std::string>{"TStreamedForm", "TDerivedStreamedForm"}));
  EXPECT_EQ(F->Caption(), "Derived");
  ASSERT_NE(F->Button1, nullptr);
  EXPECT_EQ(F->Button1->Caption(), "Press again");
  ASSERT_NE(F->Edit1, nullptr);
  EXPECT_EQ(F->Edit1->Text(), "typed");
  EXPECT_EQ(F->ComponentCount(), 2);
  // Loaded once for the whole chain, then OnCreate.
  EXPECT_EQ(F->Log, (std::vector<std::string>{"Loaded", "Create Button1"}));
}

TEST(FormResources, CreateNewReadsNothing) {
  TTestResources Res;
  auto* F = TCustomForm::CreateNew<TStreamedForm>(nullptr);
  TFormGuard<TStreamedForm> G{F};
  EXPECT_TRUE(Res.Asked.empty());
  EXPECT_EQ(F->Button1, nullptr);
  EXPECT_EQ(F->ComponentCount(), 0);
}

TEST(FormResources, AMissingResourceIsAnError) {
  int Before = Screen->FormCount();
  try {
    TComponent::Create<TFormWithoutResource>(nullptr);
    FAIL() << "no exception";
  } catch (EResNotFound& E) {
    EXPECT_EQ(E.Message(), "Resource TFormWithoutResource not found");
  }
  EXPECT_EQ(Screen->FormCount(), Before);
  // The program's own finder looks for RCDATA named after the class; this program has none.
  EXPECT_EQ(GetFormResourceFinder()("TFormWithoutResource"), nullptr);
}

TEST(FormResources, AFormWritesAndReadsBack) {
  TForm* F = NewForm(30, 40, 300, 200);
  TFormGuard<TForm> G{F};
  F->SetName("Written");
  F->SetCaption("Round trip");
  F->SetBorderStyle(bsDialog);
  F->SetClientWidth(222);
  F->SetClientHeight(111);
  F->SetPosition(poScreenCenter);
  auto* B = AddControl<TButton>(F, 5, 6, 70, 24);
  B->SetName("Button1");
  TMemoryStream Bin;
  WriteComponentRes(&Bin, F);
  Bin.SetPosition(0);
  TMemoryStream Txt;
  ObjectBinaryToText(&Bin, &Txt);
  std::string Text(static_cast<const char*>(Txt.Memory()), size_t(Txt.Size()));
  EXPECT_NE(Text.find("ClientWidth = 222"), std::string::npos) << Text;
  EXPECT_NE(Text.find("ClientHeight = 111"), std::string::npos) << Text;
  EXPECT_NE(Text.find("BorderStyle = bsDialog"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("\n  Width ="), std::string::npos) << Text;  // forms store their client size
  EXPECT_EQ(Text.find("\n  Visible ="), std::string::npos) << Text;
  EXPECT_NE(Text.find("\n    Width = 70"), std::string::npos) << Text;

  TForm* Copy = NewForm();
  TFormGuard<TForm> G2{Copy};
  Bin.SetPosition(0);
  ReadComponentRes(&Bin, Copy);
  EXPECT_EQ(Copy->Caption(), "Round trip");
  EXPECT_EQ(Copy->Position(), poScreenCenter);
  EXPECT_EQ(Copy->ClientWidth(), 222);
  EXPECT_EQ(Copy->ClientHeight(), 111);
  ASSERT_EQ(Copy->ControlCount(), 1);
  EXPECT_EQ(Copy->Controls(0)->BoundsRect(), Bounds(5, 6, 70, 24));
}

// ---------------------------------------------------------------------------------------------

TEST(ScreenObject, MetricsCursorsAndFonts) {
  EXPECT_EQ(Screen->Width(), 1024);
  EXPECT_EQ(Screen->Height(), 768);
  EXPECT_GT(Screen->PixelsPerInch(), 0);
  TRect Work = Screen->WorkAreaRect();
  EXPECT_GT(Work.Width(), 0);
  EXPECT_EQ(Screen->Cursors(crIBeam), LoadCursorA(nullptr, MAKEINTRESOURCEA(32513)));
  EXPECT_EQ(Screen->Cursors(crArrow), LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
  EXPECT_EQ(Screen->Cursors(crNone), nullptr);
  HCURSOR Own = CopyCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32515)));
  ASSERT_NE(Own, nullptr);
  Screen->SetCursors(5, Own);
  EXPECT_EQ(Screen->Cursors(5), Own);
  Screen->SetCursors(5, nullptr);
  EXPECT_EQ(Screen->Cursors(5), LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));

  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(Screen->Cursor(), crDefault);

  TStrings* Fonts = Screen->Fonts();
  ASSERT_GT(Fonts->Count(), 0);
  for (int I = 1; I < Fonts->Count(); ++I) EXPECT_LE(CompareText(Fonts->Get(I - 1), Fonts->Get(I)), 0);
  EXPECT_EQ(Screen->Fonts(), Fonts);
}

TEST(ScreenObject, ParentForms) {
  TForm* F = NewForm();
  TFormGuard<TForm> G{F};
  auto* B = AddControl<TButton>(F, 1, 1, 10, 10);
  EXPECT_EQ(GetParentForm(B), F);
  EXPECT_EQ(GetParentForm(F), F);
  EXPECT_EQ(ValidParentForm(B), F);
  auto* Loose = TComponent::Create<TButton>(nullptr);
  Loose->SetName("Loose");
  EXPECT_EQ(GetParentForm(Loose), nullptr);
  try {
    ValidParentForm(Loose);
    FAIL() << "no exception";
  } catch (EInvalidOperation& E) {
    EXPECT_EQ(E.Message(), "Control 'Loose' has no parent window");
  }
  TObject::Free(Loose);
}

}  // namespace
