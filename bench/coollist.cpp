// Cool list box scrolling: a list of 1000 items scrolled one line at a time from the top to the
// end, painted after each step. The subject has a tiled 64 by 64 wallpaper (each step repaints the
// whole list, so the wallpaper stays fixed to the client area); the baseline is the same list in
// a plain colour with its whole client invalidated each step, in the same run. Prints
// microseconds per step (best and median of the runs) and the ratio; never judges the figures.
#include "bench/BenchClock.h"
#include "coolctrls/CoolCtrls.h"
#include "vcl/Forms.h"

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

// The list from the top to the end, a line at a time, painted after each step; Whole invalidates
// the whole client before each paint.
void ScrollThrough(TCoolListBox* L, bool Whole) {
  const HWND Wnd = L->Handle();
  L->SetTopIndex(0);
  UpdateWindow(Wnd);
  for (int I = Steps(L); I > 0; --I) {
    SendMessageA(Wnd, WM_VSCROLL, SB_LINEDOWN, 0);
    if (Whole) InvalidateRect(Wnd, nullptr, TRUE);
    UpdateWindow(Wnd);
  }
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
