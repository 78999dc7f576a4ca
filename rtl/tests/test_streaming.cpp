#include "rtl/Streaming.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>

namespace {

enum TStmShape { shCircle, shSquare, shTriangle };
const TEnumType StmShapeType{"TStmShape", {"shCircle", "shSquare", "shTriangle"}};

int LiveObjects = 0;

class TStmItem : public TCollectionItem {
  ORV_CLASS(TStmItem, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  AnsiString Caption() const { return FCaption; }
  void SetCaption(const AnsiString& V) { FCaption = V; }
private:
  AnsiString FCaption;
};

class TStmComponent : public TComponent {
  ORV_CLASS(TStmComponent, TComponent)
public:
  explicit TStmComponent(TComponent* AOwner)
      : TComponent(AOwner), FItems(this, TStmItem::StaticClass(), [](TCollection* C) -> TCollectionItem* {
          return new TStmItem(C);
        }) {
    ++LiveObjects;
  }
  ~TStmComponent() override {
    TObject::Free(FLines);
    --LiveObjects;
  }
  int Number() const { return FNumber; }
  void SetNumber(int V) { FNumber = V; }
  int Color() const { return FColor; }
  void SetColor(int V) { FColor = V; }
  int Shape() const { return FShape; }
  void SetShape(int V) { FShape = V; }
  int Shapes() const { return FShapes; }
  void SetShapes(int V) { FShapes = V; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool V) { FVisible = V; }
  AnsiString Caption() const { return FCaption; }
  void SetCaption(const AnsiString& V) { FCaption = V; }
  long double Ratio() const { return FRatio; }
  void SetRatio(long double V) { FRatio = V; }
  TStrings* Lines() const { return FLines; }
  void SetLines(TStrings* V) { FLines->Assign(V); }
  TOwnedCollection* Items() const { return const_cast<TOwnedCollection*>(&FItems); }
  void SetItems(TOwnedCollection* V) { FItems.Assign(V); }
  TStmComponent* Link() const { return FLink; }
  void SetLink(TStmComponent* V) {
    FLink = V;
    if (V) V->FreeNotification(this);
  }
  const std::string& Blob() const { return FBlob; }
  void SetBlob(const std::string& V) { FBlob = V; }

  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCount;
    LinkAtLoaded = FLink;
  }
  void DefineProperties(TFiler* Filer) override {
    TComponent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Blob",
        [this](TStream* S) {
          FBlob.assign(size_t(S->Size()), '\0');
          S->ReadBuffer(FBlob.data(), int(FBlob.size()));
        },
        [this](TStream* S) { S->WriteBuffer(FBlob.data(), int(FBlob.size())); }, !FBlob.empty());
  }

  TNotifyEvent OnClick;
  int LoadedCount = 0;
  TStmComponent* LinkAtLoaded = nullptr;

protected:
  void Notification(TComponent* C, TOperation Op) override {
    TComponent::Notification(C, Op);
    if (Op == opRemove && C == FLink) FLink = nullptr;
  }

private:
  int FNumber = 0, FColor = 0xFF, FShape = shCircle, FShapes = 0;
  bool FVisible = true;
  AnsiString FCaption;
  long double FRatio = 0;
  TStringList* FLines = new TStringList;
  TOwnedCollection FItems;
  TStmComponent* FLink = nullptr;
  std::string FBlob;
};

// A form-like root with published fields and methods.
class TStmForm : public TStmComponent {
  ORV_CLASS(TStmForm, TStmComponent)
public:
  using TStmComponent::TStmComponent;
  void Button1Click(TObject* Sender) { Clicks.push_back(Sender); }
  TStmComponent* Button1 = nullptr;
  std::vector<TObject*> Clicks;
};

class TStmDerivedForm : public TStmForm {
  ORV_CLASS(TStmDerivedForm, TStmForm)
public:
  using TStmForm::TStmForm;
  TStmComponent* Extra = nullptr;
};

bool ColorIdentToInt(const AnsiString& S, int& V) {
  if (SameText(S, "clRed")) { V = 0xFF; return true; }
  if (SameText(S, "clLime")) { V = 0xFF00; return true; }
  return false;
}
bool ColorIntToIdent(int V, AnsiString& S) {
  if (V == 0xFF) { S = "clRed"; return true; }
  if (V == 0xFF00) { S = "clLime"; return true; }
  return false;
}

}  // namespace

