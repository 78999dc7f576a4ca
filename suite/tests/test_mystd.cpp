// Shared routines of the suite: maths, processor data, dialog units, FindForm, host lookup,
// hint settings.
#include "suite/Mystd.h"
#include "suite/tests/suitetest.h"
#include "vcl/Forms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <winsock.h>

namespace {

constexpr long double Pi = 3.14159265358979323846264338327950288L;
enum TOutcome { Exact, Near, InvalidOp, ZeroDivide, Overflow };

struct TMathCase {
  const char* Name;
  std::function<long double()> Call;
  TOutcome Outcome;
  long double Expected = 0;
};

TEST(MystdMaths, RoutinesGiveTheirValuesAndFaults) {
  const TMathCase Cases[] = {
      {"Power(0, 0)", [] { return Power(0, 0); }, Exact, 0},
      {"Power(5, 0)", [] { return Power(5, 0); }, Exact, 1},
      {"Power(0, 3)", [] { return Power(0, 3); }, Exact, 0},
      {"Power(0, -1)", [] { return Power(0, -1); }, ZeroDivide},
      {"Power(-2, 3) keeps the odd exponent's sign", [] { return Power(-2, 3); }, Exact, -8},
      {"Power(-2, 2)", [] { return Power(-2, 2); }, Exact, 4},
      {"Power(-2, -3)", [] { return Power(-2, -3); }, Exact, -0.125L},
      {"Power(-1, 1e20) (a huge even integer)", [] { return Power(-1, 1e20L); }, Exact, 1},
      {"Power(-8, 1/3) has no real value", [] { return Power(-8, 1.0L / 3); }, InvalidOp},
      {"Power(2, 10)", [] { return Power(2, 10); }, Exact, 1024},
      {"Power(2, -2)", [] { return Power(2, -2); }, Exact, 0.25L},
      {"Power(3, 40) exactly", [] { return Power(3, 40); }, Exact, 12157665459056928801.0L},
      {"Power(2, 0.5)", [] { return Power(2, 0.5L); }, Near, 1.41421356237309504880L},
      {"Power(10, 4000)", [] { return Power(10, 4000) / 1e4000L; }, Near, 1},
      {"Power(10, 5000) overflows", [] { return Power(10, 5000); }, Overflow},
      {"Power(0.5, 20000) underflows to 0", [] { return Power(0.5L, 20000); }, Exact, 0},
      {"Power(2, -16440) is a denormal", [] { return Power(2, -16440); }, Exact, std::ldexp(1.0L, -16440)},
      {"Power(2, -20000) underflows to 0", [] { return Power(2, -20000); }, Exact, 0},
      {"Root(3, 27): the degree comes first", [] { return Root(3, 27); }, Near, 3},
      {"Root(2, 16)", [] { return Root(2, 16); }, Near, 4},
      {"Root(0, 5)", [] { return Root(0, 5); }, ZeroDivide},
      {"Root(2, -4)", [] { return Root(2, -4); }, InvalidOp},
      {"ArcSin(1)", [] { return ArcSin(1); }, Near, Pi / 2},
      {"ArcSin(-1)", [] { return ArcSin(-1); }, Near, -Pi / 2},
      {"ArcSin(0.5)", [] { return ArcSin(0.5L); }, Near, Pi / 6},
      {"ArcSin(-0.5)", [] { return ArcSin(-0.5L); }, Near, -Pi / 6},
      {"ArcSin(1.5)", [] { return ArcSin(1.5L); }, InvalidOp},
      {"ArcCos(-0.5)", [] { return ArcCos(-0.5L); }, Near, 2 * Pi / 3},
      {"ArcCos(0)", [] { return ArcCos(0); }, Near, Pi / 2},
      {"ArcCos(1)", [] { return ArcCos(1); }, Exact, 0},
      {"ArcCos(-1)", [] { return ArcCos(-1); }, Near, Pi},
      {"ArcCos(0.5)", [] { return ArcCos(0.5L); }, Near, Pi / 3},
      {"ArcCos(-1.0001)", [] { return ArcCos(-1.0001L); }, InvalidOp},
      {"Log10(1000)", [] { return Log10(1000); }, Near, 3},
      {"Log10(0.01)", [] { return Log10(0.01L); }, Near, -2},
      {"Log10(0)", [] { return Log10(0); }, ZeroDivide},
      {"Log10(-1)", [] { return Log10(-1); }, InvalidOp},
      {"Factorial(0)", [] { return Factorial(0); }, Exact, 1},
      {"Factorial(1)", [] { return Factorial(1); }, Exact, 1},
      {"Factorial(-3)", [] { return Factorial(-3); }, Exact, 1},
      {"Factorial(5)", [] { return Factorial(5); }, Exact, 120},
      {"Factorial(20) exactly", [] { return Factorial(20); }, Exact, 2432902008176640000.0L},
      {"Factorial(1754) fits", [] { return Factorial(1754) > 1e4930L ? 1.0L : 0.0L; }, Exact, 1},
      {"Factorial(1755) overflows", [] { return Factorial(1755); }, Overflow},
  };
  for (const TMathCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    switch (C.Outcome) {
      case Exact: EXPECT_EQ(C.Call(), C.Expected); break;
      case Near: {
        long double R = C.Call();
        EXPECT_NEAR(double(R), double(C.Expected), 1e-15);
        EXPECT_LE(std::fabs(R - C.Expected), std::fabs(C.Expected) * 1e-17L + 1e-18L);
        break;
      }
      case InvalidOp:
        try {
          C.Call();
          ADD_FAILURE() << "no error";
        } catch (const EInvalidOp& E) {
          EXPECT_STREQ(E.what(), "Invalid floating point operation");
        }
        break;
      case ZeroDivide:
        try {
          C.Call();
          ADD_FAILURE() << "no error";
        } catch (const EZeroDivide& E) {
          EXPECT_STREQ(E.what(), "Floating point division by zero");
        }
        break;
      case Overflow:
        try {
          C.Call();
          ADD_FAILURE() << "no error";
        } catch (const EOverflow& E) {
          EXPECT_STREQ(E.what(), "Floating point overflow");
        }
        break;
    }
  }
}

TEST(MystdMaths, IsPrime) {
  const struct { int N; bool Prime; } Cases[] = {
      {-7, false}, {-1, false}, {0, false}, {1, false}, {2, true}, {3, true}, {4, false}, {9, false},
      {13, true}, {25, false}, {49, false}, {97, true}, {2147483647, true}, {2147483646, false},
      {2147395601, false} /* 46349 squared */,
  };
  for (const auto& C : Cases) EXPECT_EQ(IsPrime(C.N), C.Prime) << C.N;
}

TEST(MystdTypes, GradientDirectionsInStreamedOrder) {
  const char* Names[] = {"gHorz", "gVert", "gCenter", "gTopLeftBottomRight", "gTopRightBottomLeft",
                         "gDiagLeft", "gDiagRight"};
  ASSERT_EQ(gradTypeType.Count(), 7);
  for (int I = 0; I < 7; ++I) EXPECT_EQ(gradTypeType.NameToValue(Names[I]), I);
  EXPECT_EQ(int(gDiagRight), 6);
}

// ---------------------------------------------------------------------------------------------
// A reader during static initialisation, in whatever order the units start.
const int EarlySpeed = ProcessorData().Speed;

TEST(MystdProcessor, DataOfThisMachineIsSane) {
  const TProcessorData& P = ProcessorData();
  ASSERT_TRUE(P.CpuIdPresent) << "every i686 processor this runs on has CPUID";
  ASSERT_EQ(P.Vendor.Length(), 12);
  for (int I = 1; I <= 12; ++I) EXPECT_TRUE(P.Vendor[I] >= 32 && P.Vendor[I] < 127) << P.Vendor.c_str();
  EXPECT_EQ(CpuID(), (P.Signature >> 8) & 0xF);
  EXPECT_GE(CpuID(), 5);
  // Leaf 1 EDX: every processor with a time-stamp counter sets bit 4.
  EXPECT_TRUE(P.FeaturesEDX & (1 << 4));
  EXPECT_GE(P.Speed, 200) << "MHz";
  EXPECT_LE(P.Speed, 10000) << "MHz";
}

TEST(MystdProcessor, FamilyFromProcessorType) {
  const struct { unsigned Type; int Family; } Cases[] = {
      {586, 5}, {486, 4}, {386, 3}, {8664, 8}, {0, 0}, {0x10000 + 586, 5} /* only the low 16 bits */,
  };
  for (const auto& C : Cases) EXPECT_EQ(CpuFamilyFromProcessorType(C.Type), C.Family) << C.Type;
}

TEST(MystdProcessor, EarlyAndLateReadersSeeOneMeasurement) {
  EXPECT_EQ(EarlySpeed, ProcessorData().Speed);
  // Measured again a second later, the clock gives about the same figure.
  const int Again = MeasureClockSpeed([] { return (unsigned long)GetTickCount(); }, &ReadCycleCounter,
                                      [](unsigned long Ms) { return Sleep(DWORD(Ms)), true; });
  EXPECT_NEAR(Again, EarlySpeed, EarlySpeed / 50 + 2);
}

// A driven clock: virtual time moves only by waits, and the counter runs at 2,000,000 counts a
// millisecond (2 GHz).
uint64_t VirtualMs = 0;
int Reads = 0;
unsigned long FakeTicks() { return ++Reads, (unsigned long)(uint32_t(VirtualMs)); }
uint64_t FakeCounter() { return VirtualMs * 2000000ull; }
bool FakeWait(unsigned long Ms) { return VirtualMs += Ms, true; }

TEST(MystdProcessor, ClockMeasurementWaitsAndSurvivesTheTickWrap) {
  // The span runs from the first tick edge (T0 + 1) to T0 + 1000: 999 ms, 1998 MHz + 0.66.
  for (uint64_t Start : {uint64_t(1000), uint64_t(0xFFFFFF00u), uint64_t(0xFFFFFFFFu)}) {
    VirtualMs = Start;
    Reads = 0;
    EXPECT_EQ(MeasureClockSpeed(&FakeTicks, &FakeCounter, &FakeWait), 1999) << "ticks starting at " << Start;
    EXPECT_LT(Reads, 20) << "the second is waited through, not polled";
  }
  // A wait that is cut short stops the measurement.
  VirtualMs = 0;
  EXPECT_EQ(MeasureClockSpeed(&FakeTicks, &FakeCounter, [](unsigned long) { return false; }), -1);
}

// A program that ends at once does not wait for the clock measurement, and ends cleanly.
TEST(MystdProcessor, ProgramEndingAtOnceIsNotHeldByTheMeasurement) {
  STARTUPINFOA Si{};
  Si.cb = sizeof Si;
  PROCESS_INFORMATION Pi{};
  std::string Cmd = "\"" + suitetest::ModuleDir() + ORVALEN_QUICKEXIT + "\"";
  ASSERT_TRUE(CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Si, &Pi));
  ASSERT_EQ(WaitForSingleObject(Pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD Code = 1;
  GetExitCodeProcess(Pi.hProcess, &Code);
  FILETIME Created, Ended, Kernel, User;
  ASSERT_TRUE(GetProcessTimes(Pi.hProcess, &Created, &Ended, &Kernel, &User));
  CloseHandle(Pi.hThread);
  CloseHandle(Pi.hProcess);
  EXPECT_EQ(Code, 0u);
  auto Ticks100ns = [](FILETIME F) { return uint64_t(F.dwHighDateTime) << 32 | F.dwLowDateTime; };
  EXPECT_LT((Ticks100ns(Ended) - Ticks100ns(Created)) / 10000, 1000u) << "ms from start to end";
}

// ---------------------------------------------------------------------------------------------
TEST(MystdDialogUnits, ConversionsFollowTheBaseUnits) {
  const DWORD Base = GetDialogBaseUnits();
  const int BX = LOWORD(Base), BY = HIWORD(Base);
  ASSERT_GT(BX, 0);
  ASSERT_GT(BY, 0);
  EXPECT_EQ(DlgUnitsToPixelsX(4), BX);
  EXPECT_EQ(DlgUnitsToPixelsY(8), BY);
  EXPECT_EQ(PixelsToDlgUnitsX(BX), 4);
  EXPECT_EQ(PixelsToDlgUnitsY(BY), 8);
  for (unsigned short U : {0, 1, 3, 7, 50, 333, 1000, 16000}) {
    SCOPED_TRACE(U);
    EXPECT_EQ(DlgUnitsToPixelsX(U), U * BX / 4);
    EXPECT_EQ(DlgUnitsToPixelsY(U), U * BY / 8);
    // Truncation loses at most one unit each way, never gains.
    int RX = PixelsToDlgUnitsX(static_cast<unsigned short>(DlgUnitsToPixelsX(U)));
    int RY = PixelsToDlgUnitsY(static_cast<unsigned short>(DlgUnitsToPixelsY(U)));
    EXPECT_TRUE(RX == U || RX == U - 1) << RX;
    EXPECT_TRUE(RY == U || RY == U - 1) << RY;
  }
}

// ---------------------------------------------------------------------------------------------
TEST(MystdFindForm, WalksTheOwnersOnly) {
  TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
  TComponent* Middle = TComponent::Create<TComponent>(Form);
  TComponent* Leaf = TComponent::Create<TComponent>(Middle);
  EXPECT_EQ(FindForm(Leaf), Form);
  EXPECT_EQ(FindForm(Middle), Form);
  // The form itself is not examined: its owner chain has no form.
  try {
    FindForm(Form);
    ADD_FAILURE() << "no error";
  } catch (const EComponentError& E) {
    EXPECT_STREQ(E.what(), "NoForm");
  }
  TObject::Free(Form);

  TComponent* Root = TComponent::Create<TComponent>(nullptr);
  TComponent* Child = TComponent::Create<TComponent>(Root);
  EXPECT_THROW(FindForm(Child), EComponentError);
  TObject::Free(Root);
  EXPECT_FALSE(IsPrevius(true));
  EXPECT_FALSE(IsPrevius(false));
}

// ---------------------------------------------------------------------------------------------
bool IsDottedQuad(const AnsiString& S) {
  int Parts[4];
  char Tail;
  if (std::sscanf(S.c_str(), "%d.%d.%d.%d%c", &Parts[0], &Parts[1], &Parts[2], &Parts[3], &Tail) != 4) return false;
  for (int P : Parts)
    if (P < 0 || P > 255) return false;
  return true;
}

TEST(MystdHost, HostInfoGivesTheNameAndAnAddress) {
  AnsiString Name = "x", Address = "y";
  GetHostInfo(Name, Address);
  WSADATA Data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 0), &Data), 0);
  char Expected[256] = {};
  ASSERT_EQ(gethostname(Expected, 255), 0);
  EXPECT_EQ(Name, AnsiString(Expected));
  // Whether this host's own name resolves depends on the machine; what comes back is either
  // its address or "-none-", never anything else, and the name is kept either way.
  EXPECT_TRUE(Address == "-none-" || IsDottedQuad(Address)) << Address.c_str();
  EXPECT_EQ(Address, LookupHostAddress(Expected));
  WSACleanup();
}

