// A message's round trip: SendMessage to a control's window, which finds its control and runs
// the message through WindowProc and Dispatch, against the same messages sent to a bare window
// procedure that answers them, in the same run. Prints nanoseconds per message and the ratio;
// never judges the figures.
#include "bench/BenchClock.h"
#include "vcl/Forms.h"

#include <cstdio>

namespace {

constexpr int Messages = 100000, Runs = 5;
constexpr unsigned WM_PING = WM_APP + 1;

// A control that answers WM_PING itself.
class TPingControl : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_PING) Message.Result = LRESULT(Message.WParam + 1);
    else TCustomControl::Dispatch(Message);
  }
};

LRESULT CALLBACK BareProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_PING) return LRESULT(WParam + 1);
  return DefWindowProcA(Wnd, Msg, WParam, LParam);
}

void SendAll(HWND Wnd) {
  for (int I = 0; I < Messages; ++I)
    if (SendMessageA(Wnd, WM_PING, WPARAM(I), 0) != LRESULT(I + 1)) std::printf("wrong answer\n");
}

void Run() {
  TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
  Form->SetBounds(0, 0, 300, 200);
  auto* Control = TComponent::Create<TPingControl>(Form);
  Control->SetBounds(10, 10, 100, 100);
  Control->SetParent(Form);
  Form->Show();
  bench::Pump();

  WNDCLASSA Class = {};
  Class.lpfnWndProc = BareProc;
  Class.hInstance = GetModuleHandleA(nullptr);
  Class.lpszClassName = "OrvalenBenchBare";
  RegisterClassA(&Class);
  HWND Bare = CreateWindowExA(0, Class.lpszClassName, "", WS_CHILD | WS_VISIBLE, 120, 10, 100, 100, Form->Handle(),
                              nullptr, Class.hInstance, nullptr);
  bench::Pump();
  const HWND Wnd = Control->Handle();
  SendAll(Wnd);  // warm up both
  SendAll(Bare);
  bench::Compare("SendMessage round trip", Runs, "a control's window", [&] { SendAll(Wnd); },
                 "a bare window procedure", [&] { SendAll(Bare); }, "within 1.5x", 1e9 / Messages, "ns/message");
  DestroyWindow(Bare);
  TObject::Free(Form);
}

}  // namespace

int main() {
  try {
    Run();
  } catch (const Exception& E) {
    std::fprintf(stderr, "messages_bench: %s\n", E.Message().c_str());
    return 1;
  }
  return 0;
}
