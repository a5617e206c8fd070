// The five fixed, solvable start layouts, and the pick of one of them.
#pragma once

#include <array>
#include <cstdint>
#include <random>

#include "board.h"

namespace tarpo {

inline constexpr int kLayoutCount = 5;
inline constexpr int kDealtCells = 15;  // cells 0..14 get tiles; cell 15 stays empty

// Layout n occupies entries 15n .. 15n + 14: entry i is the tile dealt into cell i.
// clang-format off
inline constexpr std::array<int, kLayoutCount * kDealtCells> StartLayouts = {
     8,  3,  6,  4,  5, 15,  7,  9, 13,  2, 12, 10, 14,  1, 11,
     2,  7,  4,  8,  1,  3,  9, 11, 13,  6, 12, 15, 14, 10,  5,
    12,  7,  4,  8,  2, 10, 11,  1,  3,  6, 15, 14, 13,  5,  9,
     3,  6, 12,  8,  7, 15,  2, 11, 13, 14,  4,  1,  5,  9, 10,
     7,  3,  6, 12, 13,  4,  8, 10, 14, 11, 15,  2,  5,  1,  9,
};
// clang-format on

constexpr int LayoutTile(int layout, int cell) {
    return StartLayouts[static_cast<std::size_t>(layout * kDealtCells + cell)];
}

// Picks the layout of each deal, uniformly, from one generator seeded once.
class LayoutPicker {
  public:
    explicit LayoutPicker(std::uint32_t seed) : generator_(seed) {}

    // A seed that differs from run to run.
    static std::uint32_t FreshSeed();

    int Pick() { return layouts_(generator_); }

  private:
    std::mt19937 generator_;
    std::uniform_int_distribution<int> layouts_{0, kLayoutCount - 1};
};

}  // namespace tarpo
