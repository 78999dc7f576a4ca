// The cool check and radio box in real windows: its looks against the system's frame-control
// painter, radio exclusivity, mouse and keyboard, the grayed cycle, glyph counts, the disabled
// look, see-through drawing, actions and the main window's two boxes read from a form.
#include "coolctrls/CoolCtrls.h"
#include "rtl/tests/default_check.h"
#include "suite/tests/suitetest.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using vcltest::TTestHost;

constexpr UINT Checked_ = 0x400, Grayed_ = 0x500, Radio_ = 0x4, Pushed_ = 0x200, Flat_ = 0x4000, Inactive_ = 0x100;

// Counts OnClick per box.
struct TClickLog : TObject {
  std::vector<TObject*> Senders;
  void Clicked(TObject* Sender) { Senders.push_back(Sender); }
  int Count(TObject* Box) const { return int(std::count(Senders.begin(), Senders.end(), Box)); }
};

TCoolCheckRadioBox* AddBox(TTestHost& Host, int Left, int Top, TCheckRadioType Type, const char* Caption = "") {
  auto* Box = Host.Add<TCoolCheckRadioBox>(Left, Top, 120, 17);
  Box->SetCheckRadioType(Type);
  Box->SetCaption(Caption);
  Box->SetColor(clBtnFace);
  return Box;
}

// The box's pixels as they are on the window.
std::unique_ptr<TBitmap> Capture(TCoolCheckRadioBox* Box) { return vcltest::CaptureClient(Box->Handle()); }

// The system's picture of a box with these flags on the box's background.
std::unique_ptr<TBitmap> Reference(UINT Flags, TColor Background) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(13, 13);
  B->Canvas()->Brush()->SetColor(Background);
  B->Canvas()->FillRect(Rect(0, 0, 13, 13));
  RECT R{0, 0, 13, 13};
  DrawFrameControl(B->Canvas()->Handle(), &R, DFC_BUTTON, Flags);
  return B;
}

// Pixels of Shot inside Box that differ from Ref (at Box's top-left).
int DifferingPixels(TBitmap* Shot, const TRect& Box, TBitmap* Ref) {
  int N = 0;
  for (int Y = 0; Y < 13; ++Y)
    for (int X = 0; X < 13; ++X)
      if (Shot->Canvas()->Pixels(Box.Left + X, Box.Top + Y) != Ref->Canvas()->Pixels(X, Y)) ++N;
  return N;
}

void SendKey(TWinControl* C, unsigned Msg, unsigned short Key) {
  SendMessageA(C->Handle(), Msg, Key, Msg == WM_KEYUP ? LPARAM(0xC0000001) : LPARAM(1));
  vcltest::PumpMessages();
}

// ----- construction and properties

TEST(CoolCheckRadioBox, StartsAsAPlainCheckBoxWithoutTabStop) {
  auto* Box = TComponent::Create<TCoolCheckRadioBox>(nullptr);
  ExpectDefaultsMatch(Box);
  EXPECT_EQ(Box->Width(), 147);
  EXPECT_EQ(Box->Height(), 17);
  EXPECT_FALSE(Box->TabStop());
  EXPECT_EQ(Box->ControlStyle(), StyleOf(csClickEvents) | StyleOf(csSetCaption) | StyleOf(csReplicatable));
  Box->SetCheckRadioType(crRadioBox);
  EXPECT_FALSE(Box->TabStop());
  Box->SetCheckRadioType(crCheckBox);
  EXPECT_TRUE(Box->TabStop()) << "a check box takes the tab stop once the type is set";
  TObject::Free(Box);
}

