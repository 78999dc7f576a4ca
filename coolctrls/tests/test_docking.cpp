// Docking with the real mouse: a dkDock cool panel dragged onto a cool group box that is a dock
// site and onto the empty desktop, the events of the drag in order, sites that refuse, Esc,
// the floating host, a dock manager laying out two clients, and sites freed with clients in
// them.
#include "coolctrls/CoolCtrls.h"
#include "suite/tests/suitetest.h"
#include "vcl/Docking.h"
#include "vcl/tests/vcltest.h"
#include "coolctrls/tests/dragtest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using suitetest::TFormScene;

std::string Name(const TObject* O) {
  auto* C = dynamic_cast<const TComponent*>(O);
  return C ? C->Name().str() : std::string(O ? "?" : "nil");
}

// Records the docking events (OnGetSiteInfo apart: it comes with every move) and can refuse.
class TDockLog : public TObject {
public:
  std::vector<std::string> Events;
  bool RefuseOver = false, RefuseUnDock = false;
  int SiteInfos = 0;
  TControl* SiteInfoClient = nullptr;
  TRect LastDockRect;
  TPoint DropAt, EndAt;
  TObject* EndTarget = reinterpret_cast<TObject*>(1);

  void StartDock(TObject* Sender, TDragDockObject*& Object) {
    Events.push_back("StartDock " + Name(Sender));
    (void)Object;
  }
  void EndDock(TObject* Sender, TObject* Target, int X, int Y) {
    Events.push_back("EndDock " + Name(Sender) + " " + Name(Target));
    EndTarget = Target;
    EndAt = Point(X, Y);
  }
  void GetSiteInfo(TObject*, TControl* Client, TRect&, TPoint, bool&) {
    ++SiteInfos;
    SiteInfoClient = Client;
  }
  void DockOver(TObject* Sender, TDragDockObject* Source, int, int, TDragState State, bool& Accept) {
    static const char* const States[] = {"enter", "leave", "move"};
    std::string E = "DockOver " + Name(Sender) + " " + States[State];
    if (Events.empty() || Events.back() != E) Events.push_back(E);
    if (State == dsDragMove) LastDockRect = Source->DockRect();
    if (RefuseOver) Accept = false;
  }
  void DockDrop(TObject* Sender, TDragDockObject* Source, int X, int Y) {
    Events.push_back("DockDrop " + Name(Sender) + " " + Name(Source->Control()));
    DropAt = Point(X, Y);
  }
  void UnDock(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow) {
    Events.push_back("UnDock " + Name(Sender) + " " + Name(Client) + " " + Name(NewTarget));
    if (RefuseUnDock) Allow = false;
  }
};

// A form with a dkDock cool panel and a cool group box that is a dock site.
struct TDockScene : TFormScene {
  TCoolPanel* Panel;
  TCoolGroupBox* Site;
  TDockLog Log;

  TDockScene() : TFormScene(560, 320) {
    Form->SetName("Form");
    Panel = Add<TCoolPanel>(20, 40, 120, 90);
    Panel->SetName("Panel");
    SetEnumProp(Panel, "DragMode", "dmAutomatic");
    SetEnumProp(Panel, "DragKind", "dkDock");
    Site = Add<TCoolGroupBox>(260, 20, 260, 260);
    Site->SetName("Site");
    Site->SetDockSite(true);
    Panel->OnStartDock = EVENT(&Log, TDockLog::StartDock);
    Panel->OnEndDock = EVENT(&Log, TDockLog::EndDock);
    Site->OnGetSiteInfo = EVENT(&Log, TDockLog::GetSiteInfo);
    Site->OnDockOver = EVENT(&Log, TDockLog::DockOver);
    Site->OnDockDrop = EVENT(&Log, TDockLog::DockDrop);
    Site->OnUnDock = EVENT(&Log, TDockLog::UnDock);
    Show();
  }
  // Drags the panel with the real mouse by its point (50, 40) to form client point (X, Y).
  void DragPanelTo(int X, int Y) {
    const TPoint From = Form->ScreenToClient(Panel->ClientToScreen(Point(50, 40)));
    vcltest::MoveMouse(Form->Handle(), From.X, From.Y);
    std::vector<INPUT> Inputs{vcltest::MouseButtonInput(mbLeft, true)};
    for (int I = 1; I <= 8; ++I)
      Inputs.push_back(dragtest::MoveTo(Form->Handle(), From.X + (X - From.X) * I / 8, From.Y + (Y - From.Y) * I / 8));
    Inputs.push_back(dragtest::MoveTo(Form->Handle(), X, Y));  // held still there a moment
    Inputs.push_back(vcltest::MouseButtonInput(mbLeft, false));
    vcltest::SendInputs(Inputs);
    vcltest::PumpRounds(3);
  }
  // The panel's top-left corner on the screen.
  TPoint PanelOrigin() const { return Panel->ClientToScreen(Point(0, 0)); }
};

