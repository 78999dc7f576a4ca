#include "coolctrls/CoolUtils.h"
#include "coolctrls/MaskDraw.h"

#include <algorithm>
#include <atomic>

using namespace cooldraw;

TGlyphCache* GlyphCache = nullptr;

namespace {

// Restores the DC's clip region on scope exit.
class TClipKeeper {
public:
  explicit TClipKeeper(HDC DC) : FDC(DC), FRgn(CreateRectRgn(0, 0, 0, 0)) {
    if (!FRgn) NoResources();
    FHad = GetClipRgn(DC, FRgn) == 1;
  }
  ~TClipKeeper() { SelectClipRgn(FDC, FHad ? FRgn.Get() : nullptr); }
  TClipKeeper(const TClipKeeper&) = delete;
  TClipKeeper& operator=(const TClipKeeper&) = delete;

private:
  HDC FDC;
  TRgnOwner FRgn;
  bool FHad = false;
};

std::atomic<TGlyphBuildCheck> BuildCheck{nullptr};

}  // namespace

TGlyphBuildCheck SetGlyphBuildCheck(TGlyphBuildCheck Check) { return BuildCheck.exchange(Check); }

// ---- TGlyphList ------------------------------------------------------------------------------

TGlyphList::TGlyphList(int AWidth, int AHeight) : TImageList(nullptr, AWidth, AHeight) {}

int TGlyphList::AllocateIndex() {
  auto Free = std::find(FUsed.begin(), FUsed.end(), false);
  int Index = int(Free - FUsed.begin());
  if (Index >= int(FUsed.size())) {
    Index = AddEmpty();
    FUsed.resize(size_t(Index) + 1, false);
  }
  FUsed[size_t(Index)] = true;
  return Index;
}

template <class F> int TGlyphList::AddInNewSlot(F Fill) {
  int Index = AllocateIndex();
  try {
    Fill(Index);
  } catch (...) {
    FUsed[size_t(Index)] = false;
    throw;
  }
  ++FCount;
  return Index;
}

int TGlyphList::Add(TBitmap* Image, TBitmap* Mask) {
  return AddInNewSlot([&](int Index) { Replace(Index, Image, Mask); });
}

int TGlyphList::AddMasked(TBitmap* Image, TColor MaskColor) {
  return AddInNewSlot([&](int Index) { ReplaceMasked(Index, Image, MaskColor); });
}

void TGlyphList::Delete(int Index) {
  if (!Used(Index)) return;
  --FCount;
  FUsed[size_t(Index)] = false;
}

ORV_IMPLEMENT_CLASS(TGlyphList, TImageList)

// ---- TGlyphCache -----------------------------------------------------------------------------

TGlyphCache::~TGlyphCache() {
  for (TGlyphList* L : FLists) TObject::Free(L);
}

TGlyphList* TGlyphCache::GetList(int AWidth, int AHeight) {
  for (auto It = FLists.rbegin(); It != FLists.rend(); ++It)
    if ((*It)->Width() == AWidth && (*It)->Height() == AHeight) return *It;
  FLists.push_back(nullptr);
  try {
    FLists.back() = new TGlyphList(AWidth, AHeight);
  } catch (...) {
    FLists.pop_back();
    throw;
  }
  return FLists.back();
}

void TGlyphCache::ReturnList(TGlyphList* List) {
  if (!List || List->Count() != 0) return;
  auto It = std::find(FLists.begin(), FLists.end(), List);
  if (It == FLists.end()) return;
  FLists.erase(It);
  TObject::Free(List);
}

ORV_IMPLEMENT_CLASS(TGlyphCache, TObject)

// ---- TGlyph ----------------------------------------------------------------------------------

TGlyph::TGlyph() : FPicture(new TBitmap) {
  FPicture->OnChange = EVENT(this, TGlyph::GlyphChanged);
  if (!GlyphCache) GlyphCache = new TGlyphCache;
}

TGlyph::~TGlyph() {
  FPicture->OnChange = nullptr;
  TObject::Free(FPicture);
  FPicture = nullptr;
  Invalidate();
  if (GlyphCache && GlyphCache->Empty()) FreeAndNil(GlyphCache);
}

void TGlyph::Invalidate() {
  for (int& Index : FIndexes) {
    if (Index != -1 && FGlyphList) FGlyphList->Delete(Index);
    Index = -1;
  }
  if (FGlyphList && GlyphCache) GlyphCache->ReturnList(FGlyphList);
  FGlyphList = nullptr;
}

void TGlyph::GlyphChanged(TObject* Sender) {
  if (Sender != FPicture) return;
  FTransparentColor = FPicture->TransparentColor();
  Invalidate();
  if (OnChange) OnChange(this);
}

