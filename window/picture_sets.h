// The pictures of the two picture sets, decoded once from the program.
#pragma once

#include <QPixmap>
#include <QString>
#include <array>
#include <stdexcept>

#include "form.h"
#include "session.h"

// One picture set as the program carries it: piece p of its picture in slot
// p, and its preview picture (null for a set without one).
struct CarriedSet {
    std::array<QPixmap, tarpo::form::kPieceCount> pieces;
    QPixmap preview;
};

// Every set, in list order.
struct PictureStores {
    std::array<CarriedSet, tarpo::kSetCount> sets;

    const QPixmap& operator[](tarpo::Piece piece) const {
        return sets[static_cast<std::size_t>(piece.set)]
            .pieces[static_cast<std::size_t>(piece.piece)];
    }
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
