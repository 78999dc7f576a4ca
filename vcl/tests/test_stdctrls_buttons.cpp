// Bitmap buttons and image controls, painted on real windows and checked pixel by pixel.
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "vcl/tests/vcltest.h"
#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

using vcltest::CaptureClient;
using vcltest::PumpMessages;
using vcltest::TTestHost;

std::string Hex(TColor C) {
  char B[16];
  std::snprintf(B, sizeof B, "$%06X", unsigned(C) & 0xFFFFFF);
  return B;
}

TColor Rgb(TColor C) { return ColorToRGB(C) & 0xFFFFFF; }

// A window capture read in the host's client coordinates.
struct TShot {
  std::unique_ptr<TBitmap> Bmp;
  explicit TShot(HWND Wnd) : Bmp(CaptureClient(Wnd)) {}
  TColor At(int X, int Y) const { return Bmp->Canvas()->Pixels(X, Y) & 0xFFFFFF; }
  TColor At(TPoint P) const { return At(P.X, P.Y); }
  int Count(const TRect& R, TColor C) const {
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) N += At(X, Y) == C;
    return N;
  }
};

// The test glyph pair, 36 by 18: the up image is olive (its transparent colour) with a red
// 8x8 square at (5,5) and a white 2x2 block at (14,1); the disabled image is fuchsia (its own
// transparent colour) with a lime square at the same place.
constexpr TRect Square = Rect(5, 5, 13, 13);
constexpr TRect WhiteBlock = Rect(14, 1, 16, 3);

std::unique_ptr<TBitmap> GlyphPair() {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(36, 18);
  TCanvas* C = B->Canvas();
  auto Fill = [&](TRect R, TColor Color) {
    C->Brush()->SetColor(Color);
    C->FillRect(R);
  };
  Fill(Rect(0, 0, 18, 18), clOlive);
  Fill(Square, clRed);
  Fill(WhiteBlock, clWhite);
  Fill(Rect(18, 0, 36, 18), clFuchsia);
  Fill(Rect(18 + Square.Left, Square.Top, 18 + Square.Right, Square.Bottom), clLime);
  return B;
}

// A bitmap button on a host window, left at (BtnX, BtnY), 100 by 40.
constexpr int BtnX = 10, BtnY = 10, BtnW = 100, BtnH = 40;

TBitBtn* AddButton(TTestHost& Host, bool WithGlyph, const char* Caption = "") {
  auto* B = TComponent::Create<TBitBtn>(Host.Control());
  B->SetBounds(BtnX, BtnY, BtnW, BtnH);
  B->SetCaption(Caption);
  if (WithGlyph) B->SetGlyph(GlyphPair().get());
  B->SetParent(Host.Control());
  B->HandleNeeded();
  PumpMessages();
  return B;
}

