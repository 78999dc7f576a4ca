#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

#include <algorithm>
#include <cstring>

constexpr TEnumType TCoolOptionType{
    "TCoolOption",
    {"ocPaintWallpaper", "ocPaintSelWallpaper", "ocPaintCaptionWallpaper", "ocTileWallpaper",
     "ocInvertWallpaperAsSelect", "ocPaintGradiently", "ocBevelOnlyIfSel", "ocUseImageList", "oc3dMDIForm",
     "ocWallpaperForMDIChildren", "ocGradientForMDIChildren", "ocNoCaption", "ocSmallCaption",
     "ocNoMDIChildrensCaptions", "ocDragUsingClientArea", "ocNoDragUsingCaption", "ocRoundedForm",
     "ocFlatBorder", "ocPaintFormSemiTransparently", "ocPaintTransparently"}};
constexpr TEnumType TCheckRadioTypeType{"TCheckRadioType", {"crCheckBox", "crRadioBox"}};
constexpr TEnumType TGradientDirectionType{"TGradientDirection", {"gdHorizontal", "gdVertical"}};
constexpr TEnumType TCaptionBtnTypeType{"TCaptionBtnType",
                                        {"cbtClose", "cbtHelp", "cbtMaximize", "cbtMinimize", "cbtRestore"}};
constexpr TEnumType TEdgeBorderType{"TEdgeBorder", {"ebLeft", "ebTop", "ebRight", "ebBottom"}};

ORV_IMPLEMENT_CLASS(TCCAboutBox, TPersistent)

const TCopyModeEntry CopyModes[15] = {
    {cmBlackness, "cmBlackness"},   {cmDstInvert, "cmDstInvert"},     {cmMergeCopy, "cmMergeCopy"},
    {cmMergePaint, "cmMergePaint"}, {cmNotSrcCopy, "cmNotSrcCopy"},   {cmNotSrcErase, "cmNotSrcErase"},
    {cmPatCopy, "cmPatCopy"},       {cmPatInvert, "cmPatInvert"},     {cmPatPaint, "cmPatPaint"},
    {cmSrcAnd, "cmSrcAnd"},         {cmSrcCopy, "cmSrcCopy"},         {cmSrcErase, "cmSrcErase"},
    {cmSrcInvert, "cmSrcInvert"},   {cmSrcPaint, "cmSrcPaint"},       {cmWhiteness, "cmWhiteness"},
};

void GetCopyModeValues(const TGetStrProc& Proc) {
  if (!Proc) return;
  for (const TCopyModeEntry& E : CopyModes) Proc(E.Name);
}

bool IsCoolControl(const TObject* Obj) {
  return Obj && std::strstr(Obj->ClassType()->Name, "Cool") != nullptr;
}

// ---------------------------------------------------------------------------------------------
// TBitmapItem

TBitmapItem::TBitmapItem(TCollection* Collection) : TCollectionItem(nullptr), FBitmap(new TBitmap()) {
  FBitmap->OnChange = TNotifyEvent::Bind<&TBitmapItem::BitmapChanged>(this);
  SetCollection(Collection);
}

TBitmapItem::~TBitmapItem() {
  BitmapChanged(this);
  FBitmap->OnChange = nullptr;
  delete FBitmap;
}

