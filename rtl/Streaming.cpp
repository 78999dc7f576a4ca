// Form streaming: the binary form reader and writer, and the text form converter.
#include "rtl/Streaming.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr int MaxNesting = 64;

struct StreamFree {
  void operator()(TStream* S) const { TObject::Free(S); }
};
using StreamPtr = std::unique_ptr<TStream, StreamFree>;

TFormResourceFinder GFormResourceFinder = nullptr;
TFindGlobalComponent GFindGlobalComponent = nullptr;

bool SameIdent(const AnsiString& A, const char* B) { return SameText(A, AnsiString(B)); }

void PutLE(unsigned char* P, uint64_t V, int Bytes) {
  for (int I = 0; I < Bytes; ++I) P[I] = (unsigned char)(V >> (8 * I));
}
uint64_t GetLE(const unsigned char* P, int Bytes) {
  uint64_t V = 0;
  for (int I = 0; I < Bytes; ++I) V |= uint64_t(P[I]) << (8 * I);
  return V;
}

// UTF-8 to 8-bit text: code points up to 255 map to themselves, others to '?'.
AnsiString Utf8ToAnsi(const std::string& S) {
  std::string R;
  for (size_t I = 0; I < S.size();) {
    unsigned char C = (unsigned char)S[I];
    int Len = C < 0x80 ? 1 : (C >> 5) == 6 ? 2 : (C >> 4) == 14 ? 3 : (C >> 3) == 30 ? 4 : 0;
    if (Len == 0 || I + size_t(Len) > S.size()) { R += '?'; ++I; continue; }
    uint32_t Cp = Len == 1 ? C : (C & (0x7F >> Len));
    bool Ok = true;
    for (int K = 1; K < Len; ++K) {
      unsigned char D = (unsigned char)S[I + size_t(K)];
      if ((D & 0xC0) != 0x80) Ok = false;
      Cp = (Cp << 6) | (D & 0x3F);
    }
    if (!Ok) { R += '?'; ++I; continue; }
    R += Cp <= 0xFF ? char(Cp) : '?';
    I += size_t(Len);
  }
  return R;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// 80-bit extended values.

void EncodeExtended(long double Value, unsigned char Out[10]) {
  uint64_t Mantissa = 0;
  unsigned Exponent = 0;
  bool Negative = std::signbit(Value);
  long double A = std::fabs(Value);
  if (std::isnan(Value)) {
    Exponent = 0x7FFF;
    Mantissa = 0xC000000000000000ull;
  } else if (std::isinf(Value)) {
    Exponent = 0x7FFF;
    Mantissa = 0x8000000000000000ull;
  } else if (A != 0) {
    int E = 0;
    long double M = std::frexp(A, &E);  // M in [0.5, 1)
    int Biased = E - 1 + 16383;
    if (Biased >= 0x7FFF) {
      Exponent = 0x7FFF;
      Mantissa = 0x8000000000000000ull;
    } else {
      // The top 32 and the low 32 bits separately: exact for any host long double.
      long double Hi = std::floor(std::ldexp(M, 32));
      long double Lo = std::ldexp(M, 64) - std::ldexp(Hi, 32);
      Mantissa = (uint64_t(Hi) << 32) | uint64_t(Lo);
      if (Biased <= 0) {  // denormal
        int Shift = 1 - Biased;
        Mantissa = Shift >= 64 ? 0 : Mantissa >> Shift;
        Biased = 0;
      }
      Exponent = unsigned(Biased);
    }
  }
  PutLE(Out, Mantissa, 8);
  unsigned Top = Exponent | (Negative ? 0x8000u : 0u);
  Out[8] = (unsigned char)Top;
  Out[9] = (unsigned char)(Top >> 8);
}

long double DecodeExtended(const unsigned char In[10]) {
  uint64_t Mantissa = GetLE(In, 8);
  unsigned Top = unsigned(In[8]) | (unsigned(In[9]) << 8);
  bool Negative = (Top & 0x8000) != 0;
  int Exponent = int(Top & 0x7FFF);
  long double V;
  if (Exponent == 0x7FFF) {
    V = (Mantissa << 1) == 0 ? HUGE_VALL : std::nanl("");
  } else {
    long double M = std::ldexp((long double)(Mantissa >> 32), 32) + (long double)(Mantissa & 0xFFFFFFFFu);
    V = std::ldexp(M, (Exponent == 0 ? 1 : Exponent) - 16383 - 63);
  }
  return Negative ? -V : V;
}

void SetFormResourceFinder(TFormResourceFinder Finder) { GFormResourceFinder = Finder; }
TFormResourceFinder GetFormResourceFinder() { return GFormResourceFinder; }
void SetFindGlobalComponent(TFindGlobalComponent Finder) { GFindGlobalComponent = Finder; }

ORV_IMPLEMENT_CLASS(TFiler, TObject)
ORV_IMPLEMENT_CLASS(TReader, TFiler)
ORV_IMPLEMENT_CLASS(TWriter, TFiler)

// ---------------------------------------------------------------------------------------------
// TReader

TReader::TReader(TStream* Stream) : TFiler(Stream) {}
TReader::~TReader() = default;

int64_t TReader::Position() const { return FStream->Position(); }
void TReader::SetPosition(int64_t Value) { FStream->SetPosition(Value); }
int64_t TReader::Remaining() const { return FStream->Size() - FStream->Position(); }

void TReader::Error(const AnsiString& What) const {
  throw EReadError(What + " at offset " + IntToStr((long long)Position()));
}

void TReader::EnterNesting() {
  if (++FNesting > MaxNesting) {
    --FNesting;
    Error("Nesting too deep");
  }
}

void TReader::Read(void* Buffer, int Count) {
  if (Count < 0 || Count > Remaining()) Error("Unexpected end of stream");
  if (Count > 0) FStream->ReadBuffer(Buffer, Count);
}

uint8_t TReader::ReadByte() {
  uint8_t B = 0;
  if (FStream->Read(&B, 1) != 1) Error("Unexpected end of stream");
  return B;
}

void TReader::SkipBytes(int64_t Count) {
  if (Count < 0 || Count > Remaining()) Error("Unexpected end of stream");
  FStream->Seek(Count, soCurrent);
}

int TReader::ReadLength(int UnitSize) {
  unsigned char B[4];
  Read(B, 4);
  int32_t N = int32_t(GetLE(B, 4));
  if (N < 0 || int64_t(N) * UnitSize > Remaining()) Error("Invalid length " + IntToStr(N));
  return N;
}

void TReader::ValueError(TValueType Found) {
  AnsiString Where = FPropPath.IsEmpty() ? AnsiString() : " for " + FPropPath;
  Error("Invalid property value" + Where + " (value type " + IntToStr(int(Found)) + ")");
}

TValueType TReader::ReadValue() { return TValueType(ReadByte()); }

TValueType TReader::NextValue() {
  TValueType V = ReadValue();
  FStream->Seek(-1, soCurrent);
  return V;
}

void TReader::CheckValue(TValueType Value) {
  TValueType V = ReadValue();
  if (V != Value) {
    FStream->Seek(-1, soCurrent);
    ValueError(V);
  }
}

bool TReader::EndOfList() { return NextValue() == vaNull; }
void TReader::ReadListBegin() { CheckValue(vaList); }
void TReader::ReadListEnd() { CheckValue(vaNull); }

void TReader::ReadSignature() {
  char Sig[4];
  Read(Sig, 4);
  if (std::memcmp(Sig, "TPF0", 4) != 0) {
    FStream->Seek(-4, soCurrent);
    Error("Invalid stream format");
  }
}

void TReader::ReadPrefix(TFilerFlags& Flags, int& ChildPos) {
  Flags = 0;
  ChildPos = 0;
  if ((NextValue() & 0xF0) != 0xF0) return;
  Flags = ReadByte() & 0x0F;
  if (Flags & ffChildPos) ChildPos = ReadInteger();
}

bool TReader::ReadBoolean() {
  TValueType V = ReadValue();
  if (V == vaTrue) return true;
  if (V == vaFalse) return false;
  FStream->Seek(-1, soCurrent);
  ValueError(V);
}

char TReader::ReadChar() {
  AnsiString S = ReadString();
  if (S.Length() != 1) Error("Invalid property value" + (FPropPath.IsEmpty() ? AnsiString() : " for " + FPropPath));
  return S[1];
}

int64_t TReader::ReadInt64() {
  TValueType V = ReadValue();
  unsigned char B[8];
  switch (V) {
    case vaInt8: Read(B, 1); return int8_t(B[0]);
    case vaInt16: Read(B, 2); return int16_t(GetLE(B, 2));
    case vaInt32: Read(B, 4); return int32_t(GetLE(B, 4));
    case vaInt64: Read(B, 8); return int64_t(GetLE(B, 8));
    default: FStream->Seek(-1, soCurrent); ValueError(V);
  }
}

int TReader::ReadInteger() {
  if (NextValue() == vaInt64) ValueError(vaInt64);
  return int(ReadInt64());
}

long double TReader::ReadFloat() {
  TValueType V = NextValue();
  unsigned char B[10];
  switch (V) {
    case vaExtended: ReadValue(); Read(B, 10); return DecodeExtended(B);
    case vaSingle: return ReadSingle();
    case vaDate: return ReadDate();
    case vaCurrency: return (long double)ReadCurrency() / 10000;
    case vaInt8: case vaInt16: case vaInt32: case vaInt64: return (long double)ReadInt64();
    default: ReadValue(); FStream->Seek(-1, soCurrent); ValueError(V);
  }
}

float TReader::ReadSingle() {
  TValueType V = NextValue();
  if (V != vaSingle) return float(ReadFloat());
  ReadValue();
  unsigned char B[4];
  Read(B, 4);
  uint32_t Bits = uint32_t(GetLE(B, 4));
  float F;
  std::memcpy(&F, &Bits, 4);
  return F;
}

double TReader::ReadDate() {
  TValueType V = NextValue();
  if (V != vaDate) return double(ReadFloat());
  ReadValue();
  unsigned char B[8];
  Read(B, 8);
  uint64_t Bits = GetLE(B, 8);
  double D;
  std::memcpy(&D, &Bits, 8);
  return D;
}

int64_t TReader::ReadCurrency() {
  TValueType V = NextValue();
  if (V != vaCurrency) return int64_t(std::llround(ReadFloat() * 10000));
  ReadValue();
  unsigned char B[8];
  Read(B, 8);
  return int64_t(GetLE(B, 8));
}

AnsiString TReader::ReadStr() {
  int Len = ReadByte();
  std::string S(size_t(Len), '\0');
  Read(S.data(), Len);
  return S;
}

AnsiString TReader::ReadString() {
  TValueType V = ReadValue();
  switch (V) {
    case vaString: {
      int Len = ReadByte();
      std::string S(size_t(Len), '\0');
      Read(S.data(), Len);
      return S;
    }
    case vaLString: {
      int Len = ReadLength();
      std::string S(size_t(Len), '\0');
      Read(S.data(), Len);
      return S;
    }
    case vaUTF8String: {
      int Len = ReadLength();
      std::string S(size_t(Len), '\0');
      Read(S.data(), Len);
      return Utf8ToAnsi(S);
    }
    case vaWString: {
      FStream->Seek(-1, soCurrent);
      std::u16string W = ReadWideString();
      std::string S;
      for (char16_t C : W) S += C <= 0xFF ? char(C) : '?';
      return S;
    }
    default: FStream->Seek(-1, soCurrent); ValueError(V);
  }
}

std::u16string TReader::ReadWideString() {
  TValueType V = NextValue();
  if (V != vaWString) {
    AnsiString S = ReadString();
    std::u16string W;
    for (char C : S.str()) W += char16_t((unsigned char)C);
    return W;
  }
  ReadValue();
  int Len = ReadLength(2);
  std::vector<unsigned char> B(size_t(Len) * 2);
  Read(B.data(), Len * 2);
  std::u16string W(size_t(Len), u'\0');
  for (int I = 0; I < Len; ++I) W[size_t(I)] = char16_t(GetLE(&B[size_t(I) * 2], 2));
  return W;
}

AnsiString TReader::ReadIdent() {
  TValueType V = ReadValue();
  switch (V) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: FStream->Seek(-1, soCurrent); ValueError(V);
  }
}

