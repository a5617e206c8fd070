#include "board_cell.h"

#include <utility>

#include "device_grid.h"
#include "form.h"
#include "handles.h"

namespace win32 {

namespace {

namespace form = tarpo::form;

bool IsDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

std::optional<tarpo::Key> KeyOf(WPARAM key) {
    switch (key) {
        case VK_UP:
            return tarpo::Key::Up;
        case VK_DOWN:
            return tarpo::Key::Down;
        case VK_LEFT:
            return tarpo::Key::Left;
        case VK_RIGHT:
            return tarpo::Key::Right;
        case VK_HOME:
            return tarpo::Key::Home;
        case VK_END:
            return tarpo::Key::End;
        case VK_RETURN:
            return tarpo::Key::Enter;
        case VK_SPACE:
            return tarpo::Key::Space;
        default:
            return std::nullopt;
    }
}

// The system's focus border width (`what`: SPI_GETFOCUSBORDERWIDTH or
// HEIGHT), in device pixels; 1 where the system does not say.
int SystemFocusBorder(UINT what) {
    UINT pixels = 1;
    if (!SystemParametersInfoW(what, 0, &pixels, 0)) return 1;
    return static_cast<int>(pixels);
}

// A band `x` device pixels wide on the left and right and `y` high on the top
// and bottom, along the inside of `edge`.
void FillBand(HDC dc, const RECT& edge, int x, int y, COLORREF colour) {
    const Brush brush(CreateSolidBrush(colour));
    const RECT parts[] = {
        {edge.left, edge.top, edge.right, edge.top + y},
        {edge.left, edge.bottom - y, edge.right, edge.bottom},
        {edge.left, edge.top + y, edge.left + x, edge.bottom - y},
        {edge.right - x, edge.top + y, edge.right, edge.bottom - y},
    };
    for (const RECT& part : parts) FillRect(dc, &part, brush.get());
}

COLORREF Colour(form::Rgb c) {
    return RGB(static_cast<BYTE>(c.red), static_cast<BYTE>(c.green), static_cast<BYTE>(c.blue));
}

// The form's focus ring in whole device pixels, its edges where the form puts
// them in the window, so that no neighbour covers any of it; each band at
// least as wide as the system's focus border.
void DrawFocusRing(HDC dc, const Scale& scale, const form::Rect& place, bool framed) {
    const form::DeviceFocusRing ring = form::CellFocusRing(
        place, framed, scale.ratio(), SystemFocusBorder(SPI_GETFOCUSBORDERWIDTH),
        SystemFocusBorder(SPI_GETFOCUSBORDERHEIGHT));
    const RECT box = scale(place);
    RECT outer{ring.outer.left - box.left, ring.outer.top - box.top,
               ring.outer.left - box.left + ring.outer.width,
               ring.outer.top - box.top + ring.outer.height};
    FillBand(dc, outer, ring.bandX, ring.bandY, Colour(form::kCellFocusRing.outer));
    InflateRect(&outer, -ring.bandX, -ring.bandY);
    FillBand(dc, outer, ring.bandX, ring.bandY, Colour(form::kCellFocusRing.inner));
}

}  // namespace

BoardCell::BoardCell(HWND parent, const form::Rect& place, const Scale& scale,
                     std::function<void()> onClick, Keys keys)
    : ImageBox(parent, place, scale, std::move(onClick)), keys_(std::move(keys)) {}

void BoardCell::SetTabStop(bool stop) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

std::optional<LRESULT> BoardCell::HandleMore(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE: {
            // The arrows, and Enter, stay with the cell instead of the dialog
            // keys of the window.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const bool enter =
                key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
            return DLGC_WANTARROWS | (enter ? DLGC_WANTMESSAGE : 0);
        }
        case WM_KEYDOWN: {
            constexpr LPARAM kWasDown = 1 << 30;
            const std::optional<tarpo::Key> key = KeyOf(wParam);
            if (key && keys_.key({.key = *key,
                                  .ctrl = IsDown(VK_CONTROL),
                                  .shift = IsDown(VK_SHIFT),
                                  .alt = IsDown(VK_MENU),
                                  .repeat = (lParam & kWasDown) != 0}))
                return 0;
            return std::nullopt;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd_, nullptr, FALSE);
            return 0;
    }
    return std::nullopt;
}

void BoardCell::PaintOver(HDC dc, const Scale& scale, const form::Rect& place, bool framed) {
    if (GetFocus() == hwnd_) DrawFocusRing(dc, scale, place, framed);
}

AccessibleTraits BoardCell::Accessible() const {
    return {.role = ROLE_SYSTEM_PUSHBUTTON, .press = keys_.press};
}

}  // namespace win32
