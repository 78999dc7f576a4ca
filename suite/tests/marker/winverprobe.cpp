// Test helper of the version queries: winverprobe OUTFILE writes the kind, major and minor
// version and build of Windows as the suite read them at start-up, then its WindowsString, one
// a line.
#include "suite/Mystd.h"
#include "suite/Qhelper.h"

#include <cstdio>

int main(int Argc, char** Argv) {
  if (Argc < 2) return 100;
  FILE* F = std::fopen(Argv[1], "wb");
  if (!F) return 101;
  TqShowApp* App = TComponent::Create<TqShowApp>(nullptr);
  std::fprintf(F, "%d\n%d\n%d\n%d\n%s\n", int(WindowsType()), MajorVersion(), MinorVersion(), BuildVersion(),
               App->WindowsString().c_str());
  TObject::Free(App);
  std::fclose(F);
  return 0;
}
