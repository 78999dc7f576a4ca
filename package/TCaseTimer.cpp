#include "package/TCaseTimer.h"
#include "rtl/TypInfo.h"
#include "vcl/Win.h"

namespace {

struct TCounter {
  LARGE_INTEGER Start{}, Frequency{};
  TCounter() {
    QueryPerformanceFrequency(&Frequency);
    QueryPerformanceCounter(&Start);
  }
};

// Read at start-up, as the runtime's own clock is.
const TCounter& Counter() {
  static const TCounter C;
  return C;
}
[[maybe_unused]] const TCounter& StartCounter = Counter();

}  // namespace

uint64_t TCaseTimer::ProcessClock() {
  const TCounter& C = Counter();
  LARGE_INTEGER Now;
  QueryPerformanceCounter(&Now);
  const uint64_t Elapsed = uint64_t(Now.QuadPart - C.Start.QuadPart);
  const uint64_t F = uint64_t(C.Frequency.QuadPart);
  return Elapsed / F * 1000 + Elapsed % F * 1000 / F;
}

static constinit const TPropInfo TCaseTimer_Props[] = {
    // Read-only and changing by itself: no default, never stored.
    OrdinalProp<&TCaseTimer::Expired, nullptr>("Expired", tkEnumeration, "Boolean", &BooleanType, false, 0,
                                               NeverStored),
};
ORV_IMPLEMENT_COMPONENT(TCaseTimer, TComponent, TCaseTimer_Props)

namespace {
struct TCaseTimerUnit {
  TCaseTimerUnit() { RegisterClasses({TCaseTimer::StaticClass()}); }
} CaseTimerUnit;
}  // namespace
