// The solved test, and accesses off the board.
#include "board.h"

#include <gtest/gtest.h>

#include "board_fixture.h"

namespace tarpo {
namespace {

// Each case changes the home arrangement in one way; none of them is solved.
struct Disturbance {
    const char* name;
    testing::Cells cells;
};

class NotSolved : public ::testing::TestWithParam<Disturbance> {};

TEST_P(NotSolved, SolvedTestRejectsIt) {
    EXPECT_FALSE(testing::BoardOf(GetParam().cells).IsSolved());
}

using testing::Changed, testing::HomeCells, testing::Swapped;
INSTANTIATE_TEST_SUITE_P(
    Boards, NotSolved,
    ::testing::Values(Disturbance{"Tile15SwappedWithEmpty", Swapped(HomeCells(), 14, 15)},
                      Disturbance{"FirstTwoTilesSwapped", Swapped(HomeCells(), 0, 1)},
                      Disturbance{"Tile4SwappedWithTile5", Swapped(HomeCells(), 3, 4)},
                      Disturbance{"EmptyCellFilled", Changed(HomeCells(), 15, 15)},
                      Disturbance{"LastTileWrong", Changed(HomeCells(), 14, 14)}),
    [](const auto& info) { return std::string(info.param.name); });

#ifdef NDEBUG
// Off-board accesses are programming errors; a release build ignores them.
TEST(BoardModel, OffBoardAccessIsIgnoredInRelease) {
    Board board;
    board.ResetToHome();
    board.Set(4, 0, 9);
    board.Set(-1, 2, 9);
    board.Set(0, 4, 9);
    EXPECT_TRUE(board.IsSolved());
    EXPECT_EQ(board(4, 0), 0);
    EXPECT_EQ(board(0, -1), 0);
}
#endif

}  // namespace
}  // namespace tarpo
