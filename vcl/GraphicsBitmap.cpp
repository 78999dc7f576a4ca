// TBitmap: DIB sections, pixel format conversions, BMP reading and writing.
#include "vcl/Graphics.h"

#include <algorithm>
#include <cstring>
#include <mutex>

constexpr TEnumType TPixelFormatType{
    "TPixelFormat", {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit", "pfCustom"}};

// Canvas of a bitmap: a memory DC with the DIB section selected, made on demand.
class TBitmapCanvas : public TCanvas {
  ORV_CLASS(TBitmapCanvas, TCanvas)
public:
  explicit TBitmapCanvas(TBitmap* Bitmap);
  ~TBitmapCanvas() override;
  void FreeContext();
  TBitmap* Bitmap() const { return FBitmap; }

protected:
  void CreateHandle() override;

private:
  TBitmap* FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
};
ORV_IMPLEMENT_CLASS(TBitmapCanvas, TCanvas)

namespace {

std::mutex CanvasListLock;
std::vector<TBitmapCanvas*>& CanvasList() {
  static std::vector<TBitmapCanvas*> List;
  return List;
}

[[noreturn]] void BadBitmap() { throw EInvalidGraphic("Bitmap image is not valid"); }
[[noreturn]] void NoResources() { throw EOutOfResources("Out of system resources"); }

uint16_t Rd16(const uint8_t* P) { return uint16_t(P[0] | (P[1] << 8)); }
uint32_t Rd32(const uint8_t* P) { return uint32_t(P[0]) | (uint32_t(P[1]) << 8) | (uint32_t(P[2]) << 16) | (uint32_t(P[3]) << 24); }
void Put16(std::vector<uint8_t>& V, uint32_t X) { V.push_back(uint8_t(X)); V.push_back(uint8_t(X >> 8)); }
void Put32(std::vector<uint8_t>& V, uint32_t X) { Put16(V, X & 0xFFFF); Put16(V, X >> 16); }

int StrideOf(int W, int Bpp) { return ((W * Bpp + 31) / 32) * 4; }

constexpr RGBQUAD Quad(uint8_t R, uint8_t G, uint8_t B) { return RGBQUAD{B, G, R, 0}; }

std::vector<RGBQUAD> DefaultColors(int Bpp) {
  static const RGBQUAD Vga[16] = {
      Quad(0, 0, 0),       Quad(0x80, 0, 0),    Quad(0, 0x80, 0),    Quad(0x80, 0x80, 0),
      Quad(0, 0, 0x80),    Quad(0x80, 0, 0x80), Quad(0, 0x80, 0x80), Quad(0xC0, 0xC0, 0xC0),
      Quad(0x80, 0x80, 0x80), Quad(0xFF, 0, 0), Quad(0, 0xFF, 0),    Quad(0xFF, 0xFF, 0),
      Quad(0, 0, 0xFF),    Quad(0xFF, 0, 0xFF), Quad(0, 0xFF, 0xFF), Quad(0xFF, 0xFF, 0xFF)};
  std::vector<RGBQUAD> C;
  if (Bpp == 1) {
    C = {Quad(0, 0, 0), Quad(0xFF, 0xFF, 0xFF)};
  } else if (Bpp == 4) {
    C.assign(Vga, Vga + 16);
  } else if (Bpp == 8) {
    C.assign(Vga, Vga + 16);
    for (int R = 0; R < 6; ++R)
      for (int G = 0; G < 6; ++G)
        for (int B = 0; B < 6; ++B) C.push_back(Quad(uint8_t(R * 51), uint8_t(G * 51), uint8_t(B * 51)));
    for (int I = 0; C.size() < 256; ++I) {
      uint8_t V = uint8_t(8 + I * 10);
      C.push_back(Quad(V, V, V));
    }
  }
  return C;
}

bool IsBlackWhite(const std::vector<RGBQUAD>& C) {
  return C.size() == 2 && C[0].rgbRed == 0 && C[0].rgbGreen == 0 && C[0].rgbBlue == 0 && C[1].rgbRed == 255 &&
         C[1].rgbGreen == 255 && C[1].rgbBlue == 255;
}

struct TScreenFormat {
  int Bpp;
  bool Is565;
};

TScreenFormat ScreenFormat() {
  static const TScreenFormat F = [] {
    TWindowDC DC;
    int Bits = DC ? GetDeviceCaps(DC, BITSPIXEL) * GetDeviceCaps(DC, PLANES) : 32;
    if (Bits == 16) return TScreenFormat{16, true};
    if (Bits == 15) return TScreenFormat{16, false};
    if (Bits == 24) return TScreenFormat{24, false};
    return TScreenFormat{32, false};
  }();
  return F;
}

// Whether the first row of a section's memory is its top row. GetObjectA does not keep the sign
// of a top-down section's height everywhere, so a pixel set through GDI tells.
bool FirstRowOnTop(HBITMAP Section, const DIBSECTION& DS) {
  if (DS.dsBmih.biHeight < 0) return true;
  const int H = DS.dsBm.bmHeight;
  const size_t Stride = size_t(DS.dsBm.bmWidthBytes);
  if (H < 2 || !Stride) return false;
  auto* Bits = static_cast<uint8_t*>(DS.dsBm.bmBits);
  uint8_t* Last = Bits + (H - 1) * Stride;
  const std::vector<uint8_t> First0(Bits, Bits + Stride), Last0(Last, Last + Stride);
  TMemoryDC DC;
  TSelectGuard Sel(DC, Section);
  SetPixel(DC, 0, 0, GetPixel(DC, 0, 0) ^ 0xFFFFFF);
  GdiFlush();
  const bool Top = std::memcmp(Bits, First0.data(), Stride) != 0;
  std::memcpy(Bits, First0.data(), Stride);
  std::memcpy(Last, Last0.data(), Stride);
  return Top;
}

// Bottom-up DIB section. Colors fills the table of 1, 4 and 8 bit sections (rest black).
HBITMAP MakeDib(int W, int H, int Bpp, bool Is565, const RGBQUAD* Colors, int ColorCount, void** Bits) {
  std::vector<uint8_t> Buf(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto* BI = reinterpret_cast<BITMAPINFO*>(Buf.data());
  BI->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  BI->bmiHeader.biWidth = W;
  BI->bmiHeader.biHeight = H;
  BI->bmiHeader.biPlanes = 1;
  BI->bmiHeader.biBitCount = WORD(Bpp);
  BI->bmiHeader.biCompression = (Bpp == 16 && Is565) ? BI_BITFIELDS : BI_RGB;
  auto* Table = reinterpret_cast<RGBQUAD*>(Buf.data() + sizeof(BITMAPINFOHEADER));
  if (Bpp <= 8) {
    int N = 1 << Bpp;
    BI->bmiHeader.biClrUsed = DWORD(N);
    for (int I = 0; I < N && I < ColorCount; ++I) Table[I] = Colors[I];
  } else if (Bpp == 16 && Is565) {
    auto* Masks = reinterpret_cast<DWORD*>(Table);
    Masks[0] = 0xF800;
    Masks[1] = 0x07E0;
    Masks[2] = 0x001F;
  }
  void* P = nullptr;
  HBITMAP H1 = CreateDIBSection(nullptr, BI, DIB_RGB_COLORS, &P, nullptr, 0);
  if (Bits) *Bits = P;
  return H1;
}

// Layout of a DIB described by an info header (core or info/v4/v5).
struct TDibLayout {
  uint32_t HeaderSize = 0;
  int Width = 0, Height = 0;  // Height > 0
  bool TopDown = false;
  int Bpp = 0;
  uint32_t Compression = BI_RGB;
  uint32_t SizeImage = 0;
  uint32_t Masks[3] = {0, 0, 0};
  size_t EntrySize = 4;       // colour table entry
  size_t ColorEntries = 0;    // entries stored
  size_t TablesSize = 0;      // bytes after the header: masks and colour table
  int Stride = 0;
};

// Needs the whole info header at P (N bytes available).
TDibLayout ParseLayout(const uint8_t* P, size_t N) {
  TDibLayout L;
  if (N < 4) BadBitmap();
  L.HeaderSize = Rd32(P);
  uint32_t ClrUsed = 0;
  int Planes;
  if (L.HeaderSize == 12) {
    if (N < 12) BadBitmap();
    L.Width = Rd16(P + 4);
    L.Height = Rd16(P + 6);
    Planes = Rd16(P + 8);
    L.Bpp = Rd16(P + 10);
    L.EntrySize = 3;
  } else if (L.HeaderSize >= 40 && L.HeaderSize <= 1024) {
    if (N < L.HeaderSize) BadBitmap();
    L.Width = int32_t(Rd32(P + 4));
    int32_t H = int32_t(Rd32(P + 8));
    if (H == INT32_MIN) BadBitmap();
    L.TopDown = H < 0;
    L.Height = H < 0 ? -H : H;
    Planes = Rd16(P + 12);
    L.Bpp = Rd16(P + 14);
    L.Compression = Rd32(P + 16);
    L.SizeImage = Rd32(P + 20);
    ClrUsed = Rd32(P + 32);
    if (L.HeaderSize >= 52)
      for (int I = 0; I < 3; ++I) L.Masks[I] = Rd32(P + 40 + 4 * I);
  } else {
    BadBitmap();
  }
  if (Planes != 1 || L.Width <= 0 || L.Height <= 0 || L.Width > 0x8000 || L.Height > 0x8000) BadBitmap();
  switch (L.Compression) {
    case BI_RGB:
      if (L.Bpp != 1 && L.Bpp != 4 && L.Bpp != 8 && L.Bpp != 16 && L.Bpp != 24 && L.Bpp != 32) BadBitmap();
      break;
    case BI_RLE8:
      if (L.Bpp != 8 || L.TopDown) BadBitmap();
      break;
    case BI_RLE4:
      if (L.Bpp != 4 || L.TopDown) BadBitmap();
      break;
    case BI_BITFIELDS:
      if (L.Bpp != 16 && L.Bpp != 32) BadBitmap();
      break;
    default:
      BadBitmap();
  }
  L.Stride = StrideOf(L.Width, L.Bpp);
  if (uint64_t(L.Stride) * uint64_t(L.Height) > 0x20000000u) BadBitmap();
  size_t MaskBytes = 0;
  if (L.Compression == BI_BITFIELDS && L.HeaderSize < 52) MaskBytes = 12;
  if (L.Bpp <= 8) {
    size_t Max = size_t(1) << L.Bpp;
    L.ColorEntries = ClrUsed ? ClrUsed : Max;
    if (L.ColorEntries > 256) BadBitmap();
  } else {
    L.ColorEntries = ClrUsed;  // optional table of no use to true-colour images
    if (L.ColorEntries > 0x10000) BadBitmap();
  }
  L.TablesSize = MaskBytes + L.ColorEntries * L.EntrySize;
  return L;
}

int MaskShift(uint32_t M) {
  int S = 0;
  while (!(M & 1)) { M >>= 1; ++S; }
  return S;
}

}  // namespace

// Pixels in DIB layout: bottom-up rows of StrideOf(W, Bpp) bytes.
struct TDibImage {
  int W = 0, H = 0, Bpp = 32;
  bool Is565 = false;
  std::vector<RGBQUAD> Colors;
  std::vector<uint8_t> Bits;
};

namespace bmp_detail {

using Image = TDibImage;

void DecodeRle(const uint8_t* P, const uint8_t* End, const TDibLayout& L, Image& Out) {
  const bool Four = L.Compression == BI_RLE4;
  int X = 0, Y = 0;  // Y counts rows from the bottom, as the buffer stores them
  auto Put = [&](int V) {
    if (X < L.Width && Y < L.Height) {
      uint8_t* Row = Out.Bits.data() + size_t(Y) * size_t(L.Stride);
      if (Four) {
        uint8_t& B = Row[X >> 1];
        B = (X & 1) ? uint8_t((B & 0xF0) | (V & 0x0F)) : uint8_t((B & 0x0F) | (V << 4));
      } else {
        Row[X] = uint8_t(V);
      }
    }
    ++X;
  };
  while (Y < L.Height) {
    if (End - P < 2) BadBitmap();
    int Count = P[0], Value = P[1];
    P += 2;
    if (Count > 0) {
      for (int I = 0; I < Count; ++I) Put(Four ? ((I & 1) ? (Value & 0x0F) : (Value >> 4)) : Value);
      continue;
    }
    if (Value == 0) {  // end of line
      X = 0;
      ++Y;
    } else if (Value == 1) {  // end of bitmap
      break;
    } else if (Value == 2) {  // delta
      if (End - P < 2) BadBitmap();
      X += P[0];
      Y += P[1];
      P += 2;
    } else {  // absolute run of Value pixels, padded to a 16-bit boundary
      size_t Bytes = Four ? size_t(Value + 1) / 2 : size_t(Value);
      size_t Padded = (Bytes + 1) & ~size_t(1);
      if (size_t(End - P) < Bytes) BadBitmap();
      for (int I = 0; I < Value; ++I) Put(Four ? ((I & 1) ? (P[I / 2] & 0x0F) : (P[I / 2] >> 4)) : P[I]);
      P += std::min(Padded, size_t(End - P));
    }
  }
}

void DecodeMasked(const uint8_t* Src, const TDibLayout& L, const uint32_t Masks[3], Image& Out) {
  int Shift[3], Max[3];
  for (int I = 0; I < 3; ++I) {
    Shift[I] = MaskShift(Masks[I]);
    Max[I] = int(Masks[I] >> Shift[I]);
  }
  Out.Bpp = 32;
  const int DStride = StrideOf(L.Width, 32);
  Out.Bits.assign(size_t(DStride) * L.Height, 0);
  for (int Y = 0; Y < L.Height; ++Y) {
    const uint8_t* S = Src + size_t(Y) * L.Stride;
    uint8_t* D = Out.Bits.data() + size_t(Y) * DStride;
    for (int X = 0; X < L.Width; ++X) {
      uint32_t V = L.Bpp == 16 ? Rd16(S + 2 * X) : Rd32(S + 4 * X);
      int C[3];
      for (int I = 0; I < 3; ++I) {
        uint32_t Part = (V & Masks[I]) >> Shift[I];
        C[I] = Max[I] ? int((uint64_t(Part) * 255 + Max[I] / 2) / uint32_t(Max[I])) : 0;
      }
      D[4 * X] = uint8_t(C[2]);
      D[4 * X + 1] = uint8_t(C[1]);
      D[4 * X + 2] = uint8_t(C[0]);
    }
  }
}

// P: info header; N: bytes from P on; PixelStart: offset of the pixels from P.
void DecodeDib(const uint8_t* P, size_t N, const TDibLayout& L, size_t PixelStart, Image& Out) {
  const size_t TablesStart = L.HeaderSize;
  if (TablesStart + L.TablesSize > N || PixelStart < TablesStart + (L.TablesSize - L.ColorEntries * L.EntrySize) ||
      PixelStart > N)
    BadBitmap();
  Out = Image{};
  Out.W = L.Width;
  Out.H = L.Height;
  Out.Bpp = L.Bpp;
  uint32_t Masks[3] = {L.Masks[0], L.Masks[1], L.Masks[2]};
  const uint8_t* T = P + TablesStart;
  if (L.Compression == BI_BITFIELDS && L.HeaderSize < 52) {
    for (int I = 0; I < 3; ++I) Masks[I] = Rd32(T + 4 * I);
    T += 12;
  }
  if (L.Bpp <= 8) {
    // Entries overlapping the pixels (a short table) are not colours.
    size_t Avail = PixelStart >= size_t(T - P) ? (PixelStart - size_t(T - P)) / L.EntrySize : 0;
    size_t Count = std::min({L.ColorEntries, Avail, size_t(1) << L.Bpp});
    Out.Colors.assign(size_t(1) << L.Bpp, RGBQUAD{0, 0, 0, 0});
    for (size_t I = 0; I < Count; ++I)
      Out.Colors[I] = RGBQUAD{T[I * L.EntrySize], T[I * L.EntrySize + 1], T[I * L.EntrySize + 2], 0};
  }
  const uint8_t* Pix = P + PixelStart;
  const size_t PixAvail = N - PixelStart;
  const size_t ImageBytes = size_t(L.Stride) * L.Height;

  if (L.Compression == BI_RLE8 || L.Compression == BI_RLE4) {
    size_t Len = L.SizeImage ? std::min<size_t>(L.SizeImage, PixAvail) : PixAvail;
    Out.Bits.assign(ImageBytes, 0);
    DecodeRle(Pix, Pix + Len, L, Out);
    return;
  }
  if (PixAvail < ImageBytes) BadBitmap();
  bool Standard = true;
  if (L.Compression == BI_BITFIELDS) {
    if (!Masks[0] || !Masks[1] || !Masks[2]) BadBitmap();
    if (L.Bpp == 16 && Masks[0] == 0xF800 && Masks[1] == 0x07E0 && Masks[2] == 0x001F) Out.Is565 = true;
    else if (L.Bpp == 16 && Masks[0] == 0x7C00 && Masks[1] == 0x03E0 && Masks[2] == 0x001F) Out.Is565 = false;
    else if (L.Bpp == 32 && Masks[0] == 0xFF0000 && Masks[1] == 0xFF00 && Masks[2] == 0xFF) Out.Is565 = false;
    else Standard = false;
  }
  // Rows in bottom-up order.
  std::vector<uint8_t> Rows(ImageBytes);
  for (int Y = 0; Y < L.Height; ++Y) {
    int SrcRow = L.TopDown ? L.Height - 1 - Y : Y;
    std::memcpy(Rows.data() + size_t(Y) * L.Stride, Pix + size_t(SrcRow) * L.Stride, size_t(L.Stride));
  }
  if (Standard) {
    Out.Bits = std::move(Rows);
  } else {
    DecodeMasked(Rows.data(), L, Masks, Out);
  }
}

// A whole BMP file in memory.
void DecodeBmpFile(const uint8_t* P, size_t N, Image& Out) {
  if (N < 18 || P[0] != 'B' || P[1] != 'M') BadBitmap();
  uint32_t OffBits = Rd32(P + 10);
  TDibLayout L = ParseLayout(P + 14, N - 14);
  size_t PixelStart = OffBits ? size_t(OffBits) : 14 + L.HeaderSize + L.TablesSize;
  if (PixelStart < 14) BadBitmap();
  DecodeDib(P + 14, N - 14, L, PixelStart - 14, Out);
}

}  // namespace bmp_detail

using namespace bmp_detail;

// ---------------------------------------------------------------------------------------------
// Bitmap canvas

TBitmapCanvas::TBitmapCanvas(TBitmap* Bitmap) : FBitmap(Bitmap) {
  OnChange = TNotifyEvent::Bind<&TBitmap::CanvasChanged>(Bitmap);
  OnChanging = TNotifyEvent::Bind<&TBitmap::CanvasChanging>(Bitmap);
  std::lock_guard G(CanvasListLock);
  CanvasList().push_back(this);
}

TBitmapCanvas::~TBitmapCanvas() {
  FreeContext();
  std::lock_guard G(CanvasListLock);
  auto& L = CanvasList();
  L.erase(std::remove(L.begin(), L.end(), this), L.end());
}

void TBitmapCanvas::CreateHandle() {
  FBitmap->Wake();
  HDC DC = CreateCompatibleDC(nullptr);
  if (!DC) NoResources();
  FOldBitmap = FBitmap->FDib ? SelectObject(DC, FBitmap->FDib.Get()) : nullptr;
  SetHandle(DC);
}

void TBitmapCanvas::FreeContext() {
  HDC DC = DCHandle();
  if (!DC) return;
  SetHandle(nullptr);
  if (FOldBitmap) SelectObject(DC, FOldBitmap);
  FOldBitmap = nullptr;
  DeleteDC(DC);
}

void FreeMemoryContexts() {
  std::lock_guard G(CanvasListLock);
  for (TBitmapCanvas* C : CanvasList()) {
    if (!C->TryLock()) continue;
    if (C->LockCount() == 1) C->FreeContext();  // not in use further up this thread either
    C->Unlock();
  }
}

// ---------------------------------------------------------------------------------------------
// Bitmap

ORV_IMPLEMENT_CLASS(TBitmap, TGraphic)

TBitmap::TBitmap() {
  TScreenFormat S = ScreenFormat();
  FBpp = S.Bpp;
  F565 = S.Is565;
}

TBitmap::~TBitmap() {
  TObject::Free(FCanvas);  // gives the DIB section back from its DC
  FCanvas = nullptr;
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = new TBitmapCanvas(this);
  return FCanvas;
}

HDC TBitmap::SourceDC() {
  Canvas();
  FCanvas->RequiredState(TCanvas::csHandleValid);
  return FCanvas->FHandle;
}

void TBitmap::FreeContext() {
  if (FCanvas) FCanvas->FreeContext();
}

HBITMAP TBitmap::Handle() const {
  const_cast<TBitmap*>(this)->Wake();
  return FDib.Get();
}

void TBitmap::Dormant() {
  if (!FDib) return;
  FreeContext();
  GdiFlush();
  FDormantBits.assign(FBits, FBits + size_t(FStride) * FHeight);
  FMask.Reset();
  FPalette.Reset();
  FDib.Reset();
  FBits = FDormantBits.data();
}

void TBitmap::Wake() {
  if (FDib || FDormantBits.empty()) return;
  void* Bits = nullptr;
  HBITMAP Dib = MakeDib(FWidth, FHeight, FBpp, F565, FColors.data(), int(FColors.size()), &Bits);
  if (!Dib) NoResources();
  auto* To = static_cast<uint8_t*>(Bits);
  if (FTopDown) {
    // The new section is bottom-up.
    for (int Y = 0; Y < FHeight; ++Y)
      std::memcpy(To + size_t(FHeight - 1 - Y) * FStride, FDormantBits.data() + size_t(Y) * FStride, size_t(FStride));
    FTopDown = false;
  } else {
    std::memcpy(To, FDormantBits.data(), FDormantBits.size());
  }
  FDib.Reset(Dib);
  FBits = To;
  std::vector<uint8_t>().swap(FDormantBits);
}

void TBitmap::Clear() {
  FreeContext();
  FMask.Reset();
  FPalette.Reset();
  FDib.Reset();
  FBits = nullptr;
  std::vector<uint8_t>().swap(FDormantBits);
  FTopDown = false;
  FStride = 0;
}

void TBitmap::CanvasChanged(TObject*) { Changed(this); }

void TBitmap::CanvasChanging(TObject*) {}

void TBitmap::Changed(TObject* Sender) {
  FMask.Reset();
  TGraphic::Changed(Sender);
}

void TBitmap::NewImage(int W, int H, int Bpp, bool Is565, const RGBQUAD* Colors, int ColorCount) {
  void* Bits = nullptr;
  HBITMAP Dib = MakeDib(W, H, Bpp, Is565, Colors, ColorCount, &Bits);
  if (!Dib) NoResources();
  FreeContext();
  FMask.Reset();
  FPalette.Reset();
  FDib.Reset(Dib);
  FBits = static_cast<uint8_t*>(Bits);
  std::vector<uint8_t>().swap(FDormantBits);
  FWidth = W;
  FHeight = H;
  FBpp = Bpp;
  F565 = Bpp == 16 && Is565;
  FTopDown = false;
  FStride = StrideOf(W, Bpp);
  if (Bpp <= 8) {
    FColors.assign(Colors, Colors + std::min(ColorCount, 1 << Bpp));
    FColors.resize(size_t(1) << Bpp, RGBQUAD{0, 0, 0, 0});
  } else {
    FColors.clear();
  }
}

void TBitmap::AdoptImage(TDibImage& Img) {
  NewImage(Img.W, Img.H, Img.Bpp, Img.Is565, Img.Colors.data(), int(Img.Colors.size()));
  std::memcpy(FBits, Img.Bits.data(), std::min(Img.Bits.size(), size_t(FStride) * FHeight));
}

// Copies the old pixels into a new section of another format (GDI maps the colours).
void TBitmap::ConvertTo(int Bpp, bool Is565, const std::vector<RGBQUAD>& Colors) {
  if (Bpp != 16) Is565 = false;
  if (Empty()) {
    FBpp = Bpp;
    F565 = Is565;
    FColors = Colors;
    return;
  }
  auto SameColors = [&] {
    return Colors.size() == FColors.size() &&
           (Colors.empty() || std::memcmp(Colors.data(), FColors.data(), Colors.size() * sizeof(RGBQUAD)) == 0);
  };
  if (Bpp == FBpp && Is565 == F565 && (Bpp > 8 || SameColors())) return;
  Wake();
  FreeContext();
  TBitmapOwner Old(FDib.Release());
  const int W = FWidth, H = FHeight;
  try {
    NewImage(W, H, Bpp, Is565, Colors.data(), int(Colors.size()));
  } catch (...) {
    FDib.Reset(Old.Release());
    throw;
  }
  TMemoryDC Src, Dst;
  TSelectGuard S1(Src, Old), S2(Dst, FDib.Get());
  BitBlt(Dst, 0, 0, W, H, Src, 0, 0, SRCCOPY);
  GdiFlush();
}

std::vector<COLORREF> TBitmap::ReadRGB() {
  std::vector<COLORREF> Out;
  if (Empty()) return Out;
  GdiFlush();
  Out.resize(size_t(FWidth) * FHeight);
  auto FromQuad = [](const RGBQUAD& Q) { return RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue); };
  for (int Y = 0; Y < FHeight; ++Y) {
    const uint8_t* Row = FTopDown ? FBits + size_t(Y) * FStride : FBits + size_t(FHeight - 1 - Y) * FStride;
    COLORREF* D = Out.data() + size_t(Y) * FWidth;
    for (int X = 0; X < FWidth; ++X) {
      switch (FBpp) {
        case 1: D[X] = FromQuad(FColors[(Row[X >> 3] >> (7 - (X & 7))) & 1]); break;
        case 4: D[X] = FromQuad(FColors[(X & 1) ? (Row[X >> 1] & 0x0F) : (Row[X >> 1] >> 4)]); break;
        case 8: D[X] = FromQuad(FColors[Row[X]]); break;
        case 16: {
          unsigned V = Rd16(Row + 2 * X);
          unsigned R, G, B;
          if (F565) { R = (V >> 11) & 31; G = (V >> 5) & 63; B = V & 31; G = (G << 2) | (G >> 4); }
          else { R = (V >> 10) & 31; G = (V >> 5) & 31; B = V & 31; G = (G << 3) | (G >> 2); }
          D[X] = RGB((R << 3) | (R >> 2), G, (B << 3) | (B >> 2));
          break;
        }
        case 24: D[X] = RGB(Row[3 * X + 2], Row[3 * X + 1], Row[3 * X]); break;
        default: D[X] = RGB(Row[4 * X + 2], Row[4 * X + 1], Row[4 * X]); break;
      }
    }
  }
  return Out;
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  if (AWidth == 0 || AHeight == 0) {
    Clear();
    FWidth = AWidth;
    FHeight = AHeight;
    Changed(this);
    return;
  }
  if (FBpp <= 8 && FColors.size() != (size_t(1) << FBpp)) FColors = DefaultColors(FBpp);
  Wake();
  FreeContext();
  TBitmapOwner Old(FDib.Release());
  const int OldW = FWidth, OldH = FHeight;
  std::vector<RGBQUAD> Colors = FColors;
  try {
    NewImage(AWidth, AHeight, FBpp, F565, Colors.data(), int(Colors.size()));
  } catch (...) {
    FDib.Reset(Old.Release());
    throw;
  }
  {
    TMemoryDC Dst;
    TSelectGuard S2(Dst, FDib.Get());
    RECT R{0, 0, AWidth, AHeight};
    ::FillRect(Dst, &R, FCanvas ? FCanvas->Brush()->Handle() : HBRUSH(GetStockObject(WHITE_BRUSH)));
    if (Old) {
      TMemoryDC Src;
      TSelectGuard S1(Src, Old);
      BitBlt(Dst, 0, 0, std::min(OldW, AWidth), std::min(OldH, AHeight), Src, 0, 0, SRCCOPY);
    }
    GdiFlush();
  }
  Changed(this);
}

TPixelFormat TBitmap::PixelFormat() const {
  if (FHandleType == bmDDB) return pfDevice;
  switch (FBpp) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return F565 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
  }
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == PixelFormat()) return;
  switch (Value) {
    case pfDevice: {
      TScreenFormat S = ScreenFormat();
      if (FBpp != 1) ConvertTo(S.Bpp, S.Is565, {});
      FHandleType = bmDDB;
      break;
    }
    case pf1bit:
    case pf4bit:
    case pf8bit: {
      int Bpp = Value == pf1bit ? 1 : Value == pf4bit ? 4 : 8;
      FHandleType = bmDIB;
      if (Bpp != FBpp) ConvertTo(Bpp, false, DefaultColors(Bpp));
      break;
    }
    case pf15bit: FHandleType = bmDIB; ConvertTo(16, false, {}); break;
    case pf16bit: FHandleType = bmDIB; ConvertTo(16, true, {}); break;
    case pf24bit: FHandleType = bmDIB; ConvertTo(24, false, {}); break;
    case pf32bit: FHandleType = bmDIB; ConvertTo(32, false, {}); break;
    default: throw EInvalidGraphic("Invalid pixel format");
  }
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == FHandleType) return;
  if (Value == bmDDB && FBpp != 1) {
    TScreenFormat S = ScreenFormat();
    ConvertTo(S.Bpp, S.Is565, {});
  }
  FHandleType = Value;
  Changed(this);
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == Monochrome()) return;
  if (Value) {
    if (Empty()) {
      FBpp = 1;
      F565 = false;
      FColors = DefaultColors(1);
    } else {
      // A pixel of the background (brush) colour becomes white, any other black.
      COLORREF Bk = COLORREF(ColorToRGB(FCanvas ? FCanvas->Brush()->Color() : clWhite)) & 0xFFFFFF;
      std::vector<COLORREF> Px = ReadRGB();
      Image Img;
      Img.W = FWidth;
      Img.H = FHeight;
      Img.Bpp = 1;
      Img.Colors = DefaultColors(1);
      const int Stride = StrideOf(FWidth, 1);
      Img.Bits.assign(size_t(Stride) * FHeight, 0);
      for (int Y = 0; Y < FHeight; ++Y) {
        uint8_t* Row = Img.Bits.data() + size_t(FHeight - 1 - Y) * Stride;
        for (int X = 0; X < FWidth; ++X)
          if (Px[size_t(Y) * FWidth + X] == Bk) Row[X >> 3] |= uint8_t(0x80 >> (X & 7));
      }
      AdoptImage(Img);
    }
  } else {
    TScreenFormat S = ScreenFormat();
    if (Empty()) {
      FBpp = S.Bpp;
      F565 = S.Is565;
      FColors.clear();
    } else {
      // Black takes the font colour and white the brush colour, as on a device bitmap.
      std::vector<COLORREF> Px = ReadRGB();
      if (IsBlackWhite(FColors)) {
        COLORREF Fg = COLORREF(ColorToRGB(FCanvas ? FCanvas->Font()->Color() : clBlack)) & 0xFFFFFF;
        COLORREF Bg = COLORREF(ColorToRGB(FCanvas ? FCanvas->Brush()->Color() : clWhite)) & 0xFFFFFF;
        for (COLORREF& C : Px) C = C ? Bg : Fg;
      }
      Image Img;
      Img.W = FWidth;
      Img.H = FHeight;
      Img.Bpp = 32;
      const int Stride = StrideOf(FWidth, 32);
      Img.Bits.assign(size_t(Stride) * FHeight, 0);
      for (int Y = 0; Y < FHeight; ++Y) {
        uint8_t* Row = Img.Bits.data() + size_t(FHeight - 1 - Y) * Stride;
        for (int X = 0; X < FWidth; ++X) {
          COLORREF C = Px[size_t(Y) * FWidth + X];
          Row[4 * X] = GetBValue(C);
          Row[4 * X + 1] = GetGValue(C);
          Row[4 * X + 2] = GetRValue(C);
        }
      }
      AdoptImage(Img);
      if (S.Bpp != 32) ConvertTo(S.Bpp, S.Is565, {});
    }
    FHandleType = bmDDB;
  }
  Changed(this);
}