static constinit const TPropInfo StmItemProps[] = {
    PropStr<&TStmItem::Caption, &TStmItem::SetCaption>("Caption"),
};
ORV_IMPLEMENT_ABSTRACT(TStmItem, TCollectionItem, StmItemProps)

static constinit const TPropInfo StmProps[] = {
    PropInt<&TStmComponent::Number, &TStmComponent::SetNumber>("Number", 0),
    PropIntType<&TStmComponent::Color, &TStmComponent::SetColor>("Color", "TStmColor", 0xFF),
    PropEnum<&TStmComponent::Shape, &TStmComponent::SetShape>("Shape", StmShapeType, shCircle),
    PropSet<&TStmComponent::Shapes, &TStmComponent::SetShapes>("Shapes", StmShapeType, 0),
    PropBool<&TStmComponent::Visible, &TStmComponent::SetVisible>("Visible", true),
    PropStr<&TStmComponent::Caption, &TStmComponent::SetCaption>("Caption"),
    PropFloat<&TStmComponent::Ratio, &TStmComponent::SetRatio>("Ratio"),
    PropObject<&TStmComponent::Lines, &TStmComponent::SetLines>("Lines"),
    PropObject<&TStmComponent::Items, &TStmComponent::SetItems>("Items"),
    PropRef<&TStmComponent::Link, &TStmComponent::SetLink>("Link"),
    PropEvent<&TStmComponent::OnClick>("OnClick"),
};
ORV_IMPLEMENT_COMPONENT(TStmComponent, TComponent, StmProps)

static constinit const TPublishedField StmFormFields[] = {
    PublishedField<&TStmForm::Button1>("Button1"),
};
static constinit const TPublishedMethod StmFormMethods[] = {
    PublishedMethod<&TStmForm::Button1Click>("Button1Click"),
};
ORV_IMPLEMENT_FORM(TStmForm, TStmComponent, nullptr, StmFormFields, StmFormMethods)

static constinit const TPublishedField StmDerivedFields[] = {
    PublishedField<&TStmDerivedForm::Extra>("Extra"),
};
ORV_IMPLEMENT_FORM(TStmDerivedForm, TStmForm, nullptr, StmDerivedFields, nullptr)

