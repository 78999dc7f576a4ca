// Unit Std2, skinned buttons: every visual state has its own glyph, glyph offset, caption
// rectangle and window region (TqcRgn). TqcFancyCheckBox and TqcFancyRadioButton are owner-drawn
// system "BUTTON" windows; TqcFancyButton is a push button with the shaped buttons' keys.
#pragma once
#include "suite/Std2.h"
#include "suite/Std2CheckParts.h"
#include "suite/Std2DialogBtn.h"
#include "suite/Std2Rgn.h"
#include "vcl/StdCtrls.h"

#include <vector>

// One visual state of a skinned button. The holders' changes call Changed.
class TqcSkinState {
public:
  // Text: the caption rectangle's Left, Top, Width and Height.
  TqcSkinState(TNotifyEvent Changed, const TRect& Text);
  ~TqcSkinState();
  TqcSkinState(const TqcSkinState&) = delete;
  TqcSkinState& operator=(const TqcSkinState&) = delete;

  TBitmap* Glyph;
  TqcBmpOffset* Offset;
  TqcTextSize* TextSize;
  TqcRgn* Rgn;
};

namespace fancyskin {

// The skin's look of one paint.
struct TLook {
  TColor Color, TransparentColor;
  TFont* Font;
  bool DefaultLookBold;  // DefaultLook dlfBold: the caption bold when Bold, else regular
  bool Bold;
  unsigned TextFlags;
  bool Enabled;
  AnsiString Caption;
};

// The region of State, else of Plain, else the control's rectangle: the control takes its box's
// size where it stands and its window the region, each only when it differs from what is in effect
// (never with a redraw: the paint that asks covers it).
void ApplyRegion(TWinControl* Control, const TqcSkinState& State, const TqcSkinState& Plain);
// The face on a work bitmap of the control's size, copied onto Target: Color, the state's glyph
// (the plain one at the state's offset when the state has none) with TransparentColor showing
// Color, and the caption in the state's rectangle.
void Paint(TCanvas* Target, int W, int H, const TqcSkinState& State, const TqcSkinState& Plain, const TLook& Look);

}  // namespace fancyskin

