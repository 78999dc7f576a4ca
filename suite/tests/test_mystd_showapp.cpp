// The application component: its information against the system's own calls, the short date
// format, the environment, the end-session answers, and the single instance with real
// processes of a fixture program (one per start, its events in a file of its own).
#include "suite/Mystd.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using vcltest::PumpRounds;
using vcltest::PumpUntil;

struct TShowAppFree {
  void operator()(TqShowApp* A) const { TObject::Free(A); }
};
using TShowAppPtr = std::unique_ptr<TqShowApp, TShowAppFree>;
TShowAppPtr NewShowApp(TComponent* Owner = nullptr) { return TShowAppPtr(TComponent::Create<TqShowApp>(Owner)); }

TEST(ShowApp, InformationIsTheSystemsAndWritesChangeNothing) {
  auto App = NewShowApp();
  char Buf[MAX_PATH] = {};
  GetWindowsDirectoryA(Buf, MAX_PATH);
  EXPECT_EQ(App->WinDir(), AnsiString(Buf));
  GetSystemDirectoryA(Buf, MAX_PATH);
  EXPECT_EQ(App->SystemDir(), AnsiString(Buf));
  GetTempPathA(MAX_PATH, Buf);
  std::string Temp = Buf;
  while (Temp.size() > 3 && Temp.back() == '\\') Temp.pop_back();
  EXPECT_EQ(App->TempDir(), AnsiString(Temp));
  EXPECT_NE(App->TempDir()[App->TempDir().Length()], '\\');
  DWORD N = sizeof Buf;
  ASSERT_TRUE(GetComputerNameA(Buf, &N));
  EXPECT_EQ(App->ComputerName(), AnsiString(Buf));
  N = sizeof Buf;
  ASSERT_TRUE(GetUserNameA(Buf, &N));
  EXPECT_EQ(App->UserName(), AnsiString(Buf));
  EXPECT_EQ(App->BitsPerColor(), 32) << "the test desktop's depth";
  EXPECT_EQ(App->NumberOfColors(), 4294967296.0L);
  EXPECT_EQ(App->WindowKind(), WindowsType());
  EXPECT_EQ(App->WinVerBuild(), BuildVersion());
  EXPECT_EQ(App->WindowsString(),
            Format("Windows NT %u.%u (Build: %u)", {unsigned(MajorVersion()), unsigned(MinorVersion()), unsigned(BuildVersion())}));
  const TProcessorData& P = ProcessorData();
  EXPECT_EQ(App->CPUType(), CpuID());
  EXPECT_EQ(App->CPUVendor(), P.Vendor);
  EXPECT_EQ(App->CPUStepping(), P.Signature & 0xF);
  EXPECT_EQ(App->CPUModel(), (P.Signature >> 4) & 0xF);
  EXPECT_EQ(App->CPUSpeed(), P.Speed);
  EXPECT_EQ(App->CPUMMX(), (P.FeaturesEDX & (1 << 23)) != 0);
  EXPECT_EQ(App->IPHostName(), "-Unknown-");
  App->SetEnabledHostInfo(true);
  AnsiString Host, Address;
  GetHostInfo(Host, Address);
  EXPECT_EQ(App->IPHostName(), Host);
  EXPECT_EQ(App->IPHostAddress(), Address);
  // Information written through the properties stays what it is.
  for (const char* Name : {"WinDir", "TempDir", "ComputerName", "UserName", "WindowsString", "CPUString"}) {
    const AnsiString Before = GetStrProp(App.get(), Name);
    SetStrProp(App.get(), Name, "changed");
    EXPECT_EQ(GetStrProp(App.get(), Name), Before) << Name;
  }
  for (const char* Name : {"CPUSpeed", "BitsPerColor", "WinVerMajor", "CPUType"}) {
    const int64_t Before = GetOrdProp(App.get(), Name);
    SetOrdProp(App.get(), Name, 12345);
    EXPECT_EQ(GetOrdProp(App.get(), Name), Before) << Name;
  }
}

