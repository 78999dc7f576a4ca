#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

#include <algorithm>

namespace {
constexpr int BoxSize = 13;
constexpr int BoxMargin = 4;

bool NoShiftKeys(TShiftState Shift) {
  return (Shift & (ShiftOf(ssShift) | ShiftOf(ssAlt) | ShiftOf(ssCtrl))) == 0;
}

// A caption DrawStateA embosses through its callback, so that DrawTextA keeps the reading order.
struct TEmbossedText {
  const AnsiString& Text;
  unsigned Format;
  static BOOL CALLBACK Draw(HDC DC, LPARAM Data, WPARAM, int W, int H) {
    const auto* E = reinterpret_cast<const TEmbossedText*>(Data);
    RECT R{0, 0, W, H};
    DrawTextA(DC, E->Text.c_str(), E->Text.Length(), &R, E->Format);
    return TRUE;
  }
};
}  // namespace

// ---------------------------------------------------------------------------------------------
// TCoolCheckRadioBox

TCoolCheckRadioBox::TCoolCheckRadioBox(TComponent* AOwner)
    : TCustomControl(AOwner),
      FGlyphMarked(new TGlyph()),
      FGlyphNormal(new TGlyph()),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolCheckRadioBox::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolCheckRadioBox::CoolImagesChange>(this)) {
  FGlyphMarked->OnChange = TNotifyEvent::Bind<&TCoolCheckRadioBox::GlyphChanged>(this);
  FGlyphNormal->OnChange = TNotifyEvent::Bind<&TCoolCheckRadioBox::GlyphChanged>(this);
  SetControlStyle(StyleOf(csClickEvents) | StyleOf(csSetCaption) | StyleOf(csReplicatable));
  SetBounds(0, 0, 147, 17);
  TControl::SetAutoSize(false);
}

TCoolCheckRadioBox::~TCoolCheckRadioBox() {
  FGlyphMarked->OnChange = nullptr;
  FGlyphNormal->OnChange = nullptr;
  TObject::Free(FGlyphMarked);
  TObject::Free(FGlyphNormal);
}

void TCoolCheckRadioBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CN_COMMAND: CNCommand(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_MOVE: WMMove(Message); break;
    default: inherited::Dispatch(Message);
  }
}

// ----- properties

