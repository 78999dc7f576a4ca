#include "suite/Std2Splash.h"

#include "rtl/TypInfo.h"
#include "suite/MystdRoutines.h"
#include "suite/qAnimate.h"

#include <algorithm>

TqSplashForm::TqSplashForm(TComponent* AOwner)
    : TComponent(AOwner), FBitMap(new TBitmap), FPicture(new TPicture) {
  if (HasState(csDesigning)) return;
  try {
    TForm* Form = FindForm(this);
    Form->HandleNeeded();
    FHook.Install(Form->WindowHandle(), TWindowProcHook::THandler::Bind<&TqSplashForm::FormWindowProc>(this));
  } catch (...) {
    TObject::Free(FPicture);
    TObject::Free(FBitMap);
    throw;
  }
}

TqSplashForm::~TqSplashForm() {
  FHook.Remove();
  // A form freed before its first paint still gives the screen back.
  if (FRegion) DoRemove();
  TObject::Free(FPicture);
  TObject::Free(FBitMap);
}

void TqSplashForm::Loaded() {
  TComponent::Loaded();
  if (HasState(csDesigning)) return;
  if (OnCreate) OnCreate(this);
  MakeSplash();
  DoSplash();
}

void TqSplashForm::SetBitMap(TBitmap* Value) {
  FBitMap->Assign(Value);
  FPicture->Assign(FBitMap);
  ApplyAutoBackColor();
}

void TqSplashForm::SetPicture(TPicture* Value) {
  TGraphic* G = Value ? Value->Graphic() : nullptr;
  if (!G || G->Empty()) return;
  TBitmap B;
  B.SetWidth(G->Width());
  B.SetHeight(G->Height());
  B.Canvas()->Draw(0, 0, G);
  SetBitMap(&B);
}

void TqSplashForm::ApplyAutoBackColor() {
  if (FAutoBackColor && FBitMap->Height() > 0)
    FTransparentColor = ColorToRGB(FBitMap->Canvas()->Pixels(0, FBitMap->Height() - 1));
}

void TqSplashForm::SetAutoBackColor(bool Value) {
  FAutoBackColor = Value;
  ApplyAutoBackColor();
}

void TqSplashForm::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FAutoBackColor = false;
  FTransparentColor = Value;
}

void TqSplashForm::MakeSplash() {
  if (OnBeforeShow) OnBeforeShow(this);
  TqDesktop Screen;
  const int ScreenW = Screen.Width(), ScreenH = Screen.Height();
  const int BW = FBitMap->Width(), BH = FBitMap->Height();
  int SW = BW + FAddWidth + 4, SH = BH + FAddHeight + 4;
  auto Square = [&] {
    if (FShape == ssCircle) SW = SH = std::max(SW, SH);
  };
  Square();
  if (FAdjustforFrame && FDrawFrame) {
    SW += 2 * (FFrameThickness + FFrameMargin);
    SH += 2 * (FFrameThickness + FFrameMargin);
  }
  Square();
  // Each side at most the screen's; the picture centred, never off the splash's top left.
  FSW = std::min(SW, ScreenW);
  FSH = std::min(SH, ScreenH);
  FOX = std::max(0, (FSW - BW) / 2);
  FOY = std::max(0, (FSH - BH) / 2);
  FX = (ScreenW - FSW) / 2;
  FY = (ScreenH - FSH) / 2;
  if (FRegion) DeleteObject(FRegion);
  FRegion = FShape == ssQRectangle ? CreateRectRgn(FX, FY, FX + FSW, FY + FSH)
                                   : CreateEllipticRgn(FX, FY, FX + FSW, FY + FSH);
  FRemoved = false;
  if (OnShow) OnShow(this);
}

