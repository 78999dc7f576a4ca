// TJPEGBase: error exit, messages, progress and abort around the libjpeg object.
#include "jpeg/JPEGBase.h"
#include "vcl/Dialogs.h"

#include <cmath>
#include <cstdlib>
#include <utility>

ORV_IMPLEMENT_ABSTRACT(TJPEGBase, TComponent, nullptr)

constexpr TEnumType J_DCT_METHODType{"J_DCT_METHOD", {"JDCT_ISLOW", "JDCT_IFAST", "JDCT_FLOAT"}};
constexpr TEnumType J_DITHER_MODEType{"J_DITHER_MODE", {"JDITHER_NONE", "JDITHER_ORDERED", "JDITHER_FS"}};

TJPEGBase::TJPEGBase(TComponent* AOwner) : TComponent(AOwner) {
  jpeg_std_error(&FErr);
  FErr.error_exit = &TJPEGBase::ErrorExitThunk;
  FErr.emit_message = &TJPEGBase::EmitMessageThunk;
}

TJPEGBase::~TJPEGBase() { DestroyJPEGObject(); }

void TJPEGBase::AttachCommon(j_common_ptr Common) {
  FCommon = Common;
  FCommon->err = &FErr;
  FCommon->client_data = static_cast<TObject*>(this);
}

void TJPEGBase::AttachProgress() {
  FProgress = jpeg_progress_mgr{};
  FProgress.progress_monitor = &TJPEGBase::ProgressThunk;
  FCommon->progress = &FProgress;
}

