// Common dialogs over comdlg32, and the message dialog.
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <commdlg.h>
#include <cstring>

#include <algorithm>
#include <vector>

namespace {
thread_local TCommonDialog* GCreatingDialog = nullptr;
const char* const DialogProp = "OrvalenCommonDialog";
}  // namespace

TCommonDialog::TCreating::TCreating(TCommonDialog* D) : Saved(GCreatingDialog) { GCreatingDialog = D; }
TCommonDialog::TCreating::~TCreating() { GCreatingDialog = Saved; }

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

HWND TCommonDialog::OwnerWindow() const {
  HWND Active = GetActiveWindow();
  if (Active && GetWindowThreadProcessId(Active, nullptr) == GetCurrentThreadId()) return Active;
  return Application ? Application->Handle() : nullptr;
}

UINT_PTR CALLBACK TCommonDialog::DialogHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  try {
    auto* D = static_cast<TCommonDialog*>(GetPropA(Wnd, DialogProp));
    if (Msg == WM_INITDIALOG && !D && GCreatingDialog) {
      D = GCreatingDialog;
      GCreatingDialog = nullptr;
      SetPropA(Wnd, DialogProp, D);
      D->FHandle = Wnd;
      D->DialogInit();
    }
    if (!D) return 0;
    TMessage M{Msg, WParam, LParam, 0};
    const bool Handled = D->MessageHook(M);
    if (Msg == WM_DESTROY) {
      RemovePropA(Wnd, DialogProp);
      // The handle stays live for the close handler and goes also when that raises.
      try {
        D->DoClose();
      } catch (...) {
        D->FHandle = nullptr;
        throw;
      }
      D->FHandle = nullptr;
    }
    return Handled ? UINT_PTR(M.Result ? M.Result : 1) : 0;
  } catch (...) {
    HandleVclException(nullptr);
  }
  return 0;
}

ORV_IMPLEMENT_CLASS(TCommonDialog, TComponent)

// ---------------------------------------------------------------------------------------------
// TColorDialog

constexpr TEnumType TColorDialogOptionType{"TColorDialogOption",
                                           {"cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor",
                                            "cdAnyColor"}};

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner) {
  std::fill(std::begin(FCustomColors), std::end(FCustomColors), COLORREF(0xFFFFFF));
}

bool TColorDialog::Execute() {
  static constexpr DWORD Flags[] = {CC_FULLOPEN, CC_PREVENTFULLOPEN, CC_SHOWHELP, CC_SOLIDCOLOR, CC_ANYCOLOR};
  CHOOSECOLORA CC{};
  CC.lStructSize = sizeof CC;
  CC.hwndOwner = OwnerWindow();
  CC.rgbResult = COLORREF(ColorToRGB(FColor)) & 0xFFFFFF;
  CC.lpCustColors = FCustomColors;
  CC.Flags = CC_RGBINIT | CC_ENABLEHOOK;
  for (int I = 0; I < int(std::size(Flags)); ++I)
    if (FOptions & (1u << I)) CC.Flags |= Flags[I];
  const bool Ok = TaskModalDialog([&](LPCCHOOKPROC Hook) {
    CC.lpfnHook = Hook;
    return ChooseColorA(&CC);
  });
  if (Ok) FColor = TColor(CC.rgbResult);
  return Ok;
}

static constinit const TPropInfo TColorDialog_Props[] = {
    PropColor<&TColorDialog::Color, &TColorDialog::SetColor>("Color", clBlack),
    PropSet<&TColorDialog::Options, &TColorDialog::SetOptions>("Options", TColorDialogOptionType, 0),
    PropEvent<&TCommonDialog::OnClose>("OnClose"),
    PropEvent<&TCommonDialog::OnShow>("OnShow"),
};
ORV_IMPLEMENT_COMPONENT(TColorDialog, TCommonDialog, TColorDialog_Props)

// ---------------------------------------------------------------------------------------------
// TFontDialog

constexpr TEnumType TFontDialogOptionType{
    "TFontDialogOption",
    {"fdAnsiOnly", "fdTrueTypeOnly", "fdEffects", "fdFixedPitchOnly", "fdForceFontExist", "fdNoFaceSel",
     "fdNoOEMFonts", "fdNoSimulations", "fdNoSizeSel", "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp", "fdWysiwyg",
     "fdLimitSize", "fdScalableOnly", "fdApplyButton"}};

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(new TFont) {}