void TCoolCheckRadioBox::SetAlignment(TLeftRight Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetBevelInner(TBevelCut Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetBevelsOffset(int Value) {
  if (FBevelsOffset == Value) return;
  FBevelsOffset = Value;
  if (Value != 0) TControl::SetAutoSize(false);
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetChecked(bool Value) {
  // State follows every write, also one that leaves Checked as it is (grayed clicks change
  // State alone), and while loading: a resource may hold Checked alone.
  const TCheckBoxState NewState = Value ? cbChecked : cbUnchecked;
  if (FChecked == Value && FState == NewState) return;
  FChecked = Value;
  FState = NewState;
  if (!Loading()) InvalidateEx();
}

void TCoolCheckRadioBox::SetCheckRadioType(TCheckRadioType Value) {
  if (FCheckRadioType == Value) return;
  FCheckRadioType = Value;
  if (Loading()) return;  // TabStop is streamed on its own
  SetTabStop(Value == crCheckBox);
  Invalidate();
}

void TCoolCheckRadioBox::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return;
  if (!Loading() && !HasState(csDestroying)) Invalidate();
}

void TCoolCheckRadioBox::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetWallpaper(TBitmap* Value) {
  if (Value && Value == FWallpaper.WallpaperIfAny()) return;
  SetTransparent(false);
  FWallpaper.SetWallpaper(Value);
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetGlyphMarked(TBitmap* Value) {
  FGlyphMarked->SetGlyph(Value);
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetGlyphNormal(TBitmap* Value) {
  FGlyphNormal->SetGlyph(Value);
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetNumGlyphsMarked(TNumGlyphs Value) {
  Value = std::min(Value, TNumGlyphs(2));
  if (FGlyphMarked->NumGlyphs() == Value) return;
  FGlyphMarked->SetNumGlyphs(Value);
  if (!Loading()) InvalidateEx();
}

void TCoolCheckRadioBox::SetNumGlyphsNormal(TNumGlyphs Value) {
  Value = std::min(Value, TNumGlyphs(2));
  if (FGlyphNormal->NumGlyphs() == Value) return;
  FGlyphNormal->SetNumGlyphs(Value);
  if (!Loading()) InvalidateEx();
}

void TCoolCheckRadioBox::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  if (!Loading()) InvalidateEx();
}

void TCoolCheckRadioBox::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  if (!Loading()) InvalidateEx();
}

// The shadow setters switch the plain caption off, except while loading: a resource's
// SimpleView must win whatever order it is read in.
void TCoolCheckRadioBox::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  if (Loading()) return;
  FSimpleView = false;
  Invalidate();
}

void TCoolCheckRadioBox::SetShadowSize(uint8_t Value) {
  if (FShadowSize == Value) return;
  FShadowSize = Value;
  if (Loading()) return;
  FSimpleView = false;
  Invalidate();
}

void TCoolCheckRadioBox::SetShadowPos(TShadowPosition Value) {
  if (FShadowPos == Value) return;
  FShadowPos = Value;
  if (Loading()) return;
  FSimpleView = false;
  Invalidate();
}

void TCoolCheckRadioBox::SetSimpleView(bool Value) {
  if (FSimpleView == Value) return;
  FSimpleView = Value;
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetTransparencyLevel(uint8_t Value) {
  if (FTransparencyLevel == Value) return;
  FTransparencyLevel = Value;
  if (!Loading()) Invalidate();
}

void TCoolCheckRadioBox::SetPressed(bool Value) {
  FPressed = Value;
  InvalidateEx();
}

bool TCoolCheckRadioBox::CheckedStored(const TObject* Obj) {
  auto* Box = static_cast<const TCoolCheckRadioBox*>(Obj);
  auto* Link = dynamic_cast<TCoolCheckRadioBoxActionLink*>(Box->ActionLink());
  return !Link || !Link->IsCheckedLinked();
}

// ----- change notifications

void TCoolCheckRadioBox::WallpaperChanged(TObject*) {
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TCoolCheckRadioBox::CoolImagesChange(TObject*) { Invalidate(); }

void TCoolCheckRadioBox::GlyphChanged(TObject*) { InvalidateEx(); }

void TCoolCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

// ----- geometry

int TCoolCheckRadioBox::GetImageHeight() const {
  if (!FOwnerDraw) return BoxSize;
  return (FChecked ? FGlyphMarked : FGlyphNormal)->Glyph()->Height();
}

TRect TCoolCheckRadioBox::BoxRect() const {
  const int Size = GetImageHeight();
  TRect R;
  R.Top = ClientHeight() / 2 - Size / 2;
  R.Bottom = R.Top + Size;
  if (DrawnAlignment() == taLeftJustify) {
    R.Left = ClientWidth() - Size - BoxMargin;
    R.Right = ClientWidth() - BoxMargin;
  } else {
    R.Left = BoxMargin;
    R.Right = BoxMargin + Size;
  }
  return R;
}

TLeftRight TCoolCheckRadioBox::DrawnAlignment() const {
  TAlignment A = FAlignment;
  if (UseRightToLeftAlignment()) ChangeBiDiModeAlignment(A);
  return A;
}

void TCoolCheckRadioBox::InvalidateEx() {
  if (!HandleAllocated() || HasState(csDestroying)) return;
  const TRect R = BoxRect();
  InvalidateRectEx(WindowHandle(), R, true);
}

void TCoolCheckRadioBox::AdjustSize() { SetBounds(Left(), Top(), Width(), Height()); }

// ----- behaviour

void TCoolCheckRadioBox::Toggle() {
  if (FCheckRadioType == crRadioBox) {
    InvalidateEx();
  } else if (FAllowGrayed) {
    switch (FState) {
      case cbUnchecked: SetState(cbChecked); break;
      case cbChecked: SetState(cbGrayed); break;
      case cbGrayed: SetState(cbUnchecked); break;
    }
  } else {
    SetChecked(!FChecked);
  }
}

void TCoolCheckRadioBox::Click() {
  Toggle();
  inherited::Click();
}

void TCoolCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus()) SetFocus();
    SetPressed(true);
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TCoolCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FPressed) SetPressed(false);
  inherited::MouseUp(Button, Shift, X, Y);
}

void TCoolCheckRadioBox::KeyDown(unsigned short& Key, TShiftState Shift) {
  if (Key == VK_SPACE && NoShiftKeys(Shift)) SetPressed(true);
  inherited::KeyDown(Key, Shift);
}

void TCoolCheckRadioBox::KeyUp(unsigned short& Key, TShiftState Shift) {
  if (Key == VK_SPACE && NoShiftKeys(Shift) && FPressed) {
    SetPressed(false);
    Click();
  }
  inherited::KeyUp(Key, Shift);
}

void TCoolCheckRadioBox::DoEnter() {
  inherited::DoEnter();
  Repaint();
}

void TCoolCheckRadioBox::DoExit() {
  inherited::DoExit();
  SetPressed(false);
  Repaint();
}

// ----- messages

void TCoolCheckRadioBox::CMTextChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TCoolCheckRadioBox::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.LParam != 0) return;  // a child's notification passing through
  if (Focused() && GetKeyState(VK_LBUTTON) < 0) SetPressed(true);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TCoolCheckRadioBox::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.LParam != 0) return;
  if (Focused() && GetKeyState(VK_LBUTTON) < 0) SetPressed(false);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TCoolCheckRadioBox::CMDialogChar(TMessage& Message) {
  if (IsAccel((unsigned short)Message.WParam, Caption()) && Enabled() && CanFocus()) {
    SetFocus();
    Click();
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TCoolCheckRadioBox::CMFocusChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  auto* Focus = dynamic_cast<TCoolCheckRadioBox*>(reinterpret_cast<TObject*>(Message.LParam));
  if (!Focus || Focus->FCheckRadioType != crRadioBox || FCheckRadioType != crRadioBox) return;
  if (Focus->Parent() != Parent() || Focus->FGroupIndex != FGroupIndex) return;
  SetChecked(Focus == this);
  SetTabStop(Focus == this);
  Click();
}

void TCoolCheckRadioBox::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TCoolCheckRadioBox::CMParentColorChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TCoolCheckRadioBox::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == BN_CLICKED) Click();
}

