// The button panel and its speed buttons on real windows: the column and its arrows, scrolling
// by real clicks, one lit button under the real mouse, the messages between button and panel,
// what the panel paints, and panels read from a form and freed in every order.
#include "coolctrls/CoolCtrls.h"
#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"
#include "suite/tests/suitetest.h"
#include "vcl/tests/vcltest.h"
#include "coolctrls/tests/itemtest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TColor Sys(int Index) { return TColor(GetSysColor(Index)); }

// A plain panel (a windowed child, or a parent that is not a button panel).
class TPlain : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
  using TCustomPanel::SetBevelOuter;
  using TControl::SetColor;
};

struct TScrollLog : TObject {
  int Up = 0, Down = 0;
  void ScrolledUp(TObject*) { ++Up; }
  void ScrolledDown(TObject*) { ++Down; }
};

// A 66 by 200 panel at (10, 10) of a host, with Count buttons.
struct TPanelFixture : ::testing::Test {
  vcltest::TTestHost Host{320, 260};
  TCoolPanel* Panel = nullptr;
  std::vector<TCoolSpeedButton*> Buttons;
  void Make(int Count) {
    Panel = Host.Add<TCoolPanel>(10, 10, 66, 200);
    for (int I = 0; I < Count; ++I) Buttons.push_back(Panel->CreateButton());
    vcltest::PumpRounds(3);
  }
  void SetUp() override { vcltest::MoveMouse(Host.Window(), 300, 250); }
  std::vector<int> Tops() const {
    std::vector<int> T;
    for (int I = 0; I < Panel->GetButtonCount(); ++I) T.push_back(Panel->GetButton(I)->Top());
    return T;
  }
  TPoint Centre(TControl* C) const { return TPoint(C->Left() + C->Width() / 2, C->Top() + C->Height() / 2); }
  // Black pixels (the arrow glyphs) in a band of rows of the panel as it is on the screen.
  int BlackIn(int Top, int Bottom) {
    auto Shot = vcltest::CaptureClient(Panel->Handle());
    int N = 0;
    for (int Y = Top; Y < Bottom; ++Y)
      for (int X = 0; X < Shot->Width(); ++X)
        if (Shot->Canvas()->Pixels(X, Y) == clBlack) ++N;
    return N;
  }
};

TEST(CoolPanel, StartsNarrowAndLoweredWithItsArrows) {
  auto* P = TComponent::Create<TCoolPanel>(nullptr);
  ExpectDefaultsMatch(P);
  EXPECT_EQ(P->Width(), 66);
  EXPECT_EQ(P->Color(), clBtnShadow);
  EXPECT_EQ(P->BevelOuter(), bvLowered);
  EXPECT_TRUE(P->FullRepaint());
  EXPECT_EQ(P->GetButtonCount(), 0);
  for (TSpeedButton* A : {P->UpButton(), P->DownButton()}) {
    ASSERT_NE(A, nullptr);
    EXPECT_EQ(A->Owner(), P);
    EXPECT_EQ(A->Parent(), P);
    EXPECT_TRUE(A->Flat());
    EXPECT_FALSE(A->Transparent());
    EXPECT_EQ(A->Glyph()->Width(), 7) << "the arrow bitmap from the resources";
    EXPECT_EQ(A->Glyph()->Height(), 6);
    EXPECT_FALSE(A->Visible()) << "nothing to scroll";
  }
  EXPECT_EQ(P->UpButton()->BoundsRect(), Rect(1, 0, 65, 16));
  EXPECT_EQ(P->DownButton()->BoundsRect(), Rect(1, P->Height() - 16, 65, P->Height()));
  // The up arrow points up: its top glyph rows are narrower than its bottom ones.
  EXPECT_NE(P->UpButton()->Glyph()->Canvas()->Pixels(3, 1), P->UpButton()->Glyph()->Canvas()->Pixels(0, 1));
  EXPECT_EQ(P->UpButton()->Glyph()->Canvas()->Pixels(0, 4), clBlack);
  EXPECT_EQ(P->DownButton()->Glyph()->Canvas()->Pixels(0, 1), clBlack);
  TObject::Free(P);

  auto* B = TComponent::Create<TCoolSpeedButton>(nullptr);
  // At run time the button is flat with a white caption of its own; designing, it is neither.
  ExpectDefaultsMatch(B, {"Flat", "Font.Color", "ParentFont"});
  EXPECT_EQ(B->Layout(), blGlyphTop);
  EXPECT_TRUE(B->Flat());
  EXPECT_TRUE(B->Transparent());
  EXPECT_EQ(B->Font()->Color(), clWhite);
  EXPECT_EQ(B->FrameColor(), clBtnShadow);
  TObject::Free(B);
  for (const char* Name : {"TCoolPanel", "TCoolSpeedButton"}) EXPECT_NE(FindClass(Name), nullptr) << Name;
}

