// The flat check boxes and radio buttons: the eleven box styles, the marks against their masks,
// the grayed cycle and radio groups under real clicks and keys, and the disabled look and input.
#include "suite/qEdit.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace suitetest;

namespace {

constexpr TColor Back = 0x00F0E0D0;     // GlyphBkColor
constexpr TColor Mark = 0x00000080;     // GlyphColor
constexpr TColor FrameC = 0x000000FF;   // FrameColor
constexpr TColor ShadowC = 0x00008000;  // ShadowColor
constexpr TColor NonShadowC = 0x00800080;

struct TClicks : TObject {
  int N = 0;
  void Click(TObject*) { ++N; }
};

template <class T> T* AddBox(TFormScene& S, int L, int T0, int W = 120, int H = 20) {
  T* B = S.Add<T>(L, T0, W, H);
  B->SetGlyphBkColor(Back);
  B->SetGlyphColor(Mark);
  B->SetFrameColor(FrameC);
  B->SetShadowColor(ShadowC);
  B->Font()->SetColor(clBlack);
  return B;
}

TColor At(TWinControl* C, int X, int Y) { return vcltest::PixelAt(C->Handle(), X, Y); }

// Shows the scene with the focus in an edit of its own, away from the boxes.
void ShowUnfocused(TFormScene& S) {
  auto* Edit = S.Add<TqcEdit>(300, 200, 100, 21);
  S.Show();
  Edit->SetFocus();
  AppPumpUntil([&] { return Edit->Focused(); });
}

TEST(FlatBoxes, PublishedDefaultsMatchFreshBoxes) {
  ExpectClassDefaultsMatch(TqcCheckBox::StaticClass());
  ExpectClassDefaultsMatch(TqcRadioButton::StaticClass());
  EXPECT_EQ(TqcRasterBitmap->Width(), 12);
  EXPECT_EQ(TqcRasterBitmap->Canvas()->Pixels(1, 0), clGray);
  EXPECT_EQ(TqcRasterBitmap->Canvas()->Pixels(0, 0), clWhite);
  EXPECT_EQ(TqcRasterBitmap->Canvas()->Pixels(1, 1), clWhite);
}

struct TSpot {
  int X, Y;
  TColor Expected;
};

// The 13 by 13 check box as its drawing lists it: GlyphBkColor; when grayed, the raster's
// top-left 10 by 10 over the box shrunk by 2, white transparent; when raised, the outer edge all
// round and the inner one right and bottom, nothing filled.
std::unique_ptr<TBitmap> DrawnBox(bool Grayed, bool Raised) {
  auto B = vcltest::MakeBitmap(13, 13, Back);
  TCanvas* C = B->Canvas();
  if (Grayed) {
    C->Brush()->SetColor(Back);
    C->BrushCopy(Rect(2, 2, 11, 11), TqcRasterBitmap, Rect(0, 0, 10, 10), clWhite);
  }
  if (Raised) {
    RECT R{0, 0, 13, 13};
    DrawEdge(C->Handle(), &R, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST);
    DrawEdge(C->Handle(), &R, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
  }
  return B;
}

// Every pixel of a 20-high check box's box, at (0, 3), against the drawing.
void ExpectBox(TWinControl* Box, bool Grayed, bool Raised) {
  const auto Want = DrawnBox(Grayed, Raised);
  const auto Shot = vcltest::CaptureClient(Box->Handle());
  int Wrong = 0;
  for (int Y = 0; Y < 13; ++Y)
    for (int X = 0; X < 13; ++X) {
      const TColor Got = Shot->Canvas()->Pixels(X, 3 + Y), W = Want->Canvas()->Pixels(X, Y);
      if (Got != W && ++Wrong <= 8) ADD_FAILURE() << "(" << X << ", " << Y << ") of the box: " << Hex(Got) << " for " << Hex(W);
    }
  EXPECT_EQ(Wrong, 0);
}

TEST(FlatBoxes, CheckBoxFrameStylesActiveAndNot) {
  TFormScene S;
  auto* B = AddBox<TqcCheckBox>(S, 20, 20);
  B->SetNonShadowColor(NonShadowC);
  ShowUnfocused(S);
  // The box: (0, 3) to (13, 16) of a 20-high control; spots relative to its corner.
  const TColor BS = Sys(COLOR_BTNSHADOW), BH = Sys(COLOR_BTNHIGHLIGHT), L3 = Sys(COLOR_3DLIGHT),
               DK = Sys(COLOR_3DDKSHADOW);
  struct TCase {
    TqcBtnType Style;
    bool Active;
    std::vector<TSpot> Spots;
  };
  const std::vector<TSpot> Plain = {{0, 0, Back}, {12, 12, Back}, {1, 1, Back}};
  const std::vector<TSpot> Sunken = {{0, 0, BS}, {12, 12, BH}, {1, 1, clBlack}, {11, 11, L3}, {6, 6, Back}};
  const std::vector<TSpot> Raised = {{0, 0, L3},  {12, 12, DK}, {11, 11, BS}, {11, 5, BS},
                                     {5, 11, BS}, {1, 5, Back}, {5, 1, Back}, {6, 6, Back}};
  const std::vector<TSpot> Focus = {{0, 0, FrameC}, {12, 12, FrameC}, {0, 12, FrameC}, {1, 1, Back}};
  const std::vector<TSpot> Thick = {{0, 0, FrameC}, {1, 1, FrameC}, {11, 11, FrameC}, {2, 2, Back}};
  const std::vector<TSpot> Shadow = {{12, 12, ShadowC}, {12, 3, ShadowC}, {1, 12, NonShadowC}, {0, 0, Back}};
  const std::vector<TSpot> NoShadow = {{12, 12, NonShadowC}, {1, 12, NonShadowC}, {0, 0, Back}};
  const TCase Cases[] = {
      {qcbtNormal, false, Sunken},          {qcbtNormal, true, Sunken},
      {qcbtFlat, false, Plain},             {qcbtFlat, true, Sunken},
      {qcbtAlwaysFlat, true, Plain},        {qcbtFlatFocusFrame, false, Plain},
      {qcbtFlatFocusFrame, true, Focus},    {qcbtAlwaysFlatFocusFrame, false, Focus},
      {qcbtFlatThickFrame, false, Plain},   {qcbtFlatThickFrame, true, Thick},
      {qcbtAlwaysFlatThickFrame, false, Thick}, {qcbtFlatRaised, false, Plain},
      {qcbtFlatRaised, true, Raised},       {qcbtAlwaysFlatRaised, false, Raised},
      {qcbtFlatShadow, false, NoShadow},    {qcbtFlatShadow, true, Shadow},
      {qcbtAlwaysFlatShadow, false, Shadow},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(TqcBtnTypeType.ValueToName(C.Style)) + (C.Active ? " active" : " inactive"));
    B->SetFrameStyle(C.Style);
    B->Perform(C.Active ? CM_MOUSEENTER : CM_MOUSELEAVE);
    EXPECT_EQ(B->MouseInside(), C.Active);
    for (const TSpot& P : C.Spots)
      EXPECT_EQ(Hex(At(B, P.X, 3 + P.Y)), Hex(P.Expected)) << "at (" << P.X << ", " << P.Y << ") of the box";
  }
}

TEST(FlatBoxes, RadioFrameStylesOnTheRing) {
  TFormScene S;
  auto* R = AddBox<TqcRadioButton>(S, 20, 20);
  ShowUnfocused(S);
  // The circle's box: (1, 5) to (13, 17); ring spots: value 3 at (4, 1), value 4 at (10, 2), value 1
  // at (1, 2) of the box; the disc's value 1 at (4, 0), value 2 at (4, 1).
  struct TCase {
    TqcBtnType Style;
    bool Active;
    std::vector<TSpot> Spots;
  };
  const TCase Cases[] = {
      {qcbtNormal, false, {{4, 1, clBlack}, {10, 2, clWhite}, {1, 2, clGray}, {6, 6, Back}}},
      {qcbtFlat, false, {{4, 1, Back}, {4, 0, Back}}},
      {qcbtFlat, true, {{4, 1, clBlack}, {10, 2, clWhite}}},
      {qcbtAlwaysFlatRaised, false, {{4, 1, 0xE0E0E0}, {10, 2, clBlack}, {1, 2, clWhite}}},
      {qcbtFlatRaised, false, {{4, 1, Back}}},
      {qcbtAlwaysFlatFocusFrame, false, {{4, 0, FrameC}, {4, 1, Back}}},
      {qcbtFlatThickFrame, true, {{4, 0, FrameC}, {4, 1, FrameC}, {6, 6, Back}}},
      {qcbtAlwaysFlat, true, {{4, 0, Back}, {4, 1, Back}, {10, 2, Back}}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(TqcBtnTypeType.ValueToName(C.Style)) + (C.Active ? " active" : " inactive"));
    R->SetFrameStyle(C.Style);
    R->Perform(C.Active ? CM_MOUSEENTER : CM_MOUSELEAVE);
    for (const TSpot& P : C.Spots)
      EXPECT_EQ(Hex(At(R, 1 + P.X, 5 + P.Y)), Hex(P.Expected)) << "at (" << P.X << ", " << P.Y << ") of the box";
  }
  // The shadow style draws its arcs in the shadow colour along the lower right.
  R->SetFrameStyle(qcbtAlwaysFlatShadow);
  auto Shot = vcltest::CaptureClient(R->Handle());
  int Shaded = 0;
  for (int Y = 5 + 6; Y < 5 + 14; ++Y)
    for (int X = 1 + 6; X < 1 + 14; ++X) Shaded += Shot->Canvas()->Pixels(X, Y) == ShadowC;
  EXPECT_GT(Shaded, 5);
}

// The pixels of a mark: '#' in the mark colour, '.' in the box colour, rows top to bottom.
std::vector<std::string> MarkAt(TWinControl* C, int X0, int Y0, int N) {
  auto Shot = vcltest::CaptureClient(C->Handle());
  std::vector<std::string> Rows;
  for (int Y = 0; Y < N; ++Y) {
    std::string Row;
    for (int X = 0; X < N; ++X) {
      const TColor P = Shot->Canvas()->Pixels(X0 + X, Y0 + Y);
      Row += P == Mark ? '#' : P == Back ? '.' : '?';
    }
    Rows.push_back(Row);
  }
  return Rows;
}

TEST(FlatBoxes, MarksFollowTheirMasks) {
  TFormScene S;
  auto* B = AddBox<TqcCheckBox>(S, 20, 20);
  auto* R = AddBox<TqcRadioButton>(S, 20, 60);
  B->SetFrameStyle(qcbtAlwaysFlat);
  R->SetFrameStyle(qcbtAlwaysFlat);
  ShowUnfocused(S);
  B->SetChecked(true);
  using TRows = std::vector<std::string>;
  // Check box marks: 7 by 7 at the box's corner + 3, the box at (0, 3).
  B->SetGlyphType(qcbgNormal);
  EXPECT_EQ(MarkAt(B, 3, 6, 7), (TRows{"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."}));
  B->SetGlyphType(qcbgType1);
  EXPECT_EQ(MarkAt(B, 3, 6, 7), (TRows{"##...##", ".##.##.", "..###..", "...#...", "..###..", ".##.##.", "##...##"}));
  B->SetGlyphType(qcbgType2);
  EXPECT_EQ(MarkAt(B, 3, 6, 7), (TRows{".....##", "....##.", "...##..", "..##...", ".##....", "##.....", "#......"}));
  // Radio dots: the circle's box at (1, 5).
  R->SetChecked(true);
  R->SetGlyphType(qcbgNormal);
  EXPECT_EQ(MarkAt(R, 1 + 4, 5 + 4, 4), (TRows{".##.", "####", "####", ".##."}));
  R->SetGlyphType(qcbgType1);
  EXPECT_EQ(MarkAt(R, 1 + 2, 5 + 2, 8),
            (TRows{"..####..", ".######.", "########", "########", "########", "########", ".######.", "..####.."}));
  R->SetGlyphType(qcbgType2);
  EXPECT_EQ(MarkAt(R, 1 + 3, 5 + 3, 6), (TRows{"#....#", ".#..#.", "..##..", "..##..", ".#..#.", "#....#"}));
  R->SetChecked(false);
  EXPECT_EQ(MarkAt(R, 1 + 3, 5 + 3, 6), (TRows{"......", "......", "......", "......", "......", "......"}));
}

TEST(FlatBoxes, RealClicksCycleThroughGrayed) {
  TFormScene S;
  TClicks Clicks;
  auto* B = AddBox<TqcCheckBox>(S, 20, 20);
  B->SetAllowGrayed(true);
  B->OnClick = EVENT(&Clicks, TClicks::Click);
  S.Show();
  const TCheckBoxState Cycle[] = {cbGrayed, cbChecked, cbUnchecked, cbGrayed};
  for (int I = 0; I < 4; ++I) {
    SCOPED_TRACE(I);
    // Alternate spots, so no two clicks in a row make a double click.
    vcltest::MoveMouse(B->Handle(), I % 2 ? 60 : 6, 10);
    MouseButton(true);
    MouseButton(false);
    ASSERT_TRUE(AppPumpUntil([&] { return B->State() == Cycle[I]; }));
    EXPECT_EQ(Clicks.N, I + 1);
  }
  // Grayed: the raster pattern over the box, no mark (no frame in this style, focused or not).
  B->SetFrameStyle(qcbtAlwaysFlat);
  ExpectBox(B, true, false);
}

TEST(FlatBoxes, TheWholeCheckBoxGrayedAndRaised) {
  TFormScene S;
  auto* B = AddBox<TqcCheckBox>(S, 20, 20);
  B->SetAllowGrayed(true);
  ShowUnfocused(S);
  S.Away();
  ASSERT_TRUE(AppPumpUntil([&] { return !B->MouseInside(); }));
  B->SetState(cbGrayed);
  ExpectBox(B, true, false);
  B->SetState(cbUnchecked);
  B->SetFrameStyle(qcbtAlwaysFlatRaised);
  ExpectBox(B, false, true);
  B->SetState(cbGrayed);
  ExpectBox(B, true, true);
}

TEST(FlatBoxes, RadioGroupsByParentAndGroupIndex) {
  TFormScene S;
  auto* Panel = S.Add<TGroupBox>(200, 10, 180, 100);
  auto* A = AddBox<TqcRadioButton>(S, 10, 10);
  auto* B = AddBox<TqcRadioButton>(S, 10, 40);
  auto* Other = AddBox<TqcRadioButton>(S, 10, 70);
  Other->SetGroupIndex(1);
  auto* Elsewhere = TComponent::Create<TqcRadioButton>(S.Form.get());
  Elsewhere->SetBounds(10, 20, 120, 20);
  Elsewhere->SetParent(Panel);
  TClicks Clicks;
  B->OnClick = EVENT(&Clicks, TClicks::Click);
  S.Show();
  A->SetChecked(true);
  Other->SetChecked(true);
  Elsewhere->SetChecked(true);
  EXPECT_TRUE(A->Checked());
  EXPECT_TRUE(A->TabStop());
  vcltest::MoveMouse(B->Handle(), 6, 10);
  MouseButton(true);
  MouseButton(false);
  ASSERT_TRUE(AppPumpUntil([&] { return B->Checked(); }));
  EXPECT_FALSE(A->Checked()) << "same parent, same group";
  EXPECT_FALSE(A->TabStop());
  EXPECT_TRUE(Other->Checked()) << "another group";
  EXPECT_TRUE(Elsewhere->Checked()) << "another parent";
  EXPECT_EQ(Clicks.N, 1);
  // Without a parent there is no group to walk.
  auto* Loose = TComponent::Create<TqcRadioButton>(nullptr);
  Loose->SetChecked(true);
  EXPECT_TRUE(Loose->Checked());
  TObject::Free(Loose);
}

TEST(FlatBoxes, TabbingOntoARadioButtonChecksIt) {
  TFormScene S;
  auto* Edit = S.Add<TqcEdit>(10, 10, 100, 21);
  auto* R = AddBox<TqcRadioButton>(S, 10, 50);
  R->SetTabStop(true);
  S.Show();
  Edit->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Edit->Focused(); }));
  EXPECT_FALSE(R->Checked());
  TapKey(VK_TAB);
  ASSERT_TRUE(AppPumpUntil([&] { return R->Focused(); }));
  EXPECT_TRUE(R->Checked());
}

