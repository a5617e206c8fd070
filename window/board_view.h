// The board on screen: the sixteen cells and the working tile store they take
// their pictures from. The board logic draws on it through CellDisplay; a
// left click on a cell is reported with the cell's index.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>

#include "cell_display.h"
#include "form.h"

class ImageBox;

// Pictures by piece: slot p holds piece p of a set.
using TileStore = std::array<QPixmap, tarpo::form::kPieceCount>;

class BoardView : public QWidget, public tarpo::CellDisplay {
    Q_OBJECT

  public:
    explicit BoardView(QWidget* parent);

    ImageBox* cell(int index) const { return cells_[static_cast<std::size_t>(index)]; }

    // The working tile store: the pieces of the set loaded last. Tile k shows
    // slot k - 1; slot 15 is the completion piece.
    const TileStore& tiles() const { return tiles_; }
    void setTiles(const TileStore& tiles) { tiles_ = tiles; }

    void ShowTile(tarpo::Int16 cell, tarpo::Int16 tile) override;
    void ShowCompletionPiece() override;
    void ClearCell(tarpo::Int16 cell) override;
    void SetFrame(tarpo::Int16 cell, bool on) override;

  signals:
    void cellClicked(tarpo::Int16 cell);

  private:
    std::array<ImageBox*, tarpo::kCellCount> cells_{};
    TileStore tiles_;
};
