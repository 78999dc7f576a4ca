// Editor look-up, the base property editor over TypInfo, and the wave property editor's text.
#include "package/tests/design/designtest.h"

#include "package/design/BMPageEditor.h"
#include "package/design/BMWaveEditors.h"
#include "package/design/PackageReg.h"
#include "suite/qEdit.h"

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

void RegisterOnce() {
  static bool Done = [] {
    TDesignPalette Palette;
    RegisterPackage();
    return true;
  }();
  (void)Done;
}

// A test component with a wave data property of another name, and string properties for the
// look-up cases.
class TProbe : public TComponent {
  ORV_CLASS(TProbe, TComponent)
public:
  explicit TProbe(TComponent* AOwner) : TComponent(AOwner), FChime(new TBMWaveData) {}
  ~TProbe() override { delete FChime; }
  TBMWaveData* Chime() const { return FChime; }
  void SetChime(TBMWaveData* Value) { FChime->Assign(Value); }
  AnsiString Other() const { return FOther; }
  void SetOther(const AnsiString& Value) { FOther = Value; }
  AnsiString Named() const { return FNamed; }
  void SetNamed(const AnsiString& Value) { FNamed = Value; }
  int Count() const { return FCount; }
  void SetCount(int Value) { FCount = Value; }
  int Fixed() const { return 7; }
  TFont* Font() const { return FFont.get(); }

private:
  TBMWaveData* FChime;
  AnsiString FOther, FNamed;
  int FCount = 0;
  std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
};
constinit const TPropInfo TProbe_Props[] = {
    PropObject<&TProbe::Chime, &TProbe::SetChime>("Chime"),
    PropStr<&TProbe::Other, &TProbe::SetOther>("Other"),
    PropStr<&TProbe::Named, &TProbe::SetNamed>("Named"),
    PropInt<&TProbe::Count, &TProbe::SetCount>("Count", 0),
    PropInt<&TProbe::Fixed, nullptr>("Fixed", 7),
    PropObject<&TProbe::Font, nullptr>("Font"),
};
ORV_IMPLEMENT_COMPONENT(TProbe, TComponent, TProbe_Props)

class TProbeChild : public TProbe {
  ORV_CLASS(TProbeChild, TProbe)
public:
  using TProbe::TProbe;
};
ORV_IMPLEMENT_COMPONENT_NOPROPS(TProbeChild, TProbe)

class TProbeGrandChild : public TProbeChild {
  ORV_CLASS(TProbeGrandChild, TProbeChild)
public:
  using TProbeChild::TProbeChild;
};
ORV_IMPLEMENT_COMPONENT_NOPROPS(TProbeGrandChild, TProbeChild)

class TOtherProbe : public TComponent {
  ORV_CLASS(TOtherProbe, TComponent)
public:
  using TComponent::TComponent;
  AnsiString Other() const { return FOther; }
  void SetOther(const AnsiString& Value) { FOther = Value; }
private:
  AnsiString FOther;
};
constinit const TPropInfo TOtherProbe_Props[] = {PropStr<&TOtherProbe::Other, &TOtherProbe::SetOther>("Other")};
ORV_IMPLEMENT_COMPONENT(TOtherProbe, TComponent, TOtherProbe_Props)

// Editors that only tell themselves apart.
#define PROBE_PROPERTY_EDITOR(Name)                 \
  class Name : public TPropertyEditor {             \
    ORV_CLASS(Name, TPropertyEditor)                \
  public:                                           \
    using TPropertyEditor::TPropertyEditor;         \
  };                                                \
  ORV_IMPLEMENT_CLASS(Name, TPropertyEditor)
PROBE_PROPERTY_EDITOR(TAnyStringEditor)
PROBE_PROPERTY_EDITOR(TProbeStringEditor)
PROBE_PROPERTY_EDITOR(TProbeStringEditorLater)
PROBE_PROPERTY_EDITOR(TChildStringEditor)
PROBE_PROPERTY_EDITOR(TNamedStringEditor)

