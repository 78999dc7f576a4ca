// TqCalc: evaluates one line of arithmetic at a time by recursive descent. Portable (no Windows
// headers): it builds natively too, for its tests under the sanitizers and its fuzz target.
#pragma once
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

#include <cstdint>
#include <string>

enum TqCalcResult {
  TqcOK, TqcNumberMissing, TqcFunctionMissing, TqcLeftPar, TqcRightPar, TqcDivZero, TqcOverFlow,
  TqcFormatError
};
extern const TEnumType TqCalcResultType;

// The names a line may use, in table order; qUser is a name the host accepted.
enum FuncFunc {
  qA, qB, qC, qD, qF, qG, qH, qI, qJ, qPi, qE, qExp, qSin, qCos, qArcTan, qAbs, qFrac, qArcSin,
  qArcCos, qLn, qLog, qSqr, qSqrt, qRound, qTrunc, qCeiling, qFloor, qRandom, qUser
};

using TCalcErrorEvent = TClosure<TObject* /*Sender*/, const AnsiString& /*CalcLine*/, uint8_t /*Where*/>;
// Sets Accept when the host supplies a function of that name (false on entry).
using TFindUserFunc = TClosure<TObject* /*Sender*/, const AnsiString& /*FuncName*/, bool& /*Accept*/>;
// Sets Result to the host function's value (the argument on entry).
using TUserFunc = TClosure<TObject* /*Sender*/, const AnsiString& /*FuncName*/, long double /*FuncValue*/,
                           long double& /*Result*/>;

class TqCalc : public TComponent {
  ORV_CLASS(TqCalc, TComponent)
public:
  // Register letters in order; there is no E (the letter names the constant e).
  static constexpr int RegisterCount = 9;
  // The longest line evaluated; longer text is cut.
  static constexpr int MaxLine = 254;

  explicit TqCalc(TComponent* AOwner);
  void Loaded() override;

  // The line without its end marker. Setting it evaluates it at once (after loading, when read
  // from a form, then without pushing: the stored registers hold it already): the result goes to
  // Number and, with PushResult, onto the registers (A takes it, B the old A, ... J the old I),
  // also when the line failed; errors go to CalcResult,
  // WhereIsLastError and OnError, never to the caller. A fault the arithmetic raises gives
  // TqcOverFlow and the value 0. A host event may write it: the new line is evaluated in full,
  // then the interrupted line goes on over its own text and its end sets the outcome.
  AnsiString CalcLine() const;
  void SetCalcLine(const AnsiString& Value);

  TqCalcResult CalcResult() const { return FCalcResult; }
  // The 1-based position in the line where evaluation stopped (1 .. the end marker); inside a
  // host event, the cursor of the evaluation under way.
  uint8_t WhereIsLastError() const { return FWhere; }
  bool PushResult() const { return FPushResult; }
  void SetPushResult(bool Value) { FPushResult = Value; }
  const AnsiString& FormatLine() const { return FFormatLine; }
  void SetFormatLine(const AnsiString& Value) { FFormatLine = Value; }

  long double NumberNum() const { return FNumber; }
  // Register values by index (0 = A ... 8 = J).
  long double RegisterNum(int Index) const { return FRegisters[Index]; }
  void SetRegisterNum(int Index, long double Value) { FRegisters[Index] = Value; }
  template <int I> long double RegNum() const { return FRegisters[I]; }
  template <int I> void SetRegNum(long double Value) { FRegisters[I] = Value; }

  // Values as text: Format with FormatLine (or "%e" when it is empty). A template that does not
  // fit gives an empty text and OnError(Self, FormatLine, 0) with CalcResult TqcFormatError for
  // the call, restored afterwards.
  AnsiString Number() const { return FormatValue(FNumber); }
  template <int I> AnsiString RegText() const { return FormatValue(FRegisters[I]); }
  void IgnoreText(const AnsiString&) {}
  void IgnoreNumber(long double) {}
  void IgnoreResult(TqCalcResult) {}
  void IgnoreWhere(uint8_t) {}

  TCalcErrorEvent OnError;
  TNotifyEvent OnOK;
  TFindUserFunc OnFindUserFunc;
  TUserFunc OnUserFunc;

private:
  class TEvaluator;
  void Evaluate();
  AnsiString FormatValue(long double Value) const;

  std::string FLine = "0\r";  // always ends in the end marker #13
  // Also set for the length of a format error's OnError call, from const readers.
  mutable TqCalcResult FCalcResult = TqcOK;
  uint8_t FWhere = 1;
  bool FPushResult = true;
  bool FLinePending = false;  // set while loading, evaluated by Loaded
  AnsiString FFormatLine;
  long double FNumber = 0;
  long double FRegisters[RegisterCount] = {};
};
