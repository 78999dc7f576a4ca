#include "suite/qEditFlatBtn.h"
#include "suite/qAnimateBtnParts.h"
#include "vcl/Menus.h"

constexpr TEnumType TqcBtnTypeType{
    "TqcBtnType",
    {"qcbtNormal", "qcbtFlat", "qcbtAlwaysFlat", "qcbtFlatFocusFrame", "qcbtAlwaysFlatFocusFrame",
     "qcbtFlatThickFrame", "qcbtAlwaysFlatThickFrame", "qcbtFlatRaised", "qcbtAlwaysFlatRaised", "qcbtFlatShadow",
     "qcbtAlwaysFlatShadow"}};
constexpr TEnumType TqcBtnGlyphTypeType{"TqcBtnGlyphType", {"qcbgNormal", "qcbgType1", "qcbgType2"}};

TBitmap* TqcRasterBitmap = nullptr;

namespace {

// Masks, one digit a pixel, rows top to bottom.
using TMask = std::initializer_list<const char*>;
const TMask Ring = {"000011110000", "001133331100", "013300003340", "013000000240", "130000000024", "130000000024",
                    "130000000024", "130000000024", "013000000240", "012200002240", "004422224400", "000044440000"};
const TMask Disc = {"000011110000", "001122221100", "012200002210", "012000000210", "120000000021", "120000000021",
                    "120000000021", "120000000021", "012000000210", "012200002210", "001122221100", "000011110000"};
const TMask Tick = {"0000001", "0000011", "1000111", "1101110", "1111100", "0111000", "0010000"};
const TMask Cross = {"1100011", "0110110", "0011100", "0001000", "0011100", "0110110", "1100011"};
const TMask Slash = {"0000011", "0000110", "0001100", "0011000", "0110000", "1100000", "1000000"};
const TMask SmallDot = {"0110", "1111", "1111", "0110"};
const TMask LargeDot = {"00111100", "01111110", "11111111", "11111111", "11111111", "11111111", "01111110", "00111100"};
const TMask DotCross = {"100001", "010010", "001100", "001100", "010010", "100001"};

// Sets the pixels at (X, Y) + their place whose mask digit Pick chooses a colour for.
template <class F> void PaintMask(TCanvas* C, const TMask& Mask, int X, int Y, F Pick) {
  int Row = 0;
  for (const char* Line : Mask) {
    for (int Col = 0; Line[Col]; ++Col)
      if (const TColor Color = Pick(Line[Col] - '0'); Color != clNone) C->SetPixels(X + Col, Y + Row, Color);
    ++Row;
  }
}

bool IsActiveStyle(TqcBtnType S, TqcBtnType Always, TqcBtnType WhenActive, bool Active) {
  return S == Always || (S == WhenActive && Active);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TqcFlatCustomBtn

TqcFlatCustomBtn::TqcFlatCustomBtn(TComponent* AOwner) : TqOwnerDrawnButton(AOwner) {
  IncludeStyle(csSetCaption);
  SetBounds(Left(), Top(), 97, 20);
  SetParentColor(false);
  TControl::SetColor(clBtnFace);
}

void TqcFlatCustomBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS: RepaintAfter(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcFlatCustomBtn::Loaded() {
  inherited::Loaded();
  FLoaded = true;
}

template <class T> void TqcFlatCustomBtn::Change(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TqcFlatCustomBtn::SetDefaultLook(TqcFanceDefLook Value) { Change(FDefaultLook, Value); }
void TqcFlatCustomBtn::SetAlignment(TAlignment Value) { Change(FAlignment, Value); }
void TqcFlatCustomBtn::SetGlyphType(TqcBtnGlyphType Value) { Change(FGlyphType, Value); }
void TqcFlatCustomBtn::SetGlyphBkColor(TColor Value) { Change(FGlyphBkColor, Value); }
void TqcFlatCustomBtn::SetGlyphColor(TColor Value) { Change(FGlyphColor, Value); }
void TqcFlatCustomBtn::SetFrameStyle(TqcBtnType Value) { Change(FFrameStyle, Value); }
void TqcFlatCustomBtn::SetFrameColor(TColor Value) { Change(FFrameColor, Value); }
void TqcFlatCustomBtn::SetShadowColor(TColor Value) { Change(FShadowColor, Value); }
void TqcFlatCustomBtn::SetNonShadowColor(TColor Value) { Change(FNonShadowColor, Value); }
void TqcFlatCustomBtn::SetFocusFrame(bool Value) { Change(FFocusFrame, Value); }

void TqcFlatCustomBtn::SetMultipleLines(bool Value) {
  FMultipleLines = Value;
  Invalidate();
}

void TqcFlatCustomBtn::SetWordWrap(bool Value) {
  FWordWrap = Value;
  Invalidate();
}

void TqcFlatCustomBtn::SetHorzAlign(qbHorzAlign Value) {
  FHorzAlign = Value;
  Invalidate();
}

void TqcFlatCustomBtn::RepaintAfter(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TqcFlatCustomBtn::WMNCHitTest(TMessage& Message) {
  // A box that cannot take the focus lets the mouse through to what lies beneath.
  if (CanFocus() || HasState(csDesigning)) inherited::Dispatch(Message);
  else Message.Result = HTTRANSPARENT;
}

void TqcFlatCustomBtn::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (CanFocus()) FMouseInside = true;
  if (FFrameStyle != qcbtNormal) Invalidate();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TqcFlatCustomBtn::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  FMouseInside = false;
  if (FFrameStyle != qcbtNormal) Invalidate();
  if (OnMouseLeave) OnMouseLeave(this);
}

TRect TqcFlatCustomBtn::BoxRect() const {
  const int Size = Round() ? 12 : 13;
  TRect Box = Round() ? Rect(1, 1, 13, 13) : Rect(0, 0, 13, 13);
  switch (FHorzAlign) {
    case qbha_Center: Box.Offset(0, (Height() - Size) / 2); break;
    case qbha_Top: break;
    case qbha_Bottom: Box.Offset(0, Height() - Size - Box.Top); break;
  }
  if (FAlignment == taRightJustify) Box.Offset(Width() - 13, 0);
  return Box;
}

TRect TqcFlatCustomBtn::CaptionRect() const {
  const int Gap = Round() ? 16 : 17;
  TRect R = FAlignment == taRightJustify ? Rect(0, 0, Width() - Gap, Height()) : Rect(Gap, 0, Width(), Height());
  R.Inflate(-2, -2);
  return R;
}

void TqcFlatCustomBtn::Paint() {
  const int W = Width(), H = Height();
  const TRect Client = Rect(0, 0, W, H);
  const bool IsLive = Live(), Active = FMouseInside || Focused();
  TBitmap Bmp;
  Bmp.SetSize(W, H);
  TCanvas* C = Bmp.Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->FillRect(Client);
  PaintBox(C, BoxRect(), IsLive, Active);
  // The caption beside the box.
  C->SetFont(Font());
  if (FDefaultLook == dlfBold) C->Font()->SetStyle(Focused() ? FontStyle(fsBold) : 0);
  const TRect Text = CaptionRect();
  qanimate::DrawCaption(C, Caption(), Text, ButtonTextFlags(FAlignment, FHorzAlign, FMultipleLines, FWordWrap),
                        IsLive);
  if (FFocusFrame && Focused() && !HasState(csDesigning)) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FGlyphBkColor);
    C->Pen()->SetColor(Font()->Color());
    TRect Focus = Text;
    Focus.Inflate(2, 2);
    if (FAlignment == taRightJustify) Focus.Offset(1, 0);
    C->DrawFocusRect(Focus);
  }
  Canvas()->CopyRect(Client, C, Client);
  if (OnPaint) OnPaint(this);
}

// The published properties both boxes share; each adds its own.
static constinit const TPropInfo TqcFlatCustomBtn_Props[] = {
    PropBool<&TqcFlatCustomBtn::FocusFrame, &TqcFlatCustomBtn::SetFocusFrame>("FocusFrame", true),
    TControlProps::Color(clBtnFace),
    PropEnum<&TqcFlatCustomBtn::GlyphType, &TqcFlatCustomBtn::SetGlyphType>("GlyphType", TqcBtnGlyphTypeType,
                                                                             qcbgNormal),
    PropColor<&TqcFlatCustomBtn::GlyphColor, &TqcFlatCustomBtn::SetGlyphColor>("GlyphColor", clBlack),
    PropColor<&TqcFlatCustomBtn::GlyphBkColor, &TqcFlatCustomBtn::SetGlyphBkColor>("GlyphBkColor", clWindow),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 97),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 20),
    PropEnum<&TqcFlatCustomBtn::DefaultLook, &TqcFlatCustomBtn::SetDefaultLook>("DefaultLook", TqcFanceDefLookType,
                                                                                 dlfNone),
    PropEnum<&TqcFlatCustomBtn::HorzAlign, &TqcFlatCustomBtn::SetHorzAlign>("HorzAlign", qbHorzAlignType,
                                                                             qbha_Center),
    PropBool<&TqcFlatCustomBtn::MultipleLines, &TqcFlatCustomBtn::SetMultipleLines>("MultipleLines", false),
    PropBool<&TqcFlatCustomBtn::WordWrap, &TqcFlatCustomBtn::SetWordWrap>("WordWrap", false),
    PropEnum<&TqcFlatCustomBtn::Alignment, &TqcFlatCustomBtn::SetAlignment>("Alignment", TAlignmentType,
                                                                             taLeftJustify),
    PropEvent<&TqcFlatCustomBtn::OnPaint>("OnPaint"),
    PropEvent<&TqcFlatCustomBtn::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqcFlatCustomBtn::OnMouseLeave>("OnMouseLeave"),
    PropEnum<&TqcFlatCustomBtn::FrameStyle, &TqcFlatCustomBtn::SetFrameStyle>("FrameStyle", TqcBtnTypeType,
                                                                               qcbtFlat),
    PropColor<&TqcFlatCustomBtn::FrameColor, &TqcFlatCustomBtn::SetFrameColor>("FrameColor", clBlack),
    PropColor<&TqcFlatCustomBtn::ShadowColor, &TqcFlatCustomBtn::SetShadowColor>("ShadowColor", clGray),
    TControlProps::Caption(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(false),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_ABSTRACT(TqcFlatCustomBtn, TqOwnerDrawnButton, TqcFlatCustomBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqcFlatCustomCheckBox

TqcFlatCustomCheckBox::TqcFlatCustomCheckBox(TComponent* AOwner) : inherited(AOwner) {
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  SetColor(clBtnFace);
  SetGlyphBkColor(clWindow);
  SetAlignment(taLeftJustify);
  SetTabStop(true);
}

void TqcFlatCustomCheckBox::Dispatch(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Msg == WM_SIZE) Invalidate();
}

void TqcFlatCustomCheckBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TqcFlatCustomCheckBox::PaintBox(TCanvas* C, const TRect& Box, bool Live, bool Active) {
  const TColor Back = Live ? GlyphBkColor() : Color();
  C->Brush()->SetColor(Back);
  C->FillRect(Box);
  if (State() == cbChecked) {
    const TColor Mark = Live ? GlyphColor() : clGray;
    const TMask& Shape = GlyphType() == qcbgType1 ? Cross : GlyphType() == qcbgType2 ? Slash : Tick;
    PaintMask(C, Shape, Box.Left + 3, Box.Top + 3, [&](int V) { return V == 1 ? Mark : clNone; });
  } else if (State() == cbGrayed && TqcRasterBitmap) {
    TRect Inner = Box;
    Inner.Inflate(-2, -2);
    C->Brush()->SetColor(Back);
    C->BrushCopy(Inner, TqcRasterBitmap, Rect(0, 0, 10, 10), clWhite);
  }
  PaintFrame(C, Box, Active);
}

// The box's frame by FrameStyle, over the box as it is: nothing else is filled.
void TqcFlatCustomCheckBox::PaintFrame(TCanvas* C, const TRect& Box, bool Active) {
  const TqcBtnType S = FrameStyle();
  const int L = Box.Left, T = Box.Top, R = Box.Right, B = Box.Bottom;
  RECT Edge{L, T, R, B};
  if (S == qcbtNormal || (S == qcbtFlat && Active)) {
    DrawEdge(C->Handle(), &Edge, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    DrawEdge(C->Handle(), &Edge, BDR_SUNKENINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
    C->Pen()->SetColor(clBlack);
    C->Polyline({Point(Edge.left, Edge.bottom - 1), Point(Edge.left, Edge.top), Point(Edge.right, Edge.top)});
  } else if (IsActiveStyle(S, qcbtAlwaysFlatRaised, qcbtFlatRaised, Active)) {
    C->Brush()->SetColor(clBtnFace);
    DrawEdge(C->Handle(), &Edge, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST);
    DrawEdge(C->Handle(), &Edge, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
  } else if (S == qcbtAlwaysFlatShadow || S == qcbtFlatShadow) {
    C->Brush()->SetColor(NonShadowColor());
    for (const TRect& Part : {Rect(L, B - 3, L + 3, B), Rect(R - 3, T, R, T + 3), Rect(R - 3, T, R, B), Rect(L, B - 3, R, B)})
      C->FillRect(Part);
    if (IsActiveStyle(S, qcbtAlwaysFlatShadow, qcbtFlatShadow, Active)) {
      C->Brush()->SetColor(ShadowColor());
      C->FillRect(Rect(L + 2, B - 2, R, B));
      C->FillRect(Rect(R - 2, T + 2, R, B));
    }
  } else {
    const bool Thick = IsActiveStyle(S, qcbtAlwaysFlatThickFrame, qcbtFlatThickFrame, Active);
    if (!Thick && !IsActiveStyle(S, qcbtAlwaysFlatFocusFrame, qcbtFlatFocusFrame, Active)) return;
    C->Pen()->SetColor(FrameColor());
    for (int K = 0; K < (Thick ? 2 : 1); ++K)
      C->Polyline({Point(L + K, T + K), Point(L + K, B - 1 - K), Point(R - 1 - K, B - 1 - K), Point(R - 1 - K, T + K),
                   Point(L + K, T + K)});
  }
}

static constinit const TPropInfo TqcCheckBox_Props[] = {
    PropBool<&TqcFlatCustomCheckBox::AllowGrayed, &TqcFlatCustomCheckBox::SetAllowGrayed>("AllowGrayed", false),
    PropBool<&TqcFlatCustomCheckBox::Checked, &TqcFlatCustomCheckBox::SetChecked>("Checked", false, NeverStored),
    PropEnum<&TqcFlatCustomCheckBox::State, &TqcFlatCustomCheckBox::SetState>("State", TCheckBoxStateType,
                                                                               cbUnchecked),
    PropColor<&TqcFlatCustomBtn::NonShadowColor, &TqcFlatCustomBtn::SetNonShadowColor>("NonShadowColor",
                                                                                       clBtnFace),
    TControlProps::TabStop(true),
};
ORV_IMPLEMENT_CLASS(TqcFlatCustomCheckBox, TqcFlatCustomBtn)
ORV_IMPLEMENT_COMPONENT(TqcCheckBox, TqcFlatCustomCheckBox, TqcCheckBox_Props)

// ---------------------------------------------------------------------------------------------
// TqcFlatCustomRadioButton

TqcFlatCustomRadioButton::TqcFlatCustomRadioButton(TComponent* AOwner) : inherited(AOwner) {
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  SetColor(clBtnFace);
  SetGlyphBkColor(clWindow);
  SetAlignment(taLeftJustify);
}

void TqcFlatCustomRadioButton::PaintBox(TCanvas* C, const TRect& Box, bool Live, bool Active) {
  const TColor Back = Live ? GlyphBkColor() : Color();
  const int X = Box.Left, Y = Box.Top;
  C->Pen()->SetColor(Color());
  C->Brush()->SetColor(Back);
  C->Ellipse(Box);
  PaintMask(C, Disc, X, Y, [&](int V) { return V == 1 || V == 2 ? Back : clNone; });
  if (Checked()) {
    const TColor Mark = Live ? GlyphColor() : clGray;
    auto Pick = [&](int V) { return V == 1 ? Mark : clNone; };
    switch (GlyphType()) {
      case qcbgNormal: PaintMask(C, SmallDot, X + 4, Y + 4, Pick); break;
      case qcbgType1: PaintMask(C, LargeDot, X + 2, Y + 2, Pick); break;
      case qcbgType2: PaintMask(C, DotCross, X + 3, Y + 3, Pick); break;
    }
  }
  const TqcBtnType S = FrameStyle();
  auto Ring4 = [&](TColor A, TColor B, TColor Cc, TColor D) {
    const TColor Colors[5] = {clNone, A, B, Cc, D};
    PaintMask(C, Ring, X, Y, [&](int V) { return Colors[V]; });
  };
  if (S == qcbtNormal || (S == qcbtFlat && Active)) {
    Ring4(clGray, 0xE0E0E0, clBlack, clWhite);
  } else if (IsActiveStyle(S, qcbtAlwaysFlatRaised, qcbtFlatRaised, Active)) {
    Ring4(clWhite, clGray, 0xE0E0E0, clBlack);
  } else if (IsActiveStyle(S, qcbtAlwaysFlatShadow, qcbtFlatShadow, Active)) {
    const int Cx = X + Box.Width() / 2, B = Box.Bottom, T = Box.Top, L = Box.Left, R = Box.Right;
    C->Pen()->SetColor(ShadowColor());
    C->Pen()->SetWidth(1);
    C->Arc(L, T - 1, R + 1, B + 1, Cx - 2, B, Cx + 3, T);
    C->Arc(L, T - 1, R + 2, B + 1, Cx - 2, B, Cx + 4, T);
    C->Arc(L, T - 1, R + 2, B + 2, Cx - 3, B, Cx + 4, T);
  } else if (IsActiveStyle(S, qcbtAlwaysFlatFocusFrame, qcbtFlatFocusFrame, Active)) {
    PaintMask(C, Disc, X, Y, [&](int V) { return V == 1 ? FrameColor() : clNone; });
  } else if (IsActiveStyle(S, qcbtAlwaysFlatThickFrame, qcbtFlatThickFrame, Active)) {
    PaintMask(C, Disc, X, Y, [&](int V) { return V == 1 || V == 2 ? FrameColor() : clNone; });
  }
}

static constinit const TPropInfo TqcRadioButton_Props[] = {
    PropBool<&TqcFlatCustomRadioButton::Checked, &TqcFlatCustomRadioButton::SetChecked>("Checked", false),
    PropInt<&TqcFlatCustomRadioButton::GroupIndex, &TqcFlatCustomRadioButton::SetGroupIndex>("GroupIndex", 0),
    TControlProps::TabStop(false),
    TControlProps::OnDblClick(),
};
ORV_IMPLEMENT_CLASS(TqcFlatCustomRadioButton, TqcFlatCustomBtn)
ORV_IMPLEMENT_COMPONENT(TqcRadioButton, TqcFlatCustomRadioButton, TqcRadioButton_Props)

// ---------------------------------------------------------------------------------------------

namespace {
struct TqEditFlatBtnUnit {
  TqEditFlatBtnUnit() {
    TqcRasterBitmap = new TBitmap;
    TqcRasterBitmap->SetSize(12, 12);
    TCanvas* C = TqcRasterBitmap->Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, 12, 12));
    for (int Y = 0; Y < 12; Y += 2)
      for (int X = 1; X < 12; X += 2) C->SetPixels(X, Y, clGray);
    RegisterClasses({TqcCheckBox::StaticClass(), TqcRadioButton::StaticClass()});
  }
  ~TqEditFlatBtnUnit() { FreeAndNil(TqcRasterBitmap); }
} QEditFlatBtnUnit;
}  // namespace
