#include "vcl/ComCtrls.h"
#include "vcl/Forms.h"

#include <algorithm>

constexpr TEnumType TTabStyleType{"TTabStyle", {"tsTabs", "tsButtons", "tsFlatButtons"}};
constexpr TEnumType TTabPositionType{"TTabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"}};
constexpr TEnumType TTickMarkType{"TTickMark", {"tmBottomRight", "tmTopLeft", "tmBoth"}};

// ---------------------------------------------------------------------------------------------
// The tab texts: the control's own list, mirrored into its window while there is one.
class TTabStrings : public TStrings {
  ORV_CLASS(TTabStrings, TStrings)
public:
  explicit TTabStrings(TCustomTabControl* Control) : FControl(Control) {}
  int Count() const override { return int(FItems.size()); }
  AnsiString Get(int Index) const override {
    Check(Index, Count());
    return FItems[size_t(Index)];
  }
  void Put(int Index, const AnsiString& S) override {
    Check(Index, Count());
    FItems[size_t(Index)] = S;
    if (HWND H = FControl->WindowHandle()) {
      TCITEMA Item{};
      Item.mask = TCIF_TEXT;
      Item.pszText = const_cast<char*>(S.c_str());
      SendMessageA(H, TCM_SETITEMA, WPARAM(Index), LPARAM(&Item));
    }
    Changed();
  }
  void Insert(int Index, const AnsiString& S) override {
    Check(Index, Count() + 1);
    FItems.insert(FItems.begin() + Index, S);
    if (HWND H = FControl->WindowHandle()) InsertInWindow(H, Index);
    Changed();
  }
  void Delete(int Index) override {
    Check(Index, Count());
    FItems.erase(FItems.begin() + Index);
    if (HWND H = FControl->WindowHandle()) SendMessageA(H, TCM_DELETEITEM, WPARAM(Index), 0);
    Changed();
  }
  void Clear() override {
    if (FItems.empty()) return;
    FItems.clear();
    if (HWND H = FControl->WindowHandle()) SendMessageA(H, TCM_DELETEALLITEMS, 0, 0);
    Changed();
  }
  // A new window gets every text.
  void MoveToWindow(HWND H) {
    SendMessageA(H, TCM_DELETEALLITEMS, 0, 0);
    for (int I = 0; I < Count(); ++I) InsertInWindow(H, I);
  }

protected:
  void SetUpdateState(bool Updating) override {
    if (!Updating && FDirty) Changed();
  }

private:
  static void Check(int Index, int Limit) {
    if (Index < 0 || Index >= Limit) throw EStringListError("List index out of bounds (%d)", {Index});
  }
  void InsertInWindow(HWND H, int Index) {
    TCITEMA Item{};
    Item.mask = TCIF_TEXT | TCIF_IMAGE;
    Item.pszText = const_cast<char*>(FItems[size_t(Index)].c_str());
    Item.iImage = -1;
    SendMessageA(H, TCM_INSERTITEMA, WPARAM(Index), LPARAM(&Item));
  }
  void Changed() {
    FDirty = UpdateCount() > 0;
    if (!FDirty) FControl->TabsChanged();
  }
  TCustomTabControl* FControl;
  std::vector<AnsiString> FItems;
  bool FDirty = false;  // changed since BeginUpdate
};
ORV_IMPLEMENT_CLASS(TTabStrings, TStrings)

// ---------------------------------------------------------------------------------------------
// TCustomTabControl

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner) {
  FTabs = new TTabStrings(this);
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
  IncludeStyle(csAcceptsControls);
  IncludeStyle(csDoubleClicks);
}

TCustomTabControl::~TCustomTabControl() { delete FTabs; }

void TCustomTabControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    default: inherited::Dispatch(Message);
  }
}

TStrings* TCustomTabControl::Tabs() const { return FTabs; }

int TCustomTabControl::TabIndex() const {
  if (HWND H = WindowHandle()) return int(SendMessageA(H, TCM_GETCURSEL, 0, 0));
  return FTabIndex;
}

void TCustomTabControl::SetTabIndex(int Value) {
  FTabIndex = Value;
  if (HWND H = WindowHandle()) SendMessageA(H, TCM_SETCURSEL, WPARAM(Value), 0);
}

