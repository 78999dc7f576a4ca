// A small program whose page controls flash while it runs: one owned by the form, one on the
// form without an owner, and one with neither owner nor parent that outlives the module. It
// closes its form once a hot tab has changed phase and returns 0; 2 when no phase changed
// within a minute.
#include "package/BMPAGE.h"
#include "vcl/Forms.h"

#include <memory>

namespace {

// Made before every other static object, so it goes after them all, the module's end included:
// the control it holds unregisters from an ended module (exit code 3 when the module still ran).
struct TOutliving {
  TBMPageControl* Control = nullptr;
  ~TOutliving() {
    if (TBMPageModule::Running()) ExitProcess(3);
    TObject::Free(Control);
  }
} Outliving __attribute__((init_priority(101)));

struct TWatcher : TObject {
  TForm* Form = nullptr;
  std::vector<TBMPageControl*> Controls;
  DWORD Start = GetTickCount();
  bool Flashed = false;
  void Idle(TObject*, bool& Done) {
    for (TBMPageControl* C : Controls) Flashed = Flashed || C->FlashPhase() != 0;
    if (Flashed || GetTickCount() - Start > 60000) Form->Close();
    Sleep(1);
    Done = false;
  }
};

TBMPageControl* AddPages(TForm* Form, TComponent* Owner, int Left) {
  auto* P = new TBMPageControl(Owner);
  P->AfterConstruction();
  P->SetBounds(Left, 10, 140, 100);
  P->SetParent(Form);
  P->SetHotTrack(true);
  for (int I = 0; I < 3; ++I) {
    auto* S = TComponent::Create<TBMTabSheet>(Owner);
    S->SetCaption(I == 0 ? "One" : I == 1 ? "Two" : "Three");
    S->SetPageControl(P);
  }
  P->SetActivePage(P->Pages(0));
  return P;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TWatcher Watch;
  try {
    Application->Initialize();
    Application->SetTitle("Page exit");
    TForm* Form;
    Application->CreateForm(&Form);
    Form->SetBounds(40, 40, 480, 160);
    Watch.Form = Form;
    Watch.Controls = {AddPages(Form, Form, 10), AddPages(Form, nullptr, 160)};
    Outliving.Control = TComponent::Create<TBMPageControl>(nullptr);
    Form->Show();
    // Each as if the mouse were over its first tab (the real one is away, so nothing leaves):
    // hot, painted, and then flashing on the module timer.
    SetCursorPos(1000, 740);
    for (TBMPageControl* C : Watch.Controls) {
      const TRect R = C->TabRect(0);
      TMessage Enter{CM_MOUSEENTER, 0, 0, 0};
      C->Dispatch(Enter);
      TMessage Move{WM_MOUSEMOVE, 0, PointToLParam(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2)), 0};
      C->Dispatch(Move);
      UpdateWindow(C->Handle());
    }
    Application->OnIdle = TIdleEvent::Bind<&TWatcher::Idle>(&Watch);
    Application->Run();
  } catch (const Exception& E) {
    Application->ShowException(E);
    return 1;
  }
  return Watch.Flashed ? 0 : 2;
}
