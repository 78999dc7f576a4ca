#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

#include <algorithm>

constexpr TEnumType TBtnPaintOptionType{"TBtnPaintOption", {"bpoDrawFocus", "bpoDrawDefault"}};

// ---------------------------------------------------------------------------------------------
// TCoolBtn

TCoolBtn::TCoolBtn(TComponent* AOwner)
    : TButton(AOwner),
      FCanvas(New<TCanvas>()),
      FGlyph(new TGlyph()),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolBtn::Changed>(this), TNotifyEvent::Bind<&TCoolBtn::Changed>(this)),
      FImageLink(New<TChangeLink>()),
      FTimer(TComponent::Create<TTimer>(nullptr)) {
  FGlyph->OnChange = TNotifyEvent::Bind<&TCoolBtn::Changed>(this);
  FImageLink->OnChange = TNotifyEvent::Bind<&TCoolBtn::Changed>(this);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(FInterval);
  FTimer->OnTimer = TNotifyEvent::Bind<&TCoolBtn::UpdateTimer>(this);
  IncludeStyle(csReflector);
  SetColor(clBtnFace);
}

TCoolBtn::~TCoolBtn() {
  TObject::Free(FImageLink);
  TObject::Free(FTimer);
  FGlyph->OnChange = nullptr;
  TObject::Free(FGlyph);
  TObject::Free(FCanvas);
}

void TCoolBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolBtn::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TCoolBtn::SetButtonStyle(bool ADefault) {
  // The default look is painted here: the system's BM_SETSTYLE would drop BS_OWNERDRAW.
  if (ADefault == FDefaultLook) return;
  FDefaultLook = ADefault;
  if (HandleAllocated()) Invalidate();
}

// ----- properties

void TCoolBtn::SetAnimated(bool Value) {
  if (FAnimated == Value) return;
  FAnimated = Value;
  FTimer->SetEnabled(Value);
  Changed(this);
}

void TCoolBtn::SetInterval(unsigned Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  FTimer->SetInterval(Value);
}

void TCoolBtn::SetBtnPaintOptions(TBtnPaintOptions Value) {
  if (FBtnPaintOptions == Value) return;
  FBtnPaintOptions = Value;
  Changed(this);
}

void TCoolBtn::GradientChanged() {
  if (FOptions & CoolOption(ocPaintGradiently)) Changed(this);
}

void TCoolBtn::SetColorStart(TColor Value) {
  if (FColorStart == Value) return;
  FColorStart = Value;
  GradientChanged();
}

void TCoolBtn::SetColorEnd(TColor Value) {
  if (FColorEnd == Value) return;
  FColorEnd = Value;
  GradientChanged();
}

void TCoolBtn::SetGradientDirection(TGradientDirection Value) {
  if (FGradientDirection == Value) return;
  FGradientDirection = Value;
  GradientChanged();
}

void TCoolBtn::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return;
  if (!HasState(csDestroying)) Changed(this);
}

void TCoolBtn::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  Changed(this);
}

void TCoolBtn::SetWallpaper(TBitmap* Value) {
  if (Value && Value == FWallpaper.WallpaperIfAny()) return;
  FWallpaper.SetWallpaper(Value);
  Changed(this);
}

void TCoolBtn::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::min(Value, TNumGlyphs(2));
  if (FGlyph->NumGlyphs() == Value) return;
  FGlyph->SetNumGlyphs(Value);
  Changed(this);
}

void TCoolBtn::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->UnRegisterChanges(FImageLink);
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageLink);
    FImages->FreeNotification(this);
  }
  Changed(this);
}

void TCoolBtn::SetOptions(TCoolOptions Value) {
  if (FOptions == Value) return;
  FOptions = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) RecreateWnd();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TCoolBtn::SetTransparencyLevel(uint8_t Value) {
  if (FTransparencyLevel == Value) return;
  FTransparencyLevel = Value;
  Changed(this);
}

void TCoolBtn::SetNoFrame(bool Value) {
  if (FNoFrame == Value) return;
  FNoFrame = Value;
  Invalidate();
}

void TCoolBtn::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (AComponent == FImages) {
    FImages = nullptr;
    Changed(this);
  }
  if (AComponent == CoolImages()) SetCoolImages(nullptr);
}

