#include "suite/qPanel2AnalogClock.h"
#include "suite/Blend.h"
#include "rtl/SysUtils.h"
#include "vcl/Menus.h"

#include <utility>

constexpr TEnumType qcClockStyleType{
    "qcClockStyle",
    {"csNone", "csSmallDot", "csDot", "csSimpleDot", "csNumber", "csNumberSmallDot", "csNumberDot",
     "csNumberSimpleDot", "csRoman", "csRomanSmallDot", "csRomanDot", "csRomanSimpleDot"}};
constexpr TEnumType qcHandTypeType{"qcHandType", {"htNeedle", "htHand0", "htHand1", "htHand2", "htHand3", "htHand4", "htHand5"}};
constexpr TEnumType qcClockDotTypeType{"qcClockDotType", {"dtRound", "dtRect"}};

namespace {

TDateTime LocalTime() { return Now(); }
TqcClockTimeSource ClockTime = &LocalTime;

const char* const ArabicNumbers[2][12] = {
    {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"},
    {"", "", "3", "", "", "6", "", "", "9", "", "", "12"}};
const char* const RomanNumbers[2][12] = {
    {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"},
    {"", "", "III", "", "", "VI", "", "", "IX", "", "", "XII"}};

// The radius of a hand's side points: L for a needle (drawn as a line), L div 2 .. L div 7 for
// htHand0 .. htHand5.
int SideRadius(qcHandType Type, int Length) { return Type == htNeedle ? Length : Length / (int(Type) + 1); }

// A hand from the centre: a line for a needle, else the polygon through the side points and
// the tip; then its centre dot.
void DrawHand(TCanvas* C, int Centre, qcHandType Type, int Length, long double Tip, long double Side1,
              long double Side2, TColor Inner, TColor Outer, int Dot) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Inner);
  C->Pen()->SetColor(Outer);
  const TPoint Mid = Point(Centre, Centre);
  const TPoint TipPoint = qcPolarPoint(Centre, Centre, Length, Tip);
  if (Type == htNeedle) {
    C->MoveTo(Mid.X, Mid.Y);
    C->LineTo(TipPoint.X, TipPoint.Y);
  } else {
    const int S = SideRadius(Type, Length);
    C->Polygon({Mid, qcPolarPoint(Centre, Centre, S, Side1), TipPoint, qcPolarPoint(Centre, Centre, S, Side2), Mid});
  }
  if (Dot != 0) C->Ellipse(Centre - Dot, Centre - Dot, Centre + Dot, Centre + Dot);
}

}  // namespace

TqcClockTimeSource SetqcClockTimeSource(TqcClockTimeSource Source) {
  TqcClockTimeSource Old = ClockTime;
  ClockTime = Source ? Source : &LocalTime;
  return Old == &LocalTime ? nullptr : Old;
}

TqcAnalogClock::TqcAnalogClock(TComponent* AOwner)
    : TqcPanel2(AOwner), FFaceBitmap(new TBitmap), FFaceMask(new TBitmap), FFacePicture(new TBitmap) {
  ExcludeStyle(csSetCaption);
  FTimer = TComponent::Create<TqcTimer>(this);
  FTimer->SetInterval(1000);
  FTimer->SetOnTimer(TNotifyEvent::Bind<&TqcAnalogClock::DoTimer>(this));
  qcSetFacePicture(FFaceBitmap, nullptr);
  SetBevelWidth(2);
  SetBevelOuter(bvLowered);
  SetColor(clBtnFace);
  Font()->SetColor(clLime);
  SetBounds(Left(), Top(), 100, 100);
  IsNew();
}

// The timer goes first: no tick, queued or running, reaches a clock being torn down.
void TqcAnalogClock::BeforeDestruction() {
  TObject::Free(std::exchange(FTimer, nullptr));
  inherited::BeforeDestruction();
}

TqcAnalogClock::~TqcAnalogClock() {
  TObject::Free(FTimer);
  TObject::Free(FFaceMask);
  TObject::Free(FFacePicture);
  TObject::Free(FFaceBitmap);
}

