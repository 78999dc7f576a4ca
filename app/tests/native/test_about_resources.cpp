// The About dialog's form carries the committed pictures exactly, in the stored formats.
#include "rtl/Streaming.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string& Path) {
  std::ifstream F(Path, std::ios::binary);
  std::ostringstream S;
  S << F.rdbuf();
  return S.str();
}

// The bytes of the hexadecimal block "Name = { ... }" of a text form.
std::string Block(const std::string& Form, const std::string& Name) {
  const size_t At = Form.find(Name + " = {");
  if (At == std::string::npos) return {};
  const size_t End = Form.find('}', At);
  std::string Hex;
  for (size_t I = Form.find('{', At) + 1; I < End; ++I)
    if (std::isxdigit(static_cast<unsigned char>(Form[I]))) Hex += Form[I];
  std::string Bytes;
  for (size_t I = 0; I + 1 < Hex.size(); I += 2) Bytes += char(std::stoi(Hex.substr(I, 2), nullptr, 16));
  return Bytes;
}

uint32_t U32(const std::string& S, size_t At) {
  return uint32_t(uint8_t(S[At])) | uint32_t(uint8_t(S[At + 1])) << 8 | uint32_t(uint8_t(S[At + 2])) << 16 |
         uint32_t(uint8_t(S[At + 3])) << 24;
}
unsigned U16(const std::string& S, size_t At) { return unsigned(uint8_t(S[At])) | unsigned(uint8_t(S[At + 1])) << 8; }

std::string Le32(uint32_t V) {
  std::string S;
  for (int I = 0; I < 4; ++I) S += char((V >> (8 * I)) & 0xFF);
  return S;
}

struct TBmpShape {
  int Width, Height;
  uint32_t FileSize, ImageSize;
};

void ExpectBmp24(const std::string& Bmp, const TBmpShape& Want) {
  ASSERT_GE(Bmp.size(), 54u);
  EXPECT_EQ(Bmp.substr(0, 2), "BM");
  EXPECT_EQ(U32(Bmp, 2), Want.FileSize);
  EXPECT_EQ(Bmp.size(), Want.FileSize);
  EXPECT_EQ(U32(Bmp, 10), 54u);
  EXPECT_EQ(U32(Bmp, 14), 40u);
  EXPECT_EQ(int32_t(U32(Bmp, 18)), Want.Width);
  EXPECT_EQ(int32_t(U32(Bmp, 22)), Want.Height);  // positive: rows bottom-up
  EXPECT_EQ(U16(Bmp, 26), 1u);
  EXPECT_EQ(U16(Bmp, 28), 24u);
  EXPECT_EQ(U32(Bmp, 30), 0u);  // uncompressed
  EXPECT_EQ(U32(Bmp, 34), Want.ImageSize);
}

TEST(AboutResources, PictureIsTheCommittedBitmapStoredAsAJpegBitmap) {
  const std::string Form = ReadFile(ORVALEN_APP_DIR "/About.dfm");
  const std::string Bmp = ReadFile(ORVALEN_APP_DIR "/res/about.bmp");
  ExpectBmp24(Bmp, {225, 133, 89962, 89908});
  EXPECT_EQ(Block(Form, "Picture.Data"), std::string("\x0BTJPEGBitmap") + Le32(uint32_t(Bmp.size())) + Bmp);
}

TEST(AboutResources, GlyphIsTheCommittedTwoGlyphBitmap) {
  const std::string Form = ReadFile(ORVALEN_APP_DIR "/About.dfm");
  const std::string Bmp = ReadFile(ORVALEN_APP_DIR "/res/okglyph.bmp");
  ExpectBmp24(Bmp, {36, 18, 54 + 108 * 18, 108 * 18});
  EXPECT_EQ(Block(Form, "Glyph.Data"), Le32(uint32_t(Bmp.size())) + Bmp);
}

TEST(AboutResources, FormTextCompiles) {
  TFileStream In(ORVALEN_APP_DIR "/About.dfm", fmOpenRead);
  TMemoryStream Out;
  ObjectTextToBinary(&In, &Out);
  EXPECT_GT(Out.Size(), 89962);
}

}  // namespace
