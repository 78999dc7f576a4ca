#include "suite/Std2ShapeBtn.h"

#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"
#include "vcl/Menus.h"

#include <utility>

using namespace std2shape;

// ---------------------------------------------------------------------------------------------
// TqcShapeColorBtn

TqcShapeColorBtn::TqcShapeColorBtn(TComponent* AOwner) : inherited(AOwner), FTextSize(New<TqcTextSize>()) {
  SetControlStyle(StyleOf(csCaptureMouse) | StyleOf(csClickEvents) | StyleOf(csSetCaption) | StyleOf(csOpaque) |
                  StyleOf(csDoubleClicks));
  SetTabStop(true);
  SetParentColor(false);
  TControl::SetColor(clBtnFace);
  TCustomControl::SetBounds(Left(), Top(), 50, 50);
  RgnFromShape(Width(), Height());
  FTextSize->SetLeft(7);
  FTextSize->SetTop(7);
  FTextSize->SetWidth(36);
  FTextSize->SetHeight(36);
  FTextSize->OnChange = TNotifyEvent::Bind<&TqcShapeColorBtn::TextSizeChanged>(this);
}

TqcShapeColorBtn::~TqcShapeColorBtn() {
  if (FRegion) DeleteObject(FRegion);
  TObject::Free(FTextSize);
}

void TqcShapeColorBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; break;
    case CM_HITTEST: CMHitTest(Message); break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE:
    case CM_COLORCHANGED: RepaintAfter(Message); break;
    case CM_MOUSEENTER:
      inherited::Dispatch(Message);
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    default: inherited::Dispatch(Message);
  }
}

void TqcShapeColorBtn::RepaintAfter(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TqcShapeColorBtn::CreateWnd() {
  inherited::CreateWnd();
  ApplyRegion(true);
}

void TqcShapeColorBtn::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool Resized = AWidth != Width() || AHeight != Height();
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Resized) ApplyRegion(true);
}

// ----- region

void TqcShapeColorBtn::RgnFromShape(int W, int H) {
  if (FRegion) DeleteObject(FRegion);
  FRegion = nullptr;
  if (FShape == sbOwnerDraw) {
    if (OnGetRegion) OnGetRegion(this, FRegion, W, H);
    if (!FRegion) FRegion = ShapeRegion(sbRectangle, W, H, sfWindowed);
    return;
  }
  FRegion = ShapeRegion(FShape, W, H, sfWindowed);
}

void TqcShapeColorBtn::ApplyRegion(bool Redraw) {
  RgnFromShape(Width(), Height());
  if (!HandleAllocated()) return;
  SetWindowRegion(WindowHandle(), std::exchange(FRegion, nullptr), Redraw);
}

void TqcShapeColorBtn::CMHitTest(TMessage& Message) {
  const TPoint P(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
  TRgnOwner Current(CreateRectRgn(0, 0, 0, 0));
  HRGN InEffect = FRegion;
  if (HandleAllocated() && GetWindowRgn(WindowHandle(), Current) != ERROR) InEffect = Current;
  Message.Result = InEffect && PtInRegion(InEffect, P.X, P.Y) ? 1 : 0;
}

// ----- setters

void TqcShapeColorBtn::SetShape(sbType Value) {
  if (FShape == Value) return;
  FShape = Value;
  ApplyRegion(true);
  Invalidate();
}

void TqcShapeColorBtn::SetHighLightColor(TColor Value) {
  if (FHighLightColor == Value) return;
  FHighLightColor = Value;
  Invalidate();
}

void TqcShapeColorBtn::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  Invalidate();
}

void TqcShapeColorBtn::SetShowFocus(bool Value) {
  FShowFocus = Value;
  Invalidate();
}

void TqcShapeColorBtn::SetDefaultLook(TqcFanceDefLook Value) {
  if (FDefaultLook == Value) return;
  FDefaultLook = Value;
  Invalidate();
}

