#pragma once

#include "engine/ShoeEngine.h"

// The stake rule and the score computed the plain way, by walking the settled cells from the
// start of the shoe on every call. The engine keeps the same figures incrementally; the property
// test checks that the two agree.
struct LiteralStake {
    int stake;   // stake for hand h + 1 before a pause sets it to 0
    int danger;  // danger count afterwards
    int cycles;  // won cycles afterwards
};

// The stake for hand h + 1, with hands 4..h settled in `e`, given the counters as they stood
// before the stake rule ran.
LiteralStake LiteralNextStake(const CShoeEngine& e, int h, int danger, int cycles);

// Score and yield over advice cells 4..k.
struct LiteralScore {
    int score;
    int yield;
};
LiteralScore LiteralScoreUpTo(const CShoeEngine& e, int k);