TEST_F(TPanelFixture, FiveButtonsScrollByOneRealClickOnAnArrow) {
  Make(5);
  TScrollLog Log;
  Panel->OnScrollUp = TNotifyEvent::Bind<&TScrollLog::ScrolledUp>(&Log);
  Panel->OnScrollDown = TNotifyEvent::Bind<&TScrollLog::ScrolledDown>(&Log);
  for (TCoolSpeedButton* B : Buttons) {
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->Owner(), Host.Control()) << "owned by the panel's owner";
    EXPECT_EQ(B->Parent(), Panel);
    EXPECT_EQ(B->Left(), 1);
    EXPECT_EQ(B->Width(), 64);
    EXPECT_EQ(B->Height(), 64);
  }
  EXPECT_EQ(Tops(), std::vector<int>({0, 64, 128, 192, 256}));
  EXPECT_TRUE(Panel->DownButton()->Visible());
  EXPECT_FALSE(Panel->UpButton()->Visible());
  EXPECT_EQ(BlackIn(0, 16), 0) << "no up arrow on the screen";
  EXPECT_GT(BlackIn(184, 200), 0) << "the down arrow";

  vcltest::RealClick(Panel->Handle(), 33, 192);
  EXPECT_EQ(Log.Down, 1);
  EXPECT_EQ(Log.Up, 0);
  EXPECT_EQ(Tops(), std::vector<int>({-64, 0, 64, 128, 192}));
  EXPECT_TRUE(Panel->UpButton()->Visible());
  EXPECT_TRUE(Panel->DownButton()->Visible());
  EXPECT_EQ(Panel->UpButton()->Top(), 0) << "the arrows stay";
  EXPECT_EQ(Panel->DownButton()->Top(), 184);
  EXPECT_GT(BlackIn(0, 16), 0) << "the up arrow shows";

  vcltest::RealClick(Panel->Handle(), 33, 8);
  EXPECT_EQ(Log.Up, 1);
  EXPECT_EQ(Tops(), std::vector<int>({0, 64, 128, 192, 256}));
  EXPECT_FALSE(Panel->UpButton()->Visible());
}

TEST_F(TPanelFixture, ButtonWidthSetsThePanelsWidthAndEveryButtons) {
  Make(3);
  Panel->SetButtonWidth(48);
  EXPECT_EQ(Panel->Width(), 50);
  for (TCoolSpeedButton* B : Buttons) EXPECT_EQ(B->BoundsRect(), Rect(1, B->Top(), 49, B->Top() + 64));
  EXPECT_EQ(Panel->UpButton()->Width(), 48);
  EXPECT_EQ(Panel->DownButton()->Width(), 48);
  Panel->SetButtonHeight(40);
  EXPECT_EQ(Tops(), std::vector<int>({0, 40, 80}));
  EXPECT_EQ(Buttons[2]->Height(), 40);
  // A taller panel keeps the down arrow at its bottom edge.
  Panel->SetHeight(250);
  EXPECT_EQ(Panel->DownButton()->Top(), 234);
}

