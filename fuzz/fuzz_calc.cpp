// The calculator over any line and any format template, host functions on: nothing escapes the
// setter, no read leaves the line (its one accessor aborts otherwise), the error position stays
// inside the line, a result of TqcOK is always finite, and a bad template only gives an empty
// text with OnError. Input: one byte N, then N bytes of template, then the line.
#include "suite/MystdCalc.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Check(bool Condition) {
  if (!Condition) __builtin_trap();
}

class THost : public TObject {
public:
  int Errors = 0;
  int FormatErrors = 0;
  TqCalc* Calc = nullptr;

  // Names with an even letter count are the host's.
  void Find(TObject*, const AnsiString& Name, bool& Accept) { Accept = Name.Length() % 2 == 0; }
  // Every kind of answer: values, faults and non-numbers.
  void Func(TObject*, const AnsiString& Name, long double Value, long double& Result) {
    if (Value > 1e9) throw EConvertError("too big");
    if (Value < -1e9) Result = NAN;
    else if (Name.Length() == 4) Result = INFINITY;
    else Result = Value * 3;
  }
  void Error(TObject*, const AnsiString& Line, uint8_t Where) {
    if (Where == 0) {
      Check(Calc->CalcResult() == TqcFormatError);
      ++FormatErrors;
    } else {
      Check(Calc->CalcResult() != TqcOK && Calc->CalcResult() != TqcFormatError);
      Check(Where <= Line.Length() + 1);
      ++Errors;
    }
  }
};

void Run(THost& Host, TqCalc* Calc, const std::string& Line) {
  const int Before = Host.Errors;
  Calc->SetCalcLine(AnsiString(Line));
  const int Length = Calc->CalcLine().Length();
  Check(Length <= TqCalc::MaxLine);
  Check(Calc->WhereIsLastError() >= 1 && Calc->WhereIsLastError() <= Length + 1);
  Check(std::isfinite(Calc->NumberNum()));
  Check(Calc->RegisterNum(0) == Calc->NumberNum());
  Check((Calc->CalcResult() != TqcOK) == (Host.Errors == Before + 1));
  const TqCalcResult Result = Calc->CalcResult();
  const int FormatErrors = Host.FormatErrors;
  const AnsiString Text = Calc->Number();
  Check(Calc->CalcResult() == Result);
  // A template that formats gives some text; one that does not, an empty one and one OnError.
  Check(Host.FormatErrors == FormatErrors + (Text.IsEmpty() ? 1 : 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const size_t N = Data[0] < Size ? Data[0] : Size - 1;
  const std::string Template(reinterpret_cast<const char*>(Data + 1), N);
  const std::string Line(reinterpret_cast<const char*>(Data + 1 + N), Size - 1 - N);

  THost Host;
  TqCalc* Calc = TComponent::Create<TqCalc>(nullptr);
  Host.Calc = Calc;
  Calc->OnFindUserFunc = EVENT(&Host, THost::Find);
  Calc->OnUserFunc = EVENT(&Host, THost::Func);
  Calc->OnError = EVENT(&Host, THost::Error);
  Calc->SetFormatLine(AnsiString(Template));
  // Twice, so the second line reads what the first one pushed.
  Run(Host, Calc, Line);
  Run(Host, Calc, Line);
  TObject::Free(Calc);
  return 0;
}
