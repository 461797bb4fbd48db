// Every line the simulator writes to standard output (the pty path, command replies, event
// lines) goes through say(): one line, flushed at once, so that a controlling program sees it
// as soon as it happens.
#pragma once

#include <cstdio>
#include <string>

namespace instrument_sim {

inline void say(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace instrument_sim
