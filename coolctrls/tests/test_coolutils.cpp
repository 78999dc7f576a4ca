// Drawing and utility routines of the cool controls, checked on pixels of off-screen bitmaps
// and real windows.
#include "coolctrls/CoolUtils.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

TColor Rgb(int R, int G, int B) { return TColor(RGB(R, G, B)); }

// a * b / c rounded to the nearest integer, halves away from zero (as MulDiv).
int RoundedMulDiv(int A, int B, int C) { return int(std::llround((long double)A * B / C)); }

using vcltest::MakeBitmap;

TColor Px(TBitmap& B, int X, int Y) { return B.Canvas()->Pixels(X, Y); }

// A 3 x 2 wallpaper whose every pixel differs.
TColor TileColor(int X, int Y) { return Rgb(40 + 60 * X, 30 + 100 * Y, 200); }
std::unique_ptr<TBitmap> MakeTile() {
  auto B = MakeBitmap(3, 2, clBlack);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) B->Canvas()->SetPixels(X, Y, TileColor(X, Y));
  return B;
}

// ---- wallpaper ---------------------------------------------------------------------------------

TEST(CoolWallpaper, TiledFillsTheRectangleFromItsCornerAndNothingElse) {
  auto Tile = MakeTile();
  auto Dest = MakeBitmap(20, 12, clWhite);
  const TRect R(2, 3, 13, 8);
  DrawWallpaper(Dest->Canvas()->Handle(), Tile.get(), R, true);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 20; ++X) {
      TColor Want = R.Contains(Point(X, Y)) ? TileColor((X - R.Left) % 3, (Y - R.Top) % 2) : clWhite;
      ASSERT_EQ(Px(*Dest, X, Y), Want) << X << "," << Y;
    }
}

TEST(CoolWallpaper, UntiledShowsThePartOfTheBitmapUnderTheRectangle) {
  auto Tile = MakeTile();
  auto Dest = MakeBitmap(10, 10, clWhite);
  DrawWallpaper(Dest->Canvas()->Handle(), Tile.get(), Rect(1, 1, 3, 2), false);
  EXPECT_EQ(Px(*Dest, 1, 1), TileColor(1, 1));
  EXPECT_EQ(Px(*Dest, 2, 1), TileColor(2, 1));
  EXPECT_EQ(Px(*Dest, 0, 0), clWhite);
  EXPECT_EQ(Px(*Dest, 1, 0), clWhite);
  EXPECT_EQ(Px(*Dest, 1, 2), clWhite);
}

TEST(CoolWallpaper, CopyModesCombineSourceAndDestination) {
  struct Case { TCopyMode Rop; COLORREF (*Expect)(COLORREF D, COLORREF S); };
  const Case Cases[] = {
      {cmSrcCopy, [](COLORREF, COLORREF S) { return S; }},
      {cmSrcInvert, [](COLORREF D, COLORREF S) { return (D ^ S) & 0xFFFFFF; }},
      {cmSrcAnd, [](COLORREF D, COLORREF S) { return D & S; }},
      {cmSrcPaint, [](COLORREF D, COLORREF S) { return D | S; }},
      {cmNotSrcCopy, [](COLORREF, COLORREF S) { return ~S & 0xFFFFFF; }},
      {cmBlackness, [](COLORREF, COLORREF) { return COLORREF(0); }},
      {cmDstInvert, [](COLORREF D, COLORREF) { return ~D & 0xFFFFFF; }},
  };
  auto Tile = MakeTile();
  const TColor Back = Rgb(0x35, 0xCA, 0x0F);
  for (const Case& C : Cases) {
    auto Dest = MakeBitmap(7, 5, Back);
    DrawWallpaper(Dest->Canvas()->Handle(), Tile.get(), Rect(0, 0, 6, 4), true, C.Rop);
    for (int Y = 0; Y < 4; ++Y)
      for (int X = 0; X < 6; ++X)
        ASSERT_EQ(COLORREF(Px(*Dest, X, Y)), C.Expect(COLORREF(Back), COLORREF(TileColor(X % 3, Y % 2))))
            << "rop " << std::hex << C.Rop << " at " << std::dec << X << "," << Y;
    EXPECT_EQ(Px(*Dest, 6, 4), Back);
  }
}

TEST(CoolWallpaper, ExKeepsTilesAlignedToTheFullRectangle) {
  auto Tile = MakeTile();
  auto Dest = MakeBitmap(20, 10, clWhite);
  const TRect Full(1, 1, 19, 9), Part(5, 4, 9, 7);
  DrawWallpaperEx(Dest->Canvas()->Handle(), Tile.get(), Full, Part, true);
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 20; ++X) {
      TColor Want = Part.Contains(Point(X, Y)) ? TileColor((X - 1) % 3, (Y - 1) % 2) : clWhite;
      ASSERT_EQ(Px(*Dest, X, Y), Want) << X << "," << Y;
    }
}

TEST(CoolWallpaper, BitmapWithoutWidthOrHeightDrawsNothingAndReturns) {
  for (TSize S : {TSize(0, 5), TSize(5, 0), TSize(0, 0)}) {
    TBitmap Empty;
    Empty.SetSize(S.cx, S.cy);
    auto Dest = MakeBitmap(8, 8, clWhite);
    DrawWallpaper(Dest->Canvas()->Handle(), &Empty, Rect(0, 0, 8, 8), true);
    DrawWallpaperEx(Dest->Canvas()->Handle(), &Empty, Rect(0, 0, 8, 8), Rect(1, 1, 4, 4), true);
    EXPECT_EQ(Px(*Dest, 3, 3), clWhite);
  }
  DrawWallpaper(nullptr, nullptr, Rect(0, 0, 8, 8), true);
}

