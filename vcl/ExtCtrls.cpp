#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"

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
    TControlProps::AutoSize(false),
    PropBool<&TImage::Center, &TImage::SetCenter>("Center", false),
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
  TExtCtrlsRegistration() { RegisterClasses({TImage::StaticClass(), TTimer::StaticClass()}); }
} ExtCtrlsRegistration;
}  // namespace
