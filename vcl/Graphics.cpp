// Colours, fonts, pens, brushes and the canvas.
#include "vcl/Graphics.h"

#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------------------------------------
// Colours

namespace {

struct TIdentMapEntry {
  int Value;
  const char* Name;
};

// The listed colours (GetColorValues): the basic ones, the system colours in index order, clNone.
constexpr TIdentMapEntry ColorMap[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
};

// Named, read and written, but not listed.
constexpr TIdentMapEntry ColorExtraMap[] = {
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clDefault, "clDefault"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
};

// Accepted when reading, never produced.
constexpr TIdentMapEntry ColorAliases[] = {
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
};

constexpr TIdentMapEntry CharsetMap[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

template <size_t N>
bool MapToIdent(const TIdentMapEntry (&Map)[N], int Value, AnsiString& Ident) {
  for (const auto& E : Map)
    if (E.Value == Value) { Ident = E.Name; return true; }
  return false;
}

template <size_t N>
bool MapToInt(const TIdentMapEntry (&Map)[N], const AnsiString& Ident, int& Value) {
  for (const auto& E : Map)
    if (SameText(Ident, E.Name)) { Value = E.Value; return true; }
  return false;
}

int ScreenPixelsPerInch() {
  static const int Value = [] {
    TWindowDC DC;
    int V = DC ? GetDeviceCaps(DC, LOGPIXELSY) : 96;
    return V > 0 ? V : 96;
  }();
  return Value;
}

}  // namespace

TColor ColorToRGB(TColor Color) {
  if (Color < 0) return TColor(GetSysColor(Color & 0xFF));
  return Color;
}

bool ColorToIdent(int Color, AnsiString& Ident) {
  return MapToIdent(ColorMap, Color, Ident) || MapToIdent(ColorExtraMap, Color, Ident);
}

bool IdentToColor(const AnsiString& Ident, int& Color) {
  return MapToInt(ColorMap, Ident, Color) || MapToInt(ColorExtraMap, Ident, Color) ||
         MapToInt(ColorAliases, Ident, Color);
}

AnsiString ColorToString(TColor Color) {
  AnsiString S;
  if (ColorToIdent(Color, S)) return S;
  return "$" + IntToHex((long long)(uint32_t)Color, 8);
}

TColor StringToColor(const AnsiString& S) {
  int V;
  if (IdentToColor(S, V)) return V;
  return StrToInt(S);
}

void GetColorValues(const TGetStrProc& Proc) {
  for (const auto& E : ColorMap) Proc(E.Name);
}

bool CharsetToIdent(int Charset, AnsiString& Ident) { return MapToIdent(CharsetMap, Charset, Ident); }
bool IdentToCharset(const AnsiString& Ident, int& Charset) { return MapToInt(CharsetMap, Ident, Charset); }
void GetCharsetValues(const TGetStrProc& Proc) {
  for (const auto& E : CharsetMap) Proc(E.Name);
}

constexpr TEnumType TFontStyleType{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
constexpr TEnumType TFontPitchType{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}};
constexpr TEnumType TPenStyleType{
    "TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
constexpr TEnumType TPenModeType{
    "TPenMode", {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot",
                 "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor",
                 "pmNotXor"}};
constexpr TEnumType TBrushStyleType{
    "TBrushStyle",
    {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"}};

// ---------------------------------------------------------------------------------------------
// Graphics objects

ORV_IMPLEMENT_CLASS(TGraphicsObject, TPersistent)

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// Fonts

static constinit const TPropInfo TFont_Props[] = {
    OrdinalProp<&TFont::Charset, &TFont::SetCharset>("Charset", tkInteger, "TFontCharset", nullptr, false, 0),
    OrdinalProp<&TFont::Color, &TFont::SetColor>("Color", tkInteger, "TColor", nullptr, false, 0),
    OrdinalProp<&TFont::Height, &TFont::SetHeight>("Height", tkInteger, "Integer", nullptr, false, 0),
    PropStr<&TFont::Name, &TFont::SetName>("Name"),
    PropEnum<&TFont::Pitch, &TFont::SetPitch>("Pitch", TFontPitchType, fpDefault),
    OrdinalProp<&TFont::Size, &TFont::SetSize>("Size", tkInteger, "Integer", nullptr, false, 0, NeverStored),
    OrdinalProp<&TFont::Style, &TFont::SetStyle>("Style", tkSet, nullptr, &TFontStyleType, false, 0),
};
ORV_IMPLEMENT_ABSTRACT(TFont, TGraphicsObject, TFont_Props)

TFont::TFont()
    : FColor(clWindowText), FName("MS Sans Serif"), FPixelsPerInch(ScreenPixelsPerInch()) {
  FHeight = -MulDiv(8, FPixelsPerInch, 72);
}

TFont::~TFont() = default;

LOGFONTA TFont::LogFont() const {
  if (FForeign) return *FForeign;
  LOGFONTA LF{};
  LF.lfHeight = FHeight;
  LF.lfWeight = (FStyle & FontStyle(fsBold)) ? FW_BOLD : FW_NORMAL;
  LF.lfItalic = (FStyle & FontStyle(fsItalic)) ? 1 : 0;
  LF.lfUnderline = (FStyle & FontStyle(fsUnderline)) ? 1 : 0;
  LF.lfStrikeOut = (FStyle & FontStyle(fsStrikeOut)) ? 1 : 0;
  LF.lfCharSet = BYTE(FCharset);
  LF.lfOutPrecision = OUT_DEFAULT_PRECIS;
  LF.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  LF.lfQuality = DEFAULT_QUALITY;
  LF.lfPitchAndFamily = FPitch == fpVariable ? VARIABLE_PITCH : FPitch == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
  const char* Face = SameText(FName, "Default") ? "MS Sans Serif" : FName.c_str();
  lstrcpynA(LF.lfFaceName, Face, LF_FACESIZE);
  return LF;
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTA LF = LogFont();
    FHandle.Reset(CreateFontIndirectA(&LF));
    if (!FHandle) throw EOutOfResources("Out of system resources");
  }
  return FHandle.Get();
}

// The old handle is freed only after OnChange, so a canvas can deselect it first.
void TFont::Modified() {
  FForeign.reset();
  TFontOwner Old(FHandle.Release());
  Changed();
}

void TFont::SetHandle(HFONT Value) {
  if (Value == FHandle.Get()) return;
  TFontOwner Old(FHandle.Release());
  FForeign.reset();
  LOGFONTA LF{};
  if (Value && GetObjectA(Value, sizeof(LF), &LF) != 0) {
    FForeign = LF;
    FHeight = LF.lfHeight;
    FName = LF.lfFaceName;
    FStyle = (LF.lfWeight >= FW_BOLD ? FontStyle(fsBold) : 0) | (LF.lfItalic ? FontStyle(fsItalic) : 0) |
             (LF.lfUnderline ? FontStyle(fsUnderline) : 0) | (LF.lfStrikeOut ? FontStyle(fsStrikeOut) : 0);
    FCharset = LF.lfCharSet;
    int P = LF.lfPitchAndFamily & 3;
    FPitch = P == VARIABLE_PITCH ? fpVariable : P == FIXED_PITCH ? fpFixed : fpDefault;
    FHandle.Reset(Value);
  }
  Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* F = dynamic_cast<TFont*>(Source)) {
    if (F == this) return;
    TFontOwner Old(FHandle.Release());
    FForeign = F->FForeign;
    FHeight = F->FHeight;
    FName = F->FName;
    FStyle = F->FStyle;
    FPitch = F->FPitch;
    FCharset = F->FCharset;
    FColor = F->FColor;
    if (FPixelsPerInch != F->FPixelsPerInch && !FForeign) FHeight = -MulDiv(F->Size(), FPixelsPerInch, 72);
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  if (Value == FHeight && !FForeign) return;
  FHeight = Value;
  Modified();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, FPixelsPerInch, 72)); }

void TFont::SetName(const AnsiString& Value) {
  if (Value.IsEmpty() || (Value == FName && !FForeign)) return;
  FName = Value.Length() < LF_FACESIZE ? Value : Value.SubString(1, LF_FACESIZE - 1);
  Modified();
}

void TFont::SetStyle(TFontStyles Value) {
  Value &= 0xF;
  if (Value == FStyle && !FForeign) return;
  FStyle = Value;
  Modified();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch && !FForeign) return;
  FPitch = Value;
  Modified();
}