void TqcShapeColorBtn::SetHorzAlign(qbHorzAlign Value) {
  FHorzAlign = Value;
  Invalidate();
}

void TqcShapeColorBtn::SetMultipleLines(bool Value) {
  FMultipleLines = Value;
  Invalidate();
}

void TqcShapeColorBtn::SetWordWrap(bool Value) {
  FWordWrap = Value;
  Invalidate();
}

void TqcShapeColorBtn::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

// ----- mouse

void TqcShapeColorBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && Enabled()) Press();
}

void TqcShapeColorBtn::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FMouseHeld) return;
  // The window region decides: off the shape is off the button.
  POINT P{};
  GetCursorPos(&P);
  Follow(FindDragTarget(TPoint(P), true) == this);
}

// ----- painting

void TqcShapeColorBtn::PaintLook(TCanvas* C) {
  TRect Text = Rect(FTextSize->Left(), FTextSize->Top(), FTextSize->Left() + FTextSize->Width(),
                    FTextSize->Top() + FTextSize->Height());
  C->SetFont(Font());
  if (FDefaultLook == dlfBold) C->Font()->SetStyle(ShowsDefault() ? FontStyle(fsBold) : 0);
  if (Enabled() && FDown) Text.Offset(1, 1);
  qanimate::DrawCaption(C, Caption(), Text, ButtonTextFlags(FAlignment, FHorzAlign, FMultipleLines, FWordWrap),
                        Enabled());
  if (Focused() && Enabled() && FShowFocus) {
    C->Brush()->SetStyle(bsSolid);
    Text.Inflate(3, 3);
    C->DrawFocusRect(Text);
  }
}

void TqcShapeColorBtn::Paint() {
  if (!Enabled()) {
    FDown = false;
    if (!HasState(csDesigning)) FMouseHeld = false;
  }
  // A shape that no longer matches the window's region (OnGetRegion answers differently): the
  // new region, without a redraw, as this paint covers it.
  ApplyRegion(false);
  const int W = Width(), H = Height();
  if (FShape == sbOwnerDraw && OnOwnerDraw) {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->Pen()->SetWidth(1);
    OnOwnerDraw(this, C, FDown, W, H, FShadowColor, FHighLightColor);
    if (OnPaint) OnPaint(this);
    return;
  }
  TBitmap Bmp;
  Bmp.SetSize(W, H);
  TCanvas* C = Bmp.Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->Pen()->SetWidth(1);
  C->FillRect(Rect(0, 0, W, H));
  PaintLook(C);
  C->Brush()->SetStyle(bsSolid);
  DrawEdge(C, FShape, W, H, sfWindowed, FDown, FShadowColor, FHighLightColor);
  Canvas()->CopyRect(ClientRect(), C, ClientRect());
  if (OnPaint) OnPaint(this);
}

#define SHAPE_BUTTON_PROPS(C)                                                                           \
  PropEnum<&C::Shape, &C::SetShape>("Shape", sbTypeType, sbRectangle),                                   \
      PropColor<&C::HighLightColor, &C::SetHighLightColor>("HighLightColor", clBtnHighlight),            \
      PropColor<&C::ShadowColor, &C::SetShadowColor>("ShadowColor", clBtnShadow),                        \
      PropBool<&C::ShowFocus, &C::SetShowFocus>("ShowFocus", true),                                      \
      PropObject<&C::TextSize, &C::SetTextSize>("TextSize"),                                             \
      PropEnum<&C::DefaultLook, &C::SetDefaultLook>("DefaultLook", TqcFanceDefLookType, dlfBold),        \
      PropEnum<&C::HorzAlign, &C::SetHorzAlign>("HorzAlign", qbHorzAlignType, qbha_Center),              \
      PropBool<&C::MultipleLines, &C::SetMultipleLines>("MultipleLines", false),                         \
      PropBool<&C::WordWrap, &C::SetWordWrap>("WordWrap", false),                                        \
      PropEnum<&C::Alignment, &C::SetAlignment>("Alignment", TAlignmentType, taCenter),                  \
      PropInt<&C::ModalResult, &C::SetModalResult>("ModalResult", mrNone),                               \
      PropBool<&C::Cancel, &C::SetCancel>("Cancel", false),                                              \
      PropBool<&C::Default, &C::SetDefault>("Default", false)

