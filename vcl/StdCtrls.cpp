#include "vcl/StdCtrls.h"
#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"
#include <algorithm>
#include <utility>

constexpr TEnumType TTextLayoutType{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
constexpr TEnumType TEditCharCaseType{"TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}};
constexpr TEnumType TScrollStyleType{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
constexpr TEnumType TCheckBoxStateType{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};
constexpr TEnumType TListBoxStyleType{"TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"}};
constexpr TEnumType TComboBoxStyleType{
    "TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};
constexpr TEnumType TScrollBarKindType{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};

void ApplyBorder(TCreateParams& Params, TBorderStyle Style, bool Ctl3D) {
  if (Style != bsSingle) return;
  if (Ctl3D) Params.ExStyle |= WS_EX_CLIENTEDGE;
  else Params.Style |= WS_BORDER;
}

namespace {


// Owner-drawn item drawing shared by list and combo boxes: the canvas is bound to the item DC
// for the call of Draw(Index, Rect, State).
template <class F>
void OwnerDrawItem(const TControl* Control, TCanvas* Canvas, TFont* Font, TBrush* Brush, TMessage& Message,
                   const F& Draw) {
  auto* Dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  TOwnerDrawState State = LOWORD(Dis->itemState);
  TSaveDC Save(Dis->hDC);
  struct Unbind {
    TCanvas* C;
    ~Unbind() { C->SetHandle(nullptr); }
  } Guard{Canvas};
  Canvas->SetHandle(Dis->hDC);
  // Text the canvas writes reads as the control does.
  const int Reading = Control->UseRightToLeftReading() ? ETO_RTLREADING : 0;
  Canvas->SetTextFlags((Canvas->TextFlags() & ~ETO_RTLREADING) | Reading);
  Canvas->SetFont(Font);
  Canvas->SetBrush(Brush);
  TRect R(Dis->rcItem);
  if (int(Dis->itemID) >= 0 && (State & (1u << odSelected))) {
    Canvas->Brush()->SetColor(clHighlight);
    Canvas->Font()->SetColor(clHighlightText);
  }
  if (int(Dis->itemID) >= 0) Draw(int(Dis->itemID), R, State);
  else Canvas->FillRect(R);
  if (State & (1u << odFocused)) ::DrawFocusRect(Dis->hDC, &Dis->rcItem);
  Message.Result = 1;
}

// Line breaks as the edit control wants them: CR LF.
AnsiString ToCRLF(const AnsiString& S) {
  std::string R;
  const std::string& In = S.str();
  for (size_t I = 0; I < In.size(); ++I) {
    char C = In[I];
    if (C == '\r') {
      R += "\r\n";
      if (I + 1 < In.size() && In[I + 1] == '\n') ++I;
    } else if (C == '\n') {
      R += "\r\n";
    } else {
      R += C;
    }
  }
  return R;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  IncludeStyle(csOpaque);
  IncludeStyle(csReplicatable);
  SetBounds(Left(), Top(), 65, 17);
  TControl::SetAutoSize(true);
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomLabel::DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags) {
  AnsiString Text = GetLabelText();
  if ((Flags & DT_CALCRECT) &&
      (Text.IsEmpty() || (FShowAccelChar && Text.Length() == 1 && Text[1] == '&')))
    Text += ' ';
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  ACanvas->SetFont(Font());
  if (!Enabled()) {
    Rect.Offset(1, 1);
    ACanvas->Font()->SetColor(clBtnHighlight);
    DrawTextA(ACanvas->Handle(), Text.c_str(), Text.Length(), &AsRECT(Rect), Flags);
    Rect.Offset(-1, -1);
    ACanvas->Font()->SetColor(clBtnShadow);
  }
  DrawTextA(ACanvas->Handle(), Text.c_str(), Text.Length(), &AsRECT(Rect), Flags);
}

void TCustomLabel::Paint() {
  static const unsigned Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TCanvas* C = Canvas();
  if (!FTransparent) {
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(ClientRect());
  }
  C->Brush()->SetStyle(bsClear);
  TRect R = ClientRect();
  unsigned Flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | Alignments[FAlignment];
  if (FLayout != tlTop) {
    TRect Calc = R;
    DoDrawText(C, Calc, Flags | DT_CALCRECT);
    int Dy = FLayout == tlBottom ? Height() - Calc.Bottom : (Height() - Calc.Bottom) / 2;
    R.Offset(0, Dy);
  }
  DoDrawText(C, R, Flags);
}

void TCustomLabel::AdjustBounds() {
  if (HasState(csReading | csLoading | csDestroying) || !AutoSize()) return;
  TRect R = ClientRect();
  TWindowDC DC(nullptr);
  TCanvas Measure;
  Measure.SetHandle(DC);
  DoDrawText(&Measure, R, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
  Measure.SetHandle(nullptr);
  int X = Left();
  if (FAlignment == taRightJustify) X += Width() - R.Right;
  SetBounds(X, Top(), R.Right, R.Bottom);
}

void TCustomLabel::AdjustSize() { AdjustBounds(); }

void TCustomLabel::SetAutoSize(bool Value) {
  if (AutoSize() == Value) return;
  TControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HasState(csLoading)) return;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  if (HasState(csLoading)) return;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (HasState(csLoading)) return;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  if (HasState(csLoading)) return;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value) ExcludeStyle(csOpaque);
  else IncludeStyle(csOpaque);
  if (HasState(csLoading)) return;
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::CMTextChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& Message) {
  if (FFocusControl && Enabled() && FShowAccelChar && IsAccel((unsigned short)Message.WParam, GetText()) &&
      FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result = 1;
  }
}

ORV_IMPLEMENT_CLASS(TCustomLabel, TGraphicControl)

static constinit const TPropInfo TLabel_Props[] = {
    TControlProps::Align(),
    PropEnum<&TCustomLabel::Alignment, &TCustomLabel::SetAlignment>("Alignment", TAlignmentType, taLeftJustify),
    TControlProps::Anchors(),
    TControlProps::AutoSize(true),
    TControlProps::Caption(),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    PropRef<&TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl>("FocusControl"),
    TControlProps::Font(),
    PropEnum<&TCustomLabel::Layout, &TCustomLabel::SetLayout>("Layout", TTextLayoutType, tlTop),
    TControlProps::ParentColor(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    PropBool<&TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar>("ShowAccelChar", true),
    TControlProps::ShowHint(),
    PropBool<&TCustomLabel::Transparent, &TCustomLabel::SetTransparent>("Transparent", false),
    TControlProps::Visible(),
    PropBool<&TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap>("WordWrap", false),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TLabel, TCustomLabel, TLabel_Props)

// ---------------------------------------------------------------------------------------------
// TButtonControl, TButton

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {}
ORV_IMPLEMENT_CLASS(TButtonControl, TWinControl)

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  SetBounds(Left(), Top(), 75, 25);
  SetTabStop(true);
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd() {
  TButtonControl::CreateWnd();
  FActive = FDefault;
}

void TButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  if (HasState(csLoading) || !HandleAllocated()) return;
  if (TCustomForm* Form = GetParentForm(this))
    Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(Form->ActiveControl()));
}

void TButton::SetButtonStyle(bool ADefault) {
  if (!HandleAllocated()) return;
  LONG Style = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongA(WindowHandle(), GWL_STYLE) & 0xF) != Style)
    SendMessageA(WindowHandle(), BM_SETSTYLE, WPARAM(Style), 1);
}

void TButton::Click() {
  if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == BN_CLICKED) Click();
}

void TButton::CMDialogKey(TMessage& Message) {
  unsigned short Key = (unsigned short)Message.WParam;
  TShiftState Shift = KeyDataToShiftState(Message.LParam) & (ShiftOf(ssShift) | ShiftOf(ssCtrl) | ShiftOf(ssAlt));
  if (((Key == VK_RETURN && FActive) || (Key == VK_ESCAPE && FCancel)) && Shift == 0 && CanFocus()) {
    Click();
    Message.Result = 1;
  } else {
    inherited::Dispatch(Message);
  }
}

