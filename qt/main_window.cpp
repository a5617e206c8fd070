// Builds the window's controls and menu from the form description. The
// layout is fixed, in pixels at 96 dpi.
#include "main_window.h"

#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <utility>

#include "accessible_texts.h"
#include "board_cell.h"
#include "dialog_font.h"
#include "fixed_size.h"
#include "form_qt.h"
#include "image_box.h"
#include "latin_mnemonics.h"
#include "picture_set_list.h"
#include "push_button.h"

namespace form = tarpo::form;
using formqt::Text;

MainWindow::MainWindow(PictureStores pictures, std::uint32_t seed, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      pictures_(std::move(pictures)),
      client_(new QWidget(this)) {
    BuildControls();
    BuildMenu();
    UseDialogFont(this);
    KeepFixedSize(this);
    session_.emplace(static_cast<tarpo::SessionView&>(*this), seed);
    ShowBoardFocus(false);
}

void MainWindow::BuildControls() {
    InstallAccessibleRoles();
    setWindowTitle(Text(form::kTitle));
    client_->setFixedSize(formqt::Size(form::kClientSize));
    setCentralWidget(client_);

    // Later cells lie above earlier ones. Where two framed cells overlap by
    // 4 px, a click goes to the one on top: the right or lower neighbour.
    for (int i = 0; i < tarpo::kCellCount; ++i) {
        BoardCell* cell = cells_[static_cast<std::size_t>(i)] = new BoardCell(client_);
        cell->setObjectName(QStringLiteral("cell_%1").arg(i));
        cell->setGeometry(formqt::Rect(form::CellRect(i, /*framed=*/true)));
        connect(cell, &ImageBox::clicked, this, [this, i] { OnCellClicked(i); });
        connect(cell, &BoardCell::activated, this, [this, i] {
            session_->Activate(i);
            ShowBoardFocus(true);
        });
        cell->setKeyHandler([this, i](const tarpo::KeyPress& key) {
            if (!session_->Press(i, key)) return false;
            ShowBoardFocus(true);
            return true;
        });
    }

    newGameButton_ = new PushButton(Text(form::kNewGameCaption), client_);
    newGameButton_->setObjectName(QStringLiteral("newGameButton"));
    newGameButton_->setGeometry(formqt::Rect(form::kNewGameButtonRect));
    newGameButton_->setAutoDefault(false);
    connect(newGameButton_, &QPushButton::clicked, this, &MainWindow::OnNewGame);

    pictureSetList_ = new PictureSetList(client_);
    pictureSetList_->setObjectName(QStringLiteral("pictureSetList"));
    pictureSetList_->setGeometry(formqt::Rect(form::kPictureSetListRect));
    pictureSetList_->setSelectionMode(QAbstractItemView::SingleSelection);
    pictureSetList_->setAccessibleName(Text(form::kPictureSetListName));
    for (const form::PictureSet& set : form::kPictureSets) pictureSetList_->addItem(Text(set.name));
    pictureSetList_->setCurrentRow(0);

    preview_ = new ImageBox(client_);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setGeometry(formqt::Rect(form::kPreviewRect));

    motto_ = new QLabel(Text(form::kMottoText), client_);
    motto_->setObjectName(QStringLiteral("motto"));
    motto_->setGeometry(formqt::Rect(form::kMottoRect));
    motto_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    motto_->setWordWrap(true);
    motto_->setFont(formqt::Font(form::kMottoFont));
    QPalette labelPalette = motto_->palette();
    labelPalette.setColor(QPalette::WindowText, formqt::Colour(form::kMottoColour));
    motto_->setPalette(labelPalette);

    announcement_ = new Announcement(client_);

    // Tab goes from the button to the list, then to the board. Only the
    // board's focused cell is a Tab stop, and nothing else takes focus.
    setTabOrder(newGameButton_, pictureSetList_);
    QWidget* previous = pictureSetList_;
    for (BoardCell* cell : cells_) setTabOrder(std::exchange(previous, cell), cell);
    newGameButton_->setFocus();

    // The window is exactly the client area plus the menu bar, and fixed.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::BuildMenu() {
    QMenuBar* bar = menuBar();
    QMenu* menu = bar->addMenu(Text(form::kMenuCaption));
    menu->setObjectName(QStringLiteral("menu"));
    QAction* exit = menu->addAction(Text(form::kExitCaption));
    exit->setObjectName(QStringLiteral("exit"));
    connect(exit, &QAction::triggered, this, &MainWindow::OnExit);

    // These two are commands on the menu bar itself, without a drop-down.
    QAction* help = bar->addAction(Text(form::kHelpCaption));
    help->setObjectName(QStringLiteral("help"));
    connect(help, &QAction::triggered, this, &MainWindow::OnHelp);
    QAction* author = bar->addAction(Text(form::kAuthorCaption));
    author->setObjectName(QStringLiteral("author"));
    connect(author, &QAction::triggered, this, &MainWindow::OnAuthor);

    // Make Alt+H and Alt+A work on keyboard layouts of other scripts too.
    new LatinMnemonics(this);
}
