// Gradient form: properties and defaults, two-phase construction from form resources, colour
// tables, the three gradient fills, caption text messages and the caption font.
#include "gradform/tests/gradtest.h"
#include "rtl/tests/default_check.h"

#include <array>
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

using namespace gradtest;

namespace {

// ----- properties, defaults and construction

TEST(GradFormProperties, PublishedDefaultsMatchAFreshObject) {
  // The caption font follows the system's caption font from the start.
  ExpectClassDefaultsMatch(TgrdGradientForm::StaticClass(),
                           {"CaptionFont.Name", "CaptionFont.Height", "CaptionFont.Size", "CaptionFont.Charset",
                            "CaptionFont.Style", "CaptionFont.Pitch"});
}

TEST(GradFormProperties, ConstructorState) {
  auto F = NewGradForm(bsSizeable);
  EXPECT_EQ(F->GradientColors(), 64);
  EXPECT_EQ(F->GradientStartColor(), 0);
  EXPECT_EQ(F->GradientStopColor(), clActiveCaption);
  EXPECT_EQ(F->GradientInactiveStopColor(), clInactiveCaption);
  EXPECT_TRUE(F->StopColorIsDefault());
  EXPECT_TRUE(F->InactiveStopColorIsDefault());
  EXPECT_TRUE(F->UseSystemCaptionFont());
  EXPECT_TRUE(F->UseDithering());
  EXPECT_FALSE(F->Paint16Color());
  EXPECT_FALSE(F->IsLoading());
  EXPECT_EQ(F->LogoAlign(), laRight);
  EXPECT_TRUE(F->Logo()->Empty());
  EXPECT_EQ(GetStrProp(F.get(), "Version"), "TgrdGradientForm v2.02");
  SetStrProp(F.get(), "Version", "other");
  EXPECT_EQ(F->Version(), "TgrdGradientForm v2.02");
  EXPECT_FALSE(GetPropInfo(F.get(), "Version")->IsStored(F.get()));
  // Windows after 4.0 (what Wine reports) and a true-colour screen.
  EXPECT_TRUE(F->IsNewWindows());
  EXPECT_FALSE(F->Is16Color());
}

TEST(GradFormProperties, StopColourDefaultsFollowTheSystemColour) {
  auto F = NewGradForm(bsSizeable);
  F->SetGradientStopColor(clRed);
  EXPECT_FALSE(F->StopColorIsDefault());
  EXPECT_TRUE(GetPropInfo(F.get(), "GradientStopColor")->HasDefault);
  EXPECT_NE(GetOrdProp(F.get(), "GradientStopColor"), GetPropInfo(F.get(), "GradientStopColor")->Default);
  F->SetGradientStopColor(clActiveCaption);
  EXPECT_TRUE(F->StopColorIsDefault());
  F->SetGradientInactiveStopColor(clBlue);
  EXPECT_FALSE(F->InactiveStopColorIsDefault());
  // A system colour change puts a default stop colour back to its system colour only.
  F->HandleNeeded();
  SendMessageA(F->Handle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(F->GradientStopColor(), clActiveCaption);
  EXPECT_EQ(F->GradientInactiveStopColor(), clBlue);
}

TEST(GradFormConstruction, DerivedFormReadsItsResourceAfterTheGradientDefaults) {
  TFormPtr<TGradTestForm> F(TComponent::Create<TGradTestForm>(nullptr));
  EXPECT_EQ(F->Caption(), "Gradient caption form");
  EXPECT_EQ(F->GradientColors(), 255);
  EXPECT_EQ(F->GradientStartColor(), 6891367);
  EXPECT_EQ(F->GradientStopColor(), 15703240);
  EXPECT_FALSE(F->StopColorIsDefault());
  EXPECT_EQ(F->GradientInactiveStartColor(), clGray);
  EXPECT_EQ(F->CaptionTextColor(), clYellow);
  EXPECT_FALSE(F->UseDithering());
  EXPECT_EQ(F->BorderStyle(), bsSingle);
  // The stored font applies from the start even though the system font is followed.
  EXPECT_TRUE(F->UseSystemCaptionFont());
  EXPECT_EQ(F->CaptionFont()->Name(), "Tahoma");
  EXPECT_EQ(F->CaptionFont()->Height(), -11);
  EXPECT_EQ(F->CaptionFont()->Style(), FontStyle(fsBold));
  // The colour tables were computed from the streamed colours.
  EXPECT_EQ(F->ColorTable(true, 0), 6891367);
  EXPECT_EQ(F->ColorTable(true, 254), 15703240);
  ASSERT_NE(F->Label1, nullptr);
  EXPECT_EQ(F->Label1->Caption(), "A form derived from the gradient form");
  EXPECT_TRUE(F->LoadingSeen);
  EXPECT_FALSE(F->IsLoading());
}

class TNoResourceForm : public TgrdGradientForm {
  ORV_CLASS(TNoResourceForm, TgrdGradientForm)
public:
  explicit TNoResourceForm(TComponent* AOwner) : TgrdGradientForm(AOwner) {
    OnCreate = TNotifyEvent::Bind<&TNoResourceForm::Created>(this);
  }
  bool LoadingInCreate = true;
  void Created(TObject*) { LoadingInCreate = IsLoading(); }
};
ORV_IMPLEMENT_FORM(TNoResourceForm, TgrdGradientForm, nullptr, nullptr, nullptr)

TEST(GradFormConstruction, NotLoadingOnceTheResourcesAreRead) {
  // Without a resource to read (CreateNew) the form is never loading; with one, OnCreate comes
  // after the reading.
  TFormPtr<TNoResourceForm> New(TCustomForm::CreateNew<TNoResourceForm>(nullptr));
  EXPECT_FALSE(New->LoadingInCreate) << "CreateNew";
  TFormPtr<TGradTestForm> Read(TComponent::Create<TGradTestForm>(nullptr));
  EXPECT_TRUE(Read->LoadingSeen);
  EXPECT_FALSE(Read->LoadingInCreate) << "from the resource";
}

// Records the calls of the two virtuals the construction makes, with the colour count then.
class TRecordingForm : public TGradTestForm {
  ORV_CLASS(TRecordingForm, TGradTestForm)
public:
  explicit TRecordingForm(TComponent* AOwner) : TGradTestForm(AOwner) {}
  std::vector<int> FontCalls, ColourCalls;
  void UpdateCaptionFont() override {
    FontCalls.push_back(GradientColors());
    inherited::UpdateCaptionFont();
  }
  void CalculateColors() override {
    ColourCalls.push_back(GradientColors());
    inherited::CalculateColors();
  }
};
ORV_IMPLEMENT_FORM(TRecordingForm, TGradTestForm, nullptr, nullptr, nullptr)

TEST(GradFormConstruction, DescendantsVirtualsRunBeforeTheResourceIsRead) {
  TFormPtr<TRecordingForm> F(TComponent::Create<TRecordingForm>(nullptr));
  // Both with the constructor's 64 colours, before the resource's 255.
  ASSERT_EQ(F->FontCalls.size(), 1u);
  EXPECT_EQ(F->FontCalls.front(), 64);
  ASSERT_FALSE(F->ColourCalls.empty());
  EXPECT_EQ(F->ColourCalls.front(), 64);
  EXPECT_EQ(F->ColourCalls.back(), 255);
  EXPECT_EQ(F->ColorTable(true, 254), 15703240);
}

class TBrokenFontForm : public TGradFontForm {
  ORV_CLASS(TBrokenFontForm, TGradFontForm)
public:
  explicit TBrokenFontForm(TComponent* AOwner) : TGradFontForm(AOwner) {}
  ~TBrokenFontForm() override { LoadingAtTheEnd = IsLoading(); }
  static inline int LoadingAtTheEnd = -1;
protected:
  void Loaded() override {
    inherited::Loaded();
    throw EReadError("Broken on purpose");
  }
};
ORV_IMPLEMENT_FORM(TBrokenFontForm, TGradFontForm, nullptr, nullptr, nullptr)

TEST(GradFormConstruction, LoadingLastsTheWholeReadAndEndsAlsoOnFailure) {
  TFormPtr<TGradFontForm> F(TComponent::Create<TGradFontForm>(nullptr));
  ASSERT_NE(F->Probe1, nullptr);
  EXPECT_TRUE(F->Probe1->FormLoading) << "a child's Loaded";
  EXPECT_FALSE(F->IsLoading());
  TBrokenFontForm::LoadingAtTheEnd = -1;
  EXPECT_THROW(TComponent::Create<TBrokenFontForm>(nullptr), EReadError);
  EXPECT_EQ(TBrokenFontForm::LoadingAtTheEnd, 0);
}

TEST(GradFormConstruction, StoredFontWithoutTheSystemsTakesTheSystemHeight) {
  NONCLIENTMETRICSA M{};
  M.cbSize = 340;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &M, 0));
  ASSERT_NE(M.lfCaptionFont.lfHeight, -30);
  TFormPtr<TGradFontForm> F(TComponent::Create<TGradFontForm>(nullptr));
  EXPECT_FALSE(F->UseSystemCaptionFont());
  EXPECT_EQ(F->CaptionFont()->Height(), M.lfCaptionFont.lfHeight);
  EXPECT_EQ(F->CaptionFont()->Name(), "Courier New");
}

