// The form converters and the reader raise only the framework's exceptions on any input,
// never read past a buffer, and text they accept survives the way to binary, text and back.
#include "rtl/Streaming.h"
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Check(bool Condition) {
  if (!Condition) __builtin_trap();
}

enum TFuzzKind { fkOne, fkTwo, fkThree };
const TEnumType FuzzKindType{"TFuzzKind", {"fkOne", "fkTwo", "fkThree"}};

class TFuzzItem : public TCollectionItem {
  ORV_CLASS(TFuzzItem, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  int Value() const { return FValue; }
  void SetValue(int V) { FValue = V; }
private:
  int FValue = 0;
};

class TFuzzComponent : public TComponent {
  ORV_CLASS(TFuzzComponent, TComponent)
public:
  explicit TFuzzComponent(TComponent* AOwner)
      : TComponent(AOwner), FItems(this, TFuzzItem::StaticClass(), [](TCollection* C) -> TCollectionItem* {
          return new TFuzzItem(C);
        }) {}
  int Number() const { return FNumber; }
  void SetNumber(int V) { FNumber = V; }
  int Kind() const { return FKind; }
  void SetKind(int V) { FKind = V; }
  int Kinds() const { return FKinds; }
  void SetKinds(int V) { FKinds = V; }
  bool Flag() const { return FFlag; }
  void SetFlag(bool V) { FFlag = V; }
  AnsiString Text() const { return FText; }
  void SetText(const AnsiString& V) { FText = V; }
  long double Ratio() const { return FRatio; }
  void SetRatio(long double V) { FRatio = V; }
  TStrings* Lines() const { return FLines; }
  void SetLines(TStrings* V) { FLines->Assign(V); }
  TOwnedCollection* Items() const { return const_cast<TOwnedCollection*>(&FItems); }
  void SetItems(TOwnedCollection* V) { FItems.Assign(V); }
  TFuzzComponent* Link() const { return FLink; }
  void SetLink(TFuzzComponent* V) { FLink = V; }
  ~TFuzzComponent() override { TObject::Free(FLines); }
protected:
  void Notification(TComponent* C, TOperation Op) override {
    TComponent::Notification(C, Op);
    if (Op == opRemove && C == FLink) FLink = nullptr;
  }
private:
  int FNumber = 0, FKind = 0, FKinds = 0;
  bool FFlag = false;
  AnsiString FText;
  long double FRatio = 0;
  TStringList* FLines = new TStringList;
  TOwnedCollection FItems;
  TFuzzComponent* FLink = nullptr;
};

}  // namespace

static constinit const TPropInfo FuzzItemProps[] = {
    PropInt<&TFuzzItem::Value, &TFuzzItem::SetValue>("Value", 0),
};
ORV_IMPLEMENT_ABSTRACT(TFuzzItem, TCollectionItem, FuzzItemProps)
static constinit const TPropInfo FuzzProps[] = {
    PropInt<&TFuzzComponent::Number, &TFuzzComponent::SetNumber>("Number", 0),
    PropEnum<&TFuzzComponent::Kind, &TFuzzComponent::SetKind>("Kind", FuzzKindType, 0),
    PropSet<&TFuzzComponent::Kinds, &TFuzzComponent::SetKinds>("Kinds", FuzzKindType, 0),
    PropBool<&TFuzzComponent::Flag, &TFuzzComponent::SetFlag>("Flag", false),
    PropStr<&TFuzzComponent::Text, &TFuzzComponent::SetText>("Text"),
    PropFloat<&TFuzzComponent::Ratio, &TFuzzComponent::SetRatio>("Ratio"),
    PropObject<&TFuzzComponent::Lines, &TFuzzComponent::SetLines>("Lines"),
    PropObject<&TFuzzComponent::Items, &TFuzzComponent::SetItems>("Items"),
    PropRef<&TFuzzComponent::Link, &TFuzzComponent::SetLink>("Link"),
};
ORV_IMPLEMENT_COMPONENT(TFuzzComponent, TComponent, FuzzProps)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static bool Registered = (RegisterClass(TFuzzComponent::StaticClass()), true);
  (void)Registered;
  std::string In(reinterpret_cast<const char*>(Data), Size);

  // As a binary form: to text, and into objects.
  try {
    TStringStream Src(In), Text;
    ObjectBinaryToText(&Src, &Text);
  } catch (const Exception&) {
  }
  try {
    TStringStream Src(In);
    TReader R(&Src);
    TComponent* Root = R.ReadRootComponent(nullptr);
    TObject::Free(Root);
  } catch (const Exception&) {
  }

  // As a text form: accepted text converts to binary and back to the same binary.
  TStringStream Src(In), Binary;
  try {
    ObjectTextToBinary(&Src, &Binary);
  } catch (const Exception&) {
    return 0;
  }
  TStringStream B1(Binary.DataString()), Text, Binary2;
  ObjectBinaryToText(&B1, &Text);
  TStringStream T1(Text.DataString());
  ObjectTextToBinary(&T1, &Binary2);
  Check(Binary2.DataString() == Binary.DataString());
  try {
    TStringStream B2(Binary.DataString());
    TReader R(&B2);
    TObject::Free(R.ReadRootComponent(nullptr));
  } catch (const Exception&) {
  }
  return 0;
}
