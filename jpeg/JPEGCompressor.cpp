// TJPEGCompressor, TJPEGStreamCompressor, TJPEGFileCompressor and the bitmap helpers.
#include "jpeg/JPEGCompressor.h"

#include <climits>
#include <cstring>
#include <memory>

namespace {

struct TFreeObject {
  void operator()(TObject* O) const { TObject::Free(O); }
};
using TBitmapPtr = std::unique_ptr<TBitmap, TFreeObject>;

// Global memory locked for the lifetime of the object.
class TGlobalBlock {
public:
  explicit TGlobalBlock(size_t Size) : FMem(GlobalAlloc(GHND, Size ? Size : 1)) {
    if (!FMem) throw EOutOfMemory("Out of memory");
    FPtr = GlobalLock(FMem);
    if (!FPtr) {
      GlobalFree(FMem);
      throw EOutOfMemory("Out of memory");
    }
  }
  ~TGlobalBlock() {
    GlobalUnlock(FMem);
    GlobalFree(FMem);
  }
  TGlobalBlock(const TGlobalBlock&) = delete;
  TGlobalBlock& operator=(const TGlobalBlock&) = delete;
  void* Get() const { return FPtr; }

private:
  HGLOBAL FMem;
  void* FPtr = nullptr;
};

int DibRowSize(int Width, int Bpp) {
  switch (Bpp) {
    case 4: return Round4((Width + 1) / 2);
    case 8: return Round4(Width);
    case 32: return Width * 4;
    default: return Round4(Width * 3);
  }
}

[[noreturn]] void NoDIB() { throw Exception("Cannot obtain a Device Independent Bitmap"); }

TJPEGStreamCompressor* GDefaultCompressor = nullptr;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Compressor

ORV_IMPLEMENT_ABSTRACT(TJPEGCompressor, TJPEGBase, nullptr)

TJPEGCompressor::TJPEGCompressor(TComponent* AOwner) : TJPEGBase(AOwner) {
  CreateJPEGObject(ErrorManager());
  AttachProgress();
  // Pixels come in the DIB's blue-green-red order.
  FInfo.input_components = 3;
  FInfo.in_color_space = JCS_EXT_BGR;
  Library([this] { jpeg_set_defaults(&FInfo); });
  for (int I = 0; I < 2; ++I) {
    if (FInfo.dc_huff_tbl_ptrs[I]) FStandardHuffman[I] = *FInfo.dc_huff_tbl_ptrs[I];
    if (FInfo.ac_huff_tbl_ptrs[I]) FStandardHuffman[2 + I] = *FInfo.ac_huff_tbl_ptrs[I];
  }
  FDest.init_destination = &InitDestinationThunk;
  FDest.empty_output_buffer = &EmptyOutputBufferThunk;
  FDest.term_destination = &TermDestinationThunk;
  FInfo.dest = &FDest;
  SetQuality(75);
}

TJPEGCompressor::~TJPEGCompressor() {
  FInfo.dest = nullptr;
  DestroyJPEGObject();
}

void TJPEGCompressor::CreateJPEGObject(jpeg_error_mgr* Err) {
  FInfo.err = Err;
  AttachCommon(reinterpret_cast<j_common_ptr>(&FInfo));
  Library([this] { jpeg_CreateCompress(&FInfo, JPEG_LIB_VERSION, sizeof(FInfo)); });
  // jpeg_CreateCompress clears the structure but keeps err; the link back is set again.
  AttachCommon(reinterpret_cast<j_common_ptr>(&FInfo));
}

// An optimised (or progressive) save leaves its own Huffman tables in the structure; a later
// save without optimisation must code with the standard ones again.
void TJPEGCompressor::RestoreStandardHuffmanTables() {
  for (int I = 0; I < 4; ++I) {
    JHUFF_TBL* T = I < 2 ? FInfo.dc_huff_tbl_ptrs[I] : FInfo.ac_huff_tbl_ptrs[I - 2];
    if (!T) continue;
    std::memcpy(T->bits, FStandardHuffman[I].bits, sizeof T->bits);
    std::memcpy(T->huffval, FStandardHuffman[I].huffval, sizeof T->huffval);
  }
}

void TJPEGCompressor::SetQuality(int Value) {
  FQuality = Value;
  Library([this, Value] { jpeg_set_quality(&FInfo, Value, TRUE); });
}

void TJPEGCompressor::SetColorSpace(J_COLOR_SPACE Space) {
  Library([this, Space] { jpeg_set_colorspace(&FInfo, Space); });
}

void TJPEGCompressor::AddQuantTable(int Which, const unsigned int* BasicTable, int ScaleFactor, bool ForceBaseline) {
  if (!BasicTable) throw Exception("No quantisation table given");
  Library([&] { jpeg_add_quant_table(&FInfo, Which, BasicTable, ScaleFactor, ForceBaseline); });
}

void TJPEGCompressor::WriteMarker(int Marker, const void* Data, unsigned Length) {
  Library([&] { jpeg_write_marker(&FInfo, Marker, static_cast<const JOCTET*>(Data), Length); });
}

// Destination trampolines.
void TJPEGCompressor::InitDestinationThunk(j_compress_ptr Info) {
  auto* Self = static_cast<TJPEGCompressor*>(FromCommon(reinterpret_cast<j_common_ptr>(Info)));
  Self->Callback([Self] { Self->InitDestination(); });
}

boolean TJPEGCompressor::EmptyOutputBufferThunk(j_compress_ptr Info) {
  auto* Self = static_cast<TJPEGCompressor*>(FromCommon(reinterpret_cast<j_common_ptr>(Info)));
  // A short write is an error, never a suspension.
  Self->Callback([Self] {
    if (!Self->EmptyOutputBuffer()) throw EWriteError("Stream write error");
  });
  return TRUE;
}

void TJPEGCompressor::TermDestinationThunk(j_compress_ptr Info) {
  auto* Self = static_cast<TJPEGCompressor*>(FromCommon(reinterpret_cast<j_common_ptr>(Info)));
  Self->Callback([Self] { Self->TermDestination(); });
}

void TJPEGCompressor::WriteDIBitmap(const BITMAPINFO* Info, const void* Bits, size_t BitsSize) {
  if (!Info || !Bits) throw Exception("No bitmap to compress");
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  if (H.biSize < sizeof(BITMAPINFOHEADER)) throw Exception("Invalid bitmap header");
  const int Bpp = H.biBitCount;
  if (Bpp != 4 && Bpp != 8 && Bpp != 24) throw Exception(Format("Unable to compress at %d bit resolution", {Bpp}));
  if (H.biCompression != BI_RGB)
    throw Exception(Format("Unable to compress a bitmap of compression type %d", {int(H.biCompression)}));
  const int Width = H.biWidth;
  if (Width <= 0 || H.biHeight == 0 || H.biHeight == INT_MIN)
    throw Exception(Format("Invalid bitmap size (%d by %d)", {Width, int(H.biHeight)}));
  const bool TopDown = H.biHeight < 0;
  const int Height = TopDown ? -H.biHeight : H.biHeight;
  if (Width > JPEG_MAX_DIMENSION || Height > JPEG_MAX_DIMENSION)
    LibraryError(JERR_IMAGE_TOO_BIG, JPEG_MAX_DIMENSION);
  const int Stride = DibRowSize(Width, Bpp);
  const uint64_t RowsSize = uint64_t(Stride) * uint64_t(Height);
  if (BitsSize && RowsSize > BitsSize) throw Exception("Bitmap bits are smaller than the bitmap header states");
  // Rows no block of memory can hold: the header is wrong, whatever the caller's buffer.
  if (RowsSize > uint64_t(INT_MAX))
    throw Exception(Format("Invalid bitmap size (%d by %d)", {Width, int(H.biHeight)}));

  const auto* Rows = static_cast<const uint8_t*>(Bits);
  const RGBQUAD* Colors = nullptr;
  if (Bpp <= 8) {
    const unsigned Max = 1u << Bpp;
    const unsigned Count = H.biClrUsed ? H.biClrUsed : Max;
    if (Count > Max)
      throw Exception(Format("A colour table of %d entries is too large for %d bits", {int(Count), Bpp}));
    Colors = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(Info) + H.biSize);
    if (Count < Max) {
      for (int Y = 0; Y < Height; ++Y) {
        const uint8_t* Row = Rows + size_t(Y) * Stride;
        for (int X = 0; X < Width; ++X) {
          const unsigned Index = Bpp == 8 ? Row[X] : (X & 1) ? (Row[X >> 1] & 0x0F) : (Row[X >> 1] >> 4);
          if (Index >= Count)
            throw Exception(Format("Colour index %d is beyond the colour table of %d entries", {int(Index), int(Count)}));
        }
      }
    }
  }
  // The library wants the top row first.
  const uint8_t* First = TopDown ? Rows : Rows + size_t(Stride) * (Height - 1);
  Compress(Width, Height, First, TopDown ? Stride : -ptrdiff_t(Stride), Bpp, Colors);
}

