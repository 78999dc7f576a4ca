#include "package/TRejectsSystem.h"
#include "rtl/TypInfo.h"
#include "vcl/Win.h"

#include <cstdio>
#include <cstdint>
#include <cctype>
#include <string>

namespace {

const char* const FileName = "RejectsSystem.ini";
const char* const CountSection = "Reject Counts";
const char* const DescriptionSection = "Reject Descriptions";

// The file the profile functions use for Name: the Windows folder's when it names no folder.
AnsiString FullPath(const AnsiString& Name) {
  const std::string N = Name.str();
  char Buf[MAX_PATH + 1] = {};
  if (N.find_first_of("\\/:") == std::string::npos) {
    UINT Len = GetWindowsDirectoryA(Buf, sizeof Buf);
    if (Len == 0 || Len >= sizeof Buf) return Name;
    std::string P(Buf, Len);
    if (P.back() != '\\') P += '\\';
    return AnsiString(P + N);
  }
  DWORD Len = GetFullPathNameA(N.c_str(), sizeof Buf, Buf, nullptr);
  return Len == 0 || Len >= sizeof Buf ? Name : AnsiString(std::string(Buf, Len));
}

// A count as the settings file's integers read: decimal, or hexadecimal after "$" or "0x".
bool ParseCount(AnsiString Text, int& Count) {
  if (Text.Length() > 2 && Text[1] == '0' && (Text[2] == 'x' || Text[2] == 'X'))
    Text = "$" + Text.SubString(3, Text.Length() - 2);
  return TryStrToInt(Text, Count);
}

// The system's text for an error code, without its line break.
AnsiString ErrorText(DWORD Code) {
  char Buf[512] = {};
  DWORD N = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, Code, 0, Buf,
                           sizeof Buf, nullptr);
  while (N > 0 && (Buf[N - 1] == '\r' || Buf[N - 1] == '\n' || Buf[N - 1] == ' ' || Buf[N - 1] == '.')) --N;
  return N > 0 ? AnsiString(Buf, int(N)) : AnsiString("error " + std::to_string(Code));
}

}  // namespace

// One call's use of the file: the turn on the file's mutex, the system's cache of the file
// dropped so what is on disk is read, a check that the file can be read, and the TIniFile.
class TRejectsFile {
public:
  explicit TRejectsFile(TRejectsSystem* ARejects) : Rejects(ARejects) {
    Rejects->IniFileName = FileName;
    Path = FullPath(Rejects->IniFileName);
    // A mutex name may not hold backslashes; the path is the same file in any case.
    std::string Name = "RejectsSystem:" + Path.str();
    for (char& C : Name) C = C == '\\' ? '/' : char(std::toupper((unsigned char)C));
    if (Name.size() >= MAX_PATH) Name.erase(0, Name.size() - (MAX_PATH - 1));
    Mutex = CreateMutexA(nullptr, FALSE, Name.c_str());
    if (!Mutex) throw Exception("Unable to share " + Path + " (" + ErrorText(GetLastError()) + ")");
    WaitForSingleObject(Mutex, INFINITE);  // an abandoned turn is ours as well
    try {
      try {
        Rejects->IniFile = new TIniFile(Rejects->IniFileName);
      } catch (...) {
        throw Exception("Exception Error!!!\n\nThe file:\n\n" + Rejects->IniFileName + "\n\ndoes not exist...");
      }
      Rejects->IniFile->UpdateFile();
      CheckReadable();
    } catch (...) {
      Close();
      throw;
    }
  }
  ~TRejectsFile() { Close(); }
  TRejectsFile(const TRejectsFile&) = delete;
  TRejectsFile& operator=(const TRejectsFile&) = delete;

  TIniFile* Ini() const { return Rejects->IniFile; }
  const AnsiString& FilePath() const { return Path; }

