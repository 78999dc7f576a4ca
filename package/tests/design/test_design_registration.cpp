// Registration of every library with our designer's palette, and a design form holding every
// palette class written and read back.
#include "package/tests/design/designtest.h"

#include "coolctrls/CoolCtrls.h"
#include "coolctrls/design/CoolCtrlsReg.h"
#include "gradform/GradForm.h"
#include "gradform/design/GradFormReg.h"
#include "jpeg/design/vtxjpegReg.h"
#include "jpeg/vtxjpeg.h"
#include "package/BMMediaDialogs.h"
#include "package/TBit.h"
#include "package/TCB.h"
#include "package/TCaseTimer.h"
#include "package/TControlButton.h"
#include "package/TRejectsSystem.h"
#include "package/TcsCheckBox.h"
#include "package/TcsRadioGroup.h"
#include "package/design/PackageReg.h"
#include "suite/design/SuiteReg.h"
#include "suite/qEdit.h"

#include <algorithm>
#include <set>

void designtest::RegisterEverything() {
  RegisterSuite();
  RegisterCoolCtrls();
  GradFormReg::Register();
  vtxjpegReg::Register();
  RegisterPackage();
}

namespace {

using namespace designtest;

std::string ErrorOf(const std::function<void()>& Fn) {
  try {
    Fn();
  } catch (const Exception& E) {
    return std::string(E.ClassName()) + ": " + E.Message().str();
  }
  return "(no exception)";
}

std::vector<std::string> Names(const std::vector<TClass>& Classes) {
  std::vector<std::string> R;
  for (TClass C : Classes) R.push_back(C->Name);
  return R;
}

// Every Register routine of every library, by module.
std::vector<std::pair<std::string, void (*)()>> AllRoutines() {
  std::vector<std::pair<std::string, void (*)()>> R = {
      {"Mystd", &MystdReg::Register},       {"qEdit", &qEditReg::Register},     {"qAnimate", &qAnimateReg::Register},
      {"Std2", &Std2Reg::Register},         {"Blend", &BlendReg::Register},     {"qBtn2", &qBtn2Reg::Register},
      {"qPanel2", &qPanel2Reg::Register},   {"CoolCtrls", &CoolCtrlsReg::Register},
      {"CoolUtils", &CoolUtilsReg::Register}, {"GradForm", &GradFormReg::Register},
      {"vtxjpeg", &vtxjpegReg::Register},
  };
  int N = 0;
  const TPackageUnit* Units = PackageUnits(N);
  for (int I = 0; I < N; ++I) R.push_back({Units[I].Name, Units[I].Register});
  return R;
}

// The package's units and the classes each places on the page, in package order.
struct TUnitRow {
  const char* Unit;
  std::vector<TClass> Classes;
};
std::vector<TUnitRow> PackageTable() {
  return {
      {"TBit", {TBit::StaticClass()}},
      {"TCaseTimer", {TCaseTimer::StaticClass()}},
      {"TCB", {TCompleteBox::StaticClass()}},
      {"TControlButton", {TControlButton::StaticClass()}},
      {"TcsRadioGroup", {TcsRadioGroup::StaticClass()}},
      {"TcsCheckBox", {TcsCheckBox::StaticClass()}},
      {"BMWave", {TBMWave::StaticClass()}},
      {"BMPAGE", {TBMPageControl::StaticClass()}},
      {"BMMediaDialogs", {TBMOpenMediaDialog::StaticClass(), TBMSaveMediaDialog::StaticClass()}},
      {"TRejectsSystem", {TRejectsSystem::StaticClass()}},
  };
}

// Puts a class back in the registry when a test took it out.
struct TReRegister {
  std::vector<TClass> Classes;
  ~TReRegister() {
    for (TClass C : Classes) RegisterClass(C);
  }
};

TEST(DesignRegistration, WithoutAPaletteEveryRoutineRaisesAndRegistersNothing) {
  // Streamable-only classes are taken out first, so a routine that registered them would show.
  const std::vector<TClass> StreamableOnly = {TBMTabSheet::StaticClass(), TqHintWindow::StaticClass(),
                                              TgrdGradientForm::StaticClass()};
  TReRegister Restore{StreamableOnly};
  for (TClass C : StreamableOnly) UnRegisterClass(C);
  const size_t Classes = RegisteredClasses().size();
  const int PropertyEditors = PropertyEditorRegistrationCount();
  const int ComponentEditors = ComponentEditorRegistrationCount();
  for (auto& [Unit, Register] : AllRoutines()) {
    SCOPED_TRACE(Unit);
    EXPECT_EQ(ErrorOf(Register), "EComponentError: Invalid component registration");
    EXPECT_EQ(RegisteredClasses().size(), Classes);
    EXPECT_EQ(PropertyEditorRegistrationCount(), PropertyEditors);
    EXPECT_EQ(ComponentEditorRegistrationCount(), ComponentEditors);
  }
  for (TClass C : StreamableOnly) EXPECT_EQ(GetClass(C->Name), nullptr) << C->Name;
  EXPECT_THROW(RegisterPackage(), EComponentError);
}

TEST(DesignRegistration, ThePackagePageHoldsTheUnitsClassesInUnitOrder) {
  int N = 0;
  const TPackageUnit* Units = PackageUnits(N);
  const std::vector<TUnitRow> Table = PackageTable();
  ASSERT_EQ(N, int(Table.size()));
  std::vector<TClass> All;
  for (int I = 0; I < N; ++I) {
    SCOPED_TRACE(Table[size_t(I)].Unit);
    EXPECT_STREQ(Units[I].Name, Table[size_t(I)].Unit);
    // Each unit's routine alone places its own row.
    TDesignPalette Palette;
    Units[I].Register();
    ASSERT_EQ(Palette.Pages().size(), 1u);
    EXPECT_EQ(Palette.Pages()[0].Name, PackagePalettePage);
    EXPECT_EQ(Names(Palette.Pages()[0].Classes), Names(Table[size_t(I)].Classes));
    All.insert(All.end(), Table[size_t(I)].Classes.begin(), Table[size_t(I)].Classes.end());
  }
  TDesignPalette Palette;
  RegisterPackage();
  ASSERT_EQ(Palette.Pages().size(), 1u);
  EXPECT_STREQ(PackagePalettePage, "Package");
  EXPECT_EQ(Names(Palette.Pages()[0].Classes), Names(All));
  // Registering again keeps one place per class.
  RegisterPackage();
  EXPECT_EQ(Names(Palette.Pages()[0].Classes), Names(All));
}

TEST(DesignRegistration, TheTabSheetIsOnNoPageYetStreamable) {
  TReRegister Restore{{TBMTabSheet::StaticClass()}};
  UnRegisterClass(TBMTabSheet::StaticClass());
  ASSERT_EQ(GetClass("TBMTabSheet"), nullptr);
  TDesignPalette Palette;
  BMPAGEReg::Register();
  EXPECT_TRUE(Palette.PagesOf(TBMTabSheet::StaticClass()).empty());
  EXPECT_EQ(FindClass("TBMTabSheet"), TBMTabSheet::StaticClass());
  EXPECT_EQ(Palette.PagesOf(TBMPageControl::StaticClass()), std::vector<AnsiString>{"Package"});
}

TEST(DesignRegistration, ThePaletteHookLastsAsLongAsThePalette) {
  {
    TDesignPalette Outer;
    {
      TDesignPalette Inner;
      vtxjpegReg::Register();
      EXPECT_EQ(Inner.Pages().size(), 1u);
    }
    // The outer palette is the hook again.
    qPanel2Reg::Register();
    ASSERT_EQ(Outer.Pages().size(), 1u);
    EXPECT_EQ(Outer.Pages()[0].Name, "Suite");
    EXPECT_EQ(Outer.Pages()[0].Classes.size(), 4u);
  }
  EXPECT_THROW(qPanel2Reg::Register(), EComponentError);
}

// The classes the class library registers by itself, as a program of the class library alone
// reports them.
const std::set<std::string>& ClassLibraryClasses() {
  static const std::set<std::string> Names = [] {
    std::set<std::string> R;
    const std::string Out = suitetest::TempPath("vclclasses.txt");
    std::string Cmd = "\"" + suitetest::ModuleDir() + ORVALEN_VCLCLASSES_EXE + "\" \"" + Out + "\"";
    STARTUPINFOA Si{};
    Si.cb = sizeof Si;
    PROCESS_INFORMATION Pi{};
    if (!CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Si, &Pi)) return R;
    WaitForSingleObject(Pi.hProcess, 30000);
    CloseHandle(Pi.hThread);
    CloseHandle(Pi.hProcess);
    std::string Text;
    for (uint8_t B : pkgtest::ReadFileBytes(Out))
      if (B != '\r') Text += char(B);
    DeleteFileA(Out.c_str());
    for (size_t At = 0, End; (End = Text.find('\n', At)) != std::string::npos; At = End + 1)
      R.insert(Text.substr(At, End - At));
    return R;
  }();
  return Names;
}

