// Context help: F1 on a focused button asks the application for the button's help topic, or
// for its nearest parent's when it has none.
#include "suite/Std2ShapeBtn.h"
#include "suite/qAnimate.h"
#include "vcl/Forms.h"
#include "vcl/ExtCtrls.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class THelpLog : public TObject {
public:
  std::vector<std::pair<unsigned, intptr_t>> Calls;
  void Help(unsigned short Command, intptr_t Data, bool& CallHelp, bool& Result) {
    Calls.emplace_back(Command, Data);
    CallHelp = false;
    Result = true;
  }
};

// Presses F1 with the real keyboard while the application's own loop runs.
void PressF1() {
  vcltest::SendInputsThroughApplication({vcltest::KeyInput(VK_F1, true), vcltest::KeyInput(VK_F1, false)});
}

struct THelpCase {
  const char* Name;
  TControl* (*Make)(TForm* Form, TWinControl*& Focus);
  int FormContext;
  int Expected;
};

TEST(ContextHelp, F1AsksForTheFocusedControlsTopicOrItsParentsUpToTheForm) {
  const THelpCase Cases[] = {
      {"own topic of a shaped button",
       [](TForm* Form, TWinControl*& Focus) -> TControl* {
         auto* B = TComponent::Create<TqcShapeColorBtn>(Form);
         B->SetHelpContext(42);
         Focus = B;
         return B;
       },
       7, 42},
      {"the form's topic for a colour button without one",
       [](TForm* Form, TWinControl*& Focus) -> TControl* {
         auto* B = TComponent::Create<TqColorBtn>(Form);
         Focus = B;
         return B;
       },
       7, 7},
      {"a panel's topic between the button and the form",
       [](TForm* Form, TWinControl*& Focus) -> TControl* {
         auto* P = TComponent::Create<TPanel>(Form);
         P->SetBounds(0, 0, 200, 100);
         P->SetHelpContext(9);
         auto* B = TComponent::Create<TqColorBtn>(Form);
         B->SetParent(P);
         B->SetBounds(10, 10, 80, 30);
         Focus = B;
         return P;
       },
       7, 9},
  };
  THelpLog Log;
  Application->OnHelp = EVENT(&Log, THelpLog::Help);
  for (const THelpCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Log.Calls.clear();
    TForm* Form = TForm::CreateNew<TForm>(nullptr);
    Form->SetBounds(80, 80, 300, 200);
    Form->SetHelpContext(C.FormContext);
    TWinControl* Focus = nullptr;
    TControl* Top = C.Make(Form, Focus);
    if (!Top->Parent()) {
      Top->SetBounds(20, 20, 90, 40);
      Top->SetParent(Form);
    }
    Form->Show();
    SetForegroundWindow(Form->Handle());
    Focus->SetFocus();
    vcltest::AppPumpUntil([Focus] { return GetFocus() == Focus->Handle(); }, 1000);
    ASSERT_EQ(GetFocus(), Focus->Handle());
    PressF1();
    ASSERT_EQ(Log.Calls.size(), 1u);
    EXPECT_EQ(Log.Calls[0].first, unsigned(HELP_CONTEXT));
    EXPECT_EQ(Log.Calls[0].second, C.Expected);
    TObject::Free(Form);
    vcltest::PumpMessages();
  }
  Application->OnHelp = nullptr;
}

TEST(ContextHelp, NoTopicAnywhereAsksNothingAndAHelpBorderIconAsksForAPopup) {
  THelpLog Log;
  Application->OnHelp = EVENT(&Log, THelpLog::Help);
  for (bool HelpIcon : {false, true}) {
    SCOPED_TRACE(HelpIcon ? "help icon" : "no topic");
    Log.Calls.clear();
    TForm* Form = TForm::CreateNew<TForm>(nullptr);
    Form->SetBounds(80, 80, 300, 200);
    if (HelpIcon) {
      Form->SetBorderStyle(bsDialog);
      Form->SetBorderIcons((1u << biSystemMenu) | (1u << biHelp));
    }
    auto* B = TComponent::Create<TqColorBtn>(Form);
    B->SetBounds(20, 20, 90, 40);
    B->SetParent(Form);
    if (HelpIcon) B->SetHelpContext(5);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    B->SetFocus();
    vcltest::AppPumpUntil([B] { return GetFocus() == B->Handle(); }, 1000);
    PressF1();
    if (HelpIcon) {
      ASSERT_EQ(Log.Calls.size(), 1u);
      EXPECT_EQ(Log.Calls[0].first, unsigned(HELP_CONTEXTPOPUP));
      EXPECT_EQ(Log.Calls[0].second, 5);
    } else {
      EXPECT_TRUE(Log.Calls.empty());
    }
    TObject::Free(Form);
    vcltest::PumpMessages();
  }
  Application->OnHelp = nullptr;
}

}  // namespace
