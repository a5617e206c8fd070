// What a window tells assistive technology through Microsoft Active
// Accessibility beyond what Windows works out from the window itself. A
// window answers WM_GETOBJECT with AnswerGetObject; its client object then
// is the standard one, with the role, name, action or order of children
// given here.
#pragma once

#include <windows.h>
// After windows.h: the ROLE_SYSTEM_ and STATE_SYSTEM_ values.
#include <oleacc.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace win32 {

struct AccessibleTraits {
    std::optional<LONG> role{};          // a ROLE_SYSTEM_ value, else the standard role
    std::optional<std::wstring> name{};  // else the window's text
    std::function<void()> press{};       // the default action: focusable, "Press" does it
    std::function<std::vector<HWND>()> children{};  // child windows, in the order they are read
};

// The answer to WM_GETOBJECT for `window`: its client object with `traits`,
// or 0 for any other object, which Windows then answers itself.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleTraits& traits);

// Tells assistive technology that `window`'s text, which names it, has
// changed to `text`. Windows raises the event on its own; Wine does not.
void SetAccessibleName(HWND window, const std::wstring& text);

// COM on the thread that creates the windows, for as long as the guard lives:
// accessible objects are handed out from there.
class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialized_;
};

}  // namespace win32