TEST(CoolCheckRadioBox, CheckedSetsStateAndShadowSettersDropTheSimpleView) {
  auto* Box = TComponent::Create<TCoolCheckRadioBox>(nullptr);
  Box->SetChecked(true);
  EXPECT_EQ(Box->State(), cbChecked);
  Box->SetChecked(false);
  EXPECT_EQ(Box->State(), cbUnchecked);
  Box->SetState(cbGrayed);
  EXPECT_FALSE(Box->Checked()) << "State alone leaves Checked";

  struct Case {
    const char* Name;
    void (*Set)(TCoolCheckRadioBox*);
  } const Cases[] = {
      {"ShadowColor", [](TCoolCheckRadioBox* B) { B->SetShadowColor(clRed); }},
      {"ShadowSize", [](TCoolCheckRadioBox* B) { B->SetShadowSize(3); }},
      {"ShadowPos", [](TCoolCheckRadioBox* B) { B->SetShadowPos(spRightBottom); }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Box->SetSimpleView(true);
    C.Set(Box);
    EXPECT_FALSE(Box->SimpleView());
  }
  Box->SetAutoSize(true);
  Box->SetBevelsOffset(2);
  EXPECT_FALSE(Box->AutoSize());
  TObject::Free(Box);
}

TEST(CoolCheckRadioBox, GlyphCountsAreClampedToTwo) {
  auto* Box = TComponent::Create<TCoolCheckRadioBox>(nullptr);
  struct Case {
    int Set, Marked;
  } const Cases[] = {{4, 2}, {1, 1}, {3, 2}, {2, 2}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Set);
    Box->SetNumGlyphsMarked(C.Set);
    Box->SetNumGlyphsNormal(C.Set);
    EXPECT_EQ(Box->NumGlyphsMarked(), C.Marked);
    EXPECT_EQ(Box->NumGlyphsNormal(), C.Marked);
  }
  TObject::Free(Box);
}

// ----- looks

// Every look of the box against the system's picture with the flags the look stands for.
TEST(CoolCheckRadioBox, EachLookIsTheSystemBoxWithItsFlags) {
  TTestHost Host(200, 60);
  Host.Frame().Activate();
  struct Case {
    const char* Name;
    TCheckRadioType Type;
    TCheckBoxState State;
    bool Pressed, Flat, Enabled;
    UINT Flags;
  } const Cases[] = {
      {"check, unchecked", crCheckBox, cbUnchecked, false, false, true, 0},
      {"check, checked", crCheckBox, cbChecked, false, false, true, Checked_},
      {"check, grayed", crCheckBox, cbGrayed, false, false, true, Grayed_},
      {"check, pressed", crCheckBox, cbUnchecked, true, false, true, Pushed_},
      {"check, checked, pressed", crCheckBox, cbChecked, true, false, true, Checked_ | Pushed_},
      {"check, flat", crCheckBox, cbChecked, false, true, true, Checked_ | Flat_},
      {"check, disabled", crCheckBox, cbUnchecked, false, false, false, Inactive_},
      {"check, checked, disabled", crCheckBox, cbChecked, false, false, false, Checked_ | Inactive_},
      {"radio, unchecked", crRadioBox, cbUnchecked, false, false, true, Radio_},
      {"radio, checked", crRadioBox, cbChecked, false, false, true, Radio_ | Checked_},
      // Pressing focuses the radio, and focus checks it.
      {"radio, pressed", crRadioBox, cbUnchecked, true, false, true, Radio_ | Checked_ | Pushed_},
      {"radio, flat", crRadioBox, cbUnchecked, false, true, true, Radio_ | Flat_},
      {"radio, checked, disabled", crRadioBox, cbChecked, false, false, false, Radio_ | Checked_ | Inactive_},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* Box = AddBox(Host, 10, 10, C.Type, "Box");
    Box->SetState(C.State);
    Box->SetFlat(C.Flat);
    Box->SetEnabled(C.Enabled);
    Box->SetTabStop(true);
    if (C.Pressed) {
      Box->SetFocus();
      SendKey(Box, WM_KEYDOWN, VK_SPACE);
      ASSERT_TRUE(Box->Pressed());
    }
    auto Shot = Capture(Box);
    auto Ref = Reference(C.Flags, clBtnFace);
    EXPECT_EQ(DifferingPixels(Shot.get(), Box->BoxRect(), Ref.get()), 0);
    if (C.Pressed) {
      // Space released: the box is no longer pushed.
      SendKey(Box, WM_KEYUP, VK_SPACE);
      EXPECT_FALSE(Box->Pressed());
    }
    TObject::Free(Box);
  }
}

TEST(CoolCheckRadioBox, BoxSitsAtTheSideAlignmentSays) {
  TTestHost Host(200, 60);
  auto* Box = AddBox(Host, 10, 10, crCheckBox, "Side");
  Box->SetBounds(10, 10, 100, 21);
  EXPECT_EQ(Box->BoxRect(), Rect(4, 4, 17, 17));
  Box->SetAlignment(taLeftJustify);
  EXPECT_EQ(Box->BoxRect(), Rect(83, 4, 96, 17));
  Box->SetState(cbChecked);
  auto Shot = Capture(Box);
  auto Ref = Reference(Checked_, clBtnFace);
  EXPECT_EQ(DifferingPixels(Shot.get(), Box->BoxRect(), Ref.get()), 0);
}

