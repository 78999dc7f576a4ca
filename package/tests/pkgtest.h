// Helpers of the package tests: wave images, the sound capture of tools/wine-env, shown forms
// holding a page control, a sound that records its plays, and the module's walk held still.
#pragma once
#include "package/BMPAGE.h"
#include "package/BMWave.h"
#include "rtl/Streaming.h"
#include "suite/tests/suitetest.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <mmsystem.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace pkgtest {

using Bytes = std::vector<uint8_t>;

// N samples of 8-bit PCM, different for each seed.
inline Bytes Samples(int N, int Seed) {
  Bytes S(static_cast<size_t>(N));
  for (int I = 0; I < N; ++I) S[size_t(I)] = uint8_t(I * 7 + Seed * 31 + (I >> 8));
  return S;
}

// A RIFF wave file image: 8-bit mono PCM at 8000 samples a second.
inline Bytes WaveImage(const Bytes& Pcm) {
  const uint32_t N = uint32_t(Pcm.size());
  Bytes W(44 + N);
  auto Put32 = [&](size_t At, uint32_t V) { for (int I = 0; I < 4; ++I) W[At + I] = uint8_t(V >> (8 * I)); };
  auto Put16 = [&](size_t At, uint16_t V) { W[At] = uint8_t(V); W[At + 1] = uint8_t(V >> 8); };
  std::memcpy(&W[0], "RIFF", 4);
  Put32(4, 36 + N);
  std::memcpy(&W[8], "WAVEfmt ", 8);
  Put32(16, 16);
  Put16(20, 1);
  Put16(22, 1);
  Put32(24, 8000);
  Put32(28, 8000);
  Put16(32, 1);
  Put16(34, 8);
  std::memcpy(&W[36], "data", 4);
  Put32(40, N);
  std::copy(Pcm.begin(), Pcm.end(), W.begin() + 44);
  return W;
}

// The build's paths are host paths; Wine sees the host's root as drive Z:.
inline std::string WinePath(std::string P) {
  if (!P.empty() && P[0] == '/') P = "Z:" + P;
  for (char& C : P)
    if (C == '/') C = '\\';
  return P;
}

// Where tools/wine-env's sound device writes what it plays ("" outside it).
inline std::string CapturePath() {
  char Buf[1024] = {};
  DWORD N = GetEnvironmentVariableA("ORVALEN_SOUND_CAPTURE", Buf, sizeof Buf);
  return N > 0 && N < sizeof Buf ? WinePath(Buf) : std::string();
}

inline Bytes ReadFileBytes(const std::string& Path) {
  Bytes B;
  if (std::FILE* F = std::fopen(Path.c_str(), "rb")) {
    uint8_t Buf[4096];
    for (size_t N; (N = std::fread(Buf, 1, sizeof Buf, F)) > 0;) B.insert(B.end(), Buf, Buf + N);
    std::fclose(F);
  }
  return B;
}

inline void WriteFileBytes(const std::string& Path, const Bytes& B) {
  std::FILE* F = std::fopen(Path.c_str(), "wb");
  ASSERT_NE(F, nullptr) << Path;
  std::fwrite(B.data(), 1, B.size(), F);
  std::fclose(F);
}

// Stops any sound and empties the capture.
inline void ResetCapture() {
  PlaySoundA(nullptr, nullptr, 0);
  std::remove(CapturePath().c_str());
}

// The capture once it has held Count bytes for a moment (or the time is up): a finished play.
inline Bytes WaitCapture(size_t Count, DWORD TimeoutMs = 30000) {
  const DWORD Start = GetTickCount();
  Bytes B;
  int Stable = 0;
  while (GetTickCount() - Start < TimeoutMs) {
    vcltest::PumpMessages();
    Bytes Now = ReadFileBytes(CapturePath());
    Stable = Now.size() >= Count && Now.size() == B.size() ? Stable + 1 : 0;
    B.swap(Now);
    if (Stable >= 3) break;
    Sleep(20);
  }
  return B;
}

// The wave device tools/wine-env gives Wine; a clear failure without it.
#define ASSERT_SOUND_DEVICE()                                                                        \
  do {                                                                                               \
    ASSERT_EQ(waveOutGetNumDevs(), 1u) << "no wave device: run the tests under tools/wine-env";      \
    ASSERT_FALSE(pkgtest::CapturePath().empty()) << "ORVALEN_SOUND_CAPTURE is not set";              \
  } while (0)

// A sound that records its plays by name.
class TRecordSound : public TBMCustomSound {
public:
  TRecordSound(TComponent* AOwner, const char* AName, std::vector<std::string>* ALog, bool AEmpty = false)
      : TBMCustomSound(AOwner), Log(ALog), IsEmpty(AEmpty) {
    SetName(AName);
  }
  void Play() override { Log->push_back(Name().str()); }
  bool Empty() const override { return IsEmpty; }
  std::vector<std::string>* Log;
  bool IsEmpty;
};

// A page control that notes the rectangle each tab was last drawn in.
class TTestPages : public TBMPageControl {
public:
  explicit TTestPages(TComponent* AOwner) : TBMPageControl(AOwner) {}
  std::vector<TRect> Drawn;
  int Invalidated = 0;
  void Invalidate() override {
    ++Invalidated;
    TBMPageControl::Invalidate();
  }
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override {
    if (Index >= int(Drawn.size())) Drawn.resize(size_t(Index) + 1);
    Drawn[size_t(Index)] = Rect;
    TBMPageControl::DrawItem(Index, Rect, State);
  }
};

