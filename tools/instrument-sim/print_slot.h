// --print-record and --print-fields: print one slot's record, as a frame would carry it, and
// exit without opening a pty, so that a test can learn the exact bytes of a frame.
#pragma once

#include "options.h"

namespace instrument_sim {

// Prints the slot of --print-record (lines "INDEX VALUE") or --print-fields (lines
// NAME FIRST COUNT "TEXT", or the values of `samples` and `dacpoints`); honours --model, --seed
// and --memno. Returns the exit code.
int printSlot(const Options& options);

}  // namespace instrument_sim
