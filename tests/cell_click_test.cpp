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

class ClickOn : public ::testing::TestWithParam<Slide> {
  protected:
    // The board after the click, and what the click says it did.
    std::pair<Cells, Move> Play() {
        const auto [empty, clicked] = GetParam();
        Puzzle puzzle = PuzzleAt(ShuffledWithEmptyAt(empty));
        const Move move = puzzle.Click(clicked);
        EXPECT_FALSE(puzzle.completed());
        return {CellsOf(puzzle.board()), move};
    }
};

// Clicks on the empty cell, or on tiles without an empty neighbour.
using NoSlide = ClickOn;

TEST_P(NoSlide, LeavesTheBoardAsItWas) {
    EXPECT_EQ(Play(), std::make_pair(ShuffledWithEmptyAt(GetParam().empty), Move{}));
}

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
    EXPECT_EQ(Play(), std::make_pair(after, Move{Move::Kind::Slide, clicked, empty}));
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
