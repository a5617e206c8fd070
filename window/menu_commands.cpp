// The menu commands: help, author, exit.
#include <QApplication>
#include <QMessageBox>

#include "fixed_size.h"
#include "form1.h"

namespace {

// Lines of a message are joined by a lone carriage return.
const QString kHelpText = QStringLiteral(
    "Данная версия игры представляет  \r"
    "собой обычные пятнашки. \r"
    "И если вы не умеете в них играть\r"
    ",то вам надо лечиться !!!!!!!!");

const QString kAuthorText = QStringLiteral(
    "Игру собрал упрямый программист,\r"
    "   который уверен, что пятнашки\r"
    "   успокаивают нервы лучше чая.\r"
    "   Жалобы и благодарности\r"
    "   принимаются в письменном виде\r"
    "   на обороте пятнадцатой фишки.");

void ShowInformation(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    KeepFixedSize(&box);
    box.exec();
}

}  // namespace

void Form1::help_Click() { ShowInformation(this, QStringLiteral("помошчь"), kHelpText); }

void Form1::autor_Click() { ShowInformation(this, QStringLiteral("Автор !!!!!"), kAuthorText); }

// Ends the program at once: the event loop returns and main exits with 0.
void Form1::exit_Click() { QCoreApplication::exit(0); }