TEST(GradFormConstruction, DerivedFormWithoutResourceFails) {
  try {
    TNoResourceForm* F = TComponent::Create<TNoResourceForm>(nullptr);
    TObject::Free(F);
    FAIL() << "no exception";
  } catch (const EResNotFound& E) {
    EXPECT_EQ(E.Message(), "Resource TNoResourceForm not found");
  }
  // The gradient form itself reads nothing; CreateNew reads nothing for a derived one either.
  auto Plain = NewGradForm(bsSingle);
  EXPECT_EQ(Plain->Caption(), "");
  TFormPtr<TNoResourceForm> New(TCustomForm::CreateNew<TNoResourceForm>(nullptr));
  EXPECT_EQ(New->GradientColors(), 64);
}

// ----- colour tables

struct TTableCase {
  int Count;
  TColor Start, Stop;
  std::vector<TColor> Expected;   // the whole table when short, else checked entries below
  std::vector<std::pair<int, TColor>> Entries;
};

TEST(GradFormColorTables, ExactValues) {
  const TTableCase Cases[] = {
      // Steps of one half: ties go to the even neighbour, upwards and downwards.
      {9, 0x000000, 0x000004, {0, 0, 1, 2, 2, 2, 3, 4, 4}, {}},
      {9, 0x000004, 0x000000, {4, 4, 3, 2, 2, 2, 1, 0, 0}, {}},
      {8, 0x0000FF, 0xFF0000, {0x0000FF, 0x2400DB, 0x4900B6, 0x6D0092, 0x92006D, 0xB60049, 0xDB0024, 0xFF0000}, {}},
      {64, 0x000000, 0xFF0000, {}, {{0, 0}, {32, 0x820000}, {62, 0xFB0000}, {63, 0xFF0000}}},
      {512, 0x102030, 0x302010, {}, {{0, 0x102030}, {511, 0x302010}, {255, 0x202020}}},
  };
  auto F = NewGradForm(bsSizeable);
  for (const TTableCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Count) + " colours " + Hex(C.Start) + " to " + Hex(C.Stop));
    F->SetGradientColors(C.Count);
    F->SetGradientStartColor(C.Start);
    F->SetGradientStopColor(C.Stop);
    F->SetGradientInactiveStartColor(C.Stop);
    F->SetGradientInactiveStopColor(C.Start);
    ASSERT_EQ(F->GradientColors(), C.Count);
    for (size_t I = 0; I < C.Expected.size(); ++I) {
      EXPECT_EQ(Hex(F->ColorTable(true, int(I))), Hex(C.Expected[I])) << "entry " << I;
      EXPECT_EQ(Hex(F->ColorTable(false, C.Count - 1 - int(I))), Hex(C.Expected[I])) << "inactive entry";
    }
    for (auto [Index, Colour] : C.Entries) EXPECT_EQ(Hex(F->ColorTable(true, Index)), Hex(Colour)) << Index;
  }
  EXPECT_THROW(F->ColorTable(true, 512), EListError);
}

