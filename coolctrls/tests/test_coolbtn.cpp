// The owner-drawn cool button in real windows: its faces, edges, default and focus marks, the
// circular face, the animation over an image list, the action's glyph and the caption buttons
// against the system's frame-control painter.
#include "coolctrls/CoolCtrls.h"
#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

using vcltest::TTestHost;

// A parent whose background is a horizontal gradient from black to white.
class TGradientPanel : public TCustomControl {
  ORV_CLASS(TGradientPanel, TCustomControl)
public:
  explicit TGradientPanel(TComponent* AOwner) : TCustomControl(AOwner) {}
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_ERASEBKGND) {
      FillGradientRect(reinterpret_cast<HDC>(Message.WParam), ClientRect(), clBlack, clWhite, 255, true);
      Message.Result = 1;
      return;
    }
    inherited::Dispatch(Message);
  }
};
ORV_IMPLEMENT_CLASS(TGradientPanel, TCustomControl)

TCoolBtn* AddButton(TTestHost& Host, int Left = 20, int Top = 20, int W = 80, int H = 40) {
  auto* B = Host.Add<TCoolBtn>(Left, Top, W, H);
  B->SetCaption("");
  B->SetBtnPaintOptions(0);
  Host.Frame().Activate();
  vcltest::PumpMessages();
  return B;
}

std::unique_ptr<TBitmap> Shot(TWinControl* C) {
  C->Repaint();
  return vcltest::CaptureClient(C->Handle());
}

TColor PixelOf(TBitmap* B, int X, int Y) { return B->Canvas()->Pixels(X, Y); }

int Red(TColor C) { return C & 0xFF; }

// The four edge pixels an edge kind paints on a W x H face of Color, drawn by the system.
std::vector<TColor> EdgePixels(TBitmap* B, int W, int H) {
  return {PixelOf(B, 0, 0), PixelOf(B, 1, 1), PixelOf(B, W - 1, H - 1), PixelOf(B, W - 2, H - 2)};
}

std::vector<TColor> ReferenceEdge(UINT Edge, int W, int H) {
  auto B = vcltest::MakeBitmap(W, H, clBtnFace);
  if (Edge) {
    RECT R{0, 0, W, H};
    DrawEdge(B->Canvas()->Handle(), &R, Edge, BF_RECT | BF_ADJUST);
  }
  return EdgePixels(B.get(), W, H);
}

std::unique_ptr<TImageList> ThreeImages() {
  auto L = std::make_unique<TImageList>(nullptr, 16, 16);
  for (TColor C : {clRed, clLime, clBlue}) {
    auto B = vcltest::MakeBitmap(16, 16, C);
    L->Add(B.get(), nullptr);
  }
  return L;
}

// ----- construction and properties

TEST(CoolBtn, DefaultsAndClampedValues) {
  auto* B = TComponent::Create<TCoolBtn>(nullptr);
  ExpectDefaultsMatch(B);
  EXPECT_TRUE(B->ControlStyle() & StyleOf(csReflector));
  EXPECT_FALSE(B->AnimationTimer()->Enabled());
  B->SetMargin(-2);
  EXPECT_EQ(B->Margin(), -1) << "below -1 is ignored";
  B->SetMargin(3);
  B->SetMargin(-5);
  EXPECT_EQ(B->Margin(), 3);
  B->SetNumGlyphs(5);
  EXPECT_EQ(B->NumGlyphs(), 2);
  B->SetAnimated(true);
  EXPECT_TRUE(B->AnimationTimer()->Enabled());
  B->SetInterval(250);
  EXPECT_EQ(B->AnimationTimer()->Interval(), 250u);
  TObject::Free(B);
}

