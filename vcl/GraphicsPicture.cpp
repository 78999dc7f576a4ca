// TGraphic, TIcon (.ico images and HICONs) and TPicture with its registry of graphic formats
// (TMetafile is in GraphicsMetafile.cpp).
#include "vcl/Graphics.h"
#include "rtl/Streaming.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

uint16_t Rd16(const uint8_t* P) { return uint16_t(P[0] | (P[1] << 8)); }
uint32_t Rd32(const uint8_t* P) {
  return uint32_t(P[0]) | (uint32_t(P[1]) << 8) | (uint32_t(P[2]) << 16) | (uint32_t(P[3]) << 24);
}
void Put16(std::vector<uint8_t>& V, uint32_t X) { V.push_back(uint8_t(X)); V.push_back(uint8_t(X >> 8)); }
void Put32(std::vector<uint8_t>& V, uint32_t X) { Put16(V, X & 0xFFFF); Put16(V, X >> 16); }

// Frees a graphic that has not been handed to a picture yet.
struct TGraphicDeleter {
  void operator()(TGraphic* G) const { TObject::Free(G); }
};
using TGraphicPtr = std::unique_ptr<TGraphic, TGraphicDeleter>;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Graphic

ORV_IMPLEMENT_CLASS(TGraphic, TPersistent)

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::SetModified(bool Value) {
  if (Value) Changed(this);
  else FModified = false;
}

void TGraphic::Changed(TObject*) {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::Progress(TObject* Sender, TProgressStage Stage, unsigned char PercentDone, bool RedrawNow,
                        const TRect& R, const AnsiString& Msg) {
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

void TGraphic::LoadFromFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(&Stream);
}

void TGraphic::SaveToFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

namespace {
// Same class and the same "Data" bytes.
bool SameGraphic(TGraphic* A, TGraphic* B) {
  if (A == B) return true;
  if (!A || !B || A->ClassType() != B->ClassType()) return false;
  if (A->Empty() || B->Empty()) return A->Empty() && B->Empty();
  TMemoryStream SA, SB;
  A->WriteData(&SA);
  B->WriteData(&SB);
  return SA.Size() == SB.Size() && std::memcmp(SA.Memory(), SB.Memory(), size_t(SA.Size())) == 0;
}
}  // namespace

void TGraphic::DefineProperties(TFiler* Filer) {
  bool HasData = !Empty();
  if (Filer->Ancestor()) HasData = !SameGraphic(this, dynamic_cast<TGraphic*>(Filer->Ancestor()));
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); }, HasData);
}

// ---------------------------------------------------------------------------------------------
// Icon

ORV_IMPLEMENT_CLASS(TIcon, TGraphic)

