// Glyphs: their enabled and disabled looks, the shared image lists, and the caption layout.
#include "coolctrls/CoolUtils.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

TColor Rgb(int R, int G, int B) { return TColor(RGB(R, G, B)); }

using vcltest::MakeBitmap;

TColor Px(TBitmap& B, int X, int Y) { return B.Canvas()->Pixels(X, Y); }

const TColor Back = Rgb(0x11, 0x22, 0xEE);  // what a transparent pixel shows

// An 8 x 8 image on olive (its transparent colour): a black 2 x 2 square at (2, 2), a red
// pixel at (6, 1), a white one at (1, 6) and a grey one at (5, 5).
void PaintImage(TBitmap& B, int Cell) {
  const int X0 = Cell * 8;
  B.Canvas()->Brush()->SetColor(clOlive);
  B.Canvas()->FillRect(Rect(X0, 0, X0 + 8, 8));
  for (auto [X, Y] : {std::pair{2, 2}, {3, 2}, {2, 3}, {3, 3}}) B.Canvas()->SetPixels(X0 + X, Y, clBlack);
  B.Canvas()->SetPixels(X0 + 6, 1, clRed);
  B.Canvas()->SetPixels(X0 + 1, 6, clWhite);
  B.Canvas()->SetPixels(X0 + 5, 5, clGray);
}

std::unique_ptr<TBitmap> Picture(int Images) {
  auto B = MakeBitmap(8 * Images, 8, clOlive);
  for (int I = 0; I < Images; ++I) PaintImage(*B, I);
  return B;
}

// The look drawn transparently at (2, 3) of a bitmap filled with Back, read back as 8 x 8.
std::vector<TColor> Look(TGlyph& G, bool Enabled) {
  auto B = MakeBitmap(12, 12, Back);
  G.DrawImage(B->Canvas(), Point(2, 3), Enabled, true, clNone);
  std::vector<TColor> Px8;
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) Px8.push_back(Px(*B, X + 2, Y + 3));
  // Nothing outside the cell.
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X)
      if (X < 2 || Y < 3 || X >= 10 || Y >= 11) { EXPECT_EQ(Px(*B, X, Y), Back) << X << "," << Y; }
  return Px8;
}

bool IsBlack(int X, int Y) { return X >= 2 && X <= 3 && Y >= 2 && Y <= 3; }

TEST(GlyphLooks, EnabledLookIsThePictureWithItsTransparentColourLeftOut) {
  TGlyph G;
  auto P = Picture(1);
  G.SetGlyph(P.get());
  EXPECT_EQ(G.TransparentColor(), clOlive);
  auto L = Look(G, true);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) {
      TColor Want = Px(*P, X, Y) == clOlive ? Back : Px(*P, X, Y);
      ASSERT_EQ(L[Y * 8 + X], Want) << X << "," << Y;
    }
}

TEST(GlyphLooks, ThePictureRestsDormantOnceALookIsBuilt) {
  TGlyph G;
  auto P = Picture(2);
  G.SetGlyph(P.get());
  ASSERT_TRUE(G.Glyph()->HandleAllocated());
  const auto Enabled = Look(G, true);
  EXPECT_FALSE(G.Glyph()->HandleAllocated()) << "its section is given back";
  EXPECT_FALSE(G.Glyph()->Empty());
  // The other look is built from the dormant picture, and both still show what they should.
  const auto Disabled = Look(G, false);
  EXPECT_FALSE(G.Glyph()->HandleAllocated());
  EXPECT_EQ(Disabled[6 * 8 + 1], ColorToRGB(clBtnHighlight)) << "white recoloured";
  EXPECT_EQ(Disabled[1 * 8 + 6], clRed);
  EXPECT_EQ(Enabled[6 * 8 + 1], clWhite);
  EXPECT_EQ(Px(*G.Glyph(), 6, 1), clRed) << "the picture's pixels are kept";
}

TEST(GlyphLooks, SingleImageDisabledLookIsEmbossedFromItsBlackPixels) {
  TGlyph G;
  auto P = Picture(1);
  G.SetGlyph(P.get());
  auto L = Look(G, false);
  const TColor Sh = ColorToRGB(clBtnShadow), Hi = ColorToRGB(clBtnHighlight);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) {
      TColor Want = IsBlack(X, Y) ? Sh : IsBlack(X - 1, Y - 1) ? Hi : Back;  // red, white, grey: gone
      ASSERT_EQ(L[Y * 8 + X], Want) << X << "," << Y;
    }
}

