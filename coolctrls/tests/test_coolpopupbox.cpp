// The popup boxes with the real mouse and keyboard under the application's own message loop:
// where and how the list drops, keys and clicks on it, what closes it, and the one watcher of
// Application->OnMessage that all boxes share.
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

// Sends Inputs from another thread, 40 ms apart, while the application's loop runs here.
void AppInputs(const std::vector<INPUT>& Inputs) {
  std::atomic<bool> Done{false};
  std::thread User([&] {
    for (INPUT In : Inputs) {
      SendInput(1, &In, sizeof In);
      Sleep(40);
    }
    Done = true;
  });
  vcltest::AppPumpUntil([&] { return Done.load(); }, 10000);
  User.join();
  vcltest::AppPumpUntil([] { return false; }, 150);
}

std::vector<INPUT> Press(WORD Key) { return {vcltest::KeyInput(Key, true), vcltest::KeyInput(Key, false)}; }
std::vector<INPUT> ClickHere() {
  return {vcltest::MouseButtonInput(mbLeft, true), vcltest::MouseButtonInput(mbLeft, false)};
}

struct TChangeLog : TObject {
  std::vector<int> Indexes;
  TCoolPopupBox* Box = nullptr;
  void Changed(TObject*) { Indexes.push_back(Box->ItemIndex()); }
};

// A shown form with a focused edit and a popup box of ten items.
struct TBoxFixture {
  TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  TEdit* Edit;
  TCoolPopupBox* Box;
  TChangeLog Log;
  TBoxFixture() {
    Form->SetBounds(100, 100, 400, 300);
    Edit = TComponent::Create<TEdit>(Form.get());
    Edit->SetBounds(220, 40, 100, 22);
    Edit->SetParent(Form.get());
    Box = TComponent::Create<TCoolPopupBox>(Form.get());
    Box->SetBounds(40, 40, 150, 19);
    Box->SetCaption("Choose");
    Box->SetParent(Form.get());
    for (int I = 0; I < 10; ++I) Box->Items()->Add(("Item " + std::to_string(I)).c_str());
    Log.Box = Box;
    Box->OnChange = TNotifyEvent::Bind<&TChangeLog::Changed>(&Log);
    Form->Show();
    Form->SetActiveControl(Edit);
    SetForegroundWindow(Form->Handle());
    vcltest::AppPumpUntil([] { return false; }, 100);
  }
  HWND W() const { return Form->Handle(); }
  void Open() {
    vcltest::MoveMouse(W(), 40 + 150 - 8, 49);
    AppInputs(ClickHere());
  }
  RECT ListRect() const {
    RECT R{};
    GetWindowRect(Box->List()->Handle(), &R);
    return R;
  }
};

TEST(CoolPopupBox, Defaults) {
  for (TComponent* C : std::initializer_list<TComponent*>{TComponent::Create<TCoolPopupBox>(nullptr),
                                                          TComponent::Create<TCoolPopupBox2>(nullptr)}) {
    ExpectDefaultsMatch(C);
    TObject::Free(C);
  }
  auto* B = TComponent::Create<TCoolPopupBox>(nullptr);
  EXPECT_EQ(B->Width(), 150);
  EXPECT_TRUE(B->List()->IntegralHeight());
  EXPECT_TRUE(B->List()->HotTray());
  const DWORD Style = DWORD(GetWindowLongPtrA(B->List()->Handle(), GWL_STYLE));
  // The system shows the vertical scroll bar only when the items need it.
  EXPECT_EQ(Style & ~DWORD(WS_VISIBLE | WS_VSCROLL), DWORD(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER));
  EXPECT_EQ(GetWindow(B->List()->Handle(), GW_OWNER), Application->Handle());
  TObject::Free(B);
}

