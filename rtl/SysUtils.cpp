// Exceptions, number conversions, Format and file-name routines.
#include "rtl/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <io.h>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef DeleteFile
#else
#include <ctime>
#include <dirent.h>
#include <unistd.h>
#endif

char DecimalSeparator = '.';
char ThousandSeparator = ',';
AnsiString CurrencyString = "$";
unsigned char CurrencyFormat = 0;
unsigned char NegCurrFormat = 0;
unsigned char CurrencyDecimals = 2;

namespace {
AnsiString SystemShortDateFormat() {
#ifdef _WIN32
  char Buf[81] = {};
  const int N = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, Buf, sizeof Buf);
  if (N > 1) return AnsiString(std::string(Buf, size_t(N - 1)));
#endif
  return "M/d/yyyy";
}
}  // namespace

AnsiString ShortDateFormat = SystemShortDateFormat();

Exception::Exception(const AnsiString& Fmt, std::initializer_list<TVarRec> Args)
    : FMessage(Format(Fmt, Args)) {}

void Abort() { throw EAbort("Operation aborted"); }

// ---------------------------------------------------------------------------------------------
// Integers

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// [blanks][sign](decimal digits | '$' hex | '0x' hex), nothing after. Decimal values must fit
// the signed range of Bits; hexadecimal ones are bit patterns of up to Bits bits.
bool ParseInteger(std::string_view s, int Bits, long long& Out) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n && s[i] == ' ') ++i;
  bool neg = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  bool hex = false;
  if (i < n && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return false;
  const unsigned long long signedMax = Bits == 32 ? 0x7FFFFFFFull : 0x7FFFFFFFFFFFFFFFull;
  const unsigned long long limit =
      hex ? (Bits == 32 ? 0xFFFFFFFFull : ~0ull) : (neg ? signedMax + 1 : signedMax);
  const unsigned base = hex ? 16 : 10;
  unsigned long long v = 0;
  for (; i < n; ++i) {
    const int d = hex ? HexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (d < 0) return false;
    if (v > (limit - unsigned(d)) / base) return false;
    v = v * base + unsigned(d);
  }
  if (neg) v = 0 - v;  // two's complement, also for the most negative value
  if (Bits == 32) Out = int32_t(uint32_t(v));
  else Out = (long long)v;
  return true;
}

[[noreturn]] void IntegerError(const AnsiString& S) {
  throw EConvertError("'" + S + "' is not a valid integer value");
}

[[noreturn]] void FloatError(const AnsiString& S) {
  throw EConvertError("'" + S + "' is not a valid floating point value");
}

}  // namespace

AnsiString IntToStr(int Value) { return AnsiString(std::to_string(Value)); }
AnsiString IntToStr(long long Value) { return AnsiString(std::to_string(Value)); }
AnsiString IntToStr(long Value) { return AnsiString(std::to_string(Value)); }

AnsiString IntToHex(long long Value, int Digits) {
  char buf[20];
  auto r = std::to_chars(buf, buf + sizeof buf, (unsigned long long)Value, 16);
  std::string s(buf, r.ptr);
  for (char& c : s)
    if (c >= 'a' && c <= 'f') c = char(c - 'a' + 'A');
  if (Digits > int(s.size())) s.insert(0, size_t(Digits) - s.size(), '0');
  return AnsiString(std::move(s));
}

bool TryStrToInt(const AnsiString& S, int& Value) {
  long long v;
  if (!ParseInteger(S, 32, v)) return false;
  Value = int(v);
  return true;
}

int StrToInt(const AnsiString& S) {
  int v;
  if (!TryStrToInt(S, v)) IntegerError(S);
  return v;
}

int StrToIntDef(const AnsiString& S, int Default) {
  int v;
  return TryStrToInt(S, v) ? v : Default;
}

long long StrToInt64(const AnsiString& S) {
  long long v;
  if (!ParseInteger(S, 64, v)) IntegerError(S);
  return v;
}

long long StrToInt64Def(const AnsiString& S, long long Default) {
  long long v;
  return ParseInteger(S, 64, v) ? v : Default;
}

AnsiString BoolToStr(bool B, bool UseBoolStrs) {
  if (UseBoolStrs) return B ? "True" : "False";
  return B ? "-1" : "0";
}

// ---------------------------------------------------------------------------------------------
// Decimal text to long double, correctly rounded (round half to even), by exact integer
// arithmetic: value = M * 10^E is reduced to a binary mantissa one bit at a time.

namespace {

class BigNat {
public:
  std::vector<uint32_t> W;  // little-endian words, no leading zero words

