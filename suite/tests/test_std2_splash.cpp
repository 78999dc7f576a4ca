// The splash picture on the real screen: its place and pixels read back from the screen's device
// context, its life around the form's first paint.
#include "suite/Std2.h"
#include "suite/Blend.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using suitetest::TFormPtr;

constexpr TColor Beneath = 0x0000C000;  // the window under the splash
constexpr TColor Fill = 0x00F0C080;
constexpr TColor Frame = 0x00FF00FF;
constexpr TColor Highlight = 0x00F8F8F8, Shadow = 0x00606060;

TColor ScreenPixel(int X, int Y) {
  HDC DC = GetDC(nullptr);
  const TColor C = TColor(GetPixel(DC, X, Y));
  ReleaseDC(nullptr, DC);
  return C;
}

// A bitmap of W x H in Colour, with a red dot at its centre and a white one 2 pixels right of it.
constexpr TColor PictureColour = 0x00204080;
std::unique_ptr<TBitmap> Picture(int W, int H) {
  auto B = vcltest::MakeBitmap(W, H, PictureColour);
  B->Canvas()->SetPixels(W / 2, H / 2, clRed);
  B->Canvas()->SetPixels(W / 2 + 2, H / 2, clWhite);
  return B;
}

// A borderless form of a known colour under the middle of the screen, and the form a splash
// belongs to.
struct TSplashScene {
  TFormPtr Back{TCustomForm::CreateNew<TForm>(nullptr)};
  TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  TqSplashForm* Splash = nullptr;

  TSplashScene() {
    Back->SetBorderStyle(bsNone);
    Back->SetColor(Beneath);
    Back->SetBounds(262, 184, 500, 400);
    Back->Show();
    vcltest::PumpRounds(5);
    Form->SetBounds(362, 284, 300, 200);
    Form->SetColor(clNavy);
    Splash = TComponent::Create<TqSplashForm>(Form.get());
    Splash->SetColor(Fill);
    Splash->SetHighligtColor(Highlight);
    Splash->SetShadowColor(Shadow);
    Splash->SetMainFormDelay(0);
  }
  // The splash as the form's loading leaves it: on the screen.
  void Load(TBitmap* Bitmap) {
    if (Bitmap) Splash->SetBitMap(Bitmap);
    Splash->Loaded();
  }
};

// Events in order, and screen pixels taken while the splash is held.
struct TEvents : TObject {
  std::vector<std::string> Log;
  std::vector<std::pair<int, int>> Points;
  std::vector<TColor> During;
  // The steady clock: the tick count moves in steps that may lag under load.
  std::chrono::steady_clock::time_point BeforeDelay, BeforeClose;
  std::string Shot;
  void Attach(TqSplashForm* S) {
    S->OnCreate = TNotifyEvent::Bind<&TEvents::Create>(this);
    S->OnBeforeShow = TNotifyEvent::Bind<&TEvents::BeforeShow>(this);
    S->OnShow = TNotifyEvent::Bind<&TEvents::Show>(this);
    S->OnBeforeDelay = TNotifyEvent::Bind<&TEvents::Delay>(this);
    S->OnBeforeClose = TNotifyEvent::Bind<&TEvents::Close>(this);
    S->OnAfterClose = TNotifyEvent::Bind<&TEvents::AfterClose>(this);
  }
  void Create(TObject*) { Log.push_back("Create"); }
  void BeforeShow(TObject*) { Log.push_back("BeforeShow"); }
  void Show(TObject*) { Log.push_back("Show"); }
  void Delay(TObject*) {
    Log.push_back("BeforeDelay");
    BeforeDelay = std::chrono::steady_clock::now();
    for (auto [X, Y] : Points) During.push_back(ScreenPixel(X, Y));
    if (!Shot.empty()) {
      const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
      TBitmap B;
      B.SetPixelFormat(pf24bit);
      B.SetSize(W, H);
      HDC DC = GetDC(nullptr);
      BitBlt(B.Canvas()->Handle(), 0, 0, W, H, DC, 0, 0, SRCCOPY);
      ReleaseDC(nullptr, DC);
      B.SaveToFile(Shot.c_str());
    }
  }
  void Close(TObject*) {
    Log.push_back("BeforeClose");
    BeforeClose = std::chrono::steady_clock::now();
  }
  void AfterClose(TObject*) { Log.push_back("AfterClose"); }
};

TEST(Splash, PublishedDefaultsMatchAFreshComponent) {
  TFormPtr Form(TCustomForm::CreateNew<TForm>(nullptr));
  TqSplashForm* S = TComponent::Create<TqSplashForm>(Form.get());
  ExpectDefaultsMatch(S);
}

