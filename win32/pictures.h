// The pictures of the two picture sets, decoded once from the program's
// bitmap resources.
#pragma once

#include <windows.h>

#include <array>
#include <stdexcept>
#include <string>

#include "form.h"
#include "handles.h"
#include "session.h"

namespace win32 {

// Every picture the program carries: piece p of set s in pieces[s][p], and
// each set's preview (none for a set without one).
struct PictureStores {
    std::array<std::array<Bitmap, tarpo::form::kPieceCount>, tarpo::kSetCount> pieces;
    std::array<Bitmap, tarpo::kSetCount> previews;

    HBITMAP operator[](tarpo::Piece piece) const {
        return pieces[static_cast<std::size_t>(piece.set)][static_cast<std::size_t>(piece.piece)]
            .get();
    }
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

}  // namespace win32
