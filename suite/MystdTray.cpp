#include "suite/MystdTray.h"

#include "suite/qPanel2Base.h"
#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

constexpr TEnumType TqcTMDirType{"TqcTMDir", {"TqcTM_Up", "TqcTM_Down", "TqcTM_Left", "TqcTM_Right"}};
constexpr TEnumType TqcTrayHintStyleType{"TqcTrayHintStyle", {"thsPctBar", "thsTotalBar", "thsTotPct", "thsPctTot"}};

namespace {

// The form among the owners, null when there is none.
TForm* OwnerForm(TComponent* Component) {
  try {
    return FindForm(Component);
  } catch (const EComponentError&) {
    return nullptr;
  }
}

bool IsMainForm(TForm* Form) { return Form && Application && Application->MainForm() == Form; }

// The main form's window, which menus need in front; the utility window when there is none.
HWND FrontWindow(HWND Fallback) {
  TCustomForm* Main = Application ? Application->MainForm() : nullptr;
  return Main && Main->HandleAllocated() ? Main->WindowHandle() : Fallback;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TqCustomTrayIcon

TqCustomTrayIcon::TqCustomTrayIcon(TComponent* AOwner) : TComponent(AOwner) {
  FIcon = new TIcon;
  FWindow = AllocateHWnd(TWndMethod::Bind<&TqCustomTrayIcon::WndProc>(this));
  if (!IsMainForm(OwnerForm(this))) SetHideParentForm(FHideParentForm);
}

// Tells a callback under way whether user code it called freed the tray (or began to): then it
// stops, touching nothing of the tray.
class TqCustomTrayIcon::TLiveGuard {
public:
  explicit TLiveGuard(const TqCustomTrayIcon* Tray) : FTray(Tray), FAlive(Tray->FAlive) {}
  bool Live() const { return *FAlive && !FTray->HasState(csDestroying); }

private:
  const TqCustomTrayIcon* FTray;
  std::shared_ptr<const bool> FAlive;
};

void TqCustomTrayIcon::BeforeDestruction() {
  *FAlive = false;
  if (Shown()) DeleteIcon();
  TComponent::BeforeDestruction();
}

TqCustomTrayIcon::~TqCustomTrayIcon() {
  DeallocateHWnd(FWindow);
  FWindow = nullptr;
  TObject::Free(FIcon);
}

bool TqCustomTrayIcon::Shown() const { return Running() ? FActive : FShowDesigning; }

void TqCustomTrayIcon::Loaded() {
  TComponent::Loaded();
  ImageNeeded();
  if (FActive && Running()) FActive = AddIcon();
}

void TqCustomTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (AComponent == FLeftPopupMenu) FLeftPopupMenu = nullptr;
}

void TqCustomTrayIcon::SetPopupMenu(TPopupMenu* Value) {
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TqCustomTrayIcon::SetLeftPopupMenu(TPopupMenu* Value) {
  FLeftPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TqCustomTrayIcon::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (HasState(csLoading) || !Running()) return;
  if (Value) FActive = AddIcon();
  else DeleteIcon();
}

void TqCustomTrayIcon::SetShowDesigning(bool Value) {
  if (Running() || FShowDesigning == Value) return;
  FShowDesigning = Value;
  if (Value) AddIcon();
  else DeleteIcon();
}

void TqCustomTrayIcon::SetHideParentForm(bool Value) {
  FHideParentForm = Value;
  if (Running()) PostMessageA(FWindow, WM_APPLYHIDE, 0, 0);
}

void TqCustomTrayIcon::SetToolTip(const AnsiString& Value) {
  const AnsiString Cut = Value.SubString(1, MaxToolTip);
  if (Cut == FToolTip) return;
  FToolTip = Cut;
  ToolTipChanged();
}

void TqCustomTrayIcon::ToolTipChanged() {
  ModifyIcon();
  PostMessageA(FWindow, WM_ICONCHANGED, 0, 0);
}

void TqCustomTrayIcon::SetIconImage(TIcon* Value) {
  FIcon->Assign(Value);
  ModifyIcon();
  PostMessageA(FWindow, WM_ICONCHANGED, 0, 0);
}

void TqCustomTrayIcon::FillRecord() {
  FData = NOTIFYICONDATAA{};
  FData.cbSize = NOTIFYICONDATAA_V1_SIZE;
  FData.hWnd = FWindow;
  FData.uID = UINT(Tag());
  FData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  FData.uCallbackMessage = WM_TRAYCALLBACK;
  FData.hIcon = FIcon->Empty() ? nullptr : FIcon->Handle();
  const AnsiString Tip = TipText();
  // The first version of the record has 64 characters for the tip, its terminator included.
  const size_t N = std::min<size_t>(size_t(Tip.Length()), 63);
  std::memcpy(FData.szTip, Tip.c_str(), N);
  FData.szTip[N] = 0;
}

bool TqCustomTrayIcon::AddIcon() {
  FillRecord();
  const bool Ok = Shell_NotifyIconA(NIM_ADD, &FData) != 0;
  PostMessageA(FWindow, WM_ICONCHANGED, 0, 0);
  return Ok;
}

void TqCustomTrayIcon::ModifyIcon() {
  FillRecord();
  if (Shown()) Shell_NotifyIconA(NIM_MODIFY, &FData);
}

void TqCustomTrayIcon::DeleteIcon() {
  FillRecord();
  Shell_NotifyIconA(NIM_DELETE, &FData);
}

TShiftState TqCustomTrayIcon::GetShift() {
  TShiftState S = 0;
  if (GetKeyState(VK_SHIFT) < 0) S |= ShiftOf(ssShift);
  if (GetKeyState(VK_MENU) < 0) S |= ShiftOf(ssAlt);
  if (GetKeyState(VK_CONTROL) < 0) S |= ShiftOf(ssCtrl);
  return S;
}

bool TqCustomTrayIcon::CheckMenu() {
  if (!FDoDefaultMenu || !Running() || !FActive || !FPopupMenu) return false;
  TMenuItem* Items = FPopupMenu->Items();
  for (int I = 0; I < Items->Count(); ++I) {
    TMenuItem* Item = Items->Items(I);
    if (!Item->Default()) continue;
    bool DoDefault = true;
    const TLiveGuard Guard(this);
    if (OnDefaultMenu) OnDefaultMenu(this, DoDefault);
    if (!DoDefault || !Guard.Live()) return false;
    Item->Click();
    return true;
  }
  return false;
}

void TqCustomTrayIcon::PopupAt(TPopupMenu* Menu, const TNotifyEvent& Before, int X, int Y) {
  if (!Running() || !Menu || !Menu->AutoPopup()) return;
  Menu->SetPopupComponent(this);
  const HWND Front = FrontWindow(FWindow);
  SetForegroundWindow(Front);
  const TLiveGuard Guard(this);
  if (Before) Before(this);
  if (!Guard.Live()) return;
  Menu->Popup(X, Y);
  // The menu ends properly only once the window in front gets a message after it.
  PostMessageA(Front, WM_NULL, 0, 0);
}

void TqCustomTrayIcon::TrayCallback(UINT MouseMsg) {
  POINT P{};
  GetCursorPos(&P);
  const int X = P.x, Y = P.y;
  // Every user callback may free the tray: after each, stop unless it lives on.
  const TLiveGuard Guard(this);
  auto Up = [&](TMouseButton Button, TShiftState Shift) {
    if (Guard.Live() && OnMouseUp) OnMouseUp(this, Button, GetShift() | Shift, X, Y);
  };
  switch (MouseMsg) {
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this, GetShift(), X, Y);
      break;
    case WM_LBUTTONDOWN:
      FLeftDown = true;
      if (OnMouseDown) OnMouseDown(this, mbLeft, GetShift() | ShiftOf(ssLeft), X, Y);
      break;
    case WM_LBUTTONUP:
      if (FLeftDown) {
        FLeftDown = false;
        if (OnClick) OnClick(this);
        if (Guard.Live()) PopupAt(FLeftPopupMenu, OnleftMenu, X, Y);
      }
      Up(mbLeft, ShiftOf(ssLeft));
      break;
    case WM_LBUTTONDBLCLK:
      if (!CheckMenu() && Guard.Live() && OnDblClick) OnDblClick(this);
      break;
    case WM_RBUTTONDOWN:
      FRightDown = true;
      if (OnMouseDown) OnMouseDown(this, mbRight, GetShift() | ShiftOf(ssRight), X, Y);
      break;
    case WM_RBUTTONUP:
      if (FRightDown) {
        FRightDown = false;
        if (OnRightClick) OnRightClick(this, mbRight, GetShift() | ShiftOf(ssRight), X, Y);
        if (Guard.Live()) PopupAt(FPopupMenu, OnRightMenu, X, Y);
      }
      Up(mbRight, ShiftOf(ssRight));
      break;
    case WM_RBUTTONDBLCLK:
      if (OnRightDblClick) OnRightDblClick(this, mbRight, GetShift() | ShiftOf(ssRight), X, Y);
      break;
    case WM_MBUTTONDOWN:
      FMidDown = true;
      if (OnMouseDown) OnMouseDown(this, mbMiddle, GetShift() | ShiftOf(ssMiddle), X, Y);
      break;
    case WM_MBUTTONUP:
      if (FMidDown) {
        FMidDown = false;
        if (OnMidClick) OnMidClick(this, mbMiddle, GetShift() | ShiftOf(ssMiddle), X, Y);
      }
      Up(mbMiddle, ShiftOf(ssMiddle));
      break;
    case WM_MBUTTONDBLCLK:
      if (OnMidDblClick) OnMidDblClick(this, mbMiddle, GetShift() | ShiftOf(ssMiddle), X, Y);
      break;
    default: break;
  }
}

void TqCustomTrayIcon::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_APPLYHIDE:
      if (TForm* Form = OwnerForm(this); Form && !IsMainForm(Form)) Form->SetVisible(!FHideParentForm);
      return;
    case WM_ICONCHANGED: ModifyIcon(); return;
    case WM_TRAYCALLBACK: TrayCallback(LOWORD(Message.LParam)); return;
    case WM_QUERYENDSESSION:
      if (IsMainForm(OwnerForm(this))) {
        bool DoEnd = true;
        if (OnAskEndSession) OnAskEndSession(DoEnd);
        Message.Result = DoEnd ? 1 : 0;
        return;
      }
      break;
    default: break;
  }
  Message.Result = DefWindowProcA(FWindow, Message.Msg, WPARAM(Message.WParam), LPARAM(Message.LParam));
}

