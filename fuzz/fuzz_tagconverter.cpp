// HexToEpc never throws, EpcToHex and DecToBits throw only EConvertError (anything else
// escapes and crashes), outputs keep their alphabets, and a full 96-bit tag with a partition
// that has widths survives the way to dotted text and back.
#include "app/TagConverter.h"
#include "rtl/SysUtils.h"
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Check(bool Condition) {
  if (!Condition) __builtin_trap();
}

int DigitValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

bool OnlyOf(const std::string& S, const char* Alphabet) {
  return S.find_first_not_of(Alphabet) == std::string::npos;
}

void CheckHexToEpc(const AnsiString& Input) {
  TagConverter T;
  AnsiString Epc;
  try {
    Epc = T.HexToEpc(Input);
  } catch (...) {
    __builtin_trap();
  }
  Check(OnlyOf(Epc.str(), "0123456789."));

  // The digits HexToEpc accepts, in uppercase: what BitsToHex gives back for them.
  std::string Digits;
  for (char C : Input.str())
    if (int V = DigitValue(C); V >= 0) Digits += "0123456789ABCDEF"[V];
  if (Digits.size() < 4) return;
  const int Partition = ((DigitValue(Digits[2]) & 1) << 2) | (DigitValue(Digits[3]) >> 2);

  if (Partition == 7) {
    Check(Epc.Length() >= 2 && Epc.str().compare(Epc.Length() - 2, 2, ".7") == 0);
    bool Raised = false;
    try {
      T.EpcToHex(Epc);
    } catch (const EConvertError& E) {
      Raised = E.Message() == "Partition value 7 is outside 0 to 6";
    }
    Check(Raised);
    return;
  }
  // Exactly 96 bits: every field is complete and non-empty, each value fits its width, and
  // each decimal text is below 2^40, so parsing it back is exact. Fewer bits lose the
  // incomplete tail; more bits give a serial wider than the 38 that EpcToHex writes.
  if (Digits.size() == 24) Check(T.EpcToHex(Epc).str() == Digits);
}

void CheckEpcToHex(const AnsiString& Input) {
  TagConverter T;
  try {
    const AnsiString Hex = T.EpcToHex(Input);
    Check(OnlyOf(Hex.str(), "0123456789ABCDEF"));
  } catch (const EConvertError&) {
  }
}

void CheckDecToBits(const uint8_t* Data, size_t Size) {
  if (Size == 0) return;
  const int Width = int(int8_t(Data[0]));
  TagConverter T;
  try {
    const AnsiString Bits =
        T.DecToBits(Width, AnsiString(reinterpret_cast<const char*>(Data + 1), int(Size - 1)));
    Check(Bits.Length() == (Width > 0 ? Width : 0));
    Check(OnlyOf(Bits.str(), "01"));
  } catch (const EConvertError&) {
  }
}

void CheckBinToDec(const AnsiString& Input) {
  TagConverter T;
  const std::string Dec = T.BinToDec(Input).str();
  Check(!Dec.empty() && OnlyOf(Dec, "0123456789"));
  Check(Dec == "0" || Dec[0] != '0');
  // Parity follows the last bit.
  const bool Odd = !Input.IsEmpty() && Input.str().back() == '1';
  Check(((Dec.back() - '0') % 2 == 1) == Odd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const AnsiString Input(reinterpret_cast<const char*>(Data), int(Size));
  CheckHexToEpc(Input);
  CheckEpcToHex(Input);
  CheckDecToBits(Data, Size);
  CheckBinToDec(Input);
  return 0;
}
