// The colour buttons on a real form, under real mouse and keyboard input: hover, press and drag,
// Space, Enter and Escape, accelerators, the modal result, the looks, glyph states, gradients,
// icons and the transparent twin.
#include "suite/qAnimate.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

using namespace suitetest;

namespace {

constexpr TColor Face = clSilver;
constexpr TColor Shade = 0x008000;    // ShadowColor
constexpr TColor Light = 0x00FFFF;    // HighLightColor

struct TLog : TObject {
  int Clicks = 0, Enters = 0, Leaves = 0;
  void Click(TObject*) { ++Clicks; }
  void Enter(TObject*) { ++Enters; }
  void Leave(TObject*) { ++Leaves; }
  void Reset() { Clicks = Enters = Leaves = 0; }
};

using TScene = TFormScene;

template <class B> B* Styled(B* Btn, TLog* Log) {
  Btn->SetColor(Face);
  Btn->SetShadowColor(Shade);
  Btn->SetHighLightColor(Light);
  Btn->Font()->SetColor(clBlack);
  if (Log) {
    Btn->OnClick = EVENT(Log, TLog::Click);
    Btn->OnMouseEnter = EVENT(Log, TLog::Enter);
    Btn->OnMouseLeave = EVENT(Log, TLog::Leave);
  }
  return Btn;
}

TColor At(TWinControl* C, int X, int Y) { return vcltest::PixelAt(C->Handle(), X, Y); }

TEST(ColorBtn, PublishedDefaultsMatchFreshButtons) {
  for (TClass C : {TqColorBtn::StaticClass(), TqGradBtn::StaticClass(), TqBitColBtn::StaticClass(),
                   TqIconColBtn::StaticClass(), TqNWColorBtn::StaticClass(), TqNWBitColBtn::StaticClass(),
                   TqNWIconColBtn::StaticClass()})
    ExpectClassDefaultsMatch(C);
}

// The window system may deliver a late move of an earlier position while the mouse settles, which
// crosses the edge once more each way: every arrival leaves one enter more than leaves, every
// departure as many, and moves within the button fire nothing.
TEST(ColorBtn, FlatButtonShowsItsEdgeWhileTheMouseIsOver) {
  TScene S;
  TLog Log;
  auto* Edit = S.Add<TEdit>(200, 120, 120, 21);
  auto* B = Styled(S.Add<TqColorBtn>(40, 40, 120, 40), &Log);
  B->SetFlat(true);
  S.Show();
  Edit->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Edit->Focused(); }));
  AppPumpRounds(2);
  Log.Reset();
  EXPECT_EQ(Hex(At(B, 0, 0)), Hex(Face)) << "flat: no edge";

  vcltest::MoveMouse(B->Handle(), 60, 20);
  ASSERT_TRUE(AppPumpUntil([&] { return B->Hover(); }));
  EXPECT_EQ(Hex(At(B, 0, 0)), Hex(Shade));
  EXPECT_EQ(Hex(At(B, 1, 1)), Hex(Light));
  EXPECT_EQ(Hex(At(B, 119, 5)), Hex(clBlack));
  EXPECT_GE(Log.Enters, 1);
  EXPECT_EQ(Log.Enters, Log.Leaves + 1);
  const int Enters = Log.Enters;
  vcltest::MoveMouse(B->Handle(), 70, 25);
  vcltest::MoveMouse(B->Handle(), 30, 10);
  AppPumpRounds(2);
  EXPECT_EQ(Log.Enters, Enters) << "moves within the button";
  EXPECT_EQ(Log.Enters, Log.Leaves + 1);

  S.Away();
  ASSERT_TRUE(AppPumpUntil([&] { return !B->Hover(); }));
  EXPECT_EQ(Hex(At(B, 0, 0)), Hex(Face));
  EXPECT_EQ(Log.Enters, Log.Leaves);
  EXPECT_EQ(Log.Clicks, 0);
}