// Colours found in a rectangle of a bitmap.
struct TColours {
  std::vector<TColor> Found;
  TColours(TBitmap* B, const TRect& R) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) {
        TColor C = B->Canvas()->Pixels(X, Y);
        if (std::find(Found.begin(), Found.end(), C) == Found.end()) Found.push_back(C);
      }
  }
  bool Has(TColor C) const { return std::find(Found.begin(), Found.end(), ColorToRGB(C)) != Found.end(); }
};

// The caption: plain in the font colour, shadowed, or embossed when disabled whatever
// SimpleView says.
TEST(CoolCheckRadioBox, CaptionLooks) {
  TTestHost Host(240, 60);
  struct Case {
    const char* Name;
    bool Enabled, SimpleView;
    bool FontColour, Shadow, Embossed;
  } const Cases[] = {
      {"plain", true, true, true, false, false},
      {"shadowed", true, false, true, true, false},
      {"disabled, simple view", false, true, false, false, true},
      {"disabled", false, false, false, false, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* Box = AddBox(Host, 10, 10, crCheckBox, "WWWW");
    Box->SetBounds(10, 10, 200, 20);
    Box->Font()->SetColor(clRed);
    Box->Font()->SetStyle(1u << fsBold);
    Box->SetShadowColor(clBlue);
    Box->SetShadowSize(2);
    Box->SetSimpleView(C.SimpleView);
    Box->SetEnabled(C.Enabled);
    auto Shot = Capture(Box);
    TColours Text(Shot.get(), Rect(Box->BoxRect().Right + 1, 0, 200, 20));
    EXPECT_EQ(Text.Has(clRed), C.FontColour);
    EXPECT_EQ(Text.Has(clBlue), C.Shadow);
    EXPECT_EQ(Text.Has(clBtnShadow) && Text.Has(clBtnHighlight), C.Embossed);
    if (!C.Enabled) {
      auto Ref = Reference(Inactive_, clBtnFace);
      EXPECT_EQ(DifferingPixels(Shot.get(), Box->BoxRect(), Ref.get()), 0) << "inactive box";
    }
    TObject::Free(Box);
  }
}

// Rightmost column of the focus rectangle (its top row lies above the text).
int FocusRight(TCoolCheckRadioBox* Box) {
  auto Shot = Capture(Box);
  const TColor Face = ColorToRGB(clBtnFace);
  int Right = -1;
  for (int Y = 0; Y < Box->Height(); ++Y)
    for (int X = Box->BoxRect().Right + 1; X < Box->Width(); ++X)
      if (Shot->Canvas()->Pixels(X, Y) != Face) Right = std::max(Right, X);
  return Right;
}

TEST(CoolCheckRadioBox, AnAccelAmpersandTakesNoRoomInTheTextRectangle) {
  TTestHost Host(240, 60);
  Host.Frame().Activate();
  auto* Plain = AddBox(Host, 10, 5, crCheckBox, "Abc");
  auto* Accel = AddBox(Host, 10, 30, crCheckBox, "&Abc");
  for (auto* B : {Plain, Accel}) {
    B->SetSimpleView(true);
    B->SetTabStop(true);
  }
  Plain->SetFocus();
  const int PlainRight = FocusRight(Plain);
  Accel->SetFocus();
  const int AccelRight = FocusRight(Accel);
  ASSERT_GT(PlainRight, 0);
  EXPECT_NEAR(AccelRight, PlainRight, 1);
}

// ----- see-through drawing

// A parent that paints a horizontal gradient as its background.
class TGradientPanel : public TWinControl {
  ORV_CLASS(TGradientPanel, TWinControl)
public:
  explicit TGradientPanel(TComponent* AOwner) : TWinControl(AOwner) {}
  // Columns of changing red, bands of 8 rows of changing green.
  static TColor At(int X, int Y) { return TColor(RGB(X % 256, (Y / 8 * 24) % 256, 200)); }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg != WM_ERASEBKGND) return inherited::Dispatch(Message);
    HDC DC = reinterpret_cast<HDC>(Message.WParam);
    for (int X = 0; X < Width(); ++X)
      for (int Y = 0; Y < Height(); Y += 8) {
        TBrushOwner Brush(CreateSolidBrush(COLORREF(At(X, Y))));
        RECT R{X, Y, X + 1, Y + 8};
        FillRect(DC, &R, Brush);
      }
    Message.Result = 1;
  }
};
ORV_IMPLEMENT_COMPONENT_NOPROPS(TGradientPanel, TWinControl)

