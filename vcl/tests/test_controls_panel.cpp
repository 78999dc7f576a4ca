// The panel and Frame3D: bevel and border pixels, the caption's place, children aligned inside
// the frame, and the window border.
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TColor Sys(int Index) { return TColor(GetSysColor(Index)); }

TEST(Frame3D, NestedFramesAndTheRectInside) {
  auto B = vcltest::MakeBitmap(10, 8, clWhite);
  TRect R = Rect(0, 0, 10, 8);
  Frame3D(B->Canvas(), R, clRed, clBlue, 2);
  EXPECT_EQ(R, Rect(2, 2, 8, 6));
  auto Px = [&](int X, int Y) { return B->Canvas()->Pixels(X, Y); };
  for (int Ring = 0; Ring < 2; ++Ring) {
    SCOPED_TRACE(Ring);
    const int L = Ring, T = Ring, Rt = 9 - Ring, Bt = 7 - Ring;
    for (int Y = T; Y < Bt; ++Y) EXPECT_EQ(Px(L, Y), clRed) << "left, row " << Y;
    for (int X = L; X < Rt; ++X) EXPECT_EQ(Px(X, T), clRed) << "top, column " << X;
    for (int Y = T; Y <= Bt; ++Y) EXPECT_EQ(Px(Rt, Y), clBlue) << "right, row " << Y;
    for (int X = L; X <= Rt; ++X) EXPECT_EQ(Px(X, Bt), clBlue) << "bottom, column " << X;
  }
  for (int Y = 2; Y < 6; ++Y)
    for (int X = 2; X < 8; ++X) EXPECT_EQ(Px(X, Y), clWhite) << X << ", " << Y;

  TRect Same = Rect(1, 1, 5, 5);
  Frame3D(B->Canvas(), Same, clRed, clBlue, 0);
  EXPECT_EQ(Same, Rect(1, 1, 5, 5));
}

// The panel's protected properties, published for the test.
class TTestPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
  using TCustomPanel::SetAlignment;
  using TCustomPanel::SetBevelInner;
  using TCustomPanel::SetBevelOuter;
  using TCustomPanel::SetBevelWidth;
  using TCustomPanel::BevelWidth;
  using TCustomPanel::SetBorderWidth;
  using TCustomPanel::BorderWidth;
  using TCustomPanel::SetBorderStyle;
  using TWinControl::SetCtl3D;
  using TControl::SetCaption;
  using TControl::Font;
  using TControl::Color;
  using TControl::SetColor;
};

// The panel's WM_PAINT into a bitmap of its client size.
std::unique_ptr<TBitmap> PaintOf(TWinControl* C) {
  auto B = vcltest::MakeBitmap(C->ClientWidth(), C->ClientHeight(), clBlack);
  C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(B->Canvas()->Handle()), 0);
  return B;
}

TEST(CustomPanel, StartsAsARaisedFaceColouredPanel) {
  TTestPanel P(nullptr);
  EXPECT_EQ(P.Width(), 185);
  EXPECT_EQ(P.Height(), 41);
  EXPECT_EQ(P.Color(), clBtnFace);
  EXPECT_TRUE(P.ControlStyle() & StyleOf(csAcceptsControls));
  EXPECT_TRUE(P.ControlStyle() & StyleOf(csSetCaption));
  EXPECT_TRUE(P.ControlStyle() & StyleOf(csOpaque));
  P.SetBevelWidth(0);
  EXPECT_EQ(P.BevelWidth(), 1);
  P.SetBorderWidth(-3);
  EXPECT_EQ(P.BorderWidth(), 0);
}

TEST(CustomPanel, PaintsBevelsBorderAndFace) {
  vcltest::TTestHost Host;
  auto* P = Host.Add<TTestPanel>(10, 10, 60, 40);
  P->SetColor(clTeal);
  P->SetBevelWidth(2);
  P->SetBorderWidth(3);
  P->SetBevelInner(bvLowered);
  auto B = PaintOf(P);
  const TColor Light = Sys(COLOR_BTNHIGHLIGHT), Dark = Sys(COLOR_BTNSHADOW);
  // Along row 20 from the left edge and column 30 from the bottom: outer raised bevel (2),
  // border (3), inner lowered bevel (2), face.
  const TColor FromLeft[] = {Light, Light, clTeal, clTeal, clTeal, Dark, Dark, clTeal};
  const TColor FromRight[] = {Dark, Dark, clTeal, clTeal, clTeal, Light, Light, clTeal};
  for (int I = 0; I < 8; ++I) {
    EXPECT_EQ(B->Canvas()->Pixels(I, 20), FromLeft[I]) << "left, column " << I;
    EXPECT_EQ(B->Canvas()->Pixels(I + 20, I), FromLeft[I]) << "top, row " << I;
    EXPECT_EQ(B->Canvas()->Pixels(59 - I, 20), FromRight[I]) << "right, column " << 59 - I;
    EXPECT_EQ(B->Canvas()->Pixels(30, 39 - I), FromRight[I]) << "bottom, row " << 39 - I;
  }

  P->SetBevelOuter(bvLowered);
  P->SetBevelInner(bvNone);
  B = PaintOf(P);
  EXPECT_EQ(B->Canvas()->Pixels(0, 20), Dark);
  EXPECT_EQ(B->Canvas()->Pixels(59, 20), Light);
  EXPECT_EQ(B->Canvas()->Pixels(5, 20), clTeal);
}

