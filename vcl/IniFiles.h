// Settings files of sections and keys, read and written through the system's profile functions.
#pragma once

#include "rtl/Classes.h"
#include "rtl/SysUtils.h"

ORV_EXCEPTION(EIniFileException, Exception)

// A settings file. A name without a folder is looked for in the Windows folder, as the profile
// functions do. Nothing is held open: every call reads or writes the file through the system,
// which may keep a cache of it until UpdateFile.
class TIniFile : public TObject {
  ORV_CLASS(TIniFile, TObject)
public:
  explicit TIniFile(const AnsiString& FileName) : FFileName(FileName) {}

  const AnsiString& FileName() const { return FFileName; }

  // The value of Ident in Section, whole whatever its length; Default when there is none.
  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) const;
  // EIniFileException "Unable to write to <file>" when the system cannot write it, or when a
  // text is longer than MaxWriteLength (the system would store it cut or garbled).
  void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value);
  // The value as an integer: decimal, or hexadecimal after "$" or "0x"; Default when there is
  // no value or it is not a 32-bit integer.
  int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) const;
  void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
  // Writes what the system holds of the file and drops its cache, so the next read sees the
  // file as it is on disk.
  void UpdateFile();

  // The longest section, key or value the ANSI profile functions pass on whole: they go through
  // counted wide strings of at most 65534 bytes.
  static constexpr int MaxWriteLength = 32766;

private:
  AnsiString FFileName;
};
