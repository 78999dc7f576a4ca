// Processor detection: CPUID when the processor has it, and the clock speed measured against
// the tick counter on a worker thread from start-up.
#include "suite/MystdRoutines.h"

#include "vcl/Win.h"

#include <cmath>
#include <cpuid.h>
#include <cstring>
#include <x86intrin.h>

namespace {

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
  return true;  // every x86_64 processor has CPUID
#endif
}

unsigned long SystemTicks() { return GetTickCount(); }

// Set when the program ends during the measurement; the worker then gives up at its next wait.
HANDLE StopMeasuring = nullptr;
bool WaitUnlessStopped(unsigned long Ms) { return WaitForSingleObject(StopMeasuring, DWORD(Ms)) == WAIT_TIMEOUT; }

// Detection on first use, whatever the order of static initialisation: CPUID at once, the
// clock on a worker thread that writes Data.Speed before it ends.
struct TDetection {
  TProcessorData Data;
  HANDLE Worker = nullptr;

  TDetection() {
    if (!CpuIdInstructionPresent()) return;
    Data.CpuIdPresent = true;
    unsigned A, B, C, D;
    __cpuid(1, A, B, C, D);
    Data.Signature = int32_t(A);
    Data.FeaturesEBX = int32_t(B);
    Data.FeaturesECX = int32_t(C);
    Data.FeaturesEDX = int32_t(D);
    __cpuid(0, A, B, C, D);
    char Vendor[12];
    std::memcpy(Vendor, &B, 4);
    std::memcpy(Vendor + 4, &D, 4);
    std::memcpy(Vendor + 8, &C, 4);
    Data.Vendor = AnsiString(Vendor, 12);
    Data.Speed = -1;
    if (((Data.Signature >> 8) & 0xF) <= 4) return;
    StopMeasuring = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (StopMeasuring) Worker = CreateThread(nullptr, 0, &Measure, &Data.Speed, 0, nullptr);
  }
  ~TDetection() {
    if (Worker) {
      SetEvent(StopMeasuring);
      WaitForSingleObject(Worker, INFINITE);
      CloseHandle(Worker);
    }
    if (StopMeasuring) CloseHandle(StopMeasuring);
  }
  TDetection(const TDetection&) = delete;
  TDetection& operator=(const TDetection&) = delete;

  static DWORD WINAPI Measure(void* Speed) {
    *static_cast<int*>(Speed) = MeasureClockSpeed(&SystemTicks, &ReadCycleCounter, &WaitUnlessStopped);
    return 0;
  }
};

TDetection& Detection() {
  static TDetection D;
  return D;
}

// Starts the detection at unit start.
const struct TUnitStart {
  TUnitStart() { Detection(); }
} UnitStart;

}  // namespace

const TProcessorData& ProcessorData() {
  TDetection& D = Detection();
  if (D.Worker) WaitForSingleObject(D.Worker, INFINITE);  // signalled for good once it ends
  return D.Data;
}

uint64_t ReadCycleCounter() { return __rdtsc(); }

int CpuFamilyFromProcessorType(unsigned ProcessorType) {
  AnsiString Text = IntToStr(int(ProcessorType & 0xFFFF));
  char First = Text[1];
  return First >= '0' && First <= '9' ? First - '0' : 0;
}

int CpuID() {
  const TProcessorData& P = Detection().Data;  // the family needs no clock
  if (P.CpuIdPresent) return (P.Signature >> 8) & 0xF;
  SYSTEM_INFO Info{};
  GetSystemInfo(&Info);
  return CpuFamilyFromProcessorType(Info.dwProcessorType);
}

int MeasureClockSpeed(TTickSource Ticks, TCounterSource Counter, TWaitSource Wait) {
  try {
    const unsigned long T0 = Ticks();
    while (Ticks() == T0)
      if (!Wait(1)) return -1;
    const uint64_t C1 = Counter();
    // Unsigned differences stay right when the tick counter wraps past 2^32. Most of the
    // second is slept through at once, the last millisecond in single steps.
    for (uint32_t Elapsed; (Elapsed = uint32_t(Ticks() - T0)) < 1000u;)
      if (!Wait(Elapsed < 990u ? 990u - Elapsed : 1u)) return -1;
    const uint64_t C2 = Counter();
    const long double Counts = (long double)C2 - (long double)C1;
    return int(std::nearbyint(Counts / 1000000.0L + 0.66L));
  } catch (...) {
    return -1;
  }
}
