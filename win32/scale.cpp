#include "scale.h"

#include <cmath>

namespace win32 {

namespace {

// Looks up a function of user32.dll that older Windows lack; nullptr if absent.
template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC address = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

}  // namespace

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) return getDpiForWindow(window);
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

SIZE WindowSize(const Scale& form, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjustForDpi =
        User32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, form(tarpo::form::kClientSize.width), form(tarpo::form::kClientSize.height)};
    if (adjustForDpi != nullptr) {
        adjustForDpi(&rect, style, TRUE, exStyle, dpi);
    } else {
        AdjustWindowRectEx(&rect, style, TRUE, exStyle);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

UINT FittingDpi(HWND window, UINT dpi, DWORD style, DWORD exStyle) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return dpi;
    const RECT& work = monitor.rcWork;
    const auto dpiAt = [](double scale) {
        return static_cast<UINT>(std::lround(scale * kDefaultDpi));
    };
    const auto fits = [&](double scale) {
        const SIZE size = WindowSize(Scale(dpiAt(scale)), style, exStyle, dpi);
        return size.cx <= work.right - work.left && size.cy <= work.bottom - work.top;
    };
    return dpiAt(tarpo::form::FittingScale(Scale(dpi).ratio(), fits));
}

}  // namespace win32
