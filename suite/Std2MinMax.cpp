#include "suite/Std2MinMax.h"

#include "rtl/TypInfo.h"
#include "suite/MystdRoutines.h"

#include <algorithm>

void FitToTaskBar(TqSizeLimits& L, const TRect& Bar, int ScreenW, int ScreenH) {
  const int SW = ScreenW + 1, SH = ScreenH + 1;
  L.MaxLeft = 0;
  L.MaxTop = 0;
  L.MaxDragWidth = SW - 1;
  L.MaxDragHeight = SH - 1;
  if (Bar.Left >= 2) {  // at the right
    L.MaxDragWidth = SW - (Bar.Right - Bar.Left - 1);
  } else if (Bar.Top >= 2) {  // at the bottom
    L.MaxDragHeight = SH - (Bar.Bottom - Bar.Top - 1);
  } else if (SW - 2 > Bar.Right) {  // at the left
    L.MaxLeft = Bar.Right;
    L.MaxDragWidth = SW - Bar.Right;
  } else {  // at the top
    L.MaxTop = Bar.Bottom;
    L.MaxDragHeight = SH - Bar.Bottom;
  }
}

TqMinMax::TqMinMax(TComponent* AOwner) : TComponent(AOwner) { SetSize(); }

TqMinMax::~TqMinMax() { FHook.Detach(); }

void TqMinMax::Loaded() {
  TComponent::Loaded();
  if (HasState(csDesigning) || FHook.Installed()) return;
  FHook.Attach(FindForm(this), TWindowProcHook::THandler::Bind<&TqMinMax::HookProc>(this),
               TNotifyEvent::Bind<&TqMinMax::FormHooked>(this));
}

void TqMinMax::SetLimit(int& Field, int Value) {
  Field = Value;
  SetSize();
}

void TqMinMax::SetUseDefaultSize(bool Value) {
  FUseDefaultSize = Value;
  SetSize();
}

void TqMinMax::SetAutoTaskBarAjust(bool Value) {
  FAutoTaskBarAjust = Value;
  if (HasState(csLoading)) return;
  TForm* Form = FindForm(this);
  if (Form->WindowState() == wsMaximized) {
    Form->SetWindowState(wsNormal);
    Form->SetWindowState(wsMaximized);
  }
}

void TqMinMax::SetShowOnStatusBar(bool Value) {
  FShowOnStatusBar = Value;
  if (HasState(csDesigning) || HasState(csLoading)) return;
  TForm* Form = FindForm(this);
  Form->HandleNeeded();
  HWND Wnd = Form->WindowHandle();
  LONG_PTR Ex = GetWindowLongPtrA(Wnd, GWL_EXSTYLE);
  Ex = Value ? Ex | WS_EX_APPWINDOW : Ex & ~LONG_PTR(WS_EX_APPWINDOW);
  SetWindowLongPtrA(Wnd, GWL_EXSTYLE, Ex);
}

void TqMinMax::FormHooked(TObject*) { ApplyAppWindow(); }

// A window the form makes again gets the style back.
void TqMinMax::ApplyAppWindow() {
  if (!FShowOnStatusBar) return;
  HWND Wnd = FHook.Window();
  SetWindowLongPtrA(Wnd, GWL_EXSTYLE, GetWindowLongPtrA(Wnd, GWL_EXSTYLE) | WS_EX_APPWINDOW);
}

void TqMinMax::SetSize() {
  if (FUseDefaultSize) return;
  FMaxWidth = std::max(FMaxWidth, FMinDragWidth);
  FMaxHeight = std::max(FMaxHeight, FMinDragHeight);
  FMaxDragWidth = std::max(FMaxDragWidth, FMaxWidth);
  FMaxDragHeight = std::max(FMaxDragHeight, FMaxHeight);
  TForm* Form = FindForm(this);
  int L = Form->Left(), T = Form->Top(), W = Form->Width(), H = Form->Height();
  if (Form->WindowState() == wsMaximized) {
    L = FMaxLeft;
    T = FMaxTop;
    W = std::min(W, FMaxWidth);
    H = std::min(H, FMaxHeight);
  } else {
    W = std::min(W, FMaxDragWidth);
    H = std::min(H, FMaxDragHeight);
  }
  W = std::max(W, FMinDragWidth);
  H = std::max(H, FMinDragHeight);
  Form->SetBounds(L, T, W, H);
}

