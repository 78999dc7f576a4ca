// The cool edit, the edit with a button, and the part they share with the cool memo.
#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TCoolEditControl

template <class TBase>
TCoolEditControl<TBase>::TCoolEditControl(TComponent* AOwner, TCoolOptions DefaultOptions)
    : TBase(AOwner),
      FBorderPen(new TPen()),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolEditControl::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolEditControl::Redraw>(this)),
      FOptions(DefaultOptions) {
  FBorderPen->OnChange = TNotifyEvent::Bind<&TCoolEditControl::Redraw>(this);
}

template <class TBase> TCoolEditControl<TBase>::~TCoolEditControl() { TObject::Free(FBorderPen); }

template <class TBase> void TCoolEditControl<TBase>::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: CNCtlColor(Message); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: WMFocus(Message); break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: CMMouse(Message); break;
    case CM_PARENTCOLORCHANGED:
      TBase::Dispatch(Message);
      if (SeeThrough()) this->Invalidate();
      break;
    case WM_MOVE:
      TBase::Dispatch(Message);
      this->Invalidate();  // what lies behind moved
      break;
    default: TBase::Dispatch(Message);
  }
}

// ----- properties

template <class TBase> void TCoolEditControl<TBase>::Redraw(TObject*) {
  if (!this->HasState(csLoading) && !this->HasState(csDestroying)) this->Invalidate();
}

template <class TBase> void TCoolEditControl<TBase>::WallpaperChanged(TObject* Sender) {
  Redraw(Sender);
  if (!this->HasState(csDestroying)) this->Perform(CM_COLORCHANGED, 0, 0);
}

template <class TBase> void TCoolEditControl<TBase>::SetCoolImages(TCoolImages* Value) {
  if (FWallpaper.SetCoolImages(Value)) Redraw(this);
}

template <class TBase> void TCoolEditControl<TBase>::SetEdgeBorders(TEdgeBorders Value) {
  if (FEdgeBorders == Value) return;
  FEdgeBorders = Value;
  Redraw(this);
}

template <class TBase> void TCoolEditControl<TBase>::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  Redraw(this);
}

template <class TBase> void TCoolEditControl<TBase>::SetWallpaper(TBitmap* Value) {
  FWallpaper.SetWallpaper(Value);
  Redraw(this);
}

template <class TBase> void TCoolEditControl<TBase>::SetOptions(TCoolOptions Value) {
  if (FOptions == Value) return;
  FOptions = ExcludeWallpaperOrSeeThrough(FOptions, Value);
  if (this->HasState(csLoading)) return;
  this->RecreateWnd();
  this->Perform(CM_COLORCHANGED, 0, 0);
}

template <class TBase> void TCoolEditControl<TBase>::SetTextAlign(TAlignment Value) {
  if (FTextAlign == Value) return;
  FTextAlign = Value;
  if (!this->HasState(csLoading)) this->RecreateWnd();
}

template <class TBase> void TCoolEditControl<TBase>::SetTransparencyLevel(uint8_t Value) {
  if (FTransparencyLevel == Value) return;
  FTransparencyLevel = Value;
  Redraw(this);
}

