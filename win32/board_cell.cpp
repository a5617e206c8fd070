#include "board_cell.h"

#include <utility>

#include "form.h"

namespace win32 {

namespace {

namespace form = tarpo::form;

// The focus ring lies this many form pixels inside the part of the picture
// that shows: within the frame, and clear of the neighbours' frames that
// cover the picture's last columns and rows.
constexpr int kRingGap = 1;
constexpr int kRingWidth = 1;

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

void BoardCell::PaintOver(HDC dc, const Scale& scale, bool framed) {
    if (GetFocus() != hwnd_) return;
    const int inset = (framed ? form::kFrameWidth : 0) + kRingGap;
    RECT ring =
        scale(form::Rect{inset, inset, form::kCellPitch - 2 * inset, form::kCellPitch - 2 * inset});
    // The dotted ring inverts what lies under it, so it shows on any picture;
    // a form pixel wide, one device pixel after the other.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    for (int line = 0; line < scale(kRingWidth); ++line) {
        DrawFocusRect(dc, &ring);
        InflateRect(&ring, -1, -1);
    }
}

AccessibleTraits BoardCell::Accessible() const {
    return {.role = ROLE_SYSTEM_PUSHBUTTON, .press = keys_.press};
}

}  // namespace win32