#define PROBE_COMPONENT_EDITOR(Name)                \
  class Name : public TComponentEditor {            \
    ORV_CLASS(Name, TComponentEditor)               \
  public:                                           \
    using TComponentEditor::TComponentEditor;       \
  };                                                \
  ORV_IMPLEMENT_CLASS(Name, TComponentEditor)
PROBE_COMPONENT_EDITOR(TProbeEditor)
PROBE_COMPONENT_EDITOR(TProbeEditorLater)
PROBE_COMPONENT_EDITOR(TChildEditor)

void RegisterProbeEditors() {
  static bool Done = [] {
    RegisterPropertyEditor("AnsiString", TProbe::StaticClass(), "", PropertyEditorClass<TProbeStringEditor>());
    RegisterPropertyEditor("AnsiString", nullptr, "", PropertyEditorClass<TAnyStringEditor>());
    RegisterPropertyEditor("AnsiString", TProbeChild::StaticClass(), "", PropertyEditorClass<TChildStringEditor>());
    RegisterPropertyEditor("AnsiString", nullptr, "Named", PropertyEditorClass<TNamedStringEditor>());
    RegisterPropertyEditor("AnsiString", TProbe::StaticClass(), "", PropertyEditorClass<TProbeStringEditorLater>());
    RegisterComponentEditor(TProbe::StaticClass(), ComponentEditorClass<TProbeEditor>());
    RegisterComponentEditor(TProbeChild::StaticClass(), ComponentEditorClass<TChildEditor>());
    RegisterComponentEditor(TProbe::StaticClass(), ComponentEditorClass<TProbeEditorLater>());
    return true;
  }();
  (void)Done;
}

TClass PropertyEditorOf(TComponent* C, const char* Prop) {
  return FindPropertyEditor({C}, GetPropInfo(C, Prop)).Class;
}

TEST(DesignEditors, TheLookUpTakesTheMostSpecificAndThenTheLaterRegistration) {
  RegisterOnce();
  RegisterProbeEditors();
  TFormPtr Form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* Wave = TComponent::Create<TBMWave>(Form.get());
  auto* Probe = TComponent::Create<TProbe>(Form.get());
  auto* Child = TComponent::Create<TProbeChild>(Form.get());
  auto* GrandChild = TComponent::Create<TProbeGrandChild>(Form.get());
  auto* Other = TComponent::Create<TOtherProbe>(Form.get());
  auto* Pages = TComponent::Create<TBMPageControl>(Form.get());
  auto* Sheet = TComponent::Create<TBMTabSheet>(Form.get());
  auto* Edit = TComponent::Create<TqcEdit>(Form.get());

  struct TPropCase {
    TComponent* Component;
    const char* Prop;
    TClass Editor;
  } PropCases[] = {
      {Wave, "Wave", TBMWaveDataProperty::StaticClass()},
      {Probe, "Chime", TBMWaveDataProperty::StaticClass()},       // any property of the type
      {Probe, "Other", TProbeStringEditorLater::StaticClass()},   // the later of two equal ones
      {Child, "Other", TChildStringEditor::StaticClass()},        // the nearest class
      {GrandChild, "Other", TChildStringEditor::StaticClass()},   // the nearest ancestor
      {Probe, "Named", TNamedStringEditor::StaticClass()},        // a name over a class
      {Other, "Other", TAnyStringEditor::StaticClass()},          // any component
      {Probe, "Count", TPropertyEditor::StaticClass()},           // none registered
      {Sheet, "TabVisible", TPropertyEditor::StaticClass()},
  };
  for (const TPropCase& C : PropCases) {
    SCOPED_TRACE(C.Component->ClassName().str() + "." + C.Prop);
    EXPECT_STREQ(PropertyEditorOf(C.Component, C.Prop)->Name, C.Editor->Name);
    EXPECT_STREQ(GetPropertyEditor(nullptr, C.Component, C.Prop)->ClassType()->Name, C.Editor->Name);
  }
  // Several components: a class registration holds only when every one descends from it.
  EXPECT_EQ(FindPropertyEditor({Probe, Child}, GetPropInfo(Probe, "Other")).Class,
            TProbeStringEditorLater::StaticClass());

  struct TComponentCase {
    TClass Component;
    TClass Editor;
  } ComponentCases[] = {
      {TBMWave::StaticClass(), TBMWaveEditor::StaticClass()},
      {TBMPageControl::StaticClass(), TBMPageControlEditor::StaticClass()},
      {TBMTabSheet::StaticClass(), TBMPageControlEditor::StaticClass()},
      {TBMCustomSound::StaticClass(), TDefaultEditor::StaticClass()},
      {TqcEdit::StaticClass(), TDefaultEditor::StaticClass()},
      {TProbe::StaticClass(), TProbeEditorLater::StaticClass()},
      {TProbeChild::StaticClass(), TChildEditor::StaticClass()},
      {TProbeGrandChild::StaticClass(), TChildEditor::StaticClass()},
  };
  for (const TComponentCase& C : ComponentCases)
    EXPECT_STREQ(FindComponentEditor(C.Component).Class->Name, C.Editor->Name) << C.Component->Name;
  EXPECT_EQ(GetComponentEditor(Pages, nullptr)->ClassType(), TBMPageControlEditor::StaticClass());
  EXPECT_EQ(GetComponentEditor(Edit, nullptr)->ClassType(), TDefaultEditor::StaticClass());
  EXPECT_EQ(ErrorOf([&] { GetPropertyEditor(nullptr, Probe, "Nope"); }), "EPropertyError: Unknown property: 'Nope'");
}

