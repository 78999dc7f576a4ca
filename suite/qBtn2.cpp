#include "suite/qBtn2.h"
#include "vcl/Menus.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TqcCustomSpinBtn

TqcCustomSpinBtn::TqcCustomSpinBtn(TComponent* AOwner, bool Centre) : TGraphicControl(AOwner), FCentre(Centre) {
  SetControlStyle(StyleOf(csCaptureMouse) | StyleOf(csClickEvents) | StyleOf(csOpaque));
  SetParentColor(false);
  TControl::SetColor(clWindow);
  FTimer = TComponent::Create<TTimer>(this);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(FSpinSpeed);
  FTimer->OnTimer = TNotifyEvent::Bind<&TqcCustomSpinBtn::TimerTick>(this);
  SetBounds(Left(), Top(), 16, 21);
}

void TqcCustomSpinBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcCustomSpinBtn::Loaded() {
  inherited::Loaded();
  Layout();
}

void TqcCustomSpinBtn::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  inherited::SetBounds(ALeft, ATop, std::max(AWidth, 7), std::max(AHeight, 8));
  Layout();
}

void TqcCustomSpinBtn::Layout() {
  const int Span = ArrowSpan();
  int Size = Span > 5 ? std::min(Span - 6, 4) : 0;
  while (Size > 0 && 2 * Size + 8 >= Width()) --Size;
  FArrowSize = Size;
  FArrowTop = (Span - Size) / 2;
}

int TqcCustomSpinBtn::ArrowSpan() const {
  return FCentre ? Height() / 3 + (Height() > 12 ? 1 : 0) : Height() / 2;
}

void TqcCustomSpinBtn::PartRows(TPart Part, int& Top, int& Bottom) const {
  const int H = Height(), A = ArrowSpan();
  Top = 0, Bottom = -1;
  if (!FCentre) {
    if (Part == spUp) Top = 0, Bottom = A;
    if (Part == spDown) Top = A + 1, Bottom = H - 1;
    return;
  }
  if (Part == spUp) Top = 0, Bottom = A - 1;
  if (Part == spMiddle) Top = A, Bottom = H - A - 1;
  if (Part == spDown) Top = H - A, Bottom = H - 1;
}

TqcCustomSpinBtn::TPart TqcCustomSpinBtn::PartAt(int X, int Y) const {
  if (X < 0 || X >= Width()) return spNone;
  for (TPart P : {spUp, spMiddle, spDown}) {
    int Top, Bottom;
    PartRows(P, Top, Bottom);
    if (Y >= Top && Y <= Bottom) return P;
  }
  return spNone;
}

// ----- setters

void TqcCustomSpinBtn::Changed(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TqcCustomSpinBtn::SetGlyphColor(TColor Value) { Changed(FGlyphColor, Value); }
void TqcCustomSpinBtn::SetGlyphDisableColor(TColor Value) { Changed(FGlyphDisableColor, Value); }
void TqcCustomSpinBtn::SetHighLightColor(TColor Value) { Changed(FHighLightColor, Value); }
void TqcCustomSpinBtn::SetShadowColor(TColor Value) { Changed(FShadowColor, Value); }

void TqcCustomSpinBtn::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TqcCustomSpinBtn::SetFrame(bool Value) {
  if (FFrame == Value) return;
  FFrame = Value;
  Invalidate();
}

void TqcCustomSpinBtn::SetSpinSpeed(TqcSpinSpeed Value) {
  if (FSpinSpeed == Value) return;
  FSpinSpeed = Value;
  FTimer->SetInterval(Value);
}

void TqcCustomSpinBtn::SetWaitRepeat(TqcSpinWaitRepeat Value) {
  if (FWaitRepeat == Value) return;
  FWaitRepeat = Value;
  FRepeat = 0;
}

// ----- press and repeat

void TqcCustomSpinBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  const TPart P = PartAt(X, Y);
  if (P == spNone) return;
  if (FPressed != P) {
    FRepeat = 0;
    FPressed = FTracked = P;
    Repaint();
  }
  FPressing = true;
  FTimer->SetEnabled(true);
}

