#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// "EClass: message" of the Exception a callable raises, so a check names the exact class.
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

// A component that logs what happens to it into a shared log.
class TWatcher : public TComponent {
  ORV_CLASS(TWatcher, TComponent)
public:
  TWatcher(TComponent* AOwner, std::vector<std::string>* ALog = nullptr)
      : TComponent(AOwner), Log(ALog), CreatedBy(AOwner) {}
  ~TWatcher() override {
    if (!Log) return;
    // Both the component and its owner already know they are going.
    Log->push_back("~" + Name().str() + State(" self", this) + State(" owner", CreatedBy) + State(" observed", Observe));
  }
  void AfterConstruction() override { ++Constructed; }

  // A reference to a component that may die first.
  void SetPeer(TComponent* Value) {
    if (Peer == Value) return;
    if (Peer) Peer->RemoveFreeNotification(this);
    Peer = Value;
    if (Peer) Peer->FreeNotification(this);
  }

  static std::string State(const char* Who, const TComponent* C) {
    if (!C) return "";
    return Who + std::string(C->HasState(csDestroying) ? "-destroying" : "-alive");
  }

  std::vector<std::string>* Log;
  bool LogNotices = false;
  TComponent* CreatedBy;
  TComponent* Observe = nullptr;  // another component whose state the destructor logs
  TComponent* Peer = nullptr;
  int Constructed = 0;
  int RemoveNotices = 0;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    if (Log && LogNotices)
      Log->push_back(Name().str() + (Operation == opInsert ? " +" : " -") + AComponent->Name().str());
    if (Operation == opRemove) {
      ++RemoveNotices;
      if (AComponent == Peer) Peer = nullptr;
    }
  }
};
ORV_IMPLEMENT_COMPONENT_NOPROPS(TWatcher, TComponent)

TWatcher* MakeWatcher(TComponent* Owner, const char* Name, std::vector<std::string>* Log = nullptr) {
  TWatcher* W = New<TWatcher>(Owner, Log);
  W->SetName(Name);
  return W;
}

// ---------------------------------------------------------------------------------------------
// Class identity and registry

TEST(ClassIdentity, NamesAndParentsFollowTheHierarchy) {
  struct Case { TClass Class; const char* Name; TClass Parent; };
  const Case Cases[] = {
      {TObject::StaticClass(), "TObject", nullptr},
      {TPersistent::StaticClass(), "TPersistent", TObject::StaticClass()},
      {TComponent::StaticClass(), "TComponent", TPersistent::StaticClass()},
      {TWatcher::StaticClass(), "TWatcher", TComponent::StaticClass()},
      {TStringList::StaticClass(), "TStringList", TStrings::StaticClass()},
      {TMemoryStream::StaticClass(), "TMemoryStream", TCustomMemoryStream::StaticClass()},
      {TOwnedCollection::StaticClass(), "TOwnedCollection", TCollection::StaticClass()},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_STREQ(C.Class->Name, C.Name);
    EXPECT_EQ(C.Class->Parent, C.Parent);
  }
}

