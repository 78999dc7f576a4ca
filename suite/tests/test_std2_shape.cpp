// The shaped buttons, windowed and not: the regions of the 30 shapes, hit testing under the real
// mouse, the bevelled edge at chosen pixels, the dialog keys, and no painting once settled.
#include "suite/Std2ShapeBtn.h"
#include "suite/qAnimate.h"
#include "suite/tests/suitetest.h"
#include "rtl/Streaming.h"
#include "vcl/GdiGuards.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

using namespace suitetest;

namespace {

constexpr TColor Face = 0xC08040;
constexpr TColor Shade = 0x0000FF;  // ShadowColor
constexpr TColor Light = 0x00FF00;  // HighLightColor

struct TLog : TObject {
  int Clicks = 0, Paints = 0, Downs = 0;
  void Click(TObject*) { ++Clicks; }
  void Paint(TObject*) { ++Paints; }
  void Down(TObject*, TMouseButton, TShiftState, int, int) { ++Downs; }
};

template <class B> B* Styled(B* Btn, TLog* Log) {
  Btn->SetColor(Face);
  Btn->SetShadowColor(Shade);
  Btn->SetHighLightColor(Light);
  if (Log) {
    Btn->OnClick = EVENT(Log, TLog::Click);
    Btn->OnPaint = EVENT(Log, TLog::Paint);
  }
  return Btn;
}

TRgnOwner WindowRegion(HWND Wnd) {
  TRgnOwner R(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(Wnd, R) == ERROR) return TRgnOwner();
  return R;
}

TRect BoxOf(HRGN R) {
  RECT Box{};
  GetRgnBox(R, &Box);
  return Rect(Box.left, Box.top, Box.right, Box.bottom);
}

// ---------------------------------------------------------------------------------------------
// Regions

// Points as fractions of the size (in 1/12), inside or outside the shape, and the sides the shape
// meets with a straight edge ("LTRB"): there the box is exact, elsewhere a pointed corner may
// give up to two pixels.
struct TShapeCase {
  sbType Shape;
  const char* Flat;
  std::vector<std::pair<int, int>> In, Out;
};

const TShapeCase ShapeCases[] = {
    {sbRectangle, "LTRB", {{1, 1}, {11, 11}}, {}},
    {sbUpTriangle, "B", {{6, 2}, {1, 11}}, {{1, 1}, {11, 2}}},
    {sb000, "B", {{6, 2}, {1, 11}}, {{1, 1}, {11, 2}}},
    {sb360, "B", {{6, 2}, {1, 11}}, {{1, 1}, {11, 2}}},
    {sbDnTriangle, "T", {{6, 10}, {1, 1}}, {{1, 11}, {11, 10}}},
    {sb180, "T", {{6, 10}, {1, 1}}, {{1, 11}, {11, 10}}},
    {sbLTriangle, "R", {{2, 6}, {11, 1}}, {{1, 1}, {2, 11}}},
    {sb270, "R", {{2, 6}, {11, 1}}, {{1, 1}, {2, 11}}},
    {sbRTriangle, "L", {{10, 6}, {1, 1}}, {{11, 1}, {10, 11}}},
    {sb090, "L", {{10, 6}, {1, 1}}, {{11, 1}, {10, 11}}},
    {sbTLTriangle, "LT", {{1, 1}, {4, 4}}, {{11, 11}, {8, 8}}},
    {sbTRTriangle, "TR", {{11, 1}, {8, 4}}, {{1, 11}, {4, 8}}},
    {sbBLTriangle, "LB", {{1, 11}, {4, 8}}, {{11, 1}, {8, 4}}},
    {sbBRTriangle, "RB", {{11, 11}, {8, 8}}, {{1, 1}, {4, 4}}},
    {sbUpLTriangle, "", {{1, 1}, {5, 5}}, {{11, 11}, {1, 11}}},
    {sb315, "", {{1, 1}, {5, 5}}, {{11, 11}, {1, 11}}},
    {sbUpRTriangle, "", {{11, 1}, {7, 5}}, {{1, 11}, {11, 11}}},
    {sb045, "", {{11, 1}, {7, 5}}, {{1, 11}, {11, 11}}},
    {sbDnRTriangle, "", {{11, 11}, {7, 7}}, {{1, 1}, {11, 1}}},
    {sb135, "", {{11, 11}, {7, 7}}, {{1, 1}, {11, 1}}},
    {sbDnLTriangle, "", {{1, 11}, {5, 7}}, {{11, 1}, {1, 1}}},
    {sb225, "", {{1, 11}, {5, 7}}, {{11, 1}, {1, 1}}},
    {sbPlus, "LTRB", {{6, 1}, {1, 6}, {6, 6}, {6, 11}}, {{1, 1}, {11, 1}, {1, 11}}},
    {sbMinus, "LTRB", {{1, 6}, {6, 1}, {6, 11}}, {{1, 1}, {11, 11}, {1, 11}}},
    {sbCircle, "", {{6, 6}, {1, 6}, {6, 1}}, {{0, 0}, {11, 11}, {11, 1}}},
    {sbUpTrapezoid, "TB", {{6, 1}, {1, 11}}, {{1, 1}, {11, 1}}},
    {sbDnTrapezoid, "TB", {{1, 1}, {6, 11}}, {{1, 11}, {11, 11}}},
    {sbLTrapezoid, "LR", {{11, 1}, {1, 6}}, {{1, 1}, {1, 11}}},
    {sbRTrapezoid, "LR", {{1, 1}, {11, 6}}, {{11, 1}, {11, 11}}},
    {sbOwnerDraw, "LTRB", {{1, 1}, {11, 11}}, {}},
};

// The box: the size measured (W, H, or W - 1, H - 1), or for the plus three thirds each way and
// for the bar three thirds down.
TRect ExpectedBox(sbType Shape, int W, int H, std2shape::TFamily Family) {
  const bool Windowed = Family == std2shape::sfWindowed;
  const int MW = Windowed ? W : W - 1, MH = Windowed ? H : H - 1;
  auto Third = [&](int N) { return Windowed ? (N + 2) / 3 : N / 3; };
  if (Shape == sbPlus) return Rect(0, 0, 3 * Third(MW), 3 * Third(MH));
  if (Shape == sbMinus) return Rect(0, 0, MW, 3 * Third(MH));
  return Rect(0, 0, MW, MH);
}

// A side of the box: exact where the shape is flat, else at most two pixels inside.
void ExpectSide(const char* Name, int Got, int Want, int Inward, bool Flat) {
  if (Flat) EXPECT_EQ(Got, Want) << Name;
  else EXPECT_TRUE((Got - Want) * Inward >= 0 && (Got - Want) * Inward <= 2) << Name << " " << Got << " for " << Want;
}

TEST(ShapeRegion, EveryShapeAtTwoSizesForBothFamilies) {
  TFormScene S(400, 300);
  auto* Windowed = S.Add<TqcShapeColorBtn>(10, 10, 50, 50);
  auto* Graphic = S.Add<TqShapeBtn>(200, 10, 50, 50);
  S.Show();
  for (const auto& [W, H] : {std::pair{50, 50}, std::pair{61, 37}}) {
    Windowed->SetBounds(10, 10, W, H);
    Graphic->SetBounds(200, 10, W, H);
    for (const TShapeCase& C : ShapeCases) {
      SCOPED_TRACE(testing::Message() << "shape " << int(C.Shape) << " at " << W << " x " << H);
      Windowed->SetShape(C.Shape);
      Graphic->SetShape(C.Shape);
      TRgnOwner Win = WindowRegion(Windowed->Handle());
      ASSERT_TRUE(Win);
      const std::pair<std2shape::TFamily, HRGN> Families[] = {{std2shape::sfWindowed, Win},
                                                              {std2shape::sfGraphic, Graphic->Region()}};
      for (const auto& [Family, R] : Families) {
        SCOPED_TRACE(Family == std2shape::sfWindowed ? "windowed" : "graphic");
        const TRect Box = BoxOf(R);
        const TRect Want = ExpectedBox(C.Shape, W, H, Family);
        const std::string Flat = C.Flat;
        auto IsFlat = [&](char Side) { return Flat.find(Side) != std::string::npos; };
        ExpectSide("left", Box.Left, Want.Left, 1, IsFlat('L'));
        ExpectSide("top", Box.Top, Want.Top, 1, IsFlat('T'));
        ExpectSide("right", Box.Right, Want.Right, -1, IsFlat('R'));
        ExpectSide("bottom", Box.Bottom, Want.Bottom, -1, IsFlat('B'));
        for (const auto& [FX, FY] : C.In) EXPECT_TRUE(PtInRegion(R, W * FX / 12, H * FY / 12)) << FX << "/12, " << FY << "/12";
        for (const auto& [FX, FY] : C.Out) EXPECT_FALSE(PtInRegion(R, W * FX / 12, H * FY / 12)) << FX << "/12, " << FY << "/12";
      }
    }
  }
}

TEST(ShapeRegion, ThePlusBoxesAndTheOwnerDrawFallback) {
  TFormScene S;
  auto* B = S.Add<TqcShapeColorBtn>(10, 10, 50, 50);
  auto* G = S.Add<TqShapeBtn>(200, 10, 25, 25);
  S.Show();
  B->SetShape(sbPlus);
  G->SetShape(sbPlus);
  EXPECT_EQ(BoxOf(WindowRegion(B->Handle())), Rect(0, 0, 51, 51)) << "one pixel beyond the 50";
  EXPECT_EQ(BoxOf(G->Region()), Rect(0, 0, 24, 24));
  B->SetBounds(10, 10, 51, 51);
  EXPECT_EQ(BoxOf(WindowRegion(B->Handle())), Rect(0, 0, 51, 51));

  B->SetShape(sbOwnerDraw);
  G->SetShape(sbOwnerDraw);
  EXPECT_EQ(BoxOf(WindowRegion(B->Handle())), Rect(0, 0, 51, 51));
  EXPECT_EQ(BoxOf(G->Region()), Rect(0, 0, 24, 24));
}

// ---------------------------------------------------------------------------------------------
// Hit testing under the real mouse

TEST(ShapeHitTest, ClicksOutsideTheShapeReachTheParent) {
  TFormScene S;
  TLog FormLog, WinLog, GraphicLog, GlassLog;
  S.Form->OnMouseDown = EVENT(&FormLog, TLog::Down);
  auto* Win = Styled(S.Add<TqcShapeColorBtn>(20, 20, 80, 80), &WinLog);
  auto* Graphic = Styled(S.Add<TqShapeBtn>(140, 20, 80, 80), &GraphicLog);
  auto* Glass = Styled(S.Add<TqShapeBtn>(260, 20, 80, 80), &GlassLog);
  Win->SetShape(sbUpTriangle);
  Graphic->SetShape(sbUpTriangle);
  Glass->SetShape(sbUpTriangle);
  Glass->SetTransparent(true);
  S.Show();

  struct TTarget {
    int Left;
    TLog* Log;
  };
  int FormDowns = 0;
  for (const TTarget& T : {TTarget{20, &WinLog}, TTarget{140, &GraphicLog}, TTarget{260, &GlassLog}}) {
    SCOPED_TRACE(T.Left);
    // The top-left corner of the rectangle is off the triangle: the form's.
    POINT Corner{T.Left + 5, 25}, Inside{T.Left + 40, 85};
    ClientToScreen(S.Form->Handle(), &Corner);
    ClientToScreen(S.Form->Handle(), &Inside);
    if (T.Log == &WinLog) {
      EXPECT_EQ(WindowFromPoint(Corner), S.Form->Handle());
      EXPECT_EQ(WindowFromPoint(Inside), Win->Handle());
    }
    vcltest::MoveMouse(S.Form->Handle(), T.Left + 5, 25);
    MouseButton(true);
    MouseButton(false);
    EXPECT_EQ(FormLog.Downs, ++FormDowns);
    EXPECT_EQ(T.Log->Clicks, 0);
    vcltest::MoveMouse(S.Form->Handle(), T.Left + 40, 85);
    MouseButton(true);
    MouseButton(false);
    EXPECT_EQ(T.Log->Clicks, 1);
    EXPECT_EQ(FormLog.Downs, FormDowns);
  }
}

TEST(ShapeHitTest, PressInATriangleOutAndReleaseClicksOnlyBackIn) {
  TFormScene S;
  TLog WinLog, GraphicLog;
  auto* Win = Styled(S.Add<TqcShapeColorBtn>(20, 20, 80, 80), &WinLog);
  auto* Graphic = Styled(S.Add<TqShapeBtn>(140, 20, 80, 80), &GraphicLog);
  Win->SetShape(sbUpTriangle);
  Graphic->SetShape(sbUpTriangle);
  S.Show();
  struct TTarget {
    int Left;
    TLog* Log;
    std::function<bool()> Down;
  };
  const TTarget Targets[] = {{20, &WinLog, [&] { return Win->Down(); }},
                             {140, &GraphicLog, [&] { return Graphic->Pressed(); }}};
  for (const TTarget& T : Targets) {
    SCOPED_TRACE(T.Left);
    vcltest::MoveMouse(S.Form->Handle(), T.Left + 40, 80);
    MouseButton(true);
    EXPECT_TRUE(T.Down());
    // Off the shape, still inside the rectangle.
    vcltest::MoveMouse(S.Form->Handle(), T.Left + 4, 24);
    ASSERT_TRUE(AppPumpUntil([&] { return !T.Down(); }));
    MouseButton(false);
    EXPECT_EQ(T.Log->Clicks, 0) << "released off the shape";

    vcltest::MoveMouse(S.Form->Handle(), T.Left + 40, 70);
    MouseButton(true);
    vcltest::MoveMouse(S.Form->Handle(), T.Left + 4, 24);
    ASSERT_TRUE(AppPumpUntil([&] { return !T.Down(); }));
    vcltest::MoveMouse(S.Form->Handle(), T.Left + 42, 75);
    ASSERT_TRUE(AppPumpUntil([&] { return T.Down(); })) << "back in";
    MouseButton(false);
    EXPECT_EQ(T.Log->Clicks, 1);
  }
}

// ---------------------------------------------------------------------------------------------
// The edge

struct TEdgeCase {
  const char* Name;
  sbType Shape;
  int W, H;
  bool Windowed;
  TPoint Press;  // a point of the shape
  // Points and their pen: 'S' shadow, 'L' light, 'K' dark.
  std::vector<std::tuple<int, int, char>> Points;
};

TEST(ShapeEdge, PensAtChosenPointsAndPressedSwapsLightAndDark) {
  const TEdgeCase Cases[] = {
      {"rectangle", sbRectangle, 50, 50, true, {25, 25}, {{0, 10, 'S'}, {48, 10, 'S'}, {1, 10, 'L'}, {49, 10, 'K'}, {10, 49, 'K'}}},
      {"circle", sbCircle, 50, 50, true, {25, 25}, {{0, 24, 'S'}, {47, 24, 'S'}, {1, 24, 'L'}, {48, 24, 'K'}}},
      {"plus", sbPlus, 50, 50, true, {25, 25}, {{17, 40, 'S'}, {18, 40, 'L'}, {48, 25, 'K'}, {32, 40, 'K'}}},
      {"minus", sbMinus, 50, 50, true, {25, 25}, {{0, 25, 'S'}, {1, 25, 'L'}, {49, 25, 'K'}, {10, 31, 'K'}}},
      {"triangle", sbUpTriangle, 50, 50, true, {25, 40}, {{25, 48, 'S'}, {25, 49, 'K'}}},
      {"trapezoid", sbUpTrapezoid, 50, 50, true, {25, 25}, {{25, 0, 'S'}, {25, 1, 'L'}, {25, 48, 'S'}, {25, 49, 'K'}}},
      {"arrow", sb090, 50, 50, true, {15, 25}, {{0, 25, 'S'}, {1, 25, 'L'}}},
      {"shape button rectangle", sbRectangle, 25, 25, false, {12, 12}, {{0, 10, 'S'}, {1, 10, 'L'}, {24, 10, 'K'}}},
      {"shape button corner", sbBLTriangle, 25, 25, false, {6, 18}, {{0, 12, 'S'}, {1, 12, 'L'}, {12, 24, 'K'}}},
      {"shape button minus", sbMinus, 25, 25, false, {12, 12}, {{0, 12, 'S'}, {1, 12, 'L'}, {24, 12, 'K'}}},
  };
  TFormScene S;
  S.Show();
  for (const TEdgeCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TControl* B;
    if (C.Windowed) {
      auto* W = Styled(S.Add<TqcShapeColorBtn>(10, 10, C.W, C.H), nullptr);
      W->SetShape(C.Shape);
      B = W;
    } else {
      auto* G = Styled(S.Add<TqShapeBtn>(10, 10, C.W, C.H), nullptr);
      G->SetShape(C.Shape);
      B = G;
    }
    for (bool Pressed : {false, true}) {
      if (Pressed) {
        // Pressed by the mouse, held while the picture is taken.
        vcltest::MoveMouse(S.Form->Handle(), 10 + C.Press.X, 10 + C.Press.Y);
        MouseButton(true);
      }
      const TPicture24 P = Render(B);
      for (const auto& [X, Y, Pen] : C.Points) {
        const TColor Want = Pen == 'S' ? Shade : (Pen == 'L') != Pressed ? Light : clBlack;
        EXPECT_EQ(Hex(P.At(X, Y)), Hex(Want)) << "(" << X << ", " << Y << ") " << Pen << (Pressed ? " pressed" : "");
      }
      if (Pressed) MouseButton(false);
    }
    TObject::Free(B);
  }
}

// ---------------------------------------------------------------------------------------------
// Faces

// The graphic shape button's face takes Color on its first paint and after each change.
TEST(ShapeFace, TheShapeButtonFaceTakesColorEveryPaint) {
  struct TCase {
    const char* Name;
    sbType Shape;
    TPoint Inside;
  };
  const TCase Cases[] = {
      {"rectangle", sbRectangle, {25, 25}}, {"circle", sbCircle, {25, 25}},  {"plus", sbPlus, {25, 25}},
      {"minus", sbMinus, {25, 25}},         {"triangle", sbUpTriangle, {25, 40}}, {"corner", sbBLTriangle, {12, 37}},
      {"arrow", sb090, {15, 25}},           {"trapezoid", sbUpTrapezoid, {25, 25}},
  };
  TFormScene S;
  S.Show();
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* B = S.Add<TqShapeBtn>(10, 10, 50, 50);
    B->SetShape(C.Shape);
    B->SetColor(Face);
    EXPECT_EQ(Hex(Render(B).At(C.Inside.X, C.Inside.Y)), Hex(Face)) << "first paint";
    for (TColor Next : {TColor(0x20A0F0), TColor(clBtnFace), Face}) {
      B->SetColor(Next);
      EXPECT_EQ(Hex(Render(B).At(C.Inside.X, C.Inside.Y)), Hex(ColorToRGB(Next) & 0xFFFFFF)) << Hex(Next);
    }
    TObject::Free(B);
  }
}

