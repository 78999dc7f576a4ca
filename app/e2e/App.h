// What the end-to-end tests know of the program: where it is, its main window's controls,
// and pixel helpers.
#pragma once
#include "app/e2e/Driver.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>

namespace e2e {

// The build's paths are host paths; Wine sees the host's root as drive Z:.
inline std::string WinePath(std::string P) {
  if (!P.empty() && P[0] == '/') P = "Z:" + P;
  for (char& C : P)
    if (C == '/') C = '\\';
  return P;
}
inline std::string ProgramPath() { return WinePath(ORVALEN_EXE); }
inline std::string ShotDir() { return WinePath(ORVALEN_SHOTS); }
inline std::string AppDir() { return WinePath(ORVALEN_APP_DIR); }

inline const char* const Sample = "303415E98C0A11800000A3C8";
inline const char* const SampleEpc = "48.1.5.0359011.010310.41928";

// The child of Parent whose rectangle holds the client point (X, Y).
inline HWND ControlAt(HWND Parent, int X, int Y) {
  POINT P{X, Y};
  return ChildWindowFromPointEx(Parent, P, CWP_SKIPINVISIBLE);
}

// Screen pixel at a client point of W.
inline COLORREF ClientPixel(HWND W, int X, int Y) {
  POINT P{X, Y};
  ClientToScreen(W, &P);
  return ScreenPixel(P.x, P.y);
}

// Whether two colours differ by at most Tolerance in every channel.
inline bool Near(COLORREF A, COLORREF B, int Tolerance) {
  return std::abs(int(GetRValue(A)) - int(GetRValue(B))) <= Tolerance &&
         std::abs(int(GetGValue(A)) - int(GetGValue(B))) <= Tolerance &&
         std::abs(int(GetBValue(A)) - int(GetBValue(B))) <= Tolerance;
}

// Whether some pixel of the client rectangle R of W satisfies Pred.
template <class P> bool AnyPixel(HWND W, RECT R, P Pred) {
  for (int Y = R.top; Y < R.bottom; ++Y)
    for (int X = R.left; X < R.right; ++X)
      if (Pred(ClientPixel(W, X, Y))) return true;
  return false;
}

// Near black: text and marks drawn in black.
inline bool Dark(COLORREF C) { return GetRValue(C) < 64 && GetGValue(C) < 64 && GetBValue(C) < 64; }

inline std::string Hex(COLORREF C) {
  char Buf[16];
  std::snprintf(Buf, sizeof Buf, "%06lX", static_cast<unsigned long>(C));
  return Buf;
}

struct MainWindow {
  Process Proc;
  HWND Main = nullptr, Hex = nullptr, Epc = nullptr, ToEpc = nullptr, FromEpc = nullptr;

  void Start() {
    ASSERT_TRUE(Proc.Start("\"" + ProgramPath() + "\""));
    Main = WaitForWindow(Proc.Info.dwProcessId, "Orvalen...", 30000);
    ASSERT_NE(Main, nullptr) << "main window did not appear";
    Hex = ControlAt(Main, 8 + 225, 120 + 13);
    Epc = ControlAt(Main, 8 + 225, 247 + 13);
    ToEpc = ChildWithText(Main, "v   Convert To EPC   v");
    FromEpc = ChildWithText(Main, "^   Convert From EPC   ^");
    ASSERT_TRUE(Hex && Epc && Hex != Main && Epc != Main && Hex != Epc);
    ASSERT_TRUE(ToEpc && FromEpc);
  }

  // File / Exit through the keyboard, as a user would: Alt, Down, Enter; the exit code.
  DWORD Exit() {
    EXPECT_TRUE(Foreground(Main));
    Keys({VK_MENU, VK_DOWN, VK_RETURN});
    DWORD Code = 1;
    EXPECT_TRUE(Proc.WaitExit(10000, &Code)) << "program did not end after File / Exit";
    return Code;
  }
};

}  // namespace e2e
