#pragma once

#include <QRect>
#include <QSize>

// Pixel layout of the main window's client area, from its upper-left corner. The background
// picture, the icon and the cell windows are all placed from these numbers, so the grid lines and
// the cells cannot drift apart.
namespace layout {

// The client area is exactly the background picture.
inline constexpr int kClientWidth = 544;
inline constexpr int kClientHeight = 639;

// Both grids: 11 columns of 6 rows, filled down each column.
inline constexpr int kColumns = 11;
inline constexpr int kRows = 6;
inline constexpr int kSquares = kColumns * kRows;
inline constexpr int kGridLeft = 75;     // x of the first column line
inline constexpr int kColumnWidth = 41;  // column lines at kGridLeft + 41 * column

inline constexpr int kResultTop = 110;  // row lines of the result grid at 110 + 32 * row
inline constexpr int kResultRowHeight = 32;
inline constexpr int kAdviceTop = 340;  // row lines of the advice grid at 340 + 33 * row
inline constexpr int kAdviceRowHeight = 33;

// A cell window sits inside its square, leaving the square's upper-left corner to the hand number.
inline constexpr int kCellWidth = 30;
inline constexpr int kCellHeight = 25;
inline constexpr int kCellInsetX = 10;
inline constexpr int kResultCellInsetY = 4;
inline constexpr int kAdviceCellInsetY = 5;

// Hands 0..3 get no advice: their advice squares show the big digits 1..4 instead of a cell.
inline constexpr int kUnadvisedHands = 4;

constexpr int ColumnOf(int index) {
    return index / kRows;
}
constexpr int RowOf(int index) {
    return index % kRows;
}

constexpr QRect ResultSquare(int index) {
    return {kGridLeft + kColumnWidth * ColumnOf(index),
            kResultTop + kResultRowHeight * RowOf(index), kColumnWidth, kResultRowHeight};
}
constexpr QRect AdviceSquare(int index) {
    return {kGridLeft + kColumnWidth * ColumnOf(index),
            kAdviceTop + kAdviceRowHeight * RowOf(index), kColumnWidth, kAdviceRowHeight};
}
constexpr QRect ResultCell(int index) {
    return {ResultSquare(index).left() + kCellInsetX, ResultSquare(index).top() + kResultCellInsetY,
            kCellWidth, kCellHeight};
}
constexpr QRect AdviceCell(int index) {
    return {AdviceSquare(index).left() + kCellInsetX, AdviceSquare(index).top() + kAdviceCellInsetY,
            kCellWidth, kCellHeight};
}
constexpr QRect ResultGrid() {
    return {kGridLeft, kResultTop, kColumnWidth * kColumns, kResultRowHeight * kRows};
}
constexpr QRect AdviceGrid() {
    return {kGridLeft, kAdviceTop, kColumnWidth * kColumns, kAdviceRowHeight * kRows};
}

// The two text lines (right and bottom edges exclusive: 160..520 by 312..341 and 544..573).
inline constexpr QRect kAdviceRect{160, 312, 360, 29};
inline constexpr QRect kStatusRect{160, 544, 360, 29};

// Horizontal bands of the background, top to bottom.
inline constexpr int kHeaderBottom = 64;        // product name and the Notes button
inline constexpr int kButtonStripBottom = 106;  // "按键操作" behind the row of seven buttons
inline constexpr int kAdviceStripTop = 305;     // "下注提示" holding kAdviceRect
inline constexpr int kStatusStripTop = 541;     // "系统信息" holding kStatusRect
inline constexpr int kTestBandTop = 569;        // first bottom band, behind the test row
inline constexpr int kFootBandTop = 603;        // second bottom band
// Labels of the strips and areas stand left of the buttons, the grids and the two lines.
inline constexpr int kLabelLeft = 8;

// Images of the Banker, Player and Tie buttons.
inline constexpr QSize kButtonImageSize{34, 29};

}  // namespace layout