TEST(ClassIdentity, ObjectsReportTheirMostDerivedClass) {
  TObject* Strings = new TStringList;
  TComponent* Watcher = New<TWatcher>(nullptr);
  EXPECT_EQ(Strings->ClassName(), "TStringList");
  EXPECT_EQ(Strings->ClassType(), TStringList::StaticClass());
  EXPECT_EQ(Watcher->ClassName(), "TWatcher");

  EXPECT_TRUE(Strings->InheritsFrom(TStrings::StaticClass()));
  EXPECT_TRUE(Strings->InheritsFrom(TPersistent::StaticClass()));
  EXPECT_TRUE(Strings->InheritsFrom(TObject::StaticClass()));
  EXPECT_TRUE(Strings->InheritsFrom(TStringList::StaticClass()));
  EXPECT_FALSE(Strings->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(Strings->InheritsFrom(nullptr));
  EXPECT_TRUE(Watcher->Is<TComponent>());
  EXPECT_FALSE(Watcher->Is<TStrings>());
  EXPECT_FALSE(TComponent::StaticClass()->InheritsFrom(TWatcher::StaticClass()));

  TObject::Free(Strings);
  TObject::Free(Watcher);
  TObject::Free(nullptr);  // safe
}

// Removes the classes a test registered.
struct RegistryGuard {
  std::vector<TClass> Added;
  ~RegistryGuard() {
    for (TClass C : Added) UnRegisterClass(C);
  }
};

TEST(ClassRegistry, FindsRegisteredClassesByNameIgnoringCase) {
  RegistryGuard Guard{{TWatcher::StaticClass(), TStringList::StaticClass()}};
  EXPECT_EQ(GetClass("TWatcher"), nullptr);
  RegisterClasses({TWatcher::StaticClass(), TStringList::StaticClass()});

  EXPECT_EQ(GetClass("TWatcher"), TWatcher::StaticClass());
  EXPECT_EQ(GetClass("twatcher"), TWatcher::StaticClass());
  EXPECT_EQ(FindClass("TSTRINGLIST"), TStringList::StaticClass());
  EXPECT_EQ(GetClass("TWatch"), nullptr);
  EXPECT_EQ(GetClass("TWatcherX"), nullptr);
  auto All = RegisteredClasses();
  EXPECT_NE(std::find(All.begin(), All.end(), TWatcher::StaticClass()), All.end());

  UnRegisterClass(TWatcher::StaticClass());
  EXPECT_EQ(GetClass("TWatcher"), nullptr);
  EXPECT_EQ(GetClass("TStringList"), TStringList::StaticClass());
}

TEST(ClassRegistry, FindClassRaisesForUnknownNames) {
  EXPECT_EQ(ErrorOf([] { FindClass("TNoSuchThing"); }), "EClassNotFound: Class TNoSuchThing not found");
  // Readers catch it as a filer error.
  EXPECT_THROW(FindClass("TNoSuchThing"), EFilerError);
}

TEST(ClassRegistry, DuplicateNamesAreRejectedButReRegisteringIsHarmless) {
  RegistryGuard Guard{{TWatcher::StaticClass()}};
  RegisterClass(TWatcher::StaticClass());
  size_t Count = RegisteredClasses().size();
  RegisterClass(TWatcher::StaticClass());
  RegisterClass(nullptr);
  EXPECT_EQ(RegisteredClasses().size(), Count);

  static const TClassInfo Impostor{"TWatcher", TComponent::StaticClass(), nullptr};
  static const TClassInfo LowerImpostor{"twatcher", TComponent::StaticClass(), nullptr};
  EXPECT_EQ(ErrorOf([] { RegisterClass(&Impostor); }), "EFilerError: A class named TWatcher already exists");
  EXPECT_EQ(ErrorOf([] { RegisterClass(&LowerImpostor); }), "EFilerError: A class named twatcher already exists");
  EXPECT_EQ(GetClass("TWatcher"), TWatcher::StaticClass());
  EXPECT_EQ(RegisteredClasses().size(), Count);
}

TEST(ClassRegistry, RegisterComponentsNeedsTheDesignersHookAndMakesTheClassesStreamable) {
  RegistryGuard Guard{{TWatcher::StaticClass(), TStringList::StaticClass()}};
  ASSERT_EQ(GetClass("TWatcher"), nullptr);
  EXPECT_EQ(ErrorOf([] { RegisterComponents("Page", {TWatcher::StaticClass()}); }),
            "EComponentError: Invalid component registration");
  EXPECT_EQ(GetClass("TWatcher"), nullptr);

  std::vector<std::string> Calls;
  auto Hook = [&](const char* Tag) {
    return [&Calls, Tag](const AnsiString& Page, const std::vector<TClass>& Classes) {
      std::string Call = std::string(Tag) + " " + Page.str() + ":";
      for (TClass C : Classes) Call += std::string(" ") + C->Name;
      Calls.push_back(Call);
    };
  };
  EXPECT_FALSE(SetRegisterComponentsProc(Hook("outer")));
  RegisterComponents("First", {TWatcher::StaticClass(), TStringList::StaticClass()});
  EXPECT_EQ(FindClass("TWatcher"), TWatcher::StaticClass());
  EXPECT_EQ(FindClass("TStringList"), TStringList::StaticClass());

  // A nested designer's hook replaces the outer one until it puts it back.
  TRegisterComponentsProc Outer = SetRegisterComponentsProc(Hook("inner"));
  RegisterComponents("Second", std::vector<TClass>{TWatcher::StaticClass()});
  SetRegisterComponentsProc(Outer);
  RegisterComponents("Third", {});
  EXPECT_TRUE(SetRegisterComponentsProc(nullptr));
  EXPECT_THROW(RegisterComponents("Fourth", {}), EComponentError);
  EXPECT_EQ(Calls, (std::vector<std::string>{"outer First: TWatcher TStringList", "inner Second: TWatcher",
                                             "outer Third:"}));
}

TEST(ClassRegistry, FactoryCreatesOwnedComponentsAndRunsAfterConstruction) {
  TComponent* Owner = New<TComponent>(nullptr);
  TComponent* C = TWatcher::StaticClass()->Create(Owner);
  ASSERT_EQ(C->ClassType(), TWatcher::StaticClass());
  EXPECT_EQ(static_cast<TWatcher*>(C)->Constructed, 1);
  EXPECT_EQ(C->Owner(), Owner);
  EXPECT_EQ(Owner->ComponentCount(), 1);
  EXPECT_EQ(TStringList::StaticClass()->Create, nullptr);  // not a component
  TObject::Free(Owner);
}

// ---------------------------------------------------------------------------------------------
// Closures

class TListener : public TObject {
  ORV_CLASS(TListener, TObject)
public:
  void Ping(TObject* Sender) { ++Pings; LastSender = Sender; }
  void Pong(TObject* Sender) { Pongs += 1; }
  void Key(TObject* Sender, char& K, int Shift) { K = char(K + Shift); }
  int Pings = 0, Pongs = 0;
  TObject* LastSender = nullptr;
};
ORV_IMPLEMENT_CLASS(TListener, TObject)

TEST(Closure, EmptyClosureIsFalseAndCallingItDoesNothing) {
  TNotifyEvent E;
  EXPECT_FALSE(E);
  EXPECT_EQ(E.Object(), nullptr);
  E(nullptr);
  TNotifyEvent N = nullptr;
  EXPECT_TRUE(E == N);
  EXPECT_FALSE(E.Method());
}

TEST(Closure, EventBindsObjectAndMember) {
  TListener A, B;
  TNotifyEvent E = EVENT(&A, TListener::Ping);
  ASSERT_TRUE(E);
  EXPECT_EQ(E.Object(), &A);
  E(&B);
  E(&B);
  EXPECT_EQ(A.Pings, 2);
  EXPECT_EQ(A.LastSender, &B);
  EXPECT_EQ(B.Pings, 0);

  E = nullptr;
  E(&B);
  EXPECT_EQ(A.Pings, 2);
}

TEST(Closure, ArgumentsPassThroughIncludingReferences) {
  TListener A;
  TClosure<TObject*, char&, int> E = EVENT(&A, TListener::Key);
  char K = 'a';
  E(&A, K, 2);
  EXPECT_EQ(K, 'c');
}

TEST(Closure, ComparesByObjectAndMember) {
  TListener A, B;
  TNotifyEvent APing = EVENT(&A, TListener::Ping);
  EXPECT_TRUE(APing == EVENT(&A, TListener::Ping));
  EXPECT_FALSE(APing == EVENT(&B, TListener::Ping));
  EXPECT_FALSE(APing == EVENT(&A, TListener::Pong));
  EXPECT_FALSE(APing == TNotifyEvent());
  TNotifyEvent Copy = APing;
  EXPECT_TRUE(Copy == APing);
}

TEST(Closure, UntypedMethodRoundTrips) {
  TListener A;
  TNotifyEvent E = EVENT(&A, TListener::Ping);
  TMethod M = E.Method();
  EXPECT_TRUE(M);
  EXPECT_EQ(M.Data, &A);
  EXPECT_TRUE(M == EVENT(&A, TListener::Ping).Method());
  EXPECT_FALSE(M == EVENT(&A, TListener::Pong).Method());
  TNotifyEvent Back = TNotifyEvent::FromMethod(M);
  EXPECT_TRUE(Back == E);
  Back(nullptr);
  EXPECT_EQ(A.Pings, 1);
  EXPECT_FALSE(TNotifyEvent::FromMethod(TMethod{}));
}

// ---------------------------------------------------------------------------------------------
// Components: ownership, notifications, names

TEST(Component, OwnerListsAndDestroysOwnedComponentsLastFirst) {
  std::vector<std::string> Log;
  TWatcher* Owner = MakeWatcher(nullptr, "Owner", &Log);
  TWatcher* A = MakeWatcher(Owner, "A", &Log);
  TWatcher* B = MakeWatcher(Owner, "B", &Log);
  TWatcher* Grand = MakeWatcher(A, "Grand", &Log);
  B->Observe = Grand;
  ASSERT_EQ(Owner->ComponentCount(), 2);
  EXPECT_EQ(Owner->Components(0), A);
  EXPECT_EQ(Owner->Components(1), B);
  EXPECT_EQ(A->ComponentIndex(), 0);
  EXPECT_EQ(B->ComponentIndex(), 1);
  EXPECT_EQ(Owner->ComponentIndex(), -1);
  EXPECT_EQ(Grand->Owner(), A);
  EXPECT_EQ(ErrorOf([&] { Owner->Components(2); }), "EListError: List index out of bounds (2)");
  EXPECT_EQ(ErrorOf([&] { Owner->Components(-1); }), "EListError: List index out of bounds (-1)");

  Log.clear();
  TObject::Free(Owner);
  // csDestroying reaches every owned component before the first of them goes.
  const std::vector<std::string> Expected = {
      "~B self-destroying owner-destroying observed-destroying",
      "~Grand self-destroying owner-destroying",
      "~A self-destroying owner-destroying",
      "~Owner self-destroying",
  };
  EXPECT_EQ(Log, Expected);
}

TEST(Component, PlainDeleteStillLeavesTheOwner) {
  TComponent* Owner = New<TComponent>(nullptr);
  TWatcher* A = MakeWatcher(Owner, "A");
  MakeWatcher(A, "Inner");
  delete A;
  EXPECT_EQ(Owner->ComponentCount(), 0);
  EXPECT_EQ(Owner->FindComponent("A"), nullptr);
  TObject::Free(Owner);
}

TEST(Component, OwnerIsToldOfInsertAndRemove) {
  std::vector<std::string> Log;
  TWatcher* First = MakeWatcher(nullptr, "First", &Log);
  TWatcher* Second = MakeWatcher(nullptr, "Second", &Log);
  First->LogNotices = Second->LogNotices = true;
  TComponent* Child = New<TComponent>(nullptr);
  Child->SetName("Child");

  First->InsertComponent(Child);
  EXPECT_EQ(Child->Owner(), First);
  Second->InsertComponent(Child);  // moves it
  EXPECT_EQ(Child->Owner(), Second);
  EXPECT_EQ(First->ComponentCount(), 0);
  Second->RemoveComponent(Child);
  EXPECT_EQ(Child->Owner(), nullptr);
  Second->RemoveComponent(Child);  // not owned: nothing
  const std::vector<std::string> Expected = {"First +Child", "First -Child", "Second +Child", "Second -Child"};
  EXPECT_EQ(Log, Expected);
  Log.clear();

  TObject::Free(Child);
  TObject::Free(First);
  TObject::Free(Second);
}

TEST(Component, FreeNotificationClearsAReferenceToAComponentOfAnotherOwner) {
  TComponent* FormA = New<TComponent>(nullptr);
  TComponent* FormB = New<TComponent>(nullptr);
  TWatcher* User = MakeWatcher(FormA, "User");
  TWatcher* Target = MakeWatcher(FormB, "Target");
  TWatcher* Loner = MakeWatcher(nullptr, "Loner");

  User->SetPeer(Target);
  Loner->SetPeer(User);
  TObject::Free(Target);
  EXPECT_EQ(User->Peer, nullptr);
  EXPECT_EQ(User->RemoveNotices, 1);

  // The referrer dies first: the component it referred to must not call it later.
  TWatcher* Target2 = MakeWatcher(FormB, "Target2");
  User->SetPeer(Target2);
  TObject::Free(FormA);  // frees User, which Loner watches
  EXPECT_EQ(Loner->Peer, nullptr);
  EXPECT_EQ(Target2->RemoveNotices, 1);
  TObject::Free(Target2);
  TObject::Free(Loner);
  TObject::Free(FormB);
}

TEST(Component, RemoveFreeNotificationStopsTheNotice) {
  TWatcher* User = MakeWatcher(nullptr, "User");
  TWatcher* Target = MakeWatcher(nullptr, "Target");
  User->SetPeer(Target);
  User->SetPeer(nullptr);
  TObject::Free(Target);
  EXPECT_EQ(User->RemoveNotices, 0);
  TObject::Free(User);
}

TEST(Component, SiblingsAreToldThroughTheOwner) {
  TComponent* Form = New<TComponent>(nullptr);
  TWatcher* User = MakeWatcher(Form, "User");
  TWatcher* Target = MakeWatcher(Form, "Target");
  User->SetPeer(Target);
  TObject::Free(Target);
  EXPECT_EQ(User->Peer, nullptr);
  TObject::Free(Form);
}

TEST(Component, SetNameAcceptsIdentifiersOnly) {
  TComponent* C = New<TComponent>(nullptr);
  for (const char* Good : {"Button1", "_x", "a", "A_1_b", "Z9"}) {
    SCOPED_TRACE(Good);
    EXPECT_NO_THROW(C->SetName(Good));
    EXPECT_EQ(C->Name(), Good);
  }
  C->SetName("Kept");
  for (const char* Bad : {"1abc", "a b", "a-b", " ", "a.b", "x$", "\xe9t\xe9"}) {
    SCOPED_TRACE(Bad);
    EXPECT_EQ(ErrorOf([&] { C->SetName(Bad); }),
              std::string("EComponentError: '") + Bad + "' is not a valid component name");
    EXPECT_EQ(C->Name(), "Kept");
  }
  C->SetName("");
  EXPECT_EQ(C->Name(), "");
  TObject::Free(C);
}

TEST(Component, NamesAreUniqueWithinTheOwnerIgnoringCase) {
  TComponent* Owner = New<TComponent>(nullptr);
  TComponent* A = New<TComponent>(Owner);
  TComponent* B = New<TComponent>(Owner);
  A->SetName("Btn");
  EXPECT_EQ(ErrorOf([&] { B->SetName("Btn"); }), "EComponentError: A component named Btn already exists");
  EXPECT_EQ(ErrorOf([&] { B->SetName("BTN"); }), "EComponentError: A component named BTN already exists");
  EXPECT_EQ(B->Name(), "");
  A->SetName("BTN");  // its own name in another case
  EXPECT_EQ(A->Name(), "BTN");
  B->SetName("Other");
  B->SetName("");     // unnamed components may repeat
  TComponent* C = New<TComponent>(Owner);
  EXPECT_EQ(C->Name(), "");

  // Unowned components are not checked against each other.
  TComponent* Free1 = New<TComponent>(nullptr);
  TComponent* Free2 = New<TComponent>(nullptr);
  Free1->SetName("Same");
  Free2->SetName("Same");
  // A clash keeps the component out of the new owner.
  EXPECT_EQ(ErrorOf([&] { Free1->SetName("btn"); Owner->InsertComponent(Free1); }),
            "EComponentError: A component named btn already exists");
  EXPECT_EQ(Free1->Owner(), nullptr);
  EXPECT_EQ(Owner->ComponentCount(), 3);

  TObject::Free(Free1);
  TObject::Free(Free2);
  TObject::Free(Owner);
}

TEST(Component, FindComponentSearchesOwnedComponentsIgnoringCase) {
  TComponent* Owner = New<TComponent>(nullptr);
  TComponent* Edit = New<TComponent>(Owner);
  Edit->SetName("Edit1");
  TComponent* Inner = New<TComponent>(Edit);
  Inner->SetName("Inner");
  New<TComponent>(Owner);  // unnamed

  EXPECT_EQ(Owner->FindComponent("Edit1"), Edit);
  EXPECT_EQ(Owner->FindComponent("EDIT1"), Edit);
  EXPECT_EQ(Owner->FindComponent("edit1"), Edit);
  EXPECT_EQ(Owner->FindComponent("Edit"), nullptr);
  EXPECT_EQ(Owner->FindComponent(""), nullptr);
  EXPECT_EQ(Owner->FindComponent("Inner"), nullptr);  // owned by Edit, not Owner
  EXPECT_EQ(Edit->FindComponent("inner"), Inner);
  Edit->SetName("Renamed");
  EXPECT_EQ(Owner->FindComponent("Edit1"), nullptr);
  EXPECT_EQ(Owner->FindComponent("renamed"), Edit);
  TObject::Free(Owner);
}

TEST(Component, DesigningAndLoadingFlagsReachOwnedComponents) {
  TComponent* Owner = New<TComponent>(nullptr);
  TComponent* A = New<TComponent>(Owner);
  Owner->SetDesigning(true);
  EXPECT_TRUE(A->HasState(csDesigning));
  TComponent* Late = New<TComponent>(Owner);
  EXPECT_TRUE(Late->HasState(csDesigning));
  Owner->SetDesigning(false);
  EXPECT_FALSE(A->HasState(csDesigning));

  Owner->SetLoadingState(true);
  EXPECT_EQ(Owner->ComponentState() & (csLoading | csReading), unsigned(csLoading | csReading));
  Owner->Loaded();
  EXPECT_FALSE(Owner->HasState(csLoading));
  TObject::Free(Owner);
}

TEST(Persistent, AssignWithoutSupportRaisesConvertError) {
  TStringList L;
  TComponent* C = New<TComponent>(nullptr);
  EXPECT_EQ(ErrorOf([&] { L.Assign(C); }), "EConvertError: Cannot assign a TComponent to a TStringList");
  EXPECT_EQ(ErrorOf([&] { L.Assign(nullptr); }), "EConvertError: Cannot assign a nil to a TStringList");
  EXPECT_EQ(ErrorOf([&] { C->Assign(&L); }), "EConvertError: Cannot assign a TStringList to a TComponent");
  TObject::Free(C);
}

// ---------------------------------------------------------------------------------------------
// TList

std::vector<intptr_t> Contents(const TList& L) {
  std::vector<intptr_t> R;
  for (int I = 0; I < L.Count(); ++I) R.push_back(reinterpret_cast<intptr_t>(L.Items(I)));
  return R;
}

void* P(intptr_t V) { return reinterpret_cast<void*>(V); }

TEST(List, EditsKeepOrder) {
  TList L;
  EXPECT_EQ(L.Add(P(1)), 0);
  EXPECT_EQ(L.Add(P(2)), 1);
  L.Insert(0, P(0));
  L.Insert(3, P(3));  // at the end
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{0, 1, 2, 3}));
  EXPECT_EQ(L.IndexOf(P(2)), 2);
  EXPECT_EQ(L.IndexOf(P(9)), -1);
  EXPECT_EQ(L.First(), P(0));
  EXPECT_EQ(L.Last(), P(3));

  L.Move(0, 2);
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{1, 2, 0, 3}));
  L.Move(3, 0);
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{3, 1, 2, 0}));
  L.Exchange(0, 3);
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{0, 1, 2, 3}));
  L.SetItems(1, P(7));
  EXPECT_EQ(L.Remove(P(7)), 1);
  EXPECT_EQ(L.Remove(P(7)), -1);
  L.Delete(0);
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{2, 3}));
  L.Add(P(1));
  L.Sort([](void* A, void* B) { return A < B ? -1 : A > B ? 1 : 0; });
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{1, 2, 3}));
  L.Clear();
  EXPECT_EQ(L.Count(), 0);
}

