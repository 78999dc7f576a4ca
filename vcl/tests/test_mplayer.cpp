// The media player on the generated wave, MIDI and video files, through Wine's MCI devices and
// tools/wine-env's sound device: modes, lengths, capabilities, the display, frame pixels, what
// the wave leaves in the capture, errors, and the button bar under the real mouse.
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/MPlayer.h"
#include "vcl/tests/dialogtest.h"
#include "vcl/tests/mediafixtures.h"
#include "vcl/tests/vcltest.h"
#include "rtl/tests/default_check.h"

#include <mmsystem.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace mediafixtures;
using vcltest::PumpUntil;

constexpr unsigned Bit(int N) { return 1u << N; }

// The fixtures in a folder of their own.
struct TMedia : dialogtest::TTempFolder {
  TMedia() : TTempFolder("orvmci") {
    Write("tone.wav", Wave());
    Write("note.mid", Midi());
    Write("clip.avi", Avi());
    Write("junk.wav", Garbage());
  }
};

struct TFormFree {
  void operator()(TCustomForm* F) const {
    TObject::Free(F);
    vcltest::PumpMessages();
  }
};

// A shown form with a display panel and a player.
struct TPlayerForm {
  std::unique_ptr<TForm, TFormFree> Form{TForm::CreateNew<TForm>(nullptr)};
  TPanel* Screen;
  TMediaPlayer* Player;
  TPlayerForm() {
    Form->SetBounds(40, 40, 360, 240);
    Screen = TComponent::Create<TPanel>(Form.get());
    Screen->SetBounds(10, 10, 160, 120);
    Screen->SetBevelOuter(bvNone);
    Screen->SetColor(clWhite);
    Screen->SetParent(Form.get());
    Player = TComponent::Create<TMediaPlayer>(Form.get());
    Player->SetBounds(10, 150, 253, 30);
    Player->SetParent(Form.get());
    Form->Show();
    vcltest::PumpRounds(3);
  }
  TColor Pixel(int X, int Y) { return vcltest::PixelAt(Screen->Handle(), X, Y); }
};

bool Near(TColor A, uint32_t B) {
  for (int S : {0, 8, 16})
    if (std::abs(int((unsigned(A) >> S) & 0xFF) - int((B >> S) & 0xFF)) > 8) return false;
  return true;
}

class MediaPlayer : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(waveOutGetNumDevs(), 1u) << "no wave device: run the tests under tools/wine-env";
    ASSERT_FALSE(CapturePath().empty()) << "ORVALEN_SOUND_CAPTURE is not set";
  }
  TMedia Files;
  TPlayerForm F;
};

