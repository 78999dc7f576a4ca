// JPEG decompressor components: JPEG data to device-independent bitmaps of 24, 8 or 4 bits or
// 8-bit grey, BMP file images, TBitmap and Windows bitmaps, from streams, files and resources.
#pragma once

#include "jpeg/JPEGBase.h"
#include "vcl/Graphics.h"

#include <cstdint>
#include <vector>

enum TJPEGOutputType { jp24bit = 0, jp8bit = 1, jp4bit = 2, jpGrayscale = 3 };

// Comment marker text (zero-terminated); APP marker number n (APPn) with the handler setting
// Done when it consumed the marker itself.
using TJPEGCommentEvent = TClosure<TObject* /*Sender*/, const char* /*Comment*/>;
using TJPEGMarkerEvent = TClosure<TObject* /*Sender*/, int /*Marker*/, bool& /*Done*/>;

// Palette of grey output: 64 levels, entry i = round(255 sin(i pi / 126)).
const RGBQUAD* JPEGGreyPalette();

class TJPEGDecompressor : public TJPEGBase {
  ORV_CLASS(TJPEGDecompressor, TJPEGBase)
public:
  explicit TJPEGDecompressor(TComponent* AOwner);
  ~TJPEGDecompressor() override;

  // jpeg_read_header, then the output settings from the properties.
  virtual void ReadHeader();
  // The next input byte; "Read beyond end of JPEG source" when there is none.
  int GetByte();

  // Bytes of the rows and of header plus colour table of a DIB of Type for the current image.
  int GetDIBitsSize(TJPEGOutputType Type) const;
  static int GetBitmapInfoSize(TJPEGOutputType Type);
  // Decodes the image whose header was read into Bits (GetDIBitsSize bytes; BitsSize, when
  // given, bounds them) and fills Info (GetBitmapInfoSize bytes).
  void ReadDIBitmap(BITMAPINFO* Info, TJPEGOutputType Type, void* Bits, size_t BitsSize = 0);
  // A BMP file image of the decoded picture.
  void ReadDIBtoStream(TStream* Stream, TJPEGOutputType Type);
  // A new bitmap (24-bit, or 8-bit grey for grey images and GrayScaleOutput).
  TBitmap* ReadBitmap();
  // A device bitmap with its palette (none for 24 bits) suited to the screen; the caller owns both.
  void ReadWinBitmap(HBITMAP& Bitmap, HPALETTE& Palette);

  J_DCT_METHOD DCTMethod() const { return FDCTMethod; }
  void SetDCTMethod(J_DCT_METHOD Value) { FDCTMethod = Value; }
  bool DoFancyUpSampling() const { return FDoFancyUpSampling; }
  void SetDoFancyUpSampling(bool Value) { FDoFancyUpSampling = Value; }
  bool DoBlockSmoothing() const { return FDoBlockSmoothing; }
  void SetDoBlockSmoothing(bool Value) { FDoBlockSmoothing = Value; }
  bool GrayScaleOutput() const { return FGrayScaleOutput; }
  void SetGrayScaleOutput(bool Value) { FGrayScaleOutput = Value; }
  bool TwoPassQuantize() const { return FTwoPassQuantize; }
  void SetTwoPassQuantize(bool Value) { FTwoPassQuantize = Value; }
  J_DITHER_MODE DitherMode() const { return FDitherMode; }
  void SetDitherMode(J_DITHER_MODE Value) { FDitherMode = Value; }
  int ColoursIn8bitMode() const { return FColoursIn8bitMode; }
  void SetColoursIn8bitMode(int Value) { FColoursIn8bitMode = Value; }

