// Shared helpers of the JPEG component tests.
#include "jpegtest.h"

#include "vcl/StdCtrls.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace jpegtest {

namespace {

uint8_t Clamp(double V) { return uint8_t(V < 0 ? 0 : V > 255 ? 255 : std::lround(V)); }

// libjpeg used directly, C style: no objects with destructors between setjmp and the calls.
struct TDirectError {
  jpeg_error_mgr Pub;
  std::jmp_buf Env;
};

void DirectErrorExit(j_common_ptr Info) { std::longjmp(reinterpret_cast<TDirectError*>(Info->err)->Env, 1); }

bool CompressDirect(unsigned char** Out, unsigned long* Size, int W, int H, J_COLOR_SPACE Space,
                    unsigned char* Pixels) {
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
  Info.image_width = JDIMENSION(W);
  Info.image_height = JDIMENSION(H);
  const bool Cmyk = Space == JCS_CMYK || Space == JCS_YCCK;
  Info.input_components = Cmyk ? 4 : 3;
  Info.in_color_space = Cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&Info);
  jpeg_set_colorspace(&Info, Space);
  jpeg_start_compress(&Info, TRUE);
  while (Info.next_scanline < Info.image_height) {
    JSAMPROW Row = Pixels + size_t(Info.next_scanline) * W * Info.input_components;
    jpeg_write_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  return true;
}

}  // namespace

namespace {

std::vector<std::string> Boxes;
bool BoxesExpected = false;
bool DialogsAnswered = false;
HWND LastDialog = nullptr;  // the open message dialog, once recorded
HHOOK BoxHook = nullptr;

BOOL CALLBACK LongestStatic(HWND Child, LPARAM P) {
  char Cls[16] = {}, T[512] = {};
  auto* Best = reinterpret_cast<char*>(P);
  GetClassNameA(Child, Cls, sizeof Cls);
  if (lstrcmpiA(Cls, "Static") == 0 && GetWindowTextA(Child, T, sizeof T) > lstrlenA(Best)) lstrcpynA(Best, T, 512);
  return TRUE;
}

// The message dialog's text: its label is drawn by the form, not a window.
std::string MessageFormText(HWND Wnd) {
  TWinControl* Form = FindControl(Wnd);
  auto* Label = Form ? dynamic_cast<TLabel*>(Form->FindComponent("Message")) : nullptr;
  return Label ? Label->Caption().str() : std::string();
}

void Record(const std::string& Box) {
  try {
    Boxes.push_back(Box);
    if (!BoxesExpected) ADD_FAILURE() << "unexpected message box: " << Boxes.back();
  } catch (...) {
  }
}

// Closes system message boxes with OK, and message dialogs (unless a test answers them itself)
// with their OK button.
LRESULT CALLBACK CloseMessageBoxes(int Code, WPARAM W, LPARAM L) {
  if (Code == HCBT_ACTIVATE || Code == HCBT_DESTROYWND) {
    const HWND Wnd = reinterpret_cast<HWND>(W);
    char Class[32] = {};
    GetClassNameA(Wnd, Class, sizeof Class);
    if (std::strcmp(Class, "#32770") == 0) {
      if (Code == HCBT_ACTIVATE) {
        PostMessageA(Wnd, WM_COMMAND, IDOK, 0);
      } else {
        // Read while it goes: by now the box has its texts.
        char Caption[128] = {}, Text[512] = {};
        GetWindowTextA(Wnd, Caption, sizeof Caption);
        EnumChildWindows(Wnd, LongestStatic, reinterpret_cast<LPARAM>(Text));
        Record(std::string(Caption) + ": " + Text);
      }
    } else if (Code == HCBT_DESTROYWND) {
      if (Wnd == LastDialog) LastDialog = nullptr;
    } else if (std::strcmp(Class, "TMessageForm") == 0 && !DialogsAnswered && Wnd != LastDialog) {
      LastDialog = Wnd;
      char Caption[128] = {};
      GetWindowTextA(Wnd, Caption, sizeof Caption);
      Record(std::string(Caption) + ": " + MessageFormText(Wnd));
      if (HWND Ok = FindWindowExA(Wnd, nullptr, nullptr, "OK")) PostMessageA(Ok, BM_CLICK, 0, 0);
      else ADD_FAILURE() << "message dialog without an OK button";
    }
  }
  return CallNextHookEx(BoxHook, Code, W, L);
}

// Installed before the tests run, on the thread that runs them.
const struct TBoxCloser {
  TBoxCloser() { BoxHook = SetWindowsHookExA(WH_CBT, CloseMessageBoxes, nullptr, GetCurrentThreadId()); }
  ~TBoxCloser() {
    if (BoxHook) UnhookWindowsHookEx(BoxHook);
  }
} BoxCloser;

}  // namespace

