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
    // More than 24 digits are refused; 24 or fewer give the fields decoded so far.
    {ToEpc, "303415E98C0A11800000A3C8F", "A SGTIN-96 tag ID has 24 hexadecimal digits; this one has 25", true},
    {ToEpc, "303415E98C0A11800000A3C8FFFFFFFFFFFFFF",
     "A SGTIN-96 tag ID has 24 hexadecimal digits; this one has 38", true},
    {ToEpc, "303415E98C0A11800000A3C", "48.1.5.0359011.010310", false},
    {ToEpc, "3034 15E9 8C0A 1180 0000 A3C8 0", "A SGTIN-96 tag ID has 24 hexadecimal digits; this one has 25", true},
    // Padding by partition; a value wider than its digit count is not cut.
    {ToEpc, "300000000000000000000000", "48.0.0.000000000000.0.0", false},
    {ToEpc, "303800000000000000000001", "48.1.6.000000.0000000.1", false},
    {ToEpc, "3037FFFFFC00000000000000", "48.1.5.16777215.000000.0", false},
    // Partition 7 has no widths: the text stops after it.
    {ToEpc, "303FFFFFFFFFFFFFFFFFFFFF", "48.1.7", false},
    {ToEpc, "303C", "48.1.7", false},
    // Blanks around the whole text go; a whole number in another floating form is taken.
    {ToHex, "  48.1.5.0359011.010310.41928 ", Sample, false},
    {ToHex, "480e-1.1.5.359011.10310.41928", Sample, false},
    {ToHex, "48.1.5.0359011.010310.4.1928e4", "An SGTIN-96 EPC has six fields; '48.1.5.0359011.010310.4.1928e4' has 7", true},
    {ToHex, "48.1.5.0359011.010310.41928E0", Sample, false},
    // Values no field can hold are refused, naming the field, the text and the range.
    {ToHex, "48.9.5.0359011.010310.41928", "Filter value 9 is out of range (0 to 7)", true},
    {ToHex, "48.1.5.99999999.010310.41928", "Company prefix 99999999 is out of range for partition 5 (0 to 9999999)", true},
    {ToHex, "48.1.5.0359011.1000000.41928", "Item reference 1000000 is out of range for partition 5 (0 to 999999)", true},
    {ToHex, "48.1.5.0359011.010310.274877906944", "Serial number 274877906944 is out of range (0 to 274877906943)", true},
    {ToHex, "48.1.5.0359011.010310.-1", "Serial number -1 is out of range (0 to 274877906943)", true},
    {ToHex, "256.1.5.0359011.010310.41928", "Header 256 is out of range (0 to 255)", true},
    {ToHex, "48.1.5.0359011.010310.1e30", "Serial number 1e30 is out of range (0 to 274877906943)", true},
    {ToHex, "48.1.5.-1e300.010310.41928", "Company prefix -1e300 is out of range for partition 5 (0 to 9999999)", true},
    {ToHex, "48.1.5.0359011.010310.99999999999999999999999", "Serial number 99999999999999999999999 is out of range (0 to 274877906943)", true},
    {ToHex, "48.1.5.0359011.010310.1e1000000000000", "Serial number 1e1000000000000 is out of range (0 to 274877906943)", true},
    {ToHex, "48.1.5.0359011.010310.5e-1", "Serial number '5e-1' is not a whole number", true},
    // Whole or not is decided exactly, beyond what a floating value holds.
    {ToHex, "48.1.5.0359011.010310.4192800000000000000000000e-20", Sample, false},
    {ToHex, "48.1.5.0359011.010310.4192800000000000000000001e-20",
     "Serial number '4192800000000000000000001e-20' is not a whole number", true},
    {ToHex, "48.1.5.0359011.010310.1e-400", "Serial number '1e-400' is not a whole number", true},
    {ToHex, "48.1.5.0.0.-0", "303400000000000000000000", false},
    // Six fields, no more and no fewer.
    {ToHex, "48.1.5.0359011.010310.1.5", "An SGTIN-96 EPC has six fields; '48.1.5.0359011.010310.1.5' has 7", true},
    {ToHex, "48.1.5.1.2.3.4", "An SGTIN-96 EPC has six fields; '48.1.5.1.2.3.4' has 7", true},
    {ToHex, "48.1.5", "An SGTIN-96 EPC has six fields; '48.1.5' has 3", true},
    {ToHex, "48", "An SGTIN-96 EPC has six fields; '48' has 1", true},
    // An empty or blank box converts to the empty text.
    {ToHex, "", "", false},
    {ToHex, "   ", "", false},
    {ToHex, " \t ", "", false},
    // A field that is not a number, an empty one included, keeps the runtime's message.
    {ToHex, "48.1.5..010310.41928", "'' is not a valid floating point value", true},
    {ToHex, "48.1.5.0359011.010310.", "'' is not a valid floating point value", true},
    {ToHex, "48.", "'' is not a valid floating point value", true},
    {ToHex, "x.1.5", "'x' is not a valid floating point value", true},
    {ToHex, "48.y.5.z.010310.41928", "'y' is not a valid floating point value", true},
    {ToHex, "48.1.x.0359011.010310.41928", "'x' is not a valid floating point value", true},
    {ToHex, "48.1.5.0359011.010310.12a", "'12a' is not a valid floating point value", true},
    // The partition must be an integer text from 0 to 6.
    {ToHex, "48.1..0359011.010310.41928", "'' is not a valid integer value", true},
    {ToHex, "48.1.5e0.0359011.010310.41928", "'5e0' is not a valid integer value", true},
    {ToHex, "48.1.7.0359011.010310.41928", "Partition 7 is out of range (0 to 6)", true},
    {ToHex, "48.1.7", "Partition 7 is out of range (0 to 6)", true},
    {ToHex, "48.1.9.1.2.3", "Partition 9 is out of range (0 to 6)", true},
    {ToHex, "48.1.-1.1.2.3", "Partition -1 is out of range (0 to 6)", true},
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

