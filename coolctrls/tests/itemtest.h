// Helpers of the cool item, list, combo, edit and memo tests: an item drawn as the system asks
// for it, a folder made for the folder style, backgrounds that show a shift, and the window frame
// read back from the screen.
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

// A W x H wallpaper whose every row has its own colour (rows 0..255), so a shift shows.
inline TColor GradientRow(int Y) { return TColor(RGB(Y & 0xFF, 128, 255 - (Y & 0xFF))); }
inline std::unique_ptr<TBitmap> VerticalGradient(int W, int H) {
  auto B = vcltest::MakeBitmap(W, H, clBlack);
  for (int Y = 0; Y < H; ++Y) {
    B->Canvas()->Brush()->SetColor(GradientRow(Y));
    B->Canvas()->FillRect(Rect(0, Y, W, Y + 1));
  }
  return B;
}

// A control that erases its background with a black-to-white gradient while this lives.
class TGradientBackground : public TObject {
public:
  explicit TGradientBackground(TWinControl* C) : FControl(C), FSaved(C->WindowProc) {
    C->WindowProc = TWndMethod::Bind<&TGradientBackground::Hook>(this);
    C->Invalidate();
  }
  ~TGradientBackground() override { FControl->WindowProc = FSaved; }
  // What the control shows, as a bitmap of its client size.
  std::unique_ptr<TBitmap> Picture() const {
    const TRect R = FControl->ClientRect();
    auto B = vcltest::MakeBitmap(R.Right, R.Bottom, clFuchsia);
    FillGradientRect(B->Canvas()->Handle(), R, clBlack, clWhite, 128, true);
    return B;
  }

private:
  void Hook(TMessage& M) {
    if (M.Msg != WM_ERASEBKGND) return FSaved(M);
    FillGradientRect(reinterpret_cast<HDC>(M.WParam), FControl->ClientRect(), clBlack, clWhite, 128, true);
    M.Result = 1;
  }
  TWinControl* FControl;
  TWndMethod FSaved;
};

// A pixel of a window's frame or client as it is on the screen, in window coordinates.
inline TColor WindowPixel(HWND Wnd, int X, int Y) {
  RedrawWindow(Wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_FRAME);
  vcltest::PumpMessages();
  HDC DC = GetWindowDC(Wnd);
  const TColor C = TColor(GetPixel(DC, X, Y));
  ReleaseDC(Wnd, DC);
  return C;
}

// The caption bar of a list box or memo with WS_CAPTION, in window coordinates: inside the
// dialog frame, one row less than a caption high.
inline TRect CaptionBand(HWND Wnd, bool Small = false) {
  RECT W;
  GetWindowRect(Wnd, &W);
  const int FX = GetSystemMetrics(SM_CXDLGFRAME), FY = GetSystemMetrics(SM_CYDLGFRAME);
  return TRect(FX, FY, W.right - W.left - FX, FY + GetSystemMetrics(Small ? SM_CYSMCAPTION : SM_CYCAPTION) - 1);
}

// The band of a window as it is on the screen.
inline std::unique_ptr<TBitmap> CaptureBand(HWND Wnd, const TRect& Band) {
  RedrawWindow(Wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_FRAME);
  vcltest::PumpMessages();
  auto B = vcltest::MakeBitmap(Band.Width(), Band.Height(), clFuchsia);
  HDC DC = GetWindowDC(Wnd);
  BitBlt(B->Canvas()->Handle(), 0, 0, Band.Width(), Band.Height(), DC, Band.Left, Band.Top, SRCCOPY);
  ReleaseDC(Wnd, DC);
  return B;
}

// A caption bar as the cool controls paint it: Back filled, Text 2 pixels in, vertically centred,
// in the system's caption font.
inline std::unique_ptr<TBitmap> ExpectedBand(const TRect& Band, const char* Text, TColor Back, TColor TextColor,
                                             bool Small = false) {
  auto B = vcltest::MakeBitmap(Band.Width(), Band.Height(), Back);
  NONCLIENTMETRICSA NCM{};
  NCM.cbSize = 340;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &NCM, 0);
  HFONT F = CreateFontIndirectA(Small ? &NCM.lfSmCaptionFont : &NCM.lfCaptionFont);
  HDC DC = B->Canvas()->Handle();
  HGDIOBJ Old = SelectObject(DC, F);
  SetTextColor(DC, COLORREF(ColorToRGB(TextColor)));
  SetBkMode(DC, TRANSPARENT);
  RECT R{2, 0, Band.Width(), Band.Height()};
  DrawTextA(DC, Text, -1, &R, DT_SINGLELINE | DT_VCENTER);
  SelectObject(DC, Old);
  DeleteObject(F);
  return B;
}

// Pixels in which two bitmaps of the same size differ.
inline int DifferingPixels(TBitmap& A, TBitmap& B) {
  int N = 0;
  for (int Y = 0; Y < A.Height(); ++Y)
    for (int X = 0; X < A.Width(); ++X) N += (A.Canvas()->Pixels(X, Y) & 0xFFFFFF) != (B.Canvas()->Pixels(X, Y) & 0xFFFFFF);
  return N;
}

}  // namespace itemtest
