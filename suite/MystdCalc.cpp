#include "suite/MystdCalc.h"

#include "rtl/SysUtils.h"
#include "suite/MystdMaths.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string_view>

constexpr TEnumType TqCalcResultType{
    "TqCalcResult", {"TqcOK", "TqcNumberMissing", "TqcFunctionMissing", "TqcLeftPar", "TqcRightPar",
                     "TqcDivZero", "TqcOverFlow", "TqcFormatError"}};

namespace {

constexpr std::string_view FunctionNames[] = {
    "A",   "B",    "C",    "D",   "F",   "G",      "H",      "I",      "J",  "PI",
    "E",   "EXP",  "SIN",  "COS", "ARCTAN", "ABS", "FRAC",   "ARCSIN", "ARCCOS", "LN",
    "LOG", "SQR",  "SQRT", "ROUND", "TRUNC", "CEILING", "FLOOR", "RANDOM",
};
static_assert(sizeof FunctionNames / sizeof *FunctionNames == qUser);

constexpr int MaxName = 10;

[[noreturn]] void InvalidOp() { throw EInvalidOp("Invalid floating point operation"); }
[[noreturn]] void Overflow() { throw EOverflow("Floating point overflow"); }

// An arithmetic result: a NaN is an invalid operation, an infinity an overflow.
long double Checked(long double V) {
  if (V - V != 0) {  // only for a NaN or an infinity; cheaper than classifying every value
    if (V != V) InvalidOp();
    Overflow();
  }
  return V;
}

// A factor's value in double precision; the store rounds it on the x87 as well.
double ToDouble(long double V) {
  if (std::fabs(Checked(V)) > DBL_MAX) Overflow();
  volatile double D = double(V);
  return D;
}

char Upper(char C) { return C >= 'a' && C <= 'z' ? char(C - 'a' + 'A') : C; }

// Whether X converts to a 64-bit integer (false for a NaN).
bool InInt64Range(long double X) { return X >= -0x1p63L && X < 0x1p63L; }

}  // namespace

// The recursive descent over one line. It keeps its own copy of the line, its own cursor
// (1-based, never past the end marker, so every read stays inside the line) and its own result
// code: a host event may write CalcLine, whose evaluation runs in full before this one goes on.
// The calculator's CalcResult and WhereIsLastError show this evaluation's state to every event.
class TqCalc::TEvaluator {
public:
  explicit TEvaluator(TqCalc& Calc) : C(Calc), Line(Calc.FLine) {}
  unsigned Where() const { return Pos; }
  TqCalcResult Result() const { return FResult; }
  AnsiString Text() const { return AnsiString(Line.substr(0, Line.size() - 1)); }

  // The top-level expression; a fault the arithmetic or a host event raises is an overflow.
  long double Run() {
    try {
      return Expression();
    } catch (...) {
      FResult = TqcOverFlow;
      return 0;
    }
  }

private:
  // Udtryk: [-] term, then + or - terms.
  long double Expression() {
    long double V = Next() == '-' ? 0 : Term();
    for (char Op; ((Op = Next()) == '+' || Op == '-') && Ok();) {
      Consume();
      const long double T = Term();
      V = Checked(Op == '+' ? V + T : V - T);
    }
    return V;
  }

  // The only read of the line.
  char At(unsigned P) const {
    if (P < 1 || P > Line.size()) std::abort();
    return Line[P - 1];
  }
  // NaesteTegn: skips blanks and shows the character at the cursor.
  char Next() {
    while (At(Pos) == ' ') ++Pos;
    return At(Pos);
  }
  void Consume() {
    if (At(Pos) != '\r') ++Pos;
  }
  bool Ok() const { return FResult == TqcOK; }
  // The first error stands.
  void Fail(TqCalcResult R) {
    if (Ok()) FResult = R;
  }
  // Calls a host event with this evaluation's state on show.
  template <class TCall> void Host(TCall&& Call) {
    C.FCalcResult = FResult;
    C.FWhere = uint8_t(Pos);
    Call();
  }

