// The fast 24-bit bitmap and the bitmap routines: the section, pixel access, the filters' exact
// bytes, rotation, raster patterns, the ellipse path, transparent drawing and the screen canvas.
#include "suite/qAnimate.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace suitetest;

namespace {

using TImage = std::vector<std::vector<TColor>>;  // rows top to bottom, RGB TColor values

std::unique_ptr<TBitmap> MakeImage(const TImage& Rows) {
  auto B = vcltest::MakeBitmap(int(Rows[0].size()), int(Rows.size()), clBlack);
  for (size_t Y = 0; Y < Rows.size(); ++Y)
    for (size_t X = 0; X < Rows[Y].size(); ++X) B->Canvas()->SetPixels(int(X), int(Y), Rows[Y][X]);
  return B;
}

TImage ReadImage(TBitmap* B) {
  TImage Rows(size_t(B->Height()), std::vector<TColor>(size_t(B->Width())));
  for (int Y = 0; Y < B->Height(); ++Y)
    for (int X = 0; X < B->Width(); ++X) Rows[size_t(Y)][size_t(X)] = B->Canvas()->Pixels(X, Y);
  return Rows;
}

std::string Show(const TImage& Rows) {
  std::string S;
  for (const auto& Row : Rows) {
    for (TColor C : Row) S += Hex(C) + " ";
    S += "\n";
  }
  return S;
}

int Channel(TColor C, int Shift) { return (C >> Shift) & 0xFF; }
TColor RGBColor(int R, int G, int B) { return TColor(R | (G << 8) | (B << 16)); }

// A 4 by 3 fixture with every channel different from its neighbours'.
const TImage Fixture = {{0x102030, 0x405060, 0x708090, 0xA0B0C0},
                        {0xFF0000, 0x00FF00, 0x0000FF, 0x808080},
                        {0x000000, 0xFFFFFF, 0x123456, 0x654321}};

TEST(FastBmp, IsATopDown24BitSection) {
  TqFastBmp F(5, 3);
  BITMAP BM{};
  ASSERT_EQ(GetObjectA(F.Handle(), sizeof BM, &BM), int(sizeof BM));
  EXPECT_EQ(BM.bmBitsPixel, 24);
  EXPECT_EQ(BM.bmWidth, 5);
  EXPECT_EQ(BM.bmHeight, 3);
  EXPECT_EQ(BM.bmBits, F.Bits());
  EXPECT_EQ(F.Info().biHeight, -3);
  EXPECT_EQ(F.Info().biBitCount, 24);
  EXPECT_EQ(F.BitmapInfo().bmiHeader.biSize, 40u);
  EXPECT_EQ(F.RowInc(), 16);
  EXPECT_EQ(F.Size(), 48);
  EXPECT_EQ(F.GetLine(1) - F.GetLine(0), 16);
  EXPECT_EQ(F.GetLine(2), F.Bits() + 32);
  for (int W : {1, 2, 3, 4}) {
    EXPECT_EQ(TqFastBmp(W, 1).RowInc(), 3 * W + W % 4) << W;
  }
  EXPECT_EQ(F.GetPixel(4, 2), 0) << "a new buffer is black";
  // Top-down: the first bytes are the top row as GDI sees it.
  F.Bits()[0] = 0xFF;
  TMemoryDC DC;
  TSelectGuard Sel(DC, F.Handle());
  EXPECT_EQ(Hex(TColor(GetPixel(DC, 0, 0))), Hex(clBlue));
  EXPECT_EQ(Hex(TColor(GetPixel(DC, 0, 2))), Hex(clBlack));
}

TEST(FastBmp, PixelsInBlueGreenRedOrderAndBounds) {
  TqFastBmp F(5, 3);
  F.SetPixel(1, 2, RGBColor(0x11, 0x22, 0x33));
  const uint8_t* P = F.GetLine(2) + 3;
  EXPECT_EQ(P[0], 0x33);
  EXPECT_EQ(P[1], 0x22);
  EXPECT_EQ(P[2], 0x11);
  EXPECT_EQ(F.GetPixel(1, 2), RGBColor(0x11, 0x22, 0x33));
  for (TPoint Out : {Point(-1, 0), Point(5, 0), Point(0, -1), Point(0, 3)}) {
    EXPECT_EQ(F.GetPixel(Out.X, Out.Y), -1);
    F.SetPixel(Out.X, Out.Y, clWhite);
  }
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X)
      if (X != 1 || Y != 2) {
        EXPECT_EQ(F.GetPixel(X, Y), 0) << X << "," << Y;
      }
  F.SetPixel(0, 0, clBtnFace);
  EXPECT_EQ(F.GetPixel(0, 0), Sys(COLOR_BTNFACE)) << "system colours are resolved";

