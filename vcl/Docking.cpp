#include "vcl/Docking.h"

#include <algorithm>

constexpr TEnumType TDragKindType{"TDragKind", {"dkDrag", "dkDock"}};

ORV_IMPLEMENT_CLASS(TDragDockObject, TDragObject)
ORV_IMPLEMENT_CLASS(TDockManager, TObject)
ORV_IMPLEMENT_COMPONENT_NOPROPS(TFloatingDockHost, TCustomForm)

namespace {

const char* const SDockIndexError = "List index out of bounds (%d)";
// Thickness of the frame a dock drag shows where the control would land.
constexpr int FrameWidth = 3;

// The dock drag in progress (the drag machinery in vcl/Controls.cpp runs it).
struct TDockDrag {
  TControl* Control = nullptr;
  TDragDockObject* Object = nullptr;
  bool OwnsObject = false;
  TWinControl* Over = nullptr;   // the site that had dsDragEnter last
  TPoint Grab;                   // the mouse from the control's top-left corner at the start
  TRect Frame;                   // the frame on the screen, when Shown
  bool Shown = false;
  HWND FrameWindow = nullptr;
};
TDockDrag GDock;

template <class F> struct TFinally {
  F Fn;
  ~TFinally() { Fn(); }
};
template <class F> TFinally(F) -> TFinally<F>;

// The control's rectangle on the screen.
TRect ScreenBounds(const TControl* C) {
  TPoint P = C->Parent() ? C->Parent()->ClientToScreen(Point(C->Left(), C->Top())) : Point(C->Left(), C->Top());
  return Bounds(P.X, P.Y, C->Width(), C->Height());
}

TRect ScreenRect(const TWinControl* C, const TRect& ClientR) {
  TPoint O = C->ClientToScreen(Point(0, 0));
  TRect R = ClientR;
  R.Offset(O.X, O.Y);
  return R;
}

// The frame is a disabled (so never under the mouse) top-most popup cut to a ring by its region,
// painted in the highlight colour by its class brush; the window system restores what it
// covered.
const char* const FrameClassName = "OrvalenDockFrame";

HWND CreateFrameWindow() {
  static const bool Registered = [] {
    WNDCLASSA C{};
    C.lpfnWndProc = DefWindowProcA;
    C.hInstance = GetModuleHandleA(nullptr);
    C.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
    C.lpszClassName = FrameClassName;
    return RegisterClassA(&C) != 0;
  }();
  if (!Registered) return nullptr;
  return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, FrameClassName, "",
                         WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void HideFrame() {
  if (GDock.FrameWindow) DestroyWindow(GDock.FrameWindow);
  GDock.FrameWindow = nullptr;
  GDock.Shown = false;
}

void ShowFrame(const TRect& R) {
  if (GDock.Shown && GDock.Frame == R) return;
  if (R.IsEmpty()) {
    HideFrame();
    return;
  }
  if (!GDock.FrameWindow) GDock.FrameWindow = CreateFrameWindow();
  HWND Wnd = GDock.FrameWindow;
  if (!Wnd) return;
  const int W = R.Width(), H = R.Height();
  const int T = std::min(FrameWidth, std::min(W, H) / 2);
  HRGN Ring = CreateRectRgn(0, 0, W, H);
  HRGN Hole = CreateRectRgn(T, T, W - T, H - T);
  if (Ring && Hole) CombineRgn(Ring, Ring, Hole, RGN_DIFF);
  if (Hole) DeleteObject(Hole);
  if (Ring && !SetWindowRgn(Wnd, Ring, FALSE)) DeleteObject(Ring);  // the window owns it once set
  SetWindowPos(Wnd, HWND_TOPMOST, R.Left, R.Top, W, H, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  GDock.Frame = R;
  GDock.Shown = true;
}

// The nearest DockSite control around the screen point that would take Client (not Client
// itself nor one inside it), asking each one's GetSiteInfo.
TWinControl* FindDockSite(TControl* Client, TPoint Pos) {
  auto* ClientWin = dynamic_cast<TWinControl*>(Client);
  for (TWinControl* Site = FindVCLWindow(Pos); Site; Site = Site->Parent()) {
    if (!Site->DockSite() || !Site->Showing() || !Site->Enabled() || Site == Client) continue;
    if (ClientWin && ClientWin->ContainsControl(Site)) continue;
    TRect Influence = ScreenBounds(Site);
    bool CanDock = true;
    Site->GetSiteInfo(Client, Influence, Pos, CanDock);
    if (CanDock && PtInRect(Influence, Pos)) return Site;
  }
  return nullptr;
}

// Where Source's control would go in Site: with a dock manager, the part of the site on the
// side nearest the mouse; without one, where the mouse carries it.
void PositionDockRect(TWinControl* Site, TDragDockObject* Source) {
  TControl* C = Source->Control();
  const TPoint Pos = Source->DragPos();
  if (TDockManager* M = Site->DockManager()) {
    TControl* On = nullptr;
    TAlign Side = alNone;
    TRect R;
    M->PositionDockRect(C, Site->ScreenToClient(Pos), On, Side, R);
    Source->SetDropOnControl(On);
    Source->SetDropAlign(Side);
    Source->SetDockRect(ScreenRect(Site, R));
  } else {
    Source->SetDropOnControl(nullptr);
    Source->SetDropAlign(alNone);
    Source->SetDockRect(Bounds(Pos.X - GDock.Grab.X, Pos.Y - GDock.Grab.Y, C->Width(), C->Height()));
  }
}

void LeaveSite(TDragDockObject* Source) {
  TWinControl* Site = GDock.Over;
  GDock.Over = nullptr;
  if (!Site) return;
  bool Accept = false;
  TPoint L = Site->ScreenToClient(Source->DragPos());
  Site->DockOver(Source, L.X, L.Y, dsDragLeave, Accept);
}

}  // namespace

TRect DockSideRect(const TRect& R, TAlign Side) {
  const int HalfW = R.Width() / 2, HalfH = R.Height() / 2;
  switch (Side) {
    case alLeft: return TRect(R.Left, R.Top, R.Left + HalfW, R.Bottom);
    case alRight: return TRect(R.Right - HalfW, R.Top, R.Right, R.Bottom);
    case alTop: return TRect(R.Left, R.Top, R.Right, R.Top + HalfH);
    case alBottom: return TRect(R.Left, R.Bottom - HalfH, R.Right, R.Bottom);
    default: return R;
  }
}

// ---------------------------------------------------------------------------------------------
// TDockManager

TDockManager::~TDockManager() = default;

TDockManager::TNode* TDockManager::Find(TNode* Node, const TControl* Client) {
  if (!Node) return nullptr;
  if (Node->Control) return Node->Control == Client ? Node : nullptr;
  if (TNode* N = Find(Node->First.get(), Client)) return N;
  return Find(Node->Second.get(), Client);
}

TDockManager::TNode* TDockManager::LeafAt(TNode* Node, TPoint Pos, const TControl* Skip) {
  if (!Node) return nullptr;
  if (Node->Control) return Node->Control != Skip && PtInRect(Node->Bounds, Pos) ? Node : nullptr;
  if (TNode* N = LeafAt(Node->First.get(), Pos, Skip)) return N;
  return LeafAt(Node->Second.get(), Pos, Skip);
}

std::unique_ptr<TDockManager::TNode>& TDockManager::Owning(TNode* Node) {
  if (!Node->Parent) return FRoot;
  return Node->Parent->First.get() == Node ? Node->Parent->First : Node->Parent->Second;
}

void TDockManager::InsertControl(TControl* Client, TAlign Side, TControl* DropOnControl) {
  if (!Client) return;
  RemoveControl(Client);
  auto Leaf = std::make_unique<TNode>();
  Leaf->Control = Client;
  if (!FRoot) {
    FRoot = std::move(Leaf);
    return;
  }
  if (Side != alLeft && Side != alRight && Side != alTop && Side != alBottom) Side = alRight;
  TNode* Target = DropOnControl && DropOnControl != Client ? Find(FRoot.get(), DropOnControl) : nullptr;
  if (!Target) Target = FRoot.get();
  std::unique_ptr<TNode>& Slot = Owning(Target);
  auto Split = std::make_unique<TNode>();
  Split->Side = Side;
  Split->Parent = Target->Parent;
  Split->Bounds = Target->Bounds;
  Split->Second = std::move(Slot);
  Split->Second->Parent = Split.get();
  Leaf->Parent = Split.get();
  Split->First = std::move(Leaf);
  Slot = std::move(Split);
}

void TDockManager::RemoveControl(TControl* Client) {
  TNode* Leaf = Find(FRoot.get(), Client);
  if (!Leaf) return;
  TNode* Split = Leaf->Parent;
  if (!Split) {
    FRoot.reset();
    return;
  }
  std::unique_ptr<TNode> Sibling = std::move(Split->First.get() == Leaf ? Split->Second : Split->First);
  Sibling->Parent = Split->Parent;
  Owning(Split) = std::move(Sibling);  // frees the split and the leaf
}

void TDockManager::Layout(TNode* Node, const TRect& R) {
  if (!Node) return;
  Node->Bounds = R;
  if (Node->Control) {
    Node->Control->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    return;
  }
  TRect First = DockSideRect(R, Node->Side), Second = R;
  switch (Node->Side) {
    case alLeft: Second.Left = First.Right; break;
    case alRight: Second.Right = First.Left; break;
    case alTop: Second.Top = First.Bottom; break;
    case alBottom: Second.Bottom = First.Top; break;
    default: break;
  }
  Layout(Node->First.get(), First);
  Layout(Node->Second.get(), Second);
}

void TDockManager::ResetBounds(const TRect& Area) {
  FArea = Area;
  Layout(FRoot.get(), Area);
}

void TDockManager::PositionDockRect(const TControl* Client, TPoint Pos, TControl*& DropOnControl, TAlign& Side,
                                    TRect& Rect) const {
  DropOnControl = nullptr;
  const bool Alone = !FRoot || (FRoot->Control && FRoot->Control == Client);
  if (Alone) {
    Side = alClient;
    Rect = FArea;
    return;
  }
  TRect Target = FArea;
  if (TNode* Leaf = LeafAt(FRoot.get(), Pos, Client)) {
    DropOnControl = Leaf->Control;
    Target = Leaf->Bounds;
  }
  // The nearest edge, in proportion to the rectangle's size.
  const double W = std::max(1, Target.Width()), H = std::max(1, Target.Height());
  const double Distances[4] = {(Pos.X - Target.Left) / W, (Target.Right - Pos.X) / W, (Pos.Y - Target.Top) / H,
                               (Target.Bottom - Pos.Y) / H};
  const TAlign Sides[4] = {alLeft, alRight, alTop, alBottom};
  int Best = 0;
  for (int I = 1; I < 4; ++I)
    if (Distances[I] < Distances[Best]) Best = I;
  Side = Sides[Best];
  Rect = DockSideRect(Target, Side);
}

// ---------------------------------------------------------------------------------------------
// TFloatingDockHost

TFloatingDockHost::TFloatingDockHost(TComponent* AOwner) : TCustomForm(AOwner) {
  SetBorderStyle(bsToolWindow);
  SetBorderIcons(1u << biSystemMenu);
}

void TFloatingDockHost::BeforeDestruction() {
  FDetaching = true;
  while (DockClientCount() > 0) DockClients(DockClientCount() - 1)->SetParent(nullptr);
  TCustomForm::BeforeDestruction();
}

void TFloatingDockHost::Dispatch(TMessage& Message) {
  TCustomForm::Dispatch(Message);
  if (Message.Msg == CM_CONTROLLISTCHANGE && Message.LParam == 0 && DockClientCount() == 0 && !FDetaching &&
      !HasState(csDestroying))
    Release();
}

void TFloatingDockHost::PlaceClientArea(const TRect& ScreenRect) {
  HandleNeeded();
  SetClientWidth(ScreenRect.Width());
  SetClientHeight(ScreenRect.Height());
  RECT W{}, C{};
  GetWindowRect(WindowHandle(), &W);
  GetClientRect(WindowHandle(), &C);
  MapWindowPoints(WindowHandle(), nullptr, reinterpret_cast<POINT*>(&C), 2);
  SetBounds(ScreenRect.Left - (C.left - W.left), ScreenRect.Top - (C.top - W.top), Width(), Height());
}

void TFloatingDockHost::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomForm::AlignControls(AControl, Rect);
  for (int I = 0; I < DockClientCount(); ++I) DockClients(I)->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
}

// ---------------------------------------------------------------------------------------------
// TControl

TWinControl* TControl::HostDockSite() const {
  if (!FParent) return nullptr;
  const auto& L = FParent->FDockClients;
  return std::find(L.begin(), L.end(), this) != L.end() ? FParent : nullptr;
}

bool TControl::Floating() const { return dynamic_cast<TFloatingDockHost*>(HostDockSite()) != nullptr; }

void TControl::DoStartDock(TDragDockObject*& DragObject) {
  if (OnStartDock) OnStartDock(this, DragObject);
}

void TControl::DoEndDock(TObject* Target, int X, int Y) {
  if (OnEndDock) OnEndDock(this, Target, X, Y);
}

void TControl::DockInto(TWinControl* Site, const TRect& ClientBounds) {
  if (FParent != Site) SetParent(Site);
  if (FParent != Site) return;
  auto& L = Site->FDockClients;
  if (std::find(L.begin(), L.end(), this) == L.end()) L.push_back(this);
  SetBounds(ClientBounds.Left, ClientBounds.Top, ClientBounds.Width(), ClientBounds.Height());
}

bool TControl::ManualDock(TWinControl* NewSite, TControl* DropControl, TAlign ControlSide) {
  if (!NewSite) return ManualFloat(ScreenBounds(this));
  auto* Self = dynamic_cast<TWinControl*>(this);
  if (NewSite == this || (Self && Self->ContainsControl(NewSite))) return false;
  TWinControl* Old = HostDockSite();
  if (Old && Old != NewSite && !Old->DoUnDock(NewSite, this)) return false;
  TDragDockObject Source;
  Source.SetControl(this);
  Source.SetDragTarget(NewSite);
  Source.SetDropAlign(ControlSide);
  Source.SetDropOnControl(DropControl);
  Source.SetDragPos(NewSite->ClientToScreen(Point(0, 0)));
  Source.SetDockRect(Bounds(Source.DragPos().X, Source.DragPos().Y, FWidth, FHeight));
  NewSite->DockDrop(&Source, 0, 0);
  return HostDockSite() == NewSite;
}

bool TControl::ManualFloat(const TRect& ScreenRect) {
  TWinControl* Old = HostDockSite();
  if (auto* Host = dynamic_cast<TFloatingDockHost*>(Old); Host && Host->DockClientCount() == 1) {
    Host->PlaceClientArea(ScreenRect);
    return true;
  }
  if (Old && !Old->DoUnDock(nullptr, this)) return false;
  auto* Host = TCustomForm::CreateNew<TFloatingDockHost>(Application);
  try {
    Host->SetCaption(GetText());
    Host->PlaceClientArea(ScreenRect);
    DockInto(Host, Rect(0, 0, ScreenRect.Width(), ScreenRect.Height()));
    Host->Show();
  } catch (...) {
    TObject::Free(Host);
    throw;
  }
  return true;
}

// ----- the dock drag

void TControl::DockDragStart() {
  TDragDockObject* Object = nullptr;
  DoStartDock(Object);
  HideFrame();
  GDock = TDockDrag{};
  GDock.Control = this;
  GDock.OwnsObject = Object == nullptr;
  GDock.Object = Object ? Object : new TDragDockObject();
  GDock.Object->SetControl(this);
  POINT P{};
  GetCursorPos(&P);
  const TRect R = ScreenBounds(this);
  GDock.Grab = TPoint(P) - R.TopLeft();
  GDock.Object->SetDragPos(TPoint(P));
  GDock.Object->SetDockRect(R);
}

void TControl::DockDragMove(const TPoint& ScreenPos) {
  if (GDock.Control != this) return;
  TDragDockObject* Source = GDock.Object;
  Source->SetDragPos(ScreenPos);
  TWinControl* Site = FindDockSite(this, ScreenPos);
  if (Site != GDock.Over) LeaveSite(Source);
  bool Accept = false;
  if (Site && GDock.Control == this) {
    const TDragState State = GDock.Over == Site ? dsDragMove : dsDragEnter;
    GDock.Over = Site;
    TPoint L = Site->ScreenToClient(ScreenPos);
    Site->DockOver(Source, L.X, L.Y, State, Accept);
  }
  if (GDock.Control != this) return;  // the handlers ended the drag
  if (Site && Accept && GDock.Over == Site) {
    Source->SetDragTarget(Site);
  } else {
    Source->SetDragTarget(nullptr);
    Source->SetDropAlign(alNone);
    Source->SetDropOnControl(nullptr);
    Source->SetDockRect(Bounds(ScreenPos.X - GDock.Grab.X, ScreenPos.Y - GDock.Grab.Y, FWidth, FHeight));
  }
  ShowFrame(Source->DockRect());
  ::SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */));
}

