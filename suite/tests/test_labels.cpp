// The labels of unit Mystd: 3-D and angled text as pixels, auto-size bounds, mouse enter and
// leave, accelerators, the link's click through the shell, streaming and published defaults.
#include "suite/Mystd.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace suitetest;

namespace {

constexpr TColor Back = 0x00FFFFFF;
constexpr TColor Ink = 0x00800000;
constexpr TColor Light = 0x0000C000;
constexpr TColor Dark = 0x000000C0;

void SetFont(TFont* F, const char* Name, int Height, TColor Color) {
  F->SetName(Name);
  F->SetHeight(Height);
  F->SetColor(Color);
}

// Records the events of the labels under test.
struct TRecorder : TObject {
  std::vector<std::string> Log;
  TqcURLLabel* Link = nullptr;
  AnsiString NextURL;
  bool LastClickAtClick = false;
  void Enter(TObject* Sender) { Log.push_back("enter " + Name(Sender)); }
  void Leave(TObject* Sender) { Log.push_back("leave " + Name(Sender)); }
  void ParentPaint(TObject* Sender) { Log.push_back("parentpaint " + Name(Sender)); }
  void Painted(TObject* Sender) { Log.push_back("paint " + Name(Sender)); }
  // The link's OnClick: notes the state the shell call has not touched yet, then redirects it.
  void LinkClick(TObject* Sender) {
    Log.push_back("click " + Name(Sender));
    if (Link) {
      LastClickAtClick = Link->LastClickOK();
      if (!NextURL.IsEmpty()) Link->SetURL(NextURL);
    }
  }
  static std::string Name(TObject* Sender) { return static_cast<TComponent*>(Sender)->Name().str(); }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Published defaults and streaming.

TEST(LabelDefaults, PublishedDefaultsMatchFreshLabels) {
  for (TClass C : {TqBigLabel::StaticClass(), Tq3DLabel::StaticClass(), TqcURLLabel::StaticClass(),
                   TqAngleLabel::StaticClass(), TqMouseSpot::StaticClass()})
    ExpectClassDefaultsMatch(C);
}

TEST(LabelDefaults, LinkStartsWithItsOwnLook) {
  TqcURLLabel* L = TComponent::Create<TqcURLLabel>(nullptr);
  EXPECT_FALSE(L->URL().IsEmpty());
  EXPECT_EQ(L->Font()->Color(), clGreen);
  EXPECT_EQ(L->Font()->Height(), -16);
  EXPECT_EQ(L->Font()->Name(), "Arial");
  EXPECT_EQ(L->Font()->Style(), FontStyle(fsUnderline));
  EXPECT_EQ(L->Cursor(), crHandPoint);
  EXPECT_FALSE(L->Use3D());
  EXPECT_TRUE(L->LastClickOK());
  EXPECT_FALSE(L->ParentFont());
  TObject::Free(L);
}

TEST(LabelDefaults, AllFiveAreRegisteredForStreaming) {
  for (const char* Name : {"TqBigLabel", "Tq3DLabel", "TqcURLLabel", "TqAngleLabel", "TqMouseSpot"})
    EXPECT_NE(GetClass(Name), nullptr) << Name;
}

TEST(LabelStreaming, FormResourceWithLinkAndAngleLabel) {
  TFormPtr Form(LoadForm(
      "object Form1: TForm\n"
      "  Left = 10\n  Top = 10\n  Width = 300\n  Height = 200\n"
      "  object Link: TqcURLLabel\n"
      "    Left = 7\n    Top = 35\n    Width = 160\n    Height = 13\n"
      "    Caption = 'www.example.org'\n"
      "    URL = 'http://www.example.org/'\n"
      "    LastClickOK = False\n"
      "    Font.Color = clBlue\n    Font.Height = -11\n    Font.Name = 'MS Sans Serif'\n"
      "    Font.Style = [fsUnderline]\n"
      "    ParentFont = False\n"
      "  end\n"
      "  object Turned: TqAngleLabel\n"
      "    Left = 100\n    Top = 60\n    Width = 30\n    Height = 30\n"
      "    Angle = 90\n"
      "    Caption = 'Turned text'\n"
      "    Transparent = False\n"
      "  end\n"
      "end\n"));
  auto* Link = dynamic_cast<TqcURLLabel*>(Form->FindComponent("Link"));
  ASSERT_NE(Link, nullptr);
  EXPECT_EQ(Link->URL(), "http://www.example.org/");
  EXPECT_EQ(Link->Caption(), "www.example.org");
  EXPECT_TRUE(Link->LastClickOK()) << "a stored LastClickOK is not what the label reports";
  EXPECT_EQ(Link->Font()->Color(), clBlue);
  auto* Turned = dynamic_cast<TqAngleLabel*>(Form->FindComponent("Turned"));
  ASSERT_NE(Turned, nullptr);
  EXPECT_EQ(Turned->Angle(), 90);
  EXPECT_FALSE(Turned->Transparent());
  // Loaded makes it square for its caption, whatever the stored size.
  EXPECT_EQ(Turned->Width(), Turned->Height());
  EXPECT_GT(Turned->Width(), 30);
}

// ---------------------------------------------------------------------------------------------
// Tq3DLabel pixels against the plain text.

TEST(Label3D, CopiesOfTheTextAgainstThePlainReference) {
  const TColor Gray = TColor(GetSysColor(COLOR_GRAYTEXT));
  struct TLayer {
    int Dx, Dy;
    TColor Color;
  };
  struct TCase {
    const char* Name;
    bool Use3D, Raised, DropShadow;
    int ShadowSize;
    bool Enabled;
    std::vector<TLayer> Layers;  // painted in order over the background
  };
  const TCase Cases[] = {
      {"raised: highlight up-left, shadow down-right", true, true, false, 2, true,
       {{-1, -1, Light}, {1, 1, Dark}, {0, 0, Ink}}},
      {"sunken: the reverse", true, false, false, 2, true, {{-1, -1, Dark}, {1, 1, Light}, {0, 0, Ink}}},
      {"drop shadow of 2", true, true, true, 2, true, {{2, 2, Dark}, {0, 0, Ink}}},
      {"drop shadow of 4, sunken does not matter", true, false, true, 4, true, {{4, 4, Dark}, {0, 0, Ink}}},
      {"Use3D off, raised", false, true, false, 2, true, {{0, 0, Ink}}},
      {"Use3D off, sunken", false, false, false, 2, true, {{0, 0, Ink}}},
      {"Use3D off, drop shadow", false, true, true, 3, true, {{0, 0, Ink}}},
      {"disabled: the text in grey over the copies", true, true, false, 2, false,
       {{-1, -1, Light}, {1, 1, Dark}, {0, 0, Gray}}},
  };

  auto Setup = [](TqBigLabel* L) {
    L->SetAutoSize(false);
    L->SetBounds(0, 0, 90, 24);
    L->SetColor(Back);
    SetFont(L->Font(), "MS Sans Serif", -11, Ink);
    L->SetCaption("Wg3D label");
  };
  TqBigLabel* Plain = TComponent::Create<TqBigLabel>(nullptr);
  Setup(Plain);
  // The plain label, opaque over another colour: its rectangle is filled, the text is in Ink.
  const TPicture24 Ref = Render(Plain, 0x00C0C0C0);
  TObject::Free(Plain);
  ASSERT_EQ(Ref.Count(0x00C0C0C0), 0) << "an opaque label fills its rectangle";
  ASSERT_GT(Ref.Count(Ink), 20);
  ASSERT_EQ(Ref.Count(Ink) + Ref.Count(Back), Ref.W * Ref.H) << "the reference text has exactly one colour";

  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Tq3DLabel* L = TComponent::Create<Tq3DLabel>(nullptr);
    Setup(L);
    L->SetUse3D(Case.Use3D);
    L->SetRaised(Case.Raised);
    L->SetUseDropShadow(Case.DropShadow);
    L->SetDropShadowSize(Case.ShadowSize);
    L->SetHighlightColor(Light);
    L->SetShadowColor(Dark);
    L->SetEnabled(Case.Enabled);
    const TPicture24 Got = Render(L, 0x00C0C0C0);
    TObject::Free(L);

    int Wrong = 0;
    std::string First;
    for (int Y = 0; Y < Ref.H; ++Y)
      for (int X = 0; X < Ref.W; ++X) {
        TColor Want = Back;
        for (const TLayer& Layer : Case.Layers) {
          int SX = X - Layer.Dx, SY = Y - Layer.Dy;
          if (Ref.Inside(SX, SY) && Ref.At(SX, SY) == Ink) Want = Layer.Color;
        }
        if (Got.At(X, Y) != Want && Wrong++ == 0)
          First = "(" + std::to_string(X) + "," + std::to_string(Y) + ") " + Hex(Got.At(X, Y)) + " not " + Hex(Want);
      }
    EXPECT_EQ(Wrong, 0) << "first wrong pixel " << First;
  }
}

// ---------------------------------------------------------------------------------------------
// TqBigLabel sizing.

TEST(BigLabel, AutoSizeMeasuresLongCaptionsInLinesAndPaintsThemSo) {
  vcltest::TTestHost Host(640, 480);
  struct TCase {
    int Length;
    bool WordWrap;
    bool Lines;  // laid out in more than one line
  };
  const TCase Cases[] = {{255, false, false}, {256, false, true}, {1000, false, true}, {1000, true, true},
                         {40, false, false}};
  int LongHeight = 0;
  for (const TCase& Case : Cases) {
    SCOPED_TRACE("caption of " + std::to_string(Case.Length) + (Case.WordWrap ? " with" : " without") +
                 " WordWrap");
    // Words of four letters and a space; the last word is "Zend".
    std::string S;
    while (int(S.size()) < Case.Length - 4) S += "abcd ";
    S.resize(size_t(Case.Length - 4), 'x');
    S += "Zend";
    // Fitted once, from a width of 200.
    auto* L = TComponent::Create<TqBigLabel>(Host.Control());
    L->SetAutoSize(false);
    L->SetParent(Host.Control());
    SetFont(L->Font(), "MS Sans Serif", -11, Ink);
    L->SetColor(Back);
    L->SetWordWrap(Case.WordWrap);
    L->SetCaption(S.c_str());
    L->SetBounds(0, 0, 200, 17);
    L->SetAutoSize(true);

    TWindowDC DC(nullptr);
    TCanvas M;
    M.SetHandle(DC);
    M.SetFont(L->Font());
    const int LineHeight = M.TextHeight("Zend");
    const int OneLine = M.TextWidth(S.c_str());
    M.SetHandle(nullptr);

    if (Case.Lines) {
      EXPECT_LE(L->Width(), 200);
      EXPECT_GE(L->Height(), LineHeight * (OneLine / 200)) << "sized to the whole text";
      // The painted text reaches the last measured line.
      const TPicture24 P = Render(L);
      const TInk I = InkOf(P, Ink);
      ASSERT_GT(I.Count, 0);
      EXPECT_GE(I.Bottom, L->Height() - LineHeight) << "the last line is painted";
      EXPECT_LE(I.Right, L->Width());
      if (Case.Length == 1000) {
        if (LongHeight) {
          EXPECT_EQ(L->Height(), LongHeight) << "WordWrap makes no difference";
        }
        LongHeight = L->Height();
      }
    } else {
      EXPECT_EQ(L->Width(), OneLine);
      EXPECT_EQ(L->Height(), LineHeight);
    }
    TObject::Free(L);
  }
}

TEST(BigLabel, AutoSizeKeepsTheRightEdgeWhenRightJustified) {
  vcltest::TTestHost Host;
  auto* L = Host.Add<TqBigLabel>(50, 10, 100, 17);
  L->SetAutoSize(false);
  L->SetBounds(50, 10, 100, 17);
  L->SetAlignment(taRightJustify);
  L->SetCaption("W");
  L->SetAutoSize(true);
  const int Right = 50 + 100;
  EXPECT_EQ(L->Left() + L->Width(), Right);
  L->SetCaption("WWWWWW");
  EXPECT_EQ(L->Left() + L->Width(), Right);
  // An empty caption still measures one space.
  L->SetCaption("");
  EXPECT_GT(L->Width(), 0);
  EXPECT_GT(L->Height(), 0);
  L->SetAutoSize(false);
  L->SetCaption("a much longer caption than before");
  EXPECT_EQ(L->Left() + L->Width(), Right) << "without AutoSize the bounds stay";
}

TEST(BigLabel, DisabledTextIsGreyNotEmbossed) {
  auto* L = TComponent::Create<TqBigLabel>(nullptr);
  SetFont(L->Font(), "MS Sans Serif", -11, Ink);
  L->SetColor(Back);
  L->SetCaption("Grey text");
  L->SetEnabled(false);
  const TPicture24 P = Render(L);
  TObject::Free(L);
  const TColor Gray = TColor(GetSysColor(COLOR_GRAYTEXT));
  EXPECT_GT(P.Count(Gray), 10);
  EXPECT_EQ(P.Count(Gray) + P.Count(Back), P.W * P.H);
}

// ---------------------------------------------------------------------------------------------
// Mouse enter and leave.

TEST(LabelMouse, EnterAndLeaveEventsOfBigLabelAndSpot) {
  vcltest::TTestHost Host(320, 200);
  TRecorder Rec;
  auto* L = Host.Add<TqBigLabel>(10, 10, 80, 20);
  L->SetAutoSize(false);
  L->SetName("Big");
  L->SetCaption("Hover me");
  L->SetBounds(10, 10, 80, 20);
  L->OnMouseEnter = EVENT(&Rec, TRecorder::Enter);
  L->OnMouseLeave = EVENT(&Rec, TRecorder::Leave);
  auto* Spot = Host.Add<TqMouseSpot>(150, 10, 20, 20);
  Spot->SetName("Spot");
  Spot->OnMouseEnter = EVENT(&Rec, TRecorder::Enter);
  Spot->OnMouseLeave = EVENT(&Rec, TRecorder::Leave);
  HWND W = Host.Control()->Handle();
  // The real cursor stays away; the moves are delivered to the host window one by one, with
  // nothing else handled in between.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
  vcltest::PumpRounds(5);
  Rec.Log.clear();

  struct TStep {
    int X, Y;
    std::vector<std::string> Events;
  };
  const TStep Steps[] = {
      {250, 150, {}},
      {30, 20, {"enter Big"}},
      {60, 25, {}},
      {160, 20, {"leave Big", "enter Spot"}},
      {165, 25, {}},
      {250, 150, {"leave Spot"}},
      {155, 15, {"enter Spot"}},
      {40, 15, {"leave Spot", "enter Big"}},
  };
  for (const TStep& Step : Steps) {
    SCOPED_TRACE("move to " + std::to_string(Step.X) + "," + std::to_string(Step.Y));
    Rec.Log.clear();
    vcltest::SendMouse(W, WM_MOUSEMOVE, Step.X, Step.Y);
    EXPECT_EQ(Rec.Log, Step.Events);
  }
}

// ---------------------------------------------------------------------------------------------
// TqMouseSpot painting.

TEST(MouseSpot, InvisibleButLetsTheOwnerPaint) {
  TRecorder Rec;
  auto* Spot = TComponent::Create<TqMouseSpot>(nullptr);
  Spot->SetName("Spot");
  Spot->OnParentPaint = EVENT(&Rec, TRecorder::ParentPaint);
  EXPECT_EQ(Spot->Width(), 20);
  EXPECT_EQ(Spot->Height(), 20);
  EXPECT_TRUE(Spot->Transparent());
  EXPECT_EQ(Spot->ControlStyle() & StyleOf(csOpaque), 0u);
  const TColor Fill = 0x00336699;
  const TPicture24 Run = Render(Spot, Fill);
  EXPECT_EQ(Run.Count(Fill), Run.W * Run.H) << "nothing of the spot shows at run time";
  EXPECT_EQ(Rec.Log, std::vector<std::string>{"parentpaint Spot"});

  // At design time a dashed black frame marks it.
  Spot->SetDesigning(true);
  const TPicture24 Design = Render(Spot, Fill);
  int Frame = 0;
  for (int I = 0; I < 20; ++I) Frame += (Design.At(I, 0) == 0) + (Design.At(I, 19) == 0) + (Design.At(0, I) == 0);
  EXPECT_GT(Frame, 15);
  EXPECT_LT(Frame, 60) << "dashed, not solid";
  EXPECT_EQ(Design.At(10, 10), Fill);
  EXPECT_EQ(Rec.Log.size(), 2u);
  TObject::Free(Spot);
}

// ---------------------------------------------------------------------------------------------
// TqAngleLabel.

class AngleLabelTest : public ::testing::Test {
protected:
  TqAngleLabel* Add(const char* Caption, int Angle) {
    auto* L = Host.Add<TqAngleLabel>(10, 10, 30, 30);
    SetFont(L->Font(), "Arial", -20, Ink);
    L->SetCaption(Caption);
    L->SetAngle(Angle);
    return L;
  }
  static int CaptionWidth(TqAngleLabel* L) {
    TWindowDC DC(nullptr);
    TCanvas M;
    M.SetHandle(DC);
    M.SetFont(L->Font());
    int W = M.TextWidth(L->Caption());
    M.SetHandle(nullptr);
    return W;
  }
  vcltest::TTestHost Host{400, 300};
};

TEST_F(AngleLabelTest, SquareOfCaptionWidthPlus16) {
  auto* L = Add("Turned text", 90);
  const int Side = CaptionWidth(L) + 16;
  EXPECT_EQ(L->Width(), Side);
  EXPECT_EQ(L->Height(), Side);
  L->SetCaption("Turned text, longer");
  EXPECT_EQ(L->Width(), CaptionWidth(L) + 16);
  EXPECT_EQ(L->Height(), L->Width());
}

TEST_F(AngleLabelTest, AngleOutsideTheRangeIsRefused) {
  auto* L = Add("x", 0);
  L->SetAngle(359);
  EXPECT_EQ(L->Angle(), 359);
  for (int Bad : {360, -1, 65536}) {
    try {
      L->SetAngle(Bad);
      ADD_FAILURE() << Bad << " accepted";
    } catch (const ERangeError& E) {
      EXPECT_STREQ(E.what(), "Range check error");
    }
  }
  EXPECT_EQ(L->Angle(), 359);
}

TEST_F(AngleLabelTest, AngleBeforeAParentOnlyStoresIt) {
  auto* L = TComponent::Create<TqAngleLabel>(Host.Control());
  L->SetCaption("Not yet placed");
  const int W = L->Width(), H = L->Height();
  EXPECT_NO_THROW(L->SetAngle(45));
  EXPECT_EQ(L->Angle(), 45);
  EXPECT_EQ(L->Width(), W);
  EXPECT_EQ(L->Height(), H);
  L->SetParent(Host.Control());
  SetFont(L->Font(), "Arial", -20, Ink);  // a change once placed squares it
  EXPECT_EQ(L->Width(), CaptionWidth(L) + 16);
  EXPECT_EQ(L->Height(), L->Width());
}

TEST_F(AngleLabelTest, AngleWhileLoadingOnlyStoresIt) {
  auto* L = Host.Add<TqAngleLabel>(10, 10, 30, 30);
  L->SetLoadingState(true);
  L->SetBounds(10, 10, 30, 30);
  L->SetCaption("Read from a stream");
  L->SetAngle(90);
  EXPECT_EQ(L->Angle(), 90);
  EXPECT_EQ(L->Width(), 30);
  EXPECT_EQ(L->Height(), 30);
  L->SetLoadingState(false);
  L->Loaded();
  EXPECT_EQ(L->Width(), CaptionWidth(L) + 16);
  EXPECT_EQ(L->Height(), L->Width());
}

// An underscored caption has its ink on the baseline side: below the centre unturned, and turned
// counter-clockwise with the angle.
TEST_F(AngleLabelTest, TextTurnsCounterClockwiseAboutTheCentre) {
  struct TCase {
    int Angle;
    int SideX, SideY;  // sign of the ink centre's offset from the control centre
  };
  const TCase Cases[] = {{0, 0, 1}, {90, 1, 0}, {180, 0, -1}, {270, -1, 0}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE("angle " + std::to_string(Case.Angle));
    auto* L = Add("______________", Case.Angle);
    const TPicture24 P = Render(L);
    const TInk I = InkOf(P, Ink);
    ASSERT_GT(I.Count, 10);
    const double Cx = L->Width() / 2.0, Cy = L->Height() / 2.0;
    const double Dx = I.CentreX() - Cx, Dy = I.CentreY() - Cy;
    // Along the text the line is centred; across it, it lies on the baseline side.
    if (Case.SideX == 0) {
      EXPECT_NEAR(Dx, 0, 2.5);
      EXPECT_GT(Dy * Case.SideY, 1.5);
      EXPECT_GT(I.Width(), I.Height() * 4);
    } else {
      EXPECT_NEAR(Dy, 0, 2.5);
      EXPECT_GT(Dx * Case.SideX, 1.5);
      EXPECT_GT(I.Height(), I.Width() * 4);
    }
    TObject::Free(L);
  }
}

TEST_F(AngleLabelTest, TurnedTextAgainstTheUnturnedReference) {
  auto* Flat = Add("Orvalen", 0);
  auto* Up = Add("Orvalen", 90);
  const TInk F = InkOf(Render(Flat), Ink), U = InkOf(Render(Up), Ink);
  ASSERT_GT(F.Count, 20);
  ASSERT_EQ(Flat->Width(), Up->Width());
  // The same glyphs a quarter turn round: the box transposed, about the same centre.
  EXPECT_NEAR(U.Width(), F.Height(), 2);
  EXPECT_NEAR(U.Height(), F.Width(), 2);
  EXPECT_NEAR(U.Count, F.Count, F.Count / 8);
  EXPECT_NEAR((U.Left + U.Right) / 2.0, Up->Width() / 2.0, 3);
  EXPECT_NEAR((U.Top + U.Bottom) / 2.0, Up->Height() / 2.0, 3);
}

TEST_F(AngleLabelTest, OpaqueBackgroundTurnsWithTheText) {
  const TColor Box = 0x0040E0E0;
  for (int Angle : {0, 90}) {
    SCOPED_TRACE("angle " + std::to_string(Angle));
    auto* L = Add("Boxed text", Angle);
    L->SetTransparent(false);
    L->SetColor(Box);
    const TPicture24 P = Render(L);
    const TInk B = InkOf(P, Box), I = InkOf(P, Ink);
    ASSERT_GT(B.Count, 0);
    ASSERT_GT(I.Count, 0);
    // The box holds the text with a margin and leaves the square's corners alone.
    EXPECT_LT(B.Left, I.Left);
    EXPECT_GT(B.Right, I.Right);
    EXPECT_LT(B.Top, I.Top);
    EXPECT_GT(B.Bottom, I.Bottom);
    EXPECT_EQ(P.At(0, 0), Back);
    EXPECT_EQ(P.At(P.W - 1, P.H - 1), Back);
    if (Angle == 0) EXPECT_GT(B.Width(), B.Height() * 2);
    else EXPECT_GT(B.Height(), B.Width() * 2);
    TObject::Free(L);
  }
}

TEST_F(AngleLabelTest, ThreeDCopiesAgainstThePlainText) {
  auto* Plain = Add("Shadow", 30);
  const TPicture24 Ref = Render(Plain);
  const TInk RefInk = InkOf(Ref, Ink);
  ASSERT_GT(RefInk.Count, 20);
  struct TCase {
    const char* Name;
    bool Use3D, Drop, Raised;
    int Size;
    int LightDx, DarkDx;  // offset of each copy (0 = no copy of that colour)
  };
  const TCase Cases[] = {
      {"drop shadow of 3", true, true, true, 3, 0, 3},
      {"raised", true, false, true, 2, -1, 1},
      {"sunken", true, false, false, 2, 1, -1},
      {"Use3D off draws the text alone", false, true, true, 3, 0, 0},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    auto* L = Add("Shadow", 30);
    L->SetUse3D(Case.Use3D);
    L->SetUseDropShadow(Case.Drop);
    L->SetRaised(Case.Raised);
    L->SetDropShadowSize(Case.Size);
    L->SetHighlightColor(Light);
    L->SetShadowColor(Dark);
    const TPicture24 P = Render(L);
    // The text itself is where the plain text is, on top of the copies.
    int Missing = 0;
    for (int Y = 0; Y < P.H; ++Y)
      for (int X = 0; X < P.W; ++X)
        if (Ref.At(X, Y) == Ink && P.At(X, Y) != Ink) ++Missing;
    EXPECT_EQ(Missing, 0);
    for (auto [Colour, D] : {std::pair{Light, Case.LightDx}, std::pair{Dark, Case.DarkDx}}) {
      const TInk C = InkOf(P, Colour);
      if (D == 0) {
        EXPECT_EQ(C.Count, 0) << Hex(Colour) << " should not show";
        continue;
      }
      ASSERT_GT(C.Count, 5) << Hex(Colour);
      // Every pixel of the copy is the plain text drawn from an origin moved by (D, D). (Moving
      // the plain picture instead is not the same under Wine's 64-bit GDI, which draws turned
      // text whose origin lies left of x = 8 one pixel off the same text drawn further right.)
      const TPicture24 Moved = Render(Plain, Back, D);
      int Stray = 0;
      for (int Y = 0; Y < P.H; ++Y)
        for (int X = 0; X < P.W; ++X)
          if (P.At(X, Y) == Colour && Moved.At(X, Y) != Ink) ++Stray;
      EXPECT_EQ(Stray, 0) << Hex(Colour) << " copy offset " << D;
    }
    TObject::Free(L);
  }
  TObject::Free(Plain);
}

TEST_F(AngleLabelTest, OnPaintRunsAfterTheText) {
  TRecorder Rec;
  auto* L = Add("Painted", 0);
  L->SetName("Angle");
  L->OnPaint = EVENT(&Rec, TRecorder::Painted);
  Render(L);
  EXPECT_EQ(Rec.Log, std::vector<std::string>{"paint Angle"});
}

// ---------------------------------------------------------------------------------------------
// TqcURLLabel: click, accelerator, shell.

namespace {

using suitetest::ModuleDir;

bool FileExists(const std::string& Path) { return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Waits for a file to appear, pumping messages, for up to about 15 seconds.
bool WaitForFile(const std::string& Path) {
  for (int I = 0; I < 1500; ++I) {
    if (FileExists(Path)) return true;
    vcltest::PumpMessages();
    Sleep(10);
  }
  return FileExists(Path);
}

}  // namespace

class URLLabelTest : public ::testing::Test {
protected:
  void SetUp() override {
    Marker = Exe.substr(0, Exe.size() - 4) + ".marker";
    ASSERT_TRUE(FileExists(Exe)) << Exe;
    DeleteFileA(Marker.c_str());
    Link = Host.Add<TqcURLLabel>(10, 10, 120, 20);
    Link->SetName("Link");
    Link->SetAutoSize(false);
    Link->SetBounds(10, 10, 120, 20);
    Link->SetCaption("&Link to it");
    Link->OnClick = EVENT(&Rec, TRecorder::LinkClick);
    Rec.Link = Link;
    Host.Control()->HandleNeeded();
    vcltest::PumpRounds(2);
  }
  void TearDown() override { DeleteFileA(Marker.c_str()); }
  void ClickLink() { vcltest::Click(Host.Control()->Handle(), 40, 20); }

