// Shared helpers of the class library tests.
#include "vcl/tests/vcltest.h"
#include "vcl/Forms.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <atomic>
#include <vector>
#include <stdexcept>
#include <thread>

namespace {
// An exception that reaches the application's handler (from a window procedure, a timer or a
// hook) fails the running test, instead of opening an error box that waits for a user. Tests of
// the handler itself set and restore their own OnException.
struct TExceptionToFailure : TObject {
  void Caught(TObject*, Exception& E) { ADD_FAILURE() << "exception reached the application: " << E.Message().c_str(); }
};
class TFailOnException : public testing::Environment {
public:
  void SetUp() override {
    if (Application) Application->OnException = EVENT(&FHandler, TExceptionToFailure::Caught);
  }
private:
  TExceptionToFailure FHandler;
};
[[maybe_unused]] testing::Environment* const FailOnException = testing::AddGlobalTestEnvironment(new TFailOnException);
}  // namespace

namespace vcltest {

int PumpMessages(int MaxMessages) {
  int Count = 0;
  MSG Msg;
  while (Count < MaxMessages && PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
    ++Count;
  }
  FreeDeviceContexts();
  return Count;
}

bool PumpUntil(const std::function<bool()>& Done, int MaxRounds) {
  for (int Round = 0; Round < MaxRounds; ++Round) {
    PumpMessages();
    if (Done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  PumpMessages();
  return Done();
}

bool AppPumpUntil(const std::function<bool()>& Done, unsigned MaxMs) {
  // A thread timer wakes the loop's idle wait.
  const UINT_PTR Wake = SetTimer(nullptr, 0, 10, nullptr);
  const DWORD Start = GetTickCount();
  bool Result = Done();
  while (!Result && GetTickCount() - Start < MaxMs) {
    Application->HandleMessage();
    Result = Done();
  }
  KillTimer(nullptr, Wake);
  return Result;
}

void PumpRounds(int Rounds) {
  for (int Round = 0; Round < Rounds; ++Round) {
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  PumpMessages();
}

namespace {
const char* const TestWindowClass = "OrvalenTestWindow";

LRESULT CALLBACK TestWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return DefWindowProcA(Wnd, Msg, WParam, LParam);
}

void RegisterTestClass() {
  static bool Done = false;
  if (Done) return;
  WNDCLASSA Cls{};
  Cls.style = CS_HREDRAW | CS_VREDRAW;
  Cls.lpfnWndProc = TestWindowProc;
  Cls.hInstance = GetModuleHandleA(nullptr);
  Cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  Cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  Cls.lpszClassName = TestWindowClass;
  if (!RegisterClassA(&Cls)) throw std::runtime_error("cannot register the test window class");
  Done = true;
}
}  // namespace

TTestWindow::TTestWindow(int ClientWidth, int ClientHeight, int X, int Y) {
  RegisterTestClass();
  const DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT R{0, 0, ClientWidth, ClientHeight};
  AdjustWindowRectEx(&R, Style, FALSE, 0);
  FHandle = CreateWindowExA(0, TestWindowClass, "Test", Style, X, Y, R.right - R.left,
                            R.bottom - R.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!FHandle) throw std::runtime_error("cannot create the test window");
  ShowWindow(FHandle, SW_SHOWNORMAL);
  UpdateWindow(FHandle);
  PumpMessages();
}

TTestWindow::~TTestWindow() {
  if (FHandle) DestroyWindow(FHandle);
  PumpMessages();
}

void TTestWindow::Activate() {
  SetForegroundWindow(FHandle);
  SetActiveWindow(FHandle);
  SetFocus(FHandle);
  PumpMessages();
}

TTestHost::TTestHost(int ClientWidth, int ClientHeight, int X, int Y)
    : FWindow(ClientWidth, ClientHeight, X, Y) {
  FControl = TComponent::Create<TWinControl>(nullptr);
  FControl->SetBounds(0, 0, ClientWidth, ClientHeight);
  FControl->SetParentWindow(FWindow.Handle());
  FControl->HandleNeeded();
  PumpMessages();
}

TTestHost::~TTestHost() {
  TObject::Free(FControl);
  PumpMessages();
}

TColor PixelAt(HDC DC, int X, int Y) {
  return TColor(GetPixel(DC, X, Y));
}

TColor PixelAt(HWND Wnd, int X, int Y) {
  RedrawWindow(Wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpMessages();
  TWindowDC DC(Wnd);
  return PixelAt(DC.Get(), X, Y);
}

std::unique_ptr<TBitmap> MakeBitmap(int W, int H, TColor Fill) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf32bit);
  B->Canvas()->Brush()->SetColor(Fill);
  B->SetSize(W, H);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  return B;
}

std::unique_ptr<TBitmap> CaptureClient(HWND Wnd) {
  RedrawWindow(Wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpMessages();
  RECT R;
  GetClientRect(Wnd, &R);
  auto Bmp = std::make_unique<TBitmap>();
  Bmp->SetPixelFormat(pf24bit);
  Bmp->SetSize(R.right, R.bottom);
  TWindowDC DC(Wnd);
  BitBlt(Bmp->Canvas()->Handle(), 0, 0, R.right, R.bottom, DC.Get(), 0, 0, SRCCOPY);
  return Bmp;
}

intptr_t SendMouse(HWND Wnd, unsigned Msg, int X, int Y, unsigned Keys) {
  return SendMessageA(Wnd, Msg, Keys, MAKELPARAM(WORD(short(X)), WORD(short(Y))));
}

void SendMouseMove(HWND Wnd, int X, int Y) {
  POINT P{X, Y};
  ClientToScreen(Wnd, &P);
  INPUT In{};
  In.type = INPUT_MOUSE;
  In.mi.dx = LONG((P.x * 65535LL) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  In.mi.dy = LONG((P.y * 65535LL) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  In.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SetCursorPos(P.x, P.y);
  SendInput(1, &In, sizeof In);
}

void MoveMouse(HWND Wnd, int X, int Y) {
  POINT P{X, Y};
  ClientToScreen(Wnd, &P);
  SendMouseMove(Wnd, X, Y);
  // The window system may deliver a late move of an earlier position after this one: move again
  // until the cursor has stayed where it was put for a few rounds.
  int Still = 0;
  PumpUntil([&] {
    POINT Now;
    GetCursorPos(&Now);
    if (Now.x == P.x && Now.y == P.y) return ++Still >= 5;
    SendMouseMove(Wnd, X, Y);
    Still = 0;
    return false;
  });
}

namespace {
// Sends Inputs one after another, 30 ms apart, from a thread of its own; Done turns true after
// the last.
std::thread InputThread(const std::vector<INPUT>& Inputs, std::atomic<bool>& Done) {
  return std::thread([&Done, &Inputs] {
    for (INPUT In : Inputs) {
      SendInput(1, &In, sizeof In);
      Sleep(30);
    }
    Done = true;
  });
}
}  // namespace

void SendInputs(const std::vector<INPUT>& Inputs) {
  std::atomic<bool> Done{false};
  std::thread User = InputThread(Inputs, Done);
  PumpUntil([&Done] { return Done.load(); });
  User.join();
  PumpRounds(3);
}

void SendInputsThroughApplication(const std::vector<INPUT>& Inputs) {
  std::atomic<bool> Done{false};
  std::thread User = InputThread(Inputs, Done);
  AppPumpUntil([&Done] { return Done.load(); });
  User.join();
  AppPumpUntil([] { return false; }, 150);
}

INPUT MouseButtonInput(TMouseButton Button, bool Down) {
  static constexpr DWORD Flags[3][2] = {{MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN},
                                        {MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN},
                                        {MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_MIDDLEDOWN}};
  INPUT In{};
  In.type = INPUT_MOUSE;
  In.mi.dwFlags = Flags[Button][Down ? 1 : 0];
  return In;
}

INPUT KeyInput(WORD VirtualKey, bool Down) {
  INPUT In{};
  In.type = INPUT_KEYBOARD;
  In.ki.wVk = VirtualKey;
  In.ki.wScan = WORD(MapVirtualKeyA(VirtualKey, MAPVK_VK_TO_VSC));
  In.ki.dwFlags = Down ? 0 : KEYEVENTF_KEYUP;
  return In;
}

void RealClick(HWND Wnd, int X, int Y, TMouseButton Button, int Times) {
  MoveMouse(Wnd, X, Y);
  std::vector<INPUT> Inputs;
  for (int I = 0; I < Times; ++I) {
    Inputs.push_back(MouseButtonInput(Button, true));
    Inputs.push_back(MouseButtonInput(Button, false));
  }
  SendInputs(Inputs);
}

void RealDrag(HWND Wnd, int X, int Y, int DX, int DY) {
  MoveMouse(Wnd, X, Y);
  std::vector<INPUT> Inputs{MouseButtonInput(mbLeft, true)};
  for (int I = 0; I < 8; ++I) {
    INPUT Move{};
    Move.type = INPUT_MOUSE;
    Move.mi.dx = DX / 8;
    Move.mi.dy = DY / 8;
    Move.mi.dwFlags = MOUSEEVENTF_MOVE;
    Inputs.push_back(Move);
  }
  Inputs.push_back(MouseButtonInput(mbLeft, false));
  SendInputs(Inputs);
}

void Click(HWND Wnd, int X, int Y) {
  SendMouse(Wnd, WM_LBUTTONDOWN, X, Y, MK_LBUTTON);
  SendMouse(Wnd, WM_LBUTTONUP, X, Y, 0);
}

std::set<std::string> SystemPrinters() {
  std::set<std::string> Names;
  DWORD Needed = 0, Count = 0;
  const DWORD Flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  EnumPrintersA(Flags, nullptr, 2, nullptr, 0, &Needed, &Count);
  std::vector<BYTE> Buf(Needed ? Needed : 1);
  if (Needed && EnumPrintersA(Flags, nullptr, 2, Buf.data(), Needed, &Needed, &Count))
    for (DWORD I = 0; I < Count; ++I) Names.insert(reinterpret_cast<PRINTER_INFO_2A*>(Buf.data())[I].pPrinterName);
  return Names;
}

bool AddTestPrinter(const std::string& Name, const std::string& Driver, const std::string& DataFile) {
  char System[MAX_PATH];
  GetSystemDirectoryA(System, MAX_PATH);
  const std::string Ps = std::string(System) + "\\wineps.drv";
  std::string Data = Ps;
  if (!DataFile.empty()) {
    // The driver reads its description from the driver folder only.
    char Folder[MAX_PATH] = {};
    DWORD Needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(Folder), sizeof Folder, &Needed))
      return false;
    Data = std::string(Folder) + "\\" + DataFile.substr(DataFile.find_last_of("\\/") + 1);
    if (!CopyFileA(DataFile.c_str(), Data.c_str(), FALSE)) return false;
  }
  DRIVER_INFO_3A DI{};
  DI.cVersion = 3;
  DI.pName = const_cast<char*>(Driver.c_str());
  DI.pDriverPath = const_cast<char*>(Ps.c_str());
  DI.pDataFile = const_cast<char*>(Data.c_str());
  DI.pConfigFile = const_cast<char*>(Ps.c_str());
  AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&DI));
  PRINTER_INFO_2A PI{};
  PI.pPrinterName = const_cast<char*>(Name.c_str());
  PI.pPortName = const_cast<char*>("FILE:");
  PI.pDriverName = DI.pName;
  PI.pPrintProcessor = const_cast<char*>("WinPrint");
  PI.pDatatype = const_cast<char*>("RAW");
  // Wine 8 adds the printer yet reports a failure: the enumeration tells.
  if (HANDLE P = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&PI))) ClosePrinter(P);
  return SystemPrinters().count(Name) != 0;
}

bool DeleteTestPrinter(const std::string& Name) {
  HANDLE P = nullptr;
  PRINTER_DEFAULTSA Access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (OpenPrinterA(const_cast<char*>(Name.c_str()), &P, &Access)) {
    DeletePrinter(P);
    ClosePrinter(P);
  }
  return SystemPrinters().count(Name) == 0;
}

}  // namespace vcltest
