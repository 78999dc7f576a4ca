// The bevel's shapes and styles as pixels on its parent, and a panel repainting whole or only
// the strips a resize uncovers.
#include "vcl/ExtCtrls.h"
#include "rtl/tests/default_check.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

namespace {

TColor Sys(int Index) { return TColor(GetSysColor(Index)); }

class TTestPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
  using TCustomPanel::FullRepaint;
  using TCustomPanel::SetFullRepaint;
  using TCustomPanel::SetBevelOuter;
  using TControl::SetColor;
};

// A teal panel without bevels to put a bevel on.
TTestPanel* Ground(vcltest::TTestHost& Host) {
  auto* P = Host.Add<TTestPanel>(0, 0, 120, 60);
  P->SetBevelOuter(bvNone);
  P->SetColor(clTeal);
  return P;
}

TBevel* AddBevel(TWinControl* Parent) {
  auto* B = TComponent::Create<TBevel>(Parent);
  B->SetBounds(10, 10, 20, 10);
  B->SetParent(Parent);
  return B;
}

TEST(Bevel, StartsAsALoweredBox) {
  auto* B = TComponent::Create<TBevel>(nullptr);
  ExpectDefaultsMatch(B);
  EXPECT_EQ(B->Width(), 50);
  EXPECT_EQ(B->Height(), 50);
  EXPECT_FALSE(B->ControlStyle() & StyleOf(csOpaque)) << "the parent shows between the lines";
  EXPECT_NE(FindClass("TBevel"), nullptr);
  TObject::Free(B);
}

