// Items of the cool list and combo boxes: the fillers against the system's own lists, the
// folder style on a folder made for it, check states and item data through window re-creation,
// the horizontal extent, and the colour and font dialogs opened with Ctrl+Enter.
#include "coolctrls/CoolCtrls.h"
#include "rtl/tests/default_check.h"
#include "suite/tests/suitetest.h"
#include "vcl/Printers.h"
#include "vcl/tests/vcltest.h"
#include "coolctrls/tests/itemtest.h"

#include <gtest/gtest.h>

#include <colordlg.h>
#include <dlgs.h>
#include <winspool.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using vcltest::PumpMessages;
using vcltest::TTestHost;
using Lines = std::vector<std::string>;
using itemtest::TListedFolder;

Lines ItemsOf(TStrings* S) {
  Lines R;
  for (int I = 0; I < S->Count(); ++I) R.push_back(S->Get(I).str());
  return R;
}

// Both controls, for the tests that hold for either.
template <class T> struct TItemsFixture : testing::Test {
  TTestHost Host{400, 300};
  T* C = nullptr;
  void SetUp() override { C = Host.Add<T>(10, 10, 200, 150); }
};
using ItemControls = testing::Types<TCoolListBox, TCoolComboBox>;
template <class T> using CoolItems = TItemsFixture<T>;
TYPED_TEST_SUITE(CoolItems, ItemControls);

TEST(CoolItemsClasses, PublishedDefaultsMatchFreshObjects) {
  ExpectClassDefaultsMatch(TCoolListBox::StaticClass());
  ExpectClassDefaultsMatch(TCoolComboBox::StaticClass());
  auto* Combo = TComponent::Create<TCoolComboBox>(nullptr);
  EXPECT_EQ(Combo->ListBoxWidth(), Combo->Width());
  EXPECT_EQ(Combo->ListRect(), TRect());
  Combo->SetListBoxWidth(0);
  EXPECT_EQ(Combo->ListBoxWidth(), Combo->Width()) << "0 stands for the width";
  TObject::Free(Combo);
}

// ----- fillers

const Lines BasicColours = {"clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple", "clTeal", "clGray",
                            "clSilver", "clRed", "clLime", "clYellow", "clBlue", "clFuchsia", "clAqua", "clWhite"};

// The basic colours, the system colours in index order, clNone.
Lines EveryNamedColour() {
  Lines All = BasicColours;
  for (const char* S : {"clScrollBar", "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu", "clWindow",
                        "clWindowFrame", "clMenuText", "clWindowText", "clCaptionText", "clActiveBorder",
                        "clInactiveBorder", "clAppWorkSpace", "clHighlight", "clHighlightText", "clBtnFace",
                        "clBtnShadow", "clGrayText", "clBtnText", "clInactiveCaptionText", "clBtnHighlight",
                        "cl3DDkShadow", "cl3DLight", "clInfoText", "clInfoBk", "clNone"})
    All.push_back(S);
  return All;
}

TYPED_TEST(CoolItems, ColourStyleListsTheBasicColoursOrEveryNamedOne) {
  this->C->SetExtendedStyle(ctColorControl);
  EXPECT_EQ(ItemsOf(this->C->Items()), BasicColours);
  this->C->SetLightColorControl(false);
  EXPECT_EQ(ItemsOf(this->C->Items()), EveryNamedColour());
  EXPECT_EQ(this->C->Items()->Count(), 42);
}

// A form read with the colour style and no stored items shows the colours at once.
TEST(CoolItemsClasses, AColourStyleReadFromAFormFillsItself) {
  for (const char* Class : {"TCoolListBox", "TCoolComboBox"})
    for (bool Light : {true, false}) {
      SCOPED_TRACE(testing::Message() << Class << (Light ? ", light" : ", every colour"));
      const std::string Text = std::string("object Form1: TForm\n  object List1: ") + Class + "\n" +
                               "    ExtendedStyle = ctColorControl\n" +
                               (Light ? "" : "    LightColorControl = False\n") + "  end\nend\n";
      suitetest::TFormPtr Form(suitetest::LoadForm(Text.c_str()));
      auto* Box = dynamic_cast<TWinControl*>(Form->FindComponent("List1"));
      ASSERT_NE(Box, nullptr);
      TStrings* Items = dynamic_cast<TCoolListBox*>(Box) ? dynamic_cast<TCoolListBox*>(Box)->Items()
                                                          : dynamic_cast<TCoolComboBox*>(Box)->Items();
      EXPECT_EQ(ItemsOf(Items), Light ? BasicColours : EveryNamedColour());
    }
}