namespace {

[[noreturn]] void BadIcon() { throw EInvalidGraphic("Icon image is not valid"); }

constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct TIconImage {
  uint32_t Offset = 0, Size = 0;
  int Width = 0, Height = 0, Bpp = 0;
  uint16_t HotX = 0, HotY = 0;  // cursors
};

struct TIconFile {
  bool Cursor = false;
  std::vector<TIconImage> Images;
  size_t Extent = 0;  // bytes of the file: the end of the last image
};

// Checks the directory (first 6 + 16 * count bytes of Data, N of them available) and returns
// the images with their sizes; Total is the number of bytes the stream can supply.
TIconFile ParseIconDirectory(const uint8_t* Data, size_t N, uint64_t Total) {
  if (N < 6 || Rd16(Data) != 0) BadIcon();
  const uint16_t Type = Rd16(Data + 2), Count = Rd16(Data + 4);
  if ((Type != 1 && Type != 2) || Count == 0) BadIcon();
  const size_t DirEnd = 6 + 16 * size_t(Count);
  if (N < DirEnd) BadIcon();
  TIconFile F;
  F.Cursor = Type == 2;
  F.Extent = DirEnd;
  for (int I = 0; I < Count; ++I) {
    const uint8_t* E = Data + 6 + 16 * I;
    TIconImage Img;
    Img.Size = Rd32(E + 8);
    Img.Offset = Rd32(E + 12);
    if (F.Cursor) {
      Img.HotX = Rd16(E + 4);
      Img.HotY = Rd16(E + 6);
    }
    if (Img.Offset < DirEnd || Img.Size < 40 || uint64_t(Img.Offset) + Img.Size > Total) BadIcon();
    F.Extent = std::max(F.Extent, size_t(Img.Offset) + Img.Size);
    F.Images.push_back(Img);
  }
  return F;
}

// Fills in the dimensions of an image from its own header; the image bytes must be present.
void ParseIconImage(const uint8_t* P, TIconImage& Img) {
  if (std::memcmp(P, PngSignature, 8) == 0) {
    // Signature, then the IHDR chunk: length, "IHDR", width and height (big endian).
    if (Img.Size < 33 || std::memcmp(P + 12, "IHDR", 4) != 0) BadIcon();
    auto Be32 = [](const uint8_t* Q) {
      return (uint32_t(Q[0]) << 24) | (uint32_t(Q[1]) << 16) | (uint32_t(Q[2]) << 8) | uint32_t(Q[3]);
    };
    uint32_t W = Be32(P + 16), H = Be32(P + 20);
    if (W == 0 || H == 0 || W > 1024 || H > 1024) BadIcon();
    Img.Width = int(W);
    Img.Height = int(H);
    Img.Bpp = 32;
    return;
  }
  const uint32_t HeaderSize = Rd32(P);
  if (HeaderSize < 40 || HeaderSize > Img.Size) BadIcon();
  const int32_t W = int32_t(Rd32(P + 4)), H2 = int32_t(Rd32(P + 8));
  const int Planes = Rd16(P + 12), Bpp = Rd16(P + 14);
  const uint32_t Compression = Rd32(P + 16), ClrUsed = Rd32(P + 32);
  if (W <= 0 || W > 1024 || H2 <= 0 || H2 > 2048 || (H2 & 1) || Planes != 1) BadIcon();
  if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 16 && Bpp != 24 && Bpp != 32) BadIcon();
  if (Compression != BI_RGB && !(Compression == BI_BITFIELDS && (Bpp == 16 || Bpp == 32))) BadIcon();
  const int H = H2 / 2;
  uint64_t Colors = Bpp <= 8 ? (ClrUsed ? ClrUsed : (1u << Bpp)) : 0;
  if (Colors > 256) BadIcon();
  uint64_t Need = HeaderSize + (Compression == BI_BITFIELDS ? 12 : 0) + Colors * 4 +
                  uint64_t((W * Bpp + 31) / 32 * 4) * H + uint64_t((W + 31) / 32 * 4) * H;
  if (Need > Img.Size) BadIcon();
  Img.Width = W;
  Img.Height = H;
  Img.Bpp = Bpp;
}

// The image closest to the system's icon size, the deepest among equals.
size_t ChooseIconImage(const std::vector<TIconImage>& Images) {
  const int Want = std::max(GetSystemMetrics(SM_CXICON), 1);
  size_t Best = 0;
  for (size_t I = 1; I < Images.size(); ++I) {
    int DB = std::abs(Images[Best].Width - Want), DI = std::abs(Images[I].Width - Want);
    if (DI < DB || (DI == DB && Images[I].Bpp > Images[Best].Bpp)) Best = I;
  }
  return Best;
}

HICON IconFromImage(const std::vector<uint8_t>& File, bool Cursor, const TIconImage& Img) {
  const uint8_t* P = File.data() + Img.Offset;
  if (!Cursor)
    return CreateIconFromResourceEx(const_cast<PBYTE>(P), Img.Size, TRUE, 0x00030000, Img.Width, Img.Height,
                                    LR_DEFAULTCOLOR);
  // A cursor resource starts with its hot spot.
  std::vector<uint8_t> Res;
  Res.reserve(4 + Img.Size);
  Put16(Res, Img.HotX);
  Put16(Res, Img.HotY);
  Res.insert(Res.end(), P, P + Img.Size);
  return CreateIconFromResourceEx(Res.data(), DWORD(Res.size()), FALSE, 0x00030000, Img.Width, Img.Height,
                                  LR_DEFAULTCOLOR);
}

