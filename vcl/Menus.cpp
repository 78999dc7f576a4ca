#include "vcl/Menus.h"
#include "vcl/Controls.h"
#include "vcl/GdiGuards.h"
#include <algorithm>
#include <cctype>

// ---------------------------------------------------------------------------------------------
// Shortcuts.

namespace {

const char* SpecialKeyName(unsigned short Key) {
  switch (Key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    default: return nullptr;
  }
}

AnsiString KeyName(unsigned short Key) {
  if (const char* S = SpecialKeyName(Key)) return S;
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return AnsiString(char(Key));
  if (Key >= VK_F1 && Key <= VK_F24) return "F" + IntToStr(Key - VK_F1 + 1);
  // Other keys by the keyboard layout's name for them.
  UINT Scan = MapVirtualKeyA(Key, MAPVK_VK_TO_VSC);
  if (Scan == 0) return AnsiString();
  char Buf[64] = {};
  int N = GetKeyNameTextA(LONG(Scan << 16), Buf, int(sizeof(Buf)));
  return N > 0 ? AnsiString(Buf, N) : AnsiString();
}

bool StartsWithIC(const AnsiString& S, int Pos, const char* Prefix) {
  int N = int(std::char_traits<char>::length(Prefix));
  if (Pos - 1 + N > S.Length()) return false;
  return CompareText(S.SubString(Pos, N), Prefix) == 0;
}

// Command ids handed to menu items: smallest free id first, 0 is never used (it means "none").
std::vector<bool>& CommandPool() {
  static std::vector<bool> Pool(1, true);
  return Pool;
}

unsigned short UniqueCommand() {
  auto& Pool = CommandPool();
  auto It = std::find(Pool.begin(), Pool.end(), false);
  size_t Id = size_t(It - Pool.begin());
  if (Id > 0xFFFF) throw EMenuError("Too many menu items");
  if (It == Pool.end()) Pool.push_back(true); else *It = true;
  return (unsigned short)Id;
}

void ReleaseCommand(unsigned short Id) {
  auto& Pool = CommandPool();
  if (Id > 0 && Id < Pool.size()) Pool[Id] = false;
}

}  // namespace

TShortCut ShortCut(unsigned short Key, TShiftState Shift) {
  if (Key & 0xFF00) return scNone;
  TShortCut R = TShortCut(Key);
  if (Shift & ShiftOf(ssShift)) R |= scShift;
  if (Shift & ShiftOf(ssCtrl)) R |= scCtrl;
  if (Shift & ShiftOf(ssAlt)) R |= scAlt;
  return R;
}

void ShortCutToKey(TShortCut SC, unsigned short& Key, TShiftState& Shift) {
  Key = SC & 0xFF;
  Shift = 0;
  if (SC & scShift) Shift |= ShiftOf(ssShift);
  if (SC & scCtrl) Shift |= ShiftOf(ssCtrl);
  if (SC & scAlt) Shift |= ShiftOf(ssAlt);
}

AnsiString ShortCutToText(TShortCut SC) {
  AnsiString Name = KeyName(SC & 0xFF);
  if (Name.IsEmpty()) return AnsiString();
  AnsiString R;
  if (SC & scShift) R += "Shift+";
  if (SC & scCtrl) R += "Ctrl+";
  if (SC & scAlt) R += "Alt+";
  return R + Name;
}

TShortCut TextToShortCut(const AnsiString& Text) {
  TShortCut Mods = 0;
  int Pos = 1;
  for (;;) {
    if (StartsWithIC(Text, Pos, "Shift+")) { Mods |= scShift; Pos += 6; }
    else if (StartsWithIC(Text, Pos, "Ctrl+")) { Mods |= scCtrl; Pos += 5; }
    else if (StartsWithIC(Text, Pos, "Alt+")) { Mods |= scAlt; Pos += 4; }
    else break;
  }
  AnsiString KeyText = Text.SubString(Pos, Text.Length() - Pos + 1);
  if (KeyText.IsEmpty()) return scNone;
  for (unsigned short Key = 0x08; Key <= 0xFF; ++Key) {
    AnsiString Name = KeyName(Key);
    if (!Name.IsEmpty() && CompareText(Name, KeyText) == 0) return TShortCut(Mods | Key);
  }
  return scNone;
}