TEST(CoolWallpaper, StretchDrawScalesTheSourcePart) {
  auto Tile = MakeTile();
  auto Dest = MakeBitmap(10, 10, clWhite);
  StretchDrawWallpaper(Dest->Canvas()->Handle(), Tile.get(), Rect(0, 0, 4, 4), Rect(1, 0, 3, 2), false);
  EXPECT_EQ(Px(*Dest, 0, 0), TileColor(1, 0));
  EXPECT_EQ(Px(*Dest, 3, 3), TileColor(2, 1));
  EXPECT_EQ(Px(*Dest, 4, 4), clWhite);
}

// ---- see-through backgrounds -------------------------------------------------------------------

// Colour the pattern parent paints at a point of its client area.
TColor PatternAt(int X, int Y) { return Rgb((X / 4) % 32 * 8, (Y / 4) % 32 * 8, 0x80); }

// Erases itself with a pattern of 4 x 4 cells.
class TPatternParent : public TCustomControl {
  ORV_CLASS(TPatternParent, TCustomControl)
public:
  using TCustomControl::TCustomControl;
  int Erases = 0;
  void Dispatch(TMessage& M) override {
    if (M.Msg != WM_ERASEBKGND) return inherited::Dispatch(M);
    ++Erases;
    HDC DC = reinterpret_cast<HDC>(M.WParam);
    for (int Y = 0; Y < Height(); Y += 4)
      for (int X = 0; X < Width(); X += 4) {
        TBrushOwner B(CreateSolidBrush(COLORREF(PatternAt(X, Y))));
        RECT R{X, Y, X + 4, Y + 4};
        FillRect(DC, &R, B);
      }
    M.Result = 1;
  }
};
ORV_IMPLEMENT_CLASS(TPatternParent, TCustomControl)

// A graphic control painting itself in one colour.
class TSolidGraphic : public TGraphicControl {
  ORV_CLASS(TSolidGraphic, TGraphicControl)
public:
  using TGraphicControl::TGraphicControl;
  TColor Fill = clLime;
  bool SeeThrough = false;
protected:
  void Paint() override {
    if (SeeThrough) {
      PaintBackground(this, Canvas()->Handle());
      return;
    }
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
  }
};
ORV_IMPLEMENT_CLASS(TSolidGraphic, TGraphicControl)

// Erases itself in yellow, or see-through from Level parents up.
class TSeeThrough : public TCustomControl {
  ORV_CLASS(TSeeThrough, TCustomControl)
public:
  using TCustomControl::TCustomControl;
  bool Transparent = true;
  int Level = 0;
  void Dispatch(TMessage& M) override {
    if (M.Msg != WM_ERASEBKGND) return inherited::Dispatch(M);
    HDC DC = reinterpret_cast<HDC>(M.WParam);
    if (Transparent) {
      PaintBackground(this, DC, Level);
    } else {
      TBrushOwner B(CreateSolidBrush(COLORREF(clYellow)));
      RECT R{0, 0, Width(), Height()};
      FillRect(DC, &R, B);
    }
    M.Result = 1;
  }
};
ORV_IMPLEMENT_CLASS(TSeeThrough, TCustomControl)

template <class T> T* AddChild(TWinControl* Parent, int L, int T_, int W, int H) {
  T* C = TComponent::Create<T>(Parent);
  C->SetBounds(L, T_, W, H);
  C->SetParent(Parent);
  return C;
}

// Parent P (pattern) at (10, 10) holds a green graphic child G and a middle control M at (30, 20);
// M holds the control C under test at (12, 8).
struct TBackgroundScene {
  vcltest::TTestHost Host{320, 240};
  TPatternParent* P;
  TSolidGraphic* G;
  TSeeThrough* M;
  TSeeThrough* C;
  TBackgroundScene() {
    P = Host.Add<TPatternParent>(10, 10, 220, 160);
    G = AddChild<TSolidGraphic>(P, 40, 30, 20, 12);
    M = AddChild<TSeeThrough>(P, 30, 20, 120, 90);
    C = AddChild<TSeeThrough>(M, 12, 8, 60, 40);
    C->HandleNeeded();
    vcltest::PumpMessages();
  }
  // What C should show at its client point (X, Y) when the background comes from P.
  TColor FromP(int X, int Y) const {
    int PX = X + 30 + 12, PY = Y + 20 + 8;
    if (TRect(40, 30, 60, 42).Contains(Point(PX, PY))) return clLime;
    return PatternAt(PX, PY);
  }
};

TEST(CoolBackground, PaintsWhatLiesBehindThroughOneAndTwoParentLevels) {
  struct Case { const char* Name; bool MiddleTransparent; int Level; bool ExpectFromP; };
  const Case Cases[] = {
      {"opaque middle, level 0: the middle's yellow", false, 0, false},
      {"see-through middle, level 0: through both parents", true, 0, true},
      {"opaque middle, level 1: the middle is skipped", false, 1, true},
  };
  TBackgroundScene S;
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    S.M->Transparent = K.MiddleTransparent;
    S.C->Level = K.Level;
    // Off-screen: into a bitmap the size of the control.
    auto B = MakeBitmap(60, 40, clBlack);
    PaintBackground(S.C, B->Canvas()->Handle(), K.Level);
    // On screen: through the control's own erase.
    InvalidateRect(S.C->Handle(), nullptr, TRUE);
    auto Shot = vcltest::CaptureClient(S.C->Handle());
    for (int Y = 0; Y < 40; ++Y)
      for (int X = 0; X < 60; ++X) {
        TColor Want = K.ExpectFromP ? S.FromP(X, Y) : clYellow;
        ASSERT_EQ(Px(*B, X, Y), Want) << "bitmap " << X << "," << Y;
        ASSERT_EQ(Px(*Shot, X, Y), Want) << "window " << X << "," << Y;
      }
  }
  // Two levels up: the host's own background at the control's place; beyond the top control
  // (which has no parent) nothing.
  auto Two = MakeBitmap(60, 40, clBlack);
  PaintBackground(S.C, Two->Canvas()->Handle(), 2);
  EXPECT_EQ(Px(*Two, 5, 5), ColorToRGB(S.Host.Control()->Brush()->Color()));
  auto Beyond = MakeBitmap(60, 40, clBlack);
  PaintBackground(S.C, Beyond->Canvas()->Handle(), 5);
  EXPECT_EQ(Px(*Beyond, 5, 5), clBlack);
}