void TButton::CMDialogChar(TMessage& Message) {
  if (IsAccel((unsigned short)Message.WParam, GetText()) && CanFocus()) {
    Click();
    Message.Result = 1;
  } else {
    inherited::Dispatch(Message);
  }
}

void TButton::CMFocusChanged(TMessage& Message) {
  auto* Sender = reinterpret_cast<TWinControl*>(Message.LParam);
  if (Sender && Sender->Is<TButton>()) FActive = Sender == this;
  else FActive = FDefault;
  SetButtonStyle(FActive);
  inherited::Dispatch(Message);
}

static constinit const TPropInfo TButton_Props[] = {
    TControlProps::Anchors(),
    PropBool<&TButton::Cancel, &TButton::SetCancel>("Cancel", false),
    TControlProps::Caption(),
    TControlProps::Constraints(),
    PropBool<&TButton::Default, &TButton::SetDefault>("Default", false),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropInt<&TButton::ModalResult, &TButton::SetModalResult>("ModalResult", mrNone),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TButton, TButtonControl, TButton_Props)

// ---------------------------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(StyleOf(csClickEvents) | StyleOf(csSetCaption) | StyleOf(csDoubleClicks) |
                  StyleOf(csFixedHeight));
  SetBounds(Left(), Top(), 121, 25);
  SetTabStop(true);
  SetParentColor(false);
  TControl::SetColor(clWindow);
  TControl::SetAutoSize(true);
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_CTL3DCHANGED: CMCtl3DChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  static const DWORD CharCases[] = {0, ES_UPPERCASE, ES_LOWERCASE};
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | CharCases[FCharCase];
  ApplyBorder(Params, FBorderStyle, Ctl3D());
  if (FPasswordChar) Params.Style |= ES_PASSWORD;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
}

void TCustomEdit::CreateWnd() {
  FCreating = true;
  try {
    TWinControl::CreateWnd();
  } catch (...) {
    FCreating = false;
    throw;
  }
  FCreating = false;
  HWND H = WindowHandle();
  SendMessageA(H, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
  if (FPasswordChar) SendMessageA(H, EM_SETPASSWORDCHAR, WPARAM((unsigned char)FPasswordChar), 0);
  SendMessageA(H, EM_SETMODIFY, FModified, 0);
  SendMessageA(H, EM_SETSEL, FSelStart, FSelEnd);
  FSelStart = FSelEnd = 0;
  UpdateHeight();
}

void TCustomEdit::DestroyWnd() {
  if (HandleAllocated()) {
    FModified = SendMessageA(WindowHandle(), EM_GETMODIFY, 0, 0) != 0;
    SendMessageA(WindowHandle(), EM_GETSEL, WPARAM(&FSelStart), LPARAM(&FSelEnd));
  }
  TWinControl::DestroyWnd();
}

void TCustomEdit::Loaded() {
  TWinControl::Loaded();
  UpdateHeight();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::AdjustHeight() {
  TWindowDC DC(nullptr);
  TEXTMETRICA Metrics{};
  {
    TSelectGuard Sel(DC, Font()->Handle());
    GetTextMetricsA(DC, &Metrics);
  }
  int Extra = GetSystemMetrics(SM_CYBORDER) * (Ctl3D() ? 8 : 6);
  SetHeight(Metrics.tmHeight + Extra);
}

void TCustomEdit::UpdateHeight() {
  if (AutoSize() && FBorderStyle == bsSingle) {
    IncludeStyle(csFixedHeight);
    if (!HasState(csLoading | csDestroying)) AdjustHeight();
  } else {
    ExcludeStyle(csFixedHeight);
  }
}

void TCustomEdit::SetAutoSize(bool Value) {
  if (AutoSize() == Value) return;
  TWinControl::SetAutoSize(Value);
  if (HasState(csLoading)) return;
  UpdateHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HasState(csLoading)) return;
  UpdateHeight();
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) {
    AnsiString S = Text();
    if (Value == ecUpperCase) S = UpperCase(S);
    else if (Value == ecLowerCase) S = LowerCase(S);
    RecreateWnd();
    SetText(S);
  }
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(int Value) {
  if (FMaxLength == Value) return;
  FMaxLength = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_LIMITTEXT, WPARAM(Value), 0);
}

void TCustomEdit::SetOEMConvert(bool Value) {
  if (FOEMConvert == Value) return;
  FOEMConvert = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  if (HasState(csLoading)) return;
  // ES_PASSWORD only takes effect at creation.
  if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETREADONLY, Value, 0);
}

bool TCustomEdit::Modified() const {
  if (WindowHandle()) return SendMessageA(WindowHandle(), EM_GETMODIFY, 0, 0) != 0;
  return FModified;
}

void TCustomEdit::SetModified(bool Value) {
  FModified = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETMODIFY, Value, 0);
}

int TCustomEdit::SelStart() {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  return int(Start);
}

void TCustomEdit::SetSelStart(int Value) { SendMessageA(Handle(), EM_SETSEL, WPARAM(Value), LPARAM(Value)); }

int TCustomEdit::SelLength() {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  return int(End - Start);
}

