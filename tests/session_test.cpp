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
    void Announce(const char16_t* text) override { announced.emplace_back(text); }

    std::array<std::optional<CellLook>, kCellCount> cells{};  // nothing: never drawn
    std::optional<int> preview = -1;                          // -1: never drawn
    std::vector<int> drawn;
    int previewDraws = 0;
    std::vector<std::u16string> announced;
};

constexpr CellLook kBlank{std::nullopt, true};

class SessionTest : public ::testing::Test {
  protected:
    void NewGame(int set, int layout) {
        nextLayout = layout;
        session.NewGame(set);
    }
    void Play(const std::vector<int>& clicks) {
        for (int cell : clicks) session.Click(cell);
    }

    ScreenView screen;
    int nextLayout = 0;
    Session session{screen, [this] { return nextLayout; }};
};

TEST_F(SessionTest, StartUpDrawsEveryCellFramedAndEmptyAndNoPreview) {
    EXPECT_EQ(screen.drawn.size(), std::size_t{kCellCount});
    for (const auto& look : screen.cells) EXPECT_EQ(look, kBlank);
    EXPECT_EQ(screen.preview, std::nullopt);
    EXPECT_EQ(screen.previewDraws, 1);
    EXPECT_TRUE(screen.announced.empty());
    EXPECT_TRUE(session.board().IsSolved());
}

// The board is home from start-up: a click runs the completion step, with no
// set loaded yet, so the frames go and the board stays blank; nothing is said.
TEST_F(SessionTest, ClickBeforeTheFirstGameOnlyTakesTheFramesOff) {
    session.Click(6);
    for (const auto& look : screen.cells) EXPECT_EQ(look, (CellLook{std::nullopt, false}));
    EXPECT_EQ(screen.preview, std::nullopt);
    EXPECT_TRUE(screen.announced.empty());
    EXPECT_EQ(CellsOf(session.board()), HomeCells());
}

struct Deal {
    int set;
    int layout;
};

void PrintTo(const Deal& deal, std::ostream* out) {
    *out << "set " << deal.set << ", layout " << deal.layout;
}

class SessionDeal : public SessionTest, public ::testing::WithParamInterface<Deal> {};

