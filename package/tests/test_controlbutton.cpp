// The control button: the pixels of each layer in each state, disabled, pressed with the real
// mouse, the clamped properties, setters that paint at once without making the window, and a
// flash on the real timer.
#include "package/TControlButton.h"
#include "package/tests/pkgtest.h"
#include "rtl/tests/default_check.h"

#include <string>
#include <vector>

namespace {

using namespace pkgtest;
using suitetest::TFormScene;

constexpr TColor Grey = TColor(0x808080), White = TColor(0xFFFFFF), Silver = TColor(0xC0C0C0), Black = TColor(0);
constexpr int W = 100, H = 44;

struct TRecorder : TObject {
  int N = 0;
  void Notify(TObject*) { ++N; }
  TNotifyEvent Event() { return EVENT(this, TRecorder::Notify); }
  int Count() const { return N; }
};

// A button that notes each state it paints in, when it differs from the last.
class TWatchedButton : public TControlButton {
public:
  explicit TWatchedButton(TComponent* AOwner) : TControlButton(AOwner) {}
  std::vector<TControlButtonStates> States;
  std::vector<DWORD> Times;
protected:
  void Paint() override {
    if (States.empty() || States.back() != ButtonState()) {
      States.push_back(ButtonState());
      Times.push_back(GetTickCount());
    }
    TControlButton::Paint();
  }
};

struct TButtonScene : TFormScene {
  TWatchedButton* Btn;
  TButtonScene() : TFormScene(240, 120) {
    Btn = Add<TWatchedButton>(20, 20, W, H);
    Btn->SetName("Btn");
    Btn->SetInProcessText("Run");
    Btn->SetState1Text("One");
    Btn->SetState2Text("Two");
    Btn->SetState2BGColor(TColor(0x400080));
    Btn->SetState2TextColor(clWhite);
    Show();
  }
  std::unique_ptr<TBitmap> Shot() { return vcltest::CaptureClient(Btn->Handle()); }
};

// The pixels of a raised button of bevel width Bw: its frame, bevel, gap and face.
void ExpectRaised(TBitmap* B, int Bw, TColor Face) {
  TCanvas* C = B->Canvas();
  EXPECT_EQ(Hex(C->Pixels(0, 0)), Hex(Black));
  EXPECT_EQ(Hex(C->Pixels(W - 1, H / 2)), Hex(Black));
  for (int K = 0; K < Bw; ++K) {
    const int I = 1 + K;
    SCOPED_TRACE("bevel level " + std::to_string(K));
    EXPECT_EQ(Hex(C->Pixels(W / 2, I)), Hex(White)) << "top";
    EXPECT_EQ(Hex(C->Pixels(I, H / 2)), Hex(White)) << "left";
    EXPECT_EQ(Hex(C->Pixels(W / 2, H - 1 - I)), Hex(Grey)) << "bottom";
    EXPECT_EQ(Hex(C->Pixels(W - 1 - I, H / 2)), Hex(Grey)) << "right";
  }
  for (int I = 1 + Bw; I < 5 + Bw; ++I) EXPECT_EQ(Hex(C->Pixels(I, H / 2)), Hex(Silver)) << "gap at " << I;
  const int F = 5 + Bw;  // the face's sunken edge
  EXPECT_EQ(Hex(C->Pixels(W / 2, F)), Hex(Grey)) << "face top";
  EXPECT_EQ(Hex(C->Pixels(F, H / 2)), Hex(Grey)) << "face left";
  EXPECT_EQ(Hex(C->Pixels(W / 2, H - 1 - F)), Hex(White)) << "face bottom";
  EXPECT_EQ(Hex(C->Pixels(W - 1 - F, H / 2)), Hex(White)) << "face right";
  EXPECT_EQ(Hex(C->Pixels(F + 1, F + 1)), Hex(Face)) << "face";
  EXPECT_EQ(Hex(C->Pixels(W - 2 - F, H - 2 - F)), Hex(Face)) << "face";
}

// The face rectangle (inside its sunken edge) of a button held down, bevel width Bw.
TRect PressedFace(int Bw) {
  const int O = Bw - 1 == 0 ? 1 : Bw - 1;
  return TRect(5 + Bw + O, 5 + Bw + O, W - 5 - Bw + O, H - 5 - Bw + O);
}

void ExpectPressed(TBitmap* B, int Bw, TColor Face) {
  TCanvas* C = B->Canvas();
  EXPECT_EQ(Hex(C->Pixels(0, 0)), Hex(Black));
  for (int K = 0; K < Bw; ++K) {
    const int I = 1 + K;
    SCOPED_TRACE("sunken level " + std::to_string(K));
    EXPECT_EQ(Hex(C->Pixels(W / 2, I)), Hex(Grey)) << "top";
    EXPECT_EQ(Hex(C->Pixels(I, H / 2)), Hex(Grey)) << "left";
    EXPECT_EQ(Hex(C->Pixels(W / 2, H - 1 - I)), Hex(Bw == 1 ? White : Silver)) << "bottom";
    EXPECT_EQ(Hex(C->Pixels(W - 1 - I, H / 2)), Hex(Bw == 1 ? White : Silver)) << "right";
  }
  const TRect F = PressedFace(Bw);
  EXPECT_EQ(Hex(C->Pixels(1 + Bw, H / 2)), Hex(Silver)) << "between the bevel and the moved face";
  EXPECT_EQ(Hex(C->Pixels(W / 2, F.Top)), Hex(Grey)) << "face top";
  EXPECT_EQ(Hex(C->Pixels(F.Left, H / 2)), Hex(Grey)) << "face left";
  EXPECT_EQ(Hex(C->Pixels(W / 2, F.Bottom - 1)), Hex(White)) << "face bottom";
  EXPECT_EQ(Hex(C->Pixels(F.Right - 1, H / 2)), Hex(White)) << "face right";
  EXPECT_EQ(Hex(C->Pixels(F.Left + 1, F.Top + 1)), Hex(Face)) << "face";
}

TRect FaceInside(int Bw) { return TRect(6 + Bw, 6 + Bw, W - 6 - Bw, H - 6 - Bw); }

TEST(ControlButton, EachStateHasItsLayersColoursAndText) {
  TButtonScene S;
  struct TCase {
    TControlButtonStates State;
    TColor Face, Text;
  };
  const TCase Cases[] = {
      {bsDefault, TColor(0xC0C0C0), TColor(0x800000)},
      {bsInProcess, TColor(65280), TColor(0)},
      {bsState1, TColor(8421504), TColor(65535)},
      {bsState2, TColor(0x400080), clWhite},
      {bsDefault, TColor(0xC0C0C0), TColor(0x800000)},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(TControlButtonStatesType.ValueToName(C.State));
    S.Btn->SetButtonState(C.State);
    EXPECT_TRUE(S.Btn->Enabled());
    EXPECT_TRUE(IsWindowEnabled(S.Btn->Handle()));
    auto B = S.Shot();
    ExpectRaised(B.get(), 3, C.Face);
    EXPECT_GT(Count(B.get(), FaceInside(3), C.Text), 8) << "the state's text in its colour";
  }

  // Bevels of 1 and 5 pixels move every layer.
  for (int Bw : {1, 5}) {
    SCOPED_TRACE("bevel " + std::to_string(Bw));
    S.Btn->SetBevelWidth(Bw);
    ExpectRaised(S.Shot().get(), Bw, TColor(0xC0C0C0));
  }
}

TEST(ControlButton, InhibitedIsDisabledAndEngraved) {
  TButtonScene S;
  TRecorder Clicks;
  S.Btn->OnClick = Clicks.Event();
  S.Btn->SetButtonState(bsState1);
  S.Btn->SetButtonState(bsInhibited);
  EXPECT_FALSE(S.Btn->Enabled());
  EXPECT_FALSE(IsWindowEnabled(S.Btn->Handle()));
  auto B = S.Shot();
  ExpectRaised(B.get(), 3, Silver);
  // The default text, in white with a grey copy one pixel up and left; no text colour.
  const TRect In = FaceInside(3);
  EXPECT_GT(Count(B.get(), In, White), 8);
  EXPECT_GT(Count(B.get(), In, Grey), 8);
  EXPECT_EQ(Count(B.get(), In, TColor(0x800000)), 0);
  EXPECT_EQ(Count(B.get(), In, TColor(65535)), 0) << "not the last state's colours";

  // A disabled window takes no click, and holding the mouse on it does not sink it.
  vcltest::RealClick(S.Btn->Handle(), W / 2, H / 2);
  EXPECT_EQ(Clicks.Count(), 0);
  EXPECT_FALSE(S.Btn->MouseIsDown());

  S.Btn->SetButtonState(bsDefault);
  EXPECT_TRUE(S.Btn->Enabled());
  EXPECT_TRUE(IsWindowEnabled(S.Btn->Handle()));
  vcltest::RealClick(S.Btn->Handle(), W / 2, H / 2);
  EXPECT_EQ(Clicks.Count(), 1);
}

TEST(ControlButton, HeldWithTheRealMouseItSinks) {
  struct TCase {
    bool Pressed;
    int Bevel;
    TColor Face, Text;
  };
  // Pressed false keeps the state's own colours; true shows the pressed ones.
  const TCase Cases[] = {
      {false, 3, TColor(65280), TColor(0)},
      {true, 3, TColor(65535), TColor(0x000080)},
      {true, 1, TColor(65535), TColor(0x000080)},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Pressed ? "Pressed" : "not Pressed") + ", bevel " + std::to_string(C.Bevel));
    TButtonScene S;
    TRecorder Clicks;
    S.Btn->OnClick = Clicks.Event();
    S.Btn->SetButtonState(bsInProcess);
    S.Btn->SetPressed(C.Pressed);
    S.Btn->SetPressedTextColor(TColor(0x000080));
    S.Btn->SetBevelWidth(C.Bevel);
    vcltest::MoveMouse(S.Btn->Handle(), W / 2, H / 2);
    vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, true)});
    ASSERT_TRUE(S.Btn->MouseIsDown());
    auto B = S.Shot();
    ExpectPressed(B.get(), C.Bevel, C.Face);
    TRect In = PressedFace(C.Bevel);
    In.Inflate(-1, -1);
    EXPECT_GT(Count(B.get(), In, C.Text), 8);
    EXPECT_EQ(Clicks.Count(), 0);

    vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, false)});
    EXPECT_FALSE(S.Btn->MouseIsDown());
    EXPECT_EQ(Clicks.Count(), 1);
    ExpectRaised(S.Shot().get(), C.Bevel, TColor(65280));
  }
}

