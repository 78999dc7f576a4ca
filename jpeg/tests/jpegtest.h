// Shared helpers of the JPEG component tests: generated images, encoding and decoding through
// the components, pixel comparison, JPEG marker scanning and heap accounting.
#pragma once

#include "jpeg/vtxjpeg.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace jpegtest {

using Bytes = std::vector<uint8_t>;

struct TFree {
  void operator()(TObject* O) const { TObject::Free(O); }
};
template <class T> using Owned = std::unique_ptr<T, TFree>;

// Collects warnings of components no test handler listens to, so none opens a message box.
struct TWarningSink : TObject {
  std::vector<std::string> Texts;
  void Warn(const AnsiString& Msg) { Texts.push_back(Msg.str()); }
};
TWarningSink& WarningSink();

// Message boxes and message dialogs shown on the test thread are closed at once with OK and
// recorded as "caption: text"; one that the running test did not announce with
// ExpectMessageBoxes fails it. AnswerMessageDialogs(true) leaves message dialogs to the test.
std::vector<std::string> TakeMessageBoxes();
void ExpectMessageBoxes(bool Expected);
void AnswerMessageDialogs(bool Yourself);

// An unowned component, its warnings going to the sink.
template <class T> Owned<T> Make() {
  Owned<T> P(New<T>(nullptr));
  if constexpr (std::is_base_of_v<TJPEGBase, T>) P->OnWarning = TWarningEvent::Bind<&TWarningSink::Warn>(&WarningSink());
  return P;
}

// A 24-bit (or 32-bit) bitmap with smooth, photo-like content (gradients and soft blobs),
// different for each Seed, with pseudo-random grain of up to Noise levels.
Owned<TBitmap> PhotoBitmap(int Width, int Height, unsigned Seed = 1, int Bpp = 24, int Noise = 0);
// The blue, green and red bytes of pixel (X, Y) (0 = top) of a 24- or 32-bit bitmap.
void PixelAt(TBitmap* B, int X, int Y, uint8_t Out[3]);
// The colour of pixel (X, Y) of any bitmap, through its colour table when it has one.
RGBQUAD ColourAt(TBitmap* B, int X, int Y);

struct TError {
  double Mean[3] = {0, 0, 0};  // per channel: blue, green, red
  int Max[3] = {0, 0, 0};
  double WorstMean() const;
  int WorstMax() const;
};
// Per-channel differences of two bitmaps of equal size.
TError Compare(TBitmap* A, TBitmap* B);

Bytes StreamBytes(TMemoryStream& S);
void LoadBytes(TMemoryStream& S, const Bytes& Data);
// Encodes Bitmap with a stream compressor set up by Setup (may be empty).
Bytes Encode(TBitmap* Bitmap, const std::function<void(TJPEGStreamCompressor*)>& Setup = {});
// Decodes with ReadBitMapFromStream; Setup configures the decompressor first.
Owned<TBitmap> Decode(const Bytes& Jpeg, const std::function<void(TJPEGStreamDecompressor*)>& Setup = {});

// Markers of a JPEG stream, in order (the byte after 0xFF), up to the start of scan data and
// through every later marker segment.
std::vector<int> Markers(const Bytes& Jpeg);
int CountMarker(const Bytes& Jpeg, int Marker);

// A JPEG made by libjpeg directly in the given colour space (CMYK input for JCS_CMYK and
// JCS_YCCK), to feed the decompressor inputs the components never write.
Bytes DirectJPEG(int Width, int Height, J_COLOR_SPACE JpegSpace);

// The 8 by 8 grey baseline JPEG also stored in the test program's resources (all pixels 192).
const Bytes& TinyGrey();

// Bytes in use on all of the process's heaps.
int64_t HeapInUse();

// A name in the temporary folder, of this process.
AnsiString TempName(const char* Name);
// Temporary files, deleted with the object.
struct TTempFiles {
  std::vector<AnsiString> Names;
  AnsiString Add(const char* N) {
    Names.push_back(TempName(N));
    return Names.back();
  }
  ~TTempFiles() {
    for (auto& N : Names) DeleteFile(N);
  }
};

// Runs Fn and returns the message of the Exception it raised; fails when it raised none.
std::string ErrorOf(const std::function<void()>& Fn);

}  // namespace jpegtest
