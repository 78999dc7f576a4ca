// Object model: class identity and registry, persistent objects, components, lists, strings,
// streams and collections.
#include "rtl/Classes.h"
#include "rtl/Streaming.h"
#include "rtl/TypInfo.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

char UpCase(char C) { return (C >= 'a' && C <= 'z') ? char(C - 32) : C; }

bool SameName(const char* A, const char* B) {
  for (; *A && *B; ++A, ++B)
    if (UpCase(*A) != UpCase(*B)) return false;
  return *A == *B;
}

bool IsValidIdent(const AnsiString& S) {
  if (S.IsEmpty()) return false;
  for (int I = 0; I < S.Length(); ++I) {
    char C = S.c_str()[I];
    bool Alpha = (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
    bool Digit = C >= '0' && C <= '9';
    if (!(Alpha || (I > 0 && Digit))) return false;
  }
  return true;
}

[[noreturn]] void ListIndexError(int Index) { throw EListError("List index out of bounds (%d)", {Index}); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Class identity.

bool TClassInfo::InheritsFrom(const TClassInfo* Ancestor) const {
  for (const TClassInfo* C = this; C; C = C->Parent)
    if (C == Ancestor) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProp(const AnsiString& PropName) const {
  for (const TClassInfo* C = this; C; C = C->Parent)
    for (int I = 0; I < C->PropCount; ++I)
      if (SameName(C->Props[I].Name, PropName.c_str())) return &C->Props[I];
  return nullptr;
}

const TPublishedField* TClassInfo::FindField(const AnsiString& FieldName) const {
  if (FieldName.IsEmpty()) return nullptr;
  for (const TClassInfo* C = this; C; C = C->Parent)
    for (int I = 0; I < C->FieldCount; ++I)
      if (SameName(C->Fields[I].Name, FieldName.c_str())) return &C->Fields[I];
  return nullptr;
}

const TPublishedMethod* TClassInfo::FindMethod(const AnsiString& MethodName) const {
  for (const TClassInfo* C = this; C; C = C->Parent)
    for (int I = 0; I < C->MethodCount; ++I)
      if (SameName(C->Methods[I].Name, MethodName.c_str())) return &C->Methods[I];
  return nullptr;
}

const TPublishedMethod* TClassInfo::FindMethodByCode(void (*Code)()) const {
  if (!Code) return nullptr;
  for (const TClassInfo* C = this; C; C = C->Parent)
    for (int I = 0; I < C->MethodCount; ++I)
      if (C->Methods[I].Make(nullptr).Code == Code) return &C->Methods[I];
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TClassInfo*> Chain;
  for (const TClassInfo* C = this; C; C = C->Parent) Chain.push_back(C);
  std::vector<const TPropInfo*> Result;
  for (auto It = Chain.rbegin(); It != Chain.rend(); ++It)
    for (int I = 0; I < (*It)->PropCount; ++I) {
      const TPropInfo* P = &(*It)->Props[I];
      // A redeclaration in a descendant (new default) takes the base declaration's place.
      auto Same = std::find_if(Result.begin(), Result.end(),
                               [&](const TPropInfo* Q) { return SameName(Q->Name, P->Name); });
      if (Same != Result.end()) *Same = P;
      else Result.push_back(P);
    }
  return Result;
}

TClass TObject::StaticClass() {
  static const TClassInfo Info{"TObject", nullptr, nullptr};
  return &Info;
}

void TObject::Dispatch(TMessage& Message) { DefaultHandler(Message); }

// ---------------------------------------------------------------------------------------------
// Class registry.

namespace {
struct TRegistry {
  std::mutex Lock;
  std::vector<TClass> Classes;
};
TRegistry& Registry() {
  static TRegistry R;
  return R;
}
}  // namespace

void RegisterClass(TClass C) {
  if (!C) return;
  TRegistry& R = Registry();
  std::lock_guard<std::mutex> G(R.Lock);
  for (TClass Known : R.Classes) {
    if (Known == C) return;
    if (SameName(Known->Name, C->Name)) throw EFilerError("A class named %s already exists", {C->Name});
  }
  R.Classes.push_back(C);
}

void RegisterClasses(std::initializer_list<TClass> Classes) {
  for (TClass C : Classes) RegisterClass(C);
}

void UnRegisterClass(TClass C) {
  TRegistry& R = Registry();
  std::lock_guard<std::mutex> G(R.Lock);
  R.Classes.erase(std::remove(R.Classes.begin(), R.Classes.end(), C), R.Classes.end());
}

TClass GetClass(const AnsiString& ClassName) {
  TRegistry& R = Registry();
  std::lock_guard<std::mutex> G(R.Lock);
  for (TClass C : R.Classes)
    if (SameName(C->Name, ClassName.c_str())) return C;
  return nullptr;
}

TClass FindClass(const AnsiString& ClassName) {
  TClass C = GetClass(ClassName);
  if (!C) throw EClassNotFound("Class %s not found", {ClassName});
  return C;
}

namespace {
TRegisterComponentsProc& RegisterComponentsHook() {
  static TRegisterComponentsProc Proc;
  return Proc;
}
}  // namespace

TRegisterComponentsProc SetRegisterComponentsProc(TRegisterComponentsProc Proc) {
  std::swap(RegisterComponentsHook(), Proc);
  return Proc;
}

void RegisterComponents(const AnsiString& Page, const std::vector<TClass>& Classes) {
  TRegisterComponentsProc& Proc = RegisterComponentsHook();
  if (!Proc) throw EComponentError("Invalid component registration");
  for (TClass C : Classes) RegisterClass(C);
  Proc(Page, Classes);
}

void RegisterComponents(const AnsiString& Page, std::initializer_list<TClass> Classes) {
  RegisterComponents(Page, std::vector<TClass>(Classes));
}

std::vector<TClass> RegisteredClasses() {
  TRegistry& R = Registry();
  std::lock_guard<std::mutex> G(R.Lock);
  return R.Classes;
}

// ---------------------------------------------------------------------------------------------
// TPersistent

ORV_IMPLEMENT_CLASS(TPersistent, TObject)

void TPersistent::Assign(TPersistent* Source) {
  if (Source) Source->AssignTo(this);
  else AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  AnsiString SourceName = Source ? Source->ClassName() : AnsiString("nil");
  throw EConvertError("Cannot assign a %s to a %s", {SourceName, ClassName()});
}

AnsiString TPersistent::GetNamePath() const {
  AnsiString Result = ClassName();
  TPersistent* Owner = GetOwner();
  if (Owner) {
    AnsiString OwnerPath = Owner->GetNamePath();
    if (!OwnerPath.IsEmpty()) Result = OwnerPath + "." + Result;
  }
  return Result;
}

// ---------------------------------------------------------------------------------------------
// TComponent

static constinit const TPropInfo ComponentProps[] = {
    PropStr<&TComponent::Name, &TComponent::SetName>("Name", [](const TObject*) { return false; }),
    PropInt<&TComponent::Tag, &TComponent::SetTag>("Tag", 0),
};
ORV_IMPLEMENT_COMPONENT(TComponent, TPersistent, ComponentProps)

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

// Notifies the components that asked for it, frees the owned components (last first) and leaves
// the owner, while every virtual function still reaches the most-derived class.
void TComponent::TearDown() {
  if (FTornDown) return;
  FTornDown = true;
  Destroying();
  while (!FFreeNotifies.empty()) {
    TComponent* C = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    C->RemoveNotification(this);
    C->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction() { TearDown(); }

TComponent::~TComponent() {
  TearDown();  // plain delete without BeforeDestruction
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) ListIndexError(Index);
  return FComponents[size_t(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto It = std::find(FOwner->FComponents.begin(), FOwner->FComponents.end(), this);
  return It == FOwner->FComponents.end() ? -1 : int(It - FOwner->FComponents.begin());
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
  if (AName.IsEmpty()) return nullptr;
  for (TComponent* C : FComponents)
    if (SameName(C->FName.c_str(), AName.c_str())) return C;
  return nullptr;
}

void TComponent::SetName(const AnsiString& NewName) {
  if (FName == NewName) return;
  if (!NewName.IsEmpty() && !IsValidIdent(NewName))
    throw EComponentError("'%s' is not a valid component name", {NewName});
  if (FOwner) FOwner->ValidateRename(this, FName, NewName);
  else ValidateRename(nullptr, FName, NewName);
  if (FOwner) FOwner->BindField(this, false);
  FName = NewName;
  if (FOwner) FOwner->BindField(this, true);
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName) {
  if (AComponent && !NewName.IsEmpty() && !SameName(CurName.c_str(), NewName.c_str())) {
    TComponent* Existing = FindComponent(NewName);
    if (Existing && Existing != AComponent)
      throw EComponentError("A component named %s already exists", {NewName});
  }
  if (HasState(csDesigning) && FOwner) FOwner->ValidateRename(AComponent, CurName, NewName);
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner == this) return;
  ValidateInsert(AComponent);
  ValidateRename(AComponent, "", AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  BindField(AComponent, true);
  if (HasState(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  ValidateRename(AComponent, AComponent->FName, "");
  Notification(AComponent, opRemove);
  BindField(AComponent, false);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto It = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (It != FComponents.end()) FComponents.erase(It);
  AComponent->FOwner = nullptr;
}

void TComponent::BindField(TComponent* AComponent, bool Bind) {
  if (AComponent->FName.IsEmpty()) return;
  const TPublishedField* F = ClassType()->FindField(AComponent->FName);
  if (!F) return;
  if (Bind) F->Set(this, AComponent);
  else if (F->Get(this) == AComponent) F->Set(this, nullptr);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* C = FComponents.back();
    RemoveComponent(C);
    TObject::Free(C);
  }
}

void TComponent::Destroying() {
  if (FComponentState & csDestroying) return;
  FComponentState |= csDestroying;
  for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (!FOwner || AComponent->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
      FFreeNotifies.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  FComponentState |= csFreeNotification;
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  auto It = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (It != FFreeNotifies.end()) FFreeNotifies.erase(It);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // The list may shrink while the owned components react.
  for (int I = ComponentCount() - 1; I >= 0; --I) {
    if (I >= ComponentCount()) { I = ComponentCount(); continue; }
    FComponents[size_t(I)]->Notification(AComponent, Operation);
  }
}

void TComponent::Loaded() { FComponentState &= ~unsigned(csLoading); }

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }

void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

void TComponent::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  if (Root != this) return;
  for (int I = 0; I < ComponentCount(); ++I) {
    TComponent* C = FComponents[size_t(I)];
    if (!C->HasParent()) Proc(C);
  }
}

void TComponent::DefineProperties(TFiler* Filer) {
  int Info = 0;
  if (auto* A = dynamic_cast<TComponent*>(Filer->Ancestor())) Info = A->FDesignInfo;
  auto Lo = [](int V) { return int16_t(uint16_t(uint32_t(V) & 0xFFFF)); };
  auto Hi = [](int V) { return int16_t(uint16_t(uint32_t(V) >> 16)); };
  Filer->DefineProperty(
      "Left",
      [this](TReader* R) {
        FDesignInfo = int((uint32_t(FDesignInfo) & 0xFFFF0000u) | (uint32_t(R->ReadInteger()) & 0xFFFF));
      },
      [this, Lo](TWriter* W) { W->WriteInteger(int(Lo(FDesignInfo))); }, Lo(FDesignInfo) != Lo(Info));
  Filer->DefineProperty(
      "Top",
      [this](TReader* R) {
        FDesignInfo = int((uint32_t(FDesignInfo) & 0xFFFF) | (uint32_t(R->ReadInteger()) << 16));
      },
      [this, Hi](TWriter* W) { W->WriteInteger(int(Hi(FDesignInfo))); }, Hi(FDesignInfo) != Hi(Info));
}

void TComponent::SetDesigning(bool Value) {
  SetComponentStateFlag(csDesigning, Value);
  for (TComponent* C : FComponents) C->SetDesigning(Value);
}

void TComponent::SetLoadingState(bool Value) { SetComponentStateFlag(csLoading | csReading, Value); }

void TComponent::SetComponentStateFlag(unsigned Flag, bool On) {
  if (On) FComponentState |= Flag;
  else FComponentState &= ~Flag;
}

// ---------------------------------------------------------------------------------------------
// TList

ORV_IMPLEMENT_CLASS(TList, TObject)

void* TList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[size_t(Index)];
}

void TList::SetItems(int Index, void* Item) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  FItems[size_t(Index)] = Item;
}

int TList::Add(void* Item) {
  FItems.push_back(Item);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  FItems.insert(FItems.begin() + Index, Item);
}

void TList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  FItems.erase(FItems.begin() + Index);
}

int TList::Remove(void* Item) {
  int I = IndexOf(Item);
  if (I >= 0) Delete(I);
  return I;
}

int TList::IndexOf(void* Item) const {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : int(It - FItems.begin());
}

void TList::Exchange(int A, int B) {
  if (A < 0 || A >= Count()) ListIndexError(A);
  if (B < 0 || B >= Count()) ListIndexError(B);
  std::swap(FItems[size_t(A)], FItems[size_t(B)]);
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (NewIndex < 0 || NewIndex >= Count()) ListIndexError(NewIndex);
  void* Item = Items(CurIndex);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, Item);
}

void TList::Sort(int (*Compare)(void*, void*)) {
  std::stable_sort(FItems.begin(), FItems.end(), [Compare](void* A, void* B) { return Compare(A, B) < 0; });
}

// ---------------------------------------------------------------------------------------------
// TStrings

ORV_IMPLEMENT_CLASS(TStrings, TPersistent)

void TStrings::Put(int Index, const AnsiString& S) {
  TObject* Obj = GetObject(Index);
  Delete(Index);
  Insert(Index, S);
  PutObject(Index, Obj);
}

int TStrings::Add(const AnsiString& S) {
  int Result = Count();
  Insert(Result, S);
  return Result;
}

int TStrings::AddObject(const AnsiString& S, TObject* AObject) {
  int Result = Add(S);
  PutObject(Result, AObject);
  return Result;
}

int TStrings::IndexOf(const AnsiString& S) const {
  for (int I = 0; I < Count(); ++I)
    if (CompareText(Get(I), S) == 0) return I;
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  for (int I = 0; I < Count(); ++I)
    if (GetObject(I) == AObject) return I;
  return -1;
}

int TStrings::IndexOfName(const AnsiString& Name) const {
  for (int I = 0; I < Count(); ++I) {
    AnsiString S = Get(I);
    int P = S.Pos("=");
    if (P > 0 && CompareText(S.SubString(1, P - 1), Name) == 0) return I;
  }
  return -1;
}

void TStrings::AddStrings(TStrings* Strings) {
  BeginUpdate();
  try {
    for (int I = 0; I < Strings->Count(); ++I) AddObject(Strings->Get(I), Strings->GetObject(I));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Exchange(int A, int B) {
  BeginUpdate();
  try {
    AnsiString SA = Get(A), SB = Get(B);
    TObject* OA = GetObject(A);
    TObject* OB = GetObject(B);
    Put(A, SB);
    PutObject(A, OB);
    Put(B, SA);
    PutObject(B, OA);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  try {
    AnsiString S = Get(CurIndex);
    TObject* Obj = GetObject(CurIndex);
    Delete(CurIndex);
    Insert(NewIndex, S);
    PutObject(NewIndex, Obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

AnsiString TStrings::Text() const {
  std::string R;
  for (int I = 0; I < Count(); ++I) {
    R += Get(I).str();
    R += "\r\n";
  }
  return AnsiString(std::move(R));
}

void TStrings::SetText(const AnsiString& Value) {
  BeginUpdate();
  try {
    Clear();
    const std::string& S = Value.str();
    size_t P = 0, N = S.size();
    while (P < N) {
      size_t Start = P;
      while (P < N && S[P] != '\r' && S[P] != '\n') ++P;
      Add(AnsiString(S.substr(Start, P - Start)));
      if (P < N && S[P] == '\r') ++P;
      if (P < N && S[P] == '\n') ++P;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

AnsiString TStrings::CommaText() const {
  int N = Count();
  if (N == 1 && Get(0).IsEmpty()) return "\"\"";
  std::string R;
  for (int I = 0; I < N; ++I) {
    const std::string S = Get(I).str();
    bool Quote = false;
    for (char C : S)
      if ((unsigned char)C <= ' ' || C == '"' || C == ',') { Quote = true; break; }
    if (I > 0) R += ',';
    if (Quote) {
      R += '"';
      for (char C : S) {
        if (C == '"') R += '"';
        R += C;
      }
      R += '"';
    } else {
      R += S;
    }
  }
  return AnsiString(std::move(R));
}

void TStrings::SetCommaText(const AnsiString& Value) {
  // Like the classic parser, the text ends at the first NUL.
  const std::string S = Value.str().substr(0, std::strlen(Value.c_str()));
  size_t P = 0, N = S.size();
  auto Blank = [&](size_t I) { return I < N && (unsigned char)S[I] >= 1 && (unsigned char)S[I] <= ' '; };
  BeginUpdate();
  try {
    Clear();
    while (Blank(P)) ++P;
    while (P < N) {
      std::string Item;
      if (S[P] == '"') {
        ++P;
        while (P < N) {
          if (S[P] == '"') {
            if (P + 1 < N && S[P + 1] == '"') { Item += '"'; P += 2; continue; }
            ++P;
            break;
          }
          Item += S[P++];
        }
      } else {
        size_t Start = P;
        while (P < N && (unsigned char)S[P] > ' ' && S[P] != ',') ++P;
        Item = S.substr(Start, P - Start);
      }
      Add(AnsiString(Item));
      while (Blank(P)) ++P;
      if (P < N && S[P] == ',') {
        do ++P;
        while (Blank(P));
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

AnsiString TStrings::Names(int Index) const {
  AnsiString S = Get(Index);
  int P = S.Pos("=");
  return P > 0 ? S.SubString(1, P - 1) : AnsiString();
}

AnsiString TStrings::Values(const AnsiString& Name) const {
  int I = IndexOfName(Name);
  if (I < 0) return AnsiString();
  AnsiString S = Get(I);
  return S.SubString(S.Pos("=") + 1, S.Length());
}

void TStrings::SetValues(const AnsiString& Name, const AnsiString& Value) {
  int I = IndexOfName(Name);
  if (!Value.IsEmpty()) {
    if (I < 0) I = Add("");
    Put(I, Name + "=" + Value);
  } else if (I >= 0) {
    Delete(I);
  }
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream* Stream) {
  int64_t Size = Stream->Size() - Stream->Position();
  std::string S;
  if (Size > 0) {
    if (Size > 0x7FFFFFFF) throw EReadError("Stream read error");
    S.resize(size_t(Size));
    Stream->ReadBuffer(S.data(), int(Size));
  }
  SetText(AnsiString(std::move(S)));
}

void TStrings::SaveToStream(TStream* Stream) const {
  AnsiString S = Text();
  Stream->WriteBuffer(S.data(), S.Length());
}

void TStrings::LoadFromFile(const AnsiString& FileName) {
  TFileStream F(FileName, fmOpenRead);
  LoadFromStream(&F);
}

void TStrings::SaveToFile(const AnsiString& FileName) const {
  TFileStream F(FileName, fmCreate);
  SaveToStream(&F);
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TStrings*>(Source)) {
    if (S == this) return;
    BeginUpdate();
    try {
      Clear();
      AddStrings(S);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::DefineProperties(TFiler* Filer) {
  bool HasData = Count() > 0;
  if (Filer->Ancestor()) {
    HasData = true;
    if (auto* A = dynamic_cast<TStrings*>(Filer->Ancestor())) {
      bool Equal = A->Count() == Count();
      for (int I = 0; Equal && I < Count(); ++I) Equal = A->Get(I) == Get(I);
      HasData = !Equal;
    }
  }
  Filer->DefineProperty(
      "Strings",
      [this](TReader* R) {
        R->ReadListBegin();
        BeginUpdate();
        try {
          Clear();
          while (!R->EndOfList()) Add(R->ReadString());
        } catch (...) {
          EndUpdate();
          throw;
        }
        EndUpdate();
        R->ReadListEnd();
      },
      [this](TWriter* W) {
        W->WriteListBegin();
        for (int I = 0; I < Count(); ++I) W->WriteString(Get(I));
        W->WriteListEnd();
      },
      HasData);
}

// ---------------------------------------------------------------------------------------------
// TStringList

ORV_IMPLEMENT_CLASS(TStringList, TStrings)

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (Item& I : FItems) TObject::Free(I.Obj);
}

AnsiString TStringList::Get(int Index) const {
  if (Index < 0 || Index >= Count()) throw EStringListError("List index out of bounds (%d)", {Index});
  return FItems[size_t(Index)].S;
}

void TStringList::Put(int Index, const AnsiString& S) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  if (Index < 0 || Index >= Count()) throw EStringListError("List index out of bounds (%d)", {Index});
  Changing();
  FItems[size_t(Index)].S = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  if (Index < 0 || Index >= Count()) throw EStringListError("List index out of bounds (%d)", {Index});
  return FItems[size_t(Index)].Obj;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  if (Index < 0 || Index >= Count()) throw EStringListError("List index out of bounds (%d)", {Index});
  Changing();
  FItems[size_t(Index)].Obj = AObject;
  Changed();
}

void TStringList::Insert(int Index, const AnsiString& S) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  if (Index < 0 || Index > Count()) throw EStringListError("List index out of bounds (%d)", {Index});
  Changing();
  FItems.insert(FItems.begin() + Index, Item{S, nullptr});
  Changed();
}

void TStringList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) throw EStringListError("List index out of bounds (%d)", {Index});
  Changing();
  TObject* Obj = FItems[size_t(Index)].Obj;
  FItems.erase(FItems.begin() + Index);
  if (FOwnsObjects) TObject::Free(Obj);
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  Changing();
  std::vector<Item> Old;
  Old.swap(FItems);
  if (FOwnsObjects)
    for (Item& I : Old) TObject::Free(I.Obj);
  Changed();
}

int TStringList::Add(const AnsiString& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const AnsiString& S, TObject* AObject) {
  int Index = Count();
  if (FSorted && Find(S, Index)) {
    if (FDuplicates == dupIgnore) return Index;
    if (FDuplicates == dupError) throw EStringListError("String list does not allow duplicates");
  }
  Changing();
  FItems.insert(FItems.begin() + Index, Item{S, AObject});
  Changed();
  return Index;
}

int TStringList::CompareStrings(const AnsiString& A, const AnsiString& B) const {
  return FCaseSensitive ? CompareStr(A, B) : CompareText(A, B);
}

int TStringList::IndexOf(const AnsiString& S) const {
  if (FSorted) {
    int Index;
    return Find(S, Index) ? Index : -1;
  }
  for (int I = 0; I < Count(); ++I)
    if (CompareStrings(FItems[size_t(I)].S, S) == 0) return I;
  return -1;
}

bool TStringList::Find(const AnsiString& S, int& Index) const {
  bool Result = false;
  int L = 0, H = Count() - 1;
  while (L <= H) {
    int I = (L + H) / 2;
    int C = CompareStrings(FItems[size_t(I)].S, S);
    if (C < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (C == 0) {
        Result = true;
        if (FDuplicates != dupAccept) L = I;
      }
    }
  }
  Index = L;
  return Result;
}

void TStringList::Sort() {
  if (Count() <= 1) return;
  Changing();
  std::stable_sort(FItems.begin(), FItems.end(),
                   [this](const Item& A, const Item& B) { return CompareStrings(A.S, B.S) < 0; });
  Changed();
}

void TStringList::CustomSort(int (*Compare)(TStringList*, int, int)) {
  if (Count() <= 1) return;
  Changing();
  // The comparison takes indexes, so sort a permutation while the list keeps its order, then
  // apply it.
  std::vector<int> Order(FItems.size());
  for (size_t I = 0; I < Order.size(); ++I) Order[I] = int(I);
  std::stable_sort(Order.begin(), Order.end(), [&](int A, int B) { return Compare(this, A, B) < 0; });
  std::vector<Item> Sorted;
  Sorted.reserve(FItems.size());
  for (int I : Order) Sorted.push_back(std::move(FItems[size_t(I)]));
  FItems.swap(Sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) Changing();
  else Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0) OnChanging(this);
}

// ---------------------------------------------------------------------------------------------
// Streams

ORV_IMPLEMENT_CLASS(TStream, TObject)

void TStream::ReadBuffer(void* Buffer, int Count) {
  if (Count < 0 || (Count != 0 && Read(Buffer, Count) != Count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int Count) {
  if (Count < 0 || (Count != 0 && Write(Buffer, Count) != Count)) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  int64_t Result = Count;
  constexpr int BufSize = 61440;
  std::vector<unsigned char> Buffer(size_t(std::min<int64_t>(Count, BufSize)) + 1);
  while (Count > 0) {
    int N = int(std::min<int64_t>(Count, BufSize));
    Source->ReadBuffer(Buffer.data(), N);
    WriteBuffer(Buffer.data(), N);
    Count -= N;
  }
  return Result;
}

int64_t TStream::Size() {
  int64_t Pos = Seek(0, soCurrent);
  int64_t Result = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return Result;
}

void TStream::SetSize(int64_t) {}

ORV_IMPLEMENT_CLASS(TCustomMemoryStream, TStream)

int TCustomMemoryStream::Read(void* Buffer, int Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  int64_t N = FSize - FPosition;
  if (N <= 0) return 0;
  if (N > Count) N = Count;
  std::memcpy(Buffer, static_cast<const unsigned char*>(FMemory) + FPosition, size_t(N));
  FPosition += N;
  return int(N);
}

int64_t TCustomMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FSize + Offset; break;
  }
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) const {
  if (FSize > 0x7FFFFFFF) throw EWriteError("Stream write error");
  if (FSize != 0) Stream->WriteBuffer(FMemory, int(FSize));
}

void TCustomMemoryStream::SaveToFile(const AnsiString& FileName) const {
  TFileStream F(FileName, fmCreate);
  SaveToStream(&F);
}

ORV_IMPLEMENT_CLASS(TMemoryStream, TCustomMemoryStream)

TMemoryStream::~TMemoryStream() { std::free(FBuffer); }

void TMemoryStream::Reserve(size_t NewCapacity) {
  if (NewCapacity <= FCapacity) return;
  size_t Capacity = std::max<size_t>({NewCapacity, FCapacity * 2, 4096});
  if (Capacity > 0x7FFFFFFF) Capacity = std::max<size_t>(NewCapacity, 0x7FFFFFFF);
  // A new block and one copy of the used bytes: cheaper than realloc moving the whole capacity.
  auto* P = static_cast<unsigned char*>(std::malloc(Capacity));
  if (!P) throw EOutOfMemory("Out of memory while expanding memory stream");
  if (FSize > 0) std::memcpy(P, FBuffer, size_t(FSize));
  std::free(FBuffer);
  FBuffer = P;
  FCapacity = Capacity;
  FMemory = FBuffer;
}

int TMemoryStream::Write(const void* Buffer, int Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  int64_t End = FPosition + Count;
  if (End > 0x7FFFFFFF) throw EWriteError("Stream write error");
  if (End > FSize) {
    Reserve(size_t(End));
    // A write after a seek past the end leaves no unset bytes in between.
    if (FPosition > FSize) std::memset(FBuffer + FSize, 0, size_t(FPosition - FSize));
    FSize = End;
  }
  std::memcpy(FBuffer + FPosition, Buffer, size_t(Count));
  FPosition = End;
  return Count;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  if (NewSize > 0x7FFFFFFF) throw EOutOfMemory("Out of memory while expanding memory stream");
  if (NewSize > FSize) {
    Reserve(size_t(NewSize));
    std::memset(FBuffer + FSize, 0, size_t(NewSize - FSize));
  }
  FSize = NewSize;
  FMemory = FBuffer;
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  std::free(FBuffer);
  FBuffer = nullptr;
  FCapacity = 0;
  SetPointer(nullptr, 0);
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  int64_t Count = Stream->Size();
  if (Count > 0x7FFFFFFF) throw EReadError("Stream read error");
  SetSize(Count);
  FPosition = 0;
  if (Count != 0) Stream->ReadBuffer(FMemory, int(Count));
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName) {
  TFileStream F(FileName, fmOpenRead);
  LoadFromStream(&F);
}

ORV_IMPLEMENT_CLASS(TReadOnlyMemoryStream, TCustomMemoryStream)

int TReadOnlyMemoryStream::Write(const void*, int) { throw EStreamError("Can't write to a read-only stream"); }

ORV_IMPLEMENT_CLASS(TFileStream, TStream)

namespace {
int64_t FileTell(std::FILE* F) {
#ifdef _WIN32
  return _ftelli64(F);
#else
  return ftello(F);
#endif
}
int FileSeek(std::FILE* F, int64_t Offset, int Whence) {
#ifdef _WIN32
  return _fseeki64(F, Offset, Whence);
#else
  return fseeko(F, off_t(Offset), Whence);
#endif
}
}  // namespace

TFileStream::TFileStream(const AnsiString& FileName, unsigned short Mode) : FFileName(FileName) {
  if (Mode == fmCreate) {
    FFile = std::fopen(FileName.c_str(), "w+b");
    if (!FFile) throw EFCreateError("Cannot create file %s", {FileName});
  } else {
    FFile = std::fopen(FileName.c_str(), (Mode & 3) == fmOpenRead ? "rb" : "r+b");
    if (!FFile) throw EFOpenError("Cannot open file %s", {FileName});
  }
}

TFileStream::~TFileStream() {
  if (FFile) std::fclose(FFile);
}

// C streams need a positioning call between a write and a read that follows it, and back.
int TFileStream::Read(void* Buffer, int Count) {
  if (Count <= 0) return 0;
  if (FLastOp == 2) FileSeek(FFile, 0, SEEK_CUR);
  FLastOp = 1;
  return int(std::fread(Buffer, 1, size_t(Count), FFile));
}

int TFileStream::Write(const void* Buffer, int Count) {
  if (Count <= 0) return 0;
  if (FLastOp == 1) FileSeek(FFile, 0, SEEK_CUR);
  FLastOp = 2;
  return int(std::fwrite(Buffer, 1, size_t(Count), FFile));
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  if (Origin == soCurrent && Offset == 0) return FileTell(FFile);
  FLastOp = 0;
  int Whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  if (FileSeek(FFile, Offset, Whence) != 0) return -1;
  return FileTell(FFile);
}

void TFileStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) throw EStreamError("Stream size error");
  int64_t Pos = Position();
  std::fflush(FFile);
#ifdef _WIN32
  bool Ok = _chsize_s(_fileno(FFile), NewSize) == 0;
#else
  bool Ok = ftruncate(fileno(FFile), off_t(NewSize)) == 0;
#endif
  if (!Ok) throw EStreamError("Stream size error");
  Seek(std::min(Pos, NewSize), soBeginning);
}

ORV_IMPLEMENT_CLASS(TStringStream, TStream)

int TStringStream::Read(void* Buffer, int Count) {
  if (Count <= 0) return 0;
  int64_t N = FData.Length() - FPosition;
  if (N <= 0) return 0;
  if (N > Count) N = Count;
  std::memcpy(Buffer, FData.data() + FPosition, size_t(N));
  FPosition += N;
  return int(N);
}

int TStringStream::Write(const void* Buffer, int Count) {
  if (Count <= 0) return 0;
  std::string& S = FData.str();
  if (size_t(FPosition) + size_t(Count) > S.size()) S.resize(size_t(FPosition) + size_t(Count));
  std::memcpy(S.data() + FPosition, Buffer, size_t(Count));
  FPosition += Count;
  return Count;
}

int64_t TStringStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FData.Length() + Offset; break;
  }
  FPosition = std::clamp<int64_t>(FPosition, 0, FData.Length());
  return FPosition;
}

void TStringStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  FData.str().resize(size_t(NewSize));
  if (FPosition > NewSize) FPosition = NewSize;
}

// ---------------------------------------------------------------------------------------------
// Collections

ORV_IMPLEMENT_CLASS(TCollectionItem, TPersistent)

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& Items = FCollection->FItems;
  auto It = std::find(Items.begin(), Items.end(), this);
  return It == Items.end() ? -1 : int(It - Items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  int Cur = Index();
  if (Cur < 0 || Cur == Value) return;
  auto& Items = FCollection->FItems;
  if (Value < 0 || Value >= int(Items.size())) ListIndexError(Value);
  Items.erase(Items.begin() + Cur);
  Items.insert(Items.begin() + Value, this);
  Changed(true);
}

AnsiString TCollectionItem::DisplayName() const { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

AnsiString TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + "[" + IntToStr(Index()) + "]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

ORV_IMPLEMENT_CLASS(TCollection, TPersistent)

TCollection::TCollection(TClass ItemClass, ItemFactory Factory) : FItemClass(ItemClass), FFactory(Factory) {}

TCollection::~TCollection() {
  FUpdateCount = 1;
  Clear();
}

TCollectionItem* TCollection::Add() {
  if (!FFactory) throw EInvalidOperation("Cannot create items of %s", {ClassName()});
  TCollectionItem* Item = FFactory(this);
  if (Item->Collection() != this) Item->SetCollection(this);
  if (FItemClass && !Item->InheritsFrom(FItemClass)) {
    TObject::Free(Item);
    throw EListError("Invalid property value");
  }
  return Item;
}

TCollectionItem* TCollection::Insert(int Index) {
  TCollectionItem* Item = Add();
  try {
    Item->SetIndex(Index);
  } catch (...) {
    TObject::Free(Item);
    throw;
  }
  return Item;
}

void TCollection::Delete(int Index) { TObject::Free(Items(Index)); }

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) TObject::Free(FItems.back());
  EndUpdate();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[size_t(Index)];
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* I : FItems)
    if (I->FID == ID) return I;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCollection*>(Source)) {
    if (S == this) return;
    BeginUpdate();
    try {
      Clear();
      for (TCollectionItem* I : S->FItems) Add()->Assign(I);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

AnsiString TCollection::GetNamePath() const {
  TPersistent* Owner = GetOwner();
  if (!Owner) return ClassName();
  AnsiString OwnerPath = Owner->GetNamePath();
  if (OwnerPath.IsEmpty()) return ClassName();
  for (const TPropInfo* P : Owner->ClassType()->AllProps())
    if (P->Kind == tkClass && !P->IsReference && P->GetObj && P->GetObj(Owner) == this)
      return OwnerPath + "." + P->Name;
  return ClassName();
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, true);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, false);
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It != FItems.end()) FItems.erase(It);
  Item->FCollection = nullptr;
  Changed();
}

ORV_IMPLEMENT_CLASS(TOwnedCollection, TCollection)
