// Shared helpers of the class library tests: message pumping, a top-level host window for
// child controls, pixel read-back and window capture.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Graphics.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vcltest {

// Handles every message waiting in this thread's queue (at most MaxMessages); returns how
// many were handled.
int PumpMessages(int MaxMessages = 10000);

// Pumps messages until Done() is true, waiting up to 10 ms for new input between rounds, for at
// most MaxRounds rounds. Returns Done().
bool PumpUntil(const std::function<bool()>& Done, int MaxRounds = 300);

// Runs the application's own message loop (its idle processing included) until Done() is true
// or about MaxMs have passed; returns Done().
bool AppPumpUntil(const std::function<bool()>& Done, unsigned MaxMs = 5000);

// Pumps for Rounds rounds (whatever arrives), e.g. to let a window settle after showing.
void PumpRounds(int Rounds);

// A plain visible top-level window with the given client size at (X, Y) on the desktop,
// painted white. Destroyed with the object.
class TTestWindow {
public:
  explicit TTestWindow(int ClientWidth = 320, int ClientHeight = 240, int X = 40, int Y = 40);
  ~TTestWindow();
  TTestWindow(const TTestWindow&) = delete;
  TTestWindow& operator=(const TTestWindow&) = delete;
  HWND Handle() const { return FHandle; }
  // Brings the window to the front and gives it the focus.
  void Activate();
private:
  HWND FHandle = nullptr;
};

// A TWinControl filling a TTestWindow's client area: a parent for the controls under test
// that does not need the application object. Owns its control; children added to it with the
// host control as owner are freed with it.
class TTestHost {
public:
  explicit TTestHost(int ClientWidth = 320, int ClientHeight = 240, int X = 40, int Y = 40);
  ~TTestHost();
  TTestHost(const TTestHost&) = delete;
  TTestHost& operator=(const TTestHost&) = delete;
  TWinControl* Control() const { return FControl; }
  HWND Window() const { return FWindow.Handle(); }
  TTestWindow& Frame() { return FWindow; }
  // Creates a child of class T owned by and parented to the host control, at the given bounds.
  template <class T> T* Add(int Left, int Top, int Width, int Height) {
    T* C = TComponent::Create<T>(FControl);
    C->SetBounds(Left, Top, Width, Height);
    C->SetParent(FControl);
    return C;
  }
private:
  TTestWindow FWindow;
  TWinControl* FControl = nullptr;
};

// Colour ($00BBGGRR) of a pixel of a window's client area as it is on the window's surface,
// after painting what is pending.
TColor PixelAt(HWND Wnd, int X, int Y);
TColor PixelAt(HDC DC, int X, int Y);

// A W by H 32-bit bitmap filled with Fill.
std::unique_ptr<TBitmap> MakeBitmap(int W, int H, TColor Fill);

// Copies a window's client area (after painting what is pending) into a new 24-bit bitmap.
std::unique_ptr<TBitmap> CaptureClient(HWND Wnd);

// Sends a mouse message (WM_LBUTTONDOWN, WM_MOUSEMOVE, ...) at a client point of Wnd, as the
// system would deliver it, with Keys as the MK_xxx flags.
intptr_t SendMouse(HWND Wnd, unsigned Msg, int X, int Y, unsigned Keys = 0);
// Left-button press and release at a client point.
void Click(HWND Wnd, int X, int Y);

// Puts the real mouse on a client point of Wnd (the desktop window for a screen point), so the
// system delivers the moves, and returns once the cursor stays there.
void MoveMouse(HWND Wnd, int X, int Y);
// The same move queued as real input, without handling any message.
void SendMouseMove(HWND Wnd, int X, int Y);
// Sends Inputs one after another, 30 ms apart, from another thread while this one handles its
// messages (a press may start a modal loop here, moving a window, that only the release ends);
// returns once all are sent and what followed is handled.
void SendInputs(const std::vector<INPUT>& Inputs);
// The same while the application's own loop runs here (it hands keys to the window capturing
// the mouse, and F1 to help).
void SendInputsThroughApplication(const std::vector<INPUT>& Inputs);
// A press (Down) or release of a button of the real mouse where it is.
INPUT MouseButtonInput(TMouseButton Button, bool Down);
// A press (Down) or release of a key of the real keyboard.
INPUT KeyInput(WORD VirtualKey, bool Down);
// A press and release of the real mouse at a client point of Wnd, the cursor put there first;
// twice for a double click.
void RealClick(HWND Wnd, int X, int Y, TMouseButton Button = mbLeft, int Times = 1);
// A drag with the real left button from a client point of Wnd by (DX, DY) in eight even steps
// (DX and DY multiples of 8).
void RealDrag(HWND Wnd, int X, int Y, int DX, int DY);

// The printer names the spooler reports (local and connected).
std::set<std::string> SystemPrinters();
// Installs printer Name on "FILE:" over Wine's PostScript driver, under a driver of its own
// (Driver) whose printer description is the file DataFile, copied into the spooler's driver
// folder first; without DataFile the driver file stands in for it (a printer that lists, yet
// makes no device context). True when the spooler then lists the printer.
bool AddTestPrinter(const std::string& Name, const std::string& Driver, const std::string& DataFile = "");
// Removes printer Name; true when the spooler no longer lists it.
bool DeleteTestPrinter(const std::string& Name);

}  // namespace vcltest