// What the libraries offer for forms: their components that the reader can create, but no
// forms, no hint windows (a hint component's class for the application) and no tab sheets (a
// page control's verb makes them).
bool OfferedForForms(TClass C) {
  return C->Create && C->InheritsFrom(TComponent::StaticClass()) && !C->InheritsFrom(TCustomForm::StaticClass()) &&
         !C->InheritsFrom(THintWindow::StaticClass()) && C != TBMTabSheet::StaticClass() &&
         !ClassLibraryClasses().count(C->Name);
}

TEST(DesignRegistration, EveryClassTheLibrariesOfferIsOnExactlyOnePage) {
  ASSERT_TRUE(ClassLibraryClasses().count("TForm")) << "the class library's classes are not known";
  ASSERT_FALSE(ClassLibraryClasses().count("TBMWave"));
  TDesignPalette Palette;
  RegisterEverything();
  std::vector<std::string> Pages;
  for (auto& P : Palette.Pages()) Pages.push_back(P.Name.str());
  // One page per library; the gradient form's one class is a form, on none.
  EXPECT_EQ(Pages, (std::vector<std::string>{"Suite", "CoolCtrls", "JPEG", "Package"}));

  for (TClass C : Palette.AllClasses()) {
    EXPECT_EQ(Palette.PagesOf(C).size(), 1u) << C->Name;
    EXPECT_TRUE(OfferedForForms(C)) << C->Name;
    EXPECT_EQ(GetClass(C->Name), C) << C->Name;
  }
  int Offered = 0;
  for (TClass C : RegisteredClasses()) {
    if (!OfferedForForms(C)) continue;
    ++Offered;
    EXPECT_EQ(Palette.PagesOf(C).size(), 1u) << C->Name << " is on " << Palette.PagesOf(C).size() << " pages";
  }
  EXPECT_EQ(Offered, int(Palette.AllClasses().size()));

  // A class of each library on its library's page.
  const std::pair<TClass, const char*> Spots[] = {
      {TqcEdit::StaticClass(), "Suite"},          {TqBackground::StaticClass(), "Suite"},
      {TCoolCheckRadioBox::StaticClass(), "CoolCtrls"}, {TWndHook::StaticClass(), "CoolCtrls"},
      {TJPEGFileDecompressor::StaticClass(), "JPEG"}, {TBMWave::StaticClass(), "Package"},
  };
  for (auto& [C, Page] : Spots) EXPECT_EQ(Palette.PagesOf(C), std::vector<AnsiString>{Page}) << C->Name;
  EXPECT_EQ(FindClass("TgrdGradientForm"), TgrdGradientForm::StaticClass());
}

