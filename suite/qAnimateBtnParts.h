// Unit qAnimate, what the windowed colour buttons and their non-windowed twins share: the look
// types, the 3-D edge, the caption, the glyph state images and the icon fill-in.
#pragma once
#include "suite/Std2.h"
#include "vcl/Controls.h"

// How a button shows that it is the focused or default one.
enum TqcDefLook { dlBold, dlFrame, dlNone };
extern const TEnumType TqcDefLookType;
using TqGlassValue = int;  // 0..255

namespace qanimate {

// The raised edge of a button whose last pixel is (R, B), inset by D; pushed in when Pressed.
void DrawButtonEdge(TCanvas* C, int R, int B, int D, bool Pressed, TColor Shadow, TColor HighLight);
// One pass of a caption in Color, moved by (Shift, Shift); clear brush, DrawTextA with Flags.
void DrawCaptionPass(TCanvas* C, const AnsiString& Text, TRect R, unsigned Flags, TColor Color, int Shift);
// The caption in the font colour, or, disabled, in white one pixel down-right and grey on top.
void DrawCaption(TCanvas* C, const AnsiString& Text, const TRect& R, unsigned Flags, bool Enabled);

// The four state images cut from a strip of NumGlyphs images side by side: up, disabled, down,
// hot. One image: all but the disabled one are it, the disabled one is its dark pixels embossed
// on the face colour; two: up and disabled; three: up, disabled, down (hot is up); four: all.
class TGlyphStates {
public:
  TBitmap* Up() { return &FUp; }
  TBitmap* Down() { return &FDown; }
  TBitmap* Disabled() { return &FDisabled; }
  TBitmap* Hot() { return &FHot; }
  void Split(TBitmap* Strip, int NumGlyphs, TColor FaceColor);
  // The colour of the up image's bottom-left pixel (clNone when it is empty).
  TColor AutoTransparentColor();

private:
  TBitmap FUp, FDown, FDisabled, FHot;
};

// Fills empty icons from the others, in this order: disabled and down from enabled, enabled and
// down from disabled, disabled and enabled from down.
void FillInIcons(TIcon* Enabled, TIcon* Down, TIcon* Disabled);

// The glyph strip's number of images, kept to 1..4.
inline int GlyphCount(int Value) { return Value < 1 ? 1 : Value > 4 ? 4 : Value; }

}  // namespace qanimate

// What a glyph-strip colour button adds to its colour button (windowed or not): the strip (a
// copy of what it is given), its cut into the state images (again after loading and whenever
// the strip, the image count, the colour or the transparent colour change) and where the glyph
// stands. With AutoBackColor the transparent colour is the up image's bottom-left pixel.
template <class TBase> class TqGlyphButton : public TBase {
public:
  explicit TqGlyphButton(TComponent* AOwner) : TBase(AOwner), FGlyph(New<TBitmap>()) {
    FGlyph->OnChange = TNotifyEvent::Bind<&TqGlyphButton::GlyphChanged>(this);
  }
  ~TqGlyphButton() override {
    FGlyph->OnChange = nullptr;
    TObject::Free(FGlyph);
  }
  void Loaded() override {
    TBase::Loaded();
    SplitBitmap();
  }
  void Dispatch(TMessage& Message) override {
    TBase::Dispatch(Message);
    if (Message.Msg == CM_COLORCHANGED) Resplit();
  }

  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
  int NumGlyphs() const { return FNumGlyphs; }
  // Kept to 1..4.
  void SetNumGlyphs(int Value) {
    FNumGlyphs = qanimate::GlyphCount(Value);
    Resplit();
  }
  TColor TransparentColor() const { return FTransparentColor; }
  // Also switches AutoBackColor off.
  void SetTransparentColor(TColor Value) {
    FTransparentColor = Value;
    FAutoBackColor = false;
    Resplit();
  }
  tBitWhere BitmapWhere() const { return FBitmapWhere; }
  void SetBitmapWhere(tBitWhere Value) {
    if (FBitmapWhere == Value) return;
    FBitmapWhere = Value;
    this->Invalidate();
  }
  bool AutoBackColor() const { return FAutoBackColor; }
  void SetAutoBackColor(bool Value) {
    FAutoBackColor = Value;
    Resplit();
  }
  bool TextOnTop() const { return FTextOnTop; }
  void SetTextOnTop(bool Value) {
    FTextOnTop = Value;
    Resplit();
  }
  qanimate::TGlyphStates& States() { return FStates; }

protected:
  // Rebuilds the state images, then repaints.
  void SplitBitmap() {
    FStates.Split(FGlyph, FNumGlyphs, this->Color());
    if (FAutoBackColor) FTransparentColor = FStates.AutoTransparentColor();
    this->Invalidate();
  }
  // The colour to paint the glyph transparent with: with AutoBackColor taken again from the up
  // image.
  TColor PaintTransparentColor() {
    if (FAutoBackColor) FTransparentColor = FStates.AutoTransparentColor();
    return FTransparentColor;
  }
  // SplitBitmap unless the button is being loaded (Loaded does it then).
  void Resplit() {
    if (!this->HasState(csLoading)) SplitBitmap();
  }

private:
  void GlyphChanged(TObject*) { Resplit(); }

  TBitmap* FGlyph;
  int FNumGlyphs = 1;
  TColor FTransparentColor = clFuchsia;
  tBitWhere FBitmapWhere = q_BWLeft;
  bool FAutoBackColor = false;
  bool FTextOnTop = false;
  qanimate::TGlyphStates FStates;
};

