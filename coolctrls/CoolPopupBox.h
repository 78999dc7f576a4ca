// Buttons that drop a list of strings below themselves (part of unit CoolCtrls; include
// "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"

// The dropped list: a top-level popup window owned by the application window that is never
// activated. A release or key release with an item selected reports it (Click, OnClick).
class TCoolListBoxEx : public TCoolListBox {
  ORV_CLASS(TCoolListBoxEx, TCoolListBox)
public:
  explicit TCoolListBoxEx(TComponent* AOwner) : TCoolListBox(AOwner) {}
  void Dispatch(TMessage& Message) override;
  // The last press on the list was outside its vertical scroll bar.
  bool ClickedInList() const { return FClickedInList; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyUp(unsigned short& Key, TShiftState Shift) override;
  void WMMouseActivate(TMessage& Message);

private:
  bool FClickedInList = false;
};

// One watcher of Application->OnMessage for every live popup box: the boxes newest first, then
// the handler that was there when it was installed. It goes when the last box goes, while
// OnMessage is still its own; otherwise it stays, passing messages on.
namespace PopupBoxWatch {
void Add(const TMessageEvent& Box);
void Remove(const TMessageEvent& Box);
// Boxes being watched (for tests).
int Count();
}  // namespace PopupBoxWatch

// What both boxes share: the list, the watch, the rules of closing.
class TPopupBoxList {
public:
  explicit TPopupBoxList(TNotifyEvent OnListClick);
  ~TPopupBoxList();
  TPopupBoxList(const TPopupBoxList&) = delete;
  TPopupBoxList& operator=(const TPopupBoxList&) = delete;

  TCoolListBoxEx* List() const { return FList; }
  bool Visible() const { return FList->HandleAllocated() && IsWindowVisible(FList->WindowHandle()); }
  // The list at the screen point, Width wide and 100 pixels high (rounded down to whole items),
  // in Font, shown without activation.
  void Show(TPoint At, int Width, TFont* Font);
  void Hide() const;
  // A message that closes an open list.
  static bool IsCloseMsg(const MSG& Msg);
  // Steps 2 and 3 of the watch: presses and releases forwarded, navigation keys forwarded,
  // every key message swallowed; true when Enter or Escape asks to close.
  bool Forward(MSG& Msg, bool& Handled) const;

private:
  TCoolListBoxEx* FList;
};

// The split button whose arrow part drops a list; OnChange reports the item chosen.
class TCoolPopupBox : public TCustomPopupButton {
  ORV_CLASS(TCoolPopupBox, TCustomPopupButton)
public:
  explicit TCoolPopupBox(TComponent* AOwner);
  ~TCoolPopupBox() override;
  void Dispatch(TMessage& Message) override;

  TStrings* Items() const { return FDrop.List()->Items(); }
  void SetItems(TStrings* Value) { Items()->Assign(Value); }
  int ItemIndex() const { return FDrop.List()->ItemIndex(); }
  void SetItemIndex(int Value) { FDrop.List()->SetItemIndex(Value); }
  TCoolListBoxEx* List() const { return FDrop.List(); }
  bool DroppedDown() const { return FDrop.Visible(); }

  void AppMessage(MSG& Msg, bool& Handled);
  TNotifyEvent OnChange;

protected:
  void ClickAdd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CloseUp();
  void Change(TObject* Sender);

private:
  TPopupBoxList FDrop;
  bool FOpeningClick = false;
  bool FWatching = false;
};

// The windowed twin: every click drops the list; presses on its scroll bar keep it open.
class TCoolPopupBox2 : public TCoolBtn {
  ORV_CLASS(TCoolPopupBox2, TCoolBtn)
public:
  explicit TCoolPopupBox2(TComponent* AOwner);
  ~TCoolPopupBox2() override;

  TStrings* Items() const { return FDrop.List()->Items(); }
  void SetItems(TStrings* Value) { Items()->Assign(Value); }
  int ItemIndex() const { return FDrop.List()->ItemIndex(); }
  void SetItemIndex(int Value) { FDrop.List()->SetItemIndex(Value); }
  TCoolListBoxEx* List() const { return FDrop.List(); }
  bool DroppedDown() const { return FDrop.Visible(); }
  void Click() override;

  void AppMessage(MSG& Msg, bool& Handled);
  TNotifyEvent OnChange;

protected:
  void CloseUp();
  void Change(TObject* Sender);

private:
  TPopupBoxList FDrop;
  bool FWatching = false;
};
