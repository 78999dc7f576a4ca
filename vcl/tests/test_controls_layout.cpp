// Anchors and size constraints on real windows: anchored edits and a graphic control through
// many resizes by the program and by real frame drags, the limits on SetBounds and on a dragged
// frame, the resize events and their order, and form resources carrying both.
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "vcl/tests/vcltest.h"
#include "rtl/Streaming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using vcltest::PumpRounds;
using vcltest::PumpUntil;

struct TFormFree {
  void operator()(TCustomForm* F) const {
    TObject::Free(F);
    PumpRounds(1);
  }
};
using TFormPtr = std::unique_ptr<TForm, TFormFree>;

constexpr TAnchors Anchors(std::initializer_list<TAnchorKind> Kinds) {
  TAnchors A = 0;
  for (TAnchorKind K : Kinds) A |= AnchorOf(K);
  return A;
}

TRect WindowRect(HWND Wnd) {
  RECT R;
  GetWindowRect(Wnd, &R);
  return R;
}

void Foreground(TCustomForm* F) {
  SetForegroundWindow(F->Handle());
  PumpUntil([&] { return GetForegroundWindow() == F->Handle(); }, 50);
}

// A sizeable form with the given client size at (60, 50), shown.
TFormPtr ShownForm(int ClientWidth, int ClientHeight) {
  TFormPtr F(TCustomForm::CreateNew<TForm>(nullptr));
  F->SetBounds(60, 50, 200, 200);
  F->SetClientWidth(ClientWidth);
  F->SetClientHeight(ClientHeight);
  F->Show();
  PumpRounds(3);
  return F;
}

// Sets the form's client size through its outer bounds, as a program does.
void SizeClient(TCustomForm* F, int ClientWidth, int ClientHeight) {
  const int FrameW = F->Width() - F->ClientWidth(), FrameH = F->Height() - F->ClientHeight();
  F->SetBounds(F->Left(), F->Top(), ClientWidth + FrameW, ClientHeight + FrameH);
}

// The bounds a control placed at Placed in a parent of client size Designed must have in a
// client of size Now: its distance to every edge it is anchored to kept, its centre's relative
// place kept on an axis anchored to neither side.
TRect Expected(TAnchors A, const TRect& Placed, TPoint Designed, TPoint Now) {
  auto Axis = [](bool Near, bool Far, int Pos, int Size, int Was, int Is, int& NewPos, int& NewSize) {
    NewPos = Pos;
    NewSize = Size;
    const int FarGap = Was - Pos - Size;
    if (Near && Far) NewSize = Is - Pos - FarGap;
    else if (Far) NewPos = Is - FarGap - Size;
    else if (!Near) NewPos = int(std::lround((Pos + Size / 2) * double(Is) / Was)) - Size / 2;
  };
  int L, T, W, H;
  Axis(A & AnchorOf(akLeft), A & AnchorOf(akRight), Placed.Left, Placed.Width(), Designed.X, Now.X, L, W);
  Axis(A & AnchorOf(akTop), A & AnchorOf(akBottom), Placed.Top, Placed.Height(), Designed.Y, Now.Y, T, H);
  return Bounds(L, T, W, H);
}

// ---------------------------------------------------------------------------------------------
// Four edits anchored four ways on a form.

struct TAnchoredEdit {
  const char* Name;
  TAnchors Anchors;
  TRect Placed;
  TEdit* Edit = nullptr;
};

