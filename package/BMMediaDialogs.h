// Unit BMMediaDialogs: open and save dialogs with a preview area on their right, in which the
// selected wave, MIDI or video file plays from a temporary copy in a media player.
#pragma once

#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/MPlayer.h"

class TLabel;
class TSpeedButton;
class TcsCheckBox;

// The preview shared by both dialogs, owned by its dialog. The update timer opens the selection
// 1500 ms after its last change; the media timer (50 ms) keeps the display rectangle and loops.
class TBMMediaDialogImpl : public TComponent {
  ORV_CLASS(TBMMediaDialogImpl, TComponent)
public:
  // AOwner is the dialog.
  explicit TBMMediaDialogImpl(TComponent* AOwner);
  ~TBMMediaDialogImpl() override;
  void BeforeDestruction() override;

  void ExecuteEnter();
  void ExecuteExit();
  void DoShow();
  void DoClose();
  void DoSelectionChange();
  void DoFolderChange();

  bool AutoShow() const;
  void SetAutoShow(bool Value);
  bool Loop() const;
  void SetLoop(bool Value);

  // A file that GetFileAttributesA finds.
  static bool ValidFile(const AnsiString& Name);
  // A new empty file "<temporary folder>\BMMD<n><Ext>" (the first n whose name is free); empty
  // when the folder cannot take one.
  static AnsiString NewTempName(const AnsiString& Ext);

  // The parts, for a look at what the preview shows.
  TPanel* PicturePanel() const { return FPicturePanel; }
  TLabel* PictureLabel() const { return FPictureLabel; }
  TSpeedButton* PreviewButton() const { return FPreviewButton; }
  TPanel* PaintPanel() const { return FPaintPanel; }
  TMediaPlayer* MediaPlayer() const { return FMediaPlayer; }
  TImage* SoundImage() const { return FSoundImage; }
  TcsCheckBox* LoopCheckBox() const { return FLoopCheckBox; }
  TcsCheckBox* ShowCheckBox() const { return FShowCheckBox; }
  const AnsiString& TempFileName() const { return FTempFileName; }
  const AnsiString& LastFileName() const { return FLastFileName; }
  // Where the video is shown in the paint panel.
  const TRect& FrameRect() const { return FFrameRect; }
  // The preview window while it is showing.
  TForm* PreviewForm() const { return FPreviewForm; }

private:
  void UpdateNotify(TObject* Sender);
  void MediaNotify(TObject* Sender);
  // No picture, label or preview button.
  void ClearPreview();
  void PreviewClick(TObject* Sender);
  void OnShowCheck(TObject* Sender);
  void PreviewKeyPress(TObject* Sender, char& Key);
  void OnResize(TObject* Sender);
  // Closes the device (waiting) and deletes the copy; both names forgotten.
  void CloseAndForget();
  // Closes a device that failed, so the media timer does not retry it every tick.
  void CloseDeviceQuietly();
  // Stops the timers, closes the device and deletes the copy, once, while the parts still exist.
  void Release();
  void DeleteTemp();
  bool HasVideo();

  TOpenDialog* FDialog;
  TPanel* FPicturePanel;
  TLabel* FPictureLabel;
  TSpeedButton* FPreviewButton;
  TPanel* FPaintPanel;
  TMediaPlayer* FMediaPlayer;
  TTimer* FMediaTimer;
  TTimer* FUpdateTimer;
  TImage* FSoundImage;
  TPanel* FCommandPanel;
  TcsCheckBox* FLoopCheckBox;
  TcsCheckBox* FShowCheckBox;
  AnsiString FTempFileName;
  AnsiString FLastFileName;
  TRect FVideoRect{};
  TRect FFrameRect{};
  TRect FCurrentDisplayRect{};
  unsigned char FReady = 0;
  unsigned char FPreviewOpen = 0;
  TForm* FPreviewForm = nullptr;
  int FPreviewWidth = 0, FPreviewHeight = 0;
  bool FReleased = false;
};

// The open dialog with the preview.
class TBMOpenMediaDialog : public TOpenDialog {
  ORV_CLASS(TBMOpenMediaDialog, TOpenDialog)
public:
  explicit TBMOpenMediaDialog(TComponent* AOwner);
  ~TBMOpenMediaDialog() override;
  bool Execute() override;

  bool AutoShow() const { return FImpl->AutoShow(); }
  void SetAutoShow(bool Value) { FImpl->SetAutoShow(Value); }
  bool Loop() const { return FImpl->Loop(); }
  void SetLoop(bool Value) { FImpl->SetLoop(Value); }
  TBMMediaDialogImpl* Impl() const { return FImpl; }

protected:
  void DoClose() override;
  void DoShow() override;
  void DoSelectionChange() override;
  void DoFolderChange() override;

private:
  TBMMediaDialogImpl* FImpl;
};

// The save dialog with the preview.
class TBMSaveMediaDialog : public TSaveDialog {
  ORV_CLASS(TBMSaveMediaDialog, TSaveDialog)
public:
  explicit TBMSaveMediaDialog(TComponent* AOwner);
  ~TBMSaveMediaDialog() override;
  bool Execute() override;

  bool AutoShow() const { return FImpl->AutoShow(); }
  void SetAutoShow(bool Value) { FImpl->SetAutoShow(Value); }
  bool Loop() const { return FImpl->Loop(); }
  void SetLoop(bool Value) { FImpl->SetLoop(Value); }
  TBMMediaDialogImpl* Impl() const { return FImpl; }

protected:
  void DoClose() override;
  void DoShow() override;
  void DoSelectionChange() override;
  void DoFolderChange() override;

private:
  TBMMediaDialogImpl* FImpl;
};
