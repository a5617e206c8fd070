// tarpo.exe decodes the pictures, creates the window and runs the message loop
// until the window is closed or Exit is chosen.
#include <windows.h>

#include <string>

#include "accessible.h"
#include "form.h"
#include "main_window.h"
#include "messages.h"
#include "pictures.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    win32::PictureStores pictures;
    try {
        pictures = win32::LoadPictureStores(instance);
    } catch (const win32::PictureError& error) {
        // Only a broken build gets here. Report it rather than show blank tiles.
        std::wstring text = win32::Text(tarpo::form::kMissingPictureResource);
        text.replace(text.find(L"%1"), 2, error.name());
        MessageBoxW(nullptr, text.c_str(), win32::Text(tarpo::form::kProgramName),
                    MB_ICONERROR | MB_OK);
        return 1;
    }

    win32::AccessibilityRuntime accessibility;
    win32::MainWindow::Register(instance);
    win32::MainWindow window(instance, std::move(pictures));
    ShowWindow(window.hwnd(), show);
    // Paint the window and every control now, before any other message, so
    // that the window never shows a control that is not drawn yet.
    RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.TranslateDialogKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
