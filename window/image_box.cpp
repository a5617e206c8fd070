#include "image_box.h"

#include <QMouseEvent>
#include <QPainter>

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

// The box follows its picture, anchored at its top-left corner: the picture's
// size, plus the frame on every side when framed. Without a picture it keeps
// the size it had.
void ImageBox::fitToPicture() {
    if (picture_.isNull()) return;
    const int border = framed_ ? 2 * kFrameWidth : 0;
    resize(picture_.size() + QSize(border, border));
}

namespace {

// The sunken frame in whole device pixels: 2 logical pixels wide at any
// device pixel ratio, its outer and inner line each as wide as the ratio
// rounded, so that every frame on the screen looks the same. `box` is the
// widget's rectangle in device pixels.
void DrawSunkenFrame(QPainter& painter, const QRect& box, qreal ratio, const QPalette& palette) {
    const int frame = qRound(ImageBox::kFrameWidth * ratio);
    const int outer = qRound(ratio);
    const int inner = frame - outer;
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

// Painted in device pixels: at a fractional device pixel ratio, lines one
// logical pixel wide would land on one device pixel or two, and a piece 2
// logical pixels in would leave a strip of what lies below between it and
// its frame.
void ImageBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    // From here on, one unit is one device pixel, with the widget's corner
    // on a whole device pixel.
    const QTransform toDevice = painter.deviceTransform();
    const QPointF corner(toDevice.dx(), toDevice.dy());
    const QPoint snapped = corner.toPoint();
    painter.setWorldTransform(
        QTransform::fromTranslate(snapped.x() - corner.x(), snapped.y() - corner.y()) *
        QTransform::fromScale(1 / ratio, 1 / ratio));
    const QPoint end = (corner + QPointF(width(), height()) * ratio).toPoint();
    const QRect box(0, 0, end.x() - snapped.x(), end.y() - snapped.y());
    const int inset = framed_ ? qRound(kFrameWidth * ratio) : 0;
    if (!picture_.isNull()) {
        // No smoothing: every picture pixel becomes a block of device pixels,
        // so pieces stay sharp and abut exactly; bilinear filtering would
        // blend each piece's edge with nothing and leave a visible seam.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        const QSize size = (QSizeF(picture_.size()) * ratio).toSize();
        painter.drawPixmap(QRect(QPoint(inset, inset), size), picture_);
    } else if (framed_) {
        // An empty framed cell is a clean well of window background; without
        // the fill, the edges of the neighbours it overlaps would show inside.
        painter.fillRect(box.adjusted(inset, inset, -inset, -inset), palette().window());
    }
    // The frame last: where the piece, rounded, reaches under it, the frame
    // keeps its width.
    if (framed_) DrawSunkenFrame(painter, box, ratio, palette());
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
