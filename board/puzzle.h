// The state of play and the rules that change it: a click on a cell slides a
// tile or completes the picture; a deal puts a start layout on the board.
// The puzzle draws nothing: a click says what it did, and whoever shows the
// puzzle reads its state.
#pragma once

#include <optional>

#include "board.h"
#include "start_layouts.h"

namespace tarpo {

// What one click did: nothing, the slide of a tile from one cell into the
// empty one, or the completion step.
struct Move {
    enum class Kind { None, Slide, Completion };

    Kind kind = Kind::None;
    int from = -1;  // for a slide: the cell the tile left
    int to = -1;    // for a slide: the cell it slid into

    bool operator==(const Move&) const = default;
};

class Puzzle {
  public:
    // The home arrangement, the picture not completed.
    Puzzle();

    // A position to go on from: `board` must hold each of 0..15 once, in an
    // arrangement that play can reach from a deal, and `completed` needs a
    // solved board. Anything else gives nothing.
    static std::optional<Puzzle> From(const Board& board, bool completed);

    // A click on cell `cell` (0..15): on a solved board, the completion step;
    // otherwise the clicked tile slides into an empty neighbour, if it has one.
    Move Click(int cell);

    // Start layout `layout` (0..kLayoutCount - 1) in cells 0..14, cell 15
    // empty, the picture not completed.
    void Deal(int layout);

    const Board& board() const { return board_; }

    // The completion step has run since the last deal: the last piece shows
    // in the empty cell.
    bool completed() const { return completed_; }

  private:
    Board board_;
    bool completed_ = false;
};

}  // namespace tarpo
