// Form compiler: converts a text form to the binary form format.
//   formc INPUT.dfm OUTPUT.bin
#include "rtl/Streaming.h"
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: formc INPUT.dfm OUTPUT.bin\n");
    return 2;
  }
  try {
    TFileStream In(argv[1], fmOpenRead);
    TMemoryStream Out;
    ObjectTextToBinary(&In, &Out);
    Out.SaveToFile(argv[2]);
  } catch (const Exception& E) {
    std::fprintf(stderr, "%s: %s\n", argv[1], E.Message().c_str());
    std::remove(argv[2]);
    return 1;
  }
  return 0;
}
