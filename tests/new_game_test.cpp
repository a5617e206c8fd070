// The start layouts, their pick, the deal of a new game, and the positions
// a game may go on from.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "board_fixture.h"
#include "solver.h"

namespace tarpo::testing {
namespace {

class Layout : public ::testing::TestWithParam<int> {};

// The deal, from the finished picture: the layout on the board, the picture
// no longer completed, so every cell is framed again. Solvable for real, so
// fifteen tiles once each in an even arrangement: a solver's clicks, replayed
// through the click rule, reach the home arrangement, each moving a tile;
// the next click completes, and later clicks change nothing.
TEST_P(Layout, DealtFromTheFinishedPictureAndPlayedHome) {
    const int layout = GetParam();
    Puzzle puzzle;
    puzzle.Click(9);  // completion of the home arrangement
    ASSERT_TRUE(puzzle.completed());
    puzzle.Deal(layout);
    EXPECT_EQ(CellsOf(puzzle.board()), LayoutCells(layout));
    EXPECT_FALSE(puzzle.completed());

    ASSERT_FALSE(puzzle.board().IsSolved());
    const auto clicks = SolveByClicks(puzzle.board());
    ASSERT_TRUE(clicks.has_value());
    for (int cell : *clicks) {
        ASSERT_FALSE(puzzle.board().IsSolved());
        ASSERT_EQ(puzzle.Click(cell).kind, Move::Kind::Slide) << "click on " << cell;
    }
    EXPECT_TRUE(puzzle.board().IsSolved());
    EXPECT_FALSE(puzzle.completed());
    EXPECT_EQ(puzzle.Click(0).kind, Move::Kind::Completion);
    EXPECT_TRUE(puzzle.completed());
    for (int cell : {0, 14, 15}) EXPECT_EQ(puzzle.Click(cell), Move{}) << cell;
    EXPECT_EQ(CellsOf(puzzle.board()), HomeCells());
    EXPECT_TRUE(puzzle.completed());
}

INSTANTIATE_TEST_SUITE_P(Table, Layout, ::testing::Range(0, kLayoutCount),
                         [](const auto& info) { return "layout_" + std::to_string(info.param); });

// Every seed picks each layout about as often; a new game may deal the
// layout of the one before.
TEST(LayoutPick, IsUniformOverFiveLayoutsForEverySeed) {
    constexpr int kPicks = 10'000;
    for (const std::uint32_t seed : {1u, 7u, 20260607u}) {
        LayoutPicker picker(seed);
        std::map<int, int> counts;
        int repeats = 0;
        for (int i = 0, last = -1; i < kPicks; ++i) {
            const int layout = picker.Pick();
            ++counts[layout];
            repeats += layout == std::exchange(last, layout) ? 1 : 0;
        }
        ASSERT_EQ(counts.size(), 5u) << "seed " << seed;
        for (const auto& [layout, count] : counts) {
            EXPECT_GE(layout, 0);
            EXPECT_LE(layout, 4);
            // Expected 2000 each; a standard deviation is 40.
            EXPECT_NEAR(count, kPicks / 5, 300) << "seed " << seed << ", layout " << layout;
        }
        EXPECT_NEAR(repeats, kPicks / 5, 300) << "seed " << seed;
    }
}

// A position to go on from is taken whole or not at all.
struct PositionCase {
    const char* name;
    Cells cells;
    bool completed;
    bool taken;
};

class GoOnFrom : public ::testing::TestWithParam<PositionCase> {};

TEST_P(GoOnFrom, APositionPlayCanReach) {
    const PositionCase& c = GetParam();
    const std::optional<Puzzle> puzzle = Puzzle::From(BoardOf(c.cells), c.completed);
    ASSERT_EQ(puzzle.has_value(), c.taken);
    if (!puzzle) return;
    EXPECT_EQ(CellsOf(puzzle->board()), c.cells);
    EXPECT_EQ(puzzle->completed(), c.completed);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, GoOnFrom,
    ::testing::Values(PositionCase{"home", HomeCells(), false, true},
                      PositionCase{"completed", HomeCells(), true, true},
                      PositionCase{"dealt", LayoutCells(2), false, true},
                      PositionCase{"one_slide_in", Swapped(LayoutCells(0), 14, 15), false, true},
                      PositionCase{"completed_unsolved", LayoutCells(2), true, false},
                      PositionCase{"empty_moved_without_a_slide", Swapped(HomeCells(), 0, 15),
                                   false, false},
                      PositionCase{"tile_twice", Changed(HomeCells(), 0, 2), false, false},
                      PositionCase{"no_empty_cell", Changed(HomeCells(), 15, 16), false, false},
                      PositionCase{"negative_tile", Changed(HomeCells(), 3, -4), false, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarpo::testing
