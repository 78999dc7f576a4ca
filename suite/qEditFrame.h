// Unit qEdit, the frame: a 3-pixel frame painted on a control's window, in one of 15 styles, some
// of which change look while the mouse is over the control or it has the focus; and the framed
// masked edit box, which can centre or right-align its text and refuses line breaks.
#pragma once
#include "vcl/Mask.h"

#include <functional>

// Frame styles. The styles without "Always" (other than qcetNormal) look flat until the box is
// active (mouse inside or focused).
enum TqcEditType {
  qcetNormal, qcetFlat, qcetAlwaysFlat, qcetFlatFocusFrame, qcetAlwaysFlatFocusFrame,
  qcetFlatThickFrame, qcetAlwaysFlatThickFrame, qcetFlatRaised, qcetAlwaysFlatRaised,
  qcetFlatShadow, qcetAlwaysFlatShadow, qcetAdvFocusFrame, qcetAlwaysAdvFocusFrame,
  qcetAdvThickFrame, qcetAlwaysAdvThickFrame
};
extern const TEnumType TqcEditTypeType;

// Frame sides of the Adv styles: a set, bit n for side n.
enum TqcEditFrameSide { qcefLeft, qcefTop, qcefRight, qcefBottom };
extern const TEnumType TqcEditFrameSideType;
using TqcEditFrameType = unsigned char;
constexpr TqcEditFrameType FrameSide(TqcEditFrameSide S) { return TqcEditFrameType(1u << S); }

// What the frame painting needs; shared by the suite's framed controls.
struct TqcFrameLook {
  TqcEditType Style = qcetFlat;
  TqcEditFrameType Where = FrameSide(qcefBottom);
  TColor Color = clWindow;          // the control's colour: the border when it looks flat
  TColor FrameColor = clBlack;
  TColor ShadowColor = clGray;
  TColor NonShadowColor = clBtnFace;
};

// Paints the 3-pixel frame of a W by H window on Canvas (a window DC, origin at the window's
// top-left corner). Active: the mouse is inside or the control has the focus.
void DrawQcFrame(TCanvas* Canvas, int W, int H, const TqcFrameLook& Look, bool Active);
// Paints the frame on Control's window DC now (nothing without a window); First, when given,
// paints on the same canvas before the frame.
void PaintQcWindowFrame(TWinControl* Control, const TqcFrameLook& Look, bool Active,
                        const std::function<void(TCanvas*, int W, int H)>& First = nullptr);

// What every framed control of the unit adds to its base: the frame properties (each setter
// repaints the frame at once when the value changes), the mouse-inside flag with its events, and
// the frame following the focus, the mouse and the colour.
template <class TBase> class TqcFramedControl : public TBase {
public:
  explicit TqcFramedControl(TComponent* AOwner) : TBase(AOwner) {}

  TqcEditType FrameStyle() const { return FLook.Style; }
  void SetFrameStyle(TqcEditType Value) { Change(FLook.Style, Value); }
  TqcEditFrameType FrameWhere() const { return FLook.Where; }
  void SetFrameWhere(TqcEditFrameType Value) { Change(FLook.Where, Value); }
  TColor FrameColor() const { return FLook.FrameColor; }
  void SetFrameColor(TColor Value) { Change(FLook.FrameColor, Value); }
  TColor ShadowColor() const { return FLook.ShadowColor; }
  void SetShadowColor(TColor Value) { Change(FLook.ShadowColor, Value); }
  TColor NonShadowColor() const { return FLook.NonShadowColor; }
  void SetNonShadowColor(TColor Value) { Change(FLook.NonShadowColor, Value); }
  // Between CM_MOUSEENTER and CM_MOUSELEAVE.
  bool MouseInside() const { return FMouseInside; }
  TqcFrameLook FrameLook() const {
    TqcFrameLook L = FLook;
    L.Color = this->Color();
    return L;
  }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
      case CM_COLORCHANGED:
        TBase::Dispatch(Message);
        DrawNCArea();
        break;
      case CM_MOUSEENTER:
      case CM_MOUSELEAVE: {
        TBase::Dispatch(Message);
        const bool Enter = Message.Msg == CM_MOUSEENTER;
        FMouseInside = Enter;
        if (FLook.Style != qcetNormal) DrawNCArea();
        if (const TNotifyEvent& E = Enter ? OnMouseEnter : OnMouseLeave) E(this);
        break;
      }
      default: TBase::Dispatch(Message);
    }
  }

protected:
  // Paints the frame on the window now; nothing without a window.
  virtual void DrawNCArea() { PaintQcWindowFrame(this, FrameLook(), FrameActive()); }
  // The mouse is inside or the control has the focus.
  virtual bool FrameActive() const { return FMouseInside || this->Focused(); }

private:
  template <class T> void Change(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    DrawNCArea();
  }

  TqcFrameLook FLook;
  bool FMouseInside = false;
};

