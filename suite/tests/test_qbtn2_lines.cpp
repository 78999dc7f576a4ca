// The hair line and the arrow head: their pixels, transparency, and the arrow head's hit area
// under real clicks.
#include "rtl/tests/default_check.h"
#include "suite/qAnimate.h"
#include "suite/qBtn2.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

#include <string>

using namespace suitetest;

namespace {

constexpr TColor Ink = clBlue, Back = clWhite;

// The control painted over a checker pattern of red and yellow 1-pixel squares.
TPicture24 RenderOverPattern(TControl* C) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(C->Width(), C->Height());
  for (int Y = 0; Y < C->Height(); ++Y)
    for (int X = 0; X < C->Width(); ++X) B.Canvas()->SetPixels(X, Y, (X + Y) % 2 ? clRed : clYellow);
  C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(B.Canvas()->Handle()), 0);
  return PictureOf(B);
}

TColor Pattern(int X, int Y) { return (X + Y) % 2 ? clRed : clYellow; }

TEST(HairLine, PublishedDefaultsMatchFreshControls) {
  ExpectClassDefaultsMatch(TqcHairLine::StaticClass());
  ExpectClassDefaultsMatch(TqcArrowHead::StaticClass());
  TqcHairLine* L = TComponent::Create<TqcHairLine>(nullptr);
  EXPECT_EQ(L->ControlStyle(), TControlStyle());
  EXPECT_EQ(L->Width(), 40);
  TObject::Free(L);
}

TEST(HairLine, LinesByStartDiagonalVerticalAndSize) {
  struct TCase {
    const char* Name;
    TqcLineStart Start;
    bool Diagonal, Vertical;
    int W, H;
    unsigned Size;
    // Points that must be ink and points that must not.
    std::vector<TPoint> On, Off;
  } Cases[] = {
      {"top diagonal", qlsTop, true, false, 20, 20, 1, {{0, 0}, {7, 7}, {19, 19}}, {{19, 0}, {0, 19}, {7, 9}}},
      {"bottom diagonal", qlsBottom, true, false, 20, 20, 1, {{0, 19}, {10, 9}, {19, 0}}, {{0, 0}, {19, 19}}},
      {"diagonal wins over vertical", qlsTop, true, true, 20, 20, 1, {{0, 0}, {19, 19}}, {{0, 10}}},
      {"top vertical", qlsTop, false, true, 20, 20, 1, {{0, 0}, {0, 10}, {0, 18}}, {{1, 10}, {19, 10}}},
      {"bottom vertical", qlsBottom, false, true, 20, 20, 1, {{19, 0}, {19, 10}, {19, 18}}, {{0, 10}, {18, 10}}},
      {"top horizontal", qlsTop, false, false, 20, 20, 1, {{0, 0}, {10, 0}, {18, 0}}, {{10, 1}, {10, 19}}},
      {"bottom horizontal", qlsBottom, false, false, 20, 20, 1, {{0, 19}, {10, 19}, {18, 19}}, {{10, 0}, {10, 18}}},
      {"one row high", qlsTop, false, false, 20, 1, 1, {{0, 0}, {10, 0}, {18, 0}}, {}},
      {"one row high, from the bottom", qlsBottom, false, false, 20, 1, 1, {{0, 0}, {18, 0}}, {}},
      {"thick diagonal into the corners", qlsTop, true, false, 20, 20, 3,
       {{0, 0}, {1, 0}, {0, 1}, {19, 19}, {18, 19}, {19, 18}, {10, 10}, {11, 10}}, {{19, 0}, {0, 19}, {14, 5}}},
      {"thick bottom diagonal", qlsBottom, true, false, 20, 20, 3, {{0, 19}, {19, 0}, {10, 9}}, {{0, 0}, {19, 19}}},
  };
  vcltest::TTestHost Host(100, 80);
  auto* L = Host.Add<TqcHairLine>(0, 0, 20, 20);
  L->SetLineColor(Ink);
  L->SetTransparent(false);
  L->SetColor(Back);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    L->SetLineStart(C.Start);
    L->SetDiagonal(C.Diagonal);
    L->SetVertical(C.Vertical);
    L->SetSize(C.Size);
    L->SetBounds(0, 0, C.W, C.H);
    const TPicture24 P = Render(L, clRed);
    for (TPoint Pt : C.On) EXPECT_EQ(Hex(P.At(Pt.X, Pt.Y)), Hex(Ink)) << Pt.X << "," << Pt.Y;
    for (TPoint Pt : C.Off) EXPECT_EQ(Hex(P.At(Pt.X, Pt.Y)), Hex(Back)) << Pt.X << "," << Pt.Y;
    // A diagonal line leaves no row without ink.
    if (C.Diagonal) {
      for (int Y = 0; Y < C.H; ++Y) EXPECT_GT(InkOf(P, Ink, Y, Y + 1).Count, 0) << "row " << Y;
    }
  }
}

