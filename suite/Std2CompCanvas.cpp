#include "suite/Std2CompCanvas.h"

#include "rtl/TypInfo.h"

TqCompCanvas::TqCompCanvas(TComponent* AOwner) : TComponent(AOwner), FCanvas(new TCanvas) {}

TqCompCanvas::~TqCompCanvas() {
  if (FDrawing) {
    FCanvas->SetHandle(nullptr);
    ReleaseDC(FWnd, FDC);
  }
  TObject::Free(FCanvas);
}

void TqCompCanvas::SetControlComponent(TWinControl* Value) {
  if (FDrawing) StopDrawing();
  if (FControl == Value) return;
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = Value;
  if (FControl) FControl->FreeNotification(this);
}

void TqCompCanvas::StartPaint() {
  if (FDrawing) throw EqCompCanvasException("We are allready drawing");
  if (!FControl) throw EqCompCanvasException("No component to draw on");
  HWND Wnd = FControl->Handle();
  HDC DC = GetDC(Wnd);
  if (!DC) throw EOutOfResources("Out of system resources");
  FWnd = Wnd;
  FDC = DC;
  FDrawing = true;
  FCanvas->SetHandle(DC);
}

void TqCompCanvas::EndPaint() {
  if (!FDrawing) throw EqCompCanvasException("We are not drawing");
  StopDrawing();
}

void TqCompCanvas::StopDrawing() {
  FDrawing = false;
  FCanvas->SetHandle(nullptr);
  ReleaseDC(FWnd, FDC);
  FWnd = nullptr;
  FDC = nullptr;
  TCanvas* Fresh = new TCanvas;
  TObject::Free(FCanvas);
  FCanvas = Fresh;
}

void TqCompCanvas::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == FControl) {
    if (FDrawing) StopDrawing();
    FControl = nullptr;
  }
  TComponent::Notification(AComponent, Operation);
}

static constinit const TPropInfo TqCompCanvas_Props[] = {
    PropRef<&TqCompCanvas::ControlComponent, &TqCompCanvas::SetControlComponent>("ControlComponent"),
};
ORV_IMPLEMENT_COMPONENT(TqCompCanvas, TComponent, TqCompCanvas_Props)

namespace {
const struct TCompCanvasRegistration {
  TCompCanvasRegistration() { RegisterClass(TqCompCanvas::StaticClass()); }
} CompCanvasRegistration;
}  // namespace
