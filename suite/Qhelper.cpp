#include "suite/Qhelper.h"

constexpr TEnumType WTypesType{"WTypes", {"q_Windows", "q_WFW", "q_Win32S", "q_NT", "q_95"}};

TWindowsVersion WindowsVersionOf(bool Succeeded, const OSVERSIONINFOA& Info) {
  TWindowsVersion V;
  if (!Succeeded) return V;
  switch (Info.dwPlatformId) {
    case VER_PLATFORM_WIN32s: V.Type = q_Win32S; break;
    case VER_PLATFORM_WIN32_WINDOWS: V.Type = q_95; break;
    case VER_PLATFORM_WIN32_NT: V.Type = q_NT; break;
    default: break;
  }
  V.Major = int(Info.dwMajorVersion);
  V.Minor = int(Info.dwMinorVersion);
  V.Build = int(Info.dwBuildNumber & 0xFFFF);
  return V;
}

namespace {

// Read on first use, which the unit's start-up below makes happen before main.
const TWindowsVersion& Version() {
  static const TWindowsVersion V = [] {
    OSVERSIONINFOA Info{};
    Info.dwOSVersionInfoSize = sizeof Info;
    const bool Ok = GetVersionExA(&Info) != 0;
    return WindowsVersionOf(Ok, Info);
  }();
  return V;
}

const struct TQhelperUnit {
  TQhelperUnit() { Version(); }
} QhelperUnit;

}  // namespace

WTypes WindowsType() { return Version().Type; }
int MajorVersion() { return Version().Major; }
int MinorVersion() { return Version().Minor; }
int BuildVersion() { return Version().Build; }
bool IsWorkgroup() { return false; }
bool Is311() { return false; }
