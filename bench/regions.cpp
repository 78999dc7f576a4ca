// Region from bitmap speed. SerRgnFromBmp in megapixels per second on a 1024 x 768 skin-like
// picture (a disc with holes and a ragged edge) and on 512 x 512 noise, beside a plain count of
// the row runs over the same 24-bit pixels and the union of those runs made run by run with
// CombineRgn, in the same run; prints both ratios and whether the region bytes agree. Never judges
// the figures.
#include "suite/Std2Rgn.h"
#include "suite/qAnimate.h"
#include "bench/BenchClock.h"
#include "vcl/GdiGuards.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::Seconds;
using bench::TFigures;

constexpr TColor Clear = clFuchsia;

TFigures Time(int Runs, const std::function<void()>& Work) {
  TFigures F;
  Work();  // warm up
  for (int I = 0; I < Runs; ++I) {
    GdiFlush();
    const double T0 = Seconds();
    Work();
    GdiFlush();
    F.Times.push_back(Seconds() - T0);
  }
  return F;
}

// The picture's pixels: Pixel(x, y) gives a colour, Clear for the holes.
void Paint(TBitmap& B, int W, int H, const std::function<TColor(int, int)>& Pixel) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  TqFastBmp F(&B);
  for (int Y = 0; Y < H; ++Y) {
    uint8_t* P = F.GetLine(Y);
    for (int X = 0; X < W; ++X, P += 3) {
      const TColor C = Pixel(X, Y);
      P[0] = uint8_t(C >> 16);
      P[1] = uint8_t(C >> 8);
      P[2] = uint8_t(C);
    }
  }
  F.Draw(B.Canvas(), 0, 0);
}

// The runs of pixels other than Clear, row by row: [left, right) each.
struct TRun {
  int Y, Left, Right;
};
template <class FEach> void ForRuns(TBitmap& B, FEach&& Each) {
  TqFastBmp F(&B);
  const uint8_t CR = uint8_t(Clear), CG = uint8_t(Clear >> 8), CB = uint8_t(Clear >> 16);
  for (int Y = 0; Y < F.Height(); ++Y) {
    const uint8_t* P = F.GetLine(Y);
    auto IsClear = [&](int X) { return P[3 * X] == CB && P[3 * X + 1] == CG && P[3 * X + 2] == CR; };
    for (int X = 0; X < F.Width();) {
      if (IsClear(X)) {
        ++X;
        continue;
      }
      const int Start = X;
      while (X < F.Width() && !IsClear(X)) ++X;
      Each(TRun{Y, Start, X});
    }
  }
}

std::vector<uint8_t> RegionBytes(HRGN R) {
  const DWORD N = GetRegionData(R, 0, nullptr);
  std::vector<uint8_t> B(N);
  GetRegionData(R, N, reinterpret_cast<RGNDATA*>(B.data()));
  return B;
}

void Measure(const char* Name, TBitmap& B, int FastRuns, int UnionRuns) {
  const double MP = B.Width() * double(B.Height()) / 1e6;
  TqcRgn Region;
  const TFigures Build = Time(FastRuns, [&] { Region.SerRgnFromBmp(&B, Clear); });
  size_t Count = 0;
  const TFigures Counting = Time(FastRuns, [&] {
    Count = 0;
    ForRuns(B, [&](const TRun&) { ++Count; });
  });
  std::vector<TRun> All;
  ForRuns(B, [&](const TRun& R) { All.push_back(R); });
  std::vector<uint8_t> UnionBytes;
  const TFigures Union = Time(UnionRuns, [&] {
    TRgnOwner U;
    for (const TRun& R : All) {
      TRgnOwner One(CreateRectRgn(R.Left, R.Y, R.Right, R.Y + 1));
      if (!U) U = std::move(One);
      else CombineRgn(U, U, One, RGN_OR);
    }
    UnionBytes = U ? RegionBytes(U) : std::vector<uint8_t>();
  });
  std::printf("%s: %d x %d, %zu runs, %zu region bytes\n", Name, B.Width(), B.Height(), Count, Region.Data().size());
  std::printf("  SerRgnFromBmp          best %9.2f ms %8.1f MP/s   median %9.2f ms\n", Build.Best() * 1e3,
              MP / Build.Best(), Build.Median() * 1e3);
  std::printf("  run count              best %9.2f ms %8.1f MP/s   SerRgnFromBmp x %.2f of it\n",
              Counting.Best() * 1e3, MP / Counting.Best(), Build.Best() / Counting.Best());
  std::printf("  run-by-run CombineRgn  best %9.2f ms %8.1f MP/s   SerRgnFromBmp x %.3f of it\n",
              Union.Best() * 1e3, MP / Union.Best(), Build.Best() / Union.Best());
  std::printf("  bytes %s the run-by-run union's\n", UnionBytes == Region.Data() ? "equal" : "DIFFER from");
}

}  // namespace

int main() {
  TBitmap Skin;
  Paint(Skin, 1024, 768, [](int X, int Y) {
    const int DX = X - 512, DY = Y - 384, Edge = 360 + (X * 7 + Y * 13) % 9;
    const bool Hole = (DX - 150) * (DX - 150) + DY * DY < 60 * 60 || DX * DX + (DY + 180) * (DY + 180) < 40 * 40 ||
                      (DX + 200) * (DX + 200) + (DY - 100) * (DY - 100) < 25 * 25;
    return DX * DX + DY * DY < Edge * Edge && !Hole ? TColor(0x204060 + ((X >> 3) & 0x3F)) : Clear;
  });
  Measure("skin-like", Skin, 9, 3);
  RandSeed = 7;
  TBitmap Noise;
  Paint(Noise, 512, 512, [](int, int) { return Random(2) ? TColor(0x808080) : Clear; });
  Measure("noise", Noise, 5, 1);
  return 0;
}