TFontDialog::~TFontDialog() { TObject::Free(FFont); }

bool TFontDialog::Execute() {
  static constexpr DWORD Flags[] = {
      CF_SCRIPTSONLY, CF_TTONLY, CF_EFFECTS, CF_FIXEDPITCHONLY, CF_FORCEFONTEXIST, CF_NOFACESEL, CF_NOOEMFONTS,
      CF_NOSIMULATIONS, CF_NOSIZESEL, CF_NOSTYLESEL, CF_NOVECTORFONTS, CF_SHOWHELP, CF_WYSIWYG, CF_LIMITSIZE,
      CF_SCALABLEONLY, CF_APPLY};
  LOGFONTA LF{};
  GetObjectA(FFont->Handle(), sizeof LF, &LF);
  CHOOSEFONTA CF{};
  CF.lStructSize = sizeof CF;
  CF.hwndOwner = OwnerWindow();
  CF.lpLogFont = &LF;
  CF.rgbColors = COLORREF(ColorToRGB(FFont->Color())) & 0xFFFFFF;
  CF.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
  for (int I = 0; I < int(std::size(Flags)); ++I)
    if (FOptions & (1u << I)) CF.Flags |= Flags[I];
  if (FOptions & (1u << fdLimitSize)) {
    CF.nSizeMin = FMinFontSize;
    CF.nSizeMax = FMaxFontSize;
  }
  const bool Ok = TaskModalDialog([&](LPCFHOOKPROC Hook) {
    CF.lpfnHook = Hook;
    return ChooseFontA(&CF);
  });
  if (Ok) {
    HFONT H = CreateFontIndirectA(&LF);
    if (!H) throw EOutOfResources("Out of system resources");
    FFont->SetHandle(H);
    FFont->SetColor(TColor(CF.rgbColors));
  }
  return Ok;
}

static constinit const TPropInfo TFontDialog_Props[] = {
    PropObject<&TFontDialog::Font, &TFontDialog::SetFont>("Font"),
    PropInt<&TFontDialog::MaxFontSize, &TFontDialog::SetMaxFontSize>("MaxFontSize", 0),
    PropInt<&TFontDialog::MinFontSize, &TFontDialog::SetMinFontSize>("MinFontSize", 0),
    PropSet<&TFontDialog::Options, &TFontDialog::SetOptions>("Options", TFontDialogOptionType, 1 << fdEffects),
    PropEvent<&TCommonDialog::OnClose>("OnClose"),
    PropEvent<&TCommonDialog::OnShow>("OnShow"),
};
ORV_IMPLEMENT_COMPONENT(TFontDialog, TCommonDialog, TFontDialog_Props)

// ---------------------------------------------------------------------------------------------
// TOpenDialog, TSaveDialog

constexpr TEnumType TOpenOptionType{
    "TOpenOption",
    {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp", "ofNoValidate",
     "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist", "ofCreatePrompt",
     "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames",
     "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing"}};

namespace {
// The system flag of each TOpenOption (ofOldStyleDialog: the absence of OFN_EXPLORER).
constexpr DWORD OpenFlags[] = {
    OFN_READONLY, OFN_OVERWRITEPROMPT, OFN_HIDEREADONLY, OFN_NOCHANGEDIR, OFN_SHOWHELP, OFN_NOVALIDATE,
    OFN_ALLOWMULTISELECT, OFN_EXTENSIONDIFFERENT, OFN_PATHMUSTEXIST, OFN_FILEMUSTEXIST, OFN_CREATEPROMPT,
    OFN_SHAREAWARE, OFN_NOREADONLYRETURN, OFN_NOTESTFILECREATE, OFN_NONETWORKBUTTON, OFN_NOLONGNAMES, 0,
    OFN_NODEREFERENCELINKS, OFN_ENABLEINCLUDENOTIFY, OFN_ENABLESIZING};
constexpr int MultiSelectBufferSize = 0xFFFF;
constexpr int stc32 = 0x045F;
}  // namespace

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(new TStringList) {}

TOpenDialog::~TOpenDialog() { TObject::Free(FFiles); }

AnsiString TOpenDialog::FileName() const {
  if (Handle() && !HasOption(ofOldStyleDialog)) {
    char Path[MAX_PATH + 1] = {};
    const LRESULT N = SendMessageA(GetParent(Handle()), CDM_GETFILEPATH, sizeof Path, LPARAM(Path));
    if (N > 0 && N <= LRESULT(sizeof Path)) return AnsiString(Path);
    return AnsiString();
  }
  return FFileName;
}