TEST(DesignEditors, TheBaseEditorsWorkThroughTypInfoAndTellTheDesigner) {
  TDesignForm<> D;
  auto* Probe = TComponent::Create<TProbe>(D.Form.get());
  auto* Second = TComponent::Create<TProbe>(D.Form.get());
  auto Count = GetPropertyEditor(D.Designer.get(), {Probe, Second}, GetPropInfo(Probe, "Count"));
  EXPECT_EQ(Count->GetValue(), "0");
  Count->SetValue("42");
  EXPECT_EQ(Probe->Count(), 42);
  EXPECT_EQ(Second->Count(), 42);
  EXPECT_EQ(D.Designer->ModifiedCount(), 1);
  EXPECT_EQ(ErrorOf([&] { Count->SetValue("many"); }), "EPropertyError: Invalid property value: many");
  EXPECT_EQ(D.Designer->ModifiedCount(), 1);
  EXPECT_EQ(Count->GetAttributes(), PropertyAttribute(paMultiSelect) | PropertyAttribute(paRevertable));
  EXPECT_TRUE(D.Designer->PropertyEditor(Probe, "Fixed")->GetAttributes() & PropertyAttribute(paReadOnly));
  EXPECT_EQ(ErrorOf([&] { Count->GetObjectValue(); }), "EPropertyError: Invalid property type: Integer");

  // A sub-object has no text form.
  auto Font = D.Designer->PropertyEditor(Probe, "Font");
  EXPECT_EQ(Font->GetValue(), "(TFont)");
  Font->SetValue("");
  Font->SetValue("(TFont)");
  EXPECT_EQ(ErrorOf([&] { Font->SetValue("Arial"); }), "EPropertyError: Invalid property value: Arial");
  EXPECT_EQ(D.Designer->ModifiedCount(), 1);
  // Set as an object, through Assign when it has no setter.
  TFont Big;
  Big.SetSize(31);
  Font->SetObjectValue(&Big);
  EXPECT_EQ(Probe->Font()->Size(), 31);
  EXPECT_EQ(Font->GetObjectValue(), Probe->Font());

  // The double click of a component without an editor of its own does nothing.
  D.Designer->Edit(Probe);
  EXPECT_EQ(D.Designer->ModifiedCount(), 1);
}

