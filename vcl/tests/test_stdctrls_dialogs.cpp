// The open and save dialogs, driven for real from inside their modal loops: events, the live
// file name, the filter, the initial folder, options and OnCanClose's veto.
#include "vcl/Dialogs.h"
#include "vcl/tests/dialogtest.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

using namespace dialogtest;

struct TLog : TObject {
  std::vector<std::string> Events;
  TOpenDialog* D = nullptr;
  std::string LastSelection;
  void Show(TObject*) {
    Events.push_back("show");
    ShownHandle = D->Handle();
  }
  void Close(TObject*) { Events.push_back("close"); }
  void Selection(TObject*) {
    Events.push_back("selection");
    LastSelection = D->FileName().c_str();
  }
  void Folder(TObject*) { Events.push_back("folder"); }
  void CanClose(TObject*, bool& Allow) {
    Events.push_back("canclose");
    Allow = ++CanCloseCalls > Refusals;
    if (!Allow && RefuseByRaising) throw Exception("not this one");
  }
  void Raised(TObject*, Exception& E) { Errors.push_back(E.Message().str()); }
  int Refusals = 0;
  bool RefuseByRaising = false;
  std::vector<std::string> Errors;
  int CanCloseCalls = 0;
  HWND ShownHandle = nullptr;
  size_t CountOf(const std::string& E) const { return size_t(std::count(Events.begin(), Events.end(), E)); }
};

template <class T> std::unique_ptr<T> MakeDialog(TLog& Log) {
  std::unique_ptr<T> D(TComponent::Create<T>(nullptr));
  Log.D = D.get();
  D->OnShow = EVENT(&Log, TLog::Show);
  D->OnClose = EVENT(&Log, TLog::Close);
  D->OnSelectionChange = EVENT(&Log, TLog::Selection);
  D->OnFolderChange = EVENT(&Log, TLog::Folder);
  D->OnCanClose = EVENT(&Log, TLog::CanClose);
  return D;
}

struct TFiles : TTempFolder {
  TFiles() : TTempFolder("orvdlg") {
    Write("a.txt", "a");
    Write("b.txt", "b");
    Write("c.dat", "c");
    MakeFolder("sub");
    Write("sub\\d.txt", "d");
  }
};

bool Has(const std::vector<std::string>& V, const std::string& S) { return std::find(V.begin(), V.end(), S) != V.end(); }

TEST(OpenDialog, ExplorerStyleEventsLiveFileNameFilterAndFolders) {
  TFiles Files;
  TLog Log;
  auto D = MakeDialog<TOpenDialog>(Log);
  D->SetFilter("Text (*.txt)|*.txt|All files (*.*)|*.*");
  D->SetInitialDir(Files.Path().c_str());
  D->SetTitle("Pick one");
  TDriver Drive;
  std::vector<std::string> Listed;
  Drive
      .Then("shown",
            [&](HWND Dlg) {
              if (Log.CountOf("show") == 0) return false;
              char Title[64] = {};
              GetWindowTextA(Dlg, Title, sizeof Title);
              EXPECT_STREQ(Title, "Pick one");
              // Handle is the child dialog; the system's controls sit within its static rectangle.
              EXPECT_EQ(GetParent(Log.ShownHandle), Dlg);
              const TRect R = D->GetStaticRect();
              // Without a template they fill the dialog's client area.
              RECT Client;
              GetClientRect(Dlg, &Client);
              MapWindowPoints(Dlg, Log.ShownHandle, reinterpret_cast<POINT*>(&Client), 2);
              EXPECT_EQ(R, Rect(Client.left, Client.top, Client.right, Client.bottom));
              EXPECT_GT(R.Right - R.Left, 200);
              return true;
            })
      .Then("listed",
            [&](HWND Dlg) {
              HWND List = FileList(Dlg);
              if (!List || !Has(ListItems(List), "sub")) return false;
              Listed = ListItems(List);
              return true;
            })
      .Then("select b.txt",
            [&](HWND Dlg) {
              Log.Events.clear();
              return SelectItem(FileList(Dlg), "b.txt");
            })
      .Then("selection heard",
            [&](HWND Dlg) {
              if (Log.CountOf("selection") == 0) return false;
              EXPECT_EQ(Log.LastSelection, Files / "b.txt");
              EXPECT_EQ(std::string(D->FileName().c_str()), Files / "b.txt");
              ChooseName(Dlg, "sub");
              return true;
            })
      .Then("into sub",
            [&](HWND Dlg) {
              HWND List = FileList(Dlg);
              if (Log.CountOf("folder") == 0 || !List || !Has(ListItems(List), "d.txt")) return false;
              ChooseName(Dlg, Files / "a.txt");
              return true;
            });
  Log.Events.clear();
  ASSERT_TRUE(D->Execute());
  EXPECT_TRUE(Drive.Finished());
  // The filter's first pattern: only text files and the folder.
  EXPECT_TRUE(Has(Listed, "a.txt") && Has(Listed, "b.txt")) << Listed.size();
  EXPECT_FALSE(Has(Listed, "c.dat"));
  EXPECT_EQ(std::string(D->FileName().c_str()), Files / "a.txt");
  ASSERT_EQ(D->Files()->Count(), 1);
  EXPECT_EQ(std::string(D->Files()->Strings(0).c_str()), Files / "a.txt");
  EXPECT_EQ(D->FilterIndex(), 1);
  EXPECT_EQ(Log.CountOf("canclose"), 1u);
  ASSERT_FALSE(Log.Events.empty());
  EXPECT_EQ(Log.Events.back(), "close");
  EXPECT_EQ(D->Handle(), nullptr);
  EXPECT_EQ(D->GetStaticRect().Right, 0);
}

