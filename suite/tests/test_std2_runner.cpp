// The program runner on real child processes, and the version reader on real files.
#include "suite/Std2.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"
#include "rtl/Streaming.h"
#include "vcl/Forms.h"

#include <gtest/gtest.h>

#include <fstream>
#include <utility>
#include <sstream>
#include <string>
#include <vector>

namespace {

using suitetest::ModuleDir;

std::string Helper() { return ModuleDir() + ORVALEN_RUNHELPER; }

using suitetest::TempPath;

// What the helper wrote: its path, command line, show state, then one argument a line.
struct THelperReport {
  bool Read = false;
  std::string Self, CommandLine;
  int Show = -2;
  std::vector<std::string> Args;
};
THelperReport ReadReport(const std::string& Path) {
  THelperReport R;
  std::ifstream F(Path, std::ios::binary);
  if (!F) return R;
  std::string Show;
  R.Read = bool(std::getline(F, R.Self)) && std::getline(F, R.CommandLine) && std::getline(F, Show);
  if (R.Read) R.Show = std::stoi(Show);
  for (std::string A; std::getline(F, A);) R.Args.push_back(A);
  return R;
}
// Waits for the helper's report, which it writes as it starts.
THelperReport WaitReport(const std::string& Path) {
  for (int I = 0; I < 500; ++I) {
    THelperReport R = ReadReport(Path);
    if (R.Read) return R;
    Sleep(20);
  }
  return {};
}

std::string Quoted(const std::string& S) { return "\"" + S + "\""; }

// The events of a runner in the order they came, and what OnError was given.
struct TRecorder : TObject {
  std::vector<std::string> Events;
  TqcRunError Error = qre_OK;
  int ErrorCode = -1;
  void Attach(TqcRunProg* R) {
    R->OnBeforeRun = TNotifyEvent::Bind<&TRecorder::BeforeRun>(this);
    R->OnBeforeWait = TNotifyEvent::Bind<&TRecorder::BeforeWait>(this);
    R->OnFinish = TNotifyEvent::Bind<&TRecorder::Finish>(this);
    R->OnError = TqcError::Bind<&TRecorder::Failed>(this);
  }
  void BeforeRun(TObject*) { Events.push_back("BeforeRun"); }
  void BeforeWait(TObject*) { Events.push_back("BeforeWait"); }
  void Finish(TObject*) { Events.push_back("Finish"); }
  void Failed(TObject*, TqcRunError E, int Code) {
    Events.push_back("Error");
    Error = E;
    ErrorCode = Code;
  }
  std::string Joined() const {
    std::string S;
    for (const std::string& E : Events) S += (S.empty() ? "" : " ") + E;
    return S;
  }
};

TEST(RunProgAndVerInfo, PublishedDefaultsMatchFreshComponents) {
  ExpectClassDefaultsMatch(TqcRunProg::StaticClass());
  ExpectClassDefaultsMatch(TqcVerInfo::StaticClass());
}

// ---------------------------------------------------------------------------------------------
// Runner

TEST(RunProg, WaitsAsToldAndReportsTheExitCode) {
  const struct {
    bool Wait, Hard;
    int ReturnCode;
    const char* Events;
  } Cases[] = {
      {true, false, 3, "BeforeRun BeforeWait Finish"},
      {true, true, 0, "BeforeRun BeforeWait Finish"},
      {false, false, 0, "BeforeRun"},
      {false, true, 0, "BeforeRun"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string("Wait ") + (C.Wait ? "true" : "false") + ", HardWait " + (C.Hard ? "true" : "false"));
    const std::string Out = TempPath("wait.txt");
    DeleteFileA(Out.c_str());
    TqcRunProg Run(nullptr);
    TRecorder Rec;
    Rec.Attach(&Run);
    Run.SetWait(C.Wait);
    Run.SetHardWait(C.Hard);
    Run.SetCmdLine((Quoted(Helper()) + " " + Quoted(Out) + " 200 3").c_str());
    Run.Run();
    EXPECT_EQ(Run.ReturnCode(), C.ReturnCode);
    EXPECT_EQ(Rec.Joined(), C.Events);
    EXPECT_EQ(Run.LastResultCode(), qre_OK);
    EXPECT_EQ(Run.SavedErrorCode(), 0);
    EXPECT_TRUE(WaitReport(Out).Read);
    Sleep(C.Wait ? 0 : 300);  // a helper not waited for ends before its file goes
    DeleteFileA(Out.c_str());
  }
}

TEST(RunProg, ExitCodeOfStillActiveEndsThePollingWait) {
  const std::string Out = TempPath("259.txt");
  TqcRunProg Run(nullptr);
  Run.RunThis((Quoted(Helper()) + " " + Quoted(Out) + " 100 259").c_str());
  EXPECT_EQ(Run.ReturnCode(), 259);
  DeleteFileA(Out.c_str());
}

// A window whose message starts a second run from inside the first one's wait.
struct TNested : TObject {
  TqcRunProg* Run = nullptr;
  std::string Out;
  int InnerCode = -1, Messages = 0;
  HWND Wnd = nullptr;
  static LRESULT CALLBACK Proc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
    if (Msg == WM_APP) {
      auto* Self = reinterpret_cast<TNested*>(LP);
      ++Self->Messages;
      if (WP) {
        Self->Run->RunThis((Quoted(Helper()) + " " + Quoted(Self->Out) + " 50 7").c_str());
        Self->InnerCode = Self->Run->ReturnCode();
      }
      return 0;
    }
    return DefWindowProcA(W, Msg, WP, LP);
  }
  bool Nested = false;
  void Post(WPARAM Nest) { PostMessageA(Wnd, WM_APP, Nest, reinterpret_cast<LPARAM>(this)); }
  // The outer run's wait; the inner one's starts nothing more.
  void BeforeWait(TObject*) {
    if (!std::exchange(Nested, true)) Post(1);
  }
};

