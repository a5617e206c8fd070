// The window's fixed layout, in pixels at 96 dpi, and its menu: every fact
// comes from the form description.
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

#include "dialog_font.h"
#include "fixed_size.h"
#include "form1.h"
#include "form_qt.h"
#include "image_box.h"
#include "latin_mnemonics.h"
#include "picture_set_list.h"
#include "push_button.h"

namespace form = tarpo::form;
using formqt::Text;

Form1::Form1(PictureStores pictures, tarpo::LayoutDraw drawLayout, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      pictures_(std::move(pictures)),
      session_(*this, std::move(drawLayout)),
      client_(new QWidget(this)) {
    BuildControls();
    BuildMenu();
    UseDialogFont(this);
    KeepFixedSize(this);
    Form_Initialize();
    Form_Load();
}

void Form1::BuildControls() {
    setWindowTitle(Text(form::kPlaceholderTitle));
    client_->setFixedSize(formqt::Size(form::kClientSize));
    setCentralWidget(client_);

    // Later cells lie above earlier ones, so in the 4-px strip where two framed
    // cells overlap, the click goes to the cell drawn on top: the one with the
    // higher index (the right or lower neighbour).
    for (tarpo::Int16 i = 0; i < tarpo::kCellCount; ++i) {
        ImageBox* cell = Image3[static_cast<std::size_t>(i)] = new ImageBox(client_);
        cell->setObjectName(QStringLiteral("Image3_%1").arg(i));
        cell->setGeometry(formqt::Rect(form::CellRect(i, /*framed=*/true)));
        cell->setFramed(true);
        connect(cell, &ImageBox::clicked, this, [this, i] { Image3_Click(i); });
    }

    Command1 = new PushButton(Text(form::kCommand1Placeholder), client_);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(formqt::Rect(form::kCommand1Rect));
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    List1 = new PictureSetList(client_);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(formqt::Rect(form::kList1Rect));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

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

    // Tab order: the button first, then the list; nothing else takes focus.
    setTabOrder(Command1, List1);
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

    // Alt+H and Alt+A also where the keyboard layout types another script.
    new LatinMnemonics(this);
}
