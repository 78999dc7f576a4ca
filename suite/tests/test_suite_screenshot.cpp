// Forms with the suite's buttons, framed lists, flat boxes, spin buttons and spin edits, and with
// the colour and font pickers and the bitmap controls, saved as pictures for people to look at
// (the build converts them to PNG).
#include "suite/qAnimate.h"
#include "suite/qBtn2.h"
#include "suite/qEdit.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

using namespace suitetest;

namespace {

TEST(SuiteScreenshot, FormWithTheButtonsAndEdits) {
  TFormScene S(560, 300);
  S.Form->SetColor(clBtnFace);
  S.Form->SetCaption("Suite buttons");
  auto* Colour = S.Add<TqColorBtn>(10, 10, 110, 33);
  Colour->SetCaption("&Colour");
  Colour->SetColor(0x00C8E0F0);
  Colour->SetDefault(true);
  auto* Grad = S.Add<TqGradBtn>(130, 10, 110, 33);
  Grad->SetCaption("Gradient");
  Grad->SetColor(0x00803000);
  Grad->SetEndColor(0x00F0D0A0);
  Grad->Font()->SetColor(clWhite);
  auto* Bit = S.Add<TqBitColBtn>(250, 10, 110, 33);
  Bit->SetCaption("Glyph");
  Bit->SetColor(clBtnFace);
  auto Glyph = vcltest::MakeBitmap(16, 16, clFuchsia);
  Glyph->Canvas()->Brush()->SetColor(clGreen);
  Glyph->Canvas()->Ellipse(2, 2, 14, 14);
  Bit->SetAutoBackColor(true);
  Bit->SetGlyph(Glyph.get());
  auto* Flat = S.Add<TqNWColorBtn>(370, 10, 90, 33);
  Flat->SetCaption("Twin");
  Flat->SetColor(0x00D0F0D0);
  auto* Glass = S.Add<TqNWBitColBtn>(470, 10, 80, 33);
  Glass->SetCaption("Glass");
  Glass->SetTransparent(true);
  Glass->SetGlassValue(64);

  auto* Memo = S.Add<TqcMemo>(10, 60, 150, 80);
  Memo->Lines()->Add("Framed memo");
  Memo->Lines()->Add("303415E98C0A11800000A3C8");
  Memo->SetFrameStyle(qcetNormal);
  auto* List = S.Add<TqcListBox>(170, 60, 130, 80);
  for (const char* Item : {"GTIN96", "GTIN64", "SGTIN", "SSCC"}) List->Items()->Add(Item);
  List->SetFrameStyle(qcetAlwaysFlatThickFrame);
  List->SetFrameColor(clNavy);
  auto* Combo = S.Add<TqcComboBox>(310, 60, 140, 21);
  for (const char* Item : {"Hex TagID", "EPC Tag ID"}) Combo->Items()->Add(Item);
  Combo->SetItemIndex(0);
  Combo->SetFrameStyle(qcetNormal);

  auto* Check = S.Add<TqcCheckBox>(310, 95, 120, 20);
  Check->SetCaption("Flat check box");
  Check->SetChecked(true);
  Check->SetFrameStyle(qcbtNormal);
  auto* Radio1 = S.Add<TqcRadioButton>(310, 118, 120, 20);
  Radio1->SetCaption("GTIN96 Tag Type");
  Radio1->SetChecked(true);
  Radio1->SetFrameStyle(qcbtNormal);
  auto* Radio2 = S.Add<TqcRadioButton>(310, 141, 120, 20);
  Radio2->SetCaption("GTIN64 Tag Type");
  Radio2->SetFrameStyle(qcbtNormal);
  Radio2->SetEnabled(false);

  S.Add<TqcSpinBtn>(460, 60, 16, 21);
  S.Add<TqcCenterSpinBtn>(490, 60, 20, 40);

  auto* Spin = S.Add<TqcSpinEdit>(10, 160, 120, 21);
  Spin->SetFrameStyle(qcetNormal);
  Spin->SetValue(96);
  auto* FloatSpin = S.Add<TqcFloatSpinEdit>(140, 160, 120, 21);
  FloatSpin->SetFrameStyle(qcetNormal);
  FloatSpin->SetValue(1.25L);
  auto* Browse = S.Add<TqcButtonEdit>(270, 170, 180, 21);
  Browse->SetFrameStyle(qcetNormal);
  Browse->SetText("RejectsSystem.ini");
  auto Dots = vcltest::MakeBitmap(12, 12, clFuchsia);
  for (int X : {1, 5, 9}) Dots->Canvas()->SetPixels(X, 6, clBlack);
  Browse->SetGlyph(Dots.get());

  S.Show();
  AppPumpRounds(5);
  auto Shot = vcltest::CaptureClient(S.Form->Handle());
  EXPECT_EQ(Shot->Width(), 560);
  const AnsiString Path = AnsiString(ORVALEN_SHOTS) + "/suite-buttons.bmp";
  Shot->SaveToFile(Path);
  TBitmap Back;
  Back.LoadFromFile(Path);
  EXPECT_EQ(Back.Width(), 560);
  EXPECT_EQ(Back.Height(), 300);
}

TEST(SuiteScreenshot, FormWithThePickersAndBitmaps) {
  TFormScene S(560, 260);
  S.Form->SetColor(clBtnFace);
  S.Form->SetCaption("Suite pickers");
  auto* Colours = S.Add<TqcColorListBox>(10, 10, 170, 200);
  Colours->SetColorValue(clTeal);
  auto* Combo = S.Add<TqcColorComboBox>(10, 220, 170, 21);
  Combo->SetColorOptions(ColorMode(qcmColors) | ColorMode(qcmNames) | ColorMode(qcmSysColors));
  Combo->SetColorValue(clHighlight);
  auto* Fonts = S.Add<TqcFontListBox>(190, 10, 200, 231);
  auto* Picture = S.Add<TqBitmap>(400, 10, 150, 100);
  auto Stripes = vcltest::MakeBitmap(60, 40, clWhite);
  for (int K = 0; K < 6; ++K) {
    Stripes->Canvas()->Brush()->SetColor(TColor(0x00204080 + 0x00201008 * K));
    Stripes->Canvas()->FillRect(Rect(10 * K, 5 * K, 10 * K + 10, 40));
  }
  Picture->SetDrawType(bdDrawStretch);
  Picture->SetColor(clBtnFace);
  Picture->SetBitMap(Stripes.get());
  auto* Frames = S.Add<TqAnimated>(400, 130, 40, 40);
  Frames->SetFrameCount(3);
  Frames->SetBitMap(Stripes.get());
  Frames->SetFrame(1);

  S.Show();
  Fonts->SetFontName("Tahoma");
  AppPumpRounds(5);
  auto Shot = vcltest::CaptureClient(S.Form->Handle());
  EXPECT_EQ(Shot->Width(), 560);
  Shot->SaveToFile(AnsiString(ORVALEN_SHOTS) + "/suite-pickers.bmp");
}

}  // namespace
