// The click rule: where a click moves a tile, and when it completes the picture.
#include <gtest/gtest.h>

#include <utility>

#include "board_fixture.h"

namespace tarpo::testing {
namespace {

// A shuffled board with the empty cell at `empty`: layout 0 with the empty
// cell moved up its column to the row of `empty`, then along that row.
Cells ShuffledWithEmptyAt(int empty) {
    Cells cells = LayoutCells(0);
    int at = kEmptyHomeCell;
    const auto step = [&](int to) {
        std::swap(cells[static_cast<std::size_t>(at)], cells[static_cast<std::size_t>(to)]);
        at = to;
    };
    while (RowOf(at) > RowOf(empty)) step(at - kSide);
    while (ColOf(at) > ColOf(empty)) step(at - 1);
    return cells;
}

// A click on cell `clicked` with the empty cell at `empty`, and whether it
// slides the tile into the empty cell.
struct Probe {
    int empty;
    int clicked;
    bool slides;
};

class ClickOn : public ::testing::TestWithParam<Probe> {};

// The board after the click, and what the click says it did: the tile and
// the empty cell swapped, or nothing at all.
TEST_P(ClickOn, SlidesOnlyATileNextToTheEmptyCell) {
    const auto [empty, clicked, slides] = GetParam();
    const Cells start = ShuffledWithEmptyAt(empty);
    Puzzle puzzle = PuzzleAt(start);
    const Move expected = slides ? Move{Move::Kind::Slide, clicked, empty} : Move{};
    EXPECT_EQ(puzzle.Click(clicked), expected);
    EXPECT_EQ(CellsOf(puzzle.board()), slides ? Swapped(start, empty, clicked) : start);
    EXPECT_FALSE(puzzle.completed());
}

// Clicks on the empty cell, or on tiles without an empty neighbour; then the
// probes below, right, above and left, from corners and edges where the
// others point off the board: the one towards the empty cell takes the tile.
INSTANTIATE_TEST_SUITE_P(
    Boards, ClickOn,
    ::testing::Values(Probe{6, 6, false},    // the empty cell itself
                      Probe{15, 13, false},  // two cells away in the same row
                      Probe{15, 7, false},   // two cells away in the same column
                      Probe{15, 10, false},  // diagonal neighbour
                      Probe{4, 3, false},    // end of the row above: no wrap-around
                      Probe{3, 4, false},    // start of the row below: no wrap-around
                      Probe{8, 7, false},    // no wrap-around in the middle rows
                      Probe{0, 15, false},   // opposite corner
                      Probe{12, 3, false},   // the other two corners
                      Probe{15, 14, true},   // right, below is off the board
                      Probe{15, 11, true},   // down into the corner
                      Probe{11, 15, true},   // up out of the corner
                      Probe{14, 15, true},   // left out of the corner
                      Probe{4, 0, true},     // down from a corner
                      Probe{3, 2, true},     // right along the top edge
                      Probe{0, 1, true},     // left into the corner
                      Probe{2, 3, true},     // left from the top-right corner
                      Probe{13, 12, true},   // right from the bottom-left corner
                      Probe{5, 9, true},     // up in the middle
                      Probe{12, 8, true}),
    [](const auto& info) {
        const Probe& c = info.param;
        return "cell_" + std::to_string(c.clicked) + (c.slides ? "_into_" : "_not_into_") +
               std::to_string(c.empty);
    });

#ifdef NDEBUG
TEST(Click, OutOfRangeIndexIsIgnoredInRelease) {
    const Cells start = ShuffledWithEmptyAt(15);
    Puzzle puzzle = PuzzleAt(start);
    for (int bad : {-1, 16, 100}) EXPECT_EQ(puzzle.Click(bad), Move{});
    EXPECT_EQ(CellsOf(puzzle.board()), start);
    EXPECT_FALSE(puzzle.completed());
}
#endif

}  // namespace
}  // namespace tarpo::testing
