// Unit qAnimate, the non-windowed twins of the colour buttons: graphic controls that cannot take the
// focus but can paint over their parent's image (Transparent, with an optional grey glass tint).
#pragma once
#include "suite/qAnimateBtnParts.h"

class TqNWColorBtn : public TGraphicControl {
  ORV_CLASS(TqNWColorBtn, TGraphicControl)
public:
  explicit TqNWColorBtn(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void Click() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  qbHorzAlign HorzAlign() const { return FHorzAlign; }
  void SetHorzAlign(qbHorzAlign Value);
  bool MultipleLines() const { return FMultipleLines; }
  void SetMultipleLines(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // Stored and published; nothing reads it.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TColor HighLightColor() const { return FHighLightColor; }
  void SetHighLightColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  // Draw the 3-D edge at all.
  bool Frame() const { return FFrame; }
  void SetFrame(bool Value);
  // Shift caption and glyph by one pixel while pressed.
  bool Movement() const { return FMovement; }
  void SetMovement(bool Value);
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

  bool Hover() const { return FHover; }
  bool Pressed() const { return FPressed; }
  bool Held() const { return FHeld; }

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

  TNotifyEvent OnPaint;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  // Background, edge and content built off screen, then copied at once.
  void Paint() override;
  // The caption rectangle, the caption and the glyph (default: the caption alone).
  virtual void PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B);
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Re-evaluates the hover flag from the control under the cursor, whenever enabled.
  void SetMouseIn();
  // The one-pixel shift of pressed content (with Movement).
  int Shift() const { return Enabled() && FPressed && FMovement ? 1 : 0; }

  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMInvalidateOnly(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMRButtonUp(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);

private:
  void Changed(bool& Field, bool Value);

  bool FFlat = false;
  qbHorzAlign FHorzAlign = qbha_Center;
  bool FMultipleLines = false;
  bool FWordWrap = false;
  TAlignment FAlignment = taCenter;
  bool FCancel = false;
  TColor FHighLightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  bool FFrame = true;
  bool FMovement = true;
  int FLeftOffSet = 5;
  int FTopOffSet = 5;
  bool FTransparent = false;
  TqGlassValue FGlassValue = 0;
  bool FHover = false;
  bool FPressed = false;
  bool FHeld = false;
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