HWND MessageWindow() {
  static const ATOM Class = [] {
    WNDCLASSA C{};
    C.lpfnWndProc = &TNested::Proc;
    C.hInstance = GetModuleHandleA(nullptr);
    C.lpszClassName = "OrvalenRunProgTest";
    return RegisterClassA(&C);
  }();
  return CreateWindowA(reinterpret_cast<LPCSTR>(uintptr_t(Class)), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                       GetModuleHandleA(nullptr), nullptr);
}

TEST(RunProg, PollingWaitSleepsHandlesMessagesAndNests) {
  TNested N;
  N.Wnd = MessageWindow();
  ASSERT_NE(N.Wnd, nullptr);
  const std::string Out = TempPath("poll.txt"), Inner = TempPath("inner.txt");
  N.Out = Inner;
  TqcRunProg Run(nullptr);
  N.Run = &Run;

  // A 500 ms wait: a posted message is handled, and the waiting costs little processor time.
  FILETIME C, E, K0, U0, K1, U1;
  auto Ticks = [](FILETIME F) { return uint64_t(F.dwHighDateTime) << 32 | F.dwLowDateTime; };
  GetProcessTimes(GetCurrentProcess(), &C, &E, &K0, &U0);
  const DWORD T0 = GetTickCount();
  N.Post(0);
  Run.RunThis((Quoted(Helper()) + " " + Quoted(Out) + " 500 4").c_str());
  const DWORD Wall = GetTickCount() - T0;
  GetProcessTimes(GetCurrentProcess(), &C, &E, &K1, &U1);
  EXPECT_EQ(Run.ReturnCode(), 4);
  EXPECT_EQ(N.Messages, 1);
  EXPECT_GE(Wall, 450u);
  const uint64_t Cpu = (Ticks(K1) - Ticks(K0) + Ticks(U1) - Ticks(U0)) / 10000;  // ms
  EXPECT_LT(Cpu, Wall / 4) << "processor ms during a " << Wall << " ms wait";

  // A run started by a message inside the wait keeps its own exit code, and so does the outer.
  Run.OnBeforeWait = TNotifyEvent::Bind<&TNested::BeforeWait>(&N);
  Run.RunThis((Quoted(Helper()) + " " + Quoted(Out) + " 1500 5").c_str());
  EXPECT_EQ(N.InnerCode, 7);
  EXPECT_EQ(Run.ReturnCode(), 5);
  DestroyWindow(N.Wnd);
  DeleteFileA(Out.c_str());
  DeleteFileA(Inner.c_str());
}

