// The notification-area icon and meter with the real shell of the Wine desktop: Wine shows its
// Shell_TrayWnd at the bottom of the desktop once an icon is added and draws the icons on it
// (no window per icon), the first at its right end, each next one 20 pixels to the left. The
// tests find an icon by its pixels there, click it with the real mouse, read its tip from the
// shell's tooltip window and pick from its menus as a user does.
#include "suite/MystdTray.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using vcltest::PumpRounds;
using vcltest::PumpUntil;

HWND Tray() { return FindWindowA("Shell_TrayWnd", nullptr); }

// A 16 x 16 opaque icon: the left half one colour, the right half another.
HICON MakeIcon(COLORREF Left, COLORREF Right) {
  HDC Screen = GetDC(nullptr);
  HBITMAP Image = CreateCompatibleBitmap(Screen, 16, 16);
  HBITMAP Mask = CreateBitmap(16, 16, 1, 1, nullptr);
  HDC DC = CreateCompatibleDC(Screen);
  HGDIOBJ Old = SelectObject(DC, Mask);
  PatBlt(DC, 0, 0, 16, 16, BLACKNESS);
  SelectObject(DC, Image);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) SetPixel(DC, X, Y, X < 8 ? Left : Right);
  SelectObject(DC, Old);
  DeleteDC(DC);
  ReleaseDC(nullptr, Screen);
  ICONINFO Info{TRUE, 0, 0, Mask, Image};
  HICON Icon = CreateIconIndirect(&Info);
  DeleteObject(Image);
  DeleteObject(Mask);
  return Icon;
}

// The screen's pixels over a rectangle, as $00BBGGRR colours.
struct TScreenGrab {
  RECT R{};
  std::vector<TColor> Pixels;
  explicit TScreenGrab(RECT Area) : R(Area) {
    const int W = R.right - R.left, H = R.bottom - R.top;
    Pixels.resize(size_t(W * H));
    HDC Screen = GetDC(nullptr);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) Pixels[size_t(Y * W + X)] = TColor(GetPixel(Screen, R.left + X, R.top + Y));
    ReleaseDC(nullptr, Screen);
  }
  // Screen coordinates.
  TColor At(int X, int Y) const {
    const int W = R.right - R.left;
    if (X < R.left || X >= R.right || Y < R.top || Y >= R.bottom) return TColor(-1);
    return Pixels[size_t((Y - R.top) * W + X - R.left)];
  }
};

// Where a 16 x 16 picture shows in the tray (its top-left corner on the screen), found by
// Matches(Grab, X, Y); (-1, -1) when it does not show.
POINT FindInTray(const std::function<bool(const TScreenGrab&, int, int)>& Matches) {
  HWND T = Tray();
  if (!T || !IsWindowVisible(T)) return POINT{-1, -1};
  RECT R;
  GetWindowRect(T, &R);
  const TScreenGrab G(R);
  for (int Y = R.top; Y + 16 <= R.bottom; ++Y)
    for (int X = R.right - 16; X >= R.left; --X)
      if (Matches(G, X, Y)) return POINT{X, Y};
  return POINT{-1, -1};
}

bool IsTwoColourIcon(const TScreenGrab& G, int X, int Y, TColor Left, TColor Right) {
  for (int J = 0; J < 16; ++J)
    for (int I = 0; I < 16; ++I)
      if (G.At(X + I, Y + J) != (I < 8 ? Left : Right)) return false;
  return true;
}

POINT FindTwoColour(TColor Left, TColor Right) {
  return FindInTray([&](const TScreenGrab& G, int X, int Y) { return IsTwoColourIcon(G, X, Y, Left, Right); });
}

// Waits for the picture to show (or to go) and returns where it is.
POINT WaitFor(const std::function<POINT()>& Find, bool Shown = true) {
  POINT P{-1, -1};
  PumpUntil([&] {
    P = Find();
    return (P.x >= 0) == Shown;
  });
  return P;
}

void MouseTo(int X, int Y) { vcltest::MoveMouse(GetDesktopWindow(), X, Y); }

void MouseButton(DWORD Flags) {
  INPUT In{};
  In.type = INPUT_MOUSE;
  In.mi.dwFlags = Flags;
  SendInput(1, &In, sizeof In);
}