// The events without the passes the window system makes of late reports of earlier cursor
// positions: an enter followed at once by a leave of the same site, or a leave followed at once
// by an enter, is dropped, and repeated moves count once.
std::vector<std::string> Settled(const std::vector<std::string>& Events) {
  std::vector<std::string> R;
  auto Undoes = [&R](const std::string& E, const char* State, const char* Undone) {
    const size_t At = E.rfind(State);
    return At != std::string::npos && At + std::strlen(State) == E.size() && !R.empty() &&
           R.back() == E.substr(0, At) + Undone;
  };
  for (const std::string& E : Events) {
    if (Undoes(E, " leave", " enter") || Undoes(E, " enter", " leave")) {
      R.pop_back();
      continue;
    }
    if (R.empty() || R.back() != E) R.push_back(E);
  }
  return R;
}

TFloatingDockHost* HostOf(TControl* C) { return dynamic_cast<TFloatingDockHost*>(C->Parent()); }

int HostCount() {
  int N = 0;
  for (int I = 0; I < Screen->FormCount(); ++I)
    if (dynamic_cast<TFloatingDockHost*>(Screen->Forms(I))) ++N;
  return N;
}

TEST(Docking, APanelDraggedOntoADockSiteDocksWhereItWasDroppedWithItsEventsInOrder) {
  TDockScene S;
  const TPoint Drop(360, 150);  // form client point inside the group box
  S.DragPanelTo(Drop.X, Drop.Y);
  ASSERT_EQ(S.Panel->Parent(), S.Site);
  EXPECT_EQ(S.Panel->HostDockSite(), S.Site);
  EXPECT_FALSE(S.Panel->Floating());
  EXPECT_EQ(S.Site->DockClientCount(), 1);
  EXPECT_EQ(Settled(S.Log.Events), (std::vector<std::string>{"StartDock Panel", "DockOver Site enter",
                                                             "DockOver Site move", "DockDrop Site Panel",
                                                             "EndDock Panel Site"}));
  EXPECT_GT(S.Log.SiteInfos, 0);
  EXPECT_EQ(S.Log.SiteInfoClient, S.Panel);
  // Without a dock manager it keeps its size and lands where the mouse carried it.
  const TPoint InSite = S.Site->ScreenToClient(S.Form->ClientToScreen(Drop));
  EXPECT_EQ(S.Log.DropAt, InSite);
  EXPECT_EQ(S.Log.EndTarget, S.Site);
  EXPECT_EQ(S.Log.EndAt, InSite);
  EXPECT_EQ(S.Panel->Left(), InSite.X - 50);
  EXPECT_EQ(S.Panel->Top(), InSite.Y - 40);
  EXPECT_EQ(S.Panel->Width(), 120);
  EXPECT_EQ(S.Panel->Height(), 90);
  EXPECT_EQ(S.Log.LastDockRect, Bounds(S.PanelOrigin().X, S.PanelOrigin().Y, 120, 90))
      << "the frame showed where it landed";
  EXPECT_TRUE(IsWindowVisible(S.Panel->Handle()));
  EXPECT_EQ(GetParent(S.Panel->Handle()), S.Site->Handle());
}

