// The docking, help and input-method members each library class publishes: every registered
// class below one of the classes listed here publishes the listed names with their types and
// defaults, and a form resource writes and reads back values other than the defaults.
#include "package/tests/design/designtest.h"

#include "coolctrls/CoolCtrls.h"
#include "package/TCB.h"
#include "suite/Std2ShapeBtn.h"
#include "suite/qAnimate.h"
#include "suite/qEdit.h"

#include <map>
#include <string>
#include <vector>

namespace {

using suitetest::TFormPtr;

const std::vector<std::string> DockSiteNames = {"DockSite",   "DragKind",      "OnDockDrop",  "OnDockOver",
                                                "OnEndDock",  "OnGetSiteInfo", "OnStartDock", "OnUnDock"};
const std::vector<std::string> DockClientNames = {"DragKind", "OnEndDock", "OnStartDock"};
const std::vector<std::string> ImeNames = {"ImeMode", "ImeName"};
const std::vector<std::string> DockEditNames = {"DragKind", "ImeMode", "ImeName", "OnEndDock", "OnStartDock"};

std::vector<std::string> Plus(std::vector<std::string> A, const std::vector<std::string>& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

struct TListed {
  TClass Class;
  std::vector<std::string> Names;
};

const std::vector<TListed>& Listed() {
  static const std::vector<TListed> L = {
      {TCoolCheckRadioBox::StaticClass(), Plus(DockSiteNames, {"UseDockManager"})},
      {TCoolLabel::StaticClass(), DockClientNames},
      {TCoolGroupBox::StaticClass(), DockSiteNames},
      {TCoolPanel::StaticClass(), Plus(DockSiteNames, {"UseDockManager"})},
      {TCoolListBox::StaticClass(), DockEditNames},
      {TCoolComboBox::StaticClass(), DockEditNames},
      {TCoolEdit::StaticClass(), DockEditNames},
      {TCoolMemo::StaticClass(), DockEditNames},
      {TCoolScrollingText::StaticClass(), {"OnEndDock", "OnStartDock"}},
      {TqcEdit::StaticClass(), ImeNames},
      {TqcMemo::StaticClass(), ImeNames},
      {TqcListBox::StaticClass(), ImeNames},
      {TqcComboBox::StaticClass(), ImeNames},
      {TqcShapeColorBtn::StaticClass(), {"HelpContext"}},
      {TqColorBtn::StaticClass(), {"HelpContext"}},
      {TCompleteBox::StaticClass(), ImeNames},
      {TForm::StaticClass(), {"HelpContext"}},
  };
  return L;
}

// The names listed for C or for its nearest listed ancestor.
const TListed* ListedFor(TClass C) {
  const TListed* Best = nullptr;
  for (const TListed& L : Listed())
    if (C->InheritsFrom(L.Class) && (!Best || L.Class->InheritsFrom(Best->Class))) Best = &L;
  return Best;
}

// The type a published name has.
std::string TypeOf(const std::string& Name) {
  static const std::map<std::string, std::string> Types = {
      {"DockSite", "Boolean"}, {"UseDockManager", "Boolean"}, {"DragKind", "TDragKind"},
      {"HelpContext", "Integer"}, {"ImeMode", "TImeMode"}, {"ImeName", "AnsiString"}};
  auto It = Types.find(Name);
  return It == Types.end() ? "" : It->second;
}

TEST(PublishedDocking, EveryRegisteredClassPublishesTheNamesListedForIt) {
  for (const TListed& L : Listed()) EXPECT_EQ(GetClass(L.Class->Name), L.Class) << L.Class->Name << " is registered";
  int Checked = 0;
  for (TClass C : RegisteredClasses()) {
    const TListed* L = ListedFor(C);
    if (!L) continue;
    ++Checked;
    for (const std::string& N : L->Names) {
      SCOPED_TRACE(std::string(C->Name) + "." + N);
      const TPropInfo* P = C->FindProp(N.c_str());
      ASSERT_NE(P, nullptr) << "not published";
      if (N.rfind("On", 0) == 0) {
        EXPECT_EQ(P->Kind, tkMethod);
      } else {
        EXPECT_EQ(TypeOf(N), P->Type());
        if (N != "ImeName") {
          EXPECT_TRUE(P->HasDefault);
          const int64_t Default = N == "ImeMode" ? imDontCare : 0;  // dkDrag, False, 0
          EXPECT_EQ(P->Default, Default);
        }
      }
    }
  }
  EXPECT_GE(Checked, int(Listed().size()));
}

TEST(PublishedDocking, AFormResourceWritesAndReadsThemBack) {
  const std::map<std::string, std::string> Values = {
      {"DockSite", "True"}, {"UseDockManager", "True"}, {"DragKind", "dkDock"},
      {"HelpContext", "42"}, {"ImeMode", "imClose"},     {"ImeName", "Some Input Method"}};
  for (const TListed& L : Listed()) {
    if (!L.Class->Create || L.Class->InheritsFrom(TCustomForm::StaticClass())) continue;
    SCOPED_TRACE(L.Class->Name);
    TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
    Form->SetName("Form1");
    TComponent* C = L.Class->Create(Form.get());
    C->SetName("Item");
    if (auto* Control = dynamic_cast<TControl*>(C)) Control->SetParent(Form.get());
    std::vector<std::string> Set;
    for (const std::string& N : L.Names) {
      auto It = Values.find(N);
      if (It == Values.end()) continue;
      SetPropValueText(C, C->ClassType()->FindProp(N.c_str()), It->second.c_str());
      Set.push_back(N);
    }
    TMemoryStream Bin;
    WriteComponentRes(&Bin, Form.get());
    Bin.SetPosition(0);
    TStringStream Text;
    ObjectBinaryToText(&Bin, &Text);
    for (const std::string& N : Set)
      EXPECT_NE(Text.DataString().str().find(N + " = "), std::string::npos) << N << " is stored";
    Bin.SetPosition(0);
    TFormPtr Again{TCustomForm::CreateNew<TForm>(nullptr)};
    ReadComponentRes(&Bin, Again.get());
    TComponent* Read = Again->FindComponent("Item");
    ASSERT_NE(Read, nullptr);
    for (const std::string& N : Set) {
      const TPropInfo* P = Read->ClassType()->FindProp(N.c_str());
      EXPECT_EQ(GetPropValueText(Read, P).str(), Values.at(N)) << N;
    }
  }
}

}  // namespace
