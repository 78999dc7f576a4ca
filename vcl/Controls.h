// Controls: the control classes over Win32 windows, the framework's own messages, reflection of
// child notifications, mouse capture, focus, tab order, alignment and painting of graphic
// controls by their parent.
//
// Message model. Every window message of a control goes through WindowProc (a replaceable
// closure, WndProc by default). WndProc pre-processes (mouse routing to graphic children,
// enter/leave, focus bookkeeping) and calls Dispatch. Each class that handles messages overrides
// Dispatch with one switch, one line per message, calling a handler named after the message,
// and hands everything else to its base class's Dispatch. The root ends in DefaultHandler,
// which calls the window's previous procedure.
//
//   void TMyControl::Dispatch(TMessage& Message) {
//     switch (Message.Msg) {
//       case CM_MOUSEENTER: CMMouseEnter(Message); break;
//       case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
//       default: inherited::Dispatch(Message);
//     }
//   }
#pragma once

#include "vcl/Win.h"
#include "vcl/Types.h"
#include "vcl/Graphics.h"
#include "vcl/ControlLayout.h"
#include "vcl/Ime.h"
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

#include <cstdint>
#include <vector>

class TControl;
class TWinControl;
class TPopupMenu;
class TCustomForm;
class TBasicAction;
class TControlActionLink;
class TDockManager;

// ---------------------------------------------------------------------------------------------
// Framework messages (sent by the controls to themselves, their parents and children).
constexpr unsigned CM_BASE = 0xB000;
enum : unsigned {
  CM_ACTIVATE = CM_BASE + 0,        // form became the application's focused form
  CM_DEACTIVATE = CM_BASE + 1,
  CM_GOTFOCUS = CM_BASE + 2,
  CM_LOSTFOCUS = CM_BASE + 3,
  CM_CANCELMODE = CM_BASE + 4,      // LParam: the control that asks
  CM_DIALOGKEY = CM_BASE + 5,       // WParam: virtual key, LParam: key data; Result 1 = handled
  CM_DIALOGCHAR = CM_BASE + 6,      // WParam: character, LParam: key data; Result 1 = handled
  CM_FOCUSCHANGED = CM_BASE + 7,    // LParam: the control that received the focus
  CM_PARENTFONTCHANGED = CM_BASE + 8,   // WParam 1: LParam is the TFont* to take
  CM_PARENTCOLORCHANGED = CM_BASE + 9,  // WParam 1: LParam is the TColor to take
  CM_HITTEST = CM_BASE + 10,        // LParam: client point (x low, y high); Result 0 = not hit
  CM_VISIBLECHANGED = CM_BASE + 11, // WParam: new visibility
  CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_COLORCHANGED = CM_BASE + 13,
  CM_FONTCHANGED = CM_BASE + 14,
  CM_CURSORCHANGED = CM_BASE + 15,
  CM_CTL3DCHANGED = CM_BASE + 16,
  CM_PARENTCTL3DCHANGED = CM_BASE + 17,  // WParam 1: LParam is the value to take
  CM_TEXTCHANGED = CM_BASE + 18,
  CM_MOUSEENTER = CM_BASE + 19,
  CM_MOUSELEAVE = CM_BASE + 20,
  CM_MENUCHANGED = CM_BASE + 21,
  CM_APPKEYDOWN = CM_BASE + 22,
  CM_APPSYSCOMMAND = CM_BASE + 23,
  CM_BUTTONPRESSED = CM_BASE + 24,  // WParam: group index, LParam: the pressed button
  CM_SHOWINGCHANGED = CM_BASE + 25,
  CM_ENTER = CM_BASE + 26,
  CM_EXIT = CM_BASE + 27,
  CM_DESIGNHITTEST = CM_BASE + 28,
  CM_ICONCHANGED = CM_BASE + 29,
  CM_WANTSPECIALKEY = CM_BASE + 30, // WParam: virtual key; Result 1 = the control takes it
  CM_INVOKEHELP = CM_BASE + 31,
  CM_WINDOWHOOK = CM_BASE + 32,
  CM_RELEASE = CM_BASE + 33,        // posted by TCustomForm::Release
  CM_SHOWHINTCHANGED = CM_BASE + 34,
  CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
  CM_SYSCOLORCHANGE = CM_BASE + 36,
  CM_WININICHANGE = CM_BASE + 37,
  CM_FONTCHANGE = CM_BASE + 38,
  CM_TIMECHANGE = CM_BASE + 39,
  CM_TABSTOPCHANGED = CM_BASE + 40,
  CM_UIACTIVATE = CM_BASE + 41,
  CM_UIDEACTIVATE = CM_BASE + 42,
  CM_DOCWINDOWACTIVATE = CM_BASE + 43,
  CM_CONTROLLISTCHANGE = CM_BASE + 44,  // WParam: the control, LParam: 1 inserted / 0 removed
  CM_GETDATALINK = CM_BASE + 45,
  CM_CHILDKEY = CM_BASE + 46,       // WParam: virtual key, LParam: the control; Result 1 = eaten
  CM_DRAG = CM_BASE + 47,
  CM_HINTSHOW = CM_BASE + 48,
  CM_DIALOGHANDLE = CM_BASE + 49,
  CM_ISTOOLCONTROL = CM_BASE + 50,
  CM_RECREATEWND = CM_BASE + 51,
  CM_INVALIDATE = CM_BASE + 52,
  CM_SYSFONTCHANGED = CM_BASE + 53,
  CM_CONTROLCHANGE = CM_BASE + 54,  // WParam: the control, LParam: 1 inserted / 0 removed
  CM_CHANGED = CM_BASE + 55,
  CM_BORDERCHANGED = CM_BASE + 59,
  CM_BIDIMODECHANGED = CM_BASE + 60,        // WParam 1: the parent re-creates the windows
  CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
};

