// The event handlers: the cell and button clicks, which go to the game
// session, the menu commands, and the drawing the session asks for.
#include "accessible.h"
#include "board_access.h"
#include "form.h"
#include "main_window.h"

namespace win32 {

namespace {

namespace form = tarpo::form;

void ShowInformation(HWND owner, const char16_t* title, const char16_t* text) {
    MessageBoxW(owner, Text(text), Text(title), MB_ICONINFORMATION | MB_OK);
}

}  // namespace

void MainWindow::OnCellClicked(int cell) { session_->Click(cell); }

void MainWindow::OnNewGame() {
    KeepListSelection();
    session_->NewGame(listSelection_);
}

void MainWindow::OnHelp() { ShowInformation(hwnd_, form::kHelpTitle, form::kHelpText); }

void MainWindow::OnAuthor() { ShowInformation(hwnd_, form::kAuthorTitle, form::kAuthorText); }

// Ends the program at once: the window is destroyed, the message loop ends and
// the program exits with status 0.
void MainWindow::OnExit() { DestroyWindow(hwnd_); }

void MainWindow::DrawCell(int cell, const tarpo::CellLook& look) {
    const auto& box = cells_[static_cast<std::size_t>(cell)];
    box->Show(look.picture ? pictures_[*look.picture].get() : nullptr, look.framed);
    SetAccessibleName(box->hwnd(), Text(tarpo::CellName(cell, look).c_str()));
}

void MainWindow::DrawPreview(std::optional<int> set) {
    preview_->Show(set ? pictures_.Preview(*set).get() : nullptr, false);
    SetAccessibleName(
        preview_->hwnd(),
        Text(tarpo::PreviewName(set ? std::optional<int>(*set) : std::nullopt).c_str()));
}

}  // namespace win32
