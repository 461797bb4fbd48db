// A scripted SerialPort for tests: records what the link writes, lets the test play the
// instrument by injecting bytes (now or later, as separate reads) and pull the plug.
//
// Read notifications behave as QtSerialPort's on Unix: while they are off, arriving bytes are
// held back (in the "driver") and no readyRead comes; switching them on makes what was held
// arrive as a read of its own, later, from the event queue; deliverWaiting() hands it over at
// once. "Later" means the test's ManualClock after useClock(), else the Qt event loop.
#pragma once

#include <QByteArray>
#include <QList>
#include <QTimer>
#include <functional>
#include <utility>

#include "link/serial_port.h"
#include "support/manual_clock.h"

namespace trellicap::testing {

class FakeSerialPort final : public SerialPort {
public:
    using SerialPort::SerialPort;

    bool open(const QString& device) override {
        m_device = device;
        m_open = m_openSucceeds;
        dropWaitingBytes();
        m_notify = true;
        return m_open;
    }
    void close() override {
        m_open = false;
        dropWaitingBytes();
    }
    [[nodiscard]] bool isOpen() const override { return m_open; }
    [[nodiscard]] QString deviceName() const override { return m_device; }
    void write(const QByteArray& bytes) override {
        m_written += bytes;
        m_writes.append(bytes);
        if (onWrite) {
            onWrite(bytes);
        }
    }
    [[nodiscard]] qint64 bytesAvailable() const override { return m_incoming.size(); }
    QByteArray readAll() override {
        ++m_reads;
        return std::exchange(m_incoming, {});
    }
    void setReadNotificationsEnabled(bool enabled) override {
        m_switches += enabled != m_notify ? 1 : 0;
        m_notify = enabled;
        if (enabled && !m_held.isEmpty()) {
            later(0, [this] { releaseHeld(); });
        }
    }
    bool deliverWaiting() override {
        if (!m_open || m_held.isEmpty()) {
            return false;
        }
        ++m_collections;
        m_incoming += std::exchange(m_held, {});
        emit readyRead();
        return true;
    }
    [[nodiscard]] QString errorString() const override { return {}; }
    [[nodiscard]] bool lastOpenDeniedPermission() const override { return false; }

    // ---- the test's side of the line ----

    // Schedules "later" on the test's clock instead of the Qt event loop.
    void useClock(ManualClock& clock) { m_clock = &clock; }

    // Bytes arrive; readyRead fires at once unless notifications are off (do not call from
    // inside onWrite).
    void inject(const QByteArray& bytes) {
        if (!m_open) {
            return;
        }
        if (!m_notify) {
            m_held += bytes;
            return;
        }
        m_incoming += bytes;
        emit readyRead();
    }
    // Bytes arrive after ms, as a read of their own.
    void injectLater(const QByteArray& bytes, int ms = 0) {
        later(ms, [this, bytes] { inject(bytes); });
    }
    // Bytes arrive in pieces of chunkSize, one read each, pauseMs apart.
    void injectInChunks(const QByteArray& bytes, int chunkSize, int pauseMs = 0) {
        for (qsizetype i = 0, n = 0; i < bytes.size(); i += chunkSize, ++n) {
            injectLater(bytes.mid(i, chunkSize), static_cast<int>(n) * pauseMs);
        }
    }
    // The device goes away: the port is closed, then the loss is reported.
    void loseConnection(const QString& reason = QStringLiteral("device vanished")) {
        m_open = false;
        dropWaitingBytes();
        emit connectionLost(reason);
    }

    void setOpenSucceeds(bool ok) { m_openSucceeds = ok; }
    // Called with every write; the test answers requests from here (use injectLater).
    std::function<void(const QByteArray&)> onWrite;

    [[nodiscard]] const QByteArray& written() const { return m_written; }
    [[nodiscard]] const QList<QByteArray>& writes() const { return m_writes; }
    [[nodiscard]] int readCount() const { return m_reads; }
    [[nodiscard]] bool readNotificationsEnabled() const { return m_notify; }
    // Times deliverWaiting() handed bytes over, and times notifications went off or on.
    [[nodiscard]] int collections() const { return m_collections; }
    [[nodiscard]] int notificationSwitches() const { return m_switches; }

private:
    void later(int ms, std::function<void()> event) {
        if (m_clock) {
            m_clock->schedule(ms, std::move(event));
        } else {
            QTimer::singleShot(ms, this, std::move(event));
        }
    }
    void releaseHeld() {
        if (m_notify && !m_held.isEmpty()) {
            inject(std::exchange(m_held, {}));
        }
    }
    void dropWaitingBytes() {
        m_incoming.clear();
        m_held.clear();
    }

    bool m_open = true;
    bool m_openSucceeds = true;
    bool m_notify = true;
    QString m_device = QStringLiteral("fake");
    QByteArray m_incoming;  // in the port's buffer: what bytesAvailable() counts
    QByteArray m_held;      // arrived while notifications were off
    QByteArray m_written;
    QList<QByteArray> m_writes;
    int m_reads = 0;
    int m_collections = 0;
    int m_switches = 0;
    ManualClock* m_clock = nullptr;
};

}  // namespace trellicap::testing