void TFont::SetCharset(TFontCharset Value) {
  Value &= 0xFF;
  if (Value == FCharset && !FForeign) return;
  FCharset = Value;
  Modified();
}

// Pens

static constinit const TPropInfo TPen_Props[] = {
    PropColor<&TPen::Color, &TPen::SetColor>("Color", clBlack),
    PropEnum<&TPen::Mode, &TPen::SetMode>("Mode", TPenModeType, pmCopy),
    PropEnum<&TPen::Style, &TPen::SetStyle>("Style", TPenStyleType, psSolid),
    PropInt<&TPen::Width, &TPen::SetWidth>("Width", 1),
};
ORV_IMPLEMENT_ABSTRACT(TPen, TGraphicsObject, TPen_Props)

namespace {
constexpr int PenStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
constexpr int PenModes[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                            R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,
                            R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
}  // namespace

void TPen::Modified() {
  TPenOwner Old(FHandle.Release());
  Changed();
}

HPEN TPen::Handle() {
  if (!FHandle) {
    FHandle.Reset(CreatePen(PenStyles[FStyle], FWidth, COLORREF(ColorToRGB(FColor))));
    if (!FHandle) throw EOutOfResources("Out of system resources");
  }
  return FHandle.Get();
}

void TPen::SetHandle(HPEN Value) {
  if (Value == FHandle.Get()) return;
  TPenOwner Old(FHandle.Release());
  LOGPEN LP{};
  if (Value && GetObjectA(Value, sizeof(LP), &LP) != 0) {
    FColor = TColor(LP.lopnColor);
    FWidth = LP.lopnWidth.x;
    int S = int(LP.lopnStyle & PS_STYLE_MASK);
    FStyle = psSolid;
    for (int I = 0; I < int(std::size(PenStyles)); ++I)
      if (PenStyles[I] == S) FStyle = TPenStyle(I);
    FHandle.Reset(Value);
  }
  Changed();
}

void TPen::Assign(TPersistent* Source) {
  if (auto* P = dynamic_cast<TPen*>(Source)) {
    if (P == this) return;
    FColor = P->FColor;
    FWidth = P->FWidth;
    FStyle = P->FStyle;
    FMode = P->FMode;
    Modified();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Modified();
}

void TPen::SetWidth(int Value) {
  if (Value < 0) Value = 0;
  if (Value == FWidth) return;
  FWidth = Value;
  Modified();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle || unsigned(Value) >= std::size(PenStyles)) return;
  FStyle = Value;
  Modified();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode || unsigned(Value) >= std::size(PenModes)) return;
  FMode = Value;
  Changed();  // the mode is a DC setting, not part of the handle
}

