#include "rtl/TypInfo.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <class F>
std::string ErrorOf(F&& Fn) {
  try {
    Fn();
  } catch (const Exception& E) {
    return std::string(E.ClassName()) + ": " + E.Message().str();
  } catch (const std::exception& E) {
    return std::string("std::exception: ") + E.what();
  }
  return "(no exception)";
}

enum TProbeShape { psCircle, psSquare, psStar };
const TEnumType ProbeShapeType{"TProbeShape", {"psCircle", "psSquare", "psStar"}};
enum TProbeOption { poLeft, poRight, poWrap };
const TEnumType ProbeOptionType{"TProbeOption", {"poLeft", "poRight", "poWrap"}};
using TProbeOptions = unsigned;  // bit n = TProbeOption n

// An integer type with identifiers, as colours have.
constexpr int tnRed = 0xFF;
constexpr int tnNone = 0x1FFFFFFF;
bool TintToIdent(int V, AnsiString& S) {
  if (V == tnRed) S = "tnRed";
  else if (V == tnNone) S = "tnNone";
  else return false;
  return true;
}
bool IdentToTint(const AnsiString& S, int& V) {
  if (SameText(S, "tnRed")) V = tnRed;
  else if (SameText(S, "tnNone")) V = tnNone;
  else return false;
  return true;
}
void RegisterTint() { RegisterIntegerConsts("TProbeTint", IdentToTint, TintToIdent); }

class TProbeItem : public TCollectionItem {
  ORV_CLASS(TProbeItem, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  static TCollectionItem* Make(TCollection* C) { return new TProbeItem(C); }
  void Assign(TPersistent* Source) override {
    if (dynamic_cast<TProbeItem*>(Source)) return;
    inherited::Assign(Source);
  }
};
ORV_IMPLEMENT_CLASS(TProbeItem, TCollectionItem)

// One property of every kind the table builders make.
class TProbe : public TComponent {
  ORV_CLASS(TProbe, TComponent)
public:
  explicit TProbe(TComponent* AOwner)
      : TComponent(AOwner), FItems(new TOwnedCollection(this, TProbeItem::StaticClass(), &TProbeItem::Make)) {}
  ~TProbe() override { delete FItems; }

  int Width() const { return FWidth; }
  void SetWidth(int V) { FWidth = V; }
  bool Active() const { return FActive; }
  void SetActive(bool V) { FActive = V; }
  TProbeShape Shape() const { return FShape; }
  void SetShape(TProbeShape V) { FShape = V; }
  TProbeOptions Options() const { return FOptions; }
  void SetOptions(TProbeOptions V) { FOptions = V; }
  int Tint() const { return FTint; }
  void SetTint(int V) { FTint = V; }
  char Separator() const { return FSeparator; }
  void SetSeparator(char V) { FSeparator = V; }
  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& V) { FCaption = V; }
  double Ratio() const { return FRatio; }
  void SetRatio(double V) { FRatio = V; }
  TOwnedCollection* Items() const { return FItems; }
  void SetItems(TOwnedCollection* V) { FItems->Assign(V); }
  TProbe* Buddy() const { return FBuddy; }
  void SetBuddy(TProbe* V) {
    if (FBuddy == V) return;
    if (FBuddy) FBuddy->RemoveFreeNotification(this);
    FBuddy = V;
    if (FBuddy) FBuddy->FreeNotification(this);
  }
  int Serial() const { return 42; }  // read-only
  TNotifyEvent OnFire;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FBuddy) FBuddy = nullptr;
  }

  int FWidth = 64;
  bool FActive = true;
  TProbeShape FShape = psSquare;
  TProbeOptions FOptions = (1u << poLeft) | (1u << poWrap);
  int FTint = tnNone;
  char FSeparator = ',';
  AnsiString FCaption;
  double FRatio = 0;
  TOwnedCollection* FItems;
  TProbe* FBuddy = nullptr;
};

