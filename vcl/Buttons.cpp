#include "vcl/Buttons.h"
#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"

#include <algorithm>
#include <cstring>

constexpr TEnumType TButtonLayoutType{"TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
constexpr TEnumType TButtonStyleType{"TButtonStyle", {"bsAutoDetect", "bsWin31", "bsNew"}};
constexpr TEnumType TBitBtnKindType{
    "TBitBtnKind",
    {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"}};

namespace {

constexpr uint32_t Opaque = 0xFF000000u;

// TColor ($00BBGGRR, system colours resolved) to a 32-bit DIB pixel ($00RRGGBB), and back.
uint32_t ToPixel(TColor C) {
  uint32_t V = uint32_t(ColorToRGB(C));
  return ((V & 0xFF) << 16) | (V & 0xFF00) | ((V >> 16) & 0xFF);
}
TColor FromPixel(uint32_t P) {
  return TColor(((P & 0xFF) << 16) | (P & 0xFF00) | ((P >> 16) & 0xFF));
}

// The glyph images a bitmap holds side by side: its width over its height when that divides (1
// outside 1..4); 0 when it does not divide, and the count stays.
int ImagesIn(TBitmap* Glyph) {
  if (!Glyph || Glyph->Height() <= 0 || Glyph->Width() % Glyph->Height() != 0) return 0;
  const int N = Glyph->Width() / Glyph->Height();
  return N < 1 || N > 4 ? 1 : N;
}

// The size of Text drawn on one line in the DC's font; empty for no text.
TSize CaptionSize(HDC DC, const AnsiString& Text) {
  if (Text.IsEmpty()) return TSize();
  RECT R{0, 0, 0, 0};
  DrawTextA(DC, Text.c_str(), -1, &R, DT_CALCRECT | DT_SINGLELINE);
  return TSize(R.right - R.left, R.bottom - R.top);
}

// A button's caption centred in R in Color, or embossed in the highlight and shadow colours.
void DrawCaption(HDC DC, const AnsiString& Text, const TRect& R, bool Disabled, TColor Color) {
  if (Text.IsEmpty()) return;
  const UINT Flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  const int OldMode = SetBkMode(DC, TRANSPARENT);
  RECT T = AsRECT(R);
  if (Disabled) {
    RECT Lit = T;
    OffsetRect(&Lit, 1, 1);
    SetTextColor(DC, COLORREF(ColorToRGB(clBtnHighlight)));
    DrawTextA(DC, Text.c_str(), -1, &Lit, Flags);
    Color = clBtnShadow;
  }
  SetTextColor(DC, COLORREF(ColorToRGB(Color)));
  DrawTextA(DC, Text.c_str(), -1, &T, Flags);
  SetBkMode(DC, OldMode);
}

}  // namespace

void FillPatternRect(TCanvas* Canvas, const TRect& Rect, TColor Even, TColor Odd) {
  if (!Canvas) return;
  TBitmap Pattern;
  Pattern.SetSize(8, 8);
  const TColor E = ColorToRGB(Even), O = ColorToRGB(Odd);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) Pattern.Canvas()->SetPixels(X, Y, (X + Y) % 2 ? O : E);
  Canvas->Brush()->SetBitmap(&Pattern);
  struct TUnset {
    TCanvas* C;
    ~TUnset() { C->Brush()->SetBitmap(nullptr); }
  } Unset{Canvas};
  Canvas->FillRect(Rect);
}

// ---------------------------------------------------------------------------------------------
TButtonContentLayout CalcButtonLayout(const TRect& Client, TSize GlyphSize, TSize TextSize,
                                      TButtonLayout Layout, int Margin, int Spacing) {
  const int CW = Client.Width(), CH = Client.Height();
  const bool Horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  TPoint GP, TP;
  if (Horizontal) {
    GP.Y = (CH - GlyphSize.cy + 1) / 2;
    TP.Y = (CH - TextSize.cy + 1) / 2;
  } else {
    GP.X = (CW - GlyphSize.cx + 1) / 2;
    TP.X = (CW - TextSize.cx + 1) / 2;
  }
  if (TextSize.cx == 0 || GlyphSize.cx == 0) Spacing = 0;
  const int Length = Horizontal ? CW : CH;
  const int GlyphLength = Horizontal ? GlyphSize.cx : GlyphSize.cy;
  const int TextLength = Horizontal ? TextSize.cx : TextSize.cy;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = (Length - (GlyphLength + TextLength)) / 3;
      Spacing = Margin;
    } else {
      Margin = (Length - (GlyphLength + Spacing + TextLength) + 1) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = (Length - (Margin + GlyphLength) - TextLength) / 2;
  }
  switch (Layout) {
    case blGlyphLeft:
      GP.X = Margin;
      TP.X = GP.X + GlyphSize.cx + Spacing;
      break;
    case blGlyphRight:
      GP.X = CW - Margin - GlyphSize.cx;
      TP.X = GP.X - Spacing - TextSize.cx;
      break;
    case blGlyphTop:
      GP.Y = Margin;
      TP.Y = GP.Y + GlyphSize.cy + Spacing;
      break;
    case blGlyphBottom:
      GP.Y = CH - Margin - GlyphSize.cy;
      TP.Y = GP.Y - Spacing - TextSize.cy;
      break;
  }
  TButtonContentLayout Result;
  if (GlyphSize.cx > 0 && GlyphSize.cy > 0)
    Result.Glyph = Bounds(Client.Left + GP.X, Client.Top + GP.Y, GlyphSize.cx, GlyphSize.cy);
  if (TextSize.cx > 0 && TextSize.cy > 0)
    Result.Text = Bounds(Client.Left + TP.X, Client.Top + TP.Y, TextSize.cx, TextSize.cy);
  return Result;
}

// ---------------------------------------------------------------------------------------------
// TGlyphImages

void TGlyphImages::Clear() {
  for (auto& I : FImages) I.clear();
  FWidth = FHeight = FCount = 0;
}

void TGlyphImages::Build(TBitmap* Glyph, int NumGlyphs) {
  Clear();
  if (!Glyph || Glyph->Empty() || Glyph->Width() <= 0 || Glyph->Height() <= 0) return;
  const int W = Glyph->Width(), H = Glyph->Height();
  const int N = std::clamp(NumGlyphs, 1, 4);
  const int GW = W / N;
  if (GW == 0) return;

  // All pixels of the bitmap, read through its canvas (it may be a DIB of any depth).
  std::vector<uint32_t> All(size_t(W) * H);
  {
    uint32_t* Bits = nullptr;
    TBitmapOwner Dib = NewDib32(W, H, Bits);
    TMemoryDC Mem;
    TSelectGuard Sel(Mem, Dib);
    TCanvas* Source = Glyph->Canvas();
    TCanvasLock Lock(Source);
    BitBlt(Mem, 0, 0, W, H, Source->Handle(), 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(All.data(), Bits, All.size() * sizeof(uint32_t));
  }

  const bool Fixed = Glyph->TransparentMode() == tmFixed;
  const uint32_t FixedKey = Fixed ? ToPixel(Glyph->TransparentColor()) : 0;
  for (int I = 0; I < N; ++I) {
    std::vector<uint32_t>& Img = FImages[I];
    Img.resize(size_t(GW) * H);
    const int X0 = I * GW;
    const uint32_t Key = Fixed ? FixedKey : (All[size_t(H - 1) * W + X0] & 0xFFFFFF);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < GW; ++X) {
        uint32_t P = All[size_t(Y) * W + X0 + X] & 0xFFFFFF;
        Img[size_t(Y) * GW + X] = P == Key ? P : (P | Opaque);
      }
  }
  FWidth = GW;
  FHeight = H;
  FCount = N;

  if (N < 2) {
    // Disabled look: the dark (non-white) opaque pixels of the up image, once in the highlight
    // colour one pixel down and right, then in the shadow colour in place.
    const std::vector<uint32_t>& Up = FImages[bsUp];
    std::vector<uint32_t>& D = FImages[bsDisabled];
    D.assign(Up.size(), 0);
    auto Ink = [&](int X, int Y) {
      uint32_t P = Up[size_t(Y) * GW + X];
      return (P & Opaque) && (P & 0xFFFFFF) != 0xFFFFFF;
    };
    const uint32_t Hi = ToPixel(clBtnHighlight) | Opaque, Sh = ToPixel(clBtnShadow) | Opaque;
    for (int Y = 0; Y + 1 < H; ++Y)
      for (int X = 0; X + 1 < GW; ++X)
        if (Ink(X, Y)) D[size_t(Y + 1) * GW + X + 1] = Hi;
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < GW; ++X)
        if (Ink(X, Y)) D[size_t(Y) * GW + X] = Sh;
  }
}

