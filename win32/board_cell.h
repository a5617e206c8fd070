// One of the board's sixteen cells: a picture box that the keyboard plays.
// The board is one stop in the Tab order, so only the cell that holds the
// board's focus is a Tab stop; a mouse click gives no focus. The board's keys
// go to the game session, which says what they do; the cell shows the form's
// focus ring inside its picture while it has the focus.
// Assistive technology reads it as a button named by its window text.
#pragma once

#include <functional>

#include "board_access.h"
#include "image_box.h"

namespace win32 {

class BoardCell final : public ImageBox {
  public:
    // A press of the cell by a screen reader; a key the board knows, which
    // gives whether it was used.
    struct Keys {
        std::function<void()> press;
        std::function<bool(const tarpo::KeyPress&)> key;
    };

    BoardCell(HWND parent, const tarpo::form::Rect& place, const Scale& scale,
              std::function<void()> onClick, Keys keys);

    // Whether Tab brings the focus to this cell: the board's focused cell.
    void SetTabStop(bool stop);

  private:
    std::optional<LRESULT> HandleMore(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintOver(HDC dc, const Scale& scale, const tarpo::form::Rect& place,
                   bool framed) override;
    AccessibleTraits Accessible() const override;

    Keys keys_;
};

}  // namespace win32