void TqcAnalogClock::SetBounds(int ALeft, int ATop, int AWidth, int) {
  inherited::SetBounds(ALeft, ATop, AWidth, AWidth);
}

void TqcAnalogClock::SetFaceBitmap(TBitmap* Value) {
  qcSetFacePicture(FFaceBitmap, Value);
  if (!HasState(csLoading)) Invalidate();
}

void TqcAnalogClock::SetOffSetTime(qcOffSetTime Value) {
  Value = qcOffSetTimeRange.Clamp(Value);
  if (FOffSetTime == Value) return;
  FOffSetTime = Value;
  FLastSecond = FLastMinute = NoTime;
  IsNew();
  if (!HasState(csLoading)) Invalidate();
}

bool TqcAnalogClock::IsNew() {
  const TDateTime Time = ClockTime();
  unsigned short H, M, S, MS;
  DecodeTime(Time, H, M, S, MS);
  if (FShowSeconds ? S == FLastSecond : M == FLastMinute) return false;
  FLastSecond = S;
  FLastMinute = M;
  if (OnTimeChange) OnTimeChange(this);
  DecodeTime(TDateTime(double(Time.Val + FOffSetTime * qcCalcOffSetTime)), H, M, S, MS);
  FHour = H > 12 ? H - 12 : H;
  FMinute = M;
  FSecond = S;
  return true;
}

void TqcAnalogClock::DoTimer(TObject*) {
  if (!Enabled() || HasState(csDestroying)) return;
  if (IsNew()) Invalidate();
}

void TqcAnalogClock::Paint() {
  const int W = Width(), H = Height();
  TCanvas* C = BeginPicture(W, H);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->FillRect(Rect(0, 0, W, H));
  C->Brush()->SetColor(FFaceColor);
  C->Pen()->SetColor(FFaceColor);
  C->Pen()->SetWidth(1);
  C->Ellipse(0, 0, W, H);
  if (qcHasFacePicture(FFaceBitmap)) PaintFacePicture(C, W, H);
  PaintBevels(C, W, H);
  const int Marks = FClockStyle % 4;  // none, small dots, small and hour dots, hour dots
  if (Marks == 1 || Marks == 2) PaintSmallDots(C, W);
  if (Marks == 2 || Marks == 3) PaintHourDots(C, W);
  if (FClockStyle >= csNumber) PaintNumbers(C, W);
  PaintHands(C, W);
  EndPicture(W, H);
}

// The face bitmap (tiled when smaller than the clock) inside the circle; around it, and where
// the picture is pure white, the clock's Color.
void TqcAnalogClock::PaintFacePicture(TCanvas* C, int W, int H) {
  if (FFaceMask->Width() != W || FFaceMask->Height() != H) {
    FFaceMask->SetSize(W, H);
    FFaceMask->SetMonochrome(true);
    TCanvas* M = FFaceMask->Canvas();
    M->Brush()->SetColor(clWhite);
    M->FillRect(Rect(0, 0, W, H));
    M->Brush()->SetColor(clBlack);
    M->Pen()->SetColor(clBlack);
    M->Ellipse(0, 0, W, H);
  }
  if (FFacePicture->Width() != W || FFacePicture->Height() != H) FFacePicture->SetSize(W, H);
  TCanvas* P = FFacePicture->Canvas();
  TileBitmap(P, FFaceBitmap, W, H);
  // Picture OR mask: the picture where the mask is black, white around it.
  const HDC DC = P->Handle();
  const COLORREF OldText = SetTextColor(DC, RGB(0, 0, 0));
  const COLORREF OldBack = SetBkColor(DC, RGB(255, 255, 255));
  BitBlt(DC, 0, 0, W, H, FFaceMask->Canvas()->Handle(), 0, 0, SRCPAINT);
  SetTextColor(DC, OldText);
  SetBkColor(DC, OldBack);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->BrushCopy(Rect(0, 0, W, H), FFacePicture, Rect(0, 0, W, H), clWhite);
}

