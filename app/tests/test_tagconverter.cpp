#include "app/TagConverter.h"
#include "rtl/SysUtils.h"
#include <gtest/gtest.h>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

const char* const Sample = "303415E98C0A11800000A3C8";
const char* const SampleEpc = "48.1.5.0359011.010310.41928";

// Result of one conversion: the returned text, or the class and message of what it raised.
struct TOutcome {
  bool Raised = false;
  std::string Text;
  std::string ErrorClass;
};

template <class F> TOutcome Outcome(F&& Convert) {
  TOutcome R;
  try {
    R.Text = Convert().str();
  } catch (const Exception& E) {
    R.Raised = true;
    R.ErrorClass = E.ClassName();
    R.Text = E.Message().str();
  }
  return R;
}

void ExpectResult(const TOutcome& R, const char* Expected) {
  EXPECT_FALSE(R.Raised) << R.ErrorClass << ": " << R.Text;
  EXPECT_EQ(R.Text, std::string(Expected));
}

void ExpectConvertError(const TOutcome& R, const char* Message) {
  EXPECT_TRUE(R.Raised) << "returned \"" << R.Text << "\"";
  EXPECT_EQ(R.ErrorClass, "EConvertError");
  EXPECT_EQ(R.Text, std::string(Message));
}

enum TDirection { ToEpc, ToHex };

struct TConversionCase {
  TDirection Direction;
  const char* Input;
  const char* Expected;  // the result, or the EConvertError message when Raises
  bool Raises;
};

const TConversionCase ConversionCases[] = {
    // The sample, both ways; the unpadded form gives the same digits.
    {ToEpc, Sample, SampleEpc, false},
    {ToHex, SampleEpc, Sample, false},
    {ToHex, "48.1.5.359011.10310.41928", Sample, false},
    // Lowercase digits count as uppercase; other characters are skipped.
    {ToEpc, "303415e98c0a11800000a3c8", SampleEpc, false},
    {ToEpc, "303415e98C0A11800000a3C8", SampleEpc, false},
    {ToEpc, "3034 15E9 8C0A 1180 0000 A3C8 ", SampleEpc, false},
    {ToEpc, "3g0", "48", false},
    {ToEpc, "-3:0G/", "48", false},
    {ToEpc, "ghijxyz", "", false},
    // Short inputs drop the incomplete trailing fields.
    {ToEpc, "", "", false},
    {ToEpc, "3", "3", false},
    {ToEpc, "30", "48", false},
    {ToEpc, "3034", "48.1.5", false},
    {ToEpc, "303415E98C0A1180", "48.1.5.0359011.010310", false},
    // Longer inputs lengthen the serial, converted exactly at any length.
    {ToEpc, "303415E98C0A11800000A3C8FFFF", "48.1.5.0359011.010310.2747858943", false},
    {ToEpc, "303415E98C0A11800000A3C8FFFFFFFFFFFFFFFF",
     "48.1.5.0359011.010310.773453532266567789707263", false},
    {ToEpc, "303415E98C0A11800000A3C80123456789ABCDEF0123456789abcdef01234567",
     "48.1.5.0359011.010310.61277847145572930136234760728020889082987255993419111", false},
    // Padding by partition; a value wider than its digit count is not cut.
    {ToEpc, "300000000000000000000000", "48.0.0.000000000000.0.0", false},
    {ToEpc, "303800000000000000000001", "48.1.6.000000.0000000.1", false},
    {ToEpc, "3037FFFFFC00000000000000", "48.1.5.16777215.000000.0", false},
    // Partition 7 has no widths: the text stops after it.
    {ToEpc, "303FFFFFFFFFFFFFFFFFFFFF", "48.1.7", false},
    {ToEpc, "303C", "48.1.7", false},
    // Reverse with fewer fields.
    {ToHex, "48", "", false},
    {ToHex, "48.", "30", false},
    {ToHex, "48.1", "302", false},
    {ToHex, "48.1.5", "3034", false},
    {ToHex, "48.1.5.0359011", "303415E98C", false},
    {ToHex, "48.1.5.0359011.010310", "303415E98C0A118", false},
    {ToHex, "48.1.5.0359011.010310.", "303415E98C0A118", false},
    // Out-of-range values keep their low bits.
    {ToHex, "48.9.5.0359011.010310.41928", Sample, false},
    {ToHex, "48.1.5.0359011.010310.274877906943", "303415E98C0A11BFFFFFFFFF", false},
    {ToHex, "48.1.5.0359011.010310.274877906944", "303415E98C0A118000000000", false},
    {ToHex, "48.1.5.0359011.010310.-1", "303415E98C0A11BFFFFFFFFF", false},
    {ToHex, "48.1.5.0359011.010310.9223372036854775807", "303415E98C0A11BFFFFFFFFF", false},
    // An empty field contributes no bits; the later ones move up.
    {ToHex, "48.1.5..010310.41928", "30340A11800000A3C8", false},
    // Parse errors, first bad field from the left.
    {ToHex, "x.1.5", "'x' is not a valid floating point value", true},
    {ToHex, "48.1..0359011.010310.41928", "'' is not a valid integer value", true},
    {ToHex, "48.1.5e0.0359011.010310.41928", "'5e0' is not a valid integer value", true},
    {ToHex, "48.y.5.z.010310.41928", "'y' is not a valid floating point value", true},
    // Values outside the signed 64-bit range.
    {ToHex, "48.1.5.0359011.010310.1e30", "'1e30' is not a valid integer value", true},
    {ToHex, "48.1.5.-1e300.010310.41928", "'-1e300' is not a valid integer value", true},
    {ToHex, "48.1.5.0359011.010310.9223372036854775808",
     "'9223372036854775808' is not a valid integer value", true},
    // Partitions without a table row.
    {ToHex, "48.1.7.0359011.010310.41928", "Partition value 7 is outside 0 to 6", true},
    {ToHex, "48.1.7", "Partition value 7 is outside 0 to 6", true},
    {ToHex, "48.1.9.1.2.3", "Partition value 9 is outside 0 to 6", true},
    {ToHex, "48.1.-1.1.2.3", "Partition value -1 is outside 0 to 6", true},
};

