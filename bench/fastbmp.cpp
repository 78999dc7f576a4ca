// Fast bitmap speed. Each TqFastBmp filter in megapixels per second beside a memcpy of the same
// pixel bytes in the same run; the free bitmap routines beside the bare round trip they all pay
// (the bitmap into a buffer by GetDIBits and drawn back by StretchDIBits); TransparentBlt beside a
// plain BitBlt of the same size. Prints best and median figures; never judges them.
#include "suite/qAnimate.h"
#include "bench/BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

using bench::Seconds;
using bench::TFigures;

// Runs Prepare (untimed) then Work (timed), Runs times.
TFigures Time(int Runs, const std::function<void()>& Prepare, const std::function<void()>& Work) {
  TFigures F;
  Prepare();
  Work();  // warm up
  for (int I = 0; I < Runs; ++I) {
    Prepare();
    GdiFlush();
    const double T0 = Seconds();
    Work();
    GdiFlush();
    F.Times.push_back(Seconds() - T0);
  }
  return F;
}

void Line(const char* Name, const TFigures& F, double MP, const TFigures& Reference) {
  std::printf("  %-26s best %9.2f ms %8.1f MP/s   median %9.2f ms   x %.2f of the reference\n", Name,
              F.Best() * 1e3, MP / F.Best(), F.Median() * 1e3, F.Best() / Reference.Best());
}

// A picture with every channel varying, so no filter meets a uniform image.
void FillPattern(TqFastBmp& F) {
  RandSeed = 1;
  for (int Y = 0; Y < F.Height(); ++Y) {
    uint8_t* P = F.GetLine(Y);
    for (int X = 0; X < F.Width(); ++X, P += 3) {
      P[0] = uint8_t(X * 7 + Random(32));
      P[1] = uint8_t(Y * 5 + Random(32));
      P[2] = uint8_t((X ^ Y) + Random(32));
    }
  }
}

void Filters(int W, int H, int Runs) {
  const double MP = W * double(H) / 1e6;
  TqFastBmp F(W, H);
  FillPattern(F);
  const std::vector<uint8_t> Pristine(F.Bits(), F.Bits() + F.Size());
  std::vector<uint8_t> Copy(Pristine.size());
  auto Restore = [&] { std::memcpy(F.Bits(), Pristine.data(), Pristine.size()); };
  const TFigures Memcpy = Time(Runs, [] {}, [&] { std::memcpy(Copy.data(), F.Bits(), Copy.size()); });
  std::printf("TqFastBmp filters, %d x %d (%d bytes), %d runs each; reference: memcpy of the bytes\n", W, H,
              F.Size(), Runs);
  Line("memcpy", Memcpy, MP, Memcpy);
  struct TFilter {
    const char* Name;
    std::function<void()> Run;
  };
  const TFilter List[] = {
      {"ColorNoise(40)", [&] { F.ColorNoise(40); }},
      {"BWNoise(40)", [&] { F.BWNoise(40); }},
      {"Saturation(180)", [&] { F.Saturation(180); }},
      {"Contrast(100)", [&] { F.Contrast(100); }},
      {"Sharpen(4)", [&] { F.Sharpen(4); }},
      {"Blur(1)", [&] { F.Blur(1); }},
      {"Blur(8)", [&] { F.Blur(8); }},
      {"GaussianBlur(1)", [&] { F.GaussianBlur(1); }},
      {"GaussianBlur(8)", [&] { F.GaussianBlur(8); }},
  };
  for (const TFilter& Filter : List) Line(Filter.Name, Time(Runs, Restore, Filter.Run), MP, Memcpy);
}

void Routines(int W, int H, int Runs) {
  const double MP = W * double(H) / 1e6;
  TqFastBmp Source(W, H);
  FillPattern(Source);
  TBitmap Bitmap;
  Bitmap.SetSize(W, H);
  auto Restore = [&] { Source.Draw(Bitmap.Canvas(), 0, 0); };
  const TFigures RoundTrip = Time(Runs, Restore, [&] {
    TqFastBmp F(&Bitmap);
    F.Draw(Bitmap.Canvas(), 0, 0);
  });
  std::printf("Bitmap routines, %d x %d, %d-bit bitmap, %d runs each; reference: the bare round trip\n", W, H,
              Bitmap.BitsPerPixel(), Runs);
  Line("round trip", RoundTrip, MP, RoundTrip);
  struct TRoutine {
    const char* Name;
    std::function<void()> Run;
  };
  TBitmap Rotated;
  Rotated.SetSize(W, H);
  const TRoutine List[] = {
      {"DarkenBMP(30)", [&] { DarkenBMP(&Bitmap, 30, true, clFuchsia); }},
      {"LightenBMP(30)", [&] { LightenBMP(&Bitmap, 30, true, clFuchsia); }},
      {"GreyBMP", [&] { GreyBMP(&Bitmap, true, clFuchsia); }},
      {"RasterBMP(Rast50)", [&] { RasterBMP(&Bitmap, clNavy, Rast50); }},
      {"Contrast(100)", [&] { Contrast(&Bitmap, 100); }},
      {"Saturation(180)", [&] { Saturation(&Bitmap, 180); }},
      {"AddColorNoise(40)", [&] { AddColorNoise(&Bitmap, 40); }},
      {"Blur(1)", [&] { Blur(&Bitmap, 1); }},
      {"FlipBMP", [&] { FlipBMP(&Bitmap); }},
      {"MirrorBMP", [&] { MirrorBMP(&Bitmap); }},
      {"ReplaceColor", [&] { ReplaceColor(&Bitmap, clBlack, clWhite); }},
      {"BMPRotate(30)", [&] { BMPRotate(&Bitmap, &Rotated, 30); }},
  };
  for (const TRoutine& R : List) Line(R.Name, Time(Runs, Restore, R.Run), MP, RoundTrip);

  // Transparent drawing of the whole bitmap onto another of the same size.
  TBitmap Target;
  Target.SetSize(W, H);
  const TFigures Blt = Time(Runs, Restore, [&] {
    BitBlt(Target.Canvas()->Handle(), 0, 0, W, H, Bitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
  });
  std::printf("Transparent drawing, %d x %d; reference: BitBlt of the same size\n", W, H);
  Line("BitBlt", Blt, MP, Blt);
  Line("TransparentBlt", Time(Runs, Restore, [&] { TransparentBlt(Target.Canvas(), &Bitmap, 0, 0, clBlack); }), MP,
       Blt);
}

}  // namespace

int main() {
  try {
    for (auto [W, H, Runs] : {std::tuple{1920, 1080, 10}, std::tuple{640, 480, 30}}) {
      Filters(W, H, Runs);
      Routines(W, H, Runs);
      std::printf("\n");
    }
  } catch (const Exception& E) {
    std::printf("failed: %s\n", E.Message().c_str());
    return 1;
  }
  return 0;
}
