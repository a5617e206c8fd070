// The real main window for widget tests, shown offscreen, with the layout of
// every new game fixed by the test.
#pragma once

#include <QTest>
#include <memory>

#include "form1.h"

// Each new game deals layout `nextLayout` as it is at that moment. Returns
// null if the window was not exposed.
inline std::unique_ptr<Form1> ShowWindow(PictureStores pictures, const tarpo::Int16& nextLayout) {
    auto window =
        std::make_unique<Form1>(std::move(pictures), [&nextLayout] { return nextLayout; });
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) window.reset();
    return window;
}
