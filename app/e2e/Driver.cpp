#include "app/e2e/Driver.h"
#include <algorithm>
#include <cstdio>

namespace e2e {

bool Process::Start(const std::string& CommandLine) {
  STARTUPINFOA Si{};
  Si.cb = sizeof Si;
  std::string Cmd = CommandLine;
  return CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Si, &Info) != 0;
}

bool Process::WaitExit(DWORD Ms, DWORD* ExitCode) {
  if (!Info.hProcess || WaitForSingleObject(Info.hProcess, Ms) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(Info.hProcess, ExitCode);
  return true;
}

void Process::Kill() {
  if (Info.hProcess && WaitForSingleObject(Info.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(Info.hProcess, 99);
    WaitForSingleObject(Info.hProcess, 5000);
  }
}

Process::~Process() {
  Kill();
  if (Info.hThread) CloseHandle(Info.hThread);
  if (Info.hProcess) CloseHandle(Info.hProcess);
}

namespace {
struct FindData {
  DWORD Pid;
  const std::string* Caption;
  bool Visible;
  HWND Found = nullptr;
};
BOOL CALLBACK FindTop(HWND W, LPARAM L) {
  auto* D = reinterpret_cast<FindData*>(L);
  DWORD Pid = 0;
  GetWindowThreadProcessId(W, &Pid);
  if (Pid != D->Pid) return TRUE;
  if (D->Visible && !IsWindowVisible(W)) return TRUE;
  if (!D->Caption->empty() && TextOf(W) != *D->Caption) return TRUE;
  D->Found = W;
  return FALSE;
}
struct ChildData {
  const std::string* Class;
  std::vector<HWND>* Out;
};
BOOL CALLBACK CollectChild(HWND W, LPARAM L) {
  auto* D = reinterpret_cast<ChildData*>(L);
  if (D->Class->empty() || ClassOf(W) == *D->Class) D->Out->push_back(W);
  return TRUE;
}
}  // namespace

HWND FindWindowOf(DWORD ProcessId, const std::string& Caption, bool MustBeVisible) {
  FindData D{ProcessId, &Caption, MustBeVisible};
  EnumWindows(FindTop, reinterpret_cast<LPARAM>(&D));
  return D.Found;
}

HWND WaitForWindow(DWORD ProcessId, const std::string& Caption, DWORD Ms, bool MustBeVisible) {
  HWND Found = nullptr;
  WaitUntil([&] { return (Found = FindWindowOf(ProcessId, Caption, MustBeVisible)) != nullptr; }, Ms);
  return Found;
}

std::string ClassOf(HWND W) {
  char Buf[256] = {};
  GetClassNameA(W, Buf, sizeof Buf);
  return Buf;
}

std::string TextOf(HWND W) {
  LRESULT Len = SendMessageA(W, WM_GETTEXTLENGTH, 0, 0);
  std::string S(size_t(Len) + 1, '\0');
  LRESULT Got = SendMessageA(W, WM_GETTEXT, WPARAM(S.size()), reinterpret_cast<LPARAM>(S.data()));
  S.resize(size_t(std::max<LRESULT>(0, std::min<LRESULT>(Got, Len))));
  return S;
}

void SetText(HWND W, const std::string& Text) {
  SendMessageA(W, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
}

RECT ScreenRect(HWND W) {
  RECT R{};
  GetWindowRect(W, &R);
  return R;
}

RECT ClientScreenRect(HWND W) {
  RECT R{};
  GetClientRect(W, &R);
  MapWindowPoints(W, nullptr, reinterpret_cast<POINT*>(&R), 2);
  return R;
}

std::vector<HWND> Children(HWND Parent, const std::string& Class) {
  std::vector<HWND> Out;
  ChildData D{&Class, &Out};
  EnumChildWindows(Parent, CollectChild, reinterpret_cast<LPARAM>(&D));
  std::sort(Out.begin(), Out.end(), [](HWND A, HWND B) {
    RECT Ra = ScreenRect(A), Rb = ScreenRect(B);
    return Ra.top != Rb.top ? Ra.top < Rb.top : Ra.left < Rb.left;
  });
  return Out;
}

HWND ChildWithText(HWND Parent, const std::string& Text) {
  for (HWND W : Children(Parent))
    if (TextOf(W) == Text) return W;
  return nullptr;
}

void Click(HWND Button, bool Post) {
  if (Post)
    PostMessageA(Button, BM_CLICK, 0, 0);
  else
    SendMessageA(Button, BM_CLICK, 0, 0);
}

void KeyDownUp(WORD Vk) { Keys({Vk}); }

void Keys(const std::vector<WORD>& VirtualKeys) {
  for (WORD Vk : VirtualKeys) {
    INPUT In[2] = {};
    In[0].type = In[1].type = INPUT_KEYBOARD;
    In[0].ki.wVk = In[1].ki.wVk = Vk;
    In[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, In, sizeof(INPUT));
    Sleep(150);
  }
}

bool Foreground(HWND W) {
  for (int I = 0; I < 20; ++I) {
    SetForegroundWindow(W);
    if (GetForegroundWindow() == W) return true;
    Sleep(50);
  }
  return false;
}

COLORREF ScreenPixel(int X, int Y) {
  HDC Dc = GetDC(nullptr);
  COLORREF C = GetPixel(Dc, X, Y);
  ReleaseDC(nullptr, Dc);
  return C;
}

bool SaveDesktopBmp(const std::string& Path) {
  int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
  HDC Screen = GetDC(nullptr);
  HDC Mem = CreateCompatibleDC(Screen);
  BITMAPINFO Bi{};
  Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Bi.bmiHeader.biWidth = W;
  Bi.bmiHeader.biHeight = H;
  Bi.bmiHeader.biPlanes = 1;
  Bi.bmiHeader.biBitCount = 24;
  void* Bits = nullptr;
  HBITMAP Bmp = CreateDIBSection(Screen, &Bi, DIB_RGB_COLORS, &Bits, nullptr, 0);
  bool Ok = false;
  if (Bmp) {
    HGDIOBJ Old = SelectObject(Mem, Bmp);
    BitBlt(Mem, 0, 0, W, H, Screen, 0, 0, SRCCOPY);
    SelectObject(Mem, Old);
    GdiFlush();
    DWORD Stride = (DWORD(W) * 3 + 3) & ~3u, Size = Stride * DWORD(H);
    BITMAPFILEHEADER Fh{};
    Fh.bfType = 0x4D42;
    Fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    Fh.bfSize = Fh.bfOffBits + Size;
    Bi.bmiHeader.biSizeImage = Size;
    if (FILE* F = std::fopen(Path.c_str(), "wb")) {
      Ok = std::fwrite(&Fh, sizeof Fh, 1, F) == 1 && std::fwrite(&Bi.bmiHeader, sizeof(BITMAPINFOHEADER), 1, F) == 1 &&
           std::fwrite(Bits, 1, Size, F) == Size;
      Ok = std::fclose(F) == 0 && Ok;
    }
    DeleteObject(Bmp);
  }
  DeleteDC(Mem);
  ReleaseDC(nullptr, Screen);
  return Ok;
}

}  // namespace e2e
