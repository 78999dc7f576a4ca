// The cool label on a real window: auto-size with glyphs, shadows and right-to-left reading;
// the caption's looks (shadowed by position, plain, embossed when disabled); the glyph's place
// for each alignment, also inside bevels; backgrounds and edge lines.
#include "coolctrls/CoolCtrls.h"
#include "rtl/tests/default_check.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace {

using vcltest::TTestHost;

TCoolLabel* AddLabel(TTestHost& Host, const char* Caption, int Left = 20, int Top = 20) {
  auto* L = TComponent::Create<TCoolLabel>(Host.Control());
  L->SetLeft(Left);
  L->SetTop(Top);
  L->SetCaption(Caption);
  L->SetParent(Host.Control());
  return L;
}

// A W by H bitmap of one colour.
// A W by H glyph of one colour; its bottom-left pixel, the transparent colour, olive.
std::unique_ptr<TBitmap> Solid(int W, int H, TColor C) {
  auto B = vcltest::MakeBitmap(W, H, C);
  B->Canvas()->SetPixels(0, H - 1, clOlive);
  return B;
}

// Bounds of the pixels of one colour in a rectangle of a bitmap (empty when there are none).
TRect ColourBounds(TBitmap* B, const TRect& Area, std::initializer_list<TColor> Colours) {
  TRect R(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  for (int Y = Area.Top; Y < Area.Bottom; ++Y)
    for (int X = Area.Left; X < Area.Right; ++X) {
      const TColor P = B->Canvas()->Pixels(X, Y);
      if (std::none_of(Colours.begin(), Colours.end(), [&](TColor C) { return ColorToRGB(C) == P; })) continue;
      R.Left = std::min(R.Left, X);
      R.Top = std::min(R.Top, Y);
      R.Right = std::max(R.Right, X + 1);
      R.Bottom = std::max(R.Bottom, Y + 1);
    }
  return R.Left == INT_MAX ? TRect() : R;
}

bool HasColour(TBitmap* B, const TRect& Area, TColor C) { return !ColourBounds(B, Area, {C}).IsEmpty(); }

// The label's place on the host's capture.
TRect Place(TControl* C) { return TRect(C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height()); }

int TextWidthOf(TFont* Font, const AnsiString& Text) {
  TBitmap B;
  B.SetSize(1, 1);
  B.Canvas()->SetFont(Font);
  return B.Canvas()->TextWidth(Text);
}

// A label of its own that draws its wallpaper where it likes, through the inherited routine.
class TPaperLabel : public TCoolLabel {
  ORV_CLASS(TPaperLabel, TCoolLabel)
public:
  explicit TPaperLabel(TComponent* AOwner) : TCoolLabel(AOwner) {}
  bool PaperOn(TBitmap* B, const TRect& R, bool Tile) { return CTLDrawWallpaper(B->Canvas()->Handle(), R, Tile, cmSrcCopy); }
};
ORV_IMPLEMENT_CLASS(TPaperLabel, TCoolLabel)

// ----- properties and size

TEST(CoolLabel, DefaultsAndGlyphCountClamp) {
  auto* L = TComponent::Create<TCoolLabel>(nullptr);
  ExpectDefaultsMatch(L);
  EXPECT_TRUE(L->AutoSize());
  struct Case {
    int Set, Stored;
  } const Cases[] = {{3, 2}, {4, 2}, {1, 1}, {2, 2}, {0, 1}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Set);
    L->SetNumGlyphs(C.Set);
    EXPECT_EQ(L->NumGlyphs(), C.Stored);
  }
  L->SetSimpleView(true);
  L->SetShadowSize(2);
  EXPECT_FALSE(L->SimpleView()) << "a shadow setter leaves the simple view";
  L->SetBevelsOffset(3);
  EXPECT_FALSE(L->AutoSize());
  TObject::Free(L);
}

TEST(CoolLabel, AutoSizeMeasuresCaptionShadowAndGlyph) {
  TTestHost Host(300, 120);
  auto* Empty = AddLabel(Host, "");
  auto* One = AddLabel(Host, "W", 20, 50);
  EXPECT_EQ(Empty->Height(), One->Height()) << "an empty caption still takes one line";
  EXPECT_GT(Empty->Height(), 5);

  // The shadow's move is part of the size: plain text is ShadowSize smaller each way.
  auto* Text = AddLabel(Host, "Shadowed", 20, 80);
  const int W = Text->Width(), H = Text->Height();
  Text->SetShadowSize(3);
  EXPECT_EQ(Text->Width(), W + 2);
  EXPECT_EQ(Text->Height(), H + 2);
  Text->SetSimpleView(true);
  EXPECT_EQ(Text->Width(), W - 1);
  EXPECT_EQ(Text->Height(), H - 1);

  // A 32 x 16 glyph holding two images adds one image and 2 pixels of room.
  auto Glyph = Solid(32, 16, clLime);
  Text->SetGlyph(Glyph.get());
  EXPECT_EQ(Text->NumGlyphs(), 2);
  EXPECT_EQ(Text->Width(), W - 1 + 18);
  // A tall glyph sets the height.
  auto Tall = Solid(10, 40, clLime);
  Text->SetGlyph(Tall.get());
  EXPECT_EQ(Text->Height(), 40);
}

