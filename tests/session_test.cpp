// The game session as a front end sees it: what each cell and the preview
// show after each step, how much is drawn, and what is announced.
#include "session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board_access.h"
#include "board_fixture.h"
#include "solver.h"

namespace tarpo::testing {
namespace {

// A front end's screen: keeps what it was last told to show.
class ScreenView : public SessionView {
  public:
    void DrawCell(int cell, const CellLook& look) override {
        cells.at(static_cast<std::size_t>(cell)) = look;
        drawn.push_back(cell);
    }
    void DrawPreview(std::optional<int> set) override {
        preview = set;
        ++previewDraws;
    }
    void Announce(Announcement what) override { announced.emplace_back(AnnouncementText(what)); }

    std::array<std::optional<CellLook>, kCellCount> cells{};  // nothing: never drawn
    std::optional<int> preview = -1;                          // -1: never drawn
    std::vector<int> drawn;
    int previewDraws = 0;
    std::vector<std::u16string> announced;
};

class SessionTest : public ::testing::Test {
  protected:
    ScreenView screen;
    Session session{screen, 1};
};

// The board is home from start-up: a click runs the completion step, with no
// set loaded yet, so the frames go and the board stays blank; nothing is said.
TEST_F(SessionTest, ClickBeforeTheFirstGameOnlyTakesTheFramesOff) {
    EXPECT_EQ(session.Click(6), Move{Move::Kind::Completion});
    for (const auto& look : screen.cells) EXPECT_EQ(look, (CellLook{std::nullopt, false}));
    EXPECT_EQ(screen.preview, std::nullopt);
    EXPECT_TRUE(screen.announced.empty());
    EXPECT_EQ(CellsOf(session.position().board), HomeCells());
}

// Only the cells whose look changes are drawn, in ascending order.
struct Step {
    const char* name;
    void (*act)(Session&);
    std::vector<int> drawn;
    int previewDraws;
};

class DrawsOnlyChanges : public SessionTest, public ::testing::WithParamInterface<Step> {
  protected:
    void SetUp() override {
        // The dentist, layout 0: the empty cell is 15, tile 11 in cell 14.
        session.NewGame(Deal{1, 0});
        screen.drawn.clear();
        screen.previewDraws = 0;
    }
};

TEST_P(DrawsOnlyChanges, AfterTheStep) {
    GetParam().act(session);
    EXPECT_EQ(screen.drawn, GetParam().drawn);
    EXPECT_EQ(screen.previewDraws, GetParam().previewDraws);
    EXPECT_TRUE(screen.announced.empty());
}

Position Dealt(int set, int layout) { return {BoardOf(LayoutCells(layout)), false, set, 0}; }

INSTANTIATE_TEST_SUITE_P(
    Steps, DrawsOnlyChanges,
    ::testing::Values(
        Step{"slide", [](Session& s) { s.Click(14); }, {14, 15}, 0},
        Step{"tile_without_empty_neighbour", [](Session& s) { s.Click(0); }, {}, 0},
        Step{"empty_cell", [](Session& s) { s.Click(15); }, {}, 0},
        Step{"same_game_again", [](Session& s) { s.NewGame(Deal{1, 0}); }, {}, 0},
        Step{"other_layout_same_set",
             [](Session& s) { s.NewGame(Deal{1, 1}); },
             {0, 1, 2, 3, 4, 5, 6, 7, 9, 11, 13, 14},
             0},
        Step{"other_set_same_layout",
             [](Session& s) { s.NewGame(Deal{0, 0}); },
             {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
             1},
        Step{"restored_as_it_was", [](Session& s) { s.Restore(Dealt(1, 0)); }, {}, 0},
        Step{"restored_one_slide_on",
             [](Session& s) {
                 Position p = Dealt(1, 0);
                 p.board.Set(3, 2, kEmpty);
                 p.board.Set(3, 3, LayoutTile(0, 14));
                 s.Restore(p);
             },
             {14, 15},
             0},
        Step{"restored_before_the_first_game",
             [](Session& s) { s.Restore(Position{BoardOf(HomeCells()), false, std::nullopt, 0}); },
             {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
             1},
        Step{"restored_finished_picture",
             [](Session& s) { s.Restore(Position{BoardOf(HomeCells()), true, 0, 0}); },
             {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
             1},
        Step{"refused_unknown_set",
             [](Session& s) { EXPECT_FALSE(s.Restore(Dealt(kSetCount, 2))); },
             {},
             0},
        Step{"refused_dealt_board_without_a_set",
             [](Session& s) {
                 Position p = Dealt(0, 2);
                 p.tileSet.reset();
                 EXPECT_FALSE(s.Restore(p));
             },
             {},
             0},
        Step{"refused_focus_off_the_board",
             [](Session& s) {
                 Position p = Dealt(0, 2);
                 p.focus = kCellCount;
                 EXPECT_FALSE(s.Restore(p));
             },
             {},
             0}),
    [](const auto& info) { return std::string(info.param.name); });

// A game taken to a position, then given back: the same position, shown the
// same way as where it was played.
TEST_F(SessionTest, PositionGoesOnWhereItWasTaken) {
    session.NewGame(Deal{0, 3});
    for (int cell : {11, 10, 14, 15}) session.Click(cell);
    session.Press(9, {Key::Right});
    const Position kept = session.position();
    EXPECT_EQ(kept.focus, 10);
    EXPECT_EQ(kept.tileSet, 0);

    ScreenView otherScreen;
    Session other(otherScreen, 2);
    ASSERT_TRUE(other.Restore(kept));
    EXPECT_EQ(other.position(), kept);
    EXPECT_EQ(otherScreen.cells, screen.cells);
    EXPECT_EQ(otherScreen.preview, screen.preview);
}

// -- keyboard and screen-reader play ------------------------------------------

// A key on the board of layout 0 (empty cell 15, tile 11 in cell 14, tile 12
// in cell 10).
struct KeyCase {
    const char* name;
    int from;
    KeyPress key;
    bool handled;
    int to;         // the focused cell afterwards
    int emptyCell;  // afterwards
};

class BoardKeys : public SessionTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(BoardKeys, MoveTheFocusOrSlideATile) {
    const KeyCase& c = GetParam();
    ASSERT_TRUE(session.Restore(Position{BoardOf(LayoutCells(0)), false, 0, c.from}));
    EXPECT_EQ(session.Press(c.from, c.key), c.handled);
    EXPECT_EQ(session.focus(), c.to);
    EXPECT_FALSE(screen.cells[static_cast<std::size_t>(c.emptyCell)]->picture);
}

constexpr KeyPress Shift(Key key) { return {key, false, true}; }
constexpr KeyPress Ctrl(Key key) { return {key, true}; }
constexpr KeyPress Held(Key key) { return {key, false, false, false, true}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, BoardKeys,
    ::testing::Values(
        KeyCase{"right_at_row_end_stays", 7, {Key::Right}, true, 7, 15},
        KeyCase{"left_at_row_start_stays", 8, {Key::Left}, true, 8, 15},
        KeyCase{"up_in_top_row_stays", 2, {Key::Up}, true, 2, 15},
        KeyCase{"down_in_bottom_row_stays", 13, {Key::Down}, true, 13, 15},
        KeyCase{"home_to_row_start", 10, {Key::Home}, true, 8, 15},
        KeyCase{"ctrl_home_to_first_cell", 10, Ctrl(Key::Home), true, 0, 15},
        KeyCase{"ctrl_arrow_is_not_the_boards", 5, Ctrl(Key::Right), false, 5, 15},
        KeyCase{"alt_arrow_is_not_the_boards", 5, {Key::Up, false, false, true}, false, 5, 15},
        KeyCase{"enter_on_a_stuck_tile", 0, {Key::Enter}, true, 0, 15},
        KeyCase{"held_enter_repeats_nothing", 14, Held(Key::Enter), true, 14, 15},
        KeyCase{"shift_enter_is_not_the_boards", 14, Shift(Key::Enter), false, 14, 15},
        KeyCase{"ctrl_space_is_not_the_boards", 14, Ctrl(Key::Space), false, 14, 15},
        KeyCase{"shift_up_at_the_bottom_edge", 5, Shift(Key::Up), true, 5, 15},
        KeyCase{"shift_left_at_the_right_edge", 5, Shift(Key::Left), true, 5, 15}),
    [](const auto& info) { return std::string(info.param.name); });

// Shift and the arrows alone play a whole game, one key a slide, the focus
// going with each slid tile into the cell that was empty; Enter completes.
TEST_F(SessionTest, ShiftArrowsPlayAWholeGame) {
    session.NewGame(Deal{1, 3});
    const auto clicks = SolveByClicks(session.position().board);
    ASSERT_TRUE(clicks.has_value());
    for (const int cell : *clicks) {
        int gap = 0;
        while (screen.cells[static_cast<std::size_t>(gap)]->picture) ++gap;
        // The tile below the gap goes up, and so on.
        const Key arrow = cell == gap + kSide   ? Key::Up
                          : cell == gap - kSide ? Key::Down
                          : cell == gap + 1     ? Key::Left
                                                : Key::Right;
        ASSERT_TRUE(session.Press(session.focus(), Shift(arrow)));
        EXPECT_EQ(session.focus(), gap) << "slide of cell " << cell;
    }
    EXPECT_EQ(screen.announced, std::vector<std::u16string>{form::kSolvedAnnouncement});
    // Enter then finishes the picture, piece i in cell i and every frame off,
    // says nothing more, and leaves the focus where it is.
    const int last = session.focus();
    ASSERT_TRUE(session.Press(last, {Key::Enter}));
    EXPECT_EQ(session.focus(), last);
    for (int i = 0; i < kCellCount; ++i)
        EXPECT_EQ(screen.cells[static_cast<std::size_t>(i)], (CellLook{Piece{1, i}, false})) << i;
    EXPECT_EQ(screen.announced.size(), 1u);
}

// A click by the pointer leaves the board's focus where it was.
TEST_F(SessionTest, PointerClicksLeaveTheFocus) {
    session.NewGame(Deal{0, 0});
    session.Press(3, {Key::Left});
    EXPECT_EQ(session.Click(14), (Move{Move::Kind::Slide, 14, 15}));
    EXPECT_EQ(session.focus(), 2);
}

}  // namespace
}  // namespace tarpo::testing
