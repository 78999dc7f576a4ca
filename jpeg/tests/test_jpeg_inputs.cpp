// What the compressor accepts: DIBs (validated), bitmaps of every depth, stretched bitmaps,
// metafiles and pictures; comments and markers both ways; buffers; published defaults.
#include "jpegtest.h"

#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"

#include <algorithm>
#include <cstring>

using namespace jpegtest;

namespace {

// A DIB held in memory: header, colour table, rows.
struct TDib {
  std::vector<uint8_t> Info;
  std::vector<uint8_t> Bits;
  BITMAPINFO* BI() { return reinterpret_cast<BITMAPINFO*>(Info.data()); }
};

TDib MakeDib(int W, int H, int Bpp, int Colours = 0, uint32_t Compression = BI_RGB) {
  TDib D;
  D.Info.assign(40 + 4 * 256, 0);
  BITMAPINFOHEADER& Hd = D.BI()->bmiHeader;
  Hd.biSize = 40;
  Hd.biWidth = W;
  Hd.biHeight = H;
  Hd.biPlanes = 1;
  Hd.biBitCount = WORD(Bpp);
  Hd.biCompression = Compression;
  Hd.biClrUsed = DWORD(Colours);
  for (int I = 0; I < 256; ++I) D.BI()->bmiColors[I] = RGBQUAD{BYTE(I), BYTE(255 - I), BYTE(I * 3), 0};
  const int AbsH = H < 0 ? -H : H;
  const int Stride = ((W * Bpp + 31) / 32) * 4;
  D.Bits.assign(std::max<size_t>(size_t(Stride) * size_t(AbsH), 1), 0);
  return D;
}

Bytes SaveDib(TDib& D, const std::function<void(TJPEGStreamCompressor*)>& Setup = {}) {
  auto C = Make<TJPEGStreamCompressor>();
  if (Setup) Setup(C.get());
  TMemoryStream S;
  C->SaveDIBitmapToStream(&S, D.BI(), D.Bits.data(), D.Bits.size());
  return StreamBytes(S);
}

struct TBadDib {
  const char* Name;
  int W, H, Bpp, Colours;
  uint32_t Compression;
  int BadIndex;  // a pixel index written into the rows, -1 none
  const char* Message;
};

class BadDib : public ::testing::TestWithParam<TBadDib> {};

TEST_P(BadDib, IsRefusedBeforeCompression) {
  const TBadDib& C = GetParam();
  TDib D = MakeDib(C.W, C.H, C.Bpp, C.Colours, C.Compression);
  if (C.BadIndex >= 0) D.Bits[D.Bits.size() / 2] = uint8_t(C.Bpp == 4 ? (C.BadIndex << 4) : C.BadIndex);
  auto Comp = Make<TJPEGStreamCompressor>();
  TMemoryStream S;
  EXPECT_EQ(ErrorOf([&] { Comp->SaveDIBitmapToStream(&S, D.BI(), D.Bits.data(), D.Bits.size()); }), C.Message);
  EXPECT_EQ(S.Size(), 0) << "nothing written";
  // The same compressor is usable afterwards.
  TDib Good = MakeDib(8, 8, 24);
  EXPECT_NO_THROW(Comp->SaveDIBitmapToStream(&S, Good.BI(), Good.Bits.data()));
  EXPECT_GT(S.Size(), 100);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadDib,
    ::testing::Values(TBadDib{"OneBit", 8, 8, 1, 0, BI_RGB, -1, "Unable to compress at 1 bit resolution"},
                      TBadDib{"SixteenBit", 8, 8, 16, 0, BI_RGB, -1, "Unable to compress at 16 bit resolution"},
                      TBadDib{"ThirtyTwoBit", 8, 8, 32, 0, BI_RGB, -1, "Unable to compress at 32 bit resolution"},
                      TBadDib{"Rle8", 8, 8, 8, 0, BI_RLE8, -1, "Unable to compress a bitmap of compression type 1"},
                      TBadDib{"ZeroWidth", 0, 8, 24, 0, BI_RGB, -1, "Invalid bitmap size (0 by 8)"},
                      TBadDib{"ZeroHeight", 8, 0, 24, 0, BI_RGB, -1, "Invalid bitmap size (8 by 0)"},
                      TBadDib{"TooWide", 70000, 1, 8, 0, BI_RGB, -1, "Maximum supported image dimension is 65500 pixels"},
                      TBadDib{"BigTable", 8, 8, 4, 17, BI_RGB, -1, "A colour table of 17 entries is too large for 4 bits"},
                      TBadDib{"Index8", 8, 8, 8, 10, BI_RGB, 200, "Colour index 200 is beyond the colour table of 10 entries"},
                      TBadDib{"Index4", 9, 8, 4, 3, BI_RGB, 7, "Colour index 7 is beyond the colour table of 3 entries"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(JPEGCompressor, RowsBeyondTheBitsAreRefused) {
  const struct {
    int W, H;
    size_t BitsSize;  // 0: the caller does not say
    const char* Message;
  } Cases[] = {
      {10, 10, 32 * 10 - 1, "Bitmap bits are smaller than the bitmap header states"},
      {60000, 60000, 64, "Bitmap bits are smaller than the bitmap header states"},
      // More rows than any block of memory holds: the header alone is wrong.
      {60000, 60000, 0, "Invalid bitmap size (60000 by 60000)"},
      {60000, -60000, 0, "Invalid bitmap size (60000 by -60000)"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.W) + " by " + std::to_string(C.H));
    TDib D = MakeDib(10, 10, 24);
    D.BI()->bmiHeader.biWidth = C.W;
    D.BI()->bmiHeader.biHeight = C.H;
    auto Comp = Make<TJPEGStreamCompressor>();
    TMemoryStream S;
    EXPECT_EQ(ErrorOf([&] { Comp->SaveDIBitmapToStream(&S, D.BI(), D.Bits.data(), C.BitsSize); }), C.Message);
    EXPECT_EQ(S.Size(), 0);
  }
}

TEST(JPEGCompressor, TopDownDibEqualsBottomUp) {
  const int W = 30, H = 20;
  TDib Up = MakeDib(W, H, 24), Down = MakeDib(W, -H, 24);
  const int Stride = Round4(W * 3);
  for (int Y = 0; Y < H; ++Y)  // Y from the top
    for (int X = 0; X < W; ++X) {
      uint8_t* U = &Up.Bits[size_t(Stride) * (H - 1 - Y) + 3 * X];
      uint8_t* D = &Down.Bits[size_t(Stride) * Y + 3 * X];
      U[0] = D[0] = uint8_t(Y * 12);
      U[1] = D[1] = uint8_t(X * 8);
      U[2] = D[2] = uint8_t(255 - Y * 12);
    }
  const Bytes A = SaveDib(Up), B = SaveDib(Down);
  EXPECT_EQ(A, B);
  auto Out = Decode(A);
  uint8_t P[3];
  PixelAt(Out.get(), 15, 0, P);  // top row: blue 0, red 255
  EXPECT_LE(P[0], 12);
  EXPECT_GE(P[2], 235);
}

TEST(JPEGCompressor, PaletteDibsAreExpanded) {
  for (int Bpp : {4, 8}) {
    SCOPED_TRACE(Bpp);
    const int W = 17, H = 6;  // odd width
    TDib D = MakeDib(W, H, Bpp, 4);
    const RGBQUAD Table[4] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {255, 255, 255, 0}};
    std::memcpy(D.BI()->bmiColors, Table, sizeof Table);
    const int Stride = ((W * Bpp + 31) / 32) * 4;
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        const int Index = X < 8 ? 0 : X < 12 ? 2 : 3;
        uint8_t* Row = &D.Bits[size_t(Stride) * Y];
        if (Bpp == 8) Row[X] = uint8_t(Index);
        else Row[X / 2] |= uint8_t((X & 1) ? Index : Index << 4);
      }
    auto Out = Decode(SaveDib(D, [](TJPEGStreamCompressor* C) { C->SetQuality(100); }));
    uint8_t P[3];
    PixelAt(Out.get(), 2, 3, P);  // red
    EXPECT_GE(P[2], 200);
    EXPECT_LE(P[0], 60);
    PixelAt(Out.get(), 16, 3, P);  // white, the odd last pixel
    EXPECT_GE(P[0], 200);
    EXPECT_GE(P[1], 200);
    EXPECT_GE(P[2], 200);
  }
}

struct TDepth {
  TPixelFormat Format;
  double MaxMean;
};

class BitmapDepth : public ::testing::TestWithParam<TDepth> {};

// Every pixel format compresses from the colours it shows.
TEST_P(BitmapDepth, CompressesWhatTheBitmapShows) {
  auto Photo = PhotoBitmap(48, 40, 13);
  TBitmap B;
  B.Assign(Photo.get());
  B.SetPixelFormat(GetParam().Format);
  ASSERT_EQ(B.PixelFormat(), GetParam().Format);
  TBitmap Shown;  // the bitmap's own colours at 24 bits
  Shown.Assign(&B);
  Shown.SetPixelFormat(pf24bit);
  auto Out = Decode(Encode(&B, [](TJPEGStreamCompressor* C) { C->SetQuality(95); }));
  EXPECT_LE(Compare(&Shown, Out.get()).WorstMean(), GetParam().MaxMean);
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapDepth,
                         ::testing::Values(TDepth{pf1bit, 40}, TDepth{pf4bit, 12}, TDepth{pf8bit, 8},
                                           TDepth{pf15bit, 3}, TDepth{pf16bit, 3}, TDepth{pf24bit, 2},
                                           TDepth{pf32bit, 2}));

TEST(JPEGCompressor, DIBSizesAndHeaders) {
  auto B = PhotoBitmap(225, 133, 14);
  struct {
    TBitmapResolution Res;
    int Bits, InfoSize, ImageSize;
  } Cases[] = {{bmDefault, 24, 40, 676 * 133}, {bm24bit, 24, 40, 676 * 133},
               {bm256Colour, 8, 40 + 1024, 228 * 133}, {bm16Colour, 4, 40 + 64, 116 * 133}};
  for (auto& C : Cases) {
    BITMAPINFOHEADER H;
    TJPEGCompressor::GetBitmapInfoHeader(B->Handle(), C.Res, H);
    EXPECT_EQ(H.biBitCount, C.Bits);
    EXPECT_EQ(H.biWidth, 225);
    EXPECT_EQ(H.biHeight, 133);
    EXPECT_EQ(H.biCompression, DWORD(BI_RGB));
    int InfoSize = 0, ImageSize = 0;
    TJPEGCompressor::GetDIBSizes(B->Handle(), C.Res, InfoSize, ImageSize);
    EXPECT_EQ(InfoSize, C.InfoSize);
    EXPECT_EQ(ImageSize, C.ImageSize);
  }
  EXPECT_EQ(ErrorOf([] {
              BITMAPINFOHEADER H;
              TJPEGCompressor::GetBitmapInfoHeader(nullptr, bmDefault, H);
            }),
            "Cannot obtain a Device Independent Bitmap");
  // Bitmap2DIB gives the pixels as GDI reads them.
  std::vector<uint8_t> Info(40), Bits(size_t(676) * 133);
  TJPEGCompressor::Bitmap2DIB(B.get(), bm24bit, Bits.data(), reinterpret_cast<BITMAPINFO*>(Info.data()));
  uint8_t P[3];
  PixelAt(B.get(), 10, 0, P);
  EXPECT_EQ(0, std::memcmp(&Bits[size_t(676) * 132 + 30], P, 3));
}

TEST(JPEGCompressor, StretchedBitmapAndPicture) {
  auto B = PhotoBitmap(100, 50, 15);
  auto C = Make<TJPEGStreamCompressor>();
  TMemoryStream S;
  C->SaveStretchedBitMapToStream(B.get(), 40, 20, &S);
  auto Out = Decode(StreamBytes(S));
  EXPECT_EQ(Out->Width(), 40);
  EXPECT_EQ(Out->Height(), 20);
  Owned<TBitmap> Cropped(CropBitmap(B.get(), 10, 10, Rect(90, 40, 100, 50)));
  uint8_t P[3], Q[3];
  PixelAt(Cropped.get(), 5, 5, P);
  PixelAt(B.get(), 95, 45, Q);
  for (int I = 0; I < 3; ++I) EXPECT_NEAR(P[I], Q[I], 6);

  TPicture Pic;
  Pic.SetBitmap(B.get());
  TMemoryStream S2;
  C->SaveStretchedPictureToStream(&Pic, 25, 50, &S2);
  EXPECT_EQ(Decode(StreamBytes(S2))->Width(), 25);
  TMemoryStream S3;
  C->SavePictureToStream(&Pic, &S3);
  EXPECT_EQ(Decode(StreamBytes(S3))->Width(), 100);

  TPicture IconPic;
  IconPic.Icon();
  EXPECT_EQ(ErrorOf([&] { C->SavePictureToStream(&IconPic, &S3); }),
            "cannot save a picture that is neither a bitmap nor metafile");
  EXPECT_EQ(ErrorOf([&] { C->SavePictureToStream(nullptr, &S3); }),
            "cannot save a picture that is neither a bitmap nor metafile");
  TBitmap Empty;
  EXPECT_EQ(ErrorOf([&] { C->SaveBitMapToStream(&Empty, &S3); }), "Cannot obtain a Device Independent Bitmap");
}

TEST(JPEGCompressor, Metafile) {
  HDC Ref = GetDC(nullptr);
  HDC DC = CreateEnhMetaFileA(Ref, nullptr, nullptr, nullptr);
  ReleaseDC(nullptr, Ref);
  ASSERT_TRUE(DC);
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  RECT R{0, 0, 100, 100};
  FillRect(DC, &R, Red);
  DeleteObject(Red);
  TMetafile Emf;
  Emf.SetHandle(CloseEnhMetaFile(DC));
  ASSERT_FALSE(Emf.Empty());
  auto C = Make<TJPEGStreamCompressor>();
  TMemoryStream S;
  C->SaveMetaFileToStream(&Emf, &S, 32, 24);
  auto Out = Decode(StreamBytes(S));
  EXPECT_EQ(Out->Width(), 32);
  EXPECT_EQ(Out->Height(), 24);
  uint8_t P[3];
  PixelAt(Out.get(), 16, 12, P);
  EXPECT_GE(P[2], 230);
  EXPECT_LE(P[0], 30);
  EXPECT_LE(P[1], 30);
  TMetafile Blank;
  for (TMetafile* M : {static_cast<TMetafile*>(nullptr), &Blank}) {
    const std::string Msg = ErrorOf([&] { TMemoryStream S2; C->SaveMetaFileToStream(M, &S2, 8, 8); });
    EXPECT_EQ(Msg.rfind("Unable to render metafile as a bitmap - PlayEnhMetaFile returned ", 0), 0u) << Msg;
  }
}

// An enhanced metafile file of W by H screen pixels: thick coloured lines and black text on no
// background of its own.
void RecordLinesAndText(const AnsiString& FileName, int W, int H) {
  HDC Ref = GetDC(nullptr);
  const RECT Frame{0, 0, MulDiv(W, 2540, GetDeviceCaps(Ref, LOGPIXELSX)), MulDiv(H, 2540, GetDeviceCaps(Ref, LOGPIXELSY))};
  HDC DC = CreateEnhMetaFileA(Ref, FileName.c_str(), &Frame, nullptr);
  ReleaseDC(nullptr, Ref);
  ASSERT_TRUE(DC);
  const COLORREF Colours[] = {RGB(220, 0, 0), RGB(0, 0, 200), RGB(0, 150, 0)};
  for (int I = 0; I < 3; ++I) {
    HPEN Pen = CreatePen(PS_SOLID, 4, Colours[I]);
    HGDIOBJ Old = SelectObject(DC, Pen);
    MoveToEx(DC, 5 + 20 * I, 5, nullptr);
    LineTo(DC, W - 5 - 30 * I, H - 5);
    SelectObject(DC, Old);
    DeleteObject(Pen);
  }
  HFONT Font = CreateFontA(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HGDIOBJ OldFont = SelectObject(DC, Font);
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, RGB(0, 0, 0));
  TextOutA(DC, 12, H / 2 - 12, "Orvalen", 7);
  SelectObject(DC, OldFont);
  DeleteObject(Font);
  DeleteEnhMetaFile(CloseEnhMetaFile(DC));
}

// The graphic played onto a white 24-bit bitmap of W by H.
Owned<TBitmap> Played(TGraphic* G, int W, int H) {
  Owned<TBitmap> B(new TBitmap);
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(clWhite);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  B->Canvas()->StretchDraw(Rect(0, 0, W, H), G);
  return B;
}

TEST(JPEGCompressor, MetafilePictureFromAFile) {
  TTempFiles Files;
  const AnsiString Name = Files.Add("lines.emf");
  RecordLinesAndText(Name, 160, 100);
  TPicture Pic;
  Pic.LoadFromFile(Name);
  ASSERT_TRUE(dynamic_cast<TMetafile*>(Pic.Graphic()));
  EXPECT_EQ(Pic.Width(), 160);
  EXPECT_EQ(Pic.Height(), 100);
  auto C = Make<TJPEGStreamCompressor>();
  C->SetQuality(90);
  const struct {
    int W, H;  // 0: the picture's size
  } Cases[] = {{0, 0}, {80, 50}, {240, 150}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.W);
    TMemoryStream S;
    if (Case.W) C->SaveStretchedPictureToStream(&Pic, Case.W, Case.H, &S);
    else C->SavePictureToStream(&Pic, &S);
    const int W = Case.W ? Case.W : 160, H = Case.H ? Case.H : 100;
    auto Out = Decode(StreamBytes(S));
    ASSERT_EQ(Out->Width(), W);
    ASSERT_EQ(Out->Height(), H);
    auto Want = Played(Pic.Graphic(), W, H);
    // Within JPEG's error of the metafile, far from an empty picture, and just what the
    // metafile played into a bitmap of the screen's format compresses to.
    Owned<TBitmap> Blank(new TBitmap);
    Blank->SetSize(W, H);
    Blank->Canvas()->FillRect(Rect(0, 0, W, H));
    const double Error = Compare(Out.get(), Want.get()).WorstMean();
    EXPECT_LT(Error, Compare(Blank.get(), Want.get()).WorstMean() / 3);
    Owned<TBitmap> Screen(new TBitmap);
    Screen->SetSize(W, H);
    Screen->Canvas()->Draw(0, 0, Want.get());
    TMemoryStream Direct;
    C->SaveBitMapToStream(Screen.get(), &Direct);
    EXPECT_EQ(StreamBytes(S), StreamBytes(Direct));
  }
}