  bool IsZero() const { return W.empty(); }
  void MulAdd(uint32_t m, uint32_t a) {
    uint64_t carry = a;
    for (uint32_t& w : W) {
      const uint64_t t = uint64_t(w) * m + carry;
      w = uint32_t(t);
      carry = t >> 32;
    }
    if (carry) W.push_back(uint32_t(carry));
  }
  void MulPow10(long long e) {
    static const uint32_t kPow10[10] = {1, 10, 100, 1000, 10000, 100000, 1000000,
                                        10000000, 100000000, 1000000000};
    for (; e >= 9; e -= 9) MulAdd(kPow10[9], 0);
    if (e > 0) MulAdd(kPow10[e], 0);
  }
  int BitLength() const {
    if (W.empty()) return 0;
    int b = 32 * int(W.size() - 1);
    for (uint32_t top = W.back(); top; top >>= 1) ++b;
    return b;
  }
  void ShiftLeft(int bits) {
    if (W.empty() || bits <= 0) return;
    const int words = bits / 32, rest = bits % 32;
    if (rest) {
      uint32_t carry = 0;
      for (uint32_t& w : W) {
        const uint32_t next = w >> (32 - rest);
        w = (w << rest) | carry;
        carry = next;
      }
      if (carry) W.push_back(carry);
    }
    W.insert(W.begin(), size_t(words), 0u);
  }
  int Compare(const BigNat& o) const {
    if (W.size() != o.W.size()) return W.size() < o.W.size() ? -1 : 1;
    for (size_t i = W.size(); i-- > 0;)
      if (W[i] != o.W[i]) return W[i] < o.W[i] ? -1 : 1;
    return 0;
  }
  void Subtract(const BigNat& o) {  // requires *this >= o
    int64_t borrow = 0;
    for (size_t i = 0; i < W.size(); ++i) {
      int64_t t = int64_t(W[i]) - borrow - (i < o.W.size() ? int64_t(o.W[i]) : 0);
      borrow = t < 0;
      if (t < 0) t += int64_t(1) << 32;
      W[i] = uint32_t(t);
    }
    while (!W.empty() && W.back() == 0) W.pop_back();
  }
};

// Digits (no leading zeros, not empty) times 10^Exp10 as a long double; false on overflow.
bool DecimalToLongDouble(const std::string& Digits, long long Exp10, long double& Out) {
  using L = std::numeric_limits<long double>;
  static_assert(L::digits <= 64, "mantissa must fit 64 bits");
  const long long dexp = (long long)Digits.size() + Exp10;  // value in [10^(dexp-1), 10^dexp)
  if (dexp - 1 > L::max_exponent10) return false;
  if (dexp < L::min_exponent10 - L::digits10 - 4) {
    Out = 0;
    return true;
  }
  BigNat num, den;
  for (char c : Digits) num.MulAdd(10, uint32_t(c - '0'));
  den.W.push_back(1);
  if (Exp10 >= 0) num.MulPow10(Exp10);
  else den.MulPow10(-Exp10);

  // Scale so that 1 <= num/den < 2; the value is then (num/den) * 2^k.
  int k = num.BitLength() - den.BitLength();
  if (k >= 0) den.ShiftLeft(k);
  else num.ShiftLeft(-k);
  if (num.Compare(den) < 0) {
    num.ShiftLeft(1);
    --k;
  }
  const int minExp = L::min_exponent - 1;  // the smallest normal number is 2^minExp
  int keep = L::digits;
  if (k < minExp) keep -= minExp - k;  // subnormal: fewer mantissa bits
  if (keep < 0) {  // below half the smallest subnormal
    Out = 0;
    return true;
  }
  uint64_t m = 0;
  for (int b = 0; b < keep; ++b) {
    m <<= 1;
    if (num.Compare(den) >= 0) {
      m |= 1;
      num.Subtract(den);
    }
    num.ShiftLeft(1);
  }
  const bool roundBit = num.Compare(den) >= 0;
  if (roundBit) num.Subtract(den);
  const bool sticky = !num.IsZero();
  if (roundBit && (sticky || (m & 1))) {
    if (++m == 0) {  // 64 one bits carried out
      Out = std::ldexp(1.0L, k + 1);
      return !std::isinf(Out);
    }
  }
  Out = std::ldexp((long double)m, k - keep + 1);
  return !std::isinf(Out);
}

// [blanks][sign]digits[sep digits][(E|e)[sign]digits][blanks], at least one mantissa digit.
bool ParseFloat(std::string_view s, long double& Out) {
  size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  while (n > i && s[n - 1] == ' ') --n;
  bool neg = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  auto isDigit = [&](size_t j) { return j < n && s[j] >= '0' && s[j] <= '9'; };
  std::string digits;  // significant digits of the mantissa, leading zeros dropped
  long long exp10 = 0;
  bool anyDigit = false;
  for (; isDigit(i); ++i) {
    anyDigit = true;
    if (!digits.empty() || s[i] != '0') digits += s[i];
  }
  if (i < n && s[i] == DecimalSeparator) {
    for (++i; isDigit(i); ++i) {
      anyDigit = true;
      if (!digits.empty() || s[i] != '0') digits += s[i];
      --exp10;
    }
  }
  if (!anyDigit) return false;
  if (i < n && (s[i] == 'E' || s[i] == 'e')) {
    ++i;
    bool eneg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) eneg = s[i++] == '-';
    if (!isDigit(i)) return false;
    long long e = 0;
    for (; isDigit(i); ++i) e = std::min(e * 10 + (s[i] - '0'), 1000000000LL);
    exp10 += eneg ? -e : e;
  }
  if (i != n) return false;