// Notifications a parent reflects back to the child control they concern.
constexpr unsigned CN_BASE = 0xBC00;
enum : unsigned {
  CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM,
  CN_COMMAND = CN_BASE + WM_COMMAND,
  CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM,
  CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
  CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG,
  CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
  CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
  CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX,
  CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
  CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
  CN_DELETEITEM = CN_BASE + WM_DELETEITEM,
  CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
  CN_HSCROLL = CN_BASE + WM_HSCROLL,
  CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
  CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY,
  CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM,
  CN_VSCROLL = CN_BASE + WM_VSCROLL,
  CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
  CN_KEYUP = CN_BASE + WM_KEYUP,
  CN_CHAR = CN_BASE + WM_CHAR,
  CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
  CN_SYSKEYUP = CN_BASE + WM_SYSKEYUP,
  CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
  CN_NOTIFY = CN_BASE + WM_NOTIFY,
};

// Message cracking.
inline int MessageX(const TMessage& M) { return short(LOWORD(M.LParam)); }
inline int MessageY(const TMessage& M) { return short(HIWORD(M.LParam)); }
inline TPoint MessagePoint(const TMessage& M) { return Point(MessageX(M), MessageY(M)); }
inline intptr_t PointToLParam(TPoint P) { return intptr_t(MAKELPARAM(WORD(short(P.X)), WORD(short(P.Y)))); }
inline unsigned short MessageLoWord(uintptr_t V) { return LOWORD(V); }
inline unsigned short MessageHiWord(uintptr_t V) { return HIWORD(V); }

// ---------------------------------------------------------------------------------------------
// Types.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
extern const TEnumType TAlignType;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
extern const TEnumType TBiDiModeType;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
extern const TEnumType TAlignmentType;
using TLeftRight = TAlignment;   // taLeftJustify or taRightJustify
// Left and right justification swapped (a mirrored control's alignment); centred stays.
void ChangeBiDiModeAlignment(TAlignment& Alignment);
extern const TEnumType TLeftRightType;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
extern const TEnumType TMouseButtonType;

enum TShiftStateElement { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = unsigned;   // bit n = TShiftStateElement n
constexpr TShiftState ShiftOf(TShiftStateElement E) { return 1u << E; }
extern const TEnumType TShiftStateType;

// Control styles (ControlStyle is a set of these).
enum TControlStyleElement {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
  csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
  csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents,
};
using TControlStyle = unsigned;
constexpr TControlStyle StyleOf(TControlStyleElement E) { return 1u << E; }

// Transient control states (ControlState is a set of these).
enum TControlStateElement {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking,
};
using TControlState = unsigned;
constexpr TControlState StateOf(TControlStateElement E) { return 1u << E; }

// Cursors: crDefault (0) means "as the parent / the window class"; negative values are the
// standard cursors; Screen->Cursors maps any value to a handle.
using TCursor = int;
enum : TCursor {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22,
  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
  crHandPoint = -21, crSizeAll = -22,
};
bool CursorToIdent(int Cursor, AnsiString& Ident);
bool IdentToCursor(const AnsiString& Ident, int& Cursor);

enum TDragMode { dmManual, dmAutomatic };
extern const TEnumType TDragModeType;
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// What a drag of the control does: drag and drop (dkDrag) or dock it somewhere else (dkDock).
enum TDragKind { dkDrag, dkDock };
extern const TEnumType TDragKindType;

// Window border of controls (TBorderStyle) and forms (TFormBorderStyle, Forms.h).
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;   // bsNone or bsSingle
extern const TEnumType TBorderStyleType;

using TModalResult = int;
enum : TModalResult {
  mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
  mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrAll = mrNo + 1, mrNoToAll = mrAll + 1,
  mrYesToAll = mrNoToAll + 1,
};

using TCaption = AnsiString;
using TWndMethod = TClosure<TMessage&>;

// Events.
using TMouseEvent = TClosure<TObject* /*Sender*/, TMouseButton, TShiftState, int /*X*/, int /*Y*/>;
using TMouseMoveEvent = TClosure<TObject* /*Sender*/, TShiftState, int /*X*/, int /*Y*/>;
using TKeyEvent = TClosure<TObject* /*Sender*/, unsigned short& /*Key*/, TShiftState>;
using TKeyPressEvent = TClosure<TObject* /*Sender*/, char& /*Key*/>;
using TDragOverEvent = TClosure<TObject* /*Sender*/, TObject* /*Source*/, int /*X*/, int /*Y*/,
                                TDragState, bool& /*Accept*/>;
using TDragDropEvent = TClosure<TObject* /*Sender*/, TObject* /*Source*/, int /*X*/, int /*Y*/>;
using TEndDragEvent = TClosure<TObject* /*Sender*/, TObject* /*Target*/, int /*X*/, int /*Y*/>;
class TDragObject;
using TStartDragEvent = TClosure<TObject* /*Sender*/, TDragObject*& /*DragObject*/>;
class TDragDockObject;
using TStartDockEvent = TClosure<TObject* /*Sender*/, TDragDockObject*& /*DragObject*/>;
using TDockOverEvent = TClosure<TObject* /*Sender*/, TDragDockObject* /*Source*/, int /*X*/, int /*Y*/,
                                TDragState, bool& /*Accept*/>;
using TDockDropEvent = TClosure<TObject* /*Sender*/, TDragDockObject* /*Source*/, int /*X*/, int /*Y*/>;
using TGetSiteInfoEvent = TClosure<TObject* /*Sender*/, TControl* /*DockClient*/, TRect& /*InfluenceRect*/,
                                   TPoint /*MousePos*/, bool& /*CanDock*/>;
using TUnDockEvent = TClosure<TObject* /*Sender*/, TControl* /*Client*/, TWinControl* /*NewTarget*/,
                              bool& /*Allow*/>;

// What a drag carries when OnStartDrag supplies one; otherwise the source control is the
// "Source" the targets see. The drag does not free it.
class TDragObject : public TObject {
  ORV_CLASS(TDragObject, TObject)
public:
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value) { FControl = Value; }
private:
  TControl* FControl = nullptr;
};

