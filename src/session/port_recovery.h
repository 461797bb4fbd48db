// A session's port after an unplug: the same adapter opened again without a question, and a
// batch the unplug cut short offered to go on.
//
// The session tells it each time a port was opened (or failed to) and each time the link was
// lost. When the device went away (not a stuck line), it watches for the adapter the port had
// been opened on (AdapterWatch, about once a second) and reopens it through the session's own
// openDevice; a port the operator or a front end opens ends the watch and is the adapter
// noted from then on (a failed try of the adapter watched for leaves the watch going). The link has
// already dropped whatever frame the unplug cut; the new port starts clean.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "link/adapter_identity.h"
#include "link/batch_result.h"

namespace trellicap {

class AdapterWatch;
class InstrumentLink;
class LinkClock;
class SerialPort;

// The columns a batch cut short did not get to: the slot under way and those after it, in the
// batch's order. Nothing after a batch that ran to its end or that the operator stopped.
[[nodiscard]] QList<int> remainingColumns(const BatchResult& result);

class PortRecovery : public QObject {
    Q_OBJECT
public:
    // Opens `device` the way the session opens any port; true once it is open.
    using Reopen = std::function<bool(const QString& device)>;

    // `clock`: the link's clock of the tests; null: the program's clock.
    PortRecovery(SerialPort& port, InstrumentLink& link, LinkClock* clock, Reopen reopen);
    ~PortRecovery() override;

    // ---- the session's hooks ----
    // At the end of every opening of the port, whoever asked for it.
    void portOpened(const QString& device, bool opened);
    // The link was lost: the watch starts when the device went away.
    void linkLost();

    // ---- front ends ----
    // Watches for a device that is not there yet, known by its path (trellicap-cli
    // --wait-for-device before the first opening).
    void waitFor(const QString& device);
    // Gives up the watch (a front end that waited long enough).
    void stopWatching();
    [[nodiscard]] bool watching() const;
    // The adapter the port was last opened on; unknown before any opening succeeded.
    [[nodiscard]] const AdapterIdentity& identity() const { return m_identity; }
    // What a batch cut short by the lost port left to capture; empty when nothing is left.
    [[nodiscard]] const QList<int>& remainingColumns() const { return m_remaining; }

    // Where adapters are looked for (tests hand in their own; the system's by default).
    void setDeviceSource(std::unique_ptr<SerialDeviceSource> devices);
    [[nodiscard]] AdapterWatch& watch() { return *m_watch; }

signals:
    // The device went away; the watch runs.
    void waitingForDevice();
    // The watch found the adapter and the port is open on `device` again.
    void reconnected(const QString& device);
    // The watch ended without a reconnect: another port was opened, or a front end gave up.
    void watchEnded();
    // remainingColumns() changed.
    void remainingChanged();
    // The port was opened (or failed to open) or the link was lost: whether it is open now
    // may have changed.
    void portChanged();

private:
    void adapterPresent(const QString& device);
    void batchFinished(const BatchResult& result);

    SerialPort& m_port;
    Reopen m_reopen;
    std::unique_ptr<LinkClock> m_ownClock;  // set when the session runs on the program's clock
    std::unique_ptr<SerialDeviceSource> m_devices;
    std::unique_ptr<AdapterWatch> m_watch;
    AdapterIdentity m_identity;
    QList<int> m_remaining;
    bool m_reopening = false;  // the watch's own opening is under way
};

}  // namespace trellicap
