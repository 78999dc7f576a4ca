#include "suite/qAnimateDivider.h"

#include "rtl/TypInfo.h"

#include <algorithm>

constexpr TEnumType doTypeType{"doType", {"doHorz", "doVert"}};

// ---------------------------------------------------------------------------------------------
// TqDivider

TqDivider::TqDivider(TComponent* AOwner) : TGraphicControl(AOwner) {
  ExcludeStyle(csOpaque);
  SetBounds(Left(), Top(), 50, 50);
}

void TqDivider::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TGraphicControl::SetBounds(ALeft, ATop, std::max(AWidth, 2), std::max(AHeight, 2));
}

void TqDivider::SetOrientation(doType Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  Invalidate();
}

void TqDivider::SetRaised(bool Value) {
  if (FRaised == Value) return;
  FRaised = Value;
  Invalidate();
}

void TqDivider::Paint() {
  TCanvas* C = Canvas();
  const int W = Width(), H = Height();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  const TColor Colours[2] = {FRaised ? clBtnHighlight : clBtnShadow, FRaised ? clBtnShadow : clBtnHighlight};
  for (int I = 0; I < 2; ++I) {
    C->Pen()->SetColor(Colours[I]);
    if (FOrientation == doHorz) {
      C->MoveTo(0, I);
      C->LineTo(W, I);
    } else {
      C->MoveTo(I, 0);
      C->LineTo(I, H);
    }
  }
  if (OnPaint) OnPaint(this);
}

static constinit const TPropInfo TqDivider_Props[] = {
    PropEnum<&TqDivider::Orientation, &TqDivider::SetOrientation>("Orientation", doTypeType, doHorz),
    PropBool<&TqDivider::Raised, &TqDivider::SetRaised>("Raised", false),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 50),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 50),
    TControlProps::Align(),
    TControlProps::Anchors(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::ShowHint(),
    TControlProps::ParentShowHint(),
    TControlProps::Visible(),
    PropEvent<&TqDivider::OnPaint>("OnPaint"),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
};
ORV_IMPLEMENT_COMPONENT(TqDivider, TGraphicControl, TqDivider_Props)

// ---------------------------------------------------------------------------------------------
// TqFrame

TqFrame::TqFrame(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(TControlStyle());
  SetBounds(Left(), Top(), 50, 50);
  TControl::SetColor(clWindow);
  SetParentColor(false);
  SetEnabled(false);
}

// A lowered cut has its shadow at the top left.
void TqFrame::Bevel(TRect& R, TBevelCut Cut) {
  const bool Lowered = Cut == bvLowered;
  Frame3D(Canvas(), R, Lowered ? clBtnShadow : clBtnHighlight, Lowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
}

void TqFrame::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  C->Brush()->SetColor(Color());
  if (FFilled) {
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
  } else {
    C->Brush()->SetStyle(bsClear);
  }
  if (FBevelOuter != bvNone) Bevel(R, FBevelOuter);
  Frame3D(C, R, Color(), Color(), FBorderWidth);
  if (FBevelInner != bvNone) Bevel(R, FBevelInner);
  if (OnPaint) OnPaint(this);
}

static constinit const TPropInfo TqFrame_Props[] = {
    PropBool<&TqFrame::Filled, &TqFrame::SetFilled>("Filled", false),
    PropEnum<&TqFrame::BevelInner, &TqFrame::SetBevelInner>("BevelInner", TBevelCutType, bvNone),
    PropEnum<&TqFrame::BevelOuter, &TqFrame::SetBevelOuter>("BevelOuter", TBevelCutType, bvRaised),
    PropInt<&TqFrame::BevelWidth, &TqFrame::SetBevelWidth>("BevelWidth", 1),
    PropInt<&TqFrame::BorderWidth, &TqFrame::SetBorderWidth>("BorderWidth", 0),
    PropBool<&TqFrame::PassMouseOn, &TqFrame::SetPassMouseOn>("PassMouseOn", true),
    TControlProps::Color(clWindow),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 50),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 50),
    TControlProps::Align(),
    TControlProps::Anchors(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::ParentColor(false),
    TControlProps::ShowHint(),
    TControlProps::ParentShowHint(),
    TControlProps::Visible(),
    PropEvent<&TqFrame::OnPaint>("OnPaint"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TqFrame, TGraphicControl, TqFrame_Props)

namespace {
struct TDividerRegistration {
  TDividerRegistration() { RegisterClasses({TqDivider::StaticClass(), TqFrame::StaticClass()}); }
} DividerRegistration;
}  // namespace