TEST(ColorBtn, PressDragOffAndBackAndReleaseOutside) {
  TScene S;
  TLog Log;
  auto* B = Styled(S.Add<TqColorBtn>(40, 40, 120, 40), &Log);
  S.Show();
  EXPECT_EQ(Hex(At(B, 1, 1)), Hex(Light)) << "raised";

  vcltest::MoveMouse(B->Handle(), 60, 20);
  MouseButton(true);
  ASSERT_TRUE(B->Pressed());
  EXPECT_TRUE(B->Held());
  EXPECT_TRUE(B->Focused()) << "pressing focuses";
  EXPECT_EQ(Hex(At(B, 1, 1)), Hex(clBlack)) << "pushed in";
  EXPECT_EQ(Hex(At(B, 119, 5)), Hex(Light));

  S.Away();
  ASSERT_TRUE(AppPumpUntil([&] { return !B->Pressed(); }));
  EXPECT_TRUE(B->Held());
  EXPECT_EQ(Hex(At(B, 1, 1)), Hex(Light)) << "raised again while off the button";
  vcltest::MoveMouse(B->Handle(), 60, 39);
  ASSERT_TRUE(AppPumpUntil([&] { return B->Pressed(); })) << "back on: pressed again";
  vcltest::MoveMouse(B->Handle(), 60, 40);
  ASSERT_TRUE(AppPumpUntil([&] { return !B->Pressed(); })) << "the row below the last is outside";

  MouseButton(false);
  EXPECT_FALSE(B->Held());
  EXPECT_EQ(Log.Clicks, 0) << "released outside: no click";

  // Away from the last press, so the system does not make it a double click.
  vcltest::MoveMouse(B->Handle(), 100, 30);
  MouseButton(true);
  MouseButton(false);
  EXPECT_EQ(Log.Clicks, 1);
  EXPECT_FALSE(B->Pressed());
}

TEST(ColorBtn, SpaceClicksOnReleaseButNotAfterAMousePress) {
  TScene S;
  TLog Log;
  auto* B = Styled(S.Add<TqColorBtn>(40, 40, 120, 40), &Log);
  S.Show();
  B->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return B->Focused(); }));

  SendKey(VK_SPACE, false);
  ASSERT_TRUE(AppPumpUntil([&] { return B->Pressed(); }));
  EXPECT_EQ(Hex(At(B, 1, 1)), Hex(clBlack));
  EXPECT_EQ(Log.Clicks, 0) << "not on the way down";
  SendKey(VK_SPACE, true);
  ASSERT_TRUE(AppPumpUntil([&] { return Log.Clicks == 1; }));
  EXPECT_FALSE(B->Pressed());

  vcltest::MoveMouse(B->Handle(), 60, 20);
  MouseButton(true);
  ASSERT_TRUE(B->Held());
  TapKey(VK_SPACE);
  EXPECT_EQ(Log.Clicks, 1) << "Space released over a mouse press";
  MouseButton(false);
  EXPECT_EQ(Log.Clicks, 2) << "the mouse release clicks";
}

