// Canvas drawing, fonts, colours, BMP and ICO streams, metafiles and pictures, checked on
// off-screen bitmaps.
#include "vcl/Graphics.h"
#include "rtl/Streaming.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

std::string Hex(TColor C) {
  char B[16];
  std::snprintf(B, sizeof B, "$%08X", unsigned(C));
  return B;
}

// A white 32-bit bitmap of the given size.
void Prepare(TBitmap& B, int W, int H, TColor Fill = clWhite) {
  B.SetPixelFormat(pf32bit);
  B.SetSize(W, H);
  B.Canvas()->Brush()->SetColor(Fill);
  B.Canvas()->FillRect(Rect(0, 0, W, H));
}

TColor Px(TBitmap& B, int X, int Y) { return B.Canvas()->Pixels(X, Y); }

int CountEqual(TBitmap& B, const TRect& R, TColor C) {
  int N = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) N += Px(B, X, Y) == C;
  return N;
}

// Pixels outside Inside that differ from Background.
int CountOtherOutside(TBitmap& B, const TRect& Inside, TColor Background) {
  int N = 0;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (!Inside.Contains(Point(X, Y))) N += Px(B, X, Y) != Background;
  return N;
}

Bytes StreamBytes(TMemoryStream& S) {
  const auto* P = static_cast<const uint8_t*>(S.Memory());
  return Bytes(P, P + S.Size());
}

void Load(TMemoryStream& S, const Bytes& B) {
  S.Clear();
  if (!B.empty()) S.WriteBuffer(B.data(), int(B.size()));
  S.SetPosition(0);
}

template <class E, class F>
std::string ErrorOf(F&& Fn) {
  try {
    Fn();
  } catch (const E& Ex) {
    return Ex.Message().str();
  }
  return "(no error)";
}

void Put16(Bytes& V, uint32_t X) { V.push_back(uint8_t(X)); V.push_back(uint8_t(X >> 8)); }
void Put32(Bytes& V, uint32_t X) { Put16(V, X & 0xFFFF); Put16(V, X >> 16); }
void Set32(Bytes& V, size_t At, uint32_t X) { for (int I = 0; I < 4; ++I) V[At + I] = uint8_t(X >> (8 * I)); }
uint32_t Get32(const Bytes& V, size_t At) {
  return uint32_t(V[At]) | uint32_t(V[At + 1]) << 8 | uint32_t(V[At + 2]) << 16 | uint32_t(V[At + 3]) << 24;
}
uint16_t Get16(const Bytes& V, size_t At) { return uint16_t(V[At] | V[At + 1] << 8); }

// A BMP file in the form the writer produces: info header, full colour table for 1/4/8 bits.
// Value(x, y) is a colour index, a 5-5-5 value for 16 bits, or $RRGGBB.
struct TBmpSpec {
  int W, H, Bpp;
  bool TopDown = false;
};

std::vector<RGBQUAD> TestPalette(int Bpp) {
  std::vector<RGBQUAD> P;
  if (Bpp > 8) return P;
  for (int I = 0; I < (1 << Bpp); ++I)
    P.push_back(RGBQUAD{uint8_t(255 - I), uint8_t(I * 37), uint8_t(I * 11 + 3), 0});
  return P;
}

uint32_t TestValue(int Bpp, int X, int Y) {
  switch (Bpp) {
    case 1: return (X * 3 + Y) % 3 == 0;
    case 4: return (X + 2 * Y) % 16;
    case 8: return (X * 29 + Y * 7) % 256;
    case 16: return ((X * 3) % 32) << 10 | ((Y * 5) % 32) << 5 | ((X + Y) % 32);
    default: return uint32_t((X * 40) % 256) << 16 | uint32_t((Y * 30) % 256) << 8 | uint32_t((X * Y) % 256);
  }
}

TColor ExpectedColor(int Bpp, uint32_t V, const std::vector<RGBQUAD>& Pal) {
  if (Bpp <= 8) return RGB(Pal[V].rgbRed, Pal[V].rgbGreen, Pal[V].rgbBlue);
  if (Bpp == 16) {
    auto E = [](uint32_t C) { return (C << 3) | (C >> 2); };
    return RGB(E((V >> 10) & 31), E((V >> 5) & 31), E(V & 31));
  }
  return RGB((V >> 16) & 255, (V >> 8) & 255, V & 255);
}

Bytes BuildBmp(const TBmpSpec& S) {
  const std::vector<RGBQUAD> Pal = TestPalette(S.Bpp);
  const int Stride = (S.W * S.Bpp + 31) / 32 * 4;
  const uint32_t Off = 14 + 40 + 4 * uint32_t(Pal.size());
  const uint32_t ImageBytes = uint32_t(Stride * S.H);
  Bytes F;
  F.push_back('B');
  F.push_back('M');
  Put32(F, Off + ImageBytes);
  Put32(F, 0);
  Put32(F, Off);
  Put32(F, 40);
  Put32(F, uint32_t(S.W));
  Put32(F, uint32_t(S.TopDown ? -S.H : S.H));
  Put16(F, 1);
  Put16(F, uint32_t(S.Bpp));
  Put32(F, BI_RGB);
  Put32(F, ImageBytes);
  Put32(F, 0);
  Put32(F, 0);
  Put32(F, uint32_t(Pal.size()));
  Put32(F, 0);
  for (const RGBQUAD& Q : Pal) {
    F.push_back(Q.rgbBlue);
    F.push_back(Q.rgbGreen);
    F.push_back(Q.rgbRed);
    F.push_back(0);
  }
  for (int R = 0; R < S.H; ++R) {
    const int Y = S.TopDown ? R : S.H - 1 - R;  // image row stored at file row R
    Bytes Row(size_t(Stride), 0);
    for (int X = 0; X < S.W; ++X) {
      uint32_t V = TestValue(S.Bpp, X, Y);
      switch (S.Bpp) {
        case 1: Row[X / 8] |= uint8_t(V << (7 - X % 8)); break;
        case 4: Row[X / 2] |= uint8_t(X % 2 ? V : V << 4); break;
        case 8: Row[X] = uint8_t(V); break;
        case 16: Row[2 * X] = uint8_t(V); Row[2 * X + 1] = uint8_t(V >> 8); break;
        case 24: Row[3 * X] = uint8_t(V); Row[3 * X + 1] = uint8_t(V >> 8); Row[3 * X + 2] = uint8_t(V >> 16); break;
        default: Row[4 * X] = uint8_t(V); Row[4 * X + 1] = uint8_t(V >> 8); Row[4 * X + 2] = uint8_t(V >> 16); break;
      }
    }
    F.insert(F.end(), Row.begin(), Row.end());
  }
  return F;
}

