#include "picture_sets.h"

#include <QListWidget>

#include "image_box.h"

QPixmap LoadPicture(const QString& path, QSize expected) {
    QPixmap picture(path, "BMP");
    if (picture.isNull()) throw PictureError(("cannot decode picture " + path).toStdString());
    if (picture.size() != expected) {
        throw PictureError(QStringLiteral("picture %1 is %2x%3, expected %4x%5")
                               .arg(path)
                               .arg(picture.width())
                               .arg(picture.height())
                               .arg(expected.width())
                               .arg(expected.height())
                               .toStdString());
    }
    return picture;
}

namespace {

QString PiecePath(const char* set, int piece) {
    return QStringLiteral(":/assets/%1/piece%2.bmp")
        .arg(QLatin1String(set))
        .arg(piece, 2, 10, QLatin1Char('0'));
}

}  // namespace

PictureStores LoadPictureStores() {
    const QSize piece(kPieceSide, kPieceSide);
    PictureStores stores;
    for (int p = 0; p < kPieceCount - 1; ++p)
        stores.Image1[p] = LoadPicture(PiecePath("skull", p), piece);
    stores.Image2 = LoadPicture(PiecePath("skull", kPieceCount - 1), piece);
    for (int p = 0; p < kPieceCount; ++p)
        stores.Image4[p] = LoadPicture(PiecePath("dentist", p), piece);
    stores.Image4[kPreviewSlot] = LoadPicture(QStringLiteral(":/assets/dentist/preview.bmp"),
                                              QSize(kPreviewWidth, kPreviewHeight));
    return stores;
}

void StartUpJoin(PictureStores& stores) { stores.Image1[kPieceCount - 1] = stores.Image2; }

void PictureSetStep(const QListWidget& List1, const PictureStores& stores, TileStore& Image0,
                    ImageBox& demo) {
    // Every selected entry is looked at, in order; the list allows only one.
    const int last = List1.count() - 1;
    for (int i = 0; i <= last; ++i) {
        if (!List1.item(i)->isSelected()) continue;
        if (i == 0) {
            for (int p = 0; p < kPieceCount; ++p) Image0[p] = stores.Image1[p];
            demo.setPicture(QPixmap());
        } else if (i == 1) {
            for (int p = 0; p < kPieceCount; ++p) Image0[p] = stores.Image4[p];
            demo.setPicture(stores.Image4[kPreviewSlot]);
        }
    }
}
