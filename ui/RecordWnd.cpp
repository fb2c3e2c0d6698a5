#include "RecordWnd.h"

#include <QPainter>

#include "Fonts.h"
#include "Side.h"

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
        painter.setFont(PointFont(kFaceLishu, 150));
        painter.setPen(cell.m_nSide == SIDE_BANKER ? kRed : kBlue);
        const QString text = cell.m_nValue > 0 ? QStringLiteral("+%1").arg(cell.m_nValue)
                                               : QString::number(cell.m_nValue);
        DrawTextAt(painter, 0, 2, text);
    } else {
        painter.setFont(PointFont(kFaceLishu, 210));
        switch (cell.m_nSide) {
            case SIDE_BANKER:
                painter.setPen(kRed);
                DrawTextAt(painter, 0, 0, QStringLiteral("庄"));
                break;
            case SIDE_PLAYER:
                painter.setPen(kBlue);
                DrawTextAt(painter, 0, 0, QStringLiteral("闲"));
                break;
            case SIDE_TIE:
                painter.setPen(kGreen);
                DrawTextAt(painter, 0, 0, QStringLiteral("和"));
                break;
            case SIDE_PAUSE:
                painter.setPen(kRed);
                DrawTextAt(painter, 5, 0, QStringLiteral("停"));
                break;
            default:
                break;
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
