// The wave sound: its "Data" block through text forms, the form compiler, the reader and the
// writer; bad blocks; files; and what it plays, read back from tools/wine-env's sound capture.
#include "package/tests/pkgtest.h"
#include "rtl/tests/default_check.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace {

using namespace pkgtest;

// The text form the writer makes of a form.
std::string FormText(TComponent* Form) {
  TMemoryStream Bin;
  WriteComponentRes(&Bin, Form);
  Bin.SetPosition(0);
  TStringStream Text;
  ObjectBinaryToText(&Bin, &Text);
  return Text.DataString().str();
}

Bytes BlockOf(TBMWaveData* W) {
  TMemoryStream S;
  W->WriteData(&S);
  const auto* P = static_cast<const uint8_t*>(S.Memory());
  return Bytes(P, P + S.Size());
}

Bytes Le32(int32_t V) { return {uint8_t(V), uint8_t(V >> 8), uint8_t(V >> 16), uint8_t(uint32_t(V) >> 24)}; }

Bytes Cat(std::initializer_list<Bytes> Parts) {
  Bytes R;
  for (const Bytes& P : Parts) R.insert(R.end(), P.begin(), P.end());
  return R;
}

void ReadBlock(TBMWaveData* W, const Bytes& Block) {
  TMemoryStream S;
  if (!Block.empty()) S.WriteBuffer(Block.data(), int(Block.size()));
  S.SetPosition(0);
  W->ReadData(&S);
}

Bytes Held(TBMWaveData* W) { return Bytes(W->Data(), W->Data() + W->Length()); }

// The wave of the text form below: 24 samples.
const Bytes SmallPcm = [] {
  Bytes S(24);
  for (int I = 0; I < 24; ++I) S[size_t(I)] = uint8_t(I * 7 + 5);
  return S;
}();

const char* const WaveForm =
    "object Form1: TForm\n"
    "  object Wave1: TBMWave\n"
    "    Wave.Data = {\n"
    "      010000000044000000524946463C00000057415645666D742010000000010001\n"
    "      00401F0000401F0000010008006461746118000000050C131A21282F363D444B\n"
    "      525960676E757C838A91989FA6}\n"
    "  end\n"
    "end\n";

TEST(WaveData, DataRoundTripsThroughTextAndBinaryForms) {
  TFormPtr Form(LoadForm(WaveForm));
  auto* W = dynamic_cast<TBMWave*>(Form->FindComponent("Wave1"));
  ASSERT_NE(W, nullptr);
  EXPECT_TRUE(W->Wave()->Embedded());
  EXPECT_EQ(W->Wave()->FileName(), "");
  EXPECT_EQ(Held(W->Wave()), WaveImage(SmallPcm));
  EXPECT_FALSE(W->Empty());
  const std::string Text = FormText(Form.get());
  EXPECT_NE(Text.find("525960676E757C838A91989FA6}"), std::string::npos) << Text;
  // Read back from what was written: the same bytes.
  TFormPtr Again(LoadForm(Text.c_str()));
  auto* W2 = dynamic_cast<TBMWave*>(Again->FindComponent("Wave1"));
  ASSERT_NE(W2, nullptr);
  EXPECT_EQ(Held(W2->Wave()), WaveImage(SmallPcm));
}

TEST(WaveData, WhatIsStored) {
  TFormPtr Form(TForm::CreateNew<TForm>(nullptr));
  auto* W = TComponent::Create<TBMWave>(Form.get());
  W->SetName("Wave1");
  // New: embedded and empty, so nothing is stored.
  EXPECT_TRUE(W->Empty());
  EXPECT_TRUE(W->Wave()->Embedded());
  EXPECT_EQ(FormText(Form.get()).find("Data"), std::string::npos);
  // Named and not embedded: not empty, stored with no bytes.
  W->Wave()->SetEmbedded(false);
  W->Wave()->SetFileName("C:\\a.wav");
  EXPECT_FALSE(W->Empty());
  EXPECT_EQ(BlockOf(W->Wave()), Cat({{0}, Le32(8), Bytes{'C', ':', '\\', 'a', '.', 'w', 'a', 'v'}, Le32(0)}));
  EXPECT_NE(FormText(Form.get()).find("Wave.Data"), std::string::npos);
  // A non-embedded wave keeps no bytes it is given.
  W->Wave()->SetData(SmallPcm.data(), int(SmallPcm.size()));
  EXPECT_EQ(W->Wave()->Length(), 0);
}