TEST(CustomPanel, CaptionIsCentredVerticallyAndAligned) {
  vcltest::TTestHost Host;
  auto* P = Host.Add<TTestPanel>(10, 10, 120, 40);
  P->SetCaption("Wide");
  P->Font()->SetColor(clRed);
  P->SetBorderWidth(4);
  const struct {
    TAlignment Alignment;
    int Left, Right;  // where the ink may lie
  } Cases[] = {{taLeftJustify, 5, 40}, {taRightJustify, 80, 115}, {taCenter, 40, 80}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(int(C.Alignment));
    P->SetAlignment(C.Alignment);
    auto B = PaintOf(P);
    int L = 1000, R = -1, T = 1000, Bot = -1;
    for (int Y = 0; Y < 40; ++Y)
      for (int X = 0; X < 120; ++X)
        if (B->Canvas()->Pixels(X, Y) == clRed) {
          L = std::min(L, X);
          R = std::max(R, X);
          T = std::min(T, Y);
          Bot = std::max(Bot, Y);
        }
    ASSERT_GE(R, 0) << "no caption";
    EXPECT_GE(L, C.Left);
    EXPECT_LE(R, C.Right);
    if (C.Alignment == taCenter) {
      EXPECT_LE(std::abs((L + R) - 120), 3) << L << ".." << R;
    }
    EXPECT_LE(std::abs((T + Bot) - 40), 4) << T << ".." << Bot;
  }
}

TEST(CustomPanel, AlignsChildrenInsideTheFrame) {
  vcltest::TTestHost Host;
  auto* P = Host.Add<TTestPanel>(10, 10, 100, 60);
  auto* Child = TComponent::Create<TWinControl>(P);
  Child->SetParent(P);
  Child->SetAlign(alClient);
  EXPECT_EQ(Child->BoundsRect(), Rect(1, 1, 99, 59));
  P->SetBevelInner(bvRaised);
  P->SetBevelWidth(2);
  P->SetBorderWidth(3);
  EXPECT_EQ(Child->BoundsRect(), Rect(7, 7, 93, 53));
  P->SetBevelOuter(bvNone);
  EXPECT_EQ(Child->BoundsRect(), Rect(5, 5, 95, 55));
}

TEST(CustomPanel, SingleBorderIsAWindowBorder) {
  vcltest::TTestHost Host;
  auto* P = Host.Add<TTestPanel>(10, 10, 100, 60);
  P->HandleNeeded();
  EXPECT_EQ(P->ClientWidth(), 100);
  P->SetBorderStyle(bsSingle);
  EXPECT_TRUE(GetWindowLongPtrA(P->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(P->ClientWidth(), 100 - 2 * GetSystemMetrics(SM_CXEDGE));
  P->SetCtl3D(false);
  EXPECT_FALSE(GetWindowLongPtrA(P->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(GetWindowLongPtrA(P->Handle(), GWL_STYLE) & WS_BORDER);
  EXPECT_EQ(P->ClientWidth(), 100 - 2 * GetSystemMetrics(SM_CXBORDER));
}

// The published panel: its defaults, and a text form that sets its frame.
struct TFormFree {
  void operator()(TCustomForm* F) const {
    TObject::Free(F);
    vcltest::PumpMessages();
  }
};

TEST(Panel, PublishesTheFrameAndReadsItFromAForm) {
  ExpectClassDefaultsMatch(TPanel::StaticClass());
  TStringStream Text(
      "object F: TForm\n"
      "  object P: TPanel\n"
      "    Left = 4\n    Top = 6\n    Width = 120\n    Height = 50\n"
      "    Caption = 'Hello'\n    BevelInner = bvRaised\n    BevelOuter = bvLowered\n"
      "    BorderWidth = 6\n    Alignment = taLeftJustify\n    Color = clRed\n"
      "  end\n"
      "end\n");
  TMemoryStream Bin;
  ObjectTextToBinary(&Text, &Bin);
  Bin.SetPosition(0);
  std::unique_ptr<TForm, TFormFree> Form(TForm::CreateNew<TForm>(nullptr));
  ReadComponentRes(&Bin, Form.get());
  auto* P = dynamic_cast<TPanel*>(Form->FindComponent("P"));
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->Parent(), Form.get());
  EXPECT_EQ(P->Caption(), "Hello");
  EXPECT_EQ(P->BevelInner(), bvRaised);
  EXPECT_EQ(P->BevelOuter(), bvLowered);
  EXPECT_EQ(P->BorderWidth(), 6);
  EXPECT_EQ(P->Alignment(), taLeftJustify);
  // The frame took effect: an aligned child sits inside both bevels and the border.
  auto* Child = TComponent::Create<TPanel>(P);
  Child->SetParent(P);
  Child->SetAlign(alClient);
  EXPECT_EQ(Child->BoundsRect(), Rect(8, 8, 112, 42));
  auto B = PaintOf(P);
  EXPECT_EQ(B->Canvas()->Pixels(0, 0), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(B->Canvas()->Pixels(4, 20), clRed);
}

}  // namespace