std::vector<std::string> TakeMessageBoxes() { return std::exchange(Boxes, {}); }
void ExpectMessageBoxes(bool Expected) { BoxesExpected = Expected; }
void AnswerMessageDialogs(bool Yourself) { DialogsAnswered = Yourself; }

AnsiString TempName(const char* Name) {
  char Dir[MAX_PATH];
  GetTempPathA(MAX_PATH, Dir);
  return AnsiString(Dir) + "orvalen_jpeg_" + IntToStr(int(GetCurrentProcessId())) + "_" + Name;
}

TWarningSink& WarningSink() {
  static TWarningSink Sink;
  return Sink;
}

Owned<TBitmap> PhotoBitmap(int Width, int Height, unsigned Seed, int Bpp, int Noise) {
  Owned<TBitmap> B(new TBitmap);
  B->SetPixelFormat(Bpp == 32 ? pf32bit : pf24bit);
  B->SetSize(Width, Height);
  const double S = Seed * 0.37;
  const int Step = Bpp == 32 ? 4 : 3;
  for (int Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<uint8_t*>(B->ScanLine(Y));
    for (int X = 0; X < Width; ++X) {
      // Features of a fixed scale (tens of pixels), whatever the size of the image.
      const double U = X / 160.0, V = Y / 120.0;
      const double Blob = std::exp(-((U - 0.6) * (U - 0.6) + (V - 0.4) * (V - 0.4)) * 8.0);
      double N = 0;
      if (Noise) {
        uint32_t H = uint32_t(X) * 73856093u ^ uint32_t(Y) * 19349663u ^ Seed * 83492791u;
        H ^= H >> 13;
        H *= 0x5bd1e995u;
        H ^= H >> 15;
        N = (int(H % 2001) - 1000) / 1000.0 * Noise;
      }
      Row[Step * X + 0] = Clamp(60 + 120 * std::sin(V) + 50 * std::sin(6.0 * U + S) + N);
      Row[Step * X + 1] = Clamp(90 + 80 * std::sin(U * V) + 70 * Blob + 20 * std::cos(9.0 * V + S) + N);
      Row[Step * X + 2] = Clamp(40 + 170 * std::sin(U / 2) + 30 * std::sin(4.0 * (U + V) + 2 * S) + N);
      if (Step == 4) Row[Step * X + 3] = 0;
    }
  }
  return B;
}

void PixelAt(TBitmap* B, int X, int Y, uint8_t Out[3]) {
  const auto* Row = static_cast<const uint8_t*>(B->ScanLine(Y));
  const int Step = B->BitsPerPixel() / 8;
  std::memcpy(Out, Row + Step * X, 3);
}

RGBQUAD ColourAt(TBitmap* B, int X, int Y) {
  const auto* Row = static_cast<const uint8_t*>(B->ScanLine(Y));
  switch (B->BitsPerPixel()) {
    case 4: return B->Colors()[(X & 1) ? (Row[X / 2] & 0x0F) : (Row[X / 2] >> 4)];
    case 8: return B->Colors()[Row[X]];
    default: {
      const int Step = B->BitsPerPixel() / 8;
      return RGBQUAD{Row[Step * X], Row[Step * X + 1], Row[Step * X + 2], 0};
    }
  }
}

double TError::WorstMean() const { return std::max({Mean[0], Mean[1], Mean[2]}); }
int TError::WorstMax() const { return std::max({Max[0], Max[1], Max[2]}); }

TError Compare(TBitmap* A, TBitmap* B) {
  TError E;
  EXPECT_EQ(A->Width(), B->Width());
  EXPECT_EQ(A->Height(), B->Height());
  if (A->Width() != B->Width() || A->Height() != B->Height()) return E;
  double Sum[3] = {0, 0, 0};
  for (int Y = 0; Y < A->Height(); ++Y)
    for (int X = 0; X < A->Width(); ++X) {
      const RGBQUAD P = ColourAt(A, X, Y), Q = ColourAt(B, X, Y);
      const int D[3] = {std::abs(P.rgbBlue - Q.rgbBlue), std::abs(P.rgbGreen - Q.rgbGreen),
                        std::abs(P.rgbRed - Q.rgbRed)};
      for (int C = 0; C < 3; ++C) {
        Sum[C] += D[C];
        E.Max[C] = std::max(E.Max[C], D[C]);
      }
    }
  const double N = double(A->Width()) * A->Height();
  for (int C = 0; C < 3; ++C) E.Mean[C] = Sum[C] / N;
  return E;
}

