// A form with the movable panel, the tabbed list box under a header, hair lines, arrow heads, a
// divider and frames, with size limits, the title bar switch and a drawing canvas on it, saved
// as a picture for people to look at (the build converts it to PNG).
#include "suite/Mystd.h"
#include "suite/Std2.h"
#include "suite/qAnimate.h"
#include "suite/qBtn2.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

using namespace suitetest;

namespace {

TEST(SuiteScreenshot, FormWithTheToolsAndDecorations) {
  TFormScene S(520, 300);
  S.Form->SetColor(clBtnFace);
  S.Form->SetCaption("Suite tools");
  auto* Limits = TComponent::Create<TqMinMax>(S.Form.get());
  Limits->SetMaxDragWidth(800);
  TComponent::Create<TqTitleBar>(S.Form.get());

  auto* Header = S.Add<THeaderControl>(10, 10, 300, 22);
  Header->SetAlign(alNone);
  Header->SetBounds(10, 10, 300, 22);
  const char* Titles[] = {"Field", "Value", "Bits"};
  const int Widths[] = {100, 100, 100};
  for (int I = 0; I < 3; ++I) {
    THeaderSection* Sec = Header->Sections()->Add();
    Sec->SetText(Titles[I]);
    Sec->SetWidth(Widths[I]);
  }
  auto* List = S.Add<TqTabListbox>(10, 32, 300, 120);
  for (const char* Item : {"Header\t48\t8", "Filter\t1\t3", "Partition\t5\t3", "Company\t0359011\t24",
                           "Item\t010310\t20", "Serial\t41928\t38"})
    List->Items()->Add(Item);
  List->SetfromHeaderControl(Header);

  auto* Move = S.Add<TqMovePanel>(330, 10, 170, 60);
  Move->SetCaption("Drag me");
  Move->SetBevelInner(bvLowered);

  auto* Divider = S.Add<TqDivider>(10, 165, 490, 2);
  (void)Divider;
  auto* Upright = S.Add<TqDivider>(320, 175, 2, 110);
  Upright->SetOrientation(doVert);
  Upright->SetRaised(true);

  auto* Frame = S.Add<TqFrame>(10, 180, 140, 100);
  Frame->SetBevelInner(bvLowered);
  Frame->SetBorderWidth(3);
  Frame->SetColor(clBtnFace);
  auto* Filled = S.Add<TqFrame>(160, 180, 140, 100);
  Filled->SetFilled(true);
  Filled->SetColor(0x00E0F0FF);
  Filled->SetBevelOuter(bvLowered);
  Filled->SetBevelWidth(2);

  struct TLine {
    TqcLineStart Start;
    bool Diagonal, Vertical;
    TColor Colour;
    unsigned Size;
  } Lines[] = {{qlsTop, true, false, clNavy, 1},
               {qlsBottom, true, false, clMaroon, 3},
               {qlsTop, false, true, clGreen, 2},
               {qlsBottom, false, false, clPurple, 2}};
  for (int I = 0; I < 4; ++I) {
    auto* L = S.Add<TqcHairLine>(20 + I * 32, 190, 28, 28);
    L->SetLineStart(Lines[I].Start);
    L->SetDiagonal(Lines[I].Diagonal);
    L->SetVertical(Lines[I].Vertical);
    L->SetLineColor(Lines[I].Colour);
    L->SetSize(Lines[I].Size);
  }
  const TqcArrowDirection Dirs[] = {qadN, qadE, qadS, qadW, qadNE, qadSE, qadSW, qadNW};
  for (int I = 0; I < 8; ++I) {
    auto* A = S.Add<TqcArrowHead>(335 + (I % 4) * 42, 180 + (I / 4) * 52, 30, 30);
    A->SetDirection(Dirs[I]);
    A->SetStyle(TqcArrowStyle(I % 3));
    A->SetArrowColor(I % 2 ? clNavy : clMaroon);
  }
  auto* Pad = S.Add<TqMovePanel>(330, 80, 170, 75);
  Pad->SetColor(clWhite);
  Pad->SetBevelOuter(bvLowered);

  S.Show();
  AppPumpRounds(5);
  auto* Canvas = TComponent::Create<TqCompCanvas>(S.Form.get());
  Canvas->SetControlComponent(Pad);
  Canvas->StartPaint();
  Canvas->Canvas()->Pen()->SetColor(clRed);
  Canvas->Canvas()->Pen()->SetWidth(2);
  Canvas->Canvas()->Ellipse(20, 10, 150, 65);
  Canvas->Canvas()->Brush()->SetStyle(bsClear);
  Canvas->Canvas()->TextOut(52, 30, "Canvas");
  Canvas->EndPaint();

  auto Shot = vcltest::CaptureClient(S.Form->Handle());
  EXPECT_EQ(Shot->Width(), 520);
  const AnsiString Path = AnsiString(ORVALEN_SHOTS) + "/suite-tools.bmp";
  Shot->SaveToFile(Path);
  TBitmap Back;
  Back.LoadFromFile(Path);
  EXPECT_EQ(Back.Height(), 300);
}

}  // namespace