TEST(CoolBackground, ClippedVariantsPaintOnlyInsideTheirRegion) {
  TBackgroundScene S;
  S.M->Transparent = true;
  S.C->Level = 0;
  auto B = MakeBitmap(60, 40, clBlack);
  PaintBackgroundEx(S.C, B->Canvas()->Handle(), Rect(5, 5, 20, 15));
  EXPECT_EQ(Px(*B, 5, 5), S.FromP(5, 5));
  EXPECT_EQ(Px(*B, 19, 14), S.FromP(19, 14));
  EXPECT_EQ(Px(*B, 20, 14), clBlack);
  EXPECT_EQ(Px(*B, 4, 5), clBlack);

  auto X = MakeBitmap(60, 40, clBlack);
  PaintBackgroundCombineRgn(S.C, X->Canvas()->Handle(), Rect(0, 0, 30, 40), Rect(10, 0, 60, 40), RGN_XOR);
  EXPECT_EQ(Px(*X, 5, 5), S.FromP(5, 5));
  EXPECT_EQ(Px(*X, 15, 5), clBlack);  // in both: left out by XOR
  EXPECT_EQ(Px(*X, 40, 5), S.FromP(40, 5));
}

TEST(CoolBackground, GraphicControlSeesOnlyTheSiblingsBelowIt) {
  vcltest::TTestHost Host{200, 100};
  auto* P = Host.Add<TPatternParent>(0, 0, 200, 100);
  auto* Below = AddChild<TSolidGraphic>(P, 10, 10, 20, 20);
  auto* Me = AddChild<TSolidGraphic>(P, 20, 20, 30, 30);
  auto* Above = AddChild<TSolidGraphic>(P, 30, 30, 10, 10);
  Below->Fill = clLime;
  Above->Fill = clFuchsia;
  Me->SeeThrough = true;
  P->HandleNeeded();
  vcltest::PumpMessages();
  auto B = MakeBitmap(30, 30, clBlack);
  PaintBackground(Me, B->Canvas()->Handle());  // would recurse without end if it painted itself
  EXPECT_EQ(Px(*B, 0, 0), clLime);               // parent (20, 20): inside Below
  EXPECT_EQ(Px(*B, 15, 15), PatternAt(35, 35));  // under Above, which lies on top: not painted
  EXPECT_EQ(Px(*B, 29, 29), PatternAt(49, 49));
  // On screen, the see-through control shows the same and Above covers it.
  auto Shot = vcltest::CaptureClient(P->Handle());
  EXPECT_EQ(Px(*Shot, 20, 20), clLime);
  EXPECT_EQ(Px(*Shot, 45, 25), PatternAt(45, 25));
  EXPECT_EQ(Px(*Shot, 35, 35), clFuchsia);
}

TEST(CoolBackground, NothingWithoutControlOrParent) {
  auto B = MakeBitmap(4, 4, clBlack);
  PaintBackground(nullptr, B->Canvas()->Handle());
  TSeeThrough* Orphan = TComponent::Create<TSeeThrough>(nullptr);
  PaintBackground(Orphan, B->Canvas()->Handle());
  PaintBackground(Orphan, B->Canvas()->Handle(), 2);
  EXPECT_EQ(Px(*B, 1, 1), clBlack);
  EXPECT_EQ(GetUnderlyingColor(Orphan, Point(0, 0)), clNone);
  EXPECT_EQ(GetUnderlyingColor(nullptr, Point(0, 0)), clNone);
  TObject::Free(Orphan);
}

TEST(CoolBackground, TrControlClimbsAtMostLevelParents) {
  TBackgroundScene S;
  EXPECT_EQ(TrControl(S.C, 0), S.C);
  EXPECT_EQ(TrControl(S.C, 1), S.M);
  EXPECT_EQ(TrControl(S.C, 2), S.P);
  EXPECT_EQ(TrControl(S.C, 3), S.Host.Control());
  EXPECT_EQ(TrControl(S.C, 50), S.Host.Control());
  EXPECT_EQ(TrControl(nullptr, 2), nullptr);
}

TEST(CoolBackground, UnderlyingColorIsTheParentsBackground) {
  TBackgroundScene S;
  S.M->Transparent = false;
  EXPECT_EQ(GetUnderlyingColor(S.C, Point(7, 9)), clYellow);  // C's parent M erases in yellow
  S.M->Transparent = true;                                    // M see-through: P at M's place
  EXPECT_EQ(GetUnderlyingColor(S.C, Point(7, 9)), PatternAt(7 + 30, 9 + 20));
  EXPECT_EQ(GetUnderlyingColor(S.M, Point(100, 50)), PatternAt(100, 50));
}

