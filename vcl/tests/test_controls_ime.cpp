// The input method a control asks for while it has the focus: applied on focus through imm32,
// put back when the focus leaves.
#include "vcl/StdCtrls.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <imm.h>

namespace {

using vcltest::PumpRounds;

// An edit and a combo box that publish the input method, as the components do.
class TImeEdit : public TEdit {
public:
  using TEdit::TEdit;
  using TWinControl::ImeMode;
  using TWinControl::SetImeMode;
  using TWinControl::ImeName;
  using TWinControl::SetImeName;
};
class TImeCombo : public TComboBox {
public:
  using TComboBox::TComboBox;
  using TWinControl::SetImeMode;
};

class TImeForm {
public:
  TImeForm() {
    Form = TForm::CreateNew<TForm>(nullptr);
    Form->SetBounds(60, 60, 360, 240);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    PumpRounds(3);
  }
  ~TImeForm() {
    TObject::Free(Form);
    vcltest::PumpMessages();
  }
  template <class T> T* Add(int Top) {
    T* C = TComponent::Create<T>(Form);
    C->SetBounds(10, Top, 200, 24);
    C->SetParent(Form);
    return C;
  }
  TForm* Form;
};

// The open state of the input context a window has now; -1 when it has none.
int OpenStatus(HWND Wnd) {
  HIMC Context = ImmGetContext(Wnd);
  if (!Context) return -1;
  int Open = ImmGetOpenStatus(Context) ? 1 : 0;
  ImmReleaseContext(Wnd, Context);
  return Open;
}

void Focus(TWinControl* C) {
  C->SetFocus();
  PumpRounds(2);
  ASSERT_EQ(GetFocus(), C->Handle());
}

TEST(ImeMode, FocusOpensClosesAndDisablesTheInputMethodAndLeavingPutsItBack) {
  TImeForm F;
  auto* Plain = F.Add<TImeEdit>(10);
  auto* Closed = F.Add<TImeEdit>(40);
  auto* Opened = F.Add<TImeEdit>(70);
  auto* Disabled = F.Add<TImeEdit>(100);
  Closed->SetImeMode(imClose);
  Opened->SetImeMode(imOpen);
  Disabled->SetImeMode(imDisable);
  EXPECT_EQ(Plain->ImeMode(), imDontCare);

  Focus(Plain);
  const int Before = OpenStatus(Plain->Handle());
  ASSERT_NE(Before, -1) << "a window has the thread's default input context";

  // Each window shares the thread's default context: what one sets, the next one sees.
  Focus(Opened);
  EXPECT_EQ(OpenStatus(Opened->Handle()), 1);
  Focus(Closed);
  EXPECT_EQ(OpenStatus(Closed->Handle()), 0) << "the open edit's state was put back, then closed";
  Focus(Opened);
  EXPECT_EQ(OpenStatus(Opened->Handle()), 1);

  // imDisable: no input context while it has the focus, its own one back afterwards.
  Focus(Disabled);
  EXPECT_EQ(ImmGetContext(Disabled->Handle()), nullptr);
  Focus(Plain);
  EXPECT_NE(OpenStatus(Disabled->Handle()), -1);

  // The state from before the first changing edit is back once the focus has left them all.
  EXPECT_EQ(OpenStatus(Plain->Handle()), Before);
}

TEST(ImeMode, DontCareLeavesTheStateAloneAndAnUnknownNameIsIgnored) {
  TImeForm F;
  auto* Opened = F.Add<TImeEdit>(10);
  auto* Plain = F.Add<TImeEdit>(40);
  Opened->SetImeMode(imOpen);
  Plain->SetImeName("No Such Input Method");
  Focus(Plain);
  HIMC Context = ImmGetContext(Plain->Handle());
  ASSERT_NE(Context, nullptr);
  ImmSetOpenStatus(Context, TRUE);
  ImmReleaseContext(Plain->Handle(), Context);
  const HKL Layout = GetKeyboardLayout(0);
  Focus(Opened);
  Focus(Plain);
  EXPECT_EQ(OpenStatus(Plain->Handle()), 1) << "imDontCare does not close what the user opened";
  EXPECT_EQ(GetKeyboardLayout(0), Layout);
  EXPECT_EQ(FindImeLayout("No Such Input Method"), nullptr);
}

TEST(ImeMode, ConvertingModesOpenTheContextInTheirConversionMode) {
  TImeForm F;
  auto* Plain = F.Add<TImeEdit>(10);
  auto* Kata = F.Add<TImeEdit>(40);
  Kata->SetImeMode(imKata);
  Focus(Plain);
  HIMC Context = ImmGetContext(Plain->Handle());
  ASSERT_NE(Context, nullptr);
  DWORD Conversion = 0, Sentence = 0;
  ASSERT_TRUE(ImmGetConversionStatus(Context, &Conversion, &Sentence));
  ImmReleaseContext(Plain->Handle(), Context);

  Focus(Kata);
  Context = ImmGetContext(Kata->Handle());
  DWORD Now = 0, NowSentence = 0;
  ASSERT_TRUE(ImmGetConversionStatus(Context, &Now, &NowSentence));
  EXPECT_EQ(ImmGetOpenStatus(Context), TRUE);
  ImmReleaseContext(Kata->Handle(), Context);
  EXPECT_EQ(Now & (IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE),
            DWORD(IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE));

  Focus(Plain);
  Context = ImmGetContext(Plain->Handle());
  ASSERT_TRUE(ImmGetConversionStatus(Context, &Now, &NowSentence));
  ImmReleaseContext(Plain->Handle(), Context);
  EXPECT_EQ(Now, Conversion);
}

TEST(ImeMode, AComboBoxAppliesItToItsEditWindow) {
  TImeForm F;
  auto* Plain = F.Add<TImeEdit>(10);
  auto* Combo = F.Add<TImeCombo>(40);
  Combo->SetImeMode(imDisable);
  Focus(Plain);
  Combo->SetFocus();
  PumpRounds(2);
  HWND Edit = GetFocus();
  ASSERT_TRUE(IsChild(Combo->Handle(), Edit)) << "a drop-down combo box is focused in its edit";
  EXPECT_EQ(ImmGetContext(Edit), nullptr);
  Focus(Plain);
  EXPECT_NE(OpenStatus(Edit), -1);
}

}  // namespace
