#include "app/TagConverter.h"
#include "rtl/SysUtils.h"
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct TPartitionRow {
  int CompanyBits, ItemBits, CompanyDigits, ItemDigits;
};

// SGTIN partition table, indexed by the partition value.
constexpr TPartitionRow PartitionTable[] = {
    {40, 4, 12, 1}, {37, 7, 11, 2}, {34, 10, 10, 3}, {30, 14, 9, 4},
    {27, 17, 8, 5}, {24, 20, 7, 6}, {20, 24, 6, 7},
};
constexpr int PartitionCount = int(sizeof(PartitionTable) / sizeof(PartitionTable[0]));

constexpr int SerialBits = 38;

// Cuts the first Count characters (fewer when Rest is shorter) off Rest.
AnsiString Take(AnsiString& Rest, int Count) {
  AnsiString Part = Rest.SubString(1, Count);
  Rest.Delete(1, Count);
  return Part;
}

// Cuts the next dot-terminated field off Rest; a last field without a dot takes the rest.
// False when Rest is empty.
bool NextField(AnsiString& Rest, AnsiString& Field) {
  int D = Rest.Pos(".");
  if (D == 0) {
    D = Rest.Length();
    if (D > 0) ++D;
  }
  if (D == 0) return false;
  Field = Rest.SubString(1, D - 1);
  Rest.Delete(1, D);
  return true;
}

// Value of a short bit string; characters other than "1" count as 0.
unsigned SmallValue(const AnsiString& Bits) {
  unsigned V = 0;
  for (char C : Bits.str()) V = (V << 1) | (C == '1' ? 1u : 0u);
  return V;
}

AnsiString PadLeft(const AnsiString& Text, int Digits) {
  if (Text.Length() >= Digits) return Text;
  return AnsiString(std::string(size_t(Digits - Text.Length()), '0')) + Text;
}

int HexDigitValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

AnsiString NotAnInteger(const AnsiString& Text) {
  return "'" + Text + "' is not a valid integer value";
}

}  // namespace

AnsiString TagConverter::HexToEpc(AnsiString HexText) {
  return BitsToEpc(HexToBits(HexText));
}

AnsiString TagConverter::EpcToHex(AnsiString EpcText) {
  return BitsToHex(EpcToBits(EpcText));
}

AnsiString TagConverter::HexToBits(AnsiString Text) {
  std::string Bits;
  Bits.reserve(size_t(Text.Length()) * 4);
  for (char C : Text.str()) {
    int V = HexDigitValue(C);
    if (V < 0) continue;
    for (int I = 3; I >= 0; --I) Bits += (V >> I) & 1 ? '1' : '0';
  }
  return AnsiString(std::move(Bits));
}

AnsiString TagConverter::BitsToEpc(AnsiString Bits) {
  Header = Filter = Partition = CompanyPrefix = ItemReference = Serial = AnsiString();
  AnsiString Rest = Bits;
  AnsiString Out;

  Header = Take(Rest, 8);
  if (!Header.IsEmpty()) Out = BinToDec(Header);
  Filter = Take(Rest, 3);
  if (Filter.Length() == 3) Out += "." + BinToDec(Filter);
  Partition = Take(Rest, 3);
  if (Partition.Length() == 3) Out += "." + BinToDec(Partition);

  const unsigned P = SmallValue(Partition);
  if (P >= unsigned(PartitionCount)) return Out;  // no widths for the fields that would follow
  const TPartitionRow& Row = PartitionTable[P];

  CompanyPrefix = Take(Rest, Row.CompanyBits);
  if (CompanyPrefix.Length() == Row.CompanyBits) {
    Scratch = BinToDec(CompanyPrefix);
    CompanyPrefix = PadLeft(Scratch, Row.CompanyDigits);
    Out += "." + CompanyPrefix;
  }
  ItemReference = Take(Rest, Row.ItemBits);
  if (ItemReference.Length() == Row.ItemBits) {
    Scratch = BinToDec(ItemReference);
    ItemReference = PadLeft(Scratch, Row.ItemDigits);
    Out += "." + ItemReference;
  }
  Serial = Rest;
  if (Rest.Length() >= SerialBits) Out += "." + BinToDec(Rest);
  return Out;
}

