// The bitmap controls and the resource bitmap: the draw types, the transparent colour in its
// three ways, the automatic colour, the effects by their pixels, the animated strip's frames
// stepped by a real timer, and bitmaps read from the test program's own resources.
#include "suite/qAnimate.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <set>

using namespace suitetest;

namespace {

constexpr TColor Face = 0x0000C0FF;  // the controls' Color

// 40 x 20: red left half, blue right half, a white square at (4, 4)-(9, 9), green bottom-left
// pixel.
std::unique_ptr<TBitmap> Picture() {
  auto B = vcltest::MakeBitmap(40, 20, clRed);
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clBlue);
  C->FillRect(Rect(20, 0, 40, 20));
  C->Brush()->SetColor(clWhite);
  C->FillRect(Rect(4, 4, 10, 10));
  C->SetPixels(0, 19, clLime);
  return B;
}

TEST(QBitmap, PublishedDefaultsMatchFreshControls) {
  for (TClass C : {TqBitmap::StaticClass(), TqAnimated::StaticClass()}) ExpectClassDefaultsMatch(C);
}

struct BitmapScene : testing::Test {
  TFormScene S;
  TqBitmap* B = S.Add<TqBitmap>(20, 30, 30, 30);
  BitmapScene() { B->SetColor(Face); }
};

TEST_F(BitmapScene, NormalStretchedAndCentred) {
  auto P = Picture();
  B->SetBitMap(P.get());
  EXPECT_EQ(B->Width(), 40) << "drawn normally the control takes the bitmap's size";
  EXPECT_EQ(B->Height(), 20);
  TPicture24 R = Render(B);
  EXPECT_EQ(Hex(R.At(1, 1)), Hex(clRed));
  EXPECT_EQ(Hex(R.At(30, 10)), Hex(clBlue));
  EXPECT_EQ(Hex(R.At(6, 6)), Hex(Face)) << "white shows Color";
  EXPECT_EQ(R.Count(Face), 36);

  B->SetDrawType(bdDrawStretch);
  B->SetBounds(B->Left(), B->Top(), 80, 60);
  R = Render(B);
  EXPECT_EQ(Hex(R.At(38, 30)), Hex(clRed));
  EXPECT_EQ(Hex(R.At(42, 30)), Hex(clBlue));
  EXPECT_EQ(R.Count(Face), 12 * 18) << "the white square stretched";
  EXPECT_EQ(InkOf(R, Face).Left, 8);
  EXPECT_EQ(InkOf(R, Face).Top, 12);

  B->SetDrawType(bdDrawCenter);
  R = Render(B);
  EXPECT_EQ(Hex(R.At(19, 19)), Hex(Face)) << "around the bitmap: the transparent colour";
  EXPECT_EQ(Hex(R.At(20, 20)), Hex(clRed));
  EXPECT_EQ(Hex(R.At(59, 39)), Hex(clBlue));
  EXPECT_EQ(Hex(R.At(60, 40)), Hex(Face));
  B->SetTransparent(false);
  R = Render(B);
  EXPECT_EQ(Hex(R.At(10, 10)), Hex(clWhite));
  EXPECT_EQ(Hex(R.At(26, 26)), Hex(clWhite));
  EXPECT_EQ(R.Count(Face), 0);
}

TEST_F(BitmapScene, SystemColourTurnsTransparencyOff) {
  auto P = Picture();
  B->SetBitMap(P.get());
  B->SetAutoBackColor(true);
  B->SetTransparentColor(clBtnFace);
  EXPECT_FALSE(B->AutoBackColor()) << "a colour of one's own ends the automatic one";
  const TPicture24 R = Render(B);
  EXPECT_EQ(Hex(R.At(6, 6)), Hex(clWhite));
  EXPECT_EQ(R.Count(Face), 0);
}