// Memory whose end is followed by an inaccessible page: reading past the data faults.
class TGuardedBuffer {
public:
  explicit TGuardedBuffer(const Bytes& Data) {
    SYSTEM_INFO SI;
    GetSystemInfo(&SI);
    const size_t Page = SI.dwPageSize;
    FSize = (Data.size() + Page - 1) / Page * Page + Page;
    FBase = static_cast<uint8_t*>(VirtualAlloc(nullptr, FSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD Old;
    VirtualProtect(FBase + FSize - Page, Page, PAGE_NOACCESS, &Old);
    FData = FBase + FSize - Page - Data.size();
    if (!Data.empty()) std::memcpy(FData, Data.data(), Data.size());
  }
  ~TGuardedBuffer() { VirtualFree(FBase, 0, MEM_RELEASE); }
  TGuardedBuffer(const TGuardedBuffer&) = delete;
  TGuardedBuffer& operator=(const TGuardedBuffer&) = delete;
  const uint8_t* Data() const { return FData; }

private:
  uint8_t* FBase = nullptr;
  uint8_t* FData = nullptr;
  size_t FSize = 0;
};

// Read-only stream over guarded memory that also records any request past its end.
class TCheckedStream : public TReadOnlyMemoryStream {
public:
  TCheckedStream(const TGuardedBuffer& Buf, int64_t Size) : TReadOnlyMemoryStream(Buf.Data(), Size) {}
  int Read(void* Buffer, int Count) override {
    if (Position() + Count > Size()) ++Overreads;
    return TReadOnlyMemoryStream::Read(Buffer, Count);
  }
  int Overreads = 0;
};

struct TempFile {
  std::string Path;
  explicit TempFile(const char* Name) {
    char Dir[MAX_PATH];
    GetTempPathA(MAX_PATH, Dir);
    Path = std::string(Dir) + "orvalen_gfx_" + std::to_string(GetCurrentProcessId()) + "_" + Name;
  }
  ~TempFile() { DeleteFileA(Path.c_str()); }
};

// ---------------------------------------------------------------------------------------------
// Canvas drawing

TEST(CanvasDrawing, FillAndFrameRectangles) {
  TBitmap B;
  Prepare(B, 30, 30);
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(clRed);
  C->FillRect(Rect(2, 2, 8, 8));
  EXPECT_EQ(Hex(Px(B, 2, 2)), Hex(clRed));
  EXPECT_EQ(Hex(Px(B, 7, 7)), Hex(clRed));
  EXPECT_EQ(Hex(Px(B, 8, 8)), Hex(clWhite));  // right and bottom edges are outside
  EXPECT_EQ(Hex(Px(B, 1, 1)), Hex(clWhite));
  EXPECT_EQ(CountEqual(B, Rect(0, 0, 30, 30), clRed), 36);

  C->Brush()->SetColor(clBlue);
  C->FrameRect(Rect(10, 10, 20, 20));
  for (TPoint P : {Point(10, 10), Point(19, 10), Point(10, 19), Point(19, 19), Point(15, 10), Point(10, 15)})
    EXPECT_EQ(Hex(Px(B, P.X, P.Y)), Hex(clBlue)) << P.X << "," << P.Y;
  EXPECT_EQ(Hex(Px(B, 15, 15)), Hex(clWhite));
  EXPECT_EQ(CountEqual(B, Rect(0, 0, 30, 30), clBlue), 36);

  // Rectangle: pen outline, brush inside.
  C->Pen()->SetColor(clBlack);
  C->Brush()->SetColor(clLime);
  C->Rectangle(Rect(21, 21, 29, 29));
  EXPECT_EQ(Hex(Px(B, 21, 21)), Hex(clBlack));
  EXPECT_EQ(Hex(Px(B, 28, 28)), Hex(clBlack));
  EXPECT_EQ(Hex(Px(B, 25, 25)), Hex(clLime));
  EXPECT_EQ(Hex(Px(B, 29, 29)), Hex(clWhite));
  // A clear brush leaves the inside alone; a wider pen thickens the outline inward and out.
  C->Brush()->SetStyle(bsClear);
  C->Pen()->SetColor(clRed);
  C->Pen()->SetWidth(3);
  C->Rectangle(Rect(21, 21, 29, 29));
  EXPECT_EQ(Hex(Px(B, 25, 25)), Hex(clLime));
  EXPECT_EQ(Hex(Px(B, 22, 25)), Hex(clRed));
  EXPECT_EQ(Hex(Px(B, 20, 25)), Hex(clRed));
}

TEST(CanvasDrawing, LinesAndEllipse) {
  TBitmap B;
  Prepare(B, 40, 40);
  TCanvas* C = B.Canvas();
  C->Pen()->SetColor(clNavy);
  C->MoveTo(0, 5);
  C->LineTo(10, 5);
  EXPECT_EQ(CountEqual(B, Rect(0, 5, 10, 6), clNavy), 10);
  EXPECT_EQ(Hex(Px(B, 10, 5)), Hex(clWhite));  // the end point is not drawn
  EXPECT_EQ(C->PenPos(), Point(10, 5));
  C->Polyline({Point(0, 8), Point(5, 8), Point(5, 12)});
  EXPECT_EQ(Hex(Px(B, 3, 8)), Hex(clNavy));
  EXPECT_EQ(Hex(Px(B, 5, 10)), Hex(clNavy));

  Prepare(B, 40, 40);
  C->Pen()->SetColor(clRed);
  C->Pen()->SetWidth(1);
  C->Brush()->SetColor(clBlue);
  C->Ellipse(10, 10, 30, 30);
  EXPECT_EQ(Hex(Px(B, 20, 20)), Hex(clBlue));
  EXPECT_GT(CountEqual(B, Rect(10, 10, 11, 30), clRed), 0);  // the outline touches the bounds
  EXPECT_GT(CountEqual(B, Rect(29, 10, 30, 30), clRed), 0);
  EXPECT_EQ(Hex(Px(B, 11, 11)), Hex(clWhite));  // corners stay empty
  EXPECT_EQ(Hex(Px(B, 29, 29)), Hex(clWhite));
  EXPECT_EQ(CountOtherOutside(B, Rect(10, 10, 30, 30), clWhite), 0);
  EXPECT_GT(CountEqual(B, Rect(10, 10, 30, 30), clBlue), 200);
}

TEST(CanvasDrawing, TextUsesFontColourAndBrush) {
  TBitmap B;
  Prepare(B, 120, 60);
  TCanvas* C = B.Canvas();
  C->Font()->SetColor(clRed);
  C->Brush()->SetStyle(bsClear);
  const AnsiString Text = "Hxg W";
  const TSize E = C->TextExtent(Text);
  ASSERT_GT(E.cx, 0);
  ASSERT_GT(E.cy, 0);
  EXPECT_EQ(C->TextWidth(Text), E.cx);
  C->TextOut(5, 5, Text);
  EXPECT_EQ(C->PenPos(), Point(5 + E.cx, 5));
  EXPECT_GT(CountEqual(B, Bounds(5, 5, E.cx, E.cy), clRed), 10);
  EXPECT_EQ(CountOtherOutside(B, Bounds(5, 5, E.cx, E.cy), clWhite), 0);
  // Transparent background: no pixel of the box other than white or text.
  EXPECT_EQ(CountEqual(B, Bounds(5, 5, E.cx, E.cy), clBlack), 0);

  // A solid brush paints the text cell.
  Prepare(B, 120, 60);
  C->Brush()->SetColor(clYellow);
  C->TextOut(5, 5, Text);
  EXPECT_GT(CountEqual(B, Bounds(5, 5, E.cx, E.cy), clYellow), E.cx * E.cy / 2);
  EXPECT_GT(CountEqual(B, Bounds(5, 5, E.cx, E.cy), clRed), 10);
  EXPECT_EQ(CountEqual(B, Bounds(5, 5, E.cx, E.cy), clWhite), 0);
  EXPECT_EQ(CountOtherOutside(B, Bounds(5, 5, E.cx, E.cy), clWhite), 0);

  // TextRect clips to its rectangle and fills it.
  Prepare(B, 120, 60);
  C->Brush()->SetColor(clAqua);
  C->TextRect(Rect(10, 10, 20, 20), 8, 8, "WWWWWWWW");
  EXPECT_EQ(CountOtherOutside(B, Rect(10, 10, 20, 20), clWhite), 0);
  EXPECT_GT(CountEqual(B, Rect(10, 10, 20, 20), clRed), 0);
}

TEST(CanvasDrawing, CopyRectRasterOperations) {
  const TColor S = 0x00F0A050, D = 0x00336699;
  struct Case {
    const char* Name;
    TCopyMode Mode;
    uint32_t Expected;
  } Cases[] = {
      {"SrcCopy", cmSrcCopy, uint32_t(S)},
      {"SrcInvert", cmSrcInvert, uint32_t(S ^ D)},
      {"SrcAnd", cmSrcAnd, uint32_t(S & D)},
      {"SrcPaint", cmSrcPaint, uint32_t(S | D)},
      {"SrcErase", cmSrcErase, uint32_t(S & ~D)},
      {"NotSrcCopy", cmNotSrcCopy, uint32_t(~S)},
      {"NotSrcErase", cmNotSrcErase, uint32_t(~(S | D))},
      {"MergePaint", cmMergePaint, uint32_t(~S | D)},
      {"DstInvert", cmDstInvert, uint32_t(~D)},
      {"Blackness", cmBlackness, 0u},
      {"Whiteness", cmWhiteness, 0xFFFFFFu},
  };
  TBitmap Src;
  Prepare(Src, 4, 4, S);
  for (const Case& K : Cases) {
    TBitmap Dst;
    Prepare(Dst, 10, 10, D);
    Dst.Canvas()->SetCopyMode(K.Mode);
    Dst.Canvas()->CopyRect(Rect(2, 2, 6, 6), Src.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(Hex(Px(Dst, 3, 3)), Hex(TColor(K.Expected & 0xFFFFFF))) << K.Name;
    EXPECT_EQ(Hex(Px(Dst, 6, 6)), Hex(D)) << K.Name;
    EXPECT_EQ(Hex(Px(Dst, 1, 2)), Hex(D)) << K.Name;
  }
  // Stretching: each source pixel becomes a 2x2 block.
  TBitmap Q;
  Prepare(Q, 2, 2);
  Q.Canvas()->SetPixels(0, 0, clRed);
  Q.Canvas()->SetPixels(1, 1, clBlue);
  TBitmap Big;
  Prepare(Big, 4, 4);
  Big.Canvas()->CopyRect(Rect(0, 0, 4, 4), Q.Canvas(), Rect(0, 0, 2, 2));
  EXPECT_EQ(Hex(Px(Big, 1, 1)), Hex(clRed));
  EXPECT_EQ(Hex(Px(Big, 2, 2)), Hex(clBlue));
  EXPECT_EQ(Hex(Px(Big, 3, 0)), Hex(clWhite));
}

TEST(CanvasDrawing, BrushCopyReplacesOneColour) {
  TBitmap Src;
  Prepare(Src, 6, 2);
  const TColor Row[6] = {clRed, clGreen, clRed, clBlue, clRed, clWhite};
  for (int X = 0; X < 6; ++X) {
    Src.Canvas()->SetPixels(X, 0, Row[X]);
    Src.Canvas()->SetPixels(X, 1, Row[5 - X]);
  }
  TBitmap Dst;
  Prepare(Dst, 10, 4, clBlack);
  Dst.Canvas()->Brush()->SetColor(clYellow);
  Dst.Canvas()->BrushCopy(Rect(2, 1, 8, 3), &Src, Rect(0, 0, 6, 2), clRed);
  for (int X = 0; X < 6; ++X) {
    TColor Top = Row[X] == clRed ? clYellow : Row[X];
    TColor Bottom = Row[5 - X] == clRed ? clYellow : Row[5 - X];
    EXPECT_EQ(Hex(Px(Dst, 2 + X, 1)), Hex(Top)) << X;
    EXPECT_EQ(Hex(Px(Dst, 2 + X, 2)), Hex(Bottom)) << X;
  }
  EXPECT_EQ(CountOtherOutside(Dst, Rect(2, 1, 8, 3), clBlack), 0);
  // The source is unchanged.
  EXPECT_EQ(Hex(Px(Src, 0, 0)), Hex(clRed));
}

TEST(CanvasDrawing, BrushPatternBitmap) {
  TBitmap Pat;
  Prepare(Pat, 8, 8);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) Pat.Canvas()->SetPixels(X, Y, (X + Y) % 2 ? clBlack : clWhite);
  Pat.Canvas()->SetPixels(0, 0, clRed);
  Pat.Canvas()->SetPixels(7, 0, clBlue);
  TBitmap B;
  Prepare(B, 20, 20, clGreen);
  B.Canvas()->Brush()->SetBitmap(&Pat);
  B.Canvas()->FillRect(Rect(0, 0, 16, 16));
  B.Canvas()->Brush()->SetBitmap(nullptr);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) ASSERT_EQ(Hex(Px(B, X, Y)), Hex(Px(Pat, X % 8, Y % 8))) << X << "," << Y;
  EXPECT_EQ(Hex(Px(B, 16, 16)), Hex(clGreen));
  // Setting a colour drops the pattern.
  Pat.Canvas();
  B.Canvas()->Brush()->SetBitmap(&Pat);
  B.Canvas()->Brush()->SetColor(clFuchsia);
  EXPECT_EQ(B.Canvas()->Brush()->Bitmap(), nullptr);
  B.Canvas()->FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(Hex(Px(B, 0, 0)), Hex(clFuchsia));
}

TEST(CanvasDrawing, SystemColoursResolveWhenDrawing) {
  TBitmap B;
  Prepare(B, 4, 4);
  B.Canvas()->Brush()->SetColor(clBtnFace);
  B.Canvas()->FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(Hex(Px(B, 0, 0)), Hex(TColor(GetSysColor(COLOR_BTNFACE))));
  B.Canvas()->Pen()->SetColor(clHighlight);
  B.Canvas()->MoveTo(0, 3);
  B.Canvas()->LineTo(4, 3);
  EXPECT_EQ(Hex(Px(B, 2, 3)), Hex(TColor(GetSysColor(COLOR_HIGHLIGHT))));
}

// ---------------------------------------------------------------------------------------------
// Lazy selection and DC binding

TEST(CanvasState, PenChangeAfterDrawingTakesEffect) {
  TBitmap B;
  Prepare(B, 20, 20);
  TCanvas* C = B.Canvas();
  C->Pen()->SetColor(clRed);
  C->MoveTo(0, 2);
  C->LineTo(20, 2);
  HDC DC = C->Handle();
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), HGDIOBJ(C->Pen()->Handle()));
  C->Pen()->SetColor(clBlue);
  // The old pen was taken out of the DC before it was freed; the new one is not selected yet.
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), GetStockObject(BLACK_PEN));
  C->MoveTo(0, 5);
  C->LineTo(20, 5);
  EXPECT_EQ(Hex(Px(B, 10, 2)), Hex(clRed));
  EXPECT_EQ(Hex(Px(B, 10, 5)), Hex(clBlue));
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), HGDIOBJ(C->Pen()->Handle()));

  // The same for the brush and the font colour.
  C->Brush()->SetColor(clLime);
  C->FillRect(Rect(0, 10, 5, 15));
  C->Brush()->SetColor(clMaroon);
  C->FillRect(Rect(5, 10, 10, 15));
  EXPECT_EQ(Hex(Px(B, 2, 12)), Hex(clLime));
  EXPECT_EQ(Hex(Px(B, 7, 12)), Hex(clMaroon));

  C->Refresh();
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
}

TEST(CanvasState, MemoryContextsAreFreedAndRecreated) {
  TBitmap B;
  Prepare(B, 10, 10);
  B.Canvas()->Brush()->SetColor(clRed);
  B.Canvas()->FillRect(Rect(0, 0, 5, 5));
  B.Canvas()->MoveTo(3, 4);
  FreeMemoryContexts();
  EXPECT_EQ(B.Canvas()->PenPos(), Point(3, 4));
  EXPECT_EQ(Hex(Px(B, 1, 1)), Hex(clRed));
  B.Canvas()->FillRect(Rect(5, 5, 10, 10));
  EXPECT_EQ(Hex(Px(B, 7, 7)), Hex(clRed));
  // A locked canvas keeps its context.
  B.Canvas()->Lock();
  HDC DC = B.Canvas()->Handle();
  FreeMemoryContexts();
  EXPECT_EQ(B.Canvas()->Handle(), DC);
  B.Canvas()->Unlock();
}