void TqMinMax::HookProc(TMessage& Message) {
  Message.Result = FHook.CurrentLink().CallPrevious(Message);
  if (Message.Msg == WM_GETMINMAXINFO) Answer(*reinterpret_cast<MINMAXINFO*>(Message.LParam));
}

void TqMinMax::Answer(MINMAXINFO& Info) {
  if (FUseDefaultSize) {
    FMinDragWidth = Info.ptMinTrackSize.x;
    FMinDragHeight = Info.ptMinTrackSize.y;
    FMaxWidth = Info.ptMaxSize.x;
    FMaxHeight = Info.ptMaxSize.y;
    FMaxDragWidth = Info.ptMaxTrackSize.x;
    FMaxDragHeight = Info.ptMaxTrackSize.y;
    FMaxLeft = Info.ptMaxPosition.x;
    FMaxTop = Info.ptMaxPosition.y;
  }
  TqSizeLimits L{FMinDragWidth, FMinDragHeight, FMaxWidth, FMaxHeight, FMaxDragWidth, FMaxDragHeight, FMaxLeft, FMaxTop};
  if (FAutoTaskBarAjust) {
    if (HWND Bar = FindWindowA("Shell_TrayWnd", nullptr)) {
      RECT R{};
      GetWindowRect(Bar, &R);
      FitToTaskBar(L, TRect(R), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
  }
  if (OnSizeChange) {
    // A failing handler still leaves the window an answer.
    try {
      OnSizeChange(this, L.MinDragWidth, L.MinDragHeight, L.MaxWidth, L.MaxHeight, L.MaxDragWidth, L.MaxDragHeight,
                   L.MaxLeft, L.MaxTop);
    } catch (...) {
      HandleVclException(this);
    }
  }
  Info.ptMaxSize = POINT{L.MaxWidth, L.MaxHeight};
  Info.ptMaxPosition = POINT{L.MaxLeft, L.MaxTop};
  Info.ptMaxTrackSize = POINT{L.MaxDragWidth, L.MaxDragHeight};
  Info.ptMinTrackSize = POINT{L.MinDragWidth, L.MinDragHeight};
}

static constinit const TPropInfo TqMinMax_Props[] = {
    PropInt<&TqMinMax::MaxLeft, &TqMinMax::SetMaxLeft>("MaxLeft", 0),
    PropInt<&TqMinMax::MaxTop, &TqMinMax::SetMaxTop>("MaxTop", 0),
    PropInt<&TqMinMax::MaxWidth, &TqMinMax::SetMaxWidth>("MaxWidth", 600),
    PropInt<&TqMinMax::MaxHeight, &TqMinMax::SetMaxHeight>("MaxHeight", 400),
    PropInt<&TqMinMax::MaxDragWidth, &TqMinMax::SetMaxDragWidth>("MaxDragWidth", 600),
    PropInt<&TqMinMax::MaxDragHeight, &TqMinMax::SetMaxDragHeight>("MaxDragHeight", 400),
    PropInt<&TqMinMax::MinDragWidth, &TqMinMax::SetMinDragWidth>("MinDragWidth", 0),
    PropInt<&TqMinMax::MinDragHeight, &TqMinMax::SetMinDragHeight>("MinDragHeight", 0),
    PropBool<&TqMinMax::UseDefaultSize, &TqMinMax::SetUseDefaultSize>("UseDefaultSize", false),
    PropBool<&TqMinMax::AutoTaskBarAjust, &TqMinMax::SetAutoTaskBarAjust>("AutoTaskBarAjust", false),
    PropBool<&TqMinMax::ShowOnStatusBar, &TqMinMax::SetShowOnStatusBar>("ShowOnStatusBar", false),
    PropEvent<&TqMinMax::OnSizeChange>("OnSizeChange"),
};
ORV_IMPLEMENT_COMPONENT(TqMinMax, TComponent, TqMinMax_Props)

namespace {
const struct TMinMaxRegistration {
  TMinMaxRegistration() { RegisterClass(TqMinMax::StaticClass()); }
} MinMaxRegistration;
}  // namespace
