// A region-shaped form with a hole over another window, with the shaped, shape and skinned
// buttons, saved as a picture of the screen for people to look at (the build converts it to PNG).
#include "suite/Std2FancyBtn.h"
#include "suite/Std2ShapeBtn.h"
#include "suite/qAnimate.h"
#include "suite/tests/suitetest.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

using namespace suitetest;

namespace {

TEST(RegionsScreenshot, ShapedFormOverAWindowAndTheButtons) {
  // The window beneath, with the buttons.
  TFormScene Back(620, 360);
  Back.Form->SetBounds(40, 40, 620, 360);
  Back.Form->SetColor(clBtnFace);
  const sbType Shapes[] = {sbRectangle, sbUpTriangle, sbCircle, sbPlus, sbMinus, sbUpTrapezoid, sb045, sbLTriangle};
  int X = 10;
  for (sbType Shape : Shapes) {
    auto* B = Back.Add<TqcShapeColorBtn>(X, 10, 60, 60);
    B->SetShape(Shape);
    B->SetColor(0x00C8E0F0);
    X += 70;
  }
  auto* Grad = Back.Add<TqcShapeGradBtn>(10, 80, 90, 60);
  Grad->SetShape(sbDnTrapezoid);
  Grad->SetColor(0x00803000);
  Grad->SetEndColor(0x00F0D0A0);
  Grad->SetCaption("Go");
  Grad->Font()->SetColor(clWhite);
  X = 110;
  for (sbType Shape : {sbPlus, sbMinus, sbCircle, sbBLTriangle, sb135}) {
    auto* B = Back.Add<TqShapeBtn>(X, 90, 30, 30);
    B->SetShape(Shape);
    X += 40;
  }
  auto* Check = Back.Add<TqcFancyCheckBox>(10, 150, 120, 30);
  Check->SetCaption("Skinned box");
  Check->SetColor(0x00D0F0D0);
  auto Tick = vcltest::MakeBitmap(16, 16, clFuchsia);
  Tick->Canvas()->Brush()->SetColor(clGreen);
  Tick->Canvas()->Ellipse(2, 2, 14, 14);
  Check->SetTransparentColor(clFuchsia);
  Check->SetGlyphOf<skChecked>(Tick.get());
  Check->OffsetOf<skChecked>()->SetLeft(4);
  Check->OffsetOf<skChecked>()->SetTop(7);
  Check->Loaded();
  Check->SetChecked(true);
  auto* Push = Back.Add<TqcFancyButton>(140, 150, 89, 33);
  Push->SetCaption("Skinned");
  Push->SetColor(0x00F0D0C0);
  Push->Loaded();
  auto* Edit = Back.Add<TEdit>(10, 200, 250, 21);
  Edit->SetText("303415E98C0A11800000A3C8");
  Back.Show();

  // The shaped form: a ring with a ragged edge, its hole over the buttons.
  TFormPtr Shaped(TCustomForm::CreateNew<TForm>(nullptr));
  Shaped->SetBounds(250, 30, 262, 262);
  Shaped->SetColor(clNavy);
  auto* Shape = TComponent::Create<TqcFancyForm>(Shaped.get());
  auto* Label = TComponent::Create<TqcShapeColorBtn>(Shaped.get());
  Label->SetParent(Shaped.get());
  Label->SetBounds(100, 12, 62, 44);
  Label->SetShape(sbRTriangle);
  Shape->Loaded();
  auto Picture = vcltest::MakeBitmap(262, 262, clWhite);
  for (int Y = 0; Y < 262; ++Y)
    for (int Xp = 0; Xp < 262; ++Xp) {
      const int DX = Xp - 131, DY = Y - 131, R2 = DX * DX + DY * DY, Edge = 126 + (Xp * 7 + Y * 3) % 5;
      if (R2 < Edge * Edge && R2 > 55 * 55) Picture->Canvas()->SetPixels(Xp, Y, clBlack);
    }
  Shape->SerRgnFromBmp(Picture.get(), clWhite);
  Shaped->Show();
  AppPumpRounds(10);

  // The screen over both windows.
  TBitmap Shot;
  Shot.SetPixelFormat(pf24bit);
  Shot.SetSize(640, 380);
  HDC DC = GetDC(nullptr);
  BitBlt(Shot.Canvas()->Handle(), 0, 0, 640, 380, DC, 30, 30, SRCCOPY);
  ReleaseDC(nullptr, DC);
  // The hole at the ring's centre shows the window beneath, not the navy form.
  const TColor Centre = Shot.Canvas()->Pixels(250 + 131 - 30, 30 + 131 - 30);
  EXPECT_NE(Hex(Centre), Hex(clNavy));
  EXPECT_EQ(Hex(Shot.Canvas()->Pixels(250 + 20 - 30, 30 + 131 - 30)), Hex(clNavy)) << "the ring";
  Shot.SaveToFile(AnsiString(ORVALEN_SHOTS) + "/regions.bmp");
}

}  // namespace