  // Beyond this many digits only whether the rest is zero matters for rounding.
  const size_t kMaxDigits = 20000;
  if (digits.size() > kMaxDigits) {
    const bool tail = digits.find_first_not_of('0', kMaxDigits) != std::string::npos;
    exp10 += (long long)(digits.size() - kMaxDigits);
    digits.resize(kMaxDigits);
    if (tail) {
      digits += '1';
      --exp10;
    }
  }
  while (!digits.empty() && digits.back() == '0') {
    digits.pop_back();
    ++exp10;
  }
  long double v = 0;
  if (!digits.empty() && !DecimalToLongDouble(digits, exp10, v)) return false;
  Out = neg ? -v : v;
  return true;
}

}  // namespace

bool TryStrToFloat(const AnsiString& S, long double& Value) {
  long double v;
  if (!ParseFloat(S, v)) return false;
  Value = v;
  return true;
}

long double StrToFloat(const AnsiString& S) {
  long double v;
  if (!ParseFloat(S, v)) FloatError(S);
  return v;
}

// ---------------------------------------------------------------------------------------------
// Floating point to text

namespace {

const int kMaxPrecision = 18;

// Value = 0.Digits * 10^Exp; Digits has no trailing zeros and is empty for zero.
struct FloatDigits {
  bool Negative = false;
  std::string Digits;
  int Exp = 0;
};

// Rounds |Value| to Precision significant digits and at most Decimals digits after the point,
// half away from zero, from its correctly rounded 18-digit decimal form.
FloatDigits ToDigits(long double Value, int Precision, int Decimals) {
  FloatDigits r;
  r.Negative = std::signbit(Value);
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(Value),
                                 std::chars_format::scientific, kMaxPrecision - 1);
  const char* e = std::find(buf, res.ptr, 'e');
  std::string d;
  for (const char* p = buf; p < e; ++p)
    if (*p >= '0' && *p <= '9') d += *p;
  int x = 0;
  const char* ep = e + 1;
  if (ep < res.ptr && *ep == '+') ++ep;
  std::from_chars(ep, res.ptr, x);
  r.Exp = x + 1;
  if (d.find_first_not_of('0') == std::string::npos) {
    r.Negative = false;
    r.Exp = 0;
    return r;
  }
  long long n = std::min<long long>(Precision, (long long)r.Exp + Decimals);
  if (n < 0) {
    r.Negative = false;
    r.Exp = 0;
    return r;
  }
  if (n < (long long)d.size()) {
    const bool up = d[size_t(n)] >= '5';
    d.resize(size_t(n));
    if (up) {
      size_t j = d.size();
      while (j > 0 && d[j - 1] == '9') d[--j] = '0';
      if (j == 0) {  // all nines: 10^Exp
        d = "1";
        ++r.Exp;
      } else {
        ++d[j - 1];
      }
    }
  }
  while (!d.empty() && d.back() == '0') d.pop_back();
  if (d.empty()) {
    r.Negative = false;
    r.Exp = 0;
  }
  r.Digits = std::move(d);
  return r;
}

void AppendExponent(std::string& s, int Exp, bool AlwaysSign, int MinDigits) {
  s += 'E';
  if (Exp < 0) s += '-';
  else if (AlwaysSign) s += '+';
  std::string e = std::to_string(Exp < 0 ? -Exp : Exp);
  if (int(e.size()) < MinDigits) e.insert(0, size_t(MinDigits) - e.size(), '0');
  s += e;
}

