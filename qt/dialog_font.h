// The layout is fixed in pixels, so its text keeps the form's fonts and pixel
// sizes whatever the desktop's font settings are. A larger desktop font would
// cut off captions that must fit their controls.
#pragma once

#include <QFont>

class QWidget;

// Gives `window`, its children and its menus the form's dialog font. Widgets
// with a font of their own, such as the label, keep it.
void UseDialogFont(QWidget* window);

// Qt makes a message box at least as wide as its title in the desktop's title
// font, so a large desktop font gives a wide, empty box. While a BoxTitleFont
// exists, message boxes measure their titles in the dialog font instead.
class BoxTitleFont {
  public:
    BoxTitleFont();
    ~BoxTitleFont();
    BoxTitleFont(const BoxTitleFont&) = delete;
    BoxTitleFont& operator=(const BoxTitleFont&) = delete;

  private:
    QFont desktop_;
};