void TReader::SkipValue() {
  NestingGuard G(this);
  TValueType V = ReadValue();
  switch (V) {
    case vaNull: case vaFalse: case vaTrue: case vaNil: return;
    case vaList:
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      return;
    case vaInt8: SkipBytes(1); return;
    case vaInt16: SkipBytes(2); return;
    case vaInt32: case vaSingle: SkipBytes(4); return;
    case vaInt64: case vaCurrency: case vaDate: SkipBytes(8); return;
    case vaExtended: SkipBytes(10); return;
    case vaString: case vaIdent: SkipBytes(ReadByte()); return;
    case vaLString: case vaBinary: case vaUTF8String: SkipBytes(ReadLength()); return;
    case vaWString: SkipBytes(int64_t(ReadLength(2)) * 2); return;
    case vaSet:
      while (!ReadStr().IsEmpty()) {}
      return;
    case vaCollection:
      while (!EndOfList()) {
        TValueType N = NextValue();
        if (N == vaInt8 || N == vaInt16 || N == vaInt32) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) { ReadStr(); SkipValue(); }
        ReadListEnd();
      }
      ReadListEnd();
      return;
    default: FStream->Seek(-1, soCurrent); ValueError(V);
  }
}

void TReader::DefineProperty(const AnsiString& Name, const TReaderProc& ReadData, const TWriterProc&, bool) {
  if (FPropName.IsEmpty() || !SameText(FPropName, Name)) return;
  FPropName = AnsiString();
  if (!ReadData) Error("Property " + FPropPath + " cannot be read");
  ReadData(this);
}

void TReader::DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData, const TStreamProc&, bool) {
  if (FPropName.IsEmpty() || !SameText(FPropName, Name)) return;
  FPropName = AnsiString();
  CheckValue(vaBinary);
  int Count = ReadLength();
  TMemoryStream Block;
  Block.SetSize(Count);
  Read(Block.Memory(), Count);
  Block.SetPosition(0);
  if (!ReadData) Error("Property " + FPropPath + " cannot be read");
  ReadData(&Block);
}

int64_t TReader::ReadSet(const TEnumType* Type) {
  CheckValue(vaSet);
  uint64_t Result = 0;
  for (;;) {
    AnsiString Name = ReadStr();
    if (Name.IsEmpty()) break;
    int V = Type ? Type->NameToValue(Name) : -1;
    if (V < 0 || V >= 64) Error("Invalid property element " + Name + " for " + FPropPath);
    Result |= uint64_t(1) << V;
  }
  return int64_t(Result);
}

