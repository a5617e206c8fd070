#include "image_box.h"

#include <qdrawutil.h>

#include <QMouseEvent>
#include <QPainter>

ImageBox::ImageBox(QWidget* parent) : QWidget(parent) {}

void ImageBox::setPicture(const QPixmap& picture) {
    if (picture.cacheKey() == picture_.cacheKey()) return;  // null pixmaps share key 0
    picture_ = picture;
    fitToPicture();
    update();
}

void ImageBox::setFramed(bool framed) {
    if (framed == framed_) return;
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

void ImageBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (framed_) {
        // An empty framed cell is a clean well of window background; without
        // the fill, the edges of the neighbours it overlaps would show inside.
        const QBrush* fill = picture_.isNull() ? &palette().brush(QPalette::Window) : nullptr;
        qDrawWinPanel(&painter, rect(), palette(), /*sunken=*/true, fill);
    }
    if (!picture_.isNull()) {
        // No smoothing: at a device pixel ratio above 1 every picture pixel
        // becomes a block of device pixels, so pieces stay sharp and abut
        // exactly; bilinear filtering would blend each piece's edge with
        // nothing and leave a visible seam between pieces.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        const int inset = framed_ ? kFrameWidth : 0;
        painter.drawPixmap(inset, inset, picture_);
    }
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
