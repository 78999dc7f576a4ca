// Form streaming: TFiler, TReader, TWriter over the binary form format ("TPF0" signature, typed
// values, nested objects), and conversion between the binary and the text form.
#pragma once
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"
#include <functional>
#include <vector>

// Value tags of the binary format.
enum TValueType : unsigned char {
  vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5, vaString = 6,
  vaIdent = 7, vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11, vaLString = 12, vaNil = 13,
  vaCollection = 14, vaSingle = 15, vaCurrency = 16, vaDate = 17, vaWString = 18, vaInt64 = 19,
  vaUTF8String = 20,
};

// Object prefix flags (stored as 0xF0 | flags before the class name).
enum TFilerFlag : unsigned { ffInherited = 1, ffChildPos = 2, ffInline = 4 };
using TFilerFlags = unsigned;

// Text-form syntax errors: "<what> on line <n>".
ORV_EXCEPTION(EParserError, EReadError)

using TReaderProc = std::function<void(TReader*)>;
using TWriterProc = std::function<void(TWriter*)>;
using TStreamProc = std::function<void(TStream*)>;

// 80-bit x87 extended encoding (10 bytes, little endian), independent of the host's long double.
void EncodeExtended(long double Value, unsigned char Out[10]);
long double DecodeExtended(const unsigned char In[10]);

class TFiler : public TObject {
  ORV_CLASS(TFiler, TObject)
public:
  explicit TFiler(TStream* Stream) : FStream(Stream) {}
  // Non-property data of an object: the reader calls ReadData when the property being read has
  // this name; the writer writes the name and calls WriteData when HasData.
  virtual void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                              const TWriterProc& WriteData, bool HasData) = 0;
  // The same for a block of bytes (stored as vaBinary with a byte count).
  virtual void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                                    const TStreamProc& WriteData, bool HasData) = 0;

  TStream* Stream() const { return FStream; }
  TComponent* Root() const { return FRoot; }
  TComponent* LookupRoot() const { return FLookupRoot; }
  // Writer: the object this one is compared with (inherited forms); null otherwise.
  TPersistent* Ancestor() const { return FAncestor; }
  bool IgnoreChildren() const { return FIgnoreChildren; }
  void SetIgnoreChildren(bool Value) { FIgnoreChildren = Value; }

protected:
  TStream* FStream;
  TComponent* FRoot = nullptr;
  TComponent* FLookupRoot = nullptr;
  TPersistent* FAncestor = nullptr;
  bool FIgnoreChildren = false;
};

class TReader : public TFiler {
  ORV_CLASS(TReader, TFiler)
public:
  explicit TReader(TStream* Stream);
  ~TReader() override;

  void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  // Reads a whole form into Root (or, when Root is null, into a new object of the stream's class,
  // which must be registered). References are fixed up, then Loaded runs for every component
  // read. Partially read components are freed on error.
  TComponent* ReadRootComponent(TComponent* Root);
  // Reads one nested object (prefix, class, name, properties, children); Component null creates
  // it with Owner() as owner.
  TComponent* ReadComponent(TComponent* Component);
  // Properties then children of Instance (TComponent::ReadState).
  void ReadData(TComponent* Instance);
  void ReadProperty(TPersistent* Instance);
  void ReadCollection(TCollection* Collection);

  void ReadSignature();
  void ReadPrefix(TFilerFlags& Flags, int& ChildPos);

  TValueType ReadValue();
  TValueType NextValue();  // peeks
  void CheckValue(TValueType Value);
  void SkipValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  bool ReadBoolean();
  char ReadChar();
  int ReadInteger();
  int64_t ReadInt64();
  long double ReadFloat();
  float ReadSingle();
  double ReadDate();
  int64_t ReadCurrency();  // raw count of 1/10000 units
  AnsiString ReadString();  // vaString, vaLString, vaWString, vaUTF8String (to the ANSI code page)
  std::u16string ReadWideString();
  AnsiString ReadIdent();   // vaIdent, and False/True/nil/Null for their tags
  AnsiString ReadStr();     // raw short string (length byte + chars)
  // Raw bytes from the stream, bounded like every read.
  void Read(void* Buffer, int Count);

  int64_t Position() const;
  void SetPosition(int64_t Value);

  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* Value) { FOwner = Value; }
  TComponent* Parent() const { return FParent; }
  void SetParent(TComponent* Value) { FParent = Value; }
  // The property being read (dotted path), for messages.
  const AnsiString& PropName() const { return FPropPath; }

  // EReadError "<What> at offset <n>".
  [[noreturn]] void Error(const AnsiString& What) const;
  // Bounds the recursion of everything that reads nested values (EReadError when too deep).
  void EnterNesting();
  void LeaveNesting() { --FNesting; }
  struct NestingGuard {
    TReader* R;
    explicit NestingGuard(TReader* AR) : R(AR) { R->EnterNesting(); }
    ~NestingGuard() { R->LeaveNesting(); }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
  };
  // Length of a counted value (int32), checked against the bytes left in the stream.
  int ReadLength(int UnitSize = 1);
  // Components read by this reader are collected here and their Loaded is left to the caller
  // (several form resources read into one root); null: ReadRootComponent runs Loaded itself.
  void SetLoadedList(std::vector<TComponent*>* List) { FLoaded = List; }

