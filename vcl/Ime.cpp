#include "vcl/Ime.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"

#include <vector>

constexpr TEnumType TImeModeType{"TImeMode",
                                 {"imDisable", "imClose", "imOpen", "imDontCare", "imSAlpha", "imAlpha", "imHira",
                                  "imSKata", "imKata", "imChinese", "imSHanguel", "imHanguel"}};

namespace {

// The conversion mode each of the converting modes asks for.
DWORD ConversionOf(TImeMode Mode) {
  switch (Mode) {
    case imSAlpha: return IME_CMODE_ALPHANUMERIC;
    case imAlpha: return IME_CMODE_FULLSHAPE;
    case imHira: return IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
    case imSKata: return IME_CMODE_NATIVE | IME_CMODE_KATAKANA;
    case imKata: return IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE;
    case imChinese: return IME_CMODE_NATIVE;
    case imSHanguel: return IME_CMODE_NATIVE;
    case imHanguel: return IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
    default: return 0;
  }
}

// The bits of the conversion mode that the modes choose between; the others stay as they are.
constexpr DWORD ConversionMask = IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE;

}  // namespace

HKL FindImeLayout(const AnsiString& Name) {
  if (Name.IsEmpty() || !Screen) return nullptr;
  TStrings* Imes = Screen->Imes();
  int I = Imes->IndexOf(Name);
  return I < 0 ? nullptr : reinterpret_cast<HKL>(Imes->Objects(I));
}

void ImeApply(HWND Wnd, TImeMode Mode, const AnsiString& Name, TImeChanges& Changes) {
  ImeRestore(Changes);
  if (!Wnd) return;
  Changes.Window = Wnd;
  if (HKL Layout = FindImeLayout(Name); Layout && Layout != GetKeyboardLayout(0))
    Changes.OldLayout = ActivateKeyboardLayout(Layout, 0);
  if (Mode == imDontCare) return;
  if (Mode == imDisable) {
    Changes.Context = ImmAssociateContext(Wnd, nullptr);
    Changes.Detached = true;
    return;
  }
  HIMC Context = ImmGetContext(Wnd);
  if (!Context) return;
  Changes.OldOpen = ImmGetOpenStatus(Context) != FALSE;
  const bool Open = Mode != imClose;
  if (ImmSetOpenStatus(Context, Open)) Changes.OpenSet = true;
  if (Mode != imClose && Mode != imOpen) {
    DWORD Conversion = 0, Sentence = 0;
    if (ImmGetConversionStatus(Context, &Conversion, &Sentence)) {
      DWORD Wanted = (Conversion & ~ConversionMask) | ConversionOf(Mode);
      if (ImmSetConversionStatus(Context, Wanted, Sentence)) {
        Changes.ConversionSet = true;
        Changes.OldConversion = Conversion;
        Changes.OldSentence = Sentence;
      }
    }
  }
  ImmReleaseContext(Wnd, Context);
}

void ImeRestore(TImeChanges& Changes) {
  HWND Wnd = Changes.Window;
  if (Wnd && IsWindow(Wnd)) {
    if (Changes.Detached) ImmAssociateContext(Wnd, Changes.Context);
    if (Changes.OpenSet || Changes.ConversionSet) {
      if (HIMC Context = ImmGetContext(Wnd)) {
        if (Changes.ConversionSet) ImmSetConversionStatus(Context, Changes.OldConversion, Changes.OldSentence);
        if (Changes.OpenSet) ImmSetOpenStatus(Context, Changes.OldOpen);
        ImmReleaseContext(Wnd, Context);
      }
    }
  }
  if (Changes.OldLayout) ActivateKeyboardLayout(Changes.OldLayout, 0);
  Changes = TImeChanges{};
}

// ---------------------------------------------------------------------------------------------
// TWinControl

void TWinControl::SetImeMode(TImeMode Value) {
  if (FImeMode == Value) return;
  FImeMode = Value;
  if (!HasState(csLoading) && HandleAllocated() && Focused()) SetIme();
}

void TWinControl::SetImeName(const AnsiString& Value) {
  if (FImeName == Value) return;
  FImeName = Value;
  if (!HasState(csLoading) && HandleAllocated() && Focused()) SetIme();
}

void TWinControl::SetIme() {
  if (HasState(csDesigning)) return;
  if (FImeMode == imDontCare && FImeName.IsEmpty()) {
    ResetIme();
    return;
  }
  // The window with the focus: this one, or a child window of it (a combo box's edit).
  HWND Focus = GetFocus();
  if (!Focus || !FHandle || (Focus != FHandle && !IsChild(FHandle, Focus))) return;
  ImeApply(Focus, FImeMode, FImeName, FImeChanges);
}

void TWinControl::ResetIme() { ImeRestore(FImeChanges); }

// ---------------------------------------------------------------------------------------------
// TScreen

TStrings* TScreen::Imes() {
  if (FImes) return FImes;
  FImes = new TStringList();
  int Count = GetKeyboardLayoutList(0, nullptr);
  std::vector<HKL> Layouts(size_t(Count > 0 ? Count : 0));
  if (Count > 0) Count = GetKeyboardLayoutList(Count, Layouts.data());
  for (int I = 0; I < Count; ++I) {
    HKL Layout = Layouts[size_t(I)];
    if (!ImmIsIME(Layout)) continue;
    UINT Length = ImmGetDescriptionA(Layout, nullptr, 0);
    if (Length == 0) continue;
    std::vector<char> Buffer(Length + 1);
    Length = ImmGetDescriptionA(Layout, Buffer.data(), Length + 1);
    if (Length == 0) continue;
    FImes->AddObject(AnsiString(Buffer.data(), int(Length)), reinterpret_cast<TObject*>(Layout));
  }
  return FImes;
}
