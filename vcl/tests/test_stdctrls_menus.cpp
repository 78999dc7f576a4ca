// Main and popup menus over real menu handles: the menu bar of a form, commands, item states,
// shortcuts and tracked popups.
#include "vcl/Menus.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using vcltest::PumpMessages;
using vcltest::PumpRounds;

class TRecorder : public TObject {
public:
  void Notify(TObject* Sender) {
    Senders.push_back(Sender);
    if (Then) Then(Sender);
  }
  int Count() const { return int(Senders.size()); }
  TNotifyEvent Event() { return EVENT(this, TRecorder::Notify); }
  std::vector<TObject*> Senders;
  std::function<void(TObject*)> Then;
};

TMenuItem* NewItem(TComponent* Owner, const char* Caption, TMenuItem* Parent) {
  TMenuItem* I = TComponent::Create<TMenuItem>(Owner);
  I->SetCaption(Caption);
  if (Parent) Parent->Add(I);
  return I;
}

std::string MenuText(HMENU M, int Pos) {
  char Buf[256] = {};
  GetMenuStringA(M, UINT(Pos), Buf, int(sizeof Buf), MF_BYPOSITION);
  return Buf;
}

UINT StateOf(HMENU M, TMenuItem* Item) { return GetMenuState(M, Item->Command(), MF_BYCOMMAND); }

// The main window's menu: "File" / "Exit", "Help" / "About", on a shown form.
class MainMenuTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form = TForm::CreateNew<TForm>(nullptr);
    Form->SetBounds(60, 60, 360, 240);
    Menu = TComponent::Create<TMainMenu>(Form);
    File1 = NewItem(Form, "&File", Menu->Items());
    Exit1 = NewItem(Form, "E&xit", File1);
    About1 = NewItem(Form, "&Help", Menu->Items());
    About2 = NewItem(Form, "&About", About1);
    Exit1->OnClick = ExitClicks.Event();
    About2->OnClick = AboutClicks.Event();
    Form->SetMenu(Menu);
    Form->Show();
    PumpRounds(2);
  }
  void TearDown() override {
    TObject::Free(Form);
    PumpMessages();
  }
  HWND Wnd() { return Form->Handle(); }
  HMENU Bar() { return GetMenu(Wnd()); }
  HMENU FileMenu() { return GetSubMenu(Bar(), 0); }
  void Command(unsigned short Id) { SendMessageA(Wnd(), WM_COMMAND, MAKEWPARAM(Id, 0), 0); }

  TForm* Form = nullptr;
  TMainMenu* Menu = nullptr;
  TMenuItem *File1 = nullptr, *Exit1 = nullptr, *About1 = nullptr, *About2 = nullptr;
  TRecorder ExitClicks, AboutClicks;
};

TEST_F(MainMenuTest, FormShowsTheMenuHandle) {
  ASSERT_NE(Bar(), nullptr);
  EXPECT_EQ(Bar(), Menu->Handle());
  EXPECT_EQ(Menu->WindowHandle(), Wnd());
  ASSERT_EQ(GetMenuItemCount(Bar()), 2);
  EXPECT_EQ(MenuText(Bar(), 0), "&File");
  EXPECT_EQ(MenuText(Bar(), 1), "&Help");
  ASSERT_EQ(FileMenu(), File1->Handle());
  ASSERT_EQ(GetMenuItemCount(FileMenu()), 1);
  EXPECT_EQ(MenuText(FileMenu(), 0), "E&xit");
  EXPECT_EQ(GetMenuItemID(FileMenu(), 0), Exit1->Command());
  EXPECT_EQ(MenuText(GetSubMenu(Bar(), 1), 0), "&About");
  EXPECT_EQ(Exit1->Handle(), nullptr) << "items without children have no submenu";
  EXPECT_EQ(Exit1->GetParentMenu(), Menu);

  // The client area leaves room for the bar.
  RECT Client, Window;
  GetClientRect(Wnd(), &Client);
  GetWindowRect(Wnd(), &Window);
  EXPECT_GE((Window.bottom - Window.top) - Client.bottom, GetSystemMetrics(SM_CYMENU));

  // Taking the menu away clears the bar.
  Form->SetMenu(nullptr);
  EXPECT_EQ(GetMenu(Wnd()), nullptr);
  EXPECT_EQ(Menu->WindowHandle(), nullptr);
  Form->SetMenu(Menu);
  EXPECT_EQ(GetMenu(Wnd()), Menu->Handle());
}