TEST(WaveData, NameIsCutAtAZeroByte) {
  TBMWaveData W;
  ReadBlock(&W, Cat({{0}, Le32(5), Bytes{'a', 'b', 0, 'c', 'd'}, Le32(2), Bytes{9, 8}}));
  EXPECT_EQ(W.FileName(), "ab");
  EXPECT_FALSE(W.Embedded());
  // Bytes are taken as they are held, whatever the flag.
  EXPECT_EQ(Held(&W), (Bytes{9, 8}));
}

TEST(WaveData, AssignCopiesNameFlagAndEmbeddedBytes) {
  TBMWaveData A, B;
  A.SetData(SmallPcm.data(), int(SmallPcm.size()));
  A.SetFileName("x.wav");
  B.Assign(&A);
  EXPECT_EQ(Held(&B), SmallPcm);
  EXPECT_EQ(B.FileName(), "x.wav");
  A.SetEmbedded(false);
  B.Assign(&A);
  EXPECT_FALSE(B.Embedded());
  EXPECT_EQ(B.Length(), 0);
  B.Assign(&B);
  EXPECT_EQ(B.FileName(), "x.wav");
  EXPECT_EQ(Held(&A), SmallPcm);
  A.Assign(nullptr);
  EXPECT_EQ(A.Length(), 0);
  EXPECT_EQ(A.FileName(), "x.wav");
  A.Clear();
  A.Clear();
  TBitmap Other;
  EXPECT_THROW(A.Assign(&Other), EConvertError);
}

TEST(WaveData, BadBlocksRaiseAndLeaveTheWave) {
  const Bytes Name{'n', '.', 'w', 'a', 'v'};
  struct Case {
    const char* What;
    Bytes Block;
  } Cases[] = {
      {"empty", {}},
      {"cut after the flag", {1}},
      {"cut in the name length", {1, 5, 0}},
      {"negative name length", Cat({{1}, Le32(-1), Le32(0)})},
      {"name longer than the block", Cat({{1}, Le32(6), Name, Le32(0)})},
      {"huge name length", Cat({{1}, Le32(0x7FFFFFFF), Le32(0)})},
      {"cut after the name", Cat({{1}, Le32(5), Name})},
      {"cut in the data length", Cat({{1}, Le32(5), Name, {2, 0}})},
      {"negative data length", Cat({{1}, Le32(5), Name, Le32(-3), {1, 2, 3}})},
      {"data longer than the block", Cat({{1}, Le32(5), Name, Le32(4), {1, 2, 3}})},
      {"cut after the data length", Cat({{1}, Le32(0), Le32(1)})},
  };
  for (const Case& C : Cases) {
    TBMWaveData W;
    W.SetData(SmallPcm.data(), int(SmallPcm.size()));
    W.SetFileName("keep.wav");
    const Bytes Before = BlockOf(&W);
    EXPECT_THROW(ReadBlock(&W, C.Block), EReadError) << C.What;
    EXPECT_EQ(BlockOf(&W), Before) << C.What;
  }
  // The largest good block is read.
  TBMWaveData W;
  ReadBlock(&W, Cat({{1}, Le32(5), Name, Le32(3), {1, 2, 3}}));
  EXPECT_EQ(Held(&W), (Bytes{1, 2, 3}));
  EXPECT_EQ(W.FileName(), "n.wav");
}

std::string TempFile(const char* Name) {
  char Dir[MAX_PATH];
  GetTempPathA(MAX_PATH, Dir);
  return std::string(Dir) + Name;
}

TEST(WaveData, LoadFromFileTakesTheWholeFile) {
  const std::string Path = TempFile("orvalen-wave-load.wav");
  const Bytes Image = WaveImage(Samples(300, 1));
  WriteFileBytes(Path, Image);
  TBMWaveData W;
  W.SetEmbedded(false);
  W.LoadFromFile(Path.c_str());
  EXPECT_EQ(Held(&W), Image);
  EXPECT_EQ(W.FileName(), Path);
  // A non-embedded wave whose bytes were loaded stores them too.
  EXPECT_EQ(BlockOf(&W).size(), 1 + 4 + Path.size() + 4 + Image.size());
  // A missing file clears the bytes and keeps name and flag.
  std::remove(Path.c_str());
  W.LoadFromFile(Path.c_str());
  EXPECT_EQ(W.Length(), 0);
  EXPECT_EQ(W.FileName(), Path);
  EXPECT_FALSE(W.Embedded());
}

TEST(WaveData, DefaultsMatchTheTable) { ExpectClassDefaultsMatch(TBMWave::StaticClass()); }

// ----- playing, through the sound capture

class WavePlay : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_SOUND_DEVICE();
    ResetCapture();
  }
  void TearDown() override { ResetCapture(); }
};

