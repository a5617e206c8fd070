// The 4x4 board: which tile lies in which cell, the cell numbering, the home
// arrangement and the solved test. Plain data, no drawing.
#pragma once

#include <array>
#include <cstdint>

namespace tarpo {

// Integers of the game are 16-bit signed.
using Int16 = std::int16_t;

inline constexpr Int16 kSide = 4;  // rows and columns
inline constexpr Int16 kCellCount = kSide * kSide;
inline constexpr Int16 kEmptyHomeCell = 15;  // the empty cell of the home arrangement
inline constexpr Int16 kEmpty = 0;           // board value of the empty cell

// Cell index 0..15 <-> row/column: cells 0..3 form the top row, left to right.
constexpr Int16 RowOf(Int16 index) { return static_cast<Int16>(index / kSide); }
constexpr Int16 ColOf(Int16 index) { return static_cast<Int16>(index % kSide); }
constexpr Int16 IndexOf(Int16 row, Int16 col) { return static_cast<Int16>(row * kSide + col); }
constexpr bool IsCellIndex(int index) { return index >= 0 && index < kCellCount; }
constexpr bool IsOnBoard(int row, int col) {
    return row >= 0 && row < kSide && col >= 0 && col < kSide;
}

// Tile numbers 1..15 by row and column, 0 for the empty cell.
class Board {
  public:
    // Off-board positions are programming errors: asserted in debug builds;
    // in release builds reads give 0 and writes are ignored.
    Int16 operator()(Int16 row, Int16 col) const;
    void Set(Int16 row, Int16 col, Int16 value);

    // Home arrangement: tile k in cell k - 1, the empty cell at (3, 3).
    void ResetToHome();
    bool IsSolved() const;

  private:
    std::array<Int16, kCellCount> cells_{};  // all 0 until reset or dealt
};

}  // namespace tarpo
