#include "platform/BmpWriter.h"

#include <cerrno>
#include <cstring>
#include <limits>

namespace {

void Put16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

bool IsBmpDepth(int bpp) {
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

}  // namespace

std::optional<BmpLayout> BmpLayoutFor(std::int32_t width, std::int32_t height, int bpp) {
    if (!IsBmpDepth(bpp) || width < 0 || height < 0) return std::nullopt;
    // 64-bit arithmetic: a wide 32-bit row alone overflows 32 bits.
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bpp + 31) / 32 * 4;
    const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(height);
    const std::uint64_t colours = bpp <= 8 ? (std::uint64_t{1} << bpp) : 0;
    const std::uint64_t offBits = kBmpHeadersSize + 4 * colours;
    const std::uint64_t fileSize = offBits + imageSize;
    if (fileSize > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return BmpLayout{static_cast<std::uint32_t>(stride), static_cast<std::uint32_t>(imageSize),
                     static_cast<std::uint32_t>(colours), static_cast<std::uint32_t>(offBits),
                     static_cast<std::uint32_t>(fileSize)};
}

std::array<std::uint8_t, kBmpHeadersSize> BmpHeaders(std::int32_t width, std::int32_t height,
                                                     int bpp, const BmpLayout& layout) {
    std::array<std::uint8_t, kBmpHeadersSize> h{};  // reserved and resolution fields stay 0
    std::uint8_t* p = h.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, layout.fileSize);
    Put32(p + 10, layout.offBits);
    Put32(p + 14, 40);  // size of the information header
    Put32(p + 18, static_cast<std::uint32_t>(width));
    Put32(p + 22, static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
    Put16(p + 26, 1);                                   // planes
    Put16(p + 28, static_cast<std::uint16_t>(bpp));
    Put32(p + 30, 0);  // BI_RGB, uncompressed
    Put32(p + 34, layout.imageSize);
    Put32(p + 46, layout.colours);
    return h;
}

std::string BmpImageProblem(const BmpImage& image) {
    const std::optional<BmpLayout> layout = BmpLayoutFor(image.width, image.height, image.bpp);
    if (!layout) {
        return "no bitmap of " + std::to_string(image.width) + " x " +
               std::to_string(image.height) + " pixels at " + std::to_string(image.bpp) +
               " bits per pixel can be written";
    }
    if (image.pixels.size() != layout->imageSize) {
        return "pixel buffer holds " + std::to_string(image.pixels.size()) + " bytes, " +
               std::to_string(layout->imageSize) + " expected";
    }
    if (image.colourTable.size() > layout->colours) {
        return "colour table has " + std::to_string(image.colourTable.size()) + " entries, " +
               std::to_string(layout->colours) + " at most";
    }
    return {};
}

std::vector<std::uint8_t> EncodeBmp(const BmpImage& image) {
    if (!BmpImageProblem(image).empty()) return {};
    const BmpLayout layout = *BmpLayoutFor(image.width, image.height, image.bpp);

    std::vector<std::uint8_t> file(layout.fileSize, 0);
    const auto headers = BmpHeaders(image.width, image.height, image.bpp, layout);
    std::memcpy(file.data(), headers.data(), headers.size());

    // Colour entries as blue, green, red, 0; entries not given stay black.
    std::uint8_t* entry = file.data() + kBmpHeadersSize;
    for (std::uint32_t colour : image.colourTable) {
        Put32(entry, colour & 0x00FFFFFFu);
        entry += 4;
    }

    std::uint8_t* rows = file.data() + layout.offBits;
    if (image.rowOrder == BmpRowOrder::BottomUp) {
        if (layout.imageSize > 0) std::memcpy(rows, image.pixels.data(), layout.imageSize);
    } else {
        for (std::uint32_t y = 0; y < static_cast<std::uint32_t>(image.height); ++y) {
            const std::uint32_t from = static_cast<std::uint32_t>(image.height) - 1 - y;
            std::memcpy(rows + std::size_t{y} * layout.stride,
                        image.pixels.data() + std::size_t{from} * layout.stride, layout.stride);
        }
    }
    return file;
}

FileResult WriteBmpFile(const std::filesystem::path& path, const BmpImage& image) {
    std::string problem = BmpImageProblem(image);
    if (!problem.empty()) return FileResult::Failure(path, EINVAL, std::move(problem));
    return WriteFileAtomically(path, EncodeBmp(image));
}
