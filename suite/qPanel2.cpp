#include "suite/qPanel2.h"

namespace {
struct TqPanel2Registration {
  TqPanel2Registration() {
    RegisterClasses({TqcCreditScroll::StaticClass(), TqcAnalogClock::StaticClass(), TqcDinMeter::StaticClass(),
                     TqcSpectrum::StaticClass()});
  }
} qPanel2Registration;
}  // namespace
