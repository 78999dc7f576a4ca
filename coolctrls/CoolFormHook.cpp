#include "coolctrls/CoolFormHook.h"

#include "vcl/GdiGuards.h"

#include <algorithm>

namespace {

std::atomic<TCoolProcLookup> ProcLookup{&GetProcAddress};

using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

bool Has(TCoolOptions Options, TCoolOption O) { return (Options & CoolOption(O)) != 0; }
bool Changed(TCoolOptions Old, TCoolOptions New, TCoolOption O) { return Has(Old, O) != Has(New, O); }

constexpr UINT FrameChanged = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

// Combines the rectangles of Parent's visible children, moved by (DX, DY), into Rgn by Mode.
void CombineChildren(HRGN Rgn, TWinControl* Parent, int DX, int DY, int Mode) {
  for (int I = 0; I < Parent->ControlCount(); ++I) {
    TControl* C = Parent->Controls(I);
    if (!C->Visible()) continue;
    TRgnOwner Child(CreateRectRgn(C->Left() + DX, C->Top() + DY, C->Left() + C->Width() + DX,
                                  C->Top() + C->Height() + DY));
    CombineRgn(Rgn, Rgn, Child, Mode);
  }
}

}  // namespace

TCoolProcLookup SetCoolProcLookup(TCoolProcLookup Lookup) { return ProcLookup.exchange(Lookup ? Lookup : &GetProcAddress); }

// The form hook's window hook: a window the form makes again gets the decorations again.
class TCoolFormHook::TFormWndHook : public TWndHook {
public:
  explicit TFormWndHook(TCoolFormHook* AOwner) : TWndHook(AOwner), FFormHook(AOwner) {}
  void RehookWnd() override {
    TWndHook::RehookWnd();
    if (Active() && FFormHook->Decorating()) FFormHook->ApplyOptions(0, FFormHook->FOptions);
  }
private:
  TCoolFormHook* FFormHook;
};

// ---------------------------------------------------------------------------------------------
// TCoolFormHook

TCoolFormHook::TCoolFormHook(TComponent* AOwner)
    : TComponent(AOwner),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolFormHook::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolFormHook::CoolImagesChange>(this)),
      FForm(dynamic_cast<TCustomForm*>(AOwner)) {
  FHook = New<TFormWndHook>(this);
  FHook->OnBeforeMessage = TWinMessageEvent::Bind<&TCoolFormHook::BeforeMessage>(this);
  FHook->OnAfterMessage = TWinMessageEvent::Bind<&TCoolFormHook::AfterMessage>(this);
  FHook->OnChangeWinControl = TNotifyEvent::Bind<&TCoolFormHook::ChangeControl>(this);
}

void TCoolFormHook::BeforeDestruction() {
  // Before the owned hook goes.
  if (Decorating()) {
    try {
      SetOptions(0);
    } catch (...) {
      HandleVclException(this);
    }
  }
  TComponent::BeforeDestruction();
}

void TCoolFormHook::Loaded() {
  TComponent::Loaded();
  if (Activate()) ApplyOptions(0, FOptions);
}

bool TCoolFormHook::Activate() {
  if (HasState(csDesigning) || !FForm || FForm->HasState(csDestroying)) return false;
  FForm->HandleNeeded();
  FHook->SetWinControl(FForm);
  FHook->SetActive(true);
  return Decorating();
}

void TCoolFormHook::ChangeControl(TObject* Sender) { FForm = dynamic_cast<TCustomForm*>(Sender); }

bool TCoolFormHook::FormAssigned() const {
  return FForm && FForm->HandleAllocated() && !FForm->HasState(csDestroying);
}

void TCoolFormHook::Repaint() {
  if (!Decorating()) return;
  FForm->Perform(CM_COLORCHANGED, 0, 0);
  FForm->Invalidate();
}

void TCoolFormHook::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

void TCoolFormHook::CoolImagesChange(TObject*) { Repaint(); }

void TCoolFormHook::WallpaperChanged(TObject*) { Repaint(); }

void TCoolFormHook::SetCoolImages(TCoolImages* Value) {
  if (FWallpaper.SetCoolImages(Value)) Repaint();
}

void TCoolFormHook::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  Repaint();
}

void TCoolFormHook::SetWallpaper(TBitmap* Value) { FWallpaper.SetWallpaper(Value); }

// Stores a gradient setting; a gradient on show is painted again.
template <class T> void TCoolFormHook::SetGradientValue(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  if (Decorating() && Has(FOptions, ocPaintGradiently)) FForm->Invalidate();
}

void TCoolFormHook::SetStartColor(TColor Value) { SetGradientValue(FStartColor, Value); }

void TCoolFormHook::SetEndColor(TColor Value) { SetGradientValue(FEndColor, Value); }