TEST_F(MainMenuTest, CommandIdsClickTheirItems) {
  std::set<unsigned> Ids{File1->Command(), Exit1->Command(), About1->Command(), About2->Command()};
  EXPECT_EQ(Ids.size(), 4u) << "unique command ids";
  EXPECT_EQ(Ids.count(0), 0u);

  Command(Exit1->Command());
  ASSERT_EQ(ExitClicks.Count(), 1);
  EXPECT_EQ(ExitClicks.Senders[0], Exit1);
  EXPECT_EQ(AboutClicks.Count(), 0);
  Command(About2->Command());
  EXPECT_EQ(AboutClicks.Count(), 1);

  // Unknown ids click nothing.
  Command(0xFFF0);
  EXPECT_EQ(ExitClicks.Count(), 1);
  EXPECT_FALSE(Menu->DispatchCommand(0));

  // Disabled items do nothing.
  Exit1->SetEnabled(false);
  Command(Exit1->Command());
  EXPECT_EQ(ExitClicks.Count(), 1);
  EXPECT_TRUE(Menu->DispatchCommand(Exit1->Command())) << "the item is found";
  EXPECT_EQ(ExitClicks.Count(), 1);

  // Opening a submenu clicks its item.
  TRecorder FileClicks;
  File1->OnClick = FileClicks.Event();
  SendMessageA(Wnd(), WM_INITMENUPOPUP, WPARAM(FileMenu()), MAKELPARAM(0, FALSE));
  EXPECT_EQ(FileClicks.Count(), 1);
  EXPECT_EQ(Menu->FindItem(reinterpret_cast<intptr_t>(File1->Handle()), fkHandle), File1);
}

TEST_F(MainMenuTest, ItemChangesUpdateTheHandle) {
  EXPECT_EQ(StateOf(FileMenu(), Exit1) & (MF_GRAYED | MF_CHECKED), 0u);
  Exit1->SetEnabled(false);
  EXPECT_NE(StateOf(FileMenu(), Exit1) & MF_GRAYED, 0u);
  Exit1->SetEnabled(true);
  EXPECT_EQ(StateOf(FileMenu(), Exit1) & MF_GRAYED, 0u);
  Exit1->SetChecked(true);
  EXPECT_NE(StateOf(FileMenu(), Exit1) & MF_CHECKED, 0u);
  Exit1->SetCaption("&Quit");
  EXPECT_EQ(MenuText(FileMenu(), 0), "&Quit");
  EXPECT_NE(StateOf(FileMenu(), Exit1) & MF_CHECKED, 0u) << "state kept across the rebuild";

  // Hidden items leave the handle; their command is gone from it.
  TMenuItem* Sep = NewItem(Form, "-", File1);
  TMenuItem* Open = NewItem(Form, "&Open", nullptr);
  File1->Insert(0, Open);
  ASSERT_EQ(GetMenuItemCount(FileMenu()), 3);
  EXPECT_EQ(MenuText(FileMenu(), 0), "&Open");
  EXPECT_NE(GetMenuState(FileMenu(), 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
  Open->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(FileMenu()), 2);
  EXPECT_EQ(StateOf(FileMenu(), Open), UINT(-1));
  Open->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(FileMenu()), 3);

  About1->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(Bar()), 1);
  About1->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(Bar()), 2);
  EXPECT_EQ(MenuText(Bar(), 1), "&Help");

  // Reordering, removing and freeing items.
  Open->SetMenuIndex(2);
  EXPECT_EQ(MenuText(FileMenu(), 2), "&Open");
  File1->Remove(Sep);
  EXPECT_EQ(GetMenuItemCount(FileMenu()), 2);
  EXPECT_EQ(Sep->Parent(), nullptr);
  int Owned = Form->ComponentCount();
  TObject::Free(Sep);
  TObject::Free(Open);
  EXPECT_EQ(File1->Count(), 1);
  EXPECT_EQ(GetMenuItemCount(FileMenu()), 1);
  EXPECT_EQ(Form->ComponentCount(), Owned - 2);

  // Top-level items added at run time appear on the bar.
  TMenuItem* Extra = NewItem(Form, "E&xtra", Menu->Items());
  EXPECT_EQ(GetMenuItemCount(Bar()), 3);
  EXPECT_EQ(MenuText(Bar(), 2), "E&xtra");
  Menu->Items()->Delete(2);
  EXPECT_EQ(GetMenuItemCount(Bar()), 2);
  TObject::Free(Extra);
}

