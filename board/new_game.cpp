// The deal of a new game.
#include <cassert>

#include "puzzle.h"

namespace tarpo {

void Puzzle::NewGame(const std::function<void()>& pictureSetStep) {
    if (pictureSetStep) pictureSetStep();

    for (Int16 i = 0; i < kCellCount; ++i) display_.SetFrame(i, true);

    const Int16 layout = drawLayout_();
    assert(layout >= 0 && layout < kLayoutCount);
    if (layout < 0 || layout >= kLayoutCount) return;

    for (Int16 i = 0; i < kDealtCells; ++i) {
        const Int16 tile = LayoutTile(layout, i);
        display_.ShowTile(i, tile);
        Board.Set(RowOf(i), ColOf(i), tile);
    }
    display_.ClearCell(kEmptyHomeCell);
    Board.Set(RowOf(kEmptyHomeCell), ColOf(kEmptyHomeCell), kEmpty);
}

}  // namespace tarpo
