#include "rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <limits>
#include <set>
#include <string>
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef DeleteFile  // the runtime's own is tested here
#endif

namespace {

// Runs a callable and returns the message of the EConvertError it raises ("" if none).
template <class F>
std::string ConvertErrorOf(F&& f) {
  try {
    f();
  } catch (const EConvertError& e) {
    return e.Message().str();
  }
  return "";
}

// Sets the runtime's number settings for one test and restores them.
struct SeparatorGuard {
  char dec = DecimalSeparator, thou = ThousandSeparator;
  ~SeparatorGuard() {
    DecimalSeparator = dec;
    ThousandSeparator = thou;
  }
};

// Switches the C locale to one whose decimal point is ',' and restores it.
class CommaLocale {
public:
  CommaLocale() {
    const char* cur = std::setlocale(LC_ALL, nullptr);
    FSaved = cur ? cur : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro", "German_Germany.1252",
                             "German", "de-DE"}) {
      if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') {
        FActive = true;
        return;
      }
    }
    std::setlocale(LC_ALL, FSaved.c_str());
  }
  ~CommaLocale() { std::setlocale(LC_ALL, FSaved.c_str()); }
  bool Active() const { return FActive; }

private:
  std::string FSaved;
  bool FActive = false;
};

// ---------------------------------------------------------------------------------------------
// Integers

TEST(StrToInt, AcceptsDecimalAndHexadecimal) {
  struct Case { const char* text; int value; };
  const Case cases[] = {
      {"0", 0}, {"42", 42}, {"  42", 42}, {"+7", 7}, {"-0", 0}, {"-15", -15}, {"007", 7},
      {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"$FF", 255}, {"$ff", 255},
      {"0x1f", 31}, {"0X10", 16}, {"-$10", -16}, {" -0x10", -16}, {"$7FFFFFFF", INT32_MAX},
      {"$80000000", INT32_MIN}, {"$FFFFFFFF", -1}, {"0000000000002", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToInt(c.text), c.value);
    EXPECT_EQ(StrToIntDef(c.text, 99), c.value);
    EXPECT_EQ(AnsiString(c.text).ToInt(), c.value);
  }
}

TEST(StrToInt, RejectsEverythingElseWithTheOriginalText) {
  const char* bad[] = {"", " ", "12 ", "1 2", "1.0", "5e0", "2147483648", "-2147483649",
                       "99999999999999999999", "$", "0x", "$100000000", "1_0", "--1", "+-1", "- 1",
                       "\t1", "abc", "0x-1", "$G", "1,000", "+", "-", "x10", "0b1", "١"};
  for (const char* s : bad) {
    SCOPED_TRACE(s);
    EXPECT_EQ(ConvertErrorOf([&] { StrToInt(s); }), std::string("'") + s + "' is not a valid integer value");
    EXPECT_EQ(StrToIntDef(s, 99), 99);
    int v = 5;
    EXPECT_FALSE(TryStrToInt(s, v));
    EXPECT_EQ(v, 5);
  }
}

TEST(StrToInt64, CoversTheSixtyFourBitRange) {
  struct Case { const char* text; long long value; };
  const Case cases[] = {
      {"9223372036854775807", INT64_MAX}, {"-9223372036854775808", INT64_MIN},
      {"2147483648", 2147483648LL}, {"$FFFFFFFFFFFFFFFF", -1}, {"0x8000000000000000", INT64_MIN},
      {" 12", 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToInt64(c.text), c.value);
    EXPECT_EQ(StrToInt64Def(c.text, 3), c.value);
  }
  for (const char* s : {"9223372036854775808", "-9223372036854775809", "$10000000000000000", "", "1e3"}) {
    SCOPED_TRACE(s);
    EXPECT_EQ(ConvertErrorOf([&] { StrToInt64(s); }), std::string("'") + s + "' is not a valid integer value");
    EXPECT_EQ(StrToInt64Def(s, 3), 3);
  }
}

TEST(IntToStr, WritesDecimalAndHexadecimal) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0xABCDEF, 2), "ABCDEF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 1), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false), "0");
  EXPECT_EQ(BoolToStr(true, true), "True");
  EXPECT_EQ(BoolToStr(false, true), "False");
}

// ---------------------------------------------------------------------------------------------
// StrToFloat

// The compiler's own reading of the literal is the correctly rounded reference.
#define FLOAT_CASE(text, literal) {text, literal##L}