void TJPEGCompressor::Compress(int Width, int Height, const uint8_t* First, ptrdiff_t Step, int Bpp,
                               const RGBQUAD* Colors) {
  TConversion Running(this);
  // A progressive start turns optimize_coding on for good; the caller's choice is kept.
  const boolean Optimize = FInfo.optimize_coding;
  try {
    FInfo.image_width = JDIMENSION(Width);
    FInfo.image_height = JDIMENSION(Height);
    FInfo.input_components = Bpp == 32 ? 4 : 3;
    FInfo.in_color_space = Bpp == 32 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    // jpeg_set_colorspace resets the marker choices; the caller's stand.
    const boolean Jfif = FInfo.write_JFIF_header, Adobe = FInfo.write_Adobe_marker;
    const J_COLOR_SPACE Space = FGrayscaleOutput ? JCS_GRAYSCALE : JCS_YCbCr;
    Library([&] { jpeg_set_colorspace(&FInfo, Space); });
    FInfo.write_JFIF_header = Jfif;
    FInfo.write_Adobe_marker = Adobe;
    if (FProgressiveJPEG) {
      Library([&] { jpeg_simple_progression(&FInfo); });
    } else {
      FInfo.scan_info = nullptr;  // baseline again after a progressive save
      FInfo.num_scans = 0;
    }
    RestoreStandardHuffmanTables();
    if (!FWriteAllTables) Library([&] { jpeg_suppress_tables(&FInfo, TRUE); });
    const boolean All = FWriteAllTables;
    Library([&] { jpeg_start_compress(&FInfo, All); });
    CheckAbortRequest();
    if (!FComment.IsEmpty()) {
      const auto* Text = reinterpret_cast<const JOCTET*>(FComment.c_str());
      const unsigned Len = unsigned(FComment.Length());
      Library([&] { jpeg_write_marker(&FInfo, JPEG_COM, Text, Len); });
    }
    if (OnWriteMarkers) OnWriteMarkers(this);
    CheckAbortRequest();

    std::vector<JSAMPLE> Expanded;
    if (Bpp <= 8) Expanded.assign(size_t(Round4(Width)) * 3, 0);
    while (FInfo.next_scanline < FInfo.image_height) {
      const uint8_t* Src = First + Step * ptrdiff_t(FInfo.next_scanline);
      JSAMPROW Row;
      if (Bpp >= 24) {
        Row = const_cast<JSAMPLE*>(Src);
      } else {
        JSAMPLE* D = Expanded.data();
        for (int X = 0; X < Width; ++X, D += 3) {
          const unsigned Index = Bpp == 8 ? Src[X] : (X & 1) ? (Src[X >> 1] & 0x0F) : (Src[X >> 1] >> 4);
          std::memcpy(D, &Colors[Index], 3);
        }
        Row = Expanded.data();
      }
      JDIMENSION Written = 0;
      Library([&] { Written = jpeg_write_scanlines(&FInfo, &Row, 1); });
      if (Written != 1) throw EWriteError("Stream write error");
      CheckAbortRequest();
    }
    ReportCompletion();
    CheckAbortRequest();
    Library([&] { jpeg_finish_compress(&FInfo); });
    CheckAbortRequest();  // asked for by a handler during the finish
    ResetProgress();
  } catch (...) {
    FInfo.optimize_coding = Optimize;
    AbortAfterFailure();
    throw;
  }
  FInfo.optimize_coding = Optimize;
}

