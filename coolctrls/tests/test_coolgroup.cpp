// The cool group box and the check and radio group on real forms: frames, the caption over
// colour, wallpaper and the background behind, disabled and shadowed captions; the group's box
// layout, clamps, clicks and focus moves against ItemIndex, its look handed down to the boxes,
// and its items and index read from a form resource. Also a picture of the label and the two
// groups together.
#include "coolctrls/CoolCtrls.h"
#include "rtl/tests/default_check.h"
#include "suite/tests/suitetest.h"
#include "vcl/GdiGuards.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

using suitetest::TFormScene;

// A parent whose background is a gradient of columns and bands.
class TGroupGradientPanel : public TWinControl {
  ORV_CLASS(TGroupGradientPanel, TWinControl)
public:
  explicit TGroupGradientPanel(TComponent* AOwner) : TWinControl(AOwner) {}
  static TColor At(int X, int Y) { return TColor(RGB((X * 3) % 256, (Y / 4 * 20) % 256, 180)); }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg != WM_ERASEBKGND) return inherited::Dispatch(Message);
    HDC DC = reinterpret_cast<HDC>(Message.WParam);
    for (int X = 0; X < Width(); ++X)
      for (int Y = 0; Y < Height(); Y += 4) {
        TBrushOwner Brush(CreateSolidBrush(COLORREF(At(X, Y))));
        RECT R{X, Y, X + 1, Y + 4};
        FillRect(DC, &R, Brush);
      }
    Message.Result = 1;
  }
};
ORV_IMPLEMENT_COMPONENT_NOPROPS(TGroupGradientPanel, TWinControl)

int ZeroHeight(TFont* Font) {
  TBitmap B;
  B.SetSize(1, 1);
  B.Canvas()->SetFont(Font);
  return B.Canvas()->TextHeight("0");
}

TEXTMETRICA Metrics(TFont* Font) {
  TEXTMETRICA TM{};
  TWindowDC Screen(nullptr);
  TSelectGuard Sel(Screen, Font->Handle());
  GetTextMetricsA(Screen, &TM);
  return TM;
}

// Colours found in a rectangle of a window's client area.
struct TColours {
  std::vector<TColor> Found;
  TColours(TBitmap* B, const TRect& R) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) {
        TColor C = B->Canvas()->Pixels(X, Y);
        if (std::find(Found.begin(), Found.end(), C) == Found.end()) Found.push_back(C);
      }
  }
  bool Has(TColor C) const { return std::find(Found.begin(), Found.end(), ColorToRGB(C)) != Found.end(); }
};

// ----- group box