static constinit const TPropInfo ProbeProps[] = {
    PropInt<&TProbe::Width, &TProbe::SetWidth>("Width", 64),
    PropBool<&TProbe::Active, &TProbe::SetActive>("Active", true),
    PropEnum<&TProbe::Shape, &TProbe::SetShape>("Shape", ProbeShapeType, psSquare),
    PropSet<&TProbe::Options, &TProbe::SetOptions>("Options", ProbeOptionType, (1 << poLeft) | (1 << poWrap)),
    PropIntType<&TProbe::Tint, &TProbe::SetTint>("Tint", "TProbeTint", tnNone),
    PropChar<&TProbe::Separator, &TProbe::SetSeparator>("Separator", ','),
    PropStr<&TProbe::Caption, &TProbe::SetCaption>("Caption"),
    PropFloat<&TProbe::Ratio, &TProbe::SetRatio>("Ratio"),
    PropObject<&TProbe::Items, &TProbe::SetItems>("Items"),
    PropRef<&TProbe::Buddy, &TProbe::SetBuddy>("Buddy"),
    PropEvent<&TProbe::OnFire>("OnFire"),
    PropInt<&TProbe::Serial, nullptr>("Serial", 42),
};
ORV_IMPLEMENT_COMPONENT(TProbe, TComponent, ProbeProps)

// Adds a property and redeclares Width with a new default.
class TProbeEx : public TProbe {
  ORV_CLASS(TProbeEx, TProbe)
public:
  explicit TProbeEx(TComponent* AOwner) : TProbe(AOwner) { FWidth = 100; }
  int Depth() const { return FDepth; }
  void SetDepth(int V) { FDepth = V; }
private:
  int FDepth = 3;
};
static constinit const TPropInfo ProbeExProps[] = {
    PropInt<&TProbeEx::Depth, &TProbeEx::SetDepth>("Depth", 3),
    PropInt<&TProbe::Width, &TProbe::SetWidth>("Width", 100),
};
ORV_IMPLEMENT_COMPONENT(TProbeEx, TProbe, ProbeExProps)

// A form-like root: a published field bound to the component of that name and published methods
// for the events of the components it owns.
class THost : public TComponent {
  ORV_CLASS(THost, TComponent)
public:
  using TComponent::TComponent;
  void ProbeFire(TObject* Sender) { ++Fired; LastSender = Sender; }
  void ProbeKey(TObject* Sender, char& Key) {}
  TProbe* Probe1 = nullptr;
  int Fired = 0;
  TObject* LastSender = nullptr;
};
static constinit const TPublishedField HostFields[] = {PublishedField<&THost::Probe1>("Probe1")};
static constinit const TPublishedMethod HostMethods[] = {
    PublishedMethod<&THost::ProbeFire>("ProbeFire"),
    PublishedMethod<&THost::ProbeKey>("ProbeKey"),
};
ORV_IMPLEMENT_FORM(THost, TComponent, nullptr, HostFields, HostMethods)

TProbe* MakeProbe(TComponent* Owner, const char* Name) {
  TProbe* P = TComponent::Create<TProbe>(Owner);
  P->SetName(Name);
  return P;
}

const TPropInfo* Prop(const TObject* Obj, const char* Name) {
  const TPropInfo* P = GetPropInfo(Obj, Name);
  EXPECT_TRUE(P) << Name;
  return P;
}

class TypInfoTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterTint();
    Probe = TComponent::Create<TProbe>(nullptr);
  }
  void TearDown() override { TObject::Free(Probe); }
  TProbe* Probe = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Tables

