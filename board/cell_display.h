// What the board logic needs of the screen: the only way a click or a new game
// changes what the sixteen cells show. The window implements it; tests record it.
#pragma once

#include "board.h"

namespace tarpo {

class CellDisplay {
  public:
    virtual ~CellDisplay() = default;

    // Cell `cell` shows the piece of tile `tile` (1..15), store slot tile - 1.
    virtual void ShowTile(Int16 cell, Int16 tile) = 0;
    // Cell 15 shows store slot 15, the piece that completes the picture.
    virtual void ShowCompletionPiece() = 0;
    // Cell `cell` shows nothing.
    virtual void ClearCell(Int16 cell) = 0;
    // The 2-px sunken frame of cell `cell`, on or off.
    virtual void SetFrame(Int16 cell, bool on) = 0;
};

}  // namespace tarpo