// The published entries of a glyph-strip button class C.
template <class C> struct TqGlyphProps {
  static constexpr TPropInfo Glyph() { return PropObject<&C::Glyph, &C::SetGlyph>("Glyph"); }
  static constexpr TPropInfo NumGlyphs() { return PropInt<&C::NumGlyphs, &C::SetNumGlyphs>("NumGlyphs", 1); }
  static constexpr TPropInfo TransparentColor() {
    return PropColor<&C::TransparentColor, &C::SetTransparentColor>("TransparentColor", clFuchsia);
  }
  static constexpr TPropInfo BitmapWhere() {
    return PropEnum<&C::BitmapWhere, &C::SetBitmapWhere>("BitmapWhere", tBitWhereType, q_BWLeft);
  }
  static constexpr TPropInfo AutoBackColor() {
    return PropBool<&C::AutoBackColor, &C::SetAutoBackColor>("AutoBackColor", false);
  }
  static constexpr TPropInfo TextOnTop() { return PropBool<&C::TextOnTop, &C::SetTextOnTop>("TextOnTop", false); }
};

// What an icon colour button adds to its colour button: an icon for the enabled, pushed-in and
// disabled looks (each setter takes a copy), and with AutoAllIcons the empty ones filled from
// the others.
template <class TBase> class TqIconButton : public TBase {
public:
  explicit TqIconButton(TComponent* AOwner)
      : TBase(AOwner), FGlyphEnabled(New<TIcon>()), FGlyphDown(New<TIcon>()), FGlyphDisabled(New<TIcon>()) {
    this->SetBounds(this->Left(), this->Top(), 140, 44);
  }
  ~TqIconButton() override {
    TObject::Free(FGlyphEnabled);
    TObject::Free(FGlyphDown);
    TObject::Free(FGlyphDisabled);
  }

  TIcon* GlyphEnabled() const { return FGlyphEnabled; }
  void SetGlyphEnabled(TIcon* Value) {
    FGlyphEnabled->Assign(Value);
    SetIcons();
  }
  TIcon* GlyphDown() const { return FGlyphDown; }
  void SetGlyphDown(TIcon* Value) {
    FGlyphDown->Assign(Value);
    SetIcons();
  }
  TIcon* GlyphDisabled() const { return FGlyphDisabled; }
  void SetGlyphDisabled(TIcon* Value) {
    FGlyphDisabled->Assign(Value);
    SetIcons();
  }
  tBitWhere IconWhere() const { return FIconWhere; }
  void SetIconWhere(tBitWhere Value) {
    if (FIconWhere == Value) return;
    FIconWhere = Value;
    this->Invalidate();
  }
  bool AutoAllIcons() const { return FAutoAllIcons; }
  void SetAutoAllIcons(bool Value) { FAutoAllIcons = Value; }

protected:
  virtual void SetIcons() {
    if (!FAutoAllIcons) return;
    qanimate::FillInIcons(FGlyphEnabled, FGlyphDown, FGlyphDisabled);
    this->Invalidate();
  }
  // The icon of the current look: pushed in, enabled or disabled.
  TIcon* CurrentIcon() const {
    const bool On = this->Enabled();
    return this->Pressed() && On ? FGlyphDown : On ? FGlyphEnabled : FGlyphDisabled;
  }

private:
  TIcon* FGlyphEnabled;
  TIcon* FGlyphDown;
  TIcon* FGlyphDisabled;
  tBitWhere FIconWhere = q_BWLeft;
  bool FAutoAllIcons = true;
};

// The published entries of an icon button class C.
template <class C> struct TqIconProps {
  static constexpr TPropInfo GlyphEnabled() {
    return PropObject<&C::GlyphEnabled, &C::SetGlyphEnabled>("GlyphEnabled");
  }
  static constexpr TPropInfo GlyphDown() { return PropObject<&C::GlyphDown, &C::SetGlyphDown>("GlyphDown"); }
  static constexpr TPropInfo GlyphDisabled() {
    return PropObject<&C::GlyphDisabled, &C::SetGlyphDisabled>("GlyphDisabled");
  }
  static constexpr TPropInfo IconWhere() {
    return PropEnum<&C::IconWhere, &C::SetIconWhere>("IconWhere", tBitWhereType, q_BWLeft);
  }
  static constexpr TPropInfo AutoAllIcons() {
    return PropBool<&C::AutoAllIcons, &C::SetAutoAllIcons>("AutoAllIcons", true);
  }
  static constexpr TPropInfo Width() { return PropInt<&TControl::Width, &TControl::SetWidth>("Width", 140); }
  static constexpr TPropInfo Height() { return PropInt<&TControl::Height, &TControl::SetHeight>("Height", 44); }
};
