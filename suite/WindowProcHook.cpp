#include "suite/WindowProcHook.h"

#include "vcl/Controls.h"

#include <cstring>
#include <vector>

// Each slot's procedure is a 12-byte stub in executable memory that inserts the slot as a first
// argument and jumps to SlotProc:
//   pop eax; push Slot; push eax; jmp SlotProc
struct TqWindowProcHook::TSlot {
  unsigned char* Code = nullptr;   // the stub
  HWND Wnd = nullptr;
  WNDPROC Prev = nullptr;
  TqWindowProcHook* Owner = nullptr;   // null: passing messages on
  THandler Handler;
  bool InChain = false;                // the stub is (or may be) in the window's chain
  int Depth = 0;                       // messages being handled now
  TSlot* NextFree = nullptr;
};

namespace {

constexpr int StubSize = 16;
constexpr int ChunkSize = 4096;

struct TStubPool {
  std::vector<void*> Chunks;
  std::vector<unsigned char*> Free;
  int Live = 0;
  int PassThrough = 0;
  ~TStubPool() {
    // Only when no stub can still be called.
    if (Live == 0)
      for (void* C : Chunks) VirtualFree(C, 0, MEM_RELEASE);
  }
  unsigned char* Take() {
    if (Free.empty()) {
      void* Chunk = VirtualAlloc(nullptr, ChunkSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
      if (!Chunk) throw EOutOfMemory("Out of memory");
      Chunks.push_back(Chunk);
      for (int I = ChunkSize / StubSize - 1; I >= 0; --I)
        Free.push_back(static_cast<unsigned char*>(Chunk) + I * StubSize);
    }
    unsigned char* Stub = Free.back();
    Free.pop_back();
    ++Live;
    return Stub;
  }
  void Give(unsigned char* Stub) {
    std::memset(Stub, 0xCC, StubSize);
    Free.push_back(Stub);
    --Live;
  }
};

TStubPool& Pool() {
  static TStubPool P;
  return P;
}

}  // namespace

TqWindowProcHook::TSlot* TqWindowProcHook::NewSlot() {
  auto* S = new TSlot;
  try {
    S->Code = Pool().Take();
  } catch (...) {
    delete S;
    throw;
  }
  unsigned char* C = S->Code;
  const uint32_t SlotAddr = uint32_t(uintptr_t(S));
  const int32_t Rel = int32_t(uintptr_t(&SlotProc) - (uintptr_t(C) + 12));
  C[0] = 0x58;                       // pop eax
  C[1] = 0x68;                       // push imm32
  std::memcpy(C + 2, &SlotAddr, 4);
  C[6] = 0x50;                       // push eax
  C[7] = 0xE9;                       // jmp rel32
  std::memcpy(C + 8, &Rel, 4);
  FlushInstructionCache(GetCurrentProcess(), C, StubSize);
  return S;
}

void TqWindowProcHook::FreeSlot(TSlot* Slot) {
  Pool().Give(Slot->Code);
  delete Slot;
}

int TqWindowProcHook::PassThroughCount() { return Pool().PassThrough; }

HWND TqWindowProcHook::Window() const { return FSlot ? FSlot->Wnd : nullptr; }

WNDPROC TqWindowProcHook::Procedure() const {
  return FSlot ? reinterpret_cast<WNDPROC>(FSlot->Code) : nullptr;
}

void TqWindowProcHook::Install(HWND Wnd, THandler Handler) {
  if (FSlot) throw EInvalidOperation("The window procedure is already replaced");
  if (!Wnd || !IsWindow(Wnd)) throw EInvalidOperation("Cannot replace the procedure of a window that does not exist");
  TSlot* S = NewSlot();
  S->Wnd = Wnd;
  S->Owner = this;
  S->Handler = Handler;
  S->Prev = reinterpret_cast<WNDPROC>(GetWindowLongA(Wnd, GWL_WNDPROC));
  SetLastError(0);
  LONG Old = SetWindowLongA(Wnd, GWL_WNDPROC, LONG(uintptr_t(S->Code)));
  if (!Old && GetLastError()) {
    DWORD Err = GetLastError();
    FreeSlot(S);
    throw EOSError("Cannot replace the window procedure (error %d)", {int(Err)});
  }
  S->Prev = reinterpret_cast<WNDPROC>(Old);
  S->InChain = true;
  FSlot = S;
}

void TqWindowProcHook::Remove() {
  TSlot* S = FSlot;
  if (!S) return;
  FSlot = nullptr;
  S->Owner = nullptr;
  S->Handler = nullptr;
  if (S->InChain) {
    if (!IsWindow(S->Wnd)) {
      S->InChain = false;
    } else if (GetWindowLongA(S->Wnd, GWL_WNDPROC) == LONG(uintptr_t(S->Code))) {
      SetWindowLongA(S->Wnd, GWL_WNDPROC, LONG(uintptr_t(S->Prev)));
      S->InChain = false;
    }
  }
  if (S->InChain) ++Pool().PassThrough;
  else if (S->Depth == 0) FreeSlot(S);
}

LRESULT TqWindowProcHook::CallPrevious(TMessage& Message) const {
  if (!FSlot) return 0;
  return CallWindowProcA(FSlot->Prev, FSlot->Wnd, Message.Msg, WPARAM(Message.WParam), LPARAM(Message.LParam));
}

LRESULT __stdcall TqWindowProcHook::SlotProc(TSlot* S, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  ++S->Depth;
  LRESULT Result = 0;
  if (S->Owner) {
    TMessage M;
    M.Msg = Msg;
    M.WParam = WParam;
    M.LParam = LParam;
    try {
      S->Handler(M);
    } catch (...) {
      HandleVclException(S->Handler.Object());
    }
    Result = M.Result;
  } else {
    Result = CallWindowProcA(S->Prev, Wnd, Msg, WParam, LParam);
  }
  --S->Depth;
  if (Msg == WM_NCDESTROY && S->InChain) {
    // The last message of the window: nothing will call the stub again.
    S->InChain = false;
    if (S->Owner) {
      S->Owner->FSlot = nullptr;
      S->Owner = nullptr;
    } else {
      --Pool().PassThrough;
    }
  }
  if (!S->InChain && !S->Owner && S->Depth == 0) FreeSlot(S);
  return Result;
}
