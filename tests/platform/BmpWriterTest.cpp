#include "platform/BmpWriter.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <limits>
#include <system_error>
#include <vector>

#include "tests/platform/TempDir.h"

namespace {

std::uint32_t Field(const std::uint8_t* bytes, int offset, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[offset + i];
    return value;
}

TEST(BmpLayout, SizesAndOffsets) {
    struct Case {
        const char* name;
        std::int32_t width, height;
        int bpp;
        BmpLayout expected;  // stride, imageSize, colours, offBits, fileSize
    };
    const Case cases[] = {
        {"300x200 at 32 bits", 300, 200, 32, {1200, 240000, 0, 54, 240054}},
        {"301x200 at 24 bits pads 903 to 904", 301, 200, 24, {904, 180800, 0, 54, 180854}},
        {"8 bits carry 256 colours", 300, 200, 8, {300, 60000, 256, 1078, 61078}},
        {"zero width at 32 bits", 0, 200, 32, {0, 0, 0, 54, 54}},
        {"zero height at 24 bits", 301, 0, 24, {904, 0, 0, 54, 54}},
        {"zero size at 8 bits keeps its colour table", 0, 0, 8, {0, 0, 256, 1078, 1078}},
        {"1 bit: one pixel fills a 4-byte row", 1, 3, 1, {4, 12, 2, 62, 74}},
        {"4 bits: 36 bits round up to 8 bytes", 9, 2, 4, {8, 16, 16, 118, 134}},
        {"16 bits: 6 bytes round up to 8", 3, 1, 16, {8, 8, 0, 54, 62}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<BmpLayout> layout = BmpLayoutFor(c.width, c.height, c.bpp);
        ASSERT_TRUE(layout.has_value());
        EXPECT_EQ(*layout, c.expected);
    }
}

TEST(BmpLayout, RefusesWhatNoFileCanHold) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    for (int bpp : {0, 2, 12, 15, 64}) EXPECT_FALSE(BmpLayoutFor(10, 10, bpp)) << bpp;
    EXPECT_FALSE(BmpLayoutFor(-1, 10, 32));
    EXPECT_FALSE(BmpLayoutFor(10, -1, 32));
    EXPECT_FALSE(BmpLayoutFor(40000, 40000, 32));  // 6.4 GB: beyond the 32-bit file size
    EXPECT_FALSE(BmpLayoutFor(kMax, 1, 32));       // a row alone overflows 32 bits
    EXPECT_TRUE(BmpLayoutFor(kMax, 0, 1));         // 256 MB per row, but no rows
}

TEST(BmpHeaders, EveryFieldOfThe32BitExample) {
    const BmpLayout layout = *BmpLayoutFor(300, 200, 32);
    const auto h = BmpHeaders(300, 200, 32, layout);
    const struct {
        const char* field;
        int offset, size;
        std::uint32_t value;
    } fields[] = {
        {"bfType", 0, 2, 0x4D42},      {"bfSize", 2, 4, 240054},
        {"bfReserved1", 6, 2, 0},      {"bfReserved2", 8, 2, 0},
        {"bfOffBits", 10, 4, 54},      {"biSize", 14, 4, 40},
        {"biWidth", 18, 4, 300},       {"biHeight", 22, 4, 200},
        {"biPlanes", 26, 2, 1},        {"biBitCount", 28, 2, 32},
        {"biCompression", 30, 4, 0},   {"biSizeImage", 34, 4, 240000},
        {"biXPelsPerMeter", 38, 4, 0}, {"biYPelsPerMeter", 42, 4, 0},
        {"biClrUsed", 46, 4, 0},       {"biClrImportant", 50, 4, 0},
    };
    for (const auto& f : fields) {
        EXPECT_EQ(Field(h.data(), f.offset, f.size), f.value) << f.field;
    }

    const auto h8 = BmpHeaders(300, 200, 8, *BmpLayoutFor(300, 200, 8));
    EXPECT_EQ(Field(h8.data(), 10, 4), 1078u) << "bfOffBits";
    EXPECT_EQ(Field(h8.data(), 46, 4), 256u) << "biClrUsed";
    EXPECT_EQ(Field(h8.data(), 2, 4), 61078u) << "bfSize";
}

// 2 x 2 pixels at 24 bits: rows of 6 bytes padded to 8.
const std::vector<std::uint8_t> kTopRow = {1, 2, 3, 4, 5, 6, 0, 0};
const std::vector<std::uint8_t> kBottomRow = {7, 8, 9, 10, 11, 12, 0, 0};

const std::vector<std::uint8_t> kTiny24BitFile = {
    'B', 'M', 70, 0,  0,  0,  0, 0, 0, 0, 54, 0, 0, 0,         // file header
    40,  0,   0,  0,  2,  0,  0, 0, 2, 0, 0,  0, 1, 0, 24, 0,  // size, width, height, planes, bpp
    0,   0,   0,  0,  16, 0,  0, 0,                            // BI_RGB, image size
    0,   0,   0,  0,  0,  0,  0, 0, 0, 0, 0,  0, 0, 0, 0,  0,  // resolution, colours used/important
    7,   8,   9,  10, 11, 12, 0, 0,                            // bottom row first
    1,   2,   3,  4,  5,  6,  0, 0,
};

TEST(EncodeBmp, ExactBytesOfATinyImageFromEitherRowOrder) {
    std::vector<std::uint8_t> topDown = kTopRow;
    topDown.insert(topDown.end(), kBottomRow.begin(), kBottomRow.end());
    std::vector<std::uint8_t> bottomUp = kBottomRow;
    bottomUp.insert(bottomUp.end(), kTopRow.begin(), kTopRow.end());

    EXPECT_EQ(EncodeBmp({2, 2, 24, BmpRowOrder::TopDown, topDown, {}}), kTiny24BitFile);
    EXPECT_EQ(EncodeBmp({2, 2, 24, BmpRowOrder::BottomUp, bottomUp, {}}), kTiny24BitFile);
}

TEST(EncodeBmp, ColourTableEntriesAreBgrWithZeroReservedAndPaddedWithBlack) {
    const std::vector<std::uint8_t> rows = {0x80, 0, 0, 0, 0x40, 0, 0, 0};  // bottom-up, 1 bit
    const std::vector<std::uint32_t> colours = {0xFF123456};  // Qt's opaque alpha is dropped
    const std::vector<std::uint8_t> file =
        EncodeBmp({2, 2, 1, BmpRowOrder::BottomUp, rows, colours});
    ASSERT_EQ(file.size(), 54u + 8u + 8u);
    EXPECT_EQ(Field(file.data(), 10, 4), 62u);
    EXPECT_EQ(Field(file.data(), 46, 4), 2u);
    const std::vector<std::uint8_t> tail(file.begin() + 54, file.end());
    EXPECT_EQ(tail, (std::vector<std::uint8_t>{0x56, 0x34, 0x12, 0, 0, 0, 0, 0,  // colour table
                                               0x80, 0, 0, 0, 0x40, 0, 0, 0}));
}

TEST(EncodeBmp, RefusesFieldsThatDisagree) {
    const std::vector<std::uint8_t> sixBytes(6);  // 2 x 1 at 24 bits needs a padded row of 8
    const std::vector<std::uint8_t> eightBytes(8);
    const std::vector<std::uint32_t> threeColours(3);
    const struct {
        const char* name;
        BmpImage image;
    } cases[] = {
        {"rows not padded to the stride", {2, 1, 24, BmpRowOrder::BottomUp, sixBytes, {}}},
        {"colour table above 8 bits", {2, 1, 32, BmpRowOrder::BottomUp, eightBytes, threeColours}},
        {"more colours than the depth holds",
         {2, 1, 1, BmpRowOrder::BottomUp, std::span(eightBytes).first(4), threeColours}},
        {"unsupported depth", {2, 1, 2, BmpRowOrder::BottomUp, eightBytes, {}}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(BmpImageProblem(c.image).empty());
        EXPECT_TRUE(EncodeBmp(c.image).empty());
        const FileResult result = WriteBmpFile(dir / "refused.bmp", c.image);
        EXPECT_EQ(result.error, EINVAL);
        EXPECT_EQ(result.reason, BmpImageProblem(c.image));
        EXPECT_TRUE(dir.Names().empty());
    }
}

TEST(WriteBmpFile, ReplacesAnExistingLongerFileWhole) {
    TempDir dir;
    const auto path = dir / "shoe.bmp";
    WriteBytes(path, std::string(5000, 'x'));
    std::vector<std::uint8_t> pixels = kBottomRow;
    pixels.insert(pixels.end(), kTopRow.begin(), kTopRow.end());

    const FileResult result = WriteBmpFile(path, {2, 2, 24, BmpRowOrder::BottomUp, pixels, {}});

    ASSERT_TRUE(result.ok()) << result.reason;
    EXPECT_EQ(ReadBytes(path), std::string(kTiny24BitFile.begin(), kTiny24BitFile.end()));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"shoe.bmp"});
}

