// Finds where a widget lies on the device grid of form/device_grid.h while it
// is painted. Each edge of its place in the window is rounded once, so widgets
// that meet in the form also meet on the screen at any device pixel ratio.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QSize>
#include <QTransform>

#include "device_grid.h"

struct DeviceBox {
    tarpo::form::Rect device;  // the box in the window's device pixels
    qreal ratio;               // device pixels per logical pixel
    QPointF corner;            // where the painter puts the widget's origin, in device pixels
    QPoint place;              // the widget's origin in the window, in logical pixels

    // A painter transform under which one unit is one device pixel and the
    // box's corner is at 0, 0.
    QTransform InDevicePixels() const {
        return QTransform::fromTranslate(device.left - corner.x(), device.top - corner.y()) *
               QTransform::fromScale(1 / ratio, 1 / ratio);
    }

    // A painter transform under which the widget's own rectangle (`size` in
    // logical pixels) fills the box exactly, however the edges were rounded.
    QTransform Stretched(QSize size) const {
        return QTransform::fromScale(device.width / (size.width() * ratio),
                                     device.height / (size.height() * ratio)) *
               QTransform::fromTranslate((device.left - corner.x()) / ratio,
                                         (device.top - corner.y()) / ratio);
    }
};

// Returns the box of a widget of `size` that `painter` paints. The widget's
// place in the window is recovered from the painter's device transform, whose
// scale is the device pixel ratio that painting actually uses.
inline DeviceBox PlaceOnDeviceGrid(const QPainter& painter, QSize size) {
    const QTransform toDevice = painter.deviceTransform();
    const qreal ratio = toDevice.m11();
    const QPointF corner(toDevice.dx(), toDevice.dy());
    const QPoint place = (corner / ratio).toPoint();
    return {tarpo::form::DeviceRect({place.x(), place.y(), size.width(), size.height()},
                                    static_cast<double>(ratio)),
            ratio, corner, place};
}