void ClickAt(int X, int Y, DWORD Down = MOUSEEVENTF_LEFTDOWN, DWORD Up = MOUSEEVENTF_LEFTUP) {
  MouseTo(X, Y);
  MouseButton(Down);
  MouseButton(Up);
}

// Lets the double-click time pass, so the next click starts afresh.
void NextClickIsSingle() { PumpRounds(int(GetDoubleClickTime()) / 10 + 10); }

// The text of the shell's tip for the icon under the mouse, once it shows.
std::string ShellTip() {
  HWND T = Tray();
  DWORD Shell = 0;
  GetWindowThreadProcessId(T, &Shell);
  std::string Text;
  PumpUntil([&] {
    HWND Found = nullptr;
    for (HWND W = FindWindowExA(nullptr, nullptr, "tooltips_class32", nullptr); W;
         W = FindWindowExA(nullptr, W, "tooltips_class32", nullptr)) {
      DWORD Pid = 0;
      GetWindowThreadProcessId(W, &Pid);
      if (Pid == Shell && IsWindowVisible(W)) Found = W;
    }
    if (!Found) return false;
    char Buf[256] = {};
    SendMessageA(Found, WM_GETTEXT, sizeof Buf, reinterpret_cast<LPARAM>(Buf));
    Text = Buf;
    return !Text.empty();
  }, 500);
  return Text;
}

// Records what a tray component tells and what its utility window gets from the shell.
class TTrayLog : public TObject {
public:
  std::vector<std::string> Events;
  std::vector<std::pair<WPARAM, UINT>> Callbacks;  // (uID, mouse message)
  bool AllowDefault = true;
  bool AllowEnd = true;

  void Click(TObject*) { Events.push_back("click"); }
  void DblClick(TObject*) { Events.push_back("dblclick"); }
  void LeftMenu(TObject*) { Events.push_back("leftmenu"); }
  void RightMenu(TObject*) { Events.push_back("rightmenu"); }
  void RightClick(TObject*, TMouseButton, TShiftState, int, int) { Events.push_back("rightclick"); }
  void Down(TObject*, TMouseButton B, TShiftState S, int X, int Y) { Button("down", B, S, X, Y); }
  void Up(TObject*, TMouseButton B, TShiftState S, int X, int Y) { Button("up", B, S, X, Y); }
  void Move(TObject*, TShiftState, int, int) { ++Moves; }
  void Default(TObject*, bool& DoDefault) {
    Events.push_back("default");
    DoDefault = AllowDefault;
  }
  void AskEnd(bool& DoEnd) {
    Events.push_back("askend");
    DoEnd = AllowEnd;
  }
  void Item(TObject*) { Events.push_back("item"); }
  void Attach(TqCustomTrayIcon* T) {
    T->OnClick = EVENT(this, TTrayLog::Click);
    T->OnDblClick = EVENT(this, TTrayLog::DblClick);
    T->OnleftMenu = EVENT(this, TTrayLog::LeftMenu);
    T->OnRightMenu = EVENT(this, TTrayLog::RightMenu);
    T->OnRightClick = EVENT(this, TTrayLog::RightClick);
    T->OnMouseDown = EVENT(this, TTrayLog::Down);
    T->OnMouseUp = EVENT(this, TTrayLog::Up);
    T->OnMouseMove = EVENT(this, TTrayLog::Move);
    T->OnDefaultMenu = EVENT(this, TTrayLog::Default);
    T->OnAskEndSession = EVENT(this, TTrayLog::AskEnd);
  }
  // Watches the messages the shell sends to the component's window.
  void Watch(TqCustomTrayIcon* T) {
    Watched = this;
    Wnd = T->Handle();
    Previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Spy)));
  }
  ~TTrayLog() override {
    if (Wnd && IsWindow(Wnd)) SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Previous));
    if (Watched == this) Watched = nullptr;
  }
  int Moves = 0;
  POINT Where{-1, -1};  // the screen position of the last button event
  // The mouse messages without the moves.
  std::vector<UINT> Buttons() const {
    std::vector<UINT> R;
    for (auto& C : Callbacks)
      if (C.second != WM_MOUSEMOVE) R.push_back(C.second);
    return R;
  }

