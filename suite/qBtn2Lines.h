// Two small graphic controls drawn off screen: a straight hair line across the control's bounds
// and a triangular arrow head that answers the mouse only inside its triangle.
#pragma once
#include "vcl/Controls.h"

#include <array>

enum TqcLineStart { qlsTop, qlsBottom };
extern const TEnumType TqcLineStartType;
enum TqcArrowStyle { qasClosed, qasOpen, qasLine };
extern const TEnumType TqcArrowStyleType;
enum TqcArrowDirection { qadN, qadE, qadS, qadW, qadNE, qadSE, qadSW, qadNW };
extern const TEnumType TqcArrowDirectionType;

// What both share: the bitmap they draw on (what lies beneath when Transparent, else Color).
class TqcLineControl : public TGraphicControl {
  ORV_CLASS(TqcLineControl, TGraphicControl)
public:
  explicit TqcLineControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  // At least 1 by 1.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // Clears (true) or sets (false) csOpaque.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::DragMode;
  using TControl::SetDragMode;
  using TControl::DragCursor;
  using TControl::SetDragCursor;

  TNotifyEvent OnPaint;

protected:
  void Paint() override;
  virtual void DrawOn(TCanvas* C, int W, int H) = 0;
  // Stores a changed value and repaints.
  template <class T> void Changed(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Invalidate();
  }

private:
  bool FTransparent = true;
};

class TqcHairLine : public TqcLineControl {
  ORV_CLASS(TqcHairLine, TqcLineControl)
public:
  explicit TqcHairLine(TComponent* AOwner);

  TPenStyle PenStyle() const { return FPenStyle; }
  void SetPenStyle(TPenStyle Value) { Changed(FPenStyle, Value); }
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor Value) { Changed(FLineColor, Value); }
  TqcLineStart LineStart() const { return FLineStart; }
  void SetLineStart(TqcLineStart Value) { Changed(FLineStart, Value); }
  // Corner to corner; takes precedence over Vertical.
  bool Diagonal() const { return FDiagonal; }
  void SetDiagonal(bool Value) { Changed(FDiagonal, Value); }
  bool Vertical() const { return FVertical; }
  void SetVertical(bool Value) { Changed(FVertical, Value); }
  // The pen width.
  unsigned Size() const { return FSize; }
  void SetSize(unsigned Value) { Changed(FSize, Value); }

protected:
  void DrawOn(TCanvas* C, int W, int H) override;

private:
  TPenStyle FPenStyle = psSolid;
  TColor FLineColor = clBtnText;
  TqcLineStart FLineStart = qlsTop;
  bool FDiagonal = true;
  bool FVertical = false;
  unsigned FSize = 1;
};

class TqcArrowHead : public TqcLineControl {
  ORV_CLASS(TqcArrowHead, TqcLineControl)
public:
  explicit TqcArrowHead(TComponent* AOwner);
  ~TqcArrowHead() override;
  void Dispatch(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TColor ArrowColor() const { return FArrowColor; }
  void SetArrowColor(TColor Value) { Changed(FArrowColor, Value); }
  TqcArrowStyle Style() const { return FStyle; }
  void SetStyle(TqcArrowStyle Value) { Changed(FStyle, Value); }
  // The hit area follows at once.
  TqcArrowDirection Direction() const { return FDirection; }
  void SetDirection(TqcArrowDirection Value);

  // The triangle of a W by H head: a base corner, the tip (for the diagonal directions the
  // right-angle corner) and the other base corner.
  static std::array<TPoint, 3> Triangle(TqcArrowDirection Direction, int W, int H);

protected:
  void DrawOn(TCanvas* C, int W, int H) override;
  void CMHitTest(TMessage& Message);

private:
  void MakeRegion();

  TColor FArrowColor = clBtnText;
  TqcArrowStyle FStyle = qasClosed;
  TqcArrowDirection FDirection = qadNW;
  HRGN FRegion = nullptr;
};
