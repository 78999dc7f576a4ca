// What the benchmark programs share: a high-resolution clock, a message pump and the figures of
// repeated runs.
#pragma once
#include "vcl/Win.h"

#include <algorithm>
#include <cstdio>
#include <functional>
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

// Handles every message waiting in this thread's queue.
inline void Pump() {
  MSG Msg;
  while (PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
}

// The times of repeated runs of one thing, in seconds.
struct TFigures {
  std::vector<double> Times;
  double Best() const { return *std::min_element(Times.begin(), Times.end()); }
  double Median() const {
    std::vector<double> T = Times;
    std::sort(T.begin(), T.end());
    return T[T.size() / 2];
  }
};

// Runs Subject and Baseline alternately, Runs times each, and prints the best and median time of
// each (seconds times Scale, in Unit) with the ratio of the best times.
inline void Compare(const char* What, int Runs, const char* SubjectName, const std::function<void()>& Subject,
                    const char* BaseName, const std::function<void()>& Baseline, const char* Goal,
                    double Scale = 1e3, const char* Unit = "ms") {
  TFigures S, B;
  for (int I = 0; I < Runs; ++I) {
    double T0 = Seconds();
    Subject();
    GdiFlush();
    double T1 = Seconds();
    Baseline();
    GdiFlush();
    double T2 = Seconds();
    S.Times.push_back(T1 - T0);
    B.Times.push_back(T2 - T1);
  }
  std::printf("%s (%d runs each, interleaved)\n", What, Runs);
  std::printf("  %-40s best %10.2f %s   median %10.2f %s\n", SubjectName, S.Best() * Scale, Unit, S.Median() * Scale, Unit);
  std::printf("  %-40s best %10.2f %s   median %10.2f %s\n", BaseName, B.Best() * Scale, Unit, B.Median() * Scale, Unit);
  std::printf("  ratio (best) %.2f   goal: %s\n", S.Best() / B.Best(), Goal);
}

}  // namespace bench
