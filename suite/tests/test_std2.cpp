// Std2: the steel pattern, the minute fraction, the shared enumerations and property holders.
#include "suite/Std2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

TEST(Std2Steel, SilverWithWhiteWhereBothCoordinatesAreOdd) {
  ASSERT_TRUE(TSteel);
  ASSERT_EQ(TSteel->Width(), 8);
  ASSERT_EQ(TSteel->Height(), 8);
  int White = 0;
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) {
      TColor C = TSteel->Canvas()->Pixels(X, Y);
      bool BothOdd = (X % 2) && (Y % 2);
      EXPECT_EQ(C, BothOdd ? clWhite : clSilver) << "(" << X << ", " << Y << ")";
      White += C == clWhite;
    }
  EXPECT_EQ(White, 16);
}

TEST(Std2Minute, StoredAsTheExtendedValueOfOneOver1440) {
  unsigned char Bytes[sizeof(long double)];
  std::memcpy(Bytes, &qcCalcOffSetTime, sizeof Bytes);
  uint64_t Mantissa;
  uint16_t Exponent;
  std::memcpy(&Mantissa, Bytes, 8);
  std::memcpy(&Exponent, Bytes + 8, 2);
  EXPECT_EQ(Mantissa, 0xB60B60B60B60B60Bull);
  EXPECT_EQ(Exponent, 0x3FF4);
  EXPECT_EQ(qcCalcOffSetTime, 1.0L / 1440);
  // 1440 times it rounds to 1 - 2^-64 in extended precision, not to 1.
  EXPECT_EQ(1440 * qcCalcOffSetTime, 1.0L - 0x1p-64L);
}

TEST(Std2Delay, SleepsAtLeastTheTime) {
  LARGE_INTEGER F, A, B;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&A);
  Delay(0);
  Delay(30);
  QueryPerformanceCounter(&B);
  double Ms = double(B.QuadPart - A.QuadPart) * 1000.0 / double(F.QuadPart);
  EXPECT_GE(Ms, 25.0);  // Sleep's granularity may end it a little early
}

TEST(Std2Types, EnumerationsInDeclaredOrder) {
  EXPECT_EQ(sbTypeType.Count(), 30);
  EXPECT_EQ(sbTypeType.NameToValue("sbOwnerDraw"), int(sbOwnerDraw));
  EXPECT_EQ(int(sbOwnerDraw), 16);
  EXPECT_EQ(sbTypeType.NameToValue("sb360"), 29);
  EXPECT_STREQ(sbTypeType.ValueToName(sbDnLTriangle), "sbDnLTriangle");
  EXPECT_EQ(tBitWhereType.NameToValue("q_BWRight"), 1);
  EXPECT_EQ(qbHorzAlignType.NameToValue("qbha_Bottom"), 2);
  EXPECT_EQ(TqcFanceDefLookType.NameToValue("dlfNone"), 1);
  EXPECT_EQ(qSplashStyleTypeType.NameToValue("ssCircle"), 2);
}

TEST(Std2Types, ButtonTextFlags) {
  const struct { int Alignment; qbHorzAlign Vert; bool Multi, Wrap; unsigned Flags; } Cases[] = {
      {0, qbha_Center, false, false, 0 | 4 | 32},
      {1, qbha_Top, false, false, 2 | 0 | 32},
      {2, qbha_Bottom, false, false, 1 | 8 | 32},
      {2, qbha_Center, true, false, 1 | 4},
      {0, qbha_Top, true, true, 16},
      {1, qbha_Bottom, false, true, 2 | 8 | 32 | 16},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(ButtonTextFlags(C.Alignment, C.Vert, C.Multi, C.Wrap), C.Flags)
        << C.Alignment << " " << C.Vert << " " << C.Multi << " " << C.Wrap;
}

struct TChangeCounter : TObject {
  int Count = 0;
  TObject* Last = nullptr;
  void Changed(TObject* Sender) { ++Count; Last = Sender; }
};

TEST(Std2Holders, EveryWriteReportsEvenWithoutAChange) {
  TChangeCounter Counter;
  TqcBmpOffset Offset;
  Offset.OnChange = EVENT(&Counter, TChangeCounter::Changed);
  Offset.SetLeft(3);
  Offset.SetLeft(3);
  Offset.SetTop(-2);
  EXPECT_EQ(Counter.Count, 3);
  EXPECT_EQ(Counter.Last, &Offset);
  EXPECT_EQ(Offset.Left(), 3);
  EXPECT_EQ(Offset.Top(), -2);

  TqcTextSize Size;
  Size.OnChange = EVENT(&Counter, TChangeCounter::Changed);
  Counter.Count = 0;
  Size.SetLeft(1);
  Size.SetTop(2);
  Size.SetWidth(30);
  Size.SetHeight(40);
  Size.SetHeight(40);
  EXPECT_EQ(Counter.Count, 5);
  TqcTextSize Copy;
  Copy.Assign(&Size);
  EXPECT_EQ(Copy.Left(), 1);
  EXPECT_EQ(Copy.Top(), 2);
  EXPECT_EQ(Copy.Width(), 30);
  EXPECT_EQ(Copy.Height(), 40);
  EXPECT_THROW(Copy.Assign(&Offset), EConvertError);
  // Published for the form reader.
  EXPECT_TRUE(TqcTextSize::StaticClass()->FindProp("Width"));
  EXPECT_TRUE(TqcBmpOffset::StaticClass()->FindProp("Top"));
}

}  // namespace
