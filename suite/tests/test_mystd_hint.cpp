// The suite's hint window and hint component: where a hint goes for each position, how it stays
// on the screen, its width against the part of the screen, its frame, the show event, and with
// the real mouse over a form: shown after a rest, closed by the mouse move after MoveBeforeOff.
#include "suite/Mystd.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vcltest::AppPumpUntil;
using vcltest::MoveMouse;

// A hint window of its own for one test, the shared settings back to their defaults after.
struct TWindowFixture {
  TqHintWindow* W = TComponent::Create<TqHintWindow>(nullptr);
  TWindowFixture() { HintSettings->Reset(); }
  ~TWindowFixture() {
    TObject::Free(W);
    HintSettings->Reset();
  }
  RECT ShowAt(int CursorX, int CursorY, const char* Text = "A hint text", TRect Proposed = Rect(100, 120, 200, 140)) {
    SetCursorPos(CursorX, CursorY);
    W->ShowHintRect(Proposed, Text);
    RECT R{};
    if (W->HandleAllocated() && IsWindowVisible(W->Handle())) GetWindowRect(W->Handle(), &R);
    return R;
  }
};

int ScreenW() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenH() { return GetSystemMetrics(SM_CYSCREEN); }
int Width(const RECT& R) { return R.right - R.left; }
int Height(const RECT& R) { return R.bottom - R.top; }

