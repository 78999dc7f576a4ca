#include "suite/qAnimateFastBmp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

constexpr TEnumType TqRastType{"TqRast", {"Rast25", "Rast50", "Rast75"}};
bool RasterOfset = false;

namespace {

[[noreturn]] void NoResources() { throw EOutOfResources("Out of system resources"); }

uint8_t Clamp(int V) { return uint8_t(V < 0 ? 0 : V > 255 ? 255 : V); }
uint8_t Clamp(int64_t V) { return uint8_t(V < 0 ? 0 : V > 255 ? 255 : V); }

// Round to nearest, halves to even (the default rounding mode). Long double is the x87 format on
// both Windows targets, so the results do not depend on the target's floating-point unit.
int Round(long double X) { return int(std::nearbyint(X)); }

// Numerator / 100 rounded to nearest, halves to even, for Numerator >= 0.
int RoundPercent(int Numerator) {
  int Q = Numerator / 100, R = Numerator % 100;
  if (R > 50 || (R == 50 && (Q & 1))) ++Q;
  return Q;
}

// The RGB TColor of a pixel (blue, green, red in memory).
TColor PixelColor(const uint8_t* P) { return TColor(P[2] | (P[1] << 8) | (P[0] << 16)); }

void Store(uint8_t* P, TColor RGB) {
  P[0] = uint8_t(RGB >> 16);
  P[1] = uint8_t(RGB >> 8);
  P[2] = uint8_t(RGB);
}

// Calls Fn(pixel, x, y) for every pixel, top row first, left to right.
template <class F> void ForEachPixel(const TqFastBmp& B, F Fn) {
  for (int Y = 0; Y < B.Height(); ++Y) {
    uint8_t* P = B.Lines()[Y];
    for (int X = 0; X < B.Width(); ++X, P += 3) Fn(P, X, Y);
  }
}

// The buffer drawn back onto the bitmap it was made from, which then reports the change.
void DrawBack(const TqFastBmp& F, TBitmap* Bitmap) {
  if (!Bitmap || F.Width() == 0) return;
  F.Draw(Bitmap->Canvas(), 0, 0);
  Bitmap->SetModified(true);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TqFastBmp

ORV_IMPLEMENT_CLASS(TqFastBmp, TObject)

TqFastBmp::TqFastBmp(int AWidth, int AHeight) {
  if (AWidth < 0 || AHeight < 0) NoResources();
  const int64_t Stride = (int64_t(AWidth) * 3 + 3) & ~int64_t(3);
  if (Stride * AHeight > INT32_MAX) NoResources();
  if (AWidth == 0 || AHeight == 0) AWidth = AHeight = 0;
  FWidth = AWidth;
  FHeight = AHeight;
  FRowInc = int(Stride);
  FSize = int(Stride * AHeight);
  FInfo.biSize = sizeof(BITMAPINFOHEADER);
  FInfo.biWidth = FWidth;
  FInfo.biHeight = -FHeight;
  FInfo.biPlanes = 1;
  FInfo.biBitCount = 24;
  FInfo.biCompression = BI_RGB;
  FBitmapInfo.bmiHeader = FInfo;
  if (FSize == 0) return;
  void* P = nullptr;
  FHandle.Reset(CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &P, nullptr, 0));
  if (!FHandle || !P) NoResources();
  FBits = static_cast<uint8_t*>(P);
  DoCalcLines();
}

TqFastBmp::TqFastBmp(TBitmap* Bitmap)
    : TqFastBmp(Bitmap && !Bitmap->Empty() ? Bitmap->Width() : 0, Bitmap && !Bitmap->Empty() ? Bitmap->Height() : 0) {
  if (!FBits) return;
  // GetDIBits wants the bitmap in no DC.
  Bitmap->FreeContext();
  HDC DC = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (!DC) NoResources();
  BITMAPINFO BI = FBitmapInfo;  // GetDIBits may fill in fields of the header it is given
  GetDIBits(DC, Bitmap->Handle(), 0, UINT(FHeight), FBits, &BI, DIB_RGB_COLORS);
  DeleteDC(DC);
}

TqFastBmp::~TqFastBmp() = default;

void TqFastBmp::DoCalcLines() {
  FLines.resize(size_t(FHeight));
  for (int Y = 0; Y < FHeight; ++Y) FLines[size_t(Y)] = FBits + size_t(Y) * size_t(FRowInc);
}

void TqFastBmp::CheckRow(int Y) const {
  if (Y < 0 || Y >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
}

void TqFastBmp::SetPixel(int X, int Y, TColor Color) {
  const TColor RGB = ColorToRGB(Color);
  if (Inside(X, Y)) Store(FLines[size_t(Y)] + 3 * X, RGB);
}

TColor TqFastBmp::GetPixel(int X, int Y) const {
  return Inside(X, Y) ? PixelColor(FLines[size_t(Y)] + 3 * X) : -1;
}

void TqFastBmp::SetLine(int Y, const void* Source) {
  CheckRow(Y);
  std::memcpy(FLines[size_t(Y)], Source, size_t(FWidth) * 3);
}

uint8_t* TqFastBmp::GetLine(int Y) const {
  CheckRow(Y);
  return FLines[size_t(Y)];
}

void TqFastBmp::GetScanLine(int Y, void* Dest) const {
  CheckRow(Y);
  std::memcpy(Dest, FLines[size_t(Y)], size_t(FWidth) * 3);
}

void TqFastBmp::Draw(TCanvas* Canvas, int X, int Y) const {
  if (!FBits || !Canvas) return;
  StretchDIBits(Canvas->Handle(), X, Y, FWidth, FHeight, 0, 0, FWidth, FHeight, FBits, &FBitmapInfo,
                DIB_RGB_COLORS, SRCCOPY);
}

void TqFastBmp::MapChannels(const uint8_t (&Table)[256]) {
  // Two bytes a lookup through a table of byte pairs.
  std::vector<uint16_t> Pairs(65536);
  for (unsigned I = 0; I < 65536; ++I) Pairs[I] = uint16_t(Table[I & 0xFF] | (Table[I >> 8] << 8));
  const size_t RowBytes = 3 * size_t(FWidth);
  for (int Y = 0; Y < FHeight; ++Y) {
    uint8_t* P = FLines[size_t(Y)];
    uint8_t* const End = P + RowBytes;
    for (; End - P >= 2; P += 2) {
      uint16_t V;
      std::memcpy(&V, P, 2);
      V = Pairs[V];
      std::memcpy(P, &V, 2);
    }
    if (P != End) *P = Table[*P];
  }
}

void TqFastBmp::ColorNoise(int Amount) {
  if (Amount <= 0) return;
  const int Half = Amount / 2;
  uint32_t Seed = RandSeed;
  ForEachPixel(*this, [&](uint8_t* P, int, int) {
    P[2] = Clamp(P[2] + RandomFrom(Seed, Amount) - Half);
    P[1] = Clamp(P[1] + RandomFrom(Seed, Amount) - Half);
    P[0] = Clamp(P[0] + RandomFrom(Seed, Amount) - Half);
  });
  RandSeed = Seed;
}

void TqFastBmp::BWNoise(int Amount) {
  if (Amount <= 0) return;
  const int Half = Amount / 2;
  uint32_t Seed = RandSeed;
  ForEachPixel(*this, [&](uint8_t* P, int, int) {
    const int N = RandomFrom(Seed, Amount) - Half;
    P[2] = Clamp(P[2] + N);
    P[1] = Clamp(P[1] + N);
    P[0] = Clamp(P[0] + N);
  });
  RandSeed = Seed;
}

void TqFastBmp::Saturation(int Amount) {
  if (!FBits) return;
  // Every (grey, channel) pair once: 64 KB looked up three times a pixel.
  std::vector<uint8_t> Table(65536);
  for (int Grey = 0; Grey < 256; ++Grey)
    for (int C = 0; C < 256; ++C)
      Table[size_t(Grey) << 8 | size_t(C)] = Clamp(Grey + int64_t(C - Grey) * Amount / 255);
  uint8_t Third[766];
  for (int Sum = 0; Sum < 766; ++Sum) Third[Sum] = uint8_t(Sum / 3);
  ForEachPixel(*this, [&](uint8_t* P, int, int) {
    const uint8_t* Row = Table.data() + (size_t(Third[P[0] + P[1] + P[2]]) << 8);
    P[0] = Row[P[0]];
    P[1] = Row[P[1]];
    P[2] = Row[P[2]];
  });
}

void TqFastBmp::Contrast(int Amount) {
  uint8_t Table[256];
  for (int C = 0; C < 256; ++C) {
    const int64_t D = int64_t(std::abs(127 - C)) * Amount / 255;
    Table[C] = C > 127 ? Clamp(C + D) : Clamp(C - D);
  }
  MapChannels(Table);
}

void TqFastBmp::Sharpen(int Amount) {
  if (!FBits || Amount == -4) return;
  const int64_t Divisor = int64_t(Amount) + 4;
  const int W = FWidth, H = FHeight;
  // A neighbour outside the buffer (one row or column only) is the pixel itself.
  auto Near = [](int I, int Preferred, int Count) { return Preferred >= 0 && Preferred < Count ? Preferred : I; };
  std::vector<uint8_t> Work(size_t(W) * 3);
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* Above = FLines[size_t(Near(Y, Y > 0 ? Y - 1 : 1, H))];
    const uint8_t* Below = FLines[size_t(Near(Y, Y < H - 1 ? Y + 1 : Y - 1, H))];
    std::memcpy(Work.data(), FLines[size_t(Y)], Work.size());
    for (int X = 0; X < W; ++X) {
      const int L = Near(X, X > 0 ? X - 1 : 1, W), R = Near(X, X < W - 1 ? X + 1 : X - 1, W);
      for (int C = 0; C < 3; ++C) {
        const int64_t Sum = int64_t(Work[3 * L + C]) + Work[3 * R + C] + Above[3 * X + C] + Below[3 * X + C] +
                            int64_t(Amount) * Work[3 * X + C];
        Work[3 * X + C] = uint8_t(Sum / Divisor);
      }
    }
    std::memcpy(FLines[size_t(Y)], Work.data(), Work.size());
  }
}

void TqFastBmp::Blur(int Amount) {
  if (!FBits || Amount <= 0) return;
  const int W = FWidth, H = FHeight;
  const int AV = std::min(Amount, H - 1), AH = std::min(Amount, W - 1);
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* Up = FLines[size_t(Y - AV < 0 ? Y : Y - AV)];
    const uint8_t* Down = FLines[size_t(Y + AV >= H ? H - Y : Y + AV)];
    uint8_t* P = FLines[size_t(Y)];
    for (int X = 0; X < W; ++X) {
      const int L = 3 * (X - AH < 0 ? X : X - AH), R = 3 * (X + AH >= W ? W - X : X + AH);
      for (int C = 0; C < 3; ++C)
        P[3 * X + C] = uint8_t((Up[L + C] + Down[L + C] + Up[R + C] + Down[R + C]) >> 2);
    }
  }
}

