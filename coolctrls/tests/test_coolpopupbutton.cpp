// The popup buttons with the real mouse and a real tracked menu: the state walk, clicks, edges,
// the menu's commands, owner drawing, hints, help, accelerators and alignment.
#include "coolctrls/CoolCtrls.h"
#include "rtl/tests/default_check.h"
#include "suite/tests/suitetest.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using suitetest::TFormPtr;

// A shown form with a popup button, and the button's menu.
struct TPopupFixture {
  TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  TCoolPopupButton* Button;
  TPopupMenu* Menu;
  explicit TPopupFixture(bool WithMenu = true) {
    Form->SetBounds(100, 100, 360, 260);
    Button = TComponent::Create<TCoolPopupButton>(Form.get());
    Button->SetBounds(40, 40, 119, 19);
    Button->SetCaption("Pick");
    Button->SetParent(Form.get());
    Menu = TComponent::Create<TPopupMenu>(Form.get());
    if (WithMenu) Button->SetDownMenu(Menu);
    Form->Show();
    vcltest::PumpMessages();
    SetForegroundWindow(Form->Handle());
    vcltest::MoveMouse(Form->Handle(), 300, 200);
  }
  TMenuItem* AddItem(const char* Caption, const char* Hint = "") {
    auto* I = TComponent::Create<TMenuItem>(Form.get());
    I->SetCaption(Caption);
    I->SetHint(Hint);
    Menu->Items()->Add(I);
    return I;
  }
  // Client point of the form inside the button's main or arrow part.
  TPoint MainPart() const { return {Button->Left() + 20, Button->Top() + 9}; }
  TPoint ArrowPart() const { return {Button->Left() + Button->Width() - 8, Button->Top() + 9}; }
};

HWND VisibleMenuWindow() {
  HWND W = nullptr;
  while ((W = FindWindowExA(nullptr, W, "#32768", nullptr)))
    if (IsWindowVisible(W)) return W;
  return nullptr;
}

// Presses the left button where the cursor is (opening the menu) and, once a menu window is up,
// calls WhileOpen (on another thread) with it and then sends Keys.
void OpenMenuAndType(const std::vector<WORD>& Keys, const std::function<void(HWND)>& WhileOpen = {}) {
  std::atomic<bool> Up{false};
  std::thread Keyboard([&] {
    HWND MenuWnd = nullptr;
    for (int I = 0; I < 500 && !MenuWnd; ++I) {
      Sleep(10);
      MenuWnd = VisibleMenuWindow();
    }
    Up = MenuWnd != nullptr;
    if (!MenuWnd) return;
    Sleep(100);
    if (WhileOpen) WhileOpen(MenuWnd);
    for (WORD K : Keys) {
      INPUT In[2] = {vcltest::KeyInput(K, true), vcltest::KeyInput(K, false)};
      SendInput(1, &In[0], sizeof(INPUT));
      Sleep(40);
      SendInput(1, &In[1], sizeof(INPUT));
      Sleep(80);
    }
  });
  vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, true), vcltest::MouseButtonInput(mbLeft, false)});
  Keyboard.join();
  vcltest::PumpRounds(5);
  EXPECT_TRUE(Up) << "the menu window came up";
}

struct TEventLog : TObject {
  std::vector<std::string> Events;
  void Clicked(TObject* Sender) { Events.push_back("click " + std::string(static_cast<TComponent*>(Sender)->Name().c_str())); }
  void Hinted(TObject*) { Events.push_back("hint " + std::string(Application->Hint().c_str())); }
  TRect Drawn;
  int Measured = 0;
  void Draw(TObject*, TCanvas* C, const TRect& R, bool) {
    Drawn = R;
    C->Brush()->SetColor(clRed);
    C->FillRect(R);
  }
  void Measure(TObject*, TCanvas*, int& W, int& H) {
    ++Measured;
    W = 150;
    H = 30;
  }
  unsigned short HelpCommand = 0;
  intptr_t HelpData = -1;
  void Help(unsigned short Command, intptr_t Data, bool& CallHelp, bool& Result) {
    HelpCommand = Command;
    HelpData = Data;
    CallHelp = false;
    Result = true;
  }
};

