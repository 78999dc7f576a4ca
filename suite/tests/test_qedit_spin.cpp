// The button edit and the spin edits: typed characters and clipboard pastes, values and limits,
// the refused editing with EditorEnabled off, and the room typed text leaves for the button.
#include "suite/qEdit.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

using namespace suitetest;

namespace {

int Beeps = 0;
void CountBeep(unsigned) { ++Beeps; }

class SpinEditTest : public ::testing::Test {
protected:
  void SetUp() override {
    Beeps = 0;
    TqcCustomEdit::Beep = &CountBeep;
    S.Show();
  }
  void TearDown() override { TqcCustomEdit::Beep = [](unsigned T) { MessageBeep(T); }; }

  template <class T> T* AddEdit(int L = 10, int T0 = 10, int W = 160) {
    T* E = S.Add<T>(L, T0, W, 21);
    E->HandleNeeded();
    return E;
  }
  // Characters as the keyboard types them into the focused box.
  void Type(TWinControl* E, const std::string& Text) {
    for (char Ch : Text) PostMessageA(E->Handle(), WM_CHAR, WPARAM((unsigned char)Ch), 1);
    Application->ProcessMessages();
  }
  void Paste(TWinControl* E, const char* Text) {
    ASSERT_TRUE(OpenClipboard(S.Form->Handle()));
    EmptyClipboard();
    HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, strlen(Text) + 1);
    std::memcpy(GlobalLock(Mem), Text, strlen(Text) + 1);
    GlobalUnlock(Mem);
    SetClipboardData(CF_TEXT, Mem);
    CloseClipboard();
    SendMessageA(E->Handle(), WM_PASTE, 0, 0);
  }
  void Key(TWinControl* E, unsigned short Vk) {
    PostMessageA(E->Handle(), WM_KEYDOWN, Vk, 1);
    PostMessageA(E->Handle(), WM_KEYUP, Vk, LPARAM(0xC0000001u));
    Application->ProcessMessages();
  }

  TFormScene S;
};

TEST(SpinEdits, PublishedDefaultsMatchFreshEdits) {
  for (TClass C : {TqcButtonEdit::StaticClass(), TqcSpinEdit::StaticClass(), TqcFloatSpinEdit::StaticClass()})
    ExpectClassDefaultsMatch(C);
}

