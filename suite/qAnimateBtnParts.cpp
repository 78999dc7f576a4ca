#include "suite/qAnimateBtnParts.h"
#include "vcl/GdiGuards.h"

#include <algorithm>

constexpr TEnumType TqcDefLookType{"TqcDefLook", {"dlBold", "dlFrame", "dlNone"}};

namespace qanimate {

void DrawButtonEdge(TCanvas* C, int R, int B, int D, bool Pressed, TColor Shadow, TColor HighLight) {
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(Shadow);
  C->Polyline({Point(D, B - D), Point(D, D), Point(R - D, D)});
  C->Polyline({Point(R - 1 - D, D + 1), Point(R - 1 - D, B - 1 - D), Point(D, B - 1 - D)});
  C->Pen()->SetColor(Pressed ? clBlack : HighLight);
  C->Polyline({Point(D + 1, B - D), Point(D + 1, D + 1), Point(R - D, D + 1)});
  C->Pen()->SetColor(Pressed ? HighLight : clBlack);
  C->Polyline({Point(R - D, D), Point(R - D, B - D), Point(D, B - D)});
}

void DrawCaptionPass(TCanvas* C, const AnsiString& Text, TRect R, unsigned Flags, TColor Color, int Shift) {
  R.Offset(Shift, Shift);
  C->Brush()->SetStyle(bsClear);
  C->Font()->SetColor(Color);
  RECT Box = AsRECT(R);
  DrawTextA(C->Handle(), Text.c_str(), Text.Length(), &Box, Flags);
}

void PaintGradientFace(TCanvas* C, int R, int B, bool Pressed, TColor Color, TColor EndColor, gradType Fill,
                       int Bands, const TqColorRamp& Ramp) {
  const bool Linear = Fill == gVert || Fill == gHorz;
  const int N = std::min({Bands, R / 2, B / 2});
  if (Color == EndColor || (Linear && Bands <= 0) || (Fill == gCenter && N <= 0) ||
      (!Linear && Fill != gCenter))
    return;
  const int P = Pressed ? 1 : 0;
  C->Brush()->SetStyle(bsSolid);
  if (Linear) {
    // Bands over R by B, moved by a pixel while pressed.
    HDC DC = C->Handle();
    TSaveDC Save(DC);
    OffsetViewportOrgEx(DC, P, P, nullptr);
    PaintBlend(DC, R, B, Fill, Bands, Ramp);
    return;
  }
  // Rings to the centre.
  TRect Box = Rect(P, P, R + 1 + P, B + 1 + P);
  Box.Inflate(-1, -1);
  const int BW = std::max(1, (R / 2) / N), BH = std::max(1, (B / 2) / N);
  for (int I = 0; I <= N; ++I) {
    C->Brush()->SetColor(Ramp.Band(I, N));
    if (I == N) {
      C->FillRect(Box);
      break;
    }
    C->FillRect(Rect(Box.Left, Box.Top, Box.Right, Box.Top + BH));
    C->FillRect(Rect(Box.Left, Box.Top, Box.Left + BW, Box.Bottom));
    C->FillRect(Rect(Box.Left, Box.Bottom - BH, Box.Right, Box.Bottom));
    C->FillRect(Rect(Box.Right - BW, Box.Top, Box.Right, Box.Bottom));
    Box.Inflate(-BW, -BH);
  }
}

void DrawCaption(TCanvas* C, const AnsiString& Text, const TRect& R, unsigned Flags, bool Enabled) {
  if (Enabled) {
    DrawCaptionPass(C, Text, R, Flags, C->Font()->Color(), 0);
    return;
  }
  DrawCaptionPass(C, Text, R, Flags, clWhite, 1);
  DrawCaptionPass(C, Text, R, Flags, clGray, 0);
}

void TGlyphStates::Split(TBitmap* Strip, int NumGlyphs, TColor FaceColor) {
  const int N = GlyphCount(NumGlyphs);
  if (!Strip || Strip->Empty() || Strip->Width() < 1) {
    for (TBitmap* B : {&FUp, &FDown, &FDisabled, &FHot}) B->Assign(Strip);
    return;
  }
  const int W = Strip->Width() / N, H = Strip->Height();
  auto Cut = [&](TBitmap& Image, int K) {
    Image.SetSize(W, H);
    Image.Canvas()->CopyRect(Rect(0, 0, W, H), Strip->Canvas(), Rect(K * W, 0, (K + 1) * W, H));
  };
  Cut(FUp, 0);
  FDown.Assign(&FUp);
  FHot.Assign(&FUp);
  if (N >= 2) Cut(FDisabled, 1);
  if (N >= 3) Cut(FDown, 2);
  if (N == 4) Cut(FHot, 3);
  if (N > 1 || W == 0) return;
  // The disabled look: the up image's black pixels embossed in highlight and shadow colours.
  TBitmap Mask;
  Mask.Assign(&FUp);
  Mask.Canvas()->Brush()->SetColor(clBlack);
  Mask.SetMonochrome(true);
  FDisabled.SetSize(W, H);
  TCanvas* C = FDisabled.Canvas();
  C->Brush()->SetColor(FaceColor);
  C->FillRect(Rect(0, 0, W, H));
  HDC MaskDC = Mask.Canvas()->Handle();
  for (auto [Offset, Color] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}}) {
    C->Brush()->SetColor(Color);
    HDC DC = C->Handle();
    SetTextColor(DC, RGB(0, 0, 0));
    SetBkColor(DC, RGB(255, 255, 255));
    BitBlt(DC, Offset, Offset, W, H, MaskDC, 0, 0, 0x00E20746);  // the brush where the mask is white
  }
}

TColor TGlyphStates::AutoTransparentColor() {
  if (FUp.Empty() || FUp.Width() < 1) return clNone;
  return FUp.Canvas()->Pixels(0, FUp.Height() - 1);
}

void FillInIcons(TIcon* Enabled, TIcon* Down, TIcon* Disabled) {
  auto Fill = [](TIcon* Target, TIcon* Source) {
    if (!Source->Empty() && Target->Empty()) Target->Assign(Source);
  };
  Fill(Disabled, Enabled);
  Fill(Down, Enabled);
  Fill(Enabled, Disabled);
  Fill(Down, Disabled);
  Fill(Disabled, Down);
  Fill(Enabled, Down);
}

}  // namespace qanimate
