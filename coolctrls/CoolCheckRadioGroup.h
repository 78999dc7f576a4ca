// The cool check and radio group (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCheckRadioBox.h"
#include "coolctrls/CoolGroupBox.h"

#include <vector>

// A group box holding one check or radio box per line of Items, in columns. ItemIndex names the
// checked box; the group hands its look (shadow, glyphs, flat style, type) down to the boxes.
class TCoolCheckRadioGroup : public TCoolGroupBox {
  ORV_CLASS(TCoolCheckRadioGroup, TCoolGroupBox)
public:
  explicit TCoolCheckRadioGroup(TComponent* AOwner);
  ~TCoolCheckRadioGroup() override;
  void Dispatch(TMessage& Message) override;

  TCheckRadioType CheckRadioType() const { return FCheckRadioType; }
  void SetCheckRadioType(TCheckRadioType Value);
  // 1..16.
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // Created on first read; a write copies and hands both glyphs to the boxes.
  TBitmap* GlyphMarked() const;
  void SetGlyphMarked(TBitmap* Value);
  TBitmap* GlyphNormal() const;
  void SetGlyphNormal(TBitmap* Value);
  // -1 (none) .. ButtonCount() - 1; setting it checks that box alone and focuses it when it can
  // take the focus.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // One box per line; a change rebuilds the boxes.
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }

  int ButtonCount() const { return int(FButtons.size()); }
  TCoolCheckRadioBox* Buttons(int Index) const { return FButtons.at(size_t(Index)); }

protected:
  // A box that goes (also with the group's owned components, before the destructor runs) leaves
  // the list.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  void Loaded() override;

  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void WMSize(TMessage& Message);
  void CMChanged(TMessage& Message);

private:
  void ButtonClick(TObject* Sender);
  void ItemsChange(TObject* Sender);
  void SetButtonCount(int Count);
  void UpdateButtons();
  void ArrangeButtons();
  // Either glyph holds a picture: the boxes draw them in place of the system box.
  bool HasGlyphs() const;
  void ApplyLook(TCoolCheckRadioBox* Box) const;

  std::vector<TCoolCheckRadioBox*> FButtons;
  TStringList* FItems;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FReading = false;
  bool FUpdating = false;
  bool FFlat = false;
  TCheckRadioType FCheckRadioType = crRadioBox;
  mutable TBitmap* FGlyphMarked = nullptr;
  mutable TBitmap* FGlyphNormal = nullptr;
};