namespace {

struct Registration {
  Registration() {
    RegisterClasses({TStmComponent::StaticClass(), TStmForm::StaticClass(), TStmDerivedForm::StaticClass()});
    RegisterIntegerConsts("TStmColor", ColorIdentToInt, ColorIntToIdent);
  }
} TheRegistration;

std::string TextToBinary(const std::string& Text) {
  TStringStream In(Text), Out;
  ObjectTextToBinary(&In, &Out);
  return Out.DataString().str();
}

std::string BinaryToText(const std::string& Binary) {
  TStringStream In(Binary), Out;
  ObjectBinaryToText(&In, &Out);
  return Out.DataString().str();
}

// Reads a text form into Root (or a new root when null).
TComponent* ReadText(const std::string& Text, TComponent* Root = nullptr) {
  TStringStream S(TextToBinary(Text));
  TReader R(&S);
  return R.ReadRootComponent(Root);
}

template <class E, class F> std::string ErrorOf(F&& Fn) {
  try {
    Fn();
  } catch (const E& Ex) {
    return Ex.Message().str();
  }
  return "(no error)";
}

const char* FullForm =
    "object Form1: TStmForm\n"
    "  Number = -300\n"
    "  Color = clLime\n"
    "  Shape = shTriangle\n"
    "  Shapes = [shCircle, shTriangle]\n"
    "  Visible = False\n"
    "  Caption = 'it''s'#13#10'two' +\n"
    "    ' lines'\n"
    "  Ratio = 1.25\n"
    "  Lines.Strings = (\n"
    "    'a'\n"
    "    'b')\n"
    "  Items = <\n"
    "    item\n"
    "      Caption = 'first'\n"
    "    end\n"
    "    item\n"
    "      Caption = 'second'\n"
    "    end>\n"
    "  Link = Button1\n"
    "  OnClick = Button1Click\n"
    "  Blob = {\n"
    "    00FF10}\n"
    "  object Button1: TStmComponent\n"
    "    Number = 70000\n"
    "    Link = Form1\n"
    "    OnClick = Button1Click\n"
    "    Left = 24\n"
    "    Top = -8\n"
    "  end\n"
    "end\n";

TEST(FormStreaming, ReadsEveryKindOfValueIntoObjects) {
  TStmForm* Form = dynamic_cast<TStmForm*>(ReadText(FullForm));
  ASSERT_NE(Form, nullptr);
  EXPECT_EQ(Form->Name(), "Form1");
  EXPECT_EQ(Form->Number(), -300);
  EXPECT_EQ(Form->Color(), 0xFF00);
  EXPECT_EQ(Form->Shape(), shTriangle);
  EXPECT_EQ(Form->Shapes(), (1 << shCircle) | (1 << shTriangle));
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Form->Caption(), "it's\r\ntwo lines");
  EXPECT_EQ(Form->Ratio(), 1.25L);
  EXPECT_EQ(Form->Lines()->Text(), "a\r\nb\r\n");
  ASSERT_EQ(Form->Items()->Count(), 2);
  EXPECT_EQ(static_cast<TStmItem*>(Form->Items()->Items(1))->Caption(), "second");
  EXPECT_EQ(Form->Blob(), std::string("\x00\xFF\x10", 3));
  // The child is bound to the published field and references resolve after reading.
  ASSERT_NE(Form->Button1, nullptr);
  EXPECT_EQ(Form->Button1->Owner(), Form);
  EXPECT_EQ(Form->Button1->Number(), 70000);
  EXPECT_EQ(Form->Link(), Form->Button1);
  EXPECT_EQ(Form->Button1->Link(), Form);
  EXPECT_EQ(Form->Button1->DesignInfo(), int((uint32_t(uint16_t(-8)) << 16) | 24));
  // Loaded ran once each, with references already fixed up, and loading state is off.
  EXPECT_EQ(Form->LoadedCount, 1);
  EXPECT_EQ(Form->Button1->LoadedCount, 1);
  EXPECT_EQ(Form->LinkAtLoaded, Form->Button1);
  EXPECT_FALSE(Form->HasState(csLoading | csReading));
  EXPECT_FALSE(Form->Button1->HasState(csLoading | csReading));
  // Events are bound to the root's published methods.
  Form->Button1->OnClick(Form->Button1);
  Form->OnClick(Form);
  EXPECT_EQ(Form->Clicks, (std::vector<TObject*>{Form->Button1, Form}));
  TObject::Free(Form);
  EXPECT_EQ(LiveObjects, 0);
}

TEST(FormStreaming, WriterStoresWhatDiffersFromDefaultsAndReadsBack) {
  TStmForm* Form = dynamic_cast<TStmForm*>(ReadText(FullForm));
  TStringStream Bin;
  WriteComponentRes(&Bin, Form);
  TObject::Free(Form);

  std::string Text = BinaryToText(Bin.DataString().str());
  // Defaults (Tag 0, the default colour) are not stored; non-defaults are, with identifiers.
  EXPECT_EQ(Text.find("Tag"), std::string::npos);
  EXPECT_NE(Text.find("Color = clLime"), std::string::npos);
  EXPECT_NE(Text.find("OnClick = Button1Click"), std::string::npos);
  EXPECT_NE(Text.find("Shapes = [shCircle, shTriangle]"), std::string::npos);

  TStringStream Again(Bin.DataString());
  TStmForm* Copy = dynamic_cast<TStmForm*>(TReader(&Again).ReadRootComponent(nullptr));
  ASSERT_NE(Copy, nullptr);
  EXPECT_EQ(Copy->Caption(), "it's\r\ntwo lines");
  EXPECT_EQ(Copy->Ratio(), 1.25L);
  EXPECT_EQ(Copy->Items()->Count(), 2);
  EXPECT_EQ(Copy->Blob(), std::string("\x00\xFF\x10", 3));
  EXPECT_EQ(Copy->Link(), Copy->Button1);
  EXPECT_EQ(Copy->Button1->DesignInfo(), int((uint32_t(uint16_t(-8)) << 16) | 24));
  TObject::Free(Copy);

  // Binary -> text -> binary is stable.
  EXPECT_EQ(TextToBinary(Text), Bin.DataString().str());
}