void TCoolFormHook::SetGradientDirection(TGradientDirection Value) { SetGradientValue(FGradientDirection, Value); }

void TCoolFormHook::SetTransparencyIntense(TTransparencyIntense Value) {
  if (FTransparencyIntense == Value) return;
  FTransparencyIntense = Value;
  if (Decorating() && !HasState(csLoading) && Has(FOptions, ocPaintFormSemiTransparently)) {
    SetOptions(FOptions & ~CoolOption(ocPaintFormSemiTransparently));
    SetOptions(FOptions | CoolOption(ocPaintFormSemiTransparently));
  }
}

void TCoolFormHook::SetOptions(TCoolOptions Value) {
  const TCoolOptions Old = FOptions;
  FOptions = Value;
  if (Old == Value || HasState(csLoading)) return;
  if (FHook->Active()) {
    if (Decorating()) ApplyOptions(Old, Value);
  } else if (Activate()) {
    // Made in code (no Loaded), or its window is being made again: nothing of Old is on the
    // window yet.
    ApplyOptions(0, Value);
  }
}

void TCoolFormHook::ApplyOptions(TCoolOptions Old, TCoolOptions New) {
  const HWND Wnd = FForm->Handle();
  if (FForm->BorderStyle() != bsNone) {
    const LONG_PTR Style = GetWindowLongPtrA(Wnd, GWL_STYLE);
    const bool Want = !Has(New, ocNoCaption), Shown = (Style & WS_CAPTION) == WS_CAPTION;
    if (Want != Shown) {
      SetWindowLongPtrA(Wnd, GWL_STYLE, Want ? Style | WS_CAPTION : Style & ~LONG_PTR(WS_CAPTION));
      SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, FrameChanged);
    }
  }
  if (Changed(Old, New, ocPaintTransparently) || Changed(Old, New, ocRoundedForm)) ApplyShape(New);
  if (Changed(Old, New, ocPaintWallpaper)) FForm->Perform(CM_COLORCHANGED, 0, 0);
  if (Changed(Old, New, ocPaintFormSemiTransparently)) ApplyLayered(Has(New, ocPaintFormSemiTransparently));
  FForm->Invalidate();
}

void TCoolFormHook::ApplyShape(TCoolOptions New) {
  const HWND Wnd = FForm->Handle();
  RECT W{};
  GetWindowRect(Wnd, &W);
  POINT Origin{0, 0};
  ClientToScreen(Wnd, &Origin);
  const int A = Origin.x - W.left, B = Origin.y - W.top;  // the client area inside the window
  const TRect Client = FForm->ClientRect();
  TRgnOwner Rgn;
  if (Has(New, ocRoundedForm)) {
    if (FRoundXOffset > 0) FRoundXOffset = -FRoundXOffset;
    if (FRoundYOffset > 0) FRoundYOffset = -FRoundYOffset;
    TRect R = Client;
    InflateRect(&AsRECT(R), FRoundXOffset, FRoundYOffset);
    OffsetRect(&AsRECT(R), A, B);
    Rgn.Reset(CreateEllipticRgn(R.Left, R.Top, R.Right, R.Bottom));
    if (Has(New, ocPaintTransparently)) {
      // An elliptic ring, the controls inside it kept.
      InflateRect(&AsRECT(R), -A, -B);
      TRgnOwner Inner(CreateEllipticRgn(R.Left, R.Top, R.Right, R.Bottom));
      CombineChildren(Inner, FForm, A, B, RGN_DIFF);
      CombineRgn(Rgn, Rgn, Inner, RGN_DIFF);
    }
  } else if (Has(New, ocPaintTransparently)) {
    // The frame and the controls; the empty client area lets what is below show through.
    Rgn.Reset(CreateRectRgn(0, 0, W.right - W.left, W.bottom - W.top));
    TRgnOwner Inside(CreateRectRgn(A, B, A + Client.Width(), B + Client.Height()));
    CombineRgn(Rgn, Rgn, Inside, RGN_DIFF);
    CombineChildren(Rgn, FForm, A, B, RGN_OR);
  }
  // The window owns a region it takes.
  if (SetWindowRgn(Wnd, Rgn.Get(), TRUE)) Rgn.Release();
}

