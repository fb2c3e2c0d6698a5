#include "ui/Artwork.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "engine/CellRecord.h"
#include "engine/Side.h"
#include "ui/Fonts.h"
#include "ui/Layout.h"
#include "ui/RecordWnd.h"

namespace {

const QColor kFelt(11, 79, 46);  // header and foot band
const QColor kFeltLight(19, 107, 63);
const QColor kGold(245, 215, 110);     // product name
const QColor kStrip(232, 220, 192);    // labelled strips
const QColor kStripInk(90, 62, 27);    // strip labels
const QColor kPage(243, 235, 216);     // beside the grids
const QColor kTab(46, 109, 164);       // the vertical labels of the two grids
const QColor kSquareA(255, 253, 245);  // squares, in two alternating colours
const QColor kSquareB(234, 242, 251);
const QColor kGridLine(138, 152, 170);
const QColor kHandNumber(40, 50, 64);  // dark enough to read at 9 pixels
const QColor kBigDigit(190, 198, 208);
const QColor kLineWell(255, 251, 240);  // ground of the advice and status lines
const QColor kTestBand(217, 230, 242);
const QColor kButtonGround(247, 243, 232);

QFont PixelFont(const QString& face, int pixels, bool bold = false) {
    QFont font(face);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A label written top to bottom, one character a line, centred in `box`.
void DrawVerticalLabel(QPainter& p, const QRect& box, const QString& text) {
    p.setFont(PixelFont(kFaceKai, 18, true));
    const QFontMetrics fm = p.fontMetrics();
    const int lineHeight = fm.height() + 2;
    const int total = lineHeight * static_cast<int>(text.size());
    int y = box.top() + (box.height() - total) / 2;
    for (const QChar ch : text) {
        p.drawText(QRect(box.left(), y, box.width(), lineHeight), Qt::AlignCenter, QString(ch));
        y += lineHeight;
    }
}

// A labelled strip across the window, with its label at the left.
void DrawStrip(QPainter& p, int top, int bottom, const QString& label) {
    p.fillRect(QRect(0, top, layout::kClientWidth, bottom - top), kStrip);
    p.setPen(kStripInk);
    p.setFont(PixelFont(kFaceKai, 17, true));
    p.drawText(QRect(layout::kLabelLeft, top, 140, bottom - top), Qt::AlignLeft | Qt::AlignVCenter,
               label);
}

// The tab beside a grid holding its vertical label.
void DrawGridTab(QPainter& p, const QRect& grid, const QString& label) {
    const QRect tab(layout::kLabelLeft, grid.top() + 4, layout::kGridLeft - 2 * layout::kLabelLeft,
                    grid.height() - 8);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kTab);
    p.drawRoundedRect(tab, 6, 6);
    p.setPen(Qt::white);
    DrawVerticalLabel(p, tab, label);
    p.restore();
}

// Squares of one grid in two alternating colours, with the grid lines drawn over them.
template <typename SquareOf>
void DrawSquares(QPainter& p, const QRect& grid, SquareOf squareOf) {
    for (int i = 0; i < layout::kSquares; ++i) {
        const bool odd = (layout::ColumnOf(i) + layout::RowOf(i)) % 2 != 0;
        p.fillRect(squareOf(i), odd ? kSquareB : kSquareA);
    }
    p.setPen(QPen(kGridLine, 1));
    // Lines on the pixel column / row given by the layout; the last ones close the grid.
    for (int c = 0; c <= layout::kColumns; ++c) {
        const int x = grid.left() + layout::kColumnWidth * c;
        p.drawLine(x, grid.top(), x, grid.top() + grid.height());
    }
    const int rowHeight = grid.height() / layout::kRows;
    for (int r = 0; r <= layout::kRows; ++r) {
        const int y = grid.top() + rowHeight * r;
        p.drawLine(grid.left(), y, grid.left() + grid.width(), y);
    }
}

// The framed ground of the advice or status line, a little larger than its text rectangle, closed
// above `bottomLimit`: the status rectangle reaches into the test band, which would hide the lower
// edge of its frame.
void DrawLineWell(QPainter& p, const QRect& text, int bottomLimit) {
    QRect well = text.adjusted(-6, -4, 6, -2);
    well.setBottom(std::min(well.bottom(), bottomLimit - 2));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kGridLine, 1));
    p.setBrush(kLineWell);
    p.drawRoundedRect(well, 4, 4);
    p.restore();
}

}  // namespace

