// The deal of a new game: every cell framed, a start layout in cells 0..14.
#include <cassert>

#include "puzzle.h"

namespace tarpo {

void Puzzle::Deal() {
    for (Int16 i = 0; i < kCellCount; ++i) display_.SetFrame(i, true);

    const Int16 layout = drawLayout_();
    assert(layout >= 0 && layout < kLayoutCount);
    if (layout < 0 || layout >= kLayoutCount) return;

    for (Int16 i = 0; i < kDealtCells; ++i) {
        const Int16 tile = LayoutTile(layout, i);
        display_.ShowTile(i, tile);
        board_.Set(RowOf(i), ColOf(i), tile);
    }
    display_.ClearCell(kEmptyHomeCell);
    board_.Set(RowOf(kEmptyHomeCell), ColOf(kEmptyHomeCell), kEmpty);
}

}  // namespace tarpo
