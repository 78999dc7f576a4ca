#include "vcl/Controls.h"
#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/GdiGuards.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>

constexpr TEnumType TAlignType{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
constexpr TEnumType TBiDiModeType{"TBiDiMode",
                                  {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"}};
constexpr TEnumType TAlignmentType{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
constexpr TEnumType TLeftRightType{"TLeftRight", {"taLeftJustify", "taRightJustify"}};
constexpr TEnumType TMouseButtonType{"TMouseButton", {"mbLeft", "mbRight", "mbMiddle"}};
constexpr TEnumType TShiftStateType{
    "TShiftState", {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"}};
constexpr TEnumType TDragModeType{"TDragMode", {"dmManual", "dmAutomatic"}};
constexpr TEnumType TBorderStyleType{"TBorderStyle", {"bsNone", "bsSingle"}};

LRESULT CALLBACK ControlsStdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
bool ControlsReflect(TWinControl* Parent, HWND Child, TMessage& Message);

namespace {

const char* const SParentRequired = "Control '%s' has no parent window";
const char* const SControlParentSetToSelf = "A control cannot have itself as its parent";
const char* const SCannotFocus = "Cannot focus a disabled or invisible window";
const char* const SWindowDCError = "Error creating window device context";
const char* const SListIndexError = "List index out of bounds (%d)";

// Window being created by CreateWnd: bound to the first message its window receives.
TWinControl* GCreationControl = nullptr;
// Graphic control that has the mouse captured through its parent's window.
TControl* GCaptureControl = nullptr;
// The control the last CM_MOUSEENTER went to.
TControl* GMouseControl = nullptr;
// Control canvases holding a DC they took themselves.
std::vector<TControlCanvas*> GCanvasList;
// Nesting of window procedure entries (device contexts are freed at the outermost).
int GWndProcDepth = 0;
// Next child window id (unique in the process, 16 bits for WM_COMMAND).
int GNextControlId = 0x100;

// Drag in progress.
struct TDragInfo {
  TControl* Control = nullptr;
  TDragObject* Object = nullptr;
  TControl* Target = nullptr;
  TPoint Start;
  TPoint Pos;
  int Threshold = DragThreshold;
  bool Active = false;
  bool Accepted = false;
  bool Docking = false;   // a dock drag (vcl/Docking.cpp keeps its state)
};
TDragInfo GDrag;

// The controls of this process's windows, read without a round trip to the window system. A
// control's window goes in at its first message (WM_NCCREATE or before) and out at
// WM_NCDESTROY, or when the control goes without one; windows of any thread.
class TControlMap {
public:
  TWinControl* Find(HWND Wnd) {
    AcquireSRWLockShared(&FLock);
    const auto It = FMap.find(Wnd);
    TWinControl* Control = It == FMap.end() ? nullptr : It->second;
    ReleaseSRWLockShared(&FLock);
    return Control;
  }
  void Add(HWND Wnd, TWinControl* Control) {
    TExclusive Lock(FLock);
    FMap[Wnd] = Control;
  }
  void Remove(HWND Wnd, TWinControl* Control) {
    TExclusive Lock(FLock);
    const auto It = FMap.find(Wnd);
    if (It != FMap.end() && It->second == Control) FMap.erase(It);
  }
  // Drops every window still naming Control (one destroyed without WM_NCDESTROY, as windows
  // are when their thread ends).
  void Forget(TWinControl* Control) {
    TExclusive Lock(FLock);
    std::erase_if(FMap, [Control](const auto& Entry) { return Entry.second == Control; });
  }

private:
  struct TExclusive {
    SRWLOCK& L;
    explicit TExclusive(SRWLOCK& Lock) : L(Lock) { AcquireSRWLockExclusive(&L); }
    ~TExclusive() { ReleaseSRWLockExclusive(&L); }
    TExclusive(const TExclusive&) = delete;
    TExclusive& operator=(const TExclusive&) = delete;
  };
  SRWLOCK FLock = SRWLOCK_INIT;
  std::unordered_map<HWND, TWinControl*> FMap;
};

// Never destroyed: windows may still come and go while the program's statics are torn down.
TControlMap& ControlMap() {
  static TControlMap* Map = new TControlMap;
  return *Map;
}

[[noreturn]] void RaiseLastOSError() {
  DWORD Code = GetLastError();
  char Buf[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, Code, 0, Buf, sizeof Buf,
                 nullptr);
  throw EOSError("System Error.  Code: %d.\r\n%s", {int(Code), AnsiString(Buf)});
}

bool IsClientMouseMsg(unsigned Msg) {
  return (Msg >= WM_MOUSEMOVE && Msg <= WM_MBUTTONDBLCLK) || (Msg >= 0x020B && Msg <= 0x020D);
}

bool IsWin(const TControl* C) { return dynamic_cast<const TWinControl*>(C) != nullptr; }

struct TStdCursorId {
  TCursor Cursor;
  int Id;  // IDC_xxx
};
constexpr TStdCursorId StdCursorIds[] = {
    {crArrow, 32512},    {crCross, 32515},    {crIBeam, 32513},   {crSizeNESW, 32643}, {crSizeNS, 32645},
    {crSizeNWSE, 32642}, {crSizeWE, 32644},   {crUpArrow, 32516}, {crHourGlass, 32514}, {crDrag, 32512},
    {crNoDrop, 32648},   {crHSplit, 32644},   {crVSplit, 32645},  {crMultiDrag, 32512}, {crSQLWait, 32514},
    {crNo, 32648},       {crAppStart, 32650}, {crHelp, 32651},    {crHandPoint, 32649}, {crSizeAll, 32646},
};

HCURSOR CursorHandle(TCursor C) {
  if (Screen) return Screen->Cursors(C);
  if (C == crNone) return nullptr;
  for (const TStdCursorId& S : StdCursorIds)
    if (S.Cursor == C) return LoadCursorA(nullptr, MAKEINTRESOURCEA(S.Id));
  return LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
}

struct TCursorName {
  TCursor Cursor;
  const char* Name;
};
constexpr TCursorName CursorNames[] = {
    {crDefault, "crDefault"},   {crNone, "crNone"},         {crArrow, "crArrow"},         {crCross, "crCross"},
    {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},     {crUpArrow, "crUpArrow"},   {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},     {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},       {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},   {crNo, "crNo"},             {crAppStart, "crAppStart"},   {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"},
};

// Sends CM_MOUSELEAVE to the control the mouse was over and CM_MOUSEENTER to the one it is over
// now; while the mouse is captured only the capturing control is told.
void UpdateMouseControl(TControl* Now) {
  TControl* Was = GMouseControl;
  if (Was == Now) return;
  TControl* Capture = GetCaptureControl();
  if (Was && (!Capture || Capture == Was)) {
    Was->Perform(CM_MOUSELEAVE, 0, 0);
    if (GMouseControl == Was) GMouseControl = nullptr;
  }
  if (Now && (!Capture || Capture == Now)) Now->Perform(CM_MOUSEENTER, 0, 0);
}

// The control that handles dialog keys and characters for Control: its form, or the top-most
// parent when it is not on a form.
TWinControl* DialogRoot(TWinControl* Control) {
  if (TCustomForm* Form = GetParentForm(Control)) return Form;
  TWinControl* Root = Control;
  while (Root->Parent()) Root = Root->Parent();
  return Root;
}

void CheckParent(TControl* Control, TWinControl* AParent) {
  if (!AParent) return;
  for (TControl* P = AParent; P; P = P->Parent())
    if (P == Control) throw EInvalidOperation(SControlParentSetToSelf);
}

// Restores a flag or a counter when a scope ends, also on throw.
template <class F> struct TFinally {
  F Fn;
  ~TFinally() { Fn(); }
};
template <class F> TFinally(F) -> TFinally<F>;

// Window classes this module registered, by name: the procedure and window data size of the
// class they were made from. Two control classes that share a name but not the class data get
// classes of their own ("TFoo.1"), so a system procedure always finds the data it expects.
struct TRegisteredClass {
  std::string Name;
  WNDPROC DefProc;
  int WndExtra;
  UINT Style;
};
std::vector<TRegisteredClass> GRegisteredClasses;

void RegisterWindowClass(TCreateParams& Params) {
  const std::string Base = Params.WinClassName;
  for (int N = 0;; ++N) {
    std::string Name = N ? Base + "." + std::to_string(N) : Base;
    if (Name.size() >= sizeof Params.WinClassName)
      Name = Base.substr(0, sizeof Params.WinClassName - 8) + "." + std::to_string(N);
    auto It = std::find_if(GRegisteredClasses.begin(), GRegisteredClasses.end(),
                           [&](const TRegisteredClass& C) { return C.Name == Name; });
    if (It != GRegisteredClasses.end()) {
      if (It->DefProc != Params.WindowClass.lpfnWndProc || It->WndExtra != Params.WindowClass.cbWndExtra ||
          It->Style != Params.WindowClass.style)
        continue;
    } else {
      WNDCLASSA Cls = Params.WindowClass;
      Cls.lpfnWndProc = &ControlsStdWndProc;
      Cls.lpszClassName = Name.c_str();
      WNDCLASSA Existing{};
      if (GetClassInfoA(Cls.hInstance, Name.c_str(), &Existing)) continue;  // someone else's class
      if (!RegisterClassA(&Cls)) RaiseLastOSError();
      GRegisteredClasses.push_back({Name, Params.WindowClass.lpfnWndProc, Params.WindowClass.cbWndExtra,
                                    Params.WindowClass.style});
    }
    std::snprintf(Params.WinClassName, sizeof Params.WinClassName, "%s", Name.c_str());
    Params.WindowClass.lpszClassName = Params.WinClassName;
    return;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Free functions.

bool CursorToIdent(int Cursor, AnsiString& Ident) {
  for (const TCursorName& N : CursorNames)
    if (N.Cursor == Cursor) {
      Ident = N.Name;
      return true;
    }
  return false;
}

bool IdentToCursor(const AnsiString& Ident, int& Cursor) {
  for (const TCursorName& N : CursorNames)
    if (SameText(Ident, N.Name)) {
      Cursor = N.Cursor;
      return true;
    }
  if (SameText(Ident, "crSize")) {
    Cursor = crSize;
    return true;
  }
  return false;
}

TWinControl* FindControl(HWND Handle) {
  if (!Handle) return nullptr;
  return ControlMap().Find(Handle);
}

TWinControl* FindVCLWindow(const TPoint& Pos) {
  HWND Wnd = WindowFromPoint(POINT(Pos));
  while (Wnd) {
    if (TWinControl* C = FindControl(Wnd)) return C;
    Wnd = GetParent(Wnd);
  }
  return nullptr;
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
  TWinControl* Window = FindVCLWindow(Pos);
  if (!Window) return nullptr;
  if (TControl* C = Window->ControlAtPos(Window->ScreenToClient(Pos), AllowDisabled)) return C;
  return Window;
}

TControl* GetCaptureControl() {
  TControl* Result = FindControl(GetCapture());
  if (Result && GCaptureControl && GCaptureControl->Parent() == Result) Result = GCaptureControl;
  return Result;
}

void SetCaptureControl(TControl* Control) {
  GCaptureControl = nullptr;
  HWND Wnd = nullptr;
  if (auto* W = dynamic_cast<TWinControl*>(Control)) Wnd = W->Handle();
  else if (Control && Control->Parent()) Wnd = Control->Parent()->Handle();
  // A window that has the capture already keeps it: releasing it would cancel what a system
  // control does with the button held (a push button's pressed state).
  if (!Wnd || GetCapture() != Wnd) {
    ReleaseCapture();
    if (Wnd) SetCapture(Wnd);
  }
  if (Wnd && !dynamic_cast<TWinControl*>(Control)) GCaptureControl = Control;
}

TControl* MouseControl() { return GMouseControl; }

bool IsAccel(unsigned short VK, const AnsiString& Str) {
  const std::string& S = Str.str();
  for (size_t I = 0; I + 1 < S.size(); ++I) {
    if (S[I] != '&') continue;
    if (S[I + 1] == '&') {
      ++I;
      continue;
    }
    auto Upper = [](unsigned C) {
      return unsigned(reinterpret_cast<uintptr_t>(CharUpperA(reinterpret_cast<LPSTR>(uintptr_t(C & 0xFF))))) & 0xFF;
    };
    return Upper(static_cast<unsigned char>(S[I + 1])) == Upper(VK);
  }
  return false;
}

TShiftState KeysToShiftState(unsigned Keys) {
  TShiftState S = 0;
  if (Keys & MK_SHIFT) S |= ShiftOf(ssShift);
  if (Keys & MK_CONTROL) S |= ShiftOf(ssCtrl);
  if (Keys & MK_LBUTTON) S |= ShiftOf(ssLeft);
  if (Keys & MK_RBUTTON) S |= ShiftOf(ssRight);
  if (Keys & MK_MBUTTON) S |= ShiftOf(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) S |= ShiftOf(ssAlt);
  return S;
}

TShiftState KeyDataToShiftState(intptr_t KeyData) {
  TShiftState S = 0;
  if (GetKeyState(VK_SHIFT) < 0) S |= ShiftOf(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) S |= ShiftOf(ssCtrl);
  if (KeyData & 0x20000000) S |= ShiftOf(ssAlt);
  return S;
}

TShiftState GetShiftState() {
  TShiftState S = 0;
  if (GetKeyState(VK_SHIFT) < 0) S |= ShiftOf(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) S |= ShiftOf(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) S |= ShiftOf(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) S |= ShiftOf(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) S |= ShiftOf(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) S |= ShiftOf(ssMiddle);
  return S;
}

void FreeDeviceContexts() {
  std::vector<TControlCanvas*> List = GCanvasList;
  for (TControlCanvas* C : List) {
    if (std::find(GCanvasList.begin(), GCanvasList.end(), C) == GCanvasList.end()) continue;
    if (!C->TryLock()) continue;
    C->FreeHandle();
    C->Unlock();
  }
}

// ---------------------------------------------------------------------------------------------
// TControlCanvas

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  if (DCHandle() == FDeviceContext) SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  FWindowHandle = nullptr;
  GCanvasList.erase(std::remove(GCanvasList.begin(), GCanvasList.end(), this), GCanvasList.end());
}

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  if (!FDeviceContext) {
    HWND Wnd = nullptr;
    FDeviceContext = FControl->GetDeviceContext(Wnd);
    FWindowHandle = Wnd;
    GCanvasList.push_back(this);
  }
  SetHandle(FDeviceContext);
}

ORV_IMPLEMENT_CLASS(TControlCanvas, TCanvas)
ORV_IMPLEMENT_CLASS(TDragObject, TObject)

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = TWndMethod::Bind<&TControl::WndProc>(this);
  FFont = new TFont();
  FFont->OnChange = TNotifyEvent::Bind<&TControl::FontChanged>(this);
  FConstraints = new TSizeConstraints();
  FConstraints->OnChange = TNotifyEvent::Bind<&TControl::ConstraintsChanged>(this);
  FControlStyle = StyleOf(csCaptureMouse) | StyleOf(csClickEvents) | StyleOf(csSetCaption) | StyleOf(csDoubleClicks);
}

TControl::~TControl() {
  if (!FReleased) {
    ReleaseFromGlobals();
    if (FParent) FParent->Remove(this);
  }
  FreeAndNil(FActionLink);
  delete FFont;
  delete FConstraints;
}

void TControl::BeforeDestruction() {
  if (!FReleased) {
    Destroying();
    ReleaseFromGlobals();
    if (FParent) FParent->RemoveControl(this);
    FReleased = true;
  }
  TComponent::BeforeDestruction();
}

void TControl::ReleaseFromGlobals() {
  DockDragRelease();
  if (GDrag.Control == this) GDrag = TDragInfo{};
  if (GDrag.Target == this) GDrag.Target = nullptr;
  if (GMouseControl == this) GMouseControl = nullptr;
  if (GCaptureControl == this) SetCaptureControl(nullptr);
  if (Application) Application->ControlDestroyed(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FPopupMenu)
    FPopupMenu = nullptr;
  if (Operation == opRemove && AComponent && AComponent == Action()) SetAction(nullptr);
}

// ----- actions

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* Value) {
  if (!Value) {
    FreeAndNil(FActionLink);
    return;
  }
  if (!FActionLink) {
    TControlActionLink* Link = CreateActionLink();
    try {
      Link->AssignClient(this);
    } catch (...) {
      TObject::Free(Link);
      throw;
    }
    FActionLink = Link;
  }
  FActionLink->SetAction(Value);
  FActionLink->OnChange = TNotifyEvent::Bind<&TControl::DoActionChange>(this);
  ActionChange(Value, HasState(csLoading));
  Value->FreeNotification(this);
}

TControlActionLink* TControl::CreateActionLink() { return New<TControlActionLink>(); }

void TControl::DoActionChange(TObject* Sender) {
  if (Sender && Sender == Action()) ActionChange(Sender, false);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* A = dynamic_cast<TCustomAction*>(Sender);
  if (!A) return;
  if (!CheckDefaults || Caption().IsEmpty()) SetCaption(A->Caption());
  if (!CheckDefaults || FEnabled) SetEnabled(A->Enabled());
  if (!CheckDefaults || FHint.IsEmpty()) SetHint(A->Hint());
  if (!CheckDefaults || FVisible) SetVisible(A->Visible());
  if (!CheckDefaults || !OnClick) OnClick = A->OnExecute;
}

void TControl::AssignTo(TPersistent* Dest) {
  auto* A = dynamic_cast<TCustomAction*>(Dest);
  if (!A) {
    TComponent::AssignTo(Dest);
    return;
  }
  A->SetEnabled(FEnabled);
  A->SetHint(FHint);
  A->SetCaption(Caption());
  A->SetVisible(FVisible);
  A->OnExecute = OnClick;
}

// ----- parent

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  CheckParent(this, AParent);
  if (FParent) FParent->RemoveControl(this);
  FAnchorRules = TAnchorRules{};
  if (AParent) AParent->InsertControl(this);
  UpdateAnchorRules();
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  auto* W = dynamic_cast<TWinControl*>(Value);
  if (W && W != FParent) SetParent(W);
}

// ----- geometry

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  InvalidateControl(FVisible, false);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
  UpdateAnchorRules();
  RequestAlign();
  if (!HasState(csLoading)) Resize();
}

TRect TControl::ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int Value) {
  TRect R = ClientRect();
  SetBounds(FLeft, FTop, FWidth - R.Right + Value, FHeight);
}

void TControl::SetClientHeight(int Value) {
  TRect R = ClientRect();
  SetBounds(FLeft, FTop, FWidth, FHeight - R.Bottom + Value);
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) throw EInvalidOperation(SParentRequired, {Name()});
  TPoint P = FParent->ClientOrigin();
  return Point(P.X + FLeft, P.Y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& P) const { return P + ClientOrigin(); }
TPoint TControl::ScreenToClient(const TPoint& P) const { return P - ClientOrigin(); }

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  if (HasState(csLoading)) return;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::AdjustSize() {}

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (HasState(csLoading)) return;
  if (Value) AdjustSize();
}

// ----- state

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (HasState(csLoading)) return;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  RequestAlign();
}

void TControl::Show() { SetVisible(true); }

void TControl::Hide() { SetVisible(false); }

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  if (HasState(csLoading)) return;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  if (HasState(csLoading)) return;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (!FUpdatingFromParent) FParentShowHint = false;
  if (HasState(csLoading)) return;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

TBiDiMode TControl::BiDiMode() const {
  return FParentBiDiMode && FParent ? FParent->BiDiMode() : FBiDiMode;
}

void TControl::SetBiDiMode(TBiDiMode Value) {
  const TBiDiMode Old = BiDiMode();
  FBiDiMode = Value;
  FParentBiDiMode = false;
  if (Old != Value && !HasState(csLoading)) Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool Value) {
  if (FParentBiDiMode == Value) return;
  const TBiDiMode Old = BiDiMode();
  FParentBiDiMode = Value;
  if (!Value) FBiDiMode = Old;  // keeps what it showed
  if (Old != BiDiMode() && !HasState(csLoading)) Perform(CM_BIDIMODECHANGED, 0, 0);
}

unsigned TControl::DrawTextBiDiModeFlags(unsigned Flags) const {
  if (UseRightToLeftAlignment() && !(Flags & DT_CENTER)) {
    if (Flags & DT_RIGHT) Flags &= ~unsigned(DT_RIGHT);
    else Flags |= DT_RIGHT;
  }
  if (UseRightToLeftReading()) Flags |= DT_RTLREADING;
  return Flags;
}

void ChangeBiDiModeAlignment(TAlignment& Alignment) {
  if (Alignment == taLeftJustify) Alignment = taRightJustify;
  else if (Alignment == taRightJustify) Alignment = taLeftJustify;
}

unsigned TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? DT_RTLREADING : 0; }

