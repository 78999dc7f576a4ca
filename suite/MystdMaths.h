// The suite's maths routines. Portable: no Windows headers, so they build natively too.
#pragma once

// Maths in extended precision. Faults raise EInvalidOp "Invalid floating point operation",
// EZeroDivide "Floating point division by zero" or EOverflow "Floating point overflow".

// arcsin and arccos over [-1, 1]; EInvalidOp outside it.
long double ArcSin(long double X);
long double ArcCos(long double X);
// Decimal logarithm; EZeroDivide for 0, EInvalidOp below 0.
long double Log10(long double X);
// The Degree-th root of Value: Power(Value, 1 / Degree).
long double Root(long double Degree, long double Value);
// False below 2, else whether no divisor from 2 to sqrt(N) divides N.
bool IsPrime(int N);
// 1 below 2, else 2 * 3 * ... * N; EOverflow past the extended range.
long double Factorial(int N);
// Base raised to Exponent. 0^0 = 0, x^0 = 1, 0^y = 0 for y > 0 (EZeroDivide for y < 0). A
// negative base takes an integral exponent only (the sign follows its parity); EInvalidOp for
// any other.
long double Power(long double Base, long double Exponent);
