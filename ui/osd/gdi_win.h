// Owners of GDI objects and device contexts. Each holds one handle and gives it back on every
// path; copying is deleted so that a handle is never released twice.
#pragma once
#include <windows.h>

namespace spinox {

template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    Reset(other.Release());
    return *this;
  }

  Handle Get() const { return handle_; }
  // Deletes the object held and holds `handle` instead.
  void Reset(Handle handle = nullptr) {
    if (handle_ && handle_ != handle) DeleteObject(handle_);
    handle_ = handle;
  }
  // Gives the object up without deleting it: for a window that takes it over.
  Handle Release() {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }

 private:
  Handle handle_ = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

// One solid brush, made anew only when another colour is asked for.
class SolidBrush {
 public:
  HBRUSH For(COLORREF color) {
    if (!brush_.Get() || color != color_) {
      brush_.Reset(CreateSolidBrush(color));
      color_ = color;
    }
    return brush_.Get();
  }
  void Reset() { brush_.Reset(); }

 private:
  Brush brush_;
  COLORREF color_ = 0;
};

// A window's device context for one operation.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(window ? GetDC(window) : nullptr) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for a scope; the previous one comes back after.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace spinox
