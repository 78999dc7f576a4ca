// The cool track bar in real windows: the range and position rules with their change events,
// keys and real mouse input, the drag formula, turning vertical, the painted bar, ticks and
// thumbs (also right after a change, before any message is handled), backgrounds, bevels and
// the focus mark, degenerate sizes, and the properties read from a form.
#include "coolctrls/CoolCtrls.h"
#include "coolctrls/tests/dragtest.h"
#include "rtl/tests/default_check.h"
#include "suite/tests/suitetest.h"
#include "vcl/GdiGuards.h"
#include "vcl/StdCtrls.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using suitetest::Hex;
using suitetest::TFormPtr;
using vcltest::PumpMessages;
using vcltest::TTestHost;

constexpr TColor Back = TColor(0x00C0E0F0);   // the bar's own colour behind everything
constexpr TColor Face = TColor(0x00C0C0C0);   // the built-in thumbs' face
constexpr TColor DarkFace = TColor(0x00800000);  // the face of the dragged or disabled thumbs

struct TChangeLog : TObject {
  std::vector<int> Positions;
  TCoolTrackBar* Bar = nullptr;
  void Changed(TObject*) { Positions.push_back(Bar->Position()); }
  void Watch(TCoolTrackBar* B) {
    Bar = B;
    B->OnChange = TNotifyEvent::Bind<&TChangeLog::Changed>(this);
  }
};

// A 150 by 40 bar at (20, 20) of a host, in its own colour, painted once.
struct TrackBarFixture : testing::Test {
  TTestHost Host{400, 300};
  TCoolTrackBar* Bar = nullptr;
  TChangeLog Log;
  void SetUp() override {
    Bar = Host.Add<TCoolTrackBar>(20, 20, 150, 40);
    Bar->SetColor(Back);
    Log.Watch(Bar);
    Bar->HandleNeeded();
    vcltest::PumpRounds(3);
  }
  std::unique_ptr<TBitmap> Shot() { return vcltest::CaptureClient(Bar->Handle()); }
};

// A built-in thumb as the resource holds it.
std::unique_ptr<TBitmap> Resource(const char* Name) {
  auto B = std::make_unique<TBitmap>();
  B->LoadFromResourceName(GetModuleHandleA(nullptr), Name);
  return B;
}

// Pixels of Thumb's picture (those not of its transparent colour) that Shot does not show at
// At; -1 when Thumb is empty.
int ThumbMismatches(TBitmap* Shot, const TRect& At, TBitmap* Thumb) {
  if (Thumb->Empty()) return -1;
  const TColor Key = Thumb->Canvas()->Pixels(0, Thumb->Height() - 1);
  int N = 0;
  for (int Y = 0; Y < Thumb->Height(); ++Y)
    for (int X = 0; X < Thumb->Width(); ++X) {
      const TColor P = Thumb->Canvas()->Pixels(X, Y);
      if (P != Key && Shot->Canvas()->Pixels(At.Left + X, At.Top + Y) != P) ++N;
    }
  return N;
}

// The window's pixels as they are, without handling any message.
std::unique_ptr<TBitmap> Grab(HWND Wnd) {
  RECT R;
  GetClientRect(Wnd, &R);
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(R.right, R.bottom);
  TWindowDC DC(Wnd);
  BitBlt(B->Canvas()->Handle(), 0, 0, R.right, R.bottom, DC.Get(), 0, 0, SRCCOPY);
  return B;
}

// Pixels of row Y, between its second and its last but one, not of the bar's colour.
int RowMarks(TBitmap* Shot, int Y) {
  int N = 0;
  for (int X = 2; X < Shot->Width() - 2; ++X)
    if (Shot->Canvas()->Pixels(X, Y) != Back) ++N;
  return N;
}

// ----- construction and properties

