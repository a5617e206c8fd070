// A puzzle whose deals the test picks, with helpers to set up boards.
#pragma once

#include <gtest/gtest.h>

#include <array>

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

inline Cells CellsOf(const Board& board) {
    Cells cells{};
    for (int i = 0; i < kCellCount; ++i) cells[static_cast<std::size_t>(i)] = board.At(i);
    return cells;
}

inline void SetCells(Board& board, const Cells& cells) {
    for (int i = 0; i < kCellCount; ++i)
        board.Set(RowOf(i), ColOf(i), cells[static_cast<std::size_t>(i)]);
}

class PuzzleTest : public ::testing::Test {
  protected:
    int nextLayout = 0;
    Puzzle puzzle{[this] { return nextLayout; }};
};

}  // namespace tarpo::testing
