// Boards as arrays of tile numbers, and puzzles started from them.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "puzzle.h"

namespace tarpo::testing {

using Cells = std::array<int, kCellCount>;

inline Cells HomeCells() { return {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0}; }

inline Cells LayoutCells(int layout) {
    Cells cells{};
    for (int i = 0; i < kDealtCells; ++i)
        cells[static_cast<std::size_t>(i)] = LayoutTile(layout, i);
    return cells;
}

inline Cells Swapped(Cells cells, int a, int b) {
    std::swap(cells[static_cast<std::size_t>(a)], cells[static_cast<std::size_t>(b)]);
    return cells;
}

inline Cells Changed(Cells cells, int cell, int value) {
    cells[static_cast<std::size_t>(cell)] = value;
    return cells;
}

inline Cells CellsOf(const Board& board) {
    Cells cells{};
    for (int i = 0; i < kCellCount; ++i) cells[static_cast<std::size_t>(i)] = board.At(i);
    return cells;
}

inline Board BoardOf(const Cells& cells) {
    Board board;
    for (int i = 0; i < kCellCount; ++i)
        board.Set(RowOf(i), ColOf(i), cells[static_cast<std::size_t>(i)]);
    return board;
}

// A puzzle that goes on from `cells`, which play must be able to reach.
inline Puzzle PuzzleAt(const Cells& cells) {
    const std::optional<Puzzle> puzzle = Puzzle::From(BoardOf(cells), false);
    EXPECT_TRUE(puzzle.has_value());
    return puzzle.value_or(Puzzle());
}

}  // namespace tarpo::testing
