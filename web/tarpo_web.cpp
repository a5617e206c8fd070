// The page's side of the game session: a SessionView that hands every drawing
// and every question about the list to the page's script, and the entry
// points the page calls for start-up and the player's input. The module
// stands alone: the page's script gives it the functions it imports, with no
// loader in between.
#include <emscripten/emscripten.h>

#include "accessible_texts.h"
#include "board_access.h"
#include "device_grid.h"
#include "session.h"

// A function the page's script gives the module, as "view"."name".
#define TARPO_FROM_PAGE(name) __attribute__((import_module("view"), import_name(name)))

extern "C" {

// Strings cross as UTF-16 in the module's memory, ended by a zero.
TARPO_FROM_PAGE("addListEntry") void PageAddListEntry(const char16_t* name);
TARPO_FROM_PAGE("selectListEntry") void PageSelectListEntry(int entry);
TARPO_FROM_PAGE("listEntryCount") int PageListEntryCount();
TARPO_FROM_PAGE("isListEntrySelected") int PageIsListEntrySelected(int entry);
TARPO_FROM_PAGE("setTitle") void PageSetTitle(const char16_t* title);
TARPO_FROM_PAGE("setButtonCaption") void PageSetButtonCaption(const char16_t* caption);
TARPO_FROM_PAGE("drawCell") void PageDrawCell(int cell, int set, int piece, int framed);
TARPO_FROM_PAGE("drawPreview") void PageDrawPreview(int set);
// What assistive technology reads: a cell's name, the preview's name (empty
// while it shows nothing), and a text said wherever the focus is.
TARPO_FROM_PAGE("nameCell") void PageNameCell(int cell, const char16_t* name);
TARPO_FROM_PAGE("namePreview") void PageNamePreview(const char16_t* name);
TARPO_FROM_PAGE("announce") void PageAnnounce(const char16_t* text);

}  // extern "C"

namespace {

constexpr int kNothing = -1;  // no picture, no set

class PageView final : public tarpo::SessionView {
  public:
    void AddListEntry(const char16_t* name) override { PageAddListEntry(name); }
    void SelectListEntry(int entry) override { PageSelectListEntry(entry); }
    int ListEntryCount() const override { return PageListEntryCount(); }
    bool IsListEntrySelected(int entry) const override {
        return PageIsListEntrySelected(entry) != 0;
    }
    void SetTitle(const char16_t* title) override { PageSetTitle(title); }
    void SetButtonCaption(const char16_t* caption) override { PageSetButtonCaption(caption); }
    void DrawCell(tarpo::Int16 cell, const tarpo::CellLook& look) override {
        PageDrawCell(cell, look.picture ? look.picture->set : kNothing,
                     look.picture ? look.picture->piece : kNothing, look.framed ? 1 : 0);
        NameCell(cell, look);
    }
    void DrawPreview(std::optional<tarpo::Int16> set) override {
        PageDrawPreview(set ? *set : kNothing);
        PageNamePreview(tarpo::PreviewName(set ? std::optional<int>(*set) : std::nullopt).c_str());
    }
    void NameCell(int cell, const tarpo::CellLook& look) {
        PageNameCell(cell, tarpo::CellName(cell, look).c_str());
    }
    void Announce(const char16_t* text) { PageAnnounce(text); }
};

// The keys' moves as the page numbers them: FocusMove's order.
static_assert(static_cast<int>(tarpo::FocusMove::Up) == 0 &&
              static_cast<int>(tarpo::FocusMove::BoardEnd) == 7);

PageView view;
tarpo::Session* session = nullptr;

}  // namespace

extern "C" {

// Once the page's controls exist.
EMSCRIPTEN_KEEPALIVE void Start() {
    if (session != nullptr) return;
    session = new tarpo::Session(view);
    session->Initialize();
    session->Load();
    for (int cell = 0; cell < tarpo::kCellCount; ++cell)
        view.NameCell(cell, session->Cell(static_cast<tarpo::Int16>(cell)));
}

EMSCRIPTEN_KEEPALIVE void NewGame() {
    if (session != nullptr) session->NewGame();
}

// A click on a cell, by the pointer or by a key; returns the cell the
// keyboard focus follows to. The slide that brings every tile home is
// announced.
EMSCRIPTEN_KEEPALIVE int Click(int cell) {
    if (session == nullptr) return cell;
    const bool solved = session->board().IsSolved();
    const int follow = tarpo::ClickAndFollow(*session, cell);
    if (!solved && session->board().IsSolved()) view.Announce(tarpo::form::kSolvedAnnouncement);
    return follow;
}

// The cell that the focus moves to from `cell` by `move`, a FocusMove.
EMSCRIPTEN_KEEPALIVE int MoveFocus(int cell, int move) {
    if (move < 0 || move > static_cast<int>(tarpo::FocusMove::BoardEnd)) return cell;
    return tarpo::MoveFocus(cell, static_cast<tarpo::FocusMove>(move));
}

// The sunken frame of a cell at `ratio` device pixels per form pixel, by the
// rule the desktop programs draw it with: its width in device pixels, and the
// outer ring's share of that width.
EMSCRIPTEN_KEEPALIVE int FrameWidth(double ratio) {
    return tarpo::form::DeviceLength(tarpo::form::kFrameWidth, ratio);
}

EMSCRIPTEN_KEEPALIVE int FrameOuterRing(double ratio) {
    return tarpo::form::SunkenFrameRings(FrameWidth(ratio)).outer;
}

}  // extern "C"
