// The framed memo, list box and combo box: the frame on their window DCs, the memo's scroll-bar
// corner, the combo box's activity through its inner edit and its flat drop-down button.
#include "suite/qEdit.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

using namespace suitetest;

namespace {

constexpr TColor BoxColor = 0x00A05010;
constexpr TColor FrameCol = 0x000000FF;

// A shown form whose framed controls take the test's colours.
struct TListScene : TFormScene {
  TListScene() { Show(); }
  template <class T> T* Add(int L, int T0, int W, int H) {
    T* C = TFormScene::Add<T>(L, T0, W, H);
    C->SetColor(BoxColor);
    C->SetFrameColor(FrameCol);
    C->HandleNeeded();
    return C;
  }
};

TColor Outer(TWinControl* C, int X, int Y) {
  RECT R;
  GetWindowRect(C->Handle(), &R);
  if (X < 0) X += R.right - R.left;
  if (Y < 0) Y += R.bottom - R.top;
  return WindowPixel(C->Handle(), X, Y);
}

TEST(QEditLists, PublishedDefaultsMatchFreshControls) {
  for (TClass C : {TqcMemo::StaticClass(), TqcListBox::StaticClass(), TqcComboBox::StaticClass()})
    ExpectClassDefaultsMatch(C);
}

// Every one of them takes the framed edit's frame, inside its window.
template <class T> void CheckFrames(TListScene& S, T* C) {
  const HWND Wnd = C->Handle();
  C->SetFrameStyle(qcetNormal);
  RedrawAll(Wnd);
  EXPECT_EQ(Hex(Outer(C, 0, 0)), Hex(Sys(COLOR_BTNSHADOW))) << "sunken";
  EXPECT_EQ(Hex(Outer(C, 1, 1)), Hex(clBlack));
  EXPECT_EQ(Hex(Outer(C, -1, -1)), Hex(Sys(COLOR_BTNHIGHLIGHT)));
  C->SetFrameStyle(qcetAlwaysFlatFocusFrame);
  RedrawAll(Wnd);
  EXPECT_EQ(Hex(Outer(C, 0, 0)), Hex(FrameCol));
  EXPECT_EQ(Hex(Outer(C, 1, 1)), Hex(BoxColor));
  C->SetFrameStyle(qcetFlat);
  C->Perform(CM_MOUSELEAVE);
  RedrawAll(Wnd);
  EXPECT_EQ(Hex(Outer(C, 0, 0)), Hex(BoxColor)) << "flat while inactive";
  C->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(C->MouseInside());
  EXPECT_EQ(Hex(Outer(C, 0, 0)), Hex(Sys(COLOR_BTNSHADOW))) << "sunken while the mouse is in";
  C->Perform(CM_MOUSELEAVE);
}

TEST(QEditLists, MemoListAndComboTakeTheFrame) {
  TListScene S;
  auto* M = S.Add<TqcMemo>(10, 10, 120, 80);
  auto* L = S.Add<TqcListBox>(140, 10, 120, 80);
  auto* C = S.Add<TqcComboBox>(270, 10, 120, 21);
  auto* Away = S.Add<TqcEdit>(10, 200, 100, 21);
  Away->SetFocus();
  AppPumpRounds(2);
  {
    SCOPED_TRACE("memo");
    CheckFrames(S, M);
  }
  {
    SCOPED_TRACE("list box");
    CheckFrames(S, L);
  }
  {
    SCOPED_TRACE("combo box");
    CheckFrames(S, C);
  }
  // The memo's and list box's clients lie 3 pixels inside their windows.
  for (TWinControl* W : {static_cast<TWinControl*>(M), static_cast<TWinControl*>(L)}) {
    RECT WR;
    GetWindowRect(W->Handle(), &WR);
    POINT Origin{0, 0};
    ClientToScreen(W->Handle(), &Origin);
    EXPECT_EQ(Origin.x - WR.left, 3);
    EXPECT_EQ(Origin.y - WR.top, 3);
  }
}

TEST(QEditLists, MemoCornerBetweenScrollBarsTakesItsColour) {
  TListScene S;
  auto* M = S.Add<TqcMemo>(10, 10, 160, 100);
  M->SetScrollBars(ssBoth);
  M->SetFrameStyle(qcetNormal);
  RedrawAll(M->Handle());
  const int SX = GetSystemMetrics(SM_CXVSCROLL), SY = GetSystemMetrics(SM_CYHSCROLL);
  // Inside the square where the bars meet, clear of the frame's 3 pixels.
  EXPECT_EQ(Hex(Outer(M, -3 - SX / 2, -3 - SY / 2)), Hex(BoxColor)) << "not the dialog colour";
  EXPECT_EQ(Hex(Outer(M, -5, -5)), Hex(BoxColor));
  // Without both bars there is no square: the horizontal bar runs to the edge.
  M->SetScrollBars(ssHorizontal);
  RedrawAll(M->Handle());
  EXPECT_NE(Hex(Outer(M, -3 - SX / 2, -3 - SY / 2)), Hex(BoxColor));
}

TEST(QEditLists, ComboIsActiveWhileTheCaretIsInItsEdit) {
  TListScene S;
  auto* C = S.Add<TqcComboBox>(10, 10, 150, 21);
  auto* Away = S.Add<TqcEdit>(10, 200, 100, 21);
  vcltest::MoveMouse(S.Form->Handle(), 300, 230);
  Away->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Away->Focused(); }));
  RedrawAll(C->Handle());
  EXPECT_EQ(Hex(Outer(C, 0, 0)), Hex(BoxColor)) << "flat: neither focus nor mouse";

  ASSERT_NE(C->EditHandle(), nullptr);
  SetFocus(C->EditHandle());
  ASSERT_TRUE(AppPumpUntil([&] { return GetFocus() == C->EditHandle(); }));
  EXPECT_FALSE(C->MouseInside());
  EXPECT_EQ(Hex(Outer(C, 0, 0)), Hex(Sys(COLOR_BTNSHADOW))) << "sunken with the caret in the edit";
  EXPECT_EQ(S.Form->FocusedControl(), C);

  Away->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Away->Focused(); }));
  EXPECT_EQ(Hex(Outer(C, 0, 0)), Hex(BoxColor));
}