TEST(CoolBtn, IsAnOwnerDrawnButtonWindow) {
  TTestHost Host;
  auto* B = AddButton(Host);
  EXPECT_EQ(GetWindowLongPtrA(B->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  B->SetDefault(true);
  B->SetOptions(CoolOption(ocFlatBorder));
  EXPECT_EQ(GetWindowLongPtrA(B->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << "after re-creation";
}

// ----- faces

TEST(CoolBtn, FaceFilledByEachOption) {
  TTestHost Host;
  auto* B = AddButton(Host, 20, 20, 80, 40);
  B->SetColor(clYellow);
  auto S = Shot(B);
  EXPECT_EQ(PixelOf(S.get(), 10, 20), clYellow) << "Color";

  auto Wall = vcltest::MakeBitmap(8, 8, clRed);
  Wall->Canvas()->Brush()->SetColor(clBlue);
  Wall->Canvas()->FillRect(Rect(4, 0, 8, 8));
  B->SetWallpaper(Wall.get());
  B->SetOptions(CoolOption(ocPaintWallpaper) | CoolOption(ocTileWallpaper));
  S = Shot(B);
  for (int X : {10, 18, 26, 66}) EXPECT_EQ(PixelOf(S.get(), X, 20), (X % 8) < 4 ? clRed : clBlue) << "tile at " << X;

  B->SetOptions(CoolOption(ocPaintGradiently));
  B->SetColorStart(clBlack);
  B->SetColorEnd(clWhite);
  S = Shot(B);
  const int Left = Red(PixelOf(S.get(), 4, 20)), Mid = Red(PixelOf(S.get(), 40, 20)), Right = Red(PixelOf(S.get(), 75, 20));
  EXPECT_LT(Left, 20);
  EXPECT_NEAR(Mid, 128, 12);
  EXPECT_GT(Right, 235);

  B->SetColorStart(clWhite);
  B->SetColorEnd(clBlack);
  B->SetGradientDirection(gdVertical);
  S = Shot(B);
  EXPECT_GT(Red(PixelOf(S.get(), 40, 4)), Red(PixelOf(S.get(), 40, 35)) + 150) << "top to bottom";
}

// A wallpaper option whose wallpaper has no picture fills the face with Color, also beside the
// gradient option, and whatever was on the face before.
TEST(CoolBtn, AWallpaperOptionWithoutAPictureShowsTheColour) {
  TTestHost Host;
  auto* B = AddButton(Host, 20, 20, 80, 40);
  B->SetColor(clYellow);
  B->SetColorStart(clBlack);
  B->SetColorEnd(clWhite);
  for (TCoolOptions O : {CoolOption(ocPaintWallpaper), CoolOption(ocPaintWallpaper) | CoolOption(ocPaintGradiently),
                         CoolOption(ocPaintWallpaper) | CoolOption(ocPaintGradiently) | CoolOption(ocTileWallpaper)}) {
    SCOPED_TRACE(O);
    B->SetOptions(CoolOption(ocPaintGradiently));
    Shot(B);  // a gradient on the face first
    B->SetOptions(O);
    auto S = Shot(B);
    for (int X : {4, 40, 75}) EXPECT_EQ(PixelOf(S.get(), X, 20), clYellow) << X;
  }
}

TEST(CoolBtn, SeeThroughFaceShowsTheParentsGradient) {
  TTestHost Host(300, 120);
  auto* Panel = Host.Add<TGradientPanel>(0, 0, 256, 100);
  auto* B = TComponent::Create<TCoolBtn>(Panel);
  B->SetBounds(60, 30, 100, 40);
  B->SetCaption("");
  B->SetParent(Panel);
  B->SetOptions(CoolOption(ocPaintTransparently));
  Host.Frame().Activate();
  vcltest::PumpMessages();
  auto S = Shot(B);
  auto P = Shot(Panel);
  for (int X : {10, 50, 90}) EXPECT_EQ(PixelOf(S.get(), X, 20), PixelOf(P.get(), 60 + X, 50)) << X;
  EXPECT_LT(Red(PixelOf(S.get(), 10, 20)), Red(PixelOf(S.get(), 90, 20)));
}

// ----- edges

TEST(CoolBtn, EdgeByPressedHotFlatAndDesigning) {
  struct TCase {
    bool Pressed, Hot, Flat, Designing;
    UINT Edge;
  };
  const UINT Raised = BDR_RAISEDOUTER | BDR_RAISEDINNER;
  const TCase Cases[] = {
      {false, false, false, false, Raised}, {false, true, false, false, Raised},
      {false, false, true, false, 0},       {false, true, true, false, Raised},
      {false, false, true, true, Raised},   {true, false, false, false, BDR_SUNKENINNER},
      {true, false, true, false, BDR_SUNKENINNER},
  };
  for (const TCase& C : Cases) {
    TTestHost Host;
    auto* B = AddButton(Host, 20, 20, 60, 30);
    B->SetOptions(C.Flat ? CoolOption(ocFlatBorder) : 0);
    if (C.Designing) B->SetDesigning(true);
    if (C.Hot) B->Perform(CM_MOUSEENTER, 0, 0);
    if (C.Pressed) SendMessageA(B->Handle(), BM_SETSTATE, TRUE, 0);
    auto S = Shot(B);
    EXPECT_EQ(EdgePixels(S.get(), 60, 30), ReferenceEdge(C.Edge, 60, 30))
        << "pressed " << C.Pressed << " hot " << C.Hot << " flat " << C.Flat << " designing " << C.Designing;
  }
}

TEST(CoolBtn, DefaultFrameAndFocusRectangleFollowThePaintOptions) {
  struct TCase {
    TBtnPaintOptions Options;
    bool Frame, Focus;
  };
  const TBtnPaintOptions Both = BtnPaintOption(bpoDrawFocus) | BtnPaintOption(bpoDrawDefault);
  const TCase Cases[] = {{Both, true, true},
                         {BtnPaintOption(bpoDrawDefault), true, false},
                         {BtnPaintOption(bpoDrawFocus), false, true},
                         {0, false, false}};
  for (const TCase& C : Cases) {
    TTestHost Host;
    auto* B = AddButton(Host, 20, 20, 80, 40);
    B->SetBtnPaintOptions(C.Options);
    B->SetDefault(true);
    // The default look comes from the framework's SetButtonStyle; the focus from the system.
    B->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(B));
    ::SetFocus(B->Handle());
    vcltest::PumpMessages();
    auto S = Shot(B);
    EXPECT_EQ(PixelOf(S.get(), 0, 20) == ColorToRGB(clWindowFrame), C.Frame) << "frame, options " << C.Options;
    // DrawFocusRect dots the line 4 pixels in: some pixel there differs from the face.
    int Dots = 0;
    for (int X = 6; X < 74; ++X)
      if (PixelOf(S.get(), X, 4) != PixelOf(S.get(), X, 8)) ++Dots;
    EXPECT_EQ(Dots > 10, C.Focus) << "focus, options " << C.Options;
    // The default button without the focus keeps its frame.
    ::SetFocus(Host.Control()->Handle());
    vcltest::PumpMessages();
    S = Shot(B);
    EXPECT_EQ(PixelOf(S.get(), 0, 20) == ColorToRGB(clWindowFrame), C.Frame) << "default frame without focus";
    EXPECT_EQ(PixelOf(S.get(), 20, 4), PixelOf(S.get(), 20, 8)) << "no focus rectangle without focus";
  }
}

// The circular border of a filled face: three ellipses with the face's solid brush, then the
// arc, on what the button shows outside them.
TEST(CoolBtn, AFilledRoundFaceDrawsEachEllipseWithTheFaceBrush) {
  for (bool Pressed : {false, true}) {
    SCOPED_TRACE(Pressed ? "pressed" : "at rest");
    TTestHost Host;
    auto* B = AddButton(Host, 20, 20, 60, 48);
    B->SetColor(clYellow);
    B->SetOptions(CoolOption(ocRoundedForm));
    if (Pressed) SendMessageA(B->Handle(), BM_SETSTATE, TRUE, 0);
    auto S = Shot(B);
    auto Expected = vcltest::MakeBitmap(60, 48, clFuchsia);
    Expected->Canvas()->Draw(0, 0, S.get());  // the corners as they are
    TCanvas* C = Expected->Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clYellow);
    C->Pen()->SetColor(clBtnShadow);
    C->Ellipse(0, 0, 59, 47);
    C->Pen()->SetColor(Pressed ? clBtnHighlight : clWindowFrame);
    C->Ellipse(1, 1, 60, 48);
    C->Pen()->SetColor(Pressed ? clWindowFrame : clBtnHighlight);
    C->Ellipse(1, 1, 59, 47);
    C->Pen()->SetColor(clBtnShadow);
    C->Arc(1, 1, 59, 47, 0, 48, 60, 0);
    int Differing = 0;
    for (int Y = 0; Y < 48; ++Y)
      for (int X = 0; X < 60; ++X) Differing += PixelOf(S.get(), X, Y) != PixelOf(Expected.get(), X, Y);
    EXPECT_EQ(Differing, 0);
    if (Pressed) SendMessageA(B->Handle(), BM_SETSTATE, FALSE, 0);
  }
}

TEST(CoolBtn, CircularFaceKeepsTheParentInTheCorners) {
  TTestHost Host(300, 120);
  auto* Panel = Host.Add<TGradientPanel>(0, 0, 256, 100);
  auto* B = TComponent::Create<TCoolBtn>(Panel);
  B->SetBounds(60, 20, 60, 60);
  B->SetCaption("");
  B->SetParent(Panel);
  B->SetColor(clYellow);
  B->SetOptions(CoolOption(ocRoundedForm));
  Host.Frame().Activate();
  vcltest::PumpMessages();
  auto P = Shot(Panel);
  auto S = Shot(B);
  EXPECT_EQ(PixelOf(S.get(), 30, 30), clYellow) << "Color inside the ellipse";
  for (auto [X, Y] : {std::pair{1, 1}, {58, 1}, {1, 58}, {58, 58}})
    EXPECT_EQ(PixelOf(S.get(), X, Y), PixelOf(P.get(), 60 + X, 20 + Y)) << "corner " << X << "," << Y;

  B->SetOptions(CoolOption(ocRoundedForm) | CoolOption(ocPaintGradiently));
  B->SetColorStart(clRed);
  B->SetColorEnd(clRed);
  S = Shot(B);
  EXPECT_EQ(PixelOf(S.get(), 30, 30), clRed) << "gradient inside";
  EXPECT_EQ(PixelOf(S.get(), 2, 2), PixelOf(P.get(), 62, 22)) << "the gradient is clipped to the ellipse";
}

// ----- animation

TEST(CoolBtn, AnimationStepsThroughTheImagesOnDrivenTicks) {
  TTestHost Host;
  auto Images = ThreeImages();
  auto* B = AddButton(Host, 20, 20, 60, 40);
  B->SetImages(Images.get());
  B->SetAnimated(true);
  B->AnimationTimer()->SetEnabled(false);  // the test drives the ticks
  B->Repaint();  // a later paint shows the frame that comes next
  const TColor Expected[] = {clRed, clLime, clBlue, clRed, clLime};
  for (TColor C : Expected) {
    B->UpdateTimer(nullptr);
    EXPECT_EQ(vcltest::PixelAt(B->Handle(), 30, 20), C);
  }
  B->SetImages(nullptr);
  EXPECT_EQ(B->Images(), nullptr);
  B->UpdateTimer(nullptr);  // nothing to step
}

TEST(CoolBtn, AnimationRunsOnTheTimer) {
  TTestHost Host;
  auto Images = ThreeImages();
  auto* B = AddButton(Host, 20, 20, 60, 40);
  B->SetImages(Images.get());
  B->SetInterval(40);
  B->SetAnimated(true);
  std::vector<int> Frames{B->Frame()};
  vcltest::AppPumpUntil([&] {
    if (B->Frame() != Frames.back()) Frames.push_back(B->Frame());
    return Frames.size() >= 5;
  }, 8000);
  ASSERT_GE(Frames.size(), 4u) << "ticks within the time";
  for (size_t I = 1; I < Frames.size(); ++I) EXPECT_EQ(Frames[I], (Frames[I - 1] + 1) % 3) << I;
}

struct TCanvasCatcher : TObject {
  TCanvas* Canvas = nullptr;
  void Draw(TObject*, TCanvas* C, const TRect&) { Canvas = C; }
};
TCanvas* LockedCanvas = nullptr;  // a look built while it is locked fails

// A tick whose frame look cannot be made raises, and leaves the button's canvas unlocked.
TEST(CoolBtn, ATickThatRaisesLeavesTheCanvasUnlocked) {
  TTestHost Host;
  auto Images = ThreeImages();
  auto* B = AddButton(Host, 20, 20, 60, 40);
  TCanvasCatcher Catcher;
  B->OnDrawButton = EVENT(&Catcher, TCanvasCatcher::Draw);
  B->SetImages(Images.get());
  B->SetAnimated(true);
  B->AnimationTimer()->SetEnabled(false);
  B->Repaint();
  ASSERT_NE(Catcher.Canvas, nullptr);
  LockedCanvas = Catcher.Canvas;
  const TGlyphBuildCheck Old = SetGlyphBuildCheck([](int, int) {
    if (LockedCanvas->LockCount() > 0) throw EOutOfResources("Out of system resources");
  });
  EXPECT_THROW(B->UpdateTimer(nullptr), EOutOfResources);
  SetGlyphBuildCheck(Old);
  EXPECT_EQ(Catcher.Canvas->LockCount(), 0);
  bool Locked = false;
  std::thread Worker([&] {
    Locked = Catcher.Canvas->TryLock();
    if (Locked) Catcher.Canvas->Unlock();
  });
  Worker.join();
  EXPECT_TRUE(Locked) << "another thread can lock the canvas";
  B->UpdateTimer(nullptr);  // the next tick draws
  EXPECT_EQ(vcltest::PixelAt(B->Handle(), 30, 20), clRed);
}

TEST(CoolBtn, AnimatedWithoutUsableImagesShowsTheGlyph) {
  TTestHost Host;
  auto* B = AddButton(Host, 20, 20, 60, 40);
  auto G = vcltest::MakeBitmap(16, 16, clYellow);
  G->Canvas()->SetPixels(0, 15, clOlive);  // the glyph's see-through colour
  B->SetGlyph(G.get());
  B->SetAnimated(true);
  B->AnimationTimer()->SetEnabled(false);
  EXPECT_EQ(vcltest::PixelAt(B->Handle(), 30, 20), clYellow) << "no Images";

  TImageList Empty(nullptr, 16, 16);
  B->SetImages(&Empty);
  B->UpdateTimer(nullptr);
  B->Repaint();
  EXPECT_EQ(vcltest::PixelAt(B->Handle(), 30, 20), clYellow) << "an empty list";

  auto Images = ThreeImages();
  B->SetImages(Images.get());
  B->UpdateTimer(nullptr);
  B->UpdateTimer(nullptr);
  ASSERT_EQ(B->Frame(), 2);
  Images->Delete(2);
  Images->Delete(1);
  B->Repaint();
  EXPECT_EQ(vcltest::PixelAt(B->Handle(), 30, 20), clYellow) << "a counter beyond a list that shrank";
  B->UpdateTimer(nullptr);
  EXPECT_EQ(vcltest::PixelAt(B->Handle(), 30, 20), clRed) << "the counter wraps to the list";
  EXPECT_EQ(B->Frame(), 0);
  B->SetImages(nullptr);
}

// ----- glyph from the action, the drawing event

TEST(CoolBtn, ActionImageBecomesTheGlyphOnFuchsia) {
  TTestHost Host;
  TImageList Images(nullptr, 16, 16);
  auto Img = vcltest::MakeBitmap(16, 16, clLime);
  Img->Canvas()->Brush()->SetColor(clBlue);
  Img->Canvas()->FillRect(Rect(8, 0, 16, 16));
  Images.AddMasked(Img.get(), clLime);
  auto* List = TComponent::Create<TActionList>(Host.Control());
  List->SetImages(&Images);
  auto* A = TComponent::Create<TAction>(List);
  A->SetActionList(List);
  A->SetImageIndex(0);

  auto* B = AddButton(Host);
  B->SetAction(A);
  ASSERT_EQ(B->Glyph()->Width(), 16);
  EXPECT_EQ(B->Glyph()->Canvas()->Pixels(2, 2), clFuchsia);
  EXPECT_EQ(B->Glyph()->Canvas()->Pixels(12, 2), clBlue);

  auto* Other = AddButton(Host, 120, 20);
  auto Own = vcltest::MakeBitmap(16, 16, clYellow);
  Other->SetGlyph(Own.get());
  Other->SetAction(A);
  EXPECT_EQ(Other->Glyph()->Canvas()->Pixels(12, 2), clYellow) << "a glyph of its own stays";
  B->SetAction(nullptr);
  Other->SetAction(nullptr);
}

struct TDrawLog : TObject {
  TCanvas* Canvas = nullptr;
  TRect R;
  int Calls = 0;
  void Drew(TObject*, TCanvas* C, const TRect& Client) {
    ++Calls;
    Canvas = C;
    R = Client;
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(0, 0, 5, 5));
  }
};

TEST(CoolBtn, OnDrawButtonGetsTheCanvasAndClientRectangle) {
  TTestHost Host;
  auto* B = AddButton(Host, 20, 20, 70, 30);
  TDrawLog Log;
  B->OnDrawButton = TDrawButtonEvent::Bind<&TDrawLog::Drew>(&Log);
  auto S = Shot(B);
  ASSERT_GE(Log.Calls, 1);
  EXPECT_NE(Log.Canvas, nullptr);
  EXPECT_EQ(Log.R, Rect(0, 0, 70, 30));
  EXPECT_EQ(PixelOf(S.get(), 2, 2), clRed) << "drawn over the face";
  EXPECT_NE(PixelOf(S.get(), 30, 15), clRed);
}

TEST(CoolBtn, PaintToDrawsTheItemIntoTheGivenDC) {
  TTestHost Host;
  auto* B = AddButton(Host, 20, 20, 60, 30);
  B->SetColor(clYellow);
  auto Target = vcltest::MakeBitmap(80, 50, clBlack);
  B->PaintTo(Target->Canvas()->Handle(), 10, 10);
  EXPECT_EQ(Target->Canvas()->Pixels(40, 25), clYellow);
  EXPECT_EQ(Target->Canvas()->Pixels(5, 5), clBlack) << "nothing outside the button";
}

// ----- caption buttons

// Caption is published read-only: listed, readable by name, never written to a form.
TEST(CoolCaptionBtn, PublishesItsCaptionReadOnly) {
  auto* B = TComponent::Create<TCoolCaptionBtn>(nullptr);
  B->SetName("Close1");
  B->SetCaption("Close");
  const TPropInfo* P = GetPropInfo(B, "Caption");
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->SetStr, nullptr) << "read-only";
  EXPECT_EQ(GetPropValueText(B, P), "Close");
  TMemoryStream Bin, Text;
  WriteComponentRes(&Bin, B);
  Bin.SetPosition(0);
  ObjectBinaryToText(&Bin, &Text);
  const std::string Written(static_cast<const char*>(Text.Memory()), size_t(Text.Size()));
  EXPECT_NE(Written.find("object Close1: TCoolCaptionBtn"), std::string::npos) << Written;
  EXPECT_EQ(Written.find("Caption ="), std::string::npos) << Written;
  TObject::Free(B);
}