// With sbOwnerDraw and OnOwnerDraw, the handler alone draws, on the button's own canvas with the
// brush in Color: no face fill, no caption.
struct TOwnerDraw : TObject {
  TCanvas* Canvas = nullptr;
  TColor Brush = clNone;
  int Calls = 0;
  void Draw(TObject*, TCanvas* C, bool, int, int, TColor, TColor) {
    ++Calls;
    Canvas = C;
    Brush = C->Brush()->Color();
    C->Brush()->SetColor(clFuchsia);
    C->FillRect(Rect(4, 4, 12, 12));
  }
};

TEST(ShapeFace, OwnerDrawAloneDrawsOnTheButtonsCanvas) {
  TFormScene S;
  S.Show();
  auto* B = Styled(S.Add<TqcShapeColorBtn>(10, 10, 60, 40), nullptr);
  B->SetShape(sbOwnerDraw);
  B->SetCaption("MMMM");
  B->Font()->SetColor(clBlack);
  TOwnerDraw Log;
  B->OnOwnerDraw = EVENT(&Log, TOwnerDraw::Draw);
  B->Invalidate();
  vcltest::PumpMessages();
  ASSERT_GT(Log.Calls, 0);
  EXPECT_EQ(Log.Canvas, B->Canvas());
  EXPECT_EQ(Hex(Log.Brush), Hex(Face));
  const auto Shot = vcltest::CaptureClient(B->Handle());
  const TPicture24 P = PictureOf(*Shot);
  EXPECT_EQ(Hex(P.At(8, 8)), Hex(clFuchsia)) << "the handler's drawing";
  EXPECT_EQ(InkOf(P, clBlack).Count, 0) << "no caption";
  EXPECT_EQ(InkOf(P, Light).Count + InkOf(P, Shade).Count, 0) << "no edge";
}

