// Controls: the message model, windows made on demand, framework notifications, reflection,
// mouse routing to graphic controls, alignment, parent colour and font, focus and tab order.
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Message recording: the test classes append what their Dispatch receives.

struct TLogEntry {
  TControl* Control;
  unsigned Msg;
  uintptr_t WParam;
  intptr_t LParam;
};
std::vector<TLogEntry> GLog;
std::vector<unsigned> GTracked;

void Track(std::initializer_list<unsigned> Msgs) {
  GTracked.assign(Msgs.begin(), Msgs.end());
  GLog.clear();
}

void Record(TControl* C, const TMessage& M) {
  if (std::find(GTracked.begin(), GTracked.end(), M.Msg) != GTracked.end())
    GLog.push_back({C, M.Msg, M.WParam, M.LParam});
}

int CountOf(TControl* Control, unsigned Msg) {
  return int(std::count_if(GLog.begin(), GLog.end(),
                           [&](const TLogEntry& E) { return E.Control == Control && E.Msg == Msg; }));
}

// Position of the first entry matching, -1 when absent.
int IndexOf(TControl* Control, unsigned Msg, intptr_t LParam = -1) {
  for (size_t I = 0; I < GLog.size(); ++I)
    if (GLog[I].Control == Control && GLog[I].Msg == Msg && (LParam == -1 || GLog[I].LParam == LParam))
      return int(I);
  return -1;
}

class TRecWin : public TWinControl {
  ORV_CLASS(TRecWin, TWinControl)
public:
  explicit TRecWin(TComponent* AOwner) : TWinControl(AOwner) {
    IncludeStyle(csAcceptsControls);
  }
  using TControl::Caption;
  using TControl::Color;
  using TControl::Font;
  using TControl::ParentColor;
  using TControl::ParentFont;
  using TControl::SetCaption;
  using TControl::SetColor;
  using TControl::SetFont;
  using TControl::SetParentColor;
  using TControl::SetParentFont;
  using TControl::SetText;
  using TControl::Text;
  using TWinControl::RecreateWnd;
  std::function<void()> OnClickThrows;
  void Dispatch(TMessage& M) override {
    Record(this, M);
    inherited::Dispatch(M);
  }
  void Click() override {
    ++Clicks;
    if (OnClickThrows) OnClickThrows();
    inherited::Click();
  }
  int Clicks = 0;
};
ORV_IMPLEMENT_CLASS(TRecWin, TWinControl)

// A windowed control over a system class (a push button unless told otherwise).
class TRecButton : public TWinControl {
  ORV_CLASS(TRecButton, TWinControl)
public:
  explicit TRecButton(TComponent* AOwner) : TWinControl(AOwner) {}
  using TControl::SetText;
  using TControl::Text;
  const char* SystemClass = "BUTTON";
  void Dispatch(TMessage& M) override {
    Record(this, M);
    if (M.Msg == CN_MEASUREITEM) reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam)->itemHeight = 33;
    inherited::Dispatch(M);
  }
protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, SystemClass);
  }
};
ORV_IMPLEMENT_CLASS(TRecButton, TWinControl)

// A graphic control filling itself with Fill; with HalfHit only its left half answers hit tests.
class TRecGraphic : public TGraphicControl {
  ORV_CLASS(TRecGraphic, TGraphicControl)
public:
  explicit TRecGraphic(TComponent* AOwner) : TGraphicControl(AOwner) { IncludeStyle(csOpaque); }
  using TControl::Color;
  using TControl::Font;
  using TControl::ParentColor;
  using TControl::ParentFont;
  using TControl::SetColor;
  using TControl::SetFont;
  using TControl::SetParentColor;
  using TControl::SetParentFont;
  using TControl::SetText;
  using TControl::Text;
  TColor Fill = clRed;
  bool HalfHit = false;
  bool PaintThrows = false;
  int Paints = 0;
  int Clicks = 0;
  void Dispatch(TMessage& M) override {
    Record(this, M);
    if (M.Msg == CM_HITTEST && HalfHit) {
      M.Result = MessageX(M) < Width() / 2 ? HTCLIENT : 0;
      return;
    }
    inherited::Dispatch(M);
  }
protected:
  void Paint() override {
    ++Paints;
    if (PaintThrows) throw EInvalidOperation("paint failed");
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }
  void Click() override {
    ++Clicks;
    inherited::Click();
  }
};
ORV_IMPLEMENT_CLASS(TRecGraphic, TGraphicControl)

// Answers CM_DIALOGCHAR for the accelerator of its caption.
class TAccelControl : public TGraphicControl {
  ORV_CLASS(TAccelControl, TGraphicControl)
public:
  explicit TAccelControl(TComponent* AOwner) : TGraphicControl(AOwner) {}
  using TControl::SetCaption;
  int Hits = 0;
  void Dispatch(TMessage& M) override {
    if (M.Msg == CM_DIALOGCHAR && IsAccel((unsigned short)M.WParam, Caption())) {
      ++Hits;
      M.Result = 1;
      return;
    }
    inherited::Dispatch(M);
  }
};
ORV_IMPLEMENT_CLASS(TAccelControl, TGraphicControl)

TRect WindowRectInParent(HWND Wnd) {
  RECT R;
  GetWindowRect(Wnd, &R);
  MapWindowPoints(nullptr, GetParent(Wnd), reinterpret_cast<POINT*>(&R), 2);
  return R;
}

std::string WindowText(HWND Wnd) {
  char Buf[256] = {};
  GetWindowTextA(Wnd, Buf, sizeof Buf);
  return Buf;
}

// Receives the exceptions the window procedures hand to the application.
struct TExceptionSink : TObject {
  std::vector<std::string> Messages;
  std::vector<TObject*> Senders;
  void Handle(TObject* Sender, Exception& E) {
    Senders.push_back(Sender);
    Messages.push_back(E.Message().str());
  }
};

class ControlsTest : public ::testing::Test {
protected:
  void TearDown() override {
    GTracked.clear();
    GLog.clear();
  }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Windows and the object model.

TEST_F(ControlsTest, WindowIsMadeOnDemandAndFindsItsControl) {
  vcltest::TTestHost Host;
  auto* C = TComponent::Create<TRecWin>(Host.Control());
  C->SetName("Child");
  EXPECT_FALSE(C->HandleAllocated());
  // Without a parent there is nowhere to put the window.
  try {
    C->Handle();
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidOperation& E) {
    EXPECT_STREQ(E.what(), "Control 'Child' has no parent window");
  }
  C->SetBounds(5, 6, 70, 40);
  C->SetParent(Host.Control());
  // The parent is showing, so inserting the child made and showed its window.
  ASSERT_TRUE(C->HandleAllocated());
  HWND W = C->WindowHandle();
  EXPECT_TRUE(IsWindowVisible(W));
  EXPECT_EQ(GetParent(W), Host.Control()->WindowHandle());
  EXPECT_EQ(WindowRectInParent(W), Bounds(5, 6, 70, 40));
  EXPECT_EQ(FindControl(W), C);
  EXPECT_EQ(FindControl(Host.Window()), nullptr);  // a window of other code
  EXPECT_EQ(FindControl(nullptr), nullptr);
  EXPECT_TRUE(C->Showing());

  C->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(W));
  EXPECT_FALSE(C->Showing());
  C->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(W));

  TObject::Free(C);
  EXPECT_FALSE(IsWindow(W));
  EXPECT_EQ(Host.Control()->ControlCount(), 0);
}

