// Common dialogs: a base over the system's modal dialog functions with their hook procedure,
// the colour and font dialogs, the open and save dialogs, and the message dialog.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/Graphics.h"

#include <initializer_list>

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
  // WM_INITDIALOG reached the hook with Handle set; runs DoShow.
  virtual void DialogInit() { DoShow(); }
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

// ---------------------------------------------------------------------------------------------
enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
  ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
  ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
  ofEnableIncludeNotify, ofEnableSizing,
};
using TOpenOptions = unsigned;  // bit n = TOpenOption n
extern const TEnumType TOpenOptionType;

class TStrings;

// The system's file chooser (GetOpenFileNameA): Explorer style with a child dialog of its own
// (Template, a dialog resource of the program, or the system's empty one), or the old style
// with ofOldStyleDialog. Handle is the child dialog (the old-style dialog itself); the
// Explorer-style dialog window is its parent. While it is open, FileName is the selection the
// dialog shows.
class TOpenDialog : public TCommonDialog {
  ORV_CLASS(TOpenDialog, TCommonDialog)
public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  bool Execute() override;

  AnsiString DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const AnsiString& Value) { FDefaultExt = Value; }
  AnsiString FileName() const;
  void SetFileName(const AnsiString& Value) { FFileName = Value; }
  // The chosen files: with ofAllowMultiSelect every one, else FileName alone.
  TStrings* Files() const { return FFiles; }
  // "Description|Pattern|Description|Pattern...".
  AnsiString Filter() const { return FFilter; }
  void SetFilter(const AnsiString& Value) { FFilter = Value; }
  // 1-based.
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  AnsiString InitialDir() const { return FInitialDir; }
  void SetInitialDir(const AnsiString& Value) { FInitialDir = Value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }
  bool HasOption(TOpenOption O) const { return (FOptions >> O) & 1u; }
  AnsiString Title() const { return FTitle; }
  void SetTitle(const AnsiString& Value) { FTitle = Value; }
  // Name of the dialog resource (in the program) of the Explorer-style child dialog; its static
  // control stc32 (0x045F) is where the system puts its own controls. Empty: none.
  AnsiString Template() const { return FTemplate; }
  void SetTemplate(const AnsiString& Value) { FTemplate = Value; }
  // The rectangle of the system's controls in Handle's client coordinates: stc32's, else the
  // dialog's client rectangle (Handle's in the old style); empty while closed.
  TRect GetStaticRect() const;

  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnFolderChange;
  // Before the dialog closes with OK; CanClose false keeps it open.
  TCloseQueryEvent OnCanClose;

protected:
  void DialogInit() override;
  bool MessageHook(TMessage& Message) override;
  virtual void DoSelectionChange();
  virtual void DoFolderChange();
  virtual bool DoCanClose();
  // Runs the dialog through GetOpenFileNameA or GetSaveFileNameA.
  bool DoExecute(bool Save);

private:
  AnsiString FDefaultExt;
  AnsiString FFileName;
  TStrings* FFiles;
  AnsiString FFilter;
  int FFilterIndex = 1;
  AnsiString FInitialDir;
  TOpenOptions FOptions = (1u << ofHideReadOnly) | (1u << ofEnableSizing);
  AnsiString FTitle;
  AnsiString FTemplate;
};

// The system's save chooser (GetSaveFileNameA), otherwise as TOpenDialog.
class TSaveDialog : public TOpenDialog {
  ORV_CLASS(TSaveDialog, TOpenDialog)
public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
  bool Execute() override;
};

// ---------------------------------------------------------------------------------------------
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = unsigned;  // bit n = TMsgDlgBtn n
constexpr TMsgDlgButtons MsgDlgButtons(std::initializer_list<TMsgDlgBtn> Buttons) {
  TMsgDlgButtons Set = 0;
  for (TMsgDlgBtn B : Buttons) Set |= 1u << B;
  return Set;
}
constexpr TMsgDlgButtons mbYesNoCancel = MsgDlgButtons({mbYes, mbNo, mbCancel});
constexpr TMsgDlgButtons mbYesAllNoAllCancel = MsgDlgButtons({mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel});
constexpr TMsgDlgButtons mbOKCancel = MsgDlgButtons({mbOK, mbCancel});
constexpr TMsgDlgButtons mbAbortRetryIgnore = MsgDlgButtons({mbAbort, mbRetry, mbIgnore});
constexpr TMsgDlgButtons mbAbortIgnore = MsgDlgButtons({mbAbort, mbIgnore});

// The message form, not yet shown (the caller frees it): a dialog captioned after the type
// ("Warning", "Error", "Information", "Confirm"; the application's title for mtCustom), with
// the type's system icon ("Image"), the text word-wrapped to half the screen's width
// ("Message") and a row of buttons in the order of TMsgDlgBtn ("Yes", "No", "OK", "Cancel",
// "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help"), each closing the form with
// its modal result (Help shows the form's help topic instead). OK, else Yes, is the default
// button; Cancel, else No, else OK answers Escape.
TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// Shows the message form modally, centred on the screen, with HelpCtx as its help topic; the
// modal result of the button pressed (mrCancel when the form was closed otherwise).
int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
