// TJPEGDecompressor, TJPEGStreamDecompressor and TJPEGFileDecompressor.
#include "jpeg/JPEGDecompressor.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

namespace {

struct TFreeObject {
  void operator()(TObject* O) const { TObject::Free(O); }
};
using TBitmapPtr = std::unique_ptr<TBitmap, TFreeObject>;

int RowBytes(TJPEGOutputType Type, unsigned Width) {
  switch (Type) {
    case jp4bit: return Round4(int((Width + 1) / 2));
    case jp24bit: return Round4(int(Width) * 3);
    default: return Round4(int(Width));  // one byte a pixel: palette indexes or grey levels
  }
}

std::vector<uint8_t> Zeroed(size_t Size) {
  try {
    return std::vector<uint8_t>(Size, 0);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("Out of memory");
  }
}

void Put32(uint8_t* P, uint32_t V) {
  for (int I = 0; I < 4; ++I) P[I] = uint8_t(V >> (8 * I));
}

const char* ColourSpaceName(J_COLOR_SPACE S) {
  switch (S) {
    case JCS_CMYK: return "CMYK";
    case JCS_YCCK: return "YCCK";
    default: return nullptr;
  }
}

TJPEGStreamDecompressor* GDefaultDecompressor = nullptr;

}  // namespace

const RGBQUAD* JPEGGreyPalette() {
  static const struct TGreyTable {
    RGBQUAD Entries[64];
    TGreyTable() {
      // One rounding of the angle, the same in x87 and SSE code (I has 6 bits, so I times a
      // double is exact in either), keeps the tie at sin(pi / 6) = 1/2 at 127.5, rounding up.
      const double Step = 3.14159265358979323846 / 126.0;
      for (int I = 0; I < 64; ++I) {
        const auto V = BYTE(std::lround(255.0 * std::sin(I * Step)));
        Entries[I] = RGBQUAD{V, V, V, 0};
      }
    }
  } Table;
  return Table.Entries;
}

// ---------------------------------------------------------------------------------------------
// Decompressor

ORV_IMPLEMENT_ABSTRACT(TJPEGDecompressor, TJPEGBase, nullptr)

TJPEGDecompressor::TJPEGDecompressor(TComponent* AOwner) : TJPEGBase(AOwner) {
  CreateJPEGObject(ErrorManager());
  AttachProgress();
  FSrc.init_source = &InitSourceThunk;
  FSrc.fill_input_buffer = &FillInputBufferThunk;
  FSrc.skip_input_data = &SkipInputDataThunk;
  FSrc.resync_to_restart = &ResyncToRestartThunk;
  FSrc.term_source = &TermSourceThunk;
  FInfo.src = &FSrc;
  // APP0 (JFIF) and APP14 (Adobe) stay with the library.
  Library([this] {
    jpeg_set_marker_processor(&FInfo, JPEG_COM, &CommentThunk);
    for (int M = JPEG_APP0 + 1; M <= JPEG_APP0 + 13; ++M) jpeg_set_marker_processor(&FInfo, M, &AppMarkerThunk);
    jpeg_set_marker_processor(&FInfo, JPEG_APP0 + 15, &AppMarkerThunk);
  });
}

TJPEGDecompressor::~TJPEGDecompressor() {
  FInfo.src = nullptr;
  DestroyJPEGObject();
}

void TJPEGDecompressor::CreateJPEGObject(jpeg_error_mgr* Err) {
  FInfo.err = Err;
  AttachCommon(reinterpret_cast<j_common_ptr>(&FInfo));
  Library([this] { jpeg_CreateDecompress(&FInfo, JPEG_LIB_VERSION, sizeof(FInfo)); });
  AttachCommon(reinterpret_cast<j_common_ptr>(&FInfo));
}

// Source and marker trampolines.

void TJPEGDecompressor::InitSourceThunk(j_decompress_ptr Info) {
  auto* Self = static_cast<TJPEGDecompressor*>(FromCommon(reinterpret_cast<j_common_ptr>(Info)));
  Self->Callback([Self] { Self->InitSource(); });
}