static constinit const TPropInfo TqcShapeColorBtn_Props[] = {
    SHAPE_BUTTON_PROPS(TqcShapeColorBtn),
    TControlProps::Color(clBtnFace),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 50),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 50),
    PropEvent<&TqcShapeColorBtn::OnPaint>("OnPaint"),
    PropEvent<&TqcShapeColorBtn::OnGetRegion>("OnGetRegion"),
    PropEvent<&TqcShapeColorBtn::OnOwnerDraw>("OnOwnerDraw"),
    PropEvent<&TqcShapeColorBtn::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqcShapeColorBtn::OnMouseLeave>("OnMouseLeave"),
    TControlProps::Anchors(),
    PopupMenuProp(),
    TControlProps::Caption(),
    TControlProps::Font(),
    TControlProps::ParentFont(),
    TControlProps::DragMode(),
    TControlProps::DragCursor(),
    TControlProps::ParentColor(false),
    TControlProps::HelpContext(),
    TControlProps::Enabled(),
    TControlProps::ParentShowHint(),
    TControlProps::ShowHint(),
    TControlProps::TabStop(true),
    TControlProps::TabOrder(),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
};
ORV_IMPLEMENT_COMPONENT(TqcShapeColorBtn, TCustomControl, TqcShapeColorBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqcShapeGradBtn

TqcShapeGradBtn::TqcShapeGradBtn(TComponent* AOwner) : TqcShapeColorBtn(AOwner) { ColorSet(); }

void TqcShapeGradBtn::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_COLORCHANGED || Message.Msg == CM_SYSCOLORCHANGE) ColorSet();
  inherited::Dispatch(Message);
}

void TqcShapeGradBtn::ColorSet() { FRamp = TqColorRamp::From(Color(), FEndColor); }

void TqcShapeGradBtn::SetFillType(gradType Value) {
  FFillType = Value;
  ColorSet();
  Invalidate();
}

void TqcShapeGradBtn::SetEndColor(TColor Value) {
  FEndColor = Value;
  ColorSet();
  Invalidate();
}

void TqcShapeGradBtn::SetBands(int Value) {
  FBands = Value;
  Invalidate();
}

void TqcShapeGradBtn::PaintLook(TCanvas* C) {
  qanimate::PaintGradientFace(C, Width() - 1, Height() - 1, Down(), Color(), FEndColor, FFillType, FBands, FRamp);
  inherited::PaintLook(C);
}

