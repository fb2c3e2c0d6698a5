#include "ui/RecordWnd.h"

#include <QPainter>

#include "engine/Side.h"
#include "ui/Fonts.h"
#include "ui/Layout.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(31, 150, 0);

// Draws `text` with the upper-left corner of its character cell at (x, y).
void DrawTextAt(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

}  // namespace

void PaintCellRecord(QPainter& painter, const CCellRecord& cell) {
    if (cell.m_bShow == 0) return;
    painter.save();
    if (cell.m_nValue != 0) {
        const QString text = cell.m_nValue > 0 ? QStringLiteral("+%1").arg(cell.m_nValue)
                                               : QString::number(cell.m_nValue);
        // 15 points holds two digits and a sign; "+120" or "-300" is drawn smaller to show whole.
        painter.setFont(FitToWidth(PointFont(kFaceLishu, 150), text, layout::kCellWidth));
        painter.setPen(cell.m_nSide == SIDE_BANKER ? kRed : kBlue);
        DrawTextAt(painter, 0, 2, text);
    } else {
        // Side glyphs; the pause glyph stands 5 pixels to the right.
        struct Glyph {
            int side;
            const char16_t* text;
            QColor colour;
            int x;
        };
        static const Glyph kGlyphs[] = {{SIDE_BANKER, u"庄", kRed, 0},
                                        {SIDE_PLAYER, u"闲", kBlue, 0},
                                        {SIDE_TIE, u"和", kGreen, 0},
                                        {SIDE_PAUSE, u"停", kRed, 5}};
        painter.setFont(PointFont(kFaceLishu, 210));
        for (const Glyph& g : kGlyphs) {
            if (g.side != cell.m_nSide) continue;
            painter.setPen(g.colour);
            DrawTextAt(painter, g.x, 0, QString::fromUtf16(g.text));
        }
    }
    painter.restore();
}

CRecordWnd::CRecordWnd(const CCellRecord& cell, QWidget* parent) : QWidget(parent), m_pCell(&cell) {
    // Clicks and the context menu belong to the dialog beneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(false);
}

void CRecordWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintCellRecord(painter, *m_pCell);
}