void TCustomEdit::SetSelLength(int Value) {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  SendMessageA(Handle(), EM_SETSEL, WPARAM(Start), LPARAM(int(Start) + Value));
  SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

AnsiString TCustomEdit::SelText() {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  return Text().SubString(int(Start) + 1, int(End - Start));
}

void TCustomEdit::SetSelText(const AnsiString& Value) {
  SendMessageA(Handle(), EM_REPLACESEL, TRUE, LPARAM(Value.c_str()));
}

void TCustomEdit::SelectAll() { SendMessageA(Handle(), EM_SETSEL, 0, -1); }
void TCustomEdit::ClearSelection() { SendMessageA(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::Clear() { SetText(AnsiString()); }
bool TCustomEdit::CanUndo() { return SendMessageA(Handle(), EM_CANUNDO, 0, 0) != 0; }
void TCustomEdit::Undo() { SendMessageA(Handle(), WM_UNDO, 0, 0); }
void TCustomEdit::ClearUndo() { SendMessageA(Handle(), EM_EMPTYUNDOBUFFER, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }

void TCustomEdit::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == EN_CHANGE && !FCreating) Change();
}

void TCustomEdit::CMEnter(TMessage& Message) {
  if (FAutoSelect && !(ControlState() & StateOf(csLButtonDown)) && HandleAllocated() &&
      !(GetWindowLongA(WindowHandle(), GWL_STYLE) & ES_MULTILINE))
    SelectAll();
  inherited::Dispatch(Message);
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  if (AutoSize() && !HasState(csLoading)) UpdateHeight();
}

void TCustomEdit::CMCtl3DChanged(TMessage& Message) {
  if (!HasState(csLoading)) {
    UpdateHeight();
    if (HandleAllocated()) RecreateWnd();
  }
  inherited::Dispatch(Message);
}

ORV_IMPLEMENT_CLASS(TCustomEdit, TWinControl)

static constinit const TPropInfo TEdit_Props[] = {
    TControlProps::Anchors(),
    PropBool<&TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect>("AutoSelect", true),
    TControlProps::AutoSize(true),
    PropEnum<&TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle>("BorderStyle", TBorderStyleType, bsSingle),
    PropEnum<&TCustomEdit::CharCase, &TCustomEdit::SetCharCase>("CharCase", TEditCharCaseType, ecNormal),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropBool<&TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection>("HideSelection", true),
    PropInt<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>("MaxLength", 0),
    PropBool<&TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert>("OEMConvert", false),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PropChar<&TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar>("PasswordChar", 0),
    PopupMenuProp(),
    PropBool<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>("ReadOnly", false),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Text(),
    TControlProps::Visible(),
    PropEvent<&TCustomEdit::OnChange>("OnChange"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TEdit, TCustomEdit, TEdit_Props)

// ---------------------------------------------------------------------------------------------
// TCustomMemo and its lines.

namespace {

// The lines of a memo: the window's lines (soft breaks included) while it exists, the lines of
// the control's text before that.
class TMemoStrings : public TStrings {
  ORV_CLASS(TMemoStrings, TStrings)
public:
  explicit TMemoStrings(TCustomMemo* AMemo) : Memo(AMemo) {}

  int Count() const override {
    HWND H = Memo->WindowHandle();
    if (!H) return TextLines().Count();
    int N = int(SendMessageA(H, EM_GETLINECOUNT, 0, 0));
    LRESULT LastStart = SendMessageA(H, EM_LINEINDEX, WPARAM(N - 1), 0);
    if (N > 0 && SendMessageA(H, EM_LINELENGTH, WPARAM(LastStart), 0) == 0) --N;
    return N;
  }

  AnsiString Get(int Index) const override {
    CheckIndex(Index, Count());
    HWND H = Memo->WindowHandle();
    if (!H) return TextLines().Get(Index);
    LRESULT Start = SendMessageA(H, EM_LINEINDEX, WPARAM(Index), 0);
    int Len = int(SendMessageA(H, EM_LINELENGTH, WPARAM(Start), 0));
    std::string Buf(size_t(std::max(Len, 1) + 1), '\0');
    *reinterpret_cast<WORD*>(Buf.data()) = WORD(Buf.size());
    int Got = int(SendMessageA(H, EM_GETLINE, WPARAM(Index), LPARAM(Buf.data())));
    Got = std::clamp(Got, 0, Len);
    return AnsiString(Buf.data(), Got);
  }

  void Put(int Index, const AnsiString& S) override {
    CheckIndex(Index, Count());
    HWND H = Memo->WindowHandle();
    if (!H) {
      TStringList L;
      L.SetText(Memo->Text());
      L.Put(Index, S);
      Memo->SetText(L.Text());
      return;
    }
    LRESULT Start = SendMessageA(H, EM_LINEINDEX, WPARAM(Index), 0);
    LRESULT Len = SendMessageA(H, EM_LINELENGTH, WPARAM(Start), 0);
    SendMessageA(H, EM_SETSEL, WPARAM(Start), LPARAM(Start + Len));
    SendMessageA(H, EM_REPLACESEL, 0, LPARAM(S.c_str()));
  }

  void Insert(int Index, const AnsiString& S) override {
    if (Index < 0 || Index > Count()) throw EStringListError(Format("List index out of bounds (%d)", {Index}));
    HWND H = Memo->WindowHandle();
    if (!H) {
      TStringList L;
      L.SetText(Memo->Text());
      L.Insert(Index, S);
      Memo->SetText(L.Text());
      return;
    }
    LRESULT Start = SendMessageA(H, EM_LINEINDEX, WPARAM(Index), 0);
    AnsiString Line;
    if (Start >= 0) {
      Line = S + "\r\n";
    } else {
      // After the last line, which has no line break yet.
      Start = SendMessageA(H, EM_LINEINDEX, WPARAM(Index - 1), 0);
      if (Start < 0) return;
      Start += SendMessageA(H, EM_LINELENGTH, WPARAM(Start), 0);
      Line = "\r\n" + S;
    }
    SendMessageA(H, EM_SETSEL, WPARAM(Start), LPARAM(Start));
    SendMessageA(H, EM_REPLACESEL, 0, LPARAM(Line.c_str()));
  }

  void Delete(int Index) override {
    CheckIndex(Index, Count());
    HWND H = Memo->WindowHandle();
    if (!H) {
      TStringList L;
      L.SetText(Memo->Text());
      L.Delete(Index);
      Memo->SetText(L.Text());
      return;
    }
    LRESULT Start = SendMessageA(H, EM_LINEINDEX, WPARAM(Index), 0);
    LRESULT End = SendMessageA(H, EM_LINEINDEX, WPARAM(Index + 1), 0);
    if (End < 0) End = Start + SendMessageA(H, EM_LINELENGTH, WPARAM(Start), 0);
    SendMessageA(H, EM_SETSEL, WPARAM(Start), LPARAM(End));
    SendMessageA(H, EM_REPLACESEL, 0, LPARAM(""));
  }

  void Clear() override { Memo->SetText(AnsiString()); }
  AnsiString Text() const override { return Memo->Text(); }
  void SetText(const AnsiString& Value) override { Memo->SetText(ToCRLF(Value)); }

protected:
  void SetUpdateState(bool Updating) override {
    HWND H = Memo->WindowHandle();
    if (!H) return;
    SendMessageA(H, WM_SETREDRAW, !Updating, 0);
    if (!Updating) Memo->Refresh();
  }

private:
  static void CheckIndex(int Index, int Count) {
    if (Index < 0 || Index >= Count) throw EStringListError(Format("List index out of bounds (%d)", {Index}));
  }
  TStringList& TextLines() const {
    Cache.SetText(Memo->Text());
    return Cache;
  }
  TCustomMemo* Memo;
  mutable TStringList Cache;
};

ORV_IMPLEMENT_CLASS(TMemoStrings, TStrings)

}  // namespace

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(new TMemoStrings(this)) {
  SetBounds(Left(), Top(), 185, 89);
  TControl::SetAutoSize(false);
  ExcludeStyle(csFixedHeight);
}

TCustomMemo::~TCustomMemo() { TObject::Free(FLines); }

void TCustomMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
  static const DWORD Alignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  static const DWORD Bars[] = {0, WS_HSCROLL, WS_VSCROLL, WS_HSCROLL | WS_VSCROLL};
  TCustomEdit::CreateParams(Params);
  if (FWordWrap) Params.Style &= ~DWORD(ES_AUTOHSCROLL);
  TAlignment A = FAlignment;
  if (UseRightToLeftAlignment()) ChangeBiDiModeAlignment(A);
  Params.Style |= ES_MULTILINE | Alignments[A] | Bars[FScrollBars];
}

void TCustomMemo::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

TPoint TCustomMemo::CaretPos() {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  int Line = int(SendMessageA(Handle(), EM_LINEFROMCHAR, WPARAM(End), 0));
  int Col = int(End) - int(SendMessageA(Handle(), EM_LINEINDEX, WPARAM(Line), 0));
  return Point(Col, Line);
}

void TCustomMemo::WMGetDlgCode(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FWantTabs) Message.Result |= DLGC_WANTTAB;
  else Message.Result &= ~intptr_t(DLGC_WANTTAB);
  if (!FWantReturns) Message.Result &= ~intptr_t(DLGC_WANTALLKEYS);
}

void TCustomMemo::KeyPress(char& Key) {
  TCustomEdit::KeyPress(Key);
  if (Key == '\r' && !FWantReturns) Key = 0;
  if (Key == '\t' && !FWantTabs) Key = 0;
}

ORV_IMPLEMENT_CLASS(TCustomMemo, TCustomEdit)

static constinit const TPropInfo TMemo_Props[] = {
    TControlProps::Align(),
    PropEnum<&TCustomMemo::Alignment, &TCustomMemo::SetAlignment>("Alignment", TAlignmentType, taLeftJustify),
    TControlProps::Anchors(),
    PropEnum<&TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle>("BorderStyle", TBorderStyleType, bsSingle),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropBool<&TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection>("HideSelection", true),
    PropObject<&TCustomMemo::Lines, &TCustomMemo::SetLines>("Lines"),
    PropInt<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>("MaxLength", 0),
    PropBool<&TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert>("OEMConvert", false),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    PropBool<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>("ReadOnly", false),
    PropEnum<&TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars>("ScrollBars", TScrollStyleType, ssNone),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    PropBool<&TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns>("WantReturns", true),
    PropBool<&TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs>("WantTabs", false),
    PropBool<&TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap>("WordWrap", true),
    PropEvent<&TCustomEdit::OnChange>("OnChange"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TMemo, TCustomMemo, TMemo_Props)

// ---------------------------------------------------------------------------------------------
// TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  SetBounds(Left(), Top(), 97, 17);
  SetTabStop(true);
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= BS_3STATE | (FAlignment == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCustomCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageA(WindowHandle(), BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::SetAlignment(TLeftRight Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomCheckBox::SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) SendMessageA(WindowHandle(), BM_SETCHECK, WPARAM(FState), 0);
  if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage& Message) {
  if (IsAccel((unsigned short)Message.WParam, GetText()) && CanFocus()) {
    SetFocus();
    if (Focused()) Toggle();
    Message.Result = 1;
  } else {
    inherited::Dispatch(Message);
  }
}

ORV_IMPLEMENT_CLASS(TCustomCheckBox, TButtonControl)

static constinit const TPropInfo TCheckBox_Props[] = {
    PropEnum<&TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment>("Alignment", TLeftRightType,
                                                                            taRightJustify),
    PropBool<&TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed>("AllowGrayed", false),
    TControlProps::Anchors(),
    TControlProps::Caption(),
    PropBool<&TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked>("Checked", false, NeverStored),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    PropEnum<&TCustomCheckBox::State, &TCustomCheckBox::SetState>("State", TCheckBoxStateType, cbUnchecked),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TCheckBox, TCustomCheckBox, TCheckBox_Props)

// ---------------------------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  SetBounds(Left(), Top(), 113, 17);
}

void TRadioButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= BS_RADIOBUTTON | (FAlignment == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageA(WindowHandle(), BM_SETCHECK, FChecked, 0);
}

void TRadioButton::SetAlignment(TLeftRight Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  SetTabStop(Value);
  if (HandleAllocated()) SendMessageA(WindowHandle(), BM_SETCHECK, Value, 0);
  if (!Value) return;
  if (TWinControl* P = Parent())
    for (int I = 0; I < P->ControlCount(); ++I) {
      TControl* C = P->Controls(I);
      if (C != this && C->Is<TRadioButton>()) static_cast<TRadioButton*>(C)->SetChecked(false);
    }
  if (!ClicksDisabled() && !HasState(csLoading)) Click();
}

void TRadioButton::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case BN_CLICKED: SetChecked(true); break;
    case BN_DOUBLECLICKED: DblClick(); break;
  }
}

