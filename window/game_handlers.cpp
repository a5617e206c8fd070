// The two handlers of play: a click on a cell, and a new game.
#include "board_view.h"
#include "form1.h"
#include "image_box.h"

void Form1::Image3_Click(tarpo::Int16 Index) { puzzle_.Click(Index); }

// The chosen set's pictures first, then the deal that shows them.
void Form1::Command1_Click() {
    LoadChosenSet(*List1, stores_, *Image3, *demo);
    puzzle_.Deal();
}
