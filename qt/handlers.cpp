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

void MainWindow::OnCellClicked(int cell) { session_->Click(cell); }

// The list always has one entry selected (PictureSetList).
void MainWindow::OnNewGame() {
    announcement_->hide();
    session_->NewGame(pictureSetList_->row(pictureSetList_->selectedItems().value(0)));
}

void MainWindow::ShowBoardFocus(bool take) {
    BoardCell* to = cells_[static_cast<std::size_t>(session_->focus())];
    to->setTabStop(true);
    if (take) to->setFocus(Qt::OtherFocusReason);
    for (BoardCell* cell : cells_)
        if (cell != to) cell->setTabStop(false);
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

void MainWindow::Announce(tarpo::Announcement what) {
    announcement_->say(Text(tarpo::AnnouncementText(what)));
}
