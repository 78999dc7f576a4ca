#include "suite/qAnimateShapeBtn.h"

#include "vcl/GdiGuards.h"

using namespace std2shape;

TqShapeBtn::TqShapeBtn(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(StyleOf(csCaptureMouse) | StyleOf(csClickEvents));
  TControl::SetColor(clBtnFace);
  TGraphicControl::SetBounds(Left(), Top(), 25, 25);
  RgnFromShape();
}

TqShapeBtn::~TqShapeBtn() { SetRgn(nullptr); }

void TqShapeBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_HITTEST: {
      const TPoint P(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
      Message.Result = InShape(P.X, P.Y) ? 1 : 0;
      break;
    }
    case CM_DIALOGCHAR:
      if (IsAccel((unsigned short)Message.WParam, FAccel) && Enabled()) {
        TControl::Click();
        Message.Result = 1;
        break;
      }
      inherited::Dispatch(Message);
      break;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE:
      inherited::Dispatch(Message);
      Invalidate();
      break;
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

void TqShapeBtn::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool Resized = AWidth != Width() || AHeight != Height();
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  // Hit testing follows the new size before the next paint.
  if (Resized) RgnFromShape();
}

void TqShapeBtn::SetRgn(HRGN Region) {
  if (FRegion && FRegion != Region) DeleteObject(FRegion);
  FRegion = Region;
}

void TqShapeBtn::RgnFromShape() {
  SetRgn(nullptr);
  if (FShape == sbOwnerDraw) {
    HRGN R = nullptr;
    if (OnGetRegion) OnGetRegion(this, R, Width(), Height());
    SetRgn(R ? R : ShapeRegion(sbRectangle, Width(), Height(), sfGraphic));
    return;
  }
  SetRgn(ShapeRegion(FShape, Width(), Height(), sfGraphic));
}

void TqShapeBtn::SetShape(sbType Value) {
  if (FShape == Value) return;
  FShape = Value;
  FAccel = Value == sbPlus ? "&+" : Value == sbMinus ? "&-" : "";
  RgnFromShape();
  Invalidate();
}

void TqShapeBtn::SetAcceleratorKey(char Value) {
  const char Text[] = {'&', Value, 0};
  FAccel = Value == ' ' ? AnsiString() : AnsiString(Text);
}

void TqShapeBtn::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Invalidate();
}

void TqShapeBtn::SetHighLightColor(TColor Value) {
  if (FHighLightColor == Value) return;
  FHighLightColor = Value;
  Invalidate();
}

void TqShapeBtn::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  Invalidate();
}

void TqShapeBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled() || !InShape(X, Y)) return;
  if (!FPressed) {
    FPressed = true;
    Repaint();
  }
  FHeld = true;
}

void TqShapeBtn::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FHeld || InShape(X, Y) == FPressed) return;
  FPressed = !FPressed;
  Repaint();
}

void TqShapeBtn::Click() {
  // Only a release inside the shape clicks.
  if (FPressed) inherited::Click();
}

void TqShapeBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  FPressed = false;
  FHeld = false;
  Repaint();
}

void TqShapeBtn::Paint() {
  if (!Enabled()) {
    FPressed = false;
    if (!HasState(csDesigning)) FHeld = false;
  }
  RgnFromShape();
  TCanvas* C = Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->Pen()->SetWidth(1);
  HDC DC = C->Handle();  // selects the brush just set: PaintRgn fills with it
  const int W = Width(), H = Height();
  if (FTransparent) {
    if (HasState(csDesigning)) FrameRgn(DC, FRegion, HBRUSH(GetStockObject(BLACK_BRUSH)), 1, 1);
  } else if (FShape == sbOwnerDraw && OnOwnerDraw) {
    OnOwnerDraw(this, C, FPressed, W, H, FRegion, FShadowColor, FHighLightColor);
  } else {
    PaintRgn(DC, FRegion);
    const bool Triangle = FShape != sbRectangle && FShape != sbOwnerDraw && FShape != sbCircle && FShape != sbPlus &&
                          FShape != sbMinus && (FShape < sbUpTrapezoid || FShape > sbRTrapezoid);
    if (Triangle) {
      TBrushOwner Frame(CreateSolidBrush(ColorToRGB(FShadowColor)));
      FrameRgn(DC, FRegion, Frame, 1, 1);
    }
    DrawEdge(C, FShape, W, H, sfGraphic, FPressed, FShadowColor, FHighLightColor);
  }
  if (OnPaint) OnPaint(this);
}

static constinit const TPropInfo TqShapeBtn_Props[] = {
    PropEnum<&TqShapeBtn::Shape, &TqShapeBtn::SetShape>("Shape", sbTypeType, sbRectangle),
    PropChar<&TqShapeBtn::AcceleratorKey, &TqShapeBtn::SetAcceleratorKey>("AcceleratorKey", ' '),
    PropBool<&TqShapeBtn::Transparent, &TqShapeBtn::SetTransparent>("Transparent", false),
    PropColor<&TqShapeBtn::HighLightColor, &TqShapeBtn::SetHighLightColor>("HighLightColor", clBtnHighlight),
    PropColor<&TqShapeBtn::ShadowColor, &TqShapeBtn::SetShadowColor>("ShadowColor", clBtnShadow),
    TControlProps::Color(clBtnFace),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 25),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 25),
    PropEvent<&TqShapeBtn::OnPaint>("OnPaint"),
    PropEvent<&TqShapeBtn::OnGetRegion>("OnGetRegion"),
    PropEvent<&TqShapeBtn::OnOwnerDraw>("OnOwnerDraw"),
    PropEvent<&TqShapeBtn::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqShapeBtn::OnMouseLeave>("OnMouseLeave"),
    TControlProps::Anchors(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::ParentColor(false),
    TControlProps::Enabled(),
    TControlProps::ParentShowHint(),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
};
ORV_IMPLEMENT_COMPONENT(TqShapeBtn, TGraphicControl, TqShapeBtn_Props)

namespace {
const struct TShapeBtnRegistration {
  TShapeBtnRegistration() { RegisterClass(TqShapeBtn::StaticClass()); }
} ShapeBtnRegistration;
}  // namespace