// Tile k shows piece k - 1 of the chosen set; the solving slide is announced
// once; the finished picture has piece i in cell i, the completion piece
// included, all frames off.
TEST_P(SessionDeal, ShowsTheChosenSetFromDealToFinishedPicture) {
    const auto [set, layout] = GetParam();
    NewGame(set, layout);

    for (int i = 0; i < kDealtCells; ++i) {
        const Piece piece{set, LayoutTile(layout, i) - 1};
        EXPECT_EQ(screen.cells[static_cast<std::size_t>(i)], (CellLook{piece, true})) << i;
    }
    EXPECT_EQ(screen.cells[kEmptyHomeCell], kBlank);
    EXPECT_EQ(screen.preview, form::kPictureSets[static_cast<std::size_t>(set)].hasPreview
                                  ? std::optional(set)
                                  : std::nullopt);

    const auto clicks = SolveByClicks(session.board());
    ASSERT_TRUE(clicks.has_value());
    Play(std::vector<int>(clicks->begin(), clicks->end() - 1));
    EXPECT_TRUE(screen.announced.empty());
    session.Click(clicks->back());
    EXPECT_EQ(screen.announced, std::vector<std::u16string>{form::kSolvedAnnouncement});
    EXPECT_EQ(screen.cells[kEmptyHomeCell], kBlank);  // until one more click

    session.Click(0);
    session.Click(5);
    for (int i = 0; i < kCellCount; ++i)
        EXPECT_EQ(screen.cells[static_cast<std::size_t>(i)], (CellLook{Piece{set, i}, false})) << i;
    EXPECT_EQ(screen.announced.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, SessionDeal, ::testing::Values(Deal{0, 0}, Deal{0, 3}, Deal{1, 2}, Deal{1, 4}),
    [](const auto& info) {
        return std::string(form::kPictureSets[static_cast<std::size_t>(info.param.set)].folder) +
               "_layout_" + std::to_string(info.param.layout);
    });

// Only the cells whose look changes are drawn, in ascending order.
struct Step {
    const char* name;
    void (*act)(Session&, int& nextLayout);
    std::vector<int> drawn;
    int previewDraws;
};

void PrintTo(const Step& step, std::ostream* out) { *out << step.name; }

class DrawsOnlyChanges : public SessionTest, public ::testing::WithParamInterface<Step> {
  protected:
    void SetUp() override {
        NewGame(1, 0);  // the dentist, layout 0: the empty cell is 15, tile 11 in cell 14
        screen.drawn.clear();
        screen.previewDraws = 0;
    }
};

TEST_P(DrawsOnlyChanges, AfterTheStep) {
    GetParam().act(session, nextLayout);
    EXPECT_EQ(screen.drawn, GetParam().drawn);
    EXPECT_EQ(screen.previewDraws, GetParam().previewDraws);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, DrawsOnlyChanges,
    ::testing::Values(
        Step{"slide", [](Session& s, int&) { s.Click(14); }, {14, 15}, 0},
        Step{"tile_without_empty_neighbour", [](Session& s, int&) { s.Click(0); }, {}, 0},
        Step{"empty_cell", [](Session& s, int&) { s.Click(15); }, {}, 0},
        Step{"same_game_again", [](Session& s, int&) { s.NewGame(1); }, {}, 0},
        Step{"other_layout_same_set",
             [](Session& s, int& layout) {
                 layout = 1;
                 s.NewGame(1);
             },
             {0, 1, 2, 3, 4, 5, 6, 7, 9, 11, 13, 14},
             0},
        Step{"other_set_same_layout",
             [](Session& s, int&) { s.NewGame(0); },
             {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
             1}),
    [](const auto& info) { return std::string(info.param.name); });

// -- keyboard and screen-reader play ------------------------------------------

struct FocusCase {
    const char* name;
    int from;
    FocusMove move;
    int to;
};

class FocusMoves : public ::testing::TestWithParam<FocusCase> {};

TEST_P(FocusMoves, GoWithinTheBoardWithoutWrapping) {
    EXPECT_EQ(MoveFocus(GetParam().from, GetParam().move), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FocusMoves,
    ::testing::Values(FocusCase{"right", 5, FocusMove::Right, 6},
                      FocusCase{"down", 5, FocusMove::Down, 9},
                      FocusCase{"left", 5, FocusMove::Left, 4},
                      FocusCase{"up", 5, FocusMove::Up, 1},
                      FocusCase{"right_at_row_end_stays", 7, FocusMove::Right, 7},
                      FocusCase{"left_at_row_start_stays", 8, FocusMove::Left, 8},
                      FocusCase{"up_in_top_row_stays", 2, FocusMove::Up, 2},
                      FocusCase{"down_in_bottom_row_stays", 13, FocusMove::Down, 13},
                      FocusCase{"home_to_row_start", 10, FocusMove::RowStart, 8},
                      FocusCase{"end_to_row_end", 9, FocusMove::RowEnd, 11},
                      FocusCase{"ctrl_home_to_first_cell", 10, FocusMove::BoardStart, 0},
                      FocusCase{"ctrl_end_to_last_cell", 4, FocusMove::BoardEnd, 15}),
    [](const auto& info) { return std::string(info.param.name); });

// The focus follows each slid tile into the cell that was empty, through a
// whole game; the click that finishes the picture leaves it where it is.
TEST_F(SessionTest, FocusFollowsTheSlidTileThroughAWholeGame) {
    NewGame(1, 3);
    const auto clicks = SolveByClicks(session.board());
    ASSERT_TRUE(clicks.has_value());
    for (const int cell : *clicks) {
        int empty = 0;
        while (session.Cell(empty).picture) ++empty;
        EXPECT_EQ(ClickAndFollow(session, cell), empty) << "click on " << cell;
    }
    EXPECT_EQ(ClickAndFollow(session, 4), 4);
    EXPECT_EQ(screen.cells[kEmptyHomeCell]->picture, (Piece{1, kCompletionPiece}));
}

// Where nothing slides, the focus stays on the clicked cell.
TEST_F(SessionTest, FocusStaysWhereNothingSlides) {
    EXPECT_EQ(ClickAndFollow(session, 6), 6);  // before the first game
    NewGame(0, 0);
    EXPECT_EQ(ClickAndFollow(session, kEmptyHomeCell), kEmptyHomeCell);  // the empty cell
    EXPECT_EQ(ClickAndFollow(session, 0), 0);                            // no empty neighbour
    EXPECT_EQ(ClickAndFollow(session, 11), 15);
    EXPECT_EQ(ClickAndFollow(session, 15), 11);  // and back up
}

struct NameCase {
    const char* name;
    int cell;
    CellLook look;
    std::u16string expected;
};

class CellNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(CellNames, SayThePlaceAndWhatTheCellShows) {
    EXPECT_EQ(CellName(GetParam().cell, GetParam().look), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellNames,
    ::testing::Values(
        NameCase{"tile", 6, {Piece{0, 6}, true}, u"Ряд 2, столбец 3: фишка 7"},
        NameCase{"two_digit_tile", 0, {Piece{1, 11}, true}, u"Ряд 1, столбец 1: фишка 12"},
        NameCase{"empty", 15, {std::nullopt, true}, u"Ряд 4, столбец 4: пусто"},
        NameCase{"blank_before_first_game", 9, {std::nullopt, false}, u"Ряд 3, столбец 2: пусто"},
        NameCase{"last_piece",
                 15,
                 {Piece{1, kCompletionPiece}, false},
                 u"Ряд 4, столбец 4: последний кусок картинки"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreviewNames, AreTheSetShownOrNothing) {
    EXPECT_EQ(PreviewName(1), u"Дантист");
    EXPECT_EQ(PreviewName(std::nullopt), u"");
}

}  // namespace
}  // namespace tarpo::testing
