// The two handlers of play, forwarded to the game session, and what the
// session shows through the window's controls.
#include <QListWidget>
#include <QPushButton>

#include "form1.h"
#include "image_box.h"

void Form1::Image3_Click(int Index) { session_->Click(Index); }

// The list always has one entry selected (PictureSetList).
void Form1::Command1_Click() { session_->NewGame(List1->row(List1->selectedItems().value(0))); }

void Form1::DrawCell(int cell, const tarpo::CellLook& look) {
    ImageBox* box = Image3[static_cast<std::size_t>(cell)];
    // The frame first, around the picture the box had: a box left without a
    // picture keeps the size that gives it.
    box->setFramed(look.framed);
    box->setPicture(look.picture ? pictures_[*look.picture] : QPixmap());
}

void Form1::DrawPreview(std::optional<int> set) {
    demo->setPicture(set ? pictures_.Preview(*set) : QPixmap());
}

void Form1::Announce(const char16_t*) {}
