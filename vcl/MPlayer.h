// The media player: a bar of buttons over an MCI device (mciSendCommandA) that opens a file,
// plays, pauses, stops, steps, seeks, records and ejects, and shows video in another control.
#pragma once

#include "vcl/Controls.h"

ORV_EXCEPTION(EMCIDeviceError, Exception)

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
using TButtonSet = unsigned;  // bit n = TMPBtnType n
extern const TEnumType TMPBtnTypeType;
constexpr TButtonSet AllMPButtons = (1u << (btEject + 1)) - 1;

enum TMPDeviceTypes {
  dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther, dtOverlay, dtScanner,
  dtSequencer, dtVCR, dtVideodisc, dtWaveAudio,
};
extern const TEnumType TMPDeviceTypesType;

enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };
extern const TEnumType TMPModesType;

enum TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

enum TMPDevCaps { mpCanStep, mpCanEject, mpCanPlay, mpCanRecord, mpUsesWindow };
using TMPDevCapsSet = unsigned;  // bit n = TMPDevCaps n

enum TMPTimeFormats {
  tfMilliseconds, tfHMS, tfMSF, tfFrames, tfSMPTE24, tfSMPTE25, tfSMPTE30, tfSMPTE30Drop, tfBytes, tfSamples,
  tfTMSF,
};
extern const TEnumType TMPTimeFormatsType;

// A button click: DoDefault false skips the button's command.
using TMPBtnClickEvent = TClosure<TObject* /*Sender*/, TMPBtnType, bool& /*DoDefault*/>;
using TMPBtnPostClickEvent = TClosure<TObject* /*Sender*/, TMPBtnType>;

// Each command raises EMCIDeviceError with the system's text for a failure. Wait makes the next
// command synchronous and Notify makes it fire OnNotify when it completes; both then return to
// false. With AutoEnable the buttons follow the mode; AutoRewind plays from the start once the
// position is at the end. Display is the control the video is drawn in (the device's own window
// without one), DisplayRect where in it.
class TMediaPlayer : public TCustomControl {
  ORV_CLASS(TMediaPlayer, TCustomControl)
public:
  explicit TMediaPlayer(TComponent* AOwner);
  ~TMediaPlayer() override;
  void BeforeDestruction() override;
  void Dispatch(TMessage& Message) override;

  void Open();
  void Close();
  void Play();
  void Pause();
  void Resume();
  void Stop();
  void Next();
  void Previous();
  void Step();
  void Back();
  void StartRecording();
  void Eject();
  void Rewind();
  void Save();

  // Runs Button's command as a click of it does (OnClick first, OnPostClick after).
  void Click(TMPBtnType Button);

  bool AutoEnable() const { return FAutoEnable; }
  void SetAutoEnable(bool Value);
  bool AutoOpen() const { return FAutoOpen; }
  void SetAutoOpen(bool Value) { FAutoOpen = Value; }
  bool AutoRewind() const { return FAutoRewind; }
  void SetAutoRewind(bool Value) { FAutoRewind = Value; }
  TButtonSet ColoredButtons() const { return FColoredButtons; }
  void SetColoredButtons(TButtonSet Value);
  TMPDeviceTypes DeviceType() const { return FDeviceType; }
  void SetDeviceType(TMPDeviceTypes Value) { FDeviceType = Value; }
  TButtonSet EnabledButtons() const { return FEnabledButtons; }
  void SetEnabledButtons(TButtonSet Value);
  TButtonSet VisibleButtons() const { return FVisibleButtons; }
  void SetVisibleButtons(TButtonSet Value);
  const AnsiString& FileName() const { return FFileName; }
  void SetFileName(const AnsiString& Value) { FFileName = Value; }
  bool Shareable() const { return FShareable; }
  void SetShareable(bool Value) { FShareable = Value; }
  TWinControl* Display() const { return FDisplay; }
  void SetDisplay(TWinControl* Value);
  // In Display's client coordinates; EMCIDeviceError "No MCI device open" without a device.
  TRect DisplayRect();
  void SetDisplayRect(const TRect& Value);
  TMPTimeFormats TimeFormat();
  void SetTimeFormat(TMPTimeFormats Value);

  // Frames that Step and Back move (0: a tenth of the length).
  int Frames() const { return FFrames; }
  void SetFrames(int Value) { FFrames = Value; }
  int StartPos() const { return FStartPos; }
  void SetStartPos(int Value);
  int EndPos() const { return FEndPos; }
  void SetEndPos(int Value);
  bool Wait() const { return FWait; }
  void SetWait(bool Value) { FWait = Value; }
  bool Notify() const { return FNotify; }
  void SetNotify(bool Value) { FNotify = Value; }

  // The open device (0 when none) and what it reports.
  unsigned DeviceID() const { return FDeviceID; }
  TMPModes Mode();
  TMPDevCapsSet Capabilities() const { return FCapabilities; }
  int Length();
  int Position();
  void SetPosition(int Value);
  int Tracks();
  // The last command's error code (0: none) and text.
  unsigned Error() const { return FError; }
  AnsiString ErrorMessage() const;
  TMPNotifyValues NotifyValue() const { return FNotifyValue; }

  // Where Button sits on the bar (empty when hidden).
  TRect ButtonRect(TMPBtnType Button) const;

  TMPBtnClickEvent OnClick;
  TMPBtnPostClickEvent OnPostClick;
  TNotifyEvent OnNotify;

  void Loaded() override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void DoNotify();

private:
  // Sends Command to the open device with the wait or notify flag due; raises on failure.
  void SendCommand(unsigned Command, unsigned Flags, void* Params);
  // The flags of the next command, Wait and Notify reset.
  unsigned CommandFlags(bool& Notifying);
  DWORD_PTR Status(DWORD_PTR Item, unsigned Flags = 0, DWORD Track = 0);
  void CheckOpen() const;
  void ApplyDisplay();
  void AutoButtons();
  void NotifyWndProc(TMessage& Message);
  int ButtonAt(int X, int Y) const;
  void WMEraseBkgnd(TMessage& Message);

  unsigned FDeviceID = 0;
  unsigned FError = 0;
  TMPDevCapsSet FCapabilities = 0;
  TMPNotifyValues FNotifyValue = nvSuccessful;
  bool FAutoEnable = true;
  bool FAutoOpen = false;
  bool FAutoRewind = true;
  bool FShareable = false;
  bool FWait = false;
  bool FNotify = false;
  bool FNotifyPending = false;  // the running command asked for OnNotify
  bool FUseFrom = false, FUseTo = false;
  // The last command, and whether a play without an end reached the end of the medium (some
  // devices then report the last frame's position, short of the length).
  unsigned FLastCommand = 0;
  bool FPlayToEnd = false;
  bool FAtEnd = false;
  TButtonSet FColoredButtons = AllMPButtons;
  TButtonSet FEnabledButtons = AllMPButtons;
  TButtonSet FVisibleButtons = AllMPButtons;
  TMPDeviceTypes FDeviceType = dtAutoSelect;
  TMPTimeFormats FTimeFormat = tfMilliseconds;
  AnsiString FFileName;
  TWinControl* FDisplay = nullptr;
  int FFrames = 0;
  int FStartPos = 0, FEndPos = 0;
  int FPressed = -1;      // the button the mouse went down on
  bool FPressedIn = false; // and the mouse is over it
  HWND FNotifyWnd = nullptr;
};
