#pragma once

#include "engine/ShoeEngine.h"

// The stake rule, the side rules and the score computed the plain way: the stake and the score by
// walking the settled cells from the start of the shoe on every call, the side by the numbered
// rules on the run lengths as they are, without the engine's clamping and table. The engine gets
// the same figures its fast way (running sums, a table of the side rules); the property test
// checks that the two agree.
struct LiteralStake {
    int stake;   // stake for hand h + 1 before a pause sets it to 0
    int danger;  // danger count afterwards
    int cycles;  // won cycles afterwards
};

// The stake for hand h + 1, with hands 4..h settled in `e`, given the counters as they stood
// before the stake rule ran.
LiteralStake LiteralNextStake(const CShoeEngine& e, int h, int danger, int cycles);

// The side advised for hand h + 1 (SIDE_BANKER, SIDE_PLAYER or SIDE_PAUSE; SIDE_NONE out of
// range), from the runs in `e` after hand h and the danger count as the stake rule left it.
int LiteralAdviseSide(const CShoeEngine& e, int h, int danger);

// Score and yield over advice cells 4..k.
struct LiteralScore {
    int score;
    int yield;
};
LiteralScore LiteralScoreUpTo(const CShoeEngine& e, int k);
