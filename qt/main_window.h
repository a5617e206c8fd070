// The main window: the board, the new-game button, the list of picture sets,
// the preview, the label and the menu. It lays them out, passes the player's
// clicks to the game session and draws what the session asks for.
#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
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
    // `pictures` holds the decoded pictures. `seed` seeds the pick of each
    // new game's layout, so that tests can fix it.
    explicit MainWindow(PictureStores pictures,
                        std::uint32_t seed = tarpo::LayoutPicker::FreshSeed(),
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
    void Announce(tarpo::Announcement what) override;

    // Keyboard play. ShowBoardFocus puts the board's Tab stop on the
    // session's focused cell, and the focus too when `take` is set.
    void ShowBoardFocus(bool take);

    PictureStores pictures_;
    QWidget* client_;
    std::optional<tarpo::Session> session_;              // created once the controls exist
    std::array<BoardCell*, tarpo::kCellCount> cells_{};  // the board's cells
    Announcement* announcement_ = nullptr;

    QPushButton* newGameButton_ = nullptr;
    QListWidget* pictureSetList_ = nullptr;
    ImageBox* preview_ = nullptr;
    QLabel* motto_ = nullptr;
};