void TGlyph::SetGlyph(TBitmap* Value) {
  Invalidate();
  FPicture->Assign(Value);
  if (Value && Value->Height() > 0) {
    FTransparentColor = Value->TransparentColor();
    if (Value->Width() % Value->Height() == 0) {
      int N = Value->Width() / Value->Height();
      if (N > 4) N = 1;
      SetNumGlyphs(N);
    }
  }
}

void TGlyph::SetNumGlyphs(TNumGlyphs Value) {
  if (Value == FNumGlyphs || Value <= 0) return;
  Invalidate();
  FNumGlyphs = Value;
  GlyphChanged(FPicture);
}

int TGlyph::CreateGlyph(bool Enabled) {
  int& Slot = FIndexes[Enabled ? 1 : 0];
  if (Slot != -1) return Slot;
  if (FPicture->Empty()) return -1;
  const int W = FPicture->Width() / FNumGlyphs, H = FPicture->Height();
  if (W <= 0 || H <= 0) return -1;  // narrower than its image count: nothing to show
  if (!FGlyphList) {
    if (!GlyphCache) GlyphCache = new TGlyphCache;
    FGlyphList = GlyphCache->GetList(W, H);
  }
  try {
    Slot = AddLook(Enabled, W, H);
  } catch (...) {
    // A list this glyph took but holds no slot in goes back, so no other glyph frees it under us.
    if (FIndexes[0] == -1 && FIndexes[1] == -1) {
      if (GlyphCache) GlyphCache->ReturnList(FGlyphList);
      FGlyphList = nullptr;
    }
    throw;
  }
  // The looks live in the list now: the picture gives up its section until it is needed again.
  FPicture->Dormant();
  return Slot;
}

int TGlyph::AddLook(bool Enabled, int W, int H) {
  if (TGlyphBuildCheck Check = BuildCheck.load()) Check(W, H);
  TBitmap T;
  T.Canvas()->Brush()->SetColor(clBtnFace);
  T.SetSize(W, H);
  HDC TDC = T.Canvas()->Handle();
  const int Cell = Enabled ? 0 : 1;

  if (Enabled) {
    BitBlt(TDC, 0, 0, W, H, FPicture->Canvas()->Handle(), W * Cell, 0, SRCCOPY);
    return FGlyphList->AddMasked(&T, FPicture->TransparentMode() == tmFixed ? FTransparentColor : clDefault);
  }

  TBitmap D;
  D.Assign(FPicture);
  if (D.Monochrome()) D.SetPixelFormat(pf32bit);  // colour compares below need colour pixels
  HDC DDC = D.Canvas()->Handle();
  TMonoSurface M(W, H);
  if (FNumGlyphs >= 2) {
    // Image 1 recoloured: white, grey and the transparent colour become the system's 3D colours.
    BitBlt(TDC, 0, 0, W, H, DDC, W * Cell, 0, SRCCOPY);
    const struct { COLORREF Key; TColor Target; } Passes[3] = {
        {0xFFFFFF, clBtnHighlight}, {0x808080, clBtnShadow}, {RGBOf(FTransparentColor), clBtnFace}};
    for (const auto& P : Passes) {
      COLORREF OldBk = SetBkColor(DDC, P.Key);
      BitBlt(M.DC, 0, 0, W, H, DDC, W * Cell, 0, SRCCOPY);
      SetBkColor(DDC, OldBk);
      BlitMask(TDC, 0, 0, W, H, M.DC, P.Target);
    }
  } else {
    // Embossed from the black pixels of image 0: highlight one pixel down-right, shadow on top.
    COLORREF OldBk = SetBkColor(DDC, 0x000000);
    BitBlt(M.DC, 0, 0, W, H, DDC, 0, 0, SRCCOPY);
    SetBkColor(DDC, OldBk);
    TBrushOwner Face(CreateSolidBrush(RGBOf(clBtnFace)));
    if (!Face) NoResources();
    RECT All{0, 0, W, H};
    ::FillRect(TDC, &All, Face);
    BlitMask(TDC, 1, 1, W, H, M.DC, clBtnHighlight);
    BlitMask(TDC, 0, 0, W, H, M.DC, clBtnShadow);
  }
  return FGlyphList->AddMasked(&T, clDefault);
}

