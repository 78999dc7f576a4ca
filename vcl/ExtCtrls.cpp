#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include <algorithm>

constexpr TEnumType TBevelCutType{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  IncludeStyle(csReplicatable);
  FPicture = New<TPicture>();
  FPicture->OnChange = TNotifyEvent::Bind<&TImage::PictureChanged>(this);
  FPicture->OnProgress = TProgressEvent::Bind<&TImage::PictureProgress>(this);
  SetBounds(Left(), Top(), 105, 105);
}

TImage::~TImage() {
  FPicture->OnChange = nullptr;
  FPicture->OnProgress = nullptr;
  TObject::Free(FPicture);
}

TCanvas* TImage::Canvas() {
  if (!FPicture->Graphic()) FPicture->Bitmap()->SetSize(Width(), Height());
  if (auto* B = dynamic_cast<TBitmap*>(FPicture->Graphic())) return B->Canvas();
  throw EInvalidOperation("Can only modify an image if it contains a bitmap");
}

void TImage::SetCenter(bool Value) {
  if (Value == FCenter) return;
  FCenter = Value;
  if (HasState(csLoading)) return;
  PictureChanged(this);
}

void TImage::SetStretch(bool Value) {
  if (Value == FStretch) return;
  FStretch = Value;
  if (HasState(csLoading)) return;
  PictureChanged(this);
}

void TImage::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  if (HasState(csLoading)) return;
  PictureChanged(this);
}

void TImage::SetAutoSize(bool Value) {
  TGraphicControl::SetAutoSize(Value);
  AdjustSize();
}

bool TImage::SizeFromPicture(int& AWidth, int& AHeight) const {
  if (!AutoSize() || HasState(csLoading) || FPicture->Width() <= 0 || FPicture->Height() <= 0) return false;
  AWidth = FPicture->Width();
  AHeight = FPicture->Height();
  return true;
}

void TImage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  SizeFromPicture(AWidth, AHeight);
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TImage::AdjustSize() {
  int W = Width(), H = Height();
  if (SizeFromPicture(W, H) && (W != Width() || H != Height())) TGraphicControl::SetBounds(Left(), Top(), W, H);
}

TRect TImage::DestRect() const {
  const int W = FPicture->Width(), H = FPicture->Height();
  if (FStretch) return Rect(0, 0, ClientWidth(), ClientHeight());
  if (FCenter) return Bounds((ClientWidth() - W) / 2, (ClientHeight() - H) / 2, W, H);
  return Rect(0, 0, W, H);
}

void TImage::Loaded() {
  TGraphicControl::Loaded();
  PictureChanged(this);
}

void TImage::PictureChanged(TObject*) {
  if (HasState(csDestroying | csLoading)) return;
  if (TGraphic* G = FPicture->Graphic()) {
    if (!G->Is<TIcon>() && G->Transparent() != FTransparent) G->SetTransparent(FTransparent);
    AdjustSize();
    // An opaque picture covering the control hides its parent's background.
    if (!G->Transparent() && (FStretch || (G->Width() >= Width() && G->Height() >= Height())))
      IncludeStyle(csOpaque);
    else
      ExcludeStyle(csOpaque);
  } else {
    ExcludeStyle(csOpaque);
  }
  if (!FDrawing) Invalidate();
}

