// Published-property support: enumeration names, integer identifiers, generic access by name.
#include "rtl/TypInfo.h"
#include "rtl/Streaming.h"
#include <charconv>
#include <cmath>
#include <map>
#include <mutex>
#include <string>

const TEnumType BooleanType{"Boolean", {"False", "True"}};

namespace {
char UpCase(char C) { return (C >= 'a' && C <= 'z') ? char(C - 32) : C; }

bool SameName(const char* A, const char* B) {
  for (; *A && *B; ++A, ++B)
    if (UpCase(*A) != UpCase(*B)) return false;
  return *A == *B;
}
}  // namespace

int TEnumType::NameToValue(const AnsiString& S) const {
  int I = 0;
  for (const char* N : Names) {
    if (SameName(N, S.c_str())) return I;
    ++I;
  }
  return -1;
}

const char* TEnumType::ValueToName(int V) const {
  if (V < 0 || V >= Count()) return nullptr;
  return Names.begin()[V];
}

// ---------------------------------------------------------------------------------------------
// Integer identifiers.

namespace {
struct TIdentRegistry {
  std::mutex Lock;
  std::map<std::string, TIntIdentType> Types;  // by upper-case name; nodes stay put
};
TIdentRegistry& IdentRegistry() {
  static TIdentRegistry R;
  return R;
}
std::string Upper(const char* S) {
  std::string R(S ? S : "");
  for (char& C : R) C = UpCase(C);
  return R;
}
}  // namespace

void RegisterIntegerConsts(const char* TypeName, bool (*IdentToInt)(const AnsiString&, int&),
                           bool (*IntToIdent)(int, AnsiString&)) {
  TIdentRegistry& R = IdentRegistry();
  std::lock_guard<std::mutex> G(R.Lock);
  TIntIdentType& T = R.Types[Upper(TypeName)];
  T.Name = TypeName;
  T.IdentToInt = IdentToInt;
  T.IntToIdent = IntToIdent;
}

const TIntIdentType* FindIntegerConsts(const char* TypeName) {
  if (!TypeName) return nullptr;
  TIdentRegistry& R = IdentRegistry();
  std::lock_guard<std::mutex> G(R.Lock);
  auto It = R.Types.find(Upper(TypeName));
  return It == R.Types.end() ? nullptr : &It->second;
}

// ---------------------------------------------------------------------------------------------
// Generic access.

namespace {
const TPropInfo* FindPropInfo(const TObject* Instance, const AnsiString& PropName) {
  const TPropInfo* P = GetPropInfo(Instance, PropName);
  if (!P) throw EPropertyError("Unknown property: '%s'", {PropName});
  return P;
}

[[noreturn]] void InvalidType(const TPropInfo* P) {
  // Class properties carry no type name: the class names the type.
  const char* Type = P->Type();
  if (!Type && P->Kind == tkClass && P->PropClass) Type = P->PropClass()->Name;
  throw EPropertyError("Invalid property type: %s", {AnsiString(Type ? Type : "?")});
}

[[noreturn]] void ReadOnly(const TPropInfo* P) {
  throw EPropertyError("Property %s is read-only", {AnsiString(P->Name)});
}

bool IsOrdinal(const TPropInfo* P) {
  return P->Kind == tkInteger || P->Kind == tkChar || P->Kind == tkEnumeration || P->Kind == tkSet ||
         P->Kind == tkInt64;
}

// Decimal or $hex integer with an optional sign.
bool ParseInt(const AnsiString& Text, int64_t& Value) {
  std::string S = Trim(Text).str();
  size_t P = 0;
  bool Neg = false;
  if (P < S.size() && (S[P] == '-' || S[P] == '+')) Neg = S[P++] == '-';
  int Base = 10;
  if (P < S.size() && S[P] == '$') { Base = 16; ++P; }
  else if (P + 1 < S.size() && S[P] == '0' && (S[P + 1] == 'x' || S[P + 1] == 'X')) { Base = 16; P += 2; }
  if (P >= S.size()) return false;
  uint64_t U = 0;
  auto R = std::from_chars(S.data() + P, S.data() + S.size(), U, Base);
  if (R.ec != std::errc() || R.ptr != S.data() + S.size()) return false;
  if (Base == 16 && !Neg) { Value = int64_t(U); return true; }  // $FFFFFFFF... wraps like the classic
  if (Neg ? U > uint64_t(INT64_MAX) + 1 : U > uint64_t(INT64_MAX)) return false;
  Value = Neg ? int64_t(0 - U) : int64_t(U);
  return true;
}
}  // namespace

const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& PropName) {
  if (!Instance) return nullptr;
  return Instance->ClassType()->FindProp(PropName);
}

int64_t GetOrdProp(const TObject* Instance, const AnsiString& PropName) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (!IsOrdinal(P) || !P->GetOrd) InvalidType(P);
  return P->GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const AnsiString& PropName, int64_t Value) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (!IsOrdinal(P)) InvalidType(P);
  if (!P->SetOrd) ReadOnly(P);
  P->SetOrd(Instance, Value);
}

