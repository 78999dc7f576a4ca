#include "package/BMPageControl.h"
#include "package/BMTabSheet.h"

#include <algorithm>
#include <cstring>
#include <memory>

constexpr TEnumType TBMTabStyleType{"TBMTabStyle", {"tabRightJustify", "tabCenterText", "tabLabelLeft", "tabOwnerDraw"}};
constexpr TEnumType TTabColorizationType{"TTabColorization", {"tcNone", "tcPage", "tcActive", "tcActivePage"}};
constexpr TEnumType TCloudColorizationType{"TCloudColorization", {"ccNone", "ccPage", "ccMain"}};
constexpr TEnumType TDrawStyleType{"TDrawStyle", {"dsNormal", "dsRaised", "dsInset", "dsShadow"}};

namespace {

constexpr int RestartCountdown = 12;
constexpr int MinDelay = 10;
enum { lkNormal, lkGrayed, lkHighlighted, lkSelectedHighlighted };

// A fresh 32-bit bitmap of the given size.
TBitmap* NewBitmap32(int W = 0, int H = 0) {
  auto* B = new TBitmap;
  B->SetPixelFormat(pf32bit);
  B->SetSize(W, H);
  return B;
}

uint8_t RedOf(TColor C) { return uint8_t(C); }
uint8_t GreenOf(TColor C) { return uint8_t(C >> 8); }
uint8_t BlueOf(TColor C) { return uint8_t(C >> 16); }

// Ellipses shrinking in 51 steps from Start to Start + Delta, a soft cloud over R; Kind (the
// flash phase) sets how far it reaches beyond R.
void DrawCloud(TCanvas* Canvas, TRect R, TColor Start, int DR, int DG, int DB, int Kind) {
  Canvas->Pen()->SetStyle(psClear);
  Canvas->Pen()->SetMode(pmCopy);
  const int H = R.Height(), W = R.Width();
  int D, HH, WW;
  if (Kind == 1 || Kind == 3) {
    R.Inflate(W / 3, H / 3);
    D = 100;
    HH = H + 2 * (H / 3);
    WW = W + 2 * (W / 3);
  } else if (Kind == 2) {
    R.Inflate(W / 2, H / 2);
    D = 175;
    HH = R.Height();
    WW = R.Width();
  } else {
    D = 50;
    HH = H / 2;
    WW = W / 2;
  }
  for (int I = 0; I <= 50; ++I) {
    const int Red = RedOf(Start) + DR * I / 50, Green = GreenOf(Start) + DG * I / 50, Blue = BlueOf(Start) + DB * I / 50;
    Canvas->Brush()->SetColor(TColor(Red | Green << 8 | Blue << 16));
    Canvas->Ellipse(R.Left + WW * I / D, R.Top + HH * I / D, R.Right - WW * I / D, R.Bottom - HH * I / D);
  }
  Canvas->Pen()->SetStyle(psSolid);
}

// The cloud as an alpha mask from C's top-left to the bitmap's bottom-right, blending the
// bitmap's pixels towards Cloud; only pixels inside the bitmap change.
void DrawAlphaCloud(TBitmap* Tab, const TRect& C, TColor Cloud, int Kind) {
  const int W = Tab->Width(), H = Tab->Height(), MW = W - C.Left, MH = H - C.Top;
  if (MW <= 0 || MH <= 0) return;
  std::unique_ptr<TBitmap> Mask(NewBitmap32(MW, MH));
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(0, 0, MW, MH));
  DrawCloud(Mask->Canvas(), Rect(0, 0, MW, MH), clBlack, 255, 255, 255, Kind);
  const int CR = RedOf(Cloud), CG = GreenOf(Cloud), CB = BlueOf(Cloud);
  for (int MY = std::max(0, -C.Top); MY < MH && MY + C.Top < H; ++MY) {
    const uint8_t* M = static_cast<const uint8_t*>(Mask->ScanLine(MY));
    uint8_t* P = static_cast<uint8_t*>(Tab->ScanLine(MY + C.Top));
    for (int MX = std::max(0, -C.Left); MX < MW && MX + C.Left < W; ++MX) {
      const int A = M[MX * 4 + 1];
      uint8_t* Px = P + (MX + C.Left) * 4;
      Px[0] = uint8_t(Px[0] * (256 - A) / 256 + CB * A / 256);
      Px[1] = uint8_t(Px[1] * (256 - A) / 256 + CG * A / 256);
      Px[2] = uint8_t(Px[2] * (256 - A) / 256 + CR * A / 256);
    }
  }
}

// The pixel transforms of the glyph looks, on a 16 by 16 32-bit bitmap.
void GrayPixels(TBitmap* B) {
  for (int Y = 0; Y < B->Height(); ++Y) {
    uint8_t* P = static_cast<uint8_t*>(B->ScanLine(Y));
    for (int X = 0; X < B->Width(); ++X, P += 4) {
      const uint8_t G = uint8_t((P[0] * 29 + P[1] * 150 + P[2] * 77) >> 8);
      P[0] = P[1] = P[2] = G;
      P[3] = 0;
    }
  }
}

void BrightenPixels(TBitmap* B) {
  for (int Y = 0; Y < B->Height(); ++Y) {
    uint8_t* P = static_cast<uint8_t*>(B->ScanLine(Y));
    for (int X = 0; X < B->Width(); ++X, P += 4) {
      for (int C = 0; C < 3; ++C) P[C] = P[C] == 0 ? 50 : uint8_t(std::min(255, P[C] + P[C] / 4));
      P[3] = 0;
    }
  }
}

