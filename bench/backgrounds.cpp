// Background painting speed: the main window's blended background (a TqBackground answering the
// form's WM_ERASEBKGND: vertical blend from silver to (89, 0, 89), 256 strips) beside a plain
// one-colour FillRect of the same area on the same DC, in the same run. Prints microseconds per
// paint and megapixels per second (best and median); never judges the figures.
#include "suite/Blend.h"
#include "bench/BenchClock.h"
#include "suite/tests/suitetest.h"

#include "vcl/Forms.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using bench::Pump;
using bench::Seconds;
using bench::TFigures;

// The main window's form: borderless so the client is exactly W by H.
TForm* MainWindowForm(int W, int H) {
  const std::string Text = "object Form1: TForm\n  Left = 0\n  Top = 0\n  BorderStyle = bsNone\n"
                           "  ClientWidth = " + std::to_string(W) + "\n  ClientHeight = " + std::to_string(H) +
                           "\n  object qBackground1: TqBackground\n    BackType = btBlend\n"
                           "    Color = clSilver\n    EndColor = 5832793\n  end\nend\n";
  return suitetest::LoadForm(Text.c_str());
}

// Runs Blend and Plain alternately, Runs times each.
void Measure(const char* What, int W, int H, int Runs, const std::function<void()>& Blend,
             const std::function<void()>& Plain) {
  TFigures B, P;
  Blend();
  Plain();
  for (int I = 0; I < Runs; ++I) {
    double T0 = Seconds();
    Blend();
    GdiFlush();
    double T1 = Seconds();
    Plain();
    GdiFlush();
    double T2 = Seconds();
    B.Times.push_back(T1 - T0);
    P.Times.push_back(T2 - T1);
  }
  const double MP = W * double(H) / 1e6;
  std::printf("%s, %d x %d, %d runs each (interleaved)\n", What, W, H, Runs);
  auto Line = [&](const char* Name, const TFigures& F) {
    std::printf("  %-34s best %9.1f us  %8.1f MP/s   median %9.1f us  %8.1f MP/s\n", Name, F.Best() * 1e6,
                MP / F.Best(), F.Median() * 1e6, MP / F.Median());
  };
  Line("blended background (256 strips)", B);
  Line("one-colour FillRect", P);
  std::printf("  blend / FillRect (best)            %.2f\n", B.Best() / P.Best());
}

void Bench(int W, int H, int Runs, bool OnScreen) {
  TForm* Form = MainWindowForm(W, H);
  try {
    Form->Show();
    Pump();
    const HWND Wnd = Form->Handle();
    RECT Client{};
    GetClientRect(Wnd, &Client);
    if (Client.right != W || Client.bottom != H)
      std::printf("(the form's client is %ld x %ld, not %d x %d)\n", Client.right, Client.bottom, W, H);
    auto* Background = dynamic_cast<TqBackground*>(Form->FindComponent("qBackground1"));
    if (!Background || !Background->Hooked()) throw EComponentError("the background did not hook its form");
    HBRUSH Plain = CreateSolidBrush(RGB(192, 192, 192));
    const RECT Area{0, 0, W, H};
    {
      // An off-screen 32-bit DIB section, its DC held for the whole run.
      TBitmap Off;
      Off.SetSize(W, H);
      Off.Canvas()->Lock();
      const HDC DC = Off.Canvas()->Handle();
      Measure("off-screen 32-bit DIB, through the form's WM_ERASEBKGND", W, H, Runs,
              [&] { SendMessageA(Wnd, WM_ERASEBKGND, WPARAM(DC), 0); }, [&] { FillRect(DC, &Area, Plain); });
      // The two must have painted: the blend's last row is the end colour.
      SendMessageA(Wnd, WM_ERASEBKGND, WPARAM(DC), 0);
      if (GetPixel(DC, W / 2, H - 1) != RGB(89, 0, 89) || GetPixel(DC, W / 2, 0) != RGB(192, 192, 192))
        std::printf("  (unexpected pixels: the blend did not paint as the main window's)\n");
      Off.Canvas()->Unlock();
    }
    if (OnScreen) {
      HDC DC = GetDC(Wnd);
      Measure("the window's own DC on the display", W, H, Runs,
              [&] { SendMessageA(Wnd, WM_ERASEBKGND, WPARAM(DC), 0); }, [&] { FillRect(DC, &Area, Plain); });
      ReleaseDC(Wnd, DC);
    }
    DeleteObject(Plain);
    Pump();
  } catch (...) {
    TObject::Free(Form);
    throw;
  }
  TObject::Free(Form);
}

}  // namespace

int main() {
  try {
    Bench(467, 312, 400, true);
    // Larger than the display: only the off-screen figures mean anything.
    Bench(1920, 1080, 100, false);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "backgrounds_bench: %s\n", E.what());
    return 1;
  }
  return 0;
}
