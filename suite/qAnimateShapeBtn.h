// Unit qAnimate, the shape button: a graphic control drawn, hit-tested and clicked in one of the
// 30 shapes of sbType; clicks outside the shape fall through to what lies beneath. Its only key
// is an accelerator.
#pragma once
#include "suite/Std2Shape.h"
#include "vcl/Controls.h"

class TqShapeBtn : public TGraphicControl {
  ORV_CLASS(TqShapeBtn, TGraphicControl)
public:
  explicit TqShapeBtn(TComponent* AOwner);
  ~TqShapeBtn() override;
  void Dispatch(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Click() override;

  // sbPlus makes the accelerator "+", sbMinus "-", any other shape clears it.
  sbType Shape() const { return FShape; }
  void SetShape(sbType Value);
  // Space for none.
  char AcceleratorKey() const { return FAccel.Length() == 2 ? FAccel[2] : ' '; }
  void SetAcceleratorKey(char Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TColor HighLightColor() const { return FHighLightColor; }
  void SetHighLightColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  // Takes Region in place of the one held (deleted).
  void SetRgn(HRGN Region);
  HRGN Region() const { return FRegion; }

  bool Pressed() const { return FPressed; }
  bool Held() const { return FHeld; }

  TNotifyEvent OnPaint;
  TsbGetRegEvent OnGetRegion;
  TsbDrawEvent OnOwnerDraw;
  TNotifyEvent OnMouseEnter, OnMouseLeave;

  using TControl::Color;
  using TControl::SetColor;

protected:
  void Paint() override;
  // Rebuilds the held region for the button's size.
  virtual void RgnFromShape();
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  bool InShape(int X, int Y) const { return FRegion && PtInRegion(FRegion, X, Y); }

  sbType FShape = sbRectangle;
  HRGN FRegion = nullptr;
  TColor FHighLightColor = clBtnHighlight, FShadowColor = clBtnShadow;
  AnsiString FAccel = " ";
  bool FTransparent = false;
  bool FPressed = false, FHeld = false;
};