TEST_F(ControlsTest, ParentCannotBeItselfOrADescendant) {
  vcltest::TTestHost Host;
  auto* Outer = Host.Add<TRecWin>(0, 0, 100, 100);
  auto* Inner = TComponent::Create<TRecWin>(Host.Control());
  Inner->SetParent(Outer);
  for (TWinControl* Bad : {static_cast<TWinControl*>(Outer), static_cast<TWinControl*>(Inner)}) {
    try {
      Outer->SetParent(Bad);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidOperation& E) {
      EXPECT_STREQ(E.what(), "A control cannot have itself as its parent");
    }
  }
  EXPECT_EQ(Outer->Parent(), Host.Control());
}

TEST_F(ControlsTest, BiDiModeFollowsTheParentUntilWrittenAndGivesTextFlags) {
  vcltest::TTestHost Host;
  auto* Outer = Host.Add<TRecWin>(0, 0, 100, 100);
  auto* Inner = TComponent::Create<TRecWin>(Host.Control());
  Inner->SetParent(Outer);
  EXPECT_EQ(Inner->BiDiMode(), bdLeftToRight);
  Outer->SetBiDiMode(bdRightToLeft);
  EXPECT_FALSE(Outer->ParentBiDiMode());
  EXPECT_EQ(Inner->BiDiMode(), bdRightToLeft) << "taken from the parent";
  Inner->SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_FALSE(Inner->ParentBiDiMode());
  Outer->SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(Inner->BiDiMode(), bdRightToLeftReadingOnly) << "its own once written";
  Inner->SetParentBiDiMode(true);
  EXPECT_EQ(Inner->BiDiMode(), bdLeftToRight);

  struct TCase {
    TBiDiMode Mode;
    unsigned In, Out;
    bool Mirrored;
  };
  const TCase Cases[] = {
      {bdLeftToRight, DT_LEFT, DT_LEFT, false},
      {bdRightToLeft, DT_LEFT, DT_RIGHT | DT_RTLREADING, true},
      {bdRightToLeft, DT_RIGHT | DT_SINGLELINE, DT_SINGLELINE | DT_RTLREADING, true},
      {bdRightToLeft, DT_CENTER, DT_CENTER | DT_RTLREADING, true},
      {bdRightToLeftNoAlign, DT_LEFT, DT_RTLREADING, false},
      {bdRightToLeftReadingOnly, DT_RIGHT, DT_RIGHT | DT_RTLREADING, false},
  };
  for (const TCase& C : Cases) {
    Inner->SetBiDiMode(C.Mode);
    EXPECT_EQ(Inner->DrawTextBiDiModeFlags(C.In), C.Out) << C.Mode << " " << C.In;
    EXPECT_EQ(Inner->UseRightToLeftAlignment(), C.Mirrored) << C.Mode;
  }
}

TEST_F(ControlsTest, ChildrenListGraphicFirstThenWindowedAndChangeParent) {
  vcltest::TTestHost Host;
  auto* P1 = Host.Add<TRecWin>(0, 0, 100, 100);
  auto* P2 = Host.Add<TRecWin>(100, 0, 100, 100);
  auto* W = Host.Add<TRecWin>(0, 0, 10, 10);
  auto* G = Host.Add<TRecGraphic>(0, 0, 10, 10);
  TWinControl* H = Host.Control();
  ASSERT_EQ(H->ControlCount(), 4);
  EXPECT_EQ(H->Controls(0), G);
  EXPECT_EQ(H->Controls(1), P1);
  EXPECT_EQ(H->Controls(3), W);
  EXPECT_THROW(H->Controls(4), EListError);
  W->SetParent(P2);
  G->SetParent(P1);
  EXPECT_EQ(H->ControlCount(), 2);
  EXPECT_EQ(P2->Controls(0), W);
  EXPECT_EQ(GetParent(W->Handle()), P2->WindowHandle());
  EXPECT_TRUE(H->ContainsControl(G));
  EXPECT_FALSE(P2->ContainsControl(G));
  // Freeing a parent frees its children, whoever owns them.
  TObject::Free(P1);
  EXPECT_EQ(Host.Control()->ComponentCount(), 2);
}

TEST_F(ControlsTest, RecreateWndKeepsTextBoundsFocusAndChildren) {
  vcltest::TTestHost Host;
  Host.Frame().Activate();
  auto* Outer = Host.Add<TRecWin>(10, 10, 200, 120);
  auto* Button = TComponent::Create<TRecButton>(Host.Control());
  Button->SetBounds(7, 9, 80, 24);
  Button->SetParent(Outer);
  Button->SetText("Press");
  Outer->SetText("Outer");
  Button->SetFocus();
  ASSERT_EQ(GetFocus(), Button->WindowHandle());
  HWND OldOuter = Outer->WindowHandle(), OldButton = Button->WindowHandle();

  Outer->RecreateWnd();
  ASSERT_TRUE(Outer->HandleAllocated());
  EXPECT_EQ(GetFocus(), Button->WindowHandle()) << "the focused child gets the focus back";
  ASSERT_TRUE(Button->HandleAllocated());
  EXPECT_NE(Outer->WindowHandle(), OldOuter);
  EXPECT_NE(Button->WindowHandle(), OldButton);
  EXPECT_FALSE(IsWindow(OldOuter));
  EXPECT_EQ(WindowText(Outer->WindowHandle()), "Outer");
  EXPECT_EQ(WindowText(Button->WindowHandle()), "Press");
  EXPECT_EQ(Button->Text(), "Press");
  EXPECT_EQ(WindowRectInParent(Outer->WindowHandle()), Bounds(10, 10, 200, 120));
  EXPECT_EQ(WindowRectInParent(Button->WindowHandle()), Bounds(7, 9, 80, 24));
  EXPECT_EQ(FindControl(Button->WindowHandle()), Button);
  EXPECT_TRUE(IsWindowVisible(Button->WindowHandle()));

  Button->RecreateWnd();
  EXPECT_EQ(GetFocus(), Button->WindowHandle()) << "the focused window itself too";
}