TEST(ShowApp, DescriptionsOfWindowsAndProcessors) {
  const struct {
    WTypes Type;
    int Major, Minor, Build;
    const char* Text;
  } Windows[] = {
      {q_Windows, 3, 10, 0, "Windows 3.10"},
      {q_WFW, 3, 11, 0, "Windows for Workgroups 3.11"},
      {q_Win32S, 1, 30, 172, "Win32S 1.30 (Build: 172)"},
      {q_NT, 4, 0, 1381, "Windows NT 4.0 (Build: 1381)"},
      {q_95, 4, 10, 2222, "Windows'95 4.10 (Build: 2222)"},
  };
  for (const auto& W : Windows) EXPECT_EQ(WindowsDescription(W.Type, W.Major, W.Minor, W.Build), W.Text);
  auto Cpu = [](const char* Vendor, int Family, int Model, int Type) {
    TProcessorData D;
    D.CpuIdPresent = true;
    D.Vendor = Vendor;
    D.Signature = Family << 8 | Model << 4 | Type << 12;
    return CpuDescription(D, Family);
  };
  EXPECT_EQ(Cpu("GenuineIntel", 4, 3, 0), "80486 DX2");
  EXPECT_EQ(Cpu("GenuineIntel", 4, 8, 1), "80486 Overdrive DX4");
  EXPECT_EQ(Cpu("AuthenticAMD", 4, 3, 0), "AMD Am486/Am5x86");
  EXPECT_EQ(Cpu("CyrixInstead", 5, 4, 0), "Cyrix Gxm");
  EXPECT_EQ(Cpu("CyrixInstead", 5, 2, 0), "Cyrix 6x86");
  EXPECT_EQ(Cpu("GenuineIntel", 5, 4, 0), "Pentium MMX 166/200 MHz");
  EXPECT_EQ(Cpu("GenuineIntel", 6, 3, 0), "Intel Pentium II");
  EXPECT_EQ(Cpu("GenuineIntel", 6, 9, 1), "Intel Pentium P6 Overdrive");
  EXPECT_EQ(Cpu("GenuineIntel", 15, 1, 0), "");
  TProcessorData Old;  // no CPUID
  EXPECT_EQ(CpuDescription(Old, 3), "80386");
  EXPECT_EQ(CpuDescription(Old, 6), "PentiumPro");
  EXPECT_EQ(CpuDescription(Old, 9), "P9");
}

TEST(ShowApp, ShortDateLengthensOrShortensTheYearAndComesBack) {
  const AnsiString System = ShortDateFormat;
  ShortDateFormat = "d/M/yy";
  {
    auto App = NewShowApp();
    App->SetShortDate(sdf4DigitYear);
    EXPECT_EQ(ShortDateFormat, "d/M/yyyy");
    App->SetShortDate(sdfDontTouch);
    EXPECT_EQ(ShortDateFormat, "d/M/yy");
  }
  ShortDateFormat = "dd.MM.yyyy";
  {
    auto App = NewShowApp();
    App->SetShortDate(sdf2DigitYear);
    EXPECT_EQ(ShortDateFormat, "dd.MM.yy");
    App->SetShortDate(sdf4DigitYear);
    EXPECT_EQ(ShortDateFormat, "dd.MM.yyyy");
    App->SetShortDate(sdfDontTouch);
    EXPECT_EQ(ShortDateFormat, "dd.MM.yyyy");
  }
  EXPECT_EQ(ShortDateWithYear("yyyyy/MM", sdf2DigitYear), "yy/MM");
  EXPECT_EQ(ShortDateWithYear("MM/dd", sdf4DigitYear), "MM/dd");
  ShortDateFormat = System;
}

// The setter sets the process-wide format also for the value it has: a format changed elsewhere
// meanwhile is set again.
TEST(ShowApp, ShortDateSetsTheFormatEvenWhenTheValueIsTheSame) {
  const AnsiString System = ShortDateFormat;
  ShortDateFormat = "d/M/yy";
  {
    auto App = NewShowApp();
    App->SetShortDate(sdf4DigitYear);
    ShortDateFormat = "d/M/yy";
    App->SetShortDate(sdf4DigitYear);
    EXPECT_EQ(ShortDateFormat, "d/M/yyyy");
    App->SetShortDate(sdfDontTouch);
    ShortDateFormat = "yyyy-MM-dd";
    App->SetShortDate(sdfDontTouch);
    EXPECT_EQ(ShortDateFormat, "d/M/yy") << "the saved format, again";
  }
  ShortDateFormat = System;
}