// ---------------------------------------------------------------------------------------------
TEST(ButtonLayout, PlacesGlyphAndCaption) {
  // 96x36 content at (2,2), 18x18 glyph, 20x13 caption.
  const TRect Client = Rect(2, 2, 98, 38);
  struct Case {
    const char* Name;
    TButtonLayout Layout;
    int Margin, Spacing;
    TSize Glyph, Text;
    TPoint GlyphAt, TextAt;
  } Cases[] = {
      {"left", blGlyphLeft, 5, 4, {18, 18}, {20, 13}, {7, 11}, {29, 14}},
      {"right", blGlyphRight, 5, 4, {18, 18}, {20, 13}, {75, 11}, {51, 14}},
      {"top", blGlyphTop, 3, 2, {18, 18}, {20, 13}, {41, 5}, {40, 25}},
      {"bottom", blGlyphBottom, 3, 2, {18, 18}, {20, 13}, {41, 17}, {40, 2}},
      {"centred pair", blGlyphLeft, -1, 4, {18, 18}, {20, 13}, {29, 11}, {51, 14}},
      {"spread evenly", blGlyphLeft, -1, -1, {18, 18}, {20, 13}, {21, 11}, {58, 14}},
      {"spacing fills", blGlyphLeft, 5, -1, {18, 18}, {20, 13}, {7, 11}, {51, 14}},
      {"glyph only", blGlyphLeft, -1, 4, {18, 18}, {0, 0}, {41, 11}, {}},
      {"caption only", blGlyphLeft, -1, 4, {0, 0}, {20, 13}, {}, {40, 14}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TButtonContentLayout L = CalcButtonLayout(Client, C.Glyph, C.Text, C.Layout, C.Margin, C.Spacing);
    EXPECT_EQ(L.Glyph, C.Glyph.cx ? Bounds(C.GlyphAt.X, C.GlyphAt.Y, C.Glyph.cx, C.Glyph.cy) : TRect());
    EXPECT_EQ(L.Text, C.Text.cx ? Bounds(C.TextAt.X, C.TextAt.Y, C.Text.cx, C.Text.cy) : TRect());
  }
}

TEST(GlyphImages, CutsStatesWithPerImageTransparency) {
  auto G = GlyphPair();
  TGlyphImages I;
  I.Build(G.get(), 2);
  ASSERT_EQ(I.Width(), 18);
  ASSERT_EQ(I.Height(), 18);
  TColor C = 0;
  EXPECT_FALSE(I.Pixel(bsUp, 0, 17, C));                       // olive: transparent
  ASSERT_TRUE(I.Pixel(bsUp, 5, 5, C));
  EXPECT_EQ(Hex(C), Hex(clRed));
  EXPECT_FALSE(I.Pixel(bsDisabled, 0, 0, C));                  // fuchsia: transparent there
  ASSERT_TRUE(I.Pixel(bsDisabled, 12, 12, C));
  EXPECT_EQ(Hex(C), Hex(clLime));
  ASSERT_TRUE(I.Pixel(bsDown, 5, 5, C));                        // no down image: the up one
  EXPECT_EQ(Hex(C), Hex(clRed));
  EXPECT_FALSE(I.Pixel(bsUp, 18, 0, C));                        // outside the image

  // One image: the disabled one is embossed from the up image's dark pixels.
  I.Build(G.get(), 1);
  ASSERT_EQ(I.Width(), 36);
  ASSERT_TRUE(I.Pixel(bsDisabled, 5, 5, C));
  EXPECT_EQ(Hex(C), Hex(Rgb(clBtnShadow)));
  ASSERT_TRUE(I.Pixel(bsDisabled, 13, 13, C));                  // below-right of the square
  EXPECT_EQ(Hex(C), Hex(Rgb(clBtnHighlight)));
  EXPECT_FALSE(I.Pixel(bsDisabled, 14, 1, C));                  // white is not drawn
  EXPECT_FALSE(I.Pixel(bsDisabled, 2, 2, C));
  // Fuchsia is not the key of a one-image glyph: it is drawn.
  ASSERT_TRUE(I.Pixel(bsUp, 20, 2, C));
  EXPECT_EQ(Hex(C), Hex(clFuchsia));

  // A fixed transparent colour of the bitmap applies to every image.
  G->SetTransparentColor(clRed);
  I.Build(G.get(), 2);
  EXPECT_FALSE(I.Pixel(bsUp, 5, 5, C));
  EXPECT_TRUE(I.Pixel(bsUp, 0, 17, C));
}

TEST(BitBtn, GlyphAssignSetsNumGlyphs) {
  auto* B = TComponent::Create<TBitBtn>(nullptr);
  struct Case { int W, H, Expected; } Cases[] = {
      {36, 18, 2}, {72, 18, 4}, {18, 18, 1}, {90, 18, 1}, {30, 18, 1}, {54, 18, 3},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.W) + "x" + std::to_string(C.H));
    B->SetNumGlyphs(1);
    TBitmap Src;
    Src.SetSize(C.W, C.H);
    B->SetGlyph(&Src);
    EXPECT_EQ(B->NumGlyphs(), C.Expected);
    EXPECT_EQ(B->Glyph()->Width(), C.W);
  }
  B->SetNumGlyphs(9);
  EXPECT_EQ(B->NumGlyphs(), 4);
  B->SetNumGlyphs(0);
  EXPECT_EQ(B->NumGlyphs(), 1);
  TObject::Free(B);
}