// Font names as the system enumerates them, and those it marks TrueType.
struct TSystemFonts {
  std::set<std::string> All, TrueType;
  TSystemFonts() {
    TWindowDC DC(nullptr);
    LOGFONTA LF{};
    LF.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(DC, &LF, &Collect, reinterpret_cast<LPARAM>(this), 0);
  }
  static int CALLBACK Collect(const LOGFONTA* F, const TEXTMETRICA*, DWORD Type, LPARAM Data) {
    auto* Self = reinterpret_cast<TSystemFonts*>(Data);
    Self->All.insert(F->lfFaceName);
    if (Type & TRUETYPE_FONTTYPE) Self->TrueType.insert(F->lfFaceName);
    return 1;
  }
};

TYPED_TEST(CoolItems, FontStyleListsTheScreenFontsAndFiltersTrueType) {
  const TSystemFonts System;
  this->C->SetExtendedStyle(ctFontControl);
  const Lines Items = ItemsOf(this->C->Items());
  EXPECT_EQ(std::set<std::string>(Items.begin(), Items.end()), System.All);
  EXPECT_TRUE(std::is_sorted(Items.begin(), Items.end(), [](const std::string& A, const std::string& B) {
    return CompareText(A.c_str(), B.c_str()) < 0;
  }));

  this->C->SetTrueType(true);
  const Lines TT = ItemsOf(this->C->Items());
  EXPECT_EQ(std::set<std::string>(TT.begin(), TT.end()), System.TrueType);
  const std::set<std::string> Kept(TT.begin(), TT.end());
  EXPECT_TRUE(Kept.count("Tahoma"));
  EXPECT_FALSE(Kept.count("MS Sans Serif")) << "a bitmap face of the prefix";
  EXPECT_FALSE(Kept.count("Small Fonts"));

  // Outside the font style the filter's setter leaves the items alone.
  this->C->SetExtendedStyle(ctCoolControl);
  this->C->SetTrueType(false);
  EXPECT_EQ(ItemsOf(this->C->Items()), TT);
}

using vcltest::SystemPrinters;

// A printer on "FILE:" over Wine's PostScript driver, for a prefix that has none.
void EnsureAPrinter() {
  if (SystemPrinters().empty()) vcltest::AddTestPrinter("Orvalen Test Printer", "Orvalen Test Driver");
}

TYPED_TEST(CoolItems, PrinterStyleListsTheSpoolersPrinters) {
  EnsureAPrinter();
  const std::set<std::string> System = SystemPrinters();
  ASSERT_FALSE(System.empty());
  this->C->SetExtendedStyle(ctPrinterControl);
  const Lines Items = ItemsOf(this->C->Items());
  EXPECT_EQ(std::set<std::string>(Items.begin(), Items.end()), System);
}

// ----- check states and item data

// Data values that fill the slot's whole width: above 4 GiB on x86_64.
const intptr_t BigData = sizeof(intptr_t) > 4 ? intptr_t(0x123456789ALL) : intptr_t(0x7654321);
TObject* AsObject(intptr_t V) { return reinterpret_cast<TObject*>(V); }