TEST(ShapeFace, GradientsResolveSystemColoursAndFallBackToAPlainFace) {
  TFormScene S;
  S.Show();
  struct TCase {
    const char* Name;
    gradType Fill;
    int Bands;
    bool Ramp;  // a gradient (else the plain Color face)
  };
  const TCase Cases[] = {
      {"vertical", gVert, 2, true},         {"horizontal", gHorz, 2, true},  {"rings", gCenter, 2, true},
      {"no bands", gVert, 0, false},        {"rings of no bands", gCenter, 0, false},
      {"another fill type", gDiagLeft, 75, false},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* B = S.Add<TqcShapeGradBtn>(10, 10, 80, 80);
    B->SetColor(clBtnFace);  // a system colour, resolved
    B->SetEndColor(clBlack);
    B->SetFillType(C.Fill);
    B->SetBands(C.Bands);
    const TPicture24 P = Render(B);
    const TColor Start = ColorToRGB(clBtnFace) & 0xFFFFFF;
    const TColor Far = C.Fill == gHorz ? P.At(76, 40) : P.At(40, C.Fill == gCenter ? 40 : 76);
    EXPECT_EQ(Hex(P.At(C.Fill == gHorz ? 3 : 40, C.Fill == gHorz ? 40 : 3)), Hex(Start));
    if (C.Ramp) {
      EXPECT_EQ(Hex(Far), Hex(clBlack)) << "the last band";
    } else {
      EXPECT_EQ(Hex(Far), Hex(Start));
    }
    TObject::Free(B);
  }
}

