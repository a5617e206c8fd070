// The window's fixed layout, in pixels at 96 dpi, and its menu: every fact
// comes from the form description.
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

    // Later cells lie above earlier ones, so in the 4-px strip where two framed
    // cells overlap, the click goes to the cell drawn on top: the one with the
    // higher index (the right or lower neighbour).
    for (int i = 0; i < tarpo::kCellCount; ++i) {
        BoardCell* cell = cells[static_cast<std::size_t>(i)] = new BoardCell(client_);
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

    newGameButton = new PushButton(Text(form::kNewGameCaption), client_);
    newGameButton->setObjectName(QStringLiteral("newGameButton"));
    newGameButton->setGeometry(formqt::Rect(form::kNewGameButtonRect));
    newGameButton->setAutoDefault(false);
    connect(newGameButton, &QPushButton::clicked, this, &MainWindow::OnNewGame);

    pictureSetList = new PictureSetList(client_);
    pictureSetList->setObjectName(QStringLiteral("pictureSetList"));
    pictureSetList->setGeometry(formqt::Rect(form::kPictureSetListRect));
    pictureSetList->setSelectionMode(QAbstractItemView::SingleSelection);
    pictureSetList->setAccessibleName(Text(form::kPictureSetListName));
    for (const form::PictureSet& set : form::kPictureSets) pictureSetList->addItem(Text(set.name));
    pictureSetList->setCurrentRow(0);

    preview = new ImageBox(client_);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setGeometry(formqt::Rect(form::kPreviewRect));

    motto = new QLabel(Text(form::kMottoText), client_);
    motto->setObjectName(QStringLiteral("motto"));
    motto->setGeometry(formqt::Rect(form::kMottoRect));
    motto->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    motto->setWordWrap(true);
    motto->setFont(formqt::Font(form::kMottoFont));
    QPalette labelPalette = motto->palette();
    labelPalette.setColor(QPalette::WindowText, formqt::Colour(form::kMottoColour));
    motto->setPalette(labelPalette);

    announcement_ = new Announcement(client_);

    // Tab order: the button, the list, then the board, whose focused cell
    // alone is a Tab stop; nothing else takes focus.
    setTabOrder(newGameButton, pictureSetList);
    QWidget* previous = pictureSetList;
    for (BoardCell* cell : cells) setTabOrder(std::exchange(previous, cell), cell);
    newGameButton->setFocus();

    // The window is exactly the client area plus the menu bar, and fixed.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::BuildMenu() {
    QMenuBar* bar = menuBar();
    QMenu* mnumenu = bar->addMenu(Text(form::kMenuCaption));
    mnumenu->setObjectName(QStringLiteral("mnumenu"));
    QAction* exit = mnumenu->addAction(Text(form::kExitCaption));
    exit->setObjectName(QStringLiteral("exit"));
    connect(exit, &QAction::triggered, this, &MainWindow::OnExit);

    // These two act from the menu bar itself, without a drop-down.
    QAction* help = bar->addAction(Text(form::kHelpCaption));
    help->setObjectName(QStringLiteral("help"));
    connect(help, &QAction::triggered, this, &MainWindow::OnHelp);
    QAction* autor = bar->addAction(Text(form::kAuthorCaption));
    autor->setObjectName(QStringLiteral("autor"));
    connect(autor, &QAction::triggered, this, &MainWindow::OnAuthor);

    // Alt+H and Alt+A also where the keyboard layout types another script.
    new LatinMnemonics(this);
}
