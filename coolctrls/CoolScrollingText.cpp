#include "coolctrls/CoolScrollingText.h"

#include "vcl/GdiGuards.h"

#include <algorithm>
#include <utility>

namespace {
template <class F> struct TFinally {
  F Fn;
  ~TFinally() { Fn(); }
};
template <class F> TFinally(F) -> TFinally<F>;
}  // namespace

constexpr TEnumType TScrollDirectionType{"TScrollDirection",
                                         {"sdBottomToTop", "sdTopToBottom", "sdLeftToRight", "sdRightToLeft"}};

TCoolScrollingText::TCoolScrollingText(TComponent* AOwner)
    : TGraphicControl(AOwner),
      FGlyph(new TGlyph()),
      FStrings(new TStringList()),
      FTimer(New<TThreadTimer>()),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolScrollingText::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolScrollingText::Changed>(this)) {
  IncludeStyle(csReplicatable);
  // The lines are the text shown, not the caption.
  ExcludeStyle(csSetCaption);
  SetBounds(0, 0, 97, 15);
  FGlyph->OnChange = TNotifyEvent::Bind<&TCoolScrollingText::Changed>(this);
  FStrings->OnChange = TNotifyEvent::Bind<&TCoolScrollingText::StringsChange>(this);
  FTimer->OnTimer = TNotifyEvent::Bind<&TCoolScrollingText::DoTimer>(this);
  UpdateTimer();
}

TCoolScrollingText::~TCoolScrollingText() {
  if (FDestroyedFlag) *FDestroyedFlag = true;
  FActive = false;
  FTimer->OnTimer = nullptr;
  FTimer->Release();
  FStrings->OnChange = nullptr;
  TObject::Free(FStrings);
  FGlyph->OnChange = nullptr;
  TObject::Free(FGlyph);
}

void TCoolScrollingText::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolScrollingText::Loaded() {
  inherited::Loaded();
  UpdateTimer();
  AdjustBounds();
  SetTextCoordinates(false);
}

// ----- properties

void TCoolScrollingText::SetStrings(TStrings* Value) {
  FStrings->Assign(Value);
  Invalidate();
}

void TCoolScrollingText::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (HasState(csLoading)) return;  // Loaded starts the timer
  UpdateTimer();
  Invalidate();
}

void TCoolScrollingText::SetInterval(unsigned Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  if (HasState(csLoading)) return;
  UpdateTimer();
  Invalidate();
}

void TCoolScrollingText::SetScrollDirection(TScrollDirection Value) {
  if (FScrollDirection == Value) return;
  FScrollDirection = Value;
  if (Value == sdLeftToRight || Value == sdRightToLeft) FAlignment = taLeftJustify;
  Invalidate();
}

void TCoolScrollingText::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCoolScrollingText::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Invalidate();
}

void TCoolScrollingText::SetGlyph(TBitmap* Value) {
  FGlyph->SetGlyph(Value);
  AdjustBounds();
  Invalidate();
}

void TCoolScrollingText::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::min(Value, TNumGlyphs(2));
  if (FGlyph->NumGlyphs() == Value) return;
  FGlyph->SetNumGlyphs(Value);
  Invalidate();
}

void TCoolScrollingText::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  FSimpleView = false;
  Invalidate();
}

void TCoolScrollingText::SetShadowSize(int Value) {
  Value = std::clamp(Value, 0, 255);
  if (FShadowSize == Value) return;
  FShadowSize = Value;
  FSimpleView = false;
  Invalidate();
}

void TCoolScrollingText::SetShadowPos(TShadowPosition Value) {
  if (FShadowPos == Value) return;
  FShadowPos = Value;
  FSimpleView = false;
  Invalidate();
}

void TCoolScrollingText::SetSimpleView(bool Value) {
  if (FSimpleView == Value) return;
  FSimpleView = Value;
  Invalidate();
}

void TCoolScrollingText::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  Invalidate();
}

void TCoolScrollingText::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCoolScrollingText::SetWallpaper(TBitmap* Value) {
  FWallpaper.SetWallpaper(Value);
  Invalidate();
}

void TCoolScrollingText::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return;
  if (!HasState(csDestroying)) Invalidate();
}

void TCoolScrollingText::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  Invalidate();
}

