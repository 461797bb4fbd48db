// capture: a batch over the serial line as the window's Capture runs it (the same link, one
// retry per slot, the release at the end), with no window: progress on standard error, the
// records saved as a record file. A stop signal ends the batch after the slot under way.
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "cli/capture_progress.h"
#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/input_options.h"
#include "cli/models.h"
#include "cli/slot_list.h"
#include "cli/stop_signals.h"
#include "link/instrument_link.h"
#include "link/qt_serial_port.h"
#include "record/memory_number.h"
#include "session/port_recovery.h"
#include "session/session.h"

namespace trellicap::cli {

namespace {

struct CaptureRequest {
    const CliModel* model;
    QString device;
    QList<int> columns;
    QString output;
    int timeoutMs;    // 0: the model's own wait for an answer
    int waitSeconds;  // 0: no wait for a device that is not there, or went away
};

// How a batch ended, as the link told it.
struct CaptureOutcome {
    BatchResult result;
    QString lostReason;  // the port went away (or was never usable)
    int stopSignal = 0;
    QList<int> misnamed;  // filed columns whose record names another slot
    QString refusal;      // the session did not start the batch, and why
};

// The release is queued in the port when the batch ends, and the port hands its queue to
// the system only from the event loop: the tool goes on once the port took every byte (the
// close then lets the driver drain its own buffer), or once the port is lost, which its
// write timeout bounds.
void waitUntilWritten(SerialPort& port) {
    if (!port.isOpen() || port.bytesToWrite() == 0) {
        return;
    }
    QEventLoop loop;
    QObject::connect(&port, &SerialPort::allBytesWritten, &loop, &QEventLoop::quit);
    QObject::connect(&port, &SerialPort::connectionLost, &loop, &QEventLoop::quit);
    loop.exec();
}

void say(const QString& line) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(line));
    std::fflush(stderr);
}

CaptureRequest readRequest(const CommandLine& line) {
    CaptureRequest request{};
    request.device = line.required(QStringLiteral("port"));
    const QString key = line.required(QStringLiteral("model"));
    request.model = modelByKey(key);
    if (request.model == nullptr) {
        failUsage(QStringLiteral("--model takes %1, not '%2'.").arg(modelKeys(), key));
    }
    static_cast<void>(line.required(QStringLiteral("slots")));  // no default: say so
    const std::vector<int> slotNumbers = requestedSlots(line).value();
    for (const int slot : slotNumbers) {
        request.columns.append(slot - 1);
    }
    request.output = line.required(QStringLiteral("output"));
    request.timeoutMs = line.number(QStringLiteral("timeout-ms"), 0, 100, 60000);
    request.waitSeconds = line.number(QStringLiteral("wait-for-device"), 0, 1, 86400);
    return request;
}

// A capture takes minutes: an output that cannot be written is told before, not after.
void checkOutputFolder(const QString& path) {
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (info.isDir() || !folder.isDir() || !folder.isWritable()) {
        failInput(QStringLiteral("\"%1\" cannot be written: %2.")
                      .arg(path, info.isDir() ? QStringLiteral("it is a folder")
                                              : QStringLiteral("its folder is missing or "
                                                               "not writable")));
    }
}

// A filed record names its slot in its memory-number codes; one that does not was probably
// read with the wrong model's layout, and the window would not mark its slot after a load.
std::optional<QString> misnamedRecord(const CliModel& model, const RecordStore& store, int column) {
    const double named = memoryNumber(store.column(column));
    if (columnForMemoryNumber(named) == column) {
        return std::nullopt;
    }
    return QStringLiteral("slot %1: the record names slot %2; is the instrument a %3 model?")
        .arg(column + 1)
        .arg(QString::number(named, 'g', 10), otherModelNames(model));
}

// Runs a batch of `columns` on the event loop until the link says it is over. Every
// connection has `scope` as its context, so none outlives the locals its lambda refers to.
CaptureOutcome runBatch(Session& session, const CaptureRequest& request, const QList<int>& columns,
                        CaptureProgress& progress, StopSignals& stops) {
    InstrumentLink& link = session.link();
    const RecordStore& store = session.store();
    CaptureOutcome outcome;
    QEventLoop loop;
    QObject scope;
    bool finished = false;
    QObject::connect(&link, &InstrumentLink::requestSent, &scope,
                     [&](int slot) { progress.requestSent(slot); });
    QObject::connect(&link, &InstrumentLink::slotFiled, &scope, [&](int column) {
        progress.slotFiled(column);
        if (const auto warning = misnamedRecord(*request.model, store, column)) {
            outcome.misnamed.append(column);
            say(QStringLiteral("warning: ") + *warning);
        }
    });
    QObject::connect(&link, &InstrumentLink::linkLost, &scope,
                     [&](const QString& reason) { outcome.lostReason = reason; });
    QObject::connect(&link, &InstrumentLink::batchFinished, &scope, [&](const BatchResult& result) {
        progress.batchFinished(result);
        outcome.result = result;
        finished = true;
        loop.quit();
    });
    QObject::connect(&stops, &StopSignals::stopRequested, &scope, [&](int signalNumber) {
        if (outcome.stopSignal == 0) {
            outcome.stopSignal = signalNumber;
            say(QStringLiteral("%1: stopping after the slot under way (a second one ends at once)")
                    .arg(QLatin1String(signalName(signalNumber))));
        }
        link.stopBatch();
    });
    if (const Refusal refusal = session.startBatch(columns); refusal.refused()) {
        outcome.refusal = refusal.reason();
        return outcome;
    }
    if (!finished) {  // a port that is not open ends the batch inside startBatch
        loop.exec();
    }
    if (outcome.result.releaseSent) {
        waitUntilWritten(session.port());
    }
    return outcome;
}