TEST(CoolPopupBox, ListDropsBelowAsWideInWholeItemsWithoutTakingTheFocus) {
  TBoxFixture F;
  F.Open();
  ASSERT_TRUE(F.Box->DroppedDown());
  const TPoint Corner = F.Form->ClientToScreen(TPoint{40, 59});
  const RECT R = F.ListRect();
  EXPECT_EQ(R.left, Corner.X);
  EXPECT_EQ(R.top, Corner.Y);
  EXPECT_EQ(R.right - R.left, 150);
  EXPECT_LE(R.bottom - R.top, 100);
  RECT C{};
  GetClientRect(F.Box->List()->Handle(), &C);
  const int H = int(SendMessageA(F.Box->List()->Handle(), LB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(C.bottom % H, 0) << "whole items";
  EXPECT_EQ(GetActiveWindow(), F.W());
  EXPECT_EQ(GetFocus(), F.Edit->Handle());
  EXPECT_EQ(F.Box->ButtonState(), 1);
  EXPECT_TRUE(F.Log.Indexes.empty()) << "no selection yet";
}

TEST(CoolPopupBox, ArrowKeysMoveTheSelectionOtherKeysAreSwallowedEnterAndEscapeClose) {
  for (WORD Closer : {WORD(VK_RETURN), WORD(VK_ESCAPE)}) {
    TBoxFixture F;
    F.Open();
    std::vector<INPUT> Keys;
    for (WORD K : {WORD(VK_DOWN), WORD(VK_DOWN), WORD('X'), WORD(VK_DOWN), WORD(VK_UP)})
      for (INPUT In : Press(K)) Keys.push_back(In);
    AppInputs(Keys);
    EXPECT_EQ(F.Log.Indexes, (std::vector<int>{0, 1, 2, 1})) << "each arrow key's release reports";
    EXPECT_EQ(F.Edit->Text(), "") << "no key reached the edit";
    AppInputs(Press(Closer));
    EXPECT_FALSE(F.Box->DroppedDown());
    EXPECT_EQ(F.Log.Indexes.size(), 4u) << "closing reports nothing";
  }
}

TEST(CoolPopupBox, ClickOnAnItemClosesAndReportsIt) {
  TBoxFixture F;
  F.Open();
  const RECT R = F.ListRect();
  const int H = int(SendMessageA(F.Box->List()->Handle(), LB_GETITEMHEIGHT, 0, 0));
  vcltest::MoveMouse(nullptr, R.left + 20, R.top + 1 + H * 2 + H / 2);
  vcltest::AppPumpUntil([] { return false; }, 100);
  EXPECT_EQ(F.Box->ButtonState(), 1) << "the arrow part stays pressed while the mouse is over the list";
  AppInputs(ClickHere());
  EXPECT_FALSE(F.Box->DroppedDown());
  EXPECT_EQ(F.Log.Indexes, std::vector<int>{2});
}

TEST(CoolPopupBox, OpeningWithASelectionReportsItOnceOnTheRelease) {
  TBoxFixture F;
  F.Box->SetItemIndex(3);
  F.Open();
  EXPECT_TRUE(F.Box->DroppedDown());
  EXPECT_EQ(F.Log.Indexes, std::vector<int>{3});
}

TEST(CoolPopupBox, SecondPressOnTheArrowClosesAndLeavesItRaised) {
  TBoxFixture F;
  F.Open();
  F.Open();
  EXPECT_FALSE(F.Box->DroppedDown());
  EXPECT_EQ(F.Box->ButtonState(), 2);
}

// A window of another thread, activated while the list is open.
void ActivateOtherThread() {
  std::atomic<bool> Done{false};
  std::thread Other([&] {
    HWND W = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400, 120, 80, nullptr,
                             nullptr, nullptr, nullptr);
    SetForegroundWindow(W);
    for (int I = 0; I < 30; ++I) {
      MSG M;
      while (PeekMessageA(&M, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&M);
      Sleep(10);
    }
    DestroyWindow(W);
    Done = true;
  });
  vcltest::AppPumpUntil([&] { return Done.load(); }, 5000);
  Other.join();
  vcltest::AppPumpUntil([] { return false; }, 100);
}

TEST(CoolPopupBox, EachCloseMessageClosesTheList) {
  struct TCase {
    const char* What;
    std::function<void(TBoxFixture&)> Do;
  };
  const TCase Cases[] = {
      {"a press elsewhere", [](TBoxFixture& F) { vcltest::MoveMouse(F.W(), 350, 250); AppInputs(ClickHere()); }},
      {"a posted WM_COMMAND", [](TBoxFixture& F) {
         PostMessageA(F.W(), WM_COMMAND, 0, 0);
         vcltest::AppPumpUntil([] { return false; }, 100);
       }},
      {"Alt", [](TBoxFixture&) {
         // Alt alone starts the form's keyboard menu mode: Escape leaves it.
         std::vector<INPUT> Keys = Press(VK_MENU);
         for (INPUT In : Press(VK_ESCAPE)) Keys.push_back(In);
         AppInputs(Keys);
       }},
      {"another thread's window activated", [](TBoxFixture&) { ActivateOtherThread(); }},
  };
  for (const TCase& C : Cases) {
    TBoxFixture F;
    F.Open();
    ASSERT_TRUE(F.Box->DroppedDown()) << C.What;
    C.Do(F);
    EXPECT_FALSE(F.Box->DroppedDown()) << C.What;
  }
}

TEST(CoolPopupBox, ScrollBarPressKeepsOnlyTheSecondBoxOpen) {
  TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  Form->SetBounds(100, 100, 400, 300);
  auto* Box = TComponent::Create<TCoolPopupBox>(Form.get());
  Box->SetBounds(20, 20, 150, 19);
  Box->SetParent(Form.get());
  auto* Box2 = TComponent::Create<TCoolPopupBox2>(Form.get());
  Box2->SetBounds(200, 20, 150, 24);
  Box2->SetParent(Form.get());
  for (int I = 0; I < 20; ++I) {
    Box->Items()->Add(("Line " + std::to_string(I)).c_str());
    Box2->Items()->Add(("Line " + std::to_string(I)).c_str());
  }
  Form->Show();
  SetForegroundWindow(Form->Handle());
  vcltest::AppPumpUntil([] { return false; }, 100);
  auto PressScrollBar = [](TCoolListBoxEx* L) {
    RECT R{};
    GetWindowRect(L->Handle(), &R);
    vcltest::MoveMouse(nullptr, R.right - 1 - GetSystemMetrics(SM_CXVSCROLL) / 2, R.bottom - 1 - 5);
    AppInputs(ClickHere());
  };
  vcltest::MoveMouse(Form->Handle(), 20 + 150 - 8, 29);
  AppInputs(ClickHere());
  ASSERT_TRUE(Box->DroppedDown());
  PressScrollBar(Box->List());
  EXPECT_FALSE(Box->DroppedDown()) << "the first box closes";

  vcltest::MoveMouse(Form->Handle(), 270, 32);
  AppInputs(ClickHere());
  ASSERT_TRUE(Box2->DroppedDown());
  PressScrollBar(Box2->List());
  EXPECT_TRUE(Box2->DroppedDown()) << "the second box stays open";
  EXPECT_GT(SendMessageA(Box2->List()->Handle(), LB_GETTOPINDEX, 0, 0), 0) << "and scrolled";
  AppInputs(Press(VK_ESCAPE));
  EXPECT_FALSE(Box2->DroppedDown());
}

// ----- the watcher

struct TCallLog : TObject {
  std::vector<std::string> Calls;
  UINT Marker = WM_APP + 77;
  void Log(const char* Who, const MSG& M) {
    if (M.message == Marker) Calls.push_back(Who);
  }
  void A(MSG& M, bool&) { Log("A", M); }
  void B(MSG& M, bool&) { Log("B", M); }
  void Foreign(MSG& M, bool&) { Log("foreign", M); }
  std::vector<std::string> Post() {
    Calls.clear();
    PostMessageA(Application->Handle(), Marker, 0, 0);
    vcltest::AppPumpUntil([] { return false; }, 150);
    return Calls;
  }
};

TEST(CoolPopupBoxWatch, LaterBoxesFirstThenTheHandlerFoundAtInstallation) {
  TCallLog L;
  const TMessageEvent A = TMessageEvent::Bind<&TCallLog::A>(&L), B = TMessageEvent::Bind<&TCallLog::B>(&L),
                      Foreign = TMessageEvent::Bind<&TCallLog::Foreign>(&L);
  Application->OnMessage = Foreign;
  PopupBoxWatch::Add(A);
  PopupBoxWatch::Add(B);
  EXPECT_EQ(L.Post(), (std::vector<std::string>{"B", "A", "foreign"}));
  PopupBoxWatch::Remove(A);
  EXPECT_EQ(L.Post(), (std::vector<std::string>{"B", "foreign"}));
  PopupBoxWatch::Remove(B);
  EXPECT_TRUE(Application->OnMessage == Foreign) << "put back when the last goes";

  // A handler installed over the watcher keeps it, as a pass-through, after the last box.
  PopupBoxWatch::Add(A);
  const TMessageEvent Watcher = Application->OnMessage;
  Application->OnMessage = B;  // stands for a foreign handler that does not call on
  PopupBoxWatch::Remove(A);
  EXPECT_TRUE(Application->OnMessage == B);
  Application->OnMessage = Watcher;
  EXPECT_EQ(L.Post(), (std::vector<std::string>{"foreign"})) << "passes on";
  PopupBoxWatch::Add(A);
  EXPECT_EQ(L.Post(), (std::vector<std::string>{"A", "foreign"})) << "reused by a new box";
  PopupBoxWatch::Remove(A);
  EXPECT_TRUE(Application->OnMessage == Foreign);
  Application->OnMessage = nullptr;
}

TEST(CoolPopupBoxWatch, BoxesFreedInEveryOrderLeaveTheOthersAndTheForeignHandler) {
  TCallLog L;
  const TMessageEvent Foreign = TMessageEvent::Bind<&TCallLog::Foreign>(&L);
  for (bool ForeignFirst : {true, false})
    for (int Order = 0; Order < 2; ++Order) {
      Application->OnMessage = ForeignFirst ? Foreign : TMessageEvent();
      TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
      auto* First = TComponent::Create<TCoolPopupBox>(Form.get());
      auto* Second = TComponent::Create<TCoolPopupBox2>(Form.get());
      if (!ForeignFirst) {
        const TMessageEvent Watcher = Application->OnMessage;
        EXPECT_TRUE(Watcher);
        Application->OnMessage = Foreign;  // a foreign handler over the watcher, not calling on
        Application->OnMessage = Watcher;  // then given back
      }
      EXPECT_EQ(PopupBoxWatch::Count(), 2);
      TObject* Gone = Order == 0 ? static_cast<TObject*>(First) : Second;
      TObject::Free(Gone);
      EXPECT_EQ(PopupBoxWatch::Count(), 1);
      EXPECT_EQ(L.Post(), ForeignFirst ? std::vector<std::string>{"foreign"} : std::vector<std::string>{})
          << "the other box and the handler still run";
      Form.reset();
      EXPECT_EQ(PopupBoxWatch::Count(), 0);
      if (ForeignFirst) EXPECT_TRUE(Application->OnMessage == Foreign) << "order " << Order;
      else EXPECT_FALSE(Application->OnMessage) << "order " << Order;
    }
  Application->OnMessage = nullptr;
}

TEST(CoolPopupBoxWatch, NoWatcherInTheDesigner) {
  TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  Form->SetDesigning(true);
  auto* Box = TComponent::Create<TCoolPopupBox>(Form.get());
  EXPECT_TRUE(Box->HasState(csDesigning));
  EXPECT_EQ(PopupBoxWatch::Count(), 0);
  EXPECT_FALSE(Application->OnMessage);
}

TEST(CoolPopupBox, Screenshot) {
  TBoxFixture F;
  F.Form->SetCaption("Popup box");
  F.Box->SetItemIndex(2);
  F.Open();
  RECT Frame{};
  GetWindowRect(F.W(), &Frame);
  TBitmap Picture;
  Picture.SetPixelFormat(pf24bit);
  Picture.SetSize(Frame.right - Frame.left, Frame.bottom - Frame.top);
  HDC Desk = GetDC(nullptr);
  BitBlt(Picture.Canvas()->Handle(), 0, 0, Picture.Width(), Picture.Height(), Desk, Frame.left, Frame.top, SRCCOPY);
  ReleaseDC(nullptr, Desk);
  Picture.SaveToFile(AnsiString(ORVALEN_SHOTS) + "/cool-popup-box.bmp");
  EXPECT_TRUE(F.Box->DroppedDown());
}

}  // namespace