static constinit const TPropInfo TqCustomTrayIcon_Props[] = {
    PropRef<&TqCustomTrayIcon::PopupMenu, &TqCustomTrayIcon::SetPopupMenu>("PopupMenu"),
    PropRef<&TqCustomTrayIcon::LeftPopupMenu, &TqCustomTrayIcon::SetLeftPopupMenu>("LeftPopupMenu"),
    PropBool<&TqCustomTrayIcon::HideParentForm, &TqCustomTrayIcon::SetHideParentForm>("HideParentForm", false),
    PropBool<&TqCustomTrayIcon::ShowDesigning, &TqCustomTrayIcon::SetShowDesigning>("ShowDesigning", false),
    PropBool<&TqCustomTrayIcon::Active, &TqCustomTrayIcon::SetActive>("Active", false),
    PropStr<&TqCustomTrayIcon::ToolTip, &TqCustomTrayIcon::SetToolTip>("ToolTip"),
    PropBool<&TqCustomTrayIcon::DoDefaultMenu, &TqCustomTrayIcon::SetDoDefaultMenu>("DoDefaultMenu", false),
    PropEvent<&TqCustomTrayIcon::OnClick>("OnClick"),
    PropEvent<&TqCustomTrayIcon::OnDblClick>("OnDblClick"),
    PropEvent<&TqCustomTrayIcon::OnRightClick>("OnRightClick"),
    PropEvent<&TqCustomTrayIcon::OnRightDblClick>("OnRightDblClick"),
    PropEvent<&TqCustomTrayIcon::OnMidClick>("OnMidClick"),
    PropEvent<&TqCustomTrayIcon::OnMidDblClick>("OnMidDblClick"),
    PropEvent<&TqCustomTrayIcon::OnMouseDown>("OnMouseDown"),
    PropEvent<&TqCustomTrayIcon::OnMouseUp>("OnMouseUp"),
    PropEvent<&TqCustomTrayIcon::OnMouseMove>("OnMouseMove"),
    PropEvent<&TqCustomTrayIcon::OnleftMenu>("OnleftMenu"),
    PropEvent<&TqCustomTrayIcon::OnRightMenu>("OnRightMenu"),
    PropEvent<&TqCustomTrayIcon::OnDefaultMenu>("OnDefaultMenu"),
    PropEvent<&TqCustomTrayIcon::OnAskEndSession>("OnAskEndSession"),
};
ORV_IMPLEMENT_ABSTRACT(TqCustomTrayIcon, TComponent, TqCustomTrayIcon_Props)

