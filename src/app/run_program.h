// Starts one deliverable with its model profile.
#pragma once

#include <memory>

#include "profiles/model_profile.h"

namespace trellicap {

class frmmain;

// The main window of a window program as it starts: the application's name and version set,
// the window at its first size, its start-up run (shown, or the port selection up). Needs the
// QApplication made first.
[[nodiscard]] std::unique_ptr<frmmain> startProgram(const ModelProfile& profile);

// The whole program: the application, startProgram(), the event loop.
int runProgram(int argc, char** argv, const ModelProfile& profile);

}  // namespace trellicap
