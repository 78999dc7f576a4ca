// The media player over MCI.
#include "vcl/MPlayer.h"
#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"
#include "vcl/Menus.h"

#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <vector>

constexpr TEnumType TMPBtnTypeType{
    "TMPBtnType", {"btPlay", "btPause", "btStop", "btNext", "btPrev", "btStep", "btBack", "btRecord", "btEject"}};
constexpr TEnumType TMPDeviceTypesType{
    "TMPDeviceTypes",
    {"dtAutoSelect", "dtAVIVideo", "dtCDAudio", "dtDAT", "dtDigitalVideo", "dtMMMovie", "dtOther", "dtOverlay",
     "dtScanner", "dtSequencer", "dtVCR", "dtVideodisc", "dtWaveAudio"}};
constexpr TEnumType TMPModesType{
    "TMPModes", {"mpNotReady", "mpStopped", "mpPlaying", "mpRecording", "mpSeeking", "mpPaused", "mpOpen"}};
constexpr TEnumType TMPTimeFormatsType{
    "TMPTimeFormats",
    {"tfMilliseconds", "tfHMS", "tfMSF", "tfFrames", "tfSMPTE24", "tfSMPTE25", "tfSMPTE30", "tfSMPTE30Drop",
     "tfBytes", "tfSamples", "tfTMSF"}};

namespace {
// The MCI device type names, by TMPDeviceTypes (none for dtAutoSelect).
constexpr const char* DeviceTypeNames[] = {"",      "AVIVideo",  "CDAudio",  "DAT",       "DigitalVideo",
                                           "MMMovie", "Other",   "Overlay",  "Scanner",   "Sequencer",
                                           "VCR",   "Videodisc", "WaveAudio"};
constexpr const char* NotOpen = "No MCI device open";
constexpr unsigned Bit(int N) { return 1u << N; }
}  // namespace

TMediaPlayer::TMediaPlayer(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(StyleOf(csCaptureMouse) | StyleOf(csOpaque));
  SetBounds(Left(), Top(), 253, 30);
  SetColor(clBtnFace);
  SetTabStop(true);
  FNotifyWnd = AllocateHWnd(TWndMethod::Bind<&TMediaPlayer::NotifyWndProc>(this));
}

TMediaPlayer::~TMediaPlayer() { DeallocateHWnd(FNotifyWnd); }

void TMediaPlayer::BeforeDestruction() {
  if (FDeviceID != 0) {
    MCI_GENERIC_PARMS P{};
    mciSendCommandA(FDeviceID, MCI_CLOSE, MCI_WAIT, DWORD_PTR(&P));
    FDeviceID = 0;
  }
  TCustomControl::BeforeDestruction();
}

void TMediaPlayer::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TMediaPlayer::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TMediaPlayer::Loaded() {
  TCustomControl::Loaded();
  if (FAutoOpen && !HasState(csDesigning) && !FFileName.IsEmpty()) Open();
}