TEST(CoolCheckRadioBox, TransparentBoxShowsItsParentsBackground) {
  TTestHost Host(260, 120);
  auto* Panel = Host.Add<TGradientPanel>(5, 5, 250, 110);
  auto* Box = TComponent::Create<TCoolCheckRadioBox>(Host.Control());
  Box->SetParent(Panel);
  Box->SetBounds(30, 40, 150, 20);
  Box->SetColor(clLime);
  Box->SetCheckRadioType(crRadioBox);
  Box->SetChecked(true);
  Box->SetCaption("");

  auto Behind = [&](int X, int Y) { return TGradientPanel::At(Box->Left() + X, Box->Top() + Y); };
  EXPECT_EQ(vcltest::PixelAt(Box->Handle(), 100, 10), ColorToRGB(clLime)) << "opaque: its own colour";
  Box->SetTransparent(true);
  for (TPoint P : {Point(100, 10), Point(0, 0), Point(149, 19), Point(60, 2)}) {
    SCOPED_TRACE(testing::Message() << P.X << "," << P.Y);
    EXPECT_EQ(vcltest::PixelAt(Box->Handle(), P.X, P.Y), Behind(P.X, P.Y));
  }
  // The box is still drawn over the background.
  auto Shot = Capture(Box);
  auto Ref = Reference(Radio_ | Checked_, clBtnFace);
  EXPECT_GT(DifferingPixels(Shot.get(), Box->BoxRect(), Ref.get()), 0) << "corners show the gradient";
  EXPECT_EQ(Shot->Canvas()->Pixels(Box->BoxRect().Left + 6, Box->BoxRect().Top + 6),
            Ref->Canvas()->Pixels(6, 6)) << "the dot";
  // Moving the box takes the background along.
  Box->SetLeft(70);
  vcltest::PumpMessages();
  EXPECT_EQ(vcltest::PixelAt(Box->Handle(), 100, 10), Behind(100, 10));
}

// ----- behaviour

struct TRadioGroupFixture : ::testing::Test {
  TTestHost Host{320, 200};
  TClickLog Log;
  TWinControl* Other = nullptr;
  TCoolCheckRadioBox *A, *B, *C, *OtherGroup, *OtherParent, *Check;

  void SetUp() override {
    Host.Frame().Activate();
    A = AddBox(Host, 10, 10, crRadioBox, "A");
    B = AddBox(Host, 10, 30, crRadioBox, "B");
    C = AddBox(Host, 10, 50, crRadioBox, "C");
    OtherGroup = AddBox(Host, 10, 70, crRadioBox, "Group 1");
    OtherGroup->SetGroupIndex(1);
    Check = AddBox(Host, 10, 90, crCheckBox, "Check");
    Other = Host.Add<TWinControl>(150, 10, 150, 100);
    OtherParent = TComponent::Create<TCoolCheckRadioBox>(Host.Control());
    OtherParent->SetParent(Other);
    OtherParent->SetBounds(5, 5, 120, 17);
    OtherParent->SetCheckRadioType(crRadioBox);
    for (auto* X : {A, B, C, OtherGroup, OtherParent, Check}) {
      X->OnClick = TNotifyEvent::Bind<&TClickLog::Clicked>(&Log);
      X->SetTabStop(true);
    }
    A->SetChecked(true);
    OtherGroup->SetChecked(true);
    OtherParent->SetChecked(true);
    vcltest::PumpMessages();
  }
};

TEST_F(TRadioGroupFixture, FocusingOneRadioChecksItAndUnchecksTheRestOfItsGroup) {
  B->SetFocus();
  vcltest::PumpMessages();
  EXPECT_TRUE(B->Focused());
  EXPECT_FALSE(A->Checked());
  EXPECT_TRUE(B->Checked());
  EXPECT_FALSE(C->Checked());
  EXPECT_TRUE(B->TabStop());
  EXPECT_FALSE(A->TabStop());
  EXPECT_FALSE(C->TabStop());
  for (auto* X : {A, B, C}) EXPECT_EQ(Log.Count(X), 1) << X->Caption().str();
  // Another group, another parent, a check box: untouched.
  EXPECT_TRUE(OtherGroup->Checked());
  EXPECT_TRUE(OtherParent->Checked());
  EXPECT_TRUE(OtherGroup->TabStop());
  EXPECT_TRUE(OtherParent->TabStop());
  EXPECT_TRUE(Check->TabStop());
  EXPECT_FALSE(Check->Checked());
  EXPECT_EQ(Log.Count(OtherGroup) + Log.Count(OtherParent) + Log.Count(Check), 0);

  // The unchecked boxes are painted unchecked.
  auto Shot = Capture(A);
  auto Ref = Reference(Radio_, clBtnFace);
  EXPECT_EQ(DifferingPixels(Shot.get(), A->BoxRect(), Ref.get()), 0);
}