// What a dock drag carries (OnStartDock may supply one; the drag then does not free it). Its
// rectangles are in screen coordinates.
class TDragDockObject : public TDragObject {
  ORV_CLASS(TDragDockObject, TDragObject)
public:
  // Where the control lands: the frame the drag shows. OnDockOver may move it.
  const TRect& DockRect() const { return FDockRect; }
  void SetDockRect(const TRect& Value) { FDockRect = Value; }
  // The side of the site (or of DropOnControl, a client already docked there) it docks on.
  TAlign DropAlign() const { return FDropAlign; }
  void SetDropAlign(TAlign Value) { FDropAlign = Value; }
  TControl* DropOnControl() const { return FDropOnControl; }
  void SetDropOnControl(TControl* Value) { FDropOnControl = Value; }
  // The site that accepts the control now; null while a drop would float it.
  TWinControl* DragTarget() const { return FDragTarget; }
  void SetDragTarget(TWinControl* Value) { FDragTarget = Value; }
  bool Floating() const { return FDragTarget == nullptr; }
  // The mouse, in screen coordinates.
  TPoint DragPos() const { return FDragPos; }
  void SetDragPos(TPoint Value) { FDragPos = Value; }
private:
  TRect FDockRect;
  TAlign FDropAlign = alNone;
  TControl* FDropOnControl = nullptr;
  TWinControl* FDragTarget = nullptr;
  TPoint FDragPos;
};

// Window creation parameters (CreateParams fills them, CreateWnd uses them).
struct TCreateParams {
  AnsiString Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSA WindowClass{};
  char WinClassName[64] = {};
};

// ---------------------------------------------------------------------------------------------
// Canvas that draws on a control: a DC of the control's window (or of its parent, clipped to the
// control, for a graphic control), taken when first needed and released after the current
// message.
class TControlCanvas : public TCanvas {
  ORV_CLASS(TControlCanvas, TCanvas)
public:
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  // Releases the DC this canvas took itself.
  void FreeHandle();
protected:
  void CreateHandle() override;
private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// Releases the DCs of every control canvas that took one (after each window procedure entry and
// when the message loop is idle).
void FreeDeviceContexts();

// ---------------------------------------------------------------------------------------------
class TControl : public TComponent {
  ORV_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void BeforeDestruction() override;

  // Parent.
  TWinControl* Parent() const { return FParent; }
  // EInvalidOperation "A control cannot have itself as its parent" (also for a descendant).
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  // Geometry (relative to the parent's client area).
  int Left() const { return FLeft; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  int Top() const { return FTop; }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Right; }
  virtual void SetClientWidth(int Value);
  int ClientHeight() const { return ClientRect().Bottom; }
  virtual void SetClientHeight(int Value);
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(const TPoint& P) const;
  TPoint ScreenToClient(const TPoint& P) const;
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  // Anchors and size limits (vcl/ControlLayout.h).
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* Constraints() const { return FConstraints; }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }

