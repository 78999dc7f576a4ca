#include "suite/Std2Rgn.h"
#include "suite/qAnimateFastBmp.h"
#include "rtl/Streaming.h"
#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"

#include <cstring>

namespace std2rgn {

namespace {

[[noreturn]] void OutOfResources() { throw EOutOfResources("Out of system resources"); }

// Region handles OR-combined as a binary counter: each new one merges with the top of the stack
// while the two stand for as many bands, so every merge joins regions of about equal size and
// the whole costs n log n rectangles (one union after another would copy the growing region for
// every band). At most log2(bands) handles are held at once.
class TRegionUnion {
public:
  void Add(HRGN Band) {
    FStack.push_back({TRgnOwner(Band), 1});
    while (FStack.size() > 1 && FStack[FStack.size() - 2].Bands <= FStack.back().Bands) Merge();
  }
  // The union of all (null when nothing was added).
  TRgnOwner Take() {
    while (FStack.size() > 1) Merge();
    if (FStack.empty()) return TRgnOwner();
    TRgnOwner Result = std::move(FStack.back().Region);
    FStack.clear();
    return Result;
  }

private:
  struct TPart {
    TRgnOwner Region;
    int Bands;
  };
  void Merge() {
    TPart Top = std::move(FStack.back());
    FStack.pop_back();
    TPart& Below = FStack.back();
    if (CombineRgn(Below.Region, Below.Region, Top.Region, RGN_OR) == ERROR) OutOfResources();
    Below.Bands += Top.Bands;
  }
  std::vector<TPart> FStack;
};

// One band: rows Top to Bottom - 1 whose runs (left, right pairs) are Runs.
HRGN BandRegion(const std::vector<LONG>& Runs, int Top, int Bottom) {
  const size_t N = Runs.size() / 2;
  std::vector<uint8_t> Buffer(sizeof(RGNDATAHEADER) + N * sizeof(RECT));
  auto* Data = reinterpret_cast<RGNDATA*>(Buffer.data());
  Data->rdh.dwSize = sizeof(RGNDATAHEADER);
  Data->rdh.iType = RDH_RECTANGLES;
  Data->rdh.nCount = DWORD(N);
  Data->rdh.nRgnSize = DWORD(N * sizeof(RECT));
  Data->rdh.rcBound = RECT{Runs.front(), Top, Runs.back(), Bottom};
  RECT* R = reinterpret_cast<RECT*>(Data->Buffer);
  for (size_t I = 0; I < N; ++I) R[I] = RECT{Runs[2 * I], Top, Runs[2 * I + 1], Bottom};
  HRGN Region = ExtCreateRegion(nullptr, DWORD(Buffer.size()), Data);
  if (!Region) OutOfResources();
  return Region;
}

// The runs of one row: [left, right) of each stretch of pixels other than the colour B, G, R.
void RowRuns(const uint8_t* P, int W, uint8_t B, uint8_t G, uint8_t R, std::vector<LONG>& Runs) {
  Runs.clear();
  auto Clear = [&](int X) { return P[3 * X] == B && P[3 * X + 1] == G && P[3 * X + 2] == R; };
  int X = 0;
  for (;;) {
    while (X < W && Clear(X)) ++X;
    if (X == W) return;
    Runs.push_back(X);
    while (X < W && !Clear(X)) ++X;
    Runs.push_back(X);
  }
}

}  // namespace

std::vector<uint8_t> RegionOfPixels(const TqFastBmp& Pixels, TColor Transparent) {
  const TColor T = ColorToRGB(Transparent);
  const uint8_t R = uint8_t(T), G = uint8_t(T >> 8), B = uint8_t(T >> 16);
  const int W = Pixels.Width(), H = Pixels.Height();
  TRegionUnion Union;
  // Rows with the same runs as the row above extend its band.
  std::vector<LONG> Band, Row;
  int BandTop = 0;
  for (int Y = 0; Y <= H; ++Y) {
    if (Y < H) RowRuns(Pixels.GetLine(Y), W, B, G, R, Row);
    if (Y < H && Row == Band) continue;
    if (!Band.empty()) Union.Add(BandRegion(Band, BandTop, Y));
    Band.swap(Row);
    BandTop = Y;
  }
  TRgnOwner Region = Union.Take();
  if (!Region) return {};
  const DWORD Size = GetRegionData(Region, 0, nullptr);
  std::vector<uint8_t> Bytes(Size);
  if (!Size || GetRegionData(Region, Size, reinterpret_cast<RGNDATA*>(Bytes.data())) != Size)
    OutOfResources();
  return Bytes;
}

}  // namespace std2rgn

