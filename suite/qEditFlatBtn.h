// Unit qEdit, flat check boxes and radio buttons: owner-drawn system "BUTTON" windows that draw a
// 13 by 13 square or a 12 by 12 circle in the framed edit's styles, one of three mark shapes, the
// caption beside it and a focus rectangle.
#pragma once
#include "suite/Std2.h"
#include "suite/Std2CheckParts.h"
#include "suite/qEditFrame.h"

// Box frame styles: the first eleven of the framed edit's, with the same meanings.
enum TqcBtnType {
  qcbtNormal, qcbtFlat, qcbtAlwaysFlat, qcbtFlatFocusFrame, qcbtAlwaysFlatFocusFrame, qcbtFlatThickFrame,
  qcbtAlwaysFlatThickFrame, qcbtFlatRaised, qcbtAlwaysFlatRaised, qcbtFlatShadow, qcbtAlwaysFlatShadow
};
extern const TEnumType TqcBtnTypeType;
// Mark shapes: check box tick, cross, slash; radio small dot, large dot, cross.
enum TqcBtnGlyphType { qcbgNormal, qcbgType1, qcbgType2 };
extern const TEnumType TqcBtnGlyphTypeType;

// The suite's 12 by 12 raster pattern: white, grey ($808080) where the row is even and the
// column odd. Made at start, freed at the end; never changed.
extern TBitmap* TqcRasterBitmap;

class TqcFlatCustomBtn : public TqOwnerDrawnButton {
  ORV_CLASS(TqcFlatCustomBtn, TqOwnerDrawnButton)
public:
  explicit TqcFlatCustomBtn(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void Loaded() override;

  TqcFanceDefLook DefaultLook() const { return FDefaultLook; }
  void SetDefaultLook(TqcFanceDefLook Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool MultipleLines() const { return FMultipleLines; }
  void SetMultipleLines(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  qbHorzAlign HorzAlign() const { return FHorzAlign; }
  void SetHorzAlign(qbHorzAlign Value);
  TqcBtnGlyphType GlyphType() const { return FGlyphType; }
  void SetGlyphType(TqcBtnGlyphType Value);
  TColor GlyphBkColor() const { return FGlyphBkColor; }
  void SetGlyphBkColor(TColor Value);
  TColor GlyphColor() const { return FGlyphColor; }
  void SetGlyphColor(TColor Value);
  TqcBtnType FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TqcBtnType Value);
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  TColor NonShadowColor() const { return FNonShadowColor; }
  void SetNonShadowColor(TColor Value);
  bool FocusFrame() const { return FFocusFrame; }
  void SetFocusFrame(bool Value);
  bool MouseInside() const { return FMouseInside; }

  // Where the box and the caption go (client coordinates).
  TRect BoxRect() const;
  TRect CaptionRect() const;

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
  // Radio buttons: the circle's box, one pixel in from the square's.
  virtual bool Round() const { return false; }
  // Draws the whole control off screen and copies it at once.
  void Paint() override;
  // The box's background, mark and frame (Active: mouse inside or focused).
  virtual void PaintBox(TCanvas* C, const TRect& Box, bool Live, bool Active) = 0;
  // Enabled, or being designed.
  bool Live() const { return Enabled() || HasState(csDesigning); }

  void WMNCHitTest(TMessage& Message);
  // Inherited handling, then a repaint (enabled, font, colour and focus changes).
  void RepaintAfter(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

private:
  template <class T> void Change(T& Field, T Value);

  TqcFanceDefLook FDefaultLook = dlfNone;
  TAlignment FAlignment = taCenter;
  bool FMultipleLines = false;
  bool FWordWrap = false;
  qbHorzAlign FHorzAlign = qbha_Center;
  bool FLoaded = false;
  TqcBtnGlyphType FGlyphType = qcbgNormal;
  TColor FGlyphBkColor = clWindow;
  TColor FGlyphColor = clBlack;
  bool FMouseInside = false;
  TqcBtnType FFrameStyle = qcbtFlat;
  TColor FFrameColor = clBlack;
  TColor FShadowColor = clGray;
  TColor FNonShadowColor = clBtnFace;
  bool FFocusFrame = true;
};

// ---------------------------------------------------------------------------------------------
class TqcFlatCustomCheckBox : public TqCheckBoxParts<TqcFlatCustomBtn> {
  ORV_CLASS(TqcFlatCustomCheckBox, TqCheckBoxParts<TqcFlatCustomBtn>)
public:
  explicit TqcFlatCustomCheckBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintBox(TCanvas* C, const TRect& Box, bool Live, bool Active) override;
  // Only a box that can take the focus steps its state.
  bool CanToggle() const override { return CanFocus(); }

private:
  void PaintFrame(TCanvas* C, const TRect& Box, bool Active);
};

class TqcCheckBox : public TqcFlatCustomCheckBox {
  ORV_CLASS(TqcCheckBox, TqcFlatCustomCheckBox)
public:
  explicit TqcCheckBox(TComponent* AOwner) : TqcFlatCustomCheckBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// Checking one unchecks the others of the same parent and GroupIndex; taking the focus checks it.
class TqcFlatCustomRadioButton;
using TqcFlatRadioParts = TqRadioButtonParts<TqcFlatCustomBtn, TqcFlatCustomRadioButton>;
class TqcFlatCustomRadioButton : public TqcFlatRadioParts {
  ORV_CLASS(TqcFlatCustomRadioButton, TqcFlatRadioParts)
public:
  explicit TqcFlatCustomRadioButton(TComponent* AOwner);

protected:
  bool Round() const override { return true; }
  void PaintBox(TCanvas* C, const TRect& Box, bool Live, bool Active) override;
};

class TqcRadioButton : public TqcFlatCustomRadioButton {
  ORV_CLASS(TqcRadioButton, TqcFlatCustomRadioButton)
public:
  explicit TqcRadioButton(TComponent* AOwner) : TqcFlatCustomRadioButton(AOwner) {}
};
