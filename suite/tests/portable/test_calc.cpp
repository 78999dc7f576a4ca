// The expression calculator: results, error codes and positions, registers, host functions,
// events and the formatting of values. Portable: runs natively under the sanitizers as well.
#include "suite/MystdCalc.h"

#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

struct TCalcFree {
  void operator()(TqCalc* C) const { TObject::Free(C); }
};
using TCalcPtr = std::unique_ptr<TqCalc, TCalcFree>;
TCalcPtr NewCalc() { return TCalcPtr(TComponent::Create<TqCalc>(nullptr)); }

// Records the events a calculator fires.
class TCalcEvents : public TObject {
public:
  struct TError {
    std::string Line;
    int Where;
    TqCalcResult Result;  // CalcResult during the call
  };
  std::vector<TError> Errors;
  int OKs = 0;
  std::vector<std::string> Lookups;
  std::vector<std::pair<std::string, long double>> Calls;
  bool AcceptFoo = true;
  bool Throw = false;

  void Error(TObject* Sender, const AnsiString& Line, uint8_t Where) {
    Errors.push_back({Line.str(), Where, static_cast<TqCalc*>(Sender)->CalcResult()});
  }
  void OK(TObject*) { ++OKs; }
  void Find(TObject*, const AnsiString& Name, bool& Accept) {
    Lookups.push_back(Name.str());
    Accept = AcceptFoo && Name.str().rfind("FOO", 0) == 0;
  }
  void Func(TObject*, const AnsiString& Name, long double Value, long double& Result) {
    Calls.emplace_back(Name.str(), Value);
    if (Throw) throw EConvertError("host failed");
    Result = Value * 100;
  }
  void Attach(TqCalc* C) {
    C->OnError = EVENT(this, TCalcEvents::Error);
    C->OnOK = EVENT(this, TCalcEvents::OK);
  }
};

struct TLineCase {
  std::string Line;
  long double Number;
  TqCalcResult Result;
  int Where;
};

TEST(Calc, LinesGiveTheirValueResultAndPosition) {
  const std::string Nines(20, '9');
  const TLineCase Cases[] = {
      {"", 0, TqcOK, 2},  // evaluated as "0"
      {"42", 42, TqcOK, 3},
      {"-2^2", -4, TqcOK, 5},
      {"2*3^2", 36, TqcOK, 6},  // one level, from the left
      {"2^3^2", 64, TqcOK, 6},
      {"10-2-3", 5, TqcOK, 7},
      {"1,5+0.5", 2, TqcOK, 8},
      {".5", 0.5L, TqcOK, 3},
      {"1.", 1, TqcOK, 3},
      {" ( 1 + 2 ) * 3 ", 9, TqcOK, 16},
      {"1 2", 1, TqcOK, 3},  // the rest of the line is not read
      {"3)", 3, TqcOK, 2},
      {"2*-3", 0, TqcNumberMissing, 3},
      {"+1", 0, TqcNumberMissing, 1},
      {".", 0, TqcNumberMissing, 2},
      {"7/0", 7, TqcDivZero, 4},
      {"7/(1-1)", 7, TqcDivZero, 8},
      {"7/0*2+1", 7, TqcDivZero, 4},  // an error stops the operators of every level
      {"SQRT(-1)", 0, TqcDivZero, 9},
      {"LN(0)", 0, TqcDivZero, 6},
      {"LOG(-5)", 0, TqcDivZero, 8},
      {"ARCSIN(1)", 0, TqcDivZero, 10},
      {"ARCCOS(-1)", 0, TqcDivZero, 11},
      {"sin(0)", 0, TqcOK, 7},
      {"Cos(0)+Abs(0-3)", 4, TqcOK, 16},
      {"SQR(3)+SQRT(16)", 13, TqcOK, 16},
      {"FRAC(0-2.75)", -0.75L, TqcOK, 13},
      {"LOG(1000)", 3, TqcOK, 10},
      {"FOO(2)", 0, TqcFunctionMissing, 4},
      {"SIN 0", 0, TqcLeftPar, 6},
      {"SIN", 0, TqcLeftPar, 4},  // the missing parenthesis is not stepped over the end
      {"(1+2", 3, TqcRightPar, 5},
      {"((1", 1, TqcRightPar, 4},
      {std::string(254, '('), 0, TqcNumberMissing, 255},
      // Cut to 254 characters: the 3 after the blanks is gone.
      {"2" + std::string(252, ' ') + "+3+4+5" + std::string(40, '6'), 2, TqcNumberMissing, 255},
      {"FLOOR(0-2.5)", -3, TqcOK, 13},
      {"FLOOR(2.5)", 2, TqcOK, 11},
      {"CEILING(2.1)", 3, TqcOK, 13},
      {"CEILING(0-2.1)", -2, TqcOK, 15},
      {"ROUND(2.5)", 2, TqcOK, 11},
      {"ROUND(3.5)", 4, TqcOK, 11},
      {"TRUNC(0-7.9)", -7, TqcOK, 13},
      {"TRUNC(" + Nines + ")", 0, TqcOverFlow, 28},
      {"CEILING(" + Nines + ")", 0, TqcOverFlow, 30},
      {"FLOOR(0-" + Nines + ")", 0, TqcOverFlow, 30},
      {"ROUND(10^30)", 0, TqcOverFlow, 13},
      {"EXP(100000)", 0, TqcOverFlow, 12},
      {"10^5000", 0, TqcOverFlow, 8},
      {"(10^400)", 0, TqcOverFlow, 9},  // a factor is held in double precision
      {"(0-8)^0.5", 0, TqcOverFlow, 10},
      {"0^(0-1)", 0, TqcOverFlow, 8},
  };
  auto Calc = NewCalc();
  for (const TLineCase& C : Cases) {
    SCOPED_TRACE("line \"" + C.Line + "\"");
    Calc->SetCalcLine(C.Line);
    EXPECT_EQ(Calc->CalcResult(), C.Result);
    EXPECT_EQ(int(Calc->WhereIsLastError()), C.Where);
    EXPECT_NEAR(double(Calc->NumberNum()), double(C.Number), 1e-15);
    EXPECT_TRUE(std::isfinite(Calc->NumberNum()));
    EXPECT_LE(Calc->WhereIsLastError(), Calc->CalcLine().Length() + 1);
  }
}

