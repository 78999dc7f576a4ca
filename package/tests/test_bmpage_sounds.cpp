// Which sound the page control plays when a tab becomes hot, pulses or is selected.
#include "package/tests/pkgtest.h"

namespace {

using namespace pkgtest;
using Log = std::vector<std::string>;

class Sounds : public testing::Test {
protected:
  void SetUp() override {
    F.Pages->SetHotTrack(true);
    F.Pages->SetFlashingDelay(10);
    F.Pages->SetUnFlashedDelay(10);
    F.Pages->SetHighlightSound(Sound("Highlight"));
    F.Pages->SetPulseSound(Sound("Pulse"));
    F.Show();
  }
  TRecordSound* Sound(const char* Name, bool Empty = false) {
    return new TRecordSound(F.Form.get(), Name, &Played, Empty);
  }
  void Select(int Tab) {
    F.Hover(Tab);
    const TPoint C = F.TabCentre(Tab);
    vcltest::Click(F.Wnd(), C.X, C.Y);
    vcltest::PumpMessages();
  }
  TPageForm F{3};
  Log Played;
};

// (A real mouse move may come twice, the window system repeating an earlier position: a tab can
// become hot more than once on the way, so the checks look at the last sound.)
TEST_F(Sounds, APageSoundComesBeforeTheControls) {
  F.Sheet[1]->SetHighlightSound(Sound("Page1Highlight"));
  F.Sheet[2]->SetHighlightSound(Sound("Page2Empty", true));
  for (auto [Tab, Want] : {std::pair{1, "Page1Highlight"}, {2, "Highlight"}, {0, "Highlight"}}) {
    Played.clear();
    F.Hover(Tab);
    ASSERT_FALSE(Played.empty()) << Tab;
    EXPECT_EQ(Played.back(), Want) << Tab;
  }
}

TEST_F(Sounds, AHighlightSkipsTheNextPulse) {
  F.Hover(1);
  EXPECT_TRUE(F.Pages->SkipNextPulse());
  Played.clear();
  ASSERT_TRUE(F.StepToPhase(2));
  EXPECT_EQ(Played, Log{});
  EXPECT_FALSE(F.Pages->SkipNextPulse());
  ASSERT_TRUE(F.StepToPhase(0));
  ASSERT_TRUE(F.StepToPhase(2));
  EXPECT_EQ(Played, (Log{"Pulse"}));
  // Without a highlight sound the first pulse plays.
  F.Pages->SetHighlightSound(nullptr);
  F.Hover(2);
  EXPECT_FALSE(F.Pages->SkipNextPulse());
  Played.clear();
  ASSERT_TRUE(F.StepToPhase(2));
  EXPECT_EQ(Played, (Log{"Pulse"}));
}

TEST_F(Sounds, SelectFallsBackToThePulse) {
  Select(1);
  EXPECT_EQ(F.Pages->ActivePage(), F.Sheet[1]);
  ASSERT_FALSE(Played.empty());
  EXPECT_EQ(Played.back(), "Pulse");
  F.Pages->SetSelectSound(Sound("Select"));
  F.Sheet[0]->SetSelectSound(Sound("Page0Select"));
  for (auto [Tab, Want] : {std::pair{2, "Select"}, {0, "Page0Select"}}) {
    Played.clear();
    Select(Tab);
    ASSERT_FALSE(Played.empty());
    EXPECT_EQ(Played.back(), Want);
    EXPECT_EQ(std::count(Played.begin(), Played.end(), "Pulse"), 0);
  }
}

TEST_F(Sounds, NoneWhenSoundsAreOff) {
  F.Pages->SetEnableSounds(false);
  F.Pages->SetSelectSound(Sound("Select"));
  Select(1);
  ASSERT_TRUE(F.StepToPhase(2));
  ASSERT_TRUE(F.StepToPhase(0));
  ASSERT_TRUE(F.StepToPhase(2));
  EXPECT_EQ(Played, Log{});
}

TEST_F(Sounds, KeyboardSelectionWithTheMouseOutsidePlaysNothing) {
  F.Pages->SetSelectSound(Sound("Select"));
  F.Pages->SetFocus();
  vcltest::PumpMessages();
  SendMessageA(F.Wnd(), WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageA(F.Wnd(), WM_KEYUP, VK_RIGHT, 0);
  vcltest::PumpMessages();
  EXPECT_EQ(F.Pages->ActivePage(), F.Sheet[1]);
  EXPECT_EQ(F.Pages->HotIndex(), -1);
  EXPECT_EQ(Played, Log{});
}

TEST_F(Sounds, ASoundFreedWithItsFormIsForgotten) {
  TFormPtr Other(TForm::CreateNew<TForm>(nullptr));
  auto* S = new TRecordSound(Other.get(), "Elsewhere", &Played);
  F.Pages->SetHighlightSound(S);
  F.Pages->SetSelectSound(S);
  F.Sheet[1]->SetHighlightSound(S);
  F.Sheet[1]->SetPulseSound(S);
  Other.reset();
  EXPECT_EQ(F.Pages->HighlightSound(), nullptr);
  EXPECT_EQ(F.Pages->SelectSound(), nullptr);
  EXPECT_EQ(F.Sheet[1]->HighlightSound(), nullptr);
  EXPECT_EQ(F.Sheet[1]->PulseSound(), nullptr);
  // The selection falls back to the control's pulse, and skips the next one.
  Select(1);
  EXPECT_EQ(Played, (Log{"Pulse"}));
  ASSERT_TRUE(F.StepToPhase(2));
  EXPECT_EQ(Played, (Log{"Pulse"}));
  ASSERT_TRUE(F.StepToPhase(0));
  ASSERT_TRUE(F.StepToPhase(2));
  EXPECT_EQ(Played, (Log{"Pulse", "Pulse"}));
}

// Real waves: the last one opened (the select sound, replacing the highlight) plays whole.
TEST(SoundsPlayed, OneClickPlaysTheSelectWave) {
  ASSERT_SOUND_DEVICE();
  ResetCapture();
  TPageForm F(3);
  F.Pages->SetHotTrack(true);
  auto* Highlight = TComponent::Create<TBMWave>(F.Form.get());
  auto* Select = TComponent::Create<TBMWave>(F.Form.get());
  const Bytes High = Samples(24000, 7), Sel = Samples(3000, 8);
  Highlight->Wave()->SetData(WaveImage(High).data(), int(High.size() + 44));
  Select->Wave()->SetData(WaveImage(Sel).data(), int(Sel.size() + 44));
  F.Pages->SetHighlightSound(Highlight);
  F.Pages->SetSelectSound(Select);
  F.Show();
  F.Hover(2);
  const TPoint C = F.TabCentre(2);
  vcltest::Click(F.Wnd(), C.X, C.Y);
  // The select wave plays whole; before it, at most the start of the highlight it cut short (on a
  // loaded machine the device may take some of that before the click arrives).
  const Bytes Got = WaitCapture(Sel.size());
  ASSERT_GE(Got.size(), Sel.size());
  const size_t Cut = Got.size() - Sel.size();
  EXPECT_EQ(Bytes(Got.begin() + std::ptrdiff_t(Cut), Got.end()), Sel);
  ASSERT_LE(Cut, High.size());
  EXPECT_EQ(Bytes(Got.begin(), Got.begin() + std::ptrdiff_t(Cut)), Bytes(High.begin(), High.begin() + std::ptrdiff_t(Cut)));
  ResetCapture();
}

}  // namespace
