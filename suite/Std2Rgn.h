// Unit Std2, window region data: a region built once from a bitmap, stored in form resources (the
// binary property "Data"), streams and files in the form of suite/Std2RgnData.h, and turned into
// region handles at run time.
#pragma once
#include "suite/Std2RgnData.h"
#include "vcl/Graphics.h"

class TqFastBmp;

class TqcRgn : public TPersistent {
  ORV_CLASS(TqcRgn, TPersistent)
public:
  TqcRgn() = default;
  // Nil empties the region; another TqcRgn is copied; anything else raises EConvertError.
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  // The region of Bitmap's pixels that are not TransparentColor (a system colour is resolved
  // first); an empty bitmap, or one of that colour only, gives no region. The screen shows the
  // hourglass meanwhile.
  void SerRgnFromBmp(TBitmap* Bitmap, TColor TransparentColor);
  // Takes a copy of Size bytes at Data (no region for a null Data); EReadError "Invalid region
  // data", the content kept, for bytes that are no region record. No change notification.
  void SetRgn(const void* Data, int Size);
  // The stored form; a stream that holds no region (see rgndata::Read) raises EReadError and the
  // content stays.
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream) const;
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName) const;

  // A new region handle of the data (the caller owns it); 0 without data.
  HRGN Handle() const;
  bool ExsistData() const { return !FData.empty(); }
  int Size() const { return int(FData.size()); }
  const std::vector<uint8_t>& Data() const { return FData; }

  bool Modified() const { return FModified; }
  // True notifies as a change does; false only clears the flag.
  void SetModified(bool Value);
  // Sets Modified and calls OnChange.
  void Changed(TObject* Sender);
  TNotifyEvent OnChange;

protected:
  // The "Data" property.
  virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
  virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }

private:
  void Take(std::vector<uint8_t> Bytes);

  std::vector<uint8_t> FData;
  bool FModified = false;
};

namespace std2rgn {

// The region bytes (GetRegionData's) of the pixels of a 24-bit buffer that differ from the RGB
// colour Transparent; empty when none do.
std::vector<uint8_t> RegionOfPixels(const TqFastBmp& Pixels, TColor Transparent);

}  // namespace std2rgn
