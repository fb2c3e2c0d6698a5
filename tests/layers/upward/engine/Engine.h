#pragma once

// A layer that reaches up: the layer check must refuse this tree.
#include "sim/Simulation.h"
