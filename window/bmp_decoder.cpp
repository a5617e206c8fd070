#include "bmp_decoder.h"

#include <QtEndian>

namespace {

constexpr qint64 kHeadersSize = 14 + 40;  // file header + information header
constexpr int kMaxSide = 4096;            // far above any picture of the game

quint16 U16(const uchar* at) { return qFromLittleEndian<quint16>(at); }
quint32 U32(const uchar* at) { return qFromLittleEndian<quint32>(at); }
qint32 S32(const uchar* at) { return qFromLittleEndian<qint32>(at); }

}  // namespace

QImage DecodeBmp(const uchar* data, qint64 size) {
    if (data == nullptr || size < kHeadersSize || data[0] != 'B' || data[1] != 'M') return {};
    const quint32 offset = U32(data + 10);
    const qint32 width = S32(data + 18);
    const qint32 height = S32(data + 22);
    if (U32(data + 14) != 40 || U16(data + 26) != 1 || U16(data + 28) != 24 ||
        U32(data + 30) != 0 || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        offset < kHeadersSize)
        return {};
    const qint64 stride = (qint64{width} * 3 + 3) / 4 * 4;
    if (size < qint64{offset} + stride * height) return {};

    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const uchar* source = data + offset + (height - 1 - y) * stride;  // bottom-up
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, source += 3)
            target[x] = qRgb(source[2], source[1], source[0]);
    }
    return image;
}
