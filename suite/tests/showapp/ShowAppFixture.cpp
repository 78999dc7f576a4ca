// Test helper of the application component: a program whose main form holds a TqShowApp that
// keeps one instance per path (the "multi" form allows many) and applies the start-up show
// state. showappfixture EVENTFILE [multi] [refuse] [crash] appends what happens to EVENTFILE, one
// line each: "second" (this one found a first instance), "another" (a second one started),
// "restore" (the application's own restore event) and "exit LEFT" with the form's left edge.
// "refuse" keeps a second instance from calling the first; "crash" makes the program fail for
// real (a write through a null pointer in its message loop) on the message WM_APP + 13.
#include "suite/Mystd.h"
#include "vcl/Forms.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
std::string EventFile;
bool Refuse = false;

void Log(const std::string& Line) {
  if (FILE* F = std::fopen(EventFile.c_str(), "ab")) {
    std::fprintf(F, "%s\n", Line.c_str());
    std::fclose(F);
  }
}

class TProgramEvents : public TObject {
public:
  void Restored(TObject*) { Log("restore"); }
  void Message(MSG& Msg, bool&) {
    if (Msg.message == WM_APP + 13) *static_cast<volatile int*>(nullptr) = 1;
  }
} ProgramEvents;
}  // namespace

class TFixtureForm : public TForm {
  ORV_CLASS(TFixtureForm, TForm)
public:
  explicit TFixtureForm(TComponent* AOwner) : TForm(AOwner) {}
  TqShowApp* ShowApp = nullptr;
  void ShowAppSecondInstance(TObject*, bool& Bring) {
    Log("second");
    Bring = !Refuse;
  }
  void ShowAppAnotherInstance(TObject*) { Log("another"); }
};

class TMultiForm : public TFixtureForm {
  ORV_CLASS(TMultiForm, TFixtureForm)
public:
  explicit TMultiForm(TComponent* AOwner) : TFixtureForm(AOwner) {}
};

static constinit const TPublishedField TFixtureForm_Fields[] = {
    PublishedField<&TFixtureForm::ShowApp>("ShowApp"),
};
static constinit const TPublishedMethod TFixtureForm_Methods[] = {
    PublishedMethod<&TFixtureForm::ShowAppSecondInstance>("ShowAppSecondInstance"),
    PublishedMethod<&TFixtureForm::ShowAppAnotherInstance>("ShowAppAnotherInstance"),
};
ORV_IMPLEMENT_FORM(TFixtureForm, TForm, nullptr, TFixtureForm_Fields, TFixtureForm_Methods)
ORV_IMPLEMENT_FORM(TMultiForm, TFixtureForm, nullptr, nullptr, nullptr)

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 100;
  EventFile = __argv[1];
  bool Multi = false, Crash = false;
  for (int I = 2; I < __argc; ++I) {
    Multi |= !std::strcmp(__argv[I], "multi");
    Refuse |= !std::strcmp(__argv[I], "refuse");
    Crash |= !std::strcmp(__argv[I], "crash");
  }
  TFixtureForm* Form = nullptr;
  try {
    Application->Initialize();
    Application->OnRestore = TNotifyEvent::Bind<&TProgramEvents::Restored>(&ProgramEvents);
    if (Crash) Application->OnMessage = TMessageEvent::Bind<&TProgramEvents::Message>(&ProgramEvents);
    if (Multi) {
      TMultiForm* M = nullptr;
      Application->CreateForm(&M);
      Form = M;
    } else {
      Application->CreateForm(&Form);
    }
    Application->Run();
  } catch (const Exception& E) {
    Log(std::string("error ") + E.what());
    return 1;
  }
  Log("exit " + std::to_string(Form ? Form->Left() : 0));
  return 0;
}
