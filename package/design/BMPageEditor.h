// Design-time editor of unit BMPAGE: the verbs of a page control, also run from one of its sheets.
#pragma once

#include "package/BMPAGE.h"
#include "vcl/DesignIntf.h"

class TBMPageControlEditor : public TDefaultEditor {
  ORV_CLASS(TBMPageControlEditor, TDefaultEditor)
public:
  using TDefaultEditor::TDefaultEditor;
  // 0 "New (BM)page": a new sheet owned by the root, named by the designer, on the page control
  // and active; 1 "Next page" and 2 "Previous page": the page after or before the active one,
  // wrapping round, tabs hidden or not. The new or found page is selected, then Modified.
  // Nothing on a sheet without a page control.
  void ExecuteVerb(int Index) override;
  AnsiString GetVerb(int Index) override;
  int GetVerbCount() override { return 3; }

private:
  // The edited page control, or the page control of the edited sheet; null for neither.
  TBMPageControl* PageControl() const;
};
