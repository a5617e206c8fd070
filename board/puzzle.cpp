// The click rule: the completion step, or a slide into the empty neighbour.
#include "puzzle.h"

#include <array>
#include <cassert>
#include <utility>

namespace tarpo {

Puzzle::Puzzle(CellDisplay& display, LayoutDraw drawLayout)
    : display_(display), drawLayout_(std::move(drawLayout)) {}

void Puzzle::Click(Int16 cell) {
    assert(IsCellIndex(cell));
    if (!IsCellIndex(cell)) return;

    clickedRow_ = RowOf(cell);
    clickedCol_ = ColOf(cell);

    if (board_.IsSolved()) {
        ShowCompletion();
        return;
    }
    if (board_(clickedRow_, clickedCol_) == kEmpty) return;

    // Neighbours are probed in this order: below, right, above, left; the
    // first empty one takes the tile.
    constexpr std::array<Offset, 4> kProbes = {{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};
    for (const Offset& probe : kProbes) {
        if (TrySlide(probe)) break;
    }
}

// Row and column are tested separately, so nothing wraps to the next row.
bool Puzzle::NeighbourOnBoard(Offset offset) const {
    return IsOnBoard(clickedRow_ + offset.dRow, clickedCol_ + offset.dCol);
}

bool Puzzle::TrySlide(Offset offset) {
    if (!NeighbourOnBoard(offset)) return false;

    const auto targetRow = static_cast<Int16>(clickedRow_ + offset.dRow);
    const auto targetCol = static_cast<Int16>(clickedCol_ + offset.dCol);
    if (board_(targetRow, targetCol) != kEmpty) return false;

    const Int16 tile = board_(clickedRow_, clickedCol_);
    display_.ClearCell(IndexOf(clickedRow_, clickedCol_));
    display_.ShowTile(IndexOf(targetRow, targetCol), tile);
    board_.Set(clickedRow_, clickedCol_, kEmpty);
    board_.Set(targetRow, targetCol, tile);

    RefreshTileCells();
    return true;
}

void Puzzle::ShowCompletion() {
    display_.ShowCompletionPiece();
    for (Int16 i = 0; i < kCellCount; ++i) display_.SetFrame(i, false);
}

// Redraws cells 0..14 from the board. Cell 15 is left alone: a slide that
// involves it has already drawn it.
void Puzzle::RefreshTileCells() {
    for (Int16 i = 0; i < kEmptyHomeCell; ++i) {
        const Int16 tile = board_(RowOf(i), ColOf(i));
        if (tile != kEmpty) {
            display_.ShowTile(i, tile);
        } else {
            display_.ClearCell(i);
        }
    }
}

}  // namespace tarpo