private:
  void Button(const char* What, TMouseButton B, TShiftState S, int X, int Y) {
    const char* Names[] = {"left", "right", "middle"};
    Events.push_back(std::string(What) + " " + Names[B]);
    EXPECT_TRUE(S & ShiftOf(B == mbLeft ? ssLeft : B == mbRight ? ssRight : ssMiddle));
    Where = POINT{X, Y};
  }
  static LRESULT CALLBACK Spy(HWND W, UINT M, WPARAM WP, LPARAM LP) {
    if (M == TqCustomTrayIcon::WM_TRAYCALLBACK && Watched) Watched->Callbacks.emplace_back(WP, UINT(LOWORD(LP)));
    return CallWindowProcA(Watched ? Watched->Previous : DefWindowProcA, W, M, WP, LP);
  }
  static inline TTrayLog* Watched = nullptr;
  HWND Wnd = nullptr;
  WNDPROC Previous = nullptr;
};

// Picks an item of the next pop-up menu from another thread, as a user would: once the menu
// window shows, a click on the item.
class TMenuPicker {
public:
  explicit TMenuPicker(int Item) {
    FThread = std::thread([this, Item] {
      for (int I = 0; I < 500 && !FStop; ++I) {
        HWND Menu = FindWindowA("#32768", nullptr);
        if (Menu && IsWindowVisible(Menu)) {
          HMENU H = reinterpret_cast<HMENU>(SendMessageA(Menu, 0x01E1 /* MN_GETHMENU */, 0, 0));
          RECT R{};
          if (H && GetMenuItemRect(nullptr, H, UINT(Item), &R)) {
            ClickAt((R.left + R.right) / 2, (R.top + R.bottom) / 2);
            FPicked = true;
            return;
          }
        }
        Sleep(10);
      }
    });
  }
  ~TMenuPicker() {
    FStop = true;
    FThread.join();
  }
  bool Picked() const { return FPicked; }

private:
  std::thread FThread;
  std::atomic<bool> FStop{false}, FPicked{false};
};

// A main form, as the program would have; the tray components it owns go with it.
struct TTrayFixture {
  TForm* Main = nullptr;
  TTrayFixture() {
    Application->CreateForm(&Main);
    Main->SetBounds(100, 100, 300, 200);
    Main->Show();
    PumpRounds(2);
  }
  ~TTrayFixture() {
    TObject::Free(Main);
    PumpUntil([] { return !Tray() || !IsWindowVisible(Tray()); });
  }
  TqTrayIcon* AddIcon(COLORREF Left, COLORREF Right, int Tag = 0) {
    auto* T = TComponent::Create<TqTrayIcon>(Main);
    TIcon Icon;
    Icon.SetHandle(MakeIcon(Left, Right));
    T->SetIcon(&Icon);
    T->SetTag(Tag);
    T->SetActive(true);
    return T;
  }
};

constexpr TColor Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00, Magenta = 0xFF00FF, Cyan = 0xFFFF00;

TEST(TrayIcon, TheShellShowsIconsRightToLeftOnItsTray) {
  TTrayFixture F;
  auto* First = F.AddIcon(Red, Blue, 1);
  EXPECT_TRUE(First->Active());
  const POINT A = WaitFor([] { return FindTwoColour(Red, Blue); });
  ASSERT_GE(A.x, 0) << "the icon does not show";
  HWND T = Tray();
  RECT R;
  GetWindowRect(T, &R);
  EXPECT_EQ(R.bottom, GetSystemMetrics(SM_CYSCREEN)) << "the tray lies at the bottom of the desktop";
  EXPECT_GT(A.x, R.right - 24) << "the first icon at the right end";
  auto* Second = F.AddIcon(Green, Magenta, 2);
  const POINT B = WaitFor([] { return FindTwoColour(Green, Magenta); });
  EXPECT_EQ(B.x, A.x - 20);
  EXPECT_EQ(B.y, A.y);
  // Neither is a window of its own.
  EXPECT_EQ(WindowFromPoint(POINT{A.x + 8, A.y + 8}), T);
  // Gone again when they go.
  TObject::Free(Second);
  EXPECT_LT(WaitFor([] { return FindTwoColour(Green, Magenta); }, false).x, 0);
  First->SetActive(false);
  EXPECT_LT(WaitFor([] { return FindTwoColour(Red, Blue); }, false).x, 0);
}

