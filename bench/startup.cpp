// Start-up: the time from starting orvalen.exe to its visible main window, against Wine's own
// notepad started the same way, alternately, in the same run. Each program is closed again once
// its window shows. Prints milliseconds (median and best of the runs) and the ratio of the
// medians; never judges the figures.
#include "bench/BenchClock.h"

#include <cstdio>
#include <string>

namespace {

constexpr int Runs = 5;

struct TFind {
  DWORD Pid;
  HWND Found;
};

BOOL CALLBACK FindVisible(HWND Wnd, LPARAM LParam) {
  auto* F = reinterpret_cast<TFind*>(LParam);
  DWORD Pid = 0;
  GetWindowThreadProcessId(Wnd, &Pid);
  if (Pid != F->Pid || !IsWindowVisible(Wnd) || !(GetWindowLongA(Wnd, GWL_STYLE) & WS_CAPTION)) return TRUE;
  F->Found = Wnd;
  return FALSE;
}

// Seconds from CreateProcess to a visible top-level window of the program; negative when it
// did not show within 30 seconds. The program is closed after.
double TimeToWindow(const std::string& CommandLine) {
  STARTUPINFOA Si = {};
  Si.cb = sizeof Si;
  PROCESS_INFORMATION Pi = {};
  std::string Line = CommandLine;
  const double T0 = bench::Seconds();
  if (!CreateProcessA(nullptr, Line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Si, &Pi)) return -1;
  TFind F{Pi.dwProcessId, nullptr};
  double Took = -1;
  while (bench::Seconds() - T0 < 30) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&F));
    if (F.Found) {
      Took = bench::Seconds() - T0;
      break;
    }
    Sleep(1);
  }
  if (F.Found) PostMessageA(F.Found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(Pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(Pi.hProcess, 1);
  CloseHandle(Pi.hThread);
  CloseHandle(Pi.hProcess);
  return Took;
}

}  // namespace

// The build's path as Wine sees it: the host's root is drive Z:.
std::string WinePath(std::string P) {
  if (!P.empty() && P[0] == '/') P = "Z:" + P;
  for (char& C : P)
    if (C == '/') C = '\\';
  return P;
}

// An argument names another build of the program to time.
int main(int argc, char** argv) {
  const std::string Program = "\"" + WinePath(argc > 1 ? argv[1] : ORVALEN_PROGRAM) + "\"";
  char System[MAX_PATH] = {};
  GetSystemDirectoryA(System, sizeof System);
  const std::string Notepad = std::string("\"") + System + "\\notepad.exe\"";
  TimeToWindow(Program);  // warm up both
  TimeToWindow(Notepad);
  bench::TFigures P, N;
  for (int I = 0; I < Runs; ++I) {
    const double A = TimeToWindow(Program), B = TimeToWindow(Notepad);
    if (A < 0 || B < 0) {
      std::fprintf(stderr, "startup_bench: a program did not show its window\n");
      return 1;
    }
    P.Times.push_back(A);
    N.Times.push_back(B);
  }
  std::printf("Start-up to a visible main window (%d runs each, alternately)\n", Runs);
  std::printf("  %-40s median %8.1f ms   best %8.1f ms\n", "orvalen.exe", P.Median() * 1e3, P.Best() * 1e3);
  std::printf("  %-40s median %8.1f ms   best %8.1f ms\n", "notepad.exe", N.Median() * 1e3, N.Best() * 1e3);
  std::printf("  ratio (medians) %.2f   goal: within 1.3x\n", P.Median() / N.Median());
  return 0;
}