TEST_F(SpinEditTest, TypedCharactersAndPastes) {
  struct TCase {
    const char* Name;
    bool Float;
    bool EditorEnabled;
    const char* Typed;
    const char* Pasted;
    const char* Expected;
    int Beeps;
  };
  const TCase Cases[] = {
      {"digits and minus go in", false, true, "-12", nullptr, "-12", 0},
      {"letters, points and the exponent are refused", false, true, "1a.e2", nullptr, "12", 3},
      {"Enter beeps too", false, true, "4\r5", nullptr, "45", 1},
      {"backspace edits", false, true, "78\b", nullptr, "7", 0},
      {"the float edit takes the separator and the exponent", true, true, "1.5e2", nullptr, "1.5e2", 0},
      {"but no other letter", true, true, "2x", nullptr, "2", 1},
      {"a paste goes in", false, true, "", "1234", "1234", 0},
      {"without the editor nothing is typed", false, false, "12\b", nullptr, "", 3},
      {"nor pasted", false, false, "", "99", "", 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Beeps = 0;
    TqcCustomSpinEdit* E = C.Float ? static_cast<TqcCustomSpinEdit*>(AddEdit<TqcFloatSpinEdit>())
                                   : static_cast<TqcCustomSpinEdit*>(AddEdit<TqcSpinEdit>());
    E->SetText("");
    E->SetEditorEnabled(C.EditorEnabled);
    E->SetFocus();
    Type(E, C.Typed);
    if (C.Pasted) Paste(E, C.Pasted);
    EXPECT_EQ(E->Text().str(), C.Expected);
    EXPECT_EQ(Beeps, C.Beeps);
    TObject::Free(E);
  }
}

TEST_F(SpinEditTest, ValuesLimitsAndSteps) {
  auto* E = AddEdit<TqcSpinEdit>();
  EXPECT_EQ(E->Text().str(), "0");
  // Letters read as MinValue; a step goes on from there.
  E->SetMinValue(5);
  E->SetMaxValue(20);
  E->SetText("abc");
  EXPECT_EQ(E->Value(), 5);
  Key(E, VK_UP);
  EXPECT_EQ(E->Text().str(), "6");
  // Digits beyond 32 bits read as the nearest limit, then the range holds.
  E->SetText("99999999999");
  EXPECT_EQ(E->Value(), INT_MAX);
  E->SetText("-99999999999");
  EXPECT_EQ(E->Value(), INT_MIN);
  Key(E, VK_DOWN);
  EXPECT_EQ(E->Text().str(), "5") << "kept to the range";
  // No limits: steps stop at the 32-bit ends instead of wrapping.
  E->SetMinValue(0);
  E->SetMaxValue(0);
  E->SetValue(INT_MAX);
  Key(E, VK_UP);
  EXPECT_EQ(E->Value(), INT_MAX);
  E->SetValue(INT_MIN);
  E->SetIncrement(7);
  Key(E, VK_DOWN);
  EXPECT_EQ(E->Value(), INT_MIN);
  E->SetValue(123456789);
  EXPECT_EQ(E->Text().str(), "123456789");
  // 0 to 10: Up at 10 stays; 25 typed turns 10 on leaving.
  E->SetIncrement(1);
  E->SetMaxValue(10);
  E->SetValue(10);
  Key(E, VK_UP);
  EXPECT_EQ(E->Text().str(), "10");
  auto* Other = AddEdit<TqcEdit>(10, 100, 100);
  E->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return E->Focused(); }));
  E->SetText("25");
  Other->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Other->Focused(); }));
  EXPECT_EQ(E->Text().str(), "10");
  // MinValue above MaxValue: kept between them either way round.
  E->SetMinValue(10);
  E->SetMaxValue(0);
  E->SetValue(25);
  EXPECT_EQ(E->Value(), 10);
  E->SetValue(-5);
  EXPECT_EQ(E->Value(), 0);
  E->SetValue(3);
  EXPECT_EQ(E->Value(), 3);
  // Read-only: a step only beeps.
  Beeps = 0;
  E->SetReadOnly(true);
  Key(E, VK_UP);
  EXPECT_EQ(E->Value(), 3);
  EXPECT_EQ(Beeps, 1);
}

TEST_F(SpinEditTest, FloatValuesWithExponentAndSeparator) {
  auto* E = AddEdit<TqcFloatSpinEdit>();
  EXPECT_EQ(E->Text().str(), "0");
  E->SetText(AnsiString("1") + DecimalSeparator + "5e2");
  EXPECT_EQ(E->Value(), 150.0L);
  E->SetIncrement(0.25L);
  Key(E, VK_UP);
  EXPECT_EQ(E->Text().str(), AnsiString("150") + DecimalSeparator + "25");
  E->SetText("none");
  E->SetMinValue(-1.5L);
  E->SetMaxValue(2.5L);
  EXPECT_EQ(E->Value(), -1.5L);
  E->SetValue(9);
  EXPECT_EQ(E->Value(), 2.5L);
}