TEST(CanvasState, BindsToForeignDC) {
  TMemoryDC DC;
  BITMAPINFO BI{};
  BI.bmiHeader.biSize = sizeof(BI.bmiHeader);
  BI.bmiHeader.biWidth = 10;
  BI.bmiHeader.biHeight = 10;
  BI.bmiHeader.biPlanes = 1;
  BI.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  TBitmapOwner Bmp(CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0));
  ASSERT_TRUE(Bmp);
  TSelectGuard Sel(DC, Bmp);
  const HGDIOBJ OrigPen = GetCurrentObject(DC, OBJ_PEN), OrigBrush = GetCurrentObject(DC, OBJ_BRUSH),
                OrigFont = GetCurrentObject(DC, OBJ_FONT);
  {
    TCanvas C;
    EXPECT_FALSE(C.HandleAllocated());
    EXPECT_EQ(ErrorOf<EInvalidOperation>([&] { C.FillRect(Rect(0, 0, 1, 1)); }), "Canvas does not allow drawing");
    C.SetHandle(DC);
    C.TextOut(0, 0, "x");
    C.Brush()->SetColor(clRed);
    C.FillRect(Rect(0, 0, 5, 5));
    C.Pen()->SetColor(clBlue);
    C.MoveTo(0, 7);
    C.LineTo(10, 7);
    EXPECT_EQ(Hex(TColor(GetPixel(DC, 4, 4))), Hex(clRed));
    EXPECT_EQ(Hex(TColor(GetPixel(DC, 3, 7))), Hex(clBlue));
    EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), HGDIOBJ(C.Pen()->Handle()));
    EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), HGDIOBJ(C.Font()->Handle()));
    C.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), OrigPen);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), OrigBrush);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), OrigFont);
    EXPECT_THROW(C.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
    // Bound again and destroyed while bound: the DC gets its objects back.
    C.SetHandle(DC);
    C.Rectangle(0, 0, 2, 2);
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), OrigPen);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), OrigBrush);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), OrigFont);
}

// ---------------------------------------------------------------------------------------------
// Fonts

TEST(Font, SizeAndHeightFollowPixelsPerInch) {
  TFont F;
  {
    TWindowDC DC;
    EXPECT_EQ(F.PixelsPerInch(), GetDeviceCaps(DC, LOGPIXELSY));
  }
  struct Case {
    int Ppi, Size, Height;
  } Cases[] = {{96, 8, -11}, {96, 10, -13}, {96, 12, -16}, {96, 72, -96}, {120, 8, -13}, {120, 10, -17},
               {144, 9, -18}, {72, 11, -11}};
  for (const Case& K : Cases) {
    TFont G;
    G.SetPixelsPerInch(K.Ppi);
    G.SetSize(K.Size);
    EXPECT_EQ(G.Height(), K.Height) << K.Ppi << " " << K.Size;
    EXPECT_EQ(G.Size(), K.Size) << K.Ppi << " " << K.Size;
    G.SetHeight(K.Height);
    EXPECT_EQ(G.Size(), K.Size);
  }
  // A positive height (cell height) gives a negative size.
  TFont H;
  H.SetPixelsPerInch(96);
  H.SetHeight(16);
  EXPECT_EQ(H.Size(), -12);
}

TEST(Font, StyleAndHandleAttributes) {
  TFont F;
  F.SetName("Arial");
  F.SetHeight(-20);
  F.SetStyle(FontStyle(fsBold) | FontStyle(fsItalic) | FontStyle(fsUnderline));
  F.SetCharset(ANSI_CHARSET);
  LOGFONTA LF{};
  ASSERT_EQ(GetObjectA(F.Handle(), sizeof LF, &LF), int(sizeof LF));
  EXPECT_EQ(LF.lfHeight, -20);
  EXPECT_EQ(LF.lfWeight, FW_BOLD);
  EXPECT_EQ(LF.lfItalic, 1);
  EXPECT_EQ(LF.lfUnderline, 1);
  EXPECT_EQ(LF.lfStrikeOut, 0);
  EXPECT_STREQ(LF.lfFaceName, "Arial");
  EXPECT_EQ(LF.lfCharSet, ANSI_CHARSET);

  // A handle given to the font is taken over and read back into the properties.
  LOGFONTA Mine{};
  Mine.lfHeight = -15;
  Mine.lfWeight = FW_NORMAL;
  Mine.lfStrikeOut = 1;
  Mine.lfCharSet = DEFAULT_CHARSET;
  Mine.lfPitchAndFamily = FIXED_PITCH;
  std::strcpy(Mine.lfFaceName, "Courier New");
  HFONT Given = CreateFontIndirectA(&Mine);
  F.SetHandle(Given);
  EXPECT_EQ(F.Handle(), Given);
  EXPECT_EQ(F.Height(), -15);
  EXPECT_EQ(F.Style(), FontStyle(fsStrikeOut));
  EXPECT_EQ(F.Name(), "Courier New");
  EXPECT_EQ(F.Pitch(), fpFixed);
  // Changing an attribute builds a new handle from the properties.
  F.SetStyle(FontStyle(fsBold));
  ASSERT_EQ(GetObjectA(F.Handle(), sizeof LF, &LF), int(sizeof LF));
  EXPECT_EQ(LF.lfWeight, FW_BOLD);
  EXPECT_EQ(LF.lfStrikeOut, 0);
  EXPECT_EQ(LF.lfHeight, -15);
}

struct TChangeCounter : TObject {
  int Count = 0;
  TObject* Last = nullptr;
  void Changed(TObject* Sender) { ++Count; Last = Sender; }
  TNotifyEvent Event() { return TNotifyEvent::Bind<&TChangeCounter::Changed>(this); }
};

TEST(Font, AssignAndOnChange) {
  TFont A, B;
  TChangeCounter N;
  B.OnChange = N.Event();
  A.SetName("Times New Roman");
  A.SetColor(clRed);
  A.SetSize(14);
  A.SetStyle(FontStyle(fsItalic));
  A.SetPitch(fpVariable);
  B.Assign(&A);
  EXPECT_EQ(N.Count, 1);
  EXPECT_EQ(N.Last, &B);
  EXPECT_EQ(B.Name(), "Times New Roman");
  EXPECT_EQ(B.Color(), clRed);
  EXPECT_EQ(B.Size(), 14);
  EXPECT_EQ(B.Height(), A.Height());
  EXPECT_EQ(B.Style(), FontStyle(fsItalic));
  EXPECT_EQ(B.Pitch(), fpVariable);

  B.SetColor(clRed);  // unchanged: no event
  B.SetSize(14);
  B.SetStyle(FontStyle(fsItalic));
  B.SetName("Times New Roman");
  EXPECT_EQ(N.Count, 1);
  B.SetColor(clBlue);
  B.SetHeight(-30);
  B.SetStyle(0);
  B.SetName("Arial");
  EXPECT_EQ(N.Count, 5);

  // Across resolutions the point size is kept.
  TFont C;
  C.SetPixelsPerInch(120);
  C.Assign(&A);
  EXPECT_EQ(C.Size(), 14);
  EXPECT_EQ(C.Height(), -MulDiv(14, 120, 72));

  TPen P;
  EXPECT_EQ(ErrorOf<EConvertError>([&] { B.Assign(&P); }), "Cannot assign a TPen to a TFont");
}

TEST(PenAndBrush, AssignAndChangeEvents) {
  TPen A, B;
  TChangeCounter N;
  B.OnChange = N.Event();
  A.SetColor(clGreen);
  A.SetWidth(4);
  A.SetStyle(psDash);
  A.SetMode(pmXor);
  B.Assign(&A);
  EXPECT_EQ(N.Count, 1);
  EXPECT_EQ(B.Color(), clGreen);
  EXPECT_EQ(B.Width(), 4);
  EXPECT_EQ(B.Style(), psDash);
  EXPECT_EQ(B.Mode(), pmXor);
  B.SetWidth(4);
  EXPECT_EQ(N.Count, 1);
  LOGPEN LP{};
  ASSERT_NE(GetObjectA(B.Handle(), sizeof LP, &LP), 0);
  EXPECT_EQ(LP.lopnStyle, UINT(PS_DASH));
  EXPECT_EQ(LP.lopnWidth.x, 4);
  EXPECT_EQ(LP.lopnColor, COLORREF(clGreen));

  TBrush R;
  R.SetStyle(bsCross);
  R.SetColor(clRed);  // a colour does not change a hatch
  LOGBRUSH LB{};
  ASSERT_NE(GetObjectA(R.Handle(), sizeof LB, &LB), 0);
  EXPECT_EQ(LB.lbStyle, UINT(BS_HATCHED));
  EXPECT_EQ(LB.lbHatch, ULONG_PTR(HS_CROSS));
  R.SetStyle(bsClear);
  ASSERT_NE(GetObjectA(R.Handle(), sizeof LB, &LB), 0);
  EXPECT_EQ(LB.lbStyle, UINT(BS_HOLLOW));
}

// A colour makes a clear brush solid, whether or not it is the colour the brush has; a hatch
// or a solid brush keeps its style.
TEST(PenAndBrush, AColourMakesAClearBrushSolidEvenWhenUnchanged) {
  const struct {
    TBrushStyle Style;
    TColor Color;
    TBrushStyle Result;
  } Cases[] = {
      {bsClear, clWhite, bsSolid}, {bsClear, clRed, bsSolid},   {bsSolid, clWhite, bsSolid},
      {bsSolid, clRed, bsSolid},   {bsCross, clWhite, bsCross}, {bsCross, clRed, bsCross},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(testing::Message() << "style " << K.Style << ", colour " << Hex(K.Color));
    TBrush B;
    ASSERT_EQ(B.Color(), clWhite);
    B.SetStyle(K.Style);
    B.SetColor(K.Color);
    EXPECT_EQ(B.Style(), K.Result);
    EXPECT_EQ(B.Color(), K.Color);
    LOGBRUSH LB{};
    ASSERT_NE(GetObjectA(B.Handle(), sizeof LB, &LB), 0);
    EXPECT_EQ(LB.lbStyle, UINT(K.Result == bsSolid ? BS_SOLID : BS_HATCHED));
  }
  // Painted: the same colour after a clear style fills again.
  TBitmap P;
  Prepare(P, 10, 10, clTeal);
  TCanvas* C = P.Canvas();
  C->Brush()->SetColor(clRed);
  C->Brush()->SetStyle(bsClear);
  C->Brush()->SetColor(clRed);
  C->FillRect(Rect(0, 0, 10, 10));
  EXPECT_EQ(Hex(Px(P, 5, 5)), Hex(clRed));
}

TEST(PenAndBrush, XorPenModeDrawsTwiceToNothing) {
  TBitmap B;
  Prepare(B, 10, 10, clTeal);
  TCanvas* C = B.Canvas();
  C->Pen()->SetMode(pmXor);
  C->Pen()->SetColor(clWhite);
  C->MoveTo(0, 3);
  C->LineTo(10, 3);
  EXPECT_EQ(Hex(Px(B, 5, 3)), Hex(TColor(clTeal ^ 0xFFFFFF)));
  C->MoveTo(0, 3);
  C->LineTo(10, 3);
  EXPECT_EQ(Hex(Px(B, 5, 3)), Hex(clTeal));
}

// ---------------------------------------------------------------------------------------------
// Colours

TEST(Colors, SystemColoursResolve) {
  const std::pair<TColor, int> Cases[] = {
      {clBtnFace, COLOR_BTNFACE},     {clWindowText, COLOR_WINDOWTEXT}, {clHighlight, COLOR_HIGHLIGHT},
      {clBtnShadow, COLOR_BTNSHADOW}, {clInfoBk, COLOR_INFOBK},         {cl3DDkShadow, COLOR_3DDKSHADOW},
      {clGrayText, COLOR_GRAYTEXT},   {clScrollBar, COLOR_SCROLLBAR},   {clGradientActiveCaption, 27},
  };
  for (auto [Color, Index] : Cases)
    EXPECT_EQ(Hex(ColorToRGB(Color)), Hex(TColor(GetSysColor(Index)))) << Hex(Color);
  for (TColor C : {clRed, clBlack, clWhite, TColor(0x00123456)}) EXPECT_EQ(ColorToRGB(C), C);
}