TEST(ShapeFace, TheGlyphAtItsOffsetMovesWhilePressed) {
  TFormScene S;
  auto* B = Styled(S.Add<TqcShapeBitColBtn>(10, 10, 60, 60), nullptr);
  auto Glyph = vcltest::MakeBitmap(10, 10, clRed);
  Glyph->Canvas()->SetPixels(0, 0, clFuchsia);
  B->SetGlyph(Glyph.get());
  B->OffsetGlyph()->SetLeft(12);
  B->OffsetGlyph()->SetTop(14);
  S.Show();
  TPicture24 P = Render(B);
  EXPECT_EQ(Hex(P.At(13, 15)), Hex(clRed));
  EXPECT_EQ(Hex(P.At(12, 14)), Hex(Face)) << "the transparent colour shows the face";
  vcltest::MoveMouse(B->Handle(), 40, 40);
  MouseButton(true);
  P = Render(B);
  EXPECT_EQ(Hex(P.At(13, 15)), Hex(Face)) << "one pixel down and right";
  EXPECT_EQ(Hex(P.At(14, 16)), Hex(clRed));
  MouseButton(false);
}

// ---------------------------------------------------------------------------------------------
// Keys

TEST(ShapeKeys, SpaceEnterEscapeAndTheAccelerator) {
  TFormScene S;
  TLog DefaultLog, OtherLog, CancelLog, PlusLog;
  auto* Edit = S.Add<TEdit>(10, 10, 120, 21);
  auto* D = Styled(S.Add<TqcShapeColorBtn>(10, 60, 60, 60), &DefaultLog);
  D->SetDefault(true);
  D->SetShape(sbCircle);
  auto* O = Styled(S.Add<TqcShapeColorBtn>(90, 60, 60, 60), &OtherLog);
  auto* C = Styled(S.Add<TqcShapeColorBtn>(170, 60, 60, 60), &CancelLog);
  C->SetCancel(true);
  auto* Plus = Styled(S.Add<TqShapeBtn>(250, 60, 25, 25), &PlusLog);
  Plus->SetShape(sbPlus);
  S.Show();

  Edit->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return Edit->Focused(); }));
  TapKey(VK_RETURN);
  EXPECT_EQ(DefaultLog.Clicks, 1) << "Enter from the edit: the default button";
  TapKey(VK_ESCAPE);
  EXPECT_EQ(CancelLog.Clicks, 1);
  TapKey(VK_ADD, VK_MENU);
  EXPECT_EQ(PlusLog.Clicks, 1) << "Alt + the plus key";

  O->SetFocus();
  ASSERT_TRUE(AppPumpUntil([&] { return O->Focused(); }));
  EXPECT_FALSE(D->Active());
  TapKey(VK_RETURN);
  EXPECT_EQ(OtherLog.Clicks, 1) << "the focused shaped button takes Enter";
  EXPECT_EQ(DefaultLog.Clicks, 1);

  // Space: once, on the release; not while the mouse holds the button.
  SendKey(VK_SPACE, false);
  ASSERT_TRUE(AppPumpUntil([&] { return O->Down(); }));
  EXPECT_EQ(OtherLog.Clicks, 1);
  SendKey(VK_SPACE, true);
  ASSERT_TRUE(AppPumpUntil([&] { return OtherLog.Clicks == 2; }));
  vcltest::MoveMouse(O->Handle(), 30, 30);
  MouseButton(true);
  ASSERT_TRUE(O->MouseHeld());
  TapKey(VK_SPACE);
  EXPECT_EQ(OtherLog.Clicks, 2) << "Space released over a mouse press";
  MouseButton(false);
  EXPECT_EQ(OtherLog.Clicks, 3) << "the mouse release clicks";
}

