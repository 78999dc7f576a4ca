// Standard controls: labels, buttons, edits, memos, check boxes, radio buttons, group boxes,
// list boxes, combo boxes and scroll bars. The windowed ones subclass the system classes.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Menus.h"

class TCustomForm;

// WS_BORDER, or the 3-D client edge with Ctl3D, for a control with a single border.
void ApplyBorder(TCreateParams& Params, TBorderStyle Style, bool Ctl3D);

enum TTextLayout { tlTop, tlCenter, tlBottom };
extern const TEnumType TTextLayoutType;
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
extern const TEnumType TEditCharCaseType;
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
extern const TEnumType TScrollStyleType;
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
extern const TEnumType TCheckBoxStateType;
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
extern const TEnumType TListBoxStyleType;
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
extern const TEnumType TComboBoxStyleType;
enum TScrollBarKind { sbHorizontal, sbVertical };
extern const TEnumType TScrollBarKindType;
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

// Owner-draw item state: bit n = ODS_ flag 1 << n.
enum TOwnerDrawStateElement {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive,
  odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit,
};
using TOwnerDrawState = unsigned;

using TDrawItemEvent = TClosure<TWinControl* /*Control*/, int /*Index*/, TRect /*Rect*/, TOwnerDrawState>;
using TMeasureItemEvent = TClosure<TWinControl* /*Control*/, int /*Index*/, int& /*Height*/>;
using TScrollEvent = TClosure<TObject* /*Sender*/, TScrollCode, int& /*ScrollPos*/>;

// ---------------------------------------------------------------------------------------------
// A text drawn on its parent. With Transparent the parent's background shows around the
// glyphs; "&" marks the accelerator that focuses FocusControl.
class TCustomLabel : public TGraphicControl {
  ORV_CLASS(TCustomLabel, TGraphicControl)
public:
  explicit TCustomLabel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value) override;

  void Dispatch(TMessage& Message) override;
  void Loaded() override;

protected:
  void Paint() override;
  void AdjustSize() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual AnsiString GetLabelText() const { return GetText(); }
  // Draws (or with DT_CALCRECT measures) the caption into Canvas, greyed when disabled.
  virtual void DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags);
  // Fits the bounds to the caption when AutoSize is on.
  virtual void AdjustBounds();

private:
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);

  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  bool FTransparent = false;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
  ORV_CLASS(TLabel, TCustomLabel)
public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TControl::AutoSize;
  using TControl::DragMode;
  using TControl::SetDragMode;
};

// ---------------------------------------------------------------------------------------------
class TButtonControl : public TWinControl {
  ORV_CLASS(TButtonControl, TWinControl)
public:
  explicit TButtonControl(TComponent* AOwner);
protected:
  virtual bool GetChecked() const { return false; }
  virtual void SetChecked(bool Value) {}
  // While positive, state changes made by the program do not call Click.
  int ClicksDisabled() const { return FClicksDisabled; }
  void SetClicksDisabled(bool Value) { FClicksDisabled += Value ? 1 : -1; }
private:
  int FClicksDisabled = 0;
};

// A push button. Clicking sets the parent form's ModalResult; a Default button answers Enter and
// a Cancel button Escape anywhere on its form.
class TButton : public TButtonControl {
  ORV_CLASS(TButton, TButtonControl)
public:
  explicit TButton(TComponent* AOwner);

  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // The button Enter presses now: the focused button, else the default one.
  bool Active() const { return FActive; }

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TControl::DragMode;
  using TControl::SetDragMode;

  void Click() override;
  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Shows the button as the default (thick border) or not.
  virtual void SetButtonStyle(bool ADefault);

