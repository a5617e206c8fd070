// The file layout of the pictures the program carries: plain Windows bitmaps
// with a 40-byte information header, 24 bits per pixel, no compression, rows
// bottom-up and padded to 4 bytes. A front end that decodes them itself reads
// the layout here and copies the pixels into its own image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tarpo::form {

struct BitmapLayout {
    int width;
    int height;
    std::size_t pixels;  // the offset of the bottom row
    std::size_t stride;  // bytes per row, padding included

    // The offset of image row `y` (0 at the top); its pixels are blue, green,
    // red byte triples.
    std::size_t Row(int y) const {
        return pixels + static_cast<std::size_t>(height - 1 - y) * stride;
    }
};

// The layout of the bitmap in `data`, or nothing if it is not such a bitmap
// (another layout, or cut short).
inline std::optional<BitmapLayout> ReadBitmapLayout(const unsigned char* data, std::size_t size) {
    constexpr std::size_t kHeadersSize = 14 + 40;  // file header + information header
    constexpr std::int64_t kMaxSide = 4096;        // far above any picture of the game
    const auto u16 = [data](std::size_t at) { return data[at] | data[at + 1] << 8; };
    const auto u32 = [data](std::size_t at) {
        return std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8 |
               std::uint32_t{data[at + 2]} << 16 | std::uint32_t{data[at + 3]} << 24;
    };
    const auto s32 = [&u32](std::size_t at) { return static_cast<std::int32_t>(u32(at)); };
    if (data == nullptr || size < kHeadersSize || data[0] != 'B' || data[1] != 'M') return {};
    const std::uint32_t offset = u32(10);
    const std::int64_t width = s32(18);
    const std::int64_t height = s32(22);
    if (u32(14) != 40 || u16(26) != 1 || u16(28) != 24 || u32(30) != 0 || width <= 0 ||
        height <= 0 || width > kMaxSide || height > kMaxSide || offset < kHeadersSize)
        return {};
    const std::size_t stride = static_cast<std::size_t>(width * 3 + 3) / 4 * 4;
    if (size < offset + stride * static_cast<std::size_t>(height)) return {};
    return BitmapLayout{static_cast<int>(width), static_cast<int>(height), offset, stride};
}

}  // namespace tarpo::form