TEST(Calc, ConstantsAndFunctionsKeepExtendedPrecision) {
  auto Calc = NewCalc();
  Calc->SetCalcLine("PI");
  EXPECT_EQ(Calc->NumberNum(), (long double)(double)Pi) << "a factor is rounded to double";
  Calc->SetCalcLine("e*1");
  EXPECT_EQ(Calc->NumberNum(), (long double)(double)std::numbers::e_v<long double>);
  Calc->SetCalcLine("ARCTAN(1)*4");
  EXPECT_NEAR(double(Calc->NumberNum()), double(Pi), 1e-15);
  Calc->SetCalcLine("EXP(1)");
  EXPECT_NEAR(double(Calc->NumberNum()), 2.718281828459045, 1e-15);
  // 1/3 stays extended within a term; a parenthesis rounds it to double.
  Calc->SetCalcLine("1/3*3");
  EXPECT_EQ(Calc->NumberNum(), 1.0L);
  Calc->SetCalcLine("(1/3)*3");
  EXPECT_EQ(Calc->NumberNum(), (long double)(1.0 / 3) * 3);
}

TEST(Calc, RandomDrawsFromTheRuntimesSequence) {
  auto Calc = NewCalc();
  const uint32_t Saved = RandSeed;
  RandSeed = 2026;
  uint32_t Seed = 2026;
  for (int I = 0; I < 20; ++I) {
    Calc->SetCalcLine("RANDOM(10)");
    ASSERT_EQ(Calc->CalcResult(), TqcOK);
    EXPECT_EQ(Calc->NumberNum(), RandomFrom(Seed, 10)) << "draw " << I;
    Calc->SetCalcLine("RANDOM(0)");
    RandomFrom(Seed, 0);
    EXPECT_EQ(Calc->NumberNum(), (long double)(double(Seed) * (1.0 / 4294967296.0)));
    EXPECT_GE(Calc->NumberNum(), 0);
    EXPECT_LT(Calc->NumberNum(), 1);
  }
  Calc->SetCalcLine("RANDOM(2.5)");  // 2 draws: 0 or 1
  EXPECT_LT(Calc->NumberNum(), 2);
  Calc->SetCalcLine("RANDOM(0-5)");
  EXPECT_EQ(Calc->NumberNum(), 0);
  EXPECT_EQ(Calc->CalcResult(), TqcOK);
  for (const char* Huge : {"RANDOM(10^30)", "RANDOM(2^31)", "RANDOM(0-2^31-1)"}) {
    Calc->SetCalcLine(Huge);
    EXPECT_EQ(Calc->CalcResult(), TqcOverFlow) << Huge;
    EXPECT_EQ(Calc->NumberNum(), 0) << Huge;
  }
  RandSeed = Saved;
}

