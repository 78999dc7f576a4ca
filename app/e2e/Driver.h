// Drives another process's windows as a user would: finds windows, reads and types texts,
// presses buttons, chooses menu items with the keyboard, saves screenshots.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace e2e {

struct Process {
  PROCESS_INFORMATION Info{};
  bool Start(const std::string& CommandLine);
  bool WaitExit(DWORD Ms, DWORD* ExitCode);
  void Kill();
  ~Process();
};

// Top-level window of the process with this exact caption (empty: any), now or waited for up
// to Ms.
HWND FindWindowOf(DWORD ProcessId, const std::string& Caption, bool MustBeVisible = true);
HWND WaitForWindow(DWORD ProcessId, const std::string& Caption, DWORD Ms, bool MustBeVisible = true);
std::string ClassOf(HWND W);
std::string TextOf(HWND W);
void SetText(HWND W, const std::string& Text);
RECT ScreenRect(HWND W);
RECT ClientScreenRect(HWND W);
// Direct children (and deeper) whose class name is Class (empty: any), sorted top to bottom, left to right.
std::vector<HWND> Children(HWND Parent, const std::string& Class = "");
HWND ChildWithText(HWND Parent, const std::string& Text);
// Presses a button the way its own BM_CLICK does; Post when a modal box will follow.
void Click(HWND Button, bool Post = false);
// Keys through SendInput to the foreground window.
void Keys(const std::vector<WORD>& VirtualKeys);
void KeyDownUp(WORD Vk);
bool Foreground(HWND W);
// Waits until Pred() holds or Ms pass, sleeping briefly between tries.
template <class P> bool WaitUntil(P Pred, DWORD Ms) {
  DWORD Start = GetTickCount();
  while (!Pred()) {
    if (GetTickCount() - Start > Ms) return false;
    Sleep(20);
  }
  return true;
}
// Pixel of the screen (desktop DC).
COLORREF ScreenPixel(int X, int Y);
// Saves the whole desktop as a 24-bit BMP.
bool SaveDesktopBmp(const std::string& Path);

}  // namespace e2e
