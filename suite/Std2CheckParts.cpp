#include "suite/Std2CheckParts.h"

TqOwnerDrawnButton::TqOwnerDrawnButton(TComponent* AOwner) : TButtonControl(AOwner), FCanvas(new TControlCanvas) {
  FCanvas->SetControl(this);
}

TqOwnerDrawnButton::~TqOwnerDrawnButton() { delete FCanvas; }

void TqOwnerDrawnButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; break;
    case WM_PAINT: PaintHandler(Message); break;
    case CN_DRAWITEM:
      PaintWindow(reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->hDC);
      Message.Result = 1;
      break;
    default: inherited::Dispatch(Message);
  }
}

void TqOwnerDrawnButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  // The framework's visible and disabled bits stay, so a box made disabled takes no input.
  Params.Style |= WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_OWNERDRAW;
}

void TqOwnerDrawnButton::PaintWindow(HDC DC) {
  FCanvas->Lock();
  FCanvas->SetHandle(DC);
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

ORV_IMPLEMENT_CLASS(TqOwnerDrawnButton, TButtonControl)
