// Tab sheets on the screen: backgrounds that continue under their tabs, see-through levels over
// a two-colour parent, flat buttons, tab colours, and a hidden first page.
#include "package/tests/pkgtest.h"

namespace {

using namespace pkgtest;

constexpr TColor A = 0x2040C0, B = 0xC04020, C = 0x20C040, D = 0x808020;

// The sheet's client pixel at (X, Y) of the sheet, read from the sheet's window.
TColor SheetPixel(TBMTabSheet* S, int X, int Y) { return vcltest::PixelAt(S->Handle(), X, Y); }

TEST(SheetBackground, TiledContinuesUnderTheTab) {
  TPageForm F(2);
  auto Stripes = vcltest::MakeBitmap(8, 8, A);
  Stripes->Canvas()->Brush()->SetColor(B);
  Stripes->Canvas()->FillRect(Rect(4, 0, 8, 8));
  F.Pages->SetShowGlyphs(false);
  F.Sheet[0]->SetBackgroundStyle(bgsTailed);
  F.Sheet[0]->SetBackgroundBitmap(Stripes.get());
  F.Show();
  auto Want = [](int PageX) { return Hex(PageX % 8 < 4 ? A : B); };
  TBMTabSheet* S = F.Sheet[0];
  for (int X : {0, 3, 4, 9, 100}) EXPECT_EQ(Hex(SheetPixel(S, X, 10)), Want(S->Left() + X)) << X;
  // The selected tab: the buffer from its own place, above the text.
  const TRect T = F.Pages->Drawn.at(0);
  auto Shot = F.Capture();
  for (int X = T.Left + 3; X < T.Left + 20; ++X) EXPECT_EQ(Hex(Shot->Canvas()->Pixels(X, T.Top + 2)), Want(X)) << X;
  // The other tab keeps the colour of its own page.
  EXPECT_EQ(Hex(Shot->Canvas()->Pixels(F.Pages->Drawn.at(1).Left + 2, F.Pages->Drawn.at(1).Top + 2)),
            Hex(ColorToRGB(F.Sheet[1]->Color())));
}

TEST(SheetBackground, StretchedOverThePageControlInsideAMargin) {
  TPageForm F(1);
  auto Four = vcltest::MakeBitmap(2, 2, A);
  Four->Canvas()->SetPixels(1, 0, B);
  Four->Canvas()->SetPixels(0, 1, C);
  Four->Canvas()->SetPixels(1, 1, D);
  F.Pages->SetShowGlyphs(false);
  F.Sheet[0]->SetBackgroundBitmap(Four.get());
  F.Show();
  TBMTabSheet* S = F.Sheet[0];
  EXPECT_EQ(Hex(SheetPixel(S, 4, 4)), Hex(A));
  EXPECT_EQ(Hex(SheetPixel(S, S->Width() - 4, 4)), Hex(B));
  EXPECT_EQ(Hex(SheetPixel(S, 4, S->Height() - 4)), Hex(C));
  EXPECT_EQ(Hex(SheetPixel(S, S->Width() - 4, S->Height() - 4)), Hex(D));
  const TRect T = F.Pages->Drawn.at(0);
  EXPECT_EQ(Hex(F.Capture()->Canvas()->Pixels(T.Left + 4, T.Top + 2)), Hex(A));
}

// A parent painting its left half in one colour and its right half in another.
class TTwoColour : public TCustomControl {
public:
  explicit TTwoColour(TComponent* AOwner) : TCustomControl(AOwner) { IncludeStyle(csAcceptsControls); }
  static constexpr TColor Left = 0x3060F0, Right = 0xE0A010;
protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Left);
    Canvas()->FillRect(Rect(0, 0, Width() / 2, Height()));
    Canvas()->Brush()->SetColor(Right);
    Canvas()->FillRect(Rect(Width() / 2, 0, Width(), Height()));
  }
};

// Channel by channel: c * (256 - a) / 256 + k * a / 256, each term truncated.
TColor Blend(TColor Under, TColor K, int Level) {
  const int Alpha = (100 - Level) * 255 / 100;
  TColor R = 0;
  for (int S : {0, 8, 16}) R |= (Channel(Under, S) * (256 - Alpha) / 256 + Channel(K, S) * Alpha / 256) << S;
  return R;
}

