// Test helper: writes the clipboard's "GRID DATA" block, whole, to the file named on the command
// line. Exit code 0 when it did, 1 when the clipboard holds no such block, 2 on a usage error.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const UINT Format = RegisterClipboardFormatA("GRID DATA");
  if (!OpenClipboard(nullptr)) return 1;
  int Result = 1;
  if (HANDLE Data = GetClipboardData(Format))
    if (const void* P = GlobalLock(Data)) {
      if (std::FILE* F = std::fopen(argv[1], "wb")) {
        std::fwrite(P, 1, GlobalSize(Data), F);
        std::fclose(F);
        Result = 0;
      }
      GlobalUnlock(Data);
    }
  CloseClipboard();
  return Result;
}