  // State.
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show();
  void Hide();
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  // Reading order and alignment of text; with ParentBiDiMode the parent's (a write clears it).
  TBiDiMode BiDiMode() const;
  void SetBiDiMode(TBiDiMode Value);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool Value);
  // Mirrored alignment: bdRightToLeft.
  bool UseRightToLeftAlignment() const { return BiDiMode() == bdRightToLeft; }
  // Right-to-left reading: any mode but bdLeftToRight.
  bool UseRightToLeftReading() const { return BiDiMode() != bdLeftToRight; }
  // Vertical scroll bar at the left: bdRightToLeft and bdRightToLeftNoAlign.
  bool UseRightToLeftScrollBar() const {
    const TBiDiMode M = BiDiMode();
    return M == bdRightToLeft || M == bdRightToLeftNoAlign;
  }
  // DT_RTLREADING with right-to-left reading, else 0.
  unsigned DrawTextBiDiModeFlagsReadingOnly() const;
  // The alignment the control's text has before mirroring.
  virtual TAlignment GetControlsAlignment() const { return taLeftJustify; }
  // DrawText flags for this control's text: DT_LEFT and DT_RIGHT swapped with the mirrored
  // alignment, DT_RTLREADING added with right-to-left reading.
  unsigned DrawTextBiDiModeFlags(unsigned Flags) const;
  void SetName(const AnsiString& NewName) override;

  // Painting.
  virtual void Invalidate();
  // Paints what is invalid now.
  void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // Messages.
  intptr_t Perform(unsigned Msg, uintptr_t WParam = 0, intptr_t LParam = 0);
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  // The control's window procedure as a replaceable closure (WndProc by default). A hook saves
  // the old value, installs its own and calls the saved one for what it does not eat.
  TWndMethod WindowProc;

  // Text (Caption for labels and buttons, Text for edits: the same property).
  int GetTextLen();
  int GetTextBuf(char* Buffer, int BufSize);
  void SetTextBuf(const char* Buffer);

  // Mouse capture: a graphic control captures through its parent's window.
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  // Drag and drop inside the application.
  void BeginDrag(bool Immediate, int Threshold = -1);
  void EndDrag(bool Drop);
  bool Dragging() const;
  virtual void DragDrop(TObject* Source, int X, int Y);

  // Docking (vcl/Docking.cpp). A drag of a dkDock control shows where it would land: in a
  // DockSite control under the mouse that takes it, else floating in a tool window of its own.
  // The site (or floating host) the control is docked in; null when it is not docked.
  TWinControl* HostDockSite() const;
  bool Floating() const;
  // Docks into NewSite (null: floats where it is), beside DropControl on ControlSide when the
  // site lays its clients out. False when the control's site refuses to let it go.
  bool ManualDock(TWinControl* NewSite, TControl* DropControl = nullptr, TAlign ControlSide = alNone);
  // Floats in a host whose client area is ScreenRect. False when the site refuses.
  bool ManualFloat(const TRect& ScreenRect);

  // Help topic (context help, vcl/ContextHelp.cpp); 0 asks the parent's.
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }

  // Forms store ClientWidth/ClientHeight rather than Width/Height.
  virtual bool IsSizeStored() const { return true; }
  void Loaded() override;

  // The action the control follows (vcl/ActnList.h), through its action link; nullptr: none.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TControlActionLink* ActionLink() const { return FActionLink; }

  // Events.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDrag;
  TCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;
  TStartDockEvent OnStartDock;
  TEndDragEvent OnEndDock;