void TControl::CMBiDiModeChanged(TMessage&) { Invalidate(); }

void TControl::CMParentBiDiModeChanged(TMessage&) {
  // The parent re-creates its windows, this one's among them.
  if (FParentBiDiMode) Perform(CM_BIDIMODECHANGED, 1, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (HasState(csLoading)) return;
  if (FParent && Value) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::SetName(const AnsiString& NewName) {
  bool ChangeText = (FControlStyle & StyleOf(csSetCaption)) && !HasState(csLoading) && Name() == GetText() &&
                    !(Owner() && dynamic_cast<TControl*>(Owner()) && Owner()->HasState(csLoading));
  TComponent::SetName(NewName);
  if (ChangeText) SetText(NewName);
}

// ----- text, colour, font

AnsiString TControl::GetText() const {
  auto* Self = const_cast<TControl*>(this);
  int Len = Self->GetTextLen();
  if (Len <= 0) return AnsiString();
  std::string Buf(size_t(Len) + 1, '\0');
  int Got = Self->GetTextBuf(Buf.data(), Len + 1);
  Buf.resize(size_t(std::clamp(Got, 0, Len)));
  return AnsiString(Buf);
}

int TControl::GetTextLen() { return int(Perform(WM_GETTEXTLENGTH, 0, 0)); }

int TControl::GetTextBuf(char* Buffer, int BufSize) {
  if (!Buffer || BufSize <= 0) return 0;
  return int(Perform(WM_GETTEXT, uintptr_t(BufSize), reinterpret_cast<intptr_t>(Buffer)));
}

void TControl::SetTextBuf(const char* Buffer) {
  Perform(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(Buffer ? Buffer : ""));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetText(const AnsiString& Value) {
  if (GetText() == Value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(Value.c_str()));
  if (HasState(csLoading)) return;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  if (!FUpdatingFromParent) FParentColor = false;
  if (HasState(csLoading)) return;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetFont(TFont* Value) {
  if (Value && Value != FFont) FFont->Assign(Value);
}

void TControl::FontChanged(TObject*) {
  if (!FUpdatingFromParent) FParentFont = false;
  if (HasState(csLoading)) return;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (HasState(csLoading)) return;
  if (FParent && Value) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (HasState(csLoading)) return;
  if (FParent && Value) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

bool TControl::MouseInClient() const {
  POINT P;
  if (!GetCursorPos(&P)) return false;
  if (auto* W = dynamic_cast<const TWinControl*>(this)) {
    if (!W->HandleAllocated()) return false;
  } else if (!FParent || !FParent->HandleAllocated()) {
    return false;
  }
  return ClientRect().Contains(ScreenToClient(TPoint(P)));
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParent) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (FParentShowHint) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  }
  // The setters only stored while the control was read: apply the streamed state once.
  Perform(CM_COLORCHANGED, 0, 0);
  Perform(CM_FONTCHANGED, 0, 0);
  Perform(CM_TEXTCHANGED, 0, 0);
  if (!FEnabled) Perform(CM_ENABLEDCHANGED, 0, 0);
  if (FConstraints->Any()) SetBounds(FLeft, FTop, FWidth, FHeight);
  UpdateAnchorRules();
}

// ----- painting

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || !FParent || !FParent->HandleAllocated()) return;
  RECT R = AsRECT(BoundsRect());
  bool Erase = !(IsOpaque || (FParent->FControlStyle & StyleOf(csOpaque)));
  InvalidateRect(FParent->WindowHandle(), &R, Erase ? TRUE : FALSE);
}

void TControl::Invalidate() { InvalidateControl(FVisible, (FControlStyle & StyleOf(csOpaque)) != 0); }

void TControl::Update() {
  if (auto* W = dynamic_cast<TWinControl*>(this)) {
    if (W->HandleAllocated()) UpdateWindow(W->WindowHandle());
    return;
  }
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
  if (FControlStyle & StyleOf(csOpaque)) {
    TWindowDC DC(FParent->WindowHandle());
    TSaveDC Save(DC);
    IntersectClipRect(DC, FLeft, FTop, FLeft + FWidth, FTop + FHeight);
    FParent->PaintControls(DC, this);
  } else {
    Invalidate();
    Update();
  }
}

void TControl::SetZOrder(bool TopMost) {
  if (!FParent) {
    if (auto* W = dynamic_cast<TWinControl*>(this); W && W->HandleAllocated())
      SetWindowPos(W->WindowHandle(), TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  if (auto* W = dynamic_cast<TWinControl*>(this)) {
    auto& List = FParent->FWinControls;
    List.erase(std::remove(List.begin(), List.end(), W), List.end());
    if (TopMost) List.push_back(W);
    else List.insert(List.begin(), W);
    if (W->HandleAllocated())
      SetWindowPos(W->WindowHandle(), TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    auto& List = FParent->FControls;
    List.erase(std::remove(List.begin(), List.end(), this), List.end());
    if (TopMost) List.push_back(this);
    else List.insert(List.begin(), this);
    InvalidateControl(FVisible, true);
  }
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

HDC TControl::GetDeviceContext(HWND& WindowHandle) {
  if (!FParent) throw EInvalidOperation(SParentRequired, {Name()});
  HDC DC = FParent->GetDeviceContext(WindowHandle);
  SetViewportOrgEx(DC, FLeft, FTop, nullptr);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  return DC;
}

TCustomForm* TControl::ParentForm() const {
  TCustomForm* Form = GetParentForm(this);
  if (!Form) return nullptr;
  TWinControl* Focused = Form->FocusedControl();
  if (!Focused) return nullptr;
  if (Focused == this) return Form;
  if (auto* W = dynamic_cast<const TWinControl*>(this); W && W->ContainsControl(Focused)) return Form;
  return nullptr;
}

void TControl::SendCancelMode(TControl* Sender) {
  for (TControl* C = this; C; C = C->FParent) {
    auto* Form = dynamic_cast<TCustomForm*>(C);
    if (Form && Form->Active() && Form->ActiveControl())
      Form->ActiveControl()->Perform(CM_CANCELMODE, 0, reinterpret_cast<intptr_t>(Sender));
  }
}

// ----- messages

intptr_t TControl::Perform(unsigned Msg, uintptr_t WParam, intptr_t LParam) {
  TMessage M;
  M.Msg = Msg;
  M.WParam = WParam;
  M.LParam = LParam;
  if (WindowProc) WindowProc(M);
  else WndProc(M);
  return M.Result;
}

void TControl::WndProc(TMessage& Message) {
  const unsigned Msg = Message.Msg;
  if (Msg == CM_MOUSEENTER && Message.LParam == 0) {
    GMouseControl = this;
  } else if (Msg == CM_MOUSELEAVE && Message.LParam == 0) {
    if (GMouseControl == this) GMouseControl = nullptr;
  } else if ((Msg >= WM_KEYFIRST && Msg <= WM_KEYLAST) || (Msg >= CN_KEYDOWN && Msg <= CN_SYSCHAR)) {
    // Keys during a drag reach the dragged control or the window capturing the mouse for it
    // (CN_ keys, from the application's loop): Esc cancels, the others are eaten.
    if (TControl* D = GDrag.Control; D && (D == this || (D->FParent == this && !IsWin(D)))) {
      if ((Msg == WM_KEYDOWN || Msg == CN_KEYDOWN) && Message.WParam == VK_ESCAPE) D->EndDrag(false);
      Message.Result = Msg >= CN_KEYDOWN ? 1 : 0;
      return;
    }
  } else if (IsClientMouseMsg(Msg)) {
    if (!(FControlStyle & StyleOf(csDoubleClicks)) &&
        (Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDBLCLK))
      Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    if (GDrag.Control == this) {
      TPoint P = ClientToScreen(MessagePoint(Message));
      GDrag.Pos = P;
      if (Message.Msg == WM_MOUSEMOVE) {
        if (!GDrag.Active && (std::abs(P.X - GDrag.Start.X) >= GDrag.Threshold ||
                              std::abs(P.Y - GDrag.Start.Y) >= GDrag.Threshold))
          GDrag.Active = true;
        if (GDrag.Active && GDrag.Docking) {
          DockDragMove(P);
        } else if (GDrag.Active) {
          TObject* Source = GDrag.Object ? static_cast<TObject*>(GDrag.Object) : this;
          TControl* Target = FindDragTarget(P, false);
          if (Target != GDrag.Target) {
            if (TControl* Old = GDrag.Target) {
              bool Accept = false;
              TPoint L = Old->ScreenToClient(P);
              Old->DragOver(Source, L.X, L.Y, dsDragLeave, Accept);
            }
            GDrag.Target = Target;
            GDrag.Accepted = false;
            if (Target) {
              TPoint L = Target->ScreenToClient(P);
              Target->DragOver(Source, L.X, L.Y, dsDragEnter, GDrag.Accepted);
            }
          } else if (Target) {
            TPoint L = Target->ScreenToClient(P);
            Target->DragOver(Source, L.X, L.Y, dsDragMove, GDrag.Accepted);
          }
          if (GDrag.Control == this) ::SetCursor(CursorHandle(GDrag.Accepted ? FDragCursor : crNoDrop));
        }
      } else if (Message.Msg == WM_LBUTTONUP) {
        // A dock drop lands where the button went up, whatever move came last.
        if (GDrag.Active && GDrag.Docking) DockDragMove(P);
        EndDrag(GDrag.Active);
      } else if (Message.Msg == WM_RBUTTONDOWN) {
        EndDrag(false);
      }
      Message.Result = 0;
      return;
    }
    switch (Message.Msg) {
      case WM_MOUSEMOVE:
        if (Application) Application->HintMouseMessage(this, Message);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (FDragMode == dmAutomatic) {
          BeginDrag(true);
          return;
        }
        FControlState |= StateOf(csLButtonDown);
        break;
      case WM_LBUTTONUP: FControlState &= ~StateOf(csLButtonDown); break;
      default: break;
    }
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_RBUTTONDOWN: WMRButtonDown(Message); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(Message); break;
    case WM_RBUTTONUP: WMRButtonUp(Message); break;
    case WM_MBUTTONDOWN: WMMButtonDown(Message); break;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(Message); break;
    case WM_MBUTTONUP: WMMButtonUp(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_CANCELMODE: WMCancelMode(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); break;
    case CM_BIDIMODECHANGED: CMBiDiModeChanged(Message); break;
    case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(Message); break;
    case CM_HITTEST: CMHitTest(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_CURSORCHANGED: CMCursorChanged(Message); break;
    default: TComponent::Dispatch(Message);
  }
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* Buf = reinterpret_cast<char*>(Message.LParam);
      const int Size = int(std::min<uintptr_t>(Message.WParam, uintptr_t(INT32_MAX)));
      if (!Buf || Size <= 0) {
        Message.Result = 0;
        break;
      }
      int N = std::min(FText.Length(), Size - 1);
      if (N > 0) std::memcpy(Buf, FText.c_str(), size_t(N));
      Buf[N] = '\0';
      Message.Result = N;
      break;
    }
    case WM_GETTEXTLENGTH: Message.Result = FText.Length(); break;
    case WM_SETTEXT:
      FText = Message.LParam ? AnsiString(reinterpret_cast<const char*>(Message.LParam)) : AnsiString();
      Message.Result = 1;
      break;
    default: break;
  }
}

// ----- mouse

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle & StyleOf(csNoStdEvents)) return;
  MouseDown(Button, KeysToShiftState(unsigned(Message.WParam)) | Shift, MessageX(Message), MessageY(Message));
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  if (FControlStyle & StyleOf(csNoStdEvents)) return;
  MouseUp(Button, KeysToShiftState(unsigned(Message.WParam)), MessageX(Message), MessageY(Message));
}

void TControl::WMLButtonDown(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle & StyleOf(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle & StyleOf(csClickEvents)) FControlState |= StateOf(csClicked);
  DoMouseDown(Message, mbLeft, 0);
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle & StyleOf(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle & StyleOf(csClickEvents)) DblClick();
  DoMouseDown(Message, mbLeft, ShiftOf(ssDouble));
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  if (FControlStyle & StyleOf(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState & StateOf(csClicked)) {
    FControlState &= ~StateOf(csClicked);
    if (ClientRect().Contains(MessagePoint(Message))) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, 0);
}

void TControl::WMRButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, ShiftOf(ssDouble));
}

void TControl::WMRButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbRight);
}

