// What runs once when the window is created, before it is shown.
#include <QListWidget>
#include <QPushButton>

#include "form1.h"
#include "form_qt.h"

namespace form = tarpo::form;
using formqt::Text;

void Form1::Form_Initialize() {
    for (const form::PictureSet& set : form::kPictureSets) List1->addItem(Text(set.name));
    List1->setCurrentRow(0);
}

void Form1::Form_Load() {
    setWindowTitle(Text(form::kTitle));
    Command1->setText(Text(form::kCommand1Caption));
    StartUpJoin(stores_);
    puzzle_.Reset();
}
