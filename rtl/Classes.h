// Object model: class identity, closures, persistent objects, components, lists, strings, streams.
#pragma once
#include "rtl/SysUtils.h"
#include <cstdint>
#include <typeinfo>
#include <vector>
#include <atomic>
#include <exception>
#include <functional>
#include <cstdio>

class TObject;
class TPersistent;
class TComponent;
class TFiler;
class TReader;
class TWriter;
class TStream;
struct TPropInfo;
struct TPublishedField;
struct TPublishedMethod;
struct TEnumType;

// ---------------------------------------------------------------------------------------------
// Class identity. Every class derived from TObject declares ORV_CLASS(TName, TBase) in its body
// and ORV_IMPLEMENT_CLASS (or one of its variants) in its .cpp.

struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  // Factory for components (new + AfterConstruction); null for abstract or non-component classes.
  TComponent* (*Create)(TComponent* Owner);
  // Published properties, fields and methods declared by this class alone (not its parents).
  const TPropInfo* Props = nullptr;
  int PropCount = 0;
  const TPublishedField* Fields = nullptr;
  int FieldCount = 0;
  const TPublishedMethod* Methods = nullptr;
  int MethodCount = 0;

  bool InheritsFrom(const TClassInfo* Ancestor) const;
  const TPropInfo* FindProp(const AnsiString& PropName) const;       // searches parents too
  const TPublishedField* FindField(const AnsiString& FieldName) const;
  const TPublishedMethod* FindMethod(const AnsiString& MethodName) const;
  const TPublishedMethod* FindMethodByCode(void (*Code)()) const;
  // Every published property, base class first.
  std::vector<const TPropInfo*> AllProps() const;
};
using TClass = const TClassInfo*;

#define ORV_CLASS(T, Base)                                       \
public:                                                          \
  using inherited = Base;                                        \
  static TClass StaticClass();                                   \
  TClass ClassType() const override { return StaticClass(); }   \
private:

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  AnsiString ClassName() const { return ClassType()->Name; }
  bool InheritsFrom(TClass C) const { return ClassType()->InheritsFrom(C); }
  template <class T> bool Is() const { return InheritsFrom(T::StaticClass()); }

  // Called by the factories after the most-derived constructor, and before delete by Free.
  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}
  // Message dispatch by number; the root ends in DefaultHandler.
  virtual void Dispatch(struct TMessage& Message);
  virtual void DefaultHandler(struct TMessage& Message) {}

  // BeforeDestruction, then delete. Safe on null.
  static void Free(TObject* Obj) { if (Obj) { Obj->BeforeDestruction(); delete Obj; } }
  void Free() { Free(this); }
};

// Creates an object and runs AfterConstruction, the two-phase construction every factory uses.
template <class T, class... A> T* New(A&&... Args) {
  T* Obj = new T(std::forward<A>(Args)...);
  try { Obj->AfterConstruction(); } catch (...) { TObject::Free(Obj); throw; }
  return Obj;
}

// Frees the object and sets the pointer to null.
template <class T> void FreeAndNil(T*& Obj) { T* P = Obj; Obj = nullptr; TObject::Free(P); }