TEST(CoolLabel, ADescendantDrawsTheWallpaperThroughTheInheritedRoutine) {
  auto* L = TComponent::Create<TPaperLabel>(nullptr);
  auto Target = vcltest::MakeBitmap(20, 20, clWhite);
  EXPECT_FALSE(L->PaperOn(Target.get(), Rect(2, 2, 18, 18), true)) << "no wallpaper";
  EXPECT_EQ(Target->Canvas()->Pixels(5, 5), clWhite);
  auto Wall = vcltest::MakeBitmap(4, 4, clYellow);
  Wall->Canvas()->SetPixels(0, 0, clNavy);
  L->SetWallpaper(Wall.get());
  EXPECT_TRUE(L->PaperOn(Target.get(), Rect(2, 2, 18, 18), true));
  EXPECT_EQ(Target->Canvas()->Pixels(2, 2), clNavy) << "tiled from the rectangle's corner";
  EXPECT_EQ(Target->Canvas()->Pixels(6, 10), clNavy);
  EXPECT_EQ(Target->Canvas()->Pixels(7, 10), clYellow);
  EXPECT_EQ(Target->Canvas()->Pixels(1, 1), clWhite) << "nothing outside";
  EXPECT_EQ(Target->Canvas()->Pixels(18, 18), clWhite);
  TObject::Free(L);
}

// Without a parent there is nothing to measure for: an auto-sized label keeps its bounds.
TEST(CoolLabel, AnUnparentedAutoSizedLabelKeepsItsBounds) {
  TTestHost Host(300, 80);
  auto* L = TComponent::Create<TCoolLabel>(Host.Control());
  ASSERT_TRUE(L->AutoSize());
  L->SetBounds(10, 10, 100, 50);
  L->SetCaption("Tag type GTIN96");
  L->Font()->SetSize(20);
  EXPECT_EQ(L->BoundsRect(), Rect(10, 10, 110, 60));
  L->SetParent(Host.Control());
  L->SetCaption("Tag");
  EXPECT_NE(L->BoundsRect(), Rect(10, 10, 110, 60)) << "sized once it has a parent";
  EXPECT_EQ(L->Width(), TextWidthOf(L->Font(), "Tag") + 1) << "the caption and its shadow";
}