// The named colours listed: the 16 basic ones, the 25 system colours in their index order, then
// clNone. Other names (clMoneyGreen, clDefault, ...) are read and written but not listed.
TEST(Colors, ValuesListTheBasicAndSystemColoursThenNone) {
  std::vector<std::string> Names;
  GetColorValues([&](const AnsiString& S) { Names.push_back(S.str()); });
  const std::vector<std::string> Expected = {
      "clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple", "clTeal", "clGray", "clSilver", "clRed",
      "clLime", "clYellow", "clBlue", "clFuchsia", "clAqua", "clWhite",
      "clScrollBar", "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu", "clWindow",
      "clWindowFrame", "clMenuText", "clWindowText", "clCaptionText", "clActiveBorder", "clInactiveBorder",
      "clAppWorkSpace", "clHighlight", "clHighlightText", "clBtnFace", "clBtnShadow", "clGrayText", "clBtnText",
      "clInactiveCaptionText", "clBtnHighlight", "cl3DDkShadow", "cl3DLight", "clInfoText", "clInfoBk",
      "clNone"};
  EXPECT_EQ(Names, Expected);
  ASSERT_EQ(Names.size(), 42u);
  for (int I = 0; I < 25; ++I) EXPECT_EQ(Hex(StringToColor(Names[16 + I].c_str())), Hex(TColor(0x80000000u + I)));
  for (const char* Extra : {"clMoneyGreen", "clSkyBlue", "clCream", "clMedGray", "clDefault", "clHotLight",
                            "clGradientActiveCaption", "clMenuBar", "clMenuHighlight"}) {
    int V = 0;
    EXPECT_TRUE(IdentToColor(Extra, V)) << Extra;
    EXPECT_EQ(ColorToString(V), Extra);
  }
}

TEST(Colors, StringRoundTrips) {
  const std::pair<TColor, const char*> Cases[] = {
      {clRed, "clRed"},         {clBlack, "clBlack"},       {clBtnFace, "clBtnFace"},
      {clWindowText, "clWindowText"}, {clNone, "clNone"},   {clDefault, "clDefault"},
      {clMoneyGreen, "clMoneyGreen"}, {cl3DLight, "cl3DLight"}, {TColor(0x00123456), "$00123456"},
      {TColor(0x00000001), "$00000001"}, {TColor(0x02FF8000), "$02FF8000"},
  };
  for (auto [Color, Text] : Cases) {
    EXPECT_EQ(ColorToString(Color), Text);
    EXPECT_EQ(Hex(StringToColor(Text)), Hex(Color)) << Text;
  }
  EXPECT_EQ(ColorToString(clLtGray), "clSilver");
  EXPECT_EQ(StringToColor("clltgray"), clSilver);
  EXPECT_EQ(StringToColor("clDkGray"), clGray);
  EXPECT_EQ(StringToColor("$FF"), 0xFF);
  EXPECT_EQ(StringToColor("255"), 255);
  EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
  EXPECT_EQ(ErrorOf<EConvertError>([] { StringToColor("clRedd"); }), "'clRedd' is not a valid integer value");
  int V = 0;
  EXPECT_TRUE(IdentToColor("CLBLUE", V));
  EXPECT_EQ(V, clBlue);
  AnsiString S;
  EXPECT_FALSE(ColorToIdent(0x00123456, S));
  // The streaming system knows the identifiers.
  const TIntIdentType* T = FindIntegerConsts("TColor");
  ASSERT_NE(T, nullptr);
  EXPECT_TRUE(T->IntToIdent(clInfoBk, S));
  EXPECT_EQ(S, "clInfoBk");
}

// ---------------------------------------------------------------------------------------------
// BMP files

struct TFormatCase {
  TPixelFormat Format;
  int Bpp;
};
constexpr TFormatCase FormatCases[] = {{pf1bit, 1},   {pf4bit, 4},   {pf8bit, 8},  {pf15bit, 16},
                                       {pf16bit, 16}, {pf24bit, 24}, {pf32bit, 32}};

TEST(BitmapFile, DrawnImagesSurviveSaveAndLoad) {
  for (const TFormatCase& K : FormatCases) {
    SCOPED_TRACE(K.Bpp);
    TBitmap B;
    B.SetPixelFormat(K.Format);
    B.SetSize(13, 7);  // odd width: rows need padding
    ASSERT_EQ(B.BitsPerPixel(), K.Bpp);
    TCanvas* C = B.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, 13, 7));
    C->Brush()->SetColor(clBlack);
    C->FillRect(Rect(0, 0, 5, 3));
    C->Pen()->SetColor(clRed);
    C->MoveTo(0, 5);
    C->LineTo(13, 5);
    C->SetPixels(12, 6, clBlue);
    C->SetPixels(6, 0, clLime);

    TMemoryStream S;
    B.SaveToStream(&S);
    Bytes F = StreamBytes(S);
    ASSERT_GE(F.size(), 54u);
    EXPECT_EQ(F[0], 'B');
    EXPECT_EQ(F[1], 'M');
    EXPECT_EQ(Get32(F, 2), F.size());
    EXPECT_EQ(Get16(F, 28), K.Bpp);
    EXPECT_EQ(Get32(F, 10) + uint32_t((13 * K.Bpp + 31) / 32 * 4 * 7), F.size());

    S.SetPosition(0);
    TBitmap R;
    R.LoadFromStream(&S);
    EXPECT_EQ(S.Position(), S.Size());
    EXPECT_EQ(R.Width(), 13);
    EXPECT_EQ(R.Height(), 7);
    EXPECT_EQ(R.BitsPerPixel(), K.Bpp);
    EXPECT_EQ(R.PixelFormat(), K.Format);
    for (int Y = 0; Y < 7; ++Y)
      for (int X = 0; X < 13; ++X) ASSERT_EQ(Hex(Px(R, X, Y)), Hex(Px(B, X, Y))) << X << "," << Y;
    if (K.Bpp >= 15) {
      EXPECT_EQ(Hex(Px(R, 6, 5)), Hex(clRed));
      EXPECT_EQ(Hex(Px(R, 12, 6)), Hex(clBlue));
    }
    // Writing the loaded image gives the same file.
    TMemoryStream S2;
    R.SaveToStream(&S2);
    EXPECT_EQ(StreamBytes(S2), F);
  }
}

TEST(BitmapFile, DecodesEveryLayout) {
  const TBmpSpec Cases[] = {{9, 5, 1}, {9, 5, 4}, {9, 5, 8}, {9, 5, 16}, {9, 5, 24}, {9, 5, 32},
                            {33, 3, 1}, {3, 4, 24, true}, {5, 2, 8, true}};
  for (const TBmpSpec& K : Cases) {
    SCOPED_TRACE(std::to_string(K.Bpp) + (K.TopDown ? " top-down" : ""));
    const Bytes F = BuildBmp(K);
    TMemoryStream S;
    Load(S, F);
    TBitmap B;
    B.LoadFromStream(&S);
    ASSERT_EQ(B.Width(), K.W);
    ASSERT_EQ(B.Height(), K.H);
    const std::vector<RGBQUAD> Pal = TestPalette(K.Bpp);
    for (int Y = 0; Y < K.H; ++Y)
      for (int X = 0; X < K.W; ++X)
        ASSERT_EQ(Hex(Px(B, X, Y)), Hex(ExpectedColor(K.Bpp, TestValue(K.Bpp, X, Y), Pal))) << X << "," << Y;
    if (K.Bpp <= 8) {
      ASSERT_EQ(B.Colors().size(), Pal.size());
      EXPECT_EQ(std::memcmp(B.Colors().data(), Pal.data(), Pal.size() * sizeof(RGBQUAD)), 0);
    }
    // Bottom-up files come back byte for byte; top-down ones are written bottom-up.
    TMemoryStream Out;
    B.SaveToStream(&Out);
    TBmpSpec Up = K;
    Up.TopDown = false;
    EXPECT_EQ(StreamBytes(Out), BuildBmp(Up));
  }
}

// The 5x3 8-bit image (top row first) that RleCodes encode.
const uint8_t RleExpected[3][5] = {{0, 0, 0, 0, 9}, {5, 6, 7, 0, 0}, {1, 1, 1, 2, 2}};

// Packed DIB: info header, 256 colours, RLE8 data.
Bytes RleDib(const Bytes& Codes) {
  Bytes D;
  Put32(D, 40);
  Put32(D, 5);
  Put32(D, 3);
  Put16(D, 1);
  Put16(D, 8);
  Put32(D, BI_RLE8);
  Put32(D, uint32_t(Codes.size()));
  Put32(D, 0);
  Put32(D, 0);
  Put32(D, 0);
  Put32(D, 0);
  for (int I = 0; I < 256; ++I) Put32(D, uint32_t(I) << 16 | uint32_t(255 - I) << 8 | uint32_t(I / 2));
  D.insert(D.end(), Codes.begin(), Codes.end());
  return D;
}

// Bottom row: run of three 1s, run of two 2s, end of line. Middle row: absolute 5 6 7 (padded),
// delta one right and one up, a single 9, end of bitmap.
const Bytes RleCodes = {3, 1, 2, 2, 0, 0, 0, 3, 5, 6, 7, 0, 0, 2, 1, 1, 1, 9, 0, 1};

TEST(BitmapFile, PackedDibAndRle) {
  const Bytes D = RleDib(RleCodes);
  TGuardedBuffer G(D);
  TBitmap B;
  B.LoadFromDIB(G.Data(), D.size());
  ASSERT_EQ(B.Width(), 5);
  ASSERT_EQ(B.Height(), 3);
  EXPECT_EQ(B.BitsPerPixel(), 8);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) {
      int I = RleExpected[Y][X];
      EXPECT_EQ(Hex(Px(B, X, Y)), Hex(TColor(RGB(I, 255 - I, I / 2)))) << X << "," << Y;
    }
}

TEST(BitmapFile, MalformedPackedDibsAreRejectedWithinTheBuffer) {
  const Bytes Good = RleDib(RleCodes);
  struct Case {
    const char* Name;
    std::function<Bytes()> Make;
  } Cases[] = {
      {"header cut", [&] { return Bytes(Good.begin(), Good.begin() + 20); }},
      {"colour table cut", [&] { return Bytes(Good.begin(), Good.begin() + 40 + 500); }},
      {"codes cut inside a run", [&] { return RleDib({3, 1, 2}); }},
      {"no end of bitmap", [&] { return RleDib({3, 1, 0, 0}); }},
      {"absolute run past the end", [&] { return RleDib({0, 200, 1, 2, 3}); }},
      {"delta cut", [&] { return RleDib({0, 2, 1}); }},
      {"uncompressed pixels cut",
       [&] {
         Bytes D = BuildBmp({8, 8, 24});
         D.erase(D.begin(), D.begin() + 14);
         D.resize(D.size() - 1);
         return D;
       }},
      {"core header cut", [&] { return Bytes{12, 0, 0, 0, 4, 0, 4, 0}; }},
  };
  for (const Case& K : Cases) {
    const Bytes D = K.Make();
    TGuardedBuffer G(D);
    TBitmap B;
    Prepare(B, 3, 3, clRed);
    EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { B.LoadFromDIB(G.Data(), D.size()); }), "Bitmap image is not valid")
        << K.Name;
    EXPECT_EQ(B.Width(), 3) << K.Name;  // the old image is kept
    EXPECT_EQ(Hex(Px(B, 1, 1)), Hex(clRed)) << K.Name;
  }
}

