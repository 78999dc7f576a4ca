#include "suite/Std2FancyBtn.h"

#include "suite/Std2Shape.h"
#include "suite/qAnimateBtnParts.h"
#include "vcl/GdiGuards.h"
#include "vcl/Menus.h"

// ---------------------------------------------------------------------------------------------
// TqcSkinState

TqcSkinState::TqcSkinState(TNotifyEvent Changed, const TRect& Text)
    : Glyph(New<TBitmap>()), Offset(New<TqcBmpOffset>()), TextSize(New<TqcTextSize>()), Rgn(new TqcRgn) {
  TextSize->SetLeft(Text.Left);
  TextSize->SetTop(Text.Top);
  TextSize->SetWidth(Text.Right);
  TextSize->SetHeight(Text.Bottom);
  Glyph->OnChange = Changed;
  Offset->OnChange = Changed;
  TextSize->OnChange = Changed;
}

TqcSkinState::~TqcSkinState() {
  Glyph->OnChange = nullptr;
  TObject::Free(Glyph);
  TObject::Free(Offset);
  TObject::Free(TextSize);
  TObject::Free(Rgn);
}

// ---------------------------------------------------------------------------------------------
// Painting

namespace fancyskin {

void ApplyRegion(TWinControl* Control, const TqcSkinState& State, const TqcSkinState& Plain) {
  const TqcRgn& Source = State.Rgn->ExsistData() ? *State.Rgn : *Plain.Rgn;
  HRGN Region = Source.ExsistData() ? Source.Handle() : CreateRectRgn(0, 0, Control->Width(), Control->Height());
  if (!Region) throw EOutOfResources("Out of system resources");
  RECT Box{};
  GetRgnBox(Region, &Box);
  const int W = Box.right - Box.left, H = Box.bottom - Box.top;
  if (W != Control->Width() || H != Control->Height()) Control->SetBounds(Control->Left(), Control->Top(), W, H);
  if (Control->HandleAllocated()) std2shape::SetWindowRegion(Control->WindowHandle(), Region, false);
  else DeleteObject(Region);
}

void Paint(TCanvas* Target, int W, int H, const TqcSkinState& State, const TqcSkinState& Plain, const TLook& Look) {
  TBitmap Work;
  Work.SetSize(W, H);
  TCanvas* C = Work.Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Look.Color);
  C->FillRect(Rect(0, 0, W, H));
  TBitmap* Glyph = State.Glyph->Empty() && !Plain.Glyph->Empty() ? Plain.Glyph : State.Glyph;
  if (!Glyph->Empty()) {
    // Only the glyph's own pixels; TransparentColor among them shows Color.
    const int GW = std::min(Glyph->Width(), W), GH = std::min(Glyph->Height(), H);
    C->BrushCopy(Bounds(State.Offset->Left(), State.Offset->Top(), GW, GH), Glyph, Rect(0, 0, GW, GH),
                 Look.TransparentColor);
  }
  const TqcTextSize& T = *State.TextSize;
  const TRect Text = Rect(T.Left(), T.Top(), T.Left() + T.Width(), T.Top() + T.Height());
  C->SetFont(Look.Font);
  if (Look.DefaultLookBold) C->Font()->SetStyle(Look.Bold ? FontStyle(fsBold) : 0);
  qanimate::DrawCaption(C, Look.Caption, Text, Look.TextFlags, Look.Enabled);
  Target->CopyRect(Rect(0, 0, W, H), C, Rect(0, 0, W, H));
}

}  // namespace fancyskin

// ---------------------------------------------------------------------------------------------
// TqcFancyCustomBtn

namespace {
const TRect PlainText = Rect(0, 0, 89, 33), CheckedText = Rect(1, 1, 89, 33);
}