TEST(CoolPopupButton, Defaults) {
  for (TComponent* C : std::initializer_list<TComponent*>{TComponent::Create<TCoolPopupButton>(nullptr),
                                                          TComponent::Create<TCoolPopupButton2>(nullptr)}) {
    ExpectDefaultsMatch(C);
    TObject::Free(C);
  }
  auto* B = TComponent::Create<TCoolPopupButton>(nullptr);
  EXPECT_EQ(B->Width(), 119);
  EXPECT_EQ(B->Height(), 19);
  EXPECT_EQ(B->ButtonState(), 3);
  EXPECT_TRUE(IsWindow(B->PopupWindow()));
  B->SetNumGlyphs(5);
  EXPECT_EQ(B->NumGlyphs(), 2);
  B->SetMargin(-2);
  EXPECT_EQ(B->Margin(), -1);
  const HWND Popup = B->PopupWindow();
  EXPECT_EQ(SendMessageA(Popup, WM_QUERYENDSESSION, 0, 0), TRUE) << "left to the default procedure";
  TObject::Free(B);
  EXPECT_FALSE(IsWindow(Popup));
}

TEST(CoolPopupButton, StateWalkWithTheRealMouseAndOneClickOnThePress) {
  TPopupFixture F(false);
  TEventLog Log;
  F.Button->SetName("Btn");
  F.Button->OnClick = TNotifyEvent::Bind<&TEventLog::Clicked>(&Log);
  const HWND W = F.Form->Handle();
  struct TStep {
    const char* What;
    std::function<void()> Do;
    int State;
    size_t Clicks;
  };
  const TPoint M = F.MainPart(), A = F.ArrowPart();
  const TStep Steps[] = {
      {"enter", [&] { vcltest::MoveMouse(W, M.X, M.Y); }, 2, 0},
      {"press main", [&] { vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, true)}); }, 0, 1},
      {"release main", [&] { vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, false)}); }, 2, 1},
      {"leave", [&] { vcltest::MoveMouse(W, 300, 200); }, 3, 1},
      {"press arrow", [&] { vcltest::MoveMouse(W, A.X, A.Y); vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, true)}); }, 1, 1},
      {"release arrow", [&] { vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, false)}); }, 1, 1},
      {"press arrow again", [&] { vcltest::RealClick(W, A.X, A.Y); }, 2, 1},
  };
  for (const TStep& S : Steps) {
    S.Do();
    EXPECT_EQ(F.Button->ButtonState(), S.State) << S.What;
    EXPECT_EQ(Log.Events.size(), S.Clicks) << S.What;
  }
}

TEST(CoolPopupButton, EdgesByStateAndFlat) {
  TPopupFixture F(false);
  const HWND W = F.Form->Handle();
  const TPoint M = F.MainPart(), A = F.ArrowPart();
  const TColor Light = ColorToRGB(clBtnHighlight), Dark = ColorToRGB(clBtnShadow);
  auto Corner = [&](int X) { return vcltest::PixelAt(W, F.Button->Left() + X, F.Button->Top()); };
  const int ArrowX = F.Button->Width() - F.Button->BtnAddSize();
  F.Button->SetColor(clYellow);
  struct TCase {
    bool Flat, Designing;
    int State;
    TColor Main, Arrow;
  };
  const TCase Cases[] = {
      {false, false, 3, Light, Light}, {true, false, 3, clYellow, clYellow}, {true, true, 3, Light, Light},
      {true, false, 2, Light, Light},  {false, false, 0, Dark, Dark},       {false, false, 1, Light, Dark},
  };
  for (const TCase& C : Cases) {
    F.Button->SetFlat(C.Flat);
    F.Button->SetDesigning(C.Designing);
    F.Button->Invalidate();
    vcltest::MoveMouse(W, 300, 200);
    if (C.State == 2) vcltest::MoveMouse(W, M.X, M.Y);
    if (C.State == 0 || C.State == 1) {
      const TPoint P = C.State == 0 ? M : A;
      vcltest::MoveMouse(W, P.X, P.Y);
      vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, true)});
    }
    ASSERT_EQ(F.Button->ButtonState(), C.State);
    EXPECT_EQ(Corner(0), C.Main) << "main part, flat " << C.Flat << " designing " << C.Designing << " state " << C.State;
    EXPECT_EQ(Corner(ArrowX), C.Arrow) << "arrow part, flat " << C.Flat << " state " << C.State;
    if (C.State == 0 || C.State == 1) vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, false)});
    F.Button->SetDesigning(false);
    if (C.State == 1) vcltest::RealClick(W, A.X, A.Y);  // closes the open state
  }
}