TEST(Calc, RegistersTakeEveryResultFailedOrNot) {
  auto Calc = NewCalc();
  Calc->SetCalcLine("41");
  Calc->SetCalcLine("A+1");
  EXPECT_EQ(Calc->NumberNum(), 42);
  EXPECT_EQ(Calc->RegisterNum(0), 42);
  EXPECT_EQ(Calc->RegisterNum(1), 41);
  // Ten more results: each one moves down, the oldest falls off after J.
  for (int I = 1; I <= 10; ++I) Calc->SetCalcLine(std::to_string(I).c_str());
  for (int R = 0; R < TqCalc::RegisterCount; ++R) EXPECT_EQ(Calc->RegisterNum(R), 10 - R) << "register " << R;
  Calc->SetCalcLine("J+I+H+G+F+D+C+B+A");
  EXPECT_EQ(Calc->NumberNum(), 2 + 3 + 4 + 5 + 6 + 7 + 8 + 9 + 10);
  // A failed line is pushed all the same; after an exception the value is 0.
  Calc->SetCalcLine("7/0");
  EXPECT_EQ(Calc->RegisterNum(0), 7);
  Calc->SetCalcLine("EXP(100000)");
  EXPECT_EQ(Calc->RegisterNum(0), 0);
  EXPECT_EQ(Calc->RegisterNum(1), 7);
  Calc->SetPushResult(false);
  Calc->SetCalcLine("5");
  EXPECT_EQ(Calc->RegisterNum(0), 0);
  EXPECT_EQ(Calc->NumberNum(), 5);
  // Registers written through their properties; there is no register E.
  SetFloatProp(Calc.get(), "RegisterJNum", 2.5L);
  Calc->SetCalcLine("J*2");
  EXPECT_EQ(Calc->NumberNum(), 5);
  EXPECT_EQ(GetPropInfo(Calc.get(), "RegisterENum"), nullptr);
  Calc->SetCalcLine("E");
  EXPECT_NEAR(double(Calc->NumberNum()), 2.718281828459045, 1e-15);
}

TEST(Calc, HostFunctions) {
  auto Calc = NewCalc();
  TCalcEvents Ev;
  Calc->OnFindUserFunc = EVENT(&Ev, TCalcEvents::Find);
  // Accepted without OnUserFunc: the argument itself.
  Calc->SetCalcLine("foo(2)+1");
  EXPECT_EQ(Calc->CalcResult(), TqcOK);
  EXPECT_EQ(Calc->NumberNum(), 3);
  ASSERT_EQ(Ev.Lookups.size(), 1u);
  EXPECT_EQ(Ev.Lookups[0], "FOO");
  Calc->OnUserFunc = EVENT(&Ev, TCalcEvents::Func);
  Calc->SetCalcLine("FOO(2)+FOO_BAR_BAZ_QUUX(3)");
  EXPECT_EQ(Calc->CalcResult(), TqcOK);
  EXPECT_EQ(Calc->NumberNum(), 500);
  ASSERT_EQ(Ev.Calls.size(), 2u);
  EXPECT_EQ(Ev.Calls[0].first, "FOO");
  EXPECT_EQ(Ev.Calls[0].second, 2);
  EXPECT_EQ(Ev.Calls[1].first, "FOO_BAR_BA") << "ten characters kept";
  // Refused: the name is missing.
  Calc->SetCalcLine("BAR(1)");
  EXPECT_EQ(Calc->CalcResult(), TqcFunctionMissing);
  EXPECT_EQ(Calc->WhereIsLastError(), 4);
  // Table names never reach the host.
  Ev.Lookups.clear();
  Calc->SetCalcLine("SIN(0)+A");
  EXPECT_TRUE(Ev.Lookups.empty());
  // A host function that raises: overflow, the value 0, nothing reaches the caller.
  Ev.Throw = true;
  Calc->SetCalcLine("1+FOO(2)");
  EXPECT_EQ(Calc->CalcResult(), TqcOverFlow);
  EXPECT_EQ(Calc->NumberNum(), 0);
  EXPECT_EQ(Calc->RegisterNum(0), 0);
}

