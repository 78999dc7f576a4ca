// Common dialogs: a base over the system's modal dialog functions with their hook procedure,
// and the colour and font dialogs.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Graphics.h"

// A system dialog shown modally by Execute. While it is open, Handle is its window and its
// messages pass MessageHook before the system handles them.
class TCommonDialog : public TComponent {
  ORV_CLASS(TCommonDialog, TComponent)
public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  // True when the user accepted the dialog.
  virtual bool Execute() = 0;
  HWND Handle() const { return FHandle; }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

protected:
  virtual void DoShow();
  virtual void DoClose();
  // A message of the open dialog's window; true when it is handled and the system must not
  // see it.
  virtual bool MessageHook(TMessage& Message) { return false; }
  // The window the dialog belongs to: the active window of this thread, else the application's.
  HWND OwnerWindow() const;
  // Runs the system's dialog function (ShowDialog, given the hook procedure to install) with
  // this object as the dialog being opened; its result.
  template <class F> bool TaskModalDialog(F ShowDialog) {
    TCreating Creating(this);
    return ShowDialog(&DialogHook) != 0;
  }
  static UINT_PTR CALLBACK DialogHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

private:
  // The dialog being opened on this thread, found by the hook at WM_INITDIALOG.
  struct TCreating {
    TCommonDialog* Saved;
    explicit TCreating(TCommonDialog* D);
    ~TCreating();
    TCreating(const TCreating&) = delete;
    TCreating& operator=(const TCreating&) = delete;
  };
  HWND FHandle = nullptr;
};

// ---------------------------------------------------------------------------------------------
enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = unsigned;  // bit n = TColorDialogOption n
extern const TEnumType TColorDialogOptionType;

// The system's colour chooser (ChooseColorA), opened on Color.
class TColorDialog : public TCommonDialog {
  ORV_CLASS(TColorDialog, TCommonDialog)
public:
  explicit TColorDialog(TComponent* AOwner);
  bool Execute() override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TColorDialogOptions Options() const { return FOptions; }
  void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

private:
  TColor FColor = clBlack;
  TColorDialogOptions FOptions = 0;
  COLORREF FCustomColors[16];  // the dialog's custom colours, kept between openings
};

// ---------------------------------------------------------------------------------------------
enum TFontDialogOption {
  fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, fdNoOEMFonts,
  fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg, fdLimitSize,
  fdScalableOnly, fdApplyButton,
};
using TFontDialogOptions = unsigned;  // bit n = TFontDialogOption n
extern const TEnumType TFontDialogOptionType;

// The system's font chooser (ChooseFontA) over the screen fonts, opened on Font.
class TFontDialog : public TCommonDialog {
  ORV_CLASS(TFontDialog, TCommonDialog)
public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  bool Execute() override;

  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TFontDialogOptions Options() const { return FOptions; }
  void SetOptions(TFontDialogOptions Value) { FOptions = Value; }
  // Point sizes offered with fdLimitSize (0: no limit).
  int MinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(int Value) { FMinFontSize = Value; }
  int MaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(int Value) { FMaxFontSize = Value; }

private:
  TFont* FFont;
  TFontDialogOptions FOptions = 1u << fdEffects;
  int FMinFontSize = 0;
  int FMaxFontSize = 0;
};
