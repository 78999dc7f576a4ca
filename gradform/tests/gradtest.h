// Helpers of the gradient form tests: forms freed at the end of a test, whole-window pixels,
// a test form class built from its own text form resource.
#pragma once
#include "gradform/GradForm.h"
#include "vcl/StdCtrls.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

// Derives from the gradient form and reads TestGradForm.dfm.
class TGradTestForm : public TgrdGradientForm {
  ORV_CLASS(TGradTestForm, TgrdGradientForm)
public:
  explicit TGradTestForm(TComponent* AOwner) : TgrdGradientForm(AOwner) {
    OnCreate = TNotifyEvent::Bind<&TGradTestForm::Created>(this);
  }
  TLabel* Label1 = nullptr;
  bool LoadingSeen = false;          // IsLoading while the resource was applied
  bool LoadingInCreate = true;       // IsLoading in OnCreate
  void Created(TObject*) { LoadingInCreate = IsLoading(); }
protected:
  void Loaded() override {
    LoadingSeen = IsLoading();
    inherited::Loaded();
  }
};

// A component that records, in its Loaded, whether its form was still loading.
class TGradLoadProbe : public TComponent {
  ORV_CLASS(TGradLoadProbe, TComponent)
public:
  explicit TGradLoadProbe(TComponent* AOwner) : TComponent(AOwner) {}
  bool FormLoading = false;
  // When set: in Loaded, the flags the form leaves in a WM_WINDOWPOSCHANGING that hides its
  // window, with the gradient and with the gradient inhibited.
  static inline bool SendHide = false;
  unsigned HideFlags = 0, InhibitedHideFlags = 0;
  static constexpr unsigned Hide = SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
protected:
  void Loaded() override {
    inherited::Loaded();
    auto* F = dynamic_cast<TgrdGradientForm*>(Owner());
    if (!F) return;
    FormLoading = F->IsLoading();
    if (!SendHide) return;
    auto Flags = [F] {
      WINDOWPOS Pos{F->Handle(), nullptr, 0, 0, 0, 0, Hide};
      SendMessageA(F->Handle(), WM_WINDOWPOSCHANGING, 0, LPARAM(&Pos));
      return unsigned(Pos.flags);
    };
    HideFlags = Flags();
    F->SetUseWin98Gradient(true);
    InhibitedHideFlags = Flags();
    F->SetUseWin98Gradient(false);
  }
};

// Reads TestGradFontForm.dfm: a stored caption font that does not follow the system's, and a
// load probe.
class TGradFontForm : public TgrdGradientForm {
  ORV_CLASS(TGradFontForm, TgrdGradientForm)
public:
  explicit TGradFontForm(TComponent* AOwner) : TgrdGradientForm(AOwner) {}
  TGradLoadProbe* Probe1 = nullptr;
};

namespace gradtest {

struct TFormFree {
  void operator()(TCustomForm* F) const {
    TObject::Free(F);
    vcltest::PumpMessages();
  }
};
template <class T> using TFormPtr = std::unique_ptr<T, TFormFree>;

// A gradient form without a resource, of the given window size, not yet shown.
inline TFormPtr<TgrdGradientForm> NewGradForm(TFormBorderStyle Style, int Width = 420, int Height = 160,
                                              int Left = 60, int Top = 60) {
  TFormPtr<TgrdGradientForm> F(TComponent::Create<TgrdGradientForm>(nullptr));
  F->SetBorderStyle(Style);
  F->SetBounds(Left, Top, Width, Height);
  return F;
}

// Shows the form, makes it the foreground window and lets it paint.
inline void ShowActive(TCustomForm* F) {
  F->Show();
  SetForegroundWindow(F->Handle());
  vcltest::PumpUntil([&] { return GetActiveWindow() == F->Handle(); }, 100);
  vcltest::PumpRounds(3);
}

// A copy of the whole window (frame and caption included), as it is on the window's surface.
class TWindowShot {
public:
  explicit TWindowShot(HWND Wnd) {
    vcltest::PumpMessages();
    RECT R;
    GetWindowRect(Wnd, &R);
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->SetPixelFormat(pf24bit);
    FBitmap->SetSize(R.right - R.left, R.bottom - R.top);
    HDC DC = GetWindowDC(Wnd);
    BitBlt(FBitmap->Canvas()->Handle(), 0, 0, R.right - R.left, R.bottom - R.top, DC, 0, 0, SRCCOPY);
    ReleaseDC(Wnd, DC);
  }
  TColor operator()(int X, int Y) const { return FBitmap->Canvas()->Pixels(X, Y); }
  // Pixels of colour C in the rectangle.
  int Count(const TRect& R, TColor C) const {
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) N += (*this)(X, Y) == C;
    return N;
  }
  TBitmap* Bitmap() const { return FBitmap.get(); }
private:
  std::unique_ptr<TBitmap> FBitmap;
};

inline std::string Hex(TColor C) {
  char B[16];
  std::snprintf(B, sizeof B, "$%06X", unsigned(C) & 0xFFFFFFu);
  return B;
}

}  // namespace gradtest
