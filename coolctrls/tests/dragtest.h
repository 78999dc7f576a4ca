// A drag with the real left button whose moves name absolute places, so a late report of an
// earlier cursor position (which the window system may deliver) cannot shorten it.
#pragma once

#include "vcl/tests/vcltest.h"

#include <vector>

namespace dragtest {

// A real-input move of the cursor to a client point of Wnd.
inline INPUT MoveTo(HWND Wnd, int X, int Y) {
  POINT P{X, Y};
  ClientToScreen(Wnd, &P);
  INPUT In{};
  In.type = INPUT_MOUSE;
  In.mi.dx = LONG((P.x * 65535LL) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  In.mi.dy = LONG((P.y * 65535LL) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  In.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return In;
}

// Press at client point (X, Y) of Wnd, move by (DX, DY) in Steps even steps, release there.
inline void Drag(HWND Wnd, int X, int Y, int DX, int DY, int Steps = 8) {
  vcltest::MoveMouse(Wnd, X, Y);
  std::vector<INPUT> Inputs{vcltest::MouseButtonInput(mbLeft, true)};
  for (int I = 1; I <= Steps; ++I) Inputs.push_back(MoveTo(Wnd, X + DX * I / Steps, Y + DY * I / Steps));
  Inputs.push_back(vcltest::MouseButtonInput(mbLeft, false));
  vcltest::SendInputs(Inputs);
}

}  // namespace dragtest