void TqFastBmp::GaussianBlur(int Amount) {
  for (int A = Amount; A >= 1; --A) Blur(A);
}

// ---------------------------------------------------------------------------------------------
// TqDesktop

TqDesktop::TqDesktop() : FDC(GetDC(nullptr)) { SetHandle(FDC); }

TqDesktop::~TqDesktop() {
  SetHandle(nullptr);
  ReleaseDC(nullptr, FDC);
}

int TqDesktop::Width() const { return GetDeviceCaps(FDC, HORZRES); }
int TqDesktop::Height() const { return GetDeviceCaps(FDC, VERTRES); }

static constinit const TPropInfo TqDesktop_Props[] = {
    PropIntNoDefault<&TqDesktop::Width, nullptr>("Width"),
    PropIntNoDefault<&TqDesktop::Height, nullptr>("Height"),
};
ORV_IMPLEMENT_ABSTRACT(TqDesktop, TCanvas, TqDesktop_Props)

// ---------------------------------------------------------------------------------------------
// Bitmap routines

namespace {

// Adds Delta to every channel, clamped, sparing pixels of the transparent colour when asked.
void ShiftBMP(TBitmap* Bitmap, int Delta, bool UseTransparent, TColor TransparentColor) {
  TqFastBmp F(Bitmap);
  ForEachPixel(F, [&](uint8_t* P, int, int) {
    if (UseTransparent && PixelColor(P) == TransparentColor) return;
    for (int C = 0; C < 3; ++C) P[C] = Clamp(P[C] + Delta);
  });
  DrawBack(F, Bitmap);
}

int PercentStep(TPercentType Percent) { return RoundPercent(TPercentTypeRange.Clamp(Percent) * 255); }

template <void (TqFastBmp::*Filter)(int)> void RunFilter(TBitmap* Bitmap, int Amount) {
  TqFastBmp F(Bitmap);
  (F.*Filter)(Amount);
  DrawBack(F, Bitmap);
}

}  // namespace