TEST_F(MediaPlayer, EachFixtureOpensWithItsModeLengthAndCapabilities) {
  struct TCase {
    const char* Name;
    int LengthMs;
    TMPDevCapsSet Caps, NotCaps;
    bool Video;
  } Cases[] = {
      {"tone.wav", 500, Bit(mpCanPlay) | Bit(mpCanRecord), Bit(mpUsesWindow) | Bit(mpCanStep), false},
      {"note.mid", 500, Bit(mpCanPlay), Bit(mpUsesWindow) | Bit(mpCanRecord), false},
      {"clip.avi", 1000, Bit(mpCanPlay) | Bit(mpUsesWindow) | Bit(mpCanStep), Bit(mpCanRecord), true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    F.Player->SetDisplay(F.Screen);
    F.Player->SetFileName((Files / C.Name).c_str());
    F.Player->Open();
    EXPECT_NE(F.Player->DeviceID(), 0u);
    EXPECT_EQ(F.Player->Mode(), mpStopped);
    EXPECT_EQ(F.Player->TimeFormat(), tfMilliseconds);
    EXPECT_NEAR(F.Player->Length(), C.LengthMs, 2);
    EXPECT_EQ(F.Player->Capabilities() & C.Caps, C.Caps);
    EXPECT_EQ(F.Player->Capabilities() & C.NotCaps, 0u);
    // With AutoEnable the bar offers what the stopped device can do.
    EXPECT_TRUE(F.Player->EnabledButtons() & Bit(btPlay));
    EXPECT_FALSE(F.Player->EnabledButtons() & Bit(btStop));
    EXPECT_EQ(bool(F.Player->EnabledButtons() & Bit(btStep)), C.Video);
    if (C.Video) {
      EXPECT_EQ(F.Player->DisplayRect(), Rect(0, 0, 64, 48));
    } else {
      EXPECT_THROW(F.Player->DisplayRect(), EMCIDeviceError);
    }
    F.Player->SetWait(true);
    F.Player->Close();
    EXPECT_EQ(F.Player->DeviceID(), 0u);
    EXPECT_EQ(F.Player->Mode(), mpNotReady);
    EXPECT_EQ(F.Player->EnabledButtons(), 0u);
  }
}

TEST_F(MediaPlayer, WavePlaysToItsEndAndLeavesItsSamples) {
  std::remove(CapturePath().c_str());
  F.Player->SetFileName((Files / "tone.wav").c_str());
  F.Player->Open();
  int Notified = 0;
  struct TSink : TObject {
    int* N;
    void Notify(TObject*) { ++*N; }
  } Sink;
  Sink.N = &Notified;
  F.Player->OnNotify = EVENT(&Sink, TSink::Notify);
  F.Player->SetNotify(true);
  F.Player->Play();
  ASSERT_TRUE(PumpUntil([&] { return Notified > 0; }, 1000));
  EXPECT_EQ(F.Player->NotifyValue(), nvSuccessful);
  // Wine's wave device tells the end a moment before its mode says stopped.
  EXPECT_TRUE(PumpUntil([&] { return F.Player->Mode() == mpStopped; }, 100));
  EXPECT_EQ(F.Player->Position(), F.Player->Length());
  // The notice of the play came once; the next command asked for none.
  F.Player->Rewind();
  vcltest::PumpRounds(5);
  EXPECT_EQ(Notified, 1);
  std::string Got;
  PumpUntil([&] { return (Got = ReadBytes(CapturePath())).size() >= 4000; }, 500);
  EXPECT_EQ(Got.substr(0, 4000), WaveSamples(4000)) << Got.size() << " bytes captured";
  F.Player->SetWait(true);
  F.Player->Close();
}

TEST_F(MediaPlayer, MidiPlaysPausesAndResumes) {
  F.Player->SetFileName((Files / "note.mid").c_str());
  F.Player->Open();
  F.Player->Play();
  EXPECT_EQ(F.Player->Mode(), mpPlaying);
  EXPECT_TRUE(F.Player->EnabledButtons() & Bit(btStop));
  EXPECT_FALSE(F.Player->EnabledButtons() & Bit(btPlay));
  F.Player->Pause();
  EXPECT_EQ(F.Player->Mode(), mpPaused);
  const int At = F.Player->Position();
  Sleep(100);
  EXPECT_EQ(F.Player->Position(), At);
  F.Player->Resume();
  EXPECT_EQ(F.Player->Mode(), mpPlaying);
  F.Player->Stop();
  EXPECT_EQ(F.Player->Mode(), mpStopped);
  F.Player->SetWait(true);
  F.Player->Close();
}

TEST_F(MediaPlayer, VideoDrawsItsFramesInTheDisplayRect) {
  F.Player->SetDisplay(F.Screen);
  F.Player->SetFileName((Files / "clip.avi").c_str());
  F.Player->Open();
  F.Player->SetDisplayRect(Rect(6, 6, 38, 30));
  EXPECT_EQ(F.Player->DisplayRect(), Rect(6, 6, 38, 30));
  // While it plays, the rectangle shows red frames and green ones and nothing else; the rest of
  // the display stays as it was.
  F.Player->Play();
  bool Red = false, Green = false, Other = false, Outside = false;
  PumpUntil([&] {
    for (TPoint P : {Point(7, 7), Point(20, 18), Point(36, 28)}) {
      const TColor C = F.Pixel(P.X, P.Y);
      if (Near(C, FrameColor(0))) Red = true;
      else if (Near(C, FrameColor(1))) Green = true;
      else if (C != clWhite) Other = true;
    }
    Outside |= F.Pixel(40, 18) != clWhite || F.Pixel(20, 32) != clWhite || F.Pixel(4, 4) != clWhite;
    return F.Player->Mode() == mpStopped;
  }, 500);
  EXPECT_TRUE(Red);
  EXPECT_TRUE(Green);
  EXPECT_FALSE(Other);
  EXPECT_FALSE(Outside);
  // Played to its end, it stops with a frame over the whole rectangle. Wine's video device stops
  // showing the frame before the last, with its position on the last frame, a frame short of
  // the length that Windows reports at the end.
  EXPECT_EQ(F.Player->Mode(), mpStopped);
  for (TPoint P : {Point(6, 6), Point(20, 18), Point(37, 29)})
    EXPECT_TRUE(Near(F.Pixel(P.X, P.Y), FrameColor(VideoFrames - 2))) << "Wine: the last frame shown, at " << P.X;
  EXPECT_EQ(F.Player->Position(), F.Player->Length() - 1000 / VideoFps) << "Wine: the position at the end";
  // Stopping it while it plays: Wine's device stops and then reports MMSYSERR_INVALHANDLE
  // (resetting the wave device a silent video has not got), which the player takes as stopped.
  F.Player->Play();
  ASSERT_EQ(F.Player->Mode(), mpPlaying);
  MCI_GENERIC_PARMS Raw{};
  EXPECT_EQ(mciSendCommandA(F.Player->DeviceID(), MCI_STOP, MCI_WAIT, DWORD_PTR(&Raw)), DWORD(MMSYSERR_INVALHANDLE))
      << "Wine: the stop of a video without sound";
  F.Player->Play();
  ASSERT_EQ(F.Player->Mode(), mpPlaying);
  F.Player->Stop();
  EXPECT_EQ(F.Player->Mode(), mpStopped);
  EXPECT_EQ(F.Player->Error(), 0u);
  F.Player->SetWait(true);
  F.Player->Play();
  // AutoRewind: the next play starts again from the first frame.
  F.Player->Play();
  Red = false;
  PumpUntil([&] {
    Red |= Near(F.Pixel(20, 18), FrameColor(0));
    return F.Player->Mode() == mpStopped;
  }, 500);
  EXPECT_TRUE(Red);
  F.Player->SetWait(true);
  F.Player->Close();
}

TEST_F(MediaPlayer, BadFilesRaiseTheDevicesErrorText) {
  for (const char* Name : {"junk.wav", "missing.wav"}) {
    SCOPED_TRACE(Name);
    F.Player->SetFileName((Files / Name).c_str());
    try {
      F.Player->Open();
      ADD_FAILURE() << "opened";
    } catch (const EMCIDeviceError& E) {
      ASSERT_NE(F.Player->Error(), 0u);
      char Text[256] = {};
      ASSERT_TRUE(mciGetErrorStringA(F.Player->Error(), Text, sizeof Text));
      EXPECT_EQ(E.Message(), Text);
      EXPECT_EQ(F.Player->ErrorMessage(), Text);
    }
    EXPECT_EQ(F.Player->DeviceID(), 0u);
  }
  try {
    F.Player->Play();
    ADD_FAILURE() << "played without a device";
  } catch (const EMCIDeviceError& E) {
    EXPECT_EQ(E.Message(), "No MCI device open");
  }
  EXPECT_THROW(F.Player->SetDisplayRect(Rect(0, 0, 10, 10)), EMCIDeviceError);
}

TEST_F(MediaPlayer, ButtonBarPlaysUnderTheRealMouseAndShowsWhatIsEnabled) {
  F.Player->SetVisibleButtons(AllMPButtons & ~(Bit(btRecord) | Bit(btEject)));
  EXPECT_EQ(F.Player->ButtonRect(btRecord), Rect(0, 0, 0, 0));
  const TRect Play = F.Player->ButtonRect(btPlay), Stop = F.Player->ButtonRect(btStop);
  EXPECT_EQ(Play, Rect(0, 0, 253 / 7, 30));
  F.Player->SetFileName((Files / "note.mid").c_str());
  F.Player->Open();
  HWND Bar = F.Player->Handle();
  auto GreenIn = [&](const TRect& R) {
    auto B = vcltest::CaptureClient(Bar);
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) N += B->Canvas()->Pixels(X, Y) == TColor(0x008000);
    return N;
  };
  EXPECT_GT(GreenIn(Play), 40);  // the coloured play glyph
  std::vector<TMPBtnType> Clicked;
  struct TSink : TObject {
    std::vector<TMPBtnType>* Log;
    bool Allow = true;
    void Click(TObject*, TMPBtnType B, bool& DoDefault) {
      Log->push_back(B);
      DoDefault = Allow;
    }
  } Sink;
  Sink.Log = &Clicked;
  F.Player->OnClick = EVENT(&Sink, TSink::Click);
  // A click that OnClick declines runs no command.
  Sink.Allow = false;
  vcltest::RealClick(Bar, (Play.Left + Play.Right) / 2, 15);
  EXPECT_EQ(F.Player->Mode(), mpStopped);
  Sink.Allow = true;
  vcltest::RealClick(Bar, (Play.Left + Play.Right) / 2, 15);
  EXPECT_EQ(F.Player->Mode(), mpPlaying);
  EXPECT_EQ(GreenIn(Play), 0);  // disabled while playing
  vcltest::RealClick(Bar, (Stop.Left + Stop.Right) / 2, 15);
  EXPECT_EQ(F.Player->Mode(), mpStopped);
  EXPECT_EQ(Clicked, (std::vector<TMPBtnType>{btPlay, btPlay, btStop}));
  // A disabled button takes no click.
  vcltest::RealClick(Bar, (Stop.Left + Stop.Right) / 2, 15);
  EXPECT_EQ(Clicked.size(), 3u);
  F.Player->SetWait(true);
  F.Player->Close();
}



TEST(MediaPlayerDefaults, PublishedDefaultsMatchAFreshPlayer) { ExpectClassDefaultsMatch(TMediaPlayer::StaticClass()); }

}  // namespace
