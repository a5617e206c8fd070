// What runs once when the window is created, before it is shown.
#include <QListWidget>
#include <QPushButton>

#include "form1.h"

void Form1::Form_Initialize() {
    List1->addItem(QStringLiteral("Череп"));
    List1->addItem(QStringLiteral("Дантист"));
    List1->setCurrentRow(0);
}

void Form1::Form_Load() {
    setWindowTitle(QStringLiteral("zodaziror uvedored"));
    Command1->setText(QStringLiteral("новая игра"));
    StartUpJoin(stores_);
    puzzle_.ResetBoard();
}

void Form1::Image3_Click(tarpo::Int16 Index) { puzzle_.Image3_Click(Index); }

void Form1::Command1_Click() {
    puzzle_.NewGame([this] { PictureSetStep(*List1, stores_, Image0, *demo); });
}
