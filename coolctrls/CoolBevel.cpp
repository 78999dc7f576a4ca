#include "coolctrls/CoolCtrls.h"

TCoolBevel::TCoolBevel(TComponent* AOwner)
    : TBevel(AOwner),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolBevel::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolBevel::CoolImagesChange>(this)) {
  SetColor(clBtnFace);
}

void TCoolBevel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolBevel::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return;
  if (!HasState(csLoading | csDestroying)) Invalidate();
}

void TCoolBevel::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  if (!HasState(csLoading)) Invalidate();
}

void TCoolBevel::SetWallpaper(TBitmap* Value) {
  FWallpaper.SetWallpaper(Value);
  if (!HasState(csLoading)) Invalidate();
}

void TCoolBevel::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  if (!HasState(csLoading)) Invalidate();
}

void TCoolBevel::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  // Filled, the bevel hides what lies behind it.
  if (Value) ExcludeStyle(csOpaque);
  else IncludeStyle(csOpaque);
  if (!HasState(csLoading)) Invalidate();
}

void TCoolBevel::WallpaperChanged(TObject*) {
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TCoolBevel::CoolImagesChange(TObject*) { Invalidate(); }

void TCoolBevel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

void TCoolBevel::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TCoolBevel::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TCoolBevel::Paint() {
  if (!FTransparent) {
    TCanvas* C = Canvas();
    const TRect R = ClientRect();
    if (!FWallpaper.Draw(C->Handle(), R, true, cmSrcCopy)) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(Color());
      C->FillRect(R);
    }
  }
  if (!FFlat) inherited::Paint();
}

static constinit const TPropInfo TCoolBevel_Props[] = {
    PropObject<&TCoolBevel::About, &TCoolBevel::SetAbout>("About"),
    TControlProps::Color(clBtnFace),
    PropRef<&TCoolBevel::CoolImages, &TCoolBevel::SetCoolImages>("CoolImages"),
    PropBool<&TCoolBevel::Flat, &TCoolBevel::SetFlat>("Flat", false),
    PropInt<&TCoolBevel::idWallpaper, &TCoolBevel::SetIdWallpaper>("idWallpaper", -1),
    PropBool<&TCoolBevel::Transparent, &TCoolBevel::SetTransparent>("Transparent", true),
    PropObject<&TCoolBevel::Wallpaper, &TCoolBevel::SetWallpaper>("Wallpaper"),
    TControlProps::OnClick(),
    PropEvent<&TCoolBevel::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TCoolBevel::OnMouseLeave>("OnMouseLeave"),
};
ORV_IMPLEMENT_COMPONENT(TCoolBevel, TBevel, TCoolBevel_Props)

namespace {
const struct TCoolBevelRegistration {
  TCoolBevelRegistration() { RegisterClass(TCoolBevel::StaticClass()); }
} CoolBevelRegistration;
}  // namespace
