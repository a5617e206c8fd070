// The main window's class, its controls and menu, their layout at the
// display's density, and the dispatch of window messages to the handlers.
#include "main_window.h"

#include <iterator>
#include <string_view>
#include <utility>

#include "form.h"
#include "word_wrap.h"

namespace win32 {

namespace {

namespace form = tarpo::form;

constexpr wchar_t kClassName[] = L"tarpo.MainWindow";
constexpr int kIconResource = 1;  // the application icon, the program's first

// A fixed single border and a title bar with the system menu and a close
// button only. No size box, no minimise or maximise button.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

// Control and menu command identifiers.
enum : WORD {
    kNewGameButtonId = 101,
    kPictureSetListId,
    kMottoId,
    kExitId = 201,
    kHelpId,
    kAuthorId,
};

Font CreateFormFont(const form::Font& font, const Scale& scale) {
    return Font(CreateFontW(-scale(font.pixelSize), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                            font.italic, FALSE, FALSE, static_cast<DWORD>(font.charset),
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, Text(font.family)));
}

// The Latin letter, in upper case, of the key that carries `letter` on a
// Latin or on the standard Russian layout, or 0 for none.
wchar_t LatinKeyOf(wchar_t letter) {
    if (letter >= L'a' && letter <= L'z') return letter - (L'a' - L'A');
    if (letter >= L'A' && letter <= L'Z') return letter;
    // The letters of the standard Russian layout on the keys of the Latin
    // letters below them.
    constexpr std::wstring_view kRussian = L"фисвуапршолдьтщзйкыегмцчня";
    constexpr std::wstring_view kLatin = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static_assert(kRussian.size() == kLatin.size());
    constexpr wchar_t kCapitalA = L'А', kCapitalYa = L'Я', kToSmall = L'а' - L'А';
    const wchar_t small = letter >= kCapitalA && letter <= kCapitalYa ? letter + kToSmall : letter;
    const std::size_t at = kRussian.find(small);
    return at == kRussian.npos ? 0 : kLatin[at];
}

// The Latin letter, in upper case, of the key that typed `typed` with Alt, or
// 0. A layout that types another script on the letter keys (Cyrillic,
// Greek…) still gives those keys the virtual-key codes 'A' to 'Z' of their
// Latin letters, so the letter is the one whose key is down. Wine, under an X
// keyboard map without a Latin group, gives them codes of its own instead;
// there the character is looked up on the standard Russian layout.
wchar_t LatinLetterOfKey(wchar_t typed) {
    for (wchar_t key = L'A'; key <= L'Z'; ++key) {
        if ((GetKeyState(key) & 0x8000) != 0) return key;
    }
    return LatinKeyOf(typed);
}

// The item of `menu` whose mnemonic lies on the key of `letter` (a Latin
// capital), on a Latin layout for a Latin mnemonic and on the Russian one for
// a Cyrillic mnemonic, as the answer to WM_MENUCHAR: Alt+A opens "&Aвтор !"
// on a Russian layout, Alt+V "&Меню" on a Latin one.
LRESULT ItemWithMnemonic(HMENU menu, wchar_t letter) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; letter != 0 && i < count; ++i) {
        wchar_t caption[128];
        if (GetMenuStringW(menu, static_cast<UINT>(i), caption, std::size(caption),
                           MF_BYPOSITION) <= 0)
            continue;
        const std::wstring_view text(caption);
        std::size_t mark = text.find(L'&');
        while (mark != text.npos && mark + 1 < text.size() && text[mark + 1] == L'&')
            mark = text.find(L'&', mark + 2);  // "&&" is an ampersand
        if (mark == text.npos || mark + 1 >= text.size()) continue;
        if (LatinKeyOf(text[mark + 1]) == letter) return MAKELRESULT(i, MNC_EXECUTE);
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

}  // namespace

void MainWindow::Register(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    // The title bar's small icon from the icon's own small image, not shrunk.
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);  // the dialog background
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    ImageBox::Register(instance);
    Announcement::Register(instance);
}

