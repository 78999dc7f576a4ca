// The clipboard object over the system clipboard.
#include "vcl/Clipbrd.h"
#include "vcl/Forms.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {
// Opens the clipboard for one operation and closes it on every way out.
struct TOpenGuard {
  TClipboard* C;
  explicit TOpenGuard(TClipboard* AC) : C(AC) { C->Open(); }
  ~TOpenGuard() { C->Close(); }
  TOpenGuard(const TOpenGuard&) = delete;
  TOpenGuard& operator=(const TOpenGuard&) = delete;
};

// The clipboard's text block, locked, its length bounded by the block: the text need not be
// terminated.
struct TLockedText {
  HANDLE Data;
  const char* Text = nullptr;
  size_t Length = 0;
  explicit TLockedText(HANDLE AData) : Data(AData) {
    if (Data) Text = static_cast<const char*>(GlobalLock(Data));
    if (!Text) return;
    const size_t Limit = GlobalSize(Data);
    while (Length < Limit && Text[Length]) ++Length;
  }
  ~TLockedText() {
    if (Text) GlobalUnlock(Data);
  }
  TLockedText(const TLockedText&) = delete;
  TLockedText& operator=(const TLockedText&) = delete;
};
}  // namespace

TClipboard::~TClipboard() {
  if (FOpenRefCount > 0) CloseClipboard();
}

void TClipboard::Open() {
  if (FOpenRefCount == 0) {
    FWindow = Application ? Application->Handle() : nullptr;
    if (!OpenClipboard(FWindow)) throw Exception("Cannot open clipboard");
    FEmptied = false;
  }
  ++FOpenRefCount;
}

void TClipboard::Close() {
  if (FOpenRefCount == 0) return;
  if (--FOpenRefCount == 0) CloseClipboard();
}

void TClipboard::Adding() {
  if (FOpenRefCount > 0 && !FEmptied) {
    EmptyClipboard();
    FEmptied = true;
  }
}

void TClipboard::Clear() {
  TOpenGuard G(this);
  EmptyClipboard();
  FEmptied = true;
}

bool TClipboard::HasFormat(unsigned Format) { return IsClipboardFormatAvailable(Format) != 0; }

HANDLE TClipboard::GetAsHandle(unsigned Format) {
  TOpenGuard G(this);
  return GetClipboardData(Format);
}

void TClipboard::SetAsHandle(unsigned Format, HANDLE Value) {
  TOpenGuard G(this);
  Adding();
  if (!SetClipboardData(Format, Value)) throw Exception("Cannot write to the clipboard");
}

int TClipboard::GetTextBuf(char* Buffer, int BufSize) {
  if (!Buffer || BufSize <= 0) return 0;
  TOpenGuard G(this);
  TLockedText T(GetClipboardData(CF_TEXT));
  const size_t N = std::min(T.Length, size_t(BufSize - 1));
  if (N) std::memcpy(Buffer, T.Text, N);
  Buffer[N] = 0;
  return int(N);
}

void TClipboard::SetTextBuf(const char* Buffer) {
  if (!Buffer) Buffer = "";
  const size_t Size = std::strlen(Buffer) + 1;
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
  if (!Mem) throw EOutOfMemory("Out of memory");
  if (void* P = GlobalLock(Mem)) {
    std::memcpy(P, Buffer, Size);
    GlobalUnlock(Mem);
  }
  try {
    SetAsHandle(CF_TEXT, Mem);
  } catch (...) {
    GlobalFree(Mem);
    throw;
  }
}

AnsiString TClipboard::AsText() {
  TOpenGuard G(this);
  TLockedText T(GetClipboardData(CF_TEXT));
  return AnsiString(T.Text ? T.Text : "", int(T.Length));
}

ORV_IMPLEMENT_CLASS(TClipboard, TPersistent)

TClipboard* Clipboard() {
  static std::unique_ptr<TClipboard> Instance(new TClipboard);
  return Instance.get();
}
