#pragma once

#include <chrono>

#include "engine/Settings.h"

// Seconds per random shoe on this machine with `threads` workers (0: every core), measured by
// playing random shoes under `settings` for about `sample`. The search's estimate uses it, so the
// time it announces is this machine's and not a fixed figure.
double MeasureSecondsPerShoe(const ShoeSettings& settings, int threads = 0,
                             std::chrono::milliseconds sample = std::chrono::milliseconds(50));
