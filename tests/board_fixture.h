// A puzzle wired to a recording display, with helpers to set up boards.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "fake_display.h"
#include "puzzle.h"

namespace tarpo::testing {

using Cells = std::array<Int16, kCellCount>;

inline Cells HomeCells() { return {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0}; }

inline Cells LayoutCells(Int16 layout) {
    Cells cells{};
    for (Int16 i = 0; i < kDealtCells; ++i)
        cells[static_cast<std::size_t>(i)] = LayoutTile(layout, i);
    return cells;
}

inline Cells CellsOf(const Board& board) {
    Cells cells{};
    for (Int16 i = 0; i < kCellCount; ++i)
        cells[static_cast<std::size_t>(i)] = board(RowOf(i), ColOf(i));
    return cells;
}

class PuzzleTest : public ::testing::Test {
  protected:
    // Puts `cells` on the board and makes the display show them, as it would
    // during play; then forgets the operations that took.
    void Start(const Cells& cells) {
        for (Int16 i = 0; i < kCellCount; ++i) {
            const Int16 t = cells[static_cast<std::size_t>(i)];
            puzzle.board().Set(RowOf(i), ColOf(i), t);
            if (t != 0) {
                display.ShowTile(i, t);
            } else {
                display.ClearCell(i);
            }
        }
        display.ops.clear();
    }

    // The operations of a redraw of cells 0..14 from `cells`.
    static std::vector<DisplayOp> Refresh(const Cells& cells) {
        std::vector<DisplayOp> ops;
        for (Int16 i = 0; i < kEmptyHomeCell; ++i) {
            const Int16 t = cells[static_cast<std::size_t>(i)];
            ops.push_back(t != 0 ? Tile(i, t) : Clear(i));
        }
        return ops;
    }

    static std::vector<DisplayOp> CompletionOps() {
        std::vector<DisplayOp> ops{Completion()};
        for (Int16 i = 0; i < kCellCount; ++i) ops.push_back(Frame(i, false));
        return ops;
    }

    RecordingDisplay display;
    Int16 nextLayout = 0;
    Puzzle puzzle{display, [this] { return nextLayout; }};
};

}  // namespace tarpo::testing
