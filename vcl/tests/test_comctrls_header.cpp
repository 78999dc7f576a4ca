// Header controls over the system header control: sections set by the program are the
// window's items, and a width the user drags goes back to the section.
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"
#include "rtl/tests/default_check.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct TFormFree {
  void operator()(TCustomForm* F) const {
    TObject::Free(F);
    vcltest::PumpMessages();
  }
};
using TFormPtr = std::unique_ptr<TForm, TFormFree>;

// The right edges of the window's items.
std::vector<int> ItemRights(HWND H) {
  std::vector<int> R;
  for (int I = 0, N = int(SendMessageA(H, HDM_GETITEMCOUNT, 0, 0)); I < N; ++I) {
    RECT Rc{};
    SendMessageA(H, HDM_GETITEMRECT, WPARAM(I), LPARAM(&Rc));
    R.push_back(Rc.right);
  }
  return R;
}

void Button(bool Down) {
  INPUT In{};
  In.type = INPUT_MOUSE;
  In.mi.dwFlags = Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &In, sizeof In);
  vcltest::PumpUntil([&] { return ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0) == Down; });
  vcltest::PumpRounds(3);
}

// Drags with the real mouse from one client point of Wnd to another.
void Drag(HWND Wnd, int X0, int X1, int Y) {
  vcltest::MoveMouse(Wnd, X0, Y);
  Button(true);
  for (int Step = 1; Step <= 4; ++Step) vcltest::MoveMouse(Wnd, X0 + (X1 - X0) * Step / 4, Y);
  Button(false);
}

struct TShown {
  TFormPtr Form{TForm::CreateNew<TForm>(nullptr)};
  TShown() {
    Form->SetBounds(80, 80, 360, 160);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    vcltest::PumpRounds(3);
  }
  template <class T> T* Add() {
    T* C = TComponent::Create<T>(Form.get());
    C->SetParent(Form.get());
    return C;
  }
};

TEST(HeaderControl, PublishedDefaultsMatchFreshControls) {
  ExpectClassDefaultsMatch(THeaderControl::StaticClass());
  ExpectClassDefaultsMatch(THeader::StaticClass());
}

TEST(HeaderControl, SectionsAreTheWindowsItemsAndTakeADraggedWidth) {
  TShown S;
  auto* H = S.Add<THeaderControl>();
  for (int W : {60, 80, 40}) {
    THeaderSection* Sec = H->Sections()->Add();
    Sec->SetText("Col");
    Sec->SetWidth(W);
  }
  EXPECT_EQ(ItemRights(H->Handle()), (std::vector<int>{60, 140, 180}));
  EXPECT_EQ(H->Sections()->Items(1)->Left(), 60);
  EXPECT_EQ(H->Sections()->Items(1)->Right(), 140);
  H->Sections()->Items(0)->SetWidth(70);
  EXPECT_EQ(ItemRights(H->Handle()), (std::vector<int>{70, 150, 190}));
  vcltest::PumpRounds(3);
  Drag(H->Handle(), 150, 180, 10);
  EXPECT_EQ(H->Sections()->Items(1)->Width(), 110);
  EXPECT_EQ(H->Sections()->Items(2)->Right(), 220);
  // A window made again shows the sections as they are.
  H->RecreateWnd();
  EXPECT_EQ(ItemRights(H->Handle()), (std::vector<int>{70, 180, 220}));
}

TEST(Header, LinesAreSectionsWithWidthsOfTheirOwn) {
  TShown S;
  auto* H = S.Add<THeader>();
  H->Sections()->Add("Hex TagID");
  H->Sections()->Add("EPC Tag ID");
  EXPECT_EQ(H->SectionWidth(1), 50);
  H->SetSectionWidth(0, 90);
  EXPECT_EQ(ItemRights(H->Handle()), (std::vector<int>{90, 140}));
  EXPECT_THROW(H->SetSectionWidth(2, 10), EListError);
  vcltest::PumpRounds(3);
  Drag(H->Handle(), 90, 60, 10);
  EXPECT_EQ(H->SectionWidth(0), 60);
  EXPECT_EQ(ItemRights(H->Handle()), (std::vector<int>{60, 110}));
}

}  // namespace
