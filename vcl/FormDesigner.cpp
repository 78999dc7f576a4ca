#include "vcl/FormDesigner.h"
#include "rtl/Streaming.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TDesignPalette

TDesignPalette::TDesignPalette() {
  FSaved = SetRegisterComponentsProc(
      [this](const AnsiString& Page, const std::vector<TClass>& Classes) { Add(Page, Classes); });
}

TDesignPalette::~TDesignPalette() { SetRegisterComponentsProc(std::move(FSaved)); }

void TDesignPalette::Add(const AnsiString& Page, const std::vector<TClass>& Classes) {
  if (Classes.empty()) return;
  auto It = std::find_if(FPages.begin(), FPages.end(), [&](const TPage& P) { return SameText(P.Name, Page); });
  if (It == FPages.end()) It = FPages.insert(FPages.end(), TPage{Page, {}});
  for (TClass C : Classes)
    if (C && std::find(It->Classes.begin(), It->Classes.end(), C) == It->Classes.end()) It->Classes.push_back(C);
}

const TDesignPalette::TPage* TDesignPalette::FindPage(const AnsiString& Name) const {
  for (const TPage& P : FPages)
    if (SameText(P.Name, Name)) return &P;
  return nullptr;
}

std::vector<TClass> TDesignPalette::AllClasses() const {
  std::vector<TClass> R;
  for (const TPage& P : FPages) R.insert(R.end(), P.Classes.begin(), P.Classes.end());
  return R;
}

std::vector<AnsiString> TDesignPalette::PagesOf(TClass C) const {
  std::vector<AnsiString> R;
  for (const TPage& P : FPages)
    if (std::find(P.Classes.begin(), P.Classes.end(), C) != P.Classes.end()) R.push_back(P.Name);
  return R;
}

ORV_IMPLEMENT_CLASS(TDesignPalette, TObject)

// ---------------------------------------------------------------------------------------------
// TFormDesigner

TFormDesigner::TFormDesigner(TComponent* ARoot) : FRoot(ARoot) {
  if (!FRoot) throw EComponentError("Invalid component registration");
  FRoot->SetDesigning(true);
}

AnsiString TFormDesigner::UniqueName(const AnsiString& BaseName) {
  AnsiString Base = BaseName;
  if (Base.Length() > 1 && (Base[1] == 'T' || Base[1] == 't')) Base = Base.SubString(2, Base.Length() - 1);
  for (int N = 1;; ++N) {
    AnsiString Name = Base + IntToStr(N);
    if (!FRoot->FindComponent(Name) && !SameText(FRoot->Name(), Name)) return Name;
  }
}

TComponent* TFormDesigner::CreateComponent(TClass C, TWinControl* Parent, int Left, int Top) {
  if (!C || !C->Create) throw EComponentError("Cannot create an instance of %s", {AnsiString(C ? C->Name : "nil")});
  TComponent* Component = C->Create(FRoot);
  try {
    Component->SetName(UniqueName(C->Name));
    if (auto* Control = dynamic_cast<TControl*>(Component)) {
      if (!Parent) Parent = dynamic_cast<TWinControl*>(FRoot);
      Control->SetLeft(Left);
      Control->SetTop(Top);
      Control->SetParent(Parent);
    } else {
      Component->SetDesignInfo(int((unsigned(Top) & 0xFFFFu) << 16 | (unsigned(Left) & 0xFFFFu)));
    }
  } catch (...) {
    TObject::Free(Component);
    throw;
  }
  SelectComponent(Component);
  Modified();
  return Component;
}

void TFormDesigner::Edit(TComponent* Component) { GetComponentEditor(Component, this)->Edit(); }

int TFormDesigner::GetVerbCount(TComponent* Component) { return GetComponentEditor(Component, this)->GetVerbCount(); }

AnsiString TFormDesigner::GetVerb(TComponent* Component, int Index) {
  return GetComponentEditor(Component, this)->GetVerb(Index);
}

void TFormDesigner::ExecuteVerb(TComponent* Component, int Index) {
  GetComponentEditor(Component, this)->ExecuteVerb(Index);
}

std::unique_ptr<TPropertyEditor> TFormDesigner::PropertyEditor(TPersistent* Instance, const AnsiString& PropName) {
  return GetPropertyEditor(this, Instance, PropName);
}

void TFormDesigner::WriteForm(TStream* Stream) { WriteComponentRes(Stream, FRoot); }
