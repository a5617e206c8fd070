#include "dialog_font.h"

#include <QApplication>
#include <QMenu>
#include <QWidget>

#include "form_qt.h"

namespace {

// Qt's message box measures its title in the font of this class.
constexpr char kTitleFontClass[] = "QMdiSubWindowTitleBar";

}  // namespace

void UseDialogFont(QWidget* window) {
    const QFont font = formqt::Font(tarpo::form::kDialogFont);
    window->setFont(font);
    // Drop-down menus are separate windows and inherit no font, so set it.
    for (QMenu* menu : window->findChildren<QMenu*>()) menu->setFont(font);
}

BoxTitleFont::BoxTitleFont() : desktop_(QApplication::font(kTitleFontClass)) {
    QApplication::setFont(formqt::Font(tarpo::form::kDialogFont), kTitleFontClass);
}

BoxTitleFont::~BoxTitleFont() { QApplication::setFont(desktop_, kTitleFontClass); }
