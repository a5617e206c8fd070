// The event handlers: start-up, the cell and button clicks that the board
// logic answers, and the menu commands.
#include "form.h"
#include "form1.h"

namespace win32 {

namespace {

namespace form = tarpo::form;

void ShowInformation(HWND owner, const char16_t* title, const char16_t* text) {
    MessageBoxW(owner, Text(text), Text(title), MB_ICONINFORMATION | MB_OK);
}

}  // namespace

void Form1::Form_Initialize() {
    for (const form::PictureSet& set : form::kPictureSets)
        SendMessageW(List1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(set.name)));
    SendMessageW(List1, LB_SETCURSEL, 0, 0);
    listSelection_ = 0;
}

void Form1::Form_Load() {
    SetWindowTextW(hwnd_, Text(form::kTitle));
    SetWindowTextW(Command1, Text(form::kCommand1Caption));
    StartUpJoin(stores_);
    puzzle_.Reset();
}

void Form1::Image3_Click(tarpo::Int16 Index) { puzzle_.Click(Index); }

void Form1::Command1_Click() {
    PictureSetStep(List1, stores_, Image0, *demo);
    puzzle_.Deal();
}

void Form1::help_Click() { ShowInformation(hwnd_, form::kHelpTitle, form::kHelpText); }

void Form1::autor_Click() { ShowInformation(hwnd_, form::kAuthorTitle, form::kAuthorText); }

// Ends the program at once: the window goes, the message loop ends, status 0.
void Form1::exit_Click() { DestroyWindow(hwnd_); }

}  // namespace win32
