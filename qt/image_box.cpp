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

// The box follows its picture; without one it keeps the size it had.
void ImageBox::fitToPicture() {
    if (picture_.isNull()) return;
    resize(formqt::Size(form::BoxSize({picture_.width(), picture_.height()}, framed_)));
}

namespace {

// The sunken frame, `frame` device pixels wide, in its two rings of whole
// device pixels, so that every frame on the screen looks the same. `box` is
// the widget's rectangle in device pixels.
void DrawSunkenFrame(QPainter& painter, const QRect& box, int frame, const QPalette& palette) {
    const auto [outer, inner] = form::SunkenFrameRings(frame);
    const int w = box.width();
    const int h = box.height();
    painter.save();
    painter.translate(box.topLeft());
    // Lit from the top left: dark outside and shadow inside on the top and
    // left edges, light outside and midlight inside on the bottom and right.
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

// Painted in device pixels, on the device grid of device_grid.h: the box's
// edges are the edges of its place in the window, each rounded once, so that
// boxes which meet in the form meet on the screen at any device pixel ratio.
// The frame is as wide on every side, and the picture fills what it encloses;
// at a fractional ratio, rounding the picture's size on its own would leave a
// strip of what lies below between neighbouring pieces, or between a piece and
// its frame.
void ImageBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const DeviceBox place = PlaceOnDeviceGrid(painter, size());
    const qreal ratio = place.ratio;
    // From here on, one unit is one device pixel, with the box's corner at 0, 0.
    painter.setWorldTransform(place.InDevicePixels());
    const QRect box(0, 0, place.device.width, place.device.height);
    const int inset =
        framed_ ? form::DeviceLength(form::kFrameWidth, static_cast<double>(ratio)) : 0;
    const QRect inside = box.adjusted(inset, inset, -inset, -inset);
    if (!picture_.isNull()) {
        // No smoothing: every picture pixel becomes a block of device pixels,
        // so pieces stay sharp and abut exactly; bilinear filtering would
        // blend each piece's edge with nothing and leave a visible seam.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawPixmap(inside, picture_);
    } else if (framed_) {
        // An empty framed cell is a clean well of window background; without
        // the fill, the edges of the neighbours it overlaps would show inside.
        painter.fillRect(inside, palette().window());
    }
    if (framed_) DrawSunkenFrame(painter, box, inset, palette());
}

// A click is a left press and release on the box. The second press of a
// double-click arrives as a press too (QWidget's default), so it counts.
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
