// Helpers of the suite tests: forms read from text form resources, controls painted into
// bitmaps, non-client pixels.
#pragma once
#include "rtl/Streaming.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace suitetest {

// The folder of the running test program, with its trailing separator; helper programs are
// built there.
inline std::string ModuleDir() {
  char Path[MAX_PATH];
  DWORD N = GetModuleFileNameA(nullptr, Path, sizeof Path);
  std::string S(Path, N);
  return S.substr(0, S.find_last_of("\\/") + 1);
}

// A form read from a text form ("object Form1: TForm ... end"), its Loaded steps run.
inline TForm* LoadForm(const char* Text) {
  TStringStream In(Text);
  TMemoryStream Bin;
  ObjectTextToBinary(&In, &Bin);
  Bin.SetPosition(0);
  TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
  try {
    ReadComponentRes(&Bin, Form);
  } catch (...) {
    TObject::Free(Form);
    throw;
  }
  return Form;
}

// A file name in the system's temporary folder, unique to this process.
inline std::string TempPath(const std::string& Name) {
  char Dir[MAX_PATH];
  GetTempPathA(sizeof Dir, Dir);
  return std::string(Dir) + "orvalen-" + std::to_string(GetCurrentProcessId()) + "-" + Name;
}

struct TFormFree {
  void operator()(TCustomForm* F) const { TObject::Free(F); }
};
using TFormPtr = std::unique_ptr<TForm, TFormFree>;

// Pixel of a window's whole area (frame included), after the pending painting.
inline TColor WindowPixel(HWND Wnd, int X, int Y) {
  vcltest::PumpMessages();
  HDC DC = GetWindowDC(Wnd);
  TColor C = TColor(GetPixel(DC, X, Y));
  ReleaseDC(Wnd, DC);
  return C;
}

// Repaints the frame and client of a window now.
inline void RedrawAll(HWND Wnd) {
  RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  vcltest::PumpMessages();
}

inline TColor Sys(int Index) { return TColor(GetSysColor(Index)); }

// "$BBGGRR" for failure messages.
inline std::string Hex(TColor C) {
  char B[16];
  std::snprintf(B, sizeof B, "$%06X", unsigned(C) & 0xFFFFFFu);
  return B;
}

// The pixels of a painting, row by row, as $00BBGGRR colours.
struct TPicture24 {
  int W = 0, H = 0;
  std::vector<TColor> Px;
  TColor At(int X, int Y) const { return Px[size_t(Y) * W + X]; }
  bool Inside(int X, int Y) const { return X >= 0 && Y >= 0 && X < W && Y < H; }
  int Count(TColor C) const {
    int N = 0;
    for (TColor P : Px) N += P == C;
    return N;
  }
};

// The pixels of a bitmap.
inline TPicture24 PictureOf(TBitmap& B) {
  TPicture24 P;
  P.W = B.Width();
  P.H = B.Height();
  HDC DC = B.Canvas()->Handle();
  for (int Y = 0; Y < P.H; ++Y)
    for (int X = 0; X < P.W; ++X) P.Px.push_back(TColor(GetPixel(DC, X, Y)) & 0xFFFFFF);
  return P;
}

// The control painted into a bitmap of its size, its origin moved by (Shift, Shift).
inline TPicture24 Render(TControl* C, TColor Fill = clWhite, int Shift = 0) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(C->Width(), C->Height());
  B.Canvas()->Brush()->SetColor(Fill);
  B.Canvas()->Brush()->SetStyle(bsSolid);
  B.Canvas()->FillRect(Rect(0, 0, B.Width(), B.Height()));
  SetViewportOrgEx(B.Canvas()->Handle(), Shift, Shift, nullptr);
  C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(B.Canvas()->Handle()), 0);
  SetViewportOrgEx(B.Canvas()->Handle(), 0, 0, nullptr);
  return PictureOf(B);
}

// Bounding box and centre of the pixels of one colour.
struct TInk {
  int Left = 1 << 20, Top = 1 << 20, Right = -1, Bottom = -1, Count = 0;
  double SumX = 0, SumY = 0;
  int Width() const { return Right - Left + 1; }
  int Height() const { return Bottom - Top + 1; }
  double CentreX() const { return SumX / Count; }
  double CentreY() const { return SumY / Count; }
};

// Rows Top to Bottom - 1 only, when given.
inline TInk InkOf(const TPicture24& P, TColor C, int Top = 0, int Bottom = 1 << 20) {
  TInk I;
  for (int Y = std::max(Top, 0); Y < std::min(Bottom, P.H); ++Y)
    for (int X = 0; X < P.W; ++X)
      if (P.At(X, Y) == C) {
        I.Left = std::min(I.Left, X);
        I.Right = std::max(I.Right, X);
        I.Top = std::min(I.Top, Y);
        I.Bottom = std::max(I.Bottom, Y);
        I.SumX += X;
        I.SumY += Y;
        ++I.Count;
      }
  return I;
}


// ---------------------------------------------------------------------------------------------
// Real input through SendInput, handled by the application's message loop, so keys reach the
// focused control as the framework routes them (CN_KEYDOWN, dialog keys, accelerators).