TEST(GradFormColorTables, SystemColoursAreResolved) {
  auto F = NewGradForm(bsSizeable);
  EXPECT_EQ(F->ColorTable(true, 63), TColor(GetSysColor(COLOR_ACTIVECAPTION)));
  EXPECT_EQ(F->ColorTable(false, 63), TColor(GetSysColor(COLOR_INACTIVECAPTION)));
}

TEST(GradFormColorTables, CountOutsideTheRangeIsIgnored) {
  auto F = NewGradForm(bsSizeable);
  for (int Bad : {4, 7, 513, 600, -1}) {
    F->SetGradientColors(Bad);
    EXPECT_EQ(F->GradientColors(), 64) << Bad;
  }
  F->SetGradientColors(8);
  EXPECT_EQ(F->GradientColors(), 8);
  F->SetGradientColors(512);
  EXPECT_EQ(F->GradientColors(), 512);
}

// ----- fills

// A 32-bit off-screen surface to fill.
struct TSurface {
  TBitmap Bmp;
  TSurface(int W, int H) {
    Bmp.SetPixelFormat(pf32bit);
    Bmp.SetSize(W, H);
    Bmp.Canvas()->Brush()->SetColor(clFuchsia);
    Bmp.Canvas()->FillRect(Rect(0, 0, W, H));
  }
  HDC DC() { return Bmp.Canvas()->Handle(); }
  TColor At(int X, int Y) { return Bmp.Canvas()->Pixels(X, Y); }
};

