#include "engine/ShoeEngine.h"

#include <cstdint>
#include <cstdlib>

using Grid = CShoeObserver::Grid;
using Area = CShoeObserver::Area;

void CShoeEngine::ResetShoe() {
    m_nYield = m_nWinCycles = m_nDangerCount = m_nScore = m_nHandCount = 0;
    m_nStake.fill(0);
    m_ResultCell.fill(CCellRecord{});
    m_AdviceCell.fill(CCellRecord{});  // entries 0..3 are never written, so they stay empty
    if (m_pObserver) {
        for (int i = 0; i < kHands; ++i) {
            m_pObserver->CellChanged(Grid::Result, i);
            if (i >= kFirstAdvised) m_pObserver->CellChanged(Grid::Advice, i);
        }
    }
    m_nRunIndex = m_nLastSide = 0;
    m_nRunLen.fill(0);
    m_nValueSum = m_nAbsSum = 0;
    m_nLastBet = m_nPrevBet = -1;
    m_nCycleStart = m_nWalkNext = kFirstAdvised;
    m_bWaitWin = m_nLookFrom = 0;
    AreaChanged(Area::Client);
}

void CShoeEngine::TrackRun(int side) {
    if (m_nLastSide == SIDE_NONE) {
        m_nRunIndex = 0;
        m_nRunLen[0] = 1;
    } else {
        // Written without a branch on the side: in a simulation it is a coin flip.
        const int newRun = side != m_nLastSide && m_nRunIndex + 1 < kHands;
        m_nRunIndex += newRun;
        m_nRunLen[m_nRunIndex] = newRun ? 1 : m_nRunLen[m_nRunIndex] + 1;
    }
    m_nLastSide = side;
}

int CShoeEngine::IsShoeOver() {
    const ShoeSettings& s = *m_pSettings;
    const bool over =
        m_nDangerCount >= s.m_nDangerous2 || m_nWinCycles >= s.m_nWinStopNum ||
        m_nHandCount >= kHands || m_nScore >= s.m_nWinStopMoney ||
        // 64-bit, so that the most negative stop-loss does not overflow
        static_cast<long long>(m_nScore) <= -static_cast<long long>(s.m_nLossStopMoney);
    // No stop rule fired: the shoe goes on, whatever the after-stop mode.
    if (!over) return 0;
    if (s.m_nAfterWinStop == 1 || s.m_nAfterWinStop == 2) {
        // A fired rule is held back while the last hand entered was not lost (mode 1: and the
        // current run is four or longer).
        const bool notLost = m_nHandCount > 4 && m_nHandCount < kHands &&
                             m_AdviceCell[m_nHandCount - 1].m_nValue >= 0;
        if (notLost && (s.m_nAfterWinStop == 2 || m_nRunLen[m_nRunIndex] >= 4)) return 0;
    }
    if (m_nHandCount > 3 && m_nHandCount < kHands) {
        CCellRecord& pending = m_AdviceCell[m_nHandCount];
        // Repainting an already empty cell would change nothing on screen; skipping it keeps a
        // paint that asks this question from scheduling another paint.
        if (pending.m_nSide != SIDE_NONE || pending.m_nValue != 0) {
            pending.m_nSide = pending.m_nValue = 0;
            CellChanged(Grid::Advice, m_nHandCount);
        }
    }
    return 1;
}

int CShoeEngine::RecordHand(int side) {
    if (IsShoeOver()) {
        NotifyShoeOver();
        return 0;
    }
    const int k = m_nHandCount;
    m_ResultCell[k].m_nSide = side;
    m_ResultCell[k].m_bShow = 1;
    CellChanged(Grid::Result, k);
    if (side == SIDE_BANKER || side == SIDE_PLAYER) {
        TrackRun(side);
        if (k > 3) {
            const int advised = m_AdviceCell[k].m_nSide;
            if (advised == SIDE_BANKER || advised == SIDE_PLAYER) ++m_nDangerCount;
        }
    }
    SettleAdvice();
    UpdateScore();
    AdvanceHand();
    if (IsShoeOver() && !m_bSimulating) NotifyShoeOver();
    return 1;
}

