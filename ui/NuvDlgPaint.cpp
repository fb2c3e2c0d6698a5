// Painting of the main window: the background, the advice line and the status line. The cells
// paint themselves over it (Qt paints a parent before its children).
#include <QPainter>

#include "Fonts.h"
#include "NuvDlg.h"
#include "ShoeLines.h"

void CnuvDlg::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bmpBack);
    painter.setFont(PointFont(kFaceKai, 150));
    // Both lines are worked out afresh from the record at every paint; Qt clips them to their
    // rectangles, and the background beneath was just repainted, so no old text remains.
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    const ShoeLine advice = AdviceLine(m_shoe);
    painter.setPen(advice.colour);
    painter.drawText(m_rcAdvice, flags, advice.text);
    const ShoeLine status = StatusLine(m_shoe);
    painter.setPen(status.colour);
    painter.drawText(m_rcStatus, flags, status.text);
}