TEST(CoolTrackBar, StartsHorizontalWithTheBuiltInThumb) {
  auto* Bar = TComponent::Create<TCoolTrackBar>(nullptr);
  ExpectDefaultsMatch(Bar);
  EXPECT_EQ(Bar->Width(), 150);
  EXPECT_EQ(Bar->Height(), 40);
  EXPECT_TRUE(Bar->TabStop());
  EXPECT_EQ(Bar->ControlStyle(), StyleOf(csCaptureMouse) | StyleOf(csClickEvents) | StyleOf(csDoubleClicks));
  EXPECT_EQ(Bar->PaintOptions(), 31u);
  auto Horz = Resource("THUMB_HORZ");
  ASSERT_FALSE(Horz->Empty());
  EXPECT_EQ(Bar->Thumb()->Width(), Horz->Width());
  EXPECT_EQ(Bar->Thumb()->Height(), Horz->Height());
  for (const char* Name : {"THUMB_VERT", "THUMB_HORZ_INVERT", "THUMB_VERT_INVERT"})
    EXPECT_FALSE(Resource(Name)->Empty()) << Name;
  EXPECT_EQ(GetClass("TCoolTrackBar"), TCoolTrackBar::StaticClass());
  TObject::Free(Bar);
}

TEST_F(TrackBarFixture, PositionStaysInTheRangeAndReportsEachChangeOnce) {
  struct TCase {
    const char* What;
    std::function<void(TCoolTrackBar*)> Do;
    int Min, Max, Position;
    std::vector<int> Changes;
  };
  const TCase Cases[] = {
      {"a value inside", [](TCoolTrackBar* B) { B->SetPosition(5); }, 0, 10, 5, {5}},
      {"the same value again", [](TCoolTrackBar* B) { B->SetPosition(5); }, 0, 10, 5, {}},
      {"beyond MaxValue", [](TCoolTrackBar* B) { B->SetPosition(25); }, 0, 10, 10, {10}},
      {"beyond MaxValue at MaxValue", [](TCoolTrackBar* B) { B->SetPosition(11); }, 0, 10, 10, {}},
      {"below MinValue", [](TCoolTrackBar* B) { B->SetPosition(-7); }, 0, 10, 0, {0}},
      {"below MinValue at MinValue", [](TCoolTrackBar* B) { B->SetPosition(-1); }, 0, 10, 0, {}},
      {"MinValue over the position", [](TCoolTrackBar* B) { B->SetMinValue(4); }, 4, 10, 4, {4}},
      {"MinValue above MaxValue", [](TCoolTrackBar* B) { B->SetMinValue(30); }, 10, 10, 10, {10}},
      {"MaxValue below MinValue", [](TCoolTrackBar* B) { B->SetMaxValue(3); }, 10, 10, 10, {}},
      {"MaxValue under the position",
       [](TCoolTrackBar* B) {
         B->SetMinValue(-5);
         B->SetMaxValue(2);
       },
       -5, 2, 2, {2}},
      {"a new MinValue under the position", [](TCoolTrackBar* B) { B->SetMinValue(-20); }, -20, 2, 2, {}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    Log.Positions.clear();
    C.Do(Bar);
    EXPECT_EQ(Bar->MinValue(), C.Min);
    EXPECT_EQ(Bar->MaxValue(), C.Max);
    EXPECT_EQ(Bar->Position(), C.Position);
    EXPECT_EQ(Log.Positions, C.Changes);
  }
}

TEST(CoolTrackBar, AFormSetsRangeAndPositionInAnyOrder) {
  const char* Text =
      "object Form1: TForm\n  ClientWidth = 300\n  ClientHeight = 120\n"
      "  object Bar1: TCoolTrackBar\n    Left = 10\n    Top = 10\n    Width = 200\n    Height = 40\n"
      "    Position = 70\n    MinValue = 50\n    MaxValue = 100\n    TickMarks = tmBoth\n"
      "    PaintOptions = [poDrawTrackBar, poDrawThumb]\n    PageSize = 7\n  end\n"
      "  object Bar2: TCoolTrackBar\n    Left = 10\n    Top = 60\n    MaxValue = 4\n    Position = 9\n"
      "    Orientation = toVertical\n  end\nend\n";
  TFormPtr Form(suitetest::LoadForm(Text));
  auto* Bar1 = dynamic_cast<TCoolTrackBar*>(Form->FindComponent("Bar1"));
  auto* Bar2 = dynamic_cast<TCoolTrackBar*>(Form->FindComponent("Bar2"));
  ASSERT_TRUE(Bar1 && Bar2);
  EXPECT_EQ(Bar1->MinValue(), 50);
  EXPECT_EQ(Bar1->MaxValue(), 100);
  EXPECT_EQ(Bar1->Position(), 70);
  EXPECT_EQ(Bar1->TickMarks(), tmBoth);
  EXPECT_EQ(Bar1->PaintOptions(), PaintOption(poDrawTrackBar) | PaintOption(poDrawThumb));
  EXPECT_EQ(Bar1->PageSize(), 7);
  EXPECT_EQ(Bar2->Position(), 4) << "a streamed position beyond the range is clamped once loaded";
  EXPECT_EQ(Bar2->Orientation(), toVertical);
  auto Vert = Resource("THUMB_VERT");
  EXPECT_EQ(Bar2->Thumb()->Width(), Vert->Width()) << "the vertical thumb is chosen once loaded";
}

// ----- keyboard

TEST(CoolTrackBar, KeysThroughTheWindowMoveThePositionAndArrowsStayWithTheBar) {
  TFormPtr Form(TCustomForm::CreateNew<TForm>(nullptr));
  Form->SetBounds(60, 60, 320, 160);
  auto* Bar = TComponent::Create<TCoolTrackBar>(Form.get());
  Bar->SetBounds(10, 10, 150, 40);
  Bar->SetParent(Form.get());
  Bar->SetMaxValue(20);
  Bar->SetPageSize(6);
  auto* Button = TComponent::Create<TButton>(Form.get());
  Button->SetBounds(10, 80, 80, 24);
  Button->SetParent(Form.get());
  Form->Show();
  SetForegroundWindow(Form->Handle());
  vcltest::PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); }, 50);
  Bar->SetFocus();
  PumpMessages();
  ASSERT_TRUE(Bar->Focused());
  EXPECT_EQ(SendMessageA(Bar->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);

  struct TCase {
    WORD Key;
    int Position;
  };
  const TCase Cases[] = {{VK_RIGHT, 1}, {VK_DOWN, 2},  {VK_NEXT, 8},  {VK_LEFT, 7},  {VK_UP, 6},
                         {VK_END, 20},  {VK_RIGHT, 20}, {VK_NEXT, 20}, {VK_PRIOR, 14}, {VK_HOME, 0},
                         {VK_LEFT, 0},  {VK_PRIOR, 0}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Key);
    vcltest::SendInputs({vcltest::KeyInput(C.Key, true), vcltest::KeyInput(C.Key, false)});
    EXPECT_EQ(Bar->Position(), C.Position);
    EXPECT_TRUE(Bar->Focused()) << "the form does not take the arrows for moving the focus";
  }
  Bar->SetEnabled(false);
  Bar->SetPosition(5);
  SendMessageA(Bar->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(Bar->Position(), 5) << "a disabled bar ignores keys";
}

