#include "dialog_font.h"

#include <QMenu>
#include <QWidget>

#include "form_qt.h"

void UseDialogFont(QWidget* window) {
    const QFont font = formqt::Font(tarpo::form::kDialogFont);
    window->setFont(font);
    // Drop-down menus are windows of their own and inherit nothing.
    for (QMenu* menu : window->findChildren<QMenu*>()) menu->setFont(font);
}
