#pragma once

#include <cstdint>

// The eight settings of the adviser. Signed 32-bit, as stored; the engine reads them afresh at
// every use, so a change takes effect at the next hand or stop test.
struct ShoeSettings {
    std::int32_t m_nXXLimitMoney = 200;    // table minimum stake, yuan
    std::int32_t m_nSXLimitMoney = 20000;  // table maximum stake, yuan
    std::int32_t m_nWinStopMoney = 29;     // win-stop, units
    std::int32_t m_nLossStopMoney = 292;   // stop-loss, units (positive)
    std::int32_t m_nWinStopNum = 4;        // won cycles that end the shoe
    std::int32_t m_nDangerous1 = 9;        // alarm hand count
    std::int32_t m_nDangerous2 = 40;       // danger hand count that ends the shoe
    std::int32_t m_nAfterWinStop = 0;      // 0 stop at once, 1 follow long runs, 2 follow all

    friend bool operator==(const ShoeSettings&, const ShoeSettings&) = default;
};
