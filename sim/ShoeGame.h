#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Settings.h"

class CShoeEngine;

// The game a simulated shoe is played on.
enum class Game {
    Coin,   // banker or player, one chance in two, no ties; money is score x base unit
    Cards,  // an 8-deck shoe dealt by the punto banco rules; money as the advice line bets it
};

// "coin" or "cards", and back; nullopt for any other word.
std::string_view GameName(Game game);
std::optional<Game> ParseGame(std::string_view word);

// One simulated shoe, played to its end. Money is held in whole cents (1/100 yuan), which is exact
// for every bet and payout, so totals do not depend on the order in which shoes are added up.
struct ShoeOutcome {
    int score = 0;                        // the engine's score at the end of the shoe, units
    std::int64_t netCents = 0;            // money won (negative: lost) at the table
    std::int64_t commissionCents = 0;     // commission paid on winning banker bets
    int hands = 0;                        // hands recorded, ties included
    int banker = 0, player = 0, tie = 0;  // results of those hands

    double NetYuan() const { return static_cast<double>(netCents) / 100.0; }
    double CommissionYuan() const { return static_cast<double>(commissionCents) / 100.0; }
    friend bool operator==(const ShoeOutcome&, const ShoeOutcome&) = default;
};

// What the advice line tells the player to put on the hand about to be entered, in yuan: stake x
// base unit on the advised side; when that is below the table minimum, that amount plus the
// minimum on the advised side and the minimum on the other. Nothing before the fifth hand, on a
// pause, or once the shoe is over (as IsShoeOver left the record). A bet that would be zero or
// less (only a table minimum, or a base unit, of zero or less allows it) is no bet.
struct TableBets {
    std::int64_t banker = 0;
    std::int64_t player = 0;
};
TableBets AdvisedBets(const CShoeEngine& engine);

// The money of `bets` when `winner` comes out: a winning banker bet pays 0.95 of its amount (the
// other 0.05 is the commission), a winning player bet pays 1:1, a tie returns both bets.
struct BetSettlement {
    std::int64_t netCents = 0;
    std::int64_t commissionCents = 0;
};
BetSettlement SettleBets(const TableBets& bets, int winner);

// Plays shoe `shoe` of run `run` (both from 1) of a test with `seed` on `engine` from a reset to
// its end, with m_bSimulating set, and counts its money.
//
// The coin game plays exactly the shoe PlayRandomShoe plays (same hands, same score); its money is
// score x base unit with no commission.
ShoeOutcome PlayCoinShoe(CShoeEngine& engine, std::uint64_t seed, std::int64_t run,
                         std::int64_t shoe);
// The card game deals a CCardShoe for (seed, run, shoe) coup by coup into the engine, ties as
// ties, until the card shoe or the engine's shoe is over, betting as AdvisedBets says.
ShoeOutcome PlayCardShoe(CShoeEngine& engine, std::uint64_t seed, std::int64_t run,
                         std::int64_t shoe);
ShoeOutcome PlayShoe(Game game, CShoeEngine& engine, std::uint64_t seed, std::int64_t run,
                     std::int64_t shoe);

// The hand letters (Z, X, H) of that shoe of `game` under `settings`, to replay it.
std::string ShoeLetters(Game game, const ShoeSettings& settings, std::uint64_t seed,
                        std::int64_t run, std::int64_t shoe);

// Plays the results given as replay letters (Z banker, X player, H tie; other characters are
// skipped) from a reset, with the money of the card game, until they run out or the shoe is over.
ShoeOutcome PlayResults(CShoeEngine& engine, std::string_view letters);