TEST_F(TPanelFixture, ButtonsLeavingTheColumnCloseTheGap) {
  Make(5);
  TObject::Free(Buttons[1]);
  ASSERT_EQ(Panel->GetButtonCount(), 4);
  EXPECT_EQ(Panel->GetButton(1), Buttons[2]);
  EXPECT_EQ(Tops(), std::vector<int>({0, 64, 128, 192}));
  // Put on another parent, a button is no longer listed either.
  Buttons[3]->SetParent(Host.Control());
  ASSERT_EQ(Panel->GetButtonCount(), 3);
  EXPECT_EQ(Tops(), std::vector<int>({0, 64, 128}));
  EXPECT_EQ(Panel->GetButton(2), Buttons[4]);
  EXPECT_THROW(Panel->GetButton(3), EListError);
  EXPECT_THROW(Panel->GetButton(-1), EListError);
  EXPECT_FALSE(Panel->DownButton()->Visible()) << "three buttons fit in 200 pixels";
}

TEST_F(TPanelFixture, WindowedChildrenMoveWithTheScroll) {
  Make(5);
  auto* Child = TComponent::Create<TPlain>(Panel);
  Child->SetBounds(20, 100, 20, 20);
  Child->SetParent(Panel);
  vcltest::PumpRounds(3);
  auto WindowTop = [&] {
    RECT R;
    GetWindowRect(Child->Handle(), &R);
    POINT P{R.left, R.top};
    ScreenToClient(Panel->Handle(), &P);
    return int(P.y);
  };
  Panel->ScrollDown(nullptr);
  EXPECT_EQ(Child->Top(), 36);
  EXPECT_EQ(WindowTop(), 36) << "the window moved, not only the bounds";
  EXPECT_EQ(Child->Left(), 20);
  Panel->Hide();
  Panel->ScrollUp(nullptr);
  EXPECT_EQ(Child->Top(), 100);
  EXPECT_EQ(WindowTop(), 100) << "also while the panel is hidden";
  EXPECT_EQ(Tops(), std::vector<int>({0, 64, 128, 192, 256}));
}

TEST_F(TPanelFixture, RealMovesAcrossTwoButtonsLeaveOnlyTheSecondLit) {
  Make(3);
  Panel->SetColor(clNavy);
  const TPoint C0 = Centre(Buttons[0]), C1 = Centre(Buttons[1]);
  vcltest::MoveMouse(Panel->Handle(), C0.X, C0.Y);
  EXPECT_TRUE(Buttons[0]->Hot());
  vcltest::MoveMouse(Panel->Handle(), C1.X, C1.Y);
  vcltest::PumpRounds(3);
  for (int I = 0; I < 3; ++I) {
    SCOPED_TRACE(I);
    const bool Lit = I == 1;
    EXPECT_EQ(Buttons[I]->Hot(), Lit);
    EXPECT_EQ(Buttons[I]->Transparent(), !Lit);
    EXPECT_EQ(Buttons[I]->Font()->Color(), Lit ? clBlack : clWhite);
    // A lit button shows its face, the others the panel behind them.
    EXPECT_EQ(vcltest::PixelAt(Panel->Handle(), 20, Buttons[I]->Top() + 10), Lit ? Sys(COLOR_BTNFACE) : clNavy);
  }
  // A button told of the mouse without the system's leave for the other still leaves one lit.
  Buttons[2]->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(Buttons[2]->Hot());
  EXPECT_FALSE(Buttons[1]->Hot());
  EXPECT_TRUE(Buttons[1]->Transparent());
  // The panel's mouse-up message lights the listed button under the cursor again.
  Buttons[2]->Perform(CM_MOUSELEAVE, 0, 0);
  ASSERT_FALSE(Buttons[1]->Hot());
  Panel->Perform(CM_BUTTONMOUSEUP, 0, 0);
  EXPECT_TRUE(Buttons[1]->Hot());
  EXPECT_FALSE(Buttons[0]->Hot());
  EXPECT_FALSE(Buttons[2]->Hot());
}

