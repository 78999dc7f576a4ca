// Common controls on real windows: the page control over the system tab control (tabs in step
// with the visible pages, window styles, selection notifications, page layout, streaming) and
// image lists read back.
#include "vcl/ComCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/tests/vcltest.h"
#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vcltest::PumpMessages;

struct TFormFree {
  void operator()(TCustomForm* F) const {
    TObject::Free(F);
    PumpMessages();
  }
};
using TFormPtr = std::unique_ptr<TForm, TFormFree>;

// A shown form with a page control of N pages named "P0".. and captioned "Page 0"..
struct TPages {
  TFormPtr Form{TForm::CreateNew<TForm>(nullptr)};
  TPageControl* Pages = nullptr;
  std::vector<TTabSheet*> Sheet;
  explicit TPages(int N) {
    Form->SetBounds(80, 80, 360, 260);
    Pages = TComponent::Create<TPageControl>(Form.get());
    Pages->SetBounds(10, 10, 300, 200);
    Pages->SetParent(Form.get());
    for (int I = 0; I < N; ++I) {
      TTabSheet* S = TComponent::Create<TTabSheet>(Form.get());
      S->SetName(("P" + std::to_string(I)).c_str());
      S->SetCaption(("Page " + std::to_string(I)).c_str());
      S->SetPageControl(Pages);
      Sheet.push_back(S);
    }
    Form->Show();
    PumpMessages();
  }
  HWND Wnd() { return Pages->Handle(); }
  // The window's tab texts, in order.
  std::vector<std::string> WindowTabs() {
    std::vector<std::string> R;
    int N = int(SendMessageA(Wnd(), TCM_GETITEMCOUNT, 0, 0));
    for (int I = 0; I < N; ++I) {
      char Buf[64] = {};
      TCITEMA Item{};
      Item.mask = TCIF_TEXT;
      Item.pszText = Buf;
      Item.cchTextMax = sizeof Buf;
      SendMessageA(Wnd(), TCM_GETITEMA, WPARAM(I), LPARAM(&Item));
      R.push_back(Buf);
    }
    return R;
  }
};

using Tabs = std::vector<std::string>;

TEST(PageControl, TabsAreTheVisiblePagesInPageOrder) {
  TPages P(3);
  EXPECT_EQ(P.WindowTabs(), (Tabs{"Page 0", "Page 1", "Page 2"}));
  P.Sheet[1]->SetTabVisible(false);
  EXPECT_EQ(P.WindowTabs(), (Tabs{"Page 0", "Page 2"}));
  EXPECT_EQ(P.Sheet[1]->TabIndex(), -1);
  EXPECT_EQ(P.Sheet[2]->TabIndex(), 1);
  EXPECT_EQ(P.Pages->PageForTab(1), P.Sheet[2]);
  EXPECT_EQ(P.Pages->PageForTab(2), nullptr);
  P.Sheet[2]->SetCaption("Renamed");
  EXPECT_EQ(P.WindowTabs(), (Tabs{"Page 0", "Renamed"}));
  P.Sheet[2]->SetPageIndex(0);
  EXPECT_EQ(P.WindowTabs(), (Tabs{"Renamed", "Page 0"}));
  EXPECT_EQ(P.Pages->Pages(0), P.Sheet[2]);
  P.Sheet[1]->SetTabVisible(true);
  EXPECT_EQ(P.WindowTabs(), (Tabs{"Renamed", "Page 0", "Page 1"}));
  // The model outlives the window.
  P.Pages->SetStyle(tsButtons);
  EXPECT_EQ(P.WindowTabs(), (Tabs{"Renamed", "Page 0", "Page 1"}));
  TObject::Free(P.Sheet[0]);
  EXPECT_EQ(P.WindowTabs(), (Tabs{"Renamed", "Page 1"}));
  EXPECT_EQ(P.Pages->PageCount(), 2);
}