void TJPEGCompressor::GetBitmapInfoHeader(HBITMAP Bitmap, TBitmapResolution Resolution, BITMAPINFOHEADER& Header) {
  BITMAP BM{};
  if (!Bitmap || !GetObjectA(Bitmap, sizeof(BM), &BM) || BM.bmWidth <= 0 || BM.bmHeight <= 0) NoDIB();
  int Bits = BM.bmPlanes * BM.bmBitsPixel;
  switch (Resolution) {
    case bm16Colour: Bits = 4; break;
    case bm256Colour: Bits = 8; break;
    case bm24bit: Bits = 24; break;
    default:
      // Monochrome is read as 16 colours: 1 bit cannot be compressed.
      Bits = Bits > 8 ? 24 : Bits == 1 ? 4 : Bits;
      break;
  }
  Header = BITMAPINFOHEADER{};
  Header.biSize = sizeof(BITMAPINFOHEADER);
  Header.biWidth = BM.bmWidth;
  Header.biHeight = BM.bmHeight;
  Header.biPlanes = 1;
  Header.biBitCount = WORD(Bits);
  Header.biCompression = BI_RGB;
  Header.biSizeImage = DWORD(uint64_t(BM.bmHeight) * DibRowSize(BM.bmWidth, Bits));
}

void TJPEGCompressor::GetDIBSizes(HBITMAP Bitmap, TBitmapResolution Resolution, int& InfoSize, int& ImageSize) {
  BITMAPINFOHEADER H;
  GetBitmapInfoHeader(Bitmap, Resolution, H);
  InfoSize = int(sizeof(BITMAPINFOHEADER)) + (H.biBitCount >= 24 ? 0 : int(sizeof(RGBQUAD)) << H.biBitCount);
  ImageSize = int(H.biSizeImage);
}