// Each bevel: the lower right half of its circle, then the upper left half.
void TqcAnalogClock::PaintBevels(TCanvas* C, int W, int H) {
  const int CX = W / 2, Q = CX + CX / 2;
  auto Bevel = [&](TBevelCut Cut, int B) {
    C->Pen()->SetColor(Cut == bvRaised ? FShadowColor : FHighLightColor);
    C->Arc(B, B, W - B, H - B, CX / 2 - 1, H - B, Q - 1, 0);
    C->Pen()->SetColor(Cut == bvLowered ? FShadowColor : FHighLightColor);
    C->Arc(B, B, W - B, H - B, Q - 1, 1, CX / 2 - 1, H - B - 1);
  };
  if (BevelOuter() != bvNone) Bevel(BevelOuter(), 0);
  if (BevelInner() != bvNone) Bevel(BevelInner(), BevelWidth());
}

void TqcAnalogClock::PaintSmallDots(TCanvas* C, int W) {
  const int CX = W / 2, R = CX - FOffSetDots - 1;
  const TColor Light = FRaised ? FHighLightColor : FShadowColor, Dark = FRaised ? FShadowColor : FHighLightColor;
  for (int I = 1; I <= 60; ++I) {
    if (I % 5 == 0) continue;
    const TPoint P = qcPolarPoint(CX, CX, R, qcStepAngle(I, 60));
    if (FUse3D) {
      C->SetPixels(P.X, P.Y, Light);
      C->SetPixels(P.X + 1, P.Y + 1, Dark);
    } else {
      C->SetPixels(P.X, P.Y, FDotColor);
    }
  }
}

void TqcAnalogClock::PaintHourDots(TCanvas* C, int W) {
  const int CX = W / 2, S = FDotSize, F = S / 2, R = (W - 2 * S - F) / 2 - FOffSetDots;
  const TColor Light = FRaised ? FHighLightColor : FShadowColor, Dark = FRaised ? FShadowColor : FHighLightColor;
  C->Brush()->SetStyle(bsSolid);
  auto Shape = [&](int X1, int Y1, TColor Colour) {
    C->Pen()->SetColor(Colour);
    C->Brush()->SetColor(Colour);
    if (FDotType == dtRect) C->Rectangle(X1, Y1, X1 + S + 2 * F, Y1 + S + 2 * F);
    else C->Ellipse(X1, Y1, X1 + S + 2 * F, Y1 + S + 2 * F);
  };
  for (int I = 5; I <= 60; I += 5) {
    const TPoint P = qcPolarPoint(CX, CX, R, qcStepAngle(I, 60));
    if (FUse3D) {
      Shape(P.X - F - 2, P.Y - F - 2, Light);
      Shape(P.X - F, P.Y - F, Dark);
    }
    Shape(P.X - F - 1, P.Y - F - 1, FDotColor);
  }
}

void TqcAnalogClock::PaintNumbers(TCanvas* C, int W) {
  const int CX = W / 2;
  const bool Roman = FClockStyle >= csRoman;
  const char* const* Texts = Roman ? RomanNumbers[FNumStyle4] : ArabicNumbers[FNumStyle4];
  C->Brush()->SetStyle(bsClear);
  C->SetFont(Font());
  const int TH = C->TextHeight("0");
  for (int I = 1; I <= 12; ++I) {
    const AnsiString Text = Texts[I - 1];
    if (Text.IsEmpty()) continue;
    const int TW = C->TextWidth(Roman ? Text : AnsiString(I == 12 ? "12" : "0"));
    const long double A = qcStepAngle(I + 9, 12);
    const int X = qcRound(CX + std::cos(A) * (CX - TW - FOffSetNumbers)) - 1 - TW / 2;
    const int Y = qcRound(CX + std::sin(A) * (CX - TH / 2 - FOffSetNumbers)) - 1 - TH / 2;
    if (FUseFont3D) {
      C->Font()->SetColor(FRaised ? FHighLightColor : FShadowColor);
      C->TextOut(X - 1, Y - 1, Text);
      C->Font()->SetColor(FRaised ? FShadowColor : FHighLightColor);
      C->TextOut(X + 1, Y + 1, Text);
    }
    C->Font()->SetColor(Font()->Color());
    C->TextOut(X, Y, Text);
  }
}

