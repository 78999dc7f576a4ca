#include "suite/MystdShowApp.h"

#include "suite/qAnimate.h"

#include <cmath>
#include <cstring>
#include <string>

constexpr TEnumType TqShortDateFormatType{"TqShortDateFormat", {"sdfDontTouch", "sdf4DigitYear", "sdf2DigitYear"}};

namespace {

const char* const Unknown = "-Unknown-";

// A text of at most Size - 1 characters that Call writes into a buffer and whose length it
// returns (0 on failure, Size or more when the buffer was short): empty unless it fit.
template <class F> AnsiString BufferText(DWORD Size, F Call) {
  std::string Buf(Size, '\0');
  const DWORD N = Call(Buf.data(), Size);
  if (N == 0 || N >= Size) return AnsiString();
  Buf.resize(N);
  return AnsiString(std::move(Buf));
}

// The first instance's semaphore, kept for the life of the process.
HANDLE InstanceSemaphore = nullptr;

// Posted to the application window: the taskbar button is to go.
UINT TaskBarMessage() {
  static const UINT Message = RegisterWindowMessageA("TqShowApp.TaskBar");
  return Message;
}

}  // namespace

AnsiString WindowsDescription(WTypes Type, int Major, int Minor, int Build) {
  const unsigned Ma = unsigned(Major), Mi = unsigned(Minor), B = unsigned(Build);
  switch (Type) {
    case q_Windows: return Format("Windows %u.%u", {Ma, Mi});
    case q_WFW: return Format("Windows for Workgroups %u.%u", {Ma, Mi});
    case q_Win32S: return Format("Win32S %u.%u (Build: %u)", {Ma, Mi, B});
    case q_NT: return Format("Windows NT %u.%u (Build: %u)", {Ma, Mi, B});
    case q_95: return Format("Windows'95 %u.%u (Build: %u)", {Ma, Mi, B});
  }
  return AnsiString();
}

AnsiString CpuDescription(const TProcessorData& Data, int Family) {
  if (!Data.CpuIdPresent) {
    static const char* const Old[] = {"80286", "80386", "80486", "Pentium", "PentiumPro"};
    return Family >= 2 && Family <= 6 ? AnsiString(Old[Family - 2]) : Format("P%d", {Family});
  }
  const int Model = (Data.Signature >> 4) & 0xF;
  const bool Overdrive = ((Data.Signature >> 12) & 3) == 1;
  const bool Amd = Data.Vendor == "AuthenticAMD", Cyrix = Data.Vendor == "CyrixInstead";
  const char* const OverdriveText = Overdrive ? " Overdrive" : "";
  switch (Family) {
    case 4: {
      if (Amd) return "AMD Am486/Am5x86";
      if (Cyrix) return "Cyrix MediaGX";
      static const char* const Models[] = {" DX", " DX", " SX", " DX2", " SL", " SX2", "", " DX2 WriteBack", " DX4"};
      return AnsiString("80486") + OverdriveText + (Model <= 8 ? Models[Model] : "");
    }
    case 5: {
      if (Amd) return "AMD K5/K6";
      if (Cyrix) return Model == 4 ? "Cyrix Gxm" : "Cyrix 6x86";
      const char* Speed = Model == 1 ? " 60/66 MHz" : Model == 2 ? " 75-200 MHz" : Model == 4 ? " MMX 166/200 MHz" : "";
      return AnsiString("Pentium") + OverdriveText + Speed;
    }
    case 6: {
      const char* Name = Cyrix        ? "Cyrix 6x86MX"
                         : Model == 1 ? "Intel Pentium pro"
                         : Model == 3 ? "Intel Pentium II"
                         : Model == 5 ? "Intel P6 (Model 5)"
                         : Model == 6 ? "Intel Celeron (Model 6)"
                                      : "Intel Pentium P6";
      return AnsiString(Name) + OverdriveText;
    }
    default: return AnsiString();
  }
}

AnsiString ShortDateWithYear(const AnsiString& Format, TqShortDateFormat Style) {
  std::string S = Format.str();
  if (Style == sdf4DigitYear) {
    const size_t Start = S.find('y');
    if (Start != std::string::npos) {
      size_t End = Start;
      while (End < S.size() && S[End] == 'y') ++End;
      if (End - Start < 4) S.insert(End, 4 - (End - Start), 'y');
    }
  } else if (Style == sdf2DigitYear) {
    for (size_t At; (At = S.find("yyy")) != std::string::npos;) S.erase(At, 1);
  }
  return AnsiString(std::move(S));
}