void DarkenBMP(TBitmap* Bitmap, TPercentType Percent, bool UseTransparent, TColor TransparentColor) {
  ShiftBMP(Bitmap, -PercentStep(Percent), UseTransparent, TransparentColor);
}

void LightenBMP(TBitmap* Bitmap, TPercentType Percent, bool UseTransparent, TColor TransparentColor) {
  ShiftBMP(Bitmap, PercentStep(Percent), UseTransparent, TransparentColor);
}

void GreyBMP(TBitmap* Bitmap, bool UseTransparent, TColor TransparentColor) {
  TqFastBmp F(Bitmap);
  if (F.Width() == 0) return;
  // Round(w / 100) for every weighted sum 30 red + 59 green + 11 blue.
  std::vector<uint8_t> Grey(25501);
  for (int W = 0; W <= 25500; ++W) Grey[size_t(W)] = uint8_t(RoundPercent(W));
  ForEachPixel(F, [&](uint8_t* P, int, int) {
    if (UseTransparent && PixelColor(P) == TransparentColor) return;
    P[0] = P[1] = P[2] = Grey[size_t(30 * P[2] + 59 * P[1] + 11 * P[0])];
  });
  DrawBack(F, Bitmap);
}

void RasterBMP(TBitmap* Bitmap, TColor Color, TqRast Pattern) {
  TqFastBmp F(Bitmap);
  const TColor RGB = ColorToRGB(Color);
  // The base pattern: one pixel in four, staggered by two columns from row to row.
  auto InBase = [](int X, int Y) { return (Y % 2 == 0) ? X % 4 == 1 : X % 4 == 3; };
  switch (Pattern) {
    case Rast25:
      ForEachPixel(F, [&](uint8_t* P, int X, int Y) {
        if (InBase(X, Y) != RasterOfset) Store(P, RGB);
      });
      break;
    case Rast50:
      ForEachPixel(F, [&](uint8_t* P, int X, int Y) {
        if (((X + Y) % 2 == 1) != RasterOfset) Store(P, RGB);
      });
      break;
    case Rast75:
      for (int X = 0; X + 1 < F.Width(); ++X)
        for (int Y = 0; Y + 1 < F.Height(); ++Y)
          if (InBase(X, Y)) {
            F.SetPixel(X, Y, RGB);
            F.SetPixel(X + 1, Y, RGB);
            F.SetPixel(X, Y + 1, RGB);
          }
      break;
  }
  DrawBack(F, Bitmap);
}

