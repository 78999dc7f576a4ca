// What the benchmark programs share: a high-resolution clock and a message pump.
#pragma once
#include "vcl/Win.h"

namespace bench {

// Seconds since an arbitrary start, from the performance counter.
inline double Seconds() {
  static const LARGE_INTEGER Freq = [] {
    LARGE_INTEGER F;
    QueryPerformanceFrequency(&F);
    return F;
  }();
  LARGE_INTEGER T;
  QueryPerformanceCounter(&T);
  return double(T.QuadPart) / double(Freq.QuadPart);
}

// Handles every message waiting in this thread's queue.
inline void Pump() {
  MSG Msg;
  while (PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
}

}  // namespace bench