TEST(CoolGroupBox, DefaultsAndTheFrameWithAndWithoutCtl3D) {
  auto* Fresh = TComponent::Create<TCoolGroupBox>(nullptr);
  ExpectDefaultsMatch(Fresh);
  TObject::Free(Fresh);

  TFormScene S(300, 200);
  S.Form->SetColor(clBtnFace);
  auto* G = S.Add<TCoolGroupBox>(10, 10, 200, 120);
  G->SetCaption("");
  G->SetColor(clYellow);
  S.Show();
  const int H = ZeroHeight(G->Font());
  const int Line = H / 2 - 1, Mid = 60;
  auto At = [&](int X, int Y) { return vcltest::PixelAt(G->Handle(), X, Y); };
  // 3-D: shadow outside, highlight one pixel in, on every side.
  EXPECT_EQ(At(0, Mid), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(1, Mid), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(At(198, Mid), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(199, Mid), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(At(100, 118), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(100, 119), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(At(2, Mid), clYellow);
  // Without a caption the top line runs through where a caption would stand.
  for (int X : {8, 12, 20, 40}) EXPECT_EQ(At(X, Line), ColorToRGB(clBtnShadow)) << X;
  EXPECT_EQ(At(20, Line + 1), ColorToRGB(clBtnHighlight));

  G->SetCtl3D(false);
  vcltest::PumpMessages();
  EXPECT_EQ(At(0, Mid), ColorToRGB(clWindowFrame));
  EXPECT_EQ(At(1, Mid), clYellow) << "a single line";
  EXPECT_EQ(At(199, Mid), ColorToRGB(clWindowFrame));
  EXPECT_EQ(At(20, Line), ColorToRGB(clWindowFrame));
  EXPECT_EQ(At(20, Line + 1), clYellow);
}

// What shows behind the caption on the frame line: the box's colour, its wallpaper (tiled as
// the rest of the background), or the gradient behind a see-through box.
TEST(CoolGroupBox, CaptionHidesTheFrameLineOverItsBackground) {
  TFormScene S(320, 220);
  auto* Panel = S.Add<TGroupGradientPanel>(0, 0, 320, 220);
  auto* G = TComponent::Create<TCoolGroupBox>(S.Form.get());
  G->SetParent(Panel);
  G->SetBounds(13, 17, 250, 150);
  G->SetCaption("      ");  // spaces: the caption rectangle holds no ink
  G->SetColor(clYellow);
  S.Show();
  const int Line = ZeroHeight(G->Font()) / 2 - 1;
  const TRect T = G->CaptionRect();
  ASSERT_GT(T.Width(), 10);
  auto At = [&](int X, int Y) { return vcltest::PixelAt(G->Handle(), X, Y); };
  EXPECT_EQ(At(T.Right + 3, Line), ColorToRGB(clBtnShadow)) << "the line beside the caption";

  EXPECT_EQ(At(T.Left + 2, Line), clYellow);
  EXPECT_EQ(At(T.Right - 2, Line), clYellow);

  auto Wall = vcltest::MakeBitmap(7, 5, clWhite);
  auto WallAt = [](int X, int Y) { return TColor(RGB(X * 30, Y * 50, 90)); };
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 7; ++X) Wall->Canvas()->SetPixels(X, Y, WallAt(X, Y));
  G->SetWallpaper(Wall.get());
  vcltest::PumpMessages();
  for (int X : {T.Left + 1, T.Left + 4, T.Right - 2}) {
    SCOPED_TRACE(X);
    EXPECT_EQ(At(X, Line), WallAt(X % 7, Line % 5));
    EXPECT_EQ(At(X, 40), WallAt(X % 7, 40 % 5)) << "the rest of the background";
  }

  G->SetTransparent(true);
  vcltest::PumpMessages();
  for (int X : {T.Left + 1, T.Right - 2}) {
    SCOPED_TRACE(X);
    EXPECT_EQ(At(X, Line), TGroupGradientPanel::At(G->Left() + X, G->Top() + Line));
    EXPECT_EQ(At(X, 60), TGroupGradientPanel::At(G->Left() + X, G->Top() + 60));
  }
}

TEST(CoolGroupBox, CaptionLooks) {
  TFormScene S(300, 160);
  auto* G = S.Add<TCoolGroupBox>(10, 10, 260, 120);
  G->SetCaption("WMW");
  G->SetColor(clYellow);
  G->Font()->SetColor(clRed);
  G->Font()->SetStyle(1u << fsBold);
  G->SetShadowColor(clBlue);
  G->SetShadowSize(2);
  S.Show();
  struct Case {
    const char* Name;
    bool Enabled, SimpleView;
    bool Font, Shadow, Embossed;
  } const Cases[] = {
      {"shadowed", true, false, true, true, false},
      {"plain", true, true, true, false, false},
      {"disabled", false, false, false, false, true},
      {"disabled, simple view", false, true, false, false, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    G->SetSimpleView(C.SimpleView);
    G->SetEnabled(C.Enabled);
    auto Shot = vcltest::CaptureClient(G->Handle());
    TRect T = G->CaptionRect();
    T.Bottom += 2;
    TColours In(Shot.get(), T);
    EXPECT_EQ(In.Has(clRed), C.Font);
    EXPECT_EQ(In.Has(clBlue), C.Shadow);
    if (C.Embossed) {
      EXPECT_TRUE(In.Has(clBtnShadow));
      EXPECT_TRUE(In.Has(clBtnHighlight));
    }
  }
}

TEST(CoolGroupBox, RightToLeftPutsTheCaptionAtTheRight) {
  TFormScene S(300, 160);
  auto* G = S.Add<TCoolGroupBox>(10, 10, 260, 120);
  G->SetCaption("Tags");
  G->Font()->SetColor(clRed);
  G->SetSimpleView(true);
  G->SetBiDiMode(bdRightToLeft);
  S.Show();
  const TRect T = G->CaptionRect();
  SIZE Ext{};
  {
    TWindowDC Screen(nullptr);
    TSelectGuard Sel(Screen, G->Font()->Handle());
    GetTextExtentPoint32A(Screen, "Tags", 4, &Ext);
  }
  EXPECT_EQ(T.Right, 259 - 8 + 1);
  EXPECT_EQ(T.Width(), Ext.cx + 2);
  auto Shot = vcltest::CaptureClient(G->Handle());
  EXPECT_TRUE(TColours(Shot.get(), T).Has(clRed));
  EXPECT_FALSE(TColours(Shot.get(), TRect(0, 0, 100, T.Bottom)).Has(clRed));
}

// ----- check and radio group

struct TGroupLog : TObject {
  int Clicks = 0;
  void Clicked(TObject*) { ++Clicks; }
};

TCoolCheckRadioGroup* AddGroup(TFormScene& S, int Lines, int L = 10, int T = 10, int W = 200, int H = 150) {
  auto* G = S.Add<TCoolCheckRadioGroup>(L, T, W, H);
  G->SetCaption("Tag type");
  for (int I = 0; I < Lines; ++I) G->Items()->Add(AnsiString("Item ") + IntToStr(I));
  return G;
}

TEST(CoolCheckRadioGroup, DefaultsAndClamps) {
  auto* Fresh = TComponent::Create<TCoolCheckRadioGroup>(nullptr);
  ExpectDefaultsMatch(Fresh);
  EXPECT_EQ(Fresh->ControlStyle(), StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  TObject::Free(Fresh);

  TFormScene S;
  auto* G = AddGroup(S, 3);
  struct Case {
    int Columns, StoredColumns, Index, StoredIndex;
  } const Cases[] = {{20, 16, 7, 2}, {0, 1, -5, -1}, {-3, 1, 1, 1}, {5, 5, 3, 2}, {16, 16, 0, 0}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Columns << " " << C.Index);
    G->SetColumns(C.Columns);
    EXPECT_EQ(G->Columns(), C.StoredColumns);
    G->SetItemIndex(C.Index);
    EXPECT_EQ(G->ItemIndex(), C.StoredIndex);
    for (int I = 0; I < G->ButtonCount(); ++I) EXPECT_EQ(G->Buttons(I)->Checked(), I == C.StoredIndex) << I;
  }
}

// Five lines in two columns: three rows, filled column by column; mirrored right to left.
TEST(CoolCheckRadioGroup, ArrangesItsBoxesInColumns) {
  TFormScene S(400, 240);
  auto* G = AddGroup(S, 5, 10, 10, 211, 157);
  G->SetColumns(2);
  S.Show();
  const TEXTMETRICA TM = Metrics(G->Font());
  const int Room = 157 - TM.tmHeight - 5, Rows = 3, BW = (211 - 10) / 2, BH = Room / Rows;
  const int Top = TM.tmHeight + 1 + (Room % Rows) / 2;
  ASSERT_EQ(G->ButtonCount(), 5);
  for (int I = 0; I < 5; ++I) {
    SCOPED_TRACE(I);
    TCoolCheckRadioBox* B = G->Buttons(I);
    EXPECT_EQ(B->Caption(), AnsiString("Item ") + IntToStr(I));
    EXPECT_EQ(B->CheckRadioType(), crRadioBox);
    EXPECT_TRUE(B->Transparent());
    EXPECT_TRUE(B->Visible());
    const int L = (I / Rows) * BW + 8, T = (I % Rows) * BH + Top;
    EXPECT_EQ(B->BoundsRect(), TRect(L, T, L + BW, T + BH));
    RECT W;
    GetWindowRect(B->Handle(), &W);
    MapWindowPoints(nullptr, G->Handle(), reinterpret_cast<POINT*>(&W), 2);
    EXPECT_EQ(W.left, L) << "the window is there too";
    EXPECT_EQ(W.bottom, T + BH);
  }
  G->SetBiDiMode(bdRightToLeft);
  G->SetColumns(3);
  G->SetColumns(2);
  for (int I = 0; I < 5; ++I) {
    SCOPED_TRACE(I);
    const int L = G->ClientWidth() - ((I / Rows) * BW + 8) - BW;
    EXPECT_EQ(G->Buttons(I)->Left(), L);
    EXPECT_EQ(G->Buttons(I)->BiDiMode(), bdRightToLeft);
  }
  // Too small for its boxes: no box gets a negative size.
  G->SetBounds(10, 10, 6, 8);
  for (int I = 0; I < 5; ++I) {
    EXPECT_GE(G->Buttons(I)->Width(), 0);
    EXPECT_GE(G->Buttons(I)->Height(), 0);
  }
}

TEST(CoolCheckRadioGroup, ARealClickOnTheThirdBoxChecksItAlone) {
  TFormScene S(300, 220);
  auto* G = AddGroup(S, 4);
  TGroupLog Log;
  G->OnClick = TNotifyEvent::Bind<&TGroupLog::Clicked>(&Log);
  G->SetItemIndex(0);
  S.Show();
  TCoolCheckRadioBox* Third = G->Buttons(2);
  vcltest::RealClick(Third->Handle(), 8, Third->Height() / 2);
  ASSERT_TRUE(vcltest::AppPumpUntil([&] { return Third->Focused() && !Third->Pressed(); }));
  EXPECT_EQ(G->ItemIndex(), 2);
  for (int I = 0; I < 4; ++I) EXPECT_EQ(G->Buttons(I)->Checked(), I == 2) << I;
  EXPECT_TRUE(Third->TabStop());
  EXPECT_FALSE(G->Buttons(0)->TabStop());
  EXPECT_GE(Log.Clicks, 1);
}

// Moving the focus by code or by Tab clicks every radio box of the group; ItemIndex stays on
// the one checked.
TEST(CoolCheckRadioGroup, FocusMovesLeaveItemIndexOnTheCheckedBox) {
  TFormScene S(320, 240);
  auto* Edit = S.Add<TEdit>(10, 10, 100, 21);
  auto* G = AddGroup(S, 4, 10, 40);
  Edit->SetTabOrder(0);
  G->SetTabOrder(1);
  G->SetItemIndex(3);
  S.Show();
  Edit->SetFocus();
  vcltest::PumpMessages();

  G->Buttons(1)->SetFocus();
  vcltest::PumpMessages();
  EXPECT_EQ(G->ItemIndex(), 1) << "focus by code";
  EXPECT_TRUE(G->Buttons(1)->Checked());
  EXPECT_FALSE(G->Buttons(3)->Checked());

  Edit->SetFocus();
  ASSERT_TRUE(vcltest::AppPumpUntil([&] { return Edit->Focused(); }));
  suitetest::TapKey(VK_TAB);
  ASSERT_TRUE(vcltest::AppPumpUntil([&] { return G->Buttons(1)->Focused(); })) << "Tab reaches the checked box";
  EXPECT_EQ(G->ItemIndex(), 1);
  EXPECT_TRUE(G->Buttons(1)->Checked());

  // In code: the box is checked and focused.
  G->SetItemIndex(2);
  vcltest::PumpMessages();
  EXPECT_EQ(G->ItemIndex(), 2);
  EXPECT_TRUE(G->Buttons(2)->Focused());
  for (int I = 0; I < 4; ++I) EXPECT_EQ(G->Buttons(I)->Checked(), I == 2) << I;
}

TEST(CoolCheckRadioGroup, ItemIndexOnAHiddenFormOnlyChecks) {
  TFormScene S;
  auto* G = AddGroup(S, 3);
  G->SetItemIndex(1);
  EXPECT_EQ(G->ItemIndex(), 1);
  EXPECT_TRUE(G->Buttons(1)->Checked());
  EXPECT_TRUE(G->Buttons(1)->TabStop());
  EXPECT_FALSE(G->Buttons(1)->Focused());
  G->SetItemIndex(2);
  EXPECT_FALSE(G->Buttons(1)->Checked());
  EXPECT_FALSE(G->Buttons(1)->TabStop());
  S.Show();
  EXPECT_EQ(G->ItemIndex(), 2);
  EXPECT_TRUE(G->Buttons(2)->Checked());
}

TEST(CoolCheckRadioGroup, DeletedLinesTakeTheirBoxesAndPullItemIndexBack) {
  TFormScene S;
  auto* G = AddGroup(S, 5);
  S.Show();
  G->SetItemIndex(4);
  G->Items()->Delete(4);
  EXPECT_EQ(G->ItemIndex(), 3);
  EXPECT_EQ(G->ButtonCount(), 4);
  EXPECT_TRUE(G->Buttons(3)->Checked());
  G->Items()->Delete(0);
  EXPECT_EQ(G->ItemIndex(), 2);
  EXPECT_EQ(G->Buttons(0)->Caption(), "Item 1");
  G->Items()->Clear();
  EXPECT_EQ(G->ItemIndex(), -1);
  EXPECT_EQ(G->ButtonCount(), 0);
}

// Shadow, simple view, glyphs, type, flat style and Enabled go down to every box.
TEST(CoolCheckRadioGroup, HandsItsLookDownToTheBoxes) {
  TFormScene S;
  auto* G = AddGroup(S, 3);
  struct TChanges : TObject {
    int N = 0;
    TWndMethod Old;
    void Watch(TMessage& M) {
      if (M.Msg == CM_CHANGED) ++N;
      Old(M);
    }
  } Parent;
  Parent.Old = S.Form->WindowProc;
  S.Form->WindowProc = TWndMethod::Bind<&TChanges::Watch>(&Parent);

  G->SetShadowColor(clRed);
  G->SetShadowSize(3);
  G->SetShadowPos(spRightBottom);
  G->SetSimpleView(true);
  EXPECT_EQ(Parent.N, 4) << "each change announced to the parent";
  auto Glyph = vcltest::MakeBitmap(13, 13, clLime);
  G->SetGlyphMarked(Glyph.get());
  G->SetFlat(true);
  G->SetCheckRadioType(crCheckBox);
  G->SetEnabled(false);
  G->Items()->Add("Late");
  for (int I = 0; I < G->ButtonCount(); ++I) {
    SCOPED_TRACE(I);
    TCoolCheckRadioBox* B = G->Buttons(I);
    EXPECT_EQ(B->ShadowColor(), clRed);
    EXPECT_EQ(B->ShadowSize(), 3);
    EXPECT_EQ(B->ShadowPos(), spRightBottom);
    EXPECT_TRUE(B->SimpleView()) << "set after the shadow, it stays";
    EXPECT_TRUE(B->OwnerDraw());
    EXPECT_EQ(B->GlyphMarked()->Width(), 13);
    EXPECT_TRUE(B->Flat());
    EXPECT_EQ(B->CheckRadioType(), crCheckBox);
    EXPECT_FALSE(B->Enabled());
  }
  G->SetShadowColor(clBlue);
  EXPECT_FALSE(G->Buttons(0)->SimpleView());
  S.Form->WindowProc = Parent.Old;
}

const char* const GroupForm = R"(object Form1: TForm
  Left = 100
  Top = 100
  ClientWidth = 320
  ClientHeight = 220
  object Types: TCoolCheckRadioGroup
    Left = 10
    Top = 10
    Width = 300
    Height = 100
    Caption = 'Tag type'
    Columns = 2
    ItemIndex = 1
    Items.Strings = (
      'GTIN96'
      'GTIN64'
      'SSCC96')
    ShadowColor = clRed
    SimpleView = True
    TabOrder = 0
  end
  object Beyond: TCoolCheckRadioGroup
    Left = 10
    Top = 120
    Width = 300
    Height = 80
    ItemIndex = 7
    Items.Strings = (
      'One'
      'Two')
    TabOrder = 1
  end
end
)";

TEST(CoolCheckRadioGroup, ItemsAndIndexReadFromAFormResource) {
  suitetest::TFormPtr Form(suitetest::LoadForm(GroupForm));
  auto* G = dynamic_cast<TCoolCheckRadioGroup*>(Form->FindComponent("Types"));
  auto* Beyond = dynamic_cast<TCoolCheckRadioGroup*>(Form->FindComponent("Beyond"));
  ASSERT_TRUE(G && Beyond);
  ASSERT_EQ(G->ButtonCount(), 3);
  EXPECT_EQ(G->Buttons(2)->Caption(), "SSCC96");
  EXPECT_EQ(G->ItemIndex(), 1);
  EXPECT_EQ(G->Columns(), 2);
  for (int I = 0; I < 3; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(G->Buttons(I)->Checked(), I == 1);
    EXPECT_EQ(G->Buttons(I)->TabStop(), I == 1);
    EXPECT_EQ(G->Buttons(I)->ShadowColor(), clRed);
    EXPECT_TRUE(G->Buttons(I)->SimpleView());
    EXPECT_EQ(G->Buttons(I)->Owner(), G) << "the group's own, not the form's";
  }
  EXPECT_EQ(G->Buttons(2)->Left(), (300 - 10) / 2 + 8);
  // An index beyond the streamed lines names the last one.
  EXPECT_EQ(Beyond->ItemIndex(), 1);
  EXPECT_TRUE(Beyond->Buttons(1)->Checked());

  // Written back, the boxes are not part of the form.
  TMemoryStream Bin;
  WriteComponentRes(&Bin, Form.get());
  Bin.SetPosition(0);
  TStringStream Text("");
  ObjectBinaryToText(&Bin, &Text);
  EXPECT_EQ(Text.DataString().Pos("TCoolCheckRadioBox"), 0);
  EXPECT_GT(Text.DataString().Pos("'SSCC96'"), 0);

  Form->Show();
  vcltest::PumpRounds(3);
  EXPECT_TRUE(IsWindowVisible(G->Buttons(0)->Handle()));
}

// ----- a picture for people

TEST(CoolScreenshot, LabelGroupBoxAndRadioGroup) {
  TFormScene S(480, 260);
  S.Form->SetColor(clBtnFace);
  auto* Title = TComponent::Create<TCoolLabel>(S.Form.get());
  Title->SetParent(S.Form.get());
  Title->SetBounds(12, 10, 10, 10);
  Title->SetCaption("SGTIN-96 tag");
  Title->Font()->SetHeight(-24);
  Title->Font()->SetStyle(1u << fsBold);
  Title->Font()->SetColor(clNavy);
  Title->SetShadowColor(clSilver);
  Title->SetShadowSize(2);
  Title->SetTransparent(true);
  auto Glyph = vcltest::MakeBitmap(24, 24, clTeal);
  Glyph->Canvas()->Brush()->SetColor(clYellow);
  Glyph->Canvas()->FillRect(Rect(6, 6, 18, 18));
  Glyph->Canvas()->SetPixels(0, 23, clOlive);
  Title->SetGlyph(Glyph.get());

  auto* Fields = S.Add<TCoolGroupBox>(12, 50, 220, 190);
  Fields->SetCaption("Fields");
  Fields->SetColor(TColor(0xE8F4FF));
  Fields->Font()->SetStyle(1u << fsBold);
  const char* Lines[] = {"Header 48", "Filter 1", "Partition 5", "Company 0359011", "Item 010310"};
  for (int I = 0; I < 5; ++I) {
    auto* L = TComponent::Create<TCoolLabel>(S.Form.get());
    L->SetParent(Fields);
    L->SetBounds(14, 28 + I * 30, 10, 10);
    L->SetCaption(Lines[I]);
    L->SetTransparent(true);
    L->SetShadowColor(clWhite);
    if (I == 4) L->SetEnabled(false);
  }

  auto* Types = S.Add<TCoolCheckRadioGroup>(248, 50, 220, 120);
  Types->SetCaption("Tag type");
  Types->SetColor(TColor(0xE0FFE0));
  Types->SetColumns(2);
  for (const char* T : {"GTIN96", "GTIN64", "SSCC96", "SGLN96", "GRAI96"}) Types->Items()->Add(T);
  Types->SetSimpleView(true);
  Types->SetItemIndex(0);
  auto* Checks = S.Add<TCoolCheckRadioGroup>(248, 180, 220, 60);
  Checks->SetCaption("Options");
  Checks->SetCheckRadioType(crCheckBox);
  Checks->SetColumns(2);
  Checks->Items()->Add("Pad");
  Checks->Items()->Add("Verify");
  Checks->Buttons(1)->SetChecked(true);
  S.Show();
  vcltest::PumpRounds(5);
  auto Shot = vcltest::CaptureClient(S.Form->Handle());
  EXPECT_EQ(Shot->Canvas()->Pixels(12 + 12, 10 + 12), clYellow) << "the label's glyph";
  Shot->SaveToFile(AnsiString(ORVALEN_SHOTS) + "/cool-label-group.bmp");
}

}  // namespace