void TCoolCheckRadioBox::WMEraseBkgnd(TMessage& Message) {
  if (FWallpaper.Erase(this, reinterpret_cast<HDC>(Message.WParam), FTransparent, FTransparencyLevel))
    Message.Result = 1;
  else
    inherited::Dispatch(Message);
}

void TCoolCheckRadioBox::WMMove(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

// ----- painting

void TCoolCheckRadioBox::Paint() {
  TCanvas* C = Canvas();
  C->SetFont(Font());
  const TRect Box = BoxRect();
  HDC DC = C->Handle();

  if (!FOwnerDraw) {
    UINT Flags = FCheckRadioType == crRadioBox ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (FState == cbChecked) Flags |= DFCS_CHECKED;
    else if (FState == cbGrayed) Flags |= DFCS_CHECKED | DFCS_INACTIVE;
    if (FPressed) Flags |= DFCS_PUSHED;
    if (FFlat) Flags |= DFCS_FLAT;
    if (!Enabled()) Flags |= DFCS_INACTIVE;
    RECT R = AsRECT(Box);
    DrawFrameControl(DC, &R, DFC_BUTTON, Flags);
  } else {
    TGlyph* G = (FChecked || FState == cbChecked) ? FGlyphMarked : FGlyphNormal;
    G->DrawImage(C, Box.TopLeft(), Enabled(), true, clNone);
    DC = C->Handle();
  }

  // The caption beside the box.
  const AnsiString Text = Caption();
  const bool HasAmp = Text.Pos("&") > 0;
  const int TH = C->TextHeight(Text);
  const int TW = C->TextWidth(Text);
  const int AmpW = HasAmp ? C->TextWidth("&") : 0;
  TRect TR;
  TR.Top = ClientHeight() / 2 - TH / 2;
  TR.Bottom = TR.Top + TH;
  unsigned Format = DT_SINGLELINE | DT_NOCLIP | DrawTextBiDiModeFlagsReadingOnly();
  if (DrawnAlignment() == taLeftJustify) {
    TR.Right = Box.Left - BoxMargin;
    TR.Left = TR.Right - TW + AmpW;
    Format |= DT_RIGHT;
  } else {
    TR.Left = Box.Right + BoxMargin;
    TR.Right = TR.Left + TW - AmpW;
    Format |= DT_LEFT;
  }
  DC = C->Handle();
  SetBkMode(DC, TRANSPARENT);
  const COLORREF FontRGB = COLORREF(ColorToRGB(Font()->Color()));
  if (!Enabled()) {
    SetTextColor(DC, FontRGB);
    if (UseRightToLeftReading()) {
      // Embossed as DST_PREFIXTEXT does, the text drawn in right-to-left reading order.
      TEmbossedText E{Text, Format};
      DrawStateA(DC, nullptr, &TEmbossedText::Draw, reinterpret_cast<LPARAM>(&E), 0, TR.Left, TR.Top,
                 TR.Width(), TR.Height(), DST_COMPLEX | DSS_DISABLED);
    } else {
      DrawStateA(DC, nullptr, nullptr, reinterpret_cast<LPARAM>(Text.c_str()), WPARAM(Text.Length()), TR.Left,
                 TR.Top, 0, 0, DST_PREFIXTEXT | DSS_DISABLED);
    }
  } else if (FSimpleView) {
    SetTextColor(DC, FontRGB);
    RECT R = AsRECT(TR);
    DrawTextA(DC, Text.c_str(), Text.Length(), &R, Format);
  } else {
    Draw3DText(DC, TR, FShadowPos, Text, Format, Font()->Color(), FShadowColor, FShadowSize);
  }

  if (!Text.IsEmpty() && !HasState(csDesigning) && Focused()) {
    TRect F = TR;
    InflateRect(&AsRECT(F), FShadowSize + 1, FShadowSize);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    SetTextColor(C->Handle(), FontRGB);
    C->DrawFocusRect(F);
  }

  auto Inner = [](TBevelCut B) -> UINT { return B == bvLowered ? BDR_SUNKENINNER : B == bvRaised ? BDR_RAISEDINNER : 0; };
  auto Outer = [](TBevelCut B) -> UINT { return B == bvLowered ? BDR_SUNKENOUTER : B == bvRaised ? BDR_RAISEDOUTER : 0; };
  const UINT Edge = Inner(FBevelInner) | Outer(FBevelOuter);
  if (Edge) {
    RECT R = AsRECT(ClientRect());
    DrawEdge(C->Handle(), &R, Edge, BF_RECT);
  }
}

// ----- actions

TControlActionLink* TCoolCheckRadioBox::CreateActionLink() { return New<TCoolCheckRadioBoxActionLink>(); }

void TCoolCheckRadioBox::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  if (auto* A = dynamic_cast<TCustomAction*>(Sender))
    if (!CheckDefaults || !FChecked) SetChecked(A->Checked());
}