TEST(Docking, ADropOnTheDesktopFloatsThePanelAndDockingItBackClosesTheHost) {
  TDockScene S;
  const int Hosts = HostCount();
  // Below the form, on the empty desktop (the way there passes no site).
  const TPoint Desktop = S.Form->ScreenToClient(Point(S.Form->Left() + 100, S.Form->Top() + S.Form->Height() + 100));
  S.DragPanelTo(Desktop.X, Desktop.Y);
  TFloatingDockHost* Host = HostOf(S.Panel);
  ASSERT_NE(Host, nullptr);
  EXPECT_TRUE(S.Panel->Floating());
  EXPECT_EQ(S.Panel->HostDockSite(), Host);
  EXPECT_EQ(HostCount(), Hosts + 1);
  EXPECT_TRUE(IsWindowVisible(Host->Handle()));
  EXPECT_TRUE(GetWindowLongA(Host->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  const TPoint Screen = S.Form->ClientToScreen(Desktop);
  EXPECT_EQ(S.PanelOrigin(), Screen - Point(50, 40));
  EXPECT_EQ(Host->ClientWidth(), 120);
  EXPECT_EQ(Host->ClientHeight(), 90);
  EXPECT_EQ(S.Log.Events, (std::vector<std::string>{"StartDock Panel", "EndDock Panel nil"}));
  EXPECT_EQ(S.Log.EndAt, Screen);

  // Docked back into the site, the host goes away.
  S.Log.Events.clear();
  const TPoint From = S.Panel->ClientToScreen(Point(50, 40));
  const TPoint To = S.Site->ClientToScreen(Point(100, 120));
  vcltest::MoveMouse(GetDesktopWindow(), From.X, From.Y);
  dragtest::Drag(GetDesktopWindow(), From.X, From.Y, To.X - From.X, To.Y - From.Y);
  vcltest::PumpUntil([&] { return HostCount() == Hosts; });
  EXPECT_EQ(S.Panel->Parent(), S.Site);
  EXPECT_EQ(HostCount(), Hosts) << "the empty floating host was freed";
  ASSERT_GE(S.Log.Events.size(), 2u);
  EXPECT_EQ(S.Log.Events.front(), "StartDock Panel");
  EXPECT_EQ(S.Log.Events.back(), "EndDock Panel Site");
}

TEST(Docking, ASiteThatRefusesInDockOverOrUnDockKeepsThePanelOut) {
  {
    TDockScene S;
    S.Log.RefuseOver = true;
    S.DragPanelTo(360, 150);
    EXPECT_NE(S.Panel->Parent(), S.Site);
    EXPECT_EQ(S.Site->DockClientCount(), 0);
    EXPECT_TRUE(S.Panel->Floating()) << "a refused drop floats where it was let go";
    EXPECT_EQ(Settled(S.Log.Events), (std::vector<std::string>{"StartDock Panel", "DockOver Site enter",
                                                               "DockOver Site move", "DockOver Site leave",
                                                               "EndDock Panel nil"}));
    TObject::Free(HostOf(S.Panel));  // hands the panel back to nobody; its owner frees it
    EXPECT_EQ(S.Panel->Parent(), nullptr);
  }
  {
    TDockScene S;
    ASSERT_TRUE(S.Panel->ManualDock(S.Site));
    const TRect Docked = S.Panel->BoundsRect();
    S.Log.Events.clear();
    S.Log.RefuseUnDock = true;
    const TPoint Desktop = S.Form->ScreenToClient(Point(S.Form->Left() + S.Form->Width() + 150, S.Form->Top() + 200));
    S.DragPanelTo(Desktop.X, Desktop.Y);
    EXPECT_EQ(S.Panel->Parent(), S.Site);
    EXPECT_EQ(S.Panel->BoundsRect(), Docked);
    EXPECT_EQ(Settled(S.Log.Events),
              (std::vector<std::string>{"StartDock Panel", "DockOver Site enter", "DockOver Site move",
                                        "DockOver Site leave", "UnDock Site Panel nil", "EndDock Panel nil"}));
    EXPECT_EQ(S.Log.EndAt, TPoint());
    S.Log.RefuseUnDock = false;
    EXPECT_TRUE(S.Panel->ManualFloat(Bounds(700, 500, 120, 90)));
    EXPECT_TRUE(S.Panel->Floating());
    EXPECT_EQ(S.Log.Events.back(), "UnDock Site Panel nil");
  }
}

// A pixel of the screen as it shows now.
COLORREF ScreenPixel(TPoint P) {
  HDC DC = GetDC(nullptr);
  COLORREF C = GetPixel(DC, P.X, P.Y);
  ReleaseDC(nullptr, DC);
  return C;
}

TEST(Docking, TheDragShowsAFrameWhereThePanelWouldLandAndTakesItAway) {
  TDockScene S;
  const TPoint From = S.Panel->ClientToScreen(Point(50, 40));
  const TPoint To = S.Site->ClientToScreen(Point(100, 120));
  const TRect Frame = Bounds(To.X - 50, To.Y - 40, 120, 90);
  // A point on the frame's top edge, one on its right edge and one inside it, all on the site.
  const TPoint Edge0(Frame.Left + 20, Frame.Top + 1), Edge1(Frame.Right - 2, Frame.Top + 40);
  const TPoint Inside(Frame.Left + 20, Frame.Top + 20);
  vcltest::MoveMouse(GetDesktopWindow(), From.X, From.Y);
  const COLORREF Before0 = ScreenPixel(Edge0), Before1 = ScreenPixel(Edge1), BeforeInside = ScreenPixel(Inside);
  std::vector<INPUT> Inputs{vcltest::MouseButtonInput(mbLeft, true)};
  for (int I = 1; I <= 8; ++I)
    Inputs.push_back(dragtest::MoveTo(GetDesktopWindow(), From.X + (To.X - From.X) * I / 8, From.Y + (To.Y - From.Y) * I / 8));
  Inputs.push_back(dragtest::MoveTo(GetDesktopWindow(), To.X, To.Y));  // held still there a moment
  vcltest::SendInputs(Inputs);
  ASSERT_TRUE(S.Panel->Dragging());
  ASSERT_EQ(S.Log.LastDockRect, Frame);
  // The frame: a ring in the highlight colour, the site showing through its middle.
  const COLORREF Ring = GetSysColor(COLOR_HIGHLIGHT);
  ASSERT_NE(Before0, Ring);
  vcltest::PumpUntil([&] { return ScreenPixel(Edge0) == Ring && ScreenPixel(Edge1) == Ring; });
  EXPECT_EQ(ScreenPixel(Edge0), Ring);
  EXPECT_EQ(ScreenPixel(Edge1), Ring);
  EXPECT_EQ(ScreenPixel(Inside), BeforeInside);
  // Back over the form, away from the site: the frame follows and leaves nothing on the site.
  const TPoint Away = S.Form->ClientToScreen(Point(200, 260));
  const TPoint AwayEdge(Away.X - 50 + 20, Away.Y - 40 + 1);
  const COLORREF BeforeAway = ScreenPixel(AwayEdge);
  // (The move is sent again while waiting: a late report of the earlier place may undo it.)
  vcltest::PumpUntil([&] {
    if (ScreenPixel(Edge0) == Before0 && ScreenPixel(Edge1) == Before1) return true;
    vcltest::SendMouseMove(GetDesktopWindow(), Away.X, Away.Y);
    return false;
  });
  EXPECT_EQ(ScreenPixel(Edge0), Before0);
  EXPECT_EQ(ScreenPixel(Edge1), Before1);
  // The right button cancels; the floating frame goes too.
  vcltest::SendInputs({vcltest::MouseButtonInput(mbRight, true), vcltest::MouseButtonInput(mbRight, false)});
  EXPECT_FALSE(S.Panel->Dragging());
  EXPECT_EQ(S.Panel->Parent(), S.Form.get());
  vcltest::PumpUntil([&] { return ScreenPixel(AwayEdge) == BeforeAway; });
  EXPECT_EQ(ScreenPixel(AwayEdge), BeforeAway);
  vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, false)});
  EXPECT_EQ(S.Panel->Parent(), S.Form.get());
}

