// The two handlers of play, forwarded to the game session, and what the
// session shows through the window's controls.
#include <QListWidget>
#include <QPushButton>

#include "board_access.h"
#include "board_cell.h"
#include "form_qt.h"
#include "image_box.h"
#include "main_window.h"

using formqt::Text;

void MainWindow::OnCellClicked(int cell) { PlayCell(cell); }

// The list always has one entry selected (PictureSetList).
void MainWindow::OnNewGame() {
    announcement_->hide();
    session_->NewGame(pictureSetList_->row(pictureSetList_->selectedItems().value(0)));
}

int MainWindow::PlayCell(int cell) { return tarpo::ClickAndFollow(*session_, cell); }

void MainWindow::FocusCell(int cell) {
    BoardCell* from = cells_[static_cast<std::size_t>(focusedCell_)];
    BoardCell* to = cells_[static_cast<std::size_t>(cell)];
    focusedCell_ = cell;
    to->setTabStop(true);
    to->setFocus(Qt::OtherFocusReason);
    if (from != to) from->setTabStop(false);
}

void MainWindow::DrawCell(int cell, const tarpo::CellLook& look) {
    ImageBox* box = cells_[static_cast<std::size_t>(cell)];
    // The frame first, around the picture the box had: a box left without a
    // picture keeps the size that gives it.
    box->setFramed(look.framed);
    box->setPicture(look.picture ? pictures_[*look.picture] : QPixmap());
    box->setAccessibleName(Text(tarpo::CellName(cell, look).c_str()));
}

void MainWindow::DrawPreview(std::optional<int> set) {
    preview_->setPicture(set ? pictures_.Preview(*set) : QPixmap());
    preview_->setAccessibleName(
        Text(tarpo::PreviewName(set ? std::optional<int>(*set) : std::nullopt).c_str()));
}

void MainWindow::Announce(const char16_t* text) { announcement_->say(Text(text)); }
