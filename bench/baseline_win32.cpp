// The yardstick for tarpo.exe's start-up: a Win32 window with the controls of
// tarpo's, laid out from the same form description and carrying the same
// manifest, but without pictures, icon or game: the menu bar with its three
// entries, the button, the list with its two entries, the bold italic
// coloured label and the sixteen empty cells in their 2-px sunken frames.
#include <windows.h>

#include "form.h"
#include "handles.h"

namespace {

namespace form = tarpo::form;

constexpr wchar_t kClassName[] = L"tarpo.Baseline";
constexpr wchar_t kTitle[] = L"tarpo baseline";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr WORD kLabelId = 103;

const wchar_t* Text(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

win32::Font CreateFormFont(const form::Font& font) {
    return win32::Font(CreateFontW(-font.pixelSize, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                                   font.italic, FALSE, FALSE, static_cast<DWORD>(font.charset),
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, Text(font.family)));
}

HWND Child(HWND parent, DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style,
           const form::Rect& r, HFONT font, WORD id = 0) {
    const HWND control = CreateWindowExW(
        exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.width, r.height, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    if (font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

struct Fonts {
    win32::Font dialog = CreateFormFont(form::kDialogFont);
    win32::Font label = CreateFormFont(form::kMottoFont);
};

void BuildControls(HWND window, const Fonts& fonts) {
    // An empty cell: a static control in the 2-px sunken edge.
    for (int i = 0; i < form::kPieceCount; ++i)
        Child(window, WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CLIPSIBLINGS, form::CellRect(i, true),
              nullptr);
    const HWND button =
        Child(window, 0, L"BUTTON", Text(form::kNewGameCaption), WS_TABSTOP | BS_PUSHBUTTON,
              form::kNewGameButtonRect, fonts.dialog.get());
    const HWND list = Child(window, WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                            WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                            form::kPictureSetListRect, fonts.dialog.get());
    for (const form::PictureSet& set : form::kPictureSets)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(set.name)));
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    Child(window, 0, L"STATIC", Text(form::kMottoText), SS_LEFT, form::kMottoRect,
          fonts.label.get(), kLabelId);
    SetFocus(button);

    const HMENU bar = CreateMenu();
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, Text(form::kExitCaption));
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), Text(form::kMenuCaption));
    AppendMenuW(bar, MF_STRING, 2, Text(form::kHelpCaption));
    AppendMenuW(bar, MF_STRING, 3, Text(form::kAuthorCaption));
    SetMenu(window, bar);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kLabelId) {
                const form::Rgb c = form::kMottoColour;
                SetTextColor(reinterpret_cast<HDC>(wParam), RGB(c.red, c.green, c.blue));
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);

    RECT frame{0, 0, form::kClientSize.width, form::kClientSize.height};
    AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
    const HWND window = CreateWindowExW(0, kClassName, kTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                        frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                        nullptr, instance, nullptr);
    const Fonts fonts;
    BuildControls(window, fonts);
    ShowWindow(window, show);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
