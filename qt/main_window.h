// The main window: the board, the new-game button, the list of picture sets,
// the preview, the label and the menu. It lays them out, passes the player's
// clicks to the game session and draws what the session asks for.
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
    // `pictures` holds the decoded pictures. `drawLayout` picks the layout of
    // each new game, so that tests can fix it.
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

    // SessionView: draw the cells and the preview, and tell a screen reader.
    void DrawCell(int cell, const tarpo::CellLook& look) override;
    void DrawPreview(std::optional<int> set) override;
    void Announce(const char16_t* text) override;

    // Keyboard play. FocusCell moves the board's focus to a cell. PlayCell
    // clicks a cell by mouse or key and returns the cell the focus follows.
    void FocusCell(int cell);
    int PlayCell(int cell);

    PictureStores pictures_;
    QWidget* client_;
    std::optional<tarpo::Session> session_;              // created once the controls exist
    std::array<BoardCell*, tarpo::kCellCount> cells_{};  // the board's cells
    int focusedCell_ = 0;                                // the board's Tab stop
    Announcement* announcement_ = nullptr;

    QPushButton* newGameButton_ = nullptr;
    QListWidget* pictureSetList_ = nullptr;
    ImageBox* preview_ = nullptr;
    QLabel* motto_ = nullptr;
};