void TGlyph::DrawImage(TCanvas* Canvas, TPoint GlyphPos, bool Enabled, bool Transparent, TColor BlendColor) {
  if (!Canvas || FPicture->Empty() || FPicture->Width() == 0 || FPicture->Height() == 0) return;
  int Index = CreateGlyph(Enabled);
  if (Index < 0 || !FGlyphList) return;
  COLORREF Bk, Fg;
  UINT Style;
  if (Transparent) {
    Bk = CLR_NONE;
    Fg = CLR_NONE;
    Style = ILD_TRANSPARENT | (BlendColor != clNone ? ILD_BLEND50 : 0);
  } else {
    Bk = BlendColor == clNone ? CLR_NONE : RGBOf(BlendColor);
    Fg = CLR_NONE;
    Style = ILD_NORMAL;
  }
  ImageList_DrawEx(FGlyphList->Handle(), Index, Canvas->Handle(), GlyphPos.X, GlyphPos.Y, 0, 0, Bk, Fg, Style);
}

void TGlyph::DrawCaption(TCanvas* Canvas, const AnsiString& Caption, const TRect& TextBounds, bool Enabled,
                         bool SimpleView, TShadowPosition ShadowPos, TColor ShadowColor, int ShadowSize,
                         unsigned BiDiFlags) {
  if (!Canvas) return;
  Canvas->Brush()->SetStyle(bsClear);
  const unsigned Format = BiDiFlags | DT_CENTER | DT_VCENTER;
  TRect R = TextBounds;
  HDC DC = Canvas->Handle();
  COLORREF OldText = GetTextColor(DC);
  int OldMode = GetBkMode(DC);
  if (!Enabled) {
    Draw3DText(DC, R, spRightBottom, Caption, Format, clBtnShadow, clBtnHighlight, 1);
  } else if (SimpleView) {
    SetBkMode(DC, TRANSPARENT);
    DrawTextA(DC, Caption.c_str(), -1, &AsRECT(R), Format);
  } else {
    Draw3DText(DC, R, ShadowPos, Caption, Format, Canvas->Font()->Color(), ShadowColor, ShadowSize);
  }
  SetTextColor(DC, OldText);
  SetBkMode(DC, OldMode);
}

void TGlyph::CalcButtonLayout(TCanvas* Canvas, const TRect& Client, TPoint Offset, const AnsiString& Caption,
                              TButtonLayout Layout, int Margin, int Spacing, TPoint& GlyphPos, TRect& TextBounds,
                              unsigned BiDiFlags) {
  if (BiDiFlags & DT_RIGHT) {
    if (Layout == blGlyphLeft) Layout = blGlyphRight;
    else if (Layout == blGlyphRight) Layout = blGlyphLeft;
  }
  const TPoint ClientSize{Client.Right - Client.Left, Client.Bottom - Client.Top};
  TPoint GlyphSize{0, 0};
  if (!FPicture->Empty() && FNumGlyphs > 0) GlyphSize = {FPicture->Width() / FNumGlyphs, FPicture->Height()};

  if (Caption.Length() == 0 || !Canvas) {
    TextBounds = TRect(0, 0, 0, 0);
  } else if (FSingleLineMeasure) {
    TSize S = Canvas->TextExtent(Caption);
    TextBounds = TRect(0, 0, S.cx, S.cy);
  } else {
    TextBounds = TRect(0, 0, ClientSize.X, 0);
    DrawTextA(Canvas->Handle(), Caption.c_str(), -1, &AsRECT(TextBounds), DT_CALCRECT | BiDiFlags);
  }
  const TPoint TextSize{TextBounds.Right - TextBounds.Left, TextBounds.Bottom - TextBounds.Top};
  const bool Horz = Layout == blGlyphLeft || Layout == blGlyphRight;

  TPoint TextPos{0, 0};
  GlyphPos = TPoint{0, 0};
  if (Horz) {
    GlyphPos.Y = (ClientSize.Y - GlyphSize.Y + 1) / 2;
    TextPos.Y = (ClientSize.Y - TextSize.Y + 1) / 2;
  } else {
    GlyphPos.X = (ClientSize.X - GlyphSize.X + 1) / 2;
    TextPos.X = (ClientSize.X - TextSize.X + 1) / 2;
  }
  if (TextSize.X == 0 || GlyphSize.X == 0) Spacing = 0;

  auto Axis = [Horz](TPoint P) { return Horz ? P.X : P.Y; };
  if (Margin == -1) {
    if (Spacing == -1) {
      TPoint Total{GlyphSize.X + TextSize.X, GlyphSize.Y + TextSize.Y};
      Margin = (Axis(ClientSize) - Axis(Total)) / 3;
      Spacing = Margin;
    } else {
      TPoint Total{GlyphSize.X + Spacing + TextSize.X, GlyphSize.Y + Spacing + TextSize.Y};
      Margin = (Axis(ClientSize) - Axis(Total) + 1) / 2;
    }
  } else if (Spacing == -1) {
    TPoint Total{ClientSize.X - (Margin + GlyphSize.X), ClientSize.Y - (Margin + GlyphSize.Y)};
    Spacing = (Axis(Total) - Axis(TextSize)) / 2;
  }

  switch (Layout) {
    case blGlyphLeft:
      GlyphPos.X = Margin;
      TextPos.X = GlyphPos.X + GlyphSize.X + Spacing;
      break;
    case blGlyphRight:
      GlyphPos.X = ClientSize.X - Margin - GlyphSize.X;
      TextPos.X = GlyphPos.X - Spacing - TextSize.X;
      break;
    case blGlyphTop:
      GlyphPos.Y = Margin;
      TextPos.Y = GlyphPos.Y + GlyphSize.Y + Spacing;
      break;
    case blGlyphBottom:
      GlyphPos.Y = ClientSize.Y - Margin - GlyphSize.Y;
      TextPos.Y = GlyphPos.Y - Spacing - TextSize.Y;
      break;
  }
  GlyphPos = GlyphPos + Client.TopLeft() + Offset;
  TextBounds.Offset(TextPos.X + Client.Left + Offset.X, TextPos.Y + Client.Top + Offset.Y);
}