// Host functions whose names start with U; each records the name, the argument and the cursor.
class THostNames : public TObject {
public:
  struct TCall {
    std::string Name;
    long double Value;
    int Where;
  };
  std::vector<TCall> Calls;
  std::vector<int> FindWhere;
  void Find(TObject* Sender, const AnsiString& Name, bool& Accept) {
    FindWhere.push_back(static_cast<TqCalc*>(Sender)->WhereIsLastError());
    Accept = Name.str().rfind('U', 0) == 0;
  }
  void Func(TObject* Sender, const AnsiString& Name, long double Value, long double& Result) {
    Calls.push_back({Name.str(), Value, static_cast<TqCalc*>(Sender)->WhereIsLastError()});
    Result = Value * 100;
  }
};

TEST(Calc, EachHostCallGetsItsOwnName) {
  struct TCase {
    const char* Line;
    std::vector<std::pair<std::string, long double>> Calls;
    long double Number;
  };
  const TCase Cases[] = {
      {"UFOO(PI)", {{"UFOO", Pi}}, 100 * Pi},
      {"UFOO(UINNER(3))", {{"UINNER", 3}, {"UFOO", 300}}, 30000},
      {"UFOO(B/2)", {{"UFOO", 4}}, 400},
      {"UFOO(UINNER(UDEEP(1))+2)", {{"UDEEP", 1}, {"UINNER", 100}, {"UFOO", 10002}}, 1000200},
      {"UFOO(SIN(0))+UBAR(E-E)", {{"UFOO", 0}, {"UBAR", 0}}, 0},
  };
  for (const TCase& T : Cases) {
    SCOPED_TRACE(T.Line);
    auto Calc = NewCalc();
    THostNames Host;
    Calc->OnFindUserFunc = EVENT(&Host, THostNames::Find);
    Calc->OnUserFunc = EVENT(&Host, THostNames::Func);
    Calc->SetRegisterNum(1, 8);
    Calc->SetCalcLine(T.Line);
    EXPECT_EQ(Calc->CalcResult(), TqcOK);
    EXPECT_DOUBLE_EQ(double(Calc->NumberNum()), double(T.Number));  // factors are doubles
    ASSERT_EQ(Host.Calls.size(), T.Calls.size());
    for (size_t I = 0; I < T.Calls.size(); ++I) {
      EXPECT_EQ(Host.Calls[I].Name, T.Calls[I].first) << I;
      EXPECT_DOUBLE_EQ(double(Host.Calls[I].Value), double(T.Calls[I].second)) << I;
    }
  }
}

// A host function that writes CalcLine: the new line is evaluated completely, then the outer
// evaluation goes on over its own text.
class TLineWriter : public THostNames {
public:
  std::string NewLine;
  struct TSeen {
    long double Number;
    long double RegA;
    int Where;
    TqCalcResult Result;
  } Seen{};
  void Func(TObject* Sender, const AnsiString& Name, long double Value, long double& Result) {
    THostNames::Func(Sender, Name, Value, Result);
    if (Name.str() != "UHOST") return;
    auto* C = static_cast<TqCalc*>(Sender);
    C->SetCalcLine(NewLine.c_str());
    Seen = {C->NumberNum(), C->RegisterNum(0), C->WhereIsLastError(), C->CalcResult()};
  }
};