TEST(TrayIcon, ClicksArriveAsEventsInOrder) {
  TTrayFixture F;
  auto* T = F.AddIcon(Red, Blue, 7);
  TTrayLog Log;
  Log.Attach(T);
  Log.Watch(T);
  const POINT A = WaitFor([] { return FindTwoColour(Red, Blue); });
  ASSERT_GE(A.x, 0);
  ClickAt(A.x + 8, A.y + 8);
  ASSERT_TRUE(PumpUntil([&] { return Log.Events.size() >= 3; }));
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"down left", "click", "up left"}));
  EXPECT_TRUE(Log.Where.x >= A.x && Log.Where.x < A.x + 16 && Log.Where.y >= A.y && Log.Where.y < A.y + 16)
      << "the cursor's screen position: " << Log.Where.x << ", " << Log.Where.y;
  ASSERT_FALSE(Log.Callbacks.empty());
  for (auto& C : Log.Callbacks) EXPECT_EQ(C.first, 7u) << "the callback carries the Tag as the icon's id";
  EXPECT_GT(Log.Moves, 0);
  // A double click: down, up, double, up from the shell; the component turns it into events.
  Log.Events.clear();
  Log.Callbacks.clear();
  NextClickIsSingle();
  ClickAt(A.x + 8, A.y + 8);
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  MouseButton(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return Log.Buttons().size() >= 4; }));
  EXPECT_EQ(Log.Buttons(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"down left", "click", "up left", "dblclick", "up left"}));
  // Pressed beside the icon, released on it: only the release.
  Log.Events.clear();
  NextClickIsSingle();
  MouseTo(A.x - 40, A.y + 8);
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  MouseTo(A.x + 8, A.y + 8);
  MouseButton(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !Log.Events.empty(); }));
  PumpRounds(5);
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"up left"}));
  // The right and middle buttons.
  Log.Events.clear();
  ClickAt(A.x + 8, A.y + 8, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([&] { return Log.Events.size() >= 3; }));
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"down right", "rightclick", "up right"}));
  Log.Events.clear();
  ClickAt(A.x + 8, A.y + 8, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
  ASSERT_TRUE(PumpUntil([&] { return Log.Events.size() >= 2; }));
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"down middle", "up middle"}));
}

// A popup menu of two items, the second one the default.
TPopupMenu* MakeMenu(TComponent* Owner, TTrayLog& Log, TMenuItem** Default = nullptr) {
  auto* Menu = TComponent::Create<TPopupMenu>(Owner);
  for (const char* Caption : {"First", "Second"}) {
    auto* Item = TComponent::Create<TMenuItem>(Menu);
    Item->SetCaption(Caption);
    Menu->Items()->Add(Item);
  }
  Menu->Items()->Items(0)->OnClick = EVENT(&Log, TTrayLog::Item);
  Menu->Items()->Items(1)->SetDefault(true);
  if (Default) *Default = Menu->Items()->Items(1);
  return Menu;
}

class TItemLog : public TObject {
public:
  std::vector<std::string>* Events;
  void Second(TObject*) { Events->push_back("second"); }
};

TEST(TrayIcon, MenusPopUpOnTheirButtonAndTheDefaultRunsOnADoubleClick) {
  TTrayFixture F;
  auto* T = F.AddIcon(Red, Blue);
  TTrayLog Log;
  Log.Attach(T);
  TMenuItem* Default = nullptr;
  TPopupMenu* Menu = MakeMenu(F.Main, Log, &Default);
  TItemLog Items{};
  Items.Events = &Log.Events;
  Default->OnClick = EVENT(&Items, TItemLog::Second);
  T->SetPopupMenu(Menu);
  T->SetLeftPopupMenu(Menu);
  const POINT A = WaitFor([] { return FindTwoColour(Red, Blue); });
  ASSERT_GE(A.x, 0);
  {
    TMenuPicker Pick(0);
    ClickAt(A.x + 8, A.y + 8, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return Log.Events.size() >= 5; }));
    EXPECT_TRUE(Pick.Picked());
  }
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"down right", "rightclick", "rightmenu", "item", "up right"}));
  EXPECT_EQ(Menu->PopupComponent(), T);
  Log.Events.clear();
  NextClickIsSingle();
  {
    TMenuPicker Pick(1);
    ClickAt(A.x + 8, A.y + 8);
    ASSERT_TRUE(PumpUntil([&] { return Log.Events.size() >= 5; }));
  }
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"down left", "click", "leftmenu", "second", "up left"}));
  // A double click with DoDefaultMenu: the default item instead of OnDblClick. The left button's
  // menu would take the first click, so the left menu goes.
  T->SetLeftPopupMenu(nullptr);
  T->SetDoDefaultMenu(true);
  Log.Events.clear();
  NextClickIsSingle();
  ClickAt(A.x + 8, A.y + 8);
  ClickAt(A.x + 8, A.y + 8);
  ASSERT_TRUE(PumpUntil([&] { return Log.Events.size() >= 6; }));
  EXPECT_EQ(Log.Events,
            (std::vector<std::string>{"down left", "click", "up left", "default", "second", "up left"}))
      << "the down of the second click is the double click";
  // OnDefaultMenu says no: OnDblClick.
  Log.AllowDefault = false;
  Log.Events.clear();
  NextClickIsSingle();
  ClickAt(A.x + 8, A.y + 8);
  ClickAt(A.x + 8, A.y + 8);
  ASSERT_TRUE(PumpUntil([&] { return Log.Events.size() >= 6; }));
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"down left", "click", "up left", "default", "dblclick", "up left"}));
  // The menu's end clears the references.
  TObject::Free(Menu);
  EXPECT_EQ(T->PopupMenu(), nullptr);
}