QImage DrawBackground() {
    using namespace layout;
    QImage image(kClientWidth, kClientHeight, QImage::Format_RGB32);
    image.fill(kPage);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Header band with the product name; the Notes button sits on its right.
    QLinearGradient felt(0, 0, 0, kHeaderBottom);
    felt.setColorAt(0, kFeltLight);
    felt.setColorAt(1, kFelt);
    p.fillRect(QRect(0, 0, kClientWidth, kHeaderBottom), felt);
    p.setPen(kGold);
    p.setFont(PixelFont(kFaceKai, 30, true));
    p.drawText(QRect(16, 0, 400, kHeaderBottom), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("百家乐投注顾问"));

    DrawStrip(p, kHeaderBottom, kButtonStripBottom, QStringLiteral("按键操作"));

    // Result grid with the hand numbers 1..66 small in the corner of each square.
    DrawSquares(p, ResultGrid(), ResultSquare);
    p.setFont(PixelFont(kFaceSong, 9, true));
    p.setPen(kHandNumber);
    for (int i = 0; i < kSquares; ++i) {
        const QRect square = ResultSquare(i);
        p.drawText(QRect(square.left() + 2, square.top() + 1, kCellInsetX + 8, 10),
                   Qt::AlignLeft | Qt::AlignTop, QString::number(i + 1));
    }
    DrawGridTab(p, ResultGrid(), QStringLiteral("实时记录区"));

    DrawStrip(p, kAdviceStripTop, kAdviceTop, QStringLiteral("下注提示"));
    DrawLineWell(p, kAdviceRect, kAdviceTop);

    // Advice grid; the first four squares show the digits of the hands that get no advice.
    DrawSquares(p, AdviceGrid(), AdviceSquare);
    p.setFont(PixelFont(kFaceKai, 26, true));
    p.setPen(kBigDigit);
    for (int i = 0; i < kUnadvisedHands; ++i) {
        p.drawText(AdviceSquare(i), Qt::AlignCenter, QString::number(i + 1));
    }
    DrawGridTab(p, AdviceGrid(), QStringLiteral("胜负显示区"));

    DrawStrip(p, kStatusStripTop, kTestBandTop, QStringLiteral("系统信息"));
    DrawLineWell(p, kStatusRect, kTestBandTop);

    // Two bands at the bottom: the test row, and a plain foot.
    p.fillRect(QRect(0, kTestBandTop, kClientWidth, kFootBandTop - kTestBandTop), kTestBand);
    p.fillRect(QRect(0, kFootBandTop, kClientWidth, kClientHeight - kFootBandTop), kFelt);
    return image;
}

QImage DrawButtonImage(int side) {
    QString glyph;
    QColor ink;
    switch (side) {
        case SIDE_BANKER:
            glyph = QStringLiteral("庄");
            ink = QColor(255, 0, 0);
            break;
        case SIDE_PLAYER:
            glyph = QStringLiteral("闲");
            ink = QColor(0, 0, 255);
            break;
        default:
            glyph = QStringLiteral("和");
            ink = QColor(31, 150, 0);
            break;
    }
    QImage image(layout::kButtonImageSize, QImage::Format_RGB32);
    image.fill(kButtonGround);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(ink);
    p.setFont(PixelFont(kFaceLishu, 24, true));
    p.drawText(image.rect(), Qt::AlignCenter, glyph);
    return image;
}

QImage DrawIcon(int size) {
    using namespace layout;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    p.setPen(Qt::NoPen);
    p.setBrush(kFelt);
    p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.16, size * 0.16);

    // The first two columns and rows of the result grid, scaled into the tile.
    const QRect corner(kGridLeft, kResultTop, 2 * kColumnWidth, 2 * kResultRowHeight);
    const double scale = size * 0.84 / corner.width();
    p.translate((size - corner.width() * scale) / 2, (size - corner.height() * scale) / 2);
    p.scale(scale, scale);
    p.translate(-corner.topLeft());
    const int squares[] = {0, 1, kRows, kRows + 1};
    const int sides[] = {SIDE_BANKER, SIDE_PLAYER, SIDE_PLAYER, SIDE_BANKER};
    for (int k = 0; k < 4; ++k) {
        const int i = squares[k];
        const bool odd = (ColumnOf(i) + RowOf(i)) % 2 != 0;
        p.fillRect(ResultSquare(i), odd ? kSquareB : kSquareA);
        const CCellRecord cell{1, 0, sides[k]};
        p.save();
        p.translate(ResultCell(i).topLeft());
        p.setClipRect(QRect(QPoint(0, 0), ResultCell(i).size()));
        PaintCellRecord(p, cell);
        p.restore();
    }
    p.setPen(QPen(kGridLine, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(corner);
    p.drawLine(corner.left() + kColumnWidth, corner.top(), corner.left() + kColumnWidth,
               corner.bottom() + 1);
    p.drawLine(corner.left(), corner.top() + kResultRowHeight, corner.right() + 1,
               corner.top() + kResultRowHeight);
    return image;
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {32, 48}) icon.addPixmap(QPixmap::fromImage(DrawIcon(size)));
    return icon;
}

QColor GridLineColour() {
    return kGridLine;
}
