#include "suite/qPanel2DinMeter.h"
#include "suite/Blend.h"
#include "suite/Std2.h"
#include "rtl/SysUtils.h"
#include "vcl/Menus.h"

#include <climits>

constexpr TEnumType qcScaleTypeType{"qcScaleType", {"st0", "st2", "st3", "st6", "st11"}};

namespace {

// Whether tick I of 0..10 carries a number.
bool NumberedTick(qcScaleType Type, int I) {
  switch (Type) {
    case st0: return false;
    case st2: return I % 10 == 0;
    case st3: return I % 5 == 0;
    case st6: return I % 2 == 0;
    case st11: return true;
  }
  return false;
}

// The point at Radius from (P, P) at Angle, one pixel up and left: the meter's pivot is
// (P - 1, P - 1).
TPoint MeterPoint(long double CX, long double CY, long double Radius, long double Angle) {
  return qcPolarPoint(CX, CY, Radius, Angle) - Point(1, 1);
}

}  // namespace

TqcDinMeter::TqcDinMeter(TComponent* AOwner)
    : TqcPanel2(AOwner), FCaption1Font(new TFont), FCaption2Font(new TFont), FFaceBitmap(new TBitmap) {
  ExcludeStyle(csSetCaption);
  FCaption1Font->SetName("Arial");
  FCaption1Font->SetSize(12);
  FCaption1Font->SetStyle(FontStyle(fsBold));
  FCaption2Font->SetName("Arial");
  FCaption2Font->SetSize(8);
  FCaption1Font->OnChange = TNotifyEvent::Bind<&TqcDinMeter::CaptionFontChanged>(this);
  FCaption2Font->OnChange = TNotifyEvent::Bind<&TqcDinMeter::CaptionFontChanged>(this);
  qcSetFacePicture(FFaceBitmap, nullptr);
  SetColor(clWhite);
  SetBounds(Left(), Top(), 100, 100);
}

TqcDinMeter::~TqcDinMeter() {
  TObject::Free(FFaceBitmap);
  TObject::Free(FCaption1Font);
  TObject::Free(FCaption2Font);
}

void TqcDinMeter::SetBounds(int ALeft, int ATop, int AWidth, int) {
  const int Side = std::max(AWidth, 40);
  inherited::SetBounds(ALeft, ATop, Side, Side);
}

void TqcDinMeter::Loaded() {
  inherited::Loaded();
  SetMin(FMin);
}

void TqcDinMeter::CaptionFontChanged(TObject*) {
  if (!HasState(csLoading)) Invalidate();
}

void TqcDinMeter::SetFaceBitmap(TBitmap* Value) {
  qcSetFacePicture(FFaceBitmap, Value);
  if (!HasState(csLoading)) Invalidate();
}

// While loading the setters only store; Loaded applies the three in order.
void TqcDinMeter::SetMin(int Value) {
  FMin = Value == INT_MAX ? INT_MAX - 1 : Value;
  if (!HasState(csLoading)) SetMax(FMax);
}

void TqcDinMeter::SetMax(int Value) {
  FMax = Value;
  if (HasState(csLoading)) return;
  if (FMax <= FMin) FMax = FMin + 1;
  SetValue(FValue);
}

void TqcDinMeter::SetValue(int Value) {
  FValue = Value;
  if (HasState(csLoading)) return;
  FValue = std::clamp(Value, FMin, FMax);
  Invalidate();
}

void TqcDinMeter::Paint() {
  const int W = Width(), H = Height(), P = W - W / 5;
  TCanvas* C = BeginPicture(W, H);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->FillRect(Rect(0, 0, W, H));
  if (qcHasFacePicture(FFaceBitmap)) TileBitmap(C, FFaceBitmap, W, H);
  C->Brush()->SetStyle(bsClear);
  if (FDrawScale) PaintScale(C, P);
  C->SetFont(FCaption1Font);
  C->TextOut(FOffSetDots, FOffSetDots, FCaption1);
  C->SetFont(FCaption2Font);
  C->TextOut(int(FCaption2X), int(FCaption2Y), FCaption2);
  PaintNeedle(C, P);
  PaintFrame(C, W, H, P);
  EndPicture(W, H);
}

