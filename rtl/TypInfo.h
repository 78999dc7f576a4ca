// Published-property tables: one declarative table per class, next to its code, driving the form
// reader, the form writer and the default-value check.
//
//   static const TPropInfo Props[] = {
//     PropInt<&TControl::Left, &TControl::SetLeft>("Left", 0),
//     PropEnum<&TForm::BorderStyle, &TForm::SetBorderStyle>("BorderStyle", BorderStyleType, bsSizeable),
//     PropSet<&TForm::BorderIcons, &TForm::SetBorderIcons>("BorderIcons", BorderIconType, DefaultIcons),
//     PropBool<&TControl::Enabled, &TControl::SetEnabled>("Enabled", true),
//     PropColor<&TControl::Color, &TControl::SetColor>("Color", clBtnFace),
//     PropStr<&TControl::Caption, &TControl::SetCaption>("Caption"),
//     PropFloat<&TFoo::Ratio, &TFoo::SetRatio>("Ratio"),
//     PropObject<&TControl::Font, &TControl::SetFont>("Font"),        // sub-object, streamed inline
//     PropRef<&TForm::Menu, &TForm::SetMenu>("Menu"),                 // component reference
//     PropEvent<&TControl::OnClick>("OnClick"),                        // closure data member
//     PropEvent<&TFoo::OnTimer, &TFoo::SetOnTimer>("OnTimer"),         // closure behind accessors
//   };
//   ORV_IMPLEMENT_COMPONENT(TFoo, TBase, Props)
#pragma once
#include "rtl/Classes.h"
#include <cstdint>
#include <type_traits>
#include <typeinfo>
#include <cstddef>
#include <initializer_list>

enum TTypeKind { tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod, tkInt64 };

// An enumeration type: names in value order starting at 0. Boolean is one ("False", "True").
struct TEnumType {
  const char* Name;
  std::initializer_list<const char*> Names;
  int Count() const { return int(Names.size()); }
  int NameToValue(const AnsiString& S) const;  // -1 when unknown (case-insensitive)
  const char* ValueToName(int V) const;         // null when out of range
};
extern const TEnumType BooleanType;

// Integer types with identifiers (TColor, TCursor, TFontCharset): "clRed" <-> 255.
struct TIntIdentType {
  const char* Name;
  bool (*IdentToInt)(const AnsiString& Ident, int& Value);
  bool (*IntToIdent)(int Value, AnsiString& Ident);
};
// Registered by the unit that defines the type (the class library registers TColor); the reader
// and writer use it for every integer property of that type. Null when none is registered.
void RegisterIntegerConsts(const char* TypeName, bool (*IdentToInt)(const AnsiString&, int&),
                           bool (*IntToIdent)(int, AnsiString&));
const TIntIdentType* FindIntegerConsts(const char* TypeName);

struct TPropInfo {
  const char* Name;
  TTypeKind Kind;
  const char* TypeName = nullptr;        // "Integer", "TColor", "AnsiString"... (see Type())
  const TEnumType* EnumType = nullptr;   // tkEnumeration and tkSet element type
  TClass (*PropClass)() = nullptr;       // tkClass: class of the sub-object or reference
  bool IsReference = false;              // tkClass: component reference rather than sub-object
  const std::type_info* MethodType = nullptr;  // tkMethod: the closure type

  int64_t (*GetOrd)(const TObject*) = nullptr;       // integer, char, enum, set (bit mask), int64
  void (*SetOrd)(TObject*, int64_t) = nullptr;
  long double (*GetFloat)(const TObject*) = nullptr;
  void (*SetFloat)(TObject*, long double) = nullptr;
  AnsiString (*GetStr)(const TObject*) = nullptr;
  void (*SetStr)(TObject*, const AnsiString&) = nullptr;
  TObject* (*GetObj)(const TObject*) = nullptr;
  void (*SetObj)(TObject*, TObject*) = nullptr;        // references; sub-objects use Assign
  TMethod (*GetMethod)(const TObject*) = nullptr;
  void (*SetMethod)(TObject*, const TMethod&) = nullptr;

  bool HasDefault = false;               // ordinal kinds: Default is the "not stored" value
  int64_t Default = 0;
  bool (*Stored)(const TObject*) = nullptr;  // optional stored predicate

  bool IsStored(const TObject* Obj) const { return !Stored || Stored(Obj); }
  // The type's name: the enumeration's (element type's, for sets) or TypeName.
  const char* Type() const { return EnumType ? EnumType->Name : TypeName; }
};

// The stored predicate of a property a form never stores (information shown, not kept).
constexpr bool NeverStored(const TObject*) { return false; }
// The stored predicate of a property a form stores whatever it holds, for what a constructor
// starts away from the implied defaults: a string or float keeps '' or 0 (as with any stored
// predicate that answers true); a sub-object is written whole, the values its class declares as
// defaults included, and a string list keeps its emptiness.
constexpr bool AlwaysStored(const TObject*) { return true; }