  void CNCommand(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMFocusChanged(TMessage& Message);

  bool FActive = false;
private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

// ---------------------------------------------------------------------------------------------
// A single-line edit box over the system "EDIT" class.
class TCustomEdit : public TWinControl {
  ORV_CLASS(TCustomEdit, TWinControl)
public:
  explicit TCustomEdit(TComponent* AOwner);

  using TControl::Text;
  using TControl::SetText;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;

  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value);
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool Modified() const;
  void SetModified(bool Value);
  void SetAutoSize(bool Value) override;

  // Selection (0-based character positions).
  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  AnsiString SelText();
  void SetSelText(const AnsiString& Value);
  void SelectAll();
  void ClearSelection();
  void Clear();
  bool CanUndo();
  void Undo();
  void ClearUndo();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

  TNotifyEvent OnChange;

  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  virtual void Change();
  // Height from the font when AutoSize is on (and the box has a border).
  void AdjustHeight();
  void UpdateHeight();
  bool Creating() const { return FCreating; }

  void CNCommand(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);

private:
  int FMaxLength = 0;
  TBorderStyle FBorderStyle = bsSingle;
  TEditCharCase FCharCase = ecNormal;
  char FPasswordChar = 0;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  bool FOEMConvert = false;
  bool FReadOnly = false;
  bool FModified = false;   // kept while there is no window
  DWORD FSelStart = 0, FSelEnd = 0;  // likewise, for the next window
  bool FCreating = false;
  friend class TCustomMemo;
};

class TEdit : public TCustomEdit {
  ORV_CLASS(TEdit, TCustomEdit)
public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
  using TControl::AutoSize;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TWinControl::Ctl3D;
  using TWinControl::SetCtl3D;
};

// ---------------------------------------------------------------------------------------------
// A multi-line edit box; Lines are the lines of the window (or of Text before it exists).
class TCustomMemo : public TCustomEdit {
  ORV_CLASS(TCustomMemo, TCustomEdit)
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  TStrings* Lines() const { return FLines; }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  // Caret line and column (0-based).
  TPoint CaretPos();

  void Dispatch(TMessage& Message) override;
  TAlignment GetControlsAlignment() const override { return FAlignment; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(char& Key) override;
  void WMGetDlgCode(TMessage& Message);

private:
  TStrings* FLines;
  TAlignment FAlignment = taLeftJustify;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
  ORV_CLASS(TMemo, TCustomMemo)
public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
};

// ---------------------------------------------------------------------------------------------
class TCustomCheckBox : public TButtonControl {
  ORV_CLASS(TCustomCheckBox, TButtonControl)
public:
  explicit TCustomCheckBox(TComponent* AOwner);

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;

  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) override;
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);

  void Dispatch(TMessage& Message) override;

protected:
  bool GetChecked() const override { return Checked(); }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Unchecked -> checked (or grayed with AllowGrayed) -> unchecked.
  virtual void Toggle();
  void CNCommand(TMessage& Message);
  void CMDialogChar(TMessage& Message);

private:
  TLeftRight FAlignment = taRightJustify;
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
};

class TCheckBox : public TCustomCheckBox {
  ORV_CLASS(TCheckBox, TCustomCheckBox)
public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// A radio button; checking one unchecks the other radio buttons of the same parent.
class TRadioButton : public TButtonControl {
  ORV_CLASS(TRadioButton, TButtonControl)
public:
  explicit TRadioButton(TComponent* AOwner);

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;

  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value) override;

  void Dispatch(TMessage& Message) override;

protected:
  bool GetChecked() const override { return FChecked; }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CNCommand(TMessage& Message);
  void CMDialogChar(TMessage& Message);

private:
  TLeftRight FAlignment = taRightJustify;
  bool FChecked = false;
};

// ---------------------------------------------------------------------------------------------
// A frame with a caption that holds other controls.
class TCustomGroupBox : public TCustomControl {
  ORV_CLASS(TCustomGroupBox, TCustomControl)
public:
  explicit TCustomGroupBox(TComponent* AOwner);
  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  void Dispatch(TMessage& Message) override;
protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
private:
  void CMDialogChar(TMessage& Message);
  void CMTextChanged(TMessage& Message);
};

class TGroupBox : public TCustomGroupBox {
  ORV_CLASS(TGroupBox, TCustomGroupBox)
public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// Items of a list or combo box: the window's items while it exists, a plain list otherwise.
class TWindowItems;

// The item operations of a list or combo box that its items go through, so a descendant can
// keep something of its own in an item's data slot. The data is pointer-sized; GetItemData
// answers the error value -1 for an index outside the items. A window made again gets every
// item's data back through SetItemData, once per item in item order, 0 included.
class TItemControl {
protected:
  virtual ~TItemControl() = default;
  virtual intptr_t GetItemData(int Index) = 0;
  virtual void SetItemData(int Index, intptr_t AData) = 0;
  virtual void ResetContent() = 0;
  virtual void DeleteString(int Index) = 0;
  friend class TWindowItems;
};

class TCustomListBox : public TWinControl, public TItemControl {
  ORV_CLASS(TCustomListBox, TWinControl)
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;

