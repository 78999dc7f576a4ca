// Skinned buttons: each state's glyph, offset, caption rectangle and region, with the fallbacks
// to the plain state; the check box's cycle and the radio groups under real clicks, focus states
// by a real Tab, and no painting once settled.
#include "suite/Std2FancyBtn.h"
#include "suite/tests/suitetest.h"
#include "vcl/GdiGuards.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

using namespace suitetest;

namespace {

constexpr TColor Face = 0x808000;
constexpr TColor Clear = clFuchsia;  // TransparentColor

// A W x H glyph of one colour with its top-left pixel transparent.
std::unique_ptr<TBitmap> Glyph(TColor C, int W = 12, int H = 10) {
  auto B = vcltest::MakeBitmap(W, H, C);
  B->Canvas()->SetPixels(0, 0, Clear);
  return B;
}

// A region of the rectangle (L, T)-(R, B).
void SetRect(TqcRgn* Rgn, int L, int T, int R, int B) {
  auto Mask = vcltest::MakeBitmap(R + 2, B + 2, clWhite);
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(L, T, R, B));
  Rgn->SerRgnFromBmp(Mask.get(), clWhite);
}

TRect WindowBox(HWND Wnd) {
  TRgnOwner R(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(Wnd, R) == ERROR) return TRect();
  RECT Box{};
  GetRgnBox(R, &Box);
  return Rect(Box.left, Box.top, Box.right, Box.bottom);
}

struct TLog : TObject {
  int Clicks = 0, Paints = 0;
  void Click(TObject*) { ++Clicks; }
  void Paint(TObject*) { ++Paints; }
};

template <int S> void Skin(TqcFancyCustomBtn* B, TColor C, int OX, int OY, const TRect& Text) {
  auto G = Glyph(C);
  B->SetGlyphOf<S>(G.get());
  B->OffsetOf<S>()->SetLeft(OX);
  B->OffsetOf<S>()->SetTop(OY);
  B->TextSizeOf<S>()->SetLeft(Text.Left);
  B->TextSizeOf<S>()->SetTop(Text.Top);
  B->TextSizeOf<S>()->SetWidth(Text.Width());
  B->TextSizeOf<S>()->SetHeight(Text.Height());
}

TEST(FancyCheckBox, EveryStateShowsItsGlyphCaptionAndRegionOrThePlainOnes) {
  TFormScene S;
  auto* Other = S.Add<TEdit>(300, 10, 80, 21);
  auto* B = S.Add<TqcFancyCheckBox>(10, 10, 120, 60);
  B->SetColor(Face);
  B->SetTransparentColor(Clear);
  B->SetCaption("Ab");
  B->Font()->SetColor(clBlack);
  B->SetAllowGrayed(true);
  Skin<skPlain>(B, clRed, 2, 2, Rect(40, 0, 80, 30));
  Skin<skChecked>(B, clLime, 4, 4, Rect(40, 20, 80, 50));
  Skin<skFocusedChecked>(B, clBlue, 6, 20, Rect(0, 30, 40, 60));
  Skin<skDisabled>(B, clMaroon, 8, 8, Rect(60, 0, 110, 30));
  Skin<skGrayed>(B, clYellow, 10, 30, Rect(40, 30, 100, 60));
  // No focused glyphs: the plain glyph, at the focused states' own offsets.
  B->OffsetOf<skFocused>()->SetLeft(30);
  B->OffsetOf<skFocused>()->SetTop(12);
  B->OffsetOf<skFocusedGrayed>()->SetLeft(20);
  B->OffsetOf<skFocusedGrayed>()->SetTop(40);
  SetRect(B->RgnOf<skPlain>(), 0, 0, 120, 60);
  SetRect(B->RgnOf<skChecked>(), 0, 0, 110, 60);
  B->Loaded();
  S.Show();

  struct TCase {
    const char* Name;
    TCheckBoxState State;
    bool Focused, Enabled;
    TColor Glyph;
    TPoint Offset;
    TRect Text;
    int RegionRight;  // the region's box (0, 0, RegionRight, 60)
  };
  const TCase Cases[] = {
      {"plain", cbUnchecked, false, true, clRed, {2, 2}, Rect(40, 0, 80, 30), 120},
      {"checked", cbChecked, false, true, clLime, {4, 4}, Rect(40, 20, 80, 50), 110},
      {"focused: the plain glyph", cbUnchecked, true, true, clRed, {30, 12}, Rect(0, 0, 89, 33), 120},
      {"focused checked", cbChecked, true, true, clBlue, {6, 20}, Rect(0, 30, 40, 60), 120},
      {"grayed", cbGrayed, false, true, clYellow, {10, 30}, Rect(40, 30, 100, 60), 120},
      {"focused grayed: the plain glyph", cbGrayed, true, true, clRed, {20, 40}, Rect(0, 0, 89, 33), 120},
      {"disabled", cbChecked, false, false, clMaroon, {8, 8}, Rect(60, 0, 110, 30), 120},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    B->SetState(C.State);
    B->SetEnabled(C.Enabled);
    TWinControl* Focus = C.Focused ? static_cast<TWinControl*>(B) : Other;
    Focus->SetFocus();
    ASSERT_TRUE(AppPumpUntil([&] { return Focus->Focused(); }));
    AppPumpRounds(3);
    const TPicture24 P = Render(B);
    EXPECT_EQ(Hex(P.At(C.Offset.X + 5, C.Offset.Y + 5)), Hex(C.Glyph));
    EXPECT_EQ(Hex(P.At(C.Offset.X, C.Offset.Y)), Hex(Face)) << "the transparent pixel shows Color";
    const TPoint Beside(C.Offset.X + 13, C.Offset.Y + 5);
    if (!C.Text.Contains(Beside)) {
      EXPECT_EQ(Hex(P.At(Beside.X, Beside.Y)), Hex(Face)) << "only the glyph's own pixels";
    }
    // The caption: black enabled, grey (over white) disabled, inside the state's rectangle.
    const TInk Ink = InkOf(P, C.Enabled ? clBlack : TColor(0x808080));
    ASSERT_GT(Ink.Count, 0);
    EXPECT_GE(Ink.Left, C.Text.Left);
    EXPECT_LT(Ink.Right, C.Text.Right + 1);
    EXPECT_GE(Ink.Top, C.Text.Top);
    EXPECT_LT(Ink.Bottom, C.Text.Bottom + 1);
    EXPECT_EQ(WindowBox(B->Handle()), Rect(0, 0, C.RegionRight, 60));
    EXPECT_EQ(B->Width(), C.RegionRight);
  }
}

