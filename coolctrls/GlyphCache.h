// Glyphs of the cool controls: a picture with an enabled and a disabled look, kept in image
// lists shared by every glyph of one size, and the layout of glyph and caption in a rectangle.
#pragma once

#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"  // TBevelCut
#include "vcl/ImgList.h"

#include <vector>

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };
extern const TEnumType TShadowPositionType;

enum TBevelStyleEx { bsBevelBoth, bsBevelOnlyImage, bsBevelOnlyText };
extern const TEnumType TBevelStyleExType;


// An image list whose slots are handed out and taken back; a freed slot is reused, the system
// list never shrinks.
class TGlyphList : public TImageList {
  ORV_CLASS(TGlyphList, TImageList)
public:
  TGlyphList(int AWidth, int AHeight);

  // The first free slot (appending an empty image when none is free), now marked used.
  int AllocateIndex();
  int Add(TBitmap* Image, TBitmap* Mask);
  int AddMasked(TBitmap* Image, TColor MaskColor);
  // Frees a used slot; the image stays in the system list.
  void Delete(int Index);

  // Occupied slots.
  int Count() const { return FCount; }
  bool Used(int Index) const { return Index >= 0 && Index < int(FUsed.size()) && FUsed[Index]; }
  int UsedSize() const { return int(FUsed.size()); }

private:
  // Fills a newly allocated slot; the slot is given back when Fill throws.
  template <class F> int AddInNewSlot(F Fill);
  std::vector<bool> FUsed;
  int FCount = 0;
};

// The image lists of all glyphs, one per image size.
class TGlyphCache : public TObject {
  ORV_CLASS(TGlyphCache, TObject)
public:
  TGlyphCache() = default;
  ~TGlyphCache() override;

  // The list of that image size, made when there is none.
  TGlyphList* GetList(int AWidth, int AHeight);
  // Frees List when no slot of it is used.
  void ReturnList(TGlyphList* List);
  bool Empty() const { return FLists.empty(); }
  int ListCount() const { return int(FLists.size()); }

private:
  std::vector<TGlyphList*> FLists;
};

// Created by the first glyph, freed by the last one that leaves it empty.
extern TGlyphCache* GlyphCache;

// Called before a glyph builds a look of W x H pixels (none by default); a check that throws
// stands for a look the system cannot make. Returns the previous one. For tests.
using TGlyphBuildCheck = void (*)(int W, int H);
TGlyphBuildCheck SetGlyphBuildCheck(TGlyphBuildCheck Check);

// A picture of up to four images side by side (image 0 enabled, image 1 disabled) drawn beside a
// caption.
class TGlyph : public TObject {
  ORV_CLASS(TGlyph, TObject)
public:
  TGlyph();
  ~TGlyph() override;

  TBitmap* Glyph() const { return FPicture; }
  // Copies Value (nullptr empties the picture); a picture whose width is a whole multiple of
  // its height sets NumGlyphs (1 for more than four).
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor Value) { FTransparentColor = Value; }
  // True: the caption is measured as one line (TextWidth, TextHeight); False: DrawText
  // measures it within the client width.
  bool SingleLineMeasure() const { return FSingleLineMeasure; }
  void SetSingleLineMeasure(bool Value) { FSingleLineMeasure = Value; }

  // The list holding the looks (nullptr until one is built) and a look's index there (-1: not
  // built).
  TGlyphList* GlyphList() const { return FGlyphList; }
  int ImageIndex(bool Enabled) const { return FIndexes[Enabled ? 1 : 0]; }

  // Frees both looks and hands the list back to the cache.
  void Invalidate();
  // Builds the look when needed; its index in GlyphList, -1 for an empty picture.
  int CreateGlyph(bool Enabled);

  void DrawImage(TCanvas* Canvas, TPoint GlyphPos, bool Enabled, bool Transparent, TColor BlendColor);
  void DrawCaption(TCanvas* Canvas, const AnsiString& Caption, const TRect& TextBounds, bool Enabled,
                   bool SimpleView, TShadowPosition ShadowPos, TColor ShadowColor, int ShadowSize,
                   unsigned BiDiFlags);
  void CalcButtonLayout(TCanvas* Canvas, const TRect& Client, TPoint Offset, const AnsiString& Caption,
                        TButtonLayout Layout, int Margin, int Spacing, TPoint& GlyphPos, TRect& TextBounds,
                        unsigned BiDiFlags);
  void DrawImageEx(TCanvas* Canvas, const TRect& Client, TPoint Offset, const AnsiString& Caption,
                   TButtonLayout Layout, int Margin, int Spacing, bool Enabled, bool Transparent,
                   TColor BlendColor, unsigned BiDiFlags);
  void DrawBevels(TCanvas* Canvas, const TRect& Client, TPoint Offset, const AnsiString& Caption,
                  TButtonLayout Layout, int Margin, int Spacing, TBevelCut Inner, TBevelCut Outer,
                  TBevelStyleEx Style, unsigned BiDiFlags);
  // Glyph and caption clipped to Client; returns the caption's rectangle.
  TRect Draw(TCanvas* Canvas, const TRect& Client, TPoint Offset, const AnsiString& Caption,
             TButtonLayout Layout, int Margin, int Spacing, bool Enabled, bool Transparent, TColor BlendColor,
             bool SimpleView, TShadowPosition ShadowPos, TColor ShadowColor, int ShadowSize,
             unsigned BiDiFlags);

  // Called after the picture changed.
  TNotifyEvent OnChange;

private:
  // Draws the look into a W by H image and adds it to the glyph's list; the new slot.
  int AddLook(bool Enabled, int W, int H);
  void GlyphChanged(TObject* Sender);

  TBitmap* FPicture;
  TGlyphList* FGlyphList = nullptr;
  int FIndexes[2] = {-1, -1};  // disabled, enabled
  TColor FTransparentColor = clOlive;
  TNumGlyphs FNumGlyphs = 1;
  bool FSingleLineMeasure = false;
};

// How a button arranges its glyph and caption for TGlyph::Draw. Each setter tells whether the
// value changed: margins below -1 are refused, and a shadow setting leaves the simple view.
struct TGlyphLook {
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;
  TColor ShadowColor = clBtnHighlight;
  int ShadowSize = 1;
  TShadowPosition ShadowPos = spLeftTop;
  bool SimpleView = false;

  bool SetLayout(TButtonLayout Value) { return Assign(Layout, Value, false); }
  bool SetMargin(int Value) { return Value >= -1 && Assign(Margin, Value, false); }
  bool SetSpacing(int Value) { return Assign(Spacing, Value, false); }
  bool SetShadowColor(TColor Value) { return Assign(ShadowColor, Value, true); }
  bool SetShadowSize(int Value) { return Assign(ShadowSize, Value, true); }
  bool SetShadowPos(TShadowPosition Value) { return Assign(ShadowPos, Value, true); }
  bool SetSimpleView(bool Value) { return Assign(SimpleView, Value, false); }

private:
  template <class T>
  bool Assign(T& Field, T Value, bool Shadow) {
    if (Field == Value) return false;
    Field = Value;
    if (Shadow) SimpleView = false;
    return true;
  }
};