TEST(BitmapFile, MalformedFilesAreRejectedWithinTheBuffer) {
  const Bytes Good = BuildBmp({6, 4, 8});
  struct Case {
    const char* Name;
    std::function<void(Bytes&)> Break;
  } Cases[] = {
      {"empty signature", [](Bytes& F) { F[1] = 'X'; }},
      {"file header cut", [](Bytes& F) { F.resize(10); }},
      {"info header cut", [](Bytes& F) { F.resize(30); }},
      {"colour table cut", [](Bytes& F) { F.resize(14 + 40 + 300); }},
      {"pixels cut", [](Bytes& F) { F.pop_back(); }},
      {"zero width", [](Bytes& F) { Set32(F, 18, 0); }},
      {"negative width", [](Bytes& F) { Set32(F, 18, uint32_t(-6)); }},
      {"huge width", [](Bytes& F) { Set32(F, 18, 0x7FFFFFFF); }},
      {"huge height", [](Bytes& F) { Set32(F, 22, 0x7FFFFFFF); }},
      {"most negative height", [](Bytes& F) { Set32(F, 22, 0x80000000u); }},
      {"large image, little data", [](Bytes& F) { Set32(F, 18, 0x4000); Set32(F, 22, 0x4000); }},
      {"pixel offset past the end", [](Bytes& F) { Set32(F, 10, uint32_t(F.size() + 1)); }},
      {"pixel offset far away", [](Bytes& F) { Set32(F, 10, 0xFFFFFFF0u); }},
      {"pixel offset inside the header", [](Bytes& F) { Set32(F, 10, 20); }},
      {"header size past the end", [](Bytes& F) { Set32(F, 14, 1000); }},
      {"header size unknown", [](Bytes& F) { Set32(F, 14, 13); }},
      {"planes", [](Bytes& F) { F[26] = 2; }},
      {"bit count", [](Bytes& F) { F[28] = 7; }},
      {"compression", [](Bytes& F) { Set32(F, 30, 9); }},
      {"RLE with 24 bits", [](Bytes& F) { F[28] = 24; Set32(F, 30, BI_RLE8); }},
      {"RLE without a size", [](Bytes& F) { Set32(F, 30, BI_RLE8); Set32(F, 34, 0); }},
      {"RLE size past the end", [](Bytes& F) { Set32(F, 30, BI_RLE8); Set32(F, 34, 0x10000000); }},
      {"too many colours", [](Bytes& F) { Set32(F, 46, 300); }},
      {"bit fields without masks", [](Bytes& F) { F[28] = 32; Set32(F, 30, BI_BITFIELDS); F.resize(54 + 4); }},
  };
  for (const Case& K : Cases) {
    Bytes F = Good;
    K.Break(F);
    TGuardedBuffer G(F);
    TCheckedStream S(G, int64_t(F.size()));
    TBitmap B;
    Prepare(B, 3, 3, clRed);
    EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { B.LoadFromStream(&S); }), "Bitmap image is not valid") << K.Name;
    EXPECT_EQ(S.Overreads, 0) << K.Name;
    EXPECT_EQ(B.Width(), 3) << K.Name;
    EXPECT_EQ(Hex(Px(B, 1, 1)), Hex(clRed)) << K.Name;
  }
  // The unbroken file is read exactly.
  TGuardedBuffer G(Good);
  TCheckedStream S(G, int64_t(Good.size()));
  TBitmap B;
  B.LoadFromStream(&S);
  EXPECT_EQ(S.Overreads, 0);
  EXPECT_EQ(S.Position(), S.Size());
  EXPECT_EQ(B.Width(), 6);
}

TEST(BitmapFile, EmptyStreamGivesEmptyBitmap) {
  TBitmap B;
  Prepare(B, 2, 2);
  TMemoryStream S;
  B.LoadFromStream(&S);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.Width(), 0);
  TMemoryStream Out;
  B.SaveToStream(&Out);
  EXPECT_EQ(Out.Size(), 0);
}

TEST(BitmapData, CountThenBmpFile) {
  TBitmap B;
  Prepare(B, 7, 3);
  B.Canvas()->SetPixels(2, 1, clPurple);
  TMemoryStream D, F;
  B.WriteData(&D);
  B.SaveToStream(&F);
  const Bytes Data = StreamBytes(D), File = StreamBytes(F);
  ASSERT_EQ(Data.size(), 4 + File.size());
  EXPECT_EQ(Get32(Data, 0), File.size());
  EXPECT_TRUE(std::equal(File.begin(), File.end(), Data.begin() + 4));

  // Read back, with something after the block that must stay unread.
  Bytes WithTail = Data;
  WithTail.insert(WithTail.end(), {0xAA, 0xBB});
  TMemoryStream In;
  Load(In, WithTail);
  TBitmap R;
  R.ReadData(&In);
  EXPECT_EQ(In.Position(), int64_t(Data.size()));
  EXPECT_EQ(R.Width(), 7);
  EXPECT_EQ(Hex(Px(R, 2, 1)), Hex(clPurple));
  EXPECT_EQ(Hex(Px(R, 3, 1)), Hex(clWhite));

  // An empty bitmap is a zero count.
  TBitmap E;
  TMemoryStream ED;
  E.WriteData(&ED);
  EXPECT_EQ(StreamBytes(ED), (Bytes{0, 0, 0, 0}));
  ED.SetPosition(0);
  R.ReadData(&ED);
  EXPECT_TRUE(R.Empty());

  // A count beyond the data, or a short count.
  struct Case {
    const char* Name;
    Bytes In;
  } Bad[] = {
      {"count past the end", [&] { Bytes X = Data; Set32(X, 0, uint32_t(File.size() + 1)); return X; }()},
      {"count cuts the file", [&] { Bytes X = Data; Set32(X, 0, uint32_t(File.size() - 1)); return X; }()},
      {"count cut", Bytes{5, 0}},
  };
  for (const Case& K : Bad) {
    TMemoryStream S;
    Load(S, K.In);
    TBitmap X;
    EXPECT_THROW(X.ReadData(&S), EInvalidGraphic) << K.Name;
  }
}

TEST(Bitmap, AssignCopiesPixels) {
  TBitmap A;
  Prepare(A, 5, 5);
  A.Canvas()->SetPixels(1, 1, clRed);
  TBitmap B;
  B.Assign(&A);
  EXPECT_NE(B.Handle(), A.Handle());
  EXPECT_EQ(Hex(Px(B, 1, 1)), Hex(clRed));
  A.Canvas()->SetPixels(1, 1, clBlue);
  EXPECT_EQ(Hex(Px(B, 1, 1)), Hex(clRed));
  EXPECT_EQ(B.PixelFormat(), pf32bit);
  TChangeCounter N;
  B.OnChange = N.Event();
  B.Canvas()->SetPixels(0, 0, clLime);
  EXPECT_GE(N.Count, 1);
  EXPECT_TRUE(B.Modified());
}

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// A top-down 32-bit section, rows coloured by their index, so a flipped image shows.
HBITMAP TopDownSection(int W, int H) {
  BITMAPINFO BI{};
  BI.bmiHeader.biSize = sizeof(BI.bmiHeader);
  BI.bmiHeader.biWidth = W;
  BI.bmiHeader.biHeight = -H;
  BI.bmiHeader.biPlanes = 1;
  BI.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  HBITMAP B = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
  auto* P = static_cast<uint32_t*>(Bits);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) P[Y * W + X] = Y < H / 2 ? 0x0000FF : 0xFFFF00;  // blue above, yellow below
  return B;
}

TEST(Bitmap, ATopDownSectionsRowsReadFromTheTop) {
  TBitmap B;
  B.SetHandle(TopDownSection(12, 10));
  EXPECT_EQ(*static_cast<uint32_t*>(B.ScanLine(0)), 0x0000FFu) << "blue, the top row";
  EXPECT_EQ(*static_cast<uint32_t*>(B.ScanLine(9)), 0xFFFF00u) << "yellow, the bottom row";
  EXPECT_EQ(Hex(Px(B, 0, 0)), Hex(clBlue));
  TMemoryStream S;
  B.SaveToStream(&S);
  S.SetPosition(0);
  TBitmap Loaded;
  Loaded.LoadFromStream(&S);
  EXPECT_EQ(Hex(Px(Loaded, 0, 0)), Hex(clBlue)) << "the file keeps the rows in order";
  EXPECT_EQ(Hex(Px(Loaded, 0, 9)), Hex(clYellow));
}

// A dormant bitmap has no section and no DC, keeps its image, and makes its section again
// (drawn, read back or asked for its handle) with the same pixels.
TEST(Bitmap, DormantFreesItsSectionAndKeepsThePixels) {
  struct Case {
    const char* Name;
    std::function<void(TBitmap&)> Make;
  } const Cases[] = {
      {"32 bit", [](TBitmap& B) { Prepare(B, 12, 10, clWhite); }},
      {"24 bit", [](TBitmap& B) { Prepare(B, 12, 10, clWhite); B.SetPixelFormat(pf24bit); }},
      {"8 bit with its colour table", [](TBitmap& B) { Prepare(B, 12, 10, clWhite); B.SetPixelFormat(pf8bit); }},
      {"top-down section", [](TBitmap& B) { B.SetHandle(TopDownSection(12, 10)); }},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    TBitmap B;
    K.Make(B);
    B.Canvas()->SetPixels(2, 1, clRed);
    B.Canvas()->SetPixels(9, 8, clLime);
    TBitmap Before;
    Prepare(Before, 12, 10, clBlack);
    Before.Canvas()->Draw(0, 0, &B);
    const TPixelFormat Format = B.PixelFormat();

    const HBITMAP Section = B.Handle();
    B.Dormant();
    EXPECT_FALSE(B.HandleAllocated());
    EXPECT_EQ(GetObjectType(Section), 0u) << "the section is deleted";
    EXPECT_FALSE(B.Empty());
    EXPECT_EQ(B.Width(), 12);
    EXPECT_EQ(B.Height(), 10);
    EXPECT_EQ(B.PixelFormat(), Format);
    B.Dormant();  // twice is once

    TBitmap After;
    Prepare(After, 12, 10, clBlack);
    After.Canvas()->Draw(0, 0, &B);
    EXPECT_TRUE(B.HandleAllocated()) << "drawing made the section again";
    for (int Y = 0; Y < 10; ++Y)
      for (int X = 0; X < 12; ++X) ASSERT_EQ(Hex(Px(After, X, Y)), Hex(Px(Before, X, Y))) << X << "," << Y;

    // Asked for directly, the handle comes back too; a saved file holds the same image.
    B.Dormant();
    TMemoryStream Dormant, Awake;
    B.SaveToStream(&Dormant);
    EXPECT_NE(B.Handle(), nullptr);
    B.SaveToStream(&Awake);
    ASSERT_EQ(Dormant.Size(), Awake.Size());
    EXPECT_EQ(std::memcmp(Dormant.Memory(), Awake.Memory(), size_t(Awake.Size())), 0);
  }
}

TEST(Bitmap, DormantGivesBackOneGdiObject) {
  TBitmap B;
  Prepare(B, 16, 16, clRed);
  B.FreeContext();  // the canvas's DC aside: only the section is counted
  SetLastError(0);
  const DWORD Before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  B.Dormant();
  const DWORD After = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (UnderWine()) {
    // Wine does not count GDI objects per process (a stub answering 0); the deleted section
    // shows through GetObjectType in the test above.
    EXPECT_EQ(Before, 0u) << "Wine counts GDI objects now: check the drop below there too";
  } else {
    EXPECT_EQ(After, Before - 1);
  }
  B.Canvas();
  EXPECT_EQ(Hex(Px(B, 8, 8)), Hex(clRed));
}

// ---------------------------------------------------------------------------------------------
// Icons

// 32x32 colour icon: top 8 rows transparent, then red on the left half and green on the right.
HICON MakeColourIcon() {
  BITMAPINFO BI{};
  BI.bmiHeader.biSize = sizeof(BI.bmiHeader);
  BI.bmiHeader.biWidth = 32;
  BI.bmiHeader.biHeight = -32;
  BI.bmiHeader.biPlanes = 1;
  BI.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  TBitmapOwner Color(CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0));
  auto* P = static_cast<uint32_t*>(Bits);
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 32; ++X) P[Y * 32 + X] = Y < 8 ? 0 : X < 16 ? 0xFF0000 : 0x00FF00;
  uint8_t MaskBits[32 * 4] = {};
  for (int Y = 0; Y < 8; ++Y) std::memset(MaskBits + Y * 4, 0xFF, 4);
  TBitmapOwner Mask(CreateBitmap(32, 32, 1, 1, MaskBits));
  ICONINFO II{TRUE, 0, 0, Mask, Color};
  return CreateIconIndirect(&II);
}

// 32x32 monochrome icon: rows 0-9 transparent, 10-19 white, 20-31 black.
HICON MakeMonoIcon() {
  uint8_t And[32 * 4] = {}, Xor[32 * 4] = {};
  for (int Y = 0; Y < 10; ++Y) std::memset(And + Y * 4, 0xFF, 4);
  for (int Y = 10; Y < 20; ++Y) std::memset(Xor + Y * 4, 0xFF, 4);
  return CreateIcon(GetModuleHandleA(nullptr), 32, 32, 1, 1, And, Xor);
}

