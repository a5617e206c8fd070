// Picture stores made up for widget tests: every piece is a flat colour of its
// own with a one-pixel marker of another colour in each corner, so that a
// shifted, cropped or scaled piece shows in the pixels.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>

#include "form.h"
#include "picture_sets.h"

namespace testpictures {

using tarpo::form::kPieceSide;

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
    return tarpo::LoadPictureStores<QPixmap>(
        [](int set, std::optional<int> piece, tarpo::form::Size size) {
            if (piece) return Piece(set, *piece);
            QImage preview(size.width, size.height, QImage::Format_RGB32);
            preview.fill(kPreviewColour);
            preview.setPixelColor(size.width - 1, size.height - 1, kCornerMarker);
            return QPixmap::fromImage(preview);
        });
}

}  // namespace testpictures