TEST(BitBtn, KindGivesCaptionResultAndFlags) {
  struct Case {
    TBitBtnKind Kind;
    const char* Caption;
    TModalResult Result;
    bool Default, Cancel;
  } Cases[] = {
      {bkOK, "OK", mrOk, true, false},       {bkCancel, "Cancel", mrCancel, false, true},
      {bkYes, "&Yes", mrYes, true, false},   {bkNo, "&No", mrNo, false, true},
      {bkAbort, "Abort", mrAbort, false, false}, {bkRetry, "&Retry", mrRetry, false, false},
      {bkIgnore, "&Ignore", mrIgnore, false, false}, {bkAll, "&All", mrAll, false, false},
      {bkClose, "&Close", mrNone, false, false}, {bkHelp, "&Help", mrNone, false, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(TBitBtnKindType.ValueToName(C.Kind));
    auto* B = TComponent::Create<TBitBtn>(nullptr);
    B->SetKind(C.Kind);
    EXPECT_EQ(B->Kind(), C.Kind);
    EXPECT_EQ(B->Caption().str(), C.Caption);
    EXPECT_EQ(B->ModalResult(), C.Result);
    EXPECT_EQ(B->Default(), C.Default);
    EXPECT_EQ(B->Cancel(), C.Cancel);
    // Changing what the kind decides makes the button a custom one.
    B->SetModalResult(mrRetry + 100);
    EXPECT_EQ(B->Kind(), bkCustom);
    TObject::Free(B);
  }
  auto* B = TComponent::Create<TBitBtn>(nullptr);
  B->SetKind(bkOK);
  B->SetGlyph(GlyphPair().get());
  EXPECT_EQ(B->Kind(), bkCustom);
  TObject::Free(B);
}

TEST(BitBtn, PublishedDefaultsAndRegistration) {
  ExpectClassDefaultsMatch(TBitBtn::StaticClass());
  ExpectClassDefaultsMatch(TImage::StaticClass());
  EXPECT_EQ(GetClass("TBitBtn"), TBitBtn::StaticClass());
  EXPECT_EQ(GetClass("TImage"), TImage::StaticClass());
}

// Through the binary form and its text: a standard kind stores only Kind; a custom button
// stores its glyph, which comes back pixel for pixel.
TEST(BitBtn, StreamsKindAndGlyph) {
  auto Text = [](TComponent* C) {
    TMemoryStream Bin, Txt;
    WriteComponentRes(&Bin, C);
    Bin.SetPosition(0);
    ObjectBinaryToText(&Bin, &Txt);
    return std::string(static_cast<const char*>(Txt.Memory()), size_t(Txt.Size()));
  };
  auto* Ok = TComponent::Create<TBitBtn>(nullptr);
  Ok->SetName("Ok");
  Ok->SetKind(bkOK);
  std::string T = Text(Ok);
  EXPECT_NE(T.find("Kind = bkOK"), std::string::npos) << T;
  for (const char* Absent : {"Caption", "ModalResult", "Default", "Glyph"})
    EXPECT_EQ(T.find(Absent), std::string::npos) << Absent << " in\n" << T;
  TObject::Free(Ok);

  auto* B = TComponent::Create<TBitBtn>(nullptr);
  B->SetName("Custom");
  B->SetGlyph(GlyphPair().get());
  B->SetLayout(blGlyphTop);
  B->SetDefault(true);
  B->SetModalResult(mrOk);
  B->SetCaption("OK");
  T = Text(B);
  for (const char* Present : {"Glyph.Data", "NumGlyphs = 2", "Layout = blGlyphTop", "ModalResult = 1", "Default = True"})
    EXPECT_NE(T.find(Present), std::string::npos) << Present << " missing in\n" << T;

  TMemoryStream Bin;
  WriteComponentRes(&Bin, B);
  Bin.SetPosition(0);
  auto* R = TComponent::Create<TBitBtn>(nullptr);
  ReadComponentRes(&Bin, R);
  EXPECT_EQ(R->NumGlyphs(), 2);
  EXPECT_EQ(R->Layout(), blGlyphTop);
  EXPECT_EQ(R->Kind(), bkCustom);
  EXPECT_TRUE(R->Default());
  ASSERT_EQ(R->Glyph()->Width(), 36);
  ASSERT_EQ(R->Glyph()->Height(), 18);
  for (TPoint P : {Point(0, 17), Point(5, 5), Point(14, 1), Point(30, 10)})
    EXPECT_EQ(Hex(R->Glyph()->Canvas()->Pixels(P.X, P.Y)), Hex(B->Glyph()->Canvas()->Pixels(P.X, P.Y)));
  TObject::Free(R);
  TObject::Free(B);
}

// ---------------------------------------------------------------------------------------------
// Painted buttons.

TEST(BitBtnPaint, GlyphPlacedPerLayoutWithTransparencySkipped) {
  TTestHost Host;
  TBitBtn* B = AddButton(Host, true);
  B->SetMargin(4);
  // Content is the client less 2 pixels on each side: 96x36 at (2,2).
  struct Case { TButtonLayout Layout; TPoint Origin; } Cases[] = {
      {blGlyphLeft, {6, 11}}, {blGlyphRight, {76, 11}}, {blGlyphTop, {41, 6}}, {blGlyphBottom, {41, 16}},
  };
  const TColor Face = Rgb(clBtnFace);
  for (const Case& C : Cases) {
    SCOPED_TRACE(TButtonLayoutType.ValueToName(C.Layout));
    B->SetLayout(C.Layout);
    TShot S(Host.Window());
    TPoint O = Point(BtnX + C.Origin.X, BtnY + C.Origin.Y);
    EXPECT_EQ(Hex(S.At(O + Point(5, 5))), Hex(clRed));
    EXPECT_EQ(Hex(S.At(O + Point(12, 12))), Hex(clRed));
    EXPECT_EQ(S.Count(Bounds(O.X, O.Y, 18, 18), clRed), 64);
    EXPECT_EQ(Hex(S.At(O + Point(14, 1))), Hex(clWhite));
    EXPECT_EQ(Hex(S.At(O + Point(4, 4))), Hex(Face));            // transparent pixels show the face
    EXPECT_EQ(Hex(S.At(O + Point(0, 17))), Hex(Face));
    const TRect Button = Bounds(BtnX, BtnY, BtnW, BtnH);
    EXPECT_EQ(S.Count(Button, clOlive), 0);
    EXPECT_EQ(S.Count(Button, clRed), 64);                        // the glyph once, nothing else
    EXPECT_EQ(S.Count(Button, clLime), 0);                        // not the disabled image
  }
}

TEST(BitBtnPaint, DisabledUsesSecondImageOrEmbossedFirst) {
  TTestHost Host;
  TBitBtn* B = AddButton(Host, true);
  B->SetMargin(4);
  const TPoint O = Point(BtnX + 6, BtnY + 11);
  const TRect Button = Bounds(BtnX, BtnY, BtnW, BtnH);
  B->SetEnabled(false);
  {
    TShot S(Host.Window());
    EXPECT_EQ(S.Count(Button, clLime), 64);
    EXPECT_EQ(S.Count(Button, clRed), 0);
    EXPECT_EQ(S.Count(Button, clFuchsia), 0);
    EXPECT_EQ(Hex(S.At(O + Point(5, 5))), Hex(clLime));
  }
  B->SetNumGlyphs(1);
  B->SetMargin(0);   // the 36-pixel glyph fits
  {
    TShot S(Host.Window());
    const TPoint P = Point(BtnX + 2, BtnY + 11);
    EXPECT_EQ(S.Count(Button, clRed), 0);
    EXPECT_EQ(Hex(S.At(P + Point(5, 5))), Hex(Rgb(clBtnShadow)));
    EXPECT_EQ(Hex(S.At(P + Point(12, 12))), Hex(Rgb(clBtnShadow)));
    EXPECT_EQ(Hex(S.At(P + Point(13, 13))), Hex(Rgb(clBtnHighlight)));
    EXPECT_EQ(Hex(S.At(P + Point(14, 1))), Hex(Rgb(clBtnFace)));   // white is left out
  }
  B->SetEnabled(true);
  {
    TShot S(Host.Window());
    EXPECT_EQ(S.Count(Button, clRed), 64);
  }
}

TEST(BitBtnPaint, PressedOffsetsContentByOnePixel) {
  TTestHost Host;
  TBitBtn* B = AddButton(Host, true);
  B->SetMargin(4);
  const TPoint O = Point(BtnX + 6, BtnY + 11);
  {
    TShot S(Host.Window());
    EXPECT_EQ(Hex(S.At(O + Point(5, 5))), Hex(clRed));
    EXPECT_EQ(Hex(S.At(O + Point(13, 13))), Hex(Rgb(clBtnFace)));
  }
  SendMessageA(B->Handle(), BM_SETSTATE, TRUE, 0);
  PumpMessages();
  {
    TShot S(Host.Window());
    EXPECT_EQ(Hex(S.At(O + Point(5, 5))), Hex(Rgb(clBtnFace)));
    EXPECT_EQ(Hex(S.At(O + Point(6, 6))), Hex(clRed));
    EXPECT_EQ(Hex(S.At(O + Point(13, 13))), Hex(clRed));
    EXPECT_EQ(S.Count(Bounds(BtnX, BtnY, BtnW, BtnH), clRed), 64);
    // Flat pressed frame in the shadow colour.
    EXPECT_EQ(Hex(S.At(BtnX + 50, BtnY)), Hex(Rgb(clBtnShadow)));
  }
  SendMessageA(B->Handle(), BM_SETSTATE, FALSE, 0);
  PumpMessages();
  TShot S(Host.Window());
  EXPECT_EQ(Hex(S.At(O + Point(5, 5))), Hex(clRed));
}

TEST(BitBtnPaint, CaptionDrawnInFontColourOrEmbossedWhenDisabled) {
  TTestHost Host;
  TBitBtn* B = AddButton(Host, true, "Wide");
  B->Font()->SetColor(clNavy);
  B->Font()->SetStyle(FontStyle(fsBold));
  PumpMessages();
  TButtonContentLayout L = B->ContentLayout();
  ASSERT_FALSE(L.Text.IsEmpty());
  ASSERT_FALSE(L.Glyph.IsEmpty());
  EXPECT_EQ(L.Text.Left, L.Glyph.Right + 4);   // default spacing
  TRect Text = L.Text;
  Text.Offset(BtnX, BtnY);
  TRect Content = Bounds(BtnX + 2, BtnY + 2, BtnW - 4, BtnH - 4);
  {
    TShot S(Host.Window());
    int Inside = S.Count(Text, clNavy);
    EXPECT_GT(Inside, 10);
    EXPECT_EQ(S.Count(Content, clNavy), Inside);   // the caption stays in its rectangle
    EXPECT_EQ(S.Count(Content, clRed), 64);
  }
  B->SetEnabled(false);
  {
    TShot S(Host.Window());
    EXPECT_EQ(S.Count(Content, clNavy), 0);
    TRect Embossed = Text;
    Embossed.Right += 1;
    Embossed.Bottom += 1;
    EXPECT_GT(S.Count(Embossed, Rgb(clBtnShadow)), 10);
    EXPECT_GT(S.Count(Embossed, Rgb(clBtnHighlight)), 10);
  }
}

TEST(BitBtnPaint, DefaultFrameAndFocusRectangle) {
  TTestHost Host;
  auto* B = TComponent::Create<TBitBtn>(Host.Control());
  B->SetBounds(BtnX, BtnY, BtnW, BtnH);
  B->SetDefault(true);
  B->SetParent(Host.Control());
  auto* Plain = TComponent::Create<TBitBtn>(Host.Control());
  Plain->SetBounds(BtnX, BtnY + 60, BtnW, BtnH);
  Plain->SetParent(Host.Control());
  Host.Control()->HandleNeeded();
  B->HandleNeeded();
  Plain->HandleNeeded();
  PumpMessages();
  const TColor Frame = Rgb(clWindowFrame);
  // Pixels along the left side of the focus rectangle (4 inside the client).
  auto FocusMarks = [&](TShot& S, int Top) {
    int N = 0;
    for (int Y = Top + 6; Y < Top + BtnH - 6; ++Y) N += S.At(BtnX + 4, Y) != Rgb(clBtnFace);
    return N;
  };
  {
    TShot S(Host.Window());
    for (TPoint P : {Point(0, 0), Point(50, 0), Point(0, 20), Point(99, 39), Point(50, 39)})
      EXPECT_EQ(Hex(S.At(BtnX + P.X, BtnY + P.Y)), Hex(Frame)) << P.X << "," << P.Y;
    // Not the default: the raised frame's light top edge.
    EXPECT_NE(Hex(S.At(BtnX + 50, BtnY + 60)), Hex(Frame));
    EXPECT_EQ(FocusMarks(S, BtnY), 0);
    EXPECT_EQ(FocusMarks(S, BtnY + 60), 0);
  }
  Host.Frame().Activate();
  ::SetFocus(Plain->Handle());
  PumpMessages();
  ASSERT_EQ(GetFocus(), Plain->Handle());
  TShot S(Host.Window());
  EXPECT_GT(FocusMarks(S, BtnY + 60), 5);
  EXPECT_EQ(FocusMarks(S, BtnY), 0);
}

TEST(BitBtnPaint, Win31StyleHasBlackBorder) {
  TTestHost Host;
  TBitBtn* B = AddButton(Host, true);
  B->SetStyle(bsWin31);
  B->SetMargin(4);
  TShot S(Host.Window());
  const TColor Frame = Rgb(clWindowFrame);
  EXPECT_EQ(Hex(S.At(BtnX + 50, BtnY)), Hex(Frame));
  EXPECT_EQ(Hex(S.At(BtnX + 50, BtnY + 1)), Hex(Rgb(clBtnHighlight)));
  EXPECT_EQ(Hex(S.At(BtnX + 50, BtnY + BtnH - 2)), Hex(Rgb(clBtnShadow)));
  // Content starts 3 pixels in: the glyph's square at (3 + 4 + 5, 3 + 8 + 5).
  EXPECT_EQ(Hex(S.At(BtnX + 12, BtnY + 3 + (34 - 18 + 1) / 2 + 5)), Hex(clRed));
}

// Enter presses the default button and Escape the cancel button of a form, whichever control
// has the focus.
TEST(BitBtnForm, DefaultAndCancelAnswerDialogKeys) {
  ASSERT_TRUE(Application);
  auto* F = TCustomForm::CreateNew<TForm>(Application);
  F->SetBounds(200, 200, 320, 200);
  auto* E = TComponent::Create<TEdit>(F);
  E->SetBounds(8, 8, 120, 24);
  E->SetParent(F);
  auto* Ok = TComponent::Create<TBitBtn>(F);
  Ok->SetBounds(8, 100, 75, 25);
  Ok->SetKind(bkOK);
  Ok->SetParent(F);
  auto* Cancel = TComponent::Create<TBitBtn>(F);
  Cancel->SetBounds(100, 100, 75, 25);
  Cancel->SetKind(bkCancel);
  Cancel->SetParent(F);
  F->Show();
  Application->ProcessMessages();
  SetForegroundWindow(F->Handle());
  F->SetActiveControl(E);
  Application->ProcessMessages();
  ASSERT_EQ(GetFocus(), E->Handle());

  auto Press = [&](WPARAM Key) {
    F->SetModalResult(mrNone);
    PostMessageA(E->Handle(), WM_KEYDOWN, Key, 1);
    PostMessageA(E->Handle(), WM_KEYUP, Key, LPARAM(0xC0000001u));
    Application->ProcessMessages();
    return F->ModalResult();
  };
  EXPECT_EQ(Press(VK_RETURN), mrOk);
  EXPECT_EQ(Press(VK_ESCAPE), mrCancel);
  Cancel->SetCancel(false);
  EXPECT_EQ(Press(VK_ESCAPE), mrNone);
  TObject::Free(F);
  Application->ProcessMessages();
}

// ---------------------------------------------------------------------------------------------
// Images.

// A 40x20 red picture with a blue 4x4 block at its top-left corner.
std::unique_ptr<TBitmap> RedPicture(int W = 40, int H = 20) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(clRed);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  B->Canvas()->Brush()->SetColor(clBlue);
  B->Canvas()->FillRect(Rect(0, 0, 4, 4));
  return B;
}