TEST(JPEGCompressor, HelperBitmapsHaveTheScreenFormat) {
  auto B = PhotoBitmap(100, 50, 15);
  TMetafile Meta;
  {
    HDC Ref = GetDC(nullptr);
    HDC DC = CreateEnhMetaFileA(Ref, nullptr, nullptr, nullptr);
    ReleaseDC(nullptr, Ref);
    HPEN Pen = CreatePen(PS_SOLID, 3, RGB(10, 120, 230));
    HGDIOBJ Old = SelectObject(DC, Pen);
    Ellipse(DC, 2, 2, 60, 40);
    SelectObject(DC, Old);
    DeleteObject(Pen);
    Meta.SetHandle(CloseEnhMetaFile(DC));
  }
  // What the helpers made before: 24-bit bitmaps drawn the same way.
  Owned<TBitmap> WantCrop(new TBitmap), WantMeta(new TBitmap);
  WantCrop->SetPixelFormat(pf24bit);
  WantCrop->SetSize(40, 30);
  HDC Dst = WantCrop->Canvas()->Handle();
  SetStretchBltMode(Dst, HALFTONE);
  SetBrushOrgEx(Dst, 0, 0, nullptr);
  StretchBlt(Dst, 0, 0, 40, 30, B->Canvas()->Handle(), 10, 5, 80, 40, SRCCOPY);
  WantMeta->SetPixelFormat(pf24bit);
  WantMeta->SetSize(50, 35);
  WantMeta->Canvas()->FillRect(Rect(0, 0, 50, 35));
  RECT R{0, 0, 50, 35};
  PlayEnhMetaFile(WantMeta->Canvas()->Handle(), Meta.Handle(), &R);
  GdiFlush();

  Owned<TBitmap> Crop(CropBitmap(B.get(), 40, 30, Rect(10, 5, 90, 45)));
  Owned<TBitmap> Drawn(MetaToBitmap(&Meta, 50, 35));
  for (auto [Got, Want] : {std::pair{Crop.get(), WantCrop.get()}, std::pair{Drawn.get(), WantMeta.get()}}) {
    EXPECT_EQ(Got->PixelFormat(), pfDevice);
    EXPECT_EQ(Compare(Got, Want).WorstMax(), 0);
  }
}