void TqcAnalogClock::PaintHands(TCanvas* C, int W) {
  const int CX = W / 2;
  const long double Hour = qcStepAngle(FHour + 9, 12), Minute = FMinute;
  DrawHand(C, CX, FHandTypeHour, FHandLengthHour, Hour + qcStepAngle(Minute, 720),
           Hour + qcStepAngle(Minute - 12 * FHandWidthHour, 720), Hour + qcStepAngle(Minute + 12 * FHandWidthHour, 720),
           FHandIColHour, FHandOColHour, FHandDotHour);
  DrawHand(C, CX, FHandTypeMin, FHandLengthMin, qcStepAngle(Minute + 45, 60),
           qcStepAngle(Minute - FHandWidthMin + 45, 60), qcStepAngle(Minute + FHandWidthMin + 45, 60), FHandIColMin,
           FHandOColMin, FHandDotMin);
  if (!FShowSeconds) return;
  const TPoint Tip = qcPolarPoint(CX, CX, FHandLengthSec, qcStepAngle(FSecond + 45, 60));
  C->Pen()->SetColor(FHandColSec);
  C->MoveTo(CX, CX);
  C->LineTo(Tip.X, Tip.Y);
  if (FHandDotSec != 0) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FHandColSec);
    C->Ellipse(CX - FHandDotSec, CX - FHandDotSec, CX + FHandDotSec, CX + FHandDotSec);
  }
}