// The published entries of the frame properties of a framed control class C.
template <class C> struct TqcFrameProps {
  static constexpr TPropInfo FrameWhere() {
    return PropSet<&C::FrameWhere, &C::SetFrameWhere>("FrameWhere", TqcEditFrameSideType, FrameSide(qcefBottom));
  }
  static constexpr TPropInfo FrameStyle() {
    return PropEnum<&C::FrameStyle, &C::SetFrameStyle>("FrameStyle", TqcEditTypeType, qcetFlat);
  }
  static constexpr TPropInfo FrameColor() {
    return PropColor<&C::FrameColor, &C::SetFrameColor>("FrameColor", clBlack);
  }
  static constexpr TPropInfo ShadowColor() {
    return PropColor<&C::ShadowColor, &C::SetShadowColor>("ShadowColor", clGray);
  }
  static constexpr TPropInfo NonShadowColor() {
    return PropColor<&C::NonShadowColor, &C::SetNonShadowColor>("NonShadowColor", clBtnFace);
  }
  static constexpr TPropInfo OnMouseEnter() { return PropEvent<&C::OnMouseEnter>("OnMouseEnter"); }
  static constexpr TPropInfo OnMouseLeave() { return PropEvent<&C::OnMouseLeave>("OnMouseLeave"); }
};

class TqcCustomEdit : public TqcFramedControl<TCustomMaskEdit> {
  ORV_CLASS(TqcCustomEdit, TqcFramedControl<TCustomMaskEdit>)
public:
  explicit TqcCustomEdit(TComponent* AOwner);
  void Loaded() override;
  void Dispatch(TMessage& Message) override;

  TAlignment Alignment() const { return FAlignment; }
  // Recreates the window (the text and selection are kept).
  void SetAlignment(TAlignment Value);

  // The beep for a refused key (MessageBeep by default).
  static void (*Beep)(unsigned Type);

  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

protected:
  // Height from the font: its tmHeight plus 8.
  virtual void Adjust();
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(char& Key) override;

  void WMNCPaint(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMPaste(TMessage& Message);
  void CMFontChanged(TMessage& Message);

private:
  TAlignment FAlignment = taLeftJustify;
};

class TqcEdit : public TqcCustomEdit {
  ORV_CLASS(TqcEdit, TqcCustomEdit)
public:
  explicit TqcEdit(TComponent* AOwner) : TqcCustomEdit(AOwner) {}
};

// Text height of a font as the screen measures it (tmHeight).
int FontTextHeight(TFont* Font);

// Sets a property of an embedded control through its own setter when its getter reads another
// value; true when it did.
template <class C, class G, class S, class T> bool ChangeProp(C* Control, G Get, S Set, T Value) {
  if ((Control->*Get)() == Value) return false;
  (Control->*Set)(Value);
  return true;
}

// What a framed control with a button inside it adds to its base: the button (owned; the control
// sets it up and becomes its parent), the button's frame and colours read and written through
// the button's own setters (the frame repainted when they change), and ButtonFlat, the control's
// own, handed to the button's Flat at every frame painting.
template <class TBase, class TButton> class TqcButtonHost : public TBase {
public:
  explicit TqcButtonHost(TComponent* AOwner) : TBase(AOwner), FButton(TComponent::Create<TButton>(this)) {}

  TButton* Button() const { return FButton; }
  bool ButtonFrame() const { return FButton->Frame(); }
  void SetButtonFrame(bool Value) { Change(&TButton::Frame, &TButton::SetFrame, Value); }
  TColor ButtonColor() const { return FButton->Color(); }
  void SetButtonColor(TColor Value) { Change(&TButton::Color, &TButton::SetColor, Value); }
  TColor ButtonShadowColor() const { return FButton->ShadowColor(); }
  void SetButtonShadowColor(TColor Value) { Change(&TButton::ShadowColor, &TButton::SetShadowColor, Value); }
  TColor ButtonHighLightColor() const { return FButton->HighLightColor(); }
  void SetButtonHighLightColor(TColor Value) { Change(&TButton::HighLightColor, &TButton::SetHighLightColor, Value); }
  bool ButtonFlat() const { return FButtonFlat; }
  void SetButtonFlat(bool Value) {
    if (FButtonFlat == Value) return;
    FButtonFlat = Value;
    this->DrawNCArea();
  }

protected:
  void DrawNCArea() override {
    FButton->SetFlat(FButtonFlat);
    TBase::DrawNCArea();
  }

private:
  template <class G, class S, class T> void Change(G Get, S Set, T Value) {
    if (ChangeProp(FButton, Get, Set, Value)) this->DrawNCArea();
  }

  TButton* FButton;
  bool FButtonFlat = true;
};

// The published entries of the button properties of a class C with a button inside.
template <class C> struct TqcButtonHostProps {
  static constexpr TPropInfo ButtonFrame() {
    return PropBool<&C::ButtonFrame, &C::SetButtonFrame>("ButtonFrame", true);
  }
  static constexpr TPropInfo ButtonFlat() { return PropBool<&C::ButtonFlat, &C::SetButtonFlat>("ButtonFlat", true); }
  static constexpr TPropInfo ButtonColor() {
    return PropColor<&C::ButtonColor, &C::SetButtonColor>("ButtonColor", clBtnFace);
  }
  static constexpr TPropInfo ButtonShadowColor() {
    return PropColor<&C::ButtonShadowColor, &C::SetButtonShadowColor>("ButtonShadowColor", clBtnShadow);
  }
  static constexpr TPropInfo ButtonHighLightColor() {
    return PropColor<&C::ButtonHighLightColor, &C::SetButtonHighLightColor>("ButtonHighLightColor", clBtnHighlight);
  }
};