TEST(List, BadIndexesRaiseListErrorNamingTheIndex) {
  TList L;
  L.Add(P(1));
  L.Add(P(2));
  struct Case { const char* What; std::function<void()> Fn; const char* Error; };
  const Case Cases[] = {
      {"Items(2)", [&] { L.Items(2); }, "EListError: List index out of bounds (2)"},
      {"Items(-1)", [&] { L.Items(-1); }, "EListError: List index out of bounds (-1)"},
      {"SetItems", [&] { L.SetItems(2, nullptr); }, "EListError: List index out of bounds (2)"},
      {"Insert(3)", [&] { L.Insert(3, nullptr); }, "EListError: List index out of bounds (3)"},
      {"Insert(-1)", [&] { L.Insert(-1, nullptr); }, "EListError: List index out of bounds (-1)"},
      {"Delete", [&] { L.Delete(2); }, "EListError: List index out of bounds (2)"},
      {"Exchange", [&] { L.Exchange(0, 5); }, "EListError: List index out of bounds (5)"},
      {"Move to", [&] { L.Move(0, 2); }, "EListError: List index out of bounds (2)"},
      {"Move from", [&] { L.Move(4, 1); }, "EListError: List index out of bounds (4)"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    EXPECT_EQ(ErrorOf(C.Fn), C.Error);
    EXPECT_EQ(Contents(L), (std::vector<intptr_t>{1, 2}));
  }
  TList Empty;
  EXPECT_EQ(ErrorOf([&] { Empty.First(); }), "EListError: List index out of bounds (0)");
  EXPECT_EQ(ErrorOf([&] { Empty.Last(); }), "EListError: List index out of bounds (-1)");
}

// ---------------------------------------------------------------------------------------------
// TStringList

std::vector<std::string> Lines(const TStrings& S) {
  std::vector<std::string> R;
  for (int I = 0; I < S.Count(); ++I) R.push_back(S[I].str());
  return R;
}

using Strs = std::vector<std::string>;

void Fill(TStrings& S, std::initializer_list<const char*> Items) {
  S.Clear();
  for (const char* I : Items) S.Add(I);
}

// Counts its destructions.
class TTracked : public TObject {
public:
  explicit TTracked(int& Count) : FCount(Count) {}
  ~TTracked() override { ++FCount; }
private:
  int& FCount;
};

TEST(StringList, BadIndexesRaiseStringListError) {
  TStringList L;
  Fill(L, {"a", "b"});
  struct Case { const char* What; std::function<void()> Fn; const char* Error; };
  const Case Cases[] = {
      {"Get", [&] { L.Get(2); }, "EStringListError: List index out of bounds (2)"},
      {"Get(-1)", [&] { L[-1]; }, "EStringListError: List index out of bounds (-1)"},
      {"Put", [&] { L.Put(2, "x"); }, "EStringListError: List index out of bounds (2)"},
      {"GetObject", [&] { L.GetObject(3); }, "EStringListError: List index out of bounds (3)"},
      {"PutObject", [&] { L.PutObject(-2, nullptr); }, "EStringListError: List index out of bounds (-2)"},
      {"Insert", [&] { L.Insert(3, "x"); }, "EStringListError: List index out of bounds (3)"},
      {"Delete", [&] { L.Delete(2); }, "EStringListError: List index out of bounds (2)"},
      {"Exchange", [&] { L.Exchange(0, 2); }, "EStringListError: List index out of bounds (2)"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    EXPECT_EQ(ErrorOf(C.Fn), C.Error);
    EXPECT_EQ(Lines(L), (Strs{"a", "b"}));
  }
  L.Insert(2, "c");  // Count itself is a valid insert position
  EXPECT_EQ(Lines(L), (Strs{"a", "b", "c"}));
}

TEST(StringList, UnsortedListKeepsInsertOrderAndSearchesIgnoringCase) {
  TStringList L;
  L.SetDuplicates(dupError);  // applies to sorted lists only
  Fill(L, {"pear", "Apple", "fig", "apple"});
  EXPECT_EQ(Lines(L), (Strs{"pear", "Apple", "fig", "apple"}));
  EXPECT_EQ(L.IndexOf("APPLE"), 1);
  EXPECT_EQ(L.IndexOf("plum"), -1);
  L.SetCaseSensitive(true);
  EXPECT_EQ(L.IndexOf("apple"), 3);
  EXPECT_EQ(L.IndexOf("APPLE"), -1);
}

TEST(StringList, SortedListInsertsInOrderAndRefusesPositionalEdits) {
  TStringList L;
  Fill(L, {"pear", "apple", "Fig"});
  L.SetSorted(true);
  EXPECT_EQ(Lines(L), (Strs{"apple", "Fig", "pear"}));
  EXPECT_EQ(L.Add("banana"), 1);
  EXPECT_EQ(L.Add("zucchini"), 4);
  EXPECT_EQ(L.Add("Aardvark"), 0);
  EXPECT_EQ(Lines(L), (Strs{"Aardvark", "apple", "banana", "Fig", "pear", "zucchini"}));
  EXPECT_EQ(ErrorOf([&] { L.Insert(0, "x"); }), "EStringListError: Operation not allowed on sorted list");
  EXPECT_EQ(ErrorOf([&] { L.Put(0, "x"); }), "EStringListError: Operation not allowed on sorted list");
  EXPECT_EQ(L.Count(), 6);
  EXPECT_EQ(L.IndexOf("FIG"), 3);
  EXPECT_EQ(L.IndexOf("grape"), -1);
  L.Delete(0);  // deleting is fine
  EXPECT_EQ(L[0], "apple");
}

TEST(StringList, FindReportsPositionOrInsertionPoint) {
  TStringList L;
  L.SetSorted(true);
  int Index = -7;
  EXPECT_FALSE(L.Find("x", Index));
  EXPECT_EQ(Index, 0);
  Fill(L, {"b", "d", "f", "h"});
  struct Case { const char* S; bool Found; int Index; };
  const Case Cases[] = {{"a", false, 0}, {"b", true, 0}, {"B", true, 0}, {"c", false, 1}, {"d", true, 1},
                        {"g", false, 3}, {"h", true, 3}, {"z", false, 4}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.S);
    Index = -7;
    EXPECT_EQ(L.Find(C.S, Index), C.Found);
    EXPECT_EQ(Index, C.Index);
  }
  L.SetCaseSensitive(true);
  EXPECT_FALSE(L.Find("B", Index));
}

TEST(StringList, DuplicatesInSortedLists) {
  TStringList L;
  L.SetSorted(true);
  Fill(L, {"a", "c"});

  L.SetDuplicates(dupIgnore);
  EXPECT_EQ(L.Add("C"), 1);  // the existing entry's index
  EXPECT_EQ(Lines(L), (Strs{"a", "c"}));

  L.SetDuplicates(dupError);
  EXPECT_EQ(ErrorOf([&] { L.Add("a"); }), "EStringListError: String list does not allow duplicates");
  EXPECT_EQ(Lines(L), (Strs{"a", "c"}));

  L.SetDuplicates(dupAccept);
  L.Add("c");
  L.Add("a");
  EXPECT_EQ(Lines(L), (Strs{"a", "a", "c", "c"}));

  // Case-sensitive lists see different cases as different strings.
  TStringList CS;
  CS.SetSorted(true);
  CS.SetCaseSensitive(true);
  CS.SetDuplicates(dupError);
  CS.Add("a");
  EXPECT_NO_THROW(CS.Add("A"));
  EXPECT_EQ(CS.Count(), 2);
}

TEST(StringList, ObjectsTravelWithTheirStrings) {
  TStringList L;
  TListener X, Y;
  L.AddObject("x", &X);
  L.AddObject("y", &Y);
  L.Add("none");
  EXPECT_EQ(L.Objects(0), &X);
  EXPECT_EQ(L.Objects(2), nullptr);
  EXPECT_EQ(L.IndexOfObject(&Y), 1);
  L.Exchange(0, 1);
  EXPECT_EQ(Lines(L), (Strs{"y", "x", "none"}));
  EXPECT_EQ(L.Objects(0), &Y);
  L.Move(0, 2);
  EXPECT_EQ(Lines(L), (Strs{"x", "none", "y"}));
  EXPECT_EQ(L.Objects(2), &Y);

  TStringList Copy;
  Copy.Assign(&L);
  EXPECT_EQ(Lines(Copy), Lines(L));
  EXPECT_EQ(Copy.Objects(0), &X);
}

TEST(StringList, OwnsObjectsFreesThemOnDeleteClearAndDestruction) {
  int Freed = 0;
  {
    TStringList L;
    L.SetOwnsObjects(true);
    L.AddObject("a", new TTracked(Freed));
    L.AddObject("b", new TTracked(Freed));
    L.AddObject("c", new TTracked(Freed));
    L.Add("none");
    L.Delete(0);
    EXPECT_EQ(Freed, 1);
    L.Delete(2);  // no object
    EXPECT_EQ(Freed, 1);
    L.Clear();
    EXPECT_EQ(Freed, 3);
    L.AddObject("d", new TTracked(Freed));
  }
  EXPECT_EQ(Freed, 4);

  // Without it the objects stay the caller's.
  TTracked* Kept = new TTracked(Freed);
  {
    TStringList L;
    L.AddObject("k", Kept);
    L.Delete(0);
    L.AddObject("k", Kept);
  }
  EXPECT_EQ(Freed, 4);
  delete Kept;
}

TEST(StringList, TextJoinsWithCrLfAndSplitsOnAnyLineBreak) {
  TStringList L;
  Fill(L, {"one", "", "three"});
  EXPECT_EQ(L.Text(), "one\r\n\r\nthree\r\n");
  Fill(L, {});
  EXPECT_EQ(L.Text(), "");

  struct Case { const char* Text; Strs Lines; };
  const Case Cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"\r\n", {""}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\n\r", {"a", ""}},  // LF then a lone CR: two breaks
      {"a\r\r\n", {"a", ""}},
      {" x \t", {" x \t"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    L.SetText(C.Text);
    EXPECT_EQ(Lines(L), C.Lines);
  }
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  struct Case { Strs Items; const char* Text; };
  const Case Cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"a", "b"}, "a,b"},
      {{"a", "", "b"}, "a,,b"},
      {{"two words"}, "\"two words\""},
      {{"a,b"}, "\"a,b\""},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {{"tab\there"}, "\"tab\there\""},
      {{"x=1", "y"}, "x=1,y"},
  };
  TStringList L;
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    L.Clear();
    for (const std::string& S : C.Items) L.Add(S);
    EXPECT_EQ(L.CommaText(), C.Text);
    TStringList Back;
    Back.SetCommaText(L.CommaText());
    EXPECT_EQ(Lines(Back), C.Items);
  }
}