void TCoolBtn::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  auto* A = dynamic_cast<TCustomAction*>(Sender);
  if (!A || !FGlyph->Glyph()->Empty() || !A->ActionList()) return;
  TCustomImageList* List = A->ActionList()->Images();
  if (!List || A->ImageIndex() < 0 || A->ImageIndex() >= List->ImageCount()) return;
  TBitmap* G = FGlyph->Glyph();
  G->SetSize(List->Width(), List->Height());
  G->Canvas()->Brush()->SetColor(clFuchsia);
  G->Canvas()->FillRect(Rect(0, 0, G->Width(), G->Height()));
  List->Draw(G->Canvas(), 0, 0, A->ImageIndex());
}

// ----- messages

void TCoolBtn::CNMeasureItem(TMessage& Message) {
  auto* Mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  Mis->itemWidth = UINT(Width());
  Mis->itemHeight = UINT(Height());
  Message.Result = 1;
}

void TCoolBtn::CNDrawItem(TMessage& Message) {
  DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
  Message.Result = 1;
}

void TCoolBtn::CMParentColorChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FOptions & (CoolOption(ocPaintTransparently) | CoolOption(ocRoundedForm))) Invalidate();
}

void TCoolBtn::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.LParam != 0) return;  // a child's notification passing through
  FHot = true;
  if (FOptions & CoolOption(ocFlatBorder)) Invalidate();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TCoolBtn::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.LParam != 0) return;
  FHot = false;
  if (FOptions & CoolOption(ocFlatBorder)) Invalidate();
  if (OnMouseLeave) OnMouseLeave(this);
}

void TCoolBtn::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  const TRect R = ClientRect();
  if (FOptions & CoolOption(ocPaintTransparently)) {
    PaintBackground(this, DC, FTransparencyLevel);
  } else if (FOptions & CoolOption(ocPaintWallpaper)) {
    FWallpaper.Draw(DC, R, (FOptions & CoolOption(ocTileWallpaper)) != 0, cmSrcCopy);
  } else if (FOptions & CoolOption(ocPaintGradiently)) {
    FillGradientRect(DC, R, FColorStart, FColorEnd, 128, FGradientDirection == gdHorizontal);
  } else {
    inherited::Dispatch(Message);
    return;
  }
  Message.Result = 1;
}

void TCoolBtn::WMLButtonDblClk(TMessage& Message) {
  // An owner-drawn button reports a double click instead of the second click.
  Perform(WM_LBUTTONDOWN, Message.WParam, Message.LParam);
}

// ----- painting

unsigned TCoolBtn::TextFlags() const { return DrawTextBiDiModeFlags(0); }

int TCoolBtn::AnimationImage() const {
  if (!FAnimated || !FImages) return -1;
  const int Count = FImages->ImageCount();
  return FFrame < Count ? FFrame : -1;
}

TGlyph* TCoolBtn::GlyphFor(int Index, TGlyph& Temp) const {
  if (Index < 0) return FGlyph;
  TBitmap Image;
  Image.SetSize(FImages->Width(), FImages->Height());
  Image.Canvas()->Brush()->SetColor(Temp.TransparentColor());
  Image.Canvas()->FillRect(Rect(0, 0, Image.Width(), Image.Height()));
  FImages->Draw(Image.Canvas(), 0, 0, Index);
  Image.SetTransparentColor(Temp.TransparentColor());
  Image.SetTransparentMode(tmFixed);
  Temp.SetGlyph(&Image);
  return &Temp;
}

void TCoolBtn::DrawItem(const DRAWITEMSTRUCT& DrawItemStruct) {
  const bool Pressed = (DrawItemStruct.itemState & ODS_SELECTED) != 0;
  const bool Focused = (DrawItemStruct.itemState & ODS_FOCUS) != 0;
  {
    TCanvasBinding On(FCanvas, DrawItemStruct.hDC);
    if (FOptions & CoolOption(ocRoundedForm)) DrawItemCircle(DrawItemStruct.hDC, Pressed, Focused);
    else DrawItemRect(DrawItemStruct.hDC, Pressed, Focused);
  }
  if (OnDrawButton) {
    TCanvasBinding On(FCanvas, DrawItemStruct.hDC);
    OnDrawButton(this, FCanvas, ClientRect());
  }
}

void TCoolBtn::DrawContent(bool Pressed) {
  FCanvas->SetFont(Font());
  TRect C = ClientRect();
  if (Pressed) C.Offset(1, 1);
  TGlyph Temp;
  TGlyph* G = GlyphFor(AnimationImage(), Temp);
  G->Draw(FCanvas, C, TPoint{0, 0}, Caption(), FLook.Layout, FLook.Margin, FLook.Spacing, Enabled(), true, clNone,
          FLook.SimpleView, FLook.ShadowPos, FLook.ShadowColor, FLook.ShadowSize, TextFlags());
}

