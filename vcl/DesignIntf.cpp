#include "vcl/DesignIntf.h"

#include <algorithm>
#include <mutex>
#include <tuple>

// ---------------------------------------------------------------------------------------------
// TPropertyEditor

TPropertyEditor::TPropertyEditor(IDesigner* ADesigner, std::vector<TPersistent*> AComponents, const TPropInfo* AProp)
    : FDesigner(ADesigner), FComponents(std::move(AComponents)), FProp(AProp) {
  if (!FProp) throw EPropertyError("Invalid property type: %s", {AnsiString("(none)")});
  if (FComponents.empty()) throw EListError("List index out of bounds (%d)", {0});
}

TPersistent* TPropertyEditor::GetComponent(int Index) const {
  if (Index < 0 || Index >= PropCount()) throw EListError("List index out of bounds (%d)", {Index});
  return FComponents[size_t(Index)];
}

namespace {
bool IsSubObject(const TPropInfo* P) { return P->Kind == tkClass && !P->IsReference; }

// TypInfo's error for an access of the wrong kind: the type's name, a class property's class.
[[noreturn]] void InvalidType(const TPropInfo* P) {
  const char* Type = P->Type();
  if (!Type && P->Kind == tkClass && P->PropClass) Type = P->PropClass()->Name;
  throw EPropertyError("Invalid property type: %s", {AnsiString(Type ? Type : P->Name)});
}

bool HasSetter(const TPropInfo* P) {
  switch (P->Kind) {
    case tkFloat: return P->SetFloat != nullptr;
    case tkString: return P->SetStr != nullptr;
    case tkClass: return P->SetObj != nullptr || !P->IsReference;  // a sub-object takes Assign
    case tkMethod: return P->SetMethod != nullptr;
    default: return P->SetOrd != nullptr;
  }
}
}  // namespace

TPropertyAttributes TPropertyEditor::GetAttributes() {
  TPropertyAttributes A = PropertyAttribute(paMultiSelect) | PropertyAttribute(paRevertable);
  if (!HasSetter(FProp)) A |= PropertyAttribute(paReadOnly);
  return A;
}

AnsiString TPropertyEditor::GetValue() { return GetPropValueText(FComponents.front(), FProp); }

void TPropertyEditor::SetValue(const AnsiString& Value) {
  if (IsSubObject(FProp)) {
    if (!Value.IsEmpty() && Value != GetValue()) throw EPropertyError("Invalid property value: %s", {Value});
    return;
  }
  for (TPersistent* C : FComponents) SetPropValueText(C, FProp, Value);
  Modified();
}

void TPropertyEditor::Modified() {
  if (FDesigner) FDesigner->Modified();
}

TObject* TPropertyEditor::GetObjectValue() const {
  if (FProp->Kind != tkClass || !FProp->GetObj) InvalidType(FProp);
  return FProp->GetObj(FComponents.front());
}

void TPropertyEditor::SetObjectValue(TObject* Value) {
  if (FProp->Kind != tkClass) InvalidType(FProp);
  for (TPersistent* C : FComponents) {
    if (FProp->SetObj) {
      FProp->SetObj(C, Value);
      continue;
    }
    auto* Target = dynamic_cast<TPersistent*>(FProp->GetObj ? FProp->GetObj(C) : nullptr);
    if (FProp->IsReference || !Target) throw EPropertyError("Property %s is read-only", {AnsiString(FProp->Name)});
    Target->Assign(dynamic_cast<TPersistent*>(Value));
  }
}

ORV_IMPLEMENT_CLASS(TPropertyEditor, TObject)

// ---------------------------------------------------------------------------------------------
// Component editors

void TComponentEditor::Edit() {
  if (GetVerbCount() > 0) ExecuteVerb(0);
}

ORV_IMPLEMENT_CLASS(TComponentEditor, TObject)
ORV_IMPLEMENT_CLASS(TDefaultEditor, TComponentEditor)

// ---------------------------------------------------------------------------------------------
// Registration and look-up