TEST_F(TRadioGroupFixture, ClickingACheckedRadioLeavesItChecked) {
  A->SetFocus();
  vcltest::PumpMessages();
  Log.Senders.clear();
  vcltest::Click(A->Handle(), 8, 8);
  vcltest::PumpMessages();
  EXPECT_TRUE(A->Checked());
  EXPECT_EQ(Log.Count(A), 1);
  EXPECT_FALSE(A->Pressed());
}

TEST_F(TRadioGroupFixture, ClickingAnotherRadioMovesTheCheck) {
  vcltest::Click(C->Handle(), 8, 8);
  vcltest::PumpMessages();
  EXPECT_TRUE(C->Checked());
  EXPECT_FALSE(A->Checked());
  EXPECT_FALSE(B->Checked());
  EXPECT_TRUE(C->Focused());
}

TEST(CoolCheckRadioBox, MouseAndSpaceToggleACheckBox) {
  TTestHost Host(200, 60);
  Host.Frame().Activate();
  auto* Box = AddBox(Host, 10, 10, crCheckBox, "Toggle");
  TClickLog Log;
  Box->OnClick = TNotifyEvent::Bind<&TClickLog::Clicked>(&Log);

  vcltest::SendMouse(Box->Handle(), WM_LBUTTONDOWN, 8, 8, MK_LBUTTON);
  EXPECT_TRUE(Box->Pressed()) << "pushed while the button is down";
  EXPECT_TRUE(Box->Focused());
  {
    auto Shot = Capture(Box);
    auto Ref = Reference(Pushed_, clBtnFace);
    EXPECT_EQ(DifferingPixels(Shot.get(), Box->BoxRect(), Ref.get()), 0) << "drawn pushed";
  }
  vcltest::SendMouse(Box->Handle(), WM_LBUTTONUP, 8, 8, 0);
  EXPECT_FALSE(Box->Pressed());
  EXPECT_TRUE(Box->Checked());
  vcltest::Click(Box->Handle(), 8, 8);
  EXPECT_FALSE(Box->Checked());
  EXPECT_EQ(Log.Count(Box), 2);

  // Space: pushed on the way down, toggled on the way up.
  SendKey(Box, WM_KEYDOWN, VK_SPACE);
  EXPECT_TRUE(Box->Pressed());
  EXPECT_FALSE(Box->Checked());
  SendKey(Box, WM_KEYUP, VK_SPACE);
  EXPECT_FALSE(Box->Pressed());
  EXPECT_TRUE(Box->Checked());
  EXPECT_EQ(Log.Count(Box), 3);
  // A key-up without the key-down toggles nothing.
  SendKey(Box, WM_KEYUP, VK_SPACE);
  EXPECT_TRUE(Box->Checked());

  // Losing the focus ends the push.
  SendKey(Box, WM_KEYDOWN, VK_SPACE);
  ASSERT_TRUE(Box->Pressed());
  SetFocus(Host.Control()->Handle());
  vcltest::PumpMessages();
  EXPECT_FALSE(Box->Pressed());
}

TEST(CoolCheckRadioBox, AllowGrayedCyclesTheStateAndLeavesChecked) {
  auto* Box = TComponent::Create<TCoolCheckRadioBox>(nullptr);
  Box->SetAllowGrayed(true);
  const TCheckBoxState Expected[] = {cbChecked, cbGrayed, cbUnchecked, cbChecked};
  for (TCheckBoxState S : Expected) {
    Box->Click();
    EXPECT_EQ(Box->State(), S);
    EXPECT_FALSE(Box->Checked());
  }
  Box->SetAllowGrayed(false);
  Box->SetState(cbUnchecked);
  Box->Click();
  EXPECT_TRUE(Box->Checked());
  EXPECT_EQ(Box->State(), cbChecked);
  TObject::Free(Box);
}

