#include "pictures.h"

#include <cstdlib>
#include <cstring>

namespace win32 {

namespace {


std::wstring ResourceName(const tarpo::form::PicturePath& path) {
    return {path.data(), path.data() + std::char_traits<char>::length(path.data())};  // ASCII
}

// A bitmap resource as a DIB section of its own, or nothing if it is missing
// or not an uncompressed DIB. The resource is read where it lies in the
// program's image and its pixels copied once. (LoadImageW does the same
// through a device context for the screen, several times slower under Wine.)
Bitmap CreateFromResource(HINSTANCE instance, const std::wstring& name) {
    const HRSRC resource = FindResourceW(instance, name.c_str(), RT_BITMAP);
    if (resource == nullptr) return {};
    const DWORD size = SizeofResource(instance, resource);
    const auto* info =
        static_cast<const BITMAPINFO*>(LockResource(LoadResource(instance, resource)));
    if (info == nullptr || size < sizeof(BITMAPINFOHEADER)) return {};
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof header || header.biPlanes != 1 || header.biCompression != BI_RGB ||
        header.biWidth <= 0 || header.biBitCount == 0)
        return {};
    const std::size_t colours =
        header.biClrUsed != 0 ? header.biClrUsed
                              : (header.biBitCount <= 8 ? std::size_t{1} << header.biBitCount : 0);
    const std::size_t offset = header.biSize + colours * sizeof(RGBQUAD);
    const std::size_t stride =
        (static_cast<std::size_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const std::size_t bytes = stride * static_cast<std::size_t>(std::abs(header.biHeight));
    if (offset + bytes > size) return {};
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap) std::memcpy(bits, reinterpret_cast<const BYTE*>(info) + offset, bytes);
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
        [instance](int set, std::optional<tarpo::Int16> piece, tarpo::form::Size expected) {
            return Load(instance, piece ? PieceResourceName(set, *piece) : PreviewResourceName(set),
                        expected);
        });
}

}  // namespace win32