// A published field of a form class: bound by name to the created component.
struct TPublishedField {
  const char* Name;
  TClass (*FieldClass)();
  void (*Set)(TObject* Instance, TComponent* Value);
  TComponent* (*Get)(const TObject* Instance);
};

// A published method of a form class: bound by name to event properties of its closure type.
struct TPublishedMethod {
  const char* Name;
  const std::type_info* MethodType;
  TMethod (*Make)(TObject* Instance);  // Make(nullptr).Code identifies the method (writer lookup)
};

// ---------------------------------------------------------------------------------------------
// Generic access by name. Unknown names raise EPropertyError "Unknown property: '%s'" (except
// GetPropInfo, which returns null); a property of another kind raises EPropertyError
// "Invalid property type: %s", one without a setter "Property %s is read-only".
const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& PropName);
int64_t GetOrdProp(const TObject* Instance, const AnsiString& PropName);
void SetOrdProp(TObject* Instance, const AnsiString& PropName, int64_t Value);
AnsiString GetStrProp(const TObject* Instance, const AnsiString& PropName);
void SetStrProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);
long double GetFloatProp(const TObject* Instance, const AnsiString& PropName);
void SetFloatProp(TObject* Instance, const AnsiString& PropName, long double Value);
AnsiString GetEnumProp(const TObject* Instance, const AnsiString& PropName);
void SetEnumProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);
TObject* GetObjectProp(const TObject* Instance, const AnsiString& PropName);
TMethod GetMethodProp(const TObject* Instance, const AnsiString& PropName);
void SetMethodProp(TObject* Instance, const AnsiString& PropName, const TMethod& Value);
// Property value as the text form writes it, and set from that text (enum names, set "[a,b]",
// colour identifiers, numbers, strings unquoted).
AnsiString GetPropValueText(const TObject* Instance, const TPropInfo* Prop);
void SetPropValueText(TObject* Instance, const TPropInfo* Prop, const AnsiString& Text);

// ---------------------------------------------------------------------------------------------
// Table builders. They are constexpr: declare tables `static constinit const TPropInfo X[]` so
// they are ready before any start-up code asks for a class.
namespace orv_detail {
template <class M> struct getter_traits;
template <class C, class R> struct getter_traits<R (C::*)() const> { using cls = C; using type = std::remove_cvref_t<R>; };
template <class C, class R> struct getter_traits<R (C::*)() const noexcept> { using cls = C; using type = std::remove_cvref_t<R>; };
template <class C, class R> struct getter_traits<R C::*> { using cls = C; using type = R; };  // data member (events)
template <class M> struct setter_traits;
template <class C, class A> struct setter_traits<void (C::*)(A)> { using cls = C; using type = std::remove_cvref_t<A>; };

template <class M> struct method_class;
template <class C, class... A> struct method_class<void (C::*)(A...)> { using type = C; };

template <class T, size_t N> constexpr int len(T (&)[N]) { return int(N); }
constexpr int len(std::nullptr_t) { return 0; }
template <class T, size_t N> constexpr T* ptr(T (&A)[N]) { return A; }
constexpr std::nullptr_t ptr(std::nullptr_t) { return nullptr; }

template <auto G> using GCls = typename getter_traits<decltype(G)>::cls;
template <auto G> using GType = typename getter_traits<decltype(G)>::type;

template <auto G> const GCls<G>* self(const TObject* O) { return static_cast<const GCls<G>*>(O); }
template <auto S> typename setter_traits<decltype(S)>::cls* mself(TObject* O) {
  return static_cast<typename setter_traits<decltype(S)>::cls*>(O);
}
}  // namespace orv_detail

template <auto G, auto S>
constexpr TPropInfo OrdinalProp(const char* Name, TTypeKind Kind, const char* TypeName, const TEnumType* Enum,
                      bool HasDefault, int64_t Default, bool (*Stored)(const TObject*) = nullptr) {
  using namespace orv_detail;
  TPropInfo P{Name, Kind, TypeName, Enum};
  P.GetOrd = [](const TObject* O) -> int64_t { return int64_t((self<G>(O)->*G)()); };
  if constexpr (!std::is_same_v<decltype(S), std::nullptr_t>)
    P.SetOrd = [](TObject* O, int64_t V) {
      (mself<S>(O)->*S)(static_cast<typename setter_traits<decltype(S)>::type>(V));
    };
  P.HasDefault = HasDefault;
  P.Default = Default;
  P.Stored = Stored;
  return P;
}