TEST_F(ControlsTest, TextIsStoredWithoutAWindowAndPassedToIt) {
  vcltest::TTestHost Host;
  auto* C = TComponent::Create<TRecWin>(Host.Control());
  C->SetText("Before");
  EXPECT_EQ(C->Text(), "Before");
  EXPECT_EQ(C->GetTextLen(), 6);
  char Small[4];
  EXPECT_EQ(C->GetTextBuf(Small, sizeof Small), 3);
  EXPECT_STREQ(Small, "Bef");
  C->SetParent(Host.Control());
  EXPECT_EQ(WindowText(C->WindowHandle()), "Before");
  SetWindowTextA(C->WindowHandle(), "Typed");
  EXPECT_EQ(C->Text(), "Typed");
}

TEST(ControlsClasses, DefaultsMatchTheTablesAndCursorsHaveNames) {
  ExpectClassDefaultsMatch(TWinControl::StaticClass());
  EXPECT_EQ(GetClass("TWinControl"), TWinControl::StaticClass());
  struct Case {
    int Cursor;
    const char* Name;
  } Cases[] = {{crDefault, "crDefault"}, {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"}, {crNo, "crNo"}};
  for (const Case& C : Cases) {
    AnsiString Ident;
    ASSERT_TRUE(CursorToIdent(C.Cursor, Ident)) << C.Name;
    EXPECT_EQ(Ident, C.Name);
    int Back = 1;
    ASSERT_TRUE(IdentToCursor(C.Name, Back));
    EXPECT_EQ(Back, C.Cursor);
  }
  int V = 0;
  EXPECT_TRUE(IdentToCursor("crSize", V));
  EXPECT_EQ(V, crSizeAll);
  EXPECT_FALSE(IdentToCursor("crBogus", V));
  // The streamed text of a cursor property uses the names.
  auto* C = TComponent::Create<TWinControl>(nullptr);
  C->SetCursor(crHandPoint);
  EXPECT_EQ(GetPropValueText(C, GetPropInfo(C, "Cursor")), "crHandPoint");
  SetPropValueText(C, GetPropInfo(C, "Cursor"), "crIBeam");
  EXPECT_EQ(C->Cursor(), crIBeam);
  TObject::Free(C);
}

// ---------------------------------------------------------------------------------------------
// Framework notifications on property changes.

TEST_F(ControlsTest, PropertyChangesSendTheirNotificationOnce) {
  struct Case {
    const char* Name;
    unsigned Msg;
    std::function<void(TRecWin*)> Change;
  };
  const Case Cases[] = {
      {"Color", CM_COLORCHANGED, [](TRecWin* C) { C->SetColor(clRed); }},
      {"Font", CM_FONTCHANGED, [](TRecWin* C) { C->Font()->SetSize(20); }},
      {"Enabled", CM_ENABLEDCHANGED, [](TRecWin* C) { C->SetEnabled(false); }},
      {"Text", CM_TEXTCHANGED, [](TRecWin* C) { C->SetText("New"); }},
      {"Visible", CM_VISIBLECHANGED, [](TRecWin* C) { C->SetVisible(false); }},
      {"Cursor", CM_CURSORCHANGED, [](TRecWin* C) { C->SetCursor(crHandPoint); }},
      {"ShowHint", CM_SHOWHINTCHANGED, [](TRecWin* C) { C->SetShowHint(true); }},
      {"TabStop", CM_TABSTOPCHANGED, [](TRecWin* C) { C->SetTabStop(true); }},
  };
  vcltest::TTestHost Host;
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    auto* C = Host.Add<TRecWin>(0, 0, 50, 50);
    Track({K.Msg});
    K.Change(C);
    EXPECT_EQ(CountOf(C, K.Msg), 1);
    K.Change(C);  // unchanged: nothing
    EXPECT_EQ(CountOf(C, K.Msg), 1);
    // While the control is being read the setters only store.
    auto* L = Host.Add<TRecWin>(0, 0, 50, 50);
    L->SetLoadingState(true);
    GLog.clear();
    K.Change(L);
    EXPECT_EQ(CountOf(L, K.Msg), 0);
    L->SetLoadingState(false);
    TObject::Free(C);
    TObject::Free(L);
  }
}

TEST_F(ControlsTest, EnabledAndVisibleReachTheWindow) {
  vcltest::TTestHost Host;
  auto* C = Host.Add<TRecWin>(0, 0, 50, 50);
  C->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(C->WindowHandle()));
  C->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(C->WindowHandle()));
  // A control created disabled and hidden starts that way.
  auto* D = TComponent::Create<TRecWin>(Host.Control());
  D->SetEnabled(false);
  D->SetVisible(false);
  D->SetParent(Host.Control());
  EXPECT_FALSE(D->HandleAllocated()) << "hidden children get a window when shown";
  D->SetVisible(true);
  ASSERT_TRUE(D->HandleAllocated());
  EXPECT_FALSE(IsWindowEnabled(D->WindowHandle()));
}

TEST_F(ControlsTest, ParentColorAndFontFollowTheParentUntilSetOwnValues) {
  vcltest::TTestHost Host;
  auto* Panel = Host.Add<TRecWin>(0, 0, 200, 150);
  Panel->SetParentColor(false);
  Panel->SetParentFont(false);
  Panel->SetColor(clRed);
  Panel->Font()->SetName("Courier New");
  Panel->Font()->SetSize(14);
  auto* Inner = TComponent::Create<TRecWin>(Host.Control());
  Inner->SetParent(Panel);
  auto* Leaf = TComponent::Create<TRecGraphic>(Host.Control());
  Leaf->SetParent(Inner);
  // Inserted children take the parent's values, through the windowed middle one too.
  EXPECT_EQ(Inner->Color(), clRed);
  EXPECT_EQ(Leaf->Color(), clRed);
  EXPECT_EQ(Leaf->Font()->Size(), 14);
  EXPECT_EQ(Leaf->Font()->Name(), "Courier New");
  EXPECT_TRUE(Leaf->ParentColor());
  EXPECT_TRUE(Leaf->ParentFont());

  Panel->SetColor(clGreen);
  Panel->Font()->SetSize(18);
  EXPECT_EQ(Leaf->Color(), clGreen);
  EXPECT_EQ(Leaf->Font()->Size(), 18);
  EXPECT_EQ(ColorToRGB(Inner->Brush()->Color()), clGreen);

  // An own value ends the inheritance...
  Leaf->SetColor(clBlue);
  Leaf->Font()->SetSize(9);
  EXPECT_FALSE(Leaf->ParentColor());
  EXPECT_FALSE(Leaf->ParentFont());
  Panel->SetColor(clYellow);
  Panel->Font()->SetSize(11);
  EXPECT_EQ(Leaf->Color(), clBlue);
  EXPECT_EQ(Leaf->Font()->Size(), 9);
  // ...and turning it on again takes the parent's at once.
  Leaf->SetParentColor(true);
  Leaf->SetParentFont(true);
  EXPECT_EQ(Leaf->Color(), clYellow);
  EXPECT_EQ(Leaf->Font()->Size(), 11);
  EXPECT_TRUE(Leaf->ParentColor());
  // A font handed with the message is taken as it is.
  TFont Given;
  Given.SetSize(30);
  Leaf->Perform(CM_PARENTFONTCHANGED, 1, reinterpret_cast<intptr_t>(&Given));
  EXPECT_EQ(Leaf->Font()->Size(), 30);
  EXPECT_TRUE(Leaf->ParentFont());
}

