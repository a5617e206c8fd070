// The click rule: where a click moves a tile, and when it completes the picture.
#include <gtest/gtest.h>

#include "board_fixture.h"

namespace tarpo::testing {
namespace {

// A shuffled board with the empty cell at `empty`: layout 0 with the empty
// cell exchanged into place (the click rule does not care about solvability).
Cells ShuffledWithEmptyAt(int empty) {
    Cells cells = LayoutCells(0);
    std::swap(cells[static_cast<std::size_t>(empty)], cells[15]);
    return cells;
}

// A click on cell `clicked` with the empty cell at `empty`.
struct Slide {
    int empty;
    int clicked;
};

void PrintTo(const Slide& slide, std::ostream* out) {
    *out << "cell " << slide.clicked << " to " << slide.empty;
}

std::string NameOf(const ::testing::TestParamInfo<Slide>& info) {
    return "cell_" + std::to_string(info.param.clicked) + "_to_" + std::to_string(info.param.empty);
}

class ClickOn : public PuzzleTest, public ::testing::WithParamInterface<Slide> {
  protected:
    Cells Play() {
        const auto [empty, clicked] = GetParam();
        SetCells(puzzle.board(), ShuffledWithEmptyAt(empty));
        puzzle.Click(clicked);
        EXPECT_FALSE(puzzle.completed());
        return CellsOf(puzzle.board());
    }
};

// Clicks on the empty cell, or on tiles without an empty neighbour.
using NoSlide = ClickOn;

TEST_P(NoSlide, LeavesTheBoardAsItWas) { EXPECT_EQ(Play(), ShuffledWithEmptyAt(GetParam().empty)); }

INSTANTIATE_TEST_SUITE_P(Boards, NoSlide,
                         ::testing::Values(Slide{6, 6},    // the empty cell itself
                                           Slide{15, 13},  // two cells away in the same row
                                           Slide{15, 7},   // two cells away in the same column
                                           Slide{15, 10},  // diagonal neighbour
                                           Slide{4, 3},    // end of the row above: no wrap-around
                                           Slide{3, 4},    // start of the row below: no wrap-around
                                           Slide{8, 7},    // no wrap-around in the middle rows
                                           Slide{0, 15},   // opposite corner
                                           Slide{12, 3}),
                         NameOf);

// The probes below, right, above and left, from corners and edges where the
// others point off the board: the one towards the empty cell takes the tile.
using SlideInto = ClickOn;

TEST_P(SlideInto, MovesTheTileIntoTheEmptyCell) {
    const auto [empty, clicked] = GetParam();
    Cells after = ShuffledWithEmptyAt(empty);
    std::swap(after[static_cast<std::size_t>(empty)], after[static_cast<std::size_t>(clicked)]);
    EXPECT_EQ(Play(), after);
}

INSTANTIATE_TEST_SUITE_P(Boards, SlideInto,
                         ::testing::Values(Slide{15, 14},  // right, below is off the board
                                           Slide{15, 11},  // down into the corner
                                           Slide{11, 15},  // up out of the corner
                                           Slide{14, 15},  // left out of the corner
                                           Slide{4, 0},    // down from a corner
                                           Slide{3, 2},    // right along the top edge
                                           Slide{0, 1},    // left into the corner
                                           Slide{2, 3},    // left from the top-right corner
                                           Slide{13, 12},  // right from the bottom-left corner
                                           Slide{5, 9},    // up in the middle
                                           Slide{12, 8}),
                         NameOf);

// The slide that solves the board only slides; the next click, on any cell,
// completes the picture, and later clicks change nothing.
TEST_F(PuzzleTest, SolvingSlideThenNextClickCompletes) {
    Cells start = HomeCells();
    std::swap(start[14], start[15]);
    SetCells(puzzle.board(), start);

    puzzle.Click(15);  // below and right off the board, above tile 12, left empty
    EXPECT_EQ(CellsOf(puzzle.board()), HomeCells());
    EXPECT_FALSE(puzzle.completed());
    EXPECT_TRUE(puzzle.framed());

    for (int cell : {15, 14, 3}) {
        puzzle.Click(cell);
        EXPECT_EQ(CellsOf(puzzle.board()), HomeCells()) << cell;
        EXPECT_TRUE(puzzle.completed()) << cell;
        EXPECT_FALSE(puzzle.framed()) << cell;
    }
}

#ifdef NDEBUG
TEST_F(PuzzleTest, OutOfRangeIndexIsIgnoredInRelease) {
    const Cells start = ShuffledWithEmptyAt(15);
    SetCells(puzzle.board(), start);
    for (int bad : {-1, 16, 100}) puzzle.Click(bad);
    EXPECT_EQ(CellsOf(puzzle.board()), start);
    EXPECT_FALSE(puzzle.completed());
}
#endif

}  // namespace
}  // namespace tarpo::testing
