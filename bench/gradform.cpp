// Gradient caption speed: repainting a 400-pixel-wide caption on a shown form, painted in
// bands, stretched and dithered, beside a plain FillRect of the same caption rectangle on the
// same window DC in the same run. Prints microseconds per repaint; never judges the figures.
#include "gradform/GradForm.h"
#include "bench/BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::Pump;
using bench::Seconds;

constexpr int CaptionWidth = 400, Runs = 400;

// Median time of one call, in microseconds.
double Median(const std::function<void()>& Fn) {
  std::vector<double> T;
  for (int I = 0; I < 10; ++I) Fn();
  for (int I = 0; I < Runs; ++I) {
    double S = Seconds();
    Fn();
    GdiFlush();
    T.push_back((Seconds() - S) * 1e6);
  }
  std::sort(T.begin(), T.end());
  return T[T.size() / 2];
}

}  // namespace

int main() {
  try {
    auto* F = TCustomForm::CreateNew<TgrdGradientForm>(nullptr);
    F->SetBorderStyle(bsDialog);
    F->SetBorderIcons(0);
    F->SetBounds(50, 50, CaptionWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME), 120);
    F->SetCaption("Gradient caption speed");
    F->SetGradientStartColor(0x692767);
    F->SetGradientStopColor(0xEF9CC8);
    F->Show();
    SetForegroundWindow(F->Handle());
    for (int I = 0; I < 20; ++I) {
      Pump();
      Sleep(10);
    }
    const TRect Cap = F->GetCaptionRect();
    const bool Active = F->IsActiveWindow();
    HWND W = F->Handle();

    struct TKind {
      const char* Name;
      int Colors;
      bool Dither;
    };
    const TKind Kinds[] = {{"solid (no gradient)", 0, false},
                           {"banded (512 colours)", 512, false},
                           {"stretched (64 colours)", 64, false},
                           {"dithered (64 colours)", 64, true}};
    std::printf("caption %d x %d pixels, median of %d repaints\n", Cap.Width(), Cap.Height(), Runs);
    HBRUSH Brush = CreateSolidBrush(0x692767);
    const double Plain = Median([&] {
      HDC DC = GetWindowDC(W);
      FillRect(DC, &AsRECT(const_cast<TRect&>(Cap)), Brush);
      ReleaseDC(W, DC);
    });
    DeleteObject(Brush);
    std::printf("  %-24s %8.1f us\n", "plain FillRect", Plain);
    for (const TKind& K : Kinds) {
      F->SetPaintGradient(K.Colors ? gfpAlways : gfpNever);
      if (K.Colors) F->SetGradientColors(K.Colors);
      F->SetUseDithering(K.Dither);
      Pump();
      HDC Probe = GetWindowDC(W);
      TGFFillMethod Method = F->GradientFillMethod(Probe, Cap.Width(), Active, K.Dither);
      ReleaseDC(W, Probe);
      const double T = Median([&] { F->Draw(Active); });
      std::printf("  %-24s %8.1f us  (%.1f x FillRect", K.Name, T, T / Plain);
      if (K.Colors) std::printf(", fill method %d", int(Method));
      std::printf(")\n");
    }
    TObject::Free(F);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
  return 0;
}
