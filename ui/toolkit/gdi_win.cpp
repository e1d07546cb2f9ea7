#include "ui/toolkit/gdi_win.h"

namespace spinox {

HBRUSH SolidBrush::For(COLORREF color) {
  if (!brush_.Get() || color != color_) {
    brush_.Reset(CreateSolidBrush(color));
    color_ = color;
  }
  return brush_.Get();
}

WindowDC::WindowDC(HWND window) : window_(window), dc_(window ? GetDC(window) : nullptr) {}

WindowDC::~WindowDC() {
  if (dc_) ReleaseDC(window_, dc_);
}

MemoryDC::~MemoryDC() {
  if (dc_) DeleteDC(dc_);
}

Selection::Selection(HDC dc, HGDIOBJ object)
    : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}

Selection::~Selection() {
  if (previous_) SelectObject(dc_, previous_);
}

Painting::Painting(HWND window) : window_(window), dc_(BeginPaint(window, &info_)) {}

Painting::~Painting() {
  EndPaint(window_, &info_);
}

}  // namespace spinox