// Generic window-style message record (used by the class library; defined here so TObject can
// dispatch it).
struct TMessage {
  unsigned Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// Registry of streamable classes by name.
void RegisterClass(TClass C);
void RegisterClasses(std::initializer_list<TClass> Classes);
void UnRegisterClass(TClass C);
TClass GetClass(const AnsiString& ClassName);   // null when unknown
TClass FindClass(const AnsiString& ClassName);  // EClassNotFound "Class %s not found"
std::vector<TClass> RegisteredClasses();

// Component registration for a designer's palette. The designer installs the hook while it runs
// (SetRegisterComponentsProc returns the hook it replaces). RegisterComponents makes each class
// streamable (RegisterClass) and hands the page and the classes to the hook; without a hook it
// raises EComponentError "Invalid component registration" and registers nothing.
using TRegisterComponentsProc = std::function<void(const AnsiString& Page, const std::vector<TClass>& Classes)>;
TRegisterComponentsProc SetRegisterComponentsProc(TRegisterComponentsProc Proc);
void RegisterComponents(const AnsiString& Page, std::initializer_list<TClass> Classes);
void RegisterComponents(const AnsiString& Page, const std::vector<TClass>& Classes);

// ---------------------------------------------------------------------------------------------
// Closures: object + member function, assignable, nullable, comparable.
// Untyped form, used by published-property tables and the form reader and writer.
struct TMethod {
  TObject* Data = nullptr;
  void (*Code)() = nullptr;   // the closure's thunk, cast to a common function type
  explicit operator bool() const { return Code != nullptr; }
  friend bool operator==(const TMethod& A, const TMethod& B) { return A.Data == B.Data && A.Code == B.Code; }
};

template <class... Args> class TClosure {
  template <class P> struct MemberClass;
  template <class D, class... A> struct MemberClass<void (D::*)(A...)> { using type = D; };
public:
  using Thunk = void (*)(TObject*, Args...);
  TClosure() = default;
  TClosure(std::nullptr_t) {}
  TClosure(TObject* Obj, Thunk Fn) : FObj(Obj), FFn(Fn) {}

  // TClosure<...>::Bind<&TForm1::Button1Click>(this)
  // The thunk is made for the class declaring M, so one method gives one thunk whatever
  // derived pointer binds it (the form writer finds published methods by thunk).
  template <auto M, class C> static TClosure Bind(C* Obj) {
    using D = typename MemberClass<decltype(M)>::type;
    return TClosure(static_cast<TObject*>(static_cast<D*>(Obj)), &Call<M, D>);
  }
  template <auto M, class C> static void Call(TObject* Obj, Args... A) { (static_cast<C*>(Obj)->*M)(A...); }

  explicit operator bool() const { return FFn != nullptr; }
  void operator()(Args... A) const { if (FFn) FFn(FObj, A...); }
  friend bool operator==(const TClosure& X, const TClosure& Y) { return X.FObj == Y.FObj && X.FFn == Y.FFn; }

  TMethod Method() const { return TMethod{FObj, reinterpret_cast<void (*)()>(FFn)}; }
  static TClosure FromMethod(const TMethod& M) { return TClosure(M.Data, reinterpret_cast<Thunk>(M.Code)); }
  TObject* Object() const { return FObj; }

private:
  TObject* FObj = nullptr;
  Thunk FFn = nullptr;
};

// Binds a member function to an event: OnClick = EVENT(this, TForm1::Button1Click);
#define EVENT(Obj, Member) \
  (decltype(::orv_detail::EventOf(&Member))::Bind<&Member>(Obj))
namespace orv_detail {
template <class C, class... A> TClosure<A...> EventOf(void (C::*)(A...));
}

using TNotifyEvent = TClosure<TObject* /*Sender*/>;
using TGetStrProc = std::function<void(const AnsiString&)>;

// ---------------------------------------------------------------------------------------------
class TPersistent : public TObject {
  ORV_CLASS(TPersistent, TObject)
public:
  // Copies Source into this object; EConvertError "Cannot assign a %s to a %s" when neither side
  // knows how.
  virtual void Assign(TPersistent* Source);
  virtual AnsiString GetNamePath() const;
  // Non-property data streamed with the object (TFiler::DefineProperty / DefineBinaryProperty).
  virtual void DefineProperties(TFiler* Filer) {}
  virtual TPersistent* GetOwner() const { return nullptr; }
protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};

// ---------------------------------------------------------------------------------------------
enum TComponentStateFlag {
  csLoading = 1 << 0, csReading = 1 << 1, csWriting = 1 << 2, csDestroying = 1 << 3,
  csDesigning = 1 << 4, csAncestor = 1 << 5, csUpdating = 1 << 6, csFixups = 1 << 7,
  csFreeNotification = 1 << 8, csInline = 1 << 9, csDesignInstance = 1 << 10,
};
using TComponentState = unsigned;
enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  ORV_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return int(FComponents.size()); }
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  TComponent* FindComponent(const AnsiString& AName) const;  // case-insensitive; null when absent

  const AnsiString& Name() const { return FName; }
  // Must be a valid identifier ("" allowed): EComponentError "'%s' is not a valid component name";
  // unique within the owner: EComponentError "A component named %s already exists".
  virtual void SetName(const AnsiString& NewName);
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }
  TComponentState ComponentState() const { return FComponentState; }
  bool HasState(unsigned Flags) const { return (FComponentState & Flags) != 0; }

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  void Destroying();  // sets csDestroying here and in every owned component

  // AComponent will notify this one (opRemove) when it is destroyed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Streaming hooks.
  virtual void Loaded();
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  // Children written after this component's properties (default: the owned components, for a root).
  virtual void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root);
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) {}
  AnsiString GetNamePath() const override { return FName; }
  TPersistent* GetOwner() const override { return FOwner; }
  // Designer position of a non-visual component (Left in the low, Top in the high 16 bits),
  // streamed as "Left" and "Top".
  int DesignInfo() const { return FDesignInfo; }
  void SetDesignInfo(int Value) { FDesignInfo = Value; }
  void DefineProperties(TFiler* Filer) override;

  void SetDesigning(bool Value);
  void SetLoadingState(bool Value);  // sets or clears csLoading and csReading (reader use)

  // Factory: TComponent::Create<TFoo>(Owner) constructs and runs AfterConstruction.
  template <class T> static T* Create(TComponent* AOwner) { return New<T>(AOwner); }

protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName);
  virtual void ValidateInsert(TComponent* AComponent) {}
  void SetComponentStateFlag(unsigned Flag, bool On);

private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void BindField(TComponent* AComponent, bool Bind);
  void RemoveNotification(TComponent* AComponent);
  void TearDown();

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  AnsiString FName;
  int FTag = 0;
  int FDesignInfo = 0;
  TComponentState FComponentState = 0;
  bool FTornDown = false;  // the BeforeDestruction work has run
  friend class TReader;
  friend class TWriter;
};

// Defines TFoo::StaticClass for a component class with a public (TComponent* Owner) constructor.
// Props/Fields/Methods are arrays defined before the macro (or use the _NOPROPS variant).

// ---------------------------------------------------------------------------------------------
// Lists.
class TList : public TObject {
  ORV_CLASS(TList, TObject)
public:
  int Count() const { return int(FItems.size()); }
  void* Items(int Index) const;         // EListError "List index out of bounds (%d)"
  void SetItems(int Index, void* Item);
  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  int Remove(void* Item);               // index removed, -1 when absent
  int IndexOf(void* Item) const;
  void Clear() { FItems.clear(); }
  void Exchange(int A, int B);
  void Move(int CurIndex, int NewIndex);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  void Sort(int (*Compare)(void*, void*));
private:
  std::vector<void*> FItems;
};

class TStrings : public TPersistent {
  ORV_CLASS(TStrings, TPersistent)
public:
  virtual int Count() const = 0;
  virtual AnsiString Get(int Index) const = 0;
  virtual void Put(int Index, const AnsiString& S);
  virtual TObject* GetObject(int Index) const { return nullptr; }
  virtual void PutObject(int Index, TObject* AObject) {}
  virtual void Insert(int Index, const AnsiString& S) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual int Add(const AnsiString& S);
  virtual int AddObject(const AnsiString& S, TObject* AObject);
  virtual int IndexOf(const AnsiString& S) const;        // case-insensitive
  int IndexOfObject(TObject* AObject) const;
  int IndexOfName(const AnsiString& Name) const;
  void AddStrings(TStrings* Strings);
  void Exchange(int A, int B);
  void Move(int CurIndex, int NewIndex);

