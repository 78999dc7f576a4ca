// SGTIN-96 tag identifiers: 24 hexadecimal digits <-> dotted decimal fields
// (header.filter.partition.company prefix.item reference.serial), via a "0"/"1" bit string.
#pragma once
#include "rtl/System.h"

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

  // Hexadecimal digits to the dotted decimal text. Never throws.
  AnsiString HexToEpc(AnsiString HexText);
  // Dotted decimal text to uppercase hexadecimal digits. Raises EConvertError.
  AnsiString EpcToHex(AnsiString EpcText);

  // Four bits per hexadecimal digit (either case); other characters are skipped.
  AnsiString HexToBits(AnsiString Text);
  AnsiString BitsToEpc(AnsiString Bits);
  // Exact decimal value of a bit string of any length; characters other than "1" count as 0.
  AnsiString BinToDec(AnsiString Bits);
  AnsiString EpcToBits(AnsiString Text);
  // Low Width bits (two's complement) of Text truncated toward zero to a signed 64-bit value.
  AnsiString DecToBits(int Width, AnsiString Text);
  // Four bits per digit, a short last group padded with "0" on the right.
  AnsiString BitsToHex(AnsiString Bits);
};
