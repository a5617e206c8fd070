// The click rule: the completion step, or a slide into the empty neighbour;
// and the check of a position to go on from.
#include "puzzle.h"

#include <array>
#include <cassert>
#include <cstdlib>

namespace tarpo {

namespace {

// Whether play can reach `board` from the home arrangement. Every slide swaps
// the empty cell with a neighbour: it flips the parity of the arrangement
// (the empty cell counted as tile 16) and moves the empty cell one step, so
// the two parities always agree.
bool IsReachable(const Board& board) {
    std::array<bool, kCellCount> seen{};
    std::array<int, kCellCount> home{};  // the home cell of what each cell holds
    int empty = -1;
    for (int i = 0; i < kCellCount; ++i) {
        const int tile = board.At(i);
        if (tile < 0 || tile >= kCellCount || seen[static_cast<std::size_t>(tile)]) return false;
        seen[static_cast<std::size_t>(tile)] = true;
        home[static_cast<std::size_t>(i)] = tile == kEmpty ? kEmptyHomeCell : tile - 1;
        if (tile == kEmpty) empty = i;
    }
    int inversions = 0;
    for (int i = 0; i < kCellCount; ++i)
        for (int j = i + 1; j < kCellCount; ++j)
            if (home[static_cast<std::size_t>(i)] > home[static_cast<std::size_t>(j)]) ++inversions;
    const int steps = std::abs(RowOf(empty) - RowOf(kEmptyHomeCell)) +
                      std::abs(ColOf(empty) - ColOf(kEmptyHomeCell));
    return inversions % 2 == steps % 2;
}

}  // namespace

Puzzle::Puzzle() { board_.ResetToHome(); }

std::optional<Puzzle> Puzzle::From(const Board& board, bool completed) {
    if (!IsReachable(board) || (completed && !board.IsSolved())) return std::nullopt;
    Puzzle puzzle;
    puzzle.board_ = board;
    puzzle.completed_ = completed;
    return puzzle;
}

Move Puzzle::Click(int cell) {
    assert(IsCellIndex(cell));
    if (!IsCellIndex(cell)) return {};

    if (board_.IsSolved()) {
        if (completed_) return {};
        completed_ = true;
        return {Move::Kind::Completion};
    }
    const int row = RowOf(cell);
    const int col = ColOf(cell);
    const int tile = board_(row, col);
    if (tile == kEmpty) return {};

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
        return {Move::Kind::Slide, cell, IndexOf(targetRow, targetCol)};
    }
    return {};
}

}  // namespace tarpo
