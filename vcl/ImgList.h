// Image lists: a component over a system image list (comctl32), images of one size with masks.
#pragma once

#include "vcl/Graphics.h"

#include <vector>

class TCustomImageList;

// Registered with an image list to hear of its changes; unregisters itself when freed.
class TChangeLink : public TObject {
  ORV_CLASS(TChangeLink, TObject)
public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TCustomImageList* Sender() const { return FSender; }
  // OnChange with the list as sender.
  virtual void Change();
  TNotifyEvent OnChange;

private:
  friend class TCustomImageList;
  TCustomImageList* FSender = nullptr;
};

// A list of equally sized images, each with a monochrome mask. The system list is created on
// first use; changing the size empties it.
class TCustomImageList : public TComponent {
  ORV_CLASS(TCustomImageList, TComponent)
public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);
  ~TCustomImageList() override;

  int Width() const { return FWidth; }
  void SetWidth(int Value) { SetSize(Value, FHeight); }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { SetSize(FWidth, Value); }
  // EInvalidOperation "Invalid image size" for a size below 1.
  void SetSize(int AWidth, int AHeight);

  HIMAGELIST Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Images in the system list.
  int ImageCount() const;

  // Appends Image (its top-left Width x Height part) with Mask (white = transparent; nullptr:
  // opaque). Returns the new index.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Appends Image with every pixel of MaskColor transparent (clDefault: the bitmap's own
  // transparent colour; clNone: opaque).
  int AddMasked(TBitmap* Image, TColor MaskColor);
  // Appends a blank image: black and fully transparent.
  int AddEmpty();
  // EInvalidOperation "Image list index out of bounds (%d)" for a bad index.
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void ReplaceMasked(int Index, TBitmap* Image, TColor MaskColor);
  void Delete(int Index);
  void Clear();
  // ILD_NORMAL over the list's background (transparent: none).
  void Draw(TCanvas* Canvas, int X, int Y, int Index);
  // Image Index read back: Image becomes a Width x Height bitmap of its pixels (black where it
  // is transparent), Mask a monochrome one of its mask (white = transparent).
  void GetImages(int Index, TBitmap* Image, TBitmap* Mask);

  // Link->Sender() becomes this list; every change calls the links' Change, in order.
  void RegisterChanges(TChangeLink* Link);
  void UnRegisterChanges(TChangeLink* Link);

  TNotifyEvent OnChange;

protected:
  virtual void Change();

private:
  void CheckIndex(int Index) const;
  void FreeHandle();
  // Image and mask handles ready for the system list: a W x H copy of Image with the masked
  // pixels made black, and a monochrome mask (white = transparent).
  void Prepare(TBitmap* Image, TBitmap* Mask, TColor MaskColor, bool UseColor, TBitmapOwner& OutImage,
               TBitmapOwner& OutMask);

  HIMAGELIST FHandle = nullptr;
  int FWidth = 16, FHeight = 16;
  std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
  ORV_CLASS(TImageList, TCustomImageList)
public:
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
  TImageList(TComponent* AOwner, int AWidth, int AHeight) : TCustomImageList(AOwner, AWidth, AHeight) {}
};

// A black-and-white mask of Image's top-left W x H part: white where the pixel equals Color.
HBITMAP CreateColorMask(TBitmap* Image, int W, int H, TColor Color);