TEST(FormStreaming, BinaryLayoutOfSmallForm) {
  std::string B = TextToBinary(
      "inherited F: TStmForm [3]\n  Number = 200\n  Ratio = 1.0\n  Caption = ''\n  Shape = shSquare\nend\n");
  const unsigned char Expected[] = {
      'T', 'P', 'F', '0', 0xF0 | ffInherited | ffChildPos, vaInt8, 3,
      8, 'T', 'S', 't', 'm', 'F', 'o', 'r', 'm', 1, 'F',
      6, 'N', 'u', 'm', 'b', 'e', 'r', vaInt16, 200, 0,
      5, 'R', 'a', 't', 'i', 'o', vaExtended, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F,
      7, 'C', 'a', 'p', 't', 'i', 'o', 'n', vaString, 0,
      5, 'S', 'h', 'a', 'p', 'e', vaIdent, 8, 's', 'h', 'S', 'q', 'u', 'a', 'r', 'e',
      0, 0};
  EXPECT_EQ(B, std::string(reinterpret_cast<const char*>(Expected), sizeof Expected));
  // Long strings are stored with a 32-bit length.
  std::string Long = TextToBinary("object X: TStmComponent\n  Caption = '" + std::string(300, 'x') + "'\nend\n");
  EXPECT_EQ(Long.substr(4 + 14 + 2 + 8, 5), std::string("\x0C\x2C\x01\x00\x00", 5));
}

// Set values and sub-object values (a control's anchors and size limits) as the form compiler
// converts them: a set of identifiers, and dotted names for the sub-object's own properties.
TEST(FormStreaming, SetAndSubObjectValuesConvertBothWays) {
  const std::string Text =
      "object Edit1: TEdit\r\n"
      "  Anchors = [akLeft, akTop, akRight]\r\n"
      "  Constraints.MinWidth = 100\r\n"
      "  Constraints.MaxHeight = 30\r\n"
      "end\r\n";
  const std::string B = TextToBinary(Text);
  const std::string Set = std::string("\x07" "Anchors", 8) + char(vaSet) + "\x06" "akLeft" "\x05" "akTop" "\x07" "akRight" +
                          std::string(1, '\0');
  EXPECT_NE(B.find(Set), std::string::npos);
  EXPECT_NE(B.find(std::string("\x14" "Constraints.MinWidth", 21) + char(vaInt8) + char(100)), std::string::npos);
  EXPECT_EQ(BinaryToText(B), Text);
  // An empty set is a set too.
  const std::string Empty = "object Edit1: TEdit\r\n  Anchors = []\r\nend\r\n";
  EXPECT_EQ(BinaryToText(TextToBinary(Empty)), Empty);
}

// A class name's length byte of 240 or more would read as a prefix: such names get an empty one.
TEST(FormStreaming, LongClassNamesGetAPrefixAndRoundTrip) {
  for (size_t Len : {239u, 240u, 255u}) {
    SCOPED_TRACE(Len);
    const std::string Class(Len, 'u');
    const std::string Text = "object " + Class + "\r\n  object C\r\n  end\r\nend\r\n";
    const std::string B = TextToBinary(Text);
    EXPECT_EQ(B[4] == char(0xF0), Len >= 240);
    EXPECT_EQ(BinaryToText(B), Text);
  }
}

TEST(FormStreaming, ExtendedEncoding) {
  struct Case { long double V; unsigned char Bytes[10]; } Cases[] = {
      {0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
      {-2.5L, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}},
      {65536.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x0F, 0x40}},
  };
  for (const Case& C : Cases) {
    unsigned char Out[10];
    EncodeExtended(C.V, Out);
    EXPECT_EQ(std::memcmp(Out, C.Bytes, 10), 0) << double(C.V);
    EXPECT_EQ(DecodeExtended(C.Bytes), C.V);
  }
  for (long double V : {0.1L, -1e300L, 3.4e-4000L, 1.0e4000L}) {
    unsigned char Out[10];
    EncodeExtended(V, Out);
    EXPECT_EQ(DecodeExtended(Out), V);
  }
  unsigned char Inf[10];
  EncodeExtended(-HUGE_VALL, Inf);
  EXPECT_TRUE(std::isinf(DecodeExtended(Inf)) && DecodeExtended(Inf) < 0);
}

