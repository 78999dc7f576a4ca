// The media dialogs and their shared preview.
#include "package/BMMediaDialogs.h"
#include "package/TcsCheckBox.h"
#include "rtl/SysUtils.h"
#include "vcl/Buttons.h"
#include "vcl/StdCtrls.h"

#include <mmsystem.h>

#include <memory>

namespace {
constexpr const char* MediaFilter =
    "All media (*.wav;*.mid;*.avi)|*.wav;*.mid;*.avi|Wave File (*.wav)|*.wav|MIDI File (*.mid)|*.mid|"
    "Video (*.avi)|*.avi|All files (*.*)|*.*";
// Names tried for a temporary copy before giving up on a folder where every one is taken.
constexpr int MaxTempNames = 1000;
}  // namespace

TBMMediaDialogImpl::TBMMediaDialogImpl(TComponent* AOwner)
    : TComponent(AOwner), FDialog(dynamic_cast<TOpenDialog*>(AOwner)) {
  if (!FDialog) throw EInvalidOperation("The media dialog preview needs its file dialog as owner");
  const HINSTANCE Module = GetModuleHandleA(nullptr);

  FPicturePanel = New<TPanel>(this);
  FPicturePanel->SetName("PicturePanel");
  FPicturePanel->SetCaption("");
  FPicturePanel->SetBounds(204, 5, 169, 200);
  FPicturePanel->SetBevelOuter(bvNone);
  FPicturePanel->SetBorderWidth(6);
  FPicturePanel->SetTabOrder(1);

  FPictureLabel = New<TLabel>(this);
  FPictureLabel->SetName("PictureLabel");
  FPictureLabel->SetCaption("");
  FPictureLabel->SetParent(FPicturePanel);
  FPictureLabel->SetAutoSize(false);
  FPictureLabel->SetBounds(6, 6, 157, 33);
  FPictureLabel->SetAlign(alTop);

  FCommandPanel = New<TPanel>(this);
  FCommandPanel->SetName("CommandPanel");
  FCommandPanel->SetCaption("");
  FCommandPanel->SetParent(FPicturePanel);
  FCommandPanel->SetBounds(0, 2, 150, 26);
  FCommandPanel->SetAlign(alBottom);
  FCommandPanel->SetAutoSize(false);

  FPreviewButton = New<TSpeedButton>(this);
  FPreviewButton->SetName("PreviewButton");
  FPreviewButton->SetParent(FPicturePanel);
  FPreviewButton->SetBounds(77, 1, 23, 22);
  FPreviewButton->SetEnabled(false);
  {
    std::unique_ptr<TBitmap> Glyph(new TBitmap);
    Glyph->LoadFromResourceName(Module, "PREVIEWGLYPH");
    FPreviewButton->SetGlyph(Glyph.get());
  }
  FPreviewButton->SetHint("Show Preview");
  FPreviewButton->SetParentShowHint(false);
  FPreviewButton->SetShowHint(true);
  FPreviewButton->OnClick = TNotifyEvent::Bind<&TBMMediaDialogImpl::PreviewClick>(this);

  FPaintPanel = New<TPanel>(this);
  FPaintPanel->SetName("PaintPanel");
  FPaintPanel->SetCaption("");
  FPaintPanel->SetParent(FPicturePanel);
  FPaintPanel->SetBounds(6, 29, 157, 145);
  FPaintPanel->SetAlign(alClient);
  FPaintPanel->SetBevelInner(bvRaised);
  FPaintPanel->SetBevelOuter(bvLowered);
  FPaintPanel->SetTabOrder(0);

  FSoundImage = New<TImage>(this);
  FSoundImage->SetName("SoundImage");
  FSoundImage->SetParent(FPaintPanel);
  FSoundImage->SetBounds(0, 0, 32, 32);
  FSoundImage->Picture()->Bitmap()->LoadFromResourceName(Module, "SOUNDGLYPH");
  FSoundImage->SetTransparent(true);
  FSoundImage->SetVisible(false);

  FMediaPlayer = New<TMediaPlayer>(this);
  FMediaPlayer->SetName("MediaPlayer");
  FMediaPlayer->SetTimeFormat(tfMilliseconds);
  FMediaPlayer->SetDisplay(FPaintPanel);
  FMediaPlayer->SetVisible(false);
  FMediaPlayer->SetVisibleButtons(AllMPButtons & ~((1u << btRecord) | (1u << btEject)));

  FMediaTimer = New<TTimer>(this);
  FMediaTimer->SetInterval(50);
  FMediaTimer->OnTimer = TNotifyEvent::Bind<&TBMMediaDialogImpl::MediaNotify>(this);
  FUpdateTimer = New<TTimer>(this);
  FUpdateTimer->SetEnabled(false);
  FUpdateTimer->SetInterval(1500);
  FUpdateTimer->OnTimer = TNotifyEvent::Bind<&TBMMediaDialogImpl::UpdateNotify>(this);

  FLoopCheckBox = New<TcsCheckBox>(this);
  FLoopCheckBox->SetName("LoopCheckBox");
  FLoopCheckBox->SetParent(FCommandPanel);
  FLoopCheckBox->SetBounds(100, 5, 50, 15);
  FLoopCheckBox->SetChecked(true);
  FLoopCheckBox->SetCaption("Loop");

  FShowCheckBox = New<TcsCheckBox>(this);
  FShowCheckBox->SetName("ShowCheckBox");
  FShowCheckBox->SetParent(FCommandPanel);
  FShowCheckBox->SetBounds(6, 5, 90, 15);
  FShowCheckBox->SetChecked(true);
  FShowCheckBox->SetCaption("Show preview");
  FShowCheckBox->OnClick = TNotifyEvent::Bind<&TBMMediaDialogImpl::OnShowCheck>(this);
}

