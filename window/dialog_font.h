// The layout is fixed in pixels, so the text in it keeps the form's fonts at
// the form's pixel sizes whatever the desktop's font settings: a larger
// desktop font would cut captions that must fit their controls.
#pragma once

class QWidget;

// Gives `window`, everything in it and its menus the form's dialog font.
// Widgets with a font of their own (the label) keep theirs.
void UseDialogFont(QWidget* window);
