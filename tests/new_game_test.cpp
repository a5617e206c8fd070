// The start layouts, the draw and the deal of a new game.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "board_fixture.h"
#include "solver.h"

namespace tarpo::testing {
namespace {

struct LayoutFacts {
    int layout;
    int inversions;
};

void PrintTo(const LayoutFacts& facts, std::ostream* out) {
    *out << "layout " << facts.layout << ", " << facts.inversions << " inversions";
}

class Layout : public PuzzleTest, public ::testing::WithParamInterface<LayoutFacts> {};

TEST_P(Layout, IsAnEvenPermutationWithTheEmptyCellHome) {
    const auto [layout, inversions] = GetParam();
    Cells cells = LayoutCells(layout);
    Board board;
    SetCells(board, cells);

    std::sort(cells.begin(), cells.begin() + 15);
    for (int k = 1; k <= 15; ++k) EXPECT_EQ(cells[static_cast<std::size_t>(k - 1)], k);
    EXPECT_EQ(CountInversions(board), inversions);
    EXPECT_EQ(inversions % 2, 0);
    EXPECT_FALSE(board.IsSolved());
}

// The deal, from the finished picture: the layout on the board, the picture
// no longer completed, so every cell is framed again.
TEST_P(Layout, DealFromTheFinishedPicture) {
    const int layout = GetParam().layout;
    nextLayout = layout;
    puzzle.Click(9);  // completion of the home arrangement
    ASSERT_TRUE(puzzle.completed());
    puzzle.Deal();

    EXPECT_EQ(CellsOf(puzzle.board()), LayoutCells(layout));
    EXPECT_FALSE(puzzle.completed());
    EXPECT_TRUE(puzzle.framed());
}

// Solvable for real: a solver's clicks, replayed through the click rule,
// reach the home arrangement, each moving a tile; the next click completes.
TEST_P(Layout, SolverClicksReachHomeAndTheNextClickCompletes) {
    nextLayout = GetParam().layout;
    puzzle.Deal();
    const auto clicks = SolveByClicks(puzzle.board());
    ASSERT_TRUE(clicks.has_value());

    for (int cell : *clicks) {
        const Cells before = CellsOf(puzzle.board());
        ASSERT_FALSE(puzzle.board().IsSolved());
        puzzle.Click(cell);
        ASSERT_NE(CellsOf(puzzle.board()), before) << "click on " << cell << " moved nothing";
    }
    EXPECT_TRUE(puzzle.board().IsSolved());
    EXPECT_FALSE(puzzle.completed());
    puzzle.Click(0);
    EXPECT_TRUE(puzzle.completed());
}

INSTANTIATE_TEST_SUITE_P(Table, Layout,
                         ::testing::Values(LayoutFacts{0, 42}, LayoutFacts{1, 30},
                                           LayoutFacts{2, 46}, LayoutFacts{3, 50},
                                           LayoutFacts{4, 52}),
                         [](const auto& info) {
                             return "layout_" + std::to_string(info.param.layout);
                         });

using NewGame = PuzzleTest;

TEST_F(NewGame, LayoutZeroPutsTileEightFirstAndElevenInCellFourteen) {
    nextLayout = 0;
    puzzle.Deal();
    EXPECT_EQ(puzzle.board()(0, 0), 8);
    EXPECT_EQ(puzzle.board()(3, 2), 11);
    EXPECT_EQ(puzzle.board()(3, 3), 0);
}

TEST_F(NewGame, MidGameReplacesEverything) {
    nextLayout = 3;
    puzzle.Deal();
    puzzle.Click(14);  // a slide: the board now differs from the layout
    puzzle.Deal();
    EXPECT_EQ(CellsOf(puzzle.board()), LayoutCells(3));
}

TEST(LayoutDraw, ClockSeededDrawIsUniformOverFiveLayouts) {
    constexpr int kDraws = 10'000;
    std::map<int, int> counts;
    for (int i = 0; i < kDraws; ++i) ++counts[DrawLayoutFromClock()];
    ASSERT_EQ(counts.size(), 5u);
    for (const auto& [layout, count] : counts) {
        EXPECT_GE(layout, 0);
        EXPECT_LE(layout, 4);
        // Expected 2000 each; a standard deviation is 40.
        EXPECT_NEAR(count, kDraws / 5, 300) << "layout " << layout;
    }
}

TEST(LayoutDraw, NewGameDealsOnlyTableLayouts) {
    Puzzle puzzle;
    std::map<Cells, int> seen;
    for (int i = 0; i < 500; ++i) {
        puzzle.Deal();
        ++seen[CellsOf(puzzle.board())];
    }
    EXPECT_EQ(seen.size(), 5u);
    for (int n = 0; n < kLayoutCount; ++n) EXPECT_TRUE(seen.contains(LayoutCells(n))) << n;
}

// Random play never breaks the board: it stays a permutation of 0..15.
class RandomClicks : public PuzzleTest, public ::testing::WithParamInterface<int> {};

TEST_P(RandomClicks, KeepTheBoardAPermutation) {
    nextLayout = GetParam();
    puzzle.Deal();
    std::uint32_t state = 12345u + static_cast<std::uint32_t>(GetParam());
    for (int n = 0; n < 100'000; ++n) {
        state = state * 1664525u + 1013904223u;
        puzzle.Click(static_cast<int>((state >> 16) % 16));
        Cells cells = CellsOf(puzzle.board());
        std::sort(cells.begin(), cells.end());
        for (int v = 0; v < kCellCount; ++v)
            ASSERT_EQ(cells[static_cast<std::size_t>(v)], v) << "after click " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, RandomClicks, ::testing::Range(0, 5),
                         [](const auto& info) { return "layout_" + std::to_string(info.param); });

}  // namespace
}  // namespace tarpo::testing
