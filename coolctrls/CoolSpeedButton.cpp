#include "coolctrls/CoolCtrls.h"

#include "rtl/Streaming.h"

TCoolSpeedButton::TCoolSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {
  SetLayout(blGlyphTop);
  SetTransparent(true);
  if (!HasState(csDesigning)) {
    SetFlat(true);
    Font()->SetColor(clWhite);
  }
}

void TCoolSpeedButton::BeforeDestruction() {
  // Told while the button still sits on the panel.
  if (TCoolPanel* P = Panel()) P->Perform(CM_BUTTONDESTROYED, 0, reinterpret_cast<intptr_t>(this));
  inherited::BeforeDestruction();
}

void TCoolSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolSpeedButton::ReadState(TReader* Reader) {
  inherited::ReadState(Reader);
  if (auto* P = dynamic_cast<TCoolPanel*>(Reader->Parent())) P->AddButton(this);
}

TCoolPanel* TCoolSpeedButton::Panel() const {
  auto* P = dynamic_cast<TCoolPanel*>(Parent());
  return P && !P->HasState(csDestroying) ? P : nullptr;
}

void TCoolSpeedButton::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  FHot = true;
  if (TCoolPanel* P = Panel()) P->Perform(CM_MOUSECAPTURECHANGE, 1, reinterpret_cast<intptr_t>(this));
  if (Enabled()) {
    SetTransparent(false);
    Font()->SetColor(clBlack);
  }
  if (OnMouseEnter) OnMouseEnter(this);
}

void TCoolSpeedButton::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  FHot = false;
  if (TCoolPanel* P = Panel()) P->Perform(CM_MOUSECAPTURECHANGE, 0, reinterpret_cast<intptr_t>(this));
  if (Enabled()) {
    SetTransparent(true);
    Font()->SetColor(clWhite);
  }
  if (OnMouseLeave) OnMouseLeave(this);
}

void TCoolSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FPressed = true;
  inherited::MouseDown(Button, Shift, X, Y);
}

void TCoolSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FPressed = false;
  inherited::MouseUp(Button, Shift, X, Y);
}

void TCoolSpeedButton::Paint() {
  inherited::Paint();
  if (!FPressed) return;
  POINT P;
  if (!GetCursorPos(&P) || FindDragTarget(TPoint(P), false) == this) return;
  // Held down with the mouse elsewhere: the edge goes under the panel's background colour.
  if (TCoolPanel* Panel_ = Panel()) FFrameColor = TColor(Panel_->Perform(CM_PARENTBACKCOLOR, 0, 0));
  TCanvas* C = Canvas();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(FFrameColor);
  C->Brush()->SetStyle(bsClear);
  C->Rectangle(0, 0, Width(), Height());
}

static constinit const TPropInfo TCoolSpeedButton_Props[] = {
    PropObject<&TCoolSpeedButton::About, &TCoolSpeedButton::SetAbout>("About"),
    PropEnum<&TSpeedButton::Layout, &TSpeedButton::SetLayout>("Layout", TButtonLayoutType, blGlyphTop),
    PropEvent<&TCoolSpeedButton::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TCoolSpeedButton::OnMouseLeave>("OnMouseLeave"),
};
ORV_IMPLEMENT_COMPONENT(TCoolSpeedButton, TSpeedButton, TCoolSpeedButton_Props)

namespace {
const struct TCoolSpeedButtonRegistration {
  TCoolSpeedButtonRegistration() { RegisterClass(TCoolSpeedButton::StaticClass()); }
} CoolSpeedButtonRegistration;
}  // namespace
