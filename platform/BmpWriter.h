#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/FileAccess.h"

// Uncompressed (BI_RGB) Windows bitmap files: a 14-byte file header, a 40-byte information
// header, a colour table for depths of 8 bits or fewer, then the pixel rows bottom row first,
// each padded to a multiple of 4 bytes. All numbers little-endian.

inline constexpr std::uint32_t kBmpHeadersSize = 14 + 40;

// Sizes and offsets of the file for one image.
struct BmpLayout {
    std::uint32_t stride = 0;     // bytes per pixel row: ((width × bpp + 31) / 32) × 4
    std::uint32_t imageSize = 0;  // stride × height
    std::uint32_t colours = 0;    // colour-table entries: 2^bpp for bpp ≤ 8, else 0
    std::uint32_t offBits = 0;    // where the rows start: 54 + 4 × colours
    std::uint32_t fileSize = 0;   // offBits + imageSize

    friend bool operator==(const BmpLayout&, const BmpLayout&) = default;
};

// The layout of a `width` × `height` image at `bpp` bits per pixel (1, 4, 8, 16, 24 or 32), or
// nothing when the depth is not one of those, a size is negative, or the file would not fit the
// format's 32-bit sizes.
std::optional<BmpLayout> BmpLayoutFor(std::int32_t width, std::int32_t height, int bpp);

// The 54 header bytes for a `width` × `height` image at `bpp` bits laid out as `layout`.
std::array<std::uint8_t, kBmpHeadersSize> BmpHeaders(std::int32_t width, std::int32_t height,
                                                     int bpp, const BmpLayout& layout);

enum class BmpRowOrder {
    BottomUp,  // the first row in `pixels` is the bottom of the picture, as the file stores it
    TopDown,   // the first row is the top, as screen captures usually come
};

// An image to write. Borrows its buffers; they must outlive the call that takes it.
struct BmpImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bpp = 32;  // 1, 4, 8, 16 (5-5-5), 24 (B, G, R) or 32 (B, G, R, unused)
    BmpRowOrder rowOrder = BmpRowOrder::BottomUp;
    std::span<const std::uint8_t> pixels;  // exactly `height` rows of BmpLayout::stride bytes
    // For bpp ≤ 8: up to 2^bpp colours as 0xRRGGBB (a top byte is ignored, so Qt's 0xAARRGGBB
    // values may be passed as they are); entries not given are written black. Must be empty
    // above 8 bits.
    std::span<const std::uint32_t> colourTable;
};

// Why `image` cannot be written (its fields disagree with each other), or an empty string.
std::string BmpImageProblem(const BmpImage& image);

// The complete file for `image`, or an empty vector when BmpImageProblem reports a problem.
std::vector<std::uint8_t> EncodeBmp(const BmpImage& image);

// Writes `image` to `path` through WriteFileAtomically: a failed write leaves whatever file was
// there untouched and no partial picture. A refused image fails with EINVAL and the problem as
// the reason.
[[nodiscard]] FileResult WriteBmpFile(const std::filesystem::path& path, const BmpImage& image);
