// The two picture sets: the stores that hold their pieces, the step that loads
// the chosen set into the board's working tile store, and the start-up join
// that completes the first set.
#pragma once

#include <QPixmap>
#include <QString>
#include <array>
#include <stdexcept>

#include "board_view.h"
#include "form.h"

class ImageBox;
class QListWidget;

// One picture set as the program carries it: piece p of its picture in slot
// p, and its preview picture (null for a set without one).
struct CarriedSet {
    TileStore pieces;
    QPixmap preview;
};

// The hidden stores, one set per entry of the list, in list order. The first
// set's completion piece is held apart until the start-up join.
struct PictureStores {
    std::array<CarriedSet, tarpo::form::kPictureSets.size()> sets;
    QPixmap firstSetCompletion;
};

class PictureError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Where the program carries piece `piece` and the preview of set `set`.
QString PiecePath(int set, int piece);
QString PreviewPath(int set);

// Decodes one BMP picture; throws PictureError naming it if it cannot be
// decoded or is not `expected` in size.
QPixmap LoadPicture(const QString& path, QSize expected);

// Decodes every picture carried in the program, once. Throws PictureError
// naming the first picture that is missing or not of its expected size.
PictureStores LoadPictureStores();

// Start-up join: the first set's store takes its completion piece as slot 15.
void StartUpJoin(PictureStores& stores);

// The picture-set step: loads the set whose entry is selected in `list` into
// the board's tile store and shows its preview (or nothing) in `preview`.
// Nothing selected: nothing changes.
void LoadChosenSet(const QListWidget& list, const PictureStores& stores, BoardView& board,
                   ImageBox& preview);
