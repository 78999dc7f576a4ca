// The wave editors through the real wave-file dialog: the test types the path of a wave it made
// into the dialog's file name box, presses Open, answers the question, and reads the form the
// designer writes.
#include "package/tests/design/designtest.h"

#include "package/design/BMWaveEditors.h"
#include "package/design/PackageReg.h"
#include "vcl/tests/dialogtest.h"

#include <dlgs.h>

namespace {

using namespace designtest;

void RegisterOnce() {
  static bool Done = [] {
    TDesignPalette Palette;
    RegisterPackage();
    return true;
  }();
  (void)Done;
}

const char* const Question = "Do you wand the sond data to be part of the executable ?";

std::string Lower(std::string S) {
  for (char& C : S) C = char(std::tolower((unsigned char)C));
  while (!S.empty() && S.back() == '\\') S.pop_back();
  return S;
}

// What a run of the dialog saw and answered.
struct TRun {
  std::string Folder, Name;  // where the open dialog opened, and the name in its box
  std::string Caption, Text;  // the question box
  bool Asked = false;
};

// One edit through the real dialog: Choose is the path typed into the file name box (empty:
// Cancel); Answer the button pressed in the question box.
void Drive(dialogtest::TDriver& Driver, TRun& Run, const std::string& Choose, int Answer) {
  Driver.Then("the open dialog", [&Run, Choose](HWND Dlg) {
    if (!GetDlgItem(Dlg, cmb13)) return false;
    char Buf[MAX_PATH * 2] = {};
    if (SendMessageA(Dlg, CDM_GETFOLDERPATH, sizeof Buf, LPARAM(Buf)) > 0) Run.Folder = Buf;
    Buf[0] = 0;
    if (SendMessageA(Dlg, CDM_GETSPEC, sizeof Buf, LPARAM(Buf)) > 0) Run.Name = Buf;
    if (Choose.empty())
      dialogtest::Cancel(Dlg);
    else
      dialogtest::ChooseName(Dlg, Choose);
    return true;
  });
  if (Choose.empty()) return;
  Driver.Then("the question", [&Run, Answer](HWND Box) {
    if (!GetDlgItem(Box, 0xFFFF)) return false;
    char Buf[512] = {};
    GetWindowTextA(Box, Buf, sizeof Buf);
    Run.Caption = Buf;
    GetDlgItemTextA(Box, 0xFFFF, Buf, sizeof Buf);
    Run.Text = Buf;
    Run.Asked = true;
    PostMessageA(Box, WM_COMMAND, WPARAM(Answer), 0);
    return true;
  });
}

// The two ways to the dialog: the object inspector's button of the Wave property, and the
// double click on the component.
struct TPath {
  const char* Name;
  void (*Edit)(TFormDesigner* Designer, TBMWave* Wave);
} const Paths[] = {
    {"property editor", [](TFormDesigner* D, TBMWave* W) { D->PropertyEditor(W, "Wave")->Edit(); }},
    {"double click", [](TFormDesigner* D, TBMWave* W) { D->Edit(W); }},
};

struct TWaveForm : TDesignForm<> {
  TBMWave* Wave;
  TWaveForm() {
    RegisterOnce();
    Wave = static_cast<TBMWave*>(Designer->CreateComponent(TBMWave::StaticClass()));
  }
  // Edits through the real dialog: the run's record, and whether the edit finished.
  TRun Edit(const TPath& P, const std::string& Choose, int Answer = IDYES) {
    TRun Run;
    dialogtest::TDriver Driver;
    Drive(Driver, Run, Choose, Answer);
    P.Edit(Designer.get(), Wave);
    EXPECT_TRUE(Driver.Finished());
    return Run;
  }
};

TEST(DesignWave, YesEmbedsTheChosenFileAndNoKeepsOnlyItsName) {
  dialogtest::TTempFolder Folder("designwave");
  const Bytes Image = pkgtest::WaveImage(pkgtest::Samples(300, 3));
  const std::string File = Folder / "chime.wav";
  pkgtest::WriteFileBytes(File, Image);
  struct TCase {
    int Answer;
    uint8_t Flag;
    bool Bytes;
  } Cases[] = {{IDYES, 1, true}, {IDNO, 0, false}};
  for (const TPath& P : Paths)
    for (const TCase& C : Cases) {
      SCOPED_TRACE(std::string(P.Name) + (C.Answer == IDYES ? " Yes" : " No"));
      TWaveForm D;
      const int Components = Application->ComponentCount();
      const int Modified = D.Designer->ModifiedCount();
      TRun Run = D.Edit(P, File, C.Answer);
      ASSERT_TRUE(Run.Asked);
      EXPECT_EQ(Run.Caption, "Option");
      EXPECT_EQ(Run.Text, Question);
      EXPECT_EQ(D.Designer->ModifiedCount(), Modified + 1);
      EXPECT_EQ(Application->ComponentCount(), Components);  // the dialog is gone
      EXPECT_EQ(Lower(D.Wave->Wave()->FileName().str()), Lower(File));
      const std::string Name = D.Wave->Wave()->FileName().str();

      auto Written = D.Write();
      bool Found = false;
      EXPECT_EQ(BinaryBlock(Written.get(), "BMWave1", "Wave.Data", &Found),
                WaveBlock(C.Flag, Name, C.Bytes ? Image : Bytes{}));
      EXPECT_TRUE(Found);
      TFormPtr Back = ReadDesignForm(Written.get());
      auto* Read = dynamic_cast<TBMWave*>(Back->FindComponent("BMWave1"));
      ASSERT_NE(Read, nullptr);
      EXPECT_EQ(Read->Wave()->Embedded(), C.Flag == 1);
      EXPECT_EQ(Read->Wave()->FileName(), AnsiString(Name.c_str()));
      ASSERT_EQ(Read->Wave()->Length(), C.Bytes ? int(Image.size()) : 0);
      if (C.Bytes) {
        EXPECT_EQ(Bytes(Read->Wave()->Data(), Read->Wave()->Data() + Image.size()), Image);
      }
    }
}

TEST(DesignWave, CancelChangesNothingAndASecondEditOpensWhereTheFirstFileWas) {
  dialogtest::TTempFolder Folder("designwave2");
  const Bytes Image = pkgtest::WaveImage(pkgtest::Samples(120, 6));
  Folder.MakeFolder("sounds");
  const std::string File = Folder / "sounds\\bell.wav";
  pkgtest::WriteFileBytes(File, Image);
  for (const TPath& P : Paths) {
    SCOPED_TRACE(P.Name);
    TWaveForm D;
    const Bytes Old = pkgtest::WaveImage(pkgtest::Samples(30, 7));
    D.Wave->Wave()->SetData(Old.data(), int(Old.size()));
    const int Modified = D.Designer->ModifiedCount();
    TRun Cancelled = D.Edit(P, "");
    EXPECT_FALSE(Cancelled.Asked);
    EXPECT_EQ(D.Designer->ModifiedCount(), Modified);
    ASSERT_EQ(D.Wave->Wave()->Length(), int(Old.size()));
    EXPECT_EQ(Bytes(D.Wave->Wave()->Data(), D.Wave->Wave()->Data() + Old.size()), Old);
    EXPECT_TRUE(D.Wave->Wave()->FileName().IsEmpty());

    D.Edit(P, File, IDYES);
    TRun Second = D.Edit(P, "");
    EXPECT_EQ(Lower(Second.Folder), Lower(Folder / "sounds"));
    EXPECT_EQ(Lower(Second.Name), "bell.wav");
    EXPECT_EQ(D.Designer->ModifiedCount(), Modified + 1);
    EXPECT_EQ(D.Wave->Wave()->Length(), int(Image.size()));
  }
}

TEST(DesignWave, AFileHeldOpenWithoutSharingGivesTheLoadErrorAndChangesNothing) {
  dialogtest::TTempFolder Folder("designwave3");
  const std::string File = Folder / "held.wav";
  pkgtest::WriteFileBytes(File, pkgtest::WaveImage(pkgtest::Samples(80, 5)));
  const Bytes Old = pkgtest::WaveImage(pkgtest::Samples(40, 4));
  for (const TPath& P : Paths) {
    SCOPED_TRACE(P.Name);
    TWaveForm D;
    D.Wave->Wave()->SetFileName("old.wav");
    D.Wave->Wave()->SetData(Old.data(), int(Old.size()));
    const int Components = Application->ComponentCount();
    const int Modified = D.Designer->ModifiedCount();
    HANDLE Held = CreateFileA(File.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(Held, INVALID_HANDLE_VALUE);
    TRun Run;
    {
      dialogtest::TDriver Driver;
      Drive(Driver, Run, File, IDYES);
      try {
        P.Edit(D.Designer.get(), D.Wave);
        ADD_FAILURE() << "no error";
      } catch (const EFOpenError& E) {
        EXPECT_EQ(Lower(E.Message().str()), Lower("Cannot open file " + File));
      }
    }
    CloseHandle(Held);
    EXPECT_FALSE(Run.Asked);
    EXPECT_EQ(D.Designer->ModifiedCount(), Modified);
    EXPECT_EQ(Application->ComponentCount(), Components);
    EXPECT_EQ(D.Wave->Wave()->FileName(), "old.wav");
    ASSERT_EQ(D.Wave->Wave()->Length(), int(Old.size()));
    EXPECT_EQ(Bytes(D.Wave->Wave()->Data(), D.Wave->Wave()->Data() + Old.size()), Old);
  }
}

TEST(DesignWave, TheChosenFileWithoutTheDialogGoesThroughTheSameQuestion) {
  RegisterOnce();
  const Bytes Image = pkgtest::WaveImage(pkgtest::Samples(64, 8));
  const std::string File = suitetest::TempPath("direct.wav");
  pkgtest::WriteFileBytes(File, Image);
  TBMWaveData Target;
  {
    TBoxAnswerer Box({IDNO});
    ApplyWaveFile(File.c_str(), [&](TBMWaveData* New) { Target.Assign(New); });
    ASSERT_EQ(Box.Seen.size(), 1u);
    EXPECT_EQ(Box.Seen[0].Caption, "Option");
    EXPECT_EQ(Box.Seen[0].Text, Question);
  }
  EXPECT_FALSE(Target.Embedded());
  EXPECT_EQ(Target.Length(), 0);
  EXPECT_EQ(Target.FileName(), AnsiString(File.c_str()));
  DeleteFileA(File.c_str());
}

}  // namespace