Bytes StreamBytes(TMemoryStream& S) {
  const auto* P = static_cast<const uint8_t*>(S.Memory());
  return Bytes(P, P + S.Size());
}

void LoadBytes(TMemoryStream& S, const Bytes& Data) {
  S.Clear();
  if (!Data.empty()) S.WriteBuffer(Data.data(), int(Data.size()));
  S.SetPosition(0);
}

Bytes Encode(TBitmap* Bitmap, const std::function<void(TJPEGStreamCompressor*)>& Setup) {
  auto C = Make<TJPEGStreamCompressor>();
  if (Setup) Setup(C.get());
  TMemoryStream S;
  C->SaveBitMapToStream(Bitmap, &S);
  return StreamBytes(S);
}

Owned<TBitmap> Decode(const Bytes& Jpeg, const std::function<void(TJPEGStreamDecompressor*)>& Setup) {
  auto D = Make<TJPEGStreamDecompressor>();
  if (Setup) Setup(D.get());
  TMemoryStream S;
  LoadBytes(S, Jpeg);
  return Owned<TBitmap>(D->ReadBitMapFromStream(&S));
}

std::vector<int> Markers(const Bytes& J) {
  std::vector<int> Out;
  size_t I = 0;
  while (I + 1 < J.size()) {
    if (J[I] != 0xFF) {
      ++I;
      continue;
    }
    const int M = J[I + 1];
    if (M == 0x00 || M == 0xFF) {  // stuffed byte or fill
      I += M == 0xFF ? 1 : 2;
      continue;
    }
    Out.push_back(M);
    const bool Standalone = M == 0xD8 || M == 0xD9 || (M >= 0xD0 && M <= 0xD7) || M == 0x01;
    if (Standalone || I + 3 >= J.size()) {
      I += 2;
      continue;
    }
    I += 2 + ((size_t(J[I + 2]) << 8) | J[I + 3]);
  }
  return Out;
}

int CountMarker(const Bytes& Jpeg, int Marker) {
  const std::vector<int> M = Markers(Jpeg);
  return int(std::count(M.begin(), M.end(), Marker));
}

Bytes DirectJPEG(int Width, int Height, J_COLOR_SPACE JpegSpace) {
  const bool Cmyk = JpegSpace == JCS_CMYK || JpegSpace == JCS_YCCK;
  std::vector<unsigned char> Pixels(size_t(Width) * Height * (Cmyk ? 4 : 3));
  for (size_t I = 0; I < Pixels.size(); ++I) Pixels[I] = (unsigned char)(I * 7 % 251);
  unsigned char* Out = nullptr;
  unsigned long Size = 0;
  const bool Ok = CompressDirect(&Out, &Size, Width, Height, JpegSpace, Pixels.data());
  Bytes Result;
  if (Ok && Out) Result.assign(Out, Out + Size);
  std::free(Out);
  EXPECT_TRUE(Ok) << "libjpeg could not write the test image";
  return Result;
}

const Bytes& TinyGrey() {
  static const Bytes B = [] {
    Bytes T = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00};
    T.insert(T.end(), 64, 0x01);
    const Bytes Rest = {0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x08, 0x00, 0x08, 0x01, 0x01, 0x11, 0x00,
                        0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0A,
                        0xFF, 0xC4, 0x00, 0x14, 0x10, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00,
                        0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x40, 0x0F, 0xFF, 0xD9};
    T.insert(T.end(), Rest.begin(), Rest.end());
    return T;
  }();
  return B;
}

int64_t HeapInUse() {
  HANDLE Heaps[64];
  const DWORD N = GetProcessHeaps(64, Heaps);
  int64_t Total = 0;
  for (DWORD I = 0; I < N && I < 64; ++I) {
    if (!HeapLock(Heaps[I])) continue;
    PROCESS_HEAP_ENTRY E{};
    E.lpData = nullptr;
    while (HeapWalk(Heaps[I], &E))
      if (E.wFlags & PROCESS_HEAP_ENTRY_BUSY) Total += E.cbData;
    HeapUnlock(Heaps[I]);
  }
  return Total;
}

std::string ErrorOf(const std::function<void()>& Fn) {
  try {
    Fn();
  } catch (const Exception& E) {
    return E.Message().str();
  } catch (const std::exception& E) {
    ADD_FAILURE() << "not an Exception: " << E.what();
    return E.what();
  }
  ADD_FAILURE() << "no exception raised";
  return std::string();
}

}  // namespace jpegtest
