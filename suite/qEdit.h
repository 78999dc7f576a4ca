// Unit qEdit: a masked edit box that paints its own 3-pixel frame in the non-client area, in
// one of 15 styles, some of which change look while the mouse is over the box or it has the
// focus. It can centre or right-align its text and refuses line breaks.
#pragma once
#include "vcl/Mask.h"

// Frame styles. The styles without "Always" (other than qcetNormal) look flat until the box is
// active (mouse inside or focused).
enum TqcEditType {
  qcetNormal, qcetFlat, qcetAlwaysFlat, qcetFlatFocusFrame, qcetAlwaysFlatFocusFrame,
  qcetFlatThickFrame, qcetAlwaysFlatThickFrame, qcetFlatRaised, qcetAlwaysFlatRaised,
  qcetFlatShadow, qcetAlwaysFlatShadow, qcetAdvFocusFrame, qcetAlwaysAdvFocusFrame,
  qcetAdvThickFrame, qcetAlwaysAdvThickFrame
};
extern const TEnumType TqcEditTypeType;

// Frame sides of the Adv styles: a set, bit n for side n.
enum TqcEditFrameSide { qcefLeft, qcefTop, qcefRight, qcefBottom };
extern const TEnumType TqcEditFrameSideType;
using TqcEditFrameType = unsigned char;
constexpr TqcEditFrameType FrameSide(TqcEditFrameSide S) { return TqcEditFrameType(1u << S); }

// What the frame painting needs; shared by the suite's framed controls.
struct TqcFrameLook {
  TqcEditType Style = qcetFlat;
  TqcEditFrameType Where = FrameSide(qcefBottom);
  TColor Color = clWindow;          // the control's colour: the border when it looks flat
  TColor FrameColor = clBlack;
  TColor ShadowColor = clGray;
  TColor NonShadowColor = clBtnFace;
};

// Paints the 3-pixel frame of a W by H window on Canvas (a window DC, origin at the window's
// top-left corner). Active: the mouse is inside or the control has the focus.
void DrawQcFrame(TCanvas* Canvas, int W, int H, const TqcFrameLook& Look, bool Active);

class TqcCustomEdit : public TCustomMaskEdit {
  ORV_CLASS(TqcCustomEdit, TCustomMaskEdit)
public:
  explicit TqcCustomEdit(TComponent* AOwner);
  void Loaded() override;
  void Dispatch(TMessage& Message) override;

  TAlignment Alignment() const { return FAlignment; }
  // Recreates the window (the text and selection are kept).
  void SetAlignment(TAlignment Value);
  TqcEditType FrameStyle() const { return FFrameStyle; }
  void SetStyle(TqcEditType Value);
  TqcEditFrameType FrameWhere() const { return FFrameWhere; }
  void SetWhere(TqcEditFrameType Value);
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  TColor NonShadowColor() const { return FNonShadowColor; }
  void SetNonShadowColor(TColor Value);
  // Between CM_MOUSEENTER and CM_MOUSELEAVE.
  bool MouseInside() const { return FMouseInside; }
  TqcFrameLook FrameLook() const;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // The beep for a refused key (MessageBeep by default).
  static void (*Beep)(unsigned Type);

  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

protected:
  // Paints the frame on the window now; nothing without a window.
  virtual void DrawNCArea();
  // Height from the font: its tmHeight plus 8.
  virtual void Adjust();
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(char& Key) override;

  void WMNCPaint(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMPaste(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

private:
  TAlignment FAlignment = taLeftJustify;
  bool FMouseInside = false;
  TqcEditType FFrameStyle = qcetFlat;
  TColor FFrameColor = clBlack;
  TColor FShadowColor = clGray;
  TColor FNonShadowColor = clBtnFace;
  TqcEditFrameType FFrameWhere = FrameSide(qcefBottom);
};

class TqcEdit : public TqcCustomEdit {
  ORV_CLASS(TqcEdit, TqcCustomEdit)
public:
  explicit TqcEdit(TComponent* AOwner) : TqcCustomEdit(AOwner) {}
};
