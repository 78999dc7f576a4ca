// What the panels of unit qPanel2 share: the off-screen picture every paint builds, the
// OnPaint and mouse enter/leave events, and the geometry and percent arithmetic.
#pragma once
#include "suite/Subrange.h"
#include "vcl/Controls.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

using qcOffSetNumber = int;
inline constexpr TSubrangeType qcOffSetNumberRange{"qcOffSetNumber", 0, 50};
using qcOffSetDot = int;
inline constexpr TSubrangeType qcOffSetDotRange{"qcOffSetDot", 0, 50};

// Rounds to the nearest integer, halves to even. Geometry is computed in extended precision,
// which both targets evaluate alike.
inline int qcRound(long double V) { return int(std::nearbyintl(V)); }

// The point at Radius from Centre in direction Angle (radians, y growing downward), rounded.
inline TPoint qcPolarPoint(long double CX, long double CY, long double Radius, long double Angle) {
  return Point(qcRound(CX + std::cos(Angle) * Radius), qcRound(CY + std::sin(Angle) * Radius));
}

// Angle of step I of N steps round the circle (I = 0 points right, N / 4 down).
inline long double qcStepAngle(long double I, long double N) { return I * 2 * std::numbers::pi_v<long double> / N; }

// (Level - Min) * 100 div (Max - Min) in 64 bits, so no level or range overflows; Max > Min.
inline int64_t qcPercent(int64_t Level, int64_t Min, int64_t Max) { return (Level - Min) * 100 / (Max - Min); }
// The percent as drawn: within 0..100.
inline int qcDrawnPercent(int64_t Percent) { return int(std::clamp<int64_t>(Percent, 0, 100)); }

// A face picture: a copy of Value, or 1 by 1 (no picture) for null.
inline void qcSetFacePicture(TBitmap* Face, TBitmap* Value) {
  if (Value) Face->Assign(Value);
  else Face->SetSize(1, 1);
}
// Whether Face holds a picture: wider and higher than 1 pixel.
inline bool qcHasFacePicture(const TBitmap* Face) { return Face->Width() > 1 && Face->Height() > 1; }

// A panel of unit qPanel2 over Base (TCustomPanel or TGraphicControl): each paint builds its
// picture in an off-screen bitmap kept between paints, copies it onto the control in one step
// and then calls OnPaint; WM_ERASEBKGND erases nothing.
template <class Base> class TqcPanel2 : public Base {
public:
  explicit TqcPanel2(TComponent* AOwner) : Base(AOwner), FPicture(new TBitmap) {}
  ~TqcPanel2() override { TObject::Free(FPicture); }

  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_ERASEBKGND: Message.Result = 1; break;
      case CM_MOUSEENTER: CMMouseEnter(Message); break;
      case CM_MOUSELEAVE: CMMouseLeave(Message); break;
      default: Base::Dispatch(Message);
    }
  }

  TNotifyEvent OnPaint;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  // The picture's canvas, the bitmap sized W by H.
  TCanvas* BeginPicture(int W, int H) {
    if (FPicture->Width() != W || FPicture->Height() != H) FPicture->SetSize(W, H);
    return FPicture->Canvas();
  }
  // Copies (0, 0, W, H) of the picture onto the control, then OnPaint.
  void EndPicture(int W, int H) {
    const TRect R = Rect(0, 0, W, H);
    this->Canvas()->CopyRect(R, FPicture->Canvas(), R);
    if (OnPaint) OnPaint(this);
  }
  // Stores a changed value and repaints (once loaded).
  template <class T> void Change(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    if (!this->HasState(csLoading)) this->Invalidate();
  }
  void CMMouseEnter(TMessage& Message) {
    Base::Dispatch(Message);
    if (OnMouseEnter) OnMouseEnter(this);
  }
  void CMMouseLeave(TMessage& Message) {
    Base::Dispatch(Message);
    if (OnMouseLeave) OnMouseLeave(this);
  }

private:
  TBitmap* FPicture;
};