void TCoolCheckRadioBox::AssignTo(TPersistent* Dest) {
  inherited::AssignTo(Dest);
  if (auto* A = dynamic_cast<TCustomAction*>(Dest)) A->SetChecked(FChecked);
}

// ----- published properties

static constinit const TPropInfo TCoolCheckRadioBox_Props[] = {
    PropObject<&TCoolCheckRadioBox::About, &TCoolCheckRadioBox::SetAbout>("About"),
    PropRef<&TControl::Action, &TControl::SetAction>("Action"),
    PropEnum<&TCoolCheckRadioBox::Alignment, &TCoolCheckRadioBox::SetAlignment>("Alignment", TLeftRightType,
                                                                              taRightJustify),
    PropBool<&TCoolCheckRadioBox::AllowGrayed, &TCoolCheckRadioBox::SetAllowGrayed>("AllowGrayed", false),
    TControlProps::Anchors(),
    PropEnum<&TCoolCheckRadioBox::BevelInner, &TCoolCheckRadioBox::SetBevelInner>("BevelInner", TBevelCutType, bvNone),
    PropEnum<&TCoolCheckRadioBox::BevelOuter, &TCoolCheckRadioBox::SetBevelOuter>("BevelOuter", TBevelCutType, bvNone),
    PropInt<&TCoolCheckRadioBox::BevelsOffset, &TCoolCheckRadioBox::SetBevelsOffset>("BevelsOffset", 0),
    TControlProps::Caption(),
    PropBool<&TCoolCheckRadioBox::Checked, &TCoolCheckRadioBox::SetChecked>("Checked", false,
                                                                          &TCoolCheckRadioBox::CheckedStored),
    PropEnum<&TCoolCheckRadioBox::CheckRadioType, &TCoolCheckRadioBox::SetCheckRadioType>(
        "CheckRadioType", TCheckRadioTypeType, crCheckBox),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    PropRef<&TCoolCheckRadioBox::CoolImages, &TCoolCheckRadioBox::SetCoolImages>("CoolImages"),
    TControlProps::Ctl3D(),
    TControlProps::UseDockManager(),
    TControlProps::DockSite(),
    TControlProps::DragCursor(),
    TControlProps::DragKind(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    PropBool<&TCoolCheckRadioBox::Flat, &TCoolCheckRadioBox::SetFlat>("Flat", false),
    TControlProps::Font(),
    PropObject<&TCoolCheckRadioBox::GlyphMarked, &TCoolCheckRadioBox::SetGlyphMarked>("GlyphMarked"),
    PropObject<&TCoolCheckRadioBox::GlyphNormal, &TCoolCheckRadioBox::SetGlyphNormal>("GlyphNormal"),
    PropInt<&TCoolCheckRadioBox::GroupIndex, &TCoolCheckRadioBox::SetGroupIndex>("GroupIndex", 0),
    PropInt<&TCoolCheckRadioBox::idWallpaper, &TCoolCheckRadioBox::SetIdWallpaper>("idWallpaper", -1),
    PropInt<&TCoolCheckRadioBox::NumGlyphsMarked, &TCoolCheckRadioBox::SetNumGlyphsMarked>("NumGlyphsMarked", 1),
    PropInt<&TCoolCheckRadioBox::NumGlyphsNormal, &TCoolCheckRadioBox::SetNumGlyphsNormal>("NumGlyphsNormal", 1),
    PropBool<&TCoolCheckRadioBox::OwnerDraw, &TCoolCheckRadioBox::SetOwnerDraw>("OwnerDraw", false),
    TControlProps::ParentColor(true),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::BiDiMode(),
    TControlProps::ParentBiDiMode(),
    TControlProps::ParentShowHint(),
    PropColor<&TCoolCheckRadioBox::ShadowColor, &TCoolCheckRadioBox::SetShadowColor>("ShadowColor", clBtnHighlight),
    PropEnum<&TCoolCheckRadioBox::ShadowPos, &TCoolCheckRadioBox::SetShadowPos>("ShadowPos", TShadowPositionType,
                                                                              spLeftTop),
    PropInt<&TCoolCheckRadioBox::ShadowSize, &TCoolCheckRadioBox::SetShadowSize>("ShadowSize", 1),
    TControlProps::ShowHint(),
    PropBool<&TCoolCheckRadioBox::SimpleView, &TCoolCheckRadioBox::SetSimpleView>("SimpleView", false),
    PropEnum<&TCoolCheckRadioBox::State, &TCoolCheckRadioBox::SetState>("State", TCheckBoxStateType, cbUnchecked),
    TControlProps::TabOrder(),
    TControlProps::TabStop(false),
    PropBool<&TCoolCheckRadioBox::Transparent, &TCoolCheckRadioBox::SetTransparent>("Transparent", false),
    PropInt<&TCoolCheckRadioBox::TransparencyLevel, &TCoolCheckRadioBox::SetTransparencyLevel>("TransparencyLevel", 0),
    TControlProps::Visible(),
    PropObject<&TCoolCheckRadioBox::Wallpaper, &TCoolCheckRadioBox::SetWallpaper>("Wallpaper"),
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
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    PropEvent<&TCoolCheckRadioBox::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TCoolCheckRadioBox::OnMouseLeave>("OnMouseLeave"),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnResize(),
    TControlProps::OnStartDock(),
    TControlProps::OnStartDrag(),
    TControlProps::OnUnDock(),
};
ORV_IMPLEMENT_COMPONENT(TCoolCheckRadioBox, TCustomControl, TCoolCheckRadioBox_Props)

// ---------------------------------------------------------------------------------------------
// TCoolCheckRadioBoxActionLink

void TCoolCheckRadioBoxActionLink::AssignClient(TObject* AClient) {
  auto* Box = dynamic_cast<TCoolCheckRadioBox*>(AClient);
  if (!Box) throw EInvalidCast("Invalid class typecast");
  TControlActionLink::AssignClient(AClient);
  FClient = Box;
}

bool TCoolCheckRadioBoxActionLink::IsCheckedLinked() {
  auto* A = CustomAction();
  return TControlActionLink::IsCheckedLinked() && FClient && A->Checked() == FClient->Checked();
}

void TCoolCheckRadioBoxActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetChecked(Value);
}

ORV_IMPLEMENT_CLASS(TCoolCheckRadioBoxActionLink, TControlActionLink)
