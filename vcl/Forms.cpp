#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "rtl/Streaming.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

constexpr TEnumType TFormBorderStyleType{
    "TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
constexpr TEnumType TBorderIconType{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
constexpr TEnumType TFormStyleType{"TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
constexpr TEnumType TPositionType{
    "TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                  "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};
constexpr TEnumType TWindowStateType{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};

namespace {

const char* const SCannotFocus = "Cannot focus a disabled or invisible window";
const char* const SCannotShowModal = "Cannot make a visible window modal";
const char* const SNoMDIForm = "Cannot create form. No MDI forms are currently active";
const char* const SParentRequired = "Control '%s' has no parent window";

// When each MDI child's window was made, in making order.
unsigned MDICreateCount = 0;

// The client of the main form when that is an MDI form with a window.
HWND MainMDIClient() {
  TCustomForm* Main = Application ? Application->MainForm() : nullptr;
  return Main && Main->FormStyle() == fsMDIForm ? Main->ClientHandle() : nullptr;
}

bool IsMDIStyle(TFormStyle S) { return S == fsMDIForm || S == fsMDIChild; }

// The application window, for threads that wake the main thread, and whether a wake-up is
// still waiting in its queue (then the calls queued meanwhile run with it: one post serves all).
std::atomic<HWND> WakeWindow{nullptr};
std::atomic<bool> WakePosted{false};

void WakeApplication() {
  if (WakePosted.exchange(true)) return;
  if (HWND Wnd = WakeWindow.load()) PostMessageA(Wnd, WM_NULL, 0, 0);
  else PostThreadMessageA(MainThreadID, WM_NULL, 0, 0);
}

// Counts focus moves in the whole application: a CM_ENTER / CM_EXIT / CM_ACTIVATE handler that
// moves the focus elsewhere ends the move that sent it.
int FocusCount = 0;

template <class F> struct TFinally {
  F Fn;
  ~TFinally() { Fn(); }
};
template <class F> TFinally(F) -> TFinally<F>;

// Top-level windows of this thread that are visible and enabled, disabled while a modal form or a
// message box runs, and enabled again afterwards.
class TTaskWindows {
public:
  TTaskWindows() { EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this)); }
  ~TTaskWindows() {
    for (HWND W : FWindows)
      if (IsWindow(W)) EnableWindow(W, TRUE);
  }
  TTaskWindows(const TTaskWindows&) = delete;
  TTaskWindows& operator=(const TTaskWindows&) = delete;

private:
  static BOOL CALLBACK Collect(HWND W, LPARAM L) {
    auto* Self = reinterpret_cast<TTaskWindows*>(L);
    if (IsWindowVisible(W) && IsWindowEnabled(W)) {
      Self->FWindows.push_back(W);
      EnableWindow(W, FALSE);
    }
    return TRUE;
  }
  std::vector<HWND> FWindows;
};

// Non-client size (frame, caption, menu bar) of a window with these styles.
SIZE FrameSize(const TCreateParams& P, bool HasMenu) {
  RECT R{0, 0, 0, 0};
  AdjustWindowRectEx(&R, P.Style & ~DWORD(WS_VISIBLE), HasMenu ? TRUE : FALSE, P.ExStyle);
  return SIZE{R.right - R.left, R.bottom - R.top};
}

// Scales bounds and own fonts of every control below Parent by M / D.
void ScaleChildren(TWinControl* Parent, int M, int D) {
  for (int I = 0; I < Parent->ControlCount(); ++I) {
    TControl* C = Parent->Controls(I);
    C->SetBounds(MulDiv(C->Left(), M, D), MulDiv(C->Top(), M, D), MulDiv(C->Width(), M, D),
                 MulDiv(C->Height(), M, D));
    const TPropInfo* ParentFont = GetPropInfo(C, "ParentFont");
    const TPropInfo* FontProp = GetPropInfo(C, "Font");
    if (FontProp && FontProp->Kind == tkClass && !(ParentFont && GetOrdProp(C, "ParentFont")))
      if (auto* F = dynamic_cast<TFont*>(GetObjectProp(C, "Font"))) F->SetHeight(MulDiv(F->Height(), M, D));
    if (auto* W = dynamic_cast<TWinControl*>(C)) ScaleChildren(W, M, D);
  }
}

bool HasClosingPunctuation(const AnsiString& S) {
  if (S.IsEmpty()) return true;
  char Last = S[S.Length()];
  return Last == '.' || Last == '!' || Last == '?';
}

// Resource finder for the form reader: RCDATA named after the class in upper case.
TStream* FindFormResource(const char* ClassName) {
  if (!ClassName || !*ClassName) return nullptr;
  AnsiString Name = UpperCase(ClassName);
  HMODULE Module = GetModuleHandleA(nullptr);
  HRSRC Res = FindResourceA(Module, Name.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!Res) return nullptr;
  HGLOBAL Data = LoadResource(Module, Res);
  if (!Data) return nullptr;
  const void* Bytes = LockResource(Data);
  DWORD Size = SizeofResource(Module, Res);
  if (!Bytes) return nullptr;
  return new TReadOnlyMemoryStream(Bytes, Size);
}

// "Form2" or "Form2.Button1": a form by name, then its components by name.
TComponent* FindGlobalForm(const AnsiString& Name) {
  if (!Screen || Name.IsEmpty()) return nullptr;
  int Dot = Name.Pos(".");
  AnsiString First = Dot ? Name.SubString(1, Dot - 1) : Name;
  TComponent* Found = nullptr;
  for (int I = 0; I < Screen->FormCount() && !Found; ++I)
    if (SameText(Screen->Forms(I)->Name(), First)) Found = Screen->Forms(I);
  AnsiString Rest = Dot ? Name.SubString(Dot + 1, Name.Length()) : AnsiString();
  while (Found && !Rest.IsEmpty()) {
    int D = Rest.Pos(".");
    AnsiString Part = D ? Rest.SubString(1, D - 1) : Rest;
    Rest = D ? Rest.SubString(D + 1, Rest.Length()) : AnsiString();
    Found = Found->FindComponent(Part);
  }
  return Found;
}

void DoneApplication();

}  // namespace

// ---------------------------------------------------------------------------------------------
// Exception hand-off used by every window procedure, hook and callback of the class library.

void HandleVclException(TObject* Sender) {
  if (Application) {
    Application->HandleException(Sender);
    return;
  }
  try {
    throw;
  } catch (EAbort&) {
  } catch (Exception& E) {
    std::fprintf(stderr, "%s: %s\n", E.ClassName(), E.Message().c_str());
  } catch (std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
  } catch (...) {
    std::fprintf(stderr, "Unknown exception\n");
  }
}

// ---------------------------------------------------------------------------------------------
// Parent forms.

TCustomForm* GetParentForm(const TControl* Control) {
  if (!Control) return nullptr;
  while (Control->Parent()) Control = Control->Parent();
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(Control));
}

TCustomForm* ValidParentForm(const TControl* Control) {
  TCustomForm* Form = GetParentForm(Control);
  if (!Form) throw EInvalidOperation(SParentRequired, {Control ? Control->Name() : AnsiString()});
  return Form;
}

// ---------------------------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(StyleOf(csAcceptsControls) | StyleOf(csCaptureMouse) | StyleOf(csClickEvents) |
                  StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  TWinControl::SetBounds(0, 0, 320, 240);
  TControl::SetVisible(false);
  SetParentColor(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  FPixelsPerInch = Screen ? Screen->PixelsPerInch() : 96;
  FCanvas = new TControlCanvas();
  FCanvas->SetControl(this);
  FIcon = new TIcon;
  FIcon->OnChange = TNotifyEvent::Bind<&TCustomForm::IconChanged>(this);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (Screen) Screen->RemoveForm(this);
  delete FCanvas;
  FCanvas = nullptr;
  TObject::Free(FIcon);
  FIcon = nullptr;
}

void TCustomForm::AfterConstruction() {
  TWinControl::AfterConstruction();
  SetFormStateFlag(fsCreating, true);
  try {
    TClass Root = FormResourceRoot();
    if (!FCreateNew && ClassType() != Root && !InitInheritedComponent(this, Root))
      throw EResNotFound("Resource %s not found", {ClassName()});
  } catch (...) {
    SetFormStateFlag(fsCreating, false);
    throw;
  }
  SetFormStateFlag(fsCreating, false);
  // Forms the application owns go when the program ends, before the units they use.
  if (Application && Owner() == Application) std::atexit(&DoneApplication);
  DoCreate();
  if (HasFormState(fsVisible)) {
    SetFormStateFlag(fsVisible, false);
    SetVisible(true);
  }
  if (HasFormState(fsActivated)) {
    SetFormStateFlag(fsActivated, false);
    Activate();
  }
}