TEST(ColorBtn, EnterGoesToTheDefaultOrTheFocusedButton) {
  TScene S;
  TLog DefaultLog, OtherLog;
  auto* Edit = S.Add<TEdit>(10, 10, 120, 21);
  auto* D = Styled(S.Add<TqColorBtn>(10, 60, 100, 33), &DefaultLog);
  D->SetDefault(true);
  auto* O = Styled(S.Add<TqColorBtn>(130, 60, 100, 33), &OtherLog);
  S.Show();
  Edit->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Edit->Focused(); }));
  EXPECT_TRUE(D->Active());
  EXPECT_FALSE(O->Active());
  TapKey(VK_RETURN);
  EXPECT_EQ(DefaultLog.Clicks, 1);
  EXPECT_EQ(OtherLog.Clicks, 0);

  O->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return O->Focused(); }));
  EXPECT_FALSE(D->Active()) << "another colour button has the focus";
  EXPECT_TRUE(O->Active());
  TapKey(VK_RETURN);
  EXPECT_EQ(OtherLog.Clicks, 1);
  EXPECT_EQ(DefaultLog.Clicks, 1);

  Edit->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Edit->Focused(); }));
  EXPECT_TRUE(D->Active());
  EXPECT_EQ(GetWindowLongPtrA(D->Handle(), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
  // Default off: the form re-evaluates at once, and Enter presses nothing.
  D->SetDefault(false);
  EXPECT_FALSE(D->Active());
  EXPECT_EQ(GetWindowLongPtrA(D->Handle(), GWL_STYLE) & 0xF, BS_PUSHBUTTON);
  TapKey(VK_RETURN);
  EXPECT_EQ(DefaultLog.Clicks, 1);
}

TEST(ColorBtn, EscapeGoesToTheCancelButtonUnlessShiftIsDown) {
  TScene S;
  TLog Log;
  auto* Edit = S.Add<TEdit>(10, 10, 120, 21);
  auto* C = Styled(S.Add<TqColorBtn>(10, 60, 100, 33), &Log);
  C->SetCancel(true);
  S.Show();
  Edit->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Edit->Focused(); }));
  TapKey(VK_ESCAPE);
  EXPECT_EQ(Log.Clicks, 1);
  TapKey(VK_ESCAPE, VK_SHIFT);
  EXPECT_EQ(Log.Clicks, 1);
  C->SetCancel(false);
  TapKey(VK_ESCAPE);
  EXPECT_EQ(Log.Clicks, 1);
}

TEST(ColorBtn, AltAndTheAcceleratorClick) {
  TScene S;
  TLog Log;
  auto* Edit = S.Add<TEdit>(10, 10, 120, 21);
  auto* B = Styled(S.Add<TqColorBtn>(10, 60, 100, 33), &Log);
  B->SetCaption("&Go");
  S.Show();
  Edit->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Edit->Focused(); }));
  TapKey('G', VK_MENU);
  EXPECT_EQ(Log.Clicks, 1);
  TapKey('X', VK_MENU);
  EXPECT_EQ(Log.Clicks, 1);
}

TEST(ColorBtn, ModalResultOfARealModalForm) {
  TScene S;
  auto* Stay = Styled(S.Add<TqColorBtn>(10, 60, 100, 33), nullptr);
  auto* Close = Styled(S.Add<TqColorBtn>(130, 60, 100, 33), nullptr);
  Close->SetModalResult(mrOk);
  TModalClicks Script;
  EXPECT_EQ(Script.Run(S.Form.get(), Stay, Close, TPoint(30, 15)), mrOk);
  EXPECT_GE(Script.StayClicks, 1);
  EXPECT_TRUE(Script.OpenAfterStay) << "a modal result of 0 keeps the form open";
  EXPECT_FALSE(S.Form->Visible());
}

// Pixels of a font colour within the caption area.
int Ink(TWinControl* B, TColor Color) {
  auto Shot = vcltest::CaptureClient(B->Handle());
  int N = 0;
  for (int Y = 4; Y < Shot->Height() - 4; ++Y)
    for (int X = 4; X < Shot->Width() - 4; ++X) N += Shot->Canvas()->Pixels(X, Y) == Color;
  return N;
}