std::string FormatGeneral(long double Value, int Precision, int Digits) {
  const FloatDigits f = ToDigits(Value, Precision, 9999);
  if (f.Digits.empty()) return "0";
  std::string s = f.Negative ? "-" : "";
  const int len = int(f.Digits.size());
  if (f.Exp > Precision || f.Exp < -3) {
    s += f.Digits[0];
    if (len > 1) {
      s += DecimalSeparator;
      s.append(f.Digits, 1, std::string::npos);
    }
    AppendExponent(s, f.Exp - 1, false, Digits);
  } else if (f.Exp <= 0) {
    s += '0';
    s += DecimalSeparator;
    s.append(size_t(-f.Exp), '0');
    s += f.Digits;
  } else {
    s.append(f.Digits, 0, size_t(std::min(len, f.Exp)));
    if (len < f.Exp) s.append(size_t(f.Exp - len), '0');
    if (len > f.Exp) {
      s += DecimalSeparator;
      s.append(f.Digits, size_t(f.Exp), std::string::npos);
    }
  }
  return s;
}

std::string FormatExponent(long double Value, int Precision, int Digits) {
  FloatDigits f = ToDigits(Value, Precision, 9999);
  if (f.Digits.empty()) f.Exp = 1;
  f.Digits.resize(size_t(Precision), '0');
  std::string s = f.Negative ? "-" : "";
  s += f.Digits[0];
  if (Precision > 1) {
    s += DecimalSeparator;
    s.append(f.Digits, 1, std::string::npos);
  }
  AppendExponent(s, f.Exp - 1, true, Digits);
  return s;
}

// Unsigned fixed-point text of F with Decimals places, grouped by ThousandSeparator if asked.
std::string FixedBody(const FloatDigits& f, int Decimals, bool Grouped) {
  std::string intPart;
  if (f.Exp <= 0) {
    intPart = "0";
  } else {
    for (int j = 0; j < f.Exp; ++j) intPart += j < int(f.Digits.size()) ? f.Digits[size_t(j)] : '0';
  }
  std::string s;
  if (Grouped && ThousandSeparator) {
    const size_t n = intPart.size();
    for (size_t j = 0; j < n; ++j) {
      if (j > 0 && (n - j) % 3 == 0) s += ThousandSeparator;
      s += intPart[j];
    }
  } else {
    s = intPart;
  }
  if (Decimals > 0) {
    s += DecimalSeparator;
    for (int j = f.Exp; j < f.Exp + Decimals; ++j)
      s += j >= 0 && j < int(f.Digits.size()) ? f.Digits[size_t(j)] : '0';
  }
  return s;
}

std::string ApplyCurrency(const std::string& Body, bool Negative) {
  const std::string c = CurrencyString.str();
  if (!Negative) {
    switch (CurrencyFormat) {
      case 1: return Body + c;
      case 2: return c + " " + Body;
      case 3: return Body + " " + c;
      default: return c + Body;
    }
  }
  switch (NegCurrFormat) {
    case 1: return "-" + c + Body;
    case 2: return c + "-" + Body;
    case 3: return c + Body + "-";
    case 4: return "(" + Body + c + ")";
    case 5: return "-" + Body + c;
    case 6: return Body + "-" + c;
    case 7: return Body + c + "-";
    case 8: return "-" + Body + " " + c;
    case 9: return "-" + c + " " + Body;
    case 10: return Body + " " + c + "-";
    case 11: return c + " " + Body + "-";
    case 12: return c + " -" + Body;
    case 13: return Body + "- " + c;
    case 14: return "(" + c + " " + Body + ")";
    case 15: return "(" + Body + " " + c + ")";
    default: return "(" + c + Body + ")";
  }
}

std::string FloatText(long double Value, TFloatFormat Fmt, int Precision, int Digits) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  Precision = std::clamp(Precision, 1, kMaxPrecision);
  switch (Fmt) {
    case ffGeneral: return FormatGeneral(Value, Precision, std::clamp(Digits, 0, 4));
    case ffExponent: return FormatExponent(Value, Precision, std::clamp(Digits, 0, 4));
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      Digits = std::clamp(Digits, 0, kMaxPrecision);
      const FloatDigits f = ToDigits(Value, Precision, Digits);
      if (f.Exp > Precision) return FormatGeneral(Value, Precision, 0);
      const std::string body = FixedBody(f, Digits, Fmt != ffFixed);
      if (Fmt == ffCurrency) return ApplyCurrency(body, f.Negative);
      return f.Negative ? "-" + body : body;
    }
  }
  return FormatGeneral(Value, Precision, 0);
}

}  // namespace

