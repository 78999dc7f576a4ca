// AnsiString and TDateTime.
#include "rtl/System.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <ostream>

#include "rtl/SysUtils.h"

// ---------------------------------------------------------------------------------------------
// AnsiString

AnsiString::AnsiString(int v) : FData(std::to_string(v)) {}
AnsiString::AnsiString(long long v) : FData(std::to_string(v)) {}
AnsiString::AnsiString(unsigned v) : FData(std::to_string(v)) {}
AnsiString::AnsiString(double v) : FData(FloatToStr(v).str()) {}

namespace {
[[noreturn]] void IndexError() { throw ERangeError("String index out of range"); }
}  // namespace

char AnsiString::operator[](int i) const {
  if (i < 1 || i > Length()) IndexError();
  return FData[size_t(i - 1)];
}

char& AnsiString::operator[](int i) {
  if (i < 1 || i > Length()) IndexError();
  return FData[size_t(i - 1)];
}

AnsiString AnsiString::SubString(int Start, int Count) const {
  if (Start < 1) Start = 1;
  if (Count <= 0 || Start > Length()) return AnsiString();
  return AnsiString(FData.substr(size_t(Start - 1), size_t(Count)));
}

int AnsiString::Pos(const AnsiString& Sub) const {
  if (Sub.IsEmpty()) return 0;
  const size_t p = FData.find(Sub.FData);
  return p == std::string::npos ? 0 : int(p) + 1;
}

AnsiString& AnsiString::Delete(int Index, int Count) {
  if (Index < 1 || Index > Length() || Count <= 0) return *this;
  FData.erase(size_t(Index - 1), size_t(Count));
  return *this;
}

AnsiString& AnsiString::Insert(const AnsiString& Str, int Index) {
  if (Index < 1) Index = 1;
  if (Index > Length() + 1) Index = Length() + 1;
  FData.insert(size_t(Index - 1), Str.FData);
  return *this;
}

AnsiString& AnsiString::SetLength(int NewLength) {
  FData.resize(NewLength > 0 ? size_t(NewLength) : 0, '\0');
  return *this;
}

AnsiString AnsiString::UpperCase() const { return ::UpperCase(*this); }
AnsiString AnsiString::LowerCase() const { return ::LowerCase(*this); }
AnsiString AnsiString::Trim() const { return ::Trim(*this); }
AnsiString AnsiString::TrimLeft() const { return ::TrimLeft(*this); }
AnsiString AnsiString::TrimRight() const { return ::TrimRight(*this); }
int AnsiString::ToInt() const { return StrToInt(*this); }
int AnsiString::ToIntDef(int Default) const { return StrToIntDef(*this, Default); }
double AnsiString::ToDouble() const { return double(StrToFloat(*this)); }
int AnsiString::AnsiCompareIC(const AnsiString& Other) const { return CompareText(*this, Other); }

int AnsiString::LastDelimiter(const AnsiString& Delimiters) const {
  const size_t p = FData.find_last_of(Delimiters.FData);
  return p == std::string::npos ? 0 : int(p) + 1;
}

bool AnsiString::IsDelimiter(const AnsiString& Delimiters, int Index) const {
  if (Index < 1 || Index > Length()) return false;
  return Delimiters.FData.find(FData[size_t(Index - 1)]) != std::string::npos;
}

std::ostream& operator<<(std::ostream& os, const AnsiString& s) { return os << s.str(); }

// ---------------------------------------------------------------------------------------------
// TDateTime: whole days since 1899-12-30; for negative values the fraction still counts
// forward from that day's midnight.

namespace {

const long long kMSecsPerDay = 86400000;

// Days from 1970-01-01 in the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + (long long)doe - 719468;
}

void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = (long long)yoe + era * 400 + (m <= 2);
}

const long long kEpochDays = DaysFromCivil(1899, 12, 30);

unsigned DaysInMonth(long long y, unsigned m) {
  static const unsigned char kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

// Splits into the day number and the milliseconds of its time; false when the value is not a
// date between the years 1 and 9999.
bool Split(double v, long long& Day, long long& MSec) {
  if (!std::isfinite(v) || std::fabs(v) > 3.0e6) return false;
  double ip;
  const double frac = std::modf(v, &ip);
  Day = (long long)ip;
  MSec = std::llround(std::fabs(frac) * double(kMSecsPerDay));
  if (MSec >= kMSecsPerDay) {
    MSec -= kMSecsPerDay;
    ++Day;
  }
  return true;
}

}  // namespace

TDateTime::TDateTime(unsigned short Hour, unsigned short Min, unsigned short Sec, unsigned short MSec) {
  if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000)
    throw EConvertError("Invalid argument to time encode");
  Val = double((Hour * 3600LL + Min * 60LL + Sec) * 1000 + MSec) / double(kMSecsPerDay);
}

TDateTime TDateTime::EncodeDate(unsigned short Year, unsigned short Month, unsigned short Day) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month))
    throw EConvertError("Invalid argument to date encode");
  return TDateTime(double(DaysFromCivil(Year, Month, Day) - kEpochDays));
}

void TDateTime::DecodeDate(unsigned short* Year, unsigned short* Month, unsigned short* Day) const {
  long long day, msec;
  long long y = 0;
  unsigned m = 0, d = 0;
  if (Split(Val, day, msec)) {
    CivilFromDays(day + kEpochDays, y, m, d);
    if (y < 1 || y > 9999) y = m = d = 0;
  }
  if (Year) *Year = (unsigned short)y;
  if (Month) *Month = (unsigned short)m;
  if (Day) *Day = (unsigned short)d;
}

void TDateTime::DecodeTime(unsigned short* Hour, unsigned short* Min, unsigned short* Sec,
                           unsigned short* MSec) const {
  long long day, ms = 0;
  if (!Split(Val, day, ms)) ms = 0;
  if (Hour) *Hour = (unsigned short)(ms / 3600000);
  if (Min) *Min = (unsigned short)(ms / 60000 % 60);
  if (Sec) *Sec = (unsigned short)(ms / 1000 % 60);
  if (MSec) *MSec = (unsigned short)(ms % 1000);
}

TDateTime TDateTime::CurrentDateTime() {
  const auto now = std::chrono::system_clock::now();
  const long long ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  const std::time_t t = std::time_t(ms / 1000 - (ms % 1000 < 0));
  std::tm lt{};
#ifdef _WIN32
  localtime_s(&lt, &t);
#else
  localtime_r(&t, &lt);
#endif
  const TDateTime date = EncodeDate((unsigned short)(lt.tm_year + 1900), (unsigned short)(lt.tm_mon + 1),
                                    (unsigned short)lt.tm_mday);
  const unsigned short msec = (unsigned short)((ms % 1000 + 1000) % 1000);
  // A leap second reads as the last second of the minute.
  const TDateTime time((unsigned short)lt.tm_hour, (unsigned short)lt.tm_min,
                       (unsigned short)std::min(lt.tm_sec, 59), msec);
  return TDateTime(date.Val + time.Val);
}

TDateTime TDateTime::CurrentDate() {
  return TDateTime(std::floor(CurrentDateTime().Val));
}

TDateTime TDateTime::CurrentTime() {
  const double v = CurrentDateTime().Val;
  return TDateTime(v - std::floor(v));
}

// ---------------------------------------------------------------------------------------------
// Random numbers

uint32_t RandSeed = 0;

void Randomize() {
  const auto Ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  RandSeed = uint32_t(uint64_t(Ticks) ^ (uint64_t(Ticks) >> 32));
}