struct TLoadedIcon {
  std::vector<uint8_t> Data;
  TIconOwner Handle;
  int Width = 0, Height = 0;
};

// Validates a whole .ico/.cur file and makes the handle of its best image.
TLoadedIcon DecodeIconFile(std::vector<uint8_t> Data) {
  TIconFile F = ParseIconDirectory(Data.data(), Data.size(), Data.size());
  for (TIconImage& Img : F.Images) ParseIconImage(Data.data() + Img.Offset, Img);
  const TIconImage& Img = F.Images[ChooseIconImage(F.Images)];
  TLoadedIcon Out;
  Out.Handle.Reset(IconFromImage(Data, F.Cursor, Img));
  if (!Out.Handle) BadIcon();
  Out.Width = Img.Width;
  Out.Height = Img.Height;
  Out.Data = std::move(Data);
  return Out;
}

// Bits of a bitmap as a bottom-up DIB of the given depth (1 bit: black and white table).
std::vector<uint8_t> DibBits(HBITMAP Bmp, int W, int H, int Bpp) {
  std::vector<uint8_t> Info(sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD));
  auto* BI = reinterpret_cast<BITMAPINFO*>(Info.data());
  BI->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  BI->bmiHeader.biWidth = W;
  BI->bmiHeader.biHeight = H;
  BI->bmiHeader.biPlanes = 1;
  BI->bmiHeader.biBitCount = WORD(Bpp);
  BI->bmiHeader.biCompression = BI_RGB;
  std::vector<uint8_t> Bits(size_t((W * Bpp + 31) / 32 * 4) * size_t(H));
  TWindowDC DC;
  if (!DC || GetDIBits(DC, Bmp, 0, UINT(H), Bits.data(), BI, DIB_RGB_COLORS) != H) BadIcon();
  return Bits;
}

// One-image .ico file of an icon handle.
std::vector<uint8_t> EncodeIcon(HICON Icon) {
  ICONINFO II{};
  if (!GetIconInfo(Icon, &II)) BadIcon();
  TBitmapOwner Color(II.hbmColor), Mask(II.hbmMask);
  BITMAP BM{};
  if (!Mask || !GetObjectA(Mask, sizeof(BM), &BM)) BadIcon();
  const int W = BM.bmWidth;
  int H;
  int Bpp;
  std::vector<uint8_t> Xor, And;
  if (Color) {
    H = BM.bmHeight;
    Xor = DibBits(Color, W, H, 32);
    And = DibBits(Mask, W, H, 1);
    bool Alpha = false;
    for (size_t I = 3; I < Xor.size(); I += 4) Alpha |= Xor[I] != 0;
    Bpp = 32;
    if (!Alpha) {
      // No alpha channel: keep the colours only, so the mask decides transparency.
      const int Stride = (W * 24 + 31) / 32 * 4;
      std::vector<uint8_t> Rgb(size_t(Stride) * H, 0);
      for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
          std::memcpy(&Rgb[size_t(Y) * Stride + 3 * X], &Xor[(size_t(Y) * W + X) * 4], 3);
      Xor = std::move(Rgb);
      Bpp = 24;
    }
  } else {
    // Monochrome: the mask is twice as high, AND mask on top, XOR image below; bottom-up the
    // XOR rows come first, as the file stores them.
    H = BM.bmHeight / 2;
    if (H <= 0) BadIcon();
    std::vector<uint8_t> Both = DibBits(Mask, W, 2 * H, 1);
    const size_t Half = Both.size() / 2;
    Xor.assign(Both.begin(), Both.begin() + Half);
    And.assign(Both.begin() + Half, Both.end());
    Bpp = 1;
  }
  const uint32_t Colors = Bpp == 1 ? 2 : 0;
  const uint32_t ImageSize = 40 + 4 * Colors + uint32_t(Xor.size() + And.size());
  std::vector<uint8_t> F;
  F.reserve(22 + ImageSize);
  Put16(F, 0);
  Put16(F, 1);
  Put16(F, 1);
  F.push_back(uint8_t(W >= 256 ? 0 : W));
  F.push_back(uint8_t(H >= 256 ? 0 : H));
  F.push_back(uint8_t(Bpp == 1 ? 2 : 0));
  F.push_back(0);
  Put16(F, 1);
  Put16(F, uint32_t(Bpp));
  Put32(F, ImageSize);
  Put32(F, 22);
  Put32(F, 40);
  Put32(F, uint32_t(W));
  Put32(F, uint32_t(2 * H));
  Put16(F, 1);
  Put16(F, uint32_t(Bpp));
  Put32(F, BI_RGB);
  Put32(F, uint32_t(Xor.size() + And.size()));
  Put32(F, 0);
  Put32(F, 0);
  Put32(F, Colors);
  Put32(F, 0);
  if (Colors) {
    Put32(F, 0x000000);
    Put32(F, 0xFFFFFF);
  }
  F.insert(F.end(), Xor.begin(), Xor.end());
  F.insert(F.end(), And.begin(), And.end());
  return F;
}

}  // namespace

