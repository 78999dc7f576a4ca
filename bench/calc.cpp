// Calculator speed: lines per second through TqCalc::SetCalcLine over 10,000 generated lines
// (numbers, parentheses, functions, registers; 10 to 254 characters), beside a bare recursive
// descent of the same grammar over a const char* with the same maths routines, in the same run.
// Prints both rates and their ratio; never judges them.
#include "suite/MystdCalc.h"
#include "suite/MystdMaths.h"
#include "bench/BenchClock.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int LineCount = 10000;

// Random expressions that stay mostly inside the functions' domains.
class TLineMaker {
public:
  std::string Line(size_t Target) {
    std::string S = Piece(2);
    for (;;) {
      // Divisors are plain numbers, so a line rarely divides by 0.
      const char* Op = Ops[R() % 4];
      std::string Next = Op + (*Op == '/' ? Number() : Piece(1 + int(R() % 2)));
      if (S.size() + Next.size() > Target) break;
      S += Next;
    }
    while (S.size() < 10) S += "+1";
    return S;
  }

private:
  static constexpr const char* Ops[] = {"+", "-", "*", "/"};
  std::string Number() {
    std::string S = std::to_string(1 + R() % 999);
    if (R() % 2) S += "." + std::to_string(R() % 100);
    return S;
  }
  std::string Piece(int Depth) {
    const unsigned Kind = Depth > 0 ? R() % 6 : R() % 2;
    switch (Kind) {
      case 0: return Number();
      // Registers through bounded functions, so results do not grow from line to line.
      case 1: return std::string(R() % 2 ? "ARCTAN(" : "FRAC(") + "ABCDFGHIJ"[R() % 9] + ")";
      case 2: {
        static const char* Funcs[] = {"SIN", "COS", "ARCTAN", "ABS", "FRAC", "ROUND", "TRUNC", "FLOOR", "CEILING"};
        return std::string(Funcs[R() % 9]) + "(" + Piece(Depth - 1) + ")";
      }
      case 3: return "SQRT(ABS(" + Piece(Depth - 1) + "))";
      case 4: return "LN(1+ABS(" + Piece(Depth - 1) + "))";
      default: return "(" + Piece(Depth - 1) + " " + Ops[R() % 3] + " " + Piece(Depth - 1) + ")";
    }
  }
  std::mt19937 R{20260311u};
};

// The same grammar without positions, result codes, events or checks.
class TBareCalc {
public:
  long double Regs[9] = {};
  long double Run(const char* Line) {
    P = Line;
    long double V = Expression();
    for (int I = 8; I > 0; --I) Regs[I] = Regs[I - 1];
    return Regs[0] = V;
  }

private:
  char Next() {
    while (*P == ' ') ++P;
    return *P;
  }
  long double Expression() {
    long double V = Next() == '-' ? 0 : Term();
    for (char Op; (Op = Next()) == '+' || Op == '-';) {
      ++P;
      const long double T = Term();
      V = Op == '+' ? V + T : V - T;
    }
    return V;
  }
  long double Term() {
    long double V = Factor();
    for (char Op; (Op = Next()) == '*' || Op == '/' || Op == '^';) {
      ++P;
      const double F = Factor();
      if (Op == '*') V *= F;
      else if (Op == '^') V = Power(V, F);
      else if (F != 0) V /= F;
    }
    return V;
  }
  double Factor() {
    const char Ch = char(std::toupper((unsigned char)Next()));
    if (Ch == '(') return double(Parens());
    if (Ch >= 'A' && Ch <= 'Z') return double(Name());
    long double V = 0, W = 1;
    while (*P >= '0' && *P <= '9') V = V * 10 + (*P++ - '0');
    if (*P == '.' || *P == ',')
      for (++P; *P >= '0' && *P <= '9';) V += (*P++ - '0') * (W /= 10);
    return double(V);
  }
  long double Parens() {
    if (Next() == '(') ++P;
    long double V = Expression();
    if (Next() == ')') ++P;
    return V;
  }
  long double Name() {
    char N[11];
    int L = 0;
    for (; std::isalpha((unsigned char)*P) || *P == '_'; ++P)
      if (L < 10) N[L++] = char(std::toupper((unsigned char)*P));
    N[L] = 0;
    if (L == 1 && std::strchr("ABCDFGHIJ", N[0])) return Regs[std::strchr("ABCDFGHIJ", N[0]) - "ABCDFGHIJ"];
    if (!std::strcmp(N, "PI")) return 3.14159265358979323846L;
    if (!std::strcmp(N, "E")) return 2.71828182845904523536L;
    const long double X = Parens();
    if (!std::strcmp(N, "SIN")) return std::sin(X);
    if (!std::strcmp(N, "COS")) return std::cos(X);
    if (!std::strcmp(N, "ARCTAN")) return std::atan(X);
    if (!std::strcmp(N, "ABS")) return std::fabs(X);
    if (!std::strcmp(N, "FRAC")) return X - std::trunc(X);
    if (!std::strcmp(N, "SQR")) return X * X;
    if (!std::strcmp(N, "SQRT")) return X >= 0 ? std::sqrt(X) : 0;
    if (!std::strcmp(N, "LN")) return X > 0 ? std::log(X) : 0;
    if (!std::strcmp(N, "ROUND")) return std::nearbyint(X);
    if (!std::strcmp(N, "TRUNC")) return std::trunc(X);
    if (!std::strcmp(N, "FLOOR")) return std::floor(X);
    if (!std::strcmp(N, "CEILING")) return std::ceil(X);
    return X;
  }
  const char* P = nullptr;
};

}  // namespace

int main() {
  TLineMaker Maker;
  std::mt19937 Lengths(7u);
  std::vector<AnsiString> Lines;
  size_t Chars = 0;
  for (int I = 0; I < LineCount; ++I) {
    Lines.push_back(AnsiString(Maker.Line(10 + Lengths() % 245)));
    Chars += size_t(Lines.back().Length());
  }

  TqCalc* Calc = TComponent::Create<TqCalc>(nullptr);
  TBareCalc Bare;
  bench::TFigures CalcTimes, BareTimes;
  long double Sink = 0;
  int Failed = 0;
  for (int Round = 0; Round < 10; ++Round) {
    double T0 = bench::Seconds();
    for (const AnsiString& L : Lines) {
      Calc->SetCalcLine(L);
      Sink += Calc->NumberNum();
      Failed += Calc->CalcResult() != TqcOK;
    }
    CalcTimes.Times.push_back(bench::Seconds() - T0);
    T0 = bench::Seconds();
    for (const AnsiString& L : Lines) Sink += Bare.Run(L.c_str());
    BareTimes.Times.push_back(bench::Seconds() - T0);
  }
  TObject::Free(Calc);

  const double CalcRate = LineCount / CalcTimes.Best(), BareRate = LineCount / BareTimes.Best();
  std::printf("calculator: %d lines of %.1f characters on average, %.1f%% of them failing\n", LineCount,
              double(Chars) / LineCount, 100.0 * Failed / (10.0 * LineCount));
  std::printf("TqCalc.CalcLine      %12.0f lines/s  (median %.0f)\n", CalcRate, LineCount / CalcTimes.Median());
  std::printf("bare descent         %12.0f lines/s  (median %.0f)\n", BareRate, LineCount / BareTimes.Median());
  std::printf("ratio                %12.2f\n", CalcRate / BareRate);
  std::printf("(checksum %g)\n", double(Sink));
  return 0;
}