// Source's pixels drawn into the 16 by 16 work bitmap.
void CopyGlyph(TBitmap* Work, TBitmap* Source) {
  Work->SetSize(16, 16);
  BitBlt(Work->Canvas()->Handle(), 0, 0, 16, 16, Source->Canvas()->Handle(), 0, 0, SRCCOPY);
}

TColor BottomLeft(TBitmap* B) { return B->Canvas()->Pixels(0, B->Height() - 1); }

// A monochrome bitmap blitted in black and white, whatever the DC's text and background colours.
void BlitMono(HDC Dst, int X, int Y, TBitmap* Mono, DWORD Rop) {
  COLORREF OldText = SetTextColor(Dst, 0), OldBk = SetBkColor(Dst, 0xFFFFFF);
  BitBlt(Dst, X, Y, Mono->Width(), Mono->Height(), Mono->Canvas()->Handle(), 0, 0, Rop);
  SetTextColor(Dst, OldText);
  SetBkColor(Dst, OldBk);
}

// Sends BM_CHANGEVIEW to every control below Root (not to Root), depth first.
void BroadcastChangeView(TWinControl* Root) {
  for (int I = 0; I < Root->ControlCount(); ++I) {
    TControl* C = Root->Controls(I);
    C->Perform(BM_CHANGEVIEW, 0, 0);
    if (auto* W = dynamic_cast<TWinControl*>(C)) BroadcastChangeView(W);
  }
}

// Paints what Parent shows behind a child at (X, Y) into DC: its background and its painting
// (with its graphic children). The parent's pending update area is invalidated again after, as
// its painting may have validated it.
void PaintParentInto(TWinControl* Parent, int X, int Y, HDC DC) {
  TSaveDC Save(DC);
  SetViewportOrgEx(DC, -X, -Y, nullptr);
  const TRect Client = Parent->ClientRect();
  IntersectClipRect(DC, 0, 0, Client.Right, Client.Bottom);
  Parent->Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(DC), 0);
  RECT Update{};
  const bool Pending = Parent->HandleAllocated() && GetUpdateRect(Parent->WindowHandle(), &Update, FALSE);
  Parent->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(DC), 0);
  if (Pending) InvalidateRect(Parent->WindowHandle(), &Update, TRUE);
}

