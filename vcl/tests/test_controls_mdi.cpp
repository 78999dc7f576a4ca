// MDI frames and children: the client window, children made through it, their order, the
// active child, closing and freeing.
#include "vcl/StdCtrls.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vcltest::PumpRounds;
using vcltest::PumpUntil;

std::string ClassOf(HWND Wnd) {
  char Buf[64] = {};
  GetClassNameA(Wnd, Buf, sizeof Buf);
  return Buf;
}

// An MDI main form (the application's main form while it lives) and its children.
struct TMDIFixture : ::testing::Test {
  TForm* Frame = nullptr;
  std::vector<TForm*> Children;

  void SetUp() override {
    ASSERT_EQ(Application->MainForm(), nullptr);
    Application->CreateForm(&Frame);
    ASSERT_EQ(Application->MainForm(), Frame);
    Frame->SetBounds(60, 40, 500, 380);
    Frame->SetFormStyle(fsMDIForm);
    Frame->Show();
    PumpRounds(2);
  }
  void TearDown() override {
    for (TForm* C : Children) TObject::Free(C);
    TObject::Free(Frame);
    PumpRounds(1);
  }
  TForm* AddChild(const char* Caption, int Left = 10, int Top = 10) {
    TForm* C = TCustomForm::CreateNew<TForm>(nullptr);
    Children.push_back(C);
    C->SetBounds(Left, Top, 200, 150);
    C->SetCaption(Caption);
    C->SetFormStyle(fsMDIChild);
    PumpRounds(1);
    return C;
  }
};

// Watches the MDI client's WM_MDICREATE: the style asked for and the children list then.
struct TClientSpy : TObject {
  TWindowProcHook Hook;
  TCustomForm* Frame = nullptr;
  std::vector<DWORD> Styles;
  std::vector<TCustomForm*> LastChild;
  void Proc(TMessage& M) {
    if (M.Msg == WM_MDICREATE) {
      Styles.push_back(reinterpret_cast<MDICREATESTRUCTA*>(M.LParam)->style);
      LastChild.push_back(Frame->MDIChildren(Frame->MDIChildCount() - 1));
    }
    M.Result = Hook.CallPrevious(M);
  }
};

TEST_F(TMDIFixture, FrameHoldsAClientThatMakesTheChildren) {
  const HWND Client = Frame->ClientHandle();
  ASSERT_TRUE(Client);
  EXPECT_EQ(ClassOf(Client), "MDIClient") << "the system's MDI client class";
  EXPECT_EQ(GetParent(Client), Frame->Handle());
  RECT FC, CC;
  GetClientRect(Frame->Handle(), &FC);
  GetWindowRect(Client, &CC);
  EXPECT_EQ(CC.right - CC.left, FC.right) << "the client fills the frame";

  TClientSpy Spy;
  Spy.Frame = Frame;
  Spy.Hook.Install(Client, TWindowProcHook::THandler::Bind<&TClientSpy::Proc>(&Spy));
  TForm* A = AddChild("Child A");
  TForm* B = AddChild("Child B", 40, 40);
  ASSERT_EQ(Spy.Styles.size(), 2u);
  EXPECT_TRUE(Spy.Styles[0] & WS_CAPTION);
  EXPECT_TRUE(Spy.Styles[0] & WS_CHILD);
  EXPECT_EQ(Spy.LastChild[0], A) << "a child is last in MDIChildren while its window is made";
  EXPECT_EQ(Spy.LastChild[1], B);
  EXPECT_EQ(GetParent(A->Handle()), Client);
  EXPECT_TRUE(GetWindowLongA(A->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_TRUE(A->Visible());
  EXPECT_TRUE(IsWindowVisible(A->Handle()));
  EXPECT_EQ(Frame->MDIChildCount(), 2);
  EXPECT_EQ(Frame->MDIChildren(0), A);
  EXPECT_EQ(Frame->MDIChildren(1), B);
  EXPECT_THROW(Frame->MDIChildren(2), EListError);
  EXPECT_EQ(Frame->ActiveMDIChild(), B) << "the child shown last is active";
  SendMessageA(Client, WM_MDIACTIVATE, WPARAM(A->Handle()), 0);
  EXPECT_EQ(Frame->ActiveMDIChild(), A);
  EXPECT_EQ(A->MDIChildCount(), 0) << "only a frame has children";

  // A re-created child is made again through the client and is then last.
  A->SetBorderStyle(bsSingle);
  PumpRounds(1);
  ASSERT_EQ(Spy.Styles.size(), 3u);
  EXPECT_EQ(Spy.LastChild[2], A);
  EXPECT_EQ(Frame->MDIChildren(1), A);
  EXPECT_EQ(GetParent(A->Handle()), Client);
  Spy.Hook.Remove();
}

TEST_F(TMDIFixture, ClosingAChildMinimisesItAndFreeingItTakesItAway) {
  TForm* A = AddChild("Child A");
  TForm* B = AddChild("Child B", 40, 40);
  SendMessageA(B->Handle(), WM_CLOSE, 0, 0);
  PumpRounds(2);
  EXPECT_TRUE(IsIconic(B->Handle()));
  EXPECT_TRUE(IsWindow(B->Handle()));
  const HWND AWnd = A->Handle();
  TObject::Free(A);
  Children.erase(Children.begin());
  PumpRounds(1);
  EXPECT_FALSE(IsWindow(AWnd));
  EXPECT_EQ(Frame->MDIChildCount(), 1);
  EXPECT_EQ(Frame->ActiveMDIChild(), B);
}

TEST_F(TMDIFixture, AlignedControlsShareTheFrameWithTheClient) {
  TGroupBox* Bar = TComponent::Create<TGroupBox>(Frame);
  Bar->SetParent(Frame);
  Bar->SetHeight(30);
  Bar->SetAlign(alTop);
  PumpRounds(1);
  RECT C;
  GetWindowRect(Frame->ClientHandle(), &C);
  POINT P{C.left, C.top};
  ScreenToClient(Frame->Handle(), &P);
  EXPECT_EQ(P.y, 30) << "the client sits below the bar";
  Frame->SetHeight(Frame->Height() + 40);
  PumpRounds(1);
  RECT FC;
  GetClientRect(Frame->Handle(), &FC);
  GetWindowRect(Frame->ClientHandle(), &C);
  EXPECT_EQ(C.bottom - C.top, FC.bottom - 30);
}

TEST(MDIForms, ChildWithoutAnMDIMainFormCannotMakeItsWindow) {
  ASSERT_EQ(Application->MainForm(), nullptr);
  TForm* Child = TCustomForm::CreateNew<TForm>(nullptr);
  try {
    Child->SetFormStyle(fsMDIChild);
    FAIL() << "no exception";
  } catch (EInvalidOperation& E) {
    EXPECT_STREQ(E.Message().c_str(), "Cannot create form. No MDI forms are currently active");
  }
  EXPECT_FALSE(Child->HandleAllocated());
  TObject::Free(Child);
}

}  // namespace