const std::vector<uint32_t>& TGlyphImages::Image(TButtonState State) const {
  const std::vector<uint32_t>& I = FImages[State];
  return I.empty() ? FImages[bsUp] : I;
}

bool TGlyphImages::Pixel(TButtonState State, int X, int Y, TColor& Color) const {
  if (Empty() || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return false;
  uint32_t P = Image(State)[size_t(Y) * FWidth + X];
  Color = FromPixel(P & 0xFFFFFF);
  return (P & Opaque) != 0;
}

void TGlyphImages::Draw(HDC DC, int X, int Y, TButtonState State) const {
  if (Empty()) return;
  const std::vector<uint32_t>& Img = Image(State);
  uint32_t* ImageBits = nullptr;
  uint32_t* MaskBits = nullptr;
  TBitmapOwner ImageDib = NewDib32(FWidth, FHeight, ImageBits);
  TBitmapOwner MaskDib = NewDib32(FWidth, FHeight, MaskBits);
  for (size_t I = 0; I < Img.size(); ++I) {
    bool IsOpaque = (Img[I] & Opaque) != 0;
    ImageBits[I] = IsOpaque ? (Img[I] & 0xFFFFFF) : 0;
    MaskBits[I] = IsOpaque ? 0 : 0xFFFFFF;
  }
  GdiFlush();
  TMemoryDC Mem(DC);
  {
    TSelectGuard Sel(Mem, MaskDib);
    BitBlt(DC, X, Y, FWidth, FHeight, Mem, 0, 0, SRCAND);
  }
  {
    TSelectGuard Sel(Mem, ImageDib);
    BitBlt(DC, X, Y, FWidth, FHeight, Mem, 0, 0, SRCPAINT);
  }
}

// ---------------------------------------------------------------------------------------------
// TBitBtn

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {
  FGlyph = New<TBitmap>();
  FGlyph->OnChange = TNotifyEvent::Bind<&TBitBtn::GlyphChanged>(this);
  FCanvas = New<TCanvas>();
}

TBitBtn::~TBitBtn() {
  TObject::Free(FCanvas);
  TObject::Free(FGlyph);
}

AnsiString TBitBtn::KindCaption(TBitBtnKind Kind) {
  switch (Kind) {
    case bkOK: return "OK";
    case bkCancel: return "Cancel";
    case bkHelp: return "&Help";
    case bkYes: return "&Yes";
    case bkNo: return "&No";
    case bkClose: return "&Close";
    case bkAbort: return "Abort";
    case bkRetry: return "&Retry";
    case bkIgnore: return "&Ignore";
    case bkAll: return "&All";
    case bkCustom: break;
  }
  return AnsiString();
}

TModalResult TBitBtn::KindModalResult(TBitBtnKind Kind) {
  switch (Kind) {
    case bkOK: return mrOk;
    case bkCancel: return mrCancel;
    case bkYes: return mrYes;
    case bkNo: return mrNo;
    case bkAbort: return mrAbort;
    case bkRetry: return mrRetry;
    case bkIgnore: return mrIgnore;
    case bkAll: return mrAll;
    case bkCustom: case bkHelp: case bkClose: break;
  }
  return mrNone;
}

TBitBtnKind TBitBtn::Kind() const {
  if (FKind == bkCustom) return bkCustom;
  const bool WantDefault = FKind == bkOK || FKind == bkYes;
  const bool WantCancel = FKind == bkCancel || FKind == bkNo;
  if (Default() != WantDefault || Cancel() != WantCancel || ModalResult() != KindModalResult(FKind) ||
      FModifiedGlyph)
    return bkCustom;
  return FKind;
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  if (Value == FKind && Value == Kind()) return;
  if (Value != bkCustom) {
    SetDefault(Value == bkOK || Value == bkYes);
    SetCancel(Value == bkCancel || Value == bkNo);
    if (!HasState(csLoading) || GetText().IsEmpty()) SetCaption(KindCaption(Value));
    SetModalResult(KindModalResult(Value));
    FModifiedGlyph = false;
  }
  FKind = Value;
  Invalidate();
}

bool TBitBtn::IsCustom(const TObject* Obj) { return static_cast<const TBitBtn*>(Obj)->Kind() == bkCustom; }

bool TBitBtn::IsCustomCaption(const TObject* Obj) {
  auto* B = static_cast<const TBitBtn*>(Obj);
  TBitBtnKind K = B->Kind();
  return K == bkCustom || B->GetText() != KindCaption(K);
}

void TBitBtn::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  if (const int N = ImagesIn(Value)) SetNumGlyphs(N);
}