template <class TBase> DWORD TCoolEditControl<TBase>::AlignStyle() const {
  static constexpr DWORD Aligns[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  TAlignment A = FTextAlign;
  if (this->UseRightToLeftAlignment()) ChangeBiDiModeAlignment(A);
  return Aligns[A];
}

template <class TBase>
void TCoolEditControl<TBase>::Notification(TComponent* AComponent, TOperation Operation) {
  TBase::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

// ----- background and painting

template <class TBase> void TCoolEditControl<TBase>::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (SeeThrough()) {
    PaintBackground(this, DC, FTransparencyLevel);
    Message.Result = 1;
  } else if ((FOptions & CoolOption(ocPaintWallpaper)) &&
             FWallpaper.Draw(DC, this->ClientRect(), FOptions & CoolOption(ocTileWallpaper), cmSrcCopy)) {
    Message.Result = 1;
  } else {
    TBase::Dispatch(Message);
  }
}

template <class TBase> void TCoolEditControl<TBase>::CNCtlColor(TMessage& Message) {
  TBase::Dispatch(Message);
  if (!WallpaperMode() && !SeeThrough()) return;
  SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
  // The system edit fills its background with the brush it gets: the erased one stays.
  Message.Result = reinterpret_cast<intptr_t>(GetStockObject(NULL_BRUSH));
}

template <class TBase> void TCoolEditControl<TBase>::WMPaint(TMessage& Message) {
  TBase::Dispatch(Message);
  if ((WallpaperMode() || SeeThrough()) && !FPainting) DoPaint();
  if (FOptions & CoolOption(ocFlatBorder)) DrawFlatBorder(nullptr, this, this->Focused());
}

void PaintEditOffScreen(TWinControl* Edit, bool Flat, bool Edges, TEdgeBorders EdgeBorders, TPen* Pen, bool& Painting) {
  if (!Edit->HandleAllocated() || Painting) return;
  Painting = true;
  struct TDone {
    bool& F;
    ~TDone() { F = false; }
  } Done{Painting};
  const HWND Wnd = Edit->WindowHandle();
  RECT W{};
  GetWindowRect(Wnd, &W);
  POINT Client{0, 0};
  ::ClientToScreen(Wnd, &Client);
  const TRect R = Edit->ClientRect();
  TWindowDC DC(Wnd);
  TMemoryDC Mem(DC);
  TBitmapOwner Image(CreateCompatibleBitmap(DC, std::max<int>(W.right - W.left, 1), std::max<int>(W.bottom - W.top, 1)));
  if (!DC.Get() || !Mem.Get() || !Image) throw EOutOfResources("Out of system resources");
  TSelectGuard Sel(Mem, Image);
  // The whole window with its frame, so the flat border and edge lines fall where they do on it.
  Edit->PaintTo(Mem, 0, 0);
  if (Flat) DrawFlatBorder(Mem, Edit, true);
  if (Edges) DrawBorders(Mem, Edit, EdgeBorders, Pen);
  const bool Caret = HideCaret(Wnd);
  BitBlt(DC, 0, 0, R.Right, R.Bottom, Mem, Client.x - W.left, Client.y - W.top, SRCCOPY);
  if (Caret) ShowCaret(Wnd);
}

template <class TBase> void TCoolEditControl<TBase>::DoPaint() {
  if (!(WallpaperMode() || SeeThrough())) return;
  PaintEditOffScreen(this, FOptions & CoolOption(ocFlatBorder), this->BorderStyle() == bsNone, FEdgeBorders,
                     FBorderPen, FPainting);
}

template <class TBase> void TCoolEditControl<TBase>::Change() {
  DoPaint();  // text drawn without a background of its own leaves no trace
  if constexpr (Memo)
    if (FOptions & CoolOption(ocFlatBorder)) DrawFlatBorder(nullptr, this, this->Focused());
  TBase::Change();
}

// ----- focus and the mouse

template <class TBase> void TCoolEditControl<TBase>::WMFocus(TMessage& Message) {
  TBase::Dispatch(Message);
  const bool Set = Message.Msg == WM_SETFOCUS;
  if constexpr (!Memo)
    if (Set && this->AutoSelect() && !(this->ControlState() & StateOf(csLButtonDown))) this->SelectAll();
  if ((FOptions & CoolOption(ocFlatBorder)) && this->HandleAllocated()) DrawFlatBorder(nullptr, this, Set);
}

template <class TBase> void TCoolEditControl<TBase>::CMMouse(TMessage& Message) {
  TBase::Dispatch(Message);
  // The memo shows its border under the mouse whatever has the focus.
  CoolMouseEnterLeave(this, Message, FOptions & CoolOption(ocFlatBorder), Memo, OnMouseEnter, OnMouseLeave);
}

template class TCoolEditControl<TCustomEdit>;
template class TCoolEditControl<TCustomMemo>;

// ---------------------------------------------------------------------------------------------
// TCoolEdit

void (*TCoolEdit::Beep)(unsigned) = [](unsigned Type) { MessageBeep(Type); };

TCoolEdit::TCoolEdit(TComponent* AOwner) : TCoolEditControl(AOwner, 0) {}

void TCoolEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD(ES_LEFT | ES_RIGHT | ES_CENTER)) | ES_MULTILINE | AlignStyle();
}

void TCoolEdit::KeyDown(unsigned short& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  FCtrlEnterDown = Key == VK_RETURN && Shift == ShiftOf(ssCtrl);
}

void TCoolEdit::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  // Enter and Ctrl+Enter (its line feed too) would break the one line.
  if (Key == '\r' || Key == '\n' || FCtrlEnterDown) {
    Key = 0;
    Beep(0);
  }
}

