// A picture of the item and grid controls together for people: a font list, a colour combo and
// a coloured grid with a caption bar, saved as a BMP (converted to PNG by CTest).
#include "coolctrls/CoolCtrls.h"
#include "vcl/tests/vcltest.h"

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

}  // namespace
