// The main window: the board of sixteen cells, the new-game button, the list
// of picture sets, the preview, the label and the menu. It translates clicks
// into calls of the board logic and draws what that logic asks for.
#pragma once

#include <QMainWindow>
#include <array>

#include "cell_display.h"
#include "picture_sets.h"
#include "puzzle.h"

class ImageBox;
class QLabel;
class QListWidget;
class QPushButton;

class Form1 : public QMainWindow, private tarpo::CellDisplay {
    Q_OBJECT

  public:
    // `pictures` are the decoded picture stores; `drawLayout` picks the layout
    // of each new game (tests fix it).
    explicit Form1(PictureStores pictures,
                   tarpo::LayoutDraw drawLayout = tarpo::DrawLayoutFromClock,
                   QWidget* parent = nullptr);

    ImageBox* cell(int index) const { return Image3[static_cast<std::size_t>(index)]; }
    const tarpo::Puzzle& puzzle() const { return puzzle_; }
    const TileStore& workingStore() const { return Image0; }
    const PictureStores& pictureStores() const { return stores_; }

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

    // CellDisplay: how the board logic changes the cells.
    void ShowTile(tarpo::Int16 cell, tarpo::Int16 tile) override;
    void ShowCompletionPiece() override;
    void ClearCell(tarpo::Int16 cell) override;
    void SetFrame(tarpo::Int16 cell, bool on) override;

    PictureStores stores_;
    TileStore Image0;  // working tile store: the pieces of the set loaded last
    tarpo::Puzzle puzzle_;

    std::array<ImageBox*, tarpo::kCellCount> Image3{};
    QPushButton* Command1 = nullptr;
    QListWidget* List1 = nullptr;
    ImageBox* demo = nullptr;
    QLabel* Label1 = nullptr;
};