TEST(DesignEditors, TheWavePropertyShowsSilenceOrTheFileNameAndHasADialog) {
  RegisterOnce();
  TDesignForm<> D;
  auto* Wave = static_cast<TBMWave*>(D.Designer->CreateComponent(TBMWave::StaticClass()));
  auto Editor = D.Designer->PropertyEditor(Wave, "Wave");
  ASSERT_EQ(Editor->ClassType(), TBMWaveDataProperty::StaticClass());
  EXPECT_TRUE(Editor->GetAttributes() & PropertyAttribute(paDialog));
  EXPECT_TRUE(Editor->GetAttributes() & PropertyAttribute(paMultiSelect));

  const Bytes Image = pkgtest::WaveImage(pkgtest::Samples(64, 1));
  struct TCase {
    const char* What;
    bool Embedded;
    const char* Name;
    bool WithBytes;
    const char* Shown;
  } Cases[] = {
      {"new", true, "", false, "(Silence)"},
      {"embedded bytes", true, "C:\\sounds\\ding.wav", true, "C:\\sounds\\ding.wav"},
      {"embedded name only", true, "C:\\sounds\\ding.wav", false, "(Silence)"},
      {"referenced", false, "C:\\sounds\\dong.wav", false, "C:\\sounds\\dong.wav"},
      {"referenced without name", false, "", false, "(Silence)"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    Wave->Wave()->Clear();
    Wave->Wave()->SetEmbedded(C.Embedded);
    Wave->Wave()->SetFileName(C.Name);
    if (C.WithBytes) Wave->Wave()->SetData(Image.data(), int(Image.size()));
    EXPECT_EQ(Editor->GetValue(), C.Shown);
  }
}

TEST(DesignEditors, ClearingTheWaveTextFreesTheBytesAndKeepsNameAndFlag) {
  RegisterOnce();
  const Bytes Image = pkgtest::WaveImage(pkgtest::Samples(100, 2));
  const std::string File = suitetest::TempPath("clear.wav");
  pkgtest::WriteFileBytes(File, Image);
  struct TCase {
    const char* What;
    bool Embedded;
    const char* Shown;  // after clearing; null: the file name
  } Cases[] = {
      {"embedded", true, "(Silence)"},
      {"referenced", false, nullptr},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    TDesignForm<> D;
    auto* Probe = TComponent::Create<TProbe>(D.Form.get());
    Probe->SetName("Probe");
    Probe->Chime()->SetEmbedded(C.Embedded);
    Probe->Chime()->LoadFromFile(File.c_str());  // bytes whatever the flag
    ASSERT_EQ(Probe->Chime()->Length(), int(Image.size()));
    auto Editor = D.Designer->PropertyEditor(Probe, "Chime");
    ASSERT_EQ(Editor->GetValue(), AnsiString(File.c_str()));
    Editor->SetValue("");
    EXPECT_EQ(Probe->Chime()->Length(), 0);
    EXPECT_EQ(Probe->Chime()->Data(), nullptr);
    EXPECT_EQ(Probe->Chime()->Embedded(), C.Embedded);
    EXPECT_EQ(Probe->Chime()->FileName(), AnsiString(File.c_str()));
    EXPECT_EQ(Editor->GetValue(), C.Shown ? AnsiString(C.Shown) : AnsiString(File.c_str()));
    EXPECT_EQ(D.Designer->ModifiedCount(), 1);
    // Typing the shown text again changes nothing; another text is not a wave.
    Editor->SetValue(Editor->GetValue());
    EXPECT_EQ(D.Designer->ModifiedCount(), 1);
    EXPECT_THROW(Editor->SetValue("noise"), EPropertyError);
  }
  DeleteFileA(File.c_str());
}

}  // namespace