TEST(FormStreaming, TextErrorsGiveTheLine) {
  struct Case { const char* Text; const char* Message; } Cases[] = {
      {"thing X: TStmComponent\nend\n", "'object' expected on line 1"},
      {"object X: TStmComponent\n  Number = )\nend\n", "Invalid property value ')' on line 2"},
      {"object X: TStmComponent\n  Caption = 'open\nend\n", "Unterminated string on line 2"},
      {"object X: TStmComponent\n  Number = 1\n", "'end' expected on line 3"},
      {"object X: TStmComponent\n  Blob = {0F1}\nend\n", "Invalid binary value on line 2"},
      {"object X: TStmComponent\n  Ratio = 1e99999\nend\n", "Invalid floating point number 1e99999 on line 2"},
      {"object X: TStmComponent\nend\nend\n", "End of file expected on line 3"},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(ErrorOf<EParserError>([&] { TextToBinary(C.Text); }), C.Message) << C.Text;
}

TEST(FormStreaming, ReadErrorsAreClearAndFreeWhatWasRead) {
  struct Case { const char* Text; const char* Message; } Cases[] = {
      {"object X: TStmComponent\n  Colour = 1\nend\n", "Property X.Colour does not exist at offset 27"},
      {"object X: TStmComponent\n  Lines.Nope = 1\nend\n", "Property X.Lines.Nope does not exist at offset 31"},
      {"object X: TStmComponent\n  object Y: TNope\n  end\nend\n", "Class TNope not found"},
      {"object X: TStmComponent\n  Shape = shOval\nend\n", "Invalid property value shOval for X.Shape at offset 34"},
      {"object X: TStmComponent\n  Shapes = [shOval]\nend\n", "Invalid property element shOval for X.Shapes at offset 35"},
      {"object X: TStmComponent\n  Number = 'one'\nend\n", "Invalid property value for X.Number (value type 6) at offset 27"},
      {"object X: TStmComponent\n  Link = Nobody\nend\n", "Component Nobody not found for X.Link"},
      {"object X: TStmForm\n  OnClick = Missing\nend\n", "Method Missing not found for X.OnClick at offset 32"},
      {"object X: TStmComponent\n  object Y: TStmComponent\n    Link = Nobody\n  end\nend\n",
       "Component Nobody not found for Y.Link"},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(ErrorOf<EFilerError>([&] { ReadText(C.Text); }), C.Message) << C.Text;
    EXPECT_EQ(LiveObjects, 0) << C.Text;
  }
}

TEST(FormStreaming, MalformedBinaryIsRefused) {
  std::string Good = TextToBinary(FullForm);
  EXPECT_EQ(ErrorOf<EReadError>([&] { TStringStream S("TPF1"); TReader(&S).ReadRootComponent(nullptr); }),
            "Invalid stream format at offset 0");
  // Every truncation fails cleanly and leaks nothing.
  for (size_t Len = 0; Len < Good.size(); ++Len) {
    TStringStream S(Good.substr(0, Len));
    EXPECT_THROW(TReader(&S).ReadRootComponent(nullptr), EFilerError) << Len;
    TStringStream T(Good.substr(0, Len));
    TStringStream Out;
    EXPECT_THROW(ObjectBinaryToText(&T, &Out), EFilerError) << Len;
  }
  EXPECT_EQ(LiveObjects, 0);
  // A length beyond the stream is refused before anything is allocated.
  std::string Huge = TextToBinary("object X: TStmComponent\n  Blob = {00}\nend\n");
  size_t At = Huge.find("Blob") + 4;
  ASSERT_EQ(Huge[At], char(vaBinary));
  Huge[At + 4] = char(0x7F);
  EXPECT_EQ(ErrorOf<EReadError>([&] { TStringStream S(Huge); TReader(&S).ReadRootComponent(nullptr); }),
            "Invalid length 2130706433 at offset " + std::to_string(At + 5));
  // Deep nesting is bounded.
  std::string Deep = "object X: TStmComponent\n  Lines.Strings = " + std::string(200, '(') + std::string(200, ')') + "\nend\n";
  EXPECT_EQ(ErrorOf<EParserError>([&] { TextToBinary(Deep); }), "Nesting too deep on line 2");
}

TEST(FormStreaming, InheritedFormsReadBaseFirstAndLoadOnce) {
  static std::map<std::string, std::string> Resources;
  Resources["TStmForm"] = TextToBinary(
      "object Base: TStmForm\n  Number = 1\n  Caption = 'base'\n"
      "  object Button1: TStmComponent\n    Number = 5\n  end\nend\n");
  Resources["TStmDerivedForm"] = TextToBinary(
      "inherited Derived: TStmDerivedForm\n  Number = 2\n"
      "  inherited Button1: TStmComponent\n    Caption = 'more'\n  end\n"
      "  object Extra: TStmComponent\n    Link = Button1\n  end\nend\n");
  SetFormResourceFinder([](const char* Name) -> TStream* {
    auto It = Resources.find(Name);
    return It == Resources.end() ? nullptr : new TStringStream(It->second);
  });
  auto* Form = new TStmDerivedForm(nullptr);
  EXPECT_TRUE(InitInheritedComponent(Form, TStmComponent::StaticClass()));
  SetFormResourceFinder(nullptr);
  EXPECT_EQ(Form->Name(), "Derived");
  EXPECT_EQ(Form->Number(), 2);
  EXPECT_EQ(Form->Caption(), "base");
  ASSERT_NE(Form->Button1, nullptr);
  EXPECT_EQ(Form->Button1->Number(), 5);
  EXPECT_EQ(Form->Button1->Caption(), "more");
  ASSERT_NE(Form->Extra, nullptr);
  EXPECT_EQ(Form->Extra->Link(), Form->Button1);
  EXPECT_EQ(Form->ComponentCount(), 2);
  EXPECT_EQ(Form->LoadedCount, 1);
  EXPECT_EQ(Form->Button1->LoadedCount, 1);
  TObject::Free(Form);
  EXPECT_EQ(LiveObjects, 0);
}

// A sub-object whose class declares 0 as its default.
class TStmPoint : public TPersistent {
  ORV_CLASS(TStmPoint, TPersistent)
public:
  int X() const { return FX; }
  void SetX(int V) { FX = V; }
private:
  int FX = 0;
};

// A component whose constructor starts a text, a number, a sub-object and a list away from
// their implied defaults, the text and number published once stored always and once plainly.
class TStmStartsSet : public TComponent {
  ORV_CLASS(TStmStartsSet, TComponent)
public:
  explicit TStmStartsSet(TComponent* AOwner) : TComponent(AOwner) {
    FPoint.SetX(7);
    FNames.SetText("one\r\ntwo");
  }
  TStmPoint* Point() const { return const_cast<TStmPoint*>(&FPoint); }
  void SetPoint(TStmPoint* V) { FPoint.SetX(V->X()); }
  TStrings* Names() const { return const_cast<TStringList*>(&FNames); }
  void SetNames(TStrings* V) { FNames.Assign(V); }
  AnsiString Kept() const { return FKept; }
  void SetKept(const AnsiString& V) { FKept = V; }
  AnsiString Plain() const { return FPlain; }
  void SetPlain(const AnsiString& V) { FPlain = V; }
  long double Gamma() const { return FGamma; }
  void SetGamma(long double V) { FGamma = V; }
  long double Scale() const { return FScale; }
  void SetScale(long double V) { FScale = V; }
  unsigned Mask() const { return FMask; }
  void SetMask(unsigned V) { FMask = V; }
private:
  unsigned FMask = 0;
  AnsiString FKept = "start", FPlain = "start";
  long double FGamma = 1, FScale = 1;
  TStmPoint FPoint;
  TStringList FNames;
};

}  // namespace

