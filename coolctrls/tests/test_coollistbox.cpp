// The cool list box on the screen: its caption bar read back pixel by pixel, its window styles,
// the real mouse on the caption, the check areas and the items, and a wallpaper that must not
// move while the items scroll.
#include "coolctrls/CoolCtrls.h"
#include "vcl/tests/vcltest.h"
#include "coolctrls/tests/itemtest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using itemtest::CaptionBand;
using itemtest::CaptureBand;
using itemtest::DifferingPixels;
using itemtest::ExpectedBand;
using itemtest::GradientRow;
using itemtest::WindowPixel;
using vcltest::PumpMessages;
using vcltest::TTestHost;

struct CoolListBoxFixture : testing::Test {
  TTestHost Host{480, 360};
  TCoolListBox* L = nullptr;
  void SetUp() override {
    L = Host.Add<TCoolListBox>(20, 20, 180, 160);
    for (int I = 0; I < 40; ++I) L->Items()->Add(("Item " + std::to_string(I)).c_str());
  }
  HWND Wnd() { return L->Handle(); }
  // A point of the list's window (window coordinates) in the host's client coordinates.
  TPoint InHost(int X, int Y) {
    RECT W;
    GetWindowRect(Wnd(), &W);
    return Host.Control()->ScreenToClient(TPoint(W.left + X, W.top + Y));
  }
};

// ----- caption bar

TEST_F(CoolListBoxFixture, DefaultColoursLeaveTheCaptionToTheSystem) {
  L->SetCaption("Items");
  L->SetOptions(CoolOption(ocBevelOnlyIfSel));
  // The same frame on a list box of the system's own.
  const HWND Plain = CreateWindowExA(DWORD(GetWindowLongPtrA(Wnd(), GWL_EXSTYLE)), "LISTBOX", "",
                                     DWORD(GetWindowLongPtrA(Wnd(), GWL_STYLE)) & ~DWORD(LBS_OWNERDRAWFIXED), 240,
                                     20, 180, 160, Host.Control()->Handle(), nullptr, GetModuleHandleA(nullptr),
                                     nullptr);
  ASSERT_TRUE(Plain);
  const TRect Band = CaptionBand(Wnd());
  const int X = Band.Right - 20, Y = Band.Top + Band.Height() / 2;
  EXPECT_EQ(WindowPixel(Wnd(), X, Y), WindowPixel(Plain, X, Y));
  EXPECT_NE(WindowPixel(Wnd(), X, Y), ColorToRGB(clWindow));
  DestroyWindow(Plain);
}

