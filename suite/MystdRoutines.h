// Shared routines and types of the suite: the gradient direction, maths routines, the form a
// component lives on, dialog units, the processor data measured at start-up, the host name and
// address, and the hint settings every suite hint window shares.
#pragma once
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"
#include "suite/MystdMaths.h"
#include "suite/Subrange.h"
#include "vcl/Graphics.h"

#include <cstdint>

class TForm;

// Gradient fill direction; streamed by ordinal.
enum gradType { gHorz, gVert, gCenter, gTopLeftBottomRight, gTopRightBottomLeft, gDiagLeft, gDiagRight };
extern const TEnumType gradTypeType;

// Asked whether the session may end (the application component and the tray icons).
using TAskEndSession = TClosure<bool& /*DoEnd*/>;

// The first owner of Component (not Component itself) that is a form; EComponentError "NoForm"
// when the owner chain has none.
TForm* FindForm(TComponent* Component);
// Kept for older callers: always false.
bool IsPrevius(bool Value);

// Dialog units and pixels from GetDialogBaseUnits (low word horizontal, high word vertical);
// the divisions truncate.
int DlgUnitsToPixelsX(unsigned short Units);
int DlgUnitsToPixelsY(unsigned short Units);
int PixelsToDlgUnitsX(unsigned short Pixels);
int PixelsToDlgUnitsY(unsigned short Pixels);

// ---------------------------------------------------------------------------------------------
// Processor data, detected once at start-up; the clock is measured on a worker thread then.
struct TProcessorData {
  bool CpuIdPresent = false;
  // The registers CPUID leaf 1 returns (EAX signature, EBX, ECX and EDX features); -1 each
  // without CPUID.
  int32_t Signature = -1, FeaturesEBX = -1, FeaturesECX = -1, FeaturesEDX = -1;
  // CPUID leaf 0: EBX, EDX, ECX, each register low byte first; empty without CPUID.
  AnsiString Vendor;
  // MHz; -1 for a family of 4 or lower (or a failed measurement), 0 without CPUID.
  int Speed = 0;
};
// The processor data; the first call after start-up waits for the clock measurement to end.
const TProcessorData& ProcessorData();

// The processor family: signature bits 8-11 with CPUID, else from the system's processor type.
int CpuID();
// The family from a processor type number as GetSystemInfo gives it (586 -> 5): the first
// decimal digit of its low 16 bits; 0 when that is no digit.
int CpuFamilyFromProcessorType(unsigned ProcessorType);

// Clock speed in MHz: time-stamp counts over the span from a tick edge to T0 + 1000 ms, as
// round(counts / 1e6 + 0.66). Between tick reads it waits (Wait(Ms) sleeps up to Ms; false
// stops the measurement, giving -1) instead of spinning. The sources are parameters so the
// measurement can be driven; elapsed ticks are taken modulo 2^32, so a counter wrap during the
// second does no harm.
using TTickSource = unsigned long (*)();
using TCounterSource = uint64_t (*)();
using TWaitSource = bool (*)(unsigned long Ms);
int MeasureClockSpeed(TTickSource Ticks, TCounterSource Counter, TWaitSource Wait);
// The time-stamp counter (RDTSC).
uint64_t ReadCycleCounter();

// ---------------------------------------------------------------------------------------------
// Host name and first IPv4 address ("a.b.c.d") through Windows Sockets. Both "-none-" when the
// sockets or the host name cannot be had; a name whose address cannot be looked up keeps the
// name and gives the address "-none-".
void GetHostInfo(AnsiString& HostName, AnsiString& Address);
// The first IPv4 address of a host name, "-none-" when it does not resolve. Windows Sockets
// must be started.
AnsiString LookupHostAddress(const AnsiString& HostName);

// ---------------------------------------------------------------------------------------------
// Hint settings shared by every suite hint component and window in the process.
enum TqHintPos { hpLeftAbove, hpLeftUnder, hpRightAbove, hpRightUnder, hpNormal };
extern const TEnumType TqHintPosType;
using TqHintShowEvent = TClosure<TObject* /*Sender*/, bool& /*CanShow*/>;

using TqHintDiv = int;  // the hint's width as a part of the screen's
inline constexpr TSubrangeType TqHintDivRange{"TqHintDiv", 1, 10};
using TqMoveDist = int;  // mouse moves before the hint goes
inline constexpr TSubrangeType TqMoveDistRange{"TqMoveDist", 2, 20};

struct TqHintSettings {
  TqHintPos HintPosition = hpLeftAbove;
  TqHintDiv PartOfScreen = 2;
  TqMoveDist MoveBeforeOff = 5;
  bool MultiLine = true;
  bool Use3D = true;
  TNotifyEvent OnHintPaint;
  TqHintShowEvent OnHintShow;
  TColor ShadowColor = clBtnShadow;
  TColor HighLightColor = clBtnHighlight;
  TFont* Font = nullptr;    // owned: "MS Sans Serif", clWindowText, height -11
  // Back to the values above (the font included).
  void Reset();
};
// Allocated at start-up, freed at the end.
extern TqHintSettings* HintSettings;