constexpr int ImgX = 20, ImgY = 30, ImgW = 100, ImgH = 80;

TImage* AddImage(TTestHost& Host) {
  auto* I = TComponent::Create<TImage>(Host.Control());
  I->SetBounds(ImgX, ImgY, ImgW, ImgH);
  I->SetParent(Host.Control());
  return I;
}

TEST(Image, DrawsAtCornerCentredOrStretched) {
  TTestHost Host;
  TColor Background;
  {
    TShot S(Host.Window());
    Background = S.At(ImgX + 50, ImgY + 40);
  }
  ASSERT_NE(Background, Rgb(clRed));
  TImage* I = AddImage(Host);
  I->Picture()->SetGraphic(RedPicture().get());
  const TRect Area = Bounds(ImgX, ImgY, ImgW, ImgH);
  struct Case {
    const char* Name;
    bool Center, Stretch;
    TRect Picture;   // where the picture should appear, in control coordinates
  } Cases[] = {
      {"corner", false, false, Rect(0, 0, 40, 20)},
      {"centred", true, false, Rect(30, 30, 70, 50)},
      {"stretched", false, true, Rect(0, 0, 100, 80)},
      {"stretch wins", true, true, Rect(0, 0, 100, 80)},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    I->SetCenter(C.Center);
    I->SetStretch(C.Stretch);
    TRect P = C.Picture;
    P.Offset(ImgX, ImgY);
    EXPECT_EQ(I->DestRect(), C.Picture);
    TShot S(Host.Window());
    EXPECT_EQ(Hex(S.At(P.Left, P.Top)), Hex(clBlue));
    EXPECT_EQ(Hex(S.At(P.Right - 1, P.Bottom - 1)), Hex(clRed));
    const int Blue = 16 * (P.Width() / 40) * (P.Height() / 20);
    EXPECT_EQ(S.Count(Area, clRed) + S.Count(Area, clBlue), P.Width() * P.Height());
    EXPECT_GE(S.Count(Area, clBlue), Blue);
    if (P.Right < Area.Right) {
      EXPECT_EQ(Hex(S.At(P.Right, P.Top)), Hex(Background));
    }
    if (P.Left > Area.Left) {
      EXPECT_EQ(Hex(S.At(P.Left - 1, P.Top)), Hex(Background));
    }
  }
}

