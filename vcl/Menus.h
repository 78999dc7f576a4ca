// Menus: menu items as a component tree, main menus and popup menus over real HMENUs.
#pragma once

#include "rtl/Classes.h"
#include "rtl/TypInfo.h"
#include "vcl/Win.h"
#include "vcl/Controls.h"
#include <vector>

class TMenu;

// A key plus modifiers: the virtual-key code in the low byte, scShift/scCtrl/scAlt above it.
using TShortCut = unsigned short;
enum : TShortCut { scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };

// Key plus ssShift/ssCtrl/ssAlt of Shift (other elements are ignored).
TShortCut ShortCut(unsigned short Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, unsigned short& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+Ctrl+F2", "Alt+Del"; "" for scNone.
AnsiString ShortCutToText(TShortCut ShortCut);
// The inverse of ShortCutToText (case-insensitive); scNone when the text names no shortcut.
TShortCut TextToShortCut(const AnsiString& Text);
// The caption without "&" markers ("&&" stands for one "&").
AnsiString StripHotkey(const AnsiString& Text);
// The accelerator character of a caption ("&File" -> 'F'), 0 when none.
char GetHotkey(const AnsiString& Text);

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
extern const TEnumType TMenuBreakType;
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenuItem;
// Owner drawing of a menu item: ACanvas is on the item's DC with the menu font and the colours of
// its state.
using TMenuDrawItemEvent = TClosure<TObject*, TCanvas*, const TRect&, bool>;
using TMenuMeasureItemEvent = TClosure<TObject*, TCanvas*, int&, int&>;

// The separator caption.
inline const char* const cLineCaption = "-";

class TMenuItem : public TComponent {
  ORV_CLASS(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak Value);
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);

  bool IsLine() const { return FCaption == cLineCaption; }
  // The WM_COMMAND id of this item, unique in the process.
  unsigned short Command() const { return FCommand; }
  // The submenu handle of an item with children, once its menu has a handle; else null.
  HMENU Handle() const { return FHandle; }

  // Children.
  int Count() const { return int(FItems.size()); }
  TMenuItem* Items(int Index) const;  // EMenuError "Menu index out of range"
  TMenuItem* operator[](int Index) const { return Items(Index); }
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);  // EMenuError "Menu item already in a menu" / index
  void Delete(int Index);                   // detaches without freeing
  void Remove(TMenuItem* Item);              // EMenuError "Menu item not found"
  void Clear();                              // frees every child
  int IndexOf(const TMenuItem* Item) const;  // -1 when absent
  TMenuItem* Find(const AnsiString& ACaption) const;  // by caption without hotkeys
  int MenuIndex() const;                     // index in the parent, -1 at the root
  void SetMenuIndex(int Value);
  TMenuItem* Parent() const { return FParent; }
  // The menu whose tree holds this item (null when detached).
  TMenu* GetParentMenu() const;

  // Runs the item: toggles AutoCheck items, then OnClick. Disabled items do nothing.
  virtual void Click();
  // An owner-drawn item's look: OnDrawItem when assigned, else the standard one (check or radio
  // mark, caption with its accelerator, shortcut at the right, separator, disabled text) in
  // ACanvas's font and colours.
  virtual void DrawItem(TCanvas* ACanvas, const TRect& ARect, bool Selected);
  // An owner-drawn item's size: OnMeasureItem when assigned, else the standard one.
  virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // Streaming: the children are written after this item, as nested objects.
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void Loaded() override;

protected:
  // Called when something visible in the item changed; the menu rebuilds its handle.
  void MenuChanged();

private:
  friend class TMenu;
  void TurnSiblingsOff();
  void BuildInto(HMENU Menu, int Position);  // appends this item (and its submenu) to Menu
  void ForgetHandles();                      // clears FHandle in the subtree

  AnsiString FCaption;
  AnsiString FHint;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  bool FRadioItem = false;
  bool FAutoCheck = false;
  int FGroupIndex = 0;
  int FHelpContext = 0;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  TMenuBreak FBreak = mbNone;
  unsigned short FCommand = 0;
  HMENU FHandle = nullptr;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item of a menu only
  std::vector<TMenuItem*> FItems;
};