TEST_F(BitmapScene, RealTransparentShowsTheParent) {
  auto P = Picture();
  B->SetBitMap(P.get());
  B->SetRealTransparent(true);
  S.Show();
  RedrawAll(S.Form->Handle());
  auto Shot = vcltest::CaptureClient(S.Form->Handle());
  HDC DC = Shot->Canvas()->Handle();
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, 20 + 6, 30 + 6)), Hex(S.Form->Color()));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, 20 + 1, 30 + 1)), Hex(clRed));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, 20 + 30, 30 + 10)), Hex(clBlue));
  // What the bitmap painted last does not linger where the parent now shows.
  B->ReplaceColor(clBlue, clWhite);
  vcltest::PumpMessages();
  Shot = vcltest::CaptureClient(S.Form->Handle());
  EXPECT_EQ(Hex(vcltest::PixelAt(Shot->Canvas()->Handle(), 20 + 30, 30 + 10)), Hex(S.Form->Color()));
}

TEST_F(BitmapScene, AutomaticColourReadsTheBitmapsLastRow) {
  auto P = Picture();
  B->SetDrawType(bdDrawStretch);
  B->SetBitMap(P.get());
  B->SetBounds(B->Left(), B->Top(), 40, 50);  // taller than the bitmap
  B->SetAutoBackColor(true);
  EXPECT_EQ(Hex(B->TransparentColor()), Hex(clLime));
  const TPicture24 R = Render(B);
  EXPECT_EQ(Hex(R.At(0, 49)), Hex(Face)) << "the stretched green corner shows Color";
  EXPECT_EQ(Hex(R.At(6, 12)), Hex(clWhite)) << "white is no longer transparent";
}

TEST_F(BitmapScene, WithoutABitmapTheClientIsWhite) {
  B->SetBounds(50, 40, 30, 20);
  const TPicture24 R = Render(B, clTeal);
  EXPECT_EQ(R.Count(clWhite), 30 * 20);
}

TEST_F(BitmapScene, DesignTimeFrameIsDashed) {
  auto P = Picture();
  B->SetBitMap(P.get());
  B->SetTransparent(false);
  TPicture24 R = Render(B);
  EXPECT_EQ(Hex(R.At(10, 0)), Hex(clRed));
  B->SetDesigning(true);
  R = Render(B);
  int Black = 0;
  for (int X = 0; X < R.W; ++X) Black += R.At(X, 0) == clBlack;
  EXPECT_GT(Black, 5);
  EXPECT_LT(Black, R.W - 5) << "dashes, not a line";
  EXPECT_EQ(Hex(R.At(10, 10)), Hex(clRed)) << "a clear brush inside";
  B->SetDesigning(false);
}

