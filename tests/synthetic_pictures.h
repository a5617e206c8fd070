// Picture stores made up for widget tests: every piece is a flat colour of its
// own with a one-pixel marker of another colour in each corner, so that a
// shifted, cropped or scaled piece shows in the pixels.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>

#include "picture_sets.h"

namespace testpictures {

inline QColor PieceColour(int set, int piece) {
    return set == 0 ? QColor(40 + 12 * piece, 10, 90) : QColor(10, 40 + 12 * piece, 160);
}
inline const QColor kCornerMarker(255, 255, 0);

inline QPixmap Piece(int set, int piece) {
    QImage image(kPieceSide, kPieceSide, QImage::Format_RGB32);
    image.fill(PieceColour(set, piece));
    for (int x : {0, kPieceSide - 1})
        for (int y : {0, kPieceSide - 1}) image.setPixelColor(x, y, kCornerMarker);
    return QPixmap::fromImage(image);
}

inline const QColor kPreviewColour(200, 120, 30);

inline PictureStores Stores() {
    PictureStores stores;
    for (int p = 0; p < kPieceCount - 1; ++p) stores.Image1[p] = Piece(0, p);
    stores.Image2 = Piece(0, kPieceCount - 1);
    for (int p = 0; p < kPieceCount; ++p) stores.Image4[p] = Piece(1, p);
    QImage preview(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    preview.fill(kPreviewColour);
    preview.setPixelColor(kPreviewWidth - 1, kPreviewHeight - 1, kCornerMarker);
    stores.Image4[kPreviewSlot] = QPixmap::fromImage(preview);
    return stores;
}

}  // namespace testpictures
