#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "roads/ShoeRoads.h"

class CShoeEngine;

// The roads of the hands in the engine's record.
CShoeRoads RoadsOfRecord(const CShoeEngine& engine);

// The roads as one JSON object {"roads": {...}}: the bead plate, the big road and the three
// derived roads as arrays of columns, the ties before the first banker or player hand, the
// preview for a banker and a player hand next, and the counts.
nlohmann::ordered_json RoadsJson(const CShoeRoads& roads);

// The same for a terminal: each road drawn in its six rows, then the preview and the counts.
std::string RoadsText(const CShoeRoads& roads);
