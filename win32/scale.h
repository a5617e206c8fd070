// The form is laid out in pixels at 96 dpi; on a display of another density
// every position, size and font is multiplied by dpi / 96, on the device grid
// of device_grid.h: edges rounded, sizes the distances between them.
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
    // An edge, or a length such as a font's height.
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

// The density of the monitor `window` is on; for no window, and on Windows
// before 10 (1607), the system's density.
UINT WindowDpi(HWND window);

// The window's size for the form's client area laid out at `form`, with the
// border, the title bar and the menu bar at `dpi`.
SIZE WindowSize(const Scale& form, DWORD style, DWORD exStyle, UINT dpi);

// The density to lay out the form's client area at on a display of `dpi`:
// the one of form::FittingScale for the work area of the monitor that
// `window` is on (the primary one for no window). The title bar and the menu
// bar keep `dpi`.
UINT FittingDpi(HWND window, UINT dpi, DWORD style, DWORD exStyle);

}  // namespace win32
