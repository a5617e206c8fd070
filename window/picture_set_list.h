// The list of picture sets: single selection that the player can move but not
// clear, so a new game always has a set to load.
#pragma once

#include <QListWidget>

class PictureSetList : public QListWidget {
    Q_OBJECT

  public:
    using QListWidget::QListWidget;

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
};