TEST(GradFormFill, MethodChoice) {
  auto F = NewGradForm(bsSizeable);
  F->SetGradientStartColor(clBlack);
  F->SetGradientStopColor(0x000050);               // 80 over the width: the wide mask
  TSurface S(8, 8);
  struct TCase { int W; bool Dither; TGFFillMethod Expected; };
  const TCase Shallow[] = {{0, true, gfmNone},         {137, true, gfmStretched}, {138, true, gfmDithered},
                           {400, false, gfmStretched}, {63, false, gfmBands},     {64, false, gfmStretched},
                           {27, true, gfmBands}};
  for (const TCase& C : Shallow)
    EXPECT_EQ(F->GradientFillMethod(S.DC(), C.W, true, C.Dither), C.Expected) << "width " << C.W;
  // Black to white: 765 over the width, steep below 1071 pixels: the narrow mask.
  F->SetGradientStopColor(clWhite);
  const TCase Steep[] = {{27, true, gfmBands}, {28, true, gfmDithered}, {1071, true, gfmDithered}};
  for (const TCase& C : Steep)
    EXPECT_EQ(F->GradientFillMethod(S.DC(), C.W, true, C.Dither), C.Expected) << "width " << C.W;
  // The inactive pair decides for the inactive state: equal colours are never steep.
  F->SetGradientInactiveStartColor(clGray);
  F->SetGradientInactiveStopColor(clGray);
  EXPECT_EQ(F->GradientFillMethod(S.DC(), 100, false, true), gfmStretched);
}

TEST(GradFormFill, BandsGiveEachColourItsShareOfANarrowRectangle) {
  auto F = NewGradForm(bsSizeable);
  F->SetGradientStartColor(clBlack);
  F->SetGradientStopColor(clLime);
  constexpr int W = 40, H = 6, Left = 3;
  TSurface S(W + 6, H + 2);
  F->FillRectGradient(S.DC(), Bounds(Left, 1, W, H), true, false);
  const double Step = double(W) / 64;
  for (int I = 0; I < 64; ++I) {
    int X0 = int(std::nearbyint(I * Step)), X1 = int(std::nearbyint((I + 1) * Step));
    for (int X = X0; X < X1; ++X) {
      EXPECT_EQ(Hex(S.At(Left + X, 1)), Hex(F->ColorTable(true, I))) << "column " << X;
      EXPECT_EQ(S.At(Left + X, H), S.At(Left + X, 1));
    }
  }
  // Nothing outside the rectangle.
  EXPECT_EQ(S.At(Left - 1, 2), clFuchsia);
  EXPECT_EQ(S.At(Left + W, 2), clFuchsia);
  EXPECT_EQ(S.At(Left, 0), clFuchsia);
  EXPECT_EQ(S.At(Left, H + 1), clFuchsia);
}