  const uint8_t Row[15] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  F.SetLine(1, Row);
  uint8_t Back[16] = {};
  F.GetScanLine(1, Back);
  EXPECT_EQ(std::vector<uint8_t>(Back, Back + 15), std::vector<uint8_t>(Row, Row + 15));
  EXPECT_EQ(Back[15], 0) << "only 3 * Width bytes";
  EXPECT_EQ(F.GetPixel(0, 1), RGBColor(3, 2, 1));
}

TEST(FastBmp, RowsOutsideTheBufferAndImpossibleSizesRaise) {
  TqFastBmp F(5, 3);
  uint8_t Buf[16] = {};
  for (int Y : {-1, 3}) {
    EXPECT_THROW(F.GetLine(Y), EInvalidGraphicOperation) << Y;
    EXPECT_THROW(F.SetLine(Y, Buf), EInvalidGraphicOperation) << Y;
    EXPECT_THROW(F.GetScanLine(Y, Buf), EInvalidGraphicOperation) << Y;
  }
  EXPECT_THROW(TqFastBmp(-1, 4), EOutOfResources);
  EXPECT_THROW(TqFastBmp(30000, 30000), EOutOfResources) << "2.7 GB of pixels";
  EXPECT_THROW(TqFastBmp(INT32_MAX, 1), EOutOfResources);
}

TEST(FastBmp, ReadsABitmapAndDrawsBack) {
  auto B = MakeImage(Fixture);
  B->Canvas()->Pixels(0, 0);  // the bitmap is selected in its canvas's DC now
  TqFastBmp F(B.get());
  EXPECT_EQ(F.Width(), 4);
  EXPECT_EQ(F.Height(), 3);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X) EXPECT_EQ(Hex(F.GetPixel(X, Y)), Hex(Fixture[size_t(Y)][size_t(X)]));
  F.SetPixel(2, 1, clYellow);
  auto Target = vcltest::MakeBitmap(8, 6, clWhite);
  F.Draw(Target->Canvas(), 3, 2);
  EXPECT_EQ(Hex(Target->Canvas()->Pixels(3, 2)), Hex(0x102030));
  EXPECT_EQ(Hex(Target->Canvas()->Pixels(5, 3)), Hex(clYellow));
  EXPECT_EQ(Hex(Target->Canvas()->Pixels(6, 4)), Hex(0x654321));
  EXPECT_EQ(Hex(Target->Canvas()->Pixels(2, 2)), Hex(clWhite));
  EXPECT_EQ(Hex(Target->Canvas()->Pixels(7, 5)), Hex(clWhite));
}