TEST_F(CoolListBoxFixture, AColouredCaptionIsFilledAndKeepsItsColourThroughFrameRedraws) {
  L->SetCaption("Tags");
  L->SetOptions(CoolOption(ocBevelOnlyIfSel));
  L->SetCaptionColor(clRed);
  L->SetCaptionTextColor(clWhite);
  const TRect Band = CaptionBand(Wnd());
  auto Expected = ExpectedBand(Band, "Tags", clRed, clWhite);
  auto Shot = CaptureBand(Wnd(), Band);
  EXPECT_EQ(DifferingPixels(*Shot, *Expected), 0) << "the text 2 pixels in, centred, in the caption font";
  int Text = 0;
  for (int X = 0; X < 2; ++X)
    for (int Y = 0; Y < Band.Height(); ++Y) Text += Shot->Canvas()->Pixels(X, Y) != clRed;
  EXPECT_EQ(Text, 0) << "nothing in the first 2 pixels";

  SetWindowPos(Wnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  PumpMessages();
  EXPECT_EQ(DifferingPixels(*CaptureBand(Wnd(), Band), *Expected), 0) << "after SWP_FRAMECHANGED";
  RedrawWindow(Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages();
  EXPECT_EQ(DifferingPixels(*CaptureBand(Wnd(), Band), *Expected), 0) << "after a whole-frame redraw";
  // Below the band the system's frame and client: not the caption colour.
  EXPECT_NE(WindowPixel(Wnd(), Band.Right - 20, Band.Bottom + 6), clRed);

  L->SetCaption("Other");  // WM_SETTEXT repaints the frame
  EXPECT_EQ(DifferingPixels(*CaptureBand(Wnd(), Band), *ExpectedBand(Band, "Other", clRed, clWhite)), 0);

  // The band is a row less than a caption high: the row below it is the system's, as on a list
  // box of its own with the same frame.
  const HWND Plain = CreateWindowExA(DWORD(GetWindowLongPtrA(Wnd(), GWL_EXSTYLE)), "LISTBOX", "",
                                     DWORD(GetWindowLongPtrA(Wnd(), GWL_STYLE)) & ~DWORD(LBS_OWNERDRAWFIXED), 240,
                                     20, L->Width(), L->Height(), Host.Control()->Handle(), nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(Plain);
  ASSERT_EQ(Band.Bottom, GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION) - 1);
  for (int X = Band.Left; X < Band.Right; X += 7) {
    EXPECT_NE(WindowPixel(Wnd(), X, Band.Bottom), clRed) << X;
    EXPECT_EQ(WindowPixel(Wnd(), X, Band.Bottom), WindowPixel(Plain, X, Band.Bottom)) << X;
  }
  DestroyWindow(Plain);
}

TEST_F(CoolListBoxFixture, TheCaptionWallpaperTilesFromTheBandsCorner) {
  auto Checker = vcltest::MakeBitmap(16, 16, clRed);
  Checker->Canvas()->Brush()->SetColor(clBlue);
  Checker->Canvas()->FillRect(Rect(8, 0, 16, 8));
  Checker->Canvas()->FillRect(Rect(0, 8, 8, 16));
  L->SetCaptionWallpaper(Checker.get());
  L->SetOptions(CoolOption(ocPaintCaptionWallpaper));
  const TRect Band = CaptionBand(Wnd());
  auto Shot = CaptureBand(Wnd(), Band);
  for (int X = Band.Width() / 2; X < Band.Width(); X += 5)
    for (int Y = 0; Y < Band.Height(); Y += 3)
      ASSERT_EQ(Shot->Canvas()->Pixels(X, Y), ((X % 16 < 8) == (Y % 16 < 8)) ? clRed : clBlue) << X << "," << Y;
}

TEST_F(CoolListBoxFixture, WindowStylesFollowTheOptions) {
  struct Case {
    TCoolOptions Options;
    int Columns;
    bool Caption, Tool;
  };
  const Case Cases[] = {
      {CoolOption(ocNoCaption), 0, false, false},
      {0, 0, true, false},
      {CoolOption(ocSmallCaption), 0, true, true},
      {CoolOption(ocNoCaption) | CoolOption(ocSmallCaption), 2, false, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Options);
    L->SetColumns(C.Columns);
    L->SetOptions(C.Options);
    const LONG_PTR Style = GetWindowLongPtrA(Wnd(), GWL_STYLE), Ex = GetWindowLongPtrA(Wnd(), GWL_EXSTYLE);
    EXPECT_EQ((Style & WS_CAPTION) == WS_CAPTION, C.Caption);
    EXPECT_EQ((Ex & WS_EX_TOOLWINDOW) != 0, C.Tool);
    EXPECT_EQ((Style & LBS_MULTICOLUMN) != 0, C.Columns != 0);
  }
  EXPECT_EQ(L->Items()->Count(), 40) << "the window made again keeps its items";
}

// ----- the real mouse

TEST_F(CoolListBoxFixture, TheCaptionDragsTheListUnlessTold) {
  L->SetOptions(CoolOption(ocBevelOnlyIfSel));
  const TRect Band = CaptionBand(Wnd());
  const TPoint Grip = InHost(Band.Right - 30, Band.Top + Band.Height() / 2);
  Host.Frame().Activate();
  vcltest::RealDrag(Host.Window(), Grip.X, Grip.Y, 40, 24);
  EXPECT_EQ(L->Left(), 60);
  EXPECT_EQ(L->Top(), 44);

  // A double click on the caption changes nothing.
  const TRect Before = L->BoundsRect();
  const TPoint Moved = InHost(Band.Right - 30, Band.Top + Band.Height() / 2);
  vcltest::RealClick(Host.Window(), Moved.X, Moved.Y, mbLeft, 2);
  EXPECT_EQ(L->BoundsRect(), Before);

  L->SetOptions(CoolOption(ocNoDragUsingCaption));
  RECT W;
  GetWindowRect(Wnd(), &W);
  EXPECT_EQ(SendMessageA(Wnd(), WM_NCHITTEST, 0, MAKELPARAM(W.left + Band.Right - 30, W.top + Band.Top + 4)),
            HTNOWHERE);
  const TPoint Grip2 = InHost(Band.Right - 30, Band.Top + Band.Height() / 2);
  vcltest::RealDrag(Host.Window(), Grip2.X, Grip2.Y, 40, 24);
  EXPECT_EQ(L->BoundsRect(), Before);
}

TEST_F(CoolListBoxFixture, AnyButtonOnTheCheckAreaTogglesAndSpaceToo) {
  L->SetExtendedStyle(ctCheckControl);
  PumpMessages();
  const TRect Item = L->ItemRect(2);
  const TPoint Check = Host.Control()->ScreenToClient(L->ClientToScreen(TPoint(Item.Left + 6, Item.Top + 8)));
  const TPoint Text = Host.Control()->ScreenToClient(L->ClientToScreen(TPoint(Item.Left + 80, Item.Top + 8)));
  auto Dark = [&] {
    auto Shot = vcltest::CaptureClient(Wnd());
    int N = 0;
    for (int Y = Item.Top; Y < Item.Bottom; ++Y)
      for (int X = Item.Left; X < Item.Left + L->ItemHeight(); ++X) N += Shot->Canvas()->Pixels(X, Y) == clBlack;
    return N;
  };
  const int Unchecked = Dark();
  vcltest::RealClick(Host.Window(), Check.X, Check.Y, mbLeft);
  EXPECT_TRUE(L->Checked(2));
  EXPECT_GT(Dark(), Unchecked) << "the check mark shows";
  vcltest::RealClick(Host.Window(), Check.X, Check.Y, mbRight);
  EXPECT_FALSE(L->Checked(2)) << "the right button too";
  EXPECT_EQ(Dark(), Unchecked);
  vcltest::RealClick(Host.Window(), Text.X, Text.Y, mbLeft);
  vcltest::RealClick(Host.Window(), Text.X, Text.Y, mbRight);
  EXPECT_FALSE(L->Checked(2)) << "the text does not toggle";
  EXPECT_EQ(L->ItemIndex(), 2);

  L->SetFocus();
  SendMessageA(Wnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(L->Checked(2));
  EXPECT_GT(Dark(), Unchecked);
  L->SetItemIndex(-1);
  SendMessageA(Wnd(), WM_KEYDOWN, VK_SPACE, 0);
  for (int I = 0; I < 5; ++I) EXPECT_EQ(L->Checked(I), I == 2) << I;
}

TEST_F(CoolListBoxFixture, HotTrayFollowsTheMouse) {
  L->SetHotTray(true);
  for (int I : {1, 4, 2}) {
    const TRect R = L->ItemRect(I);
    const TPoint P = Host.Control()->ScreenToClient(L->ClientToScreen(TPoint(R.Left + 40, R.Top + 8)));
    vcltest::MoveMouse(Host.Window(), P.X, P.Y);
    EXPECT_TRUE(vcltest::PumpUntil([&] { return L->ItemIndex() == I; })) << I;
  }
}

TEST(CoolListBoxFont, TheSelectionFontFollowsTheParentFont) {
  TTestHost Host;
  auto* Box = Host.Add<TGroupBox>(5, 5, 300, 200);
  auto* L = TComponent::Create<TCoolListBox>(Host.Control());
  L->SetBounds(10, 20, 150, 100);
  L->SetParent(Box);
  Box->Font()->SetName("Courier New");
  Box->Font()->SetSize(14);
  Box->Font()->SetColor(clRed);
  EXPECT_EQ(L->SelFont()->Name(), "Courier New");
  EXPECT_EQ(L->SelFont()->Size(), 14);
  EXPECT_EQ(L->SelFont()->Color(), clHighlightText);
  EXPECT_TRUE(L->ParentFont());
  L->SetParentFont(false);
  Box->Font()->SetName("Tahoma");
  EXPECT_EQ(L->SelFont()->Name(), "Courier New") << "only while the parent's font is the list's";
}

// ----- the background behind the items

struct CoolListWallpaper : CoolListBoxFixture {
  std::unique_ptr<TBitmap> Wall = itemtest::VerticalGradient(300, 300);
  void Wallpaper(TCoolListBox* List) {
    List->SetWallpaper(Wall.get());
    List->SetOptions(CoolOption(ocPaintWallpaper));
  }
  // Points right of the text all the way down the client show the wallpaper's rows.
  void ExpectFixed(TCoolListBox* List) {
    auto Shot = vcltest::CaptureClient(List->Handle());
    const int X = List->ClientWidth() - 6;
    int Wrong = 0;
    for (int Y = 0; Y < List->ClientHeight(); Y += 3) Wrong += Shot->Canvas()->Pixels(X, Y) != GradientRow(Y);
    EXPECT_EQ(Wrong, 0) << "top index " << List->TopIndex();
  }
};

TEST_F(CoolListWallpaper, EmptyListsShowTheWallpaperOrTheirColour) {
  L->Items()->Clear();
  L->SetColor(clYellow);
  auto Plain = vcltest::CaptureClient(Wnd());
  EXPECT_EQ(Plain->Canvas()->Pixels(40, 40), clYellow);
  Wallpaper(L);
  ExpectFixed(L);
  // See-through: the parent's gradient.
  itemtest::TGradientBackground Gradient(Host.Control());
  L->SetOptions(CoolOption(ocPaintTransparently));
  auto Behind = Gradient.Picture();
  auto Shot = vcltest::CaptureClient(Wnd());
  for (int X : {10, 80, 150}) {
    const TPoint P = Host.Control()->ScreenToClient(L->ClientToScreen(TPoint(X, 30)));
    EXPECT_EQ(Shot->Canvas()->Pixels(X, 30), Behind->Canvas()->Pixels(P.X, P.Y)) << X;
  }
}

TEST_F(CoolListWallpaper, TheWallpaperStaysPutWhileTheItemsScroll) {
  Wallpaper(L);
  ExpectFixed(L);
  for (int Step = 0; Step < 5; ++Step) {
    SendMessageA(Wnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    ExpectFixed(L);
  }
  SendMessageA(Wnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
  ExpectFixed(L);
  EXPECT_GT(L->TopIndex(), 5);
}

// Each list keeps the top index it last saw: a second list scrolled to the same index as the
// first still has its whole background drawn again.
TEST_F(CoolListWallpaper, TwoListsScrolledToTheSameIndexBothStayAligned) {
  auto* Second = Host.Add<TCoolListBox>(240, 20, 180, 160);
  for (int I = 0; I < 40; ++I) Second->Items()->Add(("Row " + std::to_string(I)).c_str());
  Wallpaper(L);
  Wallpaper(Second);
  for (int Step = 0; Step < 3; ++Step) {
    SendMessageA(Wnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    ExpectFixed(L);
  }
  ExpectFixed(Second);
  Second->SetTopIndex(3);  // in one step to the index the first list last saw
  ExpectFixed(Second);
  EXPECT_EQ(Second->TopIndex(), L->TopIndex());
}

}  // namespace
