// The pieces every cool control shares: copy modes, the wallpaper library and its change links,
// per-item check state, the border painters and the wallpaper sources.
#include "coolctrls/CoolCtrls.h"
#include "rtl/tests/default_check.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using vcltest::TTestHost;

// ----- copy modes and class names

TEST(CoolCopyModes, TableHoldsTheGdiRasterOperationsInOrder) {
  struct {
    const char* Name;
    uint32_t Rop;
  } const Expected[] = {
      {"cmBlackness", 0x00000042},   {"cmDstInvert", 0x00550009}, {"cmMergeCopy", 0x00C000CA},
      {"cmMergePaint", 0x00BB0226},  {"cmNotSrcCopy", 0x00330008}, {"cmNotSrcErase", 0x001100A6},
      {"cmPatCopy", 0x00F00021},     {"cmPatInvert", 0x005A0049}, {"cmPatPaint", 0x00FB0A09},
      {"cmSrcAnd", 0x008800C6},      {"cmSrcCopy", 0x00CC0020},   {"cmSrcErase", 0x00440328},
      {"cmSrcInvert", 0x00660046},   {"cmSrcPaint", 0x00EE0086},  {"cmWhiteness", 0x00FF0062},
  };
  ASSERT_EQ(std::size(CopyModes), std::size(Expected));
  std::vector<std::string> Listed;
  GetCopyModeValues([&](const AnsiString& S) { Listed.push_back(S.str()); });
  ASSERT_EQ(Listed.size(), std::size(Expected));
  for (size_t I = 0; I < std::size(Expected); ++I) {
    SCOPED_TRACE(Expected[I].Name);
    EXPECT_STREQ(CopyModes[I].Name, Expected[I].Name);
    EXPECT_EQ(uint32_t(CopyModes[I].Value), Expected[I].Rop);
    EXPECT_EQ(Listed[I], Expected[I].Name);
  }
}

TEST(CoolControls, IsCoolControlLooksForCoolInTheClassName) {
  TCoolCheckRadioBox* Box = TComponent::Create<TCoolCheckRadioBox>(nullptr);
  TEdit* Edit = TComponent::Create<TEdit>(nullptr);
  TCoolImages* Images = TComponent::Create<TCoolImages>(nullptr);
  EXPECT_TRUE(IsCoolControl(Box));
  EXPECT_TRUE(IsCoolControl(Images));
  EXPECT_FALSE(IsCoolControl(Edit));
  EXPECT_FALSE(IsCoolControl(nullptr));
  TObject::Free(Box);
  TObject::Free(Edit);
  TObject::Free(Images);
}

TEST(CoolControls, PublishedDefaultsMatchFreshObjects) {
  ExpectClassDefaultsMatch(TCoolImages::StaticClass());
  ExpectClassDefaultsMatch(TCoolCheckRadioBox::StaticClass());
}

// ----- the library and its links

struct TLinkLog {
  std::vector<std::pair<int, TObject*>> Calls;  // (link number, sender)
};

// Each link reports its number through a small forwarding object.
struct TNumberedHandler : TObject {
  TLinkLog* Log;
  int Number;
  TNumberedHandler(TLinkLog* L, int N) : Log(L), Number(N) {}
  void Changed(TObject* Sender) { Log->Calls.push_back({Number, Sender}); }
};

struct TLinkFixture : ::testing::Test {
  TCoolImages* Images = TComponent::Create<TCoolImages>(nullptr);
  TLinkLog Log;
  std::vector<std::unique_ptr<TNumberedHandler>> Handlers;
  std::vector<TCoolChangeLink*> Links;

  TCoolChangeLink* AddLink(int Number) {
    Handlers.push_back(std::make_unique<TNumberedHandler>(&Log, Number));
    auto* L = new TCoolChangeLink();
    L->OnChange = TNotifyEvent::Bind<&TNumberedHandler::Changed>(Handlers.back().get());
    Links.push_back(L);
    return L;
  }
  // The library goes first: it unregisters whatever is still registered (a link registered
  // twice stays registered once after one unregistering, with its Images already cleared).
  ~TLinkFixture() override {
    TObject::Free(Images);
    for (TCoolChangeLink* L : Links) delete L;
  }
  std::vector<int> Order() const {
    std::vector<int> O;
    for (auto& C : Log.Calls) O.push_back(C.first);
    return O;
  }
};