// A menu item that frees the tray, or the form that owns it, from inside the tray's callback.
// A tray made right after is likely to take the freed one's memory: a callback still reading the
// freed tray then calls the new one's OnMouseUp, which is recorded.
class TFreer : public TObject {
public:
  TTrayLog* Log = nullptr;
  TObject* Victim = nullptr;
  TqTrayIcon* Decoy = nullptr;
  void Free(TObject*) {
    Log->Events.push_back("freed");
    TObject::Free(std::exchange(Victim, nullptr));
    Decoy = TComponent::Create<TqTrayIcon>(nullptr);
    Decoy->OnMouseUp = EVENT(Log, TTrayLog::Up);
  }
  ~TFreer() override { TObject::Free(Decoy); }
};

TEST(TrayIcon, AMenuItemMayFreeTheTrayOrItsForm) {
  for (bool WholeForm : {false, true}) {
    SCOPED_TRACE(WholeForm ? "its form" : "the tray");
    TTrayFixture F;
    TForm* Other = WholeForm ? TCustomForm::CreateNew<TForm>(nullptr) : nullptr;
    auto* T = TComponent::Create<TqTrayIcon>(WholeForm ? static_cast<TComponent*>(Other) : F.Main);
    TIcon Icon;
    Icon.SetHandle(MakeIcon(Red, Green));
    T->SetIcon(&Icon);
    T->SetActive(true);
    TTrayLog Log;
    Log.Attach(T);
    TPopupMenu* Menu = MakeMenu(F.Main, Log);
    TFreer Freer;
    Freer.Log = &Log;
    Freer.Victim = WholeForm ? static_cast<TObject*>(Other) : T;
    Menu->Items()->Items(0)->OnClick = EVENT(&Freer, TFreer::Free);
    T->SetPopupMenu(Menu);
    const POINT A = WaitFor([] { return FindTwoColour(Red, Green); });
    ASSERT_GE(A.x, 0);
    {
      TMenuPicker Pick(0);
      ClickAt(A.x + 8, A.y + 8, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
      ASSERT_TRUE(PumpUntil([&] { return !Freer.Victim; }));
      EXPECT_TRUE(Pick.Picked());
    }
    PumpRounds(10);
    EXPECT_EQ(Log.Events, (std::vector<std::string>{"down right", "rightclick", "rightmenu", "freed"}))
        << "nothing after the tray went";
    EXPECT_LT(WaitFor([] { return FindTwoColour(Red, Green); }, false).x, 0) << "the icon went with it";
  }
}

TEST(TrayIcon, ChangesReachTheShellAndTheTipIsCut) {
  TTrayFixture F;
  auto* T = F.AddIcon(Red, Blue);
  T->SetToolTip("First tip");
  const POINT A = WaitFor([] { return FindTwoColour(Red, Blue); });
  ASSERT_GE(A.x, 0);
  MouseTo(A.x + 8, A.y + 8);
  EXPECT_EQ(ShellTip(), "First tip");
  // A new icon and tip on the same place.
  TIcon Icon;
  Icon.SetHandle(MakeIcon(Cyan, Magenta));
  T->SetIcon(&Icon);
  const std::string Long(100, 'x');
  T->SetToolTip((Long.substr(0, 50) + std::string(50, 'y')).c_str());
  EXPECT_EQ(T->ToolTip().Length(), 62);
  const POINT B = WaitFor([] { return FindTwoColour(Cyan, Magenta); });
  EXPECT_EQ(B.x, A.x);
  EXPECT_LT(FindTwoColour(Red, Blue).x, 0);
  MouseTo(A.x - 30, A.y + 8);
  PumpRounds(30);
  MouseTo(A.x + 8, A.y + 8);
  EXPECT_EQ(ShellTip(), Long.substr(0, 50) + std::string(12, 'y'));
}

TEST(TrayIcon, SessionEndIsAskedOnTheMainFormOnly) {
  TTrayFixture F;
  auto* OnMain = F.AddIcon(Red, Blue);
  TTrayLog Log;
  Log.Attach(OnMain);
  Log.AllowEnd = false;
  EXPECT_EQ(SendMessageA(OnMain->Handle(), WM_QUERYENDSESSION, 0, 0), 0);
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"askend"}));
  suitetest::TFormPtr Second(TCustomForm::CreateNew<TForm>(nullptr));
  auto* OnSecond = TComponent::Create<TqTrayIcon>(Second.get());
  TTrayLog Other;
  Other.Attach(OnSecond);
  Other.AllowEnd = false;
  EXPECT_EQ(SendMessageA(OnSecond->Handle(), WM_QUERYENDSESSION, 0, 0), 1) << "the system's answer";
  EXPECT_TRUE(Other.Events.empty());
  // The second form is shown, as HideParentForm says; with it on, hidden.
  PumpRounds(2);
  EXPECT_TRUE(Second->Visible());
  OnSecond->SetHideParentForm(true);
  PumpRounds(2);
  EXPECT_FALSE(Second->Visible());
}