TYPED_TEST(CoolItems, ItemDataStaysTheItemsOwnWhateverTheWrappers) {
  auto* C = this->C;
  struct Case {
    const char* Mode;
    TCoolControlStyle Style;
    bool ExtendedCheck;
  } const Cases[] = {{"check style", ctCheckControl, false}, {"extended check", ctCoolControl, true},
                     {"no check mode", ctCoolControl, false}};
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Mode);
    C->Items()->Clear();
    EXPECT_EQ(C->WrapperCount(), 0);
    C->SetExtendedStyle(K.Style);
    C->SetExtendedCheck(K.ExtendedCheck);
    EXPECT_EQ(C->CheckMode(), K.Style == ctCheckControl || K.ExtendedCheck);
    C->Items()->AddObject("a", AsObject(7));
    C->Items()->AddObject("b", AsObject(BigData));
    C->Items()->Add("c");
    C->SetChecked(0, true);
    C->SetState(1, cbGrayed);
    C->SetLocked(2, true);
    C->SetChecked(2, true);
    EXPECT_FALSE(C->Checked(2)) << "a locked item ignores Checked";
    C->SetState(2, cbChecked);
    EXPECT_TRUE(C->Checked(2)) << "but takes State";
    EXPECT_EQ(C->WrapperCount(), 3);
    EXPECT_EQ(C->Items()->Objects(0), AsObject(7)) << "the data moved into the wrapper";
    EXPECT_EQ(C->Items()->Objects(1), AsObject(BigData));
    EXPECT_EQ(C->Items()->Objects(2), nullptr);

    // Data written to an item with a wrapper keeps its state and lock.
    C->Items()->PutObject(2, AsObject(9));
    EXPECT_EQ(C->Items()->Objects(2), AsObject(9));
    EXPECT_EQ(C->State(2), cbChecked);
    EXPECT_TRUE(C->Locked(2));

    C->RecreateWnd();
    C->HandleNeeded();
    EXPECT_EQ(ItemsOf(C->Items()), (Lines{"a", "b", "c"}));
    EXPECT_EQ(C->Items()->Objects(0), AsObject(7));
    EXPECT_EQ(C->Items()->Objects(1), AsObject(BigData));
    EXPECT_EQ(C->Items()->Objects(2), AsObject(9));
    if (C->CheckMode()) {
      EXPECT_EQ(C->State(0), cbChecked);
      EXPECT_EQ(C->State(1), cbGrayed);
      EXPECT_EQ(C->State(2), cbChecked);
      EXPECT_EQ(C->WrapperCount(), 3) << "one new wrapper per item";
      C->Items()->Add("d");
      EXPECT_EQ(C->State(3), cbUnchecked) << "a later item starts unchecked";
    } else {
      EXPECT_EQ(C->WrapperCount(), 0) << "the old wrappers are gone";
    }
    C->Items()->Delete(0);
    EXPECT_EQ(C->Items()->Objects(0), AsObject(BigData));
    EXPECT_EQ(C->WrapperCount(), C->CheckMode() ? 2 : 0) << "a deleted item's wrapper goes with it";
  }
}

TYPED_TEST(CoolItems, TheCheckStyleKeepsItsItemsAndHasNoExtendedCheck) {
  auto* C = this->C;
  C->Items()->Add("kept");
  C->SetExtendedCheck(true);
  EXPECT_TRUE(C->ExtendedCheck());
  C->SetExtendedStyle(ctCheckControl);
  EXPECT_FALSE(C->ExtendedCheck());
  EXPECT_EQ(ItemsOf(C->Items()), (Lines{"kept"}));
  C->SetExtendedCheck(true);
  EXPECT_FALSE(C->ExtendedCheck()) << "not while the style is the check style";
  EXPECT_TRUE(C->CheckMode());
}

TYPED_TEST(CoolItems, CheckOperationsOnABadIndexRaise) {
  this->C->Items()->Add("only");
  for (int Bad : {-1, 1, 5}) {
    SCOPED_TRACE(Bad);
    for (const std::function<void()>& Op : std::initializer_list<std::function<void()>>{
             [&] { this->C->Checked(Bad); }, [&] { this->C->SetChecked(Bad, true); },
             [&] { this->C->State(Bad); }, [&] { this->C->SetLocked(Bad, true); }}) {
      try {
        Op();
        ADD_FAILURE() << "no error";
      } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Unable to obtain data");
      }
    }
  }
  EXPECT_EQ(this->C->WrapperCount(), 0);
}

// ----- colour and font values

TYPED_TEST(CoolItems, ColourValueFindsItsItemOrNone) {
  auto* C = this->C;
  C->SetExtendedStyle(ctColorControl);
  C->SetColorValue(clRed);
  EXPECT_EQ(C->ItemIndex(), 9);
  EXPECT_EQ(C->ColorValue(), clRed);
  C->SetColorValue(0x123456);
  EXPECT_EQ(C->ItemIndex(), -1);
  EXPECT_EQ(C->ColorValue(), -1);

  // A selection the window reports: the item's colour, or -1 for an item naming none.
  C->Items()->Add("Teal");
  C->Items()->Add("Bogus");
  auto Select = [&](int I) {
    C->SetItemIndex(I);
    const bool List = std::is_same_v<TypeParam, TCoolListBox>;
    SendMessageA(GetParent(C->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(C->Handle()), List ? LBN_SELCHANGE : CBN_SELCHANGE),
                 LPARAM(C->Handle()));
  };
  Select(16);
  EXPECT_EQ(C->ColorValue(), clTeal) << "\"cl\" goes in front of a bare name";
  Select(17);
  EXPECT_EQ(C->ColorValue(), -1);
}

