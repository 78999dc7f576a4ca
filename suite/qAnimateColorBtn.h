// Unit qAnimate, windowed colour buttons: push buttons in any colour that paint themselves whole
// (a raised 3-D edge, optionally flat until the mouse is over them), with default, cancel and
// modal-result behaviour and keyboard handling; with a colour gradient, a glyph strip or icons.
#pragma once
#include "suite/Blend.h"
#include "suite/MystdRoutines.h"
#include "suite/qAnimateBtnParts.h"

class TqColorBtn : public TqColorButtonLook<TCustomControl> {
  ORV_CLASS(TqColorBtn, TqColorButtonLook<TCustomControl>)
public:
  explicit TqColorBtn(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void Click() override;

  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool Value);
  TqcDefLook DefaultLook() const { return FDefaultLook; }
  void SetDefaultLook(TqcDefLook Value);
  bool AutoFocus() const { return FAutoFocus; }
  void SetAutoFocus(bool Value) { FAutoFocus = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // With a window, every button of the form re-evaluates which one takes Enter.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  // This button takes Enter now (the focused colour button, else the default one).
  bool Active() const { return FActive; }

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
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // The face: fill, edge, frame, caption and focus rectangle, built off screen.
  void Paint() override;
  // Keeps the window's button style bits (BS_DEFPUSHBUTTON or BS_PUSHBUTTON) to ADefault.
  virtual void SetButtonStyle(bool ADefault);
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Hover is followed for a flat button.
  bool FollowsHover() const override { return Flat(); }
  void ShowPressed() override { Repaint(); }
  // What a descendant draws between the fill and the caption: the background (default: Color).
  virtual void PaintFace(TCanvas* C, int R, int B);
  // The caption rectangle, the caption and the glyph (default: the caption alone).
  virtual void PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B);
  // Whether the caption is drawn bold, framed, ...: (focused or Default).
  bool ShowsDefault() const;

  void CMRepaintAfter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMFocusChanged(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMKeyUp(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CNCommand(TMessage& Message);
  void CNKeyDown(TMessage& Message);

private:
  bool FShowFocus = true;
  TqcDefLook FDefaultLook = dlBold;
  bool FAutoFocus = false;
  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FActive = false;
};

// ---------------------------------------------------------------------------------------------
// A colour button whose face runs from Color to EndColor in Bands bands: vertically (gVert),
// horizontally (gHorz) or in rings to the centre (gCenter). Other fill types, and no bands, give
// a plain Color face.
class TqGradBtn : public TqColorBtn {
  ORV_CLASS(TqGradBtn, TqColorBtn)
public:
  explicit TqGradBtn(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  gradType FillType() const { return FFillType; }
  void SetFillType(gradType Value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);
  int Bands() const { return FBands; }
  void SetBands(int Value);

protected:
  // The ramp: start channels of Color and their distances to EndColor's (system colours resolved).
  virtual void ColorSet();
  void PaintFace(TCanvas* C, int R, int B) override;

private:
  void CMColorChanged(TMessage& Message);
  void CMSysColorChange(TMessage& Message);

  gradType FFillType = gVert;
  TColor FEndColor = clBtnFace;
  int FBands = 75;
  TqColorRamp FRamp;
};

// ---------------------------------------------------------------------------------------------
// A colour button with a glyph beside its caption, cut from a strip of NumGlyphs images (up,
// disabled, down, hot); TransparentColor shows the face.
class TqBitColBtn : public TqGlyphButton<TqColorBtn> {
  ORV_CLASS(TqBitColBtn, TqGlyphButton<TqColorBtn>)
public:
  explicit TqBitColBtn(TComponent* AOwner) : inherited(AOwner) {}

protected:
  void PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) override;
};

// ---------------------------------------------------------------------------------------------
// A colour button with an icon beside its caption.
class TqIconColBtn : public TqIconButton<TqColorBtn> {
  ORV_CLASS(TqIconColBtn, TqIconButton<TqColorBtn>)
public:
  explicit TqIconColBtn(TComponent* AOwner) : inherited(AOwner) {}

protected:
  void PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) override;
};