TEST_F(TLinkFixture, ChangeReachesEveryLinkInRegistrationOrderWithTheLibraryAsSender) {
  TCoolChangeLink* A = AddLink(1);
  TCoolChangeLink* B = AddLink(2);
  TCoolChangeLink* C = AddLink(3);
  Images->RegisterChanges(B);
  Images->RegisterChanges(A);
  Images->RegisterChanges(C);
  EXPECT_EQ(A->Images(), Images);
  Images->Change();
  EXPECT_EQ(Order(), (std::vector<int>{2, 1, 3}));
  for (auto& Call : Log.Calls) EXPECT_EQ(Call.second, Images);
}

TEST_F(TLinkFixture, UnregisteringRemovesTheFirstMatchOnlyAndClearsImages) {
  TCoolChangeLink* A = AddLink(1);
  TCoolChangeLink* B = AddLink(2);
  Images->RegisterChanges(A);
  Images->RegisterChanges(B);
  Images->RegisterChanges(A);
  Images->UnRegisterChanges(A);
  EXPECT_EQ(A->Images(), nullptr);
  EXPECT_EQ(Images->LinkCount(), 2);
  Images->Change();
  EXPECT_EQ(Order(), (std::vector<int>{2, 1}));
  // A link that is not registered: nothing happens.
  TCoolChangeLink* Stranger = AddLink(9);
  Images->UnRegisterChanges(Stranger);
  EXPECT_EQ(Images->LinkCount(), 2);
}

TEST_F(TLinkFixture, FreeingALinkUnregistersIt) {
  TCoolChangeLink* A = AddLink(1);
  AddLink(2);
  Images->RegisterChanges(A);
  Images->RegisterChanges(Links[1]);
  delete A;
  Links.erase(Links.begin());
  EXPECT_EQ(Images->LinkCount(), 1);
  Images->Change();
  EXPECT_EQ(Order(), (std::vector<int>{2}));
}

TEST_F(TLinkFixture, BitmapChangesAndRemovalsAnnounceThemselves) {
  Images->RegisterChanges(AddLink(1));
  TBitmapItem* Item = Images->Bitmaps()->Add();
  EXPECT_EQ(Images->Bitmaps()->GetOwner(), Images);
  Log.Calls.clear();
  Item->Bitmap()->SetSize(4, 4);
  EXPECT_GE(Log.Calls.size(), 1u);
  Log.Calls.clear();
  TObject::Free(Item);
  EXPECT_EQ(Log.Calls.size(), 1u) << "the item announces its removal once";
  EXPECT_EQ(Images->Bitmaps()->Count(), 0);
}

TEST_F(TLinkFixture, DestroyingTheLibraryLeavesItsLinksDetached) {
  TCoolChangeLink* A = AddLink(1);
  Images->RegisterChanges(A);
  Images->Bitmaps()->Add()->Bitmap()->SetSize(2, 2);
  Log.Calls.clear();
  TObject::Free(Images);
  Images = nullptr;
  EXPECT_EQ(A->Images(), nullptr);
  EXPECT_TRUE(Log.Calls.empty()) << "no link hears of the bitmaps freed with the library";
}

