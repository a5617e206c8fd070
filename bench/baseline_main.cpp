// The yardstick for tarpo's start-up: a Qt Widgets window with the controls
// of tarpo's, laid out from the same form description, but without pictures
// and without a game: the menu bar with its three entries, the button, the
// list with its two entries, the wrapped bold italic coloured label and the
// sixteen empty cells in their 2-px sunken frames.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

#include "form_qt.h"

namespace form = tarpo::form;
using formqt::Text;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window.setWindowTitle(QStringLiteral("tarpo baseline"));
    auto* client = new QWidget(&window);
    client->setFixedSize(formqt::Size(form::kClientSize));
    window.setCentralWidget(client);

    for (int i = 0; i < form::kPieceCount; ++i) {
        auto* cell = new QFrame(client);
        cell->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        cell->setGeometry(formqt::Rect(form::CellRect(i, /*framed=*/true)));
    }
    auto* button = new QPushButton(Text(form::kNewGameCaption), client);
    button->setGeometry(formqt::Rect(form::kNewGameButtonRect));
    auto* list = new QListWidget(client);
    list->setGeometry(formqt::Rect(form::kPictureSetListRect));
    for (const form::PictureSet& set : form::kPictureSets) list->addItem(Text(set.name));
    list->setCurrentRow(0);
    auto* label = new QLabel(Text(form::kMottoText), client);
    label->setGeometry(formqt::Rect(form::kMottoRect));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setFont(formqt::Font(form::kMottoFont));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, formqt::Colour(form::kMottoColour));
    label->setPalette(palette);
    button->setFocus();

    QMenuBar* bar = window.menuBar();
    bar->addMenu(Text(form::kMenuCaption))->addAction(Text(form::kExitCaption));
    bar->addAction(Text(form::kHelpCaption));
    bar->addAction(Text(form::kAuthorCaption));

    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.show();
    return app.exec();
}
