// JPEG compressor components: device-independent bitmaps, TBitmap and enhanced metafiles to
// JPEG, written to a stream or a file.
#pragma once

#include "jpeg/JPEGBase.h"
#include "vcl/Graphics.h"

#include <cstdint>
#include <vector>

// Depth a bitmap is read at for compression (bmDefault: its own, 24 above 8 bits, 4 for 1 bit).
enum TBitmapResolution { bmDefault, bm16Colour, bm256Colour, bm24bit };

class TJPEGCompressor : public TJPEGBase {
  ORV_CLASS(TJPEGCompressor, TJPEGBase)
public:
  explicit TJPEGCompressor(TComponent* AOwner);
  ~TJPEGCompressor() override;

  void SetColorSpace(J_COLOR_SPACE Space);
  void AddQuantTable(int Which, const unsigned int* BasicTable, int ScaleFactor, bool ForceBaseline);
  // Writes a marker into the running compression (only from OnWriteMarkers).
  void WriteMarker(int Marker, const void* Data, unsigned Length);

  // Compresses a DIB of 4, 8 or 24 bits: Info is its header and colour table, Bits its rows
  // (bottom-up, or top-down for a negative height). BitsSize, when given, bounds the rows.
  void WriteDIBitmap(const BITMAPINFO* Info, const void* Bits, size_t BitsSize = 0);
  static void GetBitmapInfoHeader(HBITMAP Bitmap, TBitmapResolution Resolution, BITMAPINFOHEADER& Header);
  static void GetDIBSizes(HBITMAP Bitmap, TBitmapResolution Resolution, int& InfoSize, int& ImageSize);
  // The bitmap's pixels as a DIB: Info needs room for the header and a full colour table.
  static void Bitmap2DIB(TBitmap* Bitmap, TBitmapResolution Resolution, void* Bits, BITMAPINFO* Info);
  void WriteBitmap(TBitmap* Bitmap);
  void WriteStretchedBitmap(TBitmap* Bitmap, int Width, int Height);
  void WriteMetaFile(TMetafile* Metafile, int Width, int Height);

  const AnsiString& Comment() const { return FComment; }
  void SetComment(const AnsiString& Value) { FComment = Value; }
  bool ProgressiveJPEG() const { return FProgressiveJPEG; }
  void SetProgressiveJPEG(bool Value) { FProgressiveJPEG = Value; }
  bool WriteAllTables() const { return FWriteAllTables; }
  void SetWriteAllTables(bool Value) { FWriteAllTables = Value; }
  int Quality() const { return FQuality; }
  // Also rebuilds the quantisation tables (jpeg_set_quality, baseline values).
  void SetQuality(int Value);
  bool GrayscaleOutput() const { return FGrayscaleOutput; }
  void SetGrayscaleOutput(bool Value) { FGrayscaleOutput = Value; }

  double InputGamma() const { return FInfo.input_gamma; }
  void SetInputGamma(double Value) { FInfo.input_gamma = Value; }
  J_DCT_METHOD DCTMethod() const { return FInfo.dct_method; }
  void SetDCTMethod(J_DCT_METHOD Value) { FInfo.dct_method = Value; }
  bool OptimizeCoding() const { return FInfo.optimize_coding; }
  void SetOptimizeCoding(bool Value) { FInfo.optimize_coding = Value; }
  unsigned RestartInterval() const { return FInfo.restart_interval; }
  void SetRestartInterval(unsigned Value) { FInfo.restart_interval = Value; }
  int RestartInRows() const { return FInfo.restart_in_rows; }
  void SetRestartInRows(int Value) { FInfo.restart_in_rows = Value; }
  int SmoothingFactor() const { return FInfo.smoothing_factor; }
  void SetSmoothingFactor(int Value) { FInfo.smoothing_factor = Value; }
  bool WriteJFIFHeader() const { return FInfo.write_JFIF_header; }
  void SetWriteJFIFHeader(bool Value) { FInfo.write_JFIF_header = Value; }
  uint8_t DensityUnit() const { return FInfo.density_unit; }
  void SetDensityUnit(uint8_t Value) { FInfo.density_unit = Value; }
  uint16_t X_Density() const { return FInfo.X_density; }
  void SetX_Density(uint16_t Value) { FInfo.X_density = Value; }
  uint16_t Y_Density() const { return FInfo.Y_density; }
  void SetY_Density(uint16_t Value) { FInfo.Y_density = Value; }

  unsigned ImageWidth() const { return FInfo.image_width; }
  unsigned ImageHeight() const { return FInfo.image_height; }
  int InputComponents() const { return FInfo.input_components; }
  int DataPrecision() const { return FInfo.data_precision; }
  J_COLOR_SPACE JPEGColorSpace() const { return FInfo.jpeg_color_space; }
  bool WriteAdobeMarker() const { return FInfo.write_Adobe_marker; }
  void SetWriteAdobeMarker(bool Value) { FInfo.write_Adobe_marker = Value; }