TEST(CoolPopupButton, MenuChoiceOwnerDrawingHintsAndNoCaptureLeft) {
  TPopupFixture F;
  TEventLog Log;
  TMenuItem* First = F.AddItem("&First", "First|The first item");
  First->SetName("First");
  TMenuItem* Second = F.AddItem("&Second", "Second|The second item");
  Second->SetName("Second");
  for (TMenuItem* I : {First, Second}) {
    I->OnClick = TNotifyEvent::Bind<&TEventLog::Clicked>(&Log);
    I->OnMeasureItem = TMenuMeasureItemEvent::Bind<&TEventLog::Measure>(&Log);
  }
  Second->OnDrawItem = TMenuDrawItemEvent::Bind<&TEventLog::Draw>(&Log);
  F.Menu->SetOwnerDraw(true);
  Application->OnHint = TNotifyEvent::Bind<&TEventLog::Hinted>(&Log);

  const TPoint A = F.ArrowPart();
  vcltest::MoveMouse(F.Form->Handle(), A.X, A.Y);
  TColor SecondPixel = clNone;
  OpenMenuAndType({VK_DOWN, VK_DOWN, VK_RETURN}, [&](HWND Menu) {
    HDC DC = GetDC(Menu);
    SecondPixel = TColor(GetPixel(DC, 40, 3 + 30 + 15));
    ReleaseDC(Menu, DC);
  });
  Application->OnHint = nullptr;
  EXPECT_GE(Log.Measured, 2);
  EXPECT_EQ(Log.Drawn.Height(), 30) << "drawn in the measured rectangle";
  EXPECT_EQ(SecondPixel, clRed) << "the owner-drawn item on the menu window";
  const std::vector<std::string> Clicks = [&] {
    std::vector<std::string> C;
    for (auto& E : Log.Events)
      if (E.rfind("click", 0) == 0) C.push_back(E);
    return C;
  }();
  EXPECT_EQ(Clicks, std::vector<std::string>{"click Second"});
  EXPECT_NE(std::find(Log.Events.begin(), Log.Events.end(), "hint The first item"), Log.Events.end());
  EXPECT_NE(std::find(Log.Events.begin(), Log.Events.end(), "hint The second item"), Log.Events.end());
  EXPECT_EQ(Application->Hint(), "") << "empty after the menu";
  EXPECT_EQ(F.Button->ButtonState(), 2) << "the cursor is over the button";

  // No capture is left: a click elsewhere on the form reaches the form.
  vcltest::RealClick(F.Form->Handle(), 300, 200);
  EXPECT_EQ(F.Button->ButtonState(), 3);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(CoolPopupButton, AcceleratorOfAnOwnerDrawnItemAndSubmenu) {
  TPopupFixture F;
  TEventLog Log;
  F.AddItem("&Alpha")->SetName("Alpha");
  TMenuItem* Sub = F.AddItem("&More");
  TMenuItem* Deep = TComponent::Create<TMenuItem>(F.Form.get());
  Deep->SetCaption("&Deep");
  Deep->SetName("Deep");
  Sub->Add(Deep);
  TMenuItem* Beta = F.AddItem("&Beta");
  Beta->SetName("Beta");
  for (TMenuItem* I : {F.Menu->Items()->Items(0), Deep, Beta}) I->OnClick = TNotifyEvent::Bind<&TEventLog::Clicked>(&Log);
  F.Menu->SetOwnerDraw(true);
  const TPoint A = F.ArrowPart();
  vcltest::MoveMouse(F.Form->Handle(), A.X, A.Y);
  OpenMenuAndType({'B'});
  EXPECT_EQ(Log.Events, std::vector<std::string>{"click Beta"}) << "WM_MENUCHAR";
  vcltest::MoveMouse(F.Form->Handle(), A.X, A.Y);
  OpenMenuAndType({'M', 'D'});
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"click Beta", "click Deep"})) << "through the submenu";
}

// Records the item handle of the WM_HELP the popup window gets, then passes the message on.
struct THelpSpy {
  static inline WNDPROC Old = nullptr;
  static inline bool Seen = false;
  static inline HANDLE Item = nullptr;
  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_HELP) {
      Seen = true;
      Item = reinterpret_cast<const HELPINFO*>(LParam)->hItemHandle;
    }
    return CallWindowProcA(Old, Wnd, Msg, WParam, LParam);
  }
};