TEST_F(WavePlay, OnlyAValidWavePlaysSynchronously) {
  const Bytes Good = WaveImage(Samples(800, 2));
  Bytes Bad = Good;
  std::memcpy(Bad.data(), "JUNK", 4);
  EXPECT_TRUE(PlaySoundA(reinterpret_cast<const char*>(Good.data()), nullptr, SND_MEMORY | SND_NODEFAULT | SND_SYNC));
  EXPECT_FALSE(PlaySoundA(reinterpret_cast<const char*>(Bad.data()), nullptr, SND_MEMORY | SND_NODEFAULT | SND_SYNC));
  EXPECT_FALSE(PlaySoundA(TempFile("orvalen-no-such.wav").c_str(), nullptr, SND_FILENAME | SND_NODEFAULT | SND_SYNC));
}

TEST_F(WavePlay, MemoryPlayLeavesExactlyItsSamples) {
  const Bytes Pcm = Samples(16000, 3);
  TBMWave W(nullptr);
  W.Wave()->SetData(WaveImage(Pcm).data(), int(Pcm.size() + 44));
  const DWORD Start = GetTickCount();
  W.Play();
  const Bytes Got = WaitCapture(Pcm.size());
  const auto Diff = std::mismatch(Got.begin(), Got.end(), Pcm.begin(), Pcm.end());
  EXPECT_EQ(Got, Pcm) << Got.size() << " bytes captured for " << Pcm.size() << ", first difference at byte "
                      << (Diff.first - Got.begin());
  const DWORD Ms = std::max<DWORD>(GetTickCount() - Start, 1);
  std::printf("2 s of sound played in %lu ms (%.1f times real speed)\n", (unsigned long)Ms, 2000.0 / Ms);
}

TEST_F(WavePlay, FilePlayLeavesItsSamples) {
  const std::string Path = TempFile("orvalen-wave-play.wav");
  const Bytes Pcm = Samples(4000, 4);
  WriteFileBytes(Path, WaveImage(Pcm));
  TBMWave W(nullptr);
  W.Wave()->SetEmbedded(false);
  W.Wave()->SetFileName(Path.c_str());
  W.Play();
  EXPECT_EQ(WaitCapture(Pcm.size()), Pcm);
  std::remove(Path.c_str());
}

// A long wave is playing from its block; the step frees or replaces the block. A play that must
// not stop another (SND_NOSTOP) fails while the long one plays and succeeds once it stopped.
TEST_F(WavePlay, ABlockIsStoppedBeforeItIsFreed) {
  const Bytes Long = WaveImage(Samples(8000 * 60, 5));
  const Bytes Short = WaveImage(Samples(400, 6));
  const std::string Path = TempFile("orvalen-wave-other.wav");
  WriteFileBytes(Path, Short);
  struct Case {
    const char* What;
    std::function<void(TBMWave*&)> Step;
  } Cases[] = {
      {"Clear", [](TBMWave*& W) { W->Wave()->Clear(); }},
      {"SetData", [&](TBMWave*& W) { W->Wave()->SetData(Short.data(), int(Short.size())); }},
      {"Assign", [&](TBMWave*& W) {
         TBMWaveData Other;
         Other.SetData(Short.data(), int(Short.size()));
         W->SetWave(&Other);
       }},
      {"ReadData", [&](TBMWave*& W) { ReadBlock(W->Wave(), Cat({{1}, Le32(0), Le32(int(Short.size())), Short})); }},
      {"LoadFromFile", [&](TBMWave*& W) { W->Wave()->LoadFromFile(Path.c_str()); }},
      {"destroy", [](TBMWave*& W) { FreeAndNil(W); }},
  };
  auto PlayNoStop = [&] {
    return PlaySoundA(reinterpret_cast<const char*>(Short.data()), nullptr, SND_ASYNC | SND_MEMORY | SND_NODEFAULT | SND_NOSTOP);
  };
  for (const Case& C : Cases) {
    auto* W = TComponent::Create<TBMWave>(nullptr);
    W->Wave()->SetData(Long.data(), int(Long.size()));
    W->Play();
    EXPECT_FALSE(PlayNoStop()) << C.What << ": the long wave should be playing";
    W->SetWave(W->Wave());  // assigning itself changes nothing and keeps it playing
    EXPECT_FALSE(PlayNoStop()) << C.What;
    C.Step(W);
    EXPECT_TRUE(PlayNoStop()) << C.What << ": the long wave still plays from a freed block";
    ResetCapture();
    TObject::Free(W);
  }
  std::remove(Path.c_str());
}

}  // namespace
