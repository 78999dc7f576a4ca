// Unit qAnimate, what the windowed colour buttons and their non-windowed twins share: the look
// types, the 3-D edge, the caption, the glyph state images and the icon fill-in.
#pragma once
#include "suite/Blend.h"
#include "suite/Std2.h"
#include "vcl/Controls.h"

// How a button shows that it is the focused or default one.
enum TqcDefLook { dlBold, dlFrame, dlNone };
extern const TEnumType TqcDefLookType;
using TqGlassValue = int;  // the grey tint of a transparent twin
inline constexpr TSubrangeType TqGlassValueRange{"TqGlassValue", 0, 255};

namespace qanimate {

// The raised edge of a button whose last pixel is (R, B), inset by D; pushed in when Pressed.
void DrawButtonEdge(TCanvas* C, int R, int B, int D, bool Pressed, TColor Shadow, TColor HighLight);
// A gradient face over (0, 0)-(R, B), moved by a pixel while Pressed: bands of the ramp for gVert
// and gHorz, rings to the centre for gCenter. Nothing (the face stays as it is) for equal colours,
// no bands or another fill type.
void PaintGradientFace(TCanvas* C, int R, int B, bool Pressed, TColor Color, TColor EndColor, gradType Fill,
                       int Bands, const TqColorRamp& Ramp);
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
inline tBitNumber GlyphCount(int Value) { return tBitNumberRange.Clamp(Value); }

}  // namespace qanimate

// What a colour button and its non-windowed twin share: the caption placement and edge
// colours, the flat look with its hover flag, the pressed and held flags, and the mouse
// handling that keeps them (the descendant says when the hover is followed and how a change of
// the pressed look is shown).
template <class TBase> class TqColorButtonLook : public TBase {
public:
  explicit TqColorButtonLook(TComponent* AOwner) : TBase(AOwner) {}

  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_MOUSEMOVE: WMMouseMove(Message); break;
      case WM_RBUTTONUP: WMRButtonUp(Message); break;
      case WM_ERASEBKGND: Message.Result = 1; break;  // the paint covers the whole control
      case CM_ENABLEDCHANGED:
        TBase::Dispatch(Message);
        SetMouseIn();
        this->Invalidate();
        break;
      default: TBase::Dispatch(Message);
    }
  }

  // Show the edge only while the mouse is over the button.
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value) { ChangeLook(FFlat, Value); }
  qbHorzAlign HorzAlign() const { return FHorzAlign; }
  void SetHorzAlign(qbHorzAlign Value) { Store(FHorzAlign, Value); }
  bool MultipleLines() const { return FMultipleLines; }
  void SetMultipleLines(bool Value) { Store(FMultipleLines, Value); }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { Store(FWordWrap, Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { StoreChanged(FAlignment, Value); }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TColor HighLightColor() const { return FHighLightColor; }
  void SetHighLightColor(TColor Value) { StoreChanged(FHighLightColor, Value); }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value) { StoreChanged(FShadowColor, Value); }

  // The mouse is over a flat button; drawn pushed in; the left button went down on it and is not
  // yet released (pressed without held is the Space key's press).
  bool Hover() const { return FHover; }
  bool Pressed() const { return FPressed; }
  bool Held() const { return FHeld; }

  TNotifyEvent OnPaint;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  // Whether the hover flag is followed now (whenever enabled, at least).
  virtual bool FollowsHover() const = 0;
  // Shows a change of the pressed look while held (repaint now, or invalidate).
  virtual void ShowPressed() = 0;
  // Re-evaluates the hover flag from the control under the cursor: flipped here and settled
  // back by the enter or leave handler, which repaints and notifies.
  void SetMouseIn() {
    if (!FollowsHover() || !this->Enabled()) return;
    POINT P{};
    GetCursorPos(&P);
    if (FindDragTarget(TPoint(P), true) != this) {
      FHover = true;
      this->Perform(CM_MOUSELEAVE);
    } else {
      FHover = false;
      this->Perform(CM_MOUSEENTER);
    }
  }
  // Whether the 3-D edge shows: always unless flat; flat, while hovered, held or pressed.
  bool EdgeShown() const {
    return !FFlat || (FHover && this->Enabled()) || FHeld || FPressed || this->HasState(csDesigning);
  }
  unsigned CaptionFlags() const { return ButtonTextFlags(FAlignment, FHorzAlign, FMultipleLines, FWordWrap); }
  // Stores a changed flag of the look, then the hover is evaluated again and the button repaints.
  void ChangeLook(bool& Field, bool Value) {
    if (Field == Value) return;
    Field = Value;
    if (this->HasState(csLoading)) return;
    SetMouseIn();
    this->Invalidate();
  }
  // The point lies on the button (the row below the last is outside).
  bool Inside(int X, int Y) const { return X >= 0 && X < this->ClientWidth() && Y >= 0 && Y < this->ClientHeight(); }

  bool FHover = false;
  bool FPressed = false;
  bool FHeld = false;

private:
  template <class T> void Store(T& Field, T Value) {
    Field = Value;
    this->Invalidate();
  }
  template <class T> void StoreChanged(T& Field, T Value) {
    if (Field == Value) return;
    Store(Field, Value);
  }
  void WMMouseMove(TMessage& Message) {
    if (!FHover) SetMouseIn();
    if (!FHeld) {
      TBase::Dispatch(Message);
      return;
    }
    // Held: pushed in while over the button, raised off it.
    const int X = MessageX(Message), Y = MessageY(Message);
    if (Inside(X, Y) != FPressed) {
      FPressed = !FPressed;
      ShowPressed();
    }
    this->MouseMove(KeysToShiftState(unsigned(Message.WParam)), X, Y);
  }
  void WMRButtonUp(TMessage& Message) {
    if (!FFlat || !this->PopupMenu()) {
      TBase::Dispatch(Message);
      return;
    }
    FHover = false;
    this->Repaint();
    TBase::Dispatch(Message);
    SetMouseIn();
  }

  bool FFlat = false;
  qbHorzAlign FHorzAlign = qbha_Center;
  bool FMultipleLines = false;
  bool FWordWrap = false;
  TAlignment FAlignment = taCenter;
  bool FCancel = false;
  TColor FHighLightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
};

