// Gradient form: a form whose caption bar it paints itself as a horizontal colour gradient
// (separate colours for the active and the inactive state), with an optional logo bitmap, the
// caption text in a font of its own and the caption buttons. Forms derive from it instead of
// from TForm; their form resources may set its properties.
#pragma once

#include "vcl/Forms.h"

#include <memory>
#include <vector>

enum TGFPaintWhen { gfpAlways, gfpActive, gfpNever };
extern const TEnumType TGFPaintWhenType;

enum TGFLogoAlign { laLeft, laRight };
extern const TEnumType TGFLogoAlignType;

// Called while the caption is painted: the canvas draws on the off-screen caption image, R is
// the caption rectangle left for the text (the handler may change it).
using TGFOnCaptionPaint = TClosure<TObject* /*Sender*/, TCanvas* /*Canvas*/, TRect& /*R*/>;

// How FillRectGradient fills a rectangle.
enum TGFFillMethod { gfmNone, gfmDithered, gfmBands, gfmStretched };

// A caption button as PaintCaptionButtons draws it: DFCS_CAPTIONxxx state bits and its bounds.
struct TGFCaptionButton {
  unsigned State;
  TRect Bounds;
};

// The call WMSetText makes to set and to clear a window region (SetWindowRgn; tests replace it).
using TGFSetWindowRgn = int(WINAPI*)(HWND, HRGN, BOOL);
extern TGFSetWindowRgn GradSetWindowRgn;

class TgrdGradientForm : public TForm {
  ORV_CLASS(TgrdGradientForm, TForm)
public:
  static constexpr int MinGradientColors = 8;
  static constexpr int MaxGradientColors = 512;
  // Dither masks (bitmap resources, 1 bit per pixel, 1 = white).
  static constexpr int Mask1Width = 69, Mask1Height = 30;
  static constexpr int Mask2Width = 14, Mask2Height = 28;

  explicit TgrdGradientForm(TComponent* AOwner);
  ~TgrdGradientForm() override;
  void AfterConstruction() override;

  // Published properties.
  AnsiString Version() const { return "TgrdGradientForm v2.02"; }
  void SetVersion(const AnsiString&) {}
  // The form's own copy of its caption text.
  AnsiString Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value) { SetCaptionText(Value); }
  TFont* CaptionFont() const { return FCaptionFont; }
  // Copies Value and stops following the system's caption font.
  void SetCaptionFont(TFont* Value);
  bool UseSystemCaptionFont() const { return FUseSystemCaptionFont; }
  void SetUseSystemCaptionFont(bool Value);
  int GradientColors() const { return FGradientColors; }
  // Values outside 8..512 are ignored.
  void SetGradientColors(int Value);
  TColor CaptionTextColor() const { return FCaptionTextColor; }
  void SetCaptionTextColor(TColor Value);
  TColor InactiveCaptionTextColor() const { return FInactiveCaptionTextColor; }
  void SetInactiveCaptionTextColor(TColor Value);
  TColor GradientStartColor() const { return FGradientStartColor; }
  void SetGradientStartColor(TColor Value);
  TColor GradientStopColor() const { return FGradientStopColor; }
  void SetGradientStopColor(TColor Value);
  TColor GradientInactiveStartColor() const { return FGradientInactiveStartColor; }
  void SetGradientInactiveStartColor(TColor Value);
  TColor GradientInactiveStopColor() const { return FGradientInactiveStopColor; }
  void SetGradientInactiveStopColor(TColor Value);
  TGFPaintWhen PaintGradient() const { return FPaintGradient; }
  void SetPaintGradient(TGFPaintWhen Value);
  bool UseWin98Gradient() const { return FUseWin98Gradient; }
  void SetUseWin98Gradient(bool Value);
  bool UseDithering() const { return FUseDithering; }
  void SetUseDithering(bool Value);
  TBitmap* Logo() const { return FLogo; }
  void SetLogo(TBitmap* Value);
  TBitmap* InactiveLogo() const { return FInactiveLogo; }
  void SetInactiveLogo(TBitmap* Value);
  TGFLogoAlign LogoAlign() const { return FLogoAlign; }
  void SetLogoAlign(TGFLogoAlign Value);
  bool LogoLayered() const { return FLogoLayered; }
  void SetLogoLayered(bool Value);
  TGFOnCaptionPaint OnCaptionPaint;

  // Public state.
  bool Paint16Color() const { return FPaint16Color; }
  void SetPaint16Color(bool Value);
  bool IsNewWindows() const { return FIsNewWindows; }
  bool Is16Color() const { return FIs16Color; }
  bool IsLoading() const { return FIsLoading; }
  bool StopColorIsDefault() const { return FStopColorIsDefault; }
  bool InactiveStopColorIsDefault() const { return FInactiveStopColorIsDefault; }
  // Entry Index (0..GradientColors-1) of the active or inactive colour table.
  TColor ColorTable(bool Active, int Index) const;

  // The system paints the caption (its own gradients, or a 16-colour screen).
  bool GetInhibitGradient();
  // A form that is no MDI child: its window is the active window. An MDI child: the main
  // form's window is active and this is its active MDI child.
  bool IsActiveWindow();
  // The text PaintCaptionText draws: Caption, and for an MDI frame whose active child is
  // maximised, " - [child's caption]" after it.
  AnsiString CaptionDisplayText();
  // Makes the system send a non-client repaint (nothing without a window or when inhibited).
  void InvalidateCaption();
  // Writer of Caption: sets the window text and repaints the gradient caption.
  void SetCaptionText(const AnsiString& Value);
  // The caption buttons PaintCaptionButtons draws in R (window coordinates: the caption
  // rectangle); R.Right moves left past them.
  std::vector<TGFCaptionButton> CaptionButtonLayout(TRect& R);
  // The method FillRectGradient uses for a rectangle of width W on DC.
  TGFFillMethod GradientFillMethod(HDC DC, int W, bool Active, bool Dither);

  // Painting steps (virtual so descendants can change them).
  virtual TRect GetCaptionRect();
  // Paints the caption on DC (a window DC); Rect receives the caption rectangle.
  virtual void DrawCaption(HDC DC, bool Active, TRect& Rect);
  virtual void PaintMenuIcon(HDC DC, TRect& R, bool Active);
  virtual void FillRectSolid(HDC DC, const TRect& R, bool Active, TColor ActiveColor, TColor InactiveColor);
  virtual void FillRectGradient(HDC DC, const TRect& R, bool Active, bool Dither);
  virtual void PaintCaptionText(HDC DC, TRect R, bool Active);
  virtual void PaintCaptionButtons(HDC DC, TRect& R);
  virtual void CalculateColors();
  virtual bool Win98Check();
  virtual void UpdateCaptionFont();
  // Paints the caption on the window now.
  virtual void Draw(bool Active);

  void Dispatch(TMessage& Message) override;

