// Start-up and the two handlers of play, forwarded to the game session, and
// what the session shows through the window's controls.
#include <QListWidget>
#include <QPushButton>

#include "accessible_texts.h"
#include "board_access.h"
#include "board_cell.h"
#include "form1.h"
#include "form_qt.h"
#include "image_box.h"

using formqt::Text;

void Form1::Form_Initialize() { session_.Initialize(); }

void Form1::Form_Load() { session_.Load(); }

void Form1::Image3_Click(tarpo::Int16 Index) { PlayCell(Index); }

void Form1::Command1_Click() {
    announcement_->hide();
    session_.NewGame();
}

// The win is said at the slide that brings every tile home.
int Form1::PlayCell(int cell) {
    const bool solved = session_.board().IsSolved();
    const int follow = tarpo::ClickAndFollow(session_, cell);
    if (!solved && session_.board().IsSolved()) Announce(tarpo::form::kSolvedAnnouncement);
    return follow;
}

void Form1::FocusCell(int cell) {
    BoardCell* from = Image3[static_cast<std::size_t>(focusedCell_)];
    BoardCell* to = Image3[static_cast<std::size_t>(cell)];
    focusedCell_ = cell;
    to->setTabStop(true);
    to->setFocus(Qt::OtherFocusReason);
    if (from != to) from->setTabStop(false);
}

void Form1::Announce(const char16_t* text) { announcement_->say(Text(text)); }

void Form1::AddListEntry(const char16_t* name) { List1->addItem(Text(name)); }

void Form1::SelectListEntry(int entry) { List1->setCurrentRow(entry); }

int Form1::ListEntryCount() const { return List1->count(); }

bool Form1::IsListEntrySelected(int entry) const { return List1->item(entry)->isSelected(); }

void Form1::SetTitle(const char16_t* title) { setWindowTitle(Text(title)); }

void Form1::SetButtonCaption(const char16_t* caption) { Command1->setText(Text(caption)); }

void Form1::DrawCell(tarpo::Int16 cell, const tarpo::CellLook& look) {
    ImageBox* box = Image3[static_cast<std::size_t>(cell)];
    box->setPicture(look.picture ? pictures_[*look.picture] : QPixmap());
    box->setFramed(look.framed);
    box->setAccessibleName(Text(tarpo::CellName(cell, look).c_str()));
}

void Form1::DrawPreview(std::optional<tarpo::Int16> set) {
    demo->setPicture(set ? pictures_.Preview(*set) : QPixmap());
    demo->setAccessibleName(
        Text(tarpo::PreviewName(set ? std::optional<int>(*set) : std::nullopt).c_str()));
}
