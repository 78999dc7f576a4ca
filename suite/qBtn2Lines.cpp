#include "suite/qBtn2Lines.h"

#include "rtl/TypInfo.h"
#include "vcl/Menus.h"

#include <algorithm>

constexpr TEnumType TqcLineStartType{"TqcLineStart", {"qlsTop", "qlsBottom"}};
constexpr TEnumType TqcArrowStyleType{"TqcArrowStyle", {"qasClosed", "qasOpen", "qasLine"}};
constexpr TEnumType TqcArrowDirectionType{"TqcArrowDirection",
                                          {"qadN", "qadE", "qadS", "qadW", "qadNE", "qadSE", "qadSW", "qadNW"}};

// ---------------------------------------------------------------------------------------------
// TqcLineControl

TqcLineControl::TqcLineControl(TComponent* AOwner) : TGraphicControl(AOwner) {
  TControl::SetColor(clWindow);
  SetParentColor(true);
}

void TqcLineControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; break;
    default: inherited::Dispatch(Message);
  }
}

void TqcLineControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TGraphicControl::SetBounds(ALeft, ATop, std::max(AWidth, 1), std::max(AHeight, 1));
}

void TqcLineControl::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value) ExcludeStyle(csOpaque);
  else IncludeStyle(csOpaque);
  Invalidate();
}

void TqcLineControl::Paint() {
  const int W = Width(), H = Height();
  const TRect Client = Rect(0, 0, W, H);
  TBitmap Bmp;
  Bmp.SetSize(W, H);
  TCanvas* C = Bmp.Canvas();
  if (FTransparent) {
    C->CopyRect(Client, Canvas(), Client);
    C->Brush()->SetStyle(bsClear);
  } else {
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(Client);
  }
  DrawOn(C, W, H);
  Canvas()->CopyRect(Client, C, Client);
  if (OnPaint) OnPaint(this);
}

static constinit const TPropInfo TqcLineControl_Props[] = {
    PropBool<&TqcLineControl::Transparent, &TqcLineControl::SetTransparent>("Transparent", true),
    TControlProps::Color(clWindow),
    TControlProps::ParentColor(true),
    PropEvent<&TqcLineControl::OnPaint>("OnPaint"),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnStartDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
};
ORV_IMPLEMENT_ABSTRACT(TqcLineControl, TGraphicControl, TqcLineControl_Props)

// ---------------------------------------------------------------------------------------------
// TqcHairLine

TqcHairLine::TqcHairLine(TComponent* AOwner) : TqcLineControl(AOwner) {
  SetControlStyle(TControlStyle());
  SetBounds(Left(), Top(), 40, 40);
}

void TqcHairLine::DrawOn(TCanvas* C, int W, int H) {
  const int S = int(FSize);
  C->Pen()->SetWidth(S);
  C->Pen()->SetColor(FLineColor);
  C->Pen()->SetStyle(FPenStyle);
  TPoint A, B;
  if (FLineStart == qlsTop) {
    if (FDiagonal) A = TPoint(-S, -S), B = TPoint(W + S - 1, H + S - 1);
    else if (FVertical) A = TPoint(0, 0), B = TPoint(0, H - 1);
    else A = TPoint(0, 0), B = TPoint(W - 1, 0);
  } else {
    if (FDiagonal) A = TPoint(-S, H + S - 1), B = TPoint(W + S - 1, -S);
    else if (FVertical) A = TPoint(W - 1, 0), B = TPoint(W - 1, H - 1);
    else A = TPoint(0, H - 1), B = TPoint(W - 1, H - 1);
  }
  C->Polyline({A, B});
}

static constinit const TPropInfo TqcHairLine_Props[] = {
    PropEnum<&TqcHairLine::PenStyle, &TqcHairLine::SetPenStyle>("PenStyle", TPenStyleType, psSolid),
    PropColor<&TqcHairLine::LineColor, &TqcHairLine::SetLineColor>("LineColor", clBtnText),
    PropEnum<&TqcHairLine::LineStart, &TqcHairLine::SetLineStart>("LineStart", TqcLineStartType, qlsTop),
    PropBool<&TqcHairLine::Diagonal, &TqcHairLine::SetDiagonal>("Diagonal", true),
    PropBool<&TqcHairLine::Vertical, &TqcHairLine::SetVertical>("Vertical", false),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 40),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 40),
    PropInt<&TqcHairLine::Size, &TqcHairLine::SetSize>("Size", 1),
};
ORV_IMPLEMENT_COMPONENT(TqcHairLine, TqcLineControl, TqcHairLine_Props)