TEST(CoolImages, AssignedItemsCopyTheirBitmaps) {
  TCoolImages* Images = TComponent::Create<TCoolImages>(nullptr);
  TBitmapItem* A = Images->Bitmaps()->Add();
  A->Bitmap()->SetSize(3, 5);
  A->Bitmap()->Canvas()->SetPixels(1, 1, clRed);
  TBitmapItem* B = Images->Bitmaps()->Add();
  B->Assign(A);
  EXPECT_NE(B->Bitmap(), A->Bitmap());
  EXPECT_EQ(B->Bitmap()->Width(), 3);
  EXPECT_EQ(B->Bitmap()->Height(), 5);
  EXPECT_EQ(B->Bitmap()->Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(Images->Picture(1), B->Bitmap());
  EXPECT_EQ(Images->Picture(2), nullptr);
  EXPECT_EQ(Images->Picture(-1), nullptr);
  Images->Bitmaps()->Add();
  EXPECT_EQ(Images->Picture(2), nullptr) << "an empty bitmap is no picture";
  TObject::Free(Images);
}

// ----- controls referring to a library

// Two controls on one form-like owner referring to a library owned by the same owner.
TEST(CoolImages, RemovingTheLibraryClearsEveryReferringControl) {
  TTestHost Host(120, 60);
  auto* Images = TComponent::Create<TCoolImages>(Host.Control());
  auto* A = Host.Add<TCoolCheckRadioBox>(0, 0, 60, 20);
  auto* B = Host.Add<TCoolCheckRadioBox>(0, 30, 60, 20);
  A->SetCoolImages(Images);
  B->SetCoolImages(Images);
  EXPECT_EQ(Images->LinkCount(), 2);
  TObject::Free(Images);
  EXPECT_EQ(A->CoolImages(), nullptr);
  EXPECT_EQ(B->CoolImages(), nullptr);
  // Replacing and freeing afterwards touches nothing of the freed library.
  auto* Other = TComponent::Create<TCoolImages>(nullptr);
  A->SetCoolImages(Other);
  EXPECT_EQ(Other->LinkCount(), 1);
  TObject::Free(A);
  EXPECT_EQ(Other->LinkCount(), 0) << "a freed control unregisters its link";
  TObject::Free(Other);
  EXPECT_EQ(B->CoolImages(), nullptr);
}

TEST(CoolImages, SwitchingLibrariesMovesTheLink) {
  auto* Box = TComponent::Create<TCoolCheckRadioBox>(nullptr);
  auto* First = TComponent::Create<TCoolImages>(nullptr);
  auto* Second = TComponent::Create<TCoolImages>(nullptr);
  Box->SetCoolImages(First);
  Box->SetCoolImages(Second);
  EXPECT_EQ(First->LinkCount(), 0);
  EXPECT_EQ(Second->LinkCount(), 1);
  TObject::Free(First);
  EXPECT_EQ(Box->CoolImages(), Second);
  // A library with another owner (here none) tells the control through its free notification.
  TObject::Free(Second);
  EXPECT_EQ(Box->CoolImages(), nullptr);
  TObject::Free(Box);
}

// Which picture a control shows: the library entry wins over the own wallpaper; an index out
// of range or an empty entry falls back to the own wallpaper, then to the plain colour.
TEST(CoolControlWallpaper, SourcesAreTriedInOrder) {
  TTestHost Host(200, 60);
  auto* Images = TComponent::Create<TCoolImages>(Host.Control());
  auto Solid = [](TColor C) {
    auto* B = new TBitmap();
    B->SetSize(8, 8);
    B->Canvas()->Brush()->SetColor(C);
    B->Canvas()->FillRect(Rect(0, 0, 8, 8));
    return B;
  };
  std::unique_ptr<TBitmap> Red(Solid(clRed)), Blue(Solid(clBlue));
  Images->Bitmaps()->Add()->SetBitmap(Red.get());
  Images->Bitmaps()->Add();  // empty entry

  struct Case {
    const char* Name;
    bool UseLibrary;
    int Index;
    bool OwnWallpaper;
    TColor Expected;
  } const Cases[] = {
      {"library entry wins", true, 0, true, clRed},
      {"library entry alone", true, 0, false, clRed},
      {"index one past the end: own wallpaper", true, 2, true, clBlue},
      {"empty entry: own wallpaper", true, 1, true, clBlue},
      {"no index: own wallpaper", true, -1, true, clBlue},
      {"no library: own wallpaper", false, 0, true, clBlue},
      {"nothing: plain colour", true, 5, false, clLime},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* Box = Host.Add<TCoolCheckRadioBox>(10, 10, 100, 30);
    Box->SetColor(clLime);
    if (C.UseLibrary) Box->SetCoolImages(Images);
    Box->SetIdWallpaper(C.Index);
    if (C.OwnWallpaper) Box->SetWallpaper(Blue.get());
    TColor P = vcltest::PixelAt(Box->Handle(), 90, 3);
    EXPECT_EQ(P, ColorToRGB(C.Expected));
    TObject::Free(Box);
  }
}

TEST(CoolControlWallpaper, LibraryRemovalAndBitmapChangesRepaintTheControl) {
  TTestHost Host(200, 60);
  auto* Images = TComponent::Create<TCoolImages>(Host.Control());
  TBitmapItem* Item = Images->Bitmaps()->Add();
  Item->Bitmap()->SetSize(8, 8);
  Item->Bitmap()->Canvas()->Brush()->SetColor(clRed);
  Item->Bitmap()->Canvas()->FillRect(Rect(0, 0, 8, 8));
  auto* Box = Host.Add<TCoolCheckRadioBox>(10, 10, 100, 30);
  Box->SetColor(clLime);
  Box->SetCoolImages(Images);
  Box->SetIdWallpaper(0);
  EXPECT_EQ(vcltest::PixelAt(Box->Handle(), 90, 3), ColorToRGB(clRed));
  // A change of the library's bitmap reaches the control through its link.
  Item->Bitmap()->Canvas()->Brush()->SetColor(clYellow);
  Item->Bitmap()->Canvas()->FillRect(Rect(0, 0, 8, 8));
  EXPECT_EQ(vcltest::PixelAt(Box->Handle(), 90, 3), ColorToRGB(clYellow));
  TObject::Free(Images);
  EXPECT_EQ(vcltest::PixelAt(Box->Handle(), 90, 3), ColorToRGB(clLime));
}

// ----- per-item check state

TEST(CheckWrapper, CheckedFollowsStateUnlessLocked) {
  TCollection Items(TCheckWrapper::StaticClass(), [](TCollection* C) -> TCollectionItem* { return new TCheckWrapper(C); });
  auto* W = static_cast<TCheckWrapper*>(Items.Add());
  EXPECT_FALSE(W->Checked());
  W->SetChecked(true);
  EXPECT_EQ(W->State(), cbChecked);
  W->SetState(cbGrayed);
  EXPECT_FALSE(W->Checked());
  W->SetLocked(true);
  W->SetChecked(true);
  EXPECT_EQ(W->State(), cbGrayed) << "a locked entry keeps its state";
  W->SetLocked(false);
  W->SetChecked(false);
  EXPECT_EQ(W->State(), cbUnchecked);
  W->SetData(-7);
  EXPECT_EQ(W->Data(), -7);
  W->SetData(reinterpret_cast<intptr_t>(&Items));  // a pointer comes back whole
  EXPECT_EQ(reinterpret_cast<TCollection*>(W->Data()), &Items);
  EXPECT_EQ(TCheckWrapper::StateOf(nullptr), cbUnchecked);
}

// ----- border painters

// A windowed control with scroll bars, named as one of the list controls the flat border
// treats specially.
class TCoolListBox : public TWinControl {
  ORV_CLASS(TCoolListBox, TWinControl)
public:
  explicit TCoolListBox(TComponent* AOwner) : TWinControl(AOwner) {}
  DWORD ScrollStyle = 0;
protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.Style |= ScrollStyle;
  }
};
ORV_IMPLEMENT_COMPONENT_NOPROPS(TCoolListBox, TWinControl)

