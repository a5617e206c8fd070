// The main window: the board of sixteen cells, the new-game button, the list
// of picture sets, the preview, the label and the menu, as standard Windows
// controls. It hands the player's clicks to the game session and shows what
// the session asks for.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "handles.h"
#include "image_box.h"
#include "pictures.h"
#include "scale.h"
#include "session.h"
#include "window_owner.h"

namespace win32 {

// The form's UTF-16 text as the W functions take it.
inline const wchar_t* Text(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

class Form1 : public WindowOwner<Form1>, private tarpo::SessionView {
  public:
    static void Register(HINSTANCE instance);

    // Creates the window, hidden, with its controls; start-up has run.
    Form1(HINSTANCE instance, PictureStores pictures);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1() override;

    // The dialog keys of the message loop: Tab between the button and the
    // list, Space and Enter on the button. True if `message` was consumed.
    bool TranslateDialogKey(MSG& message);

    // Event handlers.
    void Image3_Click(int Index);
    void Command1_Click();
    void help_Click();
    void autor_Click();
    void exit_Click();

  private:
    friend class WindowOwner<Form1>;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(WORD id, WORD code);

    void BuildControls(const Scale& scale);
    void BuildMenu();
    void Layout(UINT dpi);
    void SetFonts(const Scale& scale);
    void FitWindow(const Scale& scale, UINT dpi);
    void KeepListSelection();
    void DrawLabel(const DRAWITEMSTRUCT& item) const;

    // SessionView: the cells, the preview and what a screen reader says.
    void DrawCell(int cell, const tarpo::CellLook& look) override;
    void DrawPreview(std::optional<int> set) override;
    void Announce(const char16_t* text) override;

    HINSTANCE instance_;
    PictureStores pictures_;
    std::optional<tarpo::Session> session_;  // starts once the controls exist

    std::array<std::unique_ptr<ImageBox>, tarpo::kCellCount> Image3;
    HWND Command1 = nullptr;
    HWND List1 = nullptr;
    std::unique_ptr<ImageBox> demo;
    HWND Label1 = nullptr;

    Font dialogFont_;
    Font labelFont_;
    HWND focus_ = nullptr;  // the control that has the focus while the window is active
    int listSelection_ = 0;
};

}  // namespace win32