TEST_F(MainMenuTest, RadioItemsAndAutoCheck) {
  TMenuItem* A = NewItem(Form, "A", File1);
  TMenuItem* B = NewItem(Form, "B", File1);
  TMenuItem* C = NewItem(Form, "C", File1);
  for (TMenuItem* I : {A, B}) {
    I->SetRadioItem(true);
    I->SetGroupIndex(1);
  }
  C->SetRadioItem(true);  // group 0
  C->SetChecked(true);
  A->SetChecked(true);
  B->SetChecked(true);
  EXPECT_FALSE(A->Checked());
  EXPECT_TRUE(B->Checked());
  EXPECT_TRUE(C->Checked()) << "another group";
  EXPECT_EQ(StateOf(FileMenu(), A) & MF_CHECKED, 0u);
  EXPECT_NE(StateOf(FileMenu(), B) & MF_CHECKED, 0u);
  MENUITEMINFOA Info{};
  Info.cbSize = sizeof Info;
  Info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(FileMenu(), B->Command(), FALSE, &Info);
  EXPECT_NE(Info.fType & MFT_RADIOCHECK, 0u);

  A->SetAutoCheck(true);
  Menu->DispatchCommand(A->Command());
  EXPECT_TRUE(A->Checked());
  EXPECT_FALSE(B->Checked());

  Exit1->SetAutoCheck(true);
  Command(Exit1->Command());
  EXPECT_TRUE(Exit1->Checked());
  Command(Exit1->Command());
  EXPECT_FALSE(Exit1->Checked());
  EXPECT_EQ(ExitClicks.Count(), 2);
}

TEST_F(MainMenuTest, ShortCutsShowAndDispatch) {
  Exit1->SetShortCut(ShortCut('X', ShiftOf(ssCtrl)));
  EXPECT_EQ(MenuText(FileMenu(), 0), "E&xit\tCtrl+X");
  File1->SetShortCut(ShortCut(VK_F2, 0));
  EXPECT_EQ(MenuText(Bar(), 0), "&File") << "the bar shows no shortcuts";

  EXPECT_TRUE(Menu->DispatchShortCut(ShortCut('X', ShiftOf(ssCtrl))));
  EXPECT_EQ(ExitClicks.Count(), 1);
  EXPECT_FALSE(Menu->DispatchShortCut(ShortCut('X', 0)));
  EXPECT_FALSE(Menu->DispatchShortCut(scNone));
  EXPECT_EQ(Menu->FindItem(ShortCut('X', ShiftOf(ssCtrl)), fkShortCut), Exit1);

  // Not through a disabled or hidden parent.
  File1->SetShortCut(scNone);
  File1->SetEnabled(false);
  EXPECT_FALSE(Menu->DispatchShortCut(ShortCut('X', ShiftOf(ssCtrl))));
  File1->SetEnabled(true);
  File1->SetVisible(false);
  EXPECT_FALSE(Menu->DispatchShortCut(ShortCut('X', ShiftOf(ssCtrl))));
  EXPECT_EQ(ExitClicks.Count(), 1);
}

