// Form decorators: hit tests and a real drag, the caption, window regions and what shows through
// them, layered transparency, background erasing, streamed options, re-created windows, undoing
// it all, and the MDI frame decorator.
#include "coolctrls/CoolCtrls.h"
#include "rtl/tests/default_check.h"
#include "suite/tests/suitetest.h"
#include "vcl/StdCtrls.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {

using suitetest::Hex;
using suitetest::LoadForm;
using suitetest::TFormPtr;
using vcltest::PumpRounds;
using vcltest::PumpUntil;

constexpr TCoolOptions Opt(TCoolOption O) { return CoolOption(O); }

// A sizeable form of 300 x 200 client pixels at (120, 90), with a hook streamed with Props and
// a button at (120, 70, 60, 24).
TFormPtr ShowHooked(const std::string& Props = "", const char* Class = "TCoolFormHook") {
  const std::string Text = std::string("object Form1: TForm\n  Left = 120\n  Top = 90\n  ClientWidth = 300\n") +
                           "  ClientHeight = 200\n  Color = clYellow\n  object Button1: TButton\n    Left = 120\n" +
                           "    Top = 70\n    Width = 60\n    Height = 24\n  end\n  object Hook1: " + Class + "\n" +
                           Props + "  end\nend\n";
  TFormPtr Form(LoadForm(Text.c_str()));
  Form->Show();
  PumpRounds(3);
  return Form;
}

TCoolFormHook* HookOf(TForm* Form) { return dynamic_cast<TCoolFormHook*>(Form->FindComponent("Hook1")); }

LONG_PTR Style(TWinControl* C) { return GetWindowLongPtrA(C->Handle(), GWL_STYLE); }
LONG_PTR ExStyle(TWinControl* C) { return GetWindowLongPtrA(C->Handle(), GWL_EXSTYLE); }

// The client area's offset inside the window.
POINT ClientOffset(HWND Wnd) {
  RECT W;
  GetWindowRect(Wnd, &W);
  POINT P{0, 0};
  ClientToScreen(Wnd, &P);
  return POINT{P.x - W.left, P.y - W.top};
}

// The window's region: its box, and a test of window points; no region at all reads as empty.
struct TRegion {
  TRgnOwner Rgn{CreateRectRgn(0, 0, 0, 0)};
  int Kind;
  explicit TRegion(HWND Wnd) : Kind(GetWindowRgn(Wnd, Rgn)) {}
  TRect Box() const {
    RECT R{};
    GetRgnBox(Rgn, &R);
    return R;
  }
  bool Has(int X, int Y) const { return Kind != ERROR && PtInRegion(Rgn, X, Y); }
};

// A part of the screen as it shows now.
std::unique_ptr<TBitmap> Screen(const RECT& R) {
  PumpRounds(3);
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(R.right - R.left, R.bottom - R.top);
  HDC DC = GetDC(nullptr);
  BitBlt(B->Canvas()->Handle(), 0, 0, R.right - R.left, R.bottom - R.top, DC, R.left, R.top, SRCCOPY);
  ReleaseDC(nullptr, DC);
  return B;
}

// Within the last band of a 128-colour gradient.
bool Near(TColor A, TColor B) {
  for (int Shift : {0, 8, 16})
    if (std::abs(int((A >> Shift) & 0xFF) - int((B >> Shift) & 0xFF)) > 4) return false;
  return true;
}

void SaveShot(TBitmap* B, const char* Name) {
  B->SaveToFile(AnsiString(ORVALEN_SHOTS) + "/" + Name);
}

TEST(CoolFormHook, PublishedDefaultsMatchFreshObjects) {
  ExpectClassDefaultsMatch(TCoolFormHook::StaticClass());
  ExpectClassDefaultsMatch(TMDICoolFormHook::StaticClass());
}