TqcFancyCustomBtn::TqcFancyCustomBtn(TComponent* AOwner, bool Grayed)
    : inherited(AOwner, {PlainText, CheckedText, PlainText, CheckedText, PlainText}) {
  if (Grayed) {
    // The grayed states, after the five shared ones.
    inherited::AddStates({PlainText, PlainText});
  }
  SetBounds(Left(), Top(), 89, 33);
  SetParentColor(false);
  TControl::SetColor(clBtnFace);
}

void TqcFancyCustomBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SIZE:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    default: inherited::Dispatch(Message);
  }
}

void TqcFancyCustomBtn::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TqcFancyCustomBtn::Paint() {
  TCanvas* C = Canvas();
  PaintSkin(C, CurrentState(), Focused());
  if (HasState(csDesigning)) {
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetStyle(psDash);
    C->Pen()->SetColor(clBlack);
    C->Rectangle(0, 0, Width(), Height());
  }
  if (OnPaint) OnPaint(this);
}

#define SKIN_STATE_PROPS(C, Suffix, S)                                                           \
  PropObject<&C::GlyphOf<S>, &C::SetGlyphOf<S>>("Glyph" Suffix),                                 \
      PropObject<&C::OffsetOf<S>, &C::SetOffsetOf<S>>("OffsetGlyph" Suffix),                     \
      PropObject<&C::TextSizeOf<S>, &C::SetTextSizeOf<S>>("TextSize" Suffix),                    \
      PropObject<&C::RgnOf<S>, &C::SetRgnOf<S>>("BtnRgn" Suffix)
#define SKIN_LOOK_PROPS(C)                                                                              \
  PropColor<&C::TransparentColor, &C::SetTransparentColor>("TransparentColor", clBlack),                 \
      PropEnum<&C::DefaultLook, &C::SetDefaultLook>("DefaultLook", TqcFanceDefLookType, dlfBold),        \
      PropEnum<&C::HorzAlign, &C::SetHorzAlign>("HorzAlign", qbHorzAlignType, qbha_Center),              \
      PropBool<&C::MultipleLines, &C::SetMultipleLines>("MultipleLines", false),                         \
      PropBool<&C::WordWrap, &C::SetWordWrap>("WordWrap", false),                                        \
      PropEnum<&C::Alignment, &C::SetAlignment>("Alignment", TAlignmentType, taCenter),                  \
      PropInt<&TControl::Width, &TControl::SetWidth>("Width", 89),                                       \
      PropInt<&TControl::Height, &TControl::SetHeight>("Height", 33), PropEvent<&C::OnPaint>("OnPaint"),  \
      TControlProps::Caption(), TControlProps::Color(clBtnFace), TControlProps::Font(),                  \
      TControlProps::ParentFont(), TControlProps::ParentColor(false), TControlProps::Enabled(),          \
      TControlProps::Visible(), TControlProps::ShowHint(), TControlProps::ParentShowHint(),              \
      TControlProps::TabOrder(), TControlProps::DragCursor(), TControlProps::DragMode(), PopupMenuProp(), \
      TControlProps::OnClick(), TControlProps::OnDblClick(), TControlProps::OnEnter(),                   \
      TControlProps::OnExit(), TControlProps::OnKeyDown(), TControlProps::OnKeyPress(),                  \
      TControlProps::OnKeyUp(), TControlProps::OnMouseDown(), TControlProps::OnMouseMove(),              \
      TControlProps::OnMouseUp()