TEST(CoolPopupButton, HelpKeyReachesOnHelpWithTheItemsContext) {
  struct TCase {
    int ItemContext, FormContext;
    bool HelpIcon;
    unsigned short Command;
    intptr_t Data;
  };
  const TCase Cases[] = {
      {42, 7, false, HELP_CONTEXT, 42},
      {0, 7, false, HELP_CONTEXT, 7},
      {42, 7, true, HELP_CONTEXTPOPUP, 42},
  };
  for (const TCase& C : Cases) {
    TPopupFixture F;
    TEventLog Log;
    F.AddItem("&One")->SetHelpContext(C.ItemContext);
    F.Form->SetHelpContext(C.FormContext);
    if (C.HelpIcon) F.Form->SetBorderIcons((1u << biSystemMenu) | (1u << biHelp));
    SetForegroundWindow(F.Form->Handle());
    vcltest::PumpMessages();
    Application->OnHelp = THelpEvent::Bind<&TEventLog::Help>(&Log);
    const TPoint A = F.ArrowPart();
    vcltest::MoveMouse(F.Form->Handle(), A.X, A.Y);
    const HWND Popup = F.Button->PopupWindow();
    THelpSpy::Seen = false;
    THelpSpy::Old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&THelpSpy::Proc)));
    OpenMenuAndType({VK_DOWN, VK_F1, VK_ESCAPE});
    SetWindowLongPtrA(Popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(THelpSpy::Old));
    Application->OnHelp = nullptr;
    EXPECT_EQ(Log.HelpCommand, C.Command) << C.ItemContext << " " << C.HelpIcon;
    EXPECT_EQ(Log.HelpData, C.Data) << C.ItemContext << " " << C.HelpIcon;
    // Wine difference: its WM_HELP for a menu item leaves the menu handle out, and the routing
    // finds the item by its command instead. This fails once Wine passes the handle.
    EXPECT_TRUE(THelpSpy::Seen);
    EXPECT_EQ(THelpSpy::Item, nullptr) << "Wine now passes the menu handle with WM_HELP";
  }
}

TEST(CoolPopupButton, MenuPlacedByBiDiModeAndAlignment) {
  struct TCase {
    TBiDiMode Mode;
    TPopupAlignment Alignment;
    int Anchor;  // 0 the menu's left edge, 1 its right edge, 2 its centre at the corner
  };
  const TCase Cases[] = {
      {bdLeftToRight, paLeft, 0},  {bdLeftToRight, paRight, 1},  {bdLeftToRight, paCenter, 2},
      {bdRightToLeft, paLeft, 1},  {bdRightToLeft, paRight, 0},  {bdRightToLeft, paCenter, 2},
  };
  for (const TCase& C : Cases) {
    TPopupFixture F;
    F.Button->SetBounds(150, 40, 119, 19);
    F.AddItem("A wide enough item");
    F.Button->SetBiDiMode(C.Mode);
    F.Menu->SetAlignment(C.Alignment);
    const TPoint Corner = F.Form->ClientToScreen(TPoint{150, 59});
    RECT R{};
    const TPoint A = F.ArrowPart();
    vcltest::MoveMouse(F.Form->Handle(), A.X, A.Y);
    OpenMenuAndType({VK_ESCAPE}, [&](HWND Menu) { GetWindowRect(Menu, &R); });
    EXPECT_EQ(R.top, Corner.Y) << C.Mode << " " << C.Alignment;
    const int X = C.Anchor == 0 ? R.left : C.Anchor == 1 ? R.right : (R.left + R.right) / 2;
    EXPECT_NEAR(X, Corner.X, C.Anchor == 2 ? 1 : 0) << C.Mode << " " << C.Alignment;
  }
}