  AnsiString Strings(int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  AnsiString operator[](int Index) const { return Get(Index); }

  // Lines joined by CR LF, each followed by it; setting splits on CR LF, LF or CR.
  virtual AnsiString Text() const;
  virtual void SetText(const AnsiString& Value);
  AnsiString CommaText() const;
  void SetCommaText(const AnsiString& Value);
  AnsiString Names(int Index) const;
  AnsiString Values(const AnsiString& Name) const;
  void SetValues(const AnsiString& Name, const AnsiString& Value);

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream) const;
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName) const;

  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;  // "Strings" list property
protected:
  virtual void SetUpdateState(bool Updating) {}
private:
  int FUpdateCount = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
  ORV_CLASS(TStringList, TStrings)
public:
  ~TStringList() override;
  int Count() const override { return int(FItems.size()); }
  AnsiString Get(int Index) const override;    // EStringListError "List index out of bounds (%d)"
  void Put(int Index, const AnsiString& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void Insert(int Index, const AnsiString& S) override;  // EStringListError on a sorted list
  void Delete(int Index) override;
  void Clear() override;
  int Add(const AnsiString& S) override;
  int AddObject(const AnsiString& S, TObject* AObject) override;
  int IndexOf(const AnsiString& S) const override;
  bool Find(const AnsiString& S, int& Index) const;   // sorted lists: binary search
  void Sort();
  void CustomSort(int (*Compare)(TStringList*, int, int));

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // The list frees the objects it holds when true.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;
protected:
  void SetUpdateState(bool Updating) override;
  virtual void Changed();
  virtual void Changing();
private:
  int CompareStrings(const AnsiString& A, const AnsiString& B) const;
  struct Item { AnsiString S; TObject* Obj = nullptr; };
  std::vector<Item> FItems;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  TDuplicates FDuplicates = dupIgnore;
};

// ---------------------------------------------------------------------------------------------
// Streams. Read/Write return the count moved; ReadBuffer/WriteBuffer raise EReadError
// "Stream read error" / EWriteError "Stream write error" when short.
enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
  ORV_CLASS(TStream, TObject)
public:
  virtual int Read(void* Buffer, int Count) = 0;
  virtual int Write(const void* Buffer, int Count) = 0;
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
  void ReadBuffer(void* Buffer, int Count);
  void WriteBuffer(const void* Buffer, int Count);
  int64_t CopyFrom(TStream* Source, int64_t Count);  // Count 0 copies the whole source
  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize);
};

class TCustomMemoryStream : public TStream {
  ORV_CLASS(TCustomMemoryStream, TStream)
public:
  int Read(void* Buffer, int Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  const void* Memory() const { return FMemory; }
  void* Memory() { return FMemory; }
  void SaveToStream(TStream* Stream) const;
  void SaveToFile(const AnsiString& FileName) const;
protected:
  void SetPointer(void* Ptr, int64_t Size) { FMemory = Ptr; FSize = Size; }
  void* FMemory = nullptr;
  int64_t FSize = 0;
  int64_t FPosition = 0;
};

class TMemoryStream : public TCustomMemoryStream {
  ORV_CLASS(TMemoryStream, TCustomMemoryStream)
public:
  int Write(const void* Buffer, int Count) override;
  void SetSize(int64_t NewSize) override;
  void Clear();
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const AnsiString& FileName);
  TMemoryStream() = default;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;
  ~TMemoryStream() override;
private:
  // Grows the block to at least NewCapacity bytes (doubling); bytes past FSize are undefined.
  void Reserve(size_t NewCapacity);
  unsigned char* FBuffer = nullptr;
  size_t FCapacity = 0;
};

// Read-only stream over memory it does not own (resources).
class TReadOnlyMemoryStream : public TCustomMemoryStream {
  ORV_CLASS(TReadOnlyMemoryStream, TCustomMemoryStream)
public:
  TReadOnlyMemoryStream(const void* Data, int64_t Size) { SetPointer(const_cast<void*>(Data), Size); }
  int Write(const void* Buffer, int Count) override;  // EStreamError "Can't write to a read-only stream"
};

