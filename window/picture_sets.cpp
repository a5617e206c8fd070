#include "picture_sets.h"

#include <QFile>
#include <QImageReader>
#include <QListWidget>
#include <cstring>

#include "carried_pictures.h"
#include "image_box.h"

namespace {

[[noreturn]] void ThrowCannotDecode(const QString& path) {
    throw PictureError(("cannot decode picture " + path).toStdString());
}

void CheckSize(const QString& path, QSize size, QSize expected) {
    if (size == expected) return;
    throw PictureError(QStringLiteral("picture %1 is %2x%3, expected %4x%5")
                           .arg(path)
                           .arg(size.width())
                           .arg(size.height())
                           .arg(expected.width())
                           .arg(expected.height())
                           .toStdString());
}

QString PieceName(const char* set, int piece) {
    return QStringLiteral("%1/piece%2").arg(QLatin1String(set)).arg(piece, 2, 10, QLatin1Char('0'));
}

}  // namespace

QPixmap LoadPicture(const QString& path, QSize expected) {
    // Read as a BMP. Without auto-detection the reader asks no image format
    // plugin whether it knows better, so none is loaded.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) ThrowCannotDecode(path);
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull()) ThrowCannotDecode(path);
    CheckSize(path, image.size(), expected);
    return QPixmap::fromImage(image);
}

QPixmap CarriedPixmap(const QString& name, QSize expected) {
    const QByteArray key = name.toLatin1();
    for (std::size_t i = 0; i < kCarriedPictureCount; ++i) {
        const CarriedPicture& picture = kCarriedPictures[i];
        if (std::strcmp(picture.name, key.constData()) != 0) continue;
        CheckSize(name, QSize(picture.width, picture.height), expected);
        // The image and the pixmap made from it share the carried pixels (a
        // pixmap in the display's format, on the raster back end, keeps the
        // image's data): no copy, and the memory is read only when drawn.
        const QImage image(reinterpret_cast<const uchar*>(picture.pixels), picture.width,
                           picture.height, picture.width * 4, QImage::Format_RGB32);
        return QPixmap::fromImage(image);
    }
    throw PictureError(("no picture " + name + " is carried").toStdString());
}

PictureStores LoadPictureStores() {
    const QSize piece(kPieceSide, kPieceSide);
    PictureStores stores;
    for (int p = 0; p < kPieceCount - 1; ++p)
        stores.Image1[p] = CarriedPixmap(PieceName("skull", p), piece);
    stores.Image2 = CarriedPixmap(PieceName("skull", kPieceCount - 1), piece);
    for (int p = 0; p < kPieceCount; ++p)
        stores.Image4[p] = CarriedPixmap(PieceName("dentist", p), piece);
    stores.Image4[kPreviewSlot] =
        CarriedPixmap(QStringLiteral("dentist/preview"), QSize(kPreviewWidth, kPreviewHeight));
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