TEST(PageControl, ActivePageIsShownInTheDisplayRectangleAndSelected) {
  TPages P(3);
  P.Pages->SetActivePage(P.Sheet[1]);
  PumpMessages();
  EXPECT_EQ(SendMessageA(P.Wnd(), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(IsWindowVisible(P.Sheet[1]->Handle()));
  EXPECT_FALSE(P.Sheet[0]->Visible());
  EXPECT_FALSE(P.Sheet[2]->Visible());
  RECT R;
  GetClientRect(P.Wnd(), &R);
  SendMessageA(P.Wnd(), TCM_ADJUSTRECT, FALSE, LPARAM(&R));
  EXPECT_EQ(P.Sheet[1]->BoundsRect(), TRect(R));
  // The selection survives a new window; a hidden active page's tab is unselected.
  P.Pages->SetTabPosition(tpBottom);
  EXPECT_EQ(SendMessageA(P.Wnd(), TCM_GETCURSEL, 0, 0), 1);
  P.Sheet[1]->SetTabVisible(false);
  EXPECT_EQ(SendMessageA(P.Wnd(), TCM_GETCURSEL, 0, 0), -1);
  EXPECT_EQ(P.Pages->ActivePage(), P.Sheet[1]);
  // Removing the active page activates the next one.
  P.Sheet[1]->SetTabVisible(true);
  P.Sheet[1]->SetPageControl(nullptr);
  EXPECT_EQ(P.Pages->ActivePage(), P.Sheet[2]);
  EXPECT_EQ(SendMessageA(P.Wnd(), TCM_GETCURSEL, 0, 0), 1);
  TObject::Free(P.Sheet[1]);
}

TEST(PageControl, PropertiesMapToTabControlStyles) {
  struct Case {
    TTabStyle Style;
    TTabPosition Pos;
    bool Hot, Multi;
    DWORD Want;
  } Cases[] = {
      {tsTabs, tpTop, false, false, 0},
      {tsButtons, tpTop, false, false, TCS_BUTTONS},
      {tsFlatButtons, tpTop, false, false, TCS_BUTTONS | TCS_FLATBUTTONS},
      {tsTabs, tpBottom, false, false, TCS_BOTTOM},
      {tsTabs, tpLeft, false, false, TCS_VERTICAL | TCS_MULTILINE},
      {tsTabs, tpRight, false, false, TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE},
      {tsTabs, tpTop, true, true, TCS_HOTTRACK | TCS_MULTILINE},
  };
  constexpr DWORD Mask = TCS_BUTTONS | TCS_FLATBUTTONS | TCS_BOTTOM | TCS_VERTICAL | TCS_HOTTRACK | TCS_MULTILINE;
  for (const Case& C : Cases) {
    TPages P(2);
    P.Pages->SetStyle(C.Style);
    P.Pages->SetTabPosition(C.Pos);
    P.Pages->SetHotTrack(C.Hot);
    P.Pages->SetMultiLine(C.Multi);
    const DWORD Style = DWORD(GetWindowLongPtrA(P.Wnd(), GWL_STYLE));
    EXPECT_EQ(Style & Mask, C.Want) << C.Style << " " << C.Pos;
    EXPECT_EQ(P.WindowTabs().size(), 2u);
  }
}

struct TChangeLog : TObject {
  std::vector<std::string> Log;
  bool Allow = true;
  TPageControl* Pages = nullptr;
  void Changing(TObject*, bool& AllowChange) {
    Log.push_back("changing " + std::to_string(Pages->ActivePageIndex()));
    AllowChange = Allow;
  }
  void Changed(TObject*) { Log.push_back("change " + std::to_string(Pages->ActivePageIndex())); }
};

TEST(PageControl, ClickingATabAsksThenChanges) {
  TPages P(3);
  P.Pages->SetActivePage(P.Sheet[0]);
  TChangeLog L;
  L.Pages = P.Pages;
  P.Pages->OnChanging = EVENT(&L, TChangeLog::Changing);
  P.Pages->OnChange = EVENT(&L, TChangeLog::Changed);
  // From code: no events.
  P.Pages->SetActivePageIndex(1);
  EXPECT_TRUE(L.Log.empty());
  TRect T = P.Pages->TabRect(2);
  vcltest::Click(P.Wnd(), (T.Left + T.Right) / 2, (T.Top + T.Bottom) / 2);
  PumpMessages();
  EXPECT_EQ(L.Log, (std::vector<std::string>{"changing 1", "change 2"}));
  EXPECT_EQ(P.Pages->ActivePage(), P.Sheet[2]);
  // A refusal keeps the page.
  L.Log.clear();
  L.Allow = false;
  T = P.Pages->TabRect(0);
  vcltest::Click(P.Wnd(), (T.Left + T.Right) / 2, (T.Top + T.Bottom) / 2);
  PumpMessages();
  EXPECT_EQ(L.Log, (std::vector<std::string>{"changing 2"}));
  EXPECT_EQ(P.Pages->ActivePage(), P.Sheet[2]);
  EXPECT_EQ(P.Pages->IndexOfTabAt((T.Left + T.Right) / 2, (T.Top + T.Bottom) / 2), 0);
}

TEST(PageControl, FindNextPageWrapsAndSkipsHiddenTabs) {
  TPages P(3);
  P.Sheet[1]->SetTabVisible(false);
  EXPECT_EQ(P.Pages->FindNextPage(P.Sheet[2], true, false), P.Sheet[0]);
  EXPECT_EQ(P.Pages->FindNextPage(P.Sheet[0], true, true), P.Sheet[2]);
  EXPECT_EQ(P.Pages->FindNextPage(P.Sheet[0], false, false), P.Sheet[2]);
  EXPECT_EQ(P.Pages->FindNextPage(nullptr, true, true), P.Sheet[0]);
  P.Sheet[2]->SetTabVisible(false);
  EXPECT_EQ(P.Pages->FindNextPage(P.Sheet[0], true, true), P.Sheet[0]);
  P.Pages->SetActivePage(P.Sheet[0]);
  P.Sheet[1]->SetTabVisible(true);
  P.Pages->SelectNextPage(true);
  EXPECT_EQ(P.Pages->ActivePage(), P.Sheet[1]);
}

const char* const PagesForm =
    "object Form1: TForm\n"
    "  Left = 0\n"
    "  Top = 0\n"
    "  Width = 360\n"
    "  Height = 260\n"
    "  object Pages: TPageControl\n"
    "    Left = 10\n"
    "    Top = 10\n"
    "    Width = 300\n"
    "    Height = 200\n"
    "    ActivePage = Second\n"
    "    TabPosition = tpBottom\n"
    "    object First: TTabSheet\n"
    "      Caption = 'One'\n"
    "    end\n"
    "    object Second: TTabSheet\n"
    "      Caption = 'Two'\n"
    "      TabVisible = False\n"
    "    end\n"
    "    object Third: TTabSheet\n"
    "      Caption = 'Three'\n"
    "    end\n"
    "  end\n"
    "end\n";

TEST(PageControl, StreamsPagesAsChildrenInPageOrder) {
  TStringStream Text(PagesForm);
  TMemoryStream Bin;
  ObjectTextToBinary(&Text, &Bin);
  Bin.SetPosition(0);
  TFormPtr Form(TForm::CreateNew<TForm>(nullptr));
  ReadComponentRes(&Bin, Form.get());
  auto* Pages = dynamic_cast<TPageControl*>(Form->FindComponent("Pages"));
  ASSERT_NE(Pages, nullptr);
  ASSERT_EQ(Pages->PageCount(), 3);
  EXPECT_EQ(Pages->Pages(2)->Name(), "Third");
  EXPECT_EQ(Pages->ActivePage()->Name(), "Second");
  EXPECT_EQ(Pages->Tabs()->Count(), 2);
  EXPECT_EQ(Pages->Tabs()->Get(1), "Three");
  Pages->Pages(2)->SetPageIndex(0);
  TMemoryStream Out;
  WriteComponentRes(&Out, Form.get());
  Out.SetPosition(0);
  TStringStream Back;
  ObjectBinaryToText(&Out, &Back);
  const std::string S = Back.DataString().str();
  EXPECT_LT(S.find("Third: TTabSheet"), S.find("First: TTabSheet")) << S;
  EXPECT_NE(S.find("ActivePage = Second"), std::string::npos) << S;
  EXPECT_EQ(S.find("PageIndex"), std::string::npos) << S;
}

TEST(PageControl, DefaultsMatchTheTables) {
  ExpectClassDefaultsMatch(TPageControl::StaticClass());
  ExpectClassDefaultsMatch(TTabSheet::StaticClass(), {"PageIndex"});
}

TEST(ImageList, ImagesAndMasksReadBack) {
  TImageList List(nullptr, 4, 4);
  auto Img = vcltest::MakeBitmap(4, 4, clRed);
  Img->Canvas()->SetPixels(1, 1, clLime);
  Img->Canvas()->SetPixels(0, 3, clBlue);  // the bitmap's own transparent colour
  List.AddMasked(Img.get(), clDefault);
  TBitmap Image, Mask;
  List.GetImages(0, &Image, &Mask);
  ASSERT_EQ(Image.Width(), 4);
  ASSERT_EQ(Mask.Height(), 4);
  EXPECT_TRUE(Mask.Monochrome());
  EXPECT_EQ(Image.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(Image.Canvas()->Pixels(1, 1), clLime);
  EXPECT_EQ(Image.Canvas()->Pixels(0, 3), clBlack);
  EXPECT_EQ(Mask.Canvas()->Pixels(0, 0), clBlack);
  EXPECT_EQ(Mask.Canvas()->Pixels(0, 3), clWhite);
  // Read into bitmaps holding something else: the same.
  List.AddMasked(vcltest::MakeBitmap(4, 4, clBlue).get(), clBlue);
  List.GetImages(1, &Image, &Mask);
  EXPECT_EQ(Image.Canvas()->Pixels(0, 0), clBlack);
  EXPECT_EQ(Mask.Canvas()->Pixels(0, 0), clWhite);
  List.GetImages(0, &Image, &Mask);
  EXPECT_EQ(Mask.Canvas()->Pixels(1, 1), clBlack);
  EXPECT_THROW(List.GetImages(2, &Image, &Mask), EInvalidOperation);
}

}  // namespace
