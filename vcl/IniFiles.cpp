#include "vcl/IniFiles.h"
#include "rtl/TypInfo.h"
#include "vcl/Win.h"

#include <vector>

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) const {
  // A value cut short comes back with exactly the buffer's room: read again with more.
  std::vector<char> Buffer(1024);
  for (;;) {
    const DWORD Size = DWORD(Buffer.size());
    const DWORD N = GetPrivateProfileStringA(Section.c_str(), Ident.c_str(), Default.c_str(), Buffer.data(),
                                             Size, FFileName.c_str());
    if (N + 1 < Size) return AnsiString(Buffer.data(), int(N));
    Buffer.resize(Buffer.size() * 2);
  }
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) {
  if (Section.Length() > MaxWriteLength || Ident.Length() > MaxWriteLength || Value.Length() > MaxWriteLength ||
      !WritePrivateProfileStringA(Section.c_str(), Ident.c_str(), Value.c_str(), FFileName.c_str()))
    throw EIniFileException("Unable to write to " + FFileName);
}

int TIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) const {
  AnsiString Text = ReadString(Section, Ident, "");
  if (Text.Length() > 2 && Text[1] == '0' && (Text[2] == 'x' || Text[2] == 'X'))
    Text = "$" + Text.SubString(3, Text.Length() - 2);
  return StrToIntDef(Text, Default);
}

void TIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

void TIniFile::UpdateFile() {
  // All three null: the documented flush, which always answers FALSE.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, FFileName.c_str());
}

ORV_IMPLEMENT_CLASS(TIniFile, TObject)