TEST(ShapeKeys, TheAcceleratorFollowsTheShapeAndSurvivesAFormResource) {
  TqShapeBtn B(nullptr);
  EXPECT_EQ(B.AcceleratorKey(), ' ');
  B.SetShape(sbPlus);
  EXPECT_EQ(B.AcceleratorKey(), '+');
  B.SetShape(sbMinus);
  EXPECT_EQ(B.AcceleratorKey(), '-');
  B.SetShape(sbCircle);
  EXPECT_EQ(B.AcceleratorKey(), ' ');
  B.SetAcceleratorKey('Q');
  EXPECT_EQ(B.AcceleratorKey(), 'Q');

  TFormPtr Form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* Plus = TComponent::Create<TqShapeBtn>(Form.get());
  Plus->SetName("Plus");
  Plus->SetShape(sbPlus);
  Plus->SetParent(Form.get());
  auto* Keyed = TComponent::Create<TqShapeBtn>(Form.get());
  Keyed->SetName("Keyed");
  Keyed->SetShape(sbMinus);
  Keyed->SetAcceleratorKey('K');
  Keyed->SetParent(Form.get());
  TMemoryStream Bin;
  WriteComponentRes(&Bin, Form.get());
  Bin.SetPosition(0);
  TFormPtr Back(TCustomForm::CreateNew<TForm>(nullptr));
  ReadComponentRes(&Bin, Back.get());
  auto* P = static_cast<TqShapeBtn*>(Back->FindComponent("Plus"));
  auto* K = static_cast<TqShapeBtn*>(Back->FindComponent("Keyed"));
  ASSERT_TRUE(P && K);
  EXPECT_EQ(P->Shape(), sbPlus);
  EXPECT_EQ(P->AcceleratorKey(), '+');
  EXPECT_EQ(K->AcceleratorKey(), 'K');
}

