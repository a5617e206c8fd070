// One of the board's sixteen cells: a picture box that the keyboard can play.
// The board is one stop in the Tab order, so only the cell that has the
// board's focus takes Tab focus; a mouse click gives no focus. The board's
// keys go to the game session, which says what they do; the focused cell
// shows a ring inside its frame.
#pragma once

#include <functional>

#include "board_access.h"
#include "image_box.h"

class BoardCell : public ImageBox {
    Q_OBJECT

  public:
    explicit BoardCell(QWidget* parent);

    // Whether Tab brings the focus to this cell: the board's focused cell.
    void setTabStop(bool stop);
    // Takes each key the board knows; `handler` says whether it used it.
    void setKeyHandler(std::function<bool(const tarpo::KeyPress&)> handler);

  signals:
    // A screen reader's press action.
    void activated();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    std::function<bool(const tarpo::KeyPress&)> keyHandler_;
};

// The widget that a screen reader presents as a notification when it shows,
// with its accessible name as the text; it draws nothing and takes no input.
// A text is said once the input that led to it has been handled: a slide by
// key takes the focus along after the game's move, and a screen reader stops
// speaking when the focus moves.
class Announcement : public QWidget {
    Q_OBJECT

  public:
    explicit Announcement(QWidget* parent);
    void say(const QString& text);

  private:
    void sayNow(const QString& text);
};

// Roles for assistive technology: a board cell is a button with a press
// action, a picture box an image, an announcement a notification.
void InstallAccessibleRoles();
