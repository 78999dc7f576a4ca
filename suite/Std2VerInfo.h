// TqcVerInfo: the version resource of a file (the running program by default) as read-only
// published properties. Only VerFile is stored; the rest is worked out on every read, and
// writes to it are ignored.
#pragma once
#include "rtl/Classes.h"

#include <vector>

class TqcVerInfo : public TComponent {
  ORV_CLASS(TqcVerInfo, TComponent)
public:
  explicit TqcVerInfo(TComponent* AOwner);
  void Loaded() override;

  // The value of a key of the first translation's string table; empty when there is none.
  AnsiString GetString(const AnsiString& Key) const;
  AnsiString GetNonStandardString(const AnsiString& Key) const { return GetString(Key); }
  // Reads the version block of VerFile (or of the program when it is empty) again.
  void DoTheFile();

  bool ExistVerInfo() const { return FFound; }
  AnsiString CompanyName() const { return GetString("CompanyName"); }
  AnsiString FileDescription() const { return GetString("FileDescription"); }
  AnsiString FileVersion() const { return GetString("FileVersion"); }
  AnsiString InternalName() const { return GetString("InternalName"); }
  AnsiString LegalCopyright() const { return GetString("LegalCopyright"); }
  AnsiString OriginalFileName() const { return GetString("OriginalFileName"); }
  AnsiString ProductName() const { return GetString("ProductName"); }
  AnsiString ProductVersion() const { return GetString("ProductVersion"); }
  AnsiString LegalTrademarks() const { return GetString("LegalTrademarks"); }
  AnsiString PrivateBuild() const { return GetString("PrivateBuild"); }
  AnsiString SpecialBuild() const { return GetString("SpecialBuild"); }
  AnsiString Comments() const { return GetString("Comments"); }
  // The first translation's language identifier and code page as four lower-case hex digits.
  AnsiString LocaleID() const;
  AnsiString CodePage() const;
  // The system's name of that language.
  AnsiString Language() const;
  bool IS_DEBUG() const { return FFlags & 0x01; }
  bool IS_PRERELEASE() const { return FFlags & 0x02; }
  bool IS_PATCHED() const { return FFlags & 0x04; }
  bool IS_PRIVATEBUILD() const { return FFlags & 0x08; }
  bool IS_INFOINFERRED() const { return FFlags & 0x10; }
  bool IS_SPECIALBUILD() const { return FFlags & 0x20; }
  void IgnoreText(const AnsiString&) {}
  void IgnoreFlag(bool) {}

  const AnsiString& VerFile() const { return FVerFile; }
  void SetVerFile(const AnsiString& Value);

private:
  // The first translation entry (language in the low 16 bits, code page in the high); false
  // without one.
  bool Translation(unsigned& Entry) const;

  std::vector<unsigned char> FBlock;
  unsigned FFlags = 0;
  bool FFound = false;
  AnsiString FVerFile;
};
