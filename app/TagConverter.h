// SGTIN-96 tag identifiers: 24 hexadecimal digits <-> dotted decimal fields
// (header.filter.partition.company prefix.item reference.serial), via a "0"/"1" bit string.
#pragma once
#include "rtl/System.h"

#include <string>
#include <string_view>

class TagConverter {
public:
  // Fields cut out by the last conversion. Scratch is the last unpadded decimal value
  // computed for a company prefix or item reference.
  AnsiString Scratch;
  AnsiString Header;
  AnsiString Filter;
  AnsiString Partition;
  AnsiString CompanyPrefix;
  AnsiString ItemReference;
  AnsiString Serial;

  // Hexadecimal digits to the dotted decimal text; fewer than 24 digits give the fields decoded
  // so far. EConvertError for more than 24 digits.
  AnsiString HexToEpc(const AnsiString& HexText);
  // Dotted decimal text (blanks around it trimmed) to uppercase hexadecimal digits.
  // EConvertError unless it has six fields, each a whole number its field can hold; an empty
  // or blank text gives the empty text.
  AnsiString EpcToHex(const AnsiString& EpcText);

  // Four bits per hexadecimal digit (either case); other characters are skipped.
  AnsiString HexToBits(const AnsiString& Text);
  AnsiString BitsToEpc(const AnsiString& Bits);
  // Exact decimal value of a bit string of any length; characters other than "1" count as 0.
  AnsiString BinToDec(const AnsiString& Bits);
  AnsiString EpcToBits(const AnsiString& Text);
  // Low Width bits (two's complement) of Text truncated toward zero to a signed 64-bit value.
  AnsiString DecToBits(int Width, const AnsiString& Text);
  // Four bits per digit, a short last group padded with "0" on the right.
  AnsiString BitsToHex(const AnsiString& Bits);

private:
  // BitsToEpc's work, writing the field members in place.
  std::string DecodeBits(std::string_view Bits);
};
