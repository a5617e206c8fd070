// The window for the keyboard and for screen readers: the board as one Tab
// stop whose focus the arrow keys move and which follows a slid tile, the
// names of the controls, the win said aloud, and the controls listed in the
// order they are read.
#include <algorithm>
#include <utility>

#include "accessible.h"
#include "accessible_texts.h"
#include "board_access.h"
#include "main_window.h"

namespace win32 {

namespace {

namespace form = tarpo::form;

constexpr wchar_t kListProcProperty[] = L"tarpo.ListProc";

// The picture-set list, named for assistive technology, and a list also where
// the system's standard object does not say so (Wine); everything else is the
// list's own.
LRESULT CALLBACK NamedListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto own = reinterpret_cast<WNDPROC>(GetPropW(list, kListProcProperty));
    if (message == WM_GETOBJECT) {
        if (const LRESULT answer = AnswerGetObject(
                list, wParam, lParam,
                {.role = ROLE_SYSTEM_LIST, .name = Text(form::kPictureSetListName)}))
            return answer;
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        RemovePropW(list, kListProcProperty);
    }
    return CallWindowProcW(own, list, message, wParam, lParam);
}

}  // namespace

void MainWindow::BuildAccess() {
    SetPropW(pictureSetList_, kListProcProperty,
             reinterpret_cast<HANDLE>(GetWindowLongPtrW(pictureSetList_, GWLP_WNDPROC)));
    SetWindowLongPtrW(pictureSetList_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NamedListProc));
    announcement_ = std::make_unique<Announcement>(hwnd_);
}

void MainWindow::ShowBoardFocus(bool take) {
    const auto focused = static_cast<std::size_t>(session_->focus());
    for (std::size_t i = 0; i < cells_.size(); ++i) cells_[i]->SetTabStop(i == focused);
    if (take) SetFocus(cells_[focused]->hwnd());
}

void MainWindow::Announce(tarpo::Announcement what) {
    announcement_->Say(Text(tarpo::AnnouncementText(what)));
}

// The child windows as they lie, top first, but the board's cells from the
// first to the last: the higher cell lies above its lower neighbour, where
// their frames overlap, yet the board is read row by row.
std::vector<HWND> MainWindow::ReadingOrder() const {
    std::vector<HWND> cellWindows;
    for (const auto& cell : cells_) cellWindows.push_back(cell->hwnd());
    std::vector<HWND> order;
    bool cellsListed = false;
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (std::find(cellWindows.begin(), cellWindows.end(), child) != cellWindows.end()) {
            if (!std::exchange(cellsListed, true))
                order.insert(order.end(), cellWindows.begin(), cellWindows.end());
        } else if (IsWindowVisible(child)) {
            order.push_back(child);
        }
    }
    return order;
}

}  // namespace win32