// Brushes

static constinit const TPropInfo TBrush_Props[] = {
    PropColor<&TBrush::Color, &TBrush::SetColor>("Color", clWhite),
    PropEnum<&TBrush::Style, &TBrush::SetStyle>("Style", TBrushStyleType, bsSolid),
};
ORV_IMPLEMENT_ABSTRACT(TBrush, TGraphicsObject, TBrush_Props)

void TBrush::Modified() {
  TBrushOwner Old(FHandle.Release());
  Changed();
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    if (FBitmap && !FBitmap->Empty()) {
      FHandle.Reset(CreatePatternBrush(FBitmap->Handle()));
    } else {
      LOGBRUSH LB{};
      LB.lbColor = COLORREF(ColorToRGB(FColor));
      if (FStyle == bsSolid) LB.lbStyle = BS_SOLID;
      else if (FStyle == bsClear) LB.lbStyle = BS_HOLLOW;
      else { LB.lbStyle = BS_HATCHED; LB.lbHatch = ULONG_PTR(FStyle - bsHorizontal); }
      FHandle.Reset(CreateBrushIndirect(&LB));
    }
    if (!FHandle) throw EOutOfResources("Out of system resources");
  }
  return FHandle.Get();
}

void TBrush::SetHandle(HBRUSH Value) {
  if (Value == FHandle.Get()) return;
  TBrushOwner Old(FHandle.Release());
  LOGBRUSH LB{};
  if (Value && GetObjectA(Value, sizeof(LB), &LB) != 0) {
    FBitmap = nullptr;
    FColor = TColor(LB.lbColor);
    if (LB.lbStyle == BS_HOLLOW) FStyle = bsClear;
    else if (LB.lbStyle == BS_HATCHED && LB.lbHatch <= HS_DIAGCROSS) FStyle = TBrushStyle(bsHorizontal + LB.lbHatch);
    else FStyle = bsSolid;
    FHandle.Reset(Value);
  }
  Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TBrush*>(Source)) {
    if (B == this) return;
    FColor = B->FColor;
    FStyle = B->FStyle;
    FBitmap = B->FBitmap;
    Modified();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && !FBitmap && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  FBitmap = nullptr;
  Modified();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if ((Value == FStyle && !FBitmap) || unsigned(Value) > bsDiagCross) return;
  FStyle = Value;
  FBitmap = nullptr;
  Modified();
}

void TBrush::SetBitmap(TBitmap* Value) {
  if (Value == FBitmap) return;
  FBitmap = Value;
  Modified();
}

// ---------------------------------------------------------------------------------------------
// Canvas