TEST(StringList, SetCommaTextSplitsOnCommasAndBlanks) {
  struct Case { const char* Text; Strs Items; };
  const Case Cases[] = {
      {"", {}},
      {"   ", {}},
      {"a,b,c", {"a", "b", "c"}},
      {"a b", {"a", "b"}},
      {"  a , b  ", {"a", "b"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a"}},
      {",a", {"", "a"}},
      {"\"a b\",c", {"a b", "c"}},
      {"\"q\"\"q\"", {"q\"q"}},
      {"\"a\"b", {"a", "b"}},
      {"\"\"", {""}},
      {"\"unterminated", {"unterminated"}},
  };
  TStringList L;
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    L.SetCommaText(C.Text);
    EXPECT_EQ(Lines(L), C.Items);
  }
}

TEST(StringList, NamesAndValues) {
  TStringList L;
  Fill(L, {"Width=10", "plain", "Path=a=b", "Empty="});
  EXPECT_EQ(L.Names(0), "Width");
  EXPECT_EQ(L.Names(1), "");
  EXPECT_EQ(L.Names(2), "Path");
  EXPECT_EQ(L.Values("width"), "10");
  EXPECT_EQ(L.Values("Path"), "a=b");
  EXPECT_EQ(L.Values("Empty"), "");
  EXPECT_EQ(L.Values("plain"), "");
  EXPECT_EQ(L.Values("Missing"), "");
  EXPECT_EQ(L.IndexOfName("PATH"), 2);
  EXPECT_EQ(L.IndexOfName("plain"), -1);

  L.SetValues("Width", "20");
  L.SetValues("Height", "5");
  EXPECT_EQ(Lines(L), (Strs{"Width=20", "plain", "Path=a=b", "Empty=", "Height=5"}));
  L.SetValues("path", "");  // empty value removes the entry
  L.SetValues("Nothing", "");
  EXPECT_EQ(Lines(L), (Strs{"Width=20", "plain", "Empty=", "Height=5"}));
}

TEST(StringList, ChangeEventsFireOncePerEditOrUpdateBlock) {
  struct TCounter : TObject {
    int Changing = 0, Changed = 0;
    void ListChanging(TObject*) { ++Changing; }
    void ListChanged(TObject*) { ++Changed; }
  } Counter;
  TStringList L;
  L.OnChanging = EVENT(&Counter, TCounter::ListChanging);
  L.OnChange = EVENT(&Counter, TCounter::ListChanged);
  L.Add("a");
  EXPECT_EQ(Counter.Changing, 1);
  EXPECT_EQ(Counter.Changed, 1);
  L.SetText("x\ny\nz");
  EXPECT_EQ(Counter.Changing, 2);
  EXPECT_EQ(Counter.Changed, 2);
  L.BeginUpdate();
  L.Add("1");
  L.Delete(0);
  EXPECT_EQ(Counter.Changed, 2);
  L.EndUpdate();
  EXPECT_EQ(Counter.Changed, 3);
  EXPECT_EQ(L.UpdateCount(), 0);
}

TEST(StringList, SortAndCustomSort) {
  TStringList L;
  Fill(L, {"b", "C", "a"});
  L.Sort();
  EXPECT_EQ(Lines(L), (Strs{"a", "b", "C"}));
  L.CustomSort([](TStringList* S, int A, int B) { return CompareStr(S->Get(A), S->Get(B)); });
  EXPECT_EQ(Lines(L), (Strs{"C", "a", "b"}));
  L.CustomSort([](TStringList* S, int A, int B) { return CompareStr(S->Get(B), S->Get(A)); });
  EXPECT_EQ(Lines(L), (Strs{"b", "a", "C"}));
}

TEST(StringList, StreamsItsText) {
  TStringList L;
  Fill(L, {"x", "y"});
  TMemoryStream M;
  M.WriteBuffer("skip", 4);
  L.SaveToStream(&M);
  EXPECT_EQ(M.Size(), 4 + 6);
  M.SetPosition(4);
  TStringList Back;
  Back.LoadFromStream(&M);  // from the current position
  EXPECT_EQ(Lines(Back), (Strs{"x", "y"}));
}

// ---------------------------------------------------------------------------------------------
// Streams

std::string Bytes(TCustomMemoryStream& S) {
  return std::string(static_cast<const char*>(S.Memory()), size_t(S.Size()));
}

TEST(MemoryStream, WritesReadsAndSeeks) {
  TMemoryStream M;
  EXPECT_EQ(M.Size(), 0);
  EXPECT_EQ(M.Write("hello", 5), 5);
  EXPECT_EQ(M.Position(), 5);
  EXPECT_EQ(M.Write(" world", 6), 6);
  EXPECT_EQ(M.Size(), 11);
  EXPECT_EQ(Bytes(M), "hello world");

  char Buf[16] = {};
  EXPECT_EQ(M.Seek(0, soBeginning), 0);
  EXPECT_EQ(M.Read(Buf, 5), 5);
  EXPECT_EQ(std::string(Buf, 5), "hello");
  EXPECT_EQ(M.Seek(1, soCurrent), 6);
  EXPECT_EQ(M.Read(Buf, 16), 5);  // short at the end
  EXPECT_EQ(std::string(Buf, 5), "world");
  EXPECT_EQ(M.Read(Buf, 1), 0);
  EXPECT_EQ(M.Seek(-3, soEnd), 8);
  EXPECT_EQ(M.Read(Buf, 3), 3);
  EXPECT_EQ(std::string(Buf, 3), "rld");

  M.SetPosition(0);
  M.Write("J", 1);  // overwrite inside
  EXPECT_EQ(Bytes(M), "Jello world");
  EXPECT_EQ(M.Size(), 11);
  EXPECT_EQ(M.Read(Buf, 0), 0);
  EXPECT_EQ(M.Write(Buf, 0), 0);
  EXPECT_EQ(M.Write(Buf, -1), 0);
  EXPECT_EQ(M.Read(Buf, -1), 0);
}

TEST(MemoryStream, PositionsOutsideTheDataReadNothing) {
  TMemoryStream M;
  M.Write("abc", 3);
  char Buf[4];
  M.SetPosition(10);
  EXPECT_EQ(M.Read(Buf, 4), 0);
  M.SetPosition(-2);
  EXPECT_EQ(M.Position(), -2);
  EXPECT_EQ(M.Read(Buf, 4), 0);
  EXPECT_EQ(M.Write("x", 1), 0);
  EXPECT_EQ(Bytes(M), "abc");

  // Writing past the end fills the gap with zeros.
  M.SetPosition(5);
  M.Write("z", 1);
  EXPECT_EQ(Bytes(M), std::string("abc\0\0z", 6));
}

TEST(MemoryStream, SetSizeGrowsWithZerosAndShrinksThePosition) {
  TMemoryStream M;
  M.Write("abcdef", 6);
  M.SetSize(3);
  EXPECT_EQ(M.Size(), 3);
  EXPECT_EQ(M.Position(), 3);
  EXPECT_EQ(Bytes(M), "abc");
  M.SetSize(5);
  EXPECT_EQ(Bytes(M), std::string("abc\0\0", 5));  // the cut-off bytes do not come back
  EXPECT_EQ(M.Position(), 3);
  M.SetSize(-4);
  EXPECT_EQ(M.Size(), 0);
  M.Write("q", 1);
  M.Clear();
  EXPECT_EQ(M.Size(), 0);
  EXPECT_EQ(M.Position(), 0);
  EXPECT_EQ(M.Memory(), nullptr);
}

TEST(MemoryStream, ReadBufferAndWriteBufferRaiseWhenShort) {
  TMemoryStream M;
  M.WriteBuffer("1234", 4);
  M.SetPosition(0);
  char Buf[8];
  M.ReadBuffer(Buf, 4);
  EXPECT_EQ(std::string(Buf, 4), "1234");
  M.ReadBuffer(Buf, 0);
  M.SetPosition(2);
  EXPECT_EQ(ErrorOf([&] { M.ReadBuffer(Buf, 3); }), "EReadError: Stream read error");
  EXPECT_THROW(M.ReadBuffer(Buf, 1), EFilerError);  // a stream error, as readers catch it
  EXPECT_EQ(ErrorOf([&] { M.ReadBuffer(Buf, -1); }), "EReadError: Stream read error");
  EXPECT_EQ(ErrorOf([&] { M.WriteBuffer(Buf, -1); }), "EWriteError: Stream write error");
  M.SetPosition(-1);
  EXPECT_EQ(ErrorOf([&] { M.WriteBuffer("x", 1); }), "EWriteError: Stream write error");
}

TEST(MemoryStream, CopyFromMovesLargeDataAndChecksTheCount) {
  std::string Data(150000, '\0');
  for (size_t I = 0; I < Data.size(); ++I) Data[I] = char(I * 7 + I / 251);
  TMemoryStream Src;
  Src.WriteBuffer(Data.data(), int(Data.size()));

  TMemoryStream All;
  EXPECT_EQ(All.CopyFrom(&Src, 0), int64_t(Data.size()));  // 0: the whole source from its start
  EXPECT_EQ(Bytes(All), Data);

  TMemoryStream Part;
  Src.SetPosition(100);
  EXPECT_EQ(Part.CopyFrom(&Src, 70000), 70000);
  EXPECT_EQ(Bytes(Part), Data.substr(100, 70000));
  EXPECT_EQ(ErrorOf([&] { Part.CopyFrom(&Src, int64_t(Data.size())); }), "EReadError: Stream read error");

  TMemoryStream Loaded;
  Src.SetPosition(5);
  Loaded.LoadFromStream(&Src);
  EXPECT_EQ(Bytes(Loaded), Data);
  EXPECT_EQ(Loaded.Position(), 0);
  TMemoryStream Saved;
  Loaded.SaveToStream(&Saved);
  EXPECT_EQ(Bytes(Saved), Data);
}

TEST(ReadOnlyMemoryStream, ReadsButRefusesWrites) {
  static const char Data[] = "resource";
  TReadOnlyMemoryStream R(Data, 8);
  char Buf[8];
  EXPECT_EQ(R.Size(), 8);
  R.Seek(-3, soEnd);
  R.ReadBuffer(Buf, 3);
  EXPECT_EQ(std::string(Buf, 3), "rce");
  EXPECT_EQ(ErrorOf([&] { R.Write("x", 1); }), "EStreamError: Can't write to a read-only stream");
  EXPECT_EQ(ErrorOf([&] { R.WriteBuffer("x", 1); }), "EStreamError: Can't write to a read-only stream");
  EXPECT_STREQ(Data, "resource");
  EXPECT_EQ(R.Memory(), Data);
}

TEST(StringStream, ReadsWritesAndClampsSeeks) {
  TStringStream S("abcdef");
  char Buf[8];
  EXPECT_EQ(S.Size(), 6);
  EXPECT_EQ(S.Read(Buf, 2), 2);
  EXPECT_EQ(std::string(Buf, 2), "ab");
  S.Write("XYZ", 3);
  EXPECT_EQ(S.DataString(), "abXYZf");
  S.Write("12", 2);  // runs past the end
  EXPECT_EQ(S.DataString(), "abXYZ12");
  EXPECT_EQ(S.Seek(100, soBeginning), 7);
  EXPECT_EQ(S.Seek(-100, soCurrent), 0);
  EXPECT_EQ(S.Seek(-2, soEnd), 5);
  EXPECT_EQ(S.Read(Buf, 8), 2);
  EXPECT_EQ(std::string(Buf, 2), "12");
  S.SetSize(3);
  EXPECT_EQ(S.DataString(), "abX");
  EXPECT_EQ(S.Position(), 3);
  S.SetSize(4);
  EXPECT_EQ(S.DataString(), std::string("abX\0", 4));

  TStringStream Empty;
  EXPECT_EQ(Empty.Read(Buf, 1), 0);
  EXPECT_EQ(ErrorOf([&] { Empty.ReadBuffer(Buf, 1); }), "EReadError: Stream read error");
}

// A fresh directory under the system temporary directory, removed afterwards.
class FileStreamTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
    Dir = std::filesystem::temp_directory_path() /
          (std::string("orvalen_rtl_") + Info->name() + "_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override {
    std::error_code Ec;
    std::filesystem::remove_all(Dir, Ec);
  }
  AnsiString PathOf(const char* Name) const { return AnsiString((Dir / Name).string()); }
  std::filesystem::path Dir;
};