  // Led: factors joined by *, / and ^, one level, from the left.
  long double Term() {
    long double V = Factor();
    for (char Op; ((Op = Next()) == '*' || Op == '/' || Op == '^') && Ok();) {
      Consume();
      const double F = Factor();
      if (Op == '*') V = Checked(V * F);
      else if (Op == '^') V = Power(V, F);
      else if (F == 0) Fail(TqcDivZero);
      else V = Checked(V / F);
    }
    return V;
  }

  // Faktor: a parenthesis, a name or a number, held in double precision.
  double Factor() {
    const char Ch = Upper(Next());
    if (Ch == '(') return ToDouble(Parens());
    if (Ch >= 'A' && Ch <= 'Z') return ToDouble(NameValue());
    return ToDouble(Number());
  }

  // Parantes: "(" expression ")"; a missing parenthesis is an error and is stepped over all
  // the same (but not the end marker).
  long double Parens() {
    if (Next() != '(') Fail(TqcLeftPar);
    Consume();
    long double V = 0;
    if (Ok()) V = Expression();
    if (Ok() && Next() != ')') Fail(TqcRightPar);
    Consume();
    return V;
  }

  // Tal: digits, then "," or "." and digits; no sign, no exponent.
  long double Number() {
    long double V = 0;
    bool Digits = false;
    for (char Ch; (Ch = At(Pos)) >= '0' && Ch <= '9'; Consume()) {
      V = V * 10 + (Ch - '0');
      Digits = true;
    }
    if (const char Ch = At(Pos); Ch == ',' || Ch == '.') {
      Consume();
      long double Weight = 1;
      for (char D; (D = At(Pos)) >= '0' && D <= '9'; Consume()) {
        Weight /= 10;
        V += (D - '0') * Weight;
        Digits = true;
      }
    }
    if (!Digits) Fail(TqcNumberMissing);
    return V;
  }

  // FuncNr: the letters and underscores at the cursor, all consumed, the first ten kept. Factors
  // are read only while no error is set, so a name the host accepts clears the one set here.
  FuncFunc Name() {
    NameLength = 0;
    for (char Ch; (Ch = Upper(At(Pos))) == '_' || (Ch >= 'A' && Ch <= 'Z'); Consume())
      if (NameLength < MaxName) NameText[NameLength++] = Ch;
    const std::string_view N(NameText, NameLength);
    for (int I = 0; I < int(qUser); ++I)
      if (N == FunctionNames[I]) return FuncFunc(I);
    Fail(TqcFunctionMissing);
    bool Accept = false;
    if (C.OnFindUserFunc) Host([&] { C.OnFindUserFunc(&C, LastName(), Accept); });
    if (Accept) FResult = TqcOK;
    return qUser;
  }

  long double NameValue() {
    const FuncFunc F = Name();
    if (!Ok()) return 0;
    if (F <= qJ) return C.FRegisters[F];
    if (F == qPi) return std::numbers::pi_v<long double>;
    if (F == qE) return std::numbers::e_v<long double>;
    // The argument may read further names; the host function keeps its own.
    const AnsiString Func = F == qUser ? LastName() : AnsiString();
    const long double X = Parens();
    if (!Ok()) return 0;
    if (F != qUser) return Apply(F, X);
    long double R = X;
    if (C.OnUserFunc) Host([&] { C.OnUserFunc(&C, Func, X, R); });
    return R;
  }

  // A domain error: TqcDivZero and the value 0.
  long double Domain() {
    Fail(TqcDivZero);
    return 0;
  }
  // Integer part toward 0; TqcOverFlow and 0 beyond the 64-bit range.
  long double Trunc(long double X) {
    if (InInt64Range(X)) return std::trunc(X);
    Fail(TqcOverFlow);
    return 0;
  }

