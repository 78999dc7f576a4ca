// Unit qAnimate, the non-windowed twins of the colour buttons: graphic controls that cannot take the
// focus but can paint over their parent's image (Transparent, with an optional grey glass tint).
#pragma once
#include "suite/qAnimateBtnParts.h"

class TqNWColorBtn : public TqColorButtonLook<TGraphicControl> {
  ORV_CLASS(TqNWColorBtn, TqColorButtonLook<TGraphicControl>)
public:
  explicit TqNWColorBtn(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void Click() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // Draw the 3-D edge at all.
  bool Frame() const { return FFrame; }
  void SetFrame(bool Value) { ChangeLook(FFrame, Value); }
  // Shift caption and glyph by one pixel while pressed.
  bool Movement() const { return FMovement; }
  void SetMovement(bool Value) { ChangeLook(FMovement, Value); }
  // Margins of the caption rectangle.
  int LeftOffSet() const { return FLeftOffSet; }
  void SetLeftOffSet(int Value);
  int TopOffSet() const { return FTopOffSet; }
  void SetTopOffSet(int Value);
  // Paint over what the parent painted beneath (the control is not opaque then).
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // Transparent: each channel of the parent's image ORed with this grey (0: none).
  TqGlassValue GlassValue() const { return FGlassValue; }
  void SetGlassValue(TqGlassValue Value);

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TControl::DragMode;
  using TControl::SetDragMode;
  using TControl::DragCursor;
  using TControl::SetDragCursor;

protected:
  // Background, edge and content built off screen, then copied at once.
  void Paint() override;
  // The caption rectangle, the caption and the glyph (default: the caption alone).
  virtual void PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B);
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Hover is followed whenever the button is enabled.
  bool FollowsHover() const override { return true; }
  void ShowPressed() override { Invalidate(); }
  // The one-pixel shift of pressed content (with Movement).
  int Shift() const { return Enabled() && FPressed && FMovement ? 1 : 0; }

  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMInvalidateOnly(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CNKeyDown(TMessage& Message);

private:
  bool FFrame = true;
  bool FMovement = true;
  int FLeftOffSet = 5;
  int FTopOffSet = 5;
  bool FTransparent = false;
  TqGlassValue FGlassValue = 0;
};

// ---------------------------------------------------------------------------------------------
// The twin of TqBitColBtn: the glyph is drawn with TransparentBlt, so the background shows
// through it, GlyphMargin from the edge.
class TqNWBitColBtn : public TqGlyphButton<TqNWColorBtn> {
  ORV_CLASS(TqNWBitColBtn, TqGlyphButton<TqNWColorBtn>)
public:
  explicit TqNWBitColBtn(TComponent* AOwner) : inherited(AOwner) {}

  unsigned GlyphMargin() const { return FGlyphMargin; }
  void SetGlyphMargin(unsigned Value);

protected:
  void PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) override;

private:
  unsigned FGlyphMargin = 5;
};

// ---------------------------------------------------------------------------------------------
// The twin of TqIconColBtn.
class TqNWIconColBtn : public TqIconButton<TqNWColorBtn> {
  ORV_CLASS(TqNWIconColBtn, TqIconButton<TqNWColorBtn>)
public:
  explicit TqNWIconColBtn(TComponent* AOwner) : inherited(AOwner) {}

  unsigned GlyphMargin() const { return FGlyphMargin; }
  void SetGlyphMargin(unsigned Value);

protected:
  void PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) override;

private:
  unsigned FGlyphMargin = 5;
};