TEST(TagConverter, Conversions) {
  for (const TConversionCase& C : ConversionCases) {
    SCOPED_TRACE(std::string(C.Direction == ToEpc ? "HexToEpc " : "EpcToHex ") + "\"" + C.Input +
                 "\"");
    TagConverter T;
    const TOutcome R = Outcome([&] {
      return C.Direction == ToEpc ? T.HexToEpc(C.Input) : T.EpcToHex(C.Input);
    });
    if (C.Raises)
      ExpectConvertError(R, C.Expected);
    else
      ExpectResult(R, C.Expected);
  }
}

TEST(TagConverter, ShiftedFieldsGiveShorterTag) {
  TagConverter T;
  EXPECT_EQ(T.EpcToBits("48.1.5..010310.41928").Length(), 72);
  EXPECT_EQ(T.EpcToBits(SampleEpc).Length(), 96);
}

TEST(TagConverter, FieldsAfterHexToEpc) {
  TagConverter T;
  ASSERT_EQ(T.HexToEpc(Sample), SampleEpc);
  EXPECT_EQ(T.Header, "00110000");
  EXPECT_EQ(T.Filter, "001");
  EXPECT_EQ(T.Partition, "101");
  EXPECT_EQ(T.CompanyPrefix, "0359011");
  EXPECT_EQ(T.ItemReference, "010310");
  EXPECT_EQ(T.Serial, T.DecToBits(38, "41928"));
  EXPECT_EQ(T.Scratch, "10310");

  // A shorter conversion leaves nothing of the previous one in the fields it does not reach,
  // and an incomplete field keeps its bits.
  ASSERT_EQ(T.HexToEpc("303415E98"), "48.1.5");
  EXPECT_EQ(T.Header, "00110000");
  EXPECT_EQ(T.Partition, "101");
  EXPECT_EQ(T.CompanyPrefix, "0000010101111010011000");
  EXPECT_EQ(T.ItemReference, "");
  EXPECT_EQ(T.Serial, "");

  ASSERT_EQ(T.HexToEpc("303FFFFFFFFFFFFFFFFFFFFF"), "48.1.7");
  EXPECT_EQ(T.Partition, "111");
  EXPECT_EQ(T.CompanyPrefix, "");
  EXPECT_EQ(T.ItemReference, "");
  EXPECT_EQ(T.Serial, "");
}

TEST(TagConverter, FieldsAfterEpcToHex) {
  TagConverter T;
  ASSERT_EQ(T.EpcToHex("48.1.5.359011.10310.41928.7"), "303415E98C0A11800000A3C8");
  EXPECT_EQ(T.Header, "48");
  EXPECT_EQ(T.Filter, "1");
  EXPECT_EQ(T.Partition, "5");
  EXPECT_EQ(T.CompanyPrefix, "359011");
  EXPECT_EQ(T.ItemReference, "10310");
  EXPECT_EQ(T.Serial, "41928.7");  // the serial takes the rest, dots included

  ASSERT_EQ(T.EpcToHex("48.1"), "302");
  EXPECT_EQ(T.Header, "48");
  EXPECT_EQ(T.Filter, "1");
  EXPECT_EQ(T.Partition, "");
  EXPECT_EQ(T.CompanyPrefix, "");
  EXPECT_EQ(T.Serial, "");
}

TEST(TagConverter, HexToBits) {
  const struct { const char* In; const char* Bits; } Cases[] = {
      {"", ""},
      {"0", "0000"},
      {"9", "1001"},
      {"aF", "10101111"},
      {"Ab-cD eF", "101010111100110111101111"},
      {"GgZz \t\n", ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.In);
    TagConverter T;
    EXPECT_EQ(T.HexToBits(C.In).str(), C.Bits);
  }
  TagConverter T;
  EXPECT_EQ(T.HexToBits(AnsiString("1\0" "2", 3)), "00010010");
}