void TRadioButton::CMDialogChar(TMessage& Message) {
  if (IsAccel((unsigned short)Message.WParam, GetText()) && CanFocus()) {
    SetFocus();
    SetChecked(true);
    Message.Result = 1;
  } else {
    inherited::Dispatch(Message);
  }
}

static constinit const TPropInfo TRadioButton_Props[] = {
    PropEnum<&TRadioButton::Alignment, &TRadioButton::SetAlignment>("Alignment", TLeftRightType, taRightJustify),
    TControlProps::Anchors(),
    TControlProps::Caption(),
    PropBool<&TRadioButton::Checked, &TRadioButton::SetChecked>("Checked", false),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(false),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TRadioButton, TButtonControl, TRadioButton_Props)

// ---------------------------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(StyleOf(csAcceptsControls) | StyleOf(csCaptureMouse) | StyleOf(csClickEvents) |
                  StyleOf(csSetCaption) | StyleOf(csDoubleClicks) | StyleOf(csReplicatable));
  SetBounds(Left(), Top(), 185, 105);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomGroupBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Canvas()->SetFont(Font());
  Rect.Top += Canvas()->TextHeight("0");
  Rect.Inflate(-1, -1);
  if (Ctl3D()) Rect.Inflate(-1, -1);
}

void TCustomGroupBox::Paint() {
  TCanvas* C = Canvas();
  C->SetFont(Font());
  int H = C->TextHeight("0");
  TRect R(0, H / 2 - 1, Width(), Height());
  if (Ctl3D()) {
    R.Left++;
    R.Top++;
    C->Brush()->SetColor(clBtnHighlight);
    C->FrameRect(R);
    R.Offset(-1, -1);
    C->Brush()->SetColor(clBtnShadow);
  } else {
    C->Brush()->SetColor(clWindowFrame);
  }
  C->FrameRect(R);
  AnsiString Text = GetText();
  if (!Text.IsEmpty()) {
    TRect T(8, 0, 0, H);
    DrawTextA(C->Handle(), Text.c_str(), Text.Length(), &AsRECT(T), DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    DrawTextA(C->Handle(), Text.c_str(), Text.Length(), &AsRECT(T), DT_LEFT | DT_SINGLELINE);
  }
}

void TCustomGroupBox::CMDialogChar(TMessage& Message) {
  if (IsAccel((unsigned short)Message.WParam, GetText()) && CanFocus()) {
    SelectNext(nullptr, true, true);
    Message.Result = 1;
  } else {
    inherited::Dispatch(Message);
  }
}

void TCustomGroupBox::CMTextChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
  Realign();
}

ORV_IMPLEMENT_CLASS(TCustomGroupBox, TCustomControl)

static constinit const TPropInfo TGroupBox_Props[] = {
    TControlProps::Align(),
    TControlProps::Anchors(),
    TControlProps::Caption(),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(false),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TGroupBox, TCustomGroupBox, TGroupBox_Props)

// ---------------------------------------------------------------------------------------------
// Items of list and combo boxes.

struct TItemMessages {
  UINT GetCount, GetText, GetTextLen, AddString, InsertString, DeleteString, ResetContent,
      GetItemData, SetItemData, GetCurSel, SetCurSel;
  LRESULT Err;
};
static constexpr TItemMessages ListBoxMessages{LB_GETCOUNT, LB_GETTEXT, LB_GETTEXTLEN, LB_ADDSTRING,
                                               LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                               LB_GETITEMDATA, LB_SETITEMDATA, LB_GETCURSEL, LB_SETCURSEL, LB_ERR};
static constexpr TItemMessages ComboBoxMessages{CB_GETCOUNT, CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_ADDSTRING,
                                                CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                                CB_GETITEMDATA, CB_SETITEMDATA, CB_GETCURSEL, CB_SETCURSEL, CB_ERR};

class TWindowItems : public TStrings {
  ORV_CLASS(TWindowItems, TStrings)
public:
  TWindowItems(TWinControl* AControl, TItemControl* AHooks, const TItemMessages& AMsgs, bool* ASorted)
      : Control(AControl), Hooks(AHooks), Msgs(AMsgs), Sorted(ASorted) {}

  int Count() const override {
    if (HWND H = Control->WindowHandle()) return int(SendMessageA(H, Msgs.GetCount, 0, 0));
    return int(Save.size());
  }
  AnsiString Get(int Index) const override {
    CheckIndex(Index, Count());
    if (HWND H = Control->WindowHandle()) {
      int Len = int(SendMessageA(H, Msgs.GetTextLen, WPARAM(Index), 0));
      if (Len <= 0) return AnsiString();
      std::string Buf(size_t(Len) + 1, '\0');
      int Got = int(SendMessageA(H, Msgs.GetText, WPARAM(Index), LPARAM(Buf.data())));
      return AnsiString(Buf.data(), std::clamp(Got, 0, Len));
    }
    return Save[size_t(Index)].S;
  }
  // Item data goes through the control's overridable operations.
  TObject* GetObject(int Index) const override {
    CheckIndex(Index, Count());
    return reinterpret_cast<TObject*>(Hooks->GetItemData(Index));
  }
  void PutObject(int Index, TObject* AObject) override {
    CheckIndex(Index, Count());
    Hooks->SetItemData(Index, reinterpret_cast<intptr_t>(AObject));
  }
  void Put(int Index, const AnsiString& S) override {
    CheckIndex(Index, Count());
    int Sel = CurSel();
    TObject* Obj = GetObject(Index);
    Delete(Index);
    InsertAt(Index, S, Obj);
    if (Sel >= 0) SetCurSel(Sel);
  }
  int Add(const AnsiString& S) override { return AddObject(S, nullptr); }
  int AddObject(const AnsiString& S, TObject* AObject) override {
    int Index;
    if (HWND H = Control->WindowHandle()) {
      LRESULT I = SendMessageA(H, Msgs.AddString, 0, LPARAM(S.c_str()));
      if (I < 0) throw EOutOfResources("Not enough room for the item");
      Index = int(I);
    } else {
      Index = int(Save.size());
      if (*Sorted)
        Index = int(std::upper_bound(Save.begin(), Save.end(), S,
                                     [](const AnsiString& A, const Item& B) { return lstrcmpiA(A.c_str(), B.S.c_str()) < 0; }) -
                    Save.begin());
      Save.insert(Save.begin() + Index, Item{S, 0});
    }
    if (AObject) Hooks->SetItemData(Index, reinterpret_cast<intptr_t>(AObject));
    return Index;
  }
  void Insert(int Index, const AnsiString& S) override {
    if (Index < 0 || Index > Count()) throw EStringListError(Format("List index out of bounds (%d)", {Index}));
    InsertAt(Index, S, nullptr);
  }
  void Delete(int Index) override {
    CheckIndex(Index, Count());
    Hooks->DeleteString(Index);
  }
  void Clear() override { Hooks->ResetContent(); }