class AnchoredEdits : public ::testing::Test {
protected:
  static constexpr TPoint Designed{400, 300};
  void SetUp() override {
    Form = ShownForm(Designed.X, Designed.Y);
    ASSERT_EQ(Form->ClientWidth(), Designed.X);
    ASSERT_EQ(Form->ClientHeight(), Designed.Y);
    for (TAnchoredEdit& E : Edits) {
      E.Edit = TComponent::Create<TEdit>(Form.get());
      E.Edit->SetParent(Form.get());
      E.Edit->SetBounds(E.Placed.Left, E.Placed.Top, E.Placed.Width(), E.Placed.Height());
      E.Edit->SetAnchors(E.Anchors);
    }
    PumpRounds(2);
  }
  // Every edit where its anchors put it for the form's present client size.
  void ExpectPlaced(const std::string& When) {
    const TPoint Now(Form->ClientWidth(), Form->ClientHeight());
    for (const TAnchoredEdit& E : Edits) {
      const TRect Want = Expected(E.Anchors, E.Placed, Designed, Now);
      EXPECT_EQ(E.Edit->BoundsRect(), Want) << E.Name << " " << When << " at " << Now.X << " by " << Now.Y;
      // The window is where the control says.
      RECT R;
      GetWindowRect(E.Edit->Handle(), &R);
      MapWindowPoints(nullptr, Form->Handle(), reinterpret_cast<POINT*>(&R), 2);
      EXPECT_EQ(TRect(R), Want) << E.Name << " window " << When;
    }
  }
  TFormPtr Form;
  TAnchoredEdit Edits[4] = {
      {"[akLeft,akTop]", Anchors({akLeft, akTop}), Bounds(10, 10, 100, 21)},
      {"[akLeft,akTop,akRight]", Anchors({akLeft, akTop, akRight}), Bounds(10, 40, 300, 21)},
      {"[akRight,akBottom]", Anchors({akRight, akBottom}), Bounds(290, 260, 100, 21)},
      {"[]", Anchors({}), Bounds(151, 141, 99, 21)},
  };
};

TEST_F(AnchoredEdits, FiftyProgramResizesUpAndDownKeepEveryDistance) {
  // Odd steps, so the centred edit's place needs rounding at every other size.
  for (int I = 1; I <= 50; ++I) {
    const int K = I <= 25 ? I : 50 - I;
    SizeClient(Form.get(), Designed.X + 7 * K, Designed.Y + 5 * K);
    ExpectPlaced("after resize " + std::to_string(I));
  }
  // Back at the designed size every edit is exactly where it was placed.
  ASSERT_EQ(Form->ClientWidth(), Designed.X);
  for (const TAnchoredEdit& E : Edits) EXPECT_EQ(E.Edit->BoundsRect(), E.Placed) << E.Name;
  // Smaller than designed: the stretched edit narrows, the others move.
  SizeClient(Form.get(), 333, 211);
  ExpectPlaced("smaller");
}

TEST_F(AnchoredEdits, BoundsSetByTheProgramAreTheNewPlace) {
  SizeClient(Form.get(), 500, 360);
  // The right-anchored edit moved by the program keeps its new distance from then on.
  TEdit* E = Edits[2].Edit;
  E->SetBounds(300, 200, 120, 21);
  SizeClient(Form.get(), 450, 330);
  EXPECT_EQ(E->BoundsRect(), Bounds(250, 170, 120, 21));
  // New anchors take the present place as theirs.
  Edits[0].Edit->SetAnchors(Anchors({akRight, akTop}));
  SizeClient(Form.get(), 470, 330);
  EXPECT_EQ(Edits[0].Edit->BoundsRect(), Bounds(30, 10, 100, 21));
}

// The mouse pressed on the frame's bottom-right corner and moved by Steps, one input each,
// while the form's sizing loop runs.
void DragCorner(TCustomForm* F, const std::vector<TPoint>& Steps) {
  const TRect R = WindowRect(F->Handle());
  vcltest::MoveMouse(GetDesktopWindow(), R.Right - 3, R.Bottom - 3);
  std::vector<INPUT> Inputs{vcltest::MouseButtonInput(mbLeft, true)};
  for (TPoint S : Steps) {
    INPUT Move{};
    Move.type = INPUT_MOUSE;
    Move.mi.dx = S.X;
    Move.mi.dy = S.Y;
    Move.mi.dwFlags = MOUSEEVENTF_MOVE;
    Inputs.push_back(Move);
  }
  Inputs.push_back(vcltest::MouseButtonInput(mbLeft, false));
  vcltest::SendInputs(Inputs);
}

// Whether the system shows the window's contents while its frame is dragged (every step sizes
// the window) for as long as the object lives.
class TFullDrag {
public:
  TFullDrag() {
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &FWas, 0);
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  }
  ~TFullDrag() { SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FWas, nullptr, 0); }
private:
  BOOL FWas = FALSE;
};