TEST(PropertyTable, BuildersDescribeEachKind) {
  struct Case { const char* Name; TTypeKind Kind; const char* Type; bool HasDefault; int64_t Default; };
  const Case Cases[] = {
      {"Width", tkInteger, "Integer", true, 64},
      {"Active", tkEnumeration, "Boolean", true, 1},
      {"Shape", tkEnumeration, "TProbeShape", true, psSquare},
      {"Options", tkSet, "TProbeOption", true, 5},
      {"Tint", tkInteger, "TProbeTint", true, tnNone},
      {"Separator", tkChar, "Char", true, ','},
      {"Caption", tkString, "AnsiString", false, 0},
      {"Ratio", tkFloat, "Extended", false, 0},
      {"Items", tkClass, nullptr, false, 0},
      {"Buddy", tkClass, nullptr, false, 0},
      {"OnFire", tkMethod, nullptr, false, 0},
  };
  TClass C = TProbe::StaticClass();
  ASSERT_EQ(C->PropCount, 12);
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    const TPropInfo* P = C->FindProp(K.Name);
    ASSERT_TRUE(P);
    EXPECT_STREQ(P->Name, K.Name);
    EXPECT_EQ(P->Kind, K.Kind);
    if (K.Type) {
      EXPECT_STREQ(P->Type(), K.Type);
    }
    EXPECT_EQ(P->HasDefault, K.HasDefault);
    EXPECT_EQ(P->Default, K.Default);
    EXPECT_TRUE(P->IsStored(nullptr));
  }
  EXPECT_EQ(C->FindProp("Active")->EnumType, &BooleanType);
  EXPECT_EQ(C->FindProp("Items")->PropClass(), TOwnedCollection::StaticClass());
  EXPECT_FALSE(C->FindProp("Items")->IsReference);
  EXPECT_EQ(C->FindProp("Buddy")->PropClass(), TProbe::StaticClass());
  EXPECT_TRUE(C->FindProp("Buddy")->IsReference);
  EXPECT_EQ(*C->FindProp("OnFire")->MethodType, typeid(TNotifyEvent));
  EXPECT_EQ(C->FindProp("Serial")->SetOrd, nullptr);
  // Lookups ignore case and reach the base classes.
  EXPECT_EQ(C->FindProp("WIDTH"), C->FindProp("Width"));
  EXPECT_EQ(C->FindProp("tag"), TComponent::StaticClass()->FindProp("Tag"));
  EXPECT_EQ(C->FindProp("Widt"), nullptr);
  EXPECT_EQ(C->FindProp(""), nullptr);
}

TEST(PropertyTable, AllPropsListsBaseClassesFirstAndRedeclarationsInPlace) {
  auto Names = [](TClass C) {
    std::vector<std::string> R;
    for (const TPropInfo* P : C->AllProps()) R.push_back(P->Name);
    return R;
  };
  const std::vector<std::string> Probe = {"Name", "Tag", "Width", "Active", "Shape", "Options", "Tint",
                                          "Separator", "Caption", "Ratio", "Items", "Buddy", "OnFire", "Serial"};
  EXPECT_EQ(Names(TProbe::StaticClass()), Probe);
  std::vector<std::string> Ex = Probe;
  Ex.push_back("Depth");
  EXPECT_EQ(Names(TProbeEx::StaticClass()), Ex);

  const TPropInfo* Width = TProbeEx::StaticClass()->AllProps()[2];
  EXPECT_EQ(Width->Default, 100);
  EXPECT_EQ(Width, TProbeEx::StaticClass()->FindProp("Width"));
  EXPECT_EQ(TProbe::StaticClass()->FindProp("Width")->Default, 64);
  EXPECT_EQ(TProbe::StaticClass()->FindProp("Depth"), nullptr);
}

