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

// The resource paths of piece `piece` and of the preview of set `set`.
QString PiecePath(int set, int piece);
QString PreviewPath(int set);

// Decodes one BMP picture. Throws PictureError, naming the picture, if it
// cannot be decoded or is not `expected` in size.
QPixmap LoadPicture(const QString& path, QSize expected);

// Decodes every picture in the program once. Throws PictureError naming the
// first picture that is missing or has the wrong size.
PictureStores LoadPictureStores();