void TMediaPlayer::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDisplay) {
    FDisplay = nullptr;
    if (FDeviceID != 0 && !HasState(csDestroying)) {
      try {
        ApplyDisplay();
      } catch (const EMCIDeviceError&) {
        // The device keeps drawing where it can; the control it drew in is gone either way.
      }
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Commands

AnsiString TMediaPlayer::ErrorMessage() const {
  char Text[256] = {};
  if (!mciGetErrorStringA(FError, Text, sizeof Text)) return "Unknown MCI error " + IntToStr(int(FError));
  return AnsiString(Text);
}

void TMediaPlayer::CheckOpen() const {
  if (FDeviceID == 0) throw EMCIDeviceError(NotOpen);
}

unsigned TMediaPlayer::CommandFlags(bool& Notifying) {
  unsigned Flags = 0;
  if (FWait) Flags |= MCI_WAIT;
  Notifying = FNotify;
  // Without waiting, the player hears the end of each command (to follow it with its buttons).
  if (!FWait || FNotify) Flags |= MCI_NOTIFY;
  FWait = false;
  FNotify = false;
  return Flags;
}

void TMediaPlayer::SendCommand(unsigned Command, unsigned Flags, void* Params) {
  bool Notifying = false;
  Flags |= CommandFlags(Notifying);
  // Every parameter block starts with the callback window.
  *static_cast<DWORD_PTR*>(Params) = DWORD_PTR(FNotifyWnd);
  FLastCommand = Command;
  if (Command != MCI_PAUSE && Command != MCI_RESUME) FAtEnd = false;
  FError = unsigned(mciSendCommandA(FDeviceID, Command, Flags, DWORD_PTR(Params)));
  if (FError != 0) throw EMCIDeviceError(ErrorMessage());
  if (Command == MCI_PLAY && FPlayToEnd && (Flags & MCI_WAIT)) FAtEnd = true;
  if (Flags & MCI_NOTIFY) FNotifyPending = Notifying;
}

DWORD_PTR TMediaPlayer::Status(DWORD_PTR Item, unsigned Flags, DWORD Track) {
  CheckOpen();
  MCI_STATUS_PARMS P{};
  P.dwItem = DWORD(Item);
  P.dwTrack = Track;
  FError = unsigned(mciSendCommandA(FDeviceID, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM | Flags, DWORD_PTR(&P)));
  if (FError != 0) throw EMCIDeviceError(ErrorMessage());
  return P.dwReturn;
}

void TMediaPlayer::Open() {
  if (FDeviceID != 0) Close();
  MCI_OPEN_PARMSA P{};
  unsigned Flags = 0;
  if (!FFileName.IsEmpty()) {
    P.lpstrElementName = FFileName.c_str();
    Flags |= MCI_OPEN_ELEMENT;
  }
  if (FDeviceType != dtAutoSelect) {
    P.lpstrDeviceType = DeviceTypeNames[FDeviceType];
    Flags |= MCI_OPEN_TYPE;
  }
  if (FShareable) Flags |= MCI_OPEN_SHAREABLE;
  bool Notifying = false;
  Flags |= CommandFlags(Notifying) | MCI_WAIT;
  P.dwCallback = DWORD_PTR(FNotifyWnd);
  FError = unsigned(mciSendCommandA(0, MCI_OPEN, Flags, DWORD_PTR(&P)));
  if (FError != 0) throw EMCIDeviceError(ErrorMessage());
  FDeviceID = P.wDeviceID;
  FNotifyPending = Notifying;
  FLastCommand = MCI_OPEN;
  FAtEnd = false;
  try {
    auto Caps = [&](DWORD Item) {
      MCI_GETDEVCAPS_PARMS C{};
      C.dwItem = Item;
      return mciSendCommandA(FDeviceID, MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, DWORD_PTR(&C)) == 0 &&
             C.dwReturn != 0;
    };
    auto Type = [&] {
      MCI_GETDEVCAPS_PARMS C{};
      C.dwItem = MCI_GETDEVCAPS_DEVICE_TYPE;
      mciSendCommandA(FDeviceID, MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, DWORD_PTR(&C));
      return C.dwReturn;
    }();
    FCapabilities = 0;
    if (Caps(MCI_GETDEVCAPS_CAN_PLAY)) FCapabilities |= Bit(mpCanPlay);
    if (Caps(MCI_GETDEVCAPS_CAN_RECORD)) FCapabilities |= Bit(mpCanRecord);
    if (Caps(MCI_GETDEVCAPS_CAN_EJECT)) FCapabilities |= Bit(mpCanEject);
    if (Caps(MCI_GETDEVCAPS_HAS_VIDEO)) FCapabilities |= Bit(mpUsesWindow);
    if (Type == MCI_DEVTYPE_ANIMATION || Type == MCI_DEVTYPE_DIGITAL_VIDEO || Type == MCI_DEVTYPE_OVERLAY ||
        Type == MCI_DEVTYPE_VCR)
      FCapabilities |= Bit(mpCanStep);
    MCI_SET_PARMS S{};
    S.dwTimeFormat = DWORD(FTimeFormat);
    FError = unsigned(mciSendCommandA(FDeviceID, MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT, DWORD_PTR(&S)));
    if (FError != 0) throw EMCIDeviceError(ErrorMessage());
    if (FDisplay) ApplyDisplay();
  } catch (...) {
    MCI_GENERIC_PARMS G{};
    mciSendCommandA(FDeviceID, MCI_CLOSE, MCI_WAIT, DWORD_PTR(&G));
    FDeviceID = 0;
    FCapabilities = 0;
    throw;
  }
  AutoButtons();
}

void TMediaPlayer::Close() {
  if (FDeviceID == 0) {
    FWait = FNotify = false;
    return;
  }
  MCI_GENERIC_PARMS P{};
  const unsigned Id = FDeviceID;
  bool Notifying = false;
  const unsigned Flags = CommandFlags(Notifying);
  P.dwCallback = DWORD_PTR(FNotifyWnd);
  FError = unsigned(mciSendCommandA(Id, MCI_CLOSE, Flags, DWORD_PTR(&P)));
  FDeviceID = 0;
  FCapabilities = 0;
  FNotifyPending = Notifying;
  AutoButtons();
  if (FError != 0) throw EMCIDeviceError(ErrorMessage());
}

void TMediaPlayer::Play() {
  CheckOpen();
  if (FAutoRewind && !FUseFrom && Mode() != mpPaused) {
    const int L = Length();
    if (L > 0 && (FAtEnd || Position() >= L)) {
      // Not a command of its own: the play keeps Wait and Notify.
      MCI_SEEK_PARMS S{};
      FError = unsigned(mciSendCommandA(FDeviceID, MCI_SEEK, MCI_WAIT | MCI_SEEK_TO_START, DWORD_PTR(&S)));
      if (FError != 0) throw EMCIDeviceError(ErrorMessage());
    }
  }
  MCI_PLAY_PARMS P{};
  unsigned Flags = 0;
  if (FUseFrom) {
    P.dwFrom = DWORD(FStartPos);
    Flags |= MCI_FROM;
  }
  if (FUseTo) {
    P.dwTo = DWORD(FEndPos);
    Flags |= MCI_TO;
  }
  FPlayToEnd = !FUseTo;
  FUseFrom = FUseTo = false;
  SendCommand(MCI_PLAY, Flags, &P);
  AutoButtons();
}

void TMediaPlayer::Pause() {
  CheckOpen();
  MCI_GENERIC_PARMS P{};
  SendCommand(MCI_PAUSE, 0, &P);
  AutoButtons();
}

void TMediaPlayer::Resume() {
  CheckOpen();
  MCI_GENERIC_PARMS P{};
  SendCommand(MCI_RESUME, 0, &P);
  AutoButtons();
}

void TMediaPlayer::Stop() {
  CheckOpen();
  MCI_GENERIC_PARMS P{};
  try {
    SendCommand(MCI_STOP, 0, &P);
  } catch (const EMCIDeviceError&) {
    // Wine's video device stops a video without sound and then fails to reset the wave device it
    // does not have (MMSYSERR_INVALHANDLE, no MCI error): stopped is what was asked.
    if (FError != MMSYSERR_INVALHANDLE || Mode() != mpStopped) throw;
    FError = 0;
  }
  AutoButtons();
}

void TMediaPlayer::Rewind() {
  CheckOpen();
  MCI_SEEK_PARMS P{};
  SendCommand(MCI_SEEK, MCI_SEEK_TO_START, &P);
  AutoButtons();
}

void TMediaPlayer::Next() {
  CheckOpen();
  MCI_SEEK_PARMS P{};
  if (FTimeFormat == tfTMSF) {
    const int Track = int(MCI_TMSF_TRACK(Position()));
    if (Track < Tracks()) {
      P.dwTo = MCI_MAKE_TMSF(Track + 1, 0, 0, 0);
      SendCommand(MCI_SEEK, MCI_TO, &P);
      AutoButtons();
      return;
    }
  }
  SendCommand(MCI_SEEK, MCI_SEEK_TO_END, &P);
  AutoButtons();
}

void TMediaPlayer::Previous() {
  CheckOpen();
  MCI_SEEK_PARMS P{};
  if (FTimeFormat == tfTMSF) {
    const DWORD Pos = DWORD(Position());
    int Track = int(MCI_TMSF_TRACK(Pos));
    // Within a track: its start; at a track's start: the one before.
    if (MCI_TMSF_MINUTE(Pos) == 0 && MCI_TMSF_SECOND(Pos) == 0 && MCI_TMSF_FRAME(Pos) == 0 && Track > 1) --Track;
    P.dwTo = MCI_MAKE_TMSF(Track, 0, 0, 0);
    SendCommand(MCI_SEEK, MCI_TO, &P);
  } else {
    SendCommand(MCI_SEEK, MCI_SEEK_TO_START, &P);
  }
  AutoButtons();
}

void TMediaPlayer::Step() {
  CheckOpen();
  MCI_ANIM_STEP_PARMS P{};
  P.dwFrames = DWORD(FFrames > 0 ? FFrames : std::max(1, Length() / 10));
  SendCommand(MCI_STEP, MCI_ANIM_STEP_FRAMES, &P);
  AutoButtons();
}

void TMediaPlayer::Back() {
  CheckOpen();
  MCI_ANIM_STEP_PARMS P{};
  P.dwFrames = DWORD(FFrames > 0 ? FFrames : std::max(1, Length() / 10));
  SendCommand(MCI_STEP, MCI_ANIM_STEP_FRAMES | MCI_ANIM_STEP_REVERSE, &P);
  AutoButtons();
}

void TMediaPlayer::StartRecording() {
  CheckOpen();
  MCI_RECORD_PARMS P{};
  unsigned Flags = 0;
  if (FUseFrom) {
    P.dwFrom = DWORD(FStartPos);
    Flags |= MCI_FROM;
  }
  if (FUseTo) {
    P.dwTo = DWORD(FEndPos);
    Flags |= MCI_TO;
  }
  FUseFrom = FUseTo = false;
  SendCommand(MCI_RECORD, Flags, &P);
  AutoButtons();
}

void TMediaPlayer::Eject() {
  CheckOpen();
  MCI_SET_PARMS P{};
  SendCommand(MCI_SET, MCI_SET_DOOR_OPEN, &P);
  AutoButtons();
}

void TMediaPlayer::Save() {
  CheckOpen();
  MCI_SAVE_PARMSA P{};
  P.lpfilename = FFileName.c_str();
  SendCommand(MCI_SAVE, MCI_SAVE_FILE, &P);
}

// ---------------------------------------------------------------------------------------------
// Properties

TMPModes TMediaPlayer::Mode() {
  if (FDeviceID == 0) return mpNotReady;
  const DWORD_PTR M = Status(MCI_STATUS_MODE);
  return M >= MCI_MODE_NOT_READY && M <= MCI_MODE_OPEN ? TMPModes(M - MCI_MODE_NOT_READY) : mpNotReady;
}

int TMediaPlayer::Length() { return FDeviceID ? int(Status(MCI_STATUS_LENGTH)) : 0; }

int TMediaPlayer::Position() { return FDeviceID ? int(Status(MCI_STATUS_POSITION)) : 0; }

int TMediaPlayer::Tracks() { return FDeviceID ? int(Status(MCI_STATUS_NUMBER_OF_TRACKS)) : 0; }

void TMediaPlayer::SetPosition(int Value) {
  CheckOpen();
  MCI_SEEK_PARMS P{};
  P.dwTo = DWORD(Value);
  SendCommand(MCI_SEEK, MCI_TO, &P);
  AutoButtons();
}

void TMediaPlayer::SetStartPos(int Value) {
  FStartPos = Value;
  FUseFrom = true;
}

void TMediaPlayer::SetEndPos(int Value) {
  FEndPos = Value;
  FUseTo = true;
}

TMPTimeFormats TMediaPlayer::TimeFormat() {
  if (FDeviceID != 0) {
    const DWORD_PTR F = Status(MCI_STATUS_TIME_FORMAT);
    if (F <= DWORD_PTR(tfTMSF)) FTimeFormat = TMPTimeFormats(F);
  }
  return FTimeFormat;
}

void TMediaPlayer::SetTimeFormat(TMPTimeFormats Value) {
  if (FDeviceID != 0) {
    MCI_SET_PARMS P{};
    P.dwTimeFormat = DWORD(Value);
    FError = unsigned(mciSendCommandA(FDeviceID, MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT, DWORD_PTR(&P)));
    if (FError != 0) throw EMCIDeviceError(ErrorMessage());
  }
  FTimeFormat = Value;
}

void TMediaPlayer::SetDisplay(TWinControl* Value) {
  if (Value == FDisplay) return;
  if (FDisplay) FDisplay->RemoveFreeNotification(this);
  FDisplay = Value;
  if (FDisplay) FDisplay->FreeNotification(this);
  if (FDeviceID != 0 && !HasState(csLoading)) ApplyDisplay();
}

void TMediaPlayer::ApplyDisplay() {
  if (!(FCapabilities & Bit(mpUsesWindow))) return;
  MCI_ANIM_WINDOW_PARMSA P{};
  // Without a display the device draws in a window of its own again.
  P.hWnd = FDisplay ? FDisplay->Handle() : HWND(MCI_ANIM_WINDOW_DEFAULT);
  P.dwCallback = 0;
  FError = unsigned(mciSendCommandA(FDeviceID, MCI_WINDOW, MCI_WAIT | MCI_ANIM_WINDOW_HWND, DWORD_PTR(&P)));
  if (FError != 0) throw EMCIDeviceError(ErrorMessage());
}

TRect TMediaPlayer::DisplayRect() {
  CheckOpen();
  MCI_ANIM_RECT_PARMS P{};
  FError = unsigned(mciSendCommandA(FDeviceID, MCI_WHERE, MCI_WAIT | MCI_ANIM_WHERE_DESTINATION, DWORD_PTR(&P)));
  if (FError != 0) throw EMCIDeviceError(ErrorMessage());
  // MCI gives the origin and the size.
  return Rect(P.rc.left, P.rc.top, P.rc.left + P.rc.right, P.rc.top + P.rc.bottom);
}

void TMediaPlayer::SetDisplayRect(const TRect& Value) {
  CheckOpen();
  MCI_ANIM_RECT_PARMS P{};
  P.rc = {Value.Left, Value.Top, Value.Right - Value.Left, Value.Bottom - Value.Top};
  FError = unsigned(
      mciSendCommandA(FDeviceID, MCI_PUT, MCI_WAIT | MCI_ANIM_RECT | MCI_ANIM_PUT_DESTINATION, DWORD_PTR(&P)));
  if (FError != 0) throw EMCIDeviceError(ErrorMessage());
}

void TMediaPlayer::SetAutoEnable(bool Value) {
  if (FAutoEnable == Value) return;
  FAutoEnable = Value;
  if (!HasState(csLoading)) AutoButtons();
}

void TMediaPlayer::SetColoredButtons(TButtonSet Value) {
  Value &= AllMPButtons;
  if (FColoredButtons == Value) return;
  FColoredButtons = Value;
  if (!HasState(csLoading)) Invalidate();
}

void TMediaPlayer::SetEnabledButtons(TButtonSet Value) {
  Value &= AllMPButtons;
  if (FEnabledButtons == Value) return;
  FEnabledButtons = Value;
  if (!HasState(csLoading)) Invalidate();
}

void TMediaPlayer::SetVisibleButtons(TButtonSet Value) {
  Value &= AllMPButtons;
  if (FVisibleButtons == Value) return;
  FVisibleButtons = Value;
  if (!HasState(csLoading)) Invalidate();
}

void TMediaPlayer::AutoButtons() {
  if (!FAutoEnable || HasState(csLoading | csDesigning | csDestroying)) return;
  TButtonSet B = 0;
  if (FDeviceID != 0) {
    TMPModes M = mpNotReady;
    try {
      M = Mode();
    } catch (const EMCIDeviceError&) {
      // A device that cannot tell its mode keeps every button it has.
    }
    const bool Busy = M == mpPlaying || M == mpRecording;
    if (FCapabilities & Bit(mpCanPlay) && !Busy) B |= Bit(btPlay);
    if (Busy || M == mpPaused) B |= Bit(btPause);
    if (Busy) B |= Bit(btStop);
    B |= Bit(btNext) | Bit(btPrev);
    if (FCapabilities & Bit(mpCanStep)) B |= Bit(btStep) | Bit(btBack);
    if (FCapabilities & Bit(mpCanRecord) && M != mpRecording) B |= Bit(btRecord);
    if (FCapabilities & Bit(mpCanEject)) B |= Bit(btEject);
  }
  SetEnabledButtons(B);
}

void TMediaPlayer::DoNotify() {
  if (OnNotify) OnNotify(this);
}

void TMediaPlayer::NotifyWndProc(TMessage& Message) {
  if (Message.Msg != MM_MCINOTIFY) {
    Message.Result = DefWindowProcA(FNotifyWnd, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  // A notice of a device closed since is stale.
  if (unsigned(Message.LParam) != FDeviceID && FDeviceID != 0) return;
  switch (Message.WParam) {
    case MCI_NOTIFY_SUPERSEDED: FNotifyValue = nvSuperseded; break;
    case MCI_NOTIFY_ABORTED: FNotifyValue = nvAborted; break;
    case MCI_NOTIFY_FAILURE: FNotifyValue = nvFailure; break;
    default:
      FNotifyValue = nvSuccessful;
      if (FLastCommand == MCI_PLAY && FPlayToEnd) FAtEnd = true;
  }
  AutoButtons();
  if (FNotifyPending) {
    FNotifyPending = false;
    DoNotify();
  }
}

// ---------------------------------------------------------------------------------------------
// The button bar

TRect TMediaPlayer::ButtonRect(TMPBtnType Button) const {
  std::vector<int> Shown;
  for (int B = btPlay; B <= btEject; ++B)
    if (FVisibleButtons & Bit(B)) Shown.push_back(B);
  const auto It = std::find(Shown.begin(), Shown.end(), int(Button));
  if (It == Shown.end()) return Rect(0, 0, 0, 0);
  const int N = int(Shown.size()), I = int(It - Shown.begin());
  const int W = ClientWidth(), H = ClientHeight();
  return Rect(W * I / N, 0, W * (I + 1) / N, H);
}

int TMediaPlayer::ButtonAt(int X, int Y) const {
  for (int B = btPlay; B <= btEject; ++B) {
    const TRect R = ButtonRect(TMPBtnType(B));
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return B;
  }
  return -1;
}

namespace {
// The glyph of each button, as polygons in a 16 by 16 box.
struct TShape {
  std::vector<POINT> Pts;
};
std::vector<TShape> Glyph(TMPBtnType B) {
  auto Box = [](int L, int T, int R, int Bt) { return TShape{{{L, T}, {R, T}, {R, Bt}, {L, Bt}}}; };
  auto Right = [](int L, int T, int R, int Bt) { return TShape{{{L, T}, {R, (T + Bt) / 2}, {L, Bt}}}; };
  auto Left = [](int L, int T, int R, int Bt) { return TShape{{{R, T}, {L, (T + Bt) / 2}, {R, Bt}}}; };
  switch (B) {
    case btPlay: return {Right(4, 2, 13, 14)};
    case btPause: return {Box(4, 3, 7, 13), Box(9, 3, 12, 13)};
    case btStop: return {Box(4, 4, 12, 12)};
    case btNext: return {Right(3, 3, 11, 13), Box(11, 3, 13, 13)};
    case btPrev: return {Box(3, 3, 5, 13), Left(5, 3, 13, 13)};
    case btStep: return {Right(2, 4, 8, 12), Right(8, 4, 14, 12)};
    case btBack: return {Left(2, 4, 8, 12), Left(8, 4, 14, 12)};
    case btRecord: return {TShape{{{8, 3}, {12, 4}, {13, 8}, {12, 12}, {8, 13}, {4, 12}, {3, 8}, {4, 4}}}};
    case btEject: return {TShape{{{8, 3}, {14, 9}, {2, 9}}}, Box(2, 11, 14, 13)};
  }
  return {};
}
// The colour of a coloured, enabled glyph.
TColor GlyphColor(TMPBtnType B) {
  switch (B) {
    case btPlay: return TColor(0x008000);
    case btPause: return TColor(0x00C0C0);
    case btStop: return TColor(0x000080);
    case btRecord: return TColor(0x0000FF);
    default: return TColor(0x800000);
  }
}
}  // namespace

void TMediaPlayer::Paint() {
  TCanvas* C = Canvas();
  C->Brush()->SetColor(Color());
  C->Brush()->SetStyle(bsSolid);
  C->FillRect(ClientRect());
  for (int B = btPlay; B <= btEject; ++B) {
    if (!(FVisibleButtons & Bit(B))) continue;
    const TRect R = ButtonRect(TMPBtnType(B));
    const bool Down = B == FPressed && FPressedIn;
    RECT Edge = AsRECT(R);
    DrawEdge(C->Handle(), &Edge, Down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const bool On = Enabled() && (FEnabledButtons & Bit(B));
    const int Ox = (R.Left + R.Right) / 2 - 8 + (Down ? 1 : 0), Oy = (R.Top + R.Bottom) / 2 - 8 + (Down ? 1 : 0);
    auto Draw = [&](int Dx, int Dy, TColor Colour) {
      C->Brush()->SetColor(Colour);
      C->Pen()->SetColor(Colour);
      for (TShape S : Glyph(TMPBtnType(B))) {
        std::vector<TPoint> P;
        for (POINT& Pt : S.Pts) P.push_back(Point(Pt.x + Ox + Dx, Pt.y + Oy + Dy));
        C->Polygon(P);
      }
    };
    if (On) {
      Draw(0, 0, (FColoredButtons & Bit(B)) ? GlyphColor(TMPBtnType(B)) : clBlack);
    } else {
      Draw(1, 1, clBtnHighlight);
      Draw(0, 0, clBtnShadow);
    }
  }
}

void TMediaPlayer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const int B = ButtonAt(X, Y);
  if (B < 0 || !(FEnabledButtons & Bit(B))) return;
  FPressed = B;
  FPressedIn = true;
  Invalidate();
}

void TMediaPlayer::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FPressed < 0) return;
  const bool In = ButtonAt(X, Y) == FPressed;
  if (In != FPressedIn) {
    FPressedIn = In;
    Invalidate();
  }
}

void TMediaPlayer::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || FPressed < 0) return;
  const int B = FPressed;
  const bool In = FPressedIn && ButtonAt(X, Y) == B;
  FPressed = -1;
  FPressedIn = false;
  Invalidate();
  if (In) Click(TMPBtnType(B));
}