using TFancyBase = TqcFancyCustomBtn;
static constinit const TPropInfo TqcFancyCustomBtn_Props[] = {
    SKIN_STATE_PROPS(TFancyBase, "", skPlain),
    SKIN_STATE_PROPS(TFancyBase, "Checked", skChecked),
    SKIN_STATE_PROPS(TFancyBase, "Focused", skFocused),
    SKIN_STATE_PROPS(TFancyBase, "FocusedChecked", skFocusedChecked),
    SKIN_STATE_PROPS(TFancyBase, "Disabled", skDisabled),
    SKIN_LOOK_PROPS(TFancyBase),
};
ORV_IMPLEMENT_ABSTRACT(TqcFancyCustomBtn, TqOwnerDrawnButton, TqcFancyCustomBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqcCustomFancyCheckBox

TqcCustomFancyCheckBox::TqcCustomFancyCheckBox(TComponent* AOwner) : inherited(AOwner, true) {
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  SetTabStop(true);
}

TqcSkinIndex TqcCustomFancyCheckBox::CurrentState() const {
  if (!ShowsStates()) return skPlain;
  if (!Enabled()) return skDisabled;
  const bool F = Focused();
  switch (State()) {
    case cbChecked: return F ? skFocusedChecked : skChecked;
    case cbGrayed: return F ? skFocusedGrayed : skGrayed;
    default: return F ? skFocused : skPlain;
  }
}

using TFancyCheck = TqcCustomFancyCheckBox;
static constinit const TPropInfo TqcCustomFancyCheckBox_Props[] = {
    SKIN_STATE_PROPS(TFancyCheck, "Grayed", skGrayed),
    SKIN_STATE_PROPS(TFancyCheck, "FocusedGrayed", skFocusedGrayed),
    PropBool<&TFancyCheck::AllowGrayed, &TFancyCheck::SetAllowGrayed>("AllowGrayed", false),
    PropBool<&TFancyCheck::Checked, &TFancyCheck::SetChecked>("Checked", false, NeverStored),
    PropEnum<&TFancyCheck::State, &TFancyCheck::SetState>("State", TCheckBoxStateType, cbUnchecked),
    TControlProps::TabStop(true),
};
ORV_IMPLEMENT_COMPONENT(TqcCustomFancyCheckBox, TqcFancyCustomBtn, TqcCustomFancyCheckBox_Props)
ORV_IMPLEMENT_COMPONENT_NOPROPS(TqcFancyCheckBox, TqcCustomFancyCheckBox)

// ---------------------------------------------------------------------------------------------
// TqcCustomFancyRadioButton

TqcCustomFancyRadioButton::TqcCustomFancyRadioButton(TComponent* AOwner) : inherited(AOwner) {
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  SetTabStop(false);
}

TqcSkinIndex TqcCustomFancyRadioButton::CurrentState() const {
  if (!ShowsStates()) return skPlain;
  if (!Enabled()) return skDisabled;
  return Focused() ? (Checked() ? skFocusedChecked : skFocused) : (Checked() ? skChecked : skPlain);
}

using TFancyRadio = TqcCustomFancyRadioButton;
static constinit const TPropInfo TqcCustomFancyRadioButton_Props[] = {
    PropBool<&TFancyRadio::Checked, &TFancyRadio::SetChecked>("Checked", false),
    PropInt<&TFancyRadio::GroupIndex, &TFancyRadio::SetGroupIndex>("GroupIndex", 0),
    TControlProps::TabStop(false),
};
ORV_IMPLEMENT_COMPONENT(TqcCustomFancyRadioButton, TqcFancyCustomBtn, TqcCustomFancyRadioButton_Props)
ORV_IMPLEMENT_COMPONENT_NOPROPS(TqcFancyRadioButton, TqcCustomFancyRadioButton)

// ---------------------------------------------------------------------------------------------
// TqcFancyButton

TqcFancyButton::TqcFancyButton(TComponent* AOwner)
    : inherited(AOwner, {Rect(2, 2, 84, 28), Rect(3, 3, 84, 28), Rect(2, 2, 84, 28), Rect(2, 2, 84, 28)}) {
  SetControlStyle(StyleOf(csCaptureMouse) | StyleOf(csClickEvents) | StyleOf(csSetCaption) | StyleOf(csOpaque) |
                  StyleOf(csDoubleClicks));
  SetTabStop(true);
  SetParentColor(false);
  TControl::SetColor(clBtnFace);
  SetBounds(Left(), Top(), 89, 33);
}

void TqcFancyButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; break;
    case WM_MOUSEMOVE:
      if (!FHover) SetMouseIn();
      Follow(InRegion(MessageX(Message), MessageY(Message)));
      inherited::Dispatch(Message);
      break;
    case WM_RBUTTONUP:
      if (!PopupMenu()) {
        inherited::Dispatch(Message);
        break;
      }
      FHover = false;
      Repaint();
      inherited::Dispatch(Message);
      SetMouseIn();
      break;
    case CM_MOUSEENTER:
      inherited::Dispatch(Message);
      if (Enabled()) {
        FHover = ShowsStates();
        Invalidate();
      }
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      if (!FMouseHeld) {
        FHover = false;
        Invalidate();
      }
      inherited::Dispatch(Message);
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      SetMouseIn();
      Invalidate();
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_SYSCOLORCHANGE:
    case CM_COLORCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    default: inherited::Dispatch(Message);
  }
}