void TReader::ReadMethodProp(TPersistent* Instance, const TPropInfo* Prop) {
  AnsiString Name = ReadIdent();
  if (SameIdent(Name, "nil")) { Prop->SetMethod(Instance, TMethod{}); return; }
  TComponent* Root = FLookupRoot ? FLookupRoot : FRoot;
  const TPublishedMethod* M = Root ? Root->ClassType()->FindMethod(Name) : nullptr;
  if (!M) Error("Method " + Name + " not found for " + FPropPath);
  if (Prop->MethodType && M->MethodType && *Prop->MethodType != *M->MethodType)
    Error("Method " + Name + " is not compatible with " + FPropPath);
  Prop->SetMethod(Instance, M->Make(Root));
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo* Prop) {
  auto ReadOnly = [&] { Error("Property " + FPropPath + " is read-only"); };
  switch (Prop->Kind) {
    case tkInteger:
    case tkInt64: {
      if (!Prop->SetOrd) ReadOnly();
      if (NextValue() == vaIdent) {
        AnsiString Ident = ReadIdent();
        const TIntIdentType* T = FindIntegerConsts(Prop->Type());
        int V = 0;
        if (!T || !T->IdentToInt || !T->IdentToInt(Ident, V))
          Error("Invalid property value " + Ident + " for " + FPropPath);
        Prop->SetOrd(Instance, V);
      } else if (Prop->Kind == tkInt64) {
        Prop->SetOrd(Instance, ReadInt64());
      } else if (NextValue() == vaInt64) {
        // An unsigned 32-bit property above MaxInt is written as a 64-bit integer.
        int64_t V = ReadInt64();
        if (V < 0 || V > int64_t(UINT32_MAX))
          Error("Invalid property value " + IntToStr((long long)V) + " for " + FPropPath);
        Prop->SetOrd(Instance, V);
      } else {
        Prop->SetOrd(Instance, ReadInteger());
      }
      return;
    }
    case tkChar:
      if (!Prop->SetOrd) ReadOnly();
      Prop->SetOrd(Instance, (unsigned char)ReadChar());
      return;
    case tkEnumeration: {
      if (!Prop->SetOrd) ReadOnly();
      AnsiString Ident = ReadIdent();
      int V = Prop->EnumType ? Prop->EnumType->NameToValue(Ident) : -1;
      if (V < 0) Error("Invalid property value " + Ident + " for " + FPropPath);
      Prop->SetOrd(Instance, V);
      return;
    }
    case tkSet:
      if (!Prop->SetOrd) ReadOnly();
      Prop->SetOrd(Instance, ReadSet(Prop->EnumType));
      return;
    case tkFloat:
      if (!Prop->SetFloat) ReadOnly();
      Prop->SetFloat(Instance, ReadFloat());
      return;
    case tkString:
      if (!Prop->SetStr) ReadOnly();
      Prop->SetStr(Instance, ReadString());
      return;
    case tkClass: {
      if (Prop->IsReference) {
        if (!Prop->SetObj) ReadOnly();
        AnsiString Name = ReadIdent();
        if (SameIdent(Name, "nil")) Prop->SetObj(Instance, nullptr);
        else FFixups.push_back(Fixup{Instance, Prop, Name, FPropPath});
        return;
      }
      TValueType V = NextValue();
      TObject* Sub = Prop->GetObj ? Prop->GetObj(Instance) : nullptr;
      if (V == vaCollection) {
        auto* C = dynamic_cast<TCollection*>(Sub);
        if (!C) Error("Property " + FPropPath + " is not a collection");
        ReadValue();
        ReadCollection(C);
        return;
      }
      if (V == vaNil && Prop->SetObj) {
        ReadValue();
        Prop->SetObj(Instance, nullptr);
        return;
      }
      ReadValue();
      FStream->Seek(-1, soCurrent);
      ValueError(V);
    }
    case tkMethod:
      if (!Prop->SetMethod) ReadOnly();
      ReadMethodProp(Instance, Prop);
      return;
  }
}

void TReader::ReadProperty(TPersistent* Instance) {
  AnsiString Path = ReadStr();
  AnsiString Base = Instance->GetNamePath();
  FPropPath = Base.IsEmpty() ? Path : Base + "." + Path;
  TPersistent* Cur = Instance;
  std::string P = Path.str();
  size_t Start = 0;
  for (;;) {
    size_t Dot = P.find('.', Start);
    AnsiString Seg = P.substr(Start, Dot == std::string::npos ? std::string::npos : Dot - Start);
    if (Seg.IsEmpty()) Error("Invalid property name " + Path);
    const TPropInfo* Prop = Cur->ClassType()->FindProp(Seg);
    if (Dot == std::string::npos) {
      if (Prop) {
        ReadPropValue(Cur, Prop);
      } else {
        FPropName = Seg;
        Cur->DefineProperties(this);
        if (!FPropName.IsEmpty()) {
          FPropName = AnsiString();
          Error("Property " + FPropPath + " does not exist");
        }
      }
      return;
    }
    TPersistent* Sub = nullptr;
    if (Prop && Prop->Kind == tkClass && !Prop->IsReference && Prop->GetObj)
      Sub = dynamic_cast<TPersistent*>(Prop->GetObj(Cur));
    if (!Sub) Error("Property " + FPropPath + " does not exist");
    Cur = Sub;
    Start = Dot + 1;
  }
}

