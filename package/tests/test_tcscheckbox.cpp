// The check box variant: a form resource binds its mouse and double-click events by name, and
// real clicks of the mouse fire them.
#include "package/TcsCheckBox.h"
#include "package/tests/pkgtest.h"
#include "rtl/tests/default_check.h"

class TcsCheckForm : public TForm {
  ORV_CLASS(TcsCheckForm, TForm)
public:
  explicit TcsCheckForm(TComponent* AOwner) : TForm(AOwner) {}
  TcsCheckBox* Box = nullptr;
  std::vector<std::string> Log;
  void BoxClick(TObject*) { Log.push_back("click"); }
  void BoxDblClick(TObject*) { Log.push_back("dblclick"); }
  void BoxMouseDown(TObject*, TMouseButton B, TShiftState, int X, int Y) {
    Log.push_back("down " + std::to_string(int(B)) + " " + std::to_string(X) + "," + std::to_string(Y));
  }
  void BoxMouseUp(TObject*, TMouseButton B, TShiftState, int, int) { Log.push_back("up " + std::to_string(int(B))); }
  void BoxMouseMove(TObject*, TShiftState, int, int) { ++Moves; }
  int Moves = 0;
};

static constinit const TPublishedField TcsCheckForm_Fields[] = {PublishedField<&TcsCheckForm::Box>("Box")};
static constinit const TPublishedMethod TcsCheckForm_Methods[] = {
    PublishedMethod<&TcsCheckForm::BoxClick>("BoxClick"),
    PublishedMethod<&TcsCheckForm::BoxDblClick>("BoxDblClick"),
    PublishedMethod<&TcsCheckForm::BoxMouseDown>("BoxMouseDown"),
    PublishedMethod<&TcsCheckForm::BoxMouseUp>("BoxMouseUp"),
    PublishedMethod<&TcsCheckForm::BoxMouseMove>("BoxMouseMove"),
};
ORV_IMPLEMENT_FORM(TcsCheckForm, TForm, nullptr, TcsCheckForm_Fields, TcsCheckForm_Methods)

namespace {

const char* const CheckFormText =
    "object CheckForm: TcsCheckForm\n"
    "  Left = 80\n  Top = 80\n  Width = 260\n  Height = 140\n"
    "  object Box: TcsCheckBox\n"
    "    Left = 20\n    Top = 20\n    Width = 120\n    Height = 20\n"
    "    Caption = 'Loop'\n"
    "    OnClick = BoxClick\n    OnDblClick = BoxDblClick\n"
    "    OnMouseDown = BoxMouseDown\n    OnMouseMove = BoxMouseMove\n    OnMouseUp = BoxMouseUp\n"
    "  end\n"
    "end\n";

TEST(csCheckBox, FormBindsTheMouseEventsAndRealClicksFireThem) {
  ExpectClassDefaultsMatch(TcsCheckBox::StaticClass());
  TStringStream In(CheckFormText);
  TMemoryStream Bin;
  ObjectTextToBinary(&In, &Bin);
  Bin.SetPosition(0);
  pkgtest::TFormPtr Form(TForm::CreateNew<TcsCheckForm>(nullptr));
  ReadComponentRes(&Bin, Form.get());
  auto* F = static_cast<TcsCheckForm*>(Form.get());
  ASSERT_NE(F->Box, nullptr);
  EXPECT_EQ(F->Box->OnDblClick.Object(), F);
  F->Show();
  SetForegroundWindow(F->Handle());
  vcltest::PumpRounds(3);
  HWND Box = F->Box->Handle();

  vcltest::RealClick(Box, 8, 10);
  vcltest::PumpRounds(3);
  EXPECT_EQ(F->Log, (std::vector<std::string>{"down 0 8,10", "click", "up 0"}));
  EXPECT_TRUE(F->Box->Checked());
  EXPECT_GT(F->Moves, 0);

  // A right click is a mouse event and no click.
  F->Log.clear();
  vcltest::RealClick(Box, 30, 10, mbRight);
  vcltest::PumpRounds(3);
  EXPECT_EQ(F->Log, (std::vector<std::string>{"down 1 30,10", "up 1"}));

  // A double click: its second press is the double click.
  Sleep(600);
  F->Log.clear();
  vcltest::RealClick(Box, 8, 10, mbLeft, 2);
  vcltest::PumpRounds(3);
  EXPECT_EQ(std::count(F->Log.begin(), F->Log.end(), "dblclick"), 1) << testing::PrintToString(F->Log);
  EXPECT_EQ(F->Log.front(), "down 0 8,10");
  EXPECT_EQ(F->Log.back(), "up 0");
}

}  // namespace