  const std::string Exe = ModuleDir() + ORVALEN_WRITEMARKER;
  const std::string Missing = ModuleDir() + "no-such-program-here.exe";
  std::string Marker;
  vcltest::TTestHost Host{300, 120};
  TqcURLLabel* Link = nullptr;
  TRecorder Rec;
};

TEST(URLLabel, ShellResultsUpTo32AreFailures) {
  const struct {
    uintptr_t Value;
    bool OK;
  } Cases[] = {{0, false}, {2, false}, {31, false}, {32, false}, {33, true}, {42, true}, {0x400000, true}};
  for (auto C : Cases)
    EXPECT_EQ(ShellExecuteSucceeded(reinterpret_cast<HINSTANCE>(C.Value)), C.OK) << C.Value;
}

TEST_F(URLLabelTest, ClickRunsOnClickFirstThenOpensTheURL) {
  // OnClick points the link at the marker program: only a shell call after it can start it.
  Link->SetURL(Missing.c_str());
  Rec.NextURL = Exe.c_str();
  ClickLink();
  EXPECT_EQ(Rec.Log, std::vector<std::string>{"click Link"});
  EXPECT_TRUE(Rec.LastClickAtClick);
  EXPECT_TRUE(Link->LastClickOK());
  EXPECT_TRUE(WaitForFile(Marker)) << Marker;
}

TEST_F(URLLabelTest, UnopenableURLReportsFailure) {
  Link->SetURL(Missing.c_str());
  ClickLink();
  EXPECT_EQ(Rec.Log, std::vector<std::string>{"click Link"});
  EXPECT_FALSE(Link->LastClickOK());
  // The next good click reports success again.
  Link->SetURL(Exe.c_str());
  ClickLink();
  EXPECT_TRUE(Link->LastClickOK());
  EXPECT_TRUE(WaitForFile(Marker));
}

TEST_F(URLLabelTest, EmptyURLOnlyRunsOnClick) {
  // From either result, an empty URL leaves LastClickOK as it was and opens nothing.
  for (bool Before : {false, true}) {
    SCOPED_TRACE(Before ? "after a good click" : "after a failed click");
    Link->SetURL(Before ? Exe.c_str() : Missing.c_str());
    ClickLink();
    ASSERT_EQ(Link->LastClickOK(), Before);
    if (Before) {
      ASSERT_TRUE(WaitForFile(Marker));
    }
    DeleteFileA(Marker.c_str());
    Rec.Log.clear();
    Link->SetURL("");
    ClickLink();
    EXPECT_EQ(Rec.Log, std::vector<std::string>{"click Link"});
    EXPECT_EQ(Link->LastClickOK(), Before);
    for (int I = 0; I < 100; ++I) {
      vcltest::PumpMessages();
      Sleep(10);
    }
    EXPECT_FALSE(FileExists(Marker));
  }
}

TEST_F(URLLabelTest, AcceleratorActsAsAClick) {
  Link->SetURL("");
  struct TCase {
    unsigned Key;
    bool Enabled;
    bool Clicks;
  };
  const TCase Cases[] = {{'L', true, true}, {'l', true, true}, {'i', true, false}, {'L', false, false}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(std::string("key ") + char(Case.Key) + (Case.Enabled ? " enabled" : " disabled"));
    Rec.Log.clear();
    Link->SetEnabled(Case.Enabled);
    intptr_t Result = Host.Control()->Perform(CM_DIALOGCHAR, Case.Key, 0);
    EXPECT_EQ(Result, Case.Clicks ? 1 : 0);
    EXPECT_EQ(Rec.Log.size(), Case.Clicks ? 1u : 0u);
  }
}

TEST_F(URLLabelTest, AcceleratorOpensTheURLToo) {
  Link->SetURL(Exe.c_str());
  EXPECT_EQ(Host.Control()->Perform(CM_DIALOGCHAR, 'L', 0), 1);
  EXPECT_EQ(Rec.Log, std::vector<std::string>{"click Link"});
  EXPECT_TRUE(WaitForFile(Marker));
}