static constinit const TPropInfo TqcShapeGradBtn_Props[] = {
    PropEnum<&TqcShapeGradBtn::FillType, &TqcShapeGradBtn::SetFillType>("FillType", gradTypeType, gVert),
    PropColor<&TqcShapeGradBtn::EndColor, &TqcShapeGradBtn::SetEndColor>("EndColor", clBtnFace),
    PropInt<&TqcShapeGradBtn::Bands, &TqcShapeGradBtn::SetBands>("Bands", 75),
};
ORV_IMPLEMENT_COMPONENT(TqcShapeGradBtn, TqcShapeColorBtn, TqcShapeGradBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqcShapeBitColBtn

TqcShapeBitColBtn::TqcShapeBitColBtn(TComponent* AOwner) : inherited(AOwner), FOffsetGlyph(New<TqcBmpOffset>()) {
  FOffsetGlyph->SetLeft(2);
  FOffsetGlyph->SetTop(2);
  FOffsetGlyph->OnChange = TNotifyEvent::Bind<&TqcShapeBitColBtn::OffsetChanged>(this);
}

TqcShapeBitColBtn::~TqcShapeBitColBtn() { TObject::Free(FOffsetGlyph); }

void TqcShapeBitColBtn::PaintLook(TCanvas* C) {
  const int Shift = Down() ? 1 : 0;
  TBitmap* Image = Down() ? States().Down() : Enabled() ? States().Up() : States().Disabled();
  if (!Image->Empty()) {
    const TRect Dest = Bounds(FOffsetGlyph->Left() + Shift, FOffsetGlyph->Top() + Shift, Image->Width(), Image->Height());
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->BrushCopy(Dest, Image, Rect(0, 0, Image->Width(), Image->Height()), PaintTransparentColor());
  }
  inherited::PaintLook(C);
}

static constinit const TPropInfo TqcShapeBitColBtn_Props[] = {
    TqGlyphProps<TqcShapeBitColBtn>::Glyph(),
    TqGlyphProps<TqcShapeBitColBtn>::NumGlyphs(),
    TqGlyphProps<TqcShapeBitColBtn>::TransparentColor(),
    TqGlyphProps<TqcShapeBitColBtn>::AutoBackColor(),
    PropObject<&TqcShapeBitColBtn::OffsetGlyph, &TqcShapeBitColBtn::SetOffsetGlyph>("OffsetGlyph"),
};
ORV_IMPLEMENT_COMPONENT(TqcShapeBitColBtn, TqcShapeColorBtn, TqcShapeBitColBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqcShapeIconColBtn

TqcShapeIconColBtn::TqcShapeIconColBtn(TComponent* AOwner) : inherited(AOwner), FOffsetIcon(New<TqcBmpOffset>()) {
  SetBounds(Left(), Top(), 140, 140);
  TextSize()->SetLeft(36);
  TextSize()->SetTop(36);
  TextSize()->SetWidth(96);
  TextSize()->SetHeight(96);
  FOffsetIcon->SetLeft(2);
  FOffsetIcon->SetTop(2);
  FOffsetIcon->OnChange = TNotifyEvent::Bind<&TqcShapeIconColBtn::OffsetChanged>(this);
}

TqcShapeIconColBtn::~TqcShapeIconColBtn() { TObject::Free(FOffsetIcon); }

void TqcShapeIconColBtn::PaintLook(TCanvas* C) {
  const bool On = Enabled();
  TIcon* Icon = Down() && On ? GlyphDown() : On ? GlyphEnabled() : GlyphDisabled();
  const int Shift = Down() ? 1 : 0;
  if (Icon->Width() > 0) DrawIcon(C->Handle(), FOffsetIcon->Left() + Shift, FOffsetIcon->Top() + Shift, Icon->Handle());
  inherited::PaintLook(C);
}

static constinit const TPropInfo TqcShapeIconColBtn_Props[] = {
    TqIconProps<TqcShapeIconColBtn>::GlyphEnabled(),
    TqIconProps<TqcShapeIconColBtn>::GlyphDown(),
    TqIconProps<TqcShapeIconColBtn>::GlyphDisabled(),
    TqIconProps<TqcShapeIconColBtn>::AutoAllIcons(),
    PropObject<&TqcShapeIconColBtn::OffsetIcon, &TqcShapeIconColBtn::SetOffsetIcon>("OffsetIcon"),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 140),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 140),
};
ORV_IMPLEMENT_COMPONENT(TqcShapeIconColBtn, TqcShapeColorBtn, TqcShapeIconColBtn_Props)

namespace {
const struct TShapeButtonRegistration {
  TShapeButtonRegistration() {
    RegisterClasses({TqcShapeColorBtn::StaticClass(), TqcShapeGradBtn::StaticClass(), TqcShapeBitColBtn::StaticClass(),
                     TqcShapeIconColBtn::StaticClass()});
  }
} ShapeButtonRegistration;
}  // namespace
