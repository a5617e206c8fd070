// The main window: the board of sixteen cells, the new-game button, the list
// of picture sets, the preview, the label and the menu, as standard Windows
// controls. It passes the player's clicks to the game session and draws what
// the session asks for.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "announcement.h"
#include "board_access.h"
#include "board_cell.h"
#include "handles.h"
#include "image_box.h"
#include "pictures.h"
#include "scale.h"
#include "session.h"
#include "window_owner.h"

namespace win32 {

// Passes the form's UTF-16 text to the W functions.
inline const wchar_t* Text(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

class MainWindow : public WindowOwner<MainWindow>, private tarpo::SessionView {
  public:
    static void Register(HINSTANCE instance);

    // Creates the window and its controls, hidden, and starts the session.
    MainWindow(HINSTANCE instance, PictureStores pictures);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    // Handles the dialog keys in the message loop: Tab between the button and
    // the list, Space and Enter on the button. Returns true if it consumed
    // `message`.
    bool TranslateDialogKey(MSG& message);

    // Event handlers.
    void OnCellClicked(int cell);
    void OnNewGame();
    void OnHelp();
    void OnAuthor();
    void OnExit();

  private:
    friend class WindowOwner<MainWindow>;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(WORD id, WORD code);

    void BuildControls(const Scale& scale);
    void BuildMenu();
    void Layout(UINT dpi);
    void SetFonts(const Scale& scale);
    void FitWindow(const Scale& scale, UINT dpi);
    void KeepListSelection();
    void DrawLabel(const DRAWITEMSTRUCT& item) const;

    // SessionView: draw the cells and the preview, and tell a screen reader.
    void DrawCell(int cell, const tarpo::CellLook& look) override;
    void DrawPreview(std::optional<int> set) override;
    void Announce(tarpo::Announcement what) override;

    // Keyboard and screen-reader play, in main_window_access.cpp. BuildAccess
    // names the controls. ShowBoardFocus puts the board's Tab stop on the
    // session's focused cell, and the focus too when `take` is set.
    // ReadingOrder lists the controls in reading order.
    void BuildAccess();
    void ShowBoardFocus(bool take);
    std::vector<HWND> ReadingOrder() const;

    HINSTANCE instance_;
    PictureStores pictures_;
    std::optional<tarpo::Session> session_;  // created once the controls exist

    std::array<std::unique_ptr<BoardCell>, tarpo::kCellCount> cells_;
    HWND newGameButton_ = nullptr;
    HWND pictureSetList_ = nullptr;
    std::unique_ptr<ImageBox> preview_;
    HWND motto_ = nullptr;

    Font dialogFont_;
    Font labelFont_;
    HWND focus_ = nullptr;  // the focused control, restored on activation
    std::unique_ptr<Announcement> announcement_;
    int listSelection_ = 0;
};

}  // namespace win32