TEST(Docking, EscapeCancelsTheDockDrag) {
  TDockScene S;
  const TRect Before = S.Panel->BoundsRect();
  const TPoint From = S.Panel->ClientToScreen(Point(50, 40));
  const TPoint To = S.Site->ClientToScreen(Point(100, 120));
  vcltest::MoveMouse(GetDesktopWindow(), From.X, From.Y);
  std::vector<INPUT> Inputs{vcltest::MouseButtonInput(mbLeft, true)};
  for (int I = 1; I <= 8; ++I)
    Inputs.push_back(dragtest::MoveTo(GetDesktopWindow(), From.X + (To.X - From.X) * I / 8, From.Y + (To.Y - From.Y) * I / 8));
  Inputs.push_back(vcltest::KeyInput(VK_ESCAPE, true));
  Inputs.push_back(vcltest::KeyInput(VK_ESCAPE, false));
  Inputs.push_back(vcltest::MouseButtonInput(mbLeft, false));
  vcltest::SendInputsThroughApplication(Inputs);
  EXPECT_EQ(S.Panel->Parent(), S.Form.get());
  EXPECT_EQ(S.Panel->BoundsRect(), Before);
  EXPECT_FALSE(S.Panel->Dragging());
  EXPECT_EQ(Settled(S.Log.Events), (std::vector<std::string>{"StartDock Panel", "DockOver Site enter",
                                                             "DockOver Site move", "DockOver Site leave",
                                                             "EndDock Panel nil"}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(Docking, ADockManagerLaysOutTwoClientsByTheirDropSidesAndKeepsItOnResize) {
  TFormScene Scene(600, 360);
  auto* Site = Scene.Add<TCoolPanel>(300, 20, 280, 240);
  SetEnumProp(Site, "DockSite", "True");
  SetEnumProp(Site, "UseDockManager", "True");
  ASSERT_NE(Site->DockManager(), nullptr);
  TCoolPanel* Clients[2];
  for (int I = 0; I < 2; ++I) {
    Clients[I] = Scene.Add<TCoolPanel>(20, 20 + I * 110, 100, 80);
    SetEnumProp(Clients[I], "DragMode", "dmAutomatic");
    SetEnumProp(Clients[I], "DragKind", "dkDock");
  }
  Scene.Show();
  auto DragTo = [&](TControl* C, TPoint SiteClient) {
    const TPoint From = Scene.Form->ScreenToClient(C->ClientToScreen(Point(30, 30)));
    const TPoint To = Scene.Form->ScreenToClient(Site->ClientToScreen(SiteClient));
    dragtest::Drag(Scene.Form->Handle(), From.X, From.Y, To.X - From.X, To.Y - From.Y);
    vcltest::PumpRounds(3);
  };
  DragTo(Clients[0], Point(140, 120));
  ASSERT_EQ(Clients[0]->Parent(), Site);
  const TRect Area = Clients[0]->BoundsRect();
  EXPECT_LE(Area.Left, 2);
  EXPECT_LE(Area.Top, 2);
  EXPECT_GE(Area.Right, Site->ClientWidth() - 2) << "the first client fills the site";
  EXPECT_GE(Area.Bottom, Site->ClientHeight() - 2);

  DragTo(Clients[1], Point(20, 120));  // near the left edge
  ASSERT_EQ(Clients[1]->Parent(), Site);
  auto Check = [&](const TRect& A) {
    EXPECT_EQ(Clients[1]->BoundsRect(), TRect(A.Left, A.Top, A.Left + A.Width() / 2, A.Bottom));
    EXPECT_EQ(Clients[0]->BoundsRect(), TRect(A.Left + A.Width() / 2, A.Top, A.Right, A.Bottom));
  };
  Check(Area);
  Site->SetBounds(Site->Left(), Site->Top(), 240, 300);
  const TRect Grown(Area.Left, Area.Top, Area.Right - 40, Area.Bottom + 60);
  Check(Grown);

  // The left one leaves: the other fills the site again.
  ASSERT_TRUE(Clients[1]->ManualDock(Scene.Form.get()));
  EXPECT_EQ(Clients[0]->BoundsRect(), Grown);
  EXPECT_EQ(Site->DockClientCount(), 1);
}

TEST(Docking, FreeingASiteOrAFloatingClientLeavesNothingBehind) {
  TDockScene S;
  const int Hosts = HostCount();
  ASSERT_TRUE(S.Panel->ManualDock(S.Site));
  const int Components = S.Form->ComponentCount();
  TObject::Free(S.Site);
  EXPECT_EQ(S.Form->ComponentCount(), Components - 2) << "the site freed its docked client";
  EXPECT_EQ(S.Form->ControlCount(), 0);

  // A floating client freed by its owner takes its host with it.
  auto* Free = S.Add<TCoolPanel>(20, 40, 100, 80);
  ASSERT_TRUE(Free->ManualFloat(Bounds(700, 400, 100, 80)));
  EXPECT_EQ(HostCount(), Hosts + 1);
  TObject::Free(Free);
  vcltest::PumpUntil([&] { return HostCount() == Hosts; });
  EXPECT_EQ(HostCount(), Hosts);
}

TEST(Docking, ManualDockAndFloatFromCode) {
  TDockScene S;
  const int Hosts = HostCount();
  EXPECT_FALSE(S.Site->ManualDock(S.Site)) << "not into itself";
  ASSERT_TRUE(S.Panel->ManualFloat(Bounds(640, 420, 120, 90)));
  TFloatingDockHost* Host = HostOf(S.Panel);
  ASSERT_NE(Host, nullptr);
  EXPECT_EQ(S.PanelOrigin(), Point(640, 420));
  // Floating again moves the host that holds it alone.
  ASSERT_TRUE(S.Panel->ManualFloat(Bounds(600, 380, 120, 90)));
  EXPECT_EQ(HostOf(S.Panel), Host);
  EXPECT_EQ(S.PanelOrigin(), Point(600, 380));
  ASSERT_TRUE(S.Panel->ManualDock(S.Site));
  EXPECT_EQ(S.Panel->Parent(), S.Site);
  EXPECT_EQ(S.Panel->BoundsRect().TopLeft(), Point(0, 0));
  EXPECT_EQ(S.Log.Events, (std::vector<std::string>{"DockDrop Site Panel"}));
  vcltest::PumpUntil([&] { return HostCount() == Hosts; });
  EXPECT_EQ(HostCount(), Hosts);
}

}  // namespace