void TControl::WMMButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbMiddle, 0);
}

void TControl::WMMButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbMiddle, ShiftOf(ssDouble));
}

void TControl::WMMButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  if (!(FControlStyle & StyleOf(csNoStdEvents)))
    MouseMove(KeysToShiftState(unsigned(Message.WParam)), MessageX(Message), MessageY(Message));
}

void TControl::WMCancelMode(TMessage& Message) {
  DefaultHandler(Message);
  if (MouseCapture()) {
    SetMouseCapture(false);
    if (FControlState & StateOf(csLButtonDown)) Perform(WM_LBUTTONUP, 0, PointToLParam(Point(-1, -1)));
  } else {
    FControlState &= ~StateOf(csLButtonDown);
  }
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  TPoint Pt = MessagePoint(Message);
  bool FromKeyboard = Pt.X == -1 && Pt.Y == -1;
  if (auto* W = dynamic_cast<TWinControl*>(this); W && !FromKeyboard) {
    // A graphic child under the point gets the first chance.
    if (TControl* C = W->ControlAtPos(ScreenToClient(Pt), false)) {
      Message.Result = C->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
      if (Message.Result) return;
    }
  }
  if (!FromKeyboard && !ClientRect().Contains(ScreenToClient(Pt))) {
    DefaultHandler(Message);
    return;
  }
  if (FPopupMenu && FPopupMenu->AutoPopup()) {
    SendCancelMode(nullptr);
    FPopupMenu->SetPopupComponent(this);
    if (FromKeyboard) Pt = ClientToScreen(Point(0, 0));
    FPopupMenu->Popup(Pt.X, Pt.Y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::Click() {
  // OnClick runs itself unless it is the action's handler: then the action runs it.
  TBasicAction* A = Action();
  if (OnClick && (!A || !(OnClick == A->OnExecute))) OnClick(this);
  else if (FActionLink && !HasState(csDesigning)) FActionLink->Execute(this);
  else if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

// ----- drag and drop

void TControl::BeginDrag(bool Immediate, int Threshold) {
  if (GDrag.Control) return;
  if (Threshold < 0) Threshold = DragThreshold;
  const bool Docking = FDragKind == dkDock;
  TDragObject* Object = nullptr;
  if (Docking) DockDragStart();
  else DoStartDrag(Object);
  POINT P{};
  GetCursorPos(&P);
  GDrag = TDragInfo{};
  GDrag.Control = this;
  GDrag.Object = Object;
  GDrag.Start = GDrag.Pos = TPoint(P);
  GDrag.Threshold = Threshold;
  // A dock drag moves the control only once the mouse has moved: a click leaves it in place.
  GDrag.Active = Immediate && !Docking;
  GDrag.Docking = Docking;
  SetCaptureControl(this);
  if (GDrag.Active) ::SetCursor(CursorHandle(crNoDrop));
}

void TControl::EndDrag(bool Drop) {
  if (GDrag.Control != this) return;
  TDragInfo D = GDrag;
  GDrag = TDragInfo{};
  if (MouseCapture()) SetCaptureControl(nullptr);
  if (D.Docking) {
    DockDragEnd(Drop && D.Active);
    return;
  }
  TObject* Source = D.Object ? static_cast<TObject*>(D.Object) : this;
  TControl* Target = nullptr;
  TPoint L;
  if (D.Target) {
    L = D.Target->ScreenToClient(D.Pos);
    if (Drop && D.Accepted) {
      Target = D.Target;
      Target->DragDrop(Source, L.X, L.Y);
    } else {
      bool Accept = false;
      D.Target->DragOver(Source, L.X, L.Y, dsDragLeave, Accept);
    }
  }
  if (!Target) L = TPoint();  // nothing was dropped: no position either
  DoEndDrag(Target, L.X, L.Y);
}

bool TControl::Dragging() const { return GDrag.Control == this; }

void TControl::DragDrop(TObject* Source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = false;
  if (OnDragOver) {
    Accept = true;
    OnDragOver(this, Source, X, Y, State, Accept);
  }
}

void TControl::DoStartDrag(TDragObject*& DragObject) {
  if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

// ----- notifications

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMVisibleChanged(TMessage&) {
  InvalidateControl(true, FVisible && (FControlStyle & StyleOf(csOpaque)));
}

void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage& Message) {
  if (!FParentFont) return;
  TFont* F = Message.WParam ? reinterpret_cast<TFont*>(Message.LParam) : (FParent ? FParent->FFont : nullptr);
  if (!F) return;
  FUpdatingFromParent = true;
  TFinally Reset{[this] { FUpdatingFromParent = false; }};
  SetFont(F);
}

void TControl::CMParentColorChanged(TMessage& Message) {
  if (!FParentColor) return;
  if (!Message.WParam && !FParent) return;
  TColor C = Message.WParam ? TColor(Message.LParam) : FParent->FColor;
  FUpdatingFromParent = true;
  TFinally Reset{[this] { FUpdatingFromParent = false; }};
  SetColor(C);
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || !FParent) return;
  FUpdatingFromParent = true;
  TFinally Reset{[this] { FUpdatingFromParent = false; }};
  SetShowHint(FParent->FShowHint);
}

void TControl::CMHitTest(TMessage& Message) { Message.Result = HTCLIENT; }

void TControl::CMMouseEnter(TMessage& Message) {
  if (FParent) FParent->Perform(CM_MOUSEENTER, 0, Message.LParam ? Message.LParam : reinterpret_cast<intptr_t>(this));
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, Message.LParam ? Message.LParam : reinterpret_cast<intptr_t>(this));
}

void TControl::CMCursorChanged(TMessage&) {
  if (GetCapture()) return;
  POINT P;
  if (!GetCursorPos(&P) || FindDragTarget(TPoint(P), false) != this) return;
  HWND Wnd = WindowFromPoint(P);
  if (Wnd) SendMessageA(Wnd, WM_SETCURSOR, WPARAM(Wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

static constinit const TPropInfo TControl_Props[] = {
    PropIntNoDefault<&TControl::Left, &TControl::SetLeft>("Left"),
    PropIntNoDefault<&TControl::Top, &TControl::SetTop>("Top"),
    PropIntNoDefault<&TControl::Width, &TControl::SetWidth>(
        "Width", [](const TObject* O) { return static_cast<const TControl*>(O)->IsSizeStored(); }),
    PropIntNoDefault<&TControl::Height, &TControl::SetHeight>(
        "Height", [](const TObject* O) { return static_cast<const TControl*>(O)->IsSizeStored(); }),
    PropIntType<&TControl::Cursor, &TControl::SetCursor>("Cursor", "TCursor", crDefault),
    PropStr<&TControl::Hint, &TControl::SetHint>("Hint"),
};
ORV_IMPLEMENT_ABSTRACT(TControl, TComponent, TControl_Props)

// ---------------------------------------------------------------------------------------------
// Window procedure: finds the control from the window and runs its message through WindowProc.

LRESULT CALLBACK ControlsStdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* Control = FindControl(Wnd);
  if (!Control) {
    Control = GCreationControl;
    if (!Control) return DefWindowProcA(Wnd, Msg, WParam, LParam);
    GCreationControl = nullptr;
    Control->FHandle = Wnd;
    ControlMap().Add(Wnd, Control);
  }
  TMessage M;
  M.Msg = Msg;
  M.WParam = WParam;
  M.LParam = LParam;
  Control->MainWndProc(M);
  if (Msg == WM_NCDESTROY) {
    ControlMap().Remove(Wnd, Control);
    if (Control->FHandle == Wnd) {
      Control->FHandle = nullptr;
      Control->FShowing = false;
    }
  }
  return M.Result;
}

// Sends a notification to the control it concerns as CN_xxx; false when the window is not one of
// ours.
bool ControlsReflect(TWinControl*, HWND Child, TMessage& Message) {
  TWinControl* Control = FindControl(Child);
  if (!Control) return false;
  Message.Result = Control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

// ---------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  FBrush = new TBrush();
  FBrush->SetColor(Color());
}

TWinControl::~TWinControl() {
  if (!FReleased) {
    WindowProc = TWndMethod::Bind<&TWinControl::WndProc>(this);
    if (FHandle) {
      try {
        DestroyWindowHandle();
      } catch (...) {
        HandleVclException(this);
      }
    }
    while (ControlCount()) {
      TControl* C = Controls(ControlCount() - 1);
      Remove(C);
      TObject::Free(C);
    }
  }
  ReleaseDocking();
  ControlMap().Forget(this);
  delete FBrush;
}

void TWinControl::BeforeDestruction() {
  if (!FReleased) {
    Destroying();
    if (FParent) RemoveFocus(true);
    if (FHandle) DestroyWindowHandle();
    while (ControlCount()) {
      TControl* C = Controls(ControlCount() - 1);
      Remove(C);
      TObject::Free(C);
    }
  }
  TControl::BeforeDestruction();
}

// ----- window

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent || FParentWindow == Value) return;
  if (FHandle && FParentWindow && Value) {
    FParentWindow = Value;
    ::SetParent(FHandle, Value);
  } else {
    DestroyHandle();
    FParentWindow = Value;
  }
  UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams{};
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle & StyleOf(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = &DefWindowProcA;
  Params.WindowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  Params.WindowClass.hbrBackground = nullptr;
  Params.WindowClass.hInstance = GetModuleHandleA(nullptr);
  std::snprintf(Params.WinClassName, sizeof Params.WinClassName, "%s", ClassName().c_str());
  AddBiDiModeExStyle(Params.ExStyle);
}

void TWinControl::AddBiDiModeExStyle(DWORD& ExStyle) const {
  if (UseRightToLeftReading()) ExStyle |= WS_EX_RTLREADING;
  if (UseRightToLeftScrollBar()) ExStyle |= WS_EX_LEFTSCROLLBAR;
  if (UseRightToLeftAlignment()) {
    if (GetControlsAlignment() == taLeftJustify) ExStyle |= WS_EX_RIGHT;
    else if (GetControlsAlignment() == taRightJustify) ExStyle |= WS_EX_LEFT;
  }
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
  if (!ControlClassName) return;
  constexpr UINT CsOff = CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS;
  constexpr UINT CsOn = CS_VREDRAW | CS_HREDRAW;
  HINSTANCE Save = Params.WindowClass.hInstance;
  auto Find = [&] {
    return GetClassInfoA(Save, ControlClassName, &Params.WindowClass) ||
           GetClassInfoA(nullptr, ControlClassName, &Params.WindowClass);
  };
  if (!Find()) {
    // Common-control classes exist once the library is initialised.
    INITCOMMONCONTROLSEX Icc{sizeof(Icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&Icc);
    if (!Find()) throw EOSError("Window class %s not found", {AnsiString(ControlClassName)});
  }
  Params.WindowClass.hInstance = Save;
  Params.WindowClass.style = (Params.WindowClass.style & ~CsOff) | CsOn;
}

void TWinControl::CreateWnd() {
  TCreateParams Params;
  CreateParams(Params);
  if (!Params.WndParent && (Params.Style & WS_CHILD)) {
    auto* OwnerControl = dynamic_cast<TWinControl*>(Owner());
    if (OwnerControl && OwnerControl->HasState(csReading)) Params.WndParent = OwnerControl->Handle();
    else throw EInvalidOperation(SParentRequired, {Name()});
  }
  FDefWndProc = Params.WindowClass.lpfnWndProc;
  RegisterWindowClass(Params);
  if (!FControlId) {
    FControlId = GNextControlId;
    GNextControlId = GNextControlId >= 0xFFFF ? 0x100 : GNextControlId + 1;
  }
  GCreationControl = this;
  try {
    CreateWindowHandle(Params);
  } catch (...) {
    GCreationControl = nullptr;
    throw;
  }
  GCreationControl = nullptr;
  if (!FHandle) RaiseLastOSError();
  FText = AnsiString();
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<uintptr_t>(FFont->Handle()), 1);
  if (AutoSize()) AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HMENU Id = (Params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(uintptr_t(FControlId)) : nullptr;
  HWND Wnd = CreateWindowExA(Params.ExStyle, Params.WinClassName, Params.Caption.c_str(), Params.Style, Params.X,
                             Params.Y, Params.Width, Params.Height, Params.WndParent, Id,
                             Params.WindowClass.hInstance, Params.Param);
  if (Wnd) FHandle = Wnd;
}

void TWinControl::DestroyWnd() {
  FText = GetText();
  FreeDeviceContexts();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  if (!FHandle) return;
  if (GMouseControl == this || (GMouseControl && GMouseControl->FParent == this && !IsWin(GMouseControl)))
    GMouseControl = nullptr;
  if (GCaptureControl && GCaptureControl->FParent == this) GCaptureControl = nullptr;
  FControlState |= StateOf(csDestroyingHandle);
  TFinally Clear{[this] { FControlState &= ~StateOf(csDestroyingHandle); }};
  HWND Wnd = FHandle;
  if (!DestroyWindow(Wnd)) RaiseLastOSError();
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (FParent)
    SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (size_t I = 0; I < FWinControls.size(); ++I) FWinControls[I]->DestroyHandle();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  // The focus goes back to where it was: this window or one of its children's (an inner window
  // of a control, such as a combo box's edit, counts as its control's).
  TWinControl* Focus = nullptr;
  for (HWND Wnd = GetFocus(); Wnd && !Focus; Wnd = GetParent(Wnd)) Focus = FindControl(Wnd);
  if (Focus && !ContainsControl(Focus)) Focus = nullptr;
  DestroyHandle();
  UpdateControlState();
  if (Focus && Focus->FHandle) ::SetFocus(Focus->FHandle);
}

HWND TWinControl::PrecedingWindow(TWinControl* Control) const {
  auto It = std::find(FWinControls.begin(), FWinControls.end(), Control);
  if (It != FWinControls.end())
    for (++It; It != FWinControls.end(); ++It)
      if ((*It)->FHandle) return (*It)->FHandle;
  return HWND_TOP;
}

void TWinControl::UpdateBounds() {
  if (!FHandle) return;
  RECT R{};
  if (IsIconic(FHandle)) {
    WINDOWPLACEMENT WP{};
    WP.length = sizeof WP;
    GetWindowPlacement(FHandle, &WP);
    R = WP.rcNormalPosition;
  } else {
    GetWindowRect(FHandle, &R);
    if (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD)
      if (HWND P = GetParent(FHandle)) MapWindowPoints(nullptr, P, reinterpret_cast<POINT*>(&R), 2);
  }
  FLeft = R.left;
  FTop = R.top;
  FWidth = R.right - R.left;
  FHeight = R.bottom - R.top;
}

void TWinControl::MainWndProc(TMessage& Message) {
  ++GWndProcDepth;
  try {
    if (WindowProc) WindowProc(Message);
    else WndProc(Message);
  } catch (...) {
    try {
      HandleVclException(this);
    } catch (...) {
    }
  }
  if (--GWndProcDepth == 0) FreeDeviceContexts();
}

// ----- children

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError(SListIndexError, {Index});
  if (size_t(Index) < FControls.size()) return FControls[size_t(Index)];
  return FWinControls[size_t(Index) - FControls.size()];
}

void TWinControl::Insert(TControl* AControl) {
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    FWinControls.push_back(W);
    FTabList.push_back(W);
  } else {
    FControls.push_back(AControl);
  }
  AControl->FParent = this;
}

void TWinControl::Remove(TControl* AControl) {
  if (!FDockClients.empty()) RemoveDockClient(AControl);
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), W), FWinControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), W), FTabList.end());
    W->FTabOrder = -1;
  } else {
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  }
  AControl->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl->FParent == this) return;
  CheckParent(AControl, this);
  if (AControl->FParent) AControl->FParent->RemoveControl(AControl);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<uintptr_t>(AControl), 1);
  Insert(AControl);
  if (!AControl->HasState(csLoading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
      W->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
      W->UpdateControlState();
    } else if (HandleAllocated()) {
      AControl->Invalidate();
    }
    AlignControl(AControl);
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<uintptr_t>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (!AControl || AControl->FParent != this) return;
  Perform(CM_CONTROLCHANGE, reinterpret_cast<uintptr_t>(AControl), 0);
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    W->RemoveFocus(true);
    W->DestroyHandle();
  } else if (HandleAllocated()) {
    AControl->InvalidateControl(AControl->FVisible, false);
  }
  if (GCaptureControl == AControl) SetCaptureControl(nullptr);
  Remove(AControl);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<uintptr_t>(AControl), 0);
  Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  while (Control && Control != this) Control = Control->Parent();
  return Control != nullptr;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) const {
  auto Hit = [&](TControl* C) {
    TPoint P(Pos.X - C->FLeft, Pos.Y - C->FTop);
    return Rect(0, 0, C->FWidth, C->FHeight).Contains(P) && C->FVisible && (C->FEnabled || AllowDisabled) &&
           C->Perform(CM_HITTEST, 0, PointToLParam(P)) != 0;
  };
  if (AllowWinControls)
    for (size_t I = FWinControls.size(); I-- > 0;)
      if (I < FWinControls.size() && Hit(FWinControls[I])) return FWinControls[I];
  for (size_t I = FControls.size(); I-- > 0;)
    if (I < FControls.size() && Hit(FControls[I])) return FControls[I];
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (C->WindowProc) C->WindowProc(Message);
    else C->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(unsigned Msg) {
  TMessage M;
  M.Msg = Msg;
  Broadcast(M);
}

TWinControl* TWinControl::FindChildById(int Id) const {
  for (TWinControl* W : FWinControls)
    if (W->FControlId == Id) return W;
  return nullptr;
}

// ----- focus and tab order

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const {
  const TWinControl* Form = GetParentForm(this);
  for (const TWinControl* C = this; C && C != Form; C = C->FParent)
    if (!C->FVisible || !C->FEnabled) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* Form = GetParentForm(this)) {
    Form->FocusControl(this);
    return;
  }
  const TWinControl* Top = this;
  while (Top->FParent) Top = Top->FParent;
  if (!Top->FParentWindow && !Top->FHandle) throw EInvalidOperation(SParentRequired, {Name()});
  if (!CanFocus()) throw EInvalidOperation(SCannotFocus);
  ::SetFocus(Handle());
}

