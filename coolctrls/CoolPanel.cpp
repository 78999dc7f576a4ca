#include "coolctrls/CoolCtrls.h"

#include "rtl/SysUtils.h"

#include <algorithm>

namespace {
constexpr int ArrowHeight = 16;
// The strips at either side that a scroll leaves where they are.
constexpr int ScrollSideStrip = 17;
}  // namespace

TCoolPanel::TCoolPanel(TComponent* AOwner)
    : TCustomPanel(AOwner),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolPanel::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolPanel::CoolImagesChange>(this)) {
  SetColor(clBtnShadow);
  SetBevelOuter(bvLowered);
  SetWidth(66);
  FUpButton = MakeArrow("BTN_UP", TNotifyEvent::Bind<&TCoolPanel::ScrollUp>(this));
  FDownButton = MakeArrow("BTN_DOWN", TNotifyEvent::Bind<&TCoolPanel::ScrollDown>(this));
  ReorderButtons();
}

TCoolPanel::~TCoolPanel() {
  // The arrows went with the other children.
  FUpButton = FDownButton = nullptr;
  FButtons.clear();
}

TSpeedButton* TCoolPanel::MakeArrow(const char* ResName, TNotifyEvent Click) {
  auto* B = TComponent::Create<TSpeedButton>(this);
  TBitmap Glyph;
  Glyph.LoadFromResourceName(GetModuleHandleA(nullptr), ResName);
  B->SetGlyph(&Glyph);
  B->OnClick = Click;
  B->SetTransparent(false);
  B->SetFlat(true);
  B->SetBounds(1, 0, FButtonWidth, ArrowHeight);
  if (!HasState(csDesigning)) B->SetParent(this);
  return B;
}

void TCoolPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONDESTROYED: CMButtonDestroyed(Message); break;
    case CM_BUTTONMOUSEUP: CMButtonMouseUp(Message); break;
    case CM_PARENTBACKCOLOR: CMParentBackColor(Message); break;
    case CM_MOUSECAPTURECHANGE: CMMouseCaptureChange(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_CONTROLCHANGE: CMControlChange(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolPanel::Loaded() {
  inherited::Loaded();
  // The sizes were only stored while loading.
  ReorderButtons();
}

// ----- properties

void TCoolPanel::SetButtonHeight(int Value) {
  if (FButtonHeight == Value) return;
  FButtonHeight = Value;
  if (HasState(csLoading)) return;
  ReorderButtons();
}

void TCoolPanel::SetButtonWidth(int Value) {
  if (FButtonWidth == Value) return;
  FButtonWidth = Value;
  if (HasState(csLoading)) return;  // the streamed Width holds
  SetWidth(Value + 2);
  ReorderButtons();
}

void TCoolPanel::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return;
  if (!HasState(csLoading | csDestroying)) Invalidate();
}

void TCoolPanel::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  if (!HasState(csLoading)) Invalidate();
}

void TCoolPanel::SetWallpaper(TBitmap* Value) {
  if (Value && Value == FWallpaper.WallpaperIfAny()) return;
  SetTransparent(false);
  FWallpaper.SetWallpaper(Value);
  if (!HasState(csLoading)) Invalidate();
}

void TCoolPanel::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (!HasState(csLoading)) Invalidate();
}

void TCoolPanel::SetTransparencyLevel(uint8_t Value) {
  if (FTransparencyLevel == Value) return;
  FTransparencyLevel = Value;
  if (!HasState(csLoading)) Invalidate();
}

void TCoolPanel::WallpaperChanged(TObject*) {
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TCoolPanel::CoolImagesChange(TObject*) { Invalidate(); }

void TCoolPanel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (AComponent == CoolImages()) SetCoolImages(nullptr);
  if (AComponent == FUpButton) FUpButton = nullptr;
  if (AComponent == FDownButton) FDownButton = nullptr;
}

// ----- the column