// The filters, in place, against bytes worked out by hand from the rules.
TEST(FastBmp, FiltersGiveTheRulesBytes) {
  struct TCase {
    const char* Name;
    std::function<void(TBitmap*)> Run;
    TImage Expected;
  };
  const TCase Cases[] = {
      {"Saturation 255 leaves the colours", [](TBitmap* B) { Saturation(B, 255); }, Fixture},
      {"Contrast 0 leaves them", [](TBitmap* B) { Contrast(B, 0); }, Fixture},
      {"Saturation 0 makes them grey", [](TBitmap* B) { Saturation(B, 0); },
       {{0x202020, 0x505050, 0x808080, 0xB0B0B0},
        {0x555555, 0x555555, 0x555555, 0x808080},
        {0x000000, 0xFFFFFF, 0x343434, 0x434343}}},
      {"Contrast 255 pushes away from 127", [](TBitmap* B) { Contrast(B, 255); },
       {{0x000000, 0x012141, 0x6181A1, 0xC1E1FF},
        {0xFF0000, 0x00FF00, 0x0000FF, 0x818181},
        {0x000000, 0xFFFFFF, 0x00002D, 0x4B0700}}},
      {"Sharpen 0: the mean of four neighbours, in place", [](TBitmap* B) { Sharpen(B, 0); },
       {{0x9F2830, 0x43A930, 0x3856BB, 0x5C6B9D},
        {0x27890C, 0x5A8C8E, 0x496587, 0x545E73},
        {0x93C485, 0x56847D, 0x53646B, 0x53616F}}},
      {"Sharpen 1", [](TBitmap* B) { Sharpen(B, 1); },
       {{0x822630, 0x3D9739, 0x425BB4, 0x6D7AA1},
        {0x4D6D09, 0x4E9A73, 0x3A5598, 0x5A617D},
        {0x849169, 0x709887, 0x45586F, 0x535765}}},
      {"Sharpen -6 keeps the low 8 bits", [](TBitmap* B) { Sharpen(B, -6); },
       {{0xF11030, 0x0FA9C0, 0xF8D3F1, 0x68BDCF},
        {0x84F9E8, 0x37AC2D, 0x20E703, 0xF91905},
        {0x7D0819, 0x7E3398, 0xA57AA2, 0x9136BC}}},
      {"Sharpen -4 changes nothing", [](TBitmap* B) { Sharpen(B, -4); }, Fixture},
      {"Blur 1: four diagonal neighbours, in place", [](TBitmap* B) { Blur(B, 1); },
       {{0x535B24, 0x70366C, 0x64996B, 0x357375},
        {0x706463, 0x324A39, 0x827A80, 0x79808B},
        {0x51574E, 0x796F71, 0x556562, 0x5A625C}}},
      {"Blur 2", [](TBitmap* B) { Blur(B, 2); },
       {{0x243545, 0x919090, 0x293A4A, 0xC8C7C7},
        {0x440D55, 0x79B068, 0x15106A, 0xBCD7B3},
        {0x292353, 0xA3B79C, 0x292353, 0x85A07C}}},
      {"Blur 100 keeps to the rows and columns there are", [](TBitmap* B) { Blur(B, 100); },
       {{0x454444, 0x919090, 0x415A73, 0x757474},
        {0x793028, 0x79B068, 0x091AAA, 0x7C7763},
        {0x6B5750, 0x7E8A73, 0x253A8E, 0x726D59}}},
      {"GaussianBlur 2 is Blur 2 then Blur 1", [](TBitmap* B) { GaussianBlur(B, 2); },
       {{0x5C6064, 0x372D5B, 0x8D9E8F, 0x54626F},
        {0x57596B, 0x4E5166, 0x6C7978, 0x646976},
        {0x525568, 0x616971, 0x595D6E, 0x5D656F}}},
      {"Blur 0, Blur -3 and GaussianBlur -1 change nothing",
       [](TBitmap* B) {
         Blur(B, 0);
         Blur(B, -3);
         GaussianBlur(B, -1);
       },
       Fixture},
      {"Darken 50 %: 128 off every channel", [](TBitmap* B) { DarkenBMP(B, 50, false, 0); },
       {{0x000000, 0x000000, 0x000010, 0x203040},
        {0x7F0000, 0x007F00, 0x00007F, 0x000000},
        {0x000000, 0x7F7F7F, 0x000000, 0x000000}}},
      {"Darken 90 %: 230 off", [](TBitmap* B) { DarkenBMP(B, 90, false, 0); },
       {{0x000000, 0x000000, 0x000000, 0x000000},
        {0x190000, 0x001900, 0x000019, 0x000000},
        {0x000000, 0x191919, 0x000000, 0x000000}}},
      {"Darken 100 % spares the transparent colour", [](TBitmap* B) { DarkenBMP(B, 100, true, 0x0000FF); },
       {{0, 0, 0, 0}, {0, 0, 0x0000FF, 0}, {0, 0, 0, 0}}},
      {"Lighten 10 %: 26 more, at most 255", [](TBitmap* B) { LightenBMP(B, 10, true, 0x808080); },
       {{0x2A3A4A, 0x5A6A7A, 0x8A9AAA, 0xBACADA},
        {0xFF1A1A, 0x1AFF1A, 0x1A1AFF, 0x808080},
        {0x1A1A1A, 0xFFFFFF, 0x2C4E70, 0x7F5D3B}}},
      {"Grey: 0.3 red + 0.59 green + 0.11 blue, halves to even", [](TBitmap* B) { GreyBMP(B, true, 0x654321); },
       {{0x232323, 0x535353, 0x838383, 0xB3B3B3},
        {0x1C1C1C, 0x969696, 0x4C4C4C, 0x808080},
        {0x000000, 0xFFFFFF, 0x3A3A3A, 0x654321}}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    auto B = MakeImage(Fixture);
    Case.Run(B.get());
    EXPECT_EQ(Show(ReadImage(B.get())), Show(Case.Expected));
  }
  // Grey of pure red is 76 (76.5 rounds to even).
  auto Red = MakeImage({{clRed}});
  GreyBMP(Red.get(), false, 0);
  EXPECT_EQ(Hex(Red->Canvas()->Pixels(0, 0)), Hex(0x4C4C4C));
  // Contrast 255 takes 200 to 273 and 50 to -27, clamped; 127 stays.
  auto Mixed = MakeImage({{RGBColor(200, 50, 127)}});
  Contrast(Mixed.get(), 255);
  EXPECT_EQ(Hex(Mixed->Canvas()->Pixels(0, 0)), Hex(RGBColor(255, 0, 127)));
}

TEST(FastBmp, NoiseFollowsTheRandomSequence) {
  const TImage Flat = {{0x00FF80, 0x808080, 0x10F010}, {0xFFFFFF, 0x000000, 0x7F7F7F}};
  auto Clamp = [](int V) { return V < 0 ? 0 : V > 255 ? 255 : V; };
  for (bool Mono : {false, true}) {
    SCOPED_TRACE(Mono ? "black and white" : "colour");
    auto B = MakeImage(Flat);
    RandSeed = 20240611u;
    if (Mono) AddBWNoise(B.get(), 60);
    else AddColorNoise(B.get(), 60);
    // Replayed: rows top down, pixels left to right, red then green then blue (one draw a pixel
    // for black and white).
    RandSeed = 20240611u;
    TImage Expected = Flat;
    for (auto& Row : Expected)
      for (TColor& C : Row) {
        int N[3];
        N[0] = Random(60) - 30;
        N[1] = Mono ? N[0] : Random(60) - 30;
        N[2] = Mono ? N[0] : Random(60) - 30;
        C = RGBColor(Clamp(Channel(C, 0) + N[0]), Clamp(Channel(C, 8) + N[1]), Clamp(Channel(C, 16) + N[2]));
      }
    EXPECT_EQ(Show(ReadImage(B.get())), Show(Expected));
    // Amounts of 0 and below change nothing and draw nothing.
    const uint32_t Seed = RandSeed;
    TImage Before = ReadImage(B.get());
    AddColorNoise(B.get(), 0);
    AddBWNoise(B.get(), -8);
    EXPECT_EQ(Show(ReadImage(B.get())), Show(Before));
    EXPECT_EQ(RandSeed, Seed);
  }
}

TEST(FastBmp, OneRowOrColumnSharpensAgainstItself) {
  // One column: the missing left and right neighbours are the pixel itself.
  auto Column = MakeImage({{0x102030}, {0x405060}, {0x708090}});
  Sharpen(Column.get(), 0);
  EXPECT_EQ(Show(ReadImage(Column.get())), Show({{0x283848}, {0x465666}, {0x5B6B7B}}));
  auto Single = MakeImage({{0x123456}});
  Sharpen(Single.get(), 0);
  Blur(Single.get(), 5);
  EXPECT_EQ(Hex(Single->Canvas()->Pixels(0, 0)), Hex(0x123456));
}

TEST(FastBmp, EmptyBitmapsAreLeftAlone) {
  TqFastBmp F(0, 7);
  EXPECT_EQ(F.Width(), 0);
  EXPECT_EQ(F.Height(), 0);
  EXPECT_EQ(F.Bits(), nullptr);
  EXPECT_EQ(F.Handle(), nullptr);
  EXPECT_EQ(F.GetPixel(0, 0), -1);
  F.ColorNoise(10);
  F.Saturation(0);
  F.Contrast(200);
  F.Sharpen(0);
  F.Blur(3);
  F.GaussianBlur(3);
  auto Target = vcltest::MakeBitmap(2, 2, clWhite);
  F.Draw(Target->Canvas(), 0, 0);
  EXPECT_EQ(Hex(Target->Canvas()->Pixels(0, 0)), Hex(clWhite));
  TBitmap Empty;
  auto Other = MakeImage(Fixture);
  for (auto Routine : std::vector<std::function<void(TBitmap*)>>{
           [](TBitmap* B) { DarkenBMP(B, 50, false, 0); }, [](TBitmap* B) { LightenBMP(B, 50, false, 0); },
           [](TBitmap* B) { GreyBMP(B, false, 0); }, [](TBitmap* B) { RasterBMP(B, clRed, Rast50); },
           [](TBitmap* B) { AddColorNoise(B, 5); }, [](TBitmap* B) { Blur(B, 1); },
           [](TBitmap* B) { FlipBMP(B); }, [](TBitmap* B) { MirrorBMP(B); },
           [](TBitmap* B) { ReplaceColor(B, clBlack, clRed); }, [&](TBitmap* B) { BMPRotate(Other.get(), B, 90); },
           [&](TBitmap* B) { BMPRotate(B, Other.get(), 90); }}) {
    Routine(&Empty);
    Routine(nullptr);
    EXPECT_TRUE(Empty.Empty());
  }
  EXPECT_EQ(Show(ReadImage(Other.get())), Show(Fixture)) << "an empty source turns nothing into the target";
}

TEST(FastBmp, RasterPatterns) {
  auto Pattern = [](TqRast P, bool Ofset, int W, int H) {
    RasterOfset = Ofset;
    auto B = vcltest::MakeBitmap(W, H, clWhite);
    RasterBMP(B.get(), clBlack, P);
    RasterOfset = false;
    std::string S;
    for (int Y = 0; Y < H; ++Y) {
      for (int X = 0; X < W; ++X) S += B->Canvas()->Pixels(X, Y) == clBlack ? '#' : '.';
      S += '/';
    }
    return S;
  };
  EXPECT_EQ(Pattern(Rast50, false, 2, 2), ".#/#./");
  EXPECT_EQ(Pattern(Rast50, true, 2, 2), "#./.#/");
  EXPECT_EQ(Pattern(Rast25, false, 8, 3), ".#...#../...#...#/.#...#../");
  EXPECT_EQ(Pattern(Rast25, true, 8, 2), "#.###.##/###.###./");
  // Rast75: each base pixel inside the last row and column also colours the ones right of and
  // below it; RasterOfset is not consulted.
  EXPECT_EQ(Pattern(Rast75, false, 8, 4), ".##..##./.#.###../.###.##./.#...#../");
  EXPECT_EQ(Pattern(Rast75, true, 8, 4), Pattern(Rast75, false, 8, 4));
}

TEST(FastBmp, RotationByZeroAndNinetyDegrees) {
  // A 9 by 9 source with a distinct colour per pixel; the destination is 9 by 9 too (c = 4).
  TImage Src(9, std::vector<TColor>(9));
  for (int Y = 0; Y < 9; ++Y)
    for (int X = 0; X < 9; ++X) Src[size_t(Y)][size_t(X)] = RGBColor(X * 20, Y * 20, 100);
  auto S = MakeImage(Src);
  auto D = vcltest::MakeBitmap(9, 9, clFuchsia);
  BMPRotate(S.get(), D.get(), 0);
  // The centred square of side 2c - 1 = 7 comes over; the outer ring is untouched.
  for (int Y = 0; Y < 9; ++Y)
    for (int X = 0; X < 9; ++X) {
      const bool Inner = X >= 1 && X <= 7 && Y >= 1 && Y <= 7;
      EXPECT_EQ(Hex(D->Canvas()->Pixels(X, Y)), Hex(Inner ? Src[size_t(Y)][size_t(X)] : clFuchsia))
          << X << "," << Y;
    }
  auto R = vcltest::MakeBitmap(9, 9, clFuchsia);
  BMPRotate(S.get(), R.get(), 90);
  // Destination (4 + i, 4 + j) takes source (4 - j, 4 + i) on the axes and the diagonals.
  for (int I = -3; I <= 3; ++I) {
    EXPECT_EQ(Hex(R->Canvas()->Pixels(4 + I, 4)), Hex(Src[size_t(4 + I)][4])) << I;
    EXPECT_EQ(Hex(R->Canvas()->Pixels(4, 4 + I)), Hex(Src[4][size_t(4 - I)])) << I;
    EXPECT_EQ(Hex(R->Canvas()->Pixels(4 + I, 4 + I)), Hex(Src[size_t(4 + I)][size_t(4 - I)])) << I;
  }
}

// The rotation as its formula states it, per point in long double, on RGB pixel arrays.
std::vector<TColor> RotateByTheFormula(const std::vector<TColor>& Src, int SW, int SH, std::vector<TColor> Dst,
                                       int DW, int DH, int Degrees) {
  const long double A = Degrees * 0.017453292519943295L;
  const int SX = SW / 2, SY = SH / 2, DX = DW / 2, DY = DH / 2, C = std::max(DW, DH) / 2;
  auto Copy = [&](int TX, int TY, int FX, int FY) {
    if (FX >= 0 && FX < SW && FY >= 0 && FY < SH && TX >= 0 && TX < DW && TY >= 0 && TY < DH)
      Dst[size_t(TY) * DW + TX] = Src[size_t(FY) * SW + FX];
  };
  for (int I = 0; I < C; ++I)
    for (int J = 0; J < C; ++J) {
      const long double Phi = I == 0 ? A + 1.57079632679489661923L : A + std::atan((long double)J / I);
      const int Rho = int(std::nearbyint(std::sqrt((long double)(I * I + J * J))));
      const int M = int(std::nearbyint(Rho * std::cos(Phi))), R = int(std::nearbyint(Rho * std::sin(Phi)));
      Copy(DX + I, DY + J, SX + M, SY + R);
      Copy(DX - I, DY - J, SX - M, SY - R);
      Copy(DX + J, DY - I, SX + R, SY - M);
      Copy(DX - J, DY + I, SX - R, SY + M);
    }
  return Dst;
}

// A bitmap whose every pixel has its own colour, Salt telling two such bitmaps apart.
std::unique_ptr<TBitmap> NumberedBitmap(int W, int H, int Salt, std::vector<TColor>& Pixels) {
  TqFastBmp F(W, H);
  Pixels.resize(size_t(W) * H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const TColor C = TColor((Y * W + X) * 7 + Salt) & 0xFFFFFF;
      Pixels[size_t(Y) * W + X] = C;
      F.SetPixel(X, Y, C);
    }
  auto B = vcltest::MakeBitmap(W, H, clBlack);
  F.Draw(B->Canvas(), 0, 0);
  return B;
}

TEST(FastBmp, RotationGivesThePixelsOfItsFormulaAtAnySizeAndAngle) {
  struct TCase {
    int SW, SH, DW, DH;
  };
  for (TCase Size : {TCase{1, 1, 1, 1}, TCase{2, 3, 3, 2}, TCase{17, 5, 9, 20}, TCase{64, 64, 64, 64},
                     TCase{101, 37, 80, 81}, TCase{500, 300, 400, 420}}) {
    std::vector<TColor> Src, Dst;
    auto S = NumberedBitmap(Size.SW, Size.SH, 1, Src);
    for (int Degrees : {0, 1, 7, 30, 45, 60, 89, 90, 135, 180, 181, 270, 315, 359, 360, -30, -45, 720, 3601,
                        -100000, 2147483647}) {
      auto D = NumberedBitmap(Size.DW, Size.DH, 3, Dst);
      BMPRotate(S.get(), D.get(), Degrees);
      const std::vector<TColor> Expected = RotateByTheFormula(Src, Size.SW, Size.SH, Dst, Size.DW, Size.DH, Degrees);
      TqFastBmp Got(D.get());
      int Wrong = 0;
      for (int Y = 0; Y < Size.DH; ++Y)
        for (int X = 0; X < Size.DW; ++X)
          if (Got.GetPixel(X, Y) != Expected[size_t(Y) * Size.DW + X] && Wrong++ == 0)
            ADD_FAILURE() << Size.SW << "x" << Size.SH << " onto " << Size.DW << "x" << Size.DH << " by " << Degrees
                          << ": first wrong pixel " << X << "," << Y;
      EXPECT_EQ(Wrong, 0) << Degrees;
    }
  }
}

TEST(FastBmp, FlipMirrorAndReplaceColor) {
  auto B = MakeImage(Fixture);
  FlipBMP(B.get());
  EXPECT_EQ(Show(ReadImage(B.get())), Show({Fixture[2], Fixture[1], Fixture[0]}));
  FlipBMP(B.get());
  EXPECT_EQ(Show(ReadImage(B.get())), Show(Fixture));
  MirrorBMP(B.get());
  TImage Mirrored = Fixture;
  for (auto& Row : Mirrored) std::reverse(Row.begin(), Row.end());
  EXPECT_EQ(Show(ReadImage(B.get())), Show(Mirrored));
  MirrorBMP(B.get());
  ReplaceColor(B.get(), 0x0000FF, 0x00FF00);
  TImage Replaced = Fixture;
  Replaced[1][2] = 0x00FF00;
  EXPECT_EQ(Show(ReadImage(B.get())), Show(Replaced));
}

TEST(FastBmp, EllipseIsARealPath) {
  auto B = vcltest::MakeBitmap(60, 60, clWhite);
  TCanvas* C = B->Canvas();
  C->Pen()->SetColor(clBlack);
  C->Brush()->SetColor(clRed);
  DrawEllipse(C, 30, 30, 20, 10, 0);
  EXPECT_EQ(Hex(C->Pixels(30, 30)), Hex(clRed)) << "filled with the brush";
  for (TPoint P : {Point(10, 30), Point(50, 30), Point(30, 20), Point(30, 40)})
    EXPECT_EQ(Hex(C->Pixels(P.X, P.Y)), Hex(clBlack)) << "outline through " << P.X << "," << P.Y;
  for (TPoint P : {Point(8, 30), Point(30, 18), Point(14, 22), Point(5, 5)})
    EXPECT_EQ(Hex(C->Pixels(P.X, P.Y)), Hex(clWhite)) << "outside at " << P.X << "," << P.Y;
  // Turned a quarter round the long axis stands upright.
  C->Brush()->SetColor(clWhite);
  C->FillRect(Rect(0, 0, 60, 60));
  C->Brush()->SetColor(clBlue);
  DrawEllipse(C, 30, 30, 20, 10, 1.5707963267948966);
  EXPECT_EQ(Hex(C->Pixels(30, 30)), Hex(clBlue));
  for (TPoint P : {Point(30, 10), Point(30, 50), Point(20, 30), Point(40, 30)})
    EXPECT_EQ(Hex(C->Pixels(P.X, P.Y)), Hex(clBlack)) << P.X << "," << P.Y;
  for (TPoint P : {Point(12, 30), Point(48, 30)}) EXPECT_EQ(Hex(C->Pixels(P.X, P.Y)), Hex(clWhite));
}

// A 4 by 4 glyph: fuchsia around a 2 by 2 centre of a colour 16-bit pixels cannot hold.
std::unique_ptr<TBitmap> Glyph() {
  auto G = vcltest::MakeBitmap(4, 4, clFuchsia);
  G->Canvas()->Brush()->SetColor(0x123456);
  G->Canvas()->FillRect(Rect(1, 1, 3, 3));
  return G;
}

TEST(FastBmp, TransparentBltOntoAWindow) {
  vcltest::TTestWindow Win(40, 40);
  auto G = Glyph();
  const TImage Before = ReadImage(G.get());
  {
    TWindowDC DC(Win.Handle());
    TCanvas C;
    C.SetHandle(DC);
    C.Brush()->SetColor(clLime);
    C.FillRect(Rect(0, 0, 40, 40));
    TransparentBlt(&C, G.get(), 10, 20, clFuchsia);
    C.SetHandle(nullptr);
  }
  TWindowDC DC(Win.Handle());
  EXPECT_EQ(Hex(vcltest::PixelAt(DC.Get(), 10, 20)), Hex(clLime)) << "transparent pixels show the window";
  EXPECT_EQ(Hex(vcltest::PixelAt(DC.Get(), 13, 23)), Hex(clLime));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC.Get(), 11, 21)), Hex(0x123456));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC.Get(), 12, 22)), Hex(0x123456));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC.Get(), 9, 20)), Hex(clLime));
  EXPECT_EQ(Show(ReadImage(G.get())), Show(Before)) << "the glyph keeps its pixels";
}