void TqSplashForm::DoSplash() {
  if (!FRegion) return;
  TqDesktop Screen;
  HDC DC = Screen.Handle();
  SelectClipRgn(DC, FRegion);
  struct TUnclip {
    HDC DC;
    ~TUnclip() { SelectClipRgn(DC, nullptr); }
  } Unclip{DC};
  const int X = FX, Y = FY, SW = FSW, SH = FSH;
  TBrush* Brush = Screen.Brush();
  TPen* Pen = Screen.Pen();
  Brush->SetStyle(bsSolid);
  Brush->SetColor(FColor);
  Pen->SetColor(FColor);
  if (FFill) FillRgn(DC, FRegion, Brush->Handle());

  Brush->SetStyle(bsClear);
  Pen->SetColor(FHighligtColor);
  Pen->SetWidth(1);
  if (FShape == ssQRectangle) {
    if (FUse3D) {
      Screen.Polyline({Point(X + 1, Y + SH - 1), Point(X + 1, Y + 1), Point(X + SW, Y + 1)});
      Pen->SetColor(FShadowColor);
      Screen.Polyline({Point(X + SW - 2, Y + 1), Point(X + SW - 2, Y + SH - 2), Point(X, Y + SH - 2)});
      Pen->SetColor(clBlack);
      Screen.Polyline({Point(X + 1, Y + SH - 1), Point(X + SW - 1, Y + SH - 1), Point(X + SW - 1, Y)});
    }
  } else {
    const int K = SH / 3 + SH / 2;
    if (FUse3D) Screen.Arc(X + 1, Y + 1, X + SW - 2, Y + SH - 2, X + SW - 1, Y + 1, X + 1, Y + K);
    Pen->SetColor(FShadowColor);
    Screen.Arc(X + 1, Y + 1, X + SW - 2, Y + SH - 2, X + 1, Y + K, X + SW - 1, Y + 1);
    Pen->SetColor(clBlack);
    Screen.Arc(X, Y, X + SW - 1, Y + SH - 1, X, Y + K, X + SW - 1, Y + 1);
  }
  if (FDrawFrame) {
    Pen->SetColor(FFrameColor);
    Pen->SetWidth(FFrameThickness);
    const int T = FFrameThickness / 2, M = FFrameMargin;
    if (FShape == ssQRectangle) Screen.Rectangle(X + M + T, Y + M + T, X + SW - M - T, Y + SH - M - T);
    else Screen.Ellipse(X + M + T, Y + M + T, X + SW - M - T, Y + SH - M - T);
    Pen->SetWidth(1);
  }

  Brush->SetStyle(bsSolid);
  const int BW = FBitMap->Width(), BH = FBitMap->Height();
  if (BH <= 0) return;
  ApplyAutoBackColor();
  const TRect Target = Rect(X + FOX, Y + FOY, X + FOX + BW, Y + FOY + BH);
  if (FTransparentColor < 0) {
    Screen.Draw(Target.Left, Target.Top, FBitMap);
  } else if (FRealTransparent) {
    TransparentBlt(&Screen, FBitMap, Target.Left, Target.Top, FTransparentColor);
  } else {
    // The transparent colour shows the fill colour.
    TBitmap Copy;
    Copy.SetWidth(BW);
    Copy.SetHeight(BH);
    Copy.Canvas()->Brush()->SetColor(FColor);
    Copy.Canvas()->BrushCopy(Rect(0, 0, BW, BH), FBitMap, Rect(0, 0, BW, BH), FTransparentColor);
    Screen.Draw(Target.Left, Target.Top, &Copy);
  }
}

void TqSplashForm::DoRemove() {
  const RECT R = AsRECT(SplashRect());
  InvalidateRect(nullptr, &R, TRUE);
  if (FRegion) DeleteObject(FRegion);
  FRegion = nullptr;
  UpdateWindow(nullptr);
}

