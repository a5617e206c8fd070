// An image control: a child window that shows one picture at its top-left
// corner (or nothing), optionally inside the 2-px sunken frame, and reports
// left clicks. The box only refers to the bitmap; it does not copy it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "accessible.h"
#include "scale.h"
#include "window_owner.h"

namespace win32 {

class ImageBox : public WindowOwner<ImageBox> {
  public:
    static void Register(HINSTANCE instance);

    // Creates an empty, unframed box at `place` (in form pixels) laid out at
    // `scale`. It keeps that size until it gets a picture.
    ImageBox(HWND parent, const tarpo::form::Rect& place, const Scale& scale,
             std::function<void()> onClick = {});
    ImageBox(const ImageBox&) = delete;
    ImageBox& operator=(const ImageBox&) = delete;
    virtual ~ImageBox() = default;

    // Shows `picture`, framed or not. A null picture shows nothing.
    void Show(HBITMAP picture, bool framed);

    // Places the box for the window's current density.
    void Rescale(const Scale& scale);

  protected:
    // Lets a derived box handle a message first. Returning nothing leaves the
    // message to the box.
    virtual std::optional<LRESULT> HandleMore(UINT, WPARAM, LPARAM) { return std::nullopt; }
    // Draws over the picture at `scale`, for example a focus ring, for the box
    // at `place` (form pixels), framed or not.
    virtual void PaintOver(HDC, const Scale&, const tarpo::form::Rect& /*place*/, bool /*framed*/) {
    }
    // What assistive technology is told about the box. A plain box is a
    // picture.
    virtual AccessibleTraits Accessible() const { return {.role = ROLE_SYSTEM_GRAPHIC}; }

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