TEST(CoolBackground, PatternBackgroundIsAChecker) {
  auto B = MakeBitmap(20, 20, clBlack);
  PaintPatternBackground(B->Canvas(), Rect(0, 0, 16, 16));
  const TColor Hi = ColorToRGB(clBtnHighlight), Face = ColorToRGB(clBtnFace);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) { ASSERT_EQ(Px(*B, X, Y), (X % 2 == Y % 2) ? Hi : Face) << X << "," << Y; }
  EXPECT_EQ(Px(*B, 16, 16), clBlack);
  EXPECT_EQ(B->Canvas()->Brush()->Bitmap(), nullptr);
}

// ---- gradient ----------------------------------------------------------------------------------

TEST(CoolGradient, BandsHaveTheirColourAndNothingLeavesTheRectangle) {
  struct Case { bool Horizontal; int Colors; int Length; TColor Start, End; };
  const Case Cases[] = {
      {true, 128, 256, clBlack, clWhite},   // 2-pixel bands, the first black
      {false, 128, 256, clBlack, clWhite},
      {true, 3, 10, Rgb(200, 10, 0), Rgb(0, 250, 90)},  // last band would reach 3 pixels past the edge
      {false, 7, 23, Rgb(0, 0, 255), Rgb(255, 0, 0)},
      {true, 128, 50, Rgb(255, 255, 0), Rgb(0, 0, 0)},  // fewer pixels than colours
  };
  const TColor Back = Rgb(1, 2, 3);
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Colors) + (C.Horizontal ? " horizontal " : " vertical ") + std::to_string(C.Length));
    const int Across = 6;
    const int W = C.Horizontal ? C.Length : Across, H = C.Horizontal ? Across : C.Length;
    auto B = MakeBitmap(W + 20, H + 20, Back);
    const TRect R = Bounds(10, 10, W, H);
    FillGradientRect(B->Canvas()->Handle(), R, C.Start, C.End, C.Colors, C.Horizontal);
    for (int Y = 0; Y < H + 20; ++Y)
      for (int X = 0; X < W + 20; ++X) {
        TColor Got = Px(*B, X, Y);
        if (!R.Contains(Point(X, Y))) {
          ASSERT_EQ(Got, Back) << "outside at " << X << "," << Y;
          continue;
        }
        int Pos = C.Horizontal ? X - R.Left : Y - R.Top;
        int I = 0;
        while (RoundedMulDiv(I + 1, C.Length, C.Colors) <= Pos) ++I;
        auto Ch = [&](int Shift) {
          int S = (C.Start >> Shift) & 0xFF, E = (C.End >> Shift) & 0xFF;
          return (S + RoundedMulDiv(I, E - S, C.Colors)) & 0xFF;
        };
        ASSERT_EQ(Got, Rgb(Ch(0), Ch(8), Ch(16))) << "band " << I << " at " << X << "," << Y;
      }
  }
  // The first example in numbers: 2-pixel bands from black.
  auto B = MakeBitmap(256, 4, Back);
  FillGradientRect(B->Canvas()->Handle(), Rect(0, 0, 256, 4), clBlack, clWhite, 128, true);
  EXPECT_EQ(Px(*B, 0, 0), clBlack);
  EXPECT_EQ(Px(*B, 1, 0), clBlack);
  EXPECT_EQ(Px(*B, 2, 0), Rgb(2, 2, 2));
  EXPECT_EQ(Px(*B, 255, 0), Rgb(253, 253, 253));
}

TEST(CoolGradient, NegativeCountPaintsNothingAndZeroPaintsTheEndColour) {
  auto B = MakeBitmap(10, 10, clBlack);
  FillGradientRect(B->Canvas()->Handle(), Rect(1, 1, 9, 9), clRed, clBlue, -1, true);
  EXPECT_EQ(Px(*B, 4, 4), clBlack);
  FillGradientRect(B->Canvas()->Handle(), Rect(1, 1, 9, 9), clRed, clBlue, 0, true);
  EXPECT_EQ(Px(*B, 1, 1), clBlue);
  EXPECT_EQ(Px(*B, 8, 8), clBlue);
  EXPECT_EQ(Px(*B, 9, 9), clBlack);
}

// ---- text --------------------------------------------------------------------------------------

struct TTextShot {
  std::unique_ptr<TBitmap> B;
  explicit TTextShot(TColor Back) : B(MakeBitmap(120, 50, Back)) {
    B->Canvas()->Font()->SetName("Arial");
    B->Canvas()->Font()->SetHeight(-24);
    B->Canvas()->Font()->SetStyle(FontStyle(fsBold));
  }
  HDC DC() { return B->Canvas()->Handle(); }
};

const TRect TextBox(10, 8, 110, 42);
constexpr unsigned TextFormat = DT_LEFT | DT_TOP | DT_SINGLELINE;

// The caption drawn plainly in black on white at TextBox moved by (DX, DY).
std::unique_ptr<TBitmap> PlainText(int DX, int DY) {
  TTextShot S(clWhite);
  SetBkMode(S.DC(), TRANSPARENT);
  SetTextColor(S.DC(), 0);
  TRect R = TextBox;
  R.Offset(DX, DY);
  DrawTextA(S.DC(), "HgW", -1, &AsRECT(R), TextFormat);
  return std::move(S.B);
}

