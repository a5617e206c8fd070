#include "scale.h"

#include <algorithm>

namespace win32 {

namespace {

// A function of user32.dll that older Windows lack, or nullptr.
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

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjustForDpi =
        User32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (adjustForDpi != nullptr) {
        adjustForDpi(&rect, style, TRUE, exStyle, dpi);
    } else {
        AdjustWindowRectEx(&rect, style, TRUE, exStyle);
    }
}

UINT FittingDpi(HWND window, UINT dpi, DWORD style, DWORD exStyle) {
    constexpr UINT kDpiStep = kDefaultDpi / 4;  // 25 %
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return dpi;
    const RECT& work = monitor.rcWork;
    const auto fits = [&](UINT formDpi) {
        const Scale scale(formDpi);
        RECT frame{0, 0, scale(tarpo::form::kClientSize.width),
                   scale(tarpo::form::kClientSize.height)};
        AdjustWindowRectForDpi(frame, style, exStyle, dpi);
        return frame.right - frame.left <= work.right - work.left &&
               frame.bottom - frame.top <= work.bottom - work.top;
    };
    if (dpi <= kDefaultDpi || fits(dpi)) return dpi;
    UINT formDpi = (dpi - 1) / kDpiStep * kDpiStep;  // the next step down
    while (formDpi > kDefaultDpi && !fits(formDpi)) formDpi -= kDpiStep;
    return std::max<UINT>(formDpi, kDefaultDpi);
}

}  // namespace win32