void TReader::ReadCollection(TCollection* Collection) {
  NestingGuard G(this);
  AnsiString SavePath = FPropPath;
  Collection->BeginUpdate();
  try {
    Collection->Clear();
    while (!EndOfList()) {
      TValueType N = NextValue();
      if (N == vaInt8 || N == vaInt16 || N == vaInt32) ReadInteger();
      ReadListBegin();
      TCollectionItem* Item = Collection->Add();
      while (!EndOfList()) ReadProperty(Item);
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    Collection->EndUpdate();
    throw;
  }
  Collection->EndUpdate();
  FPropPath = SavePath;
}

TClass TReader::FindComponentClass(const AnsiString& ClassName) const {
  // Classes of the root's published fields need no registration.
  if (FRoot)
    for (TClass C = FRoot->ClassType(); C; C = C->Parent)
      for (int I = 0; I < C->FieldCount; ++I) {
        TClass F = C->Fields[I].FieldClass();
        if (F && SameText(F->Name, ClassName)) return F;
      }
  if (TClass C = GetClass(ClassName)) return C;
  throw EClassNotFound("Class %s not found", {ClassName});
}

void TReader::DiscardCreated(size_t From) {
  if (!FLoaded) return;
  while (FLoaded->size() > From) {
    TComponent* C = FLoaded->back();
    FLoaded->pop_back();
    auto It = std::find(FCreated.begin(), FCreated.end(), C);
    if (It != FCreated.end()) {
      FCreated.erase(It);
      TObject::Free(C);
    }
  }
}

TComponent* TReader::ReadComponent(TComponent* Component) {
  NestingGuard G(this);
  TFilerFlags Flags;
  int ChildPos;
  ReadPrefix(Flags, ChildPos);
  AnsiString ClassName = ReadStr();
  AnsiString Name = ReadStr();
  TComponent* Owner = FOwner ? FOwner : FRoot;
  TComponent* Result = Component;
  bool Created = false;
  if (!Result) {
    if (Flags & ffInherited) {
      Result = Owner ? Owner->FindComponent(Name) : nullptr;
      if (!Result) Error("Ancestor for '" + Name + "' not found");
    } else {
      TClass C = FindComponentClass(ClassName);
      if (!C->Create) Error("Cannot create an instance of " + ClassName);
      Result = C->Create(Owner);
      Created = true;
    }
  }
  std::vector<TComponent*> Own;
  std::vector<TComponent*>* SaveLoaded = FLoaded;
  if (!FLoaded) FLoaded = &Own;
  size_t Mark = FLoaded->size();
  if (std::find(FLoaded->begin(), FLoaded->end(), Result) == FLoaded->end()) FLoaded->push_back(Result);
  if (Created) FCreated.push_back(Result);
  try {
    Result->SetLoadingState(true);
    if (Created) Result->SetName(Name);
    if (FParent && FParent != Result && Result->HasParent()) Result->SetParentComponent(FParent);
    Result->ReadState(this);
    Result->FComponentState &= ~unsigned(csReading);
  } catch (...) {
    DiscardCreated(Mark);
    FLoaded = SaveLoaded;
    throw;
  }
  if (FLoaded == &Own) {
    FLoaded = SaveLoaded;
    DoFixupReferences();
    for (TComponent* C : Own) C->Loaded();
  }
  return Result;
}

void TReader::ReadData(TComponent* Instance) {
  while (!EndOfList()) ReadProperty(Instance);
  ReadListEnd();
  TComponent* SaveOwner = FOwner;
  TComponent* SaveParent = FParent;
  TComponent* ChildOwner = Instance->GetChildOwner();
  FOwner = ChildOwner ? ChildOwner : (FRoot ? FRoot : Instance);
  FParent = Instance->GetChildParent();
  try {
    while (!EndOfList()) ReadComponent(nullptr);
    ReadListEnd();
  } catch (...) {
    FOwner = SaveOwner;
    FParent = SaveParent;
    throw;
  }
  FOwner = SaveOwner;
  FParent = SaveParent;
}

TComponent* TReader::FindReference(const AnsiString& Name) const {
  std::string N = Name.str();
  size_t Dot = N.find('.');
  if (Dot != std::string::npos) {
    AnsiString Head = N.substr(0, Dot), Tail = N.substr(Dot + 1);
    TComponent* Other = (FRoot && SameText(FRoot->Name(), Head)) ? FRoot
                        : GFindGlobalComponent ? GFindGlobalComponent(Head) : nullptr;
    return Other ? Other->FindComponent(Tail) : nullptr;
  }
  if (FRoot) {
    if (SameText(FRoot->Name(), Name)) return FRoot;
    if (TComponent* C = FRoot->FindComponent(Name)) return C;
  }
  return GFindGlobalComponent ? GFindGlobalComponent(Name) : nullptr;
}

void TReader::DoFixupReferences() {
  std::vector<Fixup> Pending;
  Pending.swap(FFixups);
  for (const Fixup& F : Pending) {
    TComponent* C = FindReference(F.Name);
    if (!C) throw EReadError("Component %s not found for %s", {F.Name, F.Where});
    if (F.Prop->PropClass && !C->InheritsFrom(F.Prop->PropClass()))
      throw EReadError("Invalid property value %s for %s", {F.Name, F.Where});
    F.Prop->SetObj(F.Instance, C);
  }
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
  ReadSignature();
  TFilerFlags Flags;
  int ChildPos;
  ReadPrefix(Flags, ChildPos);
  AnsiString ClassName = ReadStr();
  AnsiString Name = ReadStr();
  bool Created = false;
  if (!Root) {
    TClass C = FindClass(ClassName);
    if (!C->Create) Error("Cannot create an instance of " + ClassName);
    Root = C->Create(nullptr);
    Created = true;
  }
  std::vector<TComponent*> Own;
  std::vector<TComponent*>* SaveLoaded = FLoaded;
  if (!FLoaded) FLoaded = &Own;
  size_t Mark = FLoaded->size();
  try {
    FRoot = FLookupRoot = Root;
    FOwner = Root;
    FParent = Root;
    if (std::find(FLoaded->begin(), FLoaded->end(), Root) == FLoaded->end()) FLoaded->push_back(Root);
    Root->SetLoadingState(true);
    if (!Name.IsEmpty() && Root->Name() != Name) Root->SetName(Name);
    Root->ReadState(this);
    Root->FComponentState &= ~unsigned(csReading);
    DoFixupReferences();
  } catch (...) {
    FFixups.clear();
    if (FLoaded->size() > Mark) DiscardCreated(Mark + 1);  // keeps the root's own entry
    if (FLoaded->size() > Mark) FLoaded->resize(Mark);
    FLoaded = SaveLoaded;
    if (Created) TObject::Free(Root);
    else Root->SetLoadingState(false);
    throw;
  }
  FLoaded = SaveLoaded;
  for (TComponent* C : Own) C->Loaded();
  return Root;
}

void ReadComponentRes(TStream* Stream, TComponent* Instance) {
  TReader R(Stream);
  R.ReadRootComponent(Instance);
}

bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor) {
  if (!GFormResourceFinder) return false;
  std::vector<TClass> Chain;
  for (TClass C = Instance->ClassType(); C && C != RootAncestor; C = C->Parent) Chain.push_back(C);
  std::vector<TComponent*> Loaded;
  bool Any = false;
  for (auto It = Chain.rbegin(); It != Chain.rend(); ++It) {
    StreamPtr S(GFormResourceFinder((*It)->Name));
    if (!S) continue;
    TReader R(S.get());
    R.SetLoadedList(&Loaded);
    R.ReadRootComponent(Instance);
    Any = true;
  }
  for (TComponent* C : Loaded) C->Loaded();
  return Any;
}

// ---------------------------------------------------------------------------------------------
// TWriter

TWriter::TWriter(TStream* Stream) : TFiler(Stream) {}

int64_t TWriter::Position() const { return FStream->Position(); }

void TWriter::Write(const void* Buffer, int Count) { if (Count > 0) FStream->WriteBuffer(Buffer, Count); }

void TWriter::WriteValue(TValueType Value) {
  unsigned char B = Value;
  Write(&B, 1);
}

void TWriter::WriteSignature() { Write("TPF0", 4); }

void TWriter::WritePrefix(TFilerFlags Flags, int ChildPos, const AnsiString& ClassName) {
  if (Flags || ClassName.Length() >= 0xF0) {
    unsigned char B = (unsigned char)(0xF0 | (Flags & 0x0F));
    Write(&B, 1);
    if (Flags & ffChildPos) WriteInteger(ChildPos);
  }
  WriteStr(ClassName);
}

void TWriter::WriteInteger(int64_t Value) {
  unsigned char B[8];
  if (Value >= INT8_MIN && Value <= INT8_MAX) {
    WriteValue(vaInt8);
    B[0] = (unsigned char)Value;
    Write(B, 1);
  } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
    WriteValue(vaInt16);
    PutLE(B, uint64_t(Value), 2);
    Write(B, 2);
  } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
    WriteValue(vaInt32);
    PutLE(B, uint64_t(Value), 4);
    Write(B, 4);
  } else {
    WriteValue(vaInt64);
    PutLE(B, uint64_t(Value), 8);
    Write(B, 8);
  }
}

void TWriter::WriteInteger(int Value) { WriteInteger(int64_t(Value)); }

void TWriter::WriteFloat(long double Value) {
  unsigned char B[10];
  EncodeExtended(Value, B);
  WriteValue(vaExtended);
  Write(B, 10);
}

void TWriter::WriteSingle(float Value) {
  uint32_t Bits;
  std::memcpy(&Bits, &Value, 4);
  unsigned char B[4];
  PutLE(B, Bits, 4);
  WriteValue(vaSingle);
  Write(B, 4);
}

void TWriter::WriteDate(double Value) {
  uint64_t Bits;
  std::memcpy(&Bits, &Value, 8);
  unsigned char B[8];
  PutLE(B, Bits, 8);
  WriteValue(vaDate);
  Write(B, 8);
}