void TCoolScrollingText::WallpaperChanged(TObject*) {
  Invalidate();
  Perform(CM_COLORCHANGED);
}

void TCoolScrollingText::StringsChange(TObject*) {
  Invalidate();
  AdjustBounds();
}

bool TCoolScrollingText::CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) {
  return FWallpaper.Draw(DC, Rect, Tile, Mode);
}

void TCoolScrollingText::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (AComponent == FFocusControl) FFocusControl = nullptr;
  if (AComponent == CoolImages()) SetCoolImages(nullptr);
}

void TCoolScrollingText::SetName(const AnsiString& NewName) {
  const bool ChangeText = !HasState(csLoading) && TrimRight(FStrings->Text()) == Name();
  inherited::SetName(NewName);
  if (ChangeText) FStrings->SetText(NewName);
}

// ----- timer and position

void TCoolScrollingText::UpdateTimer() {
  FTimer->SetInterval(FInterval);
  FTimer->SetEnabled(FActive && !DesignTime(this));
}

void TCoolScrollingText::DoTimer(TObject*) {
  // Also not while a parent goes: a tick may run while another control's worker is awaited.
  for (TControl* C = this; C; C = C->Parent())
    if (C->HasState(csDestroying)) return;
  try {
    DoPaintEvent();
  } catch (...) {
    HandleVclException(this);
  }
}

void TCoolScrollingText::SetTextCoordinates(bool Reset) {
  FTextX = FTextY = 0;
  if (!Reset && !DesignTime(this)) {
    switch (FScrollDirection) {
      case sdBottomToTop: FTextY = Height(); break;
      case sdTopToBottom: FTextY = -Height(); break;
      case sdLeftToRight: FTextX = -Width(); break;
      case sdRightToLeft: FTextX = Width(); break;
    }
  }
  Invalidate();
}

void TCoolScrollingText::BusyRect(TRect& Rect) {
  Rect = ClientRect();
  // Measured on a screen DC, so a control without a parent window measures too.
  TWindowDC DC(nullptr);
  TCanvas Measure;
  Measure.SetHandle(DC);
  TFinally Unbind{[&] { Measure.SetHandle(nullptr); }};
  DoDrawText(&Measure, Rect, DT_CALCRECT | DT_EXPANDTABS | (FStrings->Count() > 1 ? DT_WORDBREAK : 0));
  TBitmap* G = FGlyph->Glyph();
  if (!G->Empty() && G->Width() > 0) {
    Rect.Right += G->Width() / std::max(FGlyph->NumGlyphs(), 1) + 2;
    Rect.Bottom = std::max(Rect.Bottom, G->Height());
  }
}

void TCoolScrollingText::DoPaintEvent() {
  // OnTextScrolled may free the control: the destructor raises the innermost flag.
  bool Destroyed = false;
  bool* const Outer = std::exchange(FDestroyedFlag, &Destroyed);
  TFinally Forget{[&] {
    if (!Destroyed) FDestroyedFlag = Outer;
    else if (Outer) *Outer = true;
  }};
  int DX = 0, DY = 0;
  bool Left = false;
  TRect R;
  switch (FScrollDirection) {
    case sdBottomToTop:
      DY = -1;
      BusyRect(R);
      if (R.Top - R.Bottom < FTextY) --FTextY;
      else Left = true;
      break;
    case sdTopToBottom:
      DY = 1;
      if (FTextY < Height()) ++FTextY;
      else Left = true;
      break;
    case sdLeftToRight:
      DX = 1;
      if (FTextX < Width()) ++FTextX;
      else Left = true;
      break;
    case sdRightToLeft:
      DX = -1;
      BusyRect(R);
      if (R.Left - R.Right < FTextX) --FTextX;
      else Left = true;
      break;
  }
  if (Left) {
    bool InitialPosition = false;
    if (OnTextScrolled) {
      OnTextScrolled(this, InitialPosition);
      if (Destroyed) return;
    }
    SetTextCoordinates(InitialPosition);
  }
  // Hidden, or nowhere to show it: the text has moved, nothing is drawn.
  if (!Visible() || !Parent() || !Parent()->HandleAllocated()) return;
  if (FTransparent) TransparentStep();
  else if (IsWallpaperAssigned()) WallpaperStep();
  else ScrollStep(DX, DY);
}