void CShoeEngine::SettleAdvice() {
    const int k = m_nHandCount;
    if (k <= 3 || k >= kHands) return;
    const int r = m_ResultCell[k].m_nSide;
    const int a = m_AdviceCell[k].m_nSide;
    const int s = m_nStake[k];
    int v = 0;
    if (r == SIDE_BANKER || r == SIDE_PLAYER) v = (a == r) ? s : -s;
    m_AdviceCell[k].ShowValue(v);
    CellChanged(Grid::Advice, k);
    if (r != SIDE_BANKER && r != SIDE_PLAYER) m_nStake[k] = 0;
    AdviceCellAreaChanged(k);

    m_nValueSum += v;
    m_nAbsSum += std::abs(v);
    if (m_nStake[k] != 0) {
        m_nPrevBet = m_nLastBet;
        m_nLastBet = k;
    }
}

void CShoeEngine::UpdateScore() {
    m_nScore = m_nHandCount < kFirstAdvised ? 0 : m_nValueSum;
    m_nYield = (m_nScore == 0 || m_nAbsSum == 0) ? 0 : m_nScore * 100 / m_nAbsSum;
    if (m_pObserver) m_pObserver->ScoreChanged();
    AreaChanged(Area::StatusLine);
}

void CShoeEngine::AdvanceHand() {
    const int k = m_nHandCount;
    if (k >= 3 && k <= kHands - 2) {
        NextStake();
        int a = AdviseSide();
        if (k > 3 && m_ResultCell[k].m_nSide == SIDE_TIE) a = m_AdviceCell[k].m_nSide;
        CCellRecord& next = m_AdviceCell[k + 1];
        next.ShowValue(0);
        CellChanged(Grid::Advice, k + 1);
        next.m_nSide = a;
        if (a == SIDE_NONE) {
            next.m_nValue = 0;
        } else {
            next.m_bShow = 1;
        }
        CellChanged(Grid::Advice, k + 1);
        if (a == SIDE_PAUSE) m_nStake[k + 1] = 0;
        AdviceCellAreaChanged(k + 1);
        AreaChanged(Area::AdviceLine);
    }
    if (++m_nHandCount >= kHands) m_nHandCount = kHands;
}

void CShoeEngine::WalkCycle(int h) {
    // Two won bets in a row (settled values above 0, zeros between them ignored) close a cycle;
    // the next cycle starts at the first bet after the pair. Pairs do not overlap.
    for (; m_nWalkNext <= h - 1; ++m_nWalkNext) {
        const int v = m_AdviceCell[m_nWalkNext].m_nValue;
        if (m_nLookFrom != 0 && v != 0) {
            m_nCycleStart = m_nWalkNext;
            m_nLookFrom = 0;
        }
        if (v > 0) {
            if (!m_bWaitWin) {
                m_bWaitWin = 1;
            } else {
                m_bWaitWin = 0;
                m_nLookFrom = m_nWalkNext + 1;
            }
        } else if (v < 0) {
            m_bWaitWin = 0;
        }
    }
    // The look for the next cycle's first bet reaches the hand just entered.
    if (m_nLookFrom != 0 && h >= m_nLookFrom && m_AdviceCell[h].m_nValue != 0) {
        m_nCycleStart = h;
        m_nLookFrom = 0;
    }
}

