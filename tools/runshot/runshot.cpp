// runshot PROGRAM CAPTION SHOT.bmp: starts PROGRAM, saves a screenshot of the desktop to SHOT.bmp
// once a visible top-level window of it has CAPTION and it waits for input, then waits for the
// program to end and returns its exit code.
#include "app/e2e/Driver.h"

#include <cstdio>
#include <string>

int main(int Argc, char** Argv) {
  if (Argc != 4) {
    std::fprintf(stderr, "usage: runshot PROGRAM CAPTION SHOT.bmp\n");
    return 2;
  }
  e2e::Process Proc;
  if (!Proc.Start("\"" + std::string(Argv[1]) + "\"")) {
    std::fprintf(stderr, "runshot: cannot start %s (error %lu)\n", Argv[1], GetLastError());
    return 1;
  }
  if (e2e::WaitForWindow(Proc.Info.dwProcessId, Argv[2], 60000)) {
    WaitForInputIdle(Proc.Info.hProcess, 10000);
    Sleep(300);
    // Written aside and moved into place, so a watcher never reads half a file.
    const std::string Part = std::string(Argv[3]) + ".part";
    if (!e2e::SaveDesktopBmp(Part) || !MoveFileExA(Part.c_str(), Argv[3], MOVEFILE_REPLACE_EXISTING))
      std::fprintf(stderr, "runshot: cannot write %s\n", Argv[3]);
  } else {
    std::fprintf(stderr, "runshot: no window \"%s\" appeared\n", Argv[2]);
  }
  DWORD Code = 1;
  Proc.WaitExit(INFINITE, &Code);  // the process object would end it otherwise
  return int(Code);
}
