#include "puzzle.h"

#include <array>
#include <cassert>
#include <utility>

namespace tarpo {

namespace {

struct Offset {
    Int16 dRow;
    Int16 dCol;
};

// Neighbours are probed in this order: below, right, above, left.
constexpr std::array<Offset, 4> kProbes = {{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};

}  // namespace

Puzzle::Puzzle(CellDisplay& display, LayoutDraw drawLayout)
    : display_(display), drawLayout_(std::move(drawLayout)) {}

void Puzzle::Image3_Click(Int16 Index) {
    assert(IsCellIndex(Index));
    if (!IsCellIndex(Index)) return;

    CurRow = RowOf(Index);
    CurCol = ColOf(Index);

    if (Board.IsSolved()) {
        ShowCompletion();
        return;
    }
    if (Board(CurRow, CurCol) == kEmpty) return;

    Int16 moved = kFalse;
    for (const Offset& probe : kProbes) {
        TryMove(probe.dRow, probe.dCol, moved);
        if (moved == kTrue) break;
    }
}

void Puzzle::CanMove(const Int16& dRow, const Int16& dCol, Int16& ok) const {
    // Row and column are tested separately, so nothing wraps to the next row.
    ok = IsOnBoard(CurRow + dRow, CurCol + dCol) ? kTrue : kFalse;
}

void Puzzle::TryMove(const Int16& dRow, const Int16& dCol, Int16& moved) {
    Int16 ok = kFalse;
    CanMove(dRow, dCol, ok);
    if (ok == kFalse) return;

    const auto targetRow = static_cast<Int16>(CurRow + dRow);
    const auto targetCol = static_cast<Int16>(CurCol + dCol);
    if (Board(targetRow, targetCol) != kEmpty) return;

    const Int16 tile = Board(CurRow, CurCol);
    display_.ClearCell(IndexOf(CurRow, CurCol));
    display_.ShowTile(IndexOf(targetRow, targetCol), tile);
    Board.Set(CurRow, CurCol, kEmpty);
    Board.Set(targetRow, targetCol, tile);
    moved = kTrue;

    RefreshTileCells();
}

void Puzzle::ShowCompletion() {
    display_.ShowCompletionPiece();
    for (Int16 i = 0; i < kCellCount; ++i) display_.SetFrame(i, false);
}

// Redraws cells 0..14 from the board. Cell 15 is left alone: a slide that
// involves it has already drawn it.
void Puzzle::RefreshTileCells() {
    for (Int16 i = 0; i < kEmptyHomeCell; ++i) {
        const Int16 tile = Board(RowOf(i), ColOf(i));
        if (tile != kEmpty) {
            display_.ShowTile(i, tile);
        } else {
            display_.ClearCell(i);
        }
    }
}

}  // namespace tarpo