namespace {

// Where destination offset (I, J) from the centre takes its source offset (M, R): the point at
// the nearest whole radius of (I, J), turned by A. The exact form is long-double
// Round(rho cos(A + atan(J / I))) and the same with sin; the fast form expands the angle sum
// into cos A, sin A and I / sqrt(N), J / sqrt(N) in double. Its error is below 1e-11 and the
// exact form's below 1e-8 (for any whole number of degrees), so where the fast value is not
// within 1e-6 of a half both round alike; near a half the exact form decides.
class TRotation {
 public:
  explicit TRotation(long double A)
      : FA(A), FCos(double(std::cos(A))), FSin(double(std::sin(A))) {}

  void At(int I, int J, int64_t Rho, int& M, int& R) const {
    if (Rho == 0) {
      M = R = 0;
      return;
    }
    const double Scale = double(Rho) / std::sqrt(double(int64_t(I) * I + int64_t(J) * J));
    const double VM = Scale * (FCos * I - FSin * J), VR = Scale * (FSin * I + FCos * J);
    const long LM = std::lrint(VM), LR = std::lrint(VR);
    if (NearHalf(VM - double(LM)) || NearHalf(VR - double(LR))) {
      Exact(I, J, Rho, M, R);
      return;
    }
    M = int(LM);
    R = int(LR);
  }

