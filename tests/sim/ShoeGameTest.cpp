#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/ShoeEngine.h"
#include "sim/CardShoe.h"
#include "sim/RandomTest.h"
#include "sim/ShoeGame.h"

namespace {

ShoeSettings Limits(int minimum, int maximum) {
    ShoeSettings s;
    s.m_nXXLimitMoney = minimum;
    s.m_nSXLimitMoney = maximum;
    return s;
}

ShoeSettings WinStop(int units) {
    ShoeSettings s;
    s.m_nWinStopMoney = units;
    return s;
}

// Settings under which only the 66-hand limit and the progression's forced stop end a shoe.
ShoeSettings NoStops() {
    ShoeSettings s;
    s.m_nWinStopMoney = s.m_nLossStopMoney = s.m_nWinStopNum = s.m_nDangerous2 = 1000000;
    return s;
}

TEST(ShoeGame, GameNames) {
    for (const Game game : {Game::Coin, Game::Cards}) EXPECT_EQ(ParseGame(GameName(game)), game);
    EXPECT_EQ(GameName(Game::Coin), "coin");
    EXPECT_EQ(GameName(Game::Cards), "cards");
    for (const char* word : {"", "Cards", "card", "coins", "coin "})
        EXPECT_EQ(ParseGame(word), std::nullopt) << '"' << word << '"';
}

// The bets of the advice line for the next hand, after the hands given (replay letters).
TEST(ShoeGame, AdvisedBets) {
    struct Case {
        const char* name;
        ShoeSettings settings;
        const char* hands;
        std::int64_t banker, player;
    };
    const Case cases[] = {
        {"nothing before the fifth hand", {}, "ZZZ", 0, 0},
        {"banker 1 unit below the minimum: split", {}, "ZZZZ", 300, 200},
        {"player 1 unit below the minimum: split", {}, "XXXX", 200, 300},
        {"pause: no bet", {}, "ZXZX", 0, 0},
        {"2 units equal to the minimum: one bet", {}, "ZZZZZ", 200, 0},
        {"unit 50 at minimum 50: one bet", Limits(50, 20000), "ZZZZ", 50, 0},
        {"unit 150 at minimum 150: one bet", Limits(150, 30000), "XXXX", 0, 150},
        {"shoe over: no bet", WinStop(1), "ZZZZZ", 0, 0},
        {"zero minimum: a bet of 0 is no bet", Limits(0, 20000), "ZZZZ", 0, 0},
        {"negative minimum: no negative bets", Limits(-100, 20000), "ZZZZ", 0, 0},
        {"amounts past 32 bits", Limits(2147483647, 2147483647), "ZZZZZ",
         2 * 10737418 + 2147483647ll, 2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CShoeEngine engine(c.settings);
        engine.Replay(c.hands);
        engine.IsShoeOver();  // as the loop asks before every hand
        const TableBets bets = AdvisedBets(engine);
        EXPECT_EQ(bets.banker, c.banker);
        EXPECT_EQ(bets.player, c.player);
    }
}

TEST(ShoeGame, SettleBets) {
    struct Case {
        TableBets bets;
        int winner;
        std::int64_t net, commission;  // cents
    };
    const Case cases[] = {
        {{300, 200}, SIDE_BANKER, 28500 - 20000, 1500},
        {{300, 200}, SIDE_PLAYER, 20000 - 30000, 0},
        {{300, 200}, SIDE_TIE, 0, 0},
        {{200, 300}, SIDE_BANKER, 19000 - 30000, 1000},  // commission on the minimum too
        {{200, 300}, SIDE_PLAYER, 30000 - 20000, 0},
        {{0, 50}, SIDE_PLAYER, 5000, 0},
        {{50, 0}, SIDE_BANKER, 4750, 250},
        {{50, 0}, SIDE_PAUSE, 0, 0},
        {{}, SIDE_BANKER, 0, 0},
    };
    for (const Case& c : cases) {
        const BetSettlement money = SettleBets(c.bets, c.winner);
        EXPECT_EQ(money.netCents, c.net)
            << c.bets.banker << "/" << c.bets.player << " " << c.winner;
        EXPECT_EQ(money.commissionCents, c.commission)
            << c.bets.banker << "/" << c.bets.player << " " << c.winner;
    }
}

// Money over hand-built shoes, worked out hand by hand.
TEST(ShoeGame, MoneyOfHandBuiltShoes) {
    struct Case {
        const char* name;
        ShoeSettings settings;
        const char* hands;
        ShoeOutcome expected;  // score, net, commission, hands, banker, player, tie
    };
    const Case cases[] = {
        // Hand 5: banker 1 split 300/200, banker wins +285 - 200. Hand 6: banker 200, tie,
        // returned. Hand 7: the advice repeats after the tie, banker 200 wins +190. Hand 8: won
        // cycle, banker 1 split again, player wins -300 + 200.
        {"split, push on a tie, banker pays 0.95", {}, "ZZZZ ZHZX", {2, 17500, 2500, 8, 6, 1, 1}},
        // Player 1 split 300/200; banker wins: +190 on the minimum, -300 on the advice.
        {"commission on the other side's minimum", {}, "XXXXZ", {-1, -11000, 1000, 5, 1, 4, 0}},
        {"a tie returns both halves of a split", {}, "ZZZZH", {0, 0, 0, 5, 4, 0, 1}},
        {"0.95 of 50 yuan is kept to the cent",
         Limits(50, 20000),
         "ZZZZZ",
         {1, 4750, 250, 5, 5, 0, 0}},
        {"hands after the end of the shoe are not played",
         WinStop(1),
         "ZZZZZZZX",
         {1, 8500, 1500, 5, 5, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CShoeEngine engine(c.settings);
        const ShoeOutcome got = PlayResults(engine, c.hands);
        EXPECT_EQ(got.score, c.expected.score);
        EXPECT_EQ(got.netCents, c.expected.netCents);
        EXPECT_EQ(got.commissionCents, c.expected.commissionCents);
        EXPECT_EQ(got.hands, c.expected.hands);
        EXPECT_EQ(got.banker, c.expected.banker);
        EXPECT_EQ(got.player, c.expected.player);
        EXPECT_EQ(got.tie, c.expected.tie);
        EXPECT_EQ(engine.m_nScore, got.score);
    }
}

// The coin game plays the random test's own shoes: same hands, same score, money score x unit.
TEST(ShoeGame, CoinShoeIsTheRandomTestsShoe) {
    for (const ShoeSettings& s : {ShoeSettings{}, Limits(50, 20000), NoStops()}) {
        CShoeEngine engine(s), reference(s);
        for (std::int64_t shoe = 1; shoe <= 200; ++shoe) {
            const ShoeOutcome got = PlayShoe(Game::Coin, engine, 99, 2, shoe);
            const std::string letters = RandomShoeLetters(s, 99, 2, shoe);
            ASSERT_EQ(ShoeLetters(Game::Coin, s, 99, 2, shoe), letters);
            ASSERT_EQ(got.score, PlayRandomShoe(reference, 99, 2, shoe));
            ASSERT_EQ(engine, reference);
            ASSERT_EQ(got.hands, static_cast<int>(letters.size()));
            ASSERT_EQ(got.banker, std::count(letters.begin(), letters.end(), 'Z'));
            ASSERT_EQ(got.player, std::count(letters.begin(), letters.end(), 'X'));
            ASSERT_EQ(got.tie, 0);
            ASSERT_EQ(got.netCents, std::int64_t{got.score} * engine.BaseUnit() * 100);
            ASSERT_EQ(got.commissionCents, 0);
        }
    }
}

// A card shoe enters its coups in deal order until the engine's shoe is over, and its money is
// that of the bets the advice line showed before each hand, settled one by one.
TEST(ShoeGame, CardShoeFeedsItsCoupsIntoTheEngine) {
    for (const ShoeSettings& s : {ShoeSettings{}, Limits(50, 20000), Limits(200, -200000),
                                  Limits(-100, 20000), NoStops()}) {
        CShoeEngine engine(s), check(s);
        for (std::int64_t shoe = 1; shoe <= 200; ++shoe) {
            const ShoeOutcome got = PlayShoe(Game::Cards, engine, 4, 1, shoe);
            ASSERT_EQ(got, PlayCardShoe(check, 4, 1, shoe));  // the same every time

            CCardShoe cards(4, 1, shoe);
            std::string dealt;
            while (static_cast<int>(dealt.size()) < got.hands)
                dealt += ReplayLetter(cards.DealCoup().winner);
            ASSERT_EQ(engine.ResultLetters(got.hands), dealt);
            ASSERT_EQ(ShoeLetters(Game::Cards, s, 4, 1, shoe), dealt);
            ASSERT_TRUE(engine.IsShoeOver());
            ASSERT_EQ(got.banker + got.player + got.tie, got.hands);
            ASSERT_EQ(PlayResults(check, dealt), got);

            // The reference: each hand settled with the bets shown just before it.
            check.m_bSimulating = 1;
            check.ResetShoe();
            BetSettlement total;
            for (const char letter : dealt) {
                const int side = SideOfReplayLetter(letter);
                const BetSettlement money = SettleBets(AdvisedBets(check), side);
                total.netCents += money.netCents;
                total.commissionCents += money.commissionCents;
                check.RecordHand(side);
            }
            ASSERT_EQ(got.netCents, total.netCents) << "shoe " << shoe;
            ASSERT_EQ(got.commissionCents, total.commissionCents) << "shoe " << shoe;
        }
    }
}

// Hands entered by card shoes played through the engine with the default settings come out
// banker, player and tie in the published shares, each within 4 standard errors.
TEST(ShoeGame, CardShoeResultsMatchTheProbabilities) {
    const ShoeSettings s;
    CShoeEngine engine(s);
    std::int64_t banker = 0, player = 0, tie = 0;
    for (std::int64_t shoe = 1; shoe <= 100000; ++shoe) {
        const ShoeOutcome o = PlayCardShoe(engine, 31, 1, shoe);
        banker += o.banker;
        player += o.player;
        tie += o.tie;
    }
    const double hands = static_cast<double>(banker + player + tie);
    for (const auto& [count, p] :
         {std::pair{banker, 0.458597}, {player, 0.446247}, {tie, 0.095156}}) {
        const double se = std::sqrt(p * (1 - p) / hands);
        EXPECT_NEAR(static_cast<double>(count) / hands, p, 4 * se) << p;
    }
}

}  // namespace