// Eleven ticks from the left (Min) to the top (Max); the numbered ones thick and labelled.
void TqcDinMeter::PaintScale(TCanvas* C, int P) {
  C->SetFont(Font());
  C->Pen()->SetColor(FScaleColor);
  const int TH = C->TextHeight("1");
  const AnsiString LabelFormat = "%." + IntToStr(FDigitsAfterPoint) + "f";
  for (int I = 0; I <= 10; ++I) {
    const long double A = qcStepAngle(I + 20, 40);
    const bool Numbered = NumberedTick(FScaleType, I) && FDotLength / 2 != 0;
    C->Pen()->SetWidth(Numbered ? 2 : 1);
    const TPoint Outer = MeterPoint(P, P, P - FOffSetDots, A), Inner = MeterPoint(P, P, P - FDotLength - FOffSetDots, A);
    C->MoveTo(Outer.X, Outer.Y);
    C->LineTo(Inner.X, Inner.Y);
    if (!Numbered) continue;
    const long double V = FMin + I * ((long double)FMax - FMin) / 10;
    const AnsiString Text = Format(LabelFormat, {V});
    const int TW = C->TextWidth(Text);
    const TPoint At = MeterPoint(P - TW / 2, P - TH / 2, P - TH / 2 - FOffSetNumbers, A);
    C->TextOut(At.X, At.Y, Text);
  }
  C->Pen()->SetWidth(1);
}

void TqcDinMeter::PaintNeedle(TCanvas* C, int P) {
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(FNeedleColor);
  const TPoint Tip = MeterPoint(P, P, FNeedleLength, qcStepAngle(qcDrawnPercent(Percent()) + 200, 400));
  C->MoveTo(P - 1, P - 1);
  C->LineTo(Tip.X, Tip.Y);
}

// The pivot cover (a circle round the bottom-right corner), the bezel, its bevel lines and the
// pivot cap.
void TqcDinMeter::PaintFrame(TCanvas* C, int W, int H, int P) {
  const int HW = FFrameWidth / 2, CX = W / 2, CY = H / 2, FW = FFrameWidth;
  TBrush* B = C->Brush();
  TPen* Pen = C->Pen();
  B->SetStyle(bsSolid);
  B->SetColor(FFrameColor);
  if (FSteelLook) B->SetBitmap(TSteel);
  Pen->SetColor(FFrameColor);
  Pen->SetWidth(1);
  C->Ellipse(CX - HW, CY - HW, CX + W + HW, CY + H + HW);
  B->SetStyle(bsClear);
  Pen->SetColor(FHighLightColor);
  C->Ellipse(CX - HW + 1, CY - HW + 1, CX + W + HW - 1, CY + H + HW - 1);
  Pen->SetColor(FShadowColor);
  C->Ellipse(CX - HW, CY - HW, CX + W + HW, CY + H + HW);

  B->SetBitmap(nullptr);
  B->SetStyle(bsSolid);
  B->SetColor(FFrameColor);
  Pen->SetColor(FFrameColor);
  C->Rectangle(0, 0, W, FW);
  C->Rectangle(0, H - FW, W, H);
  C->Rectangle(2, 0, FW, H);
  C->Rectangle(W - FW, 0, W, H);

  Pen->SetColor(FShadowColor);
  C->Polyline({Point(0, H), Point(0, 0), Point(W, 0)});
  C->Polyline({Point(1, H - 2), Point(W - 2, H - 2), Point(W - 2, 1)});
  C->Polyline({Point(W - FW, FW), Point(W - FW, H - FW), Point(FW - 1, H - FW)});
  C->Polyline({Point(W - FW + 1, FW - 2), Point(FW - 2, FW - 2), Point(FW - 2, H - FW + 2)});
  Pen->SetColor(clBlack);
  C->Polyline({Point(1, H - 1), Point(W - 1, H - 1), Point(W - 1, 0)});
  C->Polyline({Point(W - FW, FW - 1), Point(FW - 1, FW - 1), Point(FW - 1, H - FW + 1)});
  Pen->SetColor(FHighLightColor);
  C->Polyline({Point(1, H - 2), Point(1, 1), Point(W - 2, 1)});
  C->Polyline({Point(W - FW + 1, FW - 1), Point(W - FW + 1, H - FW + 1), Point(FW - 2, H - FW + 1)});

  const int R = W / 20 + (W / 20 % 2 == 0 ? 1 : 0);
  Pen->SetColor(FShadowColor);
  B->SetColor(FNeedleColor);
  C->Ellipse(P - R, P - R, P + R, P + R);
}