TEST(GlyphLooks, SecondImageIsRecolouredForTheDisabledLook) {
  TGlyph G;
  auto P = Picture(2);
  // Tell the images apart: the second has a blue pixel where the first has none.
  P->Canvas()->SetPixels(8 + 4, 6, clBlue);
  G.SetGlyph(P.get());
  ASSERT_EQ(G.NumGlyphs(), 2);
  auto L = Look(G, false);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) {
      TColor Src = Px(*P, 8 + X, Y), Want = Src;
      if (Src == clWhite) Want = ColorToRGB(clBtnHighlight);
      else if (Src == clGray) Want = ColorToRGB(clBtnShadow);
      else if (Src == clOlive) Want = Back;  // became button face, the look's transparent colour
      ASSERT_EQ(L[Y * 8 + X], Want) << X << "," << Y;
    }
  // The enabled look is still the first image.
  auto E = Look(G, true);
  EXPECT_EQ(E[6 * 8 + 4], Back);
  EXPECT_EQ(E[1 * 8 + 6], clRed);
}

TEST(GlyphLooks, OpaqueDrawShowsTheBlendColourBehind) {
  TGlyph G;
  auto P = Picture(1);
  G.SetGlyph(P.get());
  auto B = MakeBitmap(10, 10, Back);
  G.DrawImage(B->Canvas(), Point(1, 1), true, false, clYellow);
  EXPECT_EQ(Px(*B, 1, 1), clYellow);      // transparent pixel
  EXPECT_EQ(Px(*B, 1 + 2, 1 + 2), clBlack);
  EXPECT_EQ(Px(*B, 0, 0), Back);
}

TEST(GlyphLooks, NumGlyphsFollowsThePictureShape) {
  struct Case { int W, H, Before, After; };
  for (const Case& C : {Case{64, 16, 1, 4}, Case{80, 16, 2, 1}, Case{30, 16, 2, 2}, Case{16, 16, 3, 1},
                        Case{32, 16, 1, 2}, Case{48, 16, 1, 3}}) {
    TGlyph G;
    G.SetNumGlyphs(C.Before);
    auto P = MakeBitmap(C.W, C.H, clOlive);
    G.SetGlyph(P.get());
    EXPECT_EQ(G.NumGlyphs(), C.After) << C.W << "x" << C.H;
  }
  TGlyph G;
  G.SetNumGlyphs(0);
  EXPECT_EQ(G.NumGlyphs(), 1);
}

TEST(GlyphLooks, ChangingThePictureRebuildsTheLooksAndTellsTheOwner) {
  struct TOwner : TObject {
    int Changes = 0;
    void Changed(TObject*) { ++Changes; }
  } Owner;
  TGlyph G;
  G.OnChange = EVENT(&Owner, TOwner::Changed);
  auto P = Picture(1);
  G.SetGlyph(P.get());
  EXPECT_GT(Owner.Changes, 0);
  ASSERT_GE(G.CreateGlyph(true), 0);
  const int Before = Owner.Changes;
  G.Glyph()->Canvas()->SetPixels(0, 0, clLime);  // the picture's own change event
  EXPECT_GT(Owner.Changes, Before);
  EXPECT_EQ(G.ImageIndex(true), -1);
  auto L = Look(G, true);
  EXPECT_EQ(L[0], clLime);
}

// ---- the cache ---------------------------------------------------------------------------------

