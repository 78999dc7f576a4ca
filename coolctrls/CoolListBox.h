// The cool list box (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolItems.h"

// An owner-drawn list box of the cool controls: items by extended style, check states, wallpapers
// and bevels behind and round each item (the shared item part).
class TCoolListBox : public TCoolItemControl<TCustomListBox> {
  ORV_CLASS(TCoolListBox, TCoolItemControl<TCustomListBox>)
public:
  explicit TCoolListBox(TComponent* AOwner);

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

protected:
  void DrawItemFrame() override;
  bool IsSelectedState(TOwnerDrawState State) const override;
  TRect WallpaperArea(bool Selected) override { return ClientRect(); }
  void OptionsChanged() override { RecreateWnd(); }
  void FontChosen() override { Click(); }
  void CheckChanged(int Index) override { InvalidateCheck(Index); }
  int ExtentLimit() override { return Width(); }
  // Repaints the check area of an item: ItemHeight + 2 pixels at its left end.
  void InvalidateCheck(int Index);
};