AnsiString FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits) {
  return AnsiString(FloatText(Value, Format, Precision, Digits));
}

AnsiString FloatToStr(long double Value) { return FloatToStrF(Value, ffGeneral, 15, 0); }

// ---------------------------------------------------------------------------------------------
// Format

namespace {

const int kMaxFormatNumber = 1000000;

[[noreturn]] void FormatError(const AnsiString& Fmt) {
  throw EConvertError("Format '" + Fmt + "' invalid or incompatible with argument");
}

std::string UnsignedText(unsigned long long v, unsigned base) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v, int(base));
  std::string s(buf, r.ptr);
  for (char& c : s)
    if (c >= 'a' && c <= 'f') c = char(c - 'a' + 'A');
  return s;
}

bool IsIntegerArg(const TVarRec& a) { return a.VType == TVarRec::vtInteger || a.VType == TVarRec::vtInt64; }

// vtInteger arguments are 32-bit values; their unsigned view is 32 bits wide.
unsigned long long UnsignedView(const TVarRec& a) {
  if (a.VType == TVarRec::vtInteger && a.VInteger >= INT32_MIN && a.VInteger <= INT32_MAX)
    return uint32_t(int32_t(a.VInteger));
  return (unsigned long long)a.VInteger;
}

}  // namespace

