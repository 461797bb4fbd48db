#include "session/port_recovery.h"

#include "link/adapter_watch.h"
#include "link/instrument_link.h"
#include "link/qt_link_clock.h"
#include "link/serial_port.h"

namespace trellicap {

QList<int> remainingColumns(const BatchResult& result) {
    if (result.releaseSent || result.stoppedByOperator) {
        return {};
    }
    QList<int> remaining;
    for (const int column : result.requested) {
        if (!result.filed.contains(column) && !result.unanswered.contains(column)) {
            remaining.append(column);
        }
    }
    return remaining;
}

PortRecovery::PortRecovery(SerialPort& port, InstrumentLink& link, LinkClock* clock, Reopen reopen)
    : m_port(port),
      m_reopen(std::move(reopen)),
      m_ownClock(clock == nullptr ? std::make_unique<QtLinkClock>() : nullptr),
      m_devices(std::make_unique<SystemSerialDevices>()) {
    m_watch = std::make_unique<AdapterWatch>(
        clock != nullptr ? *clock : *m_ownClock,
        [this](const AdapterIdentity& identity) { return locateAdapter(identity, *m_devices); });
    connect(m_watch.get(), &AdapterWatch::adapterPresent, this, &PortRecovery::adapterPresent);
    connect(&link, &InstrumentLink::batchFinished, this, &PortRecovery::batchFinished);
}

PortRecovery::~PortRecovery() = default;

void PortRecovery::setDeviceSource(std::unique_ptr<SerialDeviceSource> devices) {
    m_devices = std::move(devices);
}

bool PortRecovery::watching() const {
    return m_watch->watching();
}

void PortRecovery::portOpened(const QString& device, bool opened) {
    if (m_reopening) {
        if (opened) {
            m_watch->stop();
            // Known by its path until it was open: now it can be known by what it is.
            if (matchBy(m_identity) == AdapterMatch::Path) {
                m_identity = identifyAdapter(m_identity.configuredPath, *m_devices);
            }
            emit reconnected(device);
            emit portChanged();
        }
        return;  // not yet: the watch tries again at its next look
    }
    if (!opened && m_watch->watching() && device == m_identity.configuredPath) {
        // The adapter watched for, tried by hand while it is still away (Cancel in the port
        // selection tries it): the watch goes on.
        emit portChanged();
        return;
    }
    // Someone chose this port: the adapter watched for is not wanted any more.
    const bool wasWatching = m_watch->watching();
    m_watch->stop();
    m_identity = opened ? identifyAdapter(device, *m_devices) : AdapterIdentity{};
    if (wasWatching) {
        emit watchEnded();
    }
    emit portChanged();
}

void PortRecovery::linkLost() {
    // Also told when a batch meets a port that is closed already: only a loss of the device
    // itself starts a watch, and only for an adapter that was open and can be told apart.
    if (!m_port.isOpen() && !m_watch->watching() && canBeFoundAgain(m_identity) &&
        m_port.lastLoss() == SerialPort::Loss::DeviceGone) {
        m_watch->start(m_identity);
        emit waitingForDevice();
    }
    emit portChanged();
}

void PortRecovery::waitFor(const QString& device) {
    m_identity = pathIdentity(device);
    m_watch->start(m_identity);
    emit waitingForDevice();
}

void PortRecovery::stopWatching() {
    if (m_watch->watching()) {
        m_watch->stop();
        emit watchEnded();
    }
}

void PortRecovery::adapterPresent(const QString& device) {
    m_reopening = true;
    m_reopen(device);  // the session's openDevice tells portOpened() how it went
    m_reopening = false;
}

void PortRecovery::batchFinished(const BatchResult& result) {
    // Every batch ends here, so a batch that ran to its end also withdraws an older offer.
    QList<int> remaining = trellicap::remainingColumns(result);
    if (remaining != m_remaining) {
        m_remaining = std::move(remaining);
        emit remainingChanged();
    }
}

}  // namespace trellicap
