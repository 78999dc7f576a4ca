// Every published value of every class a form can hold, set on a design-state form, written as
// a form resource and read back, comes back as set: a value away from the constructor's and the
// stored default itself, for each property the class publishes, its sub-objects' included.
#include "coolctrls/design/CoolCtrlsReg.h"
#include "gradform/design/GradFormReg.h"
#include "jpeg/design/vtxjpegReg.h"
#include "package/design/PackageReg.h"
#include "rtl/Streaming.h"
#include "rtl/TypInfo.h"
#include "suite/design/SuiteReg.h"
#include "vcl/ComCtrls.h"
#include "vcl/FormDesigner.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct TFree {
  void operator()(TObject* O) const { TObject::Free(O); }
};
using TFormPtr = std::unique_ptr<TForm, TFree>;

// Every library's classes in the registry (the class library registers its own by itself).
void RegisterEverything() {
  TDesignPalette Palette;
  RegisterSuite();
  RegisterCoolCtrls();
  GradFormReg::Register();
  vtxjpegReg::Register();
  RegisterPackage();
}

// What a form resource can hold: the components the reader can create, forms as its root.
std::vector<TClass> FormClasses() {
  std::vector<TClass> R;
  for (TClass C : RegisteredClasses())
    if (C->Create && C->InheritsFrom(TComponent::StaticClass())) R.push_back(C);
  return R;
}

// A property reached from the component: the sub-object properties leading to it, then itself.
using TPath = std::vector<const TPropInfo*>;

std::string PathName(const TPath& Path) {
  std::string R;
  for (const TPropInfo* P : Path) R += (R.empty() ? "" : ".") + std::string(P->Name);
  return R;
}

// The object holding the path's last property, or null when a sub-object is missing.
TObject* Holder(TComponent* C, const TPath& Path) {
  TObject* O = C;
  for (size_t I = 0; O && I + 1 < Path.size(); ++I) O = Path[I]->GetObj(O);
  return O;
}

// A string list sub-object is checked through its text.
TStrings* StringsOf(TObject* Holder, const TPropInfo* P) {
  return P->Kind == tkClass && !P->IsReference ? dynamic_cast<TStrings*>(P->GetObj(Holder)) : nullptr;
}

// The value as the text form shows it; exceptions show as their message.
std::string ValueText(TObject* Holder, const TPropInfo* P) {
  try {
    if (TStrings* S = StringsOf(Holder, P)) return S->Text().str();
    return GetPropValueText(Holder, P).str();
  } catch (const std::exception& E) {
    return std::string("(raises ") + E.what() + ")";
  }
}

// One value a test gives a property: an ordinal, a float or a text (strings and string lists).
struct TValue {
  int64_t Ord = 0;
  long double Float = 0;
  AnsiString Str;
};

void Apply(TObject* Holder, const TPropInfo* P, const TValue& V) {
  if (TStrings* S = StringsOf(Holder, P)) S->SetText(V.Str);
  else if (P->Kind == tkFloat) P->SetFloat(Holder, V.Float);
  else if (P->Kind == tkString) P->SetStr(Holder, V.Str);
  else P->SetOrd(Holder, V.Ord);
}

// The values tried on a property of a fresh object: its stored default (the writer leaves it
// out), values away from the fresh one, and for enumerations and sets every element.
std::vector<TValue> Candidates(TObject* Holder, const TPropInfo* P) {
  std::vector<TValue> R;
  if (StringsOf(Holder, P)) return {TValue{0, 0, ""}, TValue{0, 0, "One\r\nTwo\r\n"}};
  switch (P->Kind) {
    case tkInteger:
    case tkInt64: {
      const int64_t F = P->GetOrd(Holder);
      for (int64_t V : {P->HasDefault ? P->Default : int64_t(0), F + 1, int64_t(-5)}) R.push_back({V});
      break;
    }
    case tkChar: {
      const int64_t F = P->GetOrd(Holder);
      for (int64_t V : {P->HasDefault ? P->Default : int64_t(0), int64_t(F == 'A' ? 'B' : 'A')}) R.push_back({V});
      break;
    }
    case tkEnumeration:
      for (int V = 0; V < P->EnumType->Count(); ++V) R.push_back({V});
      break;
    case tkSet: {
      const int64_t F = P->GetOrd(Holder);
      R.push_back({P->HasDefault ? P->Default : 0});
      for (int I = 0; I < P->EnumType->Count() && I < 64; ++I) R.push_back({int64_t(uint64_t(F) ^ (uint64_t(1) << I))});
      break;
    }
    case tkFloat: {
      const long double F = P->GetFloat(Holder);
      for (long double V : {0.0L, F + 1.5L, -5.0L}) R.push_back({0, V});
      break;
    }
    case tkString: {
      const AnsiString F = P->GetStr(Holder);
      for (const AnsiString& V : {AnsiString(), F + "7"}) R.push_back({0, 0, V});
      break;
    }
    default: break;
  }
  return R;
}

