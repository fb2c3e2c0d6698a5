#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "engine/Side.h"
#include "ui/Layout.h"
#include "ui/RecordWnd.h"

namespace {

enum class Ink { None, Red, Blue, Green };

// Renders the cell alone onto a transparent image: only what the cell itself draws shows.
QImage RenderCell(const CCellRecord& record) {
    CRecordWnd cell(record);
    cell.resize(layout::kCellWidth, layout::kCellHeight);
    QImage image(cell.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    cell.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The one colour of the strokes (edge pixels are blended with transparency, never with another
// colour), or Ink::None when nothing was drawn.
Ink InkOf(const QImage& image, int* inkPixels = nullptr) {
    int count = 0, red = 0, blue = 0, green = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 0) continue;
            ++count;
            const int r = qRed(p), g = qGreen(p), b = qBlue(p);
            if (g == 0 && b == 0 && r > 0) ++red;
            if (r == 0 && g == 0 && b > 0) ++blue;
            if (b == 0 && g > 0 && g >= r) ++green;  // (31, 150, 0), faint edges may lose red
        }
    }
    if (inkPixels) *inkPixels = count;
    if (count == 0) return Ink::None;
    if (red == count) return Ink::Red;
    if (blue == count) return Ink::Blue;
    if (green == count) return Ink::Green;
    ADD_FAILURE() << "mixed colours: " << count << " pixels, " << red << " red, " << blue
                  << " blue, " << green << " green";
    return Ink::None;
}

struct PaintCase {
    const char* name;
    CCellRecord cell;
    Ink ink;
};

const PaintCase kPaintCases[] = {
    {"hidden banker", {0, 0, SIDE_BANKER}, Ink::None},
    {"hidden value", {0, 7, SIDE_PLAYER}, Ink::None},
    {"shown, no side", {1, 0, SIDE_NONE}, Ink::None},
    {"banker glyph", {1, 0, SIDE_BANKER}, Ink::Red},
    {"player glyph", {1, 0, SIDE_PLAYER}, Ink::Blue},
    {"tie glyph", {1, 0, SIDE_TIE}, Ink::Green},
    {"pause glyph", {1, 0, SIDE_PAUSE}, Ink::Red},
    {"won on banker", {1, 5, SIDE_BANKER}, Ink::Red},
    {"lost on banker", {1, -12, SIDE_BANKER}, Ink::Red},
    {"won on player", {1, 5, SIDE_PLAYER}, Ink::Blue},
    {"value on a tie", {1, 5, SIDE_TIE}, Ink::Blue},
    {"value on a pause", {1, 5, SIDE_PAUSE}, Ink::Blue},
};

}  // namespace

TEST(CellPaint, DrawsItsFieldsInTheSideColourAndNothingElse) {
    for (const PaintCase& c : kPaintCases) {
        SCOPED_TRACE(c.name);
        int pixels = 0;
        EXPECT_EQ(InkOf(RenderCell(c.cell), &pixels), c.ink);
        // A drawn glyph or number covers a fair part of the cell, so a missing font (no glyph,
        // or an empty box) shows up here too.
        if (c.ink != Ink::None) {
            EXPECT_GT(pixels, 40);
        }
    }
}

TEST(CellPaint, PauseGlyphStandsFivePixelsRight) {
    auto leftmostInk = [](const QImage& image) {
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qAlpha(image.pixel(x, y)) != 0) return x;
        return -1;
    };
    // The same glyph, drawn by hand at the cell's origin.
    QImage reference(layout::kCellWidth, layout::kCellHeight, QImage::Format_ARGB32_Premultiplied);
    reference.fill(Qt::transparent);
    {
        QPainter p(&reference);
        QFont font(QStringLiteral("隶书"));
        font.setPointSizeF(21);
        p.setFont(font);
        p.setPen(Qt::red);
        p.drawText(QPoint(0, p.fontMetrics().ascent()), QStringLiteral("停"));
    }
    ASSERT_GE(leftmostInk(reference), 0);
    EXPECT_EQ(leftmostInk(RenderCell({1, 0, SIDE_PAUSE})), leftmostInk(reference) + 5);
}

// Where the strokes of `cell` fall when it is painted with its corner at (margin, margin) of a
// larger transparent picture: the bounding box of the ink, in the cell's own coordinates.
static QRect InkBox(const CCellRecord& cell) {
    constexpr int kMargin = 40;
    QImage image(layout::kCellWidth + 2 * kMargin, layout::kCellHeight + 2 * kMargin,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.translate(kMargin, kMargin);
        PaintCellRecord(p, cell);
    }
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) box |= QRect(x - kMargin, y - kMargin, 1, 1);
    return box;
}

TEST(CellPaint, EverySettledValueShowsWholeInItsCell) {
    // Settled values run from -300 to +300 units (the largest stake); the 15-point face fits two
    // digits and a sign, and longer values are drawn smaller instead of running past the cell.
    const QRect cellRect(0, 0, layout::kCellWidth, layout::kCellHeight);
    const int values[] = {5, -12, 99, -99, 100, -100, 120, -300, 300, 188};
    for (const int side : {SIDE_BANKER, SIDE_PLAYER}) {
        for (const int value : values) {
            SCOPED_TRACE(testing::Message() << "value " << value << " side " << side);
            const QRect ink = InkBox({1, value, side});
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_TRUE(cellRect.contains(ink))
                << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
            // Shrunk no further than needed: the number still spans most of the cell.
            EXPECT_GE(ink.width(), layout::kCellWidth / 2);
        }
    }
    // What fitted before keeps its look: two digits and a sign stand as tall as a single digit.
    EXPECT_EQ(InkBox({1, 12, SIDE_BANKER}).height(), InkBox({1, 10, SIDE_BANKER}).height());
    EXPECT_EQ(InkBox({1, -12, SIDE_BANKER}), InkBox({1, -12, SIDE_PLAYER}));
}