  // After jpeg_start_compress, for WriteMarker.
  TNotifyEvent OnWriteMarkers;

protected:
  void CreateJPEGObject(jpeg_error_mgr* Err) override;
  virtual void InitDestination() = 0;
  // Hands the whole buffer on; False when not all of it was taken.
  virtual bool EmptyOutputBuffer() = 0;
  virtual void TermDestination() = 0;
  jpeg_destination_mgr& Destination() { return FDest; }

private:
  // Rows from First, Step bytes apart, of 4 or 8 bits (through Colors), 24 or 32 bits (BGR, BGRX).
  void Compress(int Width, int Height, const uint8_t* First, ptrdiff_t Step, int Bpp, const RGBQUAD* Colors);
  static void InitDestinationThunk(j_compress_ptr Info);
  static boolean EmptyOutputBufferThunk(j_compress_ptr Info);
  static void TermDestinationThunk(j_compress_ptr Info);

  void RestoreStandardHuffmanTables();

  jpeg_compress_struct FInfo{};
  jpeg_destination_mgr FDest{};
  JHUFF_TBL FStandardHuffman[4]{};  // DC 0, DC 1, AC 0, AC 1 as jpeg_set_defaults made them
  AnsiString FComment;
  bool FProgressiveJPEG = false;
  bool FWriteAllTables = true;
  int FQuality = 0;
  bool FGrayscaleOutput = false;
};

class TJPEGStreamCompressor : public TJPEGCompressor {
  ORV_CLASS(TJPEGStreamCompressor, TJPEGCompressor)
public:
  explicit TJPEGStreamCompressor(TComponent* AOwner);
  ~TJPEGStreamCompressor() override;
  void Loaded() override;

  int BufSize() const { return int(FBuffer.size()); }
  // "Cannot change buffer size while buffer is in use" during a save.
  void SetBufSize(int Value);

  void OpenStream(TStream* Stream) { FStream = Stream; }
  void CloseStream() { FStream = nullptr; }
  TStream* Stream() const { return FStream; }

  void SaveBitMapToStream(TBitmap* Bitmap, TStream* Stream);
  void SaveStretchedBitMapToStream(TBitmap* Bitmap, int Width, int Height, TStream* Stream);
  void SaveMetaFileToStream(TMetafile* Metafile, TStream* Stream, int Width, int Height);
  void SaveDIBitmapToStream(TStream* Stream, const BITMAPINFO* Info, const void* Bits, size_t BitsSize = 0);
  // A bitmap graphic, or a metafile at the picture's size; anything else raises "cannot save a
  // picture that is neither a bitmap nor metafile".
  void SavePictureToStream(TPicture* Picture, TStream* Stream);
  void SaveStretchedPictureToStream(TPicture* Picture, int Width, int Height, TStream* Stream);

  // Registers this compressor as the one TJPEGBitmap uses (when none is registered).
  bool DefaultCompressor() const { return FDefaultCompressor; }
  void SetDefaultCompressor(bool Value);

protected:
  void InitDestination() override;
  bool EmptyOutputBuffer() override;
  void TermDestination() override;

private:
  template <class F> void WithStream(TStream* Stream, F&& Body);
  void ApplyDefault();
  TStream* FStream = nullptr;
  std::vector<JOCTET> FBuffer;
  bool FDefaultCompressor = false;
};

class TJPEGFileCompressor : public TJPEGStreamCompressor {
  ORV_CLASS(TJPEGFileCompressor, TJPEGStreamCompressor)
public:
  using TJPEGStreamCompressor::TJPEGStreamCompressor;
  void SavePictureToFile(TPicture* Picture, const AnsiString& FileName);
  void SaveStretchedPictureToFile(TPicture* Picture, int Width, int Height, const AnsiString& FileName);
  void SaveBitmapToFile(TBitmap* Bitmap, const AnsiString& FileName);
  void SaveStretchedBitmapToFile(TBitmap* Bitmap, int Width, int Height, const AnsiString& FileName);
  void SaveMetafileToFile(TMetafile* Metafile, int Width, int Height, const AnsiString& FileName);
};

// The stream compressor registered as default, null when none.
TJPEGStreamCompressor* DefaultJPEGCompressor();

// New bitmaps of the screen's format (the caller frees them): Bitmap stretched to Width by
// Height; the Source part of it stretched so; a metafile played into a bitmap of that size.
TBitmap* ReSizeBitmap(TBitmap* Bitmap, int Width, int Height);
TBitmap* CropBitmap(TBitmap* Bitmap, int Width, int Height, const TRect& Source);
TBitmap* MetaToBitmap(TMetafile* Metafile, int Width, int Height);