TClass TCustomForm::FormResourceRoot() const {
  return InheritsFrom(TForm::StaticClass()) ? TForm::StaticClass() : TCustomForm::StaticClass();
}

void TCustomForm::BeforeDestruction() {
  // The owner may have marked the form as destroying already; OnHide and OnDestroy still run
  // here, while every control of the form exists.
  Destroying();
  if (HandleAllocated() && IsWindowVisible(WindowHandle())) {
    try {
      DoHide();
    } catch (...) {
      HandleVclException(this);
    }
    ShowWindow(WindowHandle(), SW_HIDE);
  }
  try {
    DoDestroy();
  } catch (...) {
    HandleVclException(this);
  }
  if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
  if (Screen) Screen->RemoveForm(this);
  if (FMenu) {
    if (HandleAllocated()) ::SetMenu(WindowHandle(), nullptr);
    FMenu->SetWindowHandle(nullptr);
    if (FMenu->Owner() != this) FMenu->RemoveFreeNotification(this);
    FMenu = nullptr;
  }
  FActiveControl = nullptr;
  FFocusedControl = nullptr;
  TWinControl::BeforeDestruction();
}

// ----- showing and closing

void TCustomForm::SetVisible(bool Value) {
  if (HasFormState(fsCreating)) {
    SetFormStateFlag(fsVisible, Value);
    return;
  }
  TWinControl::SetVisible(Value);
  // A top-level form whose showing state did not follow (no CM_SHOWINGCHANGED came) is shown or
  // hidden here, so Visible and the window always agree.
  if (Parent() || HasState(csLoading | csDestroying) || Visible() != Value) return;
  bool Shown = HandleAllocated() && IsWindowVisible(WindowHandle());
  if (Shown == Value || (!Value && !HandleAllocated())) return;
  HandleNeeded();
  FShowing = Value;
  Perform(CM_SHOWINGCHANGED, 0, 0);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated())
    SetWindowPos(WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::Hide() { SetVisible(false); }

bool TCustomForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (HasFormState(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  // An MDI child cannot hide: it minimises, when it can.
  TCloseAction Action = FFormStyle != fsMDIChild ? caHide
                        : (FBorderIcons & (1u << biMinimize)) ? caMinimize
                                                               : caNone;
  DoClose(Action);
  if (Action == caNone) return;
  if (Application && Application->MainForm() == this) Application->Terminate();
  else if (Action == caHide) Hide();
  else if (Action == caMinimize) SetWindowState(wsMinimized);
  else Release();
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction Action = caNone;
    if (CloseQuery()) {
      Action = caHide;
      DoClose(Action);
    }
    if (Action == caNone) FModalResult = mrNone;
    else if (Action == caFree) Release();
  } catch (...) {
    FModalResult = mrNone;
    HandleVclException(this);
  }
}

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || HasFormState(fsModal)) throw EInvalidOperation(SCannotShowModal);
  if (HWND Capture = GetCapture()) SendMessageA(Capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  SetFormStateFlag(fsModal, true);
  HWND ActiveWindow = GetActiveWindow();
  TCustomForm* SaveFocused = Screen ? Screen->FFocusedForm : nullptr;
  TCursor SaveCursor = Screen ? Screen->Cursor() : crDefault;
  if (Screen) {
    Screen->FFocusedForm = this;
    Screen->SetCursor(crDefault);
  }
  if (Application) ++Application->FModalLevel;
  int Result = mrNone;
  {
    TFinally Restore{[&] {
      if (Application) --Application->FModalLevel;
      if (Screen) {
        if (SaveFocused && std::find(Screen->FForms.begin(), Screen->FForms.end(), SaveFocused) != Screen->FForms.end())
          Screen->FFocusedForm = SaveFocused;
        else if (Screen->FFocusedForm == this)
          Screen->FFocusedForm = nullptr;
        Screen->SetCursor(SaveCursor);
      }
      SetFormStateFlag(fsModal, false);
    }};
    {
      TTaskWindows Disabled;
      TFinally HideForm{[&] {
        try {
          Hide();
        } catch (...) {
          HandleVclException(this);
        }
      }};
      Show();
      Perform(CM_ACTIVATE, 0, 0);
      FModalResult = mrNone;
      auto Terminating = [] { return Application && Application->Terminated(); };
      do {
        if (Terminating()) {
          FModalResult = mrCancel;
          break;
        }
        if (Application) {
          Application->HandleMessage();
        } else {
          MSG Msg;
          if (GetMessageA(&Msg, nullptr, 0, 0) <= 0) FModalResult = mrCancel;
          else { TranslateMessage(&Msg); DispatchMessageA(&Msg); }
        }
        if (Terminating()) FModalResult = mrCancel;
        else if (FModalResult != mrNone) CloseModal();
      } while (FModalResult == mrNone);
      Result = FModalResult;
      Perform(CM_DEACTIVATE, 0, 0);
      if (!HandleAllocated() || GetActiveWindow() != WindowHandle()) ActiveWindow = nullptr;
    }
    // The other windows are enabled again here, so the one that was active can take over.
    if (ActiveWindow && IsWindow(ActiveWindow)) SetActiveWindow(ActiveWindow);
  }
  return Result;
}

void TCustomForm::Release() { PostMessageA(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::CMRelease(TMessage&) { TObject::Free(this); }

void TCustomForm::DoCreate() {
  try {
    if (OnCreate) OnCreate(this);
  } catch (...) {
    HandleVclException(this);
  }
}

void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::ApplyPosition() {
  if (FPositioned) return;
  FPositioned = true;
  if (Parent() || FWindowState != wsNormal || FFormStyle == fsMDIChild) return;
  int X = Left(), Y = Top();
  int ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  auto CenterOn = [&](const TRect& R) {
    X = R.Left + (R.Width() - Width()) / 2;
    Y = R.Top + (R.Height() - Height()) / 2;
  };
  switch (FPosition) {
    case poScreenCenter: CenterOn(Rect(0, 0, ScreenW, ScreenH)); break;
    case poDesktopCenter:
      CenterOn(Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)));
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* Center = FPosition == poMainFormCenter ? (Application ? Application->MainForm() : nullptr)
                                                          : dynamic_cast<TCustomForm*>(Owner());
      if (Center && Center != this) CenterOn(Center->BoundsRect());
      else CenterOn(Rect(0, 0, ScreenW, ScreenH));
      break;
    }
    default: return;
  }
  X = std::max(X, int(GetSystemMetrics(SM_XVIRTUALSCREEN)));
  Y = std::max(Y, int(GetSystemMetrics(SM_YVIRTUALSCREEN)));
  SetBounds(X, Y, Width(), Height());
}

