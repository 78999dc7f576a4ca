// The clipboard object against the system's own clipboard calls.
#include "vcl/Clipbrd.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A CF_TEXT block put on the clipboard by hand, exactly Size bytes of Fill.
void PutRawText(size_t Size, char Fill) {
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, Size);
  ASSERT_TRUE(Mem);
  std::memset(GlobalLock(Mem), Fill, Size);
  GlobalUnlock(Mem);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_TEXT, Mem);
  CloseClipboard();
}

bool ClipboardIsClosed() {
  if (!OpenClipboard(nullptr)) return false;
  CloseClipboard();
  return true;
}

TEST(Clipboard, TextRoundTripsAndReadsStayInsideTheBlock) {
  Clipboard()->SetAsText("GS1 tag");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->AsText(), "GS1 tag");
  char Small[4];
  EXPECT_EQ(Clipboard()->GetTextBuf(Small, sizeof Small), 3);
  EXPECT_STREQ(Small, "GS1");

  // A block of 70,000 characters: a 65,536-byte buffer takes 65,535 of them.
  Clipboard()->SetAsText(std::string(70000, 'x').c_str());
  std::vector<char> Buf(65536, '?');
  EXPECT_EQ(Clipboard()->GetTextBuf(Buf.data(), int(Buf.size())), 65535);
  EXPECT_EQ(Buf[65535], 0);

  // Text put without a terminator ends with its block at the latest (Wine terminates such a
  // block itself, in its last byte).
  PutRawText(10, 'q');
  const AnsiString Raw = Clipboard()->AsText();
  EXPECT_GE(Raw.Length(), 9);
  EXPECT_LE(Raw.Length(), int(GlobalSize(Clipboard()->GetAsHandle(CF_TEXT))));
  EXPECT_EQ(Raw, AnsiString(std::string(size_t(Raw.Length()), 'q')));
  EXPECT_EQ(Clipboard()->GetTextBuf(Buf.data(), int(Buf.size())), Raw.Length());
  EXPECT_TRUE(ClipboardIsClosed());

  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_TRUE(ClipboardIsClosed());
}

TEST(Clipboard, NestedOpensCloseOnceAndRefusedDataStaysTheCallers) {
  Clipboard()->Open();
  Clipboard()->SetAsText("one");
  Clipboard()->Open();
  EXPECT_EQ(Clipboard()->AsText(), "one");
  Clipboard()->Close();
  EXPECT_FALSE(ClipboardIsClosed()) << "still open after the inner Close";
  Clipboard()->Close();
  EXPECT_TRUE(ClipboardIsClosed());

  // A format number the system does not know is refused; the block is not given away.
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, 4);
  try {
    Clipboard()->SetAsHandle(0, Mem);
    ADD_FAILURE() << "no error";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Cannot write to the clipboard");
  }
  EXPECT_TRUE(ClipboardIsClosed());
  EXPECT_EQ(GlobalFree(Mem), nullptr) << "the block is still ours to free";
}

}  // namespace
