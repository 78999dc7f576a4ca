// The owner-drawn cool button and the caption-glyph button (part of unit CoolCtrls; include
// "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "vcl/Buttons.h"
#include "vcl/ImgList.h"

enum TBtnPaintOption { bpoDrawFocus, bpoDrawDefault };
using TBtnPaintOptions = unsigned;  // bit n = TBtnPaintOption n
constexpr TBtnPaintOptions BtnPaintOption(TBtnPaintOption O) { return 1u << O; }
extern const TEnumType TBtnPaintOptionType;

using TDrawButtonEvent = TClosure<TObject*, TCanvas*, const TRect&>;

// A push button painted by itself (BS_OWNERDRAW): a rectangular or circular face filled with
// Color, a wallpaper, a gradient or what lies behind it; a raised edge (only under the mouse
// with ocFlatBorder), the default frame and focus mark; a glyph and a shadowed caption; with
// Animated, the images of Images one after another, one per Interval.
class TCoolBtn : public TButton {
  ORV_CLASS(TCoolBtn, TButton)
public:
  explicit TCoolBtn(TComponent* AOwner);
  ~TCoolBtn() override;
  void Dispatch(TMessage& Message) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  bool Animated() const { return FAnimated; }
  void SetAnimated(bool Value);
  TBtnPaintOptions BtnPaintOptions() const { return FBtnPaintOptions; }
  void SetBtnPaintOptions(TBtnPaintOptions Value);
  TColor ColorStart() const { return FColorStart; }
  void SetColorStart(TColor Value);
  TColor ColorEnd() const { return FColorEnd; }
  void SetColorEnd(TColor Value);
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection Value);
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  TBitmap* Glyph() const { return FGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value) { FGlyph->SetGlyph(Value); }
  // At most 2.
  TNumGlyphs NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(TNumGlyphs Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);
  TCoolOptions Options() const { return FOptions; }
  void SetOptions(TCoolOptions Value);
  TButtonLayout Layout() const { return FLook.Layout; }
  void SetLayout(TButtonLayout Value) { if (FLook.SetLayout(Value)) Changed(this); }
  // Values below -1 are ignored.
  int Margin() const { return FLook.Margin; }
  void SetMargin(int Value) { if (FLook.SetMargin(Value)) Changed(this); }
  int Spacing() const { return FLook.Spacing; }
  void SetSpacing(int Value) { if (FLook.SetSpacing(Value)) Changed(this); }
  TColor ShadowColor() const { return FLook.ShadowColor; }
  void SetShadowColor(TColor Value) { if (FLook.SetShadowColor(Value)) Changed(this); }
  int ShadowSize() const { return FLook.ShadowSize; }
  void SetShadowSize(int Value) { if (FLook.SetShadowSize(Value)) Changed(this); }
  TShadowPosition ShadowPos() const { return FLook.ShadowPos; }
  void SetShadowPos(TShadowPosition Value) { if (FLook.SetShadowPos(Value)) Changed(this); }
  bool SimpleView() const { return FLook.SimpleView; }
  void SetSimpleView(bool Value) { if (FLook.SetSimpleView(Value)) Changed(this); }
  uint8_t TransparencyLevel() const { return FTransparencyLevel; }
  void SetTransparencyLevel(uint8_t Value);

  // The image of Images the animation shows next.
  int Frame() const { return FFrame; }
  // The mouse is over the button.
  bool Hot() const { return FHot; }
  TTimer* AnimationTimer() const { return FTimer; }
  // One animation step, as the timer's tick does.
  void UpdateTimer(TObject* Sender);

  using TControl::Color;
  using TControl::SetColor;

  TDrawButtonEvent OnDrawButton;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  // Both faces, then OnDrawButton.
  virtual void DrawItem(const DRAWITEMSTRUCT& DrawItemStruct);
  // Descendants keep the edge off while something of theirs is open.
  bool NoFrame() const { return FNoFrame; }
  void SetNoFrame(bool Value);

  void CNMeasureItem(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CMInvalidating(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);

private:
  void DrawItemRect(HDC DC, bool Pressed, bool Focused);
  void DrawItemCircle(HDC DC, bool Pressed, bool Focused);
  // The content rectangle moved when pressed, glyph (or animation frame) and caption.
  void DrawContent(bool Pressed);
  // The animation frame to show, -1 for the button's own glyph.
  int AnimationImage() const;
  // FGlyph, or a glyph holding image Index of Images (made in Temp).
  TGlyph* GlyphFor(int Index, TGlyph& Temp) const;
  unsigned TextFlags() const;
  void Changed(TObject*) { if (!HasState(csLoading)) Invalidate(); }
  void GradientChanged();

  TCanvas* FCanvas;
  TGlyph* FGlyph;
  mutable TCoolWallpaper FWallpaper;
  TChangeLink* FImageLink;
  TTimer* FTimer;
  TCustomImageList* FImages = nullptr;
  TCoolOptions FOptions = 0;
  TGlyphLook FLook;
  int FFrame = 0;
  uint8_t FTransparencyLevel = 0;
  TColor FColorStart = clBtnFace;
  TColor FColorEnd = clBtnShadow;
  TGradientDirection FGradientDirection = gdHorizontal;
  unsigned FInterval = 1000;
  bool FAnimated = false;
  bool FDefaultLook = false;
  bool FHot = false;
  bool FNoFrame = false;
  TBtnPaintOptions FBtnPaintOptions = BtnPaintOption(bpoDrawFocus) | BtnPaintOption(bpoDrawDefault);
  TCCAboutBox* FAbout = nullptr;
};

// A small owner-drawn button showing one of the system's caption-bar glyphs.
class TCoolCaptionBtn : public TButton {
  ORV_CLASS(TCoolCaptionBtn, TButton)
public:
  explicit TCoolCaptionBtn(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  TCaptionBtnType CaptionBtnType() const { return FCaptionBtnType; }
  void SetCaptionBtnType(TCaptionBtnType Value);
  // The DFCS_CAPTION* kind of a type.
  static unsigned FrameKind(TCaptionBtnType Type);
  // Published read-only.
  using TControl::Caption;

protected:
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  void CNMeasureItem(TMessage& Message);
  void CNDrawItem(TMessage& Message);

private:
  TCaptionBtnType FCaptionBtnType = cbtClose;
  bool FDefaultLook = false;
  TCCAboutBox* FAbout = nullptr;
};
