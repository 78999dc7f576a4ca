// TqTrayIcon: an icon with a tool tip in the taskbar's notification area whose mouse messages
// become events and pop-up menus. TqcTrayMeter: the same with a drawn 16 x 16 bar meter as its
// icon and a tool tip made from a template. Both over TqCustomTrayIcon, their shared machinery.
#pragma once
#include "suite/MystdRoutines.h"
#include "vcl/Controls.h"
#include "vcl/Menus.h"

#include <shellapi.h>

#include <memory>

using TqcDefaultMenuEvent = TClosure<TObject* /*Sender*/, bool& /*DoDefault*/>;

class TqCustomTrayIcon : public TComponent {
  ORV_CLASS(TqCustomTrayIcon, TComponent)
public:
  // The utility window's messages: the icon changed, the shell's callback, apply HideParentForm.
  static constexpr UINT WM_ICONCHANGED = WM_USER + 1;
  static constexpr UINT WM_TRAYCALLBACK = WM_USER + 2;
  static constexpr UINT WM_APPLYHIDE = WM_USER + 3;
  static constexpr int MaxToolTip = 62;

  explicit TqCustomTrayIcon(TComponent* AOwner);
  ~TqCustomTrayIcon() override;
  // Takes the icon out of the notification area.
  void BeforeDestruction() override;
  void Loaded() override;

  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  TPopupMenu* LeftPopupMenu() const { return FLeftPopupMenu; }
  void SetLeftPopupMenu(TPopupMenu* Value);
  bool HideParentForm() const { return FHideParentForm; }
  void SetHideParentForm(bool Value);
  bool ShowDesigning() const { return FShowDesigning; }
  void SetShowDesigning(bool Value);
  // The icon is in the notification area (at run time); it stays false when the shell refuses it.
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  // At most 62 characters; longer text is cut.
  const AnsiString& ToolTip() const { return FToolTip; }
  void SetToolTip(const AnsiString& Value);
  bool DoDefaultMenu() const { return FDoDefaultMenu; }
  void SetDoDefaultMenu(bool Value) { FDoDefaultMenu = Value; }
  // The hidden window the shell reports to (with the component's Tag as the icon's id).
  HWND Handle() const { return FWindow; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnRightClick;
  TMouseEvent OnRightDblClick;
  TMouseEvent OnMidClick;
  TMouseEvent OnMidDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnleftMenu;
  TNotifyEvent OnRightMenu;
  TqcDefaultMenuEvent OnDefaultMenu;
  TAskEndSession OnAskEndSession;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Shift, Alt and Ctrl as the keyboard has them now.
  virtual TShiftState GetShift();
  // With DoDefaultMenu, an active icon and a popup menu: clicks the menu's first default item
  // unless OnDefaultMenu says no. True when an item was clicked.
  virtual bool CheckMenu();
  // The text the shell shows as the tip.
  virtual AnsiString TipText() const { return FToolTip; }
  // The tool tip property changed (after the cut).
  virtual void ToolTipChanged();
  // After loading, before the icon is added: the icon is to be made.
  virtual void ImageNeeded() {}
  // Takes a copy of Value as the icon, tells the shell while active and posts WM_ICONCHANGED.
  void SetIconImage(TIcon* Value);
  bool Running() const { return !HasState(csDesigning); }
  TIcon* FIcon;

private:
  class TLiveGuard;
  void FillRecord();
  bool AddIcon();
  void ModifyIcon();
  void DeleteIcon();
  bool Shown() const;
  void PopupAt(TPopupMenu* Menu, const TNotifyEvent& Before, int X, int Y);
  void TrayCallback(UINT MouseMsg);
  void WndProc(TMessage& Message);

  NOTIFYICONDATAA FData{};
  HWND FWindow = nullptr;
  TPopupMenu* FPopupMenu = nullptr;
  TPopupMenu* FLeftPopupMenu = nullptr;
  AnsiString FToolTip;
  bool FActive = false;
  bool FShowDesigning = false;
  bool FHideParentForm = false;
  bool FDoDefaultMenu = false;
  bool FLeftDown = false, FRightDown = false, FMidDown = false;
  // Cleared as destruction begins; callbacks under way hold it (TLiveGuard).
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TqTrayIcon : public TqCustomTrayIcon {
  ORV_CLASS(TqTrayIcon, TqCustomTrayIcon)
public:
  explicit TqTrayIcon(TComponent* AOwner) : TqCustomTrayIcon(AOwner) {}
  TIcon* Icon() const { return FIcon; }
  void SetIcon(TIcon* Value) { SetIconImage(Value); }
};

// ---------------------------------------------------------------------------------------------
enum TqcTMDir { TqcTM_Up, TqcTM_Down, TqcTM_Left, TqcTM_Right };
extern const TEnumType TqcTMDirType;
// The tip template's arguments: Percent; Value; Value and Percent; Percent and Value.
enum TqcTrayHintStyle { thsPctBar, thsTotalBar, thsTotPct, thsPctTot };
extern const TEnumType TqcTrayHintStyleType;

class TqcTrayMeter : public TqCustomTrayIcon {
  ORV_CLASS(TqcTrayMeter, TqCustomTrayIcon)
public:
  explicit TqcTrayMeter(TComponent* AOwner);

  // Max stays above Min, Value between them; Min stays below the integer maximum.
  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Value() const { return FValue; }
  void SetValue(int Value);
  // (Value - Min) * 100 div (Max - Min); setting it (above 100 counts as 100) sets Value.
  int Percent() const;
  void SetPercent(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor Value);
  TColor PctColor() const { return FPctColor; }
  void SetPctColor(TColor Value);
  TColor BarColor() const { return FBarColor; }
  void SetBarColor(TColor Value);
  bool UsePctOnBar() const { return FUsePctOnBar; }
  void SetUsePctOnBar(bool Value);
  bool UseLed() const { return FUseLed; }
  void SetUseLed(bool Value);
  TqcTMDir Direction() const { return FDirection; }
  void SetDirection(TqcTMDir Value);
  TqcTrayHintStyle ToolTipStyle() const { return FToolTipStyle; }
  void SetToolTipStyle(TqcTrayHintStyle Value);

  // The bar's length in pixels for a percentage: round(Percent * 0.14), halves to even.
  static int BarLength(int Percent);
  // The meter's face and mask as the icon takes them (16 x 16).
  void DrawImage(HDC DC) const;

protected:
  AnsiString TipText() const override { return FTip; }
  void ToolTipChanged() override { BuildIcon(); }
  void ImageNeeded() override { BuildIcon(); }

private:
  template <class T> void Change(T& Field, T Value);
  void ApplyRange(int NewMax);
  void BuildIcon();

  int FMin = 0, FMax = 100, FValue = 0;
  TColor FColor = clBtnFace, FFrameColor = clBlack, FPctColor = clBlack, FBarColor = clLime;
  bool FUsePctOnBar = true, FUseLed = false;
  TqcTMDir FDirection = TqcTM_Up;
  TqcTrayHintStyle FToolTipStyle = thsPctBar;
  AnsiString FTip;  // the formatted tool tip
};