// What the edits' bounds were at every size the form took.
class TResizeLog : public TObject {
  ORV_CLASS(TResizeLog, TObject)
public:
  struct TStep {
    TPoint Client;
    std::vector<TRect> Bounds;
  };
  std::vector<TStep> Steps;
  std::vector<TControl*> Controls;
  void Resized(TObject* Sender) {
    auto* F = static_cast<TCustomForm*>(Sender);
    TStep S{TPoint(F->ClientWidth(), F->ClientHeight()), {}};
    for (TControl* C : Controls) S.Bounds.push_back(C->BoundsRect());
    Steps.push_back(S);
  }
};
ORV_IMPLEMENT_CLASS(TResizeLog, TObject)

TEST_F(AnchoredEdits, RealFrameDragsUpAndDownKeepEveryDistance) {
  TFullDrag Full;
  Foreground(Form.get());
  TResizeLog Log;
  for (const TAnchoredEdit& E : Edits) Log.Controls.push_back(E.Edit);
  Form->OnResize = EVENT(&Log, TResizeLog::Resized);
  std::vector<TPoint> Steps;
  for (int I = 0; I < 25; ++I) Steps.push_back(TPoint(7, 5));
  for (int I = 0; I < 25; ++I) Steps.push_back(TPoint(-7, -5));
  DragCorner(Form.get(), Steps);
  Form->OnResize = TNotifyEvent();
  // Every size the drag went through, up and down, placed every edit by its anchors.
  EXPECT_GE(Log.Steps.size(), 40u) << "the drag did not size the form step by step";
  bool Grew = false;
  for (const auto& S : Log.Steps) {
    Grew = Grew || S.Client.X > Designed.X + 100;
    for (size_t I = 0; I < 4; ++I)
      EXPECT_EQ(S.Bounds[I], Expected(Edits[I].Anchors, Edits[I].Placed, Designed, S.Client))
          << Edits[I].Name << " at " << S.Client.X << " by " << S.Client.Y;
  }
  EXPECT_TRUE(Grew);
  ExpectPlaced("after the drag");
  // Back at the designed size by the program: no drift from all those steps.
  SizeClient(Form.get(), Designed.X, Designed.Y);
  for (const TAnchoredEdit& E : Edits) EXPECT_EQ(E.Edit->BoundsRect(), E.Placed) << E.Name;
}

// ---------------------------------------------------------------------------------------------
// A graphic control anchored inside a panel that is anchored inside the form, under a top-aligned
// panel taking its strip first.

TEST(Anchors, GraphicControlOnAnAnchoredPanelFollowsTheForm) {
  TFormPtr F = ShownForm(400, 300);
  auto* Bar = TComponent::Create<TPanel>(F.get());
  Bar->SetParent(F.get());
  Bar->SetHeight(30);
  Bar->SetAlign(alTop);
  auto* Panel = TComponent::Create<TPanel>(F.get());
  Panel->SetParent(F.get());
  Panel->SetBounds(20, 50, 360, 230);
  Panel->SetAnchors(Anchors({akLeft, akTop, akRight, akBottom}));
  auto* Corner = TComponent::Create<TBevel>(F.get());
  Corner->SetParent(Panel);
  Corner->SetBounds(300, 180, 40, 30);
  Corner->SetAnchors(Anchors({akRight, akBottom}));
  auto* Middle = TComponent::Create<TBevel>(F.get());
  Middle->SetParent(Panel);
  Middle->SetBounds(160, 100, 40, 30);
  Middle->SetAnchors(0);
  PumpRounds(2);
  for (int I = 1; I <= 50; ++I) {
    SCOPED_TRACE(I);
    const int K = I <= 25 ? I : 50 - I;
    const int CW = 400 + 9 * K, CH = 300 + 3 * K;
    SizeClient(F.get(), CW, CH);
    ASSERT_EQ(F->ClientWidth(), CW);
    EXPECT_EQ(Bar->BoundsRect(), Bounds(0, 0, CW, 30));
    EXPECT_EQ(Panel->BoundsRect(), Bounds(20, 50, CW - 40, CH - 70));
    EXPECT_EQ(Corner->BoundsRect(), Bounds(CW - 40 - 60, CH - 70 - 50, 40, 30));
    EXPECT_EQ(Middle->BoundsRect(), Expected(0, Bounds(160, 100, 40, 30), TPoint(360, 230), TPoint(CW - 40, CH - 70)));
  }
  EXPECT_EQ(Corner->BoundsRect(), Bounds(300, 180, 40, 30));
  EXPECT_EQ(Middle->BoundsRect(), Bounds(160, 100, 40, 30));
  // The parent paints it at its new place: its frame's shadow line at the bevel's top edge.
  SizeClient(F.get(), 480, 340);
  PumpRounds(2);
  const TPoint Where = Corner->ClientToScreen(TPoint(Corner->Width() / 2, 0));
  POINT P{Where.X, Where.Y};
  ScreenToClient(Panel->Handle(), &P);
  EXPECT_EQ(vcltest::PixelAt(Panel->Handle(), P.x, P.y), TColor(ColorToRGB(clBtnShadow)));
}