void TImage::PictureProgress(TObject* Sender, TProgressStage Stage, unsigned char PercentDone, bool RedrawNow,
                             const TRect& R, const AnsiString& Msg) {
  if (FIncrementalDisplay && RedrawNow && !FDrawing) Repaint();
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

void TImage::Paint() {
  TCanvas* C = TGraphicControl::Canvas();
  if (HasState(csDesigning)) {
    C->Pen()->SetStyle(psDash);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(0, 0, Width(), Height());
  }
  struct TDrawing {
    bool& Flag;
    bool Saved;
    explicit TDrawing(bool& F) : Flag(F), Saved(F) { Flag = true; }
    ~TDrawing() { Flag = Saved; }
  } Drawing(FDrawing);
  if (TGraphic* G = FPicture->Graphic()) C->StretchDraw(DestRect(), G);
}

static constinit const TPropInfo TImage_Props[] = {
    TControlProps::Align(),
    TControlProps::Anchors(),
    TControlProps::AutoSize(false),
    PropBool<&TImage::Center, &TImage::SetCenter>("Center", false),
    TControlProps::Constraints(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    PropBool<&TImage::IncrementalDisplay, &TImage::SetIncrementalDisplay>("IncrementalDisplay", false),
    TControlProps::ParentShowHint(),
    PropObject<&TImage::Picture, &TImage::SetPicture>("Picture"),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    PropBool<&TImage::Stretch, &TImage::SetStretch>("Stretch", false),
    PropBool<&TImage::Transparent, &TImage::SetTransparent>("Transparent", false),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    PropEvent<&TImage::OnProgress>("OnProgress"),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TImage, TGraphicControl, TImage_Props)

// ---------------------------------------------------------------------------------------------
// Frame3D, TCustomPanel

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  TPen* Pen = Canvas->Pen();
  Pen->SetWidth(1);
  --Rect.Bottom;
  --Rect.Right;
  for (; Width > 0; --Width) {
    Pen->SetColor(TopColor);
    Canvas->Polyline({Point(Rect.Left, Rect.Bottom), Rect.TopLeft(), Point(Rect.Right, Rect.Top)});
    Pen->SetColor(BottomColor);
    Canvas->Polyline({Point(Rect.Right, Rect.Top), Rect.BottomRight(), Point(Rect.Left - 1, Rect.Bottom)});
    Rect.Inflate(-1, -1);
  }
  ++Rect.Bottom;
  ++Rect.Right;
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(StyleOf(csAcceptsControls) | StyleOf(csCaptureMouse) | StyleOf(csClickEvents) |
                  StyleOf(csSetCaption) | StyleOf(csOpaque) | StyleOf(csDoubleClicks) | StyleOf(csReplicatable));
  SetBounds(Left(), Top(), 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_CTL3DCHANGED: CMCtl3DChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HasState(csLoading)) return;
  Invalidate();
}

unsigned TCustomPanel::AlignmentFlags() const {
  static constexpr unsigned Flags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  return Flags[FAlignment];
}

void TCustomPanel::FrameChanged() {
  if (HasState(csLoading)) return;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  FrameChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  FrameChanged();
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value) {
  Value = std::max(Value, 1);
  if (FBevelWidth == Value) return;
  FBevelWidth = Value;
  FrameChanged();
}

void TCustomPanel::SetBorderWidth(TBorderWidth Value) {
  Value = std::max(Value, 0);
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomPanel::SetFullRepaint(bool Value) {
  if (FFullRepaint == Value) return;
  FFullRepaint = Value;
  if (HasState(csLoading)) return;
  RecreateWnd();
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  ApplyBorder(Params, FBorderStyle, Ctl3D());
  if (!FFullRepaint) Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::CMCtl3DChanged(TMessage& Message) {
  if (FBorderStyle == bsSingle && !HasState(csLoading)) RecreateWnd();
  inherited::Dispatch(Message);
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  inherited::AdjustClientRect(Rect);
  int Inset = FBorderWidth;
  if (FBevelOuter != bvNone) Inset += FBevelWidth;
  if (FBevelInner != bvNone) Inset += FBevelWidth;
  Rect.Inflate(-Inset, -Inset);
}

void TCustomPanel::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  auto Bevel = [&](TBevelCut Cut) {
    const bool Lowered = Cut == bvLowered;
    Frame3D(C, R, Lowered ? clBtnShadow : clBtnHighlight, Lowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
  };
  if (FBevelOuter != bvNone) Bevel(FBevelOuter);
  Frame3D(C, R, Color(), Color(), FBorderWidth);
  if (FBevelInner != bvNone) Bevel(FBevelInner);
  C->Brush()->SetColor(Color());
  C->Brush()->SetStyle(bsSolid);
  C->FillRect(R);
  C->Brush()->SetStyle(bsClear);
  C->SetFont(Font());
  const int FontHeight = C->TextHeight("W");
  R.Top = (R.Top + R.Bottom - FontHeight) / 2;
  R.Bottom = R.Top + FontHeight;
  const AnsiString Text = Caption();
  DrawTextA(C->Handle(), Text.c_str(), Text.Length(), &AsRECT(R), DT_EXPANDTABS | DT_VCENTER | AlignmentFlags());
}

ORV_IMPLEMENT_CLASS(TCustomPanel, TCustomControl)

// ---------------------------------------------------------------------------------------------
// TPanel

static constinit const TPropInfo TPanel_Props[] = {
    TControlProps::Align(),
    PropEnum<&TPanel::Alignment, &TPanel::SetAlignment>("Alignment", TAlignmentType, taCenter),
    TControlProps::Anchors(),
    TControlProps::AutoSize(false),
    PropEnum<&TPanel::BevelInner, &TPanel::SetBevelInner>("BevelInner", TBevelCutType, bvNone),
    PropEnum<&TPanel::BevelOuter, &TPanel::SetBevelOuter>("BevelOuter", TBevelCutType, bvRaised),
    PropInt<&TPanel::BevelWidth, &TPanel::SetBevelWidth>("BevelWidth", 1),
    TControlProps::BiDiMode(),
    PropInt<&TPanel::BorderWidth, &TPanel::SetBorderWidth>("BorderWidth", 0),
    PropEnum<&TPanel::BorderStyle, &TPanel::SetBorderStyle>("BorderStyle", TBorderStyleType, bsNone),
    TControlProps::Caption(),
    TControlProps::Color(clBtnFace),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::UseDockManager(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropBool<&TPanel::FullRepaint, &TPanel::SetFullRepaint>("FullRepaint", true),
    PropBool<&TPanel::Locked, &TPanel::SetLocked>("Locked", false),
    TControlProps::ParentBiDiMode(),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(false),
    TControlProps::Visible(),
    TControlProps::OnCanResize(),
    TControlProps::OnClick(),
    TControlProps::OnConstrainedResize(),
    TControlProps::OnDblClick(),
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
ORV_IMPLEMENT_COMPONENT(TPanel, TCustomPanel, TPanel_Props)

// TBevel

constexpr TEnumType TBevelShapeType{
    "TBevelShape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}};
constexpr TEnumType TBevelStyleType{"TBevelStyle", {"bsLowered", "bsRaised"}};

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  IncludeStyle(csReplicatable);
  SetBounds(Left(), Top(), 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  if (HasState(csLoading)) return;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (HasState(csLoading)) return;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* C = Canvas();
  const int W = Width(), H = Height();
  if (FShape == bsSpacer) {
    if (!HasState(csDesigning)) return;
    C->Pen()->SetStyle(psDot);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(0, 0, W, H);
    return;
  }
  const TColor First = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  const TColor Second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  TPen* Pen = C->Pen();
  Pen->SetStyle(psSolid);
  Pen->SetWidth(1);
  auto Line = [&](TColor Color, int X1, int Y1, int X2, int Y2) {
    Pen->SetColor(Color);
    C->Polyline({Point(X1, Y1), Point(X2, Y2)});
  };
  // An outline of R's four edges, the top and left in TopLeft, the bottom and right in
  // BottomRight (bottom and right inside R).
  auto Outline = [&](const TRect& R, TColor TopLeft, TColor BottomRight) {
    Pen->SetColor(TopLeft);
    C->Polyline({Point(R.Left, R.Bottom - 1), Point(R.Left, R.Top), Point(R.Right, R.Top)});
    Pen->SetColor(BottomRight);
    C->Polyline({Point(R.Right - 1, R.Top), Point(R.Right - 1, R.Bottom - 1), Point(R.Left - 1, R.Bottom - 1)});
  };
  switch (FShape) {
    case bsBox: Outline(Rect(0, 0, W, H), First, Second); break;
    case bsFrame:
      // Two outlines one pixel apart: an etched groove (lowered) or ridge (raised).
      Outline(Rect(1, 1, W, H), Second, Second);
      Outline(Rect(0, 0, W - 1, H - 1), First, First);
      break;
    case bsTopLine:
      Line(First, 0, 0, W, 0);
      Line(Second, 0, 1, W, 1);
      break;
    case bsBottomLine:
      Line(First, 0, H - 2, W, H - 2);
      Line(Second, 0, H - 1, W, H - 1);
      break;
    case bsLeftLine:
      Line(First, 0, 0, 0, H);
      Line(Second, 1, 0, 1, H);
      break;
    case bsRightLine:
      Line(First, W - 2, 0, W - 2, H);
      Line(Second, W - 1, 0, W - 1, H);
      break;
    case bsSpacer: break;
  }
}

static constinit const TPropInfo TBevel_Props[] = {
    TControlProps::Align(),
    TControlProps::Anchors(),
    TControlProps::Constraints(),
    TControlProps::ParentShowHint(),
    PropEnum<&TBevel::Shape, &TBevel::SetShape>("Shape", TBevelShapeType, bsBox),
    TControlProps::ShowHint(),
    PropEnum<&TBevel::Style, &TBevel::SetStyle>("Style", TBevelStyleType, bsLowered),
    TControlProps::Visible(),
};
ORV_IMPLEMENT_COMPONENT(TBevel, TGraphicControl, TBevel_Props)

// ---------------------------------------------------------------------------------------------
// TTimer

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FWindowHandle = AllocateHWnd(TWndMethod::Bind<&TTimer::WndProc>(this));
  UpdateTimer();
}

TTimer::~TTimer() {
  FEnabled = false;
  UpdateTimer();
  DeallocateHWnd(FWindowHandle);
}

void TTimer::UpdateTimer() {
  KillTimer(FWindowHandle, 1);
  if (FInterval != 0 && FEnabled && !HasState(csDestroying))
    if (!SetTimer(FWindowHandle, 1, FInterval, nullptr)) throw EOutOfResources("Not enough timers available");
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  if (!HasState(csLoading)) UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  if (!HasState(csLoading)) UpdateTimer();
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void TTimer::WndProc(TMessage& Message) {
  // An exception of the tick goes to the application from the window's stub.
  if (Message.Msg == WM_TIMER) Timer();
  else Message.Result = DefWindowProcA(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
}

static constinit const TPropInfo TTimer_Props[] = {
    PropBool<&TTimer::Enabled, &TTimer::SetEnabled>("Enabled", true),
    PropInt<&TTimer::Interval, &TTimer::SetInterval>("Interval", 1000),
    PropEvent<&TTimer::OnTimer>("OnTimer"),
};
ORV_IMPLEMENT_COMPONENT(TTimer, TComponent, TTimer_Props)

namespace {
struct TExtCtrlsRegistration {
  TExtCtrlsRegistration() { RegisterClasses({TImage::StaticClass(), TTimer::StaticClass(), TPanel::StaticClass(), TBevel::StaticClass()}); }
} ExtCtrlsRegistration;
}  // namespace
