// Helpers of the qPanel2 tests: a clock the test sets, and panel timers stepped by hand.
#pragma once
#include "suite/qPanel2.h"
#include "suite/tests/suitetest.h"
#include "rtl/SysUtils.h"

namespace qpanel2test {

// The clocks read the time set here while one of these lives (Friday 17 May 2024).
class TClockAt {
public:
  TClockAt(int H, int M, int S) : FOld(SetqcClockTimeSource(&Read)) { Set(H, M, S); }
  ~TClockAt() { SetqcClockTimeSource(FOld); }
  TClockAt(const TClockAt&) = delete;
  TClockAt& operator=(const TClockAt&) = delete;
  static void Set(int H, int M, int S) {
    Time = double(EncodeDate(2024, 5, 17)) + double(EncodeTime((unsigned short)H, (unsigned short)M, (unsigned short)S, 0));
  }
private:
  static TDateTime Read() { return Time; }
  static inline TDateTime Time;
  TqcClockTimeSource FOld;
};

// The worker of Timer stops; Tick then runs the timer's tick on this thread, as the worker
// would have it run.
inline void HoldTimer(TqcTimer* Timer) { Timer->SetEnabled(false); }
inline void Tick(TqcTimer* Timer, int Times = 1) {
  for (int I = 0; I < Times; ++I) Timer->OnTimer()(Timer);
}

}  // namespace qpanel2test