TEST(Splash, WithoutAFormThereIsNothingToHook) {
  EXPECT_THROW(TComponent::Create<TqSplashForm>(nullptr), EComponentError);
}

TEST(Splash, PlaceAndSizeOnTheScreen) {
  const int SW = GetSystemMetrics(SM_CXSCREEN), SH = GetSystemMetrics(SM_CYSCREEN);
  const struct {
    const char* Name;
    int W, H;
    qSplashStyleType Shape;
    bool Adjust;
    int Width, Height, OX, OY;
  } Cases[] = {
      {"100 by 60", 100, 60, ssQRectangle, true, 128, 88, 14, 14},
      {"circle", 100, 60, ssCircle, true, 128, 128, 14, 34},
      {"ellipse", 100, 60, ssQEllipse, true, 128, 88, 14, 14},
      {"not adjusted for the frame", 100, 60, ssQRectangle, false, 104, 64, 2, 2},
      {"as large as the screen", SW, SH, ssQRectangle, true, SW, SH, 0, 0},
      {"wider than the screen", SW + 50, 60, ssQRectangle, true, SW, 88, 0, 14},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TFormPtr Form(TCustomForm::CreateNew<TForm>(nullptr));
    TqSplashForm* S = TComponent::Create<TqSplashForm>(Form.get());
    S->SetShape(C.Shape);
    S->SetAdjustforFrame(C.Adjust);
    auto B = Picture(C.W, C.H);
    S->SetBitMap(B.get());
    S->MakeSplash();
    const TRect R = S->SplashRect();
    EXPECT_EQ(R.Width(), C.Width);
    EXPECT_EQ(R.Height(), C.Height);
    EXPECT_EQ(R.Left, (SW - C.Width) / 2);
    EXPECT_EQ(R.Top, (SH - C.Height) / 2);
    EXPECT_EQ(S->PictureOffset().X, C.OX);
    EXPECT_EQ(S->PictureOffset().Y, C.OY);
    S->DoRemove();
  }
}

TEST(Splash, PixelsOfARectangleSplash) {
  TSplashScene Scene;
  auto B = Picture(100, 60);
  Scene.Load(B.get());
  const TRect R = Scene.Splash->SplashRect();
  const int X = R.Left, Y = R.Top, Mid = (R.Top + R.Bottom) / 2;
  const TPoint P = Scene.Splash->PictureOffset();
  const struct {
    const char* What;
    int X, Y;
    TColor Want;
  } Points[] = {
      {"left of the splash", X - 1, Mid, Beneath},
      {"fill at the left edge", X, Mid, Fill},
      {"highlight", X + 1, Mid, Highlight},
      {"shadow", R.Right - 2, Mid, Shadow},
      {"black edge", R.Right - 1, Mid, clBlack},
      {"frame ring", X + 9, Mid, Frame},
      {"fill inside the ring", X + 13, Mid, Fill},
      {"picture", X + P.X + 10, Y + P.Y + 10, PictureColour},
      {"picture's red dot", X + P.X + 50, Y + P.Y + 30, clRed},
      {"white shows the fill", X + P.X + 52, Y + P.Y + 30, Fill},
      {"below the splash", X + 20, R.Bottom, Beneath},
  };
  for (const auto& Pt : Points) EXPECT_EQ(ScreenPixel(Pt.X, Pt.Y), Pt.Want) << Pt.What;

  // A system colour as the transparent colour copies the picture as it is.
  Scene.Splash->SetTransparentColor(clBtnFace);
  Scene.Splash->DoSplash();
  EXPECT_EQ(ScreenPixel(X + P.X + 52, Y + P.Y + 30), clWhite);
  Scene.Splash->DoRemove();
}

TEST(Splash, PixelsOfRoundSplashes) {
  for (bool Filled : {true, false}) {
    SCOPED_TRACE(Filled ? "filled" : "not filled");
    TSplashScene Scene;
    Scene.Splash->SetShape(ssQEllipse);
    Scene.Splash->SetFill(Filled);
    Scene.Splash->SetRealTransparent(!Filled);
    auto B = Picture(100, 60);
    Scene.Load(B.get());
    const TRect R = Scene.Splash->SplashRect();
    const TPoint P = Scene.Splash->PictureOffset();
    const int Mid = (R.Top + R.Bottom) / 2;
    // The corners of its box are outside the ellipse.
    EXPECT_EQ(ScreenPixel(R.Left + 1, R.Top + 1), Beneath);
    EXPECT_EQ(ScreenPixel(R.Right - 2, R.Bottom - 2), Beneath);
    // Inside the ring, left of the picture: the fill, or the window beneath.
    EXPECT_EQ(ScreenPixel(R.Left + 13, Mid), Filled ? Fill : Beneath);
    EXPECT_EQ(ScreenPixel(R.Left + 9, Mid), Frame);
    // Real transparency shows what is beneath through the transparent (white) pixel.
    EXPECT_EQ(ScreenPixel(R.Left + P.X + 52, R.Top + P.Y + 30), Filled ? Fill : Beneath);
    EXPECT_EQ(ScreenPixel(R.Left + P.X + 50, R.Top + P.Y + 30), clRed);
    Scene.Splash->DoRemove();
  }
}