TEST(CoolPopupButton, RightButtonChoosesOnlyWithTheRightButtonFlag) {
  for (TTrackButton Track : {tbRightButton, tbLeftButton}) {
    TPopupFixture F;
    TEventLog Log;
    TMenuItem* I = F.AddItem("Only");
    I->SetName("Only");
    I->OnClick = TNotifyEvent::Bind<&TEventLog::Clicked>(&Log);
    F.Menu->SetTrackButton(Track);
    const TPoint A = F.ArrowPart();
    vcltest::MoveMouse(F.Form->Handle(), A.X, A.Y);
    std::atomic<bool> Chosen{false};
    OpenMenuAndType({}, [&](HWND Menu) {
      RECT R{};
      GetWindowRect(Menu, &R);
      SetCursorPos(R.left + 20, R.top + 8);
      Sleep(150);
      INPUT In[2] = {vcltest::MouseButtonInput(mbRight, true), vcltest::MouseButtonInput(mbRight, false)};
      SendInput(1, &In[0], sizeof(INPUT));
      Sleep(60);
      SendInput(1, &In[1], sizeof(INPUT));
      Sleep(200);
      Chosen = VisibleMenuWindow() == nullptr;
      if (!Chosen) {
        INPUT Esc[2] = {vcltest::KeyInput(VK_ESCAPE, true), vcltest::KeyInput(VK_ESCAPE, false)};
        SendInput(2, Esc, sizeof(INPUT));
      }
    });
    EXPECT_EQ(Log.Events.size(), Track == tbRightButton ? 1u : 0u) << "track button " << Track;
  }
}

TEST(CoolPopupButton2, NoFrameWhileItsMenuIsOpenAndTheChoiceRuns) {
  TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  Form->SetBounds(100, 100, 360, 260);
  auto* B = TComponent::Create<TCoolPopupButton2>(Form.get());
  B->SetBounds(40, 40, 119, 30);
  B->SetCaption("");
  B->SetColor(clYellow);
  B->SetBtnPaintOptions(0);
  B->SetParent(Form.get());
  auto* Menu = TComponent::Create<TPopupMenu>(Form.get());
  TEventLog Log;
  auto* Item = TComponent::Create<TMenuItem>(Form.get());
  Item->SetCaption("&Go");
  Item->SetName("Go");
  Item->OnClick = TNotifyEvent::Bind<&TEventLog::Clicked>(&Log);
  Menu->Items()->Add(Item);
  B->SetDownMenu(Menu);
  Form->Show();
  vcltest::PumpMessages();
  SetForegroundWindow(Form->Handle());
  const TColor AtRest = vcltest::PixelAt(B->Handle(), 0, 0);
  EXPECT_NE(AtRest, clYellow) << "the raised edge at rest";
  TColor WhileOpen = clNone;
  vcltest::MoveMouse(B->Handle(), 60, 15);
  // The click comes with the release, so the press and release both come first.
  OpenMenuAndType({VK_DOWN, VK_RETURN}, [&](HWND) {
    HDC DC = GetDC(B->Handle());
    WhileOpen = TColor(GetPixel(DC, 0, 0));
    ReleaseDC(B->Handle(), DC);
  });
  EXPECT_EQ(WhileOpen, clYellow) << "no frame while the menu is open";
  EXPECT_EQ(Log.Events, std::vector<std::string>{"click Go"});
  EXPECT_FALSE(B->MenuOpen());
  EXPECT_EQ(vcltest::PixelAt(B->Handle(), 0, 0), AtRest) << "the frame is back";
}

TEST(CoolPopupButton, Screenshot) {
  TPopupFixture F;
  F.Form->SetCaption("Popup button");
  auto Glyph = vcltest::MakeBitmap(12, 12, clGreen);
  Glyph->Canvas()->SetPixels(0, 11, clOlive);
  F.Button->SetGlyph(Glyph.get());
  F.AddItem("&Hexadecimal")->SetChecked(true);
  F.AddItem("&Dotted decimal");
  F.AddItem("-");
  F.AddItem("&Copy")->SetShortCut(ShortCut('C', ShiftOf(ssCtrl)));
  F.Menu->SetOwnerDraw(true);
  const TPoint A = F.ArrowPart();
  vcltest::MoveMouse(F.Form->Handle(), A.X, A.Y);
  RECT Frame{};
  GetWindowRect(F.Form->Handle(), &Frame);
  TBitmap Picture;
  Picture.SetPixelFormat(pf24bit);
  Picture.SetSize(Frame.right - Frame.left, Frame.bottom - Frame.top);
  HDC Target = Picture.Canvas()->Handle();
  OpenMenuAndType({VK_DOWN, VK_ESCAPE}, [&](HWND) {
    HDC Desk = GetDC(nullptr);
    BitBlt(Target, 0, 0, Frame.right - Frame.left, Frame.bottom - Frame.top, Desk, Frame.left, Frame.top, SRCCOPY);
    ReleaseDC(nullptr, Desk);
  });
  Picture.SaveToFile(AnsiString(ORVALEN_SHOTS) + "/cool-popup-button.bmp");
}

}  // namespace