TEST_F(BitmapScene, EffectsChangeTheBitmap) {
  auto P = Picture();
  B->SetTransparent(false);
  struct Case {
    const char* What;
    std::function<void()> Apply;
    std::function<void(const TPicture24&)> Check;
  } const Cases[] = {
      {"Mirror", [&] { B->Mirror(); },
       [](const TPicture24& R) {
         EXPECT_EQ(Hex(R.At(1, 1)), Hex(clBlue));
         EXPECT_EQ(Hex(R.At(34, 6)), Hex(clWhite));
         EXPECT_EQ(Hex(R.At(39, 19)), Hex(clLime));
       }},
      {"GreyScale", [&] { B->GreyScale(true); },
       [](const TPicture24& R) {
         EXPECT_EQ(Hex(R.At(1, 1)), Hex(TColor(0x4C4C4C)));  // 0.3 * 255
         EXPECT_EQ(Hex(R.At(30, 1)), Hex(TColor(0x1C1C1C)));  // 0.11 * 255
         EXPECT_EQ(Hex(R.At(6, 6)), Hex(clWhite));
       }},
      {"ReplaceColor", [&] { B->ReplaceColor(clRed, clYellow); },
       [](const TPicture24& R) {
         EXPECT_EQ(Hex(R.At(1, 1)), Hex(clYellow));
         EXPECT_EQ(Hex(R.At(30, 1)), Hex(clBlue));
         EXPECT_EQ(R.Count(clRed), 0);
       }},
      {"BW", [&] { B->BW(); },
       [](const TPicture24& R) {
         EXPECT_EQ(std::set<TColor>(R.Px.begin(), R.Px.end()), (std::set<TColor>{clBlack, clWhite}));
         EXPECT_EQ(R.Count(clWhite), 36);
       }},
      {"Rotate 90", [&] { B->Rotate(90); },
       [](const TPicture24& R) {
         // A quarter turn about the centre: the 40 x 20 picture stands 20 wide in the middle of
         // the 40 x 20 control, its halves one above the other, the sides in the transparent
         // colour (white).
         const TInk Red = InkOf(R, clRed), Blue = InkOf(R, clBlue);
         EXPECT_EQ(Red.Width(), 20);
         EXPECT_EQ(Blue.Width(), 20);
         EXPECT_EQ(Red.Left, 10);
         EXPECT_EQ(Blue.Left, 10);
         EXPECT_TRUE(Red.Bottom < Blue.Top || Blue.Bottom < Red.Top) << "stacked, not side by side";
         int Sides = 0;
         for (int Y = 0; Y < R.H; ++Y)
           for (int X : {0, 9, 30, 39}) Sides += R.At(X, Y) == clWhite;
         EXPECT_EQ(Sides, 4 * R.H);
       }},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.What);
    B->SetBitMap(P.get());
    K.Apply();
    K.Check(Render(B));
  }
}

// ----- the animated strip

// FrameCount frames of 10 x 8, frame k filled with Colors[k].
constexpr TColor FrameColors[] = {clRed, clLime, clBlue, clYellow};
std::unique_ptr<TBitmap> Strip() {
  auto B = vcltest::MakeBitmap(40, 8, clBlack);
  for (int K = 0; K < 4; ++K) {
    B->Canvas()->Brush()->SetColor(FrameColors[K]);
    B->Canvas()->FillRect(Rect(10 * K, 0, 10 * K + 10, 8));
  }
  return B;
}

struct TFrameLog : TObject {
  std::vector<int> Frames;
  TqAnimated* A = nullptr;
  void Changed(TObject*) { Frames.push_back(A->Frame()); }
};

struct AnimatedScene : testing::Test {
  TFormScene S;
  TqAnimated* A = S.Add<TqAnimated>(10, 10, 30, 30);
  TFrameLog Log;
  AnimatedScene() {
    Log.A = A;
    A->OnChangeFrame = EVENT(&Log, TFrameLog::Changed);
  }
  int Timers() const {
    int N = 0;
    for (int I = 0; I < A->ComponentCount(); ++I) N += dynamic_cast<TTimer*>(A->Components(I)) != nullptr;
    return N;
  }
  // Handles messages until play stops, for at most 20 seconds.
  bool PlayToTheEnd() {
    const DWORD Start = GetTickCount();
    while (A->Play() && GetTickCount() - Start < 20000) {
      Application->ProcessMessages();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return !A->Play();
  }
};

TEST_F(AnimatedScene, FramesCutFromTheStrip) {
  A->SetFrameCount(4);
  auto P = Strip();
  A->SetBitMap(P.get());
  EXPECT_EQ(A->Width(), 10) << "one frame wide";
  EXPECT_EQ(A->Height(), 8);
  struct Case {
    int Set, Frame;
  } const Cases[] = {{2, 2}, {-1, 3}, {9, 1}, {4, 0}, {3, 3}};
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Set);
    A->SetFrame(K.Set);
    EXPECT_EQ(A->Frame(), K.Frame);
    const TPicture24 R = Render(A);
    EXPECT_EQ(R.Count(FrameColors[K.Frame]), 80);
  }
  EXPECT_EQ(Log.Frames, (std::vector<int>{2, 3, 1, 0, 3})) << "each new frame told once";

  // Fewer than one frame counts as one: the whole strip.
  A->SetFrameCount(0);
  A->SetBitMap(P.get());
  EXPECT_EQ(A->Width(), 40);
  A->SetFrame(5);
  EXPECT_EQ(A->Frame(), 0);
  A->SetFrame(-1);
  EXPECT_EQ(A->Frame(), 0);
}

