// Start-up and the two handlers of play, forwarded to the game session, and
// what the session shows through the window's controls.
#include <QListWidget>
#include <QPushButton>

#include "form1.h"
#include "form_qt.h"
#include "image_box.h"

using formqt::Text;

void Form1::Form_Initialize() { session_.Initialize(); }

void Form1::Form_Load() { session_.Load(); }

void Form1::Image3_Click(tarpo::Int16 Index) { session_.Click(Index); }

void Form1::Command1_Click() { session_.NewGame(); }

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
}

void Form1::DrawPreview(std::optional<tarpo::Int16> set) {
    demo->setPicture(set ? pictures_.Preview(*set) : QPixmap());
}