TIcon::~TIcon() = default;

void TIcon::Reset() {
  FHandle.Reset();
  FData.clear();
  FWidth = FHeight = 0;
}

void TIcon::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    Reset();
    Changed(this);
    return;
  }
  if (auto* I = dynamic_cast<TIcon*>(Source)) {
    TIconOwner Copy;
    if (I->FData.empty() && I->FHandle) {
      Copy.Reset(CopyIcon(I->FHandle));
      if (!Copy) throw EOutOfResources("Out of system resources");
    }
    FHandle = std::move(Copy);
    FData = I->FData;
    FWidth = I->FWidth;
    FHeight = I->FHeight;
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TIcon::SetWidth(int Value) {
  if (Value != FWidth) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeight(int Value) {
  if (Value != FHeight) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

HICON TIcon::Handle() {
  if (!FHandle && !FData.empty()) {
    TLoadedIcon L = DecodeIconFile(FData);
    FHandle = std::move(L.Handle);
  }
  return FHandle.Get();
}

void TIcon::SetHandle(HICON Value) {
  if (Value == FHandle.Get()) return;
  TIconOwner Given(Value);
  int W = 0, H = 0;
  if (Value) {
    ICONINFO II{};
    if (!GetIconInfo(Value, &II)) BadIcon();
    TBitmapOwner Color(II.hbmColor), Mask(II.hbmMask);
    BITMAP BM{};
    if (!Mask || !GetObjectA(Mask, sizeof(BM), &BM)) BadIcon();
    W = BM.bmWidth;
    H = Color ? BM.bmHeight : BM.bmHeight / 2;
  }
  Reset();
  FHandle = std::move(Given);
  FWidth = W;
  FHeight = H;
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  Handle();
  HICON H = FHandle.Release();
  Reset();
  Changed(this);
  return H;
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  HICON H = Handle();
  ACanvas->Changing();
  ACanvas->RequiredState(TCanvas::csHandleValid);
  DrawIconEx(ACanvas->FHandle, Rect.Left, Rect.Top, H, Rect.Width(), Rect.Height(), 0, nullptr, DI_NORMAL);
  ACanvas->Changed();
}

void TIcon::LoadFromStream(TStream* Stream) {
  const int64_t Remaining = Stream->Size() - Stream->Position();
  if (Remaining <= 0) {
    Reset();
    Changed(this);
    return;
  }
  // Directory first, then exactly the bytes its images occupy.
  std::vector<uint8_t> Data(6);
  if (Remaining < 6 || Stream->Read(Data.data(), 6) != 6) BadIcon();
  const uint16_t Count = Rd16(Data.data() + 4);
  const size_t DirEnd = 6 + 16 * size_t(Count);
  if (int64_t(DirEnd) > Remaining) BadIcon();
  Data.resize(DirEnd);
  if (Stream->Read(Data.data() + 6, int(DirEnd - 6)) != int(DirEnd - 6)) BadIcon();
  const TIconFile F = ParseIconDirectory(Data.data(), Data.size(), uint64_t(Remaining));
  Data.resize(F.Extent);
  if (Stream->Read(Data.data() + DirEnd, int(F.Extent - DirEnd)) != int(F.Extent - DirEnd)) BadIcon();
  TLoadedIcon L = DecodeIconFile(std::move(Data));
  FHandle = std::move(L.Handle);
  FData = std::move(L.Data);
  FWidth = L.Width;
  FHeight = L.Height;
  Changed(this);
}

void TIcon::SaveToStream(TStream* Stream) {
  if (FData.empty() && FHandle) FData = EncodeIcon(FHandle);
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), int(FData.size()));
}

// ---------------------------------------------------------------------------------------------
// Picture

ORV_IMPLEMENT_CLASS(TPicture, TPersistent)

namespace {

struct TFileFormat {
  AnsiString Extension;  // lower case, no dot
  AnsiString Description;
  TClass GraphicClass;
  TGraphicFactory Factory;
};

struct TGraphicClassEntry {
  TClass GraphicClass;
  TGraphicFactory Factory;
};

TGraphic* NewBitmap() { return new TBitmap; }
TGraphic* NewIcon() { return new TIcon; }
TGraphic* NewMetafile() { return new TMetafile; }

struct TGraphicRegistry {
  TGraphicRegistry() {
    Formats.push_back({"bmp", "Bitmaps", TBitmap::StaticClass(), NewBitmap});
    Formats.push_back({"ico", "Icons", TIcon::StaticClass(), NewIcon});
    Formats.push_back({"emf", "Enhanced Metafiles", TMetafile::StaticClass(), NewMetafile});
    Formats.push_back({"wmf", "Metafiles", TMetafile::StaticClass(), NewMetafile});
    Classes.push_back({TBitmap::StaticClass(), NewBitmap});
    Classes.push_back({TIcon::StaticClass(), NewIcon});
    Classes.push_back({TMetafile::StaticClass(), NewMetafile});
  }
  std::recursive_mutex Lock;
  std::vector<TFileFormat> Formats;  // in registration order
  std::vector<TGraphicClassEntry> Classes;
};

TGraphicRegistry& Registry() {
  static TGraphicRegistry R;
  return R;
}

AnsiString NormalExtension(const AnsiString& Ext) {
  AnsiString E = LowerCase(Ext);
  if (!E.IsEmpty() && E[1] == '.') E.Delete(1, 1);
  return E;
}

void CheckGraphicClass(TClass C, TGraphicFactory Factory) {
  if (!C || !C->InheritsFrom(TGraphic::StaticClass()))
    throw EInvalidGraphic(Format("%s is not a graphic class", {C ? C->Name : "nil"}));
  if (!Factory) throw EInvalidGraphic(Format("No factory for graphic class %s", {C->Name}));
}

// Factory of exactly class C, null when it is not registered.
TGraphicFactory FactoryOf(TClass C) {
  TGraphicRegistry& R = Registry();
  std::lock_guard G(R.Lock);
  for (auto It = R.Classes.rbegin(); It != R.Classes.rend(); ++It)
    if (It->GraphicClass == C) return It->Factory;
  for (auto It = R.Formats.rbegin(); It != R.Formats.rend(); ++It)
    if (It->GraphicClass == C) return It->Factory;
  return nullptr;
}

}  // namespace

void TPicture::RegisterGraphicClass(TClass GraphicClass, TGraphicFactory Factory) {
  CheckGraphicClass(GraphicClass, Factory);
  TGraphicRegistry& R = Registry();
  std::lock_guard G(R.Lock);
  for (auto& E : R.Classes)
    if (E.GraphicClass == GraphicClass) { E.Factory = Factory; return; }
  R.Classes.push_back({GraphicClass, Factory});
}

void TPicture::RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description, TClass GraphicClass,
                                  TGraphicFactory Factory) {
  CheckGraphicClass(GraphicClass, Factory);
  AnsiString Ext = NormalExtension(Extension);
  if (Ext.IsEmpty()) throw EInvalidGraphic("Empty picture file extension");
  RegisterGraphicClass(GraphicClass, Factory);
  TGraphicRegistry& R = Registry();
  std::lock_guard G(R.Lock);
  R.Formats.push_back({Ext, Description, GraphicClass, Factory});
}

