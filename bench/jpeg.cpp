// JPEG speed: decoding and encoding a generated 3000 by 2000 photo-like image through the
// components and through libjpeg-turbo called directly, in the same process. Prints the time,
// megapixels per second and the ratio component / direct; never judges the figures.
#include "jpeg/vtxjpeg.h"
#include "bench/BenchClock.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using bench::Seconds;

constexpr int Width = 3000, Height = 2000, Quality = 85, Runs = 15;
constexpr double MegaPixels = Width * double(Height) / 1e6;

uint8_t Clamp(double V) { return uint8_t(V < 0 ? 0 : V > 255 ? 255 : V + 0.5); }

// Smooth sky-like gradients, textures at several scales, hard-edged shapes and sensor grain.
TBitmap* PhotoImage() {
  auto* B = new TBitmap;
  B->SetPixelFormat(pf24bit);
  B->SetSize(Width, Height);
  uint32_t Seed = 12345;
  for (int Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<uint8_t*>(B->ScanLine(Y));
    const double V = double(Y) / Height;
    for (int X = 0; X < Width; ++X) {
      const double U = double(X) / Width;
      Seed = Seed * 1664525u + 1013904223u;
      const double Grain = int((Seed >> 24) % 17) - 8;
      const double Texture = 18 * std::sin(X * 0.05 + 3 * std::sin(Y * 0.013)) * std::cos(Y * 0.07) +
                             9 * std::sin((X + Y) * 0.21);
      double R = 70 + 140 * V + Texture * V, G = 110 + 90 * U * (1 - V) + Texture, Bl = 200 - 120 * V + Texture * 0.5;
      const double Dx = U - 0.62, Dy = V - 0.55;
      if (Dx * Dx * 2.25 + Dy * Dy < 0.04) {  // a bright disc
        R = 235 - 60 * Dy;
        G = 190 + Texture * 0.3;
        Bl = 60;
      }
      if (X > 300 && X < 1100 && Y > 1300 && Y < 1900 && ((X / 80 + Y / 80) & 1)) {  // a checked wall
        R *= 0.45;
        G *= 0.45;
        Bl *= 0.5;
      }
      Row[3 * X] = Clamp(Bl + Grain);
      Row[3 * X + 1] = Clamp(G + Grain);
      Row[3 * X + 2] = Clamp(R + Grain);
    }
  }
  return B;
}

// libjpeg-turbo used directly, the way a C program would: C-style, setjmp error exit.
struct TDirectError {
  jpeg_error_mgr Pub;
  std::jmp_buf Env;
};
void DirectErrorExit(j_common_ptr Info) { std::longjmp(reinterpret_cast<TDirectError*>(Info->err)->Env, 1); }

bool DirectEncode(const uint8_t* Top, ptrdiff_t Step, unsigned char** Out, unsigned long* Size) {
  jpeg_compress_struct Info;
  TDirectError Err;
  Info.err = jpeg_std_error(&Err.Pub);
  Err.Pub.error_exit = DirectErrorExit;
  if (setjmp(Err.Env)) {
    jpeg_destroy_compress(&Info);
    return false;
  }
  jpeg_create_compress(&Info);
  jpeg_mem_dest(&Info, Out, Size);
  Info.image_width = Width;
  Info.image_height = Height;
  Info.input_components = 3;
  Info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, Quality, TRUE);
  jpeg_start_compress(&Info, TRUE);
  JSAMPROW Rows[16];
  while (Info.next_scanline < Info.image_height) {
    const int N = std::min<int>(16, int(Info.image_height - Info.next_scanline));
    for (int I = 0; I < N; ++I) Rows[I] = const_cast<JSAMPLE*>(Top + Step * ptrdiff_t(Info.next_scanline + I));
    jpeg_write_scanlines(&Info, Rows, JDIMENSION(N));
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  return true;
}

bool DirectDecode(const unsigned char* Data, unsigned long Size, uint8_t* Bits, int Stride) {
  jpeg_decompress_struct Info;
  TDirectError Err;
  Info.err = jpeg_std_error(&Err.Pub);
  Err.Pub.error_exit = DirectErrorExit;
  if (setjmp(Err.Env)) {
    jpeg_destroy_decompress(&Info);
    return false;
  }
  jpeg_create_decompress(&Info);
  jpeg_mem_src(&Info, Data, Size);
  jpeg_read_header(&Info, TRUE);
  Info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&Info);
  JSAMPROW Rows[16];
  while (Info.output_scanline < Info.output_height) {
    const int N = std::min<int>(16, int(Info.output_height - Info.output_scanline));
    for (int I = 0; I < N; ++I)  // bottom-up, as a DIB
      Rows[I] = Bits + size_t(Stride) * (Info.output_height - 1 - Info.output_scanline - I);
    jpeg_read_scanlines(&Info, Rows, JDIMENSION(N));
  }
  jpeg_finish_decompress(&Info);
  jpeg_destroy_decompress(&Info);
  return true;
}

