// Common dialogs over comdlg32.
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"

#include <commdlg.h>

#include <algorithm>

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
      D->DoShow();
    }
    if (!D) return 0;
    TMessage M{Msg, WParam, LParam, 0};
    const bool Handled = D->MessageHook(M);
    if (Msg == WM_DESTROY) {
      RemovePropA(Wnd, DialogProp);
      D->DoClose();
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

namespace {
struct TDialogsUnit {
  TDialogsUnit() { RegisterClasses({TColorDialog::StaticClass(), TFontDialog::StaticClass()}); }
} DialogsUnit;
}  // namespace
