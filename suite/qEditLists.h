// Unit qEdit, the framed memo, list box and combo box: the system EDIT, LISTBOX and COMBOBOX with
// the framed edit's frame; the combo box has a flat drop-down button of its own over the arrow.
#pragma once
#include "suite/qAnimateNWColorBtn.h"
#include "suite/qEditFrame.h"

class TqcCustomMemo : public TqcFramedControl<TCustomMemo> {
  ORV_CLASS(TqcCustomMemo, TqcFramedControl<TCustomMemo>)
public:
  explicit TqcCustomMemo(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

protected:
  // With both scroll bars, the square where they meet first takes the memo's colour.
  void DrawNCArea() override;

private:
  void WMNCPaint(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMPaint(TMessage& Message);
};

class TqcMemo : public TqcCustomMemo {
  ORV_CLASS(TqcMemo, TqcCustomMemo)
public:
  explicit TqcMemo(TComponent* AOwner) : TqcCustomMemo(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
class TqcCustomListBox : public TqcFramedControl<TCustomListBox> {
  ORV_CLASS(TqcCustomListBox, TqcFramedControl<TCustomListBox>)
public:
  explicit TqcCustomListBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  // False from the start: the frame stands in for the 3-D border.
  using TWinControl::ParentCtl3D;
  using TWinControl::SetParentCtl3D;

private:
  void WMNCPaint(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
};

class TqcListBox : public TqcCustomListBox {
  ORV_CLASS(TqcListBox, TqcCustomListBox)
public:
  explicit TqcListBox(TComponent* AOwner) : TqcCustomListBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// The combo box counts as active also while the focus is in its inner edit. Its drop-down button
// is a flat non-windowed bitmap button with the system's combo arrow, dropping the list.
using TqcButtonComboBox = TqcButtonHost<TqcFramedControl<TCustomComboBox>, TqNWBitColBtn>;
class TqcCustomComboBox : public TqcButtonComboBox {
  ORV_CLASS(TqcCustomComboBox, TqcButtonComboBox)
public:
  explicit TqcCustomComboBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void Loaded() override;

  // The style change recreates the window, then the height and the button follow.
  TComboBoxStyle Style() const { return TCustomComboBox::Style(); }
  void SetStyle(TComboBoxStyle Value);

  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TWinControl::ParentCtl3D;
  using TWinControl::SetParentCtl3D;

protected:
  void DrawNCArea() override;
  bool FrameActive() const override;
  // Height from the font (tmHeight plus 8) unless owner-drawn, then the button follows.
  virtual void Adjust();
  void ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) override;

private:
  // Right edge, 2 in from the top; hidden above the control for the simple style.
  void PlaceButton();
  void ButtonClick(TObject* Sender);
  void WMNCPaint(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMSize(TMessage& Message);
  void CMFontChanged(TMessage& Message);
};

class TqcComboBox : public TqcCustomComboBox {
  ORV_CLASS(TqcComboBox, TqcCustomComboBox)
public:
  explicit TqcComboBox(TComponent* AOwner) : TqcCustomComboBox(AOwner) {}
};
