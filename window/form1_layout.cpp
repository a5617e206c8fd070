// The window's fixed layout, in pixels at 96 dpi, and its menu: every fact
// comes from the form description.
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
#include "form1.h"
#include "form_qt.h"
#include "image_box.h"
#include "picture_set_list.h"
#include "push_button.h"

namespace form = tarpo::form;
using formqt::Text;

Form1::Form1(PictureStores pictures, tarpo::LayoutDraw drawLayout, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      pictures_(std::move(pictures)),
      client_(new QWidget(this)) {
    BuildControls();
    BuildMenu();
    UseDialogFont(this);
    KeepFixedSize(this);
    session_.emplace(static_cast<tarpo::SessionView&>(*this), std::move(drawLayout));
}

void Form1::BuildControls() {
    InstallAccessibleRoles();
    setWindowTitle(Text(form::kTitle));
    client_->setFixedSize(formqt::Size(form::kClientSize));
    setCentralWidget(client_);

    // Later cells lie above earlier ones, so in the 4-px strip where two framed
    // cells overlap, the click goes to the cell drawn on top: the one with the
    // higher index (the right or lower neighbour).
    for (int i = 0; i < tarpo::kCellCount; ++i) {
        BoardCell* cell = Image3[static_cast<std::size_t>(i)] = new BoardCell(client_);
        cell->setObjectName(QStringLiteral("Image3_%1").arg(i));
        cell->setGeometry(formqt::Rect(form::CellRect(i, /*framed=*/true)));
        connect(cell, &ImageBox::clicked, this, [this, i] { Image3_Click(i); });
        connect(cell, &BoardCell::activated, this, [this, i] { FocusCell(PlayCell(i)); });
        connect(cell, &BoardCell::focusMoveRequested, this,
                [this, i](tarpo::FocusMove move) { FocusCell(tarpo::MoveFocus(i, move)); });
    }
    Image3[static_cast<std::size_t>(focusedCell_)]->setTabStop(true);

    Command1 = new PushButton(Text(form::kCommand1Caption), client_);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(formqt::Rect(form::kCommand1Rect));
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    List1 = new PictureSetList(client_);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(formqt::Rect(form::kList1Rect));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setAccessibleName(Text(form::kPictureSetListName));
    for (const form::PictureSet& set : form::kPictureSets) List1->addItem(Text(set.name));
    List1->setCurrentRow(0);

    demo = new ImageBox(client_);
    demo->setObjectName(QStringLiteral("demo"));
    demo->setGeometry(formqt::Rect(form::kDemoRect));

    Label1 = new QLabel(Text(form::kLabel1Caption), client_);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(formqt::Rect(form::kLabel1Rect));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setFont(formqt::Font(form::kLabel1Font));
    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::WindowText, formqt::Colour(form::kLabel1Colour));
    Label1->setPalette(labelPalette);

    announcement_ = new Announcement(client_);

    // Tab order: the button, the list, then the board, whose focused cell
    // alone is a Tab stop; nothing else takes focus.
    setTabOrder(Command1, List1);
    QWidget* previous = List1;
    for (BoardCell* cell : Image3) setTabOrder(std::exchange(previous, cell), cell);
    Command1->setFocus();

    // The window is exactly the client area plus the menu bar, and fixed.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Form1::BuildMenu() {
    QMenuBar* bar = menuBar();
    QMenu* mnumenu = bar->addMenu(Text(form::kMenuCaption));
    mnumenu->setObjectName(QStringLiteral("mnumenu"));
    QAction* exit = mnumenu->addAction(Text(form::kExitCaption));
    exit->setObjectName(QStringLiteral("exit"));
    connect(exit, &QAction::triggered, this, &Form1::exit_Click);

    // These two act from the menu bar itself, without a drop-down.
    QAction* help = bar->addAction(Text(form::kHelpCaption));
    help->setObjectName(QStringLiteral("help"));
    connect(help, &QAction::triggered, this, &Form1::help_Click);
    QAction* autor = bar->addAction(Text(form::kAuthorCaption));
    autor->setObjectName(QStringLiteral("autor"));
    connect(autor, &QAction::triggered, this, &Form1::autor_Click);
}