struct TPlaced {
  std::string Class, Name, Parent;
  friend bool operator==(const TPlaced&, const TPlaced&) = default;
};
std::ostream& operator<<(std::ostream& O, const TPlaced& P) {
  return O << P.Class << " " << P.Name << " on " << P.Parent;
}

std::vector<TPlaced> Placed(TComponent* Root) {
  std::vector<TPlaced> R;
  for (int I = 0; I < Root->ComponentCount(); ++I) {
    TComponent* C = Root->Components(I);
    auto* Control = dynamic_cast<TControl*>(C);
    R.push_back({C->ClassName().str(), C->Name().str(),
                 Control && Control->Parent() ? Control->Parent()->Name().str() : std::string("-")});
  }
  return R;
}

TEST(DesignRegistration, TheDesignerPlacesEveryPaletteClassWritesTheFormAndReadsItBack) {
  TDesignPalette Palette;
  RegisterEverything();
  TDesignForm<> D;
  const std::vector<TClass> Classes = Palette.AllClasses();
  int I = 0;
  for (TClass C : Classes) {
    SCOPED_TRACE(C->Name);
    TComponent* Made = D.Designer->CreateComponent(C, nullptr, 8 + (I % 8) * 76, 8 + (I / 8) * 44);
    ++I;
    ASSERT_EQ(Made->ClassType(), C);
    EXPECT_EQ(Made->Owner(), D.Form.get());
    EXPECT_EQ(Made->Name(), AnsiString(C->Name + 1) + "1");
    EXPECT_TRUE(Made->HasState(csDesigning));
    EXPECT_EQ(D.Designer->Selection(), Made);
    if (auto* Control = dynamic_cast<TControl*>(Made)) {
      EXPECT_EQ(Control->Parent(), D.Form.get());
    }
  }
  EXPECT_EQ(D.Designer->ModifiedCount(), int(Classes.size()));
  EXPECT_EQ(D.Form->ComponentCount(), int(Classes.size()));
  // A second component of a class takes the next number.
  TComponent* Second = D.Designer->CreateComponent(TqcEdit::StaticClass(), nullptr, 8, 420);
  EXPECT_EQ(Second->Name(), "qcEdit2");
  D.Show();

  // The application component streams the application's own events, where this test program
  // keeps a handler of its own that no form publishes.
  const TExceptionEvent SavedOnException = Application->OnException;
  Application->OnException = nullptr;
  auto Written = D.Write();
  Application->OnException = SavedOnException;
  TFormPtr Back = ReadDesignForm(Written.get());
  EXPECT_EQ(Back->Name(), "DesignForm");
  // The writer puts controls before the other components: the same set, not the same order.
  std::vector<TPlaced> Made = Placed(D.Form.get()), Read = Placed(Back.get());
  auto ByName = [](const TPlaced& A, const TPlaced& B) { return A.Name < B.Name; };
  std::sort(Made.begin(), Made.end(), ByName);
  std::sort(Read.begin(), Read.end(), ByName);
  EXPECT_EQ(Read, Made);
}

TEST(DesignRegistration, TheDesignerRefusesAClassItCannotCreateAndKeepsTheForm) {
  TDesignForm<> D;
  EXPECT_EQ(ErrorOf([&] { D.Designer->CreateComponent(TBMCustomSound::StaticClass()); }),
            "EComponentError: Cannot create an instance of TBMCustomSound");
  EXPECT_EQ(D.Form->ComponentCount(), 0);
  EXPECT_EQ(D.Designer->ModifiedCount(), 0);
  // The root's own name is not free either.
  D.Form->SetName("qcEdit1");
  EXPECT_EQ(D.Designer->UniqueName("TqcEdit"), "qcEdit2");
  EXPECT_EQ(D.Designer->UniqueName("Button"), "Button1");
}

}  // namespace
