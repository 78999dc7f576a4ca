#include "suite/WindowProcHook.h"

#include "vcl/Controls.h"

#include <cstring>
#include <vector>

// Each slot's procedure is a stub in executable memory that puts the slot where the window
// argument was and jumps to SlotProc, which finds the window in the slot:
//   i686:   mov dword [esp+4], Slot; jmp SlotProc
//   x86_64: mov rcx, Slot; mov rax, SlotProc; jmp rax
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

#if defined(__x86_64__)
constexpr int StubSize = 32;
#elif defined(__i386__)
constexpr int StubSize = 16;
#else
#error "window-procedure stubs exist for i686 and x86_64 only"
#endif
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
  const uintptr_t SlotAddr = uintptr_t(S), Target = uintptr_t(&SlotProc);
#if defined(__x86_64__)
  C[0] = 0x48, C[1] = 0xB9;          // mov rcx, imm64
  std::memcpy(C + 2, &SlotAddr, 8);
  C[10] = 0x48, C[11] = 0xB8;        // mov rax, imm64
  std::memcpy(C + 12, &Target, 8);
  C[20] = 0xFF, C[21] = 0xE0;        // jmp rax
#else
  const int32_t Rel = int32_t(Target - (uintptr_t(C) + 13));
  C[0] = 0xC7, C[1] = 0x44, C[2] = 0x24, C[3] = 0x04;  // mov dword [esp+4], imm32
  std::memcpy(C + 4, &SlotAddr, 4);
  C[8] = 0xE9;                       // jmp rel32
  std::memcpy(C + 9, &Rel, 4);
#endif
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
  S->Prev = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Wnd, GWLP_WNDPROC));
  SetLastError(0);
  LONG_PTR Old = SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(S->Code));
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
    } else if (GetWindowLongPtrA(S->Wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(S->Code)) {
      SetWindowLongPtrA(S->Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(S->Prev));
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

LRESULT CALLBACK TqWindowProcHook::SlotProc(TSlot* S, UINT Msg, WPARAM WParam, LPARAM LParam) {
  HWND Wnd = S->Wnd;
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