TEST(CoolFormHook, HitTestsFollowTheDragOptions) {
  TFormPtr Form = ShowHooked();
  TCoolFormHook* Hook = HookOf(Form.get());
  ASSERT_TRUE(Hook->Hook()->Active());
  const HWND Wnd = Form->Handle();
  RECT W;
  GetWindowRect(Wnd, &W);
  POINT Client{150, 120};
  ClientToScreen(Wnd, &Client);
  const POINT Caption{(W.left + W.right) / 2 - 40, W.top + ClientOffset(Wnd).y / 2 + 2};
  const struct {
    TCoolOptions Options;
    LRESULT Client, Caption;
  } Cases[] = {
      {0, HTCLIENT, HTCAPTION},
      {Opt(ocDragUsingClientArea), HTCAPTION, HTCAPTION},
      {Opt(ocNoDragUsingCaption), HTCLIENT, HTNOWHERE},
      {Opt(ocDragUsingClientArea) | Opt(ocNoDragUsingCaption), HTNOWHERE, HTNOWHERE},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(GetPropValueText(Hook, GetPropInfo(Hook, "Options")).c_str());
    Hook->SetOptions(C.Options);
    auto Hit = [&](POINT P) { return SendMessageA(Wnd, WM_NCHITTEST, 0, MAKELPARAM(P.x, P.y)); };
    EXPECT_EQ(Hit(Client), C.Client);
    EXPECT_EQ(Hit(Caption), C.Caption);
  }
}

TEST(CoolFormHook, ARealDragOnTheClientMovesTheForm) {
  TFormPtr Form = ShowHooked("    Options = [ocDragUsingClientArea]\n");
  const HWND Wnd = Form->Handle();
  SetForegroundWindow(Wnd);
  PumpUntil([&] { return GetForegroundWindow() == Wnd; }, 50);
  RECT Before;
  GetWindowRect(Wnd, &Before);
  vcltest::RealDrag(Wnd, 200, 150, 40, 32);
  RECT After{};
  const bool Moved = PumpUntil([&] {
    GetWindowRect(Wnd, &After);
    return After.left == Before.left + 40 && After.top == Before.top + 32;
  });
  GetWindowRect(Wnd, &After);
  EXPECT_TRUE(Moved) << "from (" << Before.left << ", " << Before.top << ") to (" << After.left << ", " << After.top
                     << ")";
  EXPECT_EQ(Form->Left(), After.left);
}

TEST(CoolFormHook, TheCaptionGoesAndComesBack) {
  TFormPtr Form = ShowHooked();
  TCoolFormHook* Hook = HookOf(Form.get());
  EXPECT_EQ(Style(Form.get()) & WS_CAPTION, WS_CAPTION);
  Hook->SetOptions(Opt(ocNoCaption));
  EXPECT_EQ(Style(Form.get()) & WS_CAPTION, 0);
  EXPECT_EQ(ClientOffset(Form->Handle()).y, ClientOffset(Form->Handle()).x) << "only the frame above the client";
  Hook->SetOptions(0);
  EXPECT_EQ(Style(Form.get()) & WS_CAPTION, WS_CAPTION);
  // A form without a border keeps its style.
  Form->SetBorderStyle(bsNone);
  PumpRounds(2);
  const LONG_PTR None = Style(Form.get());
  Hook->SetOptions(Opt(ocNoCaption));
  Hook->SetOptions(0);
  EXPECT_EQ(Style(Form.get()), None);
}

