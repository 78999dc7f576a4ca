// The clipboard: one object over the system clipboard, opened by its operations (nested opens
// count) and always closed again.
#pragma once

#include "vcl/Win.h"
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

class TClipboard : public TPersistent {
  ORV_CLASS(TClipboard, TPersistent)
public:
  TClipboard() = default;
  ~TClipboard() override;

  // Exception "Cannot open clipboard" when another window holds it. Each Open needs its Close.
  void Open();
  void Close();
  // Empties the clipboard (taking it over for this application).
  void Clear();

  bool HasFormat(unsigned Format);
  // The data of Format (the clipboard keeps it), or nullptr.
  HANDLE GetAsHandle(unsigned Format);
  // Replaces the clipboard's content with Value, which the clipboard owns from then on.
  // Exception "Cannot write to the clipboard" when the system refuses it; Value is then still
  // the caller's.
  void SetAsHandle(unsigned Format, HANDLE Value);

  // At most BufSize - 1 characters of the clipboard text, zero-terminated; their count.
  int GetTextBuf(char* Buffer, int BufSize);
  void SetTextBuf(const char* Buffer);
  AnsiString AsText();
  void SetAsText(const AnsiString& Value) { SetTextBuf(Value.c_str()); }

private:
  // Empties the clipboard once per outer Open, before the first data is set.
  void Adding();
  HWND FWindow = nullptr;
  int FOpenRefCount = 0;
  bool FEmptied = false;
};

// The application's clipboard object (made on first use).
TClipboard* Clipboard();