AnsiString GetStrProp(const TObject* Instance, const AnsiString& PropName) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (P->Kind != tkString || !P->GetStr) InvalidType(P);
  return P->GetStr(Instance);
}

void SetStrProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (P->Kind != tkString) InvalidType(P);
  if (!P->SetStr) ReadOnly(P);
  P->SetStr(Instance, Value);
}

long double GetFloatProp(const TObject* Instance, const AnsiString& PropName) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (P->Kind != tkFloat || !P->GetFloat) InvalidType(P);
  return P->GetFloat(Instance);
}

void SetFloatProp(TObject* Instance, const AnsiString& PropName, long double Value) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (P->Kind != tkFloat) InvalidType(P);
  if (!P->SetFloat) ReadOnly(P);
  P->SetFloat(Instance, Value);
}

AnsiString GetEnumProp(const TObject* Instance, const AnsiString& PropName) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (P->Kind != tkEnumeration || !P->EnumType || !P->GetOrd) InvalidType(P);
  int64_t V = P->GetOrd(Instance);
  const char* Name = (V >= 0 && V <= INT32_MAX) ? P->EnumType->ValueToName(int(V)) : nullptr;
  return Name ? AnsiString(Name) : IntToStr((long long)V);
}

void SetEnumProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (P->Kind != tkEnumeration || !P->EnumType) InvalidType(P);
  if (!P->SetOrd) ReadOnly(P);
  int V = P->EnumType->NameToValue(Value);
  if (V < 0) throw EPropertyError("Invalid property element: %s", {Value});
  P->SetOrd(Instance, V);
}

TObject* GetObjectProp(const TObject* Instance, const AnsiString& PropName) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (P->Kind != tkClass || !P->GetObj) InvalidType(P);
  return P->GetObj(Instance);
}

TMethod GetMethodProp(const TObject* Instance, const AnsiString& PropName) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (P->Kind != tkMethod || !P->GetMethod) InvalidType(P);
  return P->GetMethod(Instance);
}

void SetMethodProp(TObject* Instance, const AnsiString& PropName, const TMethod& Value) {
  const TPropInfo* P = FindPropInfo(Instance, PropName);
  if (P->Kind != tkMethod) InvalidType(P);
  if (!P->SetMethod) ReadOnly(P);
  P->SetMethod(Instance, Value);
}

// ---------------------------------------------------------------------------------------------
// Values as text.

namespace {
AnsiString FloatText(long double V) {
  char Buf[64];
  auto R = std::to_chars(Buf, Buf + sizeof Buf, V);
  return AnsiString(Buf, int(R.ptr - Buf));
}

// The components whose published methods and owned components a property's text can name:
// the owner of the component holding the property, then that component itself.
std::vector<TComponent*> LookupRootsOf(const TObject* Instance) {
  auto* C = dynamic_cast<const TComponent*>(Instance);
  // Sub-objects and collection items: walk up their owners to a component.
  for (auto* P = dynamic_cast<const TPersistent*>(Instance); P && !C; P = P->GetOwner())
    C = dynamic_cast<const TComponent*>(P);
  std::vector<TComponent*> R;
  if (!C) return R;
  if (C->Owner()) R.push_back(C->Owner());
  R.push_back(const_cast<TComponent*>(C));
  return R;
}
}  // namespace

AnsiString GetPropValueText(const TObject* Instance, const TPropInfo* Prop) {
  switch (Prop->Kind) {
    case tkInteger:
    case tkInt64: {
      int64_t V = Prop->GetOrd(Instance);
      if (V >= INT32_MIN && V <= INT32_MAX)
        if (const TIntIdentType* T = FindIntegerConsts(Prop->Type())) {
          AnsiString Ident;
          if (T->IntToIdent && T->IntToIdent(int(V), Ident)) return Ident;
        }
      return IntToStr((long long)V);
    }
    case tkChar: return AnsiString(char(Prop->GetOrd(Instance)));
    case tkEnumeration: {
      int64_t V = Prop->GetOrd(Instance);
      const char* Name = (Prop->EnumType && V >= 0 && V <= INT32_MAX) ? Prop->EnumType->ValueToName(int(V)) : nullptr;
      return Name ? AnsiString(Name) : IntToStr((long long)V);
    }
    case tkSet: {
      uint64_t V = uint64_t(Prop->GetOrd(Instance));
      AnsiString R = "[";
      bool First = true;
      for (int I = 0; I < 64; ++I)
        if (V & (uint64_t(1) << I)) {
          if (!First) R += ",";
          First = false;
          const char* Name = Prop->EnumType ? Prop->EnumType->ValueToName(I) : nullptr;
          R += Name ? AnsiString(Name) : IntToStr(I);
        }
      return R + "]";
    }
    case tkFloat: return FloatText(Prop->GetFloat(Instance));
    case tkString: return Prop->GetStr(Instance);
    case tkClass: {
      TObject* O = Prop->GetObj(Instance);
      if (!O) return "nil";
      if (auto* C = dynamic_cast<TComponent*>(O)) return C->Name();
      return "(" + O->ClassName() + ")";
    }
    case tkMethod: {
      TMethod M = Prop->GetMethod(Instance);
      if (!M.Code) return AnsiString();
      const TPublishedMethod* PM = M.Data ? M.Data->ClassType()->FindMethodByCode(M.Code) : nullptr;
      return PM ? AnsiString(PM->Name) : AnsiString();
    }
  }
  return AnsiString();
}

