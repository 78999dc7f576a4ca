// The cool bevel on a real window: see-through by default, filled with its colour, its own
// wallpaper or a library's, lines left out when flat, and the mouse coming and going.
#include "coolctrls/CoolCtrls.h"
#include "rtl/tests/default_check.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

TColor Sys(int Index) { return TColor(GetSysColor(Index)); }

// A teal panel to put bevels on.
class TGround : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
  using TCustomPanel::SetBevelOuter;
  using TControl::SetColor;
};

struct TBevelFixture : ::testing::Test {
  vcltest::TTestHost Host{200, 100};
  TGround* Ground = nullptr;
  TCoolBevel* Bevel = nullptr;
  void SetUp() override {
    Ground = Host.Add<TGround>(0, 0, 200, 100);
    Ground->SetBevelOuter(bvNone);
    Ground->SetColor(clTeal);
    Bevel = TComponent::Create<TCoolBevel>(Ground);
    Bevel->SetBounds(20, 20, 40, 30);
    Bevel->SetParent(Ground);
  }
  // A pixel of the bevel (its own coordinates) as it is on the window.
  TColor At(int X, int Y) { return vcltest::PixelAt(Ground->Handle(), 20 + X, 20 + Y); }
};

// An 8 by 8 bitmap: red in its left half, blue in its right.
std::unique_ptr<TBitmap> Halves() {
  auto B = vcltest::MakeBitmap(8, 8, clRed);
  B->Canvas()->Brush()->SetColor(clBlue);
  B->Canvas()->FillRect(Rect(4, 0, 8, 8));
  return B;
}

TEST(CoolBevel, StartsSeeThroughWithItsLines) {
  auto* B = TComponent::Create<TCoolBevel>(nullptr);
  ExpectDefaultsMatch(B);
  EXPECT_TRUE(B->Transparent());
  EXPECT_FALSE(B->Flat());
  EXPECT_EQ(B->Color(), clBtnFace);
  EXPECT_EQ(B->idWallpaper(), -1);
  EXPECT_EQ(B->Shape(), bsBox);
  EXPECT_FALSE(B->IsWallpaperAssigned());
  EXPECT_NE(FindClass("TCoolBevel"), nullptr);
  TObject::Free(B);
}

TEST_F(TBevelFixture, OnlyTheLinesShowUntilTransparentGoesOff) {
  Bevel->SetColor(clYellow);
  EXPECT_EQ(At(20, 15), clTeal) << "see-through inside";
  EXPECT_EQ(At(0, 15), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(39, 15), Sys(COLOR_BTNHIGHLIGHT));
  Bevel->SetTransparent(false);
  EXPECT_EQ(At(20, 15), clYellow);
  EXPECT_EQ(At(1, 1), clYellow);
  EXPECT_EQ(At(0, 15), Sys(COLOR_BTNSHADOW)) << "the lines over the fill";
  EXPECT_EQ(vcltest::PixelAt(Ground->Handle(), 19, 19), clTeal) << "nothing outside";
}

// Which source fills a filled bevel: the library entry, else the own wallpaper, else Color.
TEST_F(TBevelFixture, FillComesFromLibraryEntryOwnWallpaperOrColour) {
  auto* Images = TComponent::Create<TCoolImages>(Ground);
  auto Green = vcltest::MakeBitmap(8, 8, clLime);
  Images->Bitmaps()->Add()->SetBitmap(Green.get());
  Bevel->SetColor(clYellow);
  Bevel->SetTransparent(false);
  Bevel->SetCoolImages(Images);

  auto Own = Halves();
  const struct {
    int Id;
    bool OwnWallpaper;
    TColor At2, At6;  // pixels (2, 10) and (6, 10): tiled from the bevel's corner
    bool Assigned;
  } Cases[] = {
      {-1, false, clYellow, clYellow, false},
      {1, false, clYellow, clYellow, false},  // one past the library's end
      {0, false, clLime, clLime, true},
      {1, true, clRed, clBlue, true},
      {0, true, clLime, clLime, true},  // the library wins
      {-1, true, clRed, clBlue, true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "id " << C.Id << (C.OwnWallpaper ? " with" : " without") << " own");
    TBitmap Empty;
    Bevel->SetWallpaper(C.OwnWallpaper ? Own.get() : &Empty);
    Bevel->SetIdWallpaper(C.Id);
    EXPECT_EQ(Bevel->IsWallpaperAssigned(), C.Assigned);
    EXPECT_EQ(At(2, 10), C.At2);
    EXPECT_EQ(At(6, 10), C.At6);
    EXPECT_EQ(At(2 + 8 * 3, 10), C.At2) << "tiled";
  }
  // Freeing the library clears the reference and repaints.
  Bevel->SetWallpaper(nullptr);
  Bevel->SetIdWallpaper(0);
  EXPECT_EQ(At(2, 10), clLime);
  TObject::Free(Images);
  EXPECT_EQ(Bevel->CoolImages(), nullptr);
  EXPECT_EQ(At(2, 10), clYellow);
}

TEST_F(TBevelFixture, FlatLeavesTheLinesOut) {
  Bevel->SetFlat(true);
  for (TPoint P : {TPoint(0, 15), TPoint(39, 15), TPoint(20, 0), TPoint(20, 29), TPoint(20, 15)})
    EXPECT_EQ(At(P.X, P.Y), clTeal) << "transparent and flat: nothing at " << P.X << ", " << P.Y;
  Bevel->SetColor(clYellow);
  Bevel->SetTransparent(false);
  for (TPoint P : {TPoint(0, 15), TPoint(39, 15), TPoint(20, 0), TPoint(20, 29), TPoint(20, 15)})
    EXPECT_EQ(At(P.X, P.Y), clYellow) << "filled edge to edge at " << P.X << ", " << P.Y;
  Bevel->SetShape(bsTopLine);
  Bevel->SetFlat(false);
  EXPECT_EQ(At(20, 0), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(20, 1), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(At(0, 15), clYellow);
}

struct TEnterLeaveLog : TObject {
  std::vector<int> Events;  // +1 enter, -1 leave
  void Enter(TObject*) { Events.push_back(1); }
  void Leave(TObject*) { Events.push_back(-1); }
  // Enter and leave take turns, from an enter (the window system may deliver a late move of an
  // earlier place, so the mouse may cross more than once); the last one says where it is.
  ::testing::AssertionResult Alternate(int Last) const {
    for (size_t I = 0; I < Events.size(); ++I)
      if (Events[I] != (I % 2 ? -1 : 1)) return ::testing::AssertionFailure() << "out of turn at " << I;
    if (Events.empty() || Events.back() != Last) return ::testing::AssertionFailure() << "wrong last event";
    return ::testing::AssertionSuccess();
  }
};

TEST_F(TBevelFixture, MouseEnterAndLeaveFireAsTheRealMouseCrosses) {
  TEnterLeaveLog Log;
  Bevel->OnMouseEnter = TNotifyEvent::Bind<&TEnterLeaveLog::Enter>(&Log);
  Bevel->OnMouseLeave = TNotifyEvent::Bind<&TEnterLeaveLog::Leave>(&Log);
  vcltest::MoveMouse(Ground->Handle(), 150, 80);
  vcltest::PumpRounds(3);
  Log.Events.clear();
  vcltest::MoveMouse(Ground->Handle(), 40, 35);
  vcltest::PumpRounds(3);
  EXPECT_TRUE(Log.Alternate(1));
  vcltest::MoveMouse(Ground->Handle(), 150, 80);
  vcltest::PumpRounds(3);
  EXPECT_TRUE(Log.Alternate(-1));
}

}  // namespace
