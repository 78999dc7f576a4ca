// Labels of unit Mystd: a label without a caption length limit and with mouse enter/leave events
// (TqBigLabel), raised, sunken or drop-shadow text (Tq3DLabel), a link that opens its address
// through the shell (TqcURLLabel), text at any angle (TqAngleLabel) and an invisible hot spot
// (TqMouseSpot). All are graphic controls painted on their parent.
#pragma once
#include "suite/Subrange.h"
#include "vcl/StdCtrls.h"

// ---------------------------------------------------------------------------------------------
class TqBigLabel : public TLabel {
  ORV_CLASS(TqBigLabel, TLabel)
public:
  // Captions longer than this are always laid out with word breaks.
  static constexpr int LongCaption = 255;

  explicit TqBigLabel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  // Draws (with DT_CALCRECT measures) the caption in Rect on ACanvas with the label's font.
  void DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags) override;
  // The caption as drawn or measured, and Flags completed for it (prefix, long-caption breaks);
  // selects the label's font into ACanvas.
  AnsiString PrepareText(TCanvas* ACanvas, unsigned& Flags);
  // The font colour of the plain copy of the text.
  TColor TextColor() const;

private:
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
};

// ---------------------------------------------------------------------------------------------
class Tq3DLabel : public TqBigLabel {
  ORV_CLASS(Tq3DLabel, TqBigLabel)
public:
  explicit Tq3DLabel(TComponent* AOwner) : TqBigLabel(AOwner) {}

  bool Raised() const { return FRaised; }
  void SetRaised(bool Value);
  bool Use3D() const { return FUse3D; }
  void SetUse3D(bool Value);
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  bool UseDropShadow() const { return FUseDropShadow; }
  void SetUseDropShadow(bool Value);
  int DropShadowSize() const { return FDropShadowSize; }
  void SetDropShadowSize(int Value);

protected:
  void DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags) override;

private:
  void Changed();

  bool FRaised = true;
  bool FUse3D = true;
  TColor FHighlightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  bool FUseDropShadow = false;
  int FDropShadowSize = 2;
};

// ---------------------------------------------------------------------------------------------
// True when a ShellExecute result reports success (values up to 32 are error codes).
inline bool ShellExecuteSucceeded(HINSTANCE Result) { return reinterpret_cast<uintptr_t>(Result) > 32; }

// A link: clicking it (or its accelerator) runs OnClick, then opens URL through the shell.
class TqcURLLabel : public Tq3DLabel {
  ORV_CLASS(TqcURLLabel, Tq3DLabel)
public:
  static constexpr const char* DefaultURL = "https://www.example.com/";

  explicit TqcURLLabel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  const AnsiString& URL() const { return FURL; }
  void SetURL(const AnsiString& Value) { FURL = Value; }
  // Whether the shell opened the URL at the last click; writes are ignored.
  bool LastClickOK() const { return FLastClickOK; }
  void SetLastClickOK(bool) {}

protected:
  void Click() override;

private:
  void CMDialogChar(TMessage& Message);

  AnsiString FURL = DefaultURL;
  bool FLastClickOK = true;
};

// ---------------------------------------------------------------------------------------------
using TqAngle = unsigned short;  // degrees
inline constexpr TSubrangeType TqAngleRange{"TqAngle", 0, 359};

// Text drawn at Angle degrees (counter-clockwise) through the centre of a square control.
class TqAngleLabel : public TCustomLabel {
  ORV_CLASS(TqAngleLabel, TCustomLabel)
public:
  explicit TqAngleLabel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void Loaded() override;

  TqAngle Angle() const { return FAngle; }
  // ERangeError "Range check error" outside 0..359.
  void SetAngle(int Value);
  bool Raised() const { return FRaised; }
  void SetRaised(bool Value);
  bool Use3D() const { return FUse3D; }
  void SetUse3D(bool Value);
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  bool UseDropShadow() const { return FUseDropShadow; }
  void SetUseDropShadow(bool Value);
  int DropShadowSize() const { return FDropShadowSize; }
  void SetDropShadowSize(int Value);

  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TControl::DragMode;
  using TControl::SetDragMode;

  TNotifyEvent OnPaint;

protected:
  void Paint() override;

private:
  void Changed();
  // Side of the square: the caption's width in the label's font plus 16.
  int SquareSide() const;
  // Makes the control square for its caption and repaints its area on the parent.
  void UpdateSquare();

  TqAngle FAngle = 0;
  long double FCos = 1, FSin = 0;
  bool FRaised = true;
  bool FUse3D = false;
  TColor FHighlightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  bool FUseDropShadow = false;
  int FDropShadowSize = 2;
};

// ---------------------------------------------------------------------------------------------
// An invisible hot spot with mouse enter/leave events; OnParentPaint lets the owner draw what
// lies under it.
class TqMouseSpot : public TCustomLabel {
  ORV_CLASS(TqMouseSpot, TCustomLabel)
public:
  explicit TqMouseSpot(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  using TControl::DragMode;
  using TControl::SetDragMode;

  TNotifyEvent OnParentPaint;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  void Paint() override;

private:
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
};