void TJPEGCompressor::Bitmap2DIB(TBitmap* Bitmap, TBitmapResolution Resolution, void* Bits, BITMAPINFO* Info) {
  if (!Bitmap || Bitmap->Empty() || !Bits || !Info) NoDIB();
  HBITMAP Handle = Bitmap->Handle();
  GetBitmapInfoHeader(Handle, Resolution, Info->bmiHeader);
  TWindowDC Screen;
  TMemoryDC DC(Screen);
  TBitmapOwner Placeholder(CreateCompatibleBitmap(Screen, 1, 1));
  if (!DC || !Placeholder) NoDIB();
  TSelectGuard Sel(DC, Placeholder);
  HPALETTE Pal = Bitmap->Palette();
  TPaletteGuard PalSel(DC, Pal);
  if (Pal) RealizePalette(DC);
  GdiFlush();
  const int Lines = GetDIBits(DC, Handle, 0, UINT(Info->bmiHeader.biHeight), Bits, Info, DIB_RGB_COLORS);
  if (Lines != Info->bmiHeader.biHeight) NoDIB();
  // GetDIBits may have filled in fields the compressor reads differently.
  Info->bmiHeader.biCompression = BI_RGB;
  if (Info->bmiHeader.biBitCount <= 8 && Info->bmiHeader.biClrUsed > (1u << Info->bmiHeader.biBitCount))
    Info->bmiHeader.biClrUsed = 0;
}

void TJPEGCompressor::WriteBitmap(TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) NoDIB();
  const int Bpp = Bitmap->BitsPerPixel();
  const int W = Bitmap->Width(), H = Bitmap->Height();
  if (Bpp == 4 || Bpp == 8 || Bpp == 24 || Bpp == 32) {
    // The DIB section's own rows, in whichever direction it stores them.
    const auto* Top = static_cast<const uint8_t*>(Bitmap->ScanLine(0));
    const ptrdiff_t Step = H > 1 ? static_cast<const uint8_t*>(Bitmap->ScanLine(1)) - Top : 0;
    std::vector<RGBQUAD> Colors;
    if (Bpp <= 8) {
      Colors = Bitmap->Colors();
      Colors.resize(size_t(1) << Bpp, RGBQUAD{0, 0, 0, 0});
    }
    Compress(W, H, Top, Step, Bpp, Colors.empty() ? nullptr : Colors.data());
    return;
  }
  int InfoSize = 0, ImageSize = 0;
  GetDIBSizes(Bitmap->Handle(), bmDefault, InfoSize, ImageSize);
  TGlobalBlock Bits{size_t(ImageSize)};
  std::vector<uint8_t> Info(size_t(InfoSize) + 3 * sizeof(DWORD), 0);
  auto* BI = reinterpret_cast<BITMAPINFO*>(Info.data());
  Bitmap2DIB(Bitmap, bmDefault, Bits.Get(), BI);
  WriteDIBitmap(BI, Bits.Get(), size_t(ImageSize));
}

