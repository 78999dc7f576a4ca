#include "vcl/ImgList.h"

#include <algorithm>

namespace {

constexpr COLORREF kBlack = 0x000000, kWhite = 0xFFFFFF;

// A mono mask from a source DC: white where the source pixel equals Key.
void BlitColorMask(HDC MaskDC, HDC Src, int W, int H, COLORREF Key) {
  COLORREF OldBk = SetBkColor(Src, Key);
  BitBlt(MaskDC, 0, 0, W, H, Src, 0, 0, SRCCOPY);
  SetBkColor(Src, OldBk);
}

}  // namespace

HBITMAP CreateColorMask(TBitmap* Image, int W, int H, TColor Color) {
  TBitmapOwner Mask(CreateBitmap(W, H, 1, 1, nullptr));
  TMemoryDC DC;
  if (!Mask || !DC) throw EOutOfResources("Out of system resources");
  TSelectGuard Sel(DC, Mask);
  PatBlt(DC, 0, 0, W, H, WHITENESS);
  if (Image && !Image->Empty())
    BlitColorMask(DC, Image->Canvas()->Handle(), std::min(W, Image->Width()), std::min(H, Image->Height()),
                  COLORREF(ColorToRGB(Color)));
  Sel.Restore();
  return Mask.Release();
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight) : TComponent(AOwner) {
  SetSize(AWidth, AHeight);
}

TCustomImageList::~TCustomImageList() {
  while (!FLinks.empty()) UnRegisterChanges(FLinks.back());
  FreeHandle();
}

void TCustomImageList::RegisterChanges(TChangeLink* Link) {
  if (!Link) return;
  Link->FSender = this;
  FLinks.push_back(Link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Link) {
  auto It = std::find(FLinks.begin(), FLinks.end(), Link);
  if (It == FLinks.end()) return;
  Link->FSender = nullptr;
  FLinks.erase(It);
}

void TCustomImageList::FreeHandle() {
  if (FHandle) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

void TCustomImageList::SetSize(int AWidth, int AHeight) {
  if (AWidth < 1 || AHeight < 1) throw EInvalidOperation("Invalid image size");
  if (AWidth == FWidth && AHeight == FHeight) return;
  FreeHandle();
  FWidth = AWidth;
  FHeight = AHeight;
  Change();
}

HIMAGELIST TCustomImageList::Handle() {
  if (!FHandle) {
    FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 4, 4);
    if (!FHandle) throw EOutOfResources("Out of system resources");
  }
  return FHandle;
}

int TCustomImageList::ImageCount() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

void TCustomImageList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= ImageCount())
    throw EInvalidOperation(Format("Image list index out of bounds (%d)", {Index}));
}

void TCustomImageList::Prepare(TBitmap* Image, TBitmap* Mask, TColor MaskColor, bool UseColor,
                               TBitmapOwner& OutImage, TBitmapOwner& OutMask) {
  const int W = FWidth, H = FHeight;
  TWindowDC Screen;
  TBitmapOwner Img(CreateCompatibleBitmap(Screen, W, H));
  TBitmapOwner Msk(CreateBitmap(W, H, 1, 1, nullptr));
  TMemoryDC ImgDC(Screen), MskDC(Screen);
  if (!Img || !Msk || !ImgDC || !MskDC) throw EOutOfResources("Out of system resources");
  {
    TSelectGuard SelI(ImgDC, Img), SelM(MskDC, Msk);
    PatBlt(ImgDC, 0, 0, W, H, BLACKNESS);
    PatBlt(MskDC, 0, 0, W, H, WHITENESS);  // outside the picture: transparent
    if (Image && !Image->Empty()) {
      int CW = std::min(W, Image->Width()), CH = std::min(H, Image->Height());
      HDC Src = Image->Canvas()->Handle();
      BitBlt(ImgDC, 0, 0, CW, CH, Src, 0, 0, SRCCOPY);
      if (Mask && !Mask->Empty()) {
        BlitColorMask(MskDC, Mask->Canvas()->Handle(), std::min(CW, Mask->Width()), std::min(CH, Mask->Height()),
                      kWhite);
      } else if (UseColor && MaskColor != clNone) {
        TColor Key = MaskColor == clDefault ? Image->TransparentColor() : MaskColor;
        BlitColorMask(MskDC, Src, CW, CH, COLORREF(ColorToRGB(Key)));
      } else {
        PatBlt(MskDC, 0, 0, CW, CH, BLACKNESS);
      }
    }
    // Transparent pixels black in the image, so a transparent draw (mask AND, image OR) is exact.
    COLORREF OldText = SetTextColor(ImgDC, kBlack), OldBk = SetBkColor(ImgDC, kWhite);
    BitBlt(ImgDC, 0, 0, W, H, MskDC, 0, 0, 0x00220326);
    SetTextColor(ImgDC, OldText);
    SetBkColor(ImgDC, OldBk);
  }
  OutImage = std::move(Img);
  OutMask = std::move(Msk);
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  TBitmapOwner Img, Msk;
  Prepare(Image, Mask, clNone, false, Img, Msk);
  int Index = ImageList_Add(Handle(), Img, Msk);
  if (Index < 0) throw EOutOfResources("Failed to add an image to the image list");
  Change();
  return Index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  TBitmapOwner Img, Msk;
  Prepare(Image, nullptr, MaskColor, true, Img, Msk);
  int Index = ImageList_Add(Handle(), Img, Msk);
  if (Index < 0) throw EOutOfResources("Failed to add an image to the image list");
  Change();
  return Index;
}

