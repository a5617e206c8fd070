// Makes a screen reader say a text wherever the focus is. The text names a
// hidden child window, and an alert is raised for that window.
#pragma once

#include <windows.h>

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
};

}  // namespace win32
