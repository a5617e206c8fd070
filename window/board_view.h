// The board on screen: the sixteen cells. A left click on a cell is reported
// with the cell's index.
#pragma once

#include <QWidget>
#include <array>

#include "board.h"

class ImageBox;

class BoardView : public QWidget {
    Q_OBJECT

  public:
    explicit BoardView(QWidget* parent);

    ImageBox* cell(int index) const { return cells_[static_cast<std::size_t>(index)]; }

  signals:
    void cellClicked(tarpo::Int16 cell);

  private:
    std::array<ImageBox*, tarpo::kCellCount> cells_{};
};
