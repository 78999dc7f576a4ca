#include "suite/qPanel2Spectrum.h"
#include "suite/Blend.h"
#include "vcl/Menus.h"


TqcSpectrum::TqcSpectrum(TComponent* AOwner) : TqcPanel2(AOwner) {
  IncludeStyle(csOpaque);
  SetBounds(Left(), Top(), 100, 100);
}

void TqcSpectrum::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcSpectrum::CMSysColorChange(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TqcSpectrum::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  inherited::SetBounds(ALeft, ATop, std::max(AWidth, 20), std::max(AHeight, 35));
  UpdateMetrics();
}

void TqcSpectrum::UpdateMetrics() {
  FBarWidth = (long double)Width() / FNumberOfChannels;
  FPercentHeight = (long double)Height() / 100;
}

void TqcSpectrum::Loaded() {
  inherited::Loaded();
  // Min gives way to a stored Max, except below the lowest value: that pair becomes the lowest
  // range.
  if (FMax == INT32_MIN) FMax = INT32_MIN + 1;
  SetMin(FMin);
}

void TqcSpectrum::SetChannel(int Index, int32_t Value) {
  if (Index < 1 || Index > int(FLevels.size())) return;
  FLevels[size_t(Index - 1)] = std::clamp(Value, FMin, FMax);
  Invalidate();
}

int32_t TqcSpectrum::GetChannel(int Index) const {
  if (Index < 1 || Index > int(FLevels.size())) return 0;
  return FLevels[size_t(Index - 1)];
}

void TqcSpectrum::SetAllChannel(const TqcSpectrumLevels& Values) {
  FLevels = Values;
  Invalidate();
}

void TqcSpectrum::Recolor(TColor& Field, TColor Value) {
  Field = Value;
  if (!HasState(csLoading)) Invalidate();
}

void TqcSpectrum::SetBarColor(TColor Value) { Recolor(FBarColor, Value); }
void TqcSpectrum::SetBarOff(TColor Value) { Recolor(FBarOffColor, Value); }
void TqcSpectrum::SetTopColor(TColor Value) { Recolor(FTopColor, Value); }
void TqcSpectrum::SetFaceColor(TColor Value) { Recolor(FFaceColor, Value); }

static_assert(SpectrumNumberRange.Max == int(std::tuple_size_v<TqcSpectrumLevels>), "a level per bar");

void TqcSpectrum::SetNum(SpectrumNumber Value) {
  Value = SpectrumNumberRange.Clamp(Value);
  if (FNumberOfChannels == Value) return;
  FNumberOfChannels = Value;
  UpdateMetrics();
  if (!HasState(csLoading)) Invalidate();
}

void TqcSpectrum::ClampLevels() {
  for (int32_t& L : FLevels) L = std::clamp(L, FMin, FMax);
}

// While loading the two only store; Loaded applies them.
void TqcSpectrum::SetMin(int32_t Value) {
  FMin = Value;
  if (HasState(csLoading)) return;
  if (FMin >= FMax) FMin = FMax - 1;
  ClampLevels();
  Invalidate();
}

void TqcSpectrum::SetMax(int32_t Value) {
  FMax = Value;
  if (HasState(csLoading)) return;
  if (FMax <= FMin) FMax = FMin + 1;
  ClampLevels();
  Invalidate();
}

void TqcSpectrum::Paint() {
  const int W = Width(), H = Height();
  TCanvas* C = BeginPicture(W, H);
  {
    // Every shape is one colour, pen and brush alike: the DC's own pen and brush, recoloured. A
    // rectangle of such a pen and brush, and a one-pixel line, are fills of their pixels; only
    // an empty or reversed rectangle goes to GDI's Rectangle as it is.
    TBandPainter P(C->Handle(), true);
    auto Box = [&](int X1, int Y1, int X2, int Y2) {
      if (X2 > X1 && Y2 > Y1) P.Fill(Rect(X1, Y1, X2, Y2));
      else P.Rectangle(X1, Y1, X2, Y2);
    };
    P.SetColor(FUseLed ? FBarOffColor : FFaceColor);
    P.Fill(0, 0, W, H);
    const bool Designing = HasState(csDesigning);
    for (int I = 0; I < FNumberOfChannels; ++I) {
      const int Percent = Designing ? 100 - I : qcDrawnPercent(GetPercent(FLevels[size_t(I)]));
      const int X1 = qcRound(I * FBarWidth);
      const int X2 = qcRound((I + 1) * FBarWidth) - (FUseSep ? 1 : 0);
      const int Top = H - qcRound(Percent * FPercentHeight);
      P.SetColor(FBarColor);
      Box(X1, Top, X2, H);
      P.SetColor(FFaceColor);
      P.Fill(X2, 0, 1, H);  // the line from (X2, 0) to (X2, H)
      P.SetColor(FTopColor);
      Box(X1, Top, X2, Top + FTopSize);
    }
    if (FUseLed) {
      P.SetColor(FFaceColor);
      for (int Y = 1; Y < H; Y += 2) P.Fill(0, Y, W, 1);  // the line from (0, Y) to (W, Y)
    }
  }
  EndPicture(W, H);
}

static constinit const TPropInfo TqcSpectrum_Props[] = {
    TControlProps::Anchors(),
    PropBool<&TqcSpectrum::UseSep, &TqcSpectrum::SetSplit>("UseSep", true),
    PropBool<&TqcSpectrum::UseLed, &TqcSpectrum::SetLed>("UseLed", true),
    PropColor<&TqcSpectrum::BarColor, &TqcSpectrum::SetBarColor>("BarColor", clLime),
    PropColor<&TqcSpectrum::BarOffColor, &TqcSpectrum::SetBarOff>("BarOffColor", clGreen),
    PropColor<&TqcSpectrum::TopColor, &TqcSpectrum::SetTopColor>("TopColor", clYellow),
    PropSubrange<&TqcSpectrum::TopSize, &TqcSpectrum::SetTop>("TopSize", SpectrumTopRange, 2),
    PropSubrange<&TqcSpectrum::NumberOfChannels, &TqcSpectrum::SetNum>("NumberOfChannels", SpectrumNumberRange, 20),
    PropColor<&TqcSpectrum::FaceColor, &TqcSpectrum::SetFaceColor>("FaceColor", clBlack),
    PropInt<&TqcSpectrum::Min, &TqcSpectrum::SetMin>("Min", 0),
    PropInt<&TqcSpectrum::Max, &TqcSpectrum::SetMax>("Max", 100),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 100),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 100),
    TControlProps::Align(),
    PopupMenuProp(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::ParentShowHint(),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    PropEvent<&TqcSpectrum::OnPaint>("OnPaint"),
    PropEvent<&TqcSpectrum::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqcSpectrum::OnMouseLeave>("OnMouseLeave"),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
};
ORV_IMPLEMENT_COMPONENT(TqcSpectrum, TGraphicControl, TqcSpectrum_Props)