template <class T> bool Store(T& Field, T Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TBMPageControl::TBMPageControl(TComponent* AOwner) : TPageControl(AOwner) {
  for (TImageList*& L : FLists) L = new TImageList(nullptr, 16, 16);
  auto* Canvas = new TControlCanvas;
  Canvas->SetControl(this);
  FCanvas = Canvas;
  FTabBitmap = NewBitmap32();
  FBackBuffer = NewBitmap32();
  FParentImage = NewBitmap32();
  for (TBitmap*& B : FWork) B = NewBitmap32(16, 16);
  FHotImage = NewBitmap32(16, 16);
  FHotMask = new TBitmap;
  FHotMask->SetPixelFormat(pf1bit);
  FHotMask->SetSize(16, 16);
  FHotMaskCopy = NewBitmap32(16, 16);
  ExcludeStyle(csOpaque);
  TBMPageModule::Register(this);
}

TBMPageControl::~TBMPageControl() {
  TBMPageModule::Unregister(this);
  for (TImageList* L : FLists) TObject::Free(L);
  delete FCanvas;
  for (TBitmap* B : {FTabBitmap, FBackBuffer, FParentImage, FWork[0], FWork[1], FHotImage, FHotMask, FHotMaskCopy})
    delete B;
}

// Off the list before anything of it goes, so no tick reaches a control being destroyed.
void TBMPageControl::BeforeDestruction() {
  TBMPageModule::Unregister(this);
  TPageControl::BeforeDestruction();
}

void TBMPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOVE: WMMove(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_HSCROLL:
    case WM_VSCROLL: WMVHScroll(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_NCDESTROY: WMNCDestroy(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case BM_CHANGEVIEW: BMChangeView(Message); break;
    case BM_FLASHSTEP: BMFlashStep(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TBMPageControl::Invalidate() {
  FParentImageValid = 0;
  TPageControl::Invalidate();
  if (HandleAllocated()) InvalidateRect(WindowHandle(), nullptr, TRUE);
}

// ----- properties

void TBMPageControl::SetStyles(TBMTabStyles Value) {
  if (!Store(FStyles, Value)) return;
  if (Value & (1u << tabRightJustify)) SetMultiLine(true);
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TBMPageControl::SetShowGlyphs(bool Value) {
  if (!Store(FShowGlyphs, Value) || HasState(csLoading)) return;
  RecreateWnd();
}

void TBMPageControl::SetTabColorization(TTabColorization Value) {
  if (Store(FTabColorization, Value)) Invalidate();
}

void TBMPageControl::SetCloudColorization(TCloudColorization Value) {
  if (Store(FCloudColorization, Value)) Invalidate();
}

void TBMPageControl::SetColorUnselected(TColor Value) {
  if (Store(FColorUnselected, Value)) Invalidate();
}

void TBMPageControl::SetColorSelected(TColor Value) {
  if (Store(FColorSelected, Value)) Invalidate();
}

void TBMPageControl::SetHotTrackColor(TColor Value) {
  if (Store(FHotTrackColor, Value)) Invalidate();
}

void TBMPageControl::SetHotTrackCloudColor(TColor Value) {
  if (Store(FHotTrackCloudColor, Value)) Invalidate();
}

void TBMPageControl::SetGrayInactive(bool Value) {
  if (Store(FGrayInactive, Value)) Invalidate();
}

void TBMPageControl::SetHighlightGlyphts(bool Value) {
  if (Store(FHighlightGlyphts, Value)) Invalidate();
}

void TBMPageControl::SetHotTrackTextStyle(TDrawStyle Value) {
  if (Store(FHotTrackTextStyle, Value)) Invalidate();
}

void TBMPageControl::SetHotTrackGlyphtStyle(TDrawStyle Value) {
  if (Store(FHotTrackGlyphtStyle, Value)) Invalidate();
}

// The settings the timer reads change under its lock.
void TBMPageControl::SetFlashing(bool Value) {
  TBMPageLock Lock;
  FFlashing = Value;
}

void TBMPageControl::SetFlashedDelay(int Value) {
  TBMPageLock Lock;
  FFlashedDelay = std::max(Value, MinDelay);
}

void TBMPageControl::SetFlashingDelay(int Value) {
  TBMPageLock Lock;
  FFlashingDelay = std::max(Value, MinDelay);
}

void TBMPageControl::SetUnFlashedDelay(int Value) {
  TBMPageLock Lock;
  FUnFlashedDelay = std::max(Value, MinDelay);
}

void TBMPageControl::SetTransparent(bool Value) {
  if (!Store(FTransparent, Value)) return;
  Invalidate();
  ViewChange();
}

void TBMTabSounds::Set(TComponent* Holder, TBMCustomSound*& Field, TBMCustomSound* Value) {
  if (Field == Value) return;
  if (Field) Field->RemoveFreeNotification(Holder);
  Field = Value;
  if (Value) Value->FreeNotification(Holder);
}

void TBMTabSounds::Forget(TComponent* Gone) {
  for (TBMCustomSound** S : {&Highlight, &Pulse, &Select})
    if (*S == Gone) *S = nullptr;
}

void TBMPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TPageControl::Notification(AComponent, Operation);
  if (Operation == opRemove) FSounds.Forget(AComponent);
}

// ----- pages

int TBMPageControl::GetPageCount() const {
  int N = 0;
  for (int I = 0; I < PageCount(); ++I) N += Pages(I)->TabVisible();
  return N;
}

TBMTabSheet* TBMPageControl::TabPage(int TabIndex) const { return dynamic_cast<TBMTabSheet*>(PageForTab(TabIndex)); }

int TBMPageControl::SelectedTab() const {
  HWND H = WindowHandle();
  if (!H) return -1;
  int Sel = int(SendMessageA(H, TCM_GETCURSEL, 0, 0));
  return Sel >= 0 ? Sel : int(SendMessageA(H, TCM_GETCURFOCUS, 0, 0));
}

bool TBMPageControl::HasTransparentcy() const {
  if (FTransparent) return true;
  for (int I = 0; I < PageCount(); ++I)
    if (auto* P = dynamic_cast<TBMTabSheet*>(Pages(I)); P && P->Transparent()) return true;
  return false;
}

void TBMPageControl::ViewChange() { BroadcastChangeView(Parent() ? Parent() : this); }

void TBMPageControl::InvalidateBorder() {
  if (Style() != tsTabs) return;
  if (TBMTabSheet* P = TabPage(SelectedTab())) P->InvalidateParentBorder();
}

// ----- window

void TBMPageControl::CreateParams(TCreateParams& Params) {
  TPageControl::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD(TCS_HOTTRACK)) | TCS_OWNERDRAWFIXED;
}

void TBMPageControl::CreateWnd() {
  TPageControl::CreateWnd();
  if (FShowGlyphs) SendMessageA(WindowHandle(), TCM_SETIMAGELIST, 0, LPARAM(FLists[lkNormal]->Handle()));
  SetTickWindow(WindowHandle());
  UpdateGlyphs();
}

void TBMPageControl::DestroyWnd() {
  // In the field: the setter would recreate the window being destroyed.
  if (!MultiLine()) FStyles &= ~(1u << tabRightJustify);
  SetTickWindow(nullptr);
  TPageControl::DestroyWnd();
}

void TBMPageControl::WMNCDestroy(TMessage& Message) {
  SetTickWindow(nullptr);
  inherited::Dispatch(Message);
}

void TBMPageControl::SetTickWindow(HWND Wnd) {
  TBMPageLock Lock;
  FTickWindow = Wnd;
}

// The glyph lists follow the pages that have tabs; a new caption changes nothing of them.
void TBMPageControl::TabsChanged() {
  TPageControl::TabsChanged();
  if (TabbedPages() != FGlyphPages) UpdateGlyphs();
}

std::vector<TTabSheet*> TBMPageControl::TabbedPages() const {
  std::vector<TTabSheet*> R;
  for (int I = 0; I < PageCount(); ++I)
    if (Pages(I)->TabVisible()) R.push_back(Pages(I));
  return R;
}

// ----- glyphs

void TBMPageControl::UpdateGlyphs() {
  if (!HandleAllocated() || HasState(csLoading | csDestroying)) return;
  if (Tabs()->Count() != GetPageCount()) {
    // The tabs are not in step yet: once more after the queue, and only once.
    if (!FGlyphSizePosted) PostMessageA(WindowHandle(), WM_SIZE, 0, 0);
    FGlyphSizePosted = true;
    return;
  }
  FGlyphSizePosted = false;
  FGlyphPages = TabbedPages();
  for (TImageList* L : FLists) {
    L->Clear();
    L->SetSize(16, 16);
  }
  int N = 0;
  for (TTabSheet* Sheet : FGlyphPages) {
    TCITEMA Item{};
    Item.mask = TCIF_IMAGE;
    Item.iImage = N;
    auto* Page = dynamic_cast<TBMTabSheet*>(Sheet);
    if (!Page) {
      // A plain sheet has no glyphs: a blank image keeps the numbers in step with the tabs.
      for (TImageList* L : FLists) L->AddEmpty();
      SendMessageA(WindowHandle(), TCM_SETITEMA, WPARAM(N++), LPARAM(&Item));
      continue;
    }
    TBitmap* Normal = Page->TabGlyph(0);
    FLists[lkNormal]->AddMasked(Normal, BottomLeft(Normal));
    FLists[lkNormal]->GetImages(N, FHotImage, FHotMask);
    if (Page->GlyphUnselected()->Empty()) {
      CopyGlyph(FWork[0], Normal);
      GrayPixels(FWork[0]);
      FLists[lkGrayed]->Add(FWork[0], FHotMask);
    } else {
      FLists[lkGrayed]->AddMasked(Page->TabGlyph(1), BottomLeft(Page->TabGlyph(1)));
    }
    if (Page->GlyphSelectedHighlighted()->Empty()) {
      CopyGlyph(FWork[1], Normal);
      BrightenPixels(FWork[1]);
      FLists[lkSelectedHighlighted]->Add(FWork[1], FHotMask);
    } else {
      FLists[lkSelectedHighlighted]->AddMasked(Page->TabGlyph(3), BottomLeft(Page->TabGlyph(3)));
    }
    if (Page->GlyphHighlighted()->Empty()) {
      CopyGlyph(FWork[1], Page->GlyphUnselected()->Empty() ? Normal : Page->TabGlyph(1));
      BrightenPixels(FWork[1]);
      FLists[lkHighlighted]->Add(FWork[1], FHotMask);
    } else {
      FLists[lkHighlighted]->AddMasked(Page->TabGlyph(2), BottomLeft(Page->TabGlyph(2)));
    }
    SendMessageA(WindowHandle(), TCM_SETITEMA, WPARAM(N++), LPARAM(&Item));
  }
}

// ----- tab painting

void TBMPageControl::CNDrawItem(TMessage& Message) {
  auto* Dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  struct TUnbind {
    TCanvas* C;
    ~TUnbind() { C->SetHandle(nullptr); }
  } Unbind{FCanvas};
  FCanvas->SetHandle(Dis->hDC);
  FCanvas->SetFont(Font());
  FCanvas->SetBrush(Brush());
  if (int(Dis->itemID) < 0) FCanvas->FillRect(Dis->rcItem);
  else DrawItem(int(Dis->itemID), Dis->rcItem, Dis->itemState & 0xFF);
  Message.Result = 1;
}

void TBMPageControl::TabLook(int TabIndex, bool Selected, TColor& Color, TBitmap*& Source) const {
  TBMTabSheet* Page = TabPage(TabIndex);
  Source = nullptr;
  switch (FTabColorization) {
    case tcNone: Color = Brush()->Color(); break;
    case tcPage:
      Color = Page ? Page->Color() : Brush()->Color();
      if (Page) Source = Page->RefreshBuffer();
      break;
    case tcActive:
    case tcActivePage:
      if (!Selected) {
        Color = FColorUnselected;
        break;
      }
      Color = FTabColorization == tcActive || !Page ? FColorSelected : Page->Color();
      if (Page) Source = Page->RefreshBuffer();
      break;
  }
}

void TBMPageControl::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  const bool Selected = (State & (1u << odSelected)) != 0;
  const TTabPosition Pos = TabPosition();
  const bool Tabbed = Style() == tsTabs;
  TRect R = Rect;
  int V = 0, T = 0, GS = 4;
  {
    TBMPageLock Lock;
    FTabPainted = 1;
  }
  if (!Tabbed) {
    R.Left -= 2;
    R.Right += 2;
    V = Selected ? -1 : -2;
  } else if (Pos == tpBottom) {
    if (Selected) {
      R.Bottom += 2;
    } else {
      V = -4;
      R.Top -= 2;
      R.Bottom -= 2;
    }
  } else if (Pos == tpLeft) {
    R.Right += 2;
  } else if (Pos == tpRight) {
    R.Left -= 2;
    if (!Selected) V = -3;
  }
  if (OnDrawItem) {
    OnDrawItem(this, Index, R, State != 0);
    return;
  }
  TBMTabSheet* Page = TabPage(Index);
  TCanvas* TC = FTabBitmap->Canvas();
  FTabBitmap->SetSize(R.Width(), R.Height() + 2);
  TC->SetFont(Font());
  TC->SetBrush(Brush());
  TColor TabColor;
  TBitmap* Source;
  TabLook(Index, Selected, TabColor, Source);
  TC->Brush()->SetColor(TabColor);
  int S = 0;
  if (Selected) {
    S = 2;
    FTabBitmap->SetSize(FTabBitmap->Width() - 4, FTabBitmap->Height() - 2);
  }
  const int W = FTabBitmap->Width(), H = FTabBitmap->Height();
  if (!Source || Source->Empty()) TC->FillRect(::Rect(0, 0, W, H));
  else BitBlt(TC->Handle(), 0, 0, W, H, Source->Canvas()->Handle(), R.Left + S, R.Top, SRCCOPY);

  const int Hot = FHotIndex;
  if (FCloudColorization != ccNone && Index == Hot) {
    int A = 0;
    const int B = Pos == tpBottom ? 2 : 0;
    if (!Tabbed) A = Selected ? 6 : 2;
    else if (!Selected) A = 4;
    else if (Pos == tpLeft) A = -2;
    const TColor Cloud = ColorToRGB(FCloudColorization == ccPage && Page ? Page->HotTrackCloudColor() : FHotTrackCloudColor);
    TRect C;
    if (Pos == tpLeft) C = ::Rect(V, 2, W + V + A, H - 2);
    else if (Pos == tpRight) C = ::Rect(4 - A, 2, W + V, H - 6);
    else C = ::Rect(2, V + B + 4, W - 6, H + V + A - 6);
    const int Kind = FFlashing ? int(FFlashPhase) : 1;
    if (Page && (!Page->BackgroundBitmap()->Empty() || Page->Transparent())) {
      DrawAlphaCloud(FTabBitmap, C, Cloud, Kind);
    } else {
      const TColor Start = ColorToRGB(TC->Brush()->Color());
      DrawCloud(TC, C, Start, RedOf(Cloud) - RedOf(Start), GreenOf(Cloud) - GreenOf(Start),
                BlueOf(Cloud) - BlueOf(Start), Kind);
      TC->Brush()->SetColor(TabColor);
    }
  }

  const AnsiString Text = Tabs()->Get(Index);
  const int TW = TC->TextWidth(Text);
  if (FStyles & (1u << tabCenterText)) T = (W - (FShowGlyphs ? TW + 20 : TW)) / 2;
  if (FShowGlyphs) {
    auto Unselected = [&] { return !FGrayInactive || Selected ? FLists[lkNormal] : FLists[lkGrayed]; };
    TImageList* List;
    if (!HotTrack() || HasState(csDesigning)) List = Unselected();
    else if (Index == Hot && FHighlightGlyphts) List = FLists[Selected ? lkSelectedHighlighted : lkHighlighted];
    else List = Unselected();
    int GX;
    if (FStyles & (1u << tabLabelLeft)) {
      GX = TW + T + 8;
    } else {
      GX = T + 2;
      GS = List->Width() + 4;
    }
    const int GY = V + 4;
    int X = GX, Y = GY;
    if (Pos == tpLeft || Pos == tpRight) {
      X = GY;
      Y = GX;
      if (Pos == tpLeft) {
        Y = R.Height() - Y - 16;
        if (Selected) {
          GS += 3;
          Y -= 3;
          X -= 1;
          V -= 1;
        }
      } else if (Selected) {
        GS += 3;
        Y += 3;
      }
    }
    if (Index == Hot && FHotTrackGlyphtStyle != dsNormal && Index < List->ImageCount()) {
      List->GetImages(Index, FHotImage, FHotMask);
      auto Relief = [&](int Offset, TColor Color) {
        BlitMono(FHotMaskCopy->Canvas()->Handle(), 0, 0, FHotMask, SRCCOPY);
        FHotImage->Canvas()->Brush()->SetColor(Color);
        DrawGlyphtShadow(Offset, X, Y);
      };
      if (FHotTrackGlyphtStyle == dsRaised) {
        Relief(-1, clBtnHighlight);
        Relief(1, clBtnShadow);
      } else if (FHotTrackGlyphtStyle == dsInset) {
        Relief(-1, clBtnShadow);
        Relief(1, clBtnHighlight);
      } else {
        Relief(1, clBtnShadow);
      }
    }
    List->Draw(TC, X, Y, Index);
  }

  TC->Brush()->SetStyle(bsClear);
  const int Angle = Pos == tpLeft ? 900 : Pos == tpRight ? 2700 : 0;
  LOGFONTA LF{};
  GetObjectA(TC->Font()->Handle(), sizeof LF, &LF);
  LF.lfEscapement = LF.lfOrientation = Angle;
  LF.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  TC->Font()->SetHandle(CreateFontIndirectA(&LF));
  SetGraphicsMode(TC->Handle(), GM_ADVANCED);
  int X, Y;
  if (Pos == tpLeft) {
    X = V + 4;
    Y = R.Height() - (T + GS);
  } else if (Pos == tpRight) {
    X = R.Width() - V - 6;
    Y = T + GS;
  } else {
    X = T + GS;
    Y = V + 4;
  }
  if (Index == Hot) {
    auto Outline = [&](TColor First, TColor Second) {
      TC->Font()->SetColor(First);
      for (TPoint P : {Point(X - 1, Y - 1), Point(X - 1, Y), Point(X, Y - 1)}) TC->TextOut(P.X, P.Y, Text);
      TC->Font()->SetColor(Second);
      for (TPoint P : {Point(X + 1, Y + 1), Point(X + 1, Y), Point(X, Y + 1)}) TC->TextOut(P.X, P.Y, Text);
    };
    if (FHotTrackTextStyle == dsRaised) {
      Outline(clBtnHighlight, clBtnShadow);
    } else if (FHotTrackTextStyle == dsInset) {
      Outline(clBtnShadow, clBtnHighlight);
    } else if (FHotTrackTextStyle == dsShadow) {
      TC->Font()->SetColor(clBtnShadow);
      TC->TextOut(X + 1, Y + 1, Text);
    }
    TC->Font()->SetColor(FHotTrackColor);
  } else {
    TC->Font()->SetColor(Font()->Color());
  }
  TC->TextOut(X, Y, Text);
  FCanvas->Draw(R.Left + S, R.Top, FTabBitmap);
  TC->Brush()->SetStyle(bsSolid);
}

// The hot glyph's relief: its shape in the brush colour of the hot image, at three places next
// to (X, Y) Offset away. The mask copy (the mask in black and white) becomes that colour where
// the glyph is and black elsewhere; the mask cuts the shape out of the tab, the copy fills it.
void TBMPageControl::DrawGlyphtShadow(int Offset, int X, int Y) {
  FHotImage->Canvas()->FillRect(::Rect(0, 0, 16, 16));
  BitBlt(FHotMaskCopy->Canvas()->Handle(), 0, 0, 16, 16, FHotImage->Canvas()->Handle(), 0, 0, SRCERASE);
  HDC DC = FTabBitmap->Canvas()->Handle();
  const TPoint At[] = {Point(X + Offset, Y + Offset), Point(X, Y + Offset), Point(X + Offset, Y)};
  for (TPoint P : At) BlitMono(DC, P.X, P.Y, FHotMask, SRCAND);
  for (TPoint P : At) BitBlt(DC, P.X, P.Y, 16, 16, FHotMaskCopy->Canvas()->Handle(), 0, 0, SRCPAINT);
}

// ----- erasing and painting

void TBMPageControl::WMEraseBkgnd(TMessage& Message) {
  const int W = Width(), H = Height();
  FBackBuffer->SetSize(W, H);
  const int Sel = SelectedTab();
  TCanvas* BC = FBackBuffer->Canvas();
  if (FTransparent) {
    ValidateParentImage();
    BitBlt(BC->Handle(), 0, 0, W, H, FParentImage->Canvas()->Handle(), 0, 0, SRCCOPY);
  } else {
    BC->Brush()->SetColor(Color());
    BC->FillRect(::Rect(0, 0, W, H));
  }
  auto Paint = [&](const TRect& Area, TColor Fill, TBitmap* Source) {
    if (Source && !Source->Empty()) {
      BitBlt(BC->Handle(), Area.Left, Area.Top, Area.Width(), Area.Height(), Source->Canvas()->Handle(), Area.Left,
             Area.Top, SRCCOPY);
    } else {
      BC->Brush()->SetColor(Fill);
      BC->FillRect(Area);
    }
  };
  if (Sel >= 0 && Sel < GetPageCount()) {
    TBMTabSheet* P = TabPage(Sel);
    const TRect T = TabRect(Sel);
    TColor Fill = FColorSelected;
    TBitmap* Source = nullptr;
    if (P && (FTabColorization == tcPage || FTabColorization == tcActivePage)) {
      Fill = P->Color();
      Source = P->RefreshBuffer();
    }
    if (FTabColorization != tcNone && Style() == tsTabs) {
      TRect Body;
      switch (TabPosition()) {
        case tpTop: Body = ::Rect(2, T.Bottom, W - 2, H - 2); break;
        case tpBottom: Body = ::Rect(2, 2, W - 2, T.Top - 2); break;
        case tpLeft: Body = ::Rect(T.Right, 2, W - 2, H - 2); break;
        case tpRight: Body = ::Rect(2, 2, T.Left, H - 2); break;
      }
      Paint(Body, Fill, Source);
    }
  }
  if (FTabColorization != tcNone) {
    for (int I = 0; I < Tabs()->Count(); ++I) {
      TRect T = TabRect(I);
      if (T.Left < 0 || T.Top < 0 || T.Right < 0 || T.Bottom < 0) continue;
      T.Left += 2;
      T.Right -= 4;
      T.Top += 2;
      if (!(T.Left < T.Right + 10 && T.Right < W)) continue;
      TColor Fill;
      TBitmap* Source;
      TabLook(I, I == Sel, Fill, Source);
      Paint(T, Fill, Source);
    }
  }
  BitBlt(reinterpret_cast<HDC>(Message.WParam), 0, 0, W, H, BC->Handle(), 0, 0, SRCCOPY);
  Message.Result = 1;
}

// Flat buttons: the strips where the system would frame the unselected buttons are painted
// with what lies behind and validated, so no frame shows.
void TBMPageControl::WMPaint(TMessage& Message) {
  if (Style() == tsFlatButtons && HandleAllocated()) {
    const int Sel = SelectedTab();
    if (FTransparent) ValidateParentImage();
    for (int I = 0; I < Tabs()->Count(); ++I) {
      if (I == Sel) continue;
      TRect T = TabRect(I);
      T.Inflate(2, 2);
      for (const TRect& Strip : {::Rect(T.Left, T.Top, T.Left + 4, T.Bottom), ::Rect(T.Right - 4, T.Top, T.Right, T.Bottom),
                                 ::Rect(T.Left, T.Top, T.Right, T.Top + 4), ::Rect(T.Left, T.Bottom - 4, T.Right, T.Bottom)}) {
        ValidateRect(WindowHandle(), &AsRECT(Strip));
        ValidateBtnRect(Strip);
      }
    }
  }
  inherited::Dispatch(Message);
}

void TBMPageControl::ValidateBtnRect(const TRect& Rect) {
  TWindowDC DC(WindowHandle());
  if (FTransparent) {
    BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), FParentImage->Canvas()->Handle(), Rect.Left, Rect.Top,
           SRCCOPY);
  } else {
    TBrushOwner Fill(CreateSolidBrush(COLORREF(ColorToRGB(Color()))));
    ::FillRect(DC, &AsRECT(Rect), Fill);
  }
}

void TBMPageControl::ValidateParentImage() {
  if (FParentImageValid) return;
  FParentImage->SetSize(Width(), Height());
  HDC DC = FParentImage->Canvas()->Handle();
  if (TWinControl* P = Parent()) {
    PaintParentInto(P, Left(), Top(), DC);
  } else {
    FParentImage->Canvas()->Brush()->SetColor(Color());
    FParentImage->Canvas()->FillRect(::Rect(0, 0, Width(), Height()));
  }
  FParentImageValid = 1;
}

// ----- messages

void TBMPageControl::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.WParam == 0) UpdateGlyphs();
  Invalidate();
  if (TTabSheet* P = ActivePage()) P->Invalidate();
}

