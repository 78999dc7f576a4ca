// TMetafile: enhanced metafiles, loaded from .emf files and placeable .wmf files.
#include "vcl/Graphics.h"

#include <climits>
#include <cstring>
#include <vector>

namespace {

[[noreturn]] void BadMetafile() { throw EInvalidGraphic("Metafile is not valid"); }

uint16_t Rd16(const uint8_t* P) { return uint16_t(P[0] | (P[1] << 8)); }
uint32_t Rd32(const uint8_t* P) {
  return uint32_t(P[0]) | (uint32_t(P[1]) << 8) | (uint32_t(P[2]) << 16) | (uint32_t(P[3]) << 24);
}

constexpr int HundredthMMPerInch = 2540;
constexpr uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr size_t PlaceableHeaderSize = 22;
constexpr size_t EmfHeaderSize = 88;        // ENHMETAHEADER up to szlMillimeters
constexpr size_t WmfHeaderSize = 18;        // METAHEADER
constexpr uint32_t EmfSignature = 0x464D4520;  // " EMF"

// Bytes of Count from Stream, or an invalid metafile.
std::vector<uint8_t> ReadBytes(TStream* Stream, size_t Count) {
  std::vector<uint8_t> Data(Count);
  if (Count > size_t(INT_MAX) || Stream->Read(Data.data(), int(Count)) != int(Count)) BadMetafile();
  return Data;
}

// The records of an enhanced metafile lie within its bytes and end with EMR_EOF.
void CheckEmfRecords(const std::vector<uint8_t>& D) {
  size_t At = 0;
  uint32_t Type = 0;
  while (At < D.size()) {
    if (D.size() - At < 8) BadMetafile();
    Type = Rd32(&D[At]);
    const uint32_t Size = Rd32(&D[At + 4]);
    if (Size < 8 || Size % 4 || Size > D.size() - At) BadMetafile();
    if ((At == 0) != (Type == EMR_HEADER)) BadMetafile();
    At += Size;
  }
  if (Type != EMR_EOF) BadMetafile();
}

// The records of a Windows metafile (after its 18-byte header) lie within it and end with the
// 3-word end record.
void CheckWmfRecords(const std::vector<uint8_t>& D) {
  size_t At = WmfHeaderSize;
  bool End = false;
  while (At < D.size() && !End) {
    if (D.size() - At < 6) BadMetafile();
    const uint64_t Size = uint64_t(Rd32(&D[At])) * 2;
    if (Size < 6 || Size > D.size() - At) BadMetafile();
    End = Rd16(&D[At + 4]) == 0;
    At += size_t(Size);
  }
  if (!End) BadMetafile();
}

HENHMETAFILE ReadEnhanced(TStream* Stream, int64_t Remaining) {
  if (Remaining < int64_t(EmfHeaderSize)) BadMetafile();
  std::vector<uint8_t> Head = ReadBytes(Stream, EmfHeaderSize);
  const uint32_t HeaderSize = Rd32(&Head[4]), Total = Rd32(&Head[48]);
  if (Rd32(&Head[0]) != EMR_HEADER || Rd32(&Head[40]) != EmfSignature || HeaderSize < EmfHeaderSize ||
      Total < HeaderSize || Total > Remaining)
    BadMetafile();
  std::vector<uint8_t> Data = ReadBytes(Stream, Total - EmfHeaderSize);
  Data.insert(Data.begin(), Head.begin(), Head.end());
  CheckEmfRecords(Data);
  HENHMETAFILE H = SetEnhMetaFileBits(UINT(Data.size()), Data.data());
  if (!H) BadMetafile();
  return H;
}

// A placeable Windows metafile: its 22-byte header gives the picture's bounds in units of
// 1/Inch inch; the metafile is converted to an enhanced one of that frame.
HENHMETAFILE ReadPlaceable(TStream* Stream, int64_t Remaining) {
  if (Remaining < int64_t(PlaceableHeaderSize + WmfHeaderSize)) BadMetafile();
  std::vector<uint8_t> P = ReadBytes(Stream, PlaceableHeaderSize);
  uint16_t Sum = 0;
  for (size_t I = 0; I < 20; I += 2) Sum ^= Rd16(&P[I]);
  const int Left = int16_t(Rd16(&P[6])), Top = int16_t(Rd16(&P[8]));
  const int Right = int16_t(Rd16(&P[10])), Bottom = int16_t(Rd16(&P[12]));
  const int Inch = Rd16(&P[14]);
  if (Sum != Rd16(&P[20]) || Inch == 0 || Right <= Left || Bottom <= Top) BadMetafile();
  std::vector<uint8_t> Head = ReadBytes(Stream, WmfHeaderSize);
  const uint16_t Type = Rd16(&Head[0]), HeaderWords = Rd16(&Head[2]);
  const uint64_t Total = uint64_t(Rd32(&Head[6])) * 2;
  if ((Type != 1 && Type != 2) || HeaderWords != WmfHeaderSize / 2 || Total < WmfHeaderSize ||
      Total > uint64_t(Remaining) - PlaceableHeaderSize)
    BadMetafile();
  std::vector<uint8_t> Data = ReadBytes(Stream, size_t(Total) - WmfHeaderSize);
  Data.insert(Data.begin(), Head.begin(), Head.end());
  CheckWmfRecords(Data);
  METAFILEPICT Pict{MM_ANISOTROPIC, MulDiv(Right - Left, HundredthMMPerInch, Inch),
                    MulDiv(Bottom - Top, HundredthMMPerInch, Inch), nullptr};
  TWindowDC Screen;
  HENHMETAFILE H = SetWinMetaFileBits(UINT(Data.size()), Data.data(), Screen, &Pict);
  if (!H) BadMetafile();
  return H;
}

struct TScreenScale {
  int PixelsX, PixelsY;  // per inch
  TScreenScale() {
    TWindowDC Screen;
    PixelsX = Screen ? GetDeviceCaps(Screen, LOGPIXELSX) : 96;
    PixelsY = Screen ? GetDeviceCaps(Screen, LOGPIXELSY) : 96;
    if (PixelsX <= 0) PixelsX = 96;
    if (PixelsY <= 0) PixelsY = 96;
  }
};

}  // namespace