  void Exact(int I, int J, int64_t Rho, int& M, int& R) const {
    const long double HalfPi = 1.57079632679489661923L;
    const long double Phi = I == 0 ? FA + HalfPi : FA + std::atan((long double)J / I);
    M = Round(Rho * std::cos(Phi));
    R = Round(Rho * std::sin(Phi));
  }

 private:
  // Whether a value's distance Off from its nearest whole number puts it within 1e-6 of a half.
  static bool NearHalf(double Off) { return std::fabs(Off) > 0.5 - 1e-6; }

  long double FA;
  double FCos, FSin;
};

}  // namespace

void BMPRotate(TBitmap* Source, TBitmap* Dest, int Degrees) {
  TqFastBmp S(Source), D(Dest);
  if (S.Width() == 0 || D.Width() == 0) return;
  const TRotation Turn(Degrees * 0.017453292519943295L);
  const int SX = S.Width() / 2, SY = S.Height() / 2, DX = D.Width() / 2, DY = D.Height() / 2;
  const int C = std::max(D.Width(), D.Height()) / 2;
  const std::vector<uint8_t*>& From = S.Lines();
  const std::vector<uint8_t*>& To = D.Lines();
  const int SW = S.Width(), SH = S.Height(), DW = D.Width(), DH = D.Height();
  auto Copy = [&](int TX, int TY, int FX, int FY) {
    if (FX >= 0 && FX < SW && FY >= 0 && FY < SH && TX >= 0 && TX < DW && TY >= 0 && TY < DH)
      std::memcpy(To[size_t(TY)] + 3 * TX, From[size_t(FY)] + 3 * FX, 3);
  };
  for (int I = 0; I < C; ++I) {
    // The nearest whole radius as J grows: Floor is the whole square root of N, and N lies
    // nearer Floor + 1 than Floor when N - Floor^2 > Floor.
    int64_t Floor = I;
    for (int J = 0; J < C; ++J) {
      const int64_t N = int64_t(I) * I + int64_t(J) * J;
      while ((Floor + 1) * (Floor + 1) <= N) ++Floor;
      const int64_t Rho = N - Floor * Floor > Floor ? Floor + 1 : Floor;
      int M, R;
      Turn.At(I, J, Rho, M, R);
      Copy(DX + I, DY + J, SX + M, SY + R);
      Copy(DX - I, DY - J, SX - M, SY - R);
      Copy(DX + J, DY - I, SX + R, SY - M);
      Copy(DX - J, DY + I, SX - R, SY + M);
    }
  }
  DrawBack(D, Dest);
}

