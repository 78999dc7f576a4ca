// The tabbed list box on real windows: tab stops in pixels and from headers, the horizontal
// scroll range, change and scroll events, focus on mouse entry.
#include "rtl/tests/default_check.h"
#include "suite/Mystd.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace suitetest;

namespace {

struct TLog : TObject {
  std::vector<int> Changes;
  struct TScroll {
    int Position, Code;
    ScrollDirection Dir;
  };
  std::vector<TScroll> Scrolls;
  void Change(TObject*, int Prev) { Changes.push_back(Prev); }
  void Scroll(TObject*, int16_t Position, int16_t Code, ScrollDirection Dir) { Scrolls.push_back({Position, Code, Dir}); }
};

// The pixel width of S with pixel tab stops, plus one "Z", in the list box's font.
int Expected(TqTabListbox* L, const char* S, const std::vector<int>& Stops) {
  TBitmap B;
  B.SetSize(1, 1);
  B.Canvas()->Font()->Assign(L->Font());
  HDC DC = B.Canvas()->Handle();
  const int N = int(Stops.size());
  return LOWORD(GetTabbedTextExtentA(DC, S, int(strlen(S)), N, N ? Stops.data() : nullptr)) +
         LOWORD(GetTabbedTextExtentA(DC, "Z", 1, 0, nullptr));
}

int HorzExtent(TqTabListbox* L) { return int(SendMessageA(L->Handle(), LB_GETHORIZONTALEXTENT, 0, 0)); }

// The first column (from the item's left) where item Index shows ink other than the
// background.
int FirstInk(TqTabListbox* L, int Index) {
  const TRect R = L->ItemRect(Index);
  auto Shot = vcltest::CaptureClient(L->Handle());
  const TColor Back = Shot->Canvas()->Pixels(R.Right - 2, R.Top + 1);
  // Inside the focus rectangle the caret item may show.
  for (int X = R.Left + 1; X < R.Right; ++X)
    for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y)
      if (Shot->Canvas()->Pixels(X, Y) != Back) return X - R.Left;
  return -1;
}

struct TListScene : TFormScene {
  TLog Log;
  TqTabListbox* L;
  explicit TListScene(int Items = 3) : TFormScene(360, 220) {
    L = Add<TqTabListbox>(10, 10, 200, 150);
    for (int I = 0; I < Items; ++I) L->Items()->Add(("Item " + std::to_string(I)).c_str());
    L->OnChange = EVENT(&Log, TLog::Change);
    L->OnScroll = EVENT(&Log, TLog::Scroll);
  }
};

TEST(TabListbox, PublishedDefaultsMatchFreshControls) {
  ExpectClassDefaultsMatch(TqTabListbox::StaticClass());
}

TEST(TabListbox, WindowStylesAndLoadedStops) {
  TFormPtr Empty(LoadForm("object Form1: TForm\n  object L: TqTabListbox\n  end\nend\n"));
  auto* E = dynamic_cast<TqTabListbox*>(Empty->FindComponent("L"));
  EXPECT_TRUE(GetWindowLongPtrA(E->Handle(), GWL_STYLE) & LBS_USETABSTOPS);
  EXPECT_EQ(E->TabStops(), (std::vector<int32_t>{16})) << "stops on an empty list are dropped";
  EXPECT_TRUE(E->PixelTabStops().empty());
  TFormPtr Full(LoadForm("object Form1: TForm\n  object L: TqTabListbox\n"
                         "    Items.Strings = (\n      'a'#9'b')\n  end\nend\n"));
  auto* F = dynamic_cast<TqTabListbox*>(Full->FindComponent("L"));
  EXPECT_EQ(F->PixelTabStops(), (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200}));
  EXPECT_EQ(F->TabStops().size(), 8u);
}