void CShoeEngine::NextStake() {
    const int h = m_nHandCount;
    if (h < 3 || h > kHands - 2) return;
    const int t = h + 1;
    WalkCycle(h);
    const int c = m_nCycleStart;
    const int a = (m_nLastBet >= c) ? m_nLastBet : -1;
    const int b = (a >= 0 && m_nPrevBet >= c) ? m_nPrevBet : -1;

    int stake;
    if (a < 0) {
        stake = 1;
    } else if (b < 0) {
        stake = 2;
    } else {
        const int A = m_AdviceCell[a].m_nValue;
        const int B = m_AdviceCell[b].m_nValue;
        if (B > 0 && A > 0) {
            stake = 1;
            m_nDangerCount = 0;
            if (m_ResultCell[h].m_nSide != SIDE_TIE && m_AdviceCell[h].m_nSide != SIDE_PAUSE)
                ++m_nWinCycles;
        } else if (B < 0 && A > 0) {
            stake = 2 * A;
        } else {
            // Lost twice: recover the last loss; won then lost: recover the net of the two.
            const long long x = (B < 0) ? std::llabs(A) : std::llabs(static_cast<long long>(A) + B);
            stake = 1;
            for (std::size_t j = 0; j < g_nProgression.size(); ++j) {
                if (x <= g_nProgression[j]) {
                    // The last entry repeats the one before it, so j + 1 never runs past it in
                    // practice; guard anyway.
                    stake = g_nProgression[j + 1 < g_nProgression.size() ? j + 1 : j];
                    break;
                }
            }
            if (stake > kForcedStop) {
                // One past the won-cycle limit ends the shoe; at the largest limit the limit
                // itself does, and one past it would overflow.
                const int limit = m_pSettings->m_nWinStopNum;
                m_nWinCycles = limit < INT32_MAX ? limit + 1 : limit;
            }
        }
    }
    m_nStake[t] = stake > kStakeCap ? kStakeCap : stake;
}

namespace {

// What the side rules say, relative to the current run: follow it, switch, or pause.
enum Advice : unsigned char { kFollow = 0, kSwitch = 1, kPause = 2, kAlarmPattern = 4 };

// The side rules and the alarm patterns, as plain comparisons on the last five run lengths
// (L0 the current run), the run index k and whether the hand just entered is before index 7.
constexpr unsigned char AdviceRules(int k, int L0, int L1, int L2, int L3, int L4, bool early) {
    unsigned char advice;
    if (L0 >= 4)
        advice = kFollow;
    else if (k >= 2 && L2 >= 2 && L1 == 1 && L0 == 1)
        advice = kFollow;
    else if (k >= 2 && L1 == 1 && L0 == 2)
        advice = kSwitch;
    else if (k >= 2 && L1 == 2 && L0 == 1)
        advice = kSwitch;
    else if (early)
        advice = kPause;
    else if (k >= 2 && L1 >= 3 && L0 == 1)
        advice = kSwitch;
    else if (k >= 2 && L1 >= 2 && L0 == 2)
        advice = kSwitch;
    else if (k >= 2 && L1 >= 1 && L0 == 3)
        advice = kFollow;
    else if (k >= 4 && L4 == 1 && L3 == 1 && L2 == 1 && L1 == 1 && L0 == 1)
        advice = kSwitch;
    else if (k >= 4 && L4 >= 2 && L3 == 1 && L2 == 1 && L1 == 1 && L0 == 1)
        advice = kFollow;
    else
        advice = kPause;
    // While the alarm is on, advice given on these patterns is turned over.
    const bool pattern =
        k >= 3 && ((L1 >= 1 && L0 == 3) || (L1 >= 2 && L0 == 2) || (L1 >= 3 && L0 == 1) ||
                   (L3 >= 1 && L2 == 1 && L1 == 1 && L0 == 1));
    return advice | (pattern ? kAlarmPattern : 0);
}

// Every rule compares a run length with at most 4 (L0), 3 (L1) or 2 (L2..L4) and the run index
// with at most 4, so the rules are tabulated over those clamped values. The table spares the
// simulations a chain of unpredictable branches per hand.
constexpr int kK = 5, kL0 = 5, kL1 = 4, kL2 = 3, kL3 = 3, kL4 = 3;

constexpr int AdviceIndex(int k, int L0, int L1, int L2, int L3, int L4, bool early) {
    return ((((((k * kL0 + L0) * kL1 + L1) * kL2 + L2) * kL3 + L3) * kL4 + L4) * 2) + early;
}

constexpr auto kAdviceTable = [] {
    std::array<unsigned char, kK * kL0 * kL1 * kL2 * kL3 * kL4 * 2> table{};
    for (int k = 0; k < kK; ++k)
        for (int L0 = 0; L0 < kL0; ++L0)
            for (int L1 = 0; L1 < kL1; ++L1)
                for (int L2 = 0; L2 < kL2; ++L2)
                    for (int L3 = 0; L3 < kL3; ++L3)
                        for (int L4 = 0; L4 < kL4; ++L4)
                            for (int early = 0; early < 2; ++early)
                                table[AdviceIndex(k, L0, L1, L2, L3, L4, early)] =
                                    AdviceRules(k, L0, L1, L2, L3, L4, early);
    return table;
}();

constexpr int Clamp(int value, int most) {
    return value < most ? value : most;
}

}  // namespace

