// Unit Std2: types and globals the suite's buttons, backgrounds and clocks share.
#pragma once
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"
#include "suite/Subrange.h"
#include "vcl/Graphics.h"

// Button shapes.
enum sbType {
  sbRectangle, sbUpTriangle, sbDnTriangle, sbLTriangle, sbRTriangle, sbTLTriangle, sbTRTriangle,
  sbBLTriangle, sbBRTriangle, sbPlus, sbMinus, sbCircle, sbUpTrapezoid, sbDnTrapezoid,
  sbLTrapezoid, sbRTrapezoid, sbOwnerDraw, sbUpLTriangle, sbUpRTriangle, sbDnRTriangle,
  sbDnLTriangle, sb000, sb045, sb090, sb135, sb180, sb225, sb270, sb315, sb360
};
extern const TEnumType sbTypeType;

// Side of a colour button its glyph stands on.
enum tBitWhere { q_BWLeft, q_BWRight };
extern const TEnumType tBitWhereType;

// Vertical placement of a button caption (despite the name).
enum qbHorzAlign { qbha_Center, qbha_Top, qbha_Bottom };
extern const TEnumType qbHorzAlignType;

// Default look of fancy and shaped buttons: dlfBold draws the caption bold while focused or default.
enum TqcFanceDefLook { dlfBold, dlfNone };
extern const TEnumType TqcFanceDefLookType;

enum qSplashStyleType { ssQRectangle, ssQEllipse, ssCircle };
extern const TEnumType qSplashStyleTypeType;

using tBitNumber = int;  // state images in a glyph strip
inline constexpr TSubrangeType tBitNumberRange{"tBitNumber", 1, 4};
using qcOffSetTime = int;  // minutes
inline constexpr TSubrangeType qcOffSetTimeRange{"qcOffSetTime", -1440, 1440};

// DrawText flags of a suite button caption: horizontal from Alignment (left 0, right 2,
// centre 1), vertical from HorzAlign (centre 4, top 0, bottom 8), single line unless
// MultipleLines, word break with WordWrap.
unsigned ButtonTextFlags(int Alignment, qbHorzAlign HorzAlign, bool MultipleLines, bool WordWrap);

// Offset of a glyph inside a button; every write calls OnChange (no comparison).
class TqcBmpOffset : public TPersistent {
  ORV_CLASS(TqcBmpOffset, TPersistent)
public:
  int Left() const { return FLeft; }
  void SetLeft(int Value);
  int Top() const { return FTop; }
  void SetTop(int Value);
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;
protected:
  void Changed() { if (OnChange) OnChange(this); }
private:
  int FLeft = 0, FTop = 0;
};

// Rectangle a button draws its caption in; every write calls OnChange (no comparison).
class TqcTextSize : public TPersistent {
  ORV_CLASS(TqcTextSize, TPersistent)
public:
  int Left() const { return FLeft; }
  void SetLeft(int Value);
  int Top() const { return FTop; }
  void SetTop(int Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;
protected:
  void Changed() { if (OnChange) OnChange(this); }
private:
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
};

// Events of the shaped buttons.
using TsbShapeDrawEvent = TClosure<TObject* /*Sender*/, TCanvas* /*Canvas*/, bool /*Down*/, int /*Width*/,
                                   int /*Height*/, TColor /*Shadow*/, TColor /*Highlight*/>;
using TsbDrawEvent = TClosure<TObject* /*Sender*/, TCanvas* /*Canvas*/, bool /*Down*/, int /*Width*/,
                              int /*Height*/, HRGN /*Region*/, TColor /*Shadow*/, TColor /*Highlight*/>;
using TsbGetRegEvent = TClosure<TObject* /*Sender*/, HRGN& /*Region*/, int /*Width*/, int /*Height*/>;

// The 8 by 8 steel pattern: silver, white where x and y are both odd. Owned by the unit; used as
// a pattern brush, never changed.
extern TBitmap* TSteel;
// One minute as a fraction of a day (1/1440 in extended precision).
extern long double qcCalcOffSetTime;

// Suspends the calling thread for Milliseconds (0 yields the rest of the time slice); no
// messages are handled meanwhile.
void Delay(unsigned short Milliseconds);

#include "suite/Std2RunProg.h"
#include "suite/Std2Splash.h"
#include "suite/Std2Timers.h"
#include "suite/Std2VerInfo.h"
#include "suite/Std2Rgn.h"
#include "suite/Std2Fancy.h"
#include "suite/Std2FormHook.h"
#include "suite/Std2MinMax.h"
#include "suite/Std2CompCanvas.h"