TEST(RunProg, TerminatingTheApplicationEndsTheWait) {
  // In a process of its own, since the test program's application must go on.
  const std::string Out = TempPath("terminate.txt"), Report = TempPath("terminate-report.txt");
  SECURITY_ATTRIBUTES Sa{sizeof Sa, nullptr, TRUE};
  HANDLE File = CreateFileA(Report.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &Sa, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(File, INVALID_HANDLE_VALUE);
  STARTUPINFOA Si{};
  Si.cb = sizeof Si;
  Si.dwFlags = STARTF_USESTDHANDLES;
  Si.hStdOutput = Si.hStdError = File;
  PROCESS_INFORMATION Pi{};
  std::string Cmd = Quoted(ModuleDir() + ORVALEN_RUNTERMINATE) + " " + Quoted(Helper()) + " " + Quoted(Out);
  ASSERT_TRUE(CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &Si, &Pi));
  CloseHandle(File);
  ASSERT_EQ(WaitForSingleObject(Pi.hProcess, 15000), WAIT_OBJECT_0) << "the wait did not end";
  DWORD Code = 0;
  GetExitCodeProcess(Pi.hProcess, &Code);
  CloseHandle(Pi.hThread);
  CloseHandle(Pi.hProcess);
  EXPECT_EQ(Code, 259u);
  std::ifstream R(Report);
  std::string Line;
  std::getline(R, Line);
  EXPECT_EQ(Line, "259 1") << "return code and OnFinish";
  R.close();
  DeleteFileA(Report.c_str());
  // The helper it left running ends a second after it starts; nothing stays behind.
  EXPECT_TRUE(WaitReport(Out).Read);
  Sleep(1500);
  DeleteFileA(Out.c_str());
}

TEST(RunProg, ShowStateReachesTheProgram) {
  for (auto [Show, Want] : {std::pair{qrs_SHOWMINIMIZED, 2}, std::pair{qrs_HIDE, 0}, std::pair{qrs_SHOWNORMAL, 1}}) {
    SCOPED_TRACE(Want);
    const std::string Out = TempPath("show.txt");
    TqcRunProg Run(nullptr);
    Run.SetVisiblility(Show);
    Run.RunThis((Quoted(Helper()) + " " + Quoted(Out) + " 0 0").c_str());
    EXPECT_EQ(ReadReport(Out).Show, Want);
    DeleteFileA(Out.c_str());
  }
}

