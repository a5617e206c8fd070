#include "board_view.h"

#include "form_qt.h"
#include "image_box.h"

namespace form = tarpo::form;

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("board"));
    const QPoint origin(form::kBoardLeft, form::kBoardTop);
    // Later cells lie above earlier ones, so in the 4-px strip where two framed
    // cells overlap, the click goes to the cell drawn on top: the one with the
    // higher index (the right or lower neighbour).
    for (tarpo::Int16 i = 0; i < tarpo::kCellCount; ++i) {
        auto* box = new ImageBox(this);
        box->setObjectName(QStringLiteral("Image3_%1").arg(i));
        box->setGeometry(formqt::Rect(form::CellRect(i, /*framed=*/true)).translated(-origin));
        box->setFramed(true);
        connect(box, &ImageBox::clicked, this, [this, i] { emit cellClicked(i); });
        cells_[static_cast<std::size_t>(i)] = box;
    }
}