  // The control's own storage, under its item-data operations: the window's, or the list kept
  // while there is none. GetData answers the error value for an index outside the items.
  intptr_t GetData(int Index) const {
    if (HWND H = Control->WindowHandle()) return intptr_t(SendMessageA(H, Msgs.GetItemData, WPARAM(Index), 0));
    return Index >= 0 && size_t(Index) < Save.size() ? Save[size_t(Index)].Data : intptr_t(Msgs.Err);
  }
  void SetData(int Index, intptr_t AData) {
    if (HWND H = Control->WindowHandle()) SendMessageA(H, Msgs.SetItemData, WPARAM(Index), LPARAM(AData));
    else if (Index >= 0 && size_t(Index) < Save.size()) Save[size_t(Index)].Data = AData;
  }
  void DeleteAt(int Index) {
    if (HWND H = Control->WindowHandle()) SendMessageA(H, Msgs.DeleteString, WPARAM(Index), 0);
    else if (Index >= 0 && size_t(Index) < Save.size()) Save.erase(Save.begin() + Index);
  }
  void RemoveAll() {
    if (HWND H = Control->WindowHandle()) SendMessageA(H, Msgs.ResetContent, 0, 0);
    else Save.clear();
  }

  // Window <-> saved list, around the window's life. A new window gets every item's data
  // through SetItemData, in item order, 0 included.
  void MoveToWindow() {
    HWND H = Control->WindowHandle();
    if (*Sorted) SortSave();
    std::vector<Item> Items = std::move(Save);
    Save.clear();
    for (const Item& I : Items) {
      LRESULT Index = SendMessageA(H, Msgs.InsertString, WPARAM(-1), LPARAM(I.S.c_str()));
      if (Index >= 0) Hooks->SetItemData(int(Index), I.Data);
    }
  }
  void MoveFromWindow() {
    std::vector<Item> Items;
    int N = Count();
    Items.reserve(size_t(std::max(N, 0)));
    for (int I = 0; I < N; ++I) Items.push_back(Item{Get(I), Hooks->GetItemData(I)});
    Save = std::move(Items);
  }
  void SortSave() {
    std::stable_sort(Save.begin(), Save.end(),
                     [](const Item& A, const Item& B) { return lstrcmpiA(A.S.c_str(), B.S.c_str()) < 0; });
  }
  int CurSel() const {
    if (HWND H = Control->WindowHandle()) return int(SendMessageA(H, Msgs.GetCurSel, 0, 0));
    return -1;
  }
  void SetCurSel(int Index) {
    if (HWND H = Control->WindowHandle()) SendMessageA(H, Msgs.SetCurSel, WPARAM(Index), 0);
  }

protected:
  void SetUpdateState(bool Updating) override {
    HWND H = Control->WindowHandle();
    if (!H) return;
    SendMessageA(H, WM_SETREDRAW, !Updating, 0);
    if (!Updating) Control->Refresh();
  }

private:
  struct Item {
    AnsiString S;
    intptr_t Data = 0;
  };
  static void CheckIndex(int Index, int Count) {
    if (Index < 0 || Index >= Count) throw EStringListError(Format("List index out of bounds (%d)", {Index}));
  }
  void InsertAt(int Index, const AnsiString& S, TObject* Obj) {
    if (HWND H = Control->WindowHandle()) {
      LRESULT I = SendMessageA(H, Msgs.InsertString, WPARAM(Index), LPARAM(S.c_str()));
      if (I < 0) throw EOutOfResources("Not enough room for the item");
      Index = int(I);
    } else {
      Save.insert(Save.begin() + Index, Item{S, 0});
    }
    if (Obj) Hooks->SetItemData(Index, reinterpret_cast<intptr_t>(Obj));
  }

  TWinControl* Control;
  TItemControl* Hooks;
  const TItemMessages& Msgs;
  bool* Sorted;
  std::vector<Item> Save;
};
ORV_IMPLEMENT_CLASS(TWindowItems, TStrings)

// ---------------------------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(new TWindowItems(this, this, ListBoxMessages, &FSorted)), FCanvas(new TControlCanvas) {
  static_cast<TControlCanvas*>(FCanvas)->SetControl(this);
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  SetBounds(Left(), Top(), 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  TControl::SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() {
  TObject::Free(FCanvas);
  TObject::Free(FItems);
}

TStrings* TCustomListBox::Items() const { return FItems; }
void TCustomListBox::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  static const DWORD Styles[] = {0, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE};
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "LISTBOX");
  Params.Style |= WS_HSCROLL | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY | Styles[FStyle];
  if (FSorted) Params.Style |= LBS_SORT;
  if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FColumns != 0) Params.Style |= LBS_MULTICOLUMN;
  if (FTabWidth != 0) Params.Style |= LBS_USETABSTOPS;
  ApplyBorder(Params, FBorderStyle, Ctl3D());
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  HWND H = WindowHandle();
  if (FStyle != lbStandard) SendMessageA(H, LB_SETITEMHEIGHT, 0, LPARAM(FItemHeight));
  if (FColumns != 0) SendMessageA(H, LB_SETCOLUMNWIDTH, WPARAM(Width() / FColumns), 0);
  if (FTabWidth != 0) SendMessageA(H, LB_SETTABSTOPS, 1, LPARAM(&FTabWidth));
  FItems->MoveToWindow();
  if (FMultiSelect) {
    for (size_t I = 0; I < FSaveSelected.size(); ++I)
      if (FSaveSelected[I]) SendMessageA(H, LB_SETSEL, TRUE, LPARAM(I));
    if (FItemIndex >= 0) SendMessageA(H, LB_SETCARETINDEX, WPARAM(FItemIndex), 0);
  } else if (FItemIndex >= 0) {
    SendMessageA(H, LB_SETCURSEL, WPARAM(FItemIndex), 0);
  }
  FSaveSelected.clear();
  if (FTopIndex > 0) SendMessageA(H, LB_SETTOPINDEX, WPARAM(FTopIndex), 0);
}

void TCustomListBox::DestroyWnd() {
  if (HandleAllocated()) {
    FItemIndex = ItemIndex();
    FTopIndex = TopIndex();
    FSaveSelected.clear();
    if (FMultiSelect)
      for (int I = 0, N = FItems->Count(); I < N; ++I) FSaveSelected.push_back(Selected(I));
    FItems->MoveFromWindow();
  }
  TWinControl::DestroyWnd();
}

void TCustomListBox::Loaded() {
  TWinControl::Loaded();
  if (FSorted && !HandleAllocated()) FItems->SortSave();
}

