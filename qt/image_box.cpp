#include "image_box.h"

#include <QMouseEvent>
#include <QPainter>

#include "device_box.h"
#include "device_grid.h"
#include "form_qt.h"

namespace form = tarpo::form;

ImageBox::ImageBox(QWidget* parent) : QWidget(parent) {}

void ImageBox::setPicture(const QPixmap& picture) {
    picture_ = picture;
    fitToPicture();
    update();
}

void ImageBox::setFramed(bool framed) {
    framed_ = framed;
    fitToPicture();
    update();
}

// The box takes the size of its picture. Without one it keeps its size.
void ImageBox::fitToPicture() {
    if (picture_.isNull()) return;
    resize(formqt::Size(form::BoxSize({picture_.width(), picture_.height()}, framed_)));
}

namespace {

// Draws the sunken frame, `frame` device pixels wide, as two rings of whole
// device pixels so that every frame on the screen looks the same. `box` is the
// widget's rectangle in device pixels.
void DrawSunkenFrame(QPainter& painter, const QRect& box, int frame, const QPalette& palette) {
    const auto [outer, inner] = form::SunkenFrameRings(frame);
    const int w = box.width();
    const int h = box.height();
    painter.save();
    painter.translate(box.topLeft());
    // The light comes from the top left: dark outside and shadow inside on the
    // top and left edges, light outside and midlight inside on the others.
    painter.fillRect(0, h - outer, w, outer, palette.light());
    painter.fillRect(w - outer, 0, outer, h, palette.light());
    painter.fillRect(0, 0, w - outer, outer, palette.dark());
    painter.fillRect(0, 0, outer, h - outer, palette.dark());
    painter.fillRect(outer, h - frame, w - 2 * outer, inner, palette.midlight());
    painter.fillRect(w - frame, outer, inner, h - 2 * outer, palette.midlight());
    painter.fillRect(outer, outer, w - outer - frame, inner, palette.shadow());
    painter.fillRect(outer, outer, inner, h - outer - frame, palette.shadow());
    painter.restore();
}

}  // namespace

// Paint in device pixels, on the device grid of device_grid.h. Each edge of
// the box's place in the window is rounded once, so boxes that meet in the
// form also meet on the screen at any device pixel ratio. The frame is equally
// wide on every side and the picture fills what it encloses. Rounding the
// picture's size separately would leave gaps between neighbouring pieces, or
// between a piece and its frame, at a fractional ratio.
void ImageBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const DeviceBox place = PlaceOnDeviceGrid(painter, size());
    const qreal ratio = place.ratio;
    // From here on one unit is one device pixel, and the box's corner is 0, 0.
    painter.setWorldTransform(place.InDevicePixels());
    const QRect box(0, 0, place.device.width, place.device.height);
    const int inset =
        framed_ ? form::DeviceLength(form::kFrameWidth, static_cast<double>(ratio)) : 0;
    const QRect inside = box.adjusted(inset, inset, -inset, -inset);
    if (!picture_.isNull()) {
        // No smoothing: each picture pixel becomes a block of device pixels,
        // so pieces stay sharp and meet exactly. Bilinear filtering would blur
        // each piece's edge and leave a visible seam.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawPixmap(inside, picture_);
    } else if (framed_) {
        // Fill an empty framed cell with the window background. Otherwise the
        // edges of the neighbours it overlaps would show inside it.
        painter.fillRect(inside, palette().window());
    }
    if (framed_) DrawSunkenFrame(painter, box, inset, palette());
}

// A click is a left press and release on the box. QWidget delivers the
// second press of a double-click as a press too, so it counts as a click.
void ImageBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}