void TBMPageControl::WMMove(TMessage& Message) {
  Invalidate();
  for (int I = 0; I < PageCount(); ++I) {
    auto* P = dynamic_cast<TBMTabSheet*>(Pages(I));
    if (!P || !P->Transparent()) continue;
    P->DropBuffer();
    if (P == ActivePage()) P->Invalidate();
  }
  inherited::Dispatch(Message);
}

void TBMPageControl::WMVHScroll(TMessage& Message) {
  inherited::Dispatch(Message);
  if (HasTransparentcy()) Invalidate();
}

void TBMPageControl::CMColorChanged(TMessage& Message) {
  Invalidate();
  inherited::Dispatch(Message);
}

void TBMPageControl::BMChangeView(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

// ----- hot tracking and flashing

void TBMPageControl::RestartFlash() {
  FFlashPhase = 0;
  FTabPainted = 0;
  FFlashCountdown = RestartCountdown;
}

void TBMPageControl::InvalidateTab(int TabIndex) {
  RECT R{};
  if (!HandleAllocated() || !SendMessageA(WindowHandle(), TCM_GETITEMRECT, WPARAM(TabIndex), LPARAM(&R))) return;
  R.left += 2;
  R.right -= 2;
  InvalidateRect(WindowHandle(), &R, FALSE);
}

void TBMPageControl::CMMouseEnter(TMessage& Message) {
  if (Message.LParam == 0) {
    TBMPageLock Lock;
    FMouseInside = 1;
  }
  inherited::Dispatch(Message);
}

void TBMPageControl::CMMouseLeave(TMessage& Message) {
  if (Message.LParam == 0) {
    TBMPageLock Lock;
    FMouseInside = 0;
    if (FHotIndex != -1) InvalidateTab(FHotIndex);
    FHotIndex = -1;
    RestartFlash();
  }
  inherited::Dispatch(Message);
}

void TBMPageControl::WMMouseMove(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!HotTrack() || HasState(csDesigning) || !FMouseInside) return;
  bool Highlight = false;
  {
    TBMPageLock Lock;
    const int Tab = IndexOfTabAt(MessageX(Message), MessageY(Message));
    if (Tab == FHotIndex) return;
    if (FHotIndex != -1) InvalidateTab(FHotIndex);
    FHotIndex = Tab;
    if (Tab != -1) {
      InvalidateTab(Tab);
      Highlight = HaveHighlightWave();
      if (Highlight) FSkipNextPulse = 1;
    }
    RestartFlash();
  }
  if (Highlight) PlayHighlightWave();
}