void TBitBtn::GlyphChanged(TObject*) {
  FModifiedGlyph = true;
  Changed();
}

void TBitBtn::Changed() {
  FImagesValid = false;
  Invalidate();
}

const TGlyphImages& TBitBtn::Images() {
  if (!FImagesValid) {
    FImages.Build(FGlyph, FNumGlyphs);
    FImagesValid = true;
  }
  return FImages;
}

void TBitBtn::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::clamp(Value, 1, 4);
  if (Value == FNumGlyphs) return;
  FNumGlyphs = Value;
  if (HasState(csLoading)) return;
  Changed();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  if (HasState(csLoading)) return;
  Invalidate();
}

void TBitBtn::SetMargin(int Value) {
  if (Value == FMargin || Value < -1) return;
  FMargin = Value;
  if (HasState(csLoading)) return;
  Invalidate();
}

void TBitBtn::SetSpacing(int Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  if (HasState(csLoading)) return;
  Invalidate();
}

void TBitBtn::SetStyle(TButtonStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  if (HasState(csLoading)) return;
  Invalidate();
}

void TBitBtn::Loaded() {
  TButton::Loaded();
  Changed();
}

void TBitBtn::Click() {
  if (Kind() == bkClose) {
    if (TCustomForm* Form = GetParentForm(this)) {
      Form->Close();
      return;
    }
  }
  TButton::Click();
}

void TBitBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    default: inherited::Dispatch(Message);
  }
}

void TBitBtn::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::SetButtonStyle(bool ADefault) {
  // Owner-drawn: the default frame is painted, so only a change of it needs a repaint.
  if (ADefault == FDrawnActive) return;
  FDrawnActive = ADefault;
  if (HandleAllocated()) Invalidate();
}

void TBitBtn::CNDrawItem(TMessage& Message) {
  auto* Dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  DrawButton(Dis->hDC, (Dis->itemState & ODS_SELECTED) != 0, (Dis->itemState & ODS_FOCUS) != 0,
             (Dis->itemState & ODS_DISABLED) != 0 || !Enabled());
  Message.Result = 1;
}

void TBitBtn::CNMeasureItem(TMessage& Message) {
  auto* Mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  Mis->itemWidth = UINT(Width());
  Mis->itemHeight = UINT(Height());
  Message.Result = 1;
}

void TBitBtn::WMLButtonDblClk(TMessage& Message) {
  // An owner-drawn button reports a double click instead of the second click.
  Perform(WM_LBUTTONDOWN, Message.WParam, Message.LParam);
}

void TBitBtn::CMSysColorChange(TMessage& Message) {
  FImagesValid = false;   // the derived disabled image uses system colours
  inherited::Dispatch(Message);
  Invalidate();
}

TRect TBitBtn::ContentRect(bool Pressed) const {
  TRect R = ClientRect();
  int Inset = FStyle == bsWin31 ? 3 : 2;
  R.Inflate(-Inset, -Inset);
  if (Pressed) R.Offset(1, 1);
  return R;
}

TButtonContentLayout TBitBtn::CalcLayout(HDC DC, bool Pressed) {
  const TGlyphImages& I = Images();
  TSize GlyphSize = I.Empty() ? TSize() : TSize(I.Width(), I.Height());
  return CalcButtonLayout(ContentRect(Pressed), GlyphSize, CaptionSize(DC, GetText()), FLayout, FMargin, FSpacing);
}