class TPlainWin : public TWinControl {
  ORV_CLASS(TPlainWin, TWinControl)
public:
  explicit TPlainWin(TComponent* AOwner) : TWinControl(AOwner) {}
};
ORV_IMPLEMENT_COMPONENT_NOPROPS(TPlainWin, TWinControl)

// Paints the border into a bitmap of the control's size, so only the painter's pixels count.
std::unique_ptr<TBitmap> FlatBorderOf(TWinControl* C, bool Focused) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(C->Width(), C->Height());
  B->Canvas()->Brush()->SetColor(clFuchsia);
  B->Canvas()->FillRect(Rect(0, 0, C->Width(), C->Height()));
  DrawFlatBorder(B->Canvas()->Handle(), C, Focused);
  return B;
}

TEST(FlatBorder, RingsOfAPlainControl) {
  TTestHost Host(200, 100);
  auto* C = Host.Add<TPlainWin>(10, 10, 60, 30);
  C->HandleNeeded();
  const TColor Face = TColor(GetSysColor(COLOR_BTNFACE)), Window = TColor(GetSysColor(COLOR_WINDOW));
  const TColor Shadow = TColor(GetSysColor(COLOR_BTNSHADOW)), Light = TColor(GetSysColor(COLOR_BTNHIGHLIGHT));
  {
    auto B = FlatBorderOf(C, false);
    TCanvas* K = B->Canvas();
    EXPECT_EQ(K->Pixels(0, 15), Face);
    EXPECT_EQ(K->Pixels(1, 15), Face);
    EXPECT_EQ(K->Pixels(2, 15), Window);
    EXPECT_EQ(K->Pixels(57, 15), Window);
    EXPECT_EQ(K->Pixels(30, 27), Window);
    EXPECT_EQ(K->Pixels(3, 15), clFuchsia) << "the inside is not painted";
  }
  {
    auto B = FlatBorderOf(C, true);
    TCanvas* K = B->Canvas();
    EXPECT_EQ(K->Pixels(0, 15), Shadow) << "sunken edge, left";
    EXPECT_EQ(K->Pixels(30, 0), Shadow) << "sunken edge, top";
    EXPECT_EQ(K->Pixels(59, 15), Light) << "sunken edge, right";
    EXPECT_EQ(K->Pixels(30, 29), Light) << "sunken edge, bottom";
    EXPECT_EQ(K->Pixels(1, 15), Face);
    EXPECT_EQ(K->Pixels(2, 15), Window);
  }
}

