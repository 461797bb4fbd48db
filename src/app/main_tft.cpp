// TrellicapTFT: the program for the TFT instrument.
#include "app/run_program.h"
#include "profiles/tft.h"

int main(int argc, char** argv) {
    return trellicap::runProgram(argc, argv, trellicap::tft::kProfile);
}