TEST(StrToFloat, ParsesExactly) {
  struct Case { const char* text; long double value; };
  const Case cases[] = {
      FLOAT_CASE("0", 0.0), FLOAT_CASE("1.5", 1.5), FLOAT_CASE(" -2.25 ", -2.25),
      FLOAT_CASE("+.5", 0.5), FLOAT_CASE("5.", 5.0), FLOAT_CASE("1e3", 1e3), FLOAT_CASE("1E-3", 1e-3),
      FLOAT_CASE("1.5e+2", 150.0), FLOAT_CASE("00012.50", 12.5), FLOAT_CASE("0.1", 0.1),
      FLOAT_CASE("0.3", 0.3), FLOAT_CASE("359011", 359011.0),
      FLOAT_CASE("274877906943", 274877906943.0),
      FLOAT_CASE("123456789012345678901234567890", 123456789012345678901234567890.0),
      FLOAT_CASE("1.7976931348623157e308", 1.7976931348623157e308),
      FLOAT_CASE("2.2250738585072014e-308", 2.2250738585072014e-308),
      FLOAT_CASE("3.14159265358979323846264338327950288", 3.14159265358979323846264338327950288),
      FLOAT_CASE("0.000000000000000000000000000000000000001234", 1.234e-39),
      FLOAT_CASE("1e4932", 1e4932),
      FLOAT_CASE("1.18973149535723176502e+4932", 1.18973149535723176502e+4932),
      FLOAT_CASE("3.36210314311209350626e-4932", 3.36210314311209350626e-4932),  // smallest normal
      FLOAT_CASE("3.6451995318824746025e-4951", 3.6451995318824746025e-4951),    // smallest subnormal
      FLOAT_CASE("1.5e-4950", 1.5e-4950),
      FLOAT_CASE("1e-5000", 0.0),
      FLOAT_CASE("0e999999999999", 0.0),
      FLOAT_CASE("18446744073709551617", 18446744073709551617.0),  // halfway: to even, 2^64
      FLOAT_CASE("18446744073709551619", 18446744073709551619.0),  // halfway: to even, 2^64+4
      FLOAT_CASE("9223372036854775807.5", 9223372036854775807.5),
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const long double v = StrToFloat(c.text);
    EXPECT_EQ(v, c.value);
    long double t = 7;
    EXPECT_TRUE(TryStrToFloat(c.text, t));
    EXPECT_EQ(t, c.value);
  }
  EXPECT_TRUE(std::signbit(StrToFloat("-0")));
  EXPECT_EQ(AnsiString("2.5").ToDouble(), 2.5);
}

TEST(StrToFloat, RoundsDigitsBeyondTheInternalLimit) {
  // 2^64 + 1 lies halfway between two neighbours; a nonzero digit far behind decides upward.
  const std::string half = "18446744073709551617.";
  EXPECT_EQ(StrToFloat((half + std::string(30000, '0')).c_str()), 18446744073709551616.0L);
  EXPECT_EQ(StrToFloat((half + std::string(30000, '0') + "1").c_str()), 18446744073709551618.0L);
  EXPECT_EQ(StrToFloat(("0." + std::string(25000, '0') + "1e25001").c_str()), 1.0L);
}

TEST(StrToFloat, RejectsMalformedTextAndOverflow) {
  const char* bad[] = {"", " ", ".", "-", "+", "e5", "1e", "1e+", "1e-", "1.2.3", "1,5", "inf", "nan",
                       "INF", "0x10", "1 2", "1e5.0", "- 1", "1d", "$10", "1.5f", "++1", "\t1", "1\t",
                       "1.19e4932", "1e5000", "-1e99999999999999999999", "1e 5", "٣"};
  for (const char* s : bad) {
    SCOPED_TRACE(s);
    EXPECT_EQ(ConvertErrorOf([&] { StrToFloat(s); }),
              std::string("'") + s + "' is not a valid floating point value");
    long double v = 7;
    EXPECT_FALSE(TryStrToFloat(s, v));
    EXPECT_EQ(v, 7);
  }
}

TEST(StrToFloat, UsesTheRuntimeDecimalSeparator) {
  SeparatorGuard guard;
  DecimalSeparator = ',';
  EXPECT_EQ(StrToFloat("1,5"), 1.5L);
  EXPECT_EQ(StrToFloat("-,25e1"), -2.5L);
  EXPECT_EQ(ConvertErrorOf([] { StrToFloat("1.5"); }), "'1.5' is not a valid floating point value");
}

// ---------------------------------------------------------------------------------------------
// FloatToStr and FloatToStrF