bool Settable(const TPropInfo* P) {
  switch (P->Kind) {
    case tkInteger: case tkInt64: case tkChar: case tkEnumeration: case tkSet: return P->GetOrd && P->SetOrd;
    case tkFloat: return P->GetFloat && P->SetFloat;
    case tkString: return P->GetStr && P->SetStr;
    default: return false;
  }
}

// Every property a user can set on Obj, down through its owned sub-objects (not sub-components,
// collections or references, which are objects of their own).
void CollectPaths(TObject* Obj, TPath& Prefix, std::vector<TPath>& Out) {
  for (const TPropInfo* P : Obj->ClassType()->AllProps()) {
    if (Prefix.empty() && SameText(P->Name, "Name")) continue;  // the component's identity
    Prefix.push_back(P);
    if (Settable(P) || StringsOf(Obj, P)) {
      Out.push_back(Prefix);
    } else if (P->Kind == tkClass && !P->IsReference && P->GetObj && Prefix.size() < 4) {
      TObject* Sub = P->GetObj(Obj);
      if (Sub && !dynamic_cast<TComponent*>(Sub) && !dynamic_cast<TCollection*>(Sub)) CollectPaths(Sub, Prefix, Out);
    }
    Prefix.pop_back();
  }
}

// A design-state form holding one component of class C, named Probe1; for a form class, the
// form of that class is the probe itself. With C null, an empty form of class Root.
struct TProbeForm {
  TFormPtr Form;
  TComponent* Probe = nullptr;
  TProbeForm(TClass C, TClass Root = nullptr) {
    if (!Root) Root = C && C->InheritsFrom(TCustomForm::StaticClass()) ? C : TForm::StaticClass();
    if (Root == TForm::StaticClass()) {
      Form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    } else {
      TComponent* Made = Root->Create(nullptr);
      Form.reset(dynamic_cast<TForm*>(Made));
      if (!Form) {
        TObject::Free(Made);
        throw Exception(AnsiString(Root->Name) + " is not a TForm");
      }
    }
    Form->SetDesigning(true);
    if (!C) return;  // the reader names it
    Form->SetName("ValueForm");
    if (C == Root) {
      Probe = Form.get();
      return;
    }
    Probe = C->Create(Form.get());
    Probe->SetName("Probe1");
    if (auto* Control = dynamic_cast<TControl*>(Probe)) {
      Control->SetParent(Form.get());
    }
  }
};

// Writes the form as a form resource and reads it into a new design-state form.
std::unique_ptr<TProbeForm> WriteAndRead(TProbeForm& Made) {
  TMemoryStream Written;
  {
    // The application's events are its own, with no published method to store.
    const TExceptionEvent SavedOnException = Application->OnException;
    Application->OnException = nullptr;
    struct TRestore {
      TExceptionEvent Saved;
      ~TRestore() { Application->OnException = Saved; }
    } Restore{SavedOnException};
    WriteComponentRes(&Written, Made.Form.get());
  }
  auto Back = std::make_unique<TProbeForm>(nullptr, Made.Form->ClassType());
  Written.SetPosition(0);
  ReadComponentRes(&Written, Back->Form.get());
  Back->Probe = Made.Probe == Made.Form.get() ? Back->Form.get() : Back->Form->FindComponent("Probe1");
  return Back;
}

std::string BackText(TProbeForm& Back, const TPath& Path) {
  TObject* H = Back.Probe ? Holder(Back.Probe, Path) : nullptr;
  return H ? ValueText(H, Path.back()) : "(missing)";
}

// Values a fresh component does not keep through a form of its own: what loading derives from
// other values (an auto-sized label's width), found by writing and reading it untouched. Null
// when the component is not written at all on its own (it lives inside another, a menu item).
std::unique_ptr<std::set<std::string>> DerivedByLoading(TClass C, const std::vector<TPath>& Paths) {
  TProbeForm Made(C);
  std::unique_ptr<TProbeForm> Back = WriteAndRead(Made);
  if (!Back->Probe) return nullptr;
  auto R = std::make_unique<std::set<std::string>>();
  for (const TPath& Path : Paths) {
    TObject* H = Holder(Made.Probe, Path);
    if (H && ValueText(H, Path.back()) != BackText(*Back, Path)) R->insert(PathName(Path));
  }
  return R;
}

// A control's size that follows its content: auto-sized, or fixed by its style (an edit's or a
// combo box's height follows its font).
bool SizeFollowsContent(TComponent* C, const TPath& Path) {
  auto* Control = dynamic_cast<TControl*>(C);
  if (!Control || Path.size() != 1) return false;
  const bool Width = SameText(Path[0]->Name, "Width"), Height = SameText(Path[0]->Name, "Height");
  if (!Width && !Height) return false;
  const TPropInfo* AutoSize = GetPropInfo(C, "AutoSize");
  if (AutoSize && AutoSize->Kind == tkEnumeration && AutoSize->GetOrd(C)) return true;
  return (Control->ControlStyle() & StyleOf(Width ? csFixedWidth : csFixedHeight)) != 0;
}

