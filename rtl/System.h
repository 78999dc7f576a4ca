// AnsiString: 1-based 8-bit string with value semantics; TDateTime.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <iosfwd>

class AnsiString {
public:
  AnsiString() = default;
  AnsiString(const char* s) : FData(s ? s : "") {}
  AnsiString(const char* s, int len) : FData(s, len > 0 ? size_t(len) : 0) {}
  AnsiString(const std::string& s) : FData(s) {}
  AnsiString(std::string&& s) : FData(std::move(s)) {}
  AnsiString(std::string_view s) : FData(s) {}
  explicit AnsiString(char c) : FData(1, c) {}
  explicit AnsiString(int v);
  explicit AnsiString(long long v);
  explicit AnsiString(unsigned v);
  explicit AnsiString(double v);

  int Length() const { return int(FData.size()); }
  bool IsEmpty() const { return FData.empty(); }
  const char* c_str() const { return FData.c_str(); }
  const char* data() const { return FData.data(); }
  const std::string& str() const { return FData; }
  std::string& str() { return FData; }
  operator std::string_view() const { return FData; }

  // 1-based; out-of-range indexes raise ERangeError ("String index out of range").
  char operator[](int i) const;
  char& operator[](int i);

  // Substring from 1-based Start, at most Count characters; clipped to the text.
  AnsiString SubString(int Start, int Count) const;
  // 1-based index of the first occurrence of Sub, 0 when absent (also for empty Sub).
  int Pos(const AnsiString& Sub) const;
  // Removes at most Count characters from 1-based Index; nothing when Index is out of range.
  AnsiString& Delete(int Index, int Count);
  // Inserts Str before 1-based Index (clipped to 1..Length+1).
  AnsiString& Insert(const AnsiString& Str, int Index);
  AnsiString& SetLength(int NewLength);

  AnsiString UpperCase() const;
  AnsiString LowerCase() const;
  AnsiString Trim() const;
  AnsiString TrimLeft() const;
  AnsiString TrimRight() const;
  int ToInt() const;                 // StrToInt
  int ToIntDef(int Default) const;   // StrToIntDef
  double ToDouble() const;           // StrToFloat
  int AnsiCompare(const AnsiString& Other) const { return FData.compare(Other.FData); }
  int AnsiCompareIC(const AnsiString& Other) const;
  int LastDelimiter(const AnsiString& Delimiters) const;
  bool IsDelimiter(const AnsiString& Delimiters, int Index) const;

  AnsiString& operator+=(const AnsiString& s) { FData += s.FData; return *this; }
  AnsiString& operator+=(const char* s) { FData += s ? s : ""; return *this; }
  AnsiString& operator+=(char c) { FData += c; return *this; }
  friend AnsiString operator+(const AnsiString& a, const AnsiString& b) { return AnsiString(a.FData + b.FData); }
  friend AnsiString operator+(const AnsiString& a, const char* b) { return AnsiString(a.FData + (b ? b : "")); }
  friend AnsiString operator+(const char* a, const AnsiString& b) { return AnsiString((a ? a : "") + b.FData); }
  friend AnsiString operator+(const AnsiString& a, char c) { return AnsiString(a.FData + c); }
  friend AnsiString operator+(char c, const AnsiString& b) { return AnsiString(std::string(1, c) + b.FData); }

  friend bool operator==(const AnsiString& a, const AnsiString& b) { return a.FData == b.FData; }
  friend bool operator==(const AnsiString& a, const char* b) { return a.FData == (b ? b : ""); }
  friend auto operator<=>(const AnsiString& a, const AnsiString& b) { return a.FData <=> b.FData; }

private:
  std::string FData;
};

std::ostream& operator<<(std::ostream& os, const AnsiString& s);

template <> struct std::hash<AnsiString> {
  size_t operator()(const AnsiString& s) const noexcept { return std::hash<std::string>()(s.str()); }
};

// Days since 1899-12-30, fraction is the time of day.
struct TDateTime {
  double Val = 0;
  TDateTime() = default;
  TDateTime(double v) : Val(v) {}
  TDateTime(unsigned short Hour, unsigned short Min, unsigned short Sec, unsigned short MSec);
  operator double() const { return Val; }
  static TDateTime CurrentDate();
  static TDateTime CurrentTime();
  static TDateTime CurrentDateTime();
  void DecodeDate(unsigned short* Year, unsigned short* Month, unsigned short* Day) const;
  void DecodeTime(unsigned short* Hour, unsigned short* Min, unsigned short* Sec, unsigned short* MSec) const;
  static TDateTime EncodeDate(unsigned short Year, unsigned short Month, unsigned short Day);
};

// ---------------------------------------------------------------------------------------------
// The runtime's pseudo-random sequence: every draw first steps the seed,
// RandSeed := RandSeed * $08088405 + 1 (modulo 2^32), so a seed set by hand replays its draws.
extern uint32_t RandSeed;

// One draw of the sequence on a seed of the caller's (so a loop can keep it in a register and
// store it back): steps Seed, then 0 <= result < Range, the high half of the 64-bit product of
// the new seed and Range; 0 when Range is 0 or below (the seed steps all the same).
inline int RandomFrom(uint32_t& Seed, int Range) {
  Seed = Seed * 0x08088405u + 1u;
  return Range > 0 ? int((uint64_t(Seed) * uint32_t(Range)) >> 32) : 0;
}
inline int Random(int Range) { return RandomFrom(RandSeed, Range); }
// 0 <= result < 1: the new seed times 2^-32.
inline double Random() {
  RandomFrom(RandSeed, 0);
  return double(RandSeed) * (1.0 / 4294967296.0);
}
// Seeds the sequence from the clock.
void Randomize();
