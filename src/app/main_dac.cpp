// Trellicap: the program for the DAC instrument.
#include "app/run_program.h"
#include "profiles/dac.h"

int main(int argc, char** argv) {
    return trellicap::runProgram(argc, argv, trellicap::dac::kProfile);
}