// Grayed clicks move State away from Checked; the next Checked write, even of the value Checked
// already has, brings them together again.
TEST(CoolCheckRadioBox, ACheckedWriteRealignsTheStateAfterGrayedClicks) {
  struct Case {
    bool Start;
    int Clicks;
    TCheckBoxState Before;
    bool Write;
    TCheckBoxState After;
  } const Cases[] = {
      {false, 1, cbChecked, false, cbUnchecked},
      {false, 2, cbGrayed, false, cbUnchecked},
      {true, 1, cbGrayed, true, cbChecked},
      {true, 2, cbUnchecked, true, cbChecked},
      {false, 2, cbGrayed, true, cbChecked},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "start " << C.Start << ", " << C.Clicks << " clicks, write " << C.Write);
    auto* Box = TComponent::Create<TCoolCheckRadioBox>(nullptr);
    Box->SetChecked(C.Start);
    Box->SetAllowGrayed(true);
    for (int I = 0; I < C.Clicks; ++I) Box->Click();
    ASSERT_EQ(Box->State(), C.Before);
    ASSERT_EQ(Box->Checked(), C.Start);
    Box->SetChecked(C.Write);
    EXPECT_EQ(Box->Checked(), C.Write);
    EXPECT_EQ(Box->State(), C.After);
    TObject::Free(Box);
  }
}

TEST(CoolCheckRadioBox, AcceleratorFocusesAndClicks) {
  TTestHost Host(200, 60);
  Host.Frame().Activate();
  auto* Box = AddBox(Host, 10, 10, crCheckBox, "&Go");
  TMessage M;
  M.Msg = CM_DIALOGCHAR;
  M.WParam = 'G';
  Box->Dispatch(M);
  EXPECT_EQ(M.Result, 1);
  EXPECT_TRUE(Box->Checked());
  EXPECT_TRUE(Box->Focused());
  M.Result = 0;
  M.WParam = 'X';
  Box->Dispatch(M);
  EXPECT_EQ(M.Result, 0);
  EXPECT_TRUE(Box->Checked());
}

TEST(CoolCheckRadioBox, MouseEnterAndLeaveFireTheirEvents) {
  auto* Box = TComponent::Create<TCoolCheckRadioBox>(nullptr);
  struct TLog : TObject {
    int Enter = 0, Leave = 0;
    void OnEnter(TObject*) { ++Enter; }
    void OnLeave(TObject*) { ++Leave; }
  } Log;
  Box->OnMouseEnter = TNotifyEvent::Bind<&TLog::OnEnter>(&Log);
  Box->OnMouseLeave = TNotifyEvent::Bind<&TLog::OnLeave>(&Log);
  Box->Perform(CM_MOUSEENTER, 0, 0);
  Box->Perform(CM_MOUSELEAVE, 0, 0);
  Box->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Log.Enter, 1);
  EXPECT_EQ(Log.Leave, 2);
  TObject::Free(Box);
}

// ----- actions

TEST(CoolCheckRadioBox, CheckedFollowsItsAction) {
  auto* Action = TComponent::Create<TAction>(nullptr);
  Action->SetCaption("Act");
  Action->SetChecked(true);
  auto* Box = TComponent::Create<TCoolCheckRadioBox>(nullptr);
  Box->SetAction(Action);
  EXPECT_TRUE(Box->Checked());
  EXPECT_EQ(Box->Caption(), "Act");
  const TPropInfo* CheckedProp = GetPropInfo(Box, "Checked");
  ASSERT_TRUE(CheckedProp);
  EXPECT_FALSE(CheckedProp->IsStored(Box)) << "the action governs Checked";
  Action->SetChecked(false);
  EXPECT_FALSE(Box->Checked());
  // The box going its own way unlinks Checked until the action agrees again.
  Box->SetChecked(true);
  EXPECT_TRUE(CheckedProp->IsStored(Box));
  Action->SetChecked(true);
  EXPECT_TRUE(Box->Checked());
  EXPECT_FALSE(CheckedProp->IsStored(Box));

  // A click runs the action's handler (which the box took as its OnClick) through the link.
  TClickLog Log;
  Action->OnExecute = TNotifyEvent::Bind<&TClickLog::Clicked>(&Log);
  Action->SetHint("hint");  // any change hands the handler on
  EXPECT_TRUE(Box->OnClick == Action->OnExecute);
  const bool Before = Box->Checked();
  Box->Click();
  EXPECT_EQ(Log.Count(Action), 1);
  EXPECT_EQ(Log.Count(Box), 0);
  EXPECT_NE(Box->Checked(), Before);

  auto* Copy = TComponent::Create<TAction>(nullptr);
  Box->SetChecked(true);
  Copy->Assign(Box);
  EXPECT_TRUE(Copy->Checked());
  EXPECT_EQ(Copy->Caption(), "Act");

  TObject::Free(Action);
  EXPECT_EQ(Box->Action(), nullptr);
  TObject::Free(Box);
  TObject::Free(Copy);
}