void TJPEGBase::DestroyJPEGObject() {
  if (!FCommon) return;
  j_common_ptr C = FCommon;
  FInAbort = true;  // nothing raised while the object goes
  Protect([](void* P) { jpeg_destroy(static_cast<j_common_ptr>(P)); }, C);
  FInAbort = false;
  FCommon = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The setjmp frame. It holds no objects with destructors and is never inlined, so the error
// exit's longjmp only leaves library frames and callback frames that own nothing.

__attribute__((noinline)) bool TJPEGBase::Protect(void (*Body)(void*), void* Arg) {
  std::jmp_buf Env;
  std::jmp_buf* const Outer = FJump;
  FJump = &Env;
  ++FDepth;
  if (setjmp(Env) != 0) {
    FJump = Outer;
    --FDepth;
    return false;
  }
  Body(Arg);
  FJump = Outer;
  --FDepth;
  return true;
}

void TJPEGBase::Jump() {
  if (!FJump) {
    // A library call outside Library(): there is nowhere safe to go.
    std::fputs("vtxjpeg: libjpeg error exit without an active call\n", stderr);
    std::abort();
  }
  std::longjmp(*FJump, 1);
}

void TJPEGBase::JumpWith(const char* Msg) {
  FPending = std::make_exception_ptr(Exception(Msg));
  Jump();
}

void TJPEGBase::RaiseFailure() {
  std::exception_ptr P = std::exchange(FPending, nullptr);
  AnsiString Msg = std::exchange(FFailure, AnsiString());
  AbortAfterFailure();
  if (P) std::rethrow_exception(P);
  throw Exception(Msg.IsEmpty() ? AnsiString("JPEG library error") : Msg);
}

TJPEGBase* TJPEGBase::FromCommon(j_common_ptr Common) {
  TJPEGBase* Self = Common ? dynamic_cast<TJPEGBase*>(static_cast<TObject*>(Common->client_data)) : nullptr;
  if (!Self) {
    std::fputs("vtxjpeg: libjpeg object without its component\n", stderr);
    std::abort();
  }
  return Self;
}

// ---------------------------------------------------------------------------------------------
// Trampolines installed in the error manager and the progress record.

void TJPEGBase::ErrorExitThunk(j_common_ptr Common) {
  TJPEGBase* Self = FromCommon(Common);
  {
    char Buf[JMSG_LENGTH_MAX];
    Common->err->format_message(Common, Buf);
    Self->FFailure = Buf;
  }
  Self->Callback([Self] { Self->Error(); });
  // Never back into the library, also when the error was dropped.
  Self->Jump();
}

void TJPEGBase::EmitMessageThunk(j_common_ptr Common, int Level) {
  TJPEGBase* Self = FromCommon(Common);
  Self->Callback([Self, Level] { Self->Warning(Level); });
}

void TJPEGBase::ProgressThunk(j_common_ptr Common) {
  TJPEGBase* Self = FromCommon(Common);
  Self->Callback([Self] { Self->DoProgress(); });
  if (Self->FAbortRequested) Self->JumpWith("User Interrupt");
}

// ---------------------------------------------------------------------------------------------

AnsiString TJPEGBase::FormatLibraryMessage() {
  char Buf[JMSG_LENGTH_MAX];
  FErr.format_message(FCommon, Buf);
  return AnsiString(Buf);
}

void TJPEGBase::Error() {
  if (FInAbort) return;
  throw Exception(FormatLibraryMessage());
}

void TJPEGBase::LibraryError(int Code, int P1, int P2) {
  FErr.msg_code = Code;
  FErr.msg_parm.i[0] = P1;
  FErr.msg_parm.i[1] = P2;
  Error();
  throw Exception(FormatLibraryMessage());
}

void TJPEGBase::LibraryWarning(int Code, int Level) {
  FErr.msg_code = Code;
  Warning(Level);
}

void TJPEGBase::Warning(int Level) {
  bool Report;
  if (Level < 0) {
    Report = FErr.num_warnings == 0 || FErr.trace_level >= 3;
    ++FErr.num_warnings;
  } else {
    Report = FErr.trace_level >= Level;
  }
  if (!Report) return;
  AnsiString Msg = FormatLibraryMessage();
  if (OnWarning) OnWarning(Msg);
  else MessageDlg(Msg, mtWarning, MsgDlgButtons({mbOK}), 0);
}

void TJPEGBase::DoProgress() {
  if (!OnProgressReport) return;
  FInProgress = true;
  try {
    OnProgressReport(this);
  } catch (...) {
    FInProgress = false;
    Abort();
    throw;
  }
  FInProgress = false;
}

void TJPEGBase::Abort() {
  if (FInProgress || FConverting || FDepth > 0) {
    FAbortRequested = true;
    return;
  }
  AbortObject();
}

void TJPEGBase::AbortObject() {
  if (FCommon) {
    FInAbort = true;
    Protect([](void* P) { jpeg_abort(static_cast<j_common_ptr>(P)); }, FCommon);
    FInAbort = false;
  }
  FPending = nullptr;
  FFailure = AnsiString();
  FAbortRequested = false;
  ResetProgress();
}

void TJPEGBase::AbortAfterFailure() {
  // A nested call's failure leaves the outer call to decide.
  if (FDepth == 0) AbortObject();
}

void TJPEGBase::CheckAbortRequest() {
  if (!FAbortRequested) return;
  AbortObject();
  throw Exception("User Interrupt");
}

void TJPEGBase::ReportCompletion() {
  FProgress.pass_counter = 0;
  FProgress.completed_passes = FProgress.total_passes;
  DoProgress();
}

void TJPEGBase::ResetProgress() {
  FProgress.pass_counter = 0;
  FProgress.pass_limit = 0;
  FProgress.completed_passes = 0;
  FProgress.total_passes = 0;
}

int TJPEGBase::PercentDone() const {
  const jpeg_progress_mgr& P = FProgress;
  if (P.total_passes <= 0) return 0;
  // (counter / limit + completed) / total * 100 in integers, so no evaluation precision moves a
  // half; halves go to the even neighbour, as the runtime's Round does.
  const int64_t Limit = P.pass_limit > 0 ? P.pass_limit : 1, Counter = P.pass_limit > 0 ? P.pass_counter : 0;
  const int64_t Num = (Counter + int64_t(P.completed_passes) * Limit) * 100, Den = Limit * P.total_passes;
  if (Num <= 0) return 0;
  int64_t V = Num / Den;
  const int64_t Twice = 2 * (Num % Den);
  if (Twice > Den || (Twice == Den && (V & 1))) ++V;
  return V > 100 ? 100 : int(V);
}
