// The two picture sets: the stores that hold their pieces, the step that loads
// the chosen set into the working tile store, and the completion of set 0.
#pragma once

#include <QPixmap>
#include <QString>
#include <array>
#include <stdexcept>

class ImageBox;
class QListWidget;

inline constexpr int kPieceCount = 16;
inline constexpr int kPieceSide = 80;
inline constexpr int kPreviewWidth = 62;
inline constexpr int kPreviewHeight = 72;
inline constexpr int kPreviewSlot = 16;  // Image4's element after the sixteen pieces

using TileStore = std::array<QPixmap, kPieceCount>;

// The hidden stores. Element p of a set holds piece p of its picture.
struct PictureStores {
    TileStore Image1;                             // set 0 ("Череп"); 15 empty until the join
    QPixmap Image2;                               // set 0's completion piece
    std::array<QPixmap, kPieceCount + 1> Image4;  // set 1 ("Дантист"), preview at 16
};

class PictureError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Decodes one BMP picture; throws PictureError naming it if it cannot be
// decoded or is not `expected` in size.
QPixmap LoadPicture(const QString& path, QSize expected);

// Decodes every picture carried in the program, once. Throws PictureError
// naming the first picture that is missing or not of its expected size.
PictureStores LoadPictureStores();

// Start-up join: set 0's store takes its completion piece as element 15.
void StartUpJoin(PictureStores& stores);

// Loads the set whose entry is selected in `List1` into `Image0` and shows its
// preview (or nothing) in `demo`. Nothing selected: nothing changes.
void PictureSetStep(const QListWidget& List1, const PictureStores& stores, TileStore& Image0,
                    ImageBox& demo);