void TPicture::UnregisterGraphicClass(TClass GraphicClass) {
  if (!GraphicClass) return;
  TGraphicRegistry& R = Registry();
  std::lock_guard G(R.Lock);
  std::erase_if(R.Formats, [&](const TFileFormat& F) { return F.GraphicClass->InheritsFrom(GraphicClass); });
  std::erase_if(R.Classes, [&](const TGraphicClassEntry& E) { return E.GraphicClass->InheritsFrom(GraphicClass); });
}

TGraphicFactory TPicture::FindGraphicClass(const AnsiString& ClassName) {
  TGraphicRegistry& R = Registry();
  std::lock_guard G(R.Lock);
  for (auto It = R.Classes.rbegin(); It != R.Classes.rend(); ++It)
    if (SameText(ClassName, It->GraphicClass->Name)) return It->Factory;
  for (auto It = R.Formats.rbegin(); It != R.Formats.rend(); ++It)
    if (SameText(ClassName, It->GraphicClass->Name)) return It->Factory;
  return nullptr;
}

// The latest registration of an extension wins.
TGraphicFactory TPicture::FindExtension(const AnsiString& Extension) {
  AnsiString Ext = NormalExtension(Extension);
  TGraphicRegistry& R = Registry();
  std::lock_guard G(R.Lock);
  for (auto It = R.Formats.rbegin(); It != R.Formats.rend(); ++It)
    if (It->Extension == Ext) return It->Factory;
  return nullptr;
}

