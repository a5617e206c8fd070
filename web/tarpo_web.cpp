// The page's side of the game session: a SessionView that hands every drawing
// to the page's script, and the entry points the page calls for start-up and
// the player's input. Numbers cross between the two, and texts as UTF-16 in
// the module's memory: a cell's name and what is announced go to the page, a
// key's name (the DOM's KeyboardEvent.key) comes from it; a position to keep
// or restore lies in a buffer of numbers both read. The module stands alone:
// the page's script gives it the functions it imports, with no loader in
// between.
#include <emscripten/emscripten.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "board_access.h"
#include "device_grid.h"
#include "session.h"

// A function the page's script gives the module, as "view"."name".
#define TARPO_FROM_PAGE(name) __attribute__((import_module("view"), import_name(name)))

extern "C" {

// `name`, `length`: the cell's name for assistive technology, in UTF-16.
TARPO_FROM_PAGE("drawCell")
void PageDrawCell(int cell, int set, int piece, int framed, const char16_t* name, int length);
TARPO_FROM_PAGE("drawPreview") void PageDrawPreview(int set);
TARPO_FROM_PAGE("announce") void PageAnnounce(const char16_t* text, int length);

}  // extern "C"

namespace {

constexpr int kNothing = -1;  // no picture, no set

// A position as numbers: the tile of each cell, whether the picture is
// completed (0 or 1), the set the tiles show (kNothing before the first game)
// and the board's focused cell.
constexpr int kCompletedAt = tarpo::kCellCount;
constexpr int kTileSetAt = kCompletedAt + 1;
constexpr int kFocusAt = kTileSetAt + 1;
constexpr int kPositionSize = kFocusAt + 1;

// The longest key name the page passes ("ArrowRight").
constexpr int kKeyNameSize = 16;

class PageView final : public tarpo::SessionView {
  public:
    void DrawCell(int cell, const tarpo::CellLook& look) override {
        const std::u16string name = tarpo::CellName(cell, look);
        PageDrawCell(cell, look.picture ? look.picture->set : kNothing,
                     look.picture ? look.picture->piece : kNothing, look.framed ? 1 : 0,
                     name.data(), static_cast<int>(name.size()));
    }
    void DrawPreview(std::optional<int> set) override { PageDrawPreview(set ? *set : kNothing); }
    void Announce(tarpo::Announcement what) override {
        const std::u16string_view text = tarpo::AnnouncementText(what);
        PageAnnounce(text.data(), static_cast<int>(text.size()));
    }
};

std::array<char16_t, kKeyNameSize> keyName{};

// The DOM's name of a key the board knows.
std::optional<tarpo::Key> KeyNamed(std::u16string_view name) {
    constexpr std::array<std::pair<std::u16string_view, tarpo::Key>, 8> kNames = {{
        {u"ArrowUp", tarpo::Key::Up},
        {u"ArrowDown", tarpo::Key::Down},
        {u"ArrowLeft", tarpo::Key::Left},
        {u"ArrowRight", tarpo::Key::Right},
        {u"Home", tarpo::Key::Home},
        {u"End", tarpo::Key::End},
        {u"Enter", tarpo::Key::Enter},
        {u" ", tarpo::Key::Space},
    }};
    for (const auto& [known, key] : kNames)
        if (known == name) return key;
    return std::nullopt;
}

// The key named in the key name buffer, with its modifiers.
std::optional<tarpo::KeyPress> PressOf(int length, int ctrl, int shift, int alt, int repeat) {
    if (length < 0 || length > kKeyNameSize) return std::nullopt;
    const std::optional<tarpo::Key> key =
        KeyNamed(std::u16string_view(keyName.data(), static_cast<std::size_t>(length)));
    if (!key) return std::nullopt;
    return tarpo::KeyPress{*key, ctrl != 0, shift != 0, alt != 0, repeat != 0};
}

PageView view;
tarpo::Session* session = nullptr;
std::array<std::int32_t, kPositionSize> position{};

}  // namespace

