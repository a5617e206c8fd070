// The state of play and the rules that change it: a click on a cell slides a
// tile or shows the finished picture; a deal puts a start layout on the board.
// Everything the player sees changes through the CellDisplay.
#pragma once

#include "board.h"
#include "cell_display.h"
#include "start_layouts.h"

namespace tarpo {

class Puzzle {
  public:
    // `display` must outlive the puzzle. `drawLayout` picks the layout of each
    // deal; by default it is drawn afresh from a clock-seeded generator.
    explicit Puzzle(CellDisplay& display, LayoutDraw drawLayout = DrawLayoutFromClock);

    // Home arrangement, drawing nothing. Run once at start-up.
    void Reset() { board_.ResetToHome(); }

    // A click on cell `cell` (0..15): on a solved board, the completion step;
    // otherwise the clicked tile slides into an empty neighbour, if it has one.
    void Click(Int16 cell);

    // Frames all cells, deals a start layout into cells 0..14 and empties
    // cell 15. The tile pictures must be in place before.
    void Deal();

    const Board& board() const { return board_; }
    // For setting up positions that play would take long to reach.
    Board& board() { return board_; }

  private:
    struct Offset {
        Int16 dRow;
        Int16 dCol;
    };

    bool NeighbourOnBoard(Offset offset) const;
    bool TrySlide(Offset offset);
    void ShowCompletion();
    void RefreshTileCells();

    CellDisplay& display_;
    LayoutDraw drawLayout_;
    Board board_;
    Int16 clickedRow_ = 0;  // the cell clicked last
    Int16 clickedCol_ = 0;
};

}  // namespace tarpo
