// Decodes the uncompressed Windows bitmaps the program carries (laid out as
// form/bitmap_file.h describes) straight into the display's pixel format, in
// one pass.
#pragma once

#include <QImage>

// Returns the picture in QImage::Format_RGB32, or a null image if `data` is
// not such a bitmap or is cut short.
QImage DecodeBmp(const uchar* data, qint64 size);
