// How a command ends early. Thrown where the problem is found and caught once, in runCli,
// so that each command reads as its one way through and every failure ends alike: one line
// on standard error and the exit status a script can act on.
#pragma once

#include <QString>
#include <utility>

namespace trellicap::cli {

enum class ExitStatus {
    Ok = 0,
    BadInput = 1,  // a file that cannot be read, a slot that holds no record, a write that fails
    BadUsage = 2,  // the command line itself: the reason, then where --help is
    // A capture stopped by a signal, as shells report it: 128 + the signal's number.
    StoppedBySignal = 128,
};

struct CliFailure {
    ExitStatus status;
    QString reason;  // one sentence, ending with a full stop
};

[[noreturn]] inline void failInput(QString reason) {
    throw CliFailure{ExitStatus::BadInput, std::move(reason)};
}
[[noreturn]] inline void failUsage(QString reason) {
    throw CliFailure{ExitStatus::BadUsage, std::move(reason)};
}
[[noreturn]] inline void failStopped(int signalNumber, QString reason) {
    throw CliFailure{
        static_cast<ExitStatus>(static_cast<int>(ExitStatus::StoppedBySignal) + signalNumber),
        std::move(reason)};
}

}  // namespace trellicap::cli