TEST(Splash, LifeAroundTheFormsFirstPaint) {
  for (bool MoveUp : {true, false}) {
    SCOPED_TRACE(MoveUp ? "moved up" : "left under");
    TSplashScene Scene;
    TEvents E;
    E.Attach(Scene.Splash);
    Scene.Splash->SetShape(ssQEllipse);
    Scene.Splash->SetMoveSplashUp(MoveUp);
    Scene.Splash->SetMainFormDelay(300);
    auto B = Picture(100, 60);
    Scene.Load(B.get());
    EXPECT_EQ(E.Log, (std::vector<std::string>{"Create", "BeforeShow", "Show"}));
    const TRect R = Scene.Splash->SplashRect();
    const TPoint P = Scene.Splash->PictureOffset();
    const int PX = R.Left + P.X + 10, PY = R.Top + P.Y + 10;
    E.Points = {{PX, PY}};
    if (MoveUp) E.Shot = std::string(ORVALEN_SHOTS) + "/splash.bmp";

    Scene.Form->Show();
    vcltest::PumpRounds(5);
    EXPECT_EQ(E.Log, (std::vector<std::string>{"Create", "BeforeShow", "Show", "BeforeDelay", "BeforeClose",
                                               "AfterClose"}));
    EXPECT_GE(E.BeforeClose - E.BeforeDelay, std::chrono::milliseconds(290));
    ASSERT_EQ(E.During.size(), 1u);
    // During the delay the splash is over the form, or under it.
    EXPECT_EQ(E.During[0], MoveUp ? PictureColour : clNavy);
    // Afterwards the screen shows the form again, and a later paint starts nothing.
    EXPECT_TRUE(Scene.Splash->Removed());
    vcltest::PumpRounds(5);
    EXPECT_EQ(ScreenPixel(PX, PY), clNavy);
    InvalidateRect(Scene.Form->Handle(), nullptr, TRUE);
    vcltest::PumpRounds(3);
    EXPECT_EQ(E.Log.size(), 6u);
  }
}

TEST(Splash, FreedBeforeTheFirstPaintGivesTheScreenBack) {
  TSplashScene Scene;
  auto B = Picture(100, 60);
  Scene.Load(B.get());
  const TRect R = Scene.Splash->SplashRect();
  const int Mid = (R.Top + R.Bottom) / 2;
  ASSERT_EQ(ScreenPixel(R.Left + 12, Mid), Fill);
  Scene.Form.reset();
  vcltest::PumpRounds(5);
  EXPECT_EQ(ScreenPixel(R.Left + 12, Mid), Beneath);
}

TEST(Splash, SharesItsFormWithABlendedBackground) {
  for (bool SplashFirst : {true, false}) {
    SCOPED_TRACE(SplashFirst ? "splash freed first" : "background freed first");
    TSplashScene Scene;
    auto* Back = TComponent::Create<TqBackground>(Scene.Form.get());
    Back->SetBackType(btBlend);
    Back->SetColor(clYellow);
    Back->SetEndColor(clYellow);
    Back->Loaded();
    TEvents E;
    E.Attach(Scene.Splash);
    auto B = Picture(40, 30);
    Scene.Load(B.get());
    Scene.Form->Show();
    vcltest::PumpRounds(5);
    EXPECT_EQ(E.Log.back(), "AfterClose");
    EXPECT_EQ(vcltest::PixelAt(Scene.Form->Handle(), 5, 5), clYellow);
    if (SplashFirst) {
      TObject::Free(Scene.Splash);
      TObject::Free(Back);
    } else {
      TObject::Free(Back);
      TObject::Free(Scene.Splash);
    }
    InvalidateRect(Scene.Form->Handle(), nullptr, TRUE);
    vcltest::PumpRounds(3);
    EXPECT_EQ(vcltest::PixelAt(Scene.Form->Handle(), 5, 5), clNavy);
  }
}

}  // namespace
