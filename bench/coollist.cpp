// Cool list box scrolling: a list of 1000 items scrolled one line at a time from the top to the
// end, painted after each step. The subject has a tiled 64 by 64 wallpaper (each step repaints the
// whole list, so the wallpaper stays fixed to the client area); the baseline is the same list in
// a plain colour with its whole client invalidated each step, in the same run. A second
// comparison scrolls a cool list of the default look against the system's own list box of the
// same size, items and font, scrolled the same way. Prints microseconds per step (best and
// median of the runs) and the ratio; never judges the figures.
#include "bench/BenchClock.h"
#include "coolctrls/CoolCtrls.h"
#include "vcl/Forms.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int Items = 1000, Runs = 5;

TCoolListBox* NewList(TForm* Form, int Left) {
  auto* L = TComponent::Create<TCoolListBox>(Form);
  L->SetBounds(Left, 0, 240, 400);
  L->SetParent(Form);
  L->Items()->BeginUpdate();
  for (int I = 0; I < Items; ++I) L->Items()->Add(("SGTIN item " + std::to_string(I)).c_str());
  L->Items()->EndUpdate();
  return L;
}

// Scroll steps from the top to the end.
int Steps(TCoolListBox* L) { return Items - L->ClientHeight() / L->ItemHeight(); }

// A list window from the top, Count lines a line at a time, painted after each step; Whole
// invalidates the whole client before each paint.
void ScrollWindow(HWND Wnd, int Count, bool Whole) {
  SendMessageA(Wnd, LB_SETTOPINDEX, 0, 0);
  UpdateWindow(Wnd);
  for (int I = Count; I > 0; --I) {
    SendMessageA(Wnd, WM_VSCROLL, SB_LINEDOWN, 0);
    if (Whole) InvalidateRect(Wnd, nullptr, TRUE);
    UpdateWindow(Wnd);
  }
}

void ScrollThrough(TCoolListBox* L, bool Whole) { ScrollWindow(L->Handle(), Steps(L), Whole); }

// The system's own list box with the cool list's bounds, font and items.
HWND NewSystemList(TForm* Form, TCoolListBox* Like, int Left) {
  const HWND Wnd = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                                   Left, 0, 240, 400, Form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(Wnd, WM_SETFONT, WPARAM(Like->Font()->Handle()), FALSE);
  SendMessageA(Wnd, WM_SETREDRAW, FALSE, 0);
  for (int I = 0; I < Items; ++I) SendMessageA(Wnd, LB_ADDSTRING, 0, LPARAM(("SGTIN item " + std::to_string(I)).c_str()));
  SendMessageA(Wnd, WM_SETREDRAW, TRUE, 0);
  return Wnd;
}

int SystemSteps(HWND Wnd) {
  RECT R;
  GetClientRect(Wnd, &R);
  return Items - int(R.bottom / SendMessageA(Wnd, LB_GETITEMHEIGHT, 0, 0));
}

void Run() {
  TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
  Form->SetBounds(0, 0, 520, 440);
  Form->Show();
  bench::Pump();
  TCoolListBox* Wallpapered = NewList(Form, 0);
  TCoolListBox* Plain = NewList(Form, 250);
  TBitmap Tile;
  Tile.SetPixelFormat(pf24bit);
  Tile.SetSize(64, 64);
  for (int Y = 0; Y < 64; ++Y)
    for (int X = 0; X < 64; ++X) Tile.Canvas()->SetPixels(X, Y, TColor(RGB(X * 4, Y * 4, 160)));
  Wallpapered->SetWallpaper(&Tile);
  Wallpapered->SetOptions(CoolOption(ocPaintWallpaper) | CoolOption(ocTileWallpaper) | CoolOption(ocBevelOnlyIfSel));
  Plain->SetColor(clSkyBlue);
  bench::Pump();
  ScrollThrough(Wallpapered, false);  // warm up both
  ScrollThrough(Plain, true);
  const int N = Steps(Wallpapered);
  std::printf("%d items, %d scroll steps per run\n", Items, N);
  bench::Compare("Scroll a line and paint", Runs, "wallpapered, tiled 64 x 64", [&] { ScrollThrough(Wallpapered, false); },
                 "plain colour, whole client invalidated", [&] { ScrollThrough(Plain, true); }, "within 1.5x", 1e6 / N,
                 "us/step");
  Wallpapered->SetVisible(false);
  Plain->SetVisible(false);
  TCoolListBox* Default = NewList(Form, 0);
  const HWND System = NewSystemList(Form, Default, 250);
  bench::Pump();
  // The same number of steps for both, as far as the shorter scroll goes.
  const int M = std::min(Steps(Default), SystemSteps(System));
  const HWND Cool = Default->Handle();
  ScrollWindow(Cool, M, false);
  ScrollWindow(System, M, false);
  std::printf("%d scroll steps per run; items of %d (cool) and %d (system) pixels\n", M, Default->ItemHeight(),
              int(SendMessageA(System, LB_GETITEMHEIGHT, 0, 0)));
  bench::Compare("Scroll a line and paint, default look", Runs, "cool list box", [&] { ScrollWindow(Cool, M, false); },
                 "the system's list box", [&] { ScrollWindow(System, M, false); }, "within 1.2x", 1e6 / M, "us/step");
  DestroyWindow(System);
  TObject::Free(Form);
}

}  // namespace

int main() {
  try {
    Run();
  } catch (const Exception& E) {
    std::fprintf(stderr, "coollist_bench: %s\n", E.Message().c_str());
    return 1;
  }
  return 0;
}