static constinit const TPropInfo TCoolEdit_Props[] = {
    ORV_COOL_EDIT_PROPS(TCoolEdit),
    TControlProps::Anchors(),
    PropBool<&TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect>("AutoSelect", true),
    TControlProps::AutoSize(true),
    PropEnum<&TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle>("BorderStyle", TBorderStyleType, bsSingle),
    PropEnum<&TCustomEdit::CharCase, &TCustomEdit::SetCharCase>("CharCase", TEditCharCaseType, ecNormal),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragKind(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropBool<&TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection>("HideSelection", true),
    TControlProps::ImeMode(),
    TControlProps::ImeName(),
    PropInt<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>("MaxLength", 0),
    PropBool<&TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert>("OEMConvert", false),
    PropSet<&TCoolEdit::Options, &TCoolEdit::SetOptions>("Options", TCoolOptionType, 0),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::BiDiMode(),
    TControlProps::ParentBiDiMode(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    PropBool<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>("ReadOnly", false),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Text(),
    TControlProps::Visible(),
    ORV_COOL_EDIT_EVENTS,
};
ORV_IMPLEMENT_COMPONENT(TCoolEdit, TCustomEdit, TCoolEdit_Props)

// ---------------------------------------------------------------------------------------------
// TCoolEditBtn

TCoolEditBtn::TCoolEditBtn(TComponent* AOwner) : TCoolEdit(AOwner) {
  FButton = TComponent::Create<TSpeedButton>(this);
  FButton->SetBounds(0, 0, Height(), Height());
  FButton->SetCursor(crArrow);
  FButton->OnClick = TNotifyEvent::Bind<&TCoolEditBtn::BtnClick>(this);
  FButton->SetParent(this);
}

void TCoolEditBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: WMSize(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolEditBtn::SetBtnCaption(const TCaption& Value) {
  if (FButton->Caption() != Value) FButton->SetCaption(Value);
}

void TCoolEditBtn::SetNumGlyphs(TNumGlyphs Value) {
  if (FButton->NumGlyphs() != Value) FButton->SetNumGlyphs(Value);
}

void TCoolEditBtn::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TCoolEditBtn::CreateWnd() {
  inherited::CreateWnd();
  PlaceButton();
  SetEditRect();
}

void TCoolEditBtn::SetEditRect() {
  if (!HandleAllocated()) return;
  TRect R = ClientRect();
  const int Button = FButton->Width() + 2;
  R.Left += UseRightToLeftAlignment() ? Button : 2;
  R.Right -= UseRightToLeftAlignment() ? 2 : Button;
  SendMessageA(WindowHandle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&AsRECT(R)));
}

int TCoolEditBtn::GetMinHeight() {
  TWindowDC DC(nullptr);
  TEXTMETRICA System{}, Own{};
  GetTextMetricsA(DC, &System);
  {
    TSelectGuard Sel(DC, Font()->Handle());
    GetTextMetricsA(DC, &Own);
  }
  const int I = std::min(System.tmHeight, Own.tmHeight);
  return Own.tmHeight + I / 4 + 4 * GetSystemMetrics(SM_CYBORDER) + 2;
}

void TCoolEditBtn::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  const int Min = GetMinHeight();
  if (Height() < Min) {
    SetHeight(Min);  // the resize comes back here
    return;
  }
  PlaceButton();
  SetEditRect();
}

void TCoolEditBtn::PlaceButton() {
  const int W = FButton->Width();
  const bool Left = UseRightToLeftAlignment();
  if (NewStyleControls) FButton->SetBounds(Left ? 0 : Width() - W - 4, 0, W, Height() - 4);
  else FButton->SetBounds(Left ? 0 : Width() - W, 1, W, Height() - 3);
}

void TCoolEditBtn::BtnClick(TObject*) {
  if (OnBtnClick) OnBtnClick(this);
}

void TCoolEditBtn::KeyDown(unsigned short& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (CtrlEnterDown()) BtnClick(this);
}

void TCoolEditBtn::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  auto* A = dynamic_cast<TCustomAction*>(Sender);
  if (!A || !Glyph()->Empty() || !A->ActionList()) return;
  TCustomImageList* Images = A->ActionList()->Images();
  if (!Images || A->ImageIndex() < 0 || A->ImageIndex() >= Images->ImageCount()) return;
  TBitmap Image;
  Image.SetSize(Images->Width(), Images->Height());
  Image.Canvas()->Brush()->SetColor(clFuchsia);
  Image.Canvas()->FillRect(Rect(0, 0, Images->Width(), Images->Height()));
  Images->Draw(Image.Canvas(), 0, 0, A->ImageIndex());
  SetGlyph(&Image);
}

static constinit const TPropInfo TCoolEditBtn_Props[] = {
    ActionProp(),
    PropStr<&TCoolEditBtn::BtnCaption, &TCoolEditBtn::SetBtnCaption>("BtnCaption"),
    PropObject<&TCoolEditBtn::Glyph, &TCoolEditBtn::SetGlyph>("Glyph"),
    PropInt<&TCoolEditBtn::NumGlyphs, &TCoolEditBtn::SetNumGlyphs>("NumGlyphs", 1),
    PropEvent<&TCoolEditBtn::OnBtnClick>("OnBtnClick"),
};
ORV_IMPLEMENT_COMPONENT(TCoolEditBtn, TCoolEdit, TCoolEditBtn_Props)