TEST(TabListbox, ExtentsAreMeasuredWithPixelStops) {
  TListScene S(0);
  TqTabListbox* L = S.L;
  const char* Long = "303415E98C0A11800000A3C8\t48.1.5\t0359011.010310.41928 and a long tail of text";
  L->Items()->Add("a\tb");
  EXPECT_EQ(HorzExtent(L), Expected(L, "a\tb", {})) << "the list box's default stops while none were sent";
  L->SetTabStops({40, 100});
  EXPECT_EQ(HorzExtent(L), Expected(L, "a\tb", {40, 100}));
  L->Items()->Add(Long);
  EXPECT_EQ(HorzExtent(L), Expected(L, Long, {40, 100}));
  EXPECT_EQ(L->WidestExtent(), HorzExtent(L));
  L->Items()->Insert(0, "x\t\ty");
  EXPECT_EQ(HorzExtent(L), Expected(L, Long, {40, 100})) << "a narrower item leaves the range";
}

TEST(TabListbox, DeletingTheLongItemShrinksTheRangeOnlyWithSizeAfterDel) {
  for (bool SizeAfterDel : {true, false}) {
    SCOPED_TRACE(SizeAfterDel);
    TListScene S;
    TqTabListbox* L = S.L;
    L->SetSizeAfterDel(SizeAfterDel);
    S.Show();
    const int Short = HorzExtent(L);
    L->Items()->Add("A very long item that needs the horizontal scroll bar\tand more after a tab");
    const int Long = HorzExtent(L);
    EXPECT_GT(Long, L->ClientWidth());
    SCROLLINFO Info{};
    Info.cbSize = sizeof Info;
    Info.fMask = SIF_RANGE;
    ASSERT_TRUE(GetScrollInfo(L->Handle(), SB_HORZ, &Info));
    EXPECT_GE(Info.nMax, Long - 1);
    L->Items()->Delete(3);
    EXPECT_EQ(HorzExtent(L), SizeAfterDel ? Short : Long);
    // Emptied, the list starts over: a short item gives a short range.
    L->Items()->Clear();
    L->Items()->Add("ab");
    EXPECT_EQ(HorzExtent(L), Expected(L, "ab", {}));
  }
}

TEST(TabListbox, TextAfterATabStartsAtTheStop) {
  TListScene S(0);
  TqTabListbox* L = S.L;
  L->Items()->Add("\tW");
  L->Items()->Add("\t\tW");
  S.Show();
  for (const std::vector<int>& Stops : {std::vector<int>{40, 100}, std::vector<int>{70, 130}}) {
    L->SetTabStops(Stops);
    vcltest::PumpRounds(2);
    // The stops go as whole dialog units, which the list box turns back into pixels with a
    // whole-pixel average letter width: the text lands at the stop or a few per cent before it.
    for (int I = 0; I < 2; ++I) {
      const int At = FirstInk(L, I);
      EXPECT_GE(At, Stops[I] * 94 / 100 - 2) << Stops[I];
      EXPECT_LE(At, Stops[I] + 2) << Stops[I];
    }
  }
  // A window made again keeps them.
  L->RecreateWnd();
  vcltest::PumpRounds(2);
  const int At = FirstInk(L, 1);
  EXPECT_GE(At, 130 * 94 / 100 - 2);
  EXPECT_LE(At, 132);
  EXPECT_EQ(HorzExtent(L), Expected(L, "\t\tW", {70, 130}));
}

TEST(TabListbox, StopsOnAnEmptyListAndAtMost128) {
  TListScene S(0);
  TqTabListbox* L = S.L;
  L->SetTabStops({40, 80});
  EXPECT_EQ(L->TabStops(), (std::vector<int32_t>{16}));
  L->Items()->Add("x");
  std::vector<int> Many;
  for (int I = 1; I <= 129; ++I) Many.push_back(I * 10);
  L->SetTabStops(Many);
  ASSERT_EQ(L->PixelTabStops().size(), 128u);
  EXPECT_EQ(L->PixelTabStops().back(), 1280);
}

// A list box that refuses tab stops.
class TRefusingList : public TqTabListbox {
  ORV_CLASS(TRefusingList, TqTabListbox)
public:
  using TqTabListbox::TqTabListbox;
  bool Refuse = false;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == LB_SETTABSTOPS && Refuse) Message.Result = 0;
    else inherited::Dispatch(Message);
  }
};
ORV_IMPLEMENT_COMPONENT_NOPROPS(TRefusingList, TqTabListbox)

