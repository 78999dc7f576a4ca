// The completing combo box, typed into with the real keyboard through the application's loop:
// a table of typed sequences, its own OnKeyPress first, completion off, an accented letter, the
// parent-window constructor and UseComplete in form resources.
#include "package/TCB.h"
#include "package/tests/pkgtest.h"
#include "rtl/tests/default_check.h"
#include "vcl/Clipbrd.h"

#include <string>
#include <vector>

namespace {

using namespace pkgtest;
using suitetest::TFormScene;

// Presses and releases each key on the real keyboard: lower-case letters as they are, upper-case
// ones with Shift, '\b' backspace, and characters of 0x80 and above as the character itself.
void Type(const std::string& Keys) {
  for (char K : Keys) {
    const unsigned char Ch = static_cast<unsigned char>(K);
    std::vector<INPUT> In;
    if (Ch >= 0x80) {
      wchar_t Wide = 0;
      MultiByteToWideChar(CP_ACP, 0, &K, 1, &Wide, 1);
      for (DWORD Up : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
        INPUT I{};
        I.type = INPUT_KEYBOARD;
        I.ki.wScan = WORD(Wide);
        I.ki.dwFlags = KEYEVENTF_UNICODE | Up;
        In.push_back(I);
      }
    } else {
      const bool Shift = Ch >= 'A' && Ch <= 'Z';
      const WORD Vk = Ch == '\b' ? WORD(VK_BACK) : WORD(std::toupper(Ch));
      if (Shift) In.push_back(vcltest::KeyInput(VK_SHIFT, true));
      In.push_back(vcltest::KeyInput(Vk, true));
      In.push_back(vcltest::KeyInput(Vk, false));
      if (Shift) In.push_back(vcltest::KeyInput(VK_SHIFT, false));
    }
    SendInput(UINT(In.size()), In.data(), sizeof(INPUT));
    vcltest::AppPumpUntil([] { return false; }, 50);
  }
  vcltest::AppPumpUntil([] { return false; }, 50);
}

struct TBoxScene : TFormScene {
  TCompleteBox* Box;
  explicit TBoxScene(std::initializer_list<const char*> Items = {"Carrot", "cabbage", "Cabin", "Apple", "apricot"})
      : TFormScene(300, 120) {
    Box = Add<TCompleteBox>(20, 20, 160, 24);
    Box->SetName("Box");
    for (const char* I : Items) Box->Items()->Add(I);
    Show();
    Focus();
  }
  void Focus() {
    Box->SetFocus();
    vcltest::AppPumpUntil([&] { return GetFocus() == Box->EditHandle(); }, 1000);
  }
  void Reset() {
    Box->SetItemIndex(-1);
    Box->SetText("");
  }
  // Text, selection start and length, item index.
  std::string State() {
    return Box->Text().str() + " " + std::to_string(Box->SelStart()) + "+" + std::to_string(Box->SelLength()) +
           " #" + std::to_string(Box->ItemIndex());
  }
};

TEST(CompleteBox, TypedSequencesCompleteFromTheItems) {
  TBoxScene S;
  ASSERT_EQ(GetFocus(), S.Box->EditHandle());
  struct TCase {
    const char* Typed;
    const char* Expect;  // text, selection start + length, item index
  };
  const TCase Cases[] = {
      {"c", "Carrot 1+5 #0"},        // the first item that starts with it
      {"ca", "Carrot 2+4 #0"},
      {"cab", "cabbage 3+4 #1"},     // the selection typed over
      {"cabi", "Cabin 4+1 #2"},      // ignoring case
      {"CABI", "Cabin 4+1 #2"},
      {"cax", "Carrot 2+4 #0"},      // no item: nothing changes
      {"b", " 0+0 #-1"},
      {"carrot", "Carrot 6+0 #0"},
      {"carrotx", "Carrot 6+0 #0"},
      {"a", "Apple 1+4 #3"},
      {"aPr", "apricot 3+4 #4"},
      {"cab\b", "Carrot 2+4 #0"},    // backspace shortens what was typed
      {"cab\b\b", "Carrot 1+5 #0"},
      {"c\b", " 0+0 #-1"},           // and clears the box when nothing is left
      {"\b", " 0+0 #-1"},
      {"c\bcab", "cabbage 3+4 #1"},
  };
  for (const TCase& C : Cases) {
    std::string Shown = C.Typed;
    for (char& Ch : Shown)
      if (Ch == '\b') Ch = '<';
    SCOPED_TRACE("typed \"" + Shown + "\"");
    S.Reset();
    Type(C.Typed);
    EXPECT_EQ(S.State(), C.Expect);
  }

  // Backspace when nothing is left of the typed text goes to the window: here it deletes a
  // selected text that starts no item.
  S.Box->SetText("zz");
  S.Box->SelectAll();
  Type("\b");
  EXPECT_EQ(S.State(), " 0+0 #-1");
  // A control key other than backspace goes on unchanged: Ctrl+V pastes.
  Clipboard()->SetAsText("zz");
  S.Reset();
  vcltest::SendInputs({vcltest::KeyInput(VK_CONTROL, true), vcltest::KeyInput('V', true),
                       vcltest::KeyInput('V', false), vcltest::KeyInput(VK_CONTROL, false)});
  vcltest::AppPumpUntil([] { return false; }, 100);
  EXPECT_EQ(S.Box->Text().str(), "zz");
}

struct TOwnKeys : TObject {
  std::string Seen;
  void Press(TObject* Sender, char& Key) {
    EXPECT_NE(Sender, nullptr);
    Seen += Key;
    if (Key == 'x') Key = 'c';  // x types as c
    if (Key == 'q') Key = 0;    // q is dropped
  }
};

TEST(CompleteBox, ItsOwnOnKeyPressRunsFirstAndMayChangeTheKey) {
  TBoxScene S;
  TOwnKeys Own;
  // The published OnKeyPress is the box's own; the completion stays in place.
  SetMethodProp(S.Box, "OnKeyPress", EVENT(&Own, TOwnKeys::Press).Method());
  EXPECT_TRUE(S.Box->OnKeyPress);
  Type("xqa");
  EXPECT_EQ(Own.Seen, "xqa");
  EXPECT_EQ(S.State(), "Carrot 2+4 #0");

  // Completion off: a plain combo box, the own event still first.
  S.Reset();
  Own.Seen.clear();
  S.Box->SetUseComplete(false);
  Type("xqab");
  EXPECT_EQ(Own.Seen, "xqab");
  EXPECT_EQ(S.Box->Text().str(), "cab");
  EXPECT_EQ(S.Box->ItemIndex(), -1);
  Type("z\b\b");
  EXPECT_EQ(S.Box->Text().str(), "ca");
}

TEST(CompleteBox, AnAccentedLetterIsTypedNotPassedOn) {
  TBoxScene S({"Carrot", "\xE9" "clair", "Cabin"});
  Type("\xE9");
  EXPECT_EQ(S.State(), "\xE9" "clair 1+5 #1");
  Type("c");
  EXPECT_EQ(S.State(), "\xE9" "clair 2+4 #1");
  S.Reset();
  Type("\xE8");  // starts no item
  EXPECT_EQ(S.State(), " 0+0 #-1");
}

TEST(CompleteBox, MadeInAWindowOfOtherCode) {
  vcltest::TTestWindow Host(300, 100, 80, 80);
  Host.Activate();
  TCompleteBox* Box = New<TCompleteBox>(Host.Handle());
  EXPECT_EQ(Box->Owner(), nullptr);
  EXPECT_EQ(Box->Parent(), nullptr);
  EXPECT_TRUE(Box->UseComplete());
  EXPECT_FALSE(Box->OnKeyPress);
  Box->SetBounds(10, 10, 160, 24);
  Box->Items()->Add("Carrot");
  Box->Items()->Add("cabbage");
  EXPECT_EQ(GetParent(Box->Handle()), Host.Handle());
  ShowWindow(Box->Handle(), SW_SHOW);
  SetFocus(Box->EditHandle());
  vcltest::AppPumpUntil([&] { return GetFocus() == Box->EditHandle(); }, 1000);
  Type("cab");
  EXPECT_EQ(Box->Text().str(), "cabbage");
  EXPECT_EQ(Box->SelStart(), 3);
  TObject::Free(Box);
  vcltest::PumpMessages();
}

TEST(CompleteBox, UseCompleteIsStoredEitherWay) {
  ExpectClassDefaultsMatch(TCompleteBox::StaticClass());
  EXPECT_EQ(GetClass("TCompleteBox"), TCompleteBox::StaticClass());
  ASSERT_NE(TCompleteBox::StaticClass()->FindProp("ImeMode"), nullptr);
  EXPECT_STREQ(TCompleteBox::StaticClass()->FindProp("ImeMode")->Type(), "TImeMode");
  EXPECT_EQ(TCompleteBox::StaticClass()->FindProp("OnKeyPress")->MethodType, &typeid(TKeyPressEvent));
  for (bool Use : {false, true}) {
    SCOPED_TRACE(Use ? "true" : "false");
    TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
    Form->SetName("Form1");
    auto* Box = TComponent::Create<TCompleteBox>(Form.get());
    Box->SetName("Box");
    Box->SetParent(Form.get());
    Box->SetUseComplete(Use);
    TMemoryStream Bin;
    WriteComponentRes(&Bin, Form.get());
    Bin.SetPosition(0);
    TStringStream Text;
    ObjectBinaryToText(&Bin, &Text);
    EXPECT_NE(Text.DataString().str().find(Use ? "UseComplete = True" : "UseComplete = False"), std::string::npos)
        << Text.DataString().str();
    Bin.SetPosition(0);
    TFormPtr Again{TCustomForm::CreateNew<TForm>(nullptr)};
    ReadComponentRes(&Bin, Again.get());
    auto* Read = dynamic_cast<TCompleteBox*>(Again->FindComponent("Box"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->UseComplete(), Use);
  }
}

}  // namespace