// Free tears the owned parts down before the destructor runs: release them first.
void TBMMediaDialogImpl::BeforeDestruction() {
  Release();
  TComponent::BeforeDestruction();
}

TBMMediaDialogImpl::~TBMMediaDialogImpl() { Release(); }

void TBMMediaDialogImpl::Release() {
  if (FReleased) return;
  FReleased = true;
  FMediaTimer->SetEnabled(false);
  FUpdateTimer->SetEnabled(false);
  if (FMediaPlayer->DeviceID() != 0) {
    try {
      FMediaPlayer->SetWait(true);
      FMediaPlayer->Close();
    } catch (const EMCIDeviceError&) {
      // Closing is all that is left to do with it.
    }
  }
  DeleteTemp();
}

bool TBMMediaDialogImpl::AutoShow() const { return FShowCheckBox->Checked(); }
void TBMMediaDialogImpl::SetAutoShow(bool Value) { FShowCheckBox->SetChecked(Value); }
bool TBMMediaDialogImpl::Loop() const { return FLoopCheckBox->Checked(); }
void TBMMediaDialogImpl::SetLoop(bool Value) { FLoopCheckBox->SetChecked(Value); }

bool TBMMediaDialogImpl::ValidFile(const AnsiString& Name) {
  return GetFileAttributesA(Name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

AnsiString TBMMediaDialogImpl::NewTempName(const AnsiString& Ext) {
  char Dir[MAX_PATH + 1] = {};
  const DWORD N = GetTempPathA(MAX_PATH, Dir);
  if (N == 0 || N > MAX_PATH) return AnsiString();
  AnsiString Folder(Dir);
  if (!Folder.IsEmpty() && Folder[Folder.Length()] == '\\') Folder.Delete(Folder.Length(), 1);
  for (int I = 0; I < MaxTempNames; ++I) {
    const AnsiString Name = Folder + "\\BMMD" + IntToStr(I) + Ext;
    HANDLE H = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (H != INVALID_HANDLE_VALUE) {
      CloseHandle(H);
      return Name;
    }
    // Only a name already taken is worth another try.
    const DWORD Err = GetLastError();
    if (Err != ERROR_FILE_EXISTS && Err != ERROR_ALREADY_EXISTS) break;
  }
  return AnsiString();
}

void TBMMediaDialogImpl::DeleteTemp() {
  if (FTempFileName.IsEmpty()) return;
  SetFileAttributesA(FTempFileName.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(FTempFileName.c_str());
}

bool TBMMediaDialogImpl::HasVideo() {
  if (FMediaPlayer->DeviceID() == 0) return false;
  MCI_GETDEVCAPS_PARMS P{};
  P.dwItem = MCI_GETDEVCAPS_HAS_VIDEO;
  return mciSendCommandA(FMediaPlayer->DeviceID(), MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, DWORD_PTR(&P)) ==
             0 &&
         P.dwReturn != 0;
}

void TBMMediaDialogImpl::CloseAndForget() {
  if (FMediaPlayer->DeviceID() != 0) {
    FMediaPlayer->SetWait(true);
    FMediaPlayer->Close();
  }
  DeleteTemp();
  FTempFileName = "";
  FLastFileName = "";
}

void TBMMediaDialogImpl::CloseDeviceQuietly() {
  try {
    if (FMediaPlayer->DeviceID() != 0) FMediaPlayer->Close();
  } catch (const EMCIDeviceError&) {
  }
}

void TBMMediaDialogImpl::ClearPreview() {
  FSoundImage->SetVisible(false);
  FPreviewButton->SetEnabled(false);
  FPictureLabel->SetCaption("");
}

void TBMMediaDialogImpl::ExecuteEnter() {
  const bool Preview = NewStyleControls && !FDialog->HasOption(ofOldStyleDialog);
  FDialog->SetTemplate(Preview ? "DLGTEMPLATE" : "");
}

void TBMMediaDialogImpl::ExecuteExit() { DeleteTemp(); }

void TBMMediaDialogImpl::DoShow() {
  // Without the template there is no room for the preview.
  if (FDialog->Template().IsEmpty()) return;
  HWND Wnd = FDialog->Handle();
  RECT Client;
  GetClientRect(Wnd, &Client);
  TRect R = Rect(Client.left, Client.top, Client.right, Client.bottom);
  R.Left = FDialog->GetStaticRect().Right;
  R.Top += 4;
  FPicturePanel->SetBoundsRect(R);
  FPreviewButton->SetLeft(FPaintPanel->Left() + FPaintPanel->Width() - FPreviewButton->Width() - 2);
  FPicturePanel->SetParentWindow(Wnd);
  FMediaPlayer->SetParentWindow(Wnd);
}

void TBMMediaDialogImpl::DoClose() {
  FUpdateTimer->SetEnabled(false);
  FReady = 0;
  CloseAndForget();
  ClearPreview();
  // The windows go with the dialog's; take them down first.
  FMediaPlayer->SetParentWindow(nullptr);
  FPicturePanel->SetParentWindow(nullptr);
}

void TBMMediaDialogImpl::DoSelectionChange() {
  FPreviewButton->SetEnabled(false);
  FUpdateTimer->SetEnabled(false);
  FUpdateTimer->SetEnabled(true);
  FReady = 0;
  FPictureLabel->SetEnabled(false);
  if (FMediaPlayer->Mode() == mpPlaying) FMediaPlayer->Pause();
}

void TBMMediaDialogImpl::DoFolderChange() {
  CloseAndForget();
  ClearPreview();
}

void TBMMediaDialogImpl::OnShowCheck(TObject*) {
  FLoopCheckBox->SetEnabled(FShowCheckBox->Checked());
  if (FShowCheckBox->Checked() && (FMediaPlayer->Capabilities() & (1u << mpCanPlay))) FMediaPlayer->Play();
}

void TBMMediaDialogImpl::PreviewKeyPress(TObject*, char& Key) {
  if (Key == 27 && FPreviewForm) FPreviewForm->Close();
}

void TBMMediaDialogImpl::UpdateNotify(TObject*) {
  FUpdateTimer->SetEnabled(false);
  FReady = 1;
  FPictureLabel->SetEnabled(true);
  const AnsiString Name = FDialog->FileName();
  bool Ok = FileExists(Name) && ValidFile(Name);
  if (Name == FLastFileName) {
    if (FMediaPlayer->Mode() == mpPaused) FMediaPlayer->Resume();
    FPreviewButton->SetEnabled(HasVideo());
    return;
  }
  FSoundImage->SetLeft((FPaintPanel->Width() - 32) / 2);
  FSoundImage->SetTop((FPaintPanel->Height() - 32) / 2);
  FLastFileName = Name;
  FPaintPanel->Invalidate();
  bool Video = false;
  if (Ok) {
    try {
      if (!FTempFileName.IsEmpty() || FMediaPlayer->DeviceID() != 0) {
        FMediaPlayer->SetWait(true);
        FMediaPlayer->Close();
        DeleteTemp();
        FTempFileName = "";
      }
      FTempFileName = NewTempName(ExtractFileExt(Name));
      if (!FTempFileName.IsEmpty() && CopyFileA(Name.c_str(), FTempFileName.c_str(), FALSE)) {
        FMediaPlayer->SetFileName(FTempFileName);
      } else {
        DeleteTemp();
        FTempFileName = "";
        FMediaPlayer->SetFileName(Name);
      }
      FMediaPlayer->Open();
      Video = HasVideo();
      FVideoRect = Video ? FMediaPlayer->DisplayRect() : Rect(0, 0, 0, 0);
      FFrameRect = Rect(6, 6, FPaintPanel->Width() - 12, FPaintPanel->Height() - 12);
      const int Fh = FFrameRect.Height(), Fw = FFrameRect.Width();
      const int Vw = FVideoRect.Width(), Vh = FVideoRect.Height();
      if (Video) {
        if (Fh > 0 && Fw > 0 && Vw > 0 && Vh > 0) {
          if (Fh * Vw < Fw * Vh) FFrameRect.Right = FFrameRect.Left + Fh * Vw / Vh;
          else FFrameRect.Bottom = FFrameRect.Top + Fw * Vh / Vw;
        }
        FMediaPlayer->SetDisplayRect(FFrameRect);
        FCurrentDisplayRect = FFrameRect;
      }
      FPictureLabel->SetCaption(Video ? "Movie : " + IntToStr(FVideoRect.Right) + " : " + IntToStr(FVideoRect.Bottom)
                                      : AnsiString("Sound"));
      if (FShowCheckBox->Checked()) FMediaPlayer->Play();
      FPreviewButton->SetEnabled(Video);
      FSoundImage->SetVisible(!FPreviewButton->Enabled());
    } catch (...) {
      // A device that opened but will not play or place its picture is closed, so the media
      // timer does not retry it every tick.
      Ok = false;
      CloseDeviceQuietly();
    }
  }
  if (!Ok) ClearPreview();
}

void TBMMediaDialogImpl::MediaNotify(TObject*) {
  if (FMediaPlayer->DeviceID() == 0) return;
  try {
    // Only a device that shows video has a display rectangle.
    if (FMediaPlayer->Capabilities() & (1u << mpUsesWindow)) FMediaPlayer->SetDisplayRect(FCurrentDisplayRect);
    if (FReady == 0 || FPreviewOpen == 1) return;
    const TMPModes Mode = FMediaPlayer->Mode();
    if (FShowCheckBox->Checked()) {
      if (FLoopCheckBox->Checked() && Mode == mpStopped) FMediaPlayer->Play();
    } else if (Mode == mpStopped) {
      FPaintPanel->Invalidate();
    }
  } catch (const EMCIDeviceError&) {
    // A device failing every 50 ms would stack an error box per tick: it is closed instead,
    // and the preview forgets the file, so choosing it again opens it anew.
    FReady = 0;
    CloseDeviceQuietly();
    DeleteTemp();
    FTempFileName = "";
    FLastFileName = "";
    ClearPreview();
  }
}

void TBMMediaDialogImpl::OnResize(TObject*) {
  if (!FPreviewForm) return;
  FPreviewWidth = FPreviewForm->ClientWidth() - 4;
  FPreviewHeight = FPreviewForm->ClientHeight() - 4;
  if (FMediaPlayer->DeviceID() != 0 && (FMediaPlayer->Capabilities() & (1u << mpUsesWindow)))
    FMediaPlayer->SetDisplayRect(FCurrentDisplayRect);
}

void TBMMediaDialogImpl::PreviewClick(TObject*) {
  FPreviewForm = TForm::CreateNew<TForm>(this);
  struct TFormGuard {
    TBMMediaDialogImpl* Impl;
    ~TFormGuard() {
      TForm* F = Impl->FPreviewForm;
      Impl->FPreviewForm = nullptr;
      TObject::Free(F);
    }
  } Guard{this};
  TForm* Form = FPreviewForm;
  Form->SetName("PreviewForm");
  Form->SetCaption("Preview");
  Form->SetBorderStyle(bsSizeToolWin);
  Form->SetKeyPreview(true);
  Form->SetPosition(poScreenCenter);
  Form->OnKeyPress = TKeyPressEvent::Bind<&TBMMediaDialogImpl::PreviewKeyPress>(this);
  auto* Panel = New<TPanel>(Form);
  Panel->SetName("Panel");
  Panel->SetCaption("");
  Panel->SetParent(Form);
  Panel->SetAlign(alClient);
  Panel->SetBevelOuter(bvNone);
  Panel->SetBorderStyle(bsSingle);
  Panel->SetBorderWidth(5);
  Panel->SetColor(clWindow);
  Panel->OnResize = TNotifyEvent::Bind<&TBMMediaDialogImpl::OnResize>(this);
  Form->SetClientWidth(FVideoRect.Width() + 4);
  Form->SetClientHeight(FVideoRect.Height() + FMediaPlayer->Height() + 4);

  FPaintPanel->Invalidate();
  FPreviewOpen = 1;
  struct TRestore {
    TBMMediaDialogImpl* Impl;
    ~TRestore() {
      Impl->FPreviewOpen = 0;
      TMediaPlayer* P = Impl->FMediaPlayer;
      P->SetVisible(false);
      P->SetAlign(alNone);
      P->SetParent(nullptr);
      if (HWND Dialog = Impl->FDialog->Handle()) P->SetParentWindow(Dialog);
      try {
        P->SetDisplay(Impl->FPaintPanel);
      } catch (const EMCIDeviceError&) {
        // The device stays without a window; the next preview opens it again.
      }
      Impl->FCurrentDisplayRect = Impl->FFrameRect;
    }
  } Restore{this};
  FMediaPlayer->SetDisplay(Panel);
  FMediaPlayer->SetParentWindow(nullptr);
  FMediaPlayer->SetParent(Form);
  FMediaPlayer->SetAlign(alBottom);
  FMediaPlayer->SetVisible(true);
  FMediaPlayer->Stop();
  FCurrentDisplayRect = FVideoRect;
  FMediaPlayer->Rewind();
  Form->ShowModal();
}

ORV_IMPLEMENT_CLASS(TBMMediaDialogImpl, TComponent)

// ---------------------------------------------------------------------------------------------
// The dialogs

namespace {
// Frees the dialog's implementation unless the dialog's teardown already did (TObject::Free
// destroys owned components before the destructor runs).
void FreeImpl(TComponent* Dialog, TBMMediaDialogImpl*& Impl) {
  for (int I = 0; I < Dialog->ComponentCount(); ++I)
    if (Dialog->Components(I) == Impl) {
      TObject::Free(Impl);
      break;
    }
  Impl = nullptr;
}

// The inherited Execute between ExecuteEnter and ExecuteExit, which runs also when it raises.
template <class F> bool ExecuteWithPreview(TBMMediaDialogImpl* Impl, F Inherited) {
  Impl->ExecuteEnter();
  bool Result = false;
  try {
    Result = Inherited();
  } catch (...) {
    Impl->ExecuteExit();
    throw;
  }
  Impl->ExecuteExit();
  return Result;
}
}  // namespace

TBMOpenMediaDialog::TBMOpenMediaDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
  SetOptions(Options() | (1u << ofShareAware));
  FImpl = New<TBMMediaDialogImpl>(this);
  SetFilter(MediaFilter);
}

TBMOpenMediaDialog::~TBMOpenMediaDialog() { FreeImpl(this, FImpl); }

bool TBMOpenMediaDialog::Execute() { return ExecuteWithPreview(FImpl, [this] { return TOpenDialog::Execute(); }); }

void TBMOpenMediaDialog::DoClose() {
  FImpl->DoClose();
  TOpenDialog::DoClose();
  if (Application) Application->HideHint();
}

void TBMOpenMediaDialog::DoShow() {
  FImpl->DoShow();
  TOpenDialog::DoShow();
}

void TBMOpenMediaDialog::DoSelectionChange() {
  FImpl->DoSelectionChange();
  TOpenDialog::DoSelectionChange();
}

void TBMOpenMediaDialog::DoFolderChange() {
  FImpl->DoFolderChange();
  TOpenDialog::DoFolderChange();
}

TBMSaveMediaDialog::TBMSaveMediaDialog(TComponent* AOwner) : TSaveDialog(AOwner) {
  SetOptions(Options() | (1u << ofShareAware));
  FImpl = New<TBMMediaDialogImpl>(this);
  SetFilter(MediaFilter);
}

TBMSaveMediaDialog::~TBMSaveMediaDialog() { FreeImpl(this, FImpl); }

bool TBMSaveMediaDialog::Execute() { return ExecuteWithPreview(FImpl, [this] { return TSaveDialog::Execute(); }); }

void TBMSaveMediaDialog::DoClose() {
  FImpl->DoClose();
  TSaveDialog::DoClose();
  if (Application) Application->HideHint();
}

void TBMSaveMediaDialog::DoShow() {
  FImpl->DoShow();
  TSaveDialog::DoShow();
}

void TBMSaveMediaDialog::DoSelectionChange() {
  FImpl->DoSelectionChange();
  TSaveDialog::DoSelectionChange();
}

void TBMSaveMediaDialog::DoFolderChange() {
  FImpl->DoFolderChange();
  TSaveDialog::DoFolderChange();
}

// The constructors add ofShareAware to the file dialogs' options and set the media filter, which
// an empty filter must not fall back to.
constexpr int64_t MediaDialogOptions = (1 << ofHideReadOnly) | (1 << ofEnableSizing) | (1 << ofShareAware);

static constinit const TPropInfo TBMOpenMediaDialog_Props[] = {
    PropStr<&TOpenDialog::Filter, &TOpenDialog::SetFilter>("Filter", AlwaysStored),
    PropSet<&TOpenDialog::Options, &TOpenDialog::SetOptions>("Options", TOpenOptionType, MediaDialogOptions),
    PropBool<&TBMOpenMediaDialog::AutoShow, &TBMOpenMediaDialog::SetAutoShow>("AutoShow", true),
    PropBool<&TBMOpenMediaDialog::Loop, &TBMOpenMediaDialog::SetLoop>("Loop", true),
};
ORV_IMPLEMENT_COMPONENT(TBMOpenMediaDialog, TOpenDialog, TBMOpenMediaDialog_Props)

static constinit const TPropInfo TBMSaveMediaDialog_Props[] = {
    PropStr<&TOpenDialog::Filter, &TOpenDialog::SetFilter>("Filter", AlwaysStored),
    PropSet<&TOpenDialog::Options, &TOpenDialog::SetOptions>("Options", TOpenOptionType, MediaDialogOptions),
    PropBool<&TBMSaveMediaDialog::AutoShow, &TBMSaveMediaDialog::SetAutoShow>("AutoShow", true),
    PropBool<&TBMSaveMediaDialog::Loop, &TBMSaveMediaDialog::SetLoop>("Loop", true),
};
ORV_IMPLEMENT_COMPONENT(TBMSaveMediaDialog, TSaveDialog, TBMSaveMediaDialog_Props)

namespace {
struct TBMMediaDialogsUnit {
  TBMMediaDialogsUnit() {
    RegisterClasses({TBMOpenMediaDialog::StaticClass(), TBMSaveMediaDialog::StaticClass()});
  }
} BMMediaDialogsUnit;
}  // namespace
