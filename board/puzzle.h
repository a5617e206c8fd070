// The state of play and the rules that change it: a click on a cell slides a
// tile or shows the finished picture; a new game deals a start layout.
#pragma once

#include <functional>

#include "board.h"
#include "cell_display.h"
#include "start_layouts.h"

namespace tarpo {

class Puzzle {
  public:
    // `display` must outlive the puzzle. `drawLayout` picks the layout of each
    // new game; by default it is drawn afresh from a clock-seeded generator.
    explicit Puzzle(CellDisplay& display, LayoutDraw drawLayout = DrawLayoutFromClock);

    // Home arrangement, drawing nothing. Run once at start-up.
    void ResetBoard() { Board.ResetToHome(); }

    // A click on cell `Index` (0..15): completion step on a solved board,
    // otherwise a slide of the clicked tile into an empty neighbour, if any.
    void Image3_Click(Int16 Index);

    // Whether the cell at (CurRow + dRow, CurCol + dCol) lies on the board.
    void CanMove(const Int16& dRow, const Int16& dCol, Int16& ok) const;
    // Slides the clicked tile by (dRow, dCol) if that cell is empty; sets
    // `moved` to true only when it does.
    void TryMove(const Int16& dRow, const Int16& dCol, Int16& moved);

    // New game: runs `pictureSetStep` (which loads the tile pictures), frames
    // all cells, deals a start layout into cells 0..14 and empties cell 15.
    void NewGame(const std::function<void()>& pictureSetStep);

    const tarpo::Board& board() const { return Board; }
    tarpo::Board& board() { return Board; }
    Int16 curRow() const { return CurRow; }
    Int16 curCol() const { return CurCol; }

  private:
    void ShowCompletion();
    void RefreshTileCells();

    CellDisplay& display_;
    LayoutDraw drawLayout_;
    tarpo::Board Board;
    Int16 CurRow = 0;  // cell clicked last
    Int16 CurCol = 0;
};

}  // namespace tarpo
