// Unit BMPAGE, the tab sheet (include "package/BMPAGE.h"): the page of a TBMPageControl, with
// the glyphs of its tab in four looks, a stretched or tiled background bitmap or see-through
// levels of what lies behind the page control, a cloud colour and sounds of its own. One buffer
// the size of the whole page control paints both the page and its tab, so the background
// continues under the tab.
#pragma once

#include "package/BMPageControl.h"

enum TBackgroundStyle { bgsStretched, bgsTailed };
extern const TEnumType TBackgroundStyleType;

class TBMTabSheet : public TTabSheet {
  ORV_CLASS(TBMTabSheet, TTabSheet)
public:
  explicit TBMTabSheet(TComponent* AOwner);
  ~TBMTabSheet() override;
  void Dispatch(TMessage& Message) override;

  // Published properties. The glyphs and the background are copied into the sheet's own bitmaps.
  TBitmap* Glyph() const { return FGlyphs[0]; }
  void SetGlyph(TBitmap* Value) { FGlyphs[0]->Assign(Value); }
  TBitmap* GlyphUnselected() const { return FGlyphs[1]; }
  void SetGlyphUnselected(TBitmap* Value) { FGlyphs[1]->Assign(Value); }
  TBitmap* GlyphHighlighted() const { return FGlyphs[2]; }
  void SetGlyphHighlighted(TBitmap* Value) { FGlyphs[2]->Assign(Value); }
  TBitmap* GlyphSelectedHighlighted() const { return FGlyphs[3]; }
  void SetGlyphSelectedHighlighted(TBitmap* Value) { FGlyphs[3]->Assign(Value); }
  TBitmap* BackgroundBitmap() const { return FBackgroundBitmap; }
  void SetBackgroundBitmap(TBitmap* Value);
  TColor HotTrackCloudColor() const { return FHotTrackCloudColor; }
  void SetHotTrackCloudColor(TColor Value);
  TBMCustomSound* HighlightSound() const { return FSounds.Highlight; }
  void SetHighlightSound(TBMCustomSound* Value) { TBMTabSounds::Set(this, FSounds.Highlight, Value); }
  TBMCustomSound* PulseSound() const { return FSounds.Pulse; }
  void SetPulseSound(TBMCustomSound* Value) { TBMTabSounds::Set(this, FSounds.Pulse, Value); }
  TBMCustomSound* SelectSound() const { return FSounds.Select; }
  void SetSelectSound(TBMCustomSound* Value) { TBMTabSounds::Set(this, FSounds.Select, Value); }
  TBackgroundStyle BackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TBackgroundStyle Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // 1 to 100 (100: the parent unchanged); 0 or below stores 1, above 100 stores 100.
  int TransparentLevel() const { return FTransparentLevel; }
  void SetTransparentLevel(int Value);
  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;

  // The 16 by 16 glyph of the tab in a look (0 normal, 1 unselected, 2 highlighted, 3
  // selected-highlighted): the top-left of the published glyph, black when that is empty.
  TBitmap* TabGlyph(int Look) const { return FTabGlyphs[Look]; }
  TBMPageControl* BMPageControl() const;

  // The background buffer (the page control's size), made again when it was dropped; null when
  // the sheet has neither a background bitmap nor transparency.
  TBitmap* RefreshBuffer();
  // Blends the buffer (holding the parent image) towards Color, or the background bitmap, by
  // the transparency level.
  void ProcessTransparentLevel();
  // Erases the client area from the buffer (or with Color).
  void DrawBkg(HDC DC);
  // Repaints the 2-pixel frame the page control draws round the sheet (tab style only).
  void InvalidateParentBorder();
  void InvalidateFull();
  void ViewChange();
  // Forgets the buffer; the next RefreshBuffer makes it again.
  void DropBuffer() { FBuffer->Assign(nullptr); }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WMMove(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void BMChangeView(TMessage& Message);

private:
  void TheChangeGlypht(int Look);
  void GlyphChanged(TObject* Sender);
  void ImageChange(TObject* Sender);
  // The background bitmap over Target's whole size: tiled from (0, 0) or stretched inside a
  // 2-pixel margin.
  void DrawBackground(TBitmap* Target);

  TBitmap* FGlyphs[4];
  TBitmap* FTabGlyphs[4];
  TBitmap* FBackgroundBitmap;
  TBitmap* FBuffer;
  TCanvas* FCanvas;
  TColor FHotTrackCloudColor = 65535;
  TBMTabSounds FSounds;
  TBackgroundStyle FBackgroundStyle = bgsStretched;
  bool FTransparent = false;
  int FTransparentLevel = 100;
};