template <auto G, auto S>
constexpr TPropInfo PropInt(const char* Name, int64_t Default, bool (*Stored)(const TObject*) = nullptr) {
  return OrdinalProp<G, S>(Name, tkInteger, "Integer", nullptr, true, Default, Stored);
}
// Integer without a default: always stored.
template <auto G, auto S>
constexpr TPropInfo PropIntNoDefault(const char* Name, bool (*Stored)(const TObject*) = nullptr) {
  return OrdinalProp<G, S>(Name, tkInteger, "Integer", nullptr, false, 0, Stored);
}
// Integer of a named type with identifiers (RegisterIntegerConsts): TColor, TCursor, ...
template <auto G, auto S>
constexpr TPropInfo PropIntType(const char* Name, const char* TypeName, int64_t Default,
                      bool (*Stored)(const TObject*) = nullptr) {
  return OrdinalProp<G, S>(Name, tkInteger, TypeName, nullptr, true, Default, Stored);
}
template <auto G, auto S>
constexpr TPropInfo PropColor(const char* Name, int64_t Default, bool (*Stored)(const TObject*) = nullptr) {
  return OrdinalProp<G, S>(Name, tkInteger, "TColor", nullptr, true, Default, Stored);
}
template <auto G, auto S>
constexpr TPropInfo PropBool(const char* Name, bool Default, bool (*Stored)(const TObject*) = nullptr) {
  return OrdinalProp<G, S>(Name, tkEnumeration, "Boolean", &BooleanType, true, Default, Stored);
}
template <auto G, auto S>
constexpr TPropInfo PropEnum(const char* Name, const TEnumType& Type, int64_t Default,
                   bool (*Stored)(const TObject*) = nullptr) {
  return OrdinalProp<G, S>(Name, tkEnumeration, nullptr, &Type, true, Default, Stored);
}
// A set of an enumeration, held as a bit mask (bit n = value n).
template <auto G, auto S>
constexpr TPropInfo PropSet(const char* Name, const TEnumType& Element, int64_t Default,
                  bool (*Stored)(const TObject*) = nullptr) {
  return OrdinalProp<G, S>(Name, tkSet, nullptr, &Element, true, Default, Stored);
}
template <auto G, auto S>
constexpr TPropInfo PropChar(const char* Name, char Default, bool (*Stored)(const TObject*) = nullptr) {
  return OrdinalProp<G, S>(Name, tkChar, "Char", nullptr, true, (unsigned char)Default, Stored);
}

template <auto G, auto S>
constexpr TPropInfo PropStr(const char* Name, bool (*Stored)(const TObject*) = nullptr) {
  using namespace orv_detail;
  TPropInfo P{Name, tkString, "AnsiString"};
  P.GetStr = [](const TObject* O) -> AnsiString { return (self<G>(O)->*G)(); };
  if constexpr (!std::is_same_v<decltype(S), std::nullptr_t>)
    P.SetStr = [](TObject* O, const AnsiString& V) { (mself<S>(O)->*S)(V); };
  P.Stored = Stored;
  return P;
}

template <auto G, auto S>
constexpr TPropInfo PropFloat(const char* Name, bool (*Stored)(const TObject*) = nullptr) {
  using namespace orv_detail;
  TPropInfo P{Name, tkFloat, "Extended"};
  P.GetFloat = [](const TObject* O) -> long double { return (long double)(self<G>(O)->*G)(); };
  P.SetFloat = [](TObject* O, long double V) {
    (mself<S>(O)->*S)(static_cast<typename setter_traits<decltype(S)>::type>(V));
  };
  P.Stored = Stored;
  return P;
}

// Owned sub-object (font, pen, strings, picture): the reader sets its properties in place; the
// setter (usually Assign) is used by SetObjectProp.
template <auto G, auto S>
constexpr TPropInfo PropObject(const char* Name, bool (*Stored)(const TObject*) = nullptr) {
  using namespace orv_detail;
  using T = std::remove_pointer_t<GType<G>>;
  TPropInfo P{Name, tkClass, nullptr};
  P.PropClass = [] { return T::StaticClass(); };
  P.GetObj = [](const TObject* O) -> TObject* { return (self<G>(O)->*G)(); };
  if constexpr (!std::is_same_v<decltype(S), std::nullptr_t>)
    P.SetObj = [](TObject* O, TObject* V) { (mself<S>(O)->*S)(dynamic_cast<T*>(V)); };
  P.Stored = Stored;
  return P;
}

// Reference to another component, stored by name and fixed up after reading.
template <auto G, auto S>
constexpr TPropInfo PropRef(const char* Name, bool (*Stored)(const TObject*) = nullptr) {
  using namespace orv_detail;
  using T = std::remove_pointer_t<GType<G>>;
  TPropInfo P{Name, tkClass, nullptr};
  P.PropClass = [] { return T::StaticClass(); };
  P.IsReference = true;
  P.GetObj = [](const TObject* O) -> TObject* { return (self<G>(O)->*G)(); };
  P.SetObj = [](TObject* O, TObject* V) { (mself<S>(O)->*S)(dynamic_cast<T*>(V)); };
  P.Stored = Stored;
  return P;
}