TEST(GradFormFill, StretchedShowsEveryColourInOrderEndingWithTheStopColour) {
  auto F = NewGradForm(bsSizeable);
  F->SetGradientStartColor(clNavy);
  F->SetGradientStopColor(clYellow);
  constexpr int W = 200, H = 5;
  TSurface S(W, H);
  F->FillRectGradient(S.DC(), Rect(0, 0, W, H), true, false);
  std::vector<int> Index;
  for (int X = 0; X < W; ++X) {
    int Found = -1;
    for (int I = 0; I < 64 && Found < 0; ++I)
      if (S.At(X, 2) == F->ColorTable(true, I)) Found = I;
    ASSERT_GE(Found, 0) << "column " << X << " has " << Hex(S.At(X, 2));
    EXPECT_EQ(S.At(X, 0), S.At(X, H - 1));
    Index.push_back(Found);
  }
  EXPECT_EQ(Index.front(), 0);
  EXPECT_EQ(Index.back(), 63);
  EXPECT_TRUE(std::is_sorted(Index.begin(), Index.end()));
  EXPECT_EQ(std::set<int>(Index.begin(), Index.end()).size(), 64u);
}

// White pixels per column of the two masks.
constexpr std::array<int, 69> Mask1Counts{0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 3, 4, 4, 2, 10, 2, 6, 7, 7, 7, 7, 9, 7,
                                          10, 10, 10, 9, 12, 9, 14, 9, 16, 10, 15, 14, 13, 16, 14, 16, 14, 17,
                                          17, 17, 17, 19, 19, 18, 21, 18, 20, 22, 21, 22, 21, 23, 23, 23, 25, 23,
                                          26, 25, 25, 26, 27, 26, 27, 29, 28, 27};
constexpr std::array<int, 14> Mask2Counts{0, 0, 0, 8, 0, 14, 7, 14, 14, 14, 25, 14, 28, 20};

TColor Step(TColor S, TColor E, int K, int Q) {
  auto Ch = [&](int Shift) {
    int A = (S >> Shift) & 0xFF, B = (E >> Shift) & 0xFF;
    return std::clamp(A + MulDiv(K, B - A, Q), 0, 255) << Shift;
  };
  return TColor(Ch(0) | Ch(8) | Ch(16));
}

struct TDitherCase {
  const char* Name;
  TColor Start, Stop;
  int Width, MaskWidth, MaskHeight;
  const int* Counts;
};

TEST(GradFormFill, DitheredBandsFadeThroughTheMask) {
  const TDitherCase Cases[] = {
      {"wide mask", clBlack, clBlue, 400, 69, 30, Mask1Counts.data()},
      {"narrow mask", clBlack, clWhite, 140, 14, 28, Mask2Counts.data()},
  };
  for (const TDitherCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto F = NewGradForm(bsSizeable);
    F->SetGradientStartColor(C.Start);
    F->SetGradientStopColor(C.Stop);
    // One mask height, so each column shows exactly the mask's white count.
    TSurface S(C.Width, C.MaskHeight);
    ASSERT_EQ(F->GradientFillMethod(S.DC(), C.Width, true, true), gfmDithered);
    F->FillRectGradient(S.DC(), Rect(0, 0, C.Width, C.MaskHeight), true, true);
    const int Q = C.Width / C.MaskWidth;
    // The first two bands: each column holds its own colour where the mask is white and
    // the previous band's colour where it is black.
    TColor Prev = C.Start;
    int X = 0;
    const int Rem = C.Width % C.MaskWidth;
    for (int K = 1; K <= 2; ++K) {
      const TColor Own = Step(C.Start, C.Stop, K, Q);
      for (int J = 0; J < C.MaskWidth; ++J, ++X) {
        int OwnCount = 0, PrevCount = 0;
        for (int Y = 0; Y < C.MaskHeight; ++Y) {
          OwnCount += S.At(X, Y) == Own;
          PrevCount += S.At(X, Y) == Prev;
        }
        EXPECT_EQ(OwnCount, C.Counts[J]) << "band " << K << " column " << J;
        EXPECT_EQ(OwnCount + PrevCount, C.MaskHeight) << "band " << K << " column " << J;
      }
      // The remainder of the width is spread as plain extra columns after the bands.
      const int Extra = Rem / (Q - 1) + (Rem % (Q - 1) > K ? 1 : 0);
      for (int E = 0; E < Extra; ++E, ++X)
        for (int Y = 0; Y < C.MaskHeight; ++Y) ASSERT_EQ(S.At(X, Y), Own) << "extra column " << X;
      Prev = Own;
    }
    // No pixel left unpainted.
    for (int Px = 0; Px < C.Width; ++Px) ASSERT_NE(S.At(Px, C.MaskHeight / 2), clFuchsia) << Px;
  }
}

