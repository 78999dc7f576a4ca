// Unit Std2, the stored form of a window region (portable: no Windows headers). A region is kept
// as the bytes of a region-data record as GetRegionData returns them: a 32-byte header (dwSize
// 32, iType 1, nCount, nRgnSize, the bounding rectangle) and nCount rectangles of four signed
// 32-bit values (left, top, right, bottom), all little endian. Streams, files and the binary
// property "Data" hold a signed 32-bit byte count N, then the N bytes (N = 0: no region).
#pragma once
#include "rtl/Classes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rgndata {

constexpr int32_t HeaderSize = 32;
constexpr uint32_t RectanglesType = 1;
constexpr int32_t RectSize = 16;

// The message of the EReadError raised for bytes that are no region.
extern const char* const SInvalidRegionData;

// Whether Size bytes at Data are a record that may be turned into a region: the header size and
// type as above, the nCount rectangles within the bytes and none inverted (left <= right,
// top <= bottom). Zero bytes are no record.
bool IsValid(const uint8_t* Data, size_t Size);

// Reads one stored region: the count, then its bytes (none for a count of 0). EReadError
// "Stream read error" when the count is cut short; "Invalid region data" for a count below 0 or
// beyond the stream's remaining bytes, or bytes IsValid refuses.
std::vector<uint8_t> Read(TStream* Stream);
// Writes the count, then the bytes.
void Write(TStream* Stream, const std::vector<uint8_t>& Bytes);

// The rectangles of valid record bytes.
struct TRgnRect {
  int32_t Left, Top, Right, Bottom;
  bool operator==(const TRgnRect&) const = default;
};
std::vector<TRgnRect> Rects(const std::vector<uint8_t>& Bytes);

}  // namespace rgndata
