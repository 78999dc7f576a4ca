// The cool label (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"

// A non-windowed label whose caption is drawn with a drop shadow, plain, or embossed when
// disabled; with an optional glyph before the text, bevels, edge lines and a wallpaper. It keeps
// the plain label's auto-size, word-wrap, layout and accelerator behaviour.
class TCoolLabel : public TCustomLabel {
  ORV_CLASS(TCoolLabel, TCustomLabel)
public:
  explicit TCoolLabel(TComponent* AOwner);
  ~TCoolLabel() override;
  void Dispatch(TMessage& Message) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  TPen* BorderPen() const { return FBorderPen; }
  void SetBorderPen(TPen* Value) { FBorderPen->Assign(Value); }
  TEdgeBorders EdgeBorders() const { return FEdgeBorders; }
  void SetEdgeBorders(TEdgeBorders Value);
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  // Created on first read.
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  TBitmap* Glyph() const { return FGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value);
  // At most 2.
  TNumGlyphs NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(TNumGlyphs Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  uint8_t ShadowSize() const { return FShadowSize; }
  void SetShadowSize(uint8_t Value);
  TShadowPosition ShadowPos() const { return FShadowPos; }
  void SetShadowPos(TShadowPosition Value);
  // True: the caption is plain text, without shadow (a disabled label is embossed still).
  bool SimpleView() const { return FSimpleView; }
  void SetSimpleView(bool Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  // Room between the bevels and the text; non-zero switches AutoSize off.
  int BevelsOffset() const { return FBevelsOffset; }
  void SetBevelsOffset(int Value);

  // The glyph's width of one image (0 without a glyph).
  int GlyphWidth() const;

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TControl::AutoSize;
  using TControl::DragMode;
  using TControl::SetDragMode;

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  // Plain, shadowed or embossed; with DT_CALCRECT measures the text with its shadow.
  void DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags) override;
  // The caption's size plus the glyph's; a right-aligned label (mirrored when it reads right
  // to left) keeps its right edge.
  void AdjustBounds() override;

  // The embossed look is a pixel larger: an auto-sized label follows.
  void CMEnabledChanged(TMessage& Message);

private:
  void Redraw(TObject*) { Invalidate(); }
  void ShadowChanged();
  void WallpaperChanged(TObject* Sender);
  bool Loading() const { return HasState(csLoading); }
  // The alignment the text is drawn with: mirrored with the mirrored alignment.
  TAlignment DrawnAlignment() const;

  // Freed last, its change event unbound first.
  TGlyph* FGlyph;
  mutable TCoolWallpaper FWallpaper;
  TPen* FBorderPen;
  TEdgeBorders FEdgeBorders = 0;
  TColor FShadowColor = clBtnHighlight;
  uint8_t FShadowSize = 1;
  TShadowPosition FShadowPos = spLeftTop;
  bool FSimpleView = false;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvNone;
  int FBevelsOffset = 0;
  TCCAboutBox* FAbout = nullptr;
};
