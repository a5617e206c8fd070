// The window's fixed layout, in pixels at 96 dpi, and its menu.
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

#include "fixed_size.h"
#include "form1.h"
#include "image_box.h"
#include "picture_set_list.h"
#include "push_button.h"

namespace {

constexpr QSize kClientSize(456, 343);  // below the menu bar

// Cell i has its top-left corner at kBoardOrigin + kCellPitch * (column, row).
constexpr QPoint kBoardOrigin(8, 8);
constexpr int kCellPitch = 80;
constexpr int kFramedCellSide = 84;  // an 80-px piece plus a 2-px frame on each side

constexpr QRect kButtonRect(344, 8, 105, 41);
constexpr QRect kListRect(344, 56, 105, 56);
constexpr QRect kPreviewRect(344, 120, 73, 81);
constexpr QRect kLabelRect(352, 208, 89, 33);

constexpr QColor kLabelColour(192, 0, 0);
// "MS Sans Serif" 9.75 pt at 96 dpi; fontconfig matches it to an installed sans.
constexpr int kLabelPixelSize = 13;

}  // namespace

Form1::Form1(PictureStores pictures, tarpo::LayoutDraw drawLayout, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      stores_(std::move(pictures)),
      puzzle_(*this, std::move(drawLayout)) {
    BuildControls();
    BuildMenu();
    KeepFixedSize(this);
    Form_Initialize();
    Form_Load();
}

void Form1::BuildControls() {
    setWindowTitle(QStringLiteral("Form1"));
    auto* client = new QWidget(this);
    client->setFixedSize(kClientSize);
    setCentralWidget(client);

    // Later cells lie above earlier ones, so in the 4-px strip where two framed
    // cells overlap, the click goes to the cell drawn on top: the one with the
    // higher index (the right or lower neighbour).
    for (tarpo::Int16 i = 0; i < tarpo::kCellCount; ++i) {
        auto* box = new ImageBox(client);
        box->setObjectName(QStringLiteral("Image3_%1").arg(i));
        box->setGeometry(kBoardOrigin.x() + kCellPitch * tarpo::ColOf(i),
                         kBoardOrigin.y() + kCellPitch * tarpo::RowOf(i), kFramedCellSide,
                         kFramedCellSide);
        box->setFramed(true);
        connect(box, &ImageBox::clicked, this, [this, i] { Image3_Click(i); });
        Image3[static_cast<std::size_t>(i)] = box;
    }

    Command1 = new PushButton(QStringLiteral("Command1"), client);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(kButtonRect);
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    List1 = new PictureSetList(client);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(kListRect);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    demo = new ImageBox(client);
    demo->setObjectName(QStringLiteral("demo"));
    demo->setGeometry(kPreviewRect);

    Label1 = new QLabel(QStringLiteral("ТЛК is the       best !"), client);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(kLabelRect);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    QFont labelFont(QStringLiteral("MS Sans Serif"));
    labelFont.setPixelSize(kLabelPixelSize);
    labelFont.setBold(true);
    labelFont.setItalic(true);
    Label1->setFont(labelFont);
    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::WindowText, kLabelColour);
    Label1->setPalette(labelPalette);

    // Tab order: the button first, then the list; nothing else takes focus.
    setTabOrder(Command1, List1);
    Command1->setFocus();

    // The window is exactly the client area plus the menu bar, and fixed.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Form1::BuildMenu() {
    QMenuBar* bar = menuBar();
    QMenu* mnumenu = bar->addMenu(QStringLiteral("&Меню"));
    mnumenu->setObjectName(QStringLiteral("mnumenu"));
    QAction* exit = mnumenu->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("exit"));
    connect(exit, &QAction::triggered, this, &Form1::exit_Click);

    // These two act from the menu bar itself, without a drop-down.
    QAction* help = bar->addAction(QStringLiteral("&Heeeelp"));
    help->setObjectName(QStringLiteral("help"));
    connect(help, &QAction::triggered, this, &Form1::help_Click);
    // The first letter is the Latin A, so Alt+A (Latin) is its mnemonic.
    QAction* autor = bar->addAction(QStringLiteral("&A\u0432\u0442\u043e\u0440 !"));
    autor->setObjectName(QStringLiteral("autor"));
    connect(autor, &QAction::triggered, this, &Form1::autor_Click);
}

void Form1::ShowTile(tarpo::Int16 cell, tarpo::Int16 tile) {
    Image3[static_cast<std::size_t>(cell)]->setPicture(Image0[static_cast<std::size_t>(tile - 1)]);
}

void Form1::ShowCompletionPiece() {
    Image3[tarpo::kEmptyHomeCell]->setPicture(Image0[kPieceCount - 1]);
}

void Form1::ClearCell(tarpo::Int16 cell) {
    Image3[static_cast<std::size_t>(cell)]->setPicture(QPixmap());
}

void Form1::SetFrame(tarpo::Int16 cell, bool on) {
    Image3[static_cast<std::size_t>(cell)]->setFramed(on);
}