TRect TOpenDialog::GetStaticRect() const {
  RECT R{};
  if (HWND H = Handle()) {
    if (HasOption(ofOldStyleDialog)) {
      GetClientRect(H, &R);
    } else if (HWND Static = GetDlgItem(H, stc32)) {
      GetWindowRect(Static, &R);
      MapWindowPoints(nullptr, H, reinterpret_cast<POINT*>(&R), 2);
    } else {
      // Without a template the system's controls fill the dialog.
      GetClientRect(GetParent(H), &R);
      MapWindowPoints(GetParent(H), H, reinterpret_cast<POINT*>(&R), 2);
    }
  }
  return Rect(R.left, R.top, R.right, R.bottom);
}

void TOpenDialog::DialogInit() {
  // The Explorer-style dialog has laid itself out only at CDN_INITDONE.
  if (HasOption(ofOldStyleDialog)) DoShow();
}

bool TOpenDialog::MessageHook(TMessage& Message) {
  if (Message.Msg != WM_NOTIFY || HasOption(ofOldStyleDialog)) return false;
  switch (reinterpret_cast<const NMHDR*>(Message.LParam)->code) {
    case CDN_INITDONE: DoShow(); break;
    case CDN_SELCHANGE: DoSelectionChange(); break;
    case CDN_FOLDERCHANGE: DoFolderChange(); break;
    case CDN_FILEOK: {
      // A raising handler keeps the dialog open, as a refusal does.
      bool CanClose = false;
      try {
        CanClose = DoCanClose();
      } catch (...) {
        HandleVclException(this);
      }
      if (!CanClose) {
        // A dialog procedure's answer goes in DWLP_MSGRESULT: non-zero keeps the dialog open.
        SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, 1);
        Message.Result = 1;
        return true;
      }
      break;
    }
  }
  return false;
}

void TOpenDialog::DoSelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TOpenDialog::DoFolderChange() {
  if (OnFolderChange) OnFolderChange(this);
}

bool TOpenDialog::DoCanClose() {
  bool CanClose = true;
  if (OnCanClose) OnCanClose(this, CanClose);
  return CanClose;
}

bool TOpenDialog::DoExecute(bool Save) {
  // "A|B|C|D" as "A\0B\0C\0D\0\0".
  std::vector<char> Filter(FFilter.c_str(), FFilter.c_str() + FFilter.Length());
  std::replace(Filter.begin(), Filter.end(), '|', '\0');
  Filter.insert(Filter.end(), 2, '\0');
  const bool Multi = HasOption(ofAllowMultiSelect);
  std::vector<char> File(Multi ? MultiSelectBufferSize : MAX_PATH + 1, '\0');
  const int Keep = std::min(FFileName.Length(), int(File.size()) - 1);
  std::copy_n(FFileName.c_str(), Keep, File.begin());

  OPENFILENAMEA O{};
  O.lStructSize = sizeof O;
  O.hwndOwner = OwnerWindow();
  O.hInstance = GetModuleHandleA(nullptr);
  O.lpstrFilter = FFilter.IsEmpty() ? nullptr : Filter.data();
  O.nFilterIndex = DWORD(std::max(FFilterIndex, 0));
  O.lpstrFile = File.data();
  O.nMaxFile = DWORD(File.size());
  O.lpstrInitialDir = FInitialDir.IsEmpty() ? nullptr : FInitialDir.c_str();
  O.lpstrTitle = FTitle.IsEmpty() ? nullptr : FTitle.c_str();
  O.lpstrDefExt = FDefaultExt.IsEmpty() ? nullptr : FDefaultExt.c_str();
  O.Flags = OFN_ENABLEHOOK;
  for (int I = 0; I < int(std::size(OpenFlags)); ++I)
    if (FOptions & (1u << I)) O.Flags |= OpenFlags[I];
  if (!HasOption(ofOldStyleDialog)) {
    O.Flags |= OFN_EXPLORER;
    if (!FTemplate.IsEmpty()) {
      O.Flags |= OFN_ENABLETEMPLATE;
      O.lpTemplateName = FTemplate.c_str();
    }
  }
  const bool Ok = TaskModalDialog([&](LPOFNHOOKPROC Hook) {
    O.lpfnHook = Hook;
    return Save ? GetSaveFileNameA(&O) : GetOpenFileNameA(&O);
  });
  if (!Ok) return false;

  FFiles->Clear();
  const char* P = File.data();
  if (Multi && O.nFileOffset > 0 && P[O.nFileOffset - 1] == '\0') {
    // The folder, then each name, each ending in a null.
    AnsiString Folder(P);
    if (!Folder.IsEmpty() && Folder[Folder.Length()] != '\\') Folder += "\\";
    for (const char* Name = P + O.nFileOffset; *Name; Name += std::strlen(Name) + 1)
      FFiles->Add(Folder + Name);
    FFileName = FFiles->Count() > 0 ? FFiles->Strings(0) : Folder;
  } else {
    FFileName = AnsiString(P);
    FFiles->Add(FFileName);
  }
  FFilterIndex = int(O.nFilterIndex);
  const auto SetFrom = [&](TOpenOption Option, DWORD Flag) {
    if (O.Flags & Flag) FOptions |= 1u << Option;
    else FOptions &= ~(1u << Option);
  };
  SetFrom(ofReadOnly, OFN_READONLY);
  SetFrom(ofExtensionDifferent, OFN_EXTENSIONDIFFERENT);
  return true;
}

