// The click rule: exact display operations for the cases that matter.
#include <gtest/gtest.h>

#include "board_fixture.h"

namespace tarpo::testing {
namespace {

using CellClick = PuzzleTest;

// A shuffled board with the empty cell at `empty`: layout 0 with the empty
// cell exchanged into place (the click rule does not care about solvability).
Cells ShuffledWithEmptyAt(Int16 empty) {
    Cells cells = LayoutCells(0);
    std::swap(cells[static_cast<std::size_t>(empty)], cells[15]);
    return cells;
}

std::vector<DisplayOp> Concat(std::vector<DisplayOp> a, const std::vector<DisplayOp>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A click from cell `clicked` with the empty cell at `empty`.
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

// Clicks on the empty cell, or on tiles without an empty neighbour.
class NoSlide : public PuzzleTest, public ::testing::WithParamInterface<Slide> {};

TEST_P(NoSlide, NothingChanges) {
    const auto [empty, clicked] = GetParam();
    const Cells start = ShuffledWithEmptyAt(static_cast<Int16>(empty));
    Start(start);
    puzzle.Click(static_cast<Int16>(clicked));
    EXPECT_TRUE(display.ops.empty());
    EXPECT_EQ(CellsOf(puzzle.board()), start);
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

class SlideInto : public PuzzleTest, public ::testing::WithParamInterface<Slide> {};

// The clicked cell is cleared, the target shows the tile, then cells 0..14
// are redrawn from the board; cell 15 only through the first two steps.
TEST_P(SlideInto, ClearsShowsThenRefreshesCellsZeroToFourteen) {
    const auto [empty, clicked] = GetParam();
    const Cells start = ShuffledWithEmptyAt(static_cast<Int16>(empty));
    Start(start);
    const Int16 tile = start[static_cast<std::size_t>(clicked)];

    puzzle.Click(static_cast<Int16>(clicked));

    Cells after = start;
    std::swap(after[static_cast<std::size_t>(empty)], after[static_cast<std::size_t>(clicked)]);
    EXPECT_EQ(CellsOf(puzzle.board()), after);
    const std::vector<DisplayOp> expected =
        Concat({Clear(static_cast<Int16>(clicked)), Tile(static_cast<Int16>(empty), tile)},
               Refresh(after));
    EXPECT_EQ(display.ops, expected);
    EXPECT_EQ(CellsOf(puzzle.board()), display.shown);
}

INSTANTIATE_TEST_SUITE_P(Boards, SlideInto,
                         ::testing::Values(Slide{15, 14},  // right, below is off the board
                                           Slide{15, 11},  // down into the corner
                                           Slide{11, 15},  // up out of the corner
                                           Slide{14, 15},  // left out of the corner
                                           Slide{4, 0},    // down from a corner
                                           Slide{3, 2},    // right along the top edge
                                           Slide{0, 1},    // left into the corner
                                           Slide{5, 9},    // up in the middle
                                           Slide{12, 8}),
                         NameOf);

// With two empty neighbours (a state play never reaches) the probe order
// decides where the tile goes: below, right, above, left; and the click stops
// after the first slide.
struct ProbeCase {
    std::vector<int> emptyNeighbours;
    int expectedTarget;
};

void PrintTo(const ProbeCase& probe, std::ostream* out) {
    *out << "empty neighbours " << ::testing::PrintToString(probe.emptyNeighbours) << ", target "
         << probe.expectedTarget;
}

class ProbeOrder : public PuzzleTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(ProbeOrder, FirstEmptyNeighbourInOrderTakesTheTile) {
    const ProbeCase& param = GetParam();
    Cells cells = HomeCells();
    cells[15] = 15;  // make room: every cell filled, then empty the chosen ones
    for (int n : param.emptyNeighbours) cells[static_cast<std::size_t>(n)] = 0;
    Start(cells);
    constexpr Int16 kCentre = 5;  // tile 6, neighbours 9 (below), 6, 1, 4
    puzzle.Click(kCentre);

    ASSERT_GE(display.ops.size(), 2u);
    EXPECT_EQ(display.ops[0], Clear(kCentre));
    EXPECT_EQ(display.ops[1], Tile(static_cast<Int16>(param.expectedTarget), 6));
    EXPECT_EQ(display.ops.size(), 2u + 15u) << "a second slide or a longer refresh ran";
    EXPECT_EQ(puzzle.board()(RowOf(static_cast<Int16>(param.expectedTarget)),
                             ColOf(static_cast<Int16>(param.expectedTarget))),
              6);
}

INSTANTIATE_TEST_SUITE_P(Boards, ProbeOrder,
                         ::testing::Values(ProbeCase{{9, 6, 1, 4}, 9}, ProbeCase{{6, 1, 4}, 6},
                                           ProbeCase{{1, 4}, 1}, ProbeCase{{4}, 4},
                                           ProbeCase{{9, 4}, 9}, ProbeCase{{6, 4}, 6}),
                         [](const auto& info) {
                             std::string name = "empty";
                             for (int cell : info.param.emptyNeighbours)
                                 name += "_" + std::to_string(cell);
                             return name;
                         });

TEST_F(CellClick, SlideThatSolvesShowsOnlyTheSlideAndNextClickCompletes) {
    Cells start = HomeCells();
    start[14] = 0;
    start[15] = 15;
    Start(start);

    puzzle.Click(15);  // below and right off the board, above tile 12, left empty
    EXPECT_EQ(display.ops, Concat({Clear(15), Tile(14, 15)}, Refresh(HomeCells())));
    EXPECT_TRUE(puzzle.board().IsSolved());
    EXPECT_EQ(display.shown[15], 0);
    for (bool framed : display.framed) EXPECT_TRUE(framed);

    display.ops.clear();
    puzzle.Click(15);
    EXPECT_EQ(display.ops, CompletionOps());
    EXPECT_EQ(display.shown[15], kCompletionShown);
    for (bool framed : display.framed) EXPECT_FALSE(framed);
}

// Before the first new game the board is home: any cell completes.
class ClickAfterStartUp : public PuzzleTest, public ::testing::WithParamInterface<int> {};

TEST_P(ClickAfterStartUp, RunsTheCompletionStepAndKeepsTheBoard) {
    puzzle.Reset();
    puzzle.Click(static_cast<Int16>(GetParam()));
    EXPECT_EQ(display.ops, CompletionOps());
    EXPECT_EQ(CellsOf(puzzle.board()), HomeCells());

    display.ops.clear();  // and again: the same step, no tile moves
    puzzle.Click(14);
    EXPECT_EQ(display.ops, CompletionOps());
    EXPECT_EQ(CellsOf(puzzle.board()), HomeCells());
}

INSTANTIATE_TEST_SUITE_P(Cells, ClickAfterStartUp, ::testing::Range(0, 16),
                         [](const auto& info) { return "cell_" + std::to_string(info.param); });

#ifdef NDEBUG
TEST_F(CellClick, OutOfRangeIndexIsIgnoredInRelease) {
    const Cells start = ShuffledWithEmptyAt(15);
    Start(start);
    for (Int16 bad : {Int16{-1}, Int16{16}, Int16{100}}) puzzle.Click(bad);
    EXPECT_TRUE(display.ops.empty());
    EXPECT_EQ(CellsOf(puzzle.board()), start);
}
#endif

}  // namespace
}  // namespace tarpo::testing
