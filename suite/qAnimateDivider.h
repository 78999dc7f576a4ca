// Decorative graphic controls: an etched or raised two-pixel divider line, and a bevelled
// frame that lets mouse clicks pass through to what lies beneath.
#pragma once
#include "vcl/ExtCtrls.h"

enum doType { doHorz, doVert };
extern const TEnumType doTypeType;

class TqDivider : public TGraphicControl {
  ORV_CLASS(TqDivider, TGraphicControl)
public:
  explicit TqDivider(TComponent* AOwner);
  // Width and height below 2 become 2.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  doType Orientation() const { return FOrientation; }
  void SetOrientation(doType Value);
  // Highlight over shadow (else shadow over highlight).
  bool Raised() const { return FRaised; }
  void SetRaised(bool Value);

  using TControl::DragMode;
  using TControl::SetDragMode;
  using TControl::DragCursor;
  using TControl::SetDragCursor;

  TNotifyEvent OnPaint;

protected:
  void Paint() override;

private:
  doType FOrientation = doHorz;
  bool FRaised = false;
};

class TqFrame : public TGraphicControl {
  ORV_CLASS(TqFrame, TGraphicControl)
public:
  explicit TqFrame(TComponent* AOwner);

  bool Filled() const { return FFilled; }
  void SetFilled(bool Value) { Changed(FFilled, Value); }
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value) { Changed(FBevelInner, Value); }
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value) { Changed(FBevelOuter, Value); }
  TBevelWidth BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth Value) { Changed(FBevelWidth, Value); }
  TBorderWidth BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(TBorderWidth Value) { Changed(FBorderWidth, Value); }
  // The mouse goes through to what lies beneath: the frame is disabled.
  bool PassMouseOn() const { return !Enabled(); }
  void SetPassMouseOn(bool Value) { SetEnabled(!Value); }

  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::DragMode;
  using TControl::SetDragMode;
  using TControl::DragCursor;
  using TControl::SetDragCursor;

  TNotifyEvent OnPaint;

protected:
  void Paint() override;

private:
  template <class T> void Changed(T& Field, T Value) {
    Field = Value;
    Invalidate();
  }
  void Bevel(TRect& R, TBevelCut Cut);

  bool FFilled = false;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  TBevelWidth FBevelWidth = 1;
  TBorderWidth FBorderWidth = 0;
};