TEST(ColorBtn, DefaultLooksAndTheDisabledCaption) {
  TScene S;
  auto* Edit = S.Add<TEdit>(200, 10, 120, 21);
  auto* B = Styled(S.Add<TqColorBtn>(40, 40, 120, 40), nullptr);
  B->SetCaption("Button");
  S.Show();
  Edit->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Edit->Focused(); }));
  EXPECT_EQ(Hex(At(B, 0, 0)), Hex(Shade));

  B->SetDefaultLook(dlFrame);
  B->SetDefault(true);
  EXPECT_EQ(Hex(At(B, 0, 0)), Hex(clBlack)) << "the black frame";
  EXPECT_EQ(Hex(At(B, 119, 20)), Hex(clBlack));
  EXPECT_EQ(Hex(At(B, 1, 1)), Hex(Shade)) << "the edge one pixel in";
  EXPECT_EQ(Hex(At(B, 2, 2)), Hex(Light));
  B->SetDefault(false);
  EXPECT_EQ(Hex(At(B, 0, 0)), Hex(Shade));

  B->SetDefaultLook(dlBold);
  const int Plain = Ink(B, clBlack);
  B->SetDefault(true);
  const int Bold = Ink(B, clBlack);
  EXPECT_GT(Bold, Plain + 10) << "the default button's caption is bold";
  B->SetDefaultLook(dlNone);
  EXPECT_EQ(Ink(B, clBlack), Plain);

  B->SetEnabled(false);
  EXPECT_EQ(Ink(B, clBlack), 0);
  EXPECT_GT(Ink(B, clWhite), 10) << "white, one pixel down and right";
  EXPECT_GT(Ink(B, clGray), 10) << "grey on top";
}

// A strip of N 16 by 16 images: image K in Colors[K], its bottom-left pixel fuchsia; image 0 has
// a black 3 by 3 block at (2, 2).
const TColor ImageColors[4] = {clRed, clLime, clBlue, clAqua};
std::unique_ptr<TBitmap> Strip(int N) {
  auto B = vcltest::MakeBitmap(16 * N, 16, clBlack);
  for (int K = 0; K < N; ++K) {
    B->Canvas()->Brush()->SetColor(ImageColors[K]);
    B->Canvas()->FillRect(Rect(16 * K, 0, 16 * K + 16, 16));
    B->Canvas()->SetPixels(16 * K, 15, clFuchsia);
  }
  B->Canvas()->Brush()->SetColor(clBlack);
  B->Canvas()->FillRect(Rect(2, 2, 5, 5));
  return B;
}

TEST(ColorBtn, GlyphStatesForOneToFourImages) {
  TScene S;
  auto* B = Styled(S.Add<TqBitColBtn>(40, 40, 89, 33), nullptr);
  B->SetFlat(true);
  B->SetAutoBackColor(true);
  S.Show();
  // The glyph's top-left corner: (5, 9) raised, (6, 10) pushed in; (8, 8) of the image is plain.
  for (int N = 1; N <= 4; ++N) {
    SCOPED_TRACE(N);
    B->SetEnabled(true);
    B->SetNumGlyphs(N);
    B->SetGlyph(Strip(N).get());
    EXPECT_EQ(B->TransparentColor(), clFuchsia);
    EXPECT_EQ(Hex(At(B, 13, 17)), Hex(clRed)) << "up";
    EXPECT_EQ(Hex(At(B, 5, 24)), Hex(Face)) << "the transparent colour shows the face";
    EXPECT_EQ(Hex(At(B, 8, 12)), Hex(clBlack));

    vcltest::MoveMouse(B->Handle(), 60, 16);
    ASSERT_TRUE(AppPumpUntil([&] { return B->Hover(); }));
    EXPECT_EQ(Hex(At(B, 13, 17)), Hex(N == 4 ? clAqua : clRed)) << "hot";
    MouseButton(true);
    ASSERT_TRUE(B->Pressed());
    EXPECT_EQ(Hex(At(B, 14, 18)), Hex(N >= 3 ? clBlue : clRed)) << "down, one pixel on";
    MouseButton(false);
    S.Away();
    ASSERT_TRUE(AppPumpUntil([&] { return !B->Hover(); }));

    B->SetEnabled(false);
    if (N == 1) {
      // The black block embossed: shadow where it is, highlight one pixel down-right.
      EXPECT_EQ(Hex(At(B, 8, 12)), Hex(Sys(COLOR_BTNSHADOW)));
      EXPECT_EQ(Hex(At(B, 10, 14)), Hex(Sys(COLOR_BTNHIGHLIGHT)));
      EXPECT_EQ(Hex(At(B, 13, 17)), Hex(Face));
    } else {
      EXPECT_EQ(Hex(At(B, 13, 17)), Hex(clLime)) << "disabled";
    }
  }
  // An empty strip paints the caption alone.
  B->SetEnabled(true);
  B->SetGlyph(nullptr);
  EXPECT_EQ(Hex(At(B, 13, 17)), Hex(Face));
}

