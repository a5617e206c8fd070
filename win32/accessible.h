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
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "handles.h"

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

// What accessible objects need: the COM apartment of the thread that makes
// the windows, and the accessibility libraries. Set up when assistive
// technology first asks for an object, so that a program nobody reads that
// way loads none of it; released when the owner goes, which lives on that
// thread around its message loop and outlives the windows. One at a time.
class AccessibilityRuntime {
  public:
    struct Api;

    AccessibilityRuntime();
    ~AccessibilityRuntime();
    AccessibilityRuntime(const AccessibilityRuntime&) = delete;
    AccessibilityRuntime& operator=(const AccessibilityRuntime&) = delete;

    // The thread's runtime, set up now if it is not yet; nullptr if there is
    // none or it cannot be set up here.
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
