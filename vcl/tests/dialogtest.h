// Drives a system file dialog, or a message dialog, from inside its own modal loop: a thread
// timer runs steps one after another while the dialog's loop dispatches it, and cancels the
// dialog when a step waits too long.
#pragma once
#include "vcl/Win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace dialogtest {

// The visible top-level window of class Cls of this thread ("#32770": the Explorer-style
// dialog, not its child dialog), null when none.
struct TFindDialog {
  const char* Cls;
  HWND Found = nullptr;
};
inline BOOL CALLBACK FindDialogProc(HWND W, LPARAM P) {
  auto* F = reinterpret_cast<TFindDialog*>(P);
  char Cls[32] = {};
  GetClassNameA(W, Cls, sizeof Cls);
  if (std::string(Cls) == F->Cls && IsWindowVisible(W)) {
    F->Found = W;
    return FALSE;
  }
  return TRUE;
}
inline HWND FindThreadDialog(const char* Cls = "#32770") {
  TFindDialog F{Cls};
  EnumThreadWindows(GetCurrentThreadId(), &FindDialogProc, LPARAM(&F));
  return F.Found;
}

// The first descendant of Parent of window class Cls.
inline HWND FindDescendant(HWND Parent, const char* Cls) {
  for (HWND C = FindWindowExA(Parent, nullptr, nullptr, nullptr); C; C = FindWindowExA(Parent, C, nullptr, nullptr)) {
    char Name[64] = {};
    GetClassNameA(C, Name, sizeof Name);
    if (std::string(Name) == Cls) return C;
    if (HWND D = FindDescendant(C, Cls)) return D;
  }
  return nullptr;
}

// The shell view's list of files in an Explorer-style dialog.
inline HWND FileList(HWND Dialog) {
  HWND View = FindDescendant(Dialog, "SHELLDLL_DefView");
  return View ? FindDescendant(View, "SysListView32") : nullptr;
}

// The texts of the list's items.
inline std::vector<std::string> ListItems(HWND List) {
  std::vector<std::string> Items;
  const int N = int(SendMessageA(List, LVM_GETITEMCOUNT, 0, 0));
  for (int I = 0; I < N; ++I) {
    char Buf[MAX_PATH] = {};
    LVITEMA It{};
    It.iSubItem = 0;
    It.pszText = Buf;
    It.cchTextMax = sizeof Buf;
    SendMessageA(List, LVM_GETITEMTEXTA, WPARAM(I), LPARAM(&It));
    Items.push_back(Buf);
  }
  return Items;
}

// Selects the item whose text is Name alone (as a click does: the dialog hears CDN_SELCHANGE);
// false when the list has no such item.
inline bool SelectItem(HWND List, const std::string& Name) {
  const std::vector<std::string> Items = ListItems(List);
  for (int I = 0; I < int(Items.size()); ++I)
    if (Items[size_t(I)] == Name) {
      LVITEMA It{};
      It.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      It.state = 0;
      SendMessageA(List, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&It));
      It.state = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageA(List, LVM_SETITEMSTATE, WPARAM(I), LPARAM(&It));
      return true;
    }
  return false;
}

// Types Text into the file name box (cmb13; edt1 in the old style) and presses OK, posted so that
// the step returns before the dialog acts.
inline void ChooseName(HWND Dialog, const std::string& Text, bool OldStyle = false) {
  SendMessageA(Dialog, CDM_SETCONTROLTEXT, OldStyle ? edt1 : cmb13, LPARAM(Text.c_str()));
  if (OldStyle) SetDlgItemTextA(Dialog, edt1, Text.c_str());
  PostMessageA(Dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(Dialog, IDOK)));
}

// The system dialog's Cancel; any other window is closed.
inline void Cancel(HWND Dialog) {
  char Cls[32] = {};
  GetClassNameA(Dialog, Cls, sizeof Cls);
  if (std::string(Cls) == "#32770")
    PostMessageA(Dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(Dialog, IDCANCEL)));
  else
    PostMessageA(Dialog, WM_CLOSE, 0, 0);
}

