// Page-control transparency speed: a see-through tab sheet at level 50 over a form, at 800 by
// 600 and 1920 by 1080. Times the level blend of the sheet's buffer, the whole rebuild of the
// buffer (the parent painted again, copied in, blended), and a BitBlt of the same area between
// two bitmaps, in the same run. Prints microseconds, megapixels per second and the ratios (best
// and median); never judges the figures.
#include "package/BMPAGE.h"
#include "bench/BenchClock.h"

#include "vcl/Forms.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::Pump;
using bench::Seconds;
using bench::TFigures;

TFigures Time(int Runs, const std::function<void()>& Step) {
  TFigures F;
  Step();
  for (int I = 0; I < Runs; ++I) {
    const double T0 = Seconds();
    Step();
    GdiFlush();
    F.Times.push_back(Seconds() - T0);
  }
  return F;
}

void Bench(int W, int H, int Runs) {
  TForm* Form = TForm::CreateNew<TForm>(nullptr);
  Form->SetBorderStyle(bsNone);
  Form->SetBounds(0, 0, W, H);
  Form->SetColor(0x3060A0);
  auto* Pages = TComponent::Create<TBMPageControl>(Form);
  Pages->SetBounds(0, 0, W, H);
  Pages->SetParent(Form);
  auto* Sheet = TComponent::Create<TBMTabSheet>(Form);
  Sheet->SetCaption("Level 50");
  Sheet->SetColor(0x10E0F0);
  Sheet->SetTransparent(true);
  Sheet->SetTransparentLevel(50);
  Sheet->SetPageControl(Pages);
  Pages->SetActivePage(Sheet);
  Form->Show();
  Pump();
  if (Pages->Width() != W || Pages->Height() != H)
    std::printf("(the page control is %d x %d, not %d x %d)\n", Pages->Width(), Pages->Height(), W, H);
  TBitmap Copy;
  Copy.SetPixelFormat(pf32bit);
  Copy.SetSize(W, H);

  const TFigures Blend = Time(Runs, [&] { Sheet->ProcessTransparentLevel(); });
  const TFigures Rebuild = Time(Runs, [&] {
    Sheet->DropBuffer();
    Pages->Invalidate();  // the parent image is painted again too
    Sheet->RefreshBuffer();
  });
  const TFigures Blit = Time(Runs, [&] {
    if (!BitBlt(Copy.Canvas()->Handle(), 0, 0, W, H, Sheet->RefreshBuffer()->Canvas()->Handle(), 0, 0, SRCCOPY))
      throw EOSError("BitBlt failed");
  });

  const double MP = W * double(H) / 1e6;
  std::printf("see-through sheet, %d x %d, %d runs each\n", W, H, Runs);
  auto Line = [&](const char* Name, const TFigures& F) {
    std::printf("  %-36s best %9.1f us  %8.1f MP/s   median %9.1f us  %8.1f MP/s\n", Name, F.Best() * 1e6,
                MP / F.Best(), F.Median() * 1e6, MP / F.Median());
  };
  Line("level-50 blend of the buffer", Blend);
  Line("whole rebuild of the buffer", Rebuild);
  Line("BitBlt of the same area", Blit);
  std::printf("  blend / BitBlt    best %.2f   median %.2f\n", Blend.Best() / Blit.Best(),
              Blend.Median() / Blit.Median());
  std::printf("  rebuild / BitBlt  best %.2f   median %.2f\n", Rebuild.Best() / Blit.Best(),
              Rebuild.Median() / Blit.Median());
  TObject::Free(Form);
  Pump();
}

}  // namespace

int main() {
  try {
    TBMPageModule::HoldWalk(true);
    Bench(800, 600, 40);
    Bench(1920, 1080, 20);
  } catch (const Exception& E) {
    std::fprintf(stderr, "pagecontrol bench: %s\n", E.Message().c_str());
    return 1;
  }
  return 0;
}