TEST(ShortCutText, ConvertsBothWays) {
  struct TCase {
    TShortCut SC;
    const char* Text;
  } Cases[] = {
      {ShortCut('S', ShiftOf(ssCtrl)), "Ctrl+S"},
      {ShortCut(VK_F2, ShiftOf(ssShift) | ShiftOf(ssCtrl)), "Shift+Ctrl+F2"},
      {ShortCut(VK_DELETE, ShiftOf(ssAlt)), "Alt+Del"},
      {ShortCut(VK_INSERT, ShiftOf(ssShift)), "Shift+Ins"},
      {ShortCut(VK_RETURN, 0), "Enter"},
      {ShortCut('0', ShiftOf(ssAlt) | ShiftOf(ssShift)), "Shift+Alt+0"},
      {ShortCut(VK_F12, 0), "F12"},
      {ShortCut(VK_ESCAPE, 0), "Esc"},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(ShortCutToText(C.SC).str(), C.Text);
    EXPECT_EQ(TextToShortCut(C.Text), C.SC) << C.Text;
  }
  EXPECT_EQ(ShortCutToText(scNone).str(), "");
  EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', ShiftOf(ssCtrl)));
  EXPECT_EQ(TextToShortCut(""), scNone);
  EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
  EXPECT_EQ(TextToShortCut("Ctrl+NoSuchKey"), scNone);
  EXPECT_EQ(ShortCut(0x1FF, 0), scNone) << "not a key";

  unsigned short Key = 0;
  TShiftState Shift = 0;
  ShortCutToKey(ShortCut(VK_F2, ShiftOf(ssShift) | ShiftOf(ssCtrl)), Key, Shift);
  EXPECT_EQ(Key, VK_F2);
  EXPECT_EQ(Shift, ShiftOf(ssShift) | ShiftOf(ssCtrl));
}

TEST(Hotkeys, StripAndFind) {
  struct TCase {
    const char* Caption;
    const char* Stripped;
    char Hotkey;
  } Cases[] = {
      {"&File", "File", 'F'},
      {"E&xit", "Exit", 'X'},
      {"Save && E&xit", "Save & Exit", 'X'},
      {"No hotkey", "No hotkey", 0},
      {"Trailing&", "Trailing", 0},
      {"&&", "&", 0},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(StripHotkey(C.Caption).str(), C.Stripped) << C.Caption;
    EXPECT_EQ(GetHotkey(C.Caption), C.Hotkey) << C.Caption;
  }
}

TEST(MenuItems, TreeErrors) {
  TComponent* Owner = TComponent::Create<TComponent>(nullptr);
  TPopupMenu* Menu = TComponent::Create<TPopupMenu>(Owner);
  TMenuItem* A = NewItem(Owner, "&A", Menu->Items());
  TMenuItem* Sub = NewItem(Owner, "Sub", A);
  auto ErrorOf = [](const std::function<void()>& Fn) -> std::string {
    try {
      Fn();
    } catch (const EMenuError& E) {
      return E.Message().str();
    }
    return "(no error)";
  };
  EXPECT_EQ(ErrorOf([&] { A->Items(1); }), "Menu index out of range");
  EXPECT_EQ(ErrorOf([&] { A->Items(-1); }), "Menu index out of range");
  EXPECT_EQ(ErrorOf([&] { Menu->Items()->Add(Sub); }), "Menu item already in a menu");
  EXPECT_EQ(ErrorOf([&] { Menu->Items()->Remove(Sub); }), "Menu item not found");
  TMenuItem* Loose = TComponent::Create<TMenuItem>(Owner);
  EXPECT_EQ(ErrorOf([&] { A->Insert(3, Loose); }), "Menu index out of range");
  EXPECT_EQ(Menu->Items()->Find("a"), A) << "by caption without hotkey, any case";
  EXPECT_EQ(Sub->MenuIndex(), 0);
  EXPECT_EQ(Menu->Items()->MenuIndex(), -1);

  // Freeing a menu frees its items and returns their command ids.
  unsigned short SubId = Sub->Command();
  TObject::Free(Menu);
  EXPECT_EQ(Owner->ComponentCount(), 1) << "only the loose item is left";
  TMenuItem* Next = TComponent::Create<TMenuItem>(Owner);
  EXPECT_LE(Next->Command(), SubId) << "freed ids are reused";
  TObject::Free(Owner);
}

