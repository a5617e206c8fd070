// The pictures of the two picture sets, decoded once from the program's
// bitmap resources.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "handles.h"
#include "picture_stores.h"

namespace win32 {

using PictureStores = tarpo::PictureStores<Bitmap>;

// Thrown for a bitmap resource that is missing or not the size the form
// expects.
class PictureError : public std::runtime_error {
  public:
    explicit PictureError(std::wstring name)
        : std::runtime_error("picture resource"), name_(std::move(name)) {}
    const std::wstring& name() const { return name_; }

  private:
    std::wstring name_;
};

// A picture's resource name is its path under assets/: "skull/piece03.bmp".
std::wstring PieceResourceName(int set, int piece);
std::wstring PreviewResourceName(int set);

// Decodes every picture in the program once. Throws PictureError naming the
// first one that is missing or unreadable.
PictureStores LoadPictureStores(HINSTANCE instance);

}  // namespace win32