TEST(Image, AutoSizeTakesThePictureSize) {
  TTestHost Host;
  TImage* I = AddImage(Host);
  I->Picture()->SetGraphic(RedPicture().get());
  EXPECT_EQ(I->BoundsRect(), Bounds(ImgX, ImgY, ImgW, ImgH));   // not yet
  I->SetAutoSize(true);
  EXPECT_EQ(I->BoundsRect(), Bounds(ImgX, ImgY, 40, 20));
  I->Picture()->SetGraphic(RedPicture(30, 50).get());
  EXPECT_EQ(I->BoundsRect(), Bounds(ImgX, ImgY, 30, 50));
  I->SetBounds(ImgX + 5, ImgY, 200, 200);   // moves, keeps the size
  EXPECT_EQ(I->BoundsRect(), Bounds(ImgX + 5, ImgY, 30, 50));
  I->SetAutoSize(false);
  I->SetBounds(ImgX, ImgY, 60, 60);
  EXPECT_EQ(I->BoundsRect(), Bounds(ImgX, ImgY, 60, 60));
  TShot S(Host.Window());
  EXPECT_EQ(Hex(S.At(ImgX + 29, ImgY + 49)), Hex(clRed));
}

TEST(Image, TransparentSkipsTheBottomLeftColour) {
  TTestHost Host;
  TColor Background;
  {
    TShot S(Host.Window());
    Background = S.At(ImgX + 10, ImgY + 10);
  }
  TImage* I = AddImage(Host);
  auto Pic = RedPicture();
  Pic->Canvas()->Brush()->SetColor(clLime);
  Pic->Canvas()->FillRect(Rect(0, 10, 40, 20));   // bottom half lime: the transparent colour
  I->Picture()->SetGraphic(Pic.get());
  {
    TShot S(Host.Window());
    EXPECT_EQ(Hex(S.At(ImgX + 10, ImgY + 15)), Hex(clLime));
  }
  I->SetTransparent(true);
  EXPECT_TRUE(I->Picture()->Graphic()->Transparent());
  TShot S(Host.Window());
  EXPECT_EQ(Hex(S.At(ImgX + 10, ImgY + 15)), Hex(Background));
  EXPECT_EQ(Hex(S.At(ImgX + 10, ImgY + 5)), Hex(clRed));
  EXPECT_EQ(S.Count(Bounds(ImgX, ImgY, ImgW, ImgH), clLime), 0);
}