// Waits for the session's watch to open the device (again), at most `seconds`; false when it
// did not, or when a stop signal came first (then `stopSignal` holds it). The watch ends
// either way.
bool waitForDevice(Session& session, int seconds, StopSignals& stops, int& stopSignal) {
    PortRecovery& recovery = session.recovery();
    if (!recovery.watching()) {
        return false;  // a stuck line, not a device that went away: nothing to wait for
    }
    QEventLoop loop;
    QObject scope;
    bool back = false;
    QObject::connect(&recovery, &PortRecovery::reconnected, &scope, [&] {
        back = true;
        loop.quit();
    });
    QObject::connect(&stops, &StopSignals::stopRequested, &scope, [&](int signalNumber) {
        stopSignal = signalNumber;
        loop.quit();
    });
    QTimer::singleShot(seconds * 1000, &scope, [&] { loop.quit(); });
    loop.exec();
    recovery.stopWatching();
    return back;
}

// The port the tool was given, opened; with --wait-for-device, once it appears.
void openPort(Session& session, const CaptureRequest& request, StopSignals& stops) {
    if (session.openDevice(request.device)) {
        return;
    }
    if (request.waitSeconds == 0) {
        failInput(QStringLiteral("the port \"%1\" cannot be opened: %2.")
                      .arg(request.device, session.portFailure()));
    }
    say(QStringLiteral("waiting up to %1 s for \"%2\" (%3)")
            .arg(request.waitSeconds)
            .arg(request.device, session.portFailure()));
    session.recovery().waitFor(request.device);
    int stopSignal = 0;
    if (waitForDevice(session, request.waitSeconds, stops, stopSignal)) {
        say(QStringLiteral("\"%1\" is there").arg(request.device));
        return;
    }
    if (stopSignal != 0) {
        failStopped(stopSignal, QStringLiteral("stopped by %1 while waiting for \"%2\".")
                                    .arg(QLatin1String(signalName(stopSignal)), request.device));
    }
    failInput(QStringLiteral("the port \"%1\" cannot be opened: %2 (waited %3 s).")
                  .arg(request.device, session.portFailure())
                  .arg(request.waitSeconds));
}

// One result for the batch and its continuations: what the first set out to do, what all of
// them filed or got no answer for, and how the last one ended.
void addContinuation(CaptureOutcome& outcome, const CaptureOutcome& more) {
    outcome.result.filed.append(more.result.filed);
    outcome.result.unanswered.append(more.result.unanswered);
    outcome.result.stoppedByOperator = more.result.stoppedByOperator;
    outcome.result.releaseSent = more.result.releaseSent;
    outcome.lostReason = more.lostReason;
    outcome.misnamed.append(more.misnamed);
    if (more.stopSignal != 0) {
        outcome.stopSignal = more.stopSignal;
    }
}

// After an unplug within the batch: waits for the same adapter and goes on with the slot that
// was cut and those after it, as often as the adapter goes and comes back.
void goOnAfterUnplugs(Session& session, const CaptureRequest& request, CaptureProgress& progress,
                      StopSignals& stops, CaptureOutcome& outcome) {
    while (request.waitSeconds > 0 && !outcome.lostReason.isEmpty() && outcome.stopSignal == 0) {
        const QList<int> remaining = session.recovery().remainingColumns();
        if (remaining.isEmpty() || !session.recovery().watching()) {
            return;
        }
        say(QStringLiteral("waiting up to %1 s for the instrument to come back")
                .arg(request.waitSeconds));
        int stopSignal = 0;
        if (!waitForDevice(session, request.waitSeconds, stops, stopSignal)) {
            outcome.stopSignal = stopSignal;
            return;
        }
        say(QStringLiteral("reconnected on \"%1\"; going on with slot %2")
                .arg(session.device())
                .arg(remaining.first() + 1));
        const CaptureOutcome more = runBatch(session, request, remaining, progress, stops);
        if (!more.refusal.isEmpty()) {
            // What the first part filed is still saved; the port's loss sets the exit status.
            say(QStringLiteral("the rest was not captured: %1").arg(more.refusal));
            return;
        }
        addContinuation(outcome, more);
    }
}