static constinit const TPropInfo TqcDinMeter_Props[] = {
    TControlProps::Anchors(),
    PropBool<&TqcDinMeter::DrawScale, &TqcDinMeter::SetDrawScale>("DrawScale", true),
    PropBool<&TqcDinMeter::SteelLook, &TqcDinMeter::SetSteelLook>("SteelLook", false),
    PropColor<&TqcDinMeter::NeedleColor, &TqcDinMeter::SetNeedleColor>("NeedleColor", clRed),
    PropInt<&TqcDinMeter::NeedleLength, &TqcDinMeter::SetNeedleLength>("NeedleLength", 72),
    PropSubrange<&TqcDinMeter::DigitsAfterPoint, &TqcDinMeter::SetDigitsAfterPoint>("DigitsAfterPoint",
                                                                                    qcDecNumRange, 0),
    PropEnum<&TqcDinMeter::ScaleType, &TqcDinMeter::SetScaleType>("ScaleType", qcScaleTypeType, st3),
    PropColor<&TqcDinMeter::ScaleColor, &TqcDinMeter::SetScaleColor>("ScaleColor", clBlue),
    PropSubrange<&TqcDinMeter::OffSetNumbers, &TqcDinMeter::SetOffSetNumbers>("OffSetNumbers", qcOffSetNumberRange, 15),
    PropSubrange<&TqcDinMeter::OffSetDots, &TqcDinMeter::SetOffSetDots>("OffSetDots", qcOffSetDotRange, 9),
    PropSubrange<&TqcDinMeter::DotLength, &TqcDinMeter::SetDotLength>("DotLength", qcOffSetDotRange, 4),
    PropInt<&TqcDinMeter::Min, &TqcDinMeter::SetMin>("Min", 0),
    PropInt<&TqcDinMeter::Max, &TqcDinMeter::SetMax>("Max", 100),
    PropInt<&TqcDinMeter::Value, &TqcDinMeter::SetValue>("Value", 0),
    PropColor<&TqcDinMeter::ShadowColor, &TqcDinMeter::SetShadowColor>("ShadowColor", clBtnShadow),
    PropColor<&TqcDinMeter::HighLightColor, &TqcDinMeter::SetHighLightColor>("HighLightColor", clBtnHighlight),
    TControlProps::Color(clWhite),
    PropColor<&TqcDinMeter::FrameColor, &TqcDinMeter::SetFrameColor>("FrameColor", clBtnFace),
    PropSubrange<&TqcDinMeter::FrameWidth, &TqcDinMeter::SetFrameWidth>("FrameWidth", qcFrameWidthRange, 6),
    PropObject<&TqcDinMeter::FaceBitmap, &TqcDinMeter::SetFaceBitmap>("FaceBitmap"),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 100),
    PropInt<&TqcDinMeter::Caption2X, &TqcDinMeter::SetCaption2X>("Caption2X", 10),
    PropInt<&TqcDinMeter::Caption2Y, &TqcDinMeter::SetCaption2Y>("Caption2Y", 80),
    PropStr<&TqcDinMeter::Caption2, &TqcDinMeter::SetCaption2>("Caption2"),
    PropStr<&TqcDinMeter::Caption1, &TqcDinMeter::SetCaption1>("Caption1"),
    PropObject<&TqcDinMeter::Caption1Font, &TqcDinMeter::SetCaption1Font>("Caption1Font"),
    PropObject<&TqcDinMeter::Caption2Font, &TqcDinMeter::SetCaption2Font>("Caption2Font"),
    TControlProps::DragMode(),
    TControlProps::DragCursor(),
    TControlProps::Font(),
    TControlProps::ParentColor(false),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    PropEvent<&TqcDinMeter::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqcDinMeter::OnMouseLeave>("OnMouseLeave"),
    PropEvent<&TqcDinMeter::OnPaint>("OnPaint"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TqcDinMeter, TCustomPanel, TqcDinMeter_Props)