TEST_F(FileStreamTest, RoundTripsThroughARealFile) {
  const AnsiString Name = PathOf("data.bin");
  std::string Data;
  for (int I = 0; I < 1000; ++I) Data += char(I);  // every byte value, including CR and LF
  {
    TFileStream F(Name, fmCreate);
    EXPECT_EQ(F.FileName(), Name);
    F.WriteBuffer(Data.data(), int(Data.size()));
    EXPECT_EQ(F.Size(), 1000);
    EXPECT_EQ(F.Position(), 1000);
  }
  EXPECT_EQ(std::filesystem::file_size(Dir / "data.bin"), 1000u);
  {
    TFileStream F(Name, fmOpenRead);
    EXPECT_EQ(F.Size(), 1000);
    std::string Back(1000, '\0');
    F.ReadBuffer(Back.data(), 1000);
    EXPECT_EQ(Back, Data);
    char C;
    EXPECT_EQ(F.Read(&C, 1), 0);
    EXPECT_EQ(ErrorOf([&] { F.ReadBuffer(&C, 1); }), "EReadError: Stream read error");
    EXPECT_EQ(F.Seek(-10, soEnd), 990);
    F.ReadBuffer(&C, 1);
    EXPECT_EQ(C, Data[990]);
    EXPECT_EQ(F.Seek(5, soCurrent), 996);
    EXPECT_EQ(ErrorOf([&] { F.WriteBuffer("x", 1); }), "EWriteError: Stream write error");
  }
}