TEST(GlyphCacheSharing, GlyphsOfOneSizeShareAListThatGoesWithTheLast) {
  const bool HadCache = GlyphCache != nullptr;
  const int ListsBefore = HadCache ? GlyphCache->ListCount() : 0;
  auto Small = MakeBitmap(13, 11, clOlive), Large = MakeBitmap(17, 11, clOlive);
  auto A = std::make_unique<TGlyph>(), B = std::make_unique<TGlyph>(), C = std::make_unique<TGlyph>();
  ASSERT_NE(GlyphCache, nullptr);
  A->SetGlyph(Small.get());
  B->SetGlyph(Small.get());
  C->SetGlyph(Large.get());
  EXPECT_EQ(A->GlyphList(), nullptr);  // built on first use
  ASSERT_GE(A->CreateGlyph(true), 0);
  ASSERT_GE(B->CreateGlyph(true), 0);
  ASSERT_GE(B->CreateGlyph(false), 0);
  ASSERT_GE(C->CreateGlyph(true), 0);
  TGlyphList* Shared = A->GlyphList();
  ASSERT_NE(Shared, nullptr);
  EXPECT_EQ(B->GlyphList(), Shared);
  EXPECT_NE(C->GlyphList(), Shared);
  EXPECT_EQ(Shared->Width(), 13);
  EXPECT_EQ(Shared->Height(), 11);
  EXPECT_EQ(Shared->Count(), 3);
  EXPECT_EQ(GlyphCache->ListCount(), ListsBefore + 2);
  EXPECT_EQ(GlyphCache->GetList(13, 11), Shared);
  std::set<int> Slots{A->ImageIndex(true), B->ImageIndex(true), B->ImageIndex(false)};
  EXPECT_EQ(Slots.size(), 3u);

  // A freed slot is reused by the next glyph of that size.
  const int Freed = A->ImageIndex(true);
  const int Images = Shared->ImageCount();
  A.reset();
  EXPECT_EQ(Shared->Count(), 2);
  EXPECT_FALSE(Shared->Used(Freed));
  auto D = std::make_unique<TGlyph>();
  D->SetGlyph(Small.get());
  EXPECT_EQ(D->CreateGlyph(true), Freed);
  EXPECT_EQ(D->GlyphList(), Shared);
  EXPECT_EQ(Shared->ImageCount(), Images);

  // The list goes when its last glyph lets go; the cache when the last glyph goes.
  B.reset();
  D->Invalidate();
  EXPECT_EQ(D->GlyphList(), nullptr);
  EXPECT_EQ(GlyphCache->ListCount(), ListsBefore + 1);
  D.reset();
  C.reset();
  if (!HadCache) { EXPECT_EQ(GlyphCache, nullptr); }
}

TEST(GlyphCacheSharing, CacheIsMadeAgainWhenAGlyphNeedsIt) {
  if (GlyphCache) GTEST_SKIP() << "other glyphs are alive";
  auto First = std::make_unique<TGlyph>(), Second = std::make_unique<TGlyph>();
  First.reset();  // leaves the cache empty: freed
  EXPECT_EQ(GlyphCache, nullptr);
  auto P = Picture(1);
  Second->SetGlyph(P.get());
  EXPECT_GE(Second->CreateGlyph(true), 0);
  EXPECT_NE(GlyphCache, nullptr);
  Second.reset();
  EXPECT_EQ(GlyphCache, nullptr);
}

TEST(GlyphCacheSharing, PictureNarrowerThanItsImageCountAsksForNoList) {
  TGlyph G;
  G.SetNumGlyphs(4);
  auto P = MakeBitmap(3, 16, clOlive);  // not a multiple of its height: NumGlyphs stays 4
  G.SetGlyph(P.get());
  ASSERT_EQ(G.NumGlyphs(), 4);
  const int Lists = GlyphCache->ListCount();
  EXPECT_EQ(G.CreateGlyph(true), -1);
  EXPECT_EQ(G.CreateGlyph(false), -1);
  EXPECT_EQ(G.GlyphList(), nullptr);
  EXPECT_EQ(GlyphCache->ListCount(), Lists);
  auto B = MakeBitmap(20, 20, Back);
  G.Draw(B->Canvas(), Rect(0, 0, 20, 20), Point(0, 0), "", blGlyphLeft, -1, -1, true, true, clNone, true,
         spLeftTop, clBtnHighlight, 1, 0);
  EXPECT_EQ(Px(*B, 10, 10), Back);
}

TEST(GlyphCacheSharing, GlyphListHandsOutAndTakesBackSlots) {
  TGlyphList L(4, 4);
  auto Img = MakeBitmap(4, 4, clRed);
  EXPECT_EQ(L.AddMasked(Img.get(), clNone), 0);
  EXPECT_EQ(L.Add(Img.get(), nullptr), 1);
  EXPECT_EQ(L.AllocateIndex(), 2);
  EXPECT_EQ(L.Count(), 2);  // AllocateIndex alone does not count
  L.Delete(0);
  L.Delete(0);  // a free slot: nothing
  EXPECT_EQ(L.Count(), 1);
  EXPECT_EQ(L.AddMasked(Img.get(), clNone), 0);
  EXPECT_EQ(L.ImageCount(), 3);
  EXPECT_EQ(L.UsedSize(), 3);
}

// ---- layout ------------------------------------------------------------------------------------

struct TLayoutCase {
  const char* Name;
  TButtonLayout Layout;
  int Margin, Spacing;
  unsigned BiDi;
  TPoint Glyph;       // relative to the client
  int TextX, TextY;   // relative to the client; -1000 = computed below from the text size
};