  TStrings* Items() const;
  void SetItems(TStrings* Value);
  int ItemIndex() const;
  void SetItemIndex(int Value);
  bool Selected(int Index);
  void SetSelected(int Index, bool Value);
  int SelCount();
  int TopIndex() const;
  void SetTopIndex(int Value);
  // Index of the item at a client point, -1 (or the nearest when Existing is false) when none.
  int ItemAtPos(TPoint Pos, bool Existing);
  TRect ItemRect(int Index);
  void Clear();

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  int ItemHeight() const;
  void SetItemHeight(int Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int Value);
  TCanvas* Canvas() const { return FCanvas; }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  intptr_t GetItemData(int Index) override;
  void SetItemData(int Index, intptr_t AData) override;
  void ResetContent() override;
  void DeleteString(int Index) override;

  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);

private:
  friend class TWindowItems;
  TWindowItems* FItems;
  TCanvas* FCanvas;
  TBorderStyle FBorderStyle = bsSingle;
  TListBoxStyle FStyle = lbStandard;
  int FColumns = 0;
  int FItemHeight = 16;
  int FTabWidth = 0;
  int FItemIndex = -1;       // kept while there is no window
  int FTopIndex = 0;
  std::vector<bool> FSaveSelected;
  bool FExtendedSelect = true;
  bool FIntegralHeight = false;
  bool FMultiSelect = false;
  bool FSorted = false;
};

class TListBox : public TCustomListBox {
  ORV_CLASS(TListBox, TCustomListBox)
public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
};

class TCustomComboBox : public TWinControl, public TItemControl {
  ORV_CLASS(TCustomComboBox, TWinControl)
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  using TControl::Text;
  using TControl::SetText;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;

  TStrings* Items() const;
  void SetItems(TStrings* Value);
  int ItemIndex() const;
  void SetItemIndex(int Value);
  bool DroppedDown();
  void SetDroppedDown(bool Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);
  int ItemHeight() const;
  void SetItemHeight(int Value);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  // The height is the closed box's; the window is asked for the drop-down list's room below it.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  void SelectAll();
  void Clear();
  TCanvas* Canvas() const { return FCanvas; }
  static bool ItemHeightStored(const TObject* Obj);
  // The inner edit window (none for the drop-down list styles) and list window, while the
  // window exists.
  HWND EditHandle() const { return FEditHandle; }
  HWND ListHandle() const { return FListHandle; }

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  virtual void Change();
  virtual void DropDown();
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  intptr_t GetItemData(int Index) override;
  void SetItemData(int Index, intptr_t AData) override;
  void ResetContent() override;
  void DeleteString(int Index) override;
  // Height the window takes for the list part.
  int DropDownHeight();

  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  // Every message of the inner edit and list windows (ComboWnd) comes here first, ComboProc being
  // the window's own procedure: the focus is tracked for the combo box, keys run its key events,
  // mouse moves and leaves count as the combo box's; the rest goes to ComboProc.
  virtual void ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc);

private:
  friend class TWindowItems;
  void EditWndProc(TMessage& Message);
  void ListWndProc(TMessage& Message);
  // Subclasses (or gives back) the inner windows GetComboBoxInfo names.
  void HookInnerWindows();
  void UnhookInnerWindows();
  TWindowItems* FItems;
  TCanvas* FCanvas;
  HWND FEditHandle = nullptr, FListHandle = nullptr;
  WNDPROC FEditInstance = nullptr, FListInstance = nullptr;
  WNDPROC FDefEditProc = nullptr, FDefListProc = nullptr;
  bool FSizing = false;   // a size of our own asked for: the next WM_WINDOWPOSCHANGING adds the list
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  int FItemHeight = 16;
  int FMaxLength = 0;
  int FItemIndex = -1;
  bool FSorted = false;
};

class TComboBox : public TCustomComboBox {
  ORV_CLASS(TComboBox, TCustomComboBox)
public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
};

// ---------------------------------------------------------------------------------------------
class TScrollBar : public TWinControl {
  ORV_CLASS(TScrollBar, TWinControl)
public:
  explicit TScrollBar(TComponent* AOwner);

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  int Min() const { return FMin; }
  void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
  int Max() const { return FMax; }
  void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
  int Position() const { return FPosition; }
  void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int Value) { FSmallChange = Value; }
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int Value) { FLargeChange = Value; }
  // EInvalidOperation "Scrollbar property out of range" when Min > Max.
  void SetParams(int APosition, int AMin, int AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
  void CNScroll(TMessage& Message);

private:
  void UpdateScrollInfo();
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FPageSize = 0;
  int FSmallChange = 1;
  int FLargeChange = 1;
};