TEST(FloatToStr, GeneralFormatWithFifteenDigits) {
  struct Case { long double value; const char* text; };
  const Case cases[] = {
      {0.0L, "0"}, {-0.0L, "0"}, {0.5L, "0.5"}, {-3.25L, "-3.25"}, {100.0L, "100"}, {0.1, "0.1"},
      {0.15, "0.15"}, {1.0L / 3, "0.333333333333333"}, {2.0L / 3, "0.666666666666667"},
      {123456789012345.0L, "123456789012345"}, {999999999999999.0L, "999999999999999"},
      {999999999999999.5L, "1E15"}, {1e15L, "1E15"}, {1234567890123456.0L, "1.23456789012346E15"},
      {302231454903657293676544.0L, "3.02231454903657E23"}, {-2.5e20L, "-2.5E20"}, {1e100L, "1E100"},
      {0.0001L, "0.0001"}, {0.00012345L, "0.00012345"}, {0.00001L, "1E-5"}, {0.00009L, "9E-5"},
      {-1.5e-300L, "-1.5E-300"}, {LDBL_MIN, "3.36210314311209E-4932"}, {LDBL_MAX, "1.18973149535723E4932"},
      {41928.0, "41928"}, {4294967295.0, "4294967295"}, {12.0000000000000001L, "12"},
      {0.999999999999999944L, "1"}, {std::numeric_limits<long double>::infinity(), "INF"},
      {-std::numeric_limits<long double>::infinity(), "-INF"},
      {std::numeric_limits<long double>::quiet_NaN(), "NAN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatToStr(c.value), c.text);
  }
  EXPECT_EQ(AnsiString(0.25), "0.25");
}

TEST(FloatToStr, SumsOfPowersOfTwoBelowTenToTheFifteenAreExact) {
  for (int bits = 1; bits <= 49; ++bits) {
    const double v = std::ldexp(1.0, bits) - 1;  // all ones
    SCOPED_TRACE(bits);
    EXPECT_EQ(FloatToStr(v), AnsiString(std::to_string((long long)v)));
  }
}

TEST(FloatToStr, UsesTheRuntimeDecimalSeparator) {
  SeparatorGuard guard;
  DecimalSeparator = ',';
  EXPECT_EQ(FloatToStr(-3.25L), "-3,25");
  EXPECT_EQ(FloatToStr(1.5e20L), "1,5E20");
  EXPECT_EQ(StrToFloat(FloatToStr(0.125L)), 0.125L);
}

TEST(FloatToStrF, AllFormats) {
  struct Case { long double value; TFloatFormat format; int precision, digits; const char* text; };
  const Case cases[] = {
      {1234.5L, ffExponent, 4, 2, "1.235E+03"},
      {0.0L, ffExponent, 4, 2, "0.000E+00"},
      {-0.00012345L, ffExponent, 3, 0, "-1.23E-4"},
      {1.0L, ffExponent, 1, 3, "1E+000"},
      {9.99L, ffExponent, 2, 1, "1.0E+1"},
      {1.5L, ffExponent, 30, 3, "1.50000000000000000E+000"},  // at most 18 digits
      {3.14159L, ffFixed, 15, 2, "3.14"},
      {2.5L, ffFixed, 15, 0, "3"},
      {-2.5L, ffFixed, 15, 0, "-3"},
      {0.05L, ffFixed, 15, 1, "0.1"},
      {-0.001L, ffFixed, 15, 2, "0.00"},
      {1.005, ffFixed, 15, 2, "1.00"},       // the double lies just below the half
      {999.995, ffFixed, 15, 2, "1000.00"},  // and this one just above
      {1.0L / 3, ffFixed, 4, 6, "0.333300"},
      {12.0L, ffFixed, 15, 3, "12.000"},
      {1e20L, ffFixed, 15, 2, "1E20"},
      {1234567.891L, ffNumber, 15, 2, "1,234,567.89"},
      {-1234.5L, ffNumber, 15, 1, "-1,234.5"},
      {123.0L, ffNumber, 15, 0, "123"},
      {999.0L, ffNumber, 15, 0, "999"},
      {100000.0L, ffNumber, 15, 0, "100,000"},
      {0.5L, ffNumber, 15, 2, "0.50"},
      {1234.5L, ffCurrency, 15, 2, "$1,234.50"},
      {-1234.5L, ffCurrency, 15, 2, "($1,234.50)"},
      {1234.5678L, ffGeneral, 6, 0, "1234.57"},
      {1234567.0L, ffGeneral, 6, 0, "1.23457E6"},
      {1e20L, ffGeneral, 15, 3, "1E020"},
      {1e-7L, ffGeneral, 15, 2, "1E-07"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits), c.text);
  }
}