TEST(CoolText, ShadowLiesWhereThePositionSaysAndTheRectangleKeepsTheMove) {
  struct Case { TShadowPosition Pos; TPoint TextMove, ShadowMove; };
  const int D = 2;
  const Case Cases[] = {
      {spLeftTop, {D, D}, {0, 0}},
      {spLeftBottom, {D, 0}, {0, D}},
      {spRightBottom, {0, 0}, {D, D}},
      {spRightTop, {0, D}, {D, 0}},
  };
  const TColor Back = Rgb(0x20, 0x90, 0x20), Shadow = clRed;
  for (const Case& C : Cases) {
    SCOPED_TRACE(int(C.Pos));
    TTextShot S(Back);
    TRect R = TextBox;
    Draw3DText(S.DC(), R, C.Pos, "HgW", TextFormat, clBlack, Shadow, D);
    TRect Moved = TextBox;
    Moved.Offset(C.TextMove.X, C.TextMove.Y);
    EXPECT_EQ(R, Moved);
    auto Text = PlainText(C.TextMove.X, C.TextMove.Y), Shade = PlainText(C.ShadowMove.X, C.ShadowMove.Y);
    int ShadowPixels = 0;
    for (int Y = 0; Y < 50; ++Y)
      for (int X = 0; X < 120; ++X) {
        TColor Got = Px(*S.B, X, Y);
        if (Px(*Text, X, Y) == clBlack) { ASSERT_EQ(Got, clBlack) << X << "," << Y; }  // text over shadow
        if (Got == Shadow) {
          ++ShadowPixels;
          ASSERT_NE(Px(*Shade, X, Y), clWhite) << "shadow off its place at " << X << "," << Y;
        }
        if (Px(*Text, X, Y) == clWhite && Px(*Shade, X, Y) == clWhite) { ASSERT_EQ(Got, Back) << X << "," << Y; }
      }
    EXPECT_GT(ShadowPixels, 20);
  }
}

TEST(CoolText, DisabledCaptionIsEmbossedInShadowOverHighlight) {
  const TColor Back = Rgb(0x20, 0x40, 0xA0);
  TTextShot S(Back);
  TGlyph G;
  G.DrawCaption(S.B->Canvas(), "HgW", TextBox, false, false, spLeftTop, clRed, 3, DT_LEFT | DT_TOP | DT_SINGLELINE);
  // DrawCaption centres: the same text centred plainly is the reference.
  TTextShot Ref(clWhite);
  SetBkMode(Ref.DC(), TRANSPARENT);
  TRect R = TextBox;
  DrawTextA(Ref.DC(), "HgW", -1, &AsRECT(R), DT_LEFT | DT_TOP | DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  const TColor Sh = ColorToRGB(clBtnShadow), Hi = ColorToRGB(clBtnHighlight);
  int HiPixels = 0;
  for (int Y = 1; Y < 50; ++Y)
    for (int X = 1; X < 120; ++X) {
      TColor Got = Px(*S.B, X, Y);
      if (Px(*Ref.B, X, Y) == clBlack) { ASSERT_EQ(Got, Sh) << X << "," << Y; }
      if (Got == Hi) {
        ++HiPixels;
        ASSERT_NE(Px(*Ref.B, X - 1, Y - 1), clWhite) << "highlight off its place at " << X << "," << Y;
      }
    }
  EXPECT_GT(HiPixels, 20);
}

TEST(CoolText, CheckTTFontTellsTrueTypeFaces) {
  EXPECT_TRUE(CheckTTFont("Arial"));
  EXPECT_TRUE(CheckTTFont("Liberation Sans"));
}

TEST(CoolText, AngledFontKeepsTheFaceAndTurns) {
  TFont F;
  F.SetName("Arial");
  F.SetHeight(-20);
  SetAngledFont(&F, 90);
  LOGFONTA LF{};
  ASSERT_NE(GetObjectA(F.Handle(), sizeof LF, &LF), 0);
  EXPECT_EQ(LF.lfEscapement, 900);
  EXPECT_EQ(LF.lfHeight, -20);
  EXPECT_STREQ(LF.lfFaceName, "Arial");
}

TEST(CoolText, MenuDefaultFontIsTheSystemsMenuFont) {
  NONCLIENTMETRICSA NCM{};
  NCM.cbSize = 340;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &NCM, 0));
  TFont F;
  int H = GetMenuDefaultFont(&F);
  EXPECT_EQ(H, F.Height());
  EXPECT_EQ(F.Height(), NCM.lfMenuFont.lfHeight);
  EXPECT_EQ(F.Name(), AnsiString(NCM.lfMenuFont.lfFaceName));
}

// ---- bitmaps -----------------------------------------------------------------------------------

TEST(CoolBitmaps, RotateTurnsClockwiseNPlusOneTimes) {
  auto Src = MakeBitmap(10, 20, clBlack);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 10; ++X) Src->Canvas()->SetPixels(X, Y, Rgb(X * 20, Y * 10, 7));
  auto Color = [](int X, int Y) { return Rgb(X * 20, Y * 10, 7); };

  TBitmap Quarter;
  Quarter.Assign(Src.get());
  BitmapRotate(&Quarter, 0);  // one turn: (x, y) -> (H - 1 - y, x)
  ASSERT_EQ(Quarter.Width(), 20);
  ASSERT_EQ(Quarter.Height(), 10);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 10; ++X) { ASSERT_EQ(Px(Quarter, 19 - Y, X), Color(X, Y)); }

  TBitmap Half;
  Half.Assign(Src.get());
  BitmapRotate(&Half, 1);  // two turns: 180 degrees
  ASSERT_EQ(Half.Width(), 10);
  ASSERT_EQ(Half.Height(), 20);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 10; ++X) { ASSERT_EQ(Px(Half, 9 - X, 19 - Y), Color(X, Y)); }

  TBitmap Same;
  Same.Assign(Src.get());
  BitmapRotate(&Same, -1);
  BitmapRotate(&Same, 3);  // four turns
  EXPECT_EQ(Same.Width(), 10);
  EXPECT_EQ(Px(Same, 3, 4), Color(3, 4));
}