// ---------------------------------------------------------------------------------------------
// Reflection of child notifications.

TEST_F(ControlsTest, ChildNotificationsAreReflectedToTheChild) {
  vcltest::TTestHost Host;
  auto* Parent = Host.Add<TRecWin>(0, 0, 200, 150);
  auto* Button = TComponent::Create<TRecButton>(Host.Control());
  Button->SetBounds(10, 10, 80, 25);
  Button->SetParent(Parent);
  HWND B = Button->WindowHandle();
  HWND P = Parent->WindowHandle();
  Track({CN_COMMAND, CN_DRAWITEM, CN_MEASUREITEM, CN_CTLCOLORBTN, CN_NOTIFY, WM_COMMAND});

  // The system button tells its parent it was clicked; the parent hands it to the button.
  SendMessageA(B, BM_CLICK, 0, 0);
  int I = IndexOf(Button, CN_COMMAND);
  ASSERT_GE(I, 0);
  EXPECT_EQ(HIWORD(GLog[size_t(I)].WParam), BN_CLICKED);
  EXPECT_EQ(GLog[size_t(I)].LParam, reinterpret_cast<intptr_t>(B));
  EXPECT_LT(IndexOf(Parent, WM_COMMAND), I);

  DRAWITEMSTRUCT Dis{};
  Dis.CtlType = ODT_BUTTON;
  Dis.hwndItem = B;
  SendMessageA(P, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&Dis));
  EXPECT_EQ(CountOf(Button, CN_DRAWITEM), 1);

  // Measuring comes before the child window exists: the child is found by its id.
  MEASUREITEMSTRUCT Mis{};
  Mis.CtlType = ODT_LISTBOX;
  Mis.CtlID = UINT(GetWindowLongA(B, GWL_ID));
  EXPECT_NE(Mis.CtlID, 0u);
  SendMessageA(P, WM_MEASUREITEM, Mis.CtlID, reinterpret_cast<LPARAM>(&Mis));
  EXPECT_EQ(CountOf(Button, CN_MEASUREITEM), 1);
  EXPECT_EQ(Mis.itemHeight, 33u);

  NMHDR Hdr{B, 0, 0};
  SendMessageA(P, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&Hdr));
  EXPECT_EQ(CountOf(Button, CN_NOTIFY), 1);

  // Colours: the child answers with its own brush, text and background colours set.
  HDC DC = GetDC(B);
  GLog.clear();
  LRESULT Brush = SendMessageA(P, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(B));
  EXPECT_EQ(CountOf(Button, CN_CTLCOLORBTN), 1);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(Brush), Button->Brush()->Handle());
  EXPECT_EQ(GetBkColor(DC), COLORREF(ColorToRGB(Button->Brush()->Color())));
  ReleaseDC(B, DC);

  // A window of other code is left to the default handling.
  HWND Other = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 10, 10, P, nullptr, nullptr, nullptr);
  GLog.clear();
  SendMessageA(P, WM_COMMAND, MAKEWPARAM(1, 0), reinterpret_cast<LPARAM>(Other));
  EXPECT_EQ(CountOf(Button, CN_COMMAND), 0);
  DestroyWindow(Other);
}

// ---------------------------------------------------------------------------------------------
// Accelerators and dialog characters.

