// An image control: a child window that shows one picture at its top-left
// corner, or nothing, optionally inside the 2-px sunken frame, and reports
// left clicks. Pictures are shared: the box only refers to the bitmap.
#pragma once

#include <windows.h>

#include <functional>

#include "scale.h"
#include "window_owner.h"

namespace win32 {

class ImageBox : public WindowOwner<ImageBox> {
  public:
    static void Register(HINSTANCE instance);

    // An empty box without a frame at `place` (form pixels) laid out at
    // `scale`, of that size until it gets a picture.
    ImageBox(HWND parent, const tarpo::form::Rect& place, const Scale& scale,
             std::function<void()> onClick = {});
    ImageBox(const ImageBox&) = delete;
    ImageBox& operator=(const ImageBox&) = delete;

    // nullptr is the empty picture.
    void Show(HBITMAP picture, bool framed);

    // Places the box for the window's current density.
    void Rescale(const Scale& scale);

  private:
    friend class WindowOwner<ImageBox>;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void FitToPicture();
    void OnPaint();

    tarpo::form::Rect place_;  // form pixels
    std::function<void()> onClick_;
    Scale scale_;
    HBITMAP picture_ = nullptr;
    tarpo::form::Size pictureSize_{};
    bool framed_ = false;
    bool pressed_ = false;
};

}  // namespace win32