int TCustomListBox::ItemIndex() const {
  if (!HandleAllocated()) return FItemIndex;
  return int(SendMessageA(WindowHandle(), FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int Value) {
  if (!HandleAllocated()) {
    FItemIndex = Value < FItems->Count() ? Value : -1;
    return;
  }
  if (ItemIndex() == Value) return;
  SendMessageA(WindowHandle(), FMultiSelect ? LB_SETCARETINDEX : LB_SETCURSEL, WPARAM(Value), 0);
}

bool TCustomListBox::Selected(int Index) {
  if (Index < 0 || Index >= FItems->Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  if (!HandleAllocated()) {
    if (!FMultiSelect) return Index == FItemIndex;
    return size_t(Index) < FSaveSelected.size() && FSaveSelected[size_t(Index)];
  }
  return SendMessageA(WindowHandle(), LB_GETSEL, WPARAM(Index), 0) > 0;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  if (Index < 0 || Index >= FItems->Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  if (!HandleAllocated()) {
    if (!FMultiSelect) {
      if (Value) FItemIndex = Index;
      else if (FItemIndex == Index) FItemIndex = -1;
      return;
    }
    if (FSaveSelected.size() <= size_t(Index)) FSaveSelected.resize(size_t(Index) + 1);
    FSaveSelected[size_t(Index)] = Value;
    return;
  }
  if (FMultiSelect) SendMessageA(WindowHandle(), LB_SETSEL, Value, LPARAM(Index));
  else SendMessageA(WindowHandle(), LB_SETCURSEL, WPARAM(Value ? Index : -1), 0);
}

int TCustomListBox::SelCount() {
  if (!FMultiSelect) return -1;
  if (!HandleAllocated()) return int(std::count(FSaveSelected.begin(), FSaveSelected.end(), true));
  return int(SendMessageA(WindowHandle(), LB_GETSELCOUNT, 0, 0));
}

int TCustomListBox::TopIndex() const {
  if (!HandleAllocated()) return FTopIndex;
  return int(SendMessageA(WindowHandle(), LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int Value) {
  if (!HandleAllocated()) FTopIndex = Value;
  else SendMessageA(WindowHandle(), LB_SETTOPINDEX, WPARAM(Value), 0);
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
  int Count = FItems->Count();
  if (!HandleAllocated() || Count == 0) return Existing ? -1 : 0;
  TRect Client = ClientRect();
  if (Client.Contains(Pos)) {
    for (int I = TopIndex(); I < Count; ++I) {
      TRect R = ItemRect(I);
      if (R.Top > Client.Bottom) break;
      if (R.Contains(Pos)) return I;
    }
  }
  return Existing ? -1 : Count;
}

TRect TCustomListBox::ItemRect(int Index) {
  RECT R{};
  int Count = FItems->Count();
  if (Index == 0 || Index < Count) {
    SendMessageA(Handle(), LB_GETITEMRECT, WPARAM(Index), LPARAM(&R));
  } else if (Index == Count) {
    SendMessageA(Handle(), LB_GETITEMRECT, WPARAM(Index - 1), LPARAM(&R));
    OffsetRect(&R, 0, R.bottom - R.top);
  }
  return TRect(R);
}

void TCustomListBox::Clear() { FItems->Clear(); FItemIndex = -1; FSaveSelected.clear(); }

intptr_t TCustomListBox::GetItemData(int Index) { return FItems->GetData(Index); }
void TCustomListBox::SetItemData(int Index, intptr_t AData) { FItems->SetData(Index, AData); }
void TCustomListBox::ResetContent() { FItems->RemoveAll(); }
void TCustomListBox::DeleteString(int Index) { FItems->DeleteAt(Index); }

int TCustomListBox::ItemHeight() const {
  if (HandleAllocated() && FStyle == lbStandard) {
    RECT R{};
    if (SendMessageA(WindowHandle(), LB_GETITEMRECT, 0, LPARAM(&R)) != LB_ERR && R.bottom > R.top)
      return R.bottom - R.top;
    return int(SendMessageA(WindowHandle(), LB_GETITEMHEIGHT, 0, 0));
  }
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(int Value) {
  if (FItemHeight == Value || Value <= 0) return;
  FItemHeight = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomListBox::SetColumns(int Value) {
  if (FColumns == Value) return;
  bool Recreate = (FColumns == 0) != (Value == 0);
  FColumns = Value;
  if (HasState(csLoading)) return;
  if (Recreate) RecreateWnd();
  else if (HandleAllocated() && Value > 0)
    SendMessageA(WindowHandle(), LB_SETCOLUMNWIDTH, WPARAM(Width() / Value), 0);
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) RecreateWnd();
  else if (Value) FItems->SortSave();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomListBox::SetTabWidth(int Value) {
  if (Value < 0) Value = 0;
  if (FTabWidth == Value) return;
  FTabWidth = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index < FItems->Count()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
  }
}


void TCustomListBox::CNDrawItem(TMessage& Message) {
  OwnerDrawItem(this, FCanvas, Font(), Brush(), Message,
                [this](int I, const TRect& R, TOwnerDrawState S) { DrawItem(I, R, S); });
}

void TCustomListBox::CNMeasureItem(TMessage& Message) {
  auto* Mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  int H = FItemHeight;
  if (FStyle == lbOwnerDrawVariable) MeasureItem(int(Mis->itemID), H);
  Mis->itemHeight = UINT(std::max(H, 1));
  Message.Result = 1;
}

ORV_IMPLEMENT_CLASS(TCustomListBox, TWinControl)

static constinit const TPropInfo TListBox_Props[] = {
    TControlProps::Align(),
    TControlProps::Anchors(),
    PropEnum<&TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle>("BorderStyle", TBorderStyleType,
                                                                              bsSingle),
    TControlProps::Color(clWindow),
    PropInt<&TCustomListBox::Columns, &TCustomListBox::SetColumns>("Columns", 0),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    PropBool<&TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect>("ExtendedSelect", true),
    TControlProps::Font(),
    PropBool<&TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight>("IntegralHeight", false),
    PropInt<&TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight>("ItemHeight", 16),
    PropObject<&TCustomListBox::Items, &TCustomListBox::SetItems>("Items"),
    PropBool<&TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect>("MultiSelect", false),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    PropBool<&TCustomListBox::Sorted, &TCustomListBox::SetSorted>("Sorted", false),
    PropEnum<&TCustomListBox::Style, &TCustomListBox::SetStyle>("Style", TListBoxStyleType, lbStandard),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    PropInt<&TCustomListBox::TabWidth, &TCustomListBox::SetTabWidth>("TabWidth", 0),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    PropEvent<&TCustomListBox::OnDrawItem>("OnDrawItem"),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    PropEvent<&TCustomListBox::OnMeasureItem>("OnMeasureItem"),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TListBox, TCustomListBox, TListBox_Props)

// ---------------------------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(new TWindowItems(this, this, ComboBoxMessages, &FSorted)), FCanvas(new TControlCanvas) {
  static_cast<TControlCanvas*>(FCanvas)->SetControl(this);
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks) | StyleOf(csFixedHeight));
  SetBounds(Left(), Top(), 145, 25);
  SetTabStop(true);
  SetParentColor(false);
  TControl::SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() {
  UnhookInnerWindows();
  TObject::Free(FCanvas);
  TObject::Free(FItems);
}

TStrings* TCustomComboBox::Items() const { return FItems; }
void TCustomComboBox::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(Message); break;
    default: inherited::Dispatch(Message);
  }
}

int TCustomComboBox::DropDownHeight() {
  return FStyle == csSimple ? 0 : FItemHeight * std::max(FDropDownCount, 1) + 2;
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  static const DWORD Styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "COMBOBOX");
  Params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL | Styles[FStyle];
  if (FSorted) Params.Style |= CBS_SORT;
  Params.Height += DropDownHeight();
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateWnd() {
  AnsiString SavedText = Text();
  TWinControl::CreateWnd();
  HWND H = WindowHandle();
  SendMessageA(H, CB_LIMITTEXT, WPARAM(FMaxLength), 0);
  if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
    SendMessageA(H, CB_SETITEMHEIGHT, WPARAM(-1), LPARAM(FItemHeight));
    SendMessageA(H, CB_SETITEMHEIGHT, 0, LPARAM(FItemHeight));
  }
  FItems->MoveToWindow();
  if (FItemIndex >= 0) SendMessageA(H, CB_SETCURSEL, WPARAM(FItemIndex), 0);
  else if (FStyle == csDropDown || FStyle == csSimple) SetWindowTextA(H, SavedText.c_str());
  UpdateBounds();
  HookInnerWindows();
}

void TCustomComboBox::DestroyWnd() {
  if (HandleAllocated()) {
    FItemIndex = ItemIndex();
    FItems->MoveFromWindow();
  }
  UnhookInnerWindows();
  TWinControl::DestroyWnd();
}

namespace {
// Puts Instance in place of Wnd's procedure; the old one goes to Saved.
void Subclass(HWND Wnd, WNDPROC Instance, WNDPROC& Saved) {
  Saved = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Wnd, GWLP_WNDPROC));
  SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Instance));
}

