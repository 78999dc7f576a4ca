// The page-control editor's verbs on a design form, through our designer, and the form it writes.
#include "package/tests/design/designtest.h"

#include "package/design/BMPageEditor.h"
#include "package/design/PackageReg.h"

#include <commctrl.h>

namespace {

using namespace designtest;

std::string ErrorOf(const std::function<void()>& Fn) {
  try {
    Fn();
  } catch (const Exception& E) {
    return std::string(E.ClassName()) + ": " + E.Message().str();
  }
  return "(no exception)";
}

// The package's editors, registered once for these tests.
void RegisterOnce() {
  static bool Done = [] {
    TDesignPalette Palette;
    RegisterPackage();
    return true;
  }();
  (void)Done;
}

// A design form with a page control placed by the designer.
struct TPagesForm : TDesignForm<> {
  TBMPageControl* Pages;
  TPagesForm() {
    RegisterOnce();
    Pages = static_cast<TBMPageControl*>(Designer->CreateComponent(TBMPageControl::StaticClass(), nullptr, 10, 10));
    Pages->SetBounds(10, 10, 400, 300);
  }
  std::vector<std::string> PageNames() {
    std::vector<std::string> R;
    for (int I = 0; I < Pages->PageCount(); ++I) R.push_back(Pages->Pages(I)->Name().str());
    return R;
  }
};

TEST(DesignPages, TheEditorHasThreeVerbsOnThePageControlAndOnItsSheets) {
  TPagesForm D;
  D.Designer->ExecuteVerb(D.Pages, 0);
  TComponent* Sheet = D.Pages->Pages(0);
  for (TComponent* C : {static_cast<TComponent*>(D.Pages), Sheet}) {
    SCOPED_TRACE(C->Name().str());
    EXPECT_EQ(GetComponentEditor(C, D.Designer.get())->ClassType(), TBMPageControlEditor::StaticClass());
    ASSERT_EQ(D.Designer->GetVerbCount(C), 3);
    EXPECT_EQ(D.Designer->GetVerb(C, 0), "New (BM)page");
    EXPECT_EQ(D.Designer->GetVerb(C, 1), "Next page");
    EXPECT_EQ(D.Designer->GetVerb(C, 2), "Previous page");
    EXPECT_EQ(D.Designer->GetVerb(C, 7), "Previous page");
  }
}

TEST(DesignPages, NewPageTwiceMakesTwoNamedSheetsTheSecondActiveAndSelected) {
  TPagesForm D;
  D.Show();
  const int Before = D.Designer->ModifiedCount();
  for (int N = 1; N <= 2; ++N) {
    SCOPED_TRACE(N);
    D.Designer->ExecuteVerb(D.Pages, 0);
    ASSERT_EQ(D.Pages->PageCount(), N);
    TTabSheet* Sheet = D.Pages->Pages(N - 1);
    EXPECT_EQ(Sheet->ClassType(), TBMTabSheet::StaticClass());
    EXPECT_EQ(Sheet->Name(), AnsiString("BMTabSheet") + IntToStr(N));
    EXPECT_EQ(Sheet->Owner(), D.Form.get());
    EXPECT_EQ(Sheet->Parent(), D.Pages);
    EXPECT_EQ(Sheet->PageControl(), D.Pages);
    EXPECT_TRUE(Sheet->HasState(csDesigning));
    EXPECT_EQ(D.Pages->ActivePage(), Sheet);
    EXPECT_EQ(D.Designer->Selection(), Sheet);
    EXPECT_EQ(D.Designer->ModifiedCount(), Before + N);
  }
  // What the tab control itself shows.
  vcltest::PumpMessages();
  EXPECT_EQ(SendMessageA(D.Pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(D.Pages->Handle(), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(IsWindowVisible(D.Pages->Pages(1)->Handle()));
  EXPECT_FALSE(IsWindowVisible(D.Pages->Pages(0)->Handle()));
}

TEST(DesignPages, NextAndPreviousPageWrapBothWaysAndCountHiddenTabs) {
  TPagesForm D;
  for (int I = 0; I < 3; ++I) D.Designer->ExecuteVerb(D.Pages, 0);
  D.Pages->Pages(1)->SetTabVisible(false);
  struct TCase {
    int From, Verb, To;
  } Cases[] = {
      {0, 1, 1}, {1, 1, 2}, {2, 1, 0},  // forward, through the hidden tab, wrapping
      {0, 2, 2}, {2, 2, 1}, {1, 2, 0},  // backward, wrapping first
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.From) + " verb " + std::to_string(C.Verb));
    D.Pages->SetActivePage(D.Pages->Pages(C.From));
    const int Before = D.Designer->ModifiedCount();
    D.Designer->ExecuteVerb(D.Pages, C.Verb);
    EXPECT_EQ(D.Pages->ActivePage(), D.Pages->Pages(C.To));
    EXPECT_EQ(D.Designer->Selection(), D.Pages->Pages(C.To));
    EXPECT_EQ(D.Designer->ModifiedCount(), Before + 1);
  }
}

TEST(DesignPages, AVerbOnASheetActsOnItsPageControlAndOnALooseSheetDoesNothing) {
  TPagesForm D;
  D.Designer->ExecuteVerb(D.Pages, 0);
  D.Designer->ExecuteVerb(D.Pages->Pages(0), 0);
  EXPECT_EQ(D.PageNames(), (std::vector<std::string>{"BMTabSheet1", "BMTabSheet2"}));
  D.Designer->ExecuteVerb(D.Pages->Pages(1), 1);
  EXPECT_EQ(D.Pages->ActivePage(), D.Pages->Pages(0));

  auto* Loose = static_cast<TBMTabSheet*>(D.Designer->CreateComponent(TBMTabSheet::StaticClass()));
  const int Count = D.Form->ComponentCount(), Modified = D.Designer->ModifiedCount();
  for (int Verb = 0; Verb < 3; ++Verb) D.Designer->ExecuteVerb(Loose, Verb);
  EXPECT_EQ(D.Form->ComponentCount(), Count);
  EXPECT_EQ(D.Designer->ModifiedCount(), Modified);
  EXPECT_EQ(D.Designer->Selection(), Loose);
  EXPECT_EQ(D.Pages->PageCount(), 2);
}

TEST(DesignPages, NextPageWithoutPagesDoesNothing) {
  TPagesForm D;
  const int Modified = D.Designer->ModifiedCount();
  D.Designer->ExecuteVerb(D.Pages, 1);
  D.Designer->ExecuteVerb(D.Pages, 2);
  EXPECT_EQ(D.Designer->ModifiedCount(), Modified);
  EXPECT_EQ(D.Pages->ActivePage(), nullptr);
}

// A designer whose names collide with a component it already has.
class TCollidingDesigner : public TFormDesigner {
public:
  using TFormDesigner::TFormDesigner;
  AnsiString UniqueName(const AnsiString&) override { return "BMPageControl1"; }
};

TEST(DesignPages, ANameThatCollidesRaisesAndLeavesNoSheet) {
  RegisterOnce();
  TDesignForm<TCollidingDesigner> D;
  auto* Pages = TComponent::Create<TBMPageControl>(D.Form.get());
  Pages->SetName("BMPageControl1");
  Pages->SetParent(D.Form.get());
  const int Count = D.Form->ComponentCount();
  EXPECT_EQ(ErrorOf([&] { D.Designer->ExecuteVerb(Pages, 0); }),
            "EComponentError: A component named BMPageControl1 already exists");
  EXPECT_EQ(D.Form->ComponentCount(), Count);
  EXPECT_EQ(Pages->PageCount(), 0);
  EXPECT_EQ(Pages->ControlCount(), 0);
  EXPECT_EQ(D.Designer->ModifiedCount(), 0);
}

TEST(DesignPages, TheWrittenFormHoldsTheSheetsInThePageControlAndReadsBack) {
  TPagesForm D;
  for (int I = 0; I < 3; ++I) D.Designer->ExecuteVerb(D.Pages, 0);
  D.Pages->Pages(0)->SetCaption("First");
  D.Designer->ExecuteVerb(D.Pages, 1);  // wraps to the first page
  ASSERT_EQ(D.Pages->ActivePage(), D.Pages->Pages(0));
  auto Written = D.Write();

  // Nested inside the page control's object, in page order.
  const std::string Text = FormText(Written.get());
  const size_t Control = Text.find("object BMPageControl1: TBMPageControl");
  ASSERT_NE(Control, std::string::npos) << Text;
  size_t At = Control;
  for (const char* Sheet : {"BMTabSheet1", "BMTabSheet2", "BMTabSheet3"}) {
    At = Text.find(std::string("\r\n    object ") + Sheet + ": TBMTabSheet", At);
    EXPECT_NE(At, std::string::npos) << Sheet << "\n" << Text;
  }
  EXPECT_NE(Text.find("ActivePage = BMTabSheet1"), std::string::npos) << Text;

  TFormPtr Back = ReadDesignForm(Written.get());
  auto* Pages = dynamic_cast<TBMPageControl*>(Back->FindComponent("BMPageControl1"));
  ASSERT_NE(Pages, nullptr);
  ASSERT_EQ(Pages->PageCount(), 3);
  for (int I = 0; I < 3; ++I) {
    EXPECT_EQ(Pages->Pages(I)->Name(), D.Pages->Pages(I)->Name());
    EXPECT_EQ(Pages->Pages(I)->Owner(), Back.get());
    EXPECT_EQ(Pages->Pages(I)->Parent(), Pages);
  }
  EXPECT_EQ(Pages->Pages(0)->Caption(), "First");
  EXPECT_EQ(Pages->ActivePage(), Pages->Pages(0));
}

}  // namespace