TEST(CoolBitmaps, MonoBitmapFromMonochromeShadesTheBlackPixels) {
  auto B = MakeBitmap(8, 8, clWhite);
  B->Canvas()->SetPixels(3, 3, clBlack);
  const TColor Face = Rgb(10, 200, 30);
  for (int Mode : {0, 1}) {
    TBitmap T;
    T.Assign(B.get());
    CreateMonoBitmap(&T, clWhite, Face, true, Mode);
    ASSERT_EQ(T.Width(), 8);
    EXPECT_EQ(Px(T, 3, 3), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Px(T, 4, 4), ColorToRGB(Mode & 1 ? clBtnShadow : clBtnHighlight));
    EXPECT_EQ(Px(T, 0, 0), Face);
    EXPECT_EQ(Px(T, 5, 5), Face);
  }
}

TEST(CoolBitmaps, MonoBitmapFromColourTreatsKeyWhiteAndSilverAsBackground) {
  auto B = MakeBitmap(8, 8, clOlive);           // key colour
  B->Canvas()->SetPixels(1, 1, clWhite);
  B->Canvas()->SetPixels(2, 1, clSilver);
  B->Canvas()->SetPixels(5, 5, clNavy);        // a dark drawn pixel
  const TColor Face = Rgb(10, 200, 30);
  CreateMonoBitmap(B.get(), clOlive, Face, false, 0);
  // The picture is shrunk into (0, 0, 7, 7); only its dark pixels stay, in shadow.
  int Shadowed = 0;
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) {
      TColor C = Px(*B, X, Y);
      if (C == ColorToRGB(clBtnShadow)) ++Shadowed;
      else ASSERT_TRUE(C == Face || C == ColorToRGB(clBtnHighlight)) << X << "," << Y;
    }
  EXPECT_GE(Shadowed, 1);
  EXPECT_LE(Shadowed, 2);
  EXPECT_EQ(Px(*B, 1, 1), Face);
  EXPECT_EQ(Px(*B, 7, 0), Face);  // the column the shrunk copy leaves free is background
  EXPECT_EQ(Px(*B, 0, 7), Face);
}

TEST(CoolBitmaps, TransparentStretchLeavesTheMaskColourOut) {
  auto Src = MakeBitmap(4, 4, clFuchsia);
  Src->Canvas()->SetPixels(1, 1, clBlue);
  Src->Canvas()->SetPixels(2, 2, clLime);
  auto Dst = MakeBitmap(10, 10, clYellow);
  TransparentStretchBltEx(Dst->Canvas()->Handle(), Src->Canvas()->Handle(), Rect(1, 1, 9, 9), Rect(0, 0, 4, 4),
                          clFuchsia);
  EXPECT_EQ(Px(*Dst, 1, 1), clYellow);
  EXPECT_EQ(Px(*Dst, 3, 3), clBlue);
  EXPECT_EQ(Px(*Dst, 4, 4), clBlue);
  EXPECT_EQ(Px(*Dst, 5, 5), clLime);
  EXPECT_EQ(Px(*Dst, 8, 8), clYellow);
  EXPECT_EQ(Px(*Dst, 0, 0), clYellow);
}

TEST(CoolBitmaps, IconBecomesABitmapOnTheBackColour) {
  TIcon Icon;
  Icon.SetHandle(CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512))));  // IDI_APPLICATION
  ASSERT_FALSE(Icon.Empty());
  TBitmap B;
  GetBitmapFromIcon(&B, &Icon, clOlive);
  EXPECT_EQ(B.Width(), Icon.Width());
  EXPECT_EQ(B.Height(), Icon.Height());
  int Olive = 0, Other = 0;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) (Px(B, X, Y) == clOlive ? Olive : Other)++;
  EXPECT_GT(Olive, 0);  // the transparent part shows the back colour
  EXPECT_GT(Other, 0);
}

TEST(CoolBitmaps, OpenBitmapIconGoesByExactExtension) {
  char Dir[MAX_PATH];
  GetTempPathA(MAX_PATH, Dir);
  const AnsiString Lower = AnsiString(Dir) + "coolutils_test.bmp", Upper = AnsiString(Dir) + "coolutils_test2.BMP";
  auto B = MakeBitmap(5, 3, clRed);
  B->SaveToFile(Lower);
  B->SaveToFile(Upper);
  HBITMAP H = OpenBitmapIcon(Lower);
  ASSERT_NE(H, nullptr);
  BITMAP Info{};
  GetObjectA(H, sizeof Info, &Info);
  EXPECT_EQ(Info.bmWidth, 5);
  EXPECT_EQ(Info.bmHeight, 3);
  DeleteObject(H);
  EXPECT_EQ(OpenBitmapIcon(Upper), nullptr);
  EXPECT_EQ(OpenBitmapIcon(AnsiString(Dir) + "coolutils_missing.bmp"), nullptr);
  EXPECT_EQ(LoadBitmapIcon(GetModuleHandleA(nullptr), "NO_SUCH_RESOURCE"), nullptr);
  DeleteFileA(Lower.c_str());
  DeleteFileA(Upper.c_str());
}

// ---- colours and devices -----------------------------------------------------------------------

TEST(CoolColours, InvertedColourFlipsEveryChannel) {
  EXPECT_EQ(GetInvertedColor(clBlack), clWhite);
  EXPECT_EQ(GetInvertedColor(Rgb(0x12, 0x34, 0x56)), Rgb(0xED, 0xCB, 0xA9));
  EXPECT_EQ(GetInvertedColor(clBtnFace), TColor(0xFFFFFF - ColorToRGB(clBtnFace)));
}