// ---------------------------------------------------------------------------------------------
// TqShowApp

TqShowApp::TqShowApp(TComponent* AOwner) : TComponent(AOwner) {
  FSavedShortDate = ShortDateFormat;
  if (!Running()) {
    FIcon = new TIcon;
  } else {
    Application->HookMainWindow(TWindowHook::Bind<&TqShowApp::HookMessage>(this));
    Application->SetShowMainForm(true);
  }
  FCPUType = CpuID();
  FEnvironmentLines = new TStringList;
  UpdateEnvironment();
}

TqShowApp::~TqShowApp() {
  if (Running()) {
    Application->UnhookMainWindow(TWindowHook::Bind<&TqShowApp::HookMessage>(this));
    // The restore handler goes with the component.
    if (FRestoreHooked && Application->OnRestore == TNotifyEvent::Bind<&TqShowApp::AppRestored>(this))
      Application->OnRestore = FSavedRestore;
  }
  TObject::Free(FIcon);
  TObject::Free(FEnvironmentLines);
}

TForm* TqShowApp::OwnerForm() const { return FindForm(const_cast<TqShowApp*>(this)); }

bool TqShowApp::OnMainForm() const {
  for (TComponent* C = Owner(); C; C = C->Owner())
    if (C->Is<TForm>()) return C == Application->MainForm();
  return false;
}

