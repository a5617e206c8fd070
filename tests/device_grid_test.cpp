// The board on the device grid at every density from 100 % to 500 %.
#include "device_grid.h"

#include <gtest/gtest.h>

namespace tarpo::form {
namespace {

int Right(const Rect& r) { return r.left + r.width; }
int Bottom(const Rect& r) { return r.top + r.height; }

// The unframed cells, as the finished picture shows them, tile the board's
// place: each begins where its left and upper neighbours end, each is its
// scaled size to within a device pixel, and together they span the picture's
// scaled size to within a device pixel.
TEST(BoardOnDeviceGrid, PiecesMeetWithoutGapOrOverlapAtEveryDensity) {
    for (int dpi = 96; dpi <= 480; ++dpi) {
        const double ratio = dpi / 96.0;
        for (int cell = 0; cell < kPieceCount; ++cell) {
            const Rect piece = DeviceRect(CellRect(cell, false), ratio);
            if (cell % 4 > 0) {
                ASSERT_EQ(Right(DeviceRect(CellRect(cell - 1, false), ratio)), piece.left)
                    << "dpi " << dpi << ", cell " << cell;
            }
            if (cell / 4 > 0) {
                ASSERT_EQ(Bottom(DeviceRect(CellRect(cell - 4, false), ratio)), piece.top)
                    << "dpi " << dpi << ", cell " << cell;
            }
            ASSERT_NEAR(piece.width, kPieceSide * ratio, 1) << "dpi " << dpi;
            ASSERT_NEAR(piece.height, kPieceSide * ratio, 1) << "dpi " << dpi;
        }
        const int span = Right(DeviceRect(CellRect(kPieceCount - 1, false), ratio)) -
                         DeviceEdge(kBoardLeft, ratio);
        ASSERT_NEAR(span, 4 * kPieceSide * ratio, 1) << "dpi " << dpi;
    }
}

// An edge exactly halfway between two device pixels rounds up, as Windows
// rounds dpi scaling, although dpi / 96 is not exact in binary.
TEST(BoardOnDeviceGrid, HalfwayEdgeRoundsUp) {
    EXPECT_EQ(DeviceEdge(240, 101 / 96.0), 253);  // 252.5
    EXPECT_EQ(DeviceEdge(120, 98 / 96.0), 123);   // 122.5
}

}  // namespace
}  // namespace tarpo::form