TEST(GradFormFill, DitheringTilesTheMaskDownTallRectangles) {
  auto F = NewGradForm(bsSizeable);
  F->SetGradientStartColor(clBlack);
  F->SetGradientStopColor(clBlue);
  TSurface S(400, 75);
  ASSERT_EQ(F->GradientFillMethod(S.DC(), 400, true, true), gfmDithered);
  F->FillRectGradient(S.DC(), Rect(0, 0, 400, 75), true, true);
  for (int X = 0; X < 69; ++X)
    for (int Y = 0; Y < 45; ++Y) ASSERT_EQ(S.At(X, Y), S.At(X, Y + 30)) << X << "," << Y;
}

TEST(GradFormFill, EveryMethodPaintsTheSamePixelsAnywhereAndNothingBeside) {
  auto F = NewGradForm(bsSizeable);
  F->SetGradientStartColor(clBlack);
  F->SetGradientStopColor(clBlue);
  struct TCase { const char* Name; int W, H; bool Dither; TGFFillMethod Method; };
  const TCase Cases[] = {{"dithered", 400, 40, true, gfmDithered},
                         {"dithered, ragged", 301, 17, true, gfmDithered},
                         {"banded", 50, 9, false, gfmBands},
                         {"stretched", 300, 9, false, gfmStretched}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TSurface At0(C.W, C.H), Moved(C.W + 20, C.H + 14);
    ASSERT_EQ(F->GradientFillMethod(At0.DC(), C.W, true, C.Dither), C.Method);
    F->FillRectGradient(At0.DC(), Rect(0, 0, C.W, C.H), true, C.Dither);
    F->FillRectGradient(Moved.DC(), Bounds(7, 5, C.W, C.H), true, C.Dither);
    for (int Y = 0; Y < C.H + 14; ++Y)
      for (int X = 0; X < C.W + 20; ++X) {
        const bool Inside = X >= 7 && X < 7 + C.W && Y >= 5 && Y < 5 + C.H;
        ASSERT_EQ(Hex(Moved.At(X, Y)), Hex(Inside ? At0.At(X - 7, Y - 5) : clFuchsia)) << X << "," << Y;
      }
  }
}

TEST(GradFormFill, SolidUsesThePairForTheState) {
  auto F = NewGradForm(bsSizeable);
  TSurface S(10, 4);
  F->FillRectSolid(S.DC(), Rect(0, 0, 5, 4), true, clRed, clGreen);
  F->FillRectSolid(S.DC(), Rect(5, 0, 10, 4), false, clRed, clBtnFace);
  EXPECT_EQ(S.At(0, 0), clRed);
  EXPECT_EQ(S.At(4, 3), clRed);
  EXPECT_EQ(S.At(5, 0), TColor(GetSysColor(COLOR_BTNFACE)));
}

// ----- caption text messages

