// The event handlers: the cell and button clicks, forwarded to the game
// session; the menu commands; and what the session shows, through the
// window's controls.
#include "form.h"
#include "form1.h"

namespace win32 {

namespace {

namespace form = tarpo::form;

void ShowInformation(HWND owner, const char16_t* title, const char16_t* text) {
    MessageBoxW(owner, Text(text), Text(title), MB_ICONINFORMATION | MB_OK);
}

}  // namespace

void Form1::Image3_Click(int Index) { session_->Click(Index); }

void Form1::Command1_Click() {
    KeepListSelection();
    session_->NewGame(listSelection_);
}

void Form1::help_Click() { ShowInformation(hwnd_, form::kHelpTitle, form::kHelpText); }

void Form1::autor_Click() { ShowInformation(hwnd_, form::kAuthorTitle, form::kAuthorText); }

// Ends the program at once: the window goes, the message loop ends, status 0.
void Form1::exit_Click() { DestroyWindow(hwnd_); }

void Form1::DrawCell(int cell, const tarpo::CellLook& look) {
    Image3[static_cast<std::size_t>(cell)]->Show(
        look.picture ? pictures_[*look.picture].get() : nullptr, look.framed);
}

void Form1::DrawPreview(std::optional<int> set) {
    demo->Show(set ? pictures_.Preview(*set).get() : nullptr, false);
}

void Form1::Announce(const char16_t*) {}

}  // namespace win32