// Gives Wnd its procedure back (when it still runs Instance) and frees the instance.
void Unsubclass(HWND& Wnd, WNDPROC& Instance, WNDPROC& Saved) {
  if (Wnd && IsWindow(Wnd) && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Wnd, GWLP_WNDPROC)) == Instance)
    SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Saved));
  FreeObjectInstance(Instance);
  Wnd = nullptr;
  Instance = Saved = nullptr;
}
}  // namespace

void TCustomComboBox::HookInnerWindows() {
  UnhookInnerWindows();  // the instances of a window destroyed under the control
  COMBOBOXINFO Info{};
  Info.cbSize = sizeof Info;
  if (!GetComboBoxInfo(WindowHandle(), &Info)) return;
  // The drop-down list styles have no edit: their item is the combo box itself.
  if (Info.hwndItem && Info.hwndItem != WindowHandle()) {
    FEditHandle = Info.hwndItem;
    FEditInstance = MakeObjectInstance(TWndMethod::Bind<&TCustomComboBox::EditWndProc>(this));
    Subclass(FEditHandle, FEditInstance, FDefEditProc);
  }
  if (Info.hwndList) {
    FListHandle = Info.hwndList;
    FListInstance = MakeObjectInstance(TWndMethod::Bind<&TCustomComboBox::ListWndProc>(this));
    Subclass(FListHandle, FListInstance, FDefListProc);
  }
}

void TCustomComboBox::UnhookInnerWindows() {
  if (FEditInstance) Unsubclass(FEditHandle, FEditInstance, FDefEditProc);
  if (FListInstance) Unsubclass(FListHandle, FListInstance, FDefListProc);
}

void TCustomComboBox::EditWndProc(TMessage& Message) { ComboWndProc(Message, FEditHandle, FDefEditProc); }
void TCustomComboBox::ListWndProc(TMessage& Message) { ComboWndProc(Message, FListHandle, FDefListProc); }

void TCustomComboBox::ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (TCustomForm* Form = GetParentForm(this); Form && !Form->SetFocusedControl(this)) return;
      break;
    case WM_KILLFOCUS:
      if (ControlState() & StateOf(csFocusing)) return;
      ResetIme();
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (ComboWnd != FListHandle && DoKeyDown(Message)) return;
      break;
    case WM_CHAR:
      // The list never has the focus: its characters are the combo box's own, passed on to it
      // after the combo box's key events have run.
      if (ComboWnd != FListHandle && DoKeyPress(Message)) return;
      if ((Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) && DroppedDown()) {
        SetDroppedDown(false);
        return;
      }
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (DoKeyUp(Message)) return;
      break;
    case WM_GETDLGCODE:
      if (DroppedDown()) {
        Message.Result = DLGC_WANTALLKEYS;
        return;
      }
      break;
    case CN_KEYDOWN:
    case CN_CHAR:
    case CN_SYSKEYDOWN:
    case CN_SYSCHAR:
      WndProc(Message);
      return;
    default: break;
  }
  Message.Result = CallWindowProcA(ComboProc, ComboWnd, Message.Msg, Message.WParam, Message.LParam);
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      // The mouse over an inner window is over the combo box: its enter and leave follow, and the
      // inner window reports when the mouse goes.
      TRACKMOUSEEVENT T{};
      T.cbSize = sizeof T;
      T.dwFlags = TME_LEAVE;
      T.hwndTrack = ComboWnd;
      TrackMouseEvent(&T);
      POINT P{MessageX(Message), MessageY(Message)};
      MapWindowPoints(ComboWnd, WindowHandle(), &P, 1);
      Perform(WM_MOUSEMOVE, Message.WParam, PointToLParam(TPoint(P)));
      break;
    }
    case WM_MOUSELEAVE: Perform(WM_MOUSELEAVE); break;
    case WM_SETFOCUS: SetIme(); break;
    case WM_LBUTTONDBLCLK:
      if (ControlStyle() & StyleOf(csDoubleClicks)) DblClick();
      break;
    case WM_NCDESTROY:
      // Destroyed under the combo box (with its parent): nothing to give back any more.
      if (ComboWnd == FEditHandle) FEditHandle = nullptr;
      if (ComboWnd == FListHandle) FListHandle = nullptr;
      break;
    default: break;
  }
}

void TCustomComboBox::Loaded() {
  TWinControl::Loaded();
  if (FSorted && !HandleAllocated()) FItems->SortSave();
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  FSizing = true;
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  FSizing = false;
}

void TCustomComboBox::WMWindowPosChanging(TMessage& Message) {
  auto* Pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (!WindowHandle()) return inherited::Dispatch(Message);
  // The window's height includes the drop-down list; the control's is the closed box's. Only
  // for a size the control asked for: the system's own return to the closed height (Wine's, as
  // it handles WM_SIZE) stays as it is.
  const bool Asked = std::exchange(FSizing, false);
  if (Asked && FStyle != csSimple && !(Pos->flags & SWP_NOSIZE)) {
    RECT R{};
    GetWindowRect(WindowHandle(), &R);
    int Closed = R.bottom - R.top;
    if (Pos->cy <= Closed + 1) Pos->cy = std::max(Pos->cy, Closed) + DropDownHeight();
  }
  inherited::Dispatch(Message);
}

int TCustomComboBox::ItemIndex() const {
  if (!HandleAllocated()) return FItemIndex;
  return int(SendMessageA(WindowHandle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int Value) {
  if (!HandleAllocated()) {
    FItemIndex = Value < FItems->Count() ? Value : -1;
    if (FItemIndex >= 0) SetText(FItems->Get(FItemIndex));
    return;
  }
  SendMessageA(WindowHandle(), CB_SETCURSEL, WPARAM(Value), 0);
}

bool TCustomComboBox::DroppedDown() {
  return HandleAllocated() && SendMessageA(WindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value) { SendMessageA(Handle(), CB_SHOWDROPDOWN, Value, 0); }

void TCustomComboBox::SetDropDownCount(int Value) {
  if (FDropDownCount == Value || Value < 1) return;
  FDropDownCount = Value;
  if (HasState(csLoading) || !HandleAllocated()) return;
  FSizing = true;
  SetWindowPos(WindowHandle(), nullptr, 0, 0, Width(), Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FSizing = false;
}

int TCustomComboBox::ItemHeight() const {
  if (HandleAllocated() && (FStyle == csDropDown || FStyle == csSimple || FStyle == csDropDownList))
    return int(SendMessageA(WindowHandle(), CB_GETITEMHEIGHT, 0, 0));
  return FItemHeight;
}

void TCustomComboBox::SetItemHeight(int Value) {
  if (FItemHeight == Value || Value <= 0) return;
  FItemHeight = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

bool TCustomComboBox::ItemHeightStored(const TObject* Obj) {
  TComboBoxStyle S = static_cast<const TCustomComboBox*>(Obj)->FStyle;
  return S == csOwnerDrawFixed || S == csOwnerDrawVariable;
}

void TCustomComboBox::SetMaxLength(int Value) {
  if (Value < 0) Value = 0;
  if (FMaxLength == Value) return;
  FMaxLength = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) SendMessageA(WindowHandle(), CB_LIMITTEXT, WPARAM(Value), 0);
}

void TCustomComboBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) RecreateWnd();
  else if (Value) FItems->SortSave();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (Value == csSimple) ExcludeStyle(csFixedHeight);
  else IncludeStyle(csFixedHeight);
  if (HasState(csLoading)) return;
  RecreateWnd();
}

int TCustomComboBox::SelStart() {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), CB_GETEDITSEL, WPARAM(&Start), LPARAM(&End));
  return int(Start);
}