enum : unsigned short { fmCreate = 0xFFFF, fmOpenRead = 0, fmOpenWrite = 1, fmOpenReadWrite = 2,
                        fmShareDenyNone = 0x40 };

class TFileStream : public TStream {
  ORV_CLASS(TFileStream, TStream)
public:
  // EFCreateError "Cannot create file %s" / EFOpenError "Cannot open file %s".
  TFileStream(const AnsiString& FileName, unsigned short Mode);
  ~TFileStream() override;
  int Read(void* Buffer, int Count) override;
  int Write(const void* Buffer, int Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const AnsiString& FileName() const { return FFileName; }
private:
  AnsiString FFileName;
  std::FILE* FFile = nullptr;
  int FLastOp = 0;  // 1 read, 2 write: C streams need a seek when the direction changes
};

class TStringStream : public TStream {
  ORV_CLASS(TStringStream, TStream)
public:
  explicit TStringStream(const AnsiString& S = AnsiString()) : FData(S) {}
  int Read(void* Buffer, int Count) override;
  int Write(const void* Buffer, int Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const AnsiString& DataString() const { return FData; }
private:
  AnsiString FData;
  int64_t FPosition = 0;
};

// ---------------------------------------------------------------------------------------------
// Collections (streamed as vaCollection of items).
class TCollection;
class TCollectionItem : public TPersistent {
  ORV_CLASS(TCollectionItem, TPersistent)
public:
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;
  TCollection* Collection() const { return FCollection; }
  void SetCollection(TCollection* Value);
  int Index() const;
  void SetIndex(int Value);
  int ID() const { return FID; }
  virtual AnsiString DisplayName() const;
  TPersistent* GetOwner() const override;
  AnsiString GetNamePath() const override;  // "Owner.Prop[Index]"
protected:
  void Changed(bool AllItems);
private:
  TCollection* FCollection = nullptr;
  int FID = 0;
  friend class TCollection;
};

class TCollection : public TPersistent {
  ORV_CLASS(TCollection, TPersistent)
public:
  using ItemFactory = TCollectionItem* (*)(TCollection*);
  TCollection(TClass ItemClass, ItemFactory Factory);
  ~TCollection() override;
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  int Count() const { return int(FItems.size()); }
  TCollectionItem* Items(int Index) const;  // EListError "List index out of bounds (%d)"
  TCollectionItem* FindItemID(int ID) const;
  TClass ItemClass() const { return FItemClass; }
  void BeginUpdate();
  void EndUpdate();
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() const override { return nullptr; }
  AnsiString GetNamePath() const override;  // "Owner.Prop" (the owner's property holding it)
protected:
  virtual void Update(TCollectionItem* Item) {}
  virtual void Notify(TCollectionItem* Item, bool Added) {}
  void Changed();
private:
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  TClass FItemClass;
  ItemFactory FFactory;
  std::vector<TCollectionItem*> FItems;
  int FNextID = 0;
  int FUpdateCount = 0;
  friend class TCollectionItem;
};

// A collection owned by a persistent object (its owner for name paths and the designer).
class TOwnedCollection : public TCollection {
  ORV_CLASS(TOwnedCollection, TCollection)
public:
  TOwnedCollection(TPersistent* AOwner, TClass ItemClass, ItemFactory Factory)
      : TCollection(ItemClass, Factory), FOwner(AOwner) {}
  TPersistent* GetOwner() const override { return FOwner; }
private:
  TPersistent* FOwner;
};

// ---------------------------------------------------------------------------------------------
// Threads (Windows targets). A thread object is made with New<T>(CreateSuspended, ...): the
// system thread is created suspended in the constructor and started by AfterConstruction unless
// CreateSuspended; Resume starts a thread created suspended. A running thread is never
// suspended. Execute runs on the thread; an exception leaving it ends that thread alone and is
// kept in FatalException. Freeing a running thread object terminates it and waits for it.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
extern const TEnumType TThreadPriorityType;

using TThreadMethod = TClosure<>;

class TThread : public TObject {
  ORV_CLASS(TThread, TObject)
public:
  // EThread "Thread creation error: %s" when the system refuses the thread.
  explicit TThread(bool CreateSuspended);
  ~TThread() override;
  void AfterConstruction() override;
  // Terminate, start a thread that never ran (Execute is then skipped) and wait for it.
  void BeforeDestruction() override;