TEST(GlyphLayout, GlyphAndCaptionRectangles) {
  auto Canvas = MakeBitmap(300, 200, clWhite);
  Canvas->Canvas()->Font()->SetName("Arial");
  Canvas->Canvas()->Font()->SetHeight(-13);
  const AnsiString Caption = "Layout";
  const TSize T = Canvas->Canvas()->TextExtent(Caption);
  const int TW = T.cx, TH = T.cy;
  // A client leaving 54 free pixels across and down beside a 16 x 16 glyph.
  const int CW = 16 + TW + 54, CH = 16 + TH + 54;
  const TRect Client = Bounds(7, 5, CW, CH);
  const TPoint Offset(1, 2);
  const int MidGY = (CH - 16 + 1) / 2, MidTY = (CH - TH + 1) / 2;
  const int MidGX = (CW - 16 + 1) / 2, MidTX = (CW - TW + 1) / 2;
  const TLayoutCase Cases[] = {
      {"left, centred evenly", blGlyphLeft, -1, -1, 0, {18, MidGY}, 18 + 16 + 18, MidTY},
      {"right, centred evenly", blGlyphRight, -1, -1, 0, {CW - 18 - 16, MidGY}, CW - 18 - 16 - 18 - TW, MidTY},
      {"top, centred evenly", blGlyphTop, -1, -1, 0, {MidGX, 18}, MidTX, 18 + 16 + 18},
      {"bottom, centred evenly", blGlyphBottom, -1, -1, 0, {MidGX, CH - 18 - 16}, MidTX, CH - 18 - 16 - 18 - TH},
      {"left, margin and spacing", blGlyphLeft, 4, 2, 0, {4, MidGY}, 4 + 16 + 2, MidTY},
      {"left, margin, spacing spread", blGlyphLeft, 4, -1, 0, {4, MidGY}, 4 + 16 + (CW - 20 - TW) / 2, MidTY},
      {"left, spacing, pair centred", blGlyphLeft, -1, 6, 0, {(CW - 22 - TW + 1) / 2, MidGY},
       (CW - 22 - TW + 1) / 2 + 22, MidTY},
      {"bottom, margin and spacing", blGlyphBottom, 3, 5, 0, {MidGX, CH - 3 - 16}, MidTX, CH - 3 - 16 - 5 - TH},
      {"left turned right by DT_RIGHT", blGlyphLeft, 4, 2, DT_RIGHT, {CW - 4 - 16, MidGY}, CW - 4 - 16 - 2 - TW,
       MidTY},
      {"right turned left by DT_RIGHT", blGlyphRight, 4, 2, DT_RIGHT, {4, MidGY}, 4 + 16 + 2, MidTY},
  };
  TGlyph G;
  G.SetSingleLineMeasure(true);
  auto P = MakeBitmap(16, 16, clOlive);
  G.SetGlyph(P.get());
  for (const TLayoutCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TPoint GP;
    TRect TB;
    G.CalcButtonLayout(Canvas->Canvas(), Client, Offset, Caption, C.Layout, C.Margin, C.Spacing, GP, TB, C.BiDi);
    EXPECT_EQ(GP, TPoint(Client.Left + Offset.X + C.Glyph.X, Client.Top + Offset.Y + C.Glyph.Y));
    EXPECT_EQ(TB, Bounds(Client.Left + Offset.X + C.TextX, Client.Top + Offset.Y + C.TextY, TW, TH));
  }
}

TEST(GlyphLayout, EmptyCaptionAndMissingGlyphTakeNoSpacing) {
  auto Canvas = MakeBitmap(200, 100, clWhite);
  TGlyph G;
  auto P = MakeBitmap(16, 16, clOlive);
  G.SetGlyph(P.get());
  TPoint GP;
  TRect TB;
  G.CalcButtonLayout(Canvas->Canvas(), Rect(0, 0, 100, 40), Point(0, 0), "", blGlyphLeft, -1, 10, GP, TB, 0);
  EXPECT_EQ(GP, TPoint((100 - 16 + 1) / 2, (40 - 16 + 1) / 2));  // centred: spacing dropped
  EXPECT_EQ(TB, Bounds(GP.X + 16, (40 + 1) / 2, 0, 0));             // an empty rectangle at the text place

  TGlyph NoPicture;
  NoPicture.SetSingleLineMeasure(true);
  const TSize T = Canvas->Canvas()->TextExtent("Text");
  NoPicture.CalcButtonLayout(Canvas->Canvas(), Rect(0, 0, 100, 40), Point(0, 0), "Text", blGlyphLeft, -1, 10, GP,
                             TB, 0);
  EXPECT_EQ(TB.Left, (100 - T.cx + 1) / 2);
  EXPECT_EQ(TB.Width(), T.cx);
}