TEST_F(TPanelFixture, BackgroundColourAnswerAndTheEdgeOfAButtonHeldElsewhere) {
  Make(3);
  EXPECT_EQ(TColor(Panel->Perform(CM_PARENTBACKCOLOR)), clBtnShadow);
  Panel->SetColor(clNavy);
  EXPECT_EQ(TColor(Panel->Perform(CM_PARENTBACKCOLOR)), clNavy);

  // Pressed with the cursor elsewhere: the edge is drawn over in the panel's colour.
  const TPoint C1 = Centre(Buttons[1]);
  vcltest::SendMouse(Panel->Handle(), WM_LBUTTONDOWN, C1.X, C1.Y, MK_LBUTTON);
  vcltest::PumpRounds(3);
  EXPECT_TRUE(Buttons[1]->Pressed());
  EXPECT_EQ(Buttons[1]->FrameColor(), clNavy);
  EXPECT_EQ(vcltest::PixelAt(Panel->Handle(), 1, C1.Y), clNavy);
  EXPECT_EQ(vcltest::PixelAt(Panel->Handle(), 30, Buttons[1]->Top()), clNavy);
  vcltest::SendMouse(Panel->Handle(), WM_LBUTTONUP, C1.X, C1.Y);
  EXPECT_FALSE(Buttons[1]->Pressed());

  // Pressed under the cursor: the sunken edge stays.
  vcltest::MoveMouse(Panel->Handle(), C1.X, C1.Y);
  vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, true)});
  EXPECT_TRUE(Buttons[1]->Pressed());
  EXPECT_EQ(vcltest::PixelAt(Panel->Handle(), 1, C1.Y), Sys(COLOR_BTNSHADOW));
  vcltest::SendInputs({vcltest::MouseButtonInput(mbLeft, false)});

  // With an own wallpaper the answer is its bottom-left pixel; Transparent goes off.
  Panel->SetTransparent(true);
  auto W = vcltest::MakeBitmap(8, 8, clYellow);
  W->Canvas()->SetPixels(0, 7, clMaroon);
  Panel->SetWallpaper(W.get());
  EXPECT_FALSE(Panel->Transparent());
  EXPECT_EQ(TColor(Panel->Perform(CM_PARENTBACKCOLOR)), clMaroon);
}

