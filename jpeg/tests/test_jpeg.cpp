// Compression and decompression through the components: round trips, output types, markers,
// bitmap inputs of every depth, and the DIB and BMP layouts they produce.
#include "jpegtest.h"

#include <cmath>
#include <cstring>

using namespace jpegtest;

namespace {

uint32_t Rd32(const uint8_t* P) { return uint32_t(P[0]) | uint32_t(P[1]) << 8 | uint32_t(P[2]) << 16 | uint32_t(P[3]) << 24; }

struct TRoundTrip {
  int Width, Height, Quality;
  double MaxMean;  // worst channel's mean absolute error
  int MaxError;    // worst single difference
};

class RoundTrip : public ::testing::TestWithParam<TRoundTrip> {};

// The error bounds hold for the smooth generated content at 4:2:0 subsampling.
TEST_P(RoundTrip, DecodedPixelsStayCloseToTheSource) {
  const TRoundTrip& C = GetParam();
  auto Source = PhotoBitmap(C.Width, C.Height, unsigned(C.Width + C.Height));
  Bytes Jpeg = Encode(Source.get(), [&](TJPEGStreamCompressor* Comp) { Comp->SetQuality(C.Quality); });
  ASSERT_GE(Jpeg.size(), 100u);
  EXPECT_EQ(Jpeg[0], 0xFF);
  EXPECT_EQ(Jpeg[1], 0xD8);
  auto Out = Decode(Jpeg);
  ASSERT_EQ(Out->Width(), C.Width);
  ASSERT_EQ(Out->Height(), C.Height);
  EXPECT_EQ(Out->BitsPerPixel(), 24);
  TError E = Compare(Source.get(), Out.get());
  EXPECT_LE(E.WorstMean(), C.MaxMean) << "means " << E.Mean[0] << " " << E.Mean[1] << " " << E.Mean[2];
  EXPECT_LE(E.WorstMax(), C.MaxError);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RoundTrip,
                         ::testing::Values(TRoundTrip{1, 1, 75, 1, 2}, TRoundTrip{7, 5, 75, 3, 8},
                                           TRoundTrip{225, 133, 50, 3, 14}, TRoundTrip{225, 133, 75, 2, 10},
                                           TRoundTrip{225, 133, 95, 1.2, 6}, TRoundTrip{1001, 3, 85, 2, 10},
                                           TRoundTrip{3, 601, 85, 2.5, 12}, TRoundTrip{64, 64, 100, 1, 5}));

TEST(JPEGCompressor, QualityOrdersFileSize) {
  auto Source = PhotoBitmap(160, 120, 3);
  size_t Last = 0;
  for (int Q : {10, 50, 90, 100}) {
    const size_t N = Encode(Source.get(), [&](TJPEGStreamCompressor* C) { C->SetQuality(Q); }).size();
    EXPECT_GT(N, Last) << "quality " << Q;
    Last = N;
  }
}

TEST(JPEGCompressor, ProgressiveThenBaselineAgain) {
  auto Source = PhotoBitmap(120, 90, 4);
  auto C = Make<TJPEGStreamCompressor>();
  auto Save = [&] {
    TMemoryStream S;
    C->SaveBitMapToStream(Source.get(), &S);
    return StreamBytes(S);
  };
  const Bytes Base1 = Save();
  C->SetProgressiveJPEG(true);
  const Bytes Prog = Save();
  C->SetProgressiveJPEG(false);
  const Bytes Base2 = Save();
  EXPECT_EQ(CountMarker(Base1, 0xC0), 1);
  EXPECT_EQ(CountMarker(Prog, 0xC2), 1);
  EXPECT_EQ(CountMarker(Prog, 0xC0), 0);
  EXPECT_GT(CountMarker(Prog, 0xDA), 1) << "a progressive file has several scans";
  EXPECT_EQ(CountMarker(Base2, 0xC2), 0);
  EXPECT_EQ(CountMarker(Base2, 0xC0), 1);
  EXPECT_EQ(CountMarker(Base2, 0xDA), 1);
  EXPECT_EQ(Base1, Base2);
  // Optimised tables of one image do not stay for the next one: it must still code.
  C->SetOptimizeCoding(true);
  Save();
  C->SetOptimizeCoding(false);
  auto Other = PhotoBitmap(120, 90, 99, 24, 60);
  TMemoryStream S;
  C->SaveBitMapToStream(Other.get(), &S);
  EXPECT_EQ(StreamBytes(S), Encode(Other.get()));
  // Both kinds decode to the same picture within the coding error.
  auto A = Decode(Base1), B = Decode(Prog);
  EXPECT_LE(Compare(A.get(), B.get()).WorstMax(), 8);
  EXPECT_LE(Compare(Source.get(), B.get()).WorstMean(), 3);
}

TEST(JPEGCompressor, MarkerSettingsSurviveTheColourSpace) {
  auto Source = PhotoBitmap(40, 30, 5);
  const Bytes Plain = Encode(Source.get());
  EXPECT_EQ(CountMarker(Plain, 0xE0), 1) << "JFIF by default";
  EXPECT_EQ(CountMarker(Plain, 0xEE), 0);
  const Bytes Custom = Encode(Source.get(), [](TJPEGStreamCompressor* C) {
    C->SetWriteJFIFHeader(false);
    C->SetWriteAdobeMarker(true);
  });
  EXPECT_EQ(CountMarker(Custom, 0xE0), 0);
  EXPECT_EQ(CountMarker(Custom, 0xEE), 1);
  const Bytes Grey = Encode(Source.get(), [](TJPEGStreamCompressor* C) {
    C->SetGrayscaleOutput(true);
    C->SetWriteJFIFHeader(false);
  });
  EXPECT_EQ(CountMarker(Grey, 0xE0), 0);
}

TEST(JPEGCompressor, DensityAndTablesReachTheFile) {
  auto Source = PhotoBitmap(64, 64, 6);
  auto D = Make<TJPEGStreamDecompressor>();
  const Bytes J = Encode(Source.get(), [](TJPEGStreamCompressor* C) {
    C->SetDensityUnit(1);
    C->SetX_Density(300);
    C->SetY_Density(150);
    C->SetRestartInterval(1);
    C->SetOptimizeCoding(true);
  });
  TMemoryStream S;
  LoadBytes(S, J);
  D->OpenStream(&S);
  EXPECT_TRUE(D->SawJFIFMarker());
  EXPECT_EQ(D->DensityUnit(), 1);
  EXPECT_EQ(D->X_Density(), 300);
  EXPECT_EQ(D->Y_Density(), 150);
  D->CloseStream();
  EXPECT_GT(CountMarker(J, 0xD0), 0) << "restart markers";
  EXPECT_EQ(CountMarker(J, 0xDD), 1);
  // Without WriteAllTables the tables are left out of the image.
  const Bytes NoTables = Encode(Source.get(), [](TJPEGStreamCompressor* C) { C->SetWriteAllTables(false); });
  EXPECT_EQ(CountMarker(NoTables, 0xDB), 0);
  EXPECT_EQ(CountMarker(NoTables, 0xC4), 0);
}

TEST(JPEGCompressor, CustomQuantisationTable) {
  auto Source = PhotoBitmap(64, 64, 7);
  unsigned Flat[64];
  for (unsigned& Q : Flat) Q = 1;
  const Bytes Fine = Encode(Source.get(), [&](TJPEGStreamCompressor* C) {
    C->AddQuantTable(0, Flat, 100, true);
    C->AddQuantTable(1, Flat, 100, true);
  });
  const Bytes Coarse = Encode(Source.get(), [](TJPEGStreamCompressor* C) { C->SetQuality(20); });
  EXPECT_GT(Fine.size(), Coarse.size() * 2);
  EXPECT_LE(Compare(Source.get(), Decode(Fine).get()).WorstMax(), 8);
}

// ---------------------------------------------------------------------------------------------
// Output types

TEST(JPEGDecompressor, GreyImageGivesTheGreyPalette) {
  auto Source = PhotoBitmap(33, 21, 8);
  const Bytes Grey = Encode(Source.get(), [](TJPEGStreamCompressor* C) { C->SetGrayscaleOutput(true); });
  auto Out = Decode(Grey);
  ASSERT_EQ(Out->BitsPerPixel(), 8);
  const RGBQUAD* Palette = JPEGGreyPalette();
  // round(255 sin(i pi / 126)), worked out exactly; entry 21 is the tie 127.5.
  static const int Levels[64] = {0,   6,   13,  19,  25,  32,  38,  44,  51,  57,  63,  69,  75,
                                 81,  87,  93,  99,  105, 111, 116, 122, 128, 133, 138, 144, 149,
                                 154, 159, 164, 169, 173, 178, 183, 187, 191, 195, 199, 203, 207,
                                 211, 214, 218, 221, 224, 227, 230, 232, 235, 237, 240, 242, 244,
                                 245, 247, 249, 250, 251, 252, 253, 254, 254, 255, 255, 255};
  for (int I = 0; I < 64; ++I) {
    const int Want = Levels[I];
    EXPECT_EQ(Palette[I].rgbRed, Want) << I;
    EXPECT_EQ(Out->Colors()[size_t(I)].rgbBlue, Want) << I;
    EXPECT_EQ(Out->Colors()[size_t(I)].rgbGreen, Want) << I;
  }
  EXPECT_EQ(Palette[0].rgbRed, 0);
  EXPECT_EQ(Palette[61].rgbRed, 255);
  // Indexes are the grey levels divided by 4: compare with the source's luminance.
  int Worst = 0;
  for (int Y = 0; Y < Out->Height(); ++Y)
    for (int X = 0; X < Out->Width(); ++X) {
      uint8_t P[3];
      PixelAt(Source.get(), X, Y, P);
      const double Luma = 0.114 * P[0] + 0.587 * P[1] + 0.299 * P[2];
      const int Index = static_cast<const uint8_t*>(Out->ScanLine(Y))[X];
      ASSERT_LT(Index, 64);
      Worst = std::max(Worst, std::abs(Index - int(Luma) / 4));
    }
  EXPECT_LE(Worst, 3);

  auto D = Make<TJPEGStreamDecompressor>();
  TMemoryStream S;
  LoadBytes(S, Grey);
  D->OpenStream(&S);
  std::vector<uint8_t> Info(size_t(TJPEGDecompressor::GetBitmapInfoSize(jp24bit)));
  std::vector<uint8_t> Bits(size_t(D->GetDIBitsSize(jp24bit)));
  EXPECT_EQ(ErrorOf([&] { D->ReadDIBitmap(reinterpret_cast<BITMAPINFO*>(Info.data()), jp24bit, Bits.data()); }),
            "Image is Grayscale but colour output requested");
  // The refusal leaves the header read: the grey output of the same image follows.
  Info.assign(size_t(TJPEGDecompressor::GetBitmapInfoSize(jpGrayscale)), 0);
  Bits.assign(size_t(D->GetDIBitsSize(jpGrayscale)), 0);
  D->ReadDIBitmap(reinterpret_cast<BITMAPINFO*>(Info.data()), jpGrayscale, Bits.data(), Bits.size());
  EXPECT_EQ(reinterpret_cast<BITMAPINFO*>(Info.data())->bmiHeader.biBitCount, 8);
  EXPECT_EQ(Bits, Bytes(static_cast<const uint8_t*>(Out->ScanLine(Out->Height() - 1)),
                        static_cast<const uint8_t*>(Out->ScanLine(Out->Height() - 1)) + Bits.size()));
  D->CloseStream();
}

TEST(JPEGDecompressor, GrayScaleOutputOfAColourImage) {
  auto Source = PhotoBitmap(20, 10, 9);
  auto Out = Decode(Encode(Source.get()), [](TJPEGStreamDecompressor* D) { D->SetGrayScaleOutput(true); });
  EXPECT_EQ(Out->BitsPerPixel(), 8);
  EXPECT_EQ(Out->Colors()[63].rgbRed, 255);
}

// Four flat quarters: the palette outputs must find these colours, in the right channel order.
Owned<TBitmap> Quarters(int W, int H) {
  Owned<TBitmap> B(new TBitmap);
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  const uint8_t Colours[4][3] = {{0, 0, 255}, {0, 200, 0}, {230, 0, 0}, {255, 255, 255}};  // B, G, R
  for (int Y = 0; Y < H; ++Y) {
    auto* Row = static_cast<uint8_t*>(B->ScanLine(Y));
    for (int X = 0; X < W; ++X) std::memcpy(Row + 3 * X, Colours[(Y >= H / 2) * 2 + (X >= W / 2)], 3);
  }
  return B;
}

struct TPaletteCase {
  TJPEGOutputType Type;
  int Bits, MaxColours;
};

class PaletteOutput : public ::testing::TestWithParam<TPaletteCase> {};

TEST_P(PaletteOutput, FindsTheImageColours) {
  const TPaletteCase& C = GetParam();
  const int W = 45, H = 32;  // odd width
  auto Source = Quarters(W, H);
  const Bytes J = Encode(Source.get(), [](TJPEGStreamCompressor* Comp) { Comp->SetQuality(95); });
  auto D = Make<TJPEGStreamDecompressor>();
  TMemoryStream S;
  LoadBytes(S, J);
  D->OpenStream(&S);
  const int InfoSize = TJPEGDecompressor::GetBitmapInfoSize(C.Type);
  const int BitsSize = D->GetDIBitsSize(C.Type);
  const int Stride = C.Bits == 4 ? Round4((W + 1) / 2) : Round4(W);
  EXPECT_EQ(BitsSize, Stride * H) << "one byte a pixel, or two pixels a byte";
  std::vector<uint8_t> InfoBuf(size_t(InfoSize), 0xCD), Bits(size_t(BitsSize), 0xCD);
  auto* Info = reinterpret_cast<BITMAPINFO*>(InfoBuf.data());
  D->ReadDIBitmap(Info, C.Type, Bits.data(), Bits.size());
  D->CloseStream();
  EXPECT_EQ(Info->bmiHeader.biBitCount, C.Bits);
  EXPECT_EQ(Info->bmiHeader.biWidth, W);
  EXPECT_EQ(Info->bmiHeader.biHeight, H);
  ASSERT_GE(int(Info->bmiHeader.biClrUsed), 4);
  ASSERT_LE(int(Info->bmiHeader.biClrUsed), C.MaxColours);
  auto IndexAt = [&](int X, int Y) {  // Y from the top
    const uint8_t* Row = Bits.data() + size_t(Stride) * (H - 1 - Y);
    return C.Bits == 4 ? ((X & 1) ? Row[X / 2] & 0x0F : Row[X / 2] >> 4) : Row[X];
  };
  for (int Q = 0; Q < 4; ++Q) {
    const int X = (Q & 1) ? W * 3 / 4 : W / 4, Y = (Q & 2) ? H * 3 / 4 : H / 4;
    const unsigned Index = IndexAt(X, Y);
    ASSERT_LT(Index, Info->bmiHeader.biClrUsed);
    uint8_t Want[3];
    PixelAt(Source.get(), X, Y, Want);
    const RGBQUAD Got = Info->bmiColors[Index];
    EXPECT_NEAR(Got.rgbBlue, Want[0], 40) << "quarter " << Q;
    EXPECT_NEAR(Got.rgbGreen, Want[1], 40) << "quarter " << Q;
    EXPECT_NEAR(Got.rgbRed, Want[2], 40) << "quarter " << Q;
  }
  if (C.Bits == 4) {
    // An odd width leaves the last low nibble 0, and the row padding 0.
    for (int Y = 0; Y < H; ++Y) {
      const uint8_t* Row = Bits.data() + size_t(Stride) * Y;
      EXPECT_EQ(Row[W / 2] & 0x0F, 0) << "row " << Y;
      for (int I = (W + 1) / 2; I < Stride; ++I) EXPECT_EQ(Row[I], 0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Types, PaletteOutput,
                         ::testing::Values(TPaletteCase{jp8bit, 8, 64}, TPaletteCase{jp4bit, 4, 16}));

TEST(JPEGDecompressor, ColoursIn8bitModeBoundsThePalette) {
  auto Source = PhotoBitmap(64, 48, 10);
  const Bytes J = Encode(Source.get());
  for (int Colours : {8, 64, 256}) {
    auto D = Make<TJPEGStreamDecompressor>();
    D->SetColoursIn8bitMode(Colours);
    TMemoryStream S;
    LoadBytes(S, J);
    BITMAPINFO* Info = nullptr;
    std::vector<uint8_t> InfoBuf(size_t(TJPEGDecompressor::GetBitmapInfoSize(jp8bit)));
    Info = reinterpret_cast<BITMAPINFO*>(InfoBuf.data());
    HGLOBAL Mem = nullptr;
    D->ReadDIBitmapFromStream(&S, Info, Mem, jp8bit);
    ASSERT_TRUE(Mem);
    EXPECT_EQ(GlobalSize(Mem), SIZE_T(Round4(64) * 48));
    GlobalFree(Mem);
    EXPECT_LE(int(Info->bmiHeader.biClrUsed), Colours);
    EXPECT_GT(int(Info->bmiHeader.biClrUsed), Colours / 2);
  }
}

struct TBmpCase {
  TJPEGOutputType Type;
  bool GreyImage;
  int InfoSize, RowSize, Bits;
};

class BmpOutput : public ::testing::TestWithParam<TBmpCase> {};

TEST_P(BmpOutput, FileLayout) {
  const TBmpCase& C = GetParam();
  auto Source = PhotoBitmap(225, 133, 11);
  const Bytes J = Encode(Source.get(), [&](TJPEGStreamCompressor* Comp) { Comp->SetGrayscaleOutput(C.GreyImage); });
  auto D = Make<TJPEGStreamDecompressor>();
  TMemoryStream In, Out;
  LoadBytes(In, J);
  D->ConvertToDIB(&In, &Out, C.Type);
  const Bytes F = StreamBytes(Out);
  const size_t Expected = 14 + size_t(C.InfoSize) + size_t(C.RowSize) * 133;
  ASSERT_EQ(F.size(), Expected);
  EXPECT_EQ(F[0], 'B');
  EXPECT_EQ(F[1], 'M');
  EXPECT_EQ(Rd32(&F[2]), Expected);
  EXPECT_EQ(Rd32(&F[6]), 0u);
  EXPECT_EQ(Rd32(&F[10]), uint32_t(14 + C.InfoSize));
  EXPECT_EQ(Rd32(&F[14]), 40u);
  EXPECT_EQ(F[28], C.Bits);
  // And the bitmap class reads it back at that size.
  Out.SetPosition(0);
  TBitmap B;
  B.LoadFromStream(&Out);
  EXPECT_EQ(B.Width(), 225);
  EXPECT_EQ(B.Height(), 133);
}

INSTANTIATE_TEST_SUITE_P(Types, BmpOutput,
                         ::testing::Values(TBmpCase{jp24bit, false, 40, 676, 24}, TBmpCase{jp8bit, false, 1064, 228, 8},
                                           TBmpCase{jp4bit, false, 104, 116, 4},
                                           TBmpCase{jpGrayscale, true, 296, 228, 8},
                                           TBmpCase{jpGrayscale, false, 296, 228, 8}));

TEST(JPEGDecompressor, ScaledOutputAndWindowsBitmap) {
  auto Source = PhotoBitmap(200, 100, 12);
  const Bytes J = Encode(Source.get());
  auto D = Make<TJPEGStreamDecompressor>();
  TMemoryStream S;
  LoadBytes(S, J);
  D->OpenStream(&S);
  EXPECT_EQ(D->ImageWidth(), 200u);
  EXPECT_EQ(D->OutputWidth(), 200u);
  D->SetScaleNum(1);
  D->SetScaleDenom(2);
  Owned<TBitmap> Half(D->ReadBitmap());
  D->CloseStream();
  EXPECT_EQ(Half->Width(), 100);
  EXPECT_EQ(Half->Height(), 50);
  Owned<TBitmap> Small(ReSizeBitmap(Source.get(), 100, 50));
  EXPECT_LE(Compare(Small.get(), Half.get()).WorstMean(), 6);

  S.SetPosition(0);
  D->OpenStream(&S);
  HBITMAP Bmp = nullptr;
  HPALETTE Pal = nullptr;
  D->ReadWinBitmap(Bmp, Pal);
  D->CloseStream();
  ASSERT_TRUE(Bmp);
  BITMAP BM{};
  ASSERT_TRUE(GetObjectA(Bmp, sizeof(BM), &BM));
  EXPECT_EQ(BM.bmWidth, 200);
  EXPECT_EQ(BM.bmHeight, 100);
  TBitmap Back;
  Back.SetHandle(Bmp);  // taken over
  Back.SetPixelFormat(pf24bit);
  EXPECT_LE(Compare(Source.get(), &Back).WorstMean(), 4);
  if (Pal) DeleteObject(Pal);
}

}  // namespace