void TWriter::WriteCurrency(int64_t Value) {
  unsigned char B[8];
  PutLE(B, uint64_t(Value), 8);
  WriteValue(vaCurrency);
  Write(B, 8);
}

void TWriter::WriteString(const AnsiString& Value) {
  int Len = Value.Length();
  if (Len <= 255) {
    WriteValue(vaString);
    unsigned char L = (unsigned char)Len;
    Write(&L, 1);
  } else {
    WriteValue(vaLString);
    unsigned char B[4];
    PutLE(B, uint64_t(Len), 4);
    Write(B, 4);
  }
  Write(Value.data(), Len);
}

void TWriter::WriteWideString(const std::u16string& Value) {
  WriteValue(vaWString);
  unsigned char B[4];
  PutLE(B, Value.size(), 4);
  Write(B, 4);
  for (char16_t C : Value) {
    PutLE(B, C, 2);
    Write(B, 2);
  }
}

void TWriter::WriteStr(const AnsiString& Value) {
  if (Value.Length() > 255) throw EWriteError("String too long to store: %s", {Value.SubString(1, 32) + "..."});
  unsigned char L = (unsigned char)Value.Length();
  Write(&L, 1);
  Write(Value.data(), Value.Length());
}

void TWriter::WriteIdent(const AnsiString& Ident) {
  if (SameIdent(Ident, "False")) WriteValue(vaFalse);
  else if (SameIdent(Ident, "True")) WriteValue(vaTrue);
  else if (SameIdent(Ident, "nil")) WriteValue(vaNil);
  else if (SameIdent(Ident, "Null")) WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(Ident);
  }
}

void TWriter::WriteBinary(const TStreamProc& WriteData) {
  TMemoryStream Block;
  WriteData(&Block);
  int64_t Size = Block.Size();
  if (Size > INT32_MAX) throw EWriteError("Binary property too large");
  WriteValue(vaBinary);
  unsigned char B[4];
  PutLE(B, uint64_t(Size), 4);
  Write(B, 4);
  Write(Block.Memory(), int(Size));
}

void TWriter::WritePropName(const AnsiString& Name) { WriteStr(FPropPath + Name); }

void TWriter::DefineProperty(const AnsiString& Name, const TReaderProc&, const TWriterProc& WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, const TStreamProc&, const TStreamProc& WriteData,
                                   bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteBinary(WriteData);
}

AnsiString TWriter::ComponentRefName(TComponent* Component) const {
  if (Component == FLookupRoot || Component == FRoot) return Component->Name();
  TComponent* Owner = Component->Owner();
  if (Owner && Owner != FLookupRoot && Owner != FRoot && !Owner->Name().IsEmpty())
    return Owner->Name() + "." + Component->Name();
  return Component->Name();
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* Prop) {
  if (!Prop->IsStored(Instance)) return;
  // The ancestor's value counts only when it has this very property.
  TPersistent* Anc = FAncestor;
  if (Anc && Anc->ClassType()->FindProp(Prop->Name) != Prop) Anc = nullptr;
  switch (Prop->Kind) {
    case tkInteger:
    case tkInt64:
    case tkChar:
    case tkEnumeration:
    case tkSet: {
      if (!Prop->SetOrd) return;
      int64_t V = Prop->GetOrd(Instance);
      if (Anc ? V == Prop->GetOrd(Anc) : (!FWhole && Prop->HasDefault && V == Prop->Default)) return;
      WritePropName(Prop->Name);
      if (Prop->Kind == tkInteger || Prop->Kind == tkInt64) {
        AnsiString Ident;
        const TIntIdentType* T = FindIntegerConsts(Prop->Type());
        if (V >= INT32_MIN && V <= INT32_MAX && T && T->IntToIdent && T->IntToIdent(int(V), Ident)) WriteIdent(Ident);
        else WriteInteger(V);
      } else if (Prop->Kind == tkChar) {
        WriteChar(char(V));
      } else if (Prop->Kind == tkEnumeration) {
        const char* Name = (V >= 0 && V <= INT32_MAX && Prop->EnumType) ? Prop->EnumType->ValueToName(int(V)) : nullptr;
        if (!Name) throw EWriteError("Invalid property value %d for %s", {int(V), FPropPath + Prop->Name});
        if (Prop->EnumType == &BooleanType) WriteBoolean(V != 0);
        else WriteIdent(Name);
      } else {
        WriteValue(vaSet);
        for (int I = 0; I < 64; ++I)
          if (uint64_t(V) & (uint64_t(1) << I)) {
            const char* Name = Prop->EnumType ? Prop->EnumType->ValueToName(I) : nullptr;
            if (!Name) throw EWriteError("Invalid property element %d for %s", {I, FPropPath + Prop->Name});
            WriteStr(Name);
          }
        WriteStr("");
      }
      return;
    }
    case tkFloat: {
      if (!Prop->SetFloat) return;
      long double V = Prop->GetFloat(Instance);
      // Strings and floats declare no default: without a stored predicate '' and 0 are left out.
      if (Anc ? V == Prop->GetFloat(Anc) : (!FWhole && !Prop->Stored && V == 0)) return;
      WritePropName(Prop->Name);
      WriteFloat(V);
      return;
    }
    case tkString: {
      if (!Prop->SetStr) return;
      AnsiString V = Prop->GetStr(Instance);
      if (Anc ? V == Prop->GetStr(Anc) : (!FWhole && !Prop->Stored && V.IsEmpty())) return;
      WritePropName(Prop->Name);
      WriteString(V);
      return;
    }
    case tkMethod: {
      if (!Prop->SetMethod) return;
      TMethod M = Prop->GetMethod(Instance);
      TMethod A = Anc ? Prop->GetMethod(Anc) : TMethod{};
      if (M.Code == A.Code) return;
      WritePropName(Prop->Name);
      if (!M.Code) { WriteValue(vaNil); return; }
      TComponent* Root = FLookupRoot ? FLookupRoot : FRoot;
      const TPublishedMethod* PM = Root ? Root->ClassType()->FindMethodByCode(M.Code) : nullptr;
      if (!PM) throw EWriteError("Event %s has no published method to store", {FPropPath + Prop->Name});
      WriteIdent(PM->Name);
      return;
    }
    case tkClass: {
      TObject* V = Prop->GetObj ? Prop->GetObj(Instance) : nullptr;
      if (Prop->IsReference) {
        if (!Prop->SetObj) return;
        auto* C = dynamic_cast<TComponent*>(V);
        auto* AC = Anc ? dynamic_cast<TComponent*>(Prop->GetObj(Anc)) : nullptr;
        if (!C && !AC) return;
        if (C && AC && SameText(C->Name(), AC->Name())) return;
        WritePropName(Prop->Name);
        if (C) WriteIdent(ComponentRefName(C));
        else WriteValue(vaNil);
        return;
      }
      if (!V || dynamic_cast<TComponent*>(V)) return;
      auto* Sub = dynamic_cast<TPersistent*>(V);
      if (!Sub) return;
      TPersistent* AncSub = Anc ? dynamic_cast<TPersistent*>(Prop->GetObj(Anc)) : nullptr;
      if (auto* Coll = dynamic_cast<TCollection*>(Sub)) {
        if (Coll->Count() == 0 && !AncSub) return;
        WritePropName(Prop->Name);
        WriteCollection(Coll);
        return;
      }
      // A sub-object stored always (its owner constructs it away from its class's defaults) is
      // written whole: the values its class would leave out as defaults, and a list's emptiness.
      const bool SaveWhole = FWhole;
      const bool Whole = FWhole || (Prop->Stored == &AlwaysStored && !AncSub);
      AnsiString SavePath = FPropPath;
      TPersistent* SaveAnc = FAncestor;
      FPropPath = FPropPath + Prop->Name + ".";
      FAncestor = AncSub;
      FWhole = Whole;
      try {
        WriteProperties(Sub);
      } catch (...) {
        FPropPath = SavePath;
        FAncestor = SaveAnc;
        FWhole = SaveWhole;
        throw;
      }
      FPropPath = SavePath;
      FAncestor = SaveAnc;
      FWhole = SaveWhole;
      auto* List = dynamic_cast<TStrings*>(Sub);
      if (List && Whole && List->Count() == 0) {
        WritePropName(AnsiString(Prop->Name) + ".Strings");
        WriteListBegin();
        WriteListEnd();
      }
      return;
    }
  }
}

