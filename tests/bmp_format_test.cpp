// The 33 picture files carried by the program: every header field, the sizes
// and the zero padding at the end of each row.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct PictureFile {
    std::string path;  // relative to the source tree
    int width;
    int height;
};

std::vector<PictureFile> AllPictures() {
    std::vector<PictureFile> files;
    for (const char* set : {"skull", "dentist"}) {
        for (int p = 0; p < 16; ++p) {
            char name[64];
            std::snprintf(name, sizeof name, "assets/%s/piece%02d.bmp", set, p);
            files.push_back({name, 80, 80});
        }
    }
    files.push_back({"assets/dentist/preview.bmp", 62, 72});
    return files;
}

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

class PictureFormat : public ::testing::TestWithParam<PictureFile> {};

TEST_P(PictureFormat, IsAPlainUncompressed24BitBitmap) {
    const PictureFile& file = GetParam();
    std::ifstream in(std::string(TARPO_SOURCE_DIR) + "/" + file.path, std::ios::binary);
    ASSERT_TRUE(in) << file.path;
    const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};

    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(file.width) * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(file.height);
    ASSERT_EQ(b.size(), 54 + pixelBytes);

    // File header.
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32(b, 2), b.size());
    EXPECT_EQ(U16(b, 6), 0);
    EXPECT_EQ(U16(b, 8), 0);
    EXPECT_EQ(U32(b, 10), 54u);
    // Information header.
    EXPECT_EQ(U32(b, 14), 40u);
    EXPECT_EQ(static_cast<std::int32_t>(U32(b, 18)), file.width);
    EXPECT_EQ(static_cast<std::int32_t>(U32(b, 22)), file.height);  // positive: bottom-up
    EXPECT_EQ(U16(b, 26), 1);                                       // planes
    EXPECT_EQ(U16(b, 28), 24);                                      // bits per pixel
    EXPECT_EQ(U32(b, 30), 0u);                                      // no compression
    EXPECT_EQ(U32(b, 34), pixelBytes);
    EXPECT_EQ(U32(b, 38), 0u);  // resolution
    EXPECT_EQ(U32(b, 42), 0u);
    EXPECT_EQ(U32(b, 46), 0u);  // colours used: no colour table
    EXPECT_EQ(U32(b, 50), 0u);

    // Padding bytes at the end of every row are zero.
    const std::uint32_t used = static_cast<std::uint32_t>(file.width) * 3;
    for (int row = 0; row < file.height; ++row) {
        for (std::uint32_t i = used; i < rowBytes; ++i)
            ASSERT_EQ(b[54 + static_cast<std::uint32_t>(row) * rowBytes + i], 0) << "row " << row;
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, PictureFormat, ::testing::ValuesIn(AllPictures()),
                         [](const auto& info) {
                             std::string name = info.param.path.substr(7);  // drop "assets/"
                             for (char& c : name)
                                 if (c == '/' || c == '.') c = '_';
                             return name;
                         });

}  // namespace