TCoolSpeedButton* TCoolPanel::CreateButton() {
  TCoolSpeedButton* B = nullptr;
  try {
    B = TComponent::Create<TCoolSpeedButton>(Owner());
    B->SetBounds(B->Left(), B->Top(), FButtonWidth, FButtonHeight);
    B->SetVisible(true);
    B->SetParent(this);
    AddButton(B);
    return B;
  } catch (...) {
    RemoveButton(B);
    TObject::Free(B);
    return nullptr;
  }
}

TCoolSpeedButton* TCoolPanel::GetButton(int Index) const {
  if (Index < 0 || Index >= GetButtonCount()) throw EListError("List index out of bounds (%d)", {Index});
  return FButtons[size_t(Index)];
}

void TCoolPanel::AddButton(TCoolSpeedButton* Button) {
  if (!Button || std::find(FButtons.begin(), FButtons.end(), Button) != FButtons.end()) return;
  FButtons.push_back(Button);
  ArrowsToFront();
  ReorderButtons();
}

void TCoolPanel::RemoveButton(TControl* Button) {
  auto It = std::find(FButtons.begin(), FButtons.end(), Button);
  if (It == FButtons.end()) return;
  FButtons.erase(It);
  ReorderButtons();
}

void TCoolPanel::ReorderButtons() {
  if (HasState(csDestroying)) return;
  for (size_t I = 0; I < FButtons.size(); ++I)
    FButtons[I]->SetBounds(1, int(I) * FButtonHeight, FButtonWidth, FButtonHeight);
  if (FUpButton) FUpButton->SetBounds(1, 0, FButtonWidth, ArrowHeight);
  if (FDownButton) FDownButton->SetBounds(1, Height() - ArrowHeight, FButtonWidth, ArrowHeight);
  UpdateArrows();
}

void TCoolPanel::UpdateArrows() {
  if (FUpButton) {
    const int Top = FUpButton->Top();
    FUpButton->SetVisible(std::any_of(FButtons.begin(), FButtons.end(), [&](TCoolSpeedButton* B) { return B->Top() < Top; }));
  }
  if (FDownButton) {
    const int Bottom = FDownButton->Top() + ArrowHeight;
    FDownButton->SetVisible(std::any_of(FButtons.begin(), FButtons.end(),
                                        [&](TCoolSpeedButton* B) { return B->Top() + FButtonHeight > Bottom; }));
  }
}

void TCoolPanel::ArrowsToFront() {
  // Graphic children come first in Controls, bottom first: the arrows belong at the end of them.
  int Graphic = 0;
  while (Graphic < ControlCount() && !dynamic_cast<TWinControl*>(Controls(Graphic))) ++Graphic;
  auto OnTop = [&](TControl* Arrow) {
    return !Arrow || Arrow->Parent() != this ||
           (Graphic >= 1 && Controls(Graphic - 1) == Arrow) || (Graphic >= 2 && Controls(Graphic - 2) == Arrow);
  };
  if (OnTop(FUpButton) && OnTop(FDownButton)) return;
  if (FUpButton && FUpButton->Parent() == this) FUpButton->BringToFront();
  if (FDownButton && FDownButton->Parent() == this) FDownButton->BringToFront();
}

void TCoolPanel::ScrollUp(TObject*) {
  TRect R = ClientRect();
  R.Left += ScrollSideStrip;
  R.Right -= ScrollSideStrip;
  ScrollByEx(0, FButtonHeight, R);
  if (OnScrollUp) OnScrollUp(this);
}

void TCoolPanel::ScrollDown(TObject*) {
  TRect R = ClientRect();
  R.Left += ScrollSideStrip;
  R.Right -= ScrollSideStrip;
  ScrollByEx(0, -FButtonHeight, R);
  if (OnScrollDown) OnScrollDown(this);
}