// Event: a public closure data member (OnClick) of the class.
template <auto M>
constexpr TPropInfo PropEvent(const char* Name) {
  using namespace orv_detail;
  using E = GType<M>;
  using C = GCls<M>;
  TPropInfo P{Name, tkMethod, nullptr};
  P.MethodType = &typeid(E);
  P.GetMethod = [](const TObject* O) -> TMethod { return (static_cast<const C*>(O)->*M).Method(); };
  P.SetMethod = [](TObject* O, const TMethod& V) { static_cast<C*>(O)->*M = E::FromMethod(V); };
  return P;
}

// Event read and written through a getter and a setter: PropEvent<&TFoo::OnTimer, &TFoo::SetOnTimer>.
template <auto G, auto S>
constexpr TPropInfo PropEvent(const char* Name) {
  using namespace orv_detail;
  using E = GType<G>;
  TPropInfo P{Name, tkMethod, nullptr};
  P.MethodType = &typeid(E);
  P.GetMethod = [](const TObject* O) -> TMethod { return (self<G>(O)->*G)().Method(); };
  P.SetMethod = [](TObject* O, const TMethod& V) { (mself<S>(O)->*S)(E::FromMethod(V)); };
  return P;
}

// Published field of a form class: PublishedField<&TForm1::Label1>("Label1").
template <auto F>
constexpr TPublishedField PublishedField(const char* Name) {
  using namespace orv_detail;
  using C = GCls<F>;
  using T = std::remove_pointer_t<GType<F>>;
  return TPublishedField{Name, [] { return T::StaticClass(); },
                         [](TObject* I, TComponent* V) { static_cast<C*>(I)->*F = dynamic_cast<T*>(V); },
                         [](const TObject* I) -> TComponent* { return static_cast<const C*>(I)->*F; }};
}

// Published method of a form class: PublishedMethod<&TForm1::Button1Click>("Button1Click").
template <auto M>
constexpr TPublishedMethod PublishedMethod(const char* Name) {
  using E = decltype(orv_detail::EventOf(M));
  using C = typename orv_detail::method_class<decltype(M)>::type;
  return TPublishedMethod{Name, &typeid(E),
                          [](TObject* I) -> TMethod { return E::template Bind<M>(static_cast<C*>(I)).Method(); }};
}

// ---------------------------------------------------------------------------------------------
// Class definitions. Props, Fields and Methods name static arrays (or use the NOPROPS forms).

// A streamable component class with a public (TComponent* Owner) constructor.
#define ORV_IMPLEMENT_COMPONENT(T, Base, Props)                                                  \
  TClass T::StaticClass() {                                                                       \
    static const TClassInfo Info{#T, Base::StaticClass(),                                         \
                                 [](TComponent* O) -> TComponent* { return New<T>(O); },          \
                                 orv_detail::ptr(Props), orv_detail::len(Props)};                                    \
    return &Info;                                                                                 \
  }
// A component class that cannot be created by the reader (abstract), with properties.
#define ORV_IMPLEMENT_ABSTRACT(T, Base, Props)                                                    \
  TClass T::StaticClass() {                                                                       \
    static const TClassInfo Info{#T, Base::StaticClass(), nullptr, orv_detail::ptr(Props), orv_detail::len(Props)};  \
    return &Info;                                                                                 \
  }
// A class without published properties of its own.
#define ORV_IMPLEMENT_CLASS(T, Base)                                                              \
  TClass T::StaticClass() {                                                                       \
    static const TClassInfo Info{#T, Base::StaticClass(), nullptr};                              \
    return &Info;                                                                                 \
  }
#define ORV_IMPLEMENT_COMPONENT_NOPROPS(T, Base)                                                  \
  TClass T::StaticClass() {                                                                       \
    static const TClassInfo Info{#T, Base::StaticClass(),                                         \
                                 [](TComponent* O) -> TComponent* { return New<T>(O); }};         \
    return &Info;                                                                                 \
  }
// A form class with published properties, fields and methods (nullptr for an empty one).
#define ORV_IMPLEMENT_FORM(T, Base, Props, Fields, Methods)                                       \
  TClass T::StaticClass() {                                                                       \
    static const TClassInfo Info{#T, Base::StaticClass(),                                         \
                                 [](TComponent* O) -> TComponent* { return New<T>(O); },          \
                                 orv_detail::ptr(Props), orv_detail::len(Props), orv_detail::ptr(Fields), orv_detail::len(Fields),       \
                                 orv_detail::ptr(Methods), orv_detail::len(Methods)};                                \
    return &Info;                                                                                 \
  }