// The published entries of what a colour button class C and its twin share.
template <class C> struct TqColorButtonProps {
  static constexpr TPropInfo Flat() { return PropBool<&C::Flat, &C::SetFlat>("Flat", false); }
  static constexpr TPropInfo HorzAlign() {
    return PropEnum<&C::HorzAlign, &C::SetHorzAlign>("HorzAlign", qbHorzAlignType, qbha_Center);
  }
  static constexpr TPropInfo MultipleLines() {
    return PropBool<&C::MultipleLines, &C::SetMultipleLines>("MultipleLines", false);
  }
  static constexpr TPropInfo WordWrap() { return PropBool<&C::WordWrap, &C::SetWordWrap>("WordWrap", false); }
  static constexpr TPropInfo Alignment() {
    return PropEnum<&C::Alignment, &C::SetAlignment>("Alignment", TAlignmentType, taCenter);
  }
  static constexpr TPropInfo Cancel() { return PropBool<&C::Cancel, &C::SetCancel>("Cancel", false); }
  static constexpr TPropInfo HighLightColor() {
    return PropColor<&C::HighLightColor, &C::SetHighLightColor>("HighLightColor", clBtnHighlight);
  }
  static constexpr TPropInfo ShadowColor() {
    return PropColor<&C::ShadowColor, &C::SetShadowColor>("ShadowColor", clBtnShadow);
  }
  static constexpr TPropInfo Width() { return PropInt<&TControl::Width, &TControl::SetWidth>("Width", 89); }
  static constexpr TPropInfo Height() { return PropInt<&TControl::Height, &TControl::SetHeight>("Height", 33); }
  static constexpr TPropInfo OnPaint() { return PropEvent<&C::OnPaint>("OnPaint"); }
  static constexpr TPropInfo OnMouseEnter() { return PropEvent<&C::OnMouseEnter>("OnMouseEnter"); }
  static constexpr TPropInfo OnMouseLeave() { return PropEvent<&C::OnMouseLeave>("OnMouseLeave"); }
};

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
  tBitNumber NumGlyphs() const { return FNumGlyphs; }
  // Kept to 1..4.
  void SetNumGlyphs(tBitNumber Value) {
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
  tBitNumber FNumGlyphs = 1;
  TColor FTransparentColor = clFuchsia;
  tBitWhere FBitmapWhere = q_BWLeft;
  bool FAutoBackColor = false;
  bool FTextOnTop = false;
  qanimate::TGlyphStates FStates;
};

// The published entries of a glyph-strip button class C.
template <class C> struct TqGlyphProps {
  static constexpr TPropInfo Glyph() { return PropObject<&C::Glyph, &C::SetGlyph>("Glyph"); }
  static constexpr TPropInfo NumGlyphs() {
    return PropSubrange<&C::NumGlyphs, &C::SetNumGlyphs>("NumGlyphs", tBitNumberRange, 1);
  }
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
