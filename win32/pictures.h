// The two picture sets: the stores that hold their pieces, decoded once from
// the program's bitmap resources, the step that loads the chosen set into the
// working tile store, and the completion of set 0.
#pragma once

#include <windows.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "form.h"
#include "handles.h"

namespace win32 {

class ImageBox;

inline constexpr int kPreviewSlot = tarpo::form::kPieceCount;  // Image4's element after the pieces

using TileStore = std::array<HBITMAP, tarpo::form::kPieceCount>;

// The hidden stores. Element p of a set holds piece p of its picture. They
// refer to bitmaps that `owned` keeps for the life of the window.
struct PictureStores {
    TileStore Image1{};                                          // set 0; 15 empty until the join
    HBITMAP Image2 = nullptr;                                    // set 0's completion piece
    std::array<HBITMAP, tarpo::form::kPieceCount + 1> Image4{};  // set 1, preview at 16
    std::vector<Bitmap> owned;
};

// A bitmap resource that is missing or not the size the form expects.
class PictureError : public std::runtime_error {
  public:
    explicit PictureError(std::wstring name)
        : std::runtime_error("picture resource"), name_(std::move(name)) {}
    const std::wstring& name() const { return name_; }

  private:
    std::wstring name_;
};

// The resource name of a picture: its path under assets/, "skull/piece03.bmp".
std::wstring PieceResourceName(int set, int piece);
std::wstring PreviewResourceName(int set);

// Decodes every picture the program carries, once. Throws PictureError naming
// the first one that is missing or unreadable.
PictureStores LoadPictureStores(HINSTANCE instance);

// Start-up join: set 0's store takes its completion piece as element 15.
void StartUpJoin(PictureStores& stores);

// Loads the set whose entry is selected in `List1` into `Image0` and shows its
// preview (or nothing) in `demo`. Nothing selected: nothing changes.
void PictureSetStep(HWND List1, const PictureStores& stores, TileStore& Image0, ImageBox& demo);

}  // namespace win32
