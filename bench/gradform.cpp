// Gradient caption speed: repainting a 400-pixel-wide caption on a shown form, solid, in bands,
// stretched and dithered, beside the system's own non-client paint of a plain window with the
// same frame, size and caption text, and a plain FillRect of the caption rectangle, all in the
// same run. Prints microseconds per repaint and the ratios; never judges the figures.
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
const char* const CaptionText = "Gradient caption speed";

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

void Settle() {
  for (int I = 0; I < 20; ++I) {
    Pump();
    Sleep(10);
  }
}

// A window the system paints entirely: the frame a bsDialog form without border icons has.
HWND SystemWindow(int Width, int Height) {
  WNDCLASSA Class{};
  Class.lpfnWndProc = DefWindowProcA;
  Class.hInstance = GetModuleHandleA(nullptr);
  Class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  Class.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
  Class.lpszClassName = "OrvalenBenchCaption";
  RegisterClassA(&Class);
  return CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE, Class.lpszClassName, CaptionText,
                         WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 200, Width, Height, nullptr, nullptr,
                         Class.hInstance, nullptr);
}

}  // namespace

int main() {
  try {
    auto* F = TCustomForm::CreateNew<TgrdGradientForm>(nullptr);
    F->SetBorderStyle(bsDialog);
    F->SetBorderIcons(0);
    const int Width = CaptionWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    F->SetBounds(50, 50, Width, 120);
    F->SetCaption(CaptionText);
    F->SetGradientStartColor(0x692767);
    F->SetGradientStopColor(0xEF9CC8);
    F->Show();
    HWND Sys = SystemWindow(Width, 120);
    SetForegroundWindow(F->Handle());
    Settle();
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
    const double System = Median([&] { SendMessageA(Sys, WM_NCPAINT, 1, 0); });
    std::printf("  %-24s %8.1f us\n", "plain FillRect", Plain);
    std::printf("  %-24s %8.1f us  (the reference below)\n", "system non-client paint", System);
    std::printf("  %-24s %8s %8s  %s\n", "", "caption", "frame", "(x system non-client paint)");
    for (const TKind& K : Kinds) {
      F->SetPaintGradient(K.Colors ? gfpAlways : gfpNever);
      if (K.Colors) F->SetGradientColors(K.Colors);
      F->SetUseDithering(K.Dither);
      Settle();
      HDC Probe = GetWindowDC(W);
      TGFFillMethod Method = F->GradientFillMethod(Probe, Cap.Width(), Active, K.Dither);
      ReleaseDC(W, Probe);
      // The caption alone (Draw), and the whole frame as the system asks for it (WM_NCPAINT).
      const double Caption = Median([&] { F->Draw(Active); });
      const double Frame = Median([&] { SendMessageA(W, WM_NCPAINT, 1, 0); });
      std::printf("  %-24s %6.1f us %6.1f us  (%.2f x, %.2f x", K.Name, Caption, Frame, Caption / System,
                  Frame / System);
      if (K.Colors) std::printf("; fill method %d", int(Method));
      std::printf(")\n");
    }
    DestroyWindow(Sys);
    TObject::Free(F);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
  return 0;
}
