// The form is laid out in pixels at 96 dpi. On a display of another density,
// every position, size and font is multiplied by dpi / 96 on the device grid
// of device_grid.h: edges are rounded, and sizes are the distances between
// them.
#pragma once

#include <windows.h>

#include "device_grid.h"

namespace win32 {

inline constexpr int kDefaultDpi = USER_DEFAULT_SCREEN_DPI;  // 96: 100 %

class Scale {
  public:
    explicit Scale(UINT dpi) : dpi_(static_cast<int>(dpi)) {}
    bool isUnscaled() const { return dpi_ == kDefaultDpi; }
    double ratio() const { return static_cast<double>(dpi_) / kDefaultDpi; }
    // Scales an edge, or a length such as a font's height.
    int operator()(int pixels) const { return tarpo::form::DeviceEdge(pixels, ratio()); }
    RECT operator()(const tarpo::form::Rect& r) const {
        const tarpo::form::Rect d = tarpo::form::DeviceRect(r, ratio());
        return {d.left, d.top, d.left + d.width, d.top + d.height};
    }

  private:
    int dpi_;
};

// Places a child window at `r`, in device pixels.
inline void Place(HWND control, const RECT& r) {
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Returns the density of the monitor that `window` is on. Without a window,
// and on Windows before 10 (1607), returns the system's density.
UINT WindowDpi(HWND window);

// Returns the window's size for the form's client area laid out at `form`,
// with the border, the title bar and the menu bar at `dpi`.
SIZE WindowSize(const Scale& form, DWORD style, DWORD exStyle, UINT dpi);

// Returns the density at which to lay out the form's client area on a display
// of `dpi`: form::FittingScale for the work area of the monitor that `window`
// is on (the primary monitor without a window). The title bar and the menu
// bar keep `dpi`.
UINT FittingDpi(HWND window, UINT dpi, DWORD style, DWORD exStyle);

}  // namespace win32
