// Decoding of the plain Windows bitmaps the program carries (the layout of
// form/bitmap_file.h), straight into the display's pixel format, in one pass.
#pragma once

#include <QImage>

// The picture in QImage::Format_RGB32, or a null image if `data` is not such
// a bitmap (another layout, or cut short).
QImage DecodeBmp(const uchar* data, qint64 size);
