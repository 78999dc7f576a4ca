// Unit Std2, shaped colour buttons: windowed push buttons cut to one of the 30 shapes of sbType,
// with a bevelled edge along the shape, a caption in a movable rectangle and the keys of a
// dialog button; with a gradient, a glyph strip or icons on the face.
#pragma once
#include "suite/Blend.h"
#include "suite/Std2DialogBtn.h"
#include "suite/Std2Shape.h"
#include "suite/qAnimateBtnParts.h"
#include "vcl/Controls.h"

class TqcShapeColorBtn : public TqDialogButton<TCustomControl> {
  ORV_CLASS(TqcShapeColorBtn, TqDialogButton<TCustomControl>)
public:
  explicit TqcShapeColorBtn(TComponent* AOwner);
  ~TqcShapeColorBtn() override;
  void Dispatch(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  sbType Shape() const { return FShape; }
  void SetShape(sbType Value);
  TColor HighLightColor() const { return FHighLightColor; }
  void SetHighLightColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool Value);
  TqcTextSize* TextSize() const { return FTextSize; }
  void SetTextSize(TqcTextSize* Value) { FTextSize->Assign(Value); }
  TqcFanceDefLook DefaultLook() const { return FDefaultLook; }
  void SetDefaultLook(TqcFanceDefLook Value);
  qbHorzAlign HorzAlign() const { return FHorzAlign; }
  void SetHorzAlign(qbHorzAlign Value);
  bool MultipleLines() const { return FMultipleLines; }
  void SetMultipleLines(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  TNotifyEvent OnPaint;
  TsbGetRegEvent OnGetRegion;
  TsbShapeDrawEvent OnOwnerDraw;
  TNotifyEvent OnMouseEnter, OnMouseLeave;

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;

protected:
  void CreateWnd() override;
  void Paint() override;
  // Replaces the held region with Shape's for W by H (sbOwnerDraw: OnGetRegion's, else the
  // rectangle).
  virtual void RgnFromShape(int W, int H);
  // The face between the fill and the edge: the caption and the focus rectangle.
  virtual void PaintLook(TCanvas* C);
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  // The caption is bold (dlfBold): focused or Default.
  bool ShowsDefault() const { return Focused() || Default(); }

private:
  // A new region for the window when it differs from the one it has; Redraw when the shape or
  // size changed (never from a paint).
  void ApplyRegion(bool Redraw);
  void TextSizeChanged(TObject*) { Invalidate(); }
  void RepaintAfter(TMessage& Message);
  void CMHitTest(TMessage& Message);

  sbType FShape = sbRectangle;
  HRGN FRegion = nullptr;
  TColor FHighLightColor = clBtnHighlight, FShadowColor = clBtnShadow;
  TqcFanceDefLook FDefaultLook = dlfBold;
  TAlignment FAlignment = taCenter;
  qbHorzAlign FHorzAlign = qbha_Center;
  bool FMultipleLines = false, FWordWrap = false;
  TqcTextSize* FTextSize;
  bool FShowFocus = true;
};

// A shaped button whose face runs from Color to EndColor in Bands bands (gVert, gHorz, gCenter);
// other fill types, no bands, or equal colours give a plain Color face.
class TqcShapeGradBtn : public TqcShapeColorBtn {
  ORV_CLASS(TqcShapeGradBtn, TqcShapeColorBtn)
public:
  explicit TqcShapeGradBtn(TComponent* AOwner);
  gradType FillType() const { return FFillType; }
  void SetFillType(gradType Value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);
  int Bands() const { return FBands; }
  void SetBands(int Value);
  void Dispatch(TMessage& Message) override;

protected:
  virtual void ColorSet();
  void PaintLook(TCanvas* C) override;

private:
  gradType FFillType = gVert;
  TColor FEndColor = clBtnFace;
  int FBands = 75;
  TqColorRamp FRamp;
};

// A shaped button with a glyph at OffsetGlyph, cut from a strip of NumGlyphs images (up,
// disabled, down); TransparentColor shows the face.
class TqcShapeBitColBtn : public TqGlyphButton<TqcShapeColorBtn> {
  ORV_CLASS(TqcShapeBitColBtn, TqGlyphButton<TqcShapeColorBtn>)
public:
  explicit TqcShapeBitColBtn(TComponent* AOwner);
  ~TqcShapeBitColBtn() override;
  TqcBmpOffset* OffsetGlyph() const { return FOffsetGlyph; }
  void SetOffsetGlyph(TqcBmpOffset* Value) { FOffsetGlyph->Assign(Value); }

protected:
  void PaintLook(TCanvas* C) override;

private:
  void OffsetChanged(TObject*) { Invalidate(); }
  TqcBmpOffset* FOffsetGlyph;
};

// A shaped button with an icon at OffsetIcon for the enabled, pressed and disabled looks.
class TqcShapeIconColBtn : public TqIconButton<TqcShapeColorBtn> {
  ORV_CLASS(TqcShapeIconColBtn, TqIconButton<TqcShapeColorBtn>)
public:
  explicit TqcShapeIconColBtn(TComponent* AOwner);
  ~TqcShapeIconColBtn() override;
  TqcBmpOffset* OffsetIcon() const { return FOffsetIcon; }
  void SetOffsetIcon(TqcBmpOffset* Value) { FOffsetIcon->Assign(Value); }

protected:
  void PaintLook(TCanvas* C) override;

private:
  void OffsetChanged(TObject*) { Invalidate(); }
  TqcBmpOffset* FOffsetIcon;
};
