#include "solver.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <queue>
#include <unordered_map>

namespace tarpo::testing {

namespace {

using Cells = std::array<int, kCellCount>;
using Key = std::uint64_t;  // 4 bits per cell

Key Pack(const Cells& cells) {
    Key key = 0;
    for (int c : cells) key = (key << 4) | static_cast<Key>(c);
    return key;
}

int Heuristic(const Cells& cells) {
    const auto at = [&cells](int cell) { return cells[static_cast<std::size_t>(cell)]; };
    int h = 0;
    for (int i = 0; i < kCellCount; ++i)
        if (const int home = at(i) - 1; home >= 0)
            h += std::abs(RowOf(i) - RowOf(home)) + std::abs(ColOf(i) - ColOf(home));
    // Linear conflicts: two tiles in their home row (column) in reverse order.
    const auto conflict = [&at](int i, int j, int (*line)(int)) {
        return at(i) && at(j) && line(at(i) - 1) == line(i) && line(at(j) - 1) == line(i) &&
               at(i) > at(j);
    };
    for (int line = 0; line < 4; ++line)
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                h += 2 * (conflict(IndexOf(line, a), IndexOf(line, b), RowOf) +
                          conflict(IndexOf(a, line), IndexOf(b, line), ColOf));
    return h;
}

}  // namespace

std::optional<std::vector<int>> SolveByClicks(const Board& board) {
    constexpr int kWeight = 3;
    constexpr std::size_t kNodeLimit = 5'000'000;

    constexpr Key kGoal = 0x123456789ABCDEF0;  // tiles 1 to 15, then the empty cell
    Cells start{};
    for (int i = 0; i < kCellCount; ++i) start[static_cast<std::size_t>(i)] = board.At(i);

    struct Seen {
        int cost;
        Key parent;
        int clicked;  // the cell clicked to get here from the parent
    };
    std::unordered_map<Key, Seen> seen;
    using Entry = std::pair<int, Cells>;  // (priority, state)
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;

    const Key startKey = Pack(start);
    seen[startKey] = {0, startKey, -1};
    open.push({kWeight * Heuristic(start), start});

    while (!open.empty() && seen.size() < kNodeLimit) {
        const Cells cells = open.top().second;
        open.pop();
        const Key key = Pack(cells);
        if (key == kGoal) {
            std::vector<int> clicks;
            for (Key k = key; k != startKey; k = seen[k].parent) clicks.push_back(seen[k].clicked);
            std::reverse(clicks.begin(), clicks.end());
            return clicks;
        }
        const int cost = seen[key].cost;
        const int empty =
            static_cast<int>(std::find(cells.begin(), cells.end(), 0) - cells.begin());
        constexpr std::array<std::array<int, 2>, 4> kSteps = {{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};
        for (const auto& [dr, dc] : kSteps) {
            const int r = RowOf(empty) + dr, c = ColOf(empty) + dc;
            if (!IsOnBoard(r, c)) continue;
            Cells next = cells;
            std::swap(next[static_cast<std::size_t>(empty)],
                      next[static_cast<std::size_t>(IndexOf(r, c))]);
            const Key nextKey = Pack(next);
            auto it = seen.find(nextKey);
            if (it != seen.end() && it->second.cost <= cost + 1) continue;
            seen[nextKey] = {cost + 1, key, IndexOf(r, c)};
            open.push({cost + 1 + kWeight * Heuristic(next), next});
        }
    }
    return std::nullopt;
}

}  // namespace tarpo::testing