void TJPEGCompressor::WriteStretchedBitmap(TBitmap* Bitmap, int Width, int Height) {
  TBitmapPtr Temp(ReSizeBitmap(Bitmap, Width, Height));
  WriteBitmap(Temp.get());
}

void TJPEGCompressor::WriteMetaFile(TMetafile* Metafile, int Width, int Height) {
  TBitmapPtr Temp(MetaToBitmap(Metafile, Width, Height));
  WriteBitmap(Temp.get());
}

// ---------------------------------------------------------------------------------------------
// Bitmap helpers

TBitmap* ReSizeBitmap(TBitmap* Bitmap, int Width, int Height) {
  if (!Bitmap) NoDIB();
  return CropBitmap(Bitmap, Width, Height, Rect(0, 0, Bitmap->Width(), Bitmap->Height()));
}

TBitmap* CropBitmap(TBitmap* Bitmap, int Width, int Height, const TRect& Source) {
  if (!Bitmap || Bitmap->Empty()) NoDIB();
  if (Width <= 0 || Height <= 0) throw Exception(Format("Invalid bitmap size (%d by %d)", {Width, Height}));
  TBitmapPtr Result(new TBitmap);
  Result->SetSize(Width, Height);
  HDC Src = Bitmap->Canvas()->Handle();
  HDC Dst = Result->Canvas()->Handle();
  HPALETTE Pal = Bitmap->Palette();
  TPaletteGuard SrcPal(Src, Pal), DstPal(Dst, Pal);
  if (Pal) {
    RealizePalette(Src);
    RealizePalette(Dst);
  }
  const int OldMode = SetStretchBltMode(Dst, HALFTONE);
  SetBrushOrgEx(Dst, 0, 0, nullptr);
  const BOOL Ok = StretchBlt(Dst, 0, 0, Width, Height, Src, Source.Left, Source.Top, Source.Width(),
                             Source.Height(), SRCCOPY);
  if (OldMode) SetStretchBltMode(Dst, OldMode);
  GdiFlush();
  if (!Ok) NoDIB();
  return Result.release();
}

TBitmap* MetaToBitmap(TMetafile* Metafile, int Width, int Height) {
  if (Width <= 0 || Height <= 0) throw Exception(Format("Invalid bitmap size (%d by %d)", {Width, Height}));
  TBitmapPtr Result(new TBitmap);
  Result->SetSize(Width, Height);
  TCanvas* Canvas = Result->Canvas();
  const HENHMETAFILE Handle = Metafile ? Metafile->Handle() : nullptr;
  HDC DC = Canvas->Handle();
  const HPALETTE Palette = Handle ? Metafile->Palette() : nullptr;
  TPaletteGuard PalSel(DC, Palette, true);
  if (Palette) RealizePalette(DC);
  Canvas->FillRect(Rect(0, 0, Width, Height));
  RECT R{0, 0, Width, Height};
  SetLastError(0);
  if (!Handle || !PlayEnhMetaFile(Canvas->Handle(), Handle, &R)) {
    const DWORD Code = Handle ? GetLastError() : DWORD(ERROR_INVALID_HANDLE);
    throw Exception(Format("Unable to render metafile as a bitmap - PlayEnhMetaFile returned %d", {int(Code)}));
  }
  GdiFlush();
  return Result.release();
}

// ---------------------------------------------------------------------------------------------
// Stream compressor

