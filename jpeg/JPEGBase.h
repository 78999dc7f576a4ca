// TJPEGBase: the libjpeg object's error manager and progress record shared by the compressor
// and decompressor components; fatal library errors become exceptions, warnings go to an event
// or a warning message dialog, and aborting is safe from any handler.
#pragma once

#include "rtl/Classes.h"
#include "rtl/TypInfo.h"
#include "vcl/Win.h"

#include <csetjmp>
#include <cstdio>
#include <exception>
#include <type_traits>

#include <jpeglib.h>
#include <jerror.h>

// Row size of a device-independent bitmap: rounded up to a multiple of 4 bytes.
constexpr int Round4(int N) { return (N + 3) & ~3; }

// Warning event: the formatted library message.
using TWarningEvent = TClosure<const AnsiString& /*Msg*/>;

// The library's enumerations as published property types.
extern const TEnumType J_DCT_METHODType;   // JDCT_ISLOW, JDCT_IFAST, JDCT_FLOAT
extern const TEnumType J_DITHER_MODEType;  // JDITHER_NONE, JDITHER_ORDERED, JDITHER_FS

class TJPEGBase : public TComponent {
  ORV_CLASS(TJPEGBase, TComponent)
public:
  explicit TJPEGBase(TComponent* AOwner);
  ~TJPEGBase() override;

  // The library's fatal error: raises Exception with its formatted message (dropped while the
  // object is being aborted). Only ever called from the library's error exit.
  virtual void Error();
  // A library message: Level < 0 a corrupt-data warning, 0 and up a trace message. One that is
  // reported goes to OnWarning, else to a warning message dialog with an OK button.
  virtual void Warning(int Level);
  // Calls OnProgressReport; an exception from it aborts the conversion and propagates.
  virtual void DoProgress();
  // Returns the object to its start state. During a conversion (from any handler) this is a
  // request honoured after the current step with Exception "User Interrupt".
  virtual void Abort();

  // Read-only: corrupt-data warnings of the current image.
  int Warnings() const { return FErr.num_warnings; }
  int Trace_Level() const { return FErr.trace_level; }
  void SetTrace_Level(int Value) { FErr.trace_level = Value; }
  // Read-only: percentage of the running conversion (rounded half to even); 0 outside one.
  int PercentDone() const;
  bool InAbort() const { return FInAbort; }
  bool InProgress() const { return FInProgress; }
  bool AbortRequested() const { return FAbortRequested; }

  TNotifyEvent OnProgressReport;
  TWarningEvent OnWarning;

protected:
  // Creates the libjpeg object with Err as its error manager: sets err, client_data (this)
  // and the common-object pointer (AttachCommon). Called by the descendant's constructor,
  // which then calls AttachProgress.
  virtual void CreateJPEGObject(jpeg_error_mgr* Err) = 0;
  void AttachCommon(j_common_ptr Common);
  void AttachProgress();
  // jpeg_destroy; the descendant's destructor calls it while its structure still exists.
  void DestroyJPEGObject();

  static TJPEGBase* FromCommon(j_common_ptr Common);
  j_common_ptr Common() const { return FCommon; }
  jpeg_error_mgr* ErrorManager() { return &FErr; }
  jpeg_progress_mgr* ProgressRecord() { return &FProgress; }

  // Runs Body() with the library's error exit landing in a setjmp frame; afterwards a failure
  // is raised as an exception (the object is aborted first when no outer library call runs).
  // Body must hold no objects with destructors: it is left by longjmp.
  template <class F> void Library(F&& Body) {
    using B = std::remove_reference_t<F>;
    if (!Protect([](void* P) { (*static_cast<B*>(P))(); }, &Body)) RaiseFailure();
  }
  // Inside a library callback: runs Body; an exception it raises is recorded and the library
  // is left through the error exit's jump. Returns only when Body returned normally.
  template <class F> void Callback(F&& Body) {
    bool Failed = false;
    try {
      Body();
    } catch (...) {
      FPending = std::current_exception();
      Failed = true;
    }
    if (Failed) Jump();
  }
  // Leaves the running library call with Exception(Msg).
  [[noreturn]] void JumpWith(const char* Msg);
  [[noreturn]] void Jump();

  // Raises the library's message Code (with up to two integer parameters) from C++ code.
  [[noreturn]] void LibraryError(int Code, int P1 = 0, int P2 = 0);
  // Reports the library's warning Code at Level as the library would.
  void LibraryWarning(int Code, int Level = -1);
  AnsiString FormatLibraryMessage();

  // Conversion bookkeeping: a handler's Abort during a conversion only requests it.
  struct TConversion {
    explicit TConversion(TJPEGBase* B) : Base(B), Outer(B->FConverting) { B->FConverting = true; }
    ~TConversion() { Base->FConverting = Outer; }
    TConversion(const TConversion&) = delete;
    TConversion& operator=(const TConversion&) = delete;
    TJPEGBase* Base;
    bool Outer;
  };
  bool Converting() const { return FConverting; }
  // At a safe point: a requested abort aborts the object and raises "User Interrupt".
  void CheckAbortRequest();
  // After a failed conversion step: aborts the object unless a library call is still active.
  void AbortAfterFailure();
  // jpeg_abort now, errors during it dropped.
  void AbortObject();
  // 100 % reported at the end of a conversion, then the record is cleared.
  void ReportCompletion();
  void ResetProgress();

private:
  bool Protect(void (*Body)(void*), void* Arg);
  [[noreturn]] void RaiseFailure();
  static void ErrorExitThunk(j_common_ptr Common);
  static void EmitMessageThunk(j_common_ptr Common, int Level);
  static void ProgressThunk(j_common_ptr Common);

  jpeg_error_mgr FErr{};
  jpeg_progress_mgr FProgress{};
  j_common_ptr FCommon = nullptr;
  std::jmp_buf* FJump = nullptr;  // innermost active library call
  int FDepth = 0;                 // library calls active
  std::exception_ptr FPending;    // exception to raise after the library call returns
  AnsiString FFailure;            // library message of the last fatal error
  bool FInAbort = false;
  bool FInProgress = false;
  bool FAbortRequested = false;
  bool FConverting = false;
};
