// Test helper of the program runner: runhelper OUTFILE MS CODE [ARGS...] writes its own path,
// its command line, its show state and its arguments (one a line) to OUTFILE, sleeps MS
// milliseconds and exits with CODE.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int Argc, char** Argv) {
  if (Argc < 4) return 100;
  char Self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, Self, sizeof Self);
  STARTUPINFOA Si{};
  Si.cb = sizeof Si;
  GetStartupInfoA(&Si);
  if (FILE* F = std::fopen(Argv[1], "wb")) {
    std::fprintf(F, "%s\n%s\n%d\n", Self, GetCommandLineA(), (Si.dwFlags & STARTF_USESHOWWINDOW) ? Si.wShowWindow : -1);
    for (int I = 4; I < Argc; ++I) std::fprintf(F, "%s\n", Argv[I]);
    std::fclose(F);
  }
  Sleep(DWORD(std::atoi(Argv[2])));
  return std::atoi(Argv[3]);
}