// A page control across the middle of a two-colour parent, its page see-through.
struct TOverTwo {
  TFormPtr Form{TForm::CreateNew<TForm>(nullptr)};
  TTwoColour* Parent;
  TBMPageControl* Pages;
  TBMTabSheet* Sheet;
  TBMTabSheet* Other;
  static constexpr TColor K = 0x10F010;
  TOverTwo() {
    TBMPageModule::HoldWalk(true);
    Form->SetBounds(60, 60, 480, 340);
    Parent = TComponent::Create<TTwoColour>(Form.get());
    Parent->SetBounds(10, 10, 400, 260);
    Parent->SetParent(Form.get());
    Pages = TComponent::Create<TBMPageControl>(Form.get());
    Pages->SetBounds(40, 20, 320, 200);
    Pages->SetParent(Parent);
    Pages->SetShowGlyphs(false);
    Sheet = TComponent::Create<TBMTabSheet>(Form.get());
    Sheet->SetCaption("Through");
    Sheet->SetColor(K);
    Sheet->SetPageControl(Pages);
    Other = TComponent::Create<TBMTabSheet>(Form.get());
    Other->SetCaption("Other");
    Other->SetPageControl(Pages);
    Pages->SetActivePage(Sheet);
    vcltest::MoveMouse(GetDesktopWindow(), 1000, 740);
    Form->Show();
    vcltest::PumpRounds(3);
  }
  ~TOverTwo() {
    Form.reset();
    vcltest::PumpMessages();
    TBMPageModule::HoldWalk(false);
  }
  // The parent's colour at a point of the page control.
  TColor Under(int PagesX) const {
    return Pages->Left() + PagesX < Parent->Width() / 2 ? TTwoColour::Left : TTwoColour::Right;
  }
  // The sheet pixel over a point of the page control.
  TColor At(int PagesX, int PagesY) { return SheetPixel(Sheet, PagesX - Sheet->Left(), PagesY - Sheet->Top()); }
};

TEST(SheetTransparency, LevelsBlendWhatLiesBehind) {
  TOverTwo T;
  T.Sheet->SetTransparent(true);
  const int LeftX = T.Parent->Width() / 2 - T.Pages->Left() - 40, RightX = LeftX + 80;
  const int Y = T.Sheet->Top() + 40;
  for (int Level : {100, 50, 1}) {
    T.Sheet->SetTransparentLevel(Level);
    EXPECT_EQ(Hex(T.At(LeftX, Y)), Hex(Blend(TTwoColour::Left, TOverTwo::K, Level))) << Level;
    EXPECT_EQ(Hex(T.At(RightX, Y)), Hex(Blend(TTwoColour::Right, TOverTwo::K, Level))) << Level;
  }
  T.Sheet->SetTransparentLevel(0);
  EXPECT_EQ(T.Sheet->TransparentLevel(), 1);
  T.Sheet->SetTransparentLevel(150);
  EXPECT_EQ(T.Sheet->TransparentLevel(), 100);
}

TEST(SheetTransparency, LevelsOverABackgroundBlendTowardsIt) {
  TOverTwo T;
  T.Sheet->SetTransparent(true);
  T.Sheet->SetTransparentLevel(50);
  T.Sheet->SetBackgroundBitmap(vcltest::MakeBitmap(4, 4, A).get());
  const int X = 10, Y = T.Sheet->Top() + 40;
  EXPECT_EQ(Hex(T.At(X, Y)), Hex(Blend(TTwoColour::Left, A, 50)));
}

TEST(SheetTransparency, AMoveCapturesTheParentAgain) {
  TOverTwo T;
  T.Sheet->SetTransparent(true);
  T.Sheet->SetTransparentLevel(50);
  // A point just left of the parent's middle, then the control moved right past it.
  const int X = T.Parent->Width() / 2 - T.Pages->Left() - 20, Y = T.Sheet->Top() + 40;
  EXPECT_EQ(Hex(T.At(X, Y)), Hex(Blend(TTwoColour::Left, TOverTwo::K, 50)));
  T.Pages->SetLeft(T.Pages->Left() + 40);
  vcltest::PumpMessages();
  EXPECT_EQ(Hex(T.At(X, Y)), Hex(Blend(TTwoColour::Right, TOverTwo::K, 50)));
}

