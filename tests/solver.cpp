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

Cells Unpack(Key key) {
    Cells cells{};
    for (int i = kCellCount - 1; i >= 0; --i) {
        cells[static_cast<std::size_t>(i)] = static_cast<int>(key & 0xF);
        key >>= 4;
    }
    return cells;
}

int HomeCell(int tile) { return tile - 1; }

int Heuristic(const Cells& cells) {
    int h = 0;
    for (int i = 0; i < kCellCount; ++i) {
        const int t = cells[static_cast<std::size_t>(i)];
        if (t == 0) continue;
        h += std::abs(i / 4 - HomeCell(t) / 4) + std::abs(i % 4 - HomeCell(t) % 4);
    }
    // Linear conflicts: two tiles in their home row (column) in reverse order.
    for (int line = 0; line < 4; ++line) {
        for (int a = 0; a < 4; ++a) {
            for (int b = a + 1; b < 4; ++b) {
                const int ra = cells[static_cast<std::size_t>(line * 4 + a)];
                const int rb = cells[static_cast<std::size_t>(line * 4 + b)];
                if (ra && rb && HomeCell(ra) / 4 == line && HomeCell(rb) / 4 == line &&
                    HomeCell(ra) > HomeCell(rb))
                    h += 2;
                const int ca = cells[static_cast<std::size_t>(a * 4 + line)];
                const int cb = cells[static_cast<std::size_t>(b * 4 + line)];
                if (ca && cb && HomeCell(ca) % 4 == line && HomeCell(cb) % 4 == line &&
                    HomeCell(ca) > HomeCell(cb))
                    h += 2;
            }
        }
    }
    return h;
}

}  // namespace

std::optional<std::vector<int>> SolveByClicks(const Board& board) {
    constexpr int kWeight = 3;
    constexpr std::size_t kNodeLimit = 5'000'000;

    Cells start{};
    for (int i = 0; i < kCellCount; ++i)
        start[static_cast<std::size_t>(i)] = board(RowOf(i), ColOf(i));
    Cells home{};
    for (int i = 0; i < 15; ++i) home[static_cast<std::size_t>(i)] = i + 1;
    const Key goal = Pack(home);

    struct Seen {
        int cost;
        Key parent;
        int clicked;  // the cell clicked to get here from the parent
    };
    std::unordered_map<Key, Seen> seen;
    using Entry = std::pair<int, Key>;  // (priority, state)
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;

    const Key startKey = Pack(start);
    seen[startKey] = {0, startKey, -1};
    open.push({kWeight * Heuristic(start), startKey});

    while (!open.empty() && seen.size() < kNodeLimit) {
        const Key key = open.top().second;
        open.pop();
        if (key == goal) {
            std::vector<int> clicks;
            for (Key k = key; k != startKey; k = seen[k].parent) clicks.push_back(seen[k].clicked);
            std::reverse(clicks.begin(), clicks.end());
            return clicks;
        }
        const Cells cells = Unpack(key);
        const int cost = seen[key].cost;
        const int empty =
            static_cast<int>(std::find(cells.begin(), cells.end(), 0) - cells.begin());
        constexpr std::array<std::array<int, 2>, 4> kSteps = {{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};
        for (const auto& [dr, dc] : kSteps) {
            const int r = empty / 4 + dr, c = empty % 4 + dc;
            if (!IsOnBoard(r, c)) continue;
            Cells next = cells;
            std::swap(next[static_cast<std::size_t>(empty)],
                      next[static_cast<std::size_t>(r * 4 + c)]);
            const Key nextKey = Pack(next);
            auto it = seen.find(nextKey);
            if (it != seen.end() && it->second.cost <= cost + 1) continue;
            seen[nextKey] = {cost + 1, key, r * 4 + c};
            open.push({cost + 1 + kWeight * Heuristic(next), nextKey});
        }
    }
    return std::nullopt;
}

}  // namespace tarpo::testing
