// Unit Std2, the geometry of the 30 button shapes: the region of each shape and the one-pixel
// polylines of its bevelled edge, for the windowed shaped buttons (the control's width and
// height, thirds rounded up) and the non-windowed shape button (width and height less one,
// thirds truncated), from one set of tables.
#pragma once
#include "suite/Std2.h"

#include <vector>

namespace std2shape {

enum TFamily {
  sfWindowed,  // TqcShapeColorBtn and its descendants
  sfGraphic,   // TqShapeBtn
};

// The region of Shape for a W by H control (sbOwnerDraw: the rectangle); the caller owns it.
// EOutOfResources when GDI refuses it.
HRGN ShapeRegion(sbType Shape, int W, int H, TFamily Family);

// The edge pens: S the shadow colour, L the highlight (black while pressed), K black (the
// highlight while pressed).
enum TEdgePen { epS, epL, epK };

struct TEdgeLine {
  TEdgePen Pen;
  std::vector<TPoint> Points;  // drawn by Polyline, the last point left out
};

// The polylines of Shape's edge in drawing order (none for sbCircle, whose edge is EdgeArcs).
std::vector<TEdgeLine> EdgeLines(sbType Shape, int W, int H, TFamily Family);

// Draws Shape's edge with a solid one-pixel pen: the polylines, or the four arcs of the circle.
void DrawEdge(TCanvas* C, sbType Shape, int W, int H, TFamily Family, bool Down, TColor Shadow, TColor HighLight);

// Whether two regions cover the same pixels (EqualRgn compares how they are stored, which may
// differ for equal regions).
bool SameRegion(HRGN A, HRGN B);

// Gives Window the region Region unless it has one of the same pixels already; Region is then
// the window's, or deleted.
void SetWindowRegion(HWND Window, HRGN Region, bool Redraw);

}  // namespace std2shape