static constinit const TPropInfo StmPointProps[] = {
    PropInt<&TStmPoint::X, &TStmPoint::SetX>("X", 0),
};
ORV_IMPLEMENT_ABSTRACT(TStmPoint, TPersistent, StmPointProps)

static constinit const TPropInfo StmStartsSetProps[] = {
    PropStr<&TStmStartsSet::Kept, &TStmStartsSet::SetKept>("Kept", AlwaysStored),
    PropStr<&TStmStartsSet::Plain, &TStmStartsSet::SetPlain>("Plain"),
    PropFloat<&TStmStartsSet::Gamma, &TStmStartsSet::SetGamma>("Gamma", AlwaysStored),
    PropFloat<&TStmStartsSet::Scale, &TStmStartsSet::SetScale>("Scale"),
    PropObject<&TStmStartsSet::Point, &TStmStartsSet::SetPoint>("Point", AlwaysStored),
    PropObject<&TStmStartsSet::Names, &TStmStartsSet::SetNames>("Names", AlwaysStored),
    PropInt<&TStmStartsSet::Mask, &TStmStartsSet::SetMask>("Mask", 0),
};
ORV_IMPLEMENT_COMPONENT(TStmStartsSet, TComponent, StmStartsSetProps)

namespace {

TEST(FormStreaming, AlwaysStoredValuesKeepEmptyZeroAndDefaults) {
  TStmStartsSet* Made = New<TStmStartsSet>(nullptr);
  Made->SetName("Probe");
  Made->SetKept("");
  Made->SetPlain("");
  Made->SetGamma(0);
  Made->SetScale(0);
  Made->Point()->SetX(0);
  Made->Names()->Clear();
  TStringStream Bin;
  WriteComponentRes(&Bin, Made);
  TObject::Free(Made);
  const std::string Text = BinaryToText(Bin.DataString().str());
  EXPECT_NE(Text.find("Kept = ''"), std::string::npos) << Text;
  EXPECT_NE(Text.find("Gamma = 0"), std::string::npos) << Text;
  EXPECT_NE(Text.find("Point.X = 0"), std::string::npos) << Text;
  EXPECT_NE(Text.find("Names.Strings = ()"), std::string::npos) << Text;
  // Without the predicate '' and 0 are the implied defaults, left out.
  EXPECT_EQ(Text.find("Plain"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("Scale"), std::string::npos) << Text;

  TStmStartsSet* Back = New<TStmStartsSet>(nullptr);
  TStringStream Again(Bin.DataString());
  TReader(&Again).ReadRootComponent(Back);
  EXPECT_EQ(Back->Kept(), "");
  EXPECT_EQ(Back->Gamma(), 0.0L);
  EXPECT_EQ(Back->Point()->X(), 0);
  EXPECT_EQ(Back->Names()->Count(), 0);
  TObject::Free(Back);
}

TEST(FormStreaming, UnsignedValuesAboveMaxIntComeBack) {
  TStmStartsSet* Made = New<TStmStartsSet>(nullptr);
  Made->SetName("Probe");
  Made->SetMask(0xFFFFFFFBu);
  TStringStream Bin;
  WriteComponentRes(&Bin, Made);
  TObject::Free(Made);
  EXPECT_NE(BinaryToText(Bin.DataString().str()).find("Mask = 4294967291"), std::string::npos);
  TStmStartsSet* Back = New<TStmStartsSet>(nullptr);
  TStringStream Again(Bin.DataString());
  TReader(&Again).ReadRootComponent(Back);
  EXPECT_EQ(Back->Mask(), 0xFFFFFFFBu);
  // Beyond 32 bits it is no value of the property.
  EXPECT_EQ(ErrorOf<EReadError>([&] { ReadText("object Probe: TStmStartsSet\n  Mask = 4294967296\nend\n", Back); })
                .rfind("Invalid property value 4294967296 for Probe.Mask at offset", 0),
            0u);
  EXPECT_EQ(Back->Mask(), 0xFFFFFFFBu);
  TObject::Free(Back);
}

TEST(FormStreaming, FreedReferenceIsCleared) {
  TStmForm* Form = dynamic_cast<TStmForm*>(ReadText(FullForm));
  TObject::Free(Form->Button1);
  EXPECT_EQ(Form->Button1, nullptr);
  EXPECT_EQ(Form->Link(), nullptr);
  TObject::Free(Form);
}

}  // namespace