void AddColorNoise(TBitmap* Bitmap, int Amount) { RunFilter<&TqFastBmp::ColorNoise>(Bitmap, Amount); }
void AddBWNoise(TBitmap* Bitmap, int Amount) { RunFilter<&TqFastBmp::BWNoise>(Bitmap, Amount); }
void Contrast(TBitmap* Bitmap, int Amount) { RunFilter<&TqFastBmp::Contrast>(Bitmap, Amount); }
void Saturation(TBitmap* Bitmap, int Amount) { RunFilter<&TqFastBmp::Saturation>(Bitmap, Amount); }
void Sharpen(TBitmap* Bitmap, int Amount) { RunFilter<&TqFastBmp::Sharpen>(Bitmap, Amount); }
void Blur(TBitmap* Bitmap, int Amount) { RunFilter<&TqFastBmp::Blur>(Bitmap, Amount); }
void GaussianBlur(TBitmap* Bitmap, int Amount) { RunFilter<&TqFastBmp::GaussianBlur>(Bitmap, Amount); }

void DrawEllipse(TCanvas* Canvas, double X, double Y, double RX, double RY, double Angle) {
  // Four thirds of tan(pi/16): the handle length of a cubic curve spanning 45 degrees.
  const long double K = 0.26521648984L;
  long double PX[25], PY[25];
  for (int I = 0; I < 8; ++I) {
    const long double T = I * 0.7853981633974483L;
    const long double CX = RX * std::cos(T), CY = RY * std::sin(T);
    const long double HX = -K * RX * std::sin(T), HY = K * RY * std::cos(T);
    PX[3 * I] = CX;
    PY[3 * I] = CY;
    PX[3 * I + 1] = CX + HX;
    PY[3 * I + 1] = CY + HY;
    const int Before = I == 0 ? 23 : 3 * I - 1;
    PX[Before] = CX - HX;
    PY[Before] = CY - HY;
  }
  PX[24] = PX[0];
  PY[24] = PY[0];
  const long double CosA = std::cos((long double)Angle), SinA = std::sin((long double)Angle);
  POINT Points[25];
  for (int I = 0; I < 25; ++I) {
    Points[I].x = Round(PX[I] * CosA - PY[I] * SinA + X);
    Points[I].y = Round(PX[I] * SinA + PY[I] * CosA + Y);
  }
  HDC DC = Canvas->Handle();
  BeginPath(DC);
  PolyBezier(DC, Points, 25);
  EndPath(DC);
  StrokeAndFillPath(DC);
}

namespace {

// Whether DC's pixels are 32-bit xRGB: a 32-bit display, or a 32-bit device bitmap or section.
bool Is32BitRGB(HDC DC) {
  switch (GetObjectType(DC)) {
    case OBJ_DC:
      return GetDeviceCaps(DC, TECHNOLOGY) == DT_RASDISPLAY && GetDeviceCaps(DC, BITSPIXEL) == 32;
    case OBJ_MEMDC: {
      DIBSECTION DS{};
      const int Got = GetObjectA(GetCurrentObject(DC, OBJ_BITMAP), sizeof DS, &DS);
      if (DS.dsBm.bmBitsPixel != 32) return false;
      if (Got == int(sizeof(BITMAP))) return true;
      const DWORD* M = DS.dsBitfields;
      return Got == int(sizeof DS) &&
             (DS.dsBmih.biCompression == BI_RGB ||
              (DS.dsBmih.biCompression == BI_BITFIELDS && M[0] == 0xFF0000 && M[1] == 0xFF00 && M[2] == 0xFF));
    }
    default:
      return false;
  }
}

// The mask steps' result for Count pixels of a 24- or 32-bit row S over 32-bit xRGB pixels D:
// D keeps its pixel where S has the colour Key, else takes S's; the raster operations compare
// a 32-bit pixel whole and clear the fourth byte of what they keep, and so does this.
void KeepUnlessKey(const uint8_t* S, int Bpp, uint32_t* __restrict D, int Count, uint32_t Key) {
  if (Bpp == 32) {
    int I = 0;
#if defined(__SSE2__)
    const __m128i Keys = _mm_set1_epi32(int(Key)), Colour = _mm_set1_epi32(0xFFFFFF);
    for (; I + 4 <= Count; I += 4) {
      const __m128i P = _mm_loadu_si128(reinterpret_cast<const __m128i*>(S + 4 * size_t(I)));
      const __m128i Q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(D + I));
      const __m128i Same = _mm_cmpeq_epi32(P, Keys);
      const __m128i R = _mm_or_si128(_mm_and_si128(Same, Q), _mm_andnot_si128(Same, P));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(D + I), _mm_and_si128(R, Colour));
    }
#endif
    for (; I < Count; ++I) {
      uint32_t P;
      std::memcpy(&P, S + 4 * size_t(I), 4);
      D[I] = (P == Key ? D[I] : P) & 0xFFFFFF;
    }
  } else {
    for (int I = 0; I < Count; ++I, S += 3) {
      const uint32_t P = uint32_t(S[0]) | uint32_t(S[1]) << 8 | uint32_t(S[2]) << 16;
      D[I] = (P == Key ? D[I] : P) & 0xFFFFFF;
    }
  }
}

