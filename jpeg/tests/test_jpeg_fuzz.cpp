// The decompressor's stream path over a generated corpus of mutated JPEG files: every input
// either decodes or raises an Exception; the component stays usable throughout.
#include "jpegtest.h"

#include <algorithm>

using namespace jpegtest;

namespace {

struct TRandom {
  uint32_t State;
  explicit TRandom(uint32_t Seed) : State(Seed ? Seed : 1) {}
  uint32_t Next() {
    State ^= State << 13;
    State ^= State >> 17;
    State ^= State << 5;
    return State;
  }
  uint32_t Below(uint32_t N) { return N ? Next() % N : 0; }
};

std::vector<Bytes> Corpus() {
  std::vector<Bytes> C;
  auto A = PhotoBitmap(48, 40, 41), B = PhotoBitmap(33, 17, 42);
  C.push_back(Encode(A.get()));
  C.push_back(Encode(A.get(), [](TJPEGStreamCompressor* X) { X->SetProgressiveJPEG(true); }));
  C.push_back(Encode(B.get(), [](TJPEGStreamCompressor* X) { X->SetGrayscaleOutput(true); }));
  C.push_back(Encode(B.get(), [](TJPEGStreamCompressor* X) {
    X->SetRestartInterval(1);
    X->SetOptimizeCoding(true);
    X->SetComment("corpus");
    X->SetWriteAdobeMarker(true);
  }));
  C.push_back(Encode(A.get(), [](TJPEGStreamCompressor* X) {
    X->SetQuality(100);
    X->SetProgressiveJPEG(true);
    X->SetGrayscaleOutput(true);
  }));
  C.push_back(TinyGrey());
  return C;
}

Bytes Mutate(const Bytes& Seed, TRandom& R) {
  Bytes J = Seed;
  static const uint8_t Interesting[] = {0x00, 0x01, 0x02, 0x7F, 0x80, 0xFE, 0xFF, 0xD8, 0xD9, 0xDA, 0xC0, 0xC4};
  const int Count = 1 + int(R.Below(4));
  for (int M = 0; M < Count && !J.empty(); ++M) {
    // Headers are small: aim half of the mutations at the first 200 bytes.
    const size_t Span = R.Below(2) ? std::min<size_t>(J.size(), 200) : J.size();
    const size_t At = R.Below(uint32_t(Span));
    switch (R.Below(6)) {
      case 0: J[At] ^= uint8_t(1u << R.Below(8)); break;
      case 1: J[At] = Interesting[R.Below(sizeof Interesting)]; break;
      case 2: J.resize(At); break;
      case 3: J.insert(J.begin() + At, uint8_t(R.Next())); break;
      case 4: J.erase(J.begin() + At, J.begin() + std::min(J.size(), At + 1 + R.Below(16))); break;
      default: {
        const size_t From = R.Below(uint32_t(J.size())), Len = std::min<size_t>(1 + R.Below(32), J.size() - From);
        Bytes Chunk(J.begin() + From, J.begin() + From + Len);
        J.insert(J.begin() + At, Chunk.begin(), Chunk.end());
        break;
      }
    }
  }
  return J;
}

struct TQuiet : TObject {
  int Warnings = 0;
  void Warn(const AnsiString&) { ++Warnings; }
};

TEST(JPEGFuzz, MutatedCorpusNeverCrashes) {
  const std::vector<Bytes> Seeds = Corpus();
  auto D = Make<TJPEGStreamDecompressor>();
  TQuiet Q;
  D->OnWarning = TWarningEvent::Bind<&TQuiet::Warn>(&Q);
  TRandom R(20240611);
  int Decoded = 0, Failed = 0, Skipped = 0;
  const int BufSizes[] = {1, 7, 512, 4096};
  const TJPEGOutputType Types[] = {jp24bit, jp8bit, jp4bit, jpGrayscale};
  for (int I = 0; I < 3000; ++I) {
    const Bytes Input = Mutate(Seeds[R.Below(uint32_t(Seeds.size()))], R);
    D->SetBufSize(BufSizes[I % 4]);
    TMemoryStream S;
    LoadBytes(S, Input);
    try {
      D->OpenStream(&S);
      // A mutated size may claim a huge image; decoding one proves nothing more.
      if (uint64_t(D->OutputWidth()) * D->OutputHeight() > 1000000) {
        D->CloseStream();
        ++Skipped;
        continue;
      }
      if (I % 5 == 0) {
        Owned<TBitmap> B(D->ReadBitmap());
        EXPECT_EQ(B->Width(), int(D->OutputWidth()));
      } else {
        TMemoryStream Out;
        TJPEGOutputType T = Types[I % 4];
        if (D->OutColorSpace() == JCS_GRAYSCALE) T = jpGrayscale;
        D->ReadDIBtoStream(&Out, T);
        EXPECT_GT(Out.Size(), 54);
      }
      D->CloseStream();
      ++Decoded;
    } catch (const Exception& E) {
      D->CloseStream();
      EXPECT_STRNE(E.Message().c_str(), "") << "input " << I;
      ++Failed;
    } catch (const std::exception& E) {
      ADD_FAILURE() << "input " << I << ": not an Exception: " << E.what();
      D->CloseStream();
    }
    EXPECT_EQ(D->PercentDone(), 0);
  }
  EXPECT_GT(Decoded, 300);
  EXPECT_GT(Failed, 300);
  EXPECT_GT(Q.Warnings, 100);
  std::printf("[ fuzz     ] %d decoded, %d failed, %d too large, %d warnings\n", Decoded, Failed, Skipped, Q.Warnings);
  // Still a working decompressor.
  D->SetBufSize(4096);
  Owned<TBitmap> Good(Decode(Seeds[0]));
  TMemoryStream S;
  LoadBytes(S, Seeds[0]);
  Owned<TBitmap> Again(D->ReadBitMapFromStream(&S));
  EXPECT_EQ(Compare(Good.get(), Again.get()).WorstMax(), 0);
}

}  // namespace
