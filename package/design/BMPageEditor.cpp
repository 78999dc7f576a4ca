#include "package/design/BMPageEditor.h"

TBMPageControl* TBMPageControlEditor::PageControl() const {
  if (auto* Sheet = dynamic_cast<TBMTabSheet*>(Component())) return dynamic_cast<TBMPageControl*>(Sheet->PageControl());
  return dynamic_cast<TBMPageControl*>(Component());
}

AnsiString TBMPageControlEditor::GetVerb(int Index) {
  switch (Index) {
    case 0: return "New (BM)page";
    case 1: return "Next page";
    default: return "Previous page";
  }
}

void TBMPageControlEditor::ExecuteVerb(int Index) {
  TBMPageControl* Pages = PageControl();
  if (!Pages) return;
  TTabSheet* Page = nullptr;
  if (Index == 0) {
    TBMTabSheet* Sheet = TComponent::Create<TBMTabSheet>(Designer()->Root());
    try {
      Sheet->SetName(Designer()->UniqueName(Sheet->ClassName()));
      Sheet->SetParent(Pages);
      Sheet->SetPageControl(Pages);
    } catch (...) {
      TObject::Free(Sheet);
      throw;
    }
    Pages->SetActivePage(Sheet);
    Page = Sheet;
  } else {
    Page = Pages->FindNextPage(Pages->ActivePage(), Index == 1, false);
    if (!Page) return;
    if (Page != Pages->ActivePage()) Pages->SetActivePage(Page);
  }
  Designer()->SelectComponent(Page);
  Designer()->Modified();
}

ORV_IMPLEMENT_CLASS(TBMPageControlEditor, TDefaultEditor)