// The bit string and its digits stay lenient: fewer fields give fewer bits.
TEST(TagConverter, EpcBitsOfShortTexts) {
  const struct { const char* Epc; const char* Hex; int Bits; } Cases[] = {
      {"48", "", 0},
      {"48.", "30", 8},
      {"48.1", "302", 11},
      {"48.1.5", "3034", 14},
      {"48.1.5.0359011", "303415E98C", 38},
      {"48.1.5.0359011.010310", "303415E98C0A118", 58},
      {"48.1.5.0359011.010310.", "303415E98C0A118", 58},
      {"48.1.5..010310.41928", "30340A11800000A3C8", 72},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Epc);
    TagConverter T;
    const AnsiString Bits = T.EpcToBits(C.Epc);
    EXPECT_EQ(Bits.Length(), C.Bits);
    EXPECT_EQ(T.BitsToHex(Bits), C.Hex);
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
  ASSERT_EQ(T.EpcToHex(" 48.1.5.359011.10310.41928 "), Sample);
  EXPECT_EQ(T.Header, "48");
  EXPECT_EQ(T.Filter, "1");
  EXPECT_EQ(T.Partition, "5");
  EXPECT_EQ(T.CompanyPrefix, "359011");
  EXPECT_EQ(T.ItemReference, "10310");
  EXPECT_EQ(T.Serial, "41928");

  // A refused text keeps the fields cut before the refusal, the refused one included, and
  // nothing of the conversion before.
  const struct {
    const char* Text;
    const char* Fields[6];
  } Refused[] = {
      {"x.1.5", {"x", "", "", "", "", ""}},
      {"48.1", {"48", "1", "", "", "", ""}},
      {"48.1.9.1.2.3", {"48", "1", "9", "", "", ""}},
      {"48.1.5.99999999.010310.41928", {"48", "1", "5", "99999999", "", ""}},
      {"48.1.5.0359011.010310.x", {"48", "1", "5", "0359011", "010310", "x"}},
      {"48.1.5.0359011.010310.1.5", {"48", "1", "5", "0359011", "010310", "1"}},
  };
  for (const auto& C : Refused) {
    SCOPED_TRACE(C.Text);
    ASSERT_EQ(T.EpcToHex(SampleEpc), Sample);
    EXPECT_THROW(T.EpcToHex(C.Text), EConvertError);
    const AnsiString* Members[] = {&T.Header, &T.Filter, &T.Partition, &T.CompanyPrefix, &T.ItemReference, &T.Serial};
    for (int I = 0; I < 6; ++I) EXPECT_EQ(*Members[I], C.Fields[I]) << "field " << I;
  }

  // An empty text clears every field.
  ASSERT_EQ(T.EpcToHex(SampleEpc), Sample);
  EXPECT_EQ(T.EpcToHex("  "), "");
  for (const AnsiString* F : {&T.Header, &T.Filter, &T.Partition, &T.CompanyPrefix, &T.ItemReference, &T.Serial})
    EXPECT_EQ(*F, "");

  // The bit string alone stays lenient: the serial takes the rest, dots included.
  ASSERT_EQ(T.EpcToBits("48.1.5.359011.10310.41928.7").Length(), 96);
  EXPECT_EQ(T.Serial, "41928.7");
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

// A tag's fields, packed and written out independently of the converter.
struct TTag {
  uint64_t Field[6];  // header, filter, partition, company prefix, item reference, serial
};
const int CompanyBits[7] = {40, 37, 34, 30, 27, 24, 20}, CompanyDigits[7] = {12, 11, 10, 9, 8, 7, 6};
const char* const FieldName[6] = {"Header", "Filter value", "Partition", "Company prefix", "Item reference",
                                  "Serial number"};

int Width(const TTag& T, int F) {
  const int P = int(T.Field[2]);
  const int Fixed[6] = {8, 3, 3, CompanyBits[P], 44 - CompanyBits[P], 38};
  return Fixed[F];
}
uint64_t MaxOf(const TTag& T, int F) {
  const int P = int(T.Field[2]);
  uint64_t Max = 1;
  if (F == 3 || F == 4)
    for (int D = F == 3 ? CompanyDigits[P] : 13 - CompanyDigits[P]; D > 0; --D) Max *= 10;
  else
    Max <<= Width(T, F);
  return Max - 1;
}
std::string HexOf(const TTag& T) {
  unsigned char Bytes[12] = {};
  int At = 0;
  for (int F = 0; F < 6; ++F)
    for (int B = Width(T, F) - 1; B >= 0; --B, ++At)
      if ((T.Field[F] >> B) & 1) Bytes[At / 8] |= uint8_t(0x80 >> (At % 8));
  std::string Hex;
  for (unsigned char C : Bytes) Hex += "0123456789ABCDEF"[C >> 4], Hex += "0123456789ABCDEF"[C & 15];
  return Hex;
}
std::string EpcOf(const TTag& T, bool Padded = true) {
  std::string Out;
  for (int F = 0; F < 6; ++F) {
    std::string V = std::to_string(T.Field[F]);
    if (Padded && (F == 3 || F == 4)) {
      const size_t Digits = size_t(std::to_string(MaxOf(T, F)).size());
      if (V.size() < Digits) V.insert(0, Digits - V.size(), '0');
    }
    Out += (F ? "." : "") + V;
  }
  return Out;
}

// Every field of every partition at 0, at its maximum and one above: the tag, or the error
// naming the field; each tag decodes to the same text.
TEST(TagConverter, FieldBoundariesForEveryPartition) {
  TagConverter T;
  for (uint64_t P = 0; P < 7; ++P)
    for (int F = 0; F < 6; ++F) {
      if (F == 2) continue;  // the partition picks the widths
      const TTag Base{{48, 1, P, 359, 7, 41928}};  // fits every partition
      for (uint64_t V : {uint64_t(0), MaxOf(Base, F), MaxOf(Base, F) + 1}) {
        TTag Tag = Base;
        Tag.Field[F] = V;
        const std::string Epc = EpcOf(Tag);
        SCOPED_TRACE(Epc);
        const TOutcome R = Outcome([&] { return T.EpcToHex(Epc.c_str()); });
        if (V <= MaxOf(Base, F)) {
          ExpectResult(R, HexOf(Tag).c_str());
          EXPECT_EQ(T.HexToEpc(HexOf(Tag).c_str()).str(), Epc);
        } else {
          std::string Want = std::string(FieldName[F]) + " " + std::to_string(V) + " is out of range ";
          if (F == 3 || F == 4) Want += "for partition " + std::to_string(P) + " ";
          ExpectConvertError(R, (Want + "(0 to " + std::to_string(MaxOf(Base, F)) + ")").c_str());
        }
      }
    }
}

// Random valid tags of every partition survive the way to dotted text and back, from either
// case of the digits and with the numbers unpadded.
TEST(TagConverter, RoundTripOfRandomTags) {
  std::mt19937_64 Random(20240611u);
  TagConverter T;
  for (int N = 0; N < 3000; ++N) {
    TTag Tag{{Random() % 256, Random() % 8, Random() % 7, 0, 0, 0}};
    for (int F = 3; F < 6; ++F) Tag.Field[F] = Random() % (MaxOf(Tag, F) + 1);
    const std::string Hex = HexOf(Tag);
    std::string Lower = Hex;
    for (char& C : Lower) C = char(std::tolower((unsigned char)C));
    SCOPED_TRACE(Hex);
    ASSERT_EQ(T.HexToEpc(Hex.c_str()).str(), EpcOf(Tag));
    ASSERT_EQ(T.EpcToHex(EpcOf(Tag, false).c_str()).str(), Hex);
    ASSERT_EQ(T.HexToEpc(Lower.c_str()).str(), EpcOf(Tag));
  }
}

}  // namespace
