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

TEST_F(CellClick, OnEmptyCellChangesNothingButRemembersTheCell) {
    const Cells start = ShuffledWithEmptyAt(6);
    Start(start);
    puzzle.Image3_Click(6);
    EXPECT_TRUE(display.ops.empty());
    EXPECT_EQ(CellsOf(puzzle.board()), start);
    EXPECT_EQ(puzzle.curRow(), 1);
    EXPECT_EQ(puzzle.curCol(), 2);
}

// Clicks on tiles without an empty neighbour: (empty cell, clicked cell).
class NoSlide : public PuzzleTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(NoSlide, NothingChanges) {
    const auto [empty, clicked] = GetParam();
    const Cells start = ShuffledWithEmptyAt(static_cast<Int16>(empty));
    Start(start);
    puzzle.Image3_Click(static_cast<Int16>(clicked));
    EXPECT_TRUE(display.ops.empty());
    EXPECT_EQ(CellsOf(puzzle.board()), start);
    EXPECT_EQ(puzzle.curRow(), clicked / 4);
    EXPECT_EQ(puzzle.curCol(), clicked % 4);
}

INSTANTIATE_TEST_SUITE_P(Boards, NoSlide,
                         ::testing::Values(std::pair{15, 13},  // two cells away in the same row
                                           std::pair{15, 7},   // two cells away in the same column
                                           std::pair{15, 10},  // diagonal neighbour
                                           std::pair{4, 3},  // end of the row above: no wrap-around
                                           std::pair{3,
                                                     4},  // start of the row below: no wrap-around
                                           std::pair{8, 7},   // no wrap-around in the middle rows
                                           std::pair{0, 15},  // opposite corner
                                           std::pair{12, 3}));

struct Slide {
    int empty;
    int clicked;
};

class SlideInto : public PuzzleTest, public ::testing::WithParamInterface<Slide> {};

// The clicked cell is cleared, the target shows the tile, then cells 0..14
// are redrawn from the board; cell 15 only through the first two steps.
TEST_P(SlideInto, ClearsShowsThenRefreshesCellsZeroToFourteen) {
    const auto [empty, clicked] = GetParam();
    const Cells start = ShuffledWithEmptyAt(static_cast<Int16>(empty));
    Start(start);
    const Int16 tile = start[static_cast<std::size_t>(clicked)];

    puzzle.Image3_Click(static_cast<Int16>(clicked));

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
                                           Slide{12, 8}));

// With two empty neighbours (a state play never reaches) the probe order
// decides where the tile goes: below, right, above, left; and the click stops
// after the first slide.
struct ProbeCase {
    std::vector<int> emptyNeighbours;
    int expectedTarget;
};

class ProbeOrder : public PuzzleTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(ProbeOrder, FirstEmptyNeighbourInOrderTakesTheTile) {
    const ProbeCase& param = GetParam();
    Cells cells = HomeCells();
    cells[15] = 15;  // make room: every cell filled, then empty the chosen ones
    for (int n : param.emptyNeighbours) cells[static_cast<std::size_t>(n)] = 0;
    Start(cells);
    constexpr Int16 kCentre = 5;  // tile 6, neighbours 9 (below), 6, 1, 4
    puzzle.Image3_Click(kCentre);

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
                                           ProbeCase{{9, 4}, 9}, ProbeCase{{6, 4}, 6}));

TEST_F(CellClick, SlideThatSolvesShowsOnlyTheSlideAndNextClickCompletes) {
    Cells start = HomeCells();
    start[14] = 0;
    start[15] = 15;
    Start(start);

    puzzle.Image3_Click(15);  // below and right off the board, above tile 12, left empty
    EXPECT_EQ(display.ops, Concat({Clear(15), Tile(14, 15)}, Refresh(HomeCells())));
    EXPECT_TRUE(puzzle.board().IsSolved());
    EXPECT_EQ(display.shown[15], 0);
    for (bool framed : display.framed) EXPECT_TRUE(framed);

    display.ops.clear();
    puzzle.Image3_Click(15);
    EXPECT_EQ(display.ops, CompletionOps());
    EXPECT_EQ(display.shown[15], kCompletionShown);
    for (bool framed : display.framed) EXPECT_FALSE(framed);
}

// Before the first new game the board is home: any cell completes.
class ClickAfterStartUp : public PuzzleTest, public ::testing::WithParamInterface<int> {};

TEST_P(ClickAfterStartUp, RunsTheCompletionStepAndKeepsTheBoard) {
    puzzle.ResetBoard();
    const auto cell = static_cast<Int16>(GetParam());
    puzzle.Image3_Click(cell);
    EXPECT_EQ(display.ops, CompletionOps());
    EXPECT_EQ(CellsOf(puzzle.board()), HomeCells());
    EXPECT_EQ(puzzle.curRow(), cell / 4);
    EXPECT_EQ(puzzle.curCol(), cell % 4);

    display.ops.clear();  // and again: the same step, no tile moves
    puzzle.Image3_Click(14);
    EXPECT_EQ(display.ops, CompletionOps());
    EXPECT_EQ(CellsOf(puzzle.board()), HomeCells());
}

INSTANTIATE_TEST_SUITE_P(Cells, ClickAfterStartUp, ::testing::Range(0, 16));

TEST_F(CellClick, CanMoveTestsRowAndColumnSeparately) {
    Start(ShuffledWithEmptyAt(15));
    puzzle.Image3_Click(3);  // sets CurRow 0, CurCol 3; the click itself changes nothing
    struct Probe {
        Int16 dRow, dCol, ok;
    };
    for (const Probe& p :
         {Probe{1, 0, kTrue}, Probe{0, 1, kFalse}, Probe{-1, 0, kFalse}, Probe{0, -1, kTrue},
          Probe{3, 0, kTrue}, Probe{4, 0, kFalse}, Probe{0, -3, kTrue}, Probe{0, -4, kFalse}}) {
        Int16 ok = 7;
        puzzle.CanMove(p.dRow, p.dCol, ok);
        EXPECT_EQ(ok, p.ok) << p.dRow << "," << p.dCol;
    }
}

TEST_F(CellClick, TryMoveWritesMovedOnlyOnASlide) {
    Start(ShuffledWithEmptyAt(15));
    puzzle.Image3_Click(11);  // slides down into 15; CurRow/CurCol stay at (2, 3)
    Int16 moved = 5;
    puzzle.TryMove(0, 1, moved);  // off the board
    EXPECT_EQ(moved, 5);
    puzzle.TryMove(0, -1, moved);  // a tile there
    EXPECT_EQ(moved, 5);
}

#ifdef NDEBUG
TEST_F(CellClick, OutOfRangeIndexIsIgnoredInRelease) {
    const Cells start = ShuffledWithEmptyAt(15);
    Start(start);
    for (Int16 bad : {Int16{-1}, Int16{16}, Int16{100}}) puzzle.Image3_Click(bad);
    EXPECT_TRUE(display.ops.empty());
    EXPECT_EQ(CellsOf(puzzle.board()), start);
}
#endif

}  // namespace
}  // namespace tarpo::testing
