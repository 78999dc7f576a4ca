// Exceptions, conversions, Format and file-name routines.
#pragma once
#include "rtl/System.h"
#include <cstdint>
#include <exception>
#include <initializer_list>

class Exception : public std::exception {
public:
  explicit Exception(const AnsiString& Msg) : FMessage(Msg) {}
  Exception(const AnsiString& Fmt, std::initializer_list<struct TVarRec> Args);
  const AnsiString& Message() const { return FMessage; }
  void SetMessage(const AnsiString& Msg) { FMessage = Msg; }
  const char* what() const noexcept override { return FMessage.c_str(); }
  virtual const char* ClassName() const { return "Exception"; }
private:
  AnsiString FMessage;
};

#define ORV_EXCEPTION(Name, Base)                                         \
  class Name : public Base {                                              \
  public:                                                                 \
    using Base::Base;                                                     \
    const char* ClassName() const override { return #Name; }              \
  };

ORV_EXCEPTION(EAbort, Exception)
ORV_EXCEPTION(EConvertError, Exception)
ORV_EXCEPTION(EMathError, Exception)
ORV_EXCEPTION(EInvalidOp, EMathError)
ORV_EXCEPTION(EZeroDivide, EMathError)
ORV_EXCEPTION(EOverflow, EMathError)
ORV_EXCEPTION(ERangeError, Exception)
ORV_EXCEPTION(EIntOverflow, Exception)
ORV_EXCEPTION(EOutOfMemory, Exception)
ORV_EXCEPTION(EInvalidOperation, Exception)
ORV_EXCEPTION(EInvalidPointer, Exception)
ORV_EXCEPTION(EInvalidCast, Exception)
ORV_EXCEPTION(EComponentError, Exception)
ORV_EXCEPTION(EStreamError, Exception)
ORV_EXCEPTION(EFilerError, EStreamError)
ORV_EXCEPTION(EReadError, EFilerError)
ORV_EXCEPTION(EWriteError, EFilerError)
ORV_EXCEPTION(EClassNotFound, EFilerError)
ORV_EXCEPTION(EFCreateError, EStreamError)
ORV_EXCEPTION(EFOpenError, EStreamError)
ORV_EXCEPTION(EResNotFound, Exception)
ORV_EXCEPTION(EListError, Exception)
ORV_EXCEPTION(EStringListError, Exception)
ORV_EXCEPTION(EPropertyError, Exception)
ORV_EXCEPTION(EInOutError, Exception)
ORV_EXCEPTION(EOSError, Exception)
ORV_EXCEPTION(EThread, Exception)

// One Format argument; built implicitly from the usual types.
struct TVarRec {
  enum Kind { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtPointer, vtBoolean };
  Kind VType;
  long long VInteger = 0;
  long double VExtended = 0;
  AnsiString VString;
  const void* VPointer = nullptr;
  TVarRec(int v) : VType(vtInteger), VInteger(v) {}
  TVarRec(unsigned v) : VType(vtInt64), VInteger(v) {}
  TVarRec(long v) : VType(vtInteger), VInteger(v) {}
  TVarRec(unsigned long v) : VType(vtInt64), VInteger((long long)v) {}
  TVarRec(long long v) : VType(vtInt64), VInteger(v) {}
  TVarRec(unsigned long long v) : VType(vtInt64), VInteger((long long)v) {}
  TVarRec(double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(long double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(const char* v) : VType(vtString), VString(v) {}
  TVarRec(const AnsiString& v) : VType(vtString), VString(v) {}
  TVarRec(char v) : VType(vtChar), VString(v) {}
  TVarRec(bool v) : VType(vtBoolean), VInteger(v) {}
  TVarRec(const void* v) : VType(vtPointer), VPointer(v) {}
};

// The runtime's own number settings (not the C locale's).
extern char DecimalSeparator;
extern char ThousandSeparator;
extern AnsiString CurrencyString;       // "$"
extern unsigned char CurrencyFormat;    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
extern unsigned char NegCurrFormat;     // 0 "($1)" .. 15 "(1 $)", the classic table
extern unsigned char CurrencyDecimals;  // 2
// The short date format ("M/d/yyyy" style letters), the user's from the system at start-up on
// Windows (LOCALE_SSHORTDATE), "M/d/yyyy" elsewhere or when the system gives none.
extern AnsiString ShortDateFormat;

// Format: %[index:][-][width][.prec]type with type d u e f g n m p s x (and %%). A placeholder
// that does not match its argument, or a malformed template, raises EConvertError
// "Format '%s' invalid or incompatible with argument".
AnsiString Format(const AnsiString& Fmt, std::initializer_list<TVarRec> Args);

AnsiString IntToStr(int Value);
AnsiString IntToStr(long long Value);
AnsiString IntToStr(long Value);
AnsiString IntToHex(long long Value, int Digits);
int StrToInt(const AnsiString& S);                       // "'%s' is not a valid integer value"
int StrToIntDef(const AnsiString& S, int Default);
long long StrToInt64(const AnsiString& S);
long long StrToInt64Def(const AnsiString& S, long long Default);
bool TryStrToInt(const AnsiString& S, int& Value);
long double StrToFloat(const AnsiString& S);             // "'%s' is not a valid floating point value"
bool TryStrToFloat(const AnsiString& S, long double& Value);
AnsiString FloatToStr(long double Value);                // general format, 15 significant digits
enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
AnsiString FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits);
AnsiString BoolToStr(bool B, bool UseBoolStrs = false);

AnsiString Trim(const AnsiString& S);
AnsiString TrimLeft(const AnsiString& S);
AnsiString TrimRight(const AnsiString& S);
AnsiString UpperCase(const AnsiString& S);
AnsiString LowerCase(const AnsiString& S);
int CompareText(const AnsiString& A, const AnsiString& B);
int CompareStr(const AnsiString& A, const AnsiString& B);
bool SameText(const AnsiString& A, const AnsiString& B);
AnsiString StringOfChar(char C, int Count);
AnsiString QuotedStr(const AnsiString& S);

AnsiString ExtractFileName(const AnsiString& FileName);
AnsiString ExtractFileExt(const AnsiString& FileName);
AnsiString ExtractFileDir(const AnsiString& FileName);
AnsiString ExtractFilePath(const AnsiString& FileName);
AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension);
bool FileExists(const AnsiString& FileName);
bool DeleteFile(const AnsiString& FileName);

// File attributes (the system's FILE_ATTRIBUTE_ bits).
enum : int {
  faReadOnly = 0x01, faHidden = 0x02, faSysFile = 0x04, faVolumeID = 0x08, faDirectory = 0x10,
  faArchive = 0x20, faAnyFile = 0x3F,
};
struct TFindState;
// One entry of a folder search. FindHandle is the search in progress (FindClose frees it).
struct TSearchRec {
  TSearchRec() = default;
  TSearchRec(const TSearchRec&) = delete;
  TSearchRec& operator=(const TSearchRec&) = delete;
  ~TSearchRec();  // ends a search still open
  int Time = 0;       // last write, local time in DOS date (high word) and time (low word)
  int64_t Size = 0;
  int Attr = 0;
  AnsiString Name;
  int ExcludeAttr = 0;  // the special attributes (hidden, system, volume, folder) not asked for
  TFindState* FindHandle = nullptr;
};
// The first entry matching Path (a folder and a mask of * and ?) that has none of the special
// attributes missing from Attr: 0, or the system's error code (2 when nothing matches, 3 for a
// missing folder). FindNext: the next such entry (18 when there is none). FindClose ends the
// search; F may be searched again.
int FindFirst(const AnsiString& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// Raises EAbort, the silent exception.
[[noreturn]] void Abort();

// Dates and times; invalid parts raise EConvertError ("Invalid argument to date encode",
// "Invalid argument to time encode").
TDateTime EncodeDate(unsigned short Year, unsigned short Month, unsigned short Day);
TDateTime EncodeTime(unsigned short Hour, unsigned short Min, unsigned short Sec, unsigned short MSec);
void DecodeDate(TDateTime Date, unsigned short& Year, unsigned short& Month, unsigned short& Day);
void DecodeTime(TDateTime Time, unsigned short& Hour, unsigned short& Min, unsigned short& Sec,
                unsigned short& MSec);
bool IsLeapYear(unsigned short Year);
TDateTime Now();   // local date and time
TDateTime Date();  // local date, midnight
TDateTime Time();  // local time of day
