// The list of picture sets. The player can move the selection but not clear
// it, so a new game always has a set to load.
#pragma once

#include <QEvent>
#include <QListWidget>
#include <QPainter>

#include "device_box.h"

class PictureSetList : public QListWidget {
    Q_OBJECT

  public:
    explicit PictureSetList(QWidget* parent) : QListWidget(parent), border_(new Border(this)) {}

  protected:
    // A click on empty space or a Ctrl+click on the selected entry would
    // otherwise leave nothing selected.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        const QItemSelectionModel::SelectionFlags command =
            QListWidget::selectionCommand(index, event);
        if (!index.isValid() ||
            command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) {
            return index.isValid() ? QItemSelectionModel::ClearAndSelect
                                   : QItemSelectionModel::NoUpdate;
        }
        return command;
    }

    // Only border_ draws the border. The list's own border, placed at its
    // unrounded position, would add a second line where the two differ.
    bool event(QEvent* event) override {
        return event->type() == QEvent::Paint || QListWidget::event(event);
    }

    void resizeEvent(QResizeEvent* event) override {
        QListWidget::resizeEvent(event);
        border_->setGeometry(rect());
        border_->raise();
    }

  private:
    // Draws the list's border above the viewport, with its edges on the device
    // grid like the board's cells. At a fractional device pixel ratio, the
    // list's own border lines can fall between device pixels and vanish.
    class Border : public QWidget {
      public:
        explicit Border(PictureSetList* list) : QWidget(list), list_(list) {
            setAttribute(Qt::WA_TransparentForMouseEvents);
        }

      protected:
        void paintEvent(QPaintEvent*) override {
            QPainter painter(this);
            painter.setWorldTransform(PlaceOnDeviceGrid(painter, size()).Stretched(size()));
            list_->drawFrame(&painter);
        }

      private:
        PictureSetList* list_;
    };

    Border* border_;
};