boolean TJPEGDecompressor::FillInputBufferThunk(j_decompress_ptr Info) {
  auto* Self = static_cast<TJPEGDecompressor*>(FromCommon(reinterpret_cast<j_common_ptr>(Info)));
  bool Filled = false;
  Self->Callback([Self, &Filled] { Filled = Self->FillInputBuffer(); });
  // The components never suspend.
  if (!Filled) Self->JumpWith("Read beyond end of JPEG source");
  return TRUE;
}

void TJPEGDecompressor::SkipInputDataThunk(j_decompress_ptr Info, long Count) {
  auto* Self = static_cast<TJPEGDecompressor*>(FromCommon(reinterpret_cast<j_common_ptr>(Info)));
  Self->Callback([Self, Count] { Self->SkipInputBytes(Count); });
}

boolean TJPEGDecompressor::ResyncToRestartThunk(j_decompress_ptr Info, int Desired) {
  auto* Self = static_cast<TJPEGDecompressor*>(FromCommon(reinterpret_cast<j_common_ptr>(Info)));
  bool Result = false;
  Self->Callback([Self, Desired, &Result] { Result = Self->ResyncToRestart(Desired); });
  return Result;
}

void TJPEGDecompressor::TermSourceThunk(j_decompress_ptr Info) {
  auto* Self = static_cast<TJPEGDecompressor*>(FromCommon(reinterpret_cast<j_common_ptr>(Info)));
  Self->Callback([Self] { Self->TermSource(); });
}

boolean TJPEGDecompressor::CommentThunk(j_decompress_ptr Info) {
  auto* Self = static_cast<TJPEGDecompressor*>(FromCommon(reinterpret_cast<j_common_ptr>(Info)));
  bool Result = false;
  Self->Callback([Self, &Result] { Result = Self->ReadComment(); });
  return Result;
}

boolean TJPEGDecompressor::AppMarkerThunk(j_decompress_ptr Info) {
  auto* Self = static_cast<TJPEGDecompressor*>(FromCommon(reinterpret_cast<j_common_ptr>(Info)));
  bool Result = false;
  Self->Callback([Self, &Result] { Result = Self->ReadAppMarker(); });
  return Result;
}

int TJPEGDecompressor::GetByte() {
  if (FSrc.bytes_in_buffer == 0 && !FillInputBuffer()) throw Exception("Read beyond end of JPEG source");
  if (FSrc.bytes_in_buffer == 0) throw Exception("Read beyond end of JPEG source");
  --FSrc.bytes_in_buffer;
  return *FSrc.next_input_byte++;
}

bool TJPEGDecompressor::ReadComment() {
  const int High = GetByte();
  const int Length = (High << 8) | GetByte();
  if (Length < 2) LibraryError(JERR_BAD_LENGTH);
  if (Length == 2) return true;
  std::vector<char> Text(size_t(Length - 1));
  for (int I = 0; I < Length - 2; ++I) Text[size_t(I)] = char(GetByte());
  Text[size_t(Length - 2)] = '\0';
  return DoJPEGComment(Text.data());
}

bool TJPEGDecompressor::DoJPEGComment(const char* Comment) {
  if (OnJPEGComment) OnJPEGComment(this, Comment);
  return true;
}

bool TJPEGDecompressor::ReadAppMarker() {
  bool Done = false;
  if (OnJPEGMarker) OnJPEGMarker(this, FInfo.unread_marker - JPEG_APP0, Done);
  if (Done) return true;
  const int High = GetByte();
  const int Length = (High << 8) | GetByte();
  if (Length < 2) LibraryError(JERR_BAD_LENGTH);
  for (size_t Left = size_t(Length - 2); Left;) {
    if (FSrc.bytes_in_buffer == 0) {
      GetByte();
      --Left;
      continue;
    }
    const size_t N = std::min(Left, FSrc.bytes_in_buffer);
    FSrc.next_input_byte += N;
    FSrc.bytes_in_buffer -= N;
    Left -= N;
  }
  return true;
}

