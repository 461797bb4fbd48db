// Faults: how one transmission departs from a clean frame. The same names serve the command-line
// flags (every frame: `--noise 3`) and the `fault` command (the next frame only: `fault noise 3`).
#pragma once

#include <optional>
#include <string>

#include "model.h"

namespace instrument_sim {

// Upper limits of the fault arguments (and of --reply-delay).
inline constexpr long kMaxInsertedBytes = 100'000;  // noise K, filler F
inline constexpr long kMaxByteCount = 1'000'000;    // cut K, hangup K, noanswer N
inline constexpr long kMaxDelayMs = 600'000;        // delay MS, --reply-delay MS: ten minutes

// Faults of one transmission: frame bytes plus how it is sent.
struct Faults {
    FrameFaults frame;
    std::optional<int> cutAfter;     // stop after this many bytes counted from the sync byte
    std::optional<int> hangupAfter;  // close the pty and exit after this many bytes
    std::optional<int> replyDelayMs;
};

// What the `fault` command has armed for the next frame only.
struct ArmedFaults {
    std::optional<Faults> nextFrame;  // applies to the next frame sent, on top of the flags
    int noAnswer = 0;                 // slot requests still to ignore
};

// Applies the fault `name` (noise, sep255, nosep, filler, b255, memno, cut, hangup, delay) with
// its argument (nullptr: none given) to `faults`. `blockBLength` bounds b255. On an unknown name
// or a bad argument returns false and sets `error`.
bool applyFault(const std::string& name, const std::string* arg, int blockBLength, Faults& faults,
                std::string& error);

}  // namespace instrument_sim
