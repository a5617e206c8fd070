// The main window: the board, the new-game button, the list of picture sets,
// the preview, the label and the menu. It lays them out, and its handlers
// turn the player's clicks into calls of the board logic.
#pragma once

#include <QMainWindow>

#include "picture_sets.h"
#include "puzzle.h"

class BoardView;
class ImageBox;
class QLabel;
class QListWidget;
class QPushButton;

class Form1 : public QMainWindow {
    Q_OBJECT

  public:
    // `pictures` are the decoded picture stores; `drawLayout` picks the layout
    // of each new game (tests fix it).
    explicit Form1(PictureStores pictures,
                   tarpo::LayoutDraw drawLayout = tarpo::DrawLayoutFromClock,
                   QWidget* parent = nullptr);

    // The hidden picture stores.
    const PictureStores& pictures() const { return stores_; }

    // Event handlers.
    void Image3_Click(tarpo::Int16 Index);
    void Command1_Click();
    void help_Click();
    void autor_Click();
    void exit_Click();

  private:
    void BuildControls();
    void BuildMenu();
    void Form_Initialize();
    void Form_Load();

    PictureStores stores_;
    QWidget* client_;
    BoardView* Image3;  // the sixteen cells, with the working tile store
    tarpo::Puzzle puzzle_;

    QPushButton* Command1 = nullptr;
    QListWidget* List1 = nullptr;
    ImageBox* demo = nullptr;
    QLabel* Label1 = nullptr;
};
