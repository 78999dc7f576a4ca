// Window region data: the stored form in streams and files, regions made from bitmaps (compared
// with the run-by-run union of their pixels), region handles, and bad data refused whole.
#include "suite/Std2.h"
#include "suite/qAnimate.h"
#include "suite/tests/suitetest.h"
#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <cstring>

using namespace suitetest;

namespace {

using TBytes = std::vector<uint8_t>;

TBytes BytesOf(TStream& S) {
  TBytes B(size_t(S.Size()));
  S.SetPosition(0);
  if (!B.empty()) S.ReadBuffer(B.data(), int(B.size()));
  return B;
}

TBytes Saved(const TqcRgn& R) {
  TMemoryStream S;
  R.SaveToStream(&S);
  return BytesOf(S);
}

TBytes RegionBytes(HRGN R) {
  const DWORD N = GetRegionData(R, 0, nullptr);
  TBytes B(N);
  GetRegionData(R, N, reinterpret_cast<RGNDATA*>(B.data()));
  return B;
}

TRect BoxOf(HRGN R) {
  RECT Box{};
  GetRgnBox(R, &Box);
  return Rect(Box.left, Box.top, Box.right, Box.bottom);
}

// The region of a bitmap's pixels other than T, one CombineRgn per run of each row: what a region
// made from the bitmap must equal byte for byte.
TBytes RunByRunUnion(TBitmap* B, TColor T) {
  TRgnOwner Union;
  for (int Y = 0; Y < B->Height(); ++Y)
    for (int X = 0; X < B->Width();) {
      if (B->Canvas()->Pixels(X, Y) == T) {
        ++X;
        continue;
      }
      const int Start = X;
      while (X < B->Width() && B->Canvas()->Pixels(X, Y) != T) ++X;
      TRgnOwner Run(CreateRectRgn(Start, Y, X, Y + 1));
      if (!Union) Union = std::move(Run);
      else CombineRgn(Union, Union, Run, RGN_OR);
    }
  return Union ? RegionBytes(Union) : TBytes();
}

// An RGB bitmap from rows of characters: '.' is T (white), anything else red.
std::unique_ptr<TBitmap> Picture(std::initializer_list<const char*> Rows) {
  const int W = int(std::strlen(*Rows.begin())), H = int(Rows.size());
  auto B = vcltest::MakeBitmap(W, H, clWhite);
  int Y = 0;
  for (const char* Row : Rows) {
    for (int X = 0; X < W; ++X)
      if (Row[X] != '.') B->Canvas()->SetPixels(X, Y, clRed);
    ++Y;
  }
  return B;
}

TBytes FromBitmap(TBitmap* B, TColor T) {
  TqcRgn R;
  R.SerRgnFromBmp(B, T);
  return R.Data();
}

TEST(Rgn, AnEmptyRegionIsFourZeroBytesAndLoadsOverData) {
  TqcRgn Empty;
  EXPECT_EQ(Saved(Empty), (TBytes{0, 0, 0, 0}));
  EXPECT_FALSE(Empty.ExsistData());
  EXPECT_EQ(Empty.Handle(), nullptr);

  TqcRgn R;
  R.SerRgnFromBmp(Picture({".xx"}).get(), clWhite);
  ASSERT_TRUE(R.ExsistData());
  int Changes = 0;
  struct TCount : TObject {
    int* N;
    void Changed(TObject*) { ++*N; }
  } Count;
  Count.N = &Changes;
  R.OnChange = EVENT(&Count, TCount::Changed);
  TMemoryStream Zero;
  Empty.SaveToStream(&Zero);
  Zero.SetPosition(0);
  R.LoadFromStream(&Zero);
  EXPECT_FALSE(R.ExsistData());
  EXPECT_EQ(R.Size(), 0);
  EXPECT_EQ(Changes, 1);
  EXPECT_TRUE(R.Modified());
}

TEST(Rgn, RegionsOfBitmaps) {
  // T, red, red: one rectangle (1, 0, 3, 1).
  TqcRgn R;
  R.SerRgnFromBmp(Picture({".xx"}).get(), clWhite);
  EXPECT_EQ(rgndata::Rects(R.Data()), (std::vector<rgndata::TRgnRect>{{1, 0, 3, 1}}));
  TRgnOwner H(R.Handle());
  EXPECT_EQ(BoxOf(H), Rect(1, 0, 3, 1));

  // An L, rows of the same runs joined, holes and runs reaching both edges: the run-by-run union.
  using TRows = std::initializer_list<const char*>;
  for (TRows Rows : {TRows{"x...", "x...", "x...", "xxxx"}, TRows{"xx.xx.", "xx.xx.", ".....x", "x.x.x."},
                     TRows{"xxxxxx", "x....x", "x.xx.x", "x....x", "xxxxxx"}}) {
    auto Image = Picture(Rows);
    const TBytes Bytes = FromBitmap(Image.get(), clWhite);
    EXPECT_EQ(Bytes, RunByRunUnion(Image.get(), clWhite));
  }
  // A disc with holes and a ragged edge.
  auto Skin = vcltest::MakeBitmap(160, 120, clFuchsia);
  for (int Y = 0; Y < 120; ++Y)
    for (int X = 0; X < 160; ++X) {
      const int DX = X - 80, DY = Y - 60, Edge = 55 + (X * 7 + Y * 3) % 4;
      const bool Hole = (DX - 20) * (DX - 20) + DY * DY < 100 || DX * DX + (DY + 25) * (DY + 25) < 36;
      if (DX * DX + DY * DY < Edge * Edge && !Hole) Skin->Canvas()->SetPixels(X, Y, 0x204060 + X);
    }
  EXPECT_EQ(FromBitmap(Skin.get(), clFuchsia), RunByRunUnion(Skin.get(), clFuchsia));

  // A transparent bitmap counts as drawn: its own transparent pixels are holes too.
  auto Glass = Picture({"x..x"});
  Glass->Canvas()->SetPixels(3, 0, clBlue);
  Glass->SetTransparentColor(clBlue);
  Glass->SetTransparent(true);
  R.SerRgnFromBmp(Glass.get(), clWhite);
  EXPECT_EQ(rgndata::Rects(R.Data()), (std::vector<rgndata::TRgnRect>{{0, 0, 1, 1}}));

  // No pixel but the transparent colour, and no pixels at all: no region.
  EXPECT_TRUE(FromBitmap(Picture({"...", "..."}).get(), clWhite).empty());
  TBitmap None;
  R.SerRgnFromBmp(&None, clWhite);
  EXPECT_FALSE(R.ExsistData());
}

TEST(Rgn, ASystemColourIsResolvedAndTheCursorRestored) {
  const TColor Face = ColorToRGB(clBtnFace);
  auto B = vcltest::MakeBitmap(6, 2, Face);
  B->Canvas()->SetPixels(2, 1, clRed);
  Screen->SetCursor(crHandPoint);
  TqcRgn R;
  R.SerRgnFromBmp(B.get(), clBtnFace);
  EXPECT_EQ(Screen->Cursor(), crHandPoint) << "the cursor set before";
  Screen->SetCursor(crDefault);
  EXPECT_EQ(rgndata::Rects(R.Data()), (std::vector<rgndata::TRgnRect>{{2, 1, 3, 2}}));
}

TEST(Rgn, FilesAssignAndHandles) {
  TqcRgn R;
  R.SerRgnFromBmp(Picture({"x.x", "xxx"}).get(), clWhite);
  const std::string Path = TempPath("region.rgn");
  R.SaveToFile(Path.c_str());
  TqcRgn Back;
  Back.LoadFromFile(Path.c_str());
  EXPECT_EQ(Back.Data(), R.Data());
  {
    TFileStream F(Path.c_str(), fmOpenRead);
    EXPECT_EQ(BytesOf(F), Saved(R)) << "the file holds the stored form";
  }
  DeleteFileA(Path.c_str());
  EXPECT_THROW(Back.LoadFromFile(Path.c_str()), EFOpenError);
  EXPECT_EQ(Back.Data(), R.Data());

  TqcRgn Copy;
  Copy.Assign(&R);
  EXPECT_EQ(Copy.Data(), R.Data());
  TFont Font;
  try {
    Copy.Assign(&Font);
    ADD_FAILURE() << "a font assigned";
  } catch (const EConvertError& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a TFont to a TqcRgn");
  }
  EXPECT_EQ(Copy.Data(), R.Data());
  Copy.Assign(nullptr);
  EXPECT_FALSE(Copy.ExsistData());

  // Two handles, each the caller's own.
  HRGN A = R.Handle(), B = R.Handle();
  ASSERT_TRUE(A && B);
  EXPECT_NE(A, B);
  EXPECT_TRUE(EqualRgn(A, B));
  DeleteObject(A);
  EXPECT_EQ(GetObjectType(B), DWORD(OBJ_REGION));
  EXPECT_EQ(BoxOf(B), Rect(0, 0, 3, 2));
  DeleteObject(B);
}

// The stored form of one rectangle, to be spoiled.
TBytes OneRect() {
  TqcRgn R;
  R.SerRgnFromBmp(Picture({".xx"}).get(), clWhite);
  return Saved(R);
}

void Put32(TBytes& B, size_t At, uint32_t V) { std::memcpy(&B[At], &V, 4); }

TEST(Rgn, BadDataIsRefusedAndTheContentKept) {
  const char* Invalid = "Invalid region data";
  const char* Short = "Stream read error";
  struct TCase {
    const char* Name;
    std::function<void(TBytes&)> Spoil;
    const char* Message;
    bool BadRecord;  // the bytes after the count are no record either
  };
  const TCase Cases[] = {
      {"N negative", [](TBytes& B) { Put32(B, 0, uint32_t(-1)); }, Invalid, false},
      {"N beyond the stream", [](TBytes& B) { Put32(B, 0, uint32_t(B.size())); }, Invalid, false},
      {"N below 32", [](TBytes& B) { Put32(B, 0, 16); B.resize(20); }, Invalid, true},
      {"header size", [](TBytes& B) { Put32(B, 4, 40); }, Invalid, true},
      {"type", [](TBytes& B) { Put32(B, 8, 2); }, Invalid, true},
      {"nCount beyond the data", [](TBytes& B) { Put32(B, 12, 2); }, Invalid, true},
      {"nCount 0x10000000", [](TBytes& B) { Put32(B, 12, 0x10000000); }, Invalid, true},
      {"an inverted rectangle", [](TBytes& B) { Put32(B, 36, 3); Put32(B, 44, 1); }, Invalid, true},
      {"the count cut to 2 bytes", [](TBytes& B) { B.resize(2); }, Short, false},
  };
  const TBytes Good = OneRect();
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TBytes Bad = Good;
    C.Spoil(Bad);
    TqcRgn R;
    R.SerRgnFromBmp(Picture({"x.", "xx"}).get(), clWhite);
    const TBytes Before = R.Data();
    TMemoryStream S;
    S.WriteBuffer(Bad.data(), int(Bad.size()));
    S.SetPosition(0);
    try {
      R.LoadFromStream(&S);
      ADD_FAILURE() << "loaded";
    } catch (const EReadError& E) {
      EXPECT_STREQ(E.what(), C.Message);
    }
    EXPECT_EQ(R.Data(), Before);
    // The same bytes handed to SetRgn.
    if (C.BadRecord) {
      const int N = int(Bad.size() - 4);
      EXPECT_THROW(R.SetRgn(Bad.data() + 4, N), EReadError);
      EXPECT_EQ(R.Data(), Before);
    }
  }
  // The good bytes load.
  TqcRgn R;
  R.SetRgn(Good.data() + 4, int(Good.size() - 4));
  EXPECT_EQ(Saved(R), Good);
}

}  // namespace