void TGlyph::DrawImageEx(TCanvas* Canvas, const TRect& Client, TPoint Offset, const AnsiString& Caption,
                         TButtonLayout Layout, int Margin, int Spacing, bool Enabled, bool Transparent,
                         TColor BlendColor, unsigned BiDiFlags) {
  TPoint GlyphPos;
  TRect TextBounds;
  CalcButtonLayout(Canvas, Client, Offset, Caption, Layout, Margin, Spacing, GlyphPos, TextBounds, BiDiFlags);
  DrawImage(Canvas, GlyphPos, Enabled, Transparent, BlendColor);
}

void TGlyph::DrawBevels(TCanvas* Canvas, const TRect& Client, TPoint Offset, const AnsiString& Caption,
                        TButtonLayout Layout, int Margin, int Spacing, TBevelCut Inner, TBevelCut Outer,
                        TBevelStyleEx Style, unsigned BiDiFlags) {
  if (!Canvas || (Inner == bvNone && Outer == bvNone)) return;
  TRect R = Client;
  if (Style != bsBevelBoth) {
    TPoint GlyphPos;
    TRect TextBounds;
    CalcButtonLayout(Canvas, Client, Offset, Caption, Layout, Margin, Spacing, GlyphPos, TextBounds, BiDiFlags);
    if (Style == bsBevelOnlyImage)
      R = Bounds(GlyphPos.X, GlyphPos.Y, FNumGlyphs > 0 ? FPicture->Width() / FNumGlyphs : 0, FPicture->Height());
    else
      R = TextBounds;
    R.Inflate(Margin / 2, Spacing / 2);
  }
  auto InnerFlag = [](TBevelCut B) -> UINT { return B == bvLowered ? BDR_SUNKENINNER : B == bvRaised ? BDR_RAISEDINNER : 0; };
  auto OuterFlag = [](TBevelCut B) -> UINT { return B == bvLowered ? BDR_SUNKENOUTER : B == bvRaised ? BDR_RAISEDOUTER : 0; };
  DrawEdge(Canvas->Handle(), &AsRECT(R), InnerFlag(Inner) | OuterFlag(Outer), BF_RECT);
}

TRect TGlyph::Draw(TCanvas* Canvas, const TRect& Client, TPoint Offset, const AnsiString& Caption,
                   TButtonLayout Layout, int Margin, int Spacing, bool Enabled, bool Transparent, TColor BlendColor,
                   bool SimpleView, TShadowPosition ShadowPos, TColor ShadowColor, int ShadowSize,
                   unsigned BiDiFlags) {
  if (!Canvas) return TRect();
  HDC DC = Canvas->Handle();
  TClipKeeper Clip(DC);
  IntersectClipRect(DC, Client.Left, Client.Top, Client.Right, Client.Bottom);
  TPoint GlyphPos;
  TRect TextBounds;
  CalcButtonLayout(Canvas, Client, Offset, Caption, Layout, Margin, Spacing, GlyphPos, TextBounds, BiDiFlags);
  DrawImage(Canvas, GlyphPos, Enabled, Transparent, BlendColor);
  DrawCaption(Canvas, Caption, TextBounds, Enabled, SimpleView, ShadowPos, ShadowColor, ShadowSize, BiDiFlags);
  return TextBounds;
}

ORV_IMPLEMENT_CLASS(TGlyph, TObject)