TEST(ColorBtn, GradientBandsAtChosenPoints) {
  TScene S;
  auto* G = S.Add<TqGradBtn>(40, 40, 89, 33);
  G->SetColor(clBlack);
  G->SetEndColor(clWhite);
  G->SetBands(4);
  S.Show();
  // Vertical: five bands over rows MulDiv(i, 32, 5), colours MulDiv(i, 255, 4).
  const int Rows[5] = {3, 9, 16, 22, 28}, Greys[5] = {0, 64, 128, 191, 255};
  for (int I = 0; I < 5; ++I) EXPECT_EQ(Hex(At(G, 40, Rows[I])), Hex(RGB(Greys[I], Greys[I], Greys[I]))) << I;
  // Horizontal: over columns MulDiv(i, 88, 5).
  G->SetFillType(gHorz);
  const int Columns[5] = {8, 26, 44, 62, 80};
  for (int I = 0; I < 5; ++I)
    EXPECT_EQ(Hex(At(G, Columns[I], 16)), Hex(RGB(Greys[I], Greys[I], Greys[I]))) << I;
  // Rings: N = 4, bands 11 wide and 4 high from the outside in.
  G->SetFillType(gCenter);
  EXPECT_EQ(Hex(At(G, 5, 16)), Hex(clBlack));
  EXPECT_EQ(Hex(At(G, 16, 16)), Hex(RGB(64, 64, 64)));
  EXPECT_EQ(Hex(At(G, 30, 16)), Hex(RGB(128, 128, 128)));
  EXPECT_EQ(Hex(At(G, 40, 16)), Hex(RGB(191, 191, 191)));
  // System colours are resolved for the ramp.
  G->SetFillType(gVert);
  G->SetColor(clBtnShadow);
  G->SetEndColor(clBtnHighlight);
  EXPECT_EQ(Hex(At(G, 40, 3)), Hex(Sys(COLOR_BTNSHADOW)));
  EXPECT_EQ(Hex(At(G, 40, 28)), Hex(Sys(COLOR_BTNHIGHLIGHT)));
  // Plain faces: equal colours, no bands, a fill type without a gradient.
  for (auto Setup : {+[](TqGradBtn* B) { B->SetEndColor(B->Color()); }, +[](TqGradBtn* B) { B->SetBands(0); },
                     +[](TqGradBtn* B) { B->SetFillType(gDiagLeft); }}) {
    G->SetColor(clNavy);
    G->SetEndColor(clWhite);
    G->SetBands(4);
    G->SetFillType(gVert);
    Setup(G);
    EXPECT_EQ(Hex(At(G, 40, 3)), Hex(clNavy));
    EXPECT_EQ(Hex(At(G, 40, 28)), Hex(clNavy));
  }
}

// A 16 by 16 icon in one colour.
void MakeIcon(TIcon* Icon, TColor Color) {
  auto Image = vcltest::MakeBitmap(16, 16, Color);
  TBitmapOwner Mask(CreateBitmap(16, 16, 1, 1, nullptr));
  {
    TMemoryDC DC;
    TSelectGuard Sel(DC, Mask);
    PatBlt(DC, 0, 0, 16, 16, BLACKNESS);
  }
  ICONINFO II{TRUE, 0, 0, Mask, Image->Handle()};
  Icon->SetHandle(CreateIconIndirect(&II));
}

TColor IconColor(TIcon* Icon) {
  if (Icon->Empty()) return clNone;
  auto B = vcltest::MakeBitmap(16, 16, clWhite);
  DrawIcon(B->Canvas()->Handle(), 0, 0, Icon->Handle());
  return B->Canvas()->Pixels(8, 8);
}