TEST(Anchors, ControlsAnchoredInAGroupBoxFollowIt) {
  TFormPtr F = ShownForm(300, 200);
  auto* Box = TComponent::Create<TGroupBox>(F.get());
  Box->SetParent(F.get());
  Box->SetAlign(alClient);
  auto* Ok = TComponent::Create<TButton>(F.get());
  Ok->SetParent(Box);
  Ok->SetBounds(200, 150, 75, 25);
  Ok->SetAnchors(Anchors({akRight, akBottom}));
  const TRect Client = Box->ClientRect();
  SizeClient(F.get(), 380, 260);
  EXPECT_EQ(Ok->BoundsRect(), Bounds(200 + 80, 150 + 60, 75, 25));
  EXPECT_EQ(Box->ClientRect().Width(), Client.Width() + 80);
}

// ---------------------------------------------------------------------------------------------
// Size constraints.

// Records the resize events of a control, in order.
class TResizeEvents : public TObject {
  ORV_CLASS(TResizeEvents, TObject)
public:
  std::vector<std::string> Events;
  bool Allow = true;
  int RaiseMinWidthTo = 0;
  void CanResize(TObject*, int& W, int& H, bool& Resize) {
    Events.push_back("CanResize " + std::to_string(W) + "x" + std::to_string(H));
    Resize = Allow;
  }
  void Constrained(TObject*, int& MinW, int& MinH, int& MaxW, int& MaxH) {
    Events.push_back("ConstrainedResize " + std::to_string(MinW) + " " + std::to_string(MinH) + " " +
                     std::to_string(MaxW) + " " + std::to_string(MaxH));
    if (RaiseMinWidthTo) MinW = RaiseMinWidthTo;
  }
  void Resized(TObject* Sender) {
    auto* C = static_cast<TControl*>(Sender);
    Events.push_back("Resize " + std::to_string(C->Width()) + "x" + std::to_string(C->Height()));
  }
  template <class T> void Watch(T* C) {
    C->OnCanResize = EVENT(this, TResizeEvents::CanResize);
    C->OnConstrainedResize = EVENT(this, TResizeEvents::Constrained);
    C->OnResize = EVENT(this, TResizeEvents::Resized);
  }
};
ORV_IMPLEMENT_CLASS(TResizeEvents, TObject)

TEST(Constraints, SetBoundsStopsAtEveryLimit) {
  struct TCase {
    const char* Name;
    void (TSizeConstraints::*Set)(int);
    int Limit;
    int W, H;          // asked for
    int WantW, WantH;  // got
  } Cases[] = {
      {"below MinWidth", &TSizeConstraints::SetMinWidth, 120, 50, 40, 120, 40},
      {"below MinHeight", &TSizeConstraints::SetMinHeight, 70, 150, 20, 150, 70},
      {"above MaxWidth", &TSizeConstraints::SetMaxWidth, 160, 400, 40, 160, 40},
      {"above MaxHeight", &TSizeConstraints::SetMaxHeight, 90, 150, 300, 150, 90},
      {"inside the limits", &TSizeConstraints::SetMaxWidth, 500, 210, 80, 210, 80},
  };
  vcltest::TTestHost Host(500, 400);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    // A windowed and a graphic control meet the same limits.
    TControl* Both[] = {Host.Add<TPanel>(10, 10, 100, 50), Host.Add<TBevel>(10, 10, 100, 50)};
    for (TControl* Ctl : Both) {
      (Ctl->Constraints()->*C.Set)(C.Limit);
      Ctl->SetBounds(5, 6, C.W, C.H);
      EXPECT_EQ(Ctl->BoundsRect(), Bounds(5, 6, C.WantW, C.WantH)) << Ctl->ClassName().str();
      if (auto* W = dynamic_cast<TWinControl*>(Ctl)) {
        RECT R;
        GetWindowRect(W->Handle(), &R);
        EXPECT_EQ(R.right - R.left, C.WantW);
        EXPECT_EQ(R.bottom - R.top, C.WantH);
      }
      TObject::Free(Ctl);
    }
  }
}