// Onto another 32-bit bitmap's canvas with no clipping, mirroring or transform: straight into
// its pixels, within its bounds.
bool TransparentOntoBitmap(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y, uint32_t Key) {
  TBitmap* Target = TBitmap::OfCanvas(Canvas);
  if (!Target || Target == Bitmap || Target->BitsPerPixel() != 32) return false;
  HDC Dest = Canvas->Handle();
  if (GetGraphicsMode(Dest) != GM_COMPATIBLE || GetMapMode(Dest) != MM_TEXT || GetLayout(Dest) != 0) return false;
  {
    TRgnOwner Probe(CreateRectRgn(0, 0, 0, 0));
    if (!Probe || GetClipRgn(Dest, Probe) != 0 || GetMetaRgn(Dest, Probe) != 0) return false;
  }
  POINT At{X, Y};
  LPtoDP(Dest, &At, 1);
  const int Bpp = Bitmap->BitsPerPixel();
  const int Left = std::max(0, -int(At.x)), Right = std::min(Bitmap->Width(), Target->Width() - int(At.x));
  const int Top = std::max(0, -int(At.y)), Bottom = std::min(Bitmap->Height(), Target->Height() - int(At.y));
  GdiFlush();
  for (int Row = Top; Row < Bottom; ++Row) {
    // Written as the raster operations write it, with no change reported to the bitmap.
    auto* D = reinterpret_cast<uint32_t*>(const_cast<uint8_t*>(Target->PixelRow(At.y + Row))) + At.x;
    KeepUnlessKey(Bitmap->PixelRow(Row) + size_t(Left) * (Bpp / 8), Bpp, D + Left, Right - Left, Key);
  }
  return true;
}

// Onto any other 32-bit canvas: the work image in a section of the process's own, so nothing
// asks the display for a compatible bitmap.
bool TransparentThroughSection(HDC Dest, TBitmap* Bitmap, int X, int Y, uint32_t Key) {
  if (!Is32BitRGB(Dest)) return false;
  const int W = Bitmap->Width(), H = Bitmap->Height();
  uint32_t* Bits = nullptr;
  TBitmapOwner Work = NewDib32(W, H, Bits);
  TMemoryDC WorkDC;
  if (!WorkDC) NoResources();
  TSelectGuard Sel(WorkDC, Work);
  BitBlt(WorkDC, 0, 0, W, H, Dest, X, Y, SRCCOPY);
  GdiFlush();
  for (int Row = 0; Row < H; ++Row)
    KeepUnlessKey(Bitmap->PixelRow(Row), Bitmap->BitsPerPixel(), Bits + size_t(Row) * size_t(W), W, Key);
  BitBlt(Dest, X, Y, W, H, WorkDC, 0, 0, SRCCOPY);
  return true;
}