ORV_IMPLEMENT_CLASS(TCanvas, TPersistent)

TCanvas::TCanvas() {
  InitializeCriticalSection(&FLock);
  FFont = new TFont;
  FPen = new TPen;
  FBrush = new TBrush;
  FFont->OnChange = TNotifyEvent::Bind<&TCanvas::FontChanged>(this);
  FPen->OnChange = TNotifyEvent::Bind<&TCanvas::PenChanged>(this);
  FBrush->OnChange = TNotifyEvent::Bind<&TCanvas::BrushChanged>(this);
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  TObject::Free(FFont);
  TObject::Free(FPen);
  TObject::Free(FBrush);
  DeleteCriticalSection(&FLock);
}

HDC TCanvas::Handle() {
  Changing();
  RequiredState(csAllValid);
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (Value == FHandle) return;
  if (FHandle) {
    DeselectHandles();
    POINT P;
    if (GetCurrentPositionEx(FHandle, &P)) FPenPos = P;
    FHandle = nullptr;
    FState &= ~csHandleValid;
  }
  if (Value) {
    FHandle = Value;
    FState |= csHandleValid;
    MoveToEx(Value, FPenPos.X, FPenPos.Y, nullptr);
  }
}

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FState & csFontValid) SelectObject(FHandle, FOldFont ? FOldFont : GetStockObject(SYSTEM_FONT));
  if (FState & csPenValid) SelectObject(FHandle, FOldPen ? FOldPen : GetStockObject(BLACK_PEN));
  if (FState & csBrushValid) SelectObject(FHandle, FOldBrush ? FOldBrush : GetStockObject(HOLLOW_BRUSH));
  FState &= ~(csFontValid | csPenValid | csBrushValid);
  FOldFont = FOldPen = FOldBrush = nullptr;
}

void TCanvas::RequiredState(unsigned ReqState) {
  unsigned Need = ReqState & ~FState;
  if (!Need) return;
  if (Need & csHandleValid) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    FState |= csHandleValid;
  }
  if (Need & csFontValid) SelectFont();
  if (Need & csPenValid) SelectPen();
  if (Need & csBrushValid) SelectBrush();
}

void TCanvas::SelectFont() {
  HGDIOBJ Old = SelectObject(FHandle, FFont->Handle());
  if (!(FState & csFontValid)) FOldFont = Old;
  SetTextColor(FHandle, COLORREF(ColorToRGB(FFont->Color())));
  FState |= csFontValid;
}

void TCanvas::SelectPen() {
  HGDIOBJ Old = SelectObject(FHandle, FPen->Handle());
  if (!(FState & csPenValid)) FOldPen = Old;
  SetROP2(FHandle, PenModes[FPen->Mode()]);
  FState |= csPenValid;
}

void TCanvas::SelectBrush() {
  HBRUSH B = FBrush->Handle();
  UnrealizeObject(B);
  HGDIOBJ Old = SelectObject(FHandle, B);
  if (!(FState & csBrushValid)) FOldBrush = Old;
  if (FBrush->Style() == bsSolid) {
    SetBkColor(FHandle, COLORREF(ColorToRGB(FBrush->Color())));
    SetBkMode(FHandle, OPAQUE);
  } else {
    // Hatches vanish on some systems when the background equals the brush colour.
    SetBkColor(FHandle, ~COLORREF(ColorToRGB(FBrush->Color())) & 0xFFFFFF);
    SetBkMode(FHandle, TRANSPARENT);
  }
  FState |= csBrushValid;
}

void TCanvas::FontChanged(TObject*) {
  if (FState & csFontValid) {
    SelectObject(FHandle, FOldFont ? FOldFont : GetStockObject(SYSTEM_FONT));
    FOldFont = nullptr;
    FState &= ~csFontValid;
  }
}

void TCanvas::PenChanged(TObject*) {
  if (FState & csPenValid) {
    SelectObject(FHandle, FOldPen ? FOldPen : GetStockObject(BLACK_PEN));
    FOldPen = nullptr;
    FState &= ~csPenValid;
  }
}

