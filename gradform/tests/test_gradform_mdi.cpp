// Gradient forms as an MDI frame and its children (active child, a maximised child's caption on
// the frame, system colour changes, the client's redraws), the border strip and the form icon.
#include "gradform/tests/gradtest.h"

#include <string>
#include <vector>

using namespace gradtest;

namespace {

using vcltest::PumpRounds;

constexpr TColor TextColour = clYellow;

// A gradient MDI frame (the application's main form while it lives) with two gradient children.
// Active captions are solid red, inactive ones solid green: one colour each way.
struct TGradMDI : ::testing::Test {
  TgrdGradientForm* Frame = nullptr;
  std::vector<TgrdGradientForm*> Children;

  static void Colour(TgrdGradientForm* F) {
    F->SetGradientStartColor(clRed);
    F->SetGradientStopColor(clRed);
    F->SetGradientInactiveStartColor(clGreen);
    F->SetGradientInactiveStopColor(clGreen);
    F->SetCaptionTextColor(TextColour);
    F->SetInactiveCaptionTextColor(TextColour);
    F->SetUseDithering(false);
  }
  void SetUp() override {
    ASSERT_EQ(Application->MainForm(), nullptr);
    Application->CreateForm(&Frame);
    Frame->SetBounds(40, 30, 560, 420);
    Frame->SetFormStyle(fsMDIForm);
    Frame->SetCaption("Frame");
    Colour(Frame);
    ShowActive(Frame);
    // Side by side: no child covers the other's caption.
    const TPoint At[] = {{10, 10}, {230, 175}};
    for (const char* Name : {"Child A", "Child B"}) {
      auto* C = TCustomForm::CreateNew<TgrdGradientForm>(nullptr);
      const TPoint P = At[Children.size()];
      Children.push_back(C);
      C->SetBounds(P.X, P.Y, 300, 160);
      Colour(C);
      C->SetCaption(Name);
      C->SetFormStyle(fsMDIChild);
      PumpRounds(2);
    }
  }
  void TearDown() override {
    for (TgrdGradientForm* C : Children) TObject::Free(C);
    TObject::Free(Frame);
    PumpRounds(1);
  }
  TgrdGradientForm* B() const { return Children[1]; }
  void ActivateChild(TgrdGradientForm* C) {
    SendMessageA(Frame->ClientHandle(), WM_MDIACTIVATE, WPARAM(C->Handle()), 0);
    PumpRounds(3);
  }
  // A caption pixel beside the icon.
  static TColor CaptionPixel(TgrdGradientForm* F) {
    const TRect Cap = F->GetCaptionRect();
    return TWindowShot(F->Handle())(Cap.Left, Cap.Top + 1);
  }
};

TEST_F(TGradMDI, TheActiveChildShowsTheActiveColours) {
  ASSERT_EQ(Frame->MDIChildCount(), 2);
  for (int Round = 0; Round < 2; ++Round) {
    for (TgrdGradientForm* Active : Children) {
      SCOPED_TRACE(Active->Caption().c_str());
      ActivateChild(Active);
      ASSERT_EQ(Frame->ActiveMDIChild(), Active);
      for (TgrdGradientForm* C : Children) {
        const bool IsActive = C == Active;
        EXPECT_EQ(C->IsActiveWindow(), IsActive) << C->Caption().c_str();
        EXPECT_EQ(Hex(CaptionPixel(C)), Hex(IsActive ? clRed : clGreen)) << C->Caption().c_str();
      }
      EXPECT_EQ(Hex(CaptionPixel(Frame)), Hex(clRed)) << "the frame";
    }
  }
  // Another window active: no child is active any more.
  vcltest::TTestWindow Other(200, 100, 600, 400);
  Other.Activate();
  PumpRounds(3);
  for (TgrdGradientForm* C : Children) EXPECT_FALSE(C->IsActiveWindow());
  EXPECT_EQ(Hex(CaptionPixel(Frame)), Hex(clGreen));
}

// The caption text of F as PaintCaptionText draws it for Text: the text area of the caption,
// drawn alone on the caption's colour with the same font, colours and flags.
std::unique_ptr<TBitmap> ExpectedText(TgrdGradientForm* F, const TRect& Area, const AnsiString& Text) {
  const TColor Back = F->IsActiveWindow() ? clRed : clGreen;
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(Area.Width(), Area.Height());
  HDC DC = B->Canvas()->Handle();
  TBrushOwner Brush(CreateSolidBrush(COLORREF(Back)));
  RECT R{0, 0, Area.Width(), Area.Height()};
  FillRect(DC, &R, Brush);
  SetTextColor(DC, COLORREF(TextColour));
  SetBkMode(DC, TRANSPARENT);
  TSelectGuard Font(DC, F->CaptionFont()->Handle());
  DrawTextA(DC, Text.c_str(), Text.Length(), &R, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  return B;
}

// Whether the frame's caption text area shows exactly Text.
bool ShowsText(TgrdGradientForm* F, const AnsiString& Text) {
  TRect Cap = F->GetCaptionRect();
  TRect Area = Cap;
  F->CaptionButtonLayout(Area);
  // One pixel of margin, the menu icon and its pixel, then the text's two.
  Area.Left = Cap.Left + 1 + GetSystemMetrics(SM_CXSMICON) + 1 + 2;
  Area.Bottom = Cap.Bottom;
  auto Expected = ExpectedText(F, TRect{0, 0, Area.Width(), Area.Height()}, Text);
  TWindowShot Shot(F->Handle());
  for (int Y = 0; Y < Area.Height(); ++Y)
    for (int X = 0; X < Area.Width(); ++X)
      if (Shot(Area.Left + X, Area.Top + Y) != Expected->Canvas()->Pixels(X, Y)) return false;
  return true;
}

TEST_F(TGradMDI, AMaximisedChildsCaptionShowsOnTheFrame) {
  TgrdGradientForm* A = Children[0];
  ActivateChild(A);
  EXPECT_EQ(Frame->CaptionDisplayText(), "Frame");
  EXPECT_TRUE(ShowsText(Frame, "Frame"));
  A->SetWindowState(wsMaximized);
  PumpRounds(3);
  ASSERT_TRUE(IsZoomed(A->Handle()));
  EXPECT_EQ(Frame->CaptionDisplayText(), "Frame - [Child A]");
  EXPECT_TRUE(ShowsText(Frame, "Frame - [Child A]"));
  EXPECT_FALSE(ShowsText(Frame, "Frame"));
  // The frame keeps its own caption.
  EXPECT_EQ(Frame->Caption(), "Frame");
  // A new caption of the maximised child, by property and by the system, reaches the frame.
  A->SetCaption("Renamed");
  PumpRounds(2);
  EXPECT_TRUE(ShowsText(Frame, "Frame - [Renamed]"));
  SetWindowTextA(A->Handle(), "By the system");
  PumpRounds(2);
  EXPECT_EQ(A->Caption(), "By the system");
  EXPECT_TRUE(ShowsText(Frame, "Frame - [By the system]"));
  // Restored, the child's caption leaves the frame.
  A->SetWindowState(wsNormal);
  PumpRounds(3);
  EXPECT_EQ(Frame->CaptionDisplayText(), "Frame");
  EXPECT_TRUE(ShowsText(Frame, "Frame"));
  // A child that is not maximised repaints its own caption with a new text.
  B()->SetCaption("Child B, renamed");
  PumpRounds(2);
  EXPECT_TRUE(ShowsText(B(), "Child B, renamed"));
}

TEST_F(TGradMDI, ASystemColourChangeRepaintsBothChildren) {
  // Children in the system's caption colours from end to end.
  for (TgrdGradientForm* C : Children) {
    C->SetGradientStartColor(clActiveCaption);
    C->SetGradientStopColor(clActiveCaption);
    C->SetGradientInactiveStartColor(clInactiveCaption);
    C->SetGradientInactiveStopColor(clInactiveCaption);
  }
  ActivateChild(Children[0]);
  const int Elements[] = {COLOR_ACTIVECAPTION, COLOR_INACTIVECAPTION};
  const COLORREF Saved[] = {GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_INACTIVECAPTION)};
  const COLORREF Changed[] = {RGB(0x12, 0x34, 0xA0), RGB(0xA0, 0x56, 0x12)};
  ASSERT_TRUE(SetSysColors(2, Elements, Changed));
  struct TRestore {
    const int* E;
    const COLORREF* C;
    ~TRestore() {
      SetSysColors(2, E, C);
      PumpRounds(2);
    }
  } Restore{Elements, Saved};
  PumpRounds(4);
  for (TgrdGradientForm* C : Children) {
    SCOPED_TRACE(C->Caption().c_str());
    const bool Active = C == Children[0];
    const TColor Expected = Active ? TColor(Changed[0]) : TColor(Changed[1]);
    EXPECT_EQ(Hex(C->ColorTable(Active, C->GradientColors() - 1)), Hex(Expected));
    EXPECT_EQ(Hex(CaptionPixel(C)), Hex(Expected));
  }
}

TEST_F(TGradMDI, TheClientRedrawsTheFrameCaptionAfterItsScrollCheck) {
  const TRect Cap = Frame->GetCaptionRect();
  auto Spoil = [&] {
    HDC DC = GetWindowDC(Frame->Handle());
    TBrushOwner Fuchsia(CreateSolidBrush(RGB(255, 0, 255)));
    RECT R = AsRECT(const_cast<TRect&>(Cap));
    FillRect(DC, &R, Fuchsia);
    ReleaseDC(Frame->Handle(), DC);
    return TWindowShot(Frame->Handle())(Cap.Left, Cap.Top + 1) == clFuchsia;
  };
  ASSERT_TRUE(Spoil());
  SendMessageA(Frame->ClientHandle(), 0x3F /* WM_MDICALCCHILDSCROLL */, 0, 0);
  EXPECT_EQ(Hex(TWindowShot(Frame->Handle())(Cap.Left, Cap.Top + 1)), Hex(clRed));
  // Another message to the client draws nothing.
  ASSERT_TRUE(Spoil());
  SendMessageA(Frame->ClientHandle(), WM_NULL, 0, 0);
  EXPECT_EQ(Hex(TWindowShot(Frame->Handle())(Cap.Left, Cap.Top + 1)), Hex(clFuchsia));
  // The client's procedure goes back with the frame's window.
  const WNDPROC Hooked = WNDPROC(GetWindowLongPtrA(Frame->ClientHandle(), GWLP_WNDPROC));
  Frame->SetUseWin98Gradient(true);
  PumpRounds(2);
  ASSERT_TRUE(Frame->ClientHandle());
  EXPECT_NE(WNDPROC(GetWindowLongPtrA(Frame->ClientHandle(), GWLP_WNDPROC)), Hooked);
  ASSERT_TRUE(Spoil());
  SendMessageA(Frame->ClientHandle(), 0x3F, 0, 0);
  EXPECT_EQ(Hex(TWindowShot(Frame->Handle())(Cap.Left, Cap.Top + 1)), Hex(clFuchsia)) << "inhibited";
}

// ----- border strip

TEST(GradBorderWidth, StripInsideTheFrameInTheFormsColour) {
  for (bool Gradient : {true, false}) {
    SCOPED_TRACE(Gradient ? "gradient form" : "plain form");
    TFormPtr<TCustomForm> F(Gradient ? static_cast<TCustomForm*>(TCustomForm::CreateNew<TgrdGradientForm>(nullptr))
                                     : TCustomForm::CreateNew<TForm>(nullptr));
    F->SetBounds(60, 60, 360, 220);
    F->SetColor(clTeal);
    const TRect Plain = F->ClientRect();
    F->SetBorderWidth(8);
    // Without a window and with one.
    EXPECT_EQ(F->ClientRect().Width(), Plain.Width() - 16);
    EXPECT_EQ(F->ClientRect().Height(), Plain.Height() - 16);
    ShowActive(F.get());
    ASSERT_EQ(F->ClientWidth(), Plain.Width() - 16);
    ASSERT_EQ(F->ClientHeight(), Plain.Height() - 16);
    // The client paints itself in another colour: only the strip shows teal.
    HWND W = F->Handle();
    {
      HDC DC = GetDC(W);
      TBrushOwner Black(CreateSolidBrush(0));
      RECT CR;
      GetClientRect(W, &CR);
      FillRect(DC, &CR, Black);
      ReleaseDC(W, DC);
    }
    RECT WR, CR;
    GetWindowRect(W, &WR);
    GetClientRect(W, &CR);
    MapWindowPoints(W, nullptr, reinterpret_cast<POINT*>(&CR), 2);
    const TRect Client{int(CR.left - WR.left), int(CR.top - WR.top), int(CR.right - WR.left), int(CR.bottom - WR.top)};
    const TRect Strip{Client.Left - 8, Client.Top - 8, Client.Right + 8, Client.Bottom + 8};
    TWindowShot Shot(W);
    const int StripPixels = Strip.Width() * Strip.Height() - Client.Width() * Client.Height();
    EXPECT_EQ(Shot.Count(Strip, clTeal), StripPixels);
    EXPECT_EQ(Shot.Count(Client, clTeal), 0);
    // Outside it the system's frame.
    EXPECT_NE(Hex(Shot(Strip.Left - 1, Client.Top + 20)), Hex(clTeal));
    // A frame repaint paints it again.
    {
      HDC DC = GetWindowDC(W);
      SetPixel(DC, Strip.Left + 2, Strip.Top + 40, 0);
      ReleaseDC(W, DC);
    }
    RedrawWindow(W, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Hex(TWindowShot(W)(Strip.Left + 2, Strip.Top + 40)), Hex(clTeal));
    // Back to none.
    F->SetBorderWidth(0);
    EXPECT_EQ(F->ClientWidth(), Plain.Width());
    F->SetBorderWidth(-3);
    EXPECT_EQ(F->BorderWidth(), 0);
  }
}

// ----- icon

// A square icon of one colour, SM_CXICON big.
HICON SolidIcon(COLORREF Colour) {
  const int S = GetSystemMetrics(SM_CXICON);
  HDC Screen = GetDC(nullptr);
  TBitmapOwner Colours(CreateCompatibleBitmap(Screen, S, S));
  ReleaseDC(nullptr, Screen);
  TBitmapOwner Mask(CreateBitmap(S, S, 1, 1, nullptr));
  {
    TMemoryDC DC(nullptr);
    TSelectGuard Sel(DC, Colours.Get());
    TBrushOwner B(CreateSolidBrush(Colour));
    RECT R{0, 0, S, S};
    FillRect(DC, &R, B);
    TSelectGuard MaskSel(DC, Mask.Get());
    PatBlt(DC, 0, 0, S, S, BLACKNESS);   // opaque everywhere
  }
  ICONINFO II{TRUE, 0, 0, Mask.Get(), Colours.Get()};
  return CreateIconIndirect(&II);
}

TEST(GradIcon, TheFormsIconIsTheWindowsAndTheCaptions) {
  auto F = NewGradForm(bsSingle, 360, 140);
  F->SetGradientStartColor(clNavy);
  F->SetGradientStopColor(clNavy);
  EXPECT_FALSE(GetPropInfo(F.get(), "Icon")->IsStored(F.get()));
  TIcon Red;
  Red.SetHandle(SolidIcon(RGB(255, 0, 0)));
  F->SetIcon(&Red);   // before the window exists
  EXPECT_TRUE(GetPropInfo(F.get(), "Icon")->IsStored(F.get()));
  ShowActive(F.get());
  HWND W = F->Handle();
  EXPECT_EQ(HICON(SendMessageA(W, WM_GETICON, ICON_BIG, 0)), F->Icon()->Handle());
  EXPECT_EQ(HICON(SendMessageA(W, WM_GETICON, ICON_SMALL, 0)), F->Icon()->Handle());
  const TRect Cap = F->GetCaptionRect();
  const int S = GetSystemMetrics(SM_CXSMICON);
  const TRect IconArea = Bounds(Cap.Left + 2, Cap.Top + 1, S, S);
  EXPECT_EQ(TWindowShot(W).Count(IconArea, clRed), S * S);
  // Another icon with the window there.
  TIcon Lime;
  Lime.SetHandle(SolidIcon(RGB(0, 255, 0)));
  F->SetIcon(&Lime);
  EXPECT_EQ(HICON(SendMessageA(W, WM_GETICON, ICON_BIG, 0)), F->Icon()->Handle());
  PumpRounds(2);
  TWindowShot Shot(W);
  EXPECT_EQ(Shot.Count(IconArea, clLime), S * S);
  EXPECT_EQ(Shot.Count(IconArea, clRed), 0);
  // Emptied, the window has no icon of its own and the caption another.
  F->SetIcon(nullptr);
  EXPECT_EQ(SendMessageA(W, WM_GETICON, ICON_BIG, 0), 0);
  PumpRounds(2);
  EXPECT_EQ(TWindowShot(W).Count(IconArea, clLime), 0);
}

}  // namespace
