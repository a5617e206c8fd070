"""A 15-puzzle solver for the end-to-end test: weighted A* on Manhattan
distance; returns the cells to click, quickly though not always the fewest."""

import heapq

HOME = tuple(list(range(1, 16)) + [0])


def _distance(cells):
    total = 0
    for i, tile in enumerate(cells):
        if tile:
            home = tile - 1
            total += abs(i // 4 - home // 4) + abs(i % 4 - home % 4)
    return total


def solve(cells, weight=3, limit=2_000_000):
    """cells: 16 tile numbers, 0 for the empty cell. Returns the cells to click."""
    start = tuple(cells)
    came_from = {start: (None, None, 0)}
    queue = [(weight * _distance(start), start)]
    while queue and len(came_from) < limit:
        _, state = heapq.heappop(queue)
        if state == HOME:
            clicks = []
            while came_from[state][0] is not None:
                parent, clicked, _ = came_from[state]
                clicks.append(clicked)
                state = parent
            return clicks[::-1]
        cost = came_from[state][2]
        empty = state.index(0)
        row, col = divmod(empty, 4)
        for dr, dc in ((1, 0), (0, 1), (-1, 0), (0, -1)):
            r, c = row + dr, col + dc
            if 0 <= r < 4 and 0 <= c < 4:
                tile_cell = r * 4 + c
                nxt = list(state)
                nxt[empty], nxt[tile_cell] = nxt[tile_cell], 0
                nxt = tuple(nxt)
                seen = came_from.get(nxt)
                if seen is None or seen[2] > cost + 1:
                    came_from[nxt] = (state, tile_cell, cost + 1)
                    heapq.heappush(queue, (cost + 1 + weight * _distance(nxt), nxt))
    raise RuntimeError("no solution found")