TEST(FlatBorder, ListControlsLeaveRoomForTheirScrollBars) {
  TTestHost Host(200, 100);
  const TColor Face = TColor(GetSysColor(COLOR_BTNFACE)), Window = TColor(GetSysColor(COLOR_WINDOW));
  const int Bar = GetSystemMetrics(SM_CYHSCROLL);
  struct Case {
    const char* Name;
    DWORD Style;
    int WindowLeft;     // column of the window-colour frame's left side
    int WindowRight;    // its right side
    int WindowBottom;   // its bottom row
  } const Cases[] = {
      {"no scroll bar", 0, 2, 77, 47},
      {"vertical", WS_VSCROLL, 1, 77, 48},
      {"horizontal", WS_HSCROLL, 1, 78, 47},
      {"both", WS_VSCROLL | WS_HSCROLL, 1, 77, 47},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    auto* C = TComponent::Create<TCoolListBox>(Host.Control());
    C->ScrollStyle = K.Style;
    C->SetBounds(10, 10, 80, 50);
    C->SetParent(Host.Control());
    C->HandleNeeded();
    auto B = FlatBorderOf(C, false);
    TCanvas* P = B->Canvas();
    EXPECT_EQ(P->Pixels(K.WindowLeft, 25), Window);
    EXPECT_EQ(P->Pixels(K.WindowRight, 25), Window);
    EXPECT_EQ(P->Pixels(40, K.WindowBottom), Window);
    // With one bar its strip shows (with both, the window frame covers them).
    if (K.Style == WS_VSCROLL) {
      EXPECT_EQ(P->Pixels(79 - Bar + 1, 47), Face) << "strip at the vertical bar's foot";
    } else if (K.Style == WS_HSCROLL) {
      EXPECT_EQ(P->Pixels(77, 49 - Bar + 1), Face) << "strip at the horizontal bar's end";
    } else if (K.Style == 0) {
      EXPECT_EQ(P->Pixels(77, 40), Window);
    }
    TObject::Free(C);
  }
}

TEST(EdgeBorders, EachBitDrawsItsLine) {
  TTestHost Host(200, 100);
  auto* C = Host.Add<TPlainWin>(10, 10, 40, 20);
  C->HandleNeeded();
  TPen Pen;
  Pen.SetColor(clRed);
  struct Case {
    TEdgeBorders Bits;
    bool Left, Top, Right, Bottom;
  } const Cases[] = {
      {0, false, false, false, false},
      {EdgeBorder(ebLeft), true, false, false, false},
      {EdgeBorder(ebTop), false, true, false, false},
      {EdgeBorder(ebRight), false, false, true, false},
      {EdgeBorder(ebBottom), false, false, false, true},
      {EdgeBorder(ebLeft) | EdgeBorder(ebRight) | EdgeBorder(ebTop) | EdgeBorder(ebBottom), true, true, true, true},
  };
  EXPECT_EQ(EdgeBorder(ebLeft), 1u);
  EXPECT_EQ(EdgeBorder(ebBottom), 8u);
  for (const Case& K : Cases) {
    SCOPED_TRACE(testing::Message() << "bits " << K.Bits);
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(40, 20);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 40, 20));
    DrawBorders(B.Canvas()->Handle(), C, K.Bits, &Pen);
    auto Is = [&](int X, int Y) { return B.Canvas()->Pixels(X, Y) == clRed; };
    EXPECT_EQ(Is(0, 10), K.Left);
    EXPECT_EQ(Is(20, 0), K.Top);
    EXPECT_EQ(Is(39, 10), K.Right);
    EXPECT_EQ(Is(20, 19), K.Bottom);
    EXPECT_FALSE(Is(20, 10));

    // The client-area form: top and left lines one pixel in.
    B.Canvas()->FillRect(Rect(0, 0, 40, 20));
    DrawClientBorders(B.Canvas(), Rect(0, 0, 40, 20), K.Bits, &Pen);
    EXPECT_EQ(Is(1, 10), K.Left);
    EXPECT_EQ(Is(20, 1), K.Top);
    EXPECT_EQ(Is(39, 10), K.Right);
    EXPECT_EQ(Is(20, 19), K.Bottom);
  }
}

}  // namespace