TEST(ColorBtn, IconsAreFilledInTheirOrderAndDrawn) {
  auto Colors = [](TqIconColBtn* B) {
    return std::vector<std::string>{Hex(IconColor(B->GlyphEnabled())), Hex(IconColor(B->GlyphDown())),
                                    Hex(IconColor(B->GlyphDisabled()))};
  };
  const std::string R = Hex(clRed), Bl = Hex(clBlue), N = Hex(clNone);
  TIcon Red, Blue;
  MakeIcon(&Red, clRed);
  MakeIcon(&Blue, clBlue);
  TScene S;
  // Enabled alone fills both others.
  auto* A = S.Add<TqIconColBtn>(10, 10, 140, 44);
  A->SetGlyphEnabled(&Red);
  EXPECT_EQ(Colors(A), (std::vector<std::string>{R, R, R}));
  // Disabled alone: enabled and down from it.
  auto* D = S.Add<TqIconColBtn>(160, 10, 140, 44);
  D->SetGlyphDisabled(&Blue);
  EXPECT_EQ(Colors(D), (std::vector<std::string>{Bl, Bl, Bl}));
  // Down first: disabled then enabled from it.
  auto* W = S.Add<TqIconColBtn>(10, 70, 140, 44);
  W->SetGlyphDown(&Blue);
  EXPECT_EQ(Colors(W), (std::vector<std::string>{Bl, Bl, Bl}));
  // Without AutoAllIcons nothing is filled.
  auto* M = S.Add<TqIconColBtn>(160, 70, 140, 44);
  M->SetAutoAllIcons(false);
  M->SetGlyphEnabled(&Red);
  M->SetGlyphDown(&Blue);
  EXPECT_EQ(Colors(M), (std::vector<std::string>{R, Bl, N}));

  // Drawn at (5, (43 - 16) / 2 + 1) on the left: the enabled icon, the disabled one when disabled.
  M->SetColor(Face);
  M->SetGlyphDisabled(&Blue);
  S.Show();
  EXPECT_EQ(Hex(At(M, 12, 22)), R);
  M->SetEnabled(false);
  EXPECT_EQ(Hex(At(M, 12, 22)), Bl);
  M->SetIconWhere(q_BWRight);
  EXPECT_EQ(Hex(At(M, 139 - 16 - 5 + 8, 22)), Bl);
  EXPECT_EQ(Hex(At(M, 12, 22)), Hex(Face));
}

// A form painting a horizontal ramp: column X in grey X.
struct TRampPainter : TObject {
  TForm* Form = nullptr;
  void Paint(TObject*) {
    TCanvas* C = Form->Canvas();
    for (int X = 0; X < 256; ++X) {
      C->Pen()->SetColor(RGB(X, X / 2, 255 - X));
      C->MoveTo(X, 0);
      C->LineTo(X, 200);
    }
  }
};

TEST(ColorBtn, TransparentTwinShowsTheParentThroughGlass) {
  TScene S;
  TRampPainter Painter;
  Painter.Form = S.Form.get();
  S.Form->OnPaint = EVENT(&Painter, TRampPainter::Paint);
  auto* T = S.Add<TqNWColorBtn>(40, 40, 120, 40);
  T->SetFrame(false);
  T->SetTransparent(true);
  T->SetGlassValue(64);
  auto* Plain = S.Add<TqNWColorBtn>(40, 100, 120, 40);
  Plain->SetFrame(false);
  Plain->SetTransparent(true);
  S.Show();
  const HWND Wnd = S.Form->Handle();
  for (int X : {50, 100, 130, 150}) {
    SCOPED_TRACE(X);
    const int R = X, G = X / 2, B = 255 - X;
    EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, X, 45)), Hex(RGB(R | 64, G | 64, B | 64))) << "each channel ORed with 64";
    EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, X, 105)), Hex(RGB(R, G, B))) << "no glass: the parent as it is";
  }
  // Opaque again: the plain colour.
  T->SetColor(clMaroon);
  T->SetTransparent(false);
  EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, 50, 45)), Hex(clMaroon));
}