// ---------------------------------------------------------------------------------------------
// Comments and markers

TEST(JPEGMarkers, CommentsAndAppMarkersReadBack) {
  auto B = PhotoBitmap(16, 16, 16);
  static const char App3[] = "three";
  const char App15[] = {1, 2, 3, 0, 5};
  struct TWriter : TObject {
    TJPEGCompressor* C;
    const char* A15;
    void Write(TObject* Sender) {
      EXPECT_EQ(Sender, C);
      C->WriteMarker(JPEG_APP0 + 3, App3, 5);
      C->WriteMarker(JPEG_APP0 + 15, A15, 5);
    }
  };
  auto C = Make<TJPEGStreamCompressor>();
  C->SetComment("Made by the tests");
  C->SetWriteAdobeMarker(true);
  TWriter W;
  W.C = C.get();
  W.A15 = App15;
  C->OnWriteMarkers = TNotifyEvent::Bind<&TWriter::Write>(&W);
  TMemoryStream S;
  C->SaveBitMapToStream(B.get(), &S);
  const Bytes J = StreamBytes(S);
  EXPECT_EQ(CountMarker(J, 0xFE), 1);
  EXPECT_EQ(CountMarker(J, 0xE3), 1);
  EXPECT_EQ(CountMarker(J, 0xEF), 1);

  struct TReader : TObject {
    TJPEGDecompressor* D = nullptr;
    std::vector<std::string> Comments;
    std::vector<int> Seen;
    std::string Consumed;
    void Comment(TObject*, const char* Text) { Comments.push_back(Text); }
    void Marker(TObject* Sender, int N, bool& Done) {
      EXPECT_EQ(Sender, D);
      Seen.push_back(N);
      if (N != 3) return;
      // Read the marker ourselves.
      const int Len = (D->GetByte() << 8) | D->GetByte();
      for (int I = 2; I < Len; ++I) Consumed += char(D->GetByte());
      Done = true;
    }
  };
  TReader R;
  auto Out = Decode(J, [&](TJPEGStreamDecompressor* D) {
    R.D = D;
    D->OnJPEGComment = TJPEGCommentEvent::Bind<&TReader::Comment>(&R);
    D->OnJPEGMarker = TJPEGMarkerEvent::Bind<&TReader::Marker>(&R);
  });
  EXPECT_EQ(R.Comments, std::vector<std::string>{"Made by the tests"});
  EXPECT_EQ(R.Seen, (std::vector<int>{3, 15})) << "APP0 and APP14 stay with the library";
  EXPECT_EQ(R.Consumed, "three");
  EXPECT_EQ(Out->Width(), 16);

  C->SetComment("");
  C->OnWriteMarkers = nullptr;
  TMemoryStream S2;
  C->SaveBitMapToStream(B.get(), &S2);
  EXPECT_EQ(CountMarker(StreamBytes(S2), 0xFE), 0) << "an empty comment writes no marker";
  EXPECT_NE(ErrorOf([&] { C->WriteMarker(JPEG_APP0 + 2, "x", 1); }).find("Improper call to JPEG library"),
            std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Buffers and registration

TEST(JPEGComponents, BufferSizeChanges) {
  auto B = PhotoBitmap(64, 64, 17);
  auto C = Make<TJPEGStreamCompressor>();
  EXPECT_EQ(C->BufSize(), 4096);
  C->SetBufSize(7);
  const Bytes Small = Encode(B.get(), [](TJPEGStreamCompressor* X) { X->SetBufSize(7); });
  EXPECT_EQ(Small, Encode(B.get()));
  C->SetBufSize(100000);
  struct TChanger : TObject {
    TJPEGStreamCompressor* C = nullptr;
    TJPEGStreamDecompressor* D = nullptr;
    void Change(TObject*) {
      if (C) C->SetBufSize(10);
      if (D) D->SetBufSize(10);
    }
  };
  TChanger Ch;
  Ch.C = C.get();
  C->OnProgressReport = TNotifyEvent::Bind<&TChanger::Change>(&Ch);
  TMemoryStream S;
  EXPECT_EQ(ErrorOf([&] { C->SaveBitMapToStream(B.get(), &S); }), "Cannot change buffer size while buffer is in use");
  C->OnProgressReport = nullptr;
  C->SetBufSize(512);  // between saves
  TMemoryStream S2;
  C->SaveBitMapToStream(B.get(), &S2);
  EXPECT_EQ(StreamBytes(S2), Small);

  auto D = Make<TJPEGStreamDecompressor>();
  D->SetBufSize(3);
  TMemoryStream In;
  LoadBytes(In, Small);
  Owned<TBitmap> Out(D->ReadBitMapFromStream(&In));
  EXPECT_EQ(Out->Width(), 64);
  Ch.C = nullptr;
  Ch.D = D.get();
  D->OnProgressReport = TNotifyEvent::Bind<&TChanger::Change>(&Ch);
  In.SetPosition(0);
  EXPECT_EQ(ErrorOf([&] { Owned<TBitmap> X(D->ReadBitMapFromStream(&In)); }),
            "Cannot change buffer size while buffer is in use");
  D->OnProgressReport = nullptr;
  D->SetBufSize(4096);
  In.SetPosition(0);
  Owned<TBitmap> Again(D->ReadBitMapFromStream(&In));
  EXPECT_EQ(Again->Height(), 64);
  EXPECT_EQ(ErrorOf([&] { D->SetBufSize(0); }), "Invalid JPEG buffer size (0)");
}

TEST(JPEGComponents, DecodeLeavesTheStreamAfterTheImage) {
  auto B = PhotoBitmap(20, 20, 18);
  const Bytes J = Encode(B.get());
  TMemoryStream S;
  S.WriteBuffer("head", 4);
  S.WriteBuffer(J.data(), int(J.size()));
  S.WriteBuffer("tail", 4);
  S.SetPosition(4);
  auto D = Make<TJPEGStreamDecompressor>();
  Owned<TBitmap> Out(D->ReadBitMapFromStream(&S));
  EXPECT_EQ(S.Position(), int64_t(4 + J.size()));
}

TEST(JPEGComponents, PublishedDefaults) {
  ExpectClassDefaultsMatch(TJPEGFileCompressor::StaticClass());
  ExpectClassDefaultsMatch(TJPEGFileDecompressor::StaticClass());
  auto C = Make<TJPEGFileCompressor>();
  EXPECT_EQ(C->Quality(), 75);
  EXPECT_TRUE(C->WriteAllTables());
  EXPECT_DOUBLE_EQ(C->InputGamma(), 1.0);
  EXPECT_EQ(GetClass("TJPEGFileDecompressor"), TJPEGFileDecompressor::StaticClass());
  EXPECT_EQ(GetClass("TJPEGStreamCompressor"), TJPEGStreamCompressor::StaticClass());
  SetEnumProp(C.get(), "DCTMethod", "JDCT_IFAST");
  EXPECT_EQ(C->DCTMethod(), JDCT_IFAST);
}

// Warnings and PercentDone report on the running conversion: published, never set, never stored.
TEST(JPEGComponents, InformationPropertiesAreReadOnly) {
  auto C = Make<TJPEGFileCompressor>();
  auto D = Make<TJPEGFileDecompressor>();
  for (TJPEGBase* Comp : {static_cast<TJPEGBase*>(C.get()), static_cast<TJPEGBase*>(D.get())}) {
    SCOPED_TRACE(Comp->ClassName().str());
    for (const char* Name : {"Warnings", "PercentDone"})
      EXPECT_EQ(ErrorOf([&] { SetOrdProp(Comp, Name, 1); }), std::string("Property ") + Name + " is read-only");
    SetOrdProp(Comp, "Trace_Level", 2);
    EXPECT_EQ(Comp->Trace_Level(), 2);
  }
  // A truncated image leaves a warning counted; the stored form still leaves Warnings out.
  auto B = PhotoBitmap(64, 48, 19);
  const Bytes J = Encode(B.get());
  TMemoryStream In;
  LoadBytes(In, Bytes(J.begin(), J.end() - 20));
  Owned<TBitmap> Out(D->ReadBitMapFromStream(&In));
  ASSERT_GE(D->Warnings(), 1);
  D->OnWarning = nullptr;  // the test sink is no published method
  D->SetName("Decompressor1");
  TMemoryStream Form, Text;
  WriteComponentRes(&Form, D.get());
  Form.SetPosition(0);
  ObjectBinaryToText(&Form, &Text);
  const std::string T(static_cast<const char*>(Text.Memory()), size_t(Text.Size()));
  EXPECT_EQ(T.find("Warnings"), std::string::npos) << T;
  EXPECT_EQ(T.find("PercentDone"), std::string::npos) << T;
  EXPECT_NE(T.find("Trace_Level = 2"), std::string::npos) << T;
}

TEST(JPEGComponents, DefaultCompressorAndDecompressor) {
  EXPECT_EQ(DefaultJPEGCompressor(), nullptr);
  EXPECT_EQ(DefaultJPEGDecompressor(), nullptr);
  {
    auto C1 = Make<TJPEGFileCompressor>();
    auto C2 = Make<TJPEGFileCompressor>();
    C1->SetDefaultCompressor(true);
    C2->SetDefaultCompressor(true);
    EXPECT_EQ(DefaultJPEGCompressor(), C1.get()) << "the first one registered stays";
    C1->SetDefaultCompressor(false);
    EXPECT_EQ(DefaultJPEGCompressor(), nullptr);
    C1->SetDefaultCompressor(true);
    auto D = Make<TJPEGFileDecompressor>();
    D->SetDefaultDecompressor(true);
    EXPECT_EQ(DefaultJPEGDecompressor(), D.get());
  }
  EXPECT_EQ(DefaultJPEGCompressor(), nullptr) << "destroying unregisters";
  EXPECT_EQ(DefaultJPEGDecompressor(), nullptr);
}

}  // namespace
