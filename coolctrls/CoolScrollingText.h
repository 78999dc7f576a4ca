// A block of text scrolled across the control a pixel per tick of its own thread timer (part of
// unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "coolctrls/ThreadTimer.h"

enum TScrollDirection { sdBottomToTop, sdTopToBottom, sdLeftToRight, sdRightToLeft };
extern const TEnumType TScrollDirectionType;

// After the text has left the control: InitialPosition True shows it at rest at (0, 0) before it
// moves on; False (as handed in) starts it again from its entry edge.
using TTextScrolledEvent = TClosure<TObject* /*Sender*/, bool& /*InitialPosition*/>;

// The lines (Strings), with an optional glyph in front, move one pixel per tick in
// ScrollDirection while Active; they enter from beyond the control's edge (Width or Height
// away) and start over once they have left it. A plain control scrolls its pixels on the parent
// (only the uncovered strip repaints); a transparent one has the parent paint what lies behind
// it into a memory DC; a wallpapered one paints off screen. A hidden control, or one without a
// parent window, only moves its text. At design time the text rests at (0, 0).
class TCoolScrollingText : public TGraphicControl {
  ORV_CLASS(TCoolScrollingText, TGraphicControl)
public:
  explicit TCoolScrollingText(TComponent* AOwner);
  ~TCoolScrollingText() override;
  void Dispatch(TMessage& Message) override;
  void Loaded() override;
  // A control still showing its old name (lines trimmed on the right) shows the new one.
  void SetName(const AnsiString& NewName) override;

  TStrings* Strings() const { return FStrings; }
  void SetStrings(TStrings* Value);
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  // Milliseconds between ticks (the timer takes at least 1).
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);
  // The horizontal directions also set Alignment to taLeftJustify.
  TScrollDirection ScrollDirection() const { return FScrollDirection; }
  void SetScrollDirection(TScrollDirection Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TBitmap* Glyph() const { return FGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value);
  // At most 2.
  TNumGlyphs NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(TNumGlyphs Value);
  // A shadow setting leaves the simple view.
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  int ShadowSize() const { return FShadowSize; }
  void SetShadowSize(int Value);
  TShadowPosition ShadowPos() const { return FShadowPos; }
  void SetShadowPos(TShadowPosition Value);
  bool SimpleView() const { return FSimpleView; }
  void SetSimpleView(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // Focused by the accelerator of the lines.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }

  TTextScrolledEvent OnTextScrolled;

  // The left and top of the text rectangle inside the control.
  int TextX() const { return FTextX; }
  int TextY() const { return FTextY; }
  // The ticking thread.
  TThreadTimer* Timer() const { return FTimer; }

  using TControl::AutoSize;
  using TControl::SetAutoSize;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TControl::DragCursor;
  using TControl::SetDragCursor;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  // The lines, each followed by a line break.
  virtual AnsiString GetStringsText() const { return FStrings->Text(); }
  // Draws (with DT_CALCRECT measures) the lines and a space in Rect with Flags.
  virtual void DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags);
  // With AutoSize and a parent, not loading: the size of BusyRect, the right edge kept for
  // taRightJustify.
  virtual void AdjustBounds();
  void AdjustSize() override;

  // Background, glyph and text at the text position.
  void DoPaint(TCanvas* ACanvas);
  // One tick: the text moves a pixel (or starts over) and the step is shown.
  void DoPaintEvent();
  // Reset or design time: (0, 0); else the entry position of ScrollDirection. Invalidates.
  void SetTextCoordinates(bool Reset);
  // Rect: the client rectangle grown to the extent of the text and glyph.
  void BusyRect(TRect& Rect);
  void UpdateTimer();
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode);
  bool IsWallpaperAssigned() const { return FWallpaper.Source() != nullptr; }

  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);

private:
  void StringsChange(TObject* Sender);
  void WallpaperChanged(TObject* Sender);
  void Changed(TObject*) { Invalidate(); }
  void DoTimer(TObject* Sender);
  // The three ways of showing a step of (DX, DY).
  void ScrollStep(int DX, int DY);
  void TransparentStep();
  void WallpaperStep();
  // The widest line of the text as DoDrawText measures it.
  int TextWidth(TCanvas* ACanvas);

  TGlyph* FGlyph;
  TStringList* FStrings;
  TThreadTimer* FTimer;
  mutable TCoolWallpaper FWallpaper;
  TWinControl* FFocusControl = nullptr;
  TCCAboutBox* FAbout = nullptr;
  int FTextX = 0, FTextY = 0;
  unsigned FInterval = 25;
  TScrollDirection FScrollDirection = sdRightToLeft;
  TAlignment FAlignment = taLeftJustify;
  TColor FShadowColor = clBtnHighlight;
  int FShadowSize = 1;
  TShadowPosition FShadowPos = spLeftTop;
  bool FActive = false;
  bool FTransparent = false;
  bool FSimpleView = false;
  bool FShowAccelChar = true;
  bool* FDestroyedFlag = nullptr;  // set while a tick runs; the destructor raises it
};