// ---------------------------------------------------------------------------------------------
// TqcRgn

void TqcRgn::Take(std::vector<uint8_t> Bytes) {
  FData = std::move(Bytes);
  FData.shrink_to_fit();
}

void TqcRgn::Assign(TPersistent* Source) {
  if (Source && !Source->Is<TqcRgn>()) {
    inherited::Assign(Source);
    return;
  }
  Take(Source ? static_cast<TqcRgn*>(Source)->FData : std::vector<uint8_t>());
  Changed(this);
}

void TqcRgn::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); }, true);
}

void TqcRgn::SetRgn(const void* Data, int Size) {
  if (!Data || Size == 0) {
    Take({});
    return;
  }
  const auto* Bytes = static_cast<const uint8_t*>(Data);
  if (Size < 0 || !rgndata::IsValid(Bytes, size_t(Size))) throw EReadError(rgndata::SInvalidRegionData);
  Take(std::vector<uint8_t>(Bytes, Bytes + Size));
}

void TqcRgn::LoadFromStream(TStream* Stream) {
  Take(rgndata::Read(Stream));
  Changed(this);
}

void TqcRgn::SaveToStream(TStream* Stream) const { rgndata::Write(Stream, FData); }

void TqcRgn::LoadFromFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(&Stream);
}

void TqcRgn::SaveToFile(const AnsiString& FileName) const {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

HRGN TqcRgn::Handle() const {
  if (FData.empty()) return nullptr;
  return ExtCreateRegion(nullptr, DWORD(FData.size()), reinterpret_cast<const RGNDATA*>(FData.data()));
}

void TqcRgn::SetModified(bool Value) {
  if (Value) Changed(this);
  else FModified = false;
}

void TqcRgn::Changed(TObject* Sender) {
  FModified = true;
  if (OnChange) OnChange(Sender);
}

namespace {
// The screen cursor as the hourglass for a scope, then back to what it was.
struct TBusyCursor {
  TCursor Saved = Screen ? Screen->Cursor() : crDefault;
  TBusyCursor() {
    if (Screen) Screen->SetCursor(crHourGlass);
  }
  ~TBusyCursor() {
    if (Screen) Screen->SetCursor(Saved);
  }
};
}  // namespace

void TqcRgn::SerRgnFromBmp(TBitmap* Bitmap, TColor TransparentColor) {
  const int W = Bitmap ? Bitmap->Width() : 0, H = Bitmap ? Bitmap->Height() : 0;
  if (W <= 0 || H <= 0) {
    Assign(nullptr);
    return;
  }
  TBusyCursor Busy;
  const TColor T = ColorToRGB(TransparentColor);
  if (!Bitmap->Transparent()) {
    // The pixels as they are, read as 24-bit.
    TqFastBmp Pixels(Bitmap);
    Take(std2rgn::RegionOfPixels(Pixels, T));
    Changed(this);
    return;
  }
  // A transparent bitmap drawn over the transparent colour.
  TBitmap Work;
  Work.SetPixelFormat(pf24bit);
  Work.SetSize(W, H);
  Work.Canvas()->Brush()->SetColor(T);
  Work.Canvas()->FillRect(Rect(0, 0, W, H));
  Work.Canvas()->Draw(0, 0, Bitmap);
  TqFastBmp Pixels(&Work);
  Take(std2rgn::RegionOfPixels(Pixels, T));
  Changed(this);
}

ORV_IMPLEMENT_CLASS(TqcRgn, TPersistent)