void TCoolBtn::DrawItemRect(HDC DC, bool Pressed, bool Focused) {
  TRect R = ClientRect();
  const bool Tile = (FOptions & CoolOption(ocTileWallpaper)) != 0;
  bool Painted = true;
  if (FOptions & CoolOption(ocPaintTransparently)) {
    PaintBackground(this, DC, FTransparencyLevel);
  } else if (FOptions & CoolOption(ocPaintWallpaper)) {
    // Without a picture the face is the colour (not the gradient), so it keeps no stale pixels.
    Painted = FWallpaper.Draw(DC, R, Tile, cmSrcCopy);
  } else if (FOptions & CoolOption(ocPaintGradiently)) {
    FillGradientRect(DC, R, FColorStart, FColorEnd, 128, FGradientDirection == gdHorizontal);
  } else {
    Painted = false;
  }
  if (!Painted) {
    FCanvas->Brush()->SetStyle(bsSolid);
    FCanvas->Brush()->SetColor(Color());
    FCanvas->FillRect(R);
  }

  if ((Focused || FDefaultLook) && (FBtnPaintOptions & BtnPaintOption(bpoDrawDefault))) {
    FCanvas->Pen()->SetColor(clWindowFrame);
    FCanvas->Pen()->SetWidth(1);
    FCanvas->Brush()->SetStyle(bsClear);
    FCanvas->Rectangle(R);
    R.Inflate(-1, -1);
  }

  RECT E = AsRECT(R);
  if (Pressed) {
    DrawEdge(FCanvas->Handle(), &E, BDR_SUNKENINNER, BF_RECT | BF_ADJUST);
  } else if ((!(FOptions & CoolOption(ocFlatBorder)) || FHot || HasState(csDesigning)) && !FNoFrame) {
    DrawEdge(FCanvas->Handle(), &E, BDR_RAISEDOUTER | BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
  }

  DrawContent(Pressed);

  if (FDefaultLook && Focused && (FBtnPaintOptions & BtnPaintOption(bpoDrawFocus))) {
    TRect F = ClientRect();
    F.Inflate(-4, -4);
    FCanvas->Pen()->SetColor(clWindowFrame);
    FCanvas->Brush()->SetStyle(bsSolid);
    FCanvas->Brush()->SetColor(GetInvertedColor(Font()->Color()));
    FCanvas->DrawFocusRect(F);
  }
}

void TCoolBtn::DrawItemCircle(HDC DC, bool Pressed, bool Focused) {
  const TRect R = ClientRect();
  PaintBackground(this, DC, FTransparencyLevel);
  bool Fill = true;
  {
    TRgnOwner Ellipse(CreateEllipticRgn(R.Left, R.Top, R.Right, R.Bottom));
    TSaveDC Save(DC);
    if (FOptions & CoolOption(ocPaintGradiently)) {
      SelectClipRgn(DC, Ellipse.Get());
      FillGradientRect(DC, R, FColorStart, FColorEnd, 128, FGradientDirection == gdHorizontal);
      Fill = false;
    } else if (FOptions & CoolOption(ocPaintWallpaper)) {
      SelectClipRgn(DC, Ellipse.Get());
      if (FWallpaper.Draw(DC, R, (FOptions & CoolOption(ocTileWallpaper)) != 0, cmSrcCopy)) Fill = false;
    } else if (FOptions & CoolOption(ocPaintTransparently)) {
      PaintBackgroundEx(this, DC, R);
      Fill = false;
    }
  }
  FCanvas->Refresh();  // the DC's selections were restored under the canvas

  if (Pressed || ((!(FOptions & CoolOption(ocFlatBorder)) || FHot || HasState(csDesigning)) && !FNoFrame)) {
    TBrush* B = FCanvas->Brush();
    if (Fill) {
      B->SetStyle(bsSolid);
      B->SetColor(Color());
    } else {
      B->SetStyle(bsClear);
    }
    TPen* P = FCanvas->Pen();
    P->SetWidth(1);
    P->SetColor(clBtnShadow);
    FCanvas->Ellipse(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
    P->SetColor(Pressed ? clBtnHighlight : clWindowFrame);
    FCanvas->Ellipse(R.Left + 1, R.Top + 1, R.Right, R.Bottom);
    P->SetColor(Pressed ? clWindowFrame : clBtnHighlight);
    FCanvas->Ellipse(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    P->SetColor(clBtnShadow);
    FCanvas->Arc(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1, R.Left, R.Bottom, R.Right, R.Top);
  } else if (Fill) {
    // No border at rest: the face is still the button's colour.
    FCanvas->Brush()->SetStyle(bsSolid);
    FCanvas->Brush()->SetColor(Color());
    FCanvas->Pen()->SetColor(Color());
    FCanvas->Ellipse(R.Left, R.Top, R.Right, R.Bottom);
  }

  DrawContent(Pressed);

  if (Focused && FDefaultLook && (FBtnPaintOptions & BtnPaintOption(bpoDrawFocus))) {
    TRect F = ClientRect();
    if (Pressed) F.Offset(1, 1);
    F.Inflate(-4, -4);
    FCanvas->Brush()->SetStyle(bsClear);
    FCanvas->Pen()->SetColor(clBtnShadow);
    FCanvas->Ellipse(F);
  }
}

void TCoolBtn::UpdateTimer(TObject*) {
  if (!FImages || !HandleAllocated() || !IsWindowVisible(WindowHandle())) return;
  const int Count = FImages->ImageCount();
  if (Count == 0) return;
  if (FFrame >= Count) FFrame %= Count;
  const int W = Width(), H = Height();
  {
    TWindowDC Screen(WindowHandle());
    TMemoryDC Mem(Screen.Get());
    TBitmapOwner Picture(CreateCompatibleBitmap(Screen.Get(), W, H));
    TSelectGuard Select(Mem.Get(), Picture.Get());
    PaintTo(Mem.Get(), 0, 0);
    TGlyph Temp;
    GlyphFor(FFrame, Temp);
    {
      TCanvasLock Lock(FCanvas);
      TCanvasBinding On(FCanvas, Mem.Get());
      Temp.DrawImageEx(FCanvas, ClientRect(), TPoint{0, 0}, Caption(), FLook.Layout, FLook.Margin, FLook.Spacing,
                       Enabled(), true, clNone, TextFlags());
    }
    BitBlt(Screen.Get(), 0, 0, W, H, Mem.Get(), 0, 0, SRCCOPY);
  }
  FFrame = (FFrame + 1) % Count;
}

static constinit const TPropInfo TCoolBtn_Props[] = {
    PropObject<&TCoolBtn::About, &TCoolBtn::SetAbout>("About"),
    PropRef<&TControl::Action, &TControl::SetAction>("Action"),
    TControlProps::Anchors(),
    PropBool<&TCoolBtn::Animated, &TCoolBtn::SetAnimated>("Animated", false),
    PropSet<&TCoolBtn::BtnPaintOptions, &TCoolBtn::SetBtnPaintOptions>(
        "BtnPaintOptions", TBtnPaintOptionType, BtnPaintOption(bpoDrawFocus) | BtnPaintOption(bpoDrawDefault)),
    PropBool<&TButton::Cancel, &TButton::SetCancel>("Cancel", false),
    TControlProps::Caption(),
    TControlProps::Color(clBtnFace),
    PropColor<&TCoolBtn::ColorEnd, &TCoolBtn::SetColorEnd>("ColorEnd", clBtnShadow),
    PropColor<&TCoolBtn::ColorStart, &TCoolBtn::SetColorStart>("ColorStart", clBtnFace),
    TControlProps::Constraints(),
    PropRef<&TCoolBtn::CoolImages, &TCoolBtn::SetCoolImages>("CoolImages"),
    PropBool<&TButton::Default, &TButton::SetDefault>("Default", false),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropObject<&TCoolBtn::Glyph, &TCoolBtn::SetGlyph>("Glyph"),
    PropEnum<&TCoolBtn::GradientDirection, &TCoolBtn::SetGradientDirection>("GradientDirection",
                                                                           TGradientDirectionType, gdHorizontal),
    PropInt<&TCoolBtn::idWallpaper, &TCoolBtn::SetIdWallpaper>("idWallpaper", -1),
    PropRef<&TCoolBtn::Images, &TCoolBtn::SetImages>("Images"),
    PropInt<&TCoolBtn::Interval, &TCoolBtn::SetInterval>("Interval", 1000),
    PropEnum<&TCoolBtn::Layout, &TCoolBtn::SetLayout>("Layout", TButtonLayoutType, blGlyphLeft),
    PropInt<&TCoolBtn::Margin, &TCoolBtn::SetMargin>("Margin", -1),
    PropInt<&TButton::ModalResult, &TButton::SetModalResult>("ModalResult", mrNone),
    PropInt<&TCoolBtn::NumGlyphs, &TCoolBtn::SetNumGlyphs>("NumGlyphs", 1),
    PropSet<&TCoolBtn::Options, &TCoolBtn::SetOptions>("Options", TCoolOptionType, 0),
    TControlProps::BiDiMode(),
    TControlProps::ParentBiDiMode(),
    TControlProps::ParentShowHint(),
    PropColor<&TCoolBtn::ShadowColor, &TCoolBtn::SetShadowColor>("ShadowColor", clBtnHighlight),
    PropEnum<&TCoolBtn::ShadowPos, &TCoolBtn::SetShadowPos>("ShadowPos", TShadowPositionType, spLeftTop),
    PropInt<&TCoolBtn::ShadowSize, &TCoolBtn::SetShadowSize>("ShadowSize", 1),
    TControlProps::ShowHint(),
    PropBool<&TCoolBtn::SimpleView, &TCoolBtn::SetSimpleView>("SimpleView", false),
    PropInt<&TCoolBtn::Spacing, &TCoolBtn::SetSpacing>("Spacing", 4),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    PropInt<&TCoolBtn::TransparencyLevel, &TCoolBtn::SetTransparencyLevel>("TransparencyLevel", 0),
    TControlProps::Visible(),
    PropObject<&TCoolBtn::Wallpaper, &TCoolBtn::SetWallpaper>("Wallpaper"),
    TControlProps::OnClick(),
    PropEvent<&TCoolBtn::OnDrawButton>("OnDrawButton"),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    PropEvent<&TCoolBtn::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TCoolBtn::OnMouseLeave>("OnMouseLeave"),
};
ORV_IMPLEMENT_COMPONENT(TCoolBtn, TButton, TCoolBtn_Props)

// ---------------------------------------------------------------------------------------------
// TCoolCaptionBtn

TCoolCaptionBtn::TCoolCaptionBtn(TComponent* AOwner) : TButton(AOwner) {
  IncludeStyle(csReflector);
  SetBounds(Left(), Top(), 14, 14);
}

void TCoolCaptionBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolCaptionBtn::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TCoolCaptionBtn::SetButtonStyle(bool ADefault) {
  if (ADefault == FDefaultLook) return;
  FDefaultLook = ADefault;
  if (HandleAllocated()) Invalidate();
}

void TCoolCaptionBtn::SetCaptionBtnType(TCaptionBtnType Value) {
  if (FCaptionBtnType == Value) return;
  FCaptionBtnType = Value;
  if (!HasState(csLoading) && HandleAllocated()) RecreateWnd();
}

unsigned TCoolCaptionBtn::FrameKind(TCaptionBtnType Type) {
  switch (Type) {
    case cbtClose: return DFCS_CAPTIONCLOSE;
    case cbtHelp: return DFCS_CAPTIONHELP;
    case cbtMaximize: return DFCS_CAPTIONMAX;
    case cbtMinimize: return DFCS_CAPTIONMIN;
    case cbtRestore: return DFCS_CAPTIONRESTORE;
  }
  return DFCS_CAPTIONCLOSE;
}

void TCoolCaptionBtn::CNMeasureItem(TMessage& Message) {
  auto* Mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  Mis->itemWidth = UINT(Width());
  Mis->itemHeight = UINT(Height());
  Message.Result = 1;
}

void TCoolCaptionBtn::CNDrawItem(TMessage& Message) {
  const auto& Dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  RECT R{0, 0, Width(), Height()};
  DrawFrameControl(Dis.hDC, &R, DFC_CAPTION,
                   FrameKind(FCaptionBtnType) | ((Dis.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
  Message.Result = 1;
}

static constinit const TPropInfo TCoolCaptionBtn_Props[] = {
    PropObject<&TCoolCaptionBtn::About, &TCoolCaptionBtn::SetAbout>("About"),
    PropStr<&TCoolCaptionBtn::Caption, nullptr>("Caption"),  // read-only: never stored
    PropEnum<&TCoolCaptionBtn::CaptionBtnType, &TCoolCaptionBtn::SetCaptionBtnType>("CaptionBtnType",
                                                                                 TCaptionBtnTypeType, cbtClose),
    TControlProps::Enabled(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    TControlProps::OnClick(),
};
ORV_IMPLEMENT_COMPONENT(TCoolCaptionBtn, TButton, TCoolCaptionBtn_Props)
