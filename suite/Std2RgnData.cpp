#include "suite/Std2RgnData.h"
#include "rtl/SysUtils.h"

namespace rgndata {

const char* const SInvalidRegionData = "Invalid region data";

namespace {

uint32_t U32(const uint8_t* P) { return P[0] | uint32_t(P[1]) << 8 | uint32_t(P[2]) << 16 | uint32_t(P[3]) << 24; }
int32_t I32(const uint8_t* P) { return int32_t(U32(P)); }

[[noreturn]] void Invalid() { throw EReadError(SInvalidRegionData); }

}  // namespace

bool IsValid(const uint8_t* Data, size_t Size) {
  if (Size < size_t(HeaderSize)) return false;
  if (U32(Data) != uint32_t(HeaderSize) || U32(Data + 4) != RectanglesType) return false;
  const uint64_t Count = U32(Data + 8);
  if (uint64_t(HeaderSize) + uint64_t(RectSize) * Count > Size) return false;
  for (uint64_t I = 0; I < Count; ++I) {
    const uint8_t* R = Data + HeaderSize + RectSize * I;
    if (I32(R) > I32(R + 8) || I32(R + 4) > I32(R + 12)) return false;
  }
  return true;
}

std::vector<uint8_t> Read(TStream* Stream) {
  uint8_t Count[4];
  Stream->ReadBuffer(Count, 4);
  const int32_t N = I32(Count);
  if (N < 0 || N > Stream->Size() - Stream->Position()) Invalid();
  std::vector<uint8_t> Bytes(static_cast<size_t>(N));
  if (N == 0) return Bytes;
  Stream->ReadBuffer(Bytes.data(), N);
  if (!IsValid(Bytes.data(), Bytes.size())) Invalid();
  return Bytes;
}

void Write(TStream* Stream, const std::vector<uint8_t>& Bytes) {
  const uint32_t N = uint32_t(Bytes.size());
  const uint8_t Count[4] = {uint8_t(N), uint8_t(N >> 8), uint8_t(N >> 16), uint8_t(N >> 24)};
  Stream->WriteBuffer(Count, 4);
  if (N > 0) Stream->WriteBuffer(Bytes.data(), int(N));
}

std::vector<TRgnRect> Rects(const std::vector<uint8_t>& Bytes) {
  std::vector<TRgnRect> Result;
  if (!IsValid(Bytes.data(), Bytes.size())) return Result;
  const uint32_t Count = U32(Bytes.data() + 8);
  for (uint32_t I = 0; I < Count; ++I) {
    const uint8_t* R = Bytes.data() + HeaderSize + RectSize * size_t(I);
    Result.push_back({I32(R), I32(R + 4), I32(R + 8), I32(R + 12)});
  }
  return Result;
}

}  // namespace rgndata