  long double Apply(FuncFunc F, long double X) {
    switch (F) {
      case qExp: return Checked(std::exp(X));
      case qSin: return Checked(std::sin(X));
      case qCos: return Checked(std::cos(X));
      case qArcTan: return std::atan(X);
      case qAbs: return std::fabs(X);
      case qFrac: return X - std::trunc(X);
      case qArcSin: return X > -1 && X < 1 ? ArcSin(X) : Domain();
      case qArcCos: return X > -1 && X < 1 ? ArcCos(X) : Domain();
      case qLn: return X > 0 ? std::log(X) : Domain();
      case qLog: return X > 0 ? Log10(X) : Domain();
      case qSqr: return Checked(X * X);
      case qSqrt: return X >= 0 ? std::sqrt(X) : Domain();
      case qRound:
        if (InInt64Range(X)) return std::nearbyint(X);  // the default mode: halves to even
        Fail(TqcOverFlow);
        return 0;
      case qTrunc: return Trunc(X);
      case qCeiling: {
        const long double T = Trunc(X);
        return Ok() && X - T > 0 ? T + 1 : T;
      }
      case qFloor: return X - std::trunc(X) < 0 ? Trunc(X - 1) : Trunc(X);
      case qRandom: {
        if (X == 0) return Random();
        const long double N = std::nearbyint(X);
        if (!(N >= -0x1p31L && N < 0x1p31L)) {
          Fail(TqcOverFlow);
          return 0;
        }
        return Random(int(N));
      }
      default: return 0;
    }
  }

  TqCalc& C;
  const std::string Line;
  unsigned Pos = 1;
  TqCalcResult FResult = TqcOK;
  // The last name read, upper case.
  char NameText[MaxName];
  size_t NameLength = 0;
  AnsiString LastName() const { return AnsiString(std::string(NameText, NameLength)); }
};

TqCalc::TqCalc(TComponent* AOwner) : TComponent(AOwner) {}

void TqCalc::Loaded() {
  TComponent::Loaded();
  if (!FLinePending) return;
  FLinePending = false;
  // The stored registers already hold what this line pushed when it was set: keep them.
  struct TRestorePush {
    TqCalc* Calc;
    bool Push;
    ~TRestorePush() { Calc->FPushResult = Push; }
  } Restore{this, FPushResult};
  FPushResult = false;
  Evaluate();
}

AnsiString TqCalc::CalcLine() const { return AnsiString(FLine.substr(0, FLine.size() - 1)); }

void TqCalc::SetCalcLine(const AnsiString& Value) {
  const std::string& S = Value.str();
  if (S.empty()) FLine.assign("0");
  else FLine.assign(S, 0, MaxLine);
  FLine += '\r';
  if (HasState(csLoading)) {
    FLinePending = true;
    return;
  }
  Evaluate();
}

void TqCalc::Evaluate() {
  TEvaluator Evaluator(*this);
  const long double R = Evaluator.Run();
  FCalcResult = Evaluator.Result();
  FWhere = uint8_t(Evaluator.Where());
  if (FPushResult) {
    for (int I = RegisterCount - 1; I > 0; --I) FRegisters[I] = FRegisters[I - 1];
    FRegisters[0] = R;
  }
  FNumber = R;
  if (FCalcResult != TqcOK) {
    if (OnError) OnError(this, Evaluator.Text(), FWhere);
  } else if (OnOK) {
    OnOK(this);
  }
}

AnsiString TqCalc::FormatValue(long double Value) const {
  try {
    return Format(FFormatLine.IsEmpty() ? AnsiString("%e") : FFormatLine, {Value});
  } catch (const Exception&) {
  }
  const TqCalcResult Saved = FCalcResult;
  struct TRestore {
    const TqCalc* Calc;
    TqCalcResult Saved;
    ~TRestore() { Calc->FCalcResult = Saved; }
  } Restore{this, Saved};
  FCalcResult = TqcFormatError;
  if (OnError) OnError(const_cast<TqCalc*>(this), FFormatLine, 0);
  return AnsiString();
}