TEST(GradFormText, GetTextCopiesAtMostTheBufferLessOneAndTerminates) {
  auto F = NewGradForm(bsSizeable);
  F->SetCaption("Gradient");
  for (bool WithWindow : {false, true}) {
    SCOPED_TRACE(WithWindow ? "window" : "no window");
    if (WithWindow) F->HandleNeeded();
    struct TCase { int Size; int Result; const char* Text; };
    const TCase Cases[] = {{0, 0, nullptr}, {1, 0, ""}, {4, 3, "Gra"}, {8, 7, "Gradien"},
                           {9, 8, "Gradient"}, {64, 8, "Gradient"}};
    for (const TCase& C : Cases) {
      char Buf[80];
      std::memset(Buf, '#', sizeof Buf);
      intptr_t R = WithWindow ? SendMessageA(F->Handle(), WM_GETTEXT, WPARAM(C.Size), LPARAM(Buf))
                              : F->Perform(WM_GETTEXT, uintptr_t(C.Size), intptr_t(Buf));
      EXPECT_EQ(R, C.Result) << "size " << C.Size;
      if (C.Text) {
        EXPECT_STREQ(Buf, C.Text) << "size " << C.Size;
      }
      for (size_t I = C.Text ? std::strlen(C.Text) + 1 : 0; I < sizeof Buf; ++I)
        ASSERT_EQ(Buf[I], '#') << "byte " << I << " written for size " << C.Size;
    }
    EXPECT_EQ(F->Perform(WM_GETTEXTLENGTH, 0, 0), 8);
    EXPECT_EQ(GetWindowTextLengthA(F->Handle()), 8);
  }
}

TEST(GradFormText, SetTextStoresTheCaptionAndTheWindowText) {
  auto F = NewGradForm(bsSizeable);
  F->SetCaption("Before");
  ShowActive(F.get());
  char Buf[64] = {};
  GetWindowTextA(F->Handle(), Buf, sizeof Buf);
  EXPECT_STREQ(Buf, "Before");
  SetWindowTextA(F->Handle(), "Set by the system");
  EXPECT_EQ(F->Caption(), "Set by the system");
  EXPECT_EQ(GetStrProp(F.get(), "Caption"), "Set by the system");
  F->SetCaption("By property");
  // The text the system keeps for the window follows (DefWindowProc's own copy).
  EXPECT_EQ(DefWindowProcA(F->Handle(), WM_GETTEXT, sizeof Buf, LPARAM(Buf)), 11);
  EXPECT_STREQ(Buf, "By property");
}

// SetWindowRgn refusing every region, and the regions it was offered.
struct TRefusingRegions {
  static inline std::vector<HRGN> Offered;
  static int WINAPI Refuse(HWND, HRGN Region, BOOL) {
    if (Region) Offered.push_back(Region);
    return 0;
  }
  TRefusingRegions() {
    Offered.clear();
    GradSetWindowRgn = &Refuse;
  }
  ~TRefusingRegions() { GradSetWindowRgn = &SetWindowRgn; }
};

TEST(GradFormText, RegionsTheSystemRefusesAreDeleted) {
  auto F = NewGradForm(bsSizeable, 300, 150);
  ShowActive(F.get());
  HWND W = F->Handle();
  // With a region of its own the form offers a copy of it back, too.
  ASSERT_TRUE(SetWindowRgn(W, CreateRoundRectRgn(0, 0, 300, 150, 30, 30), TRUE));
  // Wine counts no GDI objects (0): there the check of each region below holds alone.
  const DWORD Before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  {
    TRefusingRegions Refusing;
    for (int I = 0; I < 1000; ++I) {
      const size_t From = TRefusingRegions::Offered.size();
      SendMessageA(W, WM_SETTEXT, 0, LPARAM(I % 2 ? "Odd" : "Even"));
      // The message's own pair, and the pair of the one the caption's text change sends.
      ASSERT_EQ(TRefusingRegions::Offered.size(), From + 4) << "message " << I;
      for (size_t R = From; R < From + 4; ++R)
        ASSERT_EQ(GetObjectType(TRefusingRegions::Offered[R]), 0u) << "region left alive at message " << I;
    }
  }
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), Before);
  EXPECT_EQ(F->Caption(), "Odd");
}

