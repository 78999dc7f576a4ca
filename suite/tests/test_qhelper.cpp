// Windows version queries: the mapping of the system's record, the values this process read,
// and a probe program run under versions Wine pretends for it.
#include "suite/Qhelper.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(Qhelper, VersionRecordMapsToKindAndNumbers) {
  struct TCase {
    const char* Name;
    bool Succeeded;
    DWORD Platform, Major, Minor, Build;
    WTypes Type;
    int EMajor, EMinor, EBuild;
  };
  const TCase Cases[] = {
      {"NT 4.0", true, VER_PLATFORM_WIN32_NT, 4, 0, 1381, q_NT, 4, 0, 1381},
      {"Windows 10", true, VER_PLATFORM_WIN32_NT, 10, 0, 19045, q_NT, 10, 0, 19045},
      {"Windows 98: the build word only", true, VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0x040A07CE, q_95, 4, 10, 1998},
      {"Windows 95", true, VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0x040003B6, q_95, 4, 0, 950},
      {"Win32s", true, VER_PLATFORM_WIN32s, 3, 11, 0, q_Win32S, 3, 11, 0},
      {"an unknown platform", true, 7, 5, 1, 42, q_Windows, 5, 1, 42},
      {"a failed call", false, VER_PLATFORM_WIN32_NT, 6, 1, 7601, q_Windows, 0, 0, 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    OSVERSIONINFOA Info{};
    Info.dwOSVersionInfoSize = sizeof Info;
    Info.dwPlatformId = C.Platform;
    Info.dwMajorVersion = C.Major;
    Info.dwMinorVersion = C.Minor;
    Info.dwBuildNumber = C.Build;
    const TWindowsVersion V = WindowsVersionOf(C.Succeeded, Info);
    EXPECT_EQ(V.Type, C.Type);
    EXPECT_EQ(V.Major, C.EMajor);
    EXPECT_EQ(V.Minor, C.EMinor);
    EXPECT_EQ(V.Build, C.EBuild);
  }
  EXPECT_EQ(sizeof(OSVERSIONINFOA), 148u);
}

TEST(Qhelper, ThisProcessReadTheSystemsVersion) {
  OSVERSIONINFOA Info{};
  Info.dwOSVersionInfoSize = sizeof Info;
  ASSERT_TRUE(GetVersionExA(&Info));
  EXPECT_EQ(WindowsType(), q_NT);
  EXPECT_EQ(MajorVersion(), int(Info.dwMajorVersion));
  EXPECT_EQ(MinorVersion(), int(Info.dwMinorVersion));
  EXPECT_EQ(BuildVersion(), int(Info.dwBuildNumber & 0xFFFF));
  EXPECT_FALSE(IsWorkgroup());
  EXPECT_FALSE(Is311());
  EXPECT_EQ(WTypesType.NameToValue("q_95"), 4);
}

// Wine's per-program Windows version, set for the probe program while an object lives.
class TWineAppVersion {
public:
  TWineAppVersion(const char* Exe, const char* Version) : FKey(std::string("Software\\Wine\\AppDefaults\\") + Exe) {
    HKEY Key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, FKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &Key, nullptr) != 0)
      return;
    FSet = RegSetValueExA(Key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(Version),
                          DWORD(std::strlen(Version) + 1)) == 0;
    RegCloseKey(Key);
  }
  ~TWineAppVersion() { RegDeleteKeyA(HKEY_CURRENT_USER, FKey.c_str()); }
  bool Set() const { return FSet; }

private:
  std::string FKey;
  bool FSet = false;
};

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// The probe's lines, run with Wine pretending Version.
std::vector<std::string> ProbeUnder(const char* Version) {
  TWineAppVersion Pretend(ORVALEN_WINVERPROBE, Version);
  EXPECT_TRUE(Pretend.Set());
  const std::string Out = suitetest::ModuleDir() + "winverprobe-" + Version + ".txt";
  DeleteFileA(Out.c_str());
  std::string Cmd = "\"" + suitetest::ModuleDir() + ORVALEN_WINVERPROBE + "\" \"" + Out + "\"";
  STARTUPINFOA Si{};
  Si.cb = sizeof Si;
  PROCESS_INFORMATION Pi{};
  std::vector<std::string> Lines;
  if (!CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Si, &Pi)) {
    ADD_FAILURE() << "cannot start the probe";
    return Lines;
  }
  EXPECT_EQ(WaitForSingleObject(Pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD Code = 1;
  GetExitCodeProcess(Pi.hProcess, &Code);
  CloseHandle(Pi.hThread);
  CloseHandle(Pi.hProcess);
  EXPECT_EQ(Code, 0u);
  std::ifstream In(Out);
  for (std::string L; std::getline(In, L);) Lines.push_back(L);
  In.close();
  DeleteFileA(Out.c_str());
  return Lines;
}

TEST(Qhelper, ProbeUnderPretendedVersions) {
  if (!UnderWine()) GTEST_SKIP() << "Wine's per-program version is what makes the old systems here";
  struct TCase {
    const char* Version;
    std::vector<std::string> Lines;
  };
  const TCase Cases[] = {
      {"nt40", {"3", "4", "0", "1381", "Windows NT 4.0 (Build: 1381)"}},
      // Wine's Windows 98 reports build 0x0A0A08AE: 2222 in its low word.
      {"win98", {"4", "4", "10", "2222", "Windows'95 4.10 (Build: 2222)"}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Version);
    EXPECT_EQ(ProbeUnder(C.Version), C.Lines);
  }
}

}  // namespace
