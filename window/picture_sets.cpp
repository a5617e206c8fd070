#include "picture_sets.h"

#include <QFile>
#include <QListWidget>
#include <QResource>

#include "bmp_decoder.h"
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

// The pictures are carried as Qt resources, uncompressed, under their file names.
QString PiecePath(const char* set, int piece) {
    return QStringLiteral(":/assets/%1/piece%2.bmp")
        .arg(QLatin1String(set))
        .arg(piece, 2, 10, QLatin1Char('0'));
}

}  // namespace

QPixmap LoadPicture(const QString& path, QSize expected) {
    // A picture carried uncompressed is decoded where it lies in the program;
    // anything else is read into memory first.
    QByteArray bytes;
    const uchar* data = nullptr;
    qint64 size = 0;
    if (const QResource resource(path);
        resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression) {
        data = resource.data();
        size = resource.size();
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) ThrowCannotDecode(path);
        bytes = file.readAll();
        data = reinterpret_cast<const uchar*>(bytes.constData());
        size = bytes.size();
    }
    QImage image = DecodeBmp(data, size);
    if (image.isNull()) ThrowCannotDecode(path);
    CheckSize(path, image.size(), expected);
    // The pixmap takes over the image's pixels (already in the display's format).
    return QPixmap::fromImage(std::move(image));
}

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
