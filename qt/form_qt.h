// Converts the form description's types to Qt's.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include "form.h"

namespace formqt {

inline QString Text(const char16_t* text) { return QString::fromUtf16(text); }
inline QRect Rect(tarpo::form::Rect r) { return QRect(r.left, r.top, r.width, r.height); }
inline QSize Size(tarpo::form::Size s) { return QSize(s.width, s.height); }
inline QColor Colour(tarpo::form::Rgb c) { return QColor(c.red, c.green, c.blue); }

// Use pixel sizes so that the text keeps its size at any font dpi. Fontconfig
// substitutes an installed family for one that is missing.
inline QFont Font(const tarpo::form::Font& f) {
    QFont font(Text(f.family));
    font.setPixelSize(f.pixelSize);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    return font;
}

}  // namespace formqt