TEST(ControlsAccel, IsAccelFindsTheMarkedCharacter) {
  struct Case {
    unsigned short VK;
    const char* Caption;
    bool Expected;
  } Cases[] = {
      {'S', "&Save", true},    {'s', "&Save", true},   {'S', "&save", true},    {'A', "&Save", false},
      {'V', "Sa&ve", true},    {'S', "Sa&ve", false},  {'S', "&&Save", false},  {'S', "&&&Save", true},
      {'X', "", false},        {'E', "Save&", false},  {'1', "Item &1", true},  {'T', "A&&B &Two", true},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(IsAccel(C.VK, C.Caption), C.Expected) << C.Caption << " / " << char(C.VK);
}

TEST_F(ControlsTest, DialogCharGoesToTheFirstControlWithTheAccelerator) {
  vcltest::TTestHost Host;
  auto* Panel = Host.Add<TRecWin>(0, 0, 200, 150);
  auto* Open = TComponent::Create<TAccelControl>(Host.Control());
  Open->SetCaption("&Open");
  Open->SetParent(Panel);
  auto* Save1 = TComponent::Create<TAccelControl>(Host.Control());
  Save1->SetCaption("&Save");
  Save1->SetParent(Panel);
  auto* Save2 = TComponent::Create<TAccelControl>(Host.Control());
  Save2->SetCaption("&Save as");
  Save2->SetParent(Panel);
  auto* Target = TComponent::Create<TRecWin>(Host.Control());
  Target->SetParent(Panel);
  HWND T = Target->WindowHandle();

  // Alt+S as the message loop hands it to the focused control: the root broadcasts it.
  EXPECT_EQ(SendMessageA(T, CN_SYSCHAR, 's', 0x20000000), 1);
  EXPECT_EQ(Save1->Hits, 1);
  EXPECT_EQ(Save2->Hits, 0) << "the broadcast stops at the first taker";
  EXPECT_EQ(Open->Hits, 0);
  // A plain character goes the same way for a control that does not want characters.
  EXPECT_EQ(SendMessageA(T, CN_CHAR, 'o', 0), 1);
  EXPECT_EQ(Open->Hits, 1);
  EXPECT_EQ(SendMessageA(T, CN_CHAR, 'z', 0), 0);
  // An edit wants its characters: no accelerator lookup. (The same control class over another
  // system class gets a window class of its own.)
  auto* Edit = TComponent::Create<TRecButton>(Host.Control());
  Edit->SystemClass = "EDIT";
  Edit->SetBounds(0, 0, 80, 20);
  Edit->SetParent(Panel);
  auto* Button = TComponent::Create<TRecButton>(Host.Control());
  Button->SetParent(Panel);
  char Name1[64] = {}, Name2[64] = {};
  GetClassNameA(Edit->WindowHandle(), Name1, sizeof Name1);
  GetClassNameA(Button->WindowHandle(), Name2, sizeof Name2);
  EXPECT_STRNE(Name1, Name2);
  EXPECT_EQ(SendMessageA(Edit->WindowHandle(), CN_CHAR, 'o', 0), 0);
  EXPECT_EQ(Open->Hits, 1);
  SendMessageA(Edit->WindowHandle(), WM_CHAR, 'k', 1);
  EXPECT_EQ(Edit->Text(), "k") << "the edit works as one";
}

TEST_F(ControlsTest, DialogKeyIsBroadcastToTheChildren) {
  vcltest::TTestHost Host;
  auto* Panel = Host.Add<TRecWin>(0, 0, 200, 150);
  auto* A = TComponent::Create<TRecWin>(Host.Control());
  A->SetParent(Panel);
  Track({CM_DIALOGKEY});
  // Escape on a control that does not want it goes to the root as a dialog key.
  SendMessageA(A->WindowHandle(), CN_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(CountOf(Panel, CM_DIALOGKEY), 1);
  EXPECT_EQ(CountOf(A, CM_DIALOGKEY), 1);
  GLog.clear();
  SendMessageA(A->WindowHandle(), CN_KEYDOWN, 'Q', 0);
  EXPECT_TRUE(GLog.empty()) << "ordinary keys are no dialog keys";
}

// ---------------------------------------------------------------------------------------------
// Graphic controls: painting by the parent, hit tests, clicks.

TEST_F(ControlsTest, GraphicControlIsPaintedByItsParent) {
  vcltest::TTestHost Host;
  auto* Panel = Host.Add<TRecWin>(0, 0, 200, 150);
  Panel->SetColor(clWhite);
  auto* G = TComponent::Create<TRecGraphic>(Host.Control());
  G->SetBounds(20, 30, 40, 25);
  G->SetParent(Panel);
  HWND P = Panel->WindowHandle();
  EXPECT_EQ(vcltest::PixelAt(P, 25, 35), clRed);
  EXPECT_EQ(vcltest::PixelAt(P, 59, 54), clRed);
  EXPECT_EQ(vcltest::PixelAt(P, 60, 35), clWhite);
  EXPECT_EQ(vcltest::PixelAt(P, 25, 55), clWhite);
  EXPECT_GE(G->Paints, 1);

  G->SetLeft(100);
  EXPECT_EQ(vcltest::PixelAt(P, 25, 35), clWhite) << "the old place is repainted";
  EXPECT_EQ(vcltest::PixelAt(P, 105, 35), clRed);

  G->Fill = clBlue;
  G->Invalidate();
  EXPECT_EQ(vcltest::PixelAt(P, 105, 35), clBlue);

  G->SetVisible(false);
  EXPECT_EQ(vcltest::PixelAt(P, 105, 35), clWhite);

  // The whole window as a bitmap shows the same.
  G->SetVisible(true);
  auto Bmp = vcltest::CaptureClient(P);
  EXPECT_EQ(Bmp->Width(), 200);
  EXPECT_EQ(Bmp->Canvas()->Pixels(110, 40), clBlue);
  EXPECT_EQ(Bmp->Canvas()->Pixels(10, 10), clWhite);
}

TEST_F(ControlsTest, GraphicControlCanvasDrawsOutsidePaint) {
  vcltest::TTestHost Host;
  auto* Panel = Host.Add<TRecWin>(0, 0, 200, 150);
  Panel->SetColor(clWhite);
  auto* G = TComponent::Create<TRecGraphic>(Host.Control());
  G->SetBounds(50, 40, 30, 30);
  G->SetParent(Panel);
  vcltest::PumpMessages();
  // The canvas takes the parent's DC with the origin at the control and clipped to it.
  G->Canvas()->Brush()->SetColor(clLime);
  G->Canvas()->FillRect(Rect(-50, -50, 100, 100));
  EXPECT_TRUE(G->Canvas()->HandleAllocated());
  TWindowDC DC(Panel->WindowHandle());
  EXPECT_EQ(TColor(GetPixel(DC, 55, 45)), clLime);
  EXPECT_EQ(TColor(GetPixel(DC, 45, 45)), clWhite) << "clipped to the control";
  FreeDeviceContexts();
  EXPECT_FALSE(G->Canvas()->HandleAllocated());
}

TEST_F(ControlsTest, HitTestAndClickOnReleaseOfAGraphicControl) {
  vcltest::TTestHost Host;
  auto* Panel = Host.Add<TRecWin>(0, 0, 200, 150);
  auto* G = TComponent::Create<TRecGraphic>(Host.Control());
  G->SetBounds(20, 20, 60, 40);
  G->HalfHit = true;
  G->SetParent(Panel);
  HWND P = Panel->WindowHandle();
  int Notified = 0;
  struct TClickSink : TObject {
    int* Count;
    void Clicked(TObject*) { ++*Count; }
  } Sink;
  Sink.Count = &Notified;
  G->OnClick = EVENT(&Sink, TClickSink::Clicked);

  Track({WM_LBUTTONDOWN, WM_LBUTTONUP});
  // The left half answers the hit test: the control gets the press in its own coordinates.
  vcltest::Click(P, 30, 25);
  EXPECT_EQ(G->Clicks, 1);
  EXPECT_EQ(Notified, 1);
  int I = IndexOf(G, WM_LBUTTONDOWN);
  ASSERT_GE(I, 0);
  EXPECT_EQ(MessageX(TMessage{0, 0, GLog[size_t(I)].LParam}), 10);
  EXPECT_EQ(MessageY(TMessage{0, 0, GLog[size_t(I)].LParam}), 5);
  EXPECT_EQ(Panel->Clicks, 0);

  // The right half does not: the parent gets the click.
  vcltest::Click(P, 70, 25);
  EXPECT_EQ(G->Clicks, 1);
  EXPECT_EQ(Panel->Clicks, 1);

  EXPECT_EQ(Panel->ControlAtPos(Point(30, 25), false), G);
  EXPECT_EQ(Panel->ControlAtPos(Point(70, 25), false), nullptr);

  // Pressed inside, released outside: the capture brings the release, but no click.
  vcltest::SendMouse(P, WM_LBUTTONDOWN, 30, 25, MK_LBUTTON);
  EXPECT_EQ(GetCaptureControl(), G);
  EXPECT_EQ(GetCapture(), P);
  EXPECT_TRUE(G->MouseCapture());
  GLog.clear();
  vcltest::SendMouse(P, WM_LBUTTONUP, 150, 120, 0);
  EXPECT_EQ(CountOf(G, WM_LBUTTONUP), 1);
  EXPECT_EQ(G->Clicks, 1);
  EXPECT_EQ(Panel->Clicks, 1);
  EXPECT_EQ(GetCaptureControl(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);

  // Disabled controls are passed over unless asked for.
  G->SetEnabled(false);
  EXPECT_EQ(Panel->ControlAtPos(Point(30, 25), false), nullptr);
  EXPECT_EQ(Panel->ControlAtPos(Point(30, 25), true), G);
  vcltest::Click(P, 30, 25);
  EXPECT_EQ(G->Clicks, 1);
  EXPECT_EQ(Panel->Clicks, 2);
}

TEST_F(ControlsTest, ControlAtPosTakesTheTopMost) {
  vcltest::TTestHost Host;
  auto* Panel = Host.Add<TRecWin>(0, 0, 200, 150);
  auto* Under = TComponent::Create<TRecGraphic>(Host.Control());
  Under->SetBounds(10, 10, 50, 50);
  Under->SetParent(Panel);
  auto* Over = TComponent::Create<TRecGraphic>(Host.Control());
  Over->SetBounds(30, 30, 50, 50);
  Over->SetParent(Panel);
  auto* Win = TComponent::Create<TRecWin>(Host.Control());
  Win->SetBounds(40, 40, 50, 50);
  Win->SetParent(Panel);
  EXPECT_EQ(Panel->ControlAtPos(Point(35, 35), false), Over);
  EXPECT_EQ(Panel->ControlAtPos(Point(15, 15), false), Under);
  EXPECT_EQ(Panel->ControlAtPos(Point(45, 45), false, true), Win) << "windows are above graphic controls";
  EXPECT_EQ(Panel->ControlAtPos(Point(45, 45), false), Over);
  Under->BringToFront();
  EXPECT_EQ(Panel->ControlAtPos(Point(35, 35), false), Under);
  Over->SetVisible(false);
  Under->SetVisible(false);
  EXPECT_EQ(Panel->ControlAtPos(Point(35, 35), false), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Mouse enter and leave.

TEST_F(ControlsTest, MouseEnterComesBeforeTheFirstMoveAndLeaveAfterTheLast) {
  vcltest::TTestHost Host(320, 240);
  Host.Frame().Activate();
  auto* Panel = Host.Add<TRecWin>(0, 0, 320, 240);
  auto* G = TComponent::Create<TRecGraphic>(Host.Control());
  G->SetBounds(10, 10, 60, 60);
  G->SetParent(Panel);
  auto* W = TComponent::Create<TRecWin>(Host.Control());
  W->SetBounds(150, 10, 80, 80);
  W->SetParent(Panel);
  HWND P = Panel->WindowHandle();
  vcltest::PumpRounds(3);
  Track({CM_MOUSEENTER, CM_MOUSELEAVE, WM_MOUSEMOVE});

  vcltest::MoveMouse(P, 30, 30);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return CountOf(G, WM_MOUSEMOVE) > 0; }));
  EXPECT_EQ(MouseControl(), G);
  ASSERT_GE(IndexOf(G, CM_MOUSEENTER), 0);
  EXPECT_LT(IndexOf(G, CM_MOUSEENTER), IndexOf(G, WM_MOUSEMOVE));
  // The parent hears of it, with the control that entered.
  EXPECT_GE(IndexOf(Panel, CM_MOUSEENTER, reinterpret_cast<intptr_t>(G)), 0);

  GLog.clear();
  vcltest::MoveMouse(P, 100, 150);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return CountOf(Panel, WM_MOUSEMOVE) > 0; }));
  EXPECT_EQ(MouseControl(), Panel);
  int Leave = IndexOf(G, CM_MOUSELEAVE), Enter = IndexOf(Panel, CM_MOUSEENTER, 0);
  ASSERT_GE(Leave, 0);
  ASSERT_GE(Enter, 0);
  EXPECT_LT(Leave, Enter);
  EXPECT_LT(Enter, IndexOf(Panel, WM_MOUSEMOVE));

  GLog.clear();
  vcltest::MoveMouse(P, 180, 40);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return CountOf(W, WM_MOUSEMOVE) > 0; }));
  EXPECT_EQ(MouseControl(), W);
  EXPECT_GE(IndexOf(Panel, CM_MOUSELEAVE, 0), 0);
  EXPECT_LT(IndexOf(W, CM_MOUSEENTER), IndexOf(W, WM_MOUSEMOVE));

  // Off the window altogether: the system's leave notice ends it.
  GLog.clear();
  RECT R;
  GetWindowRect(Host.Window(), &R);
  vcltest::MoveMouse(GetDesktopWindow(), R.right + 100, R.bottom + 100);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return MouseControl() == nullptr; }));
  EXPECT_EQ(CountOf(W, CM_MOUSELEAVE), 1);
}

