#include "suite/Std2.h"

#include <cstring>
#include <limits>

constexpr TEnumType sbTypeType{
    "sbType",
    {"sbRectangle", "sbUpTriangle", "sbDnTriangle", "sbLTriangle", "sbRTriangle", "sbTLTriangle",
     "sbTRTriangle", "sbBLTriangle", "sbBRTriangle", "sbPlus", "sbMinus", "sbCircle", "sbUpTrapezoid",
     "sbDnTrapezoid", "sbLTrapezoid", "sbRTrapezoid", "sbOwnerDraw", "sbUpLTriangle", "sbUpRTriangle",
     "sbDnRTriangle", "sbDnLTriangle", "sb000", "sb045", "sb090", "sb135", "sb180", "sb225", "sb270",
     "sb315", "sb360"}};
constexpr TEnumType tBitWhereType{"tBitWhere", {"q_BWLeft", "q_BWRight"}};
constexpr TEnumType qbHorzAlignType{"qbHorzAlign", {"qbha_Center", "qbha_Top", "qbha_Bottom"}};
constexpr TEnumType TqcFanceDefLookType{"TqcFanceDefLook", {"dlfBold", "dlfNone"}};
constexpr TEnumType qSplashStyleTypeType{"qSplashStyleType", {"ssQRectangle", "ssQEllipse", "ssCircle"}};

unsigned ButtonTextFlags(int Alignment, qbHorzAlign HorzAlign, bool MultipleLines, bool WordWrap) {
  static constexpr unsigned Horz[] = {DT_LEFT, DT_RIGHT, DT_CENTER};      // taLeftJustify, taRightJustify, taCenter
  static constexpr unsigned Vert[] = {DT_VCENTER, DT_TOP, DT_BOTTOM};     // qbha_Center, qbha_Top, qbha_Bottom
  unsigned Flags = (Alignment >= 0 && Alignment <= 2 ? Horz[Alignment] : DT_LEFT) | Vert[HorzAlign];
  if (!MultipleLines) Flags |= DT_SINGLELINE;
  if (WordWrap) Flags |= DT_WORDBREAK;
  return Flags;
}

// ---------------------------------------------------------------------------------------------
void TqcBmpOffset::SetLeft(int Value) { FLeft = Value; Changed(); }
void TqcBmpOffset::SetTop(int Value) { FTop = Value; Changed(); }

void TqcBmpOffset::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TqcBmpOffset*>(Source)) {
    FLeft = S->FLeft;
    FTop = S->FTop;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

// The owners construct their holders away from 0, so every value is stored.
static constinit const TPropInfo TqcBmpOffset_Props[] = {
    PropIntNoDefault<&TqcBmpOffset::Left, &TqcBmpOffset::SetLeft>("Left"),
    PropIntNoDefault<&TqcBmpOffset::Top, &TqcBmpOffset::SetTop>("Top"),
};
ORV_IMPLEMENT_ABSTRACT(TqcBmpOffset, TPersistent, TqcBmpOffset_Props)

void TqcTextSize::SetLeft(int Value) { FLeft = Value; Changed(); }
void TqcTextSize::SetTop(int Value) { FTop = Value; Changed(); }
void TqcTextSize::SetWidth(int Value) { FWidth = Value; Changed(); }
void TqcTextSize::SetHeight(int Value) { FHeight = Value; Changed(); }

void TqcTextSize::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TqcTextSize*>(Source)) {
    FLeft = S->FLeft;
    FTop = S->FTop;
    FWidth = S->FWidth;
    FHeight = S->FHeight;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

static constinit const TPropInfo TqcTextSize_Props[] = {
    PropIntNoDefault<&TqcTextSize::Left, &TqcTextSize::SetLeft>("Left"),
    PropIntNoDefault<&TqcTextSize::Top, &TqcTextSize::SetTop>("Top"),
    PropIntNoDefault<&TqcTextSize::Width, &TqcTextSize::SetWidth>("Width"),
    PropIntNoDefault<&TqcTextSize::Height, &TqcTextSize::SetHeight>("Height"),
};
ORV_IMPLEMENT_ABSTRACT(TqcTextSize, TPersistent, TqcTextSize_Props)

// ---------------------------------------------------------------------------------------------
TBitmap* TSteel = nullptr;
long double qcCalcOffSetTime = 0;

void Delay(unsigned short Milliseconds) { Sleep(Milliseconds); }

namespace {

// 1/1440 as the 80-bit extended value: mantissa $B60B60B60B60B60B, exponent $3FF4.
long double OneMinute() {
  static_assert(std::numeric_limits<long double>::digits == 64, "the 80-bit extended format expected");
  unsigned char Bytes[sizeof(long double)] = {};
  const uint64_t Mantissa = 0xB60B60B60B60B60Bull;
  const uint16_t Exponent = 0x3FF4;
  std::memcpy(Bytes, &Mantissa, 8);
  std::memcpy(Bytes + 8, &Exponent, 2);
  long double V;
  std::memcpy(&V, Bytes, sizeof V);
  return V;
}

struct TStd2Unit {
  TStd2Unit() {
    TSteel = new TBitmap;
    TSteel->SetWidth(8);
    TSteel->SetHeight(8);
    TCanvas* C = TSteel->Canvas();
    C->Brush()->SetColor(clSilver);
    C->FillRect(Rect(0, 0, 8, 8));
    for (int X = 0; X < 8; ++X)
      for (int Y = 0; Y < 8; ++Y)
        if ((X & 1) && (Y & 1)) C->SetPixels(X, Y, clWhite);
    qcCalcOffSetTime = OneMinute();
  }
  ~TStd2Unit() { FreeAndNil(TSteel); }
} Std2Unit;

}  // namespace