// Which edge an auto-sized label keeps when its caption grows.
TEST(CoolLabel, AutoSizeKeepsTheEdgeItsAlignmentNames) {
  TTestHost Host(400, 80);
  struct Case {
    const char* Name;
    TAlignment Alignment;
    TBiDiMode BiDi;
    bool KeepsRight;
  } const Cases[] = {
      {"left", taLeftJustify, bdLeftToRight, false},
      {"right", taRightJustify, bdLeftToRight, true},
      {"left, right to left", taLeftJustify, bdRightToLeft, true},
      {"right, right to left", taRightJustify, bdRightToLeft, false},
      {"left, right-to-left reading only", taLeftJustify, bdRightToLeftReadingOnly, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* L = AddLabel(Host, "Tag", 150);
    L->SetBiDiMode(C.BiDi);
    L->SetAlignment(C.Alignment);
    const int Left = L->Left(), Right = L->Left() + L->Width();
    L->SetCaption("Tag type GTIN96");
    ASSERT_GT(L->Width(), 60);
    if (C.KeepsRight) EXPECT_EQ(L->Left() + L->Width(), Right);
    else EXPECT_EQ(L->Left(), Left);
    TObject::Free(L);
  }
}

// ----- looks

// Text in red, shadow in blue: where the shadow lies against the text for each position, the
// plain text, and the embossed disabled text whatever SimpleView says.
TEST(CoolLabel, CaptionLooks) {
  TTestHost Host(300, 80);
  struct Case {
    const char* Name;
    TShadowPosition Pos;
    bool Simple, Enabled;
    int DX, DY;  // text minus shadow
  } const Cases[] = {
      {"left top", spLeftTop, false, true, 2, 2},
      {"left bottom", spLeftBottom, false, true, 2, -2},
      {"right bottom", spRightBottom, false, true, -2, -2},
      {"right top", spRightTop, false, true, -2, 2},
      {"plain", spLeftTop, true, true, 0, 0},
      {"disabled", spLeftTop, false, false, 0, 0},
      {"disabled, simple view", spLeftTop, true, false, 0, 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* L = AddLabel(Host, "WMW");
    L->Font()->SetColor(clRed);
    L->Font()->SetStyle(1u << fsBold);
    L->Font()->SetHeight(-20);
    L->SetColor(clYellow);
    L->SetShadowColor(clBlue);
    L->SetShadowSize(2);
    L->SetShadowPos(C.Pos);
    L->SetSimpleView(C.Simple);
    L->SetEnabled(C.Enabled);
    auto Shot = vcltest::CaptureClient(Host.Window());
    const TRect Area = Place(L);
    if (!C.Enabled) {
      EXPECT_FALSE(HasColour(Shot.get(), Area, clRed));
      EXPECT_FALSE(HasColour(Shot.get(), Area, clBlue));
      EXPECT_TRUE(HasColour(Shot.get(), Area, clBtnShadow));
      EXPECT_TRUE(HasColour(Shot.get(), Area, clBtnHighlight));
      // Embossed: the highlight lies one pixel right and down of the shadow.
      const TRect Dark = ColourBounds(Shot.get(), Area, {clBtnShadow});
      const TRect Both = ColourBounds(Shot.get(), Area, {clBtnShadow, clBtnHighlight});
      EXPECT_EQ(Both.Right, Dark.Right + 1);
      EXPECT_EQ(Both.Bottom, Dark.Bottom + 1);
    } else if (C.Simple) {
      EXPECT_TRUE(HasColour(Shot.get(), Area, clRed));
      EXPECT_FALSE(HasColour(Shot.get(), Area, clBlue));
    } else {
      const TRect Text = ColourBounds(Shot.get(), Area, {clRed});
      const TRect Both = ColourBounds(Shot.get(), Area, {clRed, clBlue});
      ASSERT_FALSE(Text.IsEmpty());
      EXPECT_EQ(Both.Left, std::min(Text.Left, Text.Left - C.DX));
      EXPECT_EQ(Both.Right, std::max(Text.Right, Text.Right - C.DX));
      EXPECT_EQ(Both.Top, std::min(Text.Top, Text.Top - C.DY));
      EXPECT_EQ(Both.Bottom, std::max(Text.Bottom, Text.Bottom - C.DY));
    }
    TObject::Free(L);
  }
}

// The glyph's left edge for each alignment, in a 200-pixel label; centred inside a raised
// bevel with an offset it is measured from the text rectangle, so glyph and text stay together.
TEST(CoolLabel, GlyphSitsBesideTheText) {
  TTestHost Host(300, 80);
  struct Case {
    const char* Name;
    TAlignment Alignment;
    TBiDiMode BiDi;
    int Offset;
    int (*GlyphLeft)(int TW);  // in the label, from the caption's width
  } const Cases[] = {
      {"left", taLeftJustify, bdLeftToRight, 0, [](int) { return 0; }},
      {"right", taRightJustify, bdLeftToRight, 0, [](int TW) { return 200 - TW - 16 - 2; }},
      {"centre", taCenter, bdLeftToRight, 0, [](int TW) { return 100 - (TW + 18) / 2; }},
      {"centre in bevels", taCenter, bdLeftToRight, 12, [](int TW) { return 12 + 88 - (TW + 18) / 2; }},
      {"left, right to left", taLeftJustify, bdRightToLeft, 0, [](int TW) { return 200 - TW - 16 - 2; }},
  };
  auto Glyph = Solid(16, 16, clLime);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* L = AddLabel(Host, "Glyph", 20, 10);
    L->SetAutoSize(false);
    L->SetBounds(20, 10, 200, 50);
    L->Font()->SetColor(clRed);
    L->SetColor(clWhite);
    L->SetSimpleView(true);
    L->SetBiDiMode(C.BiDi);
    L->SetAlignment(C.Alignment);
    if (C.Offset) {
      L->SetBevelOuter(bvRaised);
      L->SetBevelsOffset(C.Offset);
    }
    L->SetGlyph(Glyph.get());
    auto Shot = vcltest::CaptureClient(Host.Window());
    const TRect Area = Place(L);
    const TRect G = ColourBounds(Shot.get(), Area, {clLime});
    const TRect Text = ColourBounds(Shot.get(), Area, {clRed});
    const int TW = TextWidthOf(L->Font(), "Glyph");
    EXPECT_EQ(G.Left - Area.Left, C.GlyphLeft(TW));
    EXPECT_EQ(G.Top - Area.Top, C.Offset) << "at the text's top";
    EXPECT_EQ(G.Width(), 16);
    EXPECT_GE(Text.Left, G.Right) << "the text follows the glyph";
    EXPECT_LE(Text.Left, G.Right + 4);
    TObject::Free(L);
  }
}

// The text's place in height: at the top, centred or at the bottom of the room inside the bevels
// (the whole height without them).
TEST(CoolLabel, LayoutPlacesTheTextInTheRoomInsideTheBevels) {
  TTestHost Host(300, 120);
  const int H = 60;
  int InkBelowTop = -1;  // from the text rectangle's top to its first black row
  for (int Offset : {-1, 0, 3})  // no bevel, then a bevel with that offset
    for (TTextLayout Layout : {tlTop, tlCenter, tlBottom}) {
      SCOPED_TRACE(testing::Message() << "offset " << Offset << ", layout " << Layout);
      auto* L = AddLabel(Host, "Tag", 20, 20);
      L->SetAutoSize(false);
      L->SetBounds(20, 20, 120, H);
      L->SetColor(clWhite);
      L->Font()->SetColor(clBlack);
      L->SetSimpleView(true);
      L->SetLayout(Layout);
      const int K = Offset < 0 ? 0 : Offset;
      if (Offset >= 0) {
        L->SetBevelOuter(bvLowered);  // grey and white lines on the outermost pixels
        L->SetBevelsOffset(Offset);
      }
      TBitmap M;
      M.SetSize(1, 1);
      M.Canvas()->SetFont(L->Font());
      const int TextH = M.Canvas()->TextHeight("Tag");
      const int Room = (H - 2 * K) - TextH;
      const int Top = K + (Layout == tlTop ? 0 : Layout == tlCenter ? Room / 2 : Room);
      auto Shot = vcltest::CaptureClient(Host.Window());
      const TRect Area = Place(L);
      const TRect Ink = ColourBounds(Shot.get(), TRect(Area.Left + 1, Area.Top + 1, Area.Right - 1, Area.Bottom - 1),
                                     {clBlack});
      ASSERT_FALSE(Ink.IsEmpty());
      if (InkBelowTop < 0) InkBelowTop = Ink.Top - Area.Top;  // no bevel, at the top
      EXPECT_EQ(Ink.Top - Area.Top - InkBelowTop, Top);
      TObject::Free(L);
    }
}

// Colour, wallpaper, wallpaper from a library, see-through; edge lines on top.
TEST(CoolLabel, BackgroundsAndEdgeLines) {
  TTestHost Host(300, 120);
  auto Wall = vcltest::MakeBitmap(8, 8, clYellow);
  Wall->Canvas()->SetPixels(0, 0, clNavy);
  auto Library = std::unique_ptr<TCoolImages, void (*)(TCoolImages*)>(
      TComponent::Create<TCoolImages>(nullptr), [](TCoolImages* I) { TObject::Free(I); });
  auto Entry = vcltest::MakeBitmap(8, 8, clFuchsia);
  Library->Bitmaps()->Add()->SetBitmap(Entry.get());

  auto* L = AddLabel(Host, "");
  L->SetAutoSize(false);
  L->SetBounds(20, 20, 100, 40);
  L->SetColor(clAqua);
  auto At = [&](int X, int Y) { return vcltest::PixelAt(Host.Window(), 20 + X, 20 + Y); };
  EXPECT_EQ(At(50, 20), clAqua);
  L->SetWallpaper(Wall.get());
  EXPECT_EQ(At(8, 8), clNavy) << "tiled from the corner";
  EXPECT_EQ(At(9, 8), clYellow);
  L->SetCoolImages(Library.get());
  L->SetIdWallpaper(0);
  EXPECT_EQ(At(8, 8), clFuchsia) << "the library's entry wins";
  L->SetIdWallpaper(1);
  EXPECT_EQ(At(8, 8), clNavy) << "past the end: its own wallpaper";
  const TColor Host_ = vcltest::PixelAt(Host.Window(), 10, 10);
  ASSERT_NE(Host_, clYellow);
  L->SetTransparent(true);
  EXPECT_EQ(At(8, 8), Host_) << "see-through: the host";
  EXPECT_EQ(At(9, 8), Host_);

  L->BorderPen()->SetColor(clRed);
  L->SetEdgeBorders(EdgeBorder(ebBottom) | EdgeBorder(ebLeft));
  EXPECT_EQ(At(50, 39), clRed);
  EXPECT_EQ(At(1, 20), clRed);
  EXPECT_EQ(At(0, 20), Host_);
  EXPECT_EQ(At(99, 20), Host_);
  // Freeing the library clears the reference.
  Library.reset();
  EXPECT_EQ(L->CoolImages(), nullptr);
}

}  // namespace
