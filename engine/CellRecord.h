#pragma once

// One cell of the result or advice grid: the only store of a hand's result or settled advice.
// The engine writes the fields and then tells its observer which cell changed.
struct CCellRecord {
    int m_bShow = 0;   // 1 when the cell has something to show
    int m_nValue = 0;  // advice cells: settled units (+ won, - lost); 0 shows the side glyph
    int m_nSide = 0;   // side code

    // Shows a settled value (0 brings back the side glyph).
    void ShowValue(int value) {
        m_nValue = value;
        m_bShow = 1;
    }

    friend bool operator==(const CCellRecord&, const CCellRecord&) = default;
};
