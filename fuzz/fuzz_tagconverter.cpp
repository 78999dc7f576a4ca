// The converter throws only EConvertError (anything else escapes and crashes): HexToEpc only
// for more than 24 digits, EpcToHex for any text that is not a tag; an empty or blank text is
// the empty tag. Outputs keep their alphabets, a 96-bit tag whose fields fit survives the way to
// dotted text and back, and every other text EpcToHex takes gives a 24-digit tag that decodes
// back to it.
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
  // The digits HexToEpc accepts, in uppercase: what BitsToHex gives back for them.
  std::string Digits;
  for (char C : Input.str())
    if (int V = DigitValue(C); V >= 0) Digits += "0123456789ABCDEF"[V];

  TagConverter T;
  AnsiString Epc;
  try {
    Epc = T.HexToEpc(Input);
  } catch (const EConvertError&) {
    Check(Digits.size() > 24);
    return;
  } catch (...) {
    __builtin_trap();
  }
  Check(Digits.size() <= 24);
  Check(OnlyOf(Epc.str(), "0123456789."));
  if (Digits.size() < 4) return;
  const int Partition = ((DigitValue(Digits[2]) & 1) << 2) | (DigitValue(Digits[3]) >> 2);

  bool Raised = false;
  std::string Message;
  AnsiString Hex;
  try {
    Hex = T.EpcToHex(Epc);
  } catch (const EConvertError& E) {
    Raised = true;
    Message = E.Message().str();
  }
  if (Partition == 7) {
    Check(Epc.Length() >= 2 && Epc.str().compare(Epc.Length() - 2, 2, ".7") == 0);
    Check(Raised && Message == "Partition 7 is out of range (0 to 6)");
    return;
  }
  if (Digits.size() != 24) {
    Check(Raised);  // fewer than six fields
    return;
  }
  // Six fields: back to the same digits, unless a company prefix or item reference has more
  // digits than its partition allows.
  if (Raised) Check(Message.find(" is out of range for partition ") != std::string::npos);
  else Check(Hex.str() == Digits);
}

void CheckEpcToHex(const AnsiString& Input) {
  TagConverter T;
  AnsiString Hex;
  try {
    Hex = T.EpcToHex(Input);
  } catch (const EConvertError&) {
    return;
  }
  // An empty or blank text is the empty tag.
  bool Blank = true;
  for (char C : Input.str()) Blank = Blank && (unsigned char)C <= ' ';
  if (Blank) {
    Check(Hex.IsEmpty() && T.Header.IsEmpty() && T.Serial.IsEmpty());
    return;
  }
  Check(Hex.Length() == 24 && OnlyOf(Hex.str(), "0123456789ABCDEF"));
  Check(T.EpcToHex(T.HexToEpc(Hex)) == Hex);
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