TEST(Calc, HostEventThatWritesTheLine) {
  const std::string Outer = "UHOST(1) + 2 + 3 + 4 + 5 + 6 + 7 + 8 + 9";
  std::string Long;  // 140 characters, value 70
  while (Long.size() < 139) Long += Long.empty() ? "1" : "+1";
  Long += "0";  // the last 1 becomes 10
  ASSERT_EQ(Long.size(), 140u);
  struct TCase {
    std::string NewLine;
    long double NewValue;
    TqCalcResult NewResult;
    int NewWhere;
  };
  const TCase Cases[] = {
      {Long, 79, TqcOK, 141},
      {"7", 7, TqcOK, 2},
      {"1/0", 1, TqcDivZero, 4},
      {"UNEST(2)", 200, TqcOK, 9},  // a host function inside the new line
  };
  for (const TCase& T : Cases) {
    SCOPED_TRACE(T.NewLine);
    auto Calc = NewCalc();
    TLineWriter Host;
    TCalcEvents Ev;
    Ev.Attach(Calc.get());
    Host.NewLine = T.NewLine;
    Calc->OnFindUserFunc = EVENT(&Host, TLineWriter::Find);
    Calc->OnUserFunc = EVENT(&Host, TLineWriter::Func);
    Calc->SetCalcLine(Outer.c_str());
    // Inside the event, the new line's own outcome.
    EXPECT_EQ(Host.Seen.Number, T.NewValue);
    EXPECT_EQ(Host.Seen.RegA, T.NewValue);
    EXPECT_EQ(Host.Seen.Result, T.NewResult);
    EXPECT_EQ(Host.Seen.Where, T.NewWhere);
    // The outer line's outcome: UHOST(1) gives 100.
    EXPECT_EQ(Calc->CalcResult(), TqcOK);
    EXPECT_EQ(Calc->NumberNum(), 144);
    EXPECT_EQ(Calc->WhereIsLastError(), int(Outer.size()) + 1);
    EXPECT_EQ(Calc->RegisterNum(0), 144);
    EXPECT_EQ(Calc->RegisterNum(1), T.NewValue);
    EXPECT_EQ(Calc->CalcLine(), T.NewLine.c_str()) << "the text last written";
    EXPECT_EQ(Ev.OKs + int(Ev.Errors.size()), 2) << "one outcome per line";
    // The cursor the events saw: after the name, then after the argument.
    ASSERT_GE(Host.FindWhere.size(), 1u);
    EXPECT_EQ(Host.FindWhere[0], 6);
    ASSERT_GE(Host.Calls.size(), 1u);
    EXPECT_EQ(Host.Calls[0].Name, "UHOST");
    EXPECT_EQ(Host.Calls[0].Where, 9);
  }
  // An error in the outer line after the new one: the outer's code and position, its own text.
  auto Calc = NewCalc();
  TLineWriter Host;
  TCalcEvents Ev;
  Ev.Attach(Calc.get());
  Host.NewLine = Long;
  Calc->OnFindUserFunc = EVENT(&Host, TLineWriter::Find);
  Calc->OnUserFunc = EVENT(&Host, TLineWriter::Func);
  Calc->SetCalcLine("UHOST(1)+(2");
  EXPECT_EQ(Calc->CalcResult(), TqcRightPar);
  EXPECT_EQ(Calc->WhereIsLastError(), 12);
  ASSERT_EQ(Ev.Errors.size(), 1u);
  EXPECT_EQ(Ev.Errors[0].Line, "UHOST(1)+(2");
  EXPECT_EQ(Ev.Errors[0].Where, 12);
  EXPECT_EQ(Ev.Errors[0].Result, TqcRightPar);
}

TEST(Calc, CursorInsideTheEvents) {
  auto Calc = NewCalc();
  THostNames Host;
  Calc->OnFindUserFunc = EVENT(&Host, THostNames::Find);
  Calc->OnUserFunc = EVENT(&Host, THostNames::Func);
  Calc->SetCalcLine("1+2+3+4+5+6+7+8");  // a previous line ending far to the right
  Calc->SetCalcLine("UA(1)+ UB( 2 )");
  ASSERT_EQ(Host.FindWhere.size(), 2u);
  EXPECT_EQ(Host.FindWhere[0], 3);
  EXPECT_EQ(Host.FindWhere[1], 10);
  ASSERT_EQ(Host.Calls.size(), 2u);
  EXPECT_EQ(Host.Calls[0].Where, 6);
  EXPECT_EQ(Host.Calls[1].Where, 15);
}