void TqcCustomSpinBtn::WMMouseMove(TMessage& Message) {
  if (FPressing) {
    // Off the part the press began on, the repeats pause; back on it, they go on.
    const TPart Now = PartAt(MessageX(Message), MessageY(Message)) == FTracked ? FTracked : spNone;
    if (Now != FPressed) {
      FPressed = Now;
      Repaint();
    }
  }
  inherited::Dispatch(Message);
}

void TqcCustomSpinBtn::TimerTick(TObject*) {
  // A press whose capture went elsewhere is over; a release that still comes clicks nothing.
  if (FPressing && !MouseCapture()) {
    SetControlState(ControlState() & ~(StateOf(csClicked) | StateOf(csLButtonDown)));
    EndPress();
    return;
  }
  if (!Enabled() || !FUseRepeat) return;
  if (FRepeat <= FWaitRepeat) ++FRepeat;
  else if (FPressed != spNone && FPressing) Click();
}

void TqcCustomSpinBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) EndPress();
}

void TqcCustomSpinBtn::EndPress() {
  FRepeat = 0;
  FTimer->SetEnabled(false);
  FPressing = false;
  FPressed = FTracked = spNone;
  Repaint();
}

void TqcCustomSpinBtn::Click() {
  inherited::Click();
  PartClicked(FPressed);
}

void TqcCustomSpinBtn::PartClicked(TPart Part) {
  if (Part == spUp && OnUpClick) OnUpClick(this);
  if (Part == spDown && OnDownClick) OnDownClick(this);
}

// ----- notifications

void TqcCustomSpinBtn::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TqcCustomSpinBtn::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Repaint();
}

void TqcCustomSpinBtn::CMSysColorChange(TMessage&) { Repaint(); }

void TqcCustomSpinBtn::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  FHover = true;
  Repaint();
}

void TqcCustomSpinBtn::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  FHover = false;
  Repaint();
}

// ----- painting

void TqcCustomSpinBtn::DrawArrow(TCanvas* C, int Y0, int Direction, bool Pressed) {
  if (FArrowSize <= 0) return;
  const int Shift = Pressed ? 1 : 0, Mid = Width() / 2 + Shift;
  for (int K = 0; K <= FArrowSize; ++K) {
    const int Y = Y0 + Direction * K + Shift;
    C->MoveTo(Mid - K, Y);
    C->LineTo(Mid + K + 1, Y);
  }
}

void TqcCustomSpinBtn::DrawPartFrame(TCanvas* C, TPart Part) {
  int T, H;
  PartRows(Part, T, H);
  if (H < T) return;
  const int W = Width();
  const bool Pressed = FPressed == Part;
  C->Pen()->SetColor(FShadowColor);
  C->Polyline({Point(0, H), Point(0, T), Point(W - 1, T)});
  C->Polyline({Point(W - 2, T + 1), Point(W - 2, H - 1), Point(0, H - 1)});
  C->Pen()->SetColor(Pressed ? clBlack : FHighLightColor);
  C->Polyline({Point(1, H), Point(1, T + 1), Point(W - 1, T + 1)});
  C->Pen()->SetColor(Pressed ? FHighLightColor : clBlack);
  C->Polyline({Point(W - 1, T), Point(W - 1, H), Point(0, H)});
}