TEST(ControlButton, ATextWiderThanTheButtonStaysCentredOnItsWidth) {
  TButtonScene S;
  S.Btn->SetDefaultText("WWWWWWWWWWWWWWWWWWWW");
  const TRect In = FaceInside(3);  // the text area starts one pixel further in
  // Raised: the offset is lifted to 0, so the text starts at the text area.
  auto Up = S.Shot();
  EXPECT_EQ(Count(Up.get(), TRect(0, In.Top, In.Left + 1, In.Bottom), TColor(0x800000)), 0);
  EXPECT_GT(Count(Up.get(), TRect(In.Left + 1, In.Top, In.Left + 12, In.Bottom), TColor(0x800000)), 0);
  // Held: centred on its measured width, it starts left of the text area.
  vcltest::MoveMouse(S.Btn->Handle(), W / 2, H / 2);
  vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, true)});
  const TRect F = PressedFace(3);
  auto Down = S.Shot();
  EXPECT_GT(Count(Down.get(), TRect(0, F.Top + 1, F.Left + 2, F.Bottom - 1), TColor(0x800000)), 0);
  vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, false)});
}

TEST(ControlButton, ClampsAndSettersPaintAtOnceWithoutMakingTheWindow) {
  // A button without a window takes every setter and stays without one.
  std::unique_ptr<TControlButton> Loose(TComponent::Create<TControlButton>(nullptr));
  struct TClamp {
    int Set, Stored;
  };
  for (TClamp C : {TClamp{0, 1}, TClamp{-3, 1}, TClamp{9, 5}, TClamp{5, 5}, TClamp{2, 2}}) {
    Loose->SetBevelWidth(C.Set);
    EXPECT_EQ(Loose->BevelWidth(), C.Stored) << C.Set;
  }
  for (TClamp C : {TClamp{0, 1}, TClamp{-40, 1}, TClamp{40, 40}}) {
    Loose->SetFlashRate(C.Set);
    EXPECT_EQ(Loose->FlashRate(), C.Stored) << C.Set;
    EXPECT_EQ(Loose->FlashTimer()->Interval(), unsigned(C.Stored));
  }
  Loose->SetDefaultText("Start");
  Loose->SetDefaultBGColor(clRed);
  Loose->SetInProcessBGColor(clBlue);
  Loose->SetState1Text("x");
  Loose->SetButtonState(bsInhibited);
  EXPECT_FALSE(Loose->Enabled());
  Loose->SetButtonState(bsState2);
  EXPECT_TRUE(Loose->Enabled());
  Loose->Font()->SetSize(12);
  Loose->SetFlashActive(true);
  Loose->SetFlashActive(false);
  EXPECT_FALSE(Loose->HandleAllocated());

  // With a window, a setter shows its change before any message is handled.
  TButtonScene S;
  auto Now = [&](int X, int Y) {
    HDC DC = GetDC(S.Btn->Handle());
    TColor C = TColor(GetPixel(DC, X, Y));
    ReleaseDC(S.Btn->Handle(), DC);
    return Hex(C);
  };
  S.Btn->SetDefaultBGColor(clRed);
  EXPECT_EQ(Now(10, 10), Hex(clRed));
  S.Btn->SetButtonState(bsInProcess);
  EXPECT_EQ(Now(10, 10), Hex(TColor(65280)));
  S.Btn->SetInProcessBGColor(clBlue);
  EXPECT_EQ(Now(10, 10), Hex(clBlue));
  S.Btn->SetBevelWidth(1);
  EXPECT_EQ(Now(7, 7), Hex(clBlue)) << "the face of a 1-pixel bevel";
}

