// Anchors, size constraints and the resize events across every library: the components that
// publish them do, with the class library's types and defaults, and they act on the component
// placed on a real form.
#include "package/tests/design/designtest.h"

#include "rtl/TypInfo.h"
#include "vcl/ExtCtrls.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using designtest::RegisterEverything;
using suitetest::TFormPtr;

constexpr const char* A = "Anchors";
constexpr const char* C = "Constraints";
constexpr const char* CR = "OnCanResize";
constexpr const char* CNR = "OnConstrainedResize";

// The components that publish any of the four, directly or as part of the published set of the
// class library class they derive from.
const std::map<std::string, std::vector<const char*>>& Listed() {
  static const std::map<std::string, std::vector<const char*>> Table = {
      // Suite.
      {"TqcCreditScroll", {A}},
      {"TqcAnalogClock", {A}},
      {"TqcDinMeter", {A}},
      {"TqcSpectrum", {A}},
      {"TqBigLabel", {A, C}},
      {"Tq3DLabel", {A, C}},
      {"TqcURLLabel", {A, C}},
      {"TqAngleLabel", {A}},
      {"TqMouseSpot", {A}},
      {"TqTabListbox", {A}},
      {"TqcSpinBtn", {A}},
      {"TqcCenterSpinBtn", {A}},
      {"TqcShapeColorBtn", {A}},
      {"TqcShapeGradBtn", {A}},
      {"TqcShapeBitColBtn", {A}},
      {"TqcShapeIconColBtn", {A}},
      {"TqColorBtn", {A}},
      {"TqGradBtn", {A}},
      {"TqBitColBtn", {A}},
      {"TqIconColBtn", {A}},
      {"TqShapeBtn", {A}},
      {"TqBitmap", {A}},
      {"TqAnimated", {A}},
      {"TqDivider", {A}},
      {"TqFrame", {A}},
      // Cool controls.
      {"TCoolCheckRadioBox", {A, C, CR, CNR}},
      {"TCoolLabel", {A, C}},
      {"TCoolGroupBox", {A, C}},
      {"TCoolBtn", {A, C}},
      {"TCoolPopupButton2", {A, C}},
      {"TCoolPopupBox2", {A, C}},
      {"TCoolPanel", {A, C, CR, CNR}},
      {"TCoolListBox", {A, C}},
      {"TCoolComboBox", {A, C}},
      {"TCoolEdit", {A, C}},
      {"TCoolEditBtn", {A, C}},
      {"TCoolMemo", {A, C}},
      {"TCoolPopupButton", {A, C}},
      {"TCoolPopupBox", {A, C}},
      {"TCoolScrollingText", {A, C}},
      {"TCoolTrackBar", {A, C}},
      {"TCoolThumbTab", {A}},
      {"TCoolSpeedButton", {A, C}},
  };
  return Table;
}

const TPropInfo* Find(TClass Class, const char* Name) { return Class->FindProp(Name); }

TEST(PublishedLayout, EveryListedNameIsPublishedWithTheClassLibrarysType) {
  TDesignPalette Palette;
  RegisterEverything();
  std::set<std::string> Seen;
  for (TClass Class : RegisteredClasses()) {
    auto It = Listed().find(Class->Name);
    if (It == Listed().end()) continue;
    Seen.insert(Class->Name);
    for (const char* Name : It->second) {
      SCOPED_TRACE(std::string(Class->Name) + "." + Name);
      const TPropInfo* P = Find(Class, Name);
      ASSERT_NE(P, nullptr) << "not published";
      // The same entries as the class library's own controls publish.
      const TPropInfo* Host = Find(TPanel::StaticClass(), Name);
      ASSERT_NE(Host, nullptr);
      EXPECT_EQ(P->Kind, Host->Kind);
      EXPECT_STREQ(P->Type(), Host->Type());
      EXPECT_EQ(P->MethodType, Host->MethodType);
      EXPECT_EQ(P->GetOrd, Host->GetOrd);
      EXPECT_EQ(P->GetObj, Host->GetObj);
      EXPECT_EQ(P->Default, Host->Default);
    }
  }
  for (auto& [Name, Names] : Listed()) EXPECT_TRUE(Seen.count(Name)) << Name << " is not registered";
}

// Every registered component publishing Anchors or Constraints, placed on a shown form: neither
// is written while at its default, and both act.
TEST(PublishedLayout, AnchorsAndConstraintsActOnEveryComponentThatPublishesThem) {
  TDesignPalette Palette;
  RegisterEverything();
  int Tried = 0;
  for (TClass Class : Palette.AllClasses()) {
    if (!Class->InheritsFrom(TControl::StaticClass())) continue;
    const bool HasAnchors = Find(Class, A), HasConstraints = Find(Class, C);
    if (!HasAnchors && !HasConstraints) continue;
    SCOPED_TRACE(Class->Name);
    ++Tried;
    TFormPtr F(TCustomForm::CreateNew<TForm>(nullptr));
    F->SetBounds(40, 40, 500, 400);
    F->Show();
    vcltest::PumpRounds(1);
    auto* Ctl = static_cast<TControl*>(Class->Create(F.get()));
    Ctl->SetName("Probe");
    Ctl->SetParent(F.get());
    Ctl->SetBounds(100, 80, Ctl->Width(), Ctl->Height());
    vcltest::PumpRounds(1);
    TMemoryStream Bin;
    WriteComponentRes(&Bin, F.get());
    Bin.SetPosition(0);
    TStringStream Text("");
    ObjectBinaryToText(&Bin, &Text);
    EXPECT_EQ(Text.DataString().Pos("Anchors"), 0) << Text.DataString().str();
    EXPECT_EQ(Text.DataString().Pos("Constraints"), 0) << Text.DataString().str();
    if (HasAnchors) {
      EXPECT_EQ(GetPropValueText(Ctl, Find(Class, A)), "[akLeft,akTop]");
      SetPropValueText(Ctl, Find(Class, A), "[akRight,akBottom]");
      const TPoint Was(Ctl->Left(), Ctl->Top());
      F->SetBounds(40, 40, 540, 430);
      EXPECT_EQ(TPoint(Ctl->Left(), Ctl->Top()), TPoint(Was.X + 40, Was.Y + 30));
    }
    if (HasConstraints) {
      auto* Limits = dynamic_cast<TSizeConstraints*>(GetObjectProp(Ctl, C));
      ASSERT_NE(Limits, nullptr);
      EXPECT_EQ(Limits, Ctl->Constraints());
      Limits->SetMaxWidth(Ctl->Width() + 5);
      Ctl->SetWidth(Ctl->Width() + 50);
      EXPECT_LE(Ctl->Width(), Limits->MaxWidth());
    }
  }
  EXPECT_GE(Tried, int(Listed().size()));
}

}  // namespace