TEST(CoolCheckRadioBox, ItsActionLinkTakesOnlyBoxes) {
  auto* Link = New<TCoolCheckRadioBoxActionLink>();
  auto* Edit = TComponent::Create<TEdit>(nullptr);
  EXPECT_THROW(Link->AssignClient(Edit), EInvalidCast);
  TObject::Free(Edit);
  TObject::Free(Link);
}

// ----- the main window's boxes

const char* const TagBoxesForm = R"(object Form1: TForm
  Left = 100
  Top = 100
  ClientWidth = 260
  ClientHeight = 80
  Color = clBtnFace
  object GTIN64RB: TCoolCheckRadioBox
    Left = 11
    Top = 15
    Width = 200
    Height = 17
    Caption = 'GTIN64 Tag Type'
    CheckRadioType = crRadioBox
    SimpleView = True
    Transparent = True
    Enabled = False
    Color = clWhite
    ParentColor = False
    UseDockManager = False
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlack
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 4
  end
  object GTIN96RB: TCoolCheckRadioBox
    Left = 11
    Top = 40
    Width = 200
    Height = 17
    Caption = 'GTIN96 Tag Type'
    CheckRadioType = crRadioBox
    SimpleView = True
    Transparent = True
    Checked = True
    State = cbChecked
    Color = clWhite
    ParentColor = False
    UseDockManager = False
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlack
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 5
  end
end
)";

TEST(CoolCheckRadioBox, TheMainWindowsTagBoxesStreamAndStayExclusive) {
  suitetest::TFormPtr Form(suitetest::LoadForm(TagBoxesForm));
  auto* B64 = dynamic_cast<TCoolCheckRadioBox*>(Form->FindComponent("GTIN64RB"));
  auto* B96 = dynamic_cast<TCoolCheckRadioBox*>(Form->FindComponent("GTIN96RB"));
  ASSERT_TRUE(B64 && B96);
  EXPECT_EQ(B96->CheckRadioType(), crRadioBox);
  EXPECT_TRUE(B96->SimpleView());
  EXPECT_TRUE(B96->Transparent());
  EXPECT_TRUE(B96->Checked());
  EXPECT_EQ(B96->State(), cbChecked);
  EXPECT_FALSE(B64->Enabled());
  EXPECT_FALSE(B64->Checked());
  EXPECT_EQ(B64->Font()->Height(), -13);
  EXPECT_FALSE(B64->TabStop());
  EXPECT_GT(B96->TabOrder(), B64->TabOrder());

  Form->Show();
  vcltest::PumpRounds(5);
  {
    auto Shot = Capture(B96);
    auto Ref = Reference(Radio_ | Checked_, clBtnFace);
    EXPECT_EQ(Shot->Canvas()->Pixels(B96->BoxRect().Left + 6, B96->BoxRect().Top + 6), Ref->Canvas()->Pixels(6, 6));
    // See-through: the form's colour shows beside the caption, not the box's white.
    EXPECT_EQ(Shot->Canvas()->Pixels(195, 8), ColorToRGB(clBtnFace));
    auto Shot64 = Capture(B64);
    TColours Text(Shot64.get(), Rect(B64->BoxRect().Right + 1, 0, 200, 17));
    EXPECT_TRUE(Text.Has(clBtnShadow) && Text.Has(clBtnHighlight)) << "embossed caption";
    EXPECT_FALSE(Text.Has(clBlack));
  }
  // A click on the checked box keeps it checked; the disabled one stays unchecked.
  vcltest::Click(B96->Handle(), 8, 8);
  vcltest::PumpMessages();
  EXPECT_TRUE(B96->Checked());
  EXPECT_FALSE(B64->Checked());
}

}  // namespace
