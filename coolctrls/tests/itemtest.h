// Helpers of the cool item tests: an item drawn as the system asks for it, and a folder made for
// the folder style.
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "vcl/tests/vcltest.h"

#include <filesystem>
#include <memory>
#include <string>

namespace itemtest {

constexpr int ItemW = 120, ItemH = 16;

// Item Index of C drawn with State into a fresh bitmap, the item's rectangle ItemW x ItemH at
// (Margin, Margin) of it.
inline std::unique_ptr<TBitmap> DrawItemImage(TWinControl* C, int Index, TOwnerDrawState State, int Margin = 0) {
  auto B = vcltest::MakeBitmap(ItemW + 2 * Margin, ItemH + 2 * Margin, clFuchsia);
  DRAWITEMSTRUCT D{};
  D.CtlType = dynamic_cast<TCoolListBox*>(C) ? ODT_LISTBOX : ODT_COMBOBOX;
  D.itemID = UINT(Index);
  D.itemAction = ODA_DRAWENTIRE;
  D.itemState = State;
  D.hwndItem = C->Handle();
  D.hDC = B->Canvas()->Handle();
  D.rcItem = RECT{Margin, Margin, Margin + ItemW, Margin + ItemH};
  C->Perform(CN_DRAWITEM, 0, reinterpret_cast<intptr_t>(&D));
  return B;
}

// A folder of sub-folders and files of every kind the folder style tells apart.
struct TListedFolder {
  std::string Dir;
  explicit TListedFolder(const char* Name, int ExtraFiles = 0) {
    char Temp[MAX_PATH];
    GetTempPathA(MAX_PATH, Temp);
    Dir = std::string(Temp) + Name + "\\";
    Remove();
    CreateDirectoryA(Dir.c_str(), nullptr);
    for (const char* D : {"Beta", "alpha"}) CreateDirectoryA((Dir + D).c_str(), nullptr);
    for (const char* F : {"b.txt", "A.txt", "c.TXT", "a..b", ".hidden.txt", "ro.txt"}) Touch(F);
    for (int I = 0; I < ExtraFiles; ++I) Touch(("f" + std::to_string(100 + I) + ".dat").c_str());
    SetFileAttributesA((Dir + ".hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((Dir + "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  }
  ~TListedFolder() { Remove(); }
  void Touch(const char* F) {
    HANDLE H = CreateFileA((Dir + F).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (H != INVALID_HANDLE_VALUE) CloseHandle(H);
  }
  void Remove() {
    std::error_code E;
    SetFileAttributesA((Dir + "ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(std::filesystem::path(Dir), E);
  }
};

}  // namespace itemtest