TEST_F(FileStreamTest, ReadWriteModeChangesInPlaceAcrossDirectionChanges) {
  const AnsiString Name = PathOf("rw.txt");
  {
    TFileStream F(Name, fmCreate);
    F.WriteBuffer("0123456789", 10);
  }
  {
    TFileStream F(Name, fmOpenReadWrite | fmShareDenyNone);
    char Buf[4];
    F.ReadBuffer(Buf, 2);         // read ...
    F.WriteBuffer("ab", 2);       // ... then write without a seek ...
    F.ReadBuffer(Buf, 2);         // ... then read again
    EXPECT_EQ(std::string(Buf, 2), "45");
    F.SetSize(8);
    EXPECT_EQ(F.Size(), 8);
    EXPECT_EQ(F.Position(), 6);
    F.Seek(0, soEnd);
    F.WriteBuffer("!", 1);
  }
  TMemoryStream M;
  M.LoadFromFile(Name);
  EXPECT_EQ(Bytes(M), "01ab4567!");

  // fmCreate truncates an existing file.
  { TFileStream F(Name, fmCreate); }
  EXPECT_EQ(std::filesystem::file_size(Dir / "rw.txt"), 0u);
}

TEST_F(FileStreamTest, OpenAndCreateErrorsNameTheFile) {
  const AnsiString Missing = PathOf("missing.bin");
  const AnsiString NoDir = PathOf("no_such_dir/new.bin");
  EXPECT_EQ(ErrorOf([&] { TFileStream F(Missing, fmOpenRead); }), "EFOpenError: Cannot open file " + Missing.str());
  EXPECT_EQ(ErrorOf([&] { TFileStream F(Missing, fmOpenReadWrite); }), "EFOpenError: Cannot open file " + Missing.str());
  EXPECT_EQ(ErrorOf([&] { TFileStream F(NoDir, fmCreate); }), "EFCreateError: Cannot create file " + NoDir.str());
  EXPECT_FALSE(std::filesystem::exists(Dir / "missing.bin"));
  EXPECT_THROW(TMemoryStream().LoadFromFile(Missing), EStreamError);
  TStringList L;
  EXPECT_EQ(ErrorOf([&] { L.LoadFromFile(Missing); }), "EFOpenError: Cannot open file " + Missing.str());
}

