// Painting of the main window: the background, the advice line and the status line. The cells
// paint themselves over it (Qt paints a parent before its children).
#include <QPainter>

#include "ui/NuvDlg.h"
#include "ui/ShoeLines.h"

void CnuvDlg::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bmpBack);
    // Both lines are worked out afresh from the record at every paint, and the background beneath
    // was just repainted, so no old text remains.
    PaintShoeLine(painter, m_rcAdvice, AdviceLine(m_shoe));
    PaintShoeLine(painter, m_rcStatus, StatusLine(m_shoe));
}
