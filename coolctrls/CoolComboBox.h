// The cool combo box (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolItems.h"

// An owner-drawn combo box of the cool controls, with the items of the shared item part.
class TCoolComboBox : public TCoolItemControl<TCustomComboBox> {
  ORV_CLASS(TCoolComboBox, TCoolItemControl<TCustomComboBox>)
public:
  explicit TCoolComboBox(TComponent* AOwner);

  // Width of the dropped list: the control's Width at construction; 0 is stored as Width.
  int ListBoxWidth() const { return FListBoxWidth; }
  void SetListBoxWidth(int Value) { FListBoxWidth = Value == 0 ? Width() : Value; }
  // The wallpaper area of the dropped list, in its client coordinates; empty until known.
  TRect ListRect() const { return FListRect; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

protected:
  void DrawItemFrame() override;
  bool IsSelectedState(TOwnerDrawState State) const override;
  TRect WallpaperArea(bool Selected) override;
  void AdjustItemRect(TRect& R) override { R.Inflate(1, 1); }
  void OptionsChanged() override { Invalidate(); }
  void FontChosen() override { Change(); }
  int ExtentLimit() override { return FListBoxWidth; }

private:
  int FListBoxWidth;
  TRect FListRect;
  TBorderStyle FBorderStyle = bsSingle;
};