void TWriter::WriteProperties(TPersistent* Instance) {
  if (++FNesting > MaxNesting) {
    --FNesting;
    throw EWriteError("Nesting too deep");
  }
  try {
    for (const TPropInfo* P : Instance->ClassType()->AllProps()) WriteProperty(Instance, P);
    Instance->DefineProperties(this);
  } catch (...) {
    --FNesting;
    throw;
  }
  --FNesting;
}

void TWriter::WriteCollection(TCollection* Value) {
  WriteValue(vaCollection);
  AnsiString SavePath = FPropPath;
  TPersistent* SaveAnc = FAncestor;
  FPropPath = AnsiString();
  FAncestor = nullptr;
  try {
    for (int I = 0; I < Value->Count(); ++I) {
      WriteListBegin();
      WriteProperties(Value->Items(I));
      WriteListEnd();
    }
  } catch (...) {
    FPropPath = SavePath;
    FAncestor = SaveAnc;
    throw;
  }
  FPropPath = SavePath;
  FAncestor = SaveAnc;
  WriteListEnd();
}

void TWriter::WriteData(TComponent* Instance) {
  WriteProperties(Instance);
  WriteListEnd();
  Instance->GetChildren([this](TComponent* C) { WriteComponent(C); }, FRoot);
  WriteListEnd();
}

void TWriter::WriteComponent(TComponent* Component) {
  TComponent* Anc = nullptr;
  if (FRootAncestor)
    Anc = Component == FRoot ? FRootAncestor : FRootAncestor->FindComponent(Component->Name());
  TPersistent* SaveAnc = FAncestor;
  AnsiString SavePath = FPropPath;
  FAncestor = Anc;
  FPropPath = AnsiString();
  Component->FComponentState |= csWriting;
  try {
    WritePrefix(Anc ? unsigned(ffInherited) : 0u, 0, Component->ClassName());
    WriteStr(Component->Name());
    Component->WriteState(this);
  } catch (...) {
    Component->FComponentState &= ~unsigned(csWriting);
    FAncestor = SaveAnc;
    FPropPath = SavePath;
    throw;
  }
  Component->FComponentState &= ~unsigned(csWriting);
  FAncestor = SaveAnc;
  FPropPath = SavePath;
}

void TWriter::WriteRootComponent(TComponent* Root) { WriteDescendent(Root, nullptr); }

void TWriter::WriteDescendent(TComponent* Root, TComponent* Ancestor) {
  FRoot = FLookupRoot = Root;
  FRootAncestor = Ancestor;
  WriteSignature();
  WriteComponent(Root);
}

void WriteComponentRes(TStream* Stream, TComponent* Instance) {
  TWriter W(Stream);
  W.WriteRootComponent(Instance);
}

// ---------------------------------------------------------------------------------------------
// Text form to binary form.

namespace {

enum TokenKind { tkEOF, tkSymbol, tkString, tkInteger, tkFloat, tkChar };

class TextParser {
public:
  explicit TextParser(std::string Text) : S(std::move(Text)) { Next(); }

  TokenKind Kind = tkEOF;
  std::string Tok;            // symbol text, or the raw number text
  std::u16string Str;         // string value
  char Ch = 0;                // tkChar, and the float suffix
  int64_t Int = 0;
  long double Float = 0;

  [[noreturn]] void Error(const std::string& What) const {
    throw EParserError(AnsiString(What + " on line " + std::to_string(TokLine)));
  }
  bool IsSymbol(const char* Word) const { return Kind == tkSymbol && SameText(AnsiString(Tok), AnsiString(Word)); }
  bool IsChar(char C) const { return Kind == tkChar && Ch == C; }
  void ExpectChar(char C) {
    if (!IsChar(C)) Error(std::string("'") + C + "' expected");
    Next();
  }
  std::string ExpectSymbol() {
    if (Kind != tkSymbol) Error("Identifier expected");
    std::string R = Tok;
    Next();
    return R;
  }

  // Raw hexadecimal digits of a binary block, up to '}'.
  std::vector<unsigned char> ReadBinaryBlock() {
    // The current token is '{'; read straight from the text after it.
    std::vector<unsigned char> Data;
    int Nibbles = 0;
    unsigned char Acc = 0;
    for (;;) {
      if (P >= S.size()) Error("'}' expected");
      char C = S[P++];
      if (C == '}') break;
      if (C == '\n') { ++Line; continue; }
      if (C == ' ' || C == '\t' || C == '\r') continue;
      int V = HexValue(C);
      if (V < 0) Error("Invalid binary value");
      Acc = (unsigned char)((Acc << 4) | V);
      if (++Nibbles % 2 == 0) Data.push_back(Acc);
    }
    if (Nibbles % 2) Error("Invalid binary value");
    Next();
    return Data;
  }

  void Next() {
    SkipBlanks();
    TokLine = Line;
    if (P >= S.size()) { Kind = tkEOF; return; }
    char C = S[P];
    if (IsAlpha(C)) {
      size_t B = P;
      while (P < S.size() && (IsAlnum(S[P]) || (S[P] == '.' && P + 1 < S.size() && IsAlpha(S[P + 1])))) ++P;
      Tok = S.substr(B, P - B);
      Kind = tkSymbol;
      return;
    }
    if (C == '\'' || C == '#') { ReadStringToken(); return; }
    if (IsDigit(C) || C == '$' || ((C == '-' || C == '+') && P + 1 < S.size() && (IsDigit(S[P + 1]) || S[P + 1] == '$'))) {
      ReadNumber();
      return;
    }
    Kind = tkChar;
    Ch = C;
    ++P;
  }

private:
  static bool IsAlpha(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; }
  static bool IsDigit(char C) { return C >= '0' && C <= '9'; }
  static bool IsAlnum(char C) { return IsAlpha(C) || IsDigit(C); }
  static int HexValue(char C) {
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
  }

  void SkipBlanks() {
    while (P < S.size()) {
      char C = S[P];
      if (C == '\n') { ++Line; ++P; }
      else if (C == ' ' || C == '\t' || C == '\r' || C == '\f') ++P;
      else break;
    }
  }

  void ReadStringToken() {
    Str.clear();
    for (;;) {
      if (P < S.size() && S[P] == '\'') {
        ++P;
        for (;;) {
          if (P >= S.size() || S[P] == '\n' || S[P] == '\r') Error("Unterminated string");
          if (S[P] == '\'') {
            if (P + 1 < S.size() && S[P + 1] == '\'') { Str += u'\''; P += 2; continue; }
            ++P;
            break;
          }
          Str += char16_t((unsigned char)S[P++]);
        }
      } else if (P < S.size() && S[P] == '#') {
        ++P;
        uint32_t V = 0;
        int Digits = 0;
        if (P < S.size() && S[P] == '$') {
          ++P;
          while (P < S.size() && HexValue(S[P]) >= 0) {
            V = V * 16 + uint32_t(HexValue(S[P++]));
            if (++Digits > 4) Error("Invalid character code");
          }
        } else {
          while (P < S.size() && IsDigit(S[P])) {
            V = V * 10 + uint32_t(S[P++] - '0');
            if (++Digits > 5 || V > 0xFFFF) Error("Invalid character code");
          }
        }
        if (Digits == 0) Error("Invalid character code");
        Str += char16_t(V);
      } else {
        break;
      }
    }
    Kind = tkString;
  }