AnsiString TPicture::GraphicFileMask(TClass GraphicClass) {
  TGraphicRegistry& R = Registry();
  std::lock_guard G(R.Lock);
  AnsiString Mask;
  for (const TFileFormat& F : R.Formats) {
    if (!F.GraphicClass->InheritsFrom(GraphicClass)) continue;
    if (!Mask.IsEmpty()) Mask += ";";
    Mask += "*." + F.Extension;
  }
  return Mask;
}

AnsiString TPicture::GraphicFilter(TClass GraphicClass) {
  TGraphicRegistry& R = Registry();
  std::lock_guard G(R.Lock);
  AnsiString Filter;
  int Count = 0;
  for (const TFileFormat& F : R.Formats) {
    if (!F.GraphicClass->InheritsFrom(GraphicClass)) continue;
    if (!Filter.IsEmpty()) Filter += "|";
    Filter += F.Description + " (*." + F.Extension + ")|*." + F.Extension;
    ++Count;
  }
  if (Count > 1) {
    AnsiString Mask = GraphicFileMask(GraphicClass);
    Filter = "All (" + Mask + ")|" + Mask + "|" + Filter;
  }
  return Filter;
}

AnsiString TPicture::GraphicExtension(TClass GraphicClass) {
  TGraphicRegistry& R = Registry();
  std::lock_guard G(R.Lock);
  for (const TFileFormat& F : R.Formats)
    if (F.GraphicClass == GraphicClass) return F.Extension;
  return AnsiString();
}

TPicture::~TPicture() {
  TGraphic* G = FGraphic;
  FGraphic = nullptr;
  TObject::Free(G);
}