TEST(HairLine, TransparentLineShowsWhatLiesBeneath) {
  vcltest::TTestHost Host(100, 80);
  auto* L = Host.Add<TqcHairLine>(0, 0, 12, 12);
  L->SetLineColor(Ink);
  const TPicture24 P = RenderOverPattern(L);
  int Misses = 0;
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X) Misses += P.At(X, Y) != (X == Y ? Ink : Pattern(X, Y));
  EXPECT_EQ(Misses, 0);
  L->SetTransparent(false);
  EXPECT_TRUE(L->ControlStyle() & StyleOf(csOpaque));
}

TEST(ArrowHead, DirectionsAndStyles) {
  // A 21 by 21 head: a point inside the triangle, one in the empty part, the tip (or the
  // right-angle corner), and the middle of the side between the other two corners.
  struct TDir {
    TqcArrowDirection Direction;
    TPoint Inside, Outside, Apex, Closing;
  } Dirs[] = {
      {qadN, {10, 14}, {2, 2}, {10, 0}, {10, 20}},   {qadE, {6, 10}, {18, 2}, {20, 10}, {0, 10}},
      {qadS, {10, 6}, {2, 18}, {10, 20}, {10, 0}},   {qadW, {14, 10}, {2, 2}, {0, 10}, {20, 10}},
      {qadNE, {15, 5}, {5, 15}, {20, 0}, {10, 10}},  {qadSE, {15, 15}, {5, 5}, {20, 20}, {10, 10}},
      {qadSW, {5, 15}, {15, 5}, {0, 20}, {10, 10}},  {qadNW, {5, 5}, {15, 15}, {0, 0}, {10, 10}},
  };
  vcltest::TTestHost Host(100, 80);
  auto* A = Host.Add<TqcArrowHead>(0, 0, 21, 21);
  A->SetArrowColor(Ink);
  A->SetTransparent(false);
  A->SetColor(Back);
  for (const TDir& D : Dirs)
    for (TqcArrowStyle Style : {qasClosed, qasOpen, qasLine}) {
      SCOPED_TRACE(testing::Message() << TqcArrowDirectionType.ValueToName(D.Direction) << " "
                                      << TqcArrowStyleType.ValueToName(Style));
      A->SetDirection(D.Direction);
      A->SetStyle(Style);
      const TPicture24 P = Render(A, clRed);
      auto At = [&](TPoint Pt) { return Hex(P.At(Pt.X, Pt.Y)); };
      EXPECT_EQ(At(D.Inside), Hex(Style == qasClosed ? Ink : Back));
      EXPECT_EQ(At(D.Outside), Hex(Back));
      EXPECT_EQ(At(D.Apex), Hex(Ink));
      EXPECT_EQ(At(D.Closing), Hex(Style == qasLine ? Back : Ink));
      // The hit area is the triangle.
      auto Hit = [&](TPoint Pt) { return A->Perform(CM_HITTEST, 0, PointToLParam(Pt)) != 0; };
      EXPECT_TRUE(Hit(D.Inside));
      EXPECT_FALSE(Hit(D.Outside));
    }
}