void TCustomTabControl::SetStyle(TTabStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value) {
  if (FTabPosition == Value) return;
  FTabPosition = Value;
  if (Value == tpLeft || Value == tpRight) FMultiLine = true;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomTabControl::SetHotTrack(bool Value) {
  if (FHotTrack == Value) return;
  FHotTrack = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool Value) {
  if (FMultiLine == Value) return;
  if (!Value && (FTabPosition == tpLeft || FTabPosition == tpRight)) return;
  FMultiLine = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

TRect TCustomTabControl::TabRect(int Index) {
  RECT R{};
  if (HWND H = WindowHandle())
    if (SendMessageA(H, TCM_GETITEMRECT, WPARAM(Index), LPARAM(&R))) return R;
  return TRect();
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) {
  HWND H = WindowHandle();
  if (!H) return -1;
  TCHITTESTINFO Info{};
  Info.pt = POINT{X, Y};
  return int(SendMessageA(H, TCM_HITTEST, 0, LPARAM(&Info)));
}

TRect TCustomTabControl::DisplayRect() {
  TRect R = ClientRect();
  if (HWND H = WindowHandle()) SendMessageA(H, TCM_ADJUSTRECT, FALSE, LPARAM(AsRECTPtr(&R)));
  return R;
}

void TCustomTabControl::CreateParams(TCreateParams& Params) {
  static const DWORD Styles[] = {TCS_TABS, TCS_BUTTONS, TCS_BUTTONS | TCS_FLATBUTTONS};
  static const DWORD Positions[] = {0, TCS_BOTTOM, TCS_VERTICAL, TCS_VERTICAL | TCS_RIGHT};
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TABCONTROLA);
  Params.Style |= WS_CLIPCHILDREN | Styles[FStyle] | Positions[FTabPosition];
  if (FMultiLine) Params.Style |= TCS_MULTILINE;
  if (FHotTrack) Params.Style |= TCS_HOTTRACK;
  Params.WindowClass.style = (Params.WindowClass.style & ~UINT(CS_HREDRAW | CS_VREDRAW)) | CS_DBLCLKS;
}

void TCustomTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  FTabs->MoveToWindow(WindowHandle());
  SendMessageA(WindowHandle(), TCM_SETCURSEL, WPARAM(FTabIndex), 0);
  Realign();
}

void TCustomTabControl::DestroyWnd() {
  FTabIndex = TabIndex();
  TWinControl::DestroyWnd();
}

void TCustomTabControl::AdjustClientRect(TRect& Rect) { Rect = DisplayRect(); }

bool TCustomTabControl::CanChange() {
  bool Allow = true;
  if (OnChanging) OnChanging(this, Allow);
  return Allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::TabsChanged() {
  if (HandleAllocated()) Realign();
}

void TCustomTabControl::CNNotify(TMessage& Message) {
  auto* Hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  switch (Hdr->code) {
    case TCN_SELCHANGING: Message.Result = CanChange() ? FALSE : TRUE; break;
    case TCN_SELCHANGE: Change(); break;
    default: DefaultHandler(Message);
  }
}

ORV_IMPLEMENT_ABSTRACT(TCustomTabControl, TWinControl, nullptr)

// ---------------------------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl() {
  for (TTabSheet* Page : FPages) Page->FPageControl = nullptr;
}

TTabSheet* TPageControl::Pages(int Index) const {
  if (Index < 0 || Index >= PageCount()) throw EListError("List index out of bounds (%d)", {Index});
  return FPages[size_t(Index)];
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  ChangeActivePage(Page);
  SetTabIndex(Page ? Page->TabIndex() : -1);
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[size_t(Value)] : nullptr);
}

TTabSheet* TPageControl::PageForTab(int TabIndex) const {
  if (TabIndex < 0) return nullptr;
  for (TTabSheet* Page : FPages)
    if (Page->FTabVisible && TabIndex-- == 0) return Page;
  return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
  const int Count = PageCount();
  if (Count == 0) return nullptr;
  auto It = std::find(FPages.begin(), FPages.end(), CurPage);
  int Start = It != FPages.end() ? int(It - FPages.begin()) : GoForward ? Count - 1 : 0;
  int I = Start;
  do {
    I = GoForward ? (I + 1) % Count : (I + Count - 1) % Count;
    if (!CheckTabVisible || FPages[size_t(I)]->FTabVisible) return FPages[size_t(I)];
  } while (I != Start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward) {
  TTabSheet* Page = FindNextPage(FActivePage, GoForward, true);
  if (Page && Page != FActivePage && CanChange()) {
    SetTabIndex(Page->TabIndex());
    Change();
  }
}

void TPageControl::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  for (TTabSheet* Page : FPages)
    if (Page->Owner() == Root) Proc(Page);
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  UpdateTabs();
}

void TPageControl::Change() {
  if (TTabSheet* Page = PageForTab(TabIndex())) ChangeActivePage(Page);
  TCustomTabControl::Change();
}