  void ReadNumber() {
    size_t B = P;
    bool Negative = false;
    if (S[P] == '-' || S[P] == '+') Negative = S[P++] == '-';
    if (S[P] == '$') {
      ++P;
      uint64_t V = 0;
      int Digits = 0;
      while (P < S.size() && HexValue(S[P]) >= 0) {
        V = (V << 4) | uint64_t(HexValue(S[P++]));
        if (++Digits > 16) Error("Invalid integer value");
      }
      if (!Digits) Error("Invalid integer value");
      Int = Negative ? -int64_t(V) : int64_t(V);
      Kind = tkInteger;
      return;
    }
    bool IsFloat = false;
    while (P < S.size() && IsDigit(S[P])) ++P;
    if (P + 1 < S.size() && S[P] == '.' && IsDigit(S[P + 1])) {
      IsFloat = true;
      ++P;
      while (P < S.size() && IsDigit(S[P])) ++P;
    }
    if (P < S.size() && (S[P] == 'e' || S[P] == 'E')) {
      size_t Q = P + 1;
      if (Q < S.size() && (S[Q] == '+' || S[Q] == '-')) ++Q;
      if (Q < S.size() && IsDigit(S[Q])) {
        IsFloat = true;
        P = Q;
        while (P < S.size() && IsDigit(S[P])) ++P;
      }
    }
    Tok = S.substr(B, P - B);
    const char* First = Tok.c_str() + (Tok[0] == '+' ? 1 : 0);
    const char* Last = Tok.c_str() + Tok.size();
    Ch = 0;
    if (P < S.size() && (S[P] == 's' || S[P] == 'S' || S[P] == 'c' || S[P] == 'C' || S[P] == 'd' || S[P] == 'D') &&
        !(P + 1 < S.size() && IsAlnum(S[P + 1]))) {
      Ch = char(S[P] | 0x20);
      ++P;
      IsFloat = true;
    }
    if (IsFloat) {
      auto R = std::from_chars(First, Last, Float);
      if (R.ec != std::errc() || R.ptr != Last) Error("Invalid floating point number " + Tok);
      Kind = tkFloat;
    } else {
      auto R = std::from_chars(First, Last, Int);
      if (R.ec != std::errc() || R.ptr != Last) Error("Invalid integer value " + Tok);
      Kind = tkInteger;
    }
  }

  std::string S;
  size_t P = 0;
  int Line = 1;
  int TokLine = 1;
};

class TextToBinary {
public:
  TextToBinary(TextParser& AP, TWriter& AW) : Ps(AP), W(AW) {}

  void Object() {
    if (++Depth > MaxNesting) Ps.Error("Nesting too deep");
    TFilerFlags Flags = 0;
    if (Ps.IsSymbol("inherited")) Flags = ffInherited;
    else if (Ps.IsSymbol("inline")) Flags = ffInline;
    else if (!Ps.IsSymbol("object")) Ps.Error("'object' expected");
    Ps.Next();
    std::string Name = Ps.ExpectSymbol(), ClassName;
    if (Ps.IsChar(':')) {
      Ps.Next();
      ClassName = Ps.ExpectSymbol();
    } else {
      ClassName = Name;
      Name.clear();
    }
    int ChildPos = 0;
    if (Ps.IsChar('[')) {
      Ps.Next();
      if (Ps.Kind != tkInteger || Ps.Int < INT32_MIN || Ps.Int > INT32_MAX) Ps.Error("Integer expected");
      ChildPos = int(Ps.Int);
      Flags |= ffChildPos;
      Ps.Next();
      Ps.ExpectChar(']');
    }
    if (ClassName.size() > 255 || Name.size() > 255) Ps.Error("Identifier too long");
    W.WritePrefix(Flags, ChildPos, ClassName);
    W.WriteStr(Name);
    while (!Ps.IsSymbol("end") && !IsObjectStart()) Property();
    W.WriteListEnd();
    while (IsObjectStart()) Object();
    W.WriteListEnd();
    if (!Ps.IsSymbol("end")) Ps.Error("'end' expected");
    Ps.Next();
    --Depth;
  }

private:
  bool IsObjectStart() const { return Ps.IsSymbol("object") || Ps.IsSymbol("inherited") || Ps.IsSymbol("inline"); }

  void Property() {
    if (Ps.Kind == tkEOF) Ps.Error("'end' expected");
    std::string Name = Ps.ExpectSymbol();
    if (Name.size() > 255) Ps.Error("Identifier too long");
    W.WriteStr(Name);
    Ps.ExpectChar('=');
    Value();
  }

  void Value() {
    if (++Depth > MaxNesting) Ps.Error("Nesting too deep");
    switch (Ps.Kind) {
      case tkInteger: W.WriteInteger(Ps.Int); Ps.Next(); break;
      case tkFloat:
        if (Ps.Ch == 's') W.WriteSingle(float(Ps.Float));
        else if (Ps.Ch == 'c') W.WriteCurrency(int64_t(std::llround(Ps.Float * 10000)));
        else if (Ps.Ch == 'd') W.WriteDate(double(Ps.Float));
        else W.WriteFloat(Ps.Float);
        Ps.Next();
        break;
      case tkString: {
        std::u16string Str;
        for (;;) {
          Str += Ps.Str;
          Ps.Next();
          if (!Ps.IsChar('+')) break;
          Ps.Next();
          if (Ps.Kind != tkString) Ps.Error("String expected");
        }
        bool Wide = std::any_of(Str.begin(), Str.end(), [](char16_t C) { return C > 0xFF; });
        if (Wide) {
          W.WriteWideString(Str);
        } else {
          std::string A(Str.size(), '\0');
          for (size_t I = 0; I < Str.size(); ++I) A[I] = char(Str[I]);
          W.WriteString(A);
        }
        break;
      }
      case tkSymbol:
        if (Ps.Tok.size() > 255) Ps.Error("Identifier too long");
        W.WriteIdent(Ps.Tok);
        Ps.Next();
        break;
      case tkChar:
        if (Ps.IsChar('[')) {
          Ps.Next();
          W.WriteValue(vaSet);
          if (!Ps.IsChar(']'))
            for (;;) {
              std::string E = Ps.ExpectSymbol();
              if (E.size() > 255) Ps.Error("Identifier too long");
              W.WriteStr(E);
              if (Ps.IsChar(']')) break;
              Ps.ExpectChar(',');
            }
          Ps.Next();
          W.WriteStr("");
        } else if (Ps.IsChar('(')) {
          Ps.Next();
          W.WriteListBegin();
          while (!Ps.IsChar(')')) {
            if (Ps.Kind == tkEOF) Ps.Error("')' expected");
            Value();
          }
          Ps.Next();
          W.WriteListEnd();
        } else if (Ps.IsChar('{')) {
          std::vector<unsigned char> Data = Ps.ReadBinaryBlock();
          W.WriteBinary([&](TStream* S) { S->WriteBuffer(Data.data(), int(Data.size())); });
        } else if (Ps.IsChar('<')) {
          Ps.Next();
          W.WriteValue(vaCollection);
          while (!Ps.IsChar('>')) {
            if (!Ps.IsSymbol("item")) Ps.Error("'item' expected");
            Ps.Next();
            if (Ps.IsChar('[')) {
              Ps.Next();
              if (Ps.Kind != tkInteger || Ps.Int < INT32_MIN || Ps.Int > INT32_MAX) Ps.Error("Integer expected");
              W.WriteInteger(Ps.Int);
              Ps.Next();
              Ps.ExpectChar(']');
            }
            W.WriteListBegin();
            while (!Ps.IsSymbol("end")) Property();
            Ps.Next();
            W.WriteListEnd();
          }
          Ps.Next();
          W.WriteListEnd();
        } else {
          Ps.Error(std::string("Invalid property value '") + Ps.Ch + "'");
        }
        break;
      case tkEOF: Ps.Error("Property value expected");
    }
    --Depth;
  }

