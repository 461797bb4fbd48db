// The usage text (--help and the `help` command): a fixed introduction, then the option table
// (options.cpp), the console command table (console.cpp) and the event lines (usage.cpp), each
// row laid out as "  NAME<padding>HELP".
#pragma once

#include <string>

namespace instrument_sim {

[[nodiscard]] const std::string& usageText();

}  // namespace instrument_sim
