// The click rule: the completion step, or a slide into the empty neighbour.
#include "puzzle.h"

#include <array>
#include <cassert>
#include <utility>

namespace tarpo {

Puzzle::Puzzle(LayoutDraw drawLayout) : drawLayout_(std::move(drawLayout)) { board_.ResetToHome(); }

void Puzzle::Click(int cell) {
    assert(IsCellIndex(cell));
    if (!IsCellIndex(cell)) return;

    if (board_.IsSolved()) {
        completed_ = true;
        return;
    }
    const int row = RowOf(cell);
    const int col = ColOf(cell);
    const int tile = board_(row, col);
    if (tile == kEmpty) return;

    // Neighbours are probed in this order: below, right, above, left; the
    // first empty one takes the tile. Row and column are tested separately,
    // so nothing wraps round to the next row.
    struct Offset {
        int dRow;
        int dCol;
    };
    constexpr std::array<Offset, 4> kProbes = {{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};
    for (const Offset& probe : kProbes) {
        const int targetRow = row + probe.dRow;
        const int targetCol = col + probe.dCol;
        if (!IsOnBoard(targetRow, targetCol) || board_(targetRow, targetCol) != kEmpty) continue;
        board_.Set(row, col, kEmpty);
        board_.Set(targetRow, targetCol, tile);
        return;
    }
}

}  // namespace tarpo
