// Test helper: writes a marker file and exits. The file is the one named on the command line, or,
// without an argument, the program's own path with ".marker" in place of its extension.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>
#include <string>

namespace {

// The first command-line argument after the program name, quotes removed; empty when none.
std::string FirstArgument() {
  const char* P = GetCommandLineA();
  if (*P == '"') {
    ++P;
    while (*P && *P != '"') ++P;
    if (*P) ++P;
  } else {
    while (*P && *P != ' ' && *P != '\t') ++P;
  }
  while (*P == ' ' || *P == '\t') ++P;
  std::string Arg;
  bool Quoted = false;
  for (; *P; ++P) {
    if (*P == '"') Quoted = !Quoted;
    else if (!Quoted && (*P == ' ' || *P == '\t')) break;
    else Arg += *P;
  }
  return Arg;
}

std::string DefaultMarker() {
  char Path[MAX_PATH];
  DWORD N = GetModuleFileNameA(nullptr, Path, sizeof Path);
  if (N == 0 || N >= sizeof Path) return std::string();
  std::string S(Path, N);
  size_t Slash = S.find_last_of("\\/");
  size_t Dot = S.find_last_of('.');
  if (Dot != std::string::npos && (Slash == std::string::npos || Dot > Slash)) S.resize(Dot);
  return S + ".marker";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string Target = FirstArgument();
  if (Target.empty()) Target = DefaultMarker();
  if (Target.empty()) return 2;
  // Written under another name and renamed into place, so the marker, once seen, is whole and
  // closed (a test may delete it at once).
  const std::string Part = Target + ".part";
  HANDLE F = CreateFileA(Part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (F == INVALID_HANDLE_VALUE) return 1;
  const char* Text = GetCommandLineA();
  DWORD Written = 0;
  BOOL OK = WriteFile(F, Text, DWORD(std::strlen(Text)), &Written, nullptr);
  CloseHandle(F);
  if (!OK || !MoveFileExA(Part.c_str(), Target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(Part.c_str());
    return 1;
  }
  return 0;
}
