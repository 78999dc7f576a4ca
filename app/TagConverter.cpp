#include "app/TagConverter.h"
#include "rtl/SysUtils.h"
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Both directions go through a bit string of "0" and "1" characters. The two conversions the
// window calls keep theirs in a buffer on the stack and write the field members in place, so a
// converter that is used again allocates only its result.

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
constexpr int TagDigits = 24, TagBits = 4 * TagDigits;
constexpr int FieldCount = 6;
const char* const FieldNames[FieldCount] = {"Header",         "Filter value",   "Partition",
                                            "Company prefix", "Item reference", "Serial number"};
constexpr int FixedFieldBits[FieldCount] = {8, 3, 3, 0, 0, SerialBits};

void Assign(AnsiString& Member, std::string_view Text) { Member.str().assign(Text.data(), Text.size()); }

// Cuts the first Count characters (fewer when Rest is shorter) off Rest.
std::string_view Take(std::string_view& Rest, int Count) {
  const std::string_view Part = Rest.substr(0, size_t(std::max(Count, 0)));
  Rest.remove_prefix(Part.size());
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

// Value of a bit string of up to 64 characters; characters other than "1" count as 0.
uint64_t SmallValue(std::string_view Bits) {
  uint64_t V = 0;
  for (char C : Bits) V = (V << 1) | (C == '1' ? 1u : 0u);
  return V;
}

int HexDigitValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

// Appends V in decimal, left-padded with "0" to Digits characters.
void AppendDecimal(std::string& Out, uint64_t V, int Digits = 1) {
  char Buf[20];
  int N = 0;
  do {
    Buf[N++] = char('0' + V % 10);
    V /= 10;
  } while (V != 0);
  if (Digits > N) Out.append(size_t(Digits - N), '0');
  while (N > 0) Out += Buf[--N];
}

// Appends the exact decimal value of a bit string of any length.
void AppendBinToDec(std::string& Out, std::string_view S) {
  if (S.size() <= 64) return AppendDecimal(Out, SmallValue(S));
  // Little-endian limbs in base 10^9; the bits are fed in most significant first, up to 29 at
  // a time, so limb * 2^29 + carry stays well inside 64 bits.
  constexpr uint32_t Base = 1000000000u;
  constexpr size_t ChunkBits = 29;
  std::vector<uint32_t> Limbs;
  for (size_t I = 0; I < S.size();) {
    const size_t K = std::min(S.size() - I, ChunkBits);
    uint64_t Carry = SmallValue(S.substr(I, K));
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
  if (Limbs.empty()) return Out.push_back('0');
  for (size_t L = Limbs.size(); L-- > 0;) AppendDecimal(Out, Limbs[L], L + 1 == Limbs.size() ? 1 : 9);
}

// Four bits per accepted digit (either case) into Bits; other characters are skipped.
// Returns the number of digits.
template <class Out> int AppendHexBits(Out& Bits, std::string_view Text) {
  int Digits = 0;
  for (char C : Text) {
    const int V = HexDigitValue(C);
    if (V < 0) continue;
    ++Digits;
    for (int I = 3; I >= 0; --I) Bits.push_back((V >> I) & 1 ? '1' : '0');
  }
  return Digits;
}

// Four bits per digit, a short last group padded with "0" on the right.
void AppendBitsToHex(std::string& Out, std::string_view Bits) {
  static const char HexDigits[] = "0123456789ABCDEF";
  for (size_t K = 0; K < Bits.size(); K += 4) {
    const std::string_view Group = Bits.substr(K, 4);
    Out += HexDigits[SmallValue(Group) << (4 - Group.size())];
  }
}

// Up to 96 bit characters on the stack.
struct TBitBuffer {
  char Data[TagBits];
  int Size = 0;
  void push_back(char C) { Data[Size++] = C; }
  std::string_view View() const { return {Data, size_t(Size)}; }
  // The low Width bits of V, most significant first.
  void AppendBits(uint64_t V, int Width) {
    for (int I = Width - 1; I >= 0; --I) push_back((V >> I) & 1 ? '1' : '0');
  }
};

AnsiString NotAnInteger(const AnsiString& Text) {
  return "'" + Text + "' is not a valid integer value";
}

[[noreturn]] void PartitionOutOfRange(std::string_view Text) {
  throw EConvertError("Partition " + AnsiString(Text) + " is out of range (0 to " + IntToStr(PartitionCount - 1) +
                      ")");
}

uint64_t PowerOfTen(int N) {
  uint64_t V = 1;
  while (N-- > 0) V *= 10;
  return V;
}

enum class TWhole { Ok, NotNumber, NotWhole, OutOfRange };

// Reads a field written in any of the forms StrToFloat takes ([blanks][sign]digits[sep
// digits][(E|e)[sign]digits][blanks]) as an exact whole number from 0 to Max.
TWhole ParseWhole(std::string_view S, uint64_t Max, uint64_t& Value) {
  size_t I = 0, N = S.size();
  while (I < N && S[I] == ' ') ++I;
  while (N > I && S[N - 1] == ' ') --N;
  bool Negative = false;
  if (I < N && (S[I] == '+' || S[I] == '-')) Negative = S[I++] == '-';
  auto IsDigit = [&](size_t J) { return J < N && S[J] >= '0' && S[J] <= '9'; };
  const size_t IntFrom = I;
  while (IsDigit(I)) ++I;
  const size_t IntTo = I;
  size_t FracFrom = I, FracTo = I;
  if (I < N && S[I] == DecimalSeparator) {
    FracFrom = ++I;
    while (IsDigit(I)) ++I;
    FracTo = I;
  }
  if (IntFrom == IntTo && FracFrom == FracTo) return TWhole::NotNumber;
  long long Exponent = 0;
  if (I < N && (S[I] == 'E' || S[I] == 'e')) {
    ++I;
    bool NegativeExponent = false;
    if (I < N && (S[I] == '+' || S[I] == '-')) NegativeExponent = S[I++] == '-';
    if (!IsDigit(I)) return TWhole::NotNumber;
    for (; IsDigit(I); ++I) Exponent = std::min(Exponent * 10 + (S[I] - '0'), 1000000000LL);
    if (NegativeExponent) Exponent = -Exponent;
  }
  if (I != N) return TWhole::NotNumber;

  // The mantissa's digits are the integer part then the fraction; Value = digits * 10^Scale,
  // whole when every digit below 10^0 is zero.
  auto DigitAt = [&](size_t J) { return J < IntTo - IntFrom ? S[IntFrom + J] : S[FracFrom + J - (IntTo - IntFrom)]; };
  const size_t Count = (IntTo - IntFrom) + (FracTo - FracFrom);
  size_t First = 0;
  while (First < Count && DigitAt(First) == '0') ++First;
  Value = 0;
  if (First == Count) return TWhole::Ok;  // zero, whatever its sign
  const long long Scale = Exponent - (long long)(FracTo - FracFrom);
  const long long Whole = (long long)(Count - First) + Scale;  // digits above 10^0
  if (Whole <= 0) return TWhole::NotWhole;
  for (size_t J = First + size_t(std::min<long long>(Whole, (long long)(Count - First))); J < Count; ++J)
    if (DigitAt(J) != '0') return TWhole::NotWhole;
  if (Negative || Whole > 20) return TWhole::OutOfRange;
  for (long long J = 0; J < Whole; ++J) {
    const size_t At = First + size_t(J);
    const unsigned D = At < Count ? unsigned(DigitAt(At) - '0') : 0u;
    if (D > Max || Value > (Max - D) / 10) return TWhole::OutOfRange;
    Value = Value * 10 + D;
  }
  return TWhole::Ok;
}

// One field of a dotted text as a whole number from 0 to Max, or the error naming it.
uint64_t CheckedField(int Index, std::string_view Text, uint64_t Max, std::string_view Partition) {
  uint64_t Value = 0;
  switch (ParseWhole(Text, Max, Value)) {
    case TWhole::Ok: return Value;
    case TWhole::NotNumber:
      StrToFloat(AnsiString(Text));  // raises the runtime's own message
      break;
    case TWhole::NotWhole: break;
    case TWhole::OutOfRange: {
      std::string Message = std::string(FieldNames[Index]) + " " + std::string(Text) + " is out of range ";
      if (!Partition.empty()) Message += "for partition " + std::string(Partition) + " ";
      throw EConvertError(Message + "(0 to " + std::to_string(Max) + ")");
    }
  }
  throw EConvertError(std::string(FieldNames[Index]) + " '" + std::string(Text) + "' is not a whole number");
}

// The partition field: a number, then an integer text, then one with a table row.
int CheckedPartition(std::string_view Text) {
  int P;
  if (Text.size() == 1 && Text[0] >= '0' && Text[0] <= '9') {
    P = Text[0] - '0';
  } else {
    uint64_t Ignored;
    if (!Text.empty() && ParseWhole(Text, UINT64_MAX, Ignored) == TWhole::NotNumber) StrToFloat(AnsiString(Text));
    P = StrToInt(AnsiString(Text));  // the runtime's message for an empty or non-integer text
  }
  if (P < 0 || P >= PartitionCount) PartitionOutOfRange(Text);
  return P;
}

// A dotted text with blanks around it trimmed, cut at every dot: the first six fields and the
// number of fields.
struct TFields {
  std::string_view Text, Field[FieldCount];
  int Count = 0;
  explicit TFields(std::string_view S) {
    while (!S.empty() && (unsigned char)S.front() <= ' ') S.remove_prefix(1);
    while (!S.empty() && (unsigned char)S.back() <= ' ') S.remove_suffix(1);
    Text = S;
    if (S.empty()) return;
    for (;;) {
      const size_t Dot = S.find('.');
      if (Count < FieldCount) Field[Count] = S.substr(0, Dot);
      ++Count;
      if (Dot == std::string_view::npos) break;
      S.remove_prefix(Dot + 1);
    }
  }
};

}  // namespace

AnsiString TagConverter::HexToEpc(const AnsiString& HexText) {
  TBitBuffer Buffer;
  const std::string_view Text = HexText.str();
  // Counted first, so that a long text cannot overrun the buffer.
  const int Digits = int(std::count_if(Text.begin(), Text.end(), [](char C) { return HexDigitValue(C) >= 0; }));
  if (Digits > TagDigits)
    throw EConvertError("A SGTIN-96 tag ID has " + IntToStr(TagDigits) + " hexadecimal digits; this one has " +
                        IntToStr(Digits));
  AppendHexBits(Buffer, Text);
  return AnsiString(DecodeBits(Buffer.View()));
}

AnsiString TagConverter::EpcToHex(const AnsiString& EpcText) {
  AnsiString* const Members[FieldCount] = {&Header, &Filter, &Partition, &CompanyPrefix, &ItemReference, &Serial};
  for (AnsiString* M : Members) M->str().clear();
  // Checked from the left, each field kept as cut before it is checked; the count after the
  // fields that are there. An empty or blank text is the empty tag.
  const TFields F(EpcText.str());
  if (F.Count == 0) return AnsiString();
  uint64_t Value[FieldCount] = {};
  const TPartitionRow* Row = nullptr;
  for (int I = 0; I < FieldCount && I < F.Count; ++I) {
    Assign(*Members[I], F.Field[I]);
    if (I == 2) {
      Row = &PartitionTable[CheckedPartition(F.Field[I])];
      Value[I] = uint64_t(Row - PartitionTable);
    } else if (I == 3 || I == 4) {
      Value[I] = CheckedField(I, F.Field[I], PowerOfTen(I == 3 ? Row->CompanyDigits : Row->ItemDigits) - 1, F.Field[2]);
    } else {
      Value[I] = CheckedField(I, F.Field[I], (uint64_t(1) << FixedFieldBits[I]) - 1, {});
    }
  }
  if (F.Count != FieldCount)
    throw EConvertError("An SGTIN-96 EPC has six fields; '" + AnsiString(F.Text) + "' has " + IntToStr(F.Count));

  const int Widths[FieldCount] = {8, 3, 3, Row->CompanyBits, Row->ItemBits, SerialBits};
  TBitBuffer Bits;
  for (int I = 0; I < FieldCount; ++I) Bits.AppendBits(Value[I], Widths[I]);
  std::string Hex;
  Hex.reserve(TagDigits);
  AppendBitsToHex(Hex, Bits.View());
  return AnsiString(std::move(Hex));
}

AnsiString TagConverter::HexToBits(const AnsiString& Text) {
  std::string Bits;
  Bits.reserve(size_t(Text.Length()) * 4);
  AppendHexBits(Bits, Text.str());
  return AnsiString(std::move(Bits));
}

AnsiString TagConverter::BitsToEpc(const AnsiString& Bits) { return AnsiString(DecodeBits(Bits.str())); }

std::string TagConverter::DecodeBits(std::string_view Rest) {
  std::string Out;
  Out.reserve(40);
  Assign(Header, Take(Rest, 8));
  if (!Header.IsEmpty()) AppendBinToDec(Out, Header.str());
  Assign(Filter, Take(Rest, 3));
  if (Filter.Length() == 3) Out += '.', AppendBinToDec(Out, Filter.str());
  Assign(Partition, Take(Rest, 3));
  if (Partition.Length() == 3) Out += '.', AppendBinToDec(Out, Partition.str());
  CompanyPrefix.str().clear();
  ItemReference.str().clear();
  Serial.str().clear();

  const uint64_t P = SmallValue(Partition.str());
  if (P >= uint64_t(PartitionCount)) return Out;  // no widths for the fields that would follow
  const TPartitionRow& Row = PartitionTable[P];

  // A complete field's bits give way to its decimal text, left-padded to the table's digits.
  auto Number = [&](AnsiString& Member, int Bits, int Digits) {
    Assign(Member, Take(Rest, Bits));
    if (Member.Length() != Bits) return;
    Scratch.str().clear();
    AppendBinToDec(Scratch.str(), Member.str());
    Member.str().assign(size_t(std::max(0, Digits - Scratch.Length())), '0');
    Member.str() += Scratch.str();
    Out += '.';
    Out += Member.str();
  };
  Number(CompanyPrefix, Row.CompanyBits, Row.CompanyDigits);
  Number(ItemReference, Row.ItemBits, Row.ItemDigits);
  Assign(Serial, Rest);
  if (Rest.size() >= size_t(SerialBits)) Out += '.', AppendBinToDec(Out, Rest);
  return Out;
}

AnsiString TagConverter::BinToDec(const AnsiString& Bits) {
  std::string Out;
  AppendBinToDec(Out, Bits.str());
  return AnsiString(std::move(Out));
}

AnsiString TagConverter::EpcToBits(const AnsiString& Text) {
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
  if (P < 0 || P >= PartitionCount) PartitionOutOfRange(Partition.str());
  const TPartitionRow& Row = PartitionTable[P];

  if (!NextField(Rest, CompanyPrefix)) return Bits;
  if (!CompanyPrefix.IsEmpty()) Bits += DecToBits(Row.CompanyBits, CompanyPrefix);

  if (!NextField(Rest, ItemReference)) return Bits;
  if (!ItemReference.IsEmpty()) Bits += DecToBits(Row.ItemBits, ItemReference);

  Serial = Rest;
  if (!Serial.IsEmpty()) Bits += DecToBits(SerialBits, Serial);
  return Bits;
}

AnsiString TagConverter::DecToBits(int Width, const AnsiString& Text) {
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

AnsiString TagConverter::BitsToHex(const AnsiString& Bits) {
  std::string Out;
  Out.reserve(size_t(Bits.Length() + 3) / 4);
  AppendBitsToHex(Out, Bits.str());
  return AnsiString(std::move(Out));
}