bool TBMPageControl::CanChange() {
  {
    TBMPageLock Lock;
    FFlashPhase = 0;
    FFlashCountdown = RestartCountdown;
  }
  return TPageControl::CanChange();
}

void TBMPageControl::Change() {
  FParentImageValid = 0;
  {
    TBMPageLock Lock;
    FFlashPhase = 0;
    FFlashCountdown = RestartCountdown;
  }
  TPageControl::Change();
  InvalidateBorder();
  {
    TBMPageLock Lock;
    FSkipNextPulse = 1;
  }
  PlaySelectWave();
}

void TBMPageControl::UpdateHighlighted() {
  if (!FFlashing) return;
  if (FFlashCountdown != 0) {
    --FFlashCountdown;
    return;
  }
  if (FHotIndex == -1 || !FTabPainted) return;
  int Phase = FFlashPhase + 1;
  if (Phase > 3) Phase = 0;
  FFlashPhase = Phase;
  FFlashCountdown = FFlashingDelay;
  bool Pulse = false;
  if (Phase == 0) {
    FFlashCountdown = FUnFlashedDelay;
  } else if (Phase == 2) {
    FFlashCountdown = FFlashedDelay;
    Pulse = !FSkipNextPulse;
    FSkipNextPulse = 0;
  }
  // The window repaints (and sounds) on its own thread; the timer never waits for it.
  if (FTickWindow) PostMessageA(FTickWindow, BM_FLASHSTEP, Pulse ? 1 : 0, 0);
}