TEST(FastBmp, TransparentBltOntoASixteenBitBitmapLeavesTheSource) {
  TBitmap Target;
  Target.SetPixelFormat(pf16bit);
  Target.SetSize(8, 8);
  Target.Canvas()->Brush()->SetColor(clWhite);
  Target.Canvas()->FillRect(Rect(0, 0, 8, 8));
  auto G = Glyph();
  const TImage Before = ReadImage(G.get());
  TransparentBlt(Target.Canvas(), G.get(), 2, 2, clFuchsia);
  EXPECT_EQ(Hex(Target.Canvas()->Pixels(2, 2)), Hex(clWhite));
  EXPECT_EQ(Hex(Target.Canvas()->Pixels(5, 5)), Hex(clWhite));
  // The centre in the target's 5-6-5 precision.
  const TColor Mid = Target.Canvas()->Pixels(3, 3);
  EXPECT_NEAR(Channel(Mid, 0), 0x56, 8);
  EXPECT_NEAR(Channel(Mid, 8), 0x34, 4);
  EXPECT_NEAR(Channel(Mid, 16), 0x12, 8);
  EXPECT_EQ(Show(ReadImage(G.get())), Show(Before)) << "the glyph keeps its full-depth pixels";
}

// Transparent drawing by its mask steps, in device bitmaps: the object and background masks, the
// canvas's area ANDed with the one, a copy of the bitmap ANDed with the other, the two ORed.
void TransparentByMasks(HDC Dest, TBitmap* Bitmap, int X, int Y, TColor Color) {
  const int W = Bitmap->Width(), H = Bitmap->Height();
  TBitmap Copy;
  Copy.Assign(Bitmap);
  HDC Source = Copy.Canvas()->Handle();
  TMemoryDC ObjectDC(Dest), BackDC(Dest), WorkDC(Dest);
  TBitmapOwner ObjectMask(CreateBitmap(W, H, 1, 1, nullptr)), BackMask(CreateBitmap(W, H, 1, 1, nullptr)),
      Work(CreateCompatibleBitmap(Dest, W, H));
  TSelectGuard SelObject(ObjectDC, ObjectMask), SelBack(BackDC, BackMask), SelWork(WorkDC, Work);
  SetBkColor(Source, COLORREF(Color));
  BitBlt(ObjectDC, 0, 0, W, H, Source, 0, 0, SRCCOPY);
  BitBlt(BackDC, 0, 0, W, H, ObjectDC, 0, 0, NOTSRCCOPY);
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

// A bitmap of the given format whose pixels are drawn from a few colours, Key among them; the
// raw bytes of 32-bit ones carry a fourth byte too, 0 on some pixels of the key.
std::unique_ptr<TBitmap> SpeckledBitmap(TPixelFormat Format, int W, int H, TColor Key, uint32_t Seed) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(Format);
  B->SetSize(W, H);
  const TColor Colors[] = {Key, 0x123456, clWhite, clBlack, 0x80FF01};
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      Seed = Seed * 1103515245u + 12345u;
      B->Canvas()->SetPixels(X, Y, Colors[(Seed >> 16) % 5]);
    }
  if (Format == pf32bit)
    for (int Y = 0; Y < H; ++Y) {
      uint8_t* P = static_cast<uint8_t*>(B->ScanLine(Y));
      for (int X = 0; X < W; ++X) {
        Seed = Seed * 1103515245u + 12345u;
        P[4 * X + 3] = (Seed >> 20) % 3 == 0 ? uint8_t(Seed >> 8) : 0;
      }
    }
  return B;
}