bool TOpenDialog::Execute() { return DoExecute(false); }

static constinit const TPropInfo TOpenDialog_Props[] = {
    PropStr<&TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt>("DefaultExt"),
    PropStr<&TOpenDialog::FileName, &TOpenDialog::SetFileName>("FileName"),
    PropStr<&TOpenDialog::Filter, &TOpenDialog::SetFilter>("Filter"),
    PropInt<&TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex>("FilterIndex", 1),
    PropStr<&TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir>("InitialDir"),
    PropSet<&TOpenDialog::Options, &TOpenDialog::SetOptions>("Options", TOpenOptionType,
                                                              (1 << ofHideReadOnly) | (1 << ofEnableSizing)),
    PropStr<&TOpenDialog::Title, &TOpenDialog::SetTitle>("Title"),
    PropEvent<&TOpenDialog::OnCanClose>("OnCanClose"),
    PropEvent<&TCommonDialog::OnClose>("OnClose"),
    PropEvent<&TOpenDialog::OnFolderChange>("OnFolderChange"),
    PropEvent<&TOpenDialog::OnSelectionChange>("OnSelectionChange"),
    PropEvent<&TCommonDialog::OnShow>("OnShow"),
};
ORV_IMPLEMENT_COMPONENT(TOpenDialog, TCommonDialog, TOpenDialog_Props)

bool TSaveDialog::Execute() { return DoExecute(true); }

ORV_IMPLEMENT_COMPONENT_NOPROPS(TSaveDialog, TOpenDialog)

// ---------------------------------------------------------------------------------------------
// Message dialog

namespace {

// The form MessageDlg shows, in the system's message font.
class TMessageForm : public TForm {
  ORV_CLASS(TMessageForm, TForm)
public:
  explicit TMessageForm(TComponent* AOwner) : TForm(AOwner) {
    NONCLIENTMETRICSA Metrics{};
    Metrics.cbSize = sizeof Metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0))
      if (HFONT F = CreateFontIndirectA(&Metrics.lfMessageFont)) Font()->SetHandle(F);
  }
  void HelpButtonClick(TObject*) {
    if (Application) Application->HelpContext(HelpContext());
  }
};
ORV_IMPLEMENT_COMPONENT_NOPROPS(TMessageForm, TForm)

const char* const DialogCaptions[] = {"Warning", "Error", "Information", "Confirm"};
const LPCSTR DialogIcons[] = {IDI_EXCLAMATION, IDI_HAND, IDI_ASTERISK, IDI_QUESTION, nullptr};
const char* const ButtonNames[] = {"Yes", "No", "OK", "Cancel", "Abort", "Retry",
                                   "Ignore", "All", "NoToAll", "YesToAll", "Help"};
const char* const ButtonCaptions[] = {"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry",
                                      "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"};
const TModalResult ButtonResults[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry,
                                      mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};

}  // namespace

TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  auto* Form = TCustomForm::CreateNew<TMessageForm>(Application);
  try {
    Form->SetBorderStyle(bsDialog);
    // Spacing in dialog units of the form's font: a quarter of the mean character width, an
    // eighth of the text height.
    TWindowDC DC;
    TSelectGuard FontSel(DC, Form->Font()->Handle());
    SIZE Letters{};
    GetTextExtentPoint32A(DC, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &Letters);
    const int UnitX = Letters.cx / 52, UnitY = Letters.cy;
    const int HorzMargin = MulDiv(8, UnitX, 4), VertMargin = MulDiv(8, UnitY, 8);
    const int HorzSpacing = MulDiv(10, UnitX, 4), VertSpacing = MulDiv(10, UnitY, 8);
    const int ButtonHeight = MulDiv(14, UnitY, 8), ButtonSpacing = MulDiv(4, UnitX, 4);
    int ButtonWidth = MulDiv(50, UnitX, 4), Count = 0;
    const auto Has = [Buttons](int B) { return (Buttons & (1u << B)) != 0; };
    for (int B = mbYes; B <= mbHelp; ++B) {
      if (!Has(B)) continue;
      ++Count;
      RECT R{0, 0, 0, 0};
      DrawTextA(DC, ButtonCaptions[B], -1, &R, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
      ButtonWidth = std::max(ButtonWidth, int(R.right - R.left) + 8);
    }
    RECT Text{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    DrawTextA(DC, Msg.c_str(), -1, &Text, DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK);
    const LPCSTR IconID = DialogIcons[DlgType];
    int IconTextWidth = Text.right, IconTextHeight = Text.bottom;
    if (IconID) {
      IconTextWidth += 32 + HorzSpacing;
      IconTextHeight = std::max(IconTextHeight, 32);
    }
    const int GroupWidth = Count ? ButtonWidth * Count + ButtonSpacing * (Count - 1) : 0;
    const int ClientWidth = std::max(IconTextWidth, GroupWidth) + HorzMargin * 2;
    Form->SetClientWidth(ClientWidth);
    Form->SetClientHeight(IconTextHeight + ButtonHeight + VertSpacing + VertMargin * 2);
    Form->SetPosition(poScreenCenter);
    Form->SetCaption(DlgType == mtCustom ? (Application ? Application->Title() : AnsiString())
                                         : AnsiString(DialogCaptions[DlgType]));
    if (IconID) {
      auto* Image = New<TImage>(Form);
      Image->SetName("Image");
      Image->SetParent(Form);
      Image->Picture()->Icon()->SetHandle(CopyIcon(LoadIconA(nullptr, IconID)));
      Image->SetBounds(HorzMargin, VertMargin, 32, 32);
    }
    auto* Message = New<TLabel>(Form);
    Message->SetName("Message");
    Message->SetParent(Form);
    Message->SetWordWrap(true);
    Message->SetCaption(Msg);
    Message->SetBounds(IconTextWidth - Text.right + HorzMargin, VertMargin, Text.right, Text.bottom);
    const int DefaultButton = Has(mbOK) ? mbOK : Has(mbYes) ? mbYes : mbRetry;
    const int CancelButton = Has(mbCancel) ? mbCancel : Has(mbNo) ? mbNo : mbOK;
    int X = (ClientWidth - GroupWidth) / 2;
    for (int B = mbYes; B <= mbHelp; ++B) {
      if (!Has(B)) continue;
      auto* Button = New<TButton>(Form);
      Button->SetName(ButtonNames[B]);
      Button->SetParent(Form);
      Button->SetCaption(ButtonCaptions[B]);
      Button->SetModalResult(ButtonResults[B]);
      if (B == DefaultButton) Button->SetDefault(true);
      if (B == CancelButton) Button->SetCancel(true);
      Button->SetBounds(X, IconTextHeight + VertMargin + VertSpacing, ButtonWidth, ButtonHeight);
      X += ButtonWidth + ButtonSpacing;
      if (B == mbHelp) Button->OnClick = TNotifyEvent::Bind<&TMessageForm::HelpButtonClick>(Form);
    }
  } catch (...) {
    TObject::Free(Form);
    throw;
  }
  return Form;
}

int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  TForm* Form = CreateMessageDialog(Msg, DlgType, Buttons);
  try {
    Form->SetHelpContext(HelpCtx);
    const int Result = Form->ShowModal();
    TObject::Free(Form);
    return Result;
  } catch (...) {
    TObject::Free(Form);
    throw;
  }
}

namespace {
struct TDialogsUnit {
  TDialogsUnit() {
    RegisterClasses({TColorDialog::StaticClass(), TFontDialog::StaticClass(), TOpenDialog::StaticClass(),
                     TSaveDialog::StaticClass()});
  }
} DialogsUnit;
}  // namespace
