// Writes the name of every class the class library registers by itself, one a line, to the file
// its argument names: what the designer tests leave out of the libraries' classes.
#include "rtl/Classes.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::FILE* F = std::fopen(argv[1], "w");
  if (!F) return 1;
  for (TClass C : RegisteredClasses()) std::fprintf(F, "%s\n", C->Name);
  return std::fclose(F) == 0 ? 0 : 1;
}