std::vector<uint8_t> RawPixels(TBitmap* B) {
  std::vector<uint8_t> Bytes;
  const size_t Row = (size_t(B->Width()) * B->BitsPerPixel() + 7) / 8;
  for (int Y = 0; Y < B->Height(); ++Y) {
    const uint8_t* P = B->PixelRow(Y);
    Bytes.insert(Bytes.end(), P, P + Row);
  }
  return Bytes;
}

TEST(FastBmp, TransparentBltGivesThePixelsOfItsMaskStepsOnEveryFormat) {
  const TColor Key = 0x3366CC;
  struct TPlace {
    int X, Y;
  };
  for (TPixelFormat SourceFormat : {pf32bit, pf24bit, pf16bit, pf8bit})
    for (TPixelFormat TargetFormat : {pf32bit, pf24bit, pf16bit})
      for (TColor Color : {Key, TColor(clBtnFace)})
        for (TPlace At : {TPlace{0, 0}, TPlace{-3, 4}, TPlace{20, 9}})
          for (int State = 0; State < 3; ++State) {  // plain, clipped, origin moved
            auto Glyph = SpeckledBitmap(SourceFormat, 23, 9, Key, 7);
            const std::vector<uint8_t> GlyphBytes = RawPixels(Glyph.get());
            auto Expected = SpeckledBitmap(TargetFormat, 30, 14, Key, 99);
            auto Got = SpeckledBitmap(TargetFormat, 30, 14, Key, 99);
            for (TBitmap* B : {Expected.get(), Got.get()}) {
              if (State == 1) IntersectClipRect(B->Canvas()->Handle(), 2, 3, 17, 11);
              if (State == 2) SetViewportOrgEx(B->Canvas()->Handle(), 4, -2, nullptr);
            }
            TransparentByMasks(Expected->Canvas()->Handle(), Glyph.get(), At.X, At.Y, Color);
            TransparentBlt(Got->Canvas(), Glyph.get(), At.X, At.Y, Color);
            EXPECT_EQ(RawPixels(Got.get()), RawPixels(Expected.get()))
                << "from format " << SourceFormat << " onto " << TargetFormat << " in " << Hex(Color) << " at "
                << At.X << "," << At.Y << " in DC state " << State;
            EXPECT_EQ(RawPixels(Glyph.get()), GlyphBytes) << "the bitmap keeps its bytes";
          }
  // Onto a window: the left half by the mask steps, the right half by the routine.
  vcltest::TTestWindow Win(80, 30);
  TWindowDC DC(Win.Handle());
  for (TPixelFormat SourceFormat : {pf32bit, pf24bit}) {
    auto Back = SpeckledBitmap(pf24bit, 40, 30, Key, 5);
    BitBlt(DC, 0, 0, 40, 30, Back->Canvas()->Handle(), 0, 0, SRCCOPY);
    BitBlt(DC, 40, 0, 40, 30, Back->Canvas()->Handle(), 0, 0, SRCCOPY);
    auto Glyph = SpeckledBitmap(SourceFormat, 23, 9, Key, 3);
    TransparentByMasks(DC, Glyph.get(), 5, 6, Key);
    TCanvas C;
    C.SetHandle(DC);
    TransparentBlt(&C, Glyph.get(), 45, 6, Key);
    C.SetHandle(nullptr);
    int Wrong = 0;
    for (int Y = 0; Y < 30; ++Y)
      for (int X = 0; X < 40; ++X) Wrong += vcltest::PixelAt(DC.Get(), X, Y) != vcltest::PixelAt(DC.Get(), X + 40, Y);
    EXPECT_EQ(Wrong, 0) << "from format " << SourceFormat;
  }
}

TEST(FastBmp, DesktopCanvasReadsTheScreen) {
  TqDesktop Desk;
  EXPECT_EQ(Desk.Width(), 1024);
  EXPECT_EQ(Desk.Height(), 768);
  vcltest::TTestWindow Win(60, 40, 200, 150);
  Win.Activate();
  {
    TWindowDC DC(Win.Handle());
    HBRUSH Brush = CreateSolidBrush(RGB(0x20, 0x90, 0x60));
    RECT R{0, 0, 60, 40};
    FillRect(DC, &R, Brush);
    DeleteObject(Brush);
  }
  POINT P{30, 20};
  ClientToScreen(Win.Handle(), &P);
  // What a window draws reaches the screen once its surface is flushed.
  vcltest::PumpUntil([&] { return Desk.Pixels(P.x, P.y) == RGBColor(0x20, 0x90, 0x60); });
  EXPECT_EQ(Hex(Desk.Pixels(P.x, P.y)), Hex(RGBColor(0x20, 0x90, 0x60)));
}

}  // namespace