TEST_F(ControlsTest, MoveHandledAfterTheCursorWentAwayStillEndsInALeave) {
  vcltest::TTestHost Host(320, 240);
  auto* Panel = Host.Add<TRecWin>(0, 0, 320, 240);
  auto* G = TComponent::Create<TRecGraphic>(Host.Control());
  G->SetBounds(10, 10, 60, 60);
  G->SetParent(Panel);
  RECT R;
  GetWindowRect(Host.Window(), &R);
  vcltest::MoveMouse(GetDesktopWindow(), R.right + 100, R.bottom + 100);
  Track({CM_MOUSEENTER, CM_MOUSELEAVE});
  // A move that was queued while the cursor was still over the control.
  vcltest::SendMouse(Panel->WindowHandle(), WM_MOUSEMOVE, 30, 30);
  EXPECT_EQ(CountOf(G, CM_MOUSEENTER), 1);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return MouseControl() == nullptr; }));
  EXPECT_EQ(CountOf(G, CM_MOUSELEAVE), 1);
}

TEST_F(ControlsTest, CapturedControlLeavesWhenTheMouseGoesOut) {
  vcltest::TTestHost Host(320, 240);
  Host.Frame().Activate();
  auto* Panel = Host.Add<TRecWin>(0, 0, 320, 240);
  auto* G = TComponent::Create<TRecGraphic>(Host.Control());
  G->SetBounds(10, 10, 60, 60);
  G->SetParent(Panel);
  HWND P = Panel->WindowHandle();
  vcltest::PumpRounds(3);
  vcltest::MoveMouse(P, 30, 30);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return MouseControl() == G; }));
  Track({CM_MOUSEENTER, CM_MOUSELEAVE});
  vcltest::SendMouse(P, WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
  ASSERT_EQ(GetCaptureControl(), G);
  // Held down and dragged out: only the captured control is told.
  vcltest::MoveMouse(P, 200, 200);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return CountOf(G, CM_MOUSELEAVE) > 0; }));
  vcltest::PumpRounds(5);
  EXPECT_EQ(MouseControl(), nullptr);
  EXPECT_EQ(IndexOf(Panel, CM_MOUSEENTER, 0), -1) << "the parent does not take over during the capture";
  vcltest::MoveMouse(P, 40, 40);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return MouseControl() == G; }));
  vcltest::SendMouse(P, WM_LBUTTONUP, 40, 40, 0);
  EXPECT_EQ(G->Clicks, 1);
}

