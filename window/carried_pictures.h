// The pictures the program carries, as arrays of pixels ready to be shown
// (generated at build time from assets/ by tools/bmp-to-pixels).
#pragma once

#include <cstddef>
#include <cstdint>

struct CarriedPicture {
    const char* name;  // "skull/piece00" ... "dentist/preview"
    int width;
    int height;
    // width * height pixels, rows top-down, each 0xFFRRGGBB
    // (QImage::Format_RGB32), 16-byte aligned.
    const std::uint32_t* pixels;
};

extern const CarriedPicture kCarriedPictures[];
extern const std::size_t kCarriedPictureCount;
