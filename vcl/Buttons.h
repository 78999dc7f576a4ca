// Bitmap buttons: a push button drawing a glyph (up to four state images) next to its caption.
#pragma once

#include "vcl/StdCtrls.h"

#include <array>
#include <cstdint>
#include <vector>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
extern const TEnumType TButtonLayoutType;

// The glyph images of a bitmap, left to right: up, disabled, down, stay-down.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// bsAutoDetect follows the system (the new look); bsWin31 is the old black-framed look.
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
extern const TEnumType TButtonStyleType;

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
extern const TEnumType TBitBtnKindType;

using TNumGlyphs = int;   // 1..4

// Where the glyph and the caption go inside a content rectangle (Client, in the canvas's
// coordinates): the classic placement with Margin -1 centring the pair and Spacing -1 spreading
// the free space evenly.
struct TButtonContentLayout {
  TRect Glyph;   // empty when there is no glyph
  TRect Text;    // empty when there is no caption
};
TButtonContentLayout CalcButtonLayout(const TRect& Client, TSize GlyphSize, TSize TextSize,
                                      TButtonLayout Layout, int Margin, int Spacing);

// The images of a glyph bitmap cut into NumGlyphs states, each a 32-bit top-down pixel block
// ($00RRGGBB, the alpha byte 0 where the pixel is transparent and 255 elsewhere). The
// transparent colour of an image is its bottom-left pixel. The disabled image is derived from
// the up image (embossed in button highlight and shadow colours) when NumGlyphs < 2; a missing
// down or stay-down image is the up image.
class TGlyphImages {
public:
  void Clear();
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Cuts Glyph into NumGlyphs images (the bitmap is read through its canvas).
  void Build(TBitmap* Glyph, int NumGlyphs);
  // One pixel of a state's image: true when opaque, with its colour in Color.
  bool Pixel(TButtonState State, int X, int Y, TColor& Color) const;
  // Draws a state's image with its transparent pixels skipped.
  void Draw(HDC DC, int X, int Y, TButtonState State) const;

private:
  const std::vector<uint32_t>& Image(TButtonState State) const;
  std::array<std::vector<uint32_t>, 4> FImages;
  int FWidth = 0, FHeight = 0;
  int FCount = 0;
};

// Rect filled with an 8 x 8 checker: Even where X + Y is even, Odd elsewhere (the face of a
// button that stays down).
void FillPatternRect(TCanvas* Canvas, const TRect& Rect, TColor Even, TColor Odd);

// ---------------------------------------------------------------------------------------------
// An owner-drawn push button with a glyph. Default, Cancel and ModalResult act as on TButton;
// Kind gives the standard caption and result of a dialog button.
class TBitBtn : public TButton {
  ORV_CLASS(TBitBtn, TButton)
public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;

  TBitmap* Glyph() const { return FGlyph; }
  // Copies Value; a bitmap whose width is 1..4 times its height sets NumGlyphs to that ratio.
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  // Clamped to 1..4.
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  // Distance of the glyph from the edge of the content; -1 centres glyph and caption.
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  // Distance between glyph and caption; -1 spreads the free space evenly.
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  TButtonStyle Style() const { return FStyle; }
  void SetStyle(TButtonStyle Value);
  // bkCustom once Default, Cancel, ModalResult or the glyph no longer match the kind.
  TBitBtnKind Kind() const;
  // A standard kind sets Default (OK, Yes), Cancel (Cancel, No), ModalResult and the caption.
  void SetKind(TBitBtnKind Value);

  // Where the glyph and caption are drawn in the current state (client coordinates).
  TButtonContentLayout ContentLayout();

  void Click() override;
  void Dispatch(TMessage& Message) override;
  void Loaded() override;

  // The kind's standard caption and modal result.
  static AnsiString KindCaption(TBitBtnKind Kind);
  static TModalResult KindModalResult(TBitBtnKind Kind);

  static bool IsCustom(const TObject* Obj);
  static bool IsCustomCaption(const TObject* Obj);

protected:
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  // Paints the whole button onto DC (client coordinates).
  virtual void DrawButton(HDC DC, bool Pressed, bool HasFocus, bool Disabled);

  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void CMSysColorChange(TMessage& Message);

private:
  void GlyphChanged(TObject* Sender);
  void Changed();   // repaints and drops the cut images
  const TGlyphImages& Images();
  TRect ContentRect(bool Pressed) const;
  TButtonContentLayout CalcLayout(HDC DC, bool Pressed);
  void DrawFrame(TCanvas* ACanvas, bool Pressed, bool Disabled);

  TBitmap* FGlyph;
  TCanvas* FCanvas;
  TGlyphImages FImages;
  bool FImagesValid = false;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  TButtonStyle FStyle = bsAutoDetect;
  TBitBtnKind FKind = bkCustom;
  bool FModifiedGlyph = false;
  bool FDrawnActive = false;
};

// ---------------------------------------------------------------------------------------------
// A button without a window, drawn by its parent: a glyph and a caption on a raised face, sunken
// while pressed or down, embossed while disabled. Flat shows the face's edge only under the mouse
// (and while pressed or down), on the parent's background when Transparent, else on Color.
// Buttons of one parent with the same GroupIndex (not 0) stay down one at a time: a click puts
// one down and the others up; AllowAllUp lets a click put the last one up again.
class TSpeedButton : public TGraphicControl {
  ORV_CLASS(TSpeedButton, TGraphicControl)
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  // Always false while GroupIndex is 0; the last button down of a group without AllowAllUp
  // stays down.
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* Glyph() const { return FGlyph; }
  // Copies Value; a bitmap whose width is 1..4 times its height sets NumGlyphs to that ratio.
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  // Clamped to 1..4.
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  // As TBitBtn's.
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // The state drawn now: bsUp, bsDisabled, bsDown (pressed) or bsExclusive (down).
  TButtonState State() const { return FState; }
  // The mouse is over the button.
  bool MouseInControl() const { return FMouseInControl; }
  // Where the glyph and caption are drawn in the current state (client coordinates).
  TButtonContentLayout ContentLayout();

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentFont;
  using TControl::SetParentFont;

  using TControl::Click;
  void Dispatch(TMessage& Message) override;
  void Loaded() override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void GlyphChanged(TObject*);
  void Changed();   // repaints and drops the cut images
  const TGlyphImages& Images();
  bool Pressed() const { return FState == bsDown || FState == bsExclusive; }
  // Inside the edge.
  TRect FaceRect() const;
  TButtonContentLayout CalcLayout(HDC DC);
  // Tells the other buttons of the group that this one went down.
  void UpdateExclusive();
  void SetMouseInControl(bool Value);
  void CMButtonPressed(TMessage& Message);
  void CMDialogChar(TMessage& Message);

  TBitmap* FGlyph;
  TGlyphImages FImages;
  bool FImagesValid = false;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  int FGroupIndex = 0;
  TButtonState FState = bsUp;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FFlat = false;
  bool FTransparent = true;
  bool FDragging = false;
  bool FMouseInControl = false;
};
