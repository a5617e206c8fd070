// The board for keyboard and screen-reader play, the same in every front end:
// the board is one stop in the Tab order, the arrow keys move the focus
// between its cells, Enter or Space clicks the focused cell, Shift with an
// arrow slides a tile into the empty cell, and the focus follows the tile a
// key slid (Session::Press). Each cell is named by its place and what it
// shows now.
#pragma once

#include <optional>
#include <string>

#include "session.h"

namespace tarpo {

// What assistive technology calls cell `cell` while it shows `look`:
// "Ряд 2, столбец 3: фишка 7", "Ряд 4, столбец 4: пусто".
std::u16string CellName(int cell, const CellLook& look);

// The preview's name: its set's name while it shows one, else empty.
std::u16string PreviewName(std::optional<int> set);

// What a screen reader says for `what`.
const char16_t* AnnouncementText(Announcement what);

}  // namespace tarpo
