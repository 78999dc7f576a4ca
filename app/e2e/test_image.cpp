// The program image is of the machine this build targets, as its PE header says.
#include "app/e2e/App.h"
#include <fstream>
#include <iterator>
#include <vector>

namespace {
uint32_t Le(const std::vector<unsigned char>& B, size_t At, int Bytes) {
  uint32_t V = 0;
  for (int I = Bytes - 1; I >= 0; --I) V = V << 8 | B.at(At + size_t(I));
  return V;
}
}  // namespace

TEST(ProgramImage, IsOfThisBuildsMachine) {
  std::ifstream F(e2e::ProgramPath(), std::ios::binary);
  ASSERT_TRUE(F) << e2e::ProgramPath();
  const std::vector<unsigned char> B{std::istreambuf_iterator<char>(F), {}};
  ASSERT_GE(B.size(), 0x200u);
  EXPECT_EQ(Le(B, 0, 2), 0x5A4Du);  // "MZ"
  const size_t Pe = Le(B, 0x3C, 4);
  ASSERT_EQ(Le(B, Pe, 4), 0x00004550u);  // "PE\0\0"
  const size_t Optional = Pe + 24;
  // This driver is built for the same target as the program it checks.
#if defined(__x86_64__)
  EXPECT_EQ(Le(B, Pe + 4, 2), unsigned(IMAGE_FILE_MACHINE_AMD64));
  EXPECT_EQ(Le(B, Optional, 2), 0x20Bu);  // PE32+
#else
  EXPECT_EQ(Le(B, Pe + 4, 2), unsigned(IMAGE_FILE_MACHINE_I386));
  EXPECT_EQ(Le(B, Optional, 2), 0x10Bu);  // PE32
#endif
  EXPECT_EQ(Le(B, Optional + 68, 2), unsigned(IMAGE_SUBSYSTEM_WINDOWS_GUI));
}