// ----- mouse

TEST_F(TrackBarFixture, RealClicksBesideTheThumbMoveOneStepWhereverTheyLand) {
  Bar->SetPosition(5);
  Host.Frame().Activate();
  PumpMessages();
  const TRect Thumb = Bar->ThumbRect();
  ASSERT_EQ(Thumb.Left + Thumb.Width() / 2, 75);
  vcltest::RealClick(Bar->Handle(), 2, 20);
  EXPECT_EQ(Bar->Position(), 4) << "far left of the thumb: one step down";
  EXPECT_TRUE(Bar->Focused());
  vcltest::RealClick(Bar->Handle(), 147, 30);
  EXPECT_EQ(Bar->Position(), 5) << "far right: one step up";
  const TRect T = Bar->ThumbRect();
  vcltest::RealClick(Bar->Handle(), T.Left + 2, T.Bottom + 4);
  EXPECT_EQ(Bar->Position(), 5) << "below the thumb, on its span: nothing";
  vcltest::RealClick(Bar->Handle(), T.Right, 4);
  EXPECT_EQ(Bar->Position(), 6) << "the first column right of the thumb counts as right";
  EXPECT_EQ(Log.Positions, (std::vector<int>{5, 4, 5, 6}));
  EXPECT_FALSE(Bar->ThumbDragging());
}