void TBitmapItem::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TBitmapItem*>(Source)) {
    FBitmap->Assign(S->FBitmap);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TBitmapItem::BitmapChanged(TObject*) {
  if (auto* B = dynamic_cast<TBitmaps*>(Collection()); B && B->Images()) B->Images()->Change();
}

static constinit const TPropInfo TBitmapItem_Props[] = {
    PropObject<&TBitmapItem::Bitmap, &TBitmapItem::SetBitmap>("Bitmap"),
};
ORV_IMPLEMENT_ABSTRACT(TBitmapItem, TCollectionItem, TBitmapItem_Props)

// ---------------------------------------------------------------------------------------------
// TBitmaps

TBitmaps::TBitmaps(TCoolImages* AOwner)
    : TCollection(TBitmapItem::StaticClass(), [](TCollection* C) -> TCollectionItem* { return new TBitmapItem(C); }),
      FImages(AOwner) {}

TPersistent* TBitmaps::GetOwner() const { return FImages; }

ORV_IMPLEMENT_CLASS(TBitmaps, TCollection)

// ---------------------------------------------------------------------------------------------
// TCoolChangeLink

TCoolChangeLink::~TCoolChangeLink() {
  if (FImages) FImages->UnRegisterChanges(this);
}

void TCoolChangeLink::Change() {
  if (OnChange) OnChange(FImages);
}

ORV_IMPLEMENT_CLASS(TCoolChangeLink, TObject)

// ---------------------------------------------------------------------------------------------
// TCoolImages

TCoolImages::TCoolImages(TComponent* AOwner) : TComponent(AOwner), FBitmaps(new TBitmaps(this)) {}

TCoolImages::~TCoolImages() {
  while (!FLinks.empty()) UnRegisterChanges(FLinks.back());
  delete FBitmaps;
  FBitmaps = nullptr;
}

void TCoolImages::RegisterChanges(TCoolChangeLink* Link) {
  if (!Link) return;
  Link->FImages = this;
  FLinks.push_back(Link);
}

void TCoolImages::UnRegisterChanges(TCoolChangeLink* Link) {
  auto It = std::find(FLinks.begin(), FLinks.end(), Link);
  if (It == FLinks.end()) return;
  Link->FImages = nullptr;
  FLinks.erase(It);
}

TBitmap* TCoolImages::Picture(int Index) const {
  if (!FBitmaps || Index < 0 || Index >= FBitmaps->Count()) return nullptr;
  TBitmap* B = FBitmaps->Items(Index)->Bitmap();
  return B && !B->Empty() ? B : nullptr;
}

void TCoolImages::Change() {
  // A handler may unregister links: walk a copy and skip those gone meanwhile.
  std::vector<TCoolChangeLink*> Links = FLinks;
  for (TCoolChangeLink* L : Links)
    if (std::find(FLinks.begin(), FLinks.end(), L) != FLinks.end()) L->Change();
}

static constinit const TPropInfo TCoolImages_Props[] = {
    PropObject<&TCoolImages::About, &TCoolImages::SetAbout>("About"),
    PropObject<&TCoolImages::Bitmaps, &TCoolImages::SetBitmaps>("Bitmaps"),
};
ORV_IMPLEMENT_COMPONENT(TCoolImages, TComponent, TCoolImages_Props)

// ---------------------------------------------------------------------------------------------
// TCheckWrapper

void TCheckWrapper::SetChecked(bool Value) {
  if (FLocked) return;
  FState = Value ? cbChecked : cbUnchecked;
}

ORV_IMPLEMENT_CLASS(TCheckWrapper, TCollectionItem)

// ---------------------------------------------------------------------------------------------
// Painters

namespace {

// Obj's class, or one of its ancestors, is named Name (for classes this unit may not know).
bool InheritsFromName(const TObject* Obj, const char* Name) {
  for (TClass C = Obj ? Obj->ClassType() : nullptr; C; C = C->Parent)
    if (std::strcmp(C->Name, Name) == 0) return true;
  return false;
}

// A DC for drawing: DC itself, or the control's window DC, released at the end.
class TBorderDC {
public:
  TBorderDC(HDC DC, TWinControl* Control)
      : FWnd(DC ? nullptr : Control->Handle()), FDC(DC ? DC : GetWindowDC(FWnd)), FOwned(!DC) {
    if (!FDC) throw EOutOfResources("Out of system resources");
  }
  ~TBorderDC() {
    if (FOwned) ReleaseDC(FWnd, FDC);
  }
  TBorderDC(const TBorderDC&) = delete;
  TBorderDC& operator=(const TBorderDC&) = delete;
  operator HDC() const { return FDC; }

private:
  HWND FWnd;
  HDC FDC;
  bool FOwned;
};

// The control's window rectangle moved to (0, 0).
TRect WindowRectAtOrigin(TWinControl* Control) {
  RECT W{};
  GetWindowRect(Control->Handle(), &W);
  return Rect(0, 0, W.right - W.left, W.bottom - W.top);
}

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

}  // namespace

void DrawFlatBorder(HDC DC, TWinControl* Control, bool Focused) {
  if (!Control) return;
  TBorderDC D(DC, Control);
  TRect R = WindowRectAtOrigin(Control);
  HBRUSH Face = GetSysColorBrush(COLOR_BTNFACE);
  FrameRect(D, &AsRECT(R), Face);
  InflateRect(&AsRECT(R), -1, -1);
  FrameRect(D, &AsRECT(R), Face);
  if (Focused) {
    InflateRect(&AsRECT(R), 1, 1);
    DrawEdge(D, &AsRECT(R), BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  const bool Grid = InheritsFromName(Control, "TCustomGrid");
  if (Grid || InheritsFromName(Control, "TCoolListBox") || InheritsFromName(Control, "TCoolMemo")) {
    const LONG Style = GetWindowLongA(Control->Handle(), GWL_STYLE);
    const bool V = (Style & WS_VSCROLL) != 0, H = (Style & WS_HSCROLL) != 0;
    const int Bar = GetSystemMetrics(SM_CYHSCROLL);
    if (V) {
      RECT S{R.Right - Bar, R.Bottom - 2, R.Right, R.Bottom - 1};
      FillRect(D, &S, Face);
    }
    if (H) {
      RECT S{R.Right - 2, R.Bottom - Bar, R.Right - 1, R.Bottom};
      FillRect(D, &S, Face);
    }
    if (!V && !H) InflateRectEx(R, 1, 1, -1, -1);
    else if (H && !V) R.Bottom -= 1;
    else if (V && !H) R.Right -= 1;
    else {
      R.Right -= 1;
      R.Bottom -= 1;
    }
  } else {
    InflateRect(&AsRECT(R), -1, -1);
  }
  if (!Grid) FrameRect(D, &AsRECT(R), GetSysColorBrush(COLOR_WINDOW));
}

void CoolMouseEnterLeave(TWinControl* Control, const TMessage& Message, bool FlatBorder, bool EnterAlways,
                         const TNotifyEvent& OnEnter, const TNotifyEvent& OnLeave) {
  if (Message.LParam != 0) return;
  const bool Enter = Message.Msg == CM_MOUSEENTER;
  if (FlatBorder && Control->HandleAllocated() &&
      ((EnterAlways && Enter) || !IsCoolControl(Screen ? Screen->ActiveControl() : nullptr)))
    DrawFlatBorder(nullptr, Control, Enter);
  const TNotifyEvent& E = Enter ? OnEnter : OnLeave;
  if (E) E(Control);
}

void DrawBorders(HDC DC, TWinControl* Control, TEdgeBorders EdgeBorders, TPen* Pen) {
  if (!Control) return;
  TBorderDC D(DC, Control);
  const TRect R = WindowRectAtOrigin(Control);
  TCanvas Canvas;
  struct TUnbind {
    TCanvas& C;
    ~TUnbind() { C.SetHandle(nullptr); }
  } Unbind{Canvas};
  Canvas.SetHandle(D);
  if (Pen) Canvas.Pen()->Assign(Pen);
  if (EdgeBorders & EdgeBorder(ebTop)) Line(&Canvas, R.Left, R.Top, R.Right, R.Top);
  if (EdgeBorders & EdgeBorder(ebLeft)) Line(&Canvas, R.Left, R.Top, R.Left, R.Bottom);
  if (EdgeBorders & EdgeBorder(ebRight)) Line(&Canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
  if (EdgeBorders & EdgeBorder(ebBottom)) Line(&Canvas, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
}

void DrawClientBorders(TCanvas* Canvas, const TRect& R, TEdgeBorders EdgeBorders, TPen* Pen) {
  if (!Canvas) return;
  if (Pen) Canvas->Pen()->Assign(Pen);
  if (EdgeBorders & EdgeBorder(ebTop)) Line(Canvas, R.Left, R.Top + 1, R.Right, R.Top + 1);
  if (EdgeBorders & EdgeBorder(ebLeft)) Line(Canvas, R.Left + 1, R.Top, R.Left + 1, R.Bottom);
  if (EdgeBorders & EdgeBorder(ebRight)) Line(Canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
  if (EdgeBorders & EdgeBorder(ebBottom)) Line(Canvas, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
}

// ---------------------------------------------------------------------------------------------
// TCoolCaptionBar

TCoolOptions ExcludeWallpaperOrSeeThrough(TCoolOptions Old, TCoolOptions Value) {
  const TCoolOptions Wall = CoolOption(ocPaintWallpaper), See = CoolOption(ocPaintTransparently);
  if ((Value & Wall) && (Value & See)) Value &= (Old & Wall) ? ~Wall : ~See;
  return Value;
}

TCoolCaptionBar::TCoolCaptionBar(TWinControl* Control, TColor DefaultColor, TColor DefaultTextColor, bool OneShort)
    : FControl(Control),
      FWallpaper(Control, TNotifyEvent::Bind<&TCoolCaptionBar::Changed>(this),
                 TNotifyEvent::Bind<&TCoolCaptionBar::Changed>(this)),
      FColor(DefaultColor),
      FTextColor(DefaultTextColor),
      FDefaultColor(DefaultColor),
      FDefaultTextColor(DefaultTextColor),
      FOneShort(OneShort) {}

void TCoolCaptionBar::FrameChanged() const {
  if (FControl->HandleAllocated() && !FControl->HasState(csDestroying))
    SetWindowPos(FControl->WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCoolCaptionBar::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FrameChanged();
}

void TCoolCaptionBar::SetTextColor(TColor Value) {
  if (FTextColor == Value) return;
  FTextColor = Value;
  FrameChanged();
}

void TCoolCaptionBar::SetWallpaper(TBitmap* Value) {
  FWallpaper.SetWallpaper(Value);
  FrameChanged();
}

void TCoolCaptionBar::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  FrameChanged();
}

bool TCoolCaptionBar::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return false;
  FrameChanged();
  return true;
}

void TCoolCaptionBar::HitTest(TMessage& Message, TCoolOptions Options) {
  if (Message.Result == HTCAPTION && (Options & CoolOption(ocNoDragUsingCaption))) Message.Result = HTNOWHERE;
}

void TCoolCaptionBar::Paint(TMessage& Message, const AnsiString& Text, TCoolOptions Options) const {
  HWND Wnd = FControl->Handle();
  RECT WR{};
  GetWindowRect(Wnd, &WR);
  // A region of our own: a copy of the given one, or the whole window for a whole-frame paint
  // (WParam 1), which then goes on to the system without the caption.
  TRgnOwner Rgn(CreateRectRgn(WR.left, WR.top, WR.right, WR.bottom));
  if (!Rgn) throw EOutOfResources("Out of system resources");
  if (Message.WParam > 1) CombineRgn(Rgn, reinterpret_cast<HRGN>(Message.WParam), nullptr, RGN_COPY);
  HDC DC = GetWindowDC(Wnd);
  if (!DC) throw EOutOfResources("Out of system resources");
  struct TRelease {
    HWND W;
    HDC D;
    ~TRelease() { ReleaseDC(W, D); }
  } Release{Wnd, DC};
  SelectClipRgn(DC, Rgn);
  OffsetClipRgn(DC, -WR.left, -WR.top);

  const bool Small = Options & CoolOption(ocSmallCaption);
  TRect R(0, 0, WR.right - WR.left, WR.bottom - WR.top);
  R.Inflate(-GetSystemMetrics(SM_CXDLGFRAME), -GetSystemMetrics(SM_CYDLGFRAME));
  R.Bottom = R.Top + GetSystemMetrics(Small ? SM_CYSMCAPTION : SM_CYCAPTION) - (FOneShort ? 1 : 0);
  if (!((Options & CoolOption(ocPaintCaptionWallpaper)) && FWallpaper.Draw(DC, R, true, cmSrcCopy))) {
    TBrushOwner Brush(CreateSolidBrush(COLORREF(ColorToRGB(FColor))));
    FillRect(DC, &AsRECT(R), Brush);
  }
  NONCLIENTMETRICSA NCM{};
  NCM.cbSize = 340;  // without iPaddedBorderWidth: accepted by every version
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &NCM, 0);
  TFontOwner CaptionFont(CreateFontIndirectA(Small ? &NCM.lfSmCaptionFont : &NCM.lfCaptionFont));
  {
    TSelectGuard Sel(DC, CaptionFont);
    TRect TextRect = R;
    TextRect.Left += 2;
    ::SetTextColor(DC, COLORREF(ColorToRGB(FTextColor)));
    SetBkMode(DC, TRANSPARENT);
    DrawTextA(DC, Text.c_str(), Text.Length(), &AsRECT(TextRect), DT_SINGLELINE | DT_VCENTER);
  }
  ExcludeClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  OffsetClipRgn(DC, WR.left, WR.top);
  GetClipRgn(DC, Rgn);
  Message.Result = DefWindowProcA(Wnd, WM_NCPAINT, reinterpret_cast<WPARAM>(Rgn.Get()), Message.LParam);
}

ORV_IMPLEMENT_CLASS(TCoolCaptionBar, TObject)

// ---------------------------------------------------------------------------------------------
// TCoolWallpaper

TCoolWallpaper::TCoolWallpaper(TComponent* Control, TNotifyEvent OnWallpaperChanged, TNotifyEvent OnImagesChanged)
    : FControl(Control), FOnWallpaperChanged(OnWallpaperChanged), FLink(new TCoolChangeLink()) {
  FLink->OnChange = OnImagesChanged;
}

TCoolWallpaper::~TCoolWallpaper() {
  if (TCoolImages* Images = FLink->Images()) Images->RemoveFreeNotification(FControl);
  delete FLink;
  if (FWallpaper) {
    FWallpaper->OnChange = nullptr;
    delete FWallpaper;
  }
}

TBitmap* TCoolWallpaper::Wallpaper() {
  if (!FWallpaper) {
    FWallpaper = new TBitmap();
    FWallpaper->OnChange = FOnWallpaperChanged;
  }
  return FWallpaper;
}

void TCoolWallpaper::SetWallpaper(TBitmap* Value) { Wallpaper()->Assign(Value); }

bool TCoolWallpaper::SetCoolImages(TCoolImages* Value) {
  TCoolImages* Old = FLink->Images();
  if (Old == Value) return false;
  if (Old) {
    Old->UnRegisterChanges(FLink);
    Old->RemoveFreeNotification(FControl);
  }
  if (Value) {
    Value->RegisterChanges(FLink);
    Value->FreeNotification(FControl);
  }
  return true;
}

TBitmap* TCoolWallpaper::Source() const {
  if (TCoolImages* Images = FLink->Images())
    if (TBitmap* B = Images->Picture(FIdWallpaper)) return B;
  if (FWallpaper && !FWallpaper->Empty() && FWallpaper->Width() > 0 && FWallpaper->Height() > 0) return FWallpaper;
  return nullptr;
}

bool TCoolWallpaper::Draw(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
  TBitmap* B = Source();
  if (!B) return false;
  DrawWallpaper(DC, B, Rect, Tile, Mode);
  return true;
}

bool TCoolWallpaper::Erase(TWinControl* Control, HDC DC, bool Transparent, int Level) const {
  if (!Transparent) return Draw(DC, Control->ClientRect(), true, cmSrcCopy);
  PaintBackground(Control, DC, Level);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Unit registration.

namespace {
struct TCoolCtrlsUnit {
  TCoolCtrlsUnit() {
    RegisterClasses({TCoolImages::StaticClass(), TCoolCheckRadioBox::StaticClass(), TCoolListBox::StaticClass(),
                     TCoolComboBox::StaticClass(), TCoolStringGrid::StaticClass(), TCoolEdit::StaticClass(),
                     TCoolEditBtn::StaticClass(), TCoolMemo::StaticClass()});
  }
} CoolCtrlsUnit;
}  // namespace