TEST(Image, CanvasCreatesABitmapAndRepaints) {
  TTestHost Host;
  TImage* I = AddImage(Host);
  EXPECT_EQ(I->Picture()->Graphic(), nullptr);
  TCanvas* C = I->Canvas();
  auto* Bmp = dynamic_cast<TBitmap*>(I->Picture()->Graphic());
  ASSERT_NE(Bmp, nullptr);
  EXPECT_EQ(Bmp->Width(), ImgW);
  EXPECT_EQ(Bmp->Height(), ImgH);
  EXPECT_EQ(C, Bmp->Canvas());
  EXPECT_EQ(I->Canvas(), C);   // the same bitmap on later calls
  PumpMessages();
  C->Brush()->SetColor(clGreen);
  C->FillRect(Rect(10, 10, 30, 20));
  {
    TShot S(Host.Window());
    EXPECT_EQ(Hex(S.At(ImgX + 10, ImgY + 10)), Hex(clGreen));
    EXPECT_EQ(S.Count(Bounds(ImgX, ImgY, ImgW, ImgH), clGreen), 200);
  }
  // An icon picture has no canvas.
  TIcon Icon;
  Icon.SetHandle(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))));
  I->Picture()->SetGraphic(&Icon);
  try {
    I->Canvas();
    ADD_FAILURE() << "no error for an icon";
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message().str(), "Can only modify an image if it contains a bitmap");
  }
}

