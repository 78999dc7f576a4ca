// The message dialog: its form for each type and set of buttons, what it shows on the screen,
// what it returns for each way of answering it, and its help button.
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"
#include "vcl/tests/dialogtest.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace dialogtest;
using namespace vcltest;

struct TFree {
  void operator()(TObject* O) const { TObject::Free(O); }
};
using TDialogPtr = std::unique_ptr<TCustomForm, TFree>;

std::vector<TButton*> ButtonsOf(TCustomForm* F) {
  std::vector<TButton*> B;
  for (int I = 0; I < F->ComponentCount(); ++I)
    if (auto* Button = dynamic_cast<TButton*>(F->Components(I))) B.push_back(Button);
  return B;
}

// The icon drawn over the button face colour, as the form paints it.
std::unique_ptr<TBitmap> IconOnFace(HICON Icon) {
  auto B = MakeBitmap(32, 32, clBtnFace);
  DrawIconEx(B->Canvas()->Handle(), 0, 0, Icon, 32, 32, 0, nullptr, DI_NORMAL);
  GdiFlush();
  return B;
}

bool SamePixels(TBitmap* A, TBitmap* B, int AX, int AY) {
  for (int Y = 0; Y < B->Height(); ++Y)
    for (int X = 0; X < B->Width(); ++X)
      if (A->Canvas()->Pixels(AX + X, AY + Y) != B->Canvas()->Pixels(X, Y)) return false;
  return true;
}

TEST(MessageDialog, EachTypeHasItsCaptionAndIcon) {
  const struct {
    TMsgDlgType Type;
    AnsiString Caption;
    LPCSTR Icon;
  } Cases[] = {
      {mtWarning, "Warning", IDI_EXCLAMATION},
      {mtError, "Error", IDI_HAND},
      {mtInformation, "Information", IDI_ASTERISK},
      {mtConfirmation, "Confirm", IDI_QUESTION},
      {mtCustom, Application->Title(), nullptr},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Caption.str());
    TDialogPtr D(CreateMessageDialog("Some text", C.Type, MsgDlgButtons({mbOK})));
    EXPECT_EQ(D->Caption(), C.Caption);
    EXPECT_EQ(D->BorderStyle(), bsDialog);
    auto* Text = dynamic_cast<TLabel*>(D->FindComponent("Message"));
    ASSERT_NE(Text, nullptr);
    EXPECT_EQ(Text->Caption(), "Some text");
    EXPECT_TRUE(Text->WordWrap());
    auto* Image = dynamic_cast<TImage*>(D->FindComponent("Image"));
    if (!C.Icon) {
      EXPECT_EQ(Image, nullptr);
      continue;
    }
    ASSERT_NE(Image, nullptr);
    EXPECT_EQ(Image->Width(), 32);
    EXPECT_EQ(Image->Height(), 32);
    EXPECT_GT(Text->Left(), Image->Left() + Image->Width());
    auto Mine = IconOnFace(Image->Picture()->Icon()->Handle());
    auto System = IconOnFace(LoadIconA(nullptr, C.Icon));
    EXPECT_TRUE(SamePixels(Mine.get(), System.get(), 0, 0));
  }
}

