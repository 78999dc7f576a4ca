#include "app/About.h"
#include "app/Unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    Application->Initialize();
    Application->SetTitle("Orvalen");
    Application->CreateForm(&Form1);
    Application->CreateForm(&AboutForm);
    Application->Run();
  } catch (const Exception& E) {
    Application->ShowException(E);
  }
  return 0;
}
