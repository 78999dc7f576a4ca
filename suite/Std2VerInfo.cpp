#include "suite/Std2VerInfo.h"

#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"
#include "vcl/Forms.h"
#include "vcl/Win.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

TqcVerInfo::TqcVerInfo(TComponent* AOwner) : TComponent(AOwner) {
  if (HasState(csDesigning)) DoTheFile();
}

void TqcVerInfo::Loaded() {
  TComponent::Loaded();
  DoTheFile();
}

void TqcVerInfo::SetVerFile(const AnsiString& Value) {
  FVerFile = Value;
  DoTheFile();
}

void TqcVerInfo::DoTheFile() {
  FBlock.clear();
  FFlags = 0;
  FFound = false;
  const AnsiString Name = FVerFile.IsEmpty() ? Application->ExeName() : FVerFile;
  DWORD Ignored = 0;
  const DWORD Size = GetFileVersionInfoSizeA(Name.c_str(), &Ignored);
  if (Size == 0) return;
  FBlock.assign(Size, 0);
  if (!GetFileVersionInfoA(Name.c_str(), 0, Size, FBlock.data())) {
    FBlock.clear();
    return;
  }
  FFound = true;
  // The flags count only when the fixed information is there whole.
  void* Fixed = nullptr;
  UINT Length = 0;
  if (VerQueryValueA(FBlock.data(), "\\", &Fixed, &Length) && Fixed && Length >= sizeof(VS_FIXEDFILEINFO))
    FFlags = static_cast<const VS_FIXEDFILEINFO*>(Fixed)->dwFileFlags & 0xFF;
}

bool TqcVerInfo::Translation(unsigned& Entry) const {
  if (!FFound) return false;
  void* Value = nullptr;
  UINT Length = 0;
  if (!VerQueryValueA(const_cast<unsigned char*>(FBlock.data()), "\\VarFileInfo\\Translation", &Value, &Length) ||
      !Value || Length < 4)
    return false;
  const auto* Words = static_cast<const unsigned char*>(Value);
  Entry = unsigned(Words[0]) | unsigned(Words[1]) << 8 | unsigned(Words[2]) << 16 | unsigned(Words[3]) << 24;
  return true;
}

AnsiString TqcVerInfo::GetString(const AnsiString& Key) const {
  unsigned Entry;
  if (!Translation(Entry)) return AnsiString();
  char Table[9];
  std::snprintf(Table, sizeof Table, "%.4x%.4x", Entry & 0xFFFF, Entry >> 16);
  const std::string Query = std::string("\\StringFileInfo\\") + Table + "\\" + Key.str();
  void* Value = nullptr;
  UINT Length = 0;
  if (!VerQueryValueA(const_cast<unsigned char*>(FBlock.data()), Query.c_str(), &Value, &Length) || !Value)
    return AnsiString();
  // The value is a null-terminated text of at most Length characters.
  const char* Text = static_cast<const char*>(Value);
  return AnsiString(std::string(Text, strnlen(Text, Length)));
}

AnsiString TqcVerInfo::LocaleID() const {
  unsigned Entry;
  if (!Translation(Entry)) return AnsiString();
  char Buf[8];
  std::snprintf(Buf, sizeof Buf, "%.4x", Entry & 0xFFFF);
  return Buf;
}

AnsiString TqcVerInfo::CodePage() const {
  unsigned Entry;
  if (!Translation(Entry)) return AnsiString();
  char Buf[8];
  std::snprintf(Buf, sizeof Buf, "%.4x", Entry >> 16);
  return Buf;
}

AnsiString TqcVerInfo::Language() const {
  unsigned Entry;
  if (!Translation(Entry)) return AnsiString();
  char Name[256] = {};
  const DWORD N = VerLanguageNameA(Entry & 0xFFFF, Name, 255);
  return N ? AnsiString(std::string(Name, strnlen(Name, std::min<size_t>(N, 255)))) : AnsiString();
}

static constinit const TPropInfo TqcVerInfo_Props[] = {
    PropBool<&TqcVerInfo::ExistVerInfo, &TqcVerInfo::IgnoreFlag>("ExistVerInfo", false, NeverStored),
    PropStr<&TqcVerInfo::CompanyName, &TqcVerInfo::IgnoreText>("CompanyName", NeverStored),
    PropStr<&TqcVerInfo::FileDescription, &TqcVerInfo::IgnoreText>("FileDescription", NeverStored),
    PropStr<&TqcVerInfo::FileVersion, &TqcVerInfo::IgnoreText>("FileVersion", NeverStored),
    PropStr<&TqcVerInfo::InternalName, &TqcVerInfo::IgnoreText>("InternalName", NeverStored),
    PropStr<&TqcVerInfo::LegalCopyright, &TqcVerInfo::IgnoreText>("LegalCopyright", NeverStored),
    PropStr<&TqcVerInfo::OriginalFileName, &TqcVerInfo::IgnoreText>("OriginalFileName", NeverStored),
    PropStr<&TqcVerInfo::ProductName, &TqcVerInfo::IgnoreText>("ProductName", NeverStored),
    PropStr<&TqcVerInfo::ProductVersion, &TqcVerInfo::IgnoreText>("ProductVersion", NeverStored),
    PropStr<&TqcVerInfo::LegalTrademarks, &TqcVerInfo::IgnoreText>("LegalTrademarks", NeverStored),
    PropStr<&TqcVerInfo::PrivateBuild, &TqcVerInfo::IgnoreText>("PrivateBuild", NeverStored),
    PropStr<&TqcVerInfo::SpecialBuild, &TqcVerInfo::IgnoreText>("SpecialBuild", NeverStored),
    PropStr<&TqcVerInfo::Comments, &TqcVerInfo::IgnoreText>("Comments", NeverStored),
    PropStr<&TqcVerInfo::LocaleID, &TqcVerInfo::IgnoreText>("LocaleID", NeverStored),
    PropStr<&TqcVerInfo::CodePage, &TqcVerInfo::IgnoreText>("CodePage", NeverStored),
    PropStr<&TqcVerInfo::Language, &TqcVerInfo::IgnoreText>("Language", NeverStored),
    PropBool<&TqcVerInfo::IS_DEBUG, &TqcVerInfo::IgnoreFlag>("IS_DEBUG", false, NeverStored),
    PropBool<&TqcVerInfo::IS_PRERELEASE, &TqcVerInfo::IgnoreFlag>("IS_PRERELEASE", false, NeverStored),
    PropBool<&TqcVerInfo::IS_PATCHED, &TqcVerInfo::IgnoreFlag>("IS_PATCHED", false, NeverStored),
    PropBool<&TqcVerInfo::IS_PRIVATEBUILD, &TqcVerInfo::IgnoreFlag>("IS_PRIVATEBUILD", false, NeverStored),
    PropBool<&TqcVerInfo::IS_INFOINFERRED, &TqcVerInfo::IgnoreFlag>("IS_INFOINFERRED", false, NeverStored),
    PropBool<&TqcVerInfo::IS_SPECIALBUILD, &TqcVerInfo::IgnoreFlag>("IS_SPECIALBUILD", false, NeverStored),
    PropStr<&TqcVerInfo::VerFile, &TqcVerInfo::SetVerFile>("VerFile"),
};
ORV_IMPLEMENT_COMPONENT(TqcVerInfo, TComponent, TqcVerInfo_Props)

namespace {
const struct TVerInfoRegistration {
  TVerInfoRegistration() { RegisterClass(TqcVerInfo::StaticClass()); }
} VerInfoRegistration;
}  // namespace