// The mask steps done in memory, for a 24- or 32-bit bitmap onto 32-bit pixels in a plain RGB
// colour, without copying the bitmap. False when the case is not one of these.
bool TransparentInMemory(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y, TColor Color) {
  const int Bpp = Bitmap->BitsPerPixel();
  if ((Color & 0xFF000000) != 0 || (Bpp != 24 && Bpp != 32)) return false;
  const uint32_t Key = (uint32_t(Color) & 0xFF) << 16 | (uint32_t(Color) & 0xFF00) | (uint32_t(Color) >> 16 & 0xFF);
  return TransparentOntoBitmap(Canvas, Bitmap, X, Y, Key) ||
         TransparentThroughSection(Canvas->Handle(), Bitmap, X, Y, Key);
}

}  // namespace

void TransparentBlt(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y, TColor Color) {
  if (!Canvas || !Bitmap || Bitmap->Empty()) return;
  const int W = Bitmap->Width(), H = Bitmap->Height();
  HDC Dest = Canvas->Handle();
  if (TransparentInMemory(Canvas, Bitmap, X, Y, Color)) return;
  // The masks and the blackened pixels are made on a copy, so the bitmap is never written.
  TBitmap Scratch;
  Scratch.Assign(Bitmap);
  HDC Source = Scratch.Canvas()->Handle();
  TMemoryDC ObjectDC(Dest), BackDC(Dest), WorkDC(Dest);
  TBitmapOwner ObjectMask(CreateBitmap(W, H, 1, 1, nullptr)), BackMask(CreateBitmap(W, H, 1, 1, nullptr)),
      Work(CreateCompatibleBitmap(Dest, W, H));
  if (!ObjectDC || !BackDC || !WorkDC || !ObjectMask || !BackMask || !Work) NoResources();
  TSelectGuard SelObject(ObjectDC, ObjectMask), SelBack(BackDC, BackMask), SelWork(WorkDC, Work);
  // Object mask: 1 where the pixel has the transparent colour.
  const COLORREF OldBk = SetBkColor(Source, COLORREF(Color));
  BitBlt(ObjectDC, 0, 0, W, H, Source, 0, 0, SRCCOPY);
  SetBkColor(Source, OldBk);
  BitBlt(BackDC, 0, 0, W, H, ObjectDC, 0, 0, NOTSRCCOPY);
  // Monochrome sources expand to black (0) and white (1) in colour contexts.
  for (HDC DC : {WorkDC.Get(), Source}) {
    SetTextColor(DC, RGB(0, 0, 0));
    SetBkColor(DC, RGB(255, 255, 255));
  }
  BitBlt(WorkDC, 0, 0, W, H, Dest, X, Y, SRCCOPY);
  BitBlt(WorkDC, 0, 0, W, H, ObjectDC, 0, 0, SRCAND);
  BitBlt(Source, 0, 0, W, H, BackDC, 0, 0, SRCAND);
  BitBlt(WorkDC, 0, 0, W, H, Source, 0, 0, SRCPAINT);
  BitBlt(Dest, X, Y, W, H, WorkDC, 0, 0, SRCCOPY);
}

void FlipBMP(TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return;
  const int W = Bitmap->Width(), H = Bitmap->Height();
  Bitmap->Canvas()->CopyRect(Rect(0, 0, W, H), Bitmap->Canvas(), Rect(0, H - 1, W, -1));
}

void MirrorBMP(TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return;
  const int W = Bitmap->Width(), H = Bitmap->Height();
  Bitmap->Canvas()->CopyRect(Rect(0, 0, W, H), Bitmap->Canvas(), Rect(W - 1, 0, -1, H));
}

void ReplaceColor(TBitmap* Bitmap, TColor OldColor, TColor NewColor) {
  if (!Bitmap || Bitmap->Empty()) return;
  const TRect All = Rect(0, 0, Bitmap->Width(), Bitmap->Height());
  auto Temp = std::make_unique<TBitmap>();
  Temp->SetSize(All.Right, All.Bottom);
  Temp->Canvas()->Brush()->SetColor(NewColor);
  Temp->Canvas()->BrushCopy(All, Bitmap, All, OldColor);
  Bitmap->Canvas()->CopyRect(All, Temp->Canvas(), All);
}