void TqcFancyButton::Loaded() {
  inherited::Loaded();
  FHover = false;
  SetMouseIn();
}

bool TqcFancyButton::InRegion(int X, int Y) const {
  if (!HandleAllocated()) return false;
  TRgnOwner R(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(WindowHandle(), R) == ERROR) return X >= 0 && Y >= 0 && X < Width() && Y < Height();
  return PtInRegion(R, X, Y) != FALSE;
}

void TqcFancyButton::SetMouseIn() {
  if (!Enabled() || !HandleAllocated()) return;
  POINT P{};
  GetCursorPos(&P);
  ::ScreenToClient(WindowHandle(), &P);
  FHover = InRegion(P.x, P.y);
  Perform(FHover ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

TqcPushSkin TqcFancyButton::CurrentState() const {
  if (!ShowsStates()) return psFocused;
  if (!Enabled()) return psDisabled;
  if (FDown) return psDown;
  return Focused() ? psFocused : psUp;
}

void TqcFancyButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && Enabled() && X >= 0 && Y >= 0 && X < Width() && Y < Height()) Press();
}

void TqcFancyButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const bool Held = FMouseHeld;
  inherited::MouseUp(Button, Shift, X, Y);
  if (Held) SetMouseIn();
}

void TqcFancyButton::Click() {
  FHover = false;
  SetMouseIn();
  inherited::Click();
}

void TqcFancyButton::Paint() {
  PaintSkin(Canvas(), CurrentState(), Focused() || Default());
  if (OnPaint) OnPaint(this);
}

using TFancyPush = TqcFancyButton;
static constinit const TPropInfo TqcFancyButton_Props[] = {
    SKIN_STATE_PROPS(TFancyPush, "Up", psUp),
    SKIN_STATE_PROPS(TFancyPush, "Down", psDown),
    SKIN_STATE_PROPS(TFancyPush, "Focused", psFocused),
    SKIN_STATE_PROPS(TFancyPush, "Disabled", psDisabled),
    SKIN_LOOK_PROPS(TFancyPush),
    PropBool<&TFancyPush::Cancel, &TFancyPush::SetCancel>("Cancel", false),
    PropInt<&TFancyPush::ModalResult, &TFancyPush::SetModalResult>("ModalResult", mrNone),
    PropBool<&TFancyPush::Default, &TFancyPush::SetDefault>("Default", false),
    PropEvent<&TFancyPush::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TFancyPush::OnMouseLeave>("OnMouseLeave"),
    TControlProps::TabStop(true),
};
ORV_IMPLEMENT_COMPONENT(TqcFancyButton, TCustomControl, TqcFancyButton_Props)

namespace {
const struct TFancyButtonRegistration {
  TFancyButtonRegistration() {
    RegisterClasses({TqcFancyCheckBox::StaticClass(), TqcFancyRadioButton::StaticClass(),
                     TqcFancyButton::StaticClass()});
  }
} FancyButtonRegistration;
}  // namespace