struct TFigure {
  double Best = 1e30;
  std::vector<double> All;
  void Add(double T) {
    Best = std::min(Best, T);
    All.push_back(T);
  }
  double Median() const {
    std::vector<double> S = All;
    std::sort(S.begin(), S.end());
    return S.empty() ? 0 : S[S.size() / 2];
  }
};

double Time(const std::function<void()>& Fn) {
  const double T0 = Seconds();
  Fn();
  return Seconds() - T0;
}

void Print(const char* What, const TFigure& F, const TFigure* Reference, bool Pixels = true) {
  if (Pixels)
    std::printf("  %-50s %8.1f ms  %7.1f MP/s  (median %6.1f ms)", What, F.Best * 1e3, MegaPixels / F.Best,
                F.Median() * 1e3);
  else
    std::printf("  %-50s %8.1f ms               (median %6.1f ms)", What, F.Best * 1e3, F.Median() * 1e3);
  if (Reference) std::printf("  ratio %.3f", Reference->Best / F.Best);
  std::printf("\n");
}

}  // namespace

int main() {
  try {
    std::printf("JPEG %d x %d (%.1f MP), quality %d, 4:2:0, best of %d runs each (interleaved)\n", Width, Height,
                MegaPixels, Quality, Runs);
    TBitmap* Image = PhotoImage();
    const auto* Top = static_cast<const uint8_t*>(Image->ScanLine(0));
    const ptrdiff_t Step = static_cast<const uint8_t*>(Image->ScanLine(1)) - Top;

    // The reference file, made directly.
    unsigned char* Ref = nullptr;
    unsigned long RefSize = 0;
    if (!DirectEncode(Top, Step, &Ref, &RefSize)) throw Exception("direct encoding failed");
    std::printf("  compressed size %lu bytes\n", RefSize);

    auto* Comp = New<TJPEGStreamCompressor>(nullptr);
    Comp->SetQuality(Quality);
    Comp->SetDefaultCompressor(true);  // TJPEGBitmap saves through it
    auto* Dec = New<TJPEGStreamDecompressor>(nullptr);
    Dec->SetDefaultDecompressor(true);  // and loads through this one
    TMemoryStream Encoded, Source;
    Source.WriteBuffer(Ref, int(RefSize));
    const int Stride = Round4(Width * 3);
    std::vector<uint8_t> DirectBits(size_t(Stride) * Height);
    TJPEGBitmap JpegBitmap, JpegSource;
    JpegSource.Assign(Image);

    // Each case with the reference it is measured against: the same work into the same kind
    // of destination.
    struct TCase {
      const char* Name;
      std::function<void()> Run;
      int Reference;  // index of the direct case, -1 for a direct case
      TFigure Figure;
    };
    std::vector<uint8_t> Info(40);
    bool SameFile = true, SamePixels = true;
    std::vector<TCase> Cases;
    Cases.push_back({"direct, into a reused buffer", [&] {
                       if (!DirectDecode(Ref, RefSize, DirectBits.data(), Stride))
                         throw Exception("direct decoding failed");
                     }, -1, {}});
    Cases.push_back({"ReadDIBitmap, into the same buffer", [&] {
                       Source.SetPosition(0);
                       Dec->OpenStream(&Source);
                       Dec->ReadDIBitmap(reinterpret_cast<BITMAPINFO*>(Info.data()), jp24bit, DirectBits.data(),
                                         DirectBits.size());
                       Dec->CloseStream();
                     }, 0, {}});
    Cases.push_back({"direct, into a new DIB section", [&] {
                       BITMAPINFO BI{};
                       BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
                       BI.bmiHeader.biWidth = Width;
                       BI.bmiHeader.biHeight = Height;
                       BI.bmiHeader.biPlanes = 1;
                       BI.bmiHeader.biBitCount = 24;
                       void* Bits = nullptr;
                       HBITMAP Dib = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
                       const bool Ok = Dib && DirectDecode(Ref, RefSize, static_cast<uint8_t*>(Bits), Stride);
                       if (Dib) DeleteObject(Dib);
                       if (!Ok) throw Exception("direct decoding failed");
                     }, -1, {}});
    Cases.push_back({"ReadBitMapFromStream, a new TBitmap", [&] {
                       Source.SetPosition(0);
                       TObject::Free(Dec->ReadBitMapFromStream(&Source));
                     }, 2, {}});
    Cases.push_back({"TJPEGBitmap.LoadFromStream", [&] {
                       Source.SetPosition(0);
                       JpegBitmap.LoadFromStream(&Source);
                     }, 2, {}});
    std::vector<unsigned char> Fixed(4 << 20);
    Cases.push_back({"direct, into a reused buffer", [&] {
                       unsigned char* Out = Fixed.data();
                       unsigned long OutSize = (unsigned long)Fixed.size();
                       const bool Ok = DirectEncode(Top, Step, &Out, &OutSize);
                       if (Out != Fixed.data()) std::free(Out);
                       if (!Ok) throw Exception("direct encoding failed");
                     }, -1, {}});
    Cases.push_back({"SaveBitMapToStream, into a reused TMemoryStream", [&] {
                       Encoded.SetPosition(0);
                       Comp->SaveBitMapToStream(Image, &Encoded);
                     }, 5, {}});
    Cases.push_back({"direct, into new memory (growing from empty)", [&] {
                       unsigned char* Out = nullptr;
                       unsigned long OutSize = 0;
                       const bool Ok = DirectEncode(Top, Step, &Out, &OutSize);
                       std::free(Out);
                       if (!Ok) throw Exception("direct encoding failed");
                     }, -1, {}});
    Cases.push_back({"SaveBitMapToStream, into a new TMemoryStream", [&] {
                       TMemoryStream Fresh;
                       Comp->SaveBitMapToStream(Image, &Fresh);
                     }, 7, {}});
    Cases.push_back({"TJPEGBitmap.SaveToStream, into a new TMemoryStream", [&] {
                       TMemoryStream Fresh;
                       JpegSource.SaveToStream(&Fresh);
                     }, 7, {}});
    // What growing a TMemoryStream costs, against growing a malloc block by doubling.
    std::vector<unsigned char> Chunk(4096, 1);
    Cases.push_back({"(1.1 MB in 4 KB writes: malloc, doubling)", [&] {
                       size_t Cap = 4096, Used = 0;
                       auto* P = static_cast<unsigned char*>(std::malloc(Cap));
                       for (unsigned long N = 0; N < RefSize && P; N += 4096) {
                         if (Used + 4096 > Cap) {
                           auto* Q = static_cast<unsigned char*>(std::malloc(Cap * 2));
                           if (Q) std::memcpy(Q, P, Used);
                           std::free(P);
                           P = Q;
                           Cap *= 2;
                         }
                         if (P) std::memcpy(P + Used, Chunk.data(), 4096);
                         Used += 4096;
                       }
                       std::free(P);
                     }, -1, {}});
    Cases.push_back({"(1.1 MB in 4 KB writes: new TMemoryStream)", [&] {
                       TMemoryStream M;
                       for (unsigned long N = 0; N < RefSize; N += 4096) M.Write(Chunk.data(), 4096);
                     }, 10, {}});

    // The components produce what the library produces.
    {
      if (!DirectDecode(Ref, RefSize, DirectBits.data(), Stride)) throw Exception("direct decoding failed");
      Source.SetPosition(0);
      TBitmap* Decoded = Dec->ReadBitMapFromStream(&Source);
      for (int Y = 0; Y < Height && SamePixels; ++Y)
        SamePixels = std::memcmp(Decoded->ScanLine(Y), &DirectBits[size_t(Stride) * (Height - 1 - Y)],
                                 size_t(Width) * 3) == 0;
      TObject::Free(Decoded);
      Encoded.Clear();
      Comp->SaveBitMapToStream(Image, &Encoded);
      SameFile = Encoded.Size() == int64_t(RefSize) && std::memcmp(Encoded.Memory(), Ref, RefSize) == 0;
    }
    for (int Run = 0; Run <= Runs; ++Run) {  // run 0 warms up and is not counted
      // Alternate the order so no case always follows the same one.
      for (size_t K = 0; K < Cases.size(); ++K) {
        TCase& C = Cases[Run % 2 ? Cases.size() - 1 - K : K];
        const double T = Time(C.Run);
        if (Run > 0) C.Figure.Add(T);
      }
    }
    for (size_t K = 0; K < Cases.size(); ++K) {
      if (K == 0) std::printf("decode into memory the caller holds\n");
      if (K == 2) std::printf("decode into a new bitmap each time\n");
      if (K == 5) std::printf("encode (quality %d, 4:2:0) from a 24-bit bitmap, into memory reused each time\n", Quality);
      if (K == 7) std::printf("encode into new memory each time\n");
      if (K == 10) std::printf("stream growth alone\n");
      const TCase& C = Cases[K];
      Print(C.Name, C.Figure, C.Reference >= 0 ? &Cases[size_t(C.Reference)].Figure : nullptr, K < 10);
    }
    std::printf("component output identical to direct: file %s, pixels %s\n", SameFile ? "yes" : "NO",
                SamePixels ? "yes" : "NO");

    TObject::Free(Comp);
    TObject::Free(Dec);
    TObject::Free(Image);
    std::free(Ref);
    return 0;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "jpeg_bench: %s\n", E.what());
    return 1;
  }
}
