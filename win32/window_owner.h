// Links a window to the object that owns it. The object is passed as the
// creation parameter of CreateWindowExW. From WM_NCCREATE until the window is
// destroyed, its class's window procedure passes every message to the
// object's Handle(). Each window class has its own procedure,
// WindowOwner<T>::WindowProc.
#pragma once

#include <windows.h>

namespace win32 {

template <typename Owner>
class WindowOwner {
  public:
    HWND hwnd() const { return hwnd_; }

  protected:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            Owner* owner =
                static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            static_cast<WindowOwner*>(owner)->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        }
        Owner* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (owner == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            // The last message. The object outlives its window.
            static_cast<WindowOwner*>(owner)->hwnd_ = nullptr;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        return owner->Handle(message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

}  // namespace win32
