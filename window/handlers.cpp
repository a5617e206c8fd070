// The two handlers of play, forwarded to the game session, and what the
// session shows through the window's controls.
#include <QListWidget>
#include <QPushButton>

#include "board_access.h"
#include "board_cell.h"
#include "form1.h"
#include "form_qt.h"
#include "image_box.h"

using formqt::Text;

void Form1::Image3_Click(int Index) { PlayCell(Index); }

// The list always has one entry selected (PictureSetList).
void Form1::Command1_Click() {
    announcement_->hide();
    session_->NewGame(List1->row(List1->selectedItems().value(0)));
}

int Form1::PlayCell(int cell) { return tarpo::ClickAndFollow(*session_, cell); }

void Form1::FocusCell(int cell) {
    BoardCell* from = Image3[static_cast<std::size_t>(focusedCell_)];
    BoardCell* to = Image3[static_cast<std::size_t>(cell)];
    focusedCell_ = cell;
    to->setTabStop(true);
    to->setFocus(Qt::OtherFocusReason);
    if (from != to) from->setTabStop(false);
}

void Form1::DrawCell(int cell, const tarpo::CellLook& look) {
    ImageBox* box = Image3[static_cast<std::size_t>(cell)];
    // The frame first, around the picture the box had: a box left without a
    // picture keeps the size that gives it.
    box->setFramed(look.framed);
    box->setPicture(look.picture ? pictures_[*look.picture] : QPixmap());
    box->setAccessibleName(Text(tarpo::CellName(cell, look).c_str()));
}

void Form1::DrawPreview(std::optional<int> set) {
    demo->setPicture(set ? pictures_.Preview(*set) : QPixmap());
    demo->setAccessibleName(
        Text(tarpo::PreviewName(set ? std::optional<int>(*set) : std::nullopt).c_str()));
}

void Form1::Announce(const char16_t* text) { announcement_->say(Text(text)); }
