// One game session, the middle between the board logic and a front end: the
// start-up sequence, the new game with the picture-set step, the picture
// stores as (set, piece) indices, and what each cell and the preview show.
// A front end creates its controls, implements SessionView to draw what it is
// told and forwards the player's input; it never calls the board logic itself.
#pragma once

#include <array>
#include <optional>

#include "board.h"
#include "cell_display.h"
#include "form.h"
#include "puzzle.h"

namespace tarpo {

inline constexpr Int16 kSetCount = static_cast<Int16>(form::kPictureSets.size());
inline constexpr Int16 kCompletionPiece = form::kPieceCount - 1;

// A picture the program carries: piece `piece` (0..15) of picture set `set`.
struct Piece {
    Int16 set;
    Int16 piece;

    bool operator==(const Piece&) const = default;
};

// What a picture store element or a cell holds: a piece, or the empty picture.
using Picture = std::optional<Piece>;

// What one cell of the board shows.
struct CellLook {
    Picture picture;
    bool framed = true;

    bool operator==(const CellLook&) const = default;
};

// What the session needs of a front end: its list of picture sets, its
// captions, and the drawing of the cells and the preview.
class SessionView {
  public:
    virtual ~SessionView() = default;

    virtual void AddListEntry(const char16_t* name) = 0;
    virtual void SelectListEntry(int entry) = 0;
    virtual int ListEntryCount() const = 0;
    virtual bool IsListEntrySelected(int entry) const = 0;

    virtual void SetTitle(const char16_t* title) = 0;
    virtual void SetButtonCaption(const char16_t* caption) = 0;

    // Called only when what the cell shows has changed.
    virtual void DrawCell(Int16 cell, const CellLook& look) = 0;
    // The preview picture of set `set`, or nothing. Called only on a change.
    virtual void DrawPreview(std::optional<Int16> set) = 0;
};

class Session : private CellDisplay {
  public:
    // `view` must outlive the session; its cells start framed and empty, its
    // preview empty. `drawLayout` picks the layout of each new game.
    explicit Session(SessionView& view, LayoutDraw drawLayout = DrawLayoutFromClock);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // When the window is created: the list of picture sets, the first selected.
    void Initialize();
    // Before the window is shown: captions, the first set completed, the board
    // in its home arrangement. The cells stay blank until the first new game.
    void Load();

    // The new-game button: the set selected in the list at this moment is
    // loaded, then a start layout is dealt.
    void NewGame();
    // A click on cell `cell` (0..15).
    void Click(Int16 cell);

    const CellLook& Cell(Int16 cell) const { return cells_[static_cast<std::size_t>(cell)]; }
    std::optional<Int16> Preview() const { return preview_; }
    const Board& board() const { return puzzle_.board(); }
    // For setting up positions that play would take long to reach.
    Board& board() { return puzzle_.board(); }

  private:
    using Store = std::array<Picture, form::kPieceCount>;

    void LoadChosenSet();
    void Show(Int16 cell, CellLook look);

    void ShowTile(Int16 cell, Int16 tile) override;
    void ShowCompletionPiece() override;
    void ClearCell(Int16 cell) override;
    void SetFrame(Int16 cell, bool on) override;

    SessionView& view_;
    Puzzle puzzle_;
    std::array<Store, kSetCount> sets_{};  // piece p of each set in slot p
    Store tiles_{};                        // the working tile store: the set loaded last
    std::optional<Int16> preview_;
    std::array<CellLook, kCellCount> cells_{};
};

}  // namespace tarpo
