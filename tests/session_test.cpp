// The game session as a front end sees it: what the list, the captions, each
// cell and the preview end up showing, and how much is drawn again.
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
    void AddListEntry(const char16_t* name) override { entries.emplace_back(name); }
    void SelectListEntry(int entry) override { selected = entry; }
    int ListEntryCount() const override { return static_cast<int>(entries.size()); }
    bool IsListEntrySelected(int entry) const override { return entry == selected; }
    void SetTitle(const char16_t* text) override { title = text; }
    void SetButtonCaption(const char16_t* text) override { caption = text; }
    void DrawCell(Int16 cell, const CellLook& look) override {
        cells[static_cast<std::size_t>(cell)] = look;
        ++cellDraws;
    }
    void DrawPreview(std::optional<Int16> set) override {
        preview = set;
        ++previewDraws;
    }

    std::vector<std::u16string> entries;
    int selected = -1;
    std::u16string title, caption;
    std::array<CellLook, kCellCount> cells{};  // as the window is created: framed, empty
    std::optional<Int16> preview;
    int cellDraws = 0;
    int previewDraws = 0;
};

class SessionTest : public ::testing::Test {
  protected:
    SessionTest() {
        session.Initialize();
        session.Load();
    }

    void NewGame(int set, Int16 layout) {
        screen.selected = set;
        nextLayout = layout;
        session.NewGame();
    }

    void Play(const std::vector<Int16>& clicks) {
        for (Int16 cell : clicks) session.Click(cell);
    }

    ScreenView screen;
    Int16 nextLayout = 0;
    Session session{screen, [this] { return nextLayout; }};
};

TEST_F(SessionTest, StartUpFillsTheListAndCaptionsAndLeavesTheBoardBlank) {
    ASSERT_EQ(screen.entries.size(), form::kPictureSets.size());
    for (std::size_t s = 0; s < form::kPictureSets.size(); ++s)
        EXPECT_EQ(screen.entries[s], form::kPictureSets[s].name);
    EXPECT_EQ(screen.selected, 0);
    EXPECT_EQ(screen.title, form::kTitle);
    EXPECT_EQ(screen.caption, form::kCommand1Caption);
    EXPECT_EQ(screen.cellDraws + screen.previewDraws, 0);
    EXPECT_TRUE(session.board().IsSolved());
}

TEST_F(SessionTest, ClickBeforeTheFirstGameOnlyTakesTheFramesOff) {
    session.Click(6);
    for (Int16 i = 0; i < kCellCount; ++i)
        EXPECT_EQ(screen.cells[static_cast<std::size_t>(i)], (CellLook{std::nullopt, false}));
    EXPECT_EQ(screen.preview, std::nullopt);
}

struct Deal {
    int set;
    Int16 layout;
};

void PrintTo(const Deal& deal, std::ostream* out) {
    *out << "set " << deal.set << ", layout " << deal.layout;
}

class SessionDeal : public SessionTest, public ::testing::WithParamInterface<Deal> {};

// Tile k shows piece k - 1 of the chosen set; the finished picture has piece
// i in cell i, the completion piece included, all frames off.
TEST_P(SessionDeal, ShowsTheChosenSetFromDealToFinishedPicture) {
    const auto [set, layout] = GetParam();
    const auto s = static_cast<Int16>(set);
    NewGame(set, layout);

    for (Int16 i = 0; i < kDealtCells; ++i) {
        const Piece piece{s, static_cast<Int16>(LayoutTile(layout, i) - 1)};
        EXPECT_EQ(screen.cells[static_cast<std::size_t>(i)], (CellLook{piece, true})) << i;
    }
    EXPECT_EQ(screen.cells[kEmptyHomeCell], (CellLook{std::nullopt, true}));
    EXPECT_EQ(screen.preview, form::kPictureSets[static_cast<std::size_t>(set)].hasPreview
                                  ? std::optional(s)
                                  : std::nullopt);

    const auto clicks = SolveByClicks(session.board());
    ASSERT_TRUE(clicks.has_value());
    Play(*clicks);
    EXPECT_EQ(screen.cells[kEmptyHomeCell].picture, std::nullopt);  // until one more click
    session.Click(0);
    for (Int16 i = 0; i < kCellCount; ++i)
        EXPECT_EQ(screen.cells[static_cast<std::size_t>(i)], (CellLook{Piece{s, i}, false})) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Sets, SessionDeal, ::testing::Values(Deal{0, 0}, Deal{0, 3}, Deal{1, 2}, Deal{1, 4}),
    [](const auto& info) {
        return std::string(form::kPictureSets[static_cast<std::size_t>(info.param.set)].folder) +
               "_layout_" + std::to_string(info.param.layout);
    });

// The selection is read when the button is pressed, not when it changes.
TEST_F(SessionTest, SelectionChangeAloneChangesNothingUntilTheNextGame) {
    NewGame(0, 1);
    const auto clicks = SolveByClicks(session.board());
    ASSERT_TRUE(clicks.has_value());
    screen.selected = 1;
    Play(*clicks);
    session.Click(kEmptyHomeCell);
    EXPECT_EQ(screen.cells[kEmptyHomeCell].picture, (Piece{0, kCompletionPiece}));
    EXPECT_EQ(screen.preview, std::nullopt);

    NewGame(1, 1);
    NewGame(0, 1);  // back to the skull: the preview goes, every tile is a skull piece
    EXPECT_EQ(screen.preview, std::nullopt);
    for (Int16 i = 0; i < kDealtCells; ++i)
        EXPECT_EQ(screen.cells[static_cast<std::size_t>(i)].picture->set, 0) << i;
}

TEST_F(SessionTest, NothingSelectedDealsWhatTheStoreHolds) {
    NewGame(-1, 0);
    EXPECT_EQ(screen.cellDraws, 0);  // blank pictures, frames already on
    NewGame(1, 0);
    NewGame(-1, 2);
    EXPECT_EQ(screen.cells[0].picture, (Piece{1, static_cast<Int16>(LayoutTile(2, 0) - 1)}));
    EXPECT_EQ(screen.preview, std::optional<Int16>(1));
}

// Only what changed is drawn: a slide two cells, the same set again no preview.
TEST_F(SessionTest, ASlideDrawsItsTwoCellsAndARepeatedSetNoPreview) {
    NewGame(1, 0);
    const int previewDraws = screen.previewDraws;
    NewGame(1, 0);
    EXPECT_EQ(screen.previewDraws, previewDraws);

    screen.cellDraws = 0;
    session.Click(14);  // cell 14 slides right into the empty cell 15
    EXPECT_EQ(screen.cellDraws, 2);
    EXPECT_EQ(screen.cells[14].picture, std::nullopt);
    EXPECT_EQ(screen.cells[15].picture, (Piece{1, static_cast<Int16>(LayoutTile(0, 14) - 1)}));
}

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
    for (const Int16 cell : *clicks) {
        int empty = 0;
        while (session.Cell(static_cast<Int16>(empty)).picture) ++empty;
        EXPECT_EQ(ClickAndFollow(session, cell), empty) << "click on " << cell;
    }
    EXPECT_EQ(ClickAndFollow(session, 4), 4);
    EXPECT_EQ(screen.cells[kEmptyHomeCell].picture, (Piece{1, kCompletionPiece}));
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