TEST(CoolFormHook, ShapesAreWindowRegions) {
  TFormPtr Form = ShowHooked("    RoundXOffset = 10\n    RoundYOffset = 10\n");
  TCoolFormHook* Hook = HookOf(Form.get());
  const HWND Wnd = Form->Handle();
  const POINT O = ClientOffset(Wnd);
  const int A = O.x, B = O.y;
  RECT W;
  GetWindowRect(Wnd, &W);
  const int WW = W.right - W.left, WH = W.bottom - W.top;
  const int ButtonX = A + 150, ButtonY = B + 82;  // the button's middle, in window points
  EXPECT_EQ(TRegion(Wnd).Kind, ERROR) << "no shape yet";

  Hook->SetOptions(Opt(ocRoundedForm));
  EXPECT_EQ(Hook->RoundXOffset(), -10) << "stored negative";
  EXPECT_EQ(Hook->RoundYOffset(), -10);
  {
    TRegion R(Wnd);
    // 10 pixels inside the client area (GDI's ellipse leaves out its last column and row).
    EXPECT_EQ(R.Box(), TRect(A + 10, B + 10, A + 289, B + 189));
    EXPECT_TRUE(R.Has(A + 150, B + 100));
    EXPECT_TRUE(R.Has(A + 12, B + 100));
    EXPECT_FALSE(R.Has(A + 12, B + 12)) << "outside the ellipse's curve";
    EXPECT_FALSE(R.Has(2, 2));
  }
  Hook->SetOptions(Opt(ocRoundedForm) | Opt(ocPaintTransparently));
  {
    TRegion R(Wnd);
    EXPECT_TRUE(R.Has(A + 11, B + 100)) << "the ring";
    EXPECT_FALSE(R.Has(A + 150, B + 130)) << "cut out inside the ring";
    EXPECT_TRUE(R.Has(ButtonX, ButtonY)) << "the button stays";
  }
  Hook->SetOptions(Opt(ocPaintTransparently));
  {
    TRegion R(Wnd);
    EXPECT_EQ(R.Box(), TRect(0, 0, WW, WH));
    EXPECT_TRUE(R.Has(1, 1)) << "the frame";
    EXPECT_TRUE(R.Has(A + 150, B - 2)) << "the caption";
    EXPECT_FALSE(R.Has(A + 150, B + 130)) << "the empty client area";
    EXPECT_TRUE(R.Has(ButtonX, ButtonY));
  }
  Hook->SetOptions(Opt(ocRoundedForm) | Opt(ocPaintTransparently));
  Hook->SetOptions(Opt(ocRoundedForm));
  EXPECT_TRUE(TRegion(Wnd).Has(A + 150, B + 100)) << "transparency off keeps the plain ellipse";
  Hook->SetOptions(0);
  EXPECT_EQ(TRegion(Wnd).Kind, ERROR) << "no shape";
}