void TqShowApp::Loaded() {
  TComponent::Loaded();
  if (Running() && FUseCmdShow) ApplyCmdShow();
  FCPUType = CpuID();
  UpdateEnvironment();
  if (Running() && !FShowOnStatusBar) {
    ShowWindow(Application->Handle(), SW_HIDE);
    if (FShowNonOnStatusBar) {
      HWND App = Application->Handle();
      SetWindowLongA(App, GWL_EXSTYLE, GetWindowLongA(App, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
      // The system takes the topmost bit from SetWindowPos only.
      SetWindowPos(App, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // The main form carries the taskbar button here: it goes once the form's window shows.
    PostMessageA(Application->Handle(), TaskBarMessage(), 0, 0);
  }
  if (!Running()) return;
  CheckInstance();
}

void TqShowApp::ApplyCmdShow() {
  TForm* Form = OwnerForm();
  STARTUPINFOA Info{};
  Info.cb = sizeof Info;
  GetStartupInfoA(&Info);
  switch (Info.wShowWindow) {
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE: Form->SetWindowState(wsMinimized); break;
    case SW_SHOWMAXIMIZED: Form->SetWindowState(wsMaximized); break;
    default: Form->SetWindowState(wsNormal); break;
  }
  if (Form->WindowState() != wsMinimized) return;
  FSavedRestore = Application->OnRestore;
  Application->OnRestore = TNotifyEvent::Bind<&TqShowApp::AppRestored>(this);
  FRestoreHooked = true;
  Application->SetShowMainForm(false);
  Application->Minimize();
}

void TqShowApp::AppRestored(TObject*) {
  Application->SetShowMainForm(true);
  TForm* Form = OwnerForm();
  SendMessageA(Form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Form->Show();
  Application->OnRestore = FSavedRestore;
  FRestoreHooked = false;
}

void TqShowApp::CheckInstance() {
  const AnsiString Path = Application->ExeName();
  if (FOnlyOneInstance) FInstanceMessage = RegisterWindowMessageA((Path + "_Afslut").c_str());
  std::string Name = Path.str();
  for (char& C : Name)
    if (C == '\\') C = '+';
  // The first instance keeps the semaphore until the process ends, however it ends; a later
  // component of the same process finds its own.
  if (InstanceSemaphore) return;
  HANDLE H = CreateSemaphoreA(nullptr, 0, 1, Name.c_str());
  if (!H) return;
  if (GetLastError() != ERROR_ALREADY_EXISTS) {
    InstanceSemaphore = H;
    return;
  }
  CloseHandle(H);
  if (!FOnlyOneInstance) return;
  FSecondInstance = true;
  TForm* Form = OwnerForm();
  Form->SetLeft(-Form->Width() - 10);
  bool Bring = true;
  if (OnSecondInstance) OnSecondInstance(this, Bring);
  if (Bring) PostMessageA(HWND_BROADCAST, FInstanceMessage, 0, 0);
  Application->Terminate();
}

void TqShowApp::HookMessage(TMessage& Message, bool& Handled) {
  const bool Main = OnMainForm();
  switch (Message.Msg) {
    case WM_QUERYENDSESSION:
      if (Main) {
        bool DoEnd = true;
        if (OnAskEndSession) OnAskEndSession(DoEnd);
        Message.Result = DoEnd ? 1 : 0;
        Handled = true;
      }
      return;
    case WM_ENDSESSION:
      if (Main && Message.WParam && OnEndSession) OnEndSession();
      return;
    case WM_WINDOWPOSCHANGING: {
      const auto* Pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
      TCustomForm* MainForm = Application->MainForm();
      if (!MainForm || !MainForm->HandleAllocated() || IsIconic(Application->Handle()) || Pos->cx <= 0 || Pos->cy <= 0)
        return;
      UINT Flags = Pos->flags | SWP_NOZORDER;
      if (MainForm->BorderStyle() == bsSizeable) Flags &= ~UINT(SWP_NOSIZE);
      else Flags |= SWP_NOSIZE;
      SetWindowPos(MainForm->WindowHandle(), nullptr, Pos->x, Pos->y, Pos->cx, Pos->cy, Flags);
      return;
    }
    default: break;
  }
  if (Message.Msg == TaskBarMessage()) {
    ApplyTaskBar();
    Handled = true;
  } else if (FInstanceMessage && Message.Msg == FInstanceMessage && FOnlyOneInstance && Running() &&
             !FSecondInstance) {
    if (OnAnotherInstance) OnAnotherInstance(this);
    if (Main) BringToFront();
  }
}

void TqShowApp::BringToFront() {
  HWND H = Application->MainForm()->Handle();
  while (HWND Parent = GetParent(H)) H = Parent;
  // The top owner, short of the hidden application window: the main form carries the taskbar
  // button here, so it is the window to restore.
  while (HWND Owner = GetWindow(H, GW_OWNER)) {
    if (Owner == Application->Handle()) break;
    H = Owner;
  }
  SetForegroundWindow(H);
  HWND P = GetLastActivePopup(H);
  if (IsIconic(H)) ShowWindow(H, SW_SHOWNORMAL);
  if (P && IsIconic(P)) ShowWindow(P, SW_SHOWNORMAL);
  BringWindowToTop(H);
  if (P && P != H) BringWindowToTop(P);
}

void TqShowApp::ApplyTaskBar() {
  TCustomForm* Main = Application->MainForm();
  if (!Main || !OnMainForm() || !Main->HandleAllocated()) return;
  // A window the form makes again carries the button again: each one is taken off in turn.
  if (auto* Form = dynamic_cast<TForm*>(Main); Form && FTaskBarHook.Form() != Form)
    FTaskBarHook.Attach(Form, nullptr, TNotifyEvent::Bind<&TqShowApp::TaskBarHooked>(this));
  HWND W = Main->WindowHandle();
  const LONG Ex = GetWindowLongA(W, GWL_EXSTYLE);
  if (!(Ex & WS_EX_APPWINDOW)) return;
  // The taskbar notices a changed style when the window shows again.
  const bool Shown = IsWindowVisible(W);
  if (Shown) ShowWindow(W, SW_HIDE);
  SetWindowLongA(W, GWL_EXSTYLE, Ex & ~WS_EX_APPWINDOW);
  if (Shown) ShowWindow(W, SW_SHOWNA);
}

// A new window of the main form is hooked while it is being made: the button goes once the
// loop runs again.
void TqShowApp::TaskBarHooked(TObject*) { PostMessageA(Application->Handle(), TaskBarMessage(), 0, 0); }

// ----- environment

void TqShowApp::UpdateEnvironment() {
  FEnvironmentLines->Clear();
  char* Block = GetEnvironmentStringsA();
  if (!Block) return;
  for (const char* P = Block; *P; P += std::strlen(P) + 1) FEnvironmentLines->Add(P);
  FreeEnvironmentStringsA(Block);
}

AnsiString TqShowApp::GetEnvironmentString(const AnsiString& Name) const { return FEnvironmentLines->Values(Name); }

bool TqShowApp::SetEnvironmentString(const AnsiString& Name, const AnsiString& Value) {
  const bool Ok = SetEnvironmentVariableA(Name.c_str(), Value.c_str()) != 0;
  UpdateEnvironment();
  return Ok;
}

// ----- information

int TqShowApp::BitsPerColor() const {
  TqDesktop Desktop;
  return GetDeviceCaps(Desktop.Handle(), BITSPIXEL) * GetDeviceCaps(Desktop.Handle(), PLANES);
}

long double TqShowApp::NumberOfColors() const {
  const int Bits = BitsPerColor();
  return Bits < 25 ? (long double)(1L << Bits) : std::ldexp(1.0L, Bits);
}

AnsiString TqShowApp::WinDir() const {
  return BufferText(MAX_PATH, [](char* B, DWORD N) { return GetWindowsDirectoryA(B, N); });
}

AnsiString TqShowApp::SystemDir() const {
  return BufferText(MAX_PATH, [](char* B, DWORD N) { return GetSystemDirectoryA(B, N); });
}

AnsiString TqShowApp::TempDir() const {
  AnsiString S = BufferText(MAX_PATH, [](char* B, DWORD N) { return GetTempPathA(N, B); });
  while (S.Length() > 3 && S[S.Length()] == '\\') S = S.SubString(1, S.Length() - 1);
  return S;
}

AnsiString TqShowApp::ComputerName() const {
  return BufferText(MAX_COMPUTERNAME_LENGTH + 1, [](char* B, DWORD N) {
    DWORD Size = N;
    return GetComputerNameA(B, &Size) ? Size : 0;
  });
}

AnsiString TqShowApp::UserName() const {
  return BufferText(128, [](char* B, DWORD N) {
    DWORD Size = N;  // the terminator included on success
    return GetUserNameA(B, &Size) && Size > 0 ? Size - 1 : 0;
  });
}

AnsiString TqShowApp::WindowsString() const {
  return WindowsDescription(WindowsType(), MajorVersion(), MinorVersion(), BuildVersion());
}

AnsiString TqShowApp::CPUVendor() const {
  const TProcessorData& P = ProcessorData();
  return P.CpuIdPresent ? P.Vendor : AnsiString("-unknown-");
}

bool TqShowApp::CPUMMX() const {
  const TProcessorData& P = ProcessorData();
  return P.CpuIdPresent && (P.FeaturesEDX & (1 << 23));
}

int TqShowApp::CPUStepping() const {
  const TProcessorData& P = ProcessorData();
  return P.CpuIdPresent ? P.Signature & 0xF : -1;
}

int TqShowApp::CPUModel() const {
  const TProcessorData& P = ProcessorData();
  return P.CpuIdPresent ? (P.Signature >> 4) & 0xF : -1;
}

AnsiString TqShowApp::IPHostName() const {
  if (!FEnabledHostInfo) return Unknown;
  AnsiString Name, Address;
  GetHostInfo(Name, Address);
  return Name;
}

AnsiString TqShowApp::IPHostAddress() const {
  if (!FEnabledHostInfo) return Unknown;
  AnsiString Name, Address;
  GetHostInfo(Name, Address);
  return Address;
}

// ----- settings

void TqShowApp::SetShortDate(TqShortDateFormat Value) {
  FShortDate = Value;
  ShortDateFormat = Value == sdfDontTouch ? FSavedShortDate : ShortDateWithYear(ShortDateFormat, Value);
}

void TqShowApp::SetHelpFile(const AnsiString& Value) {
  if (Running()) Application->SetHelpFile(Value);
  else FHelpFile = Value;
}

void TqShowApp::SetHint(const AnsiString& Value) {
  if (Running()) Application->SetHint(Value);
  else FHint = Value;
}

void TqShowApp::SetHintColor(TColor Value) {
  if (Running()) Application->SetHintColor(Value);
  else FHintColor = Value;
}

void TqShowApp::SetHintPause(int Value) {
  if (Running()) Application->SetHintPause(Value);
  else FHintPause = Value;
}

void TqShowApp::SetHintHidePause(int Value) {
  if (Running()) Application->SetHintHidePause(Value);
  else FHintHidePause = Value;
}

void TqShowApp::SetShowMainForm(bool Value) {
  if (Running()) Application->SetShowMainForm(Value);
  else FShowMainForm = Value;
}

void TqShowApp::SetIcon(TIcon* Value) {
  if (Running()) Application->SetIcon(Value);
  else FIcon->Assign(Value);
}

void TqShowApp::SetShowHint(bool Value) {
  if (Running()) Application->SetShowHint(Value);
  else FShowHint = Value;
}

void TqShowApp::SetTitle(const AnsiString& Value) {
  if (Running()) Application->SetTitle(Value);
  else FTitle = Value;
}

namespace {
bool HelpFileStored(const TObject* O) { return !static_cast<const TqShowApp*>(O)->HelpFile().IsEmpty(); }
bool HintStored(const TObject* O) { return !static_cast<const TqShowApp*>(O)->Hint().IsEmpty(); }
bool TitleStored(const TObject* O) { return !static_cast<const TqShowApp*>(O)->Title().IsEmpty(); }
bool IconStored(const TObject* O) { return !static_cast<const TqShowApp*>(O)->Icon()->Empty(); }
bool HintColorStored(const TObject* O) { return static_cast<const TqShowApp*>(O)->HintColor() != clInfoBk; }
bool HintPauseStored(const TObject* O) { return static_cast<const TqShowApp*>(O)->HintPause() != 500; }
bool HintHidePauseStored(const TObject* O) { return static_cast<const TqShowApp*>(O)->HintHidePause() != 2500; }
}  // namespace

using A = TApplication;
static constinit const TPropInfo TqShowApp_Props[] = {
    PropIntNoDefault<&TqShowApp::BitsPerColor, &TqShowApp::IgnoreInt>("BitsPerColor", NeverStored),
    PropFloat<&TqShowApp::NumberOfColors, &TqShowApp::IgnoreFloat>("NumberOfColors", NeverStored),
    PropStr<&TqShowApp::WinDir, &TqShowApp::IgnoreText>("WinDir", NeverStored),
    PropStr<&TqShowApp::SystemDir, &TqShowApp::IgnoreText>("SystemDir", NeverStored),
    PropStr<&TqShowApp::TempDir, &TqShowApp::IgnoreText>("TempDir", NeverStored),
    PropStr<&TqShowApp::ComputerName, &TqShowApp::IgnoreText>("ComputerName", NeverStored),
    PropStr<&TqShowApp::UserName, &TqShowApp::IgnoreText>("UserName", NeverStored),
    PropObject<&TqShowApp::EnvironmentLines, &TqShowApp::IgnoreStrings>("EnvironmentLines", NeverStored),
    OrdinalProp<&TqShowApp::WindowKind, &TqShowApp::IgnoreKind>("WindowKind", tkEnumeration, nullptr, &WTypesType, false,
                                                                0, NeverStored),
    PropIntNoDefault<&TqShowApp::WinVerMajor, &TqShowApp::IgnoreInt>("WinVerMajor", NeverStored),
    PropIntNoDefault<&TqShowApp::WinVerMinor, &TqShowApp::IgnoreInt>("WinVerMinor", NeverStored),
    PropIntNoDefault<&TqShowApp::WinVerBuild, &TqShowApp::IgnoreInt>("WinVerBuild", NeverStored),
    PropStr<&TqShowApp::WindowsString, &TqShowApp::IgnoreText>("WindowsString", NeverStored),
    PropIntNoDefault<&TqShowApp::CPUType, &TqShowApp::IgnoreInt>("CPUType", NeverStored),
    PropStr<&TqShowApp::CPUString, &TqShowApp::IgnoreText>("CPUString", NeverStored),
    PropStr<&TqShowApp::CPUVendor, &TqShowApp::IgnoreText>("CPUVendor", NeverStored),
    OrdinalProp<&TqShowApp::CPUMMX, &TqShowApp::IgnoreBool>("CPUMMX", tkEnumeration, "Boolean", &BooleanType, false, 0,
                                                            NeverStored),
    PropIntNoDefault<&TqShowApp::CPUStepping, &TqShowApp::IgnoreInt>("CPUStepping", NeverStored),
    PropIntNoDefault<&TqShowApp::CPUModel, &TqShowApp::IgnoreInt>("CPUModel", NeverStored),
    PropIntNoDefault<&TqShowApp::CPUSpeed, &TqShowApp::IgnoreInt>("CPUSpeed", NeverStored),
    PropStr<&TqShowApp::IPHostName, &TqShowApp::IgnoreText>("IPHostName", NeverStored),
    PropStr<&TqShowApp::IPHostAddress, &TqShowApp::IgnoreText>("IPHostAddress", NeverStored),
    PropEnum<&TqShowApp::ShortDate, &TqShowApp::SetShortDate>("ShortDate", TqShortDateFormatType, sdfDontTouch),
    PropBool<&TqShowApp::EnabledHostInfo, &TqShowApp::SetEnabledHostInfo>("EnabledHostInfo", false),
    PropBool<&TqShowApp::UseCmdShow, &TqShowApp::SetUseCmdShow>("UseCmdShow", false),
    PropBool<&TqShowApp::OnlyOneInstance, &TqShowApp::SetOnlyOneInstance>("OnlyOneInstance", false),
    PropBool<&TqShowApp::ShowOnStatusBar, &TqShowApp::SetShowOnStatusBar>("ShowOnStatusBar", true),
    PropBool<&TqShowApp::ShowNonOnStatusBar, &TqShowApp::SetShowNonOnStatusBar>("ShowNonOnStatusBar", false),
    PropStr<&TqShowApp::HelpFile, &TqShowApp::SetHelpFile>("HelpFile", HelpFileStored),
    PropStr<&TqShowApp::Hint, &TqShowApp::SetHint>("Hint", HintStored),
    PropColor<&TqShowApp::HintColor, &TqShowApp::SetHintColor>("HintColor", clInfoBk, HintColorStored),
    PropInt<&TqShowApp::HintPause, &TqShowApp::SetHintPause>("HintPause", 500, HintPauseStored),
    PropInt<&TqShowApp::HintHidePause, &TqShowApp::SetHintHidePause>("HintHidePause", 2500, HintHidePauseStored),
    PropBool<&TqShowApp::ShowMainForm, &TqShowApp::SetShowMainForm>("ShowMainForm", true),
    PropObject<&TqShowApp::Icon, &TqShowApp::SetIcon>("Icon", IconStored),
    PropBool<&TqShowApp::ShowHint, &TqShowApp::SetShowHint>("ShowHint", true),
    PropStr<&TqShowApp::Title, &TqShowApp::SetTitle>("Title", TitleStored),
    PropEvent<&TqShowApp::AppEvent<&A::OnActivate>, &TqShowApp::SetAppEvent<&A::OnActivate>>("OnActivate"),
    PropEvent<&TqShowApp::AppEvent<&A::OnDeactivate>, &TqShowApp::SetAppEvent<&A::OnDeactivate>>("OnDeActivate"),
    PropEvent<&TqShowApp::AppEvent<&A::OnException>, &TqShowApp::SetAppEvent<&A::OnException>>("OnExecption"),
    PropEvent<&TqShowApp::AppEvent<&A::OnHelp>, &TqShowApp::SetAppEvent<&A::OnHelp>>("OnHelp"),
    PropEvent<&TqShowApp::AppEvent<&A::OnHint>, &TqShowApp::SetAppEvent<&A::OnHint>>("OnHint"),
    PropEvent<&TqShowApp::AppEvent<&A::OnIdle>, &TqShowApp::SetAppEvent<&A::OnIdle>>("OnIdle"),
    PropEvent<&TqShowApp::AppEvent<&A::OnMessage>, &TqShowApp::SetAppEvent<&A::OnMessage>>("OnMessage"),
    PropEvent<&TqShowApp::AppEvent<&A::OnMinimize>, &TqShowApp::SetAppEvent<&A::OnMinimize>>("OnMinimize"),
    PropEvent<&TqShowApp::AppEvent<&A::OnRestore>, &TqShowApp::SetAppEvent<&A::OnRestore>>("OnRestore"),
    PropEvent<&TqShowApp::AppEvent<&A::OnShowHint>, &TqShowApp::SetAppEvent<&A::OnShowHint>>("OnShowHint"),
    PropEvent<&TqShowApp::ScreenEvent<&TScreen::OnActiveControlChange>,
              &TqShowApp::SetScreenEvent<&TScreen::OnActiveControlChange>>("OnActiveControlChange"),
    PropEvent<&TqShowApp::ScreenEvent<&TScreen::OnActiveFormChange>,
              &TqShowApp::SetScreenEvent<&TScreen::OnActiveFormChange>>("OnActiveFormChange"),
    PropEvent<&TqShowApp::OnAskEndSession>("OnAskEndSession"),
    PropEvent<&TqShowApp::OnEndSession>("OnEndSession"),
    PropEvent<&TqShowApp::OnSecondInstance>("OnSecondInstance"),
    PropEvent<&TqShowApp::OnAnotherInstance>("OnAnotherInstance"),
};
ORV_IMPLEMENT_COMPONENT(TqShowApp, TComponent, TqShowApp_Props)

namespace {
const struct TShowAppRegistration {
  TShowAppRegistration() { RegisterClass(TqShowApp::StaticClass()); }
} ShowAppRegistration;
}  // namespace