// A 20 by 10 bevel: at each point the first colour of the style (F: shadow when lowered), the
// second (S) or the parent's background (-).
TEST(Bevel, EveryShapeInBothStyles) {
  const struct {
    TBevelShape Shape;
    const char* Name;
    struct {
      int X, Y;
      char Is;
    } Points[8];
  } Cases[] = {
      {bsBox, "box", {{0, 0, 'F'}, {5, 0, 'F'}, {0, 5, 'F'}, {19, 0, 'S'}, {19, 5, 'S'}, {5, 9, 'S'}, {0, 9, 'S'}, {5, 5, '-'}}},
      {bsFrame, "frame", {{0, 5, 'F'}, {1, 5, 'S'}, {18, 5, 'F'}, {19, 5, 'S'}, {5, 0, 'F'}, {5, 1, 'S'}, {5, 8, 'F'}, {5, 9, 'S'}}},
      {bsTopLine, "top line", {{0, 0, 'F'}, {19, 0, 'F'}, {5, 1, 'S'}, {5, 2, '-'}, {5, 8, '-'}, {5, 9, '-'}, {0, 5, '-'}, {19, 5, '-'}}},
      {bsBottomLine, "bottom line", {{5, 8, 'F'}, {0, 9, 'S'}, {19, 9, 'S'}, {5, 7, '-'}, {5, 0, '-'}, {5, 1, '-'}, {0, 5, '-'}, {19, 5, '-'}}},
      {bsLeftLine, "left line", {{0, 0, 'F'}, {0, 9, 'F'}, {1, 5, 'S'}, {2, 5, '-'}, {18, 5, '-'}, {19, 5, '-'}, {5, 0, '-'}, {5, 9, '-'}}},
      {bsRightLine, "right line", {{18, 0, 'F'}, {18, 9, 'F'}, {19, 5, 'S'}, {17, 5, '-'}, {0, 5, '-'}, {1, 5, '-'}, {5, 0, '-'}, {5, 9, '-'}}},
      {bsSpacer, "spacer", {{0, 0, '-'}, {19, 9, '-'}, {0, 5, '-'}, {19, 5, '-'}, {5, 0, '-'}, {5, 9, '-'}, {1, 1, '-'}, {18, 8, '-'}}},
  };
  vcltest::TTestHost Host(120, 60);
  TTestPanel* P = Ground(Host);
  auto* Bevel = AddBevel(P);
  const TColor Back = clTeal;
  for (TBevelStyle Style : {bsLowered, bsRaised}) {
    const TColor F = Sys(Style == bsLowered ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
    const TColor S = Sys(Style == bsLowered ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    Bevel->SetStyle(Style);
    for (const auto& C : Cases) {
      SCOPED_TRACE(std::string(C.Name) + (Style == bsLowered ? ", lowered" : ", raised"));
      Bevel->SetShape(C.Shape);
      auto Shot = vcltest::CaptureClient(P->Handle());
      for (const auto& P : C.Points) {
        const TColor Want = P.Is == 'F' ? F : P.Is == 'S' ? S : Back;
        EXPECT_EQ(Shot->Canvas()->Pixels(10 + P.X, 10 + P.Y), Want) << "at " << P.X << ", " << P.Y;
      }
      // Nothing outside the bevel.
      EXPECT_EQ(Shot->Canvas()->Pixels(9, 9), Back);
      EXPECT_EQ(Shot->Canvas()->Pixels(30, 20), Back);
    }
  }
}

TEST(Bevel, ASpacerShowsWhileDesigning) {
  vcltest::TTestHost Host(120, 60);
  TTestPanel* P = Ground(Host);
  auto* Bevel = AddBevel(P);
  Bevel->SetShape(bsSpacer);
  const TColor Back = clTeal;
  Bevel->SetDesigning(true);
  Bevel->Invalidate();
  auto Shot = vcltest::CaptureClient(P->Handle());
  int Ink = 0;
  for (int X = 10; X < 30; ++X)
    if (Shot->Canvas()->Pixels(X, 10) != Back) ++Ink;
  EXPECT_GT(Ink, 4) << "a dotted outline";
  EXPECT_LT(Ink, 20) << "dotted, not solid";
  EXPECT_EQ(Shot->Canvas()->Pixels(20, 15), Back);
}

// ---------------------------------------------------------------------------------------------


// What a resize from 100 by 50 to 130 by 70 leaves to repaint.
TRect InvalidAfterGrowing(TTestPanel* P) {
  P->SetBounds(10, 10, 100, 50);
  vcltest::PumpRounds(3);
  P->Update();
  RECT None{};
  EXPECT_FALSE(GetUpdateRect(P->Handle(), &None, FALSE)) << "all painted before";
  P->SetBounds(10, 10, 130, 70);
  RECT R{};
  GetUpdateRect(P->Handle(), &R, FALSE);
  return TRect(R);
}

TEST(CustomPanel, FullRepaintDecidesWhatAResizeRepaints) {
  vcltest::TTestHost Host(300, 200);
  auto* P = Host.Add<TTestPanel>(10, 10, 100, 50);
  EXPECT_TRUE(P->FullRepaint());
  EXPECT_EQ(InvalidAfterGrowing(P), Rect(0, 0, 130, 70));
  EXPECT_TRUE(GetClassLongPtrA(P->Handle(), GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW));

  HWND Before = P->Handle();
  P->SetFullRepaint(false);
  EXPECT_NE(P->Handle(), Before) << "made again with the other class style";
  EXPECT_FALSE(GetClassLongPtrA(P->Handle(), GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW));
  // Only the uncovered L-shaped strip: right 30 columns and bottom 20 rows.
  HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
  P->SetBounds(10, 10, 100, 50);
  vcltest::PumpRounds(3);
  P->Update();
  P->SetBounds(10, 10, 130, 70);
  GetUpdateRgn(P->Handle(), Rgn, FALSE);
  EXPECT_FALSE(PtInRegion(Rgn, 50, 25)) << "the old area stays";
  EXPECT_TRUE(PtInRegion(Rgn, 115, 25));
  EXPECT_TRUE(PtInRegion(Rgn, 50, 60));
  DeleteObject(Rgn);
}

}  // namespace