TEST(ShowApp, EnvironmentLinesFollowTheProcess) {
  auto App = NewShowApp();
  int Entries = 0;
  char* Block = GetEnvironmentStringsA();
  for (const char* P = Block; *P; P += std::strlen(P) + 1) {
    ASSERT_LT(Entries, App->EnvironmentLines()->Count());
    EXPECT_EQ(App->EnvironmentLines()->Strings(Entries), AnsiString(P));
    ++Entries;
  }
  FreeEnvironmentStringsA(Block);
  EXPECT_EQ(App->EnvironmentLines()->Count(), Entries);
  EXPECT_TRUE(App->SetEnvironmentString("ORVALEN_SHOWAPP", "forty two"));
  EXPECT_EQ(App->GetEnvironmentString("ORVALEN_SHOWAPP"), "forty two");
  EXPECT_NE(App->EnvironmentLines()->IndexOf("ORVALEN_SHOWAPP=forty two"), -1);
  char Value[32] = {};
  GetEnvironmentVariableA("ORVALEN_SHOWAPP", Value, sizeof Value);
  EXPECT_STREQ(Value, "forty two");
  EXPECT_FALSE(App->SetEnvironmentString("", "x")) << "the system refuses an empty name";
  App->SetEnvironmentString("ORVALEN_SHOWAPP", "");
  EXPECT_EQ(App->GetEnvironmentString("NO_SUCH_ORVALEN_VARIABLE"), "");
  SetEnvironmentVariableA("ORVALEN_SHOWAPP", nullptr);
}

TEST(ShowApp, MirrorsAreTheApplications) {
  auto App = NewShowApp();
  App->SetTitle("Mirrored title");
  EXPECT_EQ(Application->Title(), "Mirrored title");
  App->SetHintPause(700);
  EXPECT_EQ(Application->HintPause(), 700);
  Application->SetHintPause(500);
  EXPECT_FALSE(GetPropInfo(App.get(), "HintPause")->IsStored(App.get()));
  EXPECT_TRUE(GetPropInfo(App.get(), "Title")->IsStored(App.get()));
  class TLog : public TObject {
  public:
    void Idle(TObject*, bool&) {}
  } Log;
  SetMethodProp(App.get(), "OnIdle", TIdleEvent::Bind<&TLog::Idle>(&Log).Method());
  EXPECT_TRUE(Application->OnIdle == TIdleEvent::Bind<&TLog::Idle>(&Log));
  Application->OnIdle = nullptr;
  EXPECT_FALSE(GetMethodProp(App.get(), "OnIdle"));
  App->SetTitle("suite_tests");
}

class TEndLog : public TObject {
public:
  bool Allow = true;
  int Asked = 0, Ended = 0;
  void Ask(bool& DoEnd) {
    ++Asked;
    DoEnd = Allow;
  }
  void End() { ++Ended; }
};

TEST(ShowApp, EndSessionIsAskedOnTheMainForm) {
  TForm* Main = nullptr;
  Application->CreateForm(&Main);
  auto* App = TComponent::Create<TqShowApp>(Main);
  TEndLog Log;
  App->OnAskEndSession = EVENT(&Log, TEndLog::Ask);
  App->OnEndSession = EVENT(&Log, TEndLog::End);
  HWND AppWnd = Application->Handle();
  EXPECT_EQ(SendMessageA(AppWnd, WM_QUERYENDSESSION, 0, 0), 1);
  Log.Allow = false;
  EXPECT_EQ(SendMessageA(AppWnd, WM_QUERYENDSESSION, 0, 0), 0);
  EXPECT_EQ(Log.Asked, 2);
  SendMessageA(AppWnd, WM_ENDSESSION, 0, 0);
  EXPECT_EQ(Log.Ended, 0) << "the session goes on";
  TObject::Free(Main);
  // On another form the application answers as ever.
  suitetest::TFormPtr Other(TCustomForm::CreateNew<TForm>(nullptr));
  auto* OtherApp = TComponent::Create<TqShowApp>(Other.get());
  OtherApp->OnAskEndSession = EVENT(&Log, TEndLog::Ask);
  EXPECT_EQ(SendMessageA(AppWnd, WM_QUERYENDSESSION, 0, 0), 1);
  EXPECT_EQ(Log.Asked, 2);
}

