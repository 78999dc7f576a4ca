// Increments one reject of the shared rejects file a number of times: rejectsinc NUMBER TIMES
// [EVENT], starting once the named event (when given) is set. Returns 0, or 1 with the error.
#include "package/TRejectsSystem.h"
#include "vcl/Win.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: rejectsinc NUMBER TIMES [EVENT]\n");
    return 2;
  }
  const int Number = std::atoi(argv[1]);
  const int Times = std::atoi(argv[2]);
  if (argc > 3) {
    HANDLE Start = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
    if (!Start || WaitForSingleObject(Start, 60000) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "no start event %s\n", argv[3]);
      return 2;
    }
    CloseHandle(Start);
  }
  try {
    TRejectsSystem Rejects(nullptr);
    for (int I = 0; I < Times; ++I) Rejects.IncrementReject(Number);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
  return 0;
}