static constinit const TPropInfo TqTrayIcon_Props[] = {
    PropObject<&TqTrayIcon::Icon, &TqTrayIcon::SetIcon>("Icon"),
};
ORV_IMPLEMENT_COMPONENT(TqTrayIcon, TqCustomTrayIcon, TqTrayIcon_Props)

// ---------------------------------------------------------------------------------------------
// TqcTrayMeter

TqcTrayMeter::TqcTrayMeter(TComponent* AOwner) : TqCustomTrayIcon(AOwner) { BuildIcon(); }

template <class T> void TqcTrayMeter::Change(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  BuildIcon();
}

void TqcTrayMeter::SetMin(int Value) {
  // Below the integer maximum, so Max can be above it.
  Value = std::min(Value, std::numeric_limits<int>::max() - 1);
  if (Value == FMin) return;
  FMin = Value;
  ApplyRange(FMax);
}

void TqcTrayMeter::SetMax(int Value) {
  if (Value != FMax) ApplyRange(Value);
}

void TqcTrayMeter::ApplyRange(int NewMax) {
  FMax = NewMax > FMin ? NewMax : FMin + 1;
  FValue = std::clamp(FValue, FMin, FMax);
  BuildIcon();
}

void TqcTrayMeter::SetValue(int Value) { Change(FValue, std::clamp(Value, FMin, FMax)); }

