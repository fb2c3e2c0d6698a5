#include "sim/ShoeGame.h"

#include <algorithm>
#include <array>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"
#include "sim/CardShoe.h"
#include "sim/ShoeRandom.h"

namespace {

// The bets the advice line shows for advice `side` with `stake` units. Runs once per simulated
// hand on facts that are coin flips to the processor (which side, split or not), so it is
// arithmetic on 0/1 flags rather than branches; SettleBets likewise.
inline TableBets BetsOf(int side, int stake, std::int64_t unit, std::int64_t minimum) {
    const std::int64_t banker = side == SIDE_BANKER;
    const std::int64_t bet = banker | (side == SIDE_PLAYER);
    // 64-bit: stake x unit passes 32 bits once the table limits are in the tens of millions.
    const std::int64_t amount = stake * unit;
    const std::int64_t split = amount < minimum;
    const std::int64_t advised = std::max<std::int64_t>(0, amount + split * minimum) * bet;
    const std::int64_t other = std::max<std::int64_t>(0, split * minimum) * bet;
    return {banker * advised + (1 - banker) * other, banker * other + (1 - banker) * advised};
}

// The money and the results of the shoe in `engine`, read from its record once the shoe is over.
// Every hand's advice cell and stake still hold what the advice line showed before the hand was
// entered: only the pending cell after the last hand is cleared, and a tie's stake, which the
// tie returns anyway. Counting afterwards keeps the hand loop as short as the coin game's.
ShoeOutcome CountTable(const CShoeEngine& engine) {
    const std::int64_t unit = engine.BaseUnit();
    const std::int64_t minimum = engine.Settings().m_nXXLimitMoney;
    const int n = engine.m_nHandCount;
    ShoeOutcome outcome;
    std::array<int, 4> results{};  // by side code; results are 1 to 3, the mask keeps it so
    for (int i = 0; i < n; ++i) ++results[engine.m_ResultCell[i].m_nSide & 3];
    if (minimum >= 0 && unit >= 0) {
        // No bet is ever cut to zero, and the two halves of a split differ by the advised amount,
        // so a hand wins or loses its settled units x the base unit, less the commission on a
        // winning banker bet.
        // Banker bets added up by the result of their hand: indexing, where a test of the result
        // would become a mispredicted branch.
        std::array<std::int64_t, 4> onBankerBy{};
        for (int i = CShoeEngine::kFirstAdvised; i < n; ++i) {
            const int side = engine.m_AdviceCell[i].m_nSide;
            const std::int64_t amount = engine.m_nStake[i] * unit;
            const std::int64_t split = (amount < minimum) * minimum;
            onBankerBy[engine.m_ResultCell[i].m_nSide & 3] +=
                (side == SIDE_BANKER) * (amount + split) + (side == SIDE_PLAYER) * split;
        }
        outcome.commissionCents = 5 * onBankerBy[SIDE_BANKER];
        outcome.netCents = engine.m_nScore * unit * 100 - outcome.commissionCents;
    } else {
        for (int i = 0; i < n; ++i) {
            const BetSettlement money = SettleBets(
                BetsOf(engine.m_AdviceCell[i].m_nSide, engine.m_nStake[i], unit, minimum),
                engine.m_ResultCell[i].m_nSide);
            outcome.netCents += money.netCents;
            outcome.commissionCents += money.commissionCents;
        }
    }
    outcome.score = engine.m_nScore;
    outcome.hands = n;
    outcome.banker = results[SIDE_BANKER];
    outcome.player = results[SIDE_PLAYER];
    outcome.tie = results[SIDE_TIE];
    return outcome;
}

// Plays the results that `deal` hands out (a side code, SIDE_NONE when it has no more) into a
// freshly reset engine until they run out or the shoe is over, then counts the table. `deal` is
// only asked while the shoe goes on.
template <class Deal>
ShoeOutcome PlayAtTable(CShoeEngine& engine, Deal&& deal) {
    engine.m_bSimulating = 1;
    engine.ResetShoe();
    while (!engine.IsShoeOver()) {
        const int winner = deal();
        if (winner == SIDE_NONE) break;
        engine.RecordHand(winner);
    }
    return CountTable(engine);
}

}  // namespace

std::string_view GameName(Game game) {
    return game == Game::Cards ? "cards" : "coin";
}

std::optional<Game> ParseGame(std::string_view word) {
    if (word == "coin") return Game::Coin;
    if (word == "cards") return Game::Cards;
    return std::nullopt;
}

TableBets AdvisedBets(const CShoeEngine& engine) {
    const int n = engine.m_nHandCount;
    if (n < CShoeEngine::kFirstAdvised || n >= CShoeEngine::kHands) return {};
    return BetsOf(engine.m_AdviceCell[n].m_nSide, engine.m_nStake[n], engine.BaseUnit(),
                  engine.Settings().m_nXXLimitMoney);
}

BetSettlement SettleBets(const TableBets& bets, int winner) {
    const std::int64_t banker = winner == SIDE_BANKER;
    const std::int64_t player = winner == SIDE_PLAYER;
    return {banker * (95 * bets.banker - 100 * bets.player) +
                player * (100 * bets.player - 100 * bets.banker),
            banker * 5 * bets.banker};
}

ShoeOutcome PlayCoinShoe(CShoeEngine& engine, std::uint64_t seed, std::int64_t run,
                         std::int64_t shoe) {
    // The same loop as PlayRandomShoe, counting the sides as it goes.
    CShoeRandom coin(seed, run, shoe);
    engine.m_bSimulating = 1;
    engine.ResetShoe();
    int banker = 0;
    while (!engine.IsShoeOver()) {
        const int side = coin.NextSide();
        banker += side == SIDE_BANKER;
        engine.RecordHand(side);
    }
    ShoeOutcome outcome;
    outcome.score = engine.m_nScore;
    outcome.netCents = std::int64_t{engine.m_nScore} * engine.BaseUnit() * 100;
    outcome.hands = engine.m_nHandCount;
    outcome.banker = banker;
    outcome.player = engine.m_nHandCount - banker;
    return outcome;
}

ShoeOutcome PlayCardShoe(CShoeEngine& engine, std::uint64_t seed, std::int64_t run,
                         std::int64_t shoe) {
    CCardShoe cards(seed, run, shoe);
    return PlayAtTable(engine, [&cards] { return cards.DealWinner(); });
}

ShoeOutcome PlayShoe(Game game, CShoeEngine& engine, std::uint64_t seed, std::int64_t run,
                     std::int64_t shoe) {
    return game == Game::Cards ? PlayCardShoe(engine, seed, run, shoe)
                               : PlayCoinShoe(engine, seed, run, shoe);
}

std::string ShoeLetters(Game game, const ShoeSettings& settings, std::uint64_t seed,
                        std::int64_t run, std::int64_t shoe) {
    CShoeEngine engine(settings);
    PlayShoe(game, engine, seed, run, shoe);
    return engine.ResultLetters(engine.m_nHandCount);
}

ShoeOutcome PlayResults(CShoeEngine& engine, std::string_view letters) {
    std::size_t next = 0;
    return PlayAtTable(engine, [&] {
        while (next < letters.size()) {
            const int side = SideOfReplayLetter(letters[next++]);
            if (side != SIDE_NONE) return side;
        }
        return static_cast<int>(SIDE_NONE);
    });
}