static constinit const TPropInfo TJPEGFileCompressor_Props[] = {
    PropInt<&TJPEGBase::Warnings, nullptr>("Warnings", 0),
    PropInt<&TJPEGBase::Trace_Level, &TJPEGBase::SetTrace_Level>("Trace_Level", 0),
    PropInt<&TJPEGBase::PercentDone, nullptr>("PercentDone", 0),
    PropBool<&TJPEGCompressor::GrayscaleOutput, &TJPEGCompressor::SetGrayscaleOutput>("GrayscaleOutput", false),
    PropStr<&TJPEGCompressor::Comment, &TJPEGCompressor::SetComment>("Comment"),
    PropInt<&TJPEGCompressor::Quality, &TJPEGCompressor::SetQuality>("Quality", 75),
    PropFloat<&TJPEGCompressor::InputGamma, &TJPEGCompressor::SetInputGamma>("InputGamma", AlwaysStored),
    PropBool<&TJPEGCompressor::ProgressiveJPEG, &TJPEGCompressor::SetProgressiveJPEG>("ProgressiveJPEG", false),
    PropEnum<&TJPEGCompressor::DCTMethod, &TJPEGCompressor::SetDCTMethod>("DCTMethod", J_DCT_METHODType, JDCT_ISLOW),
    PropBool<&TJPEGCompressor::OptimizeCoding, &TJPEGCompressor::SetOptimizeCoding>("OptimizeCoding", false),
    PropInt<&TJPEGCompressor::RestartInterval, &TJPEGCompressor::SetRestartInterval>("RestartInterval", 0),
    PropInt<&TJPEGCompressor::RestartInRows, &TJPEGCompressor::SetRestartInRows>("RestartInRows", 0),
    PropInt<&TJPEGCompressor::SmoothingFactor, &TJPEGCompressor::SetSmoothingFactor>("SmoothingFactor", 0),
    PropBool<&TJPEGCompressor::WriteJFIFHeader, &TJPEGCompressor::SetWriteJFIFHeader>("WriteJFIFHeader", true),
    PropInt<&TJPEGCompressor::DensityUnit, &TJPEGCompressor::SetDensityUnit>("DensityUnit", 0),
    PropInt<&TJPEGCompressor::X_Density, &TJPEGCompressor::SetX_Density>("X_Density", 1),
    PropInt<&TJPEGCompressor::Y_Density, &TJPEGCompressor::SetY_Density>("Y_Density", 1),
    PropBool<&TJPEGCompressor::WriteAllTables, &TJPEGCompressor::SetWriteAllTables>("WriteAllTables", true),
    PropBool<&TJPEGStreamCompressor::DefaultCompressor, &TJPEGStreamCompressor::SetDefaultCompressor>(
        "DefaultCompressor", false),
    PropEvent<&TJPEGBase::OnProgressReport>("OnProgressReport"),
    PropEvent<&TJPEGBase::OnWarning>("OnWarning"),
    PropEvent<&TJPEGCompressor::OnWriteMarkers>("OnWriteMarkers"),
};

ORV_IMPLEMENT_COMPONENT_NOPROPS(TJPEGStreamCompressor, TJPEGCompressor)
ORV_IMPLEMENT_COMPONENT(TJPEGFileCompressor, TJPEGStreamCompressor, TJPEGFileCompressor_Props)

TJPEGStreamCompressor* DefaultJPEGCompressor() { return GDefaultCompressor; }

TJPEGStreamCompressor::TJPEGStreamCompressor(TComponent* AOwner) : TJPEGCompressor(AOwner) {
  SetBufSize(4096);
  Destination().next_output_byte = FBuffer.data();
  Destination().free_in_buffer = FBuffer.size();
  ApplyDefault();
}

TJPEGStreamCompressor::~TJPEGStreamCompressor() {
  if (GDefaultCompressor == this) GDefaultCompressor = nullptr;
}

void TJPEGStreamCompressor::ApplyDefault() {
  if (FDefaultCompressor && !GDefaultCompressor) GDefaultCompressor = this;
  else if (!FDefaultCompressor && GDefaultCompressor == this) GDefaultCompressor = nullptr;
}

void TJPEGStreamCompressor::SetDefaultCompressor(bool Value) {
  if (Value == FDefaultCompressor) return;
  FDefaultCompressor = Value;
  if (HasState(csLoading)) return;
  ApplyDefault();
}

void TJPEGStreamCompressor::Loaded() {
  TJPEGCompressor::Loaded();
  ApplyDefault();
}

void TJPEGStreamCompressor::SetBufSize(int Value) {
  if (Value < 1) throw Exception(Format("Invalid JPEG buffer size (%d)", {Value}));
  if (!FBuffer.empty() && (FStream || Destination().free_in_buffer != FBuffer.size()))
    throw Exception("Cannot change buffer size while buffer is in use");
  FBuffer.assign(size_t(Value), 0);
  Destination().next_output_byte = FBuffer.data();
  Destination().free_in_buffer = FBuffer.size();
}

