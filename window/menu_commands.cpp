// The menu commands: help, author, exit.
#include <QApplication>
#include <QMessageBox>

#include "dialog_font.h"
#include "fixed_size.h"
#include "form1.h"
#include "form_qt.h"

namespace {

void ShowInformation(QWidget* parent, const QString& title, const QString& text) {
    const BoxTitleFont titleFont;
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    UseDialogFont(&box);
    KeepFixedSize(&box);
    box.exec();
}

}  // namespace

using formqt::Text;
namespace form = tarpo::form;

void Form1::help_Click() { ShowInformation(this, Text(form::kHelpTitle), Text(form::kHelpText)); }

void Form1::autor_Click() {
    ShowInformation(this, Text(form::kAuthorTitle), Text(form::kAuthorText));
}

// Ends the program at once: the event loop returns and main exits with 0.
void Form1::exit_Click() { QCoreApplication::exit(0); }