TEST(CoolCaptionBtn, EachTypeAsTheSystemDrawsItAndPushedWhilePressed) {
  TTestHost Host;
  auto* B = Host.Add<TCoolCaptionBtn>(20, 20, 14, 14);
  EXPECT_EQ(B->Width(), 14);
  Host.Frame().Activate();
  for (TCaptionBtnType T : {cbtClose, cbtHelp, cbtMaximize, cbtMinimize, cbtRestore}) {
    B->SetCaptionBtnType(T);
    for (bool Pressed : {false, true}) {
      SendMessageA(B->Handle(), BM_SETSTATE, Pressed, 0);
      auto S = Shot(B);
      auto Ref = vcltest::MakeBitmap(14, 14, clBtnFace);
      RECT R{0, 0, 14, 14};
      DrawFrameControl(Ref->Canvas()->Handle(), &R, DFC_CAPTION,
                       TCoolCaptionBtn::FrameKind(T) | (Pressed ? DFCS_PUSHED : 0));
      int Differ = 0;
      for (int Y = 0; Y < 14; ++Y)
        for (int X = 0; X < 14; ++X)
          if (PixelOf(S.get(), X, Y) != PixelOf(Ref.get(), X, Y)) ++Differ;
      EXPECT_EQ(Differ, 0) << "type " << T << " pressed " << Pressed;
    }
    SendMessageA(B->Handle(), BM_SETSTATE, FALSE, 0);
  }
  EXPECT_EQ(GetWindowLongPtrA(B->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST(CoolBtn, Screenshot) {
  TTestHost Host(330, 90);
  auto Images = ThreeImages();
  auto* Plain = Host.Add<TCoolBtn>(10, 10, 90, 30);
  Plain->SetCaption("&Convert");
  Plain->SetDefault(true);
  auto* Gradient = Host.Add<TCoolBtn>(10, 50, 90, 30);
  Gradient->SetCaption("Gradient");
  Gradient->SetOptions(CoolOption(ocPaintGradiently));
  Gradient->SetColorStart(TColor(0xFFE0C0));
  Gradient->SetColorEnd(TColor(0x804000));
  Gradient->SetFont(Plain->Font());
  auto* Round = Host.Add<TCoolBtn>(120, 10, 70, 70);
  Round->SetCaption("Round");
  Round->SetColor(TColor(0x80E0FF));
  Round->SetOptions(CoolOption(ocRoundedForm));
  auto* Animated = Host.Add<TCoolBtn>(200, 10, 110, 30);
  Animated->SetCaption("Animated");
  Animated->SetImages(Images.get());
  Animated->SetAnimated(true);
  Animated->AnimationTimer()->SetEnabled(false);
  int X = 200;
  for (TCaptionBtnType T : {cbtClose, cbtHelp, cbtMaximize, cbtMinimize, cbtRestore}) {
    auto* C = Host.Add<TCoolCaptionBtn>(X, 56, 16, 16);
    C->SetCaptionBtnType(T);
    X += 20;
  }
  Host.Frame().Activate();
  vcltest::PumpMessages();
  auto Picture = vcltest::CaptureClient(Host.Window());
  Picture->SaveToFile(AnsiString(ORVALEN_SHOTS) + "/cool-buttons.bmp");
  EXPECT_EQ(PixelOf(Picture.get(), 130, 45), TColor(0x80E0FF));
}

}  // namespace
