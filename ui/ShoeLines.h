#pragma once

#include <QColor>
#include <QString>

class CShoeEngine;
class QPainter;
class QRect;

// A line of text the main window paints over its background, with its colour.
struct ShoeLine {
    QString text;
    QColor colour;
};

// What to do on the next hand: enter the first four hands, bet a side (a bet below the table
// minimum is split over both sides so that each is at least the minimum), sit out, or the amount
// won when the shoe is over. Asks IsShoeOver, which may empty the pending advice cell.
ShoeLine AdviceLine(CShoeEngine& shoe);

// Score, yield in percent, won cycles and a verdict (失败, 警告, 博赢 or 正常), always red.
ShoeLine StatusLine(CShoeEngine& shoe);

// Draws `line` from the upper-left corner of `rect` in the 15-point Kai face, or smaller where
// that would not fit the rectangle's width.
void PaintShoeLine(QPainter& painter, const QRect& rect, const ShoeLine& line);
