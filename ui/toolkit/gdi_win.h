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

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

// One solid brush, made anew only when another colour is asked for.
class SolidBrush {
 public:
  HBRUSH For(COLORREF color);
  void Reset() { brush_.Reset(); }

 private:
  Brush brush_;
  COLORREF color_ = 0;
};

// A window's device context for one operation.
class WindowDC {
 public:
  explicit WindowDC(HWND window);
  ~WindowDC();
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory device context compatible with the screen, deleted at the end of its scope.
class MemoryDC {
 public:
  MemoryDC() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDC();
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// An object selected into a device context for a scope; the previous one comes back after.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object);
  ~Selection();
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint for a scope; EndPaint comes on every path.
class Painting {
 public:
  explicit Painting(HWND window);
  ~Painting();
  Painting(const Painting&) = delete;
  Painting& operator=(const Painting&) = delete;
  HDC Get() const { return dc_; }
  const PAINTSTRUCT& Info() const { return info_; }

 private:
  HWND window_;
  PAINTSTRUCT info_ = {};
  HDC dc_;
};

}  // namespace spinox