void ExpectColourIconDrawn(TIcon& I) {
  TBitmap B;
  Prepare(B, 32, 32, clBlue);
  B.Canvas()->Draw(0, 0, &I);
  EXPECT_EQ(Hex(Px(B, 5, 3)), Hex(clBlue));
  EXPECT_EQ(Hex(Px(B, 5, 20)), Hex(clRed));
  EXPECT_EQ(Hex(Px(B, 25, 20)), Hex(clLime));
  EXPECT_EQ(Hex(Px(B, 31, 31)), Hex(clLime));
}

void ExpectMonoIconDrawn(TIcon& I) {
  TBitmap B;
  Prepare(B, 32, 32, clBlue);
  B.Canvas()->Draw(0, 0, &I);
  EXPECT_EQ(Hex(Px(B, 3, 5)), Hex(clBlue));
  EXPECT_EQ(Hex(Px(B, 3, 15)), Hex(clWhite));
  EXPECT_EQ(Hex(Px(B, 3, 25)), Hex(clBlack));
}

TEST(Icon, SaveAndLoadColourIcon) {
  TIcon I;
  EXPECT_TRUE(I.Empty());
  I.SetHandle(MakeColourIcon());
  ASSERT_FALSE(I.Empty());
  EXPECT_EQ(I.Width(), 32);
  EXPECT_EQ(I.Height(), 32);
  EXPECT_TRUE(I.Transparent());
  ExpectColourIconDrawn(I);

  TMemoryStream S;
  I.SaveToStream(&S);
  const Bytes F = StreamBytes(S);
  ASSERT_GE(F.size(), 22u + 40u);
  EXPECT_EQ(Get16(F, 0), 0);
  EXPECT_EQ(Get16(F, 2), 1);   // icon
  EXPECT_EQ(Get16(F, 4), 1);   // one image
  EXPECT_EQ(F[6], 32);
  EXPECT_EQ(F[7], 32);
  EXPECT_EQ(Get32(F, 14), F.size() - 22);  // image size
  EXPECT_EQ(Get32(F, 18), 22u);            // image offset
  EXPECT_EQ(Get32(F, 22), 40u);
  EXPECT_EQ(Get32(F, 30), 64u);  // colour and mask: twice the height

  S.SetPosition(0);
  TIcon J;
  J.LoadFromStream(&S);
  EXPECT_EQ(S.Position(), S.Size());
  EXPECT_EQ(J.Width(), 32);
  EXPECT_EQ(J.Height(), 32);
  ExpectColourIconDrawn(J);
  TMemoryStream S2;
  J.SaveToStream(&S2);
  EXPECT_EQ(StreamBytes(S2), F);

  // Assign copies; the copy lives on when the original goes.
  {
    TIcon K;
    K.Assign(&I);
    I.Assign(nullptr);
    EXPECT_TRUE(I.Empty());
    ExpectColourIconDrawn(K);
  }
  EXPECT_EQ(ErrorOf<EInvalidGraphicOperation>([&] { J.SetWidth(16); }), "Cannot change the size of an icon");
  J.SetWidth(32);
}

TEST(Icon, SaveAndLoadMonochromeIcon) {
  TIcon I;
  I.SetHandle(MakeMonoIcon());
  EXPECT_EQ(I.Width(), 32);
  EXPECT_EQ(I.Height(), 32);
  ExpectMonoIconDrawn(I);
  TMemoryStream S;
  I.SaveToStream(&S);
  const Bytes F = StreamBytes(S);
  ASSERT_GE(F.size(), 22u + 40u);
  EXPECT_EQ(Get16(F, 22 + 14), 1);  // one bit per pixel
  S.SetPosition(0);
  TIcon J;
  J.LoadFromStream(&S);
  ExpectMonoIconDrawn(J);
  // Taking the handle away leaves the icon empty.
  HICON H = J.ReleaseHandle();
  ASSERT_NE(H, nullptr);
  DestroyIcon(H);
  EXPECT_TRUE(J.Empty());
}

TEST(Icon, MalformedFilesAreRejected) {
  TIcon Src;
  Src.SetHandle(MakeColourIcon());
  TMemoryStream S;
  Src.SaveToStream(&S);
  const Bytes Good = StreamBytes(S);
  struct Case {
    const char* Name;
    std::function<void(Bytes&)> Break;
  } Cases[] = {
      {"directory cut", [](Bytes& F) { F.resize(4); }},
      {"entry cut", [](Bytes& F) { F.resize(14); }},
      {"reserved word", [](Bytes& F) { F[0] = 1; }},
      {"type", [](Bytes& F) { F[2] = 3; }},
      {"no images", [](Bytes& F) { F[4] = 0; }},
      {"more entries than bytes", [](Bytes& F) { F[4] = 200; }},
      {"image past the end", [](Bytes& F) { Set32(F, 14, uint32_t(F.size())); }},
      {"image offset inside the directory", [](Bytes& F) { Set32(F, 18, 10); }},
      {"image offset far away", [](Bytes& F) { Set32(F, 18, 0xFFFFFFF0u); }},
      {"image too small", [](Bytes& F) { Set32(F, 14, 20); }},
      {"image header size", [](Bytes& F) { Set32(F, 22, 12); }},
      {"odd image height", [](Bytes& F) { Set32(F, 30, 63); }},
      {"image wider than its data", [](Bytes& F) { Set32(F, 26, 200); }},
      {"bit count", [](Bytes& F) { F[22 + 14] = 3; }},
      {"file cut", [](Bytes& F) { F.resize(F.size() - 10); }},
  };
  for (const Case& K : Cases) {
    Bytes F = Good;
    K.Break(F);
    TGuardedBuffer G(F);
    TCheckedStream In(G, int64_t(F.size()));
    TIcon I;
    I.SetHandle(MakeMonoIcon());
    EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { I.LoadFromStream(&In); }), "Icon image is not valid") << K.Name;
    EXPECT_EQ(In.Overreads, 0) << K.Name;
    ExpectMonoIconDrawn(I);  // unchanged
  }
}

// ---------------------------------------------------------------------------------------------
// Metafiles

// An enhanced metafile of W by H screen pixels: a red square at (10, 10)-(30, 30) and a blue
// line along row H - 3.
HENHMETAFILE RecordSquare(int W, int H) {
  HDC Ref = GetDC(nullptr);
  const RECT Frame{0, 0, MulDiv(W, 2540, GetDeviceCaps(Ref, LOGPIXELSX)), MulDiv(H, 2540, GetDeviceCaps(Ref, LOGPIXELSY))};
  HDC DC = CreateEnhMetaFileA(Ref, nullptr, &Frame, nullptr);
  ReleaseDC(nullptr, Ref);
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  const RECT Square{10, 10, 30, 30};
  FillRect(DC, &Square, Red);
  DeleteObject(Red);
  HPEN Blue = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
  HGDIOBJ Old = SelectObject(DC, Blue);
  MoveToEx(DC, 0, H - 3, nullptr);
  LineTo(DC, W, H - 3);
  SelectObject(DC, Old);
  DeleteObject(Blue);
  return CloseEnhMetaFile(DC);
}

Bytes SavedBytes(TGraphic& G) {
  TMemoryStream S;
  G.SaveToStream(&S);
  return StreamBytes(S);
}

// The graphic drawn over a white 32-bit bitmap of W by H.
void DrawOnWhite(TBitmap& B, TGraphic* G, int W, int H) {
  Prepare(B, W, H);
  B.Canvas()->StretchDraw(Rect(0, 0, W, H), G);
}

void ExpectSquareDrawn(TGraphic* G, int W = 60, int H = 40) {
  TBitmap B;
  DrawOnWhite(B, G, W, H);
  EXPECT_EQ(Hex(Px(B, MulDiv(20, W, 60), MulDiv(20, H, 40))), Hex(clRed));
  EXPECT_EQ(Hex(Px(B, MulDiv(45, W, 60), MulDiv(20, H, 40))), Hex(clWhite));
  EXPECT_GT(CountEqual(B, Rect(0, H - 6, W, H), clBlue), W / 2);
}

TEST(Metafile, RecordedPictureSavesLoadsAndDraws) {
  TMetafile M;
  EXPECT_TRUE(M.Empty());
  EXPECT_TRUE(M.Enhanced());
  M.SetHandle(RecordSquare(60, 40));
  EXPECT_FALSE(M.Empty());
  EXPECT_EQ(M.Width(), 60);
  EXPECT_EQ(M.Height(), 40);
  ExpectSquareDrawn(&M);
  ExpectSquareDrawn(&M, 120, 80);  // stretched over the rectangle
  const Bytes Saved = SavedBytes(M);
  ASSERT_GT(Saved.size(), 88u);
  EXPECT_EQ(Get32(Saved, 40), 0x464D4520u);  // " EMF"
  EXPECT_EQ(Get32(Saved, 48), Saved.size());

  // A file by its extension, and the picture's stored data, give the same metafile back.
  TempFile File("m.emf");
  M.SaveToFile(File.Path.c_str());
  TPicture P;
  P.LoadFromFile(File.Path.c_str());
  ASSERT_NE(P.Graphic(), nullptr);
  EXPECT_EQ(P.Graphic()->ClassType(), TMetafile::StaticClass());
  EXPECT_EQ(P.Width(), 60);
  EXPECT_EQ(P.Height(), 40);
  EXPECT_EQ(SavedBytes(*P.Metafile()), Saved);
  ExpectSquareDrawn(P.Graphic());
  TMemoryStream D;
  P.WriteData(&D);
  const Bytes Data = StreamBytes(D);
  ASSERT_EQ(Data[0], 9);
  EXPECT_EQ(std::string(Data.begin() + 1, Data.begin() + 10), "TMetafile");
  EXPECT_EQ(Bytes(Data.begin() + 10, Data.end()), Saved);
  D.SetPosition(0);
  TPicture R;
  R.ReadData(&D);
  EXPECT_EQ(SavedBytes(*R.Metafile()), Saved);

  // A stream holding more than the metafile: only its bytes are read.
  Bytes Longer = Saved;
  Longer.insert(Longer.end(), {'t', 'a', 'i', 'l'});
  TMemoryStream L;
  Load(L, Longer);
  TMetafile FromLonger;
  FromLonger.LoadFromStream(&L);
  EXPECT_EQ(L.Position(), int64_t(Saved.size()));
  EXPECT_EQ(SavedBytes(FromLonger), Saved);

  // Copies own their handles; the handle can be taken out.
  TMetafile Copy;
  Copy.Assign(&M);
  EXPECT_NE(Copy.Handle(), M.Handle());
  EXPECT_EQ(SavedBytes(Copy), Saved);
  TPicture Q;
  Q.SetGraphic(&M);
  EXPECT_EQ(Q.Graphic()->ClassType(), TMetafile::StaticClass());
  EXPECT_NE(Q.Metafile()->Handle(), M.Handle());
  HENHMETAFILE Taken = Copy.ReleaseHandle();
  EXPECT_TRUE(Copy.Empty());
  EXPECT_EQ(Copy.Width(), 0);
  EXPECT_TRUE(SavedBytes(Copy).empty());
  EXPECT_EQ(GetEnhMetaFileBits(Taken, 0, nullptr), Saved.size());
  DeleteEnhMetaFile(Taken);
  Copy.Assign(nullptr);
  EXPECT_TRUE(Copy.Empty());
  TBitmap B;
  EXPECT_THROW(Copy.Assign(&B), EConvertError);
}