TButtonContentLayout TBitBtn::ContentLayout() {
  TWindowDC DC(nullptr);
  TSelectGuard Sel(DC, Font()->Handle());
  bool Pressed = HandleAllocated() && (SendMessageA(WindowHandle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  return CalcLayout(DC, Pressed);
}

void TBitBtn::DrawFrame(TCanvas* C, bool Pressed, bool Disabled) {
  TRect R = ClientRect();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(R);
  if (FStyle == bsWin31) {
    C->Brush()->SetColor(clWindowFrame);
    C->FrameRect(R);
    R.Inflate(-1, -1);
    if (FActive) {
      C->FrameRect(R);
      R.Inflate(-1, -1);
    }
    if (Pressed) {
      C->Brush()->SetColor(clBtnShadow);
      C->FillRect(Rect(R.Left, R.Top, R.Right, R.Top + 1));
      C->FillRect(Rect(R.Left, R.Top, R.Left + 1, R.Bottom));
    } else {
      for (int I = 0; I < 2; ++I) {
        C->Brush()->SetColor(clBtnHighlight);
        C->FillRect(Rect(R.Left + I, R.Top + I, R.Right - I, R.Top + I + 1));
        C->FillRect(Rect(R.Left + I, R.Top + I, R.Left + I + 1, R.Bottom - I));
        C->Brush()->SetColor(clBtnShadow);
        C->FillRect(Rect(R.Left + I, R.Bottom - 1 - I, R.Right - I, R.Bottom - I));
        C->FillRect(Rect(R.Right - 1 - I, R.Top + I, R.Right - I, R.Bottom - I));
      }
    }
    return;
  }
  if (FActive) {
    C->Brush()->SetColor(clWindowFrame);
    C->FrameRect(R);
    R.Inflate(-1, -1);
  }
  if (Pressed) {
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(R);
  } else {
    RECT Frame = R;
    DrawFrameControl(C->Handle(), &Frame, DFC_BUTTON, DFCS_BUTTONPUSH | (Disabled ? DFCS_INACTIVE : 0));
  }
}

void TBitBtn::DrawButton(HDC DC, bool Pressed, bool HasFocus, bool Disabled) {
  const TRect Client = ClientRect();
  if (Client.IsEmpty()) return;
  // Painted off-screen, then copied in one go.
  TMemoryDC Mem(DC);
  TBitmapOwner Buffer(CreateCompatibleBitmap(DC, Client.Width(), Client.Height()));
  if (!Mem.Get() || !Buffer) throw EOutOfResources("Out of system resources");
  TSelectGuard Sel(Mem, Buffer);
  {
    TCanvasBinding Bind(FCanvas, Mem);
    FCanvas->SetFont(Font());
    DrawFrame(FCanvas, Pressed, Disabled);

    HDC H = FCanvas->Handle();
    TButtonContentLayout L = CalcLayout(H, Pressed);
    const TGlyphImages& I = Images();
    if (!I.Empty()) I.Draw(Mem, L.Glyph.Left, L.Glyph.Top, Disabled ? bsDisabled : Pressed ? bsDown : bsUp);

    DrawCaption(FCanvas->Handle(), GetText(), L.Text, Disabled, Font()->Color());

    if (HasFocus) {
      RECT F = Client;
      InflateRect(&F, -4, -4);
      H = FCanvas->Handle();
      SetTextColor(H, RGB(0, 0, 0));
      SetBkColor(H, RGB(255, 255, 255));
      ::DrawFocusRect(H, &F);
    }
  }
  BitBlt(DC, Client.Left, Client.Top, Client.Width(), Client.Height(), Mem, 0, 0, SRCCOPY);
}

static constinit const TPropInfo TBitBtn_Props[] = {
    PropBool<&TButton::Cancel, &TButton::SetCancel>("Cancel", false, &TBitBtn::IsCustom),
    PropStr<&TButton::Caption, &TButton::SetCaption>("Caption", &TBitBtn::IsCustomCaption),
    PropBool<&TButton::Default, &TButton::SetDefault>("Default", false, &TBitBtn::IsCustom),
    PropObject<&TBitBtn::Glyph, &TBitBtn::SetGlyph>("Glyph", &TBitBtn::IsCustom),
    PropEnum<&TBitBtn::Kind, &TBitBtn::SetKind>("Kind", TBitBtnKindType, bkCustom),
    PropEnum<&TBitBtn::Layout, &TBitBtn::SetLayout>("Layout", TButtonLayoutType, blGlyphLeft),
    PropInt<&TBitBtn::Margin, &TBitBtn::SetMargin>("Margin", -1),
    PropInt<&TButton::ModalResult, &TButton::SetModalResult>("ModalResult", mrNone, &TBitBtn::IsCustom),
    PropInt<&TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs>("NumGlyphs", 1, &TBitBtn::IsCustom),
    PropEnum<&TBitBtn::Style, &TBitBtn::SetStyle>("Style", TButtonStyleType, bsAutoDetect),
    PropInt<&TBitBtn::Spacing, &TBitBtn::SetSpacing>("Spacing", 4),
};
ORV_IMPLEMENT_COMPONENT(TBitBtn, TButton, TBitBtn_Props)

// ---------------------------------------------------------------------------------------------
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  FGlyph = New<TBitmap>();
  FGlyph->OnChange = TNotifyEvent::Bind<&TSpeedButton::GlyphChanged>(this);
  SetBounds(0, 0, 23, 22);
  SetControlStyle(StyleOf(csCaptureMouse) | StyleOf(csDoubleClicks));
  SetColor(clBtnFace);
}

TSpeedButton::~TSpeedButton() {
  FGlyph->OnChange = nullptr;
  TObject::Free(FGlyph);
}

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED: CMButtonPressed(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_MOUSEENTER:
      inherited::Dispatch(Message);
      if (Enabled() && !GetCapture()) SetMouseInControl(true);
      break;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      if (!FDragging) SetMouseInControl(false);
      break;
    case CM_SYSCOLORCHANGE:
      inherited::Dispatch(Message);
      Changed();  // the derived disabled image uses system colours
      break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    default: inherited::Dispatch(Message);
  }
}