void* TBitmap::ScanLine(int Y) {
  if (Empty() || Y < 0 || Y >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
  FMask.Reset();  // the caller may change the pixels
  return const_cast<uint8_t*>(PixelRow(Y));
}

TBitmapOwner NewDib32(int W, int H, uint32_t*& Bits) {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = W;
  Info.bmiHeader.biHeight = -H;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* P = nullptr;
  TBitmapOwner Dib(CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &P, nullptr, 0));
  if (!Dib || !P) NoResources();
  Bits = static_cast<uint32_t*>(P);
  return Dib;
}

const uint8_t* TBitmap::PixelRow(int Y) const {
  if (Empty() || Y < 0 || Y >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
  GdiFlush();
  return FTopDown ? FBits + size_t(Y) * FStride : FBits + size_t(FHeight - 1 - Y) * FStride;
}

TBitmap* TBitmap::OfCanvas(TCanvas* Canvas) {
  auto* C = dynamic_cast<TBitmapCanvas*>(Canvas);
  return C ? C->Bitmap() : nullptr;
}

HPALETTE TBitmap::Palette() {
  if (!FPalette && FBpp <= 8 && !FColors.empty()) {
    std::vector<uint8_t> Buf(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    auto* LP = reinterpret_cast<LOGPALETTE*>(Buf.data());
    LP->palVersion = 0x300;
    LP->palNumEntries = WORD(FColors.size());
    for (size_t I = 0; I < FColors.size(); ++I)
      LP->palPalEntry[I] = PALETTEENTRY{FColors[I].rgbRed, FColors[I].rgbGreen, FColors[I].rgbBlue, 0};
    FPalette.Reset(CreatePalette(LP));
  }
  return FPalette.Get();
}

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == FDib.Get() && FDormantBits.empty()) return;
  if (!Value) {
    Clear();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  TBitmapOwner Given(Value);
  DIBSECTION DS{};
  int N = GetObjectA(Value, sizeof(DS), &DS);
  if (N < int(sizeof(BITMAP)) || DS.dsBm.bmWidth <= 0 || DS.dsBm.bmHeight <= 0) BadBitmap();
  const int W = DS.dsBm.bmWidth, H = DS.dsBm.bmHeight;
  bool IsDib = N == int(sizeof(DIBSECTION)) && DS.dsBm.bmBits;
  int Bpp = IsDib ? DS.dsBmih.biBitCount : DS.dsBm.bmBitsPixel * DS.dsBm.bmPlanes;
  bool Standard = IsDib && (Bpp == 1 || Bpp == 4 || Bpp == 8 || Bpp == 24 || Bpp == 32 || Bpp == 16);
  bool Is565 = false;
  if (Standard && DS.dsBmih.biCompression == BI_BITFIELDS) {
    const DWORD* M = DS.dsBitfields;
    if (Bpp == 16 && M[0] == 0xF800 && M[1] == 0x07E0 && M[2] == 0x001F) Is565 = true;
    else if (!(Bpp == 16 && M[0] == 0x7C00 && M[1] == 0x03E0 && M[2] == 0x1F) &&
             !(Bpp == 32 && M[0] == 0xFF0000 && M[1] == 0xFF00 && M[2] == 0xFF))
      Standard = false;
  } else if (Standard && DS.dsBmih.biCompression != BI_RGB) {
    Standard = false;
  }
  Clear();
  if (Standard) {
    std::vector<RGBQUAD> Colors;
    if (Bpp <= 8) {
      Colors.assign(size_t(1) << Bpp, RGBQUAD{0, 0, 0, 0});
      TMemoryDC DC;
      TSelectGuard Sel(DC, Value);
      GetDIBColorTable(DC, 0, UINT(Colors.size()), Colors.data());
    }
    FDib.Reset(Given.Release());
    FBits = static_cast<uint8_t*>(DS.dsBm.bmBits);
    FWidth = W;
    FHeight = H;
    FBpp = Bpp;
    F565 = Is565;
    FTopDown = FirstRowOnTop(Value, DS);
    FStride = StrideOf(W, Bpp);
    FColors = std::move(Colors);
    FHandleType = bmDIB;
  } else {
    // A device bitmap (or an unusual section): copy into a section of the screen's format.
    TScreenFormat S = IsDib ? TScreenFormat{32, false} : ScreenFormat();
    if (!IsDib && Bpp == 1) S = TScreenFormat{1, false};
    std::vector<RGBQUAD> Colors = DefaultColors(S.Bpp);
    NewImage(W, H, S.Bpp, S.Is565, Colors.data(), int(Colors.size()));
    TMemoryDC Src, Dst;
    TSelectGuard S1(Src, Value), S2(Dst, FDib.Get());
    BitBlt(Dst, 0, 0, W, H, Src, 0, 0, SRCCOPY);
    GdiFlush();
    FHandleType = IsDib ? bmDIB : bmDDB;
  }
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  Wake();
  FreeContext();
  HBITMAP H = FDib.Release();
  Clear();
  FWidth = FHeight = 0;
  return H;
}

TColor TBitmap::TransparentColor() {
  if (FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  if (Monochrome()) return clWhite;
  GdiFlush();
  std::vector<COLORREF> Px = ReadRGB();
  return TColor(Px[size_t(FHeight - 1) * FWidth]);
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmAuto) SetTransparentColor(clDefault);
  else SetTransparentColor(TransparentColor());
}

HBITMAP TBitmap::MaskHandle() {
  if (!FMask && !Empty()) {
    TBitmapOwner Mask(CreateBitmap(FWidth, FHeight, 1, 1, nullptr));
    TMemoryDC DC;
    if (!Mask || !DC) NoResources();
    COLORREF Key = COLORREF(ColorToRGB(TransparentColor()));
    HDC Src = SourceDC();
    TSelectGuard Sel(DC, Mask);
    COLORREF OldBk = SetBkColor(Src, Key);
    BitBlt(DC, 0, 0, FWidth, FHeight, Src, 0, 0, SRCCOPY);
    SetBkColor(Src, OldBk);
    Sel.Restore();
    FMask = std::move(Mask);
  }
  return FMask.Get();
}

HBITMAP TBitmap::ReleaseMaskHandle() {
  MaskHandle();
  return FMask.Release();
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  ACanvas->Changing();
  ACanvas->RequiredState(TCanvas::csHandleValid | TCanvas::csFontValid | TCanvas::csBrushValid);
  HDC Dst = ACanvas->FHandle;
  HDC Src = SourceDC();
  int OldMode = SetStretchBltMode(Dst, COLORONCOLOR);
  if (Transparent()) {
    COLORREF Key = COLORREF(ColorToRGB(TransparentColor())) & 0xFFFFFF;
    TransparentBlt(Dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Src, 0, 0, FWidth, FHeight, Key);
  } else {
    StretchBlt(Dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Src, 0, 0, FWidth, FHeight,
               DWORD(ACanvas->CopyMode()));
  }
  if (OldMode) SetStretchBltMode(Dst, OldMode);
  ACanvas->Changed();
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    Clear();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  if (auto* B = dynamic_cast<TBitmap*>(Source)) {
    if (B->Empty()) {
      Clear();
      FWidth = B->FWidth;
      FHeight = B->FHeight;
      FBpp = B->FBpp;
      F565 = B->F565;
      FColors = B->FColors;
    } else {
      GdiFlush();
      Image Img;
      Img.W = B->FWidth;
      Img.H = B->FHeight;
      Img.Bpp = B->FBpp;
      Img.Is565 = B->F565;
      Img.Colors = B->FColors;
      Img.Bits.resize(size_t(B->FStride) * B->FHeight);
      for (int Y = 0; Y < B->FHeight; ++Y) {
        int SrcRow = B->FTopDown ? B->FHeight - 1 - Y : Y;
        std::memcpy(Img.Bits.data() + size_t(Y) * B->FStride, B->FBits + size_t(SrcRow) * B->FStride,
                    size_t(B->FStride));
      }
      AdoptImage(Img);
    }
    FHandleType = B->FHandleType;
    FTransparentColor = B->FTransparentColor;
    FTransparentMode = B->FTransparentMode;
    TGraphic::SetTransparent(B->Transparent());
    Changed(this);
    return;
  }
  if (auto* G = dynamic_cast<TGraphic*>(Source)) {
    // Any other graphic: drawn onto a white bitmap of its size.
    TScreenFormat S = ScreenFormat();
    Clear();
    FBpp = S.Bpp;
    F565 = S.Is565;
    FColors.clear();
    FHandleType = bmDDB;
    FWidth = FHeight = 0;
    if (!G->Empty()) {
      NewImage(G->Width(), G->Height(), S.Bpp, S.Is565, nullptr, 0);
      RECT R{0, 0, FWidth, FHeight};
      ::FillRect(SourceDC(), &R, HBRUSH(GetStockObject(WHITE_BRUSH)));
      G->Draw(Canvas(), Rect(0, 0, FWidth, FHeight));
    }
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

// BMP files

void TBitmap::LoadFromStream(TStream* Stream) {
  int64_t Remaining = Stream->Size() - Stream->Position();
  if (Remaining <= 0) {
    Clear();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  // File header, info header, tables, then exactly the pixel data they describe.
  std::vector<uint8_t> Buf(18);
  if (Remaining < 18 || Stream->Read(Buf.data(), 18) != 18) BadBitmap();
  if (Buf[0] != 'B' || Buf[1] != 'M') BadBitmap();
  uint32_t HeaderSize = Rd32(Buf.data() + 14);
  if (HeaderSize != 12 && (HeaderSize < 40 || HeaderSize > 1024)) BadBitmap();
  auto ReadMore = [&](size_t Total) {
    if (Total > size_t(Remaining)) BadBitmap();
    size_t Have = Buf.size();
    if (Total <= Have) return;
    Buf.resize(Total);
    if (Stream->Read(Buf.data() + Have, int(Total - Have)) != int(Total - Have)) BadBitmap();
  };
  ReadMore(14 + HeaderSize);
  TDibLayout L = ParseLayout(Buf.data() + 14, HeaderSize);
  uint32_t OffBits = Rd32(Buf.data() + 10);
  size_t TablesEnd = 14 + HeaderSize + L.TablesSize;
  size_t PixelStart = OffBits ? size_t(OffBits) : TablesEnd;
  size_t ImageBytes;
  if (L.Compression == BI_RLE8 || L.Compression == BI_RLE4) {
    if (!L.SizeImage) BadBitmap();
    ImageBytes = L.SizeImage;
  } else {
    ImageBytes = size_t(L.Stride) * L.Height;
  }
  if (PixelStart > size_t(Remaining)) BadBitmap();
  ReadMore(std::max(TablesEnd, PixelStart + ImageBytes));
  Image Img;
  DecodeBmpFile(Buf.data(), Buf.size(), Img);
  AdoptImage(Img);
  FHandleType = bmDIB;
  Changed(this);
}

void TBitmap::LoadFromDIB(const void* Data, size_t Size) {
  const auto* P = static_cast<const uint8_t*>(Data);
  TDibLayout L = ParseLayout(P, Size);
  Image Img;
  DecodeDib(P, Size, L, L.HeaderSize + L.TablesSize, Img);
  AdoptImage(Img);
  FHandleType = bmDIB;
  Changed(this);
}

size_t TBitmap::DIBPixelOffset(const void* Data, size_t Size) {
  const TDibLayout L = ParseLayout(static_cast<const uint8_t*>(Data), Size);
  return L.HeaderSize + L.TablesSize;
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName) {
  HRSRC Res = FindResourceA(Instance, ResName.c_str(), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  HGLOBAL Mem = Res ? LoadResource(Instance, Res) : nullptr;
  const void* Data = Mem ? LockResource(Mem) : nullptr;
  if (!Data) throw EResNotFound(Format("Resource %s not found", {ResName}));
  LoadFromDIB(Data, SizeofResource(Instance, Res));
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID) {
  HRSRC Res = FindResourceA(Instance, MAKEINTRESOURCEA(ResID), MAKEINTRESOURCEA(2));
  HGLOBAL Mem = Res ? LoadResource(Instance, Res) : nullptr;
  const void* Data = Mem ? LockResource(Mem) : nullptr;
  if (!Data) throw EResNotFound(Format("Resource %d not found", {ResID}));
  LoadFromDIB(Data, SizeofResource(Instance, Res));
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (Empty()) return;
  GdiFlush();
  const uint32_t Colors = FBpp <= 8 ? uint32_t(FColors.size()) : 0;
  const uint32_t MaskBytes = (FBpp == 16 && F565) ? 12 : 0;
  const uint32_t OffBits = 14 + 40 + MaskBytes + 4 * Colors;
  const uint32_t ImageBytes = uint32_t(FStride) * uint32_t(FHeight);
  std::vector<uint8_t> H;
  H.reserve(OffBits);
  // BITMAPFILEHEADER
  H.push_back('B');
  H.push_back('M');
  Put32(H, OffBits + ImageBytes);
  Put32(H, 0);
  Put32(H, OffBits);
  // BITMAPINFOHEADER
  Put32(H, 40);
  Put32(H, uint32_t(FWidth));
  Put32(H, uint32_t(FHeight));
  Put16(H, 1);
  Put16(H, uint32_t(FBpp));
  Put32(H, MaskBytes ? BI_BITFIELDS : BI_RGB);
  Put32(H, ImageBytes);
  Put32(H, 0);
  Put32(H, 0);
  Put32(H, Colors);
  Put32(H, 0);
  if (MaskBytes) {
    Put32(H, 0xF800);
    Put32(H, 0x07E0);
    Put32(H, 0x001F);
  }
  for (uint32_t I = 0; I < Colors; ++I) {
    H.push_back(FColors[I].rgbBlue);
    H.push_back(FColors[I].rgbGreen);
    H.push_back(FColors[I].rgbRed);
    H.push_back(0);
  }
  Stream->WriteBuffer(H.data(), int(H.size()));
  if (FTopDown) {
    for (int Y = FHeight - 1; Y >= 0; --Y) Stream->WriteBuffer(FBits + size_t(Y) * FStride, FStride);
  } else {
    Stream->WriteBuffer(FBits, int(ImageBytes));
  }
}

void TBitmap::ReadData(TStream* Stream) {
  uint8_t Count[4];
  if (Stream->Read(Count, 4) != 4) BadBitmap();
  uint32_t Size = Rd32(Count);
  if (Size == 0) {
    Clear();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  int64_t Remaining = Stream->Size() - Stream->Position();
  if (int64_t(Size) > Remaining) BadBitmap();
  std::vector<uint8_t> Data(Size);
  Stream->ReadBuffer(Data.data(), int(Size));
  Image Img;
  DecodeBmpFile(Data.data(), Data.size(), Img);
  AdoptImage(Img);
  FHandleType = bmDIB;
  Changed(this);
}

void TBitmap::WriteData(TStream* Stream) {
  TMemoryStream M;
  TBitmap::SaveToStream(&M);  // always a BMP file, also for descendants that save another format
  uint8_t Count[4];
  uint32_t Size = uint32_t(M.Size());
  for (int I = 0; I < 4; ++I) Count[I] = uint8_t(Size >> (8 * I));
  Stream->WriteBuffer(Count, 4);
  if (Size) Stream->WriteBuffer(M.Memory(), int(Size));
}