AnsiString Format(const AnsiString& Fmt, std::initializer_list<TVarRec> Args) {
  const std::string_view f = Fmt.str();
  const TVarRec* args = Args.begin();
  const size_t argCount = Args.size();
  size_t argIndex = 0;
  auto nextArg = [&]() -> const TVarRec& {
    if (argIndex >= argCount) FormatError(Fmt);
    return args[argIndex++];
  };
  std::string out;
  size_t i = 0;
  const size_t n = f.size();

  // Digits or '*' (taken from the next argument, which must be an integer).
  auto readNumber = [&](long long& v) -> bool {
    if (i < n && f[i] == '*') {
      ++i;
      const TVarRec& a = nextArg();
      if (!IsIntegerArg(a) || a.VInteger < -kMaxFormatNumber || a.VInteger > kMaxFormatNumber) FormatError(Fmt);
      v = a.VInteger;
      return true;
    }
    if (i >= n || f[i] < '0' || f[i] > '9') return false;
    v = 0;
    for (; i < n && f[i] >= '0' && f[i] <= '9'; ++i) {
      v = v * 10 + (f[i] - '0');
      if (v > kMaxFormatNumber) FormatError(Fmt);
    }
    return true;
  };

  while (i < n) {
    const char c = f[i++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i >= n) FormatError(Fmt);
    if (f[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    long long num = 0;
    bool haveNum = readNumber(num);
    if (haveNum && i < n && f[i] == ':') {
      if (num < 0) FormatError(Fmt);
      argIndex = size_t(num);
      ++i;
      haveNum = false;
    }
    bool left = false;
    if (!haveNum && i < n && f[i] == '-') {
      left = true;
      ++i;
    }
    long long width = 0;
    if (haveNum) width = num;
    else if (readNumber(num)) width = num;
    if (width < 0) {
      left = true;
      width = -width;
    }
    long long prec = -1;
    if (i < n && f[i] == '.') {
      ++i;
      if (!readNumber(prec)) FormatError(Fmt);
      if (prec < 0) prec = -1;
    }
    if (i >= n) FormatError(Fmt);
    char type = f[i++];
    if (type >= 'A' && type <= 'Z') type = char(type - 'A' + 'a');
    const TVarRec& a = nextArg();
    std::string s;
    switch (type) {
      case 'd':
      case 'u':
      case 'x': {
        if (!IsIntegerArg(a)) FormatError(Fmt);
        bool neg = false;
        unsigned long long mag;
        if (type == 'd') {
          neg = a.VInteger < 0;
          mag = neg ? 0 - (unsigned long long)a.VInteger : (unsigned long long)a.VInteger;
        } else {
          mag = UnsignedView(a);
        }
        s = UnsignedText(mag, type == 'x' ? 16 : 10);
        if (prec > (long long)s.size()) s.insert(0, size_t(prec) - s.size(), '0');
        if (neg) s.insert(s.begin(), '-');
        break;
      }
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': {
        if (a.VType != TVarRec::vtExtended) FormatError(Fmt);
        const long double v = a.VExtended;
        switch (type) {
          case 'e': s = FloatText(v, ffExponent, prec < 0 ? 15 : int(std::min<long long>(prec, 99)), 3); break;
          case 'g': s = FloatText(v, ffGeneral, prec < 0 ? 15 : int(std::min<long long>(prec, 99)), 3); break;
          case 'f': s = FloatText(v, ffFixed, kMaxPrecision, prec < 0 ? 2 : int(std::min<long long>(prec, 99))); break;
          case 'n': s = FloatText(v, ffNumber, kMaxPrecision, prec < 0 ? 2 : int(std::min<long long>(prec, 99))); break;
          default:
            s = FloatText(v, ffCurrency, kMaxPrecision,
                          prec < 0 ? CurrencyDecimals : int(std::min<long long>(prec, 99)));
        }
        break;
      }
      case 's':
        if (a.VType != TVarRec::vtString && a.VType != TVarRec::vtChar) FormatError(Fmt);
        s = a.VString.str();
        if (prec >= 0 && prec < (long long)s.size()) s.resize(size_t(prec));
        break;
      case 'p': {
        if (a.VType != TVarRec::vtPointer) FormatError(Fmt);
        s = UnsignedText((unsigned long long)(uintptr_t)a.VPointer, 16);
        s.insert(0, sizeof(void*) * 2 - s.size(), '0');
        break;
      }
      default:
        FormatError(Fmt);
    }
    if (width > (long long)s.size()) {
      const size_t pad = size_t(width) - s.size();
      if (left) s.append(pad, ' ');
      else s.insert(0, pad, ' ');
    }
    out += s;
  }
  return AnsiString(std::move(out));
}

// ---------------------------------------------------------------------------------------------
// Strings

AnsiString Trim(const AnsiString& S) {
  const std::string& s = S.str();
  size_t b = 0, e = s.size();
  while (b < e && (unsigned char)s[b] <= ' ') ++b;
  while (e > b && (unsigned char)s[e - 1] <= ' ') --e;
  return AnsiString(s.substr(b, e - b));
}

AnsiString TrimLeft(const AnsiString& S) {
  const std::string& s = S.str();
  size_t b = 0;
  while (b < s.size() && (unsigned char)s[b] <= ' ') ++b;
  return AnsiString(s.substr(b));
}

AnsiString TrimRight(const AnsiString& S) {
  const std::string& s = S.str();
  size_t e = s.size();
  while (e > 0 && (unsigned char)s[e - 1] <= ' ') --e;
  return AnsiString(s.substr(0, e));
}

AnsiString UpperCase(const AnsiString& S) {
  std::string s = S.str();
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return AnsiString(std::move(s));
}

AnsiString LowerCase(const AnsiString& S) {
  std::string s = S.str();
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return AnsiString(std::move(s));
}

namespace {

int CompareBytes(const std::string& a, const std::string& b, bool FoldCase) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = (unsigned char)a[i], cb = (unsigned char)b[i];
    if (FoldCase) {
      if (ca >= 'a' && ca <= 'z') ca -= 'a' - 'A';
      if (cb >= 'a' && cb <= 'z') cb -= 'a' - 'A';
    }
    if (ca != cb) return ca - cb;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

int CompareText(const AnsiString& A, const AnsiString& B) { return CompareBytes(A.str(), B.str(), true); }
int CompareStr(const AnsiString& A, const AnsiString& B) { return CompareBytes(A.str(), B.str(), false); }
bool SameText(const AnsiString& A, const AnsiString& B) { return CompareText(A, B) == 0; }

AnsiString StringOfChar(char C, int Count) {
  return AnsiString(std::string(Count > 0 ? size_t(Count) : 0, C));
}

AnsiString QuotedStr(const AnsiString& S) {
  std::string r = "'";
  for (char c : S.str()) {
    r += c;
    if (c == '\'') r += '\'';
  }
  r += '\'';
  return AnsiString(std::move(r));
}

// ---------------------------------------------------------------------------------------------
// File names: '\' and '/' separate folders, ':' ends a drive.

namespace {
const char* const kPathDelims = "\\/:";
}

AnsiString ExtractFilePath(const AnsiString& FileName) {
  return FileName.SubString(1, FileName.LastDelimiter(kPathDelims));
}

AnsiString ExtractFileDir(const AnsiString& FileName) {
  int i = FileName.LastDelimiter(kPathDelims);
  if (i > 1 && FileName[i] != ':' && !FileName.IsDelimiter(kPathDelims, i - 1)) --i;
  return FileName.SubString(1, i);
}

AnsiString ExtractFileName(const AnsiString& FileName) {
  const int i = FileName.LastDelimiter(kPathDelims);
  return FileName.SubString(i + 1, FileName.Length() - i);
}

AnsiString ExtractFileExt(const AnsiString& FileName) {
  const int i = FileName.LastDelimiter(".\\/:");
  if (i > 0 && FileName[i] == '.') return FileName.SubString(i, FileName.Length() - i + 1);
  return AnsiString();
}

AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension) {
  const int i = FileName.LastDelimiter(".\\/:");
  if (i == 0 || FileName[i] != '.') return FileName + Extension;
  return FileName.SubString(1, i - 1) + Extension;
}

bool FileExists(const AnsiString& FileName) {
  if (FileName.IsEmpty()) return false;
#ifdef _WIN32
  struct _stat64 st;
  if (_stat64(FileName.c_str(), &st) != 0) return false;
  return (st.st_mode & _S_IFMT) == _S_IFREG;
#else
  struct stat st;
  if (stat(FileName.c_str(), &st) != 0) return false;
  return S_ISREG(st.st_mode);
#endif
}

bool DeleteFile(const AnsiString& FileName) {
  if (FileName.IsEmpty()) return false;
#ifdef _WIN32
  return _unlink(FileName.c_str()) == 0;
#else
  return unlink(FileName.c_str()) == 0;
#endif
}

// ---------------------------------------------------------------------------------------------
// Folder searches

namespace {
constexpr int faSpecial = faHidden | faSysFile | faVolumeID | faDirectory;
}

TSearchRec::~TSearchRec() { FindClose(*this); }

#ifdef _WIN32

struct TFindState {
  HANDLE Handle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA Data{};
};

namespace {
int LastErrorOr(int Fallback) {
  const DWORD E = GetLastError();
  return E ? int(E) : Fallback;
}

// The entry in FindHandle's data, or the next one without excluded attributes.
int FindMatching(TSearchRec& F) {
  TFindState& S = *F.FindHandle;
  while (S.Data.dwFileAttributes & DWORD(F.ExcludeAttr))
    if (!FindNextFileA(S.Handle, &S.Data)) return LastErrorOr(ERROR_NO_MORE_FILES);
  FILETIME Local{};
  WORD Date = 0, Time = 0;
  FileTimeToLocalFileTime(&S.Data.ftLastWriteTime, &Local);
  FileTimeToDosDateTime(&Local, &Date, &Time);
  F.Time = int((unsigned(Date) << 16) | Time);
  F.Size = int64_t((uint64_t(S.Data.nFileSizeHigh) << 32) | S.Data.nFileSizeLow);
  F.Attr = int(S.Data.dwFileAttributes);
  F.Name = S.Data.cFileName;
  return 0;
}
}  // namespace

int FindFirst(const AnsiString& Path, int Attr, TSearchRec& F) {
  FindClose(F);
  F.ExcludeAttr = ~Attr & faSpecial;
  auto* S = new TFindState;
  S->Handle = FindFirstFileA(Path.c_str(), &S->Data);
  if (S->Handle == INVALID_HANDLE_VALUE) {
    const int E = LastErrorOr(ERROR_FILE_NOT_FOUND);
    delete S;
    return E;
  }
  F.FindHandle = S;
  const int R = FindMatching(F);
  if (R != 0) FindClose(F);
  return R;
}

int FindNext(TSearchRec& F) {
  if (!F.FindHandle) return ERROR_NO_MORE_FILES;
  if (!FindNextFileA(F.FindHandle->Handle, &F.FindHandle->Data)) return LastErrorOr(ERROR_NO_MORE_FILES);
  return FindMatching(F);
}

void FindClose(TSearchRec& F) {
  if (!F.FindHandle) return;
  ::FindClose(F.FindHandle->Handle);
  delete F.FindHandle;
  F.FindHandle = nullptr;
}

#else

// The folder's entries that match the mask, read at FindFirst.
struct TFindState {
  struct Entry {
    AnsiString Name;
    int Attr;
    int64_t Size;
    int Time;
  };
  std::vector<Entry> Entries;
  size_t Next = 0;
};

namespace {
constexpr int ErrorFileNotFound = 2, ErrorPathNotFound = 3, ErrorNoMoreFiles = 18;

// * and ? against Name, without regard to case; "*.*" is every name, as on the system.
bool MatchesMask(const char* Mask, const char* Name) {
  if (std::strcmp(Mask, "*.*") == 0) Mask = "*";
  const char* StarMask = nullptr;
  const char* StarName = nullptr;
  while (*Name) {
    if (*Mask == '*') {
      StarMask = ++Mask;
      StarName = Name;
    } else if (*Mask == '?' || std::tolower((unsigned char)*Mask) == std::tolower((unsigned char)*Name)) {
      ++Mask;
      ++Name;
    } else if (StarMask) {
      Mask = StarMask;
      Name = ++StarName;
    } else {
      return false;
    }
  }
  while (*Mask == '*') ++Mask;
  return *Mask == 0;
}

int DosTime(time_t T) {
  std::tm L{};
  localtime_r(&T, &L);
  if (L.tm_year < 80) return (1 << 21) | (1 << 16);  // 1980-01-01, the earliest DOS date
  const unsigned Date = unsigned((L.tm_year - 80) << 9 | (L.tm_mon + 1) << 5 | L.tm_mday);
  const unsigned Time = unsigned(L.tm_hour << 11 | L.tm_min << 5 | L.tm_sec / 2);
  return int(Date << 16 | Time);
}

int FindMatching(TSearchRec& F) {
  TFindState& S = *F.FindHandle;
  while (S.Next < S.Entries.size() && (S.Entries[S.Next].Attr & F.ExcludeAttr)) ++S.Next;
  if (S.Next >= S.Entries.size()) return ErrorNoMoreFiles;
  const TFindState::Entry& E = S.Entries[S.Next++];
  F.Name = E.Name;
  F.Attr = E.Attr;
  F.Size = E.Size;
  F.Time = E.Time;
  return 0;
}
}  // namespace

int FindFirst(const AnsiString& Path, int Attr, TSearchRec& F) {
  FindClose(F);
  F.ExcludeAttr = ~Attr & faSpecial;
  const int Slash = Path.LastDelimiter("\\/");
  std::string Dir = Path.SubString(1, Slash).str();
  for (char& C : Dir)
    if (C == '\\') C = '/';
  const std::string Mask = Path.SubString(Slash + 1, Path.Length()).str();
  DIR* D = opendir(Dir.empty() ? "." : Dir.c_str());
  if (!D) return ErrorPathNotFound;
  auto* S = new TFindState;
  while (dirent* Ent = readdir(D)) {
    if (!MatchesMask(Mask.c_str(), Ent->d_name)) continue;
    struct stat St;
    if (stat((Dir + Ent->d_name).c_str(), &St) != 0) continue;
    const bool Dots = std::strcmp(Ent->d_name, ".") == 0 || std::strcmp(Ent->d_name, "..") == 0;
    int A = S_ISDIR(St.st_mode) ? faDirectory : faArchive;
    if (!(St.st_mode & S_IWUSR)) A |= faReadOnly;
    if (Ent->d_name[0] == '.' && !Dots) A |= faHidden;
    S->Entries.push_back({Ent->d_name, A, S_ISDIR(St.st_mode) ? 0 : int64_t(St.st_size), DosTime(St.st_mtime)});
  }
  closedir(D);
  const bool Any = !S->Entries.empty();
  F.FindHandle = S;
  const int R = FindMatching(F);
  if (R != 0) FindClose(F);
  return R == 0 ? 0 : Any ? R : ErrorFileNotFound;
}

int FindNext(TSearchRec& F) {
  if (!F.FindHandle) return ErrorNoMoreFiles;
  return FindMatching(F);
}

void FindClose(TSearchRec& F) {
  delete F.FindHandle;
  F.FindHandle = nullptr;
}

#endif

// ---------------------------------------------------------------------------------------------
// Dates and times

TDateTime EncodeDate(unsigned short Year, unsigned short Month, unsigned short Day) {
  return TDateTime::EncodeDate(Year, Month, Day);
}

TDateTime EncodeTime(unsigned short Hour, unsigned short Min, unsigned short Sec, unsigned short MSec) {
  return TDateTime(Hour, Min, Sec, MSec);
}

void DecodeDate(TDateTime Date, unsigned short& Year, unsigned short& Month, unsigned short& Day) {
  Date.DecodeDate(&Year, &Month, &Day);
}

void DecodeTime(TDateTime Time, unsigned short& Hour, unsigned short& Min, unsigned short& Sec,
                unsigned short& MSec) {
  Time.DecodeTime(&Hour, &Min, &Sec, &MSec);
}

TDateTime Now() { return TDateTime::CurrentDateTime(); }
TDateTime Date() { return TDateTime::CurrentDate(); }
TDateTime Time() { return TDateTime::CurrentTime(); }

bool IsLeapYear(unsigned short Year) {
  return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
}