TEST_F(TrackBarFixture, DraggingFollowsTheFormulaRoundingHalvesToEven) {
  Bar->SetPosition(2);
  const HWND Wnd = Bar->Handle();
  // Span 130 for 10 steps; the thumb is 11 wide, so its start plus 5.5 is where no step happens.
  vcltest::SendMouse(Wnd, WM_LBUTTONDOWN, 36, 20, MK_LBUTTON);
  EXPECT_TRUE(Bar->ThumbDragging());
  auto Dark = Resource("THUMB_HORZ_INVERT");
  EXPECT_EQ(Bar->Thumb()->Canvas()->Pixels(5, 5), Dark->Canvas()->Pixels(5, 5)) << "the dragged look";
  struct TCase {
    int X, Position;
  };
  const TCase Cases[] = {
      {56, 4},   // 10 / 130 * (56 - 31 - 5.5) = 1.5: two steps
      {69, 4},   // 10 / 130 * (69 - 57 - 5.5) = 0.5: none (to even)
      {83, 6},   // 1.58: two
      {300, 10},  // far past the end, the mouse captured: MaxValue
      {-50, 0},  // far before the start: MinValue
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.X);
    vcltest::SendMouse(Wnd, WM_MOUSEMOVE, C.X, 20, MK_LBUTTON);
    EXPECT_EQ(Bar->Position(), C.Position);
  }
  vcltest::SendMouse(Wnd, WM_LBUTTONUP, -50, 20, 0);
  EXPECT_FALSE(Bar->ThumbDragging());
  EXPECT_EQ(Bar->Thumb()->Canvas()->Pixels(5, 5), Face);
  vcltest::SendMouse(Wnd, WM_MOUSEMOVE, 120, 20, 0);
  EXPECT_EQ(Bar->Position(), 0) << "a move after the release drags nothing";

  Bar->SetPaintOptions(AllPaintOptions & ~PaintOption(poDrawThumbStates));
  vcltest::SendMouse(Wnd, WM_LBUTTONDOWN, 10, 20, MK_LBUTTON);
  EXPECT_TRUE(Bar->ThumbDragging());
  EXPECT_EQ(Bar->Thumb()->Canvas()->Pixels(5, 5), Face) << "without poDrawThumbStates the thumb keeps its look";
  vcltest::SendMouse(Wnd, WM_LBUTTONUP, 10, 20, 0);
}

TEST_F(TrackBarFixture, ARealDragCarriesTheThumb) {
  Bar->SetPosition(2);
  Host.Frame().Activate();
  PumpMessages();
  dragtest::Drag(Bar->Handle(), 36, 20, 40, 0);
  vcltest::PumpUntil([&] { return !Bar->ThumbDragging(); }, 50);
  EXPECT_EQ(Bar->Position(), 5) << "the thumb follows the mouse from 36 to 76";
  EXPECT_FALSE(Bar->ThumbDragging());
  EXPECT_EQ(Bar->Thumb()->Canvas()->Pixels(5, 5), Face);
}

TEST_F(TrackBarFixture, TallerThanWideTurnsVerticalWithTheVerticalThumb) {
  Bar->SetBounds(20, 20, 40, 150);
  PumpMessages();
  EXPECT_EQ(Bar->Orientation(), toVertical);
  auto Vert = Resource("THUMB_VERT");
  EXPECT_EQ(Bar->Thumb()->Width(), Vert->Width());
  EXPECT_EQ(Bar->Thumb()->Height(), Vert->Height());
  Bar->SetPosition(4);
  auto Shot = this->Shot();
  const TRect T = Bar->ThumbRect();
  EXPECT_EQ(T.Top + T.Height() / 2, 10 + 4 * 13);
  EXPECT_EQ(T.Left, (40 - Vert->Width()) / 2);
  EXPECT_EQ(ThumbMismatches(Shot.get(), T, Vert.get()), 0);
  // The bar stands in the middle; the ticks are right of it, one per value down the span.
  EXPECT_EQ(Bar->TrackRect(), Rect(17, 12, 23, 138));
  EXPECT_EQ(Shot->Canvas()->Pixels(31, 10 + 7 * 13), clBlack);
  EXPECT_EQ(Shot->Canvas()->Pixels(31, 10 + 7 * 13 + 1), Back);
  // A click below the thumb steps down the bar.
  vcltest::SendMouse(Bar->Handle(), WM_LBUTTONDOWN, 20, 140, MK_LBUTTON);
  vcltest::SendMouse(Bar->Handle(), WM_LBUTTONUP, 20, 140, 0);
  EXPECT_EQ(Bar->Position(), 5);
  Bar->SetBounds(20, 20, 150, 40);
  PumpMessages();
  EXPECT_EQ(Bar->Orientation(), toHorizontal);
  EXPECT_EQ(Bar->Thumb()->Width(), Resource("THUMB_HORZ")->Width());
}

