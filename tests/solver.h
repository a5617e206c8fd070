// A 15-puzzle solver for tests: finds a sequence of cell clicks that brings a
// board to the home arrangement (weighted A* on Manhattan distance plus linear
// conflicts; quick, not always shortest).
#pragma once

#include <optional>
#include <vector>

#include "board.h"

namespace tarpo::testing {

// The cells to click, in order; nullopt if no solution was found within the
// search limit (which, for a solvable board, means the solver is broken).
std::optional<std::vector<int>> SolveByClicks(const Board& board);

}  // namespace tarpo::testing
