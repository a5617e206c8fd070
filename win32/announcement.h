// What a screen reader is to say wherever the focus is: a hidden child window
// named with the text, for which an alert is raised.
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