protected:
  // Properties that descendants publish (using-declarations, TControlProps).
  AnsiString Caption() const { return GetText(); }
  void SetCaption(const AnsiString& Value) { SetText(Value); }
  AnsiString Text() const { return GetText(); }
  void SetText(const AnsiString& Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  TDragMode DragMode() const { return FDragMode; }
  virtual void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TCursor DragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value) { FDragCursor = Value; }
  TDragKind DragKind() const { return FDragKind; }
  void SetDragKind(TDragKind Value) { FDragKind = Value; }
  bool MouseInClient() const;
  // Clears the PopupMenu and Action references when they go away.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The link SetAction makes (the classic GetActionLinkClass).
  virtual TControlActionLink* CreateActionLink();
  // Takes the action's properties; with CheckDefaults only those still at their defaults.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // A TCustomAction takes the control's caption, enabled state, hint, visibility and OnClick.
  void AssignTo(TPersistent* Dest) override;

  AnsiString GetText() const;
  virtual void WndProc(TMessage& Message);
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Resize();
  // Asked before every size change (OnCanResize); false keeps the present size (a SetBounds
  // then changes nothing, a frame drag leaves the size).
  virtual bool CanResize(int& NewWidth, int& NewHeight);
  // The limits about to apply (OnConstrainedResize may change them).
  virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
  // Takes the anchor rules from the present bounds and the parent's client size.
  void UpdateAnchorRules();
  // Called when AutoSize is set and the content changes; the default keeps the bounds.
  virtual void AdjustSize();
  virtual void RequestAlign();
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DoStartDrag(TDragObject*& DragObject);
  virtual void DoEndDrag(TObject* Target, int X, int Y);
  virtual void DoStartDock(TDragDockObject*& DragObject);
  virtual void DoEndDock(TObject* Target, int X, int Y);
  // DC for drawing on the control; WindowHandle receives the window it belongs to.
  virtual HDC GetDeviceContext(HWND& WindowHandle);
  // Invalidates the control's rectangle on its parent.
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  void SendCancelMode(TControl* Sender);
  // The form (or null) whose FocusedControl is this control or contains it.
  TCustomForm* ParentForm() const;

  // Message handlers.
  void WMLButtonDown(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMRButtonDown(TMessage& Message);
  void WMRButtonDblClk(TMessage& Message);
  void WMRButtonUp(TMessage& Message);
  void WMMButtonDown(TMessage& Message);
  void WMMButtonDblClk(TMessage& Message);
  void WMMButtonUp(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentShowHintChanged(TMessage& Message);
  void CMBiDiModeChanged(TMessage& Message);
  void CMParentBiDiModeChanged(TMessage& Message);
  void CMHitTest(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMCursorChanged(TMessage& Message);

  // Styles as a descendant's constructor adjusts them.
  void IncludeStyle(TControlStyleElement E) { FControlStyle |= StyleOf(E); }
  void ExcludeStyle(TControlStyleElement E) { FControlStyle &= ~StyleOf(E); }

  // Stored predicates for the published-property tables.
  static bool ColorStored(const TObject* Obj) { return !static_cast<const TControl*>(Obj)->FParentColor; }
  static bool FontStored(const TObject* Obj) { return !static_cast<const TControl*>(Obj)->FParentFont; }
  static bool BiDiModeStored(const TObject* Obj) { return !static_cast<const TControl*>(Obj)->FParentBiDiMode; }
  static bool ShowHintStored(const TObject* Obj) { return !static_cast<const TControl*>(Obj)->FParentShowHint; }
  static bool SizeStored(const TObject* Obj) { return static_cast<const TControl*>(Obj)->IsSizeStored(); }
  static bool ConstraintsStored(const TObject* Obj) { return static_cast<const TControl*>(Obj)->FConstraints->Any(); }

private:
  friend class TWinControl;
  friend class TGraphicControl;
  friend class TControlCanvas;
  friend class TControlActionLink;
  friend struct TControlProps;
  void FontChanged(TObject* Sender);
  void DoActionChange(TObject* Sender);
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  // CanResize, ConstrainedResize and the limits; false when the size is refused.
  bool CheckNewSize(int& NewWidth, int& NewHeight);
  void ConstraintsChanged(TObject* Sender);
  void ReleaseFromGlobals();
  void SetZOrder(bool TopMost);
  // The dock drag (vcl/Docking.cpp), run by the drag machinery for a dkDock control.
  void DockDragStart();
  void DockDragMove(const TPoint& ScreenPos);
  void DockDragEnd(bool Drop);
  void DockDragRelease();
  void DockInto(TWinControl* Site, const TRect& ClientBounds);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  AnsiString FText;
  TColor FColor = clWindow;
  TFont* FFont = nullptr;
  bool FVisible = true;
  bool FEnabled = true;
  bool FParentColor = true;
  bool FParentFont = true;
  bool FParentShowHint = true;
  bool FParentBiDiMode = true;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FShowHint = false;
  bool FAutoSize = false;
  bool FUpdatingFromParent = false;
  bool FReleased = false;
  AnsiString FHint;
  TCursor FCursor = crDefault;
  TCursor FDragCursor = crDrag;
  TDragMode FDragMode = dmManual;
  TDragKind FDragKind = dkDrag;
  int FHelpContext = 0;
  TControlStyle FControlStyle;
  TControlState FControlState = 0;
  TPopupMenu* FPopupMenu = nullptr;
  TControlActionLink* FActionLink = nullptr;
  // Anchors and size limits (vcl/ControlLayout.cpp).
  TAnchors FAnchors = DefaultAnchors;
  TAnchorRules FAnchorRules;
  TSizeConstraints* FConstraints = nullptr;
  bool FAnchorMove = false;      // bounds set by the anchor layout: the rules stay
  bool FApplyingBounds = false;  // our own SetWindowPos: its size was checked already
};

// ---------------------------------------------------------------------------------------------
class TWinControl : public TControl {
  ORV_CLASS(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  void BeforeDestruction() override;

  // The window: created on first use (EInvalidOperation "Control '%s' has no parent window"
  // when a child control has no parent yet).
  HWND Handle();
  HWND WindowHandle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // A foreign window to be the parent of a control that has no Parent.
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  // Destroys and creates the window again, keeping its state (text, bounds, focus).
  void RecreateWnd();

  // Children: graphic controls first, then windowed ones, each in z-order (bottom first).
  int ControlCount() const { return int(FControls.size() + FWinControls.size()); }
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* Control) const;
  // The child at a client point: visible, enabled (unless AllowDisabled) and answering
  // CM_HITTEST with non-zero; windowed children only when AllowWinControls. Top-most first.
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false) const;
  // Sends Message to each child until one answers with a non-zero Result.
  void Broadcast(TMessage& Message);
  // Sends Msg (WParam 0, LParam 0) to every child.
  void NotifyControls(unsigned Msg);

  // Focus and tab order.
  bool Focused() const;
  virtual bool CanFocus() const;
  virtual void SetFocus();
  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  // Windowed children in tab order, each followed by its own list.
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // Visible here and in every parent up to a shown window.
  bool Showing() const { return FShowing; }
  void UpdateControlState();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void Invalidate() override;
  void Repaint() override;
  // Paints the window into a foreign DC with its top-left corner at (X, Y): its border (the
  // sunken client edge or the single line), then the client where the window has it, erased and
  // painted by the window's own procedure (WM_ERASEBKGND and WM_PAINT with the DC), with the
  // graphic children, then each visible windowed child in the same way. csPaintCopy is set
  // meanwhile.
  void PaintTo(HDC DC, int X, int Y);

  // Alignment of the children.
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return FAlignLevel > 0; }

  TBrush* Brush() const { return FBrush; }

  // Docking (vcl/Docking.cpp). A DockSite control takes dkDock controls dropped on it; with
  // UseDockManager its dock manager lays them out by the side each was dropped on.
  bool DockSite() const { return FDockSite; }
  void SetDockSite(bool Value);
  bool UseDockManager() const { return FUseDockManager; }
  void SetUseDockManager(bool Value);
  TDockManager* DockManager() const { return FDockManager; }
  int DockClientCount() const { return int(FDockClients.size()); }
  TControl* DockClients(int Index) const;
  // Sets InfluenceRect (the site's screen rectangle on entry) and CanDock (true on entry) for a
  // dock drag of Client with the mouse at MousePos (screen); OnGetSiteInfo may change both.
  virtual void GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock);
  // The dock drag over the site (X, Y in client coordinates): places Source's DockRect, then
  // OnDockOver may refuse (Accept false) or move it.
  virtual void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept);
  // Takes Source's control as a docked client, then OnDockDrop.
  virtual void DockDrop(TDragDockObject* Source, int X, int Y);
  // Whether Client may leave for NewTarget (null: floating); OnUnDock decides.
  virtual bool DoUnDock(TWinControl* NewTarget, TControl* Client);
  TDockDropEvent OnDockDrop;
  TDockOverEvent OnDockOver;
  TGetSiteInfoEvent OnGetSiteInfo;
  TUnDockEvent OnUnDock;

  void Loaded() override;
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  void DefaultHandler(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void SetParent(TWinControl* AParent) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

protected:
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value);
  static bool Ctl3DStored(const TObject* Obj) { return !static_cast<const TWinControl*>(Obj)->FParentCtl3D; }

  // Window creation.
  virtual void CreateParams(TCreateParams& Params);
  // Makes the window a subclass of a system class ("EDIT", "BUTTON", ...): its class data is
  // copied and its procedure becomes DefaultHandler's target.
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  // WS_EX_RTLREADING, WS_EX_LEFTSCROLLBAR and the mirrored alignment as BiDiMode asks.
  void AddBiDiModeExStyle(DWORD& ExStyle) const;
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();
  WNDPROC DefWndProc() const { return FDefWndProc; }
  void SetDefWndProc(WNDPROC Value) { FDefWndProc = Value; }
  // Reads the window's rectangle back into Left/Top/Width/Height.
  void UpdateBounds();

  // Painting: PaintHandler paints the window (PaintWindow) then the graphic children.
  void PaintHandler(TMessage& Message);
  virtual void PaintWindow(HDC DC);
  void PaintControls(HDC DC, TControl* First);

  // Alignment.
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect) {}
  void AlignControl(TControl* AControl);
  // Places the children with Align = alNone by their anchor rules.
  void AnchorControls();

  // Input method while the control has the focus (vcl/Ime.cpp).
  TImeMode ImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode Value);
  const TImeName& ImeName() const { return FImeName; }
  void SetImeName(const TImeName& Value);
  // Applies them to the focused window (this one or a child window of it); ResetIme puts back
  // what SetIme changed.
  void SetIme();
  void ResetIme();

  // Keyboard.
  virtual void KeyDown(unsigned short& Key, TShiftState Shift);
  virtual void KeyUp(unsigned short& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // True when the key was handled (OnKeyDown and the form's key preview).
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  // The form's menu shortcut for a key message; true when a menu item ran.
  bool IsMenuKey(TMessage& Message);

  void WndProc(TMessage& Message) override;
  HDC GetDeviceContext(HWND& WindowHandle) override;
  void RemoveFocus(bool Removing);
  // The window that this child should follow in the z-order (null: top).
  HWND PrecedingWindow(TWinControl* Control) const;

  // Message handlers.
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMNotify(TMessage& Message);
  void WMDrawItem(TMessage& Message);
  void WMMeasureItem(TMessage& Message);
  void WMDeleteItem(TMessage& Message);
  void WMCompareItem(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMCtlColor(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMSysKeyDown(TMessage& Message);
  void WMKeyUp(TMessage& Message);
  void WMSysKeyUp(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMMove(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void WMMouseLeave(TMessage& Message);
  void WMSysColorChange(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CNKeyUp(TMessage& Message);
  void CNChar(TMessage& Message);
  void CNSysKeyDown(TMessage& Message);
  void CNSysChar(TMessage& Message);
  void CNCtlColor(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMShowHintChanged(TMessage& Message);
  void CMBiDiModeChanged(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);
  void CMParentCtl3DChanged(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMFocusChanged(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMSysColorChange(TMessage& Message);
  void CMInvalidate(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);
  void WMHelp(TMessage& Message);

private:
  friend class TControl;
  friend class TDockManager;
  friend class TCustomForm;
  friend struct TControlProps;
  friend LRESULT CALLBACK ControlsStdWndProc(HWND, UINT, WPARAM, LPARAM);
  friend bool ControlsReflect(TWinControl*, HWND, TMessage&);
  void MainWndProc(TMessage& Message);
  bool IsControlMouseMsg(TMessage& Message);
  void UpdateShowing();
  void Insert(TControl* AControl);
  void Remove(TControl* AControl);
  void FixupTabList();
  void TrackMouseLeave();
  TWinControl* FindChildById(int Id) const;
  // Docking (vcl/Docking.cpp).
  void RemoveDockClient(TControl* Client);
  void AlignDockClients(const TRect& Rect);
  void ReleaseDocking();

  HWND FHandle = nullptr;
  HWND FParentWindow = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;      // graphic children
  std::vector<TWinControl*> FWinControls; // windowed children
  std::vector<TWinControl*> FTabList;     // windowed children in tab order
  TBrush* FBrush = nullptr;
  int FTabOrder = -1;                     // streamed value, applied after loading
  int FAlignLevel = 0;
  int FControlId = 0;
  bool FTabStop = false;
  bool FShowing = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  bool FShowPending = false;               // showing its children before itself
  // Docking.
  bool FDockSite = false;
  bool FUseDockManager = false;
  std::vector<TControl*> FDockClients;
  TDockManager* FDockManager = nullptr;
  // Input method.
  TImeMode FImeMode = imDontCare;
  TImeName FImeName;
  TImeChanges FImeChanges;
};

// ---------------------------------------------------------------------------------------------
// A control without a window: its parent paints it (Paint on Canvas) and routes the mouse to it.
class TGraphicControl : public TControl {
  ORV_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas; }
  void Dispatch(TMessage& Message) override;
protected:
  virtual void Paint() {}
  void WMPaint(TMessage& Message);
private:
  TControlCanvas* FCanvas;
};

// A windowed control that paints itself (Paint on Canvas).
class TCustomControl : public TWinControl {
  ORV_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas; }
  void Dispatch(TMessage& Message) override;
protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  void WMPaint(TMessage& Message);
private:
  TControlCanvas* FCanvas;
};

// ---------------------------------------------------------------------------------------------
// Hints. A control's Hint is "short|long": the hint window shows the short part, the
// application's Hint (status text) the long part; without "|" both are the whole text.
AnsiString GetShortHint(const AnsiString& Hint);
AnsiString GetLongHint(const AnsiString& Hint);

// What the application is about to show for a control: CM_HINTSHOW's LParam (a non-zero result
// shows nothing) and OnShowHint's argument, either of which may change it.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;          // screen position of the hint window's top-left corner
  int HintMaxWidth = 0;    // the width the text wraps at
  TColor HintColor = clInfoBk;
  TRect CursorRect;        // the control's area (client coordinates) the hint stays in
  TPoint CursorPos;        // the cursor in client coordinates
  int HideTimeout = 0;     // ms until the hint hides itself (0: it stays)
  AnsiString HintStr;
};

// The pop-up window showing hints: a borderless tool window above every other, never active,
// transparent to the mouse.
class THintWindow : public TCustomControl {
  ORV_CLASS(THintWindow, TCustomControl)
public:
  explicit THintWindow(TComponent* AOwner);
  // Shows the window over Rect (screen coordinates) with Hint as its text, without activating it.
  virtual void ShowHintRect(const TRect& Rect, const AnsiString& Hint);
  // Whether a queued message ends the hint: keys, mouse buttons, commands and activation do; a
  // mouse move does not.
  virtual bool IsHintEndMessage(const MSG& Msg);
  // The bounds (from 0, 0) the window needs for Hint wrapped at MaxWidth.
  virtual TRect CalcHintRect(int MaxWidth, const AnsiString& Hint);
  // Takes the hint off the screen (the window goes).
  void ReleaseHandle();
  using TControl::Caption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WMNCHitTest(TMessage& Message);
};

// ---------------------------------------------------------------------------------------------
// Published-property entries for the protected properties of TControl and TWinControl, for the
// tables of descendants that publish them:
//   static constinit const TPropInfo TButton_Props[] = {
//     TControlProps::Caption(), TControlProps::Color(clBtnFace), TControlProps::OnClick(), ...
struct TControlProps {
  static constexpr TPropInfo Align() { return PropEnum<&TControl::Align, &TControl::SetAlign>("Align", TAlignType, alNone); }
  static constexpr TPropInfo Anchors() {
    return PropSet<&TControl::Anchors, &TControl::SetAnchors>("Anchors", TAnchorKindType, DefaultAnchors);
  }
  static constexpr TPropInfo Constraints() {
    return PropObject<&TControl::Constraints, &TControl::SetConstraints>("Constraints", &TControl::ConstraintsStored);
  }
  static constexpr TPropInfo AutoSize(bool Default) {
    return PropBool<&TControl::AutoSize, &TControl::SetAutoSize>("AutoSize", Default);
  }
  static constexpr TPropInfo Caption() { return PropStr<&TControl::Caption, &TControl::SetCaption>("Caption"); }
  static constexpr TPropInfo Text() { return PropStr<&TControl::Text, &TControl::SetText>("Text"); }
  static constexpr TPropInfo Color(TColor Default) {
    return PropColor<&TControl::Color, &TControl::SetColor>("Color", Default, &TControl::ColorStored);
  }
  static constexpr TPropInfo Enabled() { return PropBool<&TControl::Enabled, &TControl::SetEnabled>("Enabled", true); }
  static constexpr TPropInfo Font() { return PropObject<&TControl::Font, &TControl::SetFont>("Font", &TControl::FontStored); }
  static constexpr TPropInfo ParentColor(bool Default = true) {
    return PropBool<&TControl::ParentColor, &TControl::SetParentColor>("ParentColor", Default);
  }
  static constexpr TPropInfo ParentFont(bool Default = true) {
    return PropBool<&TControl::ParentFont, &TControl::SetParentFont>("ParentFont", Default);
  }
  static constexpr TPropInfo BiDiMode() {
    return PropEnum<&TControl::BiDiMode, &TControl::SetBiDiMode>("BiDiMode", TBiDiModeType, bdLeftToRight,
                                                                &TControl::BiDiModeStored);
  }
  static constexpr TPropInfo ParentBiDiMode() {
    return PropBool<&TControl::ParentBiDiMode, &TControl::SetParentBiDiMode>("ParentBiDiMode", true);
  }
  static constexpr TPropInfo ParentShowHint() {
    return PropBool<&TControl::ParentShowHint, &TControl::SetParentShowHint>("ParentShowHint", true);
  }
  static constexpr TPropInfo ShowHint() {
    return PropBool<&TControl::ShowHint, &TControl::SetShowHint>("ShowHint", false, &TControl::ShowHintStored);
  }
  static constexpr TPropInfo Visible() { return PropBool<&TControl::Visible, &TControl::SetVisible>("Visible", true); }
  static constexpr TPropInfo DragCursor() {
    return PropIntType<&TControl::DragCursor, &TControl::SetDragCursor>("DragCursor", "TCursor", crDrag);
  }
  static constexpr TPropInfo DragMode() {
    return PropEnum<&TControl::DragMode, &TControl::SetDragMode>("DragMode", TDragModeType, dmManual);
  }
  static constexpr TPropInfo TabOrder() {
    return PropInt<&TWinControl::TabOrder, &TWinControl::SetTabOrder>("TabOrder", -1);
  }
  static constexpr TPropInfo TabStop(bool Default) {
    return PropBool<&TWinControl::TabStop, &TWinControl::SetTabStop>("TabStop", Default);
  }
  static constexpr TPropInfo Ctl3D() {
    return PropBool<&TWinControl::Ctl3D, &TWinControl::SetCtl3D>("Ctl3D", true, &TWinControl::Ctl3DStored);
  }
  static constexpr TPropInfo ParentCtl3D() {
    return PropBool<&TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D>("ParentCtl3D", true);
  }
  static constexpr TPropInfo UseDockManager() {
    return PropBool<&TWinControl::UseDockManager, &TWinControl::SetUseDockManager>("UseDockManager", false);
  }
  // Docking, context help and the input method.
  static constexpr TPropInfo DockSite() {
    return PropBool<&TWinControl::DockSite, &TWinControl::SetDockSite>("DockSite", false);
  }
  static constexpr TPropInfo DragKind() {
    return PropEnum<&TControl::DragKind, &TControl::SetDragKind>("DragKind", TDragKindType, dkDrag);
  }
  static constexpr TPropInfo HelpContext() {
    return PropInt<&TControl::HelpContext, &TControl::SetHelpContext>("HelpContext", 0);
  }
  static constexpr TPropInfo ImeMode() {
    return PropEnum<&TWinControl::ImeMode, &TWinControl::SetImeMode>("ImeMode", TImeModeType, imDontCare);
  }
  static constexpr TPropInfo ImeName() {
    return PropStr<&TWinControl::ImeName, &TWinControl::SetImeName>("ImeName");
  }
  static constexpr TPropInfo OnDockDrop() { return PropEvent<&TWinControl::OnDockDrop>("OnDockDrop"); }
  static constexpr TPropInfo OnDockOver() { return PropEvent<&TWinControl::OnDockOver>("OnDockOver"); }
  static constexpr TPropInfo OnEndDock() { return PropEvent<&TControl::OnEndDock>("OnEndDock"); }
  static constexpr TPropInfo OnGetSiteInfo() { return PropEvent<&TWinControl::OnGetSiteInfo>("OnGetSiteInfo"); }
  static constexpr TPropInfo OnStartDock() { return PropEvent<&TControl::OnStartDock>("OnStartDock"); }
  static constexpr TPropInfo OnUnDock() { return PropEvent<&TWinControl::OnUnDock>("OnUnDock"); }
  static constexpr TPropInfo OnClick() { return PropEvent<&TControl::OnClick>("OnClick"); }
  static constexpr TPropInfo OnDblClick() { return PropEvent<&TControl::OnDblClick>("OnDblClick"); }
  static constexpr TPropInfo OnMouseDown() { return PropEvent<&TControl::OnMouseDown>("OnMouseDown"); }
  static constexpr TPropInfo OnMouseMove() { return PropEvent<&TControl::OnMouseMove>("OnMouseMove"); }
  static constexpr TPropInfo OnMouseUp() { return PropEvent<&TControl::OnMouseUp>("OnMouseUp"); }
  static constexpr TPropInfo OnResize() { return PropEvent<&TControl::OnResize>("OnResize"); }
  static constexpr TPropInfo OnCanResize() { return PropEvent<&TControl::OnCanResize>("OnCanResize"); }
  static constexpr TPropInfo OnConstrainedResize() {
    return PropEvent<&TControl::OnConstrainedResize>("OnConstrainedResize");
  }
  static constexpr TPropInfo OnDragDrop() { return PropEvent<&TControl::OnDragDrop>("OnDragDrop"); }
  static constexpr TPropInfo OnDragOver() { return PropEvent<&TControl::OnDragOver>("OnDragOver"); }
  static constexpr TPropInfo OnEndDrag() { return PropEvent<&TControl::OnEndDrag>("OnEndDrag"); }
  static constexpr TPropInfo OnStartDrag() { return PropEvent<&TControl::OnStartDrag>("OnStartDrag"); }
  static constexpr TPropInfo OnEnter() { return PropEvent<&TWinControl::OnEnter>("OnEnter"); }
  static constexpr TPropInfo OnExit() { return PropEvent<&TWinControl::OnExit>("OnExit"); }
  static constexpr TPropInfo OnKeyDown() { return PropEvent<&TWinControl::OnKeyDown>("OnKeyDown"); }
  static constexpr TPropInfo OnKeyPress() { return PropEvent<&TWinControl::OnKeyPress>("OnKeyPress"); }
  static constexpr TPropInfo OnKeyUp() { return PropEvent<&TWinControl::OnKeyUp>("OnKeyUp"); }
};

// ---------------------------------------------------------------------------------------------
// Hands the exception being handled (call it inside a catch block) to Application's
// HandleException, or writes it to stderr when there is no application object.
void HandleVclException(TObject* Sender);

// The control that owns a window (null for windows of other code).
TWinControl* FindControl(HWND Handle);
// The control under a screen point (graphic children included), null when none.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
TWinControl* FindVCLWindow(const TPoint& Pos);
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control the mouse is over, as the last CM_MOUSEENTER announced (null when none).
TControl* MouseControl();

// True when Str has "&" followed by the character VK (case-insensitive; "&&" is a literal "&").
bool IsAccel(unsigned short VK, const AnsiString& Str);
// Shift states from mouse-message key flags, key-message data and the keyboard now.
TShiftState KeysToShiftState(unsigned Keys);
TShiftState KeyDataToShiftState(intptr_t KeyData);
TShiftState GetShiftState();
// Distance the mouse must move with the button down before an automatic drag starts.
constexpr int DragThreshold = 5;

// True where the system has the new-style (3-D, version 4 and later) controls.
extern const bool NewStyleControls;
