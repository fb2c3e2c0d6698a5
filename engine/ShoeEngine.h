#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/CellRecord.h"
#include "engine/Settings.h"
#include "engine/ShoeObserver.h"
#include "engine/Side.h"

// Stake progression in base units: a loss of X units is recovered with the entry after the first
// entry that is X or more.
inline constexpr std::array<int, 19> g_nProgression = {1,  2,  3,  4,  5,   7,   10,  14,  18, 24,
                                                       32, 44, 60, 80, 120, 160, 200, 300, 300};

// The record of one shoe and the pipeline that fills it hand by hand: results and advice in two
// grids of cells, runs, score and yield, the stop counters, and the betting strategy.
//
// A value type with no I/O: the window owns one and displays its cells; each simulation thread
// owns its own. Repaint requests and the end-of-shoe notice go to the observer, if any. The
// settings are read through a pointer at every use, so a changed setting applies at once.
class CShoeEngine {
public:
    static constexpr int kHands = 66;        // hands in a full shoe
    static constexpr int kFirstAdvised = 4;  // the first hand that gets advice (the fifth)
    static constexpr int kStakeCap = 300;    // no stake exceeds this many units
    static constexpr int kForcedStop = 100;  // a progression stake above this ends the shoe

    explicit CShoeEngine(const ShoeSettings& settings, CShoeObserver* observer = nullptr)
        : m_pSettings(&settings), m_pObserver(observer) {}

    void SetObserver(CShoeObserver* observer) { m_pObserver = observer; }
    void SetSettings(const ShoeSettings& settings) { m_pSettings = &settings; }
    const ShoeSettings& Settings() const { return *m_pSettings; }

    // --- shoe record operations ---
    // Empties the record for a new shoe (settings, m_bSimulating and the observer are kept).
    void ResetShoe();
    // Adds a banker or player result to the run tracker.
    void TrackRun(int side);
    // 1 when the shoe is over. May empty the pending advice cell; harmless to repeat.
    int IsShoeOver();

    // --- hand pipeline ---
    // Enters one hand (SIDE_BANKER, SIDE_PLAYER or SIDE_TIE). Returns 1 when recorded, 0 when the
    // shoe was already over and the hand was refused.
    int RecordHand(int side);
    void SettleAdvice();
    void UpdateScore();
    void AdvanceHand();

    // --- betting strategy (for the hand after m_nHandCount) ---
    void NextStake();
    int AdviseSide() const;

    // --- undo ---
    // Replay letters ("Z", "X", "H") of the first `count` hands entered.
    std::string ResultLetters(int count) const;
    // Resets the shoe and records the letters in order, stopping at the first hand after which
    // the shoe is over. Letters other than Z, X and H are skipped.
    void Replay(std::string_view letters);
    // Takes the last hand back by replaying all hands but the last. Returns 0 on an empty shoe.
    int Back();

    // --- money, for the advice line ---
    // Base unit in yuan: the smaller of the table minimum and the table maximum / 200.
    int BaseUnit() const;
    // 5% commission, in yuan, on the units won on banker advice so far. 64-bit: with table limits
    // in the tens of millions the amount no longer fits 32 bits.
    std::int64_t ComputeCommission() const;
    // What the advice line gives as won at the end of the shoe, in yuan: the score times the base
    // unit less the commission, or 0 when the score is below one unit.
    std::int64_t WonAmount() const;

    // Recomputes the running sums and the cycle walk from the cells. Needed only after the
    // record's members were written directly (as tests do); the pipeline keeps them current.
    void RebuildDerivedState();

    bool operator==(const CShoeEngine&) const = default;

    // --- the record ---
    int m_nHandCount = 0;  // hands entered, 0..66; also the index of the next hand
    std::array<CCellRecord, kHands> m_ResultCell{};  // result of hand i
    std::array<CCellRecord, kHands> m_AdviceCell{};  // advice for hand i; entries 0..3 unused
    std::array<int, kHands> m_nStake{};              // stake advised for hand i, units
    std::array<int, kHands> m_nRunLen{};             // lengths of the runs, oldest first
    int m_nRunIndex = 0;                             // index of the current run
    int m_nLastSide = 0;     // side of the current run, SIDE_NONE before the first one
    int m_nScore = 0;        // net units won by the advice
    int m_nYield = 0;        // m_nScore as a whole percentage of the units staked and settled
    int m_nDangerCount = 0;  // bets advised since the start or the last won cycle
    int m_nWinCycles = 0;    // won cycles (or m_nWinStopNum + 1 after a forced stop)
    int m_bSimulating = 0;   // 1 while a simulation drives the shoe: no end-of-shoe notice

private:
    void CellChanged(CShoeObserver::Grid grid, int index) {
        if (m_pObserver) m_pObserver->CellChanged(grid, index);
    }
    void AdviceCellAreaChanged(int index) {
        if (m_pObserver) m_pObserver->AdviceCellAreaChanged(index);
    }
    void AreaChanged(CShoeObserver::Area area) {
        if (m_pObserver) m_pObserver->AreaChanged(area);
    }
    void NotifyShoeOver() {
        if (m_pObserver) m_pObserver->ShoeOver();
    }
    // Moves the cycle walk forward to hand h (the hand just entered).
    void WalkCycle(int h);

    const ShoeSettings* m_pSettings;
    CShoeObserver* m_pObserver;

    // Derived from the settled cells and kept up to date hand by hand, so that a hand costs the
    // same at the end of a shoe as at its start.
    int m_nValueSum = 0;                // sum of the settled values
    int m_nAbsSum = 0;                  // sum of their absolute values
    int m_nLastBet = -1;                // index of the last settled bet, -1 for none
    int m_nPrevBet = -1;                // index of the bet before it
    int m_nCycleStart = kFirstAdvised;  // first hand of the current betting cycle
    int m_nWalkNext = kFirstAdvised;    // next settled hand for the won-pair walk
    int m_bWaitWin = 0;                 // the walk has seen one won bet of a pair
    int m_nLookFrom = 0;  // after a won pair: first hand that may start the next cycle; 0 none
};