// A placeable Windows metafile whose bounds are Right by Bottom units of 1/Inch inch: a window
// of the same extent with a red rectangle over its left half.
Bytes PlaceableMetafile(int Right, int Bottom, int Inch) {
  Bytes R;
  const auto Record = [&R](uint16_t Function, std::initializer_list<uint16_t> Params) {
    Put32(R, uint32_t(3 + Params.size()));
    Put16(R, Function);
    for (uint16_t P : Params) Put16(R, P);
  };
  Record(0x020B, {0, 0});                                 // SetWindowOrg(y, x)
  Record(0x020C, {uint16_t(Bottom), uint16_t(Right)});    // SetWindowExt(y, x)
  Record(0x02FC, {BS_SOLID, 0x00FF, 0x0000, 0});          // CreateBrushIndirect: red
  Record(0x012D, {0});                                    // SelectObject
  Record(0x041B, {uint16_t(Bottom), uint16_t(Right / 2), 0, 0});  // Rectangle(bottom, right, top, left)
  Record(0x0000, {});                                     // end
  Bytes F;
  Put32(F, 0x9AC6CDD7);
  Put16(F, 0);
  for (int V : {0, 0, Right, Bottom}) Put16(F, uint32_t(V));
  Put16(F, uint32_t(Inch));
  Put32(F, 0);
  uint16_t Sum = 0;
  for (size_t I = 0; I < 20; I += 2) Sum ^= Get16(F, I);
  Put16(F, Sum);
  Put16(F, 1);   // in memory
  Put16(F, 9);   // header words
  Put16(F, 0x300);
  Put32(F, uint32_t(9 + R.size() / 2));
  Put16(F, 1);   // objects
  Put32(F, 7);   // largest record
  Put16(F, 0);
  F.insert(F.end(), R.begin(), R.end());
  return F;
}

TEST(Metafile, PlaceableWindowsMetafileLoadsAsEnhanced) {
  TempFile File("p.wmf");
  {
    TMemoryStream S;
    Load(S, PlaceableMetafile(1000, 500, 1000));  // an inch by half an inch
    S.SaveToFile(File.Path.c_str());
  }
  TPicture P;
  P.LoadFromFile(File.Path.c_str());
  ASSERT_NE(P.Graphic(), nullptr);
  ASSERT_EQ(P.Graphic()->ClassType(), TMetafile::StaticClass());
  const int PixelsPerInch = [] {
    HDC DC = GetDC(nullptr);
    const int N = GetDeviceCaps(DC, LOGPIXELSX);
    ReleaseDC(nullptr, DC);
    return N;
  }();
  EXPECT_EQ(P.Width(), PixelsPerInch);
  EXPECT_EQ(P.Height(), PixelsPerInch / 2);
  TBitmap B;
  DrawOnWhite(B, P.Graphic(), 96, 48);
  EXPECT_EQ(Hex(Px(B, 24, 24)), Hex(clRed));
  EXPECT_EQ(Hex(Px(B, 72, 24)), Hex(clWhite));
  // Saved as an enhanced metafile, which loads back the same.
  const Bytes Saved = SavedBytes(*P.Graphic());
  EXPECT_EQ(Get32(Saved, 40), 0x464D4520u);
  TMemoryStream S;
  Load(S, Saved);
  TMetafile Again;
  Again.LoadFromStream(&S);
  EXPECT_EQ(Again.Width(), P.Width());
  TBitmap B2;
  DrawOnWhite(B2, &Again, 96, 48);
  EXPECT_EQ(Hex(Px(B2, 24, 24)), Hex(clRed));
}

TEST(Metafile, MalformedFilesAreRejected) {
  TMetafile Src;
  Src.SetHandle(RecordSquare(60, 40));
  const Bytes Emf = SavedBytes(Src), Wmf = PlaceableMetafile(1000, 500, 1000);
  // Offsets in the placeable file: its header, then the metafile header at 22, records at 40.
  const auto Resum = [](Bytes& F) {
    uint16_t Sum = 0;
    for (size_t I = 0; I < 20; I += 2) Sum ^= Get16(F, I);
    F[20] = uint8_t(Sum);
    F[21] = uint8_t(Sum >> 8);
  };
  struct Case {
    const char* Name;
    const Bytes* From;
    std::function<void(Bytes&)> Break;
  } Cases[] = {
      {"three bytes", &Emf, [](Bytes& F) { F.resize(3); }},
      {"header cut", &Emf, [](Bytes& F) { F.resize(60); }},
      {"not a header record", &Emf, [](Bytes& F) { Set32(F, 0, 2); }},
      {"signature", &Emf, [](Bytes& F) { F[40] = 'X'; }},
      {"header size", &Emf, [](Bytes& F) { Set32(F, 4, 40); }},
      {"size past the end", &Emf, [](Bytes& F) { Set32(F, 48, uint32_t(F.size() + 4)); }},
      {"file cut", &Emf, [](Bytes& F) { F.resize(F.size() - 20); }},
      {"record of no size", &Emf, [](Bytes& F) { Set32(F, Get32(F, 4) + 4, 0); }},
      {"record past the end", &Emf, [](Bytes& F) { Set32(F, Get32(F, 4) + 4, 0x10000); }},
      {"no end record", &Emf, [](Bytes& F) { Set32(F, F.size() - 20, EMR_SAVEDC); }},
      {"plain Windows metafile", &Wmf, [](Bytes& F) { F.erase(F.begin(), F.begin() + 22); }},
      {"checksum", &Wmf, [](Bytes& F) { F[20] ^= 1; }},
      {"no units per inch", &Wmf, [&](Bytes& F) { F[14] = F[15] = 0; Resum(F); }},
      {"empty bounds", &Wmf, [&](Bytes& F) { F[10] = F[11] = 0; Resum(F); }},
      {"metafile type", &Wmf, [](Bytes& F) { F[22] = 3; }},
      {"metafile header size", &Wmf, [](Bytes& F) { F[24] = 8; }},
      {"metafile size past the end", &Wmf, [](Bytes& F) { Set32(F, 28, uint32_t(F.size())); }},
      {"record of no size", &Wmf, [](Bytes& F) { Set32(F, 40, 0); }},
      {"record past the end", &Wmf, [](Bytes& F) { Set32(F, 40, 0x100); }},
      {"no end record", &Wmf, [](Bytes& F) { F[F.size() - 2] = 0x1E; }},
  };
  for (const Case& K : Cases) {
    Bytes F = *K.From;
    K.Break(F);
    TGuardedBuffer G(F);
    TCheckedStream In(G, int64_t(F.size()));
    TMetafile M;
    M.SetHandle(RecordSquare(60, 40));
    EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { M.LoadFromStream(&In); }), "Metafile is not valid") << K.Name;
    EXPECT_EQ(In.Overreads, 0) << K.Name;
    EXPECT_EQ(M.Width(), 60) << K.Name;  // unchanged
    ExpectSquareDrawn(&M);
  }
  // An empty stream makes an empty metafile.
  TMemoryStream None;
  TMetafile M;
  M.SetHandle(RecordSquare(60, 40));
  M.LoadFromStream(&None);
  EXPECT_TRUE(M.Empty());
  EXPECT_EQ(M.Width(), 0);
}

TEST(Metafile, ResizingRecordsThePictureAtTheNewSize) {
  TMetafile M;
  EXPECT_EQ(ErrorOf<EInvalidGraphicOperation>([&] { M.SetWidth(10); }),
            "Cannot change the size of an empty metafile");
  M.SetHandle(RecordSquare(60, 40));
  EXPECT_EQ(ErrorOf<EInvalidGraphicOperation>([&] { M.SetHeight(0); }), "Invalid metafile size (60 by 0)");
  TChangeCounter N;
  M.OnChange = N.Event();
  M.SetWidth(120);
  M.SetHeight(80);
  EXPECT_EQ(M.Width(), 120);
  EXPECT_EQ(M.Height(), 80);
  EXPECT_GE(N.Count, 2);
  // Drawn at its own size it is the old picture stretched; the size is in its data.
  TBitmap B;
  Prepare(B, 120, 80);
  B.Canvas()->Draw(0, 0, &M);
  EXPECT_EQ(Hex(Px(B, 40, 40)), Hex(clRed));
  EXPECT_EQ(Hex(Px(B, 90, 40)), Hex(clWhite));
  EXPECT_EQ(Hex(Px(B, 10, 10)), Hex(clWhite));
  TMemoryStream S;
  M.SaveToStream(&S);
  S.SetPosition(0);
  TMetafile Back;
  Back.LoadFromStream(&S);
  EXPECT_EQ(Back.Width(), 120);
  EXPECT_EQ(Back.Height(), 80);
  ExpectSquareDrawn(&Back, 120, 80);
}

// ---------------------------------------------------------------------------------------------
// Pictures

class TTestBitmap : public TBitmap {
  ORV_CLASS(TTestBitmap, TBitmap)
};
ORV_IMPLEMENT_CLASS(TTestBitmap, TBitmap)
TGraphic* NewTestBitmap() { return new TTestBitmap; }

// Registers the test format for one test and removes it again.
struct TTestFormat {
  TTestFormat() { TPicture::RegisterFileFormat("TBM", "Test bitmaps", TTestBitmap::StaticClass(), NewTestBitmap); }
  ~TTestFormat() { TPicture::UnregisterGraphicClass(TTestBitmap::StaticClass()); }
};

TEST(Picture, BitmapIconAndOnChange) {
  TPicture P;
  TChangeCounter N;
  P.OnChange = N.Event();
  EXPECT_EQ(P.Graphic(), nullptr);
  EXPECT_EQ(P.Width(), 0);
  TBitmap* B = P.Bitmap();
  ASSERT_NE(B, nullptr);
  EXPECT_EQ(P.Graphic(), B);
  EXPECT_EQ(P.Bitmap(), B);  // already a bitmap: kept
  const int AfterCreate = N.Count;
  EXPECT_GE(AfterCreate, 1);
  B->SetPixelFormat(pf24bit);
  B->SetSize(6, 4);
  EXPECT_EQ(P.Width(), 6);
  EXPECT_EQ(P.Height(), 4);
  const int AfterSize = N.Count;
  EXPECT_GT(AfterSize, AfterCreate);
  B->Canvas()->SetPixels(1, 1, clRed);  // drawing on the bitmap changes the picture
  EXPECT_GT(N.Count, AfterSize);
  EXPECT_EQ(N.Last, &P);

  TIcon* I = P.Icon();  // replaces the bitmap
  ASSERT_NE(I, nullptr);
  EXPECT_EQ(P.Graphic(), I);
  EXPECT_TRUE(I->Empty());
  TMetafile* M = P.Metafile();  // and the icon
  EXPECT_EQ(P.Graphic(), M);
  EXPECT_TRUE(M->Empty());

  // SetGraphic and Assign store copies.
  TBitmap Own;
  Prepare(Own, 3, 2, clTeal);
  P.SetGraphic(&Own);
  ASSERT_NE(P.Graphic(), nullptr);
  EXPECT_NE(P.Graphic(), &Own);
  EXPECT_EQ(P.Graphic()->ClassType(), TBitmap::StaticClass());
  EXPECT_EQ(Hex(Px(*P.Bitmap(), 2, 1)), Hex(clTeal));
  TPicture Q;
  Q.Assign(&P);
  EXPECT_NE(Q.Graphic(), P.Graphic());
  EXPECT_EQ(Hex(Px(*Q.Bitmap(), 0, 0)), Hex(clTeal));
  TBitmap Out;
  Out.Assign(&Q);  // a picture assigns its graphic
  EXPECT_EQ(Hex(Px(Out, 1, 1)), Hex(clTeal));
  P.SetGraphic(nullptr);
  EXPECT_EQ(P.Graphic(), nullptr);
}