TEST(Constraints, ALimitAppliesAtOnceAndKeepsTheOthersConsistent) {
  vcltest::TTestHost Host(500, 400);
  auto* P = Host.Add<TPanel>(10, 10, 100, 50);
  P->Constraints()->SetMinWidth(140);
  EXPECT_EQ(P->Width(), 140);
  P->Constraints()->SetMaxHeight(30);
  EXPECT_EQ(P->Height(), 30);
  // A maximum below the minimum lowers the minimum, a minimum above the maximum raises it.
  P->Constraints()->SetMaxWidth(120);
  EXPECT_EQ(P->Constraints()->MinWidth(), 120);
  EXPECT_EQ(P->Width(), 120);
  P->Constraints()->SetMinHeight(45);
  EXPECT_EQ(P->Constraints()->MaxHeight(), 45);
  EXPECT_EQ(P->Height(), 45);
  EXPECT_THROW(P->Constraints()->SetMinWidth(-1), ERangeError);
  EXPECT_EQ(P->Constraints()->MinWidth(), 120);
}

TEST(Constraints, OrderIsCanResizeConstrainedResizeBoundsResize) {
  vcltest::TTestHost Host(500, 400);
  auto* P = Host.Add<TPanel>(10, 10, 100, 50);
  P->Constraints()->SetMaxWidth(150);
  TResizeEvents Log;
  Log.Watch(P);
  P->SetBounds(10, 10, 300, 60);
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"CanResize 300x60", "ConstrainedResize 0 0 150 0", "Resize 150x60"}));
  // A move alone asks nothing about the size.
  P->Constraints()->SetMaxWidth(0);
  Log.Events.clear();
  P->SetBounds(20, 20, 150, 60);
  EXPECT_EQ(Log.Events, std::vector<std::string>{});
}

TEST(Constraints, OnConstrainedResizeRaisesALimit) {
  vcltest::TTestHost Host(500, 400);
  TResizeEvents Log;
  Log.RaiseMinWidthTo = 250;
  for (TControl* C : {static_cast<TControl*>(Host.Add<TPanel>(10, 10, 300, 50)),
                      static_cast<TControl*>(Host.Add<TBevel>(10, 80, 300, 50))}) {
    C->OnConstrainedResize = EVENT(&Log, TResizeEvents::Constrained);
    C->SetBounds(10, C->Top(), 100, 50);
    EXPECT_EQ(C->Width(), 250) << C->ClassName().str();
    C->SetBounds(10, C->Top(), 280, 50);
    EXPECT_EQ(C->Width(), 280) << C->ClassName().str();
  }
  // A form's answer to the system carries the raised limit too.
  TFormPtr F = ShownForm(300, 200);
  F->OnConstrainedResize = EVENT(&Log, TResizeEvents::Constrained);
  MINMAXINFO Info{};
  Info.ptMinTrackSize = POINT{10, 10};
  Info.ptMaxTrackSize = POINT{2000, 2000};
  SendMessageA(F->Handle(), WM_GETMINMAXINFO, 0, LPARAM(&Info));
  EXPECT_EQ(Info.ptMinTrackSize.x, 250);
  EXPECT_EQ(Info.ptMinTrackSize.y, 10);
  EXPECT_EQ(Info.ptMaxTrackSize.x, 2000);
}

TEST(Constraints, OnCanResizeRefusingKeepsTheSize) {
  vcltest::TTestHost Host(500, 400);
  auto* P = Host.Add<TPanel>(10, 10, 100, 50);
  auto* B = Host.Add<TBevel>(10, 80, 100, 50);
  TResizeEvents Log;
  Log.Allow = false;
  Log.Watch(P);
  Log.Watch(B);
  P->SetBounds(10, 10, 200, 90);
  B->SetBounds(10, 80, 200, 90);
  EXPECT_EQ(P->BoundsRect(), Bounds(10, 10, 100, 50));
  EXPECT_EQ(B->BoundsRect(), Bounds(10, 80, 100, 50));
  RECT R;
  GetWindowRect(P->Handle(), &R);
  EXPECT_EQ(R.right - R.left, 100);
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"CanResize 200x90", "CanResize 200x90"}));
  // A refused size of a form's frame drag leaves the window as it was.
  TFormPtr F = ShownForm(300, 200);
  Foreground(F.get());
  F->OnCanResize = EVENT(&Log, TResizeEvents::CanResize);
  const TRect Before = WindowRect(F->Handle());
  DragCorner(F.get(), std::vector<TPoint>(8, TPoint(8, 8)));
  EXPECT_EQ(WindowRect(F->Handle()), Before);
  EXPECT_GE(Log.Events.size(), 3u) << "the drag never asked";
}