TEST(TagConverter, BinToDecIsExact) {
  const std::string Ones79(79, '1');
  const std::string Pow64 = "1" + std::string(64, '0');
  const std::string Pow256 = "1" + std::string(256, '0');
  const std::string Pow53Plus1 = "1" + std::string(52, '0') + "1";
  const struct { std::string Bits; const char* Dec; } Cases[] = {
      {"", "0"},
      {"0", "0"},
      {"0000000", "0"},
      {"1", "1"},
      {"0001010", "10"},
      {"1x1", "5"},  // anything but "1" counts as 0
      {"11100011010111111010100100110001101000000000000000", "1000000000000000"},
      {"11100011010111111010100100110001100111111111111111", "999999999999999"},
      {Pow53Plus1, "9007199254740993"},
      {std::string(64, '1'), "18446744073709551615"},
      {Pow64, "18446744073709551616"},
      {Ones79, "604462909807314587353087"},
      {Pow256,
       "115792089237316195423570985008687907853269984665640564039457584007913129639936"},
      // A limb holding zero in the middle must keep its nine digits.
      {"11010011110000100001101111001110110011001110110110100001000000000000000000000001",
       "1000000000000000000000001"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Bits);
    TagConverter T;
    EXPECT_EQ(T.BinToDec(C.Bits).str(), C.Dec);
  }
}

TEST(TagConverter, DecToBits) {
  const struct {
    int Width;
    const char* Text;
    const char* Expected;  // bits, or the EConvertError message when Raises
    bool Raises;
  } Cases[] = {
      {8, "48", "00110000", false},
      {3, "9", "001", false},
      {3, "-1", "111", false},
      {8, "2.9", "00000010", false},
      {8, "-1.9", "11111111", false},   // toward zero: -1
      {8, "-0.5", "00000000", false},
      {8, "1e2", "01100100", false},
      {0, "5", "", false},
      {-3, "5", "", false},
      {70, "-2", "1111111111111111111111111111111111111111111111111111111111111111111110", false},
      {64, "-9223372036854775808",
       "1000000000000000000000000000000000000000000000000000000000000000", false},
      {64, "9223372036854775807",
       "0111111111111111111111111111111111111111111111111111111111111111", false},
      {4, "9223372036854775808", "'9223372036854775808' is not a valid integer value", true},
      {4, "-9223372036854775809", "'-9223372036854775809' is not a valid integer value", true},
      {38, "1e30", "'1e30' is not a valid integer value", true},
      {38, "-1e300", "'-1e300' is not a valid integer value", true},
      {38, "1e4000", nullptr, true},  // beyond long double: any EConvertError
      {8, "", "'' is not a valid floating point value", true},
      {8, "12a", "'12a' is not a valid floating point value", true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Width) + " \"" + C.Text + "\"");
    TagConverter T;
    const TOutcome R = Outcome([&] { return T.DecToBits(C.Width, C.Text); });
    if (!C.Raises)
      ExpectResult(R, C.Expected);
    else if (C.Expected)
      ExpectConvertError(R, C.Expected);
    else {
      EXPECT_TRUE(R.Raised);
      EXPECT_EQ(R.ErrorClass, "EConvertError");
    }
  }
}

TEST(TagConverter, BitsToHex) {
  const struct { const char* Bits; const char* Hex; } Cases[] = {
      {"", ""},
      {"1", "8"},
      {"101", "A"},
      {"0000", "0"},
      {"11111", "F8"},
      {"0011000000111", "3038"},
      {"1x1y", "A"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Bits);
    TagConverter T;
    EXPECT_EQ(T.BitsToHex(C.Bits).str(), C.Hex);
  }
}

// Random 96-bit tags with partition 0 to 6 survive the way to dotted text and back, from
// either case.
TEST(TagConverter, RoundTripOfRandomTags) {
  std::mt19937 Random(20240611u);
  TagConverter T;
  for (int N = 0; N < 3000; ++N) {
    uint32_t Words[3] = {uint32_t(Random()), uint32_t(Random()), uint32_t(Random())};
    const uint32_t P = uint32_t(Random() % 7);
    Words[0] = (Words[0] & ~(7u << 18)) | (P << 18);  // bits 11 to 13 from the top
    char Hex[25];
    std::snprintf(Hex, sizeof Hex, "%08X%08X%08X", unsigned(Words[0]), unsigned(Words[1]),
                  unsigned(Words[2]));
    std::string Lower = Hex;
    for (char& C : Lower) C = char(std::tolower((unsigned char)C));
    SCOPED_TRACE(Hex);

    const AnsiString Epc = T.HexToEpc(Hex);
    ASSERT_EQ(T.Partition, T.DecToBits(3, IntToStr(int(P))));
    ASSERT_EQ(T.EpcToHex(Epc), Hex) << Epc;
    ASSERT_EQ(T.EpcToHex(T.HexToEpc(Lower)), Hex);
  }
}

}  // namespace