TEST(WriteBmpFile, UnwritablePathIsReportedWithItsReasonAndLeavesNothing) {
    TempDir dir;
    WriteBytes(dir / "plain-file", "keep");
    std::filesystem::create_directory(dir / "folder.bmp");
    const std::vector<std::uint8_t> pixels(8);
    const BmpImage image{2, 1, 24, BmpRowOrder::BottomUp, pixels, {}};
    const struct {
        const char* name;
        std::filesystem::path path;
        int error;
    } cases[] = {
        {"folder that does not exist", dir / "missing" / "shoe.bmp", ENOENT},
        {"a file where a folder should be", dir / "plain-file" / "shoe.bmp", ENOTDIR},
        {"a folder in the file's place", dir / "folder.bmp", EISDIR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FileResult result = WriteBmpFile(c.path, image);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.path, c.path.string());
        EXPECT_EQ(result.reason, std::generic_category().message(c.error));
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"folder.bmp", "plain-file"}));
        EXPECT_TRUE(std::filesystem::is_empty(dir / "folder.bmp"));
    }
}

// A write that fails part way (here: the file size limit, as a full disk would) must leave the
// picture it was to replace as it was, and no partial file beside it.
TEST(WriteBmpFile, FailedWriteKeepsTheOldFileIntact) {
    TempDir dir;
    const auto path = dir / "shoe.bmp";
    WriteBytes(path, "the old picture");
    const std::vector<std::uint8_t> pixels(240000, 0x7F);
    const BmpImage image{300, 200, 32, BmpRowOrder::TopDown, pixels, {}};

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileResult result = WriteBmpFile(path, image);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result.error, EFBIG);
    EXPECT_EQ(result.path, path.string());
    EXPECT_EQ(ReadBytes(path), "the old picture");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"shoe.bmp"});

    ASSERT_TRUE(WriteBmpFile(path, image).ok());  // and with room, the same write succeeds
    EXPECT_EQ(ReadBytes(path).size(), 240054u);
}

}  // namespace