// ---------------------------------------------------------------------------------------------
// The meter, found on the tray by its frame.
constexpr TColor Face = 0x00FFFF, Frame = 0x800000, Bar = 0x00FF00;

bool IsMeter(const TScreenGrab& G, int X, int Y) {
  for (int I = 0; I < 16; ++I)
    if (G.At(X + I, Y) != Frame || G.At(X + I, Y + 15) != Frame || G.At(X, Y + I) != Frame ||
        G.At(X + 15, Y + I) != Frame)
      return false;
  return true;
}

POINT FindMeter() { return FindInTray(&IsMeter); }

// The meter's inner 14 x 14 pixels as text: B bar, F face, ? anything else.
std::vector<std::string> MeterInside(POINT At) {
  RECT R{At.x, At.y, At.x + 16, At.y + 16};
  const TScreenGrab G(R);
  std::vector<std::string> Rows;
  for (int Y = 1; Y <= 14; ++Y) {
    std::string Row;
    for (int X = 1; X <= 14; ++X) {
      const TColor C = G.At(At.x + X, At.y + Y);
      Row += C == Bar ? 'B' : C == Face ? 'F' : '?';
    }
    Rows.push_back(Row);
  }
  return Rows;
}

std::vector<std::string> Expected(int BarRows, bool Led = false) {
  std::vector<std::string> Rows;
  for (int Row = 1; Row <= 14; ++Row) {
    const bool InBar = Row > 14 - BarRows && !(Led && Row % 2 == 0);
    Rows.push_back(std::string(14, InBar ? 'B' : 'F'));
  }
  return Rows;
}

struct TMeterFixture : TTrayFixture {
  TqcTrayMeter* M;
  TMeterFixture() {
    M = TComponent::Create<TqcTrayMeter>(Main);
    M->SetColor(Face);
    M->SetFrameColor(Frame);
    M->SetBarColor(Bar);
    M->SetUsePctOnBar(false);
    M->SetActive(true);
  }
};