AnsiString TagConverter::BinToDec(AnsiString Bits) {
  // Little-endian limbs in base 10^9; the bits are fed in most significant first, up to 29 at
  // a time, so limb * 2^29 + carry stays well inside 64 bits.
  constexpr uint32_t Base = 1000000000u;
  constexpr size_t ChunkBits = 29;
  const std::string& S = Bits.str();
  std::vector<uint32_t> Limbs;
  for (size_t I = 0; I < S.size();) {
    const size_t K = S.size() - I < ChunkBits ? S.size() - I : ChunkBits;
    uint64_t Carry = 0;
    for (size_t J = 0; J < K; ++J) Carry = (Carry << 1) | (S[I + J] == '1' ? 1u : 0u);
    I += K;
    for (uint32_t& Limb : Limbs) {
      const uint64_t V = (uint64_t(Limb) << K) + Carry;
      Limb = uint32_t(V % Base);
      Carry = V / Base;
    }
    while (Carry != 0) {
      Limbs.push_back(uint32_t(Carry % Base));
      Carry /= Base;
    }
  }
  if (Limbs.empty()) return "0";

  std::string Out;
  Out.reserve(Limbs.size() * 9);
  char Digits[9];
  for (size_t L = Limbs.size(); L-- > 0;) {
    uint32_t V = Limbs[L];
    int N = 0;
    do {
      Digits[N++] = char('0' + V % 10);
      V /= 10;
    } while (V != 0);
    if (L + 1 != Limbs.size())
      while (N < 9) Digits[N++] = '0';
    while (N > 0) Out += Digits[--N];
  }
  return AnsiString(std::move(Out));
}

AnsiString TagConverter::EpcToBits(AnsiString Text) {
  Header = Filter = Partition = CompanyPrefix = ItemReference = Serial = AnsiString();
  AnsiString Rest = Text;
  AnsiString Bits;

  const int D = Rest.Pos(".");
  if (D == 0) return Bits;
  Header = Rest.SubString(1, D - 1);
  Rest.Delete(1, D);
  if (!Header.IsEmpty()) Bits += DecToBits(8, Header);

  if (!NextField(Rest, Filter)) return Bits;
  if (!Filter.IsEmpty()) Bits += DecToBits(3, Filter);

  if (!NextField(Rest, Partition)) return Bits;
  if (!Partition.IsEmpty()) Bits += DecToBits(3, Partition);
  const int P = StrToInt(Partition);
  if (P < 0 || P >= PartitionCount)
    throw EConvertError("Partition value " + IntToStr(P) + " is outside 0 to " +
                        IntToStr(PartitionCount - 1));
  const TPartitionRow& Row = PartitionTable[P];

  if (!NextField(Rest, CompanyPrefix)) return Bits;
  if (!CompanyPrefix.IsEmpty()) Bits += DecToBits(Row.CompanyBits, CompanyPrefix);

  if (!NextField(Rest, ItemReference)) return Bits;
  if (!ItemReference.IsEmpty()) Bits += DecToBits(Row.ItemBits, ItemReference);

  Serial = Rest;
  if (!Serial.IsEmpty()) Bits += DecToBits(SerialBits, Serial);
  return Bits;
}

AnsiString TagConverter::DecToBits(int Width, AnsiString Text) {
  const long double V = StrToFloat(Text);
  // Truncation to 64 bits is defined only inside [-2^63, 2^63); NaN fails both tests.
  constexpr long double Limit = 9223372036854775808.0L;
  if (!(V >= -Limit && V < Limit)) throw EConvertError(NotAnInteger(Text));
  const uint64_t U = uint64_t(int64_t(V));

  std::string Bits;
  if (Width <= 0) return AnsiString();
  Bits.reserve(size_t(Width));
  for (int I = Width - 1; I >= 0; --I) {
    const int Bit = I < 64 ? I : 63;  // beyond 64 bits the sign extends
    Bits += (U >> Bit) & 1 ? '1' : '0';
  }
  return AnsiString(std::move(Bits));
}

AnsiString TagConverter::BitsToHex(AnsiString Bits) {
  static const char HexDigits[] = "0123456789ABCDEF";
  std::string Out;
  const int N = Bits.Length();
  Out.reserve(size_t(N + 3) / 4);
  for (int K = 1; K <= N; K += 4) {
    AnsiString Group = Bits.SubString(K, 4);
    while (Group.Length() < 4) Group += '0';
    Out += HexDigits[SmallValue(Group)];
  }
  return AnsiString(std::move(Out));
}
