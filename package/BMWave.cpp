#include "package/BMWave.h"
#include "rtl/Streaming.h"
#include "vcl/Forms.h"

#include <mmsystem.h>

#include <atomic>
#include <cstring>
#include <memory>

namespace {

// The block the player was last given: it reads it while it plays, so it is stopped before the
// block is freed.
std::atomic<const uint8_t*> GPlayingBlock{nullptr};

const char* const SReadError = "Stream read error";

uint8_t* NewBlock(int32_t Count) { return Count > 0 ? new uint8_t[size_t(Count)] : nullptr; }

int32_t ReadInt32(TStream* Stream) {
  uint8_t B[4];
  Stream->ReadBuffer(B, 4);
  return int32_t(uint32_t(B[0]) | uint32_t(B[1]) << 8 | uint32_t(B[2]) << 16 | uint32_t(B[3]) << 24);
}

void WriteInt32(TStream* Stream, int32_t Value) {
  const uint32_t V = uint32_t(Value);
  const uint8_t B[4] = {uint8_t(V), uint8_t(V >> 8), uint8_t(V >> 16), uint8_t(V >> 24)};
  Stream->WriteBuffer(B, 4);
}

// A length read from a block: not negative and not past its end.
int32_t ReadLength(TStream* Stream) {
  int32_t N = ReadInt32(Stream);
  if (N < 0 || N > Stream->Size() - Stream->Position()) throw EReadError(SReadError);
  return N;
}

}  // namespace

TBMWaveData::~TBMWaveData() { FreeBlock(); }

void TBMWaveData::FreeBlock() {
  if (!FData) return;
  const uint8_t* Block = FData;
  if (GPlayingBlock.compare_exchange_strong(Block, nullptr)) PlaySoundA(nullptr, nullptr, 0);
  delete[] FData;
  FData = nullptr;
  FLength = 0;
}

void TBMWaveData::TakeBlock(uint8_t* Block, int32_t Count) {
  FreeBlock();
  FData = Block;
  FLength = Block ? Count : 0;
}

void TBMWaveData::Clear() { FreeBlock(); }

void TBMWaveData::SetData(const void* Source, int Count) {
  Clear();
  if (!FEmbedded || Count <= 0 || !Source) return;
  uint8_t* Block = NewBlock(Count);
  std::memcpy(Block, Source, size_t(Count));
  TakeBlock(Block, Count);
}

void TBMWaveData::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    Clear();
    return;
  }
  if (auto* W = dynamic_cast<TBMWaveData*>(Source)) {
    FFileName = W->FFileName;
    FEmbedded = W->FEmbedded;
    SetData(W->FData, W->FLength);
    return;
  }
  TPersistent::Assign(Source);
}

void TBMWaveData::DefineProperties(TFiler* Filer) {
  TPersistent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); }, HasData());
}

void TBMWaveData::ReadData(TStream* Stream) {
  uint8_t Flag = 0;
  Stream->ReadBuffer(&Flag, 1);
  const int32_t N = ReadLength(Stream);
  std::string Name(size_t(N), '\0');
  if (N > 0) Stream->ReadBuffer(Name.data(), N);
  Name.resize(std::strlen(Name.c_str()));
  const int32_t L = ReadLength(Stream);
  std::unique_ptr<uint8_t[]> Block(NewBlock(L));
  if (L > 0) Stream->ReadBuffer(Block.get(), L);
  // Everything read: only now does the wave change.
  FEmbedded = Flag;
  FFileName = Name;
  TakeBlock(Block.release(), L);
}

void TBMWaveData::WriteData(TStream* Stream) {
  Stream->WriteBuffer(&FEmbedded, 1);
  WriteInt32(Stream, FFileName.Length());
  if (FFileName.Length() > 0) Stream->WriteBuffer(FFileName.c_str(), FFileName.Length());
  WriteInt32(Stream, FLength);
  if (FLength > 0) Stream->WriteBuffer(FData, FLength);
}

void TBMWaveData::LoadFromFile(const AnsiString& FileName) {
  if (!FileExists(FileName)) {
    Clear();
    return;
  }
  TFileStream File(FileName, fmOpenRead | fmShareDenyNone);
  const int64_t Size = File.Seek(0, soEnd);
  if (Size > INT32_MAX) throw EReadError(SReadError);
  std::unique_ptr<uint8_t[]> Block(NewBlock(int32_t(Size)));
  if (Size > 0) {
    File.Seek(0, soBeginning);
    File.ReadBuffer(Block.get(), int(Size));
  }
  FFileName = FileName;
  TakeBlock(Block.release(), int32_t(Size));
}

void TBMWaveData::Play() {
  if (Empty()) return;
  HWND Owner = Application ? Application->Handle() : nullptr;
  if (FEmbedded) {
    GPlayingBlock = FData;
    PlaySoundA(reinterpret_cast<const char*>(FData), reinterpret_cast<HMODULE>(Owner),
               SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
  } else {
    GPlayingBlock = nullptr;
    PlaySoundA(FFileName.c_str(), reinterpret_cast<HMODULE>(Owner), SND_FILENAME | SND_NODEFAULT | SND_ASYNC);
  }
}

ORV_IMPLEMENT_CLASS(TBMWaveData, TPersistent)

// ---------------------------------------------------------------------------------------------

ORV_IMPLEMENT_ABSTRACT(TBMCustomSound, TComponent, nullptr)

TBMWave::TBMWave(TComponent* AOwner) : TBMCustomSound(AOwner), FWave(new TBMWaveData) {}

TBMWave::~TBMWave() { delete FWave; }

static constinit const TPropInfo TBMWave_Props[] = {
    PropObject<&TBMWave::Wave, &TBMWave::SetWave>("Wave"),
};
ORV_IMPLEMENT_COMPONENT(TBMWave, TBMCustomSound, TBMWave_Props)

namespace {
struct TBMWaveUnit {
  TBMWaveUnit() { RegisterClasses({TBMWave::StaticClass()}); }
} BMWaveUnit;
}  // namespace