protected:
  TClass FormResourceRoot() const override;
  void ReadState(TReader* Reader) override;
  void DoCreate() override;
  void CreateWnd() override;
  void DestroyWnd() override;

  void WMNCActivate(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMSysColorChange(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMSetText(TMessage& Message);
  void WMGetText(TMessage& Message);
  void WMGetTextLength(TMessage& Message);
  void WMSettingChange(TMessage& Message);
  void WMNCLButtonDown(TMessage& Message);
  void WMSysCommand(TMessage& Message);
  void WMEnterIdle(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void WMDisplayChange(TMessage& Message);

private:
  bool HasSystemMenuIcon() const;
  bool IsMaximizedMDIChild();
  // A system colour change: default stop colours follow the system again.
  void SysColorsChanged();
  void DropCaptionImage();
  // Step for every MDI child (of an MDI frame) that is a gradient form.
  void ForEachGradientMDIChild(void (TgrdGradientForm::*Step)());
  // The MDI client's messages (an MDI frame's): the caption is drawn again after each
  // WM_MDICALCCHILDSCROLL.
  void GradClientWndProc(TMessage& Message);
  TWindowProcHook FClientHook;
  // The off-screen caption image and the dither masks, kept between paints.
  struct TCaptionCache;
  std::unique_ptr<TCaptionCache> FCache;
  void FillDithered(HDC DC, const TRect& R, bool Active, int Mask);
  void FillBands(HDC DC, const TRect& R, const TColor* Table);
  void FillStretched(HDC DC, const TRect& R, const TColor* Table);

  AnsiString FCaption;
  TFont* FCaptionFont = nullptr;
  TBitmap* FLogo = nullptr;
  TBitmap* FInactiveLogo = nullptr;
  TColor FCaptionTextColor = 0xFFFFFF;
  TColor FInactiveCaptionTextColor = 0xFFFFFF;
  TColor FGradientStartColor = 0;
  TColor FGradientStopColor = clActiveCaption;
  TColor FGradientInactiveStartColor = 0;
  TColor FGradientInactiveStopColor = clInactiveCaption;
  int FGradientColors = 64;
  TGFPaintWhen FPaintGradient = gfpAlways;
  TGFLogoAlign FLogoAlign = laRight;
  TColor FColors[2][MaxGradientColors] = {};   // [0] inactive, [1] active
  bool FStopColorIsDefault = true;
  bool FInactiveStopColorIsDefault = true;
  bool FIsNewWindows = false;
  bool FUseWin98Gradient = false;
  bool FIs16Color = false;
  bool FPaint16Color = false;
  bool FUseSystemCaptionFont = true;
  bool FIsLoading = false;
  bool FUseDithering = true;
  bool FLogoLayered = false;
};
