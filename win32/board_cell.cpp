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

std::optional<tarpo::FocusMove> MoveOf(WPARAM key) {
    const bool ctrl = IsDown(VK_CONTROL);
    switch (key) {
        case VK_UP:
            return tarpo::FocusMove::Up;
        case VK_DOWN:
            return tarpo::FocusMove::Down;
        case VK_LEFT:
            return tarpo::FocusMove::Left;
        case VK_RIGHT:
            return tarpo::FocusMove::Right;
        case VK_HOME:
            return ctrl ? tarpo::FocusMove::BoardStart : tarpo::FocusMove::RowStart;
        case VK_END:
            return ctrl ? tarpo::FocusMove::BoardEnd : tarpo::FocusMove::RowEnd;
        default:
            return std::nullopt;
    }
}

// Enter or Space alone, pressed (not held down and repeating).
bool IsPress(WPARAM key, LPARAM flags) {
    constexpr LPARAM kWasDown = 1 << 30;
    return (key == VK_RETURN || key == VK_SPACE) && (flags & kWasDown) == 0 &&
           !IsDown(VK_CONTROL) && !IsDown(VK_SHIFT) && !IsDown(VK_MENU);
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
        case WM_KEYDOWN:
            if (const std::optional<tarpo::FocusMove> move = MoveOf(wParam)) {
                keys_.move(*move);
                return 0;
            }
            if (IsPress(wParam, lParam)) {
                keys_.press();
                return 0;
            }
            return std::nullopt;
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