void TCustomComboBox::SetSelStart(int Value) {
  SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(Value, Value));
}

int TCustomComboBox::SelLength() {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), CB_GETEDITSEL, WPARAM(&Start), LPARAM(&End));
  return int(End - Start);
}

void TCustomComboBox::SetSelLength(int Value) {
  int Start = SelStart();
  SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(Start, Start + Value));
}

void TCustomComboBox::SelectAll() { SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1)); }

void TCustomComboBox::Clear() {
  FItems->Clear();
  FItemIndex = -1;
  SetText(AnsiString());
}

intptr_t TCustomComboBox::GetItemData(int Index) { return FItems->GetData(Index); }
void TCustomComboBox::SetItemData(int Index, intptr_t AData) { FItems->SetData(Index, AData); }
void TCustomComboBox::ResetContent() { FItems->RemoveAll(); }
void TCustomComboBox::DeleteString(int Index) { FItems->DeleteAt(Index); }

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < FItems->Count()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case CBN_DBLCLK: DblClick(); break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_SELCHANGE: {
      // The edit part takes the item's text only after the notification; set it now so
      // handlers read the new text.
      int I = ItemIndex();
      if (I >= 0 && (FStyle == csDropDown || FStyle == csSimple)) SetWindowTextA(WindowHandle(), FItems->Get(I).c_str());
      Click();
      Change();
      break;
    }
  }
}

void TCustomComboBox::CNDrawItem(TMessage& Message) {
  OwnerDrawItem(this, FCanvas, Font(), Brush(), Message,
                [this](int I, const TRect& R, TOwnerDrawState S) { DrawItem(I, R, S); });
}

void TCustomComboBox::CNMeasureItem(TMessage& Message) {
  auto* Mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  int H = FItemHeight;
  if (FStyle == csOwnerDrawVariable && int(Mis->itemID) >= 0) MeasureItem(int(Mis->itemID), H);
  Mis->itemHeight = UINT(std::max(H, 1));
  Message.Result = 1;
}

ORV_IMPLEMENT_CLASS(TCustomComboBox, TWinControl)

static constinit const TPropInfo TComboBox_Props[] = {
    TControlProps::Anchors(),
    PropEnum<&TCustomComboBox::Style, &TCustomComboBox::SetStyle>("Style", TComboBoxStyleType, csDropDown),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    PropInt<&TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount>("DropDownCount", 8),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropIntNoDefault<&TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight>(
        "ItemHeight", &TCustomComboBox::ItemHeightStored),
    PropObject<&TCustomComboBox::Items, &TCustomComboBox::SetItems>("Items"),
    PropInt<&TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength>("MaxLength", 0),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    PropBool<&TCustomComboBox::Sorted, &TCustomComboBox::SetSorted>("Sorted", false),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Text(),
    TControlProps::Visible(),
    PropEvent<&TCustomComboBox::OnChange>("OnChange"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    PropEvent<&TCustomComboBox::OnDrawItem>("OnDrawItem"),
    PropEvent<&TCustomComboBox::OnDropDown>("OnDropDown"),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    PropEvent<&TCustomComboBox::OnMeasureItem>("OnMeasureItem"),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TComboBox, TCustomComboBox, TComboBox_Props)

// ---------------------------------------------------------------------------------------------
// TScrollBar

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(StyleOf(csFramed) | StyleOf(csDoubleClicks) | StyleOf(csOpaque));
  SetBounds(Left(), Top(), 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: CNScroll(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "SCROLLBAR");
  Params.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollInfo();
}

void TScrollBar::UpdateScrollInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  Info.nMin = FMin;
  Info.nMax = FMax;
  Info.nPage = UINT(FPageSize);
  Info.nPos = FPosition;
  SetScrollInfo(WindowHandle(), SB_CTL, &Info, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (HasState(csLoading)) return;
  SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetPageSize(int Value) {
  if (FPageSize == Value) return;
  if (Value < 0 || Value > FMax - FMin + 1) throw EInvalidOperation("Scrollbar property out of range");
  FPageSize = Value;
  if (HasState(csLoading)) return;
  UpdateScrollInfo();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin) throw EInvalidOperation("Scrollbar property out of range");
  int Top = FPageSize > 0 ? AMax - FPageSize + 1 : AMax;
  APosition = std::clamp(APosition, AMin, std::max(Top, AMin));
  bool Changed = APosition != FPosition;
  if (!Changed && AMin == FMin && AMax == FMax) return;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  if (HasState(csLoading)) return;
  UpdateScrollInfo();
  if (Changed) Change();
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::CNScroll(TMessage& Message) {
  int Code = LOWORD(Message.WParam);
  int Pos = FPosition;
  switch (Code) {
    case SB_LINEUP: Pos -= FSmallChange; break;
    case SB_LINEDOWN: Pos += FSmallChange; break;
    case SB_PAGEUP: Pos -= FLargeChange; break;
    case SB_PAGEDOWN: Pos += FLargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO Info{};
      Info.cbSize = sizeof(Info);
      Info.fMask = SIF_TRACKPOS;
      Pos = GetScrollInfo(WindowHandle(), SB_CTL, &Info) ? Info.nTrackPos : int(short(HIWORD(Message.WParam)));
      break;
    }
    case SB_TOP: Pos = FMin; break;
    case SB_BOTTOM: Pos = FMax; break;
    default: break;
  }
  int Top = FPageSize > 0 ? FMax - FPageSize + 1 : FMax;
  Pos = std::clamp(Pos, FMin, std::max(Top, FMin));
  if (Code >= 0 && Code <= scEndScroll) Scroll(TScrollCode(Code), Pos);
  SetPosition(Pos);
  Message.Result = 0;
}

static constinit const TPropInfo TScrollBar_Props[] = {
    TControlProps::Align(),
    TControlProps::Anchors(),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    PropEnum<&TScrollBar::Kind, &TScrollBar::SetKind>("Kind", TScrollBarKindType, sbHorizontal),
    PropInt<&TScrollBar::LargeChange, &TScrollBar::SetLargeChange>("LargeChange", 1),
    PropInt<&TScrollBar::Max, &TScrollBar::SetMax>("Max", 100),
    PropInt<&TScrollBar::Min, &TScrollBar::SetMin>("Min", 0),
    PropInt<&TScrollBar::PageSize, &TScrollBar::SetPageSize>("PageSize", 0),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    PropInt<&TScrollBar::Position, &TScrollBar::SetPosition>("Position", 0),
    TControlProps::ShowHint(),
    PropInt<&TScrollBar::SmallChange, &TScrollBar::SetSmallChange>("SmallChange", 1),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    PropEvent<&TScrollBar::OnChange>("OnChange"),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    PropEvent<&TScrollBar::OnScroll>("OnScroll"),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TScrollBar, TWinControl, TScrollBar_Props)

namespace {
struct TStdCtrlsRegistration {
  TStdCtrlsRegistration() {
    RegisterClasses({TLabel::StaticClass(), TButton::StaticClass(), TEdit::StaticClass(), TMemo::StaticClass(),
                     TCheckBox::StaticClass(), TRadioButton::StaticClass(), TGroupBox::StaticClass(),
                     TListBox::StaticClass(), TComboBox::StaticClass(), TScrollBar::StaticClass()});
  }
} StdCtrlsRegistration;
}  // namespace
