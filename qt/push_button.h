// A push button that Enter and keypad Enter press as well as Space, like the
// buttons of Windows dialogs. QPushButton takes Enter only when it is a
// dialog's default button.
#pragma once

#include <QKeyEvent>
#include <QPushButton>

class PushButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};