void TCoolScrollingText::ScrollStep(int DX, int DY) {
  const RECT R = AsRECT(BoundsRect());
  ScrollWindowEx(Parent()->Handle(), DX, DY, &R, &R, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
}

void TCoolScrollingText::TransparentStep() {
  TWinControl* P = Parent();
  HDC Target = Canvas()->Handle();
  TMemoryDC Mem(Target);
  TBitmapOwner Bmp(CreateCompatibleBitmap(Target, std::max(P->ClientWidth(), 1), std::max(P->ClientHeight(), 1)));
  if (!Mem.Get() || !Bmp) throw EOutOfResources("Out of system resources");
  TSelectGuard Sel(Mem, Bmp);
  // Only the control's area is wanted from the parent's painting.
  IntersectClipRect(Mem, Left(), Top(), Left() + Width(), Top() + Height());
  P->Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(Mem.Get()), 0);
  P->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(Mem.Get()), 0);
  // The parent's painting painted this control too, on its canvas: take the canvas again.
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), Mem, Left(), Top(), SRCCOPY);
}

void TCoolScrollingText::WallpaperStep() {
  TBitmap Off;
  Off.SetSize(std::max(Width(), 1), std::max(Height(), 1));
  DoPaint(Off.Canvas());
  Canvas()->Draw(0, 0, &Off);
}

// ----- painting

void TCoolScrollingText::Paint() {
  inherited::Paint();
  DoPaint(Canvas());
}

int TCoolScrollingText::TextWidth(TCanvas* ACanvas) {
  TRect R = ClientRect();
  DoDrawText(ACanvas, R, DT_CALCRECT | DT_EXPANDTABS);
  return R.Width();
}

void TCoolScrollingText::DoPaint(TCanvas* ACanvas) {
  const TRect Client = ClientRect();
  if (IsWallpaperAssigned()) {
    CTLDrawWallpaper(ACanvas->Handle(), Client, true, cmSrcCopy);
  } else if (!FTransparent) {
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(Color());
    ACanvas->FillRect(Client);
  }
  ACanvas->Brush()->SetStyle(bsClear);
  SetBkMode(ACanvas->Handle(), TRANSPARENT);

  TRect T = Client;
  T.Left = FTextX;
  T.Top = FTextY;
  TBitmap* G = FGlyph->Glyph();
  if (!G->Empty() && G->Width() > 0) {
    const int GW = G->Width() / std::max(FGlyph->NumGlyphs(), 1);
    TPoint At{T.Left, T.Top};
    switch (FAlignment) {
      case taLeftJustify: T.Left += GW + 2; break;
      case taRightJustify: At.X = T.Right - TextWidth(ACanvas) - GW - 2; break;
      case taCenter:
        // From the text rectangle's left, so the glyph moves with the text.
        At.X = T.Left + (T.Right - T.Left) / 2 - (TextWidth(ACanvas) + GW + 2) / 2;
        T.Left += (GW + 2) / 2;
        break;
    }
    FGlyph->DrawImage(ACanvas, At, Enabled(), true, clNone);
  }
  const unsigned Align = FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  DoDrawText(ACanvas, T, Align | DT_NOCLIP);
}

void TCoolScrollingText::DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags) {
  const AnsiString Lines = GetStringsText();
  const AnsiString Text = Lines + " ";
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  Flags = DrawTextBiDiModeFlags(Flags);
  ACanvas->SetFont(Font());
  HDC DC = ACanvas->Handle();
  if (!Enabled()) {
    Draw3DText(DC, Rect, spRightBottom, Lines, Flags, clBtnShadow, clBtnHighlight, 1);
  } else if (FSimpleView) {
    SetBkMode(DC, TRANSPARENT);
    DrawTextA(DC, Text.c_str(), -1, &AsRECT(Rect), Flags);
  } else {
    Draw3DText(DC, Rect, FShadowPos, Text, Flags, Font()->Color(), FShadowColor, FShadowSize);
  }
}

void TCoolScrollingText::AdjustBounds() {
  if (HasState(csLoading | csReading | csDestroying) || !AutoSize() || !Parent()) return;
  TRect R;
  BusyRect(R);
  int X = Left();
  TAlignment A = FAlignment;
  if (UseRightToLeftReading() && A != taCenter) A = A == taLeftJustify ? taRightJustify : taLeftJustify;
  if (A == taRightJustify) X += Width() - R.Right;
  SetBounds(X, Top(), R.Right, R.Bottom);
}

