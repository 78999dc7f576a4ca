#include "suite/MystdTabListbox.h"

#include "rtl/TypInfo.h"

#include <algorithm>

constexpr TEnumType ScrollDirectionType{"ScrollDirection", {"qScrollHor", "qScrollVer"}};

namespace {

// A 1 by 1 bitmap canvas in the list box's font, to measure on.
struct TMeasure {
  TBitmap B;
  explicit TMeasure(TFont* Font) {
    B.SetSize(1, 1);
    B.Canvas()->Font()->Assign(Font);
  }
  HDC DC() { return B.Canvas()->Handle(); }
};

// The low words of the tabbed extent of S and of one "Z", added as 16-bit numbers.
int Extent(HDC DC, const AnsiString& S, const std::vector<int>& Tabs) {
  const int N = int(Tabs.size());
  const DWORD Text = GetTabbedTextExtentA(DC, S.c_str(), S.Length(), N, N ? Tabs.data() : nullptr);
  const DWORD Z = GetTabbedTextExtentA(DC, "Z", 1, 0, nullptr);
  return uint16_t(LOWORD(Text) + LOWORD(Z));
}

}  // namespace

TqTabListbox::TqTabListbox(TComponent* AOwner) : TListBox(AOwner) {}

void TqTabListbox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case LB_ADDSTRING: LBAddString(Message); break;
    case LB_INSERTSTRING: LBInsertString(Message); break;
    case LB_DELETESTRING: LBDeleteString(Message); break;
    case LB_RESETCONTENT: LBResetContent(Message); break;
    case LB_SETCURSEL: wmSetCurSel(Message); break;
    case WM_HSCROLL: WMHScroll(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqTabListbox::CreateParams(TCreateParams& Params) {
  TListBox::CreateParams(Params);
  Params.Style |= WS_HSCROLL | LBS_USETABSTOPS;
}

// A window made again gets the stops that were sent, and its scroll range.
void TqTabListbox::CreateWnd() {
  TListBox::CreateWnd();
  if (FTabsSent) SendMessageA(WindowHandle(), LB_SETTABSTOPS, WPARAM(FTabs.size()), LPARAM(FTabs.data()));
  MeasureAll();
}

void TqTabListbox::Loaded() {
  TListBox::Loaded();
  SetTabStops({25, 50, 75, 100, 125, 150, 175, 200});
}

void TqTabListbox::SetTabStops(const std::vector<int>& Positions) { SetTabs(Positions.data(), int(Positions.size())); }

void TqTabListbox::SetFromHeader(THeader* Header) {
  std::vector<int> P;
  for (int I = 0, X = 0, N = std::min(Header->Sections()->Count(), MaxTabs); I < N; ++I) {
    X += Header->SectionWidth(I);
    P.push_back(X);
  }
  SetTabStops(P);
}

void TqTabListbox::SetfromHeaderControl(THeaderControl* Header) {
  std::vector<int> P;
  for (int I = 0, N = std::min(Header->Sections()->Count(), MaxTabs); I < N; ++I)
    P.push_back(Header->Sections()->Items(I)->Right());
  SetTabStops(P);
}

int TqTabListbox::LettersWidth() {
  static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  TMeasure M(Font());
  SIZE S{};
  GetTextExtentPoint32A(M.DC(), Letters, 52, &S);
  return std::max(int(S.cx), 1);
}

void TqTabListbox::SetTabs(const int* Positions, int Count) {
  if (Items()->Count() == 0) return;
  Count = std::clamp(Count, 0, MaxTabs);
  // p * 4 / (letters / 52), truncated, in exact integers.
  const int64_t Letters = LettersWidth();
  std::vector<int32_t> Units;
  for (int I = 0; I < Count; ++I) Units.push_back(int32_t(int64_t(Positions[I]) * 4 * 52 / Letters));
  if (!SendMessageA(Handle(), LB_SETTABSTOPS, WPARAM(Count), LPARAM(Units.data())))
    throw EqTabListboxError("TabError");
  FTabs = std::move(Units);
  FPixelTabs.assign(Positions, Positions + Count);
  FTabsSent = true;
  MeasureAll();
  Invalidate();
}

int TqTabListbox::TextExtent(const AnsiString& S) {
  TMeasure M(Font());
  return Extent(M.DC(), S, FPixelTabs);
}

void TqTabListbox::Widen(HDC DC, const AnsiString& S) {
  const int E = Extent(DC, S, FPixelTabs);
  if (E <= FWidest) return;
  FWidest = uint16_t(E);
  SendMessageA(WindowHandle(), LB_SETHORIZONTALEXTENT, WPARAM(FWidest), 0);
}

void TqTabListbox::MeasureAll() {
  if (!HandleAllocated()) return;
  FWidest = 0;
  try {
    TMeasure M(Font());
    for (int I = 0, N = Items()->Count(); I < N; ++I) Widen(M.DC(), Items()->Get(I));
  } catch (...) {
  }
  // An emptied or narrowed list gives the range back.
  SendMessageA(WindowHandle(), LB_SETHORIZONTALEXTENT, WPARAM(FWidest), 0);
}

void TqTabListbox::LBAddString(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Result >= 0) Widen(TMeasure(Font()).DC(), reinterpret_cast<const char*>(Message.LParam));
}

void TqTabListbox::LBInsertString(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Result >= 0) Widen(TMeasure(Font()).DC(), reinterpret_cast<const char*>(Message.LParam));
}

void TqTabListbox::LBDeleteString(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FSizeAfterDel) MeasureAll();
}

// An emptied list starts its range over.
void TqTabListbox::LBResetContent(TMessage& Message) {
  inherited::Dispatch(Message);
  FWidest = 0;
  SendMessageA(WindowHandle(), LB_SETHORIZONTALEXTENT, 0, 0);
}

void TqTabListbox::CheckChange() {
  const int Index = ItemIndex();
  if (Index != FPrevIndex && OnChange) OnChange(this, FPrevIndex);
  FPrevIndex = Index;
}

void TqTabListbox::Click() {
  TListBox::Click();
  CheckChange();
}

void TqTabListbox::wmSetCurSel(TMessage& Message) {
  inherited::Dispatch(Message);
  CheckChange();
}

void TqTabListbox::WMHScroll(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnScroll) OnScroll(this, int16_t(HIWORD(Message.WParam)), int16_t(LOWORD(Message.WParam)), qScrollHor);
}

void TqTabListbox::WMVScroll(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnScroll) OnScroll(this, int16_t(HIWORD(Message.WParam)), int16_t(LOWORD(Message.WParam)), qScrollVer);
}

void TqTabListbox::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FAutoFocus && !Focused() && CanFocus()) SetFocus();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TqTabListbox::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

static constinit const TPropInfo TqTabListbox_Props[] = {
    PropBool<&TqTabListbox::AutoFocus, &TqTabListbox::SetAutoFocus>("AutoFocus", false),
    PropBool<&TqTabListbox::SizeAfterDel, &TqTabListbox::SetSizeAfterDel>("SizeAfterDel", true),
    PropEvent<&TqTabListbox::OnChange>("OnChange"),
    PropEvent<&TqTabListbox::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqTabListbox::OnMouseLeave>("OnMouseLeave"),
    PropEvent<&TqTabListbox::OnScroll>("OnScroll"),
};
ORV_IMPLEMENT_COMPONENT(TqTabListbox, TListBox, TqTabListbox_Props)

namespace {
const struct TTabListboxRegistration {
  TTabListboxRegistration() { RegisterClass(TqTabListbox::StaticClass()); }
} TabListboxRegistration;
}  // namespace