// The summary's warning when records did not name their slots.
QString misnamedSummary(const CaptureRequest& request, const CaptureOutcome& outcome) {
    if (outcome.misnamed.isEmpty()) {
        return {};
    }
    return QStringLiteral(
               " Warning: %1 of the records filed name%2 another slot (%3); is the "
               "instrument a %4 model?")
        .arg(outcome.misnamed.size())
        .arg(outcome.misnamed.size() == 1 ? QStringLiteral("s") : QString())
        .arg(formatSlotList(slotsOfColumns(outcome.misnamed)), otherModelNames(*request.model));
}

// Saves what arrived; the summary's place for it, or nothing when no slot arrived.
QString saveArrived(const CaptureRequest& request, Session& session, const BatchResult& result) {
    if (result.filed.isEmpty()) {
        return {};
    }
    if (const auto error = session.save(request.output)) {
        failInput(QStringLiteral("%1 filed, but \"%2\" could not be saved: %3.")
                      .arg(formatSlotList(slotsOfColumns(result.filed)), request.output, *error));
    }
    return request.output;
}

void report(const CaptureOutcome& outcome, const QString& summary) {
    if (!outcome.lostReason.isEmpty()) {
        failInput(QStringLiteral("the port went away: %1. %2").arg(outcome.lostReason, summary));
    }
    if (outcome.stopSignal != 0) {
        failStopped(outcome.stopSignal,
                    QStringLiteral("stopped by %1. %2")
                        .arg(QLatin1String(signalName(outcome.stopSignal)), summary));
    }
    if (outcome.result.filed.size() != outcome.result.requested.size()) {
        failInput(summary);
    }
    say(QStringLiteral("trellicap-cli capture: ") + summary);
}

void runCapture(const CommandLine& line) {
    const CaptureRequest request = readRequest(line);
    checkOutputFolder(request.output);
    Session::Options options;
    options.waitTimerMs = request.timeoutMs > 0 ? request.timeoutMs : -1;
    Session session(request.model->profile, std::make_unique<QtSerialPort>(), options);
    // The table as the window starts it: slots that are not captured keep the start values.
    session.begin();
    session.showStartupTrace();
    StopSignals stops;
    openPort(session, request, stops);
    CaptureProgress progress(static_cast<int>(request.columns.size()), say);
    CaptureOutcome outcome = runBatch(session, request, request.columns, progress, stops);
    if (!outcome.refusal.isEmpty()) {
        failInput(outcome.refusal);
    }
    goOnAfterUnplugs(session, request, progress, stops, outcome);
    report(outcome, captureSummary(outcome.result, saveArrived(request, session, outcome.result)) +
                        misnamedSummary(request, outcome));
}

}  // namespace

const Command& captureCommand() {
    static const Command command{
        {QStringLiteral("capture"),
         withModelKeys(QStringLiteral("--port DEVICE --model {models} --slots LIST -o OUT.dat "
                                      "[--timeout-ms N] [--wait-for-device SECONDS]")),
         QStringLiteral("fetch slots from the instrument into a record file"),
         QStringLiteral(
             "Requests each slot in ascending order as the window's Capture does (one retry\n"
             "when the instrument does not answer), then releases the instrument, and saves\n"
             "what arrived as a record file of all 200 slots (slots not captured hold the\n"
             "start values). A line per slot and a summary go to standard error. SIGINT or\n"
             "SIGTERM stops after the slot under way; the release is still sent and what\n"
             "arrived is still saved. Exit status: 0 when every slot was filed; 1 when a slot\n"
             "gave no answer, the port cannot be opened or goes away; 128 + the signal's\n"
             "number after a stop.\n"
             "With --wait-for-device the tool waits for a port that is not there yet, and\n"
             "after an unplug within the batch waits for the same adapter (its USB serial\n"
             "number; a pty or a port without one by the path given) and goes on with the\n"
             "slot that was cut, each wait at most SECONDS."),
         {{{QStringLiteral("port")},
           QStringLiteral("DEVICE"),
           QStringLiteral("the serial device (/dev/ttyUSB0, a /dev/serial/by-id/ link)")},
          {{QStringLiteral("model")}, modelKeys(), QStringLiteral("the instrument model")},
          {{QStringLiteral("slots")},
           QStringLiteral("LIST"),
           QStringLiteral("slots such as 1-10,15,200")},
          outputOption(QStringLiteral("OUT.dat")),
          {{QStringLiteral("timeout-ms")},
           QStringLiteral("N"),
           QStringLiteral("how long a request waits for its answer, 100 to 60000 ms (default\n"
                          "      the model's: %1)")
               .arg(perModel([](const ModelProfile& profile) {
                   return QString::number(profile.waitTimerMs);
               }))},
          {{QStringLiteral("wait-for-device")},
           QStringLiteral("SECONDS"),
           QStringLiteral("wait up to SECONDS (1 to 86400) for the device to appear, and for\n"
                          "      it to come back after an unplug")}},
         0},
        runCapture};
    return command;
}

}  // namespace trellicap::cli
