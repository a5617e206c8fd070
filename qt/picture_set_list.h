// The list of picture sets: single selection that the player can move but not
// clear, so a new game always has a set to load.
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

    // The border is border_'s alone: the list's own, placed by its unrounded
    // position, would add a second line beside it where the two differ.
    bool event(QEvent* event) override {
        return event->type() == QEvent::Paint || QListWidget::event(event);
    }

    void resizeEvent(QResizeEvent* event) override {
        QListWidget::resizeEvent(event);
        border_->setGeometry(rect());
        border_->raise();
    }

  private:
    // The list's border drawn once more, above the viewport, with the list's
    // edges on the device grid, as the board's cells have theirs: at a
    // fractional device pixel ratio the border's outer lines, placed by the
    // list's unrounded position, can fall between device pixels and vanish.
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
