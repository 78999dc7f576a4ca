// RAII owners for GDI and USER handles so nothing taken during painting leaks, also on throw.
#pragma once

#include "vcl/Win.h"
#include <utility>

namespace gdi_detail {
inline void Release(HGDIOBJ h) { DeleteObject(h); }
inline void Release(HPEN h) { DeleteObject(h); }
inline void Release(HBRUSH h) { DeleteObject(h); }
inline void Release(HFONT h) { DeleteObject(h); }
inline void Release(HBITMAP h) { DeleteObject(h); }
inline void Release(HRGN h) { DeleteObject(h); }
inline void Release(HPALETTE h) { DeleteObject(h); }
inline void Release(HICON h) { DestroyIcon(h); }  // HCURSOR is the same type
inline void Release(HMENU h) { DestroyMenu(h); }
inline void Release(HENHMETAFILE h) { DeleteEnhMetaFile(h); }
}  // namespace gdi_detail

// Move-only owner of a GDI object (or icon/menu); deletes it on destruction.
template <typename H>
class THandleOwner {
 public:
  THandleOwner() = default;
  explicit THandleOwner(H h) : h_(h) {}
  THandleOwner(const THandleOwner&) = delete;
  THandleOwner& operator=(const THandleOwner&) = delete;
  THandleOwner(THandleOwner&& o) noexcept : h_(o.Release()) {}
  THandleOwner& operator=(THandleOwner&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  ~THandleOwner() { Reset(); }

  H Get() const { return h_; }
  operator H() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  // Gives up ownership without deleting.
  H Release() { return std::exchange(h_, nullptr); }
  void Reset(H h = nullptr) {
    H old = std::exchange(h_, h);
    if (old && old != h) gdi_detail::Release(old);
  }

 private:
  H h_ = nullptr;
};

using TPenOwner = THandleOwner<HPEN>;
using TBrushOwner = THandleOwner<HBRUSH>;
using TFontOwner = THandleOwner<HFONT>;
using TBitmapOwner = THandleOwner<HBITMAP>;
using TRgnOwner = THandleOwner<HRGN>;
using TPaletteOwner = THandleOwner<HPALETTE>;
using TIconOwner = THandleOwner<HICON>;
using TEnhMetaFileOwner = THandleOwner<HENHMETAFILE>;

// Selects obj into dc and restores the previous object on destruction.
class TSelectGuard {
 public:
  TSelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(dc && obj ? SelectObject(dc, obj) : nullptr) {}
  TSelectGuard(const TSelectGuard&) = delete;
  TSelectGuard& operator=(const TSelectGuard&) = delete;
  ~TSelectGuard() { Restore(); }
  void Restore() {
    if (dc_ && old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    old_ = nullptr;
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Selects a palette and restores the previous one on destruction.
class TPaletteGuard {
 public:
  TPaletteGuard(HDC dc, HPALETTE pal, bool background = false)
      : dc_(dc), old_(dc && pal ? SelectPalette(dc, pal, background) : nullptr) {}
  TPaletteGuard(const TPaletteGuard&) = delete;
  TPaletteGuard& operator=(const TPaletteGuard&) = delete;
  ~TPaletteGuard() { if (old_) SelectPalette(dc_, old_, TRUE); }

 private:
  HDC dc_;
  HPALETTE old_;
};

// SaveDC on construction, RestoreDC on destruction.
class TSaveDC {
 public:
  explicit TSaveDC(HDC dc) : dc_(dc), id_(dc ? SaveDC(dc) : 0) {}
  TSaveDC(const TSaveDC&) = delete;
  TSaveDC& operator=(const TSaveDC&) = delete;
  ~TSaveDC() { if (id_) RestoreDC(dc_, id_); }

 private:
  HDC dc_;
  int id_;
};

// Memory DC compatible with another DC (or the screen); DeleteDC on destruction.
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC compatible = nullptr) : dc_(CreateCompatibleDC(compatible)) {}
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  ~TMemoryDC() { if (dc_) DeleteDC(dc_); }
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// GetDC/ReleaseDC pair for a window (nullptr = the screen).
class TWindowDC {
 public:
  explicit TWindowDC(HWND wnd = nullptr) : wnd_(wnd), dc_(GetDC(wnd)) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() { if (dc_) ReleaseDC(wnd_, dc_); }
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

// BeginPaint/EndPaint pair.
class TPaintDC {
 public:
  explicit TPaintDC(HWND wnd) : wnd_(wnd) { dc_ = BeginPaint(wnd, &ps_); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  ~TPaintDC() { EndPaint(wnd_, &ps_); }
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }
  const PAINTSTRUCT& Paint() const { return ps_; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};