void TCustomForm::CMShowingChanged(TMessage&) {
  if (!HandleAllocated()) return;
  HWND Wnd = WindowHandle();
  if (Showing()) {
    try {
      DoShow();
    } catch (...) {
      HandleVclException(this);
    }
    ApplyPosition();
    if (Parent()) {
      SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
      int Cmd = FWindowState == wsMaximized ? SW_SHOWMAXIMIZED
                : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                              : SW_SHOWNORMAL;
      ShowWindow(Wnd, Cmd);
      if (FFormStyle == fsMDIChild && FMDIClient) SendMessageA(FMDIClient, WM_MDIACTIVATE, WPARAM(Wnd), 0);
      if (FFormStyle == fsStayOnTop)
        SetWindowPos(Wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  } else {
    try {
      DoHide();
    } catch (...) {
      HandleVclException(this);
    }
    if (Parent())
      SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    else
      ShowWindow(Wnd, SW_HIDE);
  }
}

// ----- properties

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  Value &= (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize) | (1u << biHelp);
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  if (Value == fsMDIChild && HandleAllocated() && !HasState(csLoading | csDesigning) && !MainMDIClient())
    throw EInvalidOperation(SNoMDIForm);
  const TFormStyle Old = FFormStyle;
  FFormStyle = Value;
  if (!HasState(csLoading) && HandleAllocated() && (IsMDIStyle(Old) || IsMDIStyle(Value))) RecreateWnd();
  if (Value == fsMDIChild) SetVisible(true);
  if (HasState(csLoading) || IsMDIStyle(Old) || IsMDIStyle(Value)) return;
  if (!HandleAllocated() || Parent()) return;
  bool Top = Value == fsStayOnTop;
  SetWindowPos(WindowHandle(), Top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // An owned window may keep its topmost flag (Wine does): a new window has the right one.
  bool IsTop = (GetWindowLongA(WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (IsTop != Top) RecreateWnd();
}

void TCustomForm::SetPosition(TPosition Value) {
  if (FPosition == Value) return;
  FPosition = Value;
}

TWindowState TCustomForm::WindowState() const { return FWindowState; }

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated() && Showing()) {
    static const int Cmds[] = {SW_RESTORE, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ShowWindow(WindowHandle(), Cmds[Value]);
  }
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu) {
    if (HandleAllocated()) ::SetMenu(WindowHandle(), nullptr);
    FMenu->SetWindowHandle(nullptr);
    if (FMenu->Owner() != this) FMenu->RemoveFreeNotification(this);
  }
  FMenu = Value;
  if (Value && Value->Owner() != this) Value->FreeNotification(this);
  if (HasState(csLoading)) return;
  if (HandleAllocated() && Value) {
    ::SetMenu(WindowHandle(), Value->Handle());
    Value->SetWindowHandle(WindowHandle());
  }
}

void TCustomForm::CMMenuChanged(TMessage& Message) {
  if (FMenu && HandleAllocated()) {
    if (GetMenu(WindowHandle()) != FMenu->Handle()) ::SetMenu(WindowHandle(), FMenu->Handle());
    FMenu->SetWindowHandle(WindowHandle());
  }
  inherited::Dispatch(Message);
}

void TCustomForm::SetBorderWidth(int Value) {
  Value = std::max(Value, 0);
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  if (HasState(csLoading) || !HandleAllocated()) return;
  // The system asks for the client area again (WM_NCCALCSIZE) and repaints the frame.
  SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Realign();
}

void TCustomForm::SetIcon(TIcon* Value) { FIcon->Assign(Value); }

void TCustomForm::IconChanged(TObject*) {
  if (HandleAllocated()) SendIcon();
}

void TCustomForm::SendIcon() {
  const LPARAM Icon = reinterpret_cast<LPARAM>(FIcon->Empty() ? nullptr : FIcon->Handle());
  SendMessageA(WindowHandle(), WM_SETICON, ICON_BIG, Icon);
  SendMessageA(WindowHandle(), WM_SETICON, ICON_SMALL, Icon);
}

void TCustomForm::SetPixelsPerInch(int Value) {
  if (Value > 0) FPixelsPerInch = Value;
}

void TCustomForm::SetClientWidth(int Value) {
  if (HasState(csLoading)) {
    FClientWidth = Value;
    return;
  }
  if (HandleAllocated()) {
    FClientWidth = NoClientSize;
    TWinControl::SetBounds(Left(), Top(), Width() + Value - ClientWidth(), Height());
  } else {
    FClientWidth = Value;  // applied again once the window exists (the menu bar may wrap)
    TWinControl::SetBounds(Left(), Top(), Width() + Value - ClientWidth(), Height());
  }
}

void TCustomForm::SetClientHeight(int Value) {
  if (HasState(csLoading)) {
    FClientHeight = Value;
    return;
  }
  FClientHeight = HandleAllocated() ? NoClientSize : Value;
  TWinControl::SetBounds(Left(), Top(), Width(), Height() + Value - ClientHeight());
}

void TCustomForm::ApplyClientSize() {
  if (FClientWidth == NoClientSize && FClientHeight == NoClientSize) return;
  TRect C = ClientRect();
  int W = FClientWidth != NoClientSize ? Width() + FClientWidth - C.Width() : Width();
  int H = FClientHeight != NoClientSize ? Height() + FClientHeight - C.Height() : Height();
  if (HandleAllocated()) FClientWidth = FClientHeight = NoClientSize;
  TWinControl::SetBounds(Left(), Top(), W, H);
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // An explicit size replaces a client size still waiting for the window.
  if (!HasState(csLoading)) {
    if (AWidth != Width()) FClientWidth = NoClientSize;
    if (AHeight != Height()) FClientHeight = NoClientSize;
  }
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

TRect TCustomForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  TCreateParams P;
  const_cast<TCustomForm*>(this)->CreateParams(P);
  SIZE F = FrameSize(P, FMenu != nullptr);
  const int Strip = 2 * FBorderWidth;
  return Rect(0, 0, std::max(0, Width() - int(F.cx) - Strip), std::max(0, Height() - int(F.cy) - Strip));
}

// ----- focus

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  if (Control && (Control == this || GetParentForm(Control) != this ||
                  (!HasState(csLoading) && !Control->CanFocus())))
    throw EInvalidOperation(SCannotFocus);
  FActiveControl = Control;
  if (HasState(csLoading)) return;
  if (FActive) SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  if (!HandleAllocated() || IsIconic(WindowHandle())) return;
  HWND Target = WindowHandle();
  if (FActiveControl && FActiveControl != this) Target = FActiveControl->Handle();
  ::SetFocus(Target);
}

void TCustomForm::SetFocus() {
  if (FActive) return;
  if (!CanFocus()) throw EInvalidOperation(SCannotFocus);
  SetWindowFocus();
}

bool TCustomForm::CanFocus() const {
  if (!Visible() || !Enabled()) return false;
  if (Parent()) return TWinControl::CanFocus();
  return true;
}

void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (!Value) return;
  if (!FActiveControl && !HasState(csDesigning)) FActiveControl = FindNextControl(nullptr, true, true, false);
  SetWindowFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (!Control || !ContainsControl(Control)) return false;
  ++FocusCount;
  FActiveControl = Control != this ? Control : nullptr;
  if (Screen) Screen->SetActive(this, Control);
  if (Control->ControlState() & StateOf(csFocusing)) return false;
  Control->SetControlState(Control->ControlState() | StateOf(csFocusing));
  TFinally Clear{[Control] { Control->SetControlState(Control->ControlState() & ~StateOf(csFocusing)); }};
  auto Send = [](TControl* Target, unsigned Msg) {
    int Count = FocusCount;
    Target->Perform(Msg, 0, 0);
    return Count == FocusCount;
  };
  if (Screen && Screen->FFocusedForm != this) {
    if (TCustomForm* Old = Screen->FFocusedForm) {
      Screen->FFocusedForm = nullptr;
      if (!Send(Old, CM_DEACTIVATE)) return false;
    }
    Screen->FFocusedForm = this;
    if (!Send(this, CM_ACTIVATE)) return false;
  }
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl != Control) {
    while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
      TWinControl* Leaving = FFocusedControl;
      FFocusedControl = FFocusedControl->Parent();
      if (!Send(Leaving, CM_EXIT)) return false;
    }
    while (FFocusedControl != Control) {
      TWinControl* Entering = Control;
      while (Entering->Parent() != FFocusedControl) Entering = Entering->Parent();
      FFocusedControl = Entering;
      if (!Send(Entering, CM_ENTER)) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(Control));
  }
  return true;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (!Control) return;
  if (Removing && FFocusedControl && Control->ContainsControl(FFocusedControl))
    FFocusedControl = Control == this ? nullptr : Control->Parent();
  if (Removing && Screen && Screen->FActiveControl && Control->ContainsControl(Screen->FActiveControl))
    Screen->FActiveControl = nullptr;
  if (FActiveControl && Control->ContainsControl(FActiveControl)) {
    FActiveControl = nullptr;
    if (FActive && !HasState(csDestroying) && Control != this) SetWindowFocus();
  }
}

void TCustomForm::FocusControl(TWinControl* Control) {
  bool WasActive = FActive;
  SetActiveControl(Control);
  if (!WasActive) SetFocus();
}