TEST(CoolColours, ColourCountDoesNotOverflowAtThirtyTwoBits) {
  TCanvas Canvas;
  TWindowDC Screen;
  Canvas.SetHandle(Screen);
  const int Bits = GetDeviceCaps(Screen, BITSPIXEL), Planes = GetDeviceCaps(Screen, PLANES);
  EXPECT_EQ(GetSysColorsNumber(&Canvas), (int64_t(1) << Bits) * Planes);
  EXPECT_GT(GetSysColorsNumber(&Canvas), 0);
  if (Bits == 32) { EXPECT_EQ(GetSysColorsNumber(&Canvas), int64_t(4294967296LL) * Planes); }
  Canvas.SetHandle(nullptr);
  EXPECT_EQ(GetSysColorsNumber(nullptr), 0);
}

// ---- menus and windows -------------------------------------------------------------------------

TEST(CoolMenus, SetJustifyKeepsCaptionsOfAnyLength) {
  TPopupMenu* Menu = TComponent::Create<TPopupMenu>(nullptr);
  const std::string Long(150, 'x');
  const AnsiString Captions[] = {"Short", AnsiString((Long + "y").c_str())};
  std::vector<TMenuItem*> Items;
  for (const AnsiString& C : Captions) {
    TMenuItem* I = NewItemEx(C, 0, false, true, false, nullptr, 0, mbNone, "");
    Menu->Items()->Add(I);
    Items.push_back(I);
  }
  HMENU H = Menu->Handle();
  for (size_t K = 0; K < Items.size(); ++K) {
    for (bool Right : {true, false}) {
      ASSERT_TRUE(SetJustify(Menu, Items[K], Right));
      MENUITEMINFOA Info{};
      Info.cbSize = sizeof Info;
      Info.fMask = MIIM_FTYPE;
      ASSERT_TRUE(GetMenuItemInfoA(H, Items[K]->Command(), FALSE, &Info));
      EXPECT_EQ((Info.fType & MFT_RIGHTJUSTIFY) != 0, Right);
      char Buf[400] = {};
      GetMenuStringA(H, Items[K]->Command(), Buf, sizeof Buf, MF_BYCOMMAND);
      EXPECT_EQ(AnsiString(Buf), Captions[K]);
    }
  }
  EXPECT_FALSE(SetJustify(static_cast<TMenu*>(nullptr), Items[0], true));
  EXPECT_FALSE(Popup(nullptr, Menu));
  EXPECT_FALSE(PopupEx(nullptr, Menu, 0, 0));
  TObject::Free(Menu);
}

TEST(CoolMenus, NewItemExSetsEveryField) {
  TMenuItem* I = NewItemEx("&Open", TShortCut(scCtrl | 'O'), true, false, true, nullptr, 42, mbBarBreak, "OpenItem");
  EXPECT_EQ(I->Caption(), AnsiString("&Open"));
  EXPECT_EQ(I->ShortCut(), TShortCut(scCtrl | 'O'));
  EXPECT_TRUE(I->Checked());
  EXPECT_FALSE(I->Enabled());
  EXPECT_TRUE(I->RadioItem());
  EXPECT_EQ(I->HelpContext(), 42);
  EXPECT_EQ(I->Break(), mbBarBreak);
  EXPECT_EQ(I->Name(), AnsiString("OpenItem"));
  TObject::Free(I);
}

TEST(CoolWindows, KeyboardChangedComparesOnlyTheDownBit) {
  TKeyboardState Snap{};
  for (int K = 0; K < 256; ++K) Snap[K] = (GetAsyncKeyState(K) & 0x8000) ? 0x80 : 0;
  // Toggle and other low bits are not a change.
  TKeyboardState Toggled;
  for (int K = 0; K < 256; ++K) Toggled[K] = Snap[K] | 0x01;
  EXPECT_FALSE(KeyboardChanged(Snap));
  EXPECT_FALSE(KeyboardChanged(Toggled));
  TKeyboardState WasDown;
  std::copy(std::begin(Snap), std::end(Snap), std::begin(WasDown));
  WasDown[VK_F13] = 0x80;
  EXPECT_TRUE(KeyboardChanged(WasDown));

  // A key pressed now, not in the snapshot.
  INPUT In{};
  In.type = INPUT_KEYBOARD;
  In.ki.wVk = VK_F14;
  SendInput(1, &In, sizeof In);
  vcltest::PumpMessages();
  const bool Down = (GetAsyncKeyState(VK_F14) & 0x8000) != 0;
  TKeyboardState Now = {};
  for (int K = 0; K < 256; ++K) Now[K] = Snap[K];
  if (Down) { EXPECT_TRUE(KeyboardChanged(Now)); }
  Now[VK_F14] = 0x80;
  if (Down) { EXPECT_FALSE(KeyboardChanged(Now)); }
  In.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &In, sizeof In);
  vcltest::PumpMessages();
  EXPECT_TRUE(Down) << "the injected key never showed as down";
}

TEST(CoolWindows, MouseInCtlFollowsTheCursor) {
  TBackgroundScene S;
  HWND Parent = S.C->Parent()->Handle();
  const TPoint Inside = S.C->BoundsRect().TopLeft() + Point(5, 5);
  vcltest::MoveMouse(Parent, Inside.X, Inside.Y);
  EXPECT_TRUE(MouseInCtl(S.C));
  vcltest::MoveMouse(Parent, Inside.X + 65, Inside.Y);
  EXPECT_FALSE(MouseInCtl(S.C));
  EXPECT_FALSE(MouseInCtl(nullptr));
}

