// Helpers of the designer tests: a design form with its designer, the written form as text and
// its binary blocks, and an answerer for the application's message boxes.
#pragma once
#include "package/tests/pkgtest.h"
#include "rtl/Streaming.h"
#include "vcl/DesignIntf.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace designtest {

using pkgtest::Bytes;
using suitetest::TFormPtr;

// Every library's Register routine (test_design_registration.cpp).
void RegisterEverything();

// A shown form in design state, named "DesignForm", and the designer working over it.
template <class TDesigner = TFormDesigner>
struct TDesignForm {
  TFormPtr Form;
  std::unique_ptr<TDesigner> Designer;
  TDesignForm() : Form(TCustomForm::CreateNew<TForm>(nullptr)) {
    Form->SetName("DesignForm");
    Form->SetBounds(40, 40, 640, 480);
    Designer = std::make_unique<TDesigner>(Form.get());
  }
  ~TDesignForm() {
    Designer.reset();
    Form.reset();
    vcltest::PumpMessages();
  }
  TDesignForm(const TDesignForm&) = delete;
  TDesignForm& operator=(const TDesignForm&) = delete;
  void Show() {
    Form->Show();
    vcltest::PumpRounds(2);
  }
  // The form as the designer writes it.
  std::unique_ptr<TMemoryStream> Write() {
    auto S = std::make_unique<TMemoryStream>();
    Designer->WriteForm(S.get());
    S->SetPosition(0);
    return S;
  }
};

// A new form in design state read from a written one.
inline TFormPtr ReadDesignForm(TMemoryStream* Written) {
  TFormPtr Form(TCustomForm::CreateNew<TForm>(nullptr));
  Form->SetDesigning(true);
  Written->SetPosition(0);
  ReadComponentRes(Written, Form.get());
  return Form;
}

inline std::string FormText(TMemoryStream* Written) {
  Written->SetPosition(0);
  TStringStream Text;
  ObjectBinaryToText(Written, &Text);
  Written->SetPosition(0);
  return Text.DataString().str();
}

// The bytes of binary property Prop ("Wave.Data") of the object named Object in a written form;
// Found false when it has none.
inline Bytes BinaryBlock(TMemoryStream* Written, const std::string& Object, const std::string& Prop,
                         bool* Found = nullptr) {
  const std::string Text = FormText(Written);
  Bytes B;
  if (Found) *Found = false;
  size_t At = Text.find("object " + Object + ":");
  if (At == std::string::npos) return B;
  size_t End = Text.find("\nobject ", At + 1);
  size_t P = Text.find(Prop + " = {", At);
  if (P == std::string::npos || (End != std::string::npos && P > End)) return B;
  if (Found) *Found = true;
  int Nibbles = 0, Value = 0;
  for (size_t I = P + Prop.size() + 4; I < Text.size() && Text[I] != '}'; ++I) {
    const char C = Text[I];
    int D = C >= '0' && C <= '9' ? C - '0' : C >= 'A' && C <= 'F' ? C - 'A' + 10 : -1;
    if (D < 0) continue;
    Value = Value * 16 + D;
    if (++Nibbles == 2) {
      B.push_back(uint8_t(Value));
      Nibbles = Value = 0;
    }
  }
  return B;
}

// The "Data" block a wave writes: flag, name length, name, data length, data.
inline Bytes WaveBlock(uint8_t Flag, const std::string& Name, const Bytes& Data) {
  Bytes B{Flag};
  auto Put32 = [&](uint32_t V) { for (int I = 0; I < 4; ++I) B.push_back(uint8_t(V >> (8 * I))); };
  Put32(uint32_t(Name.size()));
  B.insert(B.end(), Name.begin(), Name.end());
  Put32(uint32_t(Data.size()));
  B.insert(B.end(), Data.begin(), Data.end());
  return B;
}

// Answers the application's message boxes from a timer of their modal loop: each box seen gets
// the next answer (IDYES, IDNO...) and its caption and text are kept.
struct TBoxAnswerer {
  struct TSeen {
    std::string Caption, Text;
  };
  explicit TBoxAnswerer(std::vector<int> AAnswers) : Answers(std::move(AAnswers)) {
    Current() = this;
    Timer = SetTimer(nullptr, 0, 25, &Tick);
  }
  ~TBoxAnswerer() {
    KillTimer(nullptr, Timer);
    Current() = nullptr;
  }
  TBoxAnswerer(const TBoxAnswerer&) = delete;
  TBoxAnswerer& operator=(const TBoxAnswerer&) = delete;

  std::vector<int> Answers;
  std::vector<TSeen> Seen;

private:
  static TBoxAnswerer*& Current() {
    static TBoxAnswerer* P = nullptr;
    return P;
  }
  static BOOL CALLBACK Find(HWND W, LPARAM L) {
    char Cls[32] = {};
    GetClassNameA(W, Cls, sizeof Cls);
    if (std::string(Cls) == "#32770" && IsWindowVisible(W) && GetDlgItem(W, 0xFFFF)) {
      *reinterpret_cast<HWND*>(L) = W;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TBoxAnswerer* Self = Current();
    if (!Self) return;
    HWND Box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Find, reinterpret_cast<LPARAM>(&Box));
    if (!Box) Self->Answered = nullptr;  // gone: a later box may take its handle
    if (!Box || Self->Seen.size() >= Self->Answers.size() || Box == Self->Answered) return;
    char Buf[512] = {};
    GetWindowTextA(Box, Buf, sizeof Buf);
    TSeen S{Buf, ""};
    GetDlgItemTextA(Box, 0xFFFF, Buf, sizeof Buf);
    S.Text = Buf;
    Self->Answered = Box;
    const int Answer = Self->Answers[Self->Seen.size()];
    Self->Seen.push_back(S);
    PostMessageA(Box, WM_COMMAND, WPARAM(Answer), 0);
  }
  UINT_PTR Timer = 0;
  HWND Answered = nullptr;
};

}  // namespace designtest