void TCanvas::BrushChanged(TObject*) {
  if (FState & csBrushValid) {
    SelectObject(FHandle, FOldBrush ? FOldBrush : GetStockObject(HOLLOW_BRUSH));
    FOldBrush = nullptr;
    FState &= ~csBrushValid;
  }
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
  RequiredState(csHandleValid);
  POINT P;
  GetCurrentPositionEx(FHandle, &P);
  return P;
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FillRect(FHandle, &AsRECT(R), FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FrameRect(FHandle, &AsRECT(R), FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::DrawFocusRect(FHandle, &AsRECT(R));
  Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ExtFloodFill(FHandle, X, Y, COLORREF(ColorToRGB(Color)),
               FillStyle == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState(csHandleValid);
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  if (!Points.empty()) ::Polygon(FHandle, AsPOINTPtr(Points.data()), int(Points.size()));
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  if (!Points.empty()) ::Polyline(FHandle, AsPOINTPtr(Points.data()), int(Points.size()));
  Changed();
}

void TCanvas::PolyBezier(std::span<const TPoint> Points) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  if (!Points.empty()) ::PolyBezier(FHandle, AsPOINTPtr(Points.data()), DWORD(Points.size()));
  Changed();
}

TColor TCanvas::Pixels(int X, int Y) {
  RequiredState(csHandleValid);
  return TColor(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  SetPixel(FHandle, X, Y, COLORREF(ColorToRGB(Value)));
  Changed();
}

void TCanvas::TextOut(int X, int Y, const AnsiString& Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  ExtTextOutA(FHandle, X, Y, UINT(FTextFlags), nullptr, Text.c_str(), UINT(Text.Length()), nullptr);
  MoveToEx(FHandle, X + TextWidth(Text), Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const AnsiString& Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  UINT Options = ETO_CLIPPED | UINT(FTextFlags);
  if (FBrush->Style() != bsClear) Options |= ETO_OPAQUE;
  ExtTextOutA(FHandle, X, Y, Options, &AsRECT(R), Text.c_str(), UINT(Text.Length()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const AnsiString& Text) {
  RequiredState(csHandleValid | csFontValid);
  SIZE S{0, 0};
  GetTextExtentPoint32A(FHandle, Text.c_str(), Text.Length(), &S);
  return S;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (Graphic && !Graphic->Empty()) Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (Graphic && !Graphic->Empty()) Graphic->Draw(this, R);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  Canvas->RequiredState(csHandleValid | csBrushValid);
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle, Source.Left, Source.Top,
             Source.Width(), Source.Height(), DWORD(FCopyMode));
  Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->Empty()) return;
  const int SW = Source.Width(), SH = Source.Height();
  if (SW == 0 || SH == 0) return;
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  HDC Src = Bitmap->SourceDC();
  // Mask: 1 where the source has Color (a monochrome device bitmap takes the source
  // background colour as white).
  TBitmapOwner Mask(CreateBitmap(std::abs(SW), std::abs(SH), 1, 1, nullptr));
  TMemoryDC MaskDC(FHandle);
  if (!Mask || !MaskDC) throw EOutOfResources("Out of system resources");
  {
    TSelectGuard SelMask(MaskDC, Mask);
    COLORREF OldBk = SetBkColor(Src, COLORREF(ColorToRGB(Color)));
    BitBlt(MaskDC, 0, 0, std::abs(SW), std::abs(SH), Src, std::min(Source.Left, Source.Right),
           std::min(Source.Top, Source.Bottom), SRCCOPY);
    SetBkColor(Src, OldBk);
    // Source, then the brush where the mask is white (DSPDxax).
    StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Src, Source.Left, Source.Top, SW, SH,
               SRCCOPY);
    COLORREF OldText = SetTextColor(FHandle, RGB(0, 0, 0));
    COLORREF OldBack = SetBkColor(FHandle, RGB(255, 255, 255));
    StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), MaskDC, SW < 0 ? -SW - 1 : 0,
               SH < 0 ? -SH - 1 : 0, SW, SH, 0x00E20746);
    SetTextColor(FHandle, OldText);
    SetBkColor(FHandle, OldBack);
  }
  Changed();
}

TRect TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  RECT R{};
  GetClipBox(FHandle, &R);
  return R;
}

void TCanvas::Lock() {
  EnterCriticalSection(&FLock);
  ++FLockCount;
}

void TCanvas::Unlock() {
  --FLockCount;
  LeaveCriticalSection(&FLock);
}

bool TCanvas::TryLock() {
  if (!TryEnterCriticalSection(&FLock)) return false;
  ++FLockCount;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Registration

namespace {
struct TGraphicsRegistration {
  TGraphicsRegistration() {
    RegisterIntegerConsts("TColor", IdentToColor, ColorToIdent);
    RegisterIntegerConsts("TFontCharset", IdentToCharset, CharsetToIdent);
    RegisterClasses({TFont::StaticClass(), TPen::StaticClass(), TBrush::StaticClass(), TBitmap::StaticClass(),
                     TIcon::StaticClass(), TPicture::StaticClass()});
  }
} GraphicsRegistration;
}  // namespace