TEST(ControlButton, FlashAlternatesOnTheTimerAndStopsOnTheSavedState) {
  TButtonScene S;
  S.Btn->SetButtonState(bsState1);
  S.Btn->SetFlashRate(40);
  S.Btn->States.clear();
  S.Btn->Times.clear();
  const DWORD Start = GetTickCount();
  S.Btn->SetFlashActive(true);
  EXPECT_TRUE(S.Btn->FlashButton());
  EXPECT_TRUE(S.Btn->FlashTimer()->Enabled());
  EXPECT_EQ(S.Btn->ButtonState(), bsState1) << "the first change waits for the timer";
  ASSERT_TRUE(vcltest::AppPumpUntil([&] { return S.Btn->States.size() >= 6; }, 10000));
  for (size_t I = 0; I < S.Btn->States.size(); ++I)
    EXPECT_EQ(S.Btn->States[I], I % 2 == 0 ? bsInProcess : bsState1) << "change " << I;
  // Never faster than the rate (the timer may be late, never early by much).
  EXPECT_GE(S.Btn->Times.back() - Start, DWORD(5 * 30));

  // Switching it on again while it flashes keeps the state saved when it started.
  ASSERT_TRUE(vcltest::AppPumpUntil([&] { return S.Btn->ButtonState() == bsInProcess; }, 5000));
  S.Btn->SetFlashActive(true);
  EXPECT_EQ(S.Btn->ButtonState(), bsInProcess);
  S.Btn->SetFlashActive(false);
  EXPECT_FALSE(S.Btn->FlashButton());
  EXPECT_FALSE(S.Btn->FlashTimer()->Enabled());
  EXPECT_EQ(S.Btn->ButtonState(), bsState1);
  const size_t Changes = S.Btn->States.size();
  vcltest::AppPumpUntil([] { return false; }, 250);
  EXPECT_EQ(S.Btn->States.size(), Changes) << "no change once stopped";
  ExpectRaised(S.Shot().get(), 3, TColor(8421504));
}