TEST(FloatToStrF, CurrencyLayoutsFollowTheSettings) {
  const AnsiString savedSymbol = CurrencyString;
  const unsigned char savedPos = CurrencyFormat, savedNeg = NegCurrFormat;
  CurrencyString = "EUR";
  struct Case { int pos, neg; const char* positive; const char* negative; };
  const Case cases[] = {
      {0, 1, "EUR1.50", "-EUR1.50"}, {1, 5, "1.50EUR", "-1.50EUR"}, {2, 12, "EUR 1.50", "EUR -1.50"},
      {3, 8, "1.50 EUR", "-1.50 EUR"}, {0, 15, "EUR1.50", "(1.50 EUR)"}, {0, 3, "EUR1.50", "EUR1.50-"},
  };
  for (const Case& c : cases) {
    CurrencyFormat = (unsigned char)c.pos;
    NegCurrFormat = (unsigned char)c.neg;
    EXPECT_EQ(FloatToStrF(1.5L, ffCurrency, 15, 2), c.positive);
    EXPECT_EQ(FloatToStrF(-1.5L, ffCurrency, 15, 2), c.negative);
  }
  CurrencyString = savedSymbol;
  CurrencyFormat = savedPos;
  NegCurrFormat = savedNeg;
}

TEST(Conversions, IndependentOfTheCLocale) {
  CommaLocale locale;
  if (!locale.Active()) GTEST_SKIP() << "no C locale with ',' as decimal point is installed";
  EXPECT_EQ(StrToFloat("1.5"), 1.5L);
  EXPECT_EQ(ConvertErrorOf([] { StrToFloat("1,5"); }), "'1,5' is not a valid floating point value");
  EXPECT_EQ(FloatToStr(1234.5L), "1234.5");
  EXPECT_EQ(FloatToStr(2.5e-7L), "2.5E-7");
  EXPECT_EQ(FloatToStrF(1234567.25L, ffNumber, 15, 2), "1,234,567.25");
  EXPECT_EQ(Format("%.2f|%e|%d", {2.5, 1.5, 1000}), "2.50|1.50000000000000E+000|1000");
}

// ---------------------------------------------------------------------------------------------
// Format