  // Frees the TIniFile and ends the turn.
  void Close() {
    delete Rejects->IniFile;
    Rejects->IniFile = nullptr;
    if (Mutex) {
      ReleaseMutex(Mutex);
      CloseHandle(Mutex);
      Mutex = nullptr;
    }
  }

private:
  // A file that exists yet cannot be read would read as the defaults, and a write would then
  // lose every count: an error instead.
  void CheckReadable() {
    if (GetFileAttributesA(Path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    HANDLE H = CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (H == INVALID_HANDLE_VALUE)
      throw Exception("Exception Error!!!\n\nThe file:\n\n" + Path + "\n\ncannot be read (" +
                      ErrorText(GetLastError()) + ")...");
    CloseHandle(H);
  }

  TRejectsSystem* Rejects;
  AnsiString Path;
  HANDLE Mutex = nullptr;
};

void TRejectsSystem::FormatKey(int Number) { std::snprintf(RejectKey, sizeof RejectKey, "Reject%02d", Number); }

void TRejectsSystem::ClearAllRejectTotals() {
  TRejectsFile File(this);
  for (i = 1; i <= 99; ++i) {
    FormatKey(i);
    RejectCount = IniFile->ReadInteger(CountSection, RejectKey, 0);
    if (RejectCount > 0) {
      RejectCount = 0;
      IniFile->WriteInteger(CountSection, RejectKey, 0);
    }
  }
}

void TRejectsSystem::IncrementReject(int Number) {
  {
    TRejectsFile File(this);
    FormatKey(Number);
    const AnsiString Text = IniFile->ReadString(CountSection, RejectKey, "");
    int Count = 0;
    if (!Text.IsEmpty() && !ParseCount(Text, Count))
      throw Exception(AnsiString("The reject count ") + RejectKey + " in " + File.FilePath() + " is not a count: \"" +
                      Text + "\"");
    if (Count == INT32_MAX)
      throw Exception(AnsiString("The reject count ") + RejectKey + " in " + File.FilePath() +
                      " cannot grow past " + Text);
    RejectCount = Count + 1;
    IniFile->WriteInteger(CountSection, RejectKey, RejectCount);
  }
  ComputeTop5Rejects();
}

int TRejectsSystem::GetRejectCount(int Number) {
  TRejectsFile File(this);
  FormatKey(Number);
  RejectCount = IniFile->ReadInteger(CountSection, RejectKey, 0);
  return RejectCount;
}

AnsiString TRejectsSystem::GetRejectDescription(int Number) {
  TRejectsFile File(this);
  FormatKey(Number);
  RejectDescription = IniFile->ReadString(DescriptionSection, RejectKey, "Unknown");
  return RejectDescription;
}

void TRejectsSystem::ComputeTop5Rejects() {
  for (int K = 0; K <= 5; ++K) {
    TopCounts[K] = 0;
    TopDescriptions[K] = AnsiString();
  }
  TRejectsFile File(this);
  for (i = 1; i <= 99; ++i) {
    FormatKey(i);
    RejectTable[i] = {i, IniFile->ReadInteger(CountSection, RejectKey, 0)};
  }
  // Exchange sort over every pair (i, j): descending by count; equal counts end up in the order
  // this exact procedure leaves them.
  for (i = 1; i <= 99; ++i)
    for (j = 1; j <= 99; ++j)
      if (RejectTable[j].Count < RejectTable[i].Count) {
        Swap = RejectTable[i];
        RejectTable[i] = RejectTable[j];
        RejectTable[j] = Swap;
      }
  for (int K = 1; K <= 5; ++K) {
    TopCounts[K] = RejectTable[K].Count;
    FormatKey(RejectTable[K].Id);
    TopDescriptions[K] = IniFile->ReadString(DescriptionSection, RejectKey, "Unknown");
  }
}

ORV_IMPLEMENT_COMPONENT_NOPROPS(TRejectsSystem, TComponent)

namespace {
struct TRejectsSystemUnit {
  TRejectsSystemUnit() { RegisterClasses({TRejectsSystem::StaticClass()}); }
} RejectsSystemUnit;
}  // namespace
