// Tag converter speed: decodes (HexToEpc) and encodes (EpcToHex) per second over 10,000
// generated valid SGTIN-96 tags of every partition, boundary values included. Writes the tags
// ("HEX DOTTED" a line) to the file named by its argument, so another encoder can go over the
// same ones. Prints the rates; never judges them.
#include "app/TagConverter.h"
#include "rtl/SysUtils.h"
#include "bench/BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int TagCount = 10000;
const int CompanyDigits[7] = {12, 11, 10, 9, 8, 7, 6};

uint64_t PowerOfTen(int N) {
  uint64_t V = 1;
  while (N-- > 0) V *= 10;
  return V;
}

// A field value from 0 to Max: the ends and their neighbours often, anything between else.
uint64_t Pick(std::mt19937_64& R, uint64_t Max) {
  switch (R() % 8) {
    case 0: return 0;
    case 1: return Max;
    case 2: return std::min<uint64_t>(1, Max);
    case 3: return Max - std::min<uint64_t>(1, Max);
    default: return R() % (Max + 1);
  }
}

std::string Padded(uint64_t V, int Digits) {
  std::string S = std::to_string(V);
  return std::string(size_t(std::max(0, Digits - int(S.size()))), '0') + S;
}

// Dotted texts of valid tags, every partition in turn.
std::vector<std::string> MakeTags() {
  std::mt19937_64 R(0x5EED2026u);
  std::vector<std::string> Tags;
  for (int I = 0; I < TagCount; ++I) {
    const int P = I % 7, Company = CompanyDigits[P], Item = 13 - Company;
    Tags.push_back("48." + std::to_string(Pick(R, 7)) + "." + std::to_string(P) + "." +
                   Padded(Pick(R, PowerOfTen(Company) - 1), Company) + "." +
                   Padded(Pick(R, PowerOfTen(Item) - 1), Item) + "." +
                   std::to_string(Pick(R, (uint64_t(1) << 38) - 1)));
  }
  return Tags;
}

// The best of several rounds over all the inputs, in conversions per second.
template <class F> double Rate(const std::vector<AnsiString>& In, F Convert) {
  double Best = 1e30;
  size_t Sink = 0;
  for (int Round = 0; Round < 15; ++Round) {
    const double T0 = bench::Seconds();
    for (const AnsiString& S : In) Sink += size_t(Convert(S).Length());
    Best = std::min(Best, bench::Seconds() - T0);
  }
  if (Sink == 0) std::puts("(no output)");
  return double(In.size()) / Best;
}

}  // namespace

int main(int Argc, char** Argv) {
  try {
    TagConverter T;
    std::vector<AnsiString> Hex, Epc;
    for (const std::string& E : MakeTags()) {
      Epc.emplace_back(E);
      Hex.push_back(T.EpcToHex(Epc.back()));
      if (T.HexToEpc(Hex.back()) != Epc.back()) {
        std::printf("converter: %s decodes to %s, not %s\n", Hex.back().c_str(), T.HexToEpc(Hex.back()).c_str(), E.c_str());
        return 1;
      }
    }
    if (Argc > 1) {
      FILE* F = std::fopen(Argv[1], "wb");
      if (!F) {
        std::printf("converter: cannot write %s\n", Argv[1]);
        return 1;
      }
      for (size_t I = 0; I < Hex.size(); ++I) std::fprintf(F, "%s %s\n", Hex[I].c_str(), Epc[I].c_str());
      std::fclose(F);
    }
    const double Decode = Rate(Hex, [&](const AnsiString& S) { return T.HexToEpc(S); });
    const double Encode = Rate(Epc, [&](const AnsiString& S) { return T.EpcToHex(S); });
    std::printf("converter %s: %d tags, decode %.0f tags/s, encode %.0f tags/s\n",
                sizeof(void*) == 8 ? "x86_64" : "i686", TagCount, Decode, Encode);
    return 0;
  } catch (const Exception& E) {
    std::printf("converter: %s\n", E.Message().c_str());
    return 1;
  }
}