TEST(Calc, EventsTellTheOutcome) {
  auto Calc = NewCalc();
  TCalcEvents Ev;
  Ev.Attach(Calc.get());
  Calc->SetCalcLine("1+1");
  EXPECT_EQ(Ev.OKs, 1);
  EXPECT_TRUE(Ev.Errors.empty());
  Calc->SetCalcLine("(1+2");
  ASSERT_EQ(Ev.Errors.size(), 1u);
  EXPECT_EQ(Ev.Errors[0].Line, "(1+2") << "the line without its end marker";
  EXPECT_EQ(Ev.Errors[0].Where, 5);
  EXPECT_EQ(Ev.Errors[0].Result, TqcRightPar);
  EXPECT_EQ(Calc->CalcLine(), "(1+2");
  EXPECT_EQ(Ev.OKs, 1);
  Calc->SetCalcLine(std::string(300, '1').c_str());
  EXPECT_EQ(Calc->CalcLine().Length(), TqCalc::MaxLine);
}

TEST(Calc, ValuesAsTextFollowTheFormatLine) {
  auto Calc = NewCalc();
  TCalcEvents Ev;
  Ev.Attach(Calc.get());
  Calc->SetCalcLine("42");
  EXPECT_EQ(Calc->Number(), "4.20000000000000E+001");
  Calc->SetFormatLine("%8.3f");
  EXPECT_EQ(Calc->Number(), "  42.000");
  EXPECT_EQ(GetStrProp(Calc.get(), "RegisterA"), "  42.000");
  EXPECT_EQ(GetStrProp(Calc.get(), "RegisterB"), "   0.000");
  Calc->SetFormatLine("[%g]");
  EXPECT_EQ(Calc->Number(), "[42]");
  Calc->SetCalcLine("7/0");  // the result code the format error interrupts
  Ev.Errors.clear();
  for (const char* Bad : {"%d", "%s", "%e %e", "%", "%*e", "%999999999e", "%x"}) {
    SCOPED_TRACE(Bad);
    Calc->SetFormatLine(Bad);
    const size_t Before = Ev.Errors.size();
    EXPECT_EQ(Calc->Number(), "");
    EXPECT_EQ(GetStrProp(Calc.get(), "RegisterC"), "");
    ASSERT_EQ(Ev.Errors.size(), Before + 2);
    EXPECT_EQ(Ev.Errors[Before].Line, Bad);
    EXPECT_EQ(Ev.Errors[Before].Where, 0);
    EXPECT_EQ(Ev.Errors[Before].Result, TqcFormatError);
    EXPECT_EQ(Calc->CalcResult(), TqcDivZero) << "restored after the call";
  }
}

TEST(Calc, ReadFromAFormAfterEveryProperty) {
  auto Calc = NewCalc();
  TStringStream Text(
      "object Calc: TqCalc\n"
      "  CalcLine = 'A*2'\n"
      "  FormatLine = '%.1f'\n"
      "  RegisterANum = 20.5\n"
      "end\n");
  TMemoryStream Bin;
  ObjectTextToBinary(&Text, &Bin);
  Bin.SetPosition(0);
  ReadComponentRes(&Bin, Calc.get());
  EXPECT_EQ(Calc->NumberNum(), 41);
  EXPECT_EQ(Calc->Number(), "41.0");
  // The stored registers stay as read: the line's result was pushed when it was set.
  EXPECT_EQ(Calc->RegisterNum(0), 20.5L);
  EXPECT_EQ(Calc->RegisterNum(1), 0.0L);
  EXPECT_TRUE(Calc->PushResult());
  // Written back: the line and the settings, not the results.
  TMemoryStream Out;
  WriteComponentRes(&Out, Calc.get());
  Out.SetPosition(0);
  TStringStream Back("");
  ObjectBinaryToText(&Out, &Back);
  const std::string S = Back.DataString().str();
  EXPECT_NE(S.find("CalcLine = 'A*2'"), std::string::npos) << S;
  EXPECT_EQ(S.find("Number ="), std::string::npos) << S;
  EXPECT_EQ(S.find("CalcResult"), std::string::npos) << S;
}

TEST(Calc, PublishedDefaultsMatchAFreshCalculator) { ExpectClassDefaultsMatch(TqCalc::StaticClass()); }

}  // namespace
