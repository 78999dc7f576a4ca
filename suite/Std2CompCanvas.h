// A canvas on the window of another control, lent between StartPaint and EndPaint.
#pragma once
#include "rtl/SysUtils.h"
#include "vcl/Controls.h"

ORV_EXCEPTION(EqCompCanvasException, Exception)

class TqCompCanvas : public TComponent {
  ORV_CLASS(TqCompCanvas, TComponent)
public:
  explicit TqCompCanvas(TComponent* AOwner);
  ~TqCompCanvas() override;

  // Ends drawing on the old control (without raising) before it is replaced.
  TWinControl* ControlComponent() const { return FControl; }
  void SetControlComponent(TWinControl* Value);
  // Bound to the control's window while drawing; a fresh canvas after each EndPaint.
  TCanvas* Canvas() const { return FCanvas; }
  bool Drawing() const { return FDrawing; }

  // EqCompCanvasException "We are allready drawing" or "No component to draw on"; the
  // framework's error when the control's window cannot be made (nothing changes then).
  void StartPaint();
  // EqCompCanvasException "We are not drawing".
  void EndPaint();

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  // Gives the device context back to the window it came from.
  void StopDrawing();

  TWinControl* FControl = nullptr;
  TCanvas* FCanvas;
  bool FDrawing = false;
  HWND FWnd = nullptr;
  HDC FDC = nullptr;
};
