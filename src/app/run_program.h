// Starts one deliverable with its model profile.
#pragma once

#include "profiles/model_profile.h"

namespace trellicap {
int runProgram(int argc, char** argv, const ModelProfile& profile);
}