// Steps run by a 50 ms thread timer, each until it returns true; a step that is not done within
// its time fails the test and cancels the dialog. Install before Execute; the steps see the
// dialog found by FindThreadDialog(DialogClass) (null steps wait for it).
class TDriver {
public:
  using TStep = std::function<bool(HWND Dialog)>;
  explicit TDriver(DWORD StepTimeoutMs = 15000, const char* DialogClass = "#32770")
      : FTimeout(StepTimeoutMs), FClass(DialogClass) {
    Current() = this;
    FTimer = SetTimer(nullptr, 0, 50, &TDriver::Tick);
  }
  ~TDriver() {
    KillTimer(nullptr, FTimer);
    Current() = nullptr;
  }
  TDriver(const TDriver&) = delete;
  TDriver& operator=(const TDriver&) = delete;

  // Adds a step; Name is what a time-out reports.
  TDriver& Then(const std::string& Name, TStep Step) {
    FSteps.push_back({Name, std::move(Step)});
    return *this;
  }
  // Every step ran.
  bool Finished() const { return FNext >= FSteps.size(); }

private:
  struct TNamedStep {
    std::string Name;
    TStep Step;
  };
  static TDriver*& Current() {
    static TDriver* D = nullptr;
    return D;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TDriver* D = Current();
    if (!D || D->FBusy || D->Finished()) return;
    D->FBusy = true;
    const DWORD Now = GetTickCount();
    if (D->FStepStart == 0) D->FStepStart = Now;
    HWND Dialog = FindThreadDialog(D->FClass);
    TNamedStep& S = D->FSteps[D->FNext];
    if (Dialog && S.Step(Dialog)) {
      ++D->FNext;
      D->FStepStart = 0;
    } else if (Now - D->FStepStart > D->FTimeout) {
      ADD_FAILURE() << "dialog step timed out: " << S.Name;
      D->FNext = D->FSteps.size();
      if (Dialog) Cancel(Dialog);
    }
    D->FBusy = false;
  }
  std::vector<TNamedStep> FSteps;
  size_t FNext = 0;
  DWORD FStepStart = 0;
  DWORD FTimeout;
  const char* FClass;
  UINT_PTR FTimer = 0;
  bool FBusy = false;
};

// A folder of the test's own under the system's temporary folder, removed with what it holds.
class TTempFolder {
public:
  explicit TTempFolder(const std::string& Name) {
    char Tmp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, Tmp);
    FPath = std::string(Tmp) + Name + "-" + std::to_string(GetCurrentProcessId());
    Remove(FPath);
    CreateDirectoryA(FPath.c_str(), nullptr);
  }
  ~TTempFolder() { Remove(FPath); }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& Name) const { return FPath + "\\" + Name; }
  // Writes a file of the folder (a relative name) with Bytes.
  void Write(const std::string& Name, const std::string& Bytes) const {
    HANDLE H = CreateFileA((*this / Name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(H, INVALID_HANDLE_VALUE) << Name;
    DWORD Done = 0;
    WriteFile(H, Bytes.data(), DWORD(Bytes.size()), &Done, nullptr);
    CloseHandle(H);
  }
  void MakeFolder(const std::string& Name) const { CreateDirectoryA((*this / Name).c_str(), nullptr); }
  // The names in the folder (without "." and "..").
  std::vector<std::string> Names() const {
    std::vector<std::string> N;
    WIN32_FIND_DATAA F;
    HANDLE H = FindFirstFileA((FPath + "\\*").c_str(), &F);
    if (H == INVALID_HANDLE_VALUE) return N;
    do {
      const std::string S = F.cFileName;
      if (S != "." && S != "..") N.push_back(S);
    } while (FindNextFileA(H, &F));
    FindClose(H);
    return N;
  }

private:
  static void Remove(const std::string& Path) {
    WIN32_FIND_DATAA F;
    HANDLE H = FindFirstFileA((Path + "\\*").c_str(), &F);
    if (H != INVALID_HANDLE_VALUE) {
      do {
        const std::string S = F.cFileName;
        if (S == "." || S == "..") continue;
        const std::string Full = Path + "\\" + S;
        if (F.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Remove(Full);
        else {
          SetFileAttributesA(Full.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA(Full.c_str());
        }
      } while (FindNextFileA(H, &F));
      FindClose(H);
    }
    RemoveDirectoryA(Path.c_str());
  }
  std::string FPath;
};

}  // namespace dialogtest