  TextParser& Ps;
  TWriter& W;
  int Depth = 0;
};

std::string ReadAll(TStream* Input) {
  int64_t Size = Input->Size() - Input->Position();
  if (Size < 0 || Size > INT32_MAX) throw EReadError("Stream too large");
  std::string S(size_t(Size), '\0');
  Input->ReadBuffer(S.data(), int(Size));
  return S;
}

}  // namespace

void ObjectTextToBinary(TStream* Input, TStream* Output) {
  TextParser Ps(ReadAll(Input));
  TWriter W(Output);
  W.WriteSignature();
  TextToBinary(Ps, W).Object();
  if (Ps.Kind != tkEOF) Ps.Error("End of file expected");
}

// ---------------------------------------------------------------------------------------------
// Binary form to text form.

namespace {

template <class T> std::string NumberText(T V) {
  char Buf[64];
  auto R = std::to_chars(Buf, Buf + sizeof Buf, V);
  std::string S(Buf, R.ptr);
  if (S.find_first_of(".eEin") == std::string::npos) S += ".0";  // keeps it a float token
  return S;
}

class BinaryToText {
public:
  BinaryToText(TReader& AR, std::string& AOut) : R(AR), Out(AOut) {}

  void Object(int Indent) {
    TReader::NestingGuard G(&R);
    TFilerFlags Flags;
    int ChildPos;
    R.ReadPrefix(Flags, ChildPos);
    AnsiString ClassName = R.ReadStr(), Name = R.ReadStr();
    Out += Pad(Indent);
    Out += (Flags & ffInherited) ? "inherited " : (Flags & ffInline) ? "inline " : "object ";
    if (!Name.IsEmpty()) Out += Name.str() + ": ";
    Out += ClassName.str();
    if (Flags & ffChildPos) Out += " [" + std::to_string(ChildPos) + "]";
    Out += "\r\n";
    while (!R.EndOfList()) Property(Indent + 2);
    R.ReadListEnd();
    while (!R.EndOfList()) Object(Indent + 2);
    R.ReadListEnd();
    Out += Pad(Indent) + "end\r\n";
  }

private:
  static std::string Pad(int N) { return std::string(size_t(N), ' '); }

  void Property(int Indent) {
    Out += Pad(Indent) + R.ReadStr().str() + " = ";
    Value(Indent);
    Out += "\r\n";
  }

  void Quoted(const std::u16string& S, int Indent) {
    if (S.empty()) { Out += "''"; return; }
    bool InQuote = false;
    size_t LineStart = Out.size();
    for (char16_t C : S) {
      if (Out.size() - LineStart > 64) {
        if (InQuote) { Out += '\''; InQuote = false; }
        Out += " +\r\n" + Pad(Indent);
        LineStart = Out.size();
      }
      if (C >= 32 && C < 127) {
        if (!InQuote) { Out += '\''; InQuote = true; }
        if (C == '\'') Out += "''";
        else Out += char(C);
      } else {
        if (InQuote) { Out += '\''; InQuote = false; }
        Out += "#" + std::to_string(unsigned(C));
      }
    }
    if (InQuote) Out += '\'';
  }

  void Value(int Indent) {
    TReader::NestingGuard G(&R);
    TValueType V = R.NextValue();
    switch (V) {
      case vaList:
        R.ReadValue();
        Out += "(";
        while (!R.EndOfList()) {
          Out += "\r\n" + Pad(Indent + 2);
          Value(Indent + 2);
        }
        R.ReadListEnd();
        Out += ")";
        return;
      case vaInt8: case vaInt16: case vaInt32: case vaInt64:
        Out += std::to_string(R.ReadInt64());
        return;
      case vaExtended: Out += NumberText(R.ReadFloat()); return;
      case vaSingle: Out += NumberText(R.ReadSingle()) + "s"; return;
      case vaDate: Out += NumberText(R.ReadDate()) + "d"; return;
      case vaCurrency: {
        int64_t C = R.ReadCurrency();
        uint64_t A = C < 0 ? 0 - uint64_t(C) : uint64_t(C);
        std::string Frac = std::to_string(A % 10000);
        Out += (C < 0 ? "-" : "") + std::to_string(A / 10000) + "." + std::string(4 - Frac.size(), '0') + Frac + "c";
        return;
      }
      case vaString: case vaLString: case vaUTF8String: {
        AnsiString S = R.ReadString();
        std::u16string W;
        for (char C : S.str()) W += char16_t((unsigned char)C);
        Quoted(W, Indent + 2);
        return;
      }
      case vaWString: Quoted(R.ReadWideString(), Indent + 2); return;
      case vaIdent: case vaFalse: case vaTrue: case vaNil: case vaNull:
        Out += R.ReadIdent().str();
        return;
      case vaBinary: {
        R.ReadValue();
        int Count = R.ReadLength();
        std::vector<unsigned char> B(static_cast<size_t>(Count));
        R.Read(B.data(), Count);
        static const char Hex[] = "0123456789ABCDEF";
        Out += "{";
        for (int I = 0; I < Count; ++I) {
          if (I % 32 == 0) Out += "\r\n" + Pad(Indent + 2);
          Out += Hex[B[size_t(I)] >> 4];
          Out += Hex[B[size_t(I)] & 15];
        }
        Out += "}";
        return;
      }
      case vaSet: {
        R.ReadValue();
        Out += "[";
        bool First = true;
        for (;;) {
          AnsiString E = R.ReadStr();
          if (E.IsEmpty()) break;
          if (!First) Out += ", ";
          First = false;
          Out += E.str();
        }
        Out += "]";
        return;
      }
      case vaCollection:
        R.ReadValue();
        Out += "<";
        while (!R.EndOfList()) {
          Out += "\r\n" + Pad(Indent + 2) + "item";
          TValueType N = R.NextValue();
          if (N == vaInt8 || N == vaInt16 || N == vaInt32) Out += " [" + std::to_string(R.ReadInteger()) + "]";
          Out += "\r\n";
          R.ReadListBegin();
          while (!R.EndOfList()) Property(Indent + 4);
          R.ReadListEnd();
          Out += Pad(Indent + 2) + "end";
        }
        R.ReadListEnd();
        Out += ">";
        return;
      default:
        R.ReadValue();
        R.SetPosition(R.Position() - 1);
        R.Error("Invalid value type " + IntToStr(int(V)));
    }
  }

  TReader& R;
  std::string& Out;
};

}  // namespace

void ObjectBinaryToText(TStream* Input, TStream* Output) {
  TReader R(Input);
  std::string Out;
  R.ReadSignature();
  BinaryToText(R, Out).Object(0);
  Output->WriteBuffer(Out.data(), int(Out.size()));
}
