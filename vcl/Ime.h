// Ime: the input method a windowed control asks for while it has the focus (ImeMode, ImeName),
// applied through imm32 and the keyboard layouts when its window gets the focus and put back
// when it loses it.
#pragma once

#include "vcl/Win.h"
#include <imm.h>
#include "rtl/System.h"
#include "rtl/TypInfo.h"

// What the input method should be while the control has the focus: imDontCare leaves it alone;
// imDisable takes the input context away; imClose and imOpen set its open state; the others
// open it in a conversion mode (half- or full-width alphanumerics, hiragana, half- or
// full-width katakana, Chinese, half- or full-width hangul).
enum TImeMode {
  imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese,
  imSHanguel, imHanguel,
};
extern const TEnumType TImeModeType;
// The name of an installed input method (one of Screen->Imes); empty for the current one.
using TImeName = AnsiString;

// What a control changed when it got the focus, so that losing it puts exactly that back.
struct TImeChanges {
  HWND Window = nullptr;        // the window the changes were made on
  bool Detached = false;        // its input context was taken away (imDisable) ...
  HIMC Context = nullptr;       // ... and this is the one to give back
  bool OpenSet = false;         // the open state was set; OldOpen is what it was
  bool OldOpen = false;
  bool ConversionSet = false;   // the conversion mode was set; OldConversion/OldSentence it was
  DWORD OldConversion = 0;
  DWORD OldSentence = 0;
  HKL OldLayout = nullptr;      // the keyboard layout before a named input method was activated
};

// Applies Mode and Name to Wnd (the window that has the focus) and records what changed.
void ImeApply(HWND Wnd, TImeMode Mode, const AnsiString& Name, TImeChanges& Changes);
// Puts back what ImeApply changed and clears Changes.
void ImeRestore(TImeChanges& Changes);
// The installed input method called Name (case-insensitive), null when there is none.
HKL FindImeLayout(const AnsiString& Name);