TEST(GlyphLayout, DrawTextMeasuresLinesWithinTheClientWidth) {
  auto Canvas = MakeBitmap(200, 100, clWhite);
  TGlyph G;
  TPoint GP;
  TRect One, Two;
  G.CalcButtonLayout(Canvas->Canvas(), Rect(0, 0, 150, 80), Point(0, 0), "ab", blGlyphLeft, 0, 0, GP, One, 0);
  G.CalcButtonLayout(Canvas->Canvas(), Rect(0, 0, 150, 80), Point(0, 0), "ab\ncd", blGlyphLeft, 0, 0, GP, Two, 0);
  EXPECT_GT(One.Height(), 0);
  EXPECT_EQ(Two.Height(), 2 * One.Height());
}

TEST(GlyphLayout, DrawPaintsGlyphAndCaptionInsideTheClientOnly) {
  auto B = MakeBitmap(120, 40, Back);
  B->Canvas()->Font()->SetName("Arial");
  B->Canvas()->Font()->SetHeight(-20);
  B->Canvas()->Font()->SetColor(clBlack);
  TGlyph G;
  G.SetSingleLineMeasure(true);
  auto P = Picture(1);
  G.SetGlyph(P.get());
  const TRect Client(10, 5, 60, 35);  // too narrow for the caption: it is cut at the client's edge
  TRect TB = G.Draw(B->Canvas(), Client, Point(0, 0), "WWWWWW", blGlyphLeft, 2, 3, true, true, clNone, true, spLeftTop,
                    clBtnHighlight, 1, 0);
  EXPECT_EQ(TB.Left, 10 + 2 + 8 + 3);
  EXPECT_GT(TB.Right, Client.Right);
  const int GY = 5 + (30 - 8 + 1) / 2;
  EXPECT_EQ(Px(*B, 12 + 2, GY + 2), clBlack);  // the glyph's black square
  EXPECT_EQ(Px(*B, 12 + 6, GY + 1), clRed);
  int Ink = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 120; ++X) {
      bool Changed = Px(*B, X, Y) != Back;
      if (!Client.Contains(Point(X, Y))) { ASSERT_FALSE(Changed) << X << "," << Y; }
      else if (Changed && X >= TB.Left) ++Ink;
    }
  EXPECT_GT(Ink, 10);
  // The clip is removed again.
  B->Canvas()->Brush()->SetColor(clLime);
  B->Canvas()->FillRect(Rect(0, 0, 5, 5));
  EXPECT_EQ(Px(*B, 1, 1), clLime);
}

TEST(GlyphLayout, BevelsFrameTheChosenPart) {
  struct Case { TBevelStyleEx Style; TRect Expect; };
  auto Canvas = MakeBitmap(120, 60, Back);
  TGlyph G;
  G.SetSingleLineMeasure(true);
  auto P = MakeBitmap(16, 16, clOlive);
  G.SetGlyph(P.get());
  const TRect Client(0, 0, 100, 50);
  TPoint GP;
  TRect TB;
  G.CalcButtonLayout(Canvas->Canvas(), Client, Point(0, 0), "Ab", blGlyphLeft, 6, 4, GP, TB, 0);
  TRect GlyphCell = Bounds(GP.X, GP.Y, 16, 16), TextCell = TB;
  GlyphCell.Inflate(3, 2);
  TextCell.Inflate(3, 2);
  for (const Case& C : {Case{bsBevelBoth, Client}, Case{bsBevelOnlyImage, GlyphCell}, Case{bsBevelOnlyText, TextCell}}) {
    auto B = MakeBitmap(120, 60, Back);
    G.DrawBevels(B->Canvas(), Client, Point(0, 0), "Ab", blGlyphLeft, 6, 4, bvNone, bvRaised, C.Style, 0);
    const TRect& R = C.Expect;
    EXPECT_EQ(Px(*B, R.Left, R.Top), ColorToRGB(cl3DLight)) << int(C.Style);
    EXPECT_EQ(Px(*B, R.Right - 1, R.Bottom - 1), ColorToRGB(cl3DDkShadow)) << int(C.Style);
    EXPECT_EQ(Px(*B, R.Left + 2, R.Top + 2), Back);
    if (R.Left > 0) { EXPECT_EQ(Px(*B, R.Left - 1, R.Top), Back); }
  }
  auto None = MakeBitmap(120, 60, Back);
  G.DrawBevels(None->Canvas(), Client, Point(0, 0), "Ab", blGlyphLeft, 6, 4, bvNone, bvNone, bsBevelBoth, 0);
  EXPECT_EQ(Px(*None, 0, 0), Back);
}

}  // namespace