TEST(Constraints, RealFrameDragStopsAtTheFormsLimits) {
  TFullDrag Full;
  TFormPtr F = ShownForm(400, 300);
  F->Constraints()->SetMinWidth(300);
  F->Constraints()->SetMinHeight(220);
  F->Constraints()->SetMaxWidth(520);
  Foreground(F.get());
  // Far in: the frame stops at the minimum, whatever the mouse does.
  DragCorner(F.get(), std::vector<TPoint>(20, TPoint(-16, -16)));
  EXPECT_EQ(F->Width(), 300);
  EXPECT_EQ(F->Height(), 220);
  EXPECT_EQ(WindowRect(F->Handle()).Width(), 300);
  // Far out: the width stops at the maximum; the height has none. Wine: its sizing loop keeps
  // the dragged corner one pixel inside the maximum tracking size (Windows lets it reach it).
  // Fails once Wine reaches 520.
  DragCorner(F.get(), std::vector<TPoint>(20, TPoint(16, 8)));
  EXPECT_EQ(F->Width(), 519);
  EXPECT_GT(F->Height(), 300);
  // The program meets the same limits.
  F->SetBounds(F->Left(), F->Top(), 100, 100);
  EXPECT_EQ(WindowRect(F->Handle()).Width(), 300);
  EXPECT_EQ(WindowRect(F->Handle()).Height(), 220);
}

// ---------------------------------------------------------------------------------------------
// Form resources.

const char* const AnchoredForm =
    "object Form1: TForm\n"
    "  Left = 60\n"
    "  Top = 50\n"
    "  Caption = 'Anchored'\n"
    "  ClientHeight = 200\n"
    "  ClientWidth = 300\n"
    "  Constraints.MinHeight = 150\n"
    "  Constraints.MinWidth = 250\n"
    "  Font.Charset = DEFAULT_CHARSET\n"
    "  Font.Color = clWindowText\n"
    "  Font.Height = -11\n"
    "  Font.Name = 'MS Sans Serif'\n"
    "  Font.Style = []\n"
    "  PixelsPerInch = 96\n"
    "  TextHeight = 13\n"
    "  object Edit1: TEdit\n"
    "    Left = 10\n"
    "    Top = 10\n"
    "    Width = 280\n"
    "    Height = 21\n"
    "    Anchors = [akLeft, akTop, akRight]\n"
    "    Constraints.MaxWidth = 400\n"
    "    Constraints.MinWidth = 100\n"
    "    TabOrder = 0\n"
    "  end\n"
    "  object Panel1: TPanel\n"
    "    Left = 10\n"
    "    Top = 40\n"
    "    Width = 280\n"
    "    Height = 150\n"
    "    Anchors = []\n"
    "    TabOrder = 1\n"
    "    object Bevel1: TBevel\n"
    "      Left = 200\n"
    "      Top = 120\n"
    "      Width = 60\n"
    "      Height = 13\n"
    "      Anchors = [akRight, akBottom]\n"
    "    end\n"
    "  end\n"
    "  object Edit2: TEdit\n"
    "    Left = 10\n"
    "    Top = 170\n"
    "    Width = 80\n"
    "    Height = 21\n"
    "    TabOrder = 2\n"
    "  end\n"
    "end\n";

TForm* ReadForm(const char* Text) {
  TStringStream In(Text);
  TMemoryStream Bin;
  ObjectTextToBinary(&In, &Bin);
  Bin.SetPosition(0);
  TForm* F = TCustomForm::CreateNew<TForm>(nullptr);
  try {
    ReadComponentRes(&Bin, F);
  } catch (...) {
    TObject::Free(F);
    throw;
  }
  return F;
}