void TSpeedButton::Loaded() {
  TGraphicControl::Loaded();
  if (FDown) FState = bsExclusive;
  Changed();
}

void TSpeedButton::GlyphChanged(TObject*) { Changed(); }

void TSpeedButton::Changed() {
  FImagesValid = false;
  if (!HasState(csLoading)) Invalidate();
}

const TGlyphImages& TSpeedButton::Images() {
  if (!FImagesValid) {
    FImages.Build(FGlyph, FNumGlyphs);
    FImagesValid = true;
  }
  return FImages;
}

void TSpeedButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  if (const int N = ImagesIn(Value)) SetNumGlyphs(N);
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::clamp(Value, 1, 4);
  if (Value == FNumGlyphs) return;
  FNumGlyphs = Value;
  Changed();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
  if (Value == FMargin || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  if (Value) ExcludeStyle(csOpaque);
  else IncludeStyle(csOpaque);
  Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (Value == FAllowAllUp) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown || (FDown && !FAllowAllUp)) return;
  FDown = Value;
  if (HasState(csLoading)) return;
  FState = Value ? bsExclusive : bsUp;
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent() || HasState(csLoading)) return;
  TMessage M;
  M.Msg = CM_BUTTONPRESSED;
  M.WParam = uintptr_t(FGroupIndex);
  M.LParam = reinterpret_cast<intptr_t>(this);
  Parent()->Broadcast(M);
}

void TSpeedButton::CMButtonPressed(TMessage& Message) {
  auto* Sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
  if (int(Message.WParam) != FGroupIndex || !Sender || Sender == this) return;
  if (Sender->FDown && FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  FAllowAllUp = Sender->FAllowAllUp;
}

void TSpeedButton::CMDialogChar(TMessage& Message) {
  if (IsAccel((unsigned short)Message.WParam, Caption()) && Enabled() && Visible() && Parent() &&
      Parent()->Showing()) {
    Click();
    Message.Result = 1;
  }
}

void TSpeedButton::SetMouseInControl(bool Value) {
  if (Value == FMouseInControl) return;
  FMouseInControl = Value;
  if (FFlat) Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  const bool Inside = ClientRect().Contains(Point(X, Y));
  const TButtonState NewState = FDown ? bsExclusive : Inside ? bsDown : bsUp;
  if (NewState == FState) return;
  FState = NewState;
  Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  const bool DoClick = ClientRect().Contains(Point(X, Y));
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
  } else if (DoClick) {
    SetDown(!FDown);
    if (FDown) FState = bsExclusive;
    Invalidate();
  } else {
    if (FDown) FState = bsExclusive;
    Invalidate();
  }
  if (!DoClick) SetMouseInControl(MouseInClient());
  if (DoClick) Click();
}