void TBMPageControl::BMFlashStep(TMessage& Message) {
  const int Hot = FHotIndex;
  RECT R{};
  if (Hot != -1 && HandleAllocated() && SendMessageA(WindowHandle(), TCM_GETITEMRECT, WPARAM(Hot), LPARAM(&R))) {
    R.left += 2;
    R.right -= 2;
    R.bottom -= 2;
    if (Hot != int(SendMessageA(WindowHandle(), TCM_GETCURFOCUS, 0, 0))) R.top += 2;
    InvalidateRect(WindowHandle(), &R, FALSE);
  }
  if (Message.WParam) PlayPulseWave();
}

// ----- sounds

namespace {
bool Playable(TBMCustomSound* S) { return S && !S->Empty(); }
}  // namespace

void TBMPageControl::PlayHighlightWave() {
  if (!FEnableSounds || FHotIndex == -1) return;
  TBMTabSheet* P = TabPage(FHotIndex);
  if (P && Playable(P->HighlightSound())) P->HighlightSound()->Play();
  else if (FSounds.Highlight) FSounds.Highlight->Play();
}

void TBMPageControl::PlayPulseWave() {
  if (!FEnableSounds || FHotIndex == -1) return;
  TBMTabSheet* P = TabPage(FHotIndex);
  if (P && Playable(P->PulseSound())) P->PulseSound()->Play();
  else if (FSounds.Pulse) FSounds.Pulse->Play();
}