TEST(SheetTransparency, FlatButtonsShowTheParent) {
  TOverTwo T;
  T.Pages->SetTransparent(true);
  T.Pages->SetStyle(tsFlatButtons);
  vcltest::PumpMessages();
  const TRect Tab = T.Pages->TabRect(1);
  auto Shot = vcltest::CaptureClient(T.Pages->Handle());
  // The strips round the unselected button and the space after the buttons.
  for (TPoint P : {Point(Tab.Left - 1, (Tab.Top + Tab.Bottom) / 2), Point((Tab.Left + Tab.Right) / 2, Tab.Top),
                   Point((Tab.Left + Tab.Right) / 2, Tab.Bottom), Point(Tab.Right + 30, Tab.Top + 2)})
    EXPECT_EQ(Hex(Shot->Canvas()->Pixels(P.X, P.Y)), Hex(T.Under(P.X))) << P.X << "," << P.Y;
}

// Without a page control of its own kind there is nothing to see through: the sheet's colour.
TEST(SheetTransparency, NoBufferErasesWithTheColour) {
  vcltest::TTestHost Host(200, 120);
  auto* S = Host.Add<TBMTabSheet>(10, 10, 150, 80);
  S->SetAlign(alNone);
  S->SetBounds(10, 10, 150, 80);
  S->SetColor(0x3080C0);
  S->SetTransparent(true);
  S->SetVisible(true);
  vcltest::PumpMessages();
  EXPECT_EQ(S->RefreshBuffer(), nullptr);
  EXPECT_EQ(Hex(SheetPixel(S, 20, 20)), Hex(0x3080C0));
}

TEST(SheetTabs, EachColorization) {
  constexpr TColor Back = 0x406080, S0 = 0x10E0F0, S1 = 0xF0A0C0, Sel = 0x00C000, Unsel = 0x0000C0;
  TPageForm F(2);
  F.Pages->SetColor(Back);
  F.Pages->SetColorSelected(Sel);
  F.Pages->SetColorUnselected(Unsel);
  F.Pages->SetShowGlyphs(false);
  F.Sheet[0]->SetColor(S0);
  F.Sheet[1]->SetColor(S1);
  F.Show();
  struct Case {
    TTabColorization Mode;
    TColor Selected, Unselected;
  } Cases[] = {{tcNone, Back, Back}, {tcPage, S0, S1}, {tcActive, Sel, Unsel}, {tcActivePage, S0, Unsel}};
  for (const Case& C : Cases) {
    F.Pages->SetTabColorization(C.Mode);
    auto Shot = F.Capture();
    const TRect T0 = F.Pages->Drawn.at(0), T1 = F.Pages->Drawn.at(1);
    EXPECT_EQ(Hex(Shot->Canvas()->Pixels(T0.Left + 4, T0.Top + 2)), Hex(C.Selected)) << C.Mode;
    EXPECT_EQ(Hex(Shot->Canvas()->Pixels(T1.Left + 2, T1.Top + 2)), Hex(C.Unselected)) << C.Mode;
  }
}

// Tab n is the n-th page with a tab: with the first page hidden, tab 0 is the second page's.
TEST(SheetTabs, AHiddenFirstPage) {
  constexpr TColor S1 = 0x10E0F0, S2 = 0xF0A0C0, G = 0x2080E0;
  TPageForm F(3);
  F.Sheet[0]->SetTabVisible(false);
  F.Sheet[1]->SetColor(S1);
  F.Sheet[2]->SetColor(S2);
  F.Sheet[1]->SetGlyph(GlyphBitmap(16, 16, G, clWhite).get());
  F.Pages->SetActivePage(F.Sheet[1]);
  F.Pages->SetHotTrack(true);
  F.Show();
  ASSERT_EQ(F.Pages->Tabs()->Count(), 2);
  auto Shot = F.Capture();
  const TRect T0 = F.Pages->Drawn.at(0), T1 = F.Pages->Drawn.at(1);
  EXPECT_EQ(Hex(Shot->Canvas()->Pixels(T0.Left + 3, T0.Top + 2)), Hex(S1));
  EXPECT_EQ(Hex(Shot->Canvas()->Pixels(T0.Left + 2 + 2 + 8, T0.Top + 4 + 8)), Hex(G));
  EXPECT_EQ(Hex(Shot->Canvas()->Pixels(T1.Left + 2, T1.Top + 2)), Hex(S2));
  // The cloud colour of the page under the mouse.
  F.Pages->SetCloudColorization(ccPage);
  F.Sheet[1]->SetHotTrackCloudColor(clRed);
  F.Sheet[2]->SetHotTrackCloudColor(clLime);
  F.Hover(1);
  EXPECT_GT(Count(F.Capture().get(), F.Pages->Drawn.at(1), clLime, 60), 0);
  EXPECT_EQ(Count(F.Capture().get(), F.Pages->Drawn.at(1), clRed, 60), 0);
}

}  // namespace
