// The file layout of the pictures the program carries: plain Windows bitmaps
// with a 40-byte information header, 24 bits per pixel, no compression, rows
// stored bottom-up and padded to 4 bytes. A front end that decodes them
// itself reads the layout here and copies the pixels into its own image.
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

    // The offset of image row `y`, counted from 0 at the top. Its pixels are
    // blue, green, red byte triples.
    std::size_t Row(int y) const {
        return pixels + static_cast<std::size_t>(height - 1 - y) * stride;
    }
};

// Reads the layout from the information header at `info` and the pixels at
// `pixels` in `data`. Returns nothing if `data` is not such a bitmap or is
// cut short.
inline std::optional<BitmapLayout> ReadInfoHeader(const unsigned char* data, std::size_t size,
                                                  std::size_t info, std::size_t pixels) {
    constexpr std::size_t kInfoSize = 40;
    constexpr std::int64_t kMaxSide = 4096;  // far above any picture of the game
    const auto u16 = [data](std::size_t at) { return data[at] | data[at + 1] << 8; };
    const auto u32 = [data](std::size_t at) {
        return std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8 |
               std::uint32_t{data[at + 2]} << 16 | std::uint32_t{data[at + 3]} << 24;
    };
    const auto s32 = [&u32](std::size_t at) { return static_cast<std::int32_t>(u32(at)); };
    if (data == nullptr || size < info + kInfoSize || pixels < info + kInfoSize) return {};
    const std::int64_t width = s32(info + 4);
    const std::int64_t height = s32(info + 8);
    if (u32(info) != kInfoSize || u16(info + 12) != 1 || u16(info + 14) != 24 ||
        u32(info + 16) != 0 || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return {};
    const std::size_t stride = static_cast<std::size_t>(width * 3 + 3) / 4 * 4;
    if (size < pixels + stride * static_cast<std::size_t>(height)) return {};
    return BitmapLayout{static_cast<int>(width), static_cast<int>(height), pixels, stride};
}

// A bitmap file: the 14-byte file header, then the information header.
inline std::optional<BitmapLayout> ReadBitmapLayout(const unsigned char* data, std::size_t size) {
    constexpr std::size_t kFileHeaderSize = 14;
    if (data == nullptr || size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') return {};
    const std::size_t pixels =
        data[10] | data[11] << 8 | std::size_t{data[12]} << 16 | std::size_t{data[13]} << 24;
    return ReadInfoHeader(data, size, kFileHeaderSize, pixels);
}

// A bitmap resource: the information header, then the pixels.
inline std::optional<BitmapLayout> ReadResourceLayout(const unsigned char* data, std::size_t size) {
    constexpr std::size_t kInfoSize = 40;
    return ReadInfoHeader(data, size, 0, kInfoSize);
}

}  // namespace tarpo::form