TEST(ControlButton, ReadFromAFormAndDefaults) {
  ExpectClassDefaultsMatch(TControlButton::StaticClass());
  EXPECT_EQ(GetClass("TControlButton"), TControlButton::StaticClass());
  TFormPtr Form{LoadForm(
      "object Form1: TForm\n"
      "  Left = 100\n  Top = 100\n  Width = 260\n  Height = 140\n"
      "  object Btn: TControlButton\n"
      "    Left = 10\n    Top = 10\n    Width = 100\n    Height = 44\n"
      "    BevelWidth = 2\n"
      "    ButtonState = bsInhibited\n"
      "    DefaultText = 'Stop'\n"
      "    FlashButtonState = bsState2\n"
      "    FlashRate = 0\n"
      "    State2BGColor = clNavy\n"
      "    Pressed = True\n"
      "  end\n"
      "  object Flasher: TControlButton\n"
      "    Left = 120\n    Top = 10\n    Width = 100\n    Height = 44\n"
      "    FlashButton = True\n"
      "    ButtonState = bsState2\n"
      "  end\n"
      "end\n")};
  auto* Btn = dynamic_cast<TControlButton*>(Form->FindComponent("Btn"));
  ASSERT_NE(Btn, nullptr);
  EXPECT_EQ(Btn->BevelWidth(), 2);
  EXPECT_EQ(Btn->ButtonState(), bsInhibited);
  EXPECT_FALSE(Btn->Enabled());
  EXPECT_EQ(Btn->DefaultText().str(), "Stop");
  EXPECT_EQ(Btn->FlashButtonState(), bsState2);
  EXPECT_EQ(Btn->FlashRate(), 1);
  EXPECT_EQ(Btn->State2BGColor(), clNavy);
  EXPECT_TRUE(Btn->Pressed());
  Form->Show();
  vcltest::PumpRounds(3);
  EXPECT_FALSE(IsWindowEnabled(Btn->Handle()));
  EXPECT_EQ(Hex(vcltest::PixelAt(Btn->Handle(), 9, 9)), Hex(Silver)) << "the engraved face";

  // A flash from the resource starts once it is read, from the state read after it.
  auto* Flasher = dynamic_cast<TControlButton*>(Form->FindComponent("Flasher"));
  ASSERT_NE(Flasher, nullptr);
  EXPECT_TRUE(Flasher->FlashButton());
  EXPECT_TRUE(Flasher->FlashTimer()->Enabled());
  ASSERT_TRUE(vcltest::AppPumpUntil([&] { return Flasher->ButtonState() == bsInProcess; }, 5000));
  Flasher->SetFlashActive(false);
  EXPECT_EQ(Flasher->ButtonState(), bsState2);
}

}  // namespace