extern "C" {

// Once the page's controls exist: the session starts and draws them. `seed`
// seeds the pick of every deal's layout.
EMSCRIPTEN_KEEPALIVE void Start(std::uint32_t seed) {
    if (session == nullptr) session = new tarpo::Session(view, seed);
}

// `set`: the picture set chosen in the list. Returns the layout dealt.
EMSCRIPTEN_KEEPALIVE int NewGame(int set) {
    const std::optional<tarpo::Deal> deal =
        session != nullptr ? session->NewGame(set) : std::nullopt;
    return deal ? deal->layout : kNothing;
}

// A click on a cell by the pointer; returns what it did: 0 nothing, 1 a
// slide, 2 the completion step.
static_assert(static_cast<int>(tarpo::Move::Kind::None) == 0 &&
              static_cast<int>(tarpo::Move::Kind::Slide) == 1 &&
              static_cast<int>(tarpo::Move::Kind::Completion) == 2);
EMSCRIPTEN_KEEPALIVE int Click(int cell) {
    return session != nullptr ? static_cast<int>(session->Click(cell).kind) : 0;
}

// Where the page writes the name of a key, at most KeyNameSize UTF-16
// units, before IsBoardKey or Press.
EMSCRIPTEN_KEEPALIVE char16_t* KeyName() { return keyName.data(); }
EMSCRIPTEN_KEEPALIVE int KeyNameSize() { return kKeyNameSize; }

// Whether the key whose name (`length` UTF-16 units) is in KeyName, with the
// modifiers given (0 or 1 each), is one the board takes (1) or not (0).
EMSCRIPTEN_KEEPALIVE int IsBoardKey(int length, int ctrl, int shift, int alt) {
    const std::optional<tarpo::KeyPress> press = PressOf(length, ctrl, shift, alt, 0);
    return press && tarpo::Session::IsBoardKey(*press) ? 1 : 0;
}

// That key pressed on `cell`; returns whether the board took it. Focus then
// says the board's focused cell.
EMSCRIPTEN_KEEPALIVE int Press(int cell, int length, int ctrl, int shift, int alt, int repeat) {
    const std::optional<tarpo::KeyPress> press = PressOf(length, ctrl, shift, alt, repeat);
    return session != nullptr && press && session->Press(cell, *press) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int Focus() { return session != nullptr ? session->focus() : 0; }

// The buffer of a position's kPositionSize numbers (32-bit).
EMSCRIPTEN_KEEPALIVE std::int32_t* PositionBuffer() { return position.data(); }
EMSCRIPTEN_KEEPALIVE int PositionSize() { return kPositionSize; }

// The game as it stands, into the buffer.
EMSCRIPTEN_KEEPALIVE void SavePosition() {
    if (session == nullptr) return;
    const tarpo::Position p = session->position();
    for (int i = 0; i < tarpo::kCellCount; ++i)
        position[static_cast<std::size_t>(i)] = p.board.At(i);
    position[kCompletedAt] = p.completed ? 1 : 0;
    position[kTileSetAt] = p.tileSet.value_or(kNothing);
    position[kFocusAt] = p.focus;
}

// The game taken to the position in the buffer, drawn and not announced;
// returns 1, or 0 for a position play cannot have reached (nothing changes).
EMSCRIPTEN_KEEPALIVE int RestorePosition() {
    if (session == nullptr) return 0;
    tarpo::Position p;
    for (int i = 0; i < tarpo::kCellCount; ++i)
        p.board.Set(tarpo::RowOf(i), tarpo::ColOf(i), position[static_cast<std::size_t>(i)]);
    const std::int32_t completed = position[kCompletedAt];
    if (completed != 0 && completed != 1) return 0;
    p.completed = completed == 1;
    if (position[kTileSetAt] != kNothing) p.tileSet = position[kTileSetAt];
    p.focus = position[kFocusAt];
    return session->Restore(p) ? 1 : 0;
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

// The width of each band of a cell's focus ring in device pixels at `ratio`.
EMSCRIPTEN_KEEPALIVE int FocusRingBand(double ratio) {
    return tarpo::form::CellFocusRing({}, false, ratio).bandX;
}

}  // extern "C"
