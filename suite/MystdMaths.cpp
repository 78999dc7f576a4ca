// Maths routines of the suite in extended precision.
#include "suite/MystdMaths.h"

#include "rtl/SysUtils.h"

#include <cmath>
#include <cstdint>

namespace {

[[noreturn]] void InvalidOp() { throw EInvalidOp("Invalid floating point operation"); }
[[noreturn]] void ZeroDivide() { throw EZeroDivide("Floating point division by zero"); }
[[noreturn]] void Overflow() { throw EOverflow("Floating point overflow"); }

long double CheckResult(long double R) {
  if (std::isnan(R)) InvalidOp();
  if (std::isinf(R)) Overflow();
  return R;
}

// A^N by squaring: exact whenever the result is representable.
long double PowerBySquaring(long double A, uint64_t N) {
  long double R = 1;
  while (N) {
    if (N & 1) R *= A;
    N >>= 1;
    if (N) A *= A;
  }
  return R;
}

// 2^(Exponent * log2 A) for A > 0, with the integer and fraction parts of the product scaled
// separately.
long double PowerByLog(long double A, long double Exponent) {
  long double P = Exponent * std::log2(A);
  if (std::isnan(P)) InvalidOp();
  if (P > 16384) Overflow();
  if (P < -16500) return 0;
  long double I = std::trunc(P);
  return std::ldexp(std::exp2(P - I), int(I));
}

}  // namespace

long double ArcSin(long double X) {
  if (std::isnan(X) || X < -1 || X > 1) InvalidOp();
  return std::asin(X);
}

long double ArcCos(long double X) {
  if (std::isnan(X) || X < -1 || X > 1) InvalidOp();
  return std::acos(X);
}

long double Log10(long double X) {
  if (std::isnan(X) || X < 0) InvalidOp();
  if (X == 0) ZeroDivide();
  return std::log10(X);
}

long double Root(long double Degree, long double Value) {
  if (Degree == 0) ZeroDivide();
  return Power(Value, 1 / Degree);
}

bool IsPrime(int N) {
  if (N < 2) return false;
  for (int64_t D = 2; D * D <= N; ++D)
    if (N % D == 0) return false;
  return true;
}

long double Factorial(int N) {
  long double R = 1;
  for (int I = 2; I <= N; ++I) {
    R *= I;
    if (std::isinf(R)) Overflow();
  }
  return R;
}

long double Power(long double Base, long double Exponent) {
  if (std::isnan(Base) || std::isnan(Exponent)) InvalidOp();
  if (Base == 0 && Exponent == 0) return 0;
  if (Exponent == 0) return 1;
  if (Base == 0) {
    if (Exponent < 0) ZeroDivide();
    return 0;
  }
  const bool Integral = std::isfinite(Exponent) && Exponent == std::trunc(Exponent);
  if (Base < 0 && !Integral) InvalidOp();
  const long double A = std::fabs(Base);
  const long double E = std::fabs(Exponent);
  long double R;
  if (Integral && E < 0x1p63L) {
    R = PowerBySquaring(A, uint64_t(E));
    if (Exponent < 0) R = std::isinf(R) ? PowerByLog(A, Exponent) : 1 / R;  // denormal or 0
  } else {
    R = PowerByLog(A, Exponent);
  }
  // Integers of 2^64 and above are all even.
  if (Base < 0 && E < 0x1p64L && std::fmod(E, 2) != 0) R = -R;
  return CheckResult(R);
}