TEST(MessageDialog, ButtonsInARowWithTheirCaptionsAndResults) {
  const struct {
    const char* Name;
    const char* Caption;
    int Result;
  } Kinds[] = {
      {"Yes", "&Yes", mrYes},       {"No", "&No", mrNo},         {"OK", "OK", mrOk},
      {"Cancel", "Cancel", mrCancel}, {"Abort", "&Abort", mrAbort}, {"Retry", "&Retry", mrRetry},
      {"Ignore", "&Ignore", mrIgnore}, {"All", "&All", mrAll},     {"NoToAll", "N&o to All", mrNoToAll},
      {"YesToAll", "Yes to &All", mrYesToAll}, {"Help", "&Help", mrNone},
  };
  const struct {
    TMsgDlgButtons Buttons;
    std::vector<std::string> Names;
    std::string Default, Cancel;
  } Cases[] = {
      {MsgDlgButtons({mbOK}), {"OK"}, "OK", "OK"},
      {mbOKCancel, {"OK", "Cancel"}, "OK", "Cancel"},
      {mbYesNoCancel, {"Yes", "No", "Cancel"}, "Yes", "Cancel"},
      {MsgDlgButtons({mbNo, mbYes}), {"Yes", "No"}, "Yes", "No"},
      {mbAbortRetryIgnore, {"Abort", "Retry", "Ignore"}, "Retry", ""},
      {mbYesAllNoAllCancel, {"Yes", "No", "Cancel", "NoToAll", "YesToAll"}, "Yes", "Cancel"},
      {MsgDlgButtons({mbHelp, mbAll, mbOK}), {"OK", "All", "Help"}, "OK", "OK"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Names.back());
    TDialogPtr D(CreateMessageDialog("A question that needs an answer?", mtConfirmation, C.Buttons));
    D->Handle();
    const std::vector<TButton*> B = ButtonsOf(D.get());
    ASSERT_EQ(B.size(), C.Names.size());
    const TControl* Text = dynamic_cast<TControl*>(D->FindComponent("Message"));
    const TControl* Image = dynamic_cast<TControl*>(D->FindComponent("Image"));
    for (size_t I = 0; I < B.size(); ++I) {
      const std::string Name = B[I]->Name().str();
      EXPECT_EQ(Name, C.Names[I]);
      for (const auto& K : Kinds)
        if (Name == K.Name) {
          EXPECT_EQ(B[I]->Caption(), K.Caption);
          EXPECT_EQ(B[I]->ModalResult(), K.Result);
        }
      EXPECT_EQ(B[I]->Default(), Name == C.Default) << Name;
      EXPECT_EQ(B[I]->Cancel(), Name == C.Cancel) << Name;
      // One row of equal buttons, below the text and the icon, inside the form.
      EXPECT_EQ(B[I]->Top(), B[0]->Top());
      EXPECT_EQ(B[I]->Width(), B[0]->Width());
      if (I) {
        EXPECT_GT(B[I]->Left(), B[I - 1]->Left() + B[I - 1]->Width());
      }
      EXPECT_GT(B[I]->Top(), Text->Top() + Text->Height());
      EXPECT_GT(B[I]->Top(), Image->Top() + Image->Height());
      EXPECT_LE(B[I]->Top() + B[I]->Height(), D->ClientHeight());
      EXPECT_GE(B[I]->Width(), D->Canvas()->TextWidth(B[I]->Caption()));
    }
    const int RowLeft = B.front()->Left(), RowRight = B.back()->Left() + B.back()->Width();
    EXPECT_NEAR(RowLeft, D->ClientWidth() - RowRight, 1) << "centred";
    EXPECT_LE(Text->Left() + Text->Width(), D->ClientWidth());
  }
}

TEST(MessageDialog, LongTextWrapsWithinHalfTheScreen) {
  AnsiString Long;
  for (int I = 0; I < 60; ++I) Long += "word ";
  TDialogPtr Short(CreateMessageDialog("Short", mtInformation, MsgDlgButtons({mbOK})));
  TDialogPtr D(CreateMessageDialog(Long, mtInformation, MsgDlgButtons({mbOK})));
  const TControl* Text = dynamic_cast<TControl*>(D->FindComponent("Message"));
  EXPECT_LE(Text->Width(), GetSystemMetrics(SM_CXSCREEN) / 2);
  EXPECT_GT(Text->Height(), 2 * dynamic_cast<TControl*>(Short->FindComponent("Message"))->Height());
  EXPECT_GT(D->ClientHeight(), Short->ClientHeight());
}