TEST(FancyCheckBox, WithoutGlyphsAPlainFaceAndAllowGrayedCyclesUnderRealClicks) {
  TFormScene S;
  TLog Log;
  auto* B = S.Add<TqcFancyCheckBox>(10, 10, 89, 33);
  B->SetColor(Face);
  B->SetCaption("Box");
  B->Font()->SetColor(clBlack);
  B->SetAllowGrayed(true);
  B->OnClick = EVENT(&Log, TLog::Click);
  B->Loaded();
  S.Show();
  const TPicture24 P = Render(B);
  EXPECT_EQ(Hex(P.At(2, 2)), Hex(Face));
  EXPECT_GT(InkOf(P, clBlack).Count, 0) << "the caption";
  EXPECT_EQ(WindowBox(B->Handle()), Rect(0, 0, 89, 33));
  EXPECT_TRUE(GetWindowLongPtrA(B->Handle(), GWL_STYLE) & WS_TABSTOP);

  const TCheckBoxState Cycle[] = {cbGrayed, cbChecked, cbUnchecked, cbGrayed};
  for (int I = 0; I < 4; ++I) {
    SCOPED_TRACE(I);
    // Alternate spots, so no two clicks in a row make a double click.
    vcltest::MoveMouse(B->Handle(), I % 2 ? 80 : 6, 16);
    MouseButton(true);
    MouseButton(false);
    ASSERT_TRUE(AppPumpUntil([&] { return B->State() == Cycle[I]; }));
  }
  EXPECT_EQ(Log.Clicks, 4);

  // Disabled: the window is disabled too and takes no click.
  B->SetEnabled(false);
  EXPECT_TRUE(GetWindowLongPtrA(B->Handle(), GWL_STYLE) & WS_DISABLED);
  vcltest::MoveMouse(B->Handle(), 40, 16);
  MouseButton(true);
  MouseButton(false);
  EXPECT_EQ(B->State(), cbGrayed);
}