TEST(QEditLists, FlatButtonDropsTheListAndFollowsTheStyle) {
  TListScene S;
  auto* C = S.Add<TqcComboBox>(10, 10, 150, 21);
  C->Items()->Add("GTIN96");
  C->Items()->Add("GTIN64");
  TqNWBitColBtn* B = C->Button();
  EXPECT_EQ(B->Width(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(B->Left(), C->Width() - B->Width() - 2);
  EXPECT_EQ(B->Top(), 2);
  EXPECT_EQ(B->Height(), C->Height() - 4);
  EXPECT_FALSE(B->Glyph()->Empty()) << "the system's combo arrow";
  EXPECT_TRUE(B->Flat());
  // The arrow in black on the button's face, over the system's own button.
  auto Shot = vcltest::CaptureClient(C->Handle());
  int Arrow = 0, Face = 0;
  for (int Y = B->Top(); Y < B->Top() + B->Height(); ++Y)
    for (int X = B->Left(); X < B->Left() + B->Width(); ++X) {
      const TColor P = Shot->Canvas()->Pixels(X, Y);
      Arrow += P == clBlack;
      Face += P == Sys(COLOR_BTNFACE);
    }
  EXPECT_GT(Arrow, 8);
  EXPECT_GT(Face, B->Width() * B->Height() / 2);

  // A real click on the button drops the list.
  vcltest::MoveMouse(C->Handle(), B->Left() + B->Width() / 2, B->Top() + B->Height() / 2);
  MouseButton(true);
  MouseButton(false);
  ASSERT_TRUE(AppPumpUntil([&] { return SendMessageA(C->Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }));
  C->SetDroppedDown(false);
  AppPumpRounds(2);

  // The simple style has no drop-down: the button goes out of sight above the control.
  C->SetStyle(csSimple);
  EXPECT_EQ(B->Top(), -2 * B->Height());
  EXPECT_LT(B->Top() + B->Height(), 0);
  C->SetStyle(csDropDown);
  EXPECT_EQ(B->Top(), 2);
  EXPECT_EQ(B->Height(), C->Height() - 4);
}

TEST(QEditLists, ComboHeightFollowsTheFontUnlessOwnerDrawn) {
  TListScene S;
  auto* C = S.Add<TqcComboBox>(10, 10, 150, 21);
  C->Font()->SetHeight(-20);
  EXPECT_EQ(C->Height(), FontTextHeight(C->Font()) + 8);
  EXPECT_EQ(C->Button()->Height(), C->Height() - 4);
  // Owner-drawn, the height stays the one the system gives a plain owner-drawn combo box with the
  // same font.
  C->SetStyle(csOwnerDrawFixed);
  TComboBox* Plain = TComponent::Create<TComboBox>(S.Form.get());
  Plain->SetBounds(200, 10, 150, 21);
  Plain->SetParent(S.Form.get());
  Plain->SetStyle(csOwnerDrawFixed);
  for (TWinControl* W : {static_cast<TWinControl*>(C), static_cast<TWinControl*>(Plain)}) W->HandleNeeded();
  for (TFont* F : {C->Font(), Plain->Font()}) {
    F->SetName("Courier New");
    F->SetHeight(-30);
  }
  EXPECT_EQ(C->Height(), Plain->Height()) << "no height of its own";
  EXPECT_EQ(C->Button()->Height(), C->Height() - 4) << "the button still follows";
}

}  // namespace