struct TFormMouse : TObject {
  int Downs = 0;
  void Down(TObject*, TMouseButton, TShiftState, int, int) { ++Downs; }
};

TEST(FlatBoxes, DisabledBoxesLetClicksThroughAndLookEngraved) {
  TFormScene S;
  auto* B = AddBox<TqcCheckBox>(S, 20, 20);
  B->SetCaption("Tag type");
  B->SetChecked(true);
  B->SetEnabled(false);
  TFormMouse Beneath;
  S.Form->OnMouseDown = EVENT(&Beneath, TFormMouse::Down);
  S.Show();
  EXPECT_FALSE(IsWindowEnabled(B->Handle())) << "made disabled, the window takes no input";
  vcltest::MoveMouse(B->Handle(), 6, 10);
  MouseButton(true);
  MouseButton(false);
  EXPECT_EQ(Beneath.Downs, 1) << "the click lands on the form beneath";
  EXPECT_EQ(B->State(), cbChecked);
  // Engraved caption, grey mark on the face colour.
  auto Shot = vcltest::CaptureClient(B->Handle());
  int White = 0, Grey = 0, Black = 0;
  for (int Y = 2; Y < 18; ++Y)
    for (int X = 19; X < 118; ++X) {
      const TColor P = Shot->Canvas()->Pixels(X, Y);
      White += P == clWhite;
      Grey += P == clGray;
      Black += P == clBlack;
    }
  EXPECT_GT(White, 10);
  EXPECT_GT(Grey, 10);
  EXPECT_EQ(Black, 0);
  EXPECT_EQ(Hex(Shot->Canvas()->Pixels(3 + 6, 6)), Hex(clGray)) << "the mark";
  EXPECT_EQ(Hex(Shot->Canvas()->Pixels(3 + 1, 6)), Hex(Sys(COLOR_BTNFACE))) << "the box in the control's colour";
  // Enabled again, the box takes clicks.
  B->SetEnabled(true);
  vcltest::MoveMouse(B->Handle(), 60, 10);
  MouseButton(true);
  MouseButton(false);
  ASSERT_TRUE(AppPumpUntil([&] { return B->State() == cbUnchecked; }));
}

}  // namespace
