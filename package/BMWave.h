// Unit BMWave: sound components. A TBMWave holds one wave, either embedded (its bytes are
// stored with the component and played from memory) or referenced by file name.
#pragma once

#include "rtl/Classes.h"

#include <cstdint>

// A sound that can be played and asked whether it has anything to play.
class TBMCustomSound : public TComponent {
  ORV_CLASS(TBMCustomSound, TComponent)
public:
  explicit TBMCustomSound(TComponent* AOwner) : TComponent(AOwner) {}
  virtual void Play() {}
  virtual bool Empty() const { return true; }
};

// One wave: a complete RIFF wave file image (embedded), or a file name. Streamed as the binary
// property "Data": the embedded flag (1 byte), the name length N (4 bytes, signed), N bytes of
// name, the data length L (4 bytes, signed), L bytes of data; little-endian on every target.
class TBMWaveData : public TPersistent {
  ORV_CLASS(TBMWaveData, TPersistent)
public:
  TBMWaveData() = default;
  ~TBMWaveData() override;

  // nullptr: Clear. A TBMWaveData: its name and flag, and its bytes when it is embedded.
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  // "Data" from a block: EReadError "Stream read error" for a short or malformed block, which
  // leaves the wave as it was.
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);
  // Reads a whole file whatever the embedded flag, and takes its name. A missing file only
  // clears the bytes. EReadError "Stream read error" for a file too large for a 32-bit length.
  virtual void LoadFromFile(const AnsiString& FileName);
  // Plays in the background (a new play replaces one still playing); nothing when Empty.
  virtual void Play();

  // Frees the bytes; name and flag stay.
  void Clear();
  // Clear, then a copy of Count bytes when embedded and Count > 0.
  void SetData(const void* Source, int Count);
  // Embedded: no bytes; otherwise: no file name.
  bool Empty() const { return FEmbedded ? FLength == 0 : FFileName.IsEmpty(); }
  bool HasData() const { return !Empty(); }

  const uint8_t* Data() const { return FData; }
  int Length() const { return FLength; }
  bool Embedded() const { return FEmbedded != 0; }
  void SetEmbedded(bool Value) { FEmbedded = Value ? 1 : 0; }
  const AnsiString& FileName() const { return FFileName; }
  void SetFileName(const AnsiString& Value) { FFileName = Value; }

private:
  // Frees the bytes, first stopping the player when it may still read them.
  void FreeBlock();
  // Installs a block (owned), freeing the old one.
  void TakeBlock(uint8_t* Block, int32_t Count);

  uint8_t* FData = nullptr;
  int32_t FLength = 0;
  uint8_t FEmbedded = 1;
  AnsiString FFileName;
};

class TBMWave : public TBMCustomSound {
  ORV_CLASS(TBMWave, TBMCustomSound)
public:
  explicit TBMWave(TComponent* AOwner);
  ~TBMWave() override;
  void Play() override { FWave->Play(); }
  bool Empty() const override { return FWave->Empty(); }
  TBMWaveData* Wave() const { return FWave; }
  void SetWave(TBMWaveData* Value) { FWave->Assign(Value); }

private:
  TBMWaveData* FWave;
};
