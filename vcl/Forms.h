// Forms: top-level windows built from form resources, the application object (message loop,
// exception handling, main form) and the screen object (forms, cursors, fonts, metrics).
#pragma once

#include "vcl/Controls.h"

#include <climits>

class TMainMenu;
class TApplication;
class TScreen;

// ---------------------------------------------------------------------------------------------
extern const TEnumType TFormBorderStyleType;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = unsigned;   // bit n = TBorderIcon n
extern const TEnumType TBorderIconType;
constexpr TBorderIcons DefaultBorderIcons = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
extern const TEnumType TFormStyleType;

enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter,
};
extern const TEnumType TPositionType;

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
extern const TEnumType TWindowStateType;

enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = TClosure<TObject* /*Sender*/, TCloseAction& /*Action*/>;
using TCloseQueryEvent = TClosure<TObject* /*Sender*/, bool& /*CanClose*/>;
using TMessageEvent = TClosure<MSG& /*Msg*/, bool& /*Handled*/>;
using TExceptionEvent = TClosure<TObject* /*Sender*/, Exception& /*E*/>;
using TIdleEvent = TClosure<TObject* /*Sender*/, bool& /*Done*/>;
// A hook on the application window's messages: set Handled to stop the message there (with
// Message.Result as the answer).
using TWindowHook = TClosure<TMessage& /*Message*/, bool& /*Handled*/>;
// Help requests: set Result when the request was served; CallHelp false keeps the help file shut.
using THelpEvent = TClosure<unsigned short /*Command*/, intptr_t /*Data*/, bool& /*CallHelp*/, bool& /*Result*/>;
using TShowHintEvent = TClosure<AnsiString& /*HintStr*/, bool& /*CanShow*/, THintInfo& /*HintInfo*/>;

// Form states.
enum TFormStateElement { fsCreating, fsVisible, fsShowing, fsModal, fsActivated };
using TFormState = unsigned;

// ---------------------------------------------------------------------------------------------
class TCustomForm : public TWinControl {
  ORV_CLASS(TCustomForm, TWinControl)
public:
  // Sets defaults only; AfterConstruction reads the form resources of the class chain (for a
  // class below TForm), then runs OnCreate.
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  // A form of class T without reading any form resource.
  template <class T> static T* CreateNew(TComponent* AOwner) {
    T* Form = new T(AOwner);
    Form->FCreateNew = true;
    try { Form->AfterConstruction(); } catch (...) { TObject::Free(Form); throw; }
    return Form;
  }
  void AfterConstruction() override;
  void BeforeDestruction() override;