TEST(CoolWindows, InvalidateRectExReportsTheResult) {
  TBackgroundScene S;
  EXPECT_TRUE(InvalidateRectEx(S.C->Handle(), Rect(0, 0, 5, 5), true));
  EXPECT_TRUE(InvalidateRectEx(S.C->Handle(), nullptr, false));
  EXPECT_FALSE(InvalidateRectEx(reinterpret_cast<HWND>(0x7FF0), Rect(0, 0, 5, 5), true));
  vcltest::PumpMessages();
}

TEST(CoolWindows, DesignTimeIsTheDesigningState) {
  TComponent* C = TComponent::Create<TComponent>(nullptr);
  EXPECT_FALSE(DesignTime(C));
  EXPECT_FALSE(DesignTime(nullptr));
  TObject::Free(C);
}

uint64_t ThreadCpuMs() {
  FILETIME A, B, K, U;
  GetThreadTimes(GetCurrentThread(), &A, &B, &K, &U);
  auto Ms = [](FILETIME F) { return ((uint64_t(F.dwHighDateTime) << 32) | F.dwLowDateTime) / 10000; };
  return Ms(K) + Ms(U);
}

TEST(CoolDelay, WaitsWithoutSpinningAndHandlesMessages) {
  // A posted message is handled while waiting.
  vcltest::TTestWindow W;
  static int Handled;
  Handled = 0;
  struct TProbe {
    static void CALLBACK Timer(HWND, UINT, UINT_PTR, DWORD) { ++Handled; }
  };
  UINT_PTR Id = SetTimer(W.Handle(), 77, 10, &TProbe::Timer);
  const DWORD Start = GetTickCount();
  const uint64_t Cpu = ThreadCpuMs();
  Delay(300);
  const DWORD Elapsed = GetTickCount() - Start;
  const uint64_t Used = ThreadCpuMs() - Cpu;
  KillTimer(W.Handle(), Id);
  EXPECT_GE(Elapsed, 290u);
  EXPECT_LT(Used, 150u) << "busy-waiting: " << Used << " ms of processor time in " << Elapsed << " ms";
  EXPECT_GT(Handled, 0);
}

DWORD FakeNow;
DWORD FakeCalls;
DWORD FakeTicks() {
  ++FakeCalls;
  DWORD T = FakeNow;
  FakeNow += 4;
  return T;
}

TEST(CoolDelay, SurvivesTheWrapOfTheTickCounter) {
  struct Case { DWORD Start; unsigned Ms; };
  for (const Case& C : {Case{0xFFFFFFF0u, 20}, Case{0xFFFFFFFFu, 8}, Case{100, 20}}) {
    FakeNow = C.Start;
    FakeCalls = 0;
    TDelayTickSource Old = SetDelayTickSource(&FakeTicks);
    Delay(C.Ms);
    SetDelayTickSource(Old);
    // 4 ms per reading: it returns once the clock has moved on by Ms, no sooner and no later.
    const DWORD Moved = FakeNow - C.Start - 4;
    EXPECT_GE(Moved, C.Ms) << std::hex << C.Start;
    EXPECT_LT(Moved, C.Ms + 12) << std::hex << C.Start;
  }
}

// ---- small values ------------------------------------------------------------------------------

TEST(CoolSmallValues, StringsTable) {
  struct Case { const char* In; const char* Parent; };
  for (const Case& C : {Case{"C:\\a\\b\\", "C:\\a\\"}, Case{"C:\\a\\b", "C:\\a\\"}, Case{"name", "name"},
                        Case{"C:\\", "C:"}, Case{"", ""}, Case{"\\x", "\\"}})
    EXPECT_EQ(GetParentFolder(C.In), AnsiString(C.Parent)) << C.In;

  struct RCase { const char* Sub; const char* S; int Pos; };
  for (const RCase& C : {RCase{"\\", "a\\b\\c", 2}, RCase{"ab", "abxab", 1}, RCase{"ab", "abx", 2},
                         RCase{"z", "abc", 0}, RCase{"", "abc", 0}, RCase{"abcd", "abc", 0}})
    EXPECT_EQ(RPos(C.Sub, C.S), C.Pos) << C.Sub << " in " << C.S;

  EXPECT_TRUE(CoolUtils::StrToBool("TRUE"));
  EXPECT_TRUE(CoolUtils::StrToBool("true"));
  EXPECT_FALSE(CoolUtils::StrToBool("1"));
  EXPECT_FALSE(CoolUtils::StrToBool("Truex"));
  EXPECT_EQ(CoolUtils::BoolToStr(true), AnsiString("True"));
  EXPECT_EQ(CoolUtils::BoolToStr(false), AnsiString("False"));
}

TEST(CoolSmallValues, RectanglesAndPoints) {
  TRect R(10, 20, 30, 40);
  TRect& Back = InflateRectEx(R, -1, 2, 3, -4);
  EXPECT_EQ(&Back, &R);
  EXPECT_EQ(R, TRect(9, 22, 33, 36));

  TPoint P(3, 4);
  OffsetPoint(P, -5, 6);
  EXPECT_EQ(P, TPoint(-2, 10));

  struct Case { TPoint P2; bool Equal; };
  for (const Case& C : {Case{{10, 10}, true}, Case{{7, 7}, true}, Case{{12, 12}, true}, Case{{13, 10}, false},
                        Case{{6, 10}, false}, Case{{10, 13}, false}})
    EXPECT_EQ(PointsFakeEqual(Point(10, 10), C.P2, 3), C.Equal) << C.P2.X << "," << C.P2.Y;

  EXPECT_EQ(MinVal(3, -2), -2);
  EXPECT_EQ(MaxVal(3, -2), 3);
  EXPECT_EQ(PredEx(3, 5), -2);
  EXPECT_EQ(SuccEx(3, 5), 8);
}

}  // namespace
