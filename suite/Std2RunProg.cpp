#include "suite/Std2RunProg.h"

#include "vcl/Forms.h"
#include "vcl/Win.h"

#include <string>
#include <vector>

constexpr TEnumType TqcRunShowType{
    "TqcRunShow",
    {"qrs_HIDE", "qrs_SHOWNORMAL", "qrs_SHOWMINIMIZED", "qrs_SHOWMAXIMIZED", "qrs_SHOWNOACTIVATE", "qrs_SHOW",
     "qrs_MINIMIZE", "qrs_SHOWMINNOACTIVE", "qrs_SHOWNA", "qrs_RESTORE", "qrs_SHOWDEFAULT"}};
constexpr TEnumType TqcRunErrorType{
    "TqcRunError",
    {"qre_OK", "qre_MemoryError", "qre_FileNotFound", "qre_PathNotFound", "qre_TaskError", "qre_WrongOpSystem",
     "qre_WrongFileFormat", "qre_networkerror", "qre_FileError", "qre_UnknownError"}};

TqcRunError RunErrorOf(int E) {
  if (E == 0) return qre_OK;
  if (E == 1 || E == 2) return qre_FileNotFound;
  if (E == 3) return qre_PathNotFound;
  if (E == 4) return qre_FileError;
  if (E == 5) return qre_networkerror;
  if (E >= 6 && E <= 14) return qre_MemoryError;
  if (E >= 15 && E <= 31) return qre_FileError;
  if (E >= 32 && E <= 36) return qre_networkerror;
  if (E >= 38 && E <= 52) return qre_FileError;
  if (E >= 53 && E <= 55) return qre_networkerror;
  return qre_UnknownError;  // 37, and every other number
}

namespace {

bool IsFile(const std::string& Path) {
  const DWORD A = GetFileAttributesA(Path.c_str());
  return A != INVALID_FILE_ATTRIBUTES && !(A & FILE_ATTRIBUTE_DIRECTORY);
}

// The command line with an unquoted program path that has blanks quoted where it names a file,
// so that the system never starts a shorter prefix of it that happens to exist.
std::string QuoteProgram(const std::string& Line) {
  if (Line.empty() || Line[0] == '"') return Line;
  std::vector<size_t> Ends;  // the end of each leading word
  for (size_t I = 0; I < Line.size();) {
    while (I < Line.size() && Line[I] != ' ' && Line[I] != '\t') ++I;
    Ends.push_back(I);
    while (I < Line.size() && (Line[I] == ' ' || Line[I] == '\t')) ++I;
  }
  for (size_t K = Ends.size(); K-- > 1;) {
    const std::string Path = Line.substr(0, Ends[K]);
    if (IsFile(Path) || IsFile(Path + ".exe")) return "\"" + Path + "\"" + Line.substr(Ends[K]);
  }
  return Line;
}

// Process and thread handles, closed on every way out.
struct TProcessHandles {
  PROCESS_INFORMATION Info{};
  ~TProcessHandles() {
    if (Info.hThread) CloseHandle(Info.hThread);
    if (Info.hProcess) CloseHandle(Info.hProcess);
  }
};

}  // namespace

void TqcRunProg::RunThis(const AnsiString& CommandLine) {
  FReturnCode = 0;
  // A writable copy of the whole line: the system may write into it.
  const std::string Line = QuoteProgram(CommandLine.str());
  std::vector<char> Buffer(Line.begin(), Line.end());
  Buffer.push_back('\0');

  STARTUPINFOA Startup{};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESHOWWINDOW;
  Startup.wShowWindow = WORD(FVisiblility);
  if (OnBeforeRun) OnBeforeRun(this);

  TProcessHandles P;
  if (!CreateProcessA(nullptr, Buffer.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &Startup, &P.Info)) {
    P.Info = PROCESS_INFORMATION{};
    FSavedError = int(GetLastError());
    FLastResultCode = RunErrorOf(FSavedError);
    if (OnError) OnError(this, FLastResultCode, FSavedError);
    return;
  }
  if (FWait) {
    if (OnBeforeWait) OnBeforeWait(this);
    if (FHardWait) {
      WaitForSingleObject(P.Info.hProcess, INFINITE);
    } else {
      // Sleeps until the process ends or a message comes; this call's own exit code, so that a
      // run started from a handler inside the wait cannot end or spoil this one.
      FReturnCode = STILL_ACTIVE;
      DWORD Code = STILL_ACTIVE;
      while (!Application->Terminated()) {
        const DWORD Woken =
            MsgWaitForMultipleObjectsEx(1, &P.Info.hProcess, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (Woken == WAIT_OBJECT_0) {
          GetExitCodeProcess(P.Info.hProcess, &Code);
          break;
        }
        if (Woken == WAIT_FAILED) break;
        Application->ProcessMessages();
      }
      FReturnCode = int(Code);
    }
    if (OnFinish) OnFinish(this);
  }
  FLastResultCode = qre_OK;
  FSavedError = 0;
}

static constinit const TPropInfo TqcRunProg_Props[] = {
    PropEnum<&TqcRunProg::LastResultCode, &TqcRunProg::SetLastResultCode>("LastResultCode", TqcRunErrorType, qre_OK),
    PropStr<&TqcRunProg::CmdLine, &TqcRunProg::SetCmdLine>("CmdLine"),
    PropEnum<&TqcRunProg::Visiblility, &TqcRunProg::SetVisiblility>("Visiblility", TqcRunShowType, qrs_SHOWNORMAL),
    PropBool<&TqcRunProg::Wait, &TqcRunProg::SetWait>("Wait", true),
    PropInt<&TqcRunProg::ReturnCode, &TqcRunProg::SetReturnCode>("ReturnCode", 0),
    PropBool<&TqcRunProg::HardWait, &TqcRunProg::SetHardWait>("HardWait", false),
    PropEvent<&TqcRunProg::OnError>("OnError"),
    PropEvent<&TqcRunProg::OnBeforeRun>("OnBeforeRun"),
    PropEvent<&TqcRunProg::OnBeforeWait>("OnBeforeWait"),
    PropEvent<&TqcRunProg::OnFinish>("OnFinish"),
};
ORV_IMPLEMENT_COMPONENT(TqcRunProg, TComponent, TqcRunProg_Props)

namespace {
const struct TRunProgRegistration {
  TRunProgRegistration() { RegisterClass(TqcRunProg::StaticClass()); }
} RunProgRegistration;
}  // namespace
