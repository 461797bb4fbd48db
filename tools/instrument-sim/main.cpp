// instrument-sim: a stand-in for the Corvane ultrasonic flaw detector on a pseudo-terminal.
// Reads the options, then either prints one slot (--print-record, --print-fields) or runs the
// simulated instrument until it is told to stop.
#include "options.h"
#include "print_slot.h"
#include "simulator.h"

int main(int argc, char** argv) {
    instrument_sim::Options options;
    if (auto exitCode = instrument_sim::parseOptions(argc, argv, options)) {
        return *exitCode;
    }
    if (options.printRecord || options.printFields) {
        return instrument_sim::printSlot(options);
    }
    instrument_sim::Simulator simulator(std::move(options));
    return simulator.run();
}