  // Close: CloseQuery, then OnClose with caHide (caFree for none of the defaults); the main form
  // ends the application, others hide (or are freed / minimised as the action says). A modal
  // form only sets ModalResult to mrCancel.
  void Close();
  virtual bool CloseQuery();
  // Shows the form, or brings it forward when it is already visible.
  void Show();
  void Hide();
  // Runs a modal loop until ModalResult is set; EInvalidOperation "Cannot make a visible window
  // modal" when the form is already visible.
  virtual int ShowModal();
  // Frees the form once the messages being handled are done.
  void Release();

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TWinControl::Ctl3D;
  using TWinControl::SetCtl3D;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TFormStyle FormStyle() const { return FFormStyle; }
  // fsMDIForm: the window holds an "MDICLIENT" window (ClientHandle) for its MDI children.
  // fsMDIChild: the window is made by the main form's client (WM_MDICREATE), which needs the
  // main form to be an MDI form: EInvalidOperation "Cannot create form. No MDI forms are
  // currently active" otherwise (at once when the window exists, else when it is made). An MDI
  // child is visible. A change between MDI and other styles makes the window again.
  void SetFormStyle(TFormStyle Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState Value);
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  // A strip of this many pixels inside the frame, taken from the client area and painted in
  // the form's colour (negative values count as 0).
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  // The form's own icon (big and small window icon); empty: the window class's.
  TIcon* Icon() const { return FIcon; }
  void SetIcon(TIcon* Value);
  // The MDI client window of an fsMDIForm form with a window, else null.
  HWND ClientHandle() const { return FClientHandle; }
  // MDI children of an fsMDIForm form, in the order their windows were made (a child being
  // made is the last one); none for other forms.
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int Index) const;  // EListError "List index out of bounds (%d)"
  // The active MDI child (the client's WM_MDIGETACTIVE), null when none.
  TCustomForm* ActiveMDIChild() const;

  TWinControl* ActiveControl() const { return FActiveControl; }
  // EInvalidOperation "Cannot focus a disabled or invisible window" for a control that cannot
  // take the focus (or is not on this form).
  void SetActiveControl(TWinControl* Control);
  // The control of this form that has the focus (as the framework tracks it).
  TWinControl* FocusedControl() const { return FFocusedControl; }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool Value) { FOldCreateOrder = Value; }
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);
  int TextHeight() const { return FTextHeight; }
  void SetTextHeight(int Value) { FTextHeight = Value; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  // The form is the application's active (focused) form.
  bool Active() const { return FActive; }
  TFormState FormState() const { return FFormState; }
  TCanvas* Canvas() const { return FCanvas; }

  void SetVisible(bool Value) override;
  void SetClientWidth(int Value) override;
  void SetClientHeight(int Value) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Without a window: the bounds less the frame, caption and menu bar the styles give.
  TRect ClientRect() const override;
  bool IsSizeStored() const override { return false; }
  void SetFocus() override;
  bool CanFocus() const override;

  // Focus bookkeeping (called from the controls' WM_SETFOCUS): moves FocusedControl to Control
  // with CM_EXIT/CM_ENTER along the way and CM_FOCUSCHANGED to every control. False when the
  // focus moved elsewhere meanwhile.
  bool SetFocusedControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  void FocusControl(TWinControl* Control);

  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;

protected:
  // AfterConstruction reads the form resources of the classes below this one (TForm or
  // TCustomForm here; a form class that is a base for others may return itself).
  virtual TClass FormResourceRoot() const;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWnd() override;
  void DestroyWindowHandle() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  // MDI frames and children hand what they leave to DefFrameProcA / DefMDIChildProcA.
  void DefaultHandler(TMessage& Message) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void PaintWindow(HDC DC) override;
  void WndProc(TMessage& Message) override;
  virtual void Paint();
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  // Fills the BorderWidth strip around the client area on a window DC.
  void PaintBorderStrip(HDC DC);

  void WMPaint(TMessage& Message);
  void WMClose(TMessage& Message);
  void WMActivate(TMessage& Message);
  void WMSysCommand(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMInitMenuPopup(TMessage& Message);
  void WMQueryEndSession(TMessage& Message);
  void WMSize(TMessage& Message);
  // A frame drag meets the Constraints (after OnConstrainedResize).
  void WMGetMinMaxInfo(TMessage& Message);
  void WMMDIActivate(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  // The system tells top-level windows alone that its fonts changed: the form tells its
  // windowed controls.
  void WMFontChange(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMActivate(TMessage& Message);
  void CMDeactivate(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMRelease(TMessage& Message);
  void CMMenuChanged(TMessage& Message);
  void CMTextChanged(TMessage& Message);

private:
  friend class TApplication;
  friend class TScreen;
  void SetWindowFocus();
  void SetActive(bool Value);
  void CloseModal();
  void ApplyPosition();
  void ApplyClientSize();
  void CreateMDIClient();
  void IconChanged(TObject*);
  void SendIcon();
  std::vector<TCustomForm*> MDIChildList() const;
  void SetFormStateFlag(TFormStateElement E, bool On) {
    if (On) FFormState |= 1u << E; else FFormState &= ~(1u << E);
  }
  bool HasFormState(TFormStateElement E) const { return (FFormState & (1u << E)) != 0; }

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = DefaultBorderIcons;
  TFormStyle FFormStyle = fsNormal;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TMainMenu* FMenu = nullptr;
  TIcon* FIcon = nullptr;
  int FBorderWidth = 0;
  HWND FClientHandle = nullptr;   // fsMDIForm: the MDI client
  HWND FMDIClient = nullptr;      // fsMDIChild: the client that made the window
  unsigned FMDIOrder = 0;         // fsMDIChild: when its window was last made
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TControlCanvas* FCanvas = nullptr;
  TFormState FFormState = 0;
  int FModalResult = mrNone;
  int FPixelsPerInch;
  int FTextHeight = 0;
  // Requested client size, applied once the window exists; NoClientSize when none (0 is a size).
  static constexpr int NoClientSize = INT_MIN;
  int FClientWidth = NoClientSize;
  int FClientHeight = NoClientSize;
  bool FKeyPreview = false;
  bool FOldCreateOrder = false;
  bool FScaled = true;
  bool FActive = false;
  bool FCreateNew = false;
  bool FPositioned = false;
};

class TForm : public TCustomForm {
  ORV_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form that contains Control (its top-most parent when that is a form), null when none.
TCustomForm* GetParentForm(const TControl* Control);
// The same; EInvalidOperation "Control '%s' has no parent window" when there is none.
TCustomForm* ValidParentForm(const TControl* Control);

// ---------------------------------------------------------------------------------------------
class TScreen : public TComponent {
  ORV_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  // The virtual screen spanning every monitor.
  int DesktopLeft() const { return GetSystemMetrics(SM_XVIRTUALSCREEN); }
  int DesktopTop() const { return GetSystemMetrics(SM_YVIRTUALSCREEN); }
  int DesktopWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
  int DesktopHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }
  TRect WorkAreaRect() const;
  int PixelsPerInch() const { return FPixelsPerInch; }

  int FormCount() const { return int(FForms.size()); }
  TCustomForm* Forms(int Index) const;   // EListError "List index out of bounds (%d)"
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }

  // crDefault lets every control show its own cursor; anything else overrides them all.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  HCURSOR Cursors(TCursor Index) const;
  // Installs a cursor for Index (owned; an index of a standard cursor is replaced).
  void SetCursors(TCursor Index, HCURSOR Handle);

  // Installed font face names, sorted.
  TStrings* Fonts();
  // Installed input methods by name, each with its keyboard layout (HKL) as its object
  // (vcl/Ime.cpp).
  TStrings* Imes();

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

private:
  friend class TCustomForm;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActive(TCustomForm* Form, TWinControl* Control);

  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  TCursor FCursor = crDefault;
  std::vector<std::pair<TCursor, HCURSOR>> FCursors;   // installed ones (owned)
  TStringList* FFonts = nullptr;
  TStringList* FImes = nullptr;
  int FPixelsPerInch = 96;
};

// ---------------------------------------------------------------------------------------------
class TApplication : public TComponent {
  ORV_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize();
  const AnsiString& Title() const { return FTitle; }
  void SetTitle(const AnsiString& Value);

  // Creates a form owned by the application; *Reference is set before the form's OnCreate runs.
  // The first form created becomes MainForm.
  template <class T> void CreateForm(T** Reference) {
    T* Form = new T(this);
    *Reference = Form;
    try {
      Form->AfterConstruction();
    } catch (...) {
      *Reference = nullptr;
      TObject::Free(Form);
      throw;
    }
    FormCreated(Form);
  }
  // Shows the main form and handles messages until the application terminates.
  void Run();
  // Handles every message waiting in the queue and the calls threads synchronise, then returns.
  void ProcessMessages();
  // Handles one message, waiting for one (after idle processing, which runs the calls threads
  // synchronise) when the queue is empty.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  TCustomForm* MainForm() const { return FMainForm; }
  // The hidden application window (owner of the forms; carries the title). A thread's
  // Synchronize posts it a message, on which it runs the queued calls (also while a message box
  // or a menu runs its own loop).
  HWND Handle();
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }
  void Minimize();
  void Restore();
  void BringToFront();

  // Call inside a catch block: OnException when set, else ShowException; EAbort is silent.
  void HandleException(TObject* Sender);
  // The message with a full stop added when it has no closing punctuation, in an error box
  // titled with Title.
  void ShowException(const Exception& E);
  int MessageBox(const char* Text, const char* Caption, unsigned Flags = MB_OK);
  AnsiString ExeName() const;

  // Hooks get the application window's messages first, in the order they were added; a hook is
  // added once.
  void HookMainWindow(const TWindowHook& Hook);
  void UnhookMainWindow(const TWindowHook& Hook);

  // Help: OnHelp decides first; then, unless it said otherwise, WinHelp on HelpFile.
  const AnsiString& HelpFile() const { return FHelpFile; }
  void SetHelpFile(const AnsiString& Value) { FHelpFile = Value; }
  bool HelpCommand(unsigned short Command, intptr_t Data);
  bool HelpContext(int Context) { return HelpCommand(HELP_CONTEXT, Context); }
  // The icon of the application window.
  TIcon* Icon() const { return FIcon; }
  void SetIcon(TIcon* Value);

  // Hints. Hint is the long hint of the control under the mouse (OnHint tells each change). A
  // control that shows hints gets its short hint in a window of HintWindowClass once the mouse
  // rests on it for HintPause ms; the window goes after HintHidePause ms, on a message that ends
  // it (THintWindow::IsHintEndMessage) or when the mouse leaves the control.
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value);
  int HintPause() const { return FHintPause; }
  void SetHintPause(int Value) { FHintPause = Value; }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { FHintHidePause = Value; }
  int HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int Value) { FHintShortPause = Value; }
  // Off: no hints, and the hint window goes; on again: a new one of HintWindowClass.
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  void CancelHint();
  // Takes the hint window off the screen (the hint control stays).
  void HideHint();
  // Called by controls: every mouse move, and a control's end.
  void HintMouseMessage(TControl* Control, TMessage& Message);
  void ControlDestroyed(TControl* Control);

  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  THelpEvent OnHelp;
  TNotifyEvent OnHint;
  TShowHintEvent OnShowHint;
  // The main form was minimised, or restored from being minimised.
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TCustomForm;
  friend LRESULT CALLBACK ApplicationWndProc(HWND, UINT, WPARAM, LPARAM);
  void FormCreated(TCustomForm* Form);
  bool ProcessMessage(MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  void Idle(const MSG& Msg);
  void CheckMouseControl();
  // TranslateMDISysAccel for the active MDI child of an MDI main form.
  bool IsMDIMsg(MSG& Msg);
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT DefaultWndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
  // The main form's window changed between minimised and not.
  void MainFormSized(bool Minimized);
  enum THintTimer { htNone, htShow, htHide };
  void StartHintTimer(int Ms, THintTimer Mode);
  void StopHintTimer();
  void HintTimerExpired();
  void ActivateHint();
  THintWindow* HintWindowNeeded();

  AnsiString FTitle;
  HWND FHandle = nullptr;
  TCustomForm* FMainForm = nullptr;
  int FModalLevel = 0;
  bool FTerminated = false;
  bool FShowMainForm = true;
  bool FActive = false;
  bool FInitialized = false;
  HWND FLastActiveWindow = nullptr;
  std::vector<TWindowHook> FWindowHooks;
  AnsiString FHelpFile;
  TIcon* FIcon = nullptr;
  bool FMainMinimized = false;
  bool FMinimizePending = false;   // Minimize before the main form existed
  AnsiString FHint;
  TColor FHintColor = clInfoBk;
  int FHintPause = 500;
  int FHintHidePause = 2500;
  int FHintShortPause = 50;
  bool FShowHint = true;
  bool FHintActive = false;
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  TRect FHintCursorRect;   // screen area the shown hint stays in
  THintTimer FHintTimer = htNone;
  UINT_PTR FHintTimerId = 0;
  TControl* FMouseHintControl = nullptr;   // whose long hint Hint holds
  friend struct TApplicationAccess;
};

// The class of the application's hint window (a THintWindow descendant), used whenever the
// application makes its hint window.
extern TClass HintWindowClass;

extern TApplication* Application;
extern TScreen* Screen;

// ---------------------------------------------------------------------------------------------
// Window procedures bound to methods. An object instance is a small machine-code stub (one for
// i686, one for x86_64) that hands every message of the window it is installed on to Method as
// a TMessage and returns its Result; the window handle is not passed on. An exception Method
// lets out goes to Application->HandleException. An instance may be freed while it runs.
WNDPROC MakeObjectInstance(TWndMethod Method);
// Nothing for null or for a procedure MakeObjectInstance did not make (or already freed).
void FreeObjectInstance(WNDPROC ObjectInstance);
// A hidden top-level window (it can own a tracked menu) whose messages go to Method, which
// calls DefWindowProcA for what it leaves; with no Method every message goes there. Its
// creation messages go to DefWindowProcA. EOutOfResources when it cannot be made.
HWND AllocateHWnd(TWndMethod Method);
// Destroys a window AllocateHWnd made and frees its instance; nothing for any other window.
void DeallocateHWnd(HWND Wnd);

// Replacement of a window's procedure, in a chain that other code may also hook. Each hook gets
// its own procedure (an object instance). Removing a hook repairs the chain where it can: the
// window gets the previous procedure back while it still runs the hook's own; a hook of this
// kind that calls the removed one calls what that one called. Otherwise (a foreign subclass
// sits above it) the hook's procedure stays in place, passing every message on, until the
// window is destroyed. A window's destruction takes its hooks out (Installed turns false after
// WM_NCDESTROY) without touching the chain.
class TWindowProcHook {
public:
  struct TSlot;  // the hook's place in the chain (internal)

  // Gets every message of the window; it sets Message.Result, calling CallPrevious for what it
  // leaves to the window. Exceptions it lets out are handed to the framework's handler.
  using THandler = TClosure<TMessage&>;

  TWindowProcHook() = default;
  ~TWindowProcHook() { Remove(); }
  TWindowProcHook(const TWindowProcHook&) = delete;
  TWindowProcHook& operator=(const TWindowProcHook&) = delete;

  // EInvalidOperation when already installed or Wnd is not a window; EOSError when the
  // procedure cannot be replaced.
  void Install(HWND Wnd, THandler Handler);
  void Remove();
  bool Installed() const { return FSlot != nullptr; }
  HWND Window() const;
  // The hook's own procedure while installed (what GWLP_WNDPROC shows while it is on top).
  WNDPROC Procedure() const;
  // The procedure the hook calls on: the one that was in place when it was installed, or what
  // a removed hook below it called.
  WNDPROC Previous() const;
  // Calls the previous procedure with the window the hook was installed on.
  LRESULT CallPrevious(TMessage& Message) const;

  // The hook's link for the message being handled: it calls on with the previous procedure as
  // it is then, also once the hook was removed (or its owner freed) during the message. Take it
  // in the handler; it is valid until the handler returns.
  class TLink {
  public:
    LRESULT CallPrevious(TMessage& Message) const;
  private:
    friend class TWindowProcHook;
    TSlot* FSlot;
  };
  TLink CurrentLink() const;

  // Hooks still passing messages on for their removed owners (for tests).
  static int PassThroughCount();

private:
  TSlot* FSlot = nullptr;
};