TEST(MessageDialog, ShowsItsIconTextAndButtonsCentredOnTheScreen) {
  TDialogPtr D(CreateMessageDialog("Disk full", mtError, MsgDlgButtons({mbOK})));
  D->Show();
  PumpRounds(5);
  RECT W;
  GetWindowRect(D->Handle(), &W);
  EXPECT_NEAR((W.left + W.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((W.top + W.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  auto Shot = CaptureClient(D->Handle());
  const auto* Image = dynamic_cast<TControl*>(D->FindComponent("Image"));
  auto Icon = IconOnFace(LoadIconA(nullptr, IDI_HAND));
  EXPECT_TRUE(SamePixels(Shot.get(), Icon.get(), Image->Left(), Image->Top()));
  // The text is painted where its label is: dark pixels on the face there.
  const auto* Text = dynamic_cast<TControl*>(D->FindComponent("Message"));
  int Dark = 0;
  for (int Y = Text->Top(); Y < Text->Top() + Text->Height(); ++Y)
    for (int X = Text->Left(); X < Text->Left() + Text->Width(); ++X)
      Dark += (ColorToRGB(Shot->Canvas()->Pixels(X, Y)) & 0xFF) < 0x60;
  EXPECT_GT(Dark, 10);
  HWND Ok = FindWindowExA(D->Handle(), nullptr, nullptr, "OK");
  ASSERT_TRUE(Ok);
  EXPECT_TRUE(IsWindowVisible(Ok));
}

// Posts a click to the dialog's button of caption Caption.
bool Press(HWND Dialog, const char* Caption) {
  HWND B = FindWindowExA(Dialog, nullptr, nullptr, Caption);
  if (!B) return false;
  PostMessageA(B, BM_CLICK, 0, 0);
  return true;
}

// A key pressed on the dialog's focused control.
bool Key(WORD VirtualKey) {
  HWND Focus = GetFocus();
  if (!Focus) return false;
  PostMessageA(Focus, WM_KEYDOWN, VirtualKey, 1);
  PostMessageA(Focus, WM_KEYUP, VirtualKey, 0xC0000001);
  return true;
}

TEST(MessageDialog, ReturnsTheAnswer) {
  const struct {
    const char* Name;
    TMsgDlgButtons Buttons;
    std::function<bool(HWND)> Answer;
    int Want;
  } Cases[] = {
      {"No pressed", mbYesNoCancel, [](HWND D) { return Press(D, "&No"); }, mrNo},
      {"Yes to All pressed", mbYesAllNoAllCancel, [](HWND D) { return Press(D, "Yes to &All"); }, mrYesToAll},
      {"Escape", mbYesNoCancel, [](HWND) { return Key(VK_ESCAPE); }, mrCancel},
      {"Escape without Cancel", MsgDlgButtons({mbYes, mbNo}), [](HWND) { return Key(VK_ESCAPE); }, mrNo},
      {"closed", mbYesNoCancel, [](HWND D) { return PostMessageA(D, WM_CLOSE, 0, 0) != 0; }, mrCancel},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TDriver Drive(15000, "TMessageForm");
    Drive.Then(C.Name, C.Answer);
    EXPECT_EQ(MessageDlg("Save the changes?", mtConfirmation, C.Buttons, 0), C.Want);
    EXPECT_TRUE(Drive.Finished());
    EXPECT_EQ(FindThreadDialog("TMessageForm"), nullptr);
  }
}

struct THelpLog : TObject {
  std::vector<std::pair<unsigned, intptr_t>> Calls;
  void Help(unsigned short Command, intptr_t Data, bool& CallHelp, bool& Result) {
    Calls.push_back({Command, Data});
    CallHelp = false;
    Result = true;
  }
};

TEST(MessageDialog, HelpButtonShowsTheHelpTopicAndKeepsTheDialogOpen) {
  THelpLog Log;
  const THelpEvent Saved = Application->OnHelp;
  Application->OnHelp = EVENT(&Log, THelpLog::Help);
  TDriver Drive(15000, "TMessageForm");
  Drive.Then("help", [](HWND D) { return Press(D, "&Help"); })
      .Then("still open", [&](HWND D) { return !Log.Calls.empty() && IsWindowVisible(D) && Press(D, "OK"); });
  const int Result = MessageDlg("Read the topic", mtInformation, MsgDlgButtons({mbOK, mbHelp}), 77);
  Application->OnHelp = Saved;
  EXPECT_EQ(Result, mrOk);
  EXPECT_TRUE(Drive.Finished());
  ASSERT_EQ(Log.Calls.size(), 1u);
  EXPECT_EQ(Log.Calls[0].first, unsigned(HELP_CONTEXT));
  EXPECT_EQ(Log.Calls[0].second, 77);
}

}  // namespace