TRect TSpeedButton::FaceRect() const {
  TRect R = ClientRect();
  const int Edge = FFlat ? 1 : 2;
  R.Inflate(-Edge, -Edge);
  return R;
}

TButtonContentLayout TSpeedButton::CalcLayout(HDC DC) {
  const TGlyphImages& I = Images();
  const TSize GlyphSize = I.Empty() ? TSize() : TSize(I.Width(), I.Height());
  TRect Content = FaceRect();
  if (Pressed()) Content.Offset(1, 1);
  return CalcButtonLayout(Content, GlyphSize, CaptionSize(DC, GetText()), FLayout, FMargin, FSpacing);
}

TButtonContentLayout TSpeedButton::ContentLayout() {
  TWindowDC DC(nullptr);
  TSelectGuard Sel(DC, Font()->Handle());
  return CalcLayout(DC);
}

void TSpeedButton::Paint() {
  if (!Enabled()) {
    FState = bsDisabled;
    FDragging = false;
  } else if (FState == bsDisabled) {
    FState = FDown ? bsExclusive : bsUp;
  }
  TCanvas* C = Canvas();
  C->SetFont(Font());
  const TRect Client = ClientRect();
  RECT Edge = AsRECT(Client);
  const bool Down = Pressed();
  if (FFlat) {
    if (!FTransparent) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(Color());
      C->FillRect(Client);
    }
    if (Down || (FMouseInControl && FState != bsDisabled) || HasState(csDesigning))
      DrawEdge(C->Handle(), &Edge, Down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else {
    DrawFrameControl(C->Handle(), &Edge, DFC_BUTTON, DFCS_BUTTONPUSH | (Down ? DFCS_PUSHED : 0));
  }
  if (FState == bsExclusive && (!FFlat || !FMouseInControl)) FillPatternRect(C, FaceRect(), clBtnFace, clBtnHighlight);

  const TButtonContentLayout L = CalcLayout(C->Handle());
  const TGlyphImages& I = Images();
  if (!I.Empty()) I.Draw(C->Handle(), L.Glyph.Left, L.Glyph.Top, FState);
  DrawCaption(C->Handle(), GetText(), L.Text, FState == bsDisabled, Font()->Color());
}

static constinit const TPropInfo TSpeedButton_Props[] = {
    ActionProp(),
    PropBool<&TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp>("AllowAllUp", false),
    TControlProps::Anchors(),
    PropInt<&TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex>("GroupIndex", 0),
    PropBool<&TSpeedButton::Down, &TSpeedButton::SetDown>("Down", false),
    TControlProps::Caption(),
    TControlProps::Constraints(),
    TControlProps::Enabled(),
    PropBool<&TSpeedButton::Flat, &TSpeedButton::SetFlat>("Flat", false),
    TControlProps::Font(),
    PropObject<&TSpeedButton::Glyph, &TSpeedButton::SetGlyph>("Glyph"),
    PropEnum<&TSpeedButton::Layout, &TSpeedButton::SetLayout>("Layout", TButtonLayoutType, blGlyphLeft),
    PropInt<&TSpeedButton::Margin, &TSpeedButton::SetMargin>("Margin", -1),
    PropInt<&TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs>("NumGlyphs", 1),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    TControlProps::ShowHint(),
    PropInt<&TSpeedButton::Spacing, &TSpeedButton::SetSpacing>("Spacing", 4),
    PropBool<&TSpeedButton::Transparent, &TSpeedButton::SetTransparent>("Transparent", true),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
};
ORV_IMPLEMENT_COMPONENT(TSpeedButton, TGraphicControl, TSpeedButton_Props)

namespace {
struct TButtonsRegistration {
  TButtonsRegistration() { RegisterClasses({TBitBtn::StaticClass(), TSpeedButton::StaticClass()}); }
} ButtonsRegistration;
}  // namespace