void TqcCustomSpinBtn::Paint() {
  const int W = Width(), H = Height();
  const TRect Client = Rect(0, 0, W, H);
  TBitmap Bmp;
  Bmp.SetSize(W, H);
  TCanvas* C = Bmp.Canvas();
  C->Brush()->SetColor(Color());
  C->FillRect(Client);
  C->Pen()->SetWidth(1);
  const bool Framed = FFrame && (!FFlat || FHover || FPressed != spNone || HasState(csDesigning));
  const TColor Glyph = Enabled() ? FGlyphColor : FGlyphDisableColor;
  int Top, Bottom;
  C->Pen()->SetColor(Glyph);
  PartRows(spUp, Top, Bottom);
  DrawArrow(C, Top + FArrowTop - 1, 1, FPressed == spUp);
  if (Framed) DrawPartFrame(C, spUp);
  C->Pen()->SetColor(Glyph);
  DrawArrow(C, H - 1 - FArrowTop, -1, FPressed == spDown);
  if (Framed) {
    DrawPartFrame(C, spDown);
    DrawPartFrame(C, spMiddle);
  }
  Canvas()->CopyRect(Client, C, Client);
  if (OnPaint) OnPaint(this);
}

static constinit const TPropInfo TqcCustomSpinBtn_Props[] = {
    PropBool<&TqcCustomSpinBtn::Flat, &TqcCustomSpinBtn::SetFlat>("Flat", false),
    PropBool<&TqcCustomSpinBtn::Frame, &TqcCustomSpinBtn::SetFrame>("Frame", true),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 16),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 21),
    TControlProps::Color(clWindow),
    PropColor<&TqcCustomSpinBtn::GlyphColor, &TqcCustomSpinBtn::SetGlyphColor>("GlyphColor", clBtnText),
    PropColor<&TqcCustomSpinBtn::GlyphDisableColor, &TqcCustomSpinBtn::SetGlyphDisableColor>("GlyphDisableColor",
                                                                                             clGrayText),
    PropColor<&TqcCustomSpinBtn::HighLightColor, &TqcCustomSpinBtn::SetHighLightColor>("HighLightColor",
                                                                                       clBtnHighlight),
    PropColor<&TqcCustomSpinBtn::ShadowColor, &TqcCustomSpinBtn::SetShadowColor>("ShadowColor", clBtnShadow),
    PropInt<&TqcCustomSpinBtn::SpinSpeed, &TqcCustomSpinBtn::SetSpinSpeed>("SpinSpeed", 250),
    PropInt<&TqcCustomSpinBtn::WaitRepeat, &TqcCustomSpinBtn::SetWaitRepeat>("WaitRepeat", 2),
    PropBool<&TqcCustomSpinBtn::UseRepeat, &TqcCustomSpinBtn::SetUseRepeat>("UseRepeat", true),
    TControlProps::OnClick(),
    PropEvent<&TqcCustomSpinBtn::OnUpClick>("OnUpClick"),
    PropEvent<&TqcCustomSpinBtn::OnDownClick>("OnDownClick"),
    PropEvent<&TqcCustomSpinBtn::OnPaint>("OnPaint"),
    TControlProps::Anchors(),
    PopupMenuProp(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::ParentColor(false),
    TControlProps::Enabled(),
    TControlProps::ParentShowHint(),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnStartDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
};
ORV_IMPLEMENT_ABSTRACT(TqcCustomSpinBtn, TGraphicControl, TqcCustomSpinBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqcSpinBtn, TqcCenterSpinBtn

void TqcCenterSpinBtn::PartClicked(TPart Part) {
  inherited::PartClicked(Part);
  if (Part == spMiddle && OnCenterClick) OnCenterClick(this);
}

ORV_IMPLEMENT_COMPONENT_NOPROPS(TqcSpinBtn, TqcCustomSpinBtn)

static constinit const TPropInfo TqcCenterSpinBtn_Props[] = {
    PropEvent<&TqcCenterSpinBtn::OnCenterClick>("OnCenterClick"),
};
ORV_IMPLEMENT_COMPONENT(TqcCenterSpinBtn, TqcCustomSpinBtn, TqcCenterSpinBtn_Props)

namespace {
struct TBtn2Registration {
  TBtn2Registration() { RegisterClasses({TqcSpinBtn::StaticClass(), TqcCenterSpinBtn::StaticClass()}); }
} Btn2Registration;
}  // namespace