TEST(ShowApp, OffTheTaskBar) {
  TForm* Main = nullptr;
  Application->CreateForm(&Main);
  auto* App = TComponent::Create<TqShowApp>(Main);
  App->SetShowOnStatusBar(false);
  App->SetShowNonOnStatusBar(true);
  App->Loaded();  // as the form reader ends
  Main->Show();
  HWND W = Main->Handle();
  EXPECT_TRUE(GetWindowLongA(W, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "the main form's button, until the loop runs";
  EXPECT_TRUE(PumpUntil([&] { return !(GetWindowLongA(W, GWL_EXSTYLE) & WS_EX_APPWINDOW); }));
  EXPECT_TRUE(IsWindowVisible(W));
  // Each window the main form makes again goes off the taskbar as well.
  for (TFormBorderStyle Style : {bsSingle, bsSizeable}) {
    SCOPED_TRACE(TFormBorderStyleType.ValueToName(Style));
    Main->SetBorderStyle(Style);
    PumpRounds(3);
    const HWND Again = Main->Handle();
    EXPECT_NE(Again, W) << "the window was made again";
    EXPECT_TRUE(PumpUntil([&] { return !(GetWindowLongA(Again, GWL_EXSTYLE) & WS_EX_APPWINDOW); }));
    EXPECT_TRUE(IsWindowVisible(Again));
    W = Again;
  }
  HWND AppWnd = Application->Handle();
  EXPECT_FALSE(IsWindowVisible(AppWnd));
  const LONG Ex = GetWindowLongA(AppWnd, GWL_EXSTYLE);
  EXPECT_EQ(Ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST), WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  SetWindowLongA(AppWnd, GWL_EXSTYLE, Ex & ~WS_EX_TOOLWINDOW);
  SetWindowPos(AppWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TObject::Free(Main);
}

TEST(ShowApp, PublishedDefaultsMatchAFreshComponent) {
  // The test program's exception handler is the application's: the mirror shows it.
  ExpectClassDefaultsMatch(TqShowApp::StaticClass(), {"OnExecption"});
}

// ---------------------------------------------------------------------------------------------
// Real processes of the fixture program.

class TFixture {
public:
  // Starts the fixture (at Exe, by default the one beside the tests) with Show as its start-up
  // show state; its events go to a file of its own.
  TFixture(const std::string& Name, const std::string& Args = "", int Show = SW_SHOWNORMAL,
           const std::string& Exe = suitetest::ModuleDir() + ORVALEN_SHOWAPPFIXTURE)
      : FEvents(suitetest::ModuleDir() + "showapp-" + Name + ".txt") {
    DeleteFileA(FEvents.c_str());
    std::string Cmd = "\"" + Exe + "\" \"" + FEvents + "\" " + Args;
    STARTUPINFOA Si{};
    Si.cb = sizeof Si;
    Si.dwFlags = STARTF_USESHOWWINDOW;
    Si.wShowWindow = WORD(Show);
    FStarted = CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Si, &FInfo) != 0;
    EXPECT_TRUE(FStarted) << Cmd;
  }
  ~TFixture() {
    if (!FStarted) return;
    if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT) {
      if (HWND W = Form()) PostMessageA(W, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(FInfo.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(FInfo.hProcess, 1);
    }
    CloseHandle(FInfo.hThread);
    CloseHandle(FInfo.hProcess);
    DeleteFileA(FEvents.c_str());
  }
  // The program's main form, once it shows (minimised or not).
  HWND Form() const {
    TFind F{FInfo.dwProcessId};
    EnumWindows(&FindForm, reinterpret_cast<LPARAM>(&F));
    return F.Found;
  }
  HWND WaitForForm() const {
    HWND W = nullptr;
    PumpUntil([&] { return (W = Form()) != nullptr; }, 2000);
    return W;
  }
  // Ends with the code, or -1 while it still runs after MaxMs.
  long WaitForExit(DWORD MaxMs = 20000) const {
    if (WaitForSingleObject(FInfo.hProcess, MaxMs) != WAIT_OBJECT_0) return -1;
    DWORD Code = 0;
    GetExitCodeProcess(FInfo.hProcess, &Code);
    return long(Code);
  }
  bool Running() const { return WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT; }
  void Kill() {
    TerminateProcess(FInfo.hProcess, 9);
    WaitForSingleObject(FInfo.hProcess, 10000);
  }
  std::vector<std::string> Events() const {
    std::vector<std::string> Lines;
    std::ifstream In(FEvents);
    for (std::string L; std::getline(In, L);) Lines.push_back(L);
    return Lines;
  }
  int Count(const std::string& Event) const {
    auto E = Events();
    return int(std::count(E.begin(), E.end(), Event));
  }

private:
  struct TFind {
    DWORD Pid;
    HWND Found = nullptr;
  };
  static BOOL CALLBACK FindForm(HWND W, LPARAM L) {
    auto* F = reinterpret_cast<TFind*>(L);
    DWORD Pid = 0;
    GetWindowThreadProcessId(W, &Pid);
    char Class[64] = {};
    GetClassNameA(W, Class, sizeof Class);
    if (Pid == F->Pid && IsWindowVisible(W) && (!std::strcmp(Class, "TFixtureForm") || !std::strcmp(Class, "TMultiForm")))
      F->Found = W;
    return TRUE;
  }
  std::string FEvents;
  PROCESS_INFORMATION FInfo{};
  bool FStarted = false;
};

// Waits a while for an event that should not come (a broadcast is delivered in moments).
void Settle() { PumpRounds(100); }

TEST(ShowAppInstances, ASecondInstanceBringsTheFirstToTheFront) {
  TFixture A("a", "", SW_SHOWMINIMIZED);
  HWND AForm = A.WaitForForm();
  ASSERT_TRUE(AForm);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(AForm) != 0; })) << "started minimised";
  vcltest::TTestWindow Mine;
  Mine.Activate();
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Mine.Handle(); }));
  {
    TFixture B("b");
    EXPECT_EQ(B.WaitForExit(), 0);
    const std::string Width = std::to_string(-320 - 10);
    EXPECT_EQ(B.Events(), (std::vector<std::string>{"second", "exit " + Width})) << "its form off the screen";
  }
  ASSERT_TRUE(PumpUntil([&] { return A.Count("another") == 1; }));
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(AForm) && GetForegroundWindow() == AForm; }))
      << "restored and in front";
  Settle();
  EXPECT_EQ(A.Count("another"), 1) << "once";
  EXPECT_TRUE(A.Running());

  // One that declines to call the first: nothing reaches it.
  {
    TFixture B("b2", "refuse");
    EXPECT_EQ(B.WaitForExit(), 0);
    EXPECT_EQ(B.Count("second"), 1);
  }
  Settle();
  EXPECT_EQ(A.Count("another"), 1);
}