ORV_EXCEPTION(EMenuError, Exception)

class TMenu : public TComponent {
  ORV_CLASS(TMenu, TComponent)
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The root of the tree (no caption); its children are the top-level items.
  TMenuItem* Items() const { return FItems; }
  // The menu handle, created and filled on first use.
  HMENU Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Refills the handle from the item tree (when it exists).
  void RebuildHandle();

  // Finds the item with the command id and clicks it; false when no item has that id.
  bool DispatchCommand(unsigned short ACommand);
  // WM_INITMENUPOPUP: clicks the item whose submenu is about to open.
  bool DispatchPopup(HMENU AMenuHandle);
  // Clicks the enabled, visible item bound to the shortcut; false when none.
  bool DispatchShortCut(TShortCut AShortCut);
  // Key message data (virtual key and the lParam of WM_KEYDOWN/WM_SYSKEYDOWN) as a shortcut
  // with the modifiers held now, then DispatchShortCut.
  bool IsShortCut(unsigned short CharCode, intptr_t KeyData);
  TMenuItem* FindItem(intptr_t Value, TFindItemKind Kind) const;
  // The help context of the item with that command (ByCommand) or submenu handle, else of its
  // nearest parent that has one; 0 when none has.
  int GetHelpContext(intptr_t Value, bool ByCommand) const;
  // WM_MENUCHAR for a menu of this tree (LParam its handle): runs the visible item of that menu
  // whose accelerator is the character (MNC_EXECUTE with its position), else MNC_IGNORE.
  void ProcessMenuChar(TMessage& Message);

  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);

  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  void Loaded() override;

protected:
  virtual HMENU CreateMenuHandle() = 0;
  // The tree or an item changed.
  virtual void MenuChanged();
  void DestroyHandle();
  HMENU AllocatedHandle() const { return FHandle; }
  friend class TMenuItem;

private:
  TMenuItem* FItems;
  HMENU FHandle = nullptr;
  bool FOwnerDraw = false;
};

class TMainMenu : public TMenu {
  ORV_CLASS(TMainMenu, TMenu)
public:
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
  ~TMainMenu() override;

  // The window that shows this menu as its menu bar (the form sets it after SetMenu, and clears
  // it before its window goes away); changes redraw the bar.
  void SetWindowHandle(HWND Value);
  HWND WindowHandle() const { return FWindowHandle; }
  bool AutoMerge() const { return FAutoMerge; }
  void SetAutoMerge(bool Value) { FAutoMerge = Value; }

protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
  void MenuChanged() override;

private:
  HWND FWindowHandle = nullptr;
  bool FAutoMerge = false;
};

enum TPopupAlignment { paLeft, paRight, paCenter };
extern const TEnumType TPopupAlignmentType;
enum TTrackButton { tbRightButton, tbLeftButton };
extern const TEnumType TTrackButtonType;

class TPopupMenu : public TMenu {
  ORV_CLASS(TPopupMenu, TMenu)
public:
  explicit TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

  // Runs OnPopup, shows the menu at screen point (X, Y) and clicks the chosen item.
  virtual void Popup(int X, int Y);
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);

  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TTrackButton TrackButton() const { return FTrackButton; }
  void SetTrackButton(TTrackButton Value) { FTrackButton = Value; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }

  TNotifyEvent OnPopup;

protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }
  virtual void DoPopup(TObject* Sender) { if (OnPopup) OnPopup(Sender); }
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TComponent* FPopupComponent = nullptr;
  TPopupAlignment FAlignment = paLeft;
  bool FAutoPopup = true;
  TTrackButton FTrackButton = tbRightButton;
  int FHelpContext = 0;
};

// The published "PopupMenu" reference of a control, for the property tables of controls.
constexpr TPropInfo PopupMenuProp() {
  return PropRef<&TControl::PopupMenu, &TControl::SetPopupMenu>("PopupMenu");
}
