// Pictures of the cool controls together for people, saved as BMP (converted to PNG by CTest):
// a font list, a colour combo and a coloured grid with a caption bar; and a captioned,
// wallpapered list box, a combo with its widened list open, an edit with its button and a
// captioned memo.
#include "coolctrls/CoolCtrls.h"
#include "vcl/GdiGuards.h"
#include "vcl/tests/vcltest.h"
#include "coolctrls/tests/itemtest.h"

#include <gtest/gtest.h>

namespace {

TEST(CoolScreenshot, FontListColourComboAndCaptionedGrid) {
  vcltest::TTestHost Host(560, 300);
  auto* Fonts = Host.Add<TCoolListBox>(10, 10, 180, 280);
  Fonts->SetExtendedStyle(ctFontControl);
  Fonts->SetTrueType(false);
  Fonts->SetBevelOuter(bvRaised);
  Fonts->SetItemIndex(Fonts->Items()->IndexOf("Tahoma"));
  auto* Colours = Host.Add<TCoolComboBox>(200, 10, 150, 24);
  Colours->SetExtendedStyle(ctColorControl);
  Colours->SetColorValue(clTeal);
  auto* Grid = Host.Add<TCoolStringGrid>(200, 50, 350, 240);
  Grid->SetExOptions(0);
  Grid->SetCaption("SGTIN-96 fields");
  Grid->SetCaptionColor(clNavy);
  Grid->SetCaptionTextColor(clYellow);
  Grid->SetColCount(4);
  Grid->SetRowCount(7);
  Grid->SetFixedTextAlign(taCenter);
  const char* Heads[] = {"Field", "Bits", "Value", "Digits"};
  const char* Rows[][4] = {{"Header", "8", "48", "-"},          {"Filter", "3", "1", "-"},
                           {"Partition", "3", "5", "-"},        {"Company", "24", "0359011", "7"},
                           {"Item ref.", "20", "010310", "6"}, {"Serial", "38", "41928", "-"}};
  for (int C = 0; C < 4; ++C) Grid->SetCells(C, 0, Heads[C]);
  for (int R = 0; R < 6; ++R)
    for (int C = 0; C < 4; ++C) {
      Grid->SetCells(C, R + 1, Rows[R][C]);
      if (C > 0) Grid->SetColors(C, R + 1, R % 2 ? TColor(0xF0E0D0) : TColor(0xD0F0E0));
    }
  Grid->SetColumnParameters(2, false, taRightJustify, nullptr, true, false, TColor(0xC0E8FF));
  vcltest::PumpRounds(5);
  auto Shot = vcltest::CaptureClient(Host.Window());
  const TPoint CaptionAt = Host.Control()->ScreenToClient(Grid->ClientToScreen(TPoint(200, 0)));
  EXPECT_EQ(Shot->Canvas()->Pixels(CaptionAt.X, CaptionAt.Y - GetSystemMetrics(SM_CYCAPTION) / 2), clNavy);
  const AnsiString Path = AnsiString(ORVALEN_SHOTS) + "/cool-items-grid.bmp";
  Shot->SaveToFile(Path);
  TBitmap Back;
  Back.LoadFromFile(Path);
  EXPECT_EQ(Back.Width(), 560);
}

TEST(CoolScreenshot, ListComboEditAndMemo) {
  vcltest::TTestHost Host(720, 330, 40, 0);
  auto* List = Host.Add<TCoolListBox>(10, 10, 180, 300);
  List->SetCaption("Tag fields");
  List->SetCaptionColor(clNavy);
  List->SetCaptionTextColor(clYellow);
  auto Wall = itemtest::VerticalGradient(64, 64);
  List->SetWallpaper(Wall.get());
  List->SetOptions(CoolOption(ocPaintWallpaper) | CoolOption(ocTileWallpaper) | CoolOption(ocBevelOnlyIfSel));
  List->SetBevelOuter(bvRaised);
  for (const char* F : {"Header 48", "Filter 1", "Partition 5", "Company 0359011", "Item 010310", "Serial 41928"})
    List->Items()->Add(F);
  List->SetItemIndex(3);

  auto* Memo = Host.Add<TCoolMemo>(460, 50, 250, 270);
  Memo->SetCaption("Notes");
  Memo->SetOptions(0);
  Memo->Lines()->Add("303415E98C0A11800000A3C8");
  Memo->Lines()->Add("48.1.5.0359011.010310.41928");

  auto* Edit = Host.Add<TCoolEditBtn>(460, 10, 250, 26);
  Edit->SetText("303415E98C0A11800000A3C8");
  Edit->SetBtnCaption("...");

  auto* Combo = Host.Add<TCoolComboBox>(210, 10, 120, 24);
  Combo->SetExtendedStyle(ctColorControl);
  Combo->SetListBoxWidth(230);
  Combo->SetColorValue(clTeal);
  vcltest::PumpRounds(5);
  Host.Frame().Activate();
  SendMessageA(Combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return Combo->ListHandle() != nullptr; }));
  vcltest::PumpRounds(5);

  // From the screen: the dropped list is a window of its own above the host.
  RECT R;
  GetClientRect(Host.Window(), &R);
  POINT Origin{0, 0};
  ClientToScreen(Host.Window(), &Origin);
  TBitmap Shot;
  Shot.SetPixelFormat(pf24bit);
  Shot.SetSize(R.right, R.bottom);
  {
    TWindowDC Screen(nullptr);
    BitBlt(Shot.Canvas()->Handle(), 0, 0, R.right, R.bottom, Screen, Origin.x, Origin.y, SRCCOPY);
  }
  RECT L;
  GetWindowRect(Combo->ListHandle(), &L);
  EXPECT_EQ(L.right - L.left, 230);
  const TRect Band = itemtest::CaptionBand(List->Handle());
  const TPoint CaptionAt = Host.Control()->ScreenToClient(List->ClientToScreen(TPoint(0, 0)));
  EXPECT_EQ(Shot.Canvas()->Pixels(CaptionAt.X + 150, CaptionAt.Y - Band.Height()), clNavy);
  SendMessageA(Combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  Shot.SaveToFile(AnsiString(ORVALEN_SHOTS) + "/cool-list-combo-edit.bmp");
}

}  // namespace