TEST(ShapeKeys, ModalResultOfARealModalForm) {
  TFormScene S;
  auto* Stay = Styled(S.Add<TqcShapeColorBtn>(10, 60, 60, 60), nullptr);
  auto* Close = Styled(S.Add<TqcShapeColorBtn>(130, 60, 60, 60), nullptr);
  Stay->SetShape(sbCircle);
  Close->SetShape(sbCircle);
  Close->SetModalResult(mrOk);
  TModalClicks Script;
  EXPECT_EQ(Script.Run(S.Form.get(), Stay, Close, TPoint(30, 30)), mrOk);
  EXPECT_GE(Script.StayClicks, 1);
  EXPECT_TRUE(Script.OpenAfterStay) << "a modal result of 0 keeps the form open";
}

// ---------------------------------------------------------------------------------------------
// Settling

struct TRegionSource : TObject {
  std::vector<HRGN> Given;
  void Get(TObject*, HRGN& Region, int W, int H) {
    Region = CreateEllipticRgn(0, 0, W, H / 2);
    Given.push_back(Region);
  }
};

TEST(ShapeSettling, NoPaintOnceSettledAndHandedRegionsAreDeleted) {
  TFormScene S;
  TLog Log, OwnerLog;
  auto* Tri = Styled(S.Add<TqcShapeColorBtn>(10, 10, 60, 60), &Log);
  Tri->SetShape(sbDnTriangle);
  TRegionSource Source;
  auto* Owner = Styled(S.Add<TqcShapeColorBtn>(100, 10, 60, 60), &OwnerLog);
  Owner->OnGetRegion = EVENT(&Source, TRegionSource::Get);
  Owner->SetShape(sbOwnerDraw);
  S.Show();
  AppPumpRounds(10);
  ASSERT_GE(Log.Paints, 1);
  ASSERT_GE(OwnerLog.Paints, 1);
  Log.Paints = OwnerLog.Paints = 0;
  AppPumpRounds(30);
  EXPECT_EQ(Log.Paints, 0) << "a settled shaped button paints no more";
  EXPECT_EQ(OwnerLog.Paints, 0);
  TRgnOwner Applied = WindowRegion(Owner->Handle());
  TRgnOwner Handed(CreateEllipticRgn(0, 0, 60, 30));
  TRgnOwner Diff(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(CombineRgn(Diff, Applied, Handed, RGN_XOR), NULLREGION) << "the handed region";

  // Every region handed over is deleted once another replaces it.
  Owner->SetBounds(100, 10, 80, 60);
  Owner->SetShape(sbRectangle);
  AppPumpRounds(3);
  ASSERT_GE(Source.Given.size(), 2u);
  for (HRGN R : Source.Given) EXPECT_EQ(GetObjectType(R), 0u);
}

}  // namespace
