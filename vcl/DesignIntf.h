// Design-time interfaces: the designer a root component is edited in, property and component
// editors, their registration and look-up. A designer of our own (palette and form designer)
// follows in vcl/FormDesigner.h. Design-time code: libraries link it, the program does not.
#pragma once

#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

#include <memory>
#include <vector>

// What editors ask of the designer they run in.
class IDesigner {
public:
  virtual ~IDesigner() = default;
  // The component being designed (the form); it owns what the designer creates.
  virtual TComponent* Root() const = 0;
  // A name for a new component of class BaseName that no component of the root has yet.
  virtual AnsiString UniqueName(const AnsiString& BaseName) = 0;
  virtual void SelectComponent(TPersistent* Instance) = 0;
  // Something of the root changed (a property, a new component).
  virtual void Modified() = 0;
};

// ---------------------------------------------------------------------------------------------
enum TPropertyAttribute {
  paValueList, paSubProperties, paDialog, paMultiSelect, paAutoUpdate, paSortList, paReadOnly, paRevertable,
};
using TPropertyAttributes = unsigned;  // bit n = TPropertyAttribute n
constexpr TPropertyAttributes PropertyAttribute(TPropertyAttribute A) { return 1u << A; }

// Edits one published property of one or more components (the object inspector's row). The
// base class shows and sets the value as TypInfo's text.
class TPropertyEditor : public TObject {
  ORV_CLASS(TPropertyEditor, TObject)
public:
  TPropertyEditor(IDesigner* ADesigner, std::vector<TPersistent*> AComponents, const TPropInfo* AProp);

  IDesigner* Designer() const { return FDesigner; }
  int PropCount() const { return int(FComponents.size()); }
  TPersistent* GetComponent(int Index) const;  // EListError "List index out of bounds (%d)"
  const TPropInfo* PropInfo() const { return FProp; }
  AnsiString GetName() const { return FProp->Name; }

  // paMultiSelect and paRevertable; paReadOnly for a property without a setter.
  virtual TPropertyAttributes GetAttributes();
  // The first component's value as TypInfo's text.
  virtual AnsiString GetValue();
  // Sets every component's value from the text, then Modified. A sub-object (font, wave data)
  // has no text form: the empty text or the one GetValue shows changes nothing, any other raises
  // EPropertyError "Invalid property value: %s".
  virtual void SetValue(const AnsiString& Value);
  // The dialog of a property with paDialog; nothing here.
  virtual void Edit() {}
  // Tells the designer of a change.
  void Modified();

  // The first component's object (sub-object or reference), pointer-sized.
  TObject* GetObjectValue() const;
  // Every component's object: through the property's setter, or Assign on the sub-object it
  // holds when the property has none. Not Modified: the caller says when the change is done.
  void SetObjectValue(TObject* Value);

private:
  IDesigner* FDesigner;
  std::vector<TPersistent*> FComponents;
  const TPropInfo* FProp;
};

// The actions of a component in the designer: a double click (Edit) and the verbs of its
// context menu.
class TComponentEditor : public TObject {
  ORV_CLASS(TComponentEditor, TObject)
public:
  TComponentEditor(TComponent* AComponent, IDesigner* ADesigner) : FComponent(AComponent), FDesigner(ADesigner) {}
  TComponent* Component() const { return FComponent; }
  IDesigner* Designer() const { return FDesigner; }
  // Verb 0 when there are verbs.
  virtual void Edit();
  virtual void ExecuteVerb(int Index) {}
  virtual AnsiString GetVerb(int Index) { return AnsiString(); }
  virtual int GetVerbCount() { return 0; }

private:
  TComponent* FComponent;
  IDesigner* FDesigner;
};

// The editor of a component with none of its own. Its double click would open the default
// event handler in a code editor; there is none, so it does nothing.
class TDefaultEditor : public TComponentEditor {
  ORV_CLASS(TDefaultEditor, TComponentEditor)
public:
  using TComponentEditor::TComponentEditor;
  void Edit() override {}
};

// ---------------------------------------------------------------------------------------------
// Registration. An editor class is named by its class and a factory:
//   RegisterPropertyEditor(TBMWaveData::StaticClass(), nullptr, "", PropertyEditorClass<TBMWaveDataProperty>());
using TPropertyEditorFactory = TPropertyEditor* (*)(IDesigner*, std::vector<TPersistent*>, const TPropInfo*);
struct TPropertyEditorClass {
  TClass Class = nullptr;
  TPropertyEditorFactory Create = nullptr;
};
template <class T> TPropertyEditorClass PropertyEditorClass() {
  return {T::StaticClass(), [](IDesigner* D, std::vector<TPersistent*> C, const TPropInfo* P) -> TPropertyEditor* {
            return new T(D, std::move(C), P);
          }};
}

using TComponentEditorFactory = TComponentEditor* (*)(TComponent*, IDesigner*);
struct TComponentEditorClass {
  TClass Class = nullptr;
  TComponentEditorFactory Create = nullptr;
};
template <class T> TComponentEditorClass ComponentEditorClass() {
  return {T::StaticClass(), [](TComponent* C, IDesigner* D) -> TComponentEditor* { return new T(C, D); }};
}

// The type of a property an editor is for: a class (its descendants too) or a type name
// ("TColor", "Boolean", "AnsiString").
struct TPropertyType {
  TClass Class = nullptr;
  AnsiString TypeName;
  TPropertyType(TClass C) : Class(C) {}
  TPropertyType(const char* Name) : TypeName(Name) {}
};

// ComponentClass null: any component; PropertyName empty: any name.
void RegisterPropertyEditor(const TPropertyType& PropertyType, TClass ComponentClass, const AnsiString& PropertyName,
                            TPropertyEditorClass Editor);
void RegisterComponentEditor(TClass ComponentClass, TComponentEditorClass Editor);
// How many registrations were made (what a failed registration must leave as it was).
int PropertyEditorRegistrationCount();
int ComponentEditorRegistrationCount();

// The look-up takes the most specific match: a named property over any name, a component class
// over any, the nearest ancestor class (of the components, then of a class property's type);
// among equal matches the later registration. A property with no editor gets TPropertyEditor.
TPropertyEditorClass FindPropertyEditor(const std::vector<TPersistent*>& Components, const TPropInfo* Prop);
std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* Designer, std::vector<TPersistent*> Components,
                                                   const TPropInfo* Prop);
// Instance's property by name: EPropertyError "Unknown property: '%s'" when it has none.
std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* Designer, TPersistent* Instance,
                                                   const AnsiString& PropName);
// The nearest ancestor's registration (the later one among equals); TDefaultEditor when none.
TComponentEditorClass FindComponentEditor(TClass ComponentClass);
std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer);

#include "vcl/FormDesigner.h"
