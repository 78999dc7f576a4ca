#include "suite/Std2Shape.h"
#include "vcl/GdiGuards.h"

#include <iterator>

namespace std2shape {

namespace {

// The measures both families derive their points from.
struct TMeasure {
  int W, H;      // the control's size (windowed) or one less (graphic)
  int w3, h3;    // its thirds
  int MinusLow;  // the y of the bar's lower block's inner corners
};

TMeasure MeasureOf(int W, int H, TFamily Family) {
  TMeasure M{};
  if (Family == sfWindowed) {
    M.W = W;
    M.H = H;
    M.w3 = W / 3 + (3 * (W / 3) < W ? 1 : 0);
    M.h3 = H / 3 + (3 * (H / 3) < H ? 1 : 0);
    M.MinusLow = 2 * M.h3 + M.h3 / 4 - 1;
  } else {
    M.W = W - 1;
    M.H = H - 1;
    M.w3 = M.W / 3;
    M.h3 = M.H / 3;
    M.MinusLow = 2 * M.h3 + M.h3 / 4;
  }
  return M;
}

[[noreturn]] void OutOfResources() { throw EOutOfResources("Out of system resources"); }

HRGN Checked(HRGN R) {
  if (!R) OutOfResources();
  return R;
}

HRGN Polygon(std::initializer_list<POINT> P) {
  return Checked(CreatePolygonRgn(P.begin(), int(P.size()), ALTERNATE));
}

// A triangle's point list, its first point repeated as the fourth.
HRGN Triangle(POINT A, POINT B, POINT C) { return Polygon({A, B, C, A}); }

}  // namespace

HRGN ShapeRegion(sbType Shape, int W0, int H0, TFamily Family) {
  const TMeasure M = MeasureOf(W0, H0, Family);
  const int W = M.W, H = M.H, w3 = M.w3, h3 = M.h3;
  switch (Shape) {
    case sbUpTriangle: case sb000: case sb360: return Triangle({W / 2, 0}, {0, H}, {W, H});
    case sbDnTriangle: case sb180: return Triangle({0, 0}, {W / 2, H}, {W, 0});
    case sbLTriangle: case sb270: return Triangle({0, H / 2}, {W, 0}, {W, H});
    case sbRTriangle: case sb090: return Triangle({0, 0}, {W, H / 2}, {0, H});
    case sbTLTriangle: return Triangle({0, H}, {0, 0}, {W, 0});
    case sbTRTriangle: return Triangle({0, 0}, {W, 0}, {W, H});
    case sbBLTriangle: return Triangle({0, 0}, {0, H}, {W, H});
    case sbBRTriangle: return Triangle({W, 0}, {W, H}, {0, H});
    case sbUpLTriangle: case sb315: return Triangle({0, 0}, {W / 3, H}, {W, H / 3});
    case sbUpRTriangle: case sb045: return Triangle({W, 0}, {W - W / 3, H}, {0, H / 3});
    case sbDnRTriangle: case sb135: return Triangle({W, H}, {0, H - H / 3}, {W - W / 3, 0});
    case sbDnLTriangle: case sb225: return Triangle({0, H}, {W / 3, 0}, {W, H - H / 3});
    case sbPlus:
      return Polygon({{w3, 0}, {2 * w3, 0}, {2 * w3, h3}, {3 * w3, h3}, {3 * w3, 2 * h3}, {2 * w3, 2 * h3},
                      {2 * w3, 3 * h3}, {w3, 3 * h3}, {w3, 2 * h3}, {0, 2 * h3}, {0, h3}, {w3, h3}});
    case sbMinus: {
      const int Top = h3 - h3 / 4, Low = M.MinusLow;
      const POINT P[] = {{w3, 0},      {2 * w3, 0},      {2 * w3, Top},    {w3, Top},        {w3, 0},
                         {w3, 3 * h3}, {2 * w3, 3 * h3}, {2 * w3, Low},    {w3, Low},        {w3, 3 * h3},
                         {0, h3},      {0, 2 * h3},      {W, 2 * h3},      {W, h3},          {0, h3}};
      const INT Counts[] = {5, 5, 5};
      return Checked(CreatePolyPolygonRgn(P, Counts, 3, ALTERNATE));
    }
    case sbCircle: return Checked(CreateRoundRectRgn(0, 0, W, H, W, H));
    case sbUpTrapezoid: return Polygon({{w3, 0}, {2 * w3, 0}, {W, H}, {0, H}, {w3, 0}});
    case sbDnTrapezoid: return Polygon({{0, 0}, {W, 0}, {2 * w3, H}, {w3, H}, {0, 0}});
    case sbLTrapezoid: return Polygon({{W, 0}, {W, H}, {0, 2 * h3}, {0, h3}, {W, 0}});
    case sbRTrapezoid: return Polygon({{0, 0}, {0, H}, {W, 2 * h3}, {W, h3}, {0, 0}});
    case sbRectangle:
    case sbOwnerDraw:
    default: return Checked(CreateRectRgn(0, 0, W, H));
  }
}

std::vector<TEdgeLine> EdgeLines(sbType Shape, int W, int H, TFamily Family) {
  const int W1 = W - 1, H1 = H - 1;
  const bool Up = Family == sfWindowed;  // thirds and halves rounded up
  const int mx = W1 / 2 + (Up && 2 * (W1 / 2) < W1 ? 1 : 0), my = H1 / 2 + (Up && 2 * (H1 / 2) < H1 ? 1 : 0);
  const int tx = W1 / 3, ty = H1 / 3;
  const int b = tx + (Up && 3 * tx < W1 ? 1 : 0), a = ty + (Up && 3 * ty < H1 ? 1 : 0);
  const int tw = tx, th = ty, q = a / 4;
  using P = TPoint;
  auto S = [](std::initializer_list<P> Pts) { return TEdgeLine{epS, Pts}; };
  auto L = [](std::initializer_list<P> Pts) { return TEdgeLine{epL, Pts}; };
  auto K = [](std::initializer_list<P> Pts) { return TEdgeLine{epK, Pts}; };
  if (!Up) {
    // The shape button's own rows.
    switch (Shape) {
      case sbBLTriangle:
        return {S({P(0, H1), P(0, 0)}), S({P(2, 3), P(W1 - 2, H1 - 1), P(1, H1 - 1)}), L({P(1, 2), P(1, H1)}),
                K({P(2, 2), P(W1, H1), P(0, H1)})};
      case sbBRTriangle:
        return {S({P(W1, 0), P(0, H1)}), S({P(W1 - 1, 2), P(W1 - 1, H1 - 1), P(1, H1 - 1)}),
                L({P(1, H1), P(W1 - 1, 2)}), K({P(1, H1), P(W1, H1), P(W1, 1)})};
      case sbDnRTriangle: case sb135:
        return {S({P(W1 - tx, 0), P(0, H1 - ty)}), S({P(W1 - tx - 1, 1), P(W1 - 2, H1 - 2)}),
                S({P(2, H1 - ty - 1), P(W1 - 1, H1 - 2)}), L({P(W1 - tx, 2), P(2, H1 - ty)}),
                K({P(W1 - tx, 0), P(W1, H1)}), K({P(0, H1 - ty), P(W1, H1)})};
      case sbDnLTriangle: case sb225:
        return {S({P(0, H1), P(tx, 0)}), S({P(tx, 0), P(W1, H1 - ty)}), S({P(2, H1 - 2), P(W1 - 1, H1 - ty - 1)}),
                L({P(2, H1 - 2), P(tx + 1, 2)}), L({P(tx + 1, 2), P(W1 - 1, H1 - ty)}), K({P(0, H1), P(W1, H1 - ty)})};
      case sbMinus: {
        const int w3 = tx, h3 = ty, Top = h3 - h3 / 4, Low = 2 * h3 + h3 / 4;
        return {S({P(w3, Top), P(w3, 0), P(2 * w3, 0)}),
                S({P(w3 + 1, Top - 1), P(2 * w3 - 1, Top - 1), P(2 * w3 - 1, 0)}),
                S({P(w3, H1), P(w3, Low), P(2 * w3, Low)}),
                S({P(w3 + 1, H1 - 1), P(2 * w3 - 1, H1 - 1), P(2 * w3 - 1, Low)}),
                S({P(0, 2 * h3), P(0, h3), P(W1, h3)}),
                S({P(1, 2 * h3 - 1), P(W1 - 1, 2 * h3 - 1), P(W1 - 1, h3)}),
                L({P(w3 + 1, Top - 1), P(w3 + 1, 1), P(2 * w3 - 1, 1)}),
                L({P(w3 + 1, H1 - 1), P(w3 + 1, Low + 1), P(2 * w3 - 1, Low + 1)}),
                L({P(1, 2 * h3 - 1), P(1, h3 + 1), P(W1 - 1, h3 + 1)}),
                K({P(2 * w3, 0), P(2 * w3, Top), P(w3, Top)}),
                K({P(2 * w3, Low), P(2 * w3, H1), P(w3, H1)}),
                K({P(W1, h3), P(W1, 2 * h3), P(0, 2 * h3)})};
      }
      default: break;
    }
  }
  switch (Shape) {
    case sbCircle: return {};
    case sbUpTriangle: case sb000: case sb360:
      return {S({P(mx, 0), P(0, H1)}), S({P(mx, 2), P(W1 - 2, H1 - 1), P(1, H1 - 1)}), L({P(mx, 2), P(2, H1 - 1)}),
              K({P(mx, 1), P(W1, H1), P(0, H1)})};
    case sbDnTriangle: case sb180:
      return {S({P(mx, H1), P(0, 0), P(W1, 0)}), S({P(W1 - 2, 1), P(mx - 1, H1 - 1)}),
              L({P(mx, H1 - 2), P(2, 1), P(W1 - 2, 1)}), K({P(W1, 0), P(mx, H1)})};
    case sbLTriangle: case sb270:
      return {S({P(0, my), P(W1, 0)}), S({P(W1 - 1, 1), P(W1 - 1, H1 - 2), P(1, my - 1)}),
              L({P(2, my), P(W1 - 1, 2)}), K({P(W1, 0), P(W1, H1), P(0, my)})};
    case sbRTriangle: case sb090:
      return {S({P(0, H1), P(0, 0), P(W1, my)}), S({P(1, H1 - 1), P(W1 - 1, my)}),
              L({P(1, H1 - 1), P(1, 2), P(W1 - 2, my)}), K({P(0, H1), P(W1, my)})};
    case sbTLTriangle:
      return {S({P(0, H1), P(0, 0), P(W1, 0)}), S({P(W1 - 3, 2), P(2, H1 - 3)}),
              L({P(1, H1 - 2), P(1, 1), P(W1 - 2, 1)}), K({P(W1, 0), P(0, H1)})};
    case sbTRTriangle:
      return {S({P(W1, H1), P(0, 0), P(W1, 0)}), S({P(W1 - 1, 0), P(W1 - 1, H1)}),
              L({P(W1 - 2, H1 - 3), P(2, 1), P(W1 - 1, 1)}), K({P(W1, 0), P(W1, H1)})};
    case sbBLTriangle:
      return {S({P(0, H1), P(0, 0)}), S({P(2, 4), P(W1 - 3, H1 - 1), P(1, H1 - 1)}), L({P(1, 2), P(1, H1)}),
              K({P(2, 3), P(W1 - 1, H1), P(0, H1)})};
    case sbBRTriangle:
      return {S({P(W1, 1), P(1, H1)}), S({P(W1 - 1, 2), P(W1 - 1, H1 - 1), P(1, H1 - 1)}), L({P(2, H1), P(W1, 2)}),
              K({P(1, H1), P(W1, H1), P(W1, 1)})};
    case sbUpLTriangle: case sb315:
      return {S({P(0, 0), P(tx, H1)}), S({P(0, 0), P(W1, ty)}), S({P(tx - 1, H1 - 1), P(W1 - 1, ty - 1)}),
              L({P(2, 2), P(tx + 1, H1 - 1)}), L({P(2, 2), P(W1 - 1, ty + 1)}), K({P(W1, ty), P(tx, H1)})};
    case sbUpRTriangle: case sb045:
      return {S({P(W1 - 1, 0), P(W1 - tx - 1, H1)}), S({P(W1 - tx, H1), P(0, ty)}), S({P(0, ty), P(W1, 0)}),
              L({P(W1 - 2, 2), P(2, ty + 1)}), L({P(2, ty + 1), P(W1 - tx - 1, H1 - 2)}), K({P(W1, 0), P(W1 - tx, H1)})};
    case sbDnRTriangle: case sb135:
      return {S({P(W1 - tx, 1), P(0, H1 - ty + 1)}), S({P(W1 - tx - 1, 1), P(W1 - 2, H1 - 2)}),
              S({P(2, H1 - ty - 1), P(W1 - 1, H1 - 2)}), L({P(W1 - tx - 1, 4), P(1, H1 - ty + 2)}),
              K({P(W1 - tx, 0), P(W1, H1)}), K({P(0, H1 - ty), P(W1, H1)})};
    case sbDnLTriangle: case sb225:
      return {S({P(0, H1), P(tx, 0)}), S({P(tx - 1, 0), P(W1 - 1, H1 - ty)}), S({P(2, H1 - 2), P(W1 - 1, H1 - ty - 1)}),
              L({P(2, H1 - 2), P(tx + 1, 2)}), L({P(tx, 2), P(W1 - 2, H1 - ty)}), K({P(0, H1), P(W1, H1 - ty)})};
    case sbUpTrapezoid:
      return {L({P(2, H1 - 1), P(b + 1, 1), P(2 * tw, 1)}), K({P(0, H1), P(W1, H1), P(2 * tw, 1)}),
              S({P(0, H1), P(b, 0), P(2 * tw, 0)}), S({P(2, H1 - 1), P(W1 - 2, H1 - 1), P(2 * tw - 1, 2)})};
    case sbDnTrapezoid:
      return {L({P(b + 1, H1 - 1), P(2, 1), P(W1 - 1, 1)}), K({P(b, H1), P(2 * tw, H1), P(W1, 1)}),
              S({P(b, H1), P(0, 0), P(W1 + 1, 0)}), S({P(b + 1, H1 - 1), P(2 * tw - 1, H1 - 1), P(W1 - 1, 1)})};
    case sbRTrapezoid:
      return {L({P(W1 - 1, a + 1), P(1, 1), P(1, H1 - 1)}), K({P(W1, a), P(W1, 2 * th), P(1, H1)}),
              S({P(0, H1), P(0, 0), P(W1, a)}), S({P(W1 - 1, a), P(W1 - 1, 2 * th - 1), P(1, H1 - 1)})};
    case sbLTrapezoid:
      return {L({P(1, 2 * th), P(1, a + 1), P(W1 - 1, 1)}), K({P(0, 2 * th), P(W1, H1), P(W1, 0)}),
              S({P(0, 2 * th), P(0, a), P(W1, 0)}), S({P(1, 2 * th - 1), P(W1 - 1, H1 - 2), P(W1 - 1, 2)})};
    case sbPlus:
      return {S({P(b, 3 * th), P(b, 2 * th)}),
              S({P(0, 2 * th), P(0, a), P(b, a), P(b, 0), P(2 * tw, 0)}),
              S({P(2 * tw, a), P(3 * tw, a)}),
              S({P(1, 2 * th - 1), P(b + 1, 2 * th - 1)}),
              S({P(2 * tw - 1, 1), P(2 * tw - 1, a + 1)}),
              S({P(3 * tw - 1, a + 1), P(3 * tw - 1, 2 * th - 1), P(2 * tw - 1, 2 * th - 1), P(2 * tw - 1, 3 * th - 1),
                 P(b + 1, 3 * th - 1)}),
              L({P(3 * tw - 1, a + 1), P(2 * tw - 1, a + 1)}),
              L({P(2 * tw - 1, 1), P(b + 1, 1), P(b + 1, a + 1), P(1, a + 1), P(1, 2 * th - 1)}),
              L({P(b + 1, 2 * th - 1), P(b + 1, 3 * th - 1)}),
              K({P(2 * tw, 0), P(2 * tw, a)}),
              K({P(3 * tw, a), P(3 * tw, 2 * th), P(2 * tw, 2 * th), P(2 * tw, 3 * th), P(b, 3 * th)}),
              K({P(0, 2 * th), P(b, 2 * th)})};
    case sbMinus:
      return {S({P(b, a - q - 1), P(b, 0), P(W1 - b - 1, 0)}),
              S({P(b + 1, a - q - 2), P(W1 - b - 2, a - q - 2), P(W1 - b - 2, 0)}),
              S({P(b, H1), P(b, q + H1 - a + 1), P(W1 - b - 1, q + H1 - a + 1)}),
              S({P(b + 1, H1 - 1), P(W1 - b - 2, H1 - 1), P(W1 - b - 2, q + H1 - a + 1)}),
              S({P(0, H1 - a - 1), P(0, a), P(W1, a)}),
              S({P(1, H1 - a - 2), P(W1 - 1, H1 - a - 2), P(W1 - 1, a)}),
              L({P(b + 1, a - q - 2), P(b + 1, 1), P(W1 - b - 2, 1)}),
              L({P(b + 1, H1 - 1), P(b + 1, q + H1 - a + 2), P(W1 - b - 2, q + H1 - a + 2)}),
              L({P(1, H1 - a - 2), P(1, a + 1), P(W1 - 1, a + 1)}),
              K({P(W1 - b - 1, 0), P(W1 - b - 1, a - q - 1), P(b, a - q - 1)}),
              K({P(W1 - b - 1, q + H1 - a + 1), P(W1 - b - 1, H1), P(b, H1)}),
              K({P(W1, a), P(W1, H1 - a - 1), P(0, H1 - a - 1)})};
    case sbRectangle:
    case sbOwnerDraw:
    default:
      return {S({P(0, H1), P(0, 0), P(W1, 0)}), S({P(W1 - 1, 1), P(W1 - 1, H1 - 1), P(1, H1 - 1)}),
              L({P(1, H1 - 1), P(1, 1), P(W1 - 1, 1)}), K({P(W1, 0), P(W1, H1), P(0, H1)})};
  }
}

void DrawEdge(TCanvas* C, sbType Shape, int W, int H, TFamily Family, bool Down, TColor Shadow, TColor HighLight) {
  const TColor Pens[] = {Shadow, Down ? clBlack : HighLight, Down ? HighLight : clBlack};
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  if (Shape == sbCircle) {
    // Counter-clockwise arcs on the outer box and the box one pixel in.
    const int W1 = W - 1, H1 = H - 1, c = W1 / 2, d = c / 2 + c;
    C->Pen()->SetColor(Pens[epS]);
    C->Arc(0, 0, W1, H1, d, 0, d - c, H1);
    C->Arc(1, 1, W1 - 1, H1 - 1, d - c - 2, H1 - 2, d - 2, 2);
    C->Pen()->SetColor(Pens[epL]);
    C->Arc(1, 1, W1 - 1, H1 - 1, d - 2, 2, d - c - 2, H1 - 2);
    C->Pen()->SetColor(Pens[epK]);
    C->Arc(0, 0, W1, H1, d - c, H1, d, 0);
    return;
  }
  for (const TEdgeLine& Line : EdgeLines(Shape, W, H, Family)) {
    C->Pen()->SetColor(Pens[Line.Pen]);
    C->Polyline(std::span<const TPoint>(Line.Points));
  }
}

bool SameRegion(HRGN A, HRGN B) {
  TRgnOwner Diff(CreateRectRgn(0, 0, 0, 0));
  return Diff && CombineRgn(Diff, A, B, RGN_XOR) == NULLREGION;
}

void SetWindowRegion(HWND Window, HRGN Region, bool Redraw) {
  TRgnOwner Current(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(Window, Current) != ERROR && SameRegion(Current, Region)) {
    DeleteObject(Region);
    return;
  }
  // A region the window refuses stays with the caller.
  if (!SetWindowRgn(Window, Region, Redraw)) DeleteObject(Region);
}

}  // namespace std2shape
