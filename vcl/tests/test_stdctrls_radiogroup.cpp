// The radio group: a real radio button per item, laid out in columns, ItemIndex kept in range,
// and the user's clicks on the buttons.
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vcltest::PumpRounds;

struct TCounts : TObject {
  int Clicks = 0, DblClicks = 0;
  std::vector<int> IndexAtClick;
  void Click(TObject* Sender) {
    ++Clicks;
    IndexAtClick.push_back(static_cast<TRadioGroup*>(Sender)->ItemIndex());
  }
  void DblClick(TObject*) { ++DblClicks; }
};

// A shown form holding one radio group of the given items.
struct TGroupForm {
  TForm* Form;
  TRadioGroup* Group;
  TCounts Counts;
  explicit TGroupForm(std::vector<const char*> Items, int W = 200, int H = 130) {
    Form = TForm::CreateNew<TForm>(nullptr);
    Form->SetBounds(60, 60, 320, 240);
    Group = TComponent::Create<TRadioGroup>(Form);
    Group->SetBounds(10, 10, W, H);
    Group->SetCaption("Group");
    Group->SetParent(Form);
    for (const char* S : Items) Group->Items()->Add(S);
    Group->OnClick = TNotifyEvent::Bind<&TCounts::Click>(&Counts);
    Group->OnDblClick = TNotifyEvent::Bind<&TCounts::DblClick>(&Counts);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    PumpRounds(3);
  }
  ~TGroupForm() {
    TObject::Free(Form);
    vcltest::PumpMessages();
  }
  TGroupForm(const TGroupForm&) = delete;
  TGroupForm& operator=(const TGroupForm&) = delete;
  int Check(int I) { return int(SendMessageA(Group->Buttons(I)->Handle(), BM_GETCHECK, 0, 0)); }
  std::vector<int> Checks() {
    std::vector<int> C;
    for (int I = 0; I < Group->ButtonCount(); ++I) C.push_back(Check(I));
    return C;
  }
};

std::string Caption(HWND H) {
  char Buf[128] = {};
  GetWindowTextA(H, Buf, sizeof Buf);
  return Buf;
}

TEST(RadioGroup, MakesARadioButtonPerItemInColumns) {
  TGroupForm F({"One", "Two", "Three", "Four", "Five"});
  TRadioGroup* G = F.Group;
  ASSERT_EQ(G->ButtonCount(), 5);
  for (int I = 0; I < 5; ++I) {
    HWND B = G->Buttons(I)->Handle();
    EXPECT_EQ(GetParent(B), G->Handle());
    EXPECT_EQ(Caption(B), G->Items()->Get(I).str());
    EXPECT_EQ(GetWindowLongA(B, GWL_STYLE) & BS_TYPEMASK, BS_RADIOBUTTON);
    EXPECT_TRUE(IsWindowVisible(B));
  }
  // One column: full width less the frame, the room below the caption shared out evenly.
  const int W = G->Buttons(0)->Width(), H = G->Buttons(0)->Height();
  EXPECT_EQ(W, 190);
  EXPECT_GT(H, 10);
  for (int I = 0; I < 5; ++I) {
    EXPECT_EQ(G->Buttons(I)->Left(), 8);
    EXPECT_EQ(G->Buttons(I)->Top(), G->Buttons(0)->Top() + I * H);
  }
  EXPECT_LE(G->Buttons(4)->Top() + H, G->Height());

  // Two columns: three buttons in the first, two in the second, at half the width.
  G->SetColumns(2);
  EXPECT_EQ(G->Buttons(0)->Width(), 95);
  for (int I : {0, 1, 2}) EXPECT_EQ(G->Buttons(I)->Left(), 8);
  for (int I : {3, 4}) EXPECT_EQ(G->Buttons(I)->Left(), 103);
  EXPECT_EQ(G->Buttons(3)->Top(), G->Buttons(0)->Top());
  RECT R;
  GetWindowRect(G->Buttons(4)->Handle(), &R);
  MapWindowPoints(nullptr, G->Handle(), reinterpret_cast<POINT*>(&R), 2);
  EXPECT_EQ(R.left, 103) << "the window follows the bounds";
  // Columns stay within 1 .. 16.
  G->SetColumns(0);
  EXPECT_EQ(G->Columns(), 1);
  G->SetColumns(40);
  EXPECT_EQ(G->Columns(), 16);
  // A resize lays them out again.
  G->SetColumns(1);
  G->SetBounds(10, 10, 260, 130);
  EXPECT_EQ(G->Buttons(2)->Width(), 250);
}