TEST_F(FileStreamTest, StringListAndMemoryStreamFiles) {
  const AnsiString Name = PathOf("lines.txt");
  TStringList L;
  Fill(L, {"first", "", "last"});
  L.SaveToFile(Name);
  EXPECT_EQ(std::filesystem::file_size(Dir / "lines.txt"), 15u);  // CR LF line ends, not translated
  TStringList Back;
  Back.LoadFromFile(Name);
  EXPECT_EQ(Lines(Back), (Strs{"first", "", "last"}));

  TMemoryStream M;
  M.WriteBuffer("\r\n\x1a\0z", 5);
  M.SaveToFile(PathOf("mem.bin"));
  TMemoryStream MB;
  MB.LoadFromFile(PathOf("mem.bin"));
  EXPECT_EQ(Bytes(MB), std::string("\r\n\x1a\0z", 5));
}

// ---------------------------------------------------------------------------------------------
// Collections

class TTestItem : public TCollectionItem {
  ORV_CLASS(TTestItem, TCollectionItem)
public:
  explicit TTestItem(TCollection* C) : TCollectionItem(C) {}
  ~TTestItem() override { ++Destroyed; }
  void Assign(TPersistent* Source) override {
    if (auto* I = dynamic_cast<TTestItem*>(Source)) Label = I->Label;
    else inherited::Assign(Source);
  }
  static TCollectionItem* Make(TCollection* C) { return new TTestItem(C); }
  AnsiString Label;
  static int Destroyed;
};
int TTestItem::Destroyed = 0;
ORV_IMPLEMENT_CLASS(TTestItem, TCollectionItem)

