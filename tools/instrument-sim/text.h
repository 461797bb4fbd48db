// Reading numbers and words from the text of the command line and of standard input.
#pragma once

#include <string>
#include <vector>

namespace instrument_sim {

// Parses a whole decimal number lo..hi; on anything else returns false and leaves `out` alone.
bool parseInt(const std::string& s, long lo, long hi, long& out);

// The words of a line, split at white space.
std::vector<std::string> splitWords(const std::string& line);

}  // namespace instrument_sim