void TCoolScrollingText::AdjustSize() {
  inherited::AdjustSize();
  AdjustBounds();
}

// ----- messages

void TCoolScrollingText::CMTextChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  AdjustBounds();
  Invalidate();
}

void TCoolScrollingText::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  AdjustBounds();
  Invalidate();
}

void TCoolScrollingText::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TCoolScrollingText::CMDialogChar(TMessage& Message) {
  if (FFocusControl && Enabled() && FShowAccelChar && IsAccel((unsigned short)Message.WParam, FStrings->Text()) &&
      FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result = 1;
  }
}

static constinit const TPropInfo TCoolScrollingText_Props[] = {
    PropObject<&TCoolScrollingText::About, &TCoolScrollingText::SetAbout>("About"),
    PropBool<&TCoolScrollingText::Active, &TCoolScrollingText::SetActive>("Active", false),
    TControlProps::Align(),
    PropEnum<&TCoolScrollingText::Alignment, &TCoolScrollingText::SetAlignment>("Alignment", TAlignmentType,
                                                                              taLeftJustify),
    TControlProps::Anchors(),
    TControlProps::AutoSize(false),
    TControlProps::BiDiMode(),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    PropRef<&TCoolScrollingText::CoolImages, &TCoolScrollingText::SetCoolImages>("CoolImages"),
    TControlProps::DragCursor(),
    TControlProps::Enabled(),
    PropRef<&TCoolScrollingText::FocusControl, &TCoolScrollingText::SetFocusControl>("FocusControl"),
    TControlProps::Font(),
    PropObject<&TCoolScrollingText::Glyph, &TCoolScrollingText::SetGlyph>("Glyph"),
    PropInt<&TCoolScrollingText::idWallpaper, &TCoolScrollingText::SetIdWallpaper>("idWallpaper", -1),
    PropInt<&TCoolScrollingText::Interval, &TCoolScrollingText::SetInterval>("Interval", 25),
    PropInt<&TCoolScrollingText::NumGlyphs, &TCoolScrollingText::SetNumGlyphs>("NumGlyphs", 1),
    TControlProps::ParentBiDiMode(),
    TControlProps::ParentColor(true),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PropEnum<&TCoolScrollingText::ScrollDirection, &TCoolScrollingText::SetScrollDirection>(
        "ScrollDirection", TScrollDirectionType, sdRightToLeft),
    PropColor<&TCoolScrollingText::ShadowColor, &TCoolScrollingText::SetShadowColor>("ShadowColor", clBtnHighlight),
    PropEnum<&TCoolScrollingText::ShadowPos, &TCoolScrollingText::SetShadowPos>("ShadowPos", TShadowPositionType,
                                                                              spLeftTop),
    PropInt<&TCoolScrollingText::ShadowSize, &TCoolScrollingText::SetShadowSize>("ShadowSize", 1),
    TControlProps::ShowHint(),
    PropBool<&TCoolScrollingText::ShowAccelChar, &TCoolScrollingText::SetShowAccelChar>("ShowAccelChar", true),
    PropBool<&TCoolScrollingText::SimpleView, &TCoolScrollingText::SetSimpleView>("SimpleView", false),
    PropObject<&TCoolScrollingText::Strings, &TCoolScrollingText::SetStrings>("Strings"),
    PropBool<&TCoolScrollingText::Transparent, &TCoolScrollingText::SetTransparent>("Transparent", false),
    TControlProps::Visible(),
    PropObject<&TCoolScrollingText::Wallpaper, &TCoolScrollingText::SetWallpaper>("Wallpaper"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDock(),
    TControlProps::OnEndDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDock(),
    TControlProps::OnStartDrag(),
    PropEvent<&TCoolScrollingText::OnTextScrolled>("OnTextScrolled"),
};
ORV_IMPLEMENT_COMPONENT(TCoolScrollingText, TGraphicControl, TCoolScrollingText_Props)

namespace {
struct TCoolScrollingTextUnit {
  TCoolScrollingTextUnit() { RegisterClasses({TCoolScrollingText::StaticClass()}); }
} CoolScrollingTextUnit;
}  // namespace