namespace {
struct TPropertyEditorEntry {
  TPropertyType Type;
  TClass ComponentClass;
  AnsiString PropertyName;
  TPropertyEditorClass Editor;
};
struct TComponentEditorEntry {
  TClass ComponentClass;
  TComponentEditorClass Editor;
};
struct TEditorRegistry {
  std::mutex Lock;
  std::vector<TPropertyEditorEntry> Properties;
  std::vector<TComponentEditorEntry> Components;
};
TEditorRegistry& Registry() {
  static TEditorRegistry R;
  return R;
}

// Steps from C up to Ancestor (0 for the class itself); -1 when C does not derive from it.
int Distance(TClass C, TClass Ancestor) {
  for (int N = 0; C; C = C->Parent, ++N)
    if (C == Ancestor) return N;
  return -1;
}

// How nearly the components' classes descend from Ancestor: the largest distance among them
// (every one must descend from it); -1 when one does not.
int ComponentsDistance(const std::vector<TPersistent*>& Components, TClass Ancestor) {
  int Worst = 0;
  for (TPersistent* C : Components) {
    int D = Distance(C->ClassType(), Ancestor);
    if (D < 0) return -1;
    Worst = std::max(Worst, D);
  }
  return Worst;
}

// Distance of the property's type from the registered type: 0 for a type name that matches.
int TypeDistance(const TPropInfo* Prop, const TPropertyType& Type) {
  if (Type.Class) {
    if (Prop->Kind != tkClass || !Prop->PropClass) return -1;
    return Distance(Prop->PropClass(), Type.Class);
  }
  const char* Name = Prop->Type();
  return Name && SameText(AnsiString(Name), Type.TypeName) ? 0 : -1;
}
}  // namespace

void RegisterPropertyEditor(const TPropertyType& PropertyType, TClass ComponentClass, const AnsiString& PropertyName,
                            TPropertyEditorClass Editor) {
  if (!Editor.Create || (!PropertyType.Class && PropertyType.TypeName.IsEmpty()))
    throw EComponentError("Invalid property editor registration");
  TEditorRegistry& R = Registry();
  std::lock_guard<std::mutex> G(R.Lock);
  R.Properties.push_back({PropertyType, ComponentClass, PropertyName, Editor});
}

void RegisterComponentEditor(TClass ComponentClass, TComponentEditorClass Editor) {
  if (!ComponentClass || !Editor.Create) throw EComponentError("Invalid component editor registration");
  TEditorRegistry& R = Registry();
  std::lock_guard<std::mutex> G(R.Lock);
  R.Components.push_back({ComponentClass, Editor});
}

int PropertyEditorRegistrationCount() {
  TEditorRegistry& R = Registry();
  std::lock_guard<std::mutex> G(R.Lock);
  return int(R.Properties.size());
}

int ComponentEditorRegistrationCount() {
  TEditorRegistry& R = Registry();
  std::lock_guard<std::mutex> G(R.Lock);
  return int(R.Components.size());
}

TPropertyEditorClass FindPropertyEditor(const std::vector<TPersistent*>& Components, const TPropInfo* Prop) {
  TEditorRegistry& R = Registry();
  std::lock_guard<std::mutex> G(R.Lock);
  const TPropertyEditorEntry* Best = nullptr;
  // Larger is more specific: named, for a component class, nearer that class, nearer the type.
  std::tuple<bool, bool, int, int> BestRank;
  for (const TPropertyEditorEntry& E : R.Properties) {
    if (!E.PropertyName.IsEmpty() && !SameText(E.PropertyName, AnsiString(Prop->Name))) continue;
    const int TypeD = TypeDistance(Prop, E.Type);
    if (TypeD < 0) continue;
    const int ClassD = E.ComponentClass ? ComponentsDistance(Components, E.ComponentClass) : 0;
    if (ClassD < 0) continue;
    std::tuple<bool, bool, int, int> Rank{!E.PropertyName.IsEmpty(), E.ComponentClass != nullptr,
                                          E.ComponentClass ? -ClassD : 0, -TypeD};
    if (!Best || Rank >= BestRank) {  // equal: the later one
      Best = &E;
      BestRank = Rank;
    }
  }
  return Best ? Best->Editor : PropertyEditorClass<TPropertyEditor>();
}

std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* Designer, std::vector<TPersistent*> Components,
                                                   const TPropInfo* Prop) {
  TPropertyEditorClass E = FindPropertyEditor(Components, Prop);
  return std::unique_ptr<TPropertyEditor>(E.Create(Designer, std::move(Components), Prop));
}

std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* Designer, TPersistent* Instance,
                                                   const AnsiString& PropName) {
  const TPropInfo* Prop = GetPropInfo(Instance, PropName);
  if (!Prop) throw EPropertyError("Unknown property: '%s'", {PropName});
  return GetPropertyEditor(Designer, std::vector<TPersistent*>{Instance}, Prop);
}

TComponentEditorClass FindComponentEditor(TClass ComponentClass) {
  TEditorRegistry& R = Registry();
  std::lock_guard<std::mutex> G(R.Lock);
  const TComponentEditorEntry* Best = nullptr;
  int BestD = 0;
  for (const TComponentEditorEntry& E : R.Components) {
    const int D = Distance(ComponentClass, E.ComponentClass);
    if (D < 0) continue;
    if (!Best || D <= BestD) {
      Best = &E;
      BestD = D;
    }
  }
  return Best ? Best->Editor : ComponentEditorClass<TDefaultEditor>();
}

std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer) {
  TComponentEditorClass E = FindComponentEditor(Component->ClassType());
  return std::unique_ptr<TComponentEditor>(E.Create(Component, Designer));
}
