#include "pictures.h"

namespace win32 {

namespace {

using tarpo::form::kPictureSets;

std::wstring ResourceName(int set, const char* file) {
    std::string path = kPictureSets[static_cast<std::size_t>(set)].folder;
    path += '/';
    path += file;
    return {path.begin(), path.end()};  // ASCII
}

Bitmap Load(HINSTANCE instance, const std::wstring& name, tarpo::form::Size expected) {
    Bitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap.get(), sizeof info, &info) == 0 ||
        info.bmWidth != expected.width || info.bmHeight != expected.height) {
        throw PictureError(name);
    }
    return bitmap;
}

}  // namespace

std::wstring PieceResourceName(int set, int piece) {
    return ResourceName(set, tarpo::form::PieceFileName(piece).data());
}

std::wstring PreviewResourceName(int set) { return ResourceName(set, tarpo::form::kPreviewFile); }

PictureStores LoadPictureStores(HINSTANCE instance) {
    return tarpo::LoadPictureStores<Bitmap>(
        [instance](int set, std::optional<tarpo::Int16> piece, tarpo::form::Size expected) {
            return Load(instance, piece ? PieceResourceName(set, *piece) : PreviewResourceName(set),
                        expected);
        });
}

}  // namespace win32
