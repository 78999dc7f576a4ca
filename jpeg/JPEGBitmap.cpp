// TJPEGBitmap and the registration of the unit's picture formats and components.
#include "jpeg/JPEGBitmap.h"

#include <memory>

ORV_IMPLEMENT_CLASS(TJPEGBitmap, TBitmap)

namespace {

struct TFreeObject {
  void operator()(TObject* O) const { TObject::Free(O); }
};

constexpr TRect NoRect{0, 0, 0, 0};

bool IsJPEGName(const AnsiString& FileName) {
  const AnsiString Ext = ExtractFileExt(FileName);
  return CompareText(Ext, ".jpeg") == 0 || CompareText(Ext, ".jpg") == 0;
}

TGraphic* NewJPEGBitmap() { return new TJPEGBitmap; }

}  // namespace

void TJPEGBitmap::DecompressProgress(TObject* Sender) {
  if (FSavedProgress) FSavedProgress(Sender);
  Progress(FDecompressor, psRunning, uint8_t(FDecompressor->PercentDone()), false, NoRect, "Decompressing Image");
}

void TJPEGBitmap::CompressProgress(TObject* Sender) {
  if (FSavedProgress) FSavedProgress(Sender);
  Progress(FCompressor, psRunning, uint8_t(FCompressor->PercentDone()), false, NoRect, "Compressing Image");
}

void TJPEGBitmap::LoadFromStream(TStream* Stream) {
  TJPEGStreamDecompressor* D = DefaultJPEGDecompressor();
  std::unique_ptr<TJPEGStreamDecompressor, TFreeObject> Temp;
  if (!D) {
    Temp.reset(New<TJPEGStreamDecompressor>(nullptr));
    D = Temp.get();
  }
  Progress(this, psStarting, 0, false, NoRect, "Opening JPEG Image");
  FSavedProgress = D->OnProgressReport;
  D->OnProgressReport = TNotifyEvent::Bind<&TJPEGBitmap::DecompressProgress>(this);
  FDecompressor = D;
  auto Finish = [&](bool Completed) {
    D->OnProgressReport = FSavedProgress;
    FSavedProgress = nullptr;
    FDecompressor = nullptr;
    Progress(this, psEnding, Completed ? 100 : 0, false, NoRect, "Decompression completed");
  };
  try {
    std::unique_ptr<TBitmap, TFreeObject> Decoded(D->ReadBitMapFromStream(Stream));
    // The decoded DIB section becomes this bitmap's own.
    SetHandle(Decoded->ReleaseHandle());
  } catch (...) {
    try {
      Finish(false);
    } catch (...) {
      // The decoding error is the one reported.
    }
    throw;
  }
  Finish(true);
}

void TJPEGBitmap::SaveToStream(TStream* Stream) {
  if (FSaveAsBitmap) {
    TBitmap::SaveToStream(Stream);
    return;
  }
  TJPEGStreamCompressor* C = DefaultJPEGCompressor();
  std::unique_ptr<TJPEGStreamCompressor, TFreeObject> Temp;
  if (!C) {
    Temp.reset(New<TJPEGStreamCompressor>(nullptr));
    C = Temp.get();
  }
  Progress(this, psStarting, 0, false, NoRect, "Opening JPEG Image");
  FSavedProgress = C->OnProgressReport;
  C->OnProgressReport = TNotifyEvent::Bind<&TJPEGBitmap::CompressProgress>(this);
  FCompressor = C;
  auto Finish = [&](bool Completed) {
    C->OnProgressReport = FSavedProgress;
    FSavedProgress = nullptr;
    FCompressor = nullptr;
    Progress(this, psEnding, Completed ? 100 : 0, false, NoRect, "Compression completed");
  };
  try {
    C->SaveBitMapToStream(this, Stream);
  } catch (...) {
    try {
      Finish(false);
    } catch (...) {
      // The encoding error is the one reported.
    }
    throw;
  }
  Finish(true);
}

void TJPEGBitmap::SaveToFile(const AnsiString& FileName) {
  FSaveAsBitmap = !IsJPEGName(FileName);
  try {
    TGraphic::SaveToFile(FileName);
  } catch (...) {
    FSaveAsBitmap = false;
    throw;
  }
  FSaveAsBitmap = false;
}

// ---------------------------------------------------------------------------------------------
// Unit start-up and close-down.

namespace {
int UnitCount = 0;
}

TVtxJpegUnit::TVtxJpegUnit() {
  if (UnitCount++ != 0) return;
  TPicture::RegisterFileFormat("jpg", "JPEG Image", TJPEGBitmap::StaticClass(), NewJPEGBitmap);
  TPicture::RegisterFileFormat("jpeg", "JPEG Image", TJPEGBitmap::StaticClass(), NewJPEGBitmap);
  RegisterClasses({TJPEGStreamCompressor::StaticClass(), TJPEGFileCompressor::StaticClass(),
                   TJPEGStreamDecompressor::StaticClass(), TJPEGFileDecompressor::StaticClass()});
}

TVtxJpegUnit::~TVtxJpegUnit() {
  if (--UnitCount != 0) return;
  TPicture::UnregisterGraphicClass(TJPEGBitmap::StaticClass());
}
