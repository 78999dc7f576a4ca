// Geometry types shared by the class library; layout-compatible with POINT, SIZE and RECT.
#pragma once

#include "vcl/Win.h"

struct TPoint {
  int X = 0, Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int x, int y) : X(x), Y(y) {}
  TPoint(const POINT& p) : X(p.x), Y(p.y) {}
  operator POINT() const { return POINT{X, Y}; }
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
  constexpr TPoint operator+(const TPoint& o) const { return {X + o.X, Y + o.Y}; }
  constexpr TPoint operator-(const TPoint& o) const { return {X - o.X, Y - o.Y}; }
};

struct TSize {
  int cx = 0, cy = 0;
  constexpr TSize() = default;
  constexpr TSize(int w, int h) : cx(w), cy(h) {}
  TSize(const SIZE& s) : cx(s.cx), cy(s.cy) {}
  operator SIZE() const { return SIZE{cx, cy}; }
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr TRect(TPoint tl, TPoint br) : Left(tl.X), Top(tl.Y), Right(br.X), Bottom(br.Y) {}
  TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
  operator RECT() const { return RECT{Left, Top, Right, Bottom}; }

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  constexpr TSize Size() const { return {Right - Left, Bottom - Top}; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  // Half-open: the right and bottom edges are outside.
  constexpr bool Contains(TPoint p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  constexpr void Offset(int dx, int dy) { Left += dx; Right += dx; Top += dy; Bottom += dy; }
  constexpr void Inflate(int dx, int dy) { Left -= dx; Right += dx; Top -= dy; Bottom += dy; }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

static_assert(sizeof(TPoint) == sizeof(POINT) && sizeof(TSize) == sizeof(SIZE) &&
              sizeof(TRect) == sizeof(RECT), "geometry must match the Win32 layout");

inline RECT& AsRECT(TRect& r) { return *reinterpret_cast<RECT*>(&r); }
inline const RECT& AsRECT(const TRect& r) { return *reinterpret_cast<const RECT*>(&r); }
inline RECT* AsRECTPtr(TRect* r) { return reinterpret_cast<RECT*>(r); }
inline POINT& AsPOINT(TPoint& p) { return *reinterpret_cast<POINT*>(&p); }
inline const POINT& AsPOINT(const TPoint& p) { return *reinterpret_cast<const POINT*>(&p); }
inline POINT* AsPOINTPtr(TPoint* p) { return reinterpret_cast<POINT*>(p); }
inline const POINT* AsPOINTPtr(const TPoint* p) { return reinterpret_cast<const POINT*>(p); }
inline SIZE& AsSIZE(TSize& s) { return *reinterpret_cast<SIZE*>(&s); }

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TSize Size(int cx, int cy) { return {cx, cy}; }
constexpr TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
constexpr TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }

constexpr bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }

// Intersection; returns false (and an empty dest) when they do not overlap.
constexpr bool IntersectRect(TRect& dest, const TRect& a, const TRect& b) {
  TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
          a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
  if (r.IsEmpty()) { dest = TRect{}; return false; }
  dest = r;
  return true;
}

// Smallest rectangle containing both; empty inputs are ignored.
constexpr bool UnionRect(TRect& dest, const TRect& a, const TRect& b) {
  if (a.IsEmpty()) { dest = b.IsEmpty() ? TRect{} : b; return !b.IsEmpty(); }
  if (b.IsEmpty()) { dest = a; return true; }
  dest = TRect{a.Left < b.Left ? a.Left : b.Left, a.Top < b.Top ? a.Top : b.Top,
               a.Right > b.Right ? a.Right : b.Right, a.Bottom > b.Bottom ? a.Bottom : b.Bottom};
  return true;
}