  // The library's fields of the image being decoded.
  J_COLOR_SPACE OutColorSpace() const { return FInfo.out_color_space; }
  void SetOutColorSpace(J_COLOR_SPACE Value) { FInfo.out_color_space = Value; }
  unsigned ScaleNum() const { return FInfo.scale_num; }
  void SetScaleNum(unsigned Value) { FInfo.scale_num = Value; }
  unsigned ScaleDenom() const { return FInfo.scale_denom; }
  void SetScaleDenom(unsigned Value) { FInfo.scale_denom = Value; }
  double OutputGamma() const { return FInfo.output_gamma; }
  void SetOutputGamma(double Value) { FInfo.output_gamma = Value; }
  bool QuantizeColors() const { return FInfo.quantize_colors; }
  void SetQuantizeColors(bool Value) { FInfo.quantize_colors = Value; }
  int DesiredNumberOfColors() const { return FInfo.desired_number_of_colors; }
  void SetDesiredNumberOfColors(int Value) { FInfo.desired_number_of_colors = Value; }
  JSAMPARRAY Colormap() const { return FInfo.colormap; }
  void SetColormap(JSAMPARRAY Value) { FInfo.colormap = Value; }
  int ActualNumberOfColors() const { return FInfo.actual_number_of_colors; }
  void SetActualNumberOfColors(int Value) { FInfo.actual_number_of_colors = Value; }
  unsigned ImageWidth() const { return FInfo.image_width; }
  void SetImageWidth(unsigned Value) { FInfo.image_width = Value; }
  unsigned ImageHeight() const { return FInfo.image_height; }
  void SetImageHeight(unsigned Value) { FInfo.image_height = Value; }
  J_COLOR_SPACE JPEGColorSpace() const { return FInfo.jpeg_color_space; }
  void SetJPEGColorSpace(J_COLOR_SPACE Value) { FInfo.jpeg_color_space = Value; }
  bool SawJFIFMarker() const { return FInfo.saw_JFIF_marker; }
  void SetSawJFIFMarker(bool Value) { FInfo.saw_JFIF_marker = Value; }
  int DensityUnit() const { return FInfo.density_unit; }
  void SetDensityUnit(int Value) { FInfo.density_unit = UINT8(Value); }
  int X_Density() const { return FInfo.X_density; }
  void SetX_Density(int Value) { FInfo.X_density = UINT16(Value); }
  int Y_Density() const { return FInfo.Y_density; }
  void SetY_Density(int Value) { FInfo.Y_density = UINT16(Value); }
  int AdobeTransform() const { return FInfo.Adobe_transform; }
  void SetAdobeTransform(int Value) { FInfo.Adobe_transform = UINT8(Value); }
  bool Enable1PassQuant() const { return FInfo.enable_1pass_quant; }
  void SetEnable1PassQuant(bool Value) { FInfo.enable_1pass_quant = Value; }
  bool EnableExternalQuant() const { return FInfo.enable_external_quant; }
  void SetEnableExternalQuant(bool Value) { FInfo.enable_external_quant = Value; }
  bool Enable2PassQuant() const { return FInfo.enable_2pass_quant; }
  void SetEnable2PassQuant(bool Value) { FInfo.enable_2pass_quant = Value; }
  unsigned OutputWidth() const { return FInfo.output_width; }
  void SetOutputWidth(unsigned Value) { FInfo.output_width = Value; }
  unsigned OutputHeight() const { return FInfo.output_height; }
  void SetOutputHeight(unsigned Value) { FInfo.output_height = Value; }
  const JOCTET* NextInputByte() const { return FSrc.next_input_byte; }
  void SetNextInputByte(const JOCTET* Value) { FSrc.next_input_byte = Value; }
  size_t BytesInBuffer() const { return FSrc.bytes_in_buffer; }
  void SetBytesInBuffer(size_t Value) { FSrc.bytes_in_buffer = Value; }