std::string WrittenText(TComponent* Root) {
  TMemoryStream Bin;
  WriteComponentRes(&Bin, Root);
  Bin.SetPosition(0);
  TStringStream Text("");
  ObjectBinaryToText(&Bin, &Text);
  std::string S = Text.DataString().str();
  S.erase(std::remove(S.begin(), S.end(), '\r'), S.end());
  return S;
}

TEST(AnchorsInFormResources, ReadAndWrittenBackIdentically) {
  TFormPtr F(ReadForm(AnchoredForm));
  auto* Edit1 = dynamic_cast<TEdit*>(F->FindComponent("Edit1"));
  auto* Panel1 = dynamic_cast<TPanel*>(F->FindComponent("Panel1"));
  auto* Label1 = dynamic_cast<TBevel*>(F->FindComponent("Bevel1"));
  auto* Edit2 = dynamic_cast<TEdit*>(F->FindComponent("Edit2"));
  ASSERT_TRUE(Edit1 && Panel1 && Label1 && Edit2);
  EXPECT_EQ(Edit1->Anchors(), Anchors({akLeft, akTop, akRight}));
  EXPECT_EQ(Edit1->Constraints()->MinWidth(), 100);
  EXPECT_EQ(Edit1->Constraints()->MaxWidth(), 400);
  EXPECT_EQ(Panel1->Anchors(), 0u);
  EXPECT_EQ(Label1->Anchors(), Anchors({akRight, akBottom}));
  EXPECT_EQ(Edit2->Anchors(), DefaultAnchors);
  EXPECT_FALSE(Edit2->Constraints()->Any());
  EXPECT_EQ(F->Constraints()->MinWidth(), 250);
  EXPECT_EQ(WrittenText(F.get()), AnchoredForm);

  // The streamed anchors act once the form is on the screen.
  F->Show();
  PumpRounds(2);
  ASSERT_EQ(F->ClientWidth(), 300);
  SizeClient(F.get(), 360, 240);
  EXPECT_EQ(Edit1->BoundsRect(), Bounds(10, 10, 340, 21));
  EXPECT_EQ(Panel1->BoundsRect(), Bounds(40, 63, 280, 150));
  EXPECT_EQ(Label1->BoundsRect(), Bounds(200, 120, 60, 13));  // its panel kept its size
  EXPECT_EQ(Edit2->BoundsRect(), Bounds(10, 170, 80, 21));
  SizeClient(F.get(), 600, 240);
  EXPECT_EQ(Edit1->Width(), 400);  // its MaxWidth
  // The form's own limits hold against the program.
  SizeClient(F.get(), 100, 100);
  EXPECT_EQ(F->Width(), 250);
  EXPECT_EQ(F->Height(), 150);
}

TEST(AnchorsInFormResources, LimitsApplyWhateverTheOrderOfTheValues) {
  // The limit is read before the width that breaks it.
  TFormPtr F(ReadForm("object Form1: TForm\n"
                      "  object Panel1: TPanel\n"
                      "    Constraints.MinWidth = 120\n"
                      "    Constraints.MaxHeight = 40\n"
                      "    Left = 8\n"
                      "    Top = 8\n"
                      "    Width = 50\n"
                      "    Height = 90\n"
                      "  end\n"
                      "end\n"));
  auto* P = dynamic_cast<TPanel*>(F->FindComponent("Panel1"));
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->BoundsRect(), Bounds(8, 8, 120, 40));
}

TEST(AnchorsInFormResources, BadValuesAreClearErrors) {
  const std::pair<const char*, const char*> Cases[] = {
      {"    Anchors = [akLeft, akMiddle]\n", "akMiddle"},
      {"    Constraints.MinWidth = -5\n", "-5"},
      {"    Constraints.Widest = 5\n", "Widest"},
  };
  for (auto& [Line, Word] : Cases) {
    SCOPED_TRACE(Line);
    const std::string Text = std::string("object Form1: TForm\n  object Edit1: TEdit\n") + Line + "  end\nend\n";
    try {
      TFormPtr F(ReadForm(Text.c_str()));
      ADD_FAILURE() << "read without an error";
    } catch (const Exception& E) {
      EXPECT_NE(E.Message().str().find(Word), std::string::npos) << E.Message().str();
    }
  }
}

}  // namespace