TEST(RunProg, CommandLinesArriveWholeAndStartTheProgramMeant) {
  // The helper in a folder whose name has blanks, and another program planted where the
  // unquoted line's first word ends ("...\dir.exe"), which must never run.
  const std::string Base = TempPath("quoting"), Dir = Base + "\\dir with space";
  CreateDirectoryA(Base.c_str(), nullptr);
  CreateDirectoryA(Dir.c_str(), nullptr);
  const std::string Meant = Dir + "\\runhelper.exe", Planted = Base + "\\dir.exe";
  ASSERT_TRUE(CopyFileA(Helper().c_str(), Meant.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(Helper().c_str(), Planted.c_str(), FALSE));
  const std::string Out = TempPath("quoting.txt");
  const std::string Long(580, 'x');
  const struct {
    std::string Line;
    std::vector<std::string> Args;
  } Cases[] = {
      {Quoted(Meant) + " " + Quoted(Out) + " 0 0 plain", {"plain"}},
      {Meant + " " + Quoted(Out) + " 0 0 plain", {"plain"}},
      {Dir + "\\runhelper " + Quoted(Out) + " 0 0", {}},
      {Quoted(Meant) + " " + Quoted(Out) + " 0 0 \"one argument with blanks\" two", {"one argument with blanks", "two"}},
      {Quoted(Meant) + " " + Quoted(Out) + " 0 0 " + Long, {Long}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Line.substr(0, 120));
    TqcRunProg Run(nullptr);
    Run.RunThis(C.Line.c_str());
    ASSERT_EQ(Run.LastResultCode(), qre_OK) << Run.SavedErrorCode();
    const THelperReport R = ReadReport(Out);
    EXPECT_TRUE(R.Read);
    EXPECT_EQ(R.Self, Meant);
    EXPECT_EQ(R.Args, C.Args);
    if (C.Line.size() > 512) {
      EXPECT_NE(R.CommandLine.find(Long), std::string::npos) << "cut at " << R.CommandLine.size();
    }
    DeleteFileA(Out.c_str());
  }
  DeleteFileA(Meant.c_str());
  DeleteFileA(Planted.c_str());
  RemoveDirectoryA(Dir.c_str());
  RemoveDirectoryA(Base.c_str());
}

TEST(RunProg, FailedStartsReportTheSystemError) {
  const std::string Folder = TempPath("a folder"), NotAProgram = TempPath("not-a-program.exe");
  CreateDirectoryA(Folder.c_str(), nullptr);
  { std::ofstream(NotAProgram) << "plain text, no program"; }
  const struct {
    std::string Line;
    int Error;
    TqcRunError Result;
  } Cases[] = {
      {Quoted(ModuleDir() + "no-such-program.exe"), 2, qre_FileNotFound},
      {Quoted(Folder), 5, qre_networkerror},
      {Quoted(NotAProgram), 193, qre_UnknownError},
      {Quoted(Helper()) + " " + std::string(40000, 'y'), 87, qre_UnknownError},  // 87 is Wine's answer
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Line.substr(0, 120));
    TqcRunProg Run(nullptr);
    TRecorder Rec;
    Rec.Attach(&Run);
    Run.RunThis(C.Line.c_str());
    EXPECT_EQ(Rec.Joined(), "BeforeRun Error");
    EXPECT_EQ(Rec.ErrorCode, C.Error);
    EXPECT_EQ(Rec.Error, C.Result);
    EXPECT_EQ(Run.SavedErrorCode(), C.Error);
    EXPECT_EQ(Run.LastResultCode(), C.Result);
  }
  DeleteFileA(NotAProgram.c_str());
  RemoveDirectoryA(Folder.c_str());
}

TEST(RunProg, ErrorMapping) {
  const struct {
    int Code;
    TqcRunError Result;
  } Cases[] = {
      {0, qre_OK},           {1, qre_FileNotFound},  {2, qre_FileNotFound},  {3, qre_PathNotFound},
      {4, qre_FileError},    {5, qre_networkerror},  {6, qre_MemoryError},   {14, qre_MemoryError},
      {15, qre_FileError},   {31, qre_FileError},    {32, qre_networkerror}, {36, qre_networkerror},
      {37, qre_UnknownError}, {38, qre_FileError},   {52, qre_FileError},    {53, qre_networkerror},
      {55, qre_networkerror}, {56, qre_UnknownError}, {-1, qre_UnknownError}, {193, qre_UnknownError},
  };
  for (const auto& C : Cases) EXPECT_EQ(RunErrorOf(C.Code), C.Result) << C.Code;
}

// ---------------------------------------------------------------------------------------------
// Version reader

// The build's paths are host paths; Wine sees the host's root as drive Z:.
std::string WinePath(std::string P) {
  if (!P.empty() && P[0] == '/') P = "Z:" + P;
  for (char& C : P)
    if (C == '/') C = '\\';
  return P;
}

TEST(VerInfo, TheProgramsVersionResource) {
  TqcVerInfo V(nullptr);
  V.SetVerFile(WinePath(ORVALEN_PROGRAM_EXE).c_str());
  ASSERT_TRUE(V.ExistVerInfo());
  EXPECT_EQ(V.FileVersion(), "1.12");
  EXPECT_EQ(V.ProductName(), "Orvalen");
  EXPECT_EQ(V.OriginalFileName(), "orvalen.exe");  // the resource spells the key "OriginalFilename"
  EXPECT_EQ(V.LocaleID(), "0409");
  EXPECT_EQ(V.CodePage(), "04e4");
  char Name[256];
  ASSERT_GT(VerLanguageNameA(0x0409, Name, sizeof Name), 0u);
  EXPECT_EQ(V.Language(), Name);
  EXPECT_EQ(V.CompanyName(), "");
  EXPECT_EQ(V.Comments(), "");
  EXPECT_FALSE(V.IS_DEBUG() || V.IS_PRERELEASE() || V.IS_PATCHED() || V.IS_PRIVATEBUILD() || V.IS_INFOINFERRED() ||
               V.IS_SPECIALBUILD());
}

