#include "announcement.h"

#include "accessible.h"

namespace win32 {

namespace {

constexpr wchar_t kClassName[] = L"tarpo.Announcement";
// Posted to the window to say its text: it comes after the input being handled.
constexpr UINT kSayMessage = WM_APP;

}  // namespace

void Announcement::Register(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
}

// The window is never shown and has no size. It only carries the text.
Announcement::Announcement(HWND parent) {
    CreateWindowExW(0, kClassName, L"", WS_CHILD, 0, 0, 0, 0, parent, nullptr,
                    reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), this);
}

void Announcement::Say(const wchar_t* text) {
    text_ = text;
    PostMessageW(hwnd_, kSayMessage, 0, 0);
}

LRESULT Announcement::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSayMessage) {
        SetWindowTextW(hwnd_, text_.c_str());
        NotifyWinEvent(EVENT_SYSTEM_ALERT, hwnd_, OBJID_CLIENT, CHILDID_SELF);
        return 0;
    }
    if (message == WM_GETOBJECT) {
        if (const LRESULT answer =
                AnswerGetObject(hwnd_, wParam, lParam, {.role = ROLE_SYSTEM_ALERT}))
            return answer;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace win32