TEST(TabListbox, RefusedStopsRaiseTabErrorAndKeepTheOldOnes) {
  TFormScene S;
  auto* L = S.Add<TRefusingList>(10, 10, 200, 100);
  L->Items()->Add("\tW");
  L->SetTabStops({60});
  const auto Units = L->TabStops();
  const int Extent = HorzExtent(L);
  L->Refuse = true;
  try {
    L->SetTabStops({20, 30});
    FAIL() << "no error";
  } catch (const EqTabListboxError& E) {
    EXPECT_STREQ(E.what(), "TabError");
  }
  EXPECT_EQ(L->TabStops(), Units);
  EXPECT_EQ(L->PixelTabStops(), (std::vector<int>{60}));
  EXPECT_EQ(HorzExtent(L), Extent);
}

TEST(TabListbox, StopsFromHeaders) {
  TListScene S;
  auto* H = S.Add<THeader>(0, 0, 300, 20);
  H->SetAlign(alNone);
  H->Sections()->Add("a");
  H->Sections()->Add("b");
  H->Sections()->Add("c");
  H->SetSectionWidth(0, 40);
  H->SetSectionWidth(1, 70);
  S.L->SetFromHeader(H);
  EXPECT_EQ(S.L->PixelTabStops(), (std::vector<int>{40, 110, 160}));
  auto* HC = S.Add<THeaderControl>(0, 0, 300, 20);
  HC->SetAlign(alNone);
  for (int W : {30, 45}) HC->Sections()->Add()->SetWidth(W);
  S.L->SetfromHeaderControl(HC);
  EXPECT_EQ(S.L->PixelTabStops(), (std::vector<int>{30, 75}));
}

TEST(TabListbox, ChangeReportsThePreviousIndexOnRealClicks) {
  TListScene S;
  S.Show();
  auto ClickItem = [&](int I) {
    const TRect R = S.L->ItemRect(I);
    vcltest::MoveMouse(S.L->Handle(), R.Left + 20, (R.Top + R.Bottom) / 2);
    MouseButton(true);
    MouseButton(false);
  };
  ClickItem(1);
  ClickItem(1);
  ClickItem(2);
  EXPECT_EQ(S.Log.Changes, (std::vector<int>{-1, 1}));
  S.L->SetItemIndex(0);
  EXPECT_EQ(S.Log.Changes, (std::vector<int>{-1, 1, 2}));
  S.L->SetItemIndex(0);
  EXPECT_EQ(S.Log.Changes.size(), 3u);
}

TEST(TabListbox, ScrollEventsCarryPositionCodeAndDirection) {
  TListScene S(40);
  S.L->Items()->Add("A very long item that needs the horizontal scroll bar\tand more after a tab");
  S.Show();
  S.L->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
  S.L->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), 0);
  ASSERT_EQ(S.Log.Scrolls.size(), 2u);
  EXPECT_EQ(S.Log.Scrolls[0].Code, SB_LINEDOWN);
  EXPECT_EQ(S.Log.Scrolls[0].Dir, qScrollVer);
  EXPECT_EQ(S.Log.Scrolls[1].Position, 30);
  EXPECT_EQ(S.Log.Scrolls[1].Code, SB_THUMBPOSITION);
  EXPECT_EQ(S.Log.Scrolls[1].Dir, qScrollHor);
  EXPECT_EQ(S.L->TopIndex(), 1);
}

TEST(TabListbox, AutoFocusTakesTheFocusWhenTheMouseEnters) {
  for (bool Auto : {true, false}) {
    SCOPED_TRACE(Auto);
    TListScene S;
    auto* Other = S.Add<TListBox>(240, 10, 100, 100);
    S.L->SetAutoFocus(Auto);
    S.Show();
    Other->SetFocus();
    AppPumpRounds(2);
    ASSERT_TRUE(Other->Focused());
    vcltest::MoveMouse(S.L->Handle(), 50, 50);
    AppPumpRounds(3);
    EXPECT_EQ(S.L->Focused(), Auto);
  }
}

}  // namespace