// ---------------------------------------------------------------------------------------------
// Popup menus

// Ends a tracked menu that nothing chose, so a broken popup fails instead of hanging.
void CALLBACK EndStuckMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

class TMenuWatchdog {
public:
  TMenuWatchdog() : FId(SetTimer(nullptr, 0, 3000, &EndStuckMenu)) {}
  ~TMenuWatchdog() { KillTimer(nullptr, FId); }
  TMenuWatchdog(const TMenuWatchdog&) = delete;
  TMenuWatchdog& operator=(const TMenuWatchdog&) = delete;
private:
  UINT_PTR FId;
};

class TPopupDriver : public TObject {
public:
  // Chooses the item with the hotkey once the menu is tracked.
  void OnPopup(TObject* Sender) {
    ++Popups;
    this->Sender = Sender;
    ItemCount = GetMenuItemCount(Menu->Handle());
    if (Key) PostThreadMessageA(GetCurrentThreadId(), WM_CHAR, WPARAM(Key), 1);
  }
  TPopupMenu* Menu = nullptr;
  char Key = 0;
  int Popups = 0;
  int ItemCount = -1;
  TObject* Sender = nullptr;
};

TEST(PopupMenu, PopupClicksTheChosenItem) {
  vcltest::TTestWindow Window(200, 150);
  Window.Activate();
  TComponent* Owner = TComponent::Create<TComponent>(nullptr);
  TPopupMenu* Menu = TComponent::Create<TPopupMenu>(Owner);
  TMenuItem* Copy = NewItem(Owner, "&Copy", Menu->Items());
  TMenuItem* Paste = NewItem(Owner, "&Paste", Menu->Items());
  TMenuItem* More = NewItem(Owner, "&More", Menu->Items());
  NewItem(Owner, "&Deep", More);
  TRecorder CopyClicks, PasteClicks;
  Copy->OnClick = CopyClicks.Event();
  Paste->OnClick = PasteClicks.Event();
  TMenuWatchdog Watchdog;
  TPopupDriver Driver;
  Driver.Menu = Menu;
  Menu->OnPopup = EVENT(&Driver, TPopupDriver::OnPopup);
  ASSERT_EQ(GetMenuItemCount(Menu->Handle()), 3);
  EXPECT_EQ(GetSubMenu(Menu->Handle(), 2), More->Handle());

  Driver.Key = 'p';
  POINT P{50, 50};
  ClientToScreen(Window.Handle(), &P);
  Menu->Popup(P.x, P.y);
  EXPECT_EQ(Driver.Popups, 1);
  EXPECT_EQ(Driver.Sender, Menu);
  EXPECT_EQ(PasteClicks.Count(), 1);
  EXPECT_EQ(CopyClicks.Count(), 0);

  // OnPopup runs before the menu is shown, so changes made there are shown.
  Driver.Key = 'c';
  Paste->SetVisible(false);
  Menu->Popup(P.x, P.y);
  EXPECT_EQ(Driver.ItemCount, 2);
  EXPECT_EQ(CopyClicks.Count(), 1);

  // A menu with nothing visible is not shown.
  Copy->SetVisible(false);
  More->SetVisible(false);
  Driver.Key = 0;
  Menu->Popup(P.x, P.y);
  EXPECT_EQ(Driver.Popups, 3);
  EXPECT_EQ(Driver.ItemCount, 0);
  PumpMessages();
  TObject::Free(Owner);
}

TEST(PopupMenu, PopupComponentIsClearedWhenFreed) {
  TComponent* Owner = TComponent::Create<TComponent>(nullptr);
  TComponent* Other = TComponent::Create<TComponent>(nullptr);
  TPopupMenu* Menu = TComponent::Create<TPopupMenu>(Owner);
  Menu->SetPopupComponent(Other);
  EXPECT_EQ(Menu->PopupComponent(), Other);
  TObject::Free(Other);
  EXPECT_EQ(Menu->PopupComponent(), nullptr);
  TObject::Free(Owner);
}

}  // namespace