TEST(RadioGroup, ItemIndexChecksOneButtonWithinTheItems) {
  TGroupForm F({"A", "B", "C"});
  TRadioGroup* G = F.Group;
  EXPECT_EQ(G->ItemIndex(), -1);
  EXPECT_EQ(F.Checks(), (std::vector<int>{0, 0, 0}));
  G->SetItemIndex(1);
  EXPECT_EQ(F.Checks(), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(F.Counts.IndexAtClick, (std::vector<int>{1})) << "a change of item is a click";
  G->SetItemIndex(1);
  EXPECT_EQ(F.Counts.Clicks, 1);
  G->SetItemIndex(9);
  EXPECT_EQ(G->ItemIndex(), 2);
  EXPECT_EQ(F.Checks(), (std::vector<int>{0, 0, 1}));
  G->SetItemIndex(-7);
  EXPECT_EQ(G->ItemIndex(), -1);
  EXPECT_EQ(F.Checks(), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(F.Counts.Clicks, 2);

  // Fewer items: the index stays on the last one; captions follow the items.
  G->SetItemIndex(2);
  G->Items()->Delete(0);
  ASSERT_EQ(G->ButtonCount(), 2);
  EXPECT_EQ(G->ItemIndex(), 1);
  EXPECT_EQ(F.Checks(), (std::vector<int>{0, 1}));
  EXPECT_EQ(Caption(G->Buttons(0)->Handle()), "B");
  G->Items()->Clear();
  EXPECT_EQ(G->ButtonCount(), 0);
  EXPECT_EQ(G->ItemIndex(), -1);
  EXPECT_EQ(GetWindow(G->Handle(), GW_CHILD), nullptr) << "the buttons' windows are gone";
}

TEST(RadioGroup, TheUsersClicksPickItems) {
  TGroupForm F({"Red", "Green", "Blue"});
  TRadioGroup* G = F.Group;
  G->SetItemIndex(0);
  F.Counts.IndexAtClick.clear();
  vcltest::RealClick(G->Buttons(2)->Handle(), 6, G->Buttons(2)->Height() / 2);
  EXPECT_EQ(G->ItemIndex(), 2);
  EXPECT_EQ(F.Checks(), (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(F.Counts.IndexAtClick, (std::vector<int>{2}));
  EXPECT_EQ(F.Counts.DblClicks, 0);

  // A double click on an item picks it and is the group's double click.
  vcltest::RealClick(G->Buttons(1)->Handle(), 6, G->Buttons(1)->Height() / 2, mbLeft, 2);
  EXPECT_EQ(G->ItemIndex(), 1);
  EXPECT_EQ(F.Counts.DblClicks, 1);
  // So is one on the frame.
  vcltest::RealClick(G->Handle(), G->Width() - 3, G->Height() - 3, mbLeft, 2);
  EXPECT_EQ(F.Counts.DblClicks, 2);
  EXPECT_EQ(G->ItemIndex(), 1);

  // A disabled group disables its buttons, and clicks change nothing.
  G->SetEnabled(false);
  for (int I = 0; I < 3; ++I) EXPECT_FALSE(IsWindowEnabled(G->Buttons(I)->Handle()));
  vcltest::RealClick(G->Buttons(0)->Handle(), 6, G->Buttons(0)->Height() / 2);
  EXPECT_EQ(G->ItemIndex(), 1);
  G->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(G->Buttons(0)->Handle()));
}

TEST(RadioGroup, DefaultsMatchTheTable) { ExpectClassDefaultsMatch(TRadioGroup::StaticClass()); }

}  // namespace