TEST(Picture, DataRoundTrips) {
  // Bitmap: short string class name, then the bitmap's own data.
  TPicture P;
  Prepare(*P.Bitmap(), 4, 3, clOlive);
  P.Bitmap()->Canvas()->SetPixels(3, 2, clRed);
  TMemoryStream D;
  P.WriteData(&D);
  const Bytes Data = StreamBytes(D);
  ASSERT_GT(Data.size(), 12u);
  EXPECT_EQ(Data[0], 7);
  EXPECT_EQ(std::string(Data.begin() + 1, Data.begin() + 8), "TBitmap");
  TMemoryStream BD;
  P.Bitmap()->WriteData(&BD);
  EXPECT_EQ(Bytes(Data.begin() + 8, Data.end()), StreamBytes(BD));

  D.SetPosition(0);
  TPicture R;
  R.ReadData(&D);
  EXPECT_EQ(D.Position(), D.Size());
  ASSERT_NE(R.Graphic(), nullptr);
  EXPECT_EQ(R.Graphic()->ClassType(), TBitmap::StaticClass());
  EXPECT_EQ(Hex(Px(*R.Bitmap(), 3, 2)), Hex(clRed));
  EXPECT_EQ(Hex(Px(*R.Bitmap(), 0, 0)), Hex(clOlive));

  // Icon.
  TPicture PI;
  PI.Icon()->SetHandle(MakeColourIcon());
  TMemoryStream DI;
  PI.WriteData(&DI);
  EXPECT_EQ(StreamBytes(DI)[0], 5);
  DI.SetPosition(0);
  TPicture RI;
  RI.ReadData(&DI);
  ASSERT_NE(RI.Graphic(), nullptr);
  EXPECT_EQ(RI.Graphic()->ClassType(), TIcon::StaticClass());
  ExpectColourIconDrawn(*RI.Icon());

  // No graphic: an empty name.
  TPicture Empty;
  TMemoryStream DE;
  Empty.WriteData(&DE);
  EXPECT_EQ(StreamBytes(DE), Bytes{0});
  DE.SetPosition(0);
  RI.ReadData(&DE);
  EXPECT_EQ(RI.Graphic(), nullptr);

  // Unknown class names and cut data.
  TMemoryStream U;
  Load(U, Bytes{8, 'T', 'U', 'n', 'k', 'n', 'o', 'w', 'n', 0, 0, 0, 0});
  TPicture X;
  X.Bitmap();
  EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { X.ReadData(&U); }), "Unknown picture class (TUnknown)");
  EXPECT_NE(X.Graphic(), nullptr);  // kept
  TMemoryStream Cut;
  Load(Cut, Bytes{7, 'T', 'B', 'i'});
  EXPECT_THROW(X.ReadData(&Cut), EReadError);
  TMemoryStream None;
  EXPECT_THROW(X.ReadData(&None), EReadError);
}

TEST(Picture, FilesByExtension) {
  TempFile Bmp("a.bmp"), Ico("b.ICO"), Other("c.xyz"), Test("d.tbm"), NoExt("e");
  TBitmap B;
  Prepare(B, 5, 5, clMaroon);
  B.SaveToFile(Bmp.Path.c_str());
  TIcon I;
  I.SetHandle(MakeColourIcon());
  I.SaveToFile(Ico.Path.c_str());

  TPicture P;
  P.LoadFromFile(Bmp.Path.c_str());
  ASSERT_NE(P.Graphic(), nullptr);
  EXPECT_EQ(P.Graphic()->ClassType(), TBitmap::StaticClass());
  EXPECT_EQ(P.Width(), 5);
  EXPECT_EQ(Hex(Px(*P.Bitmap(), 2, 2)), Hex(clMaroon));

  P.LoadFromFile(Ico.Path.c_str());
  EXPECT_EQ(P.Graphic()->ClassType(), TIcon::StaticClass());
  EXPECT_EQ(P.Width(), 32);

  // SaveToFile writes the graphic's own format.
  P.SaveToFile(Other.Path.c_str());
  TIcon Back;
  Back.LoadFromFile(Other.Path.c_str());
  ExpectColourIconDrawn(Back);

  EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { P.LoadFromFile(Other.Path.c_str()); }),
            "Unknown picture file extension (.xyz)");
  EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { P.LoadFromFile(NoExt.Path.c_str()); }),
            "Unknown picture file extension (.)");
  EXPECT_EQ(P.Graphic()->ClassType(), TIcon::StaticClass());  // kept after a failure
  TempFile Missing("missing.bmp");
  EXPECT_THROW(P.LoadFromFile(Missing.Path.c_str()), EFOpenError);

  // A registered format loads through its own class.
  B.SaveToFile(Test.Path.c_str());
  EXPECT_THROW(P.LoadFromFile(Test.Path.c_str()), EInvalidGraphic);
  {
    TTestFormat Reg;
    P.LoadFromFile(Test.Path.c_str());
    EXPECT_EQ(P.Graphic()->ClassType(), TTestBitmap::StaticClass());
    EXPECT_EQ(Hex(Px(*P.Bitmap(), 1, 1)), Hex(clMaroon));
  }
  EXPECT_THROW(P.LoadFromFile(Test.Path.c_str()), EInvalidGraphic);
}

TEST(Picture, Registry) {
  EXPECT_NE(TPicture::FindExtension("bmp"), nullptr);
  EXPECT_NE(TPicture::FindExtension(".BMP"), nullptr);
  EXPECT_NE(TPicture::FindExtension("ico"), nullptr);
  EXPECT_EQ(TPicture::FindExtension("tbm"), nullptr);
  EXPECT_NE(TPicture::FindGraphicClass("tbitmap"), nullptr);
  EXPECT_EQ(TPicture::GraphicExtension(TIcon::StaticClass()), "ico");
  EXPECT_NE(TPicture::FindExtension("EMF"), nullptr);
  EXPECT_NE(TPicture::FindExtension("wmf"), nullptr);
  EXPECT_NE(TPicture::FindGraphicClass("TMetafile"), nullptr);
  EXPECT_EQ(TPicture::GraphicExtension(TMetafile::StaticClass()), "emf");
  EXPECT_EQ(TPicture::GraphicFileMask(TGraphic::StaticClass()), "*.bmp;*.ico;*.emf;*.wmf");
  EXPECT_EQ(TPicture::GraphicFilter(TBitmap::StaticClass()), "Bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(TPicture::GraphicFilter(TMetafile::StaticClass()),
            "All (*.emf;*.wmf)|*.emf;*.wmf|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
  EXPECT_EQ(TPicture::GraphicFilter(TGraphic::StaticClass()),
            "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
            "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
  EXPECT_THROW(TPicture::RegisterFileFormat("fnt", "Fonts", TFont::StaticClass(), NewTestBitmap), EInvalidGraphic);
  EXPECT_THROW(TPicture::RegisterGraphicClass(TTestBitmap::StaticClass(), nullptr), EInvalidGraphic);

  Bytes Saved;
  {
    TTestFormat Reg;
    EXPECT_EQ(TPicture::FindExtension("tbm"), &NewTestBitmap);
    EXPECT_EQ(TPicture::FindGraphicClass("TTestBitmap"), &NewTestBitmap);
    EXPECT_EQ(TPicture::GraphicFileMask(TBitmap::StaticClass()), "*.bmp;*.tbm");
    EXPECT_EQ(TPicture::GraphicExtension(TTestBitmap::StaticClass()), "tbm");
    EXPECT_EQ(TPicture::GraphicFilter(TGraphic::StaticClass()),
              "All (*.bmp;*.ico;*.emf;*.wmf;*.tbm)|*.bmp;*.ico;*.emf;*.wmf;*.tbm|Bitmaps (*.bmp)|*.bmp|"
              "Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|"
              "Test bitmaps (*.tbm)|*.tbm");
    // Pictures of the class stream by its name.
    TTestBitmap T;
    Prepare(T, 2, 2, clNavy);
    TPicture P;
    P.SetGraphic(&T);
    EXPECT_EQ(P.Graphic()->ClassType(), TTestBitmap::StaticClass());
    TMemoryStream D;
    P.WriteData(&D);
    Saved = StreamBytes(D);
    EXPECT_EQ(Saved[0], 11);
    EXPECT_EQ(std::string(Saved.begin() + 1, Saved.begin() + 12), "TTestBitmap");
    D.SetPosition(0);
    TPicture R;
    R.ReadData(&D);
    EXPECT_EQ(R.Graphic()->ClassType(), TTestBitmap::StaticClass());
    EXPECT_EQ(Hex(Px(*R.Bitmap(), 1, 1)), Hex(clNavy));
  }
  // Unregistering removes the class and its formats only.
  EXPECT_EQ(TPicture::FindExtension("tbm"), nullptr);
  EXPECT_EQ(TPicture::FindGraphicClass("TTestBitmap"), nullptr);
  EXPECT_NE(TPicture::FindExtension("bmp"), nullptr);
  EXPECT_NE(TPicture::FindGraphicClass("TBitmap"), nullptr);
  TMemoryStream D;
  Load(D, Saved);
  TPicture R;
  EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { R.ReadData(&D); }), "Unknown picture class (TTestBitmap)");
  TTestBitmap T;
  Prepare(T, 1, 1);
  EXPECT_THROW(R.SetGraphic(&T), EInvalidGraphic);
}

// A component with a picture and a bitmap, streamed as a form would be.
class TPictureHolder : public TComponent {
  ORV_CLASS(TPictureHolder, TComponent)
public:
  explicit TPictureHolder(TComponent* AOwner) : TComponent(AOwner), FPicture(new TPicture), FGlyph(new TBitmap) {}
  ~TPictureHolder() override {
    TObject::Free(FPicture);
    TObject::Free(FGlyph);
  }
  TPicture* Picture() const { return FPicture; }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }

private:
  TPicture* FPicture;
  TBitmap* FGlyph;
};
static constinit const TPropInfo TPictureHolder_Props[] = {
    PropObject<&TPictureHolder::Glyph, &TPictureHolder::SetGlyph>("Glyph"),
    PropObject<&TPictureHolder::Picture, &TPictureHolder::SetPicture>("Picture"),
};
ORV_IMPLEMENT_COMPONENT(TPictureHolder, TComponent, TPictureHolder_Props)

std::string Squeeze(const AnsiString& S) {
  std::string Out;
  for (char C : S.str())
    if (C != ' ' && C != '\r' && C != '\n') Out += C;
  return Out;
}

TEST(Picture, StreamsWithItsComponent) {
  RegisterClass(TPictureHolder::StaticClass());
  TPictureHolder* H = New<TPictureHolder>(nullptr);
  H->SetName("Holder1");
  Prepare(*H->Picture()->Bitmap(), 3, 2, clGreen);
  Prepare(*H->Glyph(), 2, 2, clRed);
  TMemoryStream Form;
  WriteComponentRes(&Form, H);
  TObject::Free(H);

  // The text form shows both binary properties.
  Form.SetPosition(0);
  TMemoryStream Text;
  ObjectBinaryToText(&Form, &Text);
  const std::string T = Squeeze(AnsiString(static_cast<const char*>(Text.Memory()), int(Text.Size())));
  EXPECT_NE(T.find("Picture.Data={07544269746D6170"), std::string::npos) << T;  // "\x07TBitmap"
  EXPECT_NE(T.find("Glyph.Data={"), std::string::npos) << T;

  Form.SetPosition(0);
  TPictureHolder* R = New<TPictureHolder>(nullptr);
  ReadComponentRes(&Form, R);
  ASSERT_NE(R->Picture()->Graphic(), nullptr);
  EXPECT_EQ(R->Picture()->Graphic()->ClassType(), TBitmap::StaticClass());
  EXPECT_EQ(R->Picture()->Width(), 3);
  EXPECT_EQ(Hex(Px(*R->Picture()->Bitmap(), 2, 1)), Hex(clGreen));
  EXPECT_EQ(R->Glyph()->Width(), 2);
  EXPECT_EQ(Hex(Px(*R->Glyph(), 1, 1)), Hex(clRed));
  TObject::Free(R);

  // Empty picture and glyph: nothing is written for them.
  TPictureHolder* E = New<TPictureHolder>(nullptr);
  E->SetName("Holder2");
  TMemoryStream EF, ET;
  WriteComponentRes(&EF, E);
  TObject::Free(E);
  EF.SetPosition(0);
  ObjectBinaryToText(&EF, &ET);
  const std::string ETxt(static_cast<const char*>(ET.Memory()), size_t(ET.Size()));
  EXPECT_EQ(ETxt.find("Data"), std::string::npos) << ETxt;
}

}  // namespace
