// Decoding of the plain Windows bitmaps the program carries: 40-byte
// information header, 24 bits per pixel, no compression, rows bottom-up and
// padded to 4 bytes. Straight into the display's pixel format, in one pass.
#pragma once

#include <QImage>

// The picture in QImage::Format_RGB32, or a null image if `data` is not such
// a bitmap (another layout, or cut short).
QImage DecodeBmp(const uchar* data, qint64 size);