void TCoolPanel::ScrollByEx(int DX, int DY, const TRect& Rect) {
  HWND Wnd = Handle();
  if (IsWindowVisible(Wnd)) {
    RECT R = AsRECT(Rect);
    ScrollWindow(Wnd, DX, DY, &R, nullptr);
  }
  // A scroll of a rectangle leaves child windows where they are: every child is moved here.
  std::vector<TControl*> Children;
  for (int I = 0; I < ControlCount(); ++I) Children.push_back(Controls(I));
  for (TControl* C : Children)
    if (!IsArrow(C)) C->SetBounds(C->Left() + DX, C->Top() + DY, C->Width(), C->Height());
  Realign();
  UpdateArrows();
}

// ----- messages

void TCoolPanel::Resize() {
  inherited::Resize();
  if (!HasState(csDestroying)) ReorderButtons();
}

void TCoolPanel::CMButtonDestroyed(TMessage& Message) {
  if (HasState(csDestroying)) return;  // the list is gone
  RemoveButton(reinterpret_cast<TControl*>(Message.LParam));
}

void TCoolPanel::CMControlChange(TMessage& Message) {
  inherited::Dispatch(Message);
  // A listed button taken off the panel leaves the column too.
  if (Message.LParam == 0 && !HasState(csDestroying)) RemoveButton(reinterpret_cast<TControl*>(Message.WParam));
}

void TCoolPanel::CMButtonMouseUp(TMessage&) {
  if (HasState(csDestroying)) return;
  POINT P;
  if (!GetCursorPos(&P)) return;
  TControl* Under = FindDragTarget(TPoint(P), false);
  for (TCoolSpeedButton* B : std::vector<TCoolSpeedButton*>(FButtons))
    if (B == Under) B->Perform(CM_MOUSEENTER, 0, 0);
}

void TCoolPanel::CMParentBackColor(TMessage& Message) {
  if (HasState(csDestroying)) return;
  TBitmap* W = FWallpaper.WallpaperIfAny();
  if (!W || W->Empty()) Message.Result = intptr_t(Color());
  else Message.Result = intptr_t(W->Canvas()->Pixels(0, W->Height() - 1));
}

void TCoolPanel::CMMouseCaptureChange(TMessage& Message) {
  if (HasState(csDestroying) || Message.WParam != 1) return;
  auto* Entered = reinterpret_cast<TControl*>(Message.LParam);
  for (TCoolSpeedButton* B : std::vector<TCoolSpeedButton*>(FButtons))
    if (B != Entered && B->Hot()) B->Perform(CM_MOUSELEAVE, 0, 0);
}

void TCoolPanel::CMParentColorChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FTransparent) Invalidate();
}

void TCoolPanel::WMEraseBkgnd(TMessage& Message) {
  if (FWallpaper.Erase(this, reinterpret_cast<HDC>(Message.WParam), FTransparent, FTransparencyLevel))
    Message.Result = 1;
  else
    inherited::Dispatch(Message);
  ArrowsToFront();
}

// ----- painting

void TCoolPanel::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  if (FTransparent) {
    PaintBackground(this, C->Handle(), FTransparencyLevel);
  } else if (!FWallpaper.Draw(C->Handle(), R, true, cmSrcCopy)) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(R);
    C->Brush()->SetStyle(bsClear);
  }
  auto Bevel = [&](TBevelCut Cut) {
    if (Cut == bvNone) return;
    const bool Lowered = Cut == bvLowered;
    Frame3D(C, R, Lowered ? clBtnShadow : clBtnHighlight, Lowered ? clBtnHighlight : clBtnShadow, BevelWidth());
  };
  Bevel(BevelOuter());
  Frame3D(C, R, Color(), Color(), BorderWidth());
  Bevel(BevelInner());

  C->SetFont(Font());
  const int H = C->TextHeight("W");
  R.Top = (R.Top + R.Bottom - H) / 2;
  R.Bottom = R.Top + H;
  const AnsiString Text = Caption();
  HDC DC = C->Handle();
  SetBkMode(DC, TRANSPARENT);
  RECT T = AsRECT(R);
  DrawTextA(DC, Text.c_str(), Text.Length(), &T, DrawTextBiDiModeFlags(DT_EXPANDTABS | DT_VCENTER | AlignmentFlags()));
  UpdateArrows();
}

