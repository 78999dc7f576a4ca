// A group box of radio buttons made from a list of captions (part of ExtCtrls).
#pragma once

#include "vcl/StdCtrls.h"

#include <vector>

class TCustomRadioGroup;

// One item of a radio group: a real radio button that the group makes, places and frees.
class TGroupButton : public TRadioButton {
  ORV_CLASS(TGroupButton, TRadioButton)
public:
  explicit TGroupButton(TCustomRadioGroup* AGroup);
  // Leaves the group's list, however it is freed.
  ~TGroupButton() override;
  // Checking the button tells the group; a double click on it is the group's.
  void Click() override;
  void DblClick() override;
private:
  TCustomRadioGroup* FGroup;
};

// One radio button per line of Items, laid out top to bottom in Columns columns inside the
// frame. ItemIndex is the checked item (-1: none); checking an item, by the user or by
// ItemIndex, calls Click. A double click on an item or on the group itself calls DblClick.
class TCustomRadioGroup : public TCustomGroupBox {
  ORV_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;

  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  // Kept within -1 .. the last item.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // Kept within 1 .. 16.
  int Columns() const { return FColumns; }
  void SetColumns(int Value);

  // The button of item Index (0 .. Items count - 1).
  TRadioButton* Buttons(int Index) const { return FButtons.at(size_t(Index)); }
  int ButtonCount() const { return int(FButtons.size()); }

  void Loaded() override;
  void Dispatch(TMessage& Message) override;

protected:
  void Resize() override;

private:
  friend class TGroupButton;
  void ButtonClick(TGroupButton* Button);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void ItemsChange(TObject* Sender);
  // Makes a button per item with its caption, checks the item's button and places them.
  void UpdateButtons();
  void ArrangeButtons();

  TStringList* FItems;
  std::vector<TGroupButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
  ORV_CLASS(TRadioGroup, TCustomRadioGroup)
public:
  explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
};