void TJPEGStreamCompressor::InitDestination() {
  Destination().next_output_byte = FBuffer.data();
  Destination().free_in_buffer = FBuffer.size();
}

bool TJPEGStreamCompressor::EmptyOutputBuffer() {
  if (!FStream) throw EWriteError("Stream write error");
  const int Size = int(FBuffer.size());
  const int Written = FStream->Write(FBuffer.data(), Size);
  InitDestination();
  return Written == Size;
}

void TJPEGStreamCompressor::TermDestination() {
  const size_t Used = FBuffer.size() - Destination().free_in_buffer;
  InitDestination();
  if (!Used) return;
  if (!FStream) throw EWriteError("Stream write error");
  FStream->WriteBuffer(FBuffer.data(), int(Used));
}

template <class F> void TJPEGStreamCompressor::WithStream(TStream* Stream, F&& Body) {
  if (!Stream) throw Exception("No stream to write the JPEG image to");
  OpenStream(Stream);
  try {
    Body();
  } catch (...) {
    CloseStream();
    InitDestination();
    throw;
  }
  CloseStream();
}

void TJPEGStreamCompressor::SaveBitMapToStream(TBitmap* Bitmap, TStream* Stream) {
  WithStream(Stream, [&] { WriteBitmap(Bitmap); });
}

void TJPEGStreamCompressor::SaveStretchedBitMapToStream(TBitmap* Bitmap, int Width, int Height, TStream* Stream) {
  WithStream(Stream, [&] { WriteStretchedBitmap(Bitmap, Width, Height); });
}

void TJPEGStreamCompressor::SaveMetaFileToStream(TMetafile* Metafile, TStream* Stream, int Width, int Height) {
  WithStream(Stream, [&] { WriteMetaFile(Metafile, Width, Height); });
}

void TJPEGStreamCompressor::SaveDIBitmapToStream(TStream* Stream, const BITMAPINFO* Info, const void* Bits,
                                                 size_t BitsSize) {
  WithStream(Stream, [&] { WriteDIBitmap(Info, Bits, BitsSize); });
}

void TJPEGStreamCompressor::SavePictureToStream(TPicture* Picture, TStream* Stream) {
  TGraphic* G = Picture ? Picture->Graphic() : nullptr;
  if (auto* Bitmap = dynamic_cast<TBitmap*>(G)) SaveBitMapToStream(Bitmap, Stream);
  else if (auto* Metafile = dynamic_cast<TMetafile*>(G))
    SaveMetaFileToStream(Metafile, Stream, Picture->Width(), Picture->Height());
  else throw Exception("cannot save a picture that is neither a bitmap nor metafile");
}

void TJPEGStreamCompressor::SaveStretchedPictureToStream(TPicture* Picture, int Width, int Height, TStream* Stream) {
  TGraphic* G = Picture ? Picture->Graphic() : nullptr;
  if (auto* Bitmap = dynamic_cast<TBitmap*>(G)) SaveStretchedBitMapToStream(Bitmap, Width, Height, Stream);
  else if (auto* Metafile = dynamic_cast<TMetafile*>(G)) SaveMetaFileToStream(Metafile, Stream, Width, Height);
  else throw Exception("cannot save a picture that is neither a bitmap nor metafile");
}

// ---------------------------------------------------------------------------------------------
// File compressor

void TJPEGFileCompressor::SavePictureToFile(TPicture* Picture, const AnsiString& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SavePictureToStream(Picture, &Stream);
}

void TJPEGFileCompressor::SaveStretchedPictureToFile(TPicture* Picture, int Width, int Height,
                                                     const AnsiString& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveStretchedPictureToStream(Picture, Width, Height, &Stream);
}

void TJPEGFileCompressor::SaveBitmapToFile(TBitmap* Bitmap, const AnsiString& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveBitMapToStream(Bitmap, &Stream);
}

void TJPEGFileCompressor::SaveStretchedBitmapToFile(TBitmap* Bitmap, int Width, int Height,
                                                    const AnsiString& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveStretchedBitMapToStream(Bitmap, Width, Height, &Stream);
}

void TJPEGFileCompressor::SaveMetafileToFile(TMetafile* Metafile, int Width, int Height,
                                             const AnsiString& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveMetaFileToStream(Metafile, &Stream, Width, Height);
}
