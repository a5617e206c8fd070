#include "pictures.h"

#include <cstdlib>
#include <cstring>

#include "image_box.h"

namespace win32 {

namespace {

using tarpo::form::kPieceCount;
using tarpo::form::kPieceSide;
using tarpo::form::kPreviewSize;

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

HBITMAP Load(HINSTANCE instance, const std::wstring& name, tarpo::form::Size expected,
             std::vector<Bitmap>& owned) {
    Bitmap bitmap = CreateFromResource(instance, name);
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap.get(), sizeof info, &info) == 0 ||
        info.bmWidth != expected.width || info.bmHeight != expected.height) {
        throw PictureError(name);
    }
    owned.push_back(std::move(bitmap));
    return owned.back().get();
}

}  // namespace

std::wstring PieceResourceName(int set, int piece) {
    return ResourceName(tarpo::form::PiecePath(set, piece));
}

std::wstring PreviewResourceName(int set) { return ResourceName(tarpo::form::PreviewPath(set)); }

PictureStores LoadPictureStores(HINSTANCE instance) {
    constexpr tarpo::form::Size piece{kPieceSide, kPieceSide};
    constexpr int kSkull = 0;
    constexpr int kDentist = 1;
    PictureStores stores;
    for (int p = 0; p < kPieceCount - 1; ++p)
        stores.Image1[p] = Load(instance, PieceResourceName(kSkull, p), piece, stores.owned);
    stores.Image2 = Load(instance, PieceResourceName(kSkull, kPieceCount - 1), piece, stores.owned);
    for (int p = 0; p < kPieceCount; ++p)
        stores.Image4[p] = Load(instance, PieceResourceName(kDentist, p), piece, stores.owned);
    stores.Image4[kPreviewSlot] =
        Load(instance, PreviewResourceName(kDentist), kPreviewSize, stores.owned);
    return stores;
}

void StartUpJoin(PictureStores& stores) { stores.Image1[kPieceCount - 1] = stores.Image2; }

void PictureSetStep(HWND List1, const PictureStores& stores, TileStore& Image0, ImageBox& demo) {
    // Every selected entry is looked at, in order; the list allows only one.
    const auto last = static_cast<int>(SendMessageW(List1, LB_GETCOUNT, 0, 0)) - 1;
    for (int i = 0; i <= last; ++i) {
        if (SendMessageW(List1, LB_GETSEL, static_cast<WPARAM>(i), 0) <= 0) continue;
        if (i == 0) {
            for (int p = 0; p < kPieceCount; ++p) Image0[p] = stores.Image1[p];
            demo.SetPicture(nullptr);
        } else if (i == 1) {
            for (int p = 0; p < kPieceCount; ++p) Image0[p] = stores.Image4[p];
            demo.SetPicture(stores.Image4[kPreviewSlot]);
        }
    }
}

}  // namespace win32