// What every skinned button has: its states (owned; their changes repaint) and the caption's
// look. Texts holds each state's default caption rectangle.
template <class TBase> class TqSkinned : public TBase {
public:
  TqSkinned(TComponent* AOwner, std::initializer_list<TRect> Texts) : TBase(AOwner) { AddStates(Texts); }
  ~TqSkinned() override {
    for (TqcSkinState* S : FStates) delete S;
  }
  // More states, after those made first.
  void AddStates(std::initializer_list<TRect> Texts) {
    for (const TRect& T : Texts)
      FStates.push_back(new TqcSkinState(TNotifyEvent::Bind<&TqSkinned::StateChanged>(this), T));
  }

  template <int S> TBitmap* GlyphOf() const { return FStates[S]->Glyph; }
  template <int S> void SetGlyphOf(TBitmap* Value) { FStates[S]->Glyph->Assign(Value); }
  template <int S> TqcBmpOffset* OffsetOf() const { return FStates[S]->Offset; }
  template <int S> void SetOffsetOf(TqcBmpOffset* Value) { FStates[S]->Offset->Assign(Value); }
  template <int S> TqcTextSize* TextSizeOf() const { return FStates[S]->TextSize; }
  template <int S> void SetTextSizeOf(TqcTextSize* Value) { FStates[S]->TextSize->Assign(Value); }
  template <int S> TqcRgn* RgnOf() const { return FStates[S]->Rgn; }
  template <int S> void SetRgnOf(TqcRgn* Value) {
    FStates[S]->Rgn->Assign(Value);
    this->Invalidate();
  }

  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor Value) { Store(FTransparentColor, Value); }
  TqcFanceDefLook DefaultLook() const { return FDefaultLook; }
  void SetDefaultLook(TqcFanceDefLook Value) { StoreChanged(FDefaultLook, Value); }
  qbHorzAlign HorzAlign() const { return FHorzAlign; }
  void SetHorzAlign(qbHorzAlign Value) { Store(FHorzAlign, Value); }
  bool MultipleLines() const { return FMultipleLines; }
  void SetMultipleLines(bool Value) { Store(FMultipleLines, Value); }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { Store(FWordWrap, Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { StoreChanged(FAlignment, Value); }

  void Loaded() override {
    TBase::Loaded();
    FLoaded = true;
  }

  TNotifyEvent OnPaint;

protected:
  const TqcSkinState& StateAt(int S) const { return *FStates[size_t(S)]; }
  // Before Loaded at run time, only the first state shows.
  bool ShowsStates() const { return FLoaded || this->HasState(csDesigning); }
  // Applies state S's region (the first state's as the fallback) and paints its face on Target;
  // Bold: focused (or the default button).
  void PaintSkin(TCanvas* Target, int S, bool Bold) {
    fancyskin::ApplyRegion(this, StateAt(S), StateAt(0));
    const fancyskin::TLook Look{this->Color(), FTransparentColor, this->Font(), FDefaultLook == dlfBold, Bold,
                                ButtonTextFlags(FAlignment, FHorzAlign, FMultipleLines, FWordWrap),
                                this->Enabled(), this->Caption()};
    fancyskin::Paint(Target, this->Width(), this->Height(), StateAt(S), StateAt(0), Look);
  }

private:
  void StateChanged(TObject*) { this->Invalidate(); }
  template <class T> void Store(T& Field, T Value) {
    Field = Value;
    this->Invalidate();
  }
  template <class T> void StoreChanged(T& Field, T Value) {
    if (Field != Value) Store(Field, Value);
  }

  std::vector<TqcSkinState*> FStates;
  TColor FTransparentColor = clBlack;
  TqcFanceDefLook FDefaultLook = dlfBold;
  qbHorzAlign FHorzAlign = qbha_Center;
  bool FMultipleLines = false, FWordWrap = false;
  TAlignment FAlignment = taCenter;
  bool FLoaded = false;
};

// ---------------------------------------------------------------------------------------------
// The skinned owner-drawn buttons' base: states 0 to 4 (plain, checked, focused, focused checked,
// disabled); the check box adds grayed and focused grayed.
enum TqcSkinIndex { skPlain, skChecked, skFocused, skFocusedChecked, skDisabled, skGrayed, skFocusedGrayed };

class TqcFancyCustomBtn : public TqSkinned<TqOwnerDrawnButton> {
  ORV_CLASS(TqcFancyCustomBtn, TqSkinned<TqOwnerDrawnButton>)
public:
  // The check box passes the grayed states' rectangles as well.
  explicit TqcFancyCustomBtn(TComponent* AOwner, bool Grayed = false);
  void Dispatch(TMessage& Message) override;

  // The state the next paint shows.
  virtual TqcSkinIndex CurrentState() const = 0;

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};

class TqcCustomFancyCheckBox : public TqCheckBoxParts<TqcFancyCustomBtn> {
  ORV_CLASS(TqcCustomFancyCheckBox, TqCheckBoxParts<TqcFancyCustomBtn>)
public:
  explicit TqcCustomFancyCheckBox(TComponent* AOwner);
  TqcSkinIndex CurrentState() const override;
};

class TqcFancyCheckBox : public TqcCustomFancyCheckBox {
  ORV_CLASS(TqcFancyCheckBox, TqcCustomFancyCheckBox)
public:
  explicit TqcFancyCheckBox(TComponent* AOwner) : TqcCustomFancyCheckBox(AOwner) {}
};

// Checking one unchecks the others of the same parent and GroupIndex; taking the focus checks it.
class TqcCustomFancyRadioButton;
using TqcFancyRadioParts = TqRadioButtonParts<TqcFancyCustomBtn, TqcCustomFancyRadioButton>;
class TqcCustomFancyRadioButton : public TqcFancyRadioParts {
  ORV_CLASS(TqcCustomFancyRadioButton, TqcFancyRadioParts)
public:
  explicit TqcCustomFancyRadioButton(TComponent* AOwner);
  TqcSkinIndex CurrentState() const override;
};

class TqcFancyRadioButton : public TqcCustomFancyRadioButton {
  ORV_CLASS(TqcFancyRadioButton, TqcCustomFancyRadioButton)
public:
  explicit TqcFancyRadioButton(TComponent* AOwner) : TqcCustomFancyRadioButton(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// A skinned push button: states Up (the plain one), Down, Focused, Disabled; hover follows the
// window region.
enum TqcPushSkin { psUp, psDown, psFocused, psDisabled };

class TqcFancyButton : public TqSkinned<TqDialogButton<TCustomControl>> {
  ORV_CLASS(TqcFancyButton, TqSkinned<TqDialogButton<TCustomControl>>)
public:
  explicit TqcFancyButton(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void Loaded() override;
  void Click() override;

  TqcPushSkin CurrentState() const;
  // The cursor is over the window region.
  bool Hover() const { return FHover; }

  TNotifyEvent OnMouseEnter, OnMouseLeave;

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void FocusChanged() override { SetMouseIn(); }

private:
  // Whether a client point lies in the window's region (the client without one).
  bool InRegion(int X, int Y) const;
  // The hover flag from the cursor against the window region, told by CM_MOUSEENTER or
  // CM_MOUSELEAVE.
  void SetMouseIn();

  bool FHover = false;
};