TEST_F(AnimatedScene, TimerOnlyWhilePlayingWithAnInterval) {
  A->SetPlay(true);
  EXPECT_EQ(Timers(), 0) << "no interval";
  A->SetInterval(100);
  ASSERT_EQ(Timers(), 1);
  A->SetInterval(0);
  EXPECT_EQ(Timers(), 0);
  A->SetInterval(50);
  A->SetPlay(false);
  EXPECT_EQ(Timers(), 0);
}

TEST_F(AnimatedScene, RealTimerStepsUntilTheEnd) {
  A->SetFrameCount(4);
  auto P = Strip();
  A->SetBitMap(P.get());
  A->SetLoop(false);
  A->SetInterval(20);
  A->SetPlay(true);
  ASSERT_EQ(Timers(), 1);
  ASSERT_TRUE(PlayToTheEnd());
  EXPECT_EQ(Log.Frames, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Timers(), 0);

  Log.Frames.clear();
  A->SetFrame(2);
  A->SetReverse(true);
  A->SetPlay(true);
  ASSERT_TRUE(PlayToTheEnd());
  EXPECT_EQ(Log.Frames, (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(Timers(), 0);
}

TEST_F(AnimatedScene, DestroyedWhilePlaying) {
  A->SetFrameCount(4);
  auto P = Strip();
  A->SetBitMap(P.get());
  A->SetInterval(20);
  A->SetPlay(true);
  ASSERT_TRUE(AppPumpUntil([&] { return Log.Frames.size() >= 2; }, 2000));
  TObject::Free(A);
  const size_t Seen = Log.Frames.size();
  AppPumpRounds(10);
  EXPECT_EQ(Log.Frames.size(), Seen);
}

// ----- resource bitmaps

// The resource picture, as the test bitmaps' generator draws it: four quadrants split at (8, 5)
// and a white diagonal from the top-left corner, 21 x 13.
TColor ResourcePixel(int X, int Y) {
  if (X == Y) return clWhite;
  const TColor Quadrant[4] = {0x2020C0, 0x40A020, 0xD04030, 0x10C0F0};
  return Quadrant[(Y >= 5) * 2 + (X >= 8)];
}

TEST(QResBitmap, ReadsBitmapsByNameAndNumber) {
  struct Case {
    const char* What;
    const char* Name;
    TPixelFormat Format;
  } const Cases[] = {
      {"24 bits by name", "RESBMP24", pf24bit},
      {"24 bits by number", MAKEINTRESOURCEA(24), pf24bit},
      {"8 bits by name", "RESBMP8", pf8bit},
      {"8 bits by number", MAKEINTRESOURCEA(8), pf8bit},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.What);
    std::unique_ptr<TqResBitmap> B(new TqResBitmap(K.Name));
    ASSERT_EQ(B->Width(), 21);
    ASSERT_EQ(B->Height(), 13);
    EXPECT_EQ(B->PixelFormat(), K.Format);
    const TPicture24 P = PictureOf(*B);
    int Wrong = 0;
    for (int Y = 0; Y < 13; ++Y)
      for (int X = 0; X < 21; ++X) Wrong += P.At(X, Y) != ResourcePixel(X, Y);
    EXPECT_EQ(Wrong, 0);
  }
}

TEST(QResBitmap, MissingResourceRaisesAndLeavesTheNextLoadWorking) {
  try {
    TqResBitmap B("NOSUCHBITMAP");
    FAIL() << "no error";
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.Message(), "Bitmap image is not valid");
  }
  EXPECT_THROW(TqResBitmap(MAKEINTRESOURCEA(999)), EInvalidGraphic);
  TqResBitmap B("RESBMP24");
  EXPECT_EQ(B.Width(), 21);
}

}  // namespace
