#include "bmp_decoder.h"

#include "bitmap_file.h"

QImage DecodeBmp(const uchar* data, qint64 size) {
    const std::optional<tarpo::form::BitmapLayout> bmp =
        size < 0 ? std::nullopt
                 : tarpo::form::ReadBitmapLayout(data, static_cast<std::size_t>(size));
    if (!bmp) return {};
    QImage image(bmp->width, bmp->height, QImage::Format_RGB32);
    for (int y = 0; y < bmp->height; ++y) {
        const uchar* source = data + bmp->Row(y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bmp->width; ++x, source += 3)
            target[x] = qRgb(source[2], source[1], source[0]);
    }
    return image;
}