TEST(PropertyTable, EnumerationNamesAndIntegerIdentifiers) {
  EXPECT_EQ(ProbeShapeType.Count(), 3);
  EXPECT_EQ(ProbeShapeType.NameToValue("psStar"), 2);
  EXPECT_EQ(ProbeShapeType.NameToValue("PSCIRCLE"), 0);
  EXPECT_EQ(ProbeShapeType.NameToValue("psSta"), -1);
  EXPECT_EQ(ProbeShapeType.NameToValue(""), -1);
  EXPECT_STREQ(ProbeShapeType.ValueToName(1), "psSquare");
  EXPECT_EQ(ProbeShapeType.ValueToName(3), nullptr);
  EXPECT_EQ(ProbeShapeType.ValueToName(-1), nullptr);
  EXPECT_STREQ(BooleanType.ValueToName(0), "False");
  EXPECT_EQ(BooleanType.NameToValue("true"), 1);

  RegisterTint();
  const TIntIdentType* T = FindIntegerConsts("tprobetint");
  ASSERT_TRUE(T);
  EXPECT_EQ(T, FindIntegerConsts("TProbeTint"));
  int V = 0;
  EXPECT_TRUE(T->IdentToInt("tnRed", V));
  EXPECT_EQ(V, tnRed);
  EXPECT_EQ(FindIntegerConsts("TNoSuchType"), nullptr);
  EXPECT_EQ(FindIntegerConsts(nullptr), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Access by name

TEST_F(TypInfoTest, OrdinalPropertiesByName) {
  EXPECT_EQ(GetOrdProp(Probe, "Width"), 64);
  SetOrdProp(Probe, "width", 7);
  EXPECT_EQ(Probe->Width(), 7);
  SetOrdProp(Probe, "Active", 0);
  EXPECT_FALSE(Probe->Active());
  SetOrdProp(Probe, "Shape", psStar);
  EXPECT_EQ(Probe->Shape(), psStar);
  SetOrdProp(Probe, "Options", 1 << poRight);
  EXPECT_EQ(Probe->Options(), 2u);
  SetOrdProp(Probe, "Separator", ';');
  EXPECT_EQ(Probe->Separator(), ';');
  SetOrdProp(Probe, "Tag", -3);  // inherited
  EXPECT_EQ(Probe->Tag(), -3);
  EXPECT_EQ(GetOrdProp(Probe, "Tag"), -3);
  EXPECT_EQ(GetOrdProp(Probe, "Serial"), 42);
}

TEST_F(TypInfoTest, StringEnumFloatObjectAndMethodPropertiesByName) {
  SetStrProp(Probe, "Caption", "Hello");
  EXPECT_EQ(Probe->Caption(), "Hello");
  EXPECT_EQ(GetStrProp(Probe, "caption"), "Hello");
  SetStrProp(Probe, "Name", "Probe9");
  EXPECT_EQ(Probe->Name(), "Probe9");
  // The setter's own checks still apply.
  EXPECT_EQ(ErrorOf([&] { SetStrProp(Probe, "Name", "9x"); }),
            "EComponentError: '9x' is not a valid component name");

  EXPECT_EQ(GetEnumProp(Probe, "Shape"), "psSquare");
  SetEnumProp(Probe, "Shape", "PSSTAR");
  EXPECT_EQ(Probe->Shape(), psStar);
  SetEnumProp(Probe, "Active", "false");
  EXPECT_FALSE(Probe->Active());
  EXPECT_EQ(GetEnumProp(Probe, "Active"), "False");
  EXPECT_EQ(ErrorOf([&] { SetEnumProp(Probe, "Shape", "psHex"); }), "EPropertyError: Invalid property element: psHex");
  EXPECT_EQ(Probe->Shape(), psStar);
  SetOrdProp(Probe, "Shape", 3);  // values without a name read back as numbers
  EXPECT_EQ(GetEnumProp(Probe, "Shape"), "3");

  SetFloatProp(Probe, "Ratio", 2.5);
  EXPECT_EQ(Probe->Ratio(), 2.5);
  EXPECT_EQ(GetFloatProp(Probe, "Ratio"), 2.5);

  EXPECT_EQ(GetObjectProp(Probe, "Items"), Probe->Items());
  EXPECT_EQ(GetObjectProp(Probe, "Buddy"), nullptr);

  THost Host(nullptr);
  SetMethodProp(Probe, "OnFire", TNotifyEvent::Bind<&THost::ProbeFire>(&Host).Method());
  Probe->OnFire(Probe);
  EXPECT_EQ(Host.Fired, 1);
  EXPECT_EQ(Host.LastSender, Probe);
  EXPECT_TRUE(GetMethodProp(Probe, "OnFire") == EVENT(&Host, THost::ProbeFire).Method());
  SetMethodProp(Probe, "OnFire", TMethod{});
  EXPECT_FALSE(Probe->OnFire);
}

TEST_F(TypInfoTest, UnknownPropertiesAreErrors) {
  const char* Unknown = "EPropertyError: Unknown property: 'Nope'";
  EXPECT_EQ(GetPropInfo(Probe, "Nope"), nullptr);
  EXPECT_EQ(GetPropInfo(nullptr, "Width"), nullptr);
  EXPECT_EQ(ErrorOf([&] { GetOrdProp(Probe, "Nope"); }), Unknown);
  EXPECT_EQ(ErrorOf([&] { SetOrdProp(Probe, "Nope", 1); }), Unknown);
  EXPECT_EQ(ErrorOf([&] { GetStrProp(Probe, "Nope"); }), Unknown);
  EXPECT_EQ(ErrorOf([&] { SetStrProp(Probe, "Nope", "x"); }), Unknown);
  EXPECT_EQ(ErrorOf([&] { GetFloatProp(Probe, "Nope"); }), Unknown);
  EXPECT_EQ(ErrorOf([&] { SetFloatProp(Probe, "Nope", 1); }), Unknown);
  EXPECT_EQ(ErrorOf([&] { GetEnumProp(Probe, "Nope"); }), Unknown);
  EXPECT_EQ(ErrorOf([&] { SetEnumProp(Probe, "Nope", "x"); }), Unknown);
  EXPECT_EQ(ErrorOf([&] { GetObjectProp(Probe, "Nope"); }), Unknown);
  EXPECT_EQ(ErrorOf([&] { GetMethodProp(Probe, "Nope"); }), Unknown);
  EXPECT_EQ(ErrorOf([&] { SetMethodProp(Probe, "Nope", TMethod{}); }), Unknown);
  // A property of a descendant is unknown to the base class.
  EXPECT_EQ(ErrorOf([&] { GetOrdProp(Probe, "Depth"); }), "EPropertyError: Unknown property: 'Depth'");
}

TEST_F(TypInfoTest, PropertiesOfAnotherKindAreErrors) {
  struct Case { const char* What; std::function<void()> Fn; const char* Error; };
  const Case Cases[] = {
      {"GetOrd string", [&] { GetOrdProp(Probe, "Caption"); }, "Invalid property type: AnsiString"},
      {"SetOrd float", [&] { SetOrdProp(Probe, "Ratio", 1); }, "Invalid property type: Extended"},
      {"GetOrd object", [&] { GetOrdProp(Probe, "Items"); }, "Invalid property type: TOwnedCollection"},
      {"GetOrd reference", [&] { GetOrdProp(Probe, "Buddy"); }, "Invalid property type: TProbe"},
      {"GetStr integer", [&] { GetStrProp(Probe, "Width"); }, "Invalid property type: Integer"},
      {"SetStr char", [&] { SetStrProp(Probe, "Separator", "x"); }, "Invalid property type: Char"},
      {"GetFloat enum", [&] { GetFloatProp(Probe, "Shape"); }, "Invalid property type: TProbeShape"},
      {"SetFloat integer type", [&] { SetFloatProp(Probe, "Tint", 1); }, "Invalid property type: TProbeTint"},
      {"GetEnum set", [&] { GetEnumProp(Probe, "Options"); }, "Invalid property type: TProbeOption"},
      {"SetEnum integer", [&] { SetEnumProp(Probe, "Width", "psStar"); }, "Invalid property type: Integer"},
      {"GetObject string", [&] { GetObjectProp(Probe, "Caption"); }, "Invalid property type: AnsiString"},
      {"GetMethod boolean", [&] { GetMethodProp(Probe, "Active"); }, "Invalid property type: Boolean"},
      {"SetMethod integer", [&] { SetMethodProp(Probe, "Width", TMethod{}); }, "Invalid property type: Integer"},
      {"SetOrd read-only", [&] { SetOrdProp(Probe, "Serial", 1); }, "Property Serial is read-only"},
      {"SetText read-only", [&] { SetPropValueText(Probe, Prop(Probe, "Serial"), "1"); },
       "Property Serial is read-only"},
      {"SetText sub-object", [&] { SetPropValueText(Probe, Prop(Probe, "Items"), "x"); },
       "Invalid property type: TOwnedCollection"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    EXPECT_EQ(ErrorOf(C.Fn), std::string("EPropertyError: ") + C.Error);
  }
  EXPECT_EQ(Probe->Width(), 64);
  EXPECT_EQ(Probe->Ratio(), 0);
}

// ---------------------------------------------------------------------------------------------
// Values as text

TEST_F(TypInfoTest, ValuesReadAsText) {
  struct Case { const char* Prop; const char* Text; };
  const Case Fresh[] = {
      {"Width", "64"},    {"Active", "True"},    {"Shape", "psSquare"}, {"Options", "[poLeft,poWrap]"},
      {"Tint", "tnNone"}, {"Separator", ","},   {"Caption", ""},       {"Ratio", "0"},
      {"Items", "(TOwnedCollection)"}, {"Buddy", "nil"}, {"OnFire", ""}, {"Name", ""}, {"Tag", "0"},
  };
  for (const Case& C : Fresh) {
    SCOPED_TRACE(C.Prop);
    EXPECT_EQ(GetPropValueText(Probe, Prop(Probe, C.Prop)), C.Text);
  }
  Probe->SetOptions(0);
  EXPECT_EQ(GetPropValueText(Probe, Prop(Probe, "Options")), "[]");
  Probe->SetOptions(1u << 5);  // an element without a name
  EXPECT_EQ(GetPropValueText(Probe, Prop(Probe, "Options")), "[5]");
  Probe->SetTint(-7);
  EXPECT_EQ(GetPropValueText(Probe, Prop(Probe, "Tint")), "-7");
}

TEST_F(TypInfoTest, ValuesSetFromText) {
  struct Case { const char* Prop; const char* Text; const char* Back; };
  const Case Cases[] = {
      {"Width", "12", "12"},
      {"Width", " -5 ", "-5"},
      {"Width", "$10", "16"},
      {"Width", "0x1F", "31"},
      {"Width", "+3", "3"},
      {"Width", "-2147483648", "-2147483648"},
      {"Active", "false", "False"},
      {"Active", "TRUE", "True"},
      {"Shape", "psstar", "psStar"},
      {"Shape", " psCircle ", "psCircle"},
      {"Options", "[poWrap, poLeft]", "[poLeft,poWrap]"},
      {"Options", "[]", "[]"},
      {"Options", " [ poRight ] ", "[poRight]"},
      {"Tint", "tnRed", "tnRed"},
      {"Tint", "TNNONE", "tnNone"},
      {"Tint", "255", "tnRed"},
      {"Tint", "12", "12"},
      {"Separator", ";", ";"},
      {"Separator", " ", " "},
      {"Caption", " spaced, \"quoted\" ", " spaced, \"quoted\" "},
      {"Caption", "", ""},
      {"Ratio", "1.5", "1.5"},
      {"Ratio", "-0.25", "-0.25"},
      {"Ratio", "+2e3", "2000"},
      {"Tag", "$FFFFFFFF", "-1"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Prop) + " = " + C.Text);
    const TPropInfo* P = Prop(Probe, C.Prop);
    SetPropValueText(Probe, P, C.Text);
    EXPECT_EQ(GetPropValueText(Probe, P), C.Back);
  }
  EXPECT_EQ(Probe->Tag(), -1);
  EXPECT_EQ(Probe->Options(), 2u);
  EXPECT_EQ(Probe->Ratio(), 2000.0);
}

TEST_F(TypInfoTest, FloatTextRoundTrips) {
  const TPropInfo* P = Prop(Probe, "Ratio");
  for (double V : {0.1, 1.0 / 3, -123456.789, 1e-300, 6.02214076e23}) {
    SCOPED_TRACE(V);
    Probe->SetRatio(V);
    AnsiString Text = GetPropValueText(Probe, P);
    Probe->SetRatio(0);
    SetPropValueText(Probe, P, Text);
    EXPECT_EQ(Probe->Ratio(), V) << Text;
  }
}

TEST_F(TypInfoTest, BadTextIsRejectedAndLeavesTheValue) {
  struct Case { const char* Prop; const char* Text; const char* Error; };
  const Case Cases[] = {
      {"Width", "abc", "Invalid property value: abc"},
      {"Width", "", "Invalid property value: "},
      {"Width", "12x", "Invalid property value: 12x"},
      {"Width", "1 2", "Invalid property value: 1 2"},
      {"Width", "-", "Invalid property value: -"},
      {"Width", "$", "Invalid property value: $"},
      {"Width", "99999999999999999999", "Invalid property value: 99999999999999999999"},
      {"Width", "tnRed", "Invalid property value: tnRed"},  // identifiers of another type
      {"Active", "yes", "Invalid property element: yes"},
      {"Shape", "psHex", "Invalid property element: psHex"},
      {"Shape", "1", "Invalid property element: 1"},
      {"Options", "poLeft", "Invalid property value: poLeft"},
      {"Options", "[poLeft", "Invalid property value: [poLeft"},
      {"Options", "[poLeft,bogus]", "Invalid property element: bogus"},
      {"Options", "[poLeft,,poWrap]", "Invalid property element: "},
      {"Tint", "tnBlue", "Invalid property value: tnBlue"},
      {"Separator", "ab", "Invalid property value: ab"},
      {"Separator", "", "Invalid property value: "},
      {"Ratio", "1,5", "Invalid property value: 1,5"},
      {"Ratio", "", "Invalid property value: "},
      {"Ratio", "x1", "Invalid property value: x1"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Prop) + " = " + C.Text);
    const TPropInfo* P = Prop(Probe, C.Prop);
    AnsiString Before = GetPropValueText(Probe, P);
    EXPECT_EQ(ErrorOf([&] { SetPropValueText(Probe, P, C.Text); }), std::string("EPropertyError: ") + C.Error);
    EXPECT_EQ(GetPropValueText(Probe, P), Before);
  }
}

// ---------------------------------------------------------------------------------------------
// References, events and published fields through the owner

TEST(TypInfoOwned, ReferencesResolveByNameWithinTheOwner) {
  THost* Host = TComponent::Create<THost>(nullptr);
  Host->SetName("Host");
  TProbe* A = MakeProbe(Host, "ProbeA");
  TProbe* B = MakeProbe(Host, "ProbeB");
  TComponent* Plain = TComponent::Create<TComponent>(Host);
  Plain->SetName("Plain");
  const TPropInfo* Buddy = Prop(B, "Buddy");

  SetPropValueText(B, Buddy, "probea");
  EXPECT_EQ(B->Buddy(), A);
  EXPECT_EQ(GetPropValueText(B, Buddy), "ProbeA");
  SetPropValueText(B, Buddy, "ProbeB");  // itself
  EXPECT_EQ(B->Buddy(), B);
  SetPropValueText(B, Buddy, "nil");
  EXPECT_EQ(B->Buddy(), nullptr);
  SetPropValueText(B, Buddy, "ProbeA");
  SetPropValueText(B, Buddy, "");
  EXPECT_EQ(B->Buddy(), nullptr);

  EXPECT_EQ(ErrorOf([&] { SetPropValueText(B, Buddy, "Ghost"); }), "EPropertyError: Component Ghost not found");
  EXPECT_EQ(ErrorOf([&] { SetPropValueText(B, Buddy, "Plain"); }), "EPropertyError: Invalid property value: Plain");
  EXPECT_EQ(ErrorOf([&] { SetPropValueText(B, Buddy, "Host"); }), "EPropertyError: Invalid property value: Host");
  EXPECT_EQ(B->Buddy(), nullptr);

  // The reference is cleared when the component it names goes, owned alike or not.
  SetPropValueText(B, Buddy, "ProbeA");
  TObject::Free(A);
  EXPECT_EQ(B->Buddy(), nullptr);
  TProbe* Outsider = MakeProbe(nullptr, "Outsider");
  B->SetBuddy(Outsider);
  EXPECT_EQ(GetPropValueText(B, Buddy), "Outsider");
  TObject::Free(Outsider);
  EXPECT_EQ(B->Buddy(), nullptr);
  TObject::Free(Host);
}

TEST(TypInfoOwned, EventsBindToPublishedMethodsOfTheOwner) {
  THost* Host = TComponent::Create<THost>(nullptr);
  TProbe* P = MakeProbe(Host, "P");
  const TPropInfo* OnFire = Prop(P, "OnFire");

  SetPropValueText(P, OnFire, "probefire");
  ASSERT_TRUE(P->OnFire);
  EXPECT_EQ(P->OnFire.Object(), Host);
  P->OnFire(P);
  EXPECT_EQ(Host->Fired, 1);
  EXPECT_EQ(GetPropValueText(P, OnFire), "ProbeFire");
  EXPECT_TRUE(P->OnFire == EVENT(Host, THost::ProbeFire));

  EXPECT_EQ(ErrorOf([&] { SetPropValueText(P, OnFire, "Missing"); }), "EPropertyError: Method Missing not found");
  EXPECT_EQ(ErrorOf([&] { SetPropValueText(P, OnFire, "ProbeKey"); }),
            "EPropertyError: Method ProbeKey is not compatible with OnFire");
  EXPECT_TRUE(P->OnFire == EVENT(Host, THost::ProbeFire));

  SetPropValueText(P, OnFire, "");
  EXPECT_FALSE(P->OnFire);
  EXPECT_EQ(GetPropValueText(P, OnFire), "");

  const TPublishedMethod* M = THost::StaticClass()->FindMethod("PROBEFIRE");
  ASSERT_TRUE(M);
  EXPECT_STREQ(M->Name, "ProbeFire");
  EXPECT_EQ(THost::StaticClass()->FindMethodByCode(EVENT(Host, THost::ProbeKey).Method().Code),
            THost::StaticClass()->FindMethod("ProbeKey"));
  EXPECT_EQ(THost::StaticClass()->FindMethodByCode(nullptr), nullptr);
  // The name comes from the target's class, whoever owns the component.
  TProbe Loose(nullptr);
  Loose.OnFire = EVENT(Host, THost::ProbeFire);
  EXPECT_EQ(GetPropValueText(&Loose, OnFire), "ProbeFire");
  TObject::Free(Host);
}

TEST(TypInfoOwned, PublishedFieldsFollowTheComponentOfTheirName) {
  THost* Host = TComponent::Create<THost>(nullptr);
  TProbe* P = TComponent::Create<TProbe>(Host);
  EXPECT_EQ(Host->Probe1, nullptr);
  P->SetName("probe1");  // names match ignoring case
  EXPECT_EQ(Host->Probe1, P);
  P->SetName("Other");
  EXPECT_EQ(Host->Probe1, nullptr);
  P->SetName("Probe1");
  EXPECT_EQ(Host->Probe1, P);
  TObject::Free(P);
  EXPECT_EQ(Host->Probe1, nullptr);

  TProbe* Q = MakeProbe(nullptr, "Probe1");
  Host->InsertComponent(Q);
  EXPECT_EQ(Host->Probe1, Q);
  Host->RemoveComponent(Q);
  EXPECT_EQ(Host->Probe1, nullptr);
  TObject::Free(Q);

  const TPublishedField* F = THost::StaticClass()->FindField("PROBE1");
  ASSERT_TRUE(F);
  EXPECT_EQ(F->FieldClass(), TProbe::StaticClass());
  EXPECT_EQ(THost::StaticClass()->FindField(""), nullptr);
  TObject::Free(Host);
}

TEST(TypInfoOwned, OwnedCollectionNamePathsGoThroughTheProperty) {
  THost* Host = TComponent::Create<THost>(nullptr);
  TProbe* P = MakeProbe(Host, "Probe1");
  P->Items()->Add();
  TCollectionItem* Second = P->Items()->Add();
  EXPECT_EQ(P->Items()->GetOwner(), P);
  EXPECT_EQ(P->Items()->GetNamePath(), "Probe1.Items");
  EXPECT_EQ(Second->GetNamePath(), "Probe1.Items[1]");
  TObject::Free(Host);
}

// ---------------------------------------------------------------------------------------------
// Declared defaults

TEST(Defaults, FreshObjectsHaveTheirDeclaredDefaults) {
  RegisterTint();
  ExpectClassDefaultsMatch(TComponent::StaticClass());
  ExpectClassDefaultsMatch(TProbe::StaticClass());
  ExpectClassDefaultsMatch(TProbeEx::StaticClass());
  THost* Host = TComponent::Create<THost>(nullptr);
  ExpectDefaultsMatch(Host);
  TObject::Free(Host);
}

// A class whose table disagrees with its constructor in several ways.
class TBadDefaults : public TComponent {
  ORV_CLASS(TBadDefaults, TComponent)
public:
  using TComponent::TComponent;
  int Width() const { return 10; }
  void SetWidth(int) {}
  TProbeShape Shape() const { return psCircle; }
  void SetShape(TProbeShape) {}
  TProbe* Buddy() const { return FBuddy; }
  void SetBuddy(TProbe*) {}
  void Fire(TObject*) {}
  TNotifyEvent OnFire;
  TProbe* FBuddy = nullptr;
};
static constinit const TPropInfo BadProps[] = {
    PropInt<&TBadDefaults::Width, &TBadDefaults::SetWidth>("Width", 11),
    PropEnum<&TBadDefaults::Shape, &TBadDefaults::SetShape>("Shape", ProbeShapeType, 0),
    PropRef<&TBadDefaults::Buddy, &TBadDefaults::SetBuddy>("Buddy"),
    PropEvent<&TBadDefaults::OnFire>("OnFire"),
};
ORV_IMPLEMENT_COMPONENT(TBadDefaults, TComponent, BadProps)

void CheckBadWidth() { ExpectClassDefaultsMatch(TBadDefaults::StaticClass()); }

void CheckAssignedEvent() {
  TBadDefaults* B = TComponent::Create<TBadDefaults>(nullptr);
  B->OnFire = EVENT(B, TBadDefaults::Fire);
  ExpectDefaultsMatch(B, {"Width"});
  TObject::Free(B);
}

TEST(Defaults, TheCheckReportsMismatches) {
  EXPECT_NONFATAL_FAILURE(CheckBadWidth(), "fresh value 10 differs from the declared default");
  // Listed exceptions are skipped; other properties are still checked.
  EXPECT_NONFATAL_FAILURE(CheckAssignedEvent(), "a fresh object has an event assigned");
}

}  // namespace