static constinit const TPropInfo TqcAnalogClock_Props[] = {
    TControlProps::Anchors(),
    PropEnum<&TqcAnalogClock::Priority, &TqcAnalogClock::SetPriority>("Priority", TThreadPriorityType, tpNormal),
    TControlProps::DragMode(),
    TControlProps::DragCursor(),
    PropBool<&TqcAnalogClock::NumStyle4, &TqcAnalogClock::SetNumStyle4>("NumStyle4", false),
    PropBool<&TqcAnalogClock::ShowSeconds, &TqcAnalogClock::SetShowSeconds>("ShowSeconds", true),
    PropObject<&TqcAnalogClock::FaceBitmap, &TqcAnalogClock::SetFaceBitmap>("FaceBitmap"),
    PropInt<&TqcAnalogClock::BevelWidth, &TqcAnalogClock::SetBevelWidth>("BevelWidth", 2),
    PropEnum<&TqcAnalogClock::BevelInner, &TqcAnalogClock::SetBevelInner>("BevelInner", TBevelCutType, bvNone),
    PropEnum<&TqcAnalogClock::BevelOuter, &TqcAnalogClock::SetBevelOuter>("BevelOuter", TBevelCutType, bvLowered),
    PropBool<&TqcAnalogClock::Raised, &TqcAnalogClock::SetRaised>("Raised", true),
    TControlProps::Color(clBtnFace),
    PropEnum<&TqcAnalogClock::DotType, &TqcAnalogClock::SetDotType>("DotType", qcClockDotTypeType, dtRect),
    PropColor<&TqcAnalogClock::FaceColor, &TqcAnalogClock::SetFaceColor>("FaceColor", clBlack),
    PropBool<&TqcAnalogClock::Use3D, &TqcAnalogClock::SetUse3D>("Use3D", false),
    PropBool<&TqcAnalogClock::UseFont3D, &TqcAnalogClock::SetUseFont3D>("UseFont3D", false),
    PropEnum<&TqcAnalogClock::ClockStyle, &TqcAnalogClock::SetClockStyle>("ClockStyle", qcClockStyleType, csDot),
    PropColor<&TqcAnalogClock::DotColor, &TqcAnalogClock::SetDotColor>("DotColor", clFuchsia),
    PropColor<&TqcAnalogClock::ShadowColor, &TqcAnalogClock::SetShadowColor>("ShadowColor", clBtnShadow),
    PropColor<&TqcAnalogClock::HighLightColor, &TqcAnalogClock::SetHighLightColor>("HighLightColor", clBtnHighlight),
    PropSubrange<&TqcAnalogClock::DotSize, &TqcAnalogClock::SetDotSize>("DotSize", qcClockDotRange, 2),
    PropSubrange<&TqcAnalogClock::OffSetNumbers, &TqcAnalogClock::SetOffSetNumbers>("OffSetNumbers",
                                                                                    qcOffSetNumberRange, 2),
    PropSubrange<&TqcAnalogClock::OffSetDots, &TqcAnalogClock::SetOffSetDots>("OffSetDots", qcOffSetDotRange, 2),
    PropSubrange<&TqcAnalogClock::OffSetTime, &TqcAnalogClock::SetOffSetTime>("OffSetTime", qcOffSetTimeRange, 0),
    PropInt<&TqcAnalogClock::HandLengthMin, &TqcAnalogClock::SetHandLengthMin>("HandLengthMin", 45),
    PropInt<&TqcAnalogClock::HandLengthHour, &TqcAnalogClock::SetHandLengthHour>("HandLengthHour", 32),
    PropInt<&TqcAnalogClock::HandLengthSec, &TqcAnalogClock::SetHandLengthSec>("HandLengthSec", 45),
    PropColor<&TqcAnalogClock::HandIColHour, &TqcAnalogClock::SetHandIColHour>("HandIColHour", clGreen),
    PropColor<&TqcAnalogClock::HandOColHour, &TqcAnalogClock::SetHandOColHour>("HandOColHour", clLime),
    PropColor<&TqcAnalogClock::HandIColMin, &TqcAnalogClock::SetHandIColMin>("HandIColMin", clGreen),
    PropColor<&TqcAnalogClock::HandOColMin, &TqcAnalogClock::SetHandOColMin>("HandOColMin", clLime),
    PropColor<&TqcAnalogClock::HandColSec, &TqcAnalogClock::SetHandColSec>("HandColSec", clRed),
    PropInt<&TqcAnalogClock::HandDotSec, &TqcAnalogClock::SetHandDotSec>("HandDotSec", 0),
    PropInt<&TqcAnalogClock::HandDotMin, &TqcAnalogClock::SetHandDotMin>("HandDotMin", 0),
    PropInt<&TqcAnalogClock::HandDotHour, &TqcAnalogClock::SetHandDotHour>("HandDotHour", 0),
    PropInt<&TqcAnalogClock::HandWidthHour, &TqcAnalogClock::SetHandWidthHour>("HandWidthHour", 3),
    PropInt<&TqcAnalogClock::HandWidthMin, &TqcAnalogClock::SetHandWidthMin>("HandWidthMin", 2),
    PropEnum<&TqcAnalogClock::HandTypeHour, &TqcAnalogClock::SetHandTypeHour>("HandTypeHour", qcHandTypeType, htHand1),
    PropEnum<&TqcAnalogClock::HandTypeMin, &TqcAnalogClock::SetHandTypeMin>("HandTypeMin", qcHandTypeType, htHand1),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 100),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(false),
    // The clock's own font colour makes ParentFont false from the start.
    TControlProps::ParentFont(false),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    PropEvent<&TqcAnalogClock::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqcAnalogClock::OnMouseLeave>("OnMouseLeave"),
    PropEvent<&TqcAnalogClock::OnPaint>("OnPaint"),
    PropEvent<&TqcAnalogClock::OnTimeChange>("OnTimeChange"),
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
ORV_IMPLEMENT_COMPONENT(TqcAnalogClock, TCustomPanel, TqcAnalogClock_Props)