TEST_F(TPanelFixture, PaintsColourWallpaperOrWhatLiesBehindInsideItsBevel) {
  Make(0);
  auto* Ground = Host.Add<TPlain>(100, 10, 200, 200);
  Ground->SetBevelOuter(bvNone);
  Ground->SetColor(clTeal);
  Panel->SetParent(Ground);
  Panel->SetBounds(10, 10, 66, 150);
  Panel->SetColor(clNavy);
  auto At = [&](int X, int Y) { return vcltest::PixelAt(Panel->Handle(), X, Y); };
  EXPECT_EQ(At(0, 75), Sys(COLOR_BTNSHADOW)) << "lowered: shadow at the left";
  EXPECT_EQ(At(30, 0), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(65, 75), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(At(30, 149), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(At(30, 75), clNavy);
  Panel->SetBorderWidth(3);
  Panel->SetBevelInner(bvRaised);
  EXPECT_EQ(At(2, 75), clNavy) << "the border in the panel's colour";
  EXPECT_EQ(At(4, 75), Sys(COLOR_BTNHIGHLIGHT)) << "raised inner bevel";
  EXPECT_EQ(At(61, 75), Sys(COLOR_BTNSHADOW));
  Panel->SetBorderWidth(0);
  Panel->SetBevelInner(bvNone);

  auto Halves = vcltest::MakeBitmap(8, 8, clRed);
  Halves->Canvas()->Brush()->SetColor(clBlue);
  Halves->Canvas()->FillRect(Rect(4, 0, 8, 8));
  Panel->SetWallpaper(Halves.get());
  EXPECT_EQ(At(2, 75), clRed);
  EXPECT_EQ(At(6, 75), clBlue);
  EXPECT_EQ(At(0, 75), Sys(COLOR_BTNSHADOW)) << "the bevel over the wallpaper";

  Panel->SetTransparent(true);
  EXPECT_EQ(At(30, 75), clTeal) << "the parent's colour shows through";
  EXPECT_EQ(At(0, 75), Sys(COLOR_BTNSHADOW));
}

TEST_F(TPanelFixture, CaptionFollowsAlignmentAndRightToLeftReading) {
  Make(0);
  Panel->SetBounds(10, 10, 240, 40);
  Panel->SetColor(clNavy);
  Panel->SetCaption("Tags");
  Panel->Font()->SetColor(clYellow);
  const struct {
    TAlignment Alignment;
    TBiDiMode BiDi;
    int From, To;  // where the ink lies
  } Cases[] = {{taCenter, bdLeftToRight, 80, 160},
               {taLeftJustify, bdLeftToRight, 0, 80},
               {taRightJustify, bdLeftToRight, 160, 240},
               {taLeftJustify, bdRightToLeft, 160, 240}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "alignment " << int(C.Alignment) << ", bidi " << int(C.BiDi));
    Panel->SetAlignment(C.Alignment);
    Panel->SetBiDiMode(C.BiDi);
    auto Shot = vcltest::CaptureClient(Panel->Handle());
    int L = 1000, R = -1;
    for (int Y = 0; Y < 40; ++Y)
      for (int X = 0; X < 240; ++X)
        if (Shot->Canvas()->Pixels(X, Y) == clYellow) {
          L = std::min(L, X);
          R = std::max(R, X);
        }
    ASSERT_GE(R, 0) << "no caption";
    EXPECT_GE(L, C.From);
    EXPECT_LT(R, C.To);
  }
}

// Records what a parent receives of the buttons' messages.
struct TMessageLog : TObject {
  TWinControl* Control = nullptr;
  TWndMethod Saved;
  std::vector<std::pair<unsigned, uintptr_t>> Got;
  void Hook(TWinControl* C) {
    Control = C;
    Saved = C->WindowProc;
    C->WindowProc = TWndMethod::Bind<&TMessageLog::Proc>(this);
  }
  void Unhook() { Control->WindowProc = Saved; }
  void Proc(TMessage& M) {
    if (M.Msg >= CM_BUTTONDESTROYED && M.Msg <= CM_MOUSECAPTURECHANGE) Got.push_back({M.Msg, M.WParam});
    Saved(M);
  }
};

TEST(CoolSpeedButton, TalksOnlyToAButtonPanel) {
  vcltest::TTestHost Host(300, 220);
  auto* Plain = Host.Add<TPlain>(0, 0, 100, 200);
  auto* Panel = Host.Add<TCoolPanel>(120, 0, 66, 200);
  suitetest::TFormPtr Form(TCustomForm::CreateNew<TForm>(nullptr));
  Form->SetBounds(40, 300, 200, 150);
  Form->Show();
  using TGot = std::vector<std::pair<unsigned, uintptr_t>>;
  const struct {
    TWinControl* Parent;
    TGot Expected;
  } Cases[] = {
      {Plain, {}},
      {Form.get(), {}},
      {Panel,
       {{CM_MOUSECAPTURECHANGE, 1}, {CM_MOUSECAPTURECHANGE, 0}, {CM_PARENTBACKCOLOR, 0}, {CM_BUTTONDESTROYED, 0}}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Parent->ClassName().c_str());
    auto* B = TComponent::Create<TCoolSpeedButton>(Host.Control());
    B->SetBounds(1, 0, 64, 64);
    B->SetParent(C.Parent);
    TMessageLog Log;
    Log.Hook(C.Parent);
    B->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(B->Hot());
    EXPECT_FALSE(B->Transparent());
    B->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(B->Hot());
    // Held with the cursor elsewhere, its paint asks for the background colour.
    vcltest::SendMouse(C.Parent->Handle(), WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    C.Parent->Repaint();
    vcltest::SendMouse(C.Parent->Handle(), WM_LBUTTONUP, 20, 20);
    TObject::Free(B);
    Log.Unhook();
    EXPECT_EQ(Log.Got, C.Expected);
  }
}

// ----- panels read from a form, freed in every order

const char* const BarForm = R"(object Form1: TForm
  Left = 40
  Top = 40
  Width = 300
  Height = 300
  object Bar: TCoolPanel
    Left = 8
    Top = 8
    Width = 50
    Height = 220
    ButtonWidth = 48
    ButtonHeight = 48
    Color = clNavy
    Caption = ''
    object Hex: TCoolSpeedButton
      Left = 1
      Top = 0
      Width = 48
      Height = 48
      Caption = 'Hex'
    end
    object Epc: TCoolSpeedButton
      Left = 1
      Top = 48
      Width = 48
      Height = 48
      Caption = 'EPC'
    end
    object About: TCoolSpeedButton
      Left = 1
      Top = 96
      Width = 48
      Height = 48
      Caption = 'About'
    end
  end
end
)";

TEST(CoolPanel, ReadFromAFormWithItsButtonsListed) {
  suitetest::TFormPtr Form(suitetest::LoadForm(BarForm));
  auto* Bar = dynamic_cast<TCoolPanel*>(Form->FindComponent("Bar"));
  ASSERT_NE(Bar, nullptr);
  ASSERT_EQ(Bar->GetButtonCount(), 3);
  const char* Names[] = {"Hex", "Epc", "About"};
  for (int I = 0; I < 3; ++I) {
    EXPECT_EQ(Bar->GetButton(I)->Name(), Names[I]);
    EXPECT_EQ(Bar->GetButton(I)->Owner(), Form.get());
    EXPECT_EQ(Bar->GetButton(I)->BoundsRect(), Rect(1, 48 * I, 49, 48 * I + 48));
  }
  EXPECT_EQ(Bar->Width(), 50);
  EXPECT_EQ(Bar->UpButton()->Width(), 48);
  EXPECT_EQ(Bar->DownButton()->Top(), 204);
  EXPECT_FALSE(Bar->DownButton()->Visible());

  // Written back: the buttons, not the arrows (they are the panel's own).
  TMemoryStream Bin, Text;
  WriteComponentRes(&Bin, Form.get());
  Bin.SetPosition(0);
  ObjectBinaryToText(&Bin, &Text);
  const std::string Written(static_cast<const char*>(Text.Memory()), size_t(Text.Size()));
  EXPECT_NE(Written.find("object Epc: TCoolSpeedButton"), std::string::npos) << Written;
  EXPECT_EQ(Written.find("TSpeedButton"), std::string::npos) << Written;
  EXPECT_NE(Written.find("ButtonWidth = 48"), std::string::npos) << Written;
  suitetest::TFormPtr Again(suitetest::LoadForm(Written.c_str()));
  EXPECT_EQ(dynamic_cast<TCoolPanel*>(Again->FindComponent("Bar"))->GetButtonCount(), 3);
}

TEST(CoolPanel, FormsWithFilledPanelsFreeInEveryOrder) {
  enum TOrder { FormOnly, PanelFirst, ButtonFirst };
  for (TOrder Order : {FormOnly, PanelFirst, ButtonFirst}) {
    SCOPED_TRACE(int(Order));
    TForm* Form = suitetest::LoadForm(BarForm);
    Form->Show();
    vcltest::PumpRounds(3);
    auto* Bar = dynamic_cast<TCoolPanel*>(Form->FindComponent("Bar"));
    ASSERT_NE(Bar, nullptr);
    const int Components = Form->ComponentCount();
    if (Order == PanelFirst) {
      TObject::Free(Bar);
      EXPECT_EQ(Form->FindComponent("Epc"), nullptr) << "the buttons went with their parent";
      EXPECT_EQ(Form->ComponentCount(), Components - 4);
    } else if (Order == ButtonFirst) {
      TObject::Free(Form->FindComponent("Hex"));
      ASSERT_EQ(Bar->GetButtonCount(), 2);
      EXPECT_EQ(Bar->GetButton(0)->Top(), 0);
    }
    vcltest::PumpRounds(2);
    TObject::Free(Form);
  }
}

// ----- a picture for people

// A Size by Size glyph: a disc of Colour on olive (the transparent colour, bottom-left).
std::unique_ptr<TBitmap> Disc(int Size, TColor Colour) {
  auto B = vcltest::MakeBitmap(Size, Size, clOlive);
  B->Canvas()->Brush()->SetColor(Colour);
  B->Canvas()->Pen()->SetColor(clBlack);
  B->Canvas()->Ellipse(2, 2, Size - 2, Size - 2);
  return B;
}

TEST(CoolPanelScreenshot, ButtonPanelAndBevels) {
  vcltest::TTestHost Host(430, 260);
  auto* Panel = Host.Add<TCoolPanel>(10, 10, 66, 240);
  const struct {
    const char* Caption;
    TColor Colour;
  } Buttons[] = {{"Hex", clRed}, {"EPC", clLime}, {"Copy", clBlue}, {"Paste", clYellow}, {"About", clFuchsia}};
  for (const auto& B : Buttons) {
    TCoolSpeedButton* Button = Panel->CreateButton();
    ASSERT_NE(Button, nullptr);
    Button->SetCaption(B.Caption);
    Button->SetGlyph(Disc(32, B.Colour).get());
  }
  // The bevels on a face-coloured panel, so both of their colours show.
  auto* Ground = Host.Add<TPlain>(86, 0, 344, 260);
  Ground->SetBevelOuter(bvNone);
  Ground->SetColor(clBtnFace);
  auto Add = [&](int L, int T, int W, int H) {
    auto* B = TComponent::Create<TCoolBevel>(Ground);
    B->SetBounds(L - 86, T, W, H);
    B->SetParent(Ground);
    return B;
  };
  auto* Wallpapered = Add(100, 10, 150, 100);
  auto Gradient = itemtest::VerticalGradient(64, 64);
  Wallpapered->SetWallpaper(Gradient.get());
  Wallpapered->SetTransparent(false);
  Wallpapered->SetStyle(bsRaised);
  Add(270, 10, 140, 100)->SetShape(bsFrame);
  auto* Filled = Add(100, 130, 150, 60);
  Filled->SetColor(clTeal);
  Filled->SetTransparent(false);
  Filled->SetFlat(true);
  auto* Box = Add(270, 130, 140, 60);
  Box->SetColor(clNavy);
  Box->SetTransparent(false);
  Add(100, 215, 310, 2)->SetShape(bsTopLine);
  auto* Right = Add(100, 225, 310, 25);
  Right->SetShape(bsRightLine);
  Right->SetStyle(bsRaised);
  vcltest::PumpRounds(3);
  // The second button lit under the mouse.
  TCoolSpeedButton* Lit = Panel->GetButton(1);
  vcltest::MoveMouse(Panel->Handle(), 33, Lit->Top() + 55);
  vcltest::PumpRounds(5);
  EXPECT_TRUE(Lit->Hot());
  auto Shot = vcltest::CaptureClient(Host.Window());
  EXPECT_EQ(Shot->Canvas()->Pixels(10 + 33, 10 + 64 + 20), clLime) << "the lit button's glyph";
  EXPECT_EQ(Shot->Canvas()->Pixels(10 + 5, 10 + 64 + 60), ColorToRGB(clBtnFace)) << "its face";
  EXPECT_EQ(Shot->Canvas()->Pixels(100 + 75, 130 + 30), clTeal);
  EXPECT_EQ(Shot->Canvas()->Pixels(100 + 75, 130), clTeal) << "flat: no line";
  Shot->SaveToFile(AnsiString(ORVALEN_SHOTS) + "/cool-bevel-panel.bmp");
}

}  // namespace