void TCoolFormHook::ApplyLayered(bool On) {
  const HWND Wnd = FForm->Handle();
  const LONG_PTR Ex = GetWindowLongPtrA(Wnd, GWL_EXSTYLE);
  if (!On) {
    SetWindowLongPtrA(Wnd, GWL_EXSTYLE, Ex & ~LONG_PTR(WS_EX_LAYERED));
    return;
  }
  HMODULE User = LoadLibraryA("user32.dll");
  if (!User) return;
  if (FARPROC Proc = ProcLookup.load()(User, "SetLayeredWindowAttributes")) {
    // Only with the function: a layered window without attributes is not drawn at all.
    SetWindowLongPtrA(Wnd, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
    reinterpret_cast<TSetLayeredWindowAttributes>(reinterpret_cast<void*>(Proc))(Wnd, 0, FTransparencyIntense,
                                                                               LWA_ALPHA);
  }
  FreeLibrary(User);
}

void TCoolFormHook::PaintGradient(HDC DC, const TRect& Rect) const {
  FillGradientRect(DC, Rect, FStartColor, FEndColor, 128, FGradientDirection == gdHorizontal);
}

void TCoolFormHook::BeforeMessage(TObject*, TMessage& Msg, bool& Handled) {
  Handled = false;
  if (!FForm || HasState(csDesigning) || Msg.Msg != WM_ERASEBKGND) return;
  const HDC DC = reinterpret_cast<HDC>(Msg.WParam);
  const TRect R = FForm->ClientRect();
  if (Has(FOptions, ocPaintGradiently)) {
    PaintGradient(DC, R);
    Handled = true;
  } else if (Has(FOptions, ocPaintWallpaper)) {
    Handled = CTLDrawWallpaper(DC, R, Has(FOptions, ocTileWallpaper), cmSrcCopy);
  }
  if (Handled) Msg.Result = 1;
}

void TCoolFormHook::AfterMessage(TObject*, TMessage& Msg, bool&) {
  if (!FForm || HasState(csDesigning)) return;
  switch (Msg.Msg) {
    case WM_SIZE:
      if ((Msg.WParam == SIZE_RESTORED || Msg.WParam == SIZE_MAXIMIZED) &&
          (Has(FOptions, ocPaintGradiently) || Has(FOptions, ocPaintWallpaper))) {
        FForm->Perform(WM_ERASEBKGND, 0, 0);
        FForm->Perform(CM_COLORCHANGED, 0, 0);
      }
      break;
    case WM_NCHITTEST:
      if (Msg.Result == HTCLIENT && Has(FOptions, ocDragUsingClientArea)) Msg.Result = HTCAPTION;
      if (Msg.Result == HTCAPTION && Has(FOptions, ocNoDragUsingCaption)) Msg.Result = HTNOWHERE;
      break;
    default: break;
  }
}

static constinit const TPropInfo TCoolFormHook_Props[] = {
    PropObject<&TCoolFormHook::About, &TCoolFormHook::SetAbout>("About"),
    PropRef<&TCoolFormHook::CoolImages, &TCoolFormHook::SetCoolImages>("CoolImages"),
    PropColor<&TCoolFormHook::EndColor, &TCoolFormHook::SetEndColor>("EndColor", clBlack),
    PropEnum<&TCoolFormHook::GradientDirection, &TCoolFormHook::SetGradientDirection>(
        "GradientDirection", TGradientDirectionType, gdVertical),
    PropInt<&TCoolFormHook::idWallpaper, &TCoolFormHook::SetIdWallpaper>("idWallpaper", -1),
    PropSet<&TCoolFormHook::Options, &TCoolFormHook::SetOptions>("Options", TCoolOptionType, 0),
    PropInt<&TCoolFormHook::RoundXOffset, &TCoolFormHook::SetRoundXOffset>("RoundXOffset", 0),
    PropInt<&TCoolFormHook::RoundYOffset, &TCoolFormHook::SetRoundYOffset>("RoundYOffset", 0),
    PropColor<&TCoolFormHook::StartColor, &TCoolFormHook::SetStartColor>("StartColor", clBlue),
    PropInt<&TCoolFormHook::TransparencyIntense, &TCoolFormHook::SetTransparencyIntense>("TransparencyIntense",
                                                                                        128),
    PropObject<&TCoolFormHook::Wallpaper, &TCoolFormHook::SetWallpaper>("Wallpaper"),
};
ORV_IMPLEMENT_COMPONENT(TCoolFormHook, TComponent, TCoolFormHook_Props)

// ---------------------------------------------------------------------------------------------
// TMDICoolFormHook

TMDICoolFormHook::TMDICoolFormHook(TComponent* AOwner) : TCoolFormHook(AOwner) {}

TMDICoolFormHook::~TMDICoolFormHook() {
  const TNotifyEvent Mine = TNotifyEvent::Bind<&TMDICoolFormHook::HookedPaint>(this);
  for (auto& [Child, Saved] : FSavedPaints) {
    if (Child->OnPaint == Mine) Child->OnPaint = Saved;
    Child->RemoveFreeNotification(this);
  }
  FSavedPaints.clear();
  FClientHook.Remove();
}

void TMDICoolFormHook::Loaded() {
  TCoolFormHook::Loaded();
  if (!HasState(csDesigning)) HookClient();
}

void TMDICoolFormHook::HookClient() {
  if (FClientHook.Installed() || !Form() || !Form()->ClientHandle()) return;
  FClientHook.Install(Form()->ClientHandle(), TWindowProcHook::THandler::Bind<&TMDICoolFormHook::ClientWndProc>(this));
}

void TMDICoolFormHook::Notification(TComponent* AComponent, TOperation Operation) {
  TCoolFormHook::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == Form()) Hook()->SetWinControl(nullptr);  // forgets the form
  FSavedPaints.erase(std::remove_if(FSavedPaints.begin(), FSavedPaints.end(),
                                    [&](const auto& P) { return P.first == AComponent; }),
                     FSavedPaints.end());
}