TEST_F(ControlsTest, DragFromOneGraphicControlDropsOnAnother) {
  vcltest::TTestHost Host(320, 240);
  Host.Frame().Activate();
  auto* Panel = Host.Add<TRecWin>(0, 0, 320, 240);
  auto* A = TComponent::Create<TRecGraphic>(Host.Control());
  A->SetBounds(10, 10, 40, 40);
  A->SetParent(Panel);
  auto* B = TComponent::Create<TRecGraphic>(Host.Control());
  B->SetBounds(100, 10, 60, 60);
  B->SetParent(Panel);
  auto* Refuses = TComponent::Create<TRecGraphic>(Host.Control());
  Refuses->SetBounds(200, 10, 60, 60);
  Refuses->SetParent(Panel);
  HWND P = Panel->WindowHandle();
  struct TSink : TObject {
    std::vector<std::string> Events;
    void Over(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept) {
      Events.push_back("over " + std::to_string(State) + " " + std::to_string(X) + "," + std::to_string(Y) +
                       (Source == Expected ? "" : " wrong source") + (Sender == Target ? "" : " wrong sender"));
      Accept = true;
    }
    void Drop(TObject* Sender, TObject* Source, int X, int Y) {
      Events.push_back("drop " + std::to_string(X) + "," + std::to_string(Y) +
                       (Source == Expected && Sender == Target ? "" : " wrong objects"));
    }
    void End(TObject*, TObject* Target, int X, int Y) {
      Events.push_back(std::string("end ") + (Target == this->Target ? "target " : Target ? "other " : "none ") +
                       std::to_string(X) + "," + std::to_string(Y));
    }
    TObject* Expected = nullptr;
    TObject* Target = nullptr;
  } Sink;
  Sink.Expected = A;
  Sink.Target = B;
  B->OnDragOver = EVENT(&Sink, TSink::Over);
  B->OnDragDrop = EVENT(&Sink, TSink::Drop);
  A->OnEndDrag = EVENT(&Sink, TSink::End);

  vcltest::MoveMouse(P, 20, 20);
  vcltest::PumpRounds(3);
  A->BeginDrag(true);
  EXPECT_TRUE(A->Dragging());
  EXPECT_EQ(GetCapture(), P);
  vcltest::MoveMouse(P, 120, 30);
  ASSERT_TRUE(vcltest::PumpUntil([&] { return !Sink.Events.empty(); }));
  vcltest::PumpRounds(2);
  EXPECT_EQ(Sink.Events.front(), "over 0 20,20");  // dsDragEnter, in B's coordinates
  vcltest::SendMouse(P, WM_LBUTTONUP, 125, 35, 0);
  ASSERT_GE(Sink.Events.size(), 3u);
  EXPECT_EQ(Sink.Events[Sink.Events.size() - 2], "drop 25,25");
  EXPECT_EQ(Sink.Events.back(), "end target 25,25");
  EXPECT_FALSE(A->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);

  // A control without OnDragOver refuses: nothing is dropped and the drag ends on no target.
  Sink.Events.clear();
  A->BeginDrag(true);
  vcltest::SendMouse(P, WM_MOUSEMOVE, 220, 30, 0);
  vcltest::SendMouse(P, WM_LBUTTONUP, 220, 30, 0);
  ASSERT_EQ(Sink.Events.size(), 1u);
  EXPECT_EQ(Sink.Events[0], "end none 0,0");
}

