#include "picture_sets.h"

#include <QFile>
#include <QResource>

#include "bmp_decoder.h"
#include "form_qt.h"
#include "messages.h"

namespace form = tarpo::form;

namespace {

[[noreturn]] void ThrowCannotDecode(const QString& path) {
    throw PictureError(formqt::Text(form::kCannotDecodePicture).arg(path).toStdString());
}

void CheckSize(const QString& path, QSize size, QSize expected) {
    if (size == expected) return;
    throw PictureError(formqt::Text(form::kWrongPictureSize)
                           .arg(path)
                           .arg(size.width())
                           .arg(size.height())
                           .arg(expected.width())
                           .arg(expected.height())
                           .toStdString());
}

}  // namespace

QPixmap LoadPicture(const QString& path, QSize expected) {
    // Decode an uncompressed resource in place. Anything else is read into
    // memory first.
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
    // The image is already in the display's format, so the pixmap takes over
    // its pixels without a copy.
    return QPixmap::fromImage(std::move(image));
}

// The pictures are uncompressed Qt resources under :/assets/.
namespace {

QString ResourcePath(const form::PicturePath& path) {
    return QStringLiteral(":/assets/") + QLatin1String(path.data());
}

}  // namespace

QString PiecePath(int set, int piece) { return ResourcePath(form::PiecePath(set, piece)); }

QString PreviewPath(int set) { return ResourcePath(form::PreviewPath(set)); }

PictureStores LoadPictureStores() {
    return tarpo::LoadPictureStores<QPixmap>(
        [](int set, std::optional<int> piece, form::Size expected) {
            return LoadPicture(piece ? PiecePath(set, *piece) : PreviewPath(set),
                               formqt::Size(expected));
        });
}
