// Object instances (window procedures bound to methods) and the hidden utility windows built on
// them.
#include "vcl/Forms.h"

#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace {

// Each instance is a slot in executable memory: a stub that puts the slot where the window
// argument was and jumps to StdWndProc, followed by the method it calls.
//   i686:   mov dword [esp+4], Slot; jmp StdWndProc
//   x86_64: mov rcx, Slot; mov rax, StdWndProc; jmp rax
// The stub jumps rather than calls, so nothing returns into a slot freed meanwhile.
#if defined(__x86_64__)
constexpr int StubSize = 32;
#elif defined(__i386__)
constexpr int StubSize = 16;
#else
#error "object-instance stubs exist for i686 and x86_64 only"
#endif
constexpr size_t ChunkSize = 4096;

struct TInstanceSlot {
  unsigned char Code[StubSize];
  TWndMethod Method;
  bool InUse;
};

LRESULT CALLBACK StdWndProc(TInstanceSlot* Slot, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage M;
  M.Msg = Msg;
  M.WParam = WParam;
  M.LParam = LParam;
  const TWndMethod Method = Slot->Method;  // the slot may be freed while the method runs
  try {
    Method(M);
  } catch (...) {
    HandleVclException(Method.Object());
  }
  return M.Result;
}

class TInstancePool {
public:
  ~TInstancePool() {
    // Only when no stub can still be called.
    if (FLive == 0)
      for (void* C : FChunks) VirtualFree(C, 0, MEM_RELEASE);
  }

  WNDPROC Make(TWndMethod Method) {
    std::lock_guard<std::mutex> L(FLock);
    if (FFree.empty()) Grow();
    TInstanceSlot* S = FFree.back();
    FFree.pop_back();
    S->Method = Method;
    S->InUse = true;
    WriteStub(S);
    ++FLive;
    return reinterpret_cast<WNDPROC>(static_cast<void*>(S->Code));
  }

  void Free(WNDPROC Proc) {
    if (!Proc) return;
    std::lock_guard<std::mutex> L(FLock);
    TInstanceSlot* S = Find(reinterpret_cast<unsigned char*>(reinterpret_cast<void*>(Proc)));
    if (!S) return;
    std::memset(S->Code, 0xCC, StubSize);
    FlushInstructionCache(GetCurrentProcess(), S->Code, StubSize);
    S->Method = nullptr;
    S->InUse = false;
    FFree.push_back(S);
    --FLive;
  }

private:
  void Grow() {
    void* Chunk = VirtualAlloc(nullptr, ChunkSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    if (!Chunk) throw EOutOfMemory("Out of memory");
    FChunks.push_back(Chunk);
    auto* Slots = static_cast<TInstanceSlot*>(Chunk);
    for (size_t I = ChunkSize / sizeof(TInstanceSlot); I-- > 0;) {
      new (&Slots[I]) TInstanceSlot{};
      FFree.push_back(&Slots[I]);
    }
  }

  // The slot whose stub starts at P, null when P is none of ours in use.
  TInstanceSlot* Find(unsigned char* P) const {
    for (void* C : FChunks) {
      auto* Base = static_cast<unsigned char*>(C);
      if (P < Base || P >= Base + ChunkSize) continue;
      size_t Off = size_t(P - Base);
      if (Off % sizeof(TInstanceSlot) || Off / sizeof(TInstanceSlot) >= ChunkSize / sizeof(TInstanceSlot))
        return nullptr;
      auto* S = reinterpret_cast<TInstanceSlot*>(P);
      return S->InUse ? S : nullptr;
    }
    return nullptr;
  }

  static void WriteStub(TInstanceSlot* S) {
    unsigned char* C = S->Code;
    const uintptr_t SlotAddr = uintptr_t(S), Target = uintptr_t(&StdWndProc);
#if defined(__x86_64__)
    C[0] = 0x48, C[1] = 0xB9;  // mov rcx, imm64
    std::memcpy(C + 2, &SlotAddr, 8);
    C[10] = 0x48, C[11] = 0xB8;  // mov rax, imm64
    std::memcpy(C + 12, &Target, 8);
    C[20] = 0xFF, C[21] = 0xE0;  // jmp rax
#else
    const int32_t Rel = int32_t(Target - (uintptr_t(C) + 13));
    C[0] = 0xC7, C[1] = 0x44, C[2] = 0x24, C[3] = 0x04;  // mov dword [esp+4], imm32
    std::memcpy(C + 4, &SlotAddr, 4);
    C[8] = 0xE9;  // jmp rel32
    std::memcpy(C + 9, &Rel, 4);
#endif
    FlushInstructionCache(GetCurrentProcess(), C, StubSize);
  }

  std::mutex FLock;
  std::vector<void*> FChunks;
  std::vector<TInstanceSlot*> FFree;
  int FLive = 0;
};

TInstancePool& Pool() {
  static TInstancePool P;
  return P;
}

const char* const UtilWindowClass = "TPUtilWindow";

}  // namespace

WNDPROC MakeObjectInstance(TWndMethod Method) { return Pool().Make(Method); }

void FreeObjectInstance(WNDPROC ObjectInstance) { Pool().Free(ObjectInstance); }

HWND AllocateHWnd(TWndMethod Method) {
  HINSTANCE Inst = GetModuleHandleA(nullptr);
  WNDCLASSA Cls{};
  if (!GetClassInfoA(Inst, UtilWindowClass, &Cls)) {
    Cls = WNDCLASSA{};
    Cls.lpfnWndProc = &DefWindowProcA;
    Cls.cbWndExtra = sizeof(LONG_PTR);  // the window's object instance
    Cls.hInstance = Inst;
    Cls.lpszClassName = UtilWindowClass;
    if (!RegisterClassA(&Cls)) throw EOutOfResources("Cannot register the utility window class");
  }
  HWND Wnd = CreateWindowExA(WS_EX_TOOLWINDOW, UtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, Inst,
                             nullptr);
  if (!Wnd) throw EOutOfResources("Cannot create a utility window");
  if (Method) {
    WNDPROC Proc;
    try {
      Proc = MakeObjectInstance(Method);
    } catch (...) {
      DestroyWindow(Wnd);
      throw;
    }
    SetWindowLongPtrA(Wnd, 0, reinterpret_cast<LONG_PTR>(Proc));
    SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
  }
  return Wnd;
}

void DeallocateHWnd(HWND Wnd) {
  char Name[32] = {};
  if (!Wnd || !GetClassNameA(Wnd, Name, sizeof Name) || std::strcmp(Name, UtilWindowClass) != 0) return;
  auto Proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Wnd, 0));
  DestroyWindow(Wnd);
  FreeObjectInstance(Proc);
}