// Values loading recomputes by design.
bool RecomputedByLoading(TClass C, const TPath& Path) {
  static const std::pair<const char*, const char*> Table[] = {
      {"TCustomForm", "PixelsPerInch"},  // a scaled form takes the screen's, scaling its sizes
      {"TqAngleLabel", "Width"},         // squares itself to its text
      {"TqAngleLabel", "Height"},
      {"TqcCustomEdit", "Height"},       // the framed edits' follows their font
  };
  for (TClass K = C; K; K = K->Parent)
    for (auto& [Class, Name] : Table)
      if (SameText(K->Name, Class) && PathName(Path) == Name) return true;
  return false;
}

struct TOutcome {
  bool Tried = false;  // the value took and the class stores it: the form must keep it
  std::string Set, Back;
};

// Sets Path to V on a fresh component of class C, writes its form and reads it into a new
// design-state form: what the component held, and what the one read back holds.
TOutcome RoundTrip(TClass C, const TPath& Path, const TValue& V) {
  TOutcome R;
  TProbeForm Made(C);
  TObject* H = Holder(Made.Probe, Path);
  if (!H) return R;
  const TPropInfo* P = Path.back();
  const std::string Fresh = ValueText(H, P);
  try {
    Apply(H, P, V);
  } catch (const std::exception&) {
    return R;  // a value the setter refuses is not one a form can hold
  }
  R.Set = ValueText(H, P);
  if (R.Set == Fresh) return R;
  // What the class itself says it does not store now (a combo box's item height in a style
  // that measures it), and an auto-sized control's size, follow from other values.
  if (!P->IsStored(H) || SizeFollowsContent(Made.Probe, Path) || RecomputedByLoading(C, Path)) return R;
  R.Tried = true;
  try {
    std::unique_ptr<TProbeForm> Back = WriteAndRead(Made);
    R.Back = BackText(*Back, Path);
  } catch (const std::exception& E) {
    R.Back = std::string("(raises ") + E.what() + ")";
  }
  return R;
}

struct TCatcher : TObject {
  std::vector<std::string> Seen;
  void Caught(TObject*, Exception& E) { Seen.push_back(E.Message().str()); }
};

TEST(FormValues, EveryPublishedValueOfEveryLibraryComesBackAsSet) {
  RegisterEverything();
  // Errors a component reports to the application rather than raising are failures too, and
  // must not stop the run in a message box.
  TCatcher Catcher;
  const TExceptionEvent SavedOnException = Application->OnException;
  Application->OnException = EVENT(&Catcher, TCatcher::Caught);

  std::set<std::string> Checked, Inner, Derived;
  int Properties = 0, Tried = 0;
  for (TClass C : FormClasses()) {
    // Pages are placed by their page control, not on a form of their own.
    if (C->InheritsFrom(TTabSheet::StaticClass())) continue;
    SCOPED_TRACE(C->Name);
    std::vector<TPath> Paths;
    std::unique_ptr<std::set<std::string>> Skip;
    try {
      TProbeForm Sample(C);
      TPath Prefix;
      CollectPaths(Sample.Probe, Prefix, Paths);
      Skip = DerivedByLoading(C, Paths);
    } catch (const std::exception& E) {
      ADD_FAILURE() << C->Name << " untouched does not come back: " << E.what();
      continue;
    }
    if (!Skip) {
      Inner.insert(C->Name);
      continue;
    }
    Checked.insert(C->Name);
    for (const std::string& P : *Skip) Derived.insert(std::string(C->Name) + "." + P);
    for (const TPath& Path : Paths) {
      if (Skip->count(PathName(Path))) continue;
      ++Properties;
      std::vector<TValue> Values;
      {
        TProbeForm Sample(C);
        if (TObject* H = Holder(Sample.Probe, Path)) Values = Candidates(H, Path.back());
      }
      for (const TValue& V : Values) {
        const TOutcome R = RoundTrip(C, Path, V);
        if (!R.Tried) continue;
        ++Tried;
        if (R.Back != R.Set) ADD_FAILURE() << C->Name << "." << PathName(Path) << ": set " << R.Set << ", back " << R.Back;
      }
    }
    vcltest::PumpMessages();
  }
  Application->OnException = SavedOnException;
  EXPECT_TRUE(Catcher.Seen.empty()) << Catcher.Seen.size() << " errors reported, the first: " << Catcher.Seen[0];

  // Each library and the class library took part; what lives inside other components did not.
  for (const char* Name : {"TButton", "TEdit", "TqcEdit", "TqCalc", "TqcShapeColorBtn", "TCoolListBox",
                           "TJPEGFileCompressor", "TgrdGradientForm", "TBMOpenMediaDialog", "TControlButton"})
    EXPECT_TRUE(Checked.count(Name)) << Name << " was not checked";
  EXPECT_TRUE(Inner.count("TMenuItem"));
  auto Joined = [](const std::set<std::string>& Names) {
    std::string R;
    for (const std::string& N : Names) R += " " + N;
    return R;
  };
  std::printf("%d classes, %d properties, %d values written and read back\nderived by loading:%s\ninside others:%s\n",
              int(Checked.size()), Properties, Tried, Joined(Derived).c_str(), Joined(Inner).c_str());
}

}  // namespace
