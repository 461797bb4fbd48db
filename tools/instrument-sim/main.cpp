// instrument-sim: a stand-in for the Corvane ultrasonic flaw detector on a pseudo-terminal.
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
