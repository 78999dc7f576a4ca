// What the benchmark programs share: a high-resolution clock, timings and a message pump.
#pragma once
#include "vcl/Win.h"

#include <algorithm>
#include <vector>

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

// The times of repeated runs of one step.
struct TFigures {
  std::vector<double> Times;
  double Best() const { return *std::min_element(Times.begin(), Times.end()); }
  double Median() const {
    std::vector<double> T = Times;
    std::sort(T.begin(), T.end());
    return T[T.size() / 2];
  }
};

// Handles every message waiting in this thread's queue.
inline void Pump() {
  MSG Msg;
  while (PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
}

}  // namespace bench
