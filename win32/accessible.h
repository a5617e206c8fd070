// Adds to what Microsoft Active Accessibility reports for a window by itself.
// A window answers WM_GETOBJECT with AnswerGetObject. Its client object is
// then the standard one, with the role, name, action or order of children
// given here.
#pragma once

#include <windows.h>
// Needs windows.h first. Gives the ROLE_SYSTEM_ and STATE_SYSTEM_ values.
#include <oleacc.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "handles.h"

namespace win32 {

struct AccessibleTraits {
    std::optional<LONG> role{};          // a ROLE_SYSTEM_ value, else the standard role
    std::optional<std::wstring> name{};  // else the window's text
    std::function<void()> press{};       // the default action; makes the object focusable
    std::function<std::vector<HWND>()> children{};  // child windows, in the order they are read
};

// Answers WM_GETOBJECT for `window` with its client object and `traits`. For
// any other object it returns 0, and Windows answers itself.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleTraits& traits);

// Tells assistive technology that `window`'s text, which is its name, has
// changed to `text`. Windows raises this event by itself, but Wine does not.
void SetAccessibleName(HWND window, const std::wstring& text);

// What accessible objects need: the COM apartment of the thread that creates
// the windows, and the accessibility libraries. It is set up only when
// assistive technology first asks for an object, so that a program nobody
// reads that way loads none of it. The owner lives on that thread around the
// message loop, outlives the windows, and releases everything when it goes.
// Only one may exist at a time.
class AccessibilityRuntime {
  public:
    struct Api;

    AccessibilityRuntime();
    ~AccessibilityRuntime();
    AccessibilityRuntime(const AccessibilityRuntime&) = delete;
    AccessibilityRuntime& operator=(const AccessibilityRuntime&) = delete;

    // Returns the thread's runtime, setting it up if needed. Returns nullptr
    // if there is no owner or the setup fails.
    static const Api* Ready();

  private:
    const Api* SetUp();

    bool tried_ = false;
    bool apartment_ = false;
    Handle<HMODULE, FreeLibrary> oleacc_;
    Handle<HMODULE, FreeLibrary> oleaut_;
    std::unique_ptr<Api> api_;
};

}  // namespace win32
