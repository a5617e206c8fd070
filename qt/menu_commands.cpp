// The menu commands: help, author, exit.
#include <QApplication>
#include <QMessageBox>

#include "dialog_font.h"
#include "fixed_size.h"
#include "form_qt.h"
#include "main_window.h"

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

void MainWindow::OnHelp() { ShowInformation(this, Text(form::kHelpTitle), Text(form::kHelpText)); }

void MainWindow::OnAuthor() {
    ShowInformation(this, Text(form::kAuthorTitle), Text(form::kAuthorText));
}

// Ends the program at once: the event loop returns and main exits with 0.
void MainWindow::OnExit() { QCoreApplication::exit(0); }