MainWindow::MainWindow(HINSTANCE instance, PictureStores pictures)
    : instance_(instance), pictures_(std::move(pictures)) {
    // Create the window at its final size for the system's density. Under
    // Wine, a window created at the default size and resized before it was
    // first shown kept the default size.
    const UINT dpi = WindowDpi(nullptr);
    const SIZE size =
        WindowSize(Scale(FittingDpi(nullptr, dpi, kStyle, kExStyle)), kStyle, kExStyle, dpi);
    CreateWindowExW(kExStyle, kClassName, Text(form::kTitle), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    size.cx, size.cy, nullptr, nullptr, instance, this);
}

MainWindow::~MainWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            const UINT dpi = WindowDpi(hwnd_);
            const Scale scale(FittingDpi(hwnd_, dpi, kStyle, kExStyle));
            BuildControls(scale);
            BuildAccess();
            BuildMenu();
            SetFonts(scale);
            FitWindow(scale, dpi);
            session_.emplace(static_cast<tarpo::SessionView&>(*this));
            ShowBoardFocus(false);
            return 0;
        }
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_MENUCHAR:  // a key that matches no mnemonic as typed
            return ItemWithMnemonic(reinterpret_cast<HMENU>(lParam),
                                    LatinLetterOfKey(LOWORD(wParam)));
        case WM_DRAWITEM:
            if (wParam == kMottoId) {
                DrawLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            // Like a dialog, remember the focused control when the window is
            // deactivated and give it the focus back later. The button starts
            // with it.
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (const HWND focus = GetFocus(); focus != nullptr && IsChild(hwnd_, focus))
                    focus_ = focus;
                return 0;
            }
            [[fallthrough]];
        case WM_SETFOCUS:
            SetFocus(focus_ != nullptr ? focus_ : newGameButton_);
            return 0;
        case WM_DPICHANGED: {
            Layout(HIWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_GETOBJECT:
            if (const LRESULT answer = AnswerGetObject(
                    hwnd_, wParam, lParam, {.children = [this] { return ReadingOrder(); }}))
                return answer;
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindow::OnCommand(WORD id, WORD code) {
    switch (id) {
        case kNewGameButtonId:
            if (code == BN_CLICKED) OnNewGame();
            break;
        case kPictureSetListId:
            if (code == LBN_SELCHANGE || code == LBN_SELCANCEL) KeepListSelection();
            break;
        case kExitId:
            OnExit();
            break;
        case kHelpId:
            OnHelp();
            break;
        case kAuthorId:
            OnAuthor();
            break;
    }
}

bool MainWindow::TranslateDialogKey(MSG& message) {
    // Enter presses the focused button, as Space does.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
        message.hwnd == newGameButton_) {
        SendMessageW(newGameButton_, BM_CLICK, 0, 0);
        return true;
    }
    return IsDialogMessageW(hwnd_, &message) != FALSE;
}

// Creates every control at its place at `scale`.
void MainWindow::BuildControls(const Scale& scale) {
    const HWND client = hwnd_;
    // Where two framed cells overlap, the right or lower neighbour lies on top:
    // it shows its frame there and takes the click. A new child window goes
    // below the earlier ones, so create the cells from the last to the first.
    for (int i = tarpo::kCellCount - 1; i >= 0; --i) {
        cells_[static_cast<std::size_t>(i)] = std::make_unique<BoardCell>(
            client, form::CellRect(i, true), scale, [this, i] { OnCellClicked(i); },
            BoardCell::Keys{[this, i] {
                                session_->Activate(i);
                                ShowBoardFocus(true);
                            },
                            [this, i](const tarpo::KeyPress& key) {
                                if (!session_->Press(i, key)) return false;
                                ShowBoardFocus(true);
                                return true;
                            }});
    }

    const auto child = [&](DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style,
                           const form::Rect& place, WORD id) {
        const RECT r = scale(place);
        return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, client,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance_,
                               nullptr);
    };
    // The Tab order is the creation order: the button, then the list.
    newGameButton_ = child(0, L"BUTTON", Text(form::kNewGameCaption), WS_TABSTOP | BS_PUSHBUTTON,
                           form::kNewGameButtonRect, kNewGameButtonId);
    pictureSetList_ =
        child(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
              form::kPictureSetListRect, kPictureSetListId);
    for (const form::PictureSet& set : form::kPictureSets)
        SendMessageW(pictureSetList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(set.name)));
    SendMessageW(pictureSetList_, LB_SETCURSEL, static_cast<WPARAM>(listSelection_), 0);

    preview_ = std::make_unique<ImageBox>(client, form::kPreviewRect, scale);

    // The window draws the label (DrawLabel). It takes no focus and has no
    // mnemonic.
    motto_ = child(0, L"STATIC", Text(form::kMottoText), SS_OWNERDRAW, form::kMottoRect, kMottoId);
}