void TControl::DockDragEnd(bool Drop) {
  if (GDock.Control != this) return;
  HideFrame();
  TDragDockObject* Source = GDock.Object;
  const bool Owns = GDock.OwnsObject;
  TFinally Free{[Source, Owns] {
    if (Owns) delete Source;
  }};
  TWinControl* Site = Drop ? Source->DragTarget() : nullptr;
  if (GDock.Over != Site) LeaveSite(Source);
  GDock = TDockDrag{};
  TObject* Target = nullptr;
  TPoint Place;
  if (Site) {
    TWinControl* Old = HostDockSite();
    if (!Old || Old == Site || Old->DoUnDock(Site, this)) {
      Place = Site->ScreenToClient(Source->DragPos());
      Site->DockDrop(Source, Place.X, Place.Y);
      Target = Site;
    }
  } else if (Drop && ManualFloat(Source->DockRect())) {
    Place = Source->DragPos();
  }
  DoEndDock(Target, Place.X, Place.Y);
}

void TControl::DockDragRelease() {
  if (GDock.Control == this) {
    HideFrame();
    if (GDock.OwnsObject) delete GDock.Object;
    GDock = TDockDrag{};
    return;
  }
  if (!GDock.Control) return;
  if (GDock.Over == this) GDock.Over = nullptr;
  if (GDock.Object->DragTarget() == this) GDock.Object->SetDragTarget(nullptr);
  if (GDock.Object->DropOnControl() == this) GDock.Object->SetDropOnControl(nullptr);
}

