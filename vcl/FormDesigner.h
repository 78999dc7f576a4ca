// Our designer (include "vcl/DesignIntf.h"): the palette that component registration fills, and
// a form designer that edits a real form in design state and writes it as a binary form.
#pragma once

#include "vcl/DesignIntf.h"
#include "vcl/Controls.h"

// The registration hook while it lives (RegisterComponents fills it; the hook it replaced comes
// back when it is freed). Pages keep their classes in registration order; a class registered
// again on the same page keeps its place, and a registration of no classes makes no page.
class TDesignPalette : public TObject {
  ORV_CLASS(TDesignPalette, TObject)
public:
  struct TPage {
    AnsiString Name;
    std::vector<TClass> Classes;
  };
  TDesignPalette();
  ~TDesignPalette() override;

  const std::vector<TPage>& Pages() const { return FPages; }
  // The page of that name (case-insensitive); null when there is none.
  const TPage* FindPage(const AnsiString& Name) const;
  // Every class of every page, page by page.
  std::vector<TClass> AllClasses() const;
  // The names of the pages a class is on.
  std::vector<AnsiString> PagesOf(TClass C) const;

private:
  void Add(const AnsiString& Page, const std::vector<TClass>& Classes);
  std::vector<TPage> FPages;
  TRegisterComponentsProc FSaved;
};

// Designs a root component (a form): sets csDesigning on it, and so on every component it owns
// or comes to own. Creates components with unique names, keeps the selection, counts Modified,
// runs component editors (the double click), their verbs and property editors, and writes the
// root as a binary form resource.
class TFormDesigner : public IDesigner {
public:
  explicit TFormDesigner(TComponent* ARoot);
  TFormDesigner(const TFormDesigner&) = delete;
  TFormDesigner& operator=(const TFormDesigner&) = delete;

  TComponent* Root() const override { return FRoot; }
  // BaseName without its leading T, then the lowest number from 1 that names no component of
  // the root and not the root itself ("TBMTabSheet" gives "BMTabSheet1").
  AnsiString UniqueName(const AnsiString& BaseName) override;
  void SelectComponent(TPersistent* Instance) override { FSelection = Instance; }
  void Modified() override { ++FModifiedCount; }

  TPersistent* Selection() const { return FSelection; }
  int ModifiedCount() const { return FModifiedCount; }

  // A new component of class C owned by the root, named UniqueName(its class name): a control
  // goes on Parent (the root when null and the root is a windowed control) at Left, Top; a
  // non-visual component keeps Left, Top as its design position. Then selected and Modified.
  // EComponentError "Cannot create an instance of %s" for a class without a factory; a failure
  // frees the new component and passes on.
  TComponent* CreateComponent(TClass C, TWinControl* Parent = nullptr, int Left = 0, int Top = 0);
  // The double click: the component editor's Edit.
  void Edit(TComponent* Component);
  int GetVerbCount(TComponent* Component);
  AnsiString GetVerb(TComponent* Component, int Index);
  void ExecuteVerb(TComponent* Component, int Index);
  // The editor of Instance's property PropName (see GetPropertyEditor).
  std::unique_ptr<TPropertyEditor> PropertyEditor(TPersistent* Instance, const AnsiString& PropName);
  // The root as a binary form resource.
  void WriteForm(TStream* Stream);

private:
  TComponent* FRoot;
  TPersistent* FSelection = nullptr;
  int FModifiedCount = 0;
};
