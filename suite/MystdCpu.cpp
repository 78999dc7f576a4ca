// Processor detection: CPUID when the processor has it, and the clock speed measured against
// the tick counter at start-up.
#include "suite/MystdRoutines.h"

#include "vcl/Win.h"

#include <cmath>
#include <cpuid.h>
#include <cstring>
#include <x86intrin.h>

namespace {

TProcessorData CpuData;

// CPUID exists when the ID flag (bit 21) of EFLAGS can be toggled.
bool CpuIdInstructionPresent() {
#if defined(__i386__)
  uint32_t Changed, Original;
  __asm__ volatile(
      "pushfl\n\t"
      "pushfl\n\t"
      "popl %0\n\t"
      "movl %0, %1\n\t"
      "xorl $0x200000, %0\n\t"
      "pushl %0\n\t"
      "popfl\n\t"
      "pushfl\n\t"
      "popl %0\n\t"
      "popfl\n\t"
      : "=&r"(Changed), "=&r"(Original)
      :
      : "cc");
  return ((Changed ^ Original) & 0x200000u) != 0;
#else
  return true;
#endif
}

unsigned long SystemTicks() { return GetTickCount(); }

void DetectProcessor() {
  if (!CpuIdInstructionPresent()) {
    CpuData = TProcessorData{};
    return;
  }
  CpuData.CpuIdPresent = true;
  unsigned A, B, C, D;
  __cpuid(1, A, B, C, D);
  CpuData.Signature = int32_t(A);
  CpuData.FeaturesEBX = int32_t(B);
  CpuData.FeaturesECX = int32_t(C);
  CpuData.FeaturesEDX = int32_t(D);
  __cpuid(0, A, B, C, D);
  char Vendor[12];
  std::memcpy(Vendor, &B, 4);
  std::memcpy(Vendor + 4, &D, 4);
  std::memcpy(Vendor + 8, &C, 4);
  CpuData.Vendor = AnsiString(Vendor, 12);
  CpuData.Speed = CpuID() > 4 ? MeasureClockSpeed(&SystemTicks, &ReadCycleCounter) : -1;
}

struct TProcessorDetection {
  TProcessorDetection() { DetectProcessor(); }
} ProcessorDetection;

}  // namespace

const TProcessorData& ProcessorData = CpuData;

uint64_t ReadCycleCounter() { return __rdtsc(); }

int CpuFamilyFromProcessorType(unsigned ProcessorType) {
  AnsiString Text = IntToStr(int(ProcessorType & 0xFFFF));
  char First = Text[1];
  return First >= '0' && First <= '9' ? First - '0' : 0;
}

int CpuID() {
  if (CpuData.CpuIdPresent) return (CpuData.Signature >> 8) & 0xF;
  SYSTEM_INFO Info{};
  GetSystemInfo(&Info);
  return CpuFamilyFromProcessorType(Info.dwProcessorType);
}

int MeasureClockSpeed(TTickSource Ticks, TCounterSource Counter) {
  try {
    const unsigned long T0 = Ticks();
    while (Ticks() == T0) {
    }
    const uint64_t C1 = Counter();
    // Unsigned differences stay right when the tick counter wraps past 2^32.
    while (uint32_t(Ticks() - T0) < 1000u) {
    }
    const uint64_t C2 = Counter();
    const long double Counts = (long double)C2 - (long double)C1;
    return int(std::nearbyint(Counts / 1000000.0L + 0.66L));
  } catch (...) {
    return -1;
  }
}