void TWinControl::RemoveFocus(bool Removing) {
  if (TCustomForm* Form = GetParentForm(this)) Form->DefocusControl(this, Removing);
}

int TWinControl::TabOrder() const {
  if (!FParent) return FTabOrder;
  auto It = std::find(FParent->FTabList.begin(), FParent->FTabList.end(), this);
  return It == FParent->FTabList.end() ? -1 : int(It - FParent->FTabList.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (HasState(csLoading) || !FParent) {
    FTabOrder = Value;
    return;
  }
  auto& List = FParent->FTabList;
  auto It = std::find(List.begin(), List.end(), this);
  if (It == List.end()) return;
  int Count = int(List.size());
  if (Value < 0 || Value >= Count) Value = Count - 1;
  int Cur = int(It - List.begin());
  if (Cur == Value) return;
  List.erase(It);
  List.insert(List.begin() + Value, this);
}

void TWinControl::FixupTabList() {
  std::stable_sort(FTabList.begin(), FTabList.end(), [](const TWinControl* A, const TWinControl* B) {
    unsigned KA = A->FTabOrder < 0 ? ~0u : unsigned(A->FTabOrder);
    unsigned KB = B->FTabOrder < 0 ? ~0u : unsigned(B->FTabOrder);
    return KA < KB;
  });
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (HasState(csLoading)) return;
  if (FHandle) {
    LONG Style = GetWindowLongA(FHandle, GWL_STYLE);
    SetWindowLongA(FHandle, GWL_STYLE, Value ? (Style | WS_TABSTOP) : (Style & ~LONG(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* C : FTabList) {
    List.push_back(C);
    C->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const {
  std::vector<TWinControl*> List;
  GetTabOrderList(List);
  if (List.empty()) return nullptr;
  const int Count = int(List.size());
  auto Found = std::find(List.begin(), List.end(), CurControl);
  int Start = Found != List.end() ? int(Found - List.begin()) : (GoForward ? Count - 1 : 0);
  int I = Start;
  do {
    if (GoForward) I = I + 1 == Count ? 0 : I + 1;
    else I = I == 0 ? Count - 1 : I - 1;
    TWinControl* C = List[size_t(I)];
    if (C->CanFocus() && (!CheckTabStop || C->FTabStop) && (!CheckParent || C->FParent == this)) return C;
  } while (I != Start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* C = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) C->SetFocus();
}

// ----- showing

void TWinControl::UpdateShowing() {
  bool Show = FVisible && !(FControlState & StateOf(csReadingState)) &&
              (!FParent || FParent->FShowing || FParent->FShowPending);
  if (Show) {
    if (!FHandle) CreateHandle();
    FShowPending = true;
    {
      TFinally Reset{[this] { FShowPending = false; }};
      for (size_t I = 0; I < FWinControls.size(); ++I) FWinControls[I]->UpdateShowing();
    }
  }
  if (FHandle && FShowing != Show) {
    FShowing = Show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      FShowing = !Show;
      throw;
    }
  }
  if (!Show)
    for (size_t I = 0; I < FWinControls.size(); ++I)
      if (FWinControls[I]->FShowing) FWinControls[I]->UpdateShowing();
}

void TWinControl::UpdateControlState() {
  TWinControl* C = this;
  while (C->FParent) {
    C = C->FParent;
    if (!C->FShowing) return;
  }
  if (dynamic_cast<TCustomForm*>(C) || C->FParentWindow) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  if (!FHandle) return;
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
  if (!FVisible && FParent) RemoveFocus(false);
  UpdateControlState();
  if (!FHandle) TControl::CMVisibleChanged(Message);
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
  if (!Enabled() && FParent) RemoveFocus(false);
  if (FHandle) EnableWindow(FHandle, Enabled() ? TRUE : FALSE);
  TControl::CMEnabledChanged(Message);
}

// ----- geometry

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle && !IsIconic(FHandle)) {
    FApplyingBounds = true;
    TFinally Applied{[this] { FApplyingBounds = false; }};
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    bool Sized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FHandle) {
      WINDOWPLACEMENT WP{};
      WP.length = sizeof WP;
      GetWindowPlacement(FHandle, &WP);
      WP.rcNormalPosition = RECT{ALeft, ATop, ALeft + AWidth, ATop + AHeight};
      SetWindowPlacement(FHandle, &WP);
    }
    if (Sized) Realign();
  }
  UpdateAnchorRules();
  RequestAlign();
}

TRect TWinControl::ClientRect() const {
  if (!FHandle) return TControl::ClientRect();
  RECT R{};
  GetClientRect(FHandle, &R);
  return R;
}

TPoint TWinControl::ClientOrigin() const {
  POINT P{0, 0};
  ::ClientToScreen(const_cast<TWinControl*>(this)->Handle(), &P);
  return P;
}

void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::CMInvalidate(TMessage& Message) {
  if (!FHandle || Message.WParam != 0) return;
  InvalidateRect(FHandle, nullptr, (FControlStyle & StyleOf(csOpaque)) ? FALSE : TRUE);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

// ----- alignment

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && (FControlState & StateOf(csAlignmentNeeded))) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (HasState(csDestroying | csLoading)) return;
  if (FAlignLevel) {
    FControlState |= StateOf(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  TFinally Done{[this] {
    FControlState &= ~StateOf(csAlignmentNeeded);
    EnableAlign();
  }};
  TRect R = ClientRect();
  AlignControls(AControl, R);
  if (FDockManager) AlignDockClients(R);
  AnchorControls();
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  bool Any = false;
  for (int I = 0; I < ControlCount() && !Any; ++I) Any = Controls(I)->FAlign != alNone;
  if (!Any) return;
  AdjustClientRect(Rect);
  auto InsertBefore = [](TControl* C1, TControl* C2, TAlign A) {
    switch (A) {
      case alTop: return C1->FTop < C2->FTop;
      case alBottom: return C1->FTop + C1->FHeight >= C2->FTop + C2->FHeight;
      case alLeft: return C1->FLeft < C2->FLeft;
      case alRight: return C1->FLeft + C1->FWidth >= C2->FLeft + C2->FWidth;
      default: return false;
    }
  };
  auto Position = [&Rect](TControl* C, TAlign A) {
    int W = Rect.Right - Rect.Left;
    if (W < 0 || A == alLeft || A == alRight) W = C->FWidth;
    int H = Rect.Bottom - Rect.Top;
    if (H < 0 || A == alTop || A == alBottom) H = C->FHeight;
    int L = Rect.Left, T = Rect.Top;
    switch (A) {
      case alTop: Rect.Top += H; break;
      case alBottom: Rect.Bottom -= H; T = Rect.Bottom; break;
      case alLeft: Rect.Left += W; break;
      case alRight: Rect.Right -= W; L = Rect.Right; break;
      default: break;
    }
    C->SetBounds(L, T, W, H);
    // The control may not take the size it was given.
    if (C->FWidth != W || C->FHeight != H) {
      switch (A) {
        case alTop: Rect.Top -= H - C->FHeight; break;
        case alBottom: Rect.Bottom += H - C->FHeight; break;
        case alLeft: Rect.Left -= W - C->FWidth; break;
        case alRight: Rect.Right += W - C->FWidth; break;
        case alClient:
          Rect.Right += W - C->FWidth;
          Rect.Bottom += H - C->FHeight;
          break;
        default: break;
      }
    }
  };
  for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> List;
    if (AControl && AControl->FParent == this && AControl->FVisible && AControl->FAlign == A) List.push_back(AControl);
    for (int I = 0; I < ControlCount(); ++I) {
      TControl* C = Controls(I);
      if (C == AControl || C->FAlign != A || !C->FVisible) continue;
      size_t J = 0;
      while (J < List.size() && !InsertBefore(C, List[J], A)) ++J;
      List.insert(List.begin() + J, C);
    }
    for (TControl* C : List) Position(C, A);
  }
}

// ----- painting

void TWinControl::PaintWindow(HDC DC) {
  if (FDefWndProc == &DefWindowProcA || !FDefWndProc) return;
  TMessage M;
  M.Msg = WM_PAINT;
  M.WParam = reinterpret_cast<uintptr_t>(DC);
  DefaultHandler(M);
}

namespace {
// Moves the DC's origin by (DX, DY) device units.
void MoveOrigin(HDC DC, int DX, int DY) {
  POINT Org{};
  GetViewportOrgEx(DC, &Org);
  SetViewportOrgEx(DC, Org.x + DX, Org.y + DY, nullptr);
}
}  // namespace

static bool IsOwnerDrawButton(HWND Wnd) {
  char Class[16] = {};
  GetClassNameA(Wnd, Class, sizeof Class);
  return lstrcmpiA(Class, "Button") == 0 && (GetWindowLongPtrA(Wnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  const HWND Wnd = Handle();
  FControlState |= StateOf(csPaintCopy);
  TFinally Clear{[this] { FControlState &= ~StateOf(csPaintCopy); }};
  TSaveDC Save(DC);
  RECT W{};
  GetWindowRect(Wnd, &W);
  MoveOrigin(DC, X, Y);
  IntersectClipRect(DC, 0, 0, W.right - W.left, W.bottom - W.top);
  RECT Frame{0, 0, W.right - W.left, W.bottom - W.top};
  if (GetWindowLongPtrA(Wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) DrawEdge(DC, &Frame, EDGE_SUNKEN, BF_RECT);
  else if (GetWindowLongPtrA(Wnd, GWL_STYLE) & WS_BORDER) DrawEdge(DC, &Frame, BDR_OUTER, BF_RECT | BF_MONO);
  // The client where the window has it: a caption or other frame parts may come before it.
  POINT Client{0, 0};
  ::ClientToScreen(Wnd, &Client);
  MoveOrigin(DC, Client.x - W.left, Client.y - W.top);
  const TRect R = ClientRect();
  IntersectClipRect(DC, 0, 0, R.Right, R.Bottom);
  Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(DC), 0);
  if (IsOwnerDrawButton(Wnd)) {
    // The system button would hand its owner a DC of its own: draw the item on this one.
    const LRESULT State = SendMessageA(Wnd, BM_GETSTATE, 0, 0);
    DRAWITEMSTRUCT Dis{};
    Dis.CtlType = ODT_BUTTON;
    Dis.CtlID = UINT(GetDlgCtrlID(Wnd));
    Dis.itemAction = ODA_DRAWENTIRE;
    if (State & BST_PUSHED) Dis.itemState |= ODS_SELECTED;
    if (State & BST_FOCUS) Dis.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled(Wnd)) Dis.itemState |= ODS_DISABLED;
    Dis.hwndItem = Wnd;
    Dis.hDC = DC;
    Dis.rcItem = AsRECT(R);
    Perform(CN_DRAWITEM, 0, reinterpret_cast<intptr_t>(&Dis));
  } else {
    Perform(WM_PAINT, reinterpret_cast<uintptr_t>(DC), 0);
  }
  for (TWinControl* C : FWinControls)
    if (C->FVisible) C->PaintTo(DC, C->FLeft, C->FTop);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  size_t I = 0;
  if (First) {
    auto It = std::find(FControls.begin(), FControls.end(), First);
    if (It != FControls.end()) I = size_t(It - FControls.begin());
  }
  for (; I < FControls.size(); ++I) {
    TControl* C = FControls[I];
    RECT R = AsRECT(C->BoundsRect());
    if (!C->FVisible || !RectVisible(DC, &R)) continue;
    if (FControlState & StateOf(csPaintCopy)) C->FControlState |= StateOf(csPaintCopy);
    TFinally Clear{[C] { C->FControlState &= ~StateOf(csPaintCopy); }};
    TSaveDC Save(DC);
    MoveOrigin(DC, C->FLeft, C->FTop);
    IntersectClipRect(DC, 0, 0, C->FWidth, C->FHeight);
    C->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(DC), 0);
  }
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  std::optional<TPaintDC> Paint;
  if (!DC) {
    Paint.emplace(FHandle);
    DC = Paint->Get();
  }
  if (FControls.empty()) {
    PaintWindow(DC);
  } else {
    TSaveDC Save(DC);
    int Clip = SIMPLEREGION;
    for (TControl* C : FControls)
      if (C->FVisible && (C->FControlStyle & StyleOf(csOpaque))) {
        Clip = ExcludeClipRect(DC, C->FLeft, C->FTop, C->FLeft + C->FWidth, C->FTop + C->FHeight);
        if (Clip == NULLREGION) break;
      }
    if (Clip != NULLREGION) PaintWindow(DC);
  }
  PaintControls(DC, nullptr);
}

void TWinControl::WMPaint(TMessage& Message) {
  if (!(FControlState & StateOf(csCustomPaint)) && FControls.empty()) DefaultHandler(Message);
  else PaintHandler(Message);
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  RECT R = AsRECT(ClientRect());
  ::FillRect(reinterpret_cast<HDC>(Message.WParam), &R, FBrush->Handle());
  Message.Result = 1;
}

HDC TWinControl::GetDeviceContext(HWND& WindowHandle) {
  HDC DC = GetDC(Handle());
  if (!DC) throw EOutOfResources(SWindowDCError);
  WindowHandle = FHandle;
  return DC;
}

// ----- messages

// Asked again on every move: a move handled after the cursor has already gone elsewhere may leave
// the system tracking nothing, and then the leave is posted here (not while this window holds the
// capture: the moves keep coming to it).
void TWinControl::TrackMouseLeave() {
  if (!FHandle) return;
  TRACKMOUSEEVENT T{};
  T.cbSize = sizeof T;
  T.dwFlags = TME_LEAVE;
  T.hwndTrack = FHandle;
  TrackMouseEvent(&T);
  POINT P{};
  GetCursorPos(&P);
  if (WindowFromPoint(P) != FHandle && GetCapture() != FHandle) PostMessageA(FHandle, WM_MOUSELEAVE, 0, 0);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* C = nullptr;
  if (FHandle && GetCapture() == FHandle) {
    if (GCaptureControl && GCaptureControl->FParent == this) C = GCaptureControl;
  } else {
    C = ControlAtPos(MessagePoint(Message), false);
  }
  if (!C) return false;
  TPoint P = MessagePoint(Message) - Point(C->FLeft, C->FTop);
  Message.Result = C->Perform(Message.Msg, Message.WParam, PointToLParam(P));
  return true;
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (TCustomForm* Form = GetParentForm(this); Form && !Form->SetFocusedControl(this)) return;
      break;
    case WM_KILLFOCUS:
      if (FControlState & StateOf(csFocusing)) return;
      break;
    case WM_NCHITTEST:
      TControl::WndProc(Message);
      if (Message.Result == HTTRANSPARENT && ControlAtPos(ScreenToClient(MessagePoint(Message)), false))
        Message.Result = HTCLIENT;
      return;
    case WM_CANCELMODE:
      if (FHandle && GetCapture() == FHandle && GCaptureControl && GCaptureControl->FParent == this)
        GCaptureControl->Perform(WM_CANCELMODE, 0, 0);
      break;
    case WM_MOUSEMOVE:
      if (FHandle) {
        TrackMouseLeave();
        POINT P{MessageX(Message), MessageY(Message)};
        ::ClientToScreen(FHandle, &P);
        UpdateMouseControl(FindDragTarget(TPoint(P), true));
      }
      break;
    default: break;
  }
  if (IsClientMouseMsg(Message.Msg) && IsControlMouseMsg(Message)) {
    if (Message.Result == 0 && FHandle) DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_COMMAND: WMCommand(Message); break;
    case WM_NOTIFY: WMNotify(Message); break;
    case WM_DRAWITEM: WMDrawItem(Message); break;
    case WM_MEASUREITEM: WMMeasureItem(Message); break;
    case WM_DELETEITEM: WMDeleteItem(Message); break;
    case WM_COMPAREITEM: WMCompareItem(Message); break;
    case WM_HSCROLL: WMHScroll(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: WMCtlColor(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_SYSKEYDOWN: WMSysKeyDown(Message); break;
    case WM_KEYUP: WMKeyUp(Message); break;
    case WM_SYSKEYUP: WMSysKeyUp(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_MOVE: WMMove(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(Message); break;
    case WM_MOUSELEAVE: WMMouseLeave(Message); break;
    case WM_SYSCOLORCHANGE: WMSysColorChange(Message); break;
    case WM_NCDESTROY: WMNCDestroy(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case CN_KEYUP: CNKeyUp(Message); break;
    case CN_CHAR: CNChar(Message); break;
    case CN_SYSKEYDOWN: CNSysKeyDown(Message); break;
    case CN_SYSCHAR: CNSysChar(Message); break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: CNCtlColor(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(Message); break;
    case CM_BIDIMODECHANGED: CMBiDiModeChanged(Message); break;
    case CM_CTL3DCHANGED: CMCtl3DChanged(Message); break;
    case CM_PARENTCTL3DCHANGED: CMParentCtl3DChanged(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); break;
    case CM_INVALIDATE: CMInvalidate(Message); break;
    case CM_RECREATEWND: CMRecreateWnd(Message); break;
    case WM_HELP: WMHelp(Message); break;
    case CM_CHILDKEY:
      if (FParent) Message.Result = FParent->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
      break;
    default: TControl::Dispatch(Message);
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  if (Message.Msg == WM_CONTEXTMENU && FParent) {
    Message.Result = FParent->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
    if (Message.Result) return;
  }
  if (Message.Msg >= CN_CTLCOLORMSGBOX && Message.Msg <= CN_CTLCOLORSTATIC) {
    CNCtlColor(Message);
    return;
  }
  Message.Result = CallWindowProcA(FDefWndProc ? FDefWndProc : &DefWindowProcA, FHandle, Message.Msg,
                                   Message.WParam, Message.LParam);
}

void TWinControl::WMCommand(TMessage& Message) {
  if (!ControlsReflect(this, reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
}

void TWinControl::WMNotify(TMessage& Message) {
  auto* Hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (!Hdr || !ControlsReflect(this, Hdr->hwndFrom, Message)) DefaultHandler(Message);
}

void TWinControl::WMDrawItem(TMessage& Message) {
  auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  if (!D || D->CtlType == ODT_MENU || !ControlsReflect(this, D->hwndItem, Message)) DefaultHandler(Message);
}

void TWinControl::WMMeasureItem(TMessage& Message) {
  auto* M = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  if (M && M->CtlType != ODT_MENU) {
    // Sent while the child window is being created: found by its id, not its window.
    if (TWinControl* C = FindChildById(int(M->CtlID))) {
      Message.Result = C->Perform(CN_MEASUREITEM, Message.WParam, Message.LParam);
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMDeleteItem(TMessage& Message) {
  auto* D = reinterpret_cast<DELETEITEMSTRUCT*>(Message.LParam);
  if (!D || !ControlsReflect(this, D->hwndItem, Message)) DefaultHandler(Message);
}

void TWinControl::WMCompareItem(TMessage& Message) {
  auto* C = reinterpret_cast<COMPAREITEMSTRUCT*>(Message.LParam);
  if (!C || !ControlsReflect(this, C->hwndItem, Message)) DefaultHandler(Message);
}

void TWinControl::WMHScroll(TMessage& Message) {
  if (!Message.LParam || !ControlsReflect(this, reinterpret_cast<HWND>(Message.LParam), Message))
    DefaultHandler(Message);
}

void TWinControl::WMVScroll(TMessage& Message) {
  if (!Message.LParam || !ControlsReflect(this, reinterpret_cast<HWND>(Message.LParam), Message))
    DefaultHandler(Message);
}

void TWinControl::WMCtlColor(TMessage& Message) {
  if (!ControlsReflect(this, reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
}

void TWinControl::CNCtlColor(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  SetTextColor(DC, COLORREF(ColorToRGB(FFont->Color())));
  SetBkColor(DC, COLORREF(ColorToRGB(FBrush->Color())));
  Message.Result = reinterpret_cast<intptr_t>(FBrush->Handle());
}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && short(LOWORD(Message.LParam)) == HTCLIENT) {
    TCursor Cur = Screen ? Screen->Cursor() : crDefault;
    if (Cur == crDefault) {
      POINT P{};
      GetCursorPos(&P);
      if (TControl* C = ControlAtPos(ScreenToClient(TPoint(P)), false)) Cur = C->FCursor;
      if (Cur == crDefault) Cur = FCursor;
    }
    if (Cur != crDefault) {
      ::SetCursor(CursorHandle(Cur));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

// ----- keyboard

void TWinControl::KeyDown(unsigned short& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(unsigned short& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form != this && Form->KeyPreview() && static_cast<TWinControl*>(Form)->DoKeyDown(Message)) return true;
  if (!(FControlStyle & StyleOf(csNoStdEvents))) {
    unsigned short Key = (unsigned short)Message.WParam;
    KeyDown(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
    if (Key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form != this && Form->KeyPreview() && static_cast<TWinControl*>(Form)->DoKeyUp(Message)) return true;
  if (!(FControlStyle & StyleOf(csNoStdEvents))) {
    unsigned short Key = (unsigned short)Message.WParam;
    KeyUp(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
    if (Key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form != this && Form->KeyPreview() && static_cast<TWinControl*>(Form)->DoKeyPress(Message))
    return true;
  if (!(FControlStyle & StyleOf(csNoStdEvents))) {
    char Ch = char(Message.WParam);
    KeyPress(Ch);
    Message.WParam = (unsigned char)Ch;
    if (Ch == 0) return true;
  }
  return false;
}

bool TWinControl::IsMenuKey(TMessage& Message) {
  unsigned short Key = (unsigned short)Message.WParam;
  for (TControl* C = this; C; C = C->FParent)
    if (C->FPopupMenu && C->FPopupMenu->IsShortCut(Key, Message.LParam)) return true;
  if (TCustomForm* Form = GetParentForm(this))
    if (Form->Menu() && Form->Menu()->IsShortCut(Key, Message.LParam)) return true;
  return false;
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  unsigned short Key = (unsigned short)Message.WParam;
  if (Perform(CM_CHILDKEY, Key, reinterpret_cast<intptr_t>(this)) != 0) return;
  unsigned Mask = 0;
  switch (Key) {
    case VK_TAB: Mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: Mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: Mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (Mask && Perform(CM_WANTSPECIALKEY, Key, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & Mask) == 0 &&
      DialogRoot(this)->Perform(CM_DIALOGKEY, Key, Message.LParam) != 0)
    return;
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) { Message.Result = 0; }

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 1;
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0 &&
      DialogRoot(this)->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
    return;
  Message.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  Message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& Message) {
  if (Message.WParam != VK_SPACE)
    Message.Result = DialogRoot(this)->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
}

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMFocusChanged(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

// ----- focus messages

void TWinControl::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
  SetIme();
  // Off a form there is no form to track the focus: the control announces its own entry.
  if (!GetParentForm(this)) {
    Perform(CM_ENTER, 0, 0);
    DialogRoot(this)->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(this));
  }
}

void TWinControl::WMKillFocus(TMessage& Message) {
  ResetIme();
  DefaultHandler(Message);
  if (!GetParentForm(this)) Perform(CM_EXIT, 0, 0);
}

// ----- size and position

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
  Realign();
  if (!HasState(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  if (!(FControlState & StateOf(csDestroyingHandle))) UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMMouseLeave(TMessage& Message) {
  bool Mine = GMouseControl && (GMouseControl == this || (GMouseControl->FParent == this && !IsWin(GMouseControl)));
  if (Mine && GetCapture() != FHandle) {
    POINT P{};
    GetCursorPos(&P);
    UpdateMouseControl(FindDragTarget(TPoint(P), true));
  }
  DefaultHandler(Message);
}

void TWinControl::WMSysColorChange(TMessage& Message) {
  DefaultHandler(Message);
  Perform(CM_SYSCOLORCHANGE, 0, 0);
}

void TWinControl::CMSysColorChange(TMessage&) {
  // The brush keeps the RGB its colour had: make it again from the new system colours.
  TColor C = FBrush->Color();
  FBrush->SetColor(C ^ 1);
  FBrush->SetColor(C);
  NotifyControls(CM_SYSCOLORCHANGE);
  Invalidate();
}

void TWinControl::WMNCDestroy(TMessage& Message) { DefaultHandler(Message); }

// ----- property notifications

void TWinControl::CMColorChanged(TMessage& Message) {
  FBrush->SetColor(Color());
  TControl::CMColorChanged(Message);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  if (FHandle) Perform(WM_SETFONT, reinterpret_cast<uintptr_t>(FFont->Handle()), 0);
  TControl::CMFontChanged(Message);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage&) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }

void TWinControl::CMBiDiModeChanged(TMessage& Message) {
  TControl::CMBiDiModeChanged(Message);
  NotifyControls(CM_PARENTBIDIMODECHANGED);
  // The extended styles carry the reading order, alignment and scroll bar side.
  if (Message.WParam == 0) RecreateWnd();
}

void TWinControl::SetCtl3D(bool Value) {
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  if (!FUpdatingFromParent) FParentCtl3D = false;
  if (HasState(csLoading)) return;
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool Value) {
  if (FParentCtl3D == Value) return;
  FParentCtl3D = Value;
  if (HasState(csLoading)) return;
  if (FParent && Value) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage&) { NotifyControls(CM_PARENTCTL3DCHANGED); }

void TWinControl::CMParentCtl3DChanged(TMessage& Message) {
  if (!FParentCtl3D) return;
  if (!Message.WParam && !FParent) return;
  bool V = Message.WParam ? Message.LParam != 0 : FParent->FCtl3D;
  FUpdatingFromParent = true;
  TFinally Reset{[this] { FUpdatingFromParent = false; }};
  SetCtl3D(V);
}

// ----- streaming

void TWinControl::Loaded() {
  TControl::Loaded();
  if (FParent && FParentCtl3D) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
  FixupTabList();
  FBrush->SetColor(Color());
  if (FHandle) UpdateBounds();
  Realign();
  if ((FParent && FParent->FShowing) || (!FParent && FParentWindow)) UpdateControlState();
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (C->Owner() == Root) Proc(C);
  }
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (FParent != AParent) {
    CheckParent(this, AParent);
    // A window made for a foreign parent window is made again for the new parent.
    if (!FParent && FHandle) DestroyHandle();
  }
  TControl::SetParent(AParent);
}

ORV_IMPLEMENT_COMPONENT_NOPROPS(TWinControl, TControl)

// ---------------------------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  FCanvas = new TControlCanvas();
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() {
  if (GCaptureControl == this) SetCaptureControl(nullptr);
  delete FCanvas;
}

void TGraphicControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TGraphicControl::WMPaint(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (!DC) return;
  FCanvas->FreeHandle();
  FCanvas->Lock();
  TFinally Unbind{[this] {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }};
  FCanvas->SetHandle(DC);
  Paint();
}

ORV_IMPLEMENT_CLASS(TGraphicControl, TControl)

// ---------------------------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  FCanvas = new TControlCanvas();
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() { delete FCanvas; }

void TCustomControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomControl::WMPaint(TMessage& Message) {
  SetControlState(ControlState() | StateOf(csCustomPaint));
  TFinally Clear{[this] { SetControlState(ControlState() & ~StateOf(csCustomPaint)); }};
  TWinControl::WMPaint(Message);
}

void TCustomControl::PaintWindow(HDC DC) {
  FCanvas->FreeHandle();
  FCanvas->Lock();
  TFinally Unbind{[this] {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }};
  FCanvas->SetHandle(DC);
  Paint();
}

ORV_IMPLEMENT_CLASS(TCustomControl, TWinControl)

// Windows 95 and NT 4 (major version 4) brought the new-style controls.
const bool NewStyleControls = LOBYTE(LOWORD(GetVersion())) >= 4;

// ---------------------------------------------------------------------------------------------
// Hints

AnsiString GetShortHint(const AnsiString& Hint) {
  const int Bar = Hint.Pos("|");
  return Bar ? Hint.SubString(1, Bar - 1) : Hint;
}

AnsiString GetLongHint(const AnsiString& Hint) {
  const int Bar = Hint.Pos("|");
  return Bar ? Hint.SubString(Bar + 1, Hint.Length()) : Hint;
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  NONCLIENTMETRICSA Metrics{};
  Metrics.cbSize = sizeof Metrics;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0)) {
    Font()->SetName(Metrics.lfStatusFont.lfFaceName);
    Font()->SetHeight(Metrics.lfStatusFont.lfHeight);
  }
  Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = Application ? Application->Handle() : nullptr;
}

void THintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void THintWindow::WMNCHitTest(TMessage& Message) { Message.Result = HTTRANSPARENT; }

TRect THintWindow::CalcHintRect(int MaxWidth, const AnsiString& Hint) {
  RECT W{0, 0, MaxWidth, 0};
  {
    TWindowDC Screen;
    TCanvasBinding Bind(Canvas(), Screen);
    Canvas()->Font()->Assign(Font());
    DrawTextA(Canvas()->Handle(), Hint.c_str(), Hint.Length(), &W, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }
  TRect R = W;
  R.Right += 6;
  R.Bottom += 2;
  return R;
}

void THintWindow::ShowHintRect(const TRect& Rect, const AnsiString& Hint) {
  SetCaption(Hint);
  TRect R = Rect;
  // Kept on the screen where it fits.
  const int ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  if (R.Right > ScreenW) R = Bounds(std::max(0, ScreenW - R.Width()), R.Top, R.Width(), R.Height());
  if (R.Bottom > ScreenH) R = Bounds(R.Left, std::max(0, ScreenH - R.Height()), R.Width(), R.Height());
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, R.Left, R.Top, R.Width(), R.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

bool THintWindow::IsHintEndMessage(const MSG& Msg) {
  const UINT M = Msg.message;
  return (M >= WM_KEYFIRST && M <= WM_KEYLAST) || (M > WM_MOUSEMOVE && M <= WM_MOUSELAST) ||
         (M >= WM_NCLBUTTONDOWN && M <= WM_NCXBUTTONDBLCLK) || M == WM_COMMAND || M == WM_SYSCOMMAND ||
         M == WM_ACTIVATE || M == WM_ACTIVATEAPP || M == CM_ACTIVATE || M == CM_DEACTIVATE ||
         M == CM_APPKEYDOWN || M == CM_APPSYSCOMMAND;
}

void THintWindow::ReleaseHandle() { DestroyHandle(); }

void THintWindow::Paint() {
  TRect R = ClientRect();
  Canvas()->Font()->Assign(Font());
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(R);
  R = Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
  RECT W = R;
  const AnsiString Text = Caption();
  SetBkMode(Canvas()->Handle(), TRANSPARENT);
  DrawTextA(Canvas()->Handle(), Text.c_str(), Text.Length(), &W, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

ORV_IMPLEMENT_COMPONENT_NOPROPS(THintWindow, TCustomControl)

// ---------------------------------------------------------------------------------------------
// Unit registration.

namespace {
struct TControlsUnit {
  TControlsUnit() {
    RegisterIntegerConsts("TCursor", IdentToCursor, CursorToIdent);
    RegisterClasses({TWinControl::StaticClass()});
  }
} ControlsUnit;
}  // namespace
