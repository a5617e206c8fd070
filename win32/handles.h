// Owners of the GDI and USER handles the front end creates. Each handle is
// released exactly once, when its owner is destroyed.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace win32 {

template <typename H, auto Release>
struct HandleDeleter {
    using pointer = H;
    void operator()(H handle) const {
        if (handle != nullptr) Release(handle);
    }
};

template <typename H, auto Release>
using Handle = std::unique_ptr<std::remove_pointer_t<H>, HandleDeleter<H, Release>>;

// DeleteObject takes any GDI object, but each owner keeps its own handle type.
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DestroyMenuHandle(HMENU menu) { DestroyMenu(menu); }
inline void DeleteMemoryDc(HDC dc) { DeleteDC(dc); }

using Bitmap = Handle<HBITMAP, DeleteGdiObject>;
using Brush = Handle<HBRUSH, DeleteGdiObject>;
using Font = Handle<HFONT, DeleteGdiObject>;
using Menu = Handle<HMENU, DestroyMenuHandle>;
using MemoryDc = Handle<HDC, DeleteMemoryDc>;

// Selects an object into a device context for the guard's lifetime.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Calls BeginPaint now and EndPaint when the guard is destroyed.
class Paint {
  public:
    explicit Paint(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~Paint() { EndPaint(window_, &paint_); }
    Paint(const Paint&) = delete;
    Paint& operator=(const Paint&) = delete;
    HDC dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace win32
