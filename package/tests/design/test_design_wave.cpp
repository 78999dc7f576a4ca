// The wave editors' step after the dialog: the chosen file loaded, the question answered for
// real, the result in the written form.
#include "package/tests/design/designtest.h"

#include "package/design/BMWaveEditors.h"
#include "package/design/PackageReg.h"

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

TEST(DesignWave, YesEmbedsTheFilesBytesAndNoKeepsOnlyItsName) {
  RegisterOnce();
  const Bytes Image = pkgtest::WaveImage(pkgtest::Samples(300, 3));
  const std::string File = suitetest::TempPath("chosen.wav");
  pkgtest::WriteFileBytes(File, Image);
  struct TCase {
    int Answer;
    uint8_t Flag;
    bool Bytes;
  } Cases[] = {{IDYES, 1, true}, {IDNO, 0, false}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Answer == IDYES ? "Yes" : "No");
    TDesignForm<> D;
    auto* Wave = static_cast<TBMWave*>(D.Designer->CreateComponent(TBMWave::StaticClass()));
    {
      TBoxAnswerer Box({C.Answer});
      ApplyWaveFile(File.c_str(), [&](TBMWaveData* New) { Wave->SetWave(New); });
      ASSERT_EQ(Box.Seen.size(), 1u);
      EXPECT_EQ(Box.Seen[0].Caption, "Option");
      EXPECT_EQ(Box.Seen[0].Text, Question);
    }
    EXPECT_EQ(Wave->Wave()->Embedded(), C.Flag == 1);
    EXPECT_EQ(Wave->Wave()->FileName(), AnsiString(File.c_str()));
    EXPECT_EQ(Wave->Wave()->Length(), C.Bytes ? int(Image.size()) : 0);

    auto Written = D.Write();
    bool Found = false;
    EXPECT_EQ(BinaryBlock(Written.get(), "BMWave1", "Wave.Data", &Found),
              WaveBlock(C.Flag, File, C.Bytes ? Image : Bytes{}));
    EXPECT_TRUE(Found);
    TFormPtr Back = ReadDesignForm(Written.get());
    auto* Read = dynamic_cast<TBMWave*>(Back->FindComponent("BMWave1"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->Wave()->Embedded(), C.Flag == 1);
    EXPECT_EQ(Read->Wave()->FileName(), AnsiString(File.c_str()));
    ASSERT_EQ(Read->Wave()->Length(), C.Bytes ? int(Image.size()) : 0);
    if (C.Bytes) {
      EXPECT_EQ(Bytes(Read->Wave()->Data(), Read->Wave()->Data() + Image.size()), Image);
    }
  }
  DeleteFileA(File.c_str());
}

TEST(DesignWave, AFileThatCannotBeReadRaisesBeforeTheQuestionAndChangesNothing) {
  RegisterOnce();
  const Bytes Old = pkgtest::WaveImage(pkgtest::Samples(40, 4));
  const std::string File = suitetest::TempPath("locked.wav");
  pkgtest::WriteFileBytes(File, pkgtest::WaveImage(pkgtest::Samples(80, 5)));
  TDesignForm<> D;
  auto* Wave = static_cast<TBMWave*>(D.Designer->CreateComponent(TBMWave::StaticClass()));
  Wave->Wave()->SetFileName("old.wav");
  Wave->Wave()->SetData(Old.data(), int(Old.size()));
  const int Components = Application->ComponentCount();
  HANDLE Held = CreateFileA(File.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(Held, INVALID_HANDLE_VALUE);
  bool Applied = false;
  {
    TBoxAnswerer Box({IDYES});
    try {
      ApplyWaveFile(File.c_str(), [&](TBMWaveData*) { Applied = true; });
      ADD_FAILURE() << "no error";
    } catch (const EFOpenError& E) {
      EXPECT_EQ(E.Message(), AnsiString(("Cannot open file " + File).c_str()));
    }
    vcltest::PumpRounds(3);
    EXPECT_TRUE(Box.Seen.empty());
  }
  CloseHandle(Held);
  EXPECT_FALSE(Applied);
  EXPECT_EQ(Wave->Wave()->FileName(), "old.wav");
  ASSERT_EQ(Wave->Wave()->Length(), int(Old.size()));
  EXPECT_EQ(Bytes(Wave->Wave()->Data(), Wave->Wave()->Data() + Old.size()), Old);
  EXPECT_EQ(Application->ComponentCount(), Components);
  DeleteFileA(File.c_str());
}

}  // namespace