void TJPEGDecompressor::ReadHeader() {
  TConversion Running(this);
  try {
    int Result = JPEG_SUSPENDED;
    Library([&] { Result = jpeg_read_header(&FInfo, TRUE); });
    if (Result != JPEG_HEADER_OK) throw Exception("Read beyond end of JPEG source");
    CheckAbortRequest();
    FInfo.do_fancy_upsampling = FDoFancyUpSampling;
    FInfo.dct_method = FDCTMethod;
    FInfo.do_block_smoothing = FDoBlockSmoothing;
    FInfo.two_pass_quantize = FTwoPassQuantize;
    FInfo.dither_mode = FDitherMode;
    // Pixels go out in the DIB's blue-green-red order.
    if (FInfo.out_color_space == JCS_RGB) FInfo.out_color_space = JCS_EXT_BGR;
    Library([&] { jpeg_calc_output_dimensions(&FInfo); });
    ResetProgress();
  } catch (...) {
    AbortAfterFailure();
    throw;
  }
}

int TJPEGDecompressor::GetDIBitsSize(TJPEGOutputType Type) const {
  const uint64_t Size = uint64_t(FInfo.output_height) * uint64_t(unsigned(RowBytes(Type, FInfo.output_width)));
  if (Size > uint64_t(INT_MAX))
    throw Exception(Format("JPEG image too large (%d by %d)", {int(FInfo.output_width), int(FInfo.output_height)}));
  return int(Size);
}

int TJPEGDecompressor::GetBitmapInfoSize(TJPEGOutputType Type) {
  switch (Type) {
    case jp8bit: return 40 + 256 * 4;
    case jp4bit: return 40 + 16 * 4;
    case jpGrayscale: return 40 + 64 * 4;
    default: return 40;
  }
}

TJPEGOutputType TJPEGDecompressor::BitmapType() const {
  return FGrayScaleOutput || FInfo.out_color_space == JCS_GRAYSCALE ? jpGrayscale : jp24bit;
}

void TJPEGDecompressor::CheckColourSpace() {
  if (const char* Name = ColourSpaceName(FInfo.jpeg_color_space))
    throw Exception(Format("Unsupported JPEG colour space (%s)", {Name}));
  switch (FInfo.out_color_space) {
    case JCS_GRAYSCALE:
    case JCS_EXT_BGR:
      return;
    case JCS_RGB:
      FInfo.out_color_space = JCS_EXT_BGR;
      return;
    default:
      throw Exception(Format("Unsupported JPEG colour space (%d)", {int(FInfo.out_color_space)}));
  }
}