int TCustomImageList::AddEmpty() { return Add(nullptr, nullptr); }

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  TBitmapOwner Img, Msk;
  Prepare(Image, Mask, clNone, false, Img, Msk);
  if (!ImageList_Replace(FHandle, Index, Img, Msk)) throw EOutOfResources("Failed to replace an image");
  Change();
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap* Image, TColor MaskColor) {
  CheckIndex(Index);
  TBitmapOwner Img, Msk;
  Prepare(Image, nullptr, MaskColor, true, Img, Msk);
  if (!ImageList_Replace(FHandle, Index, Img, Msk)) throw EOutOfResources("Failed to replace an image");
  Change();
}

void TCustomImageList::Delete(int Index) {
  CheckIndex(Index);
  ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle, -1);
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index) {
  if (!Canvas || !FHandle || Index < 0 || Index >= ImageCount()) return;
  ImageList_DrawEx(FHandle, Index, Canvas->Handle(), X, Y, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
}

void TCustomImageList::GetImages(int Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  if (Image) {
    Image->SetSize(FWidth, FHeight);
    HDC DC = Image->Canvas()->Handle();
    PatBlt(DC, 0, 0, FWidth, FHeight, BLACKNESS);
    ImageList_DrawEx(FHandle, Index, DC, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
  }
  if (Mask) {
    Mask->SetPixelFormat(pf1bit);
    Mask->SetSize(FWidth, FHeight);
    HDC DC = Mask->Canvas()->Handle();
    PatBlt(DC, 0, 0, FWidth, FHeight, WHITENESS);  // the mask is combined with what is there
    ImageList_DrawEx(FHandle, Index, DC, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
  }
}

void TCustomImageList::Change() {
  // A handler may unregister links: walk a copy and skip those gone meanwhile.
  const std::vector<TChangeLink*> Links = FLinks;
  for (TChangeLink* L : Links)
    if (std::find(FLinks.begin(), FLinks.end(), L) != FLinks.end()) L->Change();
  if (OnChange) OnChange(this);
}

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

ORV_IMPLEMENT_CLASS(TChangeLink, TObject)

static constinit const TPropInfo TCustomImageList_Props[] = {
    PropInt<&TCustomImageList::Height, &TCustomImageList::SetHeight>("Height", 16),
    PropInt<&TCustomImageList::Width, &TCustomImageList::SetWidth>("Width", 16),
};
ORV_IMPLEMENT_ABSTRACT(TCustomImageList, TComponent, TCustomImageList_Props)
ORV_IMPLEMENT_COMPONENT_NOPROPS(TImageList, TCustomImageList)

namespace {
struct TImgListRegistration {
  TImgListRegistration() { RegisterClasses({TImageList::StaticClass()}); }
} ImgListRegistration;
}  // namespace