// What lies below shows through the see-through client area, on the screen.
TEST(CoolFormHook, TheWindowBelowShowsThroughOnScreen) {
  TForm* Below = TCustomForm::CreateNew<TForm>(nullptr);
  TFormPtr BelowGuard(Below);
  Below->SetBorderStyle(bsNone);
  Below->SetBounds(80, 60, 420, 320);
  Below->SetColor(clRed);
  Below->Show();
  TFormPtr Form = ShowHooked("    Options = [ocRoundedForm, ocPaintTransparently]\n    RoundXOffset = 10\n"
                             "    RoundYOffset = 10\n");
  SetWindowPos(Form->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RECT W;
  GetWindowRect(Form->Handle(), &W);
  POINT Mid{150, 130};
  ClientToScreen(Form->Handle(), &Mid);
  POINT Corner{3, 3};
  ClientToScreen(Form->Handle(), &Corner);
  auto Shot = Screen(RECT{W.left - 20, W.top - 20, W.right + 20, W.bottom + 20});
  SaveShot(Shot.get(), "elliptic-see-through-form.bmp");
  auto At = [&](POINT P) { return Shot->Canvas()->Pixels(P.x - W.left + 20, P.y - W.top + 20); };
  EXPECT_EQ(Hex(At(Mid)), Hex(clRed)) << "inside the ring";
  EXPECT_EQ(Hex(At(Corner)), Hex(clRed)) << "outside the ellipse";
  POINT Ring{12, 100};
  ClientToScreen(Form->Handle(), &Ring);
  EXPECT_EQ(Hex(At(Ring)), Hex(clYellow)) << "the form's own ring";
}

TCoolProcLookup RealLookup = nullptr;
FARPROC WINAPI NoLayeredFunction(HMODULE M, const char* Name) {
  return std::string(Name) == "SetLayeredWindowAttributes" ? nullptr : RealLookup(M, Name);
}

TEST(CoolFormHook, SemiTransparencyIsALayeredWindowsAlpha) {
  TFormPtr Form = ShowHooked();
  TCoolFormHook* Hook = HookOf(Form.get());
  auto Alpha = [&]() -> int {
    BYTE A = 0;
    DWORD Flags = 0;
    COLORREF Key = 0;
    if (!GetLayeredWindowAttributes(Form->Handle(), &Key, &A, &Flags) || !(Flags & LWA_ALPHA)) return -1;
    return A;
  };
  Hook->SetOptions(Opt(ocPaintFormSemiTransparently));
  EXPECT_TRUE(ExStyle(Form.get()) & WS_EX_LAYERED);
  EXPECT_EQ(Alpha(), 128);
  Hook->SetTransparencyIntense(200);
  EXPECT_EQ(Alpha(), 200) << "at once";
  Hook->SetOptions(0);
  EXPECT_FALSE(ExStyle(Form.get()) & WS_EX_LAYERED);
  Hook->SetTransparencyIntense(90);
  EXPECT_FALSE(ExStyle(Form.get()) & WS_EX_LAYERED) << "only stored";
  EXPECT_EQ(Hook->TransparencyIntense(), 90);
  // Without the system function the window is not made layered (it would not be drawn).
  RealLookup = SetCoolProcLookup(&NoLayeredFunction);
  Hook->SetOptions(Opt(ocPaintFormSemiTransparently));
  SetCoolProcLookup(RealLookup);
  EXPECT_FALSE(ExStyle(Form.get()) & WS_EX_LAYERED);
  Hook->SetOptions(0);
}

TEST(CoolFormHook, ErasesWithTheGradientOrTheWallpaper) {
  TFormPtr Form = ShowHooked("    StartColor = clRed\n    EndColor = clBlue\n");
  TCoolFormHook* Hook = HookOf(Form.get());
  Form->FindComponent("Button1")->Free();
  auto Tile = vcltest::MakeBitmap(2, 2, clLime);
  Tile->Canvas()->SetPixels(1, 1, clFuchsia);
  Hook->SetWallpaper(Tile.get());
  auto Pixels = [&] {
    suitetest::RedrawAll(Form->Handle());
    return vcltest::CaptureClient(Form->Handle());
  };
  Hook->SetOptions(Opt(ocPaintGradiently));
  {
    auto P = Pixels();
    EXPECT_EQ(Hex(P->Canvas()->Pixels(150, 0)), Hex(clRed)) << "vertical: red at the top";
    EXPECT_TRUE(Near(P->Canvas()->Pixels(150, 199), clBlue)) << "blue at the bottom";
    EXPECT_EQ(P->Canvas()->Pixels(0, 100), P->Canvas()->Pixels(299, 100));
  }
  Hook->SetGradientDirection(gdHorizontal);
  {
    auto P = Pixels();
    EXPECT_EQ(Hex(P->Canvas()->Pixels(0, 100)), Hex(clRed));
    EXPECT_TRUE(Near(P->Canvas()->Pixels(299, 100), clBlue));
  }
  Hook->SetOptions(Opt(ocPaintWallpaper) | Opt(ocTileWallpaper));
  {
    auto P = Pixels();
    for (auto [X, Y] : {std::pair{10, 10}, {151, 101}, {298, 198}})
      EXPECT_EQ(Hex(P->Canvas()->Pixels(X, Y)), Hex((X % 2 && Y % 2) ? clFuchsia : clLime)) << X << ", " << Y;
  }
  Hook->SetOptions(Opt(ocPaintWallpaper) | Opt(ocTileWallpaper) | Opt(ocPaintGradiently));
  EXPECT_EQ(Hex(Pixels()->Canvas()->Pixels(0, 100)), Hex(clRed)) << "the gradient alone";
  Hook->SetOptions(0);
  EXPECT_EQ(Hex(Pixels()->Canvas()->Pixels(150, 100)), Hex(clYellow)) << "the form's own colour";
}

TEST(CoolFormHook, StreamedOptionsAndARecreatedWindowAreDecorated) {
  TFormPtr Form = ShowHooked("    Options = [ocNoCaption, ocRoundedForm, ocPaintFormSemiTransparently]\n"
                             "    RoundXOffset = 10\n    TransparencyIntense = 150\n");
  TCoolFormHook* Hook = HookOf(Form.get());
  auto Decorated = [&](const char* When) {
    SCOPED_TRACE(When);
    EXPECT_EQ(Style(Form.get()) & WS_CAPTION, 0);
    EXPECT_NE(TRegion(Form->Handle()).Kind, ERROR);
    BYTE A = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(Form->Handle(), nullptr, &A, nullptr));
    EXPECT_EQ(A, 150);
  };
  Decorated("loaded");
  EXPECT_EQ(Hook->RoundXOffset(), -10);
  const HWND Old = Form->Handle();
  Form->SetBorderStyle(bsSingle);  // makes the window again
  PumpRounds(3);
  ASSERT_NE(Form->Handle(), Old);
  EXPECT_TRUE(Hook->Hook()->Active());
  Decorated("re-created");

  // Freed, the hook leaves the form as it would be without it.
  const LONG_PTR OwnProc = GetClassLongPtrA(Form->Handle(), GCLP_WNDPROC);
  Hook->Free();
  EXPECT_EQ(Style(Form.get()) & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(TRegion(Form->Handle()).Kind, ERROR);
  EXPECT_FALSE(ExStyle(Form.get()) & WS_EX_LAYERED);
  EXPECT_EQ(GetWindowLongPtrA(Form->Handle(), GWLP_WNDPROC), OwnProc);
}

// A hook made in code gets no Loaded: its options apply on the shown form all the same, and the
// form's erase goes through it.
TEST(CoolFormHook, AHookMadeInCodeDecoratesAShownForm) {
  const struct {
    const char* What;
    TCoolOption Option;
    std::function<bool(TForm*)> Applied;
  } Cases[] = {
      {"no caption", ocNoCaption, [](TForm* F) { return (Style(F) & WS_CAPTION) == 0; }},
      {"rounded", ocRoundedForm, [](TForm* F) { return TRegion(F->Handle()).Kind != ERROR; }},
      {"semi-transparent", ocPaintFormSemiTransparently,
       [](TForm* F) {
         BYTE A = 0;
         DWORD Flags = 0;
         return (ExStyle(F) & WS_EX_LAYERED) && GetLayeredWindowAttributes(F->Handle(), nullptr, &A, &Flags) &&
                (Flags & LWA_ALPHA) && A == 128;
       }},
      {"gradient erase", ocPaintGradiently,
       [](TForm* F) {
         suitetest::RedrawAll(F->Handle());
         auto P = vcltest::CaptureClient(F->Handle());
         return P->Canvas()->Pixels(150, 0) == clRed && Near(P->Canvas()->Pixels(150, 199), clBlue);
       }},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.What);
    TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
    TFormPtr Guard(Form);
    Form->SetBounds(120, 90, 320, 240);
    Form->SetClientWidth(300);
    Form->SetClientHeight(200);
    Form->SetColor(clYellow);
    Form->Show();
    PumpRounds(3);
    ASSERT_FALSE(K.Applied(Form)) << "undecorated";
    auto* Hook = TComponent::Create<TCoolFormHook>(Form);
    Hook->SetStartColor(clRed);
    Hook->SetEndColor(clBlue);
    Hook->SetRoundXOffset(10);
    Hook->SetOptions(Opt(K.Option));
    PumpRounds(2);
    EXPECT_TRUE(Hook->Hook()->Active());
    EXPECT_TRUE(K.Applied(Form)) << "decorated";
    Hook->SetOptions(0);
    PumpRounds(2);
    EXPECT_FALSE(K.Applied(Form)) << "undone";
  }
}