int CShoeEngine::AdviseSide() const {
    const int h = m_nHandCount;
    const int k = m_nRunIndex;
    if (k < 0 || h < 3 || h > kHands) return SIDE_NONE;
    auto L = [&](int back, int most) { return k >= back ? Clamp(m_nRunLen[k - back], most) : 0; };
    const unsigned char advice =
        kAdviceTable[AdviceIndex(Clamp(k, kK - 1), L(0, kL0 - 1), L(1, kL1 - 1), L(2, kL2 - 1),
                                 L(3, kL3 - 1), L(4, kL4 - 1), h < 7)];
    if ((advice & 3) == kPause) return SIDE_PAUSE;
    const bool alarm = (advice & kAlarmPattern) && m_nDangerCount >= m_pSettings->m_nDangerous1;
    const bool other = ((advice & 3) == kSwitch) != alarm;
    const int S = m_nLastSide;
    return other ? (S == SIDE_BANKER ? SIDE_PLAYER : SIDE_BANKER) : S;
}

std::string CShoeEngine::ResultLetters(int count) const {
    std::string letters;
    for (int i = 0; i < count && i < kHands; ++i) {
        if (const char c = ReplayLetter(m_ResultCell[i].m_nSide)) letters += c;
    }
    return letters;
}

void CShoeEngine::Replay(std::string_view letters) {
    ResetShoe();
    if (IsShoeOver()) return;
    for (const char letter : letters) {
        const int side = SideOfReplayLetter(letter);
        if (side == SIDE_NONE) continue;
        RecordHand(side);
        if (IsShoeOver()) break;
    }
}

int CShoeEngine::Back() {
    if (m_nHandCount == 0) return 0;
    Replay(ResultLetters(m_nHandCount - 1));
    return 1;
}

int CShoeEngine::BaseUnit() const {
    const int perMax = m_pSettings->m_nSXLimitMoney / 200;
    return m_pSettings->m_nXXLimitMoney < perMax ? m_pSettings->m_nXXLimitMoney : perMax;
}

std::int64_t CShoeEngine::ComputeCommission() const {
    long long sum = 0;
    for (int i = kFirstAdvised; i < m_nHandCount && i < kHands; ++i) {
        const CCellRecord& cell = m_AdviceCell[i];
        if (cell.m_nSide == SIDE_BANKER && cell.m_nValue > 0) sum += cell.m_nValue;
    }
    // At most 66 x 300 units x 0.05 x (2^31 / 200) yuan: well inside 64 bits.
    return static_cast<std::int64_t>(static_cast<double>(sum) * 0.05 * BaseUnit());
}

std::int64_t CShoeEngine::WonAmount() const {
    if (m_nScore < 1) return 0;
    return static_cast<std::int64_t>(m_nScore) * BaseUnit() - ComputeCommission();
}

void CShoeEngine::RebuildDerivedState() {
    // Cells up to m_nHandCount may be settled (the pipeline settles hand m_nHandCount before it
    // advances); a pending cell has value 0 and so adds nothing and counts as no bet.
    m_nValueSum = m_nAbsSum = 0;
    m_nLastBet = m_nPrevBet = -1;
    for (int i = kFirstAdvised; i <= m_nHandCount && i < kHands; ++i) {
        const int v = m_AdviceCell[i].m_nValue;
        m_nValueSum += v;
        m_nAbsSum += std::abs(v);
        if (v != 0) {
            m_nPrevBet = m_nLastBet;
            m_nLastBet = i;
        }
    }
    m_nCycleStart = m_nWalkNext = kFirstAdvised;
    m_bWaitWin = m_nLookFrom = 0;
}