// Handles messages with the application until Done() is true, waiting up to 10 ms for input
// between rounds, for at most MaxRounds rounds. Returns Done().
inline bool AppPumpUntil(const std::function<bool()>& Done, int MaxRounds = 300) {
  for (int Round = 0; Round < MaxRounds; ++Round) {
    Application->ProcessMessages();
    if (Done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  Application->ProcessMessages();
  return Done();
}

// Handles messages with the application for Rounds rounds, whatever arrives.
inline void AppPumpRounds(int Rounds) {
  AppPumpUntil([] { return false; }, Rounds);
}

inline void SendMouseButton(bool Down) {
  INPUT In = vcltest::MouseButtonInput(mbLeft, Down);
  SendInput(1, &In, sizeof In);
}

// Presses (or releases) the left button and handles messages until the system has the button in
// that state and the window under the cursor has had its message.
inline void MouseButton(bool Down) {
  SendMouseButton(Down);
  AppPumpUntil([&] { return ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0) == Down; });
  AppPumpRounds(2);
}

// A press at a client point of Wnd, Steps moves of (DX, DY) and a release, sent from a thread of
// its own (a move or size loop of the system holds this one) while the application handles
// messages until Done() is true. Returns Done().
inline bool DragFromThread(HWND Wnd, int X, int Y, int Steps, int DX, int DY, const std::function<bool()>& Done) {
  vcltest::MoveMouse(Wnd, X, Y);
  std::thread User([=] {
    auto Send = [](DWORD Flags, int MX, int MY) {
      INPUT In{};
      In.type = INPUT_MOUSE;
      In.mi.dx = MX;
      In.mi.dy = MY;
      In.mi.dwFlags = Flags;
      SendInput(1, &In, sizeof In);
      Sleep(30);
    };
    Send(MOUSEEVENTF_LEFTDOWN, 0, 0);
    for (int I = 0; I < Steps; ++I) Send(MOUSEEVENTF_MOVE, DX, DY);
    Send(MOUSEEVENTF_LEFTUP, 0, 0);
  });
  const bool Ok = AppPumpUntil(Done, 100);
  User.join();
  AppPumpRounds(3);
  return Ok || Done();
}

// Releases the left button when a test leaves with it held.
struct TMouseButtonGuard {
  ~TMouseButtonGuard() {
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) MouseButton(false);
  }
};

inline void SendKey(WORD Vk, bool Up) {
  INPUT In = vcltest::KeyInput(Vk, !Up);
  SendInput(1, &In, sizeof In);
}

// A key down and up (with Modifier held around it, when given), then the messages handled until
// the system has every key up again.
inline void TapKey(WORD Vk, WORD Modifier = 0) {
  if (Modifier) SendKey(Modifier, false);
  SendKey(Vk, false);
  SendKey(Vk, true);
  if (Modifier) SendKey(Modifier, true);
  auto Up = [](WORD K) { return !K || !(GetAsyncKeyState(K) & 0x8000); };
  AppPumpUntil([&] { return Up(Vk) && Up(Modifier); });
  AppPumpRounds(2);
}

// Shows Form modally and clicks Stay (at Point) once it is on screen, then Close; Stay's OnClick
// is taken to record whether the form was still open and had no modal result. A click is queued
// again after a while when it has not arrived (the window system may take it where an earlier
// move left the mouse). Returns ShowModal's result (mrAbort when no click closed the form).
struct TModalClicks : TObject {
  TForm* Form = nullptr;
  TWinControl* Stay = nullptr;
  TWinControl* Close = nullptr;
  TPoint Point;
  int StayClicks = 0;
  bool OpenAfterStay = true;
  int Ticks = 0;
  void StayClicked(TObject*) {
    ++StayClicks;
    OpenAfterStay = OpenAfterStay && Form->Visible() && Form->ModalResult() == mrNone;
  }
  static TModalClicks*& Running() {
    static TModalClicks* R = nullptr;
    return R;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TModalClicks* S = Running();
    if (!S) return;
    if (++S->Ticks > 300) {
      S->Form->SetModalResult(mrAbort);  // never answered: end the loop
    } else if (IsWindowVisible(S->Form->Handle()) && S->Ticks % 20 == 1) {
      TWinControl* Next = S->StayClicks == 0 ? S->Stay : S->Close;
      vcltest::SendMouseMove(Next->Handle(), S->Point.X, S->Point.Y);
      SendMouseButton(true);
      SendMouseButton(false);
    }
  }
  int Run(TForm* AForm, TWinControl* AStay, TWinControl* AClose, TPoint At) {
    Form = AForm;
    Stay = AStay;
    Close = AClose;
    Point = At;
    Stay->OnClick = EVENT(this, TModalClicks::StayClicked);
    Running() = this;
    const UINT_PTR Timer = SetTimer(nullptr, 0, 50, &Tick);
    const int Result = Form->ShowModal();
    KillTimer(nullptr, Timer);
    Running() = nullptr;
    return Result;
  }
};

// Brings a form forward with the keyboard focus.
inline void Foreground(TCustomForm* F) {
  SetForegroundWindow(F->Handle());
  AppPumpUntil([&] { return GetForegroundWindow() == F->Handle(); }, 50);
}

// A form to put controls on, shown and brought forward by Show (the mouse then rests on the form,
// away from the controls, with the button released when the scene ends).
struct TFormScene {
  TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  TMouseButtonGuard Mouse;

  explicit TFormScene(int W = 420, int H = 240) {
    Form->SetBounds(120, 90, W, H);
    Form->SetClientWidth(W);
    Form->SetClientHeight(H);
    Form->SetColor(clTeal);
  }
  template <class T> T* Add(int L, int T0, int W, int H) {
    T* C = TComponent::Create<T>(Form.get());
    C->SetBounds(L, T0, W, H);
    C->SetParent(Form.get());
    return C;
  }
  void Show() {
    Form->Show();
    Foreground(Form.get());
    AppPumpRounds(3);
    Away();
  }
  // The mouse over the form's top-left corner.
  void Away() { vcltest::MoveMouse(Form->Handle(), 4, 4); }
};

}  // namespace suitetest