TEST(ArrowHead, TransparentHeadOverAPattern) {
  vcltest::TTestHost Host(100, 80);
  auto* A = Host.Add<TqcArrowHead>(0, 0, 21, 21);
  A->SetArrowColor(Ink);
  A->SetDirection(qadNW);
  const TPicture24 P = RenderOverPattern(A);
  EXPECT_EQ(Hex(P.At(5, 5)), Hex(Ink));
  for (TPoint Pt : {TPoint(15, 15), TPoint(20, 20), TPoint(14, 19)})
    EXPECT_EQ(Hex(P.At(Pt.X, Pt.Y)), Hex(Pattern(Pt.X, Pt.Y))) << Pt.X << "," << Pt.Y;
}

// Presses of the left button on a control.
struct TClicks : TObject {
  int Count = 0;
  void Press(TObject*, TMouseButton, TShiftState, int, int) { ++Count; }
};

// A real click in the empty half of a head goes to the control beneath; the hit area follows a
// new direction at once.
TEST(ArrowHead, ClickInTheEmptyHalfReachesTheControlBeneath) {
  TFormScene S(200, 140);
  TClicks Lower, Head;
  auto* Beneath = S.Add<TqFrame>(10, 10, 120, 100);
  Beneath->SetPassMouseOn(false);
  Beneath->OnMouseDown = EVENT(&Lower, TClicks::Press);
  auto* A = S.Add<TqcArrowHead>(30, 20, 60, 60);
  A->SetDirection(qadNE);
  A->OnMouseDown = EVENT(&Head, TClicks::Press);
  S.Show();
  auto ClickAt = [&](int X, int Y) {
    vcltest::MoveMouse(S.Form->Handle(), 30 + X, 20 + Y);
    MouseButton(true);
    MouseButton(false);
  };
  ClickAt(10, 45);  // below the diagonal of a north-east head: empty
  EXPECT_EQ(Lower.Count, 1);
  EXPECT_EQ(Head.Count, 0);
  ClickAt(45, 10);
  EXPECT_EQ(Head.Count, 1);
  A->SetDirection(qadSW);
  ClickAt(10, 45);
  EXPECT_EQ(Head.Count, 2);
  EXPECT_EQ(Lower.Count, 1);
}

// A head of any size is written and read back with it; a new one writes no size.
TEST(ArrowHead, SizeRoundTripsThroughAFormResource) {
  TFormPtr Form(LoadForm("object Form1: TForm\n"
                         "  object Big: TqcArrowHead\n    Width = 40\n    Height = 40\n  end\n"
                         "  object Small: TqcArrowHead\n  end\n"
                         "end\n"));
  auto* Big = dynamic_cast<TqcArrowHead*>(Form->FindComponent("Big"));
  auto* Small = dynamic_cast<TqcArrowHead*>(Form->FindComponent("Small"));
  ASSERT_TRUE(Big && Small);
  EXPECT_EQ(Big->Width(), 40);
  EXPECT_EQ(Big->Height(), 40);
  EXPECT_EQ(Small->Width(), 20);
  TMemoryStream Bin, Text;
  WriteComponentRes(&Bin, Form.get());
  Bin.SetPosition(0);
  ObjectBinaryToText(&Bin, &Text);
  const std::string Written(static_cast<const char*>(Text.Memory()), size_t(Text.Size()));
  TFormPtr Again(LoadForm(Written.c_str()));
  auto* Big2 = dynamic_cast<TqcArrowHead*>(Again->FindComponent("Big"));
  auto* Small2 = dynamic_cast<TqcArrowHead*>(Again->FindComponent("Small"));
  ASSERT_TRUE(Big2 && Small2);
  EXPECT_EQ(Big2->Width(), 40);
  EXPECT_EQ(Big2->Height(), 40);
  EXPECT_EQ(Small2->Width(), 20);
  EXPECT_EQ(Small2->Height(), 20);
  // The hit area is the 40 by 40 triangle.
  EXPECT_NE(Big2->Perform(CM_HITTEST, 0, PointToLParam(Point(5, 30))), 0);
}

}  // namespace