void TBMPageControl::PlaySelectWave() {
  if (!FEnableSounds || FHotIndex == -1) return;
  TBMTabSheet* P = TabPage(FHotIndex);
  if (P && Playable(P->SelectSound())) P->SelectSound()->Play();
  else if (Playable(FSounds.Select)) FSounds.Select->Play();
  else PlayPulseWave();
}

bool TBMPageControl::HaveHighlightWave() const {
  TBMTabSheet* P = FHotIndex != -1 ? TabPage(FHotIndex) : nullptr;
  return (P && Playable(P->HighlightSound())) || Playable(FSounds.Highlight);
}

bool TBMPageControl::HaveSelectWave() const {
  TBMTabSheet* P = FHotIndex != -1 ? TabPage(FHotIndex) : nullptr;
  return (P && Playable(P->SelectSound())) || Playable(FSounds.Select);
}

// ----- published properties

static constinit const TPropInfo TBMPageControl_Props[] = {
    PropEnum<&TBMPageControl::CloudColorization, &TBMPageControl::SetCloudColorization>(
        "CloudColorization", TCloudColorizationType, ccMain),
    TControlProps::Color(clWindow),
    PropColor<&TBMPageControl::ColorSelected, &TBMPageControl::SetColorSelected>("ColorSelected", clBtnFace),
    PropColor<&TBMPageControl::ColorUnselected, &TBMPageControl::SetColorUnselected>("ColorUnselected", clBtnShadow),
    PropBool<&TBMPageControl::EnableSounds, &TBMPageControl::SetEnableSounds>("EnableSounds", true),
    PropInt<&TBMPageControl::FlashedDelay, &TBMPageControl::SetFlashedDelay>("FlashedDelay", 6),
    PropBool<&TBMPageControl::Flashing, &TBMPageControl::SetFlashing>("Flashing", true),
    PropInt<&TBMPageControl::FlashingDelay, &TBMPageControl::SetFlashingDelay>("FlashingDelay", 6),
    PropBool<&TBMPageControl::GrayInactive, &TBMPageControl::SetGrayInactive>("GrayInactive", true),
    PropBool<&TBMPageControl::HighlightGlyphts, &TBMPageControl::SetHighlightGlyphts>("HighlightGlyphts", true),
    PropRef<&TBMPageControl::HighlightSound, &TBMPageControl::SetHighlightSound>("HighlightSound"),
    PropColor<&TBMPageControl::HotTrackCloudColor, &TBMPageControl::SetHotTrackCloudColor>("HotTrackCloudColor",
                                                                                          65535),
    PropColor<&TBMPageControl::HotTrackColor, &TBMPageControl::SetHotTrackColor>("HotTrackColor", clHighlight),
    PropEnum<&TBMPageControl::HotTrackGlyphtStyle, &TBMPageControl::SetHotTrackGlyphtStyle>(
        "HotTrackGlyphtStyle", TDrawStyleType, dsRaised),
    PropEnum<&TBMPageControl::HotTrackTextStyle, &TBMPageControl::SetHotTrackTextStyle>("HotTrackTextStyle",
                                                                                       TDrawStyleType, dsRaised),
    TControlProps::ParentColor(true),
    PropRef<&TBMPageControl::PulseSound, &TBMPageControl::SetPulseSound>("PulseSound"),
    PropRef<&TBMPageControl::SelectSound, &TBMPageControl::SetSelectSound>("SelectSound"),
    PropBool<&TBMPageControl::ShowGlyphs, &TBMPageControl::SetShowGlyphs>("ShowGlyphs", true),
    PropSet<&TBMPageControl::Styles, &TBMPageControl::SetStyles>("Styles", TBMTabStyleType, 0),
    PropEnum<&TBMPageControl::TabColorization, &TBMPageControl::SetTabColorization>("TabColorization",
                                                                                   TTabColorizationType, tcPage),
    PropBool<&TBMPageControl::Transparent, &TBMPageControl::SetTransparent>("Transparent", false),
    PropInt<&TBMPageControl::UnFlashedDelay, &TBMPageControl::SetUnFlashedDelay>("UnFlashedDelay", 200),
    PropEvent<&TBMPageControl::OnDrawItem>("OnDrawItem"),
};
ORV_IMPLEMENT_COMPONENT(TBMPageControl, TPageControl, TBMPageControl_Props)