  // Starts a thread created suspended; nothing once it has started.
  void Resume();
  // Sets Terminated; Execute is expected to look at it and return.
  void Terminate() { FTerminated = true; }
  // Waits until the thread has ended and returns its ReturnValue. On the main thread calls that
  // threads synchronise still run, and messages sent to its windows are handled, meanwhile.
  // EThread for the thread itself or a thread that never started.
  int WaitFor();

  bool Terminated() const { return FTerminated; }
  // Created suspended and not started yet.
  bool Suspended() const { return FSuspended; }
  // Execute and OnTerminate are done.
  bool Finished() const { return FFinished; }
  // The object frees itself when the thread ends.
  bool FreeOnTerminate() const { return FFreeOnTerminate; }
  void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }
  // Over GetThreadPriority / SetThreadPriority (EThread when refused).
  TThreadPriority Priority() const;
  void SetPriority(TThreadPriority Value);
  // The system thread handle (a HANDLE) and identifier.
  uintptr_t Handle() const { return FHandle; }
  unsigned ThreadID() const { return FThreadID; }
  int ReturnValue() const { return FReturnValue; }
  // The exception that ended Execute, null when it returned.
  std::exception_ptr FatalException() const { return FFatalException; }

  // Runs on the main thread, synchronised, once the thread has finished Execute.
  TNotifyEvent OnTerminate;

  // Runs Method on the main thread and waits for it: the call is queued and the main thread
  // woken (WakeMainThread); the main thread runs it in CheckSynchronize. An exception Method
  // raises is raised again here. On the main thread Method simply runs. Thread may be null for
  // a thread that is not a TThread; it identifies the call for RemoveQueuedEvents.
  static void Synchronize(TThread* Thread, TThreadMethod Method);
  // Withdraws the calls Thread queued that have not started: each one's Synchronize returns
  // without running it.
  static void RemoveQueuedEvents(TThread* Thread);

protected:
  virtual void Execute() = 0;
  // OnTerminate, synchronised.
  virtual void DoTerminate();
  void Synchronize(TThreadMethod Method) { Synchronize(this, Method); }
  void SetReturnValue(int Value) { FReturnValue = Value; }

private:
  friend struct TThreadStart;
  void Run();
  void CallOnTerminate();

  uintptr_t FHandle = 0;
  unsigned FThreadID = 0;
  int FReturnValue = 0;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FSuspended{true};
  std::atomic<bool> FFinished{false};
  std::atomic<bool> FFreeOnTerminate{false};
  bool FCreateSuspended;
  std::exception_ptr FFatalException;
};

// The thread that started the program (the GUI thread).
extern const unsigned MainThreadID;

// On the main thread: waits up to Timeout ms for a queued call, then runs every queued call in
// order (a call that pumps messages may run the later ones itself). True when any ran.
// EThread from another thread.
bool CheckSynchronize(int Timeout = 0);

// Waits for a system object (a HANDLE) to be signalled. On the main thread calls that threads
// synchronise still run, and messages sent to its windows are handled, meanwhile, as in WaitFor.
// EThread when the wait fails.
void WaitSynchronizing(uintptr_t Object);

// Called (on the synchronising thread) after a call was queued, to wake the main thread; the
// class library posts a message to the application window. Returns the previous procedure.
using TWakeMainThreadProc = void (*)();
TWakeMainThreadProc SetWakeMainThread(TWakeMainThreadProc Proc);