void TPicture::Take(TGraphic* G) {
  TGraphic* Old = FGraphic;
  FGraphic = G;
  if (G) {
    G->OnChange = TNotifyEvent::Bind<&TPicture::Changed>(this);
    G->OnProgress = TProgressEvent::Bind<&TPicture::GraphicProgress>(this);
  }
  TObject::Free(Old);
  Changed(this);
}

void TPicture::ForceType(TClass C, TGraphicFactory Factory) {
  if (FGraphic && FGraphic->InheritsFrom(C)) return;
  Take(Factory());
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == FGraphic && Value) return;
  if (!Value) {
    Take(nullptr);
    return;
  }
  TGraphicFactory Factory = FactoryOf(Value->ClassType());
  if (!Factory) throw EInvalidGraphic(Format("Unknown picture class (%s)", {Value->ClassName()}));
  TGraphicPtr G(Factory());
  G->Assign(Value);
  Take(G.release());
}

TBitmap* TPicture::Bitmap() {
  ForceType(TBitmap::StaticClass(), NewBitmap);
  return static_cast<TBitmap*>(FGraphic);
}

TIcon* TPicture::Icon() {
  ForceType(TIcon::StaticClass(), NewIcon);
  return static_cast<TIcon*>(FGraphic);
}

TMetafile* TPicture::Metafile() {
  ForceType(TMetafile::StaticClass(), NewMetafile);
  return static_cast<TMetafile*>(FGraphic);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) SetGraphic(nullptr);
  else if (auto* P = dynamic_cast<TPicture*>(Source)) { if (P != this) SetGraphic(P->FGraphic); }
  else if (auto* G = dynamic_cast<TGraphic*>(Source)) SetGraphic(G);
  else TPersistent::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (FGraphic && FGraphic->InheritsFrom(Dest->ClassType())) Dest->Assign(FGraphic);
  else TPersistent::AssignTo(Dest);
}

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::GraphicProgress(TObject* Sender, TProgressStage Stage, unsigned char Percent, bool Redraw,
                               const TRect& R, const AnsiString& Msg) {
  if (OnProgress) OnProgress(Sender, Stage, Percent, Redraw, R, Msg);
}

void TPicture::LoadFromFile(const AnsiString& FileName) {
  AnsiString Ext = NormalExtension(ExtractFileExt(FileName));
  TGraphicFactory Factory = FindExtension(Ext);
  if (!Factory) throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", {Ext}));
  TGraphicPtr G(Factory());
  G->OnProgress = TProgressEvent::Bind<&TPicture::GraphicProgress>(this);
  G->LoadFromFile(FileName);
  Take(G.release());
}

void TPicture::SaveToFile(const AnsiString& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::WriteData(TStream* Stream) {
  AnsiString Name = FGraphic ? FGraphic->ClassName() : AnsiString();
  if (Name.Length() > 255) throw EWriteError("Stream write error");
  uint8_t Len = uint8_t(Name.Length());
  Stream->WriteBuffer(&Len, 1);
  if (Len) Stream->WriteBuffer(Name.c_str(), Len);
  if (FGraphic) FGraphic->WriteData(Stream);
}

void TPicture::ReadData(TStream* Stream) {
  uint8_t Len = 0;
  Stream->ReadBuffer(&Len, 1);
  if (!Len) {
    Take(nullptr);
    return;
  }
  char Name[256];
  Stream->ReadBuffer(Name, Len);
  AnsiString ClassName(Name, Len);
  TGraphicFactory Factory = FindGraphicClass(ClassName);
  if (!Factory) throw EInvalidGraphic(Format("Unknown picture class (%s)", {ClassName}));
  TGraphicPtr G(Factory());
  G->ReadData(Stream);
  Take(G.release());
}

void TPicture::DefineProperties(TFiler* Filer) {
  bool HasData = FGraphic != nullptr;
  if (Filer->Ancestor()) {
    auto* A = dynamic_cast<TPicture*>(Filer->Ancestor());
    HasData = !A || !SameGraphic(FGraphic, A->FGraphic);
  }
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); }, HasData);
}
