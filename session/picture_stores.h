// The pictures the program carries, decoded once at start-up into a front
// end's own image type and kept by (set, piece): piece p of set s, and each
// set's preview (an empty image for a set without one).
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "form.h"
#include "session.h"

namespace tarpo {

template <typename Image>
struct PictureStores {
    std::array<std::array<Image, form::kPieceCount>, kSetCount> pieces;
    std::array<Image, kSetCount> previews;

    const Image& operator[](Piece p) const {
        return pieces[static_cast<std::size_t>(p.set)][static_cast<std::size_t>(p.piece)];
    }
    const Image& Preview(int set) const { return previews[static_cast<std::size_t>(set)]; }
};

// Every picture of every set, in list order, from `load(set, piece, size)`:
// `piece` is nothing for the set's preview, `size` the size the form gives
// the picture. `load` reports a picture it cannot decode.
template <typename Image, typename Load>
PictureStores<Image> LoadPictureStores(Load load) {
    PictureStores<Image> stores;
    for (int s = 0; s < kSetCount; ++s) {
        const auto set = static_cast<std::size_t>(s);
        for (int p = 0; p < form::kPieceCount; ++p) {
            stores.pieces[set][static_cast<std::size_t>(p)] =
                load(s, std::optional<int>(p), form::Size{form::kPieceSide, form::kPieceSide});
        }
        if (form::kPictureSets[set].hasPreview)
            stores.previews[set] = load(s, std::optional<int>(), form::kPreviewSize);
    }
    return stores;
}

}  // namespace tarpo
