// The layout is fixed in pixels, so the text in it keeps the form's fonts at
// the form's pixel sizes whatever the desktop's font settings: a larger
// desktop font would cut captions that must fit their controls.
#pragma once

#include <QFont>

class QWidget;

// Gives `window`, everything in it and its menus the form's dialog font.
// Widgets with a font of their own (the label) keep theirs.
void UseDialogFont(QWidget* window);

// A message box makes itself at least as wide as its title measured in the
// desktop's title font (from the platform theme, so a large desktop font
// makes the box wide and empty), although its text keeps the dialog font.
// While a BoxTitleFont lives, the box measures its title in the dialog font
// too, and so is sized by its own text.
class BoxTitleFont {
  public:
    BoxTitleFont();
    ~BoxTitleFont();
    BoxTitleFont(const BoxTitleFont&) = delete;
    BoxTitleFont& operator=(const BoxTitleFont&) = delete;

  private:
    QFont desktop_;
};