void TPageControl::UpdateTabs() {
  if (HasState(csLoading | csDestroying)) return;
  std::vector<AnsiString> Texts;
  for (TTabSheet* Page : FPages)
    if (Page->FTabVisible) Texts.push_back(Page->Caption());
  TStrings* T = Tabs();
  T->BeginUpdate();
  try {
    if (T->Count() != int(Texts.size())) {
      T->Clear();
      for (const AnsiString& S : Texts) T->Add(S);
    } else {
      for (int I = 0; I < T->Count(); ++I)
        if (T->Get(I) != Texts[size_t(I)]) T->Put(I, Texts[size_t(I)]);
    }
  } catch (...) {
    T->EndUpdate();
    throw;
  }
  T->EndUpdate();
  SetTabIndex(FActivePage ? FActivePage->TabIndex() : -1);
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  TTabSheet* Next = FindNextPage(Page, true, !HasState(csDesigning));
  if (Next == Page) Next = nullptr;
  FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
  Page->FPageControl = nullptr;
  if (HasState(csDestroying)) {
    if (FActivePage == Page) FActivePage = nullptr;
    return;
  }
  if (FActivePage == Page) ChangeActivePage(Next);
  UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* Page, int NewIndex) {
  auto It = std::find(FPages.begin(), FPages.end(), Page);
  if (It == FPages.end()) return;
  FPages.erase(It);
  NewIndex = std::clamp(NewIndex, 0, PageCount());
  FPages.insert(FPages.begin() + NewIndex, Page);
  UpdateTabs();
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (FActivePage == Page) return;
  TCustomForm* Form = GetParentForm(this);
  // The focus leaves a page that is put away.
  bool HadFocus = Form && FActivePage && Form->ActiveControl() && FActivePage->ContainsControl(Form->ActiveControl());
  if (Page) {
    Page->BringToFront();
    Page->SetVisible(true);
  }
  if (HadFocus && CanFocus()) SetFocus();
  if (FActivePage) FActivePage->SetVisible(false);
  FActivePage = Page;
}

static constinit const TPropInfo TPageControl_Props[] = {
    PropRef<&TPageControl::ActivePage, &TPageControl::SetActivePage>("ActivePage"),
    TControlProps::Align(),
    TControlProps::Anchors(),
    TControlProps::Constraints(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropBool<&TCustomTabControl::HotTrack, &TCustomTabControl::SetHotTrack>("HotTrack", false),
    PropBool<&TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine>("MultiLine", false),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    TControlProps::ShowHint(),
    PropEnum<&TCustomTabControl::Style, &TCustomTabControl::SetStyle>("Style", TTabStyleType, tsTabs),
    TControlProps::TabOrder(),
    PropEnum<&TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition>("TabPosition", TTabPositionType,
                                                                                tpTop),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    PropEvent<&TCustomTabControl::OnChange>("OnChange"),
    PropEvent<&TCustomTabControl::OnChanging>("OnChanging"),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TPageControl, TCustomTabControl, TPageControl_Props)

// ---------------------------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  IncludeStyle(csAcceptsControls);
  SetAlign(alClient);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::BeforeDestruction() {
  if (FPageControl) FPageControl->RemovePage(this);
  TWinControl::BeforeDestruction();
}

void TTabSheet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TTabSheet::SetPageControl(TPageControl* Value) {
  if (FPageControl == Value) return;
  if (FPageControl) FPageControl->RemovePage(this);
  SetParent(Value);
  if (Value) Value->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& P = FPageControl->FPages;
  return int(std::find(P.begin(), P.end(), this) - P.begin());
}

void TTabSheet::SetPageIndex(int Value) {
  if (FPageControl) FPageControl->MovePage(this, Value);
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int N = 0;
  for (TTabSheet* Page : FPageControl->FPages) {
    if (Page == this) return N;
    if (Page->FTabVisible) ++N;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::SetParentComponent(TComponent* Value) {
  if (auto* P = dynamic_cast<TPageControl*>(Value)) SetPageControl(P);
  else TWinControl::SetParentComponent(Value);
}

void TTabSheet::CMTextChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FPageControl) FPageControl->UpdateTabs();
}

static constinit const TPropInfo TTabSheet_Props[] = {
    TControlProps::Caption(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropInt<&TTabSheet::PageIndex, &TTabSheet::SetPageIndex>("PageIndex", -1,
                                                             [](const TObject*) { return false; }),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    TControlProps::ShowHint(),
    PropBool<&TTabSheet::TabVisible, &TTabSheet::SetTabVisible>("TabVisible", true),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnResize(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TTabSheet, TWinControl, TTabSheet_Props)

namespace {
struct TComCtrlsUnit {
  TComCtrlsUnit() { RegisterClasses({TPageControl::StaticClass(), TTabSheet::StaticClass()}); }
} ComCtrlsUnit;
}  // namespace
