// Header controls over the system header control.
#include "vcl/HeaderCtrl.h"

#include "rtl/TypInfo.h"

#include <commctrl.h>

// ---------------------------------------------------------------------------------------------
// TCustomHeaderWnd

TCustomHeaderWnd::TCustomHeaderWnd(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(Left(), Top(), 250, 25);
  SetAlign(alTop);
}

void TCustomHeaderWnd::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomHeaderWnd::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_HEADERA);
  Params.Style |= HDS_HORZ | HDS_BUTTONS;
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomHeaderWnd::CreateWnd() {
  TWinControl::CreateWnd();
  SectionsChanged();
}

void TCustomHeaderWnd::SectionsChanged() {
  HWND H = WindowHandle();
  if (!H) return;
  FUpdating = true;
  while (SendMessageA(H, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageA(H, HDM_DELETEITEM, 0, 0);
  for (int I = 0, N = HeaderCount(); I < N; ++I) {
    AnsiString Text = HeaderText(I);
    HDITEMA Item{};
    Item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    Item.fmt = HDF_LEFT | HDF_STRING;
    Item.cxy = HeaderWidth(I);
    Item.pszText = const_cast<char*>(Text.c_str());
    Item.cchTextMax = Text.Length();
    SendMessageA(H, HDM_INSERTITEMA, WPARAM(I), LPARAM(&Item));
  }
  FUpdating = false;
  Invalidate();
}

void TCustomHeaderWnd::CNNotify(TMessage& Message) {
  auto* N = reinterpret_cast<NMHEADERA*>(Message.LParam);
  switch (N->hdr.code) {
    case HDN_ITEMCHANGEDA:
    case HDN_ITEMCHANGEDW:
      if (FUpdating || !N->pitem || !(N->pitem->mask & HDI_WIDTH) || N->iItem < 0 || N->iItem >= HeaderCount())
        return;
      if (N->pitem->cxy == HeaderWidth(N->iItem)) return;
      HeaderResized(N->iItem, N->pitem->cxy);
      if (OnSectionResize) OnSectionResize(this);
      return;
    default: DefaultHandler(Message);
  }
}

ORV_IMPLEMENT_ABSTRACT(TCustomHeaderWnd, TWinControl, nullptr)

// ---------------------------------------------------------------------------------------------
// THeaderSection, THeaderSections

THeaderSection::THeaderSection(TCollection* Collection) : TCollectionItem(nullptr) { SetCollection(Collection); }

void THeaderSection::SetText(const AnsiString& Value) {
  if (FText == Value) return;
  FText = Value;
  Changed(false);
}

void THeaderSection::SetWidth(int Value) {
  if (Value < 0) Value = 0;
  if (FWidth == Value) return;
  FWidth = Value;
  Changed(true);
}

int THeaderSection::Left() const {
  int X = 0;
  for (int I = 0; I < Index(); ++I) X += static_cast<THeaderSection*>(Collection()->Items(I))->FWidth;
  return X;
}

void THeaderSection::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<THeaderSection*>(Source)) {
    FText = S->FText;
    FWidth = S->FWidth;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

static constinit const TPropInfo THeaderSection_Props[] = {
    PropStr<&THeaderSection::Text, &THeaderSection::SetText>("Text"),
    PropInt<&THeaderSection::Width, &THeaderSection::SetWidth>("Width", 50),
};
ORV_IMPLEMENT_ABSTRACT(THeaderSection, TCollectionItem, THeaderSection_Props)

THeaderSections::THeaderSections(THeaderControl* AHeader)
    : TCollection(THeaderSection::StaticClass(), [](TCollection* C) -> TCollectionItem* { return new THeaderSection(C); }),
      FHeader(AHeader) {}

TPersistent* THeaderSections::GetOwner() const { return FHeader; }

void THeaderSections::Update(TCollectionItem*) { FHeader->SectionsChanged(); }

void THeaderSections::Notify(TCollectionItem*, bool) { FHeader->SectionsChanged(); }

ORV_IMPLEMENT_CLASS(THeaderSections, TCollection)

// ---------------------------------------------------------------------------------------------
// THeaderControl

THeaderControl::THeaderControl(TComponent* AOwner) : TCustomHeaderWnd(AOwner), FSections(new THeaderSections(this)) {}

THeaderControl::~THeaderControl() {
  THeaderSections* S = FSections;
  FSections = nullptr;
  delete S;
}

int THeaderControl::HeaderCount() const { return FSections ? FSections->Count() : 0; }
AnsiString THeaderControl::HeaderText(int Index) const { return FSections->Items(Index)->Text(); }
int THeaderControl::HeaderWidth(int Index) const { return FSections->Items(Index)->Width(); }
void THeaderControl::HeaderResized(int Index, int Width) { FSections->Items(Index)->SetWidth(Width); }

static constinit const TPropInfo THeaderControl_Props[] = {
    PropEnum<&TControl::Align, &TControl::SetAlign>("Align", TAlignType, alTop),
    TControlProps::Anchors(),
    TControlProps::Constraints(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PropObject<&THeaderControl::Sections, &THeaderControl::SetSections>("Sections"),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    PropEvent<&THeaderControl::OnSectionResize>("OnSectionResize"),
};
ORV_IMPLEMENT_COMPONENT(THeaderControl, TCustomHeaderWnd, THeaderControl_Props)

// ---------------------------------------------------------------------------------------------
// THeader

THeader::THeader(TComponent* AOwner) : TCustomHeaderWnd(AOwner), FSections(new TStringList) {
  FSections->OnChange = TNotifyEvent::Bind<&THeader::LinesChanged>(this);
}

THeader::~THeader() {
  FSections->OnChange = nullptr;
  TObject::Free(FSections);
}

void THeader::LinesChanged(TObject*) {
  FWidths.resize(size_t(FSections->Count()), 50);
  SectionsChanged();
}

int THeader::SectionWidth(int Index) const {
  if (Index < 0 || Index >= int(FWidths.size())) throw EListError("List index out of bounds (%d)", {Index});
  return FWidths[size_t(Index)];
}

void THeader::SetSectionWidth(int Index, int Value) {
  if (Index < 0 || Index >= int(FWidths.size())) throw EListError("List index out of bounds (%d)", {Index});
  if (Value < 0) Value = 0;
  if (FWidths[size_t(Index)] == Value) return;
  FWidths[size_t(Index)] = Value;
  SectionsChanged();
}

int THeader::HeaderCount() const { return int(FWidths.size()); }
AnsiString THeader::HeaderText(int Index) const { return FSections->Get(Index); }
int THeader::HeaderWidth(int Index) const { return FWidths[size_t(Index)]; }
void THeader::HeaderResized(int Index, int Width) { FWidths[size_t(Index)] = Width; }

static constinit const TPropInfo THeader_Props[] = {
    PropEnum<&TControl::Align, &TControl::SetAlign>("Align", TAlignType, alTop),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PropObject<&THeader::Sections, &THeader::SetSections>("Sections"),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    PropEvent<&THeader::OnSectionResize>("OnSectionResize"),
};
ORV_IMPLEMENT_COMPONENT(THeader, TCustomHeaderWnd, THeader_Props)

namespace {
struct THeaderCtrlRegistration {
  THeaderCtrlRegistration() { RegisterClasses({THeaderControl::StaticClass(), THeader::StaticClass()}); }
} HeaderCtrlRegistration;
}  // namespace
