// The board for keyboard and screen-reader play, the same in every front end:
// the board is one stop in the Tab order, the arrow keys move the focus
// between its cells, Enter or Space clicks the focused cell, and the focus
// follows the tile it clicked. Each cell is named by its place and what it
// shows now.
#pragma once

#include <optional>
#include <string>

#include "session.h"

namespace tarpo {

// The keys that move the focus within the board (the grid pattern of
// WAI-ARIA): one cell up, down, left or right; the first or last cell of the
// row (Home, End); the first or last cell of the board (Ctrl+Home, Ctrl+End).
enum class FocusMove { Up, Down, Left, Right, RowStart, RowEnd, BoardStart, BoardEnd };

// The cell that `move` takes the focus to from `cell`. At an edge the focus
// stays: nothing wraps to the other side or to the next row.
int MoveFocus(int cell, FocusMove move);

// Clicks cell `cell` of the session, as a mouse click on it would, and
// returns the cell the focus goes to: the cell the clicked tile slid into, or
// `cell` itself when nothing slid.
int ClickAndFollow(Session& session, int cell);

// What assistive technology calls cell `cell` while it shows `look`:
// "Ряд 2, столбец 3: фишка 7", "Ряд 4, столбец 4: пусто".
std::u16string CellName(int cell, const CellLook& look);

// The preview's name: its set's name while it shows one, else empty.
std::u16string PreviewName(std::optional<int> set);

}  // namespace tarpo