// ---------------------------------------------------------------------------------------------
// TWinControl

TControl* TWinControl::DockClients(int Index) const {
  if (Index < 0 || Index >= DockClientCount()) throw EListError(SDockIndexError, {Index});
  return FDockClients[size_t(Index)];
}

void TWinControl::SetDockSite(bool Value) {
  if (FDockSite == Value) return;
  FDockSite = Value;
  SetUseDockManager(FUseDockManager);
}

void TWinControl::SetUseDockManager(bool Value) {
  FUseDockManager = Value;
  const bool Wanted = FDockSite && FUseDockManager;
  if (Wanted == (FDockManager != nullptr)) return;
  if (!Wanted) {
    FreeAndNil(FDockManager);
    return;
  }
  FDockManager = new TDockManager(this);
  for (TControl* C : FDockClients) FDockManager->InsertControl(C, alRight, nullptr);
  Realign();
}

void TWinControl::GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock) {
  if (OnGetSiteInfo) OnGetSiteInfo(this, Client, InfluenceRect, MousePos, CanDock);
}

void TWinControl::DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = true;
  if (State != dsDragLeave) PositionDockRect(this, Source);
  if (OnDockOver) OnDockOver(this, Source, X, Y, State, Accept);
}

void TWinControl::DockDrop(TDragDockObject* Source, int X, int Y) {
  TControl* C = Source->Control();
  if (!C) return;
  const TRect R = Source->DockRect();
  const TPoint TopLeft = ScreenToClient(R.TopLeft());
  DisableAlign();
  {
    TFinally Done{[this] {
      EnableAlign();
      Realign();
    }};
    C->DockInto(this, Bounds(TopLeft.X, TopLeft.Y, R.Width(), R.Height()));
    if (FDockManager && C->FParent == this) FDockManager->InsertControl(C, Source->DropAlign(), Source->DropOnControl());
  }
  if (OnDockDrop) OnDockDrop(this, Source, X, Y);
}

bool TWinControl::DoUnDock(TWinControl* NewTarget, TControl* Client) {
  bool Allow = true;
  if (OnUnDock) OnUnDock(this, Client, NewTarget, Allow);
  return Allow;
}

void TWinControl::RemoveDockClient(TControl* Client) {
  FDockClients.erase(std::remove(FDockClients.begin(), FDockClients.end(), Client), FDockClients.end());
  if (FDockManager) FDockManager->RemoveControl(Client);
}

void TWinControl::AlignDockClients(const TRect& Rect) {
  TRect Area = ClientRect();
  AdjustClientRect(Area);
  Area = TRect(std::max(Area.Left, Rect.Left), std::max(Area.Top, Rect.Top), std::min(Area.Right, Rect.Right),
               std::min(Area.Bottom, Rect.Bottom));
  FDockManager->ResetBounds(Area);
}

void TWinControl::ReleaseDocking() {
  FreeAndNil(FDockManager);
  FDockClients.clear();
}