static constinit const TPropInfo TCoolPanel_Props[] = {
    PropObject<&TCoolPanel::About, &TCoolPanel::SetAbout>("About"),
    TControlProps::Align(),
    PropEnum<&TCoolPanel::Alignment, &TCoolPanel::SetAlignment>("Alignment", TAlignmentType, taCenter),
    TControlProps::Anchors(),
    TControlProps::AutoSize(false),
    PropEnum<&TCoolPanel::BevelInner, &TCoolPanel::SetBevelInner>("BevelInner", TBevelCutType, bvNone),
    PropEnum<&TCoolPanel::BevelOuter, &TCoolPanel::SetBevelOuter>("BevelOuter", TBevelCutType, bvLowered),
    PropInt<&TCoolPanel::BevelWidth, &TCoolPanel::SetBevelWidth>("BevelWidth", 1),
    TControlProps::BiDiMode(),
    PropInt<&TCoolPanel::BorderWidth, &TCoolPanel::SetBorderWidth>("BorderWidth", 0),
    PropEnum<&TCoolPanel::BorderStyle, &TCoolPanel::SetBorderStyle>("BorderStyle", TBorderStyleType, bsNone),
    PropInt<&TCoolPanel::ButtonHeight, &TCoolPanel::SetButtonHeight>("ButtonHeight", 64),
    PropInt<&TCoolPanel::ButtonWidth, &TCoolPanel::SetButtonWidth>("ButtonWidth", 64),
    TControlProps::Caption(),
    TControlProps::Color(clBtnShadow),
    TControlProps::Constraints(),
    PropRef<&TCoolPanel::CoolImages, &TCoolPanel::SetCoolImages>("CoolImages"),
    TControlProps::Ctl3D(),
    TControlProps::UseDockManager(),
    TControlProps::DockSite(),
    TControlProps::DragCursor(),
    TControlProps::DragKind(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    PropBool<&TCoolPanel::FullRepaint, &TCoolPanel::SetFullRepaint>("FullRepaint", true),
    TControlProps::Font(),
    PropInt<&TCoolPanel::idWallpaper, &TCoolPanel::SetIdWallpaper>("idWallpaper", -1),
    PropBool<&TCoolPanel::Locked, &TCoolPanel::SetLocked>("Locked", false),
    TControlProps::ParentBiDiMode(),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(false),
    PropBool<&TCoolPanel::Transparent, &TCoolPanel::SetTransparent>("Transparent", false),
    PropInt<&TCoolPanel::TransparencyLevel, &TCoolPanel::SetTransparencyLevel>("TransparencyLevel", 0),
    TControlProps::Visible(),
    PropObject<&TCoolPanel::Wallpaper, &TCoolPanel::SetWallpaper>("Wallpaper"),
    TControlProps::OnCanResize(),
    TControlProps::OnClick(),
    TControlProps::OnConstrainedResize(),
    TControlProps::OnDblClick(),
    TControlProps::OnDockDrop(),
    TControlProps::OnDockOver(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDock(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnGetSiteInfo(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnResize(),
    PropEvent<&TCoolPanel::OnScrollDown>("OnScrollDown"),
    PropEvent<&TCoolPanel::OnScrollUp>("OnScrollUp"),
    TControlProps::OnStartDock(),
    TControlProps::OnStartDrag(),
    TControlProps::OnUnDock(),
};
ORV_IMPLEMENT_COMPONENT(TCoolPanel, TCustomPanel, TCoolPanel_Props)

namespace {
const struct TCoolPanelRegistration {
  TCoolPanelRegistration() { RegisterClass(TCoolPanel::StaticClass()); }
} CoolPanelRegistration;
}  // namespace