private:
  struct Fixup {
    TObject* Instance;
    const TPropInfo* Prop;
    AnsiString Name;
    AnsiString Where;
  };
  int64_t Remaining() const;
  uint8_t ReadByte();
  void SkipBytes(int64_t Count);
  [[noreturn]] void ValueError(TValueType Found);
  void ReadPropValue(TPersistent* Instance, const TPropInfo* Prop);
  int64_t ReadSet(const TEnumType* Type);
  void ReadMethodProp(TPersistent* Instance, const TPropInfo* Prop);
  void DoFixupReferences();
  TComponent* FindReference(const AnsiString& Name) const;
  TClass FindComponentClass(const AnsiString& ClassName) const;
  void DiscardCreated(size_t From);

  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  AnsiString FPropName;   // last segment, cleared by DefineProperty when handled
  AnsiString FPropPath;   // "Button1.Font.Name", for messages
  std::vector<Fixup> FFixups;
  std::vector<TComponent*>* FLoaded = nullptr;
  std::vector<TComponent*> FCreated;  // components this reader created, freed on error
  int FNesting = 0;
};

class TWriter : public TFiler {
  ORV_CLASS(TWriter, TFiler)
public:
  explicit TWriter(TStream* Stream);

  void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  void WriteRootComponent(TComponent* Root);
  // Writes Root with every property compared with Ancestor's (an instance of the base form), the
  // components that Ancestor also has flagged as inherited.
  void WriteDescendent(TComponent* Root, TComponent* Ancestor);
  void WriteComponent(TComponent* Component);
  void WriteData(TComponent* Instance);  // TComponent::WriteState
  void WriteProperties(TPersistent* Instance);
  void WriteCollection(TCollection* Value);

  void WriteSignature();
  // An object's prefix (flags, child position) and class name. A class name of 240 characters
  // or more gets a prefix even without flags, so its length byte is not read as one.
  void WritePrefix(TFilerFlags Flags, int ChildPos, const AnsiString& ClassName);
  void WriteValue(TValueType Value);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
  void WriteChar(char Value) { WriteString(AnsiString(Value)); }
  void WriteInteger(int Value);
  void WriteInteger(int64_t Value);
  void WriteFloat(long double Value);
  void WriteSingle(float Value);
  void WriteDate(double Value);
  void WriteCurrency(int64_t Value);  // raw count of 1/10000 units
  void WriteString(const AnsiString& Value);
  void WriteWideString(const std::u16string& Value);
  void WriteIdent(const AnsiString& Ident);
  void WriteStr(const AnsiString& Value);  // raw short string; EWriteError when longer than 255
  void WriteBinary(const TStreamProc& WriteData);
  void Write(const void* Buffer, int Count);

  int64_t Position() const;

private:
  void WriteProperty(TPersistent* Instance, const TPropInfo* Prop);
  void WritePropName(const AnsiString& Name);
  AnsiString ComponentRefName(TComponent* Component) const;
  AnsiString FPropPath;
  TComponent* FRootAncestor = nullptr;
  int FNesting = 0;
  bool FWhole = false;  // inside a sub-object stored always: defaults, '' and 0 are written too
};

// Reads a binary form from Stream into Instance (see TReader::ReadRootComponent).
void ReadComponentRes(TStream* Stream, TComponent* Instance);
// Writes Instance as a binary form.
void WriteComponentRes(TStream* Stream, TComponent* Instance);

// Text form ("object Form1: TForm1 ... end") to binary form and back. Errors: EParserError with
// the line for text, EReadError with the offset for binary.
void ObjectTextToBinary(TStream* Input, TStream* Output);
void ObjectBinaryToText(TStream* Input, TStream* Output);

// Form resources: the class library supplies the binary form of a class by its name (a new
// stream the caller frees, or null when the class has none).
using TFormResourceFinder = TStream* (*)(const char* ClassName);
void SetFormResourceFinder(TFormResourceFinder Finder);
TFormResourceFinder GetFormResourceFinder();
// Reads into Instance the form of every class from just below RootAncestor down to Instance's
// own class, base first, then runs Loaded once for every component read. True when any was found.
bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);

// References to components of other roots ("Form2.Button1") are resolved through this hook
// (the class library finds forms by name); null by default.
using TFindGlobalComponent = TComponent* (*)(const AnsiString& Name);
void SetFindGlobalComponent(TFindGlobalComponent Finder);
