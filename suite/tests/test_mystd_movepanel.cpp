// The movable panel under real mouse drags: the outline on the screen, the final bounds,
// keeping inside a panel parent, sticking to an edge, and drags cut short.
#include "rtl/tests/default_check.h"
#include "suite/Mystd.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

#include <vector>

using namespace suitetest;

namespace {

// The screen's pixels along the top edge of a screen rectangle.
std::vector<TColor> TopEdge(const TRect& R) {
  HDC DC = GetDC(nullptr);
  std::vector<TColor> P;
  for (int X = R.Left; X < R.Left + 24; ++X) P.push_back(TColor(GetPixel(DC, X, R.Top)));
  ReleaseDC(nullptr, DC);
  return P;
}

struct TUpdates : TObject {
  int Count = 0;
  int NewW = 0, NewH = 0;  // 0: leave the size
  void Update(TObject*, int&, int&, int& W, int& H) {
    ++Count;
    if (NewW) W = NewW;
    if (NewH) H = NewH;
  }
};

struct TDragScene : TFormScene {
  TUpdates Updates;
  TqMovePanel* Panel;
  TDragScene() : TFormScene(400, 260) {
    Panel = Add<TqMovePanel>(50, 40, 80, 50);
    Panel->OnBeforeUpdate = EVENT(&Updates, TUpdates::Update);
  }
  // Presses on the panel at a client point of it.
  void Press(int X = 10, int Y = 10) {
    vcltest::MoveMouse(Panel->Handle(), X, Y);
    MouseButton(true);
  }
  // Moves the pressed mouse by (DX, DY) from the press point, in steps.
  void MoveBy(int DX, int DY, int X = 10, int Y = 10) {
    for (int Step = 1; Step <= 3; ++Step)
      vcltest::MoveMouse(Panel->Parent()->Handle(), Panel->Left() + X + DX * Step / 3, Panel->Top() + Y + DY * Step / 3);
    AppPumpRounds(2);
  }
};

TEST(MovePanel, PublishedDefaultsMatchFreshPanels) { ExpectClassDefaultsMatch(TqMovePanel::StaticClass()); }

TEST(MovePanel, DragShowsAnOutlineAndMovesThePanelOnRelease) {
  TDragScene S;
  S.Show();
  const TRect Start = S.Panel->BoundsRect();
  const TPoint Origin = S.Form->ClientToScreen(TPoint(0, 0));
  const TRect Target(Origin.X + 110, Origin.Y + 100, Origin.X + 190, Origin.Y + 150);
  const std::vector<TColor> Before = TopEdge(Target);
  S.Press();
  EXPECT_TRUE(S.Panel->Dragging());
  S.MoveBy(60, 60);
  EXPECT_EQ(S.Panel->Outline(), Target);
  EXPECT_NE(TopEdge(Target), Before) << "the outline shows where the panel will go";
  EXPECT_EQ(S.Panel->BoundsRect(), Start) << "the panel waits for the release";
  MouseButton(false);
  EXPECT_FALSE(S.Panel->Dragging());
  EXPECT_EQ(S.Panel->BoundsRect(), TRect(110, 100, 190, 150));
  EXPECT_EQ(S.Updates.Count, 1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(MovePanel, ReleaseWithoutMoveStillUpdatesAndSticks) {
  TDragScene S;
  S.Panel->SetStickWhere(stleft);
  EXPECT_EQ(S.Panel->Left(), 0);
  S.Panel->SetLeft(30);
  S.Show();
  S.Press();
  MouseButton(false);
  EXPECT_EQ(S.Updates.Count, 1);
  EXPECT_EQ(S.Panel->Left(), 0);
  EXPECT_EQ(S.Panel->Top(), 40);
}

TEST(MovePanel, KeptInsideAPanelParentButNotInsideAForm) {
  struct TCase {
    const char* Name;
    bool PanelParent;
    int DX, DY;
    TPoint Expected;  // final top-left in the parent
  } Cases[] = {
      {"past a panel's right and bottom", true, 200, 150, {200 - 40 - 1, 150 - 30 - 1}},
      {"past a panel's left and top", true, -100, -100, {0, 0}},
      {"partly past a form's right and bottom edges", false, 360, 230, {380, 250}},  // 400 by 260
      {"past a form's top", false, 0, -60, {20, 0}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TFormScene S(400, 260);
    TWinControl* Parent = S.Form.get();
    if (C.PanelParent) Parent = S.Add<TqMovePanel>(100, 60, 200, 150);
    auto* M = TComponent::Create<TqMovePanel>(S.Form.get());
    M->SetBounds(20, 20, 40, 30);
    M->SetParent(Parent);
    S.Show();
    vcltest::MoveMouse(M->Handle(), 5, 5);
    MouseButton(true);
    for (int Step = 1; Step <= 3; ++Step)
      vcltest::MoveMouse(Parent->Handle(), 25 + C.DX * Step / 3, 25 + C.DY * Step / 3);
    MouseButton(false);
    EXPECT_EQ(M->Left(), C.Expected.X);
    EXPECT_EQ(M->Top(), C.Expected.Y);
  }
}

TEST(MovePanel, StickWhereInBothStyles) {
  struct TCase {
    TqStickType Where;
    bool OldStyle;
    TAlign Align;
    TRect Bounds;  // on a 300 by 200 form, from (50, 40) 80 by 50
  } Cases[] = {
      {stNone, true, alNone, {50, 40, 130, 90}},     {stleft, true, alNone, {0, 40, 80, 90}},
      {stTop, true, alNone, {50, 0, 130, 50}},       {stRight, true, alNone, {220, 40, 300, 90}},
      {stBottom, true, alNone, {50, 150, 130, 200}}, {stBoth, true, alNone, {0, 0, 80, 50}},
      {stNone, false, alNone, {50, 40, 130, 90}},    {stleft, false, alLeft, {0, 0, 80, 200}},
      {stTop, false, alTop, {0, 0, 300, 50}},        {stRight, false, alRight, {220, 0, 300, 200}},
      {stBottom, false, alBottom, {0, 150, 300, 200}}, {stBoth, false, alTop, {0, 0, 300, 50}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << TqStickTypeType.ValueToName(C.Where) << " old style " << C.OldStyle);
    TFormScene S(300, 200);
    auto* M = S.Add<TqMovePanel>(50, 40, 80, 50);
    M->SetStickOldStyle(C.OldStyle);
    M->SetStickWhere(C.Where);
    EXPECT_EQ(M->Align(), C.Align);
    EXPECT_EQ(M->BoundsRect(), C.Bounds);
  }
}

TEST(MovePanel, BeforeUpdateResizesOnEveryDrop) {
  TDragScene S;
  S.Updates.NewW = 120;
  S.Updates.NewH = 30;
  S.Show();
  for (int Drop = 0; Drop < 2; ++Drop) {
    S.Press();
    S.MoveBy(20, 10);
    MouseButton(false);
  }
  EXPECT_EQ(S.Updates.Count, 2);
  EXPECT_EQ(S.Panel->BoundsRect(), TRect(90, 60, 210, 90));
}

// Losing the capture or being freed mid-drag ends the drag cleanly: the outline goes, the
// panel stays.
TEST(MovePanel, CaptureTakenOrPanelFreedMidDrag) {
  for (bool Free : {false, true}) {
    SCOPED_TRACE(Free ? "freed" : "capture taken");
    TDragScene S;
    auto* Other = S.Add<TqMovePanel>(300, 200, 40, 40);
    S.Show();
    const TPoint Origin = S.Form->ClientToScreen(TPoint(0, 0));
    const TRect Target(Origin.X + 90, Origin.Y + 100, Origin.X + 170, Origin.Y + 150);
    const std::vector<TColor> Before = TopEdge(Target);
    S.Press();
    S.MoveBy(40, 60);
    ASSERT_NE(TopEdge(Target), Before);
    if (Free) {
      TObject::Free(S.Panel);
    } else {
      SetCapture(Other->Handle());
      EXPECT_FALSE(S.Panel->Dragging());
    }
    AppPumpRounds(2);
    EXPECT_EQ(TopEdge(Target), Before) << "the outline is erased";
    MouseButton(false);
    if (!Free) {
      EXPECT_EQ(S.Panel->BoundsRect(), TRect(50, 40, 130, 90));
      EXPECT_EQ(S.Updates.Count, 0);
    }
  }
}

}  // namespace