TEST(ColorBtn, TwinHoverAndClickUnderTheMouse) {
  TScene S;
  TLog Log;
  auto* T = Styled(S.Add<TqNWColorBtn>(40, 40, 120, 40), &Log);
  T->SetFlat(true);
  S.Show();
  Log.Reset();
  const HWND Wnd = S.Form->Handle();
  EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, 40, 40)), Hex(Face));
  vcltest::MoveMouse(Wnd, 100, 60);
  ASSERT_TRUE(AppPumpUntil([&] { return T->Hover(); }));
  EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, 40, 40)), Hex(Shade));
  EXPECT_GE(Log.Enters, 1);
  MouseButton(true);
  EXPECT_TRUE(T->Pressed());
  EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, 41, 41)), Hex(clBlack));
  MouseButton(false);
  EXPECT_EQ(Log.Clicks, 1);
  EXPECT_FALSE(T->Pressed());
  S.Away();
  ASSERT_TRUE(AppPumpUntil([&] { return !T->Hover(); }));
  EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, 40, 40)), Hex(Face));
  EXPECT_GE(Log.Leaves, 1);
}

// The twin's hot image shows only under the mouse, flat or not.
TEST(ColorBtn, TwinHotImageOnlyUnderTheMouse) {
  for (bool Flat : {false, true}) {
    SCOPED_TRACE(Flat ? "flat" : "not flat");
    TScene S;
    auto* T = Styled(S.Add<TqNWBitColBtn>(40, 40, 89, 33), nullptr);
    T->SetFlat(Flat);
    T->SetAutoBackColor(true);
    T->SetNumGlyphs(4);
    T->SetGlyph(Strip(4).get());
    S.Away();
    S.Show();
    const HWND Wnd = S.Form->Handle();
    auto Glyph = [&] {
      AppPumpRounds(2);
      return Hex(vcltest::PixelAt(Wnd, 40 + 5 + 8, 40 + 9 + 8));
    };
    EXPECT_EQ(Glyph(), Hex(clRed)) << "away";
    vcltest::MoveMouse(Wnd, 90, 56);
    EXPECT_TRUE(AppPumpUntil([&] { return T->Hover(); }));
    EXPECT_EQ(Glyph(), Hex(clAqua)) << "over";
    S.Away();
    EXPECT_TRUE(AppPumpUntil([&] { return !T->Hover(); }));
    EXPECT_EQ(Glyph(), Hex(clRed)) << "away again";
    T->SetEnabled(false);
    T->SetEnabled(true);
    EXPECT_FALSE(T->Hover());
    EXPECT_EQ(Glyph(), Hex(clRed)) << "away after Enabled toggles";
  }
}

TEST(ColorBtn, TwinGlyphIsDrawnTransparently) {
  TScene S;
  auto* T = Styled(S.Add<TqNWBitColBtn>(40, 40, 89, 33), nullptr);
  T->SetAutoBackColor(true);
  T->SetNumGlyphs(2);
  T->SetGlyph(Strip(2).get());
  S.Show();
  const HWND Wnd = S.Form->Handle();
  // GlyphMargin 5 from the left; y = (32 - 16) / 2 + 1.
  EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, 40 + 5 + 8, 40 + 9 + 8)), Hex(clRed));
  EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, 40 + 5, 40 + 9 + 15)), Hex(Face)) << "transparent pixel";
  T->SetGlyphMargin(10);
  EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, 40 + 10 + 8, 40 + 9 + 8)), Hex(clRed));
  T->SetEnabled(false);
  EXPECT_EQ(Hex(vcltest::PixelAt(Wnd, 40 + 10 + 8, 40 + 9 + 8)), Hex(clLime));
}

}  // namespace