TEST(QHintWindow, PlacedAtTheCursorCornerItsPositionNames) {
  TWindowFixture F;
  const int X = 500, Y = 400;
  const struct {
    TqHintPos Pos;
    const char* Name;
  } Cases[] = {{hpLeftAbove, "left above"}, {hpLeftUnder, "left under"}, {hpRightAbove, "right above"},
               {hpRightUnder, "right under"}, {hpNormal, "normal"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    HintSettings->HintPosition = C.Pos;
    const RECT R = F.ShowAt(X, Y);
    ASSERT_GT(Width(R), 12);
    ASSERT_GT(Height(R), 12);
    switch (C.Pos) {
      case hpLeftAbove: EXPECT_EQ(R.right, X - 4); EXPECT_EQ(R.bottom, Y - 4); break;
      case hpLeftUnder: EXPECT_EQ(R.right, X - 4); EXPECT_EQ(R.top, Y + 24); break;
      case hpRightAbove: EXPECT_EQ(R.left, X + 4); EXPECT_EQ(R.bottom, Y - 4); break;
      case hpRightUnder: EXPECT_EQ(R.left, X + 4); EXPECT_EQ(R.top, Y + 24); break;
      case hpNormal: EXPECT_EQ(R.left, 100); EXPECT_EQ(R.top, 120); break;  // the proposed corner
    }
  }
  // The text and a 6-pixel margin each side; 4 without the 3-D look.
  HintSettings->HintPosition = hpRightUnder;
  const RECT With3D = F.ShowAt(X, Y);
  HintSettings->Use3D = false;
  const RECT Flat = F.ShowAt(X, Y);
  EXPECT_EQ(Width(With3D) - Width(Flat), 4);
  EXPECT_EQ(Height(With3D) - Height(Flat), 4);
  // A window that never takes the mouse, the focus or a frame of the system's.
  const LONG Style = GetWindowLongA(F.W->Handle(), GWL_STYLE);
  EXPECT_EQ(Style & LONG(WS_POPUP | WS_DISABLED | WS_BORDER | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU),
            LONG(WS_POPUP | WS_DISABLED));
  EXPECT_TRUE(GetClassLongA(F.W->Handle(), GCL_STYLE) & CS_SAVEBITS);
  EXPECT_TRUE(GetWindowLongA(F.W->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(QHintWindow, PulledBackEightPixelsFromTheScreenEdges) {
  TWindowFixture F;
  HintSettings->HintPosition = hpRightUnder;
  RECT R = F.ShowAt(ScreenW() - 3, ScreenH() - 3);
  EXPECT_EQ(R.right, ScreenW() - 8);
  EXPECT_EQ(R.bottom, ScreenH() - 8);
  HintSettings->HintPosition = hpLeftAbove;
  R = F.ShowAt(0, 0);
  EXPECT_EQ(R.left, 8);
  EXPECT_EQ(R.top, 8);
}

TEST(QHintWindow, WrapsAtItsPartOfTheScreen) {
  TWindowFixture F;
  std::string Words;
  for (int I = 0; I < 60; ++I) Words += "word" + std::to_string(I) + " ";
  HintSettings->HintPosition = hpNormal;
  HintSettings->PartOfScreen = 1;
  const RECT Whole = F.ShowAt(0, 0, Words.c_str(), Rect(0, 0, 10, 10));
  EXPECT_LE(Width(Whole), ScreenW());
  EXPECT_GT(Width(Whole), ScreenW() * 3 / 4) << "as wide as the screen less the margins, about";
  HintSettings->PartOfScreen = 10;
  const RECT Tenth = F.ShowAt(0, 0, Words.c_str(), Rect(0, 0, 10, 10));
  EXPECT_LE(Width(Tenth), ScreenW() / 10);
  EXPECT_GT(Height(Tenth), 4 * Height(Whole)) << "wrapped into many lines";
  // Single line: no wrapping at all.
  const char* Sentence = "one two three four five six seven eight nine ten";
  HintSettings->MultiLine = false;
  const RECT One = F.ShowAt(0, 0, Sentence, Rect(0, 0, 10, 10));
  HintSettings->MultiLine = true;
  const RECT Wrapped = F.ShowAt(0, 0, Sentence, Rect(0, 0, 10, 10));
  EXPECT_GE(Width(One), Width(Wrapped));
  EXPECT_LT(Height(One), Height(Wrapped));
  // The whole text is measured and kept, however long.
  std::string Long;
  while (Long.size() < 400) Long += "a few words ";
  Long.resize(400);
  HintSettings->PartOfScreen = 2;
  const RECT Short = F.ShowAt(0, 0, Long.substr(0, 256).c_str(), Rect(0, 0, 10, 10));
  const RECT All = F.ShowAt(0, 0, Long.c_str(), Rect(0, 0, 10, 10));
  EXPECT_GT(Height(All), Height(Short));
  char Text[512] = {};
  GetWindowTextA(F.W->Handle(), Text, sizeof Text);
  EXPECT_EQ(std::string(Text), Long);
}

TEST(QHintWindow, FramePixels) {
  TWindowFixture F;
  const TColor Shadow = 0x0000C0, Light = 0xC00000, Back = 0x80FFFF;
  HintSettings->ShadowColor = Shadow;
  HintSettings->HighLightColor = Light;
  HintSettings->HintPosition = hpNormal;
  F.W->SetColor(Back);
  F.ShowAt(0, 0, "   ", Rect(300, 300, 10, 10));
  HWND H = F.W->Handle();
  RECT C;
  GetClientRect(H, &C);
  const int R = C.right, B = C.bottom, MX = R / 2, MY = B / 2;
  const struct {
    int X, Y;
    TColor Color;
    const char* What;
  } Pixels[] = {
      {R - 1, MY, clBlack, "right edge"},     {MX, B - 1, clBlack, "bottom edge"},
      {R - 1, 0, clBlack, "top-right corner"}, {0, MY, Shadow, "left edge"},
      {MX, 0, Shadow, "top edge"},            {0, B - 1, Shadow, "bottom-left corner"},
      {R - 2, MY, Shadow, "inner right"},     {MX, B - 2, Shadow, "inner bottom"},
      {1, MY, Light, "inner left"},           {MX, 1, Light, "inner top"},
      {MX, MY, Back, "inside"},
  };
  for (const auto& P : Pixels) EXPECT_EQ(vcltest::PixelAt(H, P.X, P.Y), P.Color) << P.What;
  // Flat: one black line round the hint colour.
  HintSettings->Use3D = false;
  F.ShowAt(0, 0, "   ", Rect(300, 300, 10, 10));
  GetClientRect(H, &C);
  EXPECT_EQ(vcltest::PixelAt(H, 0, C.bottom / 2), clBlack);
  EXPECT_EQ(vcltest::PixelAt(H, C.right - 1, C.bottom / 2), clBlack);
  EXPECT_EQ(vcltest::PixelAt(H, C.right / 2, 1), Back);
}

class TShowLog : public TObject {
public:
  int Shows = 0, Paints = 0;
  bool Allow = true;
  void Show(TObject* Sender, bool& CanShow) {
    EXPECT_TRUE(dynamic_cast<TqHintWindow*>(Sender));
    ++Shows;
    CanShow = Allow;
  }
  void Paint(TObject*) { ++Paints; }
};

TEST(QHintWindow, OnHintShowDecidesAndOnHintPaintFollowsThePaint) {
  TWindowFixture F;
  TShowLog Log;
  HintSettings->OnHintShow = EVENT(&Log, TShowLog::Show);
  HintSettings->OnHintPaint = EVENT(&Log, TShowLog::Paint);
  Log.Allow = false;
  const RECT None = F.ShowAt(400, 400);
  EXPECT_EQ(Width(None), 0) << "nothing shows";
  EXPECT_EQ(Log.Shows, 1);
  Log.Allow = true;
  F.ShowAt(400, 400);
  UpdateWindow(F.W->Handle());
  EXPECT_GE(Log.Paints, 1);
}

TEST(QHintWindow, TheMoveAfterMoveBeforeOffEndsTheHint) {
  TWindowFixture F;
  HintSettings->MoveBeforeOff = 5;
  F.ShowAt(400, 400);
  MSG Move{};
  Move.message = WM_MOUSEMOVE;
  for (int I = 1; I <= 5; ++I) EXPECT_FALSE(F.W->IsHintEndMessage(Move)) << "move " << I;
  EXPECT_TRUE(F.W->IsHintEndMessage(Move)) << "move 6";
  EXPECT_FALSE(F.W->IsHintEndMessage(Move)) << "counted afresh";
  MSG Key{};
  Key.message = WM_KEYDOWN;
  EXPECT_TRUE(F.W->IsHintEndMessage(Key)) << "the inherited test";
}

// ---------------------------------------------------------------------------------------------
TEST(QHint, SettersShareOneRecordAndCheckTheirRanges) {
  suitetest::TFormPtr Form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* A = TComponent::Create<TqHint>(Form.get());
  auto* B = TComponent::Create<TqHint>(Form.get());
  A->SetPartOfScreen(4);
  A->SetHintPosition(hpRightUnder);
  EXPECT_EQ(B->PartOfScreen(), 4) << "the settings of the one changed last apply to all";
  B->SetPartOfScreen(7);
  EXPECT_EQ(A->PartOfScreen(), 7);
  EXPECT_EQ(HintSettings->HintPosition, hpRightUnder);
  EXPECT_EQ(HintWindowClass, TqHintWindow::StaticClass());
  for (int Bad : {0, 11, -1}) {
    try {
      A->SetPartOfScreen(Bad);
      ADD_FAILURE() << "PartOfScreen " << Bad;
    } catch (const ERangeError& E) {
      EXPECT_STREQ(E.what(), "Range check error");
    }
  }
  for (int Bad : {1, 21}) EXPECT_THROW(A->SetMoveBeforeOff(Bad), ERangeError) << Bad;
  EXPECT_EQ(A->PartOfScreen(), 7);
  EXPECT_EQ(A->MoveBeforeOff(), 5);
  // The font is copied into the shared one.
  TFont F;
  F.SetName("Arial");
  F.SetHeight(-20);
  F.SetStyle(FontStyle(fsBold));
  A->SetFont(&F);
  EXPECT_EQ(HintSettings->Font->Name(), "Arial");
  EXPECT_EQ(HintSettings->Font->Height(), -20);
  EXPECT_EQ(HintSettings->Font->Style(), FontStyle(fsBold));
  // A new one puts the defaults back.
  TComponent::Create<TqHint>(Form.get());
  EXPECT_EQ(A->PartOfScreen(), 2);
  EXPECT_EQ(HintSettings->Font->Name(), "MS Sans Serif");
  Form.reset();
  HintWindowClass = THintWindow::StaticClass();
  Application->SetShowHint(false);
  Application->SetShowHint(true);
}

TEST(QHint, PublishedDefaultsMatchAFreshComponent) {
  ExpectClassDefaultsMatch(TqHint::StaticClass());
  HintWindowClass = THintWindow::StaticClass();
}

// ---------------------------------------------------------------------------------------------
// With the application's hints and the real mouse: a form with a TqHint and a button.
struct TFormFixture {
  suitetest::TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  TqHint* Hint = TComponent::Create<TqHint>(Form.get());
  TButton* Button = nullptr;
  TFormFixture() {
    Form->SetBounds(150, 200, 400, 300);
    Form->SetShowHint(true);
    Button = TComponent::Create<TButton>(Form.get());
    Button->SetBounds(100, 100, 150, 60);
    Button->SetParent(Form.get());
    Button->SetHint("The button's hint");
    Hint->UpDate();
    Application->SetHintHidePause(0);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    MoveMouse(Form->Handle(), 20, 20);
    AppPumpUntil([] { return false; }, 100);
  }
  ~TFormFixture() {
    Application->CancelHint();
    Application->SetHintHidePause(2500);
    Application->SetHintPause(500);
    Application->OnMessage = nullptr;
    Form.reset();
    HintWindowClass = THintWindow::StaticClass();
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    HintSettings->Reset();
  }
};

HWND VisibleQHint() {
  HWND W = FindWindowA("TqHintWindow", nullptr);
  return W && IsWindowVisible(W) ? W : nullptr;
}

// Counts the mouse moves the application's loop takes, and whether the hint showed before each.
class TMoveCounter : public TObject {
public:
  std::vector<bool> ShownBefore;
  int Moves() const { return int(ShownBefore.size()); }
  void Message(MSG& Msg, bool&) {
    if (Msg.message == WM_MOUSEMOVE) ShownBefore.push_back(VisibleQHint() != nullptr);
  }
};

TEST(QHint, RealMouseRestShowsItWhereItsPositionSaysAndMovesCloseIt) {
  TFormFixture F;
  Application->SetHintPause(2000);  // long enough that a closed hint stays away while counted
  MoveMouse(F.Form->Handle(), 170, 130);
  ASSERT_TRUE(AppPumpUntil([] { return VisibleQHint() != nullptr; }, 8000));
  RECT R;
  GetWindowRect(VisibleQHint(), &R);
  POINT Cursor;
  GetCursorPos(&Cursor);
  EXPECT_EQ(R.right, Cursor.x - 4) << "left above the cursor, the default";
  EXPECT_EQ(R.bottom, Cursor.y - 4);
  // Five moves keep it; the sixth closes it.
  TMoveCounter Count;
  Application->OnMessage = EVENT(&Count, TMoveCounter::Message);
  for (int X = 171; Count.Moves() < 6 && X < 240; ++X) {
    const int Before = Count.Moves();
    vcltest::SendMouseMove(F.Form->Handle(), X, 130);
    AppPumpUntil([&] { return Count.Moves() > Before; }, 1000);
    if (Count.Moves() == 5) {
      EXPECT_NE(VisibleQHint(), nullptr) << "after five moves";
    }
  }
  ASSERT_EQ(Count.Moves(), 6);
  EXPECT_EQ(Count.ShownBefore, std::vector<bool>(6, true));
  EXPECT_EQ(VisibleQHint(), nullptr) << "closed by the sixth move";
}

class THandlerLog : public TObject {
public:
  int Calls = 0;
  void Show(TObject*, bool&) { ++Calls; }
};

TEST(QHint, AFreedComponentLeavesNoHandlerBehind) {
  THandlerLog Log, Kept;
  {
    suitetest::TFormPtr Other(TCustomForm::CreateNew<TForm>(nullptr));
    auto* First = TComponent::Create<TqHint>(Other.get());
    auto* Second = TComponent::Create<TqHint>(Other.get());
    First->SetOnHintShow(EVENT(&Log, THandlerLog::Show));
    Second->SetOnHintShow(EVENT(&Kept, THandlerLog::Show));
    TObject::Free(First);
    EXPECT_TRUE(HintSettings->OnHintShow == EVENT(&Kept, THandlerLog::Show)) << "what another one set stays";
    Second->SetOnHintShow(EVENT(&Log, THandlerLog::Show));
  }
  EXPECT_FALSE(HintSettings->OnHintShow) << "the freed component took its handler away";
  TFormFixture F;
  Application->SetHintPause(100);
  MoveMouse(F.Form->Handle(), 170, 130);
  EXPECT_TRUE(AppPumpUntil([] { return VisibleQHint() != nullptr; }, 8000));
  EXPECT_EQ(Log.Calls + Kept.Calls, 0);
}

}  // namespace
