#include "pictures.h"

#include <cstring>
#include <optional>

#include "bitmap_file.h"

namespace win32 {

namespace {

std::wstring ResourceName(const tarpo::form::PicturePath& path) {
    return {path.data(), path.data() + std::char_traits<char>::length(path.data())};  // ASCII
}

// Returns a bitmap resource as a DIB section of its own, or nothing if it is
// missing or not laid out as the carried pictures are. The resource is read in
// place and its pixels are copied once. LoadImageW would do the same through a
// screen device context, several times slower under Wine.
Bitmap CreateFromResource(HINSTANCE instance, const std::wstring& name) {
    const HRSRC resource = FindResourceW(instance, name.c_str(), RT_BITMAP);
    if (resource == nullptr) return {};
    const auto* data =
        static_cast<const unsigned char*>(LockResource(LoadResource(instance, resource)));
    const std::optional<tarpo::form::BitmapLayout> layout =
        tarpo::form::ReadResourceLayout(data, SizeofResource(instance, resource));
    if (!layout) return {};
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(data),
                                   DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap)
        std::memcpy(bits, data + layout->pixels,
                    layout->stride * static_cast<std::size_t>(layout->height));
    return bitmap;
}

Bitmap Load(HINSTANCE instance, const std::wstring& name, tarpo::form::Size expected) {
    Bitmap bitmap = CreateFromResource(instance, name);
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap.get(), sizeof info, &info) == 0 ||
        info.bmWidth != expected.width || info.bmHeight != expected.height) {
        throw PictureError(name);
    }
    return bitmap;
}

}  // namespace

std::wstring PieceResourceName(int set, int piece) {
    return ResourceName(tarpo::form::PiecePath(set, piece));
}

std::wstring PreviewResourceName(int set) { return ResourceName(tarpo::form::PreviewPath(set)); }

PictureStores LoadPictureStores(HINSTANCE instance) {
    return tarpo::LoadPictureStores<Bitmap>(
        [instance](int set, std::optional<int> piece, tarpo::form::Size expected) {
            return Load(instance, piece ? PieceResourceName(set, *piece) : PreviewResourceName(set),
                        expected);
        });
}

}  // namespace win32