AnsiString StripHotkey(const AnsiString& Text) {
  AnsiString R;
  for (int I = 1; I <= Text.Length(); ++I) {
    if (Text[I] == '&') {
      if (I < Text.Length() && Text[I + 1] == '&') { R += '&'; ++I; }
      continue;
    }
    R += Text[I];
  }
  return R;
}

char GetHotkey(const AnsiString& Text) {
  for (int I = 1; I < Text.Length(); ++I) {
    if (Text[I] != '&') continue;
    if (Text[I + 1] == '&') { ++I; continue; }
    return char(std::toupper((unsigned char)Text[I + 1]));
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// TMenuItem.

constexpr TEnumType TMenuBreakType{"TMenuBreak", {"mbNone", "mbBreak", "mbBarBreak"}};

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(UniqueCommand()) {}

TMenuItem::~TMenuItem() {
  if (FParent) FParent->Remove(this);
  while (!FItems.empty()) {
    TMenuItem* Child = FItems.back();
    FItems.pop_back();
    Child->FParent = nullptr;
    TObject::Free(Child);
  }
  ReleaseCommand(FCommand);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* Item = this;
  while (Item->FParent) Item = Item->FParent;
  return Item->FMenu;
}

void TMenuItem::MenuChanged() {
  if (HasState(csLoading | csDestroying)) return;
  if (TMenu* Menu = GetParentMenu()) Menu->MenuChanged();
}

void TMenuItem::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  MenuChanged();
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (HasState(csLoading)) return;
  if (Value && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::TurnSiblingsOff() {
  if (!FParent) return;
  for (TMenuItem* Sibling : FParent->FItems)
    if (Sibling != this && Sibling->FRadioItem && Sibling->FGroupIndex == FGroupIndex) Sibling->FChecked = false;
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  MenuChanged();
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  MenuChanged();
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  if (!HasState(csLoading) && Value && FParent)
    for (TMenuItem* Sibling : FParent->FItems)
      if (Sibling != this) Sibling->FDefault = false;
  MenuChanged();
}

void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (HasState(csLoading)) return;
  if (FChecked && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (HasState(csLoading)) return;
  if (FChecked && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  MenuChanged();
}

void TMenuItem::SetBreak(TMenuBreak Value) {
  if (FBreak == Value) return;
  FBreak = Value;
  MenuChanged();
}

void TMenuItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError("Menu index out of range");
  return FItems[size_t(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) throw EMenuError("Menu item is nil");
  if (Item->FParent) throw EMenuError("Menu item already in a menu");
  if (Item == this || Item->FMenu) throw EMenuError("Cannot insert a menu into itself");
  for (const TMenuItem* P = this; P; P = P->FParent)
    if (P == Item) throw EMenuError("Cannot insert a menu into itself");
  if (Index < 0 || Index > Count()) throw EMenuError("Menu index out of range");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (Item->FChecked && Item->FRadioItem && !Item->HasState(csLoading)) Item->TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::Delete(int Index) {
  TMenuItem* Item = Items(Index);
  FItems.erase(FItems.begin() + Index);
  Item->FParent = nullptr;
  Item->ForgetHandles();
  MenuChanged();
}

void TMenuItem::Remove(TMenuItem* Item) {
  int Index = IndexOf(Item);
  if (Index < 0) throw EMenuError("Menu item not found");
  Delete(Index);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) {
    TMenuItem* Child = FItems.back();
    FItems.pop_back();
    Child->FParent = nullptr;
    TObject::Free(Child);
  }
  MenuChanged();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : int(It - FItems.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& ACaption) const {
  AnsiString Wanted = StripHotkey(ACaption);
  for (TMenuItem* Item : FItems)
    if (CompareText(StripHotkey(Item->FCaption), Wanted) == 0) return Item;
  return nullptr;
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int Value) {
  if (!FParent) return;
  TMenuItem* P = FParent;
  int Cur = P->IndexOf(this);
  Value = std::clamp(Value, 0, P->Count() - 1);
  if (Value == Cur) return;
  P->FItems.erase(P->FItems.begin() + Cur);
  P->FItems.insert(P->FItems.begin() + Value, this);
  MenuChanged();
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(FRadioItem ? true : !FChecked);
  if (OnClick) OnClick(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  for (TMenuItem* Item : std::vector<TMenuItem*>(FItems)) Proc(Item);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (!Value) return;
  if (Value->Is<TMenu>()) static_cast<TMenu*>(Value)->Items()->Add(this);
  else if (Value->Is<TMenuItem>()) static_cast<TMenuItem*>(Value)->Add(this);
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (FChecked && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::ForgetHandles() {
  FHandle = nullptr;
  for (TMenuItem* Item : FItems) Item->ForgetHandles();
}

void TMenuItem::BuildInto(HMENU Menu, int Position) {
  MENUITEMINFOA Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
  Info.wID = FCommand;
  AnsiString Text;
  const TMenu* Owner = GetParentMenu();
  if (Owner && Owner->OwnerDraw()) {
    // Drawn and measured through the owner window; its accelerators come as WM_MENUCHAR.
    Info.fType = MFT_OWNERDRAW;
    if (IsLine()) Info.fType |= MFT_SEPARATOR;
  } else if (IsLine()) {
    Info.fType = MFT_SEPARATOR;
  } else {
    Text = FCaption;
    if (FShortCut != scNone && FParent && !FParent->FMenu) {
      AnsiString SC = ShortCutToText(FShortCut);
      if (!SC.IsEmpty()) Text += "\t" + SC;
    }
    Info.fMask |= MIIM_STRING;
    Info.dwTypeData = const_cast<char*>(Text.c_str());
    Info.cch = UINT(Text.Length());
  }
  if (FRadioItem) Info.fType |= MFT_RADIOCHECK;
  if (FBreak == mbBreak) Info.fType |= MFT_MENUBREAK;
  else if (FBreak == mbBarBreak) Info.fType |= MFT_MENUBARBREAK;
  if (FChecked) Info.fState |= MFS_CHECKED;
  if (!FEnabled) Info.fState |= MFS_GRAYED;
  if (FDefault) Info.fState |= MFS_DEFAULT;

  THandleOwner<HMENU> Sub;
  if (!FItems.empty()) {
    Sub.Reset(CreatePopupMenu());
    if (!Sub) throw EMenuError("Cannot create a submenu");
    int Pos = 0;
    for (TMenuItem* Child : FItems)
      if (Child->FVisible) Child->BuildInto(Sub, Pos++);
    Info.fMask |= MIIM_SUBMENU;
    Info.hSubMenu = Sub;
  }
  if (!InsertMenuItemA(Menu, UINT(Position), TRUE, &Info)) {
    if (Sub) ForgetHandles();
    throw EMenuError("Cannot insert menu item '" + FCaption + "'");
  }
  FHandle = Sub.Release();  // the parent menu now owns the submenu
}

void TMenuItem::DrawItem(TCanvas* ACanvas, const TRect& ARect, bool Selected) {
  if (OnDrawItem) {
    OnDrawItem(this, ACanvas, ARect, Selected);
    return;
  }
  ACanvas->FillRect(ARect);
  HDC DC = ACanvas->Handle();
  if (IsLine()) {
    RECT R{ARect.Left, ARect.Top + ARect.Height() / 2 - 1, ARect.Right, ARect.Top + ARect.Height() / 2 + 1};
    DrawEdge(DC, &R, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int Check = GetSystemMetrics(SM_CXMENUCHECK);
  const COLORREF TextRGB = FEnabled ? COLORREF(ColorToRGB(ACanvas->Font()->Color())) : GetSysColor(COLOR_GRAYTEXT);
  if (FChecked) {
    // The system's mark is black on white: it becomes the text colour over the item.
    TMemoryDC Mem(DC);
    TBitmapOwner Mask(CreateBitmap(Check, Check, 1, 1, nullptr));
    TSelectGuard SelMask(Mem, Mask.Get());
    RECT M{0, 0, Check, Check};
    DrawFrameControl(Mem, &M, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    TBrushOwner Brush(CreateSolidBrush(TextRGB));
    TSelectGuard SelBrush(DC, Brush.Get());
    const COLORREF OldText = SetTextColor(DC, RGB(0, 0, 0)), OldBk = SetBkColor(DC, RGB(255, 255, 255));
    BitBlt(DC, ARect.Left + 2, ARect.Top + (ARect.Height() - Check) / 2, Check, Check, Mem, 0, 0, 0x00B8074A);
    SetTextColor(DC, OldText);
    SetBkColor(DC, OldBk);
  }
  const int OldMode = SetBkMode(DC, TRANSPARENT);
  const COLORREF OldColor = SetTextColor(DC, TextRGB);
  RECT T{ARect.Left + Check + 6, ARect.Top, ARect.Right - 8, ARect.Bottom};
  DrawTextA(DC, FCaption.c_str(), FCaption.Length(), &T, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (FShortCut != scNone) {
    const AnsiString SC = ShortCutToText(FShortCut);
    DrawTextA(DC, SC.c_str(), SC.Length(), &T, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
  SetTextColor(DC, OldColor);
  SetBkMode(DC, OldMode);
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
  if (IsLine()) {
    Width = 0;
    Height = GetSystemMetrics(SM_CYMENU) / 2;
  } else {
    const int Check = GetSystemMetrics(SM_CXMENUCHECK);
    Width = Check + 6 + ACanvas->TextWidth(StripHotkey(FCaption)) + 8;
    if (FShortCut != scNone) Width += 16 + ACanvas->TextWidth(ShortCutToText(FShortCut));
    Height = std::max(ACanvas->TextHeight("Wg") + 4, GetSystemMetrics(SM_CYMENUCHECK));
  }
  if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

static constinit const TPropInfo TMenuItem_Props[] = {
    PropBool<&TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck>("AutoCheck", false),
    PropEnum<&TMenuItem::Break, &TMenuItem::SetBreak>("Break", TMenuBreakType, mbNone),
    PropStr<&TMenuItem::Caption, &TMenuItem::SetCaption>("Caption"),
    PropBool<&TMenuItem::Checked, &TMenuItem::SetChecked>("Checked", false),
    PropBool<&TMenuItem::Default, &TMenuItem::SetDefault>("Default", false),
    PropBool<&TMenuItem::Enabled, &TMenuItem::SetEnabled>("Enabled", true),
    PropInt<&TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex>("GroupIndex", 0),
    PropInt<&TMenuItem::HelpContext, &TMenuItem::SetHelpContext>("HelpContext", 0),
    PropStr<&TMenuItem::Hint, &TMenuItem::SetHint>("Hint"),
    PropInt<&TMenuItem::ImageIndex, &TMenuItem::SetImageIndex>("ImageIndex", -1),
    PropBool<&TMenuItem::RadioItem, &TMenuItem::SetRadioItem>("RadioItem", false),
    PropIntType<&TMenuItem::ShortCut, &TMenuItem::SetShortCut>("ShortCut", "TShortCut", 0),
    PropBool<&TMenuItem::Visible, &TMenuItem::SetVisible>("Visible", true),
    PropEvent<&TMenuItem::OnClick>("OnClick"),
};
ORV_IMPLEMENT_COMPONENT(TMenuItem, TComponent, TMenuItem_Props)

// ---------------------------------------------------------------------------------------------
// TMenu.

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(New<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  DestroyHandle();
  TMenuItem* Root = FItems;
  FItems = nullptr;
  Root->FMenu = nullptr;
  TObject::Free(Root);
}

void TMenu::DestroyHandle() {
  if (!FHandle) return;
  if (IsMenu(FHandle)) DestroyMenu(FHandle);  // also destroys the submenus
  FHandle = nullptr;
  if (FItems) FItems->ForgetHandles();
}

HMENU TMenu::Handle() {
  if (FHandle && !IsMenu(FHandle)) {
    // Destroyed with a window that still showed it.
    FHandle = nullptr;
    FItems->ForgetHandles();
  }
  if (!FHandle) {
    FHandle = CreateMenuHandle();
    if (!FHandle) throw EMenuError("Cannot create a menu");
    try {
      RebuildHandle();
    } catch (...) {
      DestroyHandle();
      throw;
    }
  }
  return FHandle;
}

void TMenu::RebuildHandle() {
  if (!FHandle || !FItems) return;
  if (!IsMenu(FHandle)) {
    FHandle = nullptr;
    FItems->ForgetHandles();
    return;
  }
  while (GetMenuItemCount(FHandle) > 0)
    if (!DeleteMenu(FHandle, 0, MF_BYPOSITION)) break;
  FItems->ForgetHandles();
  FItems->FHandle = FHandle;
  int Pos = 0;
  for (TMenuItem* Item : FItems->FItems)
    if (Item->FVisible) Item->BuildInto(FHandle, Pos++);
}

void TMenu::MenuChanged() {
  if (HasState(csLoading | csDestroying)) return;
  RebuildHandle();
}

void TMenu::Loaded() {
  TComponent::Loaded();
  MenuChanged();
}

void TMenu::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
}

static TMenuItem* FindIn(TMenuItem* Item, intptr_t Value, TFindItemKind Kind) {
  for (int I = 0; I < Item->Count(); ++I) {
    TMenuItem* Child = Item->Items(I);
    bool Hit = false;
    switch (Kind) {
      case fkCommand: Hit = Child->Command() == Value; break;
      case fkHandle: Hit = Child->Handle() && reinterpret_cast<intptr_t>(Child->Handle()) == Value; break;
      case fkShortCut: Hit = Child->ShortCut() != scNone && Child->ShortCut() == Value; break;
    }
    if (Hit) return Child;
    if (TMenuItem* Found = FindIn(Child, Value, Kind)) return Found;
  }
  return nullptr;
}

TMenuItem* TMenu::FindItem(intptr_t Value, TFindItemKind Kind) const { return FindIn(FItems, Value, Kind); }

int TMenu::GetHelpContext(intptr_t Value, bool ByCommand) const {
  TMenuItem* Item = FindItem(Value, ByCommand ? fkCommand : fkHandle);
  while (Item && Item->HelpContext() == 0) Item = Item->Parent();
  return Item ? Item->HelpContext() : 0;
}

void TMenu::ProcessMenuChar(TMessage& Message) {
  Message.Result = MNC_IGNORE << 16;
  const HMENU Menu = reinterpret_cast<HMENU>(Message.LParam);
  TMenuItem* Parent = Menu == Handle() ? FItems : FindItem(Message.LParam, fkHandle);
  if (!Parent) return;
  const char Key = char(toupper(int(Message.WParam & 0xFF)));
  int Position = 0;
  for (int I = 0; I < Parent->Count(); ++I) {
    TMenuItem* Item = Parent->Items(I);
    if (!Item->Visible()) continue;
    if (Item->Enabled() && Key && toupper(GetHotkey(Item->Caption())) == Key) {
      Message.Result = intptr_t(MAKELRESULT(Position, MNC_EXECUTE));
      return;
    }
    ++Position;
  }
}

bool TMenu::DispatchCommand(unsigned short ACommand) {
  if (ACommand == 0) return false;
  TMenuItem* Item = FindItem(ACommand, fkCommand);
  if (!Item) return false;
  Item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU AMenuHandle) {
  if (!AMenuHandle) return false;
  TMenuItem* Item = FindItem(reinterpret_cast<intptr_t>(AMenuHandle), fkHandle);
  if (!Item) return false;
  Item->Click();
  return true;
}

// Depth-first search for an item bound to the shortcut whose whole chain is enabled and visible.
static TMenuItem* FindShortCut(TMenuItem* Item, TShortCut SC) {
  for (int I = 0; I < Item->Count(); ++I) {
    TMenuItem* Child = Item->Items(I);
    if (!Child->Enabled() || !Child->Visible()) continue;
    if (Child->ShortCut() == SC) return Child;
    if (TMenuItem* Found = FindShortCut(Child, SC)) return Found;
  }
  return nullptr;
}

bool TMenu::DispatchShortCut(TShortCut AShortCut) {
  if (AShortCut == scNone) return false;
  TMenuItem* Item = FindShortCut(FItems, AShortCut);
  if (!Item) return false;
  Item->Click();
  return true;
}

bool TMenu::IsShortCut(unsigned short CharCode, intptr_t KeyData) {
  return DispatchShortCut(::ShortCut(CharCode, KeyDataToShiftState(KeyData)));
}

void TMenu::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  FItems->GetChildren(Proc, Root);
}

ORV_IMPLEMENT_ABSTRACT(TMenu, TComponent, nullptr)

// ---------------------------------------------------------------------------------------------
// TMainMenu.

TMainMenu::~TMainMenu() {
  // Take the menu off a window that still shows it before the handle goes.
  if (FWindowHandle && HandleAllocated() && IsWindow(FWindowHandle) && GetMenu(FWindowHandle) == AllocatedHandle())
    SetMenu(FWindowHandle, nullptr);
  FWindowHandle = nullptr;
}

void TMainMenu::SetWindowHandle(HWND Value) {
  FWindowHandle = Value;
  if (Value && HandleAllocated()) DrawMenuBar(Value);
}

void TMainMenu::MenuChanged() {
  if (HasState(csLoading | csDestroying)) return;
  TMenu::MenuChanged();
  if (FWindowHandle && HandleAllocated() && IsWindow(FWindowHandle)) DrawMenuBar(FWindowHandle);
}

static constinit const TPropInfo TMainMenu_Props[] = {
    PropBool<&TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge>("AutoMerge", false),
};
ORV_IMPLEMENT_COMPONENT(TMainMenu, TMenu, TMainMenu_Props)

// ---------------------------------------------------------------------------------------------
// TPopupMenu.

constexpr TEnumType TPopupAlignmentType{"TPopupAlignment", {"paLeft", "paRight", "paCenter"}};
constexpr TEnumType TTrackButtonType{"TTrackButton", {"tbRightButton", "tbLeftButton"}};

namespace {

const char* const PopupWindowClass = "OrvalenPopupOwner";

// The hidden window that owns a tracked popup: it forwards submenu openings to the menu.
LRESULT CALLBACK PopupOwnerProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_INITMENUPOPUP) {
    auto* Menu = reinterpret_cast<TPopupMenu*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
    if (Menu) {
      try {
        Menu->DispatchPopup(reinterpret_cast<HMENU>(WParam));
      } catch (...) {
        HandleVclException(Menu);
      }
    }
    return 0;
  }
  return DefWindowProcA(Wnd, Msg, WParam, LParam);
}

HWND CreatePopupOwner(TPopupMenu* Menu) {
  static bool Registered = false;
  HINSTANCE Inst = GetModuleHandleA(nullptr);
  if (!Registered) {
    WNDCLASSA Cls{};
    Cls.lpfnWndProc = PopupOwnerProc;
    Cls.hInstance = Inst;
    Cls.lpszClassName = PopupWindowClass;
    if (!RegisterClassA(&Cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EMenuError("Cannot register the popup window class");
    Registered = true;
  }
  HWND Wnd = CreateWindowExA(WS_EX_TOOLWINDOW, PopupWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             Inst, nullptr);
  if (!Wnd) throw EMenuError("Cannot create the popup window");
  SetWindowLongPtrA(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Menu));
  return Wnd;
}

}  // namespace

void TPopupMenu::Popup(int X, int Y) {
  DoPopup(this);
  HMENU Menu = Handle();
  if (GetMenuItemCount(Menu) <= 0) return;
  UINT Flags = TPM_RETURNCMD;
  Flags |= FAlignment == paRight ? TPM_RIGHTALIGN : FAlignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
  Flags |= FTrackButton == tbLeftButton ? TPM_LEFTBUTTON : TPM_RIGHTBUTTON;
  HWND Owner = CreatePopupOwner(this);
  UINT Command = UINT(TrackPopupMenu(Menu, Flags, X, Y, 0, Owner, nullptr));
  DestroyWindow(Owner);
  if (Command) DispatchCommand((unsigned short)Command);
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

static constinit const TPropInfo TPopupMenu_Props[] = {
    PropEnum<&TPopupMenu::Alignment, &TPopupMenu::SetAlignment>("Alignment", TPopupAlignmentType, paLeft),
    PropBool<&TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup>("AutoPopup", true),
    PropInt<&TPopupMenu::HelpContext, &TPopupMenu::SetHelpContext>("HelpContext", 0),
    PropEnum<&TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton>("TrackButton", TTrackButtonType,
                                                                      tbRightButton),
    PropEvent<&TPopupMenu::OnPopup>("OnPopup"),
};
ORV_IMPLEMENT_COMPONENT(TPopupMenu, TMenu, TPopupMenu_Props)

namespace {
struct TMenusRegistration {
  TMenusRegistration() {
    RegisterClasses({TMenuItem::StaticClass(), TMainMenu::StaticClass(), TPopupMenu::StaticClass()});
  }
} MenusRegistration;
}  // namespace
