// An image control. It shows one picture, unscaled, at its top-left corner (or
// nothing), optionally inside a 2-px sunken frame, and reports left clicks.
#pragma once

#include <QPixmap>
#include <QWidget>

#include "form.h"

class ImageBox : public QWidget {
    Q_OBJECT

  public:
    explicit ImageBox(QWidget* parent);

    // The box shares `picture`; no pixels are copied.
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }
    void setFramed(bool framed);
    bool isFramed() const { return framed_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void fitToPicture();

    QPixmap picture_;
    bool framed_ = false;
    bool pressed_ = false;
};