int TqcTrayMeter::Percent() const { return int(qcPercent(FValue, FMin, FMax)); }

void TqcTrayMeter::SetPercent(int Value) {
  const int P = std::clamp(Value, 0, 100);
  const long double V = (long double)(int64_t(FMax) - FMin) * P / 100 + FMin;
  SetValue(int(std::trunc(V)));
}

void TqcTrayMeter::SetColor(TColor Value) { Change(FColor, Value); }
void TqcTrayMeter::SetFrameColor(TColor Value) { Change(FFrameColor, Value); }
void TqcTrayMeter::SetPctColor(TColor Value) { Change(FPctColor, Value); }
void TqcTrayMeter::SetBarColor(TColor Value) { Change(FBarColor, Value); }
void TqcTrayMeter::SetUsePctOnBar(bool Value) { Change(FUsePctOnBar, Value); }
void TqcTrayMeter::SetUseLed(bool Value) { Change(FUseLed, Value); }
void TqcTrayMeter::SetDirection(TqcTMDir Value) { Change(FDirection, Value); }
void TqcTrayMeter::SetToolTipStyle(TqcTrayHintStyle Value) { Change(FToolTipStyle, Value); }

int TqcTrayMeter::BarLength(int Percent) {
  // In extended precision: 0.14 is a little more than 0.14 there, and 75 % still gives 10.5.
  return qcRound((long double)Percent * 0.14L);
}

void TqcTrayMeter::DrawImage(HDC DC) const {
  TCanvas C;
  TCanvasBinding Bind(&C, DC);
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(FColor);
  C.FillRect(Rect(0, 0, 16, 16));
  const int L = BarLength(Percent());
  TRect Bar;
  switch (FDirection) {
    case TqcTM_Up: Bar = Rect(1, 15 - L, 15, 15); break;
    case TqcTM_Down: Bar = Rect(1, 1, 15, 1 + L); break;
    case TqcTM_Left: Bar = Rect(15 - L, 1, 15, 15); break;
    case TqcTM_Right: Bar = Rect(1, 1, 1 + L, 15); break;
  }
  C.Brush()->SetColor(FBarColor);
  if (L > 0) C.FillRect(Bar);
  if (FUseLed) {
    C.Pen()->SetColor(FColor);
    const bool Rows = FDirection == TqcTM_Up || FDirection == TqcTM_Down;
    const int First = FDirection == TqcTM_Up || FDirection == TqcTM_Left ? 2 : 1;
    for (int I = First; I <= 14; I += 2) {
      if (Rows) {
        C.MoveTo(1, I);
        C.LineTo(15, I);
      } else {
        C.MoveTo(I, 1);
        C.LineTo(I, 15);
      }
    }
  }
  if (FUsePctOnBar) {
    const AnsiString Text = IntToStr(Percent());
    C.Font()->SetName("Arial");
    C.Font()->SetSize(7);
    C.Font()->SetColor(FPctColor);
    C.Brush()->SetStyle(bsClear);
    const TSize S = C.TextExtent(Text);
    C.TextOut((16 - S.cx) / 2, (16 - S.cy) / 2, Text);
  }
  C.Pen()->SetColor(FFrameColor);
  C.Polyline({TPoint(0, 0), TPoint(0, 15), TPoint(15, 15), TPoint(15, 0), TPoint(0, 0)});
}

