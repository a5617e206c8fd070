// The deal of a new game: a start layout in cells 0..14, cell 15 empty.
#include <cassert>

#include "puzzle.h"

namespace tarpo {

void Puzzle::Deal(int layout) {
    assert(layout >= 0 && layout < kLayoutCount);
    if (layout < 0 || layout >= kLayoutCount) return;

    for (int i = 0; i < kDealtCells; ++i) board_.Set(RowOf(i), ColOf(i), LayoutTile(layout, i));
    board_.Set(RowOf(kEmptyHomeCell), ColOf(kEmptyHomeCell), kEmpty);
    completed_ = false;
}

}  // namespace tarpo