ORV_IMPLEMENT_CLASS(TMetafile, TGraphic)

TMetafile::~TMetafile() = default;

void TMetafile::Adopt(TEnhMetaFileOwner Handle) {
  int W = 0, H = 0;
  if (Handle) {
    ENHMETAHEADER Header{};
    if (GetEnhMetaFileHeader(Handle, sizeof Header, &Header) < 8 || Header.iType != EMR_HEADER) BadMetafile();
    const TScreenScale S;
    W = MulDiv(Header.rclFrame.right - Header.rclFrame.left, S.PixelsX, HundredthMMPerInch);
    H = MulDiv(Header.rclFrame.bottom - Header.rclFrame.top, S.PixelsY, HundredthMMPerInch);
  }
  FHandle = std::move(Handle);
  FPalette.Reset();
  FPaletteRead = false;
  FWidth = W;
  FHeight = H;
  Changed(this);
}

void TMetafile::Clear() { Adopt(TEnhMetaFileOwner()); }

void TMetafile::SetHandle(HENHMETAFILE Value) {
  if (Value == FHandle.Get()) return;
  Adopt(TEnhMetaFileOwner(Value));
}

HENHMETAFILE TMetafile::ReleaseHandle() {
  HENHMETAFILE H = FHandle.Release();
  Adopt(TEnhMetaFileOwner());
  return H;
}

void TMetafile::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    Clear();
    return;
  }
  if (auto* M = dynamic_cast<TMetafile*>(Source)) {
    TEnhMetaFileOwner Copy;
    if (M->FHandle) {
      Copy.Reset(CopyEnhMetaFileA(M->FHandle, nullptr));
      if (!Copy) throw EOutOfResources("Out of system resources");
    }
    Adopt(std::move(Copy));
    // The copy keeps the size the source shows, also when that was rounded from its frame.
    FWidth = M->FWidth;
    FHeight = M->FHeight;
    return;
  }
  TGraphic::Assign(Source);
}