// Records the collection's notifications.
class TLoggedCollection : public TCollection {
  ORV_CLASS(TLoggedCollection, TCollection)
public:
  TLoggedCollection() : TCollection(TTestItem::StaticClass(), &TTestItem::Make) {}
  TTestItem* Item(int I) const { return static_cast<TTestItem*>(Items(I)); }
  TTestItem* AddItem(const char* Label) {
    auto* I = static_cast<TTestItem*>(Add());
    I->Label = Label;
    return I;
  }
  std::vector<std::string> Log;

protected:
  void Update(TCollectionItem* Item) override { Log.push_back(Item ? "update item" : "update all"); }
  void Notify(TCollectionItem* Item, bool Added) override { Log.push_back(Added ? "added" : "removed"); }
};
ORV_IMPLEMENT_CLASS(TLoggedCollection, TCollection)

std::vector<std::string> Labels(const TLoggedCollection& C) {
  std::vector<std::string> R;
  for (int I = 0; I < C.Count(); ++I) R.push_back(C.Item(I)->Label.str() + "#" + std::to_string(C.Item(I)->ID()));
  return R;
}

TEST(Collection, ItemsKeepTheirIdAcrossDeletesAndMoves) {
  TLoggedCollection C;
  TTestItem* A = C.AddItem("a");
  TTestItem* B = C.AddItem("b");
  C.AddItem("c");
  EXPECT_EQ(C.Count(), 3);
  EXPECT_EQ(B->Collection(), &C);
  EXPECT_EQ(B->Index(), 1);
  EXPECT_EQ(Labels(C), (Strs{"a#0", "b#1", "c#2"}));

  C.Delete(1);
  EXPECT_EQ(Labels(C), (Strs{"a#0", "c#2"}));
  C.AddItem("d");  // IDs are not reused
  EXPECT_EQ(Labels(C), (Strs{"a#0", "c#2", "d#3"}));
  EXPECT_EQ(C.FindItemID(2), C.Items(1));
  EXPECT_EQ(C.FindItemID(1), nullptr);

  A->SetIndex(2);
  EXPECT_EQ(Labels(C), (Strs{"c#2", "d#3", "a#0"}));
  EXPECT_EQ(A->Index(), 2);
  EXPECT_EQ(ErrorOf([&] { A->SetIndex(3); }), "EListError: List index out of bounds (3)");
  EXPECT_EQ(Labels(C), (Strs{"c#2", "d#3", "a#0"}));

  TCollectionItem* Front = C.Insert(0);
  EXPECT_EQ(Front->Index(), 0);
  EXPECT_EQ(Front->ID(), 4);
  EXPECT_EQ(C.Count(), 4);
  EXPECT_EQ(ErrorOf([&] { C.Insert(9); }), "EListError: List index out of bounds (9)");
  EXPECT_EQ(C.Count(), 4);

  delete A;  // freeing an item takes it out
  EXPECT_EQ(C.Count(), 3);
  EXPECT_EQ(C.FindItemID(0), nullptr);
}

TEST(Collection, BadIndexesRaiseListError) {
  TLoggedCollection C;
  C.AddItem("a");
  EXPECT_EQ(ErrorOf([&] { C.Items(1); }), "EListError: List index out of bounds (1)");
  EXPECT_EQ(ErrorOf([&] { C.Items(-1); }), "EListError: List index out of bounds (-1)");
  EXPECT_EQ(ErrorOf([&] { C.Delete(1); }), "EListError: List index out of bounds (1)");
  EXPECT_EQ(C.Count(), 1);
}

TEST(Collection, FreesItsItemsAndNotifies) {
  int Before = TTestItem::Destroyed;
  {
    TLoggedCollection C;
    C.AddItem("a");
    C.AddItem("b");
    EXPECT_EQ(C.Log, (Strs{"added", "update all", "added", "update all"}));
    C.Log.clear();
    C.BeginUpdate();
    C.AddItem("c");
    C.Delete(0);
    C.EndUpdate();
    EXPECT_EQ(C.Log, (Strs{"added", "removed", "update all"}));
    EXPECT_EQ(TTestItem::Destroyed, Before + 1);
  }
  EXPECT_EQ(TTestItem::Destroyed, Before + 3);
}

TEST(Collection, ItemsMoveBetweenCollectionsAndAssignCopies) {
  TLoggedCollection One, Two;
  One.AddItem("a");
  TTestItem* B = One.AddItem("b");
  Two.AddItem("x");
  B->SetCollection(&Two);
  EXPECT_EQ(Labels(One), (Strs{"a#0"}));
  EXPECT_EQ(Labels(Two), (Strs{"x#0", "b#1"}));

  One.Assign(&Two);
  EXPECT_EQ(Labels(One), (Strs{"x#2", "b#3"}));  // copies get new IDs
  EXPECT_EQ(Labels(Two), (Strs{"x#0", "b#1"}));
  TStringList L;
  EXPECT_EQ(ErrorOf([&] { One.Assign(&L); }), "EConvertError: Cannot assign a TStringList to a TLoggedCollection");
}

TEST(Collection, FactoryProblemsAreReported) {
  TCollection NoFactory(TTestItem::StaticClass(), nullptr);
  EXPECT_EQ(ErrorOf([&] { NoFactory.Add(); }), "EInvalidOperation: Cannot create items of TCollection");

  // A factory making the wrong class: the item is dropped, not kept.
  TCollection Wrong(TTestItem::StaticClass(), [](TCollection* C) { return new TCollectionItem(C); });
  EXPECT_EQ(ErrorOf([&] { Wrong.Add(); }), "EListError: Invalid property value");
  EXPECT_EQ(Wrong.Count(), 0);
}

TEST(Collection, NamePathsWithoutAnOwner) {
  TLoggedCollection C;
  TTestItem* A = C.AddItem("a");
  TTestItem* B = C.AddItem("b");
  EXPECT_EQ(C.GetNamePath(), "TLoggedCollection");
  EXPECT_EQ(B->GetNamePath(), "TLoggedCollection[1]");
  EXPECT_EQ(A->DisplayName(), "TTestItem");
  EXPECT_EQ(A->GetOwner(), &C);
}

}  // namespace
