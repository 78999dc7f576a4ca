// Test helper of the program runner: runs "RUNHELPER OUTFILE 1000 1" with a polling wait, the
// application's quit message posted as the wait begins, so that the wait meets it. Prints the
// return code and whether OnFinish ran, and exits with the return code.
#include "suite/Std2.h"
#include "vcl/Forms.h"

#include <cstdio>
#include <string>

namespace {
struct THandlers : TObject {
  bool Finished = false;
  void BeforeWait(TObject*) { Application->Terminate(); }
  void Finish(TObject*) { Finished = true; }
};
}  // namespace

int main(int Argc, char** Argv) {
  if (Argc < 3) return 100;
  Application->Initialize();
  THandlers H;
  TqcRunProg Run(nullptr);
  Run.OnBeforeWait = TNotifyEvent::Bind<&THandlers::BeforeWait>(&H);
  Run.OnFinish = TNotifyEvent::Bind<&THandlers::Finish>(&H);
  Run.RunThis(std::string("\"") + Argv[1] + "\" \"" + Argv[2] + "\" 1000 1");
  std::printf("%d %d\n", Run.ReturnCode(), H.Finished ? 1 : 0);
  return Run.ReturnCode();
}