using suitetest::LoadForm;
using suitetest::TFormPtr;

// A shown form at a fixed place with a page control of N sheets captioned "Page 0".. and named
// "Sheet0"..; the module's walk is held for the form's life (tests step it).
struct TPageForm {
  TFormPtr Form;
  TTestPages* Pages = nullptr;
  std::vector<TBMTabSheet*> Sheet;
  explicit TPageForm(int N, int W = 320, int H = 220) : Form(TForm::CreateNew<TForm>(nullptr)) {
    TBMPageModule::HoldWalk(true);
    Form->SetBounds(60, 60, W + 60, H + 80);
    Form->SetColor(clWhite);
    Pages = TComponent::Create<TTestPages>(Form.get());
    Pages->SetName("Pages");
    Pages->SetBounds(20, 20, W, H);
    Pages->SetParent(Form.get());
    for (int I = 0; I < N; ++I) {
      auto* S = TComponent::Create<TBMTabSheet>(Form.get());
      S->SetName(("Sheet" + std::to_string(I)).c_str());
      S->SetCaption(("Page " + std::to_string(I)).c_str());
      S->SetPageControl(Pages);
      Sheet.push_back(S);
    }
    if (N > 0) Pages->SetActivePage(Sheet[0]);
  }
  ~TPageForm() {
    Form.reset();
    vcltest::PumpMessages();
    TBMPageModule::HoldWalk(false);
  }
  TPageForm(const TPageForm&) = delete;
  TPageForm& operator=(const TPageForm&) = delete;
  // Shows the form with the real mouse away from it, so no tab starts hot.
  void Show() {
    vcltest::MoveMouse(GetDesktopWindow(), 1000, 740);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    vcltest::PumpUntil([&] { return GetActiveWindow() == Form->Handle(); }, 100);
    vcltest::PumpRounds(3);
  }
  HWND Wnd() { return Pages->Handle(); }
  TRect Tab(int I) { return Pages->TabRect(I); }
  TPoint TabCentre(int I) {
    TRect R = Tab(I);
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  }
  // The real mouse over tab I (or a point of the page control), then its painting.
  void Hover(int I) { HoverAt(TabCentre(I)); }
  void HoverAt(TPoint P) {
    vcltest::MoveMouse(Wnd(), P.X, P.Y);
    vcltest::PumpRounds(2);
  }
  // The mouse off the page control.
  void Leave() {
    vcltest::MoveMouse(Form->Handle(), 2, 2);
    vcltest::PumpUntil([&] { return !Pages->MouseInside(); }, 100);
  }
  // One tick of the module walk and the repaint it asks for.
  void Step(int Ticks = 1) {
    for (int I = 0; I < Ticks; ++I) {
      TBMPageModule::StepWalk();
      vcltest::PumpMessages();
    }
  }
  // Steps until the hot tab shows Phase (at most 500 ticks).
  bool StepToPhase(int Phase) {
    for (int I = 0; I < 500; ++I) {
      if (Pages->FlashPhase() == Phase && I > 0) return true;
      Step();
    }
    return Pages->FlashPhase() == Phase;
  }
  TColor Pixel(int X, int Y) { return vcltest::PixelAt(Wnd(), X, Y); }
  std::unique_ptr<TBitmap> Capture() { return vcltest::CaptureClient(Wnd()); }
};

// A W by H bitmap of one colour, with another in its bottom-left corner (the glyph's transparent
// colour).
inline std::unique_ptr<TBitmap> GlyphBitmap(int W, int H, TColor Fill, TColor Key) {
  auto B = vcltest::MakeBitmap(W, H, Fill);
  B->Canvas()->SetPixels(0, H - 1, Key);
  return B;
}

inline std::string Hex(TColor C) {
  char B[16];
  std::snprintf(B, sizeof B, "$%06X", unsigned(C) & 0xFFFFFFu);
  return B;
}

inline int Channel(TColor C, int Shift) { return (int(C) >> Shift) & 0xFF; }

// Whether two colours differ by at most Tolerance in every channel.
inline bool Near(TColor A, TColor B, int Tolerance) {
  for (int S : {0, 8, 16})
    if (std::abs(Channel(A, S) - Channel(B, S)) > Tolerance) return false;
  return true;
}

// Whether C is nearer to A than to B (summed channel distances).
inline bool Closer(TColor C, TColor A, TColor B) {
  int DA = 0, DB = 0;
  for (int S : {0, 8, 16}) {
    DA += std::abs(Channel(C, S) - Channel(A, S));
    DB += std::abs(Channel(C, S) - Channel(B, S));
  }
  return DA < DB;
}

// Pixels of colour C (within Tolerance) in a rectangle of a bitmap.
inline int Count(TBitmap* B, const TRect& R, TColor C, int Tolerance = 0) {
  int N = 0;
  for (int Y = std::max(R.Top, 0); Y < std::min(R.Bottom, B->Height()); ++Y)
    for (int X = std::max(R.Left, 0); X < std::min(R.Right, B->Width()); ++X)
      N += Near(B->Canvas()->Pixels(X, Y), C, Tolerance);
  return N;
}

}  // namespace pkgtest
