// The page's side of the game session: a SessionView that hands every drawing
// to the page's script, and the entry points the page calls for start-up and
// the player's input. Only numbers cross between the two: cells, sets, pieces
// and the place of a text in the form description, whose texts the page reads
// from form.json. The module stands alone: the page's script gives it the
// functions it imports, with no loader in between.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <iterator>

#include "device_grid.h"
#include "session.h"

// A function the page's script gives the module, as "view"."name".
#define TARPO_FROM_PAGE(name) __attribute__((import_module("view"), import_name(name)))

extern "C" {

TARPO_FROM_PAGE("drawCell") void PageDrawCell(int cell, int set, int piece, int framed);
TARPO_FROM_PAGE("drawPreview") void PageDrawPreview(int set);
// `text`: its place in form.json's "announcements".
TARPO_FROM_PAGE("announce") void PageAnnounce(int text);

}  // extern "C"

namespace {

constexpr int kNothing = -1;  // no picture, no set

class PageView final : public tarpo::SessionView {
  public:
    void DrawCell(int cell, const tarpo::CellLook& look) override {
        PageDrawCell(cell, look.picture ? look.picture->set : kNothing,
                     look.picture ? look.picture->piece : kNothing, look.framed ? 1 : 0);
    }
    void DrawPreview(std::optional<int> set) override { PageDrawPreview(set ? *set : kNothing); }
    void Announce(const char16_t* text) override {
        const auto& all = tarpo::form::kAnnouncements;
        const auto at = std::find(std::begin(all), std::end(all), text);
        if (at != std::end(all)) PageAnnounce(static_cast<int>(at - std::begin(all)));
    }
};

PageView view;
tarpo::Session* session = nullptr;

}  // namespace

extern "C" {

// Once the page's controls exist: the session starts and draws them.
EMSCRIPTEN_KEEPALIVE void Start() {
    if (session == nullptr) session = new tarpo::Session(view);
}

// `set`: the picture set chosen in the list.
EMSCRIPTEN_KEEPALIVE void NewGame(int set) {
    if (session != nullptr) session->NewGame(set);
}

EMSCRIPTEN_KEEPALIVE void Click(int cell) {
    if (session != nullptr) session->Click(cell);
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