void TJPEGDecompressor::ReadDIBitmap(BITMAPINFO* Info, TJPEGOutputType Type, void* Bits, size_t BitsSize) {
  if (!Info || !Bits) throw Exception("No bitmap to decode into");
  // Refusals before the decode leave the header read, so another type can be asked for.
  if (FInfo.out_color_space == JCS_GRAYSCALE && Type != jpGrayscale)
    throw Exception("Image is Grayscale but colour output requested");
  CheckColourSpace();
  TConversion Running(this);
  try {
    switch (Type) {
      case jp8bit:
        FInfo.quantize_colors = TRUE;
        FInfo.desired_number_of_colors = FColoursIn8bitMode;
        break;
      case jp4bit:
        FInfo.quantize_colors = TRUE;
        FInfo.desired_number_of_colors = 16;
        break;
      case jpGrayscale:
        FInfo.out_color_space = JCS_GRAYSCALE;
        FInfo.quantize_colors = FALSE;
        break;
      default:
        FInfo.quantize_colors = FALSE;
        break;
    }
    Library([&] { jpeg_start_decompress(&FInfo); });
    CheckAbortRequest();
    const unsigned Width = FInfo.output_width, Height = FInfo.output_height;
    if (FInfo.output_components != (Type == jp24bit ? 3 : 1)) LibraryError(JERR_CONVERSION_NOTIMPL);
    const size_t Stride = size_t(RowBytes(Type, Width));
    if (BitsSize && uint64_t(Stride) * Height > BitsSize)
      throw Exception("The bitmap memory is too small for the image");
    std::vector<JSAMPLE> Indexes;
    if (Type == jp4bit) Indexes.assign(Width, 0);
    auto* Base = static_cast<uint8_t*>(Bits);

    while (FInfo.output_scanline < Height) {
      // Bottom-up rows: the first row read is the last in memory.
      uint8_t* Dst = Base + Stride * (Height - 1 - FInfo.output_scanline);
      JSAMPROW Row = Type == jp4bit ? Indexes.data() : Dst;
      JDIMENSION Read = 0;
      Library([&] { Read = jpeg_read_scanlines(&FInfo, &Row, 1); });
      if (Read != 1) throw Exception("Read beyond end of JPEG source");
      if (Type == jp4bit) {
        const unsigned Pairs = (Width + 1) / 2;
        for (unsigned I = 0; I < Pairs; ++I) {
          const unsigned Hi = Indexes[2 * I] & 0x0F;
          const unsigned Lo = 2 * I + 1 < Width ? (Indexes[2 * I + 1] & 0x0F) : 0;
          Dst[I] = uint8_t((Hi << 4) | Lo);
        }
        std::memset(Dst + Pairs, 0, Stride - Pairs);
      } else if (Type == jpGrayscale) {
        for (unsigned X = 0; X < Width; ++X) Dst[X] >>= 2;
      }
      CheckAbortRequest();
    }

    std::memset(&Info->bmiHeader, 0, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER& H = Info->bmiHeader;
    H.biSize = sizeof(BITMAPINFOHEADER);
    H.biWidth = LONG(Width);
    H.biHeight = LONG(Height);
    H.biPlanes = 1;
    H.biBitCount = FInfo.output_components == 3 ? 24 : Type == jp4bit ? 4 : 8;
    H.biCompression = BI_RGB;
    if (H.biBitCount < 24) {
      RGBQUAD* Table = Info->bmiColors;
      if (FInfo.out_color_space == JCS_GRAYSCALE) {
        std::memcpy(Table, JPEGGreyPalette(), 64 * sizeof(RGBQUAD));
        H.biClrUsed = 64;
      } else {
        // The colormap's rows follow the output's component order: blue, green, red.
        const int Count = FInfo.actual_number_of_colors;
        if (Count < 0 || Count > (Type == jp4bit ? 16 : 256))
          throw Exception(Format("Too many colours (%d) for a %d-bit bitmap", {Count, int(H.biBitCount)}));
        for (int I = 0; I < Count; ++I)
          Table[I] = RGBQUAD{FInfo.colormap[0][I], FInfo.colormap[1][I], FInfo.colormap[2][I], 0};
        H.biClrUsed = DWORD(Count);
      }
    }
    ReportCompletion();
    CheckAbortRequest();
    Library([&] { jpeg_finish_decompress(&FInfo); });
    CheckAbortRequest();  // asked for by a handler during the finish
    ResetProgress();
  } catch (...) {
    AbortAfterFailure();
    throw;
  }
}

void TJPEGDecompressor::ReadDIBtoStream(TStream* Stream, TJPEGOutputType Type) {
  if (!Stream) throw Exception("No stream to write the bitmap to");
  UpdateOutputSize();
  const int InfoSize = GetBitmapInfoSize(Type);
  const int BitsSize = GetDIBitsSize(Type);
  std::vector<uint8_t> Info = Zeroed(size_t(InfoSize));
  std::vector<uint8_t> Bits = Zeroed(size_t(BitsSize));
  ReadDIBitmap(reinterpret_cast<BITMAPINFO*>(Info.data()), Type, Bits.data(), Bits.size());
  uint8_t Header[14] = {'B', 'M'};
  Put32(Header + 2, uint32_t(14 + InfoSize + BitsSize));
  Put32(Header + 10, uint32_t(14 + InfoSize));
  Stream->WriteBuffer(Header, 14);
  Stream->WriteBuffer(Info.data(), InfoSize);
  if (BitsSize) Stream->WriteBuffer(Bits.data(), BitsSize);
}

void TJPEGDecompressor::UpdateOutputSize() {
  Library([&] { jpeg_calc_output_dimensions(&FInfo); });
}

TBitmap* TJPEGDecompressor::ReadBitmap() {
  const TJPEGOutputType Type = BitmapType();
  UpdateOutputSize();
  // Decoded straight into the bitmap's own DIB section.
  const int BitsSize = GetDIBitsSize(Type);
  std::vector<uint8_t> Header(size_t(GetBitmapInfoSize(jpGrayscale)), 0);
  auto* BI = reinterpret_cast<BITMAPINFO*>(Header.data());
  BI->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  BI->bmiHeader.biWidth = LONG(FInfo.output_width);
  BI->bmiHeader.biHeight = LONG(FInfo.output_height);
  BI->bmiHeader.biPlanes = 1;
  BI->bmiHeader.biBitCount = Type == jpGrayscale ? 8 : 24;
  BI->bmiHeader.biCompression = BI_RGB;
  if (Type == jpGrayscale) {
    BI->bmiHeader.biClrUsed = 64;
    std::memcpy(BI->bmiColors, JPEGGreyPalette(), 64 * sizeof(RGBQUAD));
  }
  void* Bits = nullptr;
  TBitmapOwner Dib;
  if (BitsSize > 0) Dib.Reset(CreateDIBSection(nullptr, BI, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!Dib || !Bits) {
    Abort();
    throw EOutOfResources(BitsSize > 0 ? "Out of system resources" : "No JPEG image to decode");
  }
  std::vector<uint8_t> Info(size_t(GetBitmapInfoSize(jp8bit)), 0);
  ReadDIBitmap(reinterpret_cast<BITMAPINFO*>(Info.data()), Type, Bits, size_t(BitsSize));
  TBitmapPtr Result(new TBitmap);
  Result->SetHandle(Dib.Release());
  return Result.release();
}

void TJPEGDecompressor::ReadWinBitmap(HBITMAP& Bitmap, HPALETTE& Palette) {
  Bitmap = nullptr;
  Palette = nullptr;
  TWindowDC Screen;
  if (!Screen) throw EOutOfResources("Out of system resources");
  TJPEGOutputType Type = BitmapType();
  if (Type != jpGrayscale) {
    if (GetDeviceCaps(Screen, RASTERCAPS) & RC_PALETTE) Type = jp8bit;
    else if (GetDeviceCaps(Screen, NUMCOLORS) == 16) Type = jp4bit;
  }
  UpdateOutputSize();
  const int BitsSize = GetDIBitsSize(Type);
  HGLOBAL Mem = GlobalAlloc(GHND, size_t(std::max(BitsSize, 1)));
  if (!Mem) throw EOutOfMemory("Out of memory");
  struct TFree {
    HGLOBAL M;
    ~TFree() { GlobalFree(M); }
  } FreeMem{Mem};
  std::vector<uint8_t> Info(size_t(GetBitmapInfoSize(Type)), 0);
  auto* BI = reinterpret_cast<BITMAPINFO*>(Info.data());
  void* Bits = GlobalLock(Mem);
  if (!Bits) throw EOutOfMemory("Out of memory");
  try {
    ReadDIBitmap(BI, Type, Bits, size_t(BitsSize));
  } catch (...) {
    GlobalUnlock(Mem);
    throw;
  }
  TPaletteOwner Pal;
  if (BI->bmiHeader.biBitCount < 24) {
    const int Count = int(BI->bmiHeader.biClrUsed);
    std::vector<uint8_t> Buf(sizeof(LOGPALETTE) + size_t(std::max(Count, 1)) * sizeof(PALETTEENTRY));
    auto* LP = reinterpret_cast<LOGPALETTE*>(Buf.data());
    LP->palVersion = 0x300;
    LP->palNumEntries = WORD(Count);
    for (int I = 0; I < Count; ++I)
      LP->palPalEntry[I] = PALETTEENTRY{BI->bmiColors[I].rgbRed, BI->bmiColors[I].rgbGreen, BI->bmiColors[I].rgbBlue, 0};
    Pal.Reset(CreatePalette(LP));
  }
  HBITMAP Result;
  {
    TPaletteGuard Sel(Screen, Pal.Get());
    if (Pal) RealizePalette(Screen);
    Result = CreateDIBitmap(Screen, &BI->bmiHeader, CBM_INIT, Bits, BI, DIB_RGB_COLORS);
  }
  GlobalUnlock(Mem);
  if (!Result) throw EOutOfResources("Out of system resources");
  Bitmap = Result;
  Palette = Pal.Release();
}

// ---------------------------------------------------------------------------------------------
// Stream decompressor

static constinit const TPropInfo TJPEGFileDecompressor_Props[] = {
    PropInt<&TJPEGBase::Warnings, nullptr>("Warnings", 0),
    PropInt<&TJPEGBase::Trace_Level, &TJPEGBase::SetTrace_Level>("Trace_Level", 0),
    PropInt<&TJPEGBase::PercentDone, nullptr>("PercentDone", 0),
    PropInt<&TJPEGDecompressor::ColoursIn8bitMode, &TJPEGDecompressor::SetColoursIn8bitMode>("ColoursIn8bitMode", 64),
    PropBool<&TJPEGDecompressor::GrayScaleOutput, &TJPEGDecompressor::SetGrayScaleOutput>("GrayScaleOutput", false),
    PropEvent<&TJPEGDecompressor::OnJPEGComment>("OnJPEGComment"),
    PropEvent<&TJPEGDecompressor::OnJPEGMarker>("OnJPEGMarker"),
    PropBool<&TJPEGDecompressor::TwoPassQuantize, &TJPEGDecompressor::SetTwoPassQuantize>("TwoPassQuantize", true),
    PropEnum<&TJPEGDecompressor::DitherMode, &TJPEGDecompressor::SetDitherMode>("DitherMode", J_DITHER_MODEType,
                                                                                JDITHER_FS),
    PropBool<&TJPEGStreamDecompressor::DefaultDecompressor, &TJPEGStreamDecompressor::SetDefaultDecompressor>(
        "DefaultDecompressor", false),
    PropEnum<&TJPEGDecompressor::DCTMethod, &TJPEGDecompressor::SetDCTMethod>("DCTMethod", J_DCT_METHODType,
                                                                              JDCT_ISLOW),
    PropBool<&TJPEGDecompressor::DoFancyUpSampling, &TJPEGDecompressor::SetDoFancyUpSampling>("DoFancyUpSampling",
                                                                                            true),
    PropBool<&TJPEGDecompressor::DoBlockSmoothing, &TJPEGDecompressor::SetDoBlockSmoothing>("DoBlockSmoothing", true),
    PropEvent<&TJPEGBase::OnProgressReport>("OnProgressReport"),
    PropEvent<&TJPEGBase::OnWarning>("OnWarning"),
};

ORV_IMPLEMENT_COMPONENT_NOPROPS(TJPEGStreamDecompressor, TJPEGDecompressor)
ORV_IMPLEMENT_COMPONENT(TJPEGFileDecompressor, TJPEGStreamDecompressor, TJPEGFileDecompressor_Props)

TJPEGStreamDecompressor* DefaultJPEGDecompressor() { return GDefaultDecompressor; }

TJPEGStreamDecompressor::TJPEGStreamDecompressor(TComponent* AOwner) : TJPEGDecompressor(AOwner) {
  SetBufSize(4096);
  ApplyDefault();
}

TJPEGStreamDecompressor::~TJPEGStreamDecompressor() {
  if (GDefaultDecompressor == this) GDefaultDecompressor = nullptr;
}

void TJPEGStreamDecompressor::ApplyDefault() {
  if (FDefaultDecompressor && !GDefaultDecompressor) GDefaultDecompressor = this;
  else if (!FDefaultDecompressor && GDefaultDecompressor == this) GDefaultDecompressor = nullptr;
}

void TJPEGStreamDecompressor::SetDefaultDecompressor(bool Value) {
  if (Value == FDefaultDecompressor) return;
  FDefaultDecompressor = Value;
  if (HasState(csLoading)) return;
  ApplyDefault();
}

void TJPEGStreamDecompressor::Loaded() {
  TJPEGDecompressor::Loaded();
  ApplyDefault();
}

void TJPEGStreamDecompressor::SetBufSize(int Value) {
  if (Value < 1) throw Exception(Format("Invalid JPEG buffer size (%d)", {Value}));
  if (!FBuffer.empty() && (FStream || Source().bytes_in_buffer > 0))
    throw Exception("Cannot change buffer size while buffer is in use");
  FBuffer.assign(size_t(Value), 0);
  Source().next_input_byte = nullptr;
  Source().bytes_in_buffer = 0;
}

void TJPEGStreamDecompressor::InitSource() {
  Source().next_input_byte = FBuffer.data();
  Source().bytes_in_buffer = 0;
  FBytesRead = 0;
}

bool TJPEGStreamDecompressor::FillInputBuffer() {
  if (!FStream) throw Exception("Read beyond end of JPEG source");
  const int Count = FStream->Read(FBuffer.data(), int(FBuffer.size()));
  if (Count > 0) {
    Source().next_input_byte = FBuffer.data();
    Source().bytes_in_buffer = size_t(Count);
    FBytesRead += Count;
    return true;
  }
  // Nothing at all since this image began: empty, wherever the stream stood.
  if (FBytesRead == 0) LibraryError(JERR_INPUT_EMPTY);
  LibraryWarning(JWRN_JPEG_EOF, -1);
  static const JOCTET FakeEOI[2] = {0xFF, JPEG_EOI};
  Source().next_input_byte = FakeEOI;
  Source().bytes_in_buffer = 2;
  return true;
}

void TJPEGStreamDecompressor::SkipInputBytes(long Count) {
  if (Count <= 0) return;
  jpeg_source_mgr& S = Source();
  if (size_t(Count) > S.bytes_in_buffer) {
    if (!FStream) throw Exception("Read beyond end of JPEG source");
    FStream->Seek(int64_t(Count) - int64_t(S.bytes_in_buffer), soCurrent);
    S.bytes_in_buffer = 0;
  } else {
    S.next_input_byte += Count;
    S.bytes_in_buffer -= size_t(Count);
  }
}

bool TJPEGStreamDecompressor::ResyncToRestart(int Desired) {
  bool Result = false;
  Library([&] { Result = jpeg_resync_to_restart(Info(), Desired); });
  return Result;
}

void TJPEGStreamDecompressor::OpenStream(TStream* Stream) {
  if (!Stream) throw Exception("No stream to read the JPEG image from");
  FStream = Stream;
  try {
    ReadHeader();
  } catch (...) {
    CloseStream();
    throw;
  }
}

void TJPEGStreamDecompressor::CloseStream() {
  jpeg_source_mgr& S = Source();
  // Read-ahead the image did not use goes back, so the stream stands after the JPEG data.
  if (FStream && S.bytes_in_buffer > 0 && S.next_input_byte >= FBuffer.data() &&
      S.next_input_byte + S.bytes_in_buffer <= FBuffer.data() + FBuffer.size()) {
    try {
      FStream->Seek(-int64_t(S.bytes_in_buffer), soCurrent);
    } catch (const std::exception&) {
      // A stream that cannot seek back keeps its position.
    }
  }
  FStream = nullptr;
  S.next_input_byte = nullptr;
  S.bytes_in_buffer = 0;
  // An unfinished decode is abandoned so the next header can be read.
  Abort();
}

template <class F> void TJPEGStreamDecompressor::WithStream(TStream* Stream, F&& Body) {
  OpenStream(Stream);
  try {
    Body();
  } catch (...) {
    CloseStream();
    throw;
  }
  CloseStream();
}

void TJPEGStreamDecompressor::ConvertToDIB(TStream* Source, TStream* Target, TJPEGOutputType Type) {
  WithStream(Source, [&] { ReadDIBtoStream(Target, Type); });
}

TBitmap* TJPEGStreamDecompressor::ReadBitMapFromStream(TStream* Stream) {
  TBitmap* Result = nullptr;
  WithStream(Stream, [&] { Result = ReadBitmap(); });
  return Result;
}

void TJPEGStreamDecompressor::ReadDIBitmapFromStream(TStream* Stream, BITMAPINFO* Info, HGLOBAL& Memory,
                                                     TJPEGOutputType Type) {
  Memory = nullptr;
  WithStream(Stream, [&] {
    UpdateOutputSize();
    const int Size = GetDIBitsSize(Type);
    HGLOBAL Mem = GlobalAlloc(GHND, size_t(std::max(Size, 1)));
    if (!Mem) throw EOutOfMemory("Out of memory");
    void* Bits = GlobalLock(Mem);
    if (!Bits) {
      GlobalFree(Mem);
      throw EOutOfMemory("Out of memory");
    }
    try {
      ReadDIBitmap(Info, Type, Bits, size_t(Size));
    } catch (...) {
      GlobalUnlock(Mem);
      GlobalFree(Mem);
      throw;
    }
    GlobalUnlock(Mem);
    Memory = Mem;
  });
}

void TJPEGStreamDecompressor::LoadPictureFromStream(TPicture* Picture, TStream* Stream) {
  if (!Picture) throw Exception("The Image Property is empty!");
  TBitmapPtr Bitmap(ReadBitMapFromStream(Stream));
  Picture->Assign(Bitmap.get());
}

void TJPEGStreamDecompressor::LoadPictureFromResource(TPicture* Picture, HINSTANCE Instance,
                                                      const AnsiString& ResName) {
  HRSRC Res = FindResourceA(Instance, ResName.c_str(), "JPEG");
  HGLOBAL Mem = Res ? LoadResource(Instance, Res) : nullptr;
  const void* Data = Mem ? LockResource(Mem) : nullptr;
  if (!Data) throw EResNotFound(Format("Resource %s not found", {ResName}));
  TReadOnlyMemoryStream Stream(Data, SizeofResource(Instance, Res));
  LoadPictureFromStream(Picture, &Stream);
}

void TJPEGStreamDecompressor::LoadPictureFromResID(TPicture* Picture, HINSTANCE Instance, int ResID) {
  HRSRC Res = FindResourceA(Instance, MAKEINTRESOURCEA(ResID), "JPEG");
  HGLOBAL Mem = Res ? LoadResource(Instance, Res) : nullptr;
  const void* Data = Mem ? LockResource(Mem) : nullptr;
  if (!Data) throw EResNotFound(Format("Resource %d not found", {ResID}));
  TReadOnlyMemoryStream Stream(Data, SizeofResource(Instance, Res));
  LoadPictureFromStream(Picture, &Stream);
}

// ---------------------------------------------------------------------------------------------
// File decompressor

void TJPEGFileDecompressor::LoadPictureFromFile(TPicture* Picture, const AnsiString& FileName) {
  TFileStream Stream(FileName, fmOpenRead);
  LoadPictureFromStream(Picture, &Stream);
}
