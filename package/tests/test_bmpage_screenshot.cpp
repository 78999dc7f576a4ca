// The picture of the page control for people: glyphs on the tabs, a hot tab's cloud at its
// widest, and a page with a tiled background bitmap, saved as build/screenshots/page-control.bmp.
#include "package/tests/pkgtest.h"

namespace {

using namespace pkgtest;

// A 16 by 16 glyph: a filled circle on a white (transparent) ground.
std::unique_ptr<TBitmap> Disc(TColor Colour) {
  auto B = vcltest::MakeBitmap(16, 16, clWhite);
  B->Canvas()->Brush()->SetColor(Colour);
  B->Canvas()->Pen()->SetColor(Colour);
  B->Canvas()->Ellipse(1, 1, 15, 15);
  return B;
}

// A checked 16 by 16 tile of two colours.
std::unique_ptr<TBitmap> Tile(TColor One, TColor Two) {
  auto B = vcltest::MakeBitmap(16, 16, One);
  B->Canvas()->Brush()->SetColor(Two);
  B->Canvas()->FillRect(Rect(0, 0, 8, 8));
  B->Canvas()->FillRect(Rect(8, 8, 16, 16));
  return B;
}

TEST(Screenshot, PageControl) {
  constexpr TColor Glyph = 0x0040D0, TileA = 0xF0D8B0, TileB = 0xE0C090;
  TPageForm F(3, 360, 220);
  const char* Captions[] = {"Tiled page", "Sounds", "Options"};
  const TColor Glyphs[] = {Glyph, 0x30A030, 0xC06020};
  for (int I = 0; I < 3; ++I) {
    F.Sheet[size_t(I)]->SetCaption(Captions[I]);
    F.Sheet[size_t(I)]->SetGlyph(Disc(Glyphs[I]).get());
  }
  F.Sheet[0]->SetBackgroundStyle(bgsTailed);
  F.Sheet[0]->SetBackgroundBitmap(Tile(TileA, TileB).get());
  F.Pages->SetHotTrack(true);
  F.Show();
  F.Hover(1);
  ASSERT_TRUE(F.StepToPhase(2));
  vcltest::PumpRounds(3);
  auto Shot = vcltest::CaptureClient(F.Form->Handle());
  // What the picture is meant to show.
  const TRect Whole = Rect(0, 0, Shot->Width(), Shot->Height());
  EXPECT_GT(Count(Shot.get(), Whole, Glyph), 50);
  EXPECT_GT(Count(Shot.get(), Whole, 0x00FFFF, 40), 20);
  EXPECT_GT(Count(Shot.get(), Whole, TileA), 1000);
  EXPECT_GT(Count(Shot.get(), Whole, TileB), 1000);
  // Written under another name and moved into place, so a half-written picture is never seen.
  const std::string Dir = WinePath(ORVALEN_SHOTS);
  const std::string Part = Dir + "\\page-control-" + std::to_string(GetCurrentProcessId()) + ".part";
  Shot->SaveToFile(Part.c_str());
  ASSERT_TRUE(MoveFileExA(Part.c_str(), (Dir + "\\page-control.bmp").c_str(), MOVEFILE_REPLACE_EXISTING));
}

}  // namespace
