// The state of play and the rules that change it: a click on a cell slides a
// tile or completes the picture; a deal puts a start layout on the board.
// The puzzle draws nothing: whoever shows it reads its state afterwards.
#pragma once

#include "board.h"
#include "start_layouts.h"

namespace tarpo {

class Puzzle {
  public:
    // The home arrangement, the picture not completed. `drawLayout` picks the
    // layout of each deal; by default it is drawn afresh from a clock-seeded
    // generator.
    explicit Puzzle(LayoutDraw drawLayout = DrawLayoutFromClock);

    // A click on cell `cell` (0..15): on a solved board, the completion step;
    // otherwise the clicked tile slides into an empty neighbour, if it has one.
    void Click(int cell);

    // A start layout in cells 0..14, cell 15 empty, the picture not completed.
    void Deal();

    const Board& board() const { return board_; }
    // For setting up positions that play would take long to reach.
    Board& board() { return board_; }

    // The completion step has run since the last deal: the last piece shows
    // in cell 15, and no cell has its frame. Every other state frames all
    // sixteen cells.
    bool completed() const { return completed_; }
    bool framed() const { return !completed_; }

  private:
    LayoutDraw drawLayout_;
    Board board_;
    bool completed_ = false;
};

}  // namespace tarpo