void MainWindow::BuildMenu() {
    Menu bar(CreateMenu());
    Menu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, kExitId, Text(form::kExitCaption));
    AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(menu.release()),
                Text(form::kMenuCaption));
    // These two are commands on the menu bar itself, without a drop-down.
    AppendMenuW(bar.get(), MF_STRING, kHelpId, Text(form::kHelpCaption));
    AppendMenuW(bar.get(), MF_STRING, kAuthorId, Text(form::kAuthorCaption));
    SetMenu(hwnd_, bar.release());  // the window destroys its menu
}

// Places every control and sets its font for `dpi`, or for a lower density if
// the window would not fit the screen, and fits the window around them.
void MainWindow::Layout(UINT dpi) {
    const Scale scale(FittingDpi(hwnd_, dpi, kStyle, kExStyle));
    for (const auto& cell : cells_) cell->Rescale(scale);
    preview_->Rescale(scale);
    Place(newGameButton_, scale(form::kNewGameButtonRect));
    Place(pictureSetList_, scale(form::kPictureSetListRect));
    Place(motto_, scale(form::kMottoRect));
    SetFonts(scale);
    FitWindow(scale, dpi);
}

void MainWindow::SetFonts(const Scale& scale) {
    Font dialogFont = CreateFormFont(form::kDialogFont, scale);
    Font labelFont = CreateFormFont(form::kMottoFont, scale);
    for (const HWND control : {newGameButton_, pictureSetList_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont.get()), TRUE);
    SendMessageW(motto_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont.get()), TRUE);
    dialogFont_ = std::move(dialogFont);
    labelFont_ = std::move(labelFont);
}

// Sizes the window so that the client area below the menu bar is the form's
// at `scale`, with the frame and the menu bar at `dpi`.
void MainWindow::FitWindow(const Scale& scale, UINT dpi) {
    constexpr UINT kFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    const SIZE size = WindowSize(scale, kStyle, kExStyle, dpi);
    RECT now;
    GetWindowRect(hwnd_, &now);
    if (now.right - now.left != size.cx || now.bottom - now.top != size.cy)
        SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, kFlags);
    // A menu bar that wraps onto a second line needs more height.
    RECT actual;
    GetClientRect(hwnd_, &actual);
    const int height = scale(form::kClientSize.height);
    if (actual.bottom != height)
        SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy + height - actual.bottom, kFlags);
}

// Draws the label's caption in its own font and colour, left-aligned and
// wrapped at blanks (form::WrapAtBlanks). DrawText's own word break is not
// used because Wine's breaks a word early when a line ends inside a run of
// blanks, as this caption's does.
void MainWindow::DrawLabel(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const Selection font(dc, labelFont_.get());
    const form::Rgb c = form::kMottoColour;
    SetTextColor(dc, RGB(c.red, c.green, c.blue));
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);

    const auto width = [dc](std::u16string_view run) {
        SIZE size{};
        GetTextExtentPoint32W(dc, Text(run.data()), static_cast<int>(run.size()), &size);
        return size.cx;
    };
    int y = item.rcItem.top;
    for (const std::u16string_view line :
         form::WrapAtBlanks(form::kMottoText, item.rcItem.right - item.rcItem.left, width)) {
        TextOutW(dc, item.rcItem.left, y, Text(line.data()), static_cast<int>(line.size()));
        y += metrics.tmHeight;
    }
}

void MainWindow::KeepListSelection() {
    const auto selected = static_cast<int>(SendMessageW(pictureSetList_, LB_GETCURSEL, 0, 0));
    if (selected == LB_ERR) {
        SendMessageW(pictureSetList_, LB_SETCURSEL, static_cast<WPARAM>(listSelection_), 0);
    } else {
        listSelection_ = selected;
    }
}

}  // namespace win32
