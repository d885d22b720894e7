// A plain copy of the game record's state after a frame, under the record's own names, and its JSON
// form (one object on one line) for --state and --trace. Both follow RecordVisit.h's list.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "game/RecordVisit.h"
#include "platform/automation/Automation.h"

struct GameSnapshot : RecordFields<int8_t> {  // the cells as their kinds
    uint32_t frame = 0;                       // frames run
    uint32_t rng = 0;
    std::vector<plat::PlayedSound> sounds;
};

// Copies the record and sounds (the run's sound log, or a part of it) into snapshot, reusing its storage.
void CaptureSnapshot(const CGame& game, uint32_t frame, std::span<const plat::PlayedSound> sounds,
                     GameSnapshot* snapshot);

// Appends the snapshot as one JSON object, without a newline.
void AppendJson(const GameSnapshot& snapshot, std::string* out);

// The snapshot's top-level JSON keys, in the order AppendJson writes them.
std::vector<std::string> StateKeys();