// ---------------------------------------------------------------------------------------------
// Speed buttons: graphic controls the host window paints and hands the mouse to.

struct TSpeedFixture : testing::Test {
  TTestHost Host;
  int Clicks = 0;
  struct TCounter : TObject {
    int* N;
    void Click(TObject*) { ++*N; }
  } Counter;
  TSpeedButton* Add(int Left, int Group = 0) {
    auto* B = Host.Add<TSpeedButton>(Left, BtnY, 60, 30);
    B->SetGlyph(GlyphPair().get());
    B->SetGroupIndex(Group);
    B->OnClick = TNotifyEvent::Bind<&TCounter::Click>(&Counter);
    return B;
  }
  void SetUp() override { Counter.N = &Clicks; }
  HWND Wnd() { return Host.Control()->Handle(); }
  void Press(TSpeedButton* B, int DX = 30) { vcltest::SendMouse(Wnd(), WM_LBUTTONDOWN, B->Left() + DX, BtnY + 15, MK_LBUTTON); }
  void Release(TSpeedButton* B, int DX = 30) { vcltest::SendMouse(Wnd(), WM_LBUTTONUP, B->Left() + DX, BtnY + 15, 0); }
  // Where the glyph's red square is, in host coordinates.
  TPoint SquareAt(TSpeedButton* B) {
    const TButtonContentLayout L = B->ContentLayout();
    return Point(B->Left() + L.Glyph.Left + Square.Left, B->Top() + L.Glyph.Top + Square.Top);
  }
};

TEST_F(TSpeedFixture, UpPressedAndDisabledLooks) {
  TSpeedButton* B = Add(BtnX);
  PumpMessages();
  const TPoint Up = SquareAt(B);
  {
    TShot S(Host.Window());
    EXPECT_EQ(Hex(S.At(Up)), Hex(clRed));
    EXPECT_EQ(S.Count(B->BoundsRect(), clRed), 64);
    EXPECT_EQ(S.Count(B->BoundsRect(), clOlive), 0) << "the transparent colour is left out";
    EXPECT_EQ(Hex(S.At(B->Left() + 30, B->Top())), Hex(Rgb(clBtnHighlight))) << "a raised face";
  }
  Press(B);
  EXPECT_EQ(B->State(), bsDown);
  {
    TShot S(Host.Window());
    EXPECT_EQ(Hex(S.At(Up + Point(1, 1))), Hex(clRed));
    EXPECT_EQ(Hex(S.At(Up)), Hex(Rgb(clBtnFace))) << "the content moves by a pixel";
    EXPECT_NE(Hex(S.At(B->Left() + 30, B->Top())), Hex(Rgb(clBtnHighlight)));
  }
  Release(B);
  EXPECT_EQ(B->State(), bsUp);
  EXPECT_EQ(Clicks, 1);
  // Released outside: no click.
  Press(B);
  Release(B, 200);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(B->State(), bsUp);

  B->SetEnabled(false);
  TShot S(Host.Window());
  EXPECT_EQ(S.Count(B->BoundsRect(), clLime), 64) << "the second image";
  EXPECT_EQ(S.Count(B->BoundsRect(), clRed), 0);
  Press(B);
  Release(B);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(B->State(), bsDisabled);
}