TEST(GradFormText, SetTextKeepsTheWindowRegionTheFormHad) {
  auto F = NewGradForm(bsSizeable, 300, 150);
  ShowActive(F.get());
  HWND W = F->Handle();
  // Without a region the form has none afterwards.
  SetWindowTextA(W, "No region");
  {
    TRgnOwner Probe(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(W, Probe), ERROR);
  }
  SetWindowRgn(W, CreateRoundRectRgn(0, 0, 300, 150, 30, 30), TRUE);
  vcltest::PumpRounds(2);
  TRgnOwner Had(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetWindowRgn(W, Had), COMPLEXREGION);
  SetWindowTextA(W, "With a region");
  TRgnOwner Now(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetWindowRgn(W, Now), COMPLEXREGION);
  EXPECT_TRUE(EqualRgn(Now, Had));
  EXPECT_EQ(F->Caption(), "With a region");
}

// ----- caption font

TEST(GradFormFont, SettingTheFontStopsFollowingTheSystem) {
  auto F = NewGradForm(bsSizeable);
  TFont Font;
  Font.SetName("Courier New");
  Font.SetHeight(-20);
  F->SetCaptionFont(&Font);
  EXPECT_FALSE(F->UseSystemCaptionFont());
  EXPECT_EQ(F->CaptionFont()->Name(), "Courier New");
  NONCLIENTMETRICSA M{};
  M.cbSize = 340;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &M, 0));
  // Only the height comes from the system then.
  EXPECT_EQ(F->CaptionFont()->Height(), M.lfCaptionFont.lfHeight);
  F->SetUseSystemCaptionFont(true);
  EXPECT_EQ(F->CaptionFont()->Name(), AnsiString(M.lfCaptionFont.lfFaceName));
}

// Changes the system's caption font for the session (not saved) and puts it back.
class TCaptionFontChange {
public:
  explicit TCaptionFontChange(const char* Face, int Height) {
    FSaved.cbSize = 340;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &FSaved, 0);
    NONCLIENTMETRICSA M = FSaved;
    std::strncpy(M.lfCaptionFont.lfFaceName, Face, LF_FACESIZE - 1);
    M.lfCaptionFont.lfHeight = Height;
    M.lfCaptionFont.lfWeight = FW_NORMAL;
    M.lfCaptionFont.lfItalic = 1;
    FChanged = SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, 340, &M, 0);
    if (FChanged) Broadcast();
  }
  ~TCaptionFontChange() {
    if (FChanged && SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, 340, &FSaved, 0)) Broadcast();
    vcltest::PumpRounds(2);
  }
  // The notification the system sends when the change is saved (Wine sends it only then, and
  // a test must not save its change).
  static void Broadcast() {
    DWORD_PTR Result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, LPARAM(""), SMTO_ABORTIFHUNG,
                        2000, &Result);
  }
  bool Changed() const { return FChanged; }
private:
  NONCLIENTMETRICSA FSaved{};
  bool FChanged = false;
};

TEST(GradFormFont, SystemCaptionFontChangeReachesTheForm) {
  TFormPtr<TGradTestForm> F(TComponent::Create<TGradTestForm>(nullptr));
  auto Fixed = NewGradForm(bsSizeable);
  TFont Mono;
  Mono.SetName("Courier New");
  Fixed->SetCaptionFont(&Mono);
  ShowActive(F.get());
  Fixed->HandleNeeded();
  // Another setting change leaves the streamed font alone.
  SendMessageA(F->Handle(), WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
  EXPECT_EQ(F->CaptionFont()->Name(), "Tahoma");
  {
    TCaptionFontChange Change("Liberation Serif", -17);
    ASSERT_TRUE(Change.Changed());
    vcltest::PumpRounds(3);
    EXPECT_EQ(F->CaptionFont()->Name(), "Liberation Serif");
    EXPECT_EQ(F->CaptionFont()->Height(), -17);
    EXPECT_EQ(F->CaptionFont()->Style(), FontStyle(fsItalic));
    EXPECT_EQ(Fixed->CaptionFont()->Name(), "Courier New");
    EXPECT_EQ(Fixed->CaptionFont()->Height(), -17);
  }
  EXPECT_NE(F->CaptionFont()->Name(), "Liberation Serif");
}

}  // namespace