  TJPEGCommentEvent OnJPEGComment;
  TJPEGMarkerEvent OnJPEGMarker;

protected:
  void CreateJPEGObject(jpeg_error_mgr* Err) override;
  virtual void InitSource() = 0;
  // Refills the source; False when there is nothing more.
  virtual bool FillInputBuffer() = 0;
  virtual void SkipInputBytes(long Count) = 0;
  virtual bool ResyncToRestart(int Desired) = 0;
  virtual void TermSource() = 0;
  virtual bool DoJPEGComment(const char* Comment);
  jpeg_source_mgr& Source() { return FSrc; }
  j_decompress_ptr Info() { return &FInfo; }
  // Output size for the current scaling (the image header must have been read).
  void UpdateOutputSize();

private:
  TJPEGOutputType BitmapType() const;
  void CheckColourSpace();
  bool ReadComment();
  bool ReadAppMarker();
  static void InitSourceThunk(j_decompress_ptr Info);
  static boolean FillInputBufferThunk(j_decompress_ptr Info);
  static void SkipInputDataThunk(j_decompress_ptr Info, long Count);
  static boolean ResyncToRestartThunk(j_decompress_ptr Info, int Desired);
  static void TermSourceThunk(j_decompress_ptr Info);
  static boolean CommentThunk(j_decompress_ptr Info);
  static boolean AppMarkerThunk(j_decompress_ptr Info);

  jpeg_decompress_struct FInfo{};
  jpeg_source_mgr FSrc{};
  J_DCT_METHOD FDCTMethod = JDCT_ISLOW;
  bool FDoFancyUpSampling = true;
  bool FDoBlockSmoothing = true;
  bool FGrayScaleOutput = false;
  bool FTwoPassQuantize = true;
  J_DITHER_MODE FDitherMode = JDITHER_FS;
  int FColoursIn8bitMode = 64;
};

class TJPEGStreamDecompressor : public TJPEGDecompressor {
  ORV_CLASS(TJPEGStreamDecompressor, TJPEGDecompressor)
public:
  explicit TJPEGStreamDecompressor(TComponent* AOwner);
  ~TJPEGStreamDecompressor() override;
  void Loaded() override;

  int BufSize() const { return int(FBuffer.size()); }
  // "Cannot change buffer size while buffer is in use" while a stream is open.
  void SetBufSize(int Value);

  // Sets the source and reads the header.
  void OpenStream(TStream* Stream);
  // Clears the source; an unfinished decode is abandoned.
  void CloseStream();
  TStream* Stream() const { return FStream; }

  void ConvertToDIB(TStream* Source, TStream* Target, TJPEGOutputType Type);
  TBitmap* ReadBitMapFromStream(TStream* Stream);
  // Info needs GetBitmapInfoSize(Type) bytes; Memory receives movable global memory holding
  // the rows, which the caller frees.
  void ReadDIBitmapFromStream(TStream* Stream, BITMAPINFO* Info, HGLOBAL& Memory, TJPEGOutputType Type);
  // "The Image Property is empty!" for a null picture.
  void LoadPictureFromStream(TPicture* Picture, TStream* Stream);
  // Resource type "JPEG".
  void LoadPictureFromResource(TPicture* Picture, HINSTANCE Instance, const AnsiString& ResName);
  void LoadPictureFromResID(TPicture* Picture, HINSTANCE Instance, int ResID);

  bool DefaultDecompressor() const { return FDefaultDecompressor; }
  void SetDefaultDecompressor(bool Value);

protected:
  void InitSource() override;
  bool FillInputBuffer() override;
  void SkipInputBytes(long Count) override;
  bool ResyncToRestart(int Desired) override;
  void TermSource() override {}

private:
  template <class F> void WithStream(TStream* Stream, F&& Body);
  void ApplyDefault();
  TStream* FStream = nullptr;
  std::vector<JOCTET> FBuffer;
  int64_t FBytesRead = 0;  // since the source was initialised for this image
  bool FDefaultDecompressor = false;
};

class TJPEGFileDecompressor : public TJPEGStreamDecompressor {
  ORV_CLASS(TJPEGFileDecompressor, TJPEGStreamDecompressor)
public:
  using TJPEGStreamDecompressor::TJPEGStreamDecompressor;
  void LoadPictureFromFile(TPicture* Picture, const AnsiString& FileName);
};

// The stream decompressor registered as default, null when none.
TJPEGStreamDecompressor* DefaultJPEGDecompressor();