TEST(MystdHost, UnresolvableNameGivesNone) {
  WSADATA Data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 0), &Data), 0);
  EXPECT_EQ(LookupHostAddress("no-such-host.invalid"), "-none-");
  EXPECT_EQ(LookupHostAddress("127.0.0.1"), "127.0.0.1");
  WSACleanup();
}

// ---------------------------------------------------------------------------------------------
TEST(MystdHintSettings, StartWithTheirDefaultsAndReset) {
  ASSERT_TRUE(HintSettings);
  ASSERT_TRUE(HintSettings->Font);
  auto ExpectDefaults = [] {
    const TqHintSettings& S = *HintSettings;
    EXPECT_EQ(S.HintPosition, hpLeftAbove);
    EXPECT_EQ(S.PartOfScreen, 2);
    EXPECT_EQ(S.MoveBeforeOff, 5);
    EXPECT_TRUE(S.MultiLine);
    EXPECT_TRUE(S.Use3D);
    EXPECT_FALSE(S.OnHintPaint);
    EXPECT_FALSE(S.OnHintShow);
    EXPECT_EQ(S.ShadowColor, clBtnShadow);
    EXPECT_EQ(S.HighLightColor, clBtnHighlight);
    EXPECT_EQ(S.Font->Name(), "MS Sans Serif");
    EXPECT_EQ(S.Font->Color(), clWindowText);
    EXPECT_EQ(S.Font->Height(), -11);
    EXPECT_EQ(S.Font->Pitch(), fpDefault);
    EXPECT_EQ(S.Font->Style(), 0u);
  };
  ExpectDefaults();
  TFont* Font = HintSettings->Font;
  HintSettings->HintPosition = hpNormal;
  HintSettings->PartOfScreen = 7;
  HintSettings->Use3D = false;
  HintSettings->ShadowColor = clRed;
  HintSettings->Font->SetHeight(-20);
  HintSettings->Font->SetStyle(FontStyle(fsBold));
  HintSettings->Reset();
  ExpectDefaults();
  EXPECT_EQ(HintSettings->Font, Font) << "the record keeps its font";
  EXPECT_EQ(TqHintPosType.NameToValue("hpNormal"), 4);
}

}  // namespace