void TqSplashForm::FormWindowProc(TMessage& Message) {
  const TWindowProcHook::TLink Link = FHook.CurrentLink();
  Message.Result = Link.CallPrevious(Message);
  if (Message.Msg != WM_PAINT || FRemoved || !FRegion) return;
  FRemoved = true;
  // The windows' pictures reach the screen as messages are handled (Wine keeps a surface per
  // window and shows it then), so the splash goes over them after both rounds.
  Application->ProcessMessages();
  Application->ProcessMessages();
  if (FMoveSplashUp) DoSplash();
  if (OnBeforeDelay) OnBeforeDelay(this);
  Delay(FMainFormDelay);
  if (OnBeforeClose) OnBeforeClose(this);
  DoRemove();
  if (OnAfterClose) OnAfterClose(this);
}

static constinit const TPropInfo TqSplashForm_Props[] = {
    PropObject<&TqSplashForm::BitMap, &TqSplashForm::SetBitMap>("BitMap"),
    PropObject<&TqSplashForm::Picture, &TqSplashForm::SetPicture>("Picture", NeverStored),
    PropBool<&TqSplashForm::MoveSplashUp, &TqSplashForm::SetMoveSplashUp>("MoveSplashUp", true),
    PropInt<&TqSplashForm::MainFormDelay, &TqSplashForm::SetMainFormDelay>("MainFormDelay", 500),
    PropEnum<&TqSplashForm::Shape, &TqSplashForm::SetShape>("Shape", qSplashStyleTypeType, ssQRectangle),
    PropColor<&TqSplashForm::Color, &TqSplashForm::SetColor>("Color", clBtnFace),
    PropColor<&TqSplashForm::HighligtColor, &TqSplashForm::SetHighligtColor>("HighligtColor", clBtnHighlight),
    PropColor<&TqSplashForm::ShadowColor, &TqSplashForm::SetShadowColor>("ShadowColor", clBtnShadow),
    PropColor<&TqSplashForm::FrameColor, &TqSplashForm::SetFrameColor>("FrameColor", 0xFF00FF),
    PropBool<&TqSplashForm::DrawFrame, &TqSplashForm::SetDrawFrame>("DrawFrame", true),
    PropInt<&TqSplashForm::FrameThickness, &TqSplashForm::SetFrameThickness>("FrameThickness", 4),
    PropInt<&TqSplashForm::FrameMargin, &TqSplashForm::SetFrameMargin>("FrameMargin", 8),
    PropBool<&TqSplashForm::Use3D, &TqSplashForm::SetUse3D>("Use3D", true),
    PropBool<&TqSplashForm::Fill, &TqSplashForm::SetFill>("Fill", true),
    PropBool<&TqSplashForm::AutoBackColor, &TqSplashForm::SetAutoBackColor>("AutoBackColor", false),
    PropColor<&TqSplashForm::TransparentColor, &TqSplashForm::SetTransparentColor>("TransparentColor", 0xFFFFFF),
    PropBool<&TqSplashForm::RealTransparent, &TqSplashForm::SetRealTransparent>("RealTransparent", false),
    PropInt<&TqSplashForm::AddWidth, &TqSplashForm::SetAddWidth>("AddWidth", 0),
    PropInt<&TqSplashForm::AddHeight, &TqSplashForm::SetAddHeight>("AddHeight", 0),
    PropBool<&TqSplashForm::AdjustforFrame, &TqSplashForm::SetAdjustforFrame>("AdjustforFrame", true),
    PropEvent<&TqSplashForm::OnCreate>("OnCreate"),
    PropEvent<&TqSplashForm::OnBeforeShow>("OnBeforeShow"),
    PropEvent<&TqSplashForm::OnShow>("OnShow"),
    PropEvent<&TqSplashForm::OnBeforeDelay>("OnBeforeDelay"),
    PropEvent<&TqSplashForm::OnBeforeClose>("OnBeforeClose"),
    PropEvent<&TqSplashForm::OnAfterClose>("OnAfterClose"),
};
ORV_IMPLEMENT_COMPONENT(TqSplashForm, TComponent, TqSplashForm_Props)

namespace {
const struct TSplashRegistration {
  TSplashRegistration() { RegisterClass(TqSplashForm::StaticClass()); }
} SplashRegistration;
}  // namespace
