// The 4x4 board: which tile lies in which cell, the cell numbering, the home
// arrangement and the solved test. Plain data, no drawing.
#pragma once

#include <array>

namespace tarpo {

inline constexpr int kSide = 4;  // rows and columns
inline constexpr int kCellCount = kSide * kSide;
inline constexpr int kEmptyHomeCell = 15;  // the empty cell of the home arrangement
inline constexpr int kEmpty = 0;           // board value of the empty cell

// Cell index 0..15 <-> row/column: cells 0..3 form the top row, left to right.
constexpr int RowOf(int index) { return index / kSide; }
constexpr int ColOf(int index) { return index % kSide; }
constexpr int IndexOf(int row, int col) { return row * kSide + col; }
constexpr bool IsCellIndex(int index) { return index >= 0 && index < kCellCount; }
constexpr bool IsOnBoard(int row, int col) {
    return row >= 0 && row < kSide && col >= 0 && col < kSide;
}

// Tile numbers 1..15 by row and column, 0 for the empty cell.
class Board {
  public:
    // Off-board positions are programming errors: asserted in debug builds;
    // in release builds reads give 0 and writes are ignored.
    int operator()(int row, int col) const;
    void Set(int row, int col, int value);

    // The tile in cell `cell` (0..15), 0 for the empty cell.
    int At(int cell) const { return (*this)(RowOf(cell), ColOf(cell)); }

    // Home arrangement: tile k in cell k - 1, the empty cell at (3, 3).
    void ResetToHome();
    bool IsSolved() const;

    bool operator==(const Board&) const = default;

  private:
    std::array<int, kCellCount> cells_{};  // all 0 until reset or dealt
};

}  // namespace tarpo