// Records the picture again, stretched over a frame of the new size.
void TMetafile::Resize(int AWidth, int AHeight) {
  if (AWidth == FWidth && AHeight == FHeight) return;
  if (!FHandle) throw EInvalidGraphicOperation("Cannot change the size of an empty metafile");
  if (AWidth <= 0 || AHeight <= 0)
    throw EInvalidGraphicOperation(Format("Invalid metafile size (%d by %d)", {AWidth, AHeight}));
  const TScreenScale S;
  TWindowDC Screen;
  const RECT Frame{0, 0, MulDiv(AWidth, HundredthMMPerInch, S.PixelsX),
                   MulDiv(AHeight, HundredthMMPerInch, S.PixelsY)};
  HDC DC = CreateEnhMetaFileA(Screen, nullptr, &Frame, nullptr);
  if (!DC) throw EOutOfResources("Out of system resources");
  // The recording's units are the reference device's pixels, whose size HORZSIZE gives.
  const int MMX = GetDeviceCaps(Screen, HORZSIZE), MMY = GetDeviceCaps(Screen, VERTSIZE);
  const RECT Dest{0, 0, MMX > 0 ? MulDiv(Frame.right, GetDeviceCaps(Screen, HORZRES), MMX * 100) : AWidth,
                  MMY > 0 ? MulDiv(Frame.bottom, GetDeviceCaps(Screen, VERTRES), MMY * 100) : AHeight};
  const BOOL Played = PlayEnhMetaFile(DC, FHandle, &Dest);
  TEnhMetaFileOwner Made(CloseEnhMetaFile(DC));
  if (!Played || !Made) throw EOutOfResources("Out of system resources");
  Adopt(std::move(Made));
  FWidth = AWidth;
  FHeight = AHeight;
}

HPALETTE TMetafile::Palette() {
  if (!FPaletteRead && FHandle) {
    FPaletteRead = true;
    const UINT Entries = GetEnhMetaFilePaletteEntries(FHandle, 0, nullptr);
    if (Entries > 0 && Entries != GDI_ERROR) {
      std::vector<uint8_t> Buf(sizeof(LOGPALETTE) + Entries * sizeof(PALETTEENTRY));
      auto* LP = reinterpret_cast<LOGPALETTE*>(Buf.data());
      LP->palVersion = 0x300;
      LP->palNumEntries = WORD(Entries);
      if (GetEnhMetaFilePaletteEntries(FHandle, Entries, LP->palPalEntry) == Entries)
        FPalette.Reset(CreatePalette(LP));
    }
  }
  return FPalette.Get();
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  ACanvas->Changing();
  ACanvas->RequiredState(TCanvas::csHandleValid);
  const HDC DC = ACanvas->FHandle;
  TPaletteGuard PalSel(DC, Palette(), true);
  if (FPalette) RealizePalette(DC);
  const RECT R{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  PlayEnhMetaFile(DC, FHandle, &R);
  ACanvas->Changed();
}

void TMetafile::LoadFromStream(TStream* Stream) {
  const int64_t Remaining = Stream->Size() - Stream->Position();
  if (Remaining <= 0) {
    Clear();
    return;
  }
  if (Remaining < 4) BadMetafile();
  uint8_t Key[4];
  Stream->ReadBuffer(Key, 4);
  Stream->Seek(-4, soCurrent);
  Adopt(TEnhMetaFileOwner(Rd32(Key) == PlaceableKey ? ReadPlaceable(Stream, Remaining)
                                                    : ReadEnhanced(Stream, Remaining)));
}

void TMetafile::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  const UINT Size = GetEnhMetaFileBits(FHandle, 0, nullptr);
  if (Size == 0 || Size > UINT(INT_MAX)) throw EInvalidGraphic("Metafile is not valid");
  std::vector<uint8_t> Data(Size);
  if (GetEnhMetaFileBits(FHandle, Size, Data.data()) != Size) throw EInvalidGraphic("Metafile is not valid");
  Stream->WriteBuffer(Data.data(), int(Data.size()));
}