TEST(Format, Placeholders) {
  int x = 0;
  const void* p = &x;
  char ptrText[32];
  std::snprintf(ptrText, sizeof ptrText, "%0*llX", int(sizeof(void*) * 2), (unsigned long long)(uintptr_t)p);
  struct Case { const char* fmt; std::initializer_list<TVarRec> args; std::string text; };
  const Case cases[] = {
      {"plain", {}, "plain"},
      {"%d", {42}, "42"},
      {"%5d|", {42}, "   42|"},
      {"%-5d|", {42}, "42   |"},
      {"%.3d", {-5}, "-005"},
      {"%2d", {12345}, "12345"},
      {"%d", {123456789012LL}, "123456789012"},
      {"%d", {INT64_MIN}, "-9223372036854775808"},
      {"%u", {-1}, "4294967295"},
      {"%u", {7u}, "7"},
      {"%x", {255}, "FF"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%x", {-1LL}, "FFFFFFFFFFFFFFFF"},
      {"%.4x", {10}, "000A"},
      {"%s", {"abc"}, "abc"},
      {"%s", {AnsiString("ansi")}, "ansi"},
      {"%.2s", {"abc"}, "ab"},
      {"%s", {'c'}, "c"},
      {"[%6s][%-6s]", {"ab", "cd"}, "[    ab][cd    ]"},
      {"%1:s %0:s", {"a", "b"}, "b a"},
      {"%1:s %s", {"a", "b", "c"}, "b c"},
      {"%0:s%0:s", {"ab"}, "abab"},
      {"%*d|", {5, 42}, "   42|"},
      {"%-*.*f|", {8, 1, 2.25}, "2.3     |"},
      {"%*:s", {2, "x", "y"}, "y"},
      {"100%%", {}, "100%"},
      {"%D %S %X", {1, "s", 171}, "1 s AB"},
      {"%e", {1.5}, "1.50000000000000E+000"},
      {"%.3e", {-12345.0}, "-1.23E+004"},
      {"%e", {0.0}, "0.00000000000000E+000"},
      {"%f", {1.0}, "1.00"},
      {"%.0f", {2.5}, "3"},
      {"%.4f", {1.0L / 3}, "0.3333"},
      {"%8.2f|", {-3.14159}, "   -3.14|"},
      {"%n", {1234567.5}, "1,234,567.50"},
      {"%.0n", {-1234.0}, "-1,234"},
      {"%g", {0.5}, "0.5"},
      {"%g", {1e20}, "1E020"},
      {"%.3g", {1234.0}, "1.23E003"},
      {"%m", {3.5}, "$3.50"},
      {"%p", {p}, ptrText},
      {"%d-%s-%f", {1, "two", 3.0}, "1-two-3.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fmt);
    EXPECT_EQ(Format(c.fmt, c.args).str(), c.text);
  }
}

TEST(Format, RejectsMismatchesAndMalformedTemplates) {
  struct Case { const char* fmt; std::initializer_list<TVarRec> args; };
  const Case cases[] = {
      {"%d", {"x"}}, {"%d", {1.5}}, {"%d", {true}}, {"%d", {'c'}}, {"%u", {2.0}}, {"%x", {"ff"}},
      {"%s", {5}}, {"%s", {1.5}}, {"%s", {true}}, {"%f", {5}}, {"%e", {5LL}}, {"%g", {"1"}},
      {"%n", {'1'}}, {"%m", {1}}, {"%p", {5}}, {"%d", {}}, {"%d %d", {1}}, {"%2:d", {1, 2}},
      {"%", {1}}, {"abc%", {}}, {"%z", {1}}, {"%5", {1}}, {"%-", {1}}, {"%5-d", {1}}, {"%.", {1}},
      {"%*d", {"a", 5}}, {"%*d", {5}}, {"%99999999999d", {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fmt);
    EXPECT_EQ(ConvertErrorOf([&] { Format(c.fmt, c.args); }),
              std::string("Format '") + c.fmt + "' invalid or incompatible with argument");
  }
}

TEST(Format, PercentSignsInArgumentsAreNotReinterpreted) {
  EXPECT_EQ(Format("%s", {"%s%d%n"}), "%s%d%n");
  EXPECT_EQ(Format("%s and %s", {"%1:s", "x"}), "%1:s and x");
}

TEST(Exception, FormatsItsMessage) {
  const Exception e("Value %d of %s", {3, "x"});
  EXPECT_STREQ(e.what(), "Value 3 of x");
  EXPECT_STREQ(e.ClassName(), "Exception");
  try {
    throw EConvertError("bad %s", {QuotedStr("it")});
  } catch (const Exception& err) {
    EXPECT_EQ(err.Message(), "bad 'it'");
    EXPECT_STREQ(err.ClassName(), "EConvertError");
  }
  EXPECT_EQ(ConvertErrorOf([] { Exception("%d", {"x"}); }),
            "Format '%d' invalid or incompatible with argument");
}

TEST(Abort, RaisesTheSilentException) {
  try {
    Abort();
    FAIL() << "Abort returned";
  } catch (const Exception& e) {
    EXPECT_NE(dynamic_cast<const EAbort*>(&e), nullptr);
    EXPECT_EQ(e.Message(), "Operation aborted");
    EXPECT_STREQ(e.ClassName(), "EAbort");
  }
}

// ---------------------------------------------------------------------------------------------
// Strings

TEST(Trim, RemovesControlCharactersAndBlanksOnly) {
  struct Case { const char* in; const char* both; const char* left; const char* right; };
  const Case cases[] = {
      {"", "", "", ""},
      {"   ", "", "", ""},
      {"\t x y \r\n", "x y", "x y \r\n", "\t x y"},
      {"\x01" "a\x1f", "a", "a\x1f", "\x01" "a"},
      {"\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0"},
      {"abc", "abc", "abc", "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Trim(c.in), c.both);
    EXPECT_EQ(TrimLeft(c.in), c.left);
    EXPECT_EQ(TrimRight(c.in), c.right);
  }
}

TEST(CaseConversion, AsciiOnly) {
  EXPECT_EQ(UpperCase("abc xyz-09 \xE4\xFF"), "ABC XYZ-09 \xE4\xFF");
  EXPECT_EQ(LowerCase("ABC XYZ-09 \xC4@[`{"), "abc xyz-09 \xC4@[`{");
}

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(Compare, TextIgnoresAsciiCaseAndStrComparesBytes) {
  struct Case { const char* a; const char* b; int text, str; };
  const Case cases[] = {
      {"abc", "ABC", 0, 1},  {"", "", 0, 0},       {"a", "b", -1, -1},   {"B", "a", 1, -1},
      {"_", "a", 1, -1},     {"ab", "abc", -1, -1}, {"abd", "ABC", 1, 1}, {"\x80", "a", 1, 1},
      {"\xE4", "\xC4", 1, 1}, {"a", "", 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(Sign(CompareText(c.a, c.b)), c.text);
    EXPECT_EQ(Sign(CompareText(c.b, c.a)), -c.text);
    EXPECT_EQ(Sign(CompareStr(c.a, c.b)), c.str);
    EXPECT_EQ(SameText(c.a, c.b), c.text == 0);
    EXPECT_EQ(Sign(AnsiString(c.a).AnsiCompareIC(c.b)), c.text);
  }
}

TEST(Strings, StringOfCharAndQuotedStr) {
  EXPECT_EQ(StringOfChar('x', 3), "xxx");
  EXPECT_EQ(StringOfChar('x', 0), "");
  EXPECT_EQ(StringOfChar('x', -4), "");
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(QuotedStr(""), "''");
  EXPECT_EQ(QuotedStr("''"), "''''''");
}

// ---------------------------------------------------------------------------------------------
// File names

TEST(FileNames, ExtractParts) {
  struct Case { const char* name; const char* path; const char* dir; const char* file; const char* ext; };
  const Case cases[] = {
      {"C:\\dir\\file.txt", "C:\\dir\\", "C:\\dir", "file.txt", ".txt"},
      {"C:\\file.txt", "C:\\", "C:\\", "file.txt", ".txt"},
      {"/usr/lib/x.tar.gz", "/usr/lib/", "/usr/lib", "x.tar.gz", ".gz"},
      {"C:/mixed\\sep/f", "C:/mixed\\sep/", "C:/mixed\\sep", "f", ""},
      {"dir/sub.d/name", "dir/sub.d/", "dir/sub.d", "name", ""},
      {"file", "", "", "file", ""},
      {".bashrc", "", "", ".bashrc", ".bashrc"},
      {"name.", "", "", "name.", "."},
      {"C:name.ext", "C:", "C:", "name.ext", ".ext"},
      {"\\file", "\\", "\\", "file", ""},
      {"a\\\\b", "a\\\\", "a\\\\", "b", ""},
      {"dir/", "dir/", "dir", "", ""},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtractFilePath(c.name), c.path);
    EXPECT_EQ(ExtractFileDir(c.name), c.dir);
    EXPECT_EQ(ExtractFileName(c.name), c.file);
    EXPECT_EQ(ExtractFileExt(c.name), c.ext);
  }
}

TEST(FileNames, ChangeFileExt) {
  struct Case { const char* name; const char* ext; const char* result; };
  const Case cases[] = {
      {"a.txt", ".bak", "a.bak"},       {"a", ".bak", "a.bak"},         {"dir.d/a", ".x", "dir.d/a.x"},
      {"dir.d\\a", ".x", "dir.d\\a.x"}, {"a.b.c", "", "a.b"},           {"C:", ".x", "C:.x"},
      {"x.y/", ".z", "x.y/.z"},         {".profile", ".old", ".old"},  {"", ".x", ".x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ChangeFileExt(c.name, c.ext), c.result);
  }
}

TEST(Files, ExistsAndDelete) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("orvalen_sysutils_" + std::to_string(std::time(nullptr)));
  fs::create_directories(dir);
  const std::string file = (dir / "data.txt").string();
  EXPECT_FALSE(FileExists(file.c_str()));
  if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fputs("x", f);
    std::fclose(f);
  }
  EXPECT_TRUE(FileExists(file.c_str()));
  EXPECT_FALSE(FileExists(dir.string().c_str())) << "a folder is no file";
  EXPECT_FALSE(DeleteFile(dir.string().c_str())) << "a folder is not deleted";
  EXPECT_TRUE(fs::exists(dir));
  EXPECT_TRUE(DeleteFile(file.c_str()));
  EXPECT_FALSE(FileExists(file.c_str()));
  EXPECT_FALSE(DeleteFile(file.c_str()));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(DeleteFile(""));
  fs::remove_all(dir);
}

// A folder of a sub-folder and three files, one read-only; removed with the object.
struct TSearchFolder {
  std::filesystem::path Dir =
      std::filesystem::temp_directory_path() / ("orvalen_find_" + std::to_string(std::time(nullptr)));
  TSearchFolder() {
    namespace fs = std::filesystem;
    fs::remove_all(Dir);
    fs::create_directories(Dir / "Sub");
    for (const char* Name : {"b.txt", "A.TXT", "c.dat"})
      if (std::FILE* f = std::fopen((Dir / Name).string().c_str(), "wb")) {
        std::fputs("abc", f);
        std::fclose(f);
      }
    fs::permissions(Dir / "c.dat", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  ~TSearchFolder() {
    namespace fs = std::filesystem;
    std::error_code E;
    fs::permissions(Dir / "c.dat", fs::perms::owner_write, fs::perm_options::add, E);
    fs::remove_all(Dir, E);
  }
  std::string Path(const char* Mask) const { return Dir.string() + "/" + Mask; }
};

// Every entry of a search, as "name:attributes" with the folder and read-only bits only.
std::set<std::string> Search(const std::string& Path, int Attr, int* FirstResult = nullptr) {
  std::set<std::string> Found;
  TSearchRec F;
  int R = FindFirst(Path.c_str(), Attr, F);
  if (FirstResult) *FirstResult = R;
  if (R != 0) return Found;
  for (; R == 0; R = FindNext(F)) {
    std::string Flags = (F.Attr & faDirectory) ? "D" : "";
    if (F.Attr & faReadOnly) Flags += "R";
    Found.insert(F.Name.str() + ":" + Flags);
  }
  EXPECT_EQ(R, 18) << "the search ends with no more files";
  FindClose(F);
  return Found;
}

TEST(Files, FindFirstListsByMaskAndAttributes) {
  TSearchFolder Folder;
  using Set = std::set<std::string>;
  EXPECT_EQ(Search(Folder.Path("*.*"), faAnyFile), (Set{".:D", "..:D", "Sub:D", "b.txt:", "A.TXT:", "c.dat:R"}));
  EXPECT_EQ(Search(Folder.Path("*.*"), 0), (Set{"b.txt:", "A.TXT:", "c.dat:R"})) << "folders only when asked for";
  EXPECT_EQ(Search(Folder.Path("*.txt"), faAnyFile), (Set{"b.txt:", "A.TXT:"})) << "masks ignore case";
  EXPECT_EQ(Search(Folder.Path("?.dat"), faReadOnly), (Set{"c.dat:R"}));
  EXPECT_EQ(Search(Folder.Path("s*"), faDirectory), (Set{"Sub:D"}));

  int First = -1;
  EXPECT_TRUE(Search(Folder.Path("*.none"), faAnyFile, &First).empty());
  EXPECT_EQ(First, 2) << "nothing matches";
  EXPECT_TRUE(Search(Folder.Path("missing/*.*"), faAnyFile, &First).empty());
  EXPECT_EQ(First, 3) << "no such folder";

  TSearchRec F;
  ASSERT_EQ(FindFirst(Folder.Path("b.txt").c_str(), 0, F), 0);
  EXPECT_EQ(F.Size, 3);
  EXPECT_NE(F.Time, 0);
  ASSERT_EQ(FindFirst(Folder.Path("Sub").c_str(), faDirectory, F), 0) << "a search may start again at once";
  EXPECT_EQ(F.Name, "Sub");
}

// ---------------------------------------------------------------------------------------------
// Dates and times

TEST(DateTime, EncodeDate) {
  struct Case { unsigned short y, m, d; double value; };
  const Case cases[] = {
      {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2}, {1900, 3, 1, 61}, {2000, 1, 1, 36526},
      {2000, 2, 29, 36585}, {1899, 12, 29, -1}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d).Val, c.value);
    unsigned short y, m, d;
    DecodeDate(c.value, y, m, d);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(m, c.m);
    EXPECT_EQ(d, c.d);
  }
  struct Bad { unsigned short y, m, d; };
  const Bad bad[] = {{2001, 2, 29}, {1900, 2, 29}, {2000, 13, 1}, {2000, 0, 1}, {0, 1, 1},
                     {2000, 1, 0}, {2000, 4, 31}, {10000, 1, 1}};
  for (const Bad& b : bad) {
    SCOPED_TRACE(std::to_string(b.y) + "-" + std::to_string(b.m) + "-" + std::to_string(b.d));
    EXPECT_EQ(ConvertErrorOf([&] { EncodeDate(b.y, b.m, b.d); }), "Invalid argument to date encode");
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2023));
}

TEST(DateTime, DecodeDateRoundTripsEveryDay) {
  static const unsigned short kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int expected = -693593;
  for (unsigned short y = 1; y <= 9999; ++y)
    for (unsigned short m = 1; m <= 12; ++m)
      for (unsigned short d = 1; d <= kDays[m - 1] + (m == 2 && IsLeapYear(y)); ++d) {
        const TDateTime t = TDateTime::EncodeDate(y, m, d);
        ASSERT_EQ(t.Val, expected) << y << "-" << m << "-" << d;
        unsigned short yy, mm, dd;
        t.DecodeDate(&yy, &mm, &dd);
        ASSERT_TRUE(yy == y && mm == m && dd == d) << y << "-" << m << "-" << d;
        ++expected;
      }
  EXPECT_EQ(expected, 2958466);
}

TEST(DateTime, EncodeAndDecodeTime) {
  const TDateTime t(12, 30, 15, 500);
  EXPECT_DOUBLE_EQ(t.Val, (12 * 3600 + 30 * 60 + 15.5) / 86400.0);
  struct Case { double value; unsigned short y, mo, d, h, mi, s, ms; };
  const Case cases[] = {
      {0.5, 1899, 12, 30, 12, 0, 0, 0},
      {36526.75, 2000, 1, 1, 18, 0, 0, 0},
      {-1.25, 1899, 12, 29, 6, 0, 0, 0},          // the fraction counts forward from midnight
      {0.9999999999999, 1899, 12, 31, 0, 0, 0, 0},  // rounds to the next midnight
      {-0.9999999999999, 1899, 12, 31, 0, 0, 0, 0},
      {1.0 / 86400000 * 1234, 1899, 12, 30, 0, 0, 1, 234},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    unsigned short y, mo, d, h, mi, s, ms;
    DecodeDate(c.value, y, mo, d);
    DecodeTime(c.value, h, mi, s, ms);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(mo, c.mo);
    EXPECT_EQ(d, c.d);
    EXPECT_EQ(h, c.h);
    EXPECT_EQ(mi, c.mi);
    EXPECT_EQ(s, c.s);
    EXPECT_EQ(ms, c.ms);
  }
  for (unsigned ms = 0; ms < 86400000u; ms += 999) {
    const TDateTime v = EncodeTime((unsigned short)(ms / 3600000), (unsigned short)(ms / 60000 % 60),
                                   (unsigned short)(ms / 1000 % 60), (unsigned short)(ms % 1000));
    unsigned short h, mi, s, msec;
    v.DecodeTime(&h, &mi, &s, &msec);
    ASSERT_EQ(((h * 60u + mi) * 60u + s) * 1000u + msec, ms);
  }
  for (auto hmsm : {std::array<unsigned short, 4>{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}})
    EXPECT_EQ(ConvertErrorOf([&] { EncodeTime(hmsm[0], hmsm[1], hmsm[2], hmsm[3]); }),
              "Invalid argument to time encode");
  unsigned short y = 1, m = 1, d = 1;
  DecodeDate(std::numeric_limits<double>::quiet_NaN(), y, m, d);
  EXPECT_EQ(y + m + d, 0);
  DecodeDate(-700000.0, y, m, d);  // before the year 1
  EXPECT_EQ(y + m + d, 0);
}

TEST(DateTime, NowIsTheLocalClock) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::time_t before = std::time(nullptr);
    const TDateTime now = Now(), date = Date(), time = Time();
    const std::time_t after = std::time(nullptr);
    std::tm lt{};
#ifdef _WIN32
    localtime_s(&lt, &before);
#else
    localtime_r(&before, &lt);
#endif
    if (before != after || lt.tm_sec >= 59) continue;  // a second boundary passed; try again
    unsigned short y, mo, d, h, mi, s, ms;
    DecodeDate(now, y, mo, d);
    DecodeTime(now, h, mi, s, ms);
    EXPECT_EQ(y, lt.tm_year + 1900);
    EXPECT_EQ(mo, lt.tm_mon + 1);
    EXPECT_EQ(d, lt.tm_mday);
    EXPECT_EQ(h, lt.tm_hour);
    EXPECT_EQ(mi, lt.tm_min);
    EXPECT_EQ(s, lt.tm_sec);
    EXPECT_EQ(date.Val, std::floor(now.Val));
    EXPECT_GE(time.Val, 0.0);
    EXPECT_LT(time.Val, 1.0);
    EXPECT_NEAR(time.Val, now.Val - date.Val, 2.0 / 86400);
    return;
  }
  GTEST_SKIP() << "the clock kept crossing second boundaries";
}

TEST(DateTime, ShortDateFormatIsTheSystems) {
#ifdef _WIN32
  char Buf[81] = {};
  ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, Buf, sizeof Buf), 1);
  EXPECT_EQ(ShortDateFormat, AnsiString(Buf));
#else
  EXPECT_EQ(ShortDateFormat, "M/d/yyyy");
#endif
}

}  // namespace