TYPED_TEST(CoolItems, FontValueFollowsTheSelection) {
  auto* C = this->C;
  C->SetExtendedStyle(ctFontControl);
  C->SetItemIndex(C->Items()->IndexOf("Tahoma"));
  EXPECT_EQ(C->FontValue()->Name(), "Tahoma");
  TFont F;
  F.SetName("Liberation Mono");
  F.SetSize(14);
  C->SetFontValue(&F);
  EXPECT_EQ(C->ItemIndex(), C->Items()->IndexOf("Liberation Mono"));
  EXPECT_EQ(C->FontValue()->Size(), 14);
}

TEST(CoolItemsFolder, FolderNamesEndInABackslashAndStepUpOnlyForDotDot) {
  struct {
    const char* In;
    const char* Out;
  } const Cases[] = {
      {"", ""}, {"C:\\x", "C:\\x\\"}, {"C:\\x\\", "C:\\x\\"}, {"C:\\a\\b\\..", "C:\\a\\"}, {"C:\\a\\b\\..\\", "C:\\a\\"},
      {"C:\\a\\b\\..\\c", "C:\\a\\"}, {"C:\\a..b", "C:\\a..b\\"}, {"C:\\a\\..b\\", "C:\\a\\..b\\"},
  };
  auto* L = TComponent::Create<TCoolListBox>(nullptr);
  for (auto& K : Cases) {
    SCOPED_TRACE(K.In);
    L->SetFolderName(K.In);
    EXPECT_EQ(L->FolderName(), K.Out);
  }
  TObject::Free(L);
}


TEST(CoolItemsFolder, ListsFoldersThenFilesByTypeAndMask) {
  TTestHost Host;
  TListedFolder Folder("orvalen_items");
  auto* L = Host.Add<TCoolListBox>(0, 0, 200, 200);
  L->SetFolderName(Folder.Dir);
  L->SetExtendedStyle(ctFolderControl);
  EXPECT_EQ(ItemsOf(L->Items()), (Lines{"..", "alpha", "Beta", "a..b", "A.txt", "b.txt", "c.TXT"}))
      << "\"..\" but not \".\"; folders then files, each sorted";

  struct {
    TFileType Type;
    const char* Mask;
    Lines Items;
  } const Cases[] = {
      {FileAttr(ftDirectory), "*.*", {"..", "alpha", "Beta"}},
      {FileAttr(ftArchive), "*.*", {"a..b", "A.txt", "b.txt", "c.TXT"}},
      {FileAttr(ftArchive) | FileAttr(ftReadOnly), "*.*", {"a..b", "A.txt", "b.txt", "c.TXT", "ro.txt"}},
      {FileAttr(ftArchive) | FileAttr(ftHidden), "*.*", {".hidden.txt", "a..b", "A.txt", "b.txt", "c.TXT"}},
      {FileAttr(ftNormal), "*.*", {"..", "alpha", "Beta", ".hidden.txt", "a..b", "A.txt", "b.txt", "c.TXT", "ro.txt"}},
      {FileAttr(ftDirectory) | FileAttr(ftArchive), "*.txt", {"A.txt", "b.txt", "c.TXT"}},
      {FileAttr(ftDirectory) | FileAttr(ftArchive), "b*", {"Beta", "b.txt"}},
  };
  for (auto& K : Cases) {
    SCOPED_TRACE(K.Mask);
    L->SetFileMask(K.Mask);
    L->SetFileType(K.Type);
    EXPECT_EQ(ItemsOf(L->Items()), K.Items);
  }

  // A step up in the name lists the parent's entries.
  L->SetFileType(FileAttr(ftDirectory));
  L->SetFileMask("*.*");
  L->SetFolderName(Folder.Dir + "alpha\\..");
  EXPECT_EQ(L->FolderName(), Folder.Dir);
  EXPECT_EQ(ItemsOf(L->Items()), (Lines{"..", "alpha", "Beta"}));
}

