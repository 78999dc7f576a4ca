#include "suite/qAnimateFastBmp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

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

void BMPRotate(TBitmap* Source, TBitmap* Dest, int Degrees) {
  TqFastBmp S(Source), D(Dest);
  if (S.Width() == 0 || D.Width() == 0) return;
  const long double A = Degrees * 0.017453292519943295L;
  const long double HalfPi = 1.57079632679489661923L;
  const int SX = S.Width() / 2, SY = S.Height() / 2, DX = D.Width() / 2, DY = D.Height() / 2;
  const int C = std::max(D.Width(), D.Height()) / 2;
  auto Copy = [&](int TX, int TY, int FX, int FY) {
    const TColor V = S.GetPixel(FX, FY);
    if (V != -1) D.SetPixel(TX, TY, V);
  };
  for (int I = 0; I < C; ++I)
    for (int J = 0; J < C; ++J) {
      const long double Phi = I == 0 ? A + HalfPi : A + std::atan((long double)J / I);
      // The nearest whole radius, exactly: n lies nearer r + 1 than r when n - r^2 > r.
      const int64_t N = int64_t(I) * I + int64_t(J) * J;
      int64_t Rho = int64_t(std::sqrt((long double)N));
      while (Rho * Rho > N) --Rho;
      while ((Rho + 1) * (Rho + 1) <= N) ++Rho;
      if (N - Rho * Rho > Rho) ++Rho;
      const int M = Round(Rho * std::cos(Phi)), R = Round(Rho * std::sin(Phi));
      Copy(DX + I, DY + J, SX + M, SY + R);
      Copy(DX - I, DY - J, SX - M, SY - R);
      Copy(DX + J, DY - I, SX + R, SY - M);
      Copy(DX - J, DY + I, SX - R, SY + M);
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

void TransparentBlt(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y, TColor Color) {
  if (!Canvas || !Bitmap || Bitmap->Empty()) return;
  const int W = Bitmap->Width(), H = Bitmap->Height();
  HDC Dest = Canvas->Handle();
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