// ----- painting

TEST_F(TrackBarFixture, PaintsBarTicksAndThumb) {
  Bar->SetBarColor(clLime);
  Bar->SetPosition(3);
  struct TCase {
    TTickMark Marks;
    bool Below, Above;
  };
  for (const TCase& C : {TCase{tmBottomRight, true, false}, TCase{tmTopLeft, false, true}, TCase{tmBoth, true, true}}) {
    SCOPED_TRACE(C.Marks);
    Bar->SetTickMarks(C.Marks);
    auto Shot = this->Shot();
    // The sunken bar: 10 pixels in from each end, BarSize high in the middle, filled inside.
    EXPECT_EQ(Bar->TrackRect(), Rect(12, 17, 138, 23));
    EXPECT_EQ(Shot->Canvas()->Pixels(10, 15), TColor(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(Shot->Canvas()->Pixels(139, 24), TColor(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Shot->Canvas()->Pixels(120, 20), clLime);
    EXPECT_EQ(Shot->Canvas()->Pixels(9, 20), Back);
    // A tick per value, four pixels long, 8 past the bar's inner edge.
    for (int I = 0; I <= 10; ++I) {
      const int X = 10 + 13 * I;
      EXPECT_EQ(Shot->Canvas()->Pixels(X, 31) == clBlack, C.Below) << X;
      EXPECT_EQ(Shot->Canvas()->Pixels(X, 34) == clBlack, C.Below) << X;
      EXPECT_EQ(Shot->Canvas()->Pixels(X, 8) == clBlack, C.Above) << X;
      EXPECT_EQ(Shot->Canvas()->Pixels(X, 5) == clBlack, C.Above) << X;
    }
    EXPECT_EQ(Shot->Canvas()->Pixels(10, 35), Back);
    EXPECT_EQ(Shot->Canvas()->Pixels(11, 31), Back);
    EXPECT_EQ(Shot->Canvas()->Pixels(10, 4), Back);
    // The thumb centred on 10 + 3 * 13, its transparent corners showing the bar's background.
    const TRect T = Bar->ThumbRect();
    EXPECT_EQ(T, Rect(44, 10, 55, 29));
    auto Horz = Resource("THUMB_HORZ");
    EXPECT_EQ(ThumbMismatches(Shot.get(), T, Horz.get()), 0);
    EXPECT_EQ(Shot->Canvas()->Pixels(T.Left, T.Bottom - 1), Back);
  }
}

TEST_F(TrackBarFixture, TheDraggedAndTheDisabledThumbsAndTheUsersOwn) {
  Bar->SetPosition(5);
  const TRect T = Bar->ThumbRect();
  auto Dark = Resource("THUMB_HORZ_INVERT");
  vcltest::SendMouse(Bar->Handle(), WM_LBUTTONDOWN, 75, 20, MK_LBUTTON);
  auto Dragged = Shot();
  EXPECT_EQ(ThumbMismatches(Dragged.get(), T, Dark.get()), 0);
  EXPECT_EQ(Dragged->Canvas()->Pixels(75, 15), DarkFace);
  vcltest::SendMouse(Bar->Handle(), WM_LBUTTONUP, 75, 20, 0);
  EXPECT_EQ(Shot()->Canvas()->Pixels(75, 15), Face);

  Bar->SetEnabled(false);
  auto Disabled = Shot();
  EXPECT_EQ(ThumbMismatches(Disabled.get(), T, Dark.get()), 0);
  vcltest::SendMouse(Bar->Handle(), WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  vcltest::SendMouse(Bar->Handle(), WM_LBUTTONUP, 20, 20, 0);
  EXPECT_EQ(Bar->Position(), 5) << "a disabled bar ignores the mouse";
  Bar->SetEnabled(true);

  // The user's thumbs: a 9 by 15 red one and a blue one for the selected look, drawn opaque.
  auto Red = vcltest::MakeBitmap(9, 15, clRed);
  auto Blue = vcltest::MakeBitmap(9, 15, clBlue);
  Bar->SetThumbHorz(Red.get());
  Bar->SetThumbHorzSelected(Blue.get());
  Bar->SetTransparentThumb(false);
  auto Own = Shot();
  EXPECT_EQ(Bar->ThumbRect(), Rect(71, 12, 80, 27));
  EXPECT_EQ(Own->Canvas()->Pixels(71, 26), clRed) << "opaque: the corner is drawn too";
  EXPECT_EQ(Own->Canvas()->Pixels(70, 26), Back);
  Bar->SetEnabled(false);
  EXPECT_EQ(Shot()->Canvas()->Pixels(75, 20), clBlue);
  Bar->SetEnabled(true);
  Bar->SetThumbHorz(nullptr);
  EXPECT_EQ(Bar->Thumb()->Width(), 11) << "an emptied user thumb gives the built-in one back";
}

TEST_F(TrackBarFixture, TheNewThumbShowsRightAfterSetPosition) {
  Host.Frame().Activate();
  Bar->SetPosition(2);
  Bar->SetFocus();
  vcltest::PumpRounds(3);
  UpdateWindow(Bar->Handle());
  ASSERT_TRUE(Bar->Focused());
  const TRect Old = Bar->ThumbRect();
  Bar->SetPosition(8);  // no message is handled from here until the window is read
  EXPECT_FALSE(GetUpdateRect(Bar->Handle(), nullptr, FALSE)) << "nothing is left for a later paint";
  auto Direct = Grab(Bar->Handle());
  const TRect New = Bar->ThumbRect();
  EXPECT_EQ(New.Left, 10 + 8 * 13 - 5);
  EXPECT_EQ(Direct->Canvas()->Pixels(New.Left + 5, 15), Face);
  EXPECT_EQ(Direct->Canvas()->Pixels(Old.Left + 5, 12), Back) << "the old thumb is gone";
  EXPECT_EQ(Direct->Canvas()->Pixels(Old.Left + 5, 20), TColor(ColorToRGB(clWindow)));
  // The same picture as a full paint, the focus mark included.
  EXPECT_GT(RowMarks(Direct.get(), 0), 0) << "the focus mark";
  Bar->Invalidate();
  auto Full = Shot();
  int Differ = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 150; ++X)
      if (Direct->Canvas()->Pixels(X, Y) != Full->Canvas()->Pixels(X, Y)) ++Differ;
  EXPECT_EQ(Differ, 0);
}

TEST_F(TrackBarFixture, BevelsAndTheFocusMark) {
  Bar->SetBevelOuter(bvRaised);
  Bar->SetBevelInner(bvLowered);
  auto Plain = Shot();
  auto Ref = vcltest::MakeBitmap(150, 40, Back);
  RECT R{0, 0, 150, 40};
  DrawEdge(Ref->Canvas()->Handle(), &R, BDR_RAISEDOUTER | BDR_SUNKENINNER, BF_RECT);
  for (int I = 0; I < 2; ++I)
    for (const POINT& P : {POINT{I, 20}, POINT{75, I}, POINT{149 - I, 20}, POINT{75, 39 - I}})
      EXPECT_EQ(Plain->Canvas()->Pixels(P.x, P.y), Ref->Canvas()->Pixels(P.x, P.y)) << P.x << "," << P.y;
  EXPECT_EQ(RowMarks(Plain.get(), 2), 0) << "no focus mark without the focus";
  Host.Frame().Activate();
  Bar->SetFocus();
  PumpMessages();
  auto Focused = Shot();
  EXPECT_GT(RowMarks(Focused.get(), 2), 0) << "the focus mark inside the bevel";
  EXPECT_EQ(RowMarks(Focused.get(), 0), RowMarks(Plain.get(), 0));
  Bar->SetPaintOptions(AllPaintOptions & ~PaintOption(poDrawFocusRect));
  EXPECT_EQ(RowMarks(Shot().get(), 2), 0);
  Bar->SetBevelOuter(bvSpace);
  Bar->SetBevelInner(bvNone);
  EXPECT_EQ(Shot()->Canvas()->Pixels(0, 0), Back) << "bvSpace draws no edge";
}

TEST_F(TrackBarFixture, WallpaperAndSeeThroughBackgrounds) {
  auto Wall = vcltest::MakeBitmap(8, 8, clTeal);
  Wall->Canvas()->SetPixels(0, 0, clPurple);
  Bar->SetWallpaper(Wall.get());
  EXPECT_EQ(Shot()->Canvas()->Pixels(3, 3), Back) << "the wallpaper shows only with ocPaintWallpaper";
  Bar->SetOptions(CoolOption(ocPaintWallpaper) | CoolOption(ocTileWallpaper));
  auto Tiled = Shot();
  EXPECT_EQ(Tiled->Canvas()->Pixels(3, 3), clTeal);
  EXPECT_EQ(Tiled->Canvas()->Pixels(8, 8), clPurple);

  auto* Box = Host.Add<TGroupBox>(10, 80, 300, 100);
  Box->SetColor(clFuchsia);
  Bar->SetParent(Box);
  Bar->SetBounds(20, 30, 150, 40);
  Bar->SetOptions(CoolOption(ocPaintTransparently));
  auto Through = Shot();
  EXPECT_EQ(Through->Canvas()->Pixels(3, 3), clFuchsia);
  EXPECT_EQ(Through->Canvas()->Pixels(Bar->ThumbRect().Left, Bar->ThumbRect().Bottom - 1), clFuchsia);
  EXPECT_EQ(Through->Canvas()->Pixels(Bar->ThumbRect().Left + 5, 15), Face);
}

TEST_F(TrackBarFixture, DegenerateRangesAndSizesDrawOneTickAndDoNotDrag) {
  struct TCase {
    const char* What;
    int Width, Height, Min, Max;
  };
  // Horizontal all: a bar only turns vertical when taller than wide.
  const TCase Cases[] = {{"MinValue = MaxValue", 150, 40, 3, 3},
                         {"20 pixels long", 20, 20, 0, 10},
                         {"15 pixels long", 15, 12, 0, 10},
                         {"both", 20, 20, -2, -2}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    Bar->SetBounds(20, 20, C.Width, C.Height);
    Bar->SetMinValue(-100);
    Bar->SetMaxValue(C.Max);
    Bar->SetMinValue(C.Min);
    Bar->SetPosition(C.Min);
    auto Shot = this->Shot();
    ASSERT_EQ(Bar->Orientation(), toHorizontal);
    EXPECT_EQ(Bar->ThumbRect().Left + Bar->ThumbRect().Width() / 2, 10) << "the thumb at the bar's start";
    EXPECT_EQ(Bar->TickPos(0), 10);
    if (C.Height == 40) {
      int Ticks = 0;
      for (int X = 0; X < C.Width; ++X)
        if (Shot->Canvas()->Pixels(X, 33) == clBlack) ++Ticks;
      EXPECT_EQ(Ticks, 1);
      EXPECT_EQ(Shot->Canvas()->Pixels(10, 33), clBlack);
    }
    const int Before = Bar->Position();
    vcltest::SendMouse(Bar->Handle(), WM_LBUTTONDOWN, 10, C.Height / 2, MK_LBUTTON);
    EXPECT_TRUE(Bar->ThumbDragging());
    for (int X : {14, 40, 300, -40}) {
      vcltest::SendMouse(Bar->Handle(), WM_MOUSEMOVE, X, C.Height / 2, MK_LBUTTON);
      EXPECT_EQ(Bar->Position(), Before);
    }
    vcltest::SendMouse(Bar->Handle(), WM_LBUTTONUP, 10, C.Height / 2, 0);
    PumpMessages();
  }
}

TEST_F(TrackBarFixture, AHugeRangeTicksEveryPixelOfTheSpan) {
  Bar->SetMinValue(-2000000000);
  Bar->SetMaxValue(2000000000);
  Bar->SetPosition(0);
  Bar->SetPaintOptions(PaintOption(poDrawTrackBar) | PaintOption(poDrawTicks));
  auto Shot = this->Shot();
  for (int X = 10; X <= 140; ++X) EXPECT_EQ(Shot->Canvas()->Pixels(X, 32), clBlack) << X;
  EXPECT_EQ(Shot->Canvas()->Pixels(141, 32), Back);
  EXPECT_EQ(Shot->Canvas()->Pixels(9, 32), Back);
  Bar->SetPosition(2000000000);
  EXPECT_EQ(Bar->ThumbCentre(Bar->Position()), 140);
  EXPECT_EQ(Bar->ThumbCentre(0), 75);
}

}  // namespace
