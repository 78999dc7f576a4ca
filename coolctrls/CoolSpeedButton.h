// The cool speed button of the button panel (part of unit CoolCtrls; include
// "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "coolctrls/CoolPanel.h"
#include "vcl/Buttons.h"

// A flat speed button, glyph above caption, that lights up under the mouse: at run time a white
// caption on what lies behind it, and a black caption on the button face while the mouse is
// over it. On a TCoolPanel it tells the panel when it goes and when the mouse comes and goes,
// so one button at a time is lit; while held down with the mouse elsewhere its edge is drawn
// over in the panel's background colour.
class TCoolSpeedButton : public TSpeedButton {
  ORV_CLASS(TCoolSpeedButton, TSpeedButton)
public:
  explicit TCoolSpeedButton(TComponent* AOwner);
  void BeforeDestruction() override;
  void Dispatch(TMessage& Message) override;
  void ReadState(TReader* Reader) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  // The mouse is over the button (as its last CM_MOUSEENTER or CM_MOUSELEAVE said).
  bool Hot() const { return FHot; }
  // The left button went down on it and is not up yet.
  bool Pressed() const { return FPressed; }
  // The colour the edge was last drawn over with.
  TColor FrameColor() const { return FFrameColor; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

private:
  // The panel the button sits on, unless it has none or it is being destroyed.
  TCoolPanel* Panel() const;

  TCCAboutBox* FAbout = nullptr;
  TColor FFrameColor = clBtnShadow;
  bool FPressed = false;
  bool FHot = false;
};
