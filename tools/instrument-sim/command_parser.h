// Reads the computer's command blocks (a command character and 21 "Z", 22 bytes in all) from the
// byte stream and turns them into slot requests and releases. Garbage is skipped byte by byte;
// an R block always starts a new command sequence.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wire_format.h"

namespace instrument_sim {

struct Command {
    enum class Kind { SlotRequest, Release };
    Kind kind;
    int slot = 0;  // SlotRequest: the three digits as a number, 0..299
};

class CommandParser {
public:
    // Feeds received bytes; returns the commands completed by them, in order.
    std::vector<Command> feed(const std::uint8_t* data, std::size_t size);

    // Bytes skipped because they did not form a block (for --verbose).
    [[nodiscard]] long skippedBytes() const { return m_skipped; }

private:
    void onBlock(char c, std::vector<Command>& out);

    enum class State { Idle, AfterR, Digits };
    std::string m_pending;  // start of a block that is not complete yet
    State m_state = State::Idle;
    int m_digits = 0;
    int m_value = 0;
    long m_skipped = 0;
};

}  // namespace instrument_sim