TEST(TrayMeter, BarLengthFollowsThePercentage) {
  const struct {
    int Percent, Length;
  } Cases[] = {{0, 0}, {3, 0}, {4, 1}, {25, 4}, {50, 7}, {75, 10}, {100, 14}};
  for (const auto& C : Cases) EXPECT_EQ(TqcTrayMeter::BarLength(C.Percent), C.Length) << C.Percent << " %";
  TMeterFixture F;
  F.M->SetValue(50);
  POINT At = WaitFor(&FindMeter);
  ASSERT_GE(At.x, 0);
  EXPECT_TRUE(PumpUntil([&] { return MeterInside(At) == Expected(7); })) << "Value 50: 7 rows";
  F.M->SetValue(75);
  EXPECT_TRUE(PumpUntil([&] { return MeterInside(At) == Expected(10); })) << "Value 75: 10 rows";
  F.M->SetUseLed(true);
  EXPECT_TRUE(PumpUntil([&] { return MeterInside(At) == Expected(10, true); })) << "LED segments";
  F.M->SetUseLed(false);
  F.M->SetDirection(TqcTM_Right);
  EXPECT_TRUE(PumpUntil([&] {
    auto Rows = MeterInside(At);
    for (auto& R : Rows)
      if (R != std::string(10, 'B') + std::string(4, 'F')) return false;
    return true;
  })) << "to the right: the first 10 columns";
  // The percentage on the bar: some pixels in PctColor.
  F.M->SetPctColor(Red);
  F.M->SetUsePctOnBar(true);
  EXPECT_TRUE(PumpUntil([&] {
    const TScreenGrab G(RECT{At.x, At.y, At.x + 16, At.y + 16});
    return std::count(G.Pixels.begin(), G.Pixels.end(), Red) > 5;
  }));
}

TEST(TrayMeter, ValueRules) {
  auto* M = TComponent::Create<TqcTrayMeter>(nullptr);
  M->SetValue(50);
  EXPECT_EQ(M->Percent(), 50);
  M->SetMax(-5);
  EXPECT_EQ(M->Max(), 1) << "Min + 1";
  EXPECT_EQ(M->Value(), 1);
  M->SetMax(200);
  M->SetPercent(150);
  EXPECT_EQ(M->Value(), 200) << "150 % counts as 100";
  EXPECT_EQ(M->Percent(), 100);
  M->SetMin(-5);
  M->SetMax(0);
  M->SetPercent(50);
  EXPECT_EQ(M->Value(), -2) << "trunc(-2.5)";
  // The whole integer range: Percent in 64 bits, Min kept below the maximum.
  M->SetMin(INT_MIN);
  M->SetMax(INT_MAX);
  M->SetValue(INT_MAX);
  EXPECT_EQ(M->Percent(), 100);
  M->SetValue(-1);
  EXPECT_EQ(M->Percent(), 49);
  M->SetMin(INT_MAX);
  EXPECT_EQ(M->Min(), INT_MAX - 1);
  EXPECT_EQ(M->Max(), INT_MAX);
  EXPECT_EQ(M->Percent(), 0);
  TObject::Free(M);
}

TEST(TrayMeter, TipFollowsItsTemplate) {
  TMeterFixture F;
  // 30 on 0..200: the value and the percentage differ, so their order shows.
  F.M->SetMax(200);
  F.M->SetValue(30);
  F.M->SetToolTip("%d%%");
  POINT At = WaitFor(&FindMeter);
  ASSERT_GE(At.x, 0);
  MouseTo(At.x + 8, At.y + 8);
  EXPECT_EQ(ShellTip(), "15%");
  const struct {
    TqcTrayHintStyle Style;
    const char* Template;
    const char* Tip;
  } Cases[] = {
      {thsTotalBar, "value %d", "value 30"},
      {thsTotPct, "%d = %d %%", "30 = 15 %"},
      {thsPctTot, "%d %% of %d", "15 % of 30"},
      {thsPctTot, "%s", "15 % of 30"},  // a template that does not fit keeps the tip
      {thsPctBar, "%d %d", "15 % of 30"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Template);
    F.M->SetToolTipStyle(C.Style);
    F.M->SetToolTip(C.Template);
    MouseTo(At.x - 30, At.y + 8);
    PumpRounds(30);
    MouseTo(At.x + 8, At.y + 8);
    EXPECT_EQ(ShellTip(), C.Tip);
  }
}

TEST(TrayDefaults, PublishedDefaultsMatchFreshComponents) {
  ExpectClassDefaultsMatch(TqTrayIcon::StaticClass());
  ExpectClassDefaultsMatch(TqcTrayMeter::StaticClass());
  EXPECT_EQ(NOTIFYICONDATAA_V1_SIZE, sizeof(void*) == 8 ? 104u : 88u);
  EXPECT_EQ(TqcTrayMeter::StaticClass()->FindProp("Icon"), nullptr) << "the meter draws its own";
}

}  // namespace