static constinit const TPropInfo TqCalc_Props[] = {
    PropEvent<&TqCalc::OnFindUserFunc>("OnFindUserFunc"),
    PropEvent<&TqCalc::OnUserFunc>("OnUserFunc"),
    PropBool<&TqCalc::PushResult, &TqCalc::SetPushResult>("PushResult", true),
    PropEnum<&TqCalc::CalcResult, &TqCalc::IgnoreResult>("CalcResult", TqCalcResultType, TqcOK, NeverStored),
    PropInt<&TqCalc::WhereIsLastError, &TqCalc::IgnoreWhere>("WhereIsLastError", 1, NeverStored),
    PropStr<&TqCalc::CalcLine, &TqCalc::SetCalcLine>("CalcLine"),
    PropStr<&TqCalc::FormatLine, &TqCalc::SetFormatLine>("FormatLine"),
    PropStr<&TqCalc::Number, &TqCalc::IgnoreText>("Number", NeverStored),
    PropStr<&TqCalc::RegText<0>, &TqCalc::IgnoreText>("RegisterA", NeverStored),
    PropStr<&TqCalc::RegText<1>, &TqCalc::IgnoreText>("RegisterB", NeverStored),
    PropStr<&TqCalc::RegText<2>, &TqCalc::IgnoreText>("RegisterC", NeverStored),
    PropStr<&TqCalc::RegText<3>, &TqCalc::IgnoreText>("RegisterD", NeverStored),
    PropStr<&TqCalc::RegText<4>, &TqCalc::IgnoreText>("RegisterF", NeverStored),
    PropStr<&TqCalc::RegText<5>, &TqCalc::IgnoreText>("RegisterG", NeverStored),
    PropStr<&TqCalc::RegText<6>, &TqCalc::IgnoreText>("RegisterH", NeverStored),
    PropStr<&TqCalc::RegText<7>, &TqCalc::IgnoreText>("RegisterI", NeverStored),
    PropStr<&TqCalc::RegText<8>, &TqCalc::IgnoreText>("RegisterJ", NeverStored),
    PropFloat<&TqCalc::RegNum<0>, &TqCalc::SetRegNum<0>>("RegisterANum"),
    PropFloat<&TqCalc::RegNum<1>, &TqCalc::SetRegNum<1>>("RegisterBNum"),
    PropFloat<&TqCalc::RegNum<2>, &TqCalc::SetRegNum<2>>("RegisterCNum"),
    PropFloat<&TqCalc::RegNum<3>, &TqCalc::SetRegNum<3>>("RegisterDNum"),
    PropFloat<&TqCalc::RegNum<4>, &TqCalc::SetRegNum<4>>("RegisterFNum"),
    PropFloat<&TqCalc::RegNum<5>, &TqCalc::SetRegNum<5>>("RegisterGNum"),
    PropFloat<&TqCalc::RegNum<6>, &TqCalc::SetRegNum<6>>("RegisterHNum"),
    PropFloat<&TqCalc::RegNum<7>, &TqCalc::SetRegNum<7>>("RegisterINum"),
    PropFloat<&TqCalc::RegNum<8>, &TqCalc::SetRegNum<8>>("RegisterJNum"),
    PropFloat<&TqCalc::NumberNum, &TqCalc::IgnoreNumber>("NumberNum", NeverStored),
    PropEvent<&TqCalc::OnError>("OnError"),
    PropEvent<&TqCalc::OnOK>("OnOK"),
};
ORV_IMPLEMENT_COMPONENT(TqCalc, TComponent, TqCalc_Props)

namespace {
const struct TCalcRegistration {
  TCalcRegistration() { RegisterClass(TqCalc::StaticClass()); }
} CalcRegistration;
}  // namespace
