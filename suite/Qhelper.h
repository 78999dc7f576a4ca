// Unit Qhelper: the kind and version of Windows the program runs on, read once at start-up.
#pragma once
#include "rtl/TypInfo.h"
#include "vcl/Win.h"

enum WTypes { q_Windows, q_WFW, q_Win32S, q_NT, q_95 };
extern const TEnumType WTypesType;

struct TWindowsVersion {
  WTypes Type = q_Windows;
  int Major = 0;
  int Minor = 0;
  int Build = 0;
};

// The version a GetVersionExA call reports: the platform's kind (q_Windows for an unknown
// platform), the major and minor versions and the low 16 bits of the build number (the high
// word holds the version on the Windows 95 family). A failed call gives q_Windows 0.0 build 0.
TWindowsVersion WindowsVersionOf(bool Succeeded, const OSVERSIONINFOA& Info);

// The version read at start-up.
WTypes WindowsType();
int MajorVersion();
int MinorVersion();
int BuildVersion();
// Never true: no supported system is either.
bool IsWorkgroup();
bool Is311();