TEST(ShowAppInstances, AnotherPathOrManyInstancesRunSideBySide) {
  TFixture A("a");
  ASSERT_TRUE(A.WaitForForm());
  // The same program at another path is another program.
  const std::string Dir = suitetest::ModuleDir() + "showapp-copy";
  CreateDirectoryA(Dir.c_str(), nullptr);
  const std::string Copy = Dir + "\\" + ORVALEN_SHOWAPPFIXTURE;
  ASSERT_TRUE(CopyFileA((suitetest::ModuleDir() + ORVALEN_SHOWAPPFIXTURE).c_str(), Copy.c_str(), FALSE));
  {
    TFixture C("copy", "", SW_SHOWNORMAL, Copy);
    EXPECT_TRUE(C.WaitForForm());
    Settle();
    EXPECT_TRUE(C.Running());
    EXPECT_EQ(C.Count("second"), 0);
  }
  DeleteFileA(Copy.c_str());
  RemoveDirectoryA(Dir.c_str());
  // Without OnlyOneInstance both run, and neither calls the other.
  {
    TFixture M1("m1", "multi"), M2("m2", "multi");
    EXPECT_TRUE(M1.WaitForForm());
    EXPECT_TRUE(M2.WaitForForm());
    Settle();
    EXPECT_TRUE(M1.Running() && M2.Running());
    EXPECT_EQ(M1.Count("second") + M2.Count("second"), 0);
  }
  EXPECT_EQ(A.Count("another"), 0);
}

TEST(ShowAppInstances, AFirstInstanceThatDiedLeavesNoTrace) {
  {
    TFixture A("a");
    ASSERT_TRUE(A.WaitForForm());
    A.Kill();
  }
  {
    TFixture B("b", "crash");
    HWND Form = B.WaitForForm();
    ASSERT_TRUE(Form);
    Settle();
    EXPECT_TRUE(B.Running()) << "a first instance after the killed one";
    EXPECT_EQ(B.Count("second"), 0);
    PostMessageA(Form, WM_APP + 13, 0, 0);
    EXPECT_NE(B.WaitForExit(), 0) << "the crash";
    EXPECT_TRUE(B.Events().empty()) << "it never got to its end";
  }
  TFixture C("c");
  EXPECT_TRUE(C.WaitForForm()) << "a first instance after the crashed one";
  Settle();
  EXPECT_TRUE(C.Running());
  EXPECT_EQ(C.Count("second"), 0);
}

TEST(ShowAppInstances, StartedMinimisedARealRestoreShowsTheForm) {
  TFixture A("a", "", SW_SHOWMINIMIZED);
  HWND Form = A.WaitForForm();
  ASSERT_TRUE(Form);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(Form) != 0; }));
  // As the taskbar restores a window.
  PostMessageA(Form, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsIconic(Form) && IsWindowVisible(Form); }));
  Settle();
  EXPECT_EQ(A.Count("restore"), 0) << "the component's own handler took the first restore";
  // The program's handler is back for the next one.
  PostMessageA(Form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(Form) != 0; }));
  PostMessageA(Form, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(PumpUntil([&] { return A.Count("restore") == 1; }));
}

}  // namespace
