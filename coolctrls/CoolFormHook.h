// Unit CoolCtrls, form decorators: TCoolFormHook changes how the form that owns it looks and
// behaves through a window hook on the form's window (gradient or wallpaper background,
// dragging by the client area, no caption, elliptic or see-through shapes, alpha transparency);
// TMDICoolFormHook also decorates the client and the children of an MDI frame. All of it only
// at run time.
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "coolctrls/WndHook.h"

#include <utility>
#include <vector>

class TCoolFormHook : public TComponent {
  ORV_CLASS(TCoolFormHook, TComponent)
public:
  explicit TCoolFormHook(TComponent* AOwner);
  // Undoes every decoration of a live form, then frees what it owns.
  void BeforeDestruction() override;
  // Run time: makes the form's window, hooks it and applies the options; a window the form
  // makes again later gets them again. A hook made in code does the same at its first change
  // of Options.
  void Loaded() override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  TColor StartColor() const { return FStartColor; }
  void SetStartColor(TColor Value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection Value);
  TCoolOptions Options() const { return FOptions; }
  // Stored always; applied to a live form as the difference from the old set.
  virtual void SetOptions(TCoolOptions Value);
  // Read when the rounded shape is made, which stores them negative.
  int RoundXOffset() const { return FRoundXOffset; }
  void SetRoundXOffset(int Value) { FRoundXOffset = Value; }
  int RoundYOffset() const { return FRoundYOffset; }
  void SetRoundYOffset(int Value) { FRoundYOffset = Value; }
  // The alpha of ocPaintFormSemiTransparently, applied at once while that is in effect.
  TTransparencyIntense TransparencyIntense() const { return FTransparencyIntense; }
  void SetTransparencyIntense(TTransparencyIntense Value);

  // The decorated form (the owner when that is a form) and the hook on its window.
  TCustomForm* Form() const { return FForm; }
  TWndHook* Hook() const { return FHook; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A form is set, has its window and is not being destroyed.
  bool FormAssigned() const;
  bool Decorating() const { return FormAssigned() && !HasState(csDesigning); }
  // At run time with a form: makes its window and hooks it; whether it decorates now.
  bool Activate();
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  // The decorations of New against Old on the form's window.
  virtual void ApplyOptions(TCoolOptions Old, TCoolOptions New);
  void Repaint();
  // The gradient of StartColor, EndColor and GradientDirection over Rect.
  void PaintGradient(HDC DC, const TRect& Rect) const;

private:
  class TFormWndHook;
  void BeforeMessage(TObject* Sender, TMessage& Msg, bool& Handled);
  void AfterMessage(TObject* Sender, TMessage& Msg, bool& Handled);
  void ChangeControl(TObject* Sender);
  void CoolImagesChange(TObject* Sender);
  void WallpaperChanged(TObject* Sender);
  template <class T> void SetGradientValue(T& Field, T Value);
  void ApplyShape(TCoolOptions New);
  void ApplyLayered(bool On);

  mutable TCoolWallpaper FWallpaper;
  TCoolOptions FOptions = 0;
  int FRoundXOffset = 0;
  int FRoundYOffset = 0;
  TColor FStartColor = clBlue;
  TColor FEndColor = clBlack;
  TWndHook* FHook;  // owned (a component of this one)
  TCCAboutBox* FAbout = nullptr;
  TGradientDirection FGradientDirection = gdVertical;
  TTransparencyIntense FTransparencyIntense = 128;
  TCustomForm* FForm;
};

class TMDICoolFormHook : public TCoolFormHook {
  ORV_CLASS(TMDICoolFormHook, TCoolFormHook)
public:
  explicit TMDICoolFormHook(TComponent* AOwner);
  // Gives the client its procedure back (while it is still the hook's) and the children their
  // paint handlers.
  ~TMDICoolFormHook() override;
  void Loaded() override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ApplyOptions(TCoolOptions Old, TCoolOptions New) override;
  // The MDI client's messages; without a form everything passes on.
  virtual void ClientWndProc(TMessage& Msg);

private:
  void HookClient();
  void HookedPaint(TObject* Sender);
  void WrapPaint(TCustomForm* Child);
  using TSavedPaints = std::vector<std::pair<TCustomForm*, TNotifyEvent>>;
  TSavedPaints::iterator SavedPaint(TCustomForm* Child);
  TWindowProcHook FClientHook;
  TSavedPaints FSavedPaints;  // each wrapped child's own paint handler
};

// How the form hooks look a function up in a system library (GetProcAddress by default);
// returns the previous one. For tests.
using TCoolProcLookup = FARPROC(WINAPI*)(HMODULE Module, const char* Name);
TCoolProcLookup SetCoolProcLookup(TCoolProcLookup Lookup);
