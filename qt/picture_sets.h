// The pictures of the two picture sets, decoded once from the program.
#pragma once

#include <QPixmap>
#include <QString>
#include <stdexcept>

#include "picture_stores.h"

using PictureStores = tarpo::PictureStores<QPixmap>;

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
