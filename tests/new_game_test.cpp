// The start layouts, the draw and the deal of a new game.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "board_fixture.h"
#include "solver.h"

namespace tarpo::testing {
namespace {

struct LayoutFacts {
    Int16 layout;
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
    for (Int16 i = 0; i < kCellCount; ++i)
        board.Set(RowOf(i), ColOf(i), cells[static_cast<std::size_t>(i)]);

    std::sort(cells.begin(), cells.begin() + 15);
    for (Int16 k = 1; k <= 15; ++k) EXPECT_EQ(cells[static_cast<std::size_t>(k - 1)], k);
    EXPECT_EQ(CountInversions(board), inversions);
    EXPECT_EQ(inversions % 2, 0);
    EXPECT_FALSE(board.IsSolved());
}

// The deal, from the finished picture: every cell framed again, the layout's
// tiles in cells 0..14, cell 15 empty.
TEST_P(Layout, DealShowsItFramed) {
    const Int16 layout = GetParam().layout;
    nextLayout = layout;
    puzzle.Reset();
    puzzle.Click(9);  // completion: frames off, the last piece shown
    puzzle.Deal();

    EXPECT_EQ(CellsOf(puzzle.board()), LayoutCells(layout));
    EXPECT_EQ(display.shown, LayoutCells(layout));
    EXPECT_TRUE(
        std::all_of(display.framed.begin(), display.framed.end(), [](bool f) { return f; }));
}

// Solvable for real: a solver's clicks, replayed through the click rule,
// reach the home arrangement; the next click shows the whole picture.
TEST_P(Layout, SolverClicksReachHomeAndTheNextClickCompletes) {
    nextLayout = GetParam().layout;
    puzzle.Deal();
    const auto clicks = SolveByClicks(puzzle.board());
    ASSERT_TRUE(clicks.has_value());

    for (Int16 cell : *clicks) {
        const Cells before = CellsOf(puzzle.board());
        ASSERT_FALSE(puzzle.board().IsSolved());
        puzzle.Click(cell);
        ASSERT_NE(CellsOf(puzzle.board()), before) << "click on " << cell << " moved nothing";
        ASSERT_EQ(display.shown, CellsOf(puzzle.board()));
    }
    EXPECT_TRUE(puzzle.board().IsSolved());
    EXPECT_EQ(display.shown[15], 0);
    EXPECT_TRUE(
        std::all_of(display.framed.begin(), display.framed.end(), [](bool f) { return f; }));

    display.ops.clear();
    puzzle.Click(0);
    EXPECT_EQ(display.ops, CompletionOps());
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
    EXPECT_EQ(display.shown[0], 8);
    EXPECT_EQ(display.shown[14], 11);
    EXPECT_EQ(display.shown[15], 0);
}

TEST_F(NewGame, MidGameReplacesEverything) {
    nextLayout = 3;
    puzzle.Deal();
    puzzle.Click(14);  // a slide: the board now differs from the layout
    nextLayout = 3;
    puzzle.Deal();
    EXPECT_EQ(CellsOf(puzzle.board()), LayoutCells(3));
    EXPECT_EQ(display.shown, LayoutCells(3));
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
    RecordingDisplay display;
    Puzzle puzzle(display);
    std::map<Cells, int> seen;
    for (int i = 0; i < 500; ++i) {
        puzzle.Deal();
        ++seen[CellsOf(puzzle.board())];
    }
    EXPECT_EQ(seen.size(), 5u);
    for (Int16 n = 0; n < kLayoutCount; ++n) EXPECT_TRUE(seen.contains(LayoutCells(n))) << n;
}

// Random play never breaks the board, and the screen always shows the board.
class RandomClicks : public PuzzleTest, public ::testing::WithParamInterface<Int16> {};

TEST_P(RandomClicks, KeepTheBoardAPermutationAndTheScreenInStep) {
    nextLayout = GetParam();
    puzzle.Deal();
    display.recording = false;
    std::uint32_t state = 12345u + static_cast<std::uint32_t>(GetParam());
    for (int n = 0; n < 100'000; ++n) {
        state = state * 1664525u + 1013904223u;
        puzzle.Click(static_cast<Int16>((state >> 16) % 16));

        Cells cells = CellsOf(puzzle.board());
        Cells shown = display.shown;
        if (shown[15] == kCompletionShown) shown[15] = 0;
        ASSERT_EQ(shown, cells) << "after click " << n;
        std::sort(cells.begin(), cells.end());
        for (Int16 v = 0; v < kCellCount; ++v) ASSERT_EQ(cells[static_cast<std::size_t>(v)], v);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, RandomClicks, ::testing::Range(Int16{0}, Int16{5}),
                         [](const auto& info) { return "layout_" + std::to_string(info.param); });

}  // namespace
}  // namespace tarpo::testing