TEST_F(ControlsTest, SystemColourChangeReachesEveryControl) {
  vcltest::TTestHost Host;
  auto* Panel = Host.Add<TRecWin>(0, 0, 200, 150);
  auto* W = TComponent::Create<TRecWin>(Host.Control());
  W->SetParent(Panel);
  auto* G = TComponent::Create<TRecGraphic>(Host.Control());
  G->SetParent(W);
  Track({CM_SYSCOLORCHANGE});
  SendMessageA(Panel->WindowHandle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(CountOf(Panel, CM_SYSCOLORCHANGE), 1);
  EXPECT_EQ(CountOf(W, CM_SYSCOLORCHANGE), 1);
  EXPECT_EQ(CountOf(G, CM_SYSCOLORCHANGE), 1);
}

// ---------------------------------------------------------------------------------------------
// Alignment.

TEST_F(ControlsTest, AlignedChildrenShareTheClientArea) {
  struct Item {
    TAlign Align;
    TRect Start;     // bounds before aligning
    TRect Expected;  // in a 300 x 200 parent
    TRect Resized;   // after the parent becomes 400 x 250
  };
  const Item Items[] = {
      {alTop, Bounds(0, 0, 10, 20), Rect(0, 0, 300, 20), Rect(0, 0, 400, 20)},
      {alTop, Bounds(0, 50, 10, 10), Rect(0, 20, 300, 30), Rect(0, 20, 400, 30)},
      {alBottom, Bounds(0, 0, 10, 30), Rect(0, 170, 300, 200), Rect(0, 220, 400, 250)},
      {alLeft, Bounds(0, 0, 40, 10), Rect(0, 30, 40, 170), Rect(0, 30, 40, 220)},
      {alRight, Bounds(0, 0, 50, 10), Rect(250, 30, 300, 170), Rect(350, 30, 400, 220)},
      {alClient, Bounds(0, 0, 5, 5), Rect(40, 30, 250, 170), Rect(40, 30, 350, 220)},
      {alNone, Bounds(7, 8, 9, 10), Bounds(7, 8, 9, 10), Bounds(7, 8, 9, 10)},
  };
  for (bool Windowed : {false, true}) {
    SCOPED_TRACE(Windowed ? "windowed parent" : "parent without a window");
    vcltest::TTestHost Host(420, 260);
    auto* Panel = TComponent::Create<TRecWin>(Host.Control());
    Panel->SetBounds(0, 0, 300, 200);
    if (Windowed) Panel->SetParent(Host.Control());
    std::vector<TControl*> Kids;
    for (size_t I = 0; I < std::size(Items); ++I) {
      TControl* C = (I % 2) ? static_cast<TControl*>(TComponent::Create<TRecGraphic>(Host.Control()))
                            : static_cast<TControl*>(TComponent::Create<TRecWin>(Host.Control()));
      C->SetBoundsRect(Items[I].Start);
      C->SetAlign(Items[I].Align);
      C->SetParent(Panel);
      Kids.push_back(C);
    }
    for (size_t I = 0; I < Kids.size(); ++I) EXPECT_EQ(Kids[I]->BoundsRect(), Items[I].Expected) << I;
    if (Windowed) {
      EXPECT_EQ(WindowRectInParent(static_cast<TWinControl*>(Kids[0])->WindowHandle()), Items[0].Expected);
    }
    Panel->SetBounds(0, 0, 400, 250);
    for (size_t I = 0; I < Kids.size(); ++I) EXPECT_EQ(Kids[I]->BoundsRect(), Items[I].Resized) << I;
    // A hidden aligned control gives its room to the others.
    Kids[2]->SetVisible(false);
    EXPECT_EQ(Kids[5]->BoundsRect(), Rect(40, 30, 350, 250));
    TObject::Free(Panel);
  }
}

TEST_F(ControlsTest, DisabledAlignWaitsForEnableAlign) {
  vcltest::TTestHost Host;
  auto* Panel = Host.Add<TRecWin>(0, 0, 200, 100);
  auto* C = TComponent::Create<TRecGraphic>(Host.Control());
  C->SetParent(Panel);
  Panel->DisableAlign();
  C->SetAlign(alClient);
  EXPECT_NE(C->BoundsRect(), Rect(0, 0, 200, 100));
  Panel->EnableAlign();
  EXPECT_EQ(C->BoundsRect(), Rect(0, 0, 200, 100));
}

// ---------------------------------------------------------------------------------------------
// Focus and tab order.

TEST_F(ControlsTest, TabOrderAndNextControl) {
  vcltest::TTestHost Host;
  auto* Panel = Host.Add<TRecWin>(0, 0, 300, 200);
  std::vector<TRecWin*> C;
  for (int I = 0; I < 4; ++I) {
    auto* W = TComponent::Create<TRecWin>(Host.Control());
    W->SetBounds(10 + 60 * I, 10, 50, 30);
    W->SetTabStop(true);
    W->SetParent(Panel);
    C.push_back(W);
  }
  EXPECT_EQ(C[0]->TabOrder(), 0);
  EXPECT_EQ(C[3]->TabOrder(), 3);
  C[3]->SetTabOrder(0);
  EXPECT_EQ(C[3]->TabOrder(), 0);
  EXPECT_EQ(C[0]->TabOrder(), 1);
  C[3]->SetTabOrder(99);  // out of range: last
  EXPECT_EQ(C[3]->TabOrder(), 3);
  std::vector<TWinControl*> List;
  Host.Control()->GetTabOrderList(List);
  ASSERT_EQ(List.size(), 5u);
  EXPECT_EQ(List[0], Panel);
  EXPECT_EQ(List[1], C[0]);

  C[1]->SetTabStop(false);
  C[2]->SetEnabled(false);
  EXPECT_EQ(Panel->FindNextControl(C[0], true, true, false), C[3]) << "skips no-tab-stop and disabled";
  EXPECT_EQ(Panel->FindNextControl(C[3], true, true, false), C[0]) << "wraps";
  EXPECT_EQ(Panel->FindNextControl(C[0], false, true, false), C[3]);
  EXPECT_EQ(Panel->FindNextControl(C[0], true, false, false), C[1]) << "tab stops ignored";
  EXPECT_EQ(Panel->FindNextControl(nullptr, true, true, false), C[0]);
  // A fresh control off any parent keeps the streamed value.
  auto* Loose = TComponent::Create<TRecWin>(nullptr);
  EXPECT_EQ(Loose->TabOrder(), -1);
  Loose->SetTabOrder(2);
  EXPECT_EQ(Loose->TabOrder(), 2);
  TObject::Free(Loose);
}

TEST_F(ControlsTest, FocusMovesSendExitThenEnter) {
  vcltest::TTestHost Host;
  Host.Frame().Activate();
  auto* Panel = Host.Add<TRecWin>(0, 0, 300, 200);
  auto* A = TComponent::Create<TRecWin>(Host.Control());
  A->SetParent(Panel);
  auto* B = TComponent::Create<TRecWin>(Host.Control());
  B->SetParent(Panel);
  int Entered = 0;
  struct TSink : TObject {
    int* N;
    void Enter(TObject*) { ++*N; }
  } Sink;
  Sink.N = &Entered;
  B->OnEnter = EVENT(&Sink, TSink::Enter);

  A->SetFocus();
  ASSERT_TRUE(A->Focused());
  Track({CM_ENTER, CM_EXIT, CM_FOCUSCHANGED});
  B->SetFocus();
  ASSERT_TRUE(B->Focused());
  EXPECT_FALSE(A->Focused());
  int Exit = IndexOf(A, CM_EXIT), Enter = IndexOf(B, CM_ENTER);
  ASSERT_GE(Exit, 0);
  ASSERT_GE(Enter, 0);
  EXPECT_LT(Exit, Enter);
  EXPECT_EQ(Entered, 1);
  // The change is announced from the root to every control.
  EXPECT_GE(IndexOf(Panel, CM_FOCUSCHANGED, reinterpret_cast<intptr_t>(B)), 0);
  EXPECT_GE(IndexOf(A, CM_FOCUSCHANGED, reinterpret_cast<intptr_t>(B)), 0);

  B->SetEnabled(false);
  try {
    B->SetFocus();
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidOperation& E) {
    EXPECT_STREQ(E.what(), "Cannot focus a disabled or invisible window");
  }
}

// ---------------------------------------------------------------------------------------------
// Exceptions never leave a window procedure.

TEST_F(ControlsTest, ExceptionInAHandlerReachesTheApplicationHandler) {
  ASSERT_TRUE(Application);
  TExceptionSink Sink;
  TExceptionEvent Saved = Application->OnException;
  Application->OnException = EVENT(&Sink, TExceptionSink::Handle);
  struct Restore {
    TExceptionEvent E;
    ~Restore() { Application->OnException = E; }
  } R{Saved};

  vcltest::TTestHost Host;
  auto* C = Host.Add<TRecWin>(0, 0, 100, 100);
  C->OnClickThrows = [] { throw EConvertError("'x' is not a valid integer value"); };
  vcltest::Click(C->WindowHandle(), 10, 10);
  EXPECT_EQ(C->Clicks, 1);
  ASSERT_EQ(Sink.Messages.size(), 1u);
  EXPECT_EQ(Sink.Messages[0], "'x' is not a valid integer value");
  EXPECT_EQ(Sink.Senders[0], C);
  // The control goes on working.
  C->OnClickThrows = nullptr;
  vcltest::Click(C->WindowHandle(), 10, 10);
  EXPECT_EQ(C->Clicks, 2);
  EXPECT_EQ(Sink.Messages.size(), 1u);

  // A graphic control painted by its parent: the parent's window procedure catches it, and
  // the paint's device context is given back.
  auto* G = TComponent::Create<TRecGraphic>(Host.Control());
  G->SetBounds(10, 10, 30, 30);
  G->PaintThrows = true;
  G->SetParent(C);
  vcltest::PumpMessages();
  UpdateWindow(C->WindowHandle());
  ASSERT_GE(Sink.Messages.size(), 2u);
  EXPECT_EQ(Sink.Messages[1], "paint failed");
  EXPECT_EQ(Sink.Senders[1], C);
  RECT Update;
  EXPECT_FALSE(GetUpdateRect(C->WindowHandle(), &Update, FALSE)) << "the paint was ended";
  EXPECT_FALSE(G->Canvas()->HandleAllocated());
}