void TMediaPlayer::Click(TMPBtnType Button) {
  bool DoDefault = true;
  if (OnClick) OnClick(this, Button, DoDefault);
  if (DoDefault) {
    switch (Button) {
      case btPlay: Play(); break;
      case btPause:
        if (Mode() == mpPaused) Resume();
        else Pause();
        break;
      case btStop: Stop(); break;
      case btNext: Next(); break;
      case btPrev: Previous(); break;
      case btStep: Step(); break;
      case btBack: Back(); break;
      case btRecord: StartRecording(); break;
      case btEject: Eject(); break;
    }
  }
  if (OnPostClick) OnPostClick(this, Button);
}

static constinit const TPropInfo TMediaPlayer_Props[] = {
    TControlProps::Align(),
    PropBool<&TMediaPlayer::AutoEnable, &TMediaPlayer::SetAutoEnable>("AutoEnable", true),
    PropBool<&TMediaPlayer::AutoOpen, &TMediaPlayer::SetAutoOpen>("AutoOpen", false),
    PropBool<&TMediaPlayer::AutoRewind, &TMediaPlayer::SetAutoRewind>("AutoRewind", true),
    PropSet<&TMediaPlayer::ColoredButtons, &TMediaPlayer::SetColoredButtons>("ColoredButtons", TMPBtnTypeType,
                                                                              AllMPButtons),
    PropEnum<&TMediaPlayer::DeviceType, &TMediaPlayer::SetDeviceType>("DeviceType", TMPDeviceTypesType,
                                                                      dtAutoSelect),
    PropRef<&TMediaPlayer::Display, &TMediaPlayer::SetDisplay>("Display"),
    TControlProps::Enabled(),
    PropSet<&TMediaPlayer::EnabledButtons, &TMediaPlayer::SetEnabledButtons>("EnabledButtons", TMPBtnTypeType,
                                                                              AllMPButtons),
    PropStr<&TMediaPlayer::FileName, &TMediaPlayer::SetFileName>("FileName"),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    PropBool<&TMediaPlayer::Shareable, &TMediaPlayer::SetShareable>("Shareable", false),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    PropSet<&TMediaPlayer::VisibleButtons, &TMediaPlayer::SetVisibleButtons>("VisibleButtons", TMPBtnTypeType,
                                                                              AllMPButtons),
    PropEvent<&TMediaPlayer::OnClick>("OnClick"),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    PropEvent<&TMediaPlayer::OnNotify>("OnNotify"),
    PropEvent<&TMediaPlayer::OnPostClick>("OnPostClick"),
};
ORV_IMPLEMENT_COMPONENT(TMediaPlayer, TCustomControl, TMediaPlayer_Props)

namespace {
struct TMPlayerUnit {
  TMPlayerUnit() { RegisterClass(TMediaPlayer::StaticClass()); }
} MPlayerUnit;
}  // namespace