// ----- window

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  bool TopLevel = !Parent() && !ParentWindow();
  if (TopLevel) {
    Params.Style &= ~DWORD(WS_CHILD | WS_GROUP | WS_TABSTOP | WS_POPUP | WS_VISIBLE);
    Params.WndParent = Application ? Application->Handle() : nullptr;
    if (Application && Application->FMainForm == this) Params.ExStyle |= WS_EX_APPWINDOW;
    switch (FBorderStyle) {
      case bsNone: Params.Style |= WS_POPUP; break;
      case bsSingle:
      case bsToolWindow: Params.Style |= WS_CAPTION; break;
      case bsSizeable:
      case bsSizeToolWin: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
      case bsDialog:
        Params.Style |= WS_POPUP | WS_CAPTION;
        Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle != bsNone) {
      bool Sys = FBorderIcons & (1u << biSystemMenu);
      bool Boxes = FBorderStyle == bsSingle || FBorderStyle == bsSizeable;
      if (Sys) Params.Style |= WS_SYSMENU;
      if (Sys && Boxes && (FBorderIcons & (1u << biMinimize))) Params.Style |= WS_MINIMIZEBOX;
      if (Sys && Boxes && (FBorderIcons & (1u << biMaximize))) Params.Style |= WS_MAXIMIZEBOX;
      if (Sys && (FBorderIcons & (1u << biHelp)) && !(Params.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
        Params.ExStyle |= WS_EX_CONTEXTHELP;
    }
    if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
    if (FFormStyle == fsMDIChild && !HasState(csDesigning)) {
      // A child of the main form's client, which makes the window.
      Params.Style = (Params.Style & ~DWORD(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
      Params.ExStyle &= ~DWORD(WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME);
      Params.WndParent = MainMDIClient();
    }
    if (!FPositioned) {
      if (FPosition == poDefault || FPosition == poDefaultPosOnly) Params.X = Params.Y = CW_USEDEFAULT;
      if (FPosition == poDefault || FPosition == poDefaultSizeOnly) Params.Width = Params.Height = CW_USEDEFAULT;
    }
  } else {
    Params.Style &= ~DWORD(WS_VISIBLE);
  }
  Params.WindowClass.style |= CS_DBLCLKS;
  if (FBorderStyle != bsDialog) {
    HINSTANCE Inst = GetModuleHandleA(nullptr);
    HICON Icon = LoadIconA(Inst, "MAINICON");
    Params.WindowClass.hIcon = Icon ? Icon : LoadIconA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */);
  }
}

void TCustomForm::CreateWnd() {
  if (FFormStyle == fsMDIChild && !HasState(csDesigning) && !MainMDIClient()) throw EInvalidOperation(SNoMDIForm);
  TWinControl::CreateWnd();
  HWND Wnd = WindowHandle();
  if (FFormStyle == fsMDIForm && !HasState(csDesigning)) CreateMDIClient();
  if (FMenu) {
    ::SetMenu(Wnd, FMenu->Handle());
    FMenu->SetWindowHandle(Wnd);
  }
  if (!FIcon->Empty()) SendIcon();
  bool Defaulted = !FPositioned && (FPosition == poDefault || FPosition == poDefaultPosOnly ||
                                    FPosition == poDefaultSizeOnly);
  if (Defaulted) UpdateBounds();
  ApplyClientSize();
}

void TCustomForm::CreateMDIClient() {
  CLIENTCREATESTRUCT Create{};
  Create.idFirstChild = 0xFF00;
  RECT R{};
  GetClientRect(WindowHandle(), &R);
  FClientHandle = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                      WS_HSCROLL | WS_VSCROLL | MDIS_ALLCHILDSTYLES,
                                  0, 0, R.right, R.bottom, WindowHandle(), nullptr, GetModuleHandleA(nullptr), &Create);
  if (!FClientHandle) throw EOutOfResources("Cannot create the MDI client window");
  Realign();
}

void TCustomForm::CreateWindowHandle(const TCreateParams& Params) {
  if (FFormStyle != fsMDIChild || HasState(csDesigning)) {
    TWinControl::CreateWindowHandle(Params);
    return;
  }
  // Last in MDIChildren from here on, so the client's subclasses find it there.
  FMDIOrder = ++MDICreateCount;
  MDICREATESTRUCTA Create{};
  Create.szClass = Params.WinClassName;
  Create.szTitle = Params.Caption.c_str();
  Create.hOwner = Params.WindowClass.hInstance;
  Create.x = Params.X;
  Create.y = Params.Y;
  Create.cx = Params.Width;
  Create.cy = Params.Height;
  Create.style = Params.Style;
  Create.lParam = reinterpret_cast<LPARAM>(Params.Param);
  FMDIClient = Params.WndParent;
  if (HWND Wnd = reinterpret_cast<HWND>(SendMessageA(FMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&Create))))
    FHandle = Wnd;
  else
    FMDIClient = nullptr;
}

