#pragma once

#include <QWidget>

#include "engine/CellRecord.h"

class QPainter;

// Paints a cell record with the cell's upper-left corner at the painter's origin: nothing when
// m_bShow is 0; the signed settled value when m_nValue is not 0; otherwise the side glyph. Draws
// no background, only the glyph strokes.
void PaintCellRecord(QPainter& painter, const CCellRecord& cell);

// One cell of the result or advice grid on screen. It displays a cell record owned by the shoe
// engine and repaints when told to; it has no input of its own (mouse events go to the dialog)
// and no background, so the dialog's picture shows around the strokes.
class CRecordWnd : public QWidget {
    Q_OBJECT

public:
    // `cell` must outlive the window.
    explicit CRecordWnd(const CCellRecord& cell, QWidget* parent = nullptr);

    const CCellRecord& Cell() const { return *m_pCell; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CCellRecord* m_pCell;
};