// Lets a test act on the host control when a posted message arrives (mid-fill).
struct THostHook : TObject {
  TWinControl* Control;
  TWndMethod Saved;
  std::function<void()> OnPosted;
  static constexpr unsigned Msg = WM_USER + 77;
  explicit THostHook(TWinControl* C) : Control(C), Saved(C->WindowProc) { C->WindowProc = EVENT(this, THostHook::Hook); }
  ~THostHook() override { Control->WindowProc = Saved; }
  void Hook(TMessage& M) {
    if (M.Msg == Msg && OnPosted) return std::exchange(OnPosted, nullptr)();
    Saved(M);
  }
};

TEST(CoolItemsFolder, MessagesDuringAFillMayChangeTheFolderOrFreeTheControl) {
  TTestHost Host;
  TListedFolder First("orvalen_fill1", 20), Second("orvalen_fill2");
  THostHook Hook(Host.Control());
  auto* L = Host.Add<TCoolListBox>(0, 0, 200, 200);
  L->SetFileType(FileAttr(ftArchive));
  L->SetFolderName(First.Dir);
  Hook.OnPosted = [&] { L->SetFolderName(Second.Dir); };
  PostMessageA(Host.Control()->Handle(), THostHook::Msg, 0, 0);
  L->SetExtendedStyle(ctFolderControl);
  EXPECT_EQ(ItemsOf(L->Items()), (Lines{"a..b", "A.txt", "b.txt", "c.TXT"})) << "the newer folder's items alone";

  Hook.OnPosted = [&] { TObject::Free(L); };
  PostMessageA(Host.Control()->Handle(), THostHook::Msg, 0, 0);
  L->SetFolderName(First.Dir);
  EXPECT_FALSE(Hook.OnPosted) << "freed during its fill, which then stopped";
  EXPECT_EQ(Host.Control()->ControlCount(), 0);
}

// Whatever a message handler does to the list during a folder fill is what the list then holds:
// the fill adds nothing more.
TEST(CoolItemsFolder, AFillStopsWhenTheStyleOrTheListChangesUnderIt) {
  TTestHost Host;
  TListedFolder Folder("orvalen_fill3", 20);
  THostHook Hook(Host.Control());
  const struct {
    const char* What;
    std::function<void(TCoolListBox*)> Act;
    Lines Items;
  } Cases[] = {
      {"the colour style", [](TCoolListBox* L) { L->SetExtendedStyle(ctColorControl); }, BasicColours},
      {"the plain style", [](TCoolListBox* L) { L->SetExtendedStyle(ctCoolControl); }, {"a..b"}},
      {"the items cleared", [](TCoolListBox* L) { L->Items()->Clear(); }, {}},
      {"the folder name emptied", [](TCoolListBox* L) { L->SetFolderName(""); }, {"a..b"}},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.What);
    auto* L = Host.Add<TCoolListBox>(0, 0, 200, 200);
    L->SetFileType(FileAttr(ftArchive));
    L->SetFolderName(Folder.Dir);
    Hook.OnPosted = [&] { K.Act(L); };
    PostMessageA(Host.Control()->Handle(), THostHook::Msg, 0, 0);
    L->SetExtendedStyle(ctFolderControl);
    EXPECT_FALSE(Hook.OnPosted) << "the handler ran during the fill";
    PumpMessages();
    EXPECT_EQ(ItemsOf(L->Items()), K.Items);
    TObject::Free(L);
  }
}

// ----- horizontal extent

TYPED_TEST(CoolItems, AWideItemSetsTheExtentUntilItIsDeleted) {
  auto* C = this->C;
  const bool List = std::is_same_v<TypeParam, TCoolListBox>;
  auto Extent = [&] { return int(SendMessageA(C->Handle(), List ? LB_GETHORIZONTALEXTENT : CB_GETHORIZONTALEXTENT, 0, 0)); };
  C->Items()->Add("short");
  EXPECT_EQ(Extent(), 0) << "narrower than the control";
  const AnsiString Wide(std::string(80, 'W'));
  C->Items()->Add(Wide);
  const int W = C->RealWidth(Wide);
  ASSERT_GT(W, 200);
  EXPECT_EQ(Extent(), W);
  C->Items()->Add("another");
  EXPECT_EQ(Extent(), W);
  C->Items()->Delete(1);
  EXPECT_EQ(Extent(), C->RealWidth("another")) << "the widest by characters now";
  C->Items()->Clear();
  EXPECT_EQ(Extent(), 0);
}

}  // namespace