void TCustomForm::DestroyWindowHandle() {
  HWND Wnd = WindowHandle();
  if (Wnd && FMDIClient && IsWindow(FMDIClient) && GetParent(Wnd) == FMDIClient) {
    SetControlState(ControlState() | StateOf(csDestroyingHandle));
    TFinally Clear{[this] { SetControlState(ControlState() & ~StateOf(csDestroyingHandle)); }};
    SendMessageA(FMDIClient, WM_MDIDESTROY, WPARAM(Wnd), 0);
  }
  FMDIClient = nullptr;
  TWinControl::DestroyWindowHandle();
  FClientHandle = nullptr;  // went with the frame
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  if (FClientHandle)
    SetWindowPos(FClientHandle, HWND_BOTTOM, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
                 SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void TCustomForm::DefaultHandler(TMessage& Message) {
  HWND Wnd = WindowHandle();
  const bool Framework = Message.Msg == WM_CONTEXTMENU ||
                         (Message.Msg >= CN_CTLCOLORMSGBOX && Message.Msg <= CN_CTLCOLORSTATIC);
  if (Wnd && !Framework && FClientHandle)
    Message.Result = DefFrameProcA(Wnd, FClientHandle, Message.Msg, WPARAM(Message.WParam), LPARAM(Message.LParam));
  else if (Wnd && !Framework && FMDIClient)
    Message.Result = DefMDIChildProcA(Wnd, Message.Msg, WPARAM(Message.WParam), LPARAM(Message.LParam));
  else
    TWinControl::DefaultHandler(Message);
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() const {
  std::vector<TCustomForm*> List;
  if (FFormStyle != fsMDIForm || !Screen) return List;
  for (TCustomForm* F : Screen->FForms)
    if (F->FFormStyle == fsMDIChild) List.push_back(F);
  std::stable_sort(List.begin(), List.end(),
                   [](const TCustomForm* A, const TCustomForm* B) { return A->FMDIOrder < B->FMDIOrder; });
  return List;
}

int TCustomForm::MDIChildCount() const { return int(MDIChildList().size()); }

TCustomForm* TCustomForm::MDIChildren(int Index) const {
  std::vector<TCustomForm*> List = MDIChildList();
  if (Index < 0 || Index >= int(List.size())) throw EListError("List index out of bounds (%d)", {Index});
  return List[size_t(Index)];
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (FFormStyle != fsMDIForm || !FClientHandle) return nullptr;
  HWND Active = reinterpret_cast<HWND>(SendMessageA(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(FindControl(Active));
}

void TCustomForm::DestroyWnd() {
  // A window destroys the menu it shows: take the menu off first.
  if (FMenu && HandleAllocated()) {
    ::SetMenu(WindowHandle(), nullptr);
    FMenu->SetWindowHandle(nullptr);
  }
  TWinControl::DestroyWnd();
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  if (FScaled && Screen && FPixelsPerInch > 0 && Screen->PixelsPerInch() != FPixelsPerInch) {
    int M = Screen->PixelsPerInch(), D = FPixelsPerInch;
    ScaleChildren(this, M, D);
    if (FClientWidth != NoClientSize) FClientWidth = MulDiv(FClientWidth, M, D);
    if (FClientHeight != NoClientSize) FClientHeight = MulDiv(FClientHeight, M, D);
    Font()->SetHeight(MulDiv(Font()->Height(), M, D));
    FPixelsPerInch = M;
  }
  ApplyClientSize();
  if (FMenu && HandleAllocated()) {
    ::SetMenu(WindowHandle(), FMenu->Handle());
    FMenu->SetWindowHandle(WindowHandle());
  }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenu) {
    if (HandleAllocated()) ::SetMenu(WindowHandle(), nullptr);
    FMenu->SetWindowHandle(nullptr);
    FMenu = nullptr;
  }
  if (AComponent == FActiveControl) FActiveControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
}

void TCustomForm::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  TWinControl::GetChildren(Proc, Root);
  if (Root != this) return;
  for (int I = 0; I < ComponentCount(); ++I) {
    TComponent* C = Components(I);
    if (!C->HasParent()) Proc(C);
  }
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC DC) {
  FCanvas->Lock();
  TFinally Unlock{[this] {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }};
  FCanvas->SetHandle(DC);
  FCanvas->Font()->Assign(Font());
  FCanvas->Brush()->SetColor(Color());
  Paint();
}

// ----- messages

void TCustomForm::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SETFOCUS && FActiveControl && FActiveControl != this && HandleAllocated() &&
      !IsIconic(WindowHandle()) && FActiveControl->CanFocus()) {
    // The form passes the focus on to its active control.
    ::SetFocus(FActiveControl->Handle());
    Message.Result = 0;
    return;
  }
  TWinControl::WndProc(Message);
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_CLOSE: WMClose(Message); break;
    case WM_ACTIVATE: WMActivate(Message); break;
    case WM_SYSCOMMAND: WMSysCommand(Message); break;
    case WM_COMMAND: WMCommand(Message); break;
    case WM_INITMENUPOPUP: WMInitMenuPopup(Message); break;
    case WM_QUERYENDSESSION: WMQueryEndSession(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(Message); break;
    case WM_MDIACTIVATE: WMMDIActivate(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_FONTCHANGE: WMFontChange(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_ACTIVATE: CMActivate(Message); break;
    case CM_DEACTIVATE: CMDeactivate(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_RELEASE: CMRelease(Message); break;
    case CM_MENUCHANGED: CMMenuChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomForm::WMPaint(TMessage& Message) {
  if (HandleAllocated() && IsIconic(WindowHandle())) {
    DefaultHandler(Message);
    return;
  }
  // The form paints itself (OnPaint) also without graphic controls.
  SetControlState(ControlState() | StateOf(csCustomPaint));
  TFinally Clear{[this] { SetControlState(ControlState() & ~StateOf(csCustomPaint)); }};
  inherited::Dispatch(Message);
}

namespace {
// WM_FONTCHANGE to every windowed control under Parent that has a window; a form among them
// passes it on itself.
void PassFontChange(TWinControl* Parent, const TMessage& Message) {
  for (int I = 0; I < Parent->ControlCount(); ++I) {
    auto* W = dynamic_cast<TWinControl*>(Parent->Controls(I));
    if (!W || !W->HandleAllocated()) continue;
    W->Perform(Message.Msg, Message.WParam, Message.LParam);
    if (!dynamic_cast<TCustomForm*>(W)) PassFontChange(W, Message);
  }
}
}  // namespace

void TCustomForm::WMFontChange(TMessage& Message) {
  inherited::Dispatch(Message);
  PassFontChange(this, Message);
}

void TCustomForm::WMClose(TMessage& Message) {
  Message.Result = 0;
  Close();
}

void TCustomForm::WMActivate(TMessage& Message) {
  SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
  Message.Result = 0;
}

void TCustomForm::WMSysCommand(TMessage& Message) {
  inherited::Dispatch(Message);
  if (HandleAllocated() && IsWindowVisible(WindowHandle())) {
    switch (Message.WParam & 0xFFF0) {
      case SC_MINIMIZE: FWindowState = wsMinimized; break;
      case SC_MAXIMIZE: FWindowState = wsMaximized; break;
      case SC_RESTORE: FWindowState = IsZoomed(WindowHandle()) ? wsMaximized : wsNormal; break;
      default: break;
    }
  }
}

void TCustomForm::WMCommand(TMessage& Message) {
  // Menu commands: notification code 0 and no control window.
  if (FMenu && HIWORD(Message.WParam) == 0 && Message.LParam == 0 &&
      FMenu->DispatchCommand((unsigned short)LOWORD(Message.WParam))) {
    Message.Result = 0;
    return;
  }
  inherited::Dispatch(Message);
}

void TCustomForm::WMInitMenuPopup(TMessage& Message) {
  if (FMenu) FMenu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam));
  inherited::Dispatch(Message);
}

void TCustomForm::WMQueryEndSession(TMessage& Message) { Message.Result = CloseQuery() ? 1 : 0; }

void TCustomForm::WMGetMinMaxInfo(TMessage& Message) {
  if (!HasState(csLoading | csDestroying) && Message.LParam) {
    MINMAXINFO& Info = *reinterpret_cast<MINMAXINFO*>(Message.LParam);
    TSizeConstraints* C = Constraints();
    int MinW = C->MinWidth(), MinH = C->MinHeight(), MaxW = C->MaxWidth(), MaxH = C->MaxHeight();
    ConstrainedResize(MinW, MinH, MaxW, MaxH);
    if (MinW > 0) Info.ptMinTrackSize.x = MinW;
    if (MinH > 0) Info.ptMinTrackSize.y = MinH;
    if (MaxW > 0) Info.ptMaxTrackSize.x = MaxW;
    if (MaxH > 0) Info.ptMaxTrackSize.y = MaxH;
  }
  inherited::Dispatch(Message);
}

void TCustomForm::WMSize(TMessage& Message) {
  if (Application && Application->FMainForm == this &&
      (Message.WParam == SIZE_MINIMIZED || Message.WParam == SIZE_RESTORED || Message.WParam == SIZE_MAXIMIZED))
    Application->MainFormSized(Message.WParam == SIZE_MINIMIZED);
  if (HandleAllocated() && IsWindowVisible(WindowHandle()) && !Parent()) {
    switch (Message.WParam) {
      case SIZE_MINIMIZED: FWindowState = wsMinimized; break;
      case SIZE_MAXIMIZED: FWindowState = wsMaximized; break;
      case SIZE_RESTORED: FWindowState = wsNormal; break;
      default: break;
    }
  }
  inherited::Dispatch(Message);
}

void TCustomForm::WMMDIActivate(TMessage& Message) {
  DefaultHandler(Message);
  if (FFormStyle == fsMDIChild && HandleAllocated())
    SetActive(reinterpret_cast<HWND>(Message.LParam) == WindowHandle());
}

void TCustomForm::WMNCCalcSize(TMessage& Message) {
  DefaultHandler(Message);
  // Both forms of the message start with the client rectangle, in the parent's coordinates.
  auto* Client = reinterpret_cast<RECT*>(Message.LParam);
  if (!FBorderWidth || !Client) return;
  Client->left += FBorderWidth;
  Client->top += FBorderWidth;
  Client->right = std::max(Client->left, Client->right - FBorderWidth);
  Client->bottom = std::max(Client->top, Client->bottom - FBorderWidth);
}

void TCustomForm::WMNCPaint(TMessage& Message) {
  DefaultHandler(Message);
  if (!FBorderWidth || !HandleAllocated()) return;
  HWND Wnd = WindowHandle();
  if (HDC DC = GetWindowDC(Wnd)) {
    PaintBorderStrip(DC);
    ReleaseDC(Wnd, DC);
  }
}

void TCustomForm::PaintBorderStrip(HDC DC) {
  if (!FBorderWidth || !HandleAllocated()) return;
  HWND Wnd = WindowHandle();
  RECT Window{}, Client{};
  GetWindowRect(Wnd, &Window);
  GetClientRect(Wnd, &Client);
  MapWindowPoints(Wnd, nullptr, reinterpret_cast<POINT*>(&Client), 2);
  OffsetRect(&Client, -Window.left, -Window.top);
  RECT Strip = Client;
  InflateRect(&Strip, FBorderWidth, FBorderWidth);
  // The strip only: the client area is the client's to paint.
  const int Saved = SaveDC(DC);
  ExcludeClipRect(DC, Client.left, Client.top, Client.right, Client.bottom);
  if (HBRUSH Brush = CreateSolidBrush(COLORREF(ColorToRGB(Color())))) {
    FillRect(DC, &Strip, Brush);
    DeleteObject(Brush);
  }
  RestoreDC(DC, Saved);
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  TShiftState Shift = KeyDataToShiftState(Message.LParam);
  if (!(Shift & ShiftOf(ssAlt))) {
    switch (Message.WParam) {
      case VK_TAB:
        if (!(Shift & ShiftOf(ssCtrl))) {
          SelectNext(FActiveControl, !(Shift & ShiftOf(ssShift)), true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->Parent()) {
          FActiveControl->Parent()->SelectNext(FActiveControl,
                                               Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
          Message.Result = 1;
        }
        return;
      default: break;
    }
  }
  // Enter, Escape and the rest go to the controls (default and cancel buttons).
  inherited::Dispatch(Message);
}

void TCustomForm::CMActivate(TMessage&) {
  if (HasState(csReading) || HasFormState(fsCreating)) SetFormStateFlag(fsActivated, true);
  else Activate();
}

void TCustomForm::CMDeactivate(TMessage&) {
  if (!HasState(csReading)) Deactivate();
}

void TCustomForm::CMTextChanged(TMessage& Message) {
  if (HandleAllocated()) {
    AnsiString Text = Caption();
    int Len = GetWindowTextLengthA(WindowHandle());
    std::string Cur(size_t(Len) + 1, '\0');
    GetWindowTextA(WindowHandle(), Cur.data(), Len + 1);
    Cur.resize(size_t(Len));
    if (Cur != Text.str()) SetWindowTextA(WindowHandle(), Text.c_str());
  }
  inherited::Dispatch(Message);
}

static constinit const TPropInfo TCustomForm_Props[] = {
    PropRef<&TCustomForm::ActiveControl, &TCustomForm::SetActiveControl>("ActiveControl"),
    TControlProps::Anchors(),
    PropSet<&TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons>("BorderIcons", TBorderIconType,
                                                                      DefaultBorderIcons),
    PropEnum<&TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle>("BorderStyle", TFormBorderStyleType,
                                                                       bsSizeable),
    PropInt<&TCustomForm::BorderWidth, &TCustomForm::SetBorderWidth>("BorderWidth", 0),
    TControlProps::Caption(),
    PropIntNoDefault<&TControl::ClientHeight, &TCustomForm::SetClientHeight>("ClientHeight"),
    PropIntNoDefault<&TControl::ClientWidth, &TCustomForm::SetClientWidth>("ClientWidth"),
    TControlProps::Color(clBtnFace),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::UseDockManager(),
    TControlProps::Enabled(),
    TControlProps::ParentFont(false),
    TControlProps::Font(),
    TControlProps::HelpContext(),
    PropEnum<&TCustomForm::FormStyle, &TCustomForm::SetFormStyle>("FormStyle", TFormStyleType, fsNormal),
    PropObject<&TCustomForm::Icon, &TCustomForm::SetIcon>(
        "Icon", [](const TObject* O) { return !static_cast<const TCustomForm*>(O)->Icon()->Empty(); }),
    PropBool<&TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview>("KeyPreview", false),
    PropRef<&TCustomForm::Menu, &TCustomForm::SetMenu>("Menu"),
    PropBool<&TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder>("OldCreateOrder", false),
    PropIntNoDefault<&TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch>("PixelsPerInch"),
    PopupMenuProp(),
    PropEnum<&TCustomForm::Position, &TCustomForm::SetPosition>("Position", TPositionType, poDesigned),
    PropBool<&TCustomForm::Scaled, &TCustomForm::SetScaled>("Scaled", true),
    TControlProps::ShowHint(),
    PropIntNoDefault<&TCustomForm::TextHeight, &TCustomForm::SetTextHeight>("TextHeight"),
    PropBool<&TControl::Visible, &TCustomForm::SetVisible>("Visible", false),
    PropEnum<&TCustomForm::WindowState, &TCustomForm::SetWindowState>("WindowState", TWindowStateType, wsNormal),
    PropEvent<&TCustomForm::OnActivate>("OnActivate"),
    TControlProps::OnCanResize(),
    TControlProps::OnClick(),
    PropEvent<&TCustomForm::OnClose>("OnClose"),
    PropEvent<&TCustomForm::OnCloseQuery>("OnCloseQuery"),
    TControlProps::OnConstrainedResize(),
    PropEvent<&TCustomForm::OnCreate>("OnCreate"),
    TControlProps::OnDblClick(),
    PropEvent<&TCustomForm::OnDestroy>("OnDestroy"),
    PropEvent<&TCustomForm::OnDeactivate>("OnDeactivate"),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    PropEvent<&TCustomForm::OnHide>("OnHide"),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    PropEvent<&TCustomForm::OnPaint>("OnPaint"),
    TControlProps::OnResize(),
    PropEvent<&TCustomForm::OnShow>("OnShow"),
};
ORV_IMPLEMENT_ABSTRACT(TCustomForm, TWinControl, TCustomForm_Props)
ORV_IMPLEMENT_COMPONENT_NOPROPS(TForm, TCustomForm)

// ---------------------------------------------------------------------------------------------
// TScreen

namespace {
struct TStdCursor {
  TCursor Index;
  int Id;  // IDC_xxx
};
constexpr TStdCursor StdCursors[] = {
    {crDefault, 32512},   {crArrow, 32512},    {crCross, 32515},    {crIBeam, 32513},
    {crSizeNESW, 32643},  {crSizeNS, 32645},   {crSizeNWSE, 32642}, {crSizeWE, 32644},
    {crUpArrow, 32516},   {crHourGlass, 32514}, {crDrag, 32512},    {crNoDrop, 32648},
    {crHSplit, 32644},    {crVSplit, 32645},   {crMultiDrag, 32512}, {crSQLWait, 32514},
    {crNo, 32648},        {crAppStart, 32650}, {crHelp, 32651},     {crHandPoint, 32649},
    {crSizeAll, 32646},
};

int CALLBACK CollectFont(const LOGFONTA* Font, const TEXTMETRICA*, DWORD, LPARAM Data) {
  reinterpret_cast<TStringList*>(Data)->Add(Font->lfFaceName);
  return 1;
}
}  // namespace

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
  if (HDC DC = GetDC(nullptr)) {
    FPixelsPerInch = GetDeviceCaps(DC, LOGPIXELSY);
    ReleaseDC(nullptr, DC);
  }
  if (FPixelsPerInch <= 0) FPixelsPerInch = 96;
}

TScreen::~TScreen() {
  for (auto& C : FCursors)
    if (C.second) DestroyCursor(C.second);
  FCursors.clear();
  TObject::Free(FFonts);
  FFonts = nullptr;
  TObject::Free(FImes);
  FImes = nullptr;
}

TRect TScreen::WorkAreaRect() const {
  RECT R{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &R, 0)) return Rect(0, 0, Width(), Height());
  return R;
}

TCustomForm* TScreen::Forms(int Index) const {
  if (Index < 0 || Index >= FormCount()) throw EListError("List index out of bounds (%d)", {Index});
  return FForms[size_t(Index)];
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  if (Value == crDefault) {
    // Let the window under the mouse choose its own cursor again.
    POINT P;
    if (GetCursorPos(&P)) {
      HWND Wnd = WindowFromPoint(P);
      if (Wnd && GetWindowThreadProcessId(Wnd, nullptr) == GetCurrentThreadId()) {
        LRESULT Hit = SendMessageA(Wnd, WM_NCHITTEST, 0, MAKELPARAM(WORD(short(P.x)), WORD(short(P.y))));
        SendMessageA(Wnd, WM_SETCURSOR, WPARAM(Wnd), MAKELPARAM(WORD(Hit), WM_MOUSEMOVE));
        return;
      }
    }
  }
  ::SetCursor(Cursors(Value));
}

HCURSOR TScreen::Cursors(TCursor Index) const {
  for (const auto& C : FCursors)
    if (C.first == Index) return C.second;
  if (Index == crNone) return nullptr;
  for (const TStdCursor& S : StdCursors)
    if (S.Index == Index) return LoadCursorA(nullptr, MAKEINTRESOURCEA(S.Id));
  return LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  auto It = std::find_if(FCursors.begin(), FCursors.end(), [&](const auto& C) { return C.first == Index; });
  if (It != FCursors.end()) {
    if (It->second == Handle) return;
    if (It->second) DestroyCursor(It->second);
    if (Handle) It->second = Handle;
    else FCursors.erase(It);
  } else if (Handle) {
    FCursors.emplace_back(Index, Handle);
  }
  if (Index == FCursor && FCursor != crDefault) ::SetCursor(Cursors(Index));
}

TStrings* TScreen::Fonts() {
  if (!FFonts) {
    auto* List = new TStringList();
    List->SetSorted(true);
    List->SetDuplicates(dupIgnore);
    if (HDC DC = GetDC(nullptr)) {
      LOGFONTA LF{};
      LF.lfCharSet = DEFAULT_CHARSET;
      EnumFontFamiliesExA(DC, &LF, &CollectFont, reinterpret_cast<LPARAM>(List), 0);
      ReleaseDC(nullptr, DC);
    }
    FFonts = List;
  }
  return FFonts;
}

void TScreen::AddForm(TCustomForm* Form) {
  if (std::find(FForms.begin(), FForms.end(), Form) == FForms.end()) FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
  if (FFocusedForm == Form) FFocusedForm = nullptr;
  if (FActiveForm == Form) {
    FActiveForm = nullptr;
    FActiveControl = nullptr;
    if (OnActiveControlChange) OnActiveControlChange(this);
    if (OnActiveFormChange) OnActiveFormChange(this);
  }
}

void TScreen::SetActive(TCustomForm* Form, TWinControl* Control) {
  bool FormChanged = FActiveForm != Form;
  bool ControlChanged = FActiveControl != Control;
  FActiveForm = Form;
  FActiveControl = Control;
  if (ControlChanged && OnActiveControlChange) OnActiveControlChange(this);
  if (FormChanged && OnActiveFormChange) OnActiveFormChange(this);
}

ORV_IMPLEMENT_CLASS(TScreen, TComponent)

// ---------------------------------------------------------------------------------------------
// TApplication

namespace {
const char* const AppWindowClass = "TApplication";

// The control whose hint shows for Control: it or its first parent that shows hints.
TControl* GetHintControl(TControl* Control) {
  while (Control && !Control->ShowHint()) Control = Control->Parent();
  if (Control && Control->HasState(csDesigning)) return nullptr;
  return Control;
}

// The hint of Control or of its first parent that has one.
AnsiString GetHint(TControl* Control) {
  for (; Control; Control = Control->Parent())
    if (!Control->Hint().IsEmpty()) return Control->Hint();
  return AnsiString();
}
}  // namespace

TClass HintWindowClass = THintWindow::StaticClass();

LRESULT CALLBACK ApplicationWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TApplication* App = Application;
  if (!App || App->FHandle != Wnd) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  try {
    return App->WndProc(Msg, WParam, LParam);
  } catch (...) {
    App->HandleException(App);
    return 0;
  }
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  FTitle = ChangeFileExt(ExtractFileName(ExeName()), "");
  FIcon = new TIcon;
  SetWakeMainThread(&WakeApplication);
  // The window exists from the start, so threads always have a window to wake.
  Handle();
}

TApplication::~TApplication() {
  StopHintTimer();
  FHintControl = nullptr;
  FreeAndNil(FHintWindow);
  TObject::Free(FIcon);
  FIcon = nullptr;
  if (FHandle) {
    WakeWindow = nullptr;
    DestroyWindow(FHandle);
    FHandle = nullptr;
  }
}

void TApplication::Initialize() {
  if (FInitialized) return;
  FInitialized = true;
  INITCOMMONCONTROLSEX Icc{sizeof(Icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&Icc);
  Handle();
}

void TApplication::SetTitle(const AnsiString& Value) {
  if (FTitle == Value) return;
  FTitle = Value;
  if (FHandle) SetWindowTextA(FHandle, FTitle.c_str());
}

HWND TApplication::Handle() {
  if (FHandle) return FHandle;
  HINSTANCE Inst = GetModuleHandleA(nullptr);
  WNDCLASSA Existing{};
  if (!GetClassInfoA(Inst, AppWindowClass, &Existing)) {
    WNDCLASSA Cls{};
    Cls.lpfnWndProc = &ApplicationWndProc;
    Cls.hInstance = Inst;
    Cls.hIcon = LoadIconA(Inst, "MAINICON");
    if (!Cls.hIcon) Cls.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    Cls.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    Cls.lpszClassName = AppWindowClass;
    if (!RegisterClassA(&Cls)) throw EOutOfResources("Cannot register the application window class");
  }
  // Hidden: it owns the forms and carries the title, the main form has the taskbar button.
  FHandle = CreateWindowExA(0, AppWindowClass, FTitle.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                            nullptr, nullptr, Inst, nullptr);
  if (!FHandle) throw EOutOfResources("Cannot create the application window");
  WakeWindow = FHandle;
  // Calls queued before the window existed were announced to the thread.
  WakePosted = true;
  PostMessageA(FHandle, WM_NULL, 0, 0);
  return FHandle;
}

void TApplication::FormCreated(TCustomForm* Form) {
  if (FMainForm || !Form) return;
  FMainForm = Form;
  if (Form->HandleAllocated() && !Form->Parent()) {
    HWND W = Form->WindowHandle();
    SetWindowLongA(W, GWL_EXSTYLE, GetWindowLongA(W, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMainForm) FMainForm = nullptr;
}

void TApplication::Run() {
  if (!FMainForm) return;
  if (FShowMainForm) {
    if (FMainForm->WindowState() == wsMinimized) {
      FMainForm->SetVisible(true);
      Minimize();
    } else {
      FMainForm->SetVisible(true);
    }
  } else if (FMinimizePending) {
    // Minimised before there was a main form: it starts as a button on the taskbar.
    ShowWindow(FMainForm->Handle(), SW_SHOWMINNOACTIVE);
  }
  FMinimizePending = false;
  while (!FTerminated) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool Handled = false;
  if (OnMessage) {
    try {
      OnMessage(Msg, Handled);
    } catch (...) {
      HandleException(this);
    }
  }
  if (FHintControl && FHintWindow && FHintWindow->IsHintEndMessage(Msg)) CancelHint();
  if (!Handled && !IsMDIMsg(Msg) && !IsKeyMsg(Msg)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  return true;
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND Wnd = GetCapture();
  if (!Wnd) {
    Wnd = Msg.hwnd;
    while (Wnd && !FindControl(Wnd)) Wnd = GetParent(Wnd);
  } else if (!FindControl(Wnd)) {
    Wnd = nullptr;
  }
  if (!Wnd) return false;
  return SendMessageA(Wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::IsMDIMsg(MSG& Msg) {
  HWND Client = MainMDIClient();
  TCustomForm* Active = Screen ? Screen->ActiveForm() : nullptr;
  return Client && Active && Active->FormStyle() == fsMDIChild && TranslateMDISysAccel(Client, &Msg);
}

void TApplication::ProcessMessages() {
  MSG Msg;
  do {
    while (ProcessMessage(Msg)) {
    }
  } while (CheckSynchronize());
}

void TApplication::HandleMessage() {
  MSG Msg;
  if (!ProcessMessage(Msg)) Idle(Msg);
}

void TApplication::CheckMouseControl() {
  POINT P;
  if (!GetCursorPos(&P)) return;
  TControl* Capture = GetCaptureControl();
  TControl* Now = FindDragTarget(TPoint(P), true);
  if (Now && Now->HasState(csDesigning)) Now = nullptr;
  if (FHintControl && Now != FHintWindow && GetHintControl(Now) != FHintControl) CancelHint();
  if (Now != FMouseHintControl) {
    FMouseHintControl = Now;
    SetHint(GetLongHint(GetHint(Now)));
  }
  TControl* Was = MouseControl();
  if (Was == Now) return;
  if (Was && (!Capture || Capture == Was)) Was->Perform(CM_MOUSELEAVE, 0, 0);
  if (Now && (!Capture || Capture == Now)) Now->Perform(CM_MOUSEENTER, 0, 0);
}

void TApplication::Idle(const MSG&) {
  try {
    CheckMouseControl();
  } catch (...) {
    HandleException(this);
  }
  bool Done = true;
  if (OnIdle) {
    try {
      OnIdle(this, Done);
    } catch (...) {
      HandleException(this);
    }
  }
  FreeDeviceContexts();
  FreeMemoryContexts();
  try {
    if (CheckSynchronize()) Done = false;
  } catch (...) {
    HandleException(this);
  }
  if (Done) WaitMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::Minimize() {
  // The main form carries the application's taskbar button; a hidden one shows minimised.
  if (FMainForm) ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
  else FMinimizePending = true;
}

void TApplication::Restore() {
  if (FMainForm && FMainForm->HandleAllocated() && IsIconic(FMainForm->WindowHandle()))
    ShowWindow(FMainForm->WindowHandle(), SW_RESTORE);
}

void TApplication::BringToFront() {
  HWND Target = FLastActiveWindow && IsWindow(FLastActiveWindow) && IsWindowVisible(FLastActiveWindow)
                    ? FLastActiveWindow
                    : (FMainForm && FMainForm->HandleAllocated() ? FMainForm->WindowHandle() : nullptr);
  if (Target) SetForegroundWindow(Target);
}

void TApplication::HandleException(TObject* Sender) {
  if (!std::current_exception()) return;
  if (HWND Capture = GetCapture()) SendMessageA(Capture, WM_CANCELMODE, 0, 0);
  auto Report = [&](Exception& E) {
    if (!OnException) {
      ShowException(E);
      return;
    }
    try {
      OnException(Sender, E);
    } catch (EAbort&) {
    } catch (Exception& Inner) {
      ShowException(Inner);
    } catch (...) {
      std::fprintf(stderr, "Exception in the exception handler\n");
    }
  };
  try {
    throw;
  } catch (EAbort&) {
  } catch (Exception& E) {
    Report(E);
  } catch (std::exception& E) {
    Exception Wrapped(E.what());
    Report(Wrapped);
  } catch (...) {
    Exception Wrapped("Unknown exception");
    Report(Wrapped);
  }
}

void TApplication::ShowException(const Exception& E) {
  AnsiString Text = E.Message();
  if (!HasClosingPunctuation(Text)) Text += '.';
  MessageBox(Text.c_str(), FTitle.c_str(), MB_ICONERROR | MB_OK);
}

int TApplication::MessageBox(const char* Text, const char* Caption, unsigned Flags) {
  HWND Active = GetActiveWindow();
  HWND Owner = Active;
  if (!Owner && FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->WindowHandle()))
    Owner = FMainForm->WindowHandle();
  if (!Owner) Owner = Handle();
  int Result;
  {
    TTaskWindows Disabled;
    Result = MessageBoxA(Owner, Text ? Text : "", Caption ? Caption : FTitle.c_str(), Flags);
  }
  if (Active && IsWindow(Active)) SetActiveWindow(Active);
  return Result;
}

AnsiString TApplication::ExeName() const {
  char Buf[MAX_PATH + 1] = {};
  DWORD N = GetModuleFileNameA(nullptr, Buf, MAX_PATH);
  return AnsiString(Buf, int(N));
}

LRESULT TApplication::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage Message{Msg, uintptr_t(WParam), intptr_t(LParam), 0};
  for (size_t I = 0; I < FWindowHooks.size(); ++I) {
    const TWindowHook Hook = FWindowHooks[I];
    bool Handled = false;
    Hook(Message, Handled);
    if (Handled) return LRESULT(Message.Result);
    // A hook that took itself out leaves its place to the next one.
    if (I < FWindowHooks.size() && !(FWindowHooks[I] == Hook)) --I;
  }
  return DefaultWndProc(Msg, WParam, LParam);
}

LRESULT TApplication::DefaultWndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_TIMER:
      if (WParam == FHintTimerId && FHintTimer != htNone) HintTimerExpired();
      return 0;
    case WM_NULL:
      WakePosted = false;
      CheckSynchronize();
      return 0;
    case WM_CLOSE:
      if (FMainForm) FMainForm->Close();
      return 0;
    case WM_ACTIVATEAPP:
      // Through the queue, so that OnMessage sees the change.
      PostMessageA(FHandle, WParam ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
      FActive = WParam != 0;
      if (FActive) {
        if (OnActivate) OnActivate(this);
      } else {
        FLastActiveWindow = GetActiveWindow();
        if (OnDeactivate) OnDeactivate(this);
      }
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      // A window the application window owns (a dropped list) paints in its control's colours.
      if (TWinControl* C = FindControl(reinterpret_cast<HWND>(LParam)))
        return LRESULT(C->Perform(CN_BASE + Msg, WParam, LParam));
      return DefWindowProcA(FHandle, Msg, WParam, LParam);
    case WM_QUERYENDSESSION: return FMainForm ? (FMainForm->CloseQuery() ? TRUE : FALSE) : TRUE;
    case WM_ENDSESSION:
      if (WParam) Terminate();
      return 0;
    default: return DefWindowProcA(FHandle, Msg, WParam, LParam);
  }
}

void TApplication::HookMainWindow(const TWindowHook& Hook) {
  if (std::find(FWindowHooks.begin(), FWindowHooks.end(), Hook) == FWindowHooks.end()) FWindowHooks.push_back(Hook);
}

void TApplication::UnhookMainWindow(const TWindowHook& Hook) {
  FWindowHooks.erase(std::remove(FWindowHooks.begin(), FWindowHooks.end(), Hook), FWindowHooks.end());
}

bool TApplication::HelpCommand(unsigned short Command, intptr_t Data) {
  bool CallHelp = true, Result = false;
  if (OnHelp) OnHelp(Command, Data, CallHelp, Result);
  if (CallHelp && !FHelpFile.IsEmpty())
    Result = WinHelpA(Handle(), FHelpFile.c_str(), Command, ULONG_PTR(Data)) != 0;
  return Result;
}

void TApplication::SetIcon(TIcon* Value) {
  FIcon->Assign(Value);
  SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon->Empty() ? nullptr : FIcon->Handle()));
}

void TApplication::MainFormSized(bool Minimized) {
  if (Minimized == FMainMinimized) return;
  FMainMinimized = Minimized;
  if (Minimized) {
    if (OnMinimize) OnMinimize(this);
  } else if (OnRestore) {
    OnRestore(this);
  }
}

// ----- hints

void TApplication::SetHint(const AnsiString& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) OnHint(this);
}

void TApplication::SetHintColor(TColor Value) {
  FHintColor = Value;
  if (FHintWindow) FHintWindow->SetColor(Value);
}

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (!Value) {
    CancelHint();
    FreeAndNil(FHintWindow);
  } else {
    HintWindowNeeded();
  }
}

THintWindow* TApplication::HintWindowNeeded() {
  if (!FHintWindow) {
    TComponent* Window = HintWindowClass->Create(nullptr);
    FHintWindow = dynamic_cast<THintWindow*>(Window);
    if (!FHintWindow) {
      TObject::Free(Window);
      throw EInvalidCast("Invalid class typecast");
    }
    FHintWindow->SetColor(FHintColor);
  }
  return FHintWindow;
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
  if (!FShowHint) return;
  const TPoint P = Control->ClientToScreen(MessagePoint(Message));
  TControl* Now = GetHintControl(FindDragTarget(P, true));
  if (!Now) {
    CancelHint();
    return;
  }
  if (Now == FHintControl && FHintCursorRect.Contains(P)) return;
  // A new control, or the first moves on it: the hint waits for the mouse to rest.
  const int Pause = FHintActive ? FHintShortPause : FHintPause;
  FHintControl = Now;
  FHintCursorRect = TRect();
  StartHintTimer(Pause, htShow);
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (Control == FHintControl) CancelHint();
  if (Control == FMouseHintControl) FMouseHintControl = nullptr;
}

void TApplication::StartHintTimer(int Ms, THintTimer Mode) {
  StopHintTimer();
  // A new identifier each time: a tick of a killed timer may still wait in the queue.
  FHintTimerId = FHintTimerId % 0xFFFF + 1;
  if (SetTimer(Handle(), FHintTimerId, UINT(std::max(Ms, 1)), nullptr)) FHintTimer = Mode;
}

void TApplication::StopHintTimer() {
  if (FHintTimer == htNone) return;
  FHintTimer = htNone;
  if (FHandle) KillTimer(FHandle, FHintTimerId);
}

void TApplication::HintTimerExpired() {
  const THintTimer Mode = FHintTimer;
  StopHintTimer();
  if (Mode == htShow) ActivateHint();
  else if (Mode == htHide) HideHint();
}

void TApplication::ActivateHint() {
  POINT Cursor;
  TControl* Control = FHintControl;
  if (!FShowHint || !Control || !GetCursorPos(&Cursor) || GetHintControl(FindDragTarget(Cursor, true)) != Control) {
    CancelHint();
    return;
  }
  THintInfo Info;
  Info.HintControl = Control;
  Info.HintPos = TPoint(Cursor.x, Cursor.y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4);
  Info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
  Info.HintColor = FHintColor;
  Info.CursorRect = Control->ClientRect();
  Info.CursorPos = Control->ScreenToClient(TPoint(Cursor));
  Info.HideTimeout = FHintHidePause;
  Info.HintStr = GetShortHint(GetHint(Control));
  bool CanShow = Control->Perform(CM_HINTSHOW, 0, reinterpret_cast<intptr_t>(&Info)) == 0;
  if (CanShow && OnShowHint) OnShowHint(Info.HintStr, CanShow, Info);
  if (FHintControl != Control) return;  // the handlers moved on
  // Active while a hint shows: the next control's hint then follows after the short pause.
  FHintActive = CanShow && !Info.HintStr.IsEmpty();
  if (!FHintActive) {
    HideHint();
    return;
  }
  HintWindowNeeded()->SetColor(Info.HintColor);
  TRect R = FHintWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr);
  R = Bounds(Info.HintPos.X, Info.HintPos.Y, R.Width(), R.Height());
  const TPoint Origin = Control->ClientToScreen(TPoint(Info.CursorRect.Left, Info.CursorRect.Top));
  FHintCursorRect = Bounds(Origin.X, Origin.Y, Info.CursorRect.Width(), Info.CursorRect.Height());
  FHintWindow->ShowHintRect(R, Info.HintStr);
  if (Info.HideTimeout > 0) StartHintTimer(Info.HideTimeout, htHide);
}

void TApplication::HideHint() {
  if (FHintWindow && FHintWindow->HandleAllocated()) FHintWindow->ReleaseHandle();
}

void TApplication::CancelHint() {
  if (!FHintControl) return;
  HideHint();
  FHintControl = nullptr;
  FHintActive = false;
  StopHintTimer();
}

ORV_IMPLEMENT_CLASS(TApplication, TComponent)

// ---------------------------------------------------------------------------------------------
// Unit start-up and shutdown.

namespace {

void DoneApplication() {
  if (TApplication* A = Application) {
    TObject::Free(A);
    Application = nullptr;
  }
  if (TScreen* S = Screen) {
    TObject::Free(S);
    Screen = nullptr;
  }
}

struct TFormsUnit {
  TFormsUnit() {
    RegisterClasses({TForm::StaticClass()});
    SetFormResourceFinder(&FindFormResource);
    SetFindGlobalComponent(&FindGlobalForm);
    Screen = New<TScreen>(nullptr);
    Application = New<TApplication>(nullptr);
  }
  ~TFormsUnit() { DoneApplication(); }
} FormsUnit;

}  // namespace