void TqcTrayMeter::BuildIcon() {
  if (HasState(csLoading)) return;
  TWindowDC Screen;
  TBitmapOwner Mask(CreateBitmap(16, 16, 1, 1, nullptr));
  TBitmapOwner Image(CreateCompatibleBitmap(Screen, 16, 16));
  if (!Mask || !Image) throw EOutOfResources("Cannot create the meter's bitmaps");
  {
    TMemoryDC DC(Screen);
    TSelectGuard Select(DC, Mask);
    PatBlt(DC, 0, 0, 16, 16, BLACKNESS);  // the whole icon opaque
  }
  {
    TMemoryDC DC(Screen);
    TSelectGuard Select(DC, Image);
    DrawImage(DC);
  }
  if (!ToolTip().IsEmpty()) {
    try {
      switch (FToolTipStyle) {
        case thsPctBar: FTip = Format(ToolTip(), {Percent()}); break;
        case thsTotalBar: FTip = Format(ToolTip(), {FValue}); break;
        case thsTotPct: FTip = Format(ToolTip(), {FValue, Percent()}); break;
        case thsPctTot: FTip = Format(ToolTip(), {Percent(), FValue}); break;
      }
    } catch (const EConvertError&) {
      // A template that does not fit keeps the tip there was.
    }
  }
  ICONINFO Info{};
  Info.fIcon = TRUE;
  Info.hbmMask = Mask;
  Info.hbmColor = Image;
  TIcon Icon;
  Icon.SetHandle(CreateIconIndirect(&Info));
  if (!Icon.HandleAllocated()) throw EOutOfResources("Cannot create the meter's icon");
  SetIconImage(&Icon);
}

static constinit const TPropInfo TqcTrayMeter_Props[] = {
    PropInt<&TqcTrayMeter::Min, &TqcTrayMeter::SetMin>("Min", 0),
    PropInt<&TqcTrayMeter::Max, &TqcTrayMeter::SetMax>("Max", 100),
    PropInt<&TqcTrayMeter::Value, &TqcTrayMeter::SetValue>("Value", 0),
    PropInt<&TqcTrayMeter::Percent, &TqcTrayMeter::SetPercent>("Percent", 0, NeverStored),
    PropColor<&TqcTrayMeter::Color, &TqcTrayMeter::SetColor>("Color", clBtnFace),
    PropColor<&TqcTrayMeter::FrameColor, &TqcTrayMeter::SetFrameColor>("FrameColor", clBlack),
    PropColor<&TqcTrayMeter::PctColor, &TqcTrayMeter::SetPctColor>("PctColor", clBlack),
    PropColor<&TqcTrayMeter::BarColor, &TqcTrayMeter::SetBarColor>("BarColor", clLime),
    PropBool<&TqcTrayMeter::UsePctOnBar, &TqcTrayMeter::SetUsePctOnBar>("UsePctOnBar", true),
    PropBool<&TqcTrayMeter::UseLed, &TqcTrayMeter::SetUseLed>("UseLed", false),
    PropEnum<&TqcTrayMeter::Direction, &TqcTrayMeter::SetDirection>("Direction", TqcTMDirType, TqcTM_Up),
    PropEnum<&TqcTrayMeter::ToolTipStyle, &TqcTrayMeter::SetToolTipStyle>("ToolTipStyle", TqcTrayHintStyleType,
                                                                          thsPctBar),
};
ORV_IMPLEMENT_COMPONENT(TqcTrayMeter, TqCustomTrayIcon, TqcTrayMeter_Props)

namespace {
const struct TTrayRegistration {
  TTrayRegistration() { RegisterClasses({TqTrayIcon::StaticClass(), TqcTrayMeter::StaticClass()}); }
} TrayRegistration;
}  // namespace
