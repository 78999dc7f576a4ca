// Cool scrolling text: the time of one tick (the step driven directly, with the repaint it
// causes) on each path: plain (the parent's pixels scrolled, a one-pixel strip repainted),
// wallpapered (painted off screen) and transparent (the parent paints into a memory DC), at
// 97 by 15 and 400 by 40, the transparent one also under a 1024 by 768 parent. Beside each, in
// the same run, a plain BitBlt of the same area on the parent's window. Prints microseconds per
// tick (best and median of the runs), the ratio of the best times and the share of the 25 ms
// interval a tick takes; never judges the figures.
#include "bench/BenchClock.h"
#include "coolctrls/CoolCtrls.h"
#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"

#include <cstdio>

namespace {

constexpr int Ticks = 200, Runs = 7;

// The control with its step at hand.
class TBenchText : public TCoolScrollingText {
public:
  using TCoolScrollingText::TCoolScrollingText;
  using TCoolScrollingText::DoPaintEvent;
  using TCoolScrollingText::SetTextCoordinates;
};

// A parent with a gradient background, as a see-through control would sit on.
class TGradientPanel : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
protected:
  void Paint() override {
    FillGradientRect(Canvas()->Handle(), ClientRect(), TColor(0x804020), TColor(0x20C0F0), 64, true);
  }
};

enum TPath { pPlain, pWallpaper, pTransparent };
const char* const PathNames[] = {"plain", "wallpaper", "transparent"};

struct TCase {
  TPath Path;
  int W, H;
  int ParentW, ParentH;
};

void RunCase(TForm* Form, TBitmap* Wall, const TCase& Case) {
  auto* Parent = TComponent::Create<TGradientPanel>(Form);
  Parent->SetBounds(0, 0, Case.ParentW, Case.ParentH);
  Parent->SetParent(Form);
  auto* T = TComponent::Create<TBenchText>(Parent);
  T->SetBounds(8, 8, Case.W, Case.H);
  T->Font()->SetHeight(Case.H >= 40 ? -24 : -11);
  T->Strings()->SetText("SGTIN-96 303415E98C0A11800000A3C8 = 48.1.5.0359011.010310.41928");
  T->SetColor(clNavy);
  T->Font()->SetColor(clYellow);
  T->SetShadowColor(clBlack);
  if (Case.Path == pWallpaper) T->SetWallpaper(Wall);
  T->SetTransparent(Case.Path == pTransparent);
  T->SetParent(Parent);
  bench::Pump();
  const HWND Wnd = Parent->Handle();
  UpdateWindow(Wnd);

  auto Steps = [&] {
    T->SetTextCoordinates(true);
    UpdateWindow(Wnd);
    GdiFlush();
    const double T0 = bench::Seconds();
    for (int I = 0; I < Ticks; ++I) {
      T->DoPaintEvent();
      UpdateWindow(Wnd);
    }
    GdiFlush();
    return bench::Seconds() - T0;
  };
  auto Blits = [&] {
    TWindowDC DC(Wnd);
    const double T0 = bench::Seconds();
    for (int I = 0; I < Ticks; ++I) BitBlt(DC, 7, 8, Case.W, Case.H, DC, 8, 8, SRCCOPY);
    GdiFlush();
    return bench::Seconds() - T0;
  };
  Steps();  // warm up both
  Blits();
  bench::TFigures S, B;
  for (int I = 0; I < Runs; ++I) {
    S.Times.push_back(Steps());
    B.Times.push_back(Blits());
  }
  const double Us = 1e6 / Ticks;
  char Name[64];
  std::snprintf(Name, sizeof Name, "%s %dx%d (parent %dx%d)", PathNames[Case.Path], Case.W, Case.H, Case.ParentW,
                Case.ParentH);
  std::printf("  %-38s step best %8.1f us  median %8.1f us | BitBlt best %6.2f us | ratio %7.1f | %5.2f%% of 25 ms\n",
              Name, S.Best() * Us, S.Median() * Us, B.Best() * Us, S.Best() / B.Best(), S.Best() * Us / 250.0);
  TObject::Free(Parent);
  bench::Pump();
}

void Run() {
  TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
  Form->SetBounds(0, 0, 1040, 800);
  Form->Show();
  bench::Pump();
  TBitmap Wall;
  Wall.SetPixelFormat(pf24bit);
  Wall.SetSize(16, 16);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) Wall.Canvas()->SetPixels(X, Y, TColor(RGB(40 + 8 * Y, 60, 120 + 8 * X)));

  std::printf("Scrolling text, one tick (%d ticks per run, %d runs, interleaved with the blit)\n", Ticks, Runs);
  const TCase Cases[] = {
      {pPlain, 97, 15, 420, 60},       {pPlain, 400, 40, 420, 60},        {pWallpaper, 97, 15, 420, 60},
      {pWallpaper, 400, 40, 420, 60},  {pTransparent, 97, 15, 420, 60},   {pTransparent, 400, 40, 420, 60},
      {pTransparent, 400, 40, 1024, 768},
  };
  for (const TCase& C : Cases) RunCase(Form, &Wall, C);
  std::printf("  goal: plain and wallpaper under 1000 us at 400x40\n");
  TObject::Free(Form);
}

}  // namespace

int main() {
  try {
    Run();
  } catch (const Exception& E) {
    std::fprintf(stderr, "scrolltext_bench: %s\n", E.Message().c_str());
    return 1;
  }
  return 0;
}