TEST_F(SpinEditTest, WithoutTheEditorOnlyTheSpinButtonAndArrowsChangeIt) {
  auto* E = AddEdit<TqcSpinEdit>();
  E->SetValue(40);
  E->SetEditorEnabled(false);
  E->SetFocus();
  SendMessageA(E->Handle(), EM_SETSEL, 0, -1);
  Key(E, VK_DELETE);
  EXPECT_EQ(E->Text().str(), "40") << "Delete";
  SendMessageA(E->Handle(), WM_CLEAR, 0, 0);
  EXPECT_EQ(E->Text().str(), "40") << "WM_CLEAR";
  SendMessageA(E->Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(E->Text().str(), "40") << "cut";
  // The edit's own undo buffer holds the previous text; undo may not bring it back.
  E->SetEditorEnabled(true);
  SendMessageA(E->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(E->Handle(), EM_REPLACESEL, TRUE, LPARAM("41"));
  E->SetEditorEnabled(false);
  SendMessageA(E->Handle(), EM_UNDO, 0, 0);
  SendMessageA(E->Handle(), WM_UNDO, 0, 0);
  EXPECT_EQ(E->Text().str(), "41") << "undo";
  Key(E, VK_UP);
  EXPECT_EQ(E->Value(), 42) << "the arrow keys still step";
  // And the spin button, clicked for real.
  TqcSpinBtn* B = E->Button();
  vcltest::MoveMouse(E->Handle(), B->Left() + B->Width() / 2, B->Top() + 2);
  MouseButton(true);
  MouseButton(false);
  EXPECT_EQ(E->Value(), 43);
}

TEST_F(SpinEditTest, TypedTextStopsBeforeTheButton) {
  auto* E = AddEdit<TqcSpinEdit>();
  const int W = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(E->Button()->Width(), W);
  EXPECT_EQ(E->Button()->Left(), E->Width() - W - 6);
  EXPECT_EQ(E->Height(), FontTextHeight(E->Font()) + 9);
  EXPECT_EQ(E->Button()->Height(), E->Height() - 6);
  RECT R{};
  SendMessageA(E->Handle(), EM_GETRECT, 0, LPARAM(&R));
  EXPECT_EQ(R.right, E->ClientWidth() - W - 3);
  // The button's image count stays within 1..4.
  auto* B = AddEdit<TqcButtonEdit>(10, 60);
  B->SetButtonNumGlyphs(9);
  EXPECT_EQ(B->ButtonNumGlyphs(), 4);
  B->SetButtonNumGlyphs(0);
  EXPECT_EQ(B->ButtonNumGlyphs(), 1);
}

struct TButtonClicks : TObject {
  int N = 0;
  TObject* Sender = nullptr;
  void Click(TObject* S) {
    ++N;
    Sender = S;
  }
};

TEST_F(SpinEditTest, ButtonEditSizesItselfToItsGlyph) {
  // Without a window the glyph and the sizes follow, and no window is made.
  TqcButtonEdit* Loose = TComponent::Create<TqcButtonEdit>(nullptr);
  // Two 8 by 32 images, lime but for the bottom-left pixel that gives the transparent colour.
  auto Glyph = vcltest::MakeBitmap(16, 32, clLime);
  Glyph->Canvas()->SetPixels(0, 31, clFuchsia);
  Glyph->Canvas()->SetPixels(8, 31, clFuchsia);
  Loose->SetButtonNumGlyphs(2);
  Loose->SetGlyph(Glyph.get());
  EXPECT_FALSE(Loose->HandleAllocated());
  EXPECT_EQ(Loose->Button()->Width(), 16) << "two 8-wide images and 8 more";
  EXPECT_GE(Loose->Height(), 44) << "the glyph's 32 and 12 more";
  TObject::Free(Loose);

  auto* E = AddEdit<TqcButtonEdit>(10, 10, 200);
  E->SetButtonNumGlyphs(2);
  E->SetGlyph(Glyph.get());
  EXPECT_EQ(E->Button()->Width(), 16);
  EXPECT_GE(E->Height(), 44);
  EXPECT_EQ(E->Button()->Height(), E->Height() - 6);
  EXPECT_EQ(E->Button()->Left(), E->Width() - 16 - 6);
  RECT R{};
  SendMessageA(E->Handle(), EM_GETRECT, 0, LPARAM(&R));
  EXPECT_EQ(R.right, E->ClientWidth() - 16 - 3);
  // Long typed text leaves the button's glyph alone.
  E->SetText(std::string(80, 'W').c_str());
  const TPoint Mid = Point(E->Button()->Left() + 8, E->Button()->Top() + E->Button()->Height() / 2);
  EXPECT_EQ(Hex(vcltest::PixelAt(E->Handle(), Mid.X, Mid.Y)), Hex(clLime));
  // A real click on the button raises the event with the edit as sender.
  TButtonClicks Clicks;
  E->OnButtonClick = EVENT(&Clicks, TButtonClicks::Click);
  vcltest::MoveMouse(E->Handle(), Mid.X, Mid.Y);
  MouseButton(true);
  MouseButton(false);
  EXPECT_EQ(Clicks.N, 1);
  EXPECT_EQ(Clicks.Sender, E);
}

}  // namespace
