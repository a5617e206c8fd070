// One of the board's sixteen cells: a picture box that the keyboard can play.
// The board is one stop in the Tab order, so only the cell that has the
// board's focus takes Tab focus; a mouse click gives no focus. The arrow
// keys, Home and End ask for the focus to move, Enter and Space click the
// cell, and the focused cell shows a ring inside its frame.
#pragma once

#include "board_access.h"
#include "image_box.h"

class BoardCell : public ImageBox {
    Q_OBJECT

  public:
    explicit BoardCell(QWidget* parent);

    // Whether Tab brings the focus to this cell: the board's focused cell.
    void setTabStop(bool stop);

  signals:
    // Enter or Space, or a screen reader's press action.
    void activated();
    void focusMoveRequested(tarpo::FocusMove move);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// The widget that a screen reader presents as a notification when it shows,
// with its accessible name as the text; it draws nothing and takes no input.
class Announcement : public QWidget {
    Q_OBJECT

  public:
    explicit Announcement(QWidget* parent);
    void say(const QString& text);
};

// Roles for assistive technology: a board cell is a button with a press
// action, a picture box an image, an announcement a notification.
void InstallAccessibleRoles();
