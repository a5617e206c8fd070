// The main window: the board, the new-game button, the list of picture sets,
// the preview, the label and the menu. It lays them out, hands the player's
// clicks to the game session and shows what the session asks for.
#pragma once

#include <QMainWindow>
#include <array>
#include <optional>

#include "picture_sets.h"
#include "session.h"

class Announcement;
class BoardCell;
class ImageBox;
class QLabel;
class QListWidget;
class QPushButton;

class MainWindow : public QMainWindow, private tarpo::SessionView {
    Q_OBJECT

  public:
    // `pictures` are the decoded picture stores; `drawLayout` picks the layout
    // of each new game (tests fix it).
    explicit MainWindow(PictureStores pictures,
                        tarpo::LayoutDraw drawLayout = tarpo::DrawLayoutFromClock,
                        QWidget* parent = nullptr);

    const PictureStores& pictures() const { return pictures_; }

    // Event handlers.
    void OnCellClicked(int cell);
    void OnNewGame();
    void OnHelp();
    void OnAuthor();
    void OnExit();

  private:
    void BuildControls();
    void BuildMenu();

    // SessionView: the cells, the preview and what a screen reader says.
    void DrawCell(int cell, const tarpo::CellLook& look) override;
    void DrawPreview(std::optional<int> set) override;
    void Announce(const char16_t* text) override;

    // Keyboard play: the cell that has the board's focus, and a click on a
    // cell by mouse or key, which returns the cell the focus follows to.
    void FocusCell(int cell);
    int PlayCell(int cell);

    PictureStores pictures_;
    QWidget* client_;
    std::optional<tarpo::Session> session_;              // starts once the controls exist
    std::array<BoardCell*, tarpo::kCellCount> cells_{};  // the board's cells
    int focusedCell_ = 0;                                // the board's Tab stop
    Announcement* announcement_ = nullptr;

    QPushButton* newGameButton_ = nullptr;
    QListWidget* pictureSetList_ = nullptr;
    ImageBox* preview_ = nullptr;
    QLabel* motto_ = nullptr;
};