TEST(VerInfo, EveryKeyAndFlagOfTheTestProgram) {
  TqcVerInfo V(nullptr);
  V.DoTheFile();  // VerFile empty: the running program
  ASSERT_TRUE(V.ExistVerInfo());
  const struct {
    AnsiString (TqcVerInfo::*Get)() const;
    const char* Value;
  } Keys[] = {
      {&TqcVerInfo::CompanyName, "Test company"},      {&TqcVerInfo::FileDescription, "Suite tests"},
      {&TqcVerInfo::FileVersion, "3.4.5.6"},           {&TqcVerInfo::InternalName, "suite_tests"},
      {&TqcVerInfo::LegalCopyright, "Copyright nobody"}, {&TqcVerInfo::OriginalFileName, "suite_tests.exe"},
      {&TqcVerInfo::ProductName, "Suite test product"}, {&TqcVerInfo::ProductVersion, "3.4"},
      {&TqcVerInfo::LegalTrademarks, "No marks"},      {&TqcVerInfo::PrivateBuild, "Private build"},
      {&TqcVerInfo::SpecialBuild, "Special build"},    {&TqcVerInfo::Comments, "Comment text"},
  };
  for (const auto& K : Keys) EXPECT_EQ((V.*K.Get)(), K.Value);
  EXPECT_EQ(V.GetNonStandardString("BuildMachine"), "The test host");
  EXPECT_EQ(V.GetNonStandardString("NoSuchKey"), "");
  EXPECT_EQ(V.GetString(AnsiString(std::string(300, 'k'))), "");
  EXPECT_TRUE(V.IS_DEBUG());
  EXPECT_FALSE(V.IS_PRERELEASE());
  EXPECT_TRUE(V.IS_PATCHED());
  EXPECT_FALSE(V.IS_PRIVATEBUILD());
  EXPECT_FALSE(V.IS_INFOINFERRED());
  EXPECT_TRUE(V.IS_SPECIALBUILD());
}

TEST(VerInfo, FilesWithOddOrNoVersionBlocks) {
  const std::string Plain = TempPath("plain.txt");
  { std::ofstream(Plain) << "no version here"; }
  const struct {
    std::string File;
    bool Found;
  } Cases[] = {
      {ModuleDir() + ORVALEN_VERNOTRANS, true},  // strings, but no translation table
      {ModuleDir() + ORVALEN_VERFIXLESS, true},  // no fixed information
      {Plain, false},
      {Helper(), false},
      {ModuleDir() + "missing.dll", false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.File);
    TqcVerInfo V(nullptr);
    V.SetVerFile(C.File.c_str());
    EXPECT_EQ(V.ExistVerInfo(), C.Found);
    EXPECT_EQ(V.FileVersion(), "");
    EXPECT_EQ(V.ProductName(), "");
    EXPECT_EQ(V.LocaleID(), "");
    EXPECT_EQ(V.CodePage(), "");
    EXPECT_EQ(V.Language(), "");
    EXPECT_FALSE(V.IS_DEBUG() || V.IS_PRERELEASE() || V.IS_PATCHED() || V.IS_PRIVATEBUILD() || V.IS_INFOINFERRED() ||
                 V.IS_SPECIALBUILD());
  }
  DeleteFileA(Plain.c_str());
}

TEST(VerInfo, OnlyTheFileNameIsStoredAndInformationIgnoresWrites) {
  TqcVerInfo V(nullptr);
  V.SetName("VerInfo1");
  V.SetVerFile("other.exe");
  SetPropValueText(&V, GetPropInfo(&V, "ProductName"), "Written");
  EXPECT_EQ(V.ProductName(), "");
  TMemoryStream Bin;
  WriteComponentRes(&Bin, &V);
  Bin.SetPosition(0);
  TStringStream Text("");
  ObjectBinaryToText(&Bin, &Text);
  EXPECT_EQ(Text.DataString().str(), "object VerInfo1: TqcVerInfo\r\n  VerFile = 'other.exe'\r\nend\r\n");
}

}  // namespace
