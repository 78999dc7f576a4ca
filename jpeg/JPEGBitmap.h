// TJPEGBitmap: a bitmap that loads JPEG data and saves as JPEG (or as BMP under a file name
// without a JPEG extension), registered as the picture format for "jpg" and "jpeg".
#pragma once

#include "jpeg/JPEGCompressor.h"
#include "jpeg/JPEGDecompressor.h"
#include "vcl/Graphics.h"

class TJPEGBitmap : public TBitmap {
  ORV_CLASS(TJPEGBitmap, TBitmap)
public:
  TJPEGBitmap() = default;
  // JPEG for ".jpg" and ".jpeg" (any case), a BMP file otherwise.
  void SaveToFile(const AnsiString& FileName) override;
  // Decodes JPEG from the stream's position (no format detection), through the default
  // decompressor when one is registered.
  void LoadFromStream(TStream* Stream) override;
  // Encodes JPEG through the default compressor when one is registered.
  void SaveToStream(TStream* Stream) override;
  // The stored "Data" stays the bitmap's own (a BMP file), so reading a form decodes no JPEG.

private:
  void DecompressProgress(TObject* Sender);
  void CompressProgress(TObject* Sender);

  TJPEGStreamDecompressor* FDecompressor = nullptr;
  TJPEGStreamCompressor* FCompressor = nullptr;
  TNotifyEvent FSavedProgress;
  bool FSaveAsBitmap = false;
};

// Unit start-up, counted: the first registers the picture formats and component classes, the
// last to go removes the formats.
struct TVtxJpegUnit {
  TVtxJpegUnit();
  ~TVtxJpegUnit();
  TVtxJpegUnit(const TVtxJpegUnit&) = delete;
  TVtxJpegUnit& operator=(const TVtxJpegUnit&) = delete;
};
static const TVtxJpegUnit VtxJpegUnitInstance;