TEST(CoolFormHook, AnOwnerThatIsNoFormHasNothingToDecorate) {
  TComponent* Owner = TComponent::Create<TComponent>(nullptr);
  auto* Hook = TComponent::Create<TCoolFormHook>(Owner);
  Hook->SetOptions(Opt(ocNoCaption) | Opt(ocRoundedForm));
  Hook->Loaded();
  EXPECT_EQ(Hook->Form(), nullptr);
  EXPECT_FALSE(Hook->Hook()->Active());
  Owner->Free();
}

// ----- the MDI frame decorator

struct TPaintCount : TObject {
  std::vector<TObject*> Senders;
  void Paint(TObject* Sender) { Senders.push_back(Sender); }
};

TEST(MDICoolFormHook, DecoratesTheClientAndTheChildren) {
  ASSERT_EQ(Application->MainForm(), nullptr);
  TForm* Frame = nullptr;
  Application->CreateForm(&Frame);
  TFormPtr FrameGuard(Frame);
  Frame->SetBounds(60, 40, 520, 400);
  Frame->SetFormStyle(fsMDIForm);
  Frame->SetCaption("Decorated MDI frame");
  // A wallpaper at the client's corner (not tiled): the gradient shows around it.
  auto Tile = vcltest::MakeBitmap(160, 100, clAqua);
  for (int Y = 0; Y < 100; Y += 20)
    for (int X = (Y / 20 % 2) * 20; X < 160; X += 40) {
      Tile->Canvas()->Brush()->SetColor(clWhite);
      Tile->Canvas()->FillRect(Rect(X, Y, X + 20, Y + 20));
    }
  auto* Hook = TComponent::Create<TMDICoolFormHook>(Frame);
  Hook->SetWallpaper(Tile.get());
  Hook->SetOptions(Opt(ocPaintGradiently) | Opt(ocPaintWallpaper) | Opt(ocNoMDIChildrensCaptions) |
                   Opt(ocGradientForMDIChildren));
  Hook->SetStartColor(clNavy);
  Hook->SetEndColor(clGreen);
  Frame->Show();
  PumpRounds(2);
  const HWND Client = Frame->ClientHandle();
  ASSERT_TRUE(Client);
  EXPECT_NE(GetWindowLongPtrA(Client, GWLP_WNDPROC), GetClassLongPtrA(Client, GCLP_WNDPROC)) << "subclassed";

  Hook->SetOptions(Hook->Options() | Opt(oc3dMDIForm));
  EXPECT_TRUE(GetWindowLongPtrA(Client, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  Hook->SetOptions(Hook->Options() & ~Opt(oc3dMDIForm));
  EXPECT_FALSE(GetWindowLongPtrA(Client, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  Hook->SetOptions(Hook->Options() | Opt(oc3dMDIForm));

  TPaintCount CountA, CountB;
  TForm* Children[2] = {};
  TPaintCount* Counts[2] = {&CountA, &CountB};
  for (int I = 0; I < 2; ++I) {
    Children[I] = TCustomForm::CreateNew<TForm>(nullptr);
    Children[I]->SetBounds(120 + 170 * I, 120 + 40 * I, 150, 120);
    Children[I]->SetCaption(I ? "Child B" : "Child A");
    Children[I]->OnPaint = EVENT(Counts[I], TPaintCount::Paint);
    Children[I]->SetFormStyle(fsMDIChild);
  }
  TFormPtr GuardA(Children[0]), GuardB(Children[1]);
  PumpRounds(3);
  for (TForm* C : Children) {
    EXPECT_EQ(Style(C) & WS_CAPTION, 0) << "no caption";
    EXPECT_EQ(GetParent(C->Handle()), Client);
  }
  // Each child's own handler, once per paint, with the hook as sender.
  for (int I = 0; I < 2; ++I) {
    Counts[I]->Senders.clear();
    RedrawWindow(Children[I]->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpRounds(1);
    EXPECT_EQ(Counts[I]->Senders, std::vector<TObject*>{Hook}) << I;
  }
  // The child's gradient, the client's wallpaper over its gradient.
  auto Child = vcltest::CaptureClient(Children[0]->Handle());
  EXPECT_EQ(Hex(Child->Canvas()->Pixels(60, 0)), Hex(clNavy));
  suitetest::RedrawAll(Frame->Handle());
  RECT CR;
  GetWindowRect(Client, &CR);
  auto Shot = Screen(RECT{CR.left, CR.top, CR.right, CR.bottom});
  const int Edge = GetSystemMetrics(SM_CXEDGE);
  EXPECT_EQ(Hex(Shot->Canvas()->Pixels(Edge + 25, Edge + 5)), Hex(clAqua)) << "the wallpaper";
  EXPECT_EQ(Hex(Shot->Canvas()->Pixels(Edge + 5, Edge + 5)), Hex(clWhite)) << "the wallpaper";
  EXPECT_EQ(Hex(Shot->Canvas()->Pixels(Edge + 300, Edge + 2)), Hex(clNavy)) << "the gradient beside it";
  RECT FW;
  GetWindowRect(Frame->Handle(), &FW);
  SaveShot(Screen(FW).get(), "mdi-frame.bmp");

  // A child made again is wrapped once: still one call per paint.
  Children[1]->SetBorderStyle(bsSingle);
  PumpRounds(3);
  CountB.Senders.clear();
  RedrawWindow(Children[1]->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpRounds(1);
  EXPECT_EQ(CountB.Senders.size(), 1u);

  // Freed, the hook gives the client its procedure and the children their handlers back.
  Hook->Free();
  EXPECT_EQ(GetWindowLongPtrA(Client, GWLP_WNDPROC), GetClassLongPtrA(Client, GCLP_WNDPROC));
  EXPECT_EQ(Children[0]->OnPaint, EVENT(&CountA, TPaintCount::Paint));
  GuardA.reset();
  GuardB.reset();
}

}  // namespace