TEST_F(TSpeedFixture, AGroupKeepsOneButtonDown) {
  TSpeedButton* A = Add(BtnX, 1);
  TSpeedButton* B = Add(BtnX + 70, 1);
  TSpeedButton* Other = Add(BtnX + 140, 2);
  Other->SetDown(true);
  A->SetDown(true);
  EXPECT_TRUE(A->Down());
  EXPECT_EQ(A->State(), bsExclusive);
  Press(B);
  Release(B);
  EXPECT_TRUE(B->Down());
  EXPECT_FALSE(A->Down()) << "the other of the group went up";
  EXPECT_TRUE(Other->Down()) << "another group";
  EXPECT_EQ(Clicks, 1);
  // Down buttons show the checkered face (button face and highlight).
  {
    TShot S(Host.Window());
    const TColor P = S.At(B->Left() + 5, B->Top() + 4), Q = S.At(B->Left() + 6, B->Top() + 4);
    EXPECT_NE(Hex(P), Hex(Q));
    EXPECT_TRUE((P == Rgb(clBtnFace) && Q == Rgb(clBtnHighlight)) || (P == Rgb(clBtnHighlight) && Q == Rgb(clBtnFace)));
    EXPECT_EQ(Hex(S.At(A->Left() + 5, A->Top() + 4)), Hex(Rgb(clBtnFace)));
  }
  // The last one down stays down, unless AllowAllUp.
  Press(B);
  Release(B);
  EXPECT_TRUE(B->Down());
  EXPECT_EQ(Clicks, 2);
  B->SetAllowAllUp(true);
  EXPECT_TRUE(A->AllowAllUp()) << "the group shares it";
  Press(B);
  Release(B);
  EXPECT_FALSE(B->Down());
  EXPECT_FALSE(A->Down());
  // Without a group no button stays down.
  TSpeedButton* Plain = Add(BtnX + 210);
  Plain->SetDown(true);
  EXPECT_FALSE(Plain->Down());
}

TEST_F(TSpeedFixture, AFlatButtonShowsItsEdgeUnderTheMouse) {
  TSpeedButton* B = Add(BtnX);
  B->SetFlat(true);
  B->SetTransparent(false);
  B->SetColor(clYellow);
  PumpMessages();
  const TPoint Corner = Point(B->Left() + B->Width() - 1, B->Top() + B->Height() - 1);
  vcltest::MoveMouse(Host.Window(), 300, 200);
  EXPECT_FALSE(B->MouseInControl());
  EXPECT_EQ(Hex(TShot(Host.Window()).At(Corner)), Hex(clYellow));
  vcltest::MoveMouse(Host.Window(), B->Left() + 30, B->Top() + 15);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return B->MouseInControl(); }));
  EXPECT_EQ(Hex(TShot(Host.Window()).At(Corner)), Hex(Rgb(clBtnShadow)));
  // Transparent: the host's background around the glyph.
  B->SetTransparent(true);
  vcltest::MoveMouse(Host.Window(), 300, 200);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return !B->MouseInControl(); }));
  TShot S(Host.Window());
  EXPECT_EQ(Hex(S.At(Corner)), Hex(S.At(B->Left() - 2, B->Top() + 15)));
  EXPECT_EQ(S.Count(B->BoundsRect(), clRed), 64);
}

TEST(SpeedButton, PublishedDefaultsAndStreaming) {
  ExpectClassDefaultsMatch(TSpeedButton::StaticClass());
  EXPECT_EQ(GetClass("TSpeedButton"), TSpeedButton::StaticClass());
  auto* B = TComponent::Create<TSpeedButton>(nullptr);
  B->SetName("Speed");
  B->SetGlyph(GlyphPair().get());
  EXPECT_EQ(B->NumGlyphs(), 2) << "a glyph twice as wide as high holds two images";
  B->SetGroupIndex(3);
  B->SetDown(true);
  B->SetFlat(true);
  TMemoryStream Bin;
  WriteComponentRes(&Bin, B);
  Bin.SetPosition(0);
  auto* R = TComponent::Create<TSpeedButton>(nullptr);
  ReadComponentRes(&Bin, R);
  EXPECT_EQ(R->GroupIndex(), 3);
  EXPECT_TRUE(R->Down());
  EXPECT_EQ(R->State(), bsExclusive);
  EXPECT_TRUE(R->Flat());
  EXPECT_EQ(R->NumGlyphs(), 2);
  EXPECT_EQ(Hex(R->Glyph()->Canvas()->Pixels(5, 5)), Hex(clRed));
  TObject::Free(R);
  TObject::Free(B);
}

}  // namespace