// A refusal, by the answer or by a raising handler (its error goes to the application), keeps
// the dialog open for another choice.
TEST(OpenDialog, CanCloseRefusedOrRaisingKeepsTheDialogOpen) {
  for (const bool Raising : {false, true}) {
    SCOPED_TRACE(Raising ? "raising" : "false");
    TFiles Files;
    TLog Log;
    Log.Refusals = 1;
    Log.RefuseByRaising = Raising;
    const TExceptionEvent Saved = Application->OnException;
    Application->OnException = EVENT(&Log, TLog::Raised);
    struct Restore {
      TExceptionEvent E;
      ~Restore() { Application->OnException = E; }
    } R{Saved};
    auto D = MakeDialog<TOpenDialog>(Log);
    D->SetInitialDir(Files.Path().c_str());
    TDriver Drive;
    Drive
        .Then("first OK", [&](HWND Dlg) {
          if (Log.CountOf("show") == 0) return false;
          ChooseName(Dlg, "a.txt");
          return true;
        })
        .Then("refused, still open", [&](HWND Dlg) {
          if (Log.CanCloseCalls < 1) return false;
          EXPECT_TRUE(IsWindowVisible(Dlg));
          EXPECT_EQ(Log.CountOf("close"), 0u);
          ChooseName(Dlg, "b.txt");
          return true;
        });
    ASSERT_TRUE(D->Execute());
    EXPECT_TRUE(Drive.Finished());
    EXPECT_EQ(Log.CanCloseCalls, 2);
    EXPECT_EQ(std::string(D->FileName().c_str()), Files / "b.txt");
    EXPECT_EQ(Log.Errors, Raising ? std::vector<std::string>{"not this one"} : std::vector<std::string>{});
  }
}

TEST(OpenDialog, MultiSelectGivesEveryFile) {
  TFiles Files;
  TLog Log;
  auto D = MakeDialog<TOpenDialog>(Log);
  D->SetInitialDir(Files.Path().c_str());
  D->SetOptions(D->Options() | (1u << ofAllowMultiSelect));
  TDriver Drive;
  Drive.Then("two names", [&](HWND Dlg) {
    if (Log.CountOf("show") == 0) return false;
    ChooseName(Dlg, "\"a.txt\" \"b.txt\"");
    return true;
  });
  ASSERT_TRUE(D->Execute());
  ASSERT_EQ(D->Files()->Count(), 2);
  std::vector<std::string> Got{D->Files()->Strings(0).c_str(), D->Files()->Strings(1).c_str()};
  std::sort(Got.begin(), Got.end());
  EXPECT_EQ(Got, (std::vector<std::string>{Files / "a.txt", Files / "b.txt"}));
  EXPECT_EQ(std::string(D->FileName().c_str()), std::string(D->Files()->Strings(0).c_str()));
}

TEST(OpenDialog, OldStyleShowsAtInitAndHearsNoExplorerNotifications) {
  TFiles Files;
  TLog Log;
  auto D = MakeDialog<TOpenDialog>(Log);
  D->SetInitialDir(Files.Path().c_str());
  D->SetFileName("b.txt");
  D->SetOptions(D->Options() | (1u << ofOldStyleDialog));
  TDriver Drive;
  Drive.Then("shown", [&](HWND Dlg) {
    if (Log.CountOf("show") == 0) return false;
    // The old-style dialog is the hook's window itself; its file name is the stored one.
    EXPECT_EQ(Log.ShownHandle, Dlg);
    EXPECT_EQ(std::string(D->FileName().c_str()), "b.txt");
    RECT Client;
    GetClientRect(Dlg, &Client);
    EXPECT_EQ(D->GetStaticRect().Right, Client.right);
    EXPECT_EQ(FileList(Dlg), nullptr);
    ChooseName(Dlg, "a.txt", true);
    return true;
  });
  ASSERT_TRUE(D->Execute());
  EXPECT_TRUE(Drive.Finished());
  EXPECT_EQ(Log.CountOf("folder"), 0u);
  EXPECT_EQ(Log.CountOf("selection"), 0u);
  EXPECT_EQ(Log.CountOf("close"), 1u);
  EXPECT_EQ(std::string(D->FileName().c_str()), Files / "a.txt");
}

TEST(SaveDialog, DefaultExtensionAndCancel) {
  TFiles Files;
  TLog Log;
  auto D = MakeDialog<TSaveDialog>(Log);
  D->SetInitialDir(Files.Path().c_str());
  D->SetDefaultExt("txt");
  D->SetFilter("Text (*.txt)|*.txt|All files (*.*)|*.*");
  D->SetFilterIndex(2);
  {
    TDriver Drive;
    Drive.Then("new name", [&](HWND Dlg) {
      if (Log.CountOf("show") == 0) return false;
      char Ok[32] = {};
      GetDlgItemTextA(Dlg, IDOK, Ok, sizeof Ok);
      EXPECT_STREQ(Ok, "&Save");
      ChooseName(Dlg, "new");
      return true;
    });
    ASSERT_TRUE(D->Execute());
    EXPECT_TRUE(Drive.Finished());
  }
  EXPECT_EQ(std::string(D->FileName().c_str()), Files / "new.txt");
  EXPECT_EQ(D->FilterIndex(), 2);
  Log.Events.clear();
  {
    TDriver Drive;
    Drive.Then("cancel", [&](HWND Dlg) {
      if (Log.CountOf("show") == 0) return false;
      Cancel(Dlg);
      return true;
    });
    EXPECT_FALSE(D->Execute());
  }
  EXPECT_EQ(std::string(D->FileName().c_str()), Files / "new.txt");
  EXPECT_EQ(Log.CountOf("close"), 1u);
  EXPECT_EQ(Log.CountOf("canclose"), 0u);
}

}  // namespace