TEST(FancyRadioButton, CheckingOneUnchecksItsGroupOnItsParentOnly) {
  TFormScene S;
  auto* A = S.Add<TqcFancyRadioButton>(10, 10, 89, 33);
  auto* B = S.Add<TqcFancyRadioButton>(10, 50, 89, 33);
  auto* Other = S.Add<TqcFancyRadioButton>(10, 90, 89, 33);
  Other->SetGroupIndex(1);
  auto* Panel = S.Add<TGroupBox>(150, 10, 200, 100);
  auto* Away = TComponent::Create<TqcFancyRadioButton>(S.Form.get());
  Away->SetBounds(10, 10, 89, 33);
  Away->SetParent(Panel);
  for (auto* R : {A, B, Other, Away}) R->Loaded();
  S.Show();
  A->SetChecked(true);
  Other->SetChecked(true);
  Away->SetChecked(true);
  EXPECT_TRUE(A->TabStop());
  vcltest::MoveMouse(B->Handle(), 30, 16);
  MouseButton(true);
  MouseButton(false);
  ASSERT_TRUE(AppPumpUntil([&] { return B->Checked(); }));
  EXPECT_FALSE(A->Checked());
  EXPECT_FALSE(A->TabStop());
  EXPECT_TRUE(Other->Checked()) << "another group";
  EXPECT_TRUE(Away->Checked()) << "another parent";

  // Without a parent there is no group to walk.
  TqcFancyRadioButton Lone(nullptr);
  Lone.SetChecked(true);
  EXPECT_TRUE(Lone.Checked());
}

TEST(FancyCheckBox, FocusStatesFollowARealTab) {
  TFormScene S;
  auto* First = S.Add<TqcFancyCheckBox>(10, 10, 89, 33);
  auto* Second = S.Add<TqcFancyCheckBox>(10, 60, 89, 33);
  for (auto* B : {First, Second}) {
    B->SetColor(Face);
    B->SetTransparentColor(Clear);
    Skin<skPlain>(B, clRed, 2, 2, Rect(0, 0, 89, 33));
    Skin<skFocused>(B, clBlue, 2, 2, Rect(0, 0, 89, 33));
    B->Loaded();
  }
  S.Show();
  First->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return First->Focused(); }));
  EXPECT_EQ(Hex(vcltest::PixelAt(First->Handle(), 7, 7)), Hex(clBlue));
  EXPECT_EQ(Hex(vcltest::PixelAt(Second->Handle(), 7, 7)), Hex(clRed));
  TapKey(VK_TAB);
  ASSERT_TRUE(AppPumpUntil([&] { return Second->Focused(); }));
  EXPECT_EQ(Hex(vcltest::PixelAt(First->Handle(), 7, 7)), Hex(clRed));
  EXPECT_EQ(Hex(vcltest::PixelAt(Second->Handle(), 7, 7)), Hex(clBlue));
}

TEST(FancyButton, StatesHoverKeysAndASmallerRegionWithoutARepaintLoop) {
  TFormScene S;
  TLog Log;
  auto* Edit = S.Add<TEdit>(300, 10, 80, 21);
  auto* B = S.Add<TqcFancyButton>(10, 10, 89, 33);
  B->SetColor(Face);
  B->SetTransparentColor(Clear);
  B->OnClick = EVENT(&Log, TLog::Click);
  B->OnPaint = EVENT(&Log, TLog::Paint);
  auto G = Glyph(clRed), D = Glyph(clLime), F = Glyph(clBlue);
  B->SetGlyphOf<psUp>(G.get());
  B->SetGlyphOf<psDown>(D.get());
  B->SetGlyphOf<psFocused>(F.get());
  // Up is a 60 x 30 rectangle: the button shrinks to it.
  SetRect(B->RgnOf<psUp>(), 0, 0, 60, 30);
  B->Loaded();
  S.Show();
  Edit->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Edit->Focused(); }));
  AppPumpRounds(5);
  EXPECT_EQ(B->Width(), 60);
  EXPECT_EQ(B->Height(), 30);
  EXPECT_EQ(Hex(vcltest::PixelAt(B->Handle(), 5, 5)), Hex(clRed)) << "up";
  Log.Paints = 0;
  AppPumpRounds(30);
  EXPECT_EQ(Log.Paints, 0) << "settled";

  vcltest::MoveMouse(B->Handle(), 20, 15);
  ASSERT_TRUE(AppPumpUntil([&] { return B->Hover(); }));
  MouseButton(true);
  EXPECT_TRUE(B->Down());
  EXPECT_EQ(Hex(vcltest::PixelAt(B->Handle(), 5, 5)), Hex(clLime)) << "down";
  MouseButton(false);
  EXPECT_EQ(Log.Clicks, 1);
  EXPECT_EQ(Hex(vcltest::PixelAt(B->Handle(), 5, 5)), Hex(clBlue)) << "focused";

  SendKey(VK_SPACE, false);
  ASSERT_TRUE(AppPumpUntil([&] { return B->Down(); }));
  SendKey(VK_SPACE, true);
  ASSERT_TRUE(AppPumpUntil([&] { return Log.Clicks == 2; }));
  S.Away();
  ASSERT_TRUE(AppPumpUntil([&] { return !B->Hover(); }));
}

}  // namespace