void TMDICoolFormHook::ApplyOptions(TCoolOptions Old, TCoolOptions New) {
  HookClient();  // a window the form made again has a new client
  if (HWND Client = Form()->ClientHandle(); Client && Changed(Old, New, oc3dMDIForm)) {
    const LONG_PTR Ex = GetWindowLongPtrA(Client, GWL_EXSTYLE);
    SetWindowLongPtrA(Client, GWL_EXSTYLE,
                      Has(New, oc3dMDIForm) ? Ex | WS_EX_CLIENTEDGE : Ex & ~LONG_PTR(WS_EX_CLIENTEDGE));
    SetWindowPos(Client, nullptr, 0, 0, 0, 0, FrameChanged);
  }
  TCoolFormHook::ApplyOptions(Old, New);
}

void TMDICoolFormHook::ClientWndProc(TMessage& Msg) {
  TCustomForm* F = Form();
  if (F && !HasState(csDesigning)) {
    switch (Msg.Msg) {
      case WM_ERASEBKGND: {
        const HDC DC = reinterpret_cast<HDC>(Msg.WParam);
        const TRect R = F->ClientRect();
        bool Painted = false;
        if (Has(Options(), ocPaintGradiently)) {
          PaintGradient(DC, R);
          Painted = true;
        }
        if (Has(Options(), ocPaintWallpaper))
          Painted = CTLDrawWallpaper(DC, R, Has(Options(), ocTileWallpaper), cmSrcCopy) || Painted;
        if (Painted) {
          Msg.Result = 1;
          return;
        }
        break;
      }
      case WM_HSCROLL:
      case WM_VSCROLL: {
        const RECT R = AsRECT(F->ClientRect());
        InvalidateRect(F->ClientHandle(), &R, TRUE);
        break;
      }
      case WM_MDICREATE:
        if (F->MDIChildCount() > 0) {
          WrapPaint(F->MDIChildren(F->MDIChildCount() - 1));
          if (Has(Options(), ocNoMDIChildrensCaptions))
            reinterpret_cast<MDICREATESTRUCTA*>(Msg.LParam)->style &= ~DWORD(WS_CAPTION);
        }
        break;
      default: break;
    }
  }
  Msg.Result = FClientHook.CallPrevious(Msg);
}

TMDICoolFormHook::TSavedPaints::iterator TMDICoolFormHook::SavedPaint(TCustomForm* Child) {
  return std::find_if(FSavedPaints.begin(), FSavedPaints.end(), [Child](const auto& P) { return P.first == Child; });
}

void TMDICoolFormHook::WrapPaint(TCustomForm* Child) {
  const TNotifyEvent Mine = TNotifyEvent::Bind<&TMDICoolFormHook::HookedPaint>(this);
  if (Child->OnPaint == Mine) return;  // a child made again is wrapped already
  auto It = SavedPaint(Child);
  if (It != FSavedPaints.end()) It->second = Child->OnPaint;
  else FSavedPaints.emplace_back(Child, Child->OnPaint);
  Child->FreeNotification(this);
  Child->OnPaint = Mine;
}

void TMDICoolFormHook::HookedPaint(TObject* Sender) {
  auto* Child = dynamic_cast<TCustomForm*>(Sender);
  if (!Child) return;
  const HDC DC = Child->Canvas()->Handle();
  const TRect R = Child->ClientRect();
  if (Has(Options(), ocGradientForMDIChildren)) PaintGradient(DC, R);
  if (Has(Options(), ocWallpaperForMDIChildren)) CTLDrawWallpaper(DC, R, Has(Options(), ocTileWallpaper), cmSrcCopy);
  auto It = SavedPaint(Child);
  if (It != FSavedPaints.end() && It->second) It->second(this);
}

ORV_IMPLEMENT_COMPONENT_NOPROPS(TMDICoolFormHook, TCoolFormHook)

namespace {
struct TCoolFormHookUnit {
  TCoolFormHookUnit() { RegisterClasses({TCoolFormHook::StaticClass(), TMDICoolFormHook::StaticClass()}); }
} CoolFormHookUnit;
}  // namespace
