// Makes a screen reader say a text wherever the focus is. The text names a
// hidden child window, and an alert is raised for that window once the input
// that led to it has been handled: a slide by key takes the focus along after
// the game's move, and a screen reader stops speaking when the focus moves.
#pragma once

#include <windows.h>

#include <string>

#include "window_owner.h"

namespace win32 {

class Announcement : public WindowOwner<Announcement> {
  public:
    static void Register(HINSTANCE instance);

    explicit Announcement(HWND parent);
    Announcement(const Announcement&) = delete;
    Announcement& operator=(const Announcement&) = delete;

    void Say(const wchar_t* text);

  private:
    friend class WindowOwner<Announcement>;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    std::wstring text_;  // the text to say when the window's message comes
};

}  // namespace win32