void SetPropValueText(TObject* Instance, const TPropInfo* Prop, const AnsiString& Text) {
  auto Invalid = [&]() -> void { throw EPropertyError("Invalid property value: %s", {Text}); };
  auto NeedSetter = [&](bool Has) { if (!Has) ReadOnly(Prop); };
  switch (Prop->Kind) {
    case tkInteger:
    case tkInt64: {
      NeedSetter(Prop->SetOrd);
      int64_t V = 0;
      int I = 0;
      const TIntIdentType* T = FindIntegerConsts(Prop->Type());
      if (T && T->IdentToInt && T->IdentToInt(Trim(Text), I)) V = I;
      else if (!ParseInt(Text, V)) Invalid();
      Prop->SetOrd(Instance, V);
      return;
    }
    case tkChar:
      NeedSetter(Prop->SetOrd);
      if (Text.Length() != 1) Invalid();
      Prop->SetOrd(Instance, (unsigned char)Text[1]);
      return;
    case tkEnumeration: {
      NeedSetter(Prop->SetOrd);
      int V = Prop->EnumType ? Prop->EnumType->NameToValue(Trim(Text)) : -1;
      if (V < 0) throw EPropertyError("Invalid property element: %s", {Text});
      Prop->SetOrd(Instance, V);
      return;
    }
    case tkSet: {
      NeedSetter(Prop->SetOrd);
      AnsiString S = Trim(Text);
      if (S.Length() < 2 || S[1] != '[' || S[S.Length()] != ']') Invalid();
      S = S.SubString(2, S.Length() - 2);
      uint64_t V = 0;
      while (!Trim(S).IsEmpty()) {
        int Comma = S.Pos(",");
        AnsiString Item = Trim(Comma ? S.SubString(1, Comma - 1) : S);
        S = Comma ? S.SubString(Comma + 1, S.Length()) : AnsiString();
        int E = Prop->EnumType ? Prop->EnumType->NameToValue(Item) : -1;
        if (E < 0 || E >= 64) throw EPropertyError("Invalid property element: %s", {Item});
        V |= uint64_t(1) << E;
      }
      Prop->SetOrd(Instance, int64_t(V));
      return;
    }
    case tkFloat: {
      NeedSetter(Prop->SetFloat);
      std::string S = Trim(Text).str();
      long double V = 0;
      const char* B = S.data();
      if (!S.empty() && S[0] == '+') ++B;
      auto R = std::from_chars(B, S.data() + S.size(), V);
      if (S.empty() || R.ec != std::errc() || R.ptr != S.data() + S.size()) Invalid();
      Prop->SetFloat(Instance, V);
      return;
    }
    case tkString:
      NeedSetter(Prop->SetStr);
      Prop->SetStr(Instance, Text);
      return;
    case tkClass: {
      if (!Prop->IsReference) InvalidType(Prop);
      NeedSetter(Prop->SetObj);
      AnsiString Name = Trim(Text);
      if (Name.IsEmpty() || SameText(Name, "nil")) { Prop->SetObj(Instance, nullptr); return; }
      TComponent* C = nullptr;
      for (TComponent* Root : LookupRootsOf(Instance))
        if (!C) C = SameText(Root->Name(), Name) ? Root : Root->FindComponent(Name);
      if (!C) throw EPropertyError("Component %s not found", {Name});
      if (Prop->PropClass && !C->InheritsFrom(Prop->PropClass())) Invalid();
      Prop->SetObj(Instance, C);
      return;
    }
    case tkMethod: {
      NeedSetter(Prop->SetMethod);
      AnsiString Name = Trim(Text);
      if (Name.IsEmpty() || SameText(Name, "nil")) { Prop->SetMethod(Instance, TMethod{}); return; }
      TComponent* Root = nullptr;
      const TPublishedMethod* M = nullptr;
      for (TComponent* R : LookupRootsOf(Instance))
        if (!M && (M = R->ClassType()->FindMethod(Name))) Root = R;
      if (!M) throw EPropertyError("Method %s not found", {Name});
      if (Prop->MethodType && M->MethodType && *Prop->MethodType != *M->MethodType)
        throw EPropertyError("Method %s is not compatible with %s", {Name, AnsiString(Prop->Name)});
      Prop->SetMethod(Instance, M->Make(Root));
      return;
    }
  }
}