// ---------------------------------------------------------------------------------------------
// TqcArrowHead

TqcArrowHead::TqcArrowHead(TComponent* AOwner) : TqcLineControl(AOwner) {
  SetControlStyle(StyleOf(csClickEvents) | StyleOf(csDoubleClicks));
  SetBounds(Left(), Top(), 20, 20);
}

TqcArrowHead::~TqcArrowHead() {
  if (FRegion) DeleteObject(FRegion);
}

void TqcArrowHead::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_HITTEST: CMHitTest(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcArrowHead::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TqcLineControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  MakeRegion();
}

void TqcArrowHead::SetDirection(TqcArrowDirection Value) {
  if (FDirection == Value) return;
  FDirection = Value;
  MakeRegion();
  Invalidate();
}

std::array<TPoint, 3> TqcArrowHead::Triangle(TqcArrowDirection Direction, int W, int H) {
  const int R = W - 1, B = H - 1, CX = R / 2, CY = B / 2;
  switch (Direction) {
    case qadN: return {TPoint(R, B), TPoint(CX, 0), TPoint(0, B)};
    case qadE: return {TPoint(0, 0), TPoint(R, CY), TPoint(0, B)};
    case qadS: return {TPoint(R, 0), TPoint(CX, B), TPoint(0, 0)};
    case qadW: return {TPoint(R, B), TPoint(0, CY), TPoint(R, 0)};
    case qadNE: return {TPoint(0, 0), TPoint(R, 0), TPoint(R, B)};
    case qadSE: return {TPoint(R, 0), TPoint(R, B), TPoint(0, B)};
    case qadSW: return {TPoint(0, 0), TPoint(0, B), TPoint(R, B)};
    case qadNW: break;
  }
  return {TPoint(R, 0), TPoint(0, 0), TPoint(0, B)};
}

void TqcArrowHead::MakeRegion() {
  const auto T = Triangle(FDirection, Width(), Height());
  const POINT P[3] = {T[0], T[1], T[2]};
  HRGN New = CreatePolygonRgn(P, 3, WINDING);
  if (!New) throw EOutOfResources("Out of system resources");
  if (FRegion) DeleteObject(FRegion);
  FRegion = New;
}

void TqcArrowHead::CMHitTest(TMessage& Message) {
  const auto P = MAKEPOINTS(Message.LParam);
  Message.Result = FRegion && PtInRegion(FRegion, P.x, P.y) ? 1 : 0;
}

void TqcArrowHead::DrawOn(TCanvas* C, int W, int H) {
  const auto T = Triangle(FDirection, W, H);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(FArrowColor);
  C->Pen()->SetStyle(psSolid);
  C->Brush()->SetColor(FArrowColor);
  switch (FStyle) {
    case qasClosed:
      C->Brush()->SetStyle(bsSolid);
      C->Polygon({T[0], T[1], T[2]});
      break;
    case qasOpen:
      C->Brush()->SetStyle(bsClear);
      C->Polygon({T[0], T[1], T[2]});
      break;
    case qasLine: C->Polyline({T[0], T[1], T[2]}); break;
  }
}

// The stored default size is the size a new head has, so any other size is written and read
// back.
static constinit const TPropInfo TqcArrowHead_Props[] = {
    PropColor<&TqcArrowHead::ArrowColor, &TqcArrowHead::SetArrowColor>("ArrowColor", clBtnText),
    PropEnum<&TqcArrowHead::Style, &TqcArrowHead::SetStyle>("Style", TqcArrowStyleType, qasClosed),
    PropEnum<&TqcArrowHead::Direction, &TqcArrowHead::SetDirection>("Direction", TqcArrowDirectionType, qadNW),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 20),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 20),
};
ORV_IMPLEMENT_COMPONENT(TqcArrowHead, TqcLineControl, TqcArrowHead_Props)

namespace {
struct TLinesRegistration {
  TLinesRegistration() { RegisterClasses({TqcHairLine::StaticClass(), TqcArrowHead::StaticClass()}); }
} LinesRegistration;
}  // namespace
